// The selection of the data tree: a sorted array of node addresses with
// lazy removal, single nodes joining and leaving it with their events and
// the level and sibling constraints, clearing it, the selection kept after
// deletions, and check boxes that follow it.
#include "widgets/tree/base_data_tree.h"

#include "widgets/tree/node_array.h"
#include "widgets/tree/try_finally.h"

#include <algorithm>
#include <functional>
#include <string>

namespace qel {

namespace {

bool Before(PDataNode a, PDataNode b)
{
    return std::less<PDataNode>()(a, b);
}

} // namespace

bool TBaseDataTree::GetSelected(PDataNode node) const
{
    return node != nullptr && node->States.Contains(vsSelected);
}

int TBaseDataTree::GetNodeLevelForSelectConstraint(PDataNode node) const
{
    if (node == nullptr || node->States.Contains(vsDisabled)) {
        return -1;
    }
    return static_cast<int>(GetNodeLevel(node));
}

bool TBaseDataTree::IsMouseSelecting() const
{
    return FStates.Contains(tsDrawSelPending) || FStates.Contains(tsDrawSelecting);
}

bool TBaseDataTree::FindNodeInSelection(PDataNode node, int& index, int lowBound, int highBound) const
{
    bool found = false;
    int low = lowBound < 0 ? 0 : lowBound;
    int high = highBound < 0 ? FSelectionCount - 1 : highBound;
    while (high >= low) {
        const int middle = (low + high) / 2;
        if (Before(FSelection[middle], node)) {
            low = middle + 1;
        } else {
            high = middle - 1;
            if (FSelection[middle] == node) {
                found = true;
                low = middle;
            }
        }
    }
    index = low;
    return found;
}

void TBaseDataTree::PackSelection()
{
    FSelectionCount = PackArray(FSelection, FSelectionCount);
    FSelection.resize(static_cast<std::size_t>(FSelectionCount));
}

bool TBaseDataTree::InternalAddToSelection(PDataNode node, bool forceInsert)
{
    TNodeArray items{node};
    return InternalAddToSelection(items, 1, forceInsert);
}

bool TBaseDataTree::InternalAddToSelection(TNodeArray& newItems, int newLength, bool forceInsert)
{
    const TDTSelectionOptions options = FOptions->SelectionOptions();
    const bool constrainByLevel = options.Contains(toLevelSelectConstraint);
    if (constrainByLevel && FLastSelectionLevel == -1) {
        FLastSelectionLevel = GetNodeLevelForSelectConstraint(newItems[0]);
    }
    if (!forceInsert) {
        const bool siblingsOnly = options.Contains(toSiblingSelectConstraint);
        if (siblingsOnly && FRangeAnchor == nullptr) {
            FRangeAnchor = newItems[0];
        }
        for (int i = 0; i < newLength; ++i) {
            const PDataNode item = newItems[i];
            if (item->States.Contains(vsSelected) || item->States.Contains(vsDisabled) ||
                (constrainByLevel && GetNodeLevelForSelectConstraint(item) != FLastSelectionLevel) ||
                (siblingsOnly && item->fParent != FRangeAnchor->fParent)) {
                MarkForRemoval(newItems[i]);
            }
        }
    }
    newLength = PackArray(newItems, newLength);
    if (newLength <= 0) {
        return false;
    }
    std::sort(newItems.begin(), newItems.begin() + newLength, Before);
    if (!forceInsert) {
        // A node given twice joins once.
        for (int i = newLength - 1; i > 0; --i) {
            if (newItems[i] == newItems[i - 1]) {
                MarkForRemoval(newItems[i]);
            }
        }
        newLength = PackArray(newItems, newLength);
    }
    const int added = newLength;
    if (FSelectionCount + newLength >= static_cast<int>(FSelection.size())) {
        FSelection.resize(static_cast<std::size_t>(FSelectionCount + newLength));
    }
    // Merge from the back: each run of old entries above the next new one
    // moves up once.
    int current = FSelectionCount - 1;
    int i = newLength - 1;
    while (i >= 0) {
        if (current < 0) {
            std::copy(newItems.begin(), newItems.begin() + i + 1, FSelection.begin());
            break;
        }
        while (i >= 0 && Before(FSelection[current], newItems[i])) {
            FSelection[current + i + 1] = newItems[i];
            --i;
        }
        if (i < 0) {
            break;
        }
        int place = 0;
        FindNodeInSelection(newItems[i], place, 0, current);
        std::move_backward(FSelection.begin() + place, FSelection.begin() + current + 1,
                           FSelection.begin() + current + i + 2);
        current = place - 1;
    }
    FSelectionCount += added;
    for (int j = 0; j < added; ++j) {
        newItems[j]->States.Include(vsSelected);
    }
    for (int j = 0; j < added; ++j) {
        DoAddToSelection(newItems[j]);
        if (SyncCheckstateWithSelection(newItems[j])) {
            SetCheckState(newItems[j], csCheckedNormal);
        }
    }
    return true;
}

void TBaseDataTree::AddToSelection(TNodeArray& newItems, int newLength, bool forceInsert)
{
    const PDataNode single = newLength == 1 ? newItems[0] : nullptr;
    if (!InternalAddToSelection(newItems, newLength, forceInsert)) {
        return;
    }
    if (single != nullptr) {
        InvalidateNode(single);
        Change(single);
    } else {
        if (HandleAllocated()) {
            Invalidate();
        }
        Change(nullptr);
    }
}

void TBaseDataTree::AddToSelection(PDataNode node, bool notifySynced)
{
    if (FSelectionLocked) {
        return;
    }
    TreeAssert(node != nullptr, "Node must not be nil!");
    if (!InternalAddToSelection(node, false)) {
        return;
    }
    UpdateNextNodeToSelect(node);
    if (FSelectionCount == 1) {
        SetFocusedNode(node);
    }
    InvalidateNode(node);
    if (!notifySynced || FStates.Contains(tsSynchMode)) {
        Change(node);
        return;
    }
    // The change is told at once.
    FStates.Include(tsSynchMode);
    try {
        Change(node);
    } catch (...) {
        FStates.Exclude(tsSynchMode);
        throw;
    }
    FStates.Exclude(tsSynchMode);
}

void TBaseDataTree::RemoveFromSelection(PDataNode node)
{
    if (FSelectionLocked) {
        return;
    }
    TreeAssert(node != nullptr, "Node must not be nil!");
    if (!InUIThread()) {
        throw EAssertionFailed(std::string(ClassName()) + ".RemoveFromSelection() must only be called from UI thread.");
    }
    if (!node->States.Contains(vsSelected)) {
        return;
    }
    TreeAssert(FSelectionCount > 0, "if one node has set the vsSelected flag, SelectionCount must be >0.");
    node->States.Exclude(vsSelected);
    if (SyncCheckstateWithSelection(node)) {
        node->CheckState = csUncheckedNormal;
    }
    int index = 0;
    if (FindNodeInSelection(node, index, -1, -1)) {
        FSelection.erase(FSelection.begin() + index);
        --FSelectionCount;
    }
    FSelection.resize(static_cast<std::size_t>(FSelectionCount));
    if (FSelectionCount == 0) {
        ResetRangeAnchor();
    }
    if (FSelectionCount <= 1) {
        UpdateNextNodeToSelect(node);
    }
    DoRemoveFromSelection(node);
    InvalidateNode(node);
    Change(node);
}

void TBaseDataTree::InternalRemoveFromSelection(PDataNode node)
{
    int index = 0;
    if (!FindNodeInSelection(node, index, -1, -1)) {
        return;
    }
    node->States.Exclude(vsSelected);
    if (SyncCheckstateWithSelection(node)) {
        node->CheckState = csUncheckedNormal;
    }
    MarkForRemoval(FSelection[index]);
    DoRemoveFromSelection(node);
    Change(node);
}

void TBaseDataTree::UncheckWhileClearing(PDataNode node)
{
    // The selection stays locked meanwhile: the check change ends an update,
    // which must not select a node again (toAlwaysSelectNode) while the
    // loop empties the selection.
    const bool locked = FSelectionLocked;
    FSelectionLocked = true;
    TryFinally([&] { SetCheckState(node, csUncheckedNormal); }, [&] { FSelectionLocked = locked; });
}

void TBaseDataTree::InternalClearSelection()
{
    // Marked entries name nodes that may be gone: they go first.
    PackSelection();
    while (FSelectionCount > 0) {
        --FSelectionCount;
        const PDataNode node = FSelection[FSelectionCount];
        node->States.Exclude(vsSelected);
        if (SyncCheckstateWithSelection(node)) {
            UncheckWhileClearing(node);
        }
        DoRemoveFromSelection(node);
    }
    ResetRangeAnchor();
    FSelection.clear();
    DoStateChange({}, {tsClearPending});
}

void TBaseDataTree::ClearSelection(bool fireChangeEvent)
{
    if (!InUIThread()) {
        throw EAssertionFailed(std::string(ClassName()) + ".ClearSelection() must only be called from UI thread.");
    }
    if (FSelectionLocked || FSelectionCount <= 0 || IsDestroying()) {
        return;
    }
    if (!IsUpdating() && HandleAllocated() && FVisibleCount > 0) {
        InvalidateSelectedRowsOnScreen();
    }
    InternalClearSelection();
    if (fireChangeEvent) {
        Change(nullptr);
    }
}

void TBaseDataTree::InvalidateSelectedRowsOnScreen()
{
    int top = 0;
    int left = FSelectionCount;
    const int clientHeight = ClientHeight();
    for (PDataNode node = GetNodeAt(0, 0, true, top); node != nullptr && left > 0 && top < clientHeight;
         node = GetNextVisibleNoInit(node, true)) {
        if (node->States.Contains(vsSelected)) {
            InvalidateNode(node);
            --left;
        }
        top += static_cast<int>(GetNodeHeight(node));
    }
}

void TBaseDataTree::SetSelected(PDataNode node, bool value)
{
    if (FSelectionLocked || node == nullptr || node == FRoot || value == node->States.Contains(vsSelected)) {
        return;
    }
    if (!value) {
        RemoveFromSelection(node);
        if (FSelectionCount == 0) {
            ResetRangeAnchor();
        }
        return;
    }
    const bool multiSelect = FOptions->SelectionOptions().Contains(toMultiSelect);
    if (FSelectionCount > 0) {
        if (!multiSelect) {
            ClearSelection();
        }
        if (FRangeAnchor == nullptr) {
            FRangeAnchor = node;
        }
    } else {
        FRangeAnchor = node;
    }
    AddToSelection(node, true);
    if (!multiSelect) {
        SetFocusedNode(GetFirstSelected());
    }
    // The focused column falls back to one that can take the focus.
    if ((FFocusedColumn >= 0 && ColumnIsVisible(FFocusedColumn)) || HeaderMainColumn() < 0) {
        return;
    }
    const TColumnIndex main = HeaderMainColumn();
    FFocusedColumn = ColumnIsVisible(main) && HeaderAllowsFocus(main) ? main : FirstFocusableColumn();
}

void TBaseDataTree::EnsureNodeSelected(bool afterDeletion)
{
    const TDTSelectionOptions options = FOptions->SelectionOptions();
    if (IsEmpty() ||
        !(options.Contains(toAlwaysSelectNode) || (afterDeletion && options.Contains(toSelectNextNodeOnRemoval)))) {
        return;
    }
    if (FSelectionCount == 0 && !FSelectionLocked) {
        if (FNextNodeToSelect == nullptr) {
            FNextNodeToSelect = GetFirstVisible();
            while (FNextNodeToSelect != nullptr && FNextNodeToSelect->States.Contains(vsDisabled)) {
                FNextNodeToSelect = GetNextVisible(FNextNodeToSelect);
            }
        }
        SetSelected(FNextNodeToSelect, true);
        if (const PDataNode selected = GetFirstSelected()) {
            ScrollIntoView(selected, false, false);
        }
    }
    EnsureNodeFocused();
}

void TBaseDataTree::EnsureNodeFocused()
{
    if (FFocusedNode != nullptr) {
        return;
    }
    PDataNode node = GetFirstSelected();
    if (node == nullptr) {
        node = GetFirstVisible();
    }
    if (node != nullptr) {
        SetFocusedNode(node);
    }
}

void TBaseDataTree::DoAddToSelection(PDataNode node)
{
    if (OnAddToSelection) {
        OnAddToSelection(this, node);
    }
}

void TBaseDataTree::DoRemoveFromSelection(PDataNode node)
{
    if (OnRemoveFromSelection) {
        OnRemoveFromSelection(this, node);
    }
}

TNodeArray TBaseDataTree::GetSortedSelection(bool resolve)
{
    if (FSelectionCount <= 0) {
        return {};
    }
    return NodesInTreeOrderWith(vsSelected, resolve);
}

TNodeArray TBaseDataTree::NodesInTreeOrderWith(TDataNodeState state, bool resolve)
{
    TNodeArray nodes;
    PDataNode run = FRoot->FirstChild;
    while (run != nullptr) {
        if (run->States.Contains(state)) {
            nodes.push_back(run);
            if (resolve) {
                // The subtree goes with it.
                while (run != FRoot && run->fNextSibling == nullptr) {
                    run = run->fParent;
                }
                run = run == FRoot ? nullptr : run->fNextSibling;
                continue;
            }
        }
        run = GetNextNoInit(run);
    }
    return nodes;
}

} // namespace qel
