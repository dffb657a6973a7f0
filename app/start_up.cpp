// The program's run from start to end.
#include "app/start_up.h"

#include "app/earlier_run_files.h"
#include "app/exit_guard.h"
#include "app/init_units.h"
#include "app/instance_activation.h"
#include "app/main_window.h"
#include "app/program_signals.h"
#include "app/wizard_texts.h"
#include "card/buffer_list.h"
#include "card/temp_folder.h"
#include "foundations/byte_helpers.h"
#include "foundations/file_names.h"
#include "foundations/language_switch.h"
#include "foundations/language_table.h"
#include "foundations/qel_dialogs.h"
#include "foundations/settings.h"
#include "foundations/win_tools.h"
#include "platform/canvas/font_map.h"
#include "platform/controls/application.h"
#include "platform/dialogs.h"
#include "platform/known_folders.h"
#include "platform/suite_link.h"

#include <cstdio>
#include <exception>
#include <memory>

namespace qel {
namespace {

void Say(const std::string& Text)
{
    std::fprintf(stderr, "qelreader: %s\n", Text.c_str());
}

// The buffer folder failed: one line on stderr, and an error box in the
// chosen language where a host can be had.
int ReportBufferFolder(IProgramSession& Session)
{
    const std::string text = WizardText(TWizardText::BufferFolderUnusable, BufferFolderName());
    Say(text);
    try {
        plat::IHost& host = Session.OpenHost();
        plat::TScopedDialogs dialogs(Session.Dialogs());
        plat::TApplication app(host);
        app.SetTitle(APPLICATION_TITLE);
        QelDlg.ShowErrMsg(text);
    } catch (const std::exception&) {
        // no host, or no answer to the box: the line on stderr says it all
    }
    return 1;
}

// Steps 7 to 9 and the end: the main window and the loop, then, within the
// session's time limit, the workers stopped and joined, the windows freed
// and the program's state released.
int RunMainWindow(IProgramSession& Session, TProgramSignals& Signals)
{
    plat::IHost* host = nullptr;
    try {
        host = &Session.OpenHost();
    } catch (const std::exception& error) {
        Say(error.what());
        return 1;
    }
    plat::TScopedDialogs dialogs(Session.Dialogs());
    plat::TSuiteLink suiteLink;
    auto app = std::make_unique<plat::TApplication>(*host);
    auto activation = std::make_unique<TInstanceActivation>(*app);
    int status = 0;
    TfrmMain* main = nullptr;
    try {
        main = app->CreateForm<TfrmMain>();
        ReadBufferList.SetUseFileStream(true);
        Session.Started(*app, *main, *activation);
        Signals.SetMainWindow(main->Handle());
        app->Run();
    } catch (const std::exception& error) {
        Say(error.what());
        status = 1;
    }
    Signals.SetMainWindow(0);
    Session.LoopEnded();
    TExitGuard guard(Session.ExitLimit(), [&Session, status] { Session.EndNow(status); });
    if (main != nullptr) {
        main->StopWorkers();
    }
    activation.reset();
    app.reset();
    FinalizeUnits();
    guard.Disarm();
    return status;
}

} // namespace

std::string IProgramSession::InstanceName() const
{
    return APPLICATION_TITLE;
}

void IProgramSession::EndNow(int Status)
{
    EndProcessNow(Status);
}

void StartUnits()
{
    InitUnits();
    SetFPUExceptionMask();
    // The settings key is read for the prototype section; the suite values
    // that follow start from the defaults again.
    LoadSettings(READER_APP_NAME);
    LoadSuiteSettings();
    // Without a data folder, save proposals and the directory list would
    // go to the root folder: the home folder stands in.
    if (RegSettings.sRegFileDir.empty()) {
        RegSettings.sRegFileDir = AddBackslash(plat::HomeFolder());
    }
    SetLanguage(LanguageTexts, RegSettings.iRegLanguage, FORMAT_MODE_SETTINGS, false);
}

int RunProgram(IProgramSession& Session)
{
    TProgramSignals signals;
    StartUnits();
    if (!ClaimSingleInstance(Session.InstanceName())) {
        FinalizeUnits();
        return Session.Ended(0);
    }
    RemoveFilesOfEarlierRuns();
    plat::LoadCanvasFonts();
    int status = 0;
    // An empty buffer folder would put the buffer files (and the probe of
    // the first) into whatever folder the program was started in.
    if (GetTempFolder().empty() || !InitTempFolder()) {
        status = ReportBufferFolder(Session);
        FinalizeUnits();
    } else {
        status = RunMainWindow(Session, signals);
    }
    ReleaseSingleInstance();
    return Session.Ended(status);
}

std::string BufferFolderName()
{
    if (!BufferFolder().empty()) {
        return BufferFolder();
    }
    const std::string documents = plat::DocumentsFolder();
    const std::string folder = "QEL/temp/" + GetFileName(plat::ProgramPath()) + "/";
    return (documents.empty() ? std::string("<documents folder>/") : AddBackslash(documents)) + folder;
}

} // namespace qel
