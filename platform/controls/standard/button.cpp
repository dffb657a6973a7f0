// TButton: the classic push button with its default frame and focus rectangle.
#include "platform/controls/standard/button.h"

#include "platform/canvas/gdi_constants.h"
#include "platform/controls/form.h"
#include "platform/controls/standard/standard_drawing.h"
#include "platform/controls/virtual_keys.h"

namespace plat {

PLAT_DEFINE_CLASS(TButton, TButtonControl,
    Published("Cancel", &TButton::Cancel, &TButton::SetCancel).Default(false),
    Published("Default", &TButton::Default, &TButton::SetDefault).Default(false),
    Published("ModalResult", &TButton::ModalResult, &TButton::SetModalResult).Default(mrNone))

PLAT_BEGIN_MESSAGES(TButton, TButtonControl)
    PLAT_MESSAGE(WM_SETFOCUS, WMSetFocus)
    PLAT_MESSAGE(WM_KILLFOCUS, WMKillFocus)
    PLAT_MESSAGE(CM_DIALOGKEY, CMDialogKey)
PLAT_END_MESSAGES

namespace {

// Calls visit for every push button below control.
template <class F>
void ForEachButton(TWinControl& control, const F& visit)
{
    for (int i = 0; i < control.ControlCount(); ++i) {
        if (auto* button = dynamic_cast<TButton*>(control.Controls(i))) {
            visit(*button);
        } else if (auto* windowed = dynamic_cast<TWinControl*>(control.Controls(i))) {
            ForEachButton(*windowed, visit);
        }
    }
}

} // namespace

TButton::TButton(TComponent* owner) : TButtonControl(owner)
{
    FWidth = 75;
    FHeight = 25;
    FColor = clBtnFace;
}

void TButton::SetDefault(bool value)
{
    if (value != FDefault) {
        FDefault = value;
        Invalidate();
    }
}

bool TButton::Active() const
{
    if (Focused()) {
        return true;
    }
    if (!FDefault) {
        return false;
    }
    const TCustomForm* form = GetParentForm(this);
    return form == nullptr || dynamic_cast<const TButton*>(form->FocusedControl()) == nullptr;
}

void TButton::Click()
{
    if (FModalResult != mrNone) {
        if (TCustomForm* form = GetParentForm(this)) {
            form->SetModalResult(FModalResult);
        }
    }
    TButtonControl::Click();
}

void TButton::Pressed()
{
    Click();
}

void TButton::InvalidateDefaultButtons()
{
    if (TCustomForm* form = GetParentForm(this)) {
        ForEachButton(*form, [](TButton& button) {
            if (button.Default()) {
                button.Invalidate();
            }
        });
    }
}

void TButton::WMSetFocus(TMessage& message)
{
    Inherited(message);
    InvalidateDefaultButtons();
}

void TButton::WMKillFocus(TMessage& message)
{
    Inherited(message);
    InvalidateDefaultButtons();
}

void TButton::CMDialogKey(TMessage& message)
{
    const bool enter = message.WParam == VK_RETURN && Active();
    const bool escape = message.WParam == VK_ESCAPE && FCancel;
    if ((enter || escape) && KeyDataToShiftState(message.LParam).Empty() && CanFocus()) {
        Click();
        message.Result = 1;
        return;
    }
    Inherited(message);
}

void TButton::Paint()
{
    TCanvas& canvas = *Canvas();
    const TRect client = ClientRect();
    TRect face = DrawPushButtonFace(canvas, client, Down(), Active());
    if (Down()) {
        face = OffsetRect(face, 1, 1);
    }
    canvas.Font()->Assign(Font());
    std::uint32_t format = DT_CENTER | (WordWrap() ? DT_WORDBREAK : DT_SINGLELINE | DT_VCENTER);
    if (WordWrap() && canvas.Handle() != nullptr) {
        TRect measured = face;
        canvas.RequireState();
        canvas.Handle()->DrawText(FText, measured, format | DT_CALCRECT);
        face.Top = SaturateInt(face.Top + (face.Height() - measured.Height()) / 2);
    }
    DrawCaption(canvas, FText, face, format, Enabled(), Font()->Color());
    if (Focused()) {
        canvas.Brush()->SetStyle(bsSolid);
        canvas.DrawFocusRect(InflateRect(client, -4, -4));
    }
}

} // namespace plat
