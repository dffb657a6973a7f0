// The bench of the main window's tests: a fresh home with its own settings
// store, documents and runtime folders, the program's start (units,
// settings, language) for a command line, and the main window created on
// the headless host with scripted dialogs. Screenshots go to the folder
// QEL_SCREENSHOT_DIR names (none without it).
#pragma once

#include "app/main_window.h"
#include "platform/controls/application.h"
#include "platform/dialogs.h"
#include "platform/format_settings.h"
#include "platform/hosts/headless/headless_host.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace qel::test {

class TMainWindowTest : public ::testing::Test {
protected:
    TMainWindowTest();
    ~TMainWindowTest() override;

    // A value of the suite's settings key, before Start.
    void StoreSuiteInteger(const std::string& Name, std::int32_t Value);
    void StoreSuiteString(const std::string& Name, const std::string& Value);
    // The program started with Args after the program's name: the units, the
    // settings and language, then the main window, shown.
    void Start(const std::vector<std::string>& Args = {});
    // The window and the program's state released, as at the program's end.
    virtual void Stop();

    void Pump() { Host->PumpUntilIdle(); }
    // Handles messages until Done holds. Workers post in real time, so it
    // waits for their messages, 10 s at most; answers whether Done holds.
    bool PumpUntil(const std::function<bool()>& Done);
    void ClickOn(plat::TControl* Control);
    // Posts a worker's status message and handles it.
    void Status(plat::UINT Message, plat::WPARAM State, plat::LPARAM Value = 0);
    void Shot(const std::string& Name);
    // One sample of channel 1 at Time in the read list, as a data read
    // leaves it, of a logger added to the logger list when there is none.
    void AddReadSample(std::int64_t Time = 0);
    // Texts of the error boxes shown so far.
    std::vector<std::string> ErrorTexts() const;

    std::string Documents() const { return Dir.File("home/Documents"); }

    qeltest::TempDir Dir;
    qeltest::ScopedEnv Home;
    qeltest::ScopedEnv Config;
    qeltest::ScopedEnv Runtime;
    qeltest::ScopedEnv Documents_;
    plat::TScopedFormatSettings KeepFormats;
    plat::TScriptedDialogs Dialogs;
    std::unique_ptr<plat::TScopedDialogs> DialogsInstalled;
    std::unique_ptr<plat::THeadlessHost> Host;
    std::unique_ptr<plat::TApplication> App;
    TfrmMain* Main = nullptr;

private:
    bool FUnitsStarted = false;
};

} // namespace qel::test
