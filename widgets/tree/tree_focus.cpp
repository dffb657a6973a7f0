// The focused node and column of the data tree: moving the focus with
// the application's veto, what the old and the new focused node do, and
// the notifications of a focus change.
#include "widgets/tree/base_data_tree.h"

namespace qel {

bool TBaseDataTree::DoFocusChanging(PDataNode oldNode, PDataNode newNode, TColumnIndex oldColumn,
                                    TColumnIndex newColumn)
{
    bool allowed = oldColumn == newColumn || HeaderAllowsFocus(newColumn);
    if (OnFocusChanging) {
        OnFocusChanging(this, oldNode, newNode, oldColumn, newColumn, allowed);
    }
    return allowed;
}

void TBaseDataTree::DoFocusChange(PDataNode node, TColumnIndex column)
{
    if (OnFocusChanged) {
        OnFocusChanged(this, node, column);
    }
    for (const std::uint32_t event : {EVENT_OBJECT_LOCATIONCHANGE, EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_VALUECHANGE,
                                      EVENT_OBJECT_STATECHANGE, EVENT_OBJECT_SELECTION, EVENT_OBJECT_FOCUS}) {
        NotifyAccessibleEvent(event);
    }
}

void TBaseDataTree::DoFocusNode(PDataNode node, bool ask)
{
    if (FStates.Contains(tsEditing) && !EndEditNode()) {
        return;
    }
    if (node == FRoot) {
        node = nullptr;
    }
    const bool autoExpand = FOptions->AutoOptions().Contains(toAutoExpand);
    if (node != FFocusedNode && (!ask || DoFocusChanging(FFocusedNode, node, FFocusedColumn, FFocusedColumn))) {
        if (FFocusedNode != nullptr) {
            // With auto expansion a sibling taking the focus closes the old one.
            if (autoExpand && node != nullptr && node->fParent == FFocusedNode->fParent &&
                FFocusedNode->States.Contains(vsExpanded)) {
                ToggleNode(FFocusedNode);
            } else {
                InvalidateNode(FFocusedNode);
            }
        }
        FFocusedNode = node;
    }
    if (FFocusedNode != nullptr) {
        if (HeaderUsesColumns() && FFocusedColumn < 0 && HeaderAllowsFocus(HeaderMainColumn())) {
            FFocusedColumn = HeaderMainColumn();
        }
        if (autoExpand && !FFocusedNode->States.Contains(vsExpanded)) {
            ToggleNode(FFocusedNode);
        }
        InvalidateNode(FFocusedNode);
        const TDTSelectionOptions selection = FOptions->SelectionOptions();
        if (!IsUpdating() && !FOptions->AutoOptions().Contains(toDisableAutoscrollOnFocus)) {
            const bool buttonDown = FStates.Contains(tsLeftButtonDown) || FStates.Contains(tsMiddleButtonDown) ||
                                    FStates.Contains(tsRightButtonDown);
            ScrollIntoView(FFocusedNode, selection.Contains(toCenterScrollIntoView) && !buttonDown,
                           !selection.Contains(toFullRowSelect));
        }
    }
    if (FSelectionCount == 0) {
        ResetRangeAnchor();
    }
}

void TBaseDataTree::SetFocusedNode(PDataNode value)
{
    const PDataNode wanted = value == FRoot ? nullptr : value;
    const PDataNode old = FFocusedNode;
    DoFocusNode(value, true);
    if (old != wanted && FFocusedNode == wanted) {
        DoFocusChange(FFocusedNode, FFocusedColumn);
    }
}

void TBaseDataTree::SetFocusedColumn(TColumnIndex value)
{
    if (value == FFocusedColumn || !DoFocusChanging(FFocusedNode, FFocusedNode, FFocusedColumn, value)) {
        return;
    }
    CancelEditNode();
    if (HandleAllocated()) {
        Invalidate();
    }
    FFocusedColumn = value;
    if (FFocusedNode != nullptr && !FOptions->AutoOptions().Contains(toDisableAutoscrollOnFocus) &&
        ScrollIntoView(FFocusedNode, FOptions->SelectionOptions().Contains(toCenterScrollIntoView), true)) {
        InvalidateNode(FFocusedNode);
    }
    if (FDropTargetNode != nullptr) {
        InvalidateNode(FDropTargetNode);
    }
    DoFocusChange(FFocusedNode, FFocusedColumn);
}

void TBaseDataTree::SetFocusedNodeAndColumn(PDataNode node, TColumnIndex column)
{
    if (!HeaderAllowsFocus(column)) {
        column = FFocusedColumn;
    }
    const bool changed = node != FFocusedNode || column != FFocusedColumn;
    const TColumnIndex oldColumn = FFocusedColumn;
    FFocusedColumn = column;
    DoFocusNode(node, true);
    if (FFocusedNode == (node == FRoot ? nullptr : node)) {
        CancelEditNode();
        if (changed) {
            DoFocusChange(FFocusedNode, FFocusedColumn);
        }
    } else {
        FFocusedColumn = oldColumn;
    }
}

} // namespace qel
