// The colour filters. Brightness, contrast, gamma, the colour shift and
// equalize build a byte table once per Apply and then only look values up.
#include "widgets/chart/color_filters.h"

#include "widgets/chart/chart_messages.h"
#include "widgets/chart/filter_pixels.h"
#include "widgets/chart/form_creator.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace qel {

PLAT_DEFINE_CLASS(TInvertFilter, TChtFilter)
PLAT_DEFINE_CLASS(TGrayScaleFilter, TChtFilter,
    plat::Published("Method", &TGrayScaleFilter::Method, &TGrayScaleFilter::SetMethod,
        {"gmSimple", "gmEye", "gmEye2", "gmLight"})
        .Default(gmSimple))
PLAT_DEFINE_CLASS(TBrightnessFilter, TAmountFilter)
PLAT_DEFINE_CLASS(TContrastFilter, TAmountFilter)
PLAT_DEFINE_CLASS(TColorFilter, TChtFilter,
    plat::Published("Red", &TColorFilter::Red, &TColorFilter::SetRed).Default(0),
    plat::Published("Green", &TColorFilter::Green, &TColorFilter::SetGreen).Default(0),
    plat::Published("Blue", &TColorFilter::Blue, &TColorFilter::SetBlue).Default(0))
PLAT_DEFINE_CLASS(TGammaCorrectionFilter, TAmountFilter,
    plat::Published("Amount", &TGammaCorrectionFilter::Amount, &TGammaCorrectionFilter::SetAmount).Default(70))
PLAT_DEFINE_CLASS(TSepiaFilter, TChtFilter)
PLAT_DEFINE_CLASS(TEqualizeFilter, TChtFilter)

namespace {

// Table[v] = v + Step, clamped.
void FillShiftTable(TByteTable& Table, std::int64_t Step)
{
    for (int V = 0; V < 256; ++V) {
        Table[V] = ClampByte(V + Step);
    }
}

// Flips the colour bytes of 32-bit pixels and keeps their fourth byte.
void InvertRows32(const TRGBAArray& Lines, const plat::TRect& Rect)
{
    static_assert(std::endian::native == std::endian::little, "pixels are read as little-endian words");
    for (int Y = Rect.Top; Y <= Rect.Bottom; ++Y) {
        auto* Row = reinterpret_cast<std::uint8_t*>(Lines[static_cast<std::size_t>(Y)] + Rect.Left);
        for (int X = 0; X <= Rect.Right - Rect.Left; ++X) {
            std::uint32_t Pixel;
            std::memcpy(&Pixel, Row + 4 * X, 4);
            Pixel ^= 0x00FFFFFFu;
            std::memcpy(Row + 4 * X, &Pixel, 4);
        }
    }
}

template <TGrayMethod Method>
std::uint8_t GrayOf(unsigned R, unsigned G, unsigned B)
{
    if constexpr (Method == gmSimple) {
        return static_cast<std::uint8_t>((B + G + R) / 3);
    } else if constexpr (Method == gmEye) {
        return static_cast<std::uint8_t>(NearestOf(0.299 * R + 0.587 * G + 0.114 * B));
    } else if constexpr (Method == gmEye2) {
        return static_cast<std::uint8_t>((11 * R + 16 * G + 5 * B) >> 5);
    } else {
        return static_cast<std::uint8_t>((std::max({R, G, B}) + std::min({R, G, B})) >> 1);
    }
}

template <TGrayMethod Method, class TRows>
void GrayRows(const TRows& Lines, const plat::TRect& Rect)
{
    ForEachPixel(Lines, Rect, [](auto& Pixel) {
        const std::uint8_t Gray = GrayOf<Method>(Pixel.Red, Pixel.Green, Pixel.Blue);
        Pixel.Blue = Gray;
        Pixel.Green = Gray;
        Pixel.Red = Gray;
    });
}

template <class TRows>
void GrayRows(TGrayMethod Method, const TRows& Lines, const plat::TRect& Rect)
{
    switch (Method) {
    case gmSimple:
        GrayRows<gmSimple>(Lines, Rect);
        break;
    case gmEye:
        GrayRows<gmEye>(Lines, Rect);
        break;
    case gmEye2:
        GrayRows<gmEye2>(Lines, Rect);
        break;
    case gmLight:
        GrayRows<gmLight>(Lines, Rect);
        break;
    }
}

// One channel's smallest and largest value over the inner pixels.
struct TChannelRange {
    std::uint8_t Low = 255;
    std::uint8_t High = 0;

    void Take(std::uint8_t V)
    {
        Low = std::min(Low, V);
        High = std::max(High, V);
    }
    bool IsFull() const { return Low == 0 && High == 255; }

    // Table[v] = (v - Low) stretched over 0 .. 255; all 0 when constant.
    void FillTable(TByteTable& Table) const
    {
        const float Scale = High == Low ? 0.0f : static_cast<float>(255.0 / (High - Low));
        for (int V = 0; V < 256; ++V) {
            Table[V] = ClampByte(NearestWithin(static_cast<float>(V - Low) * Scale, 0, 255));
        }
    }
};

} // namespace

void TInvertFilter::Apply(plat::TBitmap& Bitmap, const plat::TRect& R)
{
    TChtFilter::Apply(Bitmap, R);
    if (LinesEmpty() || !HasPixels(Rect)) {
        return;
    }
    if (RGBA) {
        InvertRows32(LinesRGBA, Rect);
        return;
    }
    TByteTable Inverse;
    for (int V = 0; V < 256; ++V) {
        Inverse[V] = static_cast<std::uint8_t>(255 - V);
    }
    MapBytes(Lines, Rect, Inverse);
}

std::string TInvertFilter::Description() const
{
    return ChartText(TChartMessage::Invert);
}

void TGrayScaleFilter::Apply(plat::TBitmap& Bitmap, const plat::TRect& R)
{
    TChtFilter::Apply(Bitmap, R);
    if (LinesEmpty()) {
        return;
    }
    if (RGBA) {
        GrayRows(FMethod, LinesRGBA, Rect);
    } else {
        GrayRows(FMethod, Lines, Rect);
    }
}

void TGrayScaleFilter::Assign(const plat::TPersistent* Source)
{
    if (const auto* Other = dynamic_cast<const TGrayScaleFilter*>(Source)) {
        FMethod = Other->FMethod;
    }
    TChtFilter::Assign(Source);
}

void TGrayScaleFilter::CreateEditor(IFormCreator& Creator, const plat::TNotifyEvent& AChanged)
{
    TChtFilter::CreateEditor(Creator, AChanged);
    Creator.AddCombo("Method");
}

std::string TGrayScaleFilter::Description() const
{
    return ChartText(TChartMessage::GrayScale);
}

void TBrightnessFilter::Apply(plat::TBitmap& Bitmap, const plat::TRect& R)
{
    if (Amount() == 0) {
        return;
    }
    TAmountFilter::Apply(Bitmap, R);
    if (!HasLines24()) {
        return;
    }
    std::int64_t Step = Amount();
    if (Percent()) {
        const auto Fraction = static_cast<float>(Amount() * 0.01);
        Step = NearestWithin(Fraction * 255.0f, -256, 256);
    }
    TByteTable Table;
    FillShiftTable(Table, Step);
    MapBytes(Lines, Rect, Table);
}

std::string TBrightnessFilter::Description() const
{
    return ChartText(TChartMessage::Brightness);
}

void TBrightnessFilter::PrepareForGallery()
{
    SetAmount(30);
}

void TContrastFilter::Apply(plat::TBitmap& Bitmap, const plat::TRect& R)
{
    TAmountFilter::Apply(Bitmap, R);
    if (!HasLines24()) {
        return;
    }
    const auto Factor = static_cast<float>(Amount() * 0.01);
    TByteTable Table;
    for (int V = 0; V < 256; ++V) {
        // Products in 64 bits: amounts reach the whole int range.
        const std::int64_t Weight = Percent() ? NearestWithin(static_cast<float>(V) * Factor, -(1LL << 40), 1LL << 40)
                                              : std::int64_t{Amount()};
        Table[V] = ClampByte(V + Weight * (V - 128) / 256);
    }
    MapBytes(Lines, Rect, Table);
}

std::string TContrastFilter::Description() const
{
    return ChartText(TChartMessage::Contrast);
}

void TContrastFilter::PrepareForGallery()
{
    SetAmount(60);
}

void TColorFilter::Apply(plat::TBitmap& Bitmap, const plat::TRect& R)
{
    TChtFilter::Apply(Bitmap, R);
    if (!HasLines24() || (FRed == 0 && FGreen == 0 && FBlue == 0)) {
        return;
    }
    TByteTable ToRed, ToGreen, ToBlue;
    FillShiftTable(ToRed, FRed);
    FillShiftTable(ToGreen, FGreen);
    FillShiftTable(ToBlue, FBlue);
    ForEachPixel(Lines, Rect, [&](TRGB& Pixel) {
        Pixel.Red = ToRed[Pixel.Red];
        Pixel.Green = ToGreen[Pixel.Green];
        Pixel.Blue = ToBlue[Pixel.Blue];
    });
}

void TColorFilter::Assign(const plat::TPersistent* Source)
{
    if (const auto* Other = dynamic_cast<const TColorFilter*>(Source)) {
        FRed = Other->FRed;
        FGreen = Other->FGreen;
        FBlue = Other->FBlue;
    }
    TChtFilter::Assign(Source);
}

void TColorFilter::CreateEditor(IFormCreator& Creator, const plat::TNotifyEvent& AChanged)
{
    TChtFilter::CreateEditor(Creator, AChanged);
    Creator.AddScroll("Red", -255, 255);
    Creator.AddScroll("Green", -255, 255);
    Creator.AddScroll("Blue", -255, 255);
}

std::string TColorFilter::Description() const
{
    return ChartText(TChartMessage::Color);
}

TGammaCorrectionFilter::TGammaCorrectionFilter(plat::TCollection* Collection) : TAmountFilter(Collection)
{
    SetAmount(70);
    IOnlyPositive = true;
}

void TGammaCorrectionFilter::Apply(plat::TBitmap& Bitmap, const plat::TRect& R)
{
    TAmountFilter::Apply(Bitmap, R);
    if (!HasLines24()) {
        return;
    }
    const auto Magnitude = static_cast<double>(std::llabs(Amount()));
    auto Gamma = static_cast<float>(Percent() ? Magnitude * 0.01 : Magnitude / 255);
    if (Gamma < 0.001) {
        Gamma = 0.001f;
    }
    TByteTable Table;
    Table[0] = 0;
    for (int V = 1; V < 256; ++V) {
        Table[V] = static_cast<std::uint8_t>(NearestOf(std::exp(std::log(V / 255.0) / Gamma) * 255));
    }
    MapBytes(Lines, Rect, Table);
}

std::string TGammaCorrectionFilter::Description() const
{
    return ChartText(TChartMessage::GammaCorrection);
}

void TSepiaFilter::Apply(plat::TBitmap& Bitmap, const plat::TRect& R)
{
    TChtFilter::Apply(Bitmap, R);
    if (!HasLines24()) {
        return;
    }
    ForEachPixel(Lines, Rect, [](TRGB& Pixel) {
        const double Red = Pixel.Red;
        const double Green = Pixel.Green;
        const double Blue = Pixel.Blue;
        Pixel.Red = ClampByte(NearestOf(0.393 * Red + 0.769 * Green + 0.189 * Blue));
        Pixel.Green = ClampByte(NearestOf(0.349 * Red + 0.686 * Green + 0.168 * Blue));
        Pixel.Blue = ClampByte(NearestOf(0.272 * Red + 0.534 * Green + 0.131 * Blue));
    });
}

std::string TSepiaFilter::Description() const
{
    return ChartText(TChartMessage::Sepia);
}

void TEqualizeFilter::Apply(plat::TBitmap& Bitmap, const plat::TRect& R)
{
    TChtFilter::Apply(Bitmap, R);
    if (!HasLines24()) {
        return;
    }
    const plat::TRect Inner{Rect.Left + 1, Rect.Top + 1, Rect.Right - 1, Rect.Bottom - 1};
    if (!HasPixels(Inner)) {
        return;
    }
    TChannelRange Red, Green, Blue;
    ForEachPixel(Lines, Inner, [&](const TRGB& Pixel) {
        Red.Take(Pixel.Red);
        Green.Take(Pixel.Green);
        Blue.Take(Pixel.Blue);
    });
    if (Red.IsFull() && Green.IsFull() && Blue.IsFull()) {
        return;
    }
    TByteTable ToRed, ToGreen, ToBlue;
    Red.FillTable(ToRed);
    Green.FillTable(ToGreen);
    Blue.FillTable(ToBlue);
    ForEachPixel(Lines, Inner, [&](TRGB& Pixel) {
        Pixel.Red = ToRed[Pixel.Red];
        Pixel.Green = ToGreen[Pixel.Green];
        Pixel.Blue = ToBlue[Pixel.Blue];
    });
}

std::string TEqualizeFilter::Description() const
{
    return ChartText(TChartMessage::Equalize);
}

} // namespace qel
