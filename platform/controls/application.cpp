// The application: the message loop with its pre-processing of keys, the
// control under the mouse and hints, exception handling, the title and the
// application window.
#include "platform/controls/application.h"

#include "platform/controls/control_canvas.h"
#include "platform/controls/screen.h"
#include "platform/controls/window_input.h"
#include "platform/controls/window_manager.h"
#include "platform/controls/window_paint.h"
#include "platform/dialogs.h"
#include "platform/timers.h"

#include <stdexcept>
#include <typeinfo>

namespace plat {

PLAT_DEFINE_CLASS(TApplication, TComponent)

TApplication* Application = nullptr;

namespace {

constexpr UINT_PTR HintPauseTimer = 1;
constexpr UINT_PTR HintHideTimer = 2;
// The hint shows this far below the pointer's hot spot.
constexpr int HintOffsetY = 20;

bool IsMouseMessage(UINT msg)
{
    return (msg >= WM_MOUSEMOVE && msg <= WM_MBUTTONDBLCLK) || (msg >= WM_NCMOUSEMOVE && msg <= WM_NCMBUTTONDBLCLK);
}

// The control that shows a hint for control: it or its nearest parent with ShowHint.
TControl* HintControlOf(TControl* control)
{
    TControl* each = control;
    while (each != nullptr && !each->ShowHint()) {
        each = each->Parent();
    }
    return each;
}

} // namespace

TApplication::TApplication(IHost& host)
    : TComponent(nullptr), FHost(host), FWindows(std::make_unique<TWindowManager>(FQueue, host)),
      FPrevious(Application)
{
    Application = this;
    FScreen = std::make_unique<TScreen>(nullptr);
    Screen = FScreen.get();
    TCreateParams params;
    params.Style = WS_POPUP;
    params.ExStyle = WS_EX_TOOLWINDOW;
    FHandle = CreateWindowEx(params, [this](HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) -> LRESULT {
        const LRESULT result = WndProc(msg, wParam, lParam);
        return result != 0 || msg == WM_TIMER ? result : DefWindowProc(hwnd, msg, wParam, lParam);
    });
}

TApplication::~TApplication()
{
    CancelHint();
    FHintWindow.reset();
    // The forms go while the window manager still runs.
    DestroyComponents();
    TControlCanvas::FreeDeviceContexts();
    DestroyWindow(FHandle);
    FScreen.reset();
    Screen = nullptr;
    FWindows.reset();
    Application = FPrevious;
}

void TApplication::SetTitle(const std::string& value)
{
    FTitle = value;
    SetWindowText(FHandle, value);
    FHost.SetApplicationTitle(value);
}

void TApplication::Run()
{
    if (FMainForm != nullptr && !FMainForm->Visible()) {
        FMainForm->Show();
    }
    while (!FTerminated) {
        HandleMessage();
    }
}

void TApplication::Terminate()
{
    if (!FTerminated) {
        FQueue.PostQuitMessage(0);
    }
}

void TApplication::ProcessMessages()
{
    TMsg msg;
    while (ProcessMessage(msg)) {
    }
}

void TApplication::HandleMessage()
{
    TMsg msg;
    if (!ProcessMessage(msg)) {
        Idle();
    }
}

bool TApplication::ProcessMessage(TMsg& msg)
{
    if (!FQueue.PeekMessage(msg)) {
        return false;
    }
    if (msg.message == WM_QUIT) {
        FTerminated = true;
        return true;
    }
    try {
        if (msg.message == WM_QUEUED_INPUT && !TranslateQueuedInput(msg)) {
            TControlCanvas::FreeDeviceContexts();
            return true;
        }
        IsHintMsg(msg);
        if (!IsKeyMsg(msg)) {
            TMessageQueue::DispatchMessage(msg);
            // The character of the key comes right after it, before its release.
            TMsg character;
            if (TranslateKeyMessage(msg, character) && IsWindow(character.hwnd) && !IsKeyMsg(character)) {
                TMessageQueue::DispatchMessage(character);
            }
        }
        if (IsMouseMessage(msg.message) || msg.message == WM_MOUSELEAVE) {
            AfterMouseMessage(msg);
        }
    } catch (...) {
        HandleException(this);
    }
    TControlCanvas::FreeDeviceContexts();
    return true;
}

bool TApplication::IsKeyMsg(const TMsg& msg)
{
    if (msg.message < WM_KEYDOWN || msg.message > WM_SYSCHAR) {
        return false;
    }
    HWND target = GetCapture();
    if (target == 0) {
        target = msg.hwnd;
        while (target != 0 && TWinControl::FindControl(target) == nullptr) {
            target = GetParent(target);
        }
        if (target == 0) {
            target = msg.hwnd;
        }
    } else if (TWinControl::FindControl(target) == nullptr) {
        return false;
    }
    return SendMessage(target, CN_BASE + msg.message, msg.wParam, msg.lParam) != 0;
}

void TApplication::IsHintMsg(const TMsg& msg)
{
    // A hint on the screen decides for itself which messages close it.
    const bool shown = FHintWindow && FHintWindow->Shown();
    if (shown ? FHintWindow->IsHintMsg(msg) : THintWindow::IsButtonOrKeyMessage(msg.message)) {
        CancelHint();
        FHintDone = true;
    }
}

TControl* TApplication::FindControlAt(TPoint screenPoint, bool allowDisabled)
{
    HWND window = WindowFromPoint(screenPoint);
    TWinControl* windowed = nullptr;
    while (window != 0 && (windowed = TWinControl::FindControl(window)) == nullptr) {
        window = GetParent(window);
    }
    if (windowed == nullptr) {
        return nullptr;
    }
    if (TControl* inside = windowed->ControlAtPos(windowed->ScreenToClient(screenPoint), allowDisabled)) {
        return inside;
    }
    return windowed;
}

void TApplication::AfterMouseMessage(const TMsg& msg)
{
    if (msg.message == WM_MOUSELEAVE) {
        UpdateMouseControl(nullptr);
        CancelHint();
        FHintControl = nullptr;
        return;
    }
    TPoint point;
    GetCursorPos(point);
    UpdateMouseControl(FindControlAt(point, false));
    if (msg.message == WM_MOUSEMOVE || msg.message == WM_NCMOUSEMOVE) {
        HintMouseMove();
    }
}

void TApplication::UpdateMouseControl(TControl* control)
{
    if (control == FMouseControl) {
        return;
    }
    // While a control holds the mouse, only it hears of entering and leaving.
    TControl* capture = GetCaptureControl();
    TControl* old = FMouseControl;
    const bool tellOld = old != nullptr && (capture == nullptr || old == capture);
    const bool tellNew = control != nullptr && (capture == nullptr || control == capture);
    const auto newLife = control != nullptr ? control->Life() : nullptr;
    FMouseControl = control;
    if (tellOld) {
        old->Perform(CM_MOUSELEAVE, 0, 0);
    }
    if (tellNew && newLife->Alive() && FMouseControl == control) {
        control->Perform(CM_MOUSEENTER, 0, 0);
    }
}

void TApplication::HintMouseMove()
{
    TControl* control = FShowHint ? HintControlOf(FMouseControl) : nullptr;
    TPoint point;
    GetCursorPos(point);
    if (control != FHintControl) {
        CancelHint();
        FHintControl = control;
        FHintDone = false;
        if (control == nullptr) {
            return;
        }
        int pause = FHintPause;
        control->Perform(CM_HINTSHOWPAUSE, 0, reinterpret_cast<LPARAM>(&pause));
        SetTimer(FHandle, HintPauseTimer, static_cast<UINT>(std::max(pause, 1)));
        return;
    }
    if (control == nullptr || FHintDone) {
        return;
    }
    if (FHintWindow && FHintWindow->Shown()) {
        if (!FHintCursorRect.Contains(point.X, point.Y)) {
            CancelHint();
            SetTimer(FHandle, HintPauseTimer, static_cast<UINT>(std::max(FHintShortPause, 1)));
        }
        return;
    }
    // The pause counts from the last move: the pointer must rest.
    SetTimer(FHandle, HintPauseTimer, static_cast<UINT>(std::max(FHintPause, 1)));
}

void TApplication::ActivateHint(TPoint cursorPos)
{
    KillTimer(FHandle, HintPauseTimer);
    TControl* control = FHintControl;
    if (control == nullptr || !FShowHint) {
        return;
    }
    THintInfo info;
    info.HintControl = control;
    info.HintWindowClass = HintWindowClass;
    info.HintPos = Point(cursorPos.X, cursorPos.Y + HintOffsetY);
    info.HintMaxWidth = Screen != nullptr ? Screen->Width() : 0;
    info.HintColor = FHintColor;
    info.CursorRect = control->ClientRect();
    info.CursorPos = control->ScreenToClient(cursorPos);
    info.HideTimeout = FHintHidePause;
    info.HintStr = GetShortHint(control->Hint());
    const auto life = control->Life();
    const bool show = control->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info)) == 0;
    if (!life->Alive() || !show || info.HintStr.empty()) {
        FHintDone = life->Alive();
        return;
    }
    const TPoint rectOrigin = control->ClientToScreen(Point(info.CursorRect.Left, info.CursorRect.Top));
    FHintCursorRect = OffsetRect(info.CursorRect, Minus(rectOrigin.X, info.CursorRect.Left), Minus(rectOrigin.Y, info.CursorRect.Top));
    // The window is made again when the control asks for another class.
    THintWindow* wanted = info.HintWindowClass ? info.HintWindowClass(nullptr) : nullptr;
    if (wanted != nullptr) {
        if (FHintWindow && typeid(*FHintWindow) == typeid(*wanted)) {
            delete wanted;
        } else {
            FHintWindow.reset(wanted);
        }
    } else if (!FHintWindow || typeid(*FHintWindow) != typeid(THintWindow)) {
        FHintWindow.reset(new THintWindow(nullptr));
    }
    FHintWindow->SetColor(info.HintColor);
    TRect rect = FHintWindow->CalcHintRect(info.HintMaxWidth, info.HintStr, info.HintData);
    rect = OffsetRect(rect, info.HintPos.X, info.HintPos.Y);
    FHintWindow->ActivateHintData(rect, info.HintStr, info.HintData);
    if (info.HideTimeout > 0) {
        SetTimer(FHandle, HintHideTimer, static_cast<UINT>(info.HideTimeout));
    }
}

THintWindow* TApplication::HintWindow() const
{
    return FHintWindow && FHintWindow->Shown() ? FHintWindow.get() : nullptr;
}

void TApplication::CancelHint()
{
    KillTimer(FHandle, HintPauseTimer);
    KillTimer(FHandle, HintHideTimer);
    if (FHintWindow) {
        FHintWindow->ReleaseHandle();
    }
}

void TApplication::SetShowHint(bool value)
{
    FShowHint = value;
    if (!value) {
        CancelHint();
    }
}

void TApplication::HintTimerExpired()
{
    TPoint point;
    GetCursorPos(point);
    ActivateHint(point);
}

void TApplication::HideTimerExpired()
{
    CancelHint();
    FHintDone = true;
}

LRESULT TApplication::WndProc(UINT msg, WPARAM wParam, LPARAM)
{
    if (msg == WM_TIMER) {
        try {
            if (wParam == HintPauseTimer) {
                HintTimerExpired();
            } else if (wParam == HintHideTimer) {
                HideTimerExpired();
            }
        } catch (...) {
            HandleException(this);
        }
    }
    return 0;
}

void TApplication::Idle()
{
    TControlCanvas::FreeDeviceContexts();
    bool done = true;
    try {
        OnIdle(this, done);
    } catch (...) {
        HandleException(this);
    }
    if (FTerminated || !done) {
        return;
    }
    FHost.WaitForWork(FQueue);
}

void TApplication::HandleException(TObject* sender)
{
    const std::exception_ptr error = std::current_exception();
    if (!error) {
        return;
    }
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        if (OnException) {
            OnException(sender, e);
        } else {
            ShowException(e);
        }
    } catch (...) {
        const std::runtime_error unknown("Unknown exception");
        if (OnException) {
            OnException(sender, unknown);
        } else {
            ShowException(unknown);
        }
    }
}

void TApplication::ShowException(const std::exception& error)
{
    std::string text = error.what();
    if (!text.empty() && text.back() != '.') {
        text += '.';
    }
    CurrentDialogs().MessageBox(text, FTitle, mtError, {mbOK}, mbOK);
}

bool TApplication::Active() const
{
    return GetActiveWindow() != 0;
}

void TApplication::Minimize()
{
    FMinimized = true;
    for (HWND top : TopLevelWindows()) {
        if (top != FHandle && IsWindowVisible(top)) {
            FHost.ShowHostWindow(top, false);
        }
    }
}

void TApplication::Restore()
{
    if (!FMinimized) {
        return;
    }
    FMinimized = false;
    for (HWND top : TopLevelWindows()) {
        if (top != FHandle && IsWindowVisible(top)) {
            FHost.ShowHostWindow(top, true);
        }
    }
}

void TApplication::BringToFront()
{
    TCustomForm* form = Screen != nullptr && Screen->ActiveForm() != nullptr ? Screen->ActiveForm() : FMainForm;
    if (form != nullptr && form->HandleAllocated() && form->Visible()) {
        SetForegroundWindow(form->Handle());
    }
}

void TApplication::ControlDestroyed(TControl* control)
{
    if (FMouseControl == control) {
        FMouseControl = nullptr;
    }
    if (FHintControl == control) {
        CancelHint();
        FHintControl = nullptr;
    }
}

void TApplication::MainFormDestroyed()
{
    FMainForm = nullptr;
}

} // namespace plat
