// Shadows drawn on a 3D chart canvas: the shape moved by the offsets,
// blended by the shadow's transparency combined with the canvas's.
#include "widgets/chart/chart_shadow.h"

#include "widgets/chart/canvas3d.h"
#include "widgets/chart/chart_blend.h"
#include "widgets/chart/chart_canvas_unit.h"
#include "widgets/chart/plane_geometry.h"

#include <cmath>
#include <cstdlib>
#include <memory>

namespace qel {

namespace {

// The blending around one shadow: started when the shadow is to be drawn
// and transparent (by itself or through the canvas), ended on leaving.
class TShadowBlending {
public:
    // Nothing is to be drawn without colour or offsets.
    TShadowBlending(const TChtShadow& Shadow, TCanvas3D& Canvas, const TRect& R, int Angle) : FCanvas(Canvas)
    {
        if (Shadow.Color() == clNone || (Shadow.HorizSize() == 0 && Shadow.VertSize() == 0)) {
            return;
        }
        FDraw = true;
        FTransparency = Shadow.Transparency() != 0 ? Shadow.Transparency() : Canvas.Transparency;
        if (FTransparency == 0) {
            return;
        }
        TRect Area;
        if (!Canvas.SupportsAlpha()) {
            Area = Shadow.Smooth()
                ? plat::InflateRect(R, plat::SaturateInt(2 * std::llabs(std::int64_t{Shadow.HorizSize()})),
                    plat::SaturateInt(2 * std::llabs(std::int64_t{Shadow.VertSize()})))
                : Shadow.OffsetByDirection(R);
            if (Angle != 0) {
                Area = PolygonBounds(TChtShadow::TurnedCorners(Area, Angle));
            }
        }
        FBlend = Canvas.BeginBlending(Area, Shadow.Transparency());
        FBlending = true;
    }
    ~TShadowBlending()
    {
        if (FBlending) {
            FCanvas.EndBlending(std::move(FBlend));
        }
    }
    TShadowBlending(const TShadowBlending&) = delete;
    TShadowBlending& operator=(const TShadowBlending&) = delete;

    bool Draw() const { return FDraw; }

private:
    TCanvas3D& FCanvas;
    std::unique_ptr<TChtBlend> FBlend;
    int FTransparency = 0;
    bool FDraw = false;
    bool FBlending = false;
};

} // namespace

TRect TChtShadow::OffsetByDirection(const TRect& R) const
{
    const int Horiz = FHorizSize;
    const int Vert = FVertSize;
    switch (FDirection) {
    case sdLeftTop: return plat::OffsetRect(R, -Horiz, -Vert);
    case sdLeftBottom: return plat::OffsetRect(R, -Horiz, Vert);
    case sdRightTop: return plat::OffsetRect(R, Horiz, -Vert);
    case sdRightBottom: return plat::OffsetRect(R, Horiz, Vert);
    case sdCenter: break;
    }
    return plat::InflateRect(R, plat::SaturateInt(std::llabs(std::int64_t{Horiz})),
        plat::SaturateInt(std::llabs(std::int64_t{Vert})));
}

std::array<TPoint, 4> TChtShadow::TurnedCorners(const TRect& R, int Angle)
{
    const auto CenterX = static_cast<int>((std::int64_t{R.Left} + R.Right) / 2);
    const auto CenterY = static_cast<int>((std::int64_t{R.Top} + R.Bottom) / 2);
    const double S = std::sin(Angle * DegToRad);
    const double C = std::cos(Angle * DegToRad);
    const auto Turn = [&](int X, int Y) {
        const double A = static_cast<double>(X) - CenterX;
        const double B = static_cast<double>(Y) - CenterY;
        return TPoint{plat::SaturateInt(std::int64_t{CenterX} + RoundToPixel(A * C + B * S)),
            plat::SaturateInt(std::int64_t{CenterY} + RoundToPixel(-A * S + B * C))};
    };
    return {Turn(R.Left, R.Top), Turn(R.Right, R.Top), Turn(R.Right, R.Bottom), Turn(R.Left, R.Bottom)};
}

void TChtShadow::Draw(TCanvas3D& ACanvas, std::span<const TPoint> P, int Count) const
{
    const auto Used = static_cast<std::size_t>(std::clamp<std::int64_t>(Count, 0, static_cast<std::int64_t>(P.size())));
    TPointArray Polygon;
    Polygon.reserve(Used);
    for (std::size_t I = 0; I < Used; ++I) {
        Polygon.push_back({plat::SaturateInt(std::int64_t{P[I].X} + FHorizSize),
            plat::SaturateInt(std::int64_t{P[I].Y} + FVertSize)});
    }
    const TRect Bounds = ACanvas.SupportsAlpha() ? TRect{} : PolygonBounds(Polygon);
    const TShadowBlending Blending(*this, ACanvas, Bounds, 0);
    if (Blending.Draw()) {
        ACanvas.DrawShadow(*this, Bounds, false, 0, Polygon, 0, 0, 360);
    }
}

void TChtShadow::Draw(TCanvas3D& ACanvas, const TRect& Rect, int RoundSize, int Angle) const
{
    const plat::TPenStyle PenStyle = ACanvas.Pen()->Style();
    const TColor PenColor = ACanvas.Pen()->Color();
    struct TRestorePen {
        TCanvas3D& Canvas;
        plat::TPenStyle Style;
        TColor Color;
        ~TRestorePen()
        {
            Canvas.Pen()->SetStyle(Style);
            Canvas.Pen()->SetColor(Color);
        }
    } Restore{ACanvas, PenStyle, PenColor};
    const TShadowBlending Blending(*this, ACanvas, Rect, Angle);
    if (!Blending.Draw()) {
        return;
    }
    const TRect Moved = OffsetByDirection(Rect);
    if (Angle != 0) {
        const std::array<TPoint, 4> Corners = TurnedCorners(Moved, Angle);
        ACanvas.DrawShadow(*this, PolygonBounds(Corners), false, RoundSize, Corners, 0, 0, 360);
        return;
    }
    ACanvas.DrawShadow(*this, Moved, false, RoundSize, {}, 0, 0, 360);
}

void TChtShadow::DrawEllipse(TCanvas3D& ACanvas, const TRect& Rect, int DonutPercent, double StartAngle,
    double EndAngle) const
{
    const TShadowBlending Blending(*this, ACanvas, Rect, 0);
    if (Blending.Draw()) {
        ACanvas.DrawShadow(*this, OffsetByDirection(Rect), true, 0, {}, DonutPercent, StartAngle, EndAngle);
    }
}

} // namespace qel
