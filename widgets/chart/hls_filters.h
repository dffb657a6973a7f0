// The chart filters that work in the hue, luminance and saturation model:
// the shift of all three values and the replacer that paints the pixels
// whose hue, luminance or saturation lies in a range with one colour.
#pragma once

#include "widgets/chart/chart_colors.h"
#include "widgets/chart/chart_filter.h"

#include <cstdint>

namespace qel {

class THueLumSatFilter : public TChtFilter {
    PLAT_CLASS(THueLumSatFilter, TChtFilter)
public:
    using TChtFilter::TChtFilter;

    int Hue() const { return FHue; }
    void SetHue(int Value) { FHue = Value; }
    int Luminance() const { return FLum; }
    void SetLuminance(int Value) { FLum = Value; }
    int Saturation() const { return FSat; }
    void SetSaturation(int Value) { FSat = Value; }

    using TChtFilter::Apply;
    // Adds the amounts to each pixel's hue, luminance and saturation, each
    // sum clamped to 0 .. 255, and converts the pixel back.
    void Apply(plat::TBitmap& Bitmap, const plat::TRect& R) override;
    void Assign(const plat::TPersistent* Source) override;
    void CreateEditor(IFormCreator& Creator, const plat::TNotifyEvent& AChanged) override;
    std::string Description() const override;

private:
    int FHue = 0;
    int FLum = 0;
    int FSat = 0;
};

// Which value of a pixel the colour replacer tests.
enum TColorMethod { cmHue, cmLum, cmSat };

class TColorReplaceFilter : public TChtFilter {
    PLAT_CLASS(TColorReplaceFilter, TChtFilter)
public:
    using TChtFilter::TChtFilter;

    std::uint8_t ToValue() const { return FTo; }
    void SetToValue(std::uint8_t Value) { FTo = Value; }
    std::uint8_t FromValue() const { return FFrom; }
    void SetFromValue(std::uint8_t Value) { FFrom = Value; }
    TColorMethod Method() const { return FMethod; }
    void SetMethod(TColorMethod Value) { FMethod = Value; }
    TColor Color() const { return FColor; }
    void SetColor(TColor Value) { FColor = Value; }

    using TChtFilter::Apply;
    // Paints each pixel whose tested value lies in FromValue .. ToValue
    // with Color (its bytes as they are; system colours are not resolved).
    void Apply(plat::TBitmap& Bitmap, const plat::TRect& R) override;
    void Assign(const plat::TPersistent* Source) override;
    void CreateEditor(IFormCreator& Creator, const plat::TNotifyEvent& AChanged) override;
    std::string Description() const override;

private:
    std::uint8_t FTo = 0;
    std::uint8_t FFrom = 0;
    TColorMethod FMethod = cmHue;
    TColor FColor = clWhite;   // the replacing colour
};

} // namespace qel
