// The paragraph editor's geometry: measuring the window into rows and
// columns, the first visible line and column, scrolling (moving pixels
// where it can), invalidation, the scroll bars and their messages, and the
// mapping of client pixels to text positions.
#include "widgets/pages/pgc_editor.h"

#include "widgets/pages/para_list.h"
#include "widgets/pages/pgc_exceptions.h"
#include "widgets/pages/pgc_fixed_font.h"

#include "platform/controls/scroll_bars.h"
#include "platform/controls/window_paint.h"

#include <algorithm>
#include <cstdlib>
#include <string>

namespace qel {

namespace {

constexpr int MaxMeasurePasses = 8;     // a scroll bar showing or hiding changes the client area
constexpr int MaxHorizontalRange = 512;
constexpr int ShortVerticalRange = 32767;   // longer texts count the bar in units of edDivisor lines

} // namespace

// ---- measuring ----

void TPgcCustomEditor::edCalcRowColInfo()
{
    if (!HandleAllocated()) {
        return;
    }
    plat::TCanvas* canvas = Canvas();
    canvas->Font()->Assign(FFixedFont->Font());
    canvas->RequireState();
    const plat::TTextMetric metric = canvas->Handle()->GetTextMetrics();
    edColWid = std::max(metric.AveCharWidth, 1);

    for (int pass = 0; pass < MaxMeasurePasses; ++pass) {
        const int width = ClientWidth();
        const int height = ClientHeight();
        const int cols = std::max((width - LeftMargin() - RightMargin()) / edColWid, 1);
        const bool colsChanged = cols != edCols;
        edCols = cols;
        if (colsChanged && width > 0) {
            edSetHScrollRange();
            edSetHScrollPos();
            if (edHSMax == 0) {
                edHDelta = 0;
            }
        }
        edRowHt = metric.Height + metric.ExternalLeading + 1;
        const int rowHeight = edRowHeight();
        int rows = std::max(height / rowHeight, 1);
        edeRows = rows;
        if (height % rowHeight > rowHeight / 2) {
            ++rows;
        }
        const bool rowsChanged = rows != edRows;
        edRows = rows;
        if (rowsChanged && height > 0) {
            edSetVScrollRange();
            edSetVScrollPos();
        }
        if (!colsChanged && !rowsChanged) {
            break;
        }
    }
    edRedraw(false);
}

void TPgcCustomEditor::edWrapToWindow()
{
    if (FWrapToWindow && FWordWrap) {
        const int column = VisibleColumns() - 2;
        if (column >= 1) {
            SetWrapColumn(column);
        }
    }
}

void TPgcCustomEditor::WMSize(plat::TMessage& Msg)
{
    Inherited(Msg);
    const int lines = LineCount();
    const int oldRows = edRows;
    edCalcRowColInfo();
    edWrapToWindow();
    if (oldRows < lines && edRows >= lines) {
        SetTopLine(1);
    }
}

int TPgcCustomEditor::VisibleRows()
{
    HandleNeeded();
    return edRows;
}

int TPgcCustomEditor::VisibleColumns()
{
    HandleNeeded();
    return edCols;
}

// Digits are as wide as each other in a fixed-pitch font: the largest
// visible number is the widest.
int TPgcCustomEditor::LineNumberWidth()
{
    if (!HandleAllocated()) {
        return edLineNumW;
    }
    plat::TCanvas* canvas = Canvas();
    canvas->Font()->Assign(FFixedFont->Font());
    return canvas->TextWidth(std::to_string(edTopLine + edRows));
}

void TPgcCustomEditor::edCalcLineNumWidth()
{
    if (!FShowLineNumbers) {
        return;
    }
    const int width = LineNumberWidth();
    if (width != edLineNumW) {
        const int oldWidth = edLineNumW;
        edLineNumW = width;
        SetLeftMargin(LeftMargin() + width - oldWidth);
    }
}

// ---- the view's position ----

void TPgcCustomEditor::edSetTopLine(int Line)
{
    if (Line != edTopLine) {
        edTopLine = Line;
        DoOnTopLineChanged(Line);
    }
}

void TPgcCustomEditor::SetTopLine(int Value)
{
    if (Value < 1 || Value > LineCount()) {
        throw EInvalidLineOrPara();
    }
    edScrollPrim(0, Value - edTopLine);
}

void TPgcCustomEditor::SetLeftColumn(int Value)
{
    if (Value < 1 || Value > edHSMax || Value == LeftColumn()) {
        return;
    }
    edHDelta = Value - 1;
    edSetHScrollPos();
    edRedraw(true);
}

void TPgcCustomEditor::edScrollPrim(int DX, int DY)
{
    const int oldDelta = edHDelta;
    const int oldTop = edTopLine;
    edHDelta = DX < 0 && -DX > edHDelta ? 0 : edHDelta + DX;
    std::int64_t top = std::int64_t{edTopLine} + DY;
    if (top <= 0) {
        top = 1;
    } else if (top > std::int64_t{LineCount()} - edeRows + 1) {
        top = std::max(LineCount() - edRows + 1, 1);
    }
    edTopLine = static_cast<int>(top);
    edCalcLineNumWidth();
    if (edHDelta == oldDelta && edTopLine == oldTop) {
        edPositionCaret(0);
        return;
    }
    const int newTop = edTopLine;
    const bool topChanged = newTop != oldTop;
    try {
        if (topChanged) {
            std::int32_t linePos = 0;
            edTopPara = edParas->FindParaByLine(edTopLine, linePos);
            edTopPos = linePos;
            edSetVScrollPos();
        }
        if (edHDelta != oldDelta) {
            edSetHScrollPos();
        }
        if (HandleAllocated()) {
            const int rowHeight = edRowHeight();
            const plat::TRect text{LeftMargin(), 0, LeftMargin() + edCols * edColWid, rowHeight * edRows};
            const std::int64_t width = text.Width();
            const std::int64_t height = text.Height();
            const std::int64_t columns = std::int64_t{oldDelta} - edHDelta;
            const std::int64_t lines = std::int64_t{oldTop} - edTopLine;
            const std::int64_t dx = std::abs(columns) * edColWid > width ? width + 1 : columns * edColWid;
            const std::int64_t dy = std::abs(lines) * rowHeight > height ? height + 1 : lines * rowHeight;
            if (edRedrawPending) {
                Update();
            } else if (std::abs(dx) >= width || std::abs(dy) >= height || (dx != 0 && dy != 0)) {
                edRedraw(true);
            } else {
                plat::ScrollWindow(Handle(), static_cast<int>(dx), static_cast<int>(dy), &text, &text);
                if (FShowBookmarks && dy != 0) {
                    const plat::TRect margin{0, 0, LeftMargin(), rowHeight * edRows};
                    plat::ScrollWindow(Handle(), 0, static_cast<int>(dy), &margin, &margin);
                }
                Update();
            }
        }
    } catch (...) {
        if (topChanged) {
            edTopLine = 0;
            edSetTopLine(newTop);
        }
        throw;
    }
    // The event fires even for a top line seen before.
    if (topChanged) {
        edTopLine = 0;
        edSetTopLine(newTop);
    }
    Invalidate();
}

// ---- invalidation ----

void TPgcCustomEditor::edRedraw(bool DoUpdate)
{
    if (!HandleAllocated()) {
        return;
    }
    if (!edRedrawPending) {
        edRedrawPending = true;
        Invalidate();
    }
    if (DoUpdate) {
        Update();
    }
}

void TPgcCustomEditor::edInvalidateLines(int L1, int L2)
{
    if (edRedrawPending || !HandleAllocated()) {
        return;
    }
    if (L1 > L2) {
        std::swap(L1, L2);
    }
    const std::int64_t lastVisible = std::int64_t{edTopLine} + edRows - 1;
    if (L2 < edTopLine || L1 > lastVisible) {
        return;
    }
    const std::int64_t rowHeight = edRowHeight();
    plat::TRect rect = ClientRect();
    rect.Top = static_cast<int>(rowHeight * std::max(0, L1 - edTopLine));
    if (std::int64_t{L2} - edTopLine < edRows - 1) {
        rect.Bottom = static_cast<int>(rowHeight * (std::int64_t{L2} - edTopLine + 1));
    }
    plat::InvalidateRect(Handle(), &rect, false);
}

void TPgcCustomEditor::ResetScrollBars(bool UpdateScreen)
{
    if (!HandleAllocated() || edResettingScrollbars) {
        return;
    }
    edResettingScrollbars = true;
    try {
        edSetVScrollRange();
        edSetVScrollPos();
        edSetHScrollRange();
        edSetHScrollPos();
        edCalcRowColInfo();
        edWrapToWindow();
        edRedraw(UpdateScreen);
    } catch (...) {
        edResettingScrollbars = false;
        throw;
    }
    edResettingScrollbars = false;
}

// ---- scroll bars ----

void TPgcCustomEditor::edSetHScrollRange()
{
    if (!HandleAllocated()) {
        return;
    }
    edHSMax = std::min(edParas->WordWrap() ? edParas->WrapColumn() : edParas->MaxParaLen(), MaxHorizontalRange);
    if (edHSMax < 1 && FScrollBarsAlways) {
        edHSMax = 1;
    }
    const bool nothingToScroll = !edHScroll || (edCols >= edHSMax && !FScrollBarsAlways);
    plat::SetScrollRange(Handle(), plat::SB_HORZ, 0, nothingToScroll ? 0 : edHSMax, false);
}

void TPgcCustomEditor::edSetHScrollPos()
{
    if (!HandleAllocated()) {
        return;
    }
    if (edHScroll) {
        plat::SetScrollPos(Handle(), plat::SB_HORZ, edHDelta, true);
    }
    edPendingHSP = false;
}

void TPgcCustomEditor::edSetVScrollRange()
{
    if (!HandleAllocated()) {
        return;
    }
    const int topLines = std::max(LineCount() - edRows + 1, 0);
    edDivisor = topLines > ShortVerticalRange ? (topLines >> 15) * 2 : 1;
    edVSMax = topLines / edDivisor;
    if (edVSMax <= 1 && FScrollBarsAlways) {
        edVSMax = 2;
    }
    edSetVScrollPos();
    edPendingVSR = false;
}

// The bar shows disabled, not hidden, when nothing can scroll.
void TPgcCustomEditor::edSetVScrollPos()
{
    if (!HandleAllocated()) {
        return;
    }
    if (edVScroll) {
        plat::TScrollInfo info;
        info.fMask = plat::SIF_RANGE | plat::SIF_PAGE | plat::SIF_POS | plat::SIF_DISABLENOSCROLL;
        info.nMin = 1;
        info.nMax = LineCount() / edDivisor;
        info.nPage = static_cast<unsigned>(std::max(edRows, 0));
        info.nPos = edTopLine / edDivisor;
        plat::SetScrollInfo(Handle(), plat::SB_VERT, info, true);
    }
    edPendingVSP = false;
}

void TPgcCustomEditor::WMHScroll(plat::TMessage& Msg)
{
    const int code = plat::LOWORD(Msg.WParam);
    const int position = plat::HIWORD(Msg.WParam);
    switch (code) {
    case plat::SB_LINELEFT:
        edHScrollBy(-1);
        break;
    case plat::SB_LINERIGHT:
        edHScrollBy(1);
        break;
    case plat::SB_PAGELEFT:
        edHScrollBy(1 - VisibleColumns());
        break;
    case plat::SB_PAGERIGHT:
        edHScrollBy(VisibleColumns() - 1);
        break;
    case plat::SB_THUMBPOSITION:
    case plat::SB_THUMBTRACK:
        if (position != edHDelta) {
            edHDelta = position;
            edSetHScrollPos();
            edRedraw(true);
        }
        break;
    default:
        break;
    }
}

// A thumb position at the end of the range stands for the last top line,
// also when the bar counts in units of several lines.
void TPgcCustomEditor::WMVScroll(plat::TMessage& Msg)
{
    const int code = plat::LOWORD(Msg.WParam);
    const int position = plat::HIWORD(Msg.WParam);
    switch (code) {
    case plat::SB_LINEUP:
        edVScrollBy(-1);
        break;
    case plat::SB_LINEDOWN:
        edVScrollBy(1);
        break;
    case plat::SB_PAGEUP:
        edVScrollBy(-edRows);
        break;
    case plat::SB_PAGEDOWN:
        edVScrollBy(edRows);
        break;
    case plat::SB_THUMBPOSITION:
    case plat::SB_THUMBTRACK: {
        const auto clampLine = [this](std::int64_t Line) {
            return Line <= 0 ? 1 : static_cast<int>(std::min<std::int64_t>(Line, LineCount() - 1));
        };
        int top = 1;
        if (position == 1) {
            top = 1;
        } else if (position == edVSMax) {
            top = edRows < clampLine(LineCount()) ? clampLine(std::int64_t{edVSMax} * edDivisor) : 1;
        } else {
            top = clampLine(std::int64_t{position} * edDivisor);
        }
        SetTopLine(std::max(top, 1));
        break;
    }
    default:
        break;
    }
}

// ---- pixels to text ----

void TPgcCustomEditor::XYToLineCol(int X, int Y, int& Line, int& Col)
{
    const int rowHeight = edRowHeight();
    std::int64_t line = 0;
    if (Y < 0) {
        line = std::int64_t{edTopLine} - 1;
    } else if (Y >= ClientHeight()) {
        line = std::int64_t{edTopLine} + edRows;
    } else {
        line = std::int64_t{edTopLine} + Y / rowHeight;
        if (Y > rowHeight * edRows) {
            --line;
        }
    }
    Line = static_cast<int>(std::clamp<std::int64_t>(line, 1, LineCount()));

    const char16_t* s = nullptr;
    std::uint16_t length = 0;
    edParas->NthLine(Line, s, length);
    const int screenColumn = (X - LeftMargin() + edColWid / 2) / edColWid + edHDelta + 1;
    Col = screenColumn < 1 ? 1 : edParas->ActualCol(s, length, screenColumn);
    if (!FScrollPastEnd) {
        Col = std::min(Col, length + 1);
    }
    if (X >= edCols * edColWid + LeftMargin() - edColWid / 2 && X < ClientWidth()) {
        Col = edCols + edHDelta;
    }
}

} // namespace qel
