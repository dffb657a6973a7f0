// Whole-pixel copies between bitmaps for the geometric filters: a copy at
// an offset, clipped to the target, and nearest-pixel stretches of one
// bitmap's rectangle onto another's. Between bitmaps of one pixel format
// they move rows directly; otherwise they draw through the target's
// canvas, which gives the same pixels.
#pragma once

#include "platform/canvas/graphics_types.h"

#include <cstdint>

namespace plat {
class TBitmap;
} // namespace plat

namespace qel {

// Source drawn on Target with its top-left corner at (X, Y); what falls
// outside Target is left out.
void DrawAt(plat::TBitmap& Target, plat::TBitmap& Source, std::int64_t X, std::int64_t Y);

// The rectangle From of Source stretched onto the rectangle To of Target
// (right and bottom edges excluded), each target pixel taking the source
// pixel under its centre, as the canvas's rectangle copy does: a target
// pixel outside Target, or whose source pixel lies outside Source, stays.
void StretchNearest(plat::TBitmap& Target, const plat::TRect& To, plat::TBitmap& Source, const plat::TRect& From);

// The whole of Source stretched onto the whole of Target likewise.
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
