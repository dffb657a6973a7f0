// The paragraph editor's editing commands: deleting (a selection, a unit,
// to a line's ends, a line, a word), typing, tabs, new lines and blanks,
// each through the paragraph list so that its undo history records it.
#include "widgets/pages/pgc_editor.h"

#include "widgets/pages/edit_text_routines.h"
#include "widgets/pages/para_list.h"

#include <algorithm>

namespace qel {

namespace {

constexpr int SpacesPerInsert = 8;
constexpr char16_t Spaces[SpacesPerInsert] = {u' ', u' ', u' ', u' ', u' ', u' ', u' ', u' '};

} // namespace

void TPgcCustomEditor::InUndoGroup(const std::function<void()>& Body)
{
    TPgcUndoBuffer& undo = edParas->UndoBuffer();
    const bool saveLinking = undo.BeginComplexOp();
    try {
        Body();
    } catch (...) {
        undo.EndComplexOp(saveLinking);
        throw;
    }
    undo.EndComplexOp(saveLinking);
}

// ---- deleting ----

void TPgcCustomEditor::edDeleteChar()
{
    if (ReadOnly()) {
        return;
    }
    if (HasSelection()) {
        if (edRectSelect) {
            DeleteColumnBlock();
        } else {
            DeleteStream();
        }
    } else {
        const int para = edCurPara;
        const int position = edLinePos + edCurCol;
        if (position <= edParas->ParaLength(para)) {
            edParas->DeleteText(this, para, position, 1);
            edInvalidateLines(edParas->FLine(), edParas->LLine());
        } else if (para < edParas->ParaCount()) {
            const std::uint16_t code = edParas->JoinWithNext(this, para, position);
            if (code != 0) {
                DoOnError(code);
                return;
            }
            edSetVScrollRange();
            edRedraw(false);
        }
        edMoveCaretToPos(para, position, false);
    }
    if (!edParas->UndoBuffer().Linking()) {
        Update();
    }
}

// Both ends are cut to their paragraph's length + 1, so a selection that
// reaches past a line's end (ScrollPastEnd) deletes only existing units.
void TPgcCustomEditor::DeleteStream()
{
    TMarker first = edHltBgn;
    TMarker last = edHltEnd;
    first.Pos = std::min(first.Pos, edParas->ParaLength(first.Para) + 1);
    last.Pos = std::min(last.Pos, edParas->ParaLength(last.Para) + 1);
    if (first.Para != last.Para) {
        edParas->DeleteBlock(this, first.Para, first.Pos, last.Para, last.Pos);
        edSetVScrollRange();
        edRedraw(false);
    } else if (last.Pos > first.Pos) {
        edParas->DeleteText(this, first.Para, first.Pos, last.Pos - first.Pos);
        edInvalidateLines(edParas->FLine(), edParas->LLine());
    }
    edMoveCaretToPos(first.Para, first.Pos, false);
}

// A tab cut by an edge of the block goes whole; the columns it covered
// outside the block come back as blanks, so the text right of the block
// keeps its screen columns.
void TPgcCustomEditor::DeleteColumnBlock()
{
    int left = ScreenColumn(edHltBgnL.Line, edHltBgnL.Col);
    int right = ScreenColumn(edHltEndL.Line, edHltEndL.Col);
    if (left > right) {
        std::swap(left, right);
    }
    if (left == right) {
        return;
    }
    const int firstPara = edHltBgn.Para;
    const int lastPara = edHltEnd.Para;
    int caretPos = edHltBgn.Pos;
    const int tabSize = edParas->TabSize();
    InUndoGroup([&] {
        for (int para = firstPara; para <= lastPara; ++para) {
            const std::u16string_view text = ParaText(para);
            const bool irregular = text.empty() || text.find(u'\t') != std::u16string_view::npos;
            int column = 1;             // screen column of the unit's first cell
            int from = 0;               // 1-based positions of the units to delete
            int to = 0;
            int outside = 0;            // cells of the deleted units outside the block
            for (std::size_t i = 0; i < text.size(); ++i) {
                const int width = text[i] == u'\t' ? tabSize - (column - 1) % tabSize : 1;
                const int end = column + width;          // first cell after the unit
                if (end > left && column < right) {
                    if (from == 0) {
                        from = static_cast<int>(i) + 1;
                    }
                    to = static_cast<int>(i) + 1;
                    outside += std::max(0, left - column) + std::max(0, end - right);
                }
                column = end;
            }
            if (from != 0) {
                edParas->DeleteText(this, para, from, to - from + 1);
                if (outside > 0) {
                    DoOnError(edInsertSpaces(para, from, outside));
                }
            }
            if (irregular) {
                const char16_t* s = nullptr;
                std::uint16_t length = 0;
                const int line = edParas->FindLineByPara(para, 1, column);
                edParas->NthLine(line, s, length);
                caretPos = edParas->ActualCol(s, length, left);
            }
        }
    });
    edRedraw(false);
    edRectSelect = false;
    edMoveCaretToPos(firstPara, caretPos, false);
}

void TPgcCustomEditor::edDeleteBack()
{
    if (!HasSelection()) {
        if (edCurLine == 1 && edCurCol == 1) {
            return;
        }
        edMoveLeft(false);
    }
    edDeleteChar();
}

void TPgcCustomEditor::edDeleteToBol()
{
    if (ReadOnly()) {
        return;
    }
    if (edParas->LineLength(edCurLine) == 0) {
        edCollapseSelection(true);
        return;
    }
    edRectSelect = false;
    edSetHighlight(edCurPara, edLinePos + 1, edCurPara, edLinePos + edCurCol);
    edDeleteChar();
}

void TPgcCustomEditor::edDeleteToEol()
{
    if (ReadOnly()) {
        return;
    }
    const int length = edParas->LineLength(edCurLine);
    if (length == 0 || edCurCol > length) {
        edCollapseSelection(true);
        return;
    }
    edRectSelect = false;
    edSetHighlight(edCurPara, edLinePos + edCurCol, edCurPara, edLinePos + length + 1);
    edDeleteChar();
}

void TPgcCustomEditor::edDeleteLine()
{
    if (ReadOnly()) {
        return;
    }
    const int length = edParas->LineLength(edCurLine);
    int endPara = edCurPara;
    int endPos = edLinePos + length + 1;
    if (edCurLine < LineCount()) {
        std::int32_t linePos = 0;
        endPara = edParas->FindParaByLine(edCurLine + 1, linePos);
        endPos = linePos + 1;
    } else if (length == 0) {
        return;
    }
    edRectSelect = false;
    edSetHighlight(edCurPara, edLinePos + 1, endPara, endPos);
    InUndoGroup([this] { edDeleteChar(); });
}

void TPgcCustomEditor::edDeleteWord()
{
    if (ReadOnly()) {
        return;
    }
    if (!HasSelection()) {
        const std::u16string_view text = ParaText(edCurPara);
        const int length = static_cast<int>(text.size());
        const int start = edLinePos + edCurCol;
        int p = start;
        while (p <= length && !IsWordDelimiter(text[static_cast<std::size_t>(p - 1)])) {
            ++p;
        }
        while (p <= length && IsBlankUnit(text[static_cast<std::size_t>(p - 1)])) {
            ++p;
        }
        if (p > start) {
            edRectSelect = false;
            edSetHighlight(edCurPara, start, edCurPara, p);
        }
    }
    edDeleteChar();
}

// ---- inserting ----

void TPgcCustomEditor::edInsertChar(char16_t Ch)
{
    if (ReadOnly()) {
        return;
    }
    const auto insert = [this, Ch](bool Inserting) {
        const int para = edCurPara;
        const int position = edLinePos + edCurCol;
        const std::uint16_t code = Inserting || position > edParas->ParaLength(para)
            ? edParas->InsertTextPrim(this, para, position, &Ch, 1)
            : edParas->ReplaceText(this, para, position, 1, &Ch, 1);
        if (code != 0) {
            DoOnError(code);
            return;
        }
        edInvalidateLines(edParas->FLine(), edParas->LLine());
        if (edParas->LLine() == TPgcParaList::NoLimit) {
            edSetVScrollRange();
        }
        const int oldLine = edCurLine;
        edMoveCaretToPos(para, position + 1, false);
        if (edCurLine > oldLine && edHDelta != 0) {
            edScrollPrim(-edHDelta, 0);
        }
        Update();
    };
    if (HasSelection()) {
        InUndoGroup([&] {
            edDeleteChar();
            insert(true);
        });
    } else {
        insert(FInsertMode);
    }
}

std::uint16_t TPgcCustomEditor::edInsertSpaces(int Para, int Pos, int N)
{
    while (N > 0) {
        const int count = std::min(N, SpacesPerInsert);
        const std::uint16_t code = edParas->InsertTextPrim(this, Para, Pos, Spaces, count);
        if (code != 0) {
            return code;
        }
        Pos += count;
        N -= count;
    }
    return 0;
}

void TPgcCustomEditor::InsertBlanks(int N, bool Overwrite)
{
    const int para = edCurPara;
    const int position = edLinePos + edCurCol;
    if (Overwrite) {
        edParas->DeleteText(this, para, position, N);
        edInvalidateLines(edParas->FLine(), edParas->LLine());
    }
    std::uint16_t code = edParas->OkToInsert(para, 0, N);
    if (code == 0) {
        code = edInsertSpaces(para, position, N);
    }
    if (code != 0) {
        DoOnError(code);
        return;
    }
    edInvalidateLines(edParas->FLine(), edParas->LLine());
    edMoveCaretToPos(para, position + N, false);
}

int TPgcCustomEditor::SmartTabStop()
{
    if (edCurPara <= 1) {
        return 0;
    }
    int line = edCurLine - 1;
    if (edParas->LineLength(line) == 0 && edCurLine < LineCount()) {
        line = edCurLine + 1;
    }
    const std::u16string expanded = ExpandedLine(line);
    const auto size = static_cast<int>(expanded.size());
    const int caretColumn = ScreenColumn(edCurLine, edCurCol);
    int i = caretColumn - 1;
    if (expanded.empty() || i >= size) {
        return 0;
    }
    if (!IsBlankUnit(expanded[static_cast<std::size_t>(i)])) {
        while (i < size && !IsBlankUnit(expanded[static_cast<std::size_t>(i)])) {
            ++i;
        }
    }
    while (i < size && IsBlankUnit(expanded[static_cast<std::size_t>(i)])) {
        ++i;
    }
    return i < size && i + 1 > caretColumn ? i + 1 : 0;
}

void TPgcCustomEditor::edInsertTab()
{
    if (ReadOnly()) {
        return;
    }
    if (FTabType == ttReal) {
        edInsertChar(u'\t');
        return;
    }
    InUndoGroup([this] {
        const bool hadSelection = HasSelection();
        if (hadSelection) {
            edDeleteChar();
        }
        const int tabSize = edParas->TabSize();
        int blanks = ((edCurCol - 1) / tabSize + 1) * tabSize - edCurCol + 1;
        if (FTabType == ttSmart) {
            if (const int stop = SmartTabStop(); stop != 0) {
                blanks = stop - ScreenColumn(edCurLine, edCurCol);
            }
        }
        InsertBlanks(blanks, !FInsertMode && !hadSelection);
    });
    Update();
}

int TPgcCustomEditor::edGetIndent()
{
    int line = edCurLine;
    int upTo = edCurCol - 1;
    std::int32_t column = 0;
    const int firstLine = edParas->FindLineByPara(edCurPara, 1, column);
    TParaNode* node = edParas->NthPara(edCurPara);
    const int lines = node != nullptr ? node->LineCount() : 1;
    if (FNewStyleIndent && lines >= 2) {
        line = std::max(firstLine, edCurLine - (lines - 1));
        upTo = edParas->LineLength(line);
    }
    const std::u16string_view text = LineText(line);
    int blanks = 0;
    const int limit = std::min(upTo, static_cast<int>(text.size()));
    while (blanks < limit && IsBlankUnit(text[static_cast<std::size_t>(blanks)])) {
        ++blanks;
    }
    return TabbedWidth(text.data(), static_cast<std::uint16_t>(blanks), edParas->TabSize());
}

void TPgcCustomEditor::edNewLine(bool Break, bool Move)
{
    bool changed = false;
    std::int32_t indent = 0;
    bool failed = false;
    InUndoGroup([&] {
        if (HasSelection() && !ReadOnly()) {
            edDeleteChar();
            changed = true;
        }
        if (!Break) {
            return;
        }
        indent = FAutoIndent ? edGetIndent() : 0;
        std::uint16_t code = edParas->OkToInsert(0, 1, indent + 2);
        if (code == 0) {
            const std::uint8_t tabs = FTabType == ttReal ? edParas->TabSize() : 0;
            code = edParas->BreakPara(this, edCurPara, edLinePos + edCurCol, tabs, indent, true);
        }
        if (code != 0) {
            failed = true;
            DoOnError(code);
            return;
        }
        changed = true;
        edSetVScrollRange();
        edRedraw(true);
    });
    if (failed) {
        return;
    }
    if (Move) {
        if (Break) {
            edMoveCaretToPos(edCurPara + 1, indent + 1, false);
        } else if (edCurPara < edParas->ParaCount()) {
            edMoveCaretToPos(edCurPara + 1, 1, false);
        } else {
            edMoveCaretTo(LineCount(), edParas->LineLength(LineCount()) + 1, false);
        }
    }
    if (changed) {
        DoOnChange();
    }
}

} // namespace qel
