// TGraphicControl: a control without a window of its own; it paints on its
// parent's window within its bounds and takes the mouse messages its parent
// passes on to it.
#pragma once

#include "platform/controls/control.h"
#include "platform/controls/control_canvas.h"

#include <memory>

namespace plat {

class TGraphicControl : public TControl {
    PLAT_CLASS(TGraphicControl, TControl)
    PLAT_MESSAGES(TGraphicControl, TControl)
public:
    explicit TGraphicControl(TComponent* owner);
    ~TGraphicControl() override;

    TCanvas* Canvas();

protected:
    virtual void Paint();
    void WMPaint(TMessage& message);

private:
    std::unique_ptr<TControlCanvas> FCanvas;
};

} // namespace plat
