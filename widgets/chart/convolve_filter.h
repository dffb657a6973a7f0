// TConvolveFilter: one 3 x 3 convolution pass. Every inner pixel of the
// rectangle becomes a weighted sum of itself and its eight neighbours, all
// read as they were before the pass; the border rows and columns of the
// rectangle keep their values. All-ones weights take an integer mean path.
#pragma once

#include "widgets/chart/chart_filter.h"

#include <array>
#include <cstdint>
#include <vector>

namespace qel {

class TConvolveFilter : public TChtFilter {
    PLAT_CLASS(TConvolveFilter, TChtFilter)
public:
    explicit TConvolveFilter(plat::TCollection* Collection);

    using TChtFilter::Apply;
    // One pass over the inner pixels of R brought into the bitmap. Raises
    // plat::EZeroDivide, before any pixel is written, when the weights are
    // not all 1 and sum to 0.
    void Apply(plat::TBitmap& Bitmap, const plat::TRect& R) override;

    // Row by row from above to below, each row left to right: w0 above-left,
    // w4 the pixel itself, w8 below-right.
    std::array<float, 9> Weights{};

private:
    template <int PixelBytes>
    void Pass();
    bool IsMean() const;

    float FFactor = 0;                         // 1 / sum of the weights, weighted path only
    std::vector<std::uint16_t> FColumnSums;    // mean path: above + current + below, per byte
    std::array<std::vector<std::uint8_t>, 2> FResults;   // computed rows waiting to be written
};

} // namespace qel
