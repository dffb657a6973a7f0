// A small drawing chart canvas for the canvas tests: it draws on a 24-bit
// bitmap through a recording device context, so that a test can assert on
// the platform calls and on the pixels alike. Primitives go straight to the
// platform canvas; nothing is buffered.
#pragma once

#include "widgets/chart/chart_canvas.h"

#include "platform/canvas/bitmap.h"
#include "platform/canvas/canvas.h"
#include "platform/canvas/recording_dc.h"

#include <memory>
#include <string>

namespace qel::test {

class TTestChartCanvas : public TChtCanvas {
public:
    TTestChartCanvas(int Width, int Height)
        : Bitmap(Width, Height, plat::pf24bit),
          Recorder(Bitmap.Canvas()->Handle()),
          Surface(&Recorder)
    {
        FBounds = {0, 0, Width, Height};
        SetReferenceCanvas(&Surface);
    }

    // The zoom switches a drawing canvas sets from its view options.
    void ZoomPens(bool Value) { IZoomPen = Value; }
    void ZoomTexts(bool Value) { IZoomText = Value; }

    TColor GetBackColor() const override { return static_cast<TColor>(Recorder.GetBkColor()); }
    void SetBackColor(TColor Value) override { Recorder.SetBkColor(plat::ToColorRef(SystemColor(Value))); }
    TCanvasBackMode GetBackMode() const override
    {
        return Recorder.GetBkMode() == plat::OPAQUE ? cbmOpaque : cbmTransparent;
    }
    void SetBackMode(TCanvasBackMode Value) override
    {
        Recorder.SetBkMode(Value == cbmOpaque ? plat::OPAQUE : plat::TRANSPARENT);
    }
    plat::TDeviceContext* GetHandle() const override { return &Recorder; }
    bool GetMonochrome() const override { return Monochrome; }
    void SetMonochrome(bool Value) override { Monochrome = Value; }
    bool GetSupportsFullRotation() const override { return false; }
    bool GetSupportsXORMode() const override { return true; }
    int GetTextAlign() const override { return static_cast<int>(Recorder.GetTextAlign()); }
    void SetTextAlign(int Value) override { Recorder.SetTextAlign(static_cast<std::uint32_t>(Value)); }
    TColor GetPixel(int X, int Y) const override { return Surface.Pixel(X, Y); }
    void SetPixel(int X, int Y, TColor Value) override { Surface.SetPixel(X, Y, Value); }

    void MoveTo(int X, int Y) override { Surface.MoveTo(X, Y); }
    void LineTo(int X, int Y) override { Surface.LineTo(X, Y); }
    using TChtCanvas::LineTo;
    using TChtCanvas::MoveTo;
    void Polyline(std::span<const TPoint> Points) override
    {
        Surface.Polyline(Points.data(), static_cast<int>(Points.size()));
    }
    void Polygon(std::span<const TPoint> Points) override
    {
        Surface.Polygon(Points.data(), static_cast<int>(Points.size()));
    }
    void Rectangle(int X0, int Y0, int X1, int Y1) override { Surface.Rectangle(X0, Y0, X1, Y1); }
    using TChtCanvas::Rectangle;
    void Ellipse(int X1, int Y1, int X2, int Y2) override { Surface.Ellipse(X1, Y1, X2, Y2); }
    using TChtCanvas::Ellipse;
    void RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3) override
    {
        Surface.RoundRect(X1, Y1, X2, Y2, X3, Y3);
    }
    using TChtCanvas::RoundRect;
    void Arc(int Left, int Top, int Right, int Bottom, int StartX, int StartY, int EndX, int EndY) override
    {
        Surface.Arc(Left, Top, Right, Bottom, StartX, StartY, EndX, EndY);
    }
    using TChtCanvas::Arc;
    void FillRect(const TRect& Rect) override { Surface.FillRect(Rect); }
    void Draw(int X, int Y, plat::TGraphic* Graphic) override { Surface.Draw(X, Y, Graphic); }
    void StretchDraw(const TRect& Rect, plat::TGraphic* Graphic) override { Surface.StretchDraw(Rect, Graphic); }
    void TextOut(int X, int Y, const std::string& Text) override { Surface.TextOut(X, Y, Text); }
    void ClipRectangle(const TRect& Rect) override { Clip(Rect); }
    using TChtCanvas::ClipRectangle;

    // The colour of a pixel of the bitmap, read from its row whatever the
    // clip.
    TColor PixelColor(int X, int Y)
    {
        const std::uint8_t* Pixel = Bitmap.ScanLine(Y) + X * 3;
        return static_cast<TColor>(Pixel[2] | Pixel[1] << 8 | Pixel[0] << 16);
    }
    // For a look at what was drawn.
    bool SavePng(const std::string& Path) { return Bitmap.PixelSurface()->SaveToPng(Path); }

    plat::TBitmap Bitmap;
    mutable plat::TRecordingDC Recorder;
    mutable plat::TCanvas Surface;
    bool Monochrome = false;
};

// The points of a recorded point-list call: its count, then x and y.
inline TPointArray RecordedPoints(const plat::TRecordedCall& Call)
{
    TPointArray Points;
    for (std::size_t I = 1; I + 1 < Call.Args.size(); I += 2) {
        Points.push_back({static_cast<int>(Call.Args[I]), static_cast<int>(Call.Args[I + 1])});
    }
    return Points;
}

} // namespace qel::test
