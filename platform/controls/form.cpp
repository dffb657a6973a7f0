// Forms: top-level windows with caption and border style, focus handling
// for their controls, dialog keys, showing, closing and modal loops; frames.
#include "platform/controls/form.h"

#include "platform/controls/application.h"
#include "platform/controls/screen.h"
#include "platform/controls/window_input.h"
#include "platform/controls/window_paint.h"

#include <algorithm>

namespace plat {

PLAT_DEFINE_CLASS(TCustomForm, TWinControl,
    Published("BorderStyle", &TCustomForm::BorderStyle, &TCustomForm::SetBorderStyle,
              {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"})
        .Default(bsSizeable),
    Published("KeyPreview", &TCustomForm::KeyPreview, &TCustomForm::SetKeyPreview).Default(false),
    Published("Position", &TCustomForm::Position, &TCustomForm::SetPosition,
              {"poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly", "poScreenCenter",
               "poDesktopCenter", "poMainFormCenter", "poOwnerFormCenter"})
        .Default(poDesigned))
PLAT_DEFINE_CLASS(TForm, TCustomForm)
PLAT_DEFINE_CLASS(TCustomFrame, TWinControl)
PLAT_DEFINE_CLASS(TFrame, TCustomFrame)

PLAT_BEGIN_MESSAGES(TCustomForm, TWinControl)
    PLAT_MESSAGE(WM_CLOSE, WMClose)
    PLAT_MESSAGE(WM_ACTIVATE, WMActivate)
    PLAT_MESSAGE(WM_SETFOCUS, WMSetFocus)
    PLAT_MESSAGE(CM_ACTIVATE, CMActivate)
    PLAT_MESSAGE(CM_DEACTIVATE, CMDeactivate)
    PLAT_MESSAGE(CM_RELEASE, CMRelease)
    PLAT_MESSAGE(CM_SHOWINGCHANGED, CMShowingChanged)
    PLAT_MESSAGE(CM_DIALOGKEY, CMDialogKey)
    PLAT_MESSAGE(WM_NEXTDLGCTL, WMNextDlgCtl)
PLAT_END_MESSAGES

std::vector<HWND> DisableTaskWindows(HWND modal)
{
    std::vector<HWND> disabled;
    for (HWND top : TopLevelWindows()) {
        if (top != modal && IsWindowVisible(top) && IsWindowEnabled(top)) {
            EnableWindow(top, false);
            disabled.push_back(top);
        }
    }
    return disabled;
}

void EnableTaskWindows(const std::vector<HWND>& windows)
{
    for (HWND top : windows) {
        if (IsWindow(top)) {
            EnableWindow(top, true);
        }
    }
}

namespace {

// The components a form or frame owns that no control holds: streamed as
// its children when it is the root being written.
void StreamParentlessComponents(const TComponent& container, const TGetChildProc& proc, TComponent* root)
{
    if (root != &container) {
        return;
    }
    for (int i = 0; i < container.ComponentCount(); ++i) {
        TComponent* owned = container.Components(i);
        if (owned->GetParentComponent() == nullptr) {
            proc(owned);
        }
    }
}

} // namespace

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner), FCanvas(std::make_unique<TControlCanvas>(this))
{
    FControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    FVisible = false;
    FParentFont = false;
    FColor = clBtnFace;
    FBrush->SetColor(FColor);
    FLeft = 0;
    FTop = 0;
    FWidth = 320;
    FHeight = 240;
    if (Screen != nullptr) {
        Screen->AddForm(this);
    }
}

TCustomForm::~TCustomForm()
{
    const auto life = Life();
    OnDestroy(this);
    if (Screen != nullptr) {
        Screen->RemoveForm(this);
    }
    if (Application != nullptr && Application->MainForm() == this) {
        Application->MainFormDestroyed();
    }
}

void TCustomForm::GetChildren(const TGetChildProc& proc, TComponent* root)
{
    TWinControl::GetChildren(proc, root);
    StreamParentlessComponents(*this, proc, root);
}

void TCustomForm::DoCreate()
{
    OnCreate(this);
}

void TCustomForm::SetBorderStyle(TFormBorderStyle value)
{
    if (value == FBorderStyle) {
        return;
    }
    FBorderStyle = value;
    RecreateWnd();
}

void TCustomForm::CreateParams(TCreateParams& params)
{
    TopLevelParams(params);
    params.Style = WS_CLIPCHILDREN;
    switch (FBorderStyle) {
    case bsNone:
        params.Style |= WS_POPUP;
        break;
    case bsSingle:
    case bsToolWindow:
        params.Style |= WS_CAPTION | WS_SYSMENU;
        break;
    case bsDialog:
        params.Style |= WS_POPUP | WS_CAPTION | WS_SYSMENU;
        params.ExStyle |= WS_EX_DLGMODALFRAME;
        break;
    case bsSizeable:
    case bsSizeToolWin:
        params.Style |= WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
        break;
    }
    if (FBorderStyle == bsToolWindow || FBorderStyle == bsSizeToolWin) {
        params.ExStyle |= WS_EX_TOOLWINDOW;
    }
    if (!FEnabled) {
        params.Style |= WS_DISABLED;
    }
    if (Application != nullptr && Application->MainForm() != nullptr && Application->MainForm() != this &&
        Application->MainForm()->HandleAllocated()) {
        params.WndParent = Application->MainForm()->Handle();
    }
}

TCanvas* TCustomForm::Canvas()
{
    FCanvas->EnsureHandle();
    return FCanvas.get();
}

void TCustomForm::PaintWindow(HDC dc)
{
    TControlCanvas::TPaintScope painting(*FCanvas, dc);
    Paint();
}

void TCustomForm::Paint()
{
    OnPaint(this);
}

void TCustomForm::Show()
{
    SetVisible(true);
    BringToFront();
}

void TCustomForm::ApplyPosition()
{
    TRect area = Screen != nullptr ? Screen->WorkAreaRect() : TRect{};
    const TCustomForm* center = nullptr;
    switch (FPosition) {
    case poScreenCenter:
    case poDesktopCenter:
        break;
    case poMainFormCenter:
        center = Application != nullptr ? Application->MainForm() : nullptr;
        break;
    case poOwnerFormCenter:
        center = dynamic_cast<const TCustomForm*>(Owner());
        break;
    default:
        return;
    }
    if (center != nullptr && center != this && center->Visible()) {
        area = center->BoundsRect();
    }
    const int left = static_cast<int>(area.Left + (area.Width() - FWidth) / 2);
    const int top = static_cast<int>(area.Top + (area.Height() - FHeight) / 2);
    SetBounds(std::max(left, static_cast<int>(Screen ? Screen->WorkAreaRect().Left : 0)),
              std::max(top, static_cast<int>(Screen ? Screen->WorkAreaRect().Top : 0)), FWidth, FHeight);
}

void TCustomForm::CMShowingChanged(TMessage&)
{
    const auto life = Life();
    if (FShowing) {
        if (!FFormState.Contains(fsActivated)) {
            ApplyPosition();
            FFormState.Include(fsActivated);
        }
        FFormState.Include(fsShowing);
        DoShow();
        if (!life->Alive()) {
            return;
        }
        FFormState.Exclude(fsShowing);
        if (FHandle != 0) {
            ShowWindow(FHandle, SW_SHOW);
        }
    } else {
        DoHide();
        if (life->Alive() && FHandle != 0) {
            ShowWindow(FHandle, SW_HIDE);
        }
    }
}

void TCustomForm::DoShow()
{
    OnShow(this);
}

void TCustomForm::DoHide()
{
    OnHide(this);
}

void TCustomForm::DoClose(TCloseAction& action)
{
    OnClose(this, action);
}

bool TCustomForm::CloseQuery()
{
    bool canClose = true;
    OnCloseQuery(this, canClose);
    return canClose;
}

void TCustomForm::Close()
{
    if (FFormState.Contains(fsModal)) {
        FModalResult = mrCancel;
        return;
    }
    const auto life = Life();
    if (!CloseQuery() || !life->Alive()) {
        return;
    }
    TCloseAction action = caHide;
    DoClose(action);
    if (!life->Alive() || action == caNone) {
        return;
    }
    if (Application != nullptr && Application->MainForm() == this) {
        Application->Terminate();
    } else if (action == caHide || action == caMinimize) {
        Hide();
    } else {
        Release();
    }
}

void TCustomForm::CloseModal()
{
    const auto life = Life();
    TCloseAction action = caNone;
    if (CloseQuery() && life->Alive()) {
        action = caHide;
        DoClose(action);
    }
    if (!life->Alive()) {
        return;
    }
    switch (action) {
    case caNone:
        FModalResult = mrNone;
        break;
    case caFree:
        Release();
        break;
    default:
        break;
    }
}

TModalResult TCustomForm::ShowModal()
{
    if (Visible() || !Enabled() || FFormState.Contains(fsModal)) {
        throw EInvalidOperation("Cannot make a visible window modal");
    }
    if (Application == nullptr) {
        throw EInvalidOperation("No application runs");
    }
    if (const HWND capture = GetCapture()) {
        SendMessage(capture, WM_CANCELMODE, 0, 0);
    }
    ReleaseCapture();
    const auto life = Life();
    FFormState.Include(fsModal);
    const HWND activeBefore = GetActiveWindow();
    TApplication& application = *Application;
    application.ModalStarted();
    const std::vector<HWND> disabled = DisableTaskWindows(Handle());
    const auto restore = [&] {
        EnableTaskWindows(disabled);
        if (life->Alive()) {
            FFormState.Exclude(fsModal);
            if (Visible()) {
                Hide();
            }
        }
        if (activeBefore != 0 && IsWindow(activeBefore) && IsWindowVisible(activeBefore)) {
            SetActiveWindow(activeBefore);
        }
        application.ModalFinished();
    };
    TModalResult result = mrCancel;
    try {
        Show();
        if (life->Alive()) {
            FModalResult = mrNone;
        }
        while (life->Alive() && FModalResult == mrNone) {
            application.HandleMessage();
            if (!life->Alive()) {
                break;
            }
            if (application.Terminated()) {
                FModalResult = mrCancel;
            } else if (FModalResult != mrNone) {
                CloseModal();
            }
        }
        if (life->Alive()) {
            result = FModalResult;
        }
    } catch (...) {
        restore();
        throw;
    }
    restore();
    return result;
}

void TCustomForm::Release()
{
    PostMessage(Handle(), CM_RELEASE, 0, 0);
}

void TCustomForm::SetActiveControl(TWinControl* control)
{
    if (control == FActiveControl) {
        return;
    }
    if (control != nullptr &&
        (control == this || GetParentForm(control) != this ||
         (!ComponentState().Contains(csLoading) && !control->CanFocus()))) {
        throw EInvalidOperation("Cannot focus a disabled or invisible window");
    }
    FActiveControl = control;
    if (!ComponentState().Contains(csLoading) && FActive) {
        SetWindowFocus();
    }
}

void TCustomForm::SetWindowFocus()
{
    HWND target = 0;
    if (FActiveControl != nullptr && !FFormState.Contains(fsShowing)) {
        target = FActiveControl->Handle();
    } else if (HandleAllocated()) {
        target = FHandle;
    }
    if (target != 0) {
        plat::SetFocus(target);
    }
}

void TCustomForm::FocusControl(TWinControl* control)
{
    const bool wasActive = FActive;
    if (control != nullptr && control != this && !control->CanFocus()) {
        throw EInvalidOperation("Cannot focus a disabled or invisible window");
    }
    if (control == this) {
        control = nullptr;
    }
    if (control == FActiveControl && FActive) {
        SetWindowFocus();
        return;
    }
    SetActiveControl(control);
    if (!wasActive) {
        SetFocus();
    }
}

void TCustomForm::SetFocus()
{
    if (!FActive) {
        if (!Visible() || !Enabled()) {
            throw EInvalidOperation("Cannot focus a disabled or invisible window");
        }
        SetActiveWindow(Handle());
        if (!FActive) {
            SetWindowFocus();
        }
    } else {
        SetWindowFocus();
    }
}

bool TCustomForm::SetFocusedControl(TWinControl* control)
{
    const auto life = control->Life();
    const auto formLife = Life();
    FActiveControl = control != this ? control : nullptr;
    if (Screen != nullptr) {
        Screen->SetFocusedState(control, this);
    }
    if (control->ControlState().Contains(csFocusing)) {
        return true;
    }
    control->SetControlState(control->ControlState() + TControlState{csFocusing});
    const auto done = [&] {
        if (life->Alive()) {
            control->SetControlState(control->ControlState() - TControlState{csFocusing});
        }
    };
    // A message sent on the way may free or move things; every step checks.
    const auto send = [&](TWinControl* target, UINT msg) {
        target->Perform(msg, 0, 0);
        return life->Alive() && formLife->Alive() && FActiveControl == (control != this ? control : nullptr);
    };
    if (Screen != nullptr && Screen->FocusedForm() != this) {
        TCustomForm* previous = Screen->FocusedForm();
        Screen->SetFocusedForm(this);
        if (previous != nullptr && !send(previous, CM_DEACTIVATE)) {
            done();
            return false;
        }
        if (!send(this, CM_ACTIVATE)) {
            done();
            return false;
        }
    }
    if (FFocusedControl == nullptr) {
        FFocusedControl = this;
    }
    while (FFocusedControl != control && FFocusedControl != nullptr && !FFocusedControl->ContainsControl(control)) {
        TWinControl* leaving = FFocusedControl;
        FFocusedControl = FFocusedControl->Parent();
        if (!send(leaving, CM_EXIT)) {
            done();
            return false;
        }
    }
    while (FFocusedControl != control) {
        TWinControl* entering = control;
        while (entering->Parent() != FFocusedControl) {
            entering = entering->Parent();
        }
        FFocusedControl = entering;
        if (!send(entering, CM_ENTER)) {
            done();
            return false;
        }
    }
    Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(control));
    done();
    return true;
}

void TCustomForm::DefocusControl(TWinControl* control, bool removing)
{
    if (removing && control->ContainsControl(FFocusedControl)) {
        FFocusedControl = control->Parent();
    }
    if (control->ContainsControl(FActiveControl)) {
        SetActiveControl(nullptr);
    }
}

void TCustomForm::SendCancelMode(TControl* sender)
{
    if (FActive && FActiveControl != nullptr) {
        FActiveControl->Perform(CM_CANCELMODE, 0, reinterpret_cast<LPARAM>(sender));
    }
}

void TCustomForm::SetActive(bool value)
{
    FActive = value;
    if (!value) {
        return;
    }
    if (FActiveControl == nullptr) {
        FActiveControl = FindNextControl(nullptr, true, true, false);
    }
    SetWindowFocus();
}

void TCustomForm::Activate()
{
    OnActivate(this);
}

void TCustomForm::Deactivate()
{
    OnDeactivate(this);
}

void TCustomForm::WMClose(TMessage&)
{
    Close();
}

void TCustomForm::WMActivate(TMessage& message)
{
    SetActive(LOWORD(message.WParam) != WA_INACTIVE);
}

void TCustomForm::WMSetFocus(TMessage& message)
{
    if (FActiveControl != nullptr && FActiveControl->HandleAllocated() && FActive) {
        SetWindowFocus();
        return;
    }
    Inherited(message);
}

void TCustomForm::CMActivate(TMessage&)
{
    Activate();
}

void TCustomForm::CMDeactivate(TMessage&)
{
    Deactivate();
}

void TCustomForm::CMRelease(TMessage&)
{
    delete this;
}

void TCustomForm::CMDialogKey(TMessage& message)
{
    if (GetKeyState(VK_MENU) >= 0) {
        switch (message.WParam) {
        case VK_TAB:
            if (GetKeyState(VK_CONTROL) >= 0) {
                SelectNext(FActiveControl, GetKeyState(VK_SHIFT) >= 0, true);
                message.Result = 1;
                return;
            }
            break;
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN:
            if (FActiveControl != nullptr && FActiveControl->Parent() != nullptr) {
                FActiveControl->Parent()->SelectNext(FActiveControl,
                                                     message.WParam == VK_RIGHT || message.WParam == VK_DOWN, false);
                message.Result = 1;
            }
            return;
        default:
            break;
        }
    }
    Inherited(message);
}

// The focus moves as a dialog moves it: with lParam's low word set, to the
// control whose window wParam names; otherwise to the next tab stop after
// the active control (wParam 0) or the one before it (wParam not 0).
void TCustomForm::WMNextDlgCtl(TMessage& message)
{
    if (LOWORD(message.LParam) != 0) {
        TWinControl* control = TWinControl::FindControl(static_cast<HWND>(message.WParam));
        if (control != nullptr && control->CanFocus()) {
            control->SetFocus();
        }
        return;
    }
    SelectNext(FActiveControl, message.WParam == 0, true);
}

TCustomFrame::TCustomFrame(TComponent* owner) : TWinControl(owner)
{
    FControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    FWidth = 320;
    FHeight = 240;
    FColor = clBtnFace;
    FBrush->SetColor(FColor);
    FParentColor = true;
}

void TCustomFrame::GetChildren(const TGetChildProc& proc, TComponent* root)
{
    TWinControl::GetChildren(proc, root);
    StreamParentlessComponents(*this, proc, root);
}

} // namespace plat
