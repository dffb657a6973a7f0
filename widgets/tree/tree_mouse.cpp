// The data tree's mouse: what lies under a point, the three buttons' press,
// release and double click (selection, focus, expand buttons, check boxes,
// node-height dragging, pending edits and drags), mouse moves with hot
// tracking and the cursor, and the window procedure that lets the header
// see every message first.
#include "widgets/tree/base_data_tree.h"

#include "platform/canvas/image_list.h"
#include "platform/controls/application.h"
#include "widgets/tree/tree_drawing_utils.h"
#include "platform/controls/control_messages.h"
#include "platform/controls/cursors.h"
#include "platform/controls/screen.h"
#include "platform/controls/system_metrics.h"
#include "platform/controls/window.h"
#include "platform/controls/window_input.h"
#include "platform/controls/window_messages.h"
#include "platform/controls/window_paint.h"
#include "widgets/tree/try_finally.h"

#include <algorithm>
#include <cstdlib>

namespace qel {

namespace {

plat::TPoint MessagePoint(const plat::TMessage& message)
{
    return plat::Point(plat::GET_X_LPARAM(message.LParam), plat::GET_Y_LPARAM(message.LParam));
}

// Shift, Ctrl and Alt of a mouse message's key flags.
plat::TShiftState ModifierKeys(std::uint32_t keys)
{
    plat::TShiftState shift = plat::KeysToShiftState(keys) * plat::TShiftState{plat::ssShift, plat::ssCtrl, plat::ssAlt};
    if (plat::GetKeyState(plat::VK_MENU) < 0) {
        shift.Include(plat::ssAlt);
    }
    return shift;
}

} // namespace

// ---- hit test ----

void TBaseDataTree::GetHitTestInfoAt(int x, int y, bool relative, THitInfo& hitInfo, plat::TShiftState shift)
{
    hitInfo = THitInfo{};
    if (shift.Empty()) {
        shift = plat::KeysToShiftState(plat::CurrentKeyFlags()) *
                plat::TShiftState{plat::ssShift, plat::ssCtrl, plat::ssAlt};
    }
    hitInfo.ShiftState = shift;
    if (x < 0) {
        hitInfo.HitPositions.Include(hiToLeft);
    } else if (x > std::max<std::int64_t>(ClientWidth(), FRangeX)) {
        hitInfo.HitPositions.Include(hiToRight);
    }
    if (y < 0) {
        hitInfo.HitPositions.Include(hiAbove);
    } else if (y > std::max<std::int64_t>(ClientHeight(), RangeY())) {
        hitInfo.HitPositions.Include(hiBelow);
    }
    const TDataTreeColumns& columns = FHeader->Columns();
    if (relative) {
        if (x >= (FHeader->UseColumns() ? columns.GetVisibleFixedWidth() : 0)) {
            x += FEffectiveOffsetX;
        }
        y -= FOffsetY;
    }
    hitInfo.HitPoint = plat::Point(x, y);
    if (!hitInfo.HitPositions.Empty()) {
        return;
    }
    int nodeTop = 0;
    PDataNode node = GetNodeAt(x, y, false, nodeTop);
    if (node == nullptr) {
        hitInfo.HitPositions.Include(hiNowhere);
        return;
    }
    if (!node->States.Contains(vsInitialized)) {
        InitNode(node);
    }
    hitInfo.HitNode = node;
    TColumnIndex column = NoColumn;
    int left = 0;
    int right = 0;
    TAlignment alignment = FAlignment;
    TBiDiMode bidi = FBiDiMode;
    if (FHeader->UseColumns()) {
        column = columns.GetColumnAndBounds(plat::Point(x, 0), left, right, false);
        if (FOptions->AutoOptions().Contains(toAutoSpanColumns)) {
            // An empty cell belongs to the text of a column to its left;
            // with none left of it the point is in no column.
            while (column >= 0 && DoGetCellIsEmpty(node, column)) {
                column = columns.GetPreviousVisibleColumn(column);
                if (column >= 0) {
                    left -= columns.Items(column)->Width();
                } else {
                    column = InvalidColumn;
                }
            }
            if (column >= 0) {
                for (TColumnIndex next = columns.GetNextVisibleColumn(column);
                     next >= 0 && DoGetCellIsEmpty(node, next); next = columns.GetNextVisibleColumn(next)) {
                    right += columns.Items(next)->Width();
                }
            }
        }
        if (columns.IsValidColumn(column)) {
            alignment = columns.Items(column)->Alignment();
            bidi = columns.Items(column)->BiDiMode();
        }
    } else {
        right = static_cast<int>(std::max<std::int64_t>(ClientWidth(), FRangeX));
    }
    hitInfo.HitColumn = column;
    if (column == InvalidColumn) {
        hitInfo.HitPositions.Include(hiNowhere);
        return;
    }
    hitInfo.HitPositions.Include(hiOnItem);
    if (FOptions->MiscOptions().Contains(toNodeHeightResize)) {
        const plat::TRect r = GetDisplayRect(node, column, false);
        const int top = static_cast<int>(r.Top) - FOffsetY;
        const int bottom = static_cast<int>(r.Bottom) - FOffsetY;
        if (y <= top + 1) {
            hitInfo.HitPositions.Include(hiUpperSplitter);
        } else if (y >= bottom - 3) {
            hitInfo.HitPositions.Include(hiLowerSplitter);
        }
    }
    const int offset = x - left;
    const int width = right - left;
    if (bidi == bdLeftToRight) {
        DetermineHitPositionLTR(hitInfo, offset, width, alignment);
    } else {
        DetermineHitPositionRTL(hitInfo, offset, width, alignment);
    }
}

THitInfo TBaseDataTree::HitTestMessage(const plat::TMessage& message)
{
    THitInfo hitInfo;
    const plat::TPoint p = MessagePoint(message);
    GetHitTestInfoAt(p.X, p.Y, true, hitInfo, ModifierKeys(static_cast<std::uint32_t>(message.WParam)));
    return hitInfo;
}

bool TBaseDataTree::HasImage(PDataNode node, TDTImageKind kind, TColumnIndex column)
{
    if (!node->States.Contains(vsInitialized)) {
        InitNode(node);
    }
    bool ghosted = false;
    int index = -1;
    DoGetImageIndex(node, kind, column, ghosted, index);
    return index >= 0;
}

bool TBaseDataTree::HasPopupMenu(PDataNode node, TColumnIndex column, plat::TPoint pos)
{
    return PopupMenu() != nullptr || DoGetPopupMenu(node, column, pos) != nullptr;
}

// ---- node-height dragging, drags and edits ----

bool TBaseDataTree::CanSplitterResizeNode(plat::TPoint p, PDataNode node, TColumnIndex column)
{
    const TDataTreeColumns& columns = FHeader->Columns();
    bool allowed = FOptions->MiscOptions().Contains(toNodeHeightResize) && node != nullptr && node != FRoot &&
                   column > NoColumn && columns.IsValidColumn(column) && columns.Items(column)->IsFixed();
    if (OnCanSplitterResizeNode) {
        OnCanSplitterResizeNode(this, p, node, column, allowed);
    }
    return allowed;
}

bool TBaseDataTree::DoNodeHeightTracking(PDataNode node, TColumnIndex column, plat::TShiftState shift,
                                         plat::TPoint& trackPoint, plat::TPoint p)
{
    bool allowed = true;
    if (OnNodeHeightTracking) {
        OnNodeHeightTracking(this, node, column, shift, trackPoint, p, allowed);
    }
    return allowed;
}

bool TBaseDataTree::DoNodeHeightDblClickResize(PDataNode node, TColumnIndex column, plat::TShiftState shift,
                                               plat::TPoint p)
{
    bool allowed = true;
    if (OnNodeHeightDblClickResize) {
        OnNodeHeightDblClickResize(this, node, column, shift, p, allowed);
    }
    return allowed;
}

bool TBaseDataTree::DoDragAllowed(PDataNode node, TColumnIndex column)
{
    bool allowed = false;
    if (OnDragAllowed) {
        OnDragAllowed(this, node, column, allowed);
    }
    return allowed;
}

void TBaseDataTree::BeginNodeDrag()
{
    DoStateChange({tsOLEDragPending});
}

// ---- the window procedure ----

void TBaseDataTree::WndProc(plat::TMessage& message)
{
    if (!Designing() && FHeader->HandleMessage(message)) {
        return;
    }
    const bool ncButtonDown = message.Msg == plat::WM_NCLBUTTONDOWN || message.Msg == plat::WM_NCRBUTTONDOWN ||
                              message.Msg == plat::WM_NCMBUTTONDOWN;
    if (ncButtonDown && HandleAllocated() && !Focused() && Visible() && CanFocus()) {
        SetFocus();
    }
    plat::TCustomControl::WndProc(message);
}

// ---- buttons ----

void TBaseDataTree::WMLButtonDown(plat::TMessage& message)
{
    DoStateChange({tsLeftButtonDown});
    Inherited(message);
    THitInfo hitInfo = HitTestMessage(message);
    HandleMouseDown(message, hitInfo);
}

void TBaseDataTree::WMLButtonUp(plat::TMessage& message)
{
    DoStateChange({}, {tsLeftButtonDown, tsNodeHeightTracking, tsNodeHeightTrackPending});
    const THitInfo hitInfo = HitTestMessage(message);
    HandleMouseUp(static_cast<std::uint32_t>(message.WParam), hitInfo);
    Inherited(message);
}

void TBaseDataTree::WMLButtonDblClk(plat::TMessage& message)
{
    DoStateChange({tsLeftDblClick});
    TryFinally(
        [&] {
            const THitInfo hitInfo = HitTestMessage(message);
            HandleMouseDblClick(message, hitInfo);
            Inherited(message);
            if (ControlStyle().Contains(plat::csCaptureMouse)) {
                SetMouseCapture(false);
            }
        },
        [&] { DoStateChange({}, {tsLeftDblClick}); });
}

void TBaseDataTree::WMMButtonDblClk(plat::TMessage& message)
{
    DoStateChange({tsMiddleDblClick});
    TryFinally(
        [&] {
            Inherited(message);
            if (FOptions->SelectionOptions().Contains(toMiddleClickSelect)) {
                const THitInfo hitInfo = HitTestMessage(message);
                HandleMouseDblClick(message, hitInfo);
            }
        },
        [&] { DoStateChange({}, {tsMiddleDblClick}); });
}

void TBaseDataTree::WMRButtonDown(plat::TMessage& message)
{
    DoStateChange({tsRightButtonDown});
    if (!FHeader->States().Empty()) {
        return;
    }
    Inherited(message);
    if (!FOptions->SelectionOptions().Contains(toRightClickSelect)) {
        return;
    }
    THitInfo hitInfo = HitTestMessage(message);
    const bool wasSynch = FStates.Contains(tsSynchMode);
    if (!wasSynch) {
        DoStateChange({tsSynchMode});
    }
    TryFinally([&] { HandleMouseDown(message, hitInfo); },
               [&] {
                   if (!wasSynch) {
                       DoStateChange({}, {tsSynchMode});
                   }
               });
}

void TBaseDataTree::WMRButtonUp(plat::TMessage& message)
{
    DoStateChange({}, {tsRightButtonDown, tsPopupMenuShown});
    if (!FHeader->States().Empty()) {
        return;
    }
    if (FStates.Contains(tsHint)) {
        plat::Application->CancelHint();
    }
    if (IsMouseSelecting() && PopupMenu() != nullptr) {
        DoStateChange({}, {tsDrawSelPending, tsDrawSelecting});
        Invalidate();
    }
    Inherited(message);
    const THitInfo hitInfo = HitTestMessage(message);
    if (FOptions->SelectionOptions().Contains(toRightClickSelect)) {
        HandleMouseUp(static_cast<std::uint32_t>(message.WParam), hitInfo);
    }
    if (PopupMenu() == nullptr) {
        DoPopupMenu(hitInfo.HitNode, hitInfo.HitColumn, MessagePoint(message));
    }
}

void TBaseDataTree::WMRButtonDblClk(plat::TMessage& message)
{
    DoStateChange({tsRightDblClick});
    TryFinally(
        [&] {
            Inherited(message);
            if (FOptions->SelectionOptions().Contains(toRightClickSelect)) {
                const THitInfo hitInfo = HitTestMessage(message);
                HandleMouseDblClick(message, hitInfo);
            }
        },
        [&] { DoStateChange({}, {tsRightDblClick}); });
}

// ---- press ----

void TBaseDataTree::HandleMouseDown(plat::TMessage& message, THitInfo& hitInfo)
{
    if (FStates.Contains(tsWheelPanning) || FStates.Contains(tsWheelScrolling)) {
        StopWheelPanning();
        return;
    }
    if (FStates.Contains(tsEditPending)) {
        StopTimer(EditTimer);
        DoStateChange({}, {tsEditPending});
    }
    FLastHitInfo = hitInfo;
    const plat::TPoint point = MessagePoint(message);
    const auto hitAgain = [&] {
        GetHitTestInfoAt(point.X, point.Y, true, hitInfo, ModifierKeys(static_cast<std::uint32_t>(message.WParam)));
        FLastHitInfo = hitInfo;
    };
    if (FStates.Contains(tsEditing)) {
        if (!EndEditNode()) {
            return;
        }
        hitAgain();
    }
    if (!Focused() && CanFocus()) {
        SetFocus();
        hitAgain();
    }
    if (FRoot->fChildCount == 0) {
        return;
    }
    TDataTreeColumns& columns = FHeader->Columns();
    columns.SetClickIndex(hitInfo.HitColumn);
    const TDTSelectionOptions selection = FOptions->SelectionOptions();
    const TDTMiscOptions misc = FOptions->MiscOptions();
    const THitPositions hits = hitInfo.HitPositions;
    PDataNode hitNode = hitInfo.HitNode;

    bool newColumn = false;
    TColumnIndex targetColumn = FFocusedColumn;
    if (hits.Contains(hiOnItemLabel) || selection.Contains(toFullRowSelect) || misc.Contains(toGridExtensions)) {
        newColumn = FFocusedColumn != hitInfo.HitColumn;
        targetColumn = selection.Contains(toExtendedFocus) ? hitInfo.HitColumn : HeaderMainColumn();
        if (newColumn && !FHeader->AllowFocus(targetColumn)) {
            newColumn = false;
            targetColumn = FFocusedColumn;
        }
    }
    const bool newNode = FFocusedNode != hitNode;
    plat::TShiftState shift = ModifierKeys(static_cast<std::uint32_t>(message.WParam));
    const bool altPressed = shift.Contains(plat::ssAlt);
    shift.Exclude(plat::ssAlt);

    const bool isLabelHit = !altPressed && !selection.Contains(toSimpleDrawSelection) &&
                            (hits.Contains(hiOnItemLabel) || hits.Contains(hiOnNormalIcon));
    const bool isCellHit = !isLabelHit && hitNode != nullptr && !hits.Contains(hiNowhere) &&
                           !hits.Contains(hiOnItemButton) && !hits.Contains(hiOnItemCheckbox) &&
                           (selection.Contains(toFullRowSelect) || (misc.Contains(toGridExtensions) && hitInfo.HitColumn > NoColumn));
    const bool isAnyHit = isLabelHit || isCellHit;
    const bool multiSelect = selection.Contains(toMultiSelect);
    const bool shiftEmpty = shift.Empty();
    const bool nodeSelected = isAnyHit && hitNode->States.Contains(vsSelected);

    bool fullRowDrag = false;
    if (!multiSelect || selection.Contains(toDisableDrawSelection)) {
        fullRowDrag = misc.Contains(toFullRowDrag);
    } else {
        fullRowDrag = isCellHit && misc.Contains(toFullRowDrag) && !hits.Contains(hiNowhere) &&
                      (nodeSelected || hits.Contains(hiOnItemLabel) || hits.Contains(hiOnNormalIcon));
    }
    // Drags start only where the application allows them (manual drag mode).
    bool autoDrag = FStates.Contains(tsOLEDragging);
    if (hitNode != nullptr && !autoDrag) {
        autoDrag = DoDragAllowed(hitNode, hitInfo.HitColumn) && (fullRowDrag || isLabelHit);
    }

    if (message.Msg == plat::WM_LBUTTONDOWN && hits.Contains(hiOnItem) &&
        (hits.Contains(hiUpperSplitter) || hits.Contains(hiLowerSplitter))) {
        PDataNode tracked = hits.Contains(hiUpperSplitter) ? GetPreviousVisible(hitNode) : hitNode;
        if (CanSplitterResizeNode(point, tracked, hitInfo.HitColumn)) {
            FHeightTrackColumn = hitInfo.HitColumn;
            FHeightTrackNode = tracked;
            const plat::TRect r = GetDisplayRect(tracked, FHeightTrackColumn, false);
            FHeightTrackPoint = plat::Point(static_cast<int>(r.Left), static_cast<int>(r.Top));
            DoStateChange({tsNodeHeightTrackPending});
            return;
        }
    }
    if (hits.Contains(hiOnItemButton) && hitNode != nullptr && hitNode->States.Contains(vsHasChildren)) {
        ToggleNode(hitNode);
        return;
    }
    if (hits.Contains(hiOnItemCheckbox) && hitNode != nullptr) {
        HandleCheckClick(hitNode, static_cast<std::uint32_t>(message.WParam));
        return;
    }
    if (shiftEmpty || FSelectionCount == 0) {
        FLastSelectionLevel = GetNodeLevelForSelectConstraint(hitNode != nullptr ? hitNode : GetLastVisible());
    }
    bool selectNow = true;
    if (autoDrag) {
        selectNow = false;
    } else if (FStates.Contains(tsRightButtonDown)) {
        selectNow = !HasPopupMenu(hitNode, hitInfo.HitColumn, point);
    }
    if (multiSelect && shiftEmpty && !hits.Contains(hiOnItemCheckbox) && isAnyHit && autoDrag && nodeSelected &&
        !FSelectionLocked) {
        DoStateChange({tsClearPending});
    }
    if (!selection.Contains(toDisableDrawSelection) && !fullRowDrag && !isLabelHit && multiSelect) {
        SetMouseCapture(true);
        DoStateChange({tsDrawSelPending});
        FDrawSelShiftState = shift;
        FNewSelRect = plat::Rect(point.X + FEffectiveOffsetX, point.Y - FOffsetY, point.X + FEffectiveOffsetX,
                                 point.Y - FOffsetY);
        FLastSelRect = plat::TRect{};
    }
    const bool wasSelected = FSelectionCount > 0;
    if (!FSelectionLocked) {
        const bool clearNow = (!isAnyHit && !fullRowDrag && multiSelect && shiftEmpty) ||
                              (isAnyHit && (!nodeSelected || selectNow) &&
                               (shiftEmpty || !multiSelect || FStates.Contains(tsRightButtonDown)));
        if (clearNow) {
            TreeAssert(!FStates.Contains(tsClearPending), "Pending and direct clearance are mutual exclusive!");
            if (nodeSelected || (altPressed && hitNode != nullptr && hitInfo.HitColumn == HeaderMainColumn() &&
                                 !hits.Contains(hiNowhere))) {
                InternalClearSelection();
                InternalAddToSelection(hitNode, true);
                if (wasSelected) {
                    Invalidate();
                    Change(nullptr);
                }
            } else if (selection.Contains(toAlwaysSelectNode) && hits.Contains(hiNowhere)) {
                if (!shift.Contains(plat::ssCtrl)) {
                    DoStateChange({tsClearOnNewSelection});
                }
            } else {
                ClearSelection(false);
            }
        }
    }
    if (Focused() && (hits.Contains(hiOnItemLabel) || (misc.Contains(toGridExtensions) && hits.Contains(hiOnItem))) &&
        nodeSelected && !newColumn && shiftEmpty && FSelectionCount == 1) {
        DoStateChange({tsEditPending});
    }
    if (selection.Contains(toDisableDrawSelection) || isLabelHit || fullRowDrag || isCellHit ||
        (!multiSelect && !hits.Contains(hiNowhere))) {
        FLastClickPos = point;
        if ((isLabelHit || isCellHit) && DoFocusChanging(FFocusedNode, hitNode, FFocusedColumn, targetColumn)) {
            if (newColumn) {
                InvalidateColumn(FFocusedColumn);
                InvalidateColumn(targetColumn);
                FFocusedColumn = targetColumn;
            }
            const PDataNode lastFocused = FFocusedNode;
            if (newNode) {
                DoFocusNode(hitNode, false);
            }
            if (multiSelect && !shiftEmpty && !FStates.Contains(tsRightButtonDown)) {
                HandleClickSelection(lastFocused, hitNode, shift, autoDrag);
            } else {
                if (shiftEmpty) {
                    FRangeAnchor = hitNode;
                }
                if (!nodeSelected) {
                    AddToSelection(hitNode, true);
                }
            }
            if (newNode || newColumn) {
                ScrollIntoView(FFocusedNode, false,
                               !FOptions->AutoOptions().Contains(toDisableAutoscrollOnFocus) &&
                                   !selection.Contains(toFullRowSelect));
                DoFocusChange(FFocusedNode, FFocusedColumn);
            }
        }
        if (wasSelected && FSelectionCount == 0) {
            Change(nullptr);
        }
        if (autoDrag && isAnyHit &&
            (FStates.Contains(tsLeftButtonDown) || FStates.Contains(tsMiddleButtonDown) ||
             FStates.Contains(tsRightButtonDown))) {
            BeginNodeDrag();
        }
    } else if (wasSelected) {
        Change(nullptr);
    }
}

// ---- release ----

void TBaseDataTree::HandleMouseUp(std::uint32_t keys, const THitInfo& hitInfo)
{
    SetMouseCapture(false);
    if (FStates.Contains(tsVCLDragPending)) {
        return;
    }
    if (IsMouseSelecting()) {
        DoStateChange({}, {tsToggleFocusedSelection, tsClearOnNewSelection, tsDrawSelPending, tsDrawSelecting});
        Invalidate();
    }
    if (FStates.Contains(tsClearPending)) {
        const bool focusedSelected = FFocusedNode != nullptr && FFocusedNode->States.Contains(vsSelected);
        ClearSelection();
        if (focusedSelected) {
            AddToSelection(FFocusedNode, false);
        }
    }
    if (FStates.Contains(tsToggleFocusedSelection) && hitInfo.HitNode != nullptr && hitInfo.HitNode == FFocusedNode) {
        if (!FFocusedNode->States.Contains(vsSelected)) {
            AddToSelection(FFocusedNode, false);
        } else if (!(FOptions->SelectionOptions().Contains(toAlwaysSelectNode) && FSelectionCount == 1)) {
            RemoveFromSelection(FFocusedNode);
        }
    }
    DoStateChange({}, {tsToggleFocusedSelection, tsClearPending, tsDrawSelPending, tsOLEDragging, tsOLEDragPending,
                       tsScrolling, tsScrollPending});
    StopTimer(ScrollTimer);
    TDataTreeColumns& columns = FHeader->Columns();
    if (columns.ClickIndex() >= 0 && columns.ClickIndex() == hitInfo.HitColumn && OnColumnClick) {
        OnColumnClick(this, hitInfo.HitColumn, plat::KeysToShiftState(keys));
    }
    if (FLastHitInfo.HitNode != nullptr) {
        DoNodeClick(FLastHitInfo);
        if (FLastHitInfo.HitNode != nullptr) {
            InvalidateNode(FLastHitInfo.HitNode);
        }
        FLastHitInfo.HitNode = nullptr;
    }
    if (FStates.Contains(tsEditPending)) {
        if (FFocusedNode == hitInfo.HitNode && hitInfo.HitPositions.Contains(hiOnItem) &&
            FOptions->MiscOptions().Contains(toEditOnClick) && FFocusedColumn == hitInfo.HitColumn &&
            CanEdit(FFocusedNode, FFocusedColumn)) {
            FEditColumn = FFocusedColumn;
            plat::SetTimer(Handle(), EditTimer, FEditDelay);
        } else {
            DoStateChange({}, {tsEditPending});
        }
    }
}

// ---- double click ----

void TBaseDataTree::HandleMouseDblClick(plat::TMessage& message, const THitInfo& hitInfo)
{
    bool doEdit = !FStates.Contains(tsEditing) && FOptions->MiscOptions().Contains(toEditOnDblClick);
    if (FStates.Contains(tsEditPending)) {
        StopTimer(EditTimer);
        DoStateChange({}, {tsEditPending});
    }
    if (FStates.Contains(tsEditing) && !EndEditNode()) {
        return;
    }
    const THitPositions hits = hitInfo.HitPositions;
    PDataNode hitNode = hitInfo.HitNode;
    const TDataTreeColumns& columns = FHeader->Columns();
    if (hitInfo.HitColumn == columns.ClickIndex() && OnColumnDblClick) {
        OnColumnDblClick(this, hitInfo.HitColumn, hitInfo.ShiftState);
    }
    if (hitNode != nullptr) {
        DoNodeDblClick(hitInfo);
    }
    const bool fixedColumn = hitInfo.HitColumn > NoColumn && columns.IsValidColumn(hitInfo.HitColumn) &&
                             columns.Items(hitInfo.HitColumn)->IsFixed();
    PDataNode splitterNode = nullptr;
    if (hits.Contains(hiOnItem) && fixedColumn) {
        if (hits.Contains(hiUpperSplitter)) {
            splitterNode = GetPreviousVisible(hitNode);
        } else if (hits.Contains(hiLowerSplitter)) {
            splitterNode = hitNode;
        }
    }
    const TDTMiscOptions misc = FOptions->MiscOptions();
    if (splitterNode != nullptr && splitterNode != FRoot && misc.Contains(toNodeHeightDblClickResize)) {
        if (DoNodeHeightDblClickResize(splitterNode, hitInfo.HitColumn, hitInfo.ShiftState, MessagePoint(message))) {
            SetNodeHeight(splitterNode, FDefaultNodeHeight);
            plat::UpdateWindow(Handle());
            doEdit = false;
        }
    } else if (hits.Contains(hiOnItemCheckbox) && hitNode != nullptr) {
        HandleCheckClick(hitNode, static_cast<std::uint32_t>(message.WParam));
        doEdit = false;
    } else if (hitNode != nullptr &&
               (hits.Contains(hiOnItemButton) ||
                (misc.Contains(toToggleOnDblClick) &&
                 (hits.Contains(hiOnItemLabel) || hits.Contains(hiOnNormalIcon) || hits.Contains(hiOnStateIcon))) ||
                (misc.Contains(toToggleOnDblClick) && FOptions->SelectionOptions().Contains(toFullRowSelect)))) {
        ToggleNode(hitNode);
        doEdit = false;
    }
    if (doEdit && hitNode != nullptr && FFocusedNode == hitNode && FFocusedColumn == hitInfo.HitColumn &&
        CanEdit(FFocusedNode, FFocusedColumn)) {
        DoStateChange({tsEditPending});
        FEditColumn = FFocusedColumn;
        plat::SetTimer(Handle(), EditTimer, 0);
    }
}

// ---- moving ----

void TBaseDataTree::WMMouseMove(plat::TMessage& message)
{
    const int x = plat::GET_X_LPARAM(message.LParam);
    const int y = plat::GET_Y_LPARAM(message.LParam);
    const plat::TShiftState shift = plat::KeysToShiftState(static_cast<std::uint32_t>(message.WParam));
    if (FStates.Contains(tsNodeHeightTrackPending)) {
        if (FStates.Contains(tsHint)) {
            plat::Application->CancelHint();
        }
        StopWheelPanning();
        for (plat::UINT_PTR id : {ExpandTimer, EditTimer, HeaderTimer, ScrollTimer, SearchTimer}) {
            StopTimer(id);
        }
        FSearchBuffer.clear();
        FLastSearchNode = nullptr;
        DoStateChange({tsNodeHeightTracking}, {tsNodeHeightTrackPending, tsEditPending, tsIncrementalSearching,
                                               tsOLEDragPending, tsVCLDragPending, tsScrolling, tsScrollPending});
    }
    if (FStates.Contains(tsDrawSelPending)) {
        if (UpdateDrawSelectionRect(x, y)) {
            Invalidate();
            plat::UpdateWindow(Handle());
            const plat::TRect r = OrderRect(FNewSelRect);
            if (r.Width() > plat::DragThreshold || r.Height() > plat::DragThreshold) {
                if (FStates.Contains(tsClearPending)) {
                    DoStateChange({}, {tsClearPending});
                    ClearSelection();
                }
                DoStateChange({tsDrawSelecting}, {tsDrawSelPending});
                FFocusedColumn = HeaderMainColumn();
                if (HandleDrawSelection()) {
                    Invalidate();
                }
            }
        }
        return;
    }
    if (FStates.Contains(tsNodeHeightTracking)) {
        plat::TPoint p = plat::Point(x, y);
        if (FHeightTrackNode != nullptr &&
            DoNodeHeightTracking(FHeightTrackNode, FHeightTrackColumn, shift, FHeightTrackPoint, p)) {
            const int height = std::max((y > FHeightTrackPoint.Y ? y : FHeightTrackPoint.Y + 1) - FHeightTrackPoint.Y, 1);
            SetNodeHeight(FHeightTrackNode, height);
            plat::UpdateWindow(Handle());
        }
        return;
    }
    const bool panning = FStates.Contains(tsWheelPanning) || FStates.Contains(tsWheelScrolling);
    if (FStates.Contains(tsWheelPanning) && FStates.Contains(tsWheelScrolling) &&
        (std::abs(x - FLastClickPos.X) >= plat::DragThreshold || std::abs(y - FLastClickPos.Y) >= plat::DragThreshold)) {
        // Held and moved: the middle button now scrolls only while held.
        DoStateChange({}, {tsWheelScrolling});
    }
    if (FStates.Contains(tsOLEDragPending)) {
        if ((std::abs(FLastClickPos.X - x) >= FDragThreshold && x > 0) ||
            (std::abs(FLastClickPos.Y - y) >= FDragThreshold && y > 0)) {
            DoDragging(FLastClickPos);
        }
        return;
    }
    if (panning || FStates.Contains(tsDrawSelecting) ||
        (FOptions->AutoOptions().Contains(toAutoScroll) && FStates.Contains(tsOLEDragging))) {
        DoAutoScroll(x, y);
    }
    if (panning) {
        AdjustPanningCursor(x, y);
    }
    if (FStates.Contains(tsDrawSelecting)) {
        if (!FStates.Contains(tsScrolling) && UpdateDrawSelectionRect(x, y)) {
            HandleDrawSelection();
            Invalidate();
            plat::UpdateWindow(Handle());
        }
        return;
    }
    HandleHotTrack(x, y);
    Inherited(message);
}

void TBaseDataTree::HandleHotTrack(int x, int y)
{
    // The platform's pointer is always shown, so there is no hidden-cursor case.
    THitInfo hitInfo;
    GetHitTestInfoAt(x, y, true, hitInfo);
    const THitPositions hits = hitInfo.HitPositions;
    PDataNode newHot = nullptr;
    if (hits.Contains(hiOnItemCheckbox) || hits.Contains(hiOnItemLabel) ||
        (FOptions->SelectionOptions().Contains(toFullRowSelect) && !hits.Contains(hiNowhere))) {
        newHot = hitInfo.HitNode;
    }
    bool invalidated = false;
    if (newHot != FHotNode || hitInfo.HitColumn != FCurrentHotColumn) {
        const PDataNode oldHot = FHotNode;
        DoHotChange(oldHot, hitInfo.HitNode);
        const TDTPaintOptions paint = FOptions->PaintOptions();
        if (oldHot != nullptr &&
            (paint.Contains(toHotTrack) || FOptions->MiscOptions().Contains(toCheckSupport) || newHot != oldHot)) {
            InvalidateNode(oldHot);
            invalidated = true;
        }
        FHotNode = newHot;
        FCurrentHotColumn = hitInfo.HitColumn;
    }
    const bool buttonHit = hits.Contains(hiOnItemButtonExact);
    if (hitInfo.HitNode != nullptr) {
        if (buttonHit != FHotNodeButtonHit || newHot != hitInfo.HitNode || invalidated) {
            FHotNodeButtonHit = buttonHit;
            InvalidateNode(hitInfo.HitNode);
        }
    } else {
        FHotNodeButtonHit = false;
    }
}

// ---- cursor, enter, leave ----

void TBaseDataTree::WMSetCursor(plat::TMessage& message)
{
    const bool panning = FStates.Contains(tsWheelPanning) || FStates.Contains(tsWheelScrolling);
    if (static_cast<plat::HWND>(message.WParam) != Handle() || panning) {
        Inherited(message);
        return;
    }
    if (plat::Screen->Cursor() != plat::crDefault) {
        Inherited(message);
        return;
    }
    plat::TCursor cursor = plat::crDefault;
    if (Designing()) {
        cursor = Cursor();
    } else {
        if (FOptions->MiscOptions().Contains(toNodeHeightResize)) {
            plat::TPoint p;
            plat::GetCursorPos(p);
            p = ScreenToClient(p);
            THitInfo hitInfo;
            GetHitTestInfoAt(p.X, p.Y, true, hitInfo);
            if (hitInfo.HitPositions.Contains(hiUpperSplitter) || hitInfo.HitPositions.Contains(hiLowerSplitter)) {
                PDataNode node = hitInfo.HitPositions.Contains(hiUpperSplitter) ? GetPreviousVisible(hitInfo.HitNode)
                                                                                : hitInfo.HitNode;
                if (CanSplitterResizeNode(p, node, hitInfo.HitColumn)) {
                    cursor = plat::crVSplit;
                }
            }
        }
        if (cursor == plat::crDefault) {
            if (FOptions->PaintOptions().Contains(toHotTrack) && FHotNode != nullptr && FHotCursor != plat::crDefault) {
                cursor = FHotCursor;
            } else {
                cursor = Cursor();
            }
        }
        DoGetCursor(cursor);
    }
    plat::SetCursor(plat::Screen->Cursors(cursor));
    message.Result = 1;
}

void TBaseDataTree::DoGetCursor(plat::TCursor& cursor)
{
    if (OnGetCursor) {
        OnGetCursor(this, cursor);
    }
}

void TBaseDataTree::CMMouseLeave(plat::TMessage& message)
{
    FLastHintRect = plat::TRect{};
    if (FStates.Contains(tsWheelPanning) || FStates.Contains(tsWheelScrolling)) {
        DoStateChange({}, {tsHint});
    } else {
        StopTimer(ScrollTimer);
        DoStateChange({}, {tsHint, tsScrolling, tsScrollPending});
    }
    if (FHotNode != nullptr) {
        DoHotChange(FHotNode, nullptr);
        const PDataNode old = FHotNode;
        FHotNode = nullptr;
        if (FOptions->PaintOptions().Contains(toHotTrack) || FOptions->MiscOptions().Contains(toCheckSupport)) {
            InvalidateNode(old);
        }
    }
    TDataTreeColumns& columns = FHeader->Columns();
    columns.SetDownIndex(-1);
    columns.SetHoverIndex(-1);
    columns.SetCheckBoxHit(false);
    Inherited(message);   // OnMouseLeave
}

void TBaseDataTree::DoHotChange(PDataNode oldNode, PDataNode newNode)
{
    if (OnHotChange) {
        OnHotChange(this, oldNode, newNode);
    }
}

void TBaseDataTree::DoNodeClick(const THitInfo& hitInfo)
{
    if (OnNodeClick) {
        OnNodeClick(this, hitInfo);
    }
}

void TBaseDataTree::DoNodeDblClick(const THitInfo& hitInfo)
{
    if (OnNodeDblClick) {
        OnNodeDblClick(this, hitInfo);
    }
}

} // namespace qel
