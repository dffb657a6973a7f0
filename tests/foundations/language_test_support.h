// Puts the language switch's state (program texts, format settings, chart
// hook, settings record) back after a test.
#pragma once

#include "foundations/language_switch.h"
#include "foundations/settings.h"
#include "platform/format_settings.h"
#include "platform/resource_strings.h"

#include <gtest/gtest.h>

namespace qeltest {

class LanguageTest : public ::testing::Test {
protected:
    void SetUp() override { qel::SetDefaultSettings(); }
    void TearDown() override
    {
        plat::RestoreResStrings();
        qel::SetChartLanguageHook(nullptr, nullptr, nullptr);
        qel::SetDefaultSettings();
    }

private:
    plat::TScopedFormatSettings FKeepFormats;
};

} // namespace qeltest
