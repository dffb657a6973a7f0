// Selecting by drawing a rubber band with the mouse in a multi-selection
// data tree, driven by input injected into the headless host: rows met by
// the band are selected and unselected again when it leaves them, Ctrl
// toggles, the simple and full-row tests, right-justified text, right-to-
// left columns, a single-node tree and the band scrolling the tree below
// the client area.
#include "tests/widgets/tree/tree_fixture.h"

#include "platform/canvas/pixel_surface.h"
#include "platform/controls/virtual_keys.h"

#include <string>
#include <vector>

namespace qel::tree_test {
namespace {

constexpr int TextWidth = 40; // every node's text, as the band's row test sees it

class DrawSelection : public TreeTest {
protected:
    DrawSelection()
    {
        Form->SetBounds(0, 0, 400, 300);
        ShowForm();
        Tree->SetBounds(0, 0, 300, 200);
        Tree->NodeWidth = [](PDataNode, TColumnIndex) { return TextWidth; };
        SetSelection({toMultiSelect});
        Host.PumpUntilIdle();
    }

    void SetSelection(TDTSelectionOptions options) { Tree->TreeOptions()->SetSelectionOptions(options); }

    // Top-level nodes, no columns unless a test adds them.
    void AddRows(int count)
    {
        Tree->SetRootNodeCount(static_cast<std::uint32_t>(count));
        Tree->ValidateNode(nullptr, true);
        Rows = Children(*Tree);
        Host.PumpUntilIdle();
    }

    // One column of the given width, the main column, with the header shown.
    TDataTreeColumn* AddColumn(int width)
    {
        TDataTreeColumn* column = Tree->Header()->Columns().Add();
        column->SetWidth(width);
        Tree->Header()->SetOptions(Tree->Header()->Options() + TDTHeaderOptions{hoVisible});
        Tree->Header()->SetMainColumn(0);
        Host.PumpUntilIdle();
        return column;
    }

    // The vertical middle of a row, in client coordinates.
    int Middle(std::size_t row)
    {
        const plat::TRect r = Tree->GetDisplayRect(Rows[row], NoColumn, false);
        return static_cast<int>((r.Top + r.Bottom) / 2);
    }
    int BelowRows()
    {
        return static_cast<int>(Tree->GetDisplayRect(Rows.back(), NoColumn, false).Bottom) + 10;
    }
    int TextLeft(std::size_t row)
    {
        return static_cast<int>(Tree->GetDisplayRect(Rows[row], Tree->Header()->UseColumns() ? 0 : NoColumn, true).Left);
    }

    plat::TPoint Screen(int x, int y) { return Tree->ClientToScreen(plat::Point(x, y)); }
    void Down(int x, int y)
    {
        Host.MouseDown(Screen(x, y));
        Host.PumpUntilIdle();
    }
    void MoveTo(int x, int y)
    {
        Host.MouseMove(Screen(x, y));
        Host.PumpUntilIdle();
    }
    // The release; the clock moves on so that the next press is no double click.
    void Up(int x, int y)
    {
        Host.MouseUp(Screen(x, y));
        Host.PumpUntilIdle();
        Host.AdvanceClock(1000);
        Host.PumpUntilIdle();
    }

    // Which rows are selected, as a string of 0 and 1 in row order.
    std::string Marks()
    {
        std::string marks;
        for (PDataNode row : Rows) {
            marks += row->States.Contains(vsSelected) ? '1' : '0';
        }
        return marks;
    }

    std::vector<PDataNode> Rows;
};

TEST_F(DrawSelection, ABandSelectsTheRowsItMeetsAndUnselectsThoseItLeaves)
{
    AddRows(6);
    // From the empty space right of row 1's text (no label hit) left and
    // down over the texts of rows 1 to 3.
    Down(200, Middle(1));
    EXPECT_TRUE(Tree->TreeStates().Contains(tsDrawSelPending));
    MoveTo(20, Middle(3));
    EXPECT_TRUE(Tree->TreeStates().Contains(tsDrawSelecting));
    EXPECT_EQ(Marks(), "011100");
    // Shrunk back over row 1 only.
    MoveTo(20, Middle(1) + 1);
    EXPECT_EQ(Marks(), "010000");
    MoveTo(20, Middle(4));
    EXPECT_EQ(Marks(), "011110");
    Up(20, Middle(4));
    EXPECT_FALSE(Tree->TreeStates().Contains(tsDrawSelecting));
    EXPECT_FALSE(Tree->TreeStates().Contains(tsDrawSelPending));
    EXPECT_EQ(Marks(), "011110") << "the selection stays after the release";
    EXPECT_EQ(Tree->SelectedCount(), 4u);

    // A new band without Ctrl clears the old selection first.
    Down(200, Middle(5));
    MoveTo(20, Middle(5) - 8);
    EXPECT_EQ(Marks(), "000001");
    Up(20, Middle(5) - 8);
}

TEST_F(DrawSelection, CtrlAtTheStartTogglesTheRowsInsteadAndKeepsTheOthers)
{
    AddRows(6);
    Tree->SetSelected(Rows[1], true);
    Tree->SetSelected(Rows[2], true);
    Tree->SetSelected(Rows[5], true);
    Host.KeyDown(plat::VK_CONTROL);
    Down(200, Middle(0));
    MoveTo(20, Middle(3));
    EXPECT_EQ(Marks(), "100101") << "rows 1 and 2 were selected and are no longer; row 5 is outside";
    Host.KeyUp(plat::VK_CONTROL);
    Up(20, Middle(3));
    EXPECT_EQ(Marks(), "100101");
}

TEST_F(DrawSelection, ASingleNodeTreeNeverChangesItsSelectionByDrawing)
{
    AddRows(1);
    Down(200, Middle(0) - 5);
    MoveTo(10, Middle(0) + 20);
    EXPECT_TRUE(Tree->TreeStates().Contains(tsDrawSelecting)) << "the band itself runs";
    EXPECT_EQ(Marks(), "0");
    Up(10, Middle(0) + 20);
    EXPECT_EQ(Tree->SelectedCount(), 0u);
}

TEST_F(DrawSelection, DisabledOrSingleSelectionDrawsNoBand)
{
    AddRows(4);
    for (const TDTSelectionOptions options : {TDTSelectionOptions{}, TDTSelectionOptions{toMultiSelect, toDisableDrawSelection}}) {
        SetSelection(options);
        Down(200, Middle(0));
        EXPECT_FALSE(Tree->TreeStates().Contains(tsDrawSelPending));
        MoveTo(20, Middle(3));
        EXPECT_FALSE(Tree->TreeStates().Contains(tsDrawSelecting));
        EXPECT_EQ(Marks(), "0000");
        Up(20, Middle(3));
    }
}

// Left to right: a band that stays right of every text selects nothing,
// unless the row test is simple (toSimpleDrawSelection or toFullRowSelect):
// then reaching right of the text's start is enough, however short the text.
TEST_F(DrawSelection, SimpleRowTestLeftToRight)
{
    struct TCase {
        const char* name;
        TDTSelectionOptions extra;
        bool columns;
        int left;          // the band's far edge, from the text's left
        const char* marks; // rows 0 to 4 after drawing from below up to row 2
    };
    const std::vector<TCase> cases = {
        {"text box, right of the text", {}, false, TextWidth + 10, "00000"},
        {"text box, over the text", {}, false, TextWidth - 5, "00111"},
        {"simple", {toSimpleDrawSelection}, false, TextWidth + 10, "00111"},
        {"full row", {toFullRowSelect}, false, TextWidth + 10, "00111"},
        {"simple with columns", {toSimpleDrawSelection}, true, TextWidth + 10, "00111"},
    };
    for (const TCase& each : cases) {
        SCOPED_TRACE(each.name);
        Tree->Header()->Columns().Clear();
        Tree->Header()->SetOptions(Tree->Header()->Options() - TDTHeaderOptions{hoVisible});
        if (each.columns) {
            AddColumn(250);
        }
        AddRows(5);
        SetSelection(TDTSelectionOptions{toMultiSelect} + each.extra);
        // Drawn from below the last row (no node hit, so a full-row click
        // selects nothing by itself) up into row 2.
        const int start = 280;
        Down(start, BelowRows());
        MoveTo(TextLeft(2) + each.left, Middle(2));
        EXPECT_EQ(Marks(), each.marks);
        Up(TextLeft(2) + each.left, Middle(2));
    }
}

TEST_F(DrawSelection, SimpleWithColumnsNeedsTheBandToStartLeftOfTheColumnsTotalWidth)
{
    AddColumn(150);
    AddRows(5);
    SetSelection({toMultiSelect, toSimpleDrawSelection});
    Down(280, BelowRows());
    MoveTo(160, Middle(2));
    EXPECT_EQ(Marks(), "00000") << "the band lies right of all columns";
    MoveTo(140, Middle(2));
    EXPECT_EQ(Marks(), "00111");
    Up(140, Middle(2));
}

TEST_F(DrawSelection, RightJustifiedTextCountsOnlyWhereTheTextIs)
{
    TDataTreeColumn* column = AddColumn(250);
    column->SetAlignment(taRightJustify);
    AddRows(5);
    const int textRight = static_cast<int>(Tree->GetDisplayRect(Rows[0], 0, true).Right);
    ASSERT_EQ(TextLeft(0), textRight - TextWidth);
    // From the left of the column, in the empty space before the texts.
    Down(60, BelowRows());
    MoveTo(textRight - TextWidth - 20, Middle(2));
    EXPECT_EQ(Marks(), "00000") << "the space left of right-justified text is no part of its box";
    MoveTo(textRight - 5, Middle(2));
    EXPECT_EQ(Marks(), "00111");
    Up(textRight - 5, Middle(2));
}

// Right to left: only toSimpleDrawSelection makes the test the vertical
// overlap alone; toFullRowSelect leaves it to the text box, which sits at
// the column's right edge.
TEST_F(DrawSelection, RightToLeftMainColumn)
{
    struct TCase {
        const char* name;
        TDTSelectionOptions extra;
        int x; // the band's x range is [x, x + 10]
        const char* marks;
    };
    const std::vector<TCase> cases = {
        {"simple: vertical overlap alone", {toSimpleDrawSelection}, 10, "00111"},
        {"full row: far left of the text", {toFullRowSelect}, 10, "00000"},
        {"full row: over the text", {toFullRowSelect}, 220, "00111"},
        {"text box: over the text", {}, 220, "00111"},
        {"text box: far left of the text", {}, 10, "00000"},
    };
    TDataTreeColumn* column = AddColumn(250);
    column->SetBiDiMode(bdRightToLeft);
    AddRows(5);
    for (const TCase& each : cases) {
        SCOPED_TRACE(each.name);
        Tree->ClearSelection();
        SetSelection(TDTSelectionOptions{toMultiSelect} + each.extra);
        Down(each.x + 10, BelowRows());
        MoveTo(each.x, Middle(2));
        EXPECT_EQ(Marks(), each.marks);
        Up(each.x, Middle(2));
    }
}

TEST_F(DrawSelection, DraggingBelowTheClientAreaScrollsAndKeepsExtendingTheBand)
{
    AddRows(40);
    Tree->SetAutoScrollDelay(100);
    ASSERT_GT(Tree->RangeY(), Tree->ClientHeight());
    Down(200, Middle(1));
    // The mouse leaves the client area downwards (leaving the tree stops
    // the scroll timer; the next move outside starts it again).
    MoveTo(20, Tree->ClientHeight() + 4);
    MoveTo(20, Tree->ClientHeight() + 5);
    ASSERT_TRUE(Tree->TreeStates().Contains(tsScrollPending));
    const std::size_t before = Tree->SelectedCount();
    EXPECT_EQ(Tree->OffsetY(), 0);
    EXPECT_LT(before, 15u) << "only rows on the screen so far";
    for (int step = 0; step < 5; ++step) {
        Host.AdvanceClock(100);
        Host.PumpUntilIdle();
    }
    EXPECT_LT(Tree->OffsetY(), 0) << "the tree scrolled";
    // The mouse held still below the client area: the band's corner went
    // down with the scrolling, to the last row.
    EXPECT_EQ(Marks(), "0" + std::string(39, '1'));
    Up(20, Tree->ClientHeight() + 5);
    EXPECT_EQ(Tree->SelectedCount(), 39u) << "the release ends the band and its scrolling";
    EXPECT_FALSE(Tree->TreeStates().Contains(tsScrolling));
}

TEST_F(DrawSelection, TheBandInProgressIsPainted)
{
    AddRows(8);
    Tree->SetDrawSelectionMode(smBlendedRectangle);
    Down(220, Middle(1));
    MoveTo(30, Middle(5));
    ASSERT_TRUE(Tree->TreeStates().Contains(tsDrawSelecting));
    const std::unique_ptr<plat::TPixelSurface> screen = Host.CaptureScreen();
    SaveShot(*screen, "tree_draw_selection");
    const auto pixel = [&](int x, int y) {
        const plat::TPoint p = Screen(x, y);
        const std::uint8_t* bytes = screen->ScanLine(p.Y) + 4 * p.X;
        return static_cast<plat::TColor>(bytes[2] | (bytes[1] << 8) | (bytes[0] << 16));
    };
    const plat::TColor background = pixel(260, Middle(3));
    EXPECT_EQ(background, plat::ColorToRGB(Tree->Color())) << "right of the band";
    EXPECT_NE(pixel(150, Middle(3)), background) << "inside the band, right of the text: blended";
    EXPECT_EQ(pixel(219, Middle(3)), plat::ColorToRGB(Tree->Colors()->SelectionRectangleBorderColor()))
        << "the band's right edge";
    EXPECT_EQ(pixel(150, Middle(6)), background) << "below the band";
    Up(30, Middle(5));
}

} // namespace
} // namespace qel::tree_test
