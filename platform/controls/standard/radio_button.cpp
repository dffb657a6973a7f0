// TRadioButton: checking within the group of siblings, and arrow keys.
#include "platform/controls/standard/radio_button.h"

#include "platform/canvas/gdi_constants.h"
#include "platform/controls/virtual_keys.h"
#include "platform/controls/window_input.h"

namespace plat {

PLAT_DEFINE_CLASS(TRadioButton, TButtonControl,
    Published("Alignment", &TRadioButton::Alignment, &TRadioButton::SetAlignment,
              {"taLeftJustify", "taRightJustify", "taCenter"}).Default(taRightJustify),
    Published("Checked", &TRadioButton::Checked, &TRadioButton::SetChecked).Default(false))

PLAT_BEGIN_MESSAGES(TRadioButton, TButtonControl)
    PLAT_MESSAGE(WM_SETFOCUS, WMSetFocus)
PLAT_END_MESSAGES

TRadioButton::TRadioButton(TComponent* owner) : TButtonControl(owner)
{
    FParentColor = true;
    FTabStop = false;
    FWidth = 113;
    FHeight = 17;
}

void TRadioButton::SetChecked(bool value)
{
    if (value == FChecked) {
        return;
    }
    FChecked = value;
    SetTabStop(value);
    Invalidate();
    if (!value) {
        return;
    }
    if (FParent != nullptr) {
        for (int i = 0; i < FParent->ControlCount(); ++i) {
            auto* sibling = dynamic_cast<TRadioButton*>(FParent->Controls(i));
            if (sibling != nullptr && sibling != this) {
                sibling->SetChecked(false);
            }
        }
    }
    if (!ComponentState().Contains(csLoading)) {
        Click();
    }
}

void TRadioButton::SetAlignment(TAlignment value)
{
    if (value != FAlignment) {
        FAlignment = value;
        Invalidate();
    }
}

void TRadioButton::WMSetFocus(TMessage& message)
{
    Inherited(message);
    // Reached by an arrow key: the button the focus lands on is the choice.
    for (int key : {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN}) {
        if (GetKeyState(key) < 0) {
            SetChecked(true);
            break;
        }
    }
}

void TRadioButton::Paint()
{
    PaintGlyphAndCaption(DFCS_BUTTONRADIO | (FChecked ? DFCS_CHECKED : 0u), FAlignment != taLeftJustify);
}

} // namespace plat
