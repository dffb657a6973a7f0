// The separable blur-and-multiply of smooth shadows, on the pixel rows.
#include "widgets/chart/shadow_blur.h"

#include "widgets/chart/chart_shadow.h"
#include "widgets/chart/cht_canvas3d.h"
#include "widgets/chart/plane_geometry.h"

#include "platform/canvas/bitmap.h"
#include "platform/canvas/canvas.h"
#include "platform/canvas/graphics_errors.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace qel {

namespace {

constexpr int CentreWeight = 100000;
// The largest blur radius of a shadow.
constexpr int LargestBlurSize = 8191;

int BytesPerPixel(const plat::TBitmap& Bitmap)
{
    return Bitmap.PixelFormat() == plat::pf24bit ? 3 : 4;
}

} // namespace

std::vector<int> BlurKernel(int Radius, float Strength)
{
    const int R = std::max(Radius, 0);
    std::vector<int> Weights(static_cast<std::size_t>(2 * R + 1));
    Weights[static_cast<std::size_t>(R)] = CentreWeight;
    const float Base = (Strength + 180.0f) * 0.01f;
    for (int I = 0; I < R; ++I) {
        const float Distance = static_cast<float>(I - R);
        const float Power = std::pow(Base, -(Distance * Distance) / static_cast<float>(R));
        const int Weight = RoundToPixel(static_cast<float>(CentreWeight) * Power);
        Weights[static_cast<std::size_t>(I)] = Weight;
        Weights[static_cast<std::size_t>(2 * R - I)] = Weight;
    }
    return Weights;
}

void BlurMultiply(plat::TBitmap& Source, plat::TBitmap& Dest, int X, int Y, int Width, int Height, int Radius,
    float Strength, TChtCanvas& Canvas, bool Clip)
{
    Width = std::min(Width, Source.Width());
    Height = std::min(Height, Source.Height());
    if (Width < 1 || Height < 1 || Dest.Empty()) {
        return;
    }
    const int R = std::max(Radius, 0);
    const std::vector<int> Kernel = BlurKernel(R, Strength);
    const int KernelSize = 2 * R + 1;
    // The area of the shape that falls on Dest, in shape coordinates.
    const int FirstColumn = std::max(0, -X);
    const int FirstRow = std::max(0, -Y);
    const int LastColumn = static_cast<int>(std::min<std::int64_t>(Width, std::int64_t{Dest.Width()} - X)) - 1;
    const int LastRow = static_cast<int>(std::min<std::int64_t>(Height, std::int64_t{Dest.Height()} - Y)) - 1;
    if (FirstColumn > LastColumn || FirstRow > LastRow) {
        return;
    }
    const int SourceBytes = BytesPerPixel(Source);
    const int DestBytes = BytesPerPixel(Dest);

    // Horizontal pass over every row of the shape, so that the vertical
    // windows of the area's edge rows see their neighbours.
    const int Columns = LastColumn - FirstColumn + 1;
    std::vector<std::uint8_t> Across(static_cast<std::size_t>(Height) * Columns * 3);
    for (int Row = 0; Row < Height; ++Row) {
        const std::uint8_t* Line = Source.ScanLine(Row);
        std::uint8_t* Cell = Across.data() + static_cast<std::size_t>(Row) * Columns * 3;
        for (int Column = FirstColumn; Column <= LastColumn; ++Column, Cell += 3) {
            std::int64_t Sum[3] = {0, 0, 0};
            std::int64_t Total = 0;
            for (int K = std::max(0, R - Column), From = std::max(0, Column - R); K < KernelSize && From < Width;
                 ++K, ++From) {
                const std::uint8_t* Pixel = Line + static_cast<std::ptrdiff_t>(From) * SourceBytes;
                for (int Channel = 0; Channel < 3; ++Channel) {
                    Sum[Channel] += std::int64_t{Kernel[static_cast<std::size_t>(K)]} * Pixel[Channel];
                }
                Total += Kernel[static_cast<std::size_t>(K)];
            }
            for (int Channel = 0; Channel < 3; ++Channel) {
                Cell[Channel] = Total != 0 ? static_cast<std::uint8_t>(Sum[Channel] / Total) : 0;
            }
        }
    }

    // Vertical pass, multiplied into Dest.
    plat::TDeviceContext* DC = Clip ? Canvas.DeviceContext() : nullptr;
    for (int Column = FirstColumn; Column <= LastColumn; ++Column) {
        const int DestX = X + Column;
        for (int Row = FirstRow; Row <= LastRow; ++Row) {
            const int DestY = Y + Row;
            if (Clip && (DC == nullptr || !DC->PtVisible(DestX, DestY))) {
                continue;
            }
            double Sum[3] = {0, 0, 0};
            double Total = 0;
            // The window ends before the kernel index of the area's last row
            // counted from the window's first row: that row never takes part.
            const int From0 = std::max(0, Row - R);
            const int KernelEnd = std::min(KernelSize, LastRow - From0);
            for (int K = std::max(0, R - Row), From = From0; K < KernelEnd; ++K, ++From) {
                const std::uint8_t* Cell
                    = Across.data() + (static_cast<std::size_t>(From) * Columns + (Column - FirstColumn)) * 3;
                const double Weight = Kernel[static_cast<std::size_t>(K)];
                for (int Channel = 0; Channel < 3; ++Channel) {
                    Sum[Channel] += Weight * Cell[Channel];
                }
                Total += Weight;
            }
            if (Total == 0) {
                continue;
            }
            std::uint8_t* Pixel = Dest.ScanLine(DestY) + static_cast<std::ptrdiff_t>(DestX) * DestBytes;
            for (int Channel = 0; Channel < 3; ++Channel) {
                Pixel[Channel] = static_cast<std::uint8_t>(
                    std::clamp(RoundToPixel(Pixel[Channel] * (Sum[Channel] / Total) / 255.0), 0, 255));
            }
        }
    }
}

void SmoothShadow(const TChtShadow& Shadow, TChtCanvas3D& Canvas, const TRect& Rect, bool IsEllipse, int RoundSize,
    std::span<const TPoint> Points, int HolePercent)
{
    plat::TBitmap* Offscreen = Canvas.OffscreenBitmap();
    if (Offscreen == nullptr) {
        return;
    }
    const int Blur = std::clamp(Shadow.BlurSize, 0, LargestBlurSize);
    TPointArray Moved(Points.begin(), Points.end());
    std::int64_t Width = 0;
    std::int64_t Height = 0;
    if (!Moved.empty()) {
        const TRect Bounds = PolygonBounds(Moved);
        for (TPoint& P : Moved) {
            P = {plat::SaturateInt(std::int64_t{P.X} - Bounds.Left + 1),
                plat::SaturateInt(std::int64_t{P.Y} - Bounds.Top + 1)};
        }
        const TRect Shifted = PolygonBounds(Moved);
        Width = std::int64_t{Shifted.Right} - Shifted.Left + Blur;
        Height = std::int64_t{Shifted.Bottom} - Shifted.Top + Blur;
    } else {
        Width = std::int64_t{Rect.Right} - Rect.Left;
        Height = std::int64_t{Rect.Bottom} - Rect.Top;
    }
    Width = std::max<std::int64_t>(Width, 1);
    Height = std::max<std::int64_t>(Height, 1);
    // A picture the platform cannot hold raises its error.
    if (Width > std::numeric_limits<int>::max() || Height > std::numeric_limits<int>::max()) {
        throw plat::EInvalidGraphic("Invalid bitmap size");
    }
    plat::TBitmap Shape(static_cast<int>(Width), static_cast<int>(Height), plat::pf24bit);
    plat::TCanvas& Paint = *Shape.Canvas();
    const int Half = Blur / 2;
    const TRect Inner{Half, Half, Shape.Width() - Half, Shape.Height() - Half};
    Paint.Brush()->SetColor(Shadow.Color());
    Paint.Pen()->SetStyle(plat::psClear);
    if (!Moved.empty()) {
        Paint.Polygon(Moved.data(), static_cast<int>(Moved.size()));
    } else if (IsEllipse) {
        Paint.Ellipse(Inner.Left, Inner.Top, Inner.Right, Inner.Bottom);
        if (HolePercent != 0) {
            const int InX = RoundToPixel((100.0 - HolePercent) * (static_cast<double>(Rect.Right) - Rect.Left) * 0.005);
            const int InY = RoundToPixel((100.0 - HolePercent) * (static_cast<double>(Rect.Bottom) - Rect.Top) * 0.005);
            Paint.Brush()->SetColor(clWhite);
            Paint.Ellipse(Inner.Left + InX, Inner.Top + InY, Inner.Right - InX, Inner.Bottom - InY);
        }
    } else if (RoundSize != 0) {
        Paint.RoundRect(Inner.Left, Inner.Top, Inner.Right, Inner.Bottom, RoundSize, RoundSize);
    } else {
        Paint.FillRect(Inner);
    }
    BlurMultiply(Shape, *Offscreen, Rect.Left, Rect.Top, Shape.Width(), Shape.Height(), Blur,
        static_cast<float>(Shadow.SmoothBlur()), Canvas, Shadow.Clip());
}

} // namespace qel
