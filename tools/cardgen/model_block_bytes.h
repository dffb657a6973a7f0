// Model blocks of the variable-length record format for generated pages: the
// radio record of the QEL539c and the SE page block of the QEL28.
#pragma once

#include <cstdint>
#include <vector>

namespace qel::cardgen {

// A radio record: one module's values (tag 0xC0).
struct TRadioRecordDescription {
    std::uint8_t Control = 0;          // upper nibble of byte 2; bit 7 is the transparent mode
    std::uint8_t ModulNo = 0;          // 0 to 15
    std::uint8_t Position = 0;         // 0 to 15
    std::uint16_t Serial = 0;
    std::uint32_t Counter = 0;         // 24 bits
    std::uint8_t Config = 0;
    std::vector<std::int16_t> Values;  // at most 15 raw values
};

// The 10 + 2n bytes of the record; more than 15 values raise std::invalid_argument.
std::vector<std::uint8_t> RadioRecordBytes(const TRadioRecordDescription& record);

// An SE page block: one 1024-byte page of a job (tag 0xC0).
struct TSEPageBlockDescription {
    std::uint32_t Job = 0;
    std::uint8_t Order = 0;
    std::uint8_t Page = 0;
    std::uint32_t Index = 0;
    std::vector<std::uint8_t> Data;    // padded with zeros to 1024 bytes; more raise std::invalid_argument
};

constexpr std::size_t kSEPageDataSize = 1024;
constexpr std::size_t kSEPageBlockSize = 12 + kSEPageDataSize;

// The 1036 bytes of the block.
std::vector<std::uint8_t> SEPageBlockBytes(const TSEPageBlockDescription& block);

} // namespace qel::cardgen
