// A run of the program on the headless back end, driven by a script: the
// session's life, the order of its steps, the answers, waits and checks.
#include "app/scripted_run/scripted_session.h"

#include "app/instance_activation.h"
#include "app/main_window.h"
#include "platform/ascii_case.h"
#include "platform/clock.h"
#include "platform/controls/application.h"
#include "platform/controls/dialogs/message_dialog.h"
#include "platform/controls/window_input.h"
#include "platform/hosts/headless/headless_host.h"

#include <algorithm>
#include <filesystem>
#include <poll.h>

namespace qel {
namespace {

// How often a wait for a file looks again (a file's arrival wakes nothing).
constexpr std::chrono::milliseconds FILE_POLL{20};
constexpr std::chrono::milliseconds NO_POLL_LIMIT{-1};

// The button a script names, without regard to case; nothing for "default".
std::optional<plat::TMsgDlgBtn> ButtonNamed(const std::string& Name)
{
    for (int button = plat::mbYes; button <= plat::mbClose; ++button) {
        const auto each = static_cast<plat::TMsgDlgBtn>(button);
        if (plat::SameText(Name, plat::ButtonName(each))) {
            return each;
        }
    }
    return std::nullopt;
}

plat::TDialogKind DialogKindOf(const std::string& Kind)
{
    return Kind == "box"      ? plat::TDialogKind::MessageBox
           : Kind == "save"   ? plat::TDialogKind::SaveFile
           : Kind == "folder" ? plat::TDialogKind::SelectFolder
           : Kind == "colour" ? plat::TDialogKind::Color
                              : plat::TDialogKind::OpenFile;
}

bool IsAnswer(TScriptVerb Verb)
{
    switch (Verb) {
    case TScriptVerb::AnswerBox:
    case TScriptVerb::AnswerOpen:
    case TScriptVerb::AnswerOpenCancel:
    case TScriptVerb::AnswerSave:
    case TScriptVerb::AnswerSaveCancel:
    case TScriptVerb::AnswerFolder:
    case TScriptVerb::AnswerFolderCancel:
    case TScriptVerb::AnswerColour:
    case TScriptVerb::AnswerColourCancel:
        return true;
    default:
        return false;
    }
}

} // namespace

// ---- dialogs ----

template <class TShow>
auto TRunDialogs::Reported(TRunRecord::TDialogNote Note, TShow Show) -> decltype(Show())
{
    Note.Step = CurrentStep ? CurrentStep() : 0;
    try {
        auto result = Show();
        FNotes.resize(Shown().size(), Note);
        return result;
    } catch (const plat::EUnexpectedDialog& error) {
        FNotes.resize(Shown().size(), Note);
        if (OnUnexpected) {
            OnUnexpected(error.what());
        }
        throw;
    }
}

plat::TModalResult TRunDialogs::MessageBox(const std::string& text, const std::string& caption, plat::TMsgDlgType type,
                                           plat::TMsgDlgButtons buttons, plat::TMsgDlgBtn defaultButton)
{
    TRunRecord::TDialogNote note;
    note.Caption = caption.empty() ? plat::MessageBoxCaption(type) : caption;
    for (const plat::TMsgDlgBtn button : plat::MessageBoxButtons(buttons)) {
        note.ButtonCaptions.push_back(plat::MessageButtonCaption(button));
    }
    return Reported(note, [&] { return TScriptedDialogs::MessageBox(text, caption, type, buttons, defaultButton); });
}

plat::TFileDialogResult TRunDialogs::SaveFileDialog(const plat::TFileDialogOptions& options)
{
    return Reported({0, plat::FileDialogTitle(options.Title, true), {}},
                    [&] { return TScriptedDialogs::SaveFileDialog(options); });
}

plat::TFileDialogResult TRunDialogs::OpenFileDialog(const plat::TFileDialogOptions& options)
{
    return Reported({0, plat::FileDialogTitle(options.Title, false), {}},
                    [&] { return TScriptedDialogs::OpenFileDialog(options); });
}

plat::TFolderDialogResult TRunDialogs::SelectFolderDialog(const plat::TFolderDialogOptions& options)
{
    return Reported({0, options.Caption, {}}, [&] { return TScriptedDialogs::SelectFolderDialog(options); });
}

plat::TColorDialogResult TRunDialogs::ColorDialog(const plat::TColorDialogOptions& options)
{
    return Reported({}, [&] { return TScriptedDialogs::ColorDialog(options); });
}

bool TRunDialogs::GetPointerPos(int& x, int& y)
{
    plat::TPoint point;
    if (!plat::GetCursorPos(point)) {
        return false;
    }
    x = point.X;
    y = point.Y;
    return true;
}

void TRunDialogs::SetPointerPos(int x, int y)
{
    plat::SetCursorPos(x, y);
}

// ---- the session ----

TScriptedSession::TScriptedSession(std::vector<TScriptStep> Steps, std::string RecordFile)
    : FSteps(std::move(Steps)), FRecordFile(std::move(RecordFile))
{
    FDialogs.OnUnexpected = [this](const std::string& Why) { EndRun("a dialog no answer expects: " + Why); };
    FDialogs.CurrentStep = [this] { return FRecord.Step(); };
}

TScriptedSession::~TScriptedSession() = default;

plat::IHost& TScriptedSession::OpenHost()
{
    if (!FHost) {
        FHost = std::make_unique<plat::THeadlessHost>();
        TakeLeadingAnswers();
    }
    return *FHost;
}

void TScriptedSession::TakeLeadingAnswers()
{
    while (FNext < FSteps.size() && IsAnswer(FSteps[FNext].Verb)) {
        Answer(FSteps[FNext]);
        ++FNext;
    }
}

void TScriptedSession::Started(plat::TApplication& App, TfrmMain& Main, TInstanceActivation& Activation)
{
    FApp = &App;
    FMain = &Main;
    FRecord.WindowShown();
    FRecord.PageShown(Main.PageIndex());
    Main.OnPageShown = [this](int Page) {
        FRecord.PageShown(Page);
        SeeCaptions();
    };
    Main.OnFileListed = [this](const std::string& FileName) { FRecord.FileListed(FileName); };
    Main.OnCloseRequested = [this](bool Granted) { FRecord.CloseRequested(plat::Clock().NowMs(), Granted); };
    Activation.OnActivated = [this] { FRecord.Activated(); };
    FHost->OnTitleChanged = [this](const std::string& Title) { FRecord.TitleSeen(Title); };
    FHost->OnCaptionChanged = [this](plat::HWND Window, const std::string& Caption) {
        if (FMain != nullptr && Window == FMain->Handle()) {
            FRecord.CaptionSeen(Caption);
        }
    };
    SeeCaptions();
    FHost->Script([this] { RunSteps(); });
}

void TScriptedSession::LoopEnded()
{
    SeeCaptions();
    if (FNext < FSteps.size() && FSteps[FNext].Verb == TScriptVerb::WaitExit) {
        FNext = FSteps.size();   // the end it waited for
    }
    if (!FEnded && FNext < FSteps.size()) {
        FRecord.Failed("the program ended before line " + std::to_string(FSteps[FNext].Line) + " ran");
    }
    if (FDialogs.PendingCount() > 0 && !FEnded) {
        FRecord.Failed(std::to_string(FDialogs.PendingCount()) + " dialog answers were not used");
    }
    FHost->OnTitleChanged = nullptr;
    FHost->OnCaptionChanged = nullptr;
    FMain->OnCloseRequested = nullptr;
    FMain = nullptr;
    FApp = nullptr;
}

int TScriptedSession::Ended(int Status)
{
    FRecord.SetDialogs(FDialogs.Shown(), FDialogs.Notes());
    FRecord.SetStatus(Status);
    if (!FRecordFile.empty()) {
        FRecord.Save(FRecordFile);
    }
    if (Status != 0) {
        return Status;
    }
    return FRecord.Passed() ? 0 : 2;
}

void TScriptedSession::SeeCaptions()
{
    if (FMain != nullptr && FApp != nullptr) {
        FRecord.CaptionSeen(FMain->Caption());
        FRecord.TitleSeen(FApp->Title());
    }
}

void TScriptedSession::EndRun(const std::string& Why)
{
    FRecord.Failed(Why);
    FEnded = true;
    if (FApp != nullptr) {
        FApp->Terminate();
    }
}

void TScriptedSession::RunSteps()
{
    SeeCaptions();
    while (!FEnded && FNext < FSteps.size()) {
        FRecord.SetStep(FSteps[FNext].Line);
        const TOutcome outcome = Perform(FSteps[FNext]);
        if (outcome == TOutcome::Waiting || outcome == TOutcome::Failed) {
            break;
        }
        ++FNext;
        FWaitSince.reset();
        FPresses = 0;
        if (outcome == TOutcome::Posted) {
            break;
        }
    }
    if (FEnded || FApp->Terminated()) {
        return;
    }
    if (FNext == FSteps.size() && !FApp->Queue().HasMessage()) {
        EndRun("the script ended while the program still runs");
        return;
    }
    FHost->Script([this] { RunSteps(); });
}

TScriptedSession::TOutcome TScriptedSession::Perform(const TScriptStep& Step)
{
    if (IsAnswer(Step.Verb)) {
        return Answer(Step);
    }
    switch (Step.Verb) {
    case TScriptVerb::WaitPage:
    case TScriptVerb::WaitActivations:
    case TScriptVerb::WaitFile:
    case TScriptVerb::WaitExit:
        return Wait(Step);
    case TScriptVerb::ExpectPage:
    case TScriptVerb::ExpectCaption:
    case TScriptVerb::ExpectTitle:
    case TScriptVerb::ExpectActivations:
    case TScriptVerb::ExpectDialog:
        return Expect(Step);
    default:
        return Act(Step);
    }
}

TScriptedSession::TOutcome TScriptedSession::Answer(const TScriptStep& Step)
{
    switch (Step.Verb) {
    case TScriptVerb::AnswerBox: {
        const std::string part = Step.Args.size() > 1 ? Step.Args[1] : std::string();
        if (plat::SameText(Step.Args[0], "default")) {
            FDialogs.ExpectMessageBoxDefault(part);
        } else if (const auto button = ButtonNamed(Step.Args[0])) {
            FDialogs.ExpectMessageBox(*button, part);
        } else {
            return Fail(Step, "no button is named " + JsonString(Step.Args[0]));
        }
        break;
    }
    case TScriptVerb::AnswerOpen:
        FDialogs.ExpectOpenFile(Step.Args[0]);
        break;
    case TScriptVerb::AnswerOpenCancel:
        FDialogs.ExpectOpenFileCancel();
        break;
    case TScriptVerb::AnswerSave:
        FDialogs.ExpectSaveFile(Step.Args[0]);
        break;
    case TScriptVerb::AnswerFolder:
        FDialogs.ExpectSelectFolder(Step.Args[0]);
        break;
    case TScriptVerb::AnswerFolderCancel:
        FDialogs.ExpectSelectFolderCancel();
        break;
    case TScriptVerb::AnswerColour:
        FDialogs.ExpectColor(static_cast<plat::TDialogColor>(Step.Number));
        break;
    case TScriptVerb::AnswerColourCancel:
        FDialogs.ExpectColorCancel();
        break;
    default:
        FDialogs.ExpectSaveFileCancel();
        break;
    }
    return TOutcome::Next;
}

TScriptedSession::TOutcome TScriptedSession::Wait(const TScriptStep& Step)
{
    switch (Step.Verb) {
    case TScriptVerb::WaitPage:
        return WaitUntil(Step, [this, &Step] { return FMain->PageIndex() == Step.Number; },
                         "page " + std::to_string(Step.Number), NO_POLL_LIMIT);
    case TScriptVerb::WaitActivations:
        return WaitUntil(Step, [this, &Step] { return FRecord.Activations() >= Step.Number; },
                         std::to_string(Step.Number) + " activations", NO_POLL_LIMIT);
    case TScriptVerb::WaitExit:
        return WaitUntil(Step, [this] { return FApp->Terminated(); }, "the program's end", NO_POLL_LIMIT);
    default:
        return WaitUntil(Step, [&Step] { return std::filesystem::exists(Step.Args[0]); },
                         "the file " + Step.Args[0], FILE_POLL);
    }
}

TScriptedSession::TOutcome TScriptedSession::WaitUntil(const TScriptStep& Step, const std::function<bool()>& Done,
                                                       const std::string& What, std::chrono::milliseconds Poll)
{
    if (Done()) {
        return TOutcome::Next;
    }
    const auto now = std::chrono::steady_clock::now();
    if (!FWaitSince) {
        FWaitSince = now;
    }
    const auto limit = std::chrono::milliseconds(Step.LimitMs);
    const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(now - *FWaitSince);
    if (waited >= limit) {
        return Fail(Step, What + " did not come within " + std::to_string(Step.LimitMs) + " ms (page " +
                              std::to_string(FMain->PageIndex()) + " shows)");
    }
    // Workers post in real time: sleep until the program has a message, a
    // poll interval or the limit.
    auto left = limit - waited;
    if (Poll.count() >= 0) {
        left = std::min(left, Poll);
    }
    pollfd wake{FApp->Queue().WakeFd(), POLLIN, 0};
    poll(&wake, 1, static_cast<int>(left.count()));
    return TOutcome::Waiting;
}

TScriptedSession::TOutcome TScriptedSession::Expect(const TScriptStep& Step)
{
    const auto check = [&](bool held, const std::string& found) {
        return held ? TOutcome::Next : Fail(Step, "found " + found);
    };
    switch (Step.Verb) {
    case TScriptVerb::ExpectPage:
        return check(FMain->PageIndex() == Step.Number, "page " + std::to_string(FMain->PageIndex()));
    case TScriptVerb::ExpectCaption:
        return check(FMain->Caption() == Step.Args[0], "the caption " + JsonString(FMain->Caption()));
    case TScriptVerb::ExpectTitle:
        return check(FApp->Title() == Step.Args[0], "the title " + JsonString(FApp->Title()));
    case TScriptVerb::ExpectActivations:
        return check(FRecord.Activations() == Step.Number, std::to_string(FRecord.Activations()) + " activations");
    default:
        return ExpectDialog(Step);
    }
}

TScriptedSession::TOutcome TScriptedSession::ExpectDialog(const TScriptStep& Step)
{
    const std::vector<plat::TShownDialog>& shown = FDialogs.Shown();
    if (FDialogsChecked >= shown.size()) {
        return Fail(Step, "no further dialog showed");
    }
    const plat::TShownDialog& dialog = shown[FDialogsChecked++];
    if (dialog.Kind != DialogKindOf(Step.Args[0])) {
        return Fail(Step, "a dialog of another kind showed: " + std::string(plat::DialogKindName(dialog.Kind)));
    }
    if (Step.Args.size() > 1 && dialog.Text.find(Step.Args[1]) == std::string::npos) {
        return Fail(Step, "the dialog's text " + JsonString(dialog.Text));
    }
    return TOutcome::Next;
}

TScriptedSession::TOutcome TScriptedSession::Fail(const TScriptStep& Step, const std::string& Why)
{
    EndRun("line " + std::to_string(Step.Line) + ": " + Why);
    return TOutcome::Failed;
}

} // namespace qel
