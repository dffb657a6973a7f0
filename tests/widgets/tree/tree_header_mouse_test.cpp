// The record page's header under the mouse, with input injected into the
// headless host: the splitter zones of column borders, width tracking and
// its limits, the auto-size border moving its neighbour, presses that stay
// clicks, drops that do not move a column, the header timer, and Escape or
// focus loss ending a drag.
#include "tests/widgets/tree/record_tree_fixture.h"

#include "platform/canvas/canvas.h"
#include "platform/canvas/recording_dc.h"
#include "platform/controls/window.h"
#include "platform/controls/window_input.h"
#include "platform/controls/window_messages.h"
#include "widgets/tree/dt_drag_image.h"

#include <vector>

namespace qel::tree_test {
namespace {

class HeaderMouse : public RecordTreeTest {
protected:
    HeaderMouse() : RecordTreeTest(plat::THeadlessOptions{plat::Rect(0, 0, 720, 420)})
    {
        Form->SetBounds(0, 0, 700, 400);
        ShowForm();
        Tree->SetBounds(0, 0, 660, 330);
        SetUpAsRecordPage();
        Fill(SerialsABA);
        Host.PumpUntilIdle();
    }

    TDataTreeColumns& Columns() { return Tree->Header()->Columns(); }
    int Border(TColumnIndex column) { return Columns()[column]->AbsoluteLeft() + Columns()[column]->Width(); }
    plat::TPoint Screen(int x, int y)
    {
        plat::TPoint p = plat::Point(x, y);
        plat::ClientToScreen(Tree->Handle(), p);
        return p;
    }
    int HeaderY() const { return -Tree->Header()->Height() / 2; }
};

TEST_F(HeaderMouse, SplitterZonesOfColumnBorders)
{
    const int border = Border(1);
    struct TCase {
        int dx;
        bool tracks;
    };
    for (const TCase& c : {TCase{-4, false}, TCase{-3, true}, TCase{0, true}, TCase{4, true}, TCase{5, false}}) {
        EXPECT_EQ(Tree->Header()->DetermineSplitterIndex(plat::Point(border + c.dx, HeaderY())), c.tracks) << c.dx;
    }
    Columns()[1]->SetOptions(Columns()[1]->Options() - TDTColumnOptions{coResizable});
    EXPECT_FALSE(Tree->Header()->DetermineSplitterIndex(plat::Point(border, HeaderY()))) << "not resizable";
    Columns()[1]->SetOptions(Columns()[1]->Options() + TDTColumnOptions{coResizable});
    Tree->OnCanSplitterResizeColumn = +[](TDTHeader*, plat::TPoint, TColumnIndex column, bool& allowed) {
        allowed = allowed && column != 1;
    };
    EXPECT_FALSE(Tree->Header()->DetermineSplitterIndex(plat::Point(border, HeaderY()))) << "refused";
}

TEST_F(HeaderMouse, TrackingAWidthFollowsTheMouseFromTheSecondMoveWithinTheLimits)
{
    const int border = Border(1);
    const int left = Columns()[1]->AbsoluteLeft();
    const int width = Columns()[1]->Width();
    Host.MouseDown(Screen(border - 1, HeaderY()));
    Host.PumpUntilIdle();
    EXPECT_TRUE(Tree->Header()->States().Contains(hsColumnWidthTrackPending));
    Host.MouseMove(Screen(border + 20, HeaderY()));
    Host.PumpUntilIdle();
    EXPECT_EQ(Columns()[1]->Width(), width) << "the first move changes nothing";
    EXPECT_TRUE(Tree->Header()->States().Contains(hsColumnWidthTracking));
    Host.MouseMove(Screen(border + 30, HeaderY()));
    Host.PumpUntilIdle();
    EXPECT_EQ(Columns()[1]->Width(), border + 30 - left);
    Host.MouseMove(Screen(left + 5, HeaderY()));
    Host.PumpUntilIdle();
    EXPECT_EQ(Columns()[1]->Width(), 150) << "not below MinWidth";
    int after = -1;
    Tree->OnAfterColumnWidthTracking = [&after](TDTHeader*, TColumnIndex column) { after = column; };
    Host.MouseUp(Screen(left + 5, HeaderY()));
    Host.PumpUntilIdle();
    EXPECT_TRUE(Tree->Header()->States().Empty());
    EXPECT_EQ(after, 1);
    EXPECT_EQ(plat::GetCapture(), 0);
}

TEST_F(HeaderMouse, TheAutoSizeColumnsBorderMovesItsNeighbour)
{
    Tree->Header()->SetAutoSizeIndex(1);
    Columns()[3]->SetWidth(80);   // no longer auto-sized: room for column 1
    const int border = Border(1);
    const int next = Columns()[2]->Width();
    Host.MouseDown(Screen(border - 1, HeaderY()));
    Host.MouseMove(Screen(border + 1, HeaderY()));
    Host.MouseMove(Screen(border - 20, HeaderY()));
    Host.MouseUp(Screen(border - 20, HeaderY()));
    Host.PumpUntilIdle();
    EXPECT_EQ(Columns()[2]->Width(), next + 20) << "the neighbour takes the change (widths count from the left border)";
    EXPECT_EQ(Columns()[1]->Width() + Columns()[0]->Width() + Columns()[2]->Width() + Columns()[3]->Width(),
              Tree->ClientWidth())
        << "the auto-size column still fills the client";
}

TEST_F(HeaderMouse, APressMovedWithinTheThresholdIsAClickWithoutSorting)
{
    std::vector<TDTHeaderHitInfo> clicks;
    Tree->OnHeaderClick = [&clicks](TDTHeader*, const TDTHeaderHitInfo& hit) { clicks.push_back(hit); };
    const int middle = Columns()[1]->AbsoluteLeft() + Columns()[1]->Width() / 2;
    Host.MouseDown(Screen(middle, HeaderY()));
    Host.PumpUntilIdle();
    EXPECT_TRUE(Tree->Header()->States().Contains(hsDragPending));
    Host.MouseMove(Screen(middle + 3, HeaderY()));
    Host.MouseUp(Screen(middle + 3, HeaderY()));
    Host.PumpUntilIdle();
    EXPECT_TRUE(Tree->Header()->States().Empty());
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0].Column, NoColumn) << "the columns take no clicks";
    EXPECT_EQ(clicks[0].HitPosition, TDTHeaderHitPositions{hhiNoWhere});
    EXPECT_EQ(Tree->Header()->SortColumn(), NoColumn);
    EXPECT_EQ(Columns()[1]->Position(), 1u);
}

TEST_F(HeaderMouse, DroppingOnTheNeighboursLeftHalfMovesNothingAndShowsNoMark)
{
    std::vector<int> dragged;
    Tree->OnHeaderDragged = [&dragged](TDTHeader*, TColumnIndex column, int) { dragged.push_back(column); };
    const int start = Columns()[1]->AbsoluteLeft() + 20;
    const int neighbourLeftHalf = Columns()[2]->AbsoluteLeft() + 10;
    Host.MouseDown(Screen(start, HeaderY()));
    Host.MouseMove(Screen(start + 10, HeaderY()));
    Host.MouseMove(Screen(neighbourLeftHalf, HeaderY()));
    Host.PumpUntilIdle();
    ASSERT_TRUE(Tree->Header()->States().Contains(hsDragging));
    EXPECT_EQ(Columns().DropTarget(), 2);
    EXPECT_TRUE(Columns().DropBefore());
    plat::TRecordingDC recorder(nullptr, 800, 40);
    plat::TCanvas canvas(&recorder);
    Columns().PaintHeader(canvas, plat::Rect(0, 0, Columns().TotalWidth(), 15), plat::Point(0, 0));
    EXPECT_TRUE(recorder.CallsNamed("Polygon").empty()) << "no drop mark";
    Host.MouseUp(Screen(neighbourLeftHalf, HeaderY()));
    Host.PumpUntilIdle();
    EXPECT_EQ(Columns()[1]->Position(), 1u);
    EXPECT_EQ(dragged, std::vector<int>{1});

    // Onto the right half of the last column: it moves there.
    Host.AdvanceClock(1000);   // not a double click
    const int lastRightHalf = Columns()[3]->AbsoluteLeft() + Columns()[3]->Width() - 10;
    Host.MouseDown(Screen(start, HeaderY()));
    Host.MouseMove(Screen(start + 10, HeaderY()));
    Host.MouseMove(Screen(lastRightHalf, HeaderY()));
    Host.PumpUntilIdle();
    Columns().PaintHeader(canvas, plat::Rect(0, 0, Columns().TotalWidth(), 15), plat::Point(0, 0));
    EXPECT_FALSE(recorder.CallsNamed("Polygon").empty()) << "a mark where it lands";
    Host.MouseUp(Screen(lastRightHalf, HeaderY()));
    Host.PumpUntilIdle();
    EXPECT_EQ(Columns()[1]->Position(), 3u);
    EXPECT_FALSE(Tree->Header()->DragImage()->Visible()) << "the picture is gone";
    EXPECT_FALSE(Tree->Header()->DragImage()->States().Contains(disInDrag));
}

TEST_F(HeaderMouse, TheHeaderTimerResetsHotAndPressedColumns)
{
    Tree->Header()->SetOptions(Tree->Header()->Options() + TDTHeaderOptions{hoHotTrack});
    const int middle = Columns()[1]->AbsoluteLeft() + 30;
    Host.MouseMove(Screen(middle, HeaderY()));
    Host.PumpUntilIdle();
    EXPECT_EQ(Columns().HoverIndex(), 1);
    Host.MouseMove(Screen(middle, 60));
    Host.PumpUntilIdle();
    Host.AdvanceClock(49);
    EXPECT_EQ(Columns().HoverIndex(), 1);
    Host.AdvanceClock(1);
    EXPECT_EQ(Columns().HoverIndex(), -1);
    EXPECT_EQ(Columns().DownIndex(), -1);
}

TEST_F(HeaderMouse, EscapeAndFocusLossEndTrackingAndReleaseTheMouse)
{
    Tree->SetFocus();
    int after = 0;
    Tree->OnAfterColumnWidthTracking = [&after](TDTHeader*, TColumnIndex) { ++after; };
    const int border = Border(0);
    Host.MouseDown(Screen(border - 1, HeaderY()));
    Host.MouseMove(Screen(border + 2, HeaderY()));
    Host.MouseMove(Screen(border + 9, HeaderY()));
    Host.PumpUntilIdle();
    ASSERT_TRUE(Tree->Header()->States().Contains(hsColumnWidthTracking));
    Host.KeyDown(plat::VK_ESCAPE);
    Host.PumpUntilIdle();
    EXPECT_TRUE(Tree->Header()->States().Empty());
    EXPECT_EQ(plat::GetCapture(), 0);
    EXPECT_EQ(after, 1);
    Host.KeyUp(plat::VK_ESCAPE);
    Host.MouseUp(Screen(border + 9, HeaderY()));
    Host.PumpUntilIdle();

    // A drag ended by the focus going elsewhere.
    const int start = Columns()[2]->AbsoluteLeft() + 20;
    Host.MouseDown(Screen(start, HeaderY()));
    Host.MouseMove(Screen(start + 10, HeaderY()));
    Host.MouseMove(Screen(start + 30, HeaderY()));
    Host.PumpUntilIdle();
    ASSERT_TRUE(Tree->Header()->States().Contains(hsDragging));
    plat::SendMessage(Tree->Handle(), plat::WM_KILLFOCUS, 0, 0);
    EXPECT_TRUE(Tree->Header()->States().Empty());
    EXPECT_EQ(plat::GetCapture(), 0);
    EXPECT_EQ(Columns().DropTarget(), -1);
}

} // namespace
} // namespace qel::tree_test
