// Expanding and collapsing data tree nodes: the events and their vetoes,
// heights and the visible count, nodes without children, and children
// freed on collapse.
#include "tests/widgets/tree/tree_fixture.h"

#include "widgets/tree/toggle_animation.h"

#include <map>

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


// ---- the toggle animation ----

// The bands an animated toggle moves, worked out from the row, the client
// height, the offset, the range and the height the children add.
TEST(ToggleBands, WhichBandMovesWhichWayAndHowFar)
{
    struct TCase {
        const char* name;
        bool expanding;
        TToggleGeometry geometry;
        TToggleRegion first;
        TToggleRegion second;
        bool runs;
    };
    const auto g = [](int top, int offset, std::int64_t range, std::int64_t delta, bool above, bool advanced,
                      bool autoScroll) {
        TToggleGeometry geometry;
        geometry.RowTop = top;
        geometry.RowBottom = top + 18;
        geometry.NodeHeight = 18;
        geometry.ClientHeight = 200;
        geometry.OffsetY = offset;
        geometry.Range = range;
        geometry.Delta = delta;
        geometry.ChildrenAbove = above;
        geometry.Advanced = advanced;
        geometry.AutoScrollOnExpand = autoScroll;
        return geometry;
    };
    const TCase cases[] = {
        // Collapse: what lies below the row moves up by the children's height.
        {"collapse", false, g(36, 0, 400, -54, false, false, true), {54, 200, tdUp, 54}, {}, true},
        {"collapse near the bottom", false, g(170, 0, 400, -90, false, false, true), {188, 200, tdUp, 13}, {},
         true},
        {"collapse children above", false, g(100, 0, 400, -54, true, false, true), {0, 100, tdDown, 54}, {}, true},
        // Expand: what lies below the row moves down to make room.
        {"expand", true, g(36, 0, 400, 54, false, false, true), {54, 200, tdDown, 54}, {}, true},
        {"expand near the bottom", true, g(170, 0, 400, 90, false, false, true), {188, 200, tdDown, 12}, {}, true},
        // Both bands move: the one that moves further drives.
        {"expand, advanced, too tall", true, g(100, 0, 400, 150, false, true, true), {119, 200, tdDown, 81},
         {0, 119, tdUp, 69}, true},
        {"expand children above", true, g(100, 0, 400, 54, true, false, true), {0, 100, tdUp, 54}, {}, true},
        {"expand below the client", true, g(200, 0, 400, 54, false, false, true), {218, 200, tdDown, -18}, {},
         false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        const TToggleAnimation animation =
            c.expanding ? TToggleAnimation::ForExpand(c.geometry) : TToggleAnimation::ForCollapse(c.geometry);
        EXPECT_EQ(animation.Runs(), c.runs);
        if (!c.runs) {
            continue;
        }
        for (const auto& [got, wanted] : {std::pair{animation.First, c.first}, std::pair{animation.Second, c.second}}) {
            EXPECT_EQ(got.Top, wanted.Top);
            EXPECT_EQ(got.Bottom, wanted.Bottom);
            EXPECT_EQ(got.Direction, wanted.Direction);
            EXPECT_EQ(got.Amount, wanted.Amount);
        }
        EXPECT_EQ(animation.Steps(), c.first.Amount);
    }
}

// Each step of an animated toggle scrolls the band on the window: before
// the tree repaints, the rows below a collapsed node already stand right
// under it and those below an expanded one where its children end.
class ToggleAnimationOnScreen : public TreeTest {
protected:
    ToggleAnimationOnScreen()
    {
        ShowForm();
        Tree->SetBounds(0, 0, 200, 150);
        Tree->SetBorderStyle(bsNone);
        Tree->SetDefaultText("");
        Tree->SetRootNodeCount(3);
        A = Tree->GetFirst();
        Tree->SetChildCount(A, 3);
        Tree->SetExpanded(A, true);
        B = A->fNextSibling;
        Tree->OnBeforeItemErase = [this](plat::TObject*, plat::TCanvas*, PDataNode node, const plat::TRect&,
                                         plat::TColor& colour, TItemEraseAction& action) {
            action = eaColor;
            colour = Colours.at(node);
        };
        Colours = {{A, plat::clRed}, {A->FirstChild, plat::clLime}, {A->FirstChild->fNextSibling, plat::clLime},
                   {A->fLastChild, plat::clLime}, {B, plat::clBlue}, {B->fNextSibling, plat::clYellow}};
        Tree->SetColor(plat::clWhite);
        Tree->SetAnimationDuration(200);
        Host.PumpUntilIdle();
    }

    // The colour of the tree's window at client row y, as it shows now.
    plat::COLORREF ShownAt(int y)
    {
        const std::unique_ptr<plat::TPixelSurface> shot = Host.Capture(Form->Handle());
        return CapturePixel(*shot, ClientOriginInCapture(*Tree, *Form), 100, y);
    }

    PDataNode A = nullptr;
    PDataNode B = nullptr;
    std::map<PDataNode, plat::TColor> Colours;
};

TEST_F(ToggleAnimationOnScreen, TheBandBelowTheNodeScrolls)
{
    const auto rgb = [](plat::TColor colour) { return plat::ColorToRGB(colour) & 0xFFFFFF; };
    ASSERT_EQ(ShownAt(18 + 5), rgb(plat::clLime));
    ASSERT_EQ(ShownAt(72 + 5), rgb(plat::clBlue));
    std::map<int, plat::COLORREF> collapsed;
    Tree->OnCollapsed = [&](plat::TObject*, PDataNode) {
        collapsed = {{18 + 5, ShownAt(18 + 5)}, {36 + 5, ShownAt(36 + 5)}, {140, ShownAt(140)}};
    };
    Tree->SetExpanded(A, false);
    EXPECT_EQ(collapsed[18 + 5], rgb(plat::clBlue)) << "the next node moved up under the collapsed one";
    EXPECT_EQ(collapsed[36 + 5], rgb(plat::clYellow));
    EXPECT_EQ(collapsed[140], rgb(plat::clWhite)) << "the uncovered strip has the background";

    Host.PumpUntilIdle();
    std::map<int, plat::COLORREF> expanded;
    Tree->OnExpanded = [&](plat::TObject*, PDataNode) {
        expanded = {{18 + 5, ShownAt(18 + 5)}, {72 + 5, ShownAt(72 + 5)}, {90 + 5, ShownAt(90 + 5)}};
    };
    Tree->SetExpanded(A, true);
    EXPECT_EQ(expanded[18 + 5], rgb(plat::clWhite)) << "room for the children, in the background";
    EXPECT_EQ(expanded[72 + 5], rgb(plat::clBlue)) << "the next node moved down below the children";
    EXPECT_EQ(expanded[90 + 5], rgb(plat::clYellow));
    Host.PumpUntilIdle();
    EXPECT_EQ(ShownAt(18 + 5), rgb(plat::clLime)) << "then the tree paints the children";
}

} // namespace
} // namespace qel::tree_test
