// What the chart's pixel filters share: rounding to the nearest integer
// with halves to the even neighbour, clamping to a byte, and walks over the
// 24-bit pixels of a rectangle through a row table. All of it inline and
// free of library calls, for the filters' inner loops.
#pragma once

#include "widgets/chart/pixel_rows.h"

#include "platform/canvas/graphics_types.h"

#include <cstdint>

namespace qel {

// X rounded to the nearest integer, halves to the even neighbour; exact for
// |X| below 2^51. Adding 1.5 * 2^52 leaves no fraction bits, so the
// addition itself rounds as nearbyint does.
inline double RoundHalfEven(double X)
{
    constexpr double NoFractionBits = 6755399441055744.0;
    return (X + NoFractionBits) - NoFractionBits;
}

// The nearest integer to X, for X known to lie well inside the int range.
inline int NearestOf(double X)
{
    return static_cast<int>(RoundHalfEven(X));
}

// The nearest integer to X brought into Lo .. Hi; a NaN gives Lo.
inline std::int64_t NearestWithin(double X, std::int64_t Lo, std::int64_t Hi)
{
    const auto L = static_cast<double>(Lo);
    const auto H = static_cast<double>(Hi);
    return static_cast<std::int64_t>(RoundHalfEven(X > L ? (X < H ? X : H) : L));
}

inline std::uint8_t ClampByte(std::int64_t V)
{
    return static_cast<std::uint8_t>(V < 0 ? 0 : V > 255 ? 255 : V);
}

// A table of the 256 byte values a byte becomes.
using TByteTable = std::uint8_t[256];

// Rect lies inside the rows and holds at least one pixel.
inline bool HasPixels(const plat::TRect& Rect)
{
    return Rect.Left <= Rect.Right && Rect.Top <= Rect.Bottom;
}

// Work(pixel) for each pixel of Rect, row by row, through a 24-bit or a
// 32-bit row table.
template <class TRows, class TWork>
void ForEachPixel(const TRows& Lines, const plat::TRect& Rect, TWork&& Work)
{
    for (int Y = Rect.Top; Y <= Rect.Bottom; ++Y) {
        auto* Row = Lines[static_cast<std::size_t>(Y)];
        for (int X = Rect.Left; X <= Rect.Right; ++X) {
            Work(Row[X]);
        }
    }
}

// Each colour byte of Rect's 24-bit pixels becomes its entry in Table.
inline void MapBytes(const TRGBArray& Lines, const plat::TRect& Rect, const TByteTable& Table)
{
    if (!HasPixels(Rect)) {
        return;
    }
    const std::ptrdiff_t First = static_cast<std::ptrdiff_t>(Rect.Left) * 3;
    const std::ptrdiff_t End = (static_cast<std::ptrdiff_t>(Rect.Right) + 1) * 3;
    for (int Y = Rect.Top; Y <= Rect.Bottom; ++Y) {
        auto* Row = reinterpret_cast<std::uint8_t*>(Lines[static_cast<std::size_t>(Y)]);
        for (std::ptrdiff_t K = First; K < End; ++K) {
            Row[K] = Table[Row[K]];
        }
    }
}

} // namespace qel
