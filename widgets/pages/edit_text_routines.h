// Routines on zero-terminated UTF-16 texts that the paragraph editor's text
// model uses for word wrapping, tab columns, line lookup and in-place edits.
//
// Lengths, positions and columns are 16-bit counts of UTF-16 units; positions
// are 0-based offsets unless a routine says otherwise. A blank is a space or a
// tab. A tab moves the column to the next multiple of the tab size; any other
// unit advances it by 1. Tab sizes are 1 to 255 (the editor refuses 0).
//
// The editor's units call several routines by a second name; those names are
// the inline aliases at the end of this file, over the same implementation.
#pragma once

#include <cstdint>

namespace qel {

// True for a space (32) and a tab (9).
bool IsBlankChar(char16_t Ch);

// The position just after the last blank before P; P when no blank stands
// before it.
std::uint16_t LastBlankBreak(const char16_t* Text, std::uint16_t P);

// Where the line after a line of P units starting at Text begins. At a
// terminator at P: Text + P. Otherwise the units from P back to 1 (never 0)
// are searched for a blank or a hyphen; the next line starts at the first
// non-blank after the first one found (so a hyphen at P itself ends a line
// of P + 1 units). Without one: Text + P.
const char16_t* FindWrapPoint(const char16_t* Text, std::int32_t P);

// Display column reached after the first L units (or at a terminator when it
// comes first), from column 0.
std::uint16_t TabbedWidth(const char16_t* Text, std::uint16_t L, std::uint8_t TabSize);

// The 1-based number of the unit that shows at display column C: the count of
// leading units that fill C columns, or the text's length + 1 when the text
// ends first.
std::uint16_t PosOfColumn(const char16_t* Text, std::uint16_t C, std::uint8_t TabSize);

// The number of the line holding 1-based position P, where Starts[k - 1] is
// the 0-based offset of line k's first unit (Starts[0] is 0) and N the number
// of lines. P - 1 is taken as an unsigned 16-bit number, so P = 0 gives N.
std::uint16_t LineOfPos(const std::uint16_t* Starts, std::uint16_t N, std::uint16_t P);

// True when a tab stands among the first L units, and when L is 0.
bool HasTab(const char16_t* Text, std::uint32_t L);

// Pads a text shorter than L with spaces up to L and terminates it there.
// IN: the buffer has room for L + 1 units.
char16_t* PadToLength(char16_t* Text, std::uint16_t L);

// The 1-based position of the first line feed among the first L units, or L.
std::uint16_t FirstLineLength(const char16_t* Text, std::uint16_t L);

// Removes K units at P from a text of length L: the L - P - K + 1 units from
// P + K through the terminator move down to P. A count of exactly L - P cuts
// the text at P; a larger one moves nothing. Nothing happens when P is not
// inside the text or K is not positive (that would move units past L).
void DeleteCharsAt(char16_t* Text, std::int32_t L, std::int32_t K, std::int32_t P);

// Inserts K units of Src at P into Dest of length L when P <= L and K > 0.
// IN: Dest has room for L + K + 1 units.
char16_t* InsertCharsAt(char16_t* Dest, const char16_t* Src, std::uint16_t L, std::uint16_t K, std::uint16_t P);

// Second names of the routines above.
inline bool IsWhiteSpace(char16_t Ch) { return IsBlankChar(Ch); }
inline const char16_t* FindBreakPoint(const char16_t* P, std::int32_t N) { return FindWrapPoint(P, N); }
inline std::uint16_t FindBreakPosition(const char16_t* S, std::uint16_t Max) { return LastBlankBreak(S, Max); }
inline std::uint16_t CharsInWidth(const char16_t* P, std::uint16_t Width, std::uint8_t TabSize)
{
    return PosOfColumn(P, Width, TabSize);
}
inline bool HasTabs(const char16_t* P, std::uint32_t Count) { return HasTab(P, Count); }
// Map[0] holds the start of line 1; the search starts at line Start.
inline std::uint16_t FindLineOfPos(const std::uint16_t* Map, std::uint16_t Start, std::uint16_t Pos)
{
    return LineOfPos(Map, Start, Pos);
}
inline char16_t* PadWithSpaces(char16_t* S, std::uint16_t N) { return PadToLength(S, N); }
inline char16_t* InsertChars(char16_t* S, const char16_t* Src, std::uint16_t Len, std::uint16_t Count, std::uint16_t At)
{
    return InsertCharsAt(S, Src, Len, Count, At);
}
inline void DeleteChars(char16_t* S, std::int32_t Len, std::int32_t Count, std::int32_t At)
{
    DeleteCharsAt(S, Len, Count, At);
}
inline std::uint16_t LengthToLineFeed(const char16_t* S, std::uint16_t N) { return FirstLineLength(S, N); }

} // namespace qel
