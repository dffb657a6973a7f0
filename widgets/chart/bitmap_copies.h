// Whole-pixel copies between bitmaps for the geometric filters: a copy at
// an offset, clipped to the target, and a nearest-pixel stretch of one whole
// bitmap onto another. Between bitmaps of one pixel format they move rows
// directly; otherwise they draw through the target's canvas, which gives
// the same pixels.
#pragma once

#include <cstdint>

namespace plat {
class TBitmap;
} // namespace plat

namespace qel {

// Source drawn on Target with its top-left corner at (X, Y); what falls
// outside Target is left out.
void DrawAt(plat::TBitmap& Target, plat::TBitmap& Source, std::int64_t X, std::int64_t Y);

// The whole of Source stretched onto the whole of Target, each target pixel
// taking the source pixel under its centre.
void StretchNearest(plat::TBitmap& Target, plat::TBitmap& Source);

// The whole of Source resampled onto the whole of Target by SmoothStretch;
// where that cannot work (a side of 1 pixel) the nearest pixels. Both
// bitmaps become 24 bits per pixel.
void StretchSmoothly(plat::TBitmap& Target, plat::TBitmap& Source);

// The source index under the centre of target index I when N target
// pixels cover M source pixels.
inline int NearestSourceIndex(std::int64_t I, std::int64_t N, std::int64_t M)
{
    return static_cast<int>((2 * I + 1) * M / (2 * N));
}

} // namespace qel
