// Column widths the data tree works out: the record tree fitted to its
// content with the last column taking the rest, the auto-size column, the
// ranges and vetoes of fitting, the content width of a column, spreading a
// width change with bonus pixels, the fixed columns' share and spring
// columns.
#include "tests/widgets/tree/record_tree_fixture.h"

#include "platform/canvas/bitmap.h"
#include "platform/canvas/canvas.h"

#include <numeric>
#include <string>
#include <vector>

namespace qel::tree_test {
namespace {

class ColumnFitting : public RecordTreeTest {
protected:
    ColumnFitting()
    {
        ShowForm();
        Tree->SetBounds(0, 0, 700, 300);
        TDataTreeColumns& columns = Tree->Header()->Columns();
        columns.BeginUpdate();
        for (int minWidth : {200, 150, 80, 80}) {
            columns.Add()->SetMinWidth(minWidth);
        }
        columns.EndUpdate();
        Tree->Header()->SetAutoSizeIndex(3);
        Tree->Header()->SetOptions(Tree->Header()->Options() + TDTHeaderOptions{hoAutoResize, hoVisible});
        Tree->OnGetText = [this](plat::TObject*, PDataNode node, TColumnIndex column, TDSTTextType, std::string& text) {
            const TRecordNodeData* data = Tree->GetNodeData<TRecordNodeData>(node);
            const std::string* texts[] = {&data->Caption, &data->Time, &data->Pages, &data->Pos};
            text = column >= 0 && column < 4 ? *texts[column] : data->Caption;
        };
        Tree->OnAfterAutoFitColumn = [this](TDTHeader*, TColumnIndex column) { Fitted.push_back(column); };
    }

    TDataTreeColumns& Columns() { return Tree->Header()->Columns(); }
    int Width(TColumnIndex column) { return Columns()[column]->Width(); }
    int TextWidth(const std::string& text)
    {
        plat::TBitmap measure(1, 1);
        measure.Canvas()->Font()->Assign(Tree->Font());
        return measure.Canvas()->TextWidth(text);
    }
    void ExpectAutoSizeTakesTheRest()
    {
        for (TColumnIndex i = 0; i < 4; ++i) {
            EXPECT_GE(Width(i), Columns()[i]->MinWidth()) << i;
        }
        EXPECT_EQ(Width(3), std::max(80, Tree->ClientWidth() - Width(0) - Width(1) - Width(2)));
    }

    std::vector<TColumnIndex> Fitted;
};

// The record page fills the tree and fits the columns inside one update.
TEST_F(ColumnFitting, TheRecordTreeAfterItsFill)
{
    Tree->BeginUpdate();
    Fill(SerialsABA);
    Tree->FullExpand();
    Tree->Header()->AutoFitColumns();
    Tree->EndUpdate();
    EXPECT_EQ(Fitted, (std::vector<TColumnIndex>{0, 1, 2, 3}));
    ExpectAutoSizeTakesTheRest();
    EXPECT_EQ(Width(0), 200) << "the texts need less than MinWidth";

    // A long start time widens its column to the text and its margins.
    Tree->GetNodeData<TRecordNodeData>(Records(0)[1])->Time = std::string(40, 'W');
    Tree->Header()->AutoFitColumns(false);
    TDTOffsets offsets{};
    Tree->GetOffsets(Records(0)[1], offsets, ofsLabel, 1);
    EXPECT_EQ(Width(1), offsets[ofsLabel] + TextWidth(std::string(40, 'W')) + 2 * Tree->TextMargin());
    ExpectAutoSizeTakesTheRest();

    Tree->SetBounds(0, 0, 1200, 300);
    Host.PumpUntilIdle();
    ExpectAutoSizeTakesTheRest();
    Tree->SetBounds(0, 0, 500, 300);
    Host.PumpUntilIdle();
    ExpectAutoSizeTakesTheRest();
    EXPECT_EQ(Width(3), 80) << "the others leave less than its MinWidth";
}

TEST_F(ColumnFitting, TheAutoSizeColumn)
{
    Tree->Header()->SetAutoSizeIndex(7);
    Columns().AdjustAutoSize(InvalidColumn, true);
    EXPECT_EQ(Width(3), Tree->ClientWidth() - Width(0) - Width(1) - Width(2)) << "index 7 sizes the last column";
    Columns()[0]->SetWidth(900);
    EXPECT_EQ(Width(3), 80) << "the others are wider than the client";
    int resized = 0;
    Tree->OnColumnResize = [&resized](TDTHeader*, TColumnIndex column) { resized += column == 3 ? 1 : 0; };
    Columns()[3]->SetOptions(Columns()[3]->Options() - TDTColumnOptions{coVisible});
    Columns()[0]->SetWidth(300);
    EXPECT_EQ(Width(3), Tree->ClientWidth() - 300 - Width(1) - Width(2)) << "hidden, it still gets the width";
    EXPECT_GE(resized, 1);
}

TEST_F(ColumnFitting, RangesVetoesAndCancelling)
{
    Fill(SerialsABA);
    int runs = 0;
    Tree->OnBeforeAutoFitColumns = [&runs](TDTHeader*, TSmartAutoFitType&) { ++runs; };
    Tree->Header()->AutoFitColumns(false, smaUseColumnOption, 0, 99);
    EXPECT_EQ(Fitted, (std::vector<TColumnIndex>{0, 1, 2, 3})) << "positions 0 to 3";
    Fitted.clear();
    Tree->Header()->AutoFitColumns(false, smaUseColumnOption, 3, 1);
    EXPECT_TRUE(Fitted.empty());
    EXPECT_EQ(runs, 1) << "an empty range fires nothing";

    Columns()[1]->SetOptions(Columns()[1]->Options() - TDTColumnOptions{coVisible});
    Columns()[2]->SetOptions(Columns()[2]->Options() - TDTColumnOptions{coResizable});
    Tree->OnBeforeAutoFitColumn = +[](TDTHeader*, TColumnIndex column, TSmartAutoFitType&, bool& allowed) {
        allowed = column != 0;
    };
    Tree->Header()->AutoFitColumns(false);
    EXPECT_EQ(Fitted, std::vector<TColumnIndex>{3}) << "hidden, fixed-size and refused columns are left";
    Tree->OnBeforeAutoFitColumn = nullptr;

    Columns()[0]->SetWidth(333);
    Fitted.clear();
    Tree->BeginOperation(okExport);
    Tree->CancelOperation();
    EXPECT_EQ(Tree->GetMaxColumnWidth(0), 333) << "a cancelled operation answers the current width";
    Tree->Header()->AutoFitColumns(false);
    EXPECT_EQ(Width(0), 333);
    EXPECT_TRUE(Fitted.empty());
    Tree->EndOperation(okExport);
}

TEST_F(ColumnFitting, ContentWidthOfAnEmptyTreeAndWithTheCaption)
{
    EXPECT_EQ(Tree->GetMaxColumnWidth(1), 0);
    Tree->TreeOptions()->SetPaintOptions(Tree->TreeOptions()->PaintOptions() + TDTPaintOptions{toShowVertGridLines});
    EXPECT_EQ(Tree->GetMaxColumnWidth(1), 1);
    Columns()[1]->SetText("Start time");
    Tree->Header()->SetOptions(Tree->Header()->Options() + TDTHeaderOptions{hoAutoResizeInclCaption});
    EXPECT_EQ(Tree->GetMaxColumnWidth(1), 2 * Columns()[1]->Margin() + Columns()[1]->CaptionWidth() + 2 + 1);
    Tree->OnAfterGetMaxColumnWidth = +[](TDTHeader*, TColumnIndex, int& width) { width = 123; };
    EXPECT_EQ(Tree->GetMaxColumnWidth(1), 123);
}

// A multi-line node counts with the column's own width, which replaces
// the maximum found so far: a wider row before it no longer counts.
TEST_F(ColumnFitting, AMultiLineNodeReplacesTheMaximumWithTheColumnWidth)
{
    Fill(SerialsABA);
    Tree->FullExpand();
    Columns()[1]->SetWidth(160);
    Tree->GetNodeData<TRecordNodeData>(Records(0)[0])->Time = std::string(50, 'W');
    ASSERT_GT(TextWidth(std::string(50, 'W')), 160);
    Tree->SetMultiline(Tree->GetLastVisible(), true);
    EXPECT_EQ(Tree->GetMaxColumnWidth(1), 160);
}

// A column's new width makes multi-line rows measure their height again;
// single-line rows keep the height they measured.
TEST_F(ColumnFitting, AWidthChangeRemeasuresOnlyMultiLineRows)
{
    Fill(SerialsABA);
    Tree->FullExpand();
    const PDataNode multi = Records(0)[1];
    const PDataNode single = Records(0)[0];
    Tree->SetMultiline(multi, true);
    multi->States.Include(vsHeightMeasured);
    single->States.Include(vsHeightMeasured);
    Columns()[1]->SetWidth(Width(1) + 30);
    EXPECT_FALSE(multi->States.Contains(vsHeightMeasured));
    EXPECT_TRUE(single->States.Contains(vsHeightMeasured));
}

TEST_F(ColumnFitting, ResizingSpreadsOddPixelsOverTheColumns)
{
    Tree->Header()->SetOptions(Tree->Header()->Options() - TDTHeaderOptions{hoAutoResize});
    for (TColumnIndex i = 0; i < 3; ++i) {
        Columns()[i]->SetWidth(300);
    }
    EXPECT_EQ(Tree->Header()->ResizeColumns(7, 0, 2), 7);
    EXPECT_EQ((std::vector<int>{Width(0), Width(1), Width(2)}), (std::vector<int>{303, 302, 302}));
    EXPECT_EQ(Tree->Header()->ResizeColumns(7, 0, 2), 7);
    EXPECT_EQ((std::vector<int>{Width(0), Width(1), Width(2)}), (std::vector<int>{305, 305, 304}))
        << "the next bonus pixel goes to the next column";
    EXPECT_EQ(Tree->Header()->ResizeColumns(-400, 0, 2), -400);
    EXPECT_EQ(Width(0), 200) << "the first stops at its MinWidth, the others take the rest";
    EXPECT_EQ(Width(0) + Width(1) + Width(2), 305 + 305 + 304 - 400);
    const int room = Width(1) - 150 + Width(2) - 80;
    EXPECT_EQ(Tree->Header()->ResizeColumns(-400, 0, 2), -room) << "shrinking stops at the MinWidths";
    EXPECT_EQ((std::vector<int>{Width(0), Width(1), Width(2)}), (std::vector<int>{200, 150, 80}));
    EXPECT_EQ(Tree->Header()->ResizeColumns(0, 0, 2), 0);
}

// Fixed columns wider than their share of the client are shrunk; below
// their MinWidths the widest one's limit drops a tenth at a time.
TEST_F(ColumnFitting, TheFixedAreaShareLowersLimitsWhenItMust)
{
    Tree->Header()->SetOptions(Tree->Header()->Options() - TDTHeaderOptions{hoAutoResize});
    for (TColumnIndex i = 0; i < 2; ++i) {
        Columns()[i]->SetMinWidth(100);
        Columns()[i]->SetWidth(100);
        Columns()[i]->SetOptions(Columns()[i]->Options() + TDTColumnOptions{coFixed});
    }
    Tree->SetBounds(0, 0, 300 + Tree->Width() - Tree->ClientWidth(), 300);
    Host.PumpUntilIdle();
    ASSERT_EQ(Tree->ClientWidth(), 300);
    Tree->Header()->FixedAreaConstraints().SetMaxWidthPercent(50);
    Tree->Header()->RecalculateHeader();
    EXPECT_EQ(Columns().GetVisibleFixedWidth(), 150);
    EXPECT_EQ(Width(0), 50) << "its limit went 100, 90, 81, 73, 66, 60, 54, 49";
    EXPECT_EQ(Width(1), 100);
}

TEST_F(ColumnFitting, SpringColumnsGrowOnceTheirRestMakesAPixel)
{
    Tree->Header()->SetOptions(Tree->Header()->Options() - TDTHeaderOptions{hoAutoResize} +
                               TDTHeaderOptions{hoAutoSpring});
    for (TColumnIndex i = 0; i < 3; ++i) {
        Columns()[i]->SetOptions(Columns()[i]->Options() + TDTColumnOptions{coAutoSpring});
    }
    const std::vector<int> start = {Width(0), Width(1), Width(2)};
    int width = Tree->Width();
    for (int step = 1; step <= 3; ++step) {
        Tree->SetBounds(0, 0, ++width, 300);
        Host.PumpUntilIdle();
        const int grown = step == 3 ? 1 : 0;
        EXPECT_EQ((std::vector<int>{Width(0), Width(1), Width(2)}),
                  (std::vector<int>{start[0] + grown, start[1] + grown, start[2] + grown}))
            << "step " << step;
    }
}

} // namespace
} // namespace qel::tree_test
