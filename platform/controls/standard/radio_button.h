// TRadioButton: one choice of a group, the radio buttons of one parent.
// Checking one unchecks the others and makes it the group's tab stop; the
// arrow keys move the focus through the group and check the button they
// reach. Becoming checked runs OnClick once.
#pragma once

#include "platform/controls/standard/button_control.h"
#include "platform/controls/standard/standard_drawing.h"

namespace plat {

class TRadioButton : public TButtonControl {
    PLAT_CLASS(TRadioButton, TButtonControl)
    PLAT_MESSAGES(TRadioButton, TButtonControl)
public:
    explicit TRadioButton(TComponent* owner);

    bool Checked() const { return FChecked; }
    void SetChecked(bool value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);

protected:
    void Pressed() override { SetChecked(true); }
    void Paint() override;
    void WMSetFocus(TMessage& message);

private:
    bool FChecked = false;
    TAlignment FAlignment = taRightJustify;
};

} // namespace plat
