// The bench of the application's window tests: a headless host with an
// application, a shown main form standing in for the main window, the
// program's format settings and texts put back after each test, and PNG
// screenshots into the folder QEL_SCREENSHOT_DIR names (none without it).
#pragma once

#include "platform/controls/application.h"
#include "platform/controls/form.h"
#include "platform/format_settings.h"
#include "platform/hosts/headless/headless_host.h"

#include <gtest/gtest.h>

#include <string>

namespace qel::test {

class THeadlessAppTest : public ::testing::Test {
protected:
    THeadlessAppTest();
    ~THeadlessAppTest() override;

    void Pump() { Host.PumpUntilIdle(); }
    // Writes the window's picture as <name>.png when screenshots are asked for.
    void Shot(plat::HWND TopLevel, const std::string& Name);
    // The colour of a pixel of the window's composed picture.
    plat::TColor WindowPixel(plat::HWND TopLevel, plat::TPoint Point);
    // Clicks the middle of a control (posted: the caller pumps, or the
    // modal loop it runs in handles it).
    void ClickOn(plat::TControl* Control);

    plat::TScopedFormatSettings KeepFormats;
    plat::THeadlessHost Host;
    plat::TApplication App{Host};
    plat::TForm* Main = nullptr;
};

} // namespace qel::test
