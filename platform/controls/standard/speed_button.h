// TSpeedButton: a small button without a window of its own, such as the
// "..." beside a field. It never takes the focus; a flat one shows its edge
// only while the pointer is over it. It clicks when released on it.
#pragma once

#include "platform/controls/graphic_control.h"

namespace plat {

class TSpeedButton : public TGraphicControl {
    PLAT_CLASS(TSpeedButton, TGraphicControl)
    PLAT_MESSAGES(TSpeedButton, TGraphicControl)
public:
    explicit TSpeedButton(TComponent* owner);

    bool Flat() const { return FFlat; }
    void SetFlat(bool value);
    // The pointer is over it.
    bool Hot() const { return FHot; }
    // Held down by the mouse.
    bool Pressed() const { return FPressed; }

protected:
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

    void CMMouseEnter(TMessage& message);
    void CMMouseLeave(TMessage& message);
    void CMTextChanged(TMessage& message);
    void CMEnabledChanged(TMessage& message);

private:
    void SetPressed(bool value);

    bool FFlat = false;
    bool FHot = false;
    bool FPressed = false;
    bool FHeld = false;   // the left button went down on it and is held
};

} // namespace plat
