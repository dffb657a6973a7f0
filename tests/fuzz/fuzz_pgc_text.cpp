// Fuzz target for typed text reaching the component library's string
// helpers: integer reading stops inside the text, and both shift-table
// searches agree with a plain search on arbitrary UTF-16 buffers.
#include "widgets/pages/pgc_strings.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void Require(bool condition)
{
    if (!condition) {
        std::abort();
    }
}

// The bytes as UTF-16 units; narrowed, over a few units that mix cases
// and lie around 255, so that matches are common.
std::u16string Units(const uint8_t* data, size_t size, bool narrow)
{
    static constexpr char16_t Narrow[] = u"aAbB\u00E4\u00C4\u0100\u00FF";
    std::u16string units(size / 2, u'\0');
    for (size_t i = 0; i < units.size(); ++i) {
        const auto unit = static_cast<char16_t>(data[2 * i] | data[2 * i + 1] << 8);
        units[i] = narrow ? Narrow[unit % 8] : unit;
    }
    return units;
}

void CheckIntegerReading(const std::u16string& units)
{
    const std::u16string text = units.substr(0, units.find(u'\0'));
    std::int64_t value = 0;
    if (!qel::TextToInt64PChar(text.c_str(), value)) {
        Require(text.size() >= 256 ? value == -1 : value >= 0 && value <= static_cast<std::int64_t>(text.size()));
    }
}

std::u16string Upper(std::u16string text)
{
    for (char16_t& unit : text) {
        unit = qel::UpCaseWideChar(unit);
    }
    return text;
}

void CheckSearch(const std::u16string& buffer, std::uint32_t length, const std::u16string& pattern, bool noCase)
{
    qel::TShiftTable table;
    qel::BuildShiftTable(pattern.c_str(), table);
    constexpr std::uint32_t Unset = 0xFFFFFFFF;
    std::uint32_t position = Unset;
    const bool found = noCase ? qel::ShiftTableSearchNoCase(buffer.c_str(), length, table, pattern.c_str(), position)
                              : qel::ShiftTableSearch(buffer.c_str(), length, table, pattern.c_str(), position);
    const std::u16string haystack = buffer.substr(0, length);
    const std::size_t expected = pattern.empty() ? std::u16string::npos : (noCase ? Upper(haystack) : haystack).find(pattern);
    Require(found == (expected != std::u16string::npos));
    if (found) {
        Require(position == expected);
    } else if (pattern.size() == 1) {
        Require(position == length);
    } else {
        Require(position == Unset);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2) {
        return 0;
    }
    CheckIntegerReading(Units(data + 2, size - 2, false));
    // The first two bytes choose narrow units, split the units into a
    // pattern and a buffer and choose how much of the buffer is searched.
    const std::u16string units = Units(data + 2, size - 2, (data[0] & 0x80) != 0);
    const std::size_t patternLength = units.empty() ? 0 : (data[0] & 0x7F) % (units.size() + 1);
    std::u16string pattern = units.substr(0, patternLength);
    pattern = pattern.substr(0, pattern.find(u'\0'));
    const std::u16string buffer = units.substr(patternLength);
    const auto length = static_cast<std::uint32_t>(buffer.size() - (buffer.empty() ? 0 : data[1] % (buffer.size() + 1)));
    CheckSearch(buffer, length, pattern, false);
    CheckSearch(buffer, length, Upper(pattern), true);
    return 0;
}
