// TPgcController: shared entry settings, the hidden window's notifications
// and the default controller.
#include "widgets/pages/pgc_controller.h"

#include "widgets/pages/pgc_base_entry_field.h"
#include "widgets/pages/pgc_control_messages.h"
#include "widgets/pages/pgc_helpers.h"

#include "platform/controls/form.h"
#include "platform/controls/window.h"
#include "platform/controls/window_messages.h"
#include "platform/dialogs.h"

#include <functional>
#include <utility>

namespace qel {

PLAT_DEFINE_CLASS(TPgcController, TPgcComponent,
                  plat::Published("EntryCommands", &TPgcController::EntryCommands, nullptr),
                  plat::Published("EntryOptions", &TPgcController::EntryOptions, &TPgcController::SetEntryOptions,
                                  {"efoAutoAdvanceChar", "efoAutoAdvanceLeftRight", "efoAutoAdvanceUpDown",
                                   "efoAutoSelect", "efoBeepOnError", "efoInsertPushes"})
                      .Default(TPgcBaseEFOptions{efoAutoSelect, efoBeepOnError, efoInsertPushes}),
                  plat::Published("Epoch", &TPgcController::Epoch, &TPgcController::SetEpoch))

namespace {

// Freed by FreeDefaultController only: freeing it among the static objects at
// exit could outlive the window and loading state it touches.
TPgcController* TheDefaultController = nullptr;

// The control's window as a message parameter; 0 for none.
plat::WPARAM WindowOf(plat::TWinControl* Control)
{
    return Control != nullptr && Control->HandleAllocated() ? static_cast<plat::WPARAM>(Control->Handle()) : 0;
}

} // namespace

TPgcController::TPgcController(plat::TComponent* AOwner)
    : TPgcComponent(AOwner),
      FBaseEFOptions{efoAutoSelect, efoBeepOnError, efoInsertPushes},
      FEntryCommands(std::make_unique<TPgcCommandProcessor>()),
      FEpoch(DefaultEpochYear()),
      FHandle(this, [this](plat::UINT msg, plat::WPARAM wParam, plat::LPARAM lParam) {
          return HandleMessage(msg, wParam, lParam);
      }),
      FTimerPool(new TPgcTimerPool(this))
{
    FTimerPool->OnAllTriggers = TTriggerEvent(this, &TPgcController::DoOnTimerTrigger);
    // The owner's components heard of the insertion while this was still
    // being built and could not tell it was a controller; it joins again.
    if (plat::TComponent* owner = Owner()) {
        owner->RemoveComponent(this);
        owner->InsertComponent(this);
    }
}

TPgcController::~TPgcController()
{
    FEntryCommands.reset();
    delete FTimerPool;
    DestroyHandle();
}

int TPgcController::Epoch() const
{
    int epoch = FEpoch;
    OnGetEpoch(const_cast<TPgcController*>(this), epoch);
    return epoch;
}

void TPgcController::SetEpoch(int Value)
{
    if (Value != FEpoch && Value >= kMinEpoch && Value <= kMaxEpoch) {
        FEpoch = Value;
    }
}

void TPgcController::DoOnError(plat::TObject* Sender, std::uint16_t ErrorCode, const std::string& ErrorMsg)
{
    if (OnError) {
        OnError(Sender, ErrorCode, ErrorMsg);
        return;
    }
    plat::CurrentDialogs().MessageBox(ErrorMsg, "", plat::mtError, {plat::mbOK}, plat::mbOK);
}

void TPgcController::DoOnPreEdit(plat::TObject* Sender, plat::TWinControl* LosingControl)
{
    PostControllerMessage(PGCM_PREEDIT, WindowOf(LosingControl), Sender);
}

void TPgcController::DoOnPostEdit(plat::TObject* Sender, plat::TWinControl* GainingControl)
{
    PostControllerMessage(PGCM_POSTEDIT, WindowOf(GainingControl), Sender);
}

void TPgcController::DelayNotify(plat::TObject* Sender, std::uint16_t NotifyCode)
{
    if (OnDelayNotify) {
        PostControllerMessage(PGCM_DELAYNOTIFY, NotifyCode, Sender);
    }
}

void TPgcController::DoOnTimerTrigger(plat::TObject* Sender, std::int32_t Handle, std::uint32_t Interval,
                                      std::int32_t ElapsedTime)
{
    OnTimerTrigger(Sender, Handle, Interval, ElapsedTime);
}

bool TPgcController::IsSpecialButton(plat::HWND H)
{
    bool special = false;
    if (OnIsSpecialControl) {
        OnIsSpecialControl(this, plat::TWinControl::FindControl(H), special);
    }
    return special;
}

void TPgcController::PostControllerMessage(plat::UINT Msg, plat::WPARAM WParam, plat::TObject* Subject)
{
    if (!FHandle.Allocated()) {
        FPosted.clear();   // whatever waited went with the old window
    }
    const plat::HWND window = Handle();
    if (auto* component = dynamic_cast<plat::TComponent*>(Subject)) {
        component->FreeNotification(this);
    }
    FPosted.push_back(TPostedSubject{Msg, Subject, false});
    if (!plat::PostMessage(window, Msg, WParam, reinterpret_cast<plat::LPARAM>(Subject))) {
        FPosted.pop_back();
    }
}

bool TPgcController::SubjectGone(plat::UINT Msg, plat::LPARAM LParam)
{
    const auto* subject = reinterpret_cast<const plat::TObject*>(LParam);
    if (FPosted.empty() || FPosted.front().Msg != Msg || FPosted.front().Subject != subject) {
        return false;   // posted by someone else: taken as it is
    }
    const bool gone = FPosted.front().Gone;
    FPosted.pop_front();
    return gone;
}

void TPgcController::Notification(plat::TComponent* AComponent, plat::TOperation Operation)
{
    TPgcComponent::Notification(AComponent, Operation);
    if (Operation != plat::opRemove || AComponent == nullptr) {
        return;
    }
    for (TPostedSubject& posted : FPosted) {
        if (posted.Subject == static_cast<plat::TObject*>(AComponent)) {
            posted.Gone = true;
        }
    }
}

void TPgcController::ShowAndFocus(plat::TObject* Subject)
{
    auto* control = dynamic_cast<plat::TControl*>(Subject);
    if (control == nullptr) {
        return;
    }
    control->Show();
    if (auto* windowed = dynamic_cast<plat::TWinControl*>(control); windowed != nullptr && windowed->CanFocus()) {
        windowed->SetFocus();
    }
}

plat::LRESULT TPgcController::HandleMessage(plat::UINT Msg, plat::WPARAM WParam, plat::LPARAM LParam)
{
    const bool notification =
        Msg == PGCM_SHOWCONTROL || Msg == PGCM_PREEDIT || Msg == PGCM_POSTEDIT || Msg == PGCM_DELAYNOTIFY;
    if (!notification) {
        return plat::DefWindowProc(FHandle.Handle(), Msg, WParam, LParam);
    }
    if (SubjectGone(Msg, LParam)) {
        return 0;
    }
    auto* subject = reinterpret_cast<plat::TObject*>(LParam);
    const auto window = static_cast<plat::HWND>(WParam);
    switch (Msg) {
    case PGCM_SHOWCONTROL:
        ShowAndFocus(subject);
        break;
    case PGCM_PREEDIT:
        OnPreEdit(subject, plat::TWinControl::FindControl(window));
        break;
    case PGCM_POSTEDIT:
        OnPostEdit(subject, plat::TWinControl::FindControl(window));
        break;
    default:
        OnDelayNotify(subject, plat::LOWORD(WParam));
        break;
    }
    return 0;
}

// ---- the entry-field walks ----

namespace {

// Visits Owner's components in order, each before its own components; Visit
// answers false to pass over a component's own components, and Stop ends
// the walk.
bool WalkComponents(const plat::TComponent* Owner, const std::function<bool(plat::TComponent*, bool&)>& Visit)
{
    for (int i = 0; i < Owner->ComponentCount(); ++i) {
        plat::TComponent* component = Owner->Components(i);
        bool stop = false;
        const bool descend = Visit(component, stop);
        if (stop) {
            return true;
        }
        if (descend && WalkComponents(component, Visit)) {
            return true;
        }
    }
    return false;
}

} // namespace

plat::TWinControl* TPgcController::OwningFormOrFrame() const
{
    plat::TComponent* owner = Owner();
    if (dynamic_cast<plat::TCustomForm*>(owner) != nullptr || dynamic_cast<plat::TCustomFrame*>(owner) != nullptr) {
        return static_cast<plat::TWinControl*>(owner);
    }
    return nullptr;
}

void TPgcController::MarkAsUninitialized(bool Value)
{
    const plat::TWinControl* form = OwningFormOrFrame();
    if (form == nullptr) {
        return;
    }
    WalkComponents(form, [Value](plat::TComponent* component, bool&) {
        if (auto* field = dynamic_cast<TPgcBaseEntryField*>(component)) {
            field->SetUninitialized(Value);
        }
        return true;
    });
}

plat::TComponent* TPgcController::ValidateEntryFields()
{
    return ValidateEntryFieldsEx(true, true);
}

void TPgcController::ReportFailedField(TPgcBaseEntryField* Field, bool ReportError, bool ChangeFocus)
{
    if (ReportError && !FErrorPending && Field->HandleAllocated()) {
        plat::PostMessage(Field->Handle(), PGCM_REPORTERROR, Field->LastError(), 0);
    }
    if (ChangeFocus && !FErrorPending) {
        PostControllerMessage(PGCM_SHOWCONTROL, 0, Field);
        FErrorPending = true;
    }
}

plat::TComponent* TPgcController::ValidateEntryFieldsEx(bool ReportError, bool ChangeFocus)
{
    const plat::TWinControl* form = OwningFormOrFrame();
    if (form == nullptr) {
        return nullptr;
    }
    TPgcBaseEntryField* first = nullptr;
    WalkComponents(form, [&](plat::TComponent* component, bool& stop) {
        auto* field = dynamic_cast<TPgcBaseEntryField*>(component);
        if (field == nullptr) {
            return true;
        }
        if (!field->Visible() || !field->Enabled()) {
            return false;
        }
        if (field->ValidateContents(false) != 0) {
            if (first == nullptr) {
                first = field;
            }
            ReportFailedField(field, ReportError, ChangeFocus);
        }
        stop = first != nullptr && (ReportError || ChangeFocus);
        return true;
    });
    return first;
}

plat::TComponent* TPgcController::ValidateTheseEntryFields(std::initializer_list<plat::TComponent*> Fields)
{
    for (plat::TComponent* component : Fields) {
        auto* field = dynamic_cast<TPgcBaseEntryField*>(component);
        if (field != nullptr && field->ValidateContents(false) != 0) {
            ReportFailedField(field, true, true);
            return field;
        }
    }
    return nullptr;
}

TPgcController* DefaultController()
{
    if (TheDefaultController == nullptr) {
        TheDefaultController = new TPgcController(nullptr);
    }
    return TheDefaultController;
}

void FreeDefaultController()
{
    delete std::exchange(TheDefaultController, nullptr);
}

} // namespace qel
