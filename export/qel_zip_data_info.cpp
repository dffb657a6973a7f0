// The 56-byte index record of a data block, written field by field in
// little-endian order whatever the machine's byte order.
#include "export/qel_zip_data_info.h"

#include <bit>

namespace qel {

void TQelZipChannelDataInfoStream::AddDataInfo(const TQelZipChannelDataInfo& info)
{
    std::uint8_t record[QEL_ZIP_DATA_INFO_SIZE];
    PutLE64(record + 0, static_cast<std::uint64_t>(info.ValueNo));
    PutLE64(record + 8, static_cast<std::uint64_t>(info.Values));
    PutLE32(record + 16, info.BlockNo);
    PutLE32(record + 20, info.BlockSize);
    PutLE64(record + 24, static_cast<std::uint64_t>(info.Tmin));
    PutLE64(record + 32, static_cast<std::uint64_t>(info.Tmax));
    PutLE32(record + 40, std::bit_cast<std::uint32_t>(info.Ymin));
    PutLE32(record + 44, std::bit_cast<std::uint32_t>(info.Ymax));
    PutLE32(record + 48, info.cs);
    PutLE32(record + 52, info.reserve);
    WriteBuffer(record, QEL_ZIP_DATA_INFO_SIZE);
}

} // namespace qel
