// Drag and drop of the data tree: the drag manager that stands for the
// tree as drop target and drop source, the node drag through the
// platform's drag loop with its picture, and the tree as drop target:
// drop modes, suggested effects, expanding the node under the mouse on
// timer 1, scrolling at the edges after AutoScrollDelay, drops and moving
// or copying the dropped nodes.
#include "widgets/tree/base_data_tree.h"

#include "platform/canvas/bitmap.h"
#include "platform/canvas/canvas.h"
#include "platform/canvas/region.h"
#include "platform/clock.h"
#include "platform/controls/application.h"
#include "platform/controls/window.h"
#include "platform/controls/window_input.h"
#include "platform/controls/window_messages.h"
#include "platform/controls/window_paint.h"
#include "widgets/tree/dt_data_object.h"
#include "widgets/tree/dt_drag_image.h"
#include "widgets/tree/try_finally.h"

#include <algorithm>

namespace qel {

namespace {

// The shift state of a drag's key state (Alt comes as MK_ALT).
plat::TShiftState DragShiftState(plat::DWORD keyState)
{
    plat::TShiftState shift = plat::KeysToShiftState(keyState);
    if (keyState & plat::MK_ALT) {
        shift.Include(plat::ssAlt);
    }
    return shift;
}

// 0 stands for "not yet" in FDragScrollStart.
std::int64_t DragClockNow()
{
    return std::max<std::int64_t>(plat::Clock().NowMs(), 1);
}

} // namespace

plat::DWORD AllowedDropEffects(TDragOperations operations)
{
    if (operations.Empty()) {
        return plat::DROPEFFECT_COPY | plat::DROPEFFECT_MOVE | plat::DROPEFFECT_LINK;
    }
    plat::DWORD effects = 0;
    if (operations.Contains(doCopy)) {
        effects |= plat::DROPEFFECT_COPY;
    }
    if (operations.Contains(doMove)) {
        effects |= plat::DROPEFFECT_MOVE;
    }
    if (operations.Contains(doLink)) {
        effects |= plat::DROPEFFECT_LINK;
    }
    return effects;
}

// ---- the drag manager ----

TDTDragManager::TDTDragManager(TBaseDataTree* owner) : FOwner(owner)
{
}

TDTDragManager::~TDTDragManager() = default;

void TDTDragManager::ForceDragLeave()
{
    // The platform's drag picture needs no telling: it ends with the loop.
}

std::shared_ptr<plat::IDataObject> TDTDragManager::GetDataObject()
{
    if (FIsDropTarget) {
        return FDataObject;
    }
    if (FOwner == nullptr) {
        return nullptr;
    }
    std::shared_ptr<plat::IDataObject> data = FOwner->DoCreateDataObject();
    if (!data && !FOwner->OnCreateDataObject) {
        data = FOwner->MakeDataObject(false);
    }
    return data;
}

plat::HRESULT TDTDragManager::DragEnter(const std::shared_ptr<plat::IDataObject>& data, plat::DWORD keyState,
                                        plat::TPoint screenPoint, plat::DWORD& effect)
{
    if (FOwner == nullptr) {
        effect = plat::DROPEFFECT_NONE;
        return plat::E_UNEXPECTED;
    }
    FDataObject = data;
    FIsDropTarget = true;
    FDragSource = TBaseDataTree::GetTreeFromDataObject(data);
    return FOwner->DragEnter(keyState, screenPoint, effect);
}

plat::HRESULT TDTDragManager::DragOver(plat::DWORD keyState, plat::TPoint screenPoint, plat::DWORD& effect)
{
    if (FOwner == nullptr) {
        effect = plat::DROPEFFECT_NONE;
        return plat::E_UNEXPECTED;
    }
    return FOwner->DragOver(FDragSource, keyState, dsDragMove, screenPoint, effect);
}

plat::HRESULT TDTDragManager::DragLeave()
{
    if (FOwner != nullptr) {
        FOwner->DragLeave();
    }
    FIsDropTarget = false;
    FDragSource = nullptr;
    FDataObject.reset();
    return plat::S_OK;
}

plat::HRESULT TDTDragManager::Drop(const std::shared_ptr<plat::IDataObject>& data, plat::DWORD keyState,
                                   plat::TPoint screenPoint, plat::DWORD& effect)
{
    plat::HRESULT result = plat::E_UNEXPECTED;
    if (FOwner != nullptr) {
        result = FOwner->DragDrop(data, keyState, screenPoint, effect);
    }
    FIsDropTarget = false;
    FDataObject.reset();
    return result;
}

plat::HRESULT TDTDragManager::QueryContinueDrag(bool escapePressed, plat::DWORD keyState)
{
    const bool left = (keyState & plat::MK_LBUTTON) != 0;
    const bool right = (keyState & plat::MK_RBUTTON) != 0;
    if (escapePressed || (left && right)) {
        return plat::DRAGDROP_S_CANCEL;
    }
    return left || right ? plat::S_OK : plat::DRAGDROP_S_DROP;
}

plat::HRESULT TDTDragManager::GiveFeedback(plat::DWORD)
{
    return plat::DRAGDROP_S_USEDEFAULTCURSORS;
}

// ---- the tree as drag source ----

std::shared_ptr<IDTDragManager> TBaseDataTree::DragManager()
{
    if (!FDragManager) {
        FDragManager = DoCreateDragManager();
        if (!FDragManager) {
            FDragManager = std::make_shared<TDTDragManager>(this);
        }
    }
    return FDragManager;
}

std::shared_ptr<IDTDragManager> TBaseDataTree::DoCreateDragManager()
{
    std::shared_ptr<IDTDragManager> manager;
    if (OnCreateDragManager) {
        OnCreateDragManager(this, manager);
    }
    return manager;
}

std::shared_ptr<plat::IDataObject> TBaseDataTree::DoCreateDataObject()
{
    std::shared_ptr<plat::IDataObject> data;
    if (OnCreateDataObject) {
        OnCreateDataObject(this, data);
    }
    return data;
}

void TBaseDataTree::UpdateDropTarget()
{
    const bool wanted = HandleAllocated() && !Designing() && !Loading() &&
                        FOptions->MiscOptions().Contains(toAcceptOLEDrop) && !IsDestroying();
    if (wanted == FDropTargetRegistered) {
        return;
    }
    if (wanted) {
        FDropTargetRegistered = plat::RegisterDragDrop(Handle(), DragManager()) == plat::S_OK;
    } else {
        if (HandleAllocated()) {
            plat::RevokeDragDrop(Handle());
        }
        FDropTargetRegistered = false;
    }
}

void TBaseDataTree::BeginDrag(bool immediate, int threshold)
{
    if (FDragType != dtOLE) {
        // The in-library drag type has no drag of its own here.
        return;
    }
    if (FStates.Contains(tsOLEDragPending) || FStates.Contains(tsOLEDragging)) {
        return;
    }
    FDragThreshold = threshold < 0 ? plat::DragThreshold : threshold;
    if (immediate) {
        DoDragging(FLastClickPos);
    } else {
        DoStateChange({tsOLEDragPending});
    }
}

bool TBaseDataTree::Dragging() const
{
    return FStates.Contains(tsOLEDragPending) || FStates.Contains(tsOLEDragging);
}

void TBaseDataTree::DoStartDrag()
{
    if (OnStartDrag) {
        OnStartDrag(this);
    }
}

void TBaseDataTree::DoEndDrag(plat::TObject* target, int x, int y)
{
    if (OnEndDrag) {
        OnEndDrag(this, target, x, y);
    }
    DragFinished();
}

void TBaseDataTree::DragFinished()
{
    if (!FStates.Contains(tsOLEDragging) && !FStates.Contains(tsVCLDragging) &&
        !FStates.Contains(tsVCLDragPending) && !FStates.Contains(tsVCLDragFinished)) {
        return;
    }
    DoStateChange({}, {tsVCLDragPending, tsVCLDragging, tsUserDragObject, tsVCLDragFinished});
    if (!HandleAllocated()) {
        return;
    }
    // The drag loop took the button's release: the mouse logic hears of it now.
    plat::TPoint cursor;
    plat::GetCursorPos(cursor);
    const plat::TPoint p = ScreenToClient(cursor);
    const plat::LPARAM position = static_cast<plat::LPARAM>((p.X & 0xFFFF) | ((p.Y & 0xFFFF) << 16));
    plat::UINT message = plat::WM_LBUTTONUP;
    if (FStates.Contains(tsRightButtonDown)) {
        message = plat::WM_RBUTTONUP;
    } else if (FStates.Contains(tsMiddleButtonDown)) {
        message = plat::WM_MBUTTONUP;
    }
    plat::SendMessage(Handle(), message, 0, position);
}

plat::DWORD TBaseDataTree::RunOLEDragLoop(plat::DWORD allowedEffects,
                                          const std::shared_ptr<plat::IDataObject>& dataObject,
                                          plat::DWORD& dragEffect)
{
    // The platform's own source: Escape or both buttons cancel, release drops.
    dragEffect = plat::DROPEFFECT_NONE;
    plat::DoDragDrop(dataObject, std::make_shared<plat::TDefaultDropSource>(), allowedEffects, dragEffect);
    return dragEffect;
}

void TBaseDataTree::DoDragging(plat::TPoint p)
{
    CancelEditNode();
    if (FHotNode != nullptr) {
        InvalidateNode(FHotNode);
        FHotNode = nullptr;
    }
    if (FFocusedNode != nullptr && !FFocusedNode->States.Contains(vsSelected)) {
        AddToSelection(FFocusedNode, false);
        InvalidateNode(FFocusedNode);
    }
    if (HandleAllocated()) {
        plat::UpdateWindow(Handle());
    }
    FDragSelection = GetSortedSelection(true);
    TryFinally(
        [&] {
            DoStateChange({tsOLEDragging}, {tsOLEDragPending, tsClearPending});
            DoStartDrag();
            const std::shared_ptr<plat::IDataObject> dataObject = DragManager()->GetDataObject();
            PrepareDragImage(p, dataObject);
            FLastDropMode = dmOnNode;
            FLastDragEffect = 0;
            TryFinally(
                [&] {
                    plat::DWORD effect = plat::DROPEFFECT_NONE;
                    RunOLEDragLoop(AllowedDropEffects(FDragOperations), dataObject, effect);
                    FLastDragEffect = static_cast<int>(effect);
                    DragManager()->ForceDragLeave();
                },
                [&] {
                    plat::TPoint cursor;
                    plat::GetCursorPos(cursor);
                    const plat::TPoint at = HandleAllocated() ? ScreenToClient(cursor) : cursor;
                    DoEndDrag(this, at.X, at.Y);
                    if (FLastDragEffect == static_cast<int>(plat::DROPEFFECT_MOVE) &&
                        FOptions->AutoOptions().Contains(toAutoDeleteMovedNodes)) {
                        DeleteSelectedNodes();
                    }
                    DoStateChange({}, {tsOLEDragging});
                });
        },
        [&] { FDragSelection.clear(); });
}

void TBaseDataTree::DeleteSelectedNodes()
{
    if (FSelectionCount > 0 && !ReadOnly()) {
        DeleteNodes(GetSortedSelection(true));
    }
}

// ---- the tree as drop target ----

plat::DWORD TBaseDataTree::SuggestDropEffect(plat::TObject* source, plat::TShiftState shift, plat::TPoint,
                                             plat::DWORD allowedEffects)
{
    plat::DWORD result = allowedEffects;
    if (source == this) {
        if (allowedEffects & plat::DROPEFFECT_MOVE) {
            result = plat::DROPEFFECT_MOVE;
        }
    } else if (allowedEffects & plat::DROPEFFECT_COPY) {
        result = plat::DROPEFFECT_COPY;
    }
    const bool ctrl = shift.Contains(plat::ssCtrl);
    const bool shiftKey = shift.Contains(plat::ssShift);
    plat::DWORD wanted = plat::DROPEFFECT_NONE;
    if (ctrl && shiftKey) {
        wanted = plat::DROPEFFECT_LINK;
    } else if (ctrl) {
        wanted = plat::DROPEFFECT_COPY;
    } else if (shiftKey) {
        wanted = plat::DROPEFFECT_MOVE;
    } else if (shift.Contains(plat::ssAlt)) {
        wanted = plat::DROPEFFECT_LINK;
    }
    if (wanted != plat::DROPEFFECT_NONE && (allowedEffects & wanted) != 0) {
        result = wanted;
    }
    return result;
}

bool TBaseDataTree::DoDragOver(plat::TObject* source, plat::TShiftState shift, TDragState state, plat::TPoint pt,
                               TDropMode mode, plat::DWORD& effect)
{
    bool accept = false;
    if (OnDragOver) {
        OnDragOver(this, source, shift, state, pt, mode, effect, accept);
    }
    return accept;
}

void TBaseDataTree::DoDragDrop(plat::TObject* source, const std::shared_ptr<plat::IDataObject>& dataObject,
                               const TFormatArray& formats, plat::TShiftState shift, plat::TPoint pt,
                               plat::DWORD& effect, TDropMode mode)
{
    if (OnDragDrop) {
        OnDragDrop(this, source, dataObject, formats, shift, pt, effect, mode);
    }
}

namespace {

// The buttons the tree saw go down, for the drag's shift state.
plat::TShiftState WithButtons(plat::TShiftState shift, const TDataTreeStates& states)
{
    if (states.Contains(tsLeftButtonDown)) {
        shift.Include(plat::ssLeft);
    }
    if (states.Contains(tsMiddleButtonDown)) {
        shift.Include(plat::ssMiddle);
    }
    if (states.Contains(tsRightButtonDown)) {
        shift.Include(plat::ssRight);
    }
    return shift;
}

} // namespace

plat::HRESULT TBaseDataTree::DragEnter(plat::DWORD keyState, plat::TPoint screenPoint, plat::DWORD& effect)
{
    try {
        FDragScrollStart = 0;
        const plat::TShiftState shift = WithButtons(DragShiftState(keyState), FStates);
        const plat::TPoint pt = ScreenToClient(screenPoint);
        TBaseDataTree* source = FDragManager ? FDragManager->GetDragSource() : nullptr;
        effect = SuggestDropEffect(source, shift, pt, effect);
        if (!DoDragOver(source, shift, dsDragEnter, pt, FLastDropMode, effect)) {
            effect = plat::DROPEFFECT_NONE;
            return plat::S_OK;
        }
        THitInfo hitInfo;
        GetHitTestInfoAt(pt.X, pt.Y, true, hitInfo, shift);
        if (hitInfo.HitNode != nullptr) {
            FDropTargetNode = hitInfo.HitNode;
            // A drag that enters right over a collapsed parent opens it too.
            if (FOptions->AutoOptions().Contains(toAutoDropExpand) &&
                FDropTargetNode->States.Contains(vsHasChildren) && HandleAllocated()) {
                plat::SetTimer(Handle(), ExpandTimer, FAutoExpandDelay);
            }
            const plat::TRect r = GetDisplayRect(hitInfo.HitNode, HeaderMainColumn(), false);
            if (hitInfo.HitPositions.Contains(hiOnItemLabel) ||
                (hitInfo.HitPositions.Contains(hiOnItem) && FOptions->MiscOptions().Contains(toFullRowDrag))) {
                FLastDropMode = dmOnNode;
            } else {
                FLastDropMode = (r.Top + r.Bottom) / 2 > pt.Y ? dmAbove : dmBelow;
            }
        } else {
            FLastDropMode = dmNowhere;
        }
        return plat::S_OK;
    } catch (...) {
        return plat::E_UNEXPECTED;
    }
}

plat::HRESULT TBaseDataTree::DragOver(plat::TObject* source, plat::DWORD keyState, TDragState state,
                                      plat::TPoint screenPoint, plat::DWORD& effect)
{
    try {
        const plat::TPoint pt = ScreenToClient(screenPoint);
        FScrollDirections = CanAutoScroll() ? DetermineScrollDirections(pt.X, pt.Y) : TScrollDirections{};
        bool scrolled = false;
        if (!FScrollDirections.Empty()) {
            const int clientHeight = ClientHeight();
            const int clientWidth = ClientWidth();
            int deltaX = 0;
            int deltaY = 0;
            if (FScrollDirections.Contains(sdUp)) {
                deltaY = std::min<int>(FScrollBarOptions->VerticalIncrement(), clientHeight);
                if (FOffsetY == 0) {
                    FScrollDirections.Exclude(sdUp);
                }
            }
            if (FScrollDirections.Contains(sdDown)) {
                deltaY = -std::min<int>(FScrollBarOptions->VerticalIncrement(), clientHeight);
                if (clientHeight - std::int64_t{FOffsetY} == FRangeY) {
                    FScrollDirections.Exclude(sdDown);
                }
            }
            if (FScrollDirections.Contains(sdLeft)) {
                deltaX = FScrollBarOptions->HorizontalIncrement();
                if (FEffectiveOffsetX == 0) {
                    FScrollDirections.Exclude(sdLeft);
                }
            }
            if (FScrollDirections.Contains(sdRight)) {
                deltaX = -FScrollBarOptions->HorizontalIncrement();
                if (clientWidth + std::int64_t{FEffectiveOffsetX} == FRangeX) {
                    FScrollDirections.Exclude(sdRight);
                }
            }
            // Right to left, the horizontal offset counts from the other end.
            if (UseRightToLeftAlignment()) {
                deltaX = -deltaX;
            }
            scrolled = DoSetOffsetXY(plat::Point(FOffsetX + deltaX, FOffsetY + deltaY), DefaultScrollUpdateFlags);
        }
        const plat::TShiftState shift = WithButtons(DragShiftState(keyState), FStates);
        THitInfo hitInfo;
        GetHitTestInfoAt(pt.X, pt.Y, true, hitInfo, shift);
        const plat::TRect r =
            hitInfo.HitNode != nullptr ? GetDisplayRect(hitInfo.HitNode, NoColumn, false) : plat::TRect{};
        const TDropMode newMode = DetermineDropMode(pt, hitInfo, r);
        if (hitInfo.HitNode != FDropTargetNode || newMode != FLastDropMode) {
            FLastDropMode = newMode;
            if (hitInfo.HitNode != FDropTargetNode) {
                StopTimer(ExpandTimer);
                const PDataNode oldTarget = FDropTargetNode;
                FDropTargetNode = hitInfo.HitNode;
                if (FFocusedColumn < 0) {
                    FFocusedColumn = HeaderMainColumn();
                }
                if (oldTarget != nullptr) {
                    InvalidateNode(oldTarget);
                }
                if (FDropTargetNode != nullptr) {
                    InvalidateNode(FDropTargetNode);
                    if (FOptions->AutoOptions().Contains(toAutoDropExpand) &&
                        FDropTargetNode->States.Contains(vsHasChildren) && HandleAllocated()) {
                        plat::SetTimer(Handle(), ExpandTimer, FAutoExpandDelay);
                    }
                }
            } else if (FDropTargetNode != nullptr) {
                InvalidateNode(FDropTargetNode);
            }
        }
        if (HandleAllocated()) {
            plat::UpdateWindow(Handle());
        }
        effect = SuggestDropEffect(source, shift, pt, effect);
        if (!DoDragOver(source, shift, state, pt, FLastDropMode, effect)) {
            effect = plat::DROPEFFECT_NONE;
        }
        if (scrolled) {
            effect |= plat::DROPEFFECT_SCROLL;
        }
        return plat::S_OK;
    } catch (...) {
        return plat::E_UNEXPECTED;
    }
}

void TBaseDataTree::DragLeave()
{
    StopTimer(ExpandTimer);
    if (FDropTargetNode != nullptr) {
        InvalidateNode(FDropTargetNode);
        FDropTargetNode = nullptr;
    }
    if (HandleAllocated()) {
        plat::UpdateWindow(Handle());
    }
    plat::DWORD effect = 0;
    DoDragOver(nullptr, {}, dsDragLeave, plat::Point(0, 0), FLastDropMode, effect);
}

plat::HRESULT TBaseDataTree::DragDrop(const std::shared_ptr<plat::IDataObject>& dataObject, plat::DWORD keyState,
                                      plat::TPoint screenPoint, plat::DWORD& effect)
{
    StopTimer(ExpandTimer);
    StopTimer(ScrollTimer);
    DoStateChange({}, {tsScrollPending, tsScrolling});
    TBaseDataTree* source = FDragManager ? FDragManager->GetDragSource() : nullptr;
    plat::HRESULT result = DragOver(source, keyState, dsDragMove, screenPoint, effect);
    if (result != plat::S_OK || (effect & ~plat::DROPEFFECT_SCROLL) == 0) {
        result = plat::E_FAIL;
    } else {
        try {
            plat::TShiftState shift = DragShiftState(keyState);
            shift.Exclude(plat::ssLeft);
            shift.Exclude(plat::ssMiddle);
            shift.Exclude(plat::ssRight);
            if (FStates.Contains(tsRightButtonDown)) {
                shift.Include(plat::ssRight);
            } else if (FStates.Contains(tsMiddleButtonDown)) {
                shift.Include(plat::ssMiddle);
            } else {
                shift.Include(plat::ssLeft);
            }
            const plat::TPoint pt = ScreenToClient(screenPoint);
            TFormatArray formats;
            if (dataObject && plat::DataObjectFormats(*dataObject, formats)) {
                effect &= ~plat::DROPEFFECT_SCROLL;
                DoDragDrop(source, dataObject, formats, shift, pt, effect, FLastDropMode);
            } else {
                effect = plat::DROPEFFECT_NONE;
            }
        } catch (...) {
            // The application reports it; the drop did nothing.
            if (plat::Application != nullptr) {
                plat::Application->HandleException(this);
            }
            effect = plat::DROPEFFECT_NONE;
            result = plat::E_UNEXPECTED;
        }
    }
    if (FDropTargetNode != nullptr) {
        InvalidateNode(FDropTargetNode);
        FDropTargetNode = nullptr;
    }
    return result;
}

void TBaseDataTree::DoDragExpand()
{
    StopTimer(ExpandTimer);
    if (FDropTargetNode != nullptr && FDropTargetNode->States.Contains(vsHasChildren) &&
        !FDropTargetNode->States.Contains(vsExpanded)) {
        ToggleNode(FDropTargetNode);
        if (HandleAllocated()) {
            plat::UpdateWindow(Handle());
        }
    }
}

bool TBaseDataTree::ProcessDrop(const std::shared_ptr<plat::IDataObject>& dataObject, PDataNode targetNode,
                                plat::DWORD& effect, TDTNodeAttachMode mode)
{
    if (mode == amNoWhere) {
        effect = plat::DROPEFFECT_NONE;
        return false;
    }
    bool result = false;
    try {
        TBaseDataTree* source = GetTreeFromDataObject(dataObject);
        BeginUpdate();
        if (source != nullptr) {
            source->BeginUpdate();
        }
        TryFinally(
            [&] {
                if ((effect & plat::DROPEFFECT_MOVE) != 0 && source != nullptr) {
                    result = ProcessOLEData(source, dataObject, targetNode, mode,
                                            (effect & plat::DROPEFFECT_COPY) == 0);
                    // The nodes were moved: the source must not delete them again.
                    effect = plat::DROPEFFECT_NONE;
                } else if ((effect & (plat::DROPEFFECT_COPY | plat::DROPEFFECT_MOVE)) != 0) {
                    result = ProcessOLEData(source, dataObject, targetNode, mode, false);
                }
            },
            [&] {
                if (source != nullptr) {
                    source->EndUpdate();
                }
                EndUpdate();
            });
    } catch (...) {
        effect = plat::DROPEFFECT_NONE;
        result = false;
    }
    return result;
}

// ---- scrolling at the edges while a drag is over the tree ----

bool TBaseDataTree::CanAutoScroll() const
{
    const bool panning = FStates.Contains(tsWheelPanning) || FStates.Contains(tsWheelScrolling);
    const bool dropTarget = FDragManager && FDragManager->GetIsDropTarget();
    return (FOptions->AutoOptions().Contains(toAutoScroll) || panning) && FHeader->States().Empty() &&
           (FStates.Contains(tsDrawSelPending) || FStates.Contains(tsDrawSelecting) || dropTarget ||
            FStates.Contains(tsVCLDragging) || panning);
}

bool TBaseDataTree::DragScrollWaits(int x, int y) const
{
    bool delayed = FDragManager && FDragManager->GetIsDropTarget();
    if (!delayed) {
        // Only a drag waits; the mouse's own edge scrolling has its timer.
        if (!FStates.Contains(tsOLEDragging) && !FStates.Contains(tsVCLDragging)) {
            return false;
        }
        // Whether the drag is over this tree: the window under the point,
        // asked in screen coordinates.
        delayed = HandleAllocated() && plat::WindowFromPoint(ClientToScreen(plat::Point(x, y))) ==
                                           const_cast<TBaseDataTree*>(this)->Handle();
    }
    if (!delayed) {
        return false;
    }
    if (FDragScrollStart == 0) {
        FDragScrollStart = DragClockNow();
    }
    return DragClockNow() - FDragScrollStart < static_cast<std::int64_t>(FAutoScrollDelay);
}

// ---- the drag picture ----

bool TBaseDataTree::CanShowDragImage() const
{
    return FDragImageKind != diNoImage;
}

void TBaseDataTree::PrepareDragImage(plat::TPoint hotSpot, const std::shared_ptr<plat::IDataObject>& dataObject)
{
    if (!CanShowDragImage()) {
        return;
    }
    TDTDragImage image(this);
    image.SetFade(true);
    image.SetPreBlendBias(0);
    image.SetTransparency(200);
    const plat::TPoint p = plat::Point(hotSpot.X + FEffectiveOffsetX, hotSpot.Y - FOffsetY);
    plat::TRect treeRect = plat::Rect(p.X - FDragWidth / 2, p.Y - FDragHeight / 2, p.X + FDragWidth / 2,
                                      p.Y + FDragHeight / 2);
    if (treeRect.Width() <= 0 || treeRect.Height() <= 0) {
        return;
    }
    plat::TRect paintRect = treeRect;
    plat::TPoint paintTarget = plat::Point(0, 0);
    if (treeRect.Left < 0) {
        paintTarget.X = -treeRect.Left;
        paintRect.Left = 0;
    }
    if (treeRect.Top < 0) {
        paintTarget.Y = -treeRect.Top;
        paintRect.Top = 0;
    }
    plat::TBitmap bitmap(static_cast<int>(treeRect.Width()), static_cast<int>(treeRect.Height()), plat::pf32bit);
    const plat::TColor background = FColors->BackGroundColor();
    bitmap.Canvas()->Brush()->SetColor(background);
    bitmap.Canvas()->FillRect(plat::Rect(0, 0, bitmap.Width(), bitmap.Height()));
    TDTInternalPaintOptions options{poDrawSelection, poSelectedOnly};
    if (FDragImageKind == diMainColumnOnly) {
        options.Include(poMainOnly);
    }
    PaintTree(*bitmap.Canvas(), paintRect, paintTarget, options);
    treeRect = plat::OffsetRect(treeRect, -FEffectiveOffsetX, FOffsetY);
    const plat::TPoint imagePosition =
        HandleAllocated() ? ClientToScreen(plat::Point(static_cast<int>(treeRect.Left), static_cast<int>(treeRect.Top)))
                          : plat::Point(static_cast<int>(treeRect.Left), static_cast<int>(treeRect.Top));
    const plat::TPoint screenHotSpot = HandleAllocated() ? ClientToScreen(hotSpot) : hotSpot;
    image.SetColorKey(background);
    image.PrepareDrag(bitmap, imagePosition, screenHotSpot, dataObject);
}

void TBaseDataTree::UpdateWindowAndDragImage(TBaseDataTree* tree, plat::TRect treeRect, bool updateNCArea,
                                             bool reshowDragImage)
{
    treeRect = plat::IntersectRect(treeRect, ClientRect());
    if (treeRect.IsEmpty() || !HandleAllocated() || tree == nullptr) {
        return;
    }
    TDTDragImage* image = tree->Header()->DragImage();
    if (image == nullptr || !image->Visible()) {
        return;
    }
    plat::TRegion visible;
    plat::GetWindowVisibleRegion(Handle(), visible);
    image->RecaptureBackground(this, treeRect, &visible, updateNCArea, false);
    // Everything else repaints; the picture's place keeps the picture.
    const plat::TRect screenImage = image->GetDragImageRect();
    const plat::TPoint origin = ClientToScreen(plat::Point(0, 0));
    const plat::TRegion picture(plat::OffsetRect(screenImage, -origin.X, -origin.Y));
    // The update region is marked without validating it again, which would
    // take back what was just marked.
    constexpr std::uint32_t redraw =
        plat::RDW_INVALIDATE | plat::RDW_NOERASE | plat::RDW_NOCHILDREN | plat::RDW_UPDATENOW;
    if (updateNCArea) {
        plat::TRegion frame(plat::Rect(0, 0, 0, 0));
        plat::RedrawWindow(Handle(), nullptr, &frame, redraw | plat::RDW_FRAME);
    }
    plat::TRegion rows(treeRect);
    rows.Combine(rows, picture, plat::RGN_DIFF);
    plat::RedrawWindow(Handle(), nullptr, &rows, redraw);
    // A frame paint reaches under the picture as well: it is drawn again.
    if (reshowDragImage) {
        image->ReshowDragImage();
    }
}

} // namespace qel
