// Which nodes of the data tree take room: the visibility predicates, the
// count of visible nodes, the hidden-children flag, showing and hiding
// filtered nodes, and expanding and collapsing a node with its events.
#include "widgets/tree/base_data_tree.h"

#include "widgets/tree/try_finally.h"

namespace qel {

bool TBaseDataTree::GetEffectivelyFiltered(PDataNode node) const
{
    return node != nullptr && node->States.Contains(vsFiltered) &&
           !FOptions->PaintOptions().Contains(toShowFilteredNodes);
}

bool TBaseDataTree::GetEffectivelyVisible(PDataNode node) const
{
    return node->States.Contains(vsVisible) && !GetEffectivelyFiltered(node);
}

bool TBaseDataTree::GetVisiblePath(PDataNode node) const
{
    TreeAssert(node != nullptr && node != FRoot, "Invalid parameters.");
    for (PDataNode run = node->fParent; run != FRoot; run = run->fParent) {
        if (!run->States.Contains(vsExpanded) || !run->States.Contains(vsVisible)) {
            return false;
        }
    }
    return true;
}

bool TBaseDataTree::GetFullyVisible(PDataNode node) const
{
    TreeAssert(node != nullptr, "Invalid parameter.");
    if (node != FRoot && node->States.Contains(vsVisible)) {
        return GetVisiblePath(node);
    }
    return node->States.Contains(vsVisible);
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

namespace {

// Asks a changing event; allowed unless its handler says otherwise.
bool Allowed(TBaseDataTree* tree, const TDTChangingEvent& event, PDataNode node)
{
    bool allowed = true;
    if (event) {
        event(tree, node, allowed);
    }
    return allowed;
}

} // namespace

bool TBaseDataTree::DoExpanding(PDataNode node)
{
    return Allowed(this, OnExpanding, node);
}

void TBaseDataTree::DoExpanded(PDataNode node)
{
    OnExpanded(this, node);
}

bool TBaseDataTree::DoCollapsing(PDataNode node)
{
    return Allowed(this, OnCollapsing, node);
}

void TBaseDataTree::DoCollapsed(PDataNode node)
{
    OnCollapsed(this, node);
}

void TBaseDataTree::ToggleNode(PDataNode node)
{
    TreeAssert(node != nullptr, "Node must not be nil.");
    if (node->States.Contains(vsToggling) || node->States.Contains(vsDeleting)) {
        return;
    }
    const bool wasToggling = FStates.Contains(tsToggling);
    DoStateChange({tsToggling});
    node->States.Include(vsToggling);
    TryFinally(
        [&] {
            const bool collapsing = node->States.Contains(vsExpanded);
            const bool allowed = collapsing ? DoCollapsing(node) : DoExpanding(node);
            if (!allowed) {
                return;
            }
            if (collapsing) {
                AdjustTotalHeight(node, EffectiveOwnHeight(node));
                if (GetFullyVisible(node)) {
                    FVisibleCount -= CountVisibleChildren(node);
                }
                node->States.Exclude(vsExpanded);
                DoCollapsed(node);
                if (FOptions->AutoOptions().Contains(toAutoFreeOnCollapse) && node->FirstChild != nullptr) {
                    DeleteChildren(node, false);
                    node->States.Include(vsHasChildren);
                }
            } else {
                if (!node->States.Contains(vsInitialized)) {
                    InitNode(node);
                }
                if (!GetChildrenInitialized(node)) {
                    InitChildren(node);
                }
                if (node->FirstChild != nullptr) {
                    std::int64_t added = 0;
                    for (PDataNode child = node->FirstChild; child != nullptr; child = child->fNextSibling) {
                        if (child->States.Contains(vsVisible)) {
                            added += child->TotalHeight;
                        }
                    }
                    AutoSort(node, false);
                    node->States.Include(vsExpanded);
                    AdjustTotalHeight(node, added, true);
                    if (GetFullyVisible(node)) {
                        FVisibleCount += CountVisibleChildren(node);
                    }
                    DoExpanded(node);
                }
            }
            InvalidateCache();
            if (IsUpdating()) {
                UpdateScrollBars(true);
                return;
            }
            ValidateCache();
            if (node->FirstChild == nullptr) {
                InvalidateNode(node);
            } else {
                UpdateScrollBars(true);
                InvalidateToBottom(node);
            }
        },
        [&] {
            node->States.Exclude(vsToggling);
            if (!wasToggling) {
                DoStateChange({}, {tsToggling});
            }
        });
}

} // namespace qel
