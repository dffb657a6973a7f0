// Thousands of random structure operations on one data tree, drawn from a
// table, with random answers from the initialisation events; whenever no
// update is open, every aggregate and link must equal a recount from
// scratch.
#include "tests/widgets/tree/tree_fixture.h"

#include <functional>
#include <random>
#include <string>

namespace qel::tree_test {
namespace {

struct TRecord {
    static inline int Alive = 0;
    std::string Text;
    TRecord() { ++Alive; }
    ~TRecord() { --Alive; }
};

class TreeProperty : public TreeTest {
protected:
    TreeProperty()
    {
        TRecord::Alive = 0;
        Tree->NodeDataType<TRecord>();
        Tree->OnInitNode = [this](plat::TObject*, PDataNode, PDataNode, TDataNodeInitStates& states) {
            if (Chance(4)) {
                states.Include(ivsHasChildren);
            }
            if (Chance(3)) {
                states.Include(ivsExpanded);
            }
            if (Chance(8)) {
                states.Include(ivsFiltered);
            }
        };
        Tree->OnInitChildren = [this](plat::TObject*, PDataNode, std::uint32_t& count) {
            count = static_cast<std::uint32_t>(Random() % 4);
        };
    }

    std::uint32_t Random() { return static_cast<std::uint32_t>(Engine()); }
    bool Chance(std::uint32_t oneIn) { return Random() % oneIn == 0; }

    // A random node of the tree, now and then nil.
    PDataNode AnyNode()
    {
        const std::vector<PDataNode> nodes = AllNodes(*Tree);
        if (nodes.empty() || Chance(10)) {
            return nullptr;
        }
        return nodes[Random() % nodes.size()];
    }

    void Run(std::uint32_t seed, int steps)
    {
        Engine.seed(seed);
        int depth = 0;
        struct TOperation {
            const char* name;
            int weight;
            std::function<void()> run;
        };
        const std::vector<TOperation> operations = {
            {"AddChild", 8, [&] { Tree->AddChild(AnyNode()); }},
            {"InsertNode", 6,
             [&] {
                 static constexpr TDTNodeAttachMode modes[] = {amInsertBefore, amInsertAfter, amAddChildFirst,
                                                               amAddChildLast};
                 Tree->InsertNode(AnyNode(), modes[Random() % 4]);
             }},
            {"DeleteNode", 4, [&] { Tree->DeleteNode(AnyNode()); }},
            {"DeleteChildren", 1, [&] { Tree->DeleteChildren(AnyNode(), Chance(2)); }},
            {"SetChildCount", 4, [&] { Tree->SetChildCount(AnyNode(), Random() % 7); }},
            {"Clear", 1,
             [&] {
                 if (Chance(8)) {
                     Tree->Clear();
                 }
             }},
            {"ReinitNode", 3, [&] { Tree->ReinitNode(AnyNode(), Chance(2), Chance(3)); }},
            {"ResetNode", 2,
             [&] {
                 const PDataNode node = AnyNode();
                 if (node != nullptr || Chance(4)) {
                     Tree->ResetNode(node);
                 }
             }},
            {"ValidateNode", 3, [&] { Tree->ValidateNode(AnyNode(), Chance(3)); }},
            {"SetExpanded", 4,
             [&] {
                 const PDataNode node = AnyNode();
                 Tree->SetExpanded(node, !Tree->GetExpanded(node));
             }},
            {"touch record", 2,
             [&] {
                 if (const PDataNode node = AnyNode()) {
                     Tree->GetNodeData<TRecord>(node)->Text = std::string(Random() % 40, 't');
                 }
             }},
            {"show filtered", 1,
             [&] {
                 TDTPaintOptions paint = Tree->TreeOptions()->PaintOptions();
                 paint = paint.Contains(toShowFilteredNodes) ? paint - TDTPaintOptions{toShowFilteredNodes}
                                                             : paint + TDTPaintOptions{toShowFilteredNodes};
                 Tree->TreeOptions()->SetPaintOptions(paint);
             }},
            {"BeginUpdate", 3,
             [&] {
                 Tree->BeginUpdate();
                 ++depth;
             }},
            {"EndUpdate", 3,
             [&] {
                 if (depth > 0) {
                     Tree->EndUpdate();
                     --depth;
                 }
             }},
        };
        int totalWeight = 0;
        for (const TOperation& operation : operations) {
            totalWeight += operation.weight;
        }
        for (int step = 0; step < steps; ++step) {
            // Keep the tree small enough for a recount at every step.
            if (Tree->RootNode()->TotalCount > 300) {
                Tree->Clear();
            }
            int pick = static_cast<int>(Random() % static_cast<std::uint32_t>(totalWeight));
            const TOperation* chosen = &operations.front();
            for (const TOperation& operation : operations) {
                if (pick < operation.weight) {
                    chosen = &operation;
                    break;
                }
                pick -= operation.weight;
            }
            chosen->run();
            if (depth == 0) {
                const std::string fault = CheckInvariants(*Tree);
                ASSERT_EQ(fault, "") << "seed " << seed << ", step " << step << ", after " << chosen->name;
            }
        }
        while (depth-- > 0) {
            Tree->EndUpdate();
        }
        ASSERT_EQ(CheckInvariants(*Tree), "") << "seed " << seed << ", after the last EndUpdate";
    }

    std::mt19937 Engine;
};

TEST_F(TreeProperty, RandomOperationsKeepEveryInvariant)
{
    for (std::uint32_t seed : {1u, 2u, 3u}) {
        Run(seed, 2500);
        if (HasFatalFailure()) {
            return;
        }
    }
    Tree->Clear();
    EXPECT_EQ(TRecord::Alive, 0) << "every record released with its node";
    EXPECT_EQ(Tree->NodeStore().BlocksInUse(), 0u);
}

TEST_F(TreeProperty, RandomOperationsOnAVisibleTreeWithoutAutoSort)
{
    ShowForm();
    Tree->TreeOptions()->SetAutoOptions(Tree->TreeOptions()->AutoOptions() - TDTAutoOptions{toAutoSort});
    Run(7, 2500);
}

} // namespace
} // namespace qel::tree_test
