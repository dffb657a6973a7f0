// Test fixture of the logger models: range checks on, the temperature unit
// "°C", a decimal point; every test leaves the globals as it found them.
#pragma once

#include "foundations/language_switch.h"
#include "foundations/settings.h"
#include "platform/format_settings.h"

#include <gtest/gtest.h>

namespace qel {

class LoggerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        FOldCheckRange = RegSettings.bRegCheckRange;
        FOldAsian = AsianLocale;
        FOldSettings = plat::FormatSettings();
        RegSettings.bRegCheckRange = true;
        AsianLocale = false;
        plat::FormatSettings().DecimalSeparator = '.';
    }

    void TearDown() override
    {
        RegSettings.bRegCheckRange = FOldCheckRange;
        AsianLocale = FOldAsian;
        plat::FormatSettings() = FOldSettings;
    }

private:
    bool FOldCheckRange = true;
    bool FOldAsian = false;
    plat::TFormatSettings FOldSettings;
};

} // namespace qel
