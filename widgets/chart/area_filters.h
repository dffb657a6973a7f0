// The chart filters that compute a pixel from an area of pixels: mosaic
// (square blocks replaced by their mean colour), bevel (a frame along the
// rectangle's edges lightened and darkened so that it looks raised) and
// Sobel (grey edge strengths). They work on 24-bit pixels and change
// nothing when RGBA asks for 32-bit rows.
#pragma once

#include "widgets/chart/amount_filter.h"

namespace qel {

class TMosaicFilter : public TAmountFilter {
    PLAT_CLASS(TMosaicFilter, TAmountFilter)
public:
    // Blocks of 8 pixels, no negative amounts in the editor.
    explicit TMosaicFilter(plat::TCollection* Collection);
    using TAmountFilter::Apply;
    // Blocks of Amount pixels (with Percent: Amount % of R's shorter side,
    // at least 1) from R's top-left corner; the last band and the last
    // block of each band take the rest of R. Nothing for Amount 0 or less.
    void Apply(plat::TBitmap& Bitmap, const plat::TRect& R) override;
    std::string Description() const override;
};

class TBevelFilter : public TChtFilter {
    PLAT_CLASS(TBevelFilter, TChtFilter)
public:
    using TChtFilter::TChtFilter;

    // How much the frame is lightened and darkened; beyond 0 .. 255 each
    // byte still ends within 0 .. 255.
    int Bright() const { return FBright; }
    void SetBright(int Value) { FBright = Value; }
    // The width of the frame in pixels; below 1 no frame.
    int Size() const { return FSize; }
    void SetSize(int Value) { FSize = Value; }

    using TChtFilter::Apply;
    // Rings from the outside in, each stopping at the middle of R: top and
    // left sides lightened, bottom and right sides darkened.
    void Apply(plat::TBitmap& Bitmap, const plat::TRect& R) override;
    void Assign(const plat::TPersistent* Source) override;
    void CreateEditor(IFormCreator& Creator, const plat::TNotifyEvent& AChanged) override;
    std::string Description() const override;

private:
    int FBright = 64;
    int FSize = 15;
};

class TSobelFilter : public TChtFilter {
    PLAT_CLASS(TSobelFilter, TChtFilter)
public:
    using TChtFilter::TChtFilter;
    using TChtFilter::Apply;
    // Each inner pixel of R becomes the grey edge strength of the picture
    // as it was, with the border of R counting as black; the border pixels
    // keep their colours.
    void Apply(plat::TBitmap& Bitmap, const plat::TRect& R) override;
    std::string Description() const override;
};

} // namespace qel
