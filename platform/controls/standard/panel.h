// TPanel: a raised (or lowered, or plain) plate holding other controls,
// with its caption in the middle. Its children are placed by alignment,
// margins and anchors inside its border and bevels.
#pragma once

#include "platform/controls/custom_control.h"
#include "platform/controls/standard/standard_drawing.h"

namespace plat {

enum TPanelBevel { bvNone, bvLowered, bvRaised, bvSpace };

class TCustomPanel : public TCustomControl {
    PLAT_CLASS(TCustomPanel, TCustomControl)
    PLAT_MESSAGES(TCustomPanel, TCustomControl)
public:
    explicit TCustomPanel(TComponent* owner);

    TPanelBevel BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TPanelBevel value);
    TPanelBevel BevelInner() const { return FBevelInner; }
    void SetBevelInner(TPanelBevel value);
    int BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(int value);
    // Space between the outer and the inner bevel.
    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);

protected:
    void Paint() override;
    void AdjustClientRect(TRect& rect) override;
    void CMTextChanged(TMessage& message);

private:
    void Changed();

    TPanelBevel FBevelOuter = bvRaised;
    TPanelBevel FBevelInner = bvNone;
    int FBevelWidth = 1;
    int FBorderWidth = 0;
    TAlignment FAlignment = taCenter;
};

class TPanel : public TCustomPanel {
    PLAT_CLASS(TPanel, TCustomPanel)
public:
    explicit TPanel(TComponent* owner) : TCustomPanel(owner) {}
};

} // namespace plat
