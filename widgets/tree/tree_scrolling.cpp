// Scrolling of the data tree: the offsets into the virtual area and its
// ranges, the one operation that moves the view, the scroll bars, the
// scroll-bar and wheel messages, and bringing nodes and columns into view.
#include "widgets/tree/base_data_tree.h"

#include "platform/controls/application.h"
#include "platform/controls/control_messages.h"
#include "platform/controls/scroll_bars.h"
#include "platform/controls/system_metrics.h"
#include "platform/controls/virtual_keys.h"
#include "platform/controls/window.h"
#include "platform/controls/window_input.h"
#include "platform/controls/window_messages.h"
#include "platform/controls/window_paint.h"
#include "platform/controls/window_styles.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace qel {

namespace {

bool HasBar(TScrollStyle style, TScrollStyle bar)
{
    return style == bar || style == ssBoth;
}

// A 64-bit range as a scroll-bar maximum.
int BarMaximum(std::int64_t range)
{
    return static_cast<int>(std::clamp<std::int64_t>(range, 0, INT32_MAX));
}

int ClampOffset(std::int64_t value, std::int64_t client, std::int64_t range)
{
    const std::int64_t lowest = std::min<std::int64_t>(client - range, 0);
    return static_cast<int>(std::clamp<std::int64_t>(value, std::max<std::int64_t>(lowest, INT32_MIN), 0));
}

} // namespace

// ---- offsets ----

void TBaseDataTree::SetOffsetX(int value)
{
    DoSetOffsetXY(plat::Point(value, FOffsetY), DefaultScrollUpdateFlags);
}

void TBaseDataTree::SetOffsetY(int value)
{
    DoSetOffsetXY(plat::Point(FOffsetX, value), DefaultScrollUpdateFlags);
}

void TBaseDataTree::SetOffsetXY(plat::TPoint value)
{
    DoSetOffsetXY(value, DefaultScrollUpdateFlags);
}

int TBaseDataTree::ComputeEffectiveOffsetX() const
{
    return UseRightToLeftAlignment() ? static_cast<int>(FRangeX + FOffsetX - ClientWidth()) : -FOffsetX;
}

bool TBaseDataTree::DoSetOffsetXY(plat::TPoint value, TScrollUpdateOptions options, const plat::TRect* clipRect)
{
    const int x = ClampOffset(value.X, ClientWidth(), FRangeX);
    const int y = ClampOffset(value.Y, ClientHeight(), FRangeY);
    int deltaX = x - FOffsetX;
    if (UseRightToLeftAlignment()) {
        deltaX = -deltaX;
    }
    const int deltaY = y - FOffsetY;
    if (deltaX == 0 && deltaY == 0) {
        return false;
    }
    FOffsetX = x;
    FOffsetY = y;
    FEffectiveOffsetX = ComputeEffectiveOffsetX();
    if (FStates.Contains(tsHint) && plat::Application != nullptr) {
        plat::Application->CancelHint();
    }
    if (!IsUpdating() && HandleAllocated()) {
        if (options.Contains(suoScrollClientArea) && !FStates.Contains(tsToggling)) {
            const int fixedWidth = FHeader->UseColumns() ? FHeader->Columns().GetVisibleFixedWidth() : 0;
            if (UsesBackground(TDTInternalPaintOptions{poBackground})) {
                // The picture does not travel with the rows' pixels: paint the
                // whole client area anew instead of moving it.
                Invalidate();
            } else if (deltaX != 0 && fixedWidth > 0) {
                plat::TRect scrolling = ClientRect();
                scrolling.Left = fixedWidth;
                plat::ScrollWindowEx(Handle(), deltaX, 0, &scrolling, &scrolling, nullptr, nullptr,
                                     plat::SW_INVALIDATE);
                if (deltaY != 0) {
                    plat::ScrollWindowEx(Handle(), 0, deltaY, clipRect, clipRect, nullptr, nullptr,
                                         plat::SW_INVALIDATE);
                }
            } else {
                plat::ScrollWindowEx(Handle(), deltaX, deltaY, clipRect, clipRect, nullptr, nullptr,
                                     plat::SW_INVALIDATE);
            }
            if (FStates.Contains(tsWheelPanning) || FStates.Contains(tsWheelScrolling)) {
                // The panning mark stays put: repaint it and its moved copy.
                const plat::TRect mark = PanningMarkRect();
                const plat::TRect moved = plat::OffsetRect(mark, deltaX, deltaY);
                plat::InvalidateRect(Handle(), &mark, false);
                plat::InvalidateRect(Handle(), &moved, false);
            }
        }
        if (options.Contains(suoUpdateNCArea)) {
            const bool doRepaint = options.Contains(suoRepaintScrollBars);
            const TScrollStyle bars = FScrollBarOptions->ScrollBars();
            if (deltaX != 0) {
                UpdateHorizontalScrollBar(doRepaint);
                if (options.Contains(suoRepaintHeader) && FHeader->Options().Contains(hoVisible)) {
                    FHeader->Invalidate();
                }
                if (!FStates.Contains(tsSizing) && HasBar(bars, ssHorizontal)) {
                    UpdateVerticalScrollBar(doRepaint);
                }
            }
            if (deltaY != 0 && !FStates.Contains(tsThumbTracking) && !FStates.Contains(tsSizing)) {
                UpdateVerticalScrollBar(doRepaint);
                if (!FHeader->UseColumns() && !FStates.Contains(tsDrawSelecting) && HasBar(bars, ssHorizontal)) {
                    UpdateHorizontalScrollBar(doRepaint);
                }
            }
        }
    }
    if (HandleAllocated()) {
        // The row under the mouse changed with the view.
        plat::TPoint cursor;
        plat::GetCursorPos(cursor);
        const plat::TPoint p = ScreenToClient(cursor);
        if (ClientRect().Contains(p.X, p.Y)) {
            HandleHotTrack(p.X, p.Y);
        }
    }
    DoScroll(deltaX, deltaY);
    return true;
}

void TBaseDataTree::DoScroll(int deltaX, int deltaY)
{
    if (OnScroll) {
        OnScroll(this, deltaX, deltaY);
    }
}

void TBaseDataTree::DoShowScrollBar(int bar, bool show)
{
    if (HandleAllocated()) {
        plat::ShowScrollBar(Handle(), bar, show);
    }
    if (OnShowScrollBar) {
        OnShowScrollBar(this, bar, show);
    }
}

void TBaseDataTree::SetBottomSpace(int value)
{
    value = std::max(value, 0);
    if (value != FBottomSpace) {
        FBottomSpace = value;
        UpdateVerticalScrollBar(true);
    }
}

// ---- ranges and bars ----

void TBaseDataTree::UpdateVerticalRange()
{
    FRangeY = RangeY();
}

void TBaseDataTree::UpdateHorizontalRange()
{
    FRangeX = FHeader->UseColumns() ? FHeader->Columns().TotalWidth() : GetMaxRightExtend();
}

void TBaseDataTree::UpdateRanges()
{
    UpdateVerticalRange();
    UpdateHorizontalRange();
}

void TBaseDataTree::UpdateScrollBars(bool doRepaint)
{
    if (!HandleAllocated()) {
        UpdateRanges();
        return;
    }
    UpdateVerticalScrollBar(doRepaint);
    UpdateHorizontalScrollBar(doRepaint);
}

bool TBaseDataTree::SetScrollBar(int bar, int clientExtent, std::int64_t range, int position, bool doRepaint)
{
    const bool alwaysVisible = FScrollBarOptions->AlwaysVisible();
    plat::TScrollInfo info;
    info.fMask = plat::SIF_ALL;
    if (clientExtent >= range && !alwaysVisible) {
        plat::SetScrollInfo(Handle(), bar, info, false);
        DoShowScrollBar(bar, false);
        return false;
    }
    DoShowScrollBar(bar, true);
    if (alwaysVisible) {
        info.fMask |= plat::SIF_DISABLENOSCROLL;
    }
    info.nMax = BarMaximum(range);
    info.nPos = position;
    info.nPage = static_cast<unsigned>(std::max(clientExtent + 1, 0));
    plat::SetScrollInfo(Handle(), bar, info, doRepaint);
    return true;
}

void TBaseDataTree::UpdateHorizontalScrollBar(bool doRepaint)
{
    UpdateHorizontalRange();
    if (IsUpdating() || !HandleAllocated()) {
        return;
    }
    const bool rightToLeft = UseRightToLeftAlignment();
    FEffectiveOffsetX = ComputeEffectiveOffsetX();
    int wanted = FOffsetX;
    if (HasBar(FScrollBarOptions->ScrollBars(), ssHorizontal)) {
        if (SetScrollBar(plat::SB_HORZ, ClientWidth(), FRangeX, FEffectiveOffsetX, doRepaint) && doRepaint) {
            plat::RedrawWindow(Handle(), nullptr, nullptr,
                               plat::RDW_FRAME | plat::RDW_INVALIDATE | plat::RDW_NOERASE | plat::RDW_NOCHILDREN);
        }
        FEffectiveOffsetX = plat::GetScrollPos(Handle(), plat::SB_HORZ);
        wanted = rightToLeft ? static_cast<int>(ClientWidth() + FEffectiveOffsetX - FRangeX) : -FEffectiveOffsetX;
    } else {
        DoShowScrollBar(plat::SB_HORZ, false);
    }
    SetOffsetX(wanted);
}

void TBaseDataTree::UpdateVerticalScrollBar(bool doRepaint)
{
    UpdateVerticalRange();
    if (IsUpdating()) {
        return;
    }
    const std::string message = std::string("UI controls like ") + std::string(ClassType()->ClassName()) +
                                " and its scrollbars should only be manipulated through the main thread.";
    TreeAssert(InUIThread(), message.c_str());
    if (!HandleAllocated()) {
        SetOffsetY(FOffsetY);
        return;
    }
    if (!HasBar(FScrollBarOptions->ScrollBars(), ssVertical)) {
        DoShowScrollBar(plat::SB_VERT, false);
        SetOffsetY(FOffsetY);
        return;
    }
    SetScrollBar(plat::SB_VERT, ClientHeight(), FRangeY, -FOffsetY, doRepaint);
    SetOffsetY(-plat::GetScrollPos(Handle(), plat::SB_VERT));
}

int TBaseDataTree::GetMaxRightExtend()
{
    // Only rows on screen count. Rows not yet initialised are left to the
    // paint that initialises them: a range update must not ask the
    // application for nodes or heights behind the position cache's back.
    const std::int64_t viewTop = -std::int64_t{FOffsetY};
    std::int64_t top = 0;
    PDataNode node = FStates.Contains(tsUseCache) ? FindInPositionCache(viewTop, top) : nullptr;
    if (node == nullptr) {
        node = GetFirstVisibleNoInit(nullptr, true, false);
        top = 0;
    }
    while (node != nullptr && top + node->fNodeHeight <= viewTop) {
        top += node->fNodeHeight;
        node = GetNextVisibleNoInit(node, true);
    }
    top -= viewTop;
    int result = 0;
    TDTOffsets offsets{};
    while (node != nullptr && top < Height()) {
        if (node->States.Contains(vsInitialized)) {
            GetOffsets(node, offsets, ofsRightOfText, NoColumn);
            result = std::max(result, offsets[ofsRightOfText]);
        }
        top += node->fNodeHeight;
        node = GetNextVisibleNoInit(node, true);
    }
    return result;
}

int TBaseDataTree::ComputeRTLOffset(bool excludeScrollBar) const
{
    if (!UseRightToLeftAlignment()) {
        return 0;
    }
    const bool barShows = ClientHeight() < FRangeY && HasBar(FScrollBarOptions->ScrollBars(), ssVertical);
    int result = barShows ? plat::ScrollBarSize : 0;
    const std::int64_t headerWidth = FHeaderRect.Width();
    if (headerWidth >= FRangeX + result) {
        result = static_cast<int>(headerWidth - FRangeX);
    }
    if (excludeScrollBar && barShows) {
        result -= plat::ScrollBarSize;
    }
    return result;
}

plat::TSize TBaseDataTree::GetBorderDimensions()
{
    plat::TSize result{0, 0};
    if (!HandleAllocated()) {
        return result;
    }
    const plat::DWORD style = plat::GetWindowStyle(Handle());
    const plat::DWORD exStyle = plat::GetWindowExStyle(Handle());
    if (style & plat::WS_BORDER) {
        result.cx -= plat::BorderSize;
        result.cy -= plat::BorderSize;
    }
    if (style & plat::WS_THICKFRAME) {
        result.cx -= plat::FixedFrameSize;
        result.cy -= plat::FixedFrameSize;
    }
    if (exStyle & plat::WS_EX_CLIENTEDGE) {
        result.cx -= plat::EdgeSize;
        result.cy -= plat::EdgeSize;
    }
    return result;
}

// ---- top and bottom node ----

PDataNode TBaseDataTree::TopNode()
{
    int nodeTop = 0;
    return GetNodeAt(0, 0, true, nodeTop);
}

void TBaseDataTree::SetTopNode(PDataNode node)
{
    if (node == nullptr || node == FRoot) {
        return;
    }
    SetVisiblePath(node, true);
    UpdateVerticalRange();
    const plat::TRect row = GetDisplayRect(node, NoColumn, false);
    if (!GetEffectivelyVisible(node) || !GetVisiblePath(node)) {
        return;
    }
    SetOffsetY(FOffsetY - row.Top);
}

PDataNode TBaseDataTree::BottomNode()
{
    int nodeTop = 0;
    return GetNodeAt(0, ClientHeight() - 1, true, nodeTop);
}

void TBaseDataTree::SetBottomNode(PDataNode node)
{
    if (node == nullptr || node == FRoot) {
        return;
    }
    SetVisiblePath(node, true);
    UpdateVerticalRange();
    if (!GetEffectivelyVisible(node) || !GetVisiblePath(node)) {
        return;
    }
    const plat::TRect row = GetDisplayRect(node, NoColumn, false);
    const std::int64_t y = std::int64_t{ClientHeight()} + FOffsetY - row.Top - GetNodeHeight(node);
    DoSetOffsetXY(plat::Point(FOffsetX, static_cast<int>(std::clamp<std::int64_t>(y, INT32_MIN, INT32_MAX))),
                  {suoRepaintScrollBars, suoUpdateNCArea});
}

// ---- bringing into view ----

bool TBaseDataTree::ScrollIntoView(PDataNode node, bool center, bool horizontally)
{
    if (node == nullptr || node == FRoot || !HandleAllocated()) {
        return false;
    }
    SetVisiblePath(node, true);
    UpdateVerticalRange();
    const bool textOnly = !FOptions->MiscOptions().Contains(toGridExtensions);
    const TDataTreeColumns& columns = FHeader->Columns();
    const bool inColumn = FHeader->UseColumns() && columns.IsValidColumn(FFocusedColumn);
    const plat::TRect r = GetDisplayRect(node, inColumn ? FFocusedColumn : NoColumn, textOnly);
    const int oldOffsetY = FOffsetY;
    const int clientHeight = ClientHeight();
    if (r.Top < 0) {
        SetOffsetY(center ? FOffsetY + clientHeight / 2 - r.Top : FOffsetY - r.Top);
    } else if (r.Bottom > clientHeight || center) {
        const int h = center ? clientHeight / 2 : clientHeight;
        std::int64_t y = std::int64_t{FOffsetY} + h - r.Bottom;
        const TScrollStyle bars = FScrollBarOptions->ScrollBars();
        const bool barShows = HasBar(bars, ssHorizontal) &&
                              (FScrollBarOptions->AlwaysVisible() || ClientWidth() < FRangeX);
        if (!FHeader->UseColumns() && !barShows && ClientWidth() < FRangeX) {
            y -= plat::ScrollBarSize;
        }
        SetOffsetY(static_cast<int>(std::clamp<std::int64_t>(y, INT32_MIN, INT32_MAX)));
    }
    bool result = FOffsetY != oldOffsetY;
    if (horizontally) {
        const int fixedWidth = columns.GetVisibleFixedWidth();
        const bool fits = ClientWidth() - fixedWidth >= r.Width();
        result = ScrollIntoView(FFocusedColumn, center && fits, node) || result;
    }
    return result;
}

bool TBaseDataTree::ScrollIntoView(TColumnIndex column, bool center, PDataNode node)
{
    const TDataTreeColumns& columns = FHeader->Columns();
    int left = 0;
    int right = 0;
    bool fixed = false;
    if (FHeader->UseColumns() && columns.IsValidColumn(column)) {
        left = columns.Items(column)->Left();
        right = left + columns.Items(column)->Width();
        fixed = columns.Items(column)->IsFixed();
    } else {
        if (node == nullptr || !FOptions->SelectionOptions().Contains(toCenterScrollIntoView)) {
            return false;
        }
        const plat::TRect r =
            GetDisplayRect(node, NoColumn, !FOptions->MiscOptions().Contains(toGridExtensions));
        left = r.Left;
        right = r.Right;
        center = false;
    }
    const int fixedWidth = columns.GetVisibleFixedWidth();
    const int clientWidth = ClientWidth();
    std::int64_t wanted = FEffectiveOffsetX;
    if (fixed || center) {
        if (center) {
            wanted = std::int64_t{left} + FEffectiveOffsetX + (right - left) / 2 - fixedWidth / 2 - clientWidth / 2;
        }
    } else if (right > clientWidth) {
        wanted = std::int64_t{std::min(right - clientWidth, left - fixedWidth)} + FEffectiveOffsetX;
    } else if (left < fixedWidth) {
        wanted = std::int64_t{FEffectiveOffsetX} + left - fixedWidth;
    }
    const int oldOffsetX = FOffsetX;
    if (wanted != FEffectiveOffsetX) {
        const std::int64_t x = UseRightToLeftAlignment() ? clientWidth + wanted - FRangeX : -wanted;
        SetOffsetX(static_cast<int>(std::clamp<std::int64_t>(x, INT32_MIN, INT32_MAX)));
    }
    return FOffsetX != oldOffsetX;
}

// ---- messages ----

void TBaseDataTree::WMVScroll(plat::TMessage& message)
{
    const int code = plat::LOWORD(message.WParam);
    const int increment = FScrollBarOptions->VerticalIncrement();
    switch (code) {
    case plat::SB_LINEUP:
        SetOffsetY(FOffsetY + increment);
        break;
    case plat::SB_LINEDOWN:
        SetOffsetY(FOffsetY - increment);
        break;
    case plat::SB_PAGEUP:
        SetOffsetY(FOffsetY + ClientHeight());
        break;
    case plat::SB_PAGEDOWN:
        SetOffsetY(FOffsetY - ClientHeight());
        break;
    case plat::SB_THUMBPOSITION:
    case plat::SB_THUMBTRACK: {
        DoStateChange({tsThumbTracking});
        plat::TScrollInfo info;
        info.fMask = plat::SIF_TRACKPOS;
        plat::GetScrollInfo(Handle(), plat::SB_VERT, info);
        SetOffsetY(-info.nTrackPos);
        break;
    }
    case plat::SB_TOP:
        SetOffsetY(0);
        break;
    case plat::SB_BOTTOM:
        SetOffsetY(static_cast<int>(std::clamp<std::int64_t>(-FRoot->TotalHeight, INT32_MIN, 0)));
        break;
    case plat::SB_ENDSCROLL:
        DoStateChange({}, {tsThumbTracking});
        UpdateScrollBars(true);
        plat::RedrawWindow(Handle(), nullptr, nullptr,
                           plat::RDW_FRAME | plat::RDW_INVALIDATE | plat::RDW_NOCHILDREN | plat::RDW_NOERASE);
        break;
    default:
        break;
    }
    message.Result = 0;
}

void TBaseDataTree::WMHScroll(plat::TMessage& message)
{
    const int code = plat::LOWORD(message.WParam);
    const int sign = UseRightToLeftAlignment() ? -1 : 1;
    const int increment = FScrollBarOptions->HorizontalIncrement();
    const int page = ClientWidth() - FHeader->Columns().GetVisibleFixedWidth();
    switch (code) {
    case plat::SB_LINELEFT:
        SetOffsetX(FOffsetX + sign * increment);
        break;
    case plat::SB_LINERIGHT:
        SetOffsetX(FOffsetX - sign * increment);
        break;
    case plat::SB_PAGELEFT:
        SetOffsetX(FOffsetX + sign * page);
        break;
    case plat::SB_PAGERIGHT:
        SetOffsetX(FOffsetX - sign * page);
        break;
    case plat::SB_THUMBPOSITION:
    case plat::SB_THUMBTRACK: {
        DoStateChange({tsThumbTracking});
        plat::TScrollInfo info;
        info.fMask = plat::SIF_TRACKPOS;
        plat::GetScrollInfo(Handle(), plat::SB_HORZ, info);
        const std::int64_t x =
            UseRightToLeftAlignment() ? ClientWidth() + std::int64_t{info.nTrackPos} - FRangeX : -info.nTrackPos;
        SetOffsetX(static_cast<int>(std::clamp<std::int64_t>(x, INT32_MIN, INT32_MAX)));
        break;
    }
    case plat::SB_LEFT:
        SetOffsetX(0);
        break;
    case plat::SB_RIGHT:
        SetOffsetX(static_cast<int>(std::clamp<std::int64_t>(-FRangeX, INT32_MIN, 0)));
        break;
    case plat::SB_ENDSCROLL:
        DoStateChange({}, {tsThumbTracking});
        UpdateHorizontalScrollBar(false);
        break;
    default:
        break;
    }
    message.Result = 0;
}

void TBaseDataTree::CMMouseWheel(plat::TMessage& message)
{
    StopWheelPanning();
    const int delta = plat::GET_WHEEL_DELTA_WPARAM(message.WParam);
    const plat::TShiftState shift = plat::KeysToShiftState(plat::LOWORD(message.WParam));
    const plat::TPoint point = plat::Point(plat::GET_X_LPARAM(message.LParam), plat::GET_Y_LPARAM(message.LParam));
    if (DoMouseWheel(shift, delta, point)) {
        message.Result = 1;
        return;
    }
    message.Result = 1;
    unsigned lines = plat::WheelScrollLines;
    plat::SystemParametersInfo(plat::SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    const bool pageWise = lines == plat::WHEEL_PAGESCROLL;
    const double factor = delta / 120.0;
    const bool ctrl = shift.Contains(plat::ssCtrl);
    if (ClientHeight() >= FRangeY || shift.Contains(plat::ssShift)) {
        const int page = ClientWidth() - FHeader->Columns().GetVisibleFixedWidth();
        const double amount =
            ctrl || pageWise ? factor * page : factor * lines * FHeader->Columns().GetScrollWidth();
        const int sign = UseRightToLeftAlignment() ? -1 : 1;
        SetOffsetX(static_cast<int>(std::clamp<double>(FOffsetX + sign * std::trunc(amount), INT32_MIN, INT32_MAX)));
    } else {
        const double amount = ctrl || pageWise ? factor * ClientHeight() : factor * lines * DefaultNodeHeight();
        SetOffsetY(static_cast<int>(std::clamp<double>(FOffsetY + std::trunc(amount), INT32_MIN, INT32_MAX)));
    }
}

} // namespace qel
