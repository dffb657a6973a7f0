// Trees through the form description in memory: a written component
// stream as bytes, bytes read back into a new component, and the
// length-prefixed names of the stream for building forms by hand.
#pragma once

#include "platform/objects/component.h"
#include "platform/objects/reader.h"
#include "platform/objects/writer.h"
#include "platform/streams.h"

#include <cstdint>
#include <memory>
#include <string>

namespace qel::tree_test {

inline std::string WriteTree(plat::TComponent* tree)
{
    plat::TMemoryStream stream;
    plat::TWriter writer(stream);
    writer.WriteRootComponent(tree);
    return std::string(reinterpret_cast<const char*>(stream.Memory()), static_cast<std::size_t>(stream.Size()));
}

inline std::unique_ptr<plat::TComponent> ReadTree(const std::string& bytes)
{
    plat::TMemoryStream stream;
    stream.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    stream.SetPosition(0);
    plat::TReader reader(stream);
    return std::unique_ptr<plat::TComponent>(reader.ReadRootComponent(nullptr));
}

inline std::string Str(const std::string& text)
{
    return std::string(1, static_cast<char>(text.size())) + text;
}

} // namespace qel::tree_test
