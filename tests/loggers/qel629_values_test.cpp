// Tests of the QEL629 channel values: conversions of raw samples and limits,
// inverse limits, scaling, ranges and display texts.
#include "loggers/qel629.h"

#include "foundations/byte_helpers.h"
#include "logger_test_env.h"

namespace qel {
namespace {

constexpr std::uint16_t V(int major, int minor)
{
    return static_cast<std::uint16_t>(major << 8 | minor);
}

using T = TQEL629;

std::int16_t Raw(std::uint16_t bits)
{
    return static_cast<std::int16_t>(bits);
}

bool IsNoValue(float value)
{
    return SingleBits(value) == NO_VALUE_BITS;
}

class Qel629ValuesTest : public LoggerTest {
protected:
    void SetUp() override
    {
        LoggerTest::SetUp();
        logger.ID_CLASS = 0x6601;
        logger.ID_VER = V(5, 14);
        logger.X2G_GAIN_USR = 2.0f;
        logger.X2G_OFS_USR = 1.0f;
        logger.Y2G_GAIN_USR = 3.0f;
        logger.Z2G_GAIN_USR = 4.0f;
        logger.X10G_GAIN_USR = 10.0f;
        logger.X10G_OFS_USR = -5.0f;
        logger.Z10G_GAIN_USR = 20.0f;
        logger.SetUserInput(1, "A", "mV", 0.5f, 2.0f);
        logger.SetUserInput(2, "B", "mA", -1.0f, 0.25f);
        logger.SetUserInput(3, "C", "V", 0.0f, 0.0f);
    }

    // Calibration points of both kinds: measured 10/90 are the references 0/100.
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

struct ValueCase {
    std::uint32_t ch;
    std::int16_t raw;
    float expected;
};

void ExpectValues(const T& logger, std::initializer_list<ValueCase> cases, const char* setting)
{
    for (const ValueCase& c : cases) {
        EXPECT_FLOAT_EQ(logger.CalcChValue(c.ch, c.raw), c.expected) << setting << " ch " << c.ch << " raw " << c.raw;
    }
}

TEST_F(Qel629ValuesTest, StandardChannels)
{
    ExpectValues(logger,
                 {{0, 10132, 1013.2f}, {1, -215, -21.5f}, {5, 4550, 45.5f}, {6, 2150, 21.5f}, {8, 7, 7.0f},
                  {9, 100, 200.5f}, {10, 100, 24.0f}, {11, 100, 0.0f}, {12, -3, 0.0f}, {13, -1, -1.0f},
                  {14, 4095, 6.0f}, {15, 123, 123.0f}, {16, 5, 5.0f}, {31, -9, -9.0f}, {40, 11, 11.0f}},
                 "standard");
    logger.INT_CFG.Include(T::cINT_MS_14BAR);
    ExpectValues(logger, {{0, 10132, 10132.0f}}, "14 bar");
}

TEST_F(Qel629ValuesTest, HumidityIsLimitedToItsRange)
{
    ExpectValues(logger, {{5, 10500, 100.0f}, {5, -20, 0.0f}, {5, 10000, 100.0f}, {5, 0, 0.0f}}, "humidity");
    // A limit value is not held to the range.
    EXPECT_FLOAT_EQ(logger.GetLimitValue(5, 10500), 105.0f);
}

TEST_F(Qel629ValuesTest, AccelerationRangeFromTheSample)
{
    // Bit 14 set: the 10 g pair; the low 14 bits are the reading.
    ExpectValues(logger,
                 {{2, Raw(0x4001), 5.0f}, {2, Raw(0x0001), 3.0f}, {2, Raw(0x2000), -16383.0f}, {3, Raw(0x3FFF), -3.0f},
                  {4, Raw(0x4002), 40.0f}, {4, Raw(0xC002), 40.0f}},
                 "acceleration");
    // Limits take the range of the configuration, without the 14-bit reading.
    EXPECT_FLOAT_EQ(logger.GetLimitValue(2, 0x2000), 16385.0f);
    logger.SMB_CFG.Include(T::cSMB_HIGH_G);
    EXPECT_FLOAT_EQ(logger.GetLimitValue(2, 3), 25.0f);
    EXPECT_FLOAT_EQ(logger.getChGain(2), 10.0f);
    EXPECT_FLOAT_EQ(logger.getChOffset(2), -5.0f);
}

TEST_F(Qel629ValuesTest, StandardTemperatureChannel)
{
    logger.ID_VER = V(5, 13); // temperature mode none: the standard sensor
    ExpectValues(logger, {{7, Raw(0x4010), 1.0f}, {7, Raw(0x5FF0), -1.0f}, {7, 2047, 60.0f}, {7, 0, -10.0f},
                          {7, Raw(0x0800), -10.0f}},
                 "standard sensor");
    EXPECT_TRUE(IsNoValue(logger.CalcChValue(7, Raw(0x2000))));
    EXPECT_TRUE(IsNoValue(logger.CalcChValue(7, Raw(0x2FFF))));
    logger.INT_CFG.Include(T::cINT_MAX31855);
    ExpectValues(logger, {{7, 100, 25.0f}, {7, Raw(0x3FFC), -1.0f}, {7, Raw(0x4000), -8000.0f}}, "MAX31855");
}

TEST_F(Qel629ValuesTest, TemperatureChannelModes)
{
    logger.INT_CFG = {T::cINT_T_EXT0};
    ExpectValues(logger, {{7, 100, 400.0f}}, "light");
    logger.INT_CFG = {T::cINT_T_EXT1};
    ExpectValues(logger, {{7, 100, 25.0f}, {7, Raw(0x82FF), -8000.0f}, {7, Raw(0xF064), 25.0f}}, "thermo1");
    logger.INT_CFG = {T::cINT_T_EXT1, T::cINT_MAX31855};
    ExpectValues(logger, {{7, Raw(0x3FFC), -1.0f}, {7, Raw(0x4000), -8000.0f}}, "thermo1 MAX31855");
    logger.INT_CFG = {T::cINT_T_EXT0, T::cINT_T_EXT1};
    ExpectValues(logger, {{10, 100, 25.0f}, {11, Raw(0x82FF), -8000.0f}, {12, 8, 2.0f}}, "thermo4 inputs");
    logger.INT_CFG.Include(T::cINT_MAX31855);
    ExpectValues(logger, {{12, Raw(0x4000), -8000.0f}}, "thermo4 MAX31855");
}

TEST_F(Qel629ValuesTest, CalibrationOnlyOnExtendedLoggers)
{
    CalibrationOn();
    // Measured 10 ... 90 to 0 ... 100: value = (x - 10) × 1.25.
    ExpectValues(logger, {{5, 5000, 50.0f}, {6, 5000, 50.0f}, {7, Raw(0x4000 | 800), 50.0f}, {5, 9000, 100.0f}},
                 "calibrated");
    EXPECT_FLOAT_EQ(logger.getChGain(5), 0.0125f);
    EXPECT_FLOAT_EQ(logger.getChOffset(5), -12.5f);
    EXPECT_FLOAT_EQ(logger.getChGain(6), 0.0125f);
    EXPECT_FLOAT_EQ(logger.getChOffset(6), -12.5f);
    logger.ID_CLASS = 0x6699; // not extended: the flags are ignored
    ExpectValues(logger, {{5, 5000, 50.0f}, {6, 5000, 50.0f}}, "model without calibration");
    EXPECT_FLOAT_EQ(logger.getChGain(5), 0.01f);
    EXPECT_FLOAT_EQ(logger.getChOffset(5), 0.0f);
}

TEST_F(Qel629ValuesTest, ChannelSevenScalingCarriesTheCalibration)
{
    // Standard sensor without DS620: value = raw × 70/2047 - 10, then calibrated.
    EXPECT_FLOAT_EQ(logger.getChGain(7), 70.0f / 2047.0f);
    EXPECT_FLOAT_EQ(logger.getChOffset(7), -10.0f);
    CalibrationOn();
    EXPECT_FLOAT_EQ(logger.getChGain(7), 70.0f / 2047.0f * 1.25f);
    EXPECT_FLOAT_EQ(logger.getChOffset(7), -10.0f * 1.25f - 12.5f);
    const float raw = 1500.0f;
    const float value = logger.CalcChValue(7, 1500);
    EXPECT_NEAR(raw * logger.getChGain(7) + logger.getChOffset(7), value, 1e-4f);
    logger.INT_CFG = {T::cINT_T_DS620};
    EXPECT_FLOAT_EQ(logger.getChGain(7), 0.0625f * 1.25f);
    EXPECT_FLOAT_EQ(logger.getChOffset(7), -12.5f);
    logger.INT_CFG = {T::cINT_T_EXT0};
    EXPECT_FLOAT_EQ(logger.getChGain(7), 4.0f * 1.25f);
    logger.INT_CFG = {T::cINT_T_EXT1};
    EXPECT_FLOAT_EQ(logger.getChGain(7), 0.25f * 1.25f);
}

TEST_F(Qel629ValuesTest, FaultingCalibrationGivesNoValue)
{
    CalibrationOn();
    logger.CAL_RH_ACT_HI = logger.CAL_RH_ACT_LO; // not yet dropped by CheckCalMode
    logger.CAL_T_ACT_HI = logger.CAL_T_ACT_LO;
    EXPECT_TRUE(IsNoValue(logger.CalcChValue(5, 5000)));
    EXPECT_TRUE(IsNoValue(logger.CalcChValue(6, 5000)));
    EXPECT_TRUE(IsNoValue(logger.CalcChValue(7, 2000)));
    EXPECT_TRUE(IsNoValue(logger.GetLimitValue(5, 5000)));
    EXPECT_TRUE(IsNoValue(logger.GetLimitValue(7, 2000)));
    EXPECT_EQ(logger.getChGain(5), 1.0f);
    EXPECT_EQ(logger.getChOffset(5), 0.0f);
    EXPECT_EQ(logger.getChGain(7), 1.0f);
    EXPECT_EQ(logger.getChOffset(7), 0.0f);
    EXPECT_EQ(logger.GetInvLimitValue(5, 50.0f), 0);
    EXPECT_EQ(logger.GetInvLimitValue(7, 20.0f), 0);
}

TEST_F(Qel629ValuesTest, OverflowingScalingGivesNoValue)
{
    logger.SetUserInput(1, "A", "mV", 0.0f, 3e38f);
    EXPECT_TRUE(IsNoValue(logger.CalcChValue(9, 100)));
    EXPECT_EQ(logger.GetInvLimitValue(9, 5.0f), 0); // 5 / 3e38 rounds to 0
    logger.SetUserInput(1, "A", "mV", 0.0f, 0.0f);
    EXPECT_EQ(logger.GetInvLimitValue(9, 5.0f), 0); // division by zero
    EXPECT_FLOAT_EQ(logger.CalcChValue(9, 100), 0.0f);
}

TEST_F(Qel629ValuesTest, PressureSensorCodes)
{
    logger.ID_VER = V(5, 120);
    logger.EXT_PSENSOR.bValid = true;
    struct Case {
        std::uint8_t code;
        float value;
        float gain;
        const char* text;
        std::int16_t invOf1000;
    };
    const Case cases[] = {
        {1, 1000.0f, 1.0f, "1000", 1000},    {3, 1000.0f, 1.0f, "1000", 1000},   {33, 1000.0f, 1.0f, "1000", 1000},
        {0, 100.0f, 0.1f, "100.0", 10000},   {2, 100.0f, 0.1f, "100.0", 10000},  {4, 100.0f, 0.1f, "100.0", 10000},
        {32, 100.0f, 0.1f, "100.0", 10000},  {36, 100.0f, 0.1f, "100.0", 10000}, {5, 1000.0f, 1.0f, "", 0},
        {31, 1000.0f, 1.0f, "", 0},          {37, 1000.0f, 1.0f, "", 0},         {255, 1000.0f, 1.0f, "", 0},
    };
    for (const Case& c : cases) {
        logger.EXT_PSENSOR.INT_PINT = c.code;
        EXPECT_FLOAT_EQ(logger.CalcChValue(0, 1000), c.value) << int(c.code);
        EXPECT_FLOAT_EQ(logger.GetLimitValue(0, 1000), c.value) << int(c.code);
        EXPECT_FLOAT_EQ(logger.getChGain(0), c.gain) << int(c.code);
        EXPECT_EQ(logger.GetValueStr(0, c.value), c.text) << int(c.code);
        EXPECT_EQ(logger.GetInvLimitValue(0, 1000.0f), c.invOf1000) << int(c.code);
        // Any sensor value is valid: the range check does not apply.
        EXPECT_TRUE(logger.IsValidValue(0, -5.0f)) << int(c.code);
    }
}

TEST_F(Qel629ValuesTest, ExternalChannels)
{
    logger.ID_VER = V(5, 120);
    logger.INT_CFG = {T::cINT_CHX};
    logger.INT_CH_EXT = 0x00; // pressure sensors
    ExpectValues(logger, {{16, 1000, 1000.0f}, {17, 215, 21.5f}, {22, 1000, 1000.0f}, {23, 5, 0.5f}, {24, 9, 9.0f}},
                 "pressure");
    EXPECT_EQ(logger.getChGain(16), 1.0f);
    EXPECT_EQ(logger.getChGain(17), 0.1f);
    EXPECT_EQ(logger.GetValueStr(16, 1000.4f), "1000");
    logger.EXT_PSENSOR = {true, 0, 2};
    ExpectValues(logger, {{16, 1000, 100.0f}}, "pressure in tenths");
    EXPECT_EQ(logger.getChGain(16), 0.1f);
    EXPECT_EQ(logger.GetValueStr(16, 100.0f), "100.0");
    EXPECT_EQ(logger.GetInvLimitValue(16, 100.0f), 1000);
    logger.EXT_PSENSOR = {true, 0, 9};
    ExpectValues(logger, {{16, 1000, 1000.0f}}, "unknown external sensor");
    EXPECT_EQ(logger.GetValueStr(16, 1000.5f), "1000.5");
    EXPECT_EQ(logger.GetInvLimitValue(16, 100.0f), 0);

    logger.INT_CH_EXT = 0x10; // humidity sensors
    ExpectValues(logger, {{16, 4550, 45.5f}, {23, -150, -1.5f}}, "humidity");
    EXPECT_EQ(logger.getChGain(20), 0.01f);
    EXPECT_EQ(logger.GetInvLimitValue(16, 45.5f), 4550);

    logger.INT_CH_EXT = 0x20; // thermometers
    ExpectValues(logger, {{16, Raw(0x1FF0), -1.0f}, {19, 0x0010, 1.0f}, {20, 77, 77.0f}}, "thermo");
    EXPECT_FLOAT_EQ(logger.GetLimitValue(16, 16), 1.0f);
    EXPECT_FLOAT_EQ(logger.GetLimitValue(20, 16), 16.0f);
    EXPECT_EQ(logger.GetInvLimitValue(16, 1.0f), 16);
    EXPECT_EQ(logger.getChGain(19), 0.0625f);
    EXPECT_EQ(logger.getChGain(20), 1.0f);
    logger.INT_CFG.Include(T::cINT_MAX31855);
    ExpectValues(logger, {{16, 100, 25.0f}, {17, Raw(0x4000), -8000.0f}}, "thermo MAX31855");
    EXPECT_FLOAT_EQ(logger.GetLimitValue(16, 100), 25.0f);
    EXPECT_EQ(logger.GetInvLimitValue(16, 25.0f), 100);

    logger.INT_CH_EXT = 0x30; // standard: the raw numbers
    ExpectValues(logger, {{16, 4550, 4550.0f}}, "standard");
}

TEST_F(Qel629ValuesTest, LimitValuesOfChannelSeven)
{
    struct Case {
        TEnumSet<T::TIntCfg> cfg;
        std::int16_t raw;
        float value;
    };
    const Case cases[] = {
        {{}, 2047, 60.0f},
        {{T::cINT_T_DS620}, 16, 1.0f},
        {{T::cINT_MAX31855}, 100, 25.0f},
        {{T::cINT_T_EXT0}, 100, 400.0f},
        {{T::cINT_T_EXT1}, 100, 25.0f},
        {{T::cINT_T_EXT0, T::cINT_T_EXT1}, -8, -2.0f},
    };
    for (const Case& c : cases) {
        logger.INT_CFG = c.cfg;
        EXPECT_FLOAT_EQ(logger.GetLimitValue(7, c.raw), c.value) << c.cfg.Bits();
        EXPECT_EQ(logger.GetInvLimitValue(7, c.value), c.raw) << c.cfg.Bits();
    }
}

TEST_F(Qel629ValuesTest, InverseLimits)
{
    struct Case {
        std::uint32_t ch;
        float value;
        std::int16_t raw;
    };
    const Case cases[] = {
        {0, 1013.2f, 10132}, {1, -21.5f, -215}, {2, 5.0f, 2},     {3, 6.0f, 2},    {5, 45.5f, 4550},
        {6, 21.5f, 2150},    {9, 200.5f, 100},  {10, 24.0f, 100}, {14, 6.0f, 4095}, {8, 5.0f, 0},
        {13, 5.0f, 0},       {15, 5.0f, 0},     {16, 5.0f, 0},    {0, 1e6f, 32000}, {0, -1e6f, -32000},
        {1, 0.25f, 2},       {1, 0.75f, 8},     {1, -0.25f, -2},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(logger.GetInvLimitValue(c.ch, c.value), c.raw) << c.ch << " " << c.value;
    }
    logger.INT_CFG.Include(T::cINT_MS_14BAR);
    EXPECT_EQ(logger.GetInvLimitValue(0, 1013.0f), 1013);
    logger.INT_CFG = {T::cINT_T_EXT0, T::cINT_T_EXT1};
    EXPECT_EQ(logger.GetInvLimitValue(10, 25.0f), 100);
}

TEST_F(Qel629ValuesTest, GainsAndOffsets)
{
    struct Case {
        std::uint32_t ch;
        float gain;
        float offset;
    };
    const Case cases[] = {
        {0, 0.1f, 0.0f},  {1, 0.1f, 0.0f},  {2, 2.0f, 1.0f},   {3, 3.0f, 0.0f},  {4, 4.0f, 0.0f},
        {5, 0.01f, 0.0f}, {6, 0.01f, 0.0f}, {8, 1.0f, 0.0f},   {9, 2.0f, 0.5f},  {10, 0.25f, -1.0f},
        {11, 0.0f, 0.0f}, {13, 1.0f, 0.0f}, {14, 6.0f / 4095.0f, 0.0f}, {15, 1.0f, 0.0f}, {20, 1.0f, 0.0f},
    };
    for (const Case& c : cases) {
        EXPECT_FLOAT_EQ(logger.getChGain(c.ch), c.gain) << c.ch;
        EXPECT_FLOAT_EQ(logger.getChOffset(c.ch), c.offset) << c.ch;
    }
    EXPECT_EQ(logger.getChGain(14), 0.0014652015f);
    logger.INT_CFG = {T::cINT_T_EXT0, T::cINT_T_EXT1};
    EXPECT_EQ(logger.getChGain(10), 0.25f);
    EXPECT_EQ(logger.getChOffset(10), 0.0f);
}

TEST_F(Qel629ValuesTest, RangesOfValidValues)
{
    struct Case {
        std::uint32_t ch;
        float value;
        bool valid;
    };
    const Case cases[] = {
        {0, 0.0f, true},     {0, 30000.0f, true}, {0, -0.1f, false}, {0, 30000.5f, false}, {1, -40.0f, true},
        {1, 125.1f, false},  {2, 20.0f, true},    {4, -20.5f, false}, {5, -5.0f, true},    {5, 105.5f, false},
        {6, 123.8f, true},   {6, 124.0f, false},  {7, 60.0f, true},   {7, 61.0f, false},   {7, -15.5f, false},
        {14, 10.0f, true},   {14, -1.0f, false},  {9, -1e9f, true},   {16, 1e9f, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(logger.IsValidValue(c.ch, c.value), c.valid) << c.ch << " " << c.value;
    }
    EXPECT_FALSE(logger.IsValidValue(9, NoValueMarker()));
    EXPECT_FALSE(logger.IsValidValue(9, GapValueMarker()));
    logger.INT_CFG = {T::cINT_T_DS620};
    EXPECT_TRUE(logger.IsValidValue(7, 125.0f));
    EXPECT_FALSE(logger.IsValidValue(7, -55.5f));
    logger.INT_CFG = {T::cINT_T_EXT1};
    EXPECT_TRUE(logger.IsValidValue(7, 1000.0f));
    RegSettings.bRegCheckRange = false;
    EXPECT_TRUE(logger.IsValidValue(0, -1e9f));
    EXPECT_FALSE(logger.IsValidValue(0, NoValueMarker()));
}

TEST_F(Qel629ValuesTest, ValueTexts)
{
    logger.A1_FMT = 1;
    logger.A2_FMT = 5;
    logger.A3_FMT = 0;
    struct Case {
        std::uint32_t ch;
        float value;
        const char* text;
    };
    const Case cases[] = {
        {0, 1013.25f, "1013.3"}, {1, 21.54f, "21.5"}, {2, 1.23456f, "1.235"}, {5, 45.0f, "45.0"},
        {7, 21.56f, "21.6"},     {8, 3.0f, "3"},      {9, 12.6f, "13"},       {10, 1.5f, "1.5000"},
        {11, 1234.5f, "1.235E+03"}, {14, 3.14159f, "3.14"}, {13, 0.5f, "0.5"}, {15, 2.0f, "2"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(logger.GetValueStr(c.ch, c.value), c.text) << c.ch;
    }
    plat::FormatSettings().DecimalSeparator = ',';
    EXPECT_EQ(logger.GetValueStr(1, 21.54f), "21,5");
    logger.INT_CFG = {T::cINT_T_EXT0};
    EXPECT_EQ(logger.GetValueStr(7, 400.0f), "400");
    logger.INT_CFG = {T::cINT_T_EXT1};
    EXPECT_EQ(logger.GetValueStr(7, 25.0f), "25,00");
}

TEST_F(Qel629ValuesTest, CurrentValuesFromTheReadings)
{
    logger.CH[1] = 215;
    logger.CH[14] = 4095;
    EXPECT_FLOAT_EQ(logger.GetChValue(1), 21.5f);
    EXPECT_FLOAT_EQ(logger.GetChValue(14), 6.0f);
    EXPECT_EQ(logger.GetChValue(16), 0.0f);
    logger.ID_VER = V(5, 0);
    logger.INT_CFG = {T::cINT_CHX};
    logger.INT_CH_EXT = 0x10; // humidity sensors
    logger.CH_DEVICE[16] = 5;
    logger.CH[5] = 4550;
    EXPECT_FLOAT_EQ(logger.GetChValue(16), 45.5f);
    logger.CH_DEVICE[17] = 200; // a map entry beyond the table has no reading
    EXPECT_EQ(logger.GetChValue(17), 0.0f);
    EXPECT_EQ(logger.GetChValue(32), 0.0f);
    float value = 1.0f;
    std::string text;
    EXPECT_FALSE(logger.GetChValue(1, value, text)); // the base answer
    EXPECT_EQ(text, "?");
}

} // namespace
} // namespace qel
