// Which nodes of the data tree take room: the visibility predicates, the
// count of visible nodes, the hidden-children flag, hiding and showing
// nodes, filtering them, and showing or hiding filtered nodes as a whole.
#include "widgets/tree/base_data_tree.h"

namespace qel {

bool TBaseDataTree::GetEffectivelyVisible(PDataNode node) const
{
    return node->States.Contains(vsVisible) && !GetEffectivelyFiltered(node);
}

bool TBaseDataTree::GetExpanded(PDataNode node) const
{
    return node != nullptr && node->States.Contains(vsExpanded);
}

void TBaseDataTree::SetExpanded(PDataNode node, bool value)
{
    if (node != nullptr && node != FRoot && value != node->States.Contains(vsExpanded)) {
        ToggleNode(node);
    }
}

std::uint32_t TBaseDataTree::CountVisibleChildren(PDataNode node) const
{
    if (!node->States.Contains(vsExpanded)) {
        return 0;
    }
    std::uint32_t count = 0;
    for (PDataNode child = node->FirstChild; child != nullptr; child = child->fNextSibling) {
        if (child->States.Contains(vsVisible)) {
            count += CountVisibleChildren(child) + (GetEffectivelyVisible(child) ? 1 : 0);
        }
    }
    return count;
}

void TBaseDataTree::DetermineHiddenChildrenFlag(PDataNode node)
{
    bool hidden;
    if (node->FirstChild == nullptr) {
        hidden = !node->States.Contains(vsHasChildren);
    } else {
        hidden = true;
        for (PDataNode child = node->FirstChild; child != nullptr && hidden; child = child->fNextSibling) {
            hidden = !GetEffectivelyVisible(child);
        }
    }
    if (hidden) {
        node->States.Include(vsAllChildrenHidden);
    } else {
        node->States.Exclude(vsAllChildrenHidden);
    }
}

void TBaseDataTree::DetermineHiddenChildrenFlagAllNodes()
{
    ForEachPostOrder(FRoot, [this](PDataNode each) {
        if (each != FRoot) {
            DetermineHiddenChildrenFlag(each);
        }
    });
}

void TBaseDataTree::ShowFilteredNodes(bool shown)
{
    ForEachPostOrder(FRoot, [this, shown](PDataNode each) {
        if (each == FRoot || !each->States.Contains(vsFiltered)) {
            return;
        }
        if (GetFullyVisible(each)) {
            FVisibleCount = shown ? FVisibleCount + 1 : FVisibleCount - 1;
        }
        AdjustTotalHeight(each, shown ? each->fNodeHeight : -each->fNodeHeight, true);
    });
    // Whether a filtered child counts as visible has changed with the option.
    if (FUpdateCount > 0) {
        FStates.Include(tsUpdateHiddenChildrenNeeded);
    } else {
        DetermineHiddenChildrenFlagAllNodes();
    }
}

bool TBaseDataTree::GetVisible(PDataNode node)
{
    return Initialized(node != nullptr ? node : FRoot)->States.Contains(vsVisible);
}

bool TBaseDataTree::GetFiltered(PDataNode node) const
{
    return node != nullptr && node->States.Contains(vsFiltered);
}

void TBaseDataTree::HiddenChildrenChanged(PDataNode parent)
{
    if (FUpdateCount > 0) {
        FStates.Include(tsUpdateHiddenChildrenNeeded);
    } else if (parent != FRoot) {
        DetermineHiddenChildrenFlag(parent);
    }
}

void TBaseDataTree::SetVisible(PDataNode node, bool value)
{
    TreeAssert(node != nullptr && node != FRoot, "Invalid parameter.");
    if (value == node->States.Contains(vsVisible)) {
        return;
    }
    InterruptValidation();
    const PDataNode parent = node->fParent;
    const bool onVisiblePath = GetVisiblePath(node);
    // Rows the node takes with its subtree when it shows.
    const std::uint32_t rows = CountVisibleChildren(node) + (GetEffectivelyFiltered(node) ? 0 : 1);
    if (value) {
        node->States.Include(vsVisible);
        if (parent->States.Contains(vsExpanded)) {
            AdjustTotalHeight(parent, node->TotalHeight, true);
        }
        if (onVisiblePath) {
            FVisibleCount += rows;
        }
        if (!GetEffectivelyFiltered(node)) {
            parent->States.Exclude(vsAllChildrenHidden);
        }
    } else {
        if (parent->States.Contains(vsExpanded)) {
            AdjustTotalHeight(parent, -node->TotalHeight, true);
        }
        if (onVisiblePath) {
            FVisibleCount -= rows;
        }
        node->States.Exclude(vsVisible);
        HiddenChildrenChanged(parent);
    }
    InvalidateCache();
    if (onVisiblePath && FUpdateCount == 0) {
        ValidateCache();
        UpdateScrollBars(true);
        if (HandleAllocated()) {
            Invalidate();
        }
    }
}

void TBaseDataTree::SetFiltered(PDataNode node, bool value)
{
    TreeAssert(node != nullptr && node != FRoot, "Invalid parameter.");
    Initialized(node);
    if (value == node->States.Contains(vsFiltered)) {
        return;
    }
    InterruptValidation();
    const bool showFiltered = FOptions->PaintOptions().Contains(toShowFilteredNodes);
    const bool fullyVisible = GetFullyVisible(node);
    if (value) {
        node->States.Include(vsFiltered);
        if (!showFiltered) {
            if (node->States.Contains(vsInitializing) && !node->States.Contains(vsHasChildren)) {
                AdjustTotalHeight(node, 0);
            } else {
                AdjustTotalHeight(node, -GetNodeHeight(node), true);
            }
            if (fullyVisible) {
                --FVisibleCount;
            }
            if (node == FFocusedNode) {
                SetFocusedNode(nullptr);
            }
        }
        HiddenChildrenChanged(node->fParent);
    } else {
        node->States.Exclude(vsFiltered);
        if (!showFiltered) {
            AdjustTotalHeight(node, GetNodeHeight(node), true);
            if (fullyVisible) {
                ++FVisibleCount;
            }
            if (node->States.Contains(vsVisible)) {
                node->fParent->States.Exclude(vsAllChildrenHidden);
            }
        }
    }
    InvalidateCache();
    if (fullyVisible && !showFiltered && FUpdateCount == 0) {
        ValidateCache();
        UpdateScrollBars(true);
        if (HandleAllocated()) {
            Invalidate();
        }
    }
}

void TBaseDataTree::SetFullyVisible(PDataNode node, bool value)
{
    TreeAssert(node != nullptr && node != FRoot, "Invalid parameter");
    SetVisible(node, value);
    if (value) {
        for (PDataNode run = node->fParent; run != FRoot; run = run->fParent) {
            if (!run->States.Contains(vsExpanded)) {
                ToggleNode(run);
            }
            if (!run->States.Contains(vsVisible)) {
                SetVisible(run, true);
            }
        }
    }
    ScrollIntoView(node, false, false);
}

void TBaseDataTree::SetVisiblePath(PDataNode node, bool value)
{
    TreeAssert(node != nullptr && node != FRoot, "Invalid parameter.");
    if (!value) {
        return;
    }
    for (PDataNode run = node->fParent; run != FRoot; run = run->fParent) {
        if (!run->States.Contains(vsExpanded)) {
            ToggleNode(run);
        }
    }
}

} // namespace qel
