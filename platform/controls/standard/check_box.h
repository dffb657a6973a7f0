// TCheckBox: a box that is checked, unchecked or (when AllowGrayed) grayed.
// A press (click, Space, accelerator) moves it to its next state; every
// change of state, by the user or the program, runs OnClick once.
#pragma once

#include "platform/controls/standard/button_control.h"
#include "platform/controls/standard/standard_drawing.h"

namespace plat {

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

class TCheckBox : public TButtonControl {
    PLAT_CLASS(TCheckBox, TButtonControl)
public:
    explicit TCheckBox(TComponent* owner);

    TCheckBoxState State() const { return FState; }
    void SetState(TCheckBoxState value);
    bool Checked() const { return FState == cbChecked; }
    void SetChecked(bool value) { SetState(value ? cbChecked : cbUnchecked); }
    bool AllowGrayed() const { return FAllowGrayed; }
    void SetAllowGrayed(bool value) { FAllowGrayed = value; }
    // taRightJustify: the box on the left, the caption on its right.
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);

    // Unchecked -> checked (or grayed) -> unchecked; grayed -> checked.
    void Toggle();

protected:
    void Pressed() override { Toggle(); }
    void Paint() override;

private:
    TCheckBoxState FState = cbUnchecked;
    bool FAllowGrayed = false;
    TAlignment FAlignment = taRightJustify;
};

} // namespace plat
