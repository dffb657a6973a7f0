// Fuzz target for tree data from the clipboard or a drop: any "Data Tree
// Data" block, inserted by ProcessOLEData at any node in any mode, gives
// nodes or EDataTreeError and leaves the tree's counts whole; any "Data
// Tree Reference" block names no tree unless it carries this process's id.
// The block also goes through a tree's data object (stored, then answered).
//
// The first input byte picks the attach mode and target; inputs whose second
// byte is 0x01 are taken as the block as they are; any other input edits a
// valid block (three bytes per edit: offset low, offset high, new byte; a
// last lone byte cuts the block).
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

namespace {

using namespace qel;

std::unique_ptr<TDataStringTree> NewTree()
{
    auto tree = std::make_unique<TDataStringTree>(nullptr);
    tree->ClipboardFormats()->Add("Data Tree Data");
    return tree;
}

// Made in the static's initialiser, after the trees' own process-wide
// state, so that it goes before that at the exit.
TDataStringTree& Tree()
{
    static const std::unique_ptr<TDataStringTree> tree = NewTree();
    return *tree;
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

void CheckCounts(TDataStringTree& tree)
{
    std::uint32_t count = 0;
    for (PDataNode node = tree.GetFirstNoInit(); node != nullptr; node = tree.GetNextNoInit(node)) {
        ++count;
    }
    if (count + 1 != tree.RootNode()->TotalCount || tree.IsUpdating()) {
        std::abort();
    }
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
    try {
        tree.ProcessOLEData(nullptr, blocks, target, mode, false);
    } catch (const EDataTreeError&) {
    }
    CheckCounts(tree);

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
