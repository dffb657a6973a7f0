// The paragraph editor's text access: appending, emptying, the whole text,
// paragraphs and display lines, position conversions, the word at the caret,
// the modified flag and the reporting of errors.
#include "widgets/pages/pgc_editor.h"

#include "widgets/pages/edit_text_routines.h"
#include "widgets/pages/para_list.h"
#include "widgets/pages/pgc_exceptions.h"
#include "widgets/pages/pgc_messages.h"

#include "platform/text_encoding.h"

#include <algorithm>
#include <limits>

namespace qel {

namespace {

constexpr char16_t CR = u'\r';
constexpr char16_t LF = u'\n';
constexpr int LineBreakUnits = 2;

// The text up to its first zero unit.
std::u16string_view UpToZero(std::u16string_view Text)
{
    return Text.substr(0, Text.find(u'\0'));
}

// A count for the list's limit checks, which take 32-bit sizes.
std::int32_t LimitCount(std::size_t Units)
{
    constexpr std::size_t Largest = std::numeric_limits<std::int32_t>::max() - LineBreakUnits;
    return static_cast<std::int32_t>(std::min(Units, Largest));
}

// The library message number of an editor error code.
std::uint16_t ErrorMessageNumber(std::uint16_t Code)
{
    switch (Code) {
    case EditErrOutOfMemory:
        return 30197;
    case EditErrRegionTooLarge:
        return 30186;
    case EditErrTooManyParas:
        return 30198;
    case EditErrJoinTooLong:
        return 30199;
    case EditErrTextTooLong:
        return 30200;
    case EditErrParaTooLong:
        return 30201;
    default:
        return 30168;
    }
}

} // namespace

// ---- appending and emptying ----

// The full length of the text is taken (the list counts in 16 bits per
// paragraph, not per appended text), so a long text becomes as many
// paragraphs as it needs and nothing of it is dropped.
std::uint16_t TPgcCustomEditor::AppendPara(std::u16string_view Para)
{
    std::u16string_view rest = UpToZero(Para);
    const int oldLines = LineCount();
    std::uint16_t code = edParas->OkToInsert(0, 1, LimitCount(rest.size()) + LineBreakUnits);
    if (code != 0) {
        return code;
    }
    do {
        std::size_t piece = rest.size();
        const auto limit = static_cast<std::size_t>(edParas->MaxParaLen());
        if (piece > limit) {
            piece = FindBreakPosition(rest.data(), static_cast<std::uint16_t>(limit));
        }
        code = edParas->AppendParaEof(rest.data(), static_cast<std::int32_t>(piece), FTrimWhiteSpace);
        if (code != 0) {
            break;
        }
        rest.remove_prefix(piece);
        if (!rest.empty()) {
            code = edParas->OkToInsert(0, 1, LimitCount(rest.size()) + LineBreakUnits);
        }
    } while (!rest.empty() && code == 0);
    if (code == 0 && oldLines < edRows + 1 && LineCount() >= edRows + 1) {
        edSetVScrollRange();
        edRedraw(true);
    }
    return code;
}

std::uint16_t TPgcCustomEditor::AppendPara(std::string_view Utf8)
{
    return AppendPara(std::u16string_view(plat::Utf8ToUtf16(Utf8)));
}

void TPgcCustomEditor::Clear()
{
    DeleteAll(true);
}

void TPgcCustomEditor::DeleteAll(bool UpdateScreen)
{
    const std::int32_t maxBytes = edParas->MaxBytes();
    const std::int32_t maxParas = edParas->MaxParas();
    const std::int32_t maxParaLen = edParas->MaxParaLen();
    const bool wrap = edParas->WordWrap();
    const std::int32_t wrapColumn = edParas->WrapColumn();
    const std::uint16_t undoSize = edParas->UndoBuffer().BufSize();
    edDetach();

    // The view goes back to the start before the new list is set up, so
    // that its re-wrap finds the positions of an empty text.
    NewParaList(undoSize, false);
    ResetView();
    edRedrawPending = false;
    edPendingHSP = false;
    edPendingVSP = false;
    edPendingVSR = false;

    edParas->SetByteLimit(maxBytes);
    edParas->SetParaLimit(maxParas);
    edParas->SetMaxParaLen(maxParaLen);
    edSetHScrollRange();
    edSetHScrollPos();
    edParas->SetWrapColumn(wrapColumn);
    edParas->SetTabSize(FTabSize);
    edParas->SetWordWrap(wrap);
    if (UpdateScreen && HandleAllocated()) {
        ResetScrollBars(true);
    }
}

// ---- the whole text ----

int TPgcCustomEditor::TextLength() const
{
    return edParas->CharCount();
}

int TPgcCustomEditor::GetText(char16_t* P, int Size) const
{
    if (Size <= 0) {
        return 0;
    }
    const std::int64_t capacity = Size - 1;
    std::int64_t written = 0;
    for (const TParaNode* node = edParas->Head(); node != nullptr && written < capacity; node = node->Next) {
        const std::int64_t length = std::min<std::int64_t>(node->SLen(), capacity - written);
        std::copy_n(node->GetS(), length, P + written);
        if (written + length + LineBreakUnits <= capacity) {
            P[written + length] = CR;
            P[written + length + 1] = LF;
        }
        written += length + LineBreakUnits;
    }
    const std::int64_t result = std::min(written + 1, capacity);
    P[std::min(written, capacity)] = u'\0';
    return static_cast<int>(result);
}

std::string TPgcCustomEditor::Text() const
{
    if (TextLength() == 0) {
        return {};
    }
    std::u16string buffer(static_cast<std::size_t>(TextLength()) + 3, u'\0');
    const int count = GetText(buffer.data(), static_cast<int>(buffer.size()));
    std::u16string_view text(buffer.data(), static_cast<std::size_t>(count));
    if (count >= LineBreakUnits && text[count - 2] == CR && text[count - 1] == LF) {
        text.remove_suffix(LineBreakUnits);
    }
    return plat::Utf16ToUtf8(UpToZero(text));
}

void TPgcCustomEditor::SetText(std::string_view Utf8)
{
    const std::u16string text = plat::Utf8ToUtf16(Utf8);
    SetTextBuf(text.c_str());
}

void TPgcCustomEditor::SetTextBuf(const char16_t* Buffer)
{
    DeleteAll(false);
    if (Buffer != nullptr) {
        edInsertTextPrim(Buffer);
    }
    ResetScrollBars(true);
}

void TPgcCustomEditor::Insert(std::u16string_view S)
{
    if (ReadOnly()) {
        return;
    }
    DoOnError(edReplaceSelection(UpToZero(S)));
}

void TPgcCustomEditor::InsertString(std::string_view Utf8)
{
    Insert(plat::Utf8ToUtf16(Utf8));
}

// ---- paragraphs and lines ----

int TPgcCustomEditor::ParaCount() const
{
    return edParas->ParaCount();
}

int TPgcCustomEditor::LineCount() const
{
    return edParas->LineCount();
}

void TPgcCustomEditor::CheckLine(int LineNum) const
{
    if (LineNum < 1 || LineNum > LineCount()) {
        throw EInvalidLineOrPara();
    }
}

void TPgcCustomEditor::CheckPara(int ParaNum) const
{
    if (ParaNum < 1 || ParaNum > ParaCount()) {
        throw EInvalidLineOrPara();
    }
}

const char16_t* TPgcCustomEditor::GetPara(int ParaNum, int& Len) const
{
    CheckPara(ParaNum);
    const TParaNode* node = edParas->NthPara(ParaNum);
    Len = node->SLen();
    return node->GetS();
}

const char16_t* TPgcCustomEditor::GetParaPointer(int ParaNum) const
{
    int length = 0;
    return GetPara(ParaNum, length);
}

int TPgcCustomEditor::GetParaLength(int ParaNum) const
{
    int length = 0;
    GetPara(ParaNum, length);
    return length;
}

std::u16string_view TPgcCustomEditor::LineText(int LineNum) const
{
    CheckLine(LineNum);
    const char16_t* s = nullptr;
    std::uint16_t length = 0;
    edParas->NthLine(LineNum, s, length);
    return {s, length};
}

std::u16string TPgcCustomEditor::ExpandedLine(int LineNum) const
{
    const std::u16string_view line = LineText(LineNum);
    const std::int32_t tabSize = edParas->TabSize();
    std::u16string expanded;
    for (const char16_t ch : line) {
        if (ch == u'\t') {
            expanded.append(tabSize - expanded.size() % tabSize, u' ');
        } else {
            expanded.push_back(ch);
        }
    }
    return expanded;
}

char16_t* TPgcCustomEditor::GetLine(int LineNum, char16_t* Dest, int DestLen) const
{
    Dest[0] = u'\0';
    const std::u16string_view line = LineText(LineNum);
    const std::size_t count = std::min(line.size(), static_cast<std::size_t>(std::max(DestLen, 0)));
    std::copy_n(line.data(), count, Dest);
    Dest[count] = u'\0';
    return Dest;
}

int TPgcCustomEditor::GetPrintableLine(int LineNum, char16_t* Dest, int DestLen) const
{
    Dest[0] = u'\0';
    const std::u16string expanded = ExpandedLine(LineNum);
    const std::size_t count = std::min(expanded.size(), static_cast<std::size_t>(std::max(DestLen, 0)));
    std::copy_n(expanded.data(), count, Dest);
    Dest[count] = u'\0';
    return static_cast<int>(count);
}

std::string TPgcCustomEditor::GetStringLine(int LineNum) const
{
    return plat::Utf16ToUtf8(ExpandedLine(LineNum));
}

int TPgcCustomEditor::GetLineLength(int LineNum) const
{
    return static_cast<int>(LineText(LineNum).size());
}

int TPgcCustomEditor::EffectiveColumn(const char16_t* S, int Col) const
{
    const std::u16string_view text(S);
    return edParas->EffCol(S, static_cast<std::uint16_t>(std::min<std::size_t>(text.size(), 65535)), Col);
}

void TPgcCustomEditor::LineToPara(int& L, int& C) const
{
    CheckLine(L);
    std::int32_t linePos = 0;
    L = edParas->FindParaByLine(L, linePos);
    C += linePos;
}

void TPgcCustomEditor::ParaToLine(int& L, int& C) const
{
    CheckPara(L);
    std::int32_t column = 0;
    L = edParas->FindLineByPara(L, C, column);
    C = column;
}

int TPgcCustomEditor::GetCaretPosition(int& Col) const
{
    Col = edCurCol;
    return edCurLine;
}

void TPgcCustomEditor::SetCaretPosition(int Line, int Col)
{
    if (Col < 1) {
        throw EInvalidLineOrPara();
    }
    CheckLine(Line);
    edMoveCaretTo(Line, Col, false);
}

bool TPgcCustomEditor::IsWordDelimiter(char16_t Ch) const
{
    return Ch < 0x80 && FWordDelimiters.find(static_cast<char>(Ch)) != std::string::npos;
}

std::string TPgcCustomEditor::GetCurrentWord() const
{
    int length = 0;
    const char16_t* text = GetPara(edCurPara, length);
    const int position = edLinePos + edCurCol;
    if (position > length || IsWordDelimiter(text[position - 1])) {
        return {};
    }
    int first = position - 1;
    while (first > 0 && !IsWordDelimiter(text[first - 1])) {
        --first;
    }
    int last = position;
    while (last < length && !IsWordDelimiter(text[last])) {
        ++last;
    }
    return plat::Utf16ToUtf8(std::u16string_view(text + first, static_cast<std::size_t>(last - first)));
}

// ---- modified flag and undo history ----

bool TPgcCustomEditor::Modified() const
{
    return edParas->Modified();
}

void TPgcCustomEditor::SetModified(bool Value)
{
    if (Value == edParas->Modified()) {
        return;
    }
    edParas->SetModified(Value);
    if (!Value) {
        edParas->UndoBuffer().SetModified();
    }
    TPgcCustomEditor* editor = this;
    do {
        editor->Invalidate();
        editor = editor->edNext;
    } while (editor != this);
}

bool TPgcCustomEditor::CanUndo() const
{
    return !ReadOnly() && edParas->UndoBuffer().Undos() != 0;
}

bool TPgcCustomEditor::CanRedo() const
{
    return !ReadOnly() && edParas->UndoBuffer().Redos() != 0;
}

void TPgcCustomEditor::FlushUndoBuffer()
{
    edParas->UndoBuffer().Flush();
}

// ---- errors ----

void TPgcCustomEditor::DoOnError(std::uint16_t Code)
{
    if (Code == 0) {
        return;
    }
    if (OnError) {
        std::uint16_t passed = Code;
        OnError(this, passed);
        return;
    }
    throw EEditorError(MessageTextByNumber(ErrorMessageNumber(Code)), Code);
}

} // namespace qel
