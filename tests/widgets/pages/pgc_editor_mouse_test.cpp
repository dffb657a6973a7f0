// Tests of the editor's mouse on the headless host and its manual clock:
// clicks and Shift clicks, a drag past the bottom edge scrolling one line
// every D - G ms, column blocks by Alt drags, line selection from the left
// margin with its cursor, and double clicks on words and paragraphs.
#include "tests/widgets/pages/pgc_editor_fixture.h"

#include "platform/controls/system_metrics.h"
#include "platform/controls/virtual_keys.h"

namespace qel::test {
namespace {

class TEditorMouseTest : public TEditorTest {
protected:
    void Lines(int Count)
    {
        std::string text;
        for (int i = 1; i <= Count; ++i) {
            text += (i == 1 ? "" : "\r\n") + ("line " + std::to_string(i));
        }
        Editor->SetText(text);
        Editor->SetTopLine(1);
        Pump();
    }
    void Click(plat::TPoint Screen, std::uint8_t Mods = 0)
    {
        Host.AdvanceClock(ApartMs);
        HoldModifiers(Mods, true);
        Host.Click(Screen);
        HoldModifiers(Mods, false);
        Pump();
    }
    void DoubleClick(plat::TPoint Screen, std::uint8_t Mods = 0)
    {
        Host.AdvanceClock(ApartMs);
        HoldModifiers(Mods, true);
        Host.DoubleClick(Screen);
        HoldModifiers(Mods, false);
        Pump();
    }
    // A screen point in the left margin beside a display line.
    plat::TPoint MarginPoint(int Line)
    {
        const plat::TPoint cell = CellPoint(Line, 1);
        return Editor->ClientToScreen({2, cell.Y});
    }
};

TEST_F(TEditorMouseTest, ClickAndShiftClick)
{
    Lines(5);
    Click(ScreenCell(2, 3));
    EXPECT_TRUE(Editor->Focused());
    EXPECT_EQ(Caret(), std::make_pair(2, 3));
    EXPECT_FALSE(Editor->HasSelection());
    Click(ScreenCell(4, 2), plat::ModShift);
    EXPECT_EQ(Selection(), (std::array<int, 4>{2, 3, 4, 2}));
    EXPECT_EQ(Caret(), std::make_pair(4, 2));
    Click(ScreenCell(1, 6), plat::ModShift);
    EXPECT_EQ(Selection(), (std::array<int, 4>{1, 6, 2, 3})) << "the fixed end stays";
    Click(ScreenCell(3, 1));
    EXPECT_FALSE(Editor->HasSelection());

    int line = 0;
    int col = 0;
    Host.MouseMove(Editor->ClientToScreen({Editor->ClientWidth() + 30, 5}));
    Pump();
    Editor->GetMousePos(line, col, true);
    EXPECT_EQ(std::make_pair(line, col), std::make_pair(-1, -1));
    Host.MouseMove(ScreenCell(2, 4));
    Pump();
    Editor->GetMousePos(line, col, true);
    EXPECT_EQ(std::make_pair(line, col), std::make_pair(2, 4));
}

// Dragging below the window scrolls one line every D - G ms, D being three
// scroll-bar heights and G how far below the window the pointer is.
TEST_F(TEditorMouseTest, DragBelowTheWindowScrollsOnTheClock)
{
    Lines(100);
    const int rowHeight = RowHeight();
    SetClientSize(200, rowHeight * 10);
    ASSERT_EQ(Editor->VisibleRows(), 10);
    const int edge = 3 * plat::GetSystemMetrics(plat::SM_CYHSCROLL);
    ASSERT_GT(edge, 25);

    Host.AdvanceClock(ApartMs);
    Host.MouseDown(ScreenCell(5, 1));
    Pump();
    const auto below = [&](int Pixels) {
        return Editor->ClientToScreen({Editor->LeftMargin() + 1, Editor->ClientHeight() - 1 + Pixels});
    };
    Host.MouseMove(below(10));
    Pump();
    EXPECT_EQ(Editor->TopLine(), 1) << "no step before D - G ms";
    Host.AdvanceClock(edge - 10 - 1);
    EXPECT_EQ(Editor->TopLine(), 1);
    Host.AdvanceClock(1);
    EXPECT_EQ(Editor->TopLine(), 2);
    EXPECT_EQ(Caret(), std::make_pair(11, 1));
    Host.AdvanceClock(edge - 10);
    EXPECT_EQ(Editor->TopLine(), 3);

    Host.MouseMove(below(20));
    Pump();
    Host.AdvanceClock(edge - 20 - 1);
    EXPECT_EQ(Editor->TopLine(), 3);
    Host.AdvanceClock(1);
    EXPECT_EQ(Editor->TopLine(), 4) << "farther out, faster";
    for (int step = 0; step < 5; ++step) {
        Host.AdvanceClock(edge - 20);
    }
    EXPECT_EQ(Editor->TopLine(), 9);

    Host.MouseUp(below(20));
    Pump();
    Host.AdvanceClock(10 * edge);
    EXPECT_EQ(Editor->TopLine(), 9) << "the release ends the drag";
    EXPECT_EQ(Selection(), (std::array<int, 4>{5, 1, 18, 1}));
}

TEST_F(TEditorMouseTest, AltDragMakesAColumnBlockUnlessWrapping)
{
    for (const bool wrap : {false, true}) {
        Editor->SetWordWrap(wrap);
        Lines(5);
        Drag(ScreenCell(1, 2), ScreenCell(3, 4), plat::ModAlt);
        EXPECT_EQ(Selection(), (std::array<int, 4>{1, 2, 3, 4})) << wrap;
        EXPECT_EQ(Editor->ColumnBlockSelected(), !wrap);
        Click(ScreenCell(2, 2));
        EXPECT_FALSE(Editor->ColumnBlockSelected()) << "a plain press ends the block";
    }
}

// Widening a column block on its last line repaints that line only; the
// paint sees the block's width changed and invalidates the block rows it
// did not reach, so the next paint widens them too.
TEST_F(TEditorMouseTest, AWiderColumnBlockRepaintsEveryRowOfIt)
{
    Lines(5);
    Focus();
    const plat::COLORREF highlight = plat::ToColorRef(plat::clHighlight);
    Host.AdvanceClock(ApartMs);
    HoldModifiers(plat::ModAlt, true);
    Host.MouseDown(ScreenCell(1, 2));
    Host.MouseMove(ScreenCell(5, 4));
    Pump();
    ASSERT_NE(ScreenPixel(CellPoint(1, 5).X, CellPoint(1, 5).Y), highlight) << "column 5 lies outside the block";
    Host.MouseMove(ScreenCell(5, 6));
    Pump();
    Host.MouseUp(ScreenCell(5, 6));
    HoldModifiers(plat::ModAlt, false);
    Pump();
    ASSERT_TRUE(Editor->ColumnBlockSelected());
    EXPECT_EQ(Selection(), (std::array<int, 4>{1, 2, 5, 6}));
    for (int line = 1; line <= 5; ++line) {
        const plat::TPoint cell = CellPoint(line, 5);
        EXPECT_EQ(ScreenPixel(cell.X, cell.Y), highlight) << "line " << line;
    }
}

TEST_F(TEditorMouseTest, LineSelectionInTheMargin)
{
    Lines(6);
    Host.MouseMove(ScreenCell(2, 3));
    Pump();
    const plat::HCURSOR overText = Host.Cursor();
    Host.MouseMove(MarginPoint(2));
    Pump();
    const plat::HCURSOR overMargin = Host.Cursor();
    EXPECT_NE(overMargin, 0);
    EXPECT_NE(overMargin, overText) << "the line-selection cursor";

    Click(MarginPoint(2));
    EXPECT_EQ(Selection(), (std::array<int, 4>{2, 1, 3, 1}));

    Drag(MarginPoint(2), MarginPoint(4));
    EXPECT_EQ(Selection(), (std::array<int, 4>{2, 1, 5, 1}));

    Drag(MarginPoint(3), MarginPoint(6));
    EXPECT_EQ(Selection(), (std::array<int, 4>{3, 1, 6, 7})) << "the last line to its end";

    Click(MarginPoint(1), plat::ModShift);
    EXPECT_EQ(Selection(), (std::array<int, 4>{1, 1, 6, 7})) << "Shift keeps the selection's far end";
}

TEST_F(TEditorMouseTest, DoubleClicks)
{
    Editor->SetText("ab cd, ef\r\nsecond para\r\nthird");
    Pump();
    const int width = Editor->ColumnWidth();
    ASSERT_GE(width, 4);
    const auto blankHalf = [&](bool Right) {
        const int x = Editor->LeftMargin() + 2 * width + (Right ? width - 1 : 1);
        return Editor->ClientToScreen({x, CellPoint(1, 1).Y});
    };
    struct TCase {
        const char* Name;
        plat::TPoint At;
        std::uint8_t Mods;
        std::array<int, 4> Selected;
        std::pair<int, int> Caret;
    };
    const std::vector<TCase> cases = {
        {"left half of a blank: the word left of it with the blank", blankHalf(false), 0, {1, 1, 1, 4}, {1, 4}},
        {"right half of a blank: the word right of it", blankHalf(true), 0, {1, 4, 1, 6}, {1, 6}},
        {"inside a word", ScreenCell(1, 9), 0, {1, 8, 1, 10}, {1, 10}},
        {"past the line's end: its last word", ScreenCell(2, 20), 0, {2, 8, 2, 12}, {2, 12}},
        {"margin: the paragraph", MarginPoint(2), 0, {2, 1, 2, 12}, {2, 12}},
        {"margin with Shift after: to the end of that paragraph", MarginPoint(3), plat::ModShift, {2, 1, 3, 6},
            {3, 6}},
        {"margin with Shift before: from that paragraph", MarginPoint(1), plat::ModShift, {1, 1, 3, 6}, {1, 1}},
    };
    for (const TCase& one : cases) {
        DoubleClick(one.At, one.Mods);
        EXPECT_EQ(Selection(), one.Selected) << one.Name;
        EXPECT_EQ(Caret(), one.Caret) << one.Name;
    }

    Click(ScreenCell(1, 2));
    DoubleClick(ScreenCell(2, 3), plat::ModShift);
    EXPECT_EQ(Selection(), (std::array<int, 4>{1, 2, 2, 8})) << "Shift: from the old start to the word's end";
}

} // namespace
} // namespace qel::test
