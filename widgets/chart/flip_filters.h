// The chart filters that mirror pictures: flip (rows upside down), reverse
// (columns right to left) and mirror (the bitmap doubled, holding the
// picture and its mirror image side by side). They move 24-bit pixels and
// change nothing when RGBA asks for 32-bit rows.
#pragma once

#include "widgets/chart/chart_filter.h"

namespace qel {

class TFlipFilter : public TChtFilter {
    PLAT_CLASS(TFlipFilter, TChtFilter)
public:
    using TChtFilter::TChtFilter;
    using TChtFilter::Apply;
    // The rows of R in reverse order; a middle row of an odd count stays.
    void Apply(plat::TBitmap& Bitmap, const plat::TRect& R) override;
    std::string Description() const override;
};

class TReverseFilter : public TChtFilter {
    PLAT_CLASS(TReverseFilter, TChtFilter)
public:
    using TChtFilter::TChtFilter;
    using TChtFilter::Apply;
    // The columns of R in reverse order.
    void Apply(plat::TBitmap& Bitmap, const plat::TRect& R) override;
    std::string Description() const override;
};

// Where the mirror filter puts the mirrored copy.
enum TMirrorDirection { mdDown, mdUp, mdRight, mdLeft };

class TMirrorFilter : public TChtFilter {
    PLAT_CLASS(TMirrorFilter, TChtFilter)
public:
    // No region: the filter works on the whole bitmap.
    explicit TMirrorFilter(plat::TCollection* Collection);

    TMirrorDirection Direction() const { return FDirection; }
    void SetDirection(TMirrorDirection Value) { FDirection = Value; }

    using TChtFilter::Apply;
    // Doubles the bitmap's height (down, up) or width (right, left); the
    // picture keeps its half and its mirror image fills the other.
    void Apply(plat::TBitmap& Bitmap, const plat::TRect& R) override;
    void Assign(const plat::TPersistent* Source) override;
    void CreateEditor(IFormCreator& Creator, const plat::TNotifyEvent& AChanged) override;
    std::string Description() const override;

private:
    TMirrorDirection FDirection = mdDown;
};

} // namespace qel
