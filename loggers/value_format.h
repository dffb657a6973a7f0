// Display texts of channel values and units shared by the logger models: the
// temperature unit, the analog-input format codes and the number formats.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qel {

// The text followed by the decimal number: "A" and 4 give "A4".
std::string TextWithNumber(std::string_view text, std::int64_t number);

// "°C", or "*C" when the user's language is East-Asian or Thai.
std::string TemperatureUnit();

// Pattern of an analog input's display format code: 1 "0", 2 "0.0", 3 "0.00",
// 4 "0.000", 5 "0.0000", any other "0.000E+00".
const char* AnalogFormatPattern(std::uint8_t code);

// The value formatted with a pattern and the program's format settings.
std::string FormatWithPattern(const char* pattern, double value);

// The value in the general number format (15 significant digits) with the
// program's format settings.
std::string FormatGeneral(double value);

} // namespace qel
