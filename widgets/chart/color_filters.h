// The chart's colour filters: each changes every pixel of the rectangle by
// itself. Invert, grey scale, brightness, contrast, colour shift, gamma
// correction, sepia and equalize. Only invert and grey scale also work on
// 32-bit rows; the others read 24-bit pixels and change nothing when RGBA
// asks for 32-bit rows.
#pragma once

#include "widgets/chart/amount_filter.h"

namespace qel {

class TInvertFilter : public TChtFilter {
    PLAT_CLASS(TInvertFilter, TChtFilter)
public:
    using TChtFilter::TChtFilter;
    using TChtFilter::Apply;
    // Each colour byte v becomes 255 - v; a fourth byte stays.
    void Apply(plat::TBitmap& Bitmap, const plat::TRect& R) override;
    std::string Description() const override;
};

enum TGrayMethod { gmSimple, gmEye, gmEye2, gmLight };

class TGrayScaleFilter : public TChtFilter {
    PLAT_CLASS(TGrayScaleFilter, TChtFilter)
public:
    using TChtFilter::TChtFilter;

    TGrayMethod Method() const { return FMethod; }
    void SetMethod(TGrayMethod Value) { FMethod = Value; }

    using TChtFilter::Apply;
    // Each pixel's three colour bytes become its grey by Method; a fourth
    // byte stays.
    void Apply(plat::TBitmap& Bitmap, const plat::TRect& R) override;
    void Assign(const plat::TPersistent* Source) override;
    void CreateEditor(IFormCreator& Creator, const plat::TNotifyEvent& AChanged) override;
    std::string Description() const override;

private:
    TGrayMethod FMethod = gmSimple;
};

class TBrightnessFilter : public TAmountFilter {
    PLAT_CLASS(TBrightnessFilter, TAmountFilter)
public:
    using TAmountFilter::TAmountFilter;
    using TAmountFilter::Apply;
    // Adds Amount (with Percent: Amount % of 255) to each colour byte,
    // clamped. Amount 0 leaves the bitmap alone, pixel format included.
    void Apply(plat::TBitmap& Bitmap, const plat::TRect& R) override;
    std::string Description() const override;
    void PrepareForGallery() override;
};

class TContrastFilter : public TAmountFilter {
    PLAT_CLASS(TContrastFilter, TAmountFilter)
public:
    using TAmountFilter::TAmountFilter;
    using TAmountFilter::Apply;
    // Moves each colour byte away from 128 (towards it for a negative
    // Amount), clamped.
    void Apply(plat::TBitmap& Bitmap, const plat::TRect& R) override;
    std::string Description() const override;
    void PrepareForGallery() override;
};

class TColorFilter : public TChtFilter {
    PLAT_CLASS(TColorFilter, TChtFilter)
public:
    using TChtFilter::TChtFilter;

    int Red() const { return FRed; }
    void SetRed(int Value) { FRed = Value; }
    int Green() const { return FGreen; }
    void SetGreen(int Value) { FGreen = Value; }
    int Blue() const { return FBlue; }
    void SetBlue(int Value) { FBlue = Value; }

    using TChtFilter::Apply;
    // Adds Red, Green and Blue to their channels, clamped.
    void Apply(plat::TBitmap& Bitmap, const plat::TRect& R) override;
    void Assign(const plat::TPersistent* Source) override;
    void CreateEditor(IFormCreator& Creator, const plat::TNotifyEvent& AChanged) override;
    std::string Description() const override;

private:
    int FRed = 0;
    int FGreen = 0;
    int FBlue = 0;
};

class TGammaCorrectionFilter : public TAmountFilter {
    PLAT_CLASS(TGammaCorrectionFilter, TAmountFilter)
public:
    explicit TGammaCorrectionFilter(plat::TCollection* Collection);
    using TAmountFilter::Apply;
    // Each colour byte through the gamma curve of |Amount| (a percentage,
    // or with Percent off a fraction of 255; at least 0.001).
    void Apply(plat::TBitmap& Bitmap, const plat::TRect& R) override;
    std::string Description() const override;
};

class TSepiaFilter : public TChtFilter {
    PLAT_CLASS(TSepiaFilter, TChtFilter)
public:
    using TChtFilter::TChtFilter;
    using TChtFilter::Apply;
    // Each pixel's new red, green and blue mix its old ones, clamped.
    void Apply(plat::TBitmap& Bitmap, const plat::TRect& R) override;
    std::string Description() const override;
};

class TEqualizeFilter : public TChtFilter {
    PLAT_CLASS(TEqualizeFilter, TChtFilter)
public:
    using TChtFilter::TChtFilter;
    using TChtFilter::Apply;
    // Stretches each channel of the inner pixels of R (its border rows and
    // columns are neither measured nor changed) over 0 .. 255; a channel
    // that is constant there becomes 0.
    void Apply(plat::TBitmap& Bitmap, const plat::TRect& R) override;
    std::string Description() const override;
};

} // namespace qel
