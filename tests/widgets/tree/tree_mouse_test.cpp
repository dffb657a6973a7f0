// The data tree under the mouse, driven by input injected into the headless
// host on the record page's tree: check boxes and radio buttons, expand
// buttons, row clicks and clicks below the rows, double and right clicks,
// hot tracking and leaving, what a point hits, and dragging a node's height.
#include "tests/widgets/tree/record_tree_fixture.h"

#include "platform/controls/window.h"

#include <algorithm>
#include <string>
#include <vector>

namespace qel::tree_test {
namespace {

class TreeMouse : public RecordTreeTest {
protected:
    TreeMouse()
    {
        Form->SetBounds(0, 0, 700, 400);
        ShowForm();
        Tree->SetBounds(0, 0, 660, 330);
        SetUpAsRecordPage();
        Fill(SerialsABA);
        Tree->SetExpanded(Loggers[0], true);
        Tree->SetExpanded(SelectAll(0), true);
        Tree->SetFocusedNode(Loggers[0]);
        Tree->SetSelected(Loggers[0], true);
        Tree->OnChecked = [this](plat::TObject*, PDataNode node) { Checked.push_back(node); };
        Host.PumpUntilIdle();
    }

    void Click(plat::TPoint p, plat::THostButton button = plat::THostButton::Left)
    {
        Host.Click(p, button);
        Host.PumpUntilIdle();
    }

    std::vector<PDataNode> Selected() { return Tree->GetSortedSelection(false); }

    std::vector<PDataNode> Checked;
};

TEST_F(TreeMouse, ACheckBoxClickChecksWithoutTouchingSelectionOrFocus)
{
    const PDataNode record = Records(0)[1];
    Click(CheckBoxPoint(record));
    EXPECT_EQ(record->CheckState, csCheckedNormal);
    EXPECT_EQ(SelectAll(0)->CheckState, csMixedNormal);
    EXPECT_EQ(Checked, (std::vector<PDataNode>{SelectAll(0), record})) << "the parent is told first";
    EXPECT_EQ(Tree->FocusedNode(), Loggers[0]);
    EXPECT_EQ(Selected(), std::vector<PDataNode>{Loggers[0]});
    EXPECT_TRUE(Tree->LastHitInfo().HitPositions.Contains(hiOnItemCheckbox));
}

TEST_F(TreeMouse, ALoggersRadioButtonUnchecksTheOtherSilently)
{
    Click(CheckBoxPoint(Loggers[1]));
    EXPECT_EQ(Loggers[1]->CheckState, csCheckedNormal);
    EXPECT_EQ(Loggers[0]->CheckState, csUncheckedNormal);
    EXPECT_EQ(Checked, std::vector<PDataNode>{Loggers[1]});
}

TEST_F(TreeMouse, AnExpandButtonOnlyToggles)
{
    ASSERT_FALSE(Tree->GetExpanded(Loggers[1]));
    Click(ButtonPoint(Loggers[1]));
    EXPECT_TRUE(Tree->GetExpanded(Loggers[1]));
    EXPECT_EQ(Tree->FocusedNode(), Loggers[0]);
    EXPECT_EQ(Selected(), std::vector<PDataNode>{Loggers[0]});
    Click(ButtonPoint(Loggers[1]));
    EXPECT_FALSE(Tree->GetExpanded(Loggers[1]));
    EXPECT_TRUE(Checked.empty());
}

TEST_F(TreeMouse, ARowClickSelectsFocusesAndScrollsTheRowIntoView)
{
    // The last record's row is cut by the client's bottom edge.
    const PDataNode record = Records(0)[2];
    const int row = static_cast<int>(Tree->GetNodeHeight(record));
    const plat::TRect before = Tree->GetDisplayRect(record, NoColumn, false);
    Tree->SetBounds(0, 0, 660, static_cast<int>(before.Top) + row / 2 + Tree->Height() - Tree->ClientHeight());
    Host.PumpUntilIdle();
    ASSERT_GT(Tree->GetDisplayRect(record, NoColumn, false).Bottom, Tree->ClientHeight());
    int changes = 0;
    Tree->OnChange = [&changes](plat::TObject*, PDataNode) { ++changes; };
    plat::TPoint top = plat::Point(0, static_cast<int>(before.Top) + 2);
    plat::ClientToScreen(Tree->Handle(), top);
    Click(plat::Point(LabelPoint(record).X, top.Y));
    EXPECT_EQ(Tree->FocusedNode(), record);
    EXPECT_EQ(Selected(), std::vector<PDataNode>{record});
    EXPECT_LE(Tree->GetDisplayRect(record, NoColumn, false).Bottom, Tree->ClientHeight()) << "scrolled into view";
    EXPECT_GE(changes, 1);

    // Below the last row: nothing changes, but OnChange(nil) comes once.
    Tree->SetBounds(0, 0, 660, 330);
    Tree->SetOffsetY(0);
    Host.PumpUntilIdle();
    changes = 0;
    std::vector<PDataNode> changed;
    Tree->OnChange = [&changed](plat::TObject*, PDataNode node) { changed.push_back(node); };
    plat::TPoint below = plat::Point(50, Tree->ClientHeight() - 5);
    plat::ClientToScreen(Tree->Handle(), below);
    Click(below);
    EXPECT_EQ(changed, std::vector<PDataNode>{nullptr});
    EXPECT_EQ(Selected(), std::vector<PDataNode>{record});
    EXPECT_EQ(Tree->FocusedNode(), record);
}

TEST_F(TreeMouse, ADoubleClickOnACheckBoxTogglesTwice)
{
    const PDataNode record = Records(0)[0];
    Host.DoubleClick(CheckBoxPoint(record));
    Host.PumpUntilIdle();
    EXPECT_EQ(record->CheckState, csUncheckedNormal);
    EXPECT_EQ(std::count(Checked.begin(), Checked.end(), record), 2);
}

TEST_F(TreeMouse, ARightClickNeverToggles)
{
    Tree->TreeOptions()->SetSelectionOptions(Tree->TreeOptions()->SelectionOptions() +
                                             TDTSelectionOptions{toRightClickSelect});
    const PDataNode record = Records(0)[0];
    Click(CheckBoxPoint(record), plat::THostButton::Right);
    EXPECT_EQ(record->CheckState, csUncheckedNormal);
    EXPECT_TRUE(Checked.empty());
    Click(LabelPoint(record), plat::THostButton::Right);
    EXPECT_EQ(Selected(), std::vector<PDataNode>{record}) << "but selects like a left click";
}

TEST_F(TreeMouse, HotTrackingAndLeavingTheWindow)
{
    std::vector<std::pair<PDataNode, PDataNode>> hot;
    Tree->OnHotChange = [&hot](plat::TObject*, PDataNode oldNode, PDataNode newNode) { hot.emplace_back(oldNode, newNode); };
    Host.MouseMove(LabelPoint(Records(0)[0]));
    Host.PumpUntilIdle();
    EXPECT_EQ(Tree->HotNode(), Records(0)[0]);
    Host.MouseMove(CheckBoxPoint(Records(0)[1]));
    Host.PumpUntilIdle();
    EXPECT_EQ(Tree->HotNode(), Records(0)[1]) << "a check box makes its node hot";
    Host.PointerLeaves(CheckBoxPoint(Records(0)[1]));
    Host.PumpUntilIdle();
    EXPECT_EQ(Tree->HotNode(), nullptr);
    ASSERT_FALSE(hot.empty());
    EXPECT_EQ(hot.back(), (std::pair<PDataNode, PDataNode>{Records(0)[1], nullptr}));
}

TEST_F(TreeMouse, WhatAPointHits)
{
    THitInfo hit;
    Tree->GetHitTestInfoAt(-5, 10, true, hit);
    EXPECT_EQ(hit.HitPositions, THitPositions{hiToLeft});
    EXPECT_EQ(hit.HitNode, nullptr);
    Tree->GetHitTestInfoAt(30, Tree->ClientHeight() - 3, true, hit);
    EXPECT_EQ(hit.HitPositions, THitPositions{hiNowhere});
    EXPECT_EQ(hit.HitNode, nullptr);

    const plat::TRect row = Tree->GetDisplayRect(Records(0)[1], NoColumn, false);
    Tree->GetHitTestInfoAt(30, static_cast<int>(row.Top), true, hit);
    EXPECT_FALSE(hit.HitPositions.Contains(hiUpperSplitter)) << "only with toNodeHeightResize";
    Tree->TreeOptions()->SetMiscOptions(Tree->TreeOptions()->MiscOptions() + TDTMiscOptions{toNodeHeightResize});
    struct TCase {
        int y;
        THitPosition splitter;
    };
    for (const TCase& c : {TCase{static_cast<int>(row.Top), hiUpperSplitter},
                           TCase{static_cast<int>(row.Top) + 1, hiUpperSplitter},
                           TCase{static_cast<int>(row.Bottom) - 3, hiLowerSplitter},
                           TCase{static_cast<int>(row.Bottom) - 1, hiLowerSplitter}}) {
        Tree->GetHitTestInfoAt(30, c.y, true, hit);
        EXPECT_EQ(hit.HitNode, Records(0)[1]) << c.y;
        EXPECT_TRUE(hit.HitPositions.Contains(c.splitter)) << c.y;
    }
    Tree->GetHitTestInfoAt(30, static_cast<int>(row.Top) + 5, true, hit);
    EXPECT_FALSE(hit.HitPositions.Contains(hiUpperSplitter) || hit.HitPositions.Contains(hiLowerSplitter));
}

// With toAutoSpanColumns an empty cell belongs to the text on its left: a
// point in a logger row's empty Pages cell hits column 0, where the
// logger's name starts; filled cells keep their own column.
TEST_F(TreeMouse, AutoSpanningGivesAnEmptyCellTheColumnWhereTheTextStarts)
{
    const TDataTreeColumn* pages = Tree->Header()->Columns()[2];
    const auto hitColumn = [&](PDataNode node) {
        const plat::TRect row = Tree->GetDisplayRect(node, NoColumn, false);
        THitInfo hit;
        Tree->GetHitTestInfoAt(pages->AbsoluteLeft() + 5, static_cast<int>((row.Top + row.Bottom) / 2), true, hit);
        EXPECT_EQ(hit.HitNode, node);
        EXPECT_TRUE(hit.HitPositions.Contains(hiOnItem));
        return hit.HitColumn;
    };
    EXPECT_EQ(hitColumn(Loggers[0]), 2) << "without spanning every cell is its own";
    Tree->TreeOptions()->SetAutoOptions(Tree->TreeOptions()->AutoOptions() + TDTAutoOptions{toAutoSpanColumns});
    EXPECT_EQ(hitColumn(Loggers[0]), 0) << "the logger's name starts in the first column";
    EXPECT_EQ(hitColumn(Records(0)[0]), 2) << "a record's pages are a text of their own";
    Tree->GetNodeData<TRecordNodeData>(Records(0)[0])->Pages.clear();
    EXPECT_EQ(hitColumn(Records(0)[0]), 1) << "an emptied cell belongs to the start time";

    // With nothing left of an empty cell but empty cells, the point is in no column.
    TRecordNodeData* data = Tree->GetNodeData<TRecordNodeData>(Records(0)[0]);
    data->Caption.clear();
    data->Time.clear();
    const plat::TRect row = Tree->GetDisplayRect(Records(0)[0], NoColumn, false);
    THitInfo hit;
    Tree->GetHitTestInfoAt(pages->AbsoluteLeft() + 5, static_cast<int>((row.Top + row.Bottom) / 2), true, hit);
    EXPECT_EQ(hit.HitNode, Records(0)[0]);
    EXPECT_EQ(hit.HitColumn, InvalidColumn);
    EXPECT_EQ(hit.HitPositions, THitPositions{hiNowhere});
}

// With toMiddleClickSelect the middle button selects and focuses like the
// left one; without it, it leaves both alone.
TEST_F(TreeMouse, AMiddleClickSelectsOnlyWhenAskedTo)
{
    const PDataNode record = Records(0)[1];
    ASSERT_LE(Tree->RangeY(), Tree->ClientHeight()) << "nothing to pan";
    Click(LabelPoint(record), plat::THostButton::Middle);
    EXPECT_EQ(Selected(), std::vector<PDataNode>{Loggers[0]});
    EXPECT_EQ(Tree->FocusedNode(), Loggers[0]);
    Tree->TreeOptions()->SetSelectionOptions(Tree->TreeOptions()->SelectionOptions() +
                                             TDTSelectionOptions{toMiddleClickSelect});
    int clicks = 0;
    Tree->OnNodeClick = [&clicks](plat::TObject*, const THitInfo&) { ++clicks; };
    Host.AdvanceClock(1000);   // not a double click
    Click(LabelPoint(record), plat::THostButton::Middle);
    EXPECT_EQ(Selected(), std::vector<PDataNode>{record});
    EXPECT_EQ(Tree->FocusedNode(), record);
    EXPECT_EQ(clicks, 1) << "the release ends the click";
    EXPECT_FALSE(Tree->TreeStates().Contains(tsMiddleButtonDown));
    Tree->OnNodeClick = nullptr;
}

// A press that may drag the whole row draws no selection rectangle.
TEST_F(TreeMouse, NoRubberBandWhereAFullRowDragMayStart)
{
    TCustomDataTreeOptions* options = Tree->TreeOptions();
    options->SetSelectionOptions(options->SelectionOptions() + TDTSelectionOptions{toMultiSelect, toFullRowSelect});
    const PDataNode record = Records(0)[1];
    Tree->SetSelected(record, true);
    const plat::TRect row = Tree->GetDisplayRect(record, NoColumn, false);
    const plat::TPoint rightOfText =
        Tree->ClientToScreen(plat::Point(static_cast<int>(row.Right) - 20, static_cast<int>(row.Top) + 5));
    struct TCase {
        bool fullRowDrag;
        bool drawsSelection;
    };
    for (const TCase& c : {TCase{false, true}, TCase{true, false}}) {
        SCOPED_TRACE(c.fullRowDrag);
        options->SetMiscOptions(c.fullRowDrag ? options->MiscOptions() + TDTMiscOptions{toFullRowDrag}
                                              : options->MiscOptions() - TDTMiscOptions{toFullRowDrag});
        Host.AdvanceClock(1000);   // a press of its own, not a double click
        Host.MouseDown(rightOfText);
        Host.PumpUntilIdle();
        EXPECT_EQ(Tree->TreeStates().Contains(tsDrawSelPending), c.drawsSelection);
        Host.MouseUp(rightOfText);
        Host.PumpUntilIdle();
    }
}

TEST_F(TreeMouse, DraggingANodesHeightKeepsAtLeastOnePixel)
{
    Tree->TreeOptions()->SetMiscOptions(Tree->TreeOptions()->MiscOptions() + TDTMiscOptions{toNodeHeightResize});
    TDataTreeColumn* first = Tree->Header()->Columns()[0];
    first->SetOptions(first->Options() + TDTColumnOptions{coFixed});
    const PDataNode record = Records(0)[1];
    const plat::TRect row = Tree->GetDisplayRect(record, 0, false);
    plat::TPoint press = plat::Point(100, static_cast<int>(row.Bottom) - 2);
    plat::ClientToScreen(Tree->Handle(), press);
    Host.MouseDown(press);
    Host.PumpUntilIdle();
    EXPECT_TRUE(Tree->TreeStates().Contains(tsNodeHeightTrackPending));
    Host.MouseMove(plat::Point(press.X, press.Y + 1));
    Host.MouseMove(plat::Point(press.X, press.Y + 12));
    Host.PumpUntilIdle();
    EXPECT_TRUE(Tree->TreeStates().Contains(tsNodeHeightTracking));
    EXPECT_EQ(Tree->GetNodeHeight(record), row.Height() - 2 + 12);
    Host.MouseMove(plat::Point(press.X, press.Y - 60));
    Host.PumpUntilIdle();
    EXPECT_EQ(Tree->GetNodeHeight(record), 1) << "above the row's top: one pixel";
    Host.MouseUp(plat::Point(press.X, press.Y - 60));
    Host.PumpUntilIdle();
    EXPECT_FALSE(Tree->TreeStates().Contains(tsNodeHeightTracking));
}

} // namespace
} // namespace qel::tree_test
