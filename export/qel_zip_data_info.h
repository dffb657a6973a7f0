// The data-block index of a channel in the zip channel container: the 56-byte
// index record and the "ChInfo_0" entry that lists one per data block,
// written and read.
#pragma once

#include "export/qel_zip_crc_stream.h"

#include <cstdint>

namespace qel {

// One data block of a channel. Stored as 56 little-endian bytes, in this
// field order, without gaps.
struct TQelZipChannelDataInfo {
    std::int64_t ValueNo = 0;      // number of the block's first value within the channel
    std::int64_t Values = 0;       // values in the block
    std::uint32_t BlockNo = 0;     // k of the block's "ChData_" entry
    std::uint32_t BlockSize = 0;   // bytes of the block, 12 per value
    std::int64_t Tmin = 0;         // time of the block's first value
    std::int64_t Tmax = 0;         // time of the block's last value
    float Ymin = 0;                // smallest value (a NaN is never taken)
    float Ymax = 0;                // largest value
    std::uint32_t cs = 0;          // check value of the block's bytes over CRC_TYPE_DATA_BLOCK
    std::uint32_t reserve = 0;
};

constexpr std::int64_t QEL_ZIP_DATA_INFO_SIZE = 56;

// The record of the 56 bytes at at.
TQelZipChannelDataInfo DecodeDataInfo(const std::uint8_t* at);

// "ChInfo_0": the index records in block order.
class TQelZipChannelDataInfoStream : public TQelZipCrcBaseStream {
public:
    std::uint8_t CrcType() const override { return CRC_TYPE_CHANNEL_DATA_INFO; }
    // Appends the record's 56 bytes.
    void AddDataInfo(const TQelZipChannelDataInfo& info);
    // Reads the record at the position; False when fewer than 56 bytes are
    // left (so a trailer loaded with the records is never read as one).
    bool GetNextDataInfo(TQelZipChannelDataInfo& info);
    // The records the stream holds whole, and the one at an index below
    // that count, without moving the position.
    std::int64_t RecordCount() const { return Size() / QEL_ZIP_DATA_INFO_SIZE; }
    TQelZipChannelDataInfo RecordAt(std::int64_t index) const
    {
        return DecodeDataInfo(Memory() + index * QEL_ZIP_DATA_INFO_SIZE);
    }
};

} // namespace qel
