// Node blocks and data areas of the data tree: sizes and offsets of the
// areas, the data size fixed by the first node, access to the user data,
// typed node records and their release, re-creation on a size change, and
// the block pool under them.
#include "tests/widgets/tree/tree_fixture.h"
#include "widgets/tree/node_store.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <string>

namespace qel::tree_test {
namespace {

std::ptrdiff_t Offset(const void* from, const void* to)
{
    return static_cast<const std::byte*>(to) - static_cast<const std::byte*>(from);
}

using NodeStorage = TreeTest;

TEST_F(NodeStorage, DataAreasLieAfterTheHeaderAndBlocksHoldThemAll)
{
    // The string tree reserved its 4-byte area (8 with rounding) at construction.
    EXPECT_EQ(Tree->TotalInternalDataSize(), 8u);
    EXPECT_EQ(Tree->InternalDataOffset(), 80u);
    Tree->SetNodeDataSize(48);
    const PDataNode node = Tree->AddChild(nullptr);
    EXPECT_EQ(Tree->NodeStore().BlockSize(), 80u + 48u + 8u);
    EXPECT_EQ(Offset(node, Tree->GetNodeData(node)), 80);
    const std::byte* internal = reinterpret_cast<std::byte*>(node) + Tree->NodeDataSize() + Tree->InternalDataOffset();
    EXPECT_EQ(Offset(node, internal), 128);
}

TEST_F(NodeStorage, InternalDataReservation)
{
    TTestTree tree(nullptr);
    const std::uint32_t before = tree.TotalInternalDataSize();
    const std::uint32_t offset = tree.AllocateInternalDataArea(4);
    EXPECT_EQ(offset, 80u + before);
    EXPECT_EQ(tree.TotalInternalDataSize(), before + 8);
    EXPECT_EQ(tree.AllocateInternalDataArea(0), 80u + before + 8) << "0 bytes: the current offset";
    EXPECT_EQ(tree.TotalInternalDataSize(), before + 8);
    // The root keeps its place in the tree after its block grew.
    EXPECT_EQ(TBaseDataTree::TreeFromNode(tree.RootNode()), &tree);

    tree.AddChild(nullptr);
    try {
        tree.AllocateInternalDataArea(4);
        FAIL() << "reserving after a node exists must fail";
    } catch (const EAssertionFailed& error) {
        EXPECT_STREQ(error.what(), "Internal data allocation must be done before any node is created.");
        EXPECT_EQ(error.SourceName(), "DataTrees.BaseTree");
    }
    EXPECT_EQ(tree.TotalInternalDataSize(), before + 8) << "nothing reserved";
}

TEST_F(NodeStorage, GetNodeDataCases)
{
    EXPECT_EQ(Tree->GetNodeData(nullptr), nullptr) << "nil without assertion, even while the size is unknown";
    // No OnGetNodeDataSize: the first node fixes the size to 8.
    EXPECT_EQ(Tree->NodeDataSize(), -1);
    const PDataNode node = Tree->AddChild(nullptr);
    EXPECT_EQ(Tree->NodeDataSize(), 8);
    EXPECT_EQ(Tree->GetNodeData(Tree->RootNode()), nullptr);
    EXPECT_FALSE(node->States.Contains(vsOnFreeNodeCallRequired));
    EXPECT_NE(Tree->GetNodeData(node), nullptr);
    EXPECT_TRUE(node->States.Contains(vsOnFreeNodeCallRequired)) << "an access marks the node for OnFreeNode";

    Tree->SetNodeDataSize(0);
    const PDataNode recreated = Tree->RootNode()->FirstChild;
    ASSERT_NE(recreated, nullptr);
    EXPECT_THROW(
        {
            try {
                Tree->GetNodeData(recreated);
            } catch (const EAssertionFailed& error) {
                EXPECT_STREQ(error.what(), "NodeDataSize not initialized.");
                throw;
            }
        },
        EAssertionFailed);
}

TEST_F(NodeStorage, OnGetNodeDataSizeAnswersForTheFirstNode)
{
    int asked = 0;
    Tree->OnGetNodeDataSize = [&asked](plat::TObject*, int& size) {
        EXPECT_EQ(size, 8) << "the handler starts from 8";
        ++asked;
        size = 24;
    };
    Tree->AddChild(nullptr);
    Tree->AddChild(nullptr);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(Tree->NodeDataSize(), 24);

    TTestTree negative(nullptr);
    negative.OnGetNodeDataSize = +[](plat::TObject*, int& size) { size = -40; };
    negative.AddChild(nullptr);
    EXPECT_EQ(negative.NodeDataSize(), 0) << "a negative answer means no user data";
}

TEST_F(NodeStorage, SetNodeDataNeedsRoomForAPointer)
{
    Tree->SetNodeDataSize(4);
    const PDataNode node = Tree->AddChild(nullptr);
    int value = 0;
    try {
        Tree->SetNodeData(node, &value);
        FAIL();
    } catch (const EAssertionFailed& error) {
        EXPECT_EQ(std::string(error.what()), "TDataStringTree: Cannot set initial user data because there is not enough "
                                             "user data space allocated.");
    }
    EXPECT_FALSE(node->States.Contains(vsOnFreeNodeCallRequired)) << "the write did not happen";
    Tree->SetNodeDataSize(8);
    const PDataNode roomy = Tree->RootNode()->FirstChild;
    Tree->SetNodeData(roomy, &value);
    EXPECT_EQ(*static_cast<int**>(Tree->GetNodeData(roomy)), &value);
    EXPECT_THROW(Tree->SetNodeData(Tree->RootNode(), &value), EAssertionFailed) << "the root has no user data";
}

TEST_F(NodeStorage, InsertNodeRefusesUserDataItCannotHoldWithoutLeavingANode)
{
    Tree->SetNodeDataSize(4);
    int structureChanges = 0;
    Tree->OnStructureChange = [&](plat::TObject*, PDataNode, TChangeReason) { ++structureChanges; };
    int value = 0;
    EXPECT_THROW(Tree->AddChild(nullptr, &value), EAssertionFailed);
    EXPECT_EQ(Tree->RootNodeCount(), 0u);
    EXPECT_EQ(Tree->NodeStore().BlocksInUse(), 0u);
    EXPECT_EQ(structureChanges, 0);
    EXPECT_EQ(CheckInvariants(*Tree), "");
}

TEST_F(NodeStorage, ChangingTheSizeRecreatesTheTopLevelNodes)
{
    // Without auto sort, whose end of update initialises the top level.
    Tree->TreeOptions()->SetAutoOptions(Tree->TreeOptions()->AutoOptions() - TDTAutoOptions{toAutoSort});
    Tree->SetNodeDataSize(16);
    for (int i = 0; i < 5; ++i) {
        Tree->ValidateNode(Tree->AddChild(nullptr), false);
    }
    const std::vector<PDataNode> old = Children(*Tree);
    std::vector<PDataNode> freed;
    Tree->OnFreeNode = [&freed](plat::TObject*, PDataNode node) { freed.push_back(node); };
    Tree->SetNodeDataSize(32);
    EXPECT_EQ(freed.size(), 5u);
    EXPECT_EQ(Tree->RootNodeCount(), 5u);
    for (PDataNode node : Children(*Tree)) {
        EXPECT_FALSE(node->States.Contains(vsInitialized));
    }
    EXPECT_EQ(Tree->NodeStore().BlockSize(), 80u + 32u + 8u);
    EXPECT_EQ(CheckInvariants(*Tree), "");
}

TEST_F(NodeStorage, ChangingTheSizeOfAReadOnlyTreeRecreatesItsNodesToo)
{
    Tree->SetNodeDataSize(8);
    Tree->SetRootNodeCount(3);
    Tree->TreeOptions()->SetMiscOptions(Tree->TreeOptions()->MiscOptions() + TDTMiscOptions{toReadOnly});
    Tree->SetNodeDataSize(64);
    EXPECT_EQ(Tree->RootNodeCount(), 3u);
    EXPECT_EQ(Tree->NodeStore().BlockSize(), 80u + 64u + 8u) << "no block is smaller than the new size";
    EXPECT_TRUE(Tree->TreeOptions()->MiscOptions().Contains(toReadOnly)) << "read-only again afterwards";
    EXPECT_EQ(Tree->AddChild(nullptr), nullptr);
}

TEST_F(NodeStorage, TreeFromNodeFindsTheOwner)
{
    TTestTree other(nullptr);
    const PDataNode child = Tree->AddChild(Tree->AddChild(nullptr));
    const PDataNode foreign = other.AddChild(nullptr);
    EXPECT_EQ(TBaseDataTree::TreeFromNode(child), Tree);
    EXPECT_EQ(TBaseDataTree::TreeFromNode(Tree->RootNode()), Tree);
    EXPECT_EQ(TBaseDataTree::TreeFromNode(foreign), &other);
    EXPECT_THROW(TBaseDataTree::TreeFromNode(nullptr), EAssertionFailed);
}

// ---- typed node records ----

struct TCountedRecord {
    static inline int Alive = 0;
    std::string Text = "fresh";
    std::int64_t Number = 7;
    TCountedRecord() { ++Alive; }
    ~TCountedRecord() { --Alive; }
};

// A node can hold a counted reference as its user data: the node keeps the
// object alive until it is freed, after OnFreeNode has seen it.
TEST_F(NodeStorage, CountedReferencesLiveAsLongAsTheirNodes)
{
    struct TCase {
        const char* name;
        std::function<PDataNode(const std::shared_ptr<std::string>&)> make;
    };
    const TCase cases[] = {
        {"AddChild", [&](const std::shared_ptr<std::string>& data) { return Tree->AddChild(nullptr, data); }},
        {"SetNodeData",
         [&](const std::shared_ptr<std::string>& data) {
             const PDataNode node = Tree->AddChild(nullptr);
             Tree->SetNodeData(node, data);
             return node;
         }},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        auto data = std::make_shared<std::string>("held");
        const std::weak_ptr<std::string> watch = data;
        const PDataNode node = c.make(data);
        data.reset();
        ASSERT_FALSE(watch.expired()) << "the node holds a reference";
        EXPECT_TRUE(node->States.Contains(vsReleaseCallOnUserDataRequired));
        EXPECT_TRUE(node->States.Contains(vsOnFreeNodeCallRequired));
        EXPECT_EQ(*Tree->GetInterfaceFromNodeData<std::string>(node), "held");
        bool seen = false;
        Tree->OnFreeNode = [&](plat::TObject*, PDataNode freed) {
            seen = freed == node && !watch.expired() && *Tree->GetInterfaceFromNodeData<std::string>(freed) == "held";
        };
        Tree->DeleteNode(node);
        EXPECT_TRUE(seen) << "OnFreeNode still sees it";
        EXPECT_TRUE(watch.expired()) << "released with the node";
        Tree->OnFreeNode = nullptr;
    }
    EXPECT_EQ(Tree->GetInterfaceFromNodeData<std::string>(nullptr), nullptr);
    EXPECT_EQ(Tree->GetInterfaceFromNodeData<std::string>(Tree->AddChild(nullptr)), nullptr) << "a node holding none";

    // Another value in the slot lets the first go; so do Clear and a read-only tree.
    auto first = std::make_shared<std::string>("first");
    const std::weak_ptr<std::string> firstWatch = first;
    const PDataNode node = Tree->AddChild(nullptr, std::move(first));
    Tree->SetNodeData(node, std::make_shared<std::string>("second"));
    EXPECT_TRUE(firstWatch.expired());
    Tree->SetNodeData(node, static_cast<void*>(nullptr));
    EXPECT_FALSE(node->States.Contains(vsReleaseCallOnUserDataRequired));
    auto kept = std::make_shared<std::string>("kept");
    const std::weak_ptr<std::string> keptWatch = kept;
    Tree->AddChild(nullptr, kept);
    kept.reset();
    Tree->Clear();
    EXPECT_TRUE(keptWatch.expired());
    Tree->TreeOptions()->SetMiscOptions(Tree->TreeOptions()->MiscOptions() + TDTMiscOptions{toReadOnly});
    auto refused = std::make_shared<std::string>("refused");
    EXPECT_EQ(Tree->AddChild(nullptr, refused), nullptr);
    EXPECT_EQ(refused.use_count(), 1) << "a read-only tree keeps no reference";
}

TEST_F(NodeStorage, TypedRecordsAreMadeOnFirstAccessAndDestroyedAfterOnFreeNode)
{
    TCountedRecord::Alive = 0;
    Tree->NodeDataType<TCountedRecord>();
    EXPECT_EQ(Tree->NodeDataSize(), static_cast<int>(sizeof(TCountedRecord)));
    const PDataNode touched = Tree->AddChild(nullptr);
    const PDataNode untouched = Tree->AddChild(nullptr);
    TCountedRecord* record = Tree->GetNodeData<TCountedRecord>(touched);
    EXPECT_EQ(record->Text, "fresh");
    record->Text = std::string(100, 'x');   // a heap-held text, released with the node
    EXPECT_EQ(Tree->GetNodeData<TCountedRecord>(touched), record) << "made once";
    EXPECT_EQ(TCountedRecord::Alive, 1);

    std::vector<std::string> seenOnFree;
    Tree->OnFreeNode = [&](plat::TObject*, PDataNode node) {
        if (node == touched) {
            seenOnFree.push_back(Tree->GetNodeData<TCountedRecord>(node)->Text);
        }
    };
    Tree->DeleteNode(touched);
    ASSERT_EQ(seenOnFree.size(), 1u);
    EXPECT_EQ(seenOnFree[0].size(), 100u) << "OnFreeNode still sees the record";
    EXPECT_EQ(TCountedRecord::Alive, 0);
    Tree->GetNodeData<TCountedRecord>(untouched);
    Tree->Clear();
    EXPECT_EQ(TCountedRecord::Alive, 0);
    EXPECT_THROW(Tree->GetNodeData<int>(Tree->AddChild(nullptr)), EAssertionFailed) << "another type";
}

TEST_F(NodeStorage, TypedRecordsRefusePointerSlotsAndGoWithTheTree)
{
    TCountedRecord::Alive = 0;
    {
        TTestTree tree(nullptr);
        tree.NodeDataType<TCountedRecord>();
        const PDataNode node = tree.AddChild(nullptr);
        int value = 0;
        EXPECT_THROW(tree.SetNodeData(node, &value), EAssertionFailed);
        EXPECT_THROW(tree.AddChild(nullptr, &value), EAssertionFailed);
        EXPECT_EQ(tree.RootNodeCount(), 1u);
        tree.GetNodeData<TCountedRecord>(node);
        tree.SetRootNodeCount(4);
        for (PDataNode each : Children(tree)) {
            tree.GetNodeData<TCountedRecord>(each);
        }
        EXPECT_EQ(TCountedRecord::Alive, 4);
        // A plain size drops the type: the records go with the old nodes.
        tree.SetNodeDataSize(8);
        EXPECT_EQ(TCountedRecord::Alive, 0);
        EXPECT_EQ(tree.RootNodeCount(), 4u);
        tree.NodeDataType<TCountedRecord>();
        tree.GetNodeData<TCountedRecord>(tree.RootNode()->FirstChild);
        EXPECT_EQ(TCountedRecord::Alive, 1);
    }
    EXPECT_EQ(TCountedRecord::Alive, 0) << "the tree's end frees every record";
}

// ---- the block pool ----

TEST(NodeStore, BlocksAreZeroedReusedAndReleasedWithTheLast)
{
    TNodeStore store;
    store.SetBlockSize(93);
    EXPECT_EQ(store.BlockSize(), 96u) << "rounded to 8";
    std::vector<void*> blocks;
    for (int i = 0; i < 1000; ++i) {
        auto* block = static_cast<unsigned char*>(store.Allocate());
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(block) % 8, 0u);
        for (std::size_t b = 0; b < store.BlockSize(); ++b) {
            ASSERT_EQ(block[b], 0);
        }
        std::fill(block, block + store.BlockSize(), 0xAB);
        blocks.push_back(block);
    }
    EXPECT_EQ(store.BlocksInUse(), 1000u);
    EXPECT_LE(store.ReservedBytes(), 2 * 1000 * store.BlockSize()) << "chunks grow, so at most one is half-empty";
    store.Free(blocks[10]);
    void* again = store.Allocate();
    EXPECT_EQ(again, blocks[10]) << "a freed block comes back first";
    EXPECT_EQ(static_cast<unsigned char*>(again)[0], 0) << "and zeroed";
    EXPECT_THROW(store.SetBlockSize(128), std::logic_error) << "not while blocks are in use";
    for (void* block : blocks) {
        store.Free(block);
    }
    EXPECT_EQ(store.BlocksInUse(), 0u);
    EXPECT_EQ(store.ReservedBytes(), 0u);
    store.SetBlockSize(128);
    EXPECT_EQ(store.BlockSize(), 128u);
}

} // namespace
} // namespace qel::tree_test
