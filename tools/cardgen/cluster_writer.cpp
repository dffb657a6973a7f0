// Byte layout of one card cluster and of the page header it carries.
#include "tools/cardgen/cluster_writer.h"

#include <bit>
#include <stdexcept>

namespace qel::cardgen {

void PutWordLE(std::span<std::uint8_t> bytes, std::size_t at, std::uint16_t value)
{
    bytes[at] = static_cast<std::uint8_t>(value);
    bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

void PutLongLE(std::span<std::uint8_t> bytes, std::size_t at, std::uint32_t value)
{
    PutWordLE(bytes, at, static_cast<std::uint16_t>(value));
    PutWordLE(bytes, at + 2, static_cast<std::uint16_t>(value >> 16));
}

void PutSingleLE(std::span<std::uint8_t> bytes, std::size_t at, float value)
{
    PutLongLE(bytes, at, std::bit_cast<std::uint32_t>(value));
}

void WriteClusterFrame(std::span<std::uint8_t, kClusterSize> cluster, const TClusterFields& fields)
{
    PutWordLE(cluster, kStartMarkOffset, fields.StartMark);
    PutWordLE(cluster, kModelCodeOffset, fields.ModelCode);
    PutWordLE(cluster, kModelCodeOffset + 2, fields.FirmwareVersion);
    PutWordLE(cluster, kModelCodeOffset + 4, fields.PcVersion);
    PutLongLE(cluster, kModelCodeOffset + 6, fields.Serial);
    cluster[kKindOffset] = fields.Kind;
    const std::uint16_t pageWord = static_cast<std::uint16_t>(((fields.PageNo & kMaxPageNo) << 3) | (fields.PageNoSpareBits & 7));
    cluster[kPageWordOffset] = static_cast<std::uint8_t>(pageWord >> 8);
    cluster[kPageWordOffset + 1] = static_cast<std::uint8_t>(pageWord);
    PutWordLE(cluster, kEndMarkOffset, fields.EndMark);
}

void WritePageHeader(std::span<std::uint8_t> page, const TPageHeaderFields& header)
{
    if (page.size() < kPageHeaderSize) {
        throw std::invalid_argument("page too small for its header");
    }
    if (header.OverflowCount > 3 || header.TimeUnits >= (std::uint64_t{1} << 40)) {
        throw std::invalid_argument("page header field out of range");
    }
    std::uint8_t flags = static_cast<std::uint8_t>(header.OverflowCount << 6);
    flags |= header.StartPage ? 0x20 : 0;
    flags |= header.ShockOrExtended ? 0x10 : 0;
    flags |= header.LimitPackets ? 0x01 : 0;
    page[0] = flags;
    page[1] = static_cast<std::uint8_t>(header.TimeUnits >> 32);
    PutLongLE(page, 2, static_cast<std::uint32_t>(header.TimeUnits));
    PutWordLE(page, 6, header.StartPageNo);
}

std::uint32_t HeaderTimeUnitTicks(std::uint16_t modelCode)
{
    return modelCode == 0x6601 || modelCode == 0x661D ? 2000 : 1000;
}

} // namespace qel::cardgen
