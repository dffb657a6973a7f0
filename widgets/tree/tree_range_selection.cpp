// Selecting many data tree nodes at once: all of them, the inverse, a
// range between two nodes, toggling a range against its anchor, removing
// a range, and what a click does to the selection. Nodes to add are
// gathered in a temporary cache and join in one batch.
#include "widgets/tree/base_data_tree.h"

#include <utility>

namespace qel {

void TBaseDataTree::AddToTempCache(PDataNode node)
{
    if (FTempNodeCount == FTempNodeCache.size()) {
        const std::size_t length = FTempNodeCache.size();
        FTempNodeCache.resize(length < 100 ? 100 : length + length / 10);
    }
    FTempNodeCache[FTempNodeCount++] = node;
}

void TBaseDataTree::ClearTempCache()
{
    FTempNodeCache.clear();
    FTempNodeCount = 0;
}

void TBaseDataTree::AddTempCacheToSelection()
{
    if (FTempNodeCount > 0) {
        AddToSelection(FTempNodeCache, static_cast<int>(FTempNodeCount), false);
    }
    ClearTempCache();
}

void TBaseDataTree::SelectAll(bool visibleOnly)
{
    if (FSelectionLocked || !FOptions->SelectionOptions().Contains(toMultiSelect)) {
        return;
    }
    ClearTempCache();
    BeginUpdate();
    try {
        for (PDataNode node = visibleOnly ? GetFirstVisible(nullptr, false) : GetFirst(); node != nullptr;
             node = visibleOnly ? GetNextVisible(node, false) : GetNext(node)) {
            if (!node->States.Contains(vsSelected)) {
                AddToTempCache(node);
            }
        }
        AddTempCacheToSelection();
    } catch (...) {
        ClearTempCache();
        EndUpdate();
        throw;
    }
    EndUpdate();
    if (HandleAllocated()) {
        Invalidate();
    }
}

void TBaseDataTree::InvertSelection(bool visibleOnly)
{
    if (FSelectionLocked || !FOptions->SelectionOptions().Contains(toMultiSelect)) {
        return;
    }
    ClearTempCache();
    for (PDataNode node = visibleOnly ? GetFirstVisibleNoInit() : FRoot->FirstChild; node != nullptr;
         node = visibleOnly ? GetNextVisibleNoInit(node) : GetNextNoInit(node)) {
        if (node->States.Contains(vsSelected)) {
            InternalRemoveFromSelection(node);
        } else {
            AddToTempCache(node);
        }
    }
    PackSelection();
    const bool adding = FTempNodeCount > 0;
    AddTempCacheToSelection();
    if (HandleAllocated()) {
        Invalidate();
    }
    if (!adding) {
        Change(nullptr);
    }
    if (FSelectionCount == 0) {
        FNextNodeToSelect = nullptr;
    }
}

void TBaseDataTree::OrderByPosition(PDataNode& first, PDataNode& last) const
{
    if (CompareNodePositions(first, last, true) > 0) {
        std::swap(first, last);
    }
}

template <class Visit>
void TBaseDataTree::ForEachVisibleBetween(PDataNode first, PDataNode last, Visit visit)
{
    for (PDataNode node = first; node != nullptr && CompareNodePositions(node, last, true) <= 0;
         node = GetNextVisibleNoInit(node, true)) {
        visit(node);
    }
}

void TBaseDataTree::SelectNodes(PDataNode startNode, PDataNode endNode, bool addOnly)
{
    TreeAssert(endNode != nullptr, "EndNode must not be nil!");
    if (FSelectionLocked) {
        return;
    }
    ClearTempCache();
    if (startNode != nullptr && !GetFullyVisible(startNode)) {
        startNode = GetPreviousVisible(startNode, true);
    }
    if (startNode == nullptr) {
        startNode = GetFirstVisibleNoInit();
    }
    const PDataNode anchor = FRangeAnchor;
    if (!addOnly) {
        InternalClearSelection();
    }
    if (startNode != nullptr) {
        OrderByPosition(startNode, endNode);
        ForEachVisibleBetween(startNode, endNode, [this](PDataNode node) { AddToTempCache(node); });
    }
    AddTempCacheToSelection();
    if (anchor != nullptr && anchor->States.Contains(vsSelected)) {
        FRangeAnchor = anchor;
    }
}

void TBaseDataTree::ToggleSelection(PDataNode startNode, PDataNode endNode)
{
    TreeAssert(endNode != nullptr, "EndNode must not be nil!");
    if (FSelectionLocked) {
        return;
    }
    if (startNode == nullptr) {
        startNode = FRoot->FirstChild;
    } else if (!GetFullyVisible(startNode)) {
        startNode = GetPreviousVisible(startNode, true);
    }
    if (startNode == nullptr || CompareNodePositions(startNode, endNode, true) == 0) {
        return;
    }
    ClearTempCache();
    OrderByPosition(startNode, endNode);
    // The ends change only on the far side of the anchor.
    const PDataNode anchor = FRangeAnchor;
    const bool toggleFirst = anchor == nullptr || CompareNodePositions(startNode, anchor, true) < 0;
    const bool toggleLast = anchor == nullptr || CompareNodePositions(endNode, anchor, true) > 0;
    ForEachVisibleBetween(startNode, endNode, [&](PDataNode node) {
        if ((node == startNode && !toggleFirst) || (node == endNode && !toggleLast)) {
            return;
        }
        if (node->States.Contains(vsSelected)) {
            InternalRemoveFromSelection(node);
        } else {
            AddToTempCache(node);
        }
    });
    PackSelection();
    if (anchor != nullptr && !anchor->States.Contains(vsSelected)) {
        AddToTempCache(anchor);
    }
    AddTempCacheToSelection();
}

void TBaseDataTree::UnselectNodes(PDataNode startNode, PDataNode endNode)
{
    TreeAssert(endNode != nullptr, "EndNode must not be nil!");
    if (FSelectionLocked) {
        return;
    }
    if (startNode != nullptr && !GetFullyVisible(startNode)) {
        startNode = GetPreviousVisible(startNode, true);
    }
    if (startNode == nullptr) {
        startNode = FRoot->FirstChild;
    }
    if (startNode == nullptr) {
        return;
    }
    OrderByPosition(startNode, endNode);
    ForEachVisibleBetween(startNode, endNode, [this](PDataNode node) { InternalRemoveFromSelection(node); });
    PackSelection();
}

void TBaseDataTree::HandleClickSelection(PDataNode, PDataNode newNode, plat::TShiftState shift, bool dragPending)
{
    if (shift.Contains(plat::ssCtrl)) {
        if (shift.Contains(plat::ssShift)) {
            SelectNodes(FRangeAnchor, newNode, true);
            return;
        }
        if (!FOptions->SelectionOptions().Contains(toSiblingSelectConstraint)) {
            FRangeAnchor = newNode;
        }
        if (dragPending) {
            // The toggle waits for the button's release.
            DoStateChange({tsToggleFocusedSelection});
        } else if (newNode->States.Contains(vsSelected)) {
            RemoveFromSelection(newNode);
        } else {
            AddToSelection(newNode, true);
        }
    } else if (shift.Contains(plat::ssShift)) {
        if (FRangeAnchor == nullptr) {
            FRangeAnchor = FRoot->FirstChild;
        } else {
            SelectNodes(FRangeAnchor, newNode, false);
            if (HandleAllocated()) {
                Invalidate();
            }
        }
    } else {
        if (!newNode->States.Contains(vsSelected)) {
            AddToSelection(newNode, true);
        }
        FRangeAnchor = newNode;
    }
}

} // namespace qel
