// The filter region's rectangle and assignment.
#include "widgets/chart/filter_region.h"

namespace qel {

PLAT_DEFINE_CLASS(TFilterRegion, plat::TPersistent,
    plat::Published("Left", &TFilterRegion::Left, &TFilterRegion::SetLeft).Default(0),
    plat::Published("Top", &TFilterRegion::Top, &TFilterRegion::SetTop).Default(0),
    plat::Published("Width", &TFilterRegion::Width, &TFilterRegion::SetWidth).Default(0),
    plat::Published("Height", &TFilterRegion::Height, &TFilterRegion::SetHeight).Default(0))

plat::TRect TFilterRegion::Rectangle() const
{
    return {FLeft, FTop, plat::SaturateInt(std::int64_t{FLeft} + FWidth),
        plat::SaturateInt(std::int64_t{FTop} + FHeight)};
}

void TFilterRegion::SetRectangle(const plat::TRect& R)
{
    FLeft = R.Left;
    FTop = R.Top;
    FWidth = plat::SaturateInt(R.Width());
    FHeight = plat::SaturateInt(R.Height());
}

void TFilterRegion::Assign(const plat::TPersistent* Source)
{
    if (const auto* Region = dynamic_cast<const TFilterRegion*>(Source)) {
        FLeft = Region->FLeft;
        FTop = Region->FTop;
        FWidth = Region->FWidth;
        FHeight = Region->FHeight;
        return;
    }
    plat::TPersistent::Assign(Source);
}

} // namespace qel
