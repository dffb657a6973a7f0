// Tests of the QEL649 logger class: channel table, conversions, gap values,
// ranges, current values and feature tests.
#include "loggers/qel649.h"

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

using T = TQEL649;

std::int16_t Raw(std::uint16_t bits)
{
    return static_cast<std::int16_t>(bits);
}

class Qel649Test : public LoggerTest {
protected:
    void SetUp() override
    {
        LoggerTest::SetUp();
        logger.ID_CLASS = 0x6606;
        logger.ID_VER = V(2, 36);
        logger.X2G_GAIN_USR = 0.5f;
        logger.X2G_OFS_USR = 1.0f;
        logger.Y2G_GAIN_USR = 2.0f;
        logger.Z2G_GAIN_USR = 3.0f;
        logger.Z2G_OFS_USR = -1.0f;
        logger.SetUserInput(1, "", "mV", 0.5f, 2.0f);
        logger.SetUserInput(2, "Flow", "l/h", -1.0f, 0.25f);
        logger.SetUserInput(4, "", "", 0.0f, 0.0f);
    }

    void CalibrationOn()
    {
        logger.CAL_RH_ACT_LO = 10.0f;
        logger.CAL_RH_SET_LO = 0.0f;
        logger.CAL_RH_ACT_HI = 90.0f;
        logger.CAL_RH_SET_HI = 100.0f;
        logger.CAL_T_ACT_LO = 10.0f;
        logger.CAL_T_SET_LO = 0.0f;
        logger.CAL_T_ACT_HI = 90.0f;
        logger.CAL_T_SET_HI = 100.0f;
        logger.CAL_RH = logger.CAL_T = logger.CAL_T_RH = true;
    }

    T logger;
};

TEST_F(Qel649Test, NamesByModelCode)
{
    EXPECT_EQ(logger.GetName(), "QEL649");
    logger.ID_CLASS = 0x6607;
    EXPECT_EQ(logger.GetName(), "QEL640");
    logger.ID_CLASS = 0x6628;
    EXPECT_EQ(logger.GetName(), "?");
}

TEST_F(Qel649Test, ChannelTable)
{
    struct Case {
        std::uint32_t ch;
        const char* name;
        const char* unit;
        std::int16_t raw;
        float value;
        float gain;
        float offset;
        const char* text; // of the value
    };
    const Case cases[] = {
        {0, "p", "mbar", 10132, 1013.2f, 0.1f, 0.0f, "1013.2"},
        {1, "T(p)", "°C", -215, -21.5f, 0.1f, 0.0f, "-21.5"},
        {2, "ACC x", "G", Raw(0x2001), -4094.5f, 0.5f, 1.0f, "-4094.500"},
        {3, "ACC y", "G", Raw(0x1FFF), 16382.0f, 2.0f, 0.0f, "16382.000"},
        {4, "ACC z", "G", Raw(0xFFFF), -4.0f, 3.0f, -1.0f, "-4.000"},
        {5, "RH", "%", 4550, 45.5f, 0.01f, 0.0f, "45.5"},
        {6, "T(RH)", "°C", 2150, 21.5f, 0.01f, 0.0f, "21.5"},
        {7, "T", "°C", 0x0190, 25.0f, 0.0625f, 0.0f, "25.0"},
        {8, "L", "lux", 25, 100.0f, 4.0f, 0.0f, "100"},
        {9, "A1", "mV", 100, 200.5f, 2.0f, 0.5f, "200.50"},
        {10, "Flow", "l/h", 100, 24.0f, 0.25f, -1.0f, "24.000"},
        {11, "A3", "", 7, 0.0f, 0.0f, 0.0f, "0.000E+00"},
        {12, "A4", "", 7, 0.0f, 0.0f, 0.0f, "0.000E+00"},
        {13, "FSC", "", 3, 3.0f, 1.0f, 0.0f, "3"},
        {14, "", "", 3, 3.0f, 1.0f, 0.0f, "3"},
        {15, "", "", 3, 3.0f, 1.0f, 0.0f, "3"},
        {16, "Marker", "", 2, 2.0f, 1.0f, 0.0f, "2"},
        {17, "BAT", "V", 4095, 6.0f, 0.0014652015f, 0.0f, "6.00"},
        {18, "qel time", "", 5, 5.0f, 1.0f, 0.0f, "5"},
        {19, "link", "", 5, 5.0f, 1.0f, 0.0f, "5"},
        {20, "pretrigger", "", 5, 5.0f, 1.0f, 0.0f, "5"},
        {21, "page time", "", 5, 5.0f, 1.0f, 0.0f, "5"},
        {22, "block dt", "", 5, 5.0f, 1.0f, 0.0f, "5"},
        {23, "", "", -5, -5.0f, 1.0f, 0.0f, "-5"},
    };
    logger.A1_FMT = 3;
    logger.A2_FMT = 4;
    for (const Case& c : cases) {
        EXPECT_EQ(logger.GetChName(c.ch), c.name) << c.ch;
        EXPECT_EQ(logger.GetChUnit(c.ch), c.unit) << c.ch;
        EXPECT_FLOAT_EQ(logger.CalcChValue(c.ch, c.raw), c.value) << c.ch;
        EXPECT_FLOAT_EQ(logger.getChGain(c.ch), c.gain) << c.ch;
        EXPECT_FLOAT_EQ(logger.getChOffset(c.ch), c.offset) << c.ch;
        EXPECT_EQ(logger.GetValueStr(c.ch, c.value), c.text) << c.ch;
    }
}

TEST_F(Qel649Test, ConfigurationChangesTheTable)
{
    logger.INT_CFG = {T::cINT_MS_14BAR, T::cINT_200G, T::cINT_LIGHT};
    EXPECT_FLOAT_EQ(logger.CalcChValue(0, 10132), 10132.0f);
    EXPECT_EQ(logger.getChGain(0), 1.0f);
    EXPECT_EQ(logger.GetValueStr(0, 10132.0f), "10132");
    EXPECT_EQ(logger.GetValueStr(2, 1.25f), "1.3");
    EXPECT_EQ(logger.GetChName(9), "L1");
    EXPECT_EQ(logger.GetChUnit(9), "mV");
    AsianLocale = true;
    EXPECT_EQ(logger.GetChUnit(7), "*C");
    EXPECT_EQ(logger.GetChUnit(1), "*C");
    EXPECT_EQ(logger.GetChUnit(6), "*C");
}

TEST_F(Qel649Test, TemperatureReadsThirteenBits)
{
    EXPECT_FLOAT_EQ(logger.CalcChValue(7, 0x0190), 25.0f);
    EXPECT_FLOAT_EQ(logger.CalcChValue(7, 0x1FF0), -1.0f);
    EXPECT_FLOAT_EQ(logger.CalcChValue(7, Raw(0xE190)), 25.0f);
    // A limit is taken whole.
    EXPECT_FLOAT_EQ(logger.GetLimitValue(7, -16), -1.0f);
    EXPECT_FLOAT_EQ(logger.GetLimitValue(7, 0x1FF0), 511.0f);
}

TEST_F(Qel649Test, AccelerationConvertsBeforeTheUserCalibration)
{
    // 0x2000 is -8192 in 14 bits: -8192 × 2 for the Y axis.
    EXPECT_FLOAT_EQ(logger.CalcChValue(3, 0x2000), -16384.0f);
    // A limit takes the raw number as it is.
    EXPECT_FLOAT_EQ(logger.GetLimitValue(3, 0x2000), 16384.0f);
    EXPECT_EQ(logger.GetInvLimitValue(3, 16384.0f), 8192);
    EXPECT_EQ(logger.GetInvLimitValue(2, 2.0f), 2);
}

TEST_F(Qel649Test, CalibrationsFollowTheFlagsAlone)
{
    logger.ID_VER = V(0, 0);
    CalibrationOn();
    EXPECT_FLOAT_EQ(logger.CalcChValue(5, 5000), 50.0f);
    EXPECT_FLOAT_EQ(logger.CalcChValue(5, 9000), 100.0f);
    EXPECT_FLOAT_EQ(logger.CalcChValue(6, 9000), 100.0f);
    EXPECT_FLOAT_EQ(logger.CalcChValue(7, 90 * 16), 100.0f);
    EXPECT_FLOAT_EQ(logger.GetLimitValue(7, 90 * 16), 100.0f);
    EXPECT_FLOAT_EQ(logger.getChGain(5), 0.0125f);
    EXPECT_FLOAT_EQ(logger.getChOffset(5), -12.5f);
    EXPECT_FLOAT_EQ(logger.getChGain(7), 0.078125f);
    EXPECT_FLOAT_EQ(logger.getChOffset(7), -12.5f);
    EXPECT_EQ(logger.GetInvLimitValue(5, 100.0f), 9000);
    EXPECT_EQ(logger.GetInvLimitValue(6, 100.0f), 9000);
    EXPECT_EQ(logger.GetInvLimitValue(7, 100.0f), 90 * 16);
    // Coinciding measured points make every conversion fault to its neutral answer.
    logger.CAL_T_ACT_HI = logger.CAL_T_ACT_LO;
    EXPECT_EQ(SingleBits(logger.CalcChValue(7, 100)), NO_VALUE_BITS);
    EXPECT_EQ(SingleBits(logger.GetLimitValue(6, 100)), NO_VALUE_BITS);
    EXPECT_EQ(logger.getChGain(7), 1.0f);
    EXPECT_EQ(logger.getChOffset(7), 0.0f);
    EXPECT_EQ(logger.GetInvLimitValue(7, 20.0f), 0);
}

TEST_F(Qel649Test, PressureSensorCodes)
{
    logger.EXT_PSENSOR.bValid = true;
    struct Case {
        std::uint8_t code;
        float value;
        float limit;
        float gain;
        const char* text;
        std::int16_t inv;
        const char* unit;
    };
    const Case cases[] = {
        {1, 1000.0f, 1000.0f, 1.0f, "1000", 1000, "mbar"},  {3, 1000.0f, 1000.0f, 1.0f, "1000", 1000, "mbar"},
        {33, 1000.0f, 1000.0f, 1.0f, "1000", 1000, "mbar"}, {0, 100.0f, 100.0f, 0.1f, "100.0", 10000, "mbar"},
        {34, 100.0f, 100.0f, 0.1f, "100.0", 10000, "bar"},  {35, 100.0f, 100.0f, 0.1f, "100.0", 10000, "mbar"},
        {36, 1000.0f, 1000.0f, 1.0f, "", 0, "mbar"},        {5, 1000.0f, 1000.0f, 1.0f, "", 0, "mbar"},
    };
    for (const Case& c : cases) {
        logger.EXT_PSENSOR.INT_PINT = c.code; // 34 is 0x22, the sensor read in bar
        EXPECT_FLOAT_EQ(logger.CalcChValue(0, 1000), c.value) << int(c.code);
        EXPECT_FLOAT_EQ(logger.GetLimitValue(0, 1000), c.limit) << int(c.code);
        EXPECT_FLOAT_EQ(logger.getChGain(0), c.gain) << int(c.code);
        EXPECT_EQ(logger.GetValueStr(0, c.value), c.text) << int(c.code);
        EXPECT_EQ(logger.GetInvLimitValue(0, 1000.0f), c.inv) << int(c.code);
        EXPECT_EQ(logger.GetChUnit(0), c.unit) << int(c.code);
        EXPECT_TRUE(logger.IsValidValue(0, -1.0f)) << int(c.code);
    }
    // Before 2.02 the block is not read, whatever it holds.
    logger.ID_VER = V(2, 1);
    EXPECT_FLOAT_EQ(logger.CalcChValue(0, 1000), 100.0f);
    EXPECT_FALSE(logger.IsValidValue(0, -1.0f));
}

TEST_F(Qel649Test, GapValues)
{
    for (std::uint32_t ch = 0; ch < 24; ++ch) {
        const bool gapChannel = (ch >= 2 && ch <= 4) || (ch >= 9 && ch <= 12);
        EXPECT_EQ(logger.IsGAPValue(ch, 32752), gapChannel) << ch;
        EXPECT_FALSE(logger.IsGAPValue(ch, 32751)) << ch;
    }
}

TEST_F(Qel649Test, RangesOfValidValues)
{
    struct Case {
        std::uint32_t ch;
        float value;
        bool valid;
    };
    const Case cases[] = {
        {0, 30000.0f, true}, {0, -0.5f, false}, {1, -40.0f, true},  {1, -40.5f, false}, {2, 250.0f, true},
        {4, -251.0f, false}, {5, 100.0f, true}, {5, 100.5f, false}, {6, 123.8f, true},  {6, -41.0f, false},
        {7, -55.0f, true},   {7, 125.5f, false}, {17, 10.0f, true}, {17, 10.5f, false}, {9, -1e9f, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(logger.IsValidValue(c.ch, c.value), c.valid) << c.ch << " " << c.value;
    }
    logger.INT_CFG.Include(T::cINT_200G);
    EXPECT_TRUE(logger.IsValidValue(3, 20.0f));
    EXPECT_FALSE(logger.IsValidValue(3, 20.5f));
    RegSettings.bRegCheckRange = false;
    EXPECT_TRUE(logger.IsValidValue(3, 1e6f));
    EXPECT_FALSE(logger.IsValidValue(3, GapValueMarker()));
}

TEST_F(Qel649Test, InverseLimits)
{
    struct Case {
        std::uint32_t ch;
        float value;
        std::int16_t raw;
    };
    const Case cases[] = {
        {0, 1013.2f, 10132}, {1, -21.5f, -215}, {2, 2.0f, 2},    {5, 45.5f, 4550}, {6, 21.5f, 2150},
        {7, 25.0f, 400},     {8, 100.0f, 25},   {9, 200.5f, 100}, {10, 24.0f, 100}, {12, 5.0f, 0},
        {13, 1.0f, 0},       {16, 1.0f, 0},     {17, 6.0f, 4095}, {18, 1.0f, 0},    {1, 1e9f, 32000},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(logger.GetInvLimitValue(c.ch, c.value), c.raw) << c.ch;
    }
    logger.INT_CFG.Include(T::cINT_MS_14BAR);
    EXPECT_EQ(logger.GetInvLimitValue(0, 1013.0f), 1013);
}

TEST_F(Qel649Test, CurrentValueWithItsText)
{
    logger.CH[7] = 0x0190;
    logger.CH[2] = 32002;
    logger.CH[9] = 32002;
    logger.CH[5] = 20000; // 200 %: beyond the range
    float value = 1.0f;
    std::string text;
    EXPECT_TRUE(logger.GetChValue(7, value, text));
    EXPECT_EQ(value, 25.0f);
    EXPECT_EQ(text, "25.0 °C");
    EXPECT_FALSE(logger.GetChValue(2, value, text));
    EXPECT_EQ(text, "shock mode");
    EXPECT_EQ(value, 0.0f);
    EXPECT_FALSE(logger.GetChValue(9, value, text));
    EXPECT_EQ(text, "?");
    EXPECT_FALSE(logger.GetChValue(5, value, text));
    EXPECT_EQ(value, 200.0f);
    EXPECT_EQ(text, "?");
    EXPECT_FALSE(logger.GetChValue(14, value, text)); // no name
    // Named bookkeeping channels have no stored reading.
    EXPECT_FALSE(logger.GetChValue(20, value, text));
    EXPECT_EQ(value, 0.0f);
    EXPECT_EQ(logger.GetChValue(20), 0.0f);
    EXPECT_FLOAT_EQ(logger.GetChValue(7), 25.0f);
}

TEST_F(Qel649Test, FeatureTests)
{
    struct Case {
        const char* name;
        bool (T::*test)() const;
        std::uint16_t below;
        std::uint16_t from;
    };
    const Case cases[] = {
        {"IsMissionData", &T::IsMissionData, V(1, 255), V(2, 0)},
        {"IsLightSFH", &T::IsLightSFH, V(1, 13), V(1, 14)},
        {"IsExtendedState", &T::IsExtendedState, V(1, 33), V(1, 34)},
        {"IsPeakACC", &T::IsPeakACC, V(1, 28), V(1, 29)},
        {"IsRuntime", &T::IsRuntime, V(1, 63), V(1, 64)},
        {"HasADC_2_4_8Hz", &T::HasADC_2_4_8Hz, V(2, 35), V(2, 36)},
        {"existsExtendedPSensor", &T::existsExtendedPSensor, V(2, 1), V(2, 2)},
    };
    for (const Case& c : cases) {
        logger.ID_VER = c.below;
        EXPECT_FALSE((logger.*c.test)()) << c.name;
        logger.ID_VER = c.from;
        EXPECT_TRUE((logger.*c.test)()) << c.name;
    }
    logger.INT_CFG = {T::cINT_SDCARD, T::cINT_RECTIMER};
    logger.ID_VER_PC = V(1, 1);
    EXPECT_FALSE(logger.IsSDCard());
    logger.ID_VER_PC = V(1, 2);
    EXPECT_TRUE(logger.IsSDCard());
    logger.ID_VER = V(1, 78);
    EXPECT_FALSE(logger.hasRecTimer());
    logger.ID_VER = V(1, 79);
    EXPECT_TRUE(logger.hasRecTimer());
    logger.RECTIMER_L = 5;
    logger.RECTIMER_H = 0xFFFF;
    EXPECT_FALSE(logger.isRecTimerActive());
    logger.RECTIMER_H = 1;
    EXPECT_TRUE(logger.isRecTimerActive());
    logger.RECTIMER_L = 0;
    EXPECT_FALSE(logger.isRecTimerActive());
    logger.CH_EN[9] = logger.CH_EN[10] = logger.CH_EN[11] = true;
    EXPECT_FALSE(logger.RecInputExists());
    logger.CH_EN[12] = true;
    EXPECT_TRUE(logger.RecInputExists());
    EXPECT_FALSE(logger.IsExtendedRTC());
    logger.RTC = 1;
    EXPECT_TRUE(logger.IsExtendedRTC());
}

TEST_F(Qel649Test, AnalogInputModeAndLimitKinds)
{
    EXPECT_EQ(logger.GetAdcMode(), T::cADC_NONE);
    logger.CH_EN[9] = logger.CH_EN[10] = true;
    EXPECT_EQ(logger.GetAdcMode(), T::cADC_NONE);
    logger.INT_CFG.Include(T::cINT_POSTRIG);
    EXPECT_EQ(logger.GetAdcMode(), T::cADC_A4);
    logger.INT_CFG = {};
    logger.CH_EN[11] = true;
    EXPECT_EQ(logger.GetAdcMode(), T::cADC_A4);
    logger.INT_CFG.Include(T::cINT_LIGHT);
    EXPECT_EQ(logger.GetAdcMode(), T::cADC_LIGHT);

    logger.CH_MASK = logger.CH_MASK2 = 0x8001;
    logger.SetInternAdcMode(T::cADC_NONE);
    EXPECT_FALSE(logger.INT_CFG.Contains(T::cINT_LIGHT));
    EXPECT_EQ(logger.CH_MASK, 0x8001);
    logger.SetInternAdcMode(T::cADC_LIGHT);
    EXPECT_TRUE(logger.INT_CFG.Contains(T::cINT_LIGHT));
    EXPECT_EQ(logger.CH_MASK, 0x8201);
    EXPECT_EQ(logger.CH_MASK2, 0x8201);
    logger.SetInternAdcMode(T::cADC_A4);
    EXPECT_FALSE(logger.INT_CFG.Contains(T::cINT_LIGHT));
    EXPECT_EQ(logger.CH_MASK, 0x9E01);
    logger.SetInternAdcMode(T::cADC_NONE);
    EXPECT_EQ(logger.CH_MASK2, 0x8001);
    logger.INT_CFG.Include(T::cINT_POSTRIG);
    logger.SetInternAdcMode(T::cADC_A4);
    EXPECT_EQ(logger.CH_MASK, 0x8601);

    struct Case {
        TFAST_MODE mode;
        std::uint8_t ch;
        TLIMIT kind;
    };
    const Case cases[] = {
        {cFAST_SHOCK, 2, cLT_ACC}, {cFAST_ACC, 4, cLT_ACC}, {cFAST_ACC, 5, cLT_STD},  {cFAST_ADC, 9, cLT_ADC},
        {cFAST_ADC, 12, cLT_ADC},  {cFAST_ADC, 2, cLT_STD}, {cFAST_OFF, 2, cLT_STD}, {cPEAK_ACC, 3, cLT_STD},
    };
    for (const Case& c : cases) {
        logger.REC_FAST = c.mode;
        EXPECT_EQ(logger.IsLimit(c.ch), c.kind) << c.mode << " " << int(c.ch);
    }
}

TEST_F(Qel649Test, Limits)
{
    logger.SetLimit(17, 1, 2, 3.0f, 4.0f);
    EXPECT_TRUE(logger.LIMITS[17].READ);
    logger.SetLimit(18, 1, 2, 3.0f, 4.0f);
    logger.ClearLimits();
    EXPECT_FALSE(logger.LIMITS[17].READ);
    EXPECT_EQ(logger.LIMITS[17].VALUE2, 4.0f);
}

TEST_F(Qel649Test, DemoLoggerAndIniDump)
{
    qeltest::TempDir dir;
    plat::SetProgramPath(dir.File("reader.bin"));
    logger.FillDemoMode();
    EXPECT_EQ(logger.ID_CLASS, 0x6606);
    EXPECT_EQ(logger.ID_VER, V(1, 0));
    EXPECT_EQ(logger.SN, 200013u);
    EXPECT_EQ(logger.A3_UNIT_USR, "mV");
    EXPECT_FLOAT_EQ(logger.GetChValue(7), 25.0f);
    logger.SaveToFile();
    plat::SetProgramPath("");
    plat::TIniFile ini(dir.File("reader.ini"));
    EXPECT_EQ(ini.ReadInteger("A", "ID_CLASS", 0), 0x6606);
    EXPECT_EQ(ini.ReadString("K", "CAL_INFO", ""), "cal");
    EXPECT_EQ(ini.ReadString("J", "A2_UNIT_USR", ""), "mV");
    EXPECT_TRUE(ini.SectionExists("L17"));
    EXPECT_FALSE(ini.SectionExists("L18"));
}

} // namespace
} // namespace qel
