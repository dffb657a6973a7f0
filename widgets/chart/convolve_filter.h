// TConvolveFilter: one 3 x 3 convolution pass. Every inner pixel of the
// rectangle becomes a weighted sum of itself and its eight neighbours, all
// read as they were before the pass: the computed pixels go to a buffer
// bitmap first. The border rows and columns of the rectangle keep their
// values. All-ones weights take an integer mean path.
#pragma once

#include "widgets/chart/chart_filter.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace qel {

class TConvolveFilter : public TChtFilter {
    PLAT_CLASS(TConvolveFilter, TChtFilter)
public:
    explicit TConvolveFilter(plat::TCollection* Collection);
    ~TConvolveFilter() override;

    using TChtFilter::Apply;
    // One pass over the inner pixels of R brought into the bitmap. Raises
    // plat::EZeroDivide, before any pixel is written, when the weights are
    // not all 1 and sum to 0.
    void Apply(plat::TBitmap& Bitmap, const plat::TRect& R) override;

    // False: each Apply makes its buffer and frees it again. True: Apply
    // computes into the buffer its caller made with CreateBuffer (or into
    // one of its own when there is none that holds the rectangle).
    bool KeepBuffer = false;
    // The rectangle of the last pass, brought into the bitmap.
    using TChtFilter::Rect;
    // Row by row from above to below, each row left to right: w0 above-left,
    // w4 the pixel itself, w8 below-right.
    std::array<float, 9> Weights{};

protected:
    // BufferBitmap := Width x Height pixels of the size RGBA selects, with
    // its row table in BufferFilter.
    void CreateBuffer(int Width, int Height);
    void FreeBuffer();

    // Receives the computed pixels: row y - Rect.Top, pixel x - Rect.Left
    // for the bitmap's pixel (x, y). Present between CreateBuffer and
    // FreeBuffer.
    std::unique_ptr<plat::TBitmap> BufferBitmap;
    // A plain filter holding the row table of BufferBitmap.
    std::unique_ptr<TChtFilter> BufferFilter;

private:
    template <int PixelBytes>
    void Pass();
    bool IsMean() const;
    // The buffer holds the pass over Rect in the pixel size of RGBA.
    bool BufferHoldsRect() const;

    float FFactor = 0;                         // 1 / sum of the weights, weighted path only
    std::vector<std::uint16_t> FColumnSums;    // mean path: above + current + below, per byte
};

} // namespace qel
