// Where a node of the data tree stands: its level, its index in tree
// order, its parents, and the painted order of two nodes.
#include "widgets/tree/base_data_tree.h"

namespace qel {

std::uint32_t TBaseDataTree::GetNodeLevel(PDataNode node) const
{
    if (node == nullptr || node == FRoot) {
        return 0;
    }
    std::uint32_t level = 0;
    for (PDataNode run = node->fParent; run != FRoot; run = run->fParent) {
        ++level;
    }
    return level;
}

int TBaseDataTree::GetLevelDifference(PDataNode node1, PDataNode node2) const
{
    TreeAssert(node1 != nullptr && node2 != nullptr, "Both nodes must be Assigned.");
    return static_cast<int>(GetNodeLevel(node2)) - static_cast<int>(GetNodeLevel(node1));
}

std::uint32_t TBaseDataTree::AbsoluteIndex(PDataNode node)
{
    if (node == nullptr || node == FRoot) {
        return 0;
    }
    // Whole subtrees before the node count through their TotalCount.
    std::uint32_t index = 0;
    for (PDataNode run = node; run != FRoot;) {
        for (PDataNode previous = run->fPrevSibling; previous != nullptr; previous = previous->fPrevSibling) {
            index += Initialized(previous)->TotalCount;
        }
        run = run->fParent;
        if (run != FRoot) {
            Initialized(run);
            ++index;
        }
    }
    return index;
}

bool TBaseDataTree::HasAsParent(PDataNode node, PDataNode potentialParent) const
{
    if (node == nullptr || potentialParent == nullptr || node == potentialParent || node == FRoot) {
        return false;
    }
    if (potentialParent == FRoot) {
        return true;
    }
    for (PDataNode run = node->fParent; run != FRoot; run = run->fParent) {
        if (run == potentialParent) {
            return true;
        }
    }
    return false;
}

PDataNode TBaseDataTree::GetVisibleParent(PDataNode node, bool includeFiltered)
{
    TreeAssert(node != nullptr, "Node must not be nil.");
    TreeAssert(node != FRoot, "Node must not be the hidden root node.");
    PDataNode run = node->fParent;
    while (run != FRoot && !(GetFullyVisible(run) && (includeFiltered || !GetEffectivelyFiltered(run)))) {
        run = run->fParent;
    }
    return run;
}

PDataNode TBaseDataTree::GetNodeParent(PDataNode node) const
{
    if (node == nullptr || node == FRoot || node->fParent == FRoot) {
        return nullptr;
    }
    return node->fParent;
}

int TBaseDataTree::CompareNodePositions(PDataNode node1, PDataNode node2, bool considerChildrenAbove) const
{
    TreeAssert(node1 != nullptr && node2 != nullptr, "Nodes must never be nil.");
    if (node1 == node2) {
        return 0;
    }
    const bool childrenAbove = UsesChildrenAbove(considerChildrenAbove);
    if (HasAsParent(node1, node2)) {
        return childrenAbove ? -1 : 1;
    }
    if (HasAsParent(node2, node1)) {
        return childrenAbove ? 1 : -1;
    }
    // Neither lies below the other: compare the ancestors that are siblings.
    std::uint32_t level1 = GetNodeLevel(node1);
    std::uint32_t level2 = GetNodeLevel(node2);
    for (; level1 > level2; --level1) {
        node1 = node1->fParent;
    }
    for (; level2 > level1; --level2) {
        node2 = node2->fParent;
    }
    while (node1->fParent != node2->fParent) {
        node1 = node1->fParent;
        node2 = node2->fParent;
    }
    return node1->fIndex < node2->fIndex ? -1 : 1;
}

} // namespace qel
