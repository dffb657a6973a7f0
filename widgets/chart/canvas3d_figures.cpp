// Figures of the 3D chart canvas built on its polygons: truncated
// pyramids, pictures laid into a plane cell by cell, flat shadows, triangle
// surfaces, and the font for text the canvas projects itself.
#include "widgets/chart/canvas3d.h"

#include "widgets/chart/chart_blend.h"
#include "widgets/chart/chart_gradient.h"
#include "widgets/chart/chart_shadow.h"
#include "widgets/chart/color_shades.h"
#include "widgets/chart/plane_geometry.h"
#include "widgets/chart/view3d_options.h"

#include "platform/canvas/bitmap.h"

#include <memory>

namespace qel {

// --- Truncated pyramids ------------------------------------------------------------

namespace {

using TFace = std::array<TPointFloat, 4>;

} // namespace

void TCanvas3D::PyramidTrunc(const TRectF& R, double StartZ, double EndZ, double TruncX, double TruncZ,
    bool TopCover, bool BottomCover)
{
    const auto MidX = static_cast<float>((R.Left + R.Right) * 0.5);
    const auto MidZ = static_cast<float>((StartZ + EndZ) * 0.5);
    const auto HalfX = static_cast<float>(TruncX);
    const auto HalfZ = static_cast<float>(TruncZ);
    const auto Start = static_cast<float>(StartZ);
    const auto End = static_cast<float>(EndZ);
    const bool Upside = R.Top > R.Bottom;

    // Each corner (x, y, z) projected at its depth.
    const auto Face = [&](std::array<std::array<float, 3>, 4> Corners) {
        TFace Points;
        for (std::size_t I = 0; I < 4; ++I) {
            Points[I] = {Corners[I][0], Corners[I][1]};
            Calculate3DPosition(Points[I], Corners[I][2]);
        }
        return Points;
    };
    const auto BottomFace = [&] {
        PolygonFloat(Face({{{R.Left, R.Bottom, Start}, {R.Right, R.Bottom, Start}, {R.Right, R.Bottom, End},
            {R.Left, R.Bottom, End}}}));
    };
    const auto TopFace = [&] {
        PolygonFloat(Face({{{MidX - HalfX, R.Top, MidZ - HalfZ}, {MidX + HalfX, R.Top, MidZ - HalfZ},
            {MidX + HalfX, R.Top, MidZ + HalfZ}, {MidX - HalfX, R.Top, MidZ + HalfZ}}}));
    };
    // Front or back: drawn when it faces the viewer.
    const auto FrontFace = [&](float TopZ, float BottomZ, bool Flag) {
        const TFace P = Face({{{MidX - HalfX, R.Top, TopZ}, {MidX + HalfX, R.Top, TopZ}, {R.Right, R.Bottom, BottomZ},
            {R.Left, R.Bottom, BottomZ}}});
        if ((NegativeCrossF(P[1], P[2], P[3]) != Flag) != Upside) {
            PolygonFloat(P);
        }
    };
    const auto SideFace = [&](float BottomX, float TopX, bool Flag) {
        const TFace P = Face({{{TopX, R.Top, MidZ - HalfZ}, {TopX, R.Top, MidZ + HalfZ}, {BottomX, R.Bottom, End},
            {BottomX, R.Bottom, Start}}});
        if ((NegativeCrossF(P[3], P[2], P[1]) == Flag) != Upside) {
            PolygonFloat(P);
        }
    };
    const auto FirstCover = [&] {
        if (R.Bottom > R.Top) {
            if (BottomCover) {
                BottomFace();
            }
        } else if (TopCover && TruncX != 0) {
            TopFace();
        }
    };
    const auto LastCover = [&] {
        if (R.Bottom > R.Top) {
            if (TopCover && TruncX != 0) {
                TopFace();
            }
        } else if (BottomCover) {
            BottomFace();
        }
    };

    FirstCover();
    if (TruncX == 0 && StartZ == EndZ) {
        FrontFace(MidZ + HalfZ, End, false);
    } else {
        FrontFace(MidZ + HalfZ, End, true);
        SideFace(R.Left, MidX - HalfX, true);
        FrontFace(MidZ - HalfZ, Start, false);
        SideFace(R.Right, MidX + HalfX, false);
    }
    LastCover();
}

// --- A picture in a plane ----------------------------------------------------------------

namespace {

// The corner (A, B) of a cell moved into the plane at depth Pos.
TPoint3D InPlane(int A, int B, int Pos, TCanvas3DPlane Plane)
{
    switch (Plane) {
    case cpX: return {Pos, B, A};
    case cpY: return {A, Pos, B};
    case cpZ: break;
    }
    return {A, B, Pos};
}

} // namespace

void TCanvas3D::StretchDraw(const TRect& Rect, plat::TGraphic* Graphic, double Pos, TCanvas3DPlane Plane)
{
    Pen()->SetStyle(plat::psClear);
    if (Graphic == nullptr) {
        return;
    }
    std::unique_ptr<plat::TBitmap> Converted;
    auto* Pixels = dynamic_cast<plat::TBitmap*>(Graphic);
    if (Pixels == nullptr) {
        Converted = std::make_unique<plat::TBitmap>();
        Converted->SetPixelFormat(plat::pf24bit);
        Converted->Assign(Graphic);
        Pixels = Converted.get();
    }
    Pixels->SetPixelFormat(plat::pf24bit);
    const int Width = Pixels->Width();
    const int Height = Pixels->Height();
    if (Width == 0 || Height == 0) {
        return;
    }
    const double CellWidth = (static_cast<double>(Rect.Right) - Rect.Left) / Width;
    const double CellHeight = (static_cast<double>(Rect.Bottom) - Rect.Top) / Height;
    plat::TDeviceContext* DC = DeviceContext();
    const bool FastBrush = DC != nullptr && PrepareDCBrush();
    if (FastBrush) {
        plat::TLogBrush DCBrush = plat::CreateSolidBrush(0);
        DCBrush.UsesDCColor = true;
        DC->SelectBrush(DCBrush);
    }
    const int Depth = RoundToPixel(Pos);
    NotifyBatch(false);
    int Y0 = Rect.Top;
    for (int Row = 0; Row < Height; ++Row) {
        const int Y1 = plat::SaturateInt(std::int64_t{Rect.Top} + RoundToPixel(CellHeight * (Row + 1)));
        const std::uint8_t* Pixel = Pixels->ScanLine(Row);
        int X0 = Rect.Left;
        for (int Column = 0; Column < Width; ++Column, Pixel += 3) {
            const int X1 = plat::SaturateInt(std::int64_t{Rect.Left} + RoundToPixel(CellWidth * (Column + 1)));
            const auto Color = static_cast<TColor>(Pixel[2] | Pixel[1] << 8 | Pixel[0] << 16);
            if (FastBrush) {
                DC->SetDCBrushColor(plat::ToColorRef(Color));
            } else {
                Brush()->SetColor(Color);
            }
            const std::array<TPoint, 4> Cell{Calculate3DPosition(InPlane(X0, Y0, Depth, Plane)),
                Calculate3DPosition(InPlane(X1, Y0, Depth, Plane)), Calculate3DPosition(InPlane(X1, Y1, Depth, Plane)),
                Calculate3DPosition(InPlane(X0, Y1, Depth, Plane))};
            Polygon(Cell);
            X0 = X1;
        }
        Y0 = Y1;
    }
    NotifyBatch(true);
    if (FastBrush) {
        BrushChanged(*Brush());
    }
}

// --- Flat shadows ---------------------------------------------------------------------

void TCanvas3D::DrawShadow(const TChtShadow& Shadow, const TRect& Rect, bool IsEllipse, int RoundSize,
    std::span<const TPoint> Points, int HolePercent, double StartAngle, double EndAngle)
{
    (void)HolePercent;
    Brush()->SetColor(Shadow.Color());
    Brush()->SetStyle(plat::bsSolid);
    if (Pen()->Style() != plat::psClear) {
        Pen()->SetStyle(plat::psSolid);
        Pen()->SetColor(Brush()->Color());
    }
    if (!Points.empty()) {
        Polygon(Points);
        return;
    }
    if (!IsEllipse) {
        if (RoundSize == 0) {
            FillRect(Rect);
        } else {
            TChtCanvas::RoundRect(Rect, RoundSize, RoundSize);
        }
        return;
    }
    const auto DrawShape = [&] {
        if (EndAngle - StartAngle == 360) {
            Ellipse(Rect);
        } else {
            Pie(Rect, StartAngle, EndAngle);
        }
    };
    if (!Shadow.Smooth()) {
        DrawShape();
        return;
    }
    TChtGradient Glow;
    Glow.SetVisible(true);
    Glow.SetEndColor(Shadow.Color() == 0 ? clSilver : LightenColorBy(Shadow.Color(), 32));
    Glow.SetStartColor(DarkenColorBy(Shadow.Color(), 128));
    Glow.SetDirection(gdRadial);
    TChtGradient Saved;
    Saved.Assign(Gradient());
    Gradient()->Assign(&Glow);
    Pen()->SetStyle(plat::psClear);
    struct TRestore {
        TChtGradient& Target;
        const TChtGradient& Saved;
        ~TRestore() { Target.Assign(&Saved); }
    } Restore{*Gradient(), Saved};
    DrawShape();
}

// --- Triangle surfaces ------------------------------------------------------------------

void TCanvas3D::TriSurface(int NumTriangles, bool CreateCached, bool AddNormals, TChtBlend* Blend,
    TChtTransparency TriangleTransparency, const TChtCanvasTriPoints& CalcPoints, TChtCachedObject*& Cached)
{
    (void)CreateCached, (void)AddNormals, (void)Cached;
    for (int Index = 1; Index <= NumTriangles; ++Index) {
        TTrianglePoints3D Points{};
        TTriangleColors3D Colors{};
        TTriangleIndexes Indexes;
        CalcPoints(Index, Points, Colors, Indexes);
        if (Blend != nullptr) {
            const TTrianglePoints Corners = TrianglePointsTo2D(Points);
            Blend->SetRectangle(TriangleBounds(Corners));
        }
        Triangle3D(Points, Colors);
        if (Blend != nullptr) {
            Blend->DoBlend(TriangleTransparency);
        }
    }
}

// --- Fonts for projected text ------------------------------------------------------------

void TCanvas3D::AssignFont3D(const TChtFont& AFont)
{
    if (!GetSupports3DText() && F3DOptions != nullptr && F3DOptions->ZoomText() != ztNo
        && F3DOptions->ZoomFloat() != 100) {
        AssignFontSize(AFont, static_cast<float>(AFont.SizeFloat() * 0.01 * F3DOptions->ZoomFloat()));
        return;
    }
    AssignFont(AFont);
}

} // namespace qel
