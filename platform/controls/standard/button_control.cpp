// TButtonControl: holding a button down by mouse or Space and pressing it
// on release, and pressing it by its accelerator.
#include "platform/controls/standard/button_control.h"

#include "platform/canvas/control_drawing.h"
#include "platform/canvas/gdi_constants.h"

#include "platform/controls/standard/mouse_actions.h"
#include "platform/controls/standard/standard_drawing.h"
#include "platform/controls/virtual_keys.h"
#include "platform/controls/window_input.h"

namespace plat {

PLAT_DEFINE_CLASS(TButtonControl, TCustomControl,
    Published("TabStop", &TButtonControl::TabStop, &TButtonControl::SetTabStop).Default(true),
    Published("WordWrap", &TButtonControl::WordWrap, &TButtonControl::SetWordWrap).Default(false))

PLAT_BEGIN_MESSAGES(TButtonControl, TCustomControl)
    PLAT_MESSAGE(WM_KEYDOWN, WMKeyDown)
    PLAT_MESSAGE(WM_KEYUP, WMKeyUp)
    PLAT_MESSAGE(WM_SETFOCUS, WMSetFocus)
    PLAT_MESSAGE(WM_KILLFOCUS, WMKillFocus)
    PLAT_MESSAGE(WM_GETDLGCODE, WMGetDlgCode)
    PLAT_MESSAGE(WM_CANCELMODE, WMCancelMode)
    PLAT_MESSAGE(CM_DIALOGCHAR, CMDialogChar)
    PLAT_MESSAGE(CM_TEXTCHANGED, CMTextChanged)
    PLAT_MESSAGE(CM_ENABLEDCHANGED, CMEnabledChanged)
PLAT_END_MESSAGES

TButtonControl::TButtonControl(TComponent* owner) : TCustomControl(owner)
{
    // Presses are counted here; a quick second press is a press, not a double click.
    FControlStyle -= TControlStyle{csClickEvents, csDoubleClicks, csAcceptsControls};
    FTabStop = true;
}

void TButtonControl::SetWordWrap(bool value)
{
    if (value != FWordWrap) {
        FWordWrap = value;
        Invalidate();
    }
}

void TButtonControl::SetDown(bool value)
{
    if (value != FDown) {
        FDown = value;
        Invalidate();
    }
}

void TButtonControl::PaintGlyphAndCaption(std::uint32_t glyphState, bool glyphOnLeft)
{
    // Glyph and caption are 4 pixels apart; the focus frame keeps 1 around the text.
    constexpr int Gap = 4;
    TCanvas& canvas = *Canvas();
    const TRect client = ClientRect();
    canvas.Brush()->SetStyle(bsSolid);
    canvas.Brush()->SetColor(FColor);
    canvas.FillRect(client);
    canvas.Font()->Assign(Font());
    canvas.RequireState();
    if (canvas.Handle() == nullptr) {
        return;
    }
    const int glyphTop = static_cast<int>(client.Top + (client.Height() - GlyphSize) / 2);
    const int glyphLeft = glyphOnLeft ? client.Left : Minus(client.Right, GlyphSize);
    if (!Enabled()) {
        glyphState |= DFCS_INACTIVE;
    }
    if (FDown) {
        glyphState |= DFCS_PUSHED;
    }
    canvas.Handle()->DrawFrameControl(Bounds(glyphLeft, glyphTop, GlyphSize, GlyphSize), DFC_BUTTON, glyphState);

    TRect area = client;
    if (glyphOnLeft) {
        area.Left = Plus(glyphLeft, GlyphSize + Gap);
    } else {
        area.Right = Minus(glyphLeft, Gap);
    }
    const std::uint32_t format = (FWordWrap ? DT_WORDBREAK : DT_SINGLELINE) | (glyphOnLeft ? DT_LEFT : DT_RIGHT);
    TRect text = area;
    canvas.Handle()->DrawText(FText.empty() ? std::string(" ") : FText, text, format | DT_CALCRECT);
    text = OffsetRect(text, glyphOnLeft ? 0 : SaturateInt(area.Right - text.Right),
                      SaturateInt((area.Height() - text.Height()) / 2));
    DrawCaption(canvas, FText, text, format, Enabled(), Font()->Color());
    if (Focused()) {
        canvas.Brush()->SetStyle(bsSolid);
        canvas.DrawFocusRect(InflateRect(Rect(text.Left, text.Top, text.Right, text.Bottom), 1, 1));
    }
}

void TButtonControl::Release()
{
    FMouseHeld = false;
    FSpaceHeld = false;
    SetDown(false);
}

void TButtonControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (button == mbLeft) {
        if (!TakeFocusForPress(*this)) {
            return;
        }
        // A handler of the focus change may have taken the focus elsewhere.
        if (Focused()) {
            FMouseHeld = true;
            SetDown(true);
        }
    }
    TCustomControl::MouseDown(button, shift, x, y);
}

void TButtonControl::MouseMove(TShiftState shift, int x, int y)
{
    if (FMouseHeld) {
        SetDown(ClientRect().Contains(x, y));
    }
    TCustomControl::MouseMove(shift, x, y);
}

void TButtonControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (button == mbLeft && FMouseHeld) {
        const bool pressed = FDown;
        Release();
        if (pressed) {
            const auto life = Life();
            Pressed();
            if (!life->Alive()) {
                return;
            }
        }
    }
    TCustomControl::MouseUp(button, shift, x, y);
}

void TButtonControl::WMKeyDown(TMessage& message)
{
    if (DoKeyDown(message)) {
        return;
    }
    if (message.WParam == VK_SPACE && GetKeyState(VK_MENU) >= 0 && !FMouseHeld) {
        FSpaceHeld = true;
        SetDown(true);
        return;
    }
    DefaultHandler(message);
}

void TButtonControl::WMKeyUp(TMessage& message)
{
    if (DoKeyUp(message)) {
        return;
    }
    if (message.WParam == VK_SPACE && FSpaceHeld) {
        Release();
        Pressed();
        return;
    }
    DefaultHandler(message);
}

void TButtonControl::WMSetFocus(TMessage& message)
{
    Inherited(message);
    Invalidate();
}

void TButtonControl::WMKillFocus(TMessage& message)
{
    Release();
    Invalidate();
    Inherited(message);
}

void TButtonControl::WMGetDlgCode(TMessage& message)
{
    message.Result = DLGC_BUTTON;
}

void TButtonControl::WMCancelMode(TMessage& message)
{
    Release();
    Inherited(message);
}

void TButtonControl::CMDialogChar(TMessage& message)
{
    if (!IsAccelerator(static_cast<char16_t>(message.WParam), FText) || !CanFocus()) {
        return;
    }
    const auto life = Life();
    SetFocus();
    if (life->Alive() && Focused()) {
        Pressed();
    }
    message.Result = 1;
}

void TButtonControl::CMTextChanged(TMessage& message)
{
    Inherited(message);
    Invalidate();
}

void TButtonControl::CMEnabledChanged(TMessage& message)
{
    Release();
    Inherited(message);
    Invalidate();
}

} // namespace plat
