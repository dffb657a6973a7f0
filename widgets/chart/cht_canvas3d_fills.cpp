// Fills of the 3D chart canvas: rectangles with picture or gradient
// brushes, FillRect, the two gradient fills, and pictures stretched,
// smoothly resampled or drawn through transparent copies.
#include "widgets/chart/cht_canvas3d.h"

#include "widgets/chart/chart_picture.h"
#include "widgets/chart/gradient_fill_painter.h"
#include "widgets/chart/plane_geometry.h"
#include "widgets/chart/smooth_stretch.h"

#include "platform/canvas/bitmap.h"
#include "platform/canvas/canvas.h"

#include <cstdlib>
#include <utility>

namespace qel {

// --- Rectangles -------------------------------------------------------------------------

void TChtCanvas3D::Rectangle(int X0, int Y0, int X1, int Y1)
{
    FillShape({X0, Y0, X1, Y1}, 0, 0, false);
}

void TChtCanvas3D::RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3)
{
    FillShape({X1, Y1, X2, Y2}, X3, Y3, true);
}

void TChtCanvas3D::FillShape(const TRect& Rect, int RoundX, int RoundY, bool Rounded)
{
    const plat::TBrushStyle StyleAtEntry = Brush()->Style();
    plat::TCanvas* Surface = ReferenceCanvas();
    if (Surface == nullptr) {
        return;
    }
    const auto InsideShape = [&](auto&& Paint) {
        if (Rounded) {
            ClipRectangle(Rect, RoundX, RoundY);
        }
        Paint();
        if (Rounded) {
            UnClipRectangle();
        }
        Surface->Brush()->SetStyle(plat::bsClear);
    };
    const bool Pictured = Brush()->HasImage();
    if (Pictured) {
        InsideShape([&] { Surface->StretchDraw(Rect, Brush()->Image()->Filtered()); });
    }
    const bool Gradiented = BrushGradientVisible();
    if (Gradiented) {
        InsideShape([&] { GradientFill(*Gradient(), Rect); });
    }
    if (Rounded) {
        Surface->RoundRect(Rect.Left, Rect.Top, Rect.Right, Rect.Bottom, RoundX, RoundY);
    } else {
        Surface->Rectangle(Rect);
    }
    if (Gradiented) {
        // The canvas brush goes back to the device.
        Brush()->SetStyle(plat::bsClear);
        Brush()->SetStyle(StyleAtEntry);
    }
}

void TChtCanvas3D::FillRect(const TRect& Rect)
{
    if (BrushGradientVisible()) {
        GradientFill(*Gradient(), Rect);
        return;
    }
    if (plat::TDeviceContext* DC = DeviceContext(); DC != nullptr) {
        DC->FillRect(Rect, ReferenceCanvas()->Brush()->Handle());
    }
}

// --- Gradients --------------------------------------------------------------------------

void TChtCanvas3D::GradientFill(const TRect& Rect, TColor StartColor, TColor EndColor, TGradientDirection Direction,
    int Balance, int RadialX, int RadialY)
{
    const TRect R = OrderedRect(Rect);
    if (Direction == gdRadial) {
        TChtGradient Radial;
        Radial.SetDirection(gdRadial);
        Radial.SetStartColor(StartColor);
        Radial.SetEndColor(EndColor);
        Radial.SetBalance(Balance);
        Radial.SetRadialX(RadialX);
        Radial.SetRadialY(RadialY);
        Radial.DrawRadial(*this, R);
        return;
    }
    if (Direction != gdTopBottom && Direction != gdLeftRight && Direction != gdDiagonalUp
        && Direction != gdDiagonalDown) {
        std::swap(StartColor, EndColor);
    }
    TGradientFillPainter Painter(*this, R, StartColor, EndColor, Balance);
    switch (Direction) {
    case gdTopBottom:
    case gdBottomTop: Painter.Bands(true); break;
    case gdLeftRight:
    case gdRightLeft: Painter.Bands(false); break;
    case gdFromCenter: Painter.Rings(); break;
    case gdFromTopLeft: Painter.CornerFill(false); break;
    case gdFromBottomLeft: Painter.CornerFill(true); break;
    case gdDiagonalUp: Painter.DiagonalLines(true); break;
    case gdDiagonalDown: Painter.DiagonalLines(false); break;
    case gdRadial: break;
    }
}

namespace {

// The colour as a grey of its channels' mean; clNone stays.
TColor Grey(TColor Color)
{
    if (Color == clNone) {
        return Color;
    }
    const auto Value = static_cast<std::uint32_t>(TChtCanvas::SystemColor(Color));
    const std::uint32_t Mean = ((Value & 0xFF) + (Value >> 8 & 0xFF) + (Value >> 16 & 0xFF)) / 3;
    return static_cast<TColor>(Mean | Mean << 8 | Mean << 16);
}

} // namespace

void TChtCanvas3D::GradientFill(const TCustomChtGradient& Gradient, const TRect& Rect)
{
    if (Gradient.Angle() != 0) {
        Gradient.DrawRotated(*this, Rect);
        return;
    }
    TColor Start = Gradient.StartColor();
    TColor End = Gradient.EndColor();
    TColor Mid = Gradient.MidColor();
    if (GetMonochrome()) {
        Start = Grey(Start);
        End = Grey(End);
        Mid = Grey(Mid);
    }
    const TGradientDirection Direction = Gradient.Direction();
    if (Direction == gdRadial) {
        GradientFill(Rect, Start, End, gdRadial, Gradient.Balance(), Gradient.RadialX(), Gradient.RadialY());
        return;
    }
    if (Mid == clNone || Direction == gdDiagonalUp || Direction == gdDiagonalDown) {
        GradientFill(Rect, Start, End, Direction, Gradient.Balance(), 0, 0);
        return;
    }
    const bool Across = Direction == gdTopBottom || Direction == gdBottomTop;
    const bool Along = Direction == gdLeftRight || Direction == gdRightLeft;
    if (!Across && !Along) {
        GradientFill(Rect, Start, End, Direction, 50, 0, 0);
        return;
    }
    TRect First = Rect;
    TRect Second = Rect;
    if (Across) {
        const auto Cut = static_cast<int>((std::int64_t{Rect.Top} + Rect.Bottom) / 2);
        First.Bottom = Cut;
        Second.Top = Cut;
    } else {
        const auto Cut = static_cast<int>((std::int64_t{Rect.Left} + Rect.Right) / 2);
        First.Right = Cut;
        Second.Left = Cut;
    }
    // Upper or left part first.
    const bool EndFirst = Direction == gdTopBottom || Direction == gdLeftRight;
    GradientFill(First, EndFirst ? Mid : Start, EndFirst ? End : Mid, Direction, 50, 0, 0);
    GradientFill(Second, EndFirst ? Start : Mid, EndFirst ? Mid : End, Direction, 50, 0, 0);
}

// --- Pictures ----------------------------------------------------------------------------

std::unique_ptr<plat::TBitmap> TChtCanvas3D::TransparentCopy(plat::TGraphic& Graphic, const TRect& Rect)
{
    const auto Width = static_cast<int>(std::min<std::int64_t>(std::llabs(std::int64_t{Rect.Right} - Rect.Left), 0x7FFF));
    const auto Height = static_cast<int>(std::min<std::int64_t>(std::llabs(std::int64_t{Rect.Bottom} - Rect.Top), 0x7FFF));
    auto Copy = std::make_unique<plat::TBitmap>(Width, Height, plat::pf32bit);
    if (plat::TBitmap* Offscreen = OffscreenBitmap(); Offscreen != nullptr && Width > 0 && Height > 0) {
        Copy->Canvas()->CopyRect({0, 0, Width, Height}, Offscreen->Canvas(), Rect);
    }
    if (Width > 0 && Height > 0) {
        Copy->Canvas()->StretchDraw({0, 0, Width, Height}, &Graphic);
    }
    return Copy;
}

void TChtCanvas3D::StretchDraw(const TRect& ARect, plat::TGraphic* Graphic)
{
    plat::TCanvas* Surface = ReferenceCanvas();
    if (Graphic == nullptr || Surface == nullptr) {
        return;
    }
    if (StretchDrawQuality() == sqLow) {
        if (Graphic->Transparent()) {
            const auto Copy = TransparentCopy(*Graphic, ARect);
            Surface->StretchDraw(ARect, Copy.get());
        } else {
            Surface->StretchDraw(ARect, Graphic);
        }
        return;
    }
    auto* Source = dynamic_cast<plat::TBitmap*>(Graphic);
    std::unique_ptr<plat::TBitmap> Converted;
    if (Source == nullptr) {
        if (Graphic->Transparent()) {
            const auto Copy = TransparentCopy(*Graphic, ARect);
            Surface->Draw(ARect.Left, ARect.Top, Copy.get());
            return;
        }
        Converted = std::make_unique<plat::TBitmap>();
        Converted->Assign(Graphic);
        Source = Converted.get();
    }
    const auto Width = static_cast<int>(std::min<std::int64_t>(std::llabs(std::int64_t{ARect.Right} - ARect.Left), 0x7FFF));
    const auto Height = static_cast<int>(std::min<std::int64_t>(std::llabs(std::int64_t{ARect.Bottom} - ARect.Top), 0x7FFF));
    if (Width == 0 || Height == 0 || Source->Empty()) {
        return;
    }
    plat::TBitmap Resampled(Width, Height, Source->PixelFormat() == plat::pf24bit ? plat::pf24bit : plat::pf32bit);
    if (Source->Width() > 1 && Source->Height() > 1 && Width > 1 && Height > 1) {
        SmoothStretch(Source, &Resampled);
    } else {
        // Sizes the smooth resampling cannot do: the nearest pixels.
        Resampled.Canvas()->StretchDraw({0, 0, Width, Height}, Source);
    }
    Surface->Draw(ARect.Left, ARect.Top, &Resampled);
}

void TChtCanvas3D::Draw(int X, int Y, plat::TGraphic* Graphic)
{
    plat::TCanvas* Surface = ReferenceCanvas();
    if (Graphic == nullptr || Graphic->Empty() || Surface == nullptr) {
        return;
    }
    if (Graphic->Transparent()) {
        const TRect Area{X, Y, plat::SaturateInt(std::int64_t{X} + Graphic->Width()),
            plat::SaturateInt(std::int64_t{Y} + Graphic->Height())};
        const auto Copy = TransparentCopy(*Graphic, Area);
        Surface->Draw(X, Y, Copy.get());
        return;
    }
    Surface->Draw(X, Y, Graphic);
}

} // namespace qel
