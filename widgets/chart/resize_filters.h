// The chart filters that scale pictures: resize to a new size, crop (a
// rectangle enlarged to the whole bitmap), zoom (the middle of the
// rectangle enlarged) and tile (the whole picture made small and repeated).
// Smooth scaling goes through SmoothStretch, the rest takes the nearest
// pixel.
#pragma once

#include "widgets/chart/chart_filter.h"

#include <memory>

namespace qel {

// A new bitmap of Width x Height holding all of Bitmap resampled smoothly;
// where the smooth stretch cannot work (a side of 1 pixel) the nearest
// pixels. Bitmap becomes 24 bits per pixel.
std::unique_ptr<plat::TBitmap> ResizedCopy(plat::TBitmap& Bitmap, int Width, int Height);

class TResizeFilter : public TChtFilter {
    PLAT_CLASS(TResizeFilter, TChtFilter)
public:
    using TChtFilter::TChtFilter;

    int Width() const { return FWidth; }
    void SetWidth(int Value) { FWidth = Value; }
    int Height() const { return FHeight; }
    void SetHeight(int Value) { FHeight = Value; }

    using TChtFilter::Apply;
    // The whole bitmap resampled to Width x Height (R is not used);
    // nothing when either is 0 or less.
    void Apply(plat::TBitmap& Bitmap, const plat::TRect& R) override;
    void Assign(const plat::TPersistent* Source) override;
    void CreateEditor(IFormCreator& Creator, const plat::TNotifyEvent& AChanged) override;
    std::string Description() const override;
    void PrepareForGallery() override;

private:
    int FWidth = 0;
    int FHeight = 0;
};

class TCropFilter : public TResizeFilter {
    PLAT_CLASS(TCropFilter, TResizeFilter)
public:
    using TResizeFilter::TResizeFilter;

    int Left() const { return FLeft; }
    void SetLeft(int Value) { FLeft = Value; }
    int Top() const { return FTop; }
    void SetTop(int Value) { FTop = Value; }
    bool Smooth() const { return FSmooth; }
    void SetSmooth(bool Value) { FSmooth = Value; }

    using TResizeFilter::Apply;
    // The Width x Height pixels from (Left, Top) enlarged to the whole
    // bitmap, which keeps its size (R is not used); parts of the rectangle
    // outside the bitmap count as white. Nothing when Width or Height is 0
    // or less.
    void Apply(plat::TBitmap& Bitmap, const plat::TRect& R) override;
    void Assign(const plat::TPersistent* Source) override;
    void CreateEditor(IFormCreator& Creator, const plat::TNotifyEvent& AChanged) override;
    std::string Description() const override;

private:
    int FLeft = 0;
    bool FSmooth = false;
    int FTop = 0;
};

class TZoomFilter : public TChtFilter {
    PLAT_CLASS(TZoomFilter, TChtFilter)
public:
    using TChtFilter::TChtFilter;

    // How much of R's width and height is cut away, in percent.
    double Percent() const { return FPercent; }
    void SetPercent(double Value) { FPercent = Value; }
    bool Smooth() const { return FSmooth; }
    void SetSmooth(bool Value) { FSmooth = Value; }

    using TChtFilter::Apply;
    // The middle of R enlarged to all of R; a Percent that is not finite
    // changes nothing.
    void Apply(plat::TBitmap& Bitmap, const plat::TRect& R) override;
    void Assign(const plat::TPersistent* Source) override;
    void CreateEditor(IFormCreator& Creator, const plat::TNotifyEvent& AChanged) override;
    std::string Description() const override;
    void PrepareForGallery() override;

private:
    double FPercent = 10;
    bool FSmooth = false;
};

class TTileFilter : public TChtFilter {
    PLAT_CLASS(TTileFilter, TChtFilter)
public:
    using TChtFilter::TChtFilter;

    int NumCols() const { return FNumCols; }
    void SetNumCols(int Value) { FNumCols = Value; }
    int NumRows() const { return FNumRows; }
    void SetNumRows(int Value) { FNumRows = Value; }

    using TChtFilter::Apply;
    // The whole picture made NumCols x NumRows times smaller than R and
    // drawn NumCols x NumRows times from the bitmap's top-left corner.
    // Counts below 1 become 1 (the properties too).
    void Apply(plat::TBitmap& Bitmap, const plat::TRect& R) override;
    void Assign(const plat::TPersistent* Source) override;
    void CreateEditor(IFormCreator& Creator, const plat::TNotifyEvent& AChanged) override;
    std::string Description() const override;

private:
    int FNumCols = 3;
    int FNumRows = 3;
};

} // namespace qel
