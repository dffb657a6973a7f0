// One-pixel pen lines: the pixels a cosmetic pen sets between two points
// (the end point left out), split into the pen's dashes and gaps.
#pragma once

#include "platform/canvas/graphics_types.h"
#include "platform/canvas/polygon_raster.h"

#include <cstdint>
#include <vector>

namespace plat {

struct TLineSpans {
    std::vector<TSpan> Dashes; // pixels of the pen colour
    std::vector<TSpan> Gaps;   // pixels between dashes (the background colour when opaque)
};

// Appends the line from (x0, y0) to (x1, y1), without its end pixel, as
// spans of scale x scale blocks; only the part within limits (logical
// pixels) is traced. style: PS_SOLID ... PS_ALTERNATE.
void TraceCosmeticLine(int x0, int y0, int x1, int y1, std::uint32_t style, int scale, const TRect& limits,
    TLineSpans& out);

} // namespace plat
