// The text painter of the drawing chart canvas and the label operations
// built on it.
#include "widgets/chart/chart_text_painter.h"

#include "widgets/chart/blur_filter.h"
#include "widgets/chart/chart_blend.h"
#include "widgets/chart/chart_brush.h"
#include "widgets/chart/chart_canvas.h"
#include "widgets/chart/chart_gradient.h"
#include "widgets/chart/chart_pen.h"
#include "widgets/chart/chart_picture.h"
#include "widgets/chart/chart_shadow.h"
#include "widgets/chart/html_text_out.h"

#include "platform/canvas/bitmap.h"
#include "platform/canvas/device_context.h"
#include "platform/canvas/gdi_constants.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace qel {

namespace {

constexpr int TextAlignRight = 2;
constexpr int TextAlignCenter = 6;
constexpr int TextAlignBottom = 8;

constexpr std::uint8_t QualityDefault = 0;
constexpr std::uint8_t QualityNonAntialiased = 3;
constexpr std::uint8_t QualityAntialiased = 4;
constexpr std::uint8_t QualityClearType = 5;

// Selects a font into the canvas's device context for as long as it lives,
// then the one it replaced. The context is asked for again at the end: a
// blurred shadow may have given the canvas a new one.
class TSelectedFont {
public:
    TSelectedFont(TChtCanvas& ACanvas, plat::TDeviceContext& DC, const plat::TLogFont& Font)
        : FCanvas(ACanvas), FPrevious(DC.SelectFont(Font))
    {
    }
    ~TSelectedFont()
    {
        if (plat::TDeviceContext* DC = FCanvas.GetHandle()) {
            DC->SelectFont(FPrevious);
        }
    }
    TSelectedFont(const TSelectedFont&) = delete;
    TSelectedFont& operator=(const TSelectedFont&) = delete;

private:
    TChtCanvas& FCanvas;
    plat::TLogFont FPrevious;
};

int Shifted(int Value, std::int64_t By)
{
    return plat::SaturateInt(std::int64_t{Value} + By);
}

} // namespace

std::uint8_t FontQualityByte(TFontQuality FontQuality, TFontQuality CanvasQuality, std::uint8_t Current)
{
    switch (FontQuality) {
    case fqBest:
    case fqClearType:
        return QualityAntialiased;
    case fqNormal:
        return QualityNonAntialiased;
    case fqDefault:
        switch (CanvasQuality) {
        case fqBest: return QualityAntialiased;
        case fqNormal: return QualityNonAntialiased;
        case fqDefault: return QualityDefault;
        case fqClearType: return QualityClearType;
        }
        break;
    }
    return Current;
}

void TChtTextPainter::ApplyFontQuality(plat::TLogFont& LogFont) const
{
    LogFont.Quality = FontQualityByte(Canvas.Font()->Quality(), Settings.FontQuality, LogFont.Quality);
}

plat::TLogFont TChtTextPainter::SizedFont(int Size) const
{
    plat::TLogFont LogFont = Canvas.Font()->Handle();
    // MulDiv: one product, one division, halves away from zero.
    const double Pixels = static_cast<double>(Size) * Canvas.Font()->PixelsPerInch() / 72.0;
    LogFont.Height = -plat::SaturateInt(std::llround(Pixels));
    ApplyFontQuality(LogFont);
    return LogFont;
}

plat::TLogFont TChtTextPainter::CreateSizedFont(plat::TDeviceContext& DC, int Size)
{
    return DC.SelectFont(SizedFont(Size));
}

void TChtTextPainter::TextOut(int X, int Y, const std::string& Text)
{
    plat::TDeviceContext* DC = Canvas.DeviceContext();
    if (DC == nullptr) {
        return;
    }
    const TSelectedFont Sized(Canvas, *DC, SizedFont(Canvas.Font()->Size()));
    Paint(*DC, X, Y, Text);
}

void TChtTextPainter::TextOut3D(const TPoint& Projected, const std::string& Text, bool AllowHtml)
{
    if (AllowHtml) {
        HtmlTextOut(Canvas, Projected.X, Projected.Y, Text);
        return;
    }
    if (plat::TDeviceContext* DC = Canvas.DeviceContext()) {
        Paint(*DC, Projected.X, Projected.Y, Text);
    }
}

void TChtTextPainter::RotateLabel(int X, int Y, const std::string& St, double RotDegree)
{
    // Angles above 360 lose whole turns (360 itself stays); a non-finite
    // angle draws the label unturned.
    if (!std::isfinite(RotDegree)) {
        RotDegree = 0;
    } else if (RotDegree > 360) {
        RotDegree = std::fmod(RotDegree, 360.0);
        if (RotDegree == 0) {
            RotDegree = 360;
        }
    }
    if (RotDegree == 0 && Settings.CharacterAngle == 0) {
        TextOut(X, Y, St);
        return;
    }
    plat::TDeviceContext* DC = Canvas.DeviceContext();
    if (DC == nullptr) {
        return;
    }
    plat::TLogFont LogFont = Canvas.Font()->Handle();
    LogFont.Escapement = RoundToPixel(RotDegree * 10);
    if (Settings.CharacterAngle != 0) {
        LogFont.Orientation = RoundToPixel(Settings.CharacterAngle * 10);
    }
    ApplyFontQuality(LogFont);
    const TSelectedFont Rotated(Canvas, *DC, LogFont);
    if (Settings.UseTextCenter) {
        const double Angle = RotDegree * std::numbers::pi / 180;
        const double Sin = std::sin(Angle);
        const double Cos = std::cos(Angle);
        const TPoint& Center = Settings.TextCenter;
        const float DX = Canvas.GetTextAlign() == TextAlignCenter ? 0.0f : static_cast<float>(X - Center.X);
        const float DY = static_cast<float>(Y - Center.Y);
        X = RoundToPixel(Center.X + DX * Cos + DY * Sin);
        Y = RoundToPixel(Center.Y - DX * Sin + DY * Cos);
    }
    Paint(*DC, X, Y, St);
}

int TChtTextPainter::HorizontalAlign() const
{
    const int Align = Canvas.GetTextAlign();
    return Align >= TextAlignBottom ? Align - TextAlignBottom : Align;
}

TRect TChtTextPainter::TextRect(int X, int Y, const std::string& Text)
{
    const TPointFloat Size = Canvas.TextSize(Text);
    const int W = RoundToPixel(Size.X);
    const int H = RoundToPixel(Size.Y);
    switch (HorizontalAlign()) {
    case TextAlignRight: return {Shifted(X, -std::int64_t{W}), Y, X, Shifted(Y, H)};
    case TextAlignCenter: return {Shifted(X, -(W / 2)), Y, Shifted(X, W / 2), Shifted(Y, H)};
    default: return {X, Y, Shifted(X, W), Shifted(Y, H)};
    }
}

void TChtTextPainter::RecordGlyphPath(plat::TDeviceContext& DC, int X, int Y, const std::string& Text)
{
    DC.BeginPath();
    DC.TextOut(X, Y, Text);
    DC.EndPath();
}

void TChtTextPainter::Paint(plat::TDeviceContext& DC, int X, int Y, const std::string& Text)
{
    TChtFont& Font = *Canvas.Font();
    plat::TDeviceContext* Device = &DC;
    if (const TChtShadow* Shadow = Font.ShadowIfAny()) {
        ShadowPass(Device, *Shadow, +1, X, Y, Text);
    }
    if (const TChtEmboss* Emboss = Font.EmbossIfAny()) {
        ShadowPass(Device, *Emboss, -1, X, Y, Text);
    }
    Device->SetTextColor(plat::ToColorRef(TChtCanvas::SystemColor(Font.Color())));

    const TChtHiddenPen* OutLinePen = Font.OutLineIfAny();
    bool OutLine = OutLinePen != nullptr && OutLinePen->Visible();
    const TChtBrush& FontBrush = *Font.Brush();
    const bool Gradient = FontBrush.BrushIsGradientVisible();
    const bool Picture = FontBrush.HasImage();
    if (!OutLine && !Gradient && !Picture) {
        Device->TextOut(X, Y, Text);
        return;
    }

    if (OutLine) {
        Canvas.AssignVisiblePenColor(*OutLinePen, OutLinePen->Color());
    } else {
        Canvas.Pen()->SetStyle(plat::psClear);
    }
    Canvas.Brush()->SetStyle(plat::bsSolid);
    Canvas.Brush()->SetColor(Font.Color());
    Device = Canvas.DeviceContext();
    Canvas.SetBackMode(cbmTransparent);
    RecordGlyphPath(*Device, X, Y, Text);

    if (Gradient || Picture) {
        const bool Widen = Gradient && OutLine && OutLinePen->IsGradientVisible();
        if (Widen) {
            Device->WidenPath();
        }
        Device->SelectClipPath(plat::RGN_AND);
        const TRect Rect = TextRect(X, Y, Text);
        if (Gradient) {
            Font.Gradient()->Draw(Canvas, Rect, 0);
        } else {
            Canvas.StretchDraw(Rect, FontBrush.Image()->Filtered());
        }
        Canvas.UnClipRectangle();
        if (Widen) {
            OutLine = false;
        } else if (OutLine) {
            Device = Canvas.DeviceContext();
            RecordGlyphPath(*Device, X, Y, Text);
            Canvas.Brush()->SetStyle(plat::bsClear);
        }
    }

    if (OutLine) {
        Device = Canvas.DeviceContext();
        if (Font.Color() == clNone) {
            Device->StrokePath();
        } else {
            Device->StrokeAndFillPath();
            const int Half = OutLinePen->Width() / 2;
            Device->TextOut(Shifted(X, Half), Shifted(Y, Half), Text);
        }
    }
}

void TChtTextPainter::ShadowPass(plat::TDeviceContext*& DC, const TChtShadow& Shadow, int Sign, int& X, int& Y,
    const std::string& Text)
{
    if (!Shadow.Visible() || (Shadow.HorizSize() == 0 && Shadow.VertSize() == 0)) {
        return;
    }
    // A negative offset draws the effect in place and moves the text.
    const auto Place = [Sign](int& Main, int Size) {
        const std::int64_t Offset = std::int64_t{Sign} * Size;
        if (Size < 0) {
            const int At = Main;
            Main = Shifted(Main, -Offset);
            return At;
        }
        return Shifted(Main, Offset);
    };
    const int SX = Place(X, Shadow.HorizSize());
    const int SY = Place(Y, Shadow.VertSize());

    std::unique_ptr<TChtBlend> Blend;
    if (Shadow.Transparency() > 0) {
        Blend = Canvas.BeginBlending(Canvas.SupportsAlpha() ? TRect{} : TextRect(SX, SY, Text), Shadow.Transparency());
    }
    DC->SetTextColor(plat::ToColorRef(TChtCanvas::SystemColor(Shadow.Color())));
    DC->TextOut(SX, SY, Text);
    if (Shadow.Smooth() && Canvas.OffscreenBitmap() != nullptr) {
        BlurShadow(Shadow, SX, SY, Text);
        DC = Canvas.GetHandle();
        DC->SetBkMode(plat::TRANSPARENT);
    }
    if (Shadow.Transparency() > 0) {
        Canvas.EndBlending(std::move(Blend));
    }
}

// Blurs the shadow just written, over its text box clamped to the bitmap.
void TChtTextPainter::BlurShadow(const TChtShadow& Shadow, int SX, int SY, const std::string& Text)
{
    plat::TBitmap& Bitmap = *Canvas.OffscreenBitmap();
    plat::TDeviceContext& DC = *Canvas.GetHandle();
    const plat::TLogFont Font = DC.CurrentFont();
    const plat::TSize Extent = DC.GetTextExtent(Text);
    const int Align = HorizontalAlign();
    if (Align == TextAlignRight) {
        SX = Shifted(SX, -std::int64_t{Extent.cx});
    } else if (Align == TextAlignCenter) {
        SX = Shifted(SX, -(Extent.cx / 2));
    }
    const int MaxX = Bitmap.Width() - 1;
    const int MaxY = Bitmap.Height() - 1;
    TRect Region;
    Region.Left = std::min(std::max(0, Shifted(SX, -1)), MaxX);
    Region.Right = std::min(Shifted(SX, Extent.cx), MaxX);
    Region.Top = std::min(std::max(0, SY), MaxY - 1);
    Region.Bottom = std::min(Shifted(SY, std::int64_t{Extent.cy} - 1), MaxY);
    TBlurFilter Blur(nullptr);
    Blur.SetSteps(std::max(1, Shadow.SmoothBlur()));
    Blur.Apply(Bitmap, Region);
    // Blurring a bitmap of another row format converts it, and the canvas
    // then draws through a new device context: the text's font goes on it.
    plat::TDeviceContext& After = *Canvas.GetHandle();
    After.SelectFont(Font);
    After.SetTextAlign(static_cast<std::uint32_t>(Align));
}

} // namespace qel
