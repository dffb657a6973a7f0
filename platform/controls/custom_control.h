// TCustomControl: a windowed control that paints itself on its canvas in
// Paint (the canvas is bound to the paint context while Paint runs).
#pragma once

#include "platform/controls/control_canvas.h"
#include "platform/controls/win_control.h"

#include <memory>

namespace plat {

class TCustomControl : public TWinControl {
    PLAT_CLASS(TCustomControl, TWinControl)
    PLAT_MESSAGES(TCustomControl, TWinControl)
public:
    explicit TCustomControl(TComponent* owner);
    ~TCustomControl() override;

    // The control's canvas; outside Paint it draws on the window directly.
    TCanvas* Canvas();

protected:
    virtual void Paint();
    void PaintWindow(HDC dc) override;
    void WMPaint(TMessage& message);

private:
    std::unique_ptr<TControlCanvas> FCanvas;
};

} // namespace plat
