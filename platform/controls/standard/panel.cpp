// TPanel: bevels, caption, and the border its children are arranged within.
#include "platform/controls/standard/panel.h"

#include "platform/canvas/control_drawing.h"
#include "platform/canvas/gdi_constants.h"

namespace plat {

PLAT_DEFINE_CLASS(TCustomPanel, TCustomControl,
    Published("Alignment", &TCustomPanel::Alignment, &TCustomPanel::SetAlignment,
              {"taLeftJustify", "taRightJustify", "taCenter"}).Default(taCenter),
    Published("BevelInner", &TCustomPanel::BevelInner, &TCustomPanel::SetBevelInner,
              {"bvNone", "bvLowered", "bvRaised", "bvSpace"}).Default(bvNone),
    Published("BevelOuter", &TCustomPanel::BevelOuter, &TCustomPanel::SetBevelOuter,
              {"bvNone", "bvLowered", "bvRaised", "bvSpace"}).Default(bvRaised),
    Published("BevelWidth", &TCustomPanel::BevelWidth, &TCustomPanel::SetBevelWidth).Default(1),
    Published("BorderWidth", &TCustomPanel::BorderWidth, &TCustomPanel::SetBorderWidth).Default(0))
PLAT_DEFINE_CLASS(TPanel, TCustomPanel)

PLAT_BEGIN_MESSAGES(TCustomPanel, TCustomControl)
    PLAT_MESSAGE(CM_TEXTCHANGED, CMTextChanged)
PLAT_END_MESSAGES

TCustomPanel::TCustomPanel(TComponent* owner) : TCustomControl(owner)
{
    FControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csOpaque, csDoubleClicks};
    FColor = clBtnFace;
    FBrush->SetColor(FColor);
    FWidth = 185;
    FHeight = 41;
}

void TCustomPanel::Changed()
{
    Realign();
    Invalidate();
}

void TCustomPanel::SetBevelOuter(TPanelBevel value)
{
    if (value != FBevelOuter) {
        FBevelOuter = value;
        Changed();
    }
}

void TCustomPanel::SetBevelInner(TPanelBevel value)
{
    if (value != FBevelInner) {
        FBevelInner = value;
        Changed();
    }
}

void TCustomPanel::SetBevelWidth(int value)
{
    value = std::max(value, 1);
    if (value != FBevelWidth) {
        FBevelWidth = value;
        Changed();
    }
}

void TCustomPanel::SetBorderWidth(int value)
{
    value = std::max(value, 0);
    if (value != FBorderWidth) {
        FBorderWidth = value;
        Changed();
    }
}

void TCustomPanel::SetAlignment(TAlignment value)
{
    if (value != FAlignment) {
        FAlignment = value;
        Invalidate();
    }
}

void TCustomPanel::AdjustClientRect(TRect& rect)
{
    int inset = FBorderWidth;
    inset += FBevelOuter != bvNone ? FBevelWidth : 0;
    inset += FBevelInner != bvNone ? FBevelWidth : 0;
    rect = InflateRect(rect, -inset, -inset);
}

void TCustomPanel::Paint()
{
    TCanvas& canvas = *Canvas();
    TRect rect = ClientRect();
    canvas.Brush()->SetStyle(bsSolid);
    canvas.Brush()->SetColor(FColor);
    canvas.FillRect(rect);
    canvas.RequireState();
    if (canvas.Handle() == nullptr) {
        return;
    }
    const auto bevel = [&](TPanelBevel kind) {
        if (kind == bvNone) {
            return;
        }
        const bool raised = kind == bvRaised;
        const COLORREF top = kind == bvSpace ? ToColorRef(FColor) : ToColorRef(raised ? clBtnHighlight : clBtnShadow);
        const COLORREF bottom = kind == bvSpace ? ToColorRef(FColor) : ToColorRef(raised ? clBtnShadow : clBtnHighlight);
        Frame3D(*canvas.Handle(), rect, top, bottom, FBevelWidth);
    };
    bevel(FBevelOuter);
    rect = InflateRect(rect, -FBorderWidth, -FBorderWidth);
    bevel(FBevelInner);
    if (FText.empty()) {
        return;
    }
    canvas.Font()->Assign(Font());
    const std::uint32_t format = DT_SINGLELINE | DT_VCENTER |
                                 (FAlignment == taCenter ? DT_CENTER : FAlignment == taRightJustify ? DT_RIGHT : DT_LEFT);
    DrawCaption(canvas, FText, rect, format, Enabled(), Font()->Color());
}

void TCustomPanel::CMTextChanged(TMessage& message)
{
    Inherited(message);
    Invalidate();
}

} // namespace plat
