// Point types of the chart library: the drawing layer's whole-pixel points
// and rectangles, single-precision points and rectangles, the growable
// arrays of both, and the rounding that turns a real coordinate into a
// pixel.
#pragma once

#include "widgets/chart/filter_pixels.h"

#include "platform/canvas/graphics_types.h"

#include <cstdint>
#include <limits>
#include <vector>

namespace qel {

using plat::TPoint;
using plat::TRect;

struct TPointFloat {
    float X = 0;
    float Y = 0;
    friend bool operator==(const TPointFloat&, const TPointFloat&) = default;
};

struct TRectF {
    float Left = 0;
    float Top = 0;
    float Right = 0;
    float Bottom = 0;
    friend bool operator==(const TRectF&, const TRectF&) = default;
};

using TPointArray = std::vector<TPoint>;
using TPointFloatArray = std::vector<TPointFloat>;
// The kind of each point of a recorded path.
using TPathPointTypes = std::vector<std::uint8_t>;

// X rounded to the nearest integer, halves to the even neighbour, brought
// into the int range (a NaN gives the lowest int).
inline int RoundToPixel(double X)
{
    return static_cast<int>(NearestWithin(X, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

} // namespace qel
