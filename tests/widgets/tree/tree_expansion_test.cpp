// Expanding and collapsing data tree nodes: the events and their vetoes,
// heights and the visible count, nodes without children, and children
// freed on collapse.
#include "tests/widgets/tree/tree_fixture.h"

namespace qel::tree_test {
namespace {

class TreeExpansion : public TreeTest {
protected:
    TreeExpansion()
    {
        Tree->OnExpanded = [this](plat::TObject*, PDataNode node) { Expanded.push_back(node); };
        Tree->OnCollapsed = [this](plat::TObject*, PDataNode node) { Collapsed.push_back(node); };
        Top = Tree->AddChild(nullptr);
        Tree->SetChildCount(Top, 3);
        Tree->SetChildCount(Top->FirstChild, 2);
    }

    PDataNode Top = nullptr;
    std::vector<PDataNode> Expanded;
    std::vector<PDataNode> Collapsed;
};

TEST_F(TreeExpansion, ExpandingAndCollapsingMoveHeightsAndTheVisibleCount)
{
    EXPECT_EQ(Tree->VisibleCount(), 1u);
    Tree->SetExpanded(Top->FirstChild, true);
    EXPECT_EQ(Tree->VisibleCount(), 1u) << "below a collapsed node nothing shows";
    Tree->SetExpanded(Top, true);
    EXPECT_EQ(Tree->VisibleCount(), 1u + 3 + 2);
    EXPECT_EQ(Tree->RootNode()->TotalHeight, 18 * (1 + 1 + 3 + 2));
    EXPECT_EQ(Expanded, (std::vector<PDataNode>{Top->FirstChild, Top}));
    EXPECT_EQ(CheckInvariants(*Tree), "");
    Tree->SetExpanded(Top, false);
    EXPECT_EQ(Tree->VisibleCount(), 1u);
    EXPECT_EQ(Tree->RootNode()->TotalHeight, 18 * 2);
    EXPECT_EQ(Collapsed, std::vector<PDataNode>{Top});
    EXPECT_TRUE(Top->FirstChild->States.Contains(vsExpanded)) << "the child keeps its own state";
    EXPECT_EQ(CheckInvariants(*Tree), "");
}

TEST_F(TreeExpansion, AVetoLeavesEverythingAsItWas)
{
    Tree->SetExpanded(Top, true);
    Tree->OnCollapsing = +[](plat::TObject*, PDataNode, bool& allowed) { allowed = false; };
    const std::int64_t height = Tree->RootNode()->TotalHeight;
    Tree->SetExpanded(Top, false);
    EXPECT_TRUE(Top->States.Contains(vsExpanded));
    EXPECT_EQ(Tree->RootNode()->TotalHeight, height);
    EXPECT_TRUE(Collapsed.empty());
    EXPECT_FALSE(Tree->TreeStates().Contains(tsToggling));
}

TEST_F(TreeExpansion, ANodeWithoutChildrenStaysClosed)
{
    const PDataNode empty = Tree->AddChild(nullptr);
    Tree->SetHasChildren(empty, true);
    Tree->OnInitChildren = +[](plat::TObject*, PDataNode, std::uint32_t& count) { count = 0; };
    Tree->SetExpanded(empty, true);
    EXPECT_FALSE(empty->States.Contains(vsExpanded));
    EXPECT_TRUE(Expanded.empty());
    EXPECT_FALSE(empty->States.Contains(vsHasChildren));
}

TEST_F(TreeExpansion, AutoFreeOnCollapseAsksForTheChildrenAgain)
{
    Tree->SetExpanded(Top, true);
    Tree->ValidateNode(Top, true);
    Tree->TreeOptions()->SetAutoOptions(Tree->TreeOptions()->AutoOptions() + TDTAutoOptions{toAutoFreeOnCollapse});
    int freed = 0;
    Tree->OnFreeNode = [&freed](plat::TObject*, PDataNode) { ++freed; };
    Tree->SetExpanded(Top, false);
    EXPECT_EQ(freed, 3 + 2);
    EXPECT_EQ(Top->FirstChild, nullptr);
    EXPECT_TRUE(Top->States.Contains(vsHasChildren));
    EXPECT_EQ(CheckInvariants(*Tree), "");
}

} // namespace
} // namespace qel::tree_test
