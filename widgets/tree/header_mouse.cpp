// The data tree header's mouse: column borders and the bottom border under
// the mouse, resizing columns and the header by dragging, dragging a column
// to another place with a drag picture and drop marks, hot and pressed
// columns watched by the header timer, clicks with automatic sorting, column
// check boxes, and the right-click menu.
#include "widgets/tree/base_data_tree.h"

#include "platform/canvas/bitmap.h"
#include "platform/canvas/canvas.h"
#include "platform/canvas/graphics_objects.h"
#include "platform/controls/application.h"
#include "platform/controls/screen.h"
#include "platform/controls/standard/popup_menu.h"
#include "platform/controls/system_metrics.h"
#include "platform/controls/virtual_keys.h"
#include "platform/controls/window.h"
#include "platform/controls/window_input.h"
#include "platform/controls/window_messages.h"
#include "platform/controls/window_paint.h"
#include "widgets/tree/dt_drag_image.h"
#include "widgets/tree/header_popup_menu.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace qel {

namespace {

plat::TPoint LParamPoint(plat::LPARAM lParam)
{
    return plat::Point(plat::GET_X_LPARAM(lParam), plat::GET_Y_LPARAM(lParam));
}

plat::TShiftState CurrentShift()
{
    return plat::KeysToShiftState(plat::CurrentKeyFlags()) * plat::TShiftState{plat::ssShift, plat::ssCtrl, plat::ssAlt};
}

// Inner and outer parts of the splitter zone: T x 0.6 rounded, halves to even.
void SplitterZone(int tolerance, int& inner, int& outer)
{
    inner = static_cast<int>(std::nearbyint(tolerance * 0.6));
    outer = tolerance - inner;
}

} // namespace

// ---- the column collection's part ----

bool TDataTreeColumns::CanSplitterResize(plat::TPoint p, TColumnIndex column)
{
    bool allowed = IsValidColumn(column) && Items(column)->Options().Contains(coResizable) && Items(column)->IsVisible();
    TBaseDataTree* tree = TreeView();
    if (tree->OnCanSplitterResizeColumn) {
        tree->OnCanSplitterResizeColumn(FHeader, p, column, allowed);
    }
    return allowed;
}

bool TDataTreeColumns::UpdateHoverIndex(plat::TPoint p)
{
    const TColumnIndex column = ColumnFromPosition(plat::Point(p.X, p.Y + FHeader->Height()), true);
    const int hover = column >= 0 ? column : -1;
    if (hover == FHoverIndex) {
        return false;
    }
    const int old = FHoverIndex;
    FHoverIndex = hover;
    if (old >= 0) {
        FHeader->Invalidate(old, false, true);
    }
    if (hover >= 0) {
        FHeader->Invalidate(hover, false, true);
    }
    return true;
}

TColumnIndex TDataTreeColumns::AdjustDownColumn(plat::TPoint p)
{
    const plat::TPoint q = plat::Point(p.X, p.Y + FHeader->Height());
    const TColumnIndex column = ColumnFromPosition(q, true);
    if (column >= 0 && column != FDownIndex && Items(column)->Options().Contains(coAllowClick) &&
        Items(column)->Options().Contains(coEnabled)) {
        if (FDownIndex >= 0) {
            FHeader->Invalidate(FDownIndex);
        }
        FDownIndex = column;
        const TDataTreeColumn* item = Items(column);
        FCheckBoxHit = item->HasImage() && ImageHit(*item, q) && item->CheckBox();
        FHeader->Invalidate(column);
    }
    return column;
}

bool TDataTreeColumns::HandleClick(plat::TPoint p, plat::TMouseButton button, bool force, bool dblClick)
{
    TBaseDataTree* tree = TreeView();
    if (tree->ComponentState().Contains(plat::csDesigning)) {
        return false;
    }
    const plat::TPoint q = plat::Point(p.X, p.Y + FHeader->Height());
    const TColumnIndex index = ColumnFromPosition(q, true);
    TDTHeaderHitInfo hitInfo;
    hitInfo.X = q.X;
    hitInfo.Y = q.Y;
    hitInfo.Shift = CurrentShift();
    if (dblClick) {
        hitInfo.Shift.Include(plat::ssDouble);
    }
    hitInfo.Button = button;
    if (index >= 0 && Items(index)->Options().Contains(coAllowClick) && (force || index == FDownIndex)) {
        FClickIndex = index;
        hitInfo.Column = index;
        hitInfo.HitPosition = {hhiOnColumn};
        const TDataTreeColumn* item = Items(index);
        if (item->HasImage() && ImageHit(*item, q)) {
            hitInfo.HitPosition.Include(hhiOnIcon);
            if (item->CheckBox()) {
                hitInfo.HitPosition.Include(hhiOnCheckbox);
                if (button == plat::mbLeft) {
                    tree->UpdateColumnCheckState(index);
                }
            }
        }
    } else {
        FClickIndex = -1;
        hitInfo.Column = NoColumn;
        hitInfo.HitPosition = {hhiNoWhere};
    }
    bool result = false;
    if (dblClick) {
        if (tree->OnHeaderDblClick) {
            tree->OnHeaderDblClick(FHeader, hitInfo);
        }
    } else {
        if (FHeader->Options().Contains(hoHeaderClickAutoSort) && button == plat::mbLeft &&
            !hitInfo.HitPosition.Contains(hhiOnCheckbox) && hitInfo.Column >= 0) {
            if (hitInfo.Column == FHeader->SortColumn()) {
                FHeader->ToggleSortDirection();
            } else {
                FHeader->DoSetSortColumn(hitInfo.Column, Items(hitInfo.Column)->DefaultSortDirection());
            }
            result = true;
        }
        if (button == plat::mbRight) {
            FDownIndex = -1;
            FTrackIndex = -1;
            FCheckBoxHit = false;
            delete FColumnPopupMenu;
            FColumnPopupMenu = nullptr;
            plat::IPopupMenu* popup =
                dynamic_cast<plat::IPopupMenu*>(FHeader->DoGetPopupMenu(ColumnFromPosition(q, true), p));
            if (popup == nullptr && FHeader->Options().Contains(hoAutoColumnPopupMenu)) {
                // The column menu, made anew for every right click.
                FColumnPopupMenu = TDTHeaderPopupMenu::CreateAutoMenu(tree);
                popup = FColumnPopupMenu;
            }
            if (popup != nullptr) {
                tree->StopTimer(ScrollTimer);
                tree->StopTimer(HeaderTimer);
                FHoverIndex = -1;
                tree->DoStateChange({}, {tsScrolling, tsScrollPending});
                popup->PopupFor(tree, tree->ClientToScreen(p));
                result = true;
            }
        }
        if (tree->OnHeaderClick) {
            tree->OnHeaderClick(FHeader, hitInfo);
        }
    }
    if (hitInfo.Column >= 0) {
        FHeader->Invalidate(hitInfo.Column);
    }
    if (FClickIndex >= 0 && FClickIndex != index) {
        FHeader->Invalidate(FClickIndex);
    }
    return result;
}

bool TDataTreeColumns::ImageHit(const TDataTreeColumn& column, plat::TPoint q) const
{
    // The header band is painted in window coordinates: the band's corner
    // lies at the header rectangle's top left.
    const plat::TRect& band = TreeView()->HeaderRect();
    return column.ImageRect().Contains(q.X + band.Left, q.Y + band.Top);
}

// ---- the header's part ----

plat::TComponent* TDTHeader::DoGetPopupMenu(TColumnIndex column, plat::TPoint p)
{
    plat::TComponent* menu = FPopupMenu;
    if (FOwner->OnGetPopupMenu) {
        bool askParent = true;
        FOwner->OnGetPopupMenu(FOwner, nullptr, column, p, askParent, menu);
    }
    return menu;
}

bool TDTHeader::CanSplitterResize(plat::TPoint p)
{
    bool allowed = FOptions.Contains(hoHeightResize);
    if (FOwner->OnCanSplitterResizeHeader) {
        FOwner->OnCanSplitterResizeHeader(this, p, allowed);
    }
    return allowed;
}

bool TDTHeader::DetermineSplitterIndex(plat::TPoint p)
{
    TDataTreeColumns& columns = *FColumns;
    if (columns.Count() == 0) {
        return false;
    }
    columns.FTrackIndex = -1;
    const int fixedWidth = columns.GetVisibleFixedWidth();
    int inner = 0;
    int outer = 0;
    SplitterZone(FSplitterHitTolerance, inner, outer);
    const int offset = FOwner->EffectiveOffsetX();
    const std::vector<TColumnIndex>& order = columns.PositionToIndex();
    if (FOwner->UseRightToLeftAlignment()) {
        int x = -offset;
        const int total = columns.TotalWidth();
        if (total < FOwner->ClientWidth()) {
            x += FOwner->ClientWidth() - total;
        }
        for (TColumnIndex index : order) {
            TDataTreeColumn* column = columns.Items(index);
            if (!column->IsVisible()) {
                continue;
            }
            const int border = column->IsFixed() ? x + offset : x;
            if (border - inner <= p.X && p.X < border + outer && (column->IsFixed() || p.X > fixedWidth) &&
                columns.CanSplitterResize(p, index)) {
                columns.FTrackIndex = index;
                FTrackPoint = plat::Point(border + column->Width(), p.Y);
                return true;
            }
            x += column->Width();
        }
        return false;
    }
    int x = columns.TotalWidth() - offset;
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        TDataTreeColumn* column = columns.Items(*it);
        if (!column->IsVisible()) {
            continue;
        }
        const int border = column->IsFixed() ? x + offset : x;
        // Outer pixels inside the column, inner ones from the border on.
        if (border - outer <= p.X && p.X < border + inner && (column->IsFixed() || p.X > fixedWidth) &&
            columns.CanSplitterResize(p, *it)) {
            columns.FTrackIndex = *it;
            FTrackPoint = plat::Point(border - column->Width(), p.Y);
            return true;
        }
        x -= column->Width();
    }
    return false;
}

bool TDTHeader::Tracking() const
{
    return FStates.Contains(hsColumnWidthTracking) || FStates.Contains(hsColumnWidthTrackPending) ||
           FStates.Contains(hsHeightTracking) || FStates.Contains(hsHeightTrackPending) ||
           FStates.Contains(hsDragging) || FStates.Contains(hsDragPending);
}

void TDTHeader::EndTracking(bool fireAfterEvents)
{
    const bool columnTracking = FStates.Contains(hsColumnWidthTracking);
    const bool heightTracking = FStates.Contains(hsHeightTracking);
    FStates.Exclude(hsColumnWidthTracking);
    FStates.Exclude(hsColumnWidthTrackPending);
    FStates.Exclude(hsHeightTracking);
    FStates.Exclude(hsHeightTrackPending);
    if (!fireAfterEvents) {
        return;
    }
    if (columnTracking && FOwner->OnAfterColumnWidthTracking) {
        FOwner->OnAfterColumnWidthTracking(this, FColumns->FTrackIndex);
    }
    if (heightTracking && FOwner->OnAfterHeaderHeightTracking) {
        FOwner->OnAfterHeaderHeightTracking(this);
    }
}

bool TDTHeader::HandleMessage(plat::TMessage& message)
{
    if (!FOwner->HandleAllocated()) {
        return false;
    }
    switch (message.Msg) {
    case plat::WM_KILLFOCUS:
        return HandleCancel(message);
    case plat::WM_KEYDOWN:
        return message.WParam == plat::VK_ESCAPE && HandleCancel(message);
    case plat::WM_SETCURSOR:
        return HandleSetCursor(message);
    case plat::WM_NCMOUSEMOVE:
        HandleNCMouseMove(message);
        return false;
    case plat::WM_LBUTTONDOWN:
    case plat::WM_NCLBUTTONDOWN:
        return HandleLeftButtonDown(message);
    case plat::WM_LBUTTONUP:
    case plat::WM_NCLBUTTONUP:
        return HandleLeftButtonUp(message);
    case plat::WM_LBUTTONDBLCLK:
    case plat::WM_NCLBUTTONDBLCLK:
    case plat::WM_NCRBUTTONDBLCLK:
    case plat::WM_NCMBUTTONDBLCLK:
        return HandleDoubleClick(message);
    case plat::WM_NCRBUTTONDOWN:
    case plat::WM_NCMBUTTONDOWN:
        HandleNCButtonDown(message);
        return false;
    case plat::WM_NCRBUTTONUP:
        return HandleNCRightButtonUp(message);
    case plat::WM_NCMBUTTONUP:
        HandleNCMiddleButtonUp(message);
        return false;
    case plat::WM_TIMER:
        return message.WParam == HeaderTimer && HandleHeaderTimer(message);
    case plat::WM_MOUSEMOVE:
        return HandleHeaderMouseMove(message);
    default:
        return false;
    }
}

plat::TPoint TDTHeader::MessagePoint(const plat::TMessage& message, bool client) const
{
    const plat::TPoint raw = LParamPoint(message.LParam);
    return client ? raw : FOwner->ScreenToClient(raw);
}

bool TDTHeader::Designing() const
{
    return FOwner->ComponentState().Contains(plat::csDesigning);
}

bool TDTHeader::OnColumnBorder(plat::TPoint p)
{
    return FOptions.Contains(hoColumnResize) && DetermineSplitterIndex(p) && InHeader(p);
}

bool TDTHeader::OnHeightBorder(plat::TPoint p)
{
    return InHeaderSplitterArea(p) && (Designing() || CanSplitterResize(p));
}

void TDTHeader::CancelTreeHint() const
{
    if (FOwner->FStates.Contains(tsHint) && plat::Application != nullptr) {
        plat::Application->CancelHint();
    }
}

bool TDTHeader::HandleCancel(plat::TMessage& message)
{
    if (FStates.Contains(hsDragging)) {
        plat::ReleaseCapture();
        FDragImage->EndDrag();
        FStates.Exclude(hsDragging);
        FColumns->FDropTarget = -1;
        Invalidate();
        EndTracking(false);
        message.Result = 0;
        return true;
    }
    if (FStates.Contains(hsColumnWidthTracking) || FStates.Contains(hsHeightTracking)) {
        plat::ReleaseCapture();
        EndTracking(true);
        message.Result = 0;
        return true;
    }
    EndTracking(false);
    return false;
}

bool TDTHeader::HandleSetCursor(plat::TMessage& message)
{
    if (Tracking()) {
        message.Result = 1;
        return true;
    }
    plat::TPoint p;
    plat::GetCursorPos(p);
    p = FOwner->ScreenToClient(p);
    const bool columnBorder = OnColumnBorder(p);
    const bool heightBorder = OnHeightBorder(p);
    if (!columnBorder && !heightBorder) {
        return false;
    }
    plat::TCursor cursor = FOwner->Cursor();
    if (heightBorder && (FOptions.Contains(hoHeightResize) || Designing())) {
        cursor = plat::crVSplit;
    } else if (columnBorder) {
        cursor = plat::crHSplit;
    }
    if (!Designing() && FOwner->OnGetHeaderCursor) {
        FOwner->OnGetHeaderCursor(this, cursor);
    }
    if (cursor == plat::crDefault) {
        return false;
    }
    FCursorName = cursor == plat::crHSplit ? "col-resize" : cursor == plat::crVSplit ? "row-resize" : "";
    plat::SetCursor(plat::Screen->Cursors(cursor));
    message.Result = 1;
    return true;
}

void TDTHeader::HandleNCMouseMove(const plat::TMessage& message)
{
    TDataTreeColumns& columns = *FColumns;
    const plat::TPoint p = MessagePoint(message, false);
    if (FOwner->OnHeaderMouseMove) {
        FOwner->OnHeaderMouseMove(this, CurrentShift(), p.X, p.Y + FHeight);
    }
    if (InHeader(p)) {
        const bool changed = columns.UpdateHoverIndex(p);
        if (changed || (columns.FDownIndex >= 0 && columns.FDownIndex != columns.FHoverIndex)) {
            plat::SetTimer(FOwner->Handle(), HeaderTimer, 50);
        }
    }
}

bool TDTHeader::HandleLeftButtonDown(plat::TMessage& message)
{
    TDataTreeColumns& columns = *FColumns;
    const bool client = message.Msg == plat::WM_LBUTTONDOWN;
    const plat::TPoint p = MessagePoint(message, client);
    if (client && !InHeader(p) && !InHeaderSplitterArea(p)) {
        return false;
    }
    CancelTreeHint();
    if (!Designing()) {
        FOwner->StopTimer(ScrollTimer);
        FOwner->StopTimer(EditTimer);
        FOwner->DoStateChange({}, {tsScrolling, tsScrollPending, tsEditPending});
    }
    FDragStart = FOwner->ClientToScreen(p);
    const plat::TShiftState shift = CurrentShift();
    const bool heightBorder = OnHeightBorder(p);
    const bool columnBorder = OnColumnBorder(p);
    if (heightBorder || columnBorder) {
        FTrackStart = p;
        columns.FHoverIndex = -1;
        if (heightBorder) {
            if (!Designing() && FOwner->OnBeforeHeaderHeightTracking) {
                FOwner->OnBeforeHeaderHeightTracking(this, shift);
            }
            FStates.Include(hsHeightTrackPending);
        } else {
            if (!Designing() && FOwner->OnBeforeColumnWidthTracking) {
                FOwner->OnBeforeColumnWidthTracking(this, columns.FTrackIndex, shift);
            }
            FStates.Include(hsColumnWidthTrackPending);
        }
        plat::SetCapture(FOwner->Handle());
        message.Result = 0;
        return true;
    }
    if (!InHeader(p)) {
        return false;
    }
    const TColumnIndex column = columns.AdjustDownColumn(p);
    if ((Designing() && column > NoColumn) ||
        (FOptions.Contains(hoDrag) && column >= 0 && columns.Items(column)->Options().Contains(coDraggable))) {
        FStates.Include(hsDragPending);
        plat::SetCapture(FOwner->Handle());
        message.Result = 0;
        return true;
    }
    if (!Designing() && FOwner->OnHeaderMouseDown) {
        FOwner->OnHeaderMouseDown(this, plat::mbLeft, shift, p.X, p.Y + FHeight);
    }
    return false;
}

void TDTHeader::DropDraggedColumn(plat::TPoint drop)
{
    TDataTreeColumns& columns = *FColumns;
    FDragImage->EndDrag();
    plat::TRect window;
    plat::GetWindowRect(FOwner->Handle(), window);
    const int dragIndex = columns.FDragIndex;
    if (columns.FDropTarget >= 0 && columns.FDropTarget != dragIndex && window.Contains(drop.X, drop.Y)) {
        TDataTreeColumn* dragged = columns.Items(dragIndex);
        const TColumnPosition oldPosition = dragged->Position();
        const TColumnPosition target = columns.Items(columns.FDropTarget)->Position();
        if (columns.FDropBefore) {
            dragged->SetPosition(oldPosition < target ? target - 1 : target);
        } else {
            dragged->SetPosition(oldPosition < target ? target : target + 1);
        }
        if (FOwner->OnHeaderDragged) {
            FOwner->OnHeaderDragged(this, dragIndex, static_cast<int>(oldPosition));
        }
    } else if (FOwner->OnHeaderDraggedOut) {
        FOwner->OnHeaderDraggedOut(this, dragIndex, drop);
    }
    columns.FDropTarget = -1;
    Invalidate();
}

bool TDTHeader::HandleLeftButtonUp(plat::TMessage& message)
{
    TDataTreeColumns& columns = *FColumns;
    const bool client = message.Msg == plat::WM_LBUTTONUP;
    const plat::TPoint p = MessagePoint(message, client);
    const bool anyState = Tracking();
    // A press on a draggable column that never moved far enough is a click.
    const bool pressOnly = FStates.Contains(hsDragPending);
    if (client && !anyState && columns.FDownIndex < 0) {
        return false;
    }
    CancelTreeHint();
    bool handled = false;
    if (anyState) {
        plat::ReleaseCapture();
        if (FStates.Contains(hsDragging)) {
            DropDraggedColumn(FOwner->ClientToScreen(p));
        }
        message.Result = 0;
        handled = true;
    }
    if (!client) {
        if (!FWasDoubleClick) {
            columns.HandleClick(p, plat::mbLeft, true, false);
        }
        if (FOwner->OnHeaderMouseUp) {
            FOwner->OnHeaderMouseUp(this, plat::mbLeft, CurrentShift(), p.X, p.Y + FHeight);
        }
        handled = true;
    } else {
        if ((columns.FDownIndex >= 0 || pressOnly) && !FStates.Contains(hsDragging)) {
            columns.HandleClick(p, plat::mbLeft, false, false);
        }
        if (anyState && FOwner->OnHeaderMouseUp) {
            FOwner->OnHeaderMouseUp(this, plat::mbLeft,
                                    plat::KeysToShiftState(static_cast<std::uint32_t>(message.WParam)), p.X,
                                    p.Y + FHeight);
        }
    }
    FWasDoubleClick = false;
    if (columns.FTrackIndex >= 0) {
        if (FStates.Contains(hsColumnWidthTracking) && FOwner->OnAfterColumnWidthTracking) {
            FOwner->OnAfterColumnWidthTracking(this, columns.FTrackIndex);
        }
        Invalidate(columns.FTrackIndex);
        columns.FTrackIndex = -1;
    }
    if (columns.FDownIndex >= 0) {
        Invalidate(columns.FDownIndex);
        columns.FDownIndex = -1;
    }
    if (FStates.Contains(hsHeightTracking) && FOwner->OnAfterHeaderHeightTracking) {
        FOwner->OnAfterHeaderHeightTracking(this);
    }
    FStates.Exclude(hsDragging);
    FStates.Exclude(hsDragPending);
    EndTracking(false);
    return handled;
}

bool TDTHeader::HandleDoubleClick(plat::TMessage& message)
{
    TDataTreeColumns& columns = *FColumns;
    const bool client = message.Msg == plat::WM_LBUTTONDBLCLK;
    const plat::TPoint p = MessagePoint(message, client);
    if (client && !InHeader(p) && !InHeaderSplitterArea(p)) {
        return false;
    }
    FWasDoubleClick = true;
    const plat::TShiftState shift = CurrentShift();
    if (FOptions.Contains(hoHeightDblClickResize) && InHeaderSplitterArea(p) && FDefaultHeight > 0) {
        plat::TPoint q = p;
        bool allowed = true;
        if (FOwner->OnHeaderHeightDblClickResize) {
            FOwner->OnHeaderHeightDblClickResize(this, q, shift, allowed);
        }
        if (allowed) {
            SetHeight(FDefaultHeight);
        }
        return true;
    }
    const bool left = message.Msg == plat::WM_LBUTTONDBLCLK || message.Msg == plat::WM_NCLBUTTONDBLCLK;
    if (left && OnColumnBorder(p) && FOptions.Contains(hoDblClickResize) && columns.FTrackIndex >= 0) {
        bool allowed = true;
        if (FOwner->OnColumnWidthDblClickResize) {
            FOwner->OnColumnWidthDblClickResize(this, columns.FTrackIndex, shift, p, allowed);
        }
        if (allowed) {
            const int position = static_cast<int>(columns.Items(columns.FTrackIndex)->Position());
            AutoFitColumns(true, smaUseColumnOption, position, position);
        }
        message.Result = 0;
        return true;
    }
    if (!client && InHeader(p)) {
        plat::TMouseButton button = plat::mbLeft;
        if (message.Msg == plat::WM_NCRBUTTONDBLCLK) {
            button = plat::mbRight;
        } else if (message.Msg == plat::WM_NCMBUTTONDBLCLK) {
            button = plat::mbMiddle;
        } else {
            columns.AdjustDownColumn(p);
        }
        columns.HandleClick(p, button, true, true);
    }
    return false;
}

void TDTHeader::HandleNCButtonDown(const plat::TMessage& message)
{
    const plat::TPoint p = MessagePoint(message, false);
    if (InHeader(p) && FOwner->OnHeaderMouseDown) {
        FOwner->OnHeaderMouseDown(this, message.Msg == plat::WM_NCRBUTTONDOWN ? plat::mbRight : plat::mbMiddle,
                                  CurrentShift(), p.X, p.Y + FHeight);
    }
}

bool TDTHeader::HandleNCRightButtonUp(const plat::TMessage& message)
{
    if (Designing()) {
        return false;
    }
    CancelTreeHint();
    const plat::TPoint p = MessagePoint(message, false);
    bool handled = false;
    if (InHeader(p)) {
        handled = FColumns->HandleClick(p, plat::mbRight, true, false);
        if (FOwner->OnHeaderMouseUp) {
            FOwner->OnHeaderMouseUp(this, plat::mbRight, CurrentShift(), p.X, p.Y + FHeight);
        }
    }
    FWasDoubleClick = false;
    return handled;
}

void TDTHeader::HandleNCMiddleButtonUp(const plat::TMessage& message)
{
    const plat::TPoint p = MessagePoint(message, false);
    if (InHeader(p)) {
        FColumns->HandleClick(p, plat::mbMiddle, true, false);
        if (FOwner->OnHeaderMouseUp) {
            FOwner->OnHeaderMouseUp(this, plat::mbMiddle, CurrentShift(), p.X, p.Y + FHeight);
        }
        FColumns->FDownIndex = -1;
        FColumns->FCheckBoxHit = false;
    }
    FWasDoubleClick = false;
}

bool TDTHeader::HandleHeaderTimer(plat::TMessage& message)
{
    TDataTreeColumns& columns = *FColumns;
    plat::TPoint p;
    plat::GetCursorPos(p);
    p = FOwner->ScreenToClient(p);
    if (InHeader(p) && (columns.FDownIndex < 0 || columns.FHoverIndex == columns.FDownIndex)) {
        return true;
    }
    FOwner->StopTimer(HeaderTimer);
    columns.FHoverIndex = -1;
    columns.FClickIndex = -1;
    columns.FDownIndex = -1;
    columns.FCheckBoxHit = false;
    Invalidate();
    message.Result = 0;
    return true;
}

bool TDTHeader::HandleHeaderMouseMove(plat::TMessage& message)
{
    TBaseDataTree* tree = FOwner;
    TDataTreeColumns& columns = *FColumns;
    const plat::TPoint p = LParamPoint(message.LParam);
    if (FStates.Contains(hsColumnWidthTrackPending)) {
        tree->StopTimer(HeaderTimer);
        FStates.Exclude(hsColumnWidthTrackPending);
        FStates.Include(hsColumnWidthTracking);
        message.Result = 0;
        return true;
    }
    if (FStates.Contains(hsHeightTrackPending)) {
        tree->StopTimer(HeaderTimer);
        FStates.Exclude(hsHeightTrackPending);
        FStates.Include(hsHeightTracking);
        message.Result = 0;
        return true;
    }
    const plat::TShiftState shift = plat::KeysToShiftState(static_cast<std::uint32_t>(message.WParam));
    if (FStates.Contains(hsColumnWidthTracking)) {
        const TColumnIndex track = columns.FTrackIndex;
        bool allowed = true;
        if (tree->OnColumnWidthTracking) {
            tree->OnColumnWidthTracking(this, track, shift, FTrackPoint, p, allowed);
        }
        if (allowed && columns.IsValidColumn(track)) {
            const bool rtl = tree->UseRightToLeftAlignment();
            const int newWidth = rtl ? FTrackPoint.X - p.X : p.X - FTrackPoint.X;
            const TColumnIndex next = rtl ? columns.GetPreviousVisibleColumn(track) : columns.GetNextVisibleColumn(track);
            const int oldOffset = tree->EffectiveOffsetX();
            TDataTreeColumn* tracked = columns.Items(track);
            if (FOptions.Contains(hoAutoResize) && track == FAutoSizeIndex && next >= 0 &&
                columns.Items(next)->Options().Contains(coResizable) && tracked->MinWidth() < newWidth &&
                newWidth < tracked->MaxWidth()) {
                TDataTreeColumn* neighbour = columns.Items(next);
                neighbour->SetWidth(neighbour->Width() + tracked->Width() - newWidth);
            } else {
                tracked->SetWidth(newWidth);
            }
            if (oldOffset > 0 && tree->EffectiveOffsetX() != oldOffset) {
                FTrackPoint.X += oldOffset - tree->EffectiveOffsetX();
            }
        }
        message.Result = 0;
        return true;
    }
    if (FStates.Contains(hsHeightTracking)) {
        plat::TPoint q = p;
        bool allowed = true;
        if (tree->OnHeaderHeightTracking) {
            tree->OnHeaderHeightTracking(this, q, shift, allowed);
        }
        if (allowed) {
            SetHeight(FHeight + q.Y);
        }
        message.Result = 0;
        return true;
    }
    if (FStates.Contains(hsDragging)) {
        DragTo(tree->ClientToScreen(p));
        message.Result = 0;
        return true;
    }
    if (FStates.Contains(hsDragPending)) {
        const plat::TPoint screen = tree->ClientToScreen(p);
        bool allowed = FOptions.Contains(hoDrag);
        if (allowed && tree->OnHeaderDragging) {
            tree->OnHeaderDragging(this, columns.FDownIndex, allowed);
        }
        if (!allowed || (std::abs(FDragStart.X - screen.X) <= plat::DragThreshold &&
                         std::abs(FDragStart.Y - screen.Y) <= plat::DragThreshold)) {
            return false;
        }
        tree->StopTimer(HeaderTimer);
        const int pressed = columns.FDownIndex;
        columns.FDownIndex = -1;
        columns.FHoverIndex = -1;
        if (pressed >= 0) {
            Invalidate(pressed, false, true);
        }
        PrepareDrag(screen, FDragStart);
        FStates.Exclude(hsDragPending);
        FStates.Include(hsDragging);
        message.Result = 0;
        return true;
    }
    return false;
}

void TDTHeader::PrepareDrag(plat::TPoint p, plat::TPoint start)
{
    TBaseDataTree* tree = FOwner;
    TDataTreeColumns& columns = *FColumns;
    columns.FDropTarget = -1;
    const plat::TPoint startClient = tree->ScreenToClient(start);
    columns.FDragIndex = columns.ColumnFromPosition(plat::Point(startClient.X, startClient.Y + FHeight), true);
    if (!columns.IsValidColumn(columns.FDragIndex)) {
        return;
    }
    const TDataTreeColumn* column = columns.Items(columns.FDragIndex);
    const int rtlOffset = tree->UseRightToLeftAlignment() ? tree->ComputeRTLOffset(false) : 0;
    plat::TBitmap image(column->Width(), FHeight, plat::pf32bit);
    image.Canvas()->Brush()->SetColor(plat::clBtnFace);
    image.Canvas()->FillRect(plat::Rect(0, 0, column->Width(), FHeight));
    const int left = column->AbsoluteLeft();
    columns.PaintHeader(*image.Canvas(), plat::Rect(left, 0, left + column->Width(), FHeight),
                        plat::Point(-rtlOffset, 0), rtlOffset);
    int screenLeft = column->Left();
    if (tree->UseRightToLeftAlignment()) {
        screenLeft += tree->ComputeRTLOffset(true);
    }
    const plat::TPoint position = tree->ClientToScreen(plat::Point(screenLeft, -FHeight));
    FDragImage->SetMoveRestriction(FOptions.Contains(hoRestrictDrag) ? dmrHorizontalOnly : dmrNone);
    FDragImage->PrepareDrag(image, position, p);
    FDragImage->ShowDragImage();
}

bool TDTHeader::DragTo(plat::TPoint p)
{
    TBaseDataTree* tree = FOwner;
    TDataTreeColumns& columns = *FColumns;
    const plat::TPoint client = tree->ScreenToClient(p);
    const plat::TPoint q = plat::Point(client.X, client.Y + FHeight);
    const TColumnIndex column = columns.ColumnFromPosition(q, true);
    bool repaint = column != InvalidColumn && column != columns.FDropTarget;
    if (column >= 0) {
        // The bounds are where the column shows, scrolled already.
        int left = 0;
        int right = 0;
        columns.GetColumnBounds(column, left, right);
        const bool before = q.X < (left + right) / 2;
        if (before != columns.FDropBefore) {
            columns.FDropBefore = before;
            repaint = true;
        }
    }
    if (repaint) {
        if (columns.FDropTarget >= 0) {
            Invalidate(columns.FDropTarget);
            columns.FDropTarget = -1;
        }
        if (column >= 0) {
            Invalidate(column);
            columns.FDropTarget = column;
        }
        // The drop marks moved: a header under the picture is painted into
        // the picture's kept copy, the rest of it on the screen.
        const plat::TPoint last = tree->ScreenToClient(FDragImage->LastPosition());
        if (InHeader(last) || InHeader(client)) {
            tree->UpdateWindowAndDragImage(tree, tree->HeaderRect(), true, true);
            repaint = false;
        } else {
            plat::UpdateWindow(tree->Handle());
        }
    }
    return FDragImage->DragTo(p, repaint);
}

TDTDragImage* TDTHeader::DragImage() const
{
    return FDragImage.get();
}

} // namespace qel
