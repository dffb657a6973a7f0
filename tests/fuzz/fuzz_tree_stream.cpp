// Fuzz target for the data tree's stream reader: any bytes loaded into a
// tree, or added below one of its nodes, give the tree or EDataTreeError,
// and leave the tree whole. A tree that loaded writes a stream that loads
// back to the same number of nodes.
//
// Inputs that start with the stream header are read as they are; any other
// input edits a valid stream (three bytes per edit: offset low, offset high,
// new byte; a last lone byte cuts the stream), so that most inputs get past
// the header and into the nodes.
#include "platform/streams.h"
#include "widgets/tree/string_data_tree.h"
#include "tests/fuzz/input_bytes.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {

using namespace qel;

void SaveUserData(plat::TObject*, PDataNode node, plat::TStream& stream)
{
    const std::uint32_t value = node->fIndex * 7 + 1;
    stream.WriteBuffer(&value, 4);
}

void LoadUserData(plat::TObject*, PDataNode, plat::TStream& stream)
{
    std::uint32_t value = 0;
    stream.Read(&value, 4);
}

std::unique_ptr<TDataStringTree> NewTree()
{
    auto tree = std::make_unique<TDataStringTree>(nullptr);
    tree->SetNodeDataSize(4);
    tree->OnSaveNode = SaveUserData;
    tree->OnLoadNode = LoadUserData;
    return tree;
}

// Made in the statics' initialiser, after the trees' own process-wide
// state, so that they go before it at the exit.
TDataStringTree& Tree(int which)
{
    static const std::unique_ptr<TDataStringTree> trees[2] = {NewTree(), NewTree()};
    return *trees[which];
}

// Nested, expanded, hidden, checked and disabled nodes with user data and captions.
std::string ValidStream()
{
    TDataStringTree& tree = Tree(0);
    tree.Clear();
    for (int i = 0; i < 3; ++i) {
        const PDataNode top = tree.AddChild(nullptr);
        for (int j = 0; j < i + 1; ++j) {
            const PDataNode child = tree.AddChild(top);
            tree.AddChild(child);
            tree.SetCheckType(child, ctTriStateCheckBox);
        }
        tree.SetExpanded(top, i != 1);
    }
    tree.SetVisible(tree.RootNode()->FirstChild->FirstChild, false);
    tree.SetDisabled(tree.RootNode()->fLastChild, true);
    tree.SetCheckState(tree.RootNode()->fLastChild->FirstChild, csCheckedNormal);
    plat::TMemoryStream stream;
    tree.SaveToStream(stream);
    return std::string(reinterpret_cast<const char*>(stream.Memory()), static_cast<std::size_t>(stream.Size()));
}

std::string StreamFor(const std::uint8_t* data, std::size_t size)
{
    static const std::string valid = ValidStream();
    if (size >= 2 && data[0] == 0x45 && data[1] == 0x20) {
        return std::string(reinterpret_cast<const char*>(data), size);
    }
    return qel::fuzz::Mutated(valid, data, size, 0);
}

bool Load(TDataStringTree& tree, const std::string& bytes, bool add)
{
    plat::TMemoryStream stream;
    stream.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    stream.SetPosition(0);
    try {
        if (add) {
            tree.AddFromStream(stream, tree.RootNode()->FirstChild);
        } else {
            tree.LoadFromStream(stream);
        }
        return true;
    } catch (const EDataTreeError&) {
        return false;
    }
}

std::uint32_t Count(TDataStringTree& tree)
{
    std::uint32_t count = 0;
    for (PDataNode node = tree.GetFirstNoInit(); node != nullptr; node = tree.GetNextNoInit(node)) {
        ++count;
    }
    if (count + 1 != tree.RootNode()->TotalCount) {
        std::abort();   // the counts of a loaded subtree went wrong
    }
    return count;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes = StreamFor(data, size);
    TDataStringTree& tree = Tree(0);
    tree.Clear();
    const bool add = size > 0 && (data[size - 1] & 1) != 0;
    if (add) {
        tree.AddChild(nullptr);
    }
    const bool loaded = Load(tree, bytes, add);
    const std::uint32_t count = Count(tree);
    if (!loaded) {
        return 0;
    }
    plat::TMemoryStream written;
    tree.SaveToStream(written);
    TDataStringTree& again = Tree(1);
    if (!Load(again, std::string(reinterpret_cast<const char*>(written.Memory()),
                                 static_cast<std::size_t>(written.Size())),
              false) ||
        Count(again) != count) {
        std::abort();
    }
    again.Clear();
    return 0;
}
