// A pair of text and background colours with the defaults they were made
// with: the highlight and error colours the editor and the entry fields
// publish.
#pragma once

#include "platform/canvas/colors.h"
#include "platform/objects/events.h"
#include "platform/objects/persistent.h"

namespace qel {

class TPgcColors : public plat::TPersistent {
    PLAT_CLASS(TPgcColors, plat::TPersistent)
public:
    // The text colour comes first; both become the defaults.
    TPgcColors(plat::TColor FG, plat::TColor BG);

    plat::TColor BackColor() const { return FBackColor; }
    plat::TColor TextColor() const { return FTextColor; }
    // A change fires OnColorChange; a value other than the default clears
    // UseDefault.
    void SetBackColor(plat::TColor Value);
    void SetTextColor(plat::TColor Value);
    // True while both colours are the defaults; setting it true restores them.
    bool UseDefault() const { return FUseDefault; }
    void SetUseDefault(bool Value);

    // Back colour first, each through its setter.
    void Assign(const plat::TPersistent* Source) override;

    // After every change.
    plat::TNotifyEvent OnColorChange;

protected:
    // Streams that still carry "UseDefault" load; it is read and dropped.
    void DefineProperties(plat::TFiler& Filer) override;
    // The defaults into both colours, without notification.
    virtual void ApplyDefaultColors();
    virtual void NotifyColorChange();

private:
    plat::TColor FBackColor;
    plat::TColor FTextColor;
    bool FUseDefault = true;
    const plat::TColor cDefBackColor;
    const plat::TColor cDefTextColor;
};

} // namespace qel
