// Routines on zero-terminated UTF-16 texts for wrapping, tab columns, line
// lookup and in-place edits (see edit_text_routines.h).
#include "widgets/pages/edit_text_routines.h"

#include <cstring>

namespace qel {

namespace {

constexpr char16_t Tab = 9;
constexpr char16_t LineFeed = 10;
constexpr char16_t Space = 32;
constexpr char16_t Hyphen = 45;

// Column after a unit at column Column. A tab size of 0 is never passed; it
// is taken as 1 rather than divided by.
std::uint32_t AdvanceColumn(std::uint32_t Column, char16_t Ch, std::uint8_t TabSize)
{
    if (Ch != Tab) {
        return Column + 1;
    }
    const std::uint32_t size = TabSize == 0 ? 1 : TabSize;
    return (Column / size + 1) * size;
}

} // namespace

bool IsBlankChar(char16_t Ch)
{
    return Ch == Space || Ch == Tab;
}

std::uint16_t LastBlankBreak(const char16_t* Text, std::uint16_t P)
{
    std::uint16_t i = P;
    while (i > 0 && !IsBlankChar(Text[i - 1])) {
        --i;
    }
    return i > 0 ? i : P;
}

const char16_t* FindWrapPoint(const char16_t* Text, std::int32_t P)
{
    if (Text[P] == 0) {
        return Text + P;
    }
    for (std::int32_t k = P; k > 0; --k) {
        const char16_t ch = Text[k];
        if (IsBlankChar(ch) || ch == Hyphen) {
            std::int32_t next = k + 1;
            while (IsBlankChar(Text[next])) {
                ++next;
            }
            return Text + next;
        }
    }
    return Text + P;
}

std::uint16_t TabbedWidth(const char16_t* Text, std::uint16_t L, std::uint8_t TabSize)
{
    std::uint32_t column = 0;
    for (std::uint16_t i = 0; i < L && Text[i] != 0; ++i) {
        column = AdvanceColumn(column, Text[i], TabSize);
    }
    return static_cast<std::uint16_t>(column);
}

std::uint16_t PosOfColumn(const char16_t* Text, std::uint16_t C, std::uint8_t TabSize)
{
    std::uint16_t n = 1;
    std::uint32_t column = 0;
    for (const char16_t* p = Text; *p != 0; ++p) {
        column = AdvanceColumn(column, *p, TabSize);
        if (column + 1 <= C) {
            ++n;
        }
        if (column + 1 >= C) {
            break;
        }
    }
    return n;
}

std::uint16_t LineOfPos(const std::uint16_t* Starts, std::uint16_t N, std::uint16_t P)
{
    const auto offset = static_cast<std::uint16_t>(P - 1);
    while (N >= 1 && offset < Starts[N - 1]) {
        --N;
    }
    return N;
}

bool HasTab(const char16_t* Text, std::uint32_t L)
{
    if (L == 0) {
        return true;
    }
    for (std::uint32_t i = 0; i < L; ++i) {
        if (Text[i] == Tab) {
            return true;
        }
    }
    return false;
}

char16_t* PadToLength(char16_t* Text, std::uint16_t L)
{
    std::uint32_t length = 0;
    while (length < L && Text[length] != 0) {
        ++length;
    }
    if (length < L) {
        for (std::uint32_t i = length; i < L; ++i) {
            Text[i] = Space;
        }
        Text[L] = 0;
    }
    return Text;
}

std::uint16_t FirstLineLength(const char16_t* Text, std::uint16_t L)
{
    for (std::uint16_t i = 0; i < L; ++i) {
        if (Text[i] == LineFeed) {
            return static_cast<std::uint16_t>(i + 1);
        }
    }
    return L;
}

void DeleteCharsAt(char16_t* Text, std::int32_t L, std::int32_t K, std::int32_t P)
{
    if (P < 0 || P >= L || K <= 0 || K > L - P) {
        return;
    }
    std::memmove(Text + P, Text + P + K, static_cast<std::size_t>(L - P - K + 1) * sizeof(char16_t));
}

char16_t* InsertCharsAt(char16_t* Dest, const char16_t* Src, std::uint16_t L, std::uint16_t K, std::uint16_t P)
{
    if (P <= L && K > 0) {
        std::memmove(Dest + P + K, Dest + P, static_cast<std::size_t>(L - P + 1) * sizeof(char16_t));
        std::memcpy(Dest + P, Src, static_cast<std::size_t>(K) * sizeof(char16_t));
    }
    return Dest;
}

} // namespace qel
