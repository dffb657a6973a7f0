// Lazy initialisation of data tree nodes, counted by events: nodes are
// asked about only when something needs them, re-initialised and reset on
// request, and freed with OnFreeNode only when the application knows them.
#include "tests/widgets/tree/tree_fixture.h"

namespace qel::tree_test {
namespace {

class LazyInit : public TreeTest {
protected:
    LazyInit()
    {
        Tree->TreeOptions()->SetAutoOptions(Tree->TreeOptions()->AutoOptions() - TDTAutoOptions{toAutoSort});
        Tree->OnInitNode = [this](plat::TObject*, PDataNode parent, PDataNode node, TDataNodeInitStates& states) {
            Inits.push_back({node, parent, states});
            if (parent == nullptr || !TopLevelOnly) {
                states += Answer;
            }
        };
        Tree->OnInitChildren = [this](plat::TObject*, PDataNode, std::uint32_t& count) {
            ++InitChildrenCount;
            count = ChildrenAnswer;
        };
        Tree->OnResetNode = [this](plat::TObject*, PDataNode) { ++Resets; };
    }

    struct TInit {
        PDataNode Node;
        PDataNode Parent;
        TDataNodeInitStates States;
    };
    std::vector<TInit> Inits;
    TDataNodeInitStates Answer;
    bool TopLevelOnly = false;   // only top-level nodes get Answer
    std::uint32_t ChildrenAnswer = 2;
    int InitChildrenCount = 0;
    int Resets = 0;
};

TEST_F(LazyInit, NodesAreAskedAboutOnlyWhenNeeded)
{
    Answer = {ivsHasChildren};
    TopLevelOnly = true;
    const PDataNode a = Tree->AddChild(nullptr);
    const PDataNode b = Tree->AddChild(nullptr);
    Tree->SetRootNodeCount(5);
    EXPECT_TRUE(Inits.empty());
    EXPECT_EQ(InitChildrenCount, 0);

    Tree->ValidateNode(a, false);
    ASSERT_EQ(Inits.size(), 1u) << "that node alone";
    EXPECT_EQ(Inits[0].Node, a);
    EXPECT_EQ(Inits[0].Parent, nullptr) << "a top-level node's parent is given as nil";
    EXPECT_TRUE(Inits[0].States.Empty());
    EXPECT_EQ(InitChildrenCount, 0) << "its children wait";
    EXPECT_TRUE(a->States.Contains(vsHasChildren));

    Tree->ValidateNode(b, true);
    EXPECT_EQ(InitChildrenCount, 1) << "b's children; they have none of their own";
    EXPECT_EQ(Inits.size(), 1u + 1 + 2);
    EXPECT_EQ(Inits.back().Parent, b);
    EXPECT_EQ(CheckInvariants(*Tree), "");
}

TEST_F(LazyInit, ReinitAndReset)
{
    const PDataNode node = Tree->AddChild(nullptr);
    Tree->ReinitNode(node, false);
    EXPECT_TRUE(Inits.empty()) << "an uninitialised node is not re-initialised without force";
    Tree->ReinitNode(node, false, true);
    ASSERT_EQ(Inits.size(), 1u);
    EXPECT_FALSE(Inits[0].States.Contains(ivsReInit));
    Tree->ReinitNode(node, false);
    ASSERT_EQ(Inits.size(), 2u);
    EXPECT_TRUE(Inits[1].States.Contains(ivsReInit));

    Answer = {ivsHasChildren, ivsExpanded};
    Tree->ReinitNode(node, false);
    EXPECT_TRUE(node->States.Contains(vsExpanded)) << "re-initialised open: its children were asked for";
    EXPECT_EQ(node->fChildCount, 2u);
    Answer = {};
    Tree->ResetNode(node);
    EXPECT_EQ(Resets, 1);
    EXPECT_EQ(node->FirstChild, nullptr);
    for (TDataNodeState state : {vsInitialized, vsExpanded, vsHasChildren}) {
        EXPECT_FALSE(node->States.Contains(state)) << static_cast<int>(state);
    }
    Tree->ValidateNode(node, false);
    EXPECT_FALSE(Inits.back().States.Contains(ivsReInit)) << "after a reset the node is new again";
    EXPECT_EQ(CheckInvariants(*Tree), "");
}

TEST_F(LazyInit, InitRecursiveWalksLevels)
{
    Answer = {ivsHasChildren, ivsExpanded};
    ChildrenAnswer = 1;
    Tree->AddChild(nullptr);
    Tree->InitRecursive(nullptr, 3, true);
    // The top node opens (1 child), the child opens (1 child), the grandchild
    // opens too; the walk stops three levels down.
    EXPECT_EQ(Inits.size(), 3u);
    EXPECT_EQ(CheckInvariants(*Tree), "");
}

struct TRecord {
    static inline int Alive = 0;
    std::string Text;
    TRecord() { ++Alive; }
    ~TRecord() { --Alive; }
};

TEST_F(LazyInit, ClearFreesKnownNodesAndEveryRecord)
{
    Tree->NodeDataType<TRecord>();
    Tree->SetRootNodeCount(5);
    const std::vector<PDataNode> nodes = Children(*Tree);
    Tree->ValidateNode(nodes[0], false);
    Tree->ValidateNode(nodes[1], false);
    Tree->GetNodeData<TRecord>(nodes[2])->Text = std::string(64, 'r');
    Tree->GetNodeData<TRecord>(nodes[0]);
    std::vector<PDataNode> freed;
    Tree->OnFreeNode = [&freed](plat::TObject*, PDataNode node) { freed.push_back(node); };
    Tree->Clear();
    EXPECT_EQ(freed, (std::vector<PDataNode>{nodes[2], nodes[1], nodes[0]})) << "the last first";
    EXPECT_EQ(TRecord::Alive, 0);
}

TEST_F(LazyInit, FilteredNodesGiveUpTheirRowOnce)
{
    const PDataNode node = Tree->AddChild(nullptr);
    Tree->AddChild(nullptr);
    Answer = {ivsFiltered};
    Tree->ValidateNode(node, false);
    EXPECT_EQ(Tree->VisibleCount(), 1u);
    EXPECT_EQ(Tree->RootNode()->TotalHeight, 18 + 18);
    EXPECT_EQ(CheckInvariants(*Tree), "");
    // Reset keeps vsFiltered; the next initialisation must not take the row
    // away a second time.
    Tree->ResetNode(node);
    Tree->ValidateNode(node, false);
    EXPECT_EQ(Tree->VisibleCount(), 1u);
    EXPECT_EQ(Tree->RootNode()->TotalHeight, 18 + 18);
    EXPECT_EQ(CheckInvariants(*Tree), "");
}

} // namespace
} // namespace qel::tree_test
