// The clipboard formats of the trees, the tree's data object (formats,
// queries, stored media, the tree reference, the enumerator), copy, cut,
// paste and flush through the clipboard, and ProcessOLEData with data
// from inside and outside.
#include "tests/widgets/tree/tree_fixture.h"

#include "platform/controls/clipboard.h"
#include "platform/streams.h"
#include "widgets/tree/dt_data_object.h"

#include <cstring>
#include <unistd.h>

namespace qel::tree_test {
namespace {

std::vector<std::string> Descriptions(plat::TClass treeClass)
{
    plat::TStringList list;
    TClipboardFormatList::EnumerateFormats(treeClass, list);
    std::vector<std::string> names;
    for (int i = 0; i < list.Count(); ++i) {
        names.push_back(list.Get(i));
    }
    return names;
}

TEST(TreeClipboardFormats, EachTreeClassRendersItsFormatsInPriorityOrder)
{
    TBaseDataTree base(nullptr);
    TDataStringTree strings(nullptr);
    EXPECT_EQ(Descriptions(TBaseDataTree::StaticClass()), std::vector<std::string>{"Data Tree Data"});
    EXPECT_EQ(Descriptions(TDataStringTree::StaticClass()),
              (std::vector<std::string>{"Data Tree Data", "HTML Format", "Rich Text Format Without Objects",
                                        "Rich Text Format", "CSV", "Unicode text", "Plain text"}));
    plat::CLIPFORMAT format = 0;
    EXPECT_EQ(TClipboardFormatList::FindFormat("csv", format), TCustomDataStringTree::StaticClass());
    EXPECT_EQ(format, TreeClipboardFormats().Csv);
    std::string description = "unchanged";
    EXPECT_EQ(TClipboardFormatList::FindFormat(plat::CLIPFORMAT{0xBEEF}, description), nullptr);
    EXPECT_EQ(description, "unchanged");
}

TEST(TreeClipboardFormats, ATreeListsOnlyWhatItsClassRenders)
{
    TBaseDataTree base(nullptr);
    TDataStringTree strings(nullptr);
    EXPECT_EQ(base.ClipboardFormats()->Add("HTML Format"), -1);
    EXPECT_EQ(base.ClipboardFormats()->Count(), 0);
    EXPECT_GE(strings.ClipboardFormats()->Add("html format"), 0);
    EXPECT_GE(strings.ClipboardFormats()->Add("HTML Format"), 0);
    ASSERT_EQ(strings.ClipboardFormats()->Count(), 1);
    EXPECT_EQ(strings.ClipboardFormats()->Get(0), "html format");
    EXPECT_EQ(strings.ClipboardFormats()->Add("No such format"), -1);

    // The tree's list filters the registry; the application adds its own.
    strings.ClipboardFormats()->Add("Unicode text");
    TFormatEtcArray formats;
    strings.OnGetUserClipboardFormats = +[](plat::TObject*, TFormatEtcArray& list) {
        list.push_back(plat::TFormatEtc{0xC999});
    };
    strings.GetNativeClipboardFormats(formats);
    ASSERT_EQ(formats.size(), 3u);
    EXPECT_EQ(formats[0].cfFormat, TreeClipboardFormats().Html);
    EXPECT_EQ(formats[1].cfFormat, plat::CF_UNICODETEXT);
    EXPECT_EQ(formats[2].cfFormat, 0xC999);
}

TEST(TreeClipboardFormats, RegistrationsByNumberAndOfEqualPriority)
{
    // A class no tree derives from keeps these entries to this test.
    const plat::TClass owner = plat::TStringList::StaticClass();
    const std::size_t before = TClipboardFormatList::Entries().size();
    RegisterTreeClipboardFormat(plat::CLIPFORMAT{0}, owner, 7);
    EXPECT_EQ(TClipboardFormatList::Entries().size(), before);
    RegisterTreeClipboardFormat(plat::CF_UNICODETEXT, owner, 7);
    RegisterTreeClipboardFormat("Test format", owner, 7);
    EXPECT_EQ(Descriptions(owner).size(), 2u);
    EXPECT_EQ(Descriptions(owner)[0] == "Unicode text" || Descriptions(owner)[1] == "Unicode text", true);
}

// Two string trees on a shown form with texts from their key.
class TreeClipboard : public TreeTest {
protected:
    TreeClipboard()
    {
        Prepare(*Tree);
        Other = new TTestTree(Form);
        Other->SetParent(Form);
        Prepare(*Other);
        ShowForm();
    }

    void TearDown() override
    {
        plat::OleSetClipboard(nullptr);
        DropHandlers(*Other);
        TreeTest::TearDown();
    }

    static void Prepare(TTestTree& tree)
    {
        tree.SetNodeDataSize(8);
        tree.TreeOptions()->SetSelectionOptions(tree.TreeOptions()->SelectionOptions() +
                                                TDTSelectionOptions{toMultiSelect});
        tree.TreeOptions()->SetAutoOptions(tree.TreeOptions()->AutoOptions() - TDTAutoOptions{toAutoSort});
        tree.ClipboardFormats()->Add("Data Tree Data");
        tree.ClipboardFormats()->Add("Unicode text");
        tree.OnSaveNode = +[](plat::TObject* sender, PDataNode node, plat::TStream& stream) {
            stream.WriteBuffer(static_cast<TBaseDataTree*>(sender)->GetNodeData(node), 8);
        };
        tree.OnLoadNode = +[](plat::TObject* sender, PDataNode node, plat::TStream& stream) {
            stream.ReadBuffer(static_cast<TBaseDataTree*>(sender)->GetNodeData(node), 8);
        };
        tree.OnGetText = +[](plat::TObject* sender, PDataNode node, TColumnIndex, TDSTTextType, std::string& text) {
            text = "n" + std::to_string(*static_cast<std::int64_t*>(static_cast<TBaseDataTree*>(sender)->GetNodeData(node)));
        };
    }

    static PDataNode Add(TTestTree& tree, PDataNode parent, std::int64_t key)
    {
        const PDataNode node = tree.AddChild(parent);
        *static_cast<std::int64_t*>(tree.GetNodeData(node)) = key;
        return node;
    }

    static std::vector<std::string> Texts(TTestTree& tree)
    {
        std::vector<std::string> texts;
        for (PDataNode node : AllNodes(tree)) {
            texts.push_back(std::string(tree.GetNodeLevel(node), ' ') + tree.GetText(node, NoColumn));
        }
        return texts;
    }

    // Three top-level nodes, the first with a child; two of them selected.
    void Fill()
    {
        const PDataNode first = Add(*Tree, nullptr, 1);
        Add(*Tree, first, 11);
        Add(*Tree, nullptr, 2);
        Add(*Tree, nullptr, 3);
        Tree->SetSelected(first, true);
        Tree->SetSelected(Tree->RootNode()->fLastChild, true);
    }

    std::shared_ptr<plat::IDataObject> ClipboardObject()
    {
        std::shared_ptr<plat::IDataObject> object;
        plat::OleGetClipboard(object);
        return object;
    }

    TTestTree* Other = nullptr;
};

TEST_F(TreeClipboard, CopyMarksTheSelectionAndACopyAfterItMarksOnlyItsOwn)
{
    Tree->CopyToClipboard();
    EXPECT_EQ(plat::CountClipboardFormats(), 0);
    EXPECT_FALSE(Tree->TreeStates().Contains(tsCopyPending));

    Fill();
    Tree->CopyToClipboard();
    EXPECT_TRUE(Tree->TreeStates().Contains(tsCopyPending));
    EXPECT_EQ(Tree->CutCopyCount(), 2u);
    EXPECT_EQ(plat::GetClipboardText(), "n1\r\nn3\r\n");
    EXPECT_EQ(TBaseDataTree::GetTreeFromDataObject(ClipboardObject()), Tree);

    Tree->ClearSelection();
    Tree->SetSelected(Tree->RootNode()->FirstChild->fNextSibling, true);
    Tree->CopyToClipboard();
    EXPECT_EQ(Tree->CutCopyCount(), 1u);
    EXPECT_TRUE(Tree->RootNode()->FirstChild->fNextSibling->States.Contains(vsCutOrCopy));
    EXPECT_FALSE(Tree->RootNode()->FirstChild->States.Contains(vsCutOrCopy));

    // Another program takes the clipboard: the marks go.
    plat::OleSetClipboard(nullptr);
    EXPECT_FALSE(Tree->TreeStates().Contains(tsCopyPending));
    EXPECT_EQ(Tree->CutCopyCount(), 0u);
}

TEST_F(TreeClipboard, PastingACopyAddsTheNodesAndPastingACutMovesThem)
{
    Fill();
    Tree->CopyToClipboard();
    EXPECT_TRUE(Other->PasteFromClipboard());
    EXPECT_EQ(Texts(*Other), (std::vector<std::string>{"n1", " n11", "n3"}));
    EXPECT_EQ(Tree->TotalCount(), 4u);

    Other->Clear();
    Tree->CutToClipboard();
    EXPECT_TRUE(Tree->TreeStates().Contains(tsCutPending));
    std::vector<PDataNode> moved;
    Tree->OnNodeMoved = [&](plat::TObject*, PDataNode node) { moved.push_back(node); };
    EXPECT_TRUE(Other->PasteFromClipboard());
    EXPECT_EQ(moved.size(), 2u);
    EXPECT_EQ(Texts(*Other), (std::vector<std::string>{"n1", " n11", "n3"}));
    EXPECT_EQ(Texts(*Tree), std::vector<std::string>{"n2"});
    EXPECT_FALSE(Tree->TreeStates().Contains(tsCutPending));
    EXPECT_EQ(CheckInvariants(*Tree), "");
    EXPECT_EQ(CheckInvariants(*Other), "");
}

// Clearing a tree ends its cut or copy and empties the clipboard, but only
// when the clipboard holds this tree's data.
TEST_F(TreeClipboard, ClearEndsACutOrCopyAndEmptiesOnlyTheTreesOwnClipboard)
{
    Fill();
    Tree->CopyToClipboard();
    ASSERT_EQ(TBaseDataTree::GetTreeFromDataObject(ClipboardObject()), Tree);
    Tree->Clear();
    EXPECT_EQ(plat::CountClipboardFormats(), 0);
    EXPECT_FALSE(Tree->TreeStates().Contains(tsCopyPending));

    Fill();
    Add(*Other, nullptr, 7);
    Other->SetSelected(Other->GetFirst(), true);
    Other->CopyToClipboard();
    Tree->DoStateChange({tsCutPending});
    Tree->Clear();
    EXPECT_EQ(TBaseDataTree::GetTreeFromDataObject(ClipboardObject()), Other) << "another tree's data stays";
    EXPECT_FALSE(Tree->TreeStates().Contains(tsCutPending));
    EXPECT_TRUE(Other->TreeStates().Contains(tsCopyPending));
}

// The clipboard messages reach the tree's own operations.
TEST_F(TreeClipboard, CutCopyAndPasteMessages)
{
    Fill();
    plat::SendMessage(Tree->Handle(), plat::WM_COPY, 0, 0);
    EXPECT_TRUE(Tree->TreeStates().Contains(tsCopyPending));
    EXPECT_EQ(Tree->CutCopyCount(), 2u);
    plat::SendMessage(Tree->Handle(), plat::WM_CUT, 0, 0);
    EXPECT_TRUE(Tree->TreeStates().Contains(tsCutPending));
    plat::SendMessage(Other->Handle(), plat::WM_PASTE, 0, 0);
    EXPECT_EQ(Texts(*Other), (std::vector<std::string>{"n1", " n11", "n3"}));
    EXPECT_EQ(Texts(*Tree), std::vector<std::string>{"n2"});
}

TEST_F(TreeClipboard, AFlushedClipboardKeepsTheDataButNotTheTree)
{
    Fill();
    Tree->CopyToClipboard();
    Tree->FlushClipboard();
    EXPECT_FALSE(Tree->TreeStates().Contains(tsCopyPending));
    EXPECT_FALSE(Tree->TreeStates().Contains(tsClipboardFlushing));
    EXPECT_EQ(TBaseDataTree::GetTreeFromDataObject(ClipboardObject()), nullptr);
    EXPECT_EQ(plat::GetClipboardText(), "n1\r\nn3\r\n");
    EXPECT_TRUE(Other->PasteFromClipboard());
    EXPECT_EQ(Texts(*Other), (std::vector<std::string>{"n1", " n11", "n3"}));
}

TEST_F(TreeClipboard, ADestroyedTreeLeavesAnObjectThatRendersNothing)
{
    auto* gone = new TTestTree(Form);
    Prepare(*gone);
    Add(*gone, nullptr, 5);
    gone->SetSelected(gone->RootNode()->FirstChild, true);
    gone->CopyToClipboard();
    std::shared_ptr<plat::IDataObject> object = ClipboardObject();
    DropHandlers(*gone);
    delete gone;
    plat::TStgMedium medium;
    EXPECT_EQ(object->GetData(plat::TFormatEtc{plat::CF_UNICODETEXT}, medium), plat::E_FAIL);
    EXPECT_EQ(TBaseDataTree::GetTreeFromDataObject(object), nullptr);
    EXPECT_FALSE(Other->PasteFromClipboard());
    // Replacing it runs its destructor without the tree.
    object.reset();
    plat::OleSetClipboard(nullptr);
}

TEST_F(TreeClipboard, TheDataObjectAnswersQueriesStoresMediaAndEnumerates)
{
    Tree->ClipboardFormats()->Clear();
    Tree->OnGetUserClipboardFormats = +[](plat::TObject*, TFormatEtcArray& list) {
        list.push_back(plat::TFormatEtc{0xC990});
        list.push_back(plat::TFormatEtc{0xC991, nullptr, plat::DVASPECT_CONTENT, 2});
        list.push_back(plat::TFormatEtc{0xC992, nullptr, plat::DVASPECT_CONTENT, -1, plat::TYMED_ISTREAM});
    };
    auto object = std::make_shared<TDTDataObject>(Tree, false);
    ASSERT_EQ(object->Formats().size(), 3u);
    EXPECT_EQ(object->QueryGetData(plat::TFormatEtc{0xC990}), plat::S_OK);
    EXPECT_EQ(object->QueryGetData(plat::TFormatEtc{0xC991}), plat::DV_E_LINDEX);
    EXPECT_EQ(object->QueryGetData(plat::TFormatEtc{0xC992}), plat::DV_E_TYMED);
    EXPECT_EQ(object->QueryGetData(plat::TFormatEtc{0xC993}), plat::DV_E_FORMATETC);
    plat::TFormatEtc canonical;
    EXPECT_EQ(object->GetCanonicalFormatEtc(plat::TFormatEtc{0xC990}, canonical), plat::DATA_S_SAMEFORMATETC);
    plat::TStgMedium here;
    EXPECT_EQ(object->GetDataHere(plat::TFormatEtc{0xC990}, here), plat::E_NOTIMPL);

    // The reference is answered though no format lists it.
    plat::TStgMedium reference;
    ASSERT_EQ(object->GetData(plat::TFormatEtc{TreeClipboardFormats().DTReference}, reference), plat::S_OK);
    ASSERT_EQ(plat::GlobalSize(reference.hGlobal), 16u);
    std::uint32_t process = 0;
    std::uint64_t address = 0;
    std::memcpy(&process, reference.hGlobal->Data(), 4);
    std::memcpy(&address, reference.hGlobal->Data() + 8, 8);
    EXPECT_EQ(process, static_cast<std::uint32_t>(getpid()));
    EXPECT_EQ(address, reinterpret_cast<std::uintptr_t>(Tree));

    // A block stored without release is copied and answered with the object as holder.
    plat::TStgMedium stored;
    stored.tymed = plat::TYMED_HGLOBAL;
    stored.hGlobal = plat::GlobalAlloc(plat::GHND, 3);
    stored.hGlobal->Bytes() = {7, 8, 9};
    const plat::TFormatEtc newFormat{0xC9A0};
    EXPECT_EQ(object->SetData(newFormat, stored, false), plat::S_OK);
    stored.hGlobal->Bytes()[0] = 0;
    plat::TStgMedium answered;
    ASSERT_EQ(object->GetData(newFormat, answered), plat::S_OK);
    EXPECT_EQ(answered.hGlobal->Bytes(), (std::vector<std::uint8_t>{7, 8, 9}));
    EXPECT_EQ(answered.unkForRelease.get(), static_cast<void*>(object.get()));

    std::shared_ptr<plat::IEnumFORMATETC> enumerator;
    ASSERT_EQ(object->EnumFormatEtc(plat::DATADIR_GET, enumerator), plat::S_OK);
    plat::TFormatEtc formats[4];
    unsigned fetched = 0;
    EXPECT_EQ(enumerator->Next(2, formats, &fetched), plat::S_OK);
    EXPECT_EQ(fetched, 2u);
    EXPECT_EQ(enumerator->Next(4, formats, &fetched), plat::S_FALSE);
    EXPECT_EQ(fetched, 2u);
    EXPECT_EQ(formats[1].cfFormat, 0xC9A0);
    enumerator->Reset();
    EXPECT_EQ(enumerator->Skip(4), plat::S_OK);
    EXPECT_EQ(enumerator->Skip(1), plat::S_FALSE);

    // Over three formats: two, then the one left; a skip past the end stays.
    auto three = std::make_shared<plat::TFormatEnumerator>(
        std::vector<plat::TFormatEtc>{plat::TFormatEtc{0xC990}, plat::TFormatEtc{0xC991}, plat::TFormatEtc{0xC992}});
    EXPECT_EQ(three->Next(2, formats, &fetched), plat::S_OK);
    EXPECT_EQ(fetched, 2u);
    EXPECT_EQ(three->Next(2, formats, &fetched), plat::S_FALSE);
    EXPECT_EQ(fetched, 1u);
    EXPECT_EQ(formats[0].cfFormat, 0xC992);
    three->Reset();
    EXPECT_EQ(three->Skip(3), plat::S_OK);
    three->Reset();
    EXPECT_EQ(three->Skip(4), plat::S_FALSE);
    EXPECT_EQ(three->Next(1, formats, &fetched), plat::S_OK);
    EXPECT_EQ(formats[0].cfFormat, 0xC990);
    std::shared_ptr<plat::IEnumFORMATETC> none;
    EXPECT_EQ(object->EnumFormatEtc(plat::DATADIR_SET, none), plat::OLE_S_USEREG);
    EXPECT_EQ(none, nullptr);
    EXPECT_EQ(object->DUnadvise(1), plat::E_NOTIMPL);
}

TEST_F(TreeClipboard, TreeDataComesAsAStreamWhenOneIsAskedForElseAsACountedBlock)
{
    Fill();
    auto object = std::make_shared<TDTDataObject>(Tree, false);
    const plat::CLIPFORMAT data = TreeClipboardFormats().DTData;
    plat::TStgMedium block;
    ASSERT_EQ(object->GetData(plat::TFormatEtc{data, nullptr, 1, -1, plat::TYMED_HGLOBAL}, block), plat::S_OK);
    EXPECT_EQ(block.tymed, plat::TYMED_HGLOBAL);
    std::int32_t count = 0;
    std::memcpy(&count, block.hGlobal->Data(), 4);
    EXPECT_EQ(static_cast<std::size_t>(count) + 4, plat::GlobalSize(block.hGlobal));
    // Both media asked for: the stream, positioned at its start.
    plat::TStgMedium both;
    ASSERT_EQ(object->GetData(plat::TFormatEtc{data, nullptr, 1, -1, plat::TYMED_HGLOBAL | plat::TYMED_ISTREAM}, both),
              plat::S_OK);
    EXPECT_EQ(both.tymed, plat::TYMED_ISTREAM);
    ASSERT_NE(both.stream, nullptr);
    EXPECT_EQ(both.stream->Size(), count);
    EXPECT_EQ(both.stream->Position(), 0);
    std::vector<std::uint8_t> streamed(static_cast<std::size_t>(count));
    both.stream->ReadBuffer(streamed.data(), count);
    EXPECT_EQ(streamed, std::vector<std::uint8_t>(block.hGlobal->Data() + 4, block.hGlobal->Data() + 4 + count));
    // The format is offered as a block: a stream alone is not offered.
    plat::TStgMedium stream;
    EXPECT_EQ(object->GetData(plat::TFormatEtc{data, nullptr, 1, -1, plat::TYMED_ISTREAM}, stream), plat::DV_E_TYMED);
    // Nothing selected: nothing to render.
    Tree->ClearSelection();
    plat::TStgMedium empty;
    EXPECT_EQ(object->GetData(plat::TFormatEtc{data}, empty), plat::E_FAIL);
}

TEST_F(TreeClipboard, OtherProgramsAreOfferedTheTextAndTheNodesButNotTheTreesAddress)
{
    Tree->ClipboardFormats()->Add("HTML Format");
    Fill();
    Tree->CopyToClipboard();
    const plat::CLIPFORMAT data = TreeClipboardFormats().DTData;
    const std::vector<std::uint16_t> offered = Host.OfferedFormats();
    EXPECT_EQ(offered,
              (std::vector<std::uint16_t>{data, TreeClipboardFormats().Html, plat::CF_UNICODETEXT, plat::CF_TEXT}));
    const plat::HGLOBAL nodes = plat::RenderClipboardForHost(data);
    ASSERT_NE(nodes, nullptr) << "the node data, for another program of the suite";
    std::int32_t count = 0;
    std::memcpy(&count, nodes->Data(), 4);
    EXPECT_EQ(static_cast<std::size_t>(count) + 4, nodes->Size()) << "the block's count and the nodes";
    EXPECT_EQ(plat::RenderClipboardForHost(TreeClipboardFormats().DTReference), nullptr);
    ASSERT_NE(plat::RenderClipboardForHost(plat::CF_UNICODETEXT), nullptr);
    // HTML goes out as the document inside the envelope.
    const plat::HGLOBAL html = plat::RenderClipboardForHost(TreeClipboardFormats().Html);
    ASSERT_NE(html, nullptr);
    const std::string document(html->Bytes().begin(), html->Bytes().end());
    EXPECT_EQ(document.rfind("<!DOCTYPE HTML PUBLIC", 0), 0u);
    EXPECT_TRUE(document.ends_with("<!--EndFragment--></body></html>"));
    EXPECT_NE(document.find(">n1</td>"), std::string::npos);
    // Inside the program the tree data is still there, also once flushed.
    EXPECT_TRUE(plat::IsClipboardFormatAvailable(data));
    Tree->FlushClipboard();
    EXPECT_EQ(Host.OfferedFormats(), offered);
    EXPECT_TRUE(plat::IsClipboardFormatAvailable(data));
    EXPECT_NE(plat::RenderClipboardForHost(data), nullptr);
}

// Another program of the suite put nodes on the clipboard: they are pasted
// as a copy (no tree of this process made them), in their order; a block
// that is damaged anywhere raises and changes nothing.
TEST_F(TreeClipboard, NodesFromAnotherProgramArePastedAsACopy)
{
    Fill();
    Tree->CopyToClipboard();
    const std::vector<std::uint8_t> block = plat::RenderClipboardForHost(TreeClipboardFormats().DTData)->Bytes();
    Host.ForeignClipboardData({{TreeClipboardFormats().DTData, block}});
    ASSERT_TRUE(Other->PasteFromClipboard());
    EXPECT_EQ(Texts(*Other), (std::vector<std::string>{"n1", " n11", "n3"}));
    EXPECT_EQ(Texts(*Tree), (std::vector<std::string>{"n1", " n11", "n2", "n3"})) << "copied, nothing moved";
    EXPECT_FALSE(Tree->TreeStates().Contains(tsCopyPending)) << "the other program took the clipboard";

    const std::uint32_t before = Other->TotalCount();
    int refused = 0;
    for (std::size_t at = 4; at < block.size(); at += 3) {
        std::vector<std::uint8_t> damaged = block;
        damaged[at] ^= 0x5A;
        Host.ForeignClipboardData({{TreeClipboardFormats().DTData, damaged}});
        try {
            Other->PasteFromClipboard();
        } catch (const EDataTreeError&) {
            ++refused;
            EXPECT_EQ(Other->TotalCount(), before) << "byte " << at << ": nothing of a failed paste stays";
            EXPECT_EQ(CheckInvariants(*Other), "");
            continue;
        }
        Other->Clear();
        Host.ForeignClipboardData({{TreeClipboardFormats().DTData, block}});
        ASSERT_TRUE(Other->PasteFromClipboard());
    }
    EXPECT_GT(refused, 0);
}

// A data object over one block of "Data Tree Data".
std::shared_ptr<plat::TBlockDataObject> TreeDataBlock(const std::vector<std::uint8_t>& nodes, std::int32_t count)
{
    auto object = std::make_shared<plat::TBlockDataObject>();
    plat::HGLOBAL block = plat::GlobalAlloc(plat::GHND, nodes.size() + 4);
    std::memcpy(block->Data(), &count, 4);
    std::memcpy(block->Data() + 4, nodes.data(), nodes.size());
    object->Add(TreeClipboardFormats().DTData, block);
    return object;
}

std::vector<std::uint8_t> NodeStream(TTestTree& tree)
{
    plat::TMemoryStream stream;
    tree.SaveToStream(stream);
    // Without the 16 bytes of stream header and count.
    return std::vector<std::uint8_t>(stream.Memory() + 16, stream.Memory() + stream.Size());
}

TEST_F(TreeClipboard, ProcessOLEDataInsertsInOrderAndReadsOnlyWhatTheBlockHolds)
{
    for (std::int64_t key : {1, 2, 3}) {
        Add(*Other, nullptr, key);
    }
    const std::vector<std::uint8_t> nodes = NodeStream(*Other);
    const PDataNode target = Add(*Tree, nullptr, 100);
    Add(*Tree, nullptr, 200);
    EXPECT_TRUE(Tree->ProcessOLEData(nullptr, TreeDataBlock(nodes, static_cast<std::int32_t>(nodes.size())), target,
                                     amInsertAfter, false));
    EXPECT_EQ(Texts(*Tree), (std::vector<std::string>{"n100", "n1", "n2", "n3", "n200"}));

    // A count of 0 makes nothing; a count beyond the block is cut to it.
    EXPECT_TRUE(Tree->ProcessOLEData(nullptr, TreeDataBlock(nodes, 0), nullptr, amAddChildLast, false));
    EXPECT_EQ(Tree->RootNodeCount(), 5u);
    EXPECT_TRUE(Tree->ProcessOLEData(nullptr, TreeDataBlock(nodes, 0x7FFFFFFF), nullptr, amAddChildLast, false));
    EXPECT_EQ(Tree->RootNodeCount(), 8u);
    // Damaged data raises the stream's error; what was read stays whole.
    std::vector<std::uint8_t> damaged = nodes;
    damaged[4] = 0xFF;
    EXPECT_THROW(Tree->ProcessOLEData(nullptr, TreeDataBlock(damaged, static_cast<std::int32_t>(damaged.size())),
                                      nullptr, amAddChildLast, false),
                 EDataTreeError);
    EXPECT_EQ(CheckInvariants(*Tree), "");
    EXPECT_FALSE(Tree->IsUpdating());

    // A read-only tree takes nothing and says so.
    Tree->TreeOptions()->SetMiscOptions(Tree->TreeOptions()->MiscOptions() + TDTMiscOptions{toReadOnly});
    EXPECT_FALSE(Tree->ProcessOLEData(nullptr, TreeDataBlock(nodes, static_cast<std::int32_t>(nodes.size())), nullptr,
                                      amAddChildLast, false));
    // Data without tree data is not taken either.
    Tree->TreeOptions()->SetMiscOptions(Tree->TreeOptions()->MiscOptions() - TDTMiscOptions{toReadOnly});
    EXPECT_FALSE(Tree->ProcessOLEData(nullptr, std::make_shared<plat::TBlockDataObject>(), nullptr, amAddChildLast,
                                      false));
}

TEST_F(TreeClipboard, AReferenceFromAnotherProcessNamesNoTree)
{
    auto object = std::make_shared<plat::TBlockDataObject>();
    plat::HGLOBAL block = plat::GlobalAlloc(plat::GHND, 16);
    const std::uint32_t otherProcess = static_cast<std::uint32_t>(getpid()) + 1;
    const std::uint64_t address = reinterpret_cast<std::uintptr_t>(Tree);
    std::memcpy(block->Data(), &otherProcess, 4);
    std::memcpy(block->Data() + 8, &address, 8);
    object->Add(TreeClipboardFormats().DTReference, block);
    EXPECT_EQ(TBaseDataTree::GetTreeFromDataObject(object), nullptr);
    EXPECT_EQ(TBaseDataTree::GetTreeFromDataObject(std::make_shared<plat::TBlockDataObject>()), nullptr);
}

} // namespace
} // namespace qel::tree_test
