// Which data tree nodes take room: hiding, filtering, showing the path to a
// node, expanding and collapsing whole subtrees, node heights and their
// scaling; random sequences of all of them keep every total equal to a
// recount.
#include "tests/widgets/tree/tree_fixture.h"

#include <functional>
#include <random>

namespace qel::tree_test {
namespace {

class Visibility : public TreeTest {
protected:
    Visibility()
    {
        Top = Tree->AddChild(nullptr);
        Tree->SetChildCount(Top, 3);
        Other = Tree->AddChild(nullptr);
        Tree->ValidateNode(nullptr, true);
        Tree->SetExpanded(Top, true);
    }

    PDataNode Top = nullptr;
    PDataNode Other = nullptr;
};

TEST_F(Visibility, HidingANodeTakesItsRowsAway)
{
    ASSERT_EQ(Tree->VisibleCount(), 5u);
    const std::int64_t rootHeight = Tree->RootNode()->TotalHeight;
    const std::int64_t topHeight = Top->TotalHeight;
    Tree->SetVisible(Top, false);
    EXPECT_EQ(Tree->VisibleCount(), 1u) << "the node and its three children";
    EXPECT_EQ(Tree->RootNode()->TotalHeight, rootHeight - topHeight);
    EXPECT_EQ(CheckInvariants(*Tree), "");
    Tree->SetVisible(Top, true);
    EXPECT_EQ(Tree->VisibleCount(), 5u);
    EXPECT_EQ(Tree->RootNode()->TotalHeight, rootHeight);
    EXPECT_EQ(CheckInvariants(*Tree), "");

    Tree->SetVisible(Top->FirstChild, false);
    Tree->SetVisible(Top->FirstChild->fNextSibling, false);
    Tree->SetVisible(Top->fLastChild, false);
    EXPECT_TRUE(Top->States.Contains(vsAllChildrenHidden));
    EXPECT_EQ(CheckInvariants(*Tree), "");
}

TEST_F(Visibility, FilteringTakesOnlyTheNodesOwnRow)
{
    Tree->SetFiltered(Top, true);
    EXPECT_EQ(Tree->VisibleCount(), 4u);
    EXPECT_EQ(Top->TotalHeight, 3 * 18) << "the children keep their rows";
    EXPECT_EQ(CheckInvariants(*Tree), "");

    Tree->TreeOptions()->SetPaintOptions(Tree->TreeOptions()->PaintOptions() + TDTPaintOptions{toShowFilteredNodes});
    EXPECT_EQ(Tree->VisibleCount(), 5u) << "filtered nodes shown again";
    EXPECT_EQ(CheckInvariants(*Tree), "");
    Tree->TreeOptions()->SetPaintOptions(Tree->TreeOptions()->PaintOptions() - TDTPaintOptions{toShowFilteredNodes});
    Tree->SetFiltered(Top, false);
    EXPECT_EQ(Tree->VisibleCount(), 5u);
    EXPECT_EQ(CheckInvariants(*Tree), "");
}

TEST_F(Visibility, AFilteredNodeKeepsItsOwnHeightForLater)
{
    Tree->SetFiltered(Other, true);
    Tree->SetNodeHeight(Other, 40);
    EXPECT_EQ(Other->fNodeHeight, 40);
    EXPECT_EQ(Other->TotalHeight, 0);
    Tree->SetFiltered(Other, false);
    EXPECT_EQ(Other->TotalHeight, 40);
    EXPECT_EQ(CheckInvariants(*Tree), "");
}

TEST_F(Visibility, AFocusedNodeLosesTheFocusWhenFiltered)
{
    Tree->SetFocusedNode(Other);
    Tree->SetFiltered(Other, true);
    EXPECT_EQ(Tree->FocusedNode(), nullptr);
}

TEST_F(Visibility, FullyVisibleOpensAndShowsTheWay)
{
    const PDataNode child = Top->FirstChild;
    Tree->SetChildCount(child, 2);
    const PDataNode grandChild = child->FirstChild;
    Tree->SetVisible(Top, false);
    Tree->SetExpanded(Top, false);
    Tree->SetVisible(grandChild, false);
    Tree->SetFullyVisible(grandChild, true);
    EXPECT_TRUE(Tree->GetFullyVisible(grandChild));
    EXPECT_TRUE(Top->States.Contains(vsVisible));
    EXPECT_TRUE(child->States.Contains(vsExpanded));
    EXPECT_EQ(CheckInvariants(*Tree), "");

    Tree->SetExpanded(Top, false);
    Tree->SetVisiblePath(grandChild, true);
    EXPECT_TRUE(Top->States.Contains(vsExpanded));
    EXPECT_THROW(Tree->SetVisiblePath(Tree->RootNode(), true), EAssertionFailed);
    EXPECT_THROW(Tree->SetVisible(nullptr, true), EAssertionFailed);
}

TEST_F(Visibility, FullExpandAndCollapseReachEveryLevel)
{
    Tree->SetChildCount(Top->FirstChild, 2);
    Tree->SetChildCount(Top->FirstChild->FirstChild, 2);
    Tree->SetExpanded(Top, false);
    std::vector<PDataNode> expanded;
    Tree->OnExpanded = [&](plat::TObject*, PDataNode node) { expanded.push_back(node); };
    Tree->FullExpand();
    EXPECT_EQ(expanded, (std::vector<PDataNode>{Top, Top->FirstChild, Top->FirstChild->FirstChild}));
    EXPECT_EQ(Tree->VisibleCount(), AllNodes(*Tree).size());
    EXPECT_FALSE(Tree->TreeStates().Contains(tsExpanding));
    EXPECT_EQ(CheckInvariants(*Tree), "");

    Tree->FullCollapse(Top->FirstChild);
    EXPECT_FALSE(Top->FirstChild->States.Contains(vsExpanded));
    EXPECT_FALSE(Top->FirstChild->FirstChild->States.Contains(vsExpanded));
    EXPECT_TRUE(Top->States.Contains(vsExpanded)) << "only the subtree";
    Tree->FullCollapse();
    for (PDataNode node : AllNodes(*Tree)) {
        EXPECT_FALSE(node->States.Contains(vsExpanded));
    }
    EXPECT_EQ(Tree->VisibleCount(), 2u);
    EXPECT_EQ(CheckInvariants(*Tree), "");

    // A cancelled operation stops the expansion.
    Tree->OnExpanded = [&](plat::TObject*, PDataNode) { Tree->CancelOperation(); };
    Tree->FullExpand();
    EXPECT_TRUE(Top->States.Contains(vsExpanded));
    EXPECT_FALSE(Top->FirstChild->States.Contains(vsExpanded));
    EXPECT_EQ(CheckInvariants(*Tree), "");
}

TEST_F(Visibility, DefaultNodeHeightAndScaling)
{
    Tree->SetDefaultNodeHeight(0);
    EXPECT_EQ(Tree->DefaultNodeHeight(), 18);
    Tree->SetNodeHeight(Top->FirstChild, 25);
    Tree->SetFiltered(Other, true);
    Tree->ScaleNodeHeights(3, 2);
    EXPECT_EQ(Top->fNodeHeight, 27);
    EXPECT_EQ(Top->FirstChild->fNodeHeight, 38) << "25 * 3 / 2 rounded";
    EXPECT_EQ(Other->fNodeHeight, 27) << "filtered nodes are scaled too";
    EXPECT_EQ(CheckInvariants(*Tree), "") << "totals recounted once";

    // Nodes never initialised are scaled as well, whatever their depth.
    const PDataNode fresh = Tree->AddChild(Top->fLastChild);
    Tree->ScaleNodeHeights(1, 3);
    EXPECT_EQ(fresh->fNodeHeight, 6);
    EXPECT_EQ(CheckInvariants(*Tree), "");
    Tree->ScaleNodeHeights(1, 0);
    EXPECT_EQ(fresh->fNodeHeight, 6) << "no scale by zero";
}

TEST_F(Visibility, VariableHeightsAreMeasuredOnce)
{
    int measured = 0;
    Tree->OnMeasureItem = [&](plat::TObject*, plat::TCanvas*, PDataNode, TDimension& height) {
        ++measured;
        height = 30;
    };
    Tree->TreeOptions()->SetMiscOptions(Tree->TreeOptions()->MiscOptions() + TDTMiscOptions{toVariableNodeHeight});
    const int afterOption = measured;
    EXPECT_EQ(Tree->GetNodeHeight(Other), 30);
    EXPECT_EQ(Tree->GetNodeHeight(Other), 30);
    EXPECT_LE(measured, afterOption + 1);
    EXPECT_EQ(CheckInvariants(*Tree), "");
    EXPECT_EQ(Tree->GetNodeHeight(nullptr), 0);
    EXPECT_EQ(Tree->GetNodeHeight(Tree->RootNode()), 0);
}

TEST_F(Visibility, SmallSetters)
{
    Tree->SetVerticalAlignment(Other, 250);
    EXPECT_EQ(Tree->GetVerticalAlignment(Other), 100);
    Tree->SetMultiline(Other, true);
    EXPECT_TRUE(Tree->GetMultiline(Other));
    Tree->SetMultiline(Tree->RootNode(), true);
    EXPECT_FALSE(Tree->GetMultiline(Tree->RootNode()));
    Tree->SetDisabled(Other, true);
    EXPECT_TRUE(Tree->GetDisabled(Other));
    EXPECT_THROW(Tree->SetNodeHeight(nullptr, 3), EAssertionFailed);
    EXPECT_THROW(Tree->SetNodeHeight(Tree->RootNode(), 3), EAssertionFailed);
}

// Random toggles, hiding, filtering, heights and structure changes: the
// totals and the visible count always equal a recount.
TEST_F(Visibility, RandomSequencesKeepTheTotals)
{
    std::mt19937 engine(7);
    const auto anyNode = [&] {
        const std::vector<PDataNode> nodes = AllNodes(*Tree);
        return nodes[engine() % nodes.size()];
    };
    const std::vector<std::function<void()>> steps = {
        [&] { Tree->ToggleNode(anyNode()); },
        [&] { Tree->SetVisible(anyNode(), engine() % 2 == 0); },
        [&] { Tree->SetFiltered(anyNode(), engine() % 2 == 0); },
        [&] { Tree->SetNodeHeight(anyNode(), 1 + engine() % 40); },
        [&] { Tree->AddChild(anyNode()); },
        [&] { Tree->SetChildCount(anyNode(), engine() % 4); },
        [&] { Tree->FullExpand(anyNode()); },
        [&] { Tree->FullCollapse(anyNode()); },
        [&] {
            TDTPaintOptions options = Tree->TreeOptions()->PaintOptions();
            if (options.Contains(toShowFilteredNodes)) {
                options.Exclude(toShowFilteredNodes);
            } else {
                options.Include(toShowFilteredNodes);
            }
            Tree->TreeOptions()->SetPaintOptions(options);
        },
        [&] { Tree->ScaleNodeHeights(1 + engine() % 3, 1 + engine() % 3); },
    };
    for (int i = 0; i < 3000; ++i) {
        const std::size_t step = engine() % steps.size();
        steps[step]();
        const std::string fault = CheckInvariants(*Tree);
        ASSERT_EQ(fault, "") << "step " << i << ", operation " << step;
    }
}

class Animation : public TreeTest {
protected:
    plat::TManualClock& Clock() { return Host.Clock(); }
};

TEST_F(Animation, NoDurationNoCalls)
{
    int calls = 0;
    Tree->Animate(50, 0, [&](int, int) { return ++calls > 0; });
    EXPECT_EQ(calls, 0);
}

TEST_F(Animation, StepsKeepTheirRateOrGrow)
{
    struct TCase {
        int msPerStep;      // time each callback takes on the clock
        int maxCalls;
    };
    for (const TCase& each : {TCase{4, 50}, TCase{0, 50}, TCase{10, 25}, TCase{60, 4}}) {
        SCOPED_TRACE(each.msPerStep);
        std::vector<std::pair<int, int>> calls;
        Tree->Animate(50, 200, [&](int step, int size) {
            calls.emplace_back(step, size);
            Clock().Advance(each.msPerStep);
            return true;
        });
        ASSERT_FALSE(calls.empty());
        EXPECT_EQ(calls.back(), std::make_pair(0, 0)) << "the closing call";
        EXPECT_LE(static_cast<int>(calls.size()) - 1, each.maxCalls);
        int covered = 0;
        for (std::size_t i = 0; i + 1 < calls.size(); ++i) {
            covered += calls[i].second;
            EXPECT_GT(calls[i].second, 0);
        }
        EXPECT_LE(covered, 50) << "never beyond the steps asked for";
        EXPECT_FALSE(Tree->TreeStates().Contains(tsInAnimation));
    }
}

TEST_F(Animation, ACallbackCanStopItAndNestingIsRefused)
{
    int calls = 0;
    int nested = 0;
    Tree->Animate(10, 100, [&](int, int size) {
        ++calls;
        Tree->Animate(10, 100, [&](int, int) { return ++nested > 0; });
        return size == 0;
    });
    EXPECT_EQ(calls, 2) << "one step, then the closing call";
    EXPECT_EQ(nested, 0);
}

} // namespace
} // namespace qel::tree_test
