// TPgcController: what the library's windowed controls of one form share:
// the entry-field options, insert mode and two-digit-year epoch, the key
// command processor, a timer pool, and a hidden window through which the
// edit notifications (pre-edit, post-edit, delayed notifications) arrive
// after the message being handled. A control with no controller on its form
// uses the default controller.
#pragma once

#include "widgets/pages/pgc_command_processor.h"
#include "widgets/pages/pgc_component.h"
#include "widgets/pages/pgc_hidden_window.h"
#include "widgets/pages/pgc_timer_pool.h"

#include "platform/controls/win_control.h"
#include "platform/objects/set.h"

#include <cstdint>
#include <deque>
#include <initializer_list>
#include <memory>
#include <string>

namespace qel {

enum TPgcBaseEFOption {
    efoAutoAdvanceChar, efoAutoAdvanceLeftRight, efoAutoAdvanceUpDown, efoAutoSelect, efoBeepOnError,
    efoInsertPushes,
};
using TPgcBaseEFOptions = plat::TSet<TPgcBaseEFOption>;

using TDelayNotifyEvent = plat::TEvent<void(plat::TObject* Sender, std::uint16_t NotifyCode)>;
using TDataErrorEvent =
    plat::TEvent<void(plat::TObject* Sender, std::uint16_t ErrorCode, const std::string& ErrorMsg)>;
using TGetEpochEvent = plat::TEvent<void(plat::TObject* Sender, int& Epoch)>;
using TIsSpecialControlEvent =
    plat::TEvent<void(plat::TObject* Sender, plat::TWinControl* Control, bool& Special)>;
using TPostEditEvent = plat::TEvent<void(plat::TObject* Sender, plat::TWinControl* GainingControl)>;
using TPreEditEvent = plat::TEvent<void(plat::TObject* Sender, plat::TWinControl* LosingControl)>;

class TPgcBaseEntryField;

class TPgcController : public TPgcComponent {
    PLAT_CLASS(TPgcController, TPgcComponent)
public:
    static constexpr int kMinEpoch = 1600;
    static constexpr int kMaxEpoch = 3999;

    // The three built-in command tables, options [efoAutoSelect,
    // efoBeepOnError, efoInsertPushes], the current century as epoch,
    // insert mode, and a timer pool whose triggers reach OnTimerTrigger.
    explicit TPgcController(plat::TComponent* AOwner);
    ~TPgcController() override;

    TPgcCommandProcessor* EntryCommands() const { return FEntryCommands.get(); }
    TPgcBaseEFOptions EntryOptions() const { return FBaseEFOptions; }
    void SetEntryOptions(TPgcBaseEFOptions Value) { FBaseEFOptions = Value; }
    // The stored epoch passed through OnGetEpoch.
    int Epoch() const;
    // Taken only within kMinEpoch .. kMaxEpoch.
    void SetEpoch(int Value);
    bool ErrorPending() const { return FErrorPending; }
    void SetErrorPending(bool Value) { FErrorPending = Value; }
    const std::string& ErrorText() const { return FErrorText; }
    void SetErrorText(const std::string& Value) { FErrorText = Value; }
    bool InsertMode() const { return FInsertMode; }
    void SetInsertMode(bool Value) { FInsertMode = Value; }
    TPgcTimerPool* TimerPool() const { return FTimerPool; }

    // The hidden window, made at the first read (and again after its
    // application's queue has gone). Raises plat::EWindowError when no
    // application runs.
    plat::HWND Handle() { return FHandle.Handle(); }
    // Destroys the hidden window; the notifications waiting in it are dropped.
    void DestroyHandle() { FHandle.Release(); FPosted.clear(); }

    // OnError when assigned; otherwise an error box with the text and an OK button.
    void DoOnError(plat::TObject* Sender, std::uint16_t ErrorCode, const std::string& ErrorMsg);
    // Post PGCM_PREEDIT / PGCM_POSTEDIT with the control's window (0 for
    // none); OnPreEdit / OnPostEdit run when they arrive.
    void DoOnPreEdit(plat::TObject* Sender, plat::TWinControl* LosingControl);
    void DoOnPostEdit(plat::TObject* Sender, plat::TWinControl* GainingControl);
    // Posts PGCM_DELAYNOTIFY when OnDelayNotify is assigned.
    void DelayNotify(plat::TObject* Sender, std::uint16_t NotifyCode);
    void DoOnTimerTrigger(plat::TObject* Sender, std::int32_t Handle, std::uint32_t Interval,
                          std::int32_t ElapsedTime);
    // OnIsSpecialControl's answer for the control of window H; false when unassigned.
    virtual bool IsSpecialButton(plat::HWND H);

    // Only when the owner is a form or frame: every entry field among its
    // components (depth first through their own components) takes
    // Uninitialized := Value.
    void MarkAsUninitialized(bool Value);
    // ValidateEntryFieldsEx(true, true).
    plat::TComponent* ValidateEntryFields();
    // Validates the visible, enabled entry fields of the owning form or frame
    // in component order and answers the first that fails (nullptr when all
    // pass or the owner is neither). While no error is pending, ReportError
    // posts that field its report and ChangeFocus asks for the focus to go
    // to it (ErrorPending is set); either ends the walk at that field.
    plat::TComponent* ValidateEntryFieldsEx(bool ReportError, bool ChangeFocus);
    // The same over the given fields in order, with report and focus request,
    // whether visible or not.
    plat::TComponent* ValidateTheseEntryFields(std::initializer_list<plat::TComponent*> Fields);

    // Posts a controller message (PGCM_SHOWCONTROL and the edit
    // notifications) whose lParam is Subject. A component subject freed
    // before the message arrives is not handed on: the message is dropped.
    void PostControllerMessage(plat::UINT Msg, plat::WPARAM WParam, plat::TObject* Subject);

    TDataErrorEvent OnError;
    TGetEpochEvent OnGetEpoch;
    TDelayNotifyEvent OnDelayNotify;
    TIsSpecialControlEvent OnIsSpecialControl;
    TPostEditEvent OnPostEdit;
    TPreEditEvent OnPreEdit;
    TTriggerEvent OnTimerTrigger;

protected:
    void Notification(plat::TComponent* AComponent, plat::TOperation Operation) override;

private:
    // A posted message's subject, marked when the component is freed.
    struct TPostedSubject {
        plat::UINT Msg;
        plat::TObject* Subject;
        bool Gone;
    };

    plat::LRESULT HandleMessage(plat::UINT Msg, plat::WPARAM WParam, plat::LPARAM LParam);
    // True when the subject of an arriving message was freed meanwhile.
    bool SubjectGone(plat::UINT Msg, plat::LPARAM LParam);
    void ShowAndFocus(plat::TObject* Subject);
    // The form or frame that owns the controller; nullptr for another owner.
    plat::TWinControl* OwningFormOrFrame() const;
    // Report and focus request for a field that failed, while none is pending.
    void ReportFailedField(TPgcBaseEntryField* Field, bool ReportError, bool ChangeFocus);

    TPgcBaseEFOptions FBaseEFOptions;
    std::unique_ptr<TPgcCommandProcessor> FEntryCommands;
    int FEpoch;
    bool FErrorPending = false;
    std::string FErrorText;
    TPgcHiddenWindow FHandle;
    bool FInsertMode = true;
    TPgcTimerPool* FTimerPool;              // owned as one of the controller's components
    std::deque<TPostedSubject> FPosted;     // in the order posted
};

// The controller of controls that have none: made (without owner) at the
// first call, freed by FreeDefaultController.
TPgcController* DefaultController();
void FreeDefaultController();

} // namespace qel
