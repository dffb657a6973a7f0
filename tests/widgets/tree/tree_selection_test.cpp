// Selection and focus of the data tree: single selection with its events
// and focus, refused nodes, the level and sibling constraints, ranges,
// toggling and inversion, the sorted and resolved selection, the
// selection kept right through deletions, the temporary cache, and focus
// changes with their veto and notifications.
#include "tests/widgets/tree/tree_fixture.h"

#include <algorithm>
#include <functional>
#include <random>

namespace qel::tree_test {
namespace {

// Three top-level nodes with three children each, all expanded.
class Selection : public TreeTest {
protected:
    Selection()
    {
        for (int i = 0; i < 3; ++i) {
            const PDataNode top = Tree->AddChild(nullptr);
            Tree->SetChildCount(top, 3);
            Tops.push_back(top);
        }
        Tree->ValidateNode(nullptr, true);
        for (PDataNode top : Tops) {
            Tree->SetExpanded(top, true);
        }
        Tree->OnAddToSelection = [this](plat::TObject*, PDataNode node) { Events.push_back("+" + Name(node)); };
        Tree->OnRemoveFromSelection = [this](plat::TObject*, PDataNode node) {
            Events.push_back("-" + Name(node));
        };
    }

    void MultiSelect(TDTSelectionOptions extra = {})
    {
        Tree->TreeOptions()->SetSelectionOptions(Tree->TreeOptions()->SelectionOptions() +
                                                 TDTSelectionOptions{toMultiSelect} + extra);
    }

    // "t1" for the second top-level node, "t1.2" for its third child.
    std::string Name(PDataNode node) const
    {
        if (node->fParent == Tree->RootNode()) {
            return "t" + std::to_string(node->fIndex);
        }
        return Name(node->fParent) + "." + std::to_string(node->fIndex);
    }

    PDataNode Kid(int top, int child) const
    {
        PDataNode node = Tops[top]->FirstChild;
        for (int i = 0; i < child; ++i) {
            node = node->fNextSibling;
        }
        return node;
    }

    std::vector<std::string> Selected()
    {
        std::vector<std::string> names;
        for (PDataNode node : Tree->GetSortedSelection(false)) {
            names.push_back(Name(node));
        }
        return names;
    }

    std::vector<PDataNode> Tops;
    std::vector<std::string> Events;
};

TEST_F(Selection, SingleSelectionMovesWithItsEventsAndTheFocus)
{
    Tree->SetSelected(Tops[0], true);
    Tree->SetSelected(Kid(1, 1), true);
    EXPECT_EQ(Selected(), std::vector<std::string>{"t1.1"});
    EXPECT_EQ(Events, (std::vector<std::string>{"+t0", "-t0", "+t1.1"}));
    EXPECT_EQ(Tree->FocusedNode(), Kid(1, 1));
    EXPECT_EQ(CheckInvariants(*Tree), "");

    Events.clear();
    Tree->SetSelected(Kid(1, 1), false);
    EXPECT_EQ(Events, std::vector<std::string>{"-t1.1"});
    EXPECT_EQ(Tree->SelectedCount(), 0);
}

TEST_F(Selection, DisabledNilAndRootAreIgnored)
{
    EXPECT_THROW(Tree->AddToSelection(nullptr, false), EAssertionFailed);
    Tree->SetDisabled(Kid(0, 0), true);
    Tree->SetSelected(Kid(0, 0), true);
    Tree->SetSelected(nullptr, true);
    Tree->SetSelected(Tree->RootNode(), true);
    EXPECT_EQ(Tree->SelectedCount(), 0);
    EXPECT_TRUE(Events.empty());
    Tree->SetSelectionLocked(true);
    Tree->SetSelected(Kid(0, 1), true);
    EXPECT_EQ(Tree->SelectedCount(), 0) << "a locked selection does not change";
}

TEST_F(Selection, LevelConstraintHoldsUntilTheSelectionIsEmpty)
{
    MultiSelect({toLevelSelectConstraint});
    Tree->SetSelected(Kid(0, 0), true);
    Tree->SetSelected(Tops[1], true);
    Tree->SetSelected(Kid(2, 2), true);
    EXPECT_EQ(Selected(), (std::vector<std::string>{"t0.0", "t2.2"})) << "another level is refused";
    Tree->ClearSelection();
    Tree->SetSelected(Tops[1], true);
    EXPECT_EQ(Selected(), std::vector<std::string>{"t1"}) << "the level is forgotten";
}

TEST_F(Selection, SiblingConstraintFollowsTheAnchor)
{
    MultiSelect({toSiblingSelectConstraint});
    Tree->SetSelected(Kid(1, 0), true);
    Tree->SetSelected(Kid(1, 2), true);
    Tree->SetSelected(Kid(2, 0), true);
    Tree->SetSelected(Tops[1], true);
    EXPECT_EQ(Selected(), (std::vector<std::string>{"t1.0", "t1.2"}));
}

TEST_F(Selection, RangesAreTheSameBothWays)
{
    MultiSelect();
    Tree->SelectNodes(Kid(0, 1), Kid(1, 1), false);
    const std::vector<std::string> down = Selected();
    EXPECT_EQ(down, (std::vector<std::string>{"t0.1", "t0.2", "t1", "t1.0", "t1.1"}));
    Tree->SelectNodes(Kid(1, 1), Kid(0, 1), false);
    EXPECT_EQ(Selected(), down);

    // Shift with the anchor below the clicked node.
    Tree->ClearSelection();
    Tree->HandleClickSelection(nullptr, Kid(1, 1), {}, false);
    Tree->HandleClickSelection(nullptr, Kid(0, 1), {plat::ssShift}, false);
    EXPECT_EQ(Selected(), down);
    // Ctrl toggles one node, Ctrl+Shift adds a range.
    Tree->HandleClickSelection(nullptr, Tops[1], {plat::ssCtrl}, false);
    EXPECT_EQ(Selected(), (std::vector<std::string>{"t0.1", "t0.2", "t1.0", "t1.1"}));
    Tree->HandleClickSelection(nullptr, Kid(2, 0), {plat::ssCtrl, plat::ssShift}, false);
    EXPECT_EQ(Selected(), (std::vector<std::string>{"t0.1", "t0.2", "t1", "t1.0", "t1.1", "t1.2", "t2", "t2.0"}));
    Tree->UnselectNodes(Kid(1, 0), Kid(2, 0));
    EXPECT_EQ(Selected(), (std::vector<std::string>{"t0.1", "t0.2", "t1"}));
    EXPECT_EQ(CheckInvariants(*Tree), "");
}

TEST_F(Selection, ToggleFlipsTheRangeAgainstTheAnchor)
{
    MultiSelect();
    Tree->SetSelected(Kid(0, 0), true);
    Tree->SetSelected(Kid(0, 2), true);
    Tree->FRangeAnchor = Kid(0, 0);
    Tree->ToggleSelection(Kid(0, 0), Tops[1]);
    EXPECT_EQ(Selected(), (std::vector<std::string>{"t0.0", "t0.1", "t1"})) << "the anchor end stays";
    EXPECT_EQ(CheckInvariants(*Tree), "");
}

TEST_F(Selection, InvertAndSelectAll)
{
    Tree->InvertSelection(false);
    EXPECT_EQ(Tree->SelectedCount(), 0) << "nothing without multi-selection";
    MultiSelect();
    Tree->SetSelected(Kid(0, 0), true);
    Tree->InvertSelection(false);
    EXPECT_EQ(Tree->SelectedCount(), 11);
    EXPECT_FALSE(Tree->GetSelected(Kid(0, 0)));
    Tree->SetExpanded(Tops[2], false);
    Tree->ClearSelection();
    Tree->SelectAll(true);
    EXPECT_EQ(Tree->SelectedCount(), 9) << "the collapsed node's children stay out";
    Tree->SelectAll(false);
    EXPECT_EQ(Tree->SelectedCount(), 12);
    EXPECT_EQ(CheckInvariants(*Tree), "");
}

TEST_F(Selection, ResolvedSelectionKeepsOnlyTheTopmost)
{
    MultiSelect();
    for (PDataNode node : {Tops[1], Kid(1, 0), Kid(1, 2), Kid(2, 1)}) {
        Tree->SetSelected(node, true);
    }
    const TNodeArray resolved = Tree->GetSortedSelection(true);
    EXPECT_EQ(resolved, (TNodeArray{Tops[1], Kid(2, 1)}));
    EXPECT_EQ(Tree->GetSortedSelection(false).size(), 4u);
}

TEST_F(Selection, DeletedNodesLeaveTheSelection)
{
    // No node is selected anew after the deletions.
    Tree->TreeOptions()->SetSelectionOptions(TDTSelectionOptions{toMultiSelect});
    for (PDataNode node : {Kid(0, 1), Tops[1], Kid(1, 2), Kid(2, 0)}) {
        Tree->SetSelected(node, true);
    }
    Events.clear();
    Tree->DeleteNode(Kid(0, 1));
    EXPECT_EQ(Events, std::vector<std::string>{"-t0.1"});
    EXPECT_EQ(Tree->SelectedCount(), 3);

    // Inside an update the entries are only marked; the end packs them.
    Tree->BeginUpdate();
    Tree->DeleteNode(Tops[1]);
    Tree->EndUpdate();
    EXPECT_EQ(Selected(), std::vector<std::string>{"t1.0"}) << "the third node is now the second";
    EXPECT_EQ(CheckInvariants(*Tree), "");

    Tree->DeleteChildren(Tops[2]);
    EXPECT_EQ(Tree->SelectedCount(), 0);
    EXPECT_EQ(CheckInvariants(*Tree), "");
}

TEST_F(Selection, TheNextNodeIsSelectedAfterADeletion)
{
    Tree->SetSelected(Kid(0, 1), true);
    Tree->DeleteNode(Kid(0, 1));
    EXPECT_EQ(Selected(), std::vector<std::string>{"t0.1"}) << "the former next sibling";
    Tree->TreeOptions()->SetSelectionOptions(TDTSelectionOptions{toAlwaysSelectNode});
    Tree->ClearSelection();
    Tree->BeginUpdate();
    Tree->EndUpdate();
    EXPECT_EQ(Tree->SelectedCount(), 1) << "always one node selected";
    Tree->SetExpanded(Tops[0], false);
    EXPECT_EQ(Selected(), std::vector<std::string>{"t0"}) << "the selection moves out of a collapsed node";
}

TEST_F(Selection, TheTemporaryCacheGrowsByTenths)
{
    std::vector<std::size_t> lengths{Tree->FTempNodeCache.size()};
    for (int i = 0; i < 121; ++i) {
        Tree->AddToTempCache(Tops[0]);
        if (Tree->FTempNodeCache.size() != lengths.back()) {
            lengths.push_back(Tree->FTempNodeCache.size());
        }
    }
    EXPECT_EQ(lengths, (std::vector<std::size_t>{0, 100, 110, 121}));
    Tree->ClearTempCache();
    EXPECT_TRUE(Tree->FTempNodeCache.empty());
}

// Random selection operations: the sorted store always equals the nodes
// that carry the flag.
TEST_F(Selection, RandomOperationsKeepTheStoreRight)
{
    MultiSelect();
    std::mt19937 engine(3);
    const auto anyNode = [&] {
        std::vector<PDataNode> nodes = AllNodes(*Tree);
        if (nodes.empty()) {
            nodes.push_back(Tree->AddChild(nullptr));
        }
        return nodes[engine() % nodes.size()];
    };
    const std::vector<std::function<void()>> steps = {
        [&] { Tree->SetSelected(anyNode(), engine() % 3 != 0); },
        [&] { Tree->SelectNodes(anyNode(), anyNode(), engine() % 2 == 0); },
        [&] { Tree->ToggleSelection(anyNode(), anyNode()); },
        [&] { Tree->UnselectNodes(anyNode(), anyNode()); },
        [&] { Tree->InvertSelection(engine() % 2 == 0); },
        [&] { Tree->AddChild(anyNode()); },
        [&] {
            if (AllNodes(*Tree).size() > 4) {
                Tree->DeleteNode(anyNode());
            }
        },
        [&] {
            Tree->BeginUpdate();
            Tree->SetSelected(anyNode(), true);
            if (AllNodes(*Tree).size() > 4) {
                Tree->DeleteNode(anyNode());
            }
            Tree->EndUpdate();
        },
        [&] { Tree->ToggleNode(anyNode()); },
    };
    for (int i = 0; i < 2000; ++i) {
        const std::size_t step = engine() % steps.size();
        steps[step]();
        ASSERT_EQ(CheckInvariants(*Tree), "") << "step " << i << ", operation " << step;
        const TNodeArray sorted = Tree->GetSortedSelection(false);
        ASSERT_EQ(static_cast<int>(sorted.size()), Tree->SelectedCount());
    }
}

class Focus : public Selection {
protected:
    Focus()
    {
        Tree->OnFocusChanged = [this](plat::TObject*, PDataNode node, TColumnIndex) { Focused.push_back(node); };
        Tree->AccessibleEvents.clear();
    }

    std::vector<PDataNode> Focused;
};

TEST_F(Focus, AChangeIsAnnouncedInOrder)
{
    Tree->SetFocusedNode(Kid(1, 0));
    EXPECT_EQ(Focused, std::vector<PDataNode>{Kid(1, 0)});
    EXPECT_EQ(Tree->AccessibleEvents, (std::vector<std::uint32_t>{0x800B, 0x800C, 0x800E, 0x800A, 0x8006, 0x8005}));
    Tree->AccessibleEvents.clear();
    Tree->SetFocusedNode(Kid(1, 0));
    EXPECT_EQ(Focused.size(), 1u) << "the same node again changes nothing";
    EXPECT_TRUE(Tree->AccessibleEvents.empty());
}

TEST_F(Focus, TheApplicationAndTheEditorCanRefuse)
{
    Tree->OnFocusChanging = [this](plat::TObject*, PDataNode, PDataNode newNode, TColumnIndex, TColumnIndex,
                                   bool& allowed) { allowed = newNode != Tops[2]; };
    Tree->SetFocusedNode(Tops[2]);
    EXPECT_EQ(Tree->FocusedNode(), nullptr);
    Tree->SetFocusedNode(Tops[1]);
    EXPECT_EQ(Tree->FocusedNode(), Tops[1]);

    Tree->DoStateChange({tsEditing});
    Tree->EditEnds = false;
    Tree->SetFocusedNode(Tops[0]);
    EXPECT_EQ(Tree->FocusedNode(), Tops[1]) << "an edit that cannot end keeps the focus";
    Tree->EditEnds = true;
    Tree->SetFocusedNode(Tops[0]);
    EXPECT_EQ(Tree->FocusedNode(), Tops[0]);
    EXPECT_EQ(Focused, (std::vector<PDataNode>{Tops[1], Tops[0]}));

    Tree->OnFocusChanging = nullptr;
    Tree->SetFocusedColumn(2);
    EXPECT_EQ(Tree->FocusedColumn(), NoColumn) << "no header column takes the focus";
    Tree->OnFocusChanging = +[](plat::TObject*, PDataNode, PDataNode, TColumnIndex, TColumnIndex, bool& allowed) {
        allowed = true;
    };
    Tree->SetFocusedColumn(2);
    EXPECT_EQ(Tree->FocusedColumn(), 2) << "unless the application allows it";
}

TEST_F(Focus, DeletingTheFocusedNodeMovesTheFocusAway)
{
    // Nothing is selected anew after the deletion.
    Tree->TreeOptions()->SetSelectionOptions({});
    Tree->SetFocusedNode(Kid(2, 2));
    Focused.clear();
    Tree->DeleteNode(Tops[2]);
    EXPECT_EQ(Tree->FocusedNode(), nullptr);
    EXPECT_EQ(Focused, std::vector<PDataNode>{nullptr});
}

TEST_F(Focus, AutoExpandOpensTheFocusedAndClosesItsSibling)
{
    Tree->TreeOptions()->SetAutoOptions(Tree->TreeOptions()->AutoOptions() + TDTAutoOptions{toAutoExpand});
    Tree->SetExpanded(Tops[1], false);
    Tree->SetFocusedNode(Tops[0]);
    Tree->SetFocusedNode(Tops[1]);
    EXPECT_TRUE(Tops[1]->States.Contains(vsExpanded));
    EXPECT_FALSE(Tops[0]->States.Contains(vsExpanded));
    EXPECT_EQ(CheckInvariants(*Tree), "");
}

} // namespace
} // namespace qel::tree_test
