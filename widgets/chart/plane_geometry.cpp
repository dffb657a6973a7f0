// The shared plane geometry: turns, ordered rectangles, point bounds.
#include "widgets/chart/plane_geometry.h"

#include "widgets/chart/chart_canvas_unit.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdint>

namespace qel {

namespace {

// Wide enough for the product of two differences of 32-bit coordinates.
__extension__ typedef __int128 TWideProduct;

} // namespace

bool NegativeCross(const TPoint& A, const TPoint& B, const TPoint& C)
{
    const std::int64_t ABx = std::int64_t{A.X} - B.X;
    const std::int64_t ABy = std::int64_t{A.Y} - B.Y;
    const std::int64_t CBx = std::int64_t{C.X} - B.X;
    const std::int64_t CBy = std::int64_t{C.Y} - B.Y;
    return TWideProduct{ABx} * CBy - TWideProduct{CBx} * ABy < 0;
}

bool NegativeCrossF(const TPointFloat& A, const TPointFloat& B, const TPointFloat& C)
{
    const float Turn = (A.X - B.X) * (C.Y - B.Y) - (C.X - B.X) * (A.Y - B.Y);
    return Turn < 0;
}

float TurnAsSingle(const TPoint& I, const TPoint& J, const TPoint& K)
{
    const TWideProduct First = TWideProduct{std::int64_t{J.X} - I.X} * (std::int64_t{K.Y} - J.Y);
    const TWideProduct Second = TWideProduct{std::int64_t{J.Y} - I.Y} * (std::int64_t{K.X} - J.X);
    return static_cast<float>(First) - static_cast<float>(Second);
}

TRect MakeRect(int Left, int Top, int Right, int Bottom)
{
    return {Left, Top, Right, Bottom};
}

TRect OrderedRect(int X0, int Y0, int X1, int Y1)
{
    return {std::min(X0, X1), std::min(Y0, Y1), std::max(X0, X1), std::max(Y0, Y1)};
}

TRect OrderedRect(const TRect& R)
{
    return OrderedRect(R.Left, R.Top, R.Right, R.Bottom);
}

TRect PointsBounds(std::span<const TPoint> Points)
{
    assert(!Points.empty());
    TRect Bounds{Points[0].X, Points[0].Y, Points[0].X, Points[0].Y};
    for (const TPoint& P : Points.subspan(1)) {
        if (P.X < Bounds.Left) {
            Bounds.Left = P.X;
        } else if (P.X > Bounds.Right) {
            Bounds.Right = P.X;
        }
        if (P.Y < Bounds.Top) {
            Bounds.Top = P.Y;
        } else if (P.Y > Bounds.Bottom) {
            Bounds.Bottom = P.Y;
        }
    }
    Bounds.Right = plat::SaturateInt(std::int64_t{Bounds.Right} + 1);
    Bounds.Bottom = plat::SaturateInt(std::int64_t{Bounds.Bottom} + 1);
    return Bounds;
}

TRect TriangleBounds(std::span<const TPoint, 3> P)
{
    return PointsBounds(P);
}

TRect PolygonBounds(std::span<const TPoint> Points)
{
    return Points.empty() ? TRect{} : PointsBounds(Points);
}

float Hypotenuse(float A, float B)
{
    const double DA = A;
    const double DB = B;
    return static_cast<float>(std::sqrt(DA * DA + DB * DB));
}

TPoint EllipseAnglePoint(int Left, int Top, int Right, int Bottom, float Angle)
{
    const std::int64_t HalfWidth = (std::int64_t{Right} - Left) / 2;
    const std::int64_t HalfHeight = (std::int64_t{Bottom} - Top) / 2;
    const auto Radians = static_cast<float>(Angle * DegToRad);
    const float Across = static_cast<float>(HalfWidth) * static_cast<float>(std::cos(Radians));
    const float Up = static_cast<float>(HalfHeight) * static_cast<float>(std::sin(Radians));
    return {RoundToPixel(static_cast<double>(Left + HalfWidth) + RoundToPixel(Across)),
        RoundToPixel(static_cast<double>(Top + HalfHeight) - RoundToPixel(Up))};
}

} // namespace qel
