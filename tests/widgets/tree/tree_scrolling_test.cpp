// Scrolling of the data tree: clamped offsets, the vertical range and its
// bar, TopNode and BottomSpace, the wheel with and without modifiers, bars
// that stay visible, centred ScrollIntoView, auto scrolling on the manual
// clock and wheel panning with the middle button.
#include "tests/widgets/tree/tree_fixture.h"

#include "platform/canvas/bitmap.h"
#include "platform/canvas/graphic.h"
#include "platform/canvas/pixel_surface.h"
#include "platform/controls/scroll_bars.h"
#include "platform/controls/virtual_keys.h"
#include "platform/controls/window.h"
#include "platform/controls/window_manager.h"
#include "platform/controls/window_paint.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace qel::tree_test {
namespace {

class TreeScrolling : public TreeTest {
protected:
    void ShowRows(std::uint32_t rows)
    {
        ShowForm();
        Tree->SetRootNodeCount(rows);
        Host.PumpUntilIdle();
        Row = Tree->DefaultNodeHeight();
    }

    plat::TPoint ScreenOf(plat::TPoint client)
    {
        plat::ClientToScreen(Tree->Handle(), client);
        return client;
    }

    const plat::TScrollBarState& VerticalBar() { return plat::TWindowManager::RecordOf(Tree->Handle())->VertScroll; }
    const plat::TScrollBarState& HorizontalBar()
    {
        return plat::TWindowManager::RecordOf(Tree->Handle())->HorzScroll;
    }

    PDataNode RootChild(int index)
    {
        PDataNode node = Tree->RootNode()->FirstChild;
        for (int i = 0; i < index; ++i) {
            node = node->fNextSibling;
        }
        return node;
    }

    void AddColumns(int count, int width)
    {
        for (int i = 0; i < count; ++i) {
            Tree->Header()->Columns().Add()->SetWidth(width);
        }
    }

    int Row = 18;
};

TEST_F(TreeScrolling, OffsetsAreClampedIntoTheVirtualArea)
{
    ShowRows(50);
    const int lowest = Tree->ClientHeight() - 50 * Row;
    struct TCase {
        int requested;
        int expected;
    };
    const TCase cases[] = {{10, 0}, {-50, -50}, {-100000, lowest}, {INT32_MIN, lowest}, {INT32_MAX, 0}};
    for (const TCase& each : cases) {
        Tree->SetOffsetY(each.requested);
        EXPECT_EQ(Tree->OffsetY(), each.expected) << each.requested;
    }
    Tree->SetOffsetX(-30);
    EXPECT_EQ(Tree->OffsetX(), 0) << "nothing to scroll horizontally";

    Tree->SetRootNodeCount(2);
    EXPECT_EQ(Tree->OffsetY(), 0) << "a short tree does not scroll";
    Tree->SetOffsetY(-20);
    EXPECT_EQ(Tree->OffsetY(), 0);
}

TEST_F(TreeScrolling, VerticalBarShowsTheRangeAndFollowsTheOffset)
{
    ShowRows(50);
    EXPECT_EQ(Tree->RangeY(), 50 * Row);
    EXPECT_EQ(VerticalBar().Max, 50 * Row);
    EXPECT_EQ(VerticalBar().Page, static_cast<unsigned>(Tree->ClientHeight() + 1));
    EXPECT_FALSE(plat::WindowScrollBarRect(Tree->Handle(), plat::SB_VERT).IsEmpty());
    Tree->SetOffsetY(-70);
    EXPECT_EQ(VerticalBar().Pos, 70);

    struct TCase {
        int code;
        int expected;
    };
    const int page = Tree->ClientHeight();
    const TCase cases[] = {
        {plat::SB_LINEDOWN, -90}, {plat::SB_LINEUP, -70}, {plat::SB_PAGEDOWN, -70 - page},
        {plat::SB_PAGEUP, -70},   {plat::SB_BOTTOM, page - 50 * Row}, {plat::SB_TOP, 0},
    };
    for (const TCase& each : cases) {
        plat::SendMessage(Tree->Handle(), plat::WM_VSCROLL, static_cast<plat::WPARAM>(each.code), 0);
        EXPECT_EQ(Tree->OffsetY(), each.expected) << "code " << each.code;
    }
}

TEST_F(TreeScrolling, TopNodeOpensACollapsedBranchAndTakesTheTopRow)
{
    ShowRows(10);
    const PDataNode branch = RootChild(3);
    Tree->SetChildCount(branch, 5);
    ASSERT_FALSE(Tree->GetExpanded(branch));
    const PDataNode target = Tree->GetFirstChild(branch)->fNextSibling->fNextSibling;
    Tree->SetTopNode(target);
    EXPECT_TRUE(Tree->GetExpanded(branch));
    EXPECT_EQ(Tree->TopNode(), target);
    EXPECT_EQ(Tree->GetDisplayRect(target, NoColumn, false).Top, 0);
    EXPECT_EQ(Tree->OffsetY(), -(4 + 2) * Row);

    // Too short to scroll that far: the view ends at the last row.
    const PDataNode last = Tree->GetLast();
    Tree->SetTopNode(last);
    EXPECT_EQ(Tree->OffsetY(), Tree->ClientHeight() - 15 * Row);
    EXPECT_EQ(Tree->BottomNode(), last);
    Tree->SetTopNode(nullptr);
    EXPECT_EQ(Tree->BottomNode(), last) << "nil changes nothing";
}

TEST_F(TreeScrolling, BottomSpaceLetsTheLastRowRiseAboveTheBottomEdge)
{
    ShowRows(50);
    Tree->SetBottomSpace(100);
    EXPECT_EQ(Tree->RangeY(), 50 * Row + 100);
    Tree->SetOffsetY(-1000000);
    EXPECT_EQ(Tree->OffsetY(), Tree->ClientHeight() - (50 * Row + 100));
    EXPECT_EQ(Tree->GetDisplayRect(Tree->GetLast(), NoColumn, false).Bottom, Tree->ClientHeight() - 100);
    Tree->SetBottomSpace(-5);
    EXPECT_EQ(Tree->BottomSpace(), 0) << "no negative space";
}

TEST_F(TreeScrolling, OneWheelNotchScrollsThreeRowsCtrlAPageShiftSideways)
{
    ShowRows(50);
    AddColumns(12, 50); // 600 pixels: room to scroll sideways
    Tree->SetFocus();
    Host.PumpUntilIdle();
    const plat::TPoint centre = ScreenOf(plat::Point(40, 40));

    Host.Wheel(centre, -120);
    Host.PumpUntilIdle();
    EXPECT_EQ(Tree->OffsetY(), -3 * Tree->DefaultNodeHeight());
    Host.Wheel(centre, 120);
    Host.PumpUntilIdle();
    EXPECT_EQ(Tree->OffsetY(), 0);

    Host.KeyDown(plat::VK_CONTROL);
    Host.Wheel(centre, -120);
    Host.PumpUntilIdle();
    Host.KeyUp(plat::VK_CONTROL);
    EXPECT_EQ(Tree->OffsetY(), -Tree->ClientHeight()) << "Ctrl: a page";

    Host.KeyDown(plat::VK_SHIFT);
    Host.Wheel(centre, -120);
    Host.PumpUntilIdle();
    Host.KeyUp(plat::VK_SHIFT);
    EXPECT_EQ(Tree->OffsetX(), -3 * 50) << "Shift: three column steps sideways";
    EXPECT_EQ(Tree->EffectiveOffsetX(), 150);
    EXPECT_EQ(HorizontalBar().Pos, 150);

    Tree->SetRootNodeCount(2);
    Tree->SetOffsetX(0);
    Host.Wheel(centre, -240);
    Host.PumpUntilIdle();
    EXPECT_EQ(Tree->OffsetX(), -300) << "without a vertical range the wheel goes sideways";
}

// Scrolling moves the painted rows and leaves only the uncovered strip to
// paint; a background picture stays where it is, so everything is painted.
TEST_F(TreeScrolling, ScrollingRepaintsOnlyTheUncoveredStripUnlessAPictureIsBehind)
{
    ShowRows(50);
    Host.PumpUntilIdle();
    const int width = Tree->ClientWidth();
    const int height = Tree->ClientHeight();
    const auto updateAfter = [this](int offsetY) {
        Host.PumpUntilIdle();
        plat::TRect update;
        EXPECT_FALSE(plat::GetUpdateRect(Tree->Handle(), &update, false)) << "painted before the scroll";
        Tree->SetOffsetY(offsetY);
        plat::GetUpdateRect(Tree->Handle(), &update, false);
        return update;
    };
    EXPECT_EQ(updateAfter(-2 * Row), plat::Rect(0, height - 2 * Row, width, height)) << "down: the bottom strip";
    EXPECT_EQ(updateAfter(-Row), plat::Rect(0, 0, width, Row)) << "up: the top strip";

    plat::TBitmap stripes(10, 4, plat::pf32bit);
    plat::TPicture picture;
    picture.SetGraphic(&stripes);
    Tree->SetBackground(&picture);
    Tree->TreeOptions()->SetPaintOptions(Tree->TreeOptions()->PaintOptions() + TDTPaintOptions{toShowBackground});
    EXPECT_EQ(updateAfter(-3 * Row), plat::Rect(0, 0, width, height)) << "the whole client area";
}

// The node under a resting mouse changes when the rows move beneath it.
TEST_F(TreeScrolling, TheHotNodeFollowsTheRowsUnderTheMouse)
{
    ShowRows(50);
    const PDataNode first = RootChild(0);
    const plat::TPoint label = plat::Point(Tree->GetOffset(ofsLabel, first) + 2, Row / 2);
    Host.MouseMove(ScreenOf(label));
    Host.PumpUntilIdle();
    ASSERT_EQ(Tree->HotNode(), first);
    Tree->SetOffsetY(-5 * Row);
    EXPECT_EQ(Tree->HotNode(), RootChild(5));
}

TEST_F(TreeScrolling, AlwaysVisibleKeepsBothBarsShownButDisabled)
{
    ShowRows(2);
    EXPECT_TRUE(plat::WindowScrollBarRect(Tree->Handle(), plat::SB_VERT).IsEmpty());
    Tree->ScrollBarOptions()->SetAlwaysVisible(true);
    Host.PumpUntilIdle();
    Tree->UpdateScrollBars(true);
    for (int bar : {plat::SB_VERT, plat::SB_HORZ}) {
        EXPECT_FALSE(plat::WindowScrollBarRect(Tree->Handle(), bar).IsEmpty()) << bar;
    }
    EXPECT_TRUE(VerticalBar().ArrowsDisabled);
    EXPECT_TRUE(HorizontalBar().ArrowsDisabled);
    EXPECT_EQ(Tree->OffsetY(), 0);
}

TEST_F(TreeScrolling, CentredScrollIntoViewPutsTheRowAtTheMiddle)
{
    ShowRows(50);
    const PDataNode node = RootChild(30);
    EXPECT_TRUE(Tree->ScrollIntoView(node, true));
    EXPECT_EQ(Tree->GetDisplayRect(node, NoColumn, false).Bottom, Tree->ClientHeight() / 2);
    EXPECT_FALSE(Tree->ScrollIntoView(node, true)) << "already there";

    const PDataNode above = RootChild(2);
    EXPECT_TRUE(Tree->ScrollIntoView(above, false));
    EXPECT_EQ(Tree->GetDisplayRect(above, NoColumn, false).Top, 0);
    const PDataNode below = RootChild(40);
    EXPECT_TRUE(Tree->ScrollIntoView(below, false));
    EXPECT_EQ(Tree->GetDisplayRect(below, NoColumn, false).Bottom, Tree->ClientHeight());
    EXPECT_FALSE(Tree->ScrollIntoView(nullptr, false));
}

TEST_F(TreeScrolling, ColumnsComeIntoViewSideways)
{
    ShowRows(5);
    AddColumns(6, 100);
    Tree->SetFocusedColumn(4);
    EXPECT_TRUE(Tree->ScrollIntoView(4, false));
    const TDataTreeColumn* column = Tree->Header()->Columns()[4];
    EXPECT_EQ(column->Left() + column->Width(), Tree->ClientWidth()) << "right edge at the client's right edge";
    EXPECT_TRUE(Tree->ScrollIntoView(0, false));
    EXPECT_EQ(Tree->OffsetX(), 0);
}

// A change of reading direction measures the same offset from the other
// edge at once, with or without columns; never below 0 when the rows are
// narrower than the window.
TEST_F(TreeScrolling, AChangedReadingDirectionMeasuresTheOffsetFromTheOtherEdge)
{
    ShowRows(5);
    struct TCase {
        const char* name;
        std::function<void()> widen;
    };
    const TCase cases[] = {
        {"rows wider than the window", [&] { Tree->SetIndent(Tree->ClientWidth() * 2); }},
        {"columns wider than the window", [&] { AddColumns(6, 100); }},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        c.widen();
        Host.PumpUntilIdle();
        ASSERT_GT(Tree->RangeX(), Tree->ClientWidth() + 50);
        Tree->SetOffsetX(-50);
        ASSERT_EQ(Tree->EffectiveOffsetX(), 50);
        Tree->SetBiDiMode(bdRightToLeft);
        EXPECT_EQ(Tree->EffectiveOffsetX(), Tree->RangeX() - 50 - Tree->ClientWidth());
        Tree->SetBiDiMode(bdLeftToRight);
        EXPECT_EQ(Tree->EffectiveOffsetX(), 50);
    }

    Tree->Header()->Columns().Clear();
    Tree->SetIndent(18);
    Host.PumpUntilIdle();
    ASSERT_LT(Tree->RangeX(), Tree->ClientWidth());
    Tree->SetBiDiMode(bdRightToLeft);
    EXPECT_EQ(Tree->EffectiveOffsetX(), 0);
}

TEST_F(TreeScrolling, AutoScrollWaitsTheDelayThenStepsEveryInterval)
{
    ShowRows(50);
    Tree->SetAutoScrollDelay(100);
    Tree->SetAutoScrollInterval(5); // the platform's timers raise it to 10 ms
    const int step = std::min<int>(Tree->ScrollBarOptions()->VerticalIncrement(), Tree->ClientHeight());
    const plat::TPoint nearBottom = plat::Point(50, Tree->ClientHeight() - 3);
    Host.MouseMove(ScreenOf(nearBottom));
    Host.PumpUntilIdle();
    Tree->DoAutoScroll(nearBottom.X, nearBottom.Y);
    EXPECT_EQ(Tree->ScrollDirections(), TScrollDirections{sdDown});
    EXPECT_TRUE(Tree->TreeStates().Contains(tsScrollPending));

    Host.AdvanceClock(99);
    EXPECT_EQ(Tree->OffsetY(), 0) << "still waiting for the delay";
    Host.AdvanceClock(1);
    EXPECT_EQ(Tree->OffsetY(), -step);
    EXPECT_TRUE(Tree->TreeStates().Contains(tsScrolling));
    Host.AdvanceClock(9);
    EXPECT_EQ(Tree->OffsetY(), -step);
    Host.AdvanceClock(1);
    EXPECT_EQ(Tree->OffsetY(), -2 * step);

    const plat::TPoint middle = plat::Point(50, Tree->ClientHeight() / 2);
    Tree->DoAutoScroll(middle.X, middle.Y);
    EXPECT_FALSE(Tree->TreeStates().Contains(tsScrolling));
    Host.AdvanceClock(50);
    EXPECT_EQ(Tree->OffsetY(), -2 * step) << "stopped away from the edge";
}

TEST_F(TreeScrolling, PanningByClickAndReleaseGoesOnUntilTheNextClick)
{
    ShowRows(50);
    Tree->TreeOptions()->SetMiscOptions(Tree->TreeOptions()->MiscOptions() + TDTMiscOptions{toWheelPanning});
    const plat::TPoint centre = plat::Point(50, 40);
    Host.MouseDown(ScreenOf(centre), plat::THostButton::Middle);
    Host.MouseUp(ScreenOf(centre), plat::THostButton::Middle);
    Host.PumpUntilIdle();
    EXPECT_TRUE(Tree->TreeStates().Contains(tsWheelScrolling));
    EXPECT_FALSE(Tree->TreeStates().Contains(tsWheelPanning));
    EXPECT_EQ(Tree->PanningCursorName(), "DT_MOVENS");

    Host.MouseMove(ScreenOf(plat::Point(50, 90)));
    Host.PumpUntilIdle();
    EXPECT_EQ(Tree->PanningCursorName(), "DT_MOVES");
    Host.AdvanceClock(20);
    EXPECT_EQ(Tree->OffsetY(), 40 - 90 + 8);
    Host.AdvanceClock(20);
    EXPECT_EQ(Tree->OffsetY(), 2 * (40 - 90 + 8));

    Host.MouseDown(ScreenOf(plat::Point(50, 90)), plat::THostButton::Middle);
    Host.PumpUntilIdle();
    EXPECT_FALSE(Tree->TreeStates().Contains(tsWheelScrolling));
    EXPECT_EQ(Tree->PanningCursorName(), "");
    const int stopped = Tree->OffsetY();
    Host.AdvanceClock(100);
    EXPECT_EQ(Tree->OffsetY(), stopped);
    Host.MouseUp(ScreenOf(plat::Point(50, 90)), plat::THostButton::Middle);
    Host.PumpUntilIdle();
}

TEST_F(TreeScrolling, PanningByHoldingAndMovingEndsAtTheRelease)
{
    ShowRows(50);
    Tree->TreeOptions()->SetMiscOptions(Tree->TreeOptions()->MiscOptions() + TDTMiscOptions{toWheelPanning});
    const plat::TPoint centre = plat::Point(50, 40);
    Host.MouseDown(ScreenOf(centre), plat::THostButton::Middle);
    Host.MouseMove(ScreenOf(plat::Point(50, 60)));
    Host.PumpUntilIdle();
    EXPECT_TRUE(Tree->TreeStates().Contains(tsWheelPanning));
    EXPECT_FALSE(Tree->TreeStates().Contains(tsWheelScrolling)) << "moved past the drag threshold";
    Host.AdvanceClock(20);
    EXPECT_EQ(Tree->OffsetY(), 40 - 60 + 8);
    Host.MouseUp(ScreenOf(plat::Point(50, 60)), plat::THostButton::Middle);
    Host.PumpUntilIdle();
    EXPECT_FALSE(Tree->TreeStates().Contains(tsWheelPanning));
    const int stopped = Tree->OffsetY();
    Host.AdvanceClock(100);
    EXPECT_EQ(Tree->OffsetY(), stopped);
}

// The mark at the panning centre is painted over the rows and stays where
// it is while they move beneath it; it goes with the end of panning.
TEST_F(TreeScrolling, ThePanningMarkStaysAtTheCentreWhileTheRowsMove)
{
    Tree->SetDefaultText("");
    ShowRows(50);
    const plat::TPoint origin = ClientOriginInCapture(*Tree, *Form);
    std::unique_ptr<plat::TPixelSurface> shot;
    const auto capture = [&] {
        Host.PumpUntilIdle();
        shot = Host.Capture(Form->Handle());
    };
    const auto pixel = [&](int x, int y) { return CapturePixel(*shot, origin, x, y); };
    const plat::COLORREF black = 0x000000;
    const plat::COLORREF white = 0xFFFFFF;
    const int cx = 60;
    const int cy = 60;
    const auto expectMark = [&](const char* when) {
        SCOPED_TRACE(when);
        EXPECT_EQ(pixel(cx, cy), black) << "the centre dot";
        EXPECT_EQ(pixel(cx, cy - 9), black) << "the arrow up";
        EXPECT_EQ(pixel(cx, cy + 9), black) << "the arrow down";
        EXPECT_EQ(pixel(cx - 9, cy), white) << "no arrow sideways: nothing to scroll there";
        EXPECT_EQ(pixel(cx + 9, cy), white);
    };

    Host.MouseDown(ScreenOf(plat::Point(cx, cy)), plat::THostButton::Middle);
    Host.MouseUp(ScreenOf(plat::Point(cx, cy)), plat::THostButton::Middle);
    capture();
    ASSERT_TRUE(Tree->TreeStates().Contains(tsWheelScrolling));
    expectMark("panning starts");
    SaveShot(*shot, "panning_mark");

    Host.MouseMove(ScreenOf(plat::Point(cx, cy + 50)));
    Host.AdvanceClock(20);
    const int moved = Tree->OffsetY();
    ASSERT_LT(moved, 0);
    capture();
    expectMark("the rows moved up");
    EXPECT_NE(pixel(cx, cy + moved), black) << "no copy of the mark travels with the rows";

    Host.MouseDown(ScreenOf(plat::Point(cx, cy + 50)), plat::THostButton::Middle);
    Host.MouseUp(ScreenOf(plat::Point(cx, cy + 50)), plat::THostButton::Middle);
    capture();
    EXPECT_EQ(pixel(cx, cy), white) << "gone with the end of panning";
}

TEST_F(TreeScrolling, PanningCursorFollowsTheDirectionFromTheCentre)
{
    ShowRows(50);
    AddColumns(12, 50);
    Tree->StartWheelPanning(plat::Point(100, 50));
    struct TCase {
        int dx;
        int dy;
        const char* name;
    };
    const TCase cases[] = {
        {-20, -20, "DT_MOVENW"}, {-20, 0, "DT_MOVEW"}, {-20, 20, "DT_MOVESW"}, {0, -20, "DT_MOVEN"},
        {0, 20, "DT_MOVES"},     {20, -20, "DT_MOVENE"}, {20, 0, "DT_MOVEE"}, {20, 20, "DT_MOVESE"},
        {3, -4, "DT_MOVEALL"},
    };
    for (const TCase& each : cases) {
        Tree->AdjustPanningCursor(100 + each.dx, 50 + each.dy);
        EXPECT_EQ(Tree->PanningCursorName(), each.name) << each.dx << "," << each.dy;
    }
    Tree->StopWheelPanning();
    EXPECT_EQ(Tree->PanningCursorName(), "");
}

} // namespace
} // namespace qel::tree_test
