// The 56-byte index record of a data block, written and read field by field
// in little-endian order whatever the machine's byte order.
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

TQelZipChannelDataInfo DecodeDataInfo(const std::uint8_t* at)
{
    TQelZipChannelDataInfo info;
    info.ValueNo = static_cast<std::int64_t>(GetLE64(at + 0));
    info.Values = static_cast<std::int64_t>(GetLE64(at + 8));
    info.BlockNo = GetLE32(at + 16);
    info.BlockSize = GetLE32(at + 20);
    info.Tmin = static_cast<std::int64_t>(GetLE64(at + 24));
    info.Tmax = static_cast<std::int64_t>(GetLE64(at + 32));
    info.Ymin = std::bit_cast<float>(GetLE32(at + 40));
    info.Ymax = std::bit_cast<float>(GetLE32(at + 44));
    info.cs = GetLE32(at + 48);
    info.reserve = GetLE32(at + 52);
    return info;
}

bool TQelZipChannelDataInfoStream::GetNextDataInfo(TQelZipChannelDataInfo& info)
{
    if (Size() - Position() < QEL_ZIP_DATA_INFO_SIZE) {
        return false;
    }
    info = DecodeDataInfo(Memory() + Position());
    Seek(QEL_ZIP_DATA_INFO_SIZE, plat::soCurrent);
    return true;
}

} // namespace qel
