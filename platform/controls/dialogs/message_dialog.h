// The message box: our own modal form with the text wrapped beside the
// picture of its type, the caption of its type and its buttons in the order
// of TMsgDlgBtn, captioned from the standard texts (so they follow the
// language). The default button has the focus, so Enter presses it; Escape
// and the close box press Cancel, else No, else OK (a box without any of
// them ignores the close box). The box stands centred on the main form and
// stays inside the screen, however long its text.
#pragma once

#include "platform/controls/form.h"
#include "platform/dialogs.h"

#include <string>
#include <vector>

namespace plat {

class TButton;
class TLabel;

class TMessageForm : public TForm {
    PLAT_CLASS(TMessageForm, TForm)
    PLAT_MESSAGES(TMessageForm, TForm)
public:
    TMessageForm(const std::string& text, const std::string& caption, TMsgDlgType type, TMsgDlgButtons buttons,
                 TMsgDlgBtn defaultButton);

    // The button of a kind, nullptr when the box does not show it.
    TButton* ButtonOf(TMsgDlgBtn button) const;
    TLabel* MessageLabel() const { return FMessage; }

protected:
    // The default button takes the focus as the box shows.
    void DoShow() override;
    void WMClose(TMessage& message);

private:
    void PlaceOnScreen();

    TLabel* FMessage = nullptr;
    std::vector<std::pair<TMsgDlgBtn, TButton*>> FButtons;
    TButton* FEscapeButton = nullptr;
    TButton* FDefaultButton = nullptr;
};

// The caption a message box of the type shows when it is given none (a
// custom box: the application's title).
std::string MessageBoxCaption(TMsgDlgType type);
// The caption of a message box's button.
std::string MessageButtonCaption(TMsgDlgBtn button);
// The buttons a box of that set shows, in their order (OK alone for none),
// and the one preset (the default when it shows, else the first).
std::vector<TMsgDlgBtn> MessageBoxButtons(TMsgDlgButtons buttons);
TMsgDlgBtn MessageBoxDefault(TMsgDlgButtons buttons, TMsgDlgBtn defaultButton);

// Shows a message box modally; the result is the modal result of the
// button pressed. No buttons at all means OK.
TModalResult MessageDlg(const std::string& text, const std::string& caption, TMsgDlgType type, TMsgDlgButtons buttons,
                        TMsgDlgBtn defaultButton);

} // namespace plat
