// The tree stream: its bytes for the smallest trees, round trips through
// memory and files, the older bodies and chunk kinds a reader meets, what
// a loaded subtree gives its parent, the selection it brings, and streams
// from outside that are short, oversized, misnested or too deep.
#include "tests/widgets/tree/tree_fixture.h"

#include "platform/streams.h"
#include "widgets/tree/tree_byte_streams.h"

#include <cstring>
#include <filesystem>

namespace qel::tree_test {
namespace {

using TBytes = std::vector<std::uint8_t>;

TBytes StreamBytes(plat::TMemoryStream& stream)
{
    return TBytes(stream.Memory(), stream.Memory() + stream.Size());
}

void Put32(TBytes& bytes, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i) {
        bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

void Put16(TBytes& bytes, std::uint16_t value)
{
    bytes.push_back(static_cast<std::uint8_t>(value));
    bytes.push_back(static_cast<std::uint8_t>(value >> 8));
}

// The stream header of a version, with a count for versions 2 and up.
TBytes Header(std::uint16_t version, std::uint32_t count, std::uint16_t unit4 = 0x0020)
{
    TBytes bytes;
    for (std::uint16_t unit : {std::uint16_t{0x2045}, std::uint16_t{0x0044}, std::uint16_t{0x0054}, version, unit4,
                               std::uint16_t{0x2046}}) {
        Put16(bytes, unit);
    }
    if (version > 1) {
        Put32(bytes, count);
    }
    return bytes;
}

// The 19 bytes of a version-3 base body.
TBytes Body(std::uint32_t childCount, std::int32_t height, std::uint32_t states, std::uint8_t align = 50,
            std::uint8_t checkState = 0, std::uint8_t checkType = 0)
{
    TBytes body;
    Put32(body, childCount);
    Put32(body, static_cast<std::uint32_t>(height));
    Put32(body, states);
    body.push_back(align);
    body.push_back(checkState);
    body.push_back(checkType);
    Put32(body, 0);
    return body;
}

TBytes Chunk(std::int32_t type, const TBytes& content)
{
    TBytes bytes;
    Put32(bytes, static_cast<std::uint32_t>(type));
    Put32(bytes, static_cast<std::uint32_t>(content.size()));
    bytes.insert(bytes.end(), content.begin(), content.end());
    return bytes;
}

TBytes Concat(std::initializer_list<TBytes> parts)
{
    TBytes all;
    for (const TBytes& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

// A node: anchor around the base chunk (body then children) and extra chunks.
TBytes Node(const TBytes& body, const TBytes& children = {}, const TBytes& extra = {})
{
    return Chunk(1, Concat({Chunk(2, Concat({body, children})), extra}));
}

constexpr std::uint32_t Initialized = 1u << vsInitialized;
constexpr std::uint32_t Visible = 1u << vsVisible;
constexpr std::uint32_t Expanded = 1u << vsExpanded;
constexpr std::uint32_t HasChildren = 1u << vsHasChildren;
constexpr std::uint32_t Selected = 1u << vsSelected;

void Load(TBaseDataTree& tree, const TBytes& bytes, bool add = false, PDataNode target = nullptr)
{
    plat::TMemoryStream stream;
    stream.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    stream.SetPosition(0);
    if (add) {
        tree.AddFromStream(stream, target);
    } else {
        tree.LoadFromStream(stream);
    }
}

// The help context of the error a load raises; 0 when it raises none.
int LoadError(TBaseDataTree& tree, const TBytes& bytes, bool add = false, PDataNode target = nullptr)
{
    try {
        Load(tree, bytes, add, target);
    } catch (const EDataTreeError& error) {
        return error.HelpContext();
    }
    return 0;
}

// A plain tree without captions: the bytes are the base tree's alone.
class TreeStreamBytes : public ::testing::Test {
protected:
    TBytes Save(PDataNode node = nullptr)
    {
        plat::TMemoryStream stream;
        Tree.SaveToStream(stream, node);
        return StreamBytes(stream);
    }

    TBaseDataTree Tree{nullptr};
};

TEST_F(TreeStreamBytes, AnEmptyTreeIsTheHeaderAndACountOfZero)
{
    EXPECT_EQ(Save(), (TBytes{0x45, 0x20, 0x44, 0x00, 0x54, 0x00, 0x03, 0x00, 0x20, 0x00, 0x46, 0x20, 0, 0, 0, 0}));
}

TEST_F(TreeStreamBytes, ANodeTakesThirtyFiveBytesAndItsUserDataFollowsInAChunk)
{
    const PDataNode node = Tree.AddChild(nullptr);
    EXPECT_EQ(Save().size(), 16u + 35u);
    Tree.OnSaveNode = +[](plat::TObject*, PDataNode, plat::TStream& stream) {
        const std::uint32_t value = 0x04030201;
        stream.WriteBuffer(&value, 4);
    };
    const TBytes bytes = Save(node);
    ASSERT_EQ(bytes.size(), 16u + 47u);
    // The user chunk: type 4, size 4, the bytes.
    EXPECT_EQ(TBytes(bytes.end() - 12, bytes.end()), (TBytes{4, 0, 0, 0, 4, 0, 0, 0, 1, 2, 3, 4}));
}

TEST_F(TreeStreamBytes, ANodeIsWrittenWithoutTheStatesOfAChangeInProgress)
{
    const PDataNode node = Tree.AddChild(nullptr);
    Tree.ValidateNode(node, false);
    // Checking, cut or copy marks, deleting, the free call and a measured
    // height stay out of the stream; every other state is written.
    for (const TDataNodeState state : {vsToggling, vsAllChildrenHidden, vsHeightMeasured, vsCutOrCopy, vsChecking,
                                       vsDeleting, vsOnFreeNodeCallRequired}) {
        node->States.Include(state);
    }
    const std::uint32_t written = (1u << vsInitialized) | (1u << vsVisible) | (1u << vsToggling) |
                                  (1u << vsAllChildrenHidden);
    const TBytes expected = Concat({Header(3, 1), {0x01, 0, 0, 0, 0x1B, 0, 0, 0, 0x02, 0, 0, 0, 0x13, 0, 0, 0},
                                    Body(0, 18, written, 0x32)});
    EXPECT_EQ(expected.size(), 51u);
    EXPECT_EQ(Save(), expected);
}

TEST_F(TreeStreamBytes, AnUninitialisedNodeWithCreatedChildrenSaysItHasNone)
{
    // Children made without initialising their parent are not written, so
    // the count says 0: a count of 2 would take the next chunks for them.
    Tree.TreeOptions()->SetMiscOptions(Tree.TreeOptions()->MiscOptions() - TDTMiscOptions{toInitOnSave});
    const PDataNode parent = Tree.AddChild(nullptr);
    Tree.SetChildCount(parent, 2);
    Tree.AddChild(nullptr);
    parent->States.Exclude(vsInitialized);
    const TBytes bytes = Save();
    std::uint32_t childCount = 0;
    std::memcpy(&childCount, bytes.data() + 16 + 16, 4);
    EXPECT_EQ(childCount, 0u);

    TBaseDataTree copy(nullptr);
    Load(copy, bytes);
    EXPECT_EQ(copy.RootNodeCount(), 2u);
    EXPECT_TRUE(copy.RootNode()->FirstChild->States.Contains(vsHasChildren));
    EXPECT_EQ(CheckInvariants(copy), "");
}

// A string tree with a 64-bit key per node that the stream carries.
class TreeStream : public TreeTest {
protected:
    TreeStream()
    {
        Tree->SetNodeDataSize(8);
        Tree->OnSaveNode = [this](plat::TObject*, PDataNode node, plat::TStream& stream) {
            stream.WriteBuffer(&Key(node), 8);
        };
        Tree->OnLoadNode = [this](plat::TObject* sender, PDataNode node, plat::TStream& stream) {
            auto* tree = static_cast<TBaseDataTree*>(sender);
            stream.ReadBuffer(tree->GetNodeData(node), 8);
            ++Loaded;
        };
    }

    std::uint64_t& Key(PDataNode node, TBaseDataTree* tree = nullptr)
    {
        return *static_cast<std::uint64_t*>((tree != nullptr ? tree : Tree)->GetNodeData(node));
    }

    // Three top-level nodes, the second with two children and one grandchild.
    void Fill()
    {
        std::uint64_t next = 1;
        for (int i = 0; i < 3; ++i) {
            const PDataNode top = Tree->AddChild(nullptr);
            Key(top) = next++;
            if (i == 1) {
                for (int j = 0; j < 2; ++j) {
                    const PDataNode child = Tree->AddChild(top);
                    Key(child) = next++;
                    if (j == 0) {
                        Key(Tree->AddChild(child)) = next++;
                    }
                }
            }
        }
    }

    // Key, level, height, expanded, check state of every node in tree order.
    std::vector<std::string> Describe(TBaseDataTree& tree)
    {
        std::vector<std::string> lines;
        for (PDataNode node : AllNodes(tree)) {
            lines.push_back(std::to_string(Key(node, &tree)) + "/" + std::to_string(tree.GetNodeLevel(node)) + "/" +
                            std::to_string(node->fNodeHeight) + "/" + std::to_string(tree.GetExpanded(node)) + "/" +
                            std::to_string(node->CheckState) + "/" + std::to_string(node->CheckType));
        }
        return lines;
    }

    int Loaded = 0;
};

TEST_F(TreeStream, ATreeComesBackThroughAFileWithItsNodesStatesAndData)
{
    Fill();
    const PDataNode second = Tree->RootNode()->FirstChild->fNextSibling;
    Tree->SetExpanded(second, true);
    Tree->SetNodeHeight(second->FirstChild, 30);
    Tree->SetCheckType(second->fLastChild, ctCheckBox);
    Tree->SetCheckState(second->fLastChild, csCheckedNormal);
    Tree->SetDisabled(Tree->RootNode()->fLastChild, true);
    const std::string file = (std::filesystem::path(testing::TempDir()) / "tree_stream_round_trip.bin").string();
    Tree->SaveToFile(file);

    auto* copy = new TTestTree(Form);
    copy->SetNodeDataSize(8);
    copy->OnLoadNode = Tree->OnLoadNode;
    int copied = 0;
    copy->OnNodeCopied = [&](plat::TObject*, PDataNode node) {
        EXPECT_EQ(node, nullptr);
        ++copied;
    };
    copy->LoadFromFile(file);
    std::filesystem::remove(file);
    EXPECT_EQ(Describe(*copy), Describe(*Tree));
    EXPECT_EQ(copy->TotalCount(), Tree->TotalCount());
    EXPECT_TRUE(copy->GetDisabled(copy->RootNode()->fLastChild));
    EXPECT_EQ(copied, 1);
    EXPECT_EQ(CheckInvariants(*copy), "");
    DropHandlers(*copy);
}

TEST_F(TreeStream, TheCasesOfTheReader)
{
    struct TCase {
        const char* name;
        TBytes bytes;
        std::uint32_t topLevel;   // nodes after a load without error
        int error;                // help context, 0 for none
    };
    const TBytes leaf = Node(Body(0, 18, Initialized | Visible));
    const std::vector<TCase> cases = {
        {"a header whose fifth unit is not a space", Concat({Header(3, 1, 0x7777), leaf}), 1, 0},
        {"version 0", Concat({Header(0, 0), leaf}), 0, 2003},
        {"version 4", Concat({Header(4, 1), leaf}), 0, 2003},
        {"a wrong signature", [] {
             TBytes bytes = Header(3, 0);
             bytes[2] = 0x45;
             return bytes;
         }(), 0, 2002},
        {"a version-1 stream runs to its end",
         [] {
             // Version 1: 11-byte bodies, the states a byte (bit 7: selected).
             TBytes body;
             Put32(body, 0);
             Put32(body, 20);
             body.insert(body.end(), {0x01, 50, 0, 0});
             const TBytes node = Node(body);
             return Concat({Header(1, 0), node, node, node});
         }(), 3, 0},
        {"a chunk of an unknown type is skipped",
         Concat({Header(3, 1), Node(Body(0, 18, Initialized | Visible), {}, Chunk(77, TBytes(5, 0xEE)))}), 1, 0},
        {"a count the stream ends before", Concat({Header(3, 3), leaf, leaf}), 2, 2004},
        {"a short header", TBytes{0x45, 0x20, 0x44}, 0, 2004},
        {"a negative chunk size", Concat({Header(3, 1), {1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}}), 1, 2006},
        {"an anchor beyond the stream", Concat({Header(3, 1), {1, 0, 0, 0, 100, 0, 0, 0}}), 1, 2006},
        {"a chunk beyond its anchor",
         Concat({Header(3, 1), Chunk(1, Concat({Chunk(2, Body(0, 18, Visible)), {4, 0, 0, 0, 9, 0, 0, 0, 1}}))}), 1,
         2006},
        {"a child count above what the bytes can hold",
         Concat({Header(3, 1), Node(Body(1000, 18, Initialized | Visible))}), 1, 2004},
        {"a second base chunk",
         Concat({Header(3, 1), Chunk(1, Concat({Chunk(2, Body(0, 18, Visible)), Chunk(2, Body(0, 18, Visible))}))}), 1,
         2005},
        {"a node that is no anchor chunk", Concat({Header(3, 1), Chunk(2, Body(0, 18, Visible))}), 1, 2005},
        {"bytes left in a base chunk after its children",
         Concat({Header(3, 1), Node(Concat({Body(0, 18, Visible), {1, 2, 3}}))}), 1, 2006},
        {"a base chunk too short for its fields",
         Concat({Header(3, 1), Chunk(1, Chunk(2, TBytes(10, 0)))}), 1, 2004},
        {"a child inside its parent's anchor but outside its base chunk",
         Concat({Header(3, 1), Chunk(1, Concat({Chunk(2, Body(1, 18, Initialized | Visible)), leaf}))}), 1, 2004},
    };
    for (const TCase& each : cases) {
        SCOPED_TRACE(each.name);
        TBaseDataTree tree(nullptr);
        EXPECT_EQ(LoadError(tree, each.bytes), each.error);
        // A stream that fails takes back what it brought.
        EXPECT_EQ(tree.RootNodeCount(), each.error == 0 ? each.topLevel : 0u);
        EXPECT_EQ(CheckInvariants(tree), "");
    }
}

TEST_F(TreeStream, VersionTwoBodiesAreShortWhenTheirAlignByteIsSet)
{
    // Short: states in 16 bits, align at byte 10 (not 0), 17 bytes.
    TBytes shortBody;
    Put32(shortBody, 0);
    Put32(shortBody, 25);
    Put16(shortBody, static_cast<std::uint16_t>(Initialized | Visible));
    shortBody.insert(shortBody.end(), {70, 1, 2});
    Put32(shortBody, 0);
    ASSERT_EQ(shortBody.size(), 17u);
    // Long: the version-3 body, whose byte 10 is a zero high byte of the states.
    const TBytes longBody = Body(0, 33, Initialized | Visible, 40, 0, 3);
    TBaseDataTree tree(nullptr);
    Load(tree, Concat({Header(2, 2), Node(shortBody), Node(longBody)}));
    const PDataNode first = tree.RootNode()->FirstChild;
    const PDataNode second = first->fNextSibling;
    EXPECT_EQ(first->fNodeHeight, 25);
    EXPECT_EQ(first->Align, 70);
    EXPECT_EQ(first->CheckState, csUncheckedPressed);
    EXPECT_EQ(first->CheckType, ctCheckBox);
    EXPECT_EQ(second->fNodeHeight, 33);
    EXPECT_EQ(second->Align, 40);
    EXPECT_EQ(second->CheckType, ctRadioButton);
    EXPECT_EQ(CheckInvariants(tree), "");
}

// Every check state comes back, the disabled ones too; a value beyond them
// is unchecked.
TEST_F(TreeStream, CheckStatesComeBackWholeAndUnknownOnesUnchecked)
{
    TBytes stream = Header(3, 10);
    for (std::uint8_t state = 0; state <= 9; ++state) {
        const TBytes node = Node(Body(0, 18, Initialized | Visible, 50, state, 2));
        stream.insert(stream.end(), node.begin(), node.end());
    }
    TBaseDataTree tree(nullptr);
    Load(tree, stream);
    std::uint8_t expected = 0;
    for (PDataNode node : Children(tree)) {
        EXPECT_EQ(node->CheckState, expected <= csMixedDisabled ? static_cast<TCheckState>(expected) : csUncheckedNormal)
            << int{expected};
        ++expected;
    }
    EXPECT_EQ(expected, 10);
}

TEST_F(TreeStream, LoadedStatesAreTheLastingOnesAndHiddenChildrenAreWorkedOut)
{
    // The stream claims toggling and all children hidden for a parent whose
    // child is visible.
    const std::uint32_t claimed = Initialized | Visible | Expanded | HasChildren | (1u << vsToggling) |
                                  (1u << vsAllChildrenHidden) | (1u << vsDeleting) | (1u << vsChecking);
    TBaseDataTree tree(nullptr);
    Load(tree, Concat({Header(3, 1), Node(Body(1, 18, claimed), Node(Body(0, 18, Initialized | Visible)))}));
    const PDataNode parent = tree.RootNode()->FirstChild;
    EXPECT_EQ(parent->States, (TDataNodeStates{vsInitialized, vsVisible, vsExpanded, vsHasChildren}));
    EXPECT_EQ(tree.VisibleCount(), 2u);
    EXPECT_EQ(CheckInvariants(tree), "");
}

TEST_F(TreeStream, ANodeAddedBelowACollapsedParentLeavesItsHeight)
{
    TBaseDataTree tree(nullptr);
    const PDataNode collapsed = tree.AddChild(nullptr);
    tree.AddChild(collapsed);
    const PDataNode expanded = tree.AddChild(nullptr);
    tree.AddChild(expanded);
    tree.SetExpanded(expanded, true);
    const TBytes stream = Concat({Header(3, 1), Node(Body(0, 40, Initialized | Visible))});
    Load(tree, stream, true, collapsed);
    EXPECT_EQ(collapsed->TotalHeight, 18);
    Load(tree, stream, true, expanded);
    EXPECT_EQ(expanded->TotalHeight, 18 + 18 + 40);
    EXPECT_EQ(tree.VisibleCount(), 4u);
    EXPECT_EQ(CheckInvariants(tree), "");
}

TEST_F(TreeStream, SelectedNodesJoinAMultiSelectionAndLeaveASingleOne)
{
    const TBytes stream = Concat({Header(3, 2), Node(Body(0, 18, Initialized | Visible | Selected)),
                                  Node(Body(0, 18, Initialized | Visible | Selected))});
    TBaseDataTree single(nullptr);
    Load(single, stream);
    EXPECT_EQ(single.SelectedCount(), 0);
    EXPECT_FALSE(single.GetSelected(single.RootNode()->FirstChild));

    TBaseDataTree multi(nullptr);
    multi.TreeOptions()->SetSelectionOptions(multi.TreeOptions()->SelectionOptions() +
                                             TDTSelectionOptions{toMultiSelect});
    Load(multi, stream);
    EXPECT_EQ(multi.SelectedCount(), 2);
    EXPECT_TRUE(multi.GetSelected(multi.RootNode()->fLastChild));
}

TEST_F(TreeStream, AUserChunkReadOnlyInPartLeavesTheNextChunkWhole)
{
    Tree->OnLoadNode = +[](plat::TObject*, PDataNode, plat::TStream& stream) {
        std::uint8_t first = 0;
        stream.ReadBuffer(&first, 1);
    };
    TBytes user(8, 0xAB);
    const TBytes stream =
        Concat({Header(3, 2), Node(Body(0, 18, Initialized | Visible), {}, Chunk(4, user)), Node(Body(0, 22, Visible))});
    Load(*Tree, stream);
    ASSERT_EQ(Tree->RootNodeCount(), 2u);
    EXPECT_EQ(Tree->RootNode()->fLastChild->fNodeHeight, 22);
}

TEST_F(TreeStream, AReadOnlyTreeLoadsNothingAndKeepsItsNodes)
{
    Fill();
    Tree->TreeOptions()->SetMiscOptions(Tree->TreeOptions()->MiscOptions() + TDTMiscOptions{toReadOnly});
    Load(*Tree, Concat({Header(3, 0)}));
    EXPECT_EQ(Tree->RootNodeCount(), 3u);
}

TEST_F(TreeStream, NestingIsReadWithoutRecursionUpToItsLimit)
{
    // A chain of nodes, each the only child of the one before; a chain of
    // k nodes takes 35 k bytes.
    const auto chain = [](int depth) {
        TBytes bytes = Header(3, 1);
        for (int k = depth; k >= 1; --k) {
            Put32(bytes, 1);
            Put32(bytes, static_cast<std::uint32_t>(35 * k - 8));
            Put32(bytes, 2);
            Put32(bytes, static_cast<std::uint32_t>(35 * k - 16));
            const TBytes body = Body(k > 1 ? 1 : 0, 18, Initialized | Visible | (k > 1 ? HasChildren : 0));
            bytes.insert(bytes.end(), body.begin(), body.end());
        }
        return bytes;
    };
    TBaseDataTree tree(nullptr);
    Load(tree, chain(1000));
    EXPECT_EQ(tree.TotalCount(), 1000u);
    tree.Clear();
    EXPECT_EQ(LoadError(tree, chain(1001)), 2006);
    EXPECT_EQ(CheckInvariants(tree), "");
}

TEST_F(TreeStream, CaptionsTravelWithTheirNodesAndArriveThroughOnNewText)
{
    Tree->OnGetText = [this](plat::TObject*, PDataNode node, TColumnIndex, TDSTTextType, std::string& text) {
        text = "caption " + std::to_string(Key(node));
    };
    Fill();
    plat::TMemoryStream stream;
    Tree->SaveToStream(stream);

    auto* copy = new TTestTree(Form);
    copy->SetNodeDataSize(8);
    copy->OnLoadNode = Tree->OnLoadNode;
    std::vector<std::string> texts;
    copy->OnNewText = [&](plat::TObject*, PDataNode, TColumnIndex column, const std::string& text) {
        EXPECT_EQ(column, NoColumn);
        texts.push_back(text);
    };
    stream.SetPosition(0);
    copy->LoadFromStream(stream);
    // A caption follows its node's children.
    EXPECT_EQ(texts, (std::vector<std::string>{"caption 1", "caption 4", "caption 3", "caption 5", "caption 2",
                                               "caption 6"}));
    // A base tree skips the captions.
    TBaseDataTree base(nullptr);
    stream.SetPosition(0);
    base.LoadFromStream(stream);
    EXPECT_EQ(base.TotalCount(), 6u);
    DropHandlers(*copy);
}

// The tree's own byte streams: a write past the end fills the gap with
// zeros and grows beyond its first block; a read stops at the size; the
// read-only block refuses writes and neither stream seeks before its start.
TEST(TreeByteStreams, WritesFillGapsReadsStopAtTheSizeAndTheBlockIsReadOnly)
{
    TTreeWriteBuffer buffer;
    buffer.SetPosition(3);
    const std::uint8_t two[2] = {7, 8};
    buffer.WriteBuffer(two, 2);
    EXPECT_EQ(TBytes(buffer.Data(), buffer.Data() + buffer.Size()), (TBytes{0, 0, 0, 7, 8}));
    const TBytes large(10000, 0x5A);
    buffer.WriteBuffer(large.data(), static_cast<std::int64_t>(large.size()));
    EXPECT_EQ(buffer.Size(), 10005);
    EXPECT_EQ(buffer.Data()[3], 7);
    EXPECT_EQ(buffer.Data()[10004], 0x5A);
    buffer.SetSize(4);
    EXPECT_EQ(buffer.Position(), 4);
    buffer.SetPosition(2);
    std::uint8_t read[4] = {1, 1, 1, 1};
    EXPECT_EQ(buffer.Read(read, 4), 2);
    EXPECT_EQ(TBytes(read, read + 4), (TBytes{0, 7, 1, 1}));
    EXPECT_THROW(buffer.Seek(-5, plat::soEnd), plat::EStreamError);

    const std::uint8_t bytes[3] = {1, 2, 3};
    TTreeReadBlock block(bytes, 3);
    EXPECT_EQ(block.Seek(-1, plat::soEnd), 2);
    EXPECT_EQ(block.Read(read, 4), 1);
    EXPECT_EQ(read[0], 3);
    block.SetPosition(10);
    EXPECT_EQ(block.Read(read, 1), 0);
    EXPECT_THROW(block.Write(bytes, 1), plat::EStreamError);
    EXPECT_THROW(block.SetSize(1), plat::EStreamError);
    EXPECT_THROW(block.Seek(-1, plat::soBeginning), plat::EStreamError);
}

} // namespace
} // namespace qel::tree_test
