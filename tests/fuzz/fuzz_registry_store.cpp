// Fuzz target for the registry store's text form: parsed input and trees built
// from the input as a script must both come back unchanged from formatting.
#include "platform/registry_store.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void CheckRoundTrip(const plat::TRegistryTree& tree)
{
    const auto again = plat::ParseRegistryText(plat::FormatRegistryText(tree));
    if (!again || !(*again == tree)) {
        std::abort();
    }
}

// Takes a length byte and that many bytes (as far as they go).
std::string TakeChunk(const uint8_t* data, size_t size, size_t& pos)
{
    if (pos >= size) {
        return {};
    }
    const size_t length = data[pos++] % 24;
    const size_t taken = length < size - pos ? length : size - pos;
    std::string chunk(reinterpret_cast<const char*>(data + pos), taken);
    pos += taken;
    return chunk;
}

plat::TRegistryTree BuildTree(const uint8_t* data, size_t size)
{
    plat::TRegistryTree tree;
    plat::TRegKey* key = &tree.EnsureKey("");
    size_t pos = 0;
    while (pos < size) {
        const uint8_t operation = data[pos++] % 5;
        plat::TRegValue value;
        value.Name = TakeChunk(data, size, pos);
        switch (operation) {
        case 0: key = &tree.EnsureKey(value.Name); continue;
        case 1: value.Type = plat::rdString; value.Bytes = TakeChunk(data, size, pos); break;
        case 2: value.Type = plat::rdBinary; value.Bytes = TakeChunk(data, size, pos); break;
        case 3:
            value.Type = plat::rdInteger;
            value.Integer = static_cast<int32_t>(std::hash<std::string>{}(TakeChunk(data, size, pos)));
            break;
        default: tree.DeleteKey(value.Name); key = &tree.EnsureKey(""); continue;
        }
        key->SetValue(std::move(value));
    }
    return tree;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    // With the header in front, random input reaches the line parser.
    for (const std::string& text : {std::string(bytes), "; QEL registry store 1\n" + std::string(bytes)}) {
        if (const auto tree = plat::ParseRegistryText(text)) {
            CheckRoundTrip(*tree);
        }
    }
    CheckRoundTrip(BuildTree(data, size));
    return 0;
}
