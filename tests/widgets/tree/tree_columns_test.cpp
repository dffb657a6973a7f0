// The data tree's columns: the record tree's four columns, display
// positions and their map under moves, removals and rebuilds, width limits,
// lookups by point and position, navigation and the fixed-area limits.
#include "tests/widgets/tree/tree_fixture.h"

#include "platform/canvas/bitmap.h"
#include "platform/canvas/pixel_surface.h"
#include "platform/object_list.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace qel::tree_test {
namespace {

// Empty when the position map is a permutation, each column's Position is
// its slot, each left border is the sum of the visible widths before it
// and every width lies within its limits; else what breaks first.
std::string ColumnInvariants(const TDataTreeColumns& columns)
{
    const std::vector<TColumnIndex>& map = columns.PositionToIndex();
    if (map.size() != static_cast<std::size_t>(columns.Count())) {
        return "map length " + std::to_string(map.size());
    }
    std::vector<bool> seen(map.size(), false);
    int left = 0;
    for (std::size_t slot = 0; slot < map.size(); ++slot) {
        const TColumnIndex index = map[slot];
        if (index < 0 || index >= columns.Count() || seen[static_cast<std::size_t>(index)]) {
            return "slot " + std::to_string(slot) + " holds " + std::to_string(index);
        }
        seen[static_cast<std::size_t>(index)] = true;
        const TDataTreeColumn* column = columns.Items(index);
        if (column->Position() != slot) {
            return "column " + std::to_string(index) + " has position " + std::to_string(column->Position());
        }
        if (column->AbsoluteLeft() != left) {
            return "column " + std::to_string(index) + " starts at " + std::to_string(column->AbsoluteLeft());
        }
        if (column->MinWidth() > column->MaxWidth() || column->Width() < column->MinWidth() ||
            column->Width() > column->MaxWidth()) {
            return "column " + std::to_string(index) + " width out of its limits";
        }
        if (column->IsVisible()) {
            left += column->Width();
        }
    }
    return {};
}

std::vector<TColumnIndex> Order(const TDataTreeColumns& columns)
{
    return columns.PositionToIndex();
}

class TreeColumns : public TreeTest {
protected:
    TDataTreeColumns& Columns() { return Tree->Header()->Columns(); }

    // The record tree's set-up: four columns added inside one update.
    void AddRecordColumns()
    {
        Columns().BeginUpdate();
        Columns().Clear();
        for (int minWidth : {200, 150, 80, 80}) {
            Columns().Add()->SetMinWidth(minWidth);
        }
        Columns().EndUpdate();
    }

    void AddColumns(int count, int width)
    {
        for (int i = 0; i < count; ++i) {
            Columns().Add()->SetWidth(width);
        }
    }
};

TEST_F(TreeColumns, RecordTreeSetUpMakesColumnZeroMainAndRaisesWidthsToTheirMinimum)
{
    ASSERT_EQ(Tree->Header()->MainColumn(), NoColumn);
    AddRecordColumns();
    EXPECT_EQ(Tree->Header()->MainColumn(), 0) << "the first column became main although MainColumn was -1";
    const int expectedWidths[] = {200, 150, 80, 80};
    const int expectedLefts[] = {0, 200, 350, 430};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(Columns()[i]->Width(), expectedWidths[i]) << i;
        EXPECT_EQ(Columns()[i]->AbsoluteLeft(), expectedLefts[i]) << i;
        EXPECT_EQ(Columns()[i]->Options(), DefaultColumnOptions);
        EXPECT_EQ(Columns()[i]->LastWidth(), 50) << "the default width before MinWidth raised it";
    }
    EXPECT_EQ(Columns().TotalWidth(), 510);
    EXPECT_EQ(ColumnInvariants(Columns()), "");
}

TEST_F(TreeColumns, PositionMovesKeepTheMapAPermutationAndFixedColumnsTogether)
{
    AddColumns(4, 50);
    struct TStep {
        const char* name;
        TColumnIndex column;
        TColumnPosition position;
        std::vector<TColumnIndex> order;
        std::vector<bool> fixed; // by index
    };
    const std::vector<TStep> steps = {
        {"to the end by the largest position", 0, 4294967295u, {1, 2, 3, 0}, {false, false, false, false}},
        {"past the count", 1, 17, {2, 3, 0, 1}, {false, false, false, false}},
        {"to the front", 1, 0, {1, 2, 3, 0}, {false, false, false, false}},
        {"the same position changes nothing", 2, 1, {1, 2, 3, 0}, {false, false, false, false}},
        {"middle to middle", 3, 1, {1, 3, 2, 0}, {false, false, false, false}},
    };
    const auto run = [this](const std::vector<TStep>& list) {
        for (const TStep& step : list) {
            SCOPED_TRACE(step.name);
            Columns()[step.column]->SetPosition(step.position);
            EXPECT_EQ(Order(Columns()), step.order);
            EXPECT_EQ(ColumnInvariants(Columns()), "");
            for (TColumnIndex i = 0; i < 4; ++i) {
                EXPECT_EQ(Columns()[i]->IsFixed(), step.fixed[static_cast<std::size_t>(i)]) << i;
            }
        }
    };
    run(steps);

    // Fixed neighbour rule: column 1 (at position 0) is fixed; a column
    // moved to its right takes over coFixed from the column after it, a
    // fixed one moved away looks at the column before it.
    Columns()[1]->SetOptions(Columns()[1]->Options() + TDTColumnOptions{coFixed});
    const std::vector<TStep> fixedSteps = {
        {"moved in front of the fixed column", 0, 0, {0, 1, 3, 2}, {true, true, false, false}},
        {"fixed column moved behind a scrolling one", 1, 3, {0, 3, 2, 1}, {true, false, false, false}},
        {"scrolling column moved before a fixed one", 2, 0, {2, 0, 3, 1}, {true, false, true, false}},
    };
    run(fixedSteps);
}

TEST_F(TreeColumns, RemovalsRenumberPositionsAndEveryKeptIndexOnce)
{
    struct TCase {
        const char* name;
        std::vector<TColumnPosition> positions; // per index, set before the removal
        TColumnIndex mainColumn;
        TColumnIndex sortColumn;
        TColumnIndex removed;
        std::vector<TColumnIndex> order;
        TColumnIndex mainAfter;
        TColumnIndex sortAfter;
    };
    const std::vector<TCase> cases = {
        {"main column 0 of two", {0, 1}, 0, -1, 0, {0}, 0, -1},
        {"a column left of the main one", {0, 1, 2, 3}, 2, 3, 1, {0, 1, 2}, 1, 2},
        {"the sort column, positions reordered", {3, 0, 2, 1}, 0, 2, 2, {1, 2, 0}, 0, -1},
        {"the last index at the first position", {1, 2, 3, 0}, 3, 0, 3, {0, 1, 2}, 0, 0},
    };
    // A column goes through the collection's Delete or frees itself.
    for (const bool freeItself : {false, true}) {
        for (const TCase& each : cases) {
            SCOPED_TRACE(std::string(each.name) + (freeItself ? ", freed" : ", deleted"));
            Columns().Clear();
            AddColumns(static_cast<int>(each.positions.size()), 40);
            Columns().BeginUpdate();
            for (std::size_t i = 0; i < each.positions.size(); ++i) {
                Columns()[static_cast<TColumnIndex>(i)]->SetPosition(each.positions[i]);
            }
            Columns().EndUpdate();
            Tree->Header()->SetMainColumn(each.mainColumn);
            Tree->Header()->SetSortColumn(each.sortColumn);
            ASSERT_EQ(ColumnInvariants(Columns()), "");
            if (freeItself) {
                delete Columns()[each.removed];
            } else {
                Columns().Delete(each.removed);
            }
            EXPECT_EQ(Order(Columns()), each.order);
            EXPECT_EQ(ColumnInvariants(Columns()), "");
            EXPECT_EQ(Tree->Header()->MainColumn(), each.mainAfter);
            EXPECT_EQ(Tree->Header()->SortColumn(), each.sortAfter);
            for (TColumnIndex i = 0; i < Columns().Count(); ++i) {
                EXPECT_EQ(Columns()[i]->Index(), i);
            }
        }
    }
}

TEST_F(TreeColumns, RemovalsInsideAnUpdateAndFixPositionsLeaveACompactMap)
{
    AddColumns(5, 30);
    Columns().BeginUpdate();
    // Duplicate and oversized positions: the rebuild orders by position,
    // then by index.
    const TColumnPosition positions[] = {7, 2, 2, 0, 4000000000u};
    for (TColumnIndex i = 0; i < 5; ++i) {
        Columns()[i]->SetPosition(positions[i]);
    }
    Columns().Delete(1);
    Columns().Delete(3);
    EXPECT_EQ(Columns().Count(), 3);
    Columns().EndUpdate();
    // Left: the former 0 (7), 2 (2), 3 (0) as indices 0, 1, 2.
    EXPECT_EQ(Order(Columns()), (std::vector<TColumnIndex>{2, 1, 0}));
    EXPECT_EQ(ColumnInvariants(Columns()), "");
}

TEST_F(TreeColumns, WidthsAndLimitsAreClampedAndNeverCross)
{
    TDataTreeColumn* column = Columns().Add();
    struct TStep {
        const char* name;
        void (*apply)(TDataTreeColumn*);
        int minWidth;
        int maxWidth;
        int width;
    };
    const std::vector<TStep> steps = {
        {"default", [](TDataTreeColumn*) {}, 10, 10000, 50},
        {"width below the minimum", [](TDataTreeColumn* c) { c->SetWidth(-5); }, 10, 10000, 10},
        {"width above the maximum", [](TDataTreeColumn* c) { c->SetWidth(20000); }, 10, 10000, 10000},
        {"maximum below the width", [](TDataTreeColumn* c) { c->SetMaxWidth(300); }, 10, 300, 300},
        {"minimum above the maximum is cut", [](TDataTreeColumn* c) { c->SetMinWidth(500); }, 300, 300, 300},
        {"maximum below the minimum is raised", [](TDataTreeColumn* c) { c->SetMaxWidth(5); }, 300, 300, 300},
        {"negative minimum", [](TDataTreeColumn* c) { c->SetMinWidth(-7); }, 0, 300, 300},
        {"width 0 allowed now", [](TDataTreeColumn* c) { c->SetWidth(0); }, 0, 300, 0},
        {"minimum raises the width", [](TDataTreeColumn* c) { c->SetMinWidth(120); }, 120, 300, 120},
    };
    for (const TStep& step : steps) {
        SCOPED_TRACE(step.name);
        step.apply(column);
        EXPECT_EQ(column->MinWidth(), step.minWidth);
        EXPECT_EQ(column->MaxWidth(), step.maxWidth);
        EXPECT_EQ(column->Width(), step.width);
    }
}

TEST_F(TreeColumns, LookupsByPointAndPositionAndNavigation)
{
    ShowForm();
    AddColumns(3, 60);
    Columns()[1]->SetPosition(0); // order 1, 0, 2
    struct TCase {
        plat::TPoint point;
        TColumnIndex expected;
    };
    const TCase cases[] = {
        {{0, 0}, 1},     {{59, 5}, 1},   {{60, 5}, 0},     {{179, 5}, 2},
        {{180, 5}, InvalidColumn},       {{-1, 5}, InvalidColumn},
        {{10, -1}, InvalidColumn},       {{10, Tree->Height() + 1}, InvalidColumn},
    };
    for (const TCase& each : cases) {
        EXPECT_EQ(Columns().ColumnFromPosition(each.point), each.expected)
            << each.point.X << "," << each.point.Y;
    }
    EXPECT_EQ(Columns().ColumnFromPosition(TColumnPosition{3}), NoColumn);
    EXPECT_EQ(Columns().ColumnFromPosition(TColumnPosition{2}), 2);
    EXPECT_EQ(Columns().GetNextColumn(2), InvalidColumn) << "last position";
    EXPECT_EQ(Columns().GetNextColumn(1), 0);
    EXPECT_EQ(Columns().GetPreviousColumn(1), InvalidColumn) << "first position";
    EXPECT_EQ(Columns().GetPreviousColumn(-1), InvalidColumn);
    EXPECT_EQ(Columns().GetFirstColumn(), 1);

    Columns()[0]->SetOptions(Columns()[0]->Options() - TDTColumnOptions{coVisible});
    EXPECT_EQ(Columns().GetNextVisibleColumn(1), 2) << "hidden column skipped";
    EXPECT_EQ(Columns().ColumnFromPosition(plat::Point(70, 0)), 2);
    Columns()[2]->SetOptions(Columns()[2]->Options() - TDTColumnOptions{coVisible});
    EXPECT_EQ(Columns().GetLastVisibleColumn(), 1);
    EXPECT_EQ(Columns().TotalWidth(), 60) << "the right border of the last visible column";
    Columns()[1]->SetOptions(Columns()[1]->Options() - TDTColumnOptions{coAllowFocus});
    EXPECT_EQ(Columns().GetFirstVisibleColumn(true), InvalidColumn);
    EXPECT_THROW(Columns().Items(3), plat::EListError);
}

TEST_F(TreeColumns, WidthChangesReportResizeOnlyOutsideUpdates)
{
    ShowForm();
    AddColumns(3, 50);
    std::vector<TColumnIndex> resized;
    Tree->OnColumnResize = [&resized](TDTHeader*, TColumnIndex column) { resized.push_back(column); };
    Columns()[1]->SetWidth(70);
    EXPECT_EQ(resized, std::vector<TColumnIndex>{1});
    Tree->BeginUpdate();
    Columns()[0]->SetWidth(90);
    EXPECT_EQ(Columns()[1]->AbsoluteLeft(), 90) << "lefts follow inside the update";
    Tree->EndUpdate();
    EXPECT_EQ(resized, std::vector<TColumnIndex>{1}) << "no event inside BeginUpdate";

    // A resize to the current width changes nothing; without animation the
    // width is set at once.
    Tree->Header()->SetOptions(Tree->Header()->Options() + TDTHeaderOptions{hoDisableAnimatedResize});
    Columns().AnimatedResize(2, 50);
    EXPECT_EQ(Columns()[2]->LastWidth(), 50);
    Columns().AnimatedResize(2, 120);
    EXPECT_EQ(Columns()[2]->Width(), 120);
    EXPECT_EQ(resized, (std::vector<TColumnIndex>{1, 2}));
    Columns()[2]->RestoreLastWidth();
    EXPECT_EQ(Columns()[2]->Width(), 50);
}

// The animation moves what lies right of the column's border, in the
// header band as in the rows, by 32 steps of (new - old) div 32 pixels;
// the rows' uncovered strip takes the tree's colour. The header paints
// through a 32-bit picture.
TEST_F(TreeColumns, AnAnimatedResizeMovesHeaderAndRowsRightOfTheBorder)
{
    ShowForm();
    Tree->SetBounds(0, 0, 380, 200);
    AddColumns(3, 60);
    Columns()[1]->SetText("Middle");
    Tree->Header()->SetOptions(Tree->Header()->Options() + TDTHeaderOptions{hoVisible});
    Tree->SetColor(0x40C0FF);
    Tree->SetRootNodeCount(5);
    Host.PumpUntilIdle();
    EXPECT_EQ(Columns().HeaderBitmap()->PixelFormat(), plat::pf32bit);
    const plat::TPoint origin = ClientOriginInCapture(*Tree, *Form);
    const std::unique_ptr<plat::TPixelSurface> before = Host.Capture(Form->Handle());
    Columns().AnimatedResize(0, 60 + 32 * 2);
    const std::unique_ptr<plat::TPixelSurface> after = Host.Capture(Form->Handle());
    EXPECT_EQ(Columns()[0]->Width(), 124);
    const int rowY = static_cast<int>(Tree->GetDisplayRect(Tree->GetFirst(), NoColumn, false).Top) + 8;
    for (const int y : {-Tree->Header()->Height() / 2, rowY}) {
        for (int x = 60; x < 120; ++x) {
            ASSERT_EQ(CapturePixel(*after, origin, x + 64, y), CapturePixel(*before, origin, x, y))
                << "moved by 64 at y " << y << ", x " << x;
        }
    }
    for (int x = 60; x < 62; ++x) {
        EXPECT_EQ(CapturePixel(*after, origin, x, rowY), 0x40C0FFu) << "the first step's strip, x " << x;
    }
}

TEST_F(TreeColumns, FixedColumnsKeepWithinTheirShareOfTheClientWidth)
{
    ShowForm();
    AddColumns(3, 50);
    Columns()[0]->SetOptions(Columns()[0]->Options() + TDTColumnOptions{coFixed});
    TDTFixedAreaConstraints& limits = Tree->Header()->FixedAreaConstraints();
    limits.SetMaxWidthPercent(50);
    const int half = Tree->ClientWidth() * 50 / 100;
    Columns()[0]->SetWidth(5000);
    EXPECT_EQ(Columns()[0]->Width(), half);
    EXPECT_EQ(Columns().GetVisibleFixedWidth(), half);
    Columns()[2]->SetWidth(5000);
    EXPECT_EQ(Columns()[2]->Width(), 5000) << "scrolling columns are not limited by the fixed share";
}

TEST(FixedAreaConstraints, PercentSettersKeepMinimumAtMostMaximum)
{
    TDTFixedAreaConstraints limits;
    int changes = 0;
    limits.OnChange = [&changes] { ++changes; };
    EXPECT_EQ(limits.MaxWidthPercent(), 95);
    limits.SetMinWidthPercent(97);
    EXPECT_EQ(limits.MaxWidthPercent(), 97) << "maximum pushed up";
    limits.SetMaxWidthPercent(40);
    EXPECT_EQ(limits.MinWidthPercent(), 40) << "minimum pulled down";
    limits.SetMaxWidthPercent(0);
    limits.SetMinWidthPercent(60);
    EXPECT_EQ(limits.MaxWidthPercent(), 0) << "0 means no limit and stays";
    limits.SetMinHeightPercent(30);
    limits.SetMaxHeightPercent(20);
    EXPECT_EQ(limits.MinHeightPercent(), 20);
    limits.SetMaxHeightPercent(250);
    EXPECT_EQ(limits.MaxHeightPercent(), 100) << "percentages end at 100";
    const int before = changes;
    limits.SetMaxHeightPercent(100);
    EXPECT_EQ(changes, before) << "no change, no notification";
}

} // namespace
} // namespace qel::tree_test
