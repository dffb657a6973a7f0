// Boxes and planes of the 3D chart canvas: four projected corners filled
// with the pen and brush, a cube's faces drawn only when they turn to the
// viewer, its sides optionally darkened by a gradient, and the thin cone,
// sphere and surface operations.
#include "widgets/chart/cht_canvas3d.h"

#include "widgets/chart/color_shades.h"
#include "widgets/chart/solid_settings.h"

#include <cmath>
#include <cstdint>

namespace qel {

namespace {

// Wide enough for the product of two differences of 32-bit coordinates.
__extension__ typedef __int128 TWideProduct;

// The sign of (C - Pivot) x (A - Pivot), exact for any coordinates: positive
// when A, Pivot, C turn to the viewer.
int TurnAbout(const TPoint& A, const TPoint& Pivot, const TPoint& C)
{
    const TWideProduct Turn = TWideProduct{std::int64_t{C.X} - Pivot.X} * (std::int64_t{A.Y} - Pivot.Y)
        - TWideProduct{std::int64_t{A.X} - Pivot.X} * (std::int64_t{C.Y} - Pivot.Y);
    return (Turn > 0) - (Turn < 0);
}

// A face's orientation, taken about its third corner.
int FaceTurn(const TFourPoints& P)
{
    return TurnAbout(P[1], P[2], P[3]);
}

} // namespace

void TChtCanvas3D::PolygonFourPoints()
{
    Polygon(IPoints);
}

void TChtCanvas3D::PlaneWithZ(const TPoint& P1, const TPoint& P2, const TPoint& P3, const TPoint& P4, int Z)
{
    IPoints = {Calculate3DPosition(P1, Z), Calculate3DPosition(P2, Z), Calculate3DPosition(P3, Z),
        Calculate3DPosition(P4, Z)};
    PolygonFourPoints();
}

void TChtCanvas3D::RectangleWithZ(const TRect& Rect, int Z)
{
    IPoints = {Calculate3DPosition(Rect.Left, Rect.Top, Z), Calculate3DPosition(Rect.Right, Rect.Top, Z),
        Calculate3DPosition(Rect.Right, Rect.Bottom, Z), Calculate3DPosition(Rect.Left, Rect.Bottom, Z)};
    PolygonFourPoints();
}

void TChtCanvas3D::RectangleZ(int Left, int Top, int Bottom, int Z0, int Z1)
{
    IPoints = {Calculate3DPosition(Left, Top, Z0), Calculate3DPosition(Left, Top, Z1),
        Calculate3DPosition(Left, Bottom, Z1), Calculate3DPosition(Left, Bottom, Z0)};
    PolygonFourPoints();
}

void TChtCanvas3D::RectangleY(int Left, int Top, int Right, int Z0, int Z1)
{
    IPoints = {Calculate3DPosition(Left, Top, Z0), Calculate3DPosition(Right, Top, Z0),
        Calculate3DPosition(Right, Top, Z1), Calculate3DPosition(Left, Top, Z1)};
    PolygonFourPoints();
}

void TChtCanvas3D::Cube(int Left, int Right, int Top, int Bottom, int Z0, int Z1, bool DarkSides, int RoundSize)
{
    (void)RoundSize;
    const auto P = [this](int X, int Y, int Z) { return Calculate3DPosition(X, Y, Z); };
    const TPoint A = P(Left, Top, Z0);
    const TPoint Bf = P(Right, Top, Z0);
    const TPoint C = P(Right, Bottom, Z0);
    const TPoint D = P(Right, Top, Z1);
    const TColor FaceColor = Brush()->Style() == plat::bsSolid ? Brush()->Color() : GetBackColor();
    const bool Clear = Brush()->Style() == plat::bsClear;

    const auto FillSide = [&](TGradientDirection Direction, std::uint8_t Amount) {
        if (!DarkSides) {
            PolygonFourPoints();
            return;
        }
        TChtGradient* Shade = Gradient();
        Shade->SetDirection(Direction);
        Shade->SetStartColor(FaceColor);
        Shade->SetEndColor(DarkenColorBy(FaceColor, Amount));
        Shade->SetVisible(true);
        PolygonFourPoints();
        Shade->SetVisible(false);
    };

    IPoints = {A, Bf, C, P(Left, Bottom, Z0)};
    if (!Clear && FaceTurn(IPoints) <= 0) {
        IPoints = {P(Left, Top, Z1), P(Right, Top, Z1), P(Right, Bottom, Z1), P(Left, Bottom, Z1)};
    }
    PolygonFourPoints();

    IPoints = {Bf, D, P(Right, Bottom, Z1), C};
    if (Clear || FaceTurn(IPoints) > 0) {
        FillSide(gdLeftRight, DarkAmountHigh);
    }
    IPoints = {A, P(Left, Top, Z1), P(Left, Bottom, Z1), P(Left, Bottom, Z0)};
    if (Clear || TurnAbout(IPoints[1], IPoints[0], IPoints[3]) > 0) {
        FillSide(gdRightLeft, DarkAmountHigh);
    }
    if (Clear || TurnAbout(D, Bf, A) > 0) {
        IPoints = {A, Bf, D, P(Left, Top, Z1)};
        FillSide(gdBottomTop, DarkAmountLow);
    }
    IPoints = {P(Left, Bottom, Z0), P(Left, Bottom, Z1), P(Right, Bottom, Z1), C};
    if (Clear || FaceTurn(IPoints) < 0) {
        FillSide(gdTopBottom, DarkAmountLow);
    }
}

void TChtCanvas3D::Cube(
    int Left, int Right, int Top, int Bottom, int Z0, int Z1, int BevelSize, bool DarkSides, int RoundSize)
{
    (void)BevelSize;
    Cube(Left, Right, Top, Bottom, Z0, Z1, DarkSides, RoundSize);
}

void TChtCanvas3D::Sphere(int X, int Y, int Z, double Radius)
{
    if (!std::isfinite(Radius) || std::abs(Radius) > MaxSolidExtent) {
        return;
    }
    const std::int64_t r = RoundToPixel(Radius);
    EllipseWithZ(plat::SaturateInt(X - r), plat::SaturateInt(Y - r), plat::SaturateInt(X + r),
        plat::SaturateInt(Y + r), Z);
}

void TChtCanvas3D::Surface3D(TChtCanvasSurfaceStyle Style, bool SameBrush, bool CreateCached, bool AddNormals,
    int NumXValues, int NumZValues, const TChtCanvasCalcPoints& CalcPoints, TChtCachedObject*& Cached)
{
    (void)Style, (void)SameBrush, (void)CreateCached, (void)AddNormals, (void)NumXValues, (void)NumZValues;
    (void)CalcPoints, (void)Cached;
}

} // namespace qel
