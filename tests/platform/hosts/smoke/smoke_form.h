// The form the host smoke tests drive: a button that copies the typed text
// to the clipboard, a one-line edit that shows what it gets as WM_CHAR (with
// a caret that does not blink, so captures compare), and a toggle that Space
// switches. It looks the same on every host, so a capture of the real window
// can be compared with the form's own render and with a headless replay.
#pragma once

#include "platform/controls/custom_control.h"
#include "platform/controls/form.h"

#include <string>
#include <vector>

namespace plat::smoke {

// A tab stop that a click focuses and that repaints as it gains or loses
// the focus.
class TSmokeFocusable : public TCustomControl {
    PLAT_CLASS(TSmokeFocusable, TCustomControl)
public:
    explicit TSmokeFocusable(TComponent* owner);

protected:
    void WndProc(TMessage& message) override;
};

class TSmokeButton : public TSmokeFocusable {
    PLAT_CLASS(TSmokeButton, TSmokeFocusable)
public:
    explicit TSmokeButton(TComponent* owner);
    int Clicks = 0;
    void Click() override;

protected:
    void Paint() override;
};

class TSmokeEdit : public TSmokeFocusable {
    PLAT_CLASS(TSmokeEdit, TSmokeFocusable)
public:
    explicit TSmokeEdit(TComponent* owner);
    // Every WM_CHAR unit that arrived, in order.
    std::vector<std::uint16_t> Units;

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;
    void Paint() override;

private:
    void PlaceCaret();
    std::u16string FTyped;
};

class TSmokeToggle : public TSmokeFocusable {
    PLAT_CLASS(TSmokeToggle, TSmokeFocusable)
public:
    explicit TSmokeToggle(TComponent* owner);
    bool Checked = false;

protected:
    void WndProc(TMessage& message) override;
    void Paint() override;
};

class TSmokeForm : public TForm {
    PLAT_CLASS(TSmokeForm, TForm)
public:
    explicit TSmokeForm(TComponent* owner);

    TSmokeButton* Button;
    TSmokeEdit* Edit;
    TSmokeToggle* Toggle;

    // What the form has seen, one fact a line (clicks, units, toggle state).
    std::string Report() const;
};

// The text the button puts on the clipboard.
std::string CopiedText(const TSmokeForm& form);

} // namespace plat::smoke
