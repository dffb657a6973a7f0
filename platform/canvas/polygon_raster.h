// Turns outlines into pixel spans: a pixel belongs to a shape when its centre
// lies inside, so that shapes end before their right and bottom edges. The
// one rasteriser behind regions, filled shapes and paths.
#pragma once

#include "platform/canvas/graphics_types.h"

#include <vector>

namespace plat {

struct TPointF {
    double X = 0;
    double Y = 0;
};

// The pixels [X0, X1) of row Y.
struct TSpan {
    int Y = 0;
    int X0 = 0;
    int X1 = 0;
};

using TPolygonF = std::vector<TPointF>;

// Appends the spans of the polygons (each closed implicitly) under the fill
// mode (ALTERNATE or WINDING), only within limits; rows in ascending order.
void RasterizePolygons(const std::vector<TPolygonF>& polygons, int fillMode, const TRect& limits,
    std::vector<TSpan>& spans);

// Outline points of the ellipse inscribed in the box (right and bottom
// exclusive), counter-clockwise as seen on the screen from angle 0.
TPolygonF EllipseOutline(double left, double top, double right, double bottom);
// Points of the elliptic arc from angle a0 sweeping by sweep radians
// (positive: counter-clockwise on the screen), both ends included.
TPolygonF ArcPoints(double cx, double cy, double rx, double ry, double a0, double sweep);
// Outline of the box with corners rounded by ellipses of cornerWidth x cornerHeight.
TPolygonF RoundRectOutline(double left, double top, double right, double bottom, double cornerWidth,
    double cornerHeight);

// Cuts the segment a-b to the box (Liang-Barsky); t0 receives where the
// kept part starts (0 .. 1 along a-b). False when nothing is left.
bool ClipSegment(TPointF& a, TPointF& b, const TRect& box, double& t0);

// The largest magnitude a shape coordinate keeps; larger ones saturate.
constexpr int MaxShapeCoordinate = (1 << 30) - 1; // twice it still fits in an int

} // namespace plat
