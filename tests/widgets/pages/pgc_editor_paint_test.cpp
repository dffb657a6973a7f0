// Tests of the editor's painting on the recording canvas and by pixel
// probes: rows and partial rows, rules, tabs drawn cell by cell, a stream
// selection over its characters only, hidden and disabled selections, grey
// text, margins, marker glyphs and borders; and the screenshots of the
// editor as the program shows it.
#include "tests/widgets/pages/pgc_editor_fixture.h"

#include "widgets/pages/pgc_border.h"
#include "widgets/pages/pgc_colors.h"
#include "widgets/pages/pgc_editor_margins.h"
#include "widgets/pages/pgc_fixed_font.h"
#include "widgets/pages/pgc_caret.h"

#include "platform/controls/virtual_keys.h"

#include <string>
#include <vector>

namespace qel {
namespace {

constexpr int Cell = 7;        // DejaVu Sans Mono at 8 points, 96 dpi
constexpr int Row = 15;
constexpr int Margin = 15;     // the default left margin

const plat::COLORREF Window = plat::ToColorRef(plat::clWindow);
const plat::COLORREF Highlight = plat::ToColorRef(plat::clHighlight);
const plat::COLORREF Navy = plat::ToColorRef(plat::clNavy);

class PgcEditorPaint : public test::TEditorTest {
protected:
    PgcEditorPaint()
    {
        Editor->SetBorderStyle(TPgcCustomEditor::bsNone);
        Editor->SetScrollBars(TPgcCustomEditor::ssNone);
        SetClientSize(300, 10 * Row);
    }

    // True when some pixel of the rectangle differs from the colour.
    static bool HasInk(test::TRecordedPaint& paint, int left, int top, int right, int bottom, plat::COLORREF background)
    {
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) {
                if (paint.Pixel(x, y) != background) {
                    return true;
                }
            }
        }
        return false;
    }
    // The left edge of screen column Col.
    static int CellLeft(int Col) { return Margin + (Col - 1) * Cell; }
    // The texts written on the highlight background.
    static std::vector<std::string> HighlightedTexts(const test::TRecordedPaint& paint)
    {
        std::vector<std::string> texts;
        for (const plat::TRecordedCall* call : paint.Calls("ExtTextOut")) {
            if (call->State.BkColor == Highlight) {
                texts.push_back(call->Text);
            }
        }
        return texts;
    }
};

TEST_F(PgcEditorPaint, CellsAndRowsOfTheFixedFont)
{
    EXPECT_EQ(Editor->ColumnWidth(), Cell);
    EXPECT_EQ(Editor->VisibleRows(), 10);
    EXPECT_EQ(Editor->VisibleColumns(), (300 - 15 - 5) / Cell);
    SetClientSize(300, 10 * Row + Row / 2 + 1);
    EXPECT_EQ(Editor->VisibleRows(), 11) << "a last row more than half visible counts";
    SetClientSize(300, 10 * Row + Row / 2);
    EXPECT_EQ(Editor->VisibleRows(), 10) << "half a row does not";
}

TEST_F(PgcEditorPaint, PartialLastRowIsPaintedButTheCaretThereScrollsIntoView)
{
    SetClientSize(300, 10 * Row + 8);
    ASSERT_EQ(Editor->VisibleRows(), 11);
    std::vector<std::string> lines;
    for (int i = 1; i <= 20; ++i) {
        lines.push_back("row " + std::to_string(i));
    }
    AppendLines(lines);
    auto paint = PaintRecorded();
    const std::vector<std::string> texts = Texts(*paint);
    ASSERT_EQ(texts.size(), 11u);
    EXPECT_EQ(texts.back(), "row 11");
    Editor->SetCaretPosition(11, 1);
    EXPECT_EQ(Editor->TopLine(), 2) << "the 11th row is no whole row";
}

TEST_F(PgcEditorPaint, RowsDrawEachLineFromTheLeftMargin)
{
    AppendLines({"first", "second"});
    auto paint = PaintRecorded();
    const auto calls = paint->Calls("ExtTextOut");
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ(calls[0]->Text, "first");
    EXPECT_EQ(calls[0]->Args[0], Margin) << "x";
    EXPECT_EQ(calls[0]->Args[1], 1) << "one pixel below the row's top";
    EXPECT_EQ(calls[1]->Args[1], Row + 1);
    EXPECT_EQ(calls[2]->Text, "") << "the empty last paragraph";
    EXPECT_TRUE(calls[0]->Args[7]) << "per-character advances";
    EXPECT_TRUE(HasInk(*paint, CellLeft(1), 0, CellLeft(6), Row, Window));
    EXPECT_FALSE(HasInk(*paint, 0, 0, Margin, 10 * Row, Window)) << "the margin strip stays blank";
    EXPECT_FALSE(HasInk(*paint, CellLeft(6), 0, 300, Row, Window));
}

TEST_F(PgcEditorPaint, RulesAddTwoPixelsAndARuleUnderEveryRow)
{
    Editor->SetShowRules(true);
    EXPECT_EQ(Editor->VisibleRows(), (10 * Row) / (Row + 2) + 1) << "rows of 17 pixels; the last one more than half shown";
    AppendLines({"ruled"});
    Editor->SetRuleColor(plat::clNavy);
    auto paint = PaintRecorded();
    const int ruleY = Row + 2 - 1;
    const int ruleEnd = Margin + Editor->VisibleColumns() * Cell + 5;
    EXPECT_EQ(paint->Pixel(0, ruleY), Navy) << "from the client's left edge";
    EXPECT_EQ(paint->Pixel(ruleEnd - 1, ruleY), Navy);
    EXPECT_EQ(paint->Pixel(ruleEnd, ruleY), Window) << "to TR + RMP";
    EXPECT_EQ(paint->Pixel(CellLeft(1), ruleY - 1), Window) << "one rule pixel high";
    EXPECT_EQ(paint->Pixel(0, 2 * (Row + 2) - 1), Navy) << "blank rows get their rule too";
    const auto calls = paint->Calls("ExtTextOut");
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls[0]->Args[6] - calls[0]->Args[4], Row + 1) << "the text rectangle leaves the rule out";
}

TEST_F(PgcEditorPaint, TabsAreExpandedAndEveryCharacterSitsInItsCell)
{
    AppendLines({"a\tb"});
    auto paint = PaintRecorded();
    ASSERT_FALSE(Texts(*paint).empty());
    EXPECT_EQ(Texts(*paint)[0], "a       b");
    EXPECT_TRUE(HasInk(*paint, CellLeft(1), 0, CellLeft(2), Row, Window));
    EXPECT_FALSE(HasInk(*paint, CellLeft(2), 0, CellLeft(9), Row, Window)) << "seven blanks";
    EXPECT_TRUE(HasInk(*paint, CellLeft(9), 0, CellLeft(10), Row, Window)) << "b in cell 9";
    Editor->SetTabSize(4);
    paint = PaintRecorded();
    EXPECT_EQ(Texts(*paint)[0], "a   b");
}

TEST_F(PgcEditorPaint, StreamSelectionHighlightsItsCharactersOnly)
{
    Editor->SetText("abcde\r\nmiddle\r\nend!\r\nafter");
    Editor->SetHideSelection(false);
    Editor->SetSelection(1, 3, 3, 3, true);
    auto paint = PaintRecorded();
    EXPECT_EQ(HighlightedTexts(*paint), (std::vector<std::string>{"cde", "middle", "en"}));
    EXPECT_EQ(paint->Pixel(CellLeft(3) + 1, 1), Highlight);
    EXPECT_EQ(paint->Pixel(CellLeft(2) + 1, 1), Window) << "before the start column";
    EXPECT_EQ(paint->Pixel(CellLeft(6) + 1, 1), Window) << "after the line's characters";
    EXPECT_EQ(paint->Pixel(CellLeft(1), Row + 1), Highlight);
    EXPECT_EQ(paint->Pixel(CellLeft(7) + 1, Row + 1), Window);
    EXPECT_EQ(paint->Pixel(CellLeft(2) + 1, 2 * Row + 1), Highlight);
    EXPECT_EQ(paint->Pixel(CellLeft(3) + 1, 2 * Row + 1), Window) << "up to, not including, the end column";
    const auto calls = paint->Calls("ExtTextOut");
    for (const plat::TRecordedCall* call : calls) {
        if (call->State.BkColor == Highlight) {
            EXPECT_EQ(call->State.TextColor, plat::ToColorRef(plat::clHighlightText)) << call->Text;
        }
    }
}

TEST_F(PgcEditorPaint, HiddenSelectionShowsOnlyWithTheFocus)
{
    Editor->SetText("select me");
    Editor->SetSelection(1, 1, 1, 7, true);
    EXPECT_TRUE(HighlightedTexts(*PaintRecorded()).empty()) << "hidden without the focus";
    Editor->SetFocus();
    Pump();
    EXPECT_EQ(HighlightedTexts(*PaintRecorded()), (std::vector<std::string>{"select"}));
    Editor->SetEnabled(false);
    const auto paint = PaintRecorded();
    EXPECT_TRUE(HighlightedTexts(*paint).empty()) << "never while disabled";
    for (const plat::TRecordedCall* call : paint->Calls("ExtTextOut")) {
        EXPECT_EQ(call->State.TextColor, plat::ToColorRef(plat::clGrayText)) << call->Text;
    }
}

TEST_F(PgcEditorPaint, HighlightColoursAreTheEditorsOwn)
{
    Editor->SetText("abc");
    Editor->SetHideSelection(false);
    Editor->HighlightColors()->SetBackColor(plat::clYellow);
    Editor->HighlightColors()->SetTextColor(plat::clRed);
    Editor->SetSelection(1, 1, 1, 2, true);
    const auto paint = PaintRecorded();
    EXPECT_EQ(paint->Pixel(CellLeft(1), 1), plat::ToColorRef(plat::clYellow));
}

TEST_F(PgcEditorPaint, EnabledLeftMarginMovesTheTextFourPixelsRightOfItsLine)
{
    AppendLines({"x"});
    Editor->MarginOptions()->Left()->SetLineColor(plat::clRed);
    Editor->MarginOptions()->Left()->SetEnabled(true);
    const auto paint = PaintRecorded();
    EXPECT_EQ(paint->Pixel(Margin, 3), plat::ToColorRef(plat::clRed)) << "the margin line";
    EXPECT_EQ(Texts(*paint)[0], "x");
    EXPECT_EQ(paint->Calls("ExtTextOut")[0]->Args[0], Margin + 4);
}

TEST_F(PgcEditorPaint, SetMarkersShowTheirGlyphsInTheMargin)
{
    AppendLines({"zero", "one", "two"});
    Editor->SetMarkerAt(3, 2, 1);
    const auto paint = PaintRecorded();
    const auto blits = paint->Calls("BitBlt");
    ASSERT_EQ(blits.size(), 1u);
    EXPECT_EQ(blits[0]->Args[0], 1) << "x";
    EXPECT_EQ(blits[0]->Args[1], Row + (Row - 10) / 2) << "centred in row 2";
    EXPECT_EQ(blits[0]->Args[4], 3 * 10) << "glyph 3 of the strip";
    int column = 0;
    EXPECT_EQ(Editor->GetMarkerPosition(3, column), 2);
    EXPECT_EQ(Editor->GetMarkerPosition(4, column), -1);
    Editor->ClearMarker(3);
    EXPECT_TRUE(PaintRecorded()->Calls("BitBlt").empty());
}

TEST_F(PgcEditorPaint, EnabledBordersAreDrawnInsideTheClientArea)
{
    TPgcBorder& top = *Editor->Borders()->TopBorder();
    top.SetPenColor(plat::clRed);
    top.SetPenWidth(2);
    top.SetEnabled(true);
    EXPECT_EQ(Editor->BorderStyle(), TPgcCustomEditor::bsNone);
    const auto paint = PaintRecorded();
    EXPECT_EQ(paint->Pixel(100, 0), plat::ToColorRef(plat::clRed));
    EXPECT_EQ(paint->Pixel(100, 1), plat::ToColorRef(plat::clRed));
    EXPECT_EQ(paint->Pixel(100, 3), Window);
}

TEST_F(PgcEditorPaint, OwnerDrawnRowsReplaceTheText)
{
    AppendLines({"owner", "drawn"});
    std::vector<std::u16string> offered;
    Editor->OnDrawLine = [&](plat::TObject*, plat::TCanvas*, plat::TRect, const char16_t* S, int Len, int Line, int,
                             int Count, int, int, int, int, bool& WasDrawn) {
        offered.emplace_back(S, static_cast<std::size_t>(Len));
        WasDrawn = Line == 1;
        EXPECT_EQ(Count, Editor->VisibleColumns());
    };
    const auto paint = PaintRecorded();
    ASSERT_GE(offered.size(), 3u);
    EXPECT_EQ(offered[0], u"owner");
    EXPECT_EQ(offered[1], u"drawn");
    EXPECT_EQ(offered.back(), u"") << "blank rows are offered too";
    EXPECT_EQ(Texts(*paint)[0], "drawn") << "row 1 was left to the handler";
}

TEST_F(PgcEditorPaint, LineNumbersWidenTheLeftMargin)
{
    AppendLines({"one", "two"});
    Editor->SetShowLineNumbers(true);
    const int digits = 2;   // the widest visible number, 11, has two
    EXPECT_EQ(Editor->LeftMargin(), Margin + digits * Cell + 5);
    const auto paint = PaintRecorded();
    const auto numbers = paint->Calls("TextOut");
    ASSERT_EQ(numbers.size(), 10u) << "one per row";
    EXPECT_EQ(numbers[0]->Text, "1");
    EXPECT_EQ(numbers[0]->Args[0], Editor->LeftMargin() - digits * Cell - 5);
    EXPECT_EQ(numbers[9]->Text, "10");
    EXPECT_EQ(paint->Calls("ExtTextOut")[0]->Args[0], Editor->LeftMargin());
    Editor->SetShowLineNumbers(false);
    EXPECT_EQ(Editor->LeftMargin(), Margin);
}

TEST_F(PgcEditorPaint, WrapColumnLineStandsAfterItsColumn)
{
    Editor->SetWrapColumn(20);
    Editor->MarginOptions()->Right()->SetLineColor(plat::clRed);
    Editor->SetShowWrapColumn(true);
    const auto paint = PaintRecorded();
    EXPECT_EQ(paint->Pixel(CellLeft(21), 40), plat::ToColorRef(plat::clRed));
    EXPECT_EQ(paint->Pixel(CellLeft(21) + 1, 40), Window);
}

TEST_F(PgcEditorPaint, ANewFontSizeMeasuresTheCellsAgain)
{
    const int columns = Editor->VisibleColumns();
    Editor->FixedFont()->SetSize(12);
    EXPECT_GT(Editor->ColumnWidth(), Cell);
    EXPECT_LT(Editor->VisibleColumns(), columns);
    EXPECT_LT(Editor->VisibleRows(), 10);
}

// ---- screenshots ----

class PgcEditorScreenshot : public test::TEditorTest {
protected:
    PgcEditorScreenshot() { SetClientSize(300, 8 * Row); }
};

TEST_F(PgcEditorScreenshot, TheEditorAsItShows)
{
    Editor->SetText("Report of the card\r\n\tchannel\t1\tTemperature\r\n\tchannel\t2\tHumidity\r\n"
                    "Selected text runs\r\nover three lines\r\nand ends here.\r\nlast line");
    Editor->SetHideSelection(false);
    Editor->SetSelection(4, 10, 6, 5, true);
    Editor->Invalidate();
    Shot("editor_text_tabs_selection");

    Editor->SetShowRules(true);
    Editor->Invalidate();
    Shot("editor_rules");
    Editor->SetShowRules(false);

    Editor->SetEnabled(false);
    Editor->Invalidate();
    Shot("editor_disabled");
    Editor->SetEnabled(true);

    std::string lines;
    for (int i = 1; i <= 60; ++i) {
        lines += "line " + std::to_string(i) + " of a long report, wider than the window shows\r\n";
    }
    Editor->SetText(lines);
    Editor->SetTopLine(30);
    Editor->SetLeftColumn(6);
    Shot("editor_scrolled");
    EXPECT_EQ(Editor->TopLine(), 30);
    EXPECT_EQ(Editor->LeftColumn(), 6);
}

// An Alt drag selects a column block: the same screen columns on every line
// between the ends, shown past the end of a short line.
TEST_F(PgcEditorPaint, ColumnBlockShowsPastShortLines)
{
    Editor->SetText("abcdef\r\nab\r\nabcdef\r\nafter");
    Editor->SetHideSelection(false);
    Drag(ScreenCell(1, 2), ScreenCell(3, 5), plat::ModAlt);
    ASSERT_TRUE(Editor->ColumnBlockSelected());
    auto paint = PaintRecorded();
    EXPECT_EQ(HighlightedTexts(*paint), (std::vector<std::string>{"bcd", "b  ", "bcd"}));
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(paint->Pixel(CellLeft(2) + 1, row * Row + 1), Highlight) << row;
        EXPECT_EQ(paint->Pixel(CellLeft(4) + 1, row * Row + 1), Highlight) << row;
        EXPECT_EQ(paint->Pixel(CellLeft(1) + 1, row * Row + 1), Window) << row;
        EXPECT_EQ(paint->Pixel(CellLeft(5) + 1, row * Row + 1), Window) << row;
    }
    EXPECT_EQ(paint->Pixel(CellLeft(2) + 1, 3 * Row + 1), Window) << "below the block";
    Editor->SetMarkerAt(2, 2, 1);
    Shot("column_block");
}

TEST_F(PgcEditorPaint, StreamSelectionWithMarkersScreenshot)
{
    Editor->SetText("first line of text\r\n\tindented by a tab\r\nthird line\r\nfourth");
    Editor->SetHideSelection(false);
    Editor->SetMarkerAt(1, 1, 1);
    Editor->SetMarkerAt(5, 3, 4);
    Editor->SetSelection(1, 7, 3, 6, true);
    int col = 0;
    EXPECT_EQ(Editor->GetMarkerPosition(5, col), 3);
    auto paint = PaintRecorded();
    EXPECT_EQ(HighlightedTexts(*paint), (std::vector<std::string>{"line of text", "        indented by a tab", "third"}));
    EXPECT_TRUE(HasInk(*paint, 0, 2 * Row, Margin, 3 * Row, Window)) << "marker 5's glyph in the margin";
    Shot("stream_selection_markers");
}

} // namespace
} // namespace qel
