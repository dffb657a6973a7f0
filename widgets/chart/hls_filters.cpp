// The hue, luminance and saturation shift and the colour replacer.
#include "widgets/chart/hls_filters.h"

#include "widgets/chart/chart_canvas_unit.h"
#include "widgets/chart/chart_messages.h"
#include "widgets/chart/form_creator.h"
#include "widgets/chart/hls_color.h"

namespace qel {

PLAT_DEFINE_CLASS(THueLumSatFilter, TChtFilter,
    plat::Published("Hue", &THueLumSatFilter::Hue, &THueLumSatFilter::SetHue).Default(0),
    plat::Published("Luminance", &THueLumSatFilter::Luminance, &THueLumSatFilter::SetLuminance).Default(0),
    plat::Published("Saturation", &THueLumSatFilter::Saturation, &THueLumSatFilter::SetSaturation).Default(0))

PLAT_DEFINE_CLASS(TColorReplaceFilter, TChtFilter,
    plat::Published("ToValue", &TColorReplaceFilter::ToValue, &TColorReplaceFilter::SetToValue).Default(0),
    plat::Published("FromValue", &TColorReplaceFilter::FromValue, &TColorReplaceFilter::SetFromValue).Default(0),
    plat::Published("Method", &TColorReplaceFilter::Method, &TColorReplaceFilter::SetMethod,
        {"cmHue", "cmLum", "cmSat"})
        .Default(cmHue),
    plat::Published("Color", &TColorReplaceFilter::Color, &TColorReplaceFilter::SetColor).Default(clWhite))

namespace {

// V + Amount clamped to 0 .. 255; V itself when Amount is 0.
int Shifted(int V, int Amount)
{
    return Amount == 0 ? V : ClampByte(std::int64_t{V} + Amount);
}

// Paints each pixel of Rect whose value by ValueOf lies in From .. To.
template <class TValueOf>
void Replace(const TRGBArray& Lines, const plat::TRect& Rect, int From, int To, const TRGB& Paint,
    TValueOf&& ValueOf)
{
    ForEachPixel(Lines, Rect, [&](TRGB& Pixel) {
        const int V = ValueOf(Pixel);
        if (From <= V && V <= To) {
            Pixel = Paint;
        }
    });
}

} // namespace

void THueLumSatFilter::Apply(plat::TBitmap& Bitmap, const plat::TRect& R)
{
    TChtFilter::Apply(Bitmap, R);
    if (!HasLines24() || (FHue == 0 && FLum == 0 && FSat == 0)) {
        return;
    }
    const THlsTables& Tables = HlsTables();
    ForEachPixel(Lines, Rect, [&](TRGB& Pixel) {
        const THLS Value = RGBToHLS(Tables, Pixel);
        Pixel = HLSToRGB(Shifted(Value.Hue, FHue), Shifted(Value.Luminance, FLum), Shifted(Value.Saturation, FSat));
    });
}

void THueLumSatFilter::Assign(const plat::TPersistent* Source)
{
    if (const auto* Other = dynamic_cast<const THueLumSatFilter*>(Source)) {
        FHue = Other->FHue;
        FLum = Other->FLum;
        FSat = Other->FSat;
    }
    TChtFilter::Assign(Source);
}

void THueLumSatFilter::CreateEditor(IFormCreator& Creator, const plat::TNotifyEvent& AChanged)
{
    TChtFilter::CreateEditor(Creator, AChanged);
    Creator.AddScroll("Hue", -255, 255);
    Creator.AddScroll("Luminance", -255, 255);
    Creator.AddScroll("Saturation", -255, 255);
}

std::string THueLumSatFilter::Description() const
{
    return ChartText(TChartMessage::HueLumSat);
}

void TColorReplaceFilter::Apply(plat::TBitmap& Bitmap, const plat::TRect& R)
{
    TChtFilter::Apply(Bitmap, R);
    if (!HasLines24() || FFrom > FTo) {
        return;
    }
    std::uint8_t Triple[3];
    ColorToRGBTriple(Triple, FColor);
    const TRGB Paint{Triple[0], Triple[1], Triple[2]};
    const THlsTables& Tables = HlsTables();
    switch (FMethod) {
    case cmHue:
        Replace(Lines, Rect, FFrom, FTo, Paint, [&](const TRGB& Pixel) { return HueOf(Tables, Pixel); });
        break;
    case cmLum:
        Replace(Lines, Rect, FFrom, FTo, Paint, [&](const TRGB& Pixel) { return LuminanceOf(Tables, Pixel); });
        break;
    case cmSat:
        Replace(Lines, Rect, FFrom, FTo, Paint, [&](const TRGB& Pixel) { return SaturationOf(Tables, Pixel); });
        break;
    }
}

void TColorReplaceFilter::Assign(const plat::TPersistent* Source)
{
    if (const auto* Other = dynamic_cast<const TColorReplaceFilter*>(Source)) {
        FTo = Other->FTo;
        FFrom = Other->FFrom;
        FMethod = Other->FMethod;
        FColor = Other->FColor;
    }
    TChtFilter::Assign(Source);
}

void TColorReplaceFilter::CreateEditor(IFormCreator& Creator, const plat::TNotifyEvent& AChanged)
{
    TChtFilter::CreateEditor(Creator, AChanged);
    Creator.AddCombo("Method");
    Creator.AddScroll("FromValue", 0, 255);
    Creator.AddScroll("ToValue", 0, 255);
    Creator.AddColor("Color", "Color");
}

std::string TColorReplaceFilter::Description() const
{
    return ChartText(TChartMessage::ColorReplacer);
}

} // namespace qel
