// TPgcAttachedLabel: the caption label a library control carries beside it
// (LabelInfo of TPgcCustomControl). It tells its control whenever it moves
// or is read from a stream, so that the control keeps the label's offsets.
#pragma once

#include "platform/controls/standard/label.h"
#include "platform/controls/win_control.h"

namespace qel {

class TPgcAttachedLabel : public plat::TLabel {
    PLAT_CLASS(TPgcAttachedLabel, plat::TLabel)
public:
    // Auto-size on, the parent's font, not transparent.
    explicit TPgcAttachedLabel(plat::TComponent* AOwner) : plat::TLabel(AOwner) {}

    // The control the label belongs to.
    plat::TWinControl* Control() const { return FControl; }
    void SetControl(plat::TWinControl* Value);

    // Moves the label, then tells its control.
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    // Moves the label where its control places it by the offsets it keeps;
    // the control is not told (a notice handled after a later move of the
    // control would take wrong offsets).
    void PlaceAt(int ALeft, int ATop);

protected:
    void Loaded() override;
    void Notification(plat::TComponent* AComponent, plat::TOperation Operation) override;

private:
    // Tells the control (when the label's form or frame owns it) that this
    // is its label and that it stands where it stands now.
    void AnnounceToControl();

    plat::TWinControl* FControl = nullptr;
    bool FPlacing = false;   // PlaceAt runs: no notice to the control
};

} // namespace qel
