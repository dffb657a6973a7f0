// The data tree's header: the band above the client area, height limits,
// the main and sort column, invalidation and automatic sizing.
#include "tests/widgets/tree/tree_fixture.h"

#include "platform/canvas/bitmap.h"
#include "platform/canvas/canvas.h"
#include "platform/controls/window.h"
#include "platform/controls/window_messages.h"
#include "platform/controls/window_paint.h"

#include <vector>

namespace qel::tree_test {
namespace {

class TreeHeader : public TreeTest {
protected:
    TDTHeader& Header() { return *Tree->Header(); }

    void AddColumns(int count)
    {
        for (int i = 0; i < count; ++i) {
            Header().Columns().Add();
        }
    }

    void ShowHeader() { Header().SetOptions(Header().Options() + TDTHeaderOptions{hoVisible}); }
};

TEST_F(TreeHeader, DefaultsOfTheHeader)
{
    EXPECT_EQ(Header().Options(), DefaultHeaderOptions);
    // toAutoChangeScale is on by default: the height follows the header
    // font (no columns, so no spacing).
    plat::TBitmap measure(1, 1);
    measure.Canvas()->Font()->Assign(Header().Font());
    EXPECT_EQ(Header().Height(), measure.Canvas()->TextHeight("Q"));
    EXPECT_EQ(Header().MinHeight(), 10);
    EXPECT_EQ(Header().MaxHeight(), 10000);
    EXPECT_EQ(Header().DefaultHeight(), 19);
    EXPECT_EQ(Header().MainColumn(), NoColumn);
    EXPECT_EQ(Header().SortColumn(), NoColumn);
    EXPECT_EQ(Header().SortDirection(), sdAscending);
    EXPECT_EQ(Header().Style(), hsThickButtons);
    EXPECT_EQ(Header().FixedAreaConstraints().MaxWidthPercent(), 95);
    EXPECT_TRUE(Header().ParentFont());
}

TEST_F(TreeHeader, VisibleHeaderTakesItsHeightFromTheClientAreaAndAnswersTheBorderCode)
{
    ShowForm();
    const int clientHeight = Tree->ClientHeight();
    ShowHeader();
    EXPECT_EQ(Tree->ClientHeight(), clientHeight - Header().Height());
    // Inside the window's sunken edge.
    const int edge = static_cast<int>(plat::GetClientAreaInWindow(Tree->Handle()).Left);
    EXPECT_EQ(edge, 2);
    EXPECT_EQ(Tree->HeaderRect(), plat::Rect(edge, edge, Tree->Width() - edge, edge + Header().Height()));

    Header().SetHeight(30);
    EXPECT_EQ(Tree->ClientHeight(), clientHeight - 30);

    // A point of the header band lies above the client area.
    plat::TPoint inHeader = plat::Point(20, -10);
    EXPECT_TRUE(Header().InHeader(inHeader));
    EXPECT_FALSE(Header().InHeader(plat::Point(20, 5)));
    EXPECT_TRUE(Header().InHeaderSplitterArea(plat::Point(20, 1)));
    EXPECT_FALSE(Header().InHeaderSplitterArea(plat::Point(20, -10)));
    plat::TPoint screen = inHeader;
    plat::ClientToScreen(Tree->Handle(), screen);
    EXPECT_EQ(plat::SendMessage(Tree->Handle(), plat::WM_NCHITTEST, 0, plat::PointToLParam(screen.X, screen.Y)),
              plat::HTBORDER);
    plat::TPoint inClient = plat::Point(20, 5);
    plat::ClientToScreen(Tree->Handle(), inClient);
    EXPECT_EQ(plat::SendMessage(Tree->Handle(), plat::WM_NCHITTEST, 0, plat::PointToLParam(inClient.X, inClient.Y)),
              plat::HTCLIENT);

    Header().SetOptions(Header().Options() - TDTHeaderOptions{hoVisible});
    EXPECT_EQ(Tree->ClientHeight(), clientHeight);
}

TEST_F(TreeHeader, HeightWithoutAWindowIsStoredAndScaledLater)
{
    TTestTree alone(nullptr);
    alone.Header()->SetHeight(3);
    EXPECT_EQ(alone.Header()->Height(), 3) << "no limits before there is a window";
    EXPECT_TRUE(alone.Header()->States().Contains(hsNeedScaling));
}

TEST_F(TreeHeader, HeightLimitsAndPercentages)
{
    ShowForm();
    ShowHeader();
    const int total = Tree->ClientHeight() + Header().Height();
    struct TStep {
        const char* name;
        void (*apply)(TDTHeader&);
        int minHeight;
        int maxHeight;
        int height;
    };
    const std::vector<TStep> steps = {
        {"below the minimum", [](TDTHeader& h) { h.SetHeight(2); }, 10, 10000, 10},
        {"maximum below the minimum is raised", [](TDTHeader& h) { h.SetMaxHeight(4); }, 10, 10, 10},
        {"minimum above the maximum is cut", [](TDTHeader& h) { h.SetMaxHeight(40); h.SetMinHeight(60); }, 40, 40,
         40},
        {"negative minimum", [](TDTHeader& h) { h.SetMinHeight(-3); }, 0, 40, 40},
        {"above the maximum", [](TDTHeader& h) { h.SetHeight(41); }, 0, 40, 40},
    };
    for (const TStep& step : steps) {
        SCOPED_TRACE(step.name);
        step.apply(Header());
        EXPECT_EQ(Header().MinHeight(), step.minHeight);
        EXPECT_EQ(Header().MaxHeight(), step.maxHeight);
        EXPECT_EQ(Header().Height(), step.height);
    }
    Header().SetMaxHeight(10000);
    Header().FixedAreaConstraints().SetMaxHeightPercent(50);
    Header().SetHeight(1000);
    EXPECT_EQ(Header().Height(), total * 50 / 100) << "half of header and client together";
    EXPECT_EQ(Tree->ClientHeight() + Header().Height(), total);
}

TEST_F(TreeHeader, MainColumnIsClampedToTheColumns)
{
    std::vector<int> changes;
    Header().SetMainColumn(-5);
    EXPECT_EQ(Header().MainColumn(), NoColumn) << "no columns";
    AddColumns(4);
    Header().SetMainColumn(7);
    EXPECT_EQ(Header().MainColumn(), 3);
    EXPECT_EQ(Tree->FocusedColumn(), 3) << "the focused column follows without toExtendedFocus";
    Header().SetMainColumn(-5);
    EXPECT_EQ(Header().MainColumn(), 0);
    Header().Columns().Clear();
    EXPECT_EQ(Header().MainColumn(), NoColumn);
}

TEST_F(TreeHeader, SortColumnKeepsItsDirectionWhenSetAgain)
{
    AddColumns(3);
    Header().DoSetSortColumn(1, sdDescending);
    EXPECT_EQ(Header().SortColumn(), 1);
    EXPECT_EQ(Header().SortDirection(), sdDescending);
    Header().DoSetSortColumn(1, sdAscending);
    EXPECT_EQ(Header().SortDirection(), sdDescending) << "the same column keeps its direction";
    Header().SetSortColumn(9);
    EXPECT_EQ(Header().SortColumn(), 2);
    Header().SetSortColumn(-9);
    EXPECT_EQ(Header().SortColumn(), NoColumn);
    Header().ToggleSortDirection();
    EXPECT_EQ(Header().SortDirection(), sdAscending);
}

TEST_F(TreeHeader, InvalidationNeedsAVisibleHeader)
{
    ShowForm();
    AddColumns(2);
    Host.PumpUntilIdle();
    plat::TRect update;
    ASSERT_FALSE(plat::GetUpdateRect(Tree->Handle(), &update, false));
    Header().Invalidate();
    Header().Invalidate(1, true);
    EXPECT_FALSE(plat::GetUpdateRect(Tree->Handle(), &update, false)) << "hoVisible off: nothing";

    ShowHeader();
    Host.PumpUntilIdle();
    ASSERT_FALSE(plat::GetUpdateRect(Tree->Handle(), &update, false));
    Header().Invalidate(1);
    ASSERT_TRUE(plat::GetUpdateRect(Tree->Handle(), &update, false));
    const TDataTreeColumn* column = Header().Columns()[1];
    EXPECT_EQ(update.Left, column->AbsoluteLeft());
    EXPECT_EQ(update.Right, column->AbsoluteLeft() + column->Width());
    EXPECT_EQ(update.Bottom, Tree->ClientHeight()) << "down to the client's bottom";
}

TEST_F(TreeHeader, AutoResizeGivesTheAutoSizeColumnTheRemainingWidth)
{
    ShowForm();
    AddColumns(3);
    Header().SetAutoSizeIndex(2);
    Header().SetOptions(Header().Options() + TDTHeaderOptions{hoAutoResize});
    EXPECT_EQ(Header().Columns()[2]->Width(), Tree->ClientWidth() - 100);
    EXPECT_EQ(Header().Columns().TotalWidth(), Tree->ClientWidth());
    Header().Columns()[2]->SetWidth(10);
    EXPECT_EQ(Header().Columns()[2]->Width(), Tree->ClientWidth() - 100) << "left to the automatic size";
}

TEST_F(TreeHeader, AutoScaleFitsTheHeaderFontAndTheWidestSpacing)
{
    ShowForm();
    AddColumns(2);
    Header().Columns()[1]->SetSpacing(6);
    Tree->TreeOptions()->SetAutoOptions(Tree->TreeOptions()->AutoOptions() + TDTAutoOptions{toAutoChangeScale});
    plat::TFont font;
    font.Assign(Header().Font());
    font.SetHeight(-20);
    Header().SetFont(&font);
    EXPECT_FALSE(Header().ParentFont());
    plat::TBitmap measure(1, 1);
    measure.Canvas()->Font()->Assign(&font);
    EXPECT_EQ(Header().Height(), 6 + 3 + measure.Canvas()->TextHeight("Q"));
}

} // namespace
} // namespace qel::tree_test
