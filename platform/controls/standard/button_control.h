// TButtonControl: what push buttons, check boxes and radio buttons share.
// A left press takes the focus and holds the button down while the pointer
// stays on it; the release there presses it. Space does the same from the
// keyboard, and the caption's accelerator presses it at once. What a press
// does (click, toggle, check) is the descendant's Pressed.
#pragma once

#include "platform/controls/custom_control.h"

namespace plat {

class TButtonControl : public TCustomControl {
    PLAT_CLASS(TButtonControl, TCustomControl)
    PLAT_MESSAGES(TButtonControl, TCustomControl)
public:
    explicit TButtonControl(TComponent* owner);

    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool value);
    // Held down by the mouse or Space (drawn pressed).
    bool Down() const { return FDown; }

protected:
    // The button was pressed and released on it, or its accelerator typed.
    virtual void Pressed() = 0;

    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void SetDown(bool value);
    // Paints a check box or radio button glyph (a DFC_BUTTON state) with
    // the caption beside it, on the left or the right, and the focus
    // rectangle around the caption.
    void PaintGlyphAndCaption(std::uint32_t glyphState, bool glyphOnLeft);

    void WMKeyDown(TMessage& message);
    void WMKeyUp(TMessage& message);
    void WMSetFocus(TMessage& message);
    void WMKillFocus(TMessage& message);
    void WMGetDlgCode(TMessage& message);
    void WMCancelMode(TMessage& message);
    void CMDialogChar(TMessage& message);
    void CMTextChanged(TMessage& message);
    void CMEnabledChanged(TMessage& message);

private:
    void Release();

    bool FWordWrap = false;
    bool FDown = false;
    bool FMouseHeld = false;   // the left button went down on it and is held
    bool FSpaceHeld = false;   // Space went down while it had the focus
};

} // namespace plat
