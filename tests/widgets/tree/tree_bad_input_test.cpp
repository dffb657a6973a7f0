// Settings of the data tree given values outside their range: each setter
// keeps the value in range where the tree limits it, and whatever it keeps,
// the tree still paints, scrolls and takes keys and clicks with its
// aggregates whole (the sanitizer builds watch the memory meanwhile).
#include "tests/widgets/tree/tree_fixture.h"

#include "platform/controls/virtual_keys.h"

#include <climits>
#include <functional>
#include <string>
#include <vector>

namespace qel::tree_test {
namespace {

class TreeBadInput : public TreeTest {
protected:
    TreeBadInput()
    {
        Form->SetBounds(0, 0, 400, 300);
        ShowForm();
        Tree->SetBounds(0, 0, 300, 200);
        TDataTreeColumns& columns = Tree->Header()->Columns();
        for (int i = 0; i < 3; ++i) {
            columns.Add()->SetWidth(120);
        }
        Tree->Header()->SetOptions(Tree->Header()->Options() + TDTHeaderOptions{hoVisible});
        Tree->TreeOptions()->SetMiscOptions(Tree->TreeOptions()->MiscOptions() + TDTMiscOptions{toCheckSupport});
        Tree->SetRootNodeCount(12);
        for (PDataNode node : Children(*Tree)) {
            node->CheckType = ctTriStateCheckBox;
        }
        Tree->SetChildCount(Tree->GetFirst(), 4);
        Tree->SetExpanded(Tree->GetFirst(), true);
        Tree->SetFocus();
        Host.PumpUntilIdle();
    }

    // Paints, scrolls, takes keys and a click; the tree must stay whole.
    void Exercise()
    {
        Tree->InvalidateToBottom(nullptr);
        Host.PumpUntilIdle();
        for (const plat::TVirtualKey key : {plat::VK_DOWN, plat::VK_END, plat::VK_RIGHT, plat::VK_HOME, plat::VK_NEXT,
                                            plat::VK_SPACE, plat::VK_TAB}) {
            Host.Key(key);
        }
        Host.Click(Tree->ClientToScreen(plat::Point(30, 30)));
        Host.PumpUntilIdle();
        Tree->SetOffsetXY(plat::Point(INT_MIN, INT_MIN));
        Tree->SetOffsetXY(plat::Point(INT_MAX, INT_MAX));
        Host.PumpUntilIdle();
        EXPECT_EQ(CheckInvariants(*Tree), "");
    }
};

TEST_F(TreeBadInput, SettersOutOfRangeKeepTheTreeWhole)
{
    struct TCase {
        const char* name;
        std::function<void()> set;
        std::function<void()> check;
    };
    const std::vector<TCase> cases = {
        // -1, then the first of the new top-level nodes fixes it to 8.
        {"NodeDataSize below -1", [&] { Tree->SetNodeDataSize(-50); },
         [&] { EXPECT_EQ(Tree->NodeDataSize(), 8); }},
        {"DefaultNodeHeight 0", [&] { Tree->SetDefaultNodeHeight(0); },
         [&] { EXPECT_EQ(Tree->DefaultNodeHeight(), 18); }},
        {"DefaultNodeHeight negative", [&] { Tree->SetDefaultNodeHeight(-30); }, [] {}},
        {"node height negative", [&] { Tree->SetNodeHeight(Tree->GetLast(), -40); }, [] {}},
        {"vertical alignment beyond 100", [&] { Tree->SetVerticalAlignment(Tree->GetFirst(), 250); },
         [&] { EXPECT_EQ(Tree->GetVerticalAlignment(Tree->GetFirst()), 100); }},
        {"selection curve radius negative", [&] { Tree->SetSelectionCurveRadius(-8); },
         [&] { EXPECT_EQ(Tree->SelectionCurveRadius(), 0); }},
        {"check image kind beyond its values", [&] { Tree->SetCheckImageKind(static_cast<TCheckImageKind>(9)); },
         [&] { EXPECT_EQ(Tree->CheckImageKind(), ckSystemDefault); }},
        {"auto scroll interval 0", [&] { Tree->SetAutoScrollInterval(0); },
         [&] { EXPECT_EQ(Tree->AutoScrollInterval(), 1); }},
        {"auto scroll interval beyond 1000", [&] { Tree->SetAutoScrollInterval(5000); },
         [&] { EXPECT_EQ(Tree->AutoScrollInterval(), 1000); }},
        {"focused column beyond the columns", [&] { Tree->SetFocusedColumn(77); }, [] {}},
        {"focused column far below", [&] { Tree->SetFocusedColumn(-77); }, [] {}},
        {"indent negative", [&] { Tree->SetIndent(-18); }, [] {}},
        {"margins negative", [&] {
             Tree->SetMargin(-10);
             Tree->SetTextMargin(-10);
         },
         [] {}},
        {"bottom space negative", [&] { Tree->SetBottomSpace(-500); }, [] {}},
        {"line style beyond its values", [&] { Tree->SetLineStyle(static_cast<TDTLineStyle>(40)); }, [] {}},
        {"button style and fill beyond their values", [&] {
             Tree->SetButtonStyle(static_cast<TDTButtonStyle>(9));
             Tree->SetButtonFillMode(static_cast<TDTButtonFillMode>(9));
         },
         [] {}},
        {"node alignment beyond its values", [&] { Tree->SetNodeAlignment(static_cast<TDTNodeAlignment>(9)); }, [] {}},
        {"incremental search beyond its values",
         [&] { Tree->SetIncrementalSearch(static_cast<TDTIncrementalSearch>(9)); }, [] {}},
        {"paste mode beyond its values", [&] { Tree->SetDefaultPasteMode(static_cast<TDTNodeAttachMode>(9)); },
         [] {}},
        {"hint mode beyond its values", [&] { Tree->SetHintMode(static_cast<TDTHintMode>(9)); }, [] {}},
        {"animation duration huge", [&] { Tree->SetAnimationDuration(UINT_MAX); }, [] {}},
        {"scroll increments out of range", [&] {
             Tree->ScrollBarOptions()->SetHorizontalIncrement(0);
             Tree->ScrollBarOptions()->SetVerticalIncrement(60000);
         },
         [&] {
             EXPECT_EQ(Tree->ScrollBarOptions()->HorizontalIncrement(), MinScrollIncrement);
             EXPECT_EQ(Tree->ScrollBarOptions()->VerticalIncrement(), MaxScrollIncrement);
         }},
        {"every option bit", [&] {
             TCustomDataTreeOptions* options = Tree->TreeOptions();
             options->SetPaintOptions(TDTPaintOptions::FromBits(0x7FFFFF));
             options->SetAutoOptions(TDTAutoOptions::FromBits(0x3FFF) - TDTAutoOptions{toAutoFreeOnCollapse});
             options->SetSelectionOptions(TDTSelectionOptions::FromBits(0x3FFF));
             options->SetMiscOptions(TDTMiscOptions::FromBits(0x1FFFF) - TDTMiscOptions{toReadOnly});
         },
         [] {}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        c.set();
        c.check();
        Exercise();
    }
}

} // namespace
} // namespace qel::tree_test
