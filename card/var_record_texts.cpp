// Flex-sensor names and units of the variable-length record pages.
#include "card/var_record_texts.h"

#include "platform/text_encoding.h"

#include <string_view>

namespace qel::var_record {

namespace {

constexpr std::uint8_t DEGREE_SIGN = 176;   // Windows-1252

// Without leading and trailing bytes up to the blank (the blank and the control characters).
std::string_view TrimBlanks(std::string_view text)
{
    const auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

} // namespace

std::string FilteredSensorText(std::span<const std::uint8_t, SENSOR_TEXT_SIZE> bytes)
{
    std::string ansi;
    for (const std::uint8_t b : bytes) {
        const bool kept = (b >= 32 && b <= 127) || b == DEGREE_SIGN;
        ansi.push_back(static_cast<char>(kept ? b : ' '));
    }
    return plat::AnsiToUtf8(TrimBlanks(ansi));
}

std::string AnsiSensorText(std::span<const std::uint8_t, SENSOR_TEXT_SIZE> bytes)
{
    const std::string ansi(bytes.begin(), bytes.end());
    return plat::AnsiToUtf8(TrimBlanks(ansi));
}

} // namespace qel::var_record
