// Fuzz target for tree data from the clipboard or a drop: any "Data Tree
// Data" block, inserted by ProcessOLEData at any node in any mode, gives
// nodes or EDataTreeError and leaves the tree's counts whole (unchanged
// after an error); the same block pasted from another program's clipboard
// does the same; any "Data Tree Reference" block names no tree unless it
// carries this process's id. The block also goes through a tree's data
// object (stored, then answered).
//
// The first input byte picks the attach mode and target; inputs whose second
// byte is 0x01 are taken as the block as they are; any other input edits a
// valid block (three bytes per edit: offset low, offset high, new byte; a
// last lone byte cuts the block).
#include "platform/controls/application.h"
#include "platform/hosts/headless/headless_host.h"
#include "platform/streams.h"
#include "widgets/tree/dt_data_object.h"
#include "widgets/tree/string_data_tree.h"
#include "tests/fuzz/input_bytes.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using namespace qel;

// A headless program whose clipboard another program fills, and the tree.
// Never freed: the trees' process-wide state may go first at the exit.
struct TBench {
    plat::THeadlessHost Host;
    plat::TApplication App{Host};
    TDataStringTree Tree{nullptr};
    TBench() { Tree.ClipboardFormats()->Add("Data Tree Data"); }
};

TBench& Bench()
{
    static TBench* bench = new TBench();
    return *bench;
}

TDataStringTree& Tree()
{
    return Bench().Tree;
}

// The block the tree renders for two selected subtrees.
std::string ValidBlock()
{
    TDataStringTree& tree = Tree();
    tree.TreeOptions()->SetSelectionOptions(tree.TreeOptions()->SelectionOptions() +
                                            TDTSelectionOptions{toMultiSelect});
    const PDataNode first = tree.AddChild(nullptr);
    tree.AddChild(tree.AddChild(first));
    tree.SetExpanded(first, true);
    const PDataNode second = tree.AddChild(nullptr);
    tree.SetCheckType(second, ctCheckBox);
    tree.SetSelected(first, true);
    tree.SetSelected(second, true);
    plat::TStgMedium medium;
    tree.RenderOLEData(plat::TFormatEtc{TreeClipboardFormats().DTData}, medium, false);
    tree.Clear();
    return std::string(medium.hGlobal->Bytes().begin(), medium.hGlobal->Bytes().end());
}

std::string BlockFor(const std::uint8_t* data, std::size_t size)
{
    static const std::string valid = ValidBlock();
    if (size >= 2 && data[1] == 0x01) {
        return std::string(reinterpret_cast<const char*>(data + 2), size - 2);
    }
    return qel::fuzz::Mutated(valid, data, size, 2);
}

plat::HGLOBAL Block(const std::string& bytes)
{
    plat::HGLOBAL block = plat::GlobalAlloc(plat::GHND, bytes.size());
    if (!bytes.empty()) {
        std::memcpy(block->Data(), bytes.data(), bytes.size());
    }
    return block;
}

// The tree's counts are whole; answers its node count.
std::uint32_t CheckCounts(TDataStringTree& tree)
{
    std::uint32_t count = 0;
    for (PDataNode node = tree.GetFirstNoInit(); node != nullptr; node = tree.GetNextNoInit(node)) {
        ++count;
    }
    if (count + 1 != tree.RootNode()->TotalCount || tree.IsUpdating()) {
        std::abort();
    }
    return count;
}

// Runs a paste; an error must leave the node count as it was.
template <class Paste>
void PasteChangingNothingOnError(TDataStringTree& tree, Paste paste)
{
    const std::uint32_t before = CheckCounts(tree);
    try {
        paste();
    } catch (const EDataTreeError&) {
        if (CheckCounts(tree) != before) {
            std::abort();
        }
    }
    CheckCounts(tree);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes = BlockFor(data, size);
    TDataStringTree& tree = Tree();
    tree.Clear();
    const PDataNode a = tree.AddChild(nullptr);
    tree.AddChild(a);
    tree.AddChild(nullptr);
    const std::uint8_t choice = size > 0 ? data[0] : 0;
    const auto mode = static_cast<TDTNodeAttachMode>(1 + choice % 4);
    const PDataNode targets[] = {nullptr, a, a->FirstChild, tree.RootNode()->fLastChild};
    const PDataNode target = targets[(choice >> 2) % 4];

    auto blocks = std::make_shared<plat::TBlockDataObject>();
    blocks->Add(TreeClipboardFormats().DTData, Block(bytes));
    PasteChangingNothingOnError(tree, [&] { tree.ProcessOLEData(nullptr, blocks, target, mode, false); });

    // From another program's clipboard, at the focused node.
    Bench().Host.ForeignClipboardData(
        {{TreeClipboardFormats().DTData, std::vector<std::uint8_t>(bytes.begin(), bytes.end())}});
    tree.SetDefaultPasteMode(mode);
    tree.SetFocusedNode(target);
    PasteChangingNothingOnError(tree, [&] { tree.PasteFromClipboard(); });

    // As a reference block: a tree only for this process's id, which an
    // input cannot know.
    auto reference = std::make_shared<plat::TBlockDataObject>();
    reference->Add(TreeClipboardFormats().DTReference, Block(bytes));
    const std::uint32_t process = static_cast<std::uint32_t>(getpid());
    const bool ours = bytes.size() >= 16 && std::memcmp(bytes.data(), &process, 4) == 0;
    if (TBaseDataTree::GetTreeFromDataObject(reference) != nullptr && !ours) {
        std::abort();
    }

    // Stored in a data object and answered back unchanged.
    auto object = std::make_shared<TDTDataObject>(&tree, false);
    plat::TStgMedium medium;
    medium.tymed = plat::TYMED_HGLOBAL;
    medium.hGlobal = Block(bytes);
    const plat::TFormatEtc format{0xC123};
    object->SetData(format, medium, (choice & 0x80) != 0);
    plat::TStgMedium answer;
    if (object->GetData(format, answer) != plat::S_OK || answer.hGlobal->Bytes() != medium.hGlobal->Bytes()) {
        std::abort();
    }
    return 0;
}
