// TLabel: a caption on its parent's face. It sizes itself to its text
// (AutoSize), aligns the text horizontally and vertically, may wrap it at
// word boundaries, and passes the focus to its FocusControl when its
// accelerator ("&Name") is typed.
#pragma once

#include "platform/controls/graphic_control.h"
#include "platform/controls/standard/standard_drawing.h"

namespace plat {

class TWinControl;

class TCustomLabel : public TGraphicControl {
    PLAT_CLASS(TCustomLabel, TGraphicControl)
    PLAT_MESSAGES(TCustomLabel, TGraphicControl)
public:
    explicit TCustomLabel(TComponent* owner);

    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    TTextLayout Layout() const { return FLayout; }
    void SetLayout(TTextLayout value);
    // On: the label takes the size of its text (keeping its width when it wraps).
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool value);
    // Off: "&" is shown as it is and chooses nothing.
    bool ShowAccelChar() const { return FShowAccelChar; }
    void SetShowAccelChar(bool value);
    // On: the parent's pixels show through around the text.
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);
    TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* value);

protected:
    void Paint() override;
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;
    // The DrawText format of the text.
    std::uint32_t TextFormat() const;
    // Sizes the label to its text while AutoSize.
    void AdjustBounds();

    void CMTextChanged(TMessage& message);
    void CMFontChanged(TMessage& message);
    void CMDialogChar(TMessage& message);

private:
    TAlignment FAlignment = taLeftJustify;
    TTextLayout FLayout = tlTop;
    bool FAutoSize = true;
    bool FWordWrap = false;
    bool FShowAccelChar = true;
    bool FTransparent = false;
    TWinControl* FFocusControl = nullptr;
};

class TLabel : public TCustomLabel {
    PLAT_CLASS(TLabel, TCustomLabel)
public:
    explicit TLabel(TComponent* owner) : TCustomLabel(owner) {}
};

} // namespace plat
