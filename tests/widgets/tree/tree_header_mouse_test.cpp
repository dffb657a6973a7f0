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
#include "platform/controls/standard/popup_menu.h"
#include "platform/controls/window_messages.h"
#include "widgets/tree/dt_drag_image.h"
#include "widgets/tree/tree_edit_links.h"

#include <string>
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
    void AllowClicks()
    {
        for (TColumnIndex i = 0; i < Columns().Count(); ++i) {
            Columns()[i]->SetOptions(Columns()[i]->Options() + TDTColumnOptions{coAllowClick});
        }
    }
    // A press and release without moving, then enough time for the next
    // press not to count as a double click.
    void ClickAt(plat::TPoint screen)
    {
        Host.MouseDown(screen);
        Host.MouseUp(screen);
        Host.PumpUntilIdle();
        Host.AdvanceClock(1000);
    }
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

// With hoHeaderClickAutoSort a click makes the column the sort column in
// its default direction and sorts the tree; a second click turns the
// direction.
TEST_F(HeaderMouse, AClickSortsByTheColumnAndASecondTurnsTheDirection)
{
    AllowClicks();
    Tree->FullExpand();
    Tree->Header()->SetOptions(Tree->Header()->Options() + TDTHeaderOptions{hoHeaderClickAutoSort});
    Columns()[1]->SetDefaultSortDirection(sdDescending);
    Tree->OnCompareNodes = [this](plat::TObject*, PDataNode a, PDataNode b, TColumnIndex column, int& result) {
        const auto pages = [this](PDataNode node) {
            const std::string& text = Tree->GetNodeData<TRecordNodeData>(node)->Pages;
            return text.empty() ? 0 : std::stoi(text);
        };
        result = column == 2 ? pages(a) - pages(b) : 0;
    };
    const auto pagesOfFirstLogger = [this] {
        std::vector<std::string> pages;
        for (PDataNode record : Records(0)) {
            pages.push_back(Tree->GetNodeData<TRecordNodeData>(record)->Pages);
        }
        return pages;
    };
    const plat::TPoint pagesColumn = Screen(Columns()[2]->AbsoluteLeft() + 20, HeaderY());
    ASSERT_EQ(pagesOfFirstLogger(), (std::vector<std::string>{"42", "7", "3"}));
    ClickAt(pagesColumn);
    EXPECT_EQ(Tree->Header()->SortColumn(), 2);
    EXPECT_EQ(Tree->Header()->SortDirection(), sdAscending);
    EXPECT_EQ(pagesOfFirstLogger(), (std::vector<std::string>{"3", "7", "42"}));
    ClickAt(pagesColumn);
    EXPECT_EQ(Tree->Header()->SortDirection(), sdDescending) << "turned";
    EXPECT_EQ(pagesOfFirstLogger(), (std::vector<std::string>{"42", "7", "3"}));
    ClickAt(Screen(Columns()[1]->AbsoluteLeft() + 20, HeaderY()));
    EXPECT_EQ(Tree->Header()->SortColumn(), 1);
    EXPECT_EQ(Tree->Header()->SortDirection(), sdDescending) << "the column's default direction";
    Tree->Header()->SetSortColumn(NoColumn);
    Tree->OnCompareNodes = nullptr;
}

// A column's check box is hit where the header painted it: a press there
// does not press the button, and the click toggles the box through
// OnColumnChecking and OnColumnChecked; a refusal keeps the state.
TEST_F(HeaderMouse, AClickOnAColumnsCheckBoxTogglesIt)
{
    AllowClicks();
    Tree->Header()->SetOptions(Tree->Header()->Options() + TDTHeaderOptions{hoShowImages});
    TDataTreeColumn* column = Columns()[1];
    column->SetCheckBox(true);
    Host.PumpUntilIdle();
    ASSERT_TRUE(column->HasImage());
    std::vector<std::string> events;
    bool allow = true;
    Tree->OnColumnChecking = [&](TDTHeader*, TColumnIndex index, TCheckState& state, bool& allowed) {
        events.push_back("checking " + std::to_string(index) + " to " + std::to_string(state));
        allowed = allow;
    };
    Tree->OnColumnChecked = [&](TDTHeader*, TColumnIndex index) { events.push_back("checked " + std::to_string(index)); };
    std::vector<TDTHeaderHitPositions> hits;
    Tree->OnHeaderClick = [&hits](TDTHeader*, const TDTHeaderHitInfo& hit) { hits.push_back(hit.HitPosition); };
    // The box's middle, from the header band's window coordinates.
    const plat::TRect box = column->ImageRect();
    const plat::TRect band = Tree->HeaderRect();
    const plat::TPoint onBox = Screen(static_cast<int>((box.Left + box.Right) / 2 - band.Left),
                                      static_cast<int>((box.Top + box.Bottom) / 2 - band.Top) - Tree->Header()->Height());
    Host.MouseDown(onBox);
    Host.PumpUntilIdle();
    EXPECT_TRUE(Columns().CheckBoxHit()) << "the press is on the box";
    Host.MouseUp(onBox);
    Host.PumpUntilIdle();
    Host.AdvanceClock(1000);
    EXPECT_EQ(column->CheckState(), csCheckedNormal);
    EXPECT_EQ(events, (std::vector<std::string>{"checking 1 to " + std::to_string(csCheckedNormal), "checked 1"}));
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0], (TDTHeaderHitPositions{hhiOnColumn, hhiOnIcon, hhiOnCheckbox}));

    allow = false;
    events.clear();
    ClickAt(onBox);
    EXPECT_EQ(column->CheckState(), csCheckedNormal) << "refused";
    EXPECT_EQ(events.size(), 1u);

    // Beside the box the column is clicked, not its box.
    events.clear();
    ClickAt(Screen(column->AbsoluteLeft() + column->Width() - 20, HeaderY()));
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(hits.back(), TDTHeaderHitPositions{hhiOnColumn});
    Tree->OnColumnChecking = nullptr;
    Tree->OnColumnChecked = nullptr;
    Tree->OnHeaderClick = nullptr;
}

// With hoHeightResize the header's bottom border drags the header's
// height; the first move only starts the tracking.
TEST_F(HeaderMouse, DraggingTheBottomBorderChangesTheHeight)
{
    Tree->Header()->SetOptions(Tree->Header()->Options() + TDTHeaderOptions{hoHeightResize});
    const int height = Tree->Header()->Height();
    const plat::TPoint border = Screen(100, -1);
    int after = 0;
    Tree->OnAfterHeaderHeightTracking = [&after](TDTHeader*) { ++after; };
    Host.MouseDown(border);
    Host.PumpUntilIdle();
    EXPECT_TRUE(Tree->Header()->States().Contains(hsHeightTrackPending));
    Host.MouseMove(plat::Point(border.X, border.Y + 3));
    Host.PumpUntilIdle();
    EXPECT_EQ(Tree->Header()->Height(), height) << "the first move changes nothing";
    EXPECT_TRUE(Tree->Header()->States().Contains(hsHeightTracking));
    Host.MouseMove(plat::Point(border.X, border.Y + 9));
    Host.PumpUntilIdle();
    EXPECT_EQ(Tree->Header()->Height(), height + 8) << "by the pointer's distance below the client's top";
    Host.MouseMove(plat::Point(border.X, border.Y + 9));
    Host.PumpUntilIdle();
    EXPECT_EQ(Tree->Header()->Height(), height + 8) << "the client moved down with the border";
    Host.MouseUp(plat::Point(border.X, border.Y + 9));
    Host.PumpUntilIdle();
    EXPECT_EQ(after, 1);
    EXPECT_TRUE(Tree->Header()->States().Empty());
    Tree->OnAfterHeaderHeightTracking = nullptr;
}

// In a header scrolled to the side the drop goes to the side of the drop
// target the pointer is on.
TEST_F(HeaderMouse, ADropOnAScrolledHeaderGoesToThePointersSide)
{
    Tree->Header()->SetOptions(Tree->Header()->Options() - TDTHeaderOptions{hoAutoResize});
    Columns()[3]->SetWidth(300);
    Host.PumpUntilIdle();
    Tree->SetOffsetX(-100);
    Host.PumpUntilIdle();
    const int offset = Tree->EffectiveOffsetX();
    ASSERT_GT(offset, Columns()[2]->Width() / 2) << "scrolled by more than half the drop target";
    const int shownLeft = Columns()[2]->Left();   // scrolled
    ASSERT_EQ(shownLeft, Columns()[2]->AbsoluteLeft() - offset);
    const int start = Columns()[1]->Left() + 20;
    const int leftHalf = shownLeft + 10;
    Host.MouseDown(Screen(start, HeaderY()));
    Host.MouseMove(Screen(start + 10, HeaderY()));
    Host.MouseMove(Screen(leftHalf, HeaderY()));
    Host.PumpUntilIdle();
    ASSERT_TRUE(Tree->Header()->States().Contains(hsDragging));
    EXPECT_EQ(Columns().DropTarget(), 2);
    EXPECT_TRUE(Columns().DropBefore()) << "the left half as shown";
    const int rightHalf = shownLeft + Columns()[2]->Width() - 10;
    Host.MouseMove(Screen(rightHalf, HeaderY()));
    Host.PumpUntilIdle();
    EXPECT_FALSE(Columns().DropBefore());
    Host.MouseUp(Screen(rightHalf, HeaderY()));
    Host.PumpUntilIdle();
    EXPECT_EQ(Columns()[1]->Position(), 2u) << "after the drop target";
    EXPECT_EQ(Columns()[2]->Position(), 1u);
}

// The header's menu: PopupMenu unless the tree's OnGetPopupMenu names
// another (asked for the column under the pointer, without a node).
TEST_F(HeaderMouse, TheHeaderMenuIsAskedOfTheTree)
{
    auto* own = new plat::TPopupMenu(Form);
    auto* asked = new plat::TPopupMenu(Form);
    int ownOpened = 0;
    int askedOpened = 0;
    own->OnPopup = [&ownOpened](plat::TObject*) { ++ownOpened; };
    asked->OnPopup = [&askedOpened](plat::TObject*) { ++askedOpened; };
    Tree->Header()->SetPopupMenu(own);
    std::vector<TColumnIndex> columns;
    Tree->OnGetPopupMenu = [&](plat::TObject*, PDataNode node, TColumnIndex column, plat::TPoint, bool&,
                               plat::TComponent*& menu) {
        EXPECT_EQ(node, nullptr);
        EXPECT_EQ(menu, own) << "it comes in as the header's menu";
        columns.push_back(column);
        menu = asked;
    };
    Host.Script([this] { Host.Key(plat::VK_ESCAPE); });
    Host.Click(Screen(Columns()[2]->AbsoluteLeft() + 20, HeaderY()), plat::THostButton::Right);
    Host.PumpUntilIdle();
    EXPECT_EQ(columns, std::vector<TColumnIndex>{2});
    EXPECT_EQ(askedOpened, 1);
    EXPECT_EQ(ownOpened, 0);
    Tree->OnGetPopupMenu = nullptr;

    // A menu freed elsewhere is dropped from the header.
    delete own;
    EXPECT_EQ(Tree->Header()->PopupMenu(), nullptr);
}

// One picture of it all: a header scrolled to the side with column check
// boxes, an editor that followed a column resize, and a column dragged
// with its drop mark.
TEST_F(HeaderMouse, APictureOfAScrolledHeaderWithCheckBoxesAnEditorAndADrag)
{
    AllowClicks();
    Tree->Header()->SetOptions(Tree->Header()->Options() - TDTHeaderOptions{hoAutoResize} +
                               TDTHeaderOptions{hoShowImages});
    Columns()[1]->SetCheckBox(true);
    Columns()[2]->SetCheckBox(true);
    Columns()[2]->SetCheckState(csCheckedNormal);
    Columns()[3]->SetWidth(300);
    Tree->FullExpand();
    Tree->TreeOptions()->SetMiscOptions(Tree->TreeOptions()->MiscOptions() + TDTMiscOptions{toEditable});
    Host.PumpUntilIdle();
    const PDataNode record = Records(0)[1];
    ASSERT_TRUE(Tree->EditNode(record, 2));
    Tree->SetOffsetX(-60);
    ASSERT_EQ(Tree->EffectiveOffsetX(), 60);
    Columns()[1]->SetWidth(Columns()[1]->Width() + 30);
    Host.PumpUntilIdle();
    const auto link = std::dynamic_pointer_cast<TStringEditLink>(Tree->EditLink());
    ASSERT_TRUE(link && link->Edit());
    EXPECT_EQ(link->Edit()->Left(), std::max<int>(0, static_cast<int>(Tree->GetDisplayRect(record, 2, true, true).Left)))
        << "the editor followed its cell";

    const int start = Columns()[3]->Left() + 40;
    const int target = Columns()[1]->Left() + Columns()[1]->Width() - 10;
    Host.MouseDown(Screen(start, HeaderY()));
    Host.MouseMove(Screen(start - 10, HeaderY()));
    Host.MouseMove(Screen(target, HeaderY()));
    Host.PumpUntilIdle();
    ASSERT_TRUE(Tree->Header()->States().Contains(hsDragging));
    EXPECT_EQ(Columns().DropTarget(), 1);
    EXPECT_FALSE(Columns().DropBefore());
    const auto screen = Host.CaptureScreen();
    SaveShot(*screen, "tree_scrolled_header_checks_editor_drag");
    Host.MouseUp(Screen(target, HeaderY()));
    Host.PumpUntilIdle();
    Tree->CancelEditNode();
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
