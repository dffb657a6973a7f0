// Tests of the settings records and the texts of stored real numbers.
#include "foundations/settings.h"

#include <gtest/gtest.h>

#include <limits>

namespace qel {
namespace {

TEST(Settings, Defaults)
{
    RegSettings.sRegValAuditDir = "/audit";
    RegSettings.iRegLanguage = 0;
    RegSettings.bRegCheckRange = false;
    RegReader.OutputMode = 9;
    RegPrototype.VersionPC = 7;
    SetDefaultSettings();
    EXPECT_EQ(RegSettings.iRegPortSearch, 2);
    EXPECT_EQ(RegSettings.sRegPort, "COM1");
    EXPECT_EQ(RegSettings.sRegFileDir, "");
    EXPECT_EQ(RegSettings.sRegFileExt, ".qel");
    EXPECT_EQ(RegSettings.sRegTemplateExt, ".qse");
    EXPECT_EQ(RegSettings.sQEL, "QEL");
    EXPECT_EQ(RegSettings.iRegLanguage, -1);
    EXPECT_EQ(RegSettings.iRegIntern, 0);
    EXPECT_TRUE(RegSettings.bRegCheckRange);
    EXPECT_EQ(RegSettings.iRegValHint, 0);
    EXPECT_EQ(RegSettings.iRegLocDate, 0);
    EXPECT_EQ(RegSettings.iRegLocDecimalSeparator, 0);
    EXPECT_EQ(RegSettings.sRegValAuditDir, "/audit");
    EXPECT_FALSE(RegReader.Report);
    EXPECT_EQ(RegReader.FileMode, 1);
    EXPECT_EQ(RegReader.OutputMode, 2);
    EXPECT_FALSE(RegReader.MultipleQEL);
    EXPECT_FALSE(RegReader.ForceExtQEL);
    EXPECT_EQ(RegPrototype.VersionPC, 7);
    RegSettings.sRegValAuditDir.clear();
    RegPrototype = TRegPrototype{};
}

TEST(Settings, StoredRealNumbers)
{
    EXPECT_EQ(FloatToRegStr(1.5, "x"), " 1.50000000000000E+0000");
    EXPECT_EQ(FloatToRegStr(-0.06, "x"), "-6.00000000000000E-0002");
    EXPECT_EQ(FloatToRegStr(0.0, "x"), " 0.00000000000000E+0000");
    EXPECT_EQ(FloatToRegStr(1e300, "x"), " 1.00000000000000E+0300");
    EXPECT_EQ(FloatToRegStr(std::numeric_limits<double>::quiet_NaN(), "x"), "x");
    EXPECT_EQ(FloatToRegStr(std::numeric_limits<double>::infinity(), "x"), "x");

    struct Case {
        const char* text;
        double value;
    };
    const Case cases[] = {{"1.5", 1.5},  {" 1.50000000000000E+0000", 1.5}, {"-6.00000000000000E-0002", -0.06},
                          {"+2", 2.0},   {"1e3", 1000.0},                   {"0.06", 0.06}};
    for (const Case& c : cases) {
        EXPECT_EQ(RegStrToFloat(c.text, -1.0), c.value) << c.text;
    }
    for (const char* bad : {"", "   ", "1,5", "abc", "1.5x", "nan", "inf", "+-1", "1.5 ", "1e999"}) {
        EXPECT_EQ(RegStrToFloat(bad, -1.0), -1.0) << bad;
    }
}

} // namespace
} // namespace qel
