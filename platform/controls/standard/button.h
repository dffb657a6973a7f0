// TButton: the push button. Enter presses the form's default button (or
// the focused button), Escape its cancel button; a pressed button with a
// ModalResult sets its form's modal result before OnClick runs.
#pragma once

#include "platform/controls/standard/button_control.h"
#include "platform/dialogs.h"

namespace plat {

class TButton : public TButtonControl {
    PLAT_CLASS(TButton, TButtonControl)
    PLAT_MESSAGES(TButton, TButtonControl)
public:
    explicit TButton(TComponent* owner);

    bool Default() const { return FDefault; }
    void SetDefault(bool value);
    bool Cancel() const { return FCancel; }
    void SetCancel(bool value) { FCancel = value; }
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult value) { FModalResult = value; }
    // Enter presses it: it has the focus, or it is the default button and
    // no other button has the focus.
    bool Active() const;

    void Click() override;

protected:
    void Pressed() override;
    void Paint() override;

    void WMSetFocus(TMessage& message);
    void WMKillFocus(TMessage& message);
    void CMDialogKey(TMessage& message);

private:
    // Repaints the default buttons of the form, whose frame follows the focus.
    void InvalidateDefaultButtons();

    bool FDefault = false;
    bool FCancel = false;
    TModalResult FModalResult = mrNone;
};

} // namespace plat
