// The three colour pairs of an entry field: disabled text, text that failed
// its validation, and the selected characters.
#pragma once

#include "widgets/pages/pgc_colors.h"

#include <memory>

namespace qel {

class TPgcEfColors : public plat::TPersistent {
    PLAT_CLASS(TPgcEfColors, plat::TPersistent)
public:
    // Disabled clGrayText on clWindow, Error clBlack on clRed, Highlight
    // clHighlightText on clHighlight.
    TPgcEfColors();
    ~TPgcEfColors() override;

    TPgcColors* Disabled() const { return FDisabled.get(); }
    TPgcColors* Error() const { return FError.get(); }
    TPgcColors* Highlight() const { return FHighlight.get(); }

    // From another TPgcEfColors pair by pair; other sources as inherited.
    void Assign(const plat::TPersistent* Source) override;
    // Every pair's change notification goes to Handler.
    void SetOnChange(const plat::TNotifyEvent& Handler);

private:
    std::unique_ptr<TPgcColors> FDisabled;
    std::unique_ptr<TPgcColors> FError;
    std::unique_ptr<TPgcColors> FHighlight;
};

} // namespace qel
