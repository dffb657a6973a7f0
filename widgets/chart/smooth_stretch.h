// Smooth bitmap resampling: scales the whole of a bitmap into another of
// any size with a windowed filter instead of dropping pixels, rows first,
// then columns, on 24-bit pixels with 10-bit fixed-point weights.
#pragma once

namespace plat {
class TBitmap;
} // namespace plat

namespace qel {

// Resamples all of Source into all of Dest at Dest's present size, with the
// Lanczos window, or with the triangle when Fast. Both bitmaps become 24
// bits per pixel. Nothing happens when either is missing or has a side of
// 1 pixel or less. The first and last target pixels of a row or column lie
// exactly on the first and last source pixels.
void SmoothStretch(plat::TBitmap* Source, plat::TBitmap* Dest, bool Fast = false);

} // namespace qel
