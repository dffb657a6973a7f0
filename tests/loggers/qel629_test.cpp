// Tests of the QEL629 logger class: identity, feature tests at their version
// boundaries, channel names and units, limits and external channels.
#include "loggers/qel629.h"

#include "logger_test_env.h"
#include "platform/ini_file.h"
#include "platform/known_folders.h"
#include "tests/support/temp_dir.h"

#include <functional>

namespace qel {
namespace {

constexpr std::uint16_t V(int major, int minor)
{
    return static_cast<std::uint16_t>(major << 8 | minor);
}

using T = TQEL629;

class Qel629Test : public LoggerTest {
protected:
    void Model(std::uint16_t code, std::uint16_t version)
    {
        logger.ID_CLASS = code;
        logger.ID_VER = version;
    }

    T logger;
};

struct BoolCase {
    std::uint16_t code;
    std::uint16_t version;
    bool expected;
};

struct BoolTest {
    const char* name;
    std::function<bool(const T&)> test;
    std::vector<BoolCase> cases;
};

TEST_F(Qel629Test, VersionFeatureTests)
{
    const BoolTest tests[] = {
        {"IsQEL_1S", &T::IsQEL_1S, {{0x6601, V(1, 6), false}, {0x6601, V(1, 7), true}, {0x6603, 0, true}, {0x6604, 0, true}, {0, V(9, 0), false}}},
        {"LimitExists", &T::LimitExists, {{0x6601, V(1, 2), false}, {0x6601, V(1, 3), true}, {0x6603, 0, true}, {0, V(9, 0), false}}},
        {"MarkerExists", &T::MarkerExists, {{0x6601, V(1, 0), false}, {0x6601, V(1, 1), true}, {0x6604, 0, true}, {0, V(9, 0), false}}},
        {"T2Exists", &T::T2Exists, {{0x6601, V(1, 255), false}, {0x6601, V(2, 0), true}, {0x6603, 0, true}, {0, V(9, 0), false}}},
        {"IsExtended", &T::IsExtended, {{0x6601, V(3, 5), false}, {0x6601, V(3, 6), true}, {0x6603, 0, true}, {0, V(9, 0), false}}},
        {"MarkerOptionExists", &T::MarkerOptionExists,
         {{0x6601, V(3, 5), false}, {0x6601, V(3, 6), true}, {0x6601, V(3, 239), true}, {0x6601, V(3, 240), false},
          {0x6601, V(3, 255), false}, {0x6601, V(4, 0), true}, {0x6604, 0, true}, {0, V(4, 0), false}}},
        {"IsAnalogExtended", &T::IsAnalogExtended, {{0x6601, V(3, 240), false}, {0x6601, V(4, 0), true}, {0x6603, 0, true}}},
        {"Is2ChannelMasks", &T::Is2ChannelMasks, {{0x6601, V(4, 1), false}, {0x6601, V(4, 2), true}, {0x6603, V(9, 0), false}}},
        {"IsAccuCapacity", &T::IsAccuCapacity,
         {{0x6601, V(3, 12), false}, {0x6601, V(3, 13), true}, {0x6601, V(3, 255), true}, {0x6601, V(4, 0), false},
          {0x6601, V(4, 3), false}, {0x6601, V(4, 4), true}, {0x6603, V(9, 0), false}}},
        {"IsLightSensor", &T::IsLightSensor, {{0x6601, V(3, 13), true}, {0x6601, V(4, 3), false}, {0x6604, V(9, 0), false}}},
        {"IsCfg2", &T::IsCfg2, {{0x6601, V(5, 149), false}, {0x6601, V(5, 150), true}, {0x6603, V(9, 0), false}}},
        {"IsCfg3", &T::IsCfg3, {{0x6601, V(5, 99), false}, {0x6601, V(5, 100), true}, {0x6603, V(9, 0), false}}},
        {"POfsExists", &T::POfsExists, {{0x6601, V(5, 25), false}, {0x6601, V(5, 26), true}, {0, V(9, 0), false}}},
        // These do not look at the model code.
        {"isContainerExists", &T::isContainerExists, {{0, V(5, 100), false}, {0, V(5, 101), true}}},
        {"isExtendedCalInfo", &T::isExtendedCalInfo, {{0, V(5, 127), false}, {0, V(5, 128), true}}},
        {"existsExtendedPSensor", &T::existsExtendedPSensor, {{0, V(5, 119), false}, {0x6603, V(5, 120), true}}},
        {"ExtentedChannelModeExists", &T::ExtentedChannelModeExists, {{0, V(4, 255), false}, {0, V(5, 0), true}}},
        {"AreLimitsForAllChannel", &T::AreLimitsForAllChannel, {{0, V(5, 104), false}, {0, V(5, 105), true}}},
        {"IsFastPressure", &T::IsFastPressure, {{0, V(5, 23), false}, {0, V(5, 24), true}}},
        {"IsGlobalLimit", &T::IsGlobalLimit, {{0, V(5, 67), false}, {0, V(5, 68), true}}},
        {"IsT4Hz_5MAX31855", &T::IsT4Hz_5MAX31855, {{0x6601, V(9, 0), false}}},
    };
    for (const BoolTest& t : tests) {
        for (const BoolCase& c : t.cases) {
            Model(c.code, c.version);
            EXPECT_EQ(t.test(logger), c.expected) << t.name << " " << std::hex << c.code << " " << c.version;
        }
    }
}

TEST_F(Qel629Test, ExtendedNameGoesByThePcVersion)
{
    Model(0x6601, V(9, 0));
    logger.ID_VER_PC = V(5, 125);
    EXPECT_FALSE(logger.isExtendedName());
    logger.ID_VER_PC = V(5, 126);
    EXPECT_TRUE(logger.isExtendedName());
    logger.ID_CLASS = 0x6603;
    EXPECT_FALSE(logger.isExtendedName());
}

TEST_F(Qel629Test, FeatureTestsOnConfiguration)
{
    Model(0x6601, V(4, 2));
    EXPECT_FALSE(logger.RecInputExists());
    logger.INT_CFG.Include(T::cINT_REC_INP);
    EXPECT_TRUE(logger.RecInputExists());
    Model(0x6601, V(4, 1));
    EXPECT_FALSE(logger.RecInputExists());
    logger.CH_EN[9] = true;
    EXPECT_TRUE(logger.RecInputExists());
    Model(0x6601, V(1, 8));
    EXPECT_FALSE(logger.RecInputExists());
    EXPECT_FALSE(logger.FastADCExists());
    Model(0x6601, V(2, 0));
    EXPECT_TRUE(logger.FastADCExists());
    Model(0x6603, 0);
    EXPECT_TRUE(logger.RecInputExists());
    EXPECT_TRUE(logger.FastADCExists());
    Model(0, V(9, 0));
    EXPECT_FALSE(logger.RecInputExists());

    Model(0x6601, V(5, 24));
    EXPECT_FALSE(logger.IsSDCard());
    logger.INT_CFG.Include(T::cINT_SDCARD);
    EXPECT_TRUE(logger.IsSDCard());
    Model(0x6601, V(5, 23));
    EXPECT_FALSE(logger.IsSDCard());

    Model(0x6601, V(5, 17));
    logger.INT_CFG.Include(T::cINT_T_EXT1);
    EXPECT_TRUE(logger.IsT4Hz());
    EXPECT_FALSE(logger.IsT8Hz());
    logger.INT_CFG.Include(T::cINT_MAX31855);
    EXPECT_TRUE(logger.IsT8Hz());
    Model(0x6601, V(5, 16));
    EXPECT_FALSE(logger.IsT4Hz());

    EXPECT_FALSE(logger.isPosttrigger());
    logger.INT_CFG.Include(T::cINT_POSTTRIGGER);
    EXPECT_TRUE(logger.isPosttrigger());
    EXPECT_FALSE(logger.IsExtendedRTC());
    logger.RTC = 2;
    EXPECT_TRUE(logger.IsExtendedRTC());

    Model(0x6601, V(5, 120));
    EXPECT_FALSE(logger.isExtendedPSensor());
    logger.EXT_PSENSOR.bValid = true;
    EXPECT_TRUE(logger.isExtendedPSensor());
}

TEST_F(Qel629Test, AnalogInputModes)
{
    struct Case {
        std::uint16_t code;
        std::uint16_t version;
        bool internSetup;
        bool channel11;
        T::TA4_MODE expected;
    };
    const Case cases[] = {
        {0x6601, V(3, 20), false, true, T::cA4_MODE_4},   {0x6601, V(3, 20), false, false, T::cA4_MODE_NONE},
        {0x6601, V(3, 20), true, false, T::cA4_MODE_4},   {0x6601, V(3, 9), true, true, T::cA4_MODE_NONE},
        {0x6601, V(3, 10), true, true, T::cA4_MODE_4},    {0x6601, V(3, 240), true, true, T::cA4_MODE_NONE},
        {0x6601, V(4, 0), false, false, T::cA4_MODE_4},   {0x6601, V(4, 1), true, true, T::cA4_MODE_NONE},
        {0x6601, V(4, 2), false, false, T::cA4_MODE_X},   {0x6603, 0, false, false, T::cA4_MODE_4},
        {0, V(4, 2), true, true, T::cA4_MODE_NONE},
    };
    for (const Case& c : cases) {
        Model(c.code, c.version);
        logger.CH_EN[11] = c.channel11;
        EXPECT_EQ(logger.IsAnalog4(c.internSetup), c.expected) << std::hex << c.code << " " << c.version;
    }
}

TEST_F(Qel629Test, SensorModes)
{
    struct Case {
        std::uint16_t code;
        std::uint16_t version;
        T::TACC_MODE acc;
        T::TAPRE_MODE pre;
    };
    const Case cases[] = {
        {0x6601, V(3, 255), T::cACC_SMB365, T::cAPRE_NONE}, {0x6601, V(4, 0), T::cACC_SMB380, T::cAPRE_NONE},
        {0x6601, V(4, 2), T::cACC_SMB380, T::cAPRE_16},     {0x6601, V(5, 0), T::cACC_ADXL345, T::cAPRE_16},
        {0x6603, 0, T::cACC_SMB380, T::cAPRE_8},            {0, V(5, 0), T::cACC_SMB365, T::cAPRE_NONE},
    };
    for (const Case& c : cases) {
        Model(c.code, c.version);
        EXPECT_EQ(logger.IsAcc(), c.acc) << std::hex << c.code << " " << c.version;
        EXPECT_EQ(logger.IsAnalogPreTimeMode(), c.pre) << std::hex << c.code << " " << c.version;
    }
}

TEST_F(Qel629Test, ReferenceAndTemperatureModes)
{
    Model(0x6601, V(5, 11));
    logger.INT_CFG.Include(T::cINT_EXTREF);
    EXPECT_EQ(logger.GetARefMode(), T::cAREF_FIX);
    Model(0x6601, V(5, 12));
    EXPECT_EQ(logger.GetARefMode(), T::cAREF_EXT);
    logger.INT_CFG.Exclude(T::cINT_EXTREF);
    EXPECT_EQ(logger.GetARefMode(), T::cAREF_INT);
    Model(0x6603, V(9, 0));
    EXPECT_EQ(logger.GetARefMode(), T::cAREF_FIX);

    Model(0x6601, V(5, 13));
    logger.INT_CFG = {T::cINT_T_EXT0, T::cINT_T_EXT1};
    EXPECT_EQ(logger.GetTMode(), T::cT_NONE);
    Model(0x6601, V(5, 14));
    EXPECT_EQ(logger.GetTMode(), T::cT_THERMO4);
    logger.INT_CFG = {T::cINT_T_EXT0};
    EXPECT_EQ(logger.GetTMode(), T::cT_LIGHT);
    logger.INT_CFG = {T::cINT_T_EXT1};
    EXPECT_EQ(logger.GetTMode(), T::cT_THERMO1);
    logger.INT_CFG = {};
    EXPECT_EQ(logger.GetTMode(), T::cT_STD);
    Model(0x6603, V(9, 0));
    EXPECT_EQ(logger.GetTMode(), T::cT_NONE);
}

TEST_F(Qel629Test, ExternalChannelModes)
{
    struct Case {
        std::uint16_t version;
        bool chx;
        std::uint8_t ext;
        T::TCHX_MODE mode;
        std::int32_t sensors;
    };
    const Case cases[] = {
        {V(5, 0), true, 0x0E, T::cCHX_P, 7},   {V(5, 0), true, 0x1F, T::cCHX_RH, 7},
        {V(5, 0), true, 0x2F, T::cCHX_T, 15},  {V(5, 0), true, 0x36, T::cCHX_STD, 0},
        {V(5, 0), true, 0x04, T::cCHX_P, 2},   {V(5, 0), false, 0x0E, T::cCHX_STD, 0},
        {V(4, 255), true, 0x0E, T::cCHX_STD, 0},
    };
    for (const Case& c : cases) {
        Model(0, c.version);
        logger.INT_CFG = c.chx ? TEnumSet<T::TIntCfg>{T::cINT_CHX} : TEnumSet<T::TIntCfg>{};
        logger.INT_CH_EXT = c.ext;
        EXPECT_EQ(logger.GetExtentedChannelMode(), c.mode) << std::hex << unsigned(c.ext);
        EXPECT_EQ(logger.GetExtendedSensors(), c.sensors) << std::hex << unsigned(c.ext);
    }
}

TEST_F(Qel629Test, Names)
{
    for (std::uint16_t code : {0x6601, 0x6603, 0x6604, 0x0000, 0x6606}) {
        Model(code, 0);
        const char* expected = code == 0x6601 ? "QEL629B" : code == 0x6603 ? "QEL699A" : code == 0x6604 ? "QEL699B" : "?";
        EXPECT_EQ(logger.GetName(), expected);
    }
}

struct ChannelCase {
    std::uint32_t ch;
    const char* name;
    const char* unit;
};

void ExpectChannels(const T& logger, std::initializer_list<ChannelCase> cases, const char* setting)
{
    for (const ChannelCase& c : cases) {
        EXPECT_EQ(logger.GetChName(c.ch), c.name) << setting << " ch " << c.ch;
        EXPECT_EQ(logger.GetChUnit(c.ch), c.unit) << setting << " ch " << c.ch;
    }
}

TEST_F(Qel629Test, StandardChannelNamesAndUnits)
{
    Model(0x6601, V(4, 1));
    logger.SetUserInput(1, "Volt", "mV", 0.0f, 1.0f);
    logger.SetUserInput(2, "In2", "mA", 0.0f, 1.0f);
    ExpectChannels(logger,
                   {{0, "p", "mbar"}, {1, "T_p", "°C"}, {2, "ACC x", "G"}, {3, "ACC y", "G"}, {4, "ACC z", "G"},
                    {5, "RH", "%"}, {6, "T_RH", "°C"}, {7, "T", "°C"}, {8, "Marker", ""}, {9, "A1", "mV"},
                    {10, "A2", "mA"}, {11, "A3", ""}, {12, "A4", ""}, {13, "FSC", ""}, {14, "BAT", "V"},
                    {15, "", ""}, {16, "", ""}, {31, "", ""}, {32, "", ""}},
                   "4.01");
    Model(0x6601, V(4, 2));
    ExpectChannels(logger, {{9, "Volt", "mV"}, {10, "In2", "mA"}, {11, "", ""}}, "4.02 user names");
    Model(0x6603, V(9, 0));
    ExpectChannels(logger, {{9, "A1", "mV"}}, "0x6603");
    // The light sensor of 3.13 ... 3.255 and 4.04 up.
    Model(0x6601, V(4, 4));
    logger.INT_CFG.Include(T::cINT_LIGHT);
    ExpectChannels(logger, {{9, "L1", "mV"}}, "light");
}

TEST_F(Qel629Test, TemperatureChannelsByMode)
{
    Model(0x6601, V(5, 14));
    logger.SetUserInput(2, "In2", "mA", 0.0f, 1.0f);
    logger.INT_CFG = {T::cINT_T_EXT0};
    ExpectChannels(logger, {{7, "L1", "lux"}, {10, "In2", "mA"}}, "light");
    logger.INT_CFG = {T::cINT_T_EXT1};
    ExpectChannels(logger, {{7, "T", "°C"}, {10, "In2", "mA"}, {12, "", ""}}, "thermo1");
    logger.INT_CFG = {T::cINT_T_EXT0, T::cINT_T_EXT1};
    ExpectChannels(logger, {{7, "T1", "°C"}, {10, "T2", "°C"}, {11, "T3", "°C"}, {12, "T4", "°C"}}, "thermo4");
    logger.INT_CFG.Include(T::cINT_THERMO4_EXT);
    ExpectChannels(logger, {{7, "T1", "°C"}, {10, "In2", "mA"}, {11, "", ""}, {12, "T2", "°C"}}, "thermo4 ext");
    logger.INT_CFG.Include(T::cINT_THERMO4_T3);
    ExpectChannels(logger, {{7, "T1", "°C"}, {10, "In2", "mA"}, {11, "T2", "°C"}, {12, "T3", "°C"}}, "thermo4 t3");
}

TEST_F(Qel629Test, ThermometerChannels)
{
    Model(0x6601, V(5, 14));
    struct Case {
        TEnumSet<T::TIntCfg> cfg;
        std::int32_t count;
        const char* names[4]; // channels 7, 10, 11, 12
    };
    const Case cases[] = {
        {{}, 0, {"", "", "", ""}},
        {{T::cINT_T_EXT1}, 1, {"T1", "T1", "T1", "T1"}},
        {{T::cINT_T_EXT0, T::cINT_T_EXT1, T::cINT_THERMO4_EXT}, 2, {"T1", "", "", "T2"}},
        {{T::cINT_T_EXT0, T::cINT_T_EXT1, T::cINT_THERMO4_EXT, T::cINT_THERMO4_T3}, 3, {"T1", "", "T2", "T3"}},
        {{T::cINT_T_EXT0, T::cINT_T_EXT1}, 4, {"T1", "T2", "T3", "T4"}},
    };
    const std::uint32_t channels[4] = {7, 10, 11, 12};
    for (const Case& c : cases) {
        logger.INT_CFG = c.cfg;
        EXPECT_EQ(logger.getThermoChannelCount(), c.count);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(logger.getThermoChannelName(channels[i]), c.names[i]) << c.count << " ch " << channels[i];
        }
        EXPECT_EQ(logger.isThermoChannel(7), c.count >= 1);
        EXPECT_EQ(logger.isThermoChannel(12), c.count >= 2);
        EXPECT_EQ(logger.isThermoChannel(11), c.count >= 3);
        EXPECT_EQ(logger.isThermoChannel(10), c.count >= 4);
        EXPECT_FALSE(logger.isThermoChannel(9));
    }
}

TEST_F(Qel629Test, ExternalChannelNamesAndUnits)
{
    Model(0x6601, V(5, 120));
    logger.INT_CFG = {T::cINT_CHX};
    logger.INT_CH_EXT = 0x00;
    ExpectChannels(logger,
                   {{16, "p2", "mbar"}, {17, "T_p2", "°C"}, {18, "p3", "mbar"}, {21, "T_p4", "°C"}, {22, "p5", "mbar"},
                    {23, "T_p5", "°C"}, {24, "", ""}},
                   "pressure");
    logger.EXT_PSENSOR = {true, 0x22, 0x24};
    ExpectChannels(logger, {{0, "p", "bar"}, {16, "p2", "bar"}, {17, "T_p2", "°C"}}, "bar sensors");
    logger.EXT_PSENSOR = {true, 0x23, 0x21};
    ExpectChannels(logger, {{0, "p", "mbar"}, {16, "p2", "mbar"}}, "mbar sensors");
    logger.EXT_PSENSOR = {false, 0x22, 0x22};
    ExpectChannels(logger, {{0, "p", "mbar"}, {16, "p2", "mbar"}}, "sensor block not valid");
    logger.INT_CH_EXT = 0x10;
    ExpectChannels(logger, {{16, "RH2", "%"}, {17, "T_RH2", "°C"}, {22, "RH5", "%"}, {23, "T_RH5", "°C"}}, "humidity");
    logger.INT_CH_EXT = 0x20;
    ExpectChannels(logger, {{16, "T2", "°C"}, {19, "T5", "°C"}, {20, "", ""}, {23, "", ""}}, "thermo");
    logger.INT_CH_EXT = 0x30;
    ExpectChannels(logger, {{16, "", ""}, {19, "", ""}}, "standard");
}

TEST_F(Qel629Test, AsianLocaleWritesTheTemperatureUnitPlain)
{
    AsianLocale = true;
    Model(0x6601, V(5, 14));
    ExpectChannels(logger, {{1, "T_p", "*C"}, {6, "T_RH", "*C"}, {7, "T", "*C"}}, "asian");
    logger.INT_CFG = {T::cINT_T_EXT0, T::cINT_T_EXT1, T::cINT_CHX};
    logger.INT_CH_EXT = 0x10; // humidity sensors
    ExpectChannels(logger, {{10, "T2", "*C"}, {12, "T4", "*C"}, {16, "RH2", "%"}, {17, "T_RH2", "*C"}},
                   "asian thermometers and external sensors");
}

TEST_F(Qel629Test, ExpandExtendedChannels)
{
    EXPECT_EQ(logger.ExpandExtendedChannels(0), 0);
    EXPECT_EQ(logger.ExpandExtendedChannels(9), 0);
    for (int ch = 0; ch <= 4; ++ch) {
        logger.CH_EN[ch] = true;
    }
    logger.CH_EN[6] = true;
    EXPECT_EQ(logger.ExpandExtendedChannels(3), 3);
    // The free standard channels 5, 7 and 8 go to 16, 17 and 18.
    EXPECT_TRUE(logger.CH_EN[16] && logger.CH_EN[17] && logger.CH_EN[18]);
    EXPECT_FALSE(logger.CH_EN[19]);
    EXPECT_EQ(logger.CH_DEVICE[16], 5);
    EXPECT_EQ(logger.CH_DEVICE[17], 7);
    EXPECT_EQ(logger.CH_DEVICE[18], 8);
    EXPECT_EQ(logger.CH_DEVICE[5], 16);
    EXPECT_EQ(logger.CH_DEVICE[8], 18);
    EXPECT_EQ(logger.CH_DEVICE[6], 6);
    EXPECT_EQ(logger.CH_DEVICE[31], 31);

    T full;
    full.CH_EN.fill(true);
    EXPECT_EQ(full.ExpandExtendedChannels(8), 0);
    T nearlyFull;
    for (int ch = 0; ch <= 13; ++ch) {
        nearlyFull.CH_EN[ch] = true;
    }
    EXPECT_EQ(nearlyFull.ExpandExtendedChannels(8), 1);
    EXPECT_EQ(nearlyFull.CH_DEVICE[16], 14);
}

TEST_F(Qel629Test, Limits)
{
    logger.SetLimit(31, 2, 3, 1.5f, -2.5f);
    EXPECT_TRUE(logger.LIMITS[31].READ);
    EXPECT_EQ(logger.LIMITS[31].AL, 2);
    EXPECT_EQ(logger.LIMITS[31].RL, 3);
    EXPECT_EQ(logger.LIMITS[31].VALUE1, 1.5f);
    EXPECT_EQ(logger.LIMITS[31].VALUE2, -2.5f);
    const auto before = logger.LIMITS;
    logger.SetLimit(32, 1, 1, 9.0f, 9.0f);
    logger.SetLimit(0xFFFFFFFF, 1, 1, 9.0f, 9.0f);
    for (int i = 0; i < 32; ++i) {
        EXPECT_EQ(logger.LIMITS[i].READ, before[i].READ) << i;
    }
    logger.ClearLimits();
    EXPECT_FALSE(logger.LIMITS[31].READ);
    EXPECT_EQ(logger.LIMITS[31].VALUE1, 1.5f);
    EXPECT_EQ(logger.LIMITS[31].AL, 2);
}

TEST_F(Qel629Test, CheckCalModeDropsCalibrationsWithCoincidingPoints)
{
    struct Case {
        bool rh, t, trh;
        float rhSetLo, rhSetHi, rhActLo, rhActHi, tSetLo, tSetHi, tActLo, tActHi;
        bool rhAfter, tAfter, trhAfter;
    };
    const Case cases[] = {
        {true, true, false, 10, 90, 11, 89, 0, 50, 1, 49, true, true, false},
        {true, false, false, 10, 10, 11, 89, 0, 50, 1, 49, false, false, false},
        {true, false, false, 10, 90, 11, 11, 0, 50, 1, 49, false, false, false},
        {false, true, true, 0, 0, 0, 0, 0, 50, 7, 7, false, false, false},
        {false, false, true, 0, 0, 0, 0, 5, 5, 1, 49, false, false, false},
        {false, false, false, 0, 0, 0, 0, 5, 5, 1, 1, false, false, false},
    };
    for (const Case& c : cases) {
        logger.CAL_RH = c.rh;
        logger.CAL_T = c.t;
        logger.CAL_T_RH = c.trh;
        logger.CAL_RH_SET_LO = c.rhSetLo;
        logger.CAL_RH_SET_HI = c.rhSetHi;
        logger.CAL_RH_ACT_LO = c.rhActLo;
        logger.CAL_RH_ACT_HI = c.rhActHi;
        logger.CAL_T_SET_LO = c.tSetLo;
        logger.CAL_T_SET_HI = c.tSetHi;
        logger.CAL_T_ACT_LO = c.tActLo;
        logger.CAL_T_ACT_HI = c.tActHi;
        logger.CheckCalMode();
        EXPECT_EQ(logger.CAL_RH, c.rhAfter);
        EXPECT_EQ(logger.CAL_T, c.tAfter);
        EXPECT_EQ(logger.CAL_T_RH, c.trhAfter);
    }
}

TEST_F(Qel629Test, OwnsAContainerOfDefaultCapacity)
{
    ASSERT_NE(logger.Container, nullptr);
    EXPECT_EQ(logger.Container->FMax, 500);
    EXPECT_EQ(logger.Container->Size(), 0);
}

TEST_F(Qel629Test, DemoLogger)
{
    logger.SetLimit(3, 1, 1, 1.0f, 1.0f);
    logger.FillDemoMode();
    EXPECT_EQ(logger.ID_CLASS, 0x6601);
    EXPECT_EQ(logger.ID_VER, V(3, 6));
    EXPECT_EQ(logger.ID_VER_PC, V(3, 6));
    EXPECT_EQ(logger.ID_TYPE, 2);
    EXPECT_EQ(logger.SN, 200013u);
    EXPECT_EQ(logger.STATE, 1);
    for (int ch = 0; ch < T::ChannelCount; ++ch) {
        EXPECT_EQ(logger.CH_EN[ch], ch <= 10 || ch == 14) << ch;
    }
    EXPECT_EQ(logger.A1_UNIT_USR, "mV");
    EXPECT_EQ(logger.A4_GAIN_USR, 1.0f);
    EXPECT_EQ(logger.NAME, "logger");
    EXPECT_EQ(logger.CAL_INFO, "cal");
    EXPECT_EQ(logger.CAL_DATE, 36526.0);
    EXPECT_FALSE(logger.LIMITS[3].READ);
    EXPECT_EQ(logger.GetName(), "QEL629B");
}

TEST_F(Qel629Test, SaveToFileWritesTheFieldsBesideTheProgram)
{
    qeltest::TempDir dir;
    plat::SetProgramPath(dir.File("reader"));
    logger.FillDemoMode();
    logger.SetLimit(5, 2, 1, 3.5f, 0.0f);
    logger.SaveToFile();
    plat::SetProgramPath("");

    plat::TIniFile ini(dir.File("reader.ini"));
    EXPECT_EQ(ini.ReadInteger("A", "ID_CLASS", 0), 0x6601);
    EXPECT_EQ(ini.ReadInteger("A", "SN", 0), 200013);
    EXPECT_EQ(ini.ReadInteger("B", "STATE", 0), 1);
    EXPECT_TRUE(ini.ReadBool("F", "CH_EN3", false));
    EXPECT_FALSE(ini.ReadBool("F", "CH_EN12", true));
    EXPECT_EQ(ini.ReadInteger("F", "CH0", 0), 10132);
    EXPECT_EQ(ini.ReadString("J", "A1_UNIT_USR", ""), "mV");
    EXPECT_EQ(ini.ReadString("K", "NAME", ""), "logger");
    EXPECT_TRUE(ini.ReadBool("L5", "READ", false));
    EXPECT_EQ(ini.ReadInteger("L5", "AL", 0), 2);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("L5", "VALUE1", 0.0), 3.5);
    EXPECT_TRUE(ini.ValueExists("H", "INT_CFG4"));
    EXPECT_FALSE(ini.ValueExists("H", "INT_CFG5"));
    EXPECT_TRUE(ini.SectionExists("L31"));
}

} // namespace
} // namespace qel
