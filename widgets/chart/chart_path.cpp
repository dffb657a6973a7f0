// Paths recorded on the device context of a chart canvas and painted with
// its brush, picture or gradient.
#include "widgets/chart/chart_path.h"

#include "widgets/chart/chart_canvas.h"
#include "widgets/chart/chart_gradient.h"
#include "widgets/chart/chart_picture.h"
#include "widgets/chart/plane_geometry.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace qel {

namespace {

plat::TDeviceContext* RecordingDevice(TChtCanvas& Canvas)
{
    plat::TDeviceContext* DC = Canvas.DeviceContext();
    if (DC == nullptr) {
        // The code and text of an invalid handle.
        throw std::runtime_error("Cannot create GDI path. Error: 6 The handle is invalid.");
    }
    return DC;
}

// Paints with the path as the clip and the clip's box as the area, then
// brings back the device state, the path included.
template <class TPaint>
void PaintInsidePath(plat::TDeviceContext& DC, TPaint&& Paint)
{
    DC.SaveDC();
    struct TRestore {
        plat::TDeviceContext& DC;
        ~TRestore() { DC.RestoreDC(-1); }
    } Restore{DC};
    DC.SelectClipPath(plat::RGN_COPY);
    TRect Box;
    DC.GetClipBox(Box);
    Paint(Box);
}

} // namespace

TChtPath::TChtPath(TChtCanvas& Canvas) : ICanvas(Canvas)
{
    RecordingDevice(ICanvas)->BeginPath();
}

void TChtPath::ArcTo(float X, float Y, float Width, float Height, float StartAngle, float SweepAngle)
{
    ICanvas.Arc(RoundToPixel(X), RoundToPixel(Y), RoundToPixel(X + Width), RoundToPixel(Y + Height), StartAngle,
        StartAngle + SweepAngle);
}

void TChtPath::Close()
{
    RecordingDevice(ICanvas)->CloseFigure();
}

void TChtPath::Curve(std::span<const TPoint> Points, float Tension, bool Closed)
{
    (void)Tension;
    if (Points.empty()) {
        return;
    }
    plat::TDeviceContext* DC = RecordingDevice(ICanvas);
    const int Count = static_cast<int>(std::min<std::size_t>(Points.size(), 0x7FFFFFFF));
    if (Closed) {
        DC->Polygon(Points.data(), Count);
        DC->MoveTo(Points.back().X, Points.back().Y);
    } else {
        DC->PolylineTo(Points.data(), Count);
    }
}

void TChtPath::LineTo(float X, float Y)
{
    RecordingDevice(ICanvas)->LineTo(RoundToPixel(X), RoundToPixel(Y));
}

void TChtPath::MoveTo(float X, float Y)
{
    RecordingDevice(ICanvas)->MoveTo(RoundToPixel(X), RoundToPixel(Y));
}

void TChtPath::TextOut(float X, float Y, const std::string& Text)
{
    ICanvas.TextOut(RoundToPixel(X), RoundToPixel(Y), Text);
}

void TChtPath::GetPoints(TPathPointTypes& Types, TPointFloatArray& Points, TRectF& Bounds)
{
    (void)Bounds;
    Types.clear();
    Points.clear();
}

void TChtPath::Draw(TChtCanvas& ACanvas)
{
    const bool PenVisible = ACanvas.Pen()->Visible();
    RecordingDevice(ACanvas)->EndPath();
    bool Fill = ACanvas.Brush()->Style() != plat::bsClear;
    if (ACanvas.Brush()->HasImage()) {
        PaintInsidePath(*RecordingDevice(ACanvas),
            [&](const TRect& Box) { ACanvas.StretchDraw(Box, ACanvas.Brush()->Image()->Filtered()); });
        Fill = false;
    }
    if (ACanvas.BrushGradientVisible()) {
        PaintInsidePath(*RecordingDevice(ACanvas), [&](const TRect& Box) {
            // The fill goes through the canvas gradient itself, which a
            // second gradient replaces while it is drawn over: a copy paints
            // and the settings come back afterwards.
            TChtGradient Own;
            Own.Assign(ACanvas.Gradient());
            Own.Draw(ACanvas, Box, 0);
            ACanvas.Gradient()->Assign(&Own);
        });
        Fill = false;
    }
    plat::TDeviceContext* DC = RecordingDevice(ACanvas);
    if (Fill && PenVisible) {
        DC->StrokeAndFillPath();
    } else if (PenVisible) {
        DC->StrokePath();
    } else if (Fill) {
        DC->FillPath();
    }
}

} // namespace qel
