// The 3D chart canvas for tests, with the polygons, ellipses and pies that
// a later canvas part draws passed straight to the platform canvas, and a
// scene that points it, unbuffered, at a 24-bit bitmap through a recording
// device context.
#pragma once

#include "widgets/chart/cht_canvas3d.h"
#include "widgets/chart/plane_geometry.h"
#include "widgets/chart/view3d_options.h"

#include "platform/canvas/bitmap.h"
#include "platform/canvas/canvas.h"
#include "platform/canvas/recording_dc.h"

#include <string>

namespace qel::test {

class TDrawingCanvas3D : public TChtCanvas3D {
public:
    void Polygon(std::span<const TPoint> Points) override
    {
        ReferenceCanvas()->Polygon(Points.data(), static_cast<int>(Points.size()));
    }
    void PolygonFloat(std::span<const TPointFloat> Points) override { Polygon(Rounded(Points)); }
    void PolylineFloat(std::span<const TPointFloat> Points) override { Polyline(Rounded(Points)); }
    using TChtCanvas3D::Polygon;
    using TChtCanvas3D::Polyline;
    void Ellipse(int X1, int Y1, int X2, int Y2) override { ReferenceCanvas()->Ellipse(X1, Y1, X2, Y2); }
    using TChtCanvas3D::Ellipse;
    void Pie(const TRect& R, double StartAngle, double EndAngle) override
    {
        const TPoint From = EllipseAnglePoint(R.Left, R.Top, R.Right, R.Bottom, static_cast<float>(StartAngle));
        const TPoint To = EllipseAnglePoint(R.Left, R.Top, R.Right, R.Bottom, static_cast<float>(EndAngle));
        ReferenceCanvas()->Pie(R.Left, R.Top, R.Right, R.Bottom, From.X, From.Y, To.X, To.Y);
    }
    using TChtCanvas3D::Pie;

private:
    static TPointArray Rounded(std::span<const TPointFloat> Points)
    {
        TPointArray Whole;
        for (const TPointFloat& P : Points) {
            Whole.push_back({RoundToPixel(P.X), RoundToPixel(P.Y)});
        }
        return Whole;
    }
};

// A canvas drawing unbuffered on a white bitmap through a recorder.
struct TCanvas3DScene {
    explicit TCanvas3DScene(int Width = 100, int Height = 100)
        : Bitmap(Width, Height, plat::pf24bit), Recorder(Bitmap.Canvas()->Handle()), Dest(&Recorder)
    {
        Canvas.SetUseBuffer(false);
    }

    // A drawing pass over the whole bitmap with the view options, 3D or
    // flat, of depth MaxDepth.
    void Begin(bool Is3D, int MaxDepth = 0)
    {
        const TRect Whole{0, 0, Bitmap.Width(), Bitmap.Height()};
        Canvas.InitWindow(&Dest, &Options, clWhite, Is3D, Whole);
        Canvas.Projection(MaxDepth, Whole, Whole);
        Recorder.Clear();
    }

    TColor PixelColor(int X, int Y)
    {
        const std::uint8_t* Pixel = Bitmap.ScanLine(Y) + X * 3;
        return static_cast<TColor>(Pixel[2] | Pixel[1] << 8 | Pixel[0] << 16);
    }

    plat::TBitmap Bitmap;
    plat::TRecordingDC Recorder;
    plat::TCanvas Dest;
    TView3DOptions Options{nullptr};
    TDrawingCanvas3D Canvas;
};

} // namespace qel::test
