// Painting the record tree headless into a 32-bit bitmap: rows at their
// tops, the selection fill, shortened texts, the empty-list message, rows
// the application draws itself, selected-only paints, full-row selection,
// grid lines, the fixed column, failing paint events, and what a change
// marks for repainting.
#include "tests/widgets/tree/record_tree_fixture.h"

#include "platform/canvas/bitmap.h"
#include "platform/canvas/canvas.h"
#include "platform/canvas/graphics_objects.h"
#include "platform/canvas/pixel_surface.h"
#include "platform/canvas/region.h"
#include "platform/controls/cursors.h"
#include "platform/controls/window.h"
#include "platform/controls/window_manager.h"
#include "platform/controls/window_paint.h"
#include "platform/hosts/headless/headless_host.h"
#include "widgets/tree/tree_drawing_utils.h"

#include <cmath>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace qel::tree_test {
namespace {

constexpr int kWidth = 520;
constexpr int kHeight = 200;

plat::COLORREF Rgb(plat::TColor color)
{
    return static_cast<plat::COLORREF>(plat::ColorToRGB(color)) & 0xFFFFFF;
}

// The colour at (x, y) of a 32-bit bitmap as an RGB value.
plat::COLORREF PixelOf(plat::TBitmap& bitmap, int x, int y)
{
    const std::uint8_t* p = bitmap.ScanLine(y) + 4 * x;
    return static_cast<plat::COLORREF>(p[2] | (p[1] << 8) | (p[0] << 16));
}

plat::COLORREF Blend(plat::COLORREF under, plat::COLORREF over, int alpha)
{
    plat::COLORREF result = 0;
    for (int shift : {0, 8, 16}) {
        const int d = static_cast<int>((under >> shift) & 0xFF);
        const int s = static_cast<int>((over >> shift) & 0xFF);
        result |= static_cast<plat::COLORREF>(((256 - alpha) * d + alpha * s) / 256) << shift;
    }
    return result;
}

class TreePaint : public RecordTreeTest {
protected:
    TreePaint()
    {
        // The record page's set-up: four columns, header 15 high.
        TDataTreeColumns& columns = Tree->Header()->Columns();
        columns.BeginUpdate();
        for (int minWidth : {200, 150, 80, 80}) {
            columns.Add()->SetMinWidth(minWidth);
        }
        columns.EndUpdate();
        Tree->Header()->SetHeight(15);
        Tree->OnGetText = [this](plat::TObject*, PDataNode node, TColumnIndex column, TDSTTextType, std::string& text) {
            const TRecordNodeData* data = Tree->GetNodeData<TRecordNodeData>(node);
            switch (column) {
            case 0:
                text = data->Caption;
                break;
            case 1:
                text = data->Time;
                break;
            case 2:
                text = data->Pages;
                break;
            default:
                text = data->Pos;
                break;
            }
        };
        Tree->OnDrawText = [this](plat::TObject*, plat::TCanvas*, PDataNode node, TColumnIndex column,
                                  const std::string& text, const plat::TRect&, bool&) {
            Drawn[{node, column}] = text;
            ++DrawCalls;
        };
        Tree->SetBounds(0, 0, kWidth, kHeight);
        Fill(SerialsABA);
        Tree->FullExpand();
        Row = Tree->DefaultNodeHeight();
    }

    // One paint of the whole tree area into Target.
    void PaintAll(TDTInternalPaintOptions options = {poColumnColor, poDrawFocusRect, poDrawSelection, poGridLines})
    {
        Drawn.clear();
        DrawCalls = 0;
        Tree->PaintTree(*Target.Canvas(), plat::Rect(0, 0, kWidth, kHeight), plat::Point(0, 0), options);
    }

    void FillTarget(plat::TColor color)
    {
        Target.Canvas()->Brush()->SetColor(color);
        Target.Canvas()->FillRect(plat::Rect(0, 0, kWidth, kHeight));
    }

    void SetPaint(TDTPaintOptions add, TDTPaintOptions remove = {})
    {
        Tree->TreeOptions()->SetPaintOptions(Tree->TreeOptions()->PaintOptions() + add - remove);
    }

    plat::COLORREF Background() { return Rgb(Tree->Colors()->BackGroundColor()); }
    std::string DrawnText(PDataNode node, TColumnIndex column) { return Drawn[{node, column}]; }
    std::size_t DrawnCount(PDataNode node, TColumnIndex column) const { return Drawn.count({node, column}); }

    plat::TBitmap Target{kWidth, kHeight, plat::pf32bit};
    std::map<std::pair<PDataNode, TColumnIndex>, std::string> Drawn;
    int DrawCalls = 0;
    int Row = 19;
};

TEST_F(TreePaint, RowsLieAtMultiplesOfTheNodeHeightWithTheirTexts)
{
    PaintAll();
    std::vector<PDataNode> rows;
    for (PDataNode node = Tree->GetFirstVisible(); node != nullptr; node = Tree->GetNextVisible(node)) {
        rows.push_back(node);
    }
    const std::size_t onScreen = static_cast<std::size_t>((kHeight + Row - 1) / Row);
    ASSERT_GT(rows.size(), onScreen);
    for (std::size_t i = 0; i < onScreen; ++i) {
        EXPECT_EQ(Tree->GetDisplayRect(rows[i], NoColumn, false).Top, static_cast<int>(i) * Row);
        EXPECT_EQ(DrawnText(rows[i], 0), Tree->GetNodeData<TRecordNodeData>(rows[i])->Caption) << i;
    }
    EXPECT_EQ(DrawnCount(rows[onScreen], 0), 0u) << "rows below the window are not painted";
    EXPECT_EQ(DrawnText(Records(0)[0], 1), "17.05.2024 08:30:00");
    EXPECT_EQ(DrawnText(Records(0)[0], 2), "42");

    // Some pixel of each painted row's caption differs from the background.
    for (std::size_t i = 0; i < 3; ++i) {
        const int top = static_cast<int>(i) * Row;
        bool inked = false;
        for (int y = top; y < top + Row && !inked; ++y) {
            for (int x = 0; x < 200 && !inked; ++x) {
                inked = PixelOf(Target, x, y) != Background();
            }
        }
        EXPECT_TRUE(inked) << "row " << i;
    }
}

TEST_F(TreePaint, EachCellsTextIsAskedForOncePerPaint)
{
    std::map<std::pair<PDataNode, TColumnIndex>, int> asked;
    const TDSTGetTextEvent texts = Tree->OnGetText;
    Tree->OnGetText = [&asked, texts](plat::TObject* sender, PDataNode node, TColumnIndex column, TDSTTextType type,
                                      std::string& text) {
        ++asked[{node, column}];
        texts(sender, node, column, type, text);
    };
    for (int paint = 0; paint < 2; ++paint) {
        asked.clear();
        PaintAll();
        EXPECT_EQ(asked.size(), 4u * static_cast<std::size_t>((kHeight + Row - 1) / Row));
        for (const auto& [cell, count] : asked) {
            EXPECT_EQ(count, 1) << "column " << cell.second << ", paint " << paint;
        }
    }
    Tree->OnGetText = texts;
}

TEST_F(TreePaint, TheSelectedLoggerGetsTheBlendedSelectionInItsTextBox)
{
    SetPaint({toUseBlendedSelection});
    Tree->SetSelected(Loggers[1], true);
    PaintAll();
    const plat::TRect text = Tree->GetDisplayRect(Loggers[1], 0, true);
    // The first pixels of the text box are the left text margin, free of ink.
    const plat::COLORREF selection = Blend(Background(), Rgb(Tree->Colors()->UnfocusedSelectionColor()),
                                           Tree->SelectionBlendFactor());
    EXPECT_EQ(PixelOf(Target, text.Left + 1, text.Top + 1), selection);
    EXPECT_EQ(PixelOf(Target, text.Left - 2, text.Top + 1), Background()) << "left of the text box";
    EXPECT_EQ(PixelOf(Target, text.Right + 2, text.Top + 1), Background()) << "right of the text box";
    const plat::TRect other = Tree->GetDisplayRect(Loggers[0], 0, true);
    EXPECT_EQ(PixelOf(Target, other.Left + 1, other.Top + 1), Background()) << "unselected";
}

TEST_F(TreePaint, ANarrowedColumnShowsTheLongestFittingPrefixWithAnEllipsis)
{
    TDataTreeColumn* time = Tree->Header()->Columns()[1];
    time->SetMinWidth(10);
    time->SetWidth(70);
    PaintAll();
    const std::string full = "17.05.2024 08:30:00";
    const std::string shown = DrawnText(Records(0)[0], 1);
    ASSERT_GE(shown.size(), 3u);
    EXPECT_EQ(shown.substr(shown.size() - 3), "...");
    const std::string prefix = shown.substr(0, shown.size() - 3);
    EXPECT_EQ(full.compare(0, prefix.size(), prefix), 0) << shown;
    plat::TBitmap measure(1, 1);
    measure.Canvas()->Font()->Assign(Tree->Font());
    const int room = 70 - 2 * Tree->TextMargin() - 1 /* the cell's excluded right edge */;
    EXPECT_LE(measure.Canvas()->TextWidth(shown), room);
    const std::string longer = full.substr(0, prefix.size() + 1) + "...";
    EXPECT_GT(measure.Canvas()->TextWidth(longer), room) << "one more character would not fit";
    EXPECT_EQ(DrawnText(Records(0)[0], 2), "42") << "other cells are whole";
}

// A cell one pixel too narrow for its text shows the longest prefix that
// fits with "..."; only right alignment survives the shortening, and a cell
// too narrow even for "..." shows nothing.
TEST_F(TreePaint, ShortenedTextsKeepOnlyRightAlignmentAndGiveUpBelowTheEllipsis)
{
    const PDataNode record = Records(0)[0];
    const std::string full = Tree->GetText(record, 1);
    plat::TBitmap measure(1, 1);
    measure.Canvas()->Font()->Assign(Tree->Font());
    const int textWidth = measure.Canvas()->TextWidth(full);
    const int ellipsisWidth = measure.Canvas()->TextWidth("...");
    // A column's content starts Margin in; the text keeps TextMargin on both sides.
    const int margins = Tree->Margin() + 2 * Tree->TextMargin();
    TDataTreeColumn* time = Tree->Header()->Columns()[1];
    time->SetMinWidth(1);
    struct TCase {
        const char* name;
        TAlignment alignment;
        int width;
        bool shortened;
        std::uint32_t alignmentFlags;
    };
    const std::vector<TCase> cases = {
        {"fits exactly", taLeftJustify, textWidth + margins, false, plat::DT_LEFT},
        {"one pixel short", taLeftJustify, textWidth + margins - 1, true, plat::DT_LEFT},
        {"right, fits", taRightJustify, textWidth + margins, false, plat::DT_RIGHT},
        {"right, one pixel short: still right", taRightJustify, textWidth + margins - 1, true, plat::DT_RIGHT},
        {"centred, fits", taCenter, textWidth + margins, false, plat::DT_CENTER},
        {"centred, one pixel short: from the left", taCenter, textWidth + margins - 1, true, plat::DT_LEFT},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        time->SetAlignment(c.alignment);
        time->SetWidth(c.width);
        PaintAll();
        const std::string shown = DrawnText(record, 1);
        const std::uint32_t format = Tree->DrawFormats[{record, 1}];
        EXPECT_EQ(format & (plat::DT_RIGHT | plat::DT_CENTER), c.alignmentFlags);
        if (!c.shortened) {
            EXPECT_EQ(shown, full);
            continue;
        }
        ASSERT_GT(shown.size(), 3u);
        const std::string prefix = shown.substr(0, shown.size() - 3);
        EXPECT_EQ(shown.substr(prefix.size()), "...");
        EXPECT_EQ(full.compare(0, prefix.size(), prefix), 0) << shown;
        EXPECT_LE(measure.Canvas()->TextWidth(prefix) + ellipsisWidth, textWidth - 1);
        EXPECT_GT(measure.Canvas()->TextWidth(full.substr(0, prefix.size() + 1)) + ellipsisWidth, textWidth - 1)
            << "the longest prefix that fits";
    }
    time->SetAlignment(taLeftJustify);
    time->SetWidth(margins + ellipsisWidth);
    PaintAll();
    EXPECT_EQ(DrawnText(record, 1), "") << "only the ellipsis would fit";
    time->SetWidth(margins + ellipsisWidth + measure.Canvas()->TextWidth("1"));
    PaintAll();
    EXPECT_EQ(DrawnText(record, 1), "1...");
}

// The application makes a node's main-column text larger in OnPaintText
// after its width was cached: the next paint measures it again in the new
// font, invalidates the row once (which clears the cache), and shortens with
// the ellipsis measured in that font; later paints find the width right.
TEST_F(TreePaint, AFontChangedInOnPaintTextRemeasuresTheCellOnce)
{
    const PDataNode record = SelectAll(0);
    TDataTreeColumn* main = Tree->Header()->Columns()[0];
    main->SetMinWidth(1);
    main->SetWidth(100);
    PaintAll();
    ASSERT_NE(Tree->CachedTextWidth(record), 0);
    Tree->OnPaintText = [record](plat::TObject*, plat::TCanvas* canvas, PDataNode node, TColumnIndex column,
                                 TDSTTextType) {
        if (node == record && column == 0) {
            canvas->Font()->SetSize(20);
        }
    };
    int room = 0;
    Tree->OnDrawText = [&](plat::TObject*, plat::TCanvas*, PDataNode node, TColumnIndex column,
                           const std::string& text, const plat::TRect& r, bool&) {
        Drawn[{node, column}] = text;
        if (node == record && column == 0) {
            room = static_cast<int>(r.Width());
        }
    };
    Tree->NodeInvalidations.clear();
    PaintAll();
    EXPECT_EQ(Tree->NodeInvalidations[record], 1);
    EXPECT_EQ(Tree->NodeInvalidations[Records(0)[0]], 0) << "rows painted in the tree font stay";
    EXPECT_EQ(Tree->CachedTextWidth(record), 0) << "the invalidation clears the width";

    plat::TBitmap measure(1, 1);
    measure.Canvas()->Font()->Assign(Tree->Font());
    measure.Canvas()->Font()->SetSize(20);
    const std::string full = Tree->GetText(record, 0);
    const std::string shown = DrawnText(record, 0);
    ASSERT_GT(shown.size(), 3u) << shown;
    const std::string prefix = shown.substr(0, shown.size() - 3);
    EXPECT_EQ(shown.substr(prefix.size()), "...");
    EXPECT_LE(measure.Canvas()->TextWidth(shown), room) << shown;
    EXPECT_GT(measure.Canvas()->TextWidth(full.substr(0, prefix.size() + 1) + "..."), room)
        << "the prefix is the longest that fits in the larger font";

    Tree->NodeInvalidations.clear();
    PaintAll();
    EXPECT_EQ(Tree->NodeInvalidations[record], 0) << "the width now cached is the larger font's";
    EXPECT_EQ(DrawnText(record, 0), shown);
}

// The static text follows the node's text in the same cell, only with
// toShowStaticText and never for a multi-line node, which gets its whole
// text word-wrapped instead of shortened.
TEST_F(TreePaint, StaticTextAfterTheNodeTextAndMultiLineNodesWrap)
{
    const TDSTGetTextEvent texts = Tree->OnGetText;
    Tree->OnGetText = [texts](plat::TObject* sender, PDataNode node, TColumnIndex column, TDSTTextType type,
                              std::string& text) {
        if (type == ttStatic) {
            text = "WWWWWW";
        } else {
            texts(sender, node, column, type, text);
        }
    };
    const plat::TRect text = Tree->GetDisplayRect(Loggers[0], 0, true);
    const int columnRight = Tree->Header()->Columns()[0]->AbsoluteLeft() + Tree->Header()->Columns()[0]->Width();
    const auto inkRightOfText = [&] {
        int ink = 0;
        for (int y = static_cast<int>(text.Top) + 2; y < text.Bottom - 2; ++y) {
            for (int x = static_cast<int>(text.Right) + 1; x < columnRight - 2; ++x) {
                ink += PixelOf(Target, x, y) != Background() ? 1 : 0;
            }
        }
        return ink;
    };
    PaintAll();
    EXPECT_EQ(inkRightOfText(), 0) << "no static text without its option";
    Tree->TreeOptions()->SetStringOptions(Tree->TreeOptions()->StringOptions() + TDTStringOptions{toShowStaticText});
    PaintAll();
    EXPECT_GT(inkRightOfText(), 20) << "the static text right of the node's text";
    Tree->SetMultiline(Loggers[0], true);
    PaintAll();
    EXPECT_EQ(inkRightOfText(), 0) << "a multi-line node shows no static text";
    EXPECT_NE((Tree->DrawFormats[{Loggers[0], 0}] & plat::DT_WORDBREAK), 0u);

    // In a narrowed column a multi-line cell keeps its whole text for
    // wrapping, where a single-line one is shortened.
    TDataTreeColumn* time = Tree->Header()->Columns()[1];
    time->SetMinWidth(10);
    time->SetWidth(70);
    Tree->SetMultiline(Records(0)[1], true);
    PaintAll();
    EXPECT_EQ(DrawnText(Records(0)[1], 1), Tree->GetText(Records(0)[1], 1));
    EXPECT_NE((Tree->DrawFormats[{Records(0)[1], 1}] & plat::DT_WORDBREAK), 0u);
    const std::string single = DrawnText(Records(0)[0], 1);
    ASSERT_GE(single.size(), 3u);
    EXPECT_EQ(single.substr(single.size() - 3), "...");
    Tree->OnGetText = texts;
}

// With toAutoSpanColumns a text runs on over the empty cells after it (a
// logger's long name over its row's empty columns); cells with a text of
// their own stop it. A multi-line text wraps in the wider cell.
TEST_F(TreePaint, WithSpanningATextRunsOnIntoTheEmptyCellsAfterIt)
{
    const std::string name = std::string(30, 'W');
    Tree->GetNodeData<TRecordNodeData>(Loggers[0])->Caption = name;
    const TDataTreeColumns& columns = Tree->Header()->Columns();
    const plat::TRect row = Tree->GetDisplayRect(Loggers[0], NoColumn, false);
    const auto inkInColumn = [&](TColumnIndex column) {
        int ink = 0;
        for (int y = static_cast<int>(row.Top) + 2; y < row.Bottom - 2; ++y) {
            for (int x = columns[column]->AbsoluteLeft() + 2; x < columns[column]->AbsoluteLeft() + 60; ++x) {
                ink += PixelOf(Target, x, y) != Background() ? 1 : 0;
            }
        }
        return ink;
    };
    SetPaint({}, {toShowVertGridLines, toShowHorzGridLines});
    PaintAll();
    const std::string shortened = DrawnText(Loggers[0], 0);
    ASSERT_GE(shortened.size(), 3u);
    EXPECT_EQ(shortened.substr(shortened.size() - 3), "...") << "without spanning the name is cut at its column";
    EXPECT_EQ(inkInColumn(1), 0);
    const std::string recordTime = DrawnText(Records(0)[0], 1);

    Tree->TreeOptions()->SetAutoOptions(Tree->TreeOptions()->AutoOptions() + TDTAutoOptions{toAutoSpanColumns});
    PaintAll();
    EXPECT_EQ(DrawnText(Loggers[0], 0), name) << "the whole name";
    EXPECT_GT(inkInColumn(1), 20) << "drawn over the next column";
    EXPECT_EQ(DrawnText(Records(0)[0], 1), recordTime) << "a cell with a text keeps it";

    const std::string words = "aa bb cc dd ee ff gg hh ii jj kk ll mm nn oo pp qq rr ss tt uu vv ww xx yy zz";
    Tree->GetNodeData<TRecordNodeData>(Loggers[0])->Caption = words;
    Tree->SetMultiline(Loggers[0], true);
    const int spanned = Tree->ComputeNodeHeight(nullptr, Loggers[0], 0);
    Tree->TreeOptions()->SetAutoOptions(Tree->TreeOptions()->AutoOptions() - TDTAutoOptions{toAutoSpanColumns});
    const int alone = Tree->ComputeNodeHeight(nullptr, Loggers[0], 0);
    EXPECT_LT(spanned, alone) << "fewer lines in the wider cell";
}

// The drop target's text takes the selected colour while a drop would
// land on it (or it is selected); the explorer look keeps the node's own
// colour for a focused selection unless high contrast is on.
TEST_F(TreePaint, TextColoursOfTheDropTargetAndTheExplorerLook)
{
    std::map<PDataNode, plat::TColor> colours;
    Tree->OnDrawText = [&colours](plat::TObject*, plat::TCanvas* canvas, PDataNode node, TColumnIndex column,
                                  const std::string&, const plat::TRect&, bool&) {
        if (column == 0) {
            colours[node] = canvas->Font()->Color();
        }
    };
    Tree->Font()->SetColor(0x123456);
    const PDataNode target = Records(0)[0];
    Tree->FDropTargetNode = target;
    struct TCase {
        TDropMode mode;
        plat::TColor colour;
    };
    for (const TCase& c : {TCase{dmOnNode, plat::clHighlightText}, TCase{dmAbove, 0x123456},
                           TCase{dmBelow, 0x123456}}) {
        Tree->FLastDropMode = c.mode;
        PaintAll();
        EXPECT_EQ(colours[target], c.colour) << "drop mode " << c.mode;
    }
    Tree->FDropTargetNode = nullptr;

    TDTColors* set = Tree->Colors();
    EXPECT_EQ(set->GetSelectedNodeFontColor(false), set->UnfocusedColor());
    EXPECT_EQ(set->GetSelectedNodeFontColor(true), set->SelectionTextColor());
    Tree->DoStateChange({tsUseExplorerTheme});
    EXPECT_EQ(set->GetSelectedNodeFontColor(true), 0x123456u) << "the explorer look keeps the text colour";
    plat::TWindowManager::Instance()->HighContrast = true;
    EXPECT_TRUE(IsHighContrastEnabled());
    EXPECT_EQ(set->GetSelectedNodeFontColor(true), set->SelectionTextColor()) << "but not in high contrast";
    plat::TWindowManager::Instance()->HighContrast = false;
    EXPECT_FALSE(IsHighContrastEnabled());
    Tree->DoStateChange({}, {tsUseExplorerTheme});

    EXPECT_TRUE(IsMouseCursorVisible());
    EXPECT_EQ(plat::ShowCursor(false), -1);
    EXPECT_FALSE(IsMouseCursorVisible());
    EXPECT_EQ(plat::ShowCursor(true), 0);
    EXPECT_TRUE(IsMouseCursorVisible());
}

TEST_F(TreePaint, EmptyListMessageInTheEnlargedFont)
{
    Tree->Clear();
    FillTarget(plat::clBlack);
    PaintAll();
    for (int y = 0; y < kHeight; y += 7) {
        ASSERT_EQ(PixelOf(Target, 100, y), Background()) << "nothing but the background without a message";
    }
    Tree->SetEmptyListMessage("No recordings on this card");
    PaintAll();
    EXPECT_EQ(Target.Canvas()->Font()->Size(), static_cast<int>(std::lround(Tree->Font()->Size() * 1.25)));
    int ink = 0;
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            ink += PixelOf(Target, x, y) != Background() ? 1 : 0;
        }
    }
    EXPECT_GT(ink, 50) << "the message is drawn near the top";
}

TEST_F(TreePaint, EventsComeInOrderAndACustomDrawnRowIsLeftToTheApplication)
{
    std::vector<std::string> calls;
    Tree->OnBeforePaint = [&calls](plat::TObject*, plat::TCanvas*) { calls.push_back("before paint"); };
    Tree->OnAfterPaint = [&calls](plat::TObject*, plat::TCanvas*) { calls.push_back("after paint"); };
    Tree->OnBeforeItemErase = [&calls](plat::TObject*, plat::TCanvas*, PDataNode, const plat::TRect&, plat::TColor&,
                                       TItemEraseAction&) { calls.push_back("erase"); };
    Tree->OnBeforeCellPaint = [&calls](plat::TObject*, plat::TCanvas*, PDataNode, TColumnIndex column,
                                       TDTCellPaintMode, const plat::TRect&,
                                       plat::TRect&) { calls.push_back("cell " + std::to_string(column)); };
    Tree->OnBeforeItemPaint = [this, &calls](plat::TObject*, plat::TCanvas* canvas, PDataNode node,
                                             const plat::TRect& r, bool& customDraw) {
        calls.push_back("item");
        if (node == Loggers[0]) {
            canvas->Brush()->SetColor(plat::clLime);
            canvas->FillRect(r);
            customDraw = true;
        }
    };
    Tree->OnAfterItemPaint = [&calls](plat::TObject*, plat::TCanvas*, PDataNode,
                                      const plat::TRect&) { calls.push_back("after item"); };
    Tree->PaintTree(*Target.Canvas(), plat::Rect(0, 0, kWidth, 2 * Row), plat::Point(0, 0), {poDrawSelection});
    const std::vector<std::string> expected = {
        "before paint", "item", // the custom drawn first row: nothing more
        "item", "erase", "cell 0", "cell 1", "cell 2", "cell 3", "after item", "after paint"};
    EXPECT_EQ(calls, expected);
    EXPECT_EQ(PixelOf(Target, 300, Row / 2), Rgb(plat::clLime)) << "the application's row is copied";
    EXPECT_EQ(DrawnCount(Loggers[0], 0), 0u);
    EXPECT_EQ(DrawnCount(Loggers[0]->FirstChild, 0), 1u);
}

TEST_F(TreePaint, SelectedOnlyLeavesGapsForTheOtherRows)
{
    Tree->SetSelected(Loggers[0]->FirstChild, true); // "Select all" and its records below it
    FillTarget(plat::clFuchsia);
    PaintAll({poSelectedOnly, poColumnColor});
    const plat::COLORREF gap = Rgb(plat::clFuchsia);
    EXPECT_EQ(PixelOf(Target, 300, Row / 2), gap) << "the logger row stays untouched";
    for (int row = 1; row <= 4; ++row) {
        EXPECT_NE(PixelOf(Target, 300, row * Row + Row / 2), gap) << "row " << row;
    }
    EXPECT_EQ(PixelOf(Target, 300, 5 * Row + Row / 2), gap) << "the next logger";
}

TEST_F(TreePaint, FullRowSelectionIsARoundedRectangleOfTheSelectionColours)
{
    SetPaint({}, {toUseBlendedSelection});
    Tree->TreeOptions()->SetSelectionOptions(Tree->TreeOptions()->SelectionOptions() +
                                             TDTSelectionOptions{toFullRowSelect});
    Tree->SetSelected(Loggers[0], true);
    const plat::COLORREF fill = Rgb(Tree->Colors()->UnfocusedSelectionColor());
    PaintAll({poDrawSelection});
    EXPECT_EQ(PixelOf(Target, 0, 0), Rgb(Tree->Colors()->UnfocusedSelectionBorderColor())) << "square corner";
    EXPECT_EQ(PixelOf(Target, 450, Row / 2), fill) << "across every column";
    Tree->SetSelectionCurveRadius(12);
    PaintAll({poDrawSelection});
    EXPECT_EQ(PixelOf(Target, 0, 0), Background()) << "rounded corner";
    EXPECT_EQ(PixelOf(Target, 450, Row / 2), fill);
}

TEST_F(TreePaint, GridLinesTakeTheCellsLastRowAndColumn)
{
    SetPaint({toShowHorzGridLines, toShowVertGridLines});
    PaintAll();
    const plat::COLORREF grid = Rgb(Tree->Colors()->GridLineColor());
    const int columnRight = Tree->Header()->Columns()[1]->AbsoluteLeft() + Tree->Header()->Columns()[1]->Width();
    EXPECT_EQ(PixelOf(Target, 300, Row - 1), grid) << "bottom row of the cell";
    EXPECT_EQ(PixelOf(Target, columnRight - 1, Row / 2), grid) << "right column of the cell";
    EXPECT_EQ(PixelOf(Target, columnRight - 2, Row - 2), Background());
    PaintAll({poColumnColor});
    EXPECT_EQ(PixelOf(Target, 300, Row - 1), Background()) << "no grid lines without poGridLines";
}

// Below a dragged node the drop target shows its drop mode: a bar along
// its top or bottom edge for a drop above or below it, the drop target
// colour over its text for a drop on it (selected or not).
TEST_F(TreePaint, TheDropTargetShowsTheDropMode)
{
    Tree->Colors()->SetByIndex(ciDropMarkColor, plat::clRed);
    Tree->Colors()->SetByIndex(ciDropTargetColor, plat::clLime);
    Tree->SetFocusedColumn(0);
    const PDataNode target = Records(0)[1];
    const plat::TRect row = Tree->GetDisplayRect(target, NoColumn, false);
    const plat::TRect text = Tree->GetDisplayRect(target, 0, true);
    const int t = static_cast<int>(row.Top);
    const int b = static_cast<int>(row.Bottom);
    const plat::COLORREF mark = Rgb(plat::clRed);
    const plat::COLORREF onNode = Rgb(plat::clLime);
    Tree->FDropTargetNode = target;
    struct TCase {
        TDropMode mode;
        std::vector<std::pair<plat::TPoint, bool>> marked;   // point, whether it has the mark's colour
        bool textHighlighted;
    };
    const TCase cases[] = {
        {dmAbove, {{plat::Point(300, t), true}, {plat::Point(300, t + 1), true}, {plat::Point(300, t + 2), false},
                   {plat::Point(kWidth - 4, t + 4), true}, {plat::Point(3, t + 3), true}, {plat::Point(1, t), false}},
         false},
        {dmBelow, {{plat::Point(300, b - 2), true}, {plat::Point(300, b - 3), true}, {plat::Point(300, b - 4), false},
                   {plat::Point(kWidth - 4, b - 6), true}, {plat::Point(3, b - 6), true}, {plat::Point(300, t), false}},
         false},
        {dmOnNode, {{plat::Point(300, t), false}, {plat::Point(300, b - 1), false}}, true},
        {dmNowhere, {{plat::Point(300, t), false}}, false},
    };
    const TDTInternalPaintOptions options{poDrawSelection, poDrawDropMark};
    for (const TCase& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.mode));
        Tree->FLastDropMode = c.mode;
        PaintAll(options);
        for (const auto& [p, marked] : c.marked) {
            EXPECT_EQ(PixelOf(Target, p.X, p.Y) == mark, marked) << p.X << ", " << p.Y;
        }
        EXPECT_EQ(PixelOf(Target, static_cast<int>(text.Left) + 2, (t + b) / 2) == onNode, c.textHighlighted);
    }
    Tree->FLastDropMode = dmAbove;
    PaintAll(options - TDTInternalPaintOptions{poDrawDropMark});
    EXPECT_NE(PixelOf(Target, 300, t), mark) << "only with poDrawDropMark";
    Tree->FDropTargetNode = nullptr;
}

// Across a full row the focus mark stands only in the focused column.
TEST_F(TreePaint, TheFocusMarkOfAFullRowStaysInTheFocusedColumn)
{
    SetPaint({toPopupMode});
    Tree->TreeOptions()->SetSelectionOptions(Tree->TreeOptions()->SelectionOptions() +
                                             TDTSelectionOptions{toFullRowSelect});
    const PDataNode record = Records(0)[0];
    Tree->SetFocusedNode(record);
    Tree->SetFocusedColumn(1);
    const TDTInternalPaintOptions options{poDrawFocusRect};
    PaintAll(options);
    plat::TBitmap focused(kWidth, kHeight, plat::pf32bit);
    focused.Canvas()->CopyRect(plat::Rect(0, 0, kWidth, kHeight), Target.Canvas(), plat::Rect(0, 0, kWidth, kHeight));
    PaintAll({});
    const plat::TRect row = Tree->GetDisplayRect(record, NoColumn, false);
    const auto marked = [&](TColumnIndex column) {
        const TDataTreeColumn* item = Tree->Header()->Columns()[column];
        int n = 0;
        for (int y = static_cast<int>(row.Top); y < row.Bottom; ++y) {
            for (int x = item->AbsoluteLeft(); x < item->AbsoluteLeft() + item->Width(); ++x) {
                n += PixelOf(focused, x, y) != PixelOf(Target, x, y) ? 1 : 0;
            }
        }
        return n;
    };
    EXPECT_GT(marked(1), 0);
    EXPECT_EQ(marked(0), 0);
    EXPECT_EQ(marked(2), 0);
}

// Tree lines in bands leave the indentation of the main column to the
// bands: the grid line under a row starts at the check box.
TEST_F(TreePaint, BandsKeepTheGridLineOutOfTheIndentation)
{
    SetPaint({toShowHorzGridLines});
    const PDataNode record = Records(0)[0];
    const plat::TRect row = Tree->GetDisplayRect(record, NoColumn, false);
    const int checkBox = Tree->GetOffset(ofsCheckBox, record);
    const plat::COLORREF grid = Rgb(Tree->Colors()->GridLineColor());
    const int y = static_cast<int>(row.Bottom) - 1;
    PaintAll();
    EXPECT_EQ(PixelOf(Target, 1, y), grid) << "normal lines: the whole cell";
    Tree->SetLineMode(lmBands);
    PaintAll();
    EXPECT_NE(PixelOf(Target, 1, y), grid);
    EXPECT_NE(PixelOf(Target, checkBox - Tree->ImagesMargin() - 1, y), grid);
    EXPECT_EQ(PixelOf(Target, checkBox - Tree->ImagesMargin(), y), grid);
    EXPECT_EQ(PixelOf(Target, 300, y), grid) << "other columns keep their whole line";
}

// Unbuffered, the rows go straight onto the target where a buffered paint
// copies them, clipped to the painted window (a buffered paint copies
// whole rows).
TEST_F(TreePaint, AnUnbufferedPaintLooksLikeABufferedOne)
{
    SetPaint({toShowHorzGridLines, toShowVertGridLines});
    Tree->SetSelected(Records(0)[1], true);
    Tree->SetFocusedNode(Records(0)[1]);
    Tree->SetOffsetX(-30);
    const plat::TRect window = plat::Rect(25, 7, 25 + 300, 7 + 120);
    const TDTInternalPaintOptions options{poColumnColor, poDrawFocusRect, poDrawSelection, poGridLines};
    constexpr int shiftX = 40;
    constexpr int shiftY = 30;
    plat::TBitmap buffered(kWidth, kHeight, plat::pf32bit);
    plat::TBitmap unbuffered(kWidth, kHeight, plat::pf32bit);
    for (plat::TBitmap* each : {&buffered, &unbuffered}) {
        each->Canvas()->Brush()->SetColor(plat::clFuchsia);
        each->Canvas()->FillRect(plat::Rect(0, 0, kWidth, kHeight));
    }
    Tree->PaintTree(*buffered.Canvas(), window, plat::Point(shiftX, shiftY), options);
    Tree->PaintTree(*unbuffered.Canvas(), window, plat::Point(shiftX, shiftY), options + TDTInternalPaintOptions{poUnbuffered});
    int differing = 0;
    int outside = 0;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const bool inWindow = x >= shiftX && x < shiftX + 300 && y >= shiftY && y < shiftY + 120;
            differing += inWindow && PixelOf(buffered, x, y) != PixelOf(unbuffered, x, y) ? 1 : 0;
            outside += !inWindow && PixelOf(unbuffered, x, y) != Rgb(plat::clFuchsia) ? 1 : 0;
        }
    }
    EXPECT_EQ(differing, 0);
    EXPECT_EQ(outside, 0);
    EXPECT_NE(PixelOf(unbuffered, shiftX + 5, shiftY + 5), Rgb(plat::clFuchsia)) << "the window was painted";
    SaveShot(*unbuffered.PixelSurface(), "tree_unbuffered");
}

TEST_F(TreePaint, AFailingPaintEventLeavesTheTreeReadyForTheNextPaint)
{
    bool fail = true;
    Tree->OnBeforeItemPaint = [&fail](plat::TObject*, plat::TCanvas*, PDataNode, const plat::TRect&, bool&) {
        if (fail) {
            throw std::runtime_error("drawing failed");
        }
    };
    fail = false;
    PaintAll();
    const int complete = DrawCalls;
    fail = true;
    EXPECT_THROW(PaintAll(), std::runtime_error);
    EXPECT_FALSE(Tree->TreeStates().Contains(tsPainting));
    EXPECT_EQ(DrawCalls, 0);
    fail = false;
    PaintAll();
    EXPECT_EQ(DrawCalls, complete) << "every text of every row";
    EXPECT_GT(complete, (kHeight + Row - 1) / Row);
}

TEST_F(TreePaint, TheFixedColumnStaysWhileTheOthersScroll)
{
    ShowForm();
    Tree->SetBounds(0, 0, 380, 200);
    Tree->Header()->SetOptions(Tree->Header()->Options() + TDTHeaderOptions{hoVisible});
    TDataTreeColumn* first = Tree->Header()->Columns()[0];
    first->SetOptions(first->Options() + TDTColumnOptions{coFixed});
    Host.PumpUntilIdle();
    // The tree's client area as the screen shows it.
    auto capture = [&] {
        static_cast<TBaseDataTree*>(Tree)->Invalidate();
        Host.PumpUntilIdle();
        return Host.Capture(Form->Handle());
    };
    const plat::TPoint origin = ClientOriginInCapture(*Tree, *Form);
    auto pixel = [&origin](plat::TPixelSurface& surface, int x, int y) {
        return CapturePixel(surface, origin, x, y);
    };
    const auto before = capture();
    Tree->SetOffsetX(-60);
    ASSERT_EQ(Tree->OffsetX(), -60);
    const auto after = capture();
    int fixedDiffers = 0;
    int scrolledDiffers = 0;
    for (int y = 0; y < Tree->ClientHeight(); ++y) {
        for (int x = 0; x < 200; ++x) {
            fixedDiffers += pixel(*before, x, y) != pixel(*after, x, y) ? 1 : 0;
        }
        for (int x = 200; x < Tree->ClientWidth() - 60; ++x) {
            scrolledDiffers += pixel(*before, x + 60, y) != pixel(*after, x, y) ? 1 : 0;
        }
    }
    EXPECT_EQ(fixedDiffers, 0) << "the fixed column did not move";
    EXPECT_EQ(scrolledDiffers, 0) << "the other columns moved 60 pixels left";

    if (ShotFolder() != nullptr) {
        Tree->SetOffsetX(0);
        Tree->SetFocus();
        Tree->SetSelected(Records(0)[1], true);
        Tree->SetFocusedNode(Records(0)[1]);
        Tree->Header()->Columns()[1]->SetMinWidth(10);
        Tree->Header()->Columns()[1]->SetWidth(90);
        const char* captions[] = {"Logger", "Start", "Pages", "Position"};
        for (int i = 0; i < 4; ++i) {
            Tree->Header()->Columns()[i]->SetText(captions[i]);
        }
        Tree->TreeOptions()->SetPaintOptions(Tree->TreeOptions()->PaintOptions() +
                                             TDTPaintOptions{toShowHorzGridLines, toShowVertGridLines});
        Host.PumpUntilIdle();
        SaveShot(*Host.Capture(Form->Handle()), "record_tree");
    }
}

// ---- what a change marks for repainting ----

class TreeInvalidation : public TreePaint {
protected:
    void Show()
    {
        ShowForm();
        Tree->SetBounds(0, 0, 380, 120);
        Host.PumpUntilIdle();
    }

    plat::TRegion UpdateRegion()
    {
        plat::TRegion region;
        plat::GetUpdateRgn(Tree->Handle(), region, false);
        return region;
    }
};

TEST_F(TreeInvalidation, NodeRowsInsideAndOutsideAnUpdate)
{
    Show();
    const PDataNode node = Records(0)[1];
    node->States.Include(vsHeightMeasured);
    Tree->BeginUpdate();
    EXPECT_EQ(Tree->InvalidateNode(node), plat::Rect(-1, -1, -1, -1));
    EXPECT_FALSE(node->States.Contains(vsHeightMeasured)) << "measured again at the next paint";
    Tree->EndUpdate();
    Host.PumpUntilIdle();
    const plat::TRect row = Tree->InvalidateNode(node);
    EXPECT_EQ(row, Tree->GetDisplayRect(node, NoColumn, false));
    EXPECT_EQ(UpdateRegion().Box(), plat::IntersectRect(row, Tree->ClientRect()));
    EXPECT_THROW(Tree->InvalidateNode(nullptr), EAssertionFailed);
    Host.PumpUntilIdle();
    Tree->RootNode()->States.Include(vsHeightMeasured);
    EXPECT_EQ(Tree->InvalidateNode(Tree->RootNode()), plat::Rect(-1, -1, -1, -1)) << "the root takes no row";
    EXPECT_FALSE(Tree->RootNode()->States.Contains(vsHeightMeasured)) << "the root is measured again too";
    EXPECT_TRUE(UpdateRegion().IsEmpty());

    Host.PumpUntilIdle();
    Tree->InvalidateColumn(2);
    const TDataTreeColumn* column = Tree->Header()->Columns()[2];
    EXPECT_EQ(UpdateRegion().Box(), plat::Rect(column->AbsoluteLeft(), 0,
                                               std::min(column->AbsoluteLeft() + column->Width(), Tree->ClientWidth()),
                                               Tree->ClientHeight()));
    Host.PumpUntilIdle();
    Tree->InvalidateToBottom(Tree->GetLast());
    EXPECT_TRUE(UpdateRegion().IsEmpty()) << "a row below the client area marks nothing";
    Tree->InvalidateToBottom(Records(0)[0]);
    const plat::TRect fromRow = Tree->GetDisplayRect(Records(0)[0], NoColumn, false);
    EXPECT_EQ(UpdateRegion().Box(), plat::Rect(0, fromRow.Top, Tree->ClientWidth(), Tree->ClientHeight()));
}

TEST_F(TreeInvalidation, ARecordsCheckClickMarksTheChangedRowsOnceTheUpdateEnds)
{
    Tree->TreeOptions()->SetAutoOptions(Tree->TreeOptions()->AutoOptions() + TDTAutoOptions{toAutoTristateTracking});
    Show();
    std::vector<PDataNode> all;
    std::vector<TCheckState> before;
    for (PDataNode node = Tree->GetFirst(); node != nullptr; node = Tree->GetNext(node)) {
        all.push_back(node);
        before.push_back(node->CheckState);
    }
    // Inside the program's own update nothing is marked; the check change
    // and its propagation run in an update of their own, whose end marks
    // the client area once.
    Tree->BeginUpdate();
    Tree->HandleCheckClick(Records(0)[0], plat::MK_LBUTTON);
    EXPECT_TRUE(UpdateRegion().IsEmpty()) << "nothing inside the update";
    Tree->EndUpdate();
    const plat::TRegion marked = UpdateRegion();
    int changed = 0;
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (all[i]->CheckState == before[i]) {
            continue;
        }
        ++changed;
        const plat::TRect row = plat::IntersectRect(Tree->GetDisplayRect(all[i], NoColumn, false), Tree->ClientRect());
        EXPECT_TRUE(row.IsEmpty() || (marked.Contains(row.Left, row.Top) && marked.Contains(row.Right - 1, row.Bottom - 1)))
            << "row " << i;
    }
    EXPECT_EQ(changed, 2) << "the record and its Select all parent";

    // Outside updates a row change marks that row alone.
    Host.PumpUntilIdle();
    const PDataNode record = Records(1)[1];
    const plat::TRect row = Tree->InvalidateNode(record);
    EXPECT_TRUE(UpdateRegion() == plat::TRegion(plat::IntersectRect(row, Tree->ClientRect())));
}

} // namespace
} // namespace qel::tree_test
