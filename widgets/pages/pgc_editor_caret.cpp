// The paragraph editor's caret and selection: placing the system caret and
// telling the caret's place, moving the caret (scrolling it into view),
// collapsing and extending the selection, and the ten markers.
#include "widgets/pages/pgc_editor.h"

#include "widgets/pages/para_list.h"
#include "widgets/pages/pgc_editor_margins.h"
#include "widgets/pages/pgc_exceptions.h"
#include "widgets/pages/pgc_single_caret.h"

#include <algorithm>

namespace qel {

namespace {

constexpr int OffWindow = 32767;          // caret position of a caret out of view
constexpr int MarginLineGap = 5;          // the caret's distance from an enabled left margin line
constexpr int WideCaret = 4;              // carets wider than this start at the cell's left edge
constexpr std::uint8_t MarkerCount = 10;

} // namespace

// ---- positions ----

TPgcTextPos TPgcCustomEditor::LinePosOf(const TMarker& M) const
{
    std::int32_t column = 0;
    const std::int32_t line = edParas->FindLineByPara(M.Para, M.Pos, column);
    return {line, column};
}

int TPgcCustomEditor::ScreenColumn(int Line, int Col) const
{
    const char16_t* s = nullptr;
    std::uint16_t length = 0;
    edParas->NthLine(Line, s, length);
    return edParas->EffCol(s, length, Col);
}

// ---- the system caret ----

void TPgcCustomEditor::edSetCaretMetrics()
{
    edCaret->SetCellHeight(edRowHeight());
    edCaret->SetCellWidth(edColWid);
    edCaret->SetInsertMode(FInsertMode);
}

bool TPgcCustomEditor::edCaretInView(int& EffCol)
{
    if (edCurLine < edTopLine || edCurLine >= edTopLine + edeRows) {
        return false;
    }
    if (EffCol == 0) {
        EffCol = ScreenColumn(edCurLine, edCurCol);
    }
    return EffCol > edHDelta && EffCol <= edHDelta + edCols;
}

// Thin carets stand one pixel left of the cell, between two characters.
void TPgcCustomEditor::edPositionCaret(int EffCol)
{
    edCurLine = std::min(edCurLine, LineCount());
    if (EffCol == 0) {
        EffCol = ScreenColumn(edCurLine, edCurCol);
    }
    int x = OffWindow;
    int y = OffWindow;
    if (edCaretInView(EffCol)) {
        x = LeftMargin() + (EffCol - edHDelta - 1) * edColWid;
        if (FMargins->Left()->Enabled()) {
            x += MarginLineGap;
        }
        y = edRowHeight() * (edCurLine - edTopLine);
    }
    if (!HandleAllocated()) {
        return;
    }
    if (Focused()) {
        const TPgcCaret& type = *edCaret->CaretType();
        const TPgcCaretShape shape = type.Shape();
        const bool fillsCell = shape == csBlock || shape == csHalfBlock || shape == csHorzLine;
        if (!fillsCell && type.CaretWidth() <= WideCaret) {
            --x;
        }
        edCaret->SetPosition({x, y});
    }
    plat::PostMessage(Handle(), PGCM_SHOWSTATUS, static_cast<plat::WPARAM>(EffCol), edCurLine);
}

// ---- moving the caret ----

void TPgcCustomEditor::ResetView()
{
    edSetTopLine(1);
    edTopPara = 1;
    edTopPos = 0;
    edCurLine = 1;
    edCurPara = 1;
    edCurCol = 1;
    edLinePos = 0;
    edHDelta = 0;
    edCollapseSelection(false);
}

void TPgcCustomEditor::edMoveCaretPrim(int DCol, int DLine, bool KeepRow, bool Extend, bool Absolute)
{
    const int oldLine = edCurLine;
    int row = 0;
    if (oldLine >= edTopLine && oldLine < edTopLine + edRows) {
        row = oldLine - edTopLine;
    } else {
        KeepRow = false;
    }
    const std::int64_t wanted = std::int64_t{oldLine} + DLine;
    const int line = static_cast<int>(std::clamp<std::int64_t>(wanted, 1, LineCount()));
    if (wanted > LineCount() && line == oldLine) {
        return;
    }
    const char16_t* s = nullptr;
    std::uint16_t length = 0;
    if (line != oldLine && !Absolute) {
        edParas->NthLine(oldLine, s, length);
        const std::int32_t screenColumn = edParas->EffCol(s, length, edCurCol);
        edParas->NthLine(line, s, length);
        edCurCol = edParas->ActualCol(s, length, screenColumn);
    } else {
        edParas->NthLine(line, s, length);
    }
    edCurLine = line;

    const std::int32_t maxParaLen = edParas->MaxParaLen();
    std::int32_t highest = FScrollPastEnd ? maxParaLen + 1 : length + 1;
    if (edParas->EffCol(s, length, highest) > maxParaLen) {
        highest = edParas->ActualCol(s, length, maxParaLen + 1);
    }
    edCurCol = static_cast<int>(std::clamp<std::int64_t>(std::int64_t{edCurCol} + DCol, 1, std::max(highest, 1)));
    std::int32_t linePos = 0;
    edCurPara = edParas->FindParaByLine(edCurLine, linePos);
    edLinePos = linePos;

    if (Extend) {
        edExtendSelection(true);
    } else {
        edCollapseSelection(true);
    }

    int effCol = 0;
    if (!KeepRow && (edCaretInView(effCol) || edRows < 1)) {
        edPositionCaret(effCol);
        return;
    }
    int top = edTopLine;
    if (KeepRow) {
        top = edCurLine - row;
    } else if (edCurLine < edTopLine) {
        top = edCurLine;
    } else if (edCurLine >= edTopLine + edeRows) {
        top = edCurLine - (edeRows - 1);
    }
    top = std::max({top, 1, edCurLine - (edeRows - 1)});
    const int column = ScreenColumn(edCurLine, edCurCol);
    int left = edHDelta;
    if (column > edHDelta + edCols) {
        left = column - edCols;
    } else if (column <= edHDelta) {
        left = column >= 3 ? column - 1 : 0;
    }
    if (left != edHDelta && edCurLine > oldLine) {
        edScrollPrim(-edHDelta, top - edTopLine);
    } else {
        edScrollPrim(left - edHDelta, top - edTopLine);
    }
}

void TPgcCustomEditor::edMoveCaretTo(int Line, int Col, bool Extend)
{
    edMoveCaretPrim(Col - edCurCol, Line - edCurLine, false, Extend, true);
}

void TPgcCustomEditor::edMoveCaretToPos(int Para, int Pos, bool Extend)
{
    const TPgcTextPos at = LinePosOf({Para, Pos});
    edMoveCaretTo(at.Line, at.Col, Extend);
}

// ---- selection ----

bool TPgcCustomEditor::HasSelection() const
{
    return edHltBgn != edHltEnd;
}

bool TPgcCustomEditor::GetSelection(int& Line1, int& Col1, int& Line2, int& Col2) const
{
    if (!HasSelection()) {
        return false;
    }
    Line1 = edHltBgnL.Line;
    Col1 = edHltBgnL.Col;
    Line2 = edHltEndL.Line;
    Col2 = edHltEndL.Col;
    return true;
}

void TPgcCustomEditor::edCollapseSelection(bool Redraw)
{
    const bool had = HasSelection();
    const int firstLine = edHltBgnL.Line;
    const int lastLine = edHltEndL.Line;
    edHltBgn = edHltEnd = edAnchor = CaretMarker();
    edHltBgnL = edHltEndL = TPgcTextPos{edCurLine, edCurCol};
    if (Redraw && had) {
        edInvalidateLines(firstLine, lastLine);
    }
}

void TPgcCustomEditor::edExtendSelection(bool Redraw)
{
    const TMarker caret = CaretMarker();
    const bool beginMoves = edAnchor == edHltBgn;
    const int oldLine = beginMoves ? edHltBgnL.Line : edHltEndL.Line;
    (beginMoves ? edHltBgn : edHltEnd) = caret;
    if (edHltEnd < edHltBgn) {
        std::swap(edHltBgn, edHltEnd);
    }
    edAnchor = caret;
    edHltBgnL = LinePosOf(edHltBgn);
    edHltEndL = LinePosOf(edHltEnd);
    if (Redraw) {
        // The lines of the end that moved, old and new, and the caret's.
        const int newLine = LinePosOf(caret).Line;
        edInvalidateLines(std::min({edCurLine, oldLine, newLine}), std::max({edCurLine, oldLine, newLine}));
    }
}

void TPgcCustomEditor::SetSelection(int Line1, int Col1, int Line2, int Col2, bool CaretAtEnd)
{
    if (TextLength() == 0) {
        return;
    }
    const auto fit = [this](int& Line, int& Col) {
        Line = std::clamp(Line, 1, LineCount());
        Col = std::clamp(Col, 1, edParas->LineLength(Line) + 1);
    };
    fit(Line1, Col1);
    fit(Line2, Col2);
    if (!CaretAtEnd) {
        std::swap(Line1, Line2);
        std::swap(Col1, Col2);
    }
    edCurLine = Line1;
    edCurCol = Col1;
    std::int32_t linePos = 0;
    edCurPara = edParas->FindParaByLine(Line1, linePos);
    edLinePos = linePos;
    edCollapseSelection(true);
    edMoveCaretTo(Line2, Col2, true);
}

// ---- markers ----

void TPgcCustomEditor::SetMarker(std::uint8_t N)
{
    if (N < MarkerCount) {
        edParas->SetMarker(N, edCurPara, edLinePos + edCurCol);
        Repaint();
    }
}

void TPgcCustomEditor::SetMarkerAt(std::uint8_t N, int Line, int Col)
{
    if (N >= MarkerCount) {
        return;
    }
    if (Line < 1 || Line > LineCount() || Col < 1) {
        throw EInvalidLineOrCol();
    }
    edParas->SetMarkerAt(N, Line, Col);
    Repaint();
}

void TPgcCustomEditor::ClearMarker(std::uint8_t N)
{
    if (N < MarkerCount) {
        edParas->SetMarker(N, 0, 0);
        Repaint();
    }
}

void TPgcCustomEditor::GotoMarker(std::uint8_t N)
{
    if (N >= MarkerCount) {
        return;
    }
    const TMarker& marker = edParas->Markers()[N];
    if (marker.Para != 0 && marker.Pos != 0) {
        edMoveCaretToPos(marker.Para, marker.Pos, false);
    }
}

int TPgcCustomEditor::GetMarkerPosition(std::uint8_t N, int& Col) const
{
    if (N >= MarkerCount) {
        return -1;
    }
    const TMarker& marker = edParas->Markers()[N];
    if (marker.Para == 0 || marker.Pos == 0) {
        return -1;
    }
    const TPgcTextPos at = LinePosOf(marker);
    Col = at.Col;
    return at.Line;
}

} // namespace qel
