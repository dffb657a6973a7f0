// The hint window: a framed popup with the hint text in the info colours.
#include "platform/controls/hint_window.h"

#include "platform/canvas/gdi_constants.h"
#include "platform/controls/window_input.h"

namespace plat {

PLAT_DEFINE_CLASS(THintWindow, TCustomControl)

namespace {

constexpr int HintMargin = 2;
constexpr int DefaultHintMaxWidth = 300;

} // namespace

THintWindow::THintWindow(TComponent* owner) : TCustomControl(owner)
{
    FVisible = false;
    FColor = clInfoBk;
    FBrush->SetColor(FColor);
    FFont->SetColor(clInfoText);
    FParentFont = false;
}

void THintWindow::CreateParams(TCreateParams& params)
{
    TopLevelParams(params);
    params.Style = WS_POPUP | WS_BORDER;
    params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
    params.ClassStyle = CS_SAVEBITS;
}

TRect THintWindow::CalcHintRect(int maxWidth, const std::string& hint, void*)
{
    if (maxWidth <= 0) {
        maxWidth = DefaultHintMaxWidth;
    }
    TRect rect = Rect(0, 0, maxWidth, 0);
    TCanvas* canvas = Canvas();
    canvas->Font()->Assign(Font());
    canvas->RequireState();
    if (canvas->Handle() != nullptr) {
        canvas->Handle()->DrawText(hint, rect, DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
    }
    rect.Right += 2 * (HintMargin + 1) + 2;
    rect.Bottom += 2 * (HintMargin + 1);
    return rect;
}

void THintWindow::ActivateHint(const TRect& rect, const std::string& hint)
{
    ActivateHintData(rect, hint, nullptr);
}

void THintWindow::ActivateHintData(const TRect& rect, const std::string& hint, void*)
{
    SetText(hint);
    SetBounds(rect.Left, rect.Top, static_cast<int>(rect.Width()), static_cast<int>(rect.Height()));
    ShowWindow(Handle(), SW_SHOWNOACTIVATE);
    Invalidate();
}

bool THintWindow::IsHintMsg(const TMsg& msg)
{
    return IsButtonOrKeyMessage(msg.message);
}

bool THintWindow::IsButtonOrKeyMessage(UINT message)
{
    switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
    case WM_MOUSEWHEEL:
        return true;
    default:
        return false;
    }
}

void THintWindow::ReleaseHandle()
{
    if (HandleAllocated()) {
        ShowWindow(FHandle, SW_HIDE);
    }
}

bool THintWindow::Shown() const
{
    return FHandle != 0 && IsWindowVisible(FHandle);
}

void THintWindow::Paint()
{
    TCanvas* canvas = Canvas();
    TRect rect = ClientRect();
    canvas->Brush()->SetColor(FColor);
    canvas->FillRect(rect);
    canvas->Font()->Assign(Font());
    canvas->Brush()->SetStyle(bsClear);
    canvas->RequireState();
    rect = InflateRect(rect, -HintMargin, -HintMargin);
    rect.Left += 1;
    canvas->Handle()->DrawText(FText, rect, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
}

std::string GetShortHint(const std::string& hint)
{
    const auto bar = hint.find('|');
    return bar == std::string::npos ? hint : hint.substr(0, bar);
}

} // namespace plat
