// A run of the program on the headless back end, driven by a script
// (run_script.h) and kept in a record (run_record.h): the session of the
// program when its environment asks for the headless host. Dialogs are
// answered by the script's answers; a dialog no answer expects fails the
// run and ends it, as does the first step that does not hold. A run passes
// when every step held and the program ended by its own close.
#pragma once

#include "app/scripted_run/run_record.h"
#include "app/scripted_run/run_script.h"
#include "app/start_up.h"
#include "platform/dialogs.h"

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace plat {
class THeadlessHost;
class TApplication;
} // namespace plat

namespace qel {

// The script's dialog answers; a dialog none expects is reported to
// OnUnexpected before it raises. Each dialog shown gets a note: the step
// it showed at, its caption and its buttons as shown.
class TRunDialogs : public plat::TScriptedDialogs {
public:
    plat::TModalResult MessageBox(const std::string& text, const std::string& caption, plat::TMsgDlgType type,
                                  plat::TMsgDlgButtons buttons, plat::TMsgDlgBtn defaultButton) override;
    plat::TFileDialogResult SaveFileDialog(const plat::TFileDialogOptions& options) override;
    plat::TFileDialogResult OpenFileDialog(const plat::TFileDialogOptions& options) override;
    plat::TFolderDialogResult SelectFolderDialog(const plat::TFolderDialogOptions& options) override;
    plat::TColorDialogResult ColorDialog(const plat::TColorDialogOptions& options) override;
    // The pointer of the run is the window manager's.
    bool GetPointerPos(int& x, int& y) override;
    void SetPointerPos(int x, int y) override;

    const std::vector<TRunRecord::TDialogNote>& Notes() const { return FNotes; }

    std::function<void(const std::string& Why)> OnUnexpected;
    std::function<int()> CurrentStep;

private:
    template <class TShow>
    auto Reported(TRunRecord::TDialogNote Note, TShow Show) -> decltype(Show());

    std::vector<TRunRecord::TDialogNote> FNotes;   // one per shown dialog
};

class TScriptedSession : public IProgramSession {
public:
    // RecordFile: where Ended writes the record; empty writes none.
    TScriptedSession(std::vector<TScriptStep> Steps, std::string RecordFile);
    ~TScriptedSession() override;

    plat::IHost& OpenHost() override;
    plat::IDialogs& Dialogs() override { return FDialogs; }
    void Started(plat::TApplication& App, TfrmMain& Main, TInstanceActivation& Activation) override;
    void LoopEnded() override;
    // The record written; the status, or 2 for a run that did not pass.
    int Ended(int Status) override;

    const TRunRecord& Record() const { return FRecord; }

private:
    enum class TOutcome {
        Next,      // done; the next step follows at once
        Posted,    // done; the program handles what it brought first
        Waiting,   // not yet; the step runs again when the program is idle
        Failed,    // the run ends
    };

    // The answers the script starts with, queued as soon as there is a host,
    // so they also answer a box shown before the main window exists.
    void TakeLeadingAnswers();
    // The host's step whenever the program is idle.
    void RunSteps();
    TOutcome Perform(const TScriptStep& Step);
    TOutcome Answer(const TScriptStep& Step);
    TOutcome Wait(const TScriptStep& Step);
    TOutcome Expect(const TScriptStep& Step);
    TOutcome ExpectDialog(const TScriptStep& Step);
    // Until Done holds, or the step's limit (real time) passes.
    TOutcome WaitUntil(const TScriptStep& Step, const std::function<bool()>& Done, const std::string& What,
                       std::chrono::milliseconds Poll);
    TOutcome Fail(const TScriptStep& Step, const std::string& Why);
    void EndRun(const std::string& Why);
    void SeeCaptions();

    // ---- user actions (script_actions.cpp) ----
    TOutcome Act(const TScriptStep& Step);
    TOutcome ClickOn(const TScriptStep& Step, const std::string& Name);
    TOutcome SetText(const TScriptStep& Step);
    TOutcome Check(const TScriptStep& Step);
    TOutcome CheckNode(const TScriptStep& Step);
    TOutcome CheckRow(const TScriptStep& Step);
    // Space on what Focus focuses until Checked holds (a few presses at most).
    TOutcome PressSpaceUntil(const TScriptStep& Step, const std::function<bool()>& Checked,
                             const std::function<void()>& Focus, const std::string& What);
    TOutcome OpenPopup(const TScriptStep& Step);
    TOutcome ChooseMenuItem(const TScriptStep& Step);
    TOutcome PostStatus(const TScriptStep& Step);
    TOutcome WriteFile(const TScriptStep& Step, const std::string& Text);

    std::vector<TScriptStep> FSteps;
    std::string FRecordFile;
    std::size_t FNext = 0;                    // the step to run next
    std::optional<std::chrono::steady_clock::time_point> FWaitSince;   // the running wait step's start
    int FPresses = 0;                         // keys the running check step has pressed
    std::size_t FDialogsChecked = 0;          // shown dialogs that expect dialog has looked at
    bool FEnded = false;                      // a failure ended the run
    TRunDialogs FDialogs;
    TRunRecord FRecord;
    std::unique_ptr<plat::THeadlessHost> FHost;
    plat::TApplication* FApp = nullptr;
    TfrmMain* FMain = nullptr;
};

} // namespace qel
