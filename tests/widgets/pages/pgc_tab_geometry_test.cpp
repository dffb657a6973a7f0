// Tests of the notebook's tab arithmetic from fixed caption widths: greedy
// rows and dealt rows, the old style's rows justified to the available
// length, the pages' bounds and the tabs' places on the four edges.
#include "widgets/pages/pgc_tab_geometry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qel {
namespace {

// Slots from caption widths; a negative width marks a page without a tab
// (its row stays 9).
std::vector<TTabSlot> Slots(const std::vector<int>& Captions)
{
    std::vector<TTabSlot> slots;
    for (int width : Captions) {
        TTabSlot slot;
        slot.TakesPart = width >= 0;
        slot.CaptionWidth = std::max(width, 0);
        slot.Row = 9;
        slots.push_back(slot);
    }
    return slots;
}

std::vector<int> RowsOf(const std::vector<TTabSlot>& Slots)
{
    std::vector<int> rows;
    for (const TTabSlot& slot : Slots) {
        rows.push_back(slot.Row);
    }
    return rows;
}

std::vector<int> WidthsOf(const std::vector<TTabSlot>& Slots)
{
    std::vector<int> widths;
    for (const TTabSlot& slot : Slots) {
        widths.push_back(slot.TabWidth);
    }
    return widths;
}

struct TRowCase {
    std::string Name;
    std::vector<int> Captions;
    int Available;
    int RowCount;
    bool OldStyle;
    std::vector<int> Rows;
    std::vector<int> Widths;
    int Total;
};

TEST(PgcTabGeometry, RowsAndLengthsFromCaptionWidths)
{
    const std::vector<TRowCase> cases = {
        {"three fit, the fourth opens a row", {50, 50, 50, 50}, 200, 0, false, {0, 0, 0, 1}, {62, 62, 62, 62}, 2},
        {"a tab fills a row exactly", {88, 88, 50}, 200, 0, false, {0, 0, 1}, {100, 100, 62}, 2},
        {"short captions get 20 pixels", {0, 3, 8}, 200, 0, false, {0, 0, 0}, {20, 20, 20}, 1},
        {"a page without a tab keeps its row", {50, -1, 50, 50, 50}, 200, 0, false, {0, 9, 0, 0, 1},
         {62, 0, 62, 62, 62}, 2},
        {"a row takes one page however long", {300, 10}, 200, 0, false, {0, 1}, {312, 22}, 2},
        {"seven pages dealt to three rows", {10, 10, 10, 10, 10, 10, 10}, 200, 3, false, {0, 0, 1, 1, 2, 2, 0},
         std::vector<int>(7, 22), 3},
        {"the quota counts hidden pages, places shown ones", {10, -1, 10, 10, 10}, 200, 2, false,
         {0, 9, 0, 1, 1}, {22, 0, 22, 22, 22}, 2},
        {"more rows than pages: in turn, within the rows", {10, 10, 10}, 200, 5, false, {0, 1, 2},
         {22, 22, 22}, 5},
        {"old style: one common length, the row justified", {10, 40, 20}, 200, 0, true, {0, 0, 0}, {67, 67, 66}, 1},
        {"old style: an overlong tab shrinks to the row", {200}, 100, 0, true, {0}, {100}, 1},
        {"old style: two rows, each filling the length", {10, 10, 10, 10, 10}, 100, 0, true, {0, 0, 0, 0, 1},
         {25, 25, 25, 25, 100}, 2},
        {"old style: an empty row between goes, the next moves up", {300, -1, 300}, 200, 0, true, {0, 9, 1},
         {200, 0, 200}, 2},
        {"without old style the empty row stays", {300, -1, 300}, 200, 0, false, {0, 9, 2}, {312, 0, 312}, 3},
    };
    for (const TRowCase& c : cases) {
        std::vector<TTabSlot> slots = Slots(c.Captions);
        const TTabRows rows = LayoutTabRows(slots, c.Available, c.RowCount, c.OldStyle, 0);
        EXPECT_EQ(RowsOf(slots), c.Rows) << c.Name;
        EXPECT_EQ(WidthsOf(slots), c.Widths) << c.Name;
        EXPECT_EQ(rows.Total, c.Total) << c.Name;
        for (int row = 0; row < rows.Total && c.OldStyle; ++row) {
            int length = 0;
            for (const TTabSlot& slot : slots) {
                length += slot.TakesPart && slot.Row == row ? slot.TabWidth : 0;
            }
            EXPECT_EQ(length, c.Available) << c.Name << ", row " << row;
        }
    }
}

TEST(PgcTabGeometry, TheActivePagesRowIsTheFocusedRow)
{
    std::vector<TTabSlot> slots = Slots({50, 50, 50, 50, 50});
    EXPECT_EQ(LayoutTabRows(slots, 130, 0, false, 3).Focused, 1);
    EXPECT_EQ(LayoutTabRows(slots, 130, 0, false, 4).Focused, 2);
    EXPECT_EQ(LayoutTabRows(slots, 130, 0, false, -1).Focused, 0) << "no active page";
    EXPECT_EQ(TabsInRow(slots, 0), 2);
    EXPECT_EQ(TabsInRow(slots, 2), 1);
}

TEST(PgcTabGeometry, PagesFillTheBodyOnEveryEdge)
{
    // 220 x 185, tab height 20, two rows (40 pixels).
    struct TCase {
        TPgcTabOrientation Orientation;
        int TabHeight;
        plat::TRect Bounds;
    };
    const std::vector<TCase> cases = {
        {toTop, 0, plat::Rect(0, 0, 220, 185)},
        {toLeft, 0, plat::Rect(0, 0, 220, 185)},
        {toTop, 20, plat::Bounds(1, 43, 217, 140)},
        {toRight, 20, plat::Bounds(1, 1, 176, 182)},
        {toBottom, 20, plat::Bounds(1, 1, 217, 140)},
        {toLeft, 20, plat::Bounds(43, 1, 175, 182)},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(PageBounds(c.Orientation, c.TabHeight, 2 * c.TabHeight, 220, 185), c.Bounds)
            << "orientation " << int(c.Orientation) << ", tab height " << c.TabHeight;
    }
}

TEST(PgcTabGeometry, TheFocusedRowIsPlacedLastNextToTheBody)
{
    std::vector<TTabSlot> slots = Slots({38, 38, 38, 38});   // 50 pixels each
    const TTabRows rows = LayoutTabRows(slots, 100, 2, false, 0);
    ASSERT_EQ(RowsOf(slots), (std::vector<int>{0, 0, 1, 1}));
    struct TCase {
        TPgcTabOrientation Orientation;
        std::vector<plat::TRect> Areas;   // in painting order: pages 2, 3, 0, 1
    };
    const std::vector<TCase> cases = {
        {toTop, {plat::Rect(2, 2, 52, 22), plat::Rect(52, 2, 102, 22), plat::Rect(2, 22, 52, 42),
                 plat::Rect(52, 22, 102, 42)}},
        {toBottom, {plat::Rect(2, 162, 52, 182), plat::Rect(52, 162, 102, 182), plat::Rect(2, 142, 52, 162),
                    plat::Rect(52, 142, 102, 162)}},
        {toLeft, {plat::Rect(2, 133, 22, 183), plat::Rect(2, 83, 22, 133), plat::Rect(22, 133, 42, 183),
                  plat::Rect(22, 83, 42, 133)}},
        {toRight, {plat::Rect(198, 2, 218, 52), plat::Rect(198, 52, 218, 102), plat::Rect(178, 2, 198, 52),
                   plat::Rect(178, 52, 198, 102)}},
    };
    for (const TCase& c : cases) {
        const std::vector<TTabPlacement> placed = PlaceTabs(slots, c.Orientation, 20, rows, 220, 185);
        ASSERT_EQ(placed.size(), 4u);
        const std::vector<int> order{2, 3, 0, 1};
        for (std::size_t i = 0; i < placed.size(); ++i) {
            EXPECT_EQ(placed[i].Index, order[i]) << int(c.Orientation);
            EXPECT_EQ(placed[i].Area, c.Areas[i]) << int(c.Orientation) << ", tab " << placed[i].Index;
            EXPECT_EQ(placed[i].FirstInRow, i % 2 == 0);
            EXPECT_EQ(placed[i].FirstPaintedRow, i < 2);
        }
    }
}

TEST(PgcTabGeometry, TabsWithoutTabOrOnNoRowAreNotPlaced)
{
    std::vector<TTabSlot> slots = Slots({10, -1, 10});
    const TTabRows rows = LayoutTabRows(slots, 200, 0, false, 0);
    const std::vector<TTabPlacement> placed = PlaceTabs(slots, toTop, 20, rows, 220, 185);
    ASSERT_EQ(placed.size(), 2u);
    EXPECT_EQ(placed[1].Index, 2);
    EXPECT_EQ(placed[1].Area, plat::Rect(24, 2, 46, 22)) << "the hidden page takes no room";
    EXPECT_TRUE(PlaceTabs(slots, toTop, 20, TTabRows{}, 220, 185).empty());
}

TEST(PgcTabGeometry, CaptionFocusAndRepaintRectanglesFollowTheEdge)
{
    const plat::TRect top = plat::Rect(2, 2, 60, 22);
    EXPECT_EQ(TabTextRect(toTop, 20, top), plat::Rect(7, 5, 54, 22));
    EXPECT_EQ(TabFocusRect(toTop, 20, top), plat::Rect(3, 3, 58, 20));
    EXPECT_EQ(TabRepaintRect(toTop, top), plat::Rect(2, 2, 60, 27));
    EXPECT_EQ(TabTextRect(toTop, 0, top), plat::TRect{}) << "no tabs";
    const plat::TRect left = plat::Rect(2, 100, 22, 160);
    EXPECT_EQ(TabTextRect(toLeft, 20, left), plat::Rect(-1, 105, 22, 154));
    EXPECT_EQ(TabFocusRect(toLeft, 20, left), plat::Rect(3, 101, 21, 158));
    EXPECT_EQ(TabRepaintRect(toRight, left), plat::Rect(-3, 100, 22, 160));
    EXPECT_EQ(EnlargedTab(toTop, top), plat::Rect(0, 0, 62, 22)) << "the body edge stays";
    EXPECT_EQ(EnlargedTab(toBottom, top), plat::Rect(0, 2, 62, 24));
    EXPECT_EQ(RowChangePoint(toTop, 20, 58, top), plat::Point(31, -8));
    EXPECT_EQ(RowChangePoint(toLeft, 20, 60, left), plat::Point(-8, 130));
}

} // namespace
} // namespace qel
