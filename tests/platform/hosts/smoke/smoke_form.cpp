// The smoke-test form: button, edit and toggle painted by the canvas.
#include "tests/platform/hosts/smoke/smoke_form.h"

#include "platform/canvas/gdi_constants.h"
#include "platform/controls/caret.h"
#include "platform/controls/clipboard.h"
#include "platform/controls/virtual_keys.h"
#include "platform/controls/window_input.h"
#include "platform/text_encoding.h"

#include <cstdio>

namespace plat::smoke {

PLAT_DEFINE_CLASS(TSmokeFocusable, TCustomControl)
PLAT_DEFINE_CLASS(TSmokeButton, TSmokeFocusable)
PLAT_DEFINE_CLASS(TSmokeEdit, TSmokeFocusable)
PLAT_DEFINE_CLASS(TSmokeToggle, TSmokeFocusable)
PLAT_DEFINE_CLASS(TSmokeForm, TForm)

namespace {

// The caret must not blink while a capture is taken.
constexpr unsigned SteadyCaretMs = 1u << 30;

void PaintFrame(TCanvas& canvas, const TRect& rect, bool focused)
{
    canvas.Brush()->SetColor(focused ? clHighlight : clBtnShadow);
    canvas.FrameRect(rect);
}

} // namespace

TSmokeFocusable::TSmokeFocusable(TComponent* owner) : TCustomControl(owner)
{
    SetTabStop(true);
}

void TSmokeFocusable::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_LBUTTONDOWN:
        if (CanFocus()) {
            SetFocus();
        }
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        Invalidate();
        break;
    default:
        break;
    }
    TCustomControl::WndProc(message);
}

TSmokeButton::TSmokeButton(TComponent* owner) : TSmokeFocusable(owner)
{
    SetCaption("&Copy");
}

void TSmokeButton::Click()
{
    ++Clicks;
    SetClipboardText(CopiedText(*static_cast<TSmokeForm*>(Owner())));
    Invalidate();
    TSmokeFocusable::Click();
}

void TSmokeButton::Paint()
{
    TCanvas& canvas = *Canvas();
    TRect rect = ClientRect();
    canvas.Brush()->SetColor(clBtnFace);
    canvas.FillRect(rect);
    canvas.RequireState();
    canvas.Handle()->DrawEdge(rect, EDGE_RAISED, BF_RECT);
    canvas.Font()->Assign(Font());
    canvas.Brush()->SetStyle(bsClear);
    canvas.RequireState();
    TRect text = ClientRect();
    const std::string caption = Caption() + " " + std::to_string(Clicks);
    canvas.Handle()->DrawText(caption, text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (Focused()) {
        canvas.DrawFocusRect(InflateRect(ClientRect(), -4, -4));
    }
}

TSmokeEdit::TSmokeEdit(TComponent* owner) : TSmokeFocusable(owner)
{
    FColor = clWindow;
    FBrush->SetColor(FColor);
    FCursor = crIBeam;
}

void TSmokeEdit::CreateParams(TCreateParams& params)
{
    TSmokeFocusable::CreateParams(params);
    params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TSmokeEdit::PlaceCaret()
{
    TCanvas& canvas = *Canvas();
    canvas.Font()->Assign(Font());
    const int width = canvas.TextWidth(Utf16ToUtf8(FTyped));
    SetCaretPos(3 + width, 3);
}

void TSmokeEdit::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_GETDLGCODE:
        message.Result = DLGC_WANTCHARS | DLGC_WANTARROWS;
        return;
    case WM_SETFOCUS:
        CreateCaret(Handle(), 1, 15);
        SetCaretBlinkTime(SteadyCaretMs);
        PlaceCaret();
        ShowCaret(Handle());
        break;
    case WM_KILLFOCUS:
        DestroyCaret();
        break;
    case WM_CHAR: {
        const auto unit = static_cast<char16_t>(message.WParam);
        Units.push_back(unit);
        if (unit >= 32) {
            FTyped.push_back(unit);
            SetText(Utf16ToUtf8(FTyped));
            Invalidate();
            if (Focused()) {
                PlaceCaret();
            }
        }
        return;
    }
    default:
        break;
    }
    TSmokeFocusable::WndProc(message);
}

void TSmokeEdit::Paint()
{
    TCanvas& canvas = *Canvas();
    canvas.Brush()->SetColor(Color());
    canvas.FillRect(ClientRect());
    canvas.Font()->Assign(Font());
    canvas.Brush()->SetStyle(bsClear);
    canvas.TextOut(3, 3, Text());
}

TSmokeToggle::TSmokeToggle(TComponent* owner) : TSmokeFocusable(owner) {}

void TSmokeToggle::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_GETDLGCODE:
        message.Result = DLGC_WANTCHARS;
        return;
    case WM_CHAR:
        if (message.WParam == ' ') {
            Checked = !Checked;
            Invalidate();
        }
        return;
    default:
        break;
    }
    TSmokeFocusable::WndProc(message);
}

void TSmokeToggle::Paint()
{
    TCanvas& canvas = *Canvas();
    canvas.Brush()->SetColor(clBtnFace);
    canvas.FillRect(ClientRect());
    const TRect box = Rect(2, 4, 15, 17);
    canvas.RequireState();
    canvas.Handle()->DrawFrameControl(box, DFC_BUTTON, DFCS_BUTTONCHECK | (Checked ? DFCS_CHECKED : 0u));
    canvas.Font()->Assign(Font());
    canvas.Brush()->SetStyle(bsClear);
    canvas.TextOut(20, 3, Checked ? "on" : "off");
    PaintFrame(canvas, ClientRect(), Focused());
}

TSmokeForm::TSmokeForm(TComponent* owner) : TForm(owner)
{
    SetName("SmokeForm");
    SetCaption("QEL smoke");
    SetBorderStyle(bsSingle);
    SetBounds(40, 40, 320, 120);
    Button = new TSmokeButton(this);
    Button->SetName("SmokeButton");
    Button->SetBounds(10, 10, 96, 28);
    Button->SetParent(this);
    Edit = new TSmokeEdit(this);
    Edit->SetName("SmokeEdit");
    Edit->SetBounds(120, 10, 180, 24);
    Edit->SetParent(this);
    Toggle = new TSmokeToggle(this);
    Toggle->SetName("SmokeToggle");
    Toggle->SetBounds(120, 50, 100, 22);
    Toggle->SetParent(this);
    // Tab leads from the button to the toggle.
    Button->SetTabOrder(0);
    Toggle->SetTabOrder(1);
    Edit->SetTabOrder(2);
}

std::string TSmokeForm::Report() const
{
    std::string report = "clicks " + std::to_string(Button->Clicks) + "\nunits";
    for (std::uint16_t unit : Edit->Units) {
        char hex[8];
        std::snprintf(hex, sizeof hex, " %X", unit);
        report += hex;
    }
    report += std::string("\ntoggle ") + (Toggle->Checked ? "on" : "off") + "\n";
    return report;
}

std::string CopiedText(const TSmokeForm& form)
{
    return "smoke text: " + form.Edit->Text();
}

} // namespace plat::smoke
