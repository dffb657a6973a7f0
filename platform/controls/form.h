// Forms and frames. A form is a top-level window with a caption (apart from
// the application's title), a border style, an active control that gets the
// keyboard when the form is active, dialog keys (Tab and arrows move the
// focus), showing and hiding with OnShow and OnHide, closing with a close
// query that may refuse, and modal showing: a nested message loop that runs
// until the modal result is set while the other forms take no input.
// A frame is a container of controls placed on forms.
#pragma once

#include "platform/controls/control_canvas.h"
#include "platform/controls/win_control.h"
#include "platform/dialogs.h"

#include <memory>
#include <vector>

namespace plat {

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TPosition {
    poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter,
    poMainFormCenter, poOwnerFormCenter
};
enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TFormStateFlag { fsCreating, fsVisible, fsShowing, fsModal, fsActivated };
using TFormState = TSet<TFormStateFlag>;

using TCloseEvent = TEvent<void(TObject* sender, TCloseAction& action)>;
using TCloseQueryEvent = TEvent<void(TObject* sender, bool& canClose)>;

// Disables every other visible, enabled top-level window for a modal loop
// (0: every one); answers those it disabled, for EnableTaskWindows.
std::vector<HWND> DisableTaskWindows(HWND modal);
void EnableTaskWindows(const std::vector<HWND>& windows);

class TCustomForm : public TWinControl {
    PLAT_CLASS(TCustomForm, TWinControl)
    PLAT_MESSAGES(TCustomForm, TWinControl)
public:
    explicit TCustomForm(TComponent* owner);
    ~TCustomForm() override;

    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle value);
    TPosition Position() const { return FPosition; }
    void SetPosition(TPosition value) { FPosition = value; }
    bool KeyPreview() const { return FKeyPreview; }
    void SetKeyPreview(bool value) { FKeyPreview = value; }
    TFormState FormState() const { return FFormState; }

    // The control that has (or gets, when the form is activated) the focus.
    TWinControl* ActiveControl() const { return FActiveControl; }
    // Raises EInvalidOperation for a control that cannot take the focus.
    void SetActiveControl(TWinControl* control);
    // The control that has the focus now (the form itself when none).
    TWinControl* FocusedControl() const { return FFocusedControl; }
    bool Active() const { return FActive; }

    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult value) { FModalResult = value; }
    // Shows the form and runs messages until its modal result is set;
    // answers the result. Raises EInvalidOperation for a visible form.
    TModalResult ShowModal();
    void Show();
    void Hide() { SetVisible(false); }
    // Asks OnCloseQuery; when it agrees, OnClose decides: hide (the main
    // form ends the application), free or nothing.
    void Close();
    // Frees the form once the messages already posted have been handled.
    void Release();
    virtual bool CloseQuery();

    void FocusControl(TWinControl* control);
    // Called as a control of the form gets the focus: CM_EXIT to the
    // controls it leaves, CM_ENTER to those it enters. False when a handler
    // moved the focus elsewhere meanwhile.
    bool SetFocusedControl(TWinControl* control);
    void DefocusControl(TWinControl* control, bool removing);
    void SendCancelMode(TControl* sender);
    void SetFocus() override;
    bool CanFocus() const override { return Visible() && Enabled(); }
    // Its controls, then (when it is the root) the components it owns that
    // have no parent.
    void GetChildren(const TGetChildProc& proc, TComponent* root) override;

    TCanvas* Canvas();

    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TNotifyEvent OnPaint;

    // Runs OnCreate; the application calls it for the forms it creates.
    virtual void DoCreate();

protected:
    void CreateParams(TCreateParams& params) override;
    void PaintWindow(HDC dc) override;
    virtual void Paint();
    virtual void DoShow();
    virtual void DoHide();
    virtual void DoClose(TCloseAction& action);
    virtual void Activate();
    virtual void Deactivate();
    void SetActive(bool value);
    void SetWindowFocus();
    // Places the form by Position before it first shows.
    void ApplyPosition();

    void WMClose(TMessage& message);
    void WMActivate(TMessage& message);
    void WMSetFocus(TMessage& message);
    void CMActivate(TMessage& message);
    void CMDeactivate(TMessage& message);
    void CMRelease(TMessage& message);
    void CMShowingChanged(TMessage& message);
    void CMDialogKey(TMessage& message);
    void WMNextDlgCtl(TMessage& message);

    TFormState FFormState;

private:
    void CloseModal();

    TFormBorderStyle FBorderStyle = bsSizeable;
    TPosition FPosition = poDesigned;
    bool FKeyPreview = false;
    bool FActive = false;
    TWinControl* FActiveControl = nullptr;
    TWinControl* FFocusedControl = nullptr;
    TModalResult FModalResult = mrNone;
    std::unique_ptr<TControlCanvas> FCanvas;
};

class TForm : public TCustomForm {
    PLAT_CLASS(TForm, TCustomForm)
public:
    explicit TForm(TComponent* owner) : TCustomForm(owner) {}
};

// A container of controls designed once and placed on forms.
class TCustomFrame : public TWinControl {
    PLAT_CLASS(TCustomFrame, TWinControl)
public:
    explicit TCustomFrame(TComponent* owner);
    // As a form's: its controls, then as the root its parentless components.
    void GetChildren(const TGetChildProc& proc, TComponent* root) override;
};

class TFrame : public TCustomFrame {
    PLAT_CLASS(TFrame, TCustomFrame)
public:
    explicit TFrame(TComponent* owner) : TCustomFrame(owner) {}
};

} // namespace plat
