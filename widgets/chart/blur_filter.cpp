// The blur filter: its passes, editor and display text.
#include "widgets/chart/blur_filter.h"

#include "widgets/chart/chart_messages.h"
#include "widgets/chart/form_creator.h"

#include "platform/canvas/bitmap.h"

namespace qel {

PLAT_DEFINE_CLASS(TBlurFilter, TConvolveFilter,
    plat::Published("Amount", &TBlurFilter::Amount, &TBlurFilter::SetAmount).Default(1),
    plat::Published("Steps", &TBlurFilter::Steps, &TBlurFilter::SetSteps).Default(1))

TBlurFilter::TBlurFilter(plat::TCollection* Collection) : TConvolveFilter(Collection)
{
}

void TBlurFilter::Apply(plat::TBitmap& Bitmap, const plat::TRect& R)
{
    Weights.fill(1.0f);
    Weights[4] = static_cast<float>(FAmount);
    RGBA = DeviceBitsPerPixel(Bitmap.DeviceContext()) == 32;
    PrepareLines(Bitmap);
    // The rows are prepared once for all passes; a failing pass must not
    // leave them to a later Apply on another bitmap.
    ReuseLines = true;
    try {
        for (int Step = 0; Step < FSteps; ++Step) {
            TConvolveFilter::Apply(Bitmap, R);
        }
    } catch (...) {
        ReuseLines = false;
        throw;
    }
    ReuseLines = false;
}

void TBlurFilter::CreateEditor(IFormCreator& Creator, const plat::TNotifyEvent& AChanged)
{
    TConvolveFilter::CreateEditor(Creator, AChanged);
    Creator.AddScroll("Steps", 1, 20);
    Creator.AddScroll("Amount", 0, 50);
}

std::string TBlurFilter::Description() const
{
    return ChartText(TChartMessage::Blur);
}

} // namespace qel
