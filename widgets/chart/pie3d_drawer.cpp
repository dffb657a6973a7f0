// One 3D pie slice: rims at whole degrees, the far faces first, the flat
// sides in an order that depends on where the slice's ends lie, and the
// top face as a polygon or, when the canvas asks for it, a path of arcs.
#include "widgets/chart/pie3d_drawer.h"

#include "widgets/chart/chart_blend.h"
#include "widgets/chart/cht_canvas3d.h"
#include "widgets/chart/color_shades.h"

#include "platform/canvas/canvas.h"

#include <algorithm>
#include <cstdint>

namespace qel {

namespace {

constexpr double RadToDeg = 57.29577951308232;
constexpr std::uint8_t SideDarkening = 32;

TRect MovedDown(const TRect& R, int dy)
{
    return {R.Left, R.Top + dy, R.Right, R.Bottom + dy};
}

TPointFloat AsFloat(const TPoint& P)
{
    return {static_cast<float>(P.X), static_cast<float>(P.Y)};
}

} // namespace

TPieDrawer::TPieDrawer(TChtCanvas3D& Canvas, const TPie3DSlice& Slice) : ICanvas(Canvas), FSlice(Slice)
{
    const TPie3DSlice& S = FSlice;
    zPos = S.Z1 - S.Z0;
    z0Rect = {S.XCenter - S.XRadius, S.YCenter - S.YRadius, S.XCenter + S.XRadius, S.YCenter + S.YRadius};
    z1Rect = MovedDown(z0Rect, zPos);
    iStartAngle = RoundToPixel(S.StartAngle * RadToDeg);
    iEndAngle = RoundToPixel(S.EndAngle * RadToDeg);
    Full360 = iEndAngle - iStartAngle == 360;
    if (iEndAngle < iStartAngle) {
        iEndAngle += 360;
    }
    TChtBrush& Brush = *ICanvas.Brush();
    OldColor = Brush.Style() == plat::bsSolid ? Brush.Color() : ICanvas.GetBackColor();
    drawEntirePie = S.Transparency > 0 && !S.HideSides;
    if (S.DonutPercent > 0) {
        const int dx = RoundToPixel(static_cast<double>(std::int64_t{S.DonutPercent} * S.XRadius) * 0.01);
        const int dy = RoundToPixel(static_cast<double>(std::int64_t{S.DonutPercent} * S.YRadius) * 0.01);
        SetDonutRect({S.XCenter - dx, S.YCenter - dy, S.XCenter + dx, S.YCenter + dy});
    }
    if (S.BevelPercent > 0) {
        const auto b = static_cast<float>(static_cast<double>(std::int64_t{S.BevelPercent} * zPos) * 0.01);
        const int bx = RoundToPixel(static_cast<float>(S.XRadius) - b);
        const int by = RoundToPixel(static_cast<float>(S.YRadius) - b);
        SetBevelRect({S.XCenter - bx, S.YCenter - by, S.XCenter + bx, S.YCenter + by}, RoundToPixel(b));
    }
    CalcPiePoints({S.XCenter, S.YCenter});
}

int TPieDrawer::NormalizeAngle(int a)
{
    if (a > 360) {
        a = (a - 1) % 360 + 1;
    } else if (a < -360) {
        a = -((-(a + 1)) % 360 + 1);
    }
    return a < 0 ? a + 360 : a;
}

// --- Geometry ---------------------------------------------------------------------------

TPoint TPieDrawer::RimPoint(const TRect& R, int Degree) const
{
    const TPointFloat P = ICanvas.PointFromCircle(R, Degree, zPos, false);
    return {RoundToPixel(P.X), RoundToPixel(P.Y)};
}

void TPieDrawer::SetDonutRect(const TRect& R)
{
    z0DonutRect = R;
    z1DonutRect = MovedDown(R, zPos);
    SetEnds(z0DonutRect, z1DonutRect, startD0, endD0, startD1, endD1);
    isDonut = true;
}

void TPieDrawer::SetBevelRect(const TRect& R, int dy)
{
    z0BevelRect = R;
    z1BevelRect = MovedDown(z0Rect, dy);
    SetEnds(z0BevelRect, z1BevelRect, startB0, endB0, startB1, endB1);
    hasBevel = true;
}

void TPieDrawer::SetEnds(const TRect& Top, const TRect& Bottom, TPoint& Start0, TPoint& End0, TPoint& Start1,
    TPoint& End1) const
{
    Start0 = PieStartPoint(Top);
    End0 = PieEndPoint(Top);
    Start1 = PieStartPoint(Bottom);
    End1 = PieEndPoint(Bottom);
}

void TPieDrawer::CalcPiePoints(const TPoint& P)
{
    middle0 = ICanvas.Calculate3DPosition(P.X, P.Y, zPos);
    middle1 = ICanvas.Calculate3DPosition(P.X, P.Y + zPos, zPos);
    SetEnds(z0Rect, z1Rect, start0, end0, start1, end1);
    sweepAngle = iEndAngle - iStartAngle;
}

void TPieDrawer::AddArcPoints(TPointFloatArray& Points, int a, int b, const TRect& R) const
{
    const int Step = a <= b ? 1 : -1;
    for (int Degree = a;; Degree += Step) {
        Points.push_back(ICanvas.PointFromCircle(R, Degree, zPos, false));
        if (Degree == b) {
            break;
        }
    }
}

void TPieDrawer::DrawBand(int a, int b, const TRect& Ra, const TRect& Rb)
{
    TPointFloatArray List;
    List.reserve(2 * static_cast<std::size_t>(std::abs(b - a)) + 2);
    AddArcPoints(List, a, b, Ra);
    AddArcPoints(List, b, a, Rb);
    ICanvas.PolygonFloat(List);
}

// --- Device paths -----------------------------------------------------------------------

bool TPieDrawer::BeginArcPath()
{
    plat::TDeviceContext* DC = ICanvas.Pie3DUsingArcs ? ICanvas.DeviceContext() : nullptr;
    if (DC == nullptr) {
        return false;
    }
    DC->BeginPath();
    return true;
}

void TPieDrawer::FillArcPath()
{
    if (plat::TDeviceContext* DC = ICanvas.DeviceContext(); DC != nullptr) {
        DC->EndPath();
        DC->StrokeAndFillPath();
    }
}

void TPieDrawer::ArcToRect(const TRect& R, const TPoint& From, const TPoint& To, bool ClockWise)
{
    if (From == To) {
        return;
    }
    const TRect Box = ICanvas.CalcRect3D(R, zPos);
    ICanvas.ArcTo(Box.Left, Box.Top, Box.Right, Box.Bottom, From.X, From.Y, To.X, To.Y, ClockWise);
}

// --- Faces ------------------------------------------------------------------------------

void TPieDrawer::DrawFace(int a, int b, bool UseBevel, const TPoint& Centre, const TRect& Outer, const TRect& Inner)
{
    const bool Wedge = !isDonut && sweepAngle < 360;
    TPointFloatArray Points;
    Points.reserve(2 * static_cast<std::size_t>(std::abs(b - a)) + 3);
    if (Wedge) {
        Points.push_back(AsFloat(Centre));
    }
    AddArcPoints(Points, a, b, UseBevel ? z0BevelRect : Outer);
    if (isDonut) {
        AddArcPoints(Points, b, a, Inner);
    }
    if (Wedge) {
        Points.push_back(AsFloat(Centre));
    }
    ICanvas.PolygonFloat(Points);
}

void TPieDrawer::DrawBottom()
{
    if (drawEntirePie) {
        DrawFace(iStartAngle, iEndAngle, false, middle1, z1Rect, z1DonutRect);
    }
}

void TPieDrawer::DrawTop()
{
    if (!BeginArcPath()) {
        DrawFace(iStartAngle, iEndAngle, hasBevel, middle0, z0Rect, z0DonutRect);
        return;
    }
    ICanvas.MoveTo(isDonut ? PieStartPoint(z0DonutRect) : middle0);
    ICanvas.LineTo(hasBevel ? startB0 : start0);
    const TRect& Rim = hasBevel ? z0BevelRect : z0Rect;
    ArcToRect(Rim, start0, PieEndPoint(Rim), false);
    if (isDonut) {
        const TPoint InnerEnd = PieEndPoint(z0DonutRect);
        ICanvas.LineTo(InnerEnd);
        ArcToRect(z0DonutRect, InnerEnd, PieStartPoint(z0DonutRect), true);
    } else {
        ICanvas.LineTo(middle0);
    }
    FillArcPath();
}

void TPieDrawer::DrawBevel(int a, int b)
{
    if (!hasBevel) {
        return;
    }
    if (b < a) {
        b += 360;
    }
    TChtBrush& Brush = *ICanvas.Brush();
    const std::int64_t Bright = FSlice.BevelBright;
    if (Bright > 0) {
        Brush.SetColor(LightenColorBy(Brush.Color(), static_cast<std::uint8_t>(Bright & 0xFF)));
    } else if (Bright < 0) {
        Brush.SetColor(DarkenColorBy(Brush.Color(), static_cast<std::uint8_t>(-Bright & 0xFF)));
    }
    if (!FSlice.BevelBorder) {
        ICanvas.Pen()->SetStyle(plat::psClear);
    }
    DrawBand(a, b, z0BevelRect, z1BevelRect);
}

void TPieDrawer::DrawInnerSide(int a, int b)
{
    if (!isDonut || FSlice.HideSides) {
        return;
    }
    if (drawEntirePie || start0.Y < middle0.Y || end0.Y < middle0.Y || sweepAngle >= 180) {
        DrawBand(a, b, z0DonutRect, z1DonutRect);
    }
}

void TPieDrawer::DrawFlatSide(
    const TPoint& D0, const TPoint& B0, const TPoint& B1, const TPoint& P0, const TPoint& P1, const TPoint& D1)
{
    if (sweepAngle >= 360 || !(drawEntirePie || FSlice.DrawSides)) {
        return;
    }
    const TPoint& Inner0 = isDonut ? D0 : middle0;
    const TPoint& Inner1 = isDonut ? D1 : middle1;
    if (hasBevel) {
        const TPoint Points[] = {Inner0, B0, B1, P1, Inner1};
        ICanvas.Polygon(Points);
        return;
    }
    ICanvas.IPoints = {Inner0, P0, P1, Inner1};
    ICanvas.PolygonFourPoints();
}

void TPieDrawer::DrawStartSide()
{
    DrawFlatSide(startD0, startB0, startB1, start0, start1, startD1);
}

void TPieDrawer::DrawEndSide()
{
    DrawFlatSide(endD0, endB0, endB1, end0, end1, endD1);
}

void TPieDrawer::DrawOuterSide(int a, int b)
{
    int e = NormalizeAngle(b);
    const int s = NormalizeAngle(a);
    const TRect& Top = hasBevel ? z1BevelRect : z0Rect;
    const auto OuterBand = [&](int x, int y) { DrawBand(x, y, Top, z1Rect); };
    const int m = middle0.Y;
    const int sy = start0.Y;
    const int ey = end0.Y;
    if (Full360) {
        OuterBand(0, 180);
        OuterBand(180, 360);
        if (!drawEntirePie) {
            DrawBevel(0, 360);
        }
        return;
    }
    if (sy <= m && ey <= m) {
        if (sweepAngle < 180) {
            if (drawEntirePie) {
                OuterBand(a, b);
            } else {
                DrawBevel(a, b);
            }
        } else {
            OuterBand(a, b);
            if (!drawEntirePie) {
                DrawBevel(iStartAngle, iEndAngle);
            }
        }
        return;
    }
    if (sy > m && ey < m) {
        if (drawEntirePie) {
            OuterBand(0, e);
        }
        if (s > 0) {
            DrawBand(360, s, z1Rect, Top);
        }
    } else if (sy < m && ey > m) {
        if (drawEntirePie) {
            OuterBand(180, s);
        }
        DrawBand(180, NormalizeAngle(iEndAngle), z1Rect, Top);
    } else if (ey > m && sweepAngle > 180) {
        DrawBand(180, 0, Top, z1Rect);
        DrawBand(e, 180, z1Rect, Top);
        if (s > 0) {
            DrawBand(360, s, z1Rect, Top);
        }
    } else {
        if (e < s) {
            e += 360;
        }
        if (BeginArcPath()) {
            const TPoint P0 = RimPoint(Top, s);
            const TPoint P1 = RimPoint(z1Rect, s);
            const TPoint P2 = RimPoint(z1Rect, e);
            const TPoint P3 = RimPoint(Top, e);
            ICanvas.MoveTo(P0);
            ICanvas.LineTo(P1);
            ArcToRect(z1Rect, P1, P2, false);
            ICanvas.LineTo(P3);
            ArcToRect(Top, P3, P0, true);
            FillArcPath();
        } else {
            OuterBand(s, e);
        }
    }
    DrawBevel(iStartAngle, iEndAngle);
}

void TPieDrawer::DrawSides(int a, int b)
{
    if (a == b) {
        return;
    }
    const int mx = middle0.X;
    const bool StartLeft = start0.X < mx;
    const bool EndRight = end0.X > mx;
    const bool Wide = sweepAngle > 180;
    const auto Inner = [&] { DrawInnerSide(a, b); };
    const auto Outer = [&] { DrawOuterSide(a, b); };
    const auto Start = [&] { DrawStartSide(); };
    const auto End = [&] { DrawEndSide(); };
    if (EndRight && StartLeft) {
        Inner();
        Start();
        End();
        if (b - a > 180) {
            a = std::max(a, 180);
            b = std::min(b, 360);
        }
        Outer();
    } else if (EndRight && Wide) {
        Inner(), Start(), End(), Outer();
    } else if (EndRight) {
        End(), Inner(), Outer(), Start();
    } else if (StartLeft && Wide) {
        Inner(), End(), Start(), Outer();
    } else if (StartLeft) {
        Start(), Inner(), Outer(), End();
    } else if (Wide) {
        Inner(), End(), Outer(), Start();
    } else {
        Inner(), Outer(), Start(), End();
    }
}

void TPieDrawer::DrawEdges()
{
    ICanvas.DrawPieEdge(FSlice.EdgeStyle, zPos, hasBevel ? z0BevelRect : z0Rect, hasBevel ? z1BevelRect : z1Rect,
        z0DonutRect, iStartAngle, iEndAngle, middle0, isDonut);
}

void TPieDrawer::DrawColouredSides()
{
    TChtBrush& Brush = *ICanvas.Brush();
    TChtPen& Pen = *ICanvas.Pen();
    const bool SamePen = Pen.Color() == OldColor;
    if (FSlice.DarkSides) {
        if (Brush.Style() != plat::bsClear) {
            Brush.SetColor(DarkenColorBy(Brush.Color(), SideDarkening));
        }
        if (SamePen) {
            Pen.SetColor(DarkenColorBy(Pen.Color(), SideDarkening));
        }
    }
    DrawSides(iStartAngle, iEndAngle);
    if (FSlice.DarkSides) {
        if (Brush.Style() == plat::bsSolid) {
            Brush.SetColor(OldColor);
        } else {
            ICanvas.SetBackColor(OldColor);
        }
        if (SamePen) {
            Pen.SetColor(OldColor);
        }
    }
}

// --- The slice --------------------------------------------------------------------------

void TPieDrawer::Draw()
{
    const bool Blending = FSlice.Transparency > 0;
    std::unique_ptr<TChtBlend> Blend;
    if (Blending) {
        TRect Area;
        if (!ICanvas.SupportsAlpha()) {
            const int e = ICanvas.Pen()->Width() / 2;
            Area = {z0Rect.Left - e, z0Rect.Top - e, z0Rect.Right + e + 1, z1Rect.Bottom + e};
        }
        Blend = ICanvas.BeginBlending(Area, FSlice.Transparency);
    }
    const auto EndBlend = [&] {
        if (Blending) {
            ICanvas.EndBlending(std::move(Blend));
        }
    };
    try {
        DrawBottom();
        DrawColouredSides();
        DrawTop();
        if ((FSlice.Gradient != nullptr && FSlice.Gradient->Visible()) || FSlice.EdgeStyle != edNone) {
            DrawEdges();
        }
    } catch (...) {
        EndBlend();
        throw;
    }
    EndBlend();
}

} // namespace qel
