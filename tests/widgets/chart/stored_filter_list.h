// A chart picture's filter list in its stored form and back, for the tests
// and fuzz targets of the filter family.
#pragma once

#include "widgets/chart/chart_picture.h"

#include "platform/objects/reader.h"
#include "platform/objects/writer.h"
#include "platform/streams.h"

#include <string>

namespace qel::test {

inline std::string StoredFilterList(const TFilterItems& Filters)
{
    plat::TMemoryStream Stream;
    plat::TWriter Writer(Stream);
    TChtPicture::WriteFilters(Writer, Filters);
    return std::string(reinterpret_cast<const char*>(Stream.Memory()), static_cast<std::size_t>(Stream.Size()));
}

inline void ReadFilterList(const std::string& Bytes, TFilterItems& Filters)
{
    plat::TMemoryStream Stream;
    Stream.WriteBuffer(Bytes.data(), static_cast<std::int64_t>(Bytes.size()));
    Stream.SetPosition(0);
    plat::TReader Reader(Stream);
    TChtPicture::ReadFilters(Reader, Filters);
}

} // namespace qel::test
