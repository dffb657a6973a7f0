// The data tree's side of its header: the header band above the client
// area (non-client size and hit test), the header's view of the columns for
// the selection rules, the column events and what a width change repaints.
#include "widgets/tree/base_data_tree.h"

#include "platform/canvas/canvas.h"
#include "platform/canvas/gdi_constants.h"
#include "platform/canvas/graphics_objects.h"
#include "platform/controls/control_messages.h"
#include "platform/controls/window.h"
#include "platform/controls/window_messages.h"
#include "platform/controls/window_paint.h"
#include "platform/controls/window_styles.h"
#include "widgets/tree/try_finally.h"

#include <algorithm>

namespace qel {

void TBaseDataTree::UpdateHeaderRect()
{
    const plat::TSize border = GetBorderDimensions();
    plat::TRect r = plat::Rect(0, 0, Width(), Height());
    r = plat::InflateRect(r, border.cx, border.cy);
    // The border width, and the bevels where the left (top) edge has them.
    const int sides = FBorderWidth + BevelSize(beLeft);
    const int ends = FBorderWidth + BevelSize(beTop);
    r = plat::InflateRect(r, -sides, -ends);
    if (!FHeader->Options().Contains(hoVisible)) {
        r.Bottom = r.Top;
    } else if (r.Right < r.Left) {
        r = plat::TRect{};
    } else {
        r.Bottom = r.Top + FHeader->Height();
    }
    FHeaderRect = r;
}

void TBaseDataTree::SetBiDiMode(TBiDiMode value)
{
    if (value == FBiDiMode) {
        return;
    }
    FBiDiMode = value;
    // The same scroll position, measured from the other edge.
    FEffectiveOffsetX = std::max(ComputeEffectiveOffsetX(), 0);
    TDataTreeColumns& columns = FHeader->Columns();
    for (int i = 0; i < columns.Count(); ++i) {
        columns.Items(i)->ParentBiDiModeChanged();
    }
    if (FOptions->AutoOptions().Contains(toAutoBidiColumnOrdering)) {
        columns.ReorderColumns(UseRightToLeftAlignment());
    }
    FHeader->Invalidate();
    Invalidate();
}

TColumnIndex TBaseDataTree::HeaderSortColumn() const
{
    return FHeader->SortColumn();
}

TSortDirection TBaseDataTree::HeaderSortDirection() const
{
    return FHeader->SortDirection();
}

TColumnIndex TBaseDataTree::HeaderMainColumn() const
{
    return FHeader->MainColumn();
}

bool TBaseDataTree::HeaderUsesColumns() const
{
    return FHeader->UseColumns();
}

bool TBaseDataTree::HeaderAllowsFocus(TColumnIndex column) const
{
    return FHeader->AllowFocus(column);
}

bool TBaseDataTree::ColumnIsVisible(TColumnIndex column) const
{
    const TDataTreeColumns& columns = FHeader->Columns();
    return columns.IsValidColumn(column) && columns.Items(column)->IsVisible();
}

TColumnIndex TBaseDataTree::FirstFocusableColumn() const
{
    return FHeader->Columns().GetFirstVisibleColumn(true);
}

void TBaseDataTree::DoColumnResize(TColumnIndex column)
{
    if (Loading() || !HandleAllocated()) {
        return;
    }
    // Only multi-line rows depend on the width; without any there is
    // nothing to walk.
    for (PDataNode node = FMultilineSeen ? GetFirstInitialized() : nullptr; node != nullptr;
         node = GetNextInitialized(node)) {
        if (node->States.Contains(vsMultiline)) {
            node->States.Exclude(vsHeightMeasured);
        }
    }
    TDataTreeColumns& columns = FHeader->Columns();
    if (columns.UpdateCount() == 0) {
        UpdateHorizontalScrollBar(true);
    }
    if (columns.IsValidColumn(column)) {
        plat::TRect r = ClientRect();
        if (!FOptions->AutoOptions().Contains(toAutoSpanColumns)) {
            int left = 0;
            int right = 0;
            columns.GetColumnBounds(column, left, right);
            if (UseRightToLeftAlignment()) {
                r.Right = std::min(r.Right, right + ComputeRTLOffset(false));
            } else {
                r.Left = std::max(r.Left, left);
            }
        }
        plat::InvalidateRect(Handle(), &r, false);
        FHeader->Invalidate(column, true);
    }
    const THeaderStates states = FHeader->States();
    if (states.Contains(hsColumnWidthTracking) && !states.Contains(hsResizing)) {
        plat::UpdateWindow(Handle());
    }
    if (!states.Contains(hsResizing) && OnColumnResize) {
        OnColumnResize(FHeader.get(), column);
    }
    if (FStates.Contains(tsEditing)) {
        UpdateEditBounds();
    }
}

void TBaseDataTree::DoColumnVisibilityChanged(TColumnIndex column, bool visible)
{
    if (OnColumnVisibilityChanged) {
        OnColumnVisibilityChanged(this, column, visible);
    }
}

bool TBaseDataTree::DoColumnChecking(TColumnIndex column, TCheckState& newState)
{
    bool allowed = true;
    if (OnColumnChecking) {
        OnColumnChecking(FHeader.get(), column, newState, allowed);
    }
    return allowed;
}

void TBaseDataTree::DoColumnChecked(TColumnIndex column)
{
    if (OnColumnChecked) {
        OnColumnChecked(FHeader.get(), column);
    }
}

void TBaseDataTree::UpdateColumnCheckState(TColumnIndex column)
{
    TDataTreeColumn* item = FHeader->Columns().Items(column);
    TCheckState newState = DetermineNextCheckState(item->CheckType(), item->CheckState());
    if (newState == item->CheckState()) {
        return;
    }
    if (DoColumnChecking(column, newState)) {
        item->SetCheckState(newState);
        DoColumnChecked(column);
    }
}

void TBaseDataTree::MainColumnChanged()
{
    CancelEditNode();
    NotifyAccessibleEvent(EVENT_OBJECT_STATECHANGE);
}

void TBaseDataTree::WMNCCalcSize(plat::TMessage& message)
{
    Inherited(message);
    if (message.LParam == 0) {
        return;
    }
    auto* proposed = reinterpret_cast<plat::TRect*>(message.LParam);
    // Border width and bevels lie inside the frame, around header and client.
    proposed->Left += FBorderWidth + BevelSize(beLeft);
    proposed->Top += FBorderWidth + BevelSize(beTop);
    proposed->Right = std::max(proposed->Right - FBorderWidth - BevelSize(beRight), proposed->Left);
    proposed->Bottom = std::max(proposed->Bottom - FBorderWidth - BevelSize(beBottom), proposed->Top);
    if (FHeader->Options().Contains(hoVisible)) {
        proposed->Top = std::min(proposed->Top + FHeader->Height(), proposed->Bottom);
    }
}

void TBaseDataTree::WMNCHitTest(plat::TMessage& message)
{
    Inherited(message);
    if (!FHeader->Options().Contains(hoVisible) || !HandleAllocated()) {
        return;
    }
    plat::TPoint point = plat::Point(plat::GET_X_LPARAM(message.LParam), plat::GET_Y_LPARAM(message.LParam));
    plat::ScreenToClient(Handle(), point);
    if (FHeader->InHeader(point)) {
        message.Result = plat::HTBORDER;
    }
}

void TBaseDataTree::WMNCPaint(plat::TMessage& message)
{
    Inherited(message);
    if (!HandleAllocated()) {
        return;
    }
    plat::HDC dc = plat::GetWindowDC(Handle());
    if (dc == nullptr) {
        return;
    }
    PaintBorder(dc);
    // The header band belongs to the non-client area: it is painted
    // whenever the frame is, which every header invalidation asks for.
    if (FHeader->Options().Contains(hoVisible) && !FHeaderRect.IsEmpty()) {
        FHeader->Columns().PaintHeader(dc, FHeaderRect, -FEffectiveOffsetX);
    }
    plat::ReleaseDC(Handle(), dc);
}

void TBaseDataTree::WMSize(plat::TMessage& message)
{
    Inherited(message);
    if (!HandleAllocated() || FStates.Contains(tsSizing) || FStates.Contains(tsWindowCreating)) {
        return;
    }
    // A scroll bar shown or hidden meanwhile changes the client size again;
    // that size is worked on once the running pass is done.
    for (int pass = 0; pass < 3 && ClientHeight() >= 1; ++pass) {
        const plat::TRect client = ClientRect();
        DoStateChange({tsSizing});
        TryFinally(
            [&] {
                HeaderSizeChanged();
                UpdateScrollBars(true);
                // Without columns the text, and so the editor, may move with the width.
                if (FStates.Contains(tsEditing) && !FHeader->UseColumns()) {
                    UpdateEditBounds();
                }
            },
            [&] { DoStateChange({}, {tsSizing}); });
        if (ClientRect() == client) {
            break;
        }
    }
}

void TBaseDataTree::HeaderSizeChanged()
{
    UpdateHeaderRect();
    if (FHeader->Options().Contains(hoAutoResize)) {
        FHeader->Columns().AdjustAutoSize(InvalidColumn, false);
        FHeader->Invalidate();
    } else if (!FHeader->States().Contains(hsScaling)) {
        FHeader->RecalculateHeader();
        FHeader->Invalidate();
    }
    FHeader->UpdateSpringColumns();
}

void TBaseDataTree::CMFontChanged(plat::TMessage& message)
{
    Inherited(message);
    if (FHeader->ParentFont()) {
        FHeader->Font()->Assign(Font());
    }
    AutoScale();
    FontSet();
}

} // namespace qel
