// The bench of the main window's tests.
#include "tests/app/main_window_fixture.h"

#include "app/init_units.h"
#include "app/start_up.h"
#include "card/buffer_list.h"
#include "card/temp_folder.h"
#include "loggers/qel_base.h"
#include "foundations/settings.h"
#include "platform/command_line.h"
#include "platform/known_folders.h"
#include "platform/registry.h"

#include <chrono>
#include <cstdlib>
#include <poll.h>
#include <filesystem>

namespace qel::test {

TMainWindowTest::TMainWindowTest()
    : Home("HOME", Dir.File("home")), Config("XDG_CONFIG_HOME", Dir.File("config")),
      Runtime("XDG_RUNTIME_DIR", Dir.File("run")), Documents_("XDG_DOCUMENTS_DIR", Dir.File("home/Documents"))
{
    for (const char* folder : {"home", "config", "run", "bin", "sys"}) {
        std::filesystem::create_directories(Dir.Path() / folder);
    }
    std::filesystem::permissions(Dir.Path() / "run", std::filesystem::perms::owner_all);
    plat::FormatSettings() = plat::TFormatSettings{};
    plat::SetProgramPath(Dir.File("bin/qelreader"));
    plat::SetSysfsRoot(Dir.File("sys"));   // no serial ports to probe
}

TMainWindowTest::~TMainWindowTest()
{
    Stop();
    plat::SetProgramPath("");
    plat::SetSysfsRoot("");
    plat::SetCommandLine(0, nullptr);
}

void TMainWindowTest::StoreSuiteInteger(const std::string& Name, std::int32_t Value)
{
    plat::TRegistry registry;
    ASSERT_TRUE(registry.OpenKey(SUITE_KEY, true));
    registry.WriteInteger(Name, Value);
}

void TMainWindowTest::StoreSuiteString(const std::string& Name, const std::string& Value)
{
    plat::TRegistry registry;
    ASSERT_TRUE(registry.OpenKey(SUITE_KEY, true));
    registry.WriteString(Name, Value);
}

void TMainWindowTest::Start(const std::vector<std::string>& Args)
{
    std::vector<const char*> argv{"qelreader"};
    for (const std::string& arg : Args) {
        argv.push_back(arg.c_str());
    }
    plat::SetCommandLine(static_cast<int>(argv.size()), argv.data());
    StartUnits();
    FUnitsStarted = true;
    // As the program: buffers spill to the buffer folder, when there is one.
    if (!GetTempFolder().empty() && InitTempFolder()) {
        ReadBufferList.SetUseFileStream(true);
    }
    DialogsInstalled = std::make_unique<plat::TScopedDialogs>(Dialogs);
    Host = std::make_unique<plat::THeadlessHost>();
    App = std::make_unique<plat::TApplication>(*Host);
    Main = App->CreateForm<TfrmMain>();
    Main->Show();
    Pump();
}

void TMainWindowTest::Stop()
{
    if (Main != nullptr) {
        Main->StopWorkers();
    }
    Main = nullptr;
    App.reset();
    Host.reset();
    DialogsInstalled.reset();
    if (FUnitsStarted) {
        ReadBufferList.SetUseFileStream(false);
        FinalizeUnits();
        ClearTempFolder();
        FUnitsStarted = false;
    }
}

bool TMainWindowTest::PumpUntil(const std::function<bool()>& Done)
{
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    for (;;) {
        Pump();
        if (Done()) {
            return true;
        }
        if (std::chrono::steady_clock::now() >= limit) {
            return false;
        }
        pollfd wake{App->Queue().WakeFd(), POLLIN, 0};
        poll(&wake, 1, 100);
    }
}

void TMainWindowTest::ClickOn(plat::TControl* Control)
{
    const plat::TPoint centre =
        Control->ClientToScreen(plat::Point(Control->ClientWidth() / 2, Control->ClientHeight() / 2));
    Host->MouseMove(centre);
    Host->Click(centre);
    Pump();
}

void TMainWindowTest::Status(plat::UINT Message, plat::WPARAM State, plat::LPARAM Value)
{
    plat::PostMessage(Main->Handle(), Message, State, Value);
    Pump();
}

void TMainWindowTest::Shot(const std::string& Name)
{
    const char* folder = std::getenv("QEL_SCREENSHOT_DIR");
    if (folder == nullptr || *folder == '\0') {
        return;
    }
    Pump();
    Host->SaveScreenshot(Main->Handle(), std::string(folder) + "/" + Name + ".png");
}

void TMainWindowTest::AddReadSample(std::int64_t Time)
{
    if (QelList.Count() == 0) {
        QelList.Add(new TQEL);
    }
    ReadBufferList.SetActiveQEL(QelList.GetCurrent());
    ReadBufferList.AddIntData(1, Time, 1);
    ReadBufferList.EndRead();
}

std::vector<std::string> TMainWindowTest::ErrorTexts() const
{
    std::vector<std::string> texts;
    for (const plat::TShownDialog& dialog : Dialogs.Shown()) {
        if (dialog.Kind == plat::TDialogKind::MessageBox && dialog.Type == plat::mtError) {
            texts.push_back(dialog.Text);
        }
    }
    return texts;
}

} // namespace qel::test
