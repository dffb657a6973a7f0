// The fixed-kernel convolution filters: sharpen, emboss and soften
// ("Anti-Alias"). Each sets its weights and runs one pass.
#pragma once

#include "widgets/chart/convolve_filter.h"

namespace qel {

class TSharpenFilter : public TConvolveFilter {
    PLAT_CLASS(TSharpenFilter, TConvolveFilter)
public:
    using TConvolveFilter::TConvolveFilter;
    using TConvolveFilter::Apply;
    // Centre 2, the eight neighbours -1/8 each.
    void Apply(plat::TBitmap& Bitmap, const plat::TRect& R) override;
    std::string Description() const override;
};

class TEmbossFilter : public TConvolveFilter {
    PLAT_CLASS(TEmbossFilter, TConvolveFilter)
public:
    using TConvolveFilter::TConvolveFilter;
    using TConvolveFilter::Apply;
    // Centre and right 1, above, left and below -1, corners 0.
    void Apply(plat::TBitmap& Bitmap, const plat::TRect& R) override;
    std::string Description() const override;
};

class TSoftenFilter : public TConvolveFilter {
    PLAT_CLASS(TSoftenFilter, TConvolveFilter)
public:
    using TConvolveFilter::TConvolveFilter;
    using TConvolveFilter::Apply;
    // The mean of the pixel, its right, lower and lower-right neighbours.
    void Apply(plat::TBitmap& Bitmap, const plat::TRect& R) override;
    std::string Description() const override;
};

} // namespace qel
