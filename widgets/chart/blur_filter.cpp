// The blur filter: its passes, editor and display text.
#include "widgets/chart/blur_filter.h"

#include "widgets/chart/chart_messages.h"
#include "widgets/chart/form_creator.h"

#include "platform/canvas/bitmap.h"

#include <algorithm>
#include <cstdint>

namespace qel {

PLAT_DEFINE_CLASS(TBlurFilter, TConvolveFilter,
    plat::Published("Amount", &TBlurFilter::Amount, &TBlurFilter::SetAmount).Default(1),
    plat::Published("Steps", &TBlurFilter::Steps, &TBlurFilter::SetSteps).Default(1))

TBlurFilter::TBlurFilter(plat::TCollection* Collection) : TConvolveFilter(Collection)
{
}

namespace {

// The buffer side for a rectangle from First to Last: their distance, but
// no more than the bitmap's side, which holds every pass over it.
int BufferSide(int First, int Last, int BitmapSide)
{
    const std::int64_t Distance = std::int64_t{Last} - First;
    return static_cast<int>(std::min<std::int64_t>(Distance < 0 ? -Distance : Distance, BitmapSide));
}

} // namespace

void TBlurFilter::Apply(plat::TBitmap& Bitmap, const plat::TRect& R)
{
    Weights.fill(1.0f);
    Weights[4] = static_cast<float>(FAmount);
    RGBA = DeviceBitsPerPixel(Bitmap.DeviceContext()) == 32;
    PrepareLines(Bitmap);
    // Rows and buffer serve all passes. After a failing pass ReuseLines
    // stays set; the next blur prepares the rows again.
    ReuseLines = true;
    KeepBuffer = true;
    CreateBuffer(BufferSide(R.Left, R.Right, Bitmap.Width()), BufferSide(R.Top, R.Bottom, Bitmap.Height()));
    try {
        for (int Step = 0; Step < FSteps; ++Step) {
            TConvolveFilter::Apply(Bitmap, R);
        }
    } catch (...) {
        FreeBuffer();
        throw;
    }
    FreeBuffer();
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
