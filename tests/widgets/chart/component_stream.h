// Streams a component with its published properties into bytes and back,
// as a chart stores the settings objects its components hold.
#pragma once

#include "platform/objects/component.h"
#include "platform/objects/reader.h"
#include "platform/objects/writer.h"
#include "platform/streams.h"

#include <string>

namespace qel::test {

inline std::string WriteHolder(plat::TComponent& Holder)
{
    plat::TMemoryStream Stream;
    plat::TWriter Writer(Stream);
    Writer.WriteRootComponent(&Holder);
    return std::string(reinterpret_cast<const char*>(Stream.Memory()), static_cast<std::size_t>(Stream.Size()));
}

inline void ReadHolder(const std::string& Bytes, plat::TComponent& Holder)
{
    plat::TMemoryStream Stream;
    Stream.WriteBuffer(Bytes.data(), static_cast<std::int64_t>(Bytes.size()));
    Stream.SetPosition(0);
    plat::TReader Reader(Stream);
    Reader.ReadRootComponent(&Holder);
}

} // namespace qel::test
