// Structure operations of the data tree: the cases the structure rules
// single out, attaching in every mode, deleting in any order, handlers
// that raise while nodes are freed, read-only refusals and calls from
// other threads.
#include "tests/widgets/tree/tree_fixture.h"

#include <functional>
#include <stdexcept>
#include <thread>

namespace qel::tree_test {
namespace {

class TreeStructure : public TreeTest {
protected:
    TreeStructure()
    {
        // Without auto sort nothing initialises nodes behind the test's back.
        Tree->TreeOptions()->SetAutoOptions(Tree->TreeOptions()->AutoOptions() - TDTAutoOptions{toAutoSort});
    }

    void MakeReadOnly()
    {
        Tree->TreeOptions()->SetMiscOptions(Tree->TreeOptions()->MiscOptions() + TDTMiscOptions{toReadOnly});
    }
};

struct TStructureCase {
    const char* name;
    std::function<void(TTestTree& tree)> run;
};

TEST_F(TreeStructure, CasesOfTheStructureRules)
{
    const std::vector<TStructureCase> cases = {
        {"AddChild(nil) on an empty tree",
         [](TTestTree& tree) {
             const PDataNode node = tree.AddChild(nullptr);
             EXPECT_EQ(node->fIndex, 0u);
             EXPECT_EQ(node->States, TDataNodeStates{vsVisible});
             EXPECT_EQ(tree.RootNodeCount(), 1u);
             EXPECT_EQ(tree.RootNode()->TotalCount, 2u);
         }},
        {"InsertNode(root, after) appends a top-level node",
         [](TTestTree& tree) {
             tree.SetRootNodeCount(2);
             const PDataNode node = tree.InsertNode(tree.RootNode(), amInsertAfter);
             EXPECT_EQ(tree.RootNode()->fLastChild, node);
             EXPECT_EQ(node->fIndex, 2u);
         }},
        {"inserting before the first child renumbers all, after the last sets the last child",
         [](TTestTree& tree) {
             tree.SetRootNodeCount(3);
             const PDataNode first = tree.RootNode()->FirstChild;
             const PDataNode before = tree.InsertNode(first, amInsertBefore);
             EXPECT_EQ(tree.RootNode()->FirstChild, before);
             std::uint32_t index = 0;
             for (PDataNode node : Children(tree)) {
                 EXPECT_EQ(node->fIndex, index++);
             }
             const PDataNode after = tree.InsertNode(tree.RootNode()->fLastChild, amInsertAfter);
             EXPECT_EQ(tree.RootNode()->fLastChild, after);
             EXPECT_EQ(after->fIndex, 4u);
         }},
        {"SetChildCount(node, 0) deletes the children and keeps vsHasChildren",
         [](TTestTree& tree) {
             const PDataNode node = tree.AddChild(nullptr);
             tree.SetChildCount(node, 3);
             tree.SetChildCount(node, 0);
             EXPECT_EQ(node->FirstChild, nullptr);
             EXPECT_TRUE(node->States.Contains(vsHasChildren));
         }},
        {"deleting the only child of an expanded node collapses it, not the root",
         [](TTestTree& tree) {
             const PDataNode node = tree.AddChild(nullptr);
             const PDataNode child = tree.AddChild(node);
             tree.SetExpanded(node, true);
             ASSERT_TRUE(node->States.Contains(vsExpanded));
             tree.DeleteNode(child);
             EXPECT_FALSE(node->States.Contains(vsHasChildren));
             EXPECT_FALSE(node->States.Contains(vsExpanded));
             tree.DeleteNode(node);
             EXPECT_TRUE(tree.RootNode()->States.Contains(vsExpanded));
         }},
        {"a tri-state child follows a checked parent, not a mixed one",
         [](TTestTree& tree) {
             const PDataNode checkedParent = tree.AddChild(nullptr);
             const PDataNode mixedParent = tree.AddChild(nullptr);
             checkedParent->CheckType = ctTriStateCheckBox;
             checkedParent->CheckState = csCheckedNormal;
             mixedParent->CheckType = ctTriStateCheckBox;
             mixedParent->CheckState = csMixedNormal;
             const PDataNode follower = tree.AddChild(checkedParent);
             const PDataNode keeper = tree.AddChild(mixedParent);
             follower->CheckType = keeper->CheckType = ctTriStateCheckBox;
             tree.ValidateNode(follower, false);
             tree.ValidateNode(keeper, false);
             EXPECT_EQ(follower->CheckState, csCheckedNormal);
             EXPECT_EQ(keeper->CheckState, csUncheckedNormal);
         }},
        {"OnInitChildren answering 0 removes vsHasChildren; no handler keeps it",
         [](TTestTree& tree) {
             const PDataNode node = tree.AddChild(nullptr);
             tree.SetHasChildren(node, true);
             EXPECT_EQ(tree.GetChildCount(node), 0u);
             EXPECT_TRUE(node->States.Contains(vsHasChildren));
             tree.OnInitChildren = +[](plat::TObject*, PDataNode, std::uint32_t& count) { count = 0; };
             EXPECT_EQ(tree.GetChildCount(node), 0u);
             EXPECT_FALSE(node->States.Contains(vsHasChildren));
         }},
        {"Clear on an empty tree does nothing, not even a structure change",
         [](TTestTree& tree) {
             int changes = 0;
             tree.OnStructureChange = [&changes](plat::TObject*, PDataNode, TChangeReason) { ++changes; };
             tree.Clear();
             EXPECT_EQ(changes, 0);
         }},
        {"ResetNode(nil) clears the tree",
         [](TTestTree& tree) {
             tree.SetRootNodeCount(4);
             tree.ResetNode(nullptr);
             EXPECT_TRUE(tree.IsEmpty());
         }},
    };
    for (const TStructureCase& c : cases) {
        SCOPED_TRACE(c.name);
        TTestTree tree(Form);
        tree.TreeOptions()->SetAutoOptions(tree.TreeOptions()->AutoOptions() - TDTAutoOptions{toAutoSort});
        c.run(tree);
        EXPECT_EQ(CheckInvariants(tree), "");
    }
}

TEST_F(TreeStructure, ClearOfAReadOnlyTreeWaitsForItsEnd)
{
    Tree->SetRootNodeCount(3);
    int freed = 0;
    Tree->OnFreeNode = [&freed](plat::TObject*, PDataNode) { ++freed; };
    Tree->OnInitNode = +[](plat::TObject*, PDataNode, PDataNode, TDataNodeInitStates&) {};
    Tree->ValidateNode(nullptr, true);
    MakeReadOnly();
    Tree->Clear();
    EXPECT_EQ(Tree->RootNodeCount(), 3u);
    delete Tree;
    Tree = nullptr;
    EXPECT_EQ(freed, 3) << "the tree's end clears it all the same";
}

// Clearing scrolls back to the origin; a deletion that moves the view
// repaints the whole window.
TEST_F(TreeStructure, ClearAndDeletionsThatMoveTheViewRepaintAll)
{
    ShowForm();
    Tree->SetBounds(0, 0, 150, 100);
    // No node is selected after a deletion, which would scroll to it.
    Tree->TreeOptions()->SetSelectionOptions(Tree->TreeOptions()->SelectionOptions() -
                                             TDTSelectionOptions{toSelectNextNodeOnRemoval});
    TDataTreeColumns& columns = Tree->Header()->Columns();
    columns.Add()->SetWidth(400);
    Tree->Header()->SetOptions(Tree->Header()->Options() + TDTHeaderOptions{hoVisible});
    Tree->SetRootNodeCount(20);
    Host.PumpUntilIdle();
    Tree->SetOffsetXY(plat::Point(-100, -200));
    ASSERT_EQ(Tree->OffsetXY(), plat::Point(-100, -200));

    // Deleting rows near the end pulls the view up.
    const PDataNode first = Tree->GetFirst();
    Tree->SetChildCount(first, 10);
    Tree->SetExpanded(first, true);
    Tree->SetOffsetY(0);
    int before = Tree->Invalidations;
    Tree->DeleteNode(first->fLastChild);
    EXPECT_EQ(Tree->Invalidations, before) << "the view stays: only the rows below";
    struct TCase {
        const char* name;
        std::function<void()> remove;
    };
    const TCase cases[] = {
        {"deleting a node", [&] { Tree->DeleteNode(first->fLastChild); }},
        {"deleting children", [&] { Tree->DeleteChildren(first, false); }},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        Tree->SetOffsetY(-10000);
        const int lowest = Tree->OffsetY();
        before = Tree->Invalidations;
        c.remove();
        ASSERT_GT(Tree->OffsetY(), lowest);
        EXPECT_GT(Tree->Invalidations, before);
    }

    Tree->Clear();
    EXPECT_EQ(Tree->OffsetXY(), plat::Point(0, 0));
    Tree->SetRootNodeCount(5);
    EXPECT_EQ(Tree->OffsetX(), 0) << "the new nodes start at the left";
}

TEST_F(TreeStructure, AttachModesAroundAMiddleNode)
{
    struct TCase {
        TDTNodeAttachMode mode;
        std::vector<int> topLevel;   // places of the three nodes made first (0..2), -1 the inserted one
        int childrenOfMiddle;
    };
    const std::vector<TCase> cases = {
        {amInsertBefore, {0, -1, 1, 2}, 2},
        {amInsertAfter, {0, 1, -1, 2}, 2},
        {amAddChildFirst, {0, 1, 2}, 3},
        {amAddChildLast, {0, 1, 2}, 3},
        {amNoWhere, {0, 1, 2}, 2},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.mode));
        TTestTree tree(Form);
        tree.SetRootNodeCount(3);
        const std::vector<PDataNode> firstNodes = Children(tree);
        tree.SetChildCount(firstNodes[1], 2);
        const PDataNode made = tree.InsertNode(firstNodes[1], c.mode);
        std::vector<PDataNode> expected;
        for (int position : c.topLevel) {
            expected.push_back(position < 0 ? made : firstNodes[static_cast<std::size_t>(position)]);
        }
        EXPECT_EQ(Children(tree), expected);
        EXPECT_EQ(Children(tree, firstNodes[1]).size(), static_cast<std::size_t>(c.childrenOfMiddle));
        if (c.mode == amAddChildFirst) {
            EXPECT_EQ(firstNodes[1]->FirstChild, made);
        } else if (c.mode == amAddChildLast) {
            EXPECT_EQ(firstNodes[1]->fLastChild, made);
        } else if (c.mode == amNoWhere) {
            EXPECT_EQ(made, nullptr);
        }
        EXPECT_EQ(CheckInvariants(tree), "");
    }
}

TEST_F(TreeStructure, StructureChangesNameTheirPlaceAndReason)
{
    std::vector<std::pair<PDataNode, TChangeReason>> changes;
    Tree->OnStructureChange = [&changes](plat::TObject*, PDataNode node, TChangeReason reason) {
        changes.emplace_back(node, reason);
    };
    const PDataNode top = Tree->AddChild(nullptr);
    const PDataNode sibling = Tree->InsertNode(top, amInsertAfter);
    const PDataNode child = Tree->AddChild(top);
    Tree->DeleteNode(child);
    Tree->DeleteNode(sibling);
    Tree->SetChildCount(top, 2);
    Tree->DeleteChildren(top);
    const std::vector<std::pair<PDataNode, TChangeReason>> expected = {
        {Tree->RootNode(), crChildAdded}, {sibling, crNodeAdded}, {top, crChildAdded}, {top, crChildDeleted},
        {nullptr, crChildDeleted},        {top, crChildAdded},    {top, crChildDeleted},
    };
    EXPECT_EQ(changes, expected);
}

TEST_F(TreeStructure, DeleteNodesTakesAnyOrderDuplicatesAndDescendants)
{
    Tree->SetRootNodeCount(4);
    const std::vector<PDataNode> top = Children(*Tree);
    Tree->SetChildCount(top[1], 3);
    const std::vector<PDataNode> below = Children(*Tree, top[1]);
    int freed = 0;
    Tree->OnFreeNode = [&freed](plat::TObject*, PDataNode) { ++freed; };
    Tree->ValidateNode(nullptr, true);
    // A child after its parent, the same node twice, the tree order reversed.
    Tree->DeleteNodes({top[3], below[2], top[1], below[0], top[3], nullptr, Tree->RootNode()});
    EXPECT_EQ(Children(*Tree), (std::vector<PDataNode>{top[0], top[2]}));
    EXPECT_EQ(freed, 5);
    EXPECT_EQ(CheckInvariants(*Tree), "");
    Tree->DeleteNodes({});
    EXPECT_EQ(Tree->RootNodeCount(), 2u);
}

TEST_F(TreeStructure, AnOnFreeNodeErrorComesAfterTheWholeDeletion)
{
    Tree->SetRootNodeCount(3);
    for (PDataNode node : Children(*Tree)) {
        Tree->SetChildCount(node, 2);
    }
    Tree->ValidateNode(nullptr, true);
    int freed = 0;
    Tree->OnFreeNode = [&freed](plat::TObject*, PDataNode) {
        ++freed;
        throw std::runtime_error("handler failed");
    };
    EXPECT_THROW(Tree->DeleteNode(Tree->RootNode()->FirstChild), std::runtime_error);
    EXPECT_EQ(freed, 3) << "the node and both children";
    EXPECT_EQ(Tree->RootNodeCount(), 2u);
    EXPECT_EQ(CheckInvariants(*Tree), "");
    EXPECT_THROW(Tree->Clear(), std::runtime_error);
    EXPECT_TRUE(Tree->IsEmpty());
    EXPECT_EQ(Tree->UpdateCount(), 0u);
    EXPECT_EQ(Tree->NodeStore().BlocksInUse(), 0u);
    EXPECT_EQ(CheckInvariants(*Tree), "");
}

TEST_F(TreeStructure, AFreedNodeIsForgottenEverywhere)
{
    // Nothing gets selected after the deletions, so the choice stays as
    // the deletions leave it.
    Tree->SetSelectionLocked(true);
    Tree->SetRootNodeCount(3);
    const std::vector<PDataNode> nodes = Children(*Tree);
    const auto references = [this] {
        return std::vector<PDataNode>{Tree->FLastSearchNode, Tree->FHeightTrackNode, Tree->FLastDragTarget,
                                      Tree->FHotNode};
    };
    const auto pointAll = [this](PDataNode node) {
        Tree->FLastSearchNode = Tree->FHeightTrackNode = Tree->FLastDragTarget = Tree->FHotNode = node;
    };
    pointAll(nodes[1]);
    Tree->FNextNodeToSelect = nodes[1];
    Tree->DeleteNode(nodes[1]);
    EXPECT_EQ(references(), std::vector<PDataNode>(4, nullptr));
    EXPECT_EQ(Tree->FNextNodeToSelect, nullptr) << "a deleted choice is dropped";

    // Freed with its parent's children: the choice moves on, never to a freed node.
    Tree->SetChildCount(nodes[0], 2);
    Tree->FNextNodeToSelect = nodes[0]->fLastChild;
    Tree->DeleteChildren(nodes[0]);
    EXPECT_EQ(Tree->FNextNodeToSelect, nodes[0]);

    pointAll(nodes[0]);
    Tree->Clear();
    EXPECT_EQ(references(), std::vector<PDataNode>(4, nullptr));
    EXPECT_EQ(Tree->FNextNodeToSelect, nullptr);
}

TEST_F(TreeStructure, APendingChangeOfAFreedNodeNamesNoNode)
{
    ShowForm();
    Tree->SetChangeDelay(100);
    const PDataNode node = Tree->AddChild(nullptr);
    std::vector<PDataNode> changed;
    Tree->OnChange = [&changed](plat::TObject*, PDataNode each) { changed.push_back(each); };
    Tree->Change(node);
    Tree->DeleteNode(node);
    Host.AdvanceClock(100);
    EXPECT_EQ(changed, std::vector<PDataNode>{nullptr});
}

TEST_F(TreeStructure, AReadOnlyTreeRefusesStructureChanges)
{
    Tree->SetRootNodeCount(2);
    const PDataNode first = Tree->RootNode()->FirstChild;
    Tree->SetChildCount(first, 2);
    MakeReadOnly();
    EXPECT_EQ(Tree->AddChild(nullptr), nullptr);
    Tree->DeleteNode(first);
    Tree->DeleteChildren(first);
    Tree->SetChildCount(first, 5);
    Tree->SetHasChildren(first, false);
    Tree->ResetNode(first);
    Tree->Clear();
    EXPECT_EQ(Tree->RootNodeCount(), 2u);
    EXPECT_EQ(first->fChildCount, 2u);
    EXPECT_TRUE(first->States.Contains(vsHasChildren));
    EXPECT_EQ(CheckInvariants(*Tree), "");
}

TEST_F(TreeStructure, CallsFromAnotherThreadFailAndChangeNothing)
{
    Tree->SetRootNodeCount(2);
    const PDataNode first = Tree->RootNode()->FirstChild;
    struct TCase {
        const char* name;
        std::function<void()> call;
        const char* message;
    };
    const char* changed = "UI controls may only be changed in UI thread.";
    const std::vector<TCase> cases = {
        {"SetChildCount", [&] { Tree->SetChildCount(nullptr, 7); }, changed},
        {"RootNodeCount", [&] { Tree->SetRootNodeCount(7); },
         "UI controls like TDataStringTree should only be manipulated through the main thread."},
        {"BeginUpdate", [&] { Tree->BeginUpdate(); },
         "UI controls like TDataStringTree should only be manipulated through the main thread."},
        {"AddChild", [&] { Tree->AddChild(first); }, changed},
        {"DeleteNode", [&] { Tree->DeleteNode(first); }, changed},
        {"DeleteChildren", [&] { Tree->DeleteChildren(nullptr, true); }, changed},
        {"Clear", [&] { Tree->Clear(); }, changed},
        {"TotalCount", [&] { Tree->TotalCount(); }, "UI controls may only be used in UI thread."},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::string message;
        std::thread worker([&] {
            try {
                c.call();
            } catch (const EAssertionFailed& error) {
                message = error.what();
            }
        });
        worker.join();
        EXPECT_EQ(message, c.message);
        EXPECT_EQ(Tree->RootNodeCount(), 2u);
        EXPECT_EQ(first->fChildCount, 0u);
        EXPECT_EQ(Tree->UpdateCount(), 0u);
        EXPECT_TRUE(Tree->RootNode()->States.Contains(vsHasChildren));
        EXPECT_EQ(CheckInvariants(*Tree), "");
    }
}

TEST_F(TreeStructure, CountsAndChildInitialisation)
{
    int initChildren = 0;
    Tree->OnInitNode = +[](plat::TObject*, PDataNode, PDataNode, TDataNodeInitStates& states) {
        states.Include(ivsHasChildren);
    };
    Tree->OnInitChildren = [&](plat::TObject*, PDataNode node, std::uint32_t& count) {
        ++initChildren;
        count = node->fParent == Tree->RootNode() ? 2 : 0;
    };
    Tree->SetRootNodeCount(3);
    EXPECT_EQ(Tree->TotalCount(), 9u) << "3 top-level nodes with 2 children each";
    EXPECT_EQ(initChildren, 9);
    EXPECT_EQ(Tree->UpdateCount(), 0u);
    EXPECT_TRUE(Tree->GetChildrenInitialized(Tree->RootNode()->FirstChild));
    EXPECT_EQ(Tree->GetChildCount(nullptr), 3u);
    EXPECT_EQ(CheckInvariants(*Tree), "");
}

} // namespace
} // namespace qel::tree_test
