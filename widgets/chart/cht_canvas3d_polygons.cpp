// Polygons, ellipses, arcs, pixels, planes, triangles and arrows of the 3D
// chart canvas: every shape ends as one platform call on the device, with
// a picture or gradient brush painted first through the shape's clip.
#include "widgets/chart/cht_canvas3d.h"

#include "widgets/chart/chart_picture.h"
#include "widgets/chart/plane_geometry.h"

#include "platform/canvas/canvas.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace qel {

namespace {

int ClampedCount(std::size_t Size)
{
    return static_cast<int>(std::min<std::size_t>(Size, 0x7FFFFFFF));
}

TPointArray RoundFloatPoints(std::span<const TPointFloat> Src)
{
    TPointArray Dest(Src.size());
    std::transform(Src.begin(), Src.end(), Dest.begin(),
        [](const TPointFloat& P) { return TPoint{RoundToPixel(P.X), RoundToPixel(P.Y)}; });
    return Dest;
}

} // namespace

// --- Polygons and polylines -------------------------------------------------------------

void TChtCanvas3D::Polygon(std::span<const TPoint> Points)
{
    plat::TCanvas* Surface = ReferenceCanvas();
    if (Surface == nullptr) {
        return;
    }
    const int Count = ClampedCount(Points.size());
    const auto ThroughClip = [&](auto&& Paint) {
        ClipPolygon(Points, Count, false);
        Paint(PolygonBounds(Points));
        UnClipRectangle();
        Surface->Brush()->SetStyle(plat::bsClear);
    };
    if (Brush()->HasImage()) {
        ThroughClip([&](const TRect& R) { Surface->StretchDraw(R, Brush()->Image()->Filtered()); });
    }
    if (BrushGradientVisible()) {
        ThroughClip([&](const TRect& R) { GradientFill(*Gradient(), R); });
    }
    if (plat::TDeviceContext* DC = DeviceContext(); DC != nullptr) {
        DC->Polygon(Points.data(), Count);
    }
}

void TChtCanvas3D::PolygonFloat(std::span<const TPointFloat> Points)
{
    Polygon(RoundFloatPoints(Points));
}

void TChtCanvas3D::PolylineFloat(std::span<const TPointFloat> Points)
{
    Polyline(RoundFloatPoints(Points));
}

void TChtCanvas3D::PolylineFloat(std::span<const TPoint3DFloat> Points)
{
    TPointFloatArray Projected(Points.size());
    for (std::size_t i = 0; i < Points.size(); ++i) {
        Projected[i] = {Points[i].X, Points[i].Y};
        Calculate3DPosition(Projected[i], Points[i].Z);
    }
    PolylineFloat(std::span<const TPointFloat>(Projected));
}

void TChtCanvas3D::Polygon3D(std::span<const TPoint3D> Points)
{
    TPointArray Projected(Points.size());
    std::transform(Points.begin(), Points.end(), Projected.begin(),
        [this](const TPoint3D& P) { return Calculate3DPosition(P.x, P.y, P.z); });
    Polygon(Projected);
}

// --- Ellipses and arcs ------------------------------------------------------------------

void TChtCanvas3D::Ellipse(int X1, int Y1, int X2, int Y2)
{
    plat::TCanvas* Surface = ReferenceCanvas();
    if (Surface == nullptr) {
        return;
    }
    if (Brush()->Style() != Surface->Brush()->Style()) {
        BrushChanged(*Brush());
    }
    const plat::TBrushStyle StyleAtEntry = Surface->Brush()->Style();
    const bool Gradiented = BrushGradientVisible();
    if (Gradiented) {
        const TRect R{X1, Y1, plat::SaturateInt(std::int64_t{X2} + 1), plat::SaturateInt(std::int64_t{Y2} + 1)};
        ClipEllipse(R, false);
        GradientFill(*Gradient(), R);
        UnClipRectangle();
        Surface->Brush()->SetStyle(plat::bsClear);
    }
    if (plat::TDeviceContext* DC = DeviceContext(); DC != nullptr) {
        DC->Ellipse(X1, Y1, X2, Y2);
    }
    if (Gradiented) {
        Surface->Brush()->SetStyle(StyleAtEntry);
    }
}

void TChtCanvas3D::CalcCirclePoints(TCirclePoints& P, int X1, int Y1, int X2, int Y2) const
{
    const auto Step = static_cast<float>((360.0 / (CirclePointCount - 1)) * 2 * std::numbers::pi / 360.0);
    const auto cx = static_cast<float>((static_cast<double>(X1) + X2) * 0.5);
    const auto cy = static_cast<float>((static_cast<double>(Y1) + Y2) * 0.5);
    const double rx = (static_cast<double>(X2) - X1) * 0.5;
    const double ry = (static_cast<double>(Y2) - Y1) * 0.5;
    const std::size_t Count = std::min<std::size_t>(P.size(), CirclePointCount);
    for (std::size_t i = 0; i < Count; ++i) {
        const float Theta = static_cast<float>(i) * Step;
        P[i] = {static_cast<float>(cx + rx * std::sin(Theta)), static_cast<float>(cy + ry * std::cos(Theta))};
    }
}

void TChtCanvas3D::GetCirclePoints(TCirclePoints& P, int X1, int Y1, int X2, int Y2, int Z) const
{
    CalcCirclePoints(P, X1, Y1, X2, Y2);
    for (TPointFloat& Point : P) {
        Calculate3DPosition(Point, static_cast<float>(Z));
    }
}

void TChtCanvas3D::EllipseWithZ(int X1, int Y1, int X2, int Y2, int Z)
{
    if (FIsOrthogonal) {
        const TPoint A = Calculate3DPosition(X1, Y1, Z);
        const TPoint B = Calculate3DPosition(X2, Y2, Z);
        Ellipse(A.X, A.Y, B.X, B.Y);
    } else if (FIs3D) {
        TCirclePoints P(CirclePointCount);
        CalcCirclePoints(P, X1, Y1, X2, Y2);
        if (Brush()->Style() != plat::bsClear) {
            PolygonFloatWithZ(P, Z);
        } else if (Pen()->Style() != plat::psClear) {
            PolylineWithZ(P, Z);
        }
    } else {
        Ellipse(X1, Y1, plat::SaturateInt(std::int64_t{X2} + 1), plat::SaturateInt(std::int64_t{Y2} + 1));
    }
}

void TChtCanvas3D::Arc(int Left, int Top, int Right, int Bottom, int StartX, int StartY, int EndX, int EndY)
{
    if (plat::TDeviceContext* DC = DeviceContext(); DC != nullptr) {
        DC->Arc(Left, Top, Right, Bottom, StartX, StartY, EndX, EndY);
    }
}

// --- Pixels -----------------------------------------------------------------------------

TColor TChtCanvas3D::GetPixel(int X, int Y) const
{
    plat::TDeviceContext* DC = GetHandle();
    return DC != nullptr ? static_cast<TColor>(DC->GetPixel(X, Y)) : clNone;
}

void TChtCanvas3D::SetPixel(int X, int Y, TColor Value)
{
    if (plat::TDeviceContext* DC = DeviceContext(); DC != nullptr) {
        DC->SetPixel(X, Y, static_cast<plat::COLORREF>(Value));
    }
}

TColor TChtCanvas3D::GetPixel3D(int X, int Y, int Z) const
{
    Project3D(X, Y, Z);
    return GetPixel(X, Y);
}

void TChtCanvas3D::SetPixel3D(int X, int Y, int Z, TColor Value)
{
    Project3D(X, Y, Z);
    if (Pen()->Width() == 1) {
        SetPixel(X, Y, Value);
        return;
    }
    if (plat::TDeviceContext* DC = DeviceContext(); DC != nullptr) {
        DC->MoveTo(X, Y);
        DC->LineTo(X, Y);
    }
}

bool TChtCanvas3D::PrepareDCBrush()
{
    plat::TDeviceContext* DC = GetHandle();
    if (DC == nullptr) {
        return false;
    }
    plat::TLogBrush DCBrush = plat::CreateSolidBrush(DC->GetDCBrushColor());
    DCBrush.UsesDCColor = true;
    DC->SelectBrush(DCBrush);
    return true;
}

// --- Planes, triangles and arrows -------------------------------------------------------

void TChtCanvas3D::Plane3D(const TPoint& A, const TPoint& B, int Z0, int Z1)
{
    IPoints = {Calculate3DPosition(A, Z0), Calculate3DPosition(B, Z0), Calculate3DPosition(B, Z1),
        Calculate3DPosition(A, Z1)};
    PolygonFourPoints();
}

void TChtCanvas3D::PlaneFour3D(TFourPoints& Points, int Z0, int Z1)
{
    IPoints = {Calculate3DPosition(Points[0], Z0), Calculate3DPosition(Points[1], Z0),
        Calculate3DPosition(Points[2], Z1), Calculate3DPosition(Points[3], Z1)};
    PolygonFourPoints();
}

void TChtCanvas3D::Triangle3D(const TTrianglePoints3D& Points, const TTriangleColors3D& Colors)
{
    const TTrianglePoints Corners = TrianglePointsTo2D(Points);
    if (Brush()->Style() != plat::bsClear) {
        Brush()->SetColor(Colors[0]);
    }
    Polygon(Corners);
}

void TChtCanvas3D::TriangleWithZ(const TPoint& P1, const TPoint& P2, const TPoint& P3, int Z)
{
    const TTrianglePoints Corners{Calculate3DPosition(P1, Z), Calculate3DPosition(P2, Z), Calculate3DPosition(P3, Z)};
    Polygon(Corners);
}

void TChtCanvas3D::Arrow(bool Filled, const TPoint& FromPoint, const TPoint& ToPoint, int ArrowWidth,
    int ArrowHeight, int Z0, int Z1, double ArrowPercent)
{
    const int z = static_cast<int>((std::int64_t{Z0} + Z1) / 2);
    const TPointArray Points
        = GetArrowPoints(static_cast<float>(ArrowPercent), FromPoint, ToPoint, ArrowWidth, ArrowHeight, z);
    if (Points.size() < 7) {
        return;
    }
    if (Filled) {
        Polygon(Points);
        return;
    }
    Line(Calculate3DPosition(FromPoint, z), Points[4]);
    LineTo(Points[5]);
    Line(Points[4], Points[3]);
}

} // namespace qel
