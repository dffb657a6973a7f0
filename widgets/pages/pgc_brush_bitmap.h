// The library's small brush unit: the 8 x 8 brush picture "PGOLBRUSH" it
// loads at start-up and frees at the end.
#pragma once

namespace plat {
class TBitmap;
}

namespace qel {

// The brush picture from InitBrushBitmapUnit to FinalizeBrushBitmapUnit;
// nullptr outside.
plat::TBitmap* PgcBrushBitmap();

// Loads "PGOLBRUSH" into a new bitmap (an empty one when the library lacks it).
void InitBrushBitmapUnit();
// Frees the bitmap.
void FinalizeBrushBitmapUnit();

} // namespace qel
