// The chart canvas base: pen, brush and font with their change handlers,
// zooms, reset, text measuring, check boxes, transparency and blending,
// colour functions, and the operations that rest on others.
#include "widgets/chart/chart_canvas.h"

#include "widgets/chart/chart_blend.h"
#include "widgets/chart/chart_canvas_unit.h"
#include "widgets/chart/chart_corners.h"
#include "widgets/chart/chart_path.h"
#include "widgets/chart/chart_picture.h"
#include "widgets/chart/chart_shadow.h"
#include "widgets/chart/color_shades.h"
#include "widgets/chart/detached_event.h"
#include "widgets/chart/html_text_out.h"
#include "widgets/chart/pen_realisation.h"
#include "widgets/chart/plane_geometry.h"

#include "platform/canvas/bitmap.h"
#include "platform/canvas/canvas.h"
#include "platform/text_encoding.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace qel {

PLAT_DEFINE_CLASS(TChtCanvas, plat::TObject)

namespace {

[[noreturn]] void AbstractError()
{
    throw EAbstractError();
}

} // namespace

TChtCanvas::TChtCanvas()
    : FPen(std::make_unique<TChtPen>(plat::TNotifyEvent(this, &TChtCanvas::PenEvent))),
      FBrush(std::make_unique<TChtBrush>(plat::TNotifyEvent(this, &TChtCanvas::BrushEvent))),
      FFont(std::make_unique<TChtFont>(plat::TNotifyEvent(this, &TChtCanvas::FontEvent)))
{
}

TChtCanvas::~TChtCanvas()
{
    FPen.reset();
    FBrush.reset();
    FFont.reset();
    ClearClipHistory();
}

void TChtCanvas::PenEvent(plat::TObject*)
{
    PenChanged();
}

void TChtCanvas::BrushEvent(plat::TObject*)
{
    BrushChanged(*FBrush);
}

void TChtCanvas::FontEvent(plat::TObject*)
{
    if (!IChangingFont) {
        FontChanged();
    }
}

void TChtCanvas::SetReferenceCanvas(plat::TCanvas* Value)
{
    FCanvas = Value;
}

plat::TDeviceContext* TChtCanvas::DeviceContext() const
{
    if (FCanvas != nullptr) {
        FCanvas->RequireState();
    }
    return GetHandle();
}

// --- Reset ---------------------------------------------------------------------

void TChtCanvas::ResetState()
{
    FPen->SetColor(clBlack);
    FPen->SetWidth(1);
    FPen->SetStyle(plat::psSolid);
    FBrush->SetColor(clWhite);
    FBrush->SetStyle(plat::bsSolid);
    if (FBrush->IsImageStored()) {
        FBrush->Image()->SetGraphic(nullptr);
    }
    FFont->SetColor(clBlack);
    FFont->SetStyle({});
    FFont->SetCharset(plat::DEFAULT_CHARSET);
    FFont->SetName(DefaultFontName);
    FFont->SetSize(DefaultFontSize);
    if (JapaneseLocale()) {
        const plat::TFont PlatformDefault;
        FFont->SetSize(-plat::MulDiv(PlatformDefault.Height(), 72, PlatformDefault.PixelsPerInch()));
    }
    FBrush->Gradient()->Reset();
    SetBackColor(clWhite);
    SetBackMode(cbmTransparent);
    SetTextAlign(0);
}

// --- Brushes -------------------------------------------------------------------

void TChtCanvas::AssignBrush(const TChtBrush& ABrush)
{
    AssignBrush(ABrush, ABrush.BackColor(), ABrush.Color());
}

void TChtCanvas::AssignBrush(const TChtBrush& ABrush, TColor ABackColor)
{
    AssignBrush(ABrush, ABackColor, ABrush.Color());
}

void TChtCanvas::AssignBrushColor(const TChtBrush& ABrush, TColor AColor, TColor ABackColor)
{
    AssignBrush(ABrush, AColor, ABackColor);
}

void TChtCanvas::AssignBrush(const TChtBrush& ABrush, TColor AColor, TColor ABackColor)
{
    {
        const TDetachedEvent Detached(FBrush->OnChange, plat::TNotifyEvent(this, &TChtCanvas::BrushEvent));
        plat::TBitmap* Pattern = nullptr;
        if (ABrush.IsImageStored() && ABrush.Image()->Graphic() != nullptr) {
            TChtPicture& Picture = *ABrush.Image();
            if (dynamic_cast<plat::TBitmap*>(Picture.Graphic()) == nullptr) {
                plat::TBitmap Drawn(Picture.Width(), Picture.Height());
                Drawn.Canvas()->Draw(0, 0, Picture.Graphic());
                Picture.SetGraphic(&Drawn);
            }
            Pattern = Picture.Bitmap();
        } else {
            Pattern = ABrush.Bitmap();
        }
        if (Pattern != nullptr) {
            FBrush->SetStyle(plat::bsClear);
            FBrush->SetBitmap(Pattern);
            if (plat::TDeviceContext* DC = DeviceContext(); DC != nullptr) {
                DC->SetTextColor(plat::ToColorRef(AColor));
            }
            SetBackMode(cbmOpaque);
            SetBackColor(ABackColor);
        } else {
            FBrush->SetBitmap(nullptr);
            if (GetMonochrome()) {
                AColor = clWhite;
            }
            if (&ABrush != FBrush.get()) {
                FBrush->Assign(&ABrush);
            }
            if (ABrush.Style() != plat::bsClear) {
                FBrush->SetColor(AColor);
            }
            FBrush->SetBackColor(ABackColor);
        }
        if (ABrush.HasGradient()) {
            Gradient()->Assign(ABrush.Gradient());
        } else if (FBrush->HasGradient()) {
            FBrush->Gradient()->SetVisible(false);
        }
    }
    BrushChanged(*FBrush);
}

void TChtCanvas::BrushChanged(TChtBrush& ABrush)
{
    if (FCanvas != nullptr) {
        FCanvas->Brush()->Assign(&ABrush);
    }
    if (ABrush.BackColor() == clNone || ABrush.Style() == plat::bsClear) {
        SetBackMode(cbmTransparent);
    } else if (ABrush.Style() != plat::bsSolid) {
        SetBackMode(cbmOpaque);
        SetBackColor(ABrush.BackColor());
    }
}

bool TChtCanvas::BrushGradientVisible() const
{
    return FBrush->Style() != plat::bsClear && FBrush->BrushIsGradientVisible();
}

void TChtCanvas::ApplyDarkColor(TColor AColor, int Quantity)
{
    const TColor Darker = DarkenColorBy(AColor, static_cast<std::uint8_t>(std::clamp(Quantity, 0, 255)));
    if (FBrush->Style() == plat::bsSolid) {
        FBrush->SetColor(Darker);
        if (FCanvas != nullptr) {
            FCanvas->Brush()->SetColor(Darker);
        }
    } else {
        SetBackColor(Darker);
    }
}

// --- Pens ----------------------------------------------------------------------

void TChtCanvas::AssignVisiblePen(const TChtPen& APen)
{
    AssignVisiblePenColor(APen, APen.Color());
}

void TChtCanvas::AssignVisiblePenColor(const TChtPen& APen, TColor AColor)
{
    {
        const TDetachedEvent Detached(FPen->OnChange, plat::TNotifyEvent(this, &TChtCanvas::PenEvent));
        if (APen.Visible()) {
            if (GetMonochrome()) {
                AColor = clBlack;
            }
            FPen->Assign(&APen);
            FPen->SetColor(AColor);
            if (IZoomPen && FPenZoom != 100.0) {
                FPen->SetWidth(RoundToPixel(APen.Width() * FPenZoom * 0.01));
            }
        } else if (FPen->Style() != plat::psClear) {
            FPen->SetStyle(plat::psClear);
        }
    }
    PenChanged();
}

void TChtCanvas::PenChanged()
{
    if (!FPen->Visible()) {
        if (FCanvas != nullptr && FCanvas->Pen()->Style() != plat::psClear) {
            FCanvas->Pen()->SetStyle(plat::psClear);
        }
        return;
    }
    if (IsNTPlatform && !GetSupportsFullRotation()) {
        if (FCanvas != nullptr) {
            ApplyChtPen(*FCanvas->Pen(), *FPen, FPen->Color());
        }
        ApplyPenMode(*FPen);
    } else if (ThinPenWidthZero && FPen->Style() != plat::psSolid && FPen->Width() == 1) {
        FPen->SetWidth(0);
    }
}

void TChtCanvas::ApplyPenMode(const TChtPen& APen)
{
    if (APen.Width() <= 1 || APen.EndStyle() == esRound) {
        return;
    }
    if (plat::TDeviceContext* DC = GetHandle(); DC != nullptr) {
        DC->SetROP2(plat::PenModeToRop2(APen.Mode()));
    }
}

// --- Fonts ---------------------------------------------------------------------

void TChtCanvas::AssignFont(const TChtFont& AFont)
{
    AssignFontSize(AFont, AFont.SizeFloat());
}

void TChtCanvas::AssignFontSize(const TChtFont& AFont, float Size)
{
    if (IZoomText && FFontZoom != 100.0) {
        Size = static_cast<float>(static_cast<double>(Size) * FFontZoom * 0.01);
    }
    {
        struct TChanging {
            bool& Flag;
            ~TChanging() { Flag = false; }
        } Changing{IChangingFont};
        IChangingFont = true;
        if (&AFont != FFont.get()) {
            FFont->Assign(&AFont);
        }
        FFont->SetSizeFloat(Size);
        if (GetMonochrome()) {
            FFont->SetColor(clBlack);
        }
    }
    FontChanged();
}

void TChtCanvas::FontChanged()
{
    SetInterCharSize(FFont->InterCharSize());
    if (FCanvas == nullptr) {
        return;
    }
    plat::TFont& PlatformFont = *FCanvas->Font();
    const int SavedPixelsPerInch = PlatformFont.PixelsPerInch();
    PlatformFont.SetPixelsPerInch(FFont->PixelsPerInch());
    PlatformFont.Assign(FFont.get());
    PlatformFont.SetPixelsPerInch(SavedPixelsPerInch);
}

void TChtCanvas::SetInterCharSize(int Value)
{
    plat::TDeviceContext* DC = GetHandle();
    if (DC != nullptr && DC->GetTextCharacterExtra() != Value) {
        DC->SetTextCharacterExtra(Value);
    }
}

// --- Text ----------------------------------------------------------------------

plat::TSize TChtCanvas::MeasuredExtent(plat::TSize Extent) const
{
    const TChtShadow* Effects[] = {FFont->ShadowIfAny(), FFont->EmbossIfAny()};
    for (const TChtShadow* Effect : Effects) {
        if (Effect != nullptr && Effect->Visible()) {
            Extent.cx = plat::SaturateInt(std::int64_t{Extent.cx} + std::llabs(Effect->HorizSize()));
            Extent.cy = plat::SaturateInt(std::int64_t{Extent.cy} + std::llabs(Effect->VertSize()));
        }
    }
    return Extent;
}

int TChtCanvas::TextWidth(std::string_view St)
{
    return TextSize(St).X;
}

int TChtCanvas::TextHeight(std::string_view St)
{
    return TextSize(St).Y;
}

TPointFloat TChtCanvas::TextSize(std::string_view St)
{
    const plat::TSize Extent = MeasuredExtent(FCanvas != nullptr ? FCanvas->TextExtent(St) : plat::TSize{});
    return {static_cast<float>(Extent.cx), static_cast<float>(Extent.cy)};
}

int TChtCanvas::TextWidth(std::u16string_view St)
{
    return MeasuredExtent(WideTextExtent(St)).cx;
}

int TChtCanvas::TextHeight(std::u16string_view St)
{
    return MeasuredExtent(WideTextExtent(St)).cy;
}

TPointFloat TChtCanvas::TextSize(std::u16string_view St)
{
    const plat::TSize Extent = MeasuredExtent(WideTextExtent(St));
    return {static_cast<float>(Extent.cx), static_cast<float>(Extent.cy)};
}

plat::TSize TChtCanvas::WideTextExtent(std::u16string_view St)
{
    plat::TDeviceContext* DC = DeviceContext();
    return DC != nullptr ? DC->GetTextExtent(plat::Utf16ToUtf8(St)) : plat::TSize{};
}

// --- Check boxes ---------------------------------------------------------------

namespace {

// A check box (or a radio button) Size + 2 pixels wide and high at (X, Y).
void DrawCheckBoxControl(int X, int Y, plat::TCanvas& Canvas, bool Checked, bool CheckBox, int Size)
{
    plat::TDeviceContext* DC = Canvas.Handle();
    if (DC == nullptr) {
        return;
    }
    DC->SetTextAlign(0);
    const TRect Box{X, Y, plat::SaturateInt(std::int64_t{X} + Size + 2), plat::SaturateInt(std::int64_t{Y} + Size + 2)};
    std::uint32_t State = CheckBox ? plat::DFCS_BUTTONCHECK : plat::DFCS_BUTTONRADIO;
    if (Checked) {
        State |= plat::DFCS_CHECKED;
    }
    DC->DrawFrameControl(Box, plat::DFC_BUTTON, State);
}

} // namespace

int TChtCanvas::GetCheckBoxSize() const
{
    constexpr int StandardSize = 12;
    if (FCheckBoxZoom == 100.0) {
        return StandardSize;
    }
    return RoundToPixel(std::max(1.0, StandardSize * FCheckBoxZoom * 0.01));
}

void TChtCanvas::DrawCheckBox(int X, int Y, bool Checked, TColor ABackColor, bool CheckBox)
{
    (void)ABackColor;
    if (FCanvas != nullptr) {
        DrawCheckBoxControl(X, Y, *FCanvas, Checked, CheckBox, GetCheckBoxSize());
    }
}

// --- Transparency --------------------------------------------------------------

void TChtCanvas::PushTransparency()
{
    ITranspStack.push_back(Transparency);
}

void TChtCanvas::PopTransparency()
{
    if (ITranspStack.empty()) {
        return;
    }
    Transparency = ITranspStack.back();
    ITranspStack.pop_back();
}

std::unique_ptr<TChtBlend> TChtCanvas::BeginBlending(const TRect& R, TChtTransparency T)
{
    PushTransparency();
    const double Opacity = (100.0 - Transparency) * (100.0 - T) * 0.01;
    Transparency = static_cast<std::uint8_t>(std::clamp(100 - RoundToPixel(Opacity), 0, 100));
    return std::make_unique<TChtBlend>(this, R);
}

std::unique_ptr<TChtBlend> TChtCanvas::BeginBlending(const TPointArray& P, TChtTransparency T)
{
    if (T == 0) {
        return nullptr;
    }
    if (FSupportsAlpha) {
        return BeginBlending(TRect{}, T);
    }
    TRect Bounds = PolygonBounds(P);
    Bounds.Right = plat::SaturateInt(std::int64_t{Bounds.Right} + 1);
    Bounds.Bottom = plat::SaturateInt(std::int64_t{Bounds.Bottom} + 1);
    return BeginBlending(Bounds, T);
}

void TChtCanvas::EndBlending(std::unique_ptr<TChtBlend> Blend)
{
    if (Blend) {
        Blend->DoBlend(Transparency);
    }
    PopTransparency();
}

// --- Colours -------------------------------------------------------------------

TColor TChtCanvas::SystemColor(TColor AColor)
{
    if (AColor == clNone) {
        return clBlack;
    }
    const auto Value = static_cast<std::uint32_t>(AColor);
    if (Value >= 0xFF000000u && Value <= 0xFF00001Eu) {
        return plat::ColorToRGB(AColor);
    }
    return AColor;
}

std::uint8_t TChtCanvas::ColorAlpha(TColor AColor)
{
    return static_cast<std::uint8_t>(static_cast<std::uint32_t>(AColor) >> 24);
}

TColor TChtCanvas::ColorFrom(TColor AColor, std::uint8_t Alpha)
{
    return static_cast<TColor>((static_cast<std::uint32_t>(AColor) & 0x00FFFFFFu) | std::uint32_t{Alpha} << 24);
}

// --- Abstract operations -------------------------------------------------------

TColor TChtCanvas::GetBackColor() const { AbstractError(); }
void TChtCanvas::SetBackColor(TColor) { AbstractError(); }
TCanvasBackMode TChtCanvas::GetBackMode() const { AbstractError(); }
void TChtCanvas::SetBackMode(TCanvasBackMode) { AbstractError(); }
plat::TDeviceContext* TChtCanvas::GetHandle() const { AbstractError(); }
bool TChtCanvas::GetIsNoBMPGrid() const { AbstractError(); }
bool TChtCanvas::GetMonochrome() const { AbstractError(); }
void TChtCanvas::SetMonochrome(bool) { AbstractError(); }
TColor TChtCanvas::GetPixel(int, int) const { AbstractError(); }
void TChtCanvas::SetPixel(int, int, TColor) { AbstractError(); }
bool TChtCanvas::GetSupportsFullRotation() const { AbstractError(); }
bool TChtCanvas::GetSupportsXORMode() const { AbstractError(); }
int TChtCanvas::GetTextAlign() const { AbstractError(); }
void TChtCanvas::SetTextAlign(int) { AbstractError(); }
bool TChtCanvas::GetUseBuffer() const { AbstractError(); }
void TChtCanvas::SetUseBuffer(bool) { AbstractError(); }
void TChtCanvas::SetFastLine(bool) { AbstractError(); }
int TChtCanvas::GetSpareValue() const { AbstractError(); }
void TChtCanvas::Arc(int, int, int, int, int, int, int, int) { AbstractError(); }
void TChtCanvas::Donut(int, int, int, int, double, double, double) { AbstractError(); }
void TChtCanvas::Draw(int, int, plat::TGraphic*) { AbstractError(); }
void TChtCanvas::Ellipse(int, int, int, int) { AbstractError(); }
void TChtCanvas::EraseBackground(const TRect&) { AbstractError(); }
void TChtCanvas::FillRect(const TRect&) { AbstractError(); }
void TChtCanvas::GradientFill(const TRect&, TColor, TColor, TGradientDirection, int, int, int) { AbstractError(); }
void TChtCanvas::Invalidate() { AbstractError(); }
void TChtCanvas::LineTo(int, int) { AbstractError(); }
void TChtCanvas::MoveTo(int, int) { AbstractError(); }
void TChtCanvas::Pie(const TRect&, double, double) { AbstractError(); }
void TChtCanvas::Pie(int, int, int, int, int, int, int, int) { AbstractError(); }
void TChtCanvas::Polygon(std::span<const TPoint>) { AbstractError(); }
void TChtCanvas::PolygonFloat(std::span<const TPointFloat>) { AbstractError(); }
void TChtCanvas::Polyline(std::span<const TPoint>) { AbstractError(); }
void TChtCanvas::PolylineFloat(std::span<const TPointFloat>) { AbstractError(); }
void TChtCanvas::Rectangle(int, int, int, int) { AbstractError(); }
void TChtCanvas::RotateLabel(int, int, const std::string&, double, bool) { AbstractError(); }
void TChtCanvas::RoundRect(int, int, int, int, int, int) { AbstractError(); }
void TChtCanvas::StretchDraw(const TRect&, plat::TGraphic*) { AbstractError(); }
void TChtCanvas::StretchRotate(const TRect&, plat::TGraphic*, float) { AbstractError(); }
void TChtCanvas::TextOut(int, int, const std::string&) { AbstractError(); }
void TChtCanvas::ClipRectangle(const TRect&) { AbstractError(); }
void TChtCanvas::UnClipRectangle() { AbstractError(); }

// --- Operations on the others --------------------------------------------------

void TChtCanvas::TextOut(int X, int Y, const std::string& Text, bool AllowHtml)
{
    if (AllowHtml) {
        HtmlTextOut(*this, X, Y, Text);
        return;
    }
    TextOut(X, Y, Text);
}

void TChtCanvas::LineTo(const TPointFloat& P)
{
    LineTo(RoundToPixel(P.X), RoundToPixel(P.Y));
}

void TChtCanvas::MoveTo(const TPointFloat& P)
{
    MoveTo(RoundToPixel(P.X), RoundToPixel(P.Y));
}

void TChtCanvas::Line(int X0, int Y0, int X1, int Y1)
{
    MoveTo(X0, Y0);
    LineTo(X1, Y1);
}

void TChtCanvas::DoHorizLine(int X0, int X1, int Y)
{
    MoveTo(X0, Y);
    LineTo(X1, Y);
}

void TChtCanvas::DoVertLine(int X, int Y0, int Y1)
{
    MoveTo(X, Y0);
    LineTo(X, Y1);
}

void TChtCanvas::RoundRect(const TRect& R, int X, int Y, const TChtCorners* ACorners)
{
    if (ACorners == nullptr) {
        RoundRect(R.Left, R.Top, R.Right, R.Bottom, X, Y);
        return;
    }
    const std::unique_ptr<TChtBasePath> Path = ACorners->CreateCornersPath(*this, R, X, Y);
    Path->Draw(*this);
}

void TChtCanvas::Curve(std::span<const TPoint> Points, float Tension, bool Closed, float Z)
{
    (void)Tension;
    (void)Z;
    if (Closed) {
        Polygon(Points);
    } else {
        Polyline(Points);
    }
}

std::unique_ptr<TChtBasePath> TChtCanvas::CreatePath(const TPointFloatArray& Points, const TPathPointTypes& Types)
{
    (void)Points;
    (void)Types;
    return std::make_unique<TChtPath>(*this);
}

std::unique_ptr<TChtBasePath> TChtCanvas::CreatePath()
{
    return CreatePath({}, {});
}

} // namespace qel
