// Weights and display texts of the fixed-kernel convolution filters.
#include "widgets/chart/kernel_filters.h"

#include "widgets/chart/chart_messages.h"

namespace qel {

PLAT_DEFINE_CLASS(TSharpenFilter, TConvolveFilter)
PLAT_DEFINE_CLASS(TEmbossFilter, TConvolveFilter)
PLAT_DEFINE_CLASS(TSoftenFilter, TConvolveFilter)

void TSharpenFilter::Apply(plat::TBitmap& Bitmap, const plat::TRect& R)
{
    constexpr float N = -0.125f;
    Weights = {N, N, N, N, 2.0f, N, N, N, N};
    TConvolveFilter::Apply(Bitmap, R);
}

std::string TSharpenFilter::Description() const
{
    return ChartText(TChartMessage::Sharpen);
}

void TEmbossFilter::Apply(plat::TBitmap& Bitmap, const plat::TRect& R)
{
    Weights = {0, -1, 0, -1, 1, 1, 0, -1, 0};
    TConvolveFilter::Apply(Bitmap, R);
}

std::string TEmbossFilter::Description() const
{
    return ChartText(TChartMessage::Emboss);
}

void TSoftenFilter::Apply(plat::TBitmap& Bitmap, const plat::TRect& R)
{
    Weights = {0, 0, 0, 0, 1, 1, 0, 1, 1};
    TConvolveFilter::Apply(Bitmap, R);
}

std::string TSoftenFilter::Description() const
{
    return ChartText(TChartMessage::Antialias);
}

} // namespace qel
