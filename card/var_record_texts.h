// Names and units of flex sensors in the pages of the variable-length record
// format: six bytes each, read as text in the two ways the families write them.
#pragma once

#include "card/page_reader.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace qel::var_record {

inline constexpr std::size_t SENSOR_TEXT_SIZE = 6;

using TSensorTextBytes = std::array<std::uint8_t, SENSOR_TEXT_SIZE>;

// The six bytes of a name or unit at the reader's position (the caller
// tested that they fit).
inline TSensorTextBytes ReadSensorTextBytes(TPageReader& in)
{
    TSensorTextBytes bytes{};
    for (std::uint8_t& b : bytes) {
        b = in.Byte();
    }
    return bytes;
}

// The QEL62xW rule: bytes 32 to 127 are their characters, 176 the degree
// sign, every other byte a blank; leading and trailing blanks are trimmed. UTF-8.
std::string FilteredSensorText(std::span<const std::uint8_t, SENSOR_TEXT_SIZE> bytes);

// The QEL621WD rule: every byte the Windows-1252 character of its code;
// leading and trailing blanks and control characters are trimmed. UTF-8.
std::string AnsiSensorText(std::span<const std::uint8_t, SENSOR_TEXT_SIZE> bytes);

} // namespace qel::var_record
