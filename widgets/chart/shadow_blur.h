// Smooth shadows: the shape painted in the shadow colour on white, blurred
// with a separable kernel and multiplied into the canvas's off-screen
// bitmap, so that white leaves the picture alone and colour darkens it.
#pragma once

#include "widgets/chart/chart_points.h"

#include <span>
#include <vector>

namespace plat {
class TBitmap;
} // namespace plat

namespace qel {

class TChtCanvas;
class TChtCanvas3D;
class TChtShadow;

// The 2R + 1 integer weights of the blur of radius R (a negative radius
// counts as 0): 100000 in the middle, falling off as
// ((Strength + 180) / 100) ^ -(distance^2 / R) to both sides.
std::vector<int> BlurKernel(int Radius, float Strength);

// Blurs the Width x Height picture of Source over Radius pixels and
// multiplies it into Dest with its top-left corner at (X, Y). Pixels
// outside Dest are left out, and the last row of the area that falls on
// Dest takes part in no vertical window; with Clip only pixels inside the
// clip region of Canvas's device change.
void BlurMultiply(plat::TBitmap& Source, plat::TBitmap& Dest, int X, int Y, int Width, int Height, int Radius,
    float Strength, TChtCanvas& Canvas, bool Clip);

// The shadow of the polygon (when Points are given), the ellipse or donut
// (IsEllipse; a hole of HolePercent), the rounded or the plain rectangle
// Rect, softened by the shadow's BlurSize and multiplied into the canvas's
// off-screen bitmap. A shape too large for a bitmap raises the platform's
// graphics error.
void SmoothShadow(const TChtShadow& Shadow, TChtCanvas3D& Canvas, const TRect& Rect, bool IsEllipse, int RoundSize,
    std::span<const TPoint> Points, int HolePercent);

} // namespace qel
