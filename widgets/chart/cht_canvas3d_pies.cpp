// Pies and donuts of the 3D chart canvas: flat slices by degrees or by
// radial points, donut slices outlined as device paths, and 3D slices
// drawn by the pie drawer. A gradient brush paints through the shape's
// region before the outline.
#include "widgets/chart/cht_canvas3d.h"

#include "widgets/chart/pie3d_drawer.h"
#include "widgets/chart/solid_settings.h"

#include "platform/canvas/canvas.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace qel {

namespace {

constexpr double DegToRad = 0.017453292519943295;
// Angles beyond these (degrees for the flat pie, radians otherwise) draw
// nothing.
constexpr double MaxPieDegrees = 1e6;
constexpr double MaxPieRadians = 100;

bool WithinExtent(std::initializer_list<int> Values)
{
    return std::all_of(Values.begin(), Values.end(), [](int V) { return V >= -MaxSolidExtent && V <= MaxSolidExtent; });
}

bool SaneAngles(double StartAngle, double EndAngle, double Limit)
{
    return std::isfinite(StartAngle) && std::isfinite(EndAngle) && std::abs(StartAngle) <= Limit
        && std::abs(EndAngle) <= Limit;
}

} // namespace

void TChtCanvas3D::Pie(const TRect& R, double StartAngle, double EndAngle)
{
    if (!SaneAngles(StartAngle, EndAngle, MaxPieDegrees) || !WithinExtent({R.Left, R.Top, R.Right, R.Bottom})) {
        return;
    }
    const double d = EndAngle - StartAngle;
    if (std::abs(d - 360) < 0.05 && std::abs(d) > 180) {
        Ellipse(R);
        return;
    }
    const auto cx = static_cast<float>((static_cast<double>(R.Left) + R.Right) * 0.5);
    const auto cy = static_cast<float>((static_cast<double>(R.Top) + R.Bottom) * 0.5);
    const auto PointAt = [&](double a) {
        return TPoint{RoundToPixel(cx + (static_cast<double>(R.Right) - R.Left) * std::cos(a * DegToRad) * 0.5),
            RoundToPixel(cy - (static_cast<double>(R.Bottom) - R.Top) * std::sin(a * DegToRad) * 0.5)};
    };
    const TPoint P1 = PointAt(StartAngle);
    const TPoint P2 = PointAt(EndAngle);
    if (P1 != P2) {
        Pie(R.Left, R.Top, R.Right, R.Bottom, P1.X, P1.Y, P2.X, P2.Y);
        return;
    }
    if (std::abs(d - 360) < 1.0 && std::abs(d) > 180) {
        Ellipse(R);
    } else {
        Pie(R.Left, R.Top, R.Right, R.Bottom, P1.X, P1.Y, P2.X, P2.Y);
    }
    Line({RoundToPixel(cx), RoundToPixel(cy)}, P1);
}

void TChtCanvas3D::Pie(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4)
{
    plat::TCanvas* Surface = ReferenceCanvas();
    plat::TDeviceContext* DC = DeviceContext();
    if (Surface == nullptr || DC == nullptr) {
        return;
    }
    const plat::TBrushStyle StyleAtEntry = Brush()->Style();
    const bool HasArea = X3 != X4 || Y3 != Y4;
    const bool Gradiented = BrushGradientVisible();
    if (Gradiented) {
        DC->BeginPath();
        if (HasArea) {
            DC->Pie(X1, Y1, X2, Y2, X3, Y3, X4, Y4);
        }
        DC->EndPath();
        const plat::TRegion Region = DC->PathToRegion();
        ApplyClipRegion(DC, &Region, plat::RGN_AND);
        GradientFill(*Gradient(), {X1, Y1, X2, Y2});
        UnClipRectangle();
        Surface->Brush()->SetStyle(plat::bsClear);
        DC = DeviceContext();
    }
    if (HasArea) {
        DC->Pie(X1, Y1, X2, Y2, X3, Y3, X4, Y4);
    }
    if (Gradiented) {
        Surface->Brush()->SetStyle(StyleAtEntry);
    }
}

void TChtCanvas3D::Donut(
    int XCenter, int YCenter, int XRadius, int YRadius, double StartAngle, double EndAngle, double HolePercent)
{
    plat::TDeviceContext* DC = DeviceContext();
    if (DC == nullptr || !SaneAngles(StartAngle, EndAngle, MaxPieRadians) || !std::isfinite(HolePercent)
        || std::abs(HolePercent) > 1e4 || !WithinExtent({XCenter, YCenter, XRadius, YRadius})) {
        return;
    }
    const double rix = HolePercent * XRadius * 0.01;
    const double riy = HolePercent * YRadius * 0.01;
    const auto PointAt = [&](double Theta, double a, double b) {
        return TPoint{XCenter + RoundToPixel(a * std::cos(Theta)), YCenter - RoundToPixel(b * std::sin(Theta))};
    };
    const TPoint S = PointAt(StartAngle, XRadius, YRadius);
    const TPoint E = PointAt(EndAngle, XRadius, YRadius);
    const TRect Outer{XCenter - XRadius, YCenter - YRadius, XCenter + XRadius, YCenter + YRadius};
    const auto RecordOutline = [&] {
        DC->BeginPath();
        MoveTo(S);
        if (S == E && !(std::abs(EndAngle - StartAngle) > 6.2731853071795864)) {
            LineTo(E);
        } else if (HolePercent == 0) {
            // Straight on the device: the canvas's own pie would open a
            // path of its own for a gradient brush.
            DC->Pie(Outer.Left, Outer.Top, Outer.Right, Outer.Bottom, S.X, S.Y, E.X, E.Y);
        } else {
            ArcTo(Outer.Left, Outer.Top, Outer.Right, Outer.Bottom, S.X, S.Y, E.X, E.Y, false);
            LineTo(PointAt(EndAngle, rix, riy));
            const int rx = RoundToPixel(rix);
            const int ry = RoundToPixel(riy);
            ArcTo(XCenter - rx, YCenter - ry, XCenter + rx, YCenter + ry, E.X, E.Y, S.X, S.Y, true);
            LineTo(S);
        }
        DC->EndPath();
    };
    RecordOutline();
    if (BrushGradientVisible()) {
        const plat::TRegion Region = DC->PathToRegion();
        ApplyClipRegion(DC, &Region, plat::RGN_AND);
        GradientFill(*Gradient(), Outer);
        UnClipRectangle();
        DC = DeviceContext();
        RecordOutline();
        DC->StrokePath();
        return;
    }
    DC->StrokeAndFillPath();
}

void TChtCanvas3D::Pie3D(int XCenter, int YCenter, int XRadius, int YRadius, int Z0, int Z1, double StartAngle,
    double EndAngle, bool DarkSides, bool DrawSides, int DonutPercent, const TCustomChtGradient* EdgeGradient,
    int BevelPercent, TEdgeStyle EdgeStyle, TChtTransparency SliceTransparency, int BevelBright, bool BevelBorder,
    bool HideSides)
{
    if (!SaneAngles(StartAngle, EndAngle, MaxPieRadians)
        || !WithinExtent({XCenter, YCenter, XRadius, YRadius, Z0, Z1, DonutPercent, BevelPercent})) {
        return;
    }
    TPieDrawer Drawer(*this,
        {XCenter, YCenter, XRadius, YRadius, Z0, Z1, StartAngle, EndAngle, DarkSides, DrawSides, DonutPercent,
            EdgeGradient, BevelPercent, EdgeStyle, SliceTransparency, BevelBright, BevelBorder, HideSides});
    Drawer.Draw();
}

} // namespace qel
