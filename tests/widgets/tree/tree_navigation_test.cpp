// Walking the data tree: the first/next/previous family in tree order and
// with the children above their parent, the visible walks checked against
// a recount on random trees, the NoInit walks asking nothing, positions,
// enumerations and the subtree iteration.
#include "tests/widgets/tree/tree_fixture.h"

#include <algorithm>
#include <functional>
#include <random>
#include <string>

namespace qel::tree_test {
namespace {

void SetChildrenAbove(TBaseDataTree& tree, bool on)
{
    TDTPaintOptions options = tree.TreeOptions()->PaintOptions();
    if (on) {
        options.Include(toChildrenAbove);
    } else {
        options.Exclude(toChildrenAbove);
    }
    tree.TreeOptions()->SetPaintOptions(options);
}

// A          expanded
//   A1
//   A2       hidden
//     A2a
//   A3       filtered, expanded
//     A3a
// B          collapsed
//   B1
// C
class Navigation : public TreeTest {
protected:
    Navigation()
    {
        A = Tree->AddChild(nullptr);
        A1 = Tree->AddChild(A);
        A2 = Tree->AddChild(A);
        A2a = Tree->AddChild(A2);
        A3 = Tree->AddChild(A);
        A3a = Tree->AddChild(A3);
        B = Tree->AddChild(nullptr);
        B1 = Tree->AddChild(B);
        C = Tree->AddChild(nullptr);
        Tree->ValidateNode(nullptr, true);
        Tree->SetExpanded(A, true);
        Tree->SetExpanded(A2, true);
        Tree->SetExpanded(A3, true);
        Tree->SetVisible(A2, false);
        Tree->SetFiltered(A3, true);
    }

    PDataNode A, A1, A2, A2a, A3, A3a, B, B1, C;
};

struct TWalkCase {
    const char* name;
    std::function<PDataNode()> walk;
    PDataNode expected;
};

void RunCases(const std::vector<TWalkCase>& cases)
{
    for (const TWalkCase& each : cases) {
        EXPECT_EQ(each.walk(), each.expected) << each.name;
    }
}

TEST_F(Navigation, TreeOrderTable)
{
    TTestTree& t = *Tree;
    RunCases({
        {"GetFirst", [&] { return t.GetFirst(); }, A},
        {"GetNext into children", [&] { return t.GetNext(A); }, A1},
        {"GetNext over a hidden node's parent", [&] { return t.GetNext(A2a); }, A3},
        {"GetNext climbs", [&] { return t.GetNext(A3a); }, B},
        {"GetNext at the end", [&] { return t.GetNext(C); }, nullptr},
        {"GetPrevious to a deepest last", [&] { return t.GetPrevious(B); }, A3a},
        {"GetPrevious to the parent", [&] { return t.GetPrevious(A1); }, A},
        {"GetLast", [&] { return t.GetLast(); }, C},
        {"GetLast below a node", [&] { return t.GetLast(A); }, A3a},
        {"GetNextVisible skips hidden subtree", [&] { return t.GetNextVisible(A1, false); }, A3a},
        {"GetNextVisible skips collapsed children", [&] { return t.GetNextVisible(B, false); }, C},
        {"GetNextVisible from a hidden node", [&] { return t.GetNextVisible(A2a, false); }, A3a},
        {"GetNextVisible from a collapsed child", [&] { return t.GetNextVisible(B1, false); }, C},
        {"GetPreviousVisible skips the filtered node", [&] { return t.GetPreviousVisible(B, false); }, A3a},
        {"GetPreviousVisible from a hidden node", [&] { return t.GetPreviousVisible(A2a, false); }, A1},
        {"GetPreviousVisible from a collapsed child", [&] { return t.GetPreviousVisible(B1, false); }, B},
        {"GetFirstVisible", [&] { return t.GetFirstVisible(); }, A},
        {"GetLastVisible", [&] { return t.GetLastVisible(); }, C},
        {"GetLastVisible below A", [&] { return t.GetLastVisible(A, false, false); }, A3a},
        {"GetLastVisibleChild passes filtered and hidden", [&] { return t.GetLastVisibleChild(A, false); }, A1},
        {"GetNextVisibleSibling passes hidden", [&] { return t.GetNextVisibleSibling(A1, true); }, A3},
        {"GetPreviousVisibleSibling", [&] { return t.GetPreviousVisibleSibling(C); }, B},
        {"GetVisibleParent of a hidden branch", [&] { return t.GetVisibleParent(A2a); }, A},
        {"GetNodeParent of a top-level node", [&] { return t.GetNodeParent(A); }, nullptr},
        {"GetFirstLeaf", [&] { return t.GetFirstLeaf(); }, A1},
        {"GetNextLeaf", [&] { return t.GetNextLeaf(A1); }, A2a},
        {"GetPreviousLeaf from the end", [&] { return t.GetPreviousLeaf(nullptr); }, C},
        {"GetPreviousLeaf", [&] { return t.GetPreviousLeaf(B1); }, A3a},
        {"GetFirstLevel 1", [&] { return t.GetFirstLevel(1); }, A1},
        {"GetNextLevel from level 1", [&] { return t.GetNextLevel(A3, 1); }, B1},
        {"GetNextLevel from a shallower node", [&] { return t.GetNextLevel(A, 2); }, A2a},
        {"GetPreviousLevel from a deeper node", [&] { return t.GetPreviousLevel(A3a, 0); }, A},
        {"GetPreviousLevel through last children", [&] { return t.GetPreviousLevel(B1, 2); }, A3a},
        {"GetPreviousLevel on the level", [&] { return t.GetPreviousLevel(C, 0); }, B},
    });
    EXPECT_EQ(t.AbsoluteIndex(A), 0u);
    EXPECT_EQ(t.AbsoluteIndex(A1), 1u);
    EXPECT_EQ(t.AbsoluteIndex(B), 6u);
    EXPECT_EQ(t.GetNodeLevel(A), 0u);
    EXPECT_EQ(t.GetNodeLevel(A2a), 2u);
    EXPECT_TRUE(t.HasAsParent(A3a, A));
    EXPECT_TRUE(t.HasAsParent(A3a, t.RootNode()));
    EXPECT_FALSE(t.HasAsParent(A, A));
    EXPECT_FALSE(t.HasAsParent(A, A3a));
}

TEST_F(Navigation, ChildrenAboveTable)
{
    SetChildrenAbove(*Tree, true);
    TTestTree& t = *Tree;
    RunCases({
        {"GetFirst, deepest first", [&] { return t.GetFirst(true); }, A1},
        {"GetFirst without considering", [&] { return t.GetFirst(false); }, A},
        {"GetNext into the next sibling's depth", [&] { return t.GetNext(A1, true); }, A2a},
        {"GetNext to the parent", [&] { return t.GetNext(A3a, true); }, A3},
        {"GetNext after the last child", [&] { return t.GetNext(A3, true); }, A},
        {"GetNext at the end", [&] { return t.GetNext(C, true); }, nullptr},
        {"GetPrevious to the last child", [&] { return t.GetPrevious(A, true); }, A3},
        {"GetPrevious to a previous sibling", [&] { return t.GetPrevious(A1, true); }, nullptr},
        {"GetPrevious climbs", [&] { return t.GetPrevious(A2a, true); }, A1},
        {"GetLast is the last top-level node", [&] { return t.GetLast(nullptr, true); }, C},
        {"GetNextVisible from the filtered node's child", [&] { return t.GetNextVisible(A3a, true); }, A},
        {"GetNextVisible from a hidden node", [&] { return t.GetNextVisible(A2a, true); }, A3a},
        {"GetNextVisible from a collapsed child", [&] { return t.GetNextVisible(B1, true); }, B},
        {"GetPreviousVisible to the last visible child", [&] { return t.GetPreviousVisible(A, true); }, A3a},
        {"GetPreviousVisible from B", [&] { return t.GetPreviousVisible(B, true); }, A},
        {"GetFirstVisible", [&] { return t.GetFirstVisible(nullptr, true, false); }, A1},
        {"GetLastVisible", [&] { return t.GetLastVisible(nullptr, true, false); }, C},
    });
    EXPECT_LT(t.CompareNodePositions(A1, A, true), 0) << "a child comes first";
    EXPECT_GT(t.CompareNodePositions(A1, A, false), 0) << "a parent comes first";
    EXPECT_LT(t.CompareNodePositions(A3a, B1, true), 0);
    EXPECT_EQ(t.CompareNodePositions(B, B, true), 0);
}

TEST_F(Navigation, ThreeLevelsInChildrenAboveOrder)
{
    Tree->Clear();
    SetChildrenAbove(*Tree, true);
    const PDataNode a = Tree->AddChild(nullptr);
    const PDataNode b = Tree->AddChild(a);
    const PDataNode d = Tree->AddChild(b);
    std::vector<PDataNode> walk;
    for (PDataNode node = Tree->GetFirst(true); node != nullptr; node = Tree->GetNext(node, true)) {
        walk.push_back(node);
    }
    EXPECT_EQ(walk, (std::vector<PDataNode>{d, b, a}));
}

TEST_F(Navigation, BadArguments)
{
    const auto message = [](auto&& call) {
        try {
            call();
        } catch (const EAssertionFailed& e) {
            return std::string(e.what());
        }
        return std::string("no assertion");
    };
    const PDataNode root = Tree->RootNode();
    EXPECT_EQ(message([&] { Tree->GetNextSibling(root); }), "Node must not be the hidden root node.");
    EXPECT_EQ(message([&] { Tree->GetNext(root); }), "Node must not be the hidden root node.");
    EXPECT_EQ(message([&] { Tree->GetNextVisibleSibling(nullptr); }), "Invalid parameter.");
    EXPECT_EQ(message([&] { Tree->GetVisibleParent(nullptr); }), "Node must not be nil.");
    EXPECT_EQ(message([&] { Tree->CompareNodePositions(A, nullptr); }), "Nodes must never be nil.");
    EXPECT_EQ(Tree->GetNextSibling(nullptr), nullptr);
    EXPECT_EQ(Tree->GetNext(nullptr), nullptr);
    EXPECT_EQ(Tree->GetPreviousVisible(nullptr), nullptr);
}

TEST_F(Navigation, NoSelectionMeansNoWalk)
{
    // A stray flag without a selection count is not found: nothing walks.
    B->States.Include(vsSelected);
    EXPECT_EQ(Tree->GetFirstSelected(), nullptr);
    EXPECT_EQ(Tree->GetLastSelected(), nullptr);
    B->States.Exclude(vsSelected);
}

TEST_F(Navigation, IterateSubtreeVisitsInTreeOrderAndStopsOnAbort)
{
    std::vector<PDataNode> visited;
    const PDataNode none = Tree->IterateSubtree(
        nullptr, [&](TBaseDataTree*, PDataNode node, void*, bool&) { visited.push_back(node); }, nullptr);
    EXPECT_EQ(none, nullptr);
    EXPECT_EQ(visited, AllNodes(*Tree));

    int calls = 0;
    const PDataNode third = Tree->IterateSubtree(
        nullptr, [&](TBaseDataTree*, PDataNode, void*, bool& abort) { abort = ++calls == 3; }, nullptr);
    EXPECT_EQ(third, A2);

    visited.clear();
    Tree->IterateSubtree(
        A, [&](TBaseDataTree*, PDataNode node, void*, bool&) { visited.push_back(node); }, nullptr, {}, false,
        true);
    EXPECT_EQ(visited, (std::vector<PDataNode>{A1, A2, A2a, A3, A3a})) << "children only, not past A";

    visited.clear();
    Tree->IterateSubtree(
        nullptr, [&](TBaseDataTree*, PDataNode node, void*, bool&) { visited.push_back(node); }, nullptr,
        {vsExpanded, vsFiltered});
    EXPECT_EQ(visited, std::vector<PDataNode>{A3}) << "every state of the filter";

    EXPECT_THROW(Tree->IterateSubtree(
                     nullptr, [&](TBaseDataTree*, PDataNode, void*, bool&) { Tree->DeleteNode(C); }, nullptr),
                 EAssertionFailed);
    EXPECT_FALSE(Tree->TreeStates().Contains(tsIterating));
    EXPECT_EQ(Tree->RootNodeCount(), 3u) << "nothing deleted during the walk";
}

TEST_F(Navigation, EnumerationsFollowTheirWalks)
{
    const auto collect = [](TDTDataNodeEnumeration enumeration) {
        std::vector<PDataNode> nodes;
        for (PDataNode node : enumeration) {
            nodes.push_back(node);
        }
        return nodes;
    };
    EXPECT_EQ(collect(Tree->Nodes()), AllNodes(*Tree));
    EXPECT_EQ(collect(Tree->VisibleNodes()), (std::vector<PDataNode>{A, A1, A3a, B, C}));
    EXPECT_EQ(collect(Tree->VisibleNodes(A3, true, true)), (std::vector<PDataNode>{A3a, B, C}))
        << "from the first visible node below A3 on";
    EXPECT_EQ(collect(Tree->VisibleNoInitNodes()), (std::vector<PDataNode>{A, A1, A3a, B, C}));
    EXPECT_EQ(collect(Tree->ChildNodes(A)), (std::vector<PDataNode>{A1, A2, A3}));
    EXPECT_EQ(collect(Tree->VisibleChildNodes(A, true)), (std::vector<PDataNode>{A1, A3}));
    EXPECT_EQ(collect(Tree->VisibleChildNoInitNodes(A)), std::vector<PDataNode>{A1});
    EXPECT_EQ(collect(Tree->LevelNodes(1)), (std::vector<PDataNode>{A1, A2, A3, B1}));
    EXPECT_EQ(collect(Tree->LeafNodes()), (std::vector<PDataNode>{A1, A2a, A3a, B1, C}));
    EXPECT_EQ(collect(Tree->InitializedNodes()), AllNodes(*Tree));
    EXPECT_TRUE(collect(Tree->SelectedNodes()).empty());
    EXPECT_TRUE(collect(Tree->CutCopyNodes()).empty());

    Tree->SetCheckState(B1, csCheckedNormal);
    Tree->SetCheckState(A1, csCheckedNormal);
    EXPECT_EQ(collect(Tree->CheckedNodes()), (std::vector<PDataNode>{A1, B1}));
    EXPECT_EQ(Tree->CheckedCount(), 2u);
    EXPECT_EQ(Tree->GetPreviousChecked(nullptr), B1);

    TDTDataNodeEnumerator enumerator = Tree->Nodes().GetEnumerator();
    int steps = 0;
    while (enumerator.MoveNext()) {
        ++steps;
    }
    EXPECT_EQ(steps, 9);
    EXPECT_FALSE(enumerator.MoveNext()) << "an ended enumerator stays ended";
}

// A lazily filled tree: three top-level nodes, each with two children and
// each of those with two more, created and initialised only on demand.
class LazyNavigation : public TreeTest {
protected:
    LazyNavigation()
    {
        Tree->OnInitNode = [this](plat::TObject*, PDataNode, PDataNode node, TDataNodeInitStates& states) {
            ++Inits;
            if (Tree->GetNodeLevel(node) < 2) {
                states.Include(ivsHasChildren);
            }
        };
        Tree->OnInitChildren = [this](plat::TObject*, PDataNode, std::uint32_t& count) {
            ++ChildInits;
            count = 2;
        };
        // The automatic sort would initialise the top-level nodes at once.
        Tree->TreeOptions()->SetAutoOptions(Tree->TreeOptions()->AutoOptions() - TDTAutoOptions{toAutoSort});
        Tree->SetRootNodeCount(3);
    }

    int Inits = 0;
    int ChildInits = 0;
};

TEST_F(LazyNavigation, NoInitWalksAskNothing)
{
    const std::vector<std::function<PDataNode(PDataNode)>> noInit = {
        [&](PDataNode node) { return Tree->GetNextNoInit(node); },
        [&](PDataNode node) { return Tree->GetNextNoInit(node, true); },
        [&](PDataNode node) { return Tree->GetPreviousNoInit(node); },
        [&](PDataNode node) { return Tree->GetNextVisibleNoInit(node); },
        [&](PDataNode node) { return Tree->GetPreviousVisibleNoInit(node); },
        [&](PDataNode node) { return Tree->GetNextSiblingNoInit(node); },
        [&](PDataNode node) { return Tree->GetFirstChildNoInit(node); },
        [&](PDataNode node) { return Tree->GetLastNoInit(node); },
        [&](PDataNode) { return Tree->GetFirstVisibleNoInit(); },
        [&](PDataNode) { return Tree->GetLastVisibleNoInit(); },
        [&](PDataNode node) { return Tree->GetNextInitialized(node); },
    };
    for (std::size_t i = 0; i < noInit.size(); ++i) {
        for (PDataNode node = Tree->GetFirstNoInit(); node != nullptr; node = Tree->GetNextNoInit(node)) {
            noInit[i](node);
        }
        EXPECT_EQ(Inits + ChildInits, 0) << "walk " << i;
    }
    EXPECT_EQ(Tree->RootNode()->TotalCount, 4u) << "no children were created";
}

TEST_F(LazyNavigation, PlainWalksAskOnTheWay)
{
    const PDataNode first = Tree->GetFirst();
    EXPECT_EQ(Inits, 1);
    const PDataNode child = Tree->GetNext(first);
    EXPECT_EQ(ChildInits, 1) << "the children were asked for";
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(child->fParent, first);
    EXPECT_TRUE(child->States.Contains(vsInitialized));
    EXPECT_EQ(Inits, 2);

    int walked = 0;
    for (PDataNode node = Tree->GetFirst(); node != nullptr; node = Tree->GetNext(node)) {
        ++walked;
    }
    EXPECT_EQ(walked, 3 + 6 + 12);
    EXPECT_EQ(Inits, walked);
    EXPECT_EQ(Tree->AbsoluteIndex(Tree->GetLast()), 20u);
    EXPECT_EQ(CheckInvariants(*Tree), "");
}

// Random trees of hidden, filtered, collapsed and expanded nodes: every
// visible walk gives what a plain scan of the order finds.
class RandomWalks : public TreeTest {
protected:
    std::mt19937 Engine;

    bool Chance(unsigned oneIn) { return Engine() % oneIn == 0; }

    void Build()
    {
        Tree->Clear();
        std::vector<PDataNode> nodes;
        const unsigned count = 5 + Engine() % 60;
        for (unsigned i = 0; i < count; ++i) {
            PDataNode parent = nodes.empty() || Chance(4) ? nullptr : nodes[Engine() % nodes.size()];
            if (parent != nullptr && Tree->GetNodeLevel(parent) >= 3) {
                parent = parent->fParent;
            }
            nodes.push_back(Tree->AddChild(parent));
        }
        Tree->ValidateNode(nullptr, true);
        for (PDataNode node : nodes) {
            if (!Chance(3)) {
                Tree->SetExpanded(node, true);
            }
            if (Chance(6)) {
                Tree->SetVisible(node, false);
            }
            if (Chance(6)) {
                Tree->SetFiltered(node, true);
            }
        }
        ASSERT_EQ(CheckInvariants(*Tree), "");
    }

    // The next (step +1) or previous (-1) node of order after position i
    // that takes a row.
    PDataNode Scan(const std::vector<PDataNode>& order, int i, int step)
    {
        for (int j = i + step; j >= 0 && j < static_cast<int>(order.size()); j += step) {
            if (TakesRow(*Tree, order[j])) {
                return order[j];
            }
        }
        return nullptr;
    }

    void CheckWalks(bool childrenAbove)
    {
        SetChildrenAbove(*Tree, childrenAbove);
        const std::vector<PDataNode> order = childrenAbove ? AllNodesChildrenFirst(*Tree) : AllNodes(*Tree);
        for (int i = 0; i < static_cast<int>(order.size()); ++i) {
            const PDataNode node = order[i];
            ASSERT_EQ(Tree->GetNextVisible(node, true), Scan(order, i, 1)) << "next visible of " << i;
            ASSERT_EQ(Tree->GetNextVisibleNoInit(node, true), Scan(order, i, 1)) << "next visible " << i;
            ASSERT_EQ(Tree->GetPreviousVisible(node, true), Scan(order, i, -1)) << "previous visible " << i;
            ASSERT_EQ(Tree->GetPreviousVisibleNoInit(node, true), Scan(order, i, -1)) << "previous " << i;
            ASSERT_EQ(Tree->GetNext(node, true), i + 1 < static_cast<int>(order.size()) ? order[i + 1] : nullptr);
            ASSERT_EQ(Tree->GetPrevious(node, true), i > 0 ? order[i - 1] : nullptr);
            if (!childrenAbove) {
                ASSERT_EQ(Tree->AbsoluteIndex(node), static_cast<std::uint32_t>(i));
            }
            const int other = static_cast<int>(Engine() % order.size());
            const int compared = Tree->CompareNodePositions(node, order[other], true);
            ASSERT_EQ(compared < 0, i < other) << i << " against " << other;
            ASSERT_EQ(compared == 0, i == other);
        }
        ASSERT_EQ(Tree->GetFirstVisible(nullptr, true, false), Scan(order, -1, 1));
        ASSERT_EQ(Tree->GetLastVisible(nullptr, true, false), Scan(order, static_cast<int>(order.size()), -1));
        std::vector<PDataNode> rows;
        for (PDataNode node : Tree->VisibleNodes(nullptr, true, false)) {
            rows.push_back(node);
        }
        std::vector<PDataNode> expected;
        std::copy_if(order.begin(), order.end(), std::back_inserter(expected),
                     [&](PDataNode node) { return TakesRow(*Tree, node); });
        ASSERT_EQ(rows, expected);
        ASSERT_EQ(rows.size(), Tree->VisibleCount());
    }

    void CheckLevels()
    {
        const std::vector<PDataNode> order = AllNodes(*Tree);
        for (std::uint32_t level = 0; level < 4; ++level) {
            for (int i = 0; i < static_cast<int>(order.size()); ++i) {
                PDataNode next = nullptr;
                PDataNode previous = nullptr;
                for (int j = i + 1; j < static_cast<int>(order.size()) && next == nullptr; ++j) {
                    next = Tree->GetNodeLevel(order[j]) == level ? order[j] : nullptr;
                }
                for (int j = i - 1; j >= 0 && previous == nullptr; --j) {
                    previous = Tree->GetNodeLevel(order[j]) == level ? order[j] : nullptr;
                }
                ASSERT_EQ(Tree->GetNextLevel(order[i], level), next) << "level " << level << " after " << i;
                ASSERT_EQ(Tree->GetPreviousLevel(order[i], level), previous) << "level " << level << " before " << i;
            }
        }
    }
};

TEST_F(RandomWalks, VisibleWalksMatchAScanOfTheOrder)
{
    for (unsigned seed = 1; seed <= 60; ++seed) {
        SCOPED_TRACE(seed);
        Engine.seed(seed);
        Build();
        CheckWalks(false);
        CheckWalks(true);
        CheckLevels();
        if (HasFatalFailure()) {
            return;
        }
    }
}

} // namespace
} // namespace qel::tree_test
