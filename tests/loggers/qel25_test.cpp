// Tests of the QEL25 logger class: its eight inputs, the channel table with
// conversions, gap values, ranges and feature tests.
#include "loggers/qel25.h"
#include "loggers/value_format.h"

#include "foundations/byte_helpers.h"
#include "logger_test_env.h"
#include "platform/ini_file.h"
#include "platform/known_folders.h"
#include "tests/support/temp_dir.h"

namespace qel {
namespace {

constexpr std::uint16_t V(int major, int minor)
{
    return static_cast<std::uint16_t>(major << 8 | minor);
}

using T = TQEL25;

class Qel25Test : public LoggerTest {
protected:
    void SetUp() override
    {
        LoggerTest::SetUp();
        logger.ID_CLASS = 0x6628;
        logger.ID_VER = V(2, 0);
        logger.AIN[0] = {"Load", "kN", 0.5f, 2.0f, 3};
        logger.AIN[5] = {"", "mV", -1.0f, 0.25f, 9};
        logger.X2G_GAIN_USR = 0.5f;
        logger.X2G_OFS_USR = 1.0f;
        logger.Z2G_GAIN_USR = 2.0f;
    }

    T logger;
};

TEST_F(Qel25Test, Identity)
{
    EXPECT_EQ(logger.GetName(), "QEL25");
    logger.ID_CLASS = 0x6607;
    EXPECT_EQ(logger.GetName(), "?");
    EXPECT_FALSE(logger.hasUTC());
    EXPECT_EQ(logger.getChID(3), 0x3FFF);
}

TEST_F(Qel25Test, ChannelTable)
{
    struct Case {
        std::uint32_t ch;
        const char* name;
        const char* unit;
        std::int16_t raw;
        float value;
        float gain;
        float offset;
        const char* text;
    };
    const Case cases[] = {
        {0, "Load", "kN", 100, 200.5f, 2.0f, 0.5f, "200.50"},
        {5, "A6", "mV", 100, 24.0f, 0.25f, -1.0f, "2.400E+01"},
        {7, "A8", "", 100, 0.0f, 0.0f, 0.0f, "0.000E+00"},
        {8, "ACC x", "G", static_cast<std::int16_t>(0x2001), -4094.5f, 0.5f, 1.0f, "-4094.500"},
        {10, "ACC z", "G", -1, -2.0f, 2.0f, 0.0f, "-2.000"},
        {11, "T", "°C", 0x1FF0, -1.0f, 0.0625f, 0.0f, "-1.0"},
        {12, "p", "mbar", 10132, 1013.2f, 0.1f, 0.0f, "1013.2"},
        {13, "RH", "%", 4550, 45.5f, 0.01f, 0.0f, "45.5"},
        {14, "L", "lux", 25, 100.0f, 4.0f, 0.0f, "100"},
        {15, "Marker", "", 2, 2.0f, 1.0f, 0.0f, "2"},
        {16, "BAT", "V", 4095, 6.0f, 0.0014652015f, 0.0f, "6.00"},
        {17, "FSC", "", 3, 3.0f, 1.0f, 0.0f, "3"},
        {18, "qel time", "", 3, 3.0f, 1.0f, 0.0f, "3"},
        {22, "block dt", "", 3, 3.0f, 1.0f, 0.0f, "3"},
        {23, "", "", 3, 3.0f, 1.0f, 0.0f, "3"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(logger.GetChName(c.ch), c.name) << c.ch;
        EXPECT_EQ(logger.GetChUnit(c.ch), c.unit) << c.ch;
        EXPECT_FLOAT_EQ(logger.CalcChValue(c.ch, c.raw), c.value) << c.ch;
        EXPECT_FLOAT_EQ(logger.getChGain(c.ch), c.gain) << c.ch;
        EXPECT_FLOAT_EQ(logger.getChOffset(c.ch), c.offset) << c.ch;
        EXPECT_EQ(logger.GetValueStr(c.ch, c.value), c.text) << c.ch;
    }
}

// Each input without a name is named after its own number.
TEST_F(Qel25Test, UnnamedInputsCarryTheirNumber)
{
    for (int input = 0; input < T::InputCount; ++input) {
        logger.AIN[input].chNAME.clear();
        EXPECT_EQ(logger.GetChName(static_cast<std::uint32_t>(input)), TextWithNumber("A", input + 1));
    }
}

TEST_F(Qel25Test, ConfigurationChangesTheTable)
{
    logger.INT_CFG = {T::cINT_MS_14BAR, T::cINT_200G};
    EXPECT_FLOAT_EQ(logger.CalcChValue(12, 10132), 10132.0f);
    EXPECT_EQ(logger.getChGain(12), 1.0f);
    EXPECT_EQ(logger.GetValueStr(12, 10132.0f), "10132");
    EXPECT_EQ(logger.GetInvLimitValue(12, 1013.0f), 1013);
    EXPECT_EQ(logger.GetValueStr(8, 1.25f), "1.3");
    AsianLocale = true;
    EXPECT_EQ(logger.GetChUnit(11), "*C");
}

TEST_F(Qel25Test, LimitsAndInverseLimits)
{
    EXPECT_FLOAT_EQ(logger.GetLimitValue(8, 0x2001), 4097.5f);
    EXPECT_FLOAT_EQ(logger.GetLimitValue(11, -16), -1.0f);
    EXPECT_FLOAT_EQ(logger.GetLimitValue(12, 10132), 1013.2f);
    struct Case {
        std::uint32_t ch;
        float value;
        std::int16_t raw;
    };
    const Case cases[] = {
        {0, 200.5f, 100}, {8, 2.0f, 2},     {11, -1.0f, -16}, {12, 1013.2f, 10132}, {13, 45.5f, 4550},
        {14, 100.0f, 25}, {16, 6.0f, 4095}, {7, 1.0f, 0},     {15, 1.0f, 0},        {17, 1.0f, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(logger.GetInvLimitValue(c.ch, c.value), c.raw) << c.ch;
    }
}

TEST_F(Qel25Test, CalibrationFollowsTheFlags)
{
    logger.CAL_T_ACT_LO = 10.0f;
    logger.CAL_T_SET_LO = 0.0f;
    logger.CAL_T_ACT_HI = 90.0f;
    logger.CAL_T_SET_HI = 100.0f;
    logger.CAL_RH_ACT_LO = 10.0f;
    logger.CAL_RH_SET_LO = 0.0f;
    logger.CAL_RH_ACT_HI = 90.0f;
    logger.CAL_RH_SET_HI = 100.0f;
    logger.CAL_T = logger.CAL_RH = true;
    EXPECT_FLOAT_EQ(logger.CalcChValue(11, 90 * 16), 100.0f);
    EXPECT_FLOAT_EQ(logger.CalcChValue(13, 9000), 100.0f);
    EXPECT_FLOAT_EQ(logger.getChGain(11), 0.078125f);
    EXPECT_FLOAT_EQ(logger.getChOffset(13), -12.5f);
    EXPECT_EQ(logger.GetInvLimitValue(13, 100.0f), 9000);
    logger.CAL_RH_ACT_HI = logger.CAL_RH_ACT_LO;
    EXPECT_EQ(SingleBits(logger.CalcChValue(13, 9000)), NO_VALUE_BITS);
    EXPECT_EQ(logger.getChGain(13), 1.0f);
    EXPECT_EQ(logger.getChOffset(13), 0.0f);
    logger.CheckCalMode();
    EXPECT_FALSE(logger.CAL_RH);
    EXPECT_TRUE(logger.CAL_T);
}

TEST_F(Qel25Test, GapValues)
{
    for (std::uint32_t ch = 0; ch < 20; ++ch) {
        EXPECT_EQ(logger.IsGAPValue(ch, 32752), ch <= 3 || (ch >= 8 && ch <= 10)) << ch;
        EXPECT_FALSE(logger.IsGAPValue(ch, 0)) << ch;
    }
}

TEST_F(Qel25Test, RangesOfValidValues)
{
    struct Case {
        std::uint32_t ch;
        float value;
        bool valid;
    };
    const Case cases[] = {
        {8, 250.0f, true},   {9, -250.5f, false}, {11, 125.0f, true},   {11, -55.5f, false}, {12, 30000.0f, true},
        {12, -1.0f, false},  {13, 100.0f, true},  {13, 100.5f, false},  {16, 0.0f, true},    {16, 10.5f, false},
        {0, -1e9f, true},    {14, -1e9f, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(logger.IsValidValue(c.ch, c.value), c.valid) << c.ch << " " << c.value;
    }
    logger.INT_CFG.Include(T::cINT_200G);
    EXPECT_FALSE(logger.IsValidValue(10, 21.0f));
    RegSettings.bRegCheckRange = false;
    EXPECT_TRUE(logger.IsValidValue(10, 21.0f));
    EXPECT_FALSE(logger.IsValidValue(10, NoValueMarker()));
}

TEST_F(Qel25Test, CurrentValueWithItsText)
{
    logger.CH[11] = 0x0190;
    logger.CH[9] = 32002;
    logger.CH[0] = 32002;
    float value = 1.0f;
    std::string text;
    EXPECT_TRUE(logger.GetChValue(11, value, text));
    EXPECT_EQ(text, "25.0 °C");
    EXPECT_FALSE(logger.GetChValue(9, value, text));
    EXPECT_EQ(text, "shock mode");
    EXPECT_FALSE(logger.GetChValue(0, value, text));
    EXPECT_EQ(text, "?");
    EXPECT_FALSE(logger.GetChValue(19, value, text));
    EXPECT_EQ(value, 0.0f);
    EXPECT_EQ(logger.GetChValue(18), 0.0f);
}

TEST_F(Qel25Test, FeatureTests)
{
    logger.CH_EN[0] = logger.CH_EN[1] = logger.CH_EN[2] = true;
    EXPECT_FALSE(logger.RecInputExists());
    logger.CH_EN[3] = true;
    EXPECT_TRUE(logger.RecInputExists());
    logger.ID_VER = V(1, 255);
    EXPECT_FALSE(logger.IsMissionData());
    logger.ID_VER = V(2, 0);
    EXPECT_TRUE(logger.IsMissionData());
    logger.INT_CFG = {T::cINT_SDCARD, T::cINT_RECTIMER, T::cINT_POSTRIG};
    logger.ID_VER_PC = V(1, 2);
    EXPECT_TRUE(logger.IsSDCard());
    EXPECT_TRUE(logger.isPosttrigger());
    logger.ID_VER = V(1, 79);
    EXPECT_TRUE(logger.hasRecTimer());
    EXPECT_TRUE(logger.IsRuntime());
    EXPECT_TRUE(logger.IsPeakACC());
    EXPECT_TRUE(logger.IsExtendedState());
    logger.RECTIMER_H = logger.RECTIMER_L = 3;
    EXPECT_TRUE(logger.isRecTimerActive());
    logger.ID_VER = V(1, 28);
    EXPECT_FALSE(logger.hasRecTimer());
    EXPECT_FALSE(logger.IsPeakACC());
    logger.REC_FAST = cFAST_ADC;
    EXPECT_EQ(logger.IsLimit(3), cLT_ADC);
    EXPECT_EQ(logger.IsLimit(4), cLT_STD);
    logger.REC_FAST = cFAST_SHOCK;
    EXPECT_EQ(logger.IsLimit(10), cLT_ACC);
    EXPECT_EQ(logger.IsLimit(3), cLT_STD);
}

TEST_F(Qel25Test, LimitsDemoAndIniDump)
{
    logger.SetLimit(17, 1, 2, 3.0f, 4.0f);
    logger.SetLimit(18, 1, 2, 3.0f, 4.0f);
    EXPECT_TRUE(logger.LIMITS[17].READ);
    logger.ClearLimits();
    EXPECT_FALSE(logger.LIMITS[17].READ);

    qeltest::TempDir dir;
    plat::SetProgramPath(dir.File("prog"));
    logger.FillDemoMode();
    EXPECT_EQ(logger.ID_CLASS, 0x6628);
    EXPECT_EQ(logger.ID_VER_PC, V(1, 0));
    EXPECT_EQ(logger.NAME, "logger");
    EXPECT_FLOAT_EQ(logger.GetChValue(11), 25.0f);
    logger.SaveToFile();
    plat::SetProgramPath("");
    plat::TIniFile ini(dir.File("prog.ini"));
    EXPECT_EQ(ini.ReadInteger("A", "ID_CLASS", 0), 0x6628);
    EXPECT_TRUE(ini.ValueExists("H", "INT_CFG2"));
    EXPECT_FALSE(ini.ValueExists("H", "INT_CFG3"));
    EXPECT_FALSE(ini.SectionExists("J"));
    EXPECT_TRUE(ini.SectionExists("L17"));
}

} // namespace
} // namespace qel
