// Tests of the editor's view: the first visible line and column, scrolling
// by moving pixels or repainting, the vertical bar counting in units of
// several lines for long texts with the thumb rules of WM_VSCROLL, the range
// appearing when the text outgrows the window, the caret's pixel place and
// the posted status, and pixels mapped back to text positions.
#include "tests/widgets/pages/pgc_editor_fixture.h"

#include "widgets/pages/pgc_exceptions.h"

#include "platform/controls/caret.h"
#include "platform/controls/scroll_bars.h"
#include "platform/controls/window_manager.h"
#include "platform/controls/window_messages.h"

#include <string>
#include <vector>

namespace qel {
namespace {

constexpr int Cell = 7;
constexpr int Row = 15;
constexpr int Margin = 15;

// An editor that notes the clip box of every paint and lets tests scroll
// it directly.
class TPaintLogEditor : public TPgcEditor {
public:
    using TPgcEditor::TPgcEditor;
    using TPgcEditor::edScrollPrim;
    std::vector<plat::TRect> Clips;

protected:
    void Paint() override
    {
        plat::TRect clip;
        Canvas()->Handle()->GetClipBox(clip);
        Clips.push_back(clip);
        TPgcEditor::Paint();
    }
};

class PgcEditorScroll : public test::TEditorTest {
protected:
    PgcEditorScroll()
    {
        Editor->SetBorderStyle(TPgcCustomEditor::bsNone);
        Editor->SetScrollBars(TPgcCustomEditor::ssVertical);
        SetClientSize(300, 10 * Row);
    }

    void FillLines(int count)
    {
        for (int i = 1; i <= count; ++i) {
            ASSERT_EQ(Editor->AppendPara("line " + std::to_string(i)), 0);
        }
    }
    plat::TScrollInfo VerticalBar() const
    {
        plat::TScrollInfo info;
        info.fMask = plat::SIF_RANGE | plat::SIF_PAGE | plat::SIF_POS;
        plat::GetScrollInfo(Editor->Handle(), plat::SB_VERT, info);
        return info;
    }
    void Thumb(int position)
    {
        Editor->Perform(plat::WM_VSCROLL, plat::MAKEWPARAM(plat::SB_THUMBPOSITION, static_cast<std::uint16_t>(position)));
    }
    static const plat::TCaretState& Caret() { return plat::TWindowManager::Current().Caret(); }
};

TEST_F(PgcEditorScroll, TopLineMustNameALine)
{
    FillLines(30);
    Editor->SetTopLine(5);
    EXPECT_EQ(Editor->TopLine(), 5);
    EXPECT_THROW(Editor->SetTopLine(0), EInvalidLineOrPara);
    EXPECT_THROW(Editor->SetTopLine(Editor->LineCount() + 1), EInvalidLineOrPara);
    EXPECT_EQ(Editor->TopLine(), 5);
    Editor->SetTopLine(Editor->LineCount());
    EXPECT_EQ(Editor->TopLine(), Editor->LineCount() - 10 + 1) << "no further than a window of text";
}

TEST_F(PgcEditorScroll, TopLineChangesAreAnnouncedEachTime)
{
    FillLines(30);
    std::vector<int> tops;
    Editor->OnTopLineChanged = [&](plat::TObject*, int line) { tops.push_back(line); };
    Editor->SetTopLine(3);
    Editor->SetTopLine(1);
    Editor->SetTopLine(1);
    Editor->Perform(plat::WM_VSCROLL, plat::SB_LINEDOWN);
    Editor->Perform(plat::WM_VSCROLL, plat::SB_PAGEDOWN);
    Editor->Perform(plat::WM_VSCROLL, plat::SB_LINEUP);
    EXPECT_EQ(tops, (std::vector<int>{3, 1, 2, 12, 11}));
}

TEST_F(PgcEditorScroll, LeftColumnStaysWithinTheHorizontalRange)
{
    Editor->SetText(std::string(100, 'w'));
    Editor->SetCaretPosition(1, 1);
    ASSERT_EQ(Editor->LeftColumn(), 1);
    Editor->SetLeftColumn(0);
    EXPECT_EQ(Editor->LeftColumn(), 1);
    Editor->SetLeftColumn(513);
    EXPECT_EQ(Editor->LeftColumn(), 1) << "above the range of 512";
    Editor->SetLeftColumn(10);
    EXPECT_EQ(Editor->LeftColumn(), 10);
    Editor->SetLeftColumn(Editor->LeftColumn() - 1);
    EXPECT_EQ(Editor->LeftColumn(), 9);
    const auto paint = PaintRecorded();
    EXPECT_EQ(Texts(*paint)[0].size(), static_cast<std::size_t>(Editor->VisibleColumns()));
}

TEST_F(PgcEditorScroll, HorizontalBarMessagesMoveTheFirstColumn)
{
    Editor->SetText(std::string(300, 'h'));
    Editor->SetCaretPosition(1, 1);
    const auto send = [this](int code, int position = 0) {
        Editor->Perform(plat::WM_HSCROLL,
            plat::MAKEWPARAM(static_cast<std::uint16_t>(code), static_cast<std::uint16_t>(position)));
    };
    send(plat::SB_LINERIGHT);
    EXPECT_EQ(Editor->LeftColumn(), 2);
    send(plat::SB_PAGERIGHT);
    EXPECT_EQ(Editor->LeftColumn(), 2 + Editor->VisibleColumns() - 1);
    send(plat::SB_THUMBTRACK, 100);
    EXPECT_EQ(Editor->LeftColumn(), 101);
    send(plat::SB_PAGELEFT);
    EXPECT_EQ(Editor->LeftColumn(), 101 - Editor->VisibleColumns() + 1);
    send(plat::SB_LINELEFT);
    send(plat::SB_THUMBPOSITION, 0);
    EXPECT_EQ(Editor->LeftColumn(), 1);
    send(plat::SB_LINELEFT);
    EXPECT_EQ(Editor->LeftColumn(), 1) << "never left of the first column";
}

TEST_F(PgcEditorScroll, WrapColumnFollowsTheWindowWidth)
{
    Editor->SetWordWrap(true);
    Editor->SetWrapToWindow(true);
    EXPECT_EQ(Editor->WrapColumn(), Editor->VisibleColumns() - 2);
    SetClientSize(200, 10 * Row);
    EXPECT_EQ(Editor->WrapColumn(), Editor->VisibleColumns() - 2);
    Editor->SetText(std::string(100, 'w'));
    EXPECT_GT(Editor->LineCount(), 3) << "the text wraps at the window's width";
}

TEST_F(PgcEditorScroll, LongTextsCountTheBarInUnitsOfSeveralLines)
{
    SetClientSize(300, 20 * Row);
    ASSERT_EQ(Editor->VisibleRows(), 20);
    for (int i = 1; i < 40000; ++i) {
        Editor->AppendPara(u"x");
    }
    ASSERT_EQ(Editor->LineCount(), 40000);
    Editor->ResetScrollBars(true);
    plat::TScrollInfo bar = VerticalBar();
    EXPECT_EQ(bar.nMin, 1);
    EXPECT_EQ(bar.nMax, 20000) << "lines counted in twos";
    EXPECT_EQ(bar.nPage, 20u);

    Thumb(100);
    EXPECT_EQ(Editor->TopLine(), 200);
    EXPECT_EQ(VerticalBar().nPos, 100);
    Thumb(1);
    EXPECT_EQ(Editor->TopLine(), 1);
    Thumb(19989);
    EXPECT_EQ(Editor->TopLine(), 39978);
    // The range is 19,990 units: its end stands for the end of the text,
    // (19,990 x 2 lines, not line 19,990).
    Thumb(19990);
    EXPECT_EQ(Editor->TopLine(), 39980);
}

TEST_F(PgcEditorScroll, ShortTextsKeepOneLinePerUnit)
{
    FillLines(39);
    ASSERT_EQ(Editor->LineCount(), 40);
    Editor->ResetScrollBars(true);
    EXPECT_EQ(VerticalBar().nMax, 40);
    Thumb(31);
    EXPECT_EQ(Editor->TopLine(), 31) << "the range's end: the last top line";
    Thumb(7);
    EXPECT_EQ(Editor->TopLine(), 7);
}

TEST_F(PgcEditorScroll, VerticalRangeAppearsWhenTheTextFirstOutgrowsTheWindow)
{
    const auto scrollable = [this] {
        const plat::TScrollInfo bar = VerticalBar();
        return bar.nMax - bar.nMin + 1 > static_cast<int>(bar.nPage);
    };
    for (int i = 1; i <= 9; ++i) {
        Editor->AppendPara(u"fits");
        EXPECT_FALSE(scrollable()) << i;
    }
    ASSERT_EQ(Editor->LineCount(), 10);
    Editor->AppendPara(u"one too many");
    EXPECT_TRUE(scrollable());
    EXPECT_EQ(VerticalBar().nMax, 11);
    Editor->AppendPara(u"more");
    EXPECT_EQ(VerticalBar().nMax, 11) << "not again for each paragraph";
}

TEST_F(PgcEditorScroll, OneLineScrollsMovePixelsTwoWayScrollsRepaint)
{
    auto* editor = new TPaintLogEditor(Form);
    editor->SetBorderStyle(TPgcCustomEditor::bsNone);
    editor->SetScrollBars(TPgcCustomEditor::ssNone);
    editor->SetBounds(0, 0, 300, 10 * Row);
    editor->SetParent(Form);
    for (int i = 1; i <= 40; ++i) {
        editor->AppendPara(std::string(60, static_cast<char>('a' + i % 26)));
    }
    Pump();
    editor->Clips.clear();
    editor->edScrollPrim(0, 1);
    ASSERT_FALSE(editor->Clips.empty());
    EXPECT_EQ(editor->Clips[0].Top, 9 * Row) << "only the uncovered row was painted at once";
    EXPECT_EQ(editor->Clips[0].Bottom, 10 * Row);
    Pump();
    EXPECT_EQ(editor->Clips.back(), editor->ClientRect()) << "then the whole window";

    editor->Clips.clear();
    editor->edScrollPrim(1, 1);
    ASSERT_FALSE(editor->Clips.empty());
    EXPECT_EQ(editor->Clips[0], editor->ClientRect()) << "both ways: repainted";
    EXPECT_EQ(editor->TopLine(), 3);
    EXPECT_EQ(editor->LeftColumn(), 2);
}

TEST_F(PgcEditorScroll, WheelScrollsByWheelDeltaLines)
{
    FillLines(30);
    Editor->SetFocus();   // the wheel goes to the control with the focus
    Pump();
    int notches = 0;
    Editor->OnMouseWheel = [&](plat::TObject*, plat::TShiftState, std::uint16_t, std::uint16_t, std::uint16_t) {
        ++notches;
    };
    const plat::TPoint centre = Editor->ClientToScreen({100, 50});
    Host.Wheel(centre, -plat::WHEEL_DELTA);
    Pump();
    EXPECT_EQ(Editor->TopLine(), 2) << "a notch towards the user scrolls down";
    Editor->SetWheelDelta(3);
    Host.Wheel(centre, -plat::WHEEL_DELTA);
    Pump();
    EXPECT_EQ(Editor->TopLine(), 5);
    Host.Wheel(centre, plat::WHEEL_DELTA);
    Pump();
    EXPECT_EQ(Editor->TopLine(), 2);
    EXPECT_EQ(notches, 3) << "the library's wheel event first";
}

TEST_F(PgcEditorScroll, GrowingWindowThatHoldsAllLinesShowsTheTop)
{
    FillLines(15);
    Editor->SetTopLine(5);
    SetClientSize(300, 20 * Row);
    EXPECT_EQ(Editor->TopLine(), 1);
}

TEST_F(PgcEditorScroll, CaretSitsBetweenCharactersAndBlocksOnTheirCell)
{
    Editor->SetText("abcdef\r\nsecond line");
    Editor->SetFocus();
    Pump();
    Editor->SetCaretPosition(1, 4);
    EXPECT_EQ(Caret().Position, (plat::TPoint{Margin + 3 * Cell - 1, 0})) << "the thin insert caret";
    EXPECT_EQ(Caret().Width, 2);
    EXPECT_EQ(Caret().Height, Row);
    Editor->SetInsertMode(false);
    EXPECT_EQ(Caret().Position, (plat::TPoint{Margin + 3 * Cell, 0})) << "the block one pixel further right";
    EXPECT_EQ(Caret().Width, Cell);
    Editor->SetCaretPosition(2, 2);
    EXPECT_EQ(Caret().Position, (plat::TPoint{Margin + Cell, Row}));

    Editor->SetText(std::string(200, 'm'));
    Editor->SetLeftColumn(11);
    Editor->SetInsertMode(true);
    Editor->SetCaretPosition(1, 15);
    EXPECT_EQ(Caret().Position.X, Margin + (15 - 10 - 1) * Cell - 1) << "columns scrolled off count";
}

TEST_F(PgcEditorScroll, InsertModeTravelsWithTheFocusThroughTheController)
{
    Editor->SetFocus();
    Pump();
    Editor->SetInsertMode(false);
    auto* other = new TPgcEditor(Form);
    other->SetParent(Form);
    other->SetBounds(10, 200, 100, 50);
    other->SetFocus();
    Pump();
    EXPECT_FALSE(other->InsertMode()) << "taken from the controller on focus";
    EXPECT_EQ(Caret().Owner, other->Handle());
    EXPECT_EQ(Caret().Width, other->ColumnWidth()) << "an overwrite block";
}

TEST_F(PgcEditorScroll, StatusArrivesOncePerCaretPlacementAfterIt)
{
    Editor->SetText("a\tb\r\nxyz");
    Pump();
    std::vector<std::pair<int, int>> statuses;
    Editor->OnShowStatus = [&](plat::TObject*, int line, int column) { statuses.emplace_back(line, column); };
    Editor->SetCaretPosition(1, 3);
    EXPECT_TRUE(statuses.empty()) << "posted, not sent";
    Pump();
    EXPECT_EQ(statuses, (std::vector<std::pair<int, int>>{{1, 9}})) << "line and screen column";
    Editor->SetCaretPosition(2, 2);
    Editor->SetCaretPosition(2, 3);
    Pump();
    EXPECT_EQ(statuses.size(), 3u);
    EXPECT_EQ(statuses.back(), (std::pair<int, int>{2, 3}));
}

TEST_F(PgcEditorScroll, CaretOutOfViewIsScrolledIntoView)
{
    FillLines(50);
    Editor->SetCaretPosition(30, 3);
    EXPECT_EQ(Editor->TopLine(), 21) << "the caret on the last whole row";
    Editor->SetCaretPosition(5, 1);
    EXPECT_EQ(Editor->TopLine(), 5);
}

TEST_F(PgcEditorScroll, PixelsMapToLinesAndColumns)
{
    Editor->SetText("abc\r\n" + std::string(100, 'L') + "\r\nthird");
    struct TCase {
        int X;
        int Y;
        int Line;
        int Col;
        const char* What;
    };
    const int cols = Editor->VisibleColumns();
    const TCase cases[] = {
        {2, 5, 1, 1, "left of the text area"},
        {Margin + Cell + 2, 5, 1, 2, "in the left half of the second cell"},
        {Margin + Cell + 4, 5, 1, 3, "nearest cell boundary"},
        {Margin + 20 * Cell, 5, 1, 4, "right of a short line's end"},
        {Margin + 2 * Cell, Row + 3, 2, 3, "second row"},
        {Margin + cols * Cell - Cell / 2, Row + 3, 2, cols, "the last half cell: the last visible column"},
        {Margin, -4, 1, 1, "above the window"},
        {Margin, 10 * Row + 40, 3, 1, "below it: the line after the last row, cut to the text"},
    };
    for (const TCase& c : cases) {
        int line = 0;
        int col = 0;
        Editor->XYToLineCol(c.X, c.Y, line, col);
        EXPECT_EQ(line, c.Line) << c.What;
        EXPECT_EQ(col, c.Col) << c.What;
    }
    Editor->SetScrollPastEnd(true);
    int line = 0;
    int col = 0;
    Editor->XYToLineCol(Margin + 20 * Cell, 5, line, col);
    EXPECT_EQ(col, 21) << "past the end when the caret may go there";
}

} // namespace
} // namespace qel
