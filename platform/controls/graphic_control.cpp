// TGraphicControl: painting on the context its parent hands over.
#include "platform/controls/graphic_control.h"

namespace plat {

PLAT_DEFINE_CLASS(TGraphicControl, TControl)

PLAT_BEGIN_MESSAGES(TGraphicControl, TControl)
    PLAT_MESSAGE(WM_PAINT, WMPaint)
PLAT_END_MESSAGES

TGraphicControl::TGraphicControl(TComponent* owner)
    : TControl(owner), FCanvas(std::make_unique<TControlCanvas>(this))
{
}

TGraphicControl::~TGraphicControl() = default;

TCanvas* TGraphicControl::Canvas()
{
    FCanvas->EnsureHandle();
    return FCanvas.get();
}

void TGraphicControl::Paint() {}

void TGraphicControl::WMPaint(TMessage& message)
{
    HDC dc = reinterpret_cast<HDC>(message.WParam);
    if (dc == nullptr) {
        return;
    }
    TControlCanvas::TPaintScope painting(*FCanvas, dc);
    Paint();
}

} // namespace plat
