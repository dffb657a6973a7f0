// The paragraph editor's selection by paragraph position, the selected text,
// and inserting text at the caret: as paragraphs (a stream) or as a column
// block of rows on consecutive paragraphs.
#include "widgets/pages/pgc_editor.h"

#include "widgets/pages/para_list.h"

#include <algorithm>

namespace qel {

namespace {

constexpr char16_t CR = u'\r';
constexpr char16_t LF = u'\n';
constexpr std::size_t StreamPiece = 61440;       // units a stream insert hands the list at once
constexpr std::size_t LongestPiece = 65520;      // ... when extended over line breaks

std::u16string_view UpToZero(std::u16string_view Text)
{
    return Text.substr(0, Text.find(u'\0'));
}

// Pieces start and end between line breaks where they can, so that a CR LF
// pair is never split.
std::size_t PieceLength(std::u16string_view Rest)
{
    if (Rest.size() <= StreamPiece) {
        return Rest.size();
    }
    std::size_t length = StreamPiece;
    while (length < Rest.size() && length < LongestPiece && (Rest[length] == CR || Rest[length] == LF)) {
        ++length;
    }
    return length;
}

} // namespace

// ---- the selection's ends ----

void TPgcCustomEditor::edSetHighlight(int Para1, int Pos1, int Para2, int Pos2)
{
    TMarker first{Para1, Pos1};
    TMarker second{Para2, Pos2};
    edAnchor = second;
    if (second < first) {
        std::swap(first, second);
    }
    edHltBgn = first;
    edHltEnd = second;
    edHltBgnL = LinePosOf(edHltBgn);
    edHltEndL = LinePosOf(edHltEnd);
}

void TPgcCustomEditor::edSetSelectionPos(int Para1, int Pos1, int Para2, int Pos2, bool CaretAtEnd)
{
    const TPgcTextPos first = LinePosOf({Para1, Pos1});
    const TPgcTextPos second = LinePosOf({Para2, Pos2});
    SetSelection(first.Line, first.Col, second.Line, second.Col, CaretAtEnd);
}

void TPgcCustomEditor::Deselect(bool CaretAtEnd)
{
    if (!HasSelection()) {
        return;
    }
    const TMarker at = CaretAtEnd ? edHltEnd : edHltBgn;
    edMoveCaretToPos(at.Para, at.Pos, false);
}

void TPgcCustomEditor::ClearSelection()
{
    if (HasSelection()) {
        edDeleteChar();
    }
}

// ---- selected text ----

int TPgcCustomEditor::GetSelTextLen() const
{
    if (!HasSelection()) {
        return 0;
    }
    const auto lengthOf = [this](int Para) { return edParas->ParaLength(Para); };
    const int beginPos = std::min(edHltBgn.Pos, lengthOf(edHltBgn.Para) + 1);
    const int endPos = std::min(edHltEnd.Pos, lengthOf(edHltEnd.Para) + 1);
    if (edHltBgn.Para == edHltEnd.Para) {
        return std::max(endPos - beginPos, 0);
    }
    std::int64_t count = lengthOf(edHltBgn.Para) - beginPos + 1 + 2;
    for (int para = edHltBgn.Para + 1; para < edHltEnd.Para; ++para) {
        count += lengthOf(para) + 2;
    }
    count += endPos - 1 + 2;
    return static_cast<int>(std::min<std::int64_t>(count, NoLimit));
}

// Across paragraphs every piece, the last one included, is followed by
// CR LF while it fits.
int TPgcCustomEditor::GetSelTextBuf(char16_t* Buffer, int BufSize) const
{
    if (Buffer == nullptr || BufSize < 1) {
        return 0;
    }
    Buffer[0] = 0;
    if (!HasSelection()) {
        return 0;
    }
    const int capacity = BufSize - 1;
    int written = 0;
    const auto put = [&](std::u16string_view Units) {
        const auto count = std::min(static_cast<int>(Units.size()), capacity - written);
        std::copy_n(Units.data(), count, Buffer + written);
        written += count;
    };
    for (int para = edHltBgn.Para; para <= edHltEnd.Para && written < capacity; ++para) {
        const std::u16string_view text = ParaText(para);
        const auto length = static_cast<int>(text.size());
        const int from = para == edHltBgn.Para ? std::min(edHltBgn.Pos, length + 1) : 1;
        const int to = para == edHltEnd.Para ? std::min(edHltEnd.Pos, length + 1) : length + 1;
        if (to > from) {
            put(text.substr(static_cast<std::size_t>(from - 1), static_cast<std::size_t>(to - from)));
        }
        if (edHltBgn.Para != edHltEnd.Para && written + 2 <= capacity) {
            put(u"\r\n");
        }
    }
    Buffer[written] = 0;
    return written;
}

void TPgcCustomEditor::SetSelTextBuf(const char16_t* Buffer)
{
    if (!ReadOnly() && Buffer != nullptr) {
        DoOnError(edReplaceSelection(Buffer));
    }
}

// ---- inserting text ----

std::uint16_t TPgcCustomEditor::edReplaceSelection(std::u16string_view Text)
{
    if (ReadOnly()) {
        return 0;
    }
    std::uint16_t code = 0;
    InUndoGroup([&] {
        if (HasSelection()) {
            edDeleteChar();
        }
        code = edInsertTextPrim(Text);
    });
    return code;
}

std::uint16_t TPgcCustomEditor::edInsertTextPrim(std::u16string_view Text)
{
    Text = UpToZero(Text);
    const std::size_t cr = Text.find(CR);
    const bool stream = cr == std::u16string_view::npos || cr + 1 == Text.size() || Text[cr + 1] == LF || FWordWrap;
    return stream ? InsertStream(Text) : InsertColumnBlock(Text);
}

std::uint16_t TPgcCustomEditor::InsertStream(std::u16string_view Text)
{
    if (Text.empty()) {
        return 0;
    }
    std::int32_t para = edCurPara;
    std::int32_t pos = edLinePos + edCurCol;
    std::uint16_t code = 0;
    while (!Text.empty() && code == 0) {
        const std::size_t length = PieceLength(Text);
        code = edParas->InsertBlock(this, para, pos, Text.substr(0, length));
        Text.remove_prefix(length);
    }
    edSetVScrollRange();
    edInvalidateLines(edParas->FLine(), edParas->LLine());
    edMoveCaretToPos(para, pos, false);
    Update();
    return code;
}

// Rows are the text between lone CRs; each goes in at the block's screen
// column on its own paragraph, blanks filling short lines up to it.
// Paragraphs appended for rows past the end belong to the same undo group.
std::uint16_t TPgcCustomEditor::InsertColumnBlock(std::u16string_view Text)
{
    std::uint16_t code = 0;
    InUndoGroup([&] {
        edRedrawPending = true;
        int para = edCurPara;
        int pos = edLinePos + edCurCol;
        const int column = ScreenColumn(edCurLine, edCurCol);
        std::u16string row;
        while (true) {
            const std::size_t end = Text.find(CR);
            row.clear();
            for (const char16_t ch : Text.substr(0, end)) {
                if (ch != LF) {
                    row.push_back(ch);
                }
            }
            edParas->InsertTextPrim(this, para, pos, row.data(), static_cast<std::int32_t>(row.size()));
            if (end == std::u16string_view::npos) {
                break;
            }
            Text.remove_prefix(end + 1);
            if (para == edParas->ParaCount()) {
                code = edParas->OkToInsert(0, 1, 2);
                if (code == 0) {
                    code = edParas->PlaceParaPrim(this, para, u"", 0);
                }
                if (code != 0) {
                    break;
                }
            }
            ++para;
            std::int32_t col = 0;
            const int line = edParas->FindLineByPara(para, 1, col);
            const char16_t* s = nullptr;
            std::uint16_t length = 0;
            edParas->NthLine(line, s, length);
            pos = edParas->ActualCol(s, length, column);
            const int shortBy = column - edParas->EffCol(s, length, pos);
            if (shortBy > 0 && edInsertSpaces(para, pos, shortBy) == 0) {
                pos += shortBy;
            }
        }
        edSetVScrollRange();
    });
    edRedrawPending = false;
    edRedraw(true);
    return code;
}

} // namespace qel
