// A 3D chart canvas that notes the polygons, four-point faces and pie
// edges it draws (with the brush and gradient in force at each) before
// drawing them, and a scene that points it, unbuffered, at a white 24-bit
// bitmap through a recording device context.
#pragma once

#include "widgets/chart/cht_canvas3d.h"
#include "widgets/chart/view3d_options.h"

#include "platform/canvas/bitmap.h"
#include "platform/canvas/canvas.h"
#include "platform/canvas/recording_dc.h"

#include <vector>

namespace qel::test {

// What a fill call found on the canvas.
struct TNotedFill {
    TPointArray Points;
    TColor BrushColor = clNone;
    TColor PenColor = clNone;
    bool GradientVisible = false;
    TColor GradientStart = clNone;
    TColor GradientEnd = clNone;
    TGradientDirection Direction = gdTopBottom;
    bool FourPoints = false;   // a plane or flat side through the corner buffer
};

class TNotingCanvas3D : public TChtCanvas3D {
public:
    void PolygonFloat(std::span<const TPointFloat> Points) override
    {
        TPointArray Whole;
        for (const TPointFloat& P : Points) {
            Whole.push_back({RoundToPixel(P.X), RoundToPixel(P.Y)});
        }
        Note(Whole, false);
        TChtCanvas3D::PolygonFloat(Points);
    }
    using TChtCanvas3D::PolygonFloat;
    void PolygonFourPoints() override
    {
        Note(TPointArray(PlanePoints().begin(), PlanePoints().end()), true);
        TChtCanvas3D::PolygonFourPoints();
    }
    void DrawPieEdge(TEdgeStyle, int, const TRect&, const TRect&, const TRect&, int, int, const TPoint&, bool) override
    {
        ++PieEdges;
    }

    std::vector<TNotedFill> Fills;
    int PieEdges = 0;

private:
    void Note(TPointArray Points, bool FourPoints)
    {
        TNotedFill Fill{std::move(Points), Brush()->Color(), Pen()->Color(), Gradient()->Visible(),
            Gradient()->StartColor(), Gradient()->EndColor(), Gradient()->Direction(), FourPoints};
        Fills.push_back(std::move(Fill));
    }
};

struct TShapeScene {
    explicit TShapeScene(int Width = 100, int Height = 100)
        : Bitmap(Width, Height, plat::pf24bit), Recorder(Bitmap.Canvas()->Handle()), Dest(&Recorder)
    {
        Canvas.SetUseBuffer(false);
        Bitmap.Canvas()->Brush()->SetColor(clWhite);
        Bitmap.Canvas()->FillRect({0, 0, Width, Height});
    }

    // A drawing pass over the whole bitmap, 3D or flat, of depth MaxDepth;
    // notes and recordings start empty.
    void Begin(bool Is3D, int MaxDepth = 0)
    {
        const TRect Whole{0, 0, Bitmap.Width(), Bitmap.Height()};
        Canvas.InitWindow(&Dest, &Options, clWhite, Is3D, Whole);
        Canvas.Projection(MaxDepth, Whole, Whole);
        Recorder.Clear();
        Canvas.Fills.clear();
    }

    // Seen straight from the front: no rotation, elevation or perspective.
    void FrontView()
    {
        Options.SetOrthogonal(false);
        Options.SetRotation(0);
        Options.SetElevation(0);
        Options.SetPerspective(0);
    }

    TColor PixelColor(int X, int Y)
    {
        const std::uint8_t* Pixel = Bitmap.ScanLine(Y) + X * 3;
        return static_cast<TColor>(Pixel[2] | Pixel[1] << 8 | Pixel[0] << 16);
    }

    std::size_t Count(std::string_view Name) const { return Recorder.CallsNamed(Name).size(); }

    plat::TBitmap Bitmap;
    plat::TRecordingDC Recorder;
    plat::TCanvas Dest;
    TView3DOptions Options{nullptr};
    TNotingCanvas3D Canvas;
};

} // namespace qel::test
