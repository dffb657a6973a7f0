// Tests of the QEL624c logger class: names and units of the value, state and
// alarm series, channel IDs, feature tests and copies.
#include "config_model_fixture.h"

#include "loggers/qel624c.h"

namespace qel {
namespace {

using namespace config_test;

class Qel624cTest : public LoggerTest {
protected:
    TQEL624C logger;
};

TEST_F(Qel624cTest, FourSeriesPerChannel)
{
    AddChannel(logger, "CO2", "ppm", 40);
    const struct {
        std::uint32_t ch;
        const char* name;
        const char* unit;
    } cases[] = {
        {0, "CO2", "ppm"},       {1, "CO2 state", ""}, {2, "CO2 alarm", "ppm"}, {3, "CO2 alarm state", ""},
        {4, "4?", "4?"},         {5, "5?", ""},        {6, "6?", "6?"},         {7, "7?", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(logger.GetChName(c.ch), c.name) << c.ch;
        EXPECT_EQ(logger.GetChUnit(c.ch), c.unit) << c.ch;
    }
}

TEST_F(Qel624cTest, ChannelIDs)
{
    AddChannel(logger, "CO2", "ppm", 40);
    logger.ID_VER = 0x10E;
    EXPECT_EQ(logger.getChID(1), 1);
    EXPECT_EQ(logger.getChID(3), 3);
    EXPECT_EQ(logger.getChID(8), 0x3FFF);
    logger.ID_VER = 0x10F;
    EXPECT_EQ(logger.getChID(0), 40);
    EXPECT_EQ(logger.getChID(3), 40);
    EXPECT_EQ(logger.getChID(4), 0x3FFF);
}

TEST_F(Qel624cTest, FeatureTestsAtTheirVersionBoundaries)
{
    using T = TQEL624C;
    const struct {
        const char* name;
        bool (T::*test)() const;
        std::uint16_t lastFalse;
    } cases[] = {
        {"IsQelNameAvaliable", &T::IsQelNameAvaliable, 0x101}, {"IsBatTaskAvailable", &T::IsBatTaskAvailable, 0x105},
        {"areChannelsConfigurable", &T::areChannelsConfigurable, 0x107},
        {"isBLEConfigurable", &T::isBLEConfigurable, 0x108},   {"hasLocalStart", &T::hasLocalStart, 0x10A},
        {"hasSyncTime", &T::hasSyncTime, 0x10C},               {"hasUTC", &T::hasUTC, 0x108},
    };
    for (const auto& c : cases) {
        logger.ID_VER = c.lastFalse;
        EXPECT_FALSE((logger.*c.test)()) << c.name;
        logger.ID_VER = c.lastFalse + 1;
        EXPECT_TRUE((logger.*c.test)()) << c.name;
    }
}

TEST_F(Qel624cTest, IdentityAndVersions)
{
    logger.ID_CLASS = 0x6619;
    EXPECT_EQ(logger.GetName(), "QEL529WD");
    logger.ID_CLASS = 0x6616;
    EXPECT_EQ(logger.GetName(), "?");
    const std::pair<std::uint16_t, bool> versions[] = {
        {V(0, 255), false}, {V(1, 0), true}, {V(1, 12), true}, {V(1, 13), false}, {V(2, 0), false},
    };
    for (const auto& [version, known] : versions) {
        EXPECT_EQ(logger.IsKnownVersion(0x6619, version), known) << std::hex << version;
    }
    EXPECT_FALSE(logger.IsKnownVersion(0x6617, V(1, 0)));
    logger.BLE_IF = 15;
    logger.BLE_VER = 7;
    EXPECT_EQ(logger.getBLEVersionStr(), "0.7");
    logger.BLE_IF = 1;
    logger.BLE_VER = 0x20C;
    EXPECT_EQ(logger.getBLEVersionStr(), "2.12");
}

TEST_F(Qel624cTest, CopyFrom)
{
    TQEL624C source;
    source.ID_CLASS = 0x6619;
    source.ID_VER = 0x10C;
    source.ID_VER_PC = 0x10B;
    source.SN = 5;
    source.ViewTimeOff = 6;
    source.ViewTimeLogo = 7;
    AddChannel(source, "CO2", "ppm", 40);
    AddTask(source, {0}).CFG = 0x33;
    source.ViewGraphicList2.Add(new qel624c::TQelViewGraphic);
    source.QELNAME = "Office";
    source.CFG_MODULE = 8;
    source.BLE_TIME_TO = 9;
    source.BLE_PWD = "pw";
    source.bReadChannelInfo = true;
    source.RTC_OFFSET = -120;
    source.RTC_RULE = 1;
    source.STATE = 10;     // not copied
    source.ViewCfg = 11;   // not copied
    source.REC_PAGE = 12;  // not copied

    TQEL624C target;
    target.CopyFrom(source);
    EXPECT_EQ(target.ID_CLASS, 0x6619);
    EXPECT_EQ(target.ID_VER, 0x10C);
    EXPECT_EQ(target.ID_VER_PC, 0x10B);
    EXPECT_EQ(target.SN, 5u);
    EXPECT_EQ(target.ViewTimeOff, 6);
    EXPECT_EQ(target.ViewTimeLogo, 7);
    EXPECT_EQ(target.GetChName(2), "CO2 alarm");
    EXPECT_EQ(target.Tasks.GetItem(0).CFG, 0x33);
    EXPECT_EQ(target.ViewGraphicList2.Count(), 1);
    EXPECT_EQ(target.QELNAME, "Office");
    EXPECT_EQ(target.CFG_MODULE, 8);
    EXPECT_EQ(target.BLE_TIME_TO, 9);
    EXPECT_EQ(target.BLE_PWD, "pw");
    EXPECT_TRUE(target.bReadChannelInfo);
    EXPECT_EQ(target.RTC_OFFSET, -120);
    EXPECT_EQ(target.RTC_RULE, 1);
    EXPECT_EQ(target.STATE, 0);
    EXPECT_EQ(target.ViewCfg, 0);
    EXPECT_EQ(target.REC_PAGE, 0);
}

} // namespace
} // namespace qel
