// In-place building blocks on UTF-16 buffers of known capacity: fills, tab
// expansion, number texts, unit and substring inserts, deletes and trims.
#include "widgets/pages/pgc_strings.h"

#include <algorithm>
#include <cstring>

namespace qel {
namespace {

constexpr char16_t Digits[] = u"0123456789ABCDEF";

// The text's length in a buffer: the units before the first terminator, at
// most capacity - 1; a buffer without a terminator gets one at its last unit.
// IN: the buffer is not empty.
std::uint32_t TerminatedLength(std::span<char16_t> buffer)
{
    const auto end = std::find(buffer.begin(), buffer.end() - 1, u'\0');
    *end = 0;
    return static_cast<std::uint32_t>(end - buffer.begin());
}

std::uint32_t Length(const char16_t* text)
{
    return static_cast<std::uint32_t>(std::char_traits<char16_t>::length(text));
}

// The largest text length that fits the buffer.
std::uint32_t Room(std::span<const char16_t> buffer)
{
    return static_cast<std::uint32_t>(buffer.size() - 1);
}

// Moves the units from `from` through the terminator at `length` to `to`.
void MoveTail(char16_t* text, std::uint32_t from, std::uint32_t to, std::uint32_t length)
{
    std::memmove(text + to, text + from, (length - from + 1) * sizeof(char16_t));
}

// Writes the digits of value in the given base, most significant first,
// cut to the buffer.
char16_t* DigitsOf(std::span<char16_t> dest, std::uint32_t value, int count, int bitsPerDigit)
{
    if (dest.empty()) {
        return dest.data();
    }
    const std::uint32_t written = std::min<std::uint32_t>(static_cast<std::uint32_t>(count), Room(dest));
    const std::uint32_t mask = (1u << bitsPerDigit) - 1;
    for (std::uint32_t i = 0; i < written; ++i) {
        const int shift = (count - 1 - static_cast<int>(i)) * bitsPerDigit;
        dest[i] = shift < 32 ? Digits[(value >> shift) & mask] : u'0';
    }
    dest[written] = 0;
    return dest.data();
}

} // namespace

char16_t* FillCharsPChar(std::span<char16_t> Dest, char16_t C, std::uint32_t Count)
{
    if (Dest.empty()) {
        return Dest.data();
    }
    const std::uint32_t written = std::min(Count, Room(Dest));
    std::fill_n(Dest.begin(), written, C);
    Dest[written] = 0;
    return Dest.data();
}

char16_t* ExpandTabsPChar(std::span<char16_t> Dest, const char16_t* Src, std::uint8_t TabSize)
{
    if (TabSize == 0) {
        return nullptr;
    }
    if (Dest.empty()) {
        return Dest.data();
    }
    const std::uint32_t room = Room(Dest);
    std::uint32_t out = 0;
    for (const char16_t* c = Src; *c != 0 && out < room; ++c) {
        if (*c != u'\t') {
            Dest[out++] = *c;
            continue;
        }
        const std::uint32_t spaces = TabSize - out % TabSize;
        for (std::uint32_t i = 0; i < spaces && out < room; ++i) {
            Dest[out++] = u' ';
        }
    }
    Dest[out] = 0;
    return Dest.data();
}

char16_t* LongToBitsPChar(std::span<char16_t> Dest, std::uint32_t Value)
{
    return DigitsOf(Dest, Value, 32, 1);
}

char16_t* LongToHexPChar(std::span<char16_t> Dest, std::uint32_t Value)
{
    return DigitsOf(Dest, Value, 8, 4);
}

char16_t* WordToHexPChar(std::span<char16_t> Dest, std::uint16_t Value)
{
    return DigitsOf(Dest, Value, 4, 4);
}

char16_t* LongToOctalPChar(std::span<char16_t> Dest, std::uint32_t Value)
{
    return DigitsOf(Dest, Value, 12, 3);
}

char16_t* CharDeletePChar(std::span<char16_t> S, std::uint32_t Index)
{
    return SubDeletePChar(S, Index, 1);
}

char16_t* CharInsertPChar(std::span<char16_t> S, char16_t C, std::uint32_t Index)
{
    const char16_t unit[2] = {C, 0};
    return SubInsertPChar(S, unit, Index);
}

bool CharPosPChar(const char16_t* S, char16_t C, std::uint32_t& Position)
{
    for (std::uint32_t i = 0; S[i] != 0; ++i) {
        if (S[i] == C) {
            Position = i;
            return true;
        }
    }
    return false;
}

char16_t* SubCopyPChar(std::span<char16_t> Dest, const char16_t* Src, std::uint32_t Index, std::uint32_t Count)
{
    if (Dest.empty()) {
        return Dest.data();
    }
    const std::uint32_t length = Length(Src);
    const std::uint32_t copied = Index >= length ? 0 : std::min({Count, length - Index, Room(Dest)});
    std::copy_n(Src + (Index < length ? Index : 0), copied, Dest.begin());
    Dest[copied] = 0;
    return Dest.data();
}

char16_t* SubDeletePChar(std::span<char16_t> S, std::uint32_t Index, std::uint32_t Count)
{
    if (S.empty()) {
        return S.data();
    }
    const std::uint32_t length = TerminatedLength(S);
    if (Index >= length) {
        return S.data();
    }
    if (Count < length - Index) {
        MoveTail(S.data(), Index + Count, Index, length);
    } else {
        S[Index] = 0;
    }
    return S.data();
}

char16_t* SubInsertPChar(std::span<char16_t> Dest, const char16_t* Src, std::uint32_t Index)
{
    const std::uint32_t inserted = Length(Src);
    if (inserted == 0 || Dest.empty()) {
        return Dest.data();
    }
    const std::uint32_t length = TerminatedLength(Dest);
    if (inserted > Room(Dest) - length) {
        return Dest.data(); // would not fit: refused
    }
    const std::uint32_t at = std::min(Index, length);
    MoveTail(Dest.data(), at, at + inserted, length);
    std::copy_n(Src, inserted, Dest.begin() + at);
    return Dest.data();
}

bool SubPosPChar(const char16_t* S, const char16_t* Sub, std::uint32_t& Position)
{
    const std::u16string_view text(S);
    const std::size_t found = Sub[0] == 0 ? std::u16string_view::npos : text.find(Sub);
    Position = found == std::u16string_view::npos ? 0 : static_cast<std::uint32_t>(found);
    return found != std::u16string_view::npos;
}

char16_t* TrimSpacesPChar(std::span<char16_t> S)
{
    if (S.empty()) {
        return S.data();
    }
    std::uint32_t length = TerminatedLength(S);
    while (length > 0 && S[length - 1] == u' ') {
        --length;
    }
    S[length] = 0;
    std::uint32_t leading = 0;
    while (leading < length && S[leading] == u' ') {
        ++leading;
    }
    return SubDeletePChar(S, 0, leading);
}

char16_t* TrimTrailingBlanksPChar(std::span<char16_t> S)
{
    if (S.empty()) {
        return S.data();
    }
    std::uint32_t length = TerminatedLength(S);
    while (length > 0 && S[length - 1] <= u' ') {
        --length;
    }
    S[length] = 0;
    return S.data();
}

} // namespace qel
