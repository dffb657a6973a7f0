// Pixel records and row tables: how the chart's bitmap routines and filters
// reach the pixels of a 24-bit or 32-bit bitmap, one row address per row,
// index 0 the top row.
#pragma once

#include <cstdint>
#include <vector>

namespace plat {
class TBitmap;
class TDeviceContext;
} // namespace plat

namespace qel {

// One pixel of a 24-bit row.
struct TRGB {
    std::uint8_t Blue;
    std::uint8_t Green;
    std::uint8_t Red;
};
static_assert(sizeof(TRGB) == 3 && alignof(TRGB) == 1);

// One pixel of a 32-bit row; the colour bytes lie as in TRGB.
struct TRGBA {
    std::uint8_t Blue;
    std::uint8_t Green;
    std::uint8_t Red;
    std::uint8_t Alpha;
};
static_assert(sizeof(TRGBA) == 4 && alignof(TRGBA) == 1);

// The address of a row's first pixel; the row is indexed along its width.
using PRGBs = TRGB*;
using PRGBAs = TRGBA*;

using TRGBArray = std::vector<PRGBs>;
using TRGBAArray = std::vector<PRGBAs>;

// Converts Bitmap to 24 (32) bits per pixel and answers its row table: rows
// 0 and 1 are the bitmap's own, each further row lies one row distance
// below the one before. An empty bitmap gives an empty table, a bitmap of
// one row a table of one row. The addresses hold while the bitmap keeps its
// size and pixel format.
TRGBArray ScanLines24(plat::TBitmap& Bitmap);
TRGBAArray ScanLines32(plat::TBitmap& Bitmap);

// The bits per pixel of what the device context draws on; a context on no
// pixels (an empty bitmap's, a recording) answers the screen's 32.
int DeviceBitsPerPixel(plat::TDeviceContext* DC);

} // namespace qel
