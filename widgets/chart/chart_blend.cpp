// Snapshots of a canvas rectangle mixed back over later drawing, and the
// bitmap blend computed on the pixel rows.
#include "widgets/chart/chart_blend.h"

#include "widgets/chart/chart_canvas.h"
#include "widgets/chart/chart_canvas_unit.h"
#include "widgets/chart/plane_geometry.h"

#include "platform/canvas/bitmap.h"

#include <algorithm>
#include <cstdint>

namespace qel {

TChtBlend::TChtBlend(TChtCanvas* ACanvas, const TRect& R) : FCanvas(ACanvas)
{
    if (FCanvas != nullptr) {
        SetRectangle(R);
    }
}

TChtBlend::~TChtBlend() = default;

namespace {

// One pixel past Edge, saturated.
int OnePast(int Edge)
{
    return plat::SaturateInt(std::int64_t{Edge} + 1);
}

// The canvas the snapshot is taken from and the blend is drawn back to:
// the off-screen bitmap's, else the reference canvas.
plat::TCanvas* PixelSource(TChtCanvas& Canvas)
{
    plat::TBitmap* Offscreen = Canvas.OffscreenBitmap();
    return Offscreen != nullptr ? Offscreen->Canvas() : Canvas.ReferenceCanvas();
}

} // namespace

void TChtBlend::SetRectangle(const TRect& R)
{
    TRect Clamped = OrderedRect(R);
    Clamped.Left = std::max(Clamped.Left, 0);
    Clamped.Top = std::max(Clamped.Top, 0);
    Clamped.Right = std::max(Clamped.Right, 0);
    Clamped.Bottom = std::max(Clamped.Bottom, 0);
    if (Clamped.Right <= Clamped.Left) {
        Clamped.Right = OnePast(Clamped.Left);
    }
    if (Clamped.Bottom <= Clamped.Top) {
        Clamped.Bottom = OnePast(Clamped.Top);
    }
    const TRect& Bounds = FCanvas->Bounds();
    Clamped.Right = std::min(Clamped.Right, Bounds.Right);
    Clamped.Bottom = std::min(Clamped.Bottom, Bounds.Bottom);
    FRect = Clamped;
    plat::TCanvas* Source = PixelSource(*FCanvas);
    IValidSize = !FRect.IsEmpty() && Source != nullptr;
    if (!IValidSize) {
        return;
    }
    const int Width = static_cast<int>(FRect.Width());
    const int Height = static_cast<int>(FRect.Height());
    FBitmap = std::make_unique<plat::TBitmap>();
    FBitmap->SetPixelFormat(plat::pf24bit);
    SetBitmapSize(*FBitmap, Width, Height);
    FBitmap->Canvas()->CopyRect({0, 0, Width, Height}, Source, FRect);
}

void TChtBlend::DoBlend(TChtTransparency Transparency)
{
    if (FCanvas == nullptr || FCanvas->Metafiling() || !IValidSize) {
        return;
    }
    const double Opacity = 100.0 - Transparency;
    if (plat::TBitmap* Offscreen = FCanvas->OffscreenBitmap(); Offscreen != nullptr) {
        BlendBitmap(Opacity, *FBitmap, *Offscreen, {FRect.Left, FRect.Top});
        return;
    }
    const int Width = static_cast<int>(FRect.Width());
    const int Height = static_cast<int>(FRect.Height());
    plat::TBitmap Drawn;
    SetBitmapSize(Drawn, Width, Height);
    Drawn.Canvas()->CopyRect({0, 0, Width, Height}, FCanvas->ReferenceCanvas(), FRect);
    BlendBitmap(Opacity, *FBitmap, Drawn, {0, 0});
    FCanvas->Draw(FRect.Left, FRect.Top, &Drawn);
}

int BlendSourceWeight(double Opacity)
{
    return 255 - RoundToPixel(Opacity * 2.55);
}

namespace {

int BytesPerPixel(const plat::TBitmap& Bitmap)
{
    return Bitmap.PixelFormat() == plat::pf24bit ? 3 : 4;
}

} // namespace

void BlendBitmap(double Opacity, plat::TBitmap& Source, plat::TBitmap& Dest, TPoint Position)
{
    const int X = std::max(Position.X, 0);
    const int Y = std::max(Position.Y, 0);
    const int Width = std::min(Source.Width(), Dest.Width() - X);
    const int Height = std::min(Source.Height(), Dest.Height() - Y);
    if (Width < 1 || Height < 1) {
        return;
    }
    const int SourceWeight = std::clamp(BlendSourceWeight(Opacity), 0, 255);
    const int DestWeight = 255 - SourceWeight;
    const int SourceBytes = BytesPerPixel(Source);
    const int DestBytes = BytesPerPixel(Dest);
    for (int Row = 0; Row < Height; ++Row) {
        const std::uint8_t* From = Source.ScanLine(Row);
        std::uint8_t* To = Dest.ScanLine(Y + Row) + static_cast<std::ptrdiff_t>(X) * DestBytes;
        for (int Column = 0; Column < Width; ++Column) {
            for (int Channel = 0; Channel < 3; ++Channel) {
                To[Channel] = static_cast<std::uint8_t>(
                    (From[Channel] * SourceWeight + To[Channel] * DestWeight + 127) / 255);
            }
            From += SourceBytes;
            To += DestBytes;
        }
    }
}

} // namespace qel
