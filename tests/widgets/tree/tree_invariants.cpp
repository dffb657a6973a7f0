// The brute-force recount behind the data tree's invariants: links and
// indexes, counts, heights, the has-children and hidden-children flags, the
// number of visible nodes and which nodes take a row, each recomputed
// without the tree's help.
#include "tests/widgets/tree/tree_fixture.h"

#include <sstream>

namespace qel::tree_test {

namespace {

struct TChecker {
    explicit TChecker(TBaseDataTree& tree)
        : Tree(tree), ShowFiltered(tree.TreeOptions()->PaintOptions().Contains(toShowFilteredNodes))
    {
    }

    TBaseDataTree& Tree;
    bool ShowFiltered;
    std::ostringstream Fault;
    std::uint32_t Visible = 0;

    bool EffectivelyVisible(PDataNode node) const
    {
        return node->States.Contains(vsVisible) && !(node->States.Contains(vsFiltered) && !ShowFiltered);
    }

    // pathOpen: every ancestor below the root is expanded and visible and
    // the parent is expanded.
    void Check(PDataNode node, bool pathOpen)
    {
        const bool root = node == Tree.RootNode();
        if (!root && pathOpen && EffectivelyVisible(node)) {
            ++Visible;
        }
        std::uint32_t count = 0;
        std::uint32_t totalCount = 1;
        std::int64_t height = 0;
        bool anyEffectivelyVisible = false;
        PDataNode previous = nullptr;
        for (PDataNode child = node->FirstChild; child != nullptr; child = child->fNextSibling) {
            if (child->fParent != node || child->fPrevSibling != previous || child->fIndex != count) {
                Fault << "links or index of child " << count << " at level below " << node << "; ";
                return;
            }
            totalCount += child->TotalCount;
            if (child->States.Contains(vsVisible)) {
                height += child->TotalHeight;
            }
            anyEffectivelyVisible = anyEffectivelyVisible || EffectivelyVisible(child);
            const bool childPathOpen = pathOpen && node->States.Contains(vsExpanded) &&
                                       (root || node->States.Contains(vsVisible));
            Check(child, childPathOpen);
            previous = child;
            ++count;
        }
        if (node->fLastChild != previous) {
            Fault << "last child of " << node << "; ";
        }
        if (node->fChildCount != count) {
            Fault << "child count " << node->fChildCount << " of " << node << ", recount " << count << "; ";
        }
        if (node->TotalCount != totalCount) {
            Fault << "TotalCount " << node->TotalCount << ", recount " << totalCount << "; ";
        }
        const bool filtered = !root && node->States.Contains(vsFiltered) && !ShowFiltered;
        const std::int64_t own = filtered ? 0 : node->fNodeHeight;
        const std::int64_t expected = own + (node->States.Contains(vsExpanded) ? height : 0);
        if (node->TotalHeight != expected) {
            Fault << "TotalHeight " << node->TotalHeight << ", recount " << expected << "; ";
        }
        if (count > 0 && !node->States.Contains(vsHasChildren)) {
            Fault << "children without vsHasChildren; ";
        }
        if (!root && node->States.Contains(vsAllChildrenHidden) && anyEffectivelyVisible) {
            Fault << "vsAllChildrenHidden with a visible child; ";
        }
    }
};

} // namespace

std::vector<PDataNode> AllNodesChildrenFirst(TBaseDataTree& tree)
{
    std::vector<PDataNode> nodes;
    ForEachPostOrder(tree.RootNode(), [&](PDataNode node) {
        if (node != tree.RootNode()) {
            nodes.push_back(node);
        }
    });
    return nodes;
}

bool TakesRow(TBaseDataTree& tree, PDataNode node)
{
    const bool showFiltered = tree.TreeOptions()->PaintOptions().Contains(toShowFilteredNodes);
    if (!node->States.Contains(vsVisible) || (node->States.Contains(vsFiltered) && !showFiltered)) {
        return false;
    }
    for (PDataNode up = node->fParent; up != tree.RootNode(); up = up->fParent) {
        if (!up->States.Contains(vsVisible) || !up->States.Contains(vsExpanded)) {
            return false;
        }
    }
    return true;
}

std::string CheckInvariants(TBaseDataTree& tree)
{
    TChecker checker(tree);
    checker.Check(tree.RootNode(), true);
    if (tree.VisibleCount() != checker.Visible) {
        checker.Fault << "VisibleCount " << tree.VisibleCount() << ", recount " << checker.Visible << "; ";
    }
    int selected = 0;
    for (PDataNode node : AllNodes(tree)) {
        selected += node->States.Contains(vsSelected) ? 1 : 0;
    }
    if (tree.SelectedCount() != selected) {
        checker.Fault << "SelectedCount " << tree.SelectedCount() << ", recount " << selected << "; ";
    }
    return checker.Fault.str();
}

} // namespace qel::tree_test
