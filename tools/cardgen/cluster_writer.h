// Byte layout of one card cluster and of the page header it carries, written
// from field values; the card generator and hand-made test clusters use it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace qel::cardgen {

// Layout of a 1536-byte cluster (offsets from its first byte).
constexpr std::size_t kClusterSize = 1536;
constexpr std::size_t kStartMarkOffset = 0;     // word 0xE001, little endian
constexpr std::size_t kModelCodeOffset = 68;    // model code, firmware word, PC word, serial
constexpr std::size_t kConfigOffset = 78;       // logger configuration copy
constexpr std::size_t kConfigSize = 396;
constexpr std::size_t kKindOffset = 474;        // 0x02, 0x82 or 0x84
constexpr std::size_t kPageWordOffset = 475;    // big endian; page number in the upper 13 bits
constexpr std::size_t kPageOffset = 478;        // the logger page
constexpr std::size_t kPageSize = 1056;
constexpr std::size_t kEndMarkOffset = 1534;    // word 0xE003, little endian
constexpr std::size_t kPageHeaderSize = 8;
constexpr std::uint16_t kMaxPageNo = 0x1FFF;

using TClusterBytes = std::array<std::uint8_t, kClusterSize>;

// What the frame of a cluster says; the defaults make a valid frame.
struct TClusterFields {
    std::uint16_t ModelCode = 0;
    std::uint16_t FirmwareVersion = 0;
    std::uint16_t PcVersion = 0;
    std::uint32_t Serial = 0;
    std::uint8_t Kind = 0x82;
    std::uint16_t PageNo = 0;           // only its low 13 bits are written
    std::uint8_t PageNoSpareBits = 0;   // the 3 unused low bits of the page word
    std::uint16_t StartMark = 0xE001;
    std::uint16_t EndMark = 0xE003;
};

// The 8-byte page header.
struct TPageHeaderFields {
    std::uint8_t OverflowCount = 0;     // bits 7-6; a page is valid below 3
    bool StartPage = false;             // bit 5
    bool ShockOrExtended = false;       // bit 4: shock page, or extended header (QEL629c)
    bool LimitPackets = false;          // bit 0
    std::uint64_t TimeUnits = 0;        // 40-bit time stamp in the page's time units
    std::uint16_t StartPageNo = 0;
};

// Writes marks, identity, kind and page word; leaves configuration and page alone.
void WriteClusterFrame(std::span<std::uint8_t, kClusterSize> cluster, const TClusterFields& fields);
void WritePageHeader(std::span<std::uint8_t> page, const TPageHeaderFields& header);

inline std::span<std::uint8_t, kPageSize> PageOf(std::span<std::uint8_t, kClusterSize> cluster)
{
    return cluster.subspan<kPageOffset, kPageSize>();
}

inline std::span<std::uint8_t, kConfigSize> ConfigOf(std::span<std::uint8_t, kClusterSize> cluster)
{
    return cluster.subspan<kConfigOffset, kConfigSize>();
}

// Ticks of one unit of the page header time for a model: 2000 for the QEL629
// (0x6601) and QEL57 (0x661D) families, 1000 for every other model code.
std::uint32_t HeaderTimeUnitTicks(std::uint16_t modelCode);

// Little-endian and big-endian stores used by the builders.
void PutWordLE(std::span<std::uint8_t> bytes, std::size_t at, std::uint16_t value);
void PutLongLE(std::span<std::uint8_t> bytes, std::size_t at, std::uint32_t value);
void PutSingleLE(std::span<std::uint8_t> bytes, std::size_t at, float value);

} // namespace qel::cardgen
