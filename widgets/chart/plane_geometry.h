// Plane geometry the chart canvases, gradients and pies share: the turn of
// three points, rectangles from corners, bounds of point sets and the
// length of a vector. Device-style coordinates: y grows downwards.
#pragma once

#include "widgets/chart/chart_points.h"

#include <span>

namespace qel {

// The turn A -> B -> C, (A - B) x (C - B), is negative. Computed exactly,
// whatever the coordinates.
bool NegativeCross(const TPoint& A, const TPoint& B, const TPoint& C);
// The same in single precision; a NaN turn is not negative.
bool NegativeCrossF(const TPointFloat& A, const TPointFloat& B, const TPointFloat& C);

TRect MakeRect(int Left, int Top, int Right, int Bottom);
// The rectangle of two corners: Left <= Right and Top <= Bottom.
TRect OrderedRect(int X0, int Y0, int X1, int Y1);
TRect OrderedRect(const TRect& R);

// The smallest rectangle holding the points, its right and bottom edges one
// past the largest coordinates. Points must not be empty.
TRect PointsBounds(std::span<const TPoint> Points);
TRect TriangleBounds(std::span<const TPoint, 3> P);
// PointsBounds, or (0, 0, 0, 0) for no points.
TRect PolygonBounds(std::span<const TPoint> Points);

// (J - I) x (K - J): each product exact, their difference in single
// precision.
float TurnAsSingle(const TPoint& I, const TPoint& J, const TPoint& K);

// The length of (A, B), computed in double precision.
float Hypotenuse(float A, float B);

// The point at Angle degrees (counter-clockwise from three o'clock, y
// downwards) of the ellipse in the box, on whole half-sizes of the box.
TPoint EllipseAnglePoint(int Left, int Top, int Right, int Bottom, float Angle);

} // namespace qel
