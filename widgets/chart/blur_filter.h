// TBlurFilter: repeated 3 x 3 softening passes, the centre weighted by
// Amount; the chart canvas blurs text shadows with it.
#pragma once

#include "widgets/chart/convolve_filter.h"

namespace qel {

class TBlurFilter : public TConvolveFilter {
    PLAT_CLASS(TBlurFilter, TConvolveFilter)
public:
    explicit TBlurFilter(plat::TCollection* Collection);

    int Amount() const { return FAmount; }
    void SetAmount(int Value) { FAmount = Value; }
    int Steps() const { return FSteps; }
    void SetSteps(int Value) { FSteps = Value; }

    using TConvolveFilter::Apply;
    // Steps passes over R on 32-bit rows when the bitmap's pixels are 32
    // bits deep, else on 24-bit rows; no pass below 1. The rows and one
    // buffer serve all passes; KeepBuffer stays set afterwards.
    void Apply(plat::TBitmap& Bitmap, const plat::TRect& R) override;
    void CreateEditor(IFormCreator& Creator, const plat::TNotifyEvent& AChanged) override;
    std::string Description() const override;

private:
    int FAmount = 1;   // weight of the centre pixel
    int FSteps = 1;    // number of passes
};

} // namespace qel
