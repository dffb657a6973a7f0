// Tests of the QEL57 family: the shared channel scheme, the external sensor
// channels of the later generations and the third generation's task settings.
#include "loggers/qel57.h"

#include "foundations/byte_helpers.h"
#include "logger_test_env.h"

namespace qel {
namespace {

constexpr std::uint16_t V(int major, int minor)
{
    return static_cast<std::uint16_t>(major << 8 | minor);
}

class Qel57Test : public LoggerTest {};

struct ChannelCase {
    std::uint32_t ch;
    const char* name;
    const char* unit;
    std::int16_t raw;
    float value;
    const char* text;
};

void ExpectChannels(const TQEL57& logger, std::initializer_list<ChannelCase> cases, const char* model)
{
    for (const ChannelCase& c : cases) {
        EXPECT_EQ(logger.GetChName(c.ch), c.name) << model << " ch " << c.ch;
        EXPECT_EQ(logger.GetChUnit(c.ch), c.unit) << model << " ch " << c.ch;
        EXPECT_FLOAT_EQ(logger.CalcChValue(c.ch, c.raw), c.value) << model << " ch " << c.ch;
        EXPECT_EQ(logger.GetValueStr(c.ch, c.value), c.text) << model << " ch " << c.ch;
    }
}

const std::initializer_list<ChannelCase> BuiltInChannels = {
    {0, "ACC x", "g", 1000, 3.9f, "3.900"},   {1, "ACC y", "g", -256, -0.9984f, "-0.998"},
    {2, "ACC z", "g", 0, 0.0f, "0.000"},      {3, "Angle", "°", 455, 45.5f, "45.5"},
    {4, "RH1", "%", 4550, 45.5f, "45.5"},     {5, "T_RH1", "°C", -125, -1.25f, "-1.3"},
    {6, "RH2", "%", 100, 1.0f, "1.0"},        {7, "T_RH2", "°C", 2000, 20.0f, "20.0"},
    {8, "RH3", "%", 1, 0.01f, "0.0"},         {9, "T_RH3", "°C", 1, 0.01f, "0.0"},
    {10, "RH4", "%", 10000, 100.0f, "100.0"}, {11, "T_RH4", "°C", 2550, 25.5f, "25.5"},
    {12, "?", "?", 12, 12.0f, "12"},          {14, "BAT", "V", 4095, 6.0f, "6.00"},
    {15, "?", "?", -7, -7.0f, "-7"},
};

TEST_F(Qel57Test, BuiltInChannelsOfEveryGeneration)
{
    TQEL57 qel57;
    TQEL57b qel57b;
    TQEL57c qel57c;
    ExpectChannels(qel57, BuiltInChannels, "57");
    ExpectChannels(qel57b, BuiltInChannels, "57b");
    ExpectChannels(qel57c, BuiltInChannels, "57c");
    ExpectChannels(qel57, {{13, "FSC", "", 3, 3.0f, "3"}, {16, "?", "?", 5, 5.0f, "5"}}, "57");
    ExpectChannels(qel57b, {{13, "FSC", "", 3, 3.0f, "3"}, {40, "?", "?", 5, 5.0f, "5"}}, "57b");
    ExpectChannels(qel57c, {{13, "D-Bus-2", "", 3, 3.0f, "3"}, {56, "?", "?", 5, 5.0f, "5"}}, "57c");
}

TEST_F(Qel57Test, TemperatureUnitIgnoresTheAsianLocale)
{
    AsianLocale = true;
    TQEL57b logger;
    logger.setExtSensSN(16, 1);
    EXPECT_EQ(logger.GetChUnit(5), "°C");
    EXPECT_EQ(logger.GetChUnit(24), "°C");
}

TEST_F(Qel57Test, SecondGenerationExternalSensors)
{
    TQEL57b logger;
    logger.setExtSensSN(17, 4711);
    logger.setExtSensSN(33, 12);
    ExpectChannels(logger,
                   {{17, "RH4711", "%", 4550, 45.5f, "45.50"},
                    {25, "T_RH4711", "°C", -150, -1.5f, "-1.50"},
                    {33, "T12", "°C", 2000, 20.0f, "20.00"},
                    // A channel without a sensor is unnamed, but its value still goes by the channel.
                    {16, "?", "", 4550, 45.5f, "45.50"},
                    {39, "?", "", 1, 0.01f, "0.01"}},
                   "57b");
    EXPECT_TRUE(logger.isValidExtChannel(17));
    EXPECT_TRUE(logger.isValidExtChannel(25));
    EXPECT_FALSE(logger.isValidExtChannel(16));
    EXPECT_FALSE(logger.isValidExtChannel(15));
    EXPECT_FALSE(logger.isValidExtChannel(40));
}

TEST_F(Qel57Test, SensorsOnlyWhereTheGenerationHasThem)
{
    TQEL57b logger;
    const auto before = logger.CHANNEL_EXT;
    for (std::uint32_t ch : {0u, 15u, 24u, 31u, 40u, 47u, 48u, 55u, 1000u}) {
        logger.setExtSensSN(ch, 1);
    }
    for (std::size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(logger.CHANNEL_EXT[i].kind, before[i].kind) << i;
    }
    // A kind this generation does not know stays unnamed.
    logger.CHANNEL_EXT[20 - 16].kind = cSENS_P;
    EXPECT_EQ(logger.GetChName(20), "?");
    EXPECT_FALSE(logger.isValidExtChannel(20));
}

TEST_F(Qel57Test, ThirdGenerationPressureSensors)
{
    TQEL57c logger;
    logger.setExtSensSN(44, 12);
    logger.setExtSensSN(16, 3);
    logger.setExtSensSN(39, 9);
    ExpectChannels(logger,
                   {{44, "P12", "mbar", 1013, 1013.0f, "1013"},
                    {52, "T_P12", "°C", 2150, 21.5f, "21.50"},
                    {16, "RH3", "%", 4550, 45.5f, "45.50"},
                    {24, "T_RH3", "°C", 2150, 21.5f, "21.50"},
                    {39, "T9", "°C", 2150, 21.5f, "21.50"},
                    // Values go by channel number: 40 ... 47 whole, the others in hundredths.
                    {40, "?", "", 1013, 1013.0f, "1013"},
                    {48, "?", "", 2150, 21.5f, "21.50"},
                    {55, "?", "", 2150, 21.5f, "21.50"}},
                   "57c");
    EXPECT_TRUE(logger.isValidExtChannel(44));
    EXPECT_TRUE(logger.isValidExtChannel(52));
    EXPECT_FALSE(logger.isValidExtChannel(56));
}

TEST_F(Qel57Test, CurrentValues)
{
    TQEL57c logger;
    logger.CH[3] = 455;
    logger.setExtSensSN(40, 1);
    logger.CHANNEL_EXT[40 - 16].value = 999;
    logger.CHANNEL_EXT[48 - 16].value = 2150;
    EXPECT_FLOAT_EQ(logger.GetChValue(3), 45.5f);
    EXPECT_FLOAT_EQ(logger.GetChValue(40), 999.0f);
    EXPECT_FLOAT_EQ(logger.GetChValue(48), 21.5f);
    EXPECT_EQ(logger.GetChValue(15), 0.0f);
    EXPECT_EQ(logger.GetChValue(56), 0.0f);
    TQEL57 first;
    first.CH[14] = 4095;
    EXPECT_FLOAT_EQ(first.GetChValue(14), 6.0f);
    EXPECT_EQ(first.GetChValue(16), 0.0f);
}

TEST_F(Qel57Test, ValuesLimitsAndGains)
{
    TQEL57c logger;
    EXPECT_TRUE(logger.IsValidValue(3, -1e9f));
    EXPECT_FALSE(logger.IsValidValue(3, NoValueMarker()));
    for (std::uint32_t ch : {0u, 3u, 14u, 44u}) {
        EXPECT_EQ(logger.GetLimitValue(ch, 1234), 0.0f);
        EXPECT_EQ(logger.GetInvLimitValue(ch, 12.0f), 0);
        EXPECT_EQ(logger.getChGain(ch), 1.0f);
        EXPECT_EQ(logger.getChOffset(ch), 0.0f);
        EXPECT_FALSE(logger.IsGAPValue(ch, 32752));
        EXPECT_EQ(logger.getChID(ch), 0x3FFF);
    }
    EXPECT_FALSE(logger.hasUTC());
    logger.SetLimit(14, 1, 2, 3.0f, 4.0f);
    EXPECT_TRUE(logger.LIMITS[14].READ);
    logger.SetLimit(15, 1, 2, 3.0f, 4.0f);
    logger.ClearLimits();
    EXPECT_FALSE(logger.LIMITS[14].READ);
}

TEST_F(Qel57Test, IdentityAndFeatureTests)
{
    TQEL57 qel57;
    TQEL57b qel57b;
    TQEL57c qel57c;
    for (TQEL57* logger : {&qel57, static_cast<TQEL57*>(&qel57b), static_cast<TQEL57*>(&qel57c)}) {
        EXPECT_EQ(logger->GetName(), "?");
        logger->ID_CLASS = 0x661D;
        EXPECT_EQ(logger->GetName(), "QEL57");
        EXPECT_FALSE(logger->LimitExists() || logger->MarkerExists() || logger->RecInputExists());
        logger->ID_VER = V(3, 5);
        EXPECT_FALSE(logger->MarkerOptionExists());
        logger->ID_VER = V(3, 6);
        EXPECT_TRUE(logger->MarkerOptionExists());
        logger->ID_VER = V(3, 240);
        EXPECT_FALSE(logger->MarkerOptionExists());
        logger->ID_VER = V(4, 0);
        EXPECT_TRUE(logger->MarkerOptionExists());
        logger->ID_CLASS = 0x6601;
        EXPECT_FALSE(logger->MarkerOptionExists());
        logger->ID_VER_PC = V(1, 5);
        EXPECT_FALSE(logger->isAngleLimits());
        logger->ID_VER_PC = V(1, 6);
        EXPECT_TRUE(logger->isAngleLimits());
        logger->ID_VER = V(5, 67);
        EXPECT_FALSE(logger->IsGlobalLimit());
        logger->ID_VER = V(5, 68);
        EXPECT_TRUE(logger->IsGlobalLimit());
        logger->ID_VER = V(5, 104);
        EXPECT_FALSE(logger->AreLimitsForAllChannel());
        logger->ID_VER = V(5, 105);
        EXPECT_TRUE(logger->AreLimitsForAllChannel());
        logger->RTC = 1;
        EXPECT_TRUE(logger->IsExtendedRTC());
    }
    // The first generation needs 5.24 for its card; the later ones only the flag.
    for (TQEL57* logger : {&qel57, static_cast<TQEL57*>(&qel57b), static_cast<TQEL57*>(&qel57c)}) {
        logger->ID_VER = V(5, 23);
        logger->INT_CFG = {TQEL57::cINT_SDCARD};
    }
    EXPECT_FALSE(qel57.IsSDCard());
    EXPECT_TRUE(qel57b.IsSDCard());
    EXPECT_TRUE(qel57c.IsSDCard());
    qel57.ID_VER = V(5, 24);
    EXPECT_TRUE(qel57.IsSDCard());
}

TEST_F(Qel57Test, MainTimerRate)
{
    TQEL57c logger;
    std::uint8_t h = 9, m = 9, s = 9;
    logger.getMainTimerRate(0, h, m, s);
    EXPECT_EQ(h, 0);
    EXPECT_EQ(m, 0);
    EXPECT_EQ(s, 1);
    logger.TMR[0] = 1843200 + 30720 + 512;
    logger.getMainTimerRate(0, h, m, s);
    EXPECT_EQ(h, 1);
    EXPECT_EQ(m, 1);
    EXPECT_EQ(s, 1);
    logger.setMainTimerRate(1, 2, 30, 15);
    EXPECT_EQ(logger.TMR[1], (2u * 3600 + 30 * 60 + 15) << 9);
    logger.getMainTimerRate(1, h, m, s);
    EXPECT_EQ(h, 2);
    EXPECT_EQ(m, 30);
    EXPECT_EQ(s, 15);
    logger.setMainTimerRate(7, 0, 0, 0); // any index but 1 is the first timer
    EXPECT_EQ(logger.TMR[0], 512u);
}

TEST_F(Qel57Test, MeasuringTasks)
{
    TQEL57c logger;
    logger.setMTaskAcc(1);
    EXPECT_EQ(logger.TASK[1], 3);
    EXPECT_EQ(logger.TMR[2], 10u);
    EXPECT_EQ(logger.getMTaskAcc(), 0); // channel 0 off
    logger.CH_EN[0] = true;
    EXPECT_EQ(logger.getMTaskAcc(), 1);
    logger.setMTaskAcc(2);
    EXPECT_EQ(logger.TASK[1], 0);
    EXPECT_EQ(logger.getMTaskAcc(), 0);

    logger.setMTaskRH(2);
    EXPECT_EQ(logger.getMTaskRH(), 0); // no humidity channel on
    logger.CH_EN[8] = true;
    EXPECT_EQ(logger.getMTaskRH(), 2);
    logger.setMTaskRH(3);
    EXPECT_EQ(logger.TASK[2], 0);
    logger.TASK[2] = 7;
    EXPECT_EQ(logger.getMTaskRH(), 0);

    logger.setMTaskAngle(1);
    EXPECT_EQ(logger.getMTaskAngle(), 0);
    logger.CH_EN[3] = true;
    EXPECT_EQ(logger.getMTaskAngle(), 1);

    logger.setMTaskDBus(2);
    EXPECT_EQ(logger.getMTaskDBus(), 2);
    logger.TASK[8] = 3;
    EXPECT_EQ(logger.getMTaskDBus(), 0);

    const std::uint32_t timers[5] = {51, 26, 17, 13, 10};
    for (std::uint8_t rate = 1; rate <= 5; ++rate) {
        logger.setMTaskP(rate);
        EXPECT_EQ(logger.TASK[9], 5);
        EXPECT_EQ(logger.TMR[4], timers[rate - 1]);
        EXPECT_EQ(logger.getMTaskP(), rate);
    }
    logger.TMR[4] = 11;
    EXPECT_EQ(logger.getMTaskP(), 0);
    logger.setMTaskP(6);
    EXPECT_EQ(logger.TASK[9], 0);
    EXPECT_EQ(logger.getMTaskP(), 0);

    logger.TMR[0] = 1234;
    logger.setMTaskLED(1);
    EXPECT_TRUE(logger.getMTaskLED());
    EXPECT_EQ(logger.TMR[7], 1234u);
    logger.setMTaskLED(0);
    EXPECT_FALSE(logger.getMTaskLED());

    logger.TASK[4] = 9;
    logger.setMTaskBat();
    EXPECT_EQ(logger.TASK[4], 0); // battery channel off
    logger.CH_EN[14] = true;
    logger.setMTaskBat();
    EXPECT_EQ(logger.TASK[4], 4);
    EXPECT_EQ(logger.TMR[3], 153600u); // at least 300 s
    logger.TMR[0] = 200000;
    logger.setMTaskBat();
    EXPECT_EQ(logger.TMR[3], 200000u);

    logger.TASK[0] = logger.TASK[5] = logger.TASK[6] = 1;
    logger.startConfiguration();
    EXPECT_EQ(logger.TASK[0], 0);
    EXPECT_EQ(logger.TASK[5], 0);
    EXPECT_EQ(logger.TASK[6], 1);
}

} // namespace
} // namespace qel
