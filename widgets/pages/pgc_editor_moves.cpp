// The paragraph editor's named caret moves: left and right by paragraph
// position, by words, to the ends of a display line, by pages keeping the
// screen row, and to the first or last row of the window.
#include "widgets/pages/pgc_editor.h"

#include "widgets/pages/para_list.h"

#include <algorithm>

namespace qel {

std::u16string_view TPgcCustomEditor::ParaText(int Para) const
{
    TParaNode* node = edParas->NthPara(Para);
    return node != nullptr ? std::u16string_view(node->GetS(), node->SLen()) : std::u16string_view();
}

void TPgcCustomEditor::edMoveLeft(bool Extend)
{
    const int position = edLinePos + edCurCol;
    if (position <= 1) {
        if (edCurLine > 1 && FWrapAtLeft) {
            edMoveCaretTo(edCurLine - 1, edParas->LineLength(edCurLine - 1) + 1, Extend);
        }
        return;
    }
    if (edCurCol > 1) {
        edMoveCaret(-1, 0, false, Extend);
    } else {
        edMoveCaretToPos(edCurPara, position - 1, Extend);
    }
}

void TPgcCustomEditor::edMoveRight(bool Extend)
{
    const int position = edLinePos + edCurCol;
    const int length = edParas->ParaLength(edCurPara);
    if (FScrollPastEnd) {
        edMoveCaret(1, 0, false, Extend);
    } else if (position > length) {
        edMoveCaretTo(edCurLine + 1, 1, Extend);
    } else {
        edMoveCaretToPos(edCurPara, position + 1, Extend);
    }
}

void TPgcCustomEditor::edMoveWordLeft(bool Extend)
{
    const int position = edLinePos + edCurCol;
    if (position <= 1) {
        if (edCurPara > 1) {
            edMoveCaretTo(edCurLine - 1, edParas->LineLength(edCurLine - 1) + 1, Extend);
        }
        return;
    }
    const std::u16string_view text = ParaText(edCurPara);
    // p: the 1-based position of the unit left of the caret.
    int p = std::min(position, static_cast<int>(text.size()) + 1) - 1;
    while (p >= 1 && IsWordDelimiter(text[static_cast<std::size_t>(p - 1)])) {
        --p;
    }
    while (p >= 1 && !IsWordDelimiter(text[static_cast<std::size_t>(p - 1)])) {
        --p;
    }
    edMoveCaretToPos(edCurPara, p + 1, Extend);
}

void TPgcCustomEditor::edMoveWordRight(bool Extend)
{
    const std::u16string_view text = ParaText(edCurPara);
    const int length = static_cast<int>(text.size());
    int p = edLinePos + edCurCol;
    if (p > length) {
        edMoveCaretTo(edCurLine + 1, 1, Extend);
        return;
    }
    while (p <= length && !IsWordDelimiter(text[static_cast<std::size_t>(p - 1)])) {
        ++p;
    }
    while (p <= length && IsWordDelimiter(text[static_cast<std::size_t>(p - 1)])) {
        ++p;
    }
    edMoveCaretToPos(edCurPara, p, Extend);
}

void TPgcCustomEditor::edMoveHome(bool Extend)
{
    edMoveCaretTo(edCurLine, 1, Extend);
}

void TPgcCustomEditor::edMoveEnd(bool Extend)
{
    edMoveCaretTo(edCurLine, edParas->LineLength(edCurLine) + 1, Extend);
}

void TPgcCustomEditor::edMovePage(int Pages, bool Extend)
{
    const int page = edRows > 1 ? edRows - 1 : 1;
    edMoveCaret(0, Pages * page, true, Extend);
}

void TPgcCustomEditor::edMoveBotOfPage(bool Extend)
{
    if (edCurLine < edTopLine || edCurLine >= edTopLine + edRows) {
        edScrollPrim(0, std::max(edCurLine - edRows + 1, 1) - edTopLine);
        return;
    }
    const int bottom = std::min(edTopLine + edRows - 1, LineCount());
    edMoveCaret(0, bottom - edCurLine, false, Extend);
}

void TPgcCustomEditor::edMoveTopOfPage(bool Extend)
{
    if (edCurLine < edTopLine || edCurLine >= edTopLine + edRows) {
        edScrollPrim(0, edCurLine - edTopLine);
        return;
    }
    edMoveCaret(0, edTopLine - edCurLine, false, Extend);
}

} // namespace qel
