// The per-pixel mixing rules: ROP2 mix modes of pens and brushes, ternary
// raster operations of block transfers, and the pixel format the drawing
// surfaces hold (0xXXRRGGBB words, read as bytes B, G, R, X).
#pragma once

#include "platform/canvas/colors.h"

#include <cstdint>

namespace plat {

constexpr std::uint32_t PixelFromColor(COLORREF c)
{
    return 0xFF000000u | (c & 0xFFu) << 16 | (c & 0xFF00u) | (c >> 16 & 0xFFu);
}
constexpr COLORREF ColorFromPixel(std::uint32_t p)
{
    return (p >> 16 & 0xFFu) | (p & 0xFF00u) | (p & 0xFFu) << 16;
}

// Mix mode R2_BLACK .. R2_WHITE of pen pixel p onto destination d; the
// result is opaque. Unknown modes copy the pen.
std::uint32_t MixRop2(int mode, std::uint32_t p, std::uint32_t d);
// Ternary raster operation (bits 16..23 of rop) of pattern p, source s and
// destination d; the result is opaque.
std::uint32_t MixRop3(std::uint32_t rop, std::uint32_t p, std::uint32_t s, std::uint32_t d);
// True when the operation reads the source, or the pattern.
bool RopUsesSource(std::uint32_t rop);
bool RopUsesPattern(std::uint32_t rop);

} // namespace plat
