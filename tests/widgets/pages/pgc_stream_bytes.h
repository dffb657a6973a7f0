// Component streams written byte by byte, as older form descriptions hold
// them, for the tests of properties that are only read.
#pragma once

#include "platform/objects/reader.h"
#include "platform/streams.h"

#include <cstdint>
#include <string>

namespace qel::test {

// A length-prefixed name (class, component or property name).
inline std::string StreamName(const std::string& Text)
{
    return std::string(1, static_cast<char>(Text.size())) + Text;
}

// Reads a whole component stream into Root.
inline void ReadStreamBytes(plat::TComponent& Root, const std::string& Bytes)
{
    plat::TMemoryStream stream;
    stream.WriteBuffer(Bytes.data(), static_cast<std::int64_t>(Bytes.size()));
    stream.SetPosition(0);
    plat::TReader reader(stream);
    reader.ReadRootComponent(&Root);
}

} // namespace qel::test
