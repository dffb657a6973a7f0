// TSpeedButton: hot and pressed looks of a flat or raised button.
#include "platform/controls/standard/speed_button.h"

#include "platform/canvas/gdi_constants.h"
#include "platform/controls/standard/standard_drawing.h"

namespace plat {

PLAT_DEFINE_CLASS(TSpeedButton, TGraphicControl,
    Published("Flat", &TSpeedButton::Flat, &TSpeedButton::SetFlat).Default(false))

PLAT_BEGIN_MESSAGES(TSpeedButton, TGraphicControl)
    PLAT_MESSAGE(CM_MOUSEENTER, CMMouseEnter)
    PLAT_MESSAGE(CM_MOUSELEAVE, CMMouseLeave)
    PLAT_MESSAGE(CM_TEXTCHANGED, CMTextChanged)
    PLAT_MESSAGE(CM_ENABLEDCHANGED, CMEnabledChanged)
PLAT_END_MESSAGES

TSpeedButton::TSpeedButton(TComponent* owner) : TGraphicControl(owner)
{
    // A quick second press is a second click, not a double click.
    FControlStyle = {csCaptureMouse, csClickEvents, csOpaque};
    FParentColor = true;
    FWidth = 23;
    FHeight = 22;
}

void TSpeedButton::SetFlat(bool value)
{
    if (value != FFlat) {
        FFlat = value;
        Invalidate();
    }
}

void TSpeedButton::SetPressed(bool value)
{
    if (value != FPressed) {
        FPressed = value;
        Invalidate();
    }
}

void TSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (button == mbLeft && Enabled()) {
        FHeld = true;
        SetPressed(true);
    }
    TGraphicControl::MouseDown(button, shift, x, y);
}

void TSpeedButton::MouseMove(TShiftState shift, int x, int y)
{
    if (FHeld) {
        SetPressed(ClientRect().Contains(x, y));
    }
    TGraphicControl::MouseMove(shift, x, y);
}

void TSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (button == mbLeft) {
        FHeld = false;
        SetPressed(false);
    }
    TGraphicControl::MouseUp(button, shift, x, y);
}

void TSpeedButton::CMMouseEnter(TMessage& message)
{
    Inherited(message);
    if (!FHot) {
        FHot = true;
        Invalidate();
    }
}

void TSpeedButton::CMMouseLeave(TMessage& message)
{
    Inherited(message);
    if (FHot) {
        FHot = false;
        Invalidate();
    }
}

void TSpeedButton::CMTextChanged(TMessage& message)
{
    Inherited(message);
    Invalidate();
}

void TSpeedButton::CMEnabledChanged(TMessage& message)
{
    Inherited(message);
    FHeld = false;
    FPressed = false;
    Invalidate();
}

void TSpeedButton::Paint()
{
    TCanvas& canvas = *Canvas();
    TRect face = ClientRect();
    canvas.Brush()->SetStyle(bsSolid);
    canvas.Brush()->SetColor(FColor);
    canvas.FillRect(face);
    canvas.RequireState();
    if (canvas.Handle() == nullptr) {
        return;
    }
    const bool pressed = FPressed;
    if (!FFlat) {
        face = DrawPushButtonFace(canvas, face, pressed, false);
    } else if (pressed) {
        canvas.Handle()->DrawEdge(face, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    } else if (FHot && Enabled()) {
        canvas.Handle()->DrawEdge(face, BDR_RAISEDINNER, BF_RECT | BF_ADJUST);
    }
    if (pressed) {
        face = OffsetRect(face, 1, 1);
    }
    canvas.Font()->Assign(Font());
    DrawCaption(canvas, FText, face, DT_CENTER | DT_VCENTER | DT_SINGLELINE, Enabled(), Font()->Color());
}

} // namespace plat
