// TCustomControl: a windowed control painting itself through its canvas.
#include "platform/controls/custom_control.h"

namespace plat {

PLAT_DEFINE_CLASS(TCustomControl, TWinControl)

PLAT_BEGIN_MESSAGES(TCustomControl, TWinControl)
    PLAT_MESSAGE(WM_PAINT, WMPaint)
PLAT_END_MESSAGES

TCustomControl::TCustomControl(TComponent* owner)
    : TWinControl(owner), FCanvas(std::make_unique<TControlCanvas>(this))
{
}

TCustomControl::~TCustomControl() = default;

TCanvas* TCustomControl::Canvas()
{
    FCanvas->EnsureHandle();
    return FCanvas.get();
}

void TCustomControl::Paint() {}

void TCustomControl::PaintWindow(HDC dc)
{
    TControlCanvas::TPaintScope painting(*FCanvas, dc);
    Paint();
}

void TCustomControl::WMPaint(TMessage& message)
{
    FControlState.Include(csCustomPaint);
    Inherited(message);
    FControlState.Exclude(csCustomPaint);
}

} // namespace plat
