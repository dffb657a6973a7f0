// TPgcAttachedLabel: the caption label a library control carries beside it
// (LabelInfo of TPgcCustomControl). It sizes itself to its caption, paints
// it, and tells its control whenever it moves or is read from a stream, so
// that the control keeps the label's offsets.
//
// The label control of the standard controls is not available yet, so the
// few label features the attached label needs (auto-size, transparency,
// the focus control) live here.
#pragma once

#include "platform/controls/graphic_control.h"
#include "platform/controls/win_control.h"

namespace qel {

class TPgcAttachedLabel : public plat::TGraphicControl {
    PLAT_CLASS(TPgcAttachedLabel, plat::TGraphicControl)
    PLAT_MESSAGES(TPgcAttachedLabel, plat::TGraphicControl)
public:
    // Auto-size on, the parent's font, not transparent.
    explicit TPgcAttachedLabel(plat::TComponent* AOwner);

    // The control the label belongs to.
    plat::TWinControl* Control() const { return FControl; }
    void SetControl(plat::TWinControl* Value);
    // The control that takes the focus for the label's accelerator.
    plat::TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(plat::TWinControl* Value);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value);

    // Moves the label, then tells its control.
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    // Moves the label where its control places it by the offsets it keeps;
    // the control is not told (a notice handled after a later move of the
    // control would take wrong offsets).
    void PlaceAt(int ALeft, int ATop);

protected:
    void Loaded() override;
    void Notification(plat::TComponent* AComponent, plat::TOperation Operation) override;
    void Paint() override;

    void CMTextChanged(plat::TMessage& Msg);
    void CMFontChanged(plat::TMessage& Msg);

private:
    // Sizes the label to its caption while AutoSize.
    void AdjustBounds();
    // Tells the control (when the label's form or frame owns it) that this
    // is its label and that it stands where it stands now.
    void AnnounceToControl();
    void Watch(plat::TWinControl* Control);

    plat::TWinControl* FControl = nullptr;
    plat::TWinControl* FFocusControl = nullptr;
    bool FAutoSize = true;
    bool FTransparent = false;
    bool FPlacing = false;   // PlaceAt runs: no notice to the control
};

} // namespace qel
