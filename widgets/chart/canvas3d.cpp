// The 3D chart canvas's projection helpers and the drawing built on the
// projection: lines and polygons at a depth, diamonds, rotated ellipses,
// front planes and the operations a drawing canvas must provide.
#include "widgets/chart/canvas3d.h"

#include "widgets/chart/chart_canvas_unit.h"
#include "widgets/chart/plane_geometry.h"
#include "widgets/chart/view3d_options.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace qel {

PLAT_DEFINE_CLASS(TCanvas3D, TChtCanvas)

namespace {

[[noreturn]] void AbstractError()
{
    throw EAbstractError();
}

} // namespace

std::int32_t TCanvas3D::QueryInterface(const TInterfaceId& IID, void** Obj)
{
    if (IID == IID_IInterface) {
        *Obj = this;
        return 0;
    }
    *Obj = nullptr;
    return E_NOINTERFACE_RESULT;
}

void TCanvas3D::Assign(const TCanvas3D& Source)
{
    SetMonochrome(Source.GetMonochrome());
    F3DOptions = Source.F3DOptions;
    SetFontZoom(Source.FontZoom());
    SetPenZoom(Source.PenZoom());
    SetCheckBoxZoom(Source.CheckBoxZoom());
}

// --- Operations of a drawing canvas ----------------------------------------------

TPoint TCanvas3D::Calculate3DPosition(int, int, int) const { AbstractError(); }
void TCanvas3D::Calculate3DPosition(TPointFloat&, float) const { AbstractError(); }
void TCanvas3D::Calculate2DPosition(int&, int&, int) const { AbstractError(); }
TRect TCanvas3D::InitWindow(plat::TCanvas*, TView3DOptions*, TColor, bool, const TRect&) { AbstractError(); }
void TCanvas3D::Projection(int, const TRect&, const TRect&) { AbstractError(); }
void TCanvas3D::ShowImage(plat::TCanvas*, plat::TCanvas*, const TRect&) { AbstractError(); }
bool TCanvas3D::ReDrawBitmap() { AbstractError(); }
bool TCanvas3D::RenderToBitmap(plat::TBitmap&, const TRect&) { return false; }
void TCanvas3D::ClipCube(const TRect&, int, int) { AbstractError(); }
TColor TCanvas3D::GetPixel3D(int, int, int) const { AbstractError(); }
void TCanvas3D::SetPixel3D(int, int, int, TColor) { AbstractError(); }
bool TCanvas3D::GetSupports3DText() const { AbstractError(); }
void TCanvas3D::Arrow(bool, const TPoint&, const TPoint&, int, int, int, int, double) { AbstractError(); }
void TCanvas3D::EllipseWithZ(int, int, int, int, int) { AbstractError(); }
void TCanvas3D::Plane3D(const TPoint&, const TPoint&, int, int) { AbstractError(); }
void TCanvas3D::PlaneWithZ(const TPoint&, const TPoint&, const TPoint&, const TPoint&, int) { AbstractError(); }
void TCanvas3D::PlaneFour3D(TFourPoints&, int, int) { AbstractError(); }
void TCanvas3D::Polygon3D(std::span<const TPoint3D>) { AbstractError(); }
void TCanvas3D::RectangleWithZ(const TRect&, int) { AbstractError(); }
void TCanvas3D::RectangleY(int, int, int, int, int) { AbstractError(); }
void TCanvas3D::RectangleZ(int, int, int, int, int) { AbstractError(); }
void TCanvas3D::TextOut3D(int, int, int, const std::string&, bool) { AbstractError(); }
void TCanvas3D::RotateLabel3D(int, int, int, const std::string&, double, bool) { AbstractError(); }
void TCanvas3D::Triangle3D(const TTrianglePoints3D&, const TTriangleColors3D&) { AbstractError(); }
void TCanvas3D::TriangleWithZ(const TPoint&, const TPoint&, const TPoint&, int) { AbstractError(); }

// --- Projection helpers --------------------------------------------------------------

TRect TCanvas3D::CalcRect3D(const TRect& R, int Z) const
{
    const TPoint TopLeft = Calculate3DPosition(R.Left, R.Top, Z);
    const TPoint BottomRight = Calculate3DPosition(R.Right, R.Bottom, Z);
    return {TopLeft.X, TopLeft.Y, BottomRight.X, BottomRight.Y};
}

TPointArray TCanvas3D::Calc3DPoints(std::span<const TPoint> Points, int Z) const
{
    TPointArray Projected;
    Projected.reserve(Points.size());
    for (const TPoint& P : Points) {
        Projected.push_back(Calculate3DPosition(P, Z));
    }
    return Projected;
}

TFourPoints TCanvas3D::FourPointsFromRect(const TRect& R, int Z) const
{
    return {Calculate3DPosition(R.Left, R.Top, Z), Calculate3DPosition(R.Right, R.Top, Z),
        Calculate3DPosition(R.Right, R.Bottom, Z), Calculate3DPosition(R.Left, R.Bottom, Z)};
}

TRect TCanvas3D::RectFromRectZ(const TRect& R, int Z) const
{
    const TFourPoints Corners = FourPointsFromRect(R, Z);
    return PointsBounds(Corners);
}

TTrianglePoints TCanvas3D::TrianglePointsTo2D(const TTrianglePoints3D& P) const
{
    return {Calculate3DPosition(P[0]), Calculate3DPosition(P[1]), Calculate3DPosition(P[2])};
}

TPointFloat TCanvas3D::PointFromCircle(const TRect& Rect, double Degrees, int ZPos, bool ClockWise) const
{
    const int CenterX = static_cast<int>((std::int64_t{Rect.Left} + Rect.Right) / 2);
    const int CenterY = static_cast<int>((std::int64_t{Rect.Top} + Rect.Bottom) / 2);
    const double Angle = Degrees * DegToRad;
    const double Across = (static_cast<double>(Rect.Right) - Rect.Left) * 0.5 * std::cos(Angle);
    const double Down = (static_cast<double>(Rect.Bottom) - Rect.Top) * 0.5 * std::sin(Angle);
    TPointFloat P{static_cast<float>(CenterX + Across), static_cast<float>(ClockWise ? CenterY + Down : CenterY - Down)};
    if (ZPos != 0) {
        Calculate3DPosition(P, static_cast<float>(ZPos));
    }
    return P;
}

TPoint TCanvas3D::PointFromSpiral(const TRect& Rect, double Degrees, double Twist)
{
    const double Angle = Degrees * DegToRad;
    const double Radius = std::min((static_cast<double>(Rect.Right) - Rect.Left) * 0.5,
                              (static_cast<double>(Rect.Bottom) - Rect.Top) * 0.5)
        * std::exp(Angle * Twist);
    const auto CenterX = static_cast<int>((std::int64_t{Rect.Left} + Rect.Right) / 2);
    const auto CenterY = static_cast<int>((std::int64_t{Rect.Top} + Rect.Bottom) / 2);
    return {plat::SaturateInt(std::int64_t{CenterX} + RoundToPixel(Radius * std::cos(Angle))),
        plat::SaturateInt(std::int64_t{CenterY} + RoundToPixel(Radius * std::sin(Angle)))};
}

TPointArray TCanvas3D::GetArrowPoints(float ArrowPercent, const TPoint& FromPoint, const TPoint& ToPoint,
    int ArrowWidth, int ArrowHeight, int Z) const
{
    TPointArray Points = TChtCanvas::GetArrowPoints(ArrowPercent, FromPoint, ToPoint, ArrowWidth, ArrowHeight);
    for (TPoint& P : Points) {
        P = Calculate3DPosition(P, Z);
    }
    return Points;
}

TPointArray TCanvas3D::CubeHull(const TRect& Rect, int MinZ, int MaxZ) const
{
    TPointArray Corners{
        Calculate3DPosition(Rect.Left, Rect.Bottom, MinZ),
        Calculate3DPosition(Rect.Left, Rect.Bottom, MaxZ),
        Calculate3DPosition(Rect.Left, Rect.Top, MaxZ),
        Calculate3DPosition(Rect.Right, Rect.Top, MaxZ),
        Calculate3DPosition(Rect.Right, Rect.Top, MinZ),
        Calculate3DPosition(Rect.Right, Rect.Bottom, MinZ),
        Calculate3DPosition(Rect.Left, Rect.Top, MinZ),
        Calculate3DPosition(Rect.Right, Rect.Bottom, MaxZ),
    };
    ConvexHull(Corners);
    return Corners;
}

// --- Front planes --------------------------------------------------------------------

void TCanvas3D::FrontPlaneBegin()
{
    if (IDisabledRotation == 0) {
        DisableRotation();
    }
    ++IDisabledRotation;
}

void TCanvas3D::FrontPlaneEnd()
{
    --IDisabledRotation;
    if (IDisabledRotation == 0) {
        EnableRotation();
    }
}

// --- Lines and polygons at a depth ------------------------------------------------------

void TCanvas3D::Arc(int Left, int Top, int Right, int Bottom, int StartX, int StartY, int EndX, int EndY, int Z)
{
    const TRect Box = CalcRect3D({Left, Top, Right, Bottom}, Z);
    const TPoint Start = Calculate3DPosition(StartX, StartY, Z);
    const TPoint End = Calculate3DPosition(EndX, EndY, Z);
    Arc(Box.Left, Box.Top, Box.Right, Box.Bottom, Start.X, Start.Y, End.X, End.Y);
}

void TCanvas3D::HorizLine3D(int Left, int Right, int Y, int Z)
{
    MoveTo3D(Left, Y, Z);
    LineTo3D(Right, Y, Z);
}

void TCanvas3D::VertLine3D(int X, int Top, int Bottom, int Z)
{
    MoveTo3D(X, Top, Z);
    LineTo3D(X, Bottom, Z);
}

void TCanvas3D::ZLine3D(int X, int Y, int Z0, int Z1)
{
    MoveTo3D(X, Y, Z0);
    LineTo3D(X, Y, Z1);
}

void TCanvas3D::LineWithZ(int X0, int Y0, int X1, int Y1, int Z)
{
    MoveTo3D(X0, Y0, Z);
    LineTo3D(X1, Y1, Z);
}

void TCanvas3D::MoveTo3D(int X, int Y, int Z)
{
    MoveTo(Calculate3DPosition(X, Y, Z));
}

void TCanvas3D::MoveTo3D(float X, float Y, float Z)
{
    MoveTo3D(RoundToPixel(X), RoundToPixel(Y), RoundToPixel(Z));
}

void TCanvas3D::LineTo3D(int X, int Y, int Z)
{
    LineTo(Calculate3DPosition(X, Y, Z));
}

void TCanvas3D::LineTo3D(float X, float Y, float Z)
{
    LineTo3D(RoundToPixel(X), RoundToPixel(Y), RoundToPixel(Z));
}

void TCanvas3D::PolygonWithZ(std::span<const TPoint> Points, int Z)
{
    Polygon(Calc3DPoints(Points, Z));
}

void TCanvas3D::Polyline(std::span<const TPoint> Points, int Z)
{
    Polyline(Calc3DPoints(Points, Z));
}

void TCanvas3D::Polygon3DConcave(std::span<const TPoint3DFloat> Points, bool Invert)
{
    std::vector<TPoint3D> Rounded;
    Rounded.reserve(Points.size());
    for (const TPoint3DFloat& P : Points) {
        Rounded.push_back({RoundToPixel(P.X), RoundToPixel(P.Y), RoundToPixel(P.Z)});
    }
    Polygon3DConcave(std::span<const TPoint3D>(Rounded), Invert);
}

void TCanvas3D::Polygon3DConcave(std::span<const TPoint3D> Points, bool Invert)
{
    (void)Invert;
    Polygon3D(Points);
}

namespace {

// Points projected in place at depth Z, on a copy.
template <class TProject>
TPointFloatArray ProjectedCopy(std::span<const TPointFloat> Points, TProject&& Project)
{
    TPointFloatArray Copy(Points.begin(), Points.end());
    for (TPointFloat& P : Copy) {
        Project(P);
    }
    return Copy;
}

} // namespace

void TCanvas3D::PolygonFloatWithZ(std::span<const TPointFloat> Points, int Z)
{
    PolygonFloat(ProjectedCopy(Points, [&](TPointFloat& P) { Calculate3DPosition(P, static_cast<float>(Z)); }));
}

void TCanvas3D::PolylineWithZ(std::span<const TPointFloat> Points, int Z)
{
    PolylineFloat(ProjectedCopy(Points, [&](TPointFloat& P) { Calculate3DPosition(P, static_cast<float>(Z)); }));
}

void TCanvas3D::RoundRect(const TRect& R, int X, int Y, int Z0, int Z1)
{
    (void)Z1;
    if (GetSupportsFullRotation()) {
        RectangleWithZ(R, Z0);
        return;
    }
    TChtCanvas::RoundRect(CalcRect3D(R, Z0), X, Y);
}

void TCanvas3D::Diamond(int Left, int Top, int Right, int Bottom, int Z0, int Z1)
{
    const auto CenterX = static_cast<int>((std::int64_t{Left} + Right) / 2);
    const auto CenterY = static_cast<int>((std::int64_t{Top} + Bottom) / 2);
    const std::array<TPoint, 4> Points{{{CenterX, Top}, {Right, CenterY}, {CenterX, Bottom}, {Left, CenterY}}};
    PolygonWithZ(Points, static_cast<int>((std::int64_t{Z0} + Z1) / 2));
}

void TCanvas3D::RotatedEllipse(int Left, int Top, int Right, int Bottom, int Z, double Angle)
{
    const double CenterX = (static_cast<double>(Right) + Left) * 0.5;
    const double CenterY = (static_cast<double>(Bottom) + Top) * 0.5;
    const double RadiusX = CenterX - Left;
    const double RadiusY = CenterY - Top;
    const double SinA = std::sin(Angle * DegToRad);
    const double CosA = std::cos(Angle * DegToRad);
    TCirclePoints Points(CirclePointCount);
    for (int I = 0; I < CirclePointCount; ++I) {
        const double T = I * 2 * std::numbers::pi / (CirclePointCount - 1);
        const double Across = RadiusX * std::sin(T);
        const double Down = RadiusY * std::cos(T);
        Points[static_cast<std::size_t>(I)] = {static_cast<float>(CenterX + Across * CosA + Down * SinA),
            static_cast<float>(CenterY - Across * SinA + Down * CosA)};
    }
    if (Brush()->Style() != plat::bsClear) {
        PolygonFloatWithZ(Points, Z);
    } else if (Pen()->Style() != plat::psClear) {
        PolylineWithZ(Points, Z);
    }
}

} // namespace qel
