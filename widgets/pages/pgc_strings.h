// String primitives of the component library on zero-terminated UTF-16
// buffers: the shift-table search of the editor's find command, fills, tab
// expansion, number texts, inserts, deletes and trims.
//
// Indices are 0-based positions in UTF-16 units; lengths count units without
// the terminator. A routine that writes takes its buffer as a span whose size
// is the buffer's capacity in units, terminator included, and never writes
// past it: texts it builds are cut to fit, and an insert that would not fit
// changes nothing. A buffer of capacity 0 is left alone. Inputs read as
// plain pointers must be zero-terminated.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace qel {

// Per character code 0 .. 255: how far the search may move on.
using TShiftTable = std::array<std::uint8_t, 256>;

// Fills the table for the pattern: every entry the pattern's length n (of
// its last 255 units when longer); each unit c <= 255 but the last gets the
// distance from its last place to the pattern's end.
void BuildShiftTable(const char16_t* Pattern, TShiftTable& Table);

// The first occurrence of Pattern in the first BufferLength units of Buffer;
// Position is its start. A null or empty pattern gives false and leaves
// Position alone; a one-unit pattern that is absent leaves Position at
// BufferLength; a longer absent one leaves it alone. Table must be built
// from Pattern.
bool ShiftTableSearch(const char16_t* Buffer, std::uint32_t BufferLength, const TShiftTable& Table,
    const char16_t* Pattern, std::uint32_t& Position);
// The same with each buffer unit upper-cased first; Pattern must be given in
// upper case and Table built from it.
bool ShiftTableSearchNoCase(const char16_t* Buffer, std::uint32_t BufferLength, const TShiftTable& Table,
    const char16_t* Pattern, std::uint32_t& Position);

// Count copies of C and the terminator.
char16_t* FillCharsPChar(std::span<char16_t> Dest, char16_t C, std::uint32_t Count);

// Src with every tab replaced by spaces up to the next multiple of TabSize,
// counted from the start of Dest. A tab size of 0 is refused: Dest stays as
// it was and the result is nullptr.
char16_t* ExpandTabsPChar(std::span<char16_t> Dest, const char16_t* Src, std::uint8_t TabSize);

// 32 "0"/"1", most significant bit first.
char16_t* LongToBitsPChar(std::span<char16_t> Dest, std::uint32_t Value);
// 8 upper-case hexadecimal digits.
char16_t* LongToHexPChar(std::span<char16_t> Dest, std::uint32_t Value);
// 4 upper-case hexadecimal digits.
char16_t* WordToHexPChar(std::span<char16_t> Dest, std::uint16_t Value);
// 12 octal digits with leading zeros (the first is always 0).
char16_t* LongToOctalPChar(std::span<char16_t> Dest, std::uint32_t Value);

// The Unicode simple case mapping of one unit; surrogates and units whose
// other case lies outside 16 bits stay as they are.
char16_t UpCaseWideChar(char16_t C);
char16_t LowCaseWideChar(char16_t C);

// Removes the unit at Index when Index < length.
char16_t* CharDeletePChar(std::span<char16_t> S, std::uint32_t Index);
// Inserts C before Index when Index < length, else appends it; a C of 0
// changes nothing.
char16_t* CharInsertPChar(std::span<char16_t> S, char16_t C, std::uint32_t Index);
// The first occurrence of C before the terminator; Position is written only
// when found.
bool CharPosPChar(const char16_t* S, char16_t C, std::uint32_t& Position);

// min(Count, length - Index) units of Src from Index; empty when Index is
// at or beyond Src's length. Src must not lie in Dest.
char16_t* SubCopyPChar(std::span<char16_t> Dest, const char16_t* Src, std::uint32_t Index, std::uint32_t Count);
// Removes Count units at Index (all from Index when Count reaches the end);
// nothing when Index >= length.
char16_t* SubDeletePChar(std::span<char16_t> S, std::uint32_t Index, std::uint32_t Count);
// Inserts Src before min(Index, length of Dest); an empty Src changes
// nothing. Src must not lie in Dest.
char16_t* SubInsertPChar(std::span<char16_t> Dest, const char16_t* Src, std::uint32_t Index);
// The first occurrence of a non-empty Sub in S; Position is 0 when absent.
bool SubPosPChar(const char16_t* S, const char16_t* Sub, std::uint32_t& Position);

// Reads a 64-bit integer: leading spaces, an optional sign, then decimal
// digits or "$" and hexadecimal digits (the first "0x" counts as "$");
// trailing units up to 32 are ignored. On failure Value is the 0-based
// position where reading stopped in the text so rewritten (the end when
// digits are missing or the number does not fit); a text of 256 units or
// more gives -1. Hexadecimal takes up to 64 bits as a two's-complement value.
bool TextToInt64PChar(const char16_t* Text, std::int64_t& Value);

// Removes trailing and leading spaces (32 only).
char16_t* TrimSpacesPChar(std::span<char16_t> S);
// Removes trailing units up to 32.
char16_t* TrimTrailingBlanksPChar(std::span<char16_t> S);

// "1.2500E+0003" -> "1.25E+3": the zeros and a "." before the first "E"
// (never the first unit) and the zeros after the exponent's sign go.
std::u16string TrimExponentZeros(std::u16string_view S);
// "12.500" -> "12.5", "3.000" -> "3": trailing zeros (keeping one unit),
// then a trailing ".", then blanks and controls at both ends go.
std::u16string TrimTrailingZeros(std::u16string_view S);

// Second names of the routines above.
inline void MakeSkipTable(const char16_t* Pattern, TShiftTable& Table) { BuildShiftTable(Pattern, Table); }
inline bool SearchText(const char16_t* Text, std::uint32_t Count, const TShiftTable& Table, const char16_t* Pattern,
    std::uint32_t& Pos)
{
    return ShiftTableSearch(Text, Count, Table, Pattern, Pos);
}
inline bool SearchTextNoCase(const char16_t* Text, std::uint32_t Count, const TShiftTable& Table,
    const char16_t* Pattern, std::uint32_t& Pos)
{
    return ShiftTableSearchNoCase(Text, Count, Table, Pattern, Pos);
}
inline char16_t* FillWideChars(std::span<char16_t> Dest, char16_t Ch, std::uint32_t N)
{
    return FillCharsPChar(Dest, Ch, N);
}
inline char16_t* DetabText(std::span<char16_t> Dest, const char16_t* Src, std::uint8_t TabSize)
{
    return ExpandTabsPChar(Dest, Src, TabSize);
}

} // namespace qel
