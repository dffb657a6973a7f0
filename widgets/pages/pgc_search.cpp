// The editor's find: a shift-table (Horspool) search over UTF-16 buffers,
// with and without case, and the one-unit case mapping it upper-cases with.
#include "widgets/pages/pgc_strings.h"

#include <glib.h>

#include <algorithm>

namespace qel {
namespace {

constexpr std::uint32_t MaxShift = 255;

std::uint32_t PatternLength(const char16_t* pattern)
{
    return static_cast<std::uint32_t>(std::char_traits<char16_t>::length(pattern));
}

char16_t SameUnit(char16_t c)
{
    return c;
}

// Map is applied to each buffer unit before it is compared or looked up;
// the pattern is compared as given, its first units through Map as well.
template <char16_t (*Map)(char16_t)>
bool Search(const char16_t* buffer, std::uint32_t length, const TShiftTable& table, const char16_t* pattern,
    std::uint32_t& position)
{
    if (pattern == nullptr || pattern[0] == 0) {
        return false;
    }
    const std::uint32_t last = PatternLength(pattern) - 1;
    if (last == 0) {
        std::uint32_t at = 0;
        while (at < length && Map(buffer[at]) != pattern[0]) {
            ++at;
        }
        position = at;
        return at < length;
    }
    // IN: cursor >= last, so the compared units lie inside the buffer.
    for (std::uint32_t cursor = last; cursor < length;) {
        const char16_t c = Map(buffer[cursor]);
        if (c == pattern[last]) {
            const char16_t* start = buffer + (cursor - last);
            if (std::equal(start, start + last, pattern,
                    [](char16_t a, char16_t b) { return Map(a) == Map(b); })) {
                position = cursor - last;
                return true;
            }
        }
        cursor += c < 255 ? table[c] : 1;
    }
    return false;
}

} // namespace

void BuildShiftTable(const char16_t* Pattern, TShiftTable& Table)
{
    std::uint32_t n = Pattern != nullptr ? PatternLength(Pattern) : 0;
    if (n > MaxShift) {
        Pattern += n - MaxShift;
        n = MaxShift;
    }
    Table.fill(static_cast<std::uint8_t>(n));
    for (std::uint32_t i = 0; i + 1 < n; ++i) {
        if (Pattern[i] <= 255) {
            Table[Pattern[i]] = static_cast<std::uint8_t>(n - i - 1);
        }
    }
}

bool ShiftTableSearch(const char16_t* Buffer, std::uint32_t BufferLength, const TShiftTable& Table,
    const char16_t* Pattern, std::uint32_t& Position)
{
    return Search<SameUnit>(Buffer, BufferLength, Table, Pattern, Position);
}

bool ShiftTableSearchNoCase(const char16_t* Buffer, std::uint32_t BufferLength, const TShiftTable& Table,
    const char16_t* Pattern, std::uint32_t& Position)
{
    return Search<UpCaseWideChar>(Buffer, BufferLength, Table, Pattern, Position);
}

char16_t UpCaseWideChar(char16_t C)
{
    if (C < 0x80) {
        return C >= u'a' && C <= u'z' ? static_cast<char16_t>(C - 32) : C;
    }
    const gunichar upper = g_unichar_toupper(C);
    return upper <= 0xFFFF && (C < 0xD800 || C > 0xDFFF) ? static_cast<char16_t>(upper) : C;
}

char16_t LowCaseWideChar(char16_t C)
{
    if (C < 0x80) {
        return C >= u'A' && C <= u'Z' ? static_cast<char16_t>(C + 32) : C;
    }
    const gunichar lower = g_unichar_tolower(C);
    return lower <= 0xFFFF && (C < 0xD800 || C > 0xDFFF) ? static_cast<char16_t>(lower) : C;
}

} // namespace qel
