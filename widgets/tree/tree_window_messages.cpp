// The data tree's remaining window messages: focus in and out, enabling,
// cancel mode, the context menu, the window's end, the hint decision for a
// mouse position, node pop-up menus asked of the node and its ancestors,
// and what a lost focus or cancelled mode ends.
#include "widgets/tree/base_data_tree.h"

#include "platform/controls/application.h"
#include "platform/controls/control_messages.h"
#include "platform/controls/form.h"
#include "platform/controls/hint_window.h"
#include "platform/controls/standard/popup_menu.h"
#include "platform/controls/window.h"
#include "platform/controls/window_input.h"
#include "platform/controls/window_messages.h"
#include "platform/controls/window_paint.h"
#include "platform/controls/window_styles.h"

#include <algorithm>

namespace qel {

bool TBaseDataTree::StopTimer(plat::UINT_PTR id)
{
    return HandleAllocated() && plat::KillTimer(Handle(), id);
}

void TBaseDataTree::CancelPendingInput()
{
    for (plat::UINT_PTR id : {ExpandTimer, EditTimer, HeaderTimer, ScrollTimer, SearchTimer}) {
        StopTimer(id);
    }
    FSearchBuffer.clear();
    FLastSearchNode = nullptr;
}

void TBaseDataTree::WMSetFocus(plat::TMessage& message)
{
    Inherited(message);
    if (!(FSelectionCount == 0 && FOptions->PaintOptions().Contains(toGhostedIfUnfocused))) {
        Invalidate();
    }
}

void TBaseDataTree::WMKillFocus(plat::TMessage& message)
{
    Inherited(message);
    if (FStates.Contains(tsHint) && plat::Application != nullptr) {
        plat::Application->CancelHint();
    }
    StopWheelPanning();
    CancelPendingInput();
    DoStateChange({}, {tsEditPending, tsNodeHeightTracking, tsNodeHeightTrackPending, tsIncrementalSearching,
                       tsLeftButtonDown, tsMiddleButtonDown, tsRightButtonDown, tsOLEDragPending, tsVCLDragPending,
                       tsScrolling, tsScrollPending});
    if (FSelectionCount == 0 && FOptions->PaintOptions().Contains(toGhostedIfUnfocused)) {
        if (FFocusedNode != nullptr) {
            InvalidateNode(FFocusedNode);
        }
    } else {
        Invalidate();
    }
}

void TBaseDataTree::WMEnable(plat::TMessage& message)
{
    Inherited(message);
    const plat::TRect none{};
    plat::RedrawWindow(Handle(), &none, nullptr,
                       plat::RDW_FRAME | plat::RDW_NOCHILDREN | plat::RDW_NOERASE | plat::RDW_INVALIDATE);
}

void TBaseDataTree::WMCancelMode(plat::TMessage& message)
{
    CancelPendingInput();
    StopTimer(ThemeChangedTimer);
    DoStateChange({}, {tsClearPending, tsDrawSelPending, tsDrawSelecting, tsEditPending, tsIncrementalSearching,
                       tsOLEDragPending, tsVCLDragPending});
    Inherited(message);
}

void TBaseDataTree::WMCut(plat::TMessage&)
{
    CutToClipboard();
}

void TBaseDataTree::WMCopy(plat::TMessage&)
{
    CopyToClipboard();
}

void TBaseDataTree::WMPaste(plat::TMessage&)
{
    PasteFromClipboard();
}

void TBaseDataTree::WMContextMenu(plat::TMessage& message)
{
    DoStateChange({}, {tsClearPending, tsEditPending, tsOLEDragPending, tsVCLDragPending});
    if (!FStates.Contains(tsPopupMenuShown)) {
        Inherited(message);
    }
}

void TBaseDataTree::WMNCDestroy(plat::TMessage& message)
{
    InterruptValidation(true);
    StopTimer(ChangeTimer);
    StopTimer(StructureChangeTimer);
    Inherited(message);
}

void TBaseDataTree::DoEnter()
{
    plat::TCustomControl::DoEnter();
    EnsureNodeSelected(false);
}

bool TBaseDataTree::CanFocus() const
{
    if (!plat::TCustomControl::CanFocus()) {
        return false;
    }
    if (!Designing()) {
        const plat::TCustomForm* form = plat::GetParentForm(this);
        if (form != nullptr && (!form->Enabled() || !form->Visible())) {
            return false;
        }
    }
    return true;
}

// ---- pop-up menus ----

plat::TComponent* TBaseDataTree::DoGetPopupMenu(PDataNode node, TColumnIndex column, plat::TPoint position)
{
    if (!OnGetPopupMenu) {
        return nullptr;
    }
    plat::TComponent* menu = nullptr;
    bool askParent = true;
    if (node == nullptr) {
        OnGetPopupMenu(this, nullptr, NoColumn, position, askParent, menu);
        return menu;
    }
    for (PDataNode run = node; run != nullptr && run != FRoot && menu == nullptr && askParent; run = run->fParent) {
        OnGetPopupMenu(this, run, column, position, askParent, menu);
    }
    return menu;
}

void TBaseDataTree::DoPopupMenu(PDataNode node, TColumnIndex column, plat::TPoint position)
{
    plat::TComponent* menu = DoGetPopupMenu(node, column, position);
    auto* popup = dynamic_cast<plat::IPopupMenu*>(menu);
    if (popup == nullptr) {
        return;
    }
    DoStateChange({tsPopupMenuShown});
    StopTimer(EditTimer);
    popup->PopupFor(this, ClientToScreen(position));
}

// ---- hints ----

std::string TBaseDataTree::DoGetNodeHint(PDataNode, TColumnIndex, TDTTooltipLineBreakStyle&)
{
    return Hint();
}

std::string TBaseDataTree::DoGetNodeTooltip(PDataNode, TColumnIndex, TDTTooltipLineBreakStyle&)
{
    return Hint();
}

void TBaseDataTree::CMHintShowPause(plat::TMessage& message)
{
    Inherited(message);
    if (ShowHint() && FHintMode == hmTooltip && message.LParam != 0) {
        *reinterpret_cast<int*>(message.LParam) = 0;
    }
}

void TBaseDataTree::CMHintShow(plat::TMessage& message)
{
    message.Result = 1;
    auto* info = reinterpret_cast<plat::THintInfo*>(message.LParam);
    if (info == nullptr) {
        return;
    }
    const plat::TPoint cursor = info->CursorPos;
    if (FLastHintRect.Contains(cursor.X, cursor.Y)) {
        return;
    }
    THitInfo hitInfo;
    GetHitTestInfoAt(cursor.X, cursor.Y, true, hitInfo);
    bool showOK = false;
    if (FStates.Contains(tsEditing)) {
        showOK = hitInfo.HitNode != FFocusedNode;
    } else {
        const plat::TCustomForm* form = plat::GetParentForm(this);
        showOK = Focused() || (form != nullptr && form->Active()) ||
                 (plat::Application != nullptr && plat::Application->Active());
    }
    const bool captured = plat::GetCapture() != 0;
    if (captured || !ShowHint() || FStates.Contains(tsOLEDragging) || IsMouseSelecting() ||
        FStates.Contains(tsScrolling) || !FHeader->States().Empty() || !showOK) {
        FLastHintRect = plat::TRect{};
        DoStateChange({}, {tsHint});
        return;
    }
    message.Result = 0;
    std::string text;
    plat::TRect cursorRect;
    PDataNode hintNode = nullptr;
    TColumnIndex hintColumn = NoColumn;
    TDTTooltipLineBreakStyle lineBreakStyle = hlbDefault;
    plat::TRect ownerDrawRect;
    bool treeHint = false;
    const TDataTreeColumns& columns = FHeader->Columns();
    const auto noHint = [&] {
        message.Result = 1;
        FLastHintRect = plat::TRect{};
        DoStateChange({}, {tsHint});
    };
    if (FHeader->UseColumns() && FHeader->Options().Contains(hoShowHint) && FHeader->InHeader(cursor)) {
        const plat::TPoint headerPoint = plat::Point(cursor.X, cursor.Y + FHeader->Height());
        int left = 0;
        int right = 0;
        const TColumnIndex column = columns.GetColumnAndBounds(headerPoint, left, right);
        if (column < 0 || plat::GetKeyState(plat::VK_LBUTTON) < 0) {
            noHint();
            return;
        }
        const TDataTreeColumn* item = columns.Items(column);
        hintColumn = column;
        treeHint = true;
        text = item->Hint();
        if (text.empty() && 2 * FMargin + item->CaptionWidth() + 1 >= item->Width()) {
            text = item->Text();
        }
        if (text.empty()) {
            noHint();
            return;
        }
        cursorRect = plat::Rect(left, -FHeader->Height(), right, 0);
        plat::TPoint bottom = ClientToScreen(plat::Point(0, 0));
        info->HintPos.Y = std::max(info->HintPos.Y, bottom.Y);
    } else if (FHintMode == hmDefault || ((FHintMode == hmHintAndDefault) &&
                                          (hitInfo.HitNode == nullptr || hitInfo.HitColumn < NoColumn))) {
        text = plat::GetShortHint(Hint());
        if (FHintMode == hmDefault) {
            info->HintStr = text;
            FLastHintRect = plat::TRect{};
            DoStateChange({}, {tsHint});
            message.Result = text.empty() ? 1 : 0;
            return;
        }
        cursorRect = ClientRect();
        const int total = columns.TotalWidth();
        if (UseRightToLeftAlignment()) {
            cursorRect.Right -= total;
        } else {
            cursorRect.Left = total;
        }
        if (text.empty()) {
            noHint();
            return;
        }
    } else if (hitInfo.HitNode != nullptr && hitInfo.HitColumn >= NoColumn) {
        PDataNode node = hitInfo.HitNode;
        const TColumnIndex column = hitInfo.HitColumn;
        hintNode = node;
        hintColumn = column;
        treeHint = true;
        text = FHintMode == hmTooltip ? DoGetNodeTooltip(node, column, lineBreakStyle)
                                      : DoGetNodeHint(node, column, lineBreakStyle);
        // An owner-drawn hint shows only with the size the application gives.
        if (DoGetHintKind(node, column) == vhkOwnerDraw) {
            DoGetHintSize(node, column, ownerDrawRect);
            if (ownerDrawRect.IsEmpty()) {
                noHint();
                return;
            }
        }
        int left = 0;
        int right = ClientWidth();
        if (column >= 0 && columns.IsValidColumn(column)) {
            columns.GetColumnBounds(column, left, right);
            left -= FEffectiveOffsetX;
            right -= FEffectiveOffsetX;
            if (FOptions->AutoOptions().Contains(toAutoSpanColumns)) {
                for (TColumnIndex next = columns.GetNextVisibleColumn(column);
                     next >= 0 && DoGetCellIsEmpty(node, next); next = columns.GetNextVisibleColumn(next)) {
                    right += columns.Items(next)->Width();
                }
            }
        }
        if (FHintMode == hmTooltip) {
            if (node->States.Contains(vsMultiline)) {
                if (!hitInfo.HitPositions.Contains(hiOnItemLabel)) {
                    noHint();
                    return;
                }
                cursorRect = GetDisplayRect(node, column, true);
            } else {
                const plat::TRect r = GetDisplayRect(node, column, true, true, true);
                const plat::TPoint margin = DoGetCellContentMargin(node, column, 2);
                const bool inside = r.Contains(cursor.X, cursor.Y) && cursor.X >= left && cursor.X < right;
                const bool cut = r.Right + margin.X > std::min(right - 1, ClientWidth()) ||
                                 r.Left < (left < 1 ? 0 : std::max(left, 0)) ||
                                 r.Bottom + margin.Y > ClientHeight() || r.Top < 0;
                if (!inside || !cut) {
                    noHint();
                    return;
                }
                info->HintPos = ClientToScreen(plat::Point(r.Left, r.Top));
                cursorRect = r;
            }
        } else {
            cursorRect = GetDisplayRect(node, column, false);
            cursorRect.Left = left;
            cursorRect.Right = right;
            const plat::TPoint bottom = ClientToScreen(plat::Point(0, static_cast<int>(cursorRect.Bottom)));
            info->HintPos.Y = std::max(info->HintPos.Y, bottom.Y + ScaledPixels(2));
        }
        if (text.empty()) {
            noHint();
            return;
        }
    } else {
        noHint();
        return;
    }
    if (treeHint) {
        // Node and header hints show in the tree's own window, from its data.
        FHintData = TDTHintData{};
        FHintData.Tree = this;
        FHintData.Node = hintNode;
        FHintData.Column = hintColumn;
        FHintData.HintText = text;
        FHintData.LineBreakStyle = lineBreakStyle;
        FHintData.HintRect = ownerDrawRect;
        info->HintWindowClass = GetHintWindowClass();
        info->HintData = &FHintData;
    }
    info->HintStr = text;
    info->CursorRect = cursorRect;
    FLastHintRect = cursorRect;
    DoStateChange({tsHint});
}

} // namespace qel
