// Sorting siblings by OnCompareNodes (stable, both directions, cancelled
// or failing comparisons), SortTree, and moving and copying nodes within a
// tree and between trees.
#include "tests/widgets/tree/tree_fixture.h"

#include "platform/streams.h"

#include <stdexcept>

namespace qel::tree_test {
namespace {

class TreeSortTransfer : public TreeTest {
protected:
    TreeSortTransfer()
    {
        Tree->TreeOptions()->SetAutoOptions(Tree->TreeOptions()->AutoOptions() - TDTAutoOptions{toAutoSort});
        Prepare(*Tree);
    }

    void Prepare(TTestTree& tree)
    {
        tree.SetNodeDataSize(8);
        tree.OnSaveNode = +[](plat::TObject* sender, PDataNode node, plat::TStream& stream) {
            stream.WriteBuffer(static_cast<TBaseDataTree*>(sender)->GetNodeData(node), 8);
        };
        tree.OnLoadNode = +[](plat::TObject* sender, PDataNode node, plat::TStream& stream) {
            stream.ReadBuffer(static_cast<TBaseDataTree*>(sender)->GetNodeData(node), 8);
        };
        tree.OnCompareNodes = +[](plat::TObject* sender, PDataNode a, PDataNode b, TColumnIndex, int& result) {
            auto* self = static_cast<TBaseDataTree*>(sender);
            const std::int64_t ka = Key(*self, a) / 10;
            const std::int64_t kb = Key(*self, b) / 10;
            result = ka < kb ? -1 : ka > kb ? 1 : 0;
        };
    }

    static std::int64_t Key(TBaseDataTree& tree, PDataNode node) { return *static_cast<std::int64_t*>(tree.GetNodeData(node)); }

    PDataNode Add(PDataNode parent, std::int64_t key, TTestTree* tree = nullptr)
    {
        TTestTree& target = tree != nullptr ? *tree : *Tree;
        const PDataNode node = target.AddChild(parent);
        *static_cast<std::int64_t*>(target.GetNodeData(node)) = key;
        return node;
    }

    std::vector<std::int64_t> Keys(PDataNode parent, TTestTree* tree = nullptr)
    {
        TTestTree& source = tree != nullptr ? *tree : *Tree;
        std::vector<std::int64_t> keys;
        for (PDataNode node : Children(source, parent)) {
            keys.push_back(Key(source, node));
        }
        return keys;
    }

    TTestTree* SecondTree()
    {
        auto* other = new TTestTree(Form);
        Prepare(*other);
        Others.push_back(other);
        return other;
    }

    void TearDown() override
    {
        for (TTestTree* other : Others) {
            DropHandlers(*other);
        }
        TreeTest::TearDown();
    }

    std::vector<TTestTree*> Others;
};

// Keys compare by their tens: 31 and 35 are equal, so their order tells
// whether the sort kept it.
TEST_F(TreeSortTransfer, SortingIsStableInBothDirections)
{
    struct TCase {
        std::vector<std::int64_t> keys;
        TSortDirection direction;
        std::vector<std::int64_t> sorted;
    };
    const std::vector<TCase> cases = {
        {{1, 2, 3}, sdAscending, {1, 2, 3}},                       // all equal: unchanged
        {{10, 20, 30}, sdDescending, {30, 20, 10}},                 // strictly ordered: reversed
        {{31, 12, 35, 11, 33, 2}, sdAscending, {2, 12, 11, 31, 35, 33}},
        {{31, 12, 35, 11, 33, 2}, sdDescending, {31, 35, 33, 12, 11, 2}},
        {{50, 40, 30, 20, 10, 0, 60}, sdAscending, {0, 10, 20, 30, 40, 50, 60}},
    };
    for (const TCase& each : cases) {
        Tree->Clear();
        for (std::int64_t key : each.keys) {
            Add(nullptr, key);
        }
        Tree->Sort(nullptr, 0, each.direction);
        EXPECT_EQ(Keys(nullptr), each.sorted);
        EXPECT_EQ(CheckInvariants(*Tree), "");
        EXPECT_EQ(Tree->RootNode()->fLastChild, Children(*Tree).back());
    }
}

TEST_F(TreeSortTransfer, ACancelledOrFailingSortKeepsTheRestOfTheOrder)
{
    for (std::int64_t key : {90, 80, 70, 60, 50, 40, 30, 20}) {
        Add(nullptr, key);
    }
    int comparisons = 0;
    const TDTCompareEvent compare = Tree->OnCompareNodes;
    Tree->OnCompareNodes = [&](plat::TObject* sender, PDataNode a, PDataNode b, TColumnIndex column, int& result) {
        if (++comparisons == 1) {
            Tree->CancelOperation();
        }
        compare(sender, a, b, column, result);
    };
    Tree->Sort(nullptr, 0, sdAscending);
    EXPECT_EQ(comparisons, 1);
    // Only the first pair was put in order.
    EXPECT_EQ(Keys(nullptr), (std::vector<std::int64_t>{80, 90, 70, 60, 50, 40, 30, 20}));
    EXPECT_EQ(CheckInvariants(*Tree), "");

    comparisons = 0;
    Tree->OnCompareNodes = [&](plat::TObject*, PDataNode, PDataNode, TColumnIndex, int&) {
        if (++comparisons == 3) {
            throw std::runtime_error("no comparison");
        }
    };
    EXPECT_THROW(Tree->Sort(nullptr, 0, sdAscending), std::runtime_error);
    EXPECT_EQ(comparisons, 3);
    EXPECT_EQ(Tree->RootNodeCount(), 8u);
    EXPECT_EQ(CheckInvariants(*Tree), "");
    EXPECT_EQ(Tree->OperationCount(), 0u);
}

TEST_F(TreeSortTransfer, SortTreeSortsInitialisedLevelsAndAnInvalidColumnSortsNothing)
{
    const PDataNode a = Add(nullptr, 20);
    Add(nullptr, 10);
    for (std::int64_t key : {3, 9, 1}) {
        Add(a, key * 10);
    }
    ShowForm();
    const int shown = Tree->Invalidations;
    Tree->SortTree(-2, sdAscending);
    EXPECT_EQ(Keys(nullptr), (std::vector<std::int64_t>{20, 10}));
    EXPECT_GT(Tree->Invalidations, shown);
    Tree->SortTree(0, sdAscending);
    EXPECT_EQ(Keys(nullptr), (std::vector<std::int64_t>{10, 20}));
    EXPECT_EQ(Keys(a), (std::vector<std::int64_t>{10, 30, 90}));

    // One child: its children exist afterwards and nothing else changes.
    const PDataNode lone = Add(nullptr, 5);
    Tree->SetChildCount(lone, 1);
    Tree->Sort(lone, 0, sdAscending);
    EXPECT_EQ(Tree->GetChildCount(lone), 1u);
    EXPECT_EQ(CheckInvariants(*Tree), "");
}

TEST_F(TreeSortTransfer, MovesWithinATreeKeepTheRecords)
{
    const PDataNode a = Add(nullptr, 1);
    const PDataNode b = Add(nullptr, 2);
    Add(a, 11);
    std::vector<TChangeReason> reasons;
    Tree->OnStructureChange = [&](plat::TObject*, PDataNode, TChangeReason reason) { reasons.push_back(reason); };
    int moved = 0;
    Tree->OnNodeMoved = [&](plat::TObject*, PDataNode node) {
        EXPECT_EQ(node, a);
        ++moved;
    };
    Tree->MoveTo(a, b, amAddChildLast, false);
    EXPECT_EQ(Children(*Tree, b), std::vector<PDataNode>{a});
    EXPECT_EQ(Key(*Tree, a), 1);
    EXPECT_EQ(moved, 1);
    EXPECT_EQ(CheckInvariants(*Tree), "");

    // Refused: nothing moves, the structure change still comes.
    Tree->OnNodeMoving = +[](plat::TObject*, PDataNode, PDataNode, bool& allowed) { allowed = false; };
    reasons.clear();
    Tree->MoveTo(a, PDataNode{nullptr}, amAddChildLast, false);
    EXPECT_EQ(a->fParent, b);
    EXPECT_NE(std::find(reasons.begin(), reasons.end(), crNodeMoved), reasons.end());
    Tree->OnNodeMoving = nullptr;

    // Below itself: error 2001 and nothing changed.
    try {
        Tree->MoveTo(b, a->FirstChild, amAddChildLast, false);
        ADD_FAILURE() << "no error";
    } catch (const EDataTreeError& error) {
        EXPECT_EQ(error.HelpContext(), 2001);
        EXPECT_STREQ(error.what(), "Target node cannot be a child node of the node to be moved.");
    }
    EXPECT_EQ(b->fParent, Tree->RootNode());
    EXPECT_EQ(CheckInvariants(*Tree), "");
}

TEST_F(TreeSortTransfer, ChildrenMovedOrCopiedInEachModeKeepOrReverseTheirOrder)
{
    // A move relinks the children one by one; a copy connects the nodes of
    // its stream in stream order, so first-child copies come out reversed.
    struct TCase {
        TDTNodeAttachMode mode;
        std::vector<std::int64_t> moved;
        std::vector<std::int64_t> copied;
    };
    const std::vector<TCase> cases = {
        {amAddChildFirst, {1, 2, 3, 99}, {3, 2, 1, 99}},
        {amAddChildLast, {99, 1, 2, 3}, {99, 1, 2, 3}},
    };
    for (const TCase& each : cases) {
        for (bool copy : {false, true}) {
            Tree->Clear();
            const PDataNode source = Add(nullptr, 0);
            for (std::int64_t key : {1, 2, 3}) {
                Add(source, key);
            }
            const PDataNode target = Add(nullptr, 50);
            Add(target, 99);
            if (copy) {
                Tree->CopyTo(source, target, each.mode, true);
            } else {
                Tree->MoveTo(source, target, each.mode, true);
            }
            EXPECT_EQ(Keys(target), copy ? each.copied : each.moved);
            EXPECT_EQ(Tree->GetChildCount(source), copy ? 3u : 0u);
            EXPECT_EQ(CheckInvariants(*Tree), "");
        }
    }
}

TEST_F(TreeSortTransfer, CopiesAndMovesToAnotherTreeTravelWithTheirData)
{
    TTestTree* other = SecondTree();
    const PDataNode a = Add(nullptr, 7);
    const PDataNode child = Add(a, 71);
    Add(child, 711);
    Add(a, 72);
    std::vector<PDataNode> copyingTargets;
    Tree->OnNodeCopying = [&](plat::TObject*, PDataNode, PDataNode target, bool&) { copyingTargets.push_back(target); };
    const PDataNode copy = Tree->CopyTo(a, other->RootNode(), amAddChildLast, false);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(TBaseDataTree::TreeFromNode(copy), other);
    EXPECT_EQ(copyingTargets, std::vector<PDataNode>{other->RootNode()});
    EXPECT_EQ(Key(*other, copy), 7);
    EXPECT_EQ(Keys(copy, other), (std::vector<std::int64_t>{71, 72}));
    EXPECT_EQ(other->TotalCount(), 4u);
    EXPECT_EQ(Tree->TotalCount(), 4u);

    // A refused copy is taken back and answers nil.
    Tree->OnNodeCopying = +[](plat::TObject*, PDataNode, PDataNode, bool& allowed) { allowed = false; };
    EXPECT_EQ(Tree->CopyTo(a, other, amAddChildLast, false), nullptr);
    EXPECT_EQ(other->RootNodeCount(), 1u);
    Tree->OnNodeCopying = nullptr;

    // Moving the children away leaves a without them.
    Tree->MoveTo(a, other->RootNode()->FirstChild, amAddChildFirst, true);
    EXPECT_EQ(Tree->GetChildCount(a), 0u);
    EXPECT_EQ(Keys(other->RootNode()->FirstChild, other), (std::vector<std::int64_t>{72, 71, 71, 72}));
    Tree->MoveTo(a, other, amAddChildLast, false);
    EXPECT_EQ(Tree->RootNodeCount(), 0u);
    EXPECT_EQ(Keys(nullptr, other), (std::vector<std::int64_t>{7, 7}));
    EXPECT_EQ(CheckInvariants(*Tree), "");
    EXPECT_EQ(CheckInvariants(*other), "");
}

TEST_F(TreeSortTransfer, AReadOnlyTargetTakesNothing)
{
    TTestTree* other = SecondTree();
    other->TreeOptions()->SetMiscOptions(other->TreeOptions()->MiscOptions() + TDTMiscOptions{toReadOnly});
    const PDataNode a = Add(nullptr, 7);
    EXPECT_EQ(Tree->CopyTo(a, other, amAddChildLast, false), nullptr);
    Tree->MoveTo(a, other, amAddChildLast, false);
    EXPECT_EQ(Tree->RootNodeCount(), 1u);
    EXPECT_EQ(other->RootNodeCount(), 0u);
}

} // namespace
} // namespace qel::tree_test
