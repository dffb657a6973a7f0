// Tests of the QEL62xW generation base: channel numbers and IDs of versions 1
// and 2, feature tests at their version boundaries, radio module, copies.
#include "config_model_fixture.h"

#include "loggers/qel62xw.h"

#include <typeinfo>

namespace qel {
namespace {

using namespace config_test;
using T = TQEL62xW;

class Qel62xWTest : public LoggerTest {
protected:
    void AddTwoChannels()
    {
        AddChannel(logger, "T", "°C", 16);
        AddChannel(logger, "RH", "%rH", 5);
    }

    T logger;
};

TEST_F(Qel62xWTest, Version1HasFourSeriesPerChannel)
{
    logger.ID_VER = 0x1A0;
    AddTwoChannels();
    const struct {
        std::uint32_t ch;
        const char* name;
        const char* unit;
    } cases[] = {
        {0, "T", "°C"},      {1, "T min", "°C"},  {3, "T avg", "°C"}, {4, "RH", "%rH"}, {5, "RH min", "%rH"},
        {6, "RH max", "%rH"}, {7, "RH avg", "%rH"}, {8, "8?", "8?"},   {11, "11?", "11?"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(logger.GetChName(c.ch), c.name) << c.ch;
        EXPECT_EQ(logger.GetChUnit(c.ch), c.unit) << c.ch;
    }
}

TEST_F(Qel62xWTest, Version2NumbersChannelsByIndex)
{
    logger.ID_VER = V(2, 0);
    AddTwoChannels();
    EXPECT_EQ(logger.GetChName(1), "RH");
    EXPECT_EQ(logger.GetChUnit(1), "%rH");
    EXPECT_EQ(logger.getChID(1), 5);
    EXPECT_EQ(logger.GetChName(2), "2?");
    EXPECT_EQ(logger.GetChUnit(4), "4?");
    EXPECT_EQ(logger.getChID(2), 0x3FFF);
}

TEST_F(Qel62xWTest, FlexChannelsAreNamedAfterTheirSensor)
{
    auto& flex = AddChannel(logger, "P1", "mbar", 9);
    flex.FlexChannelType = 1;
    flex.FlexChannelSN = 12;
    logger.ID_VER = V(1, 20);
    EXPECT_EQ(logger.GetChName(2), "P1 Flex12 max");
    logger.ID_VER = V(2, 0);
    EXPECT_EQ(logger.GetChName(0), "P1 Flex12");
}

TEST_F(Qel62xWTest, ChannelIDsUpToVersion114AreTheChannelNumbers)
{
    AddChannel(logger, "T", "°C", 33);
    const struct {
        std::uint16_t version;
        std::uint32_t ch;
        std::uint16_t id;
    } cases[] = {
        {0x10E, 0, 0},      {0x10E, 3, 3},      {0x10E, 4, 0x3FFF}, {0x100, 2, 2},
        {0x10F, 0, 33},     {0x10F, 3, 33},     {0x10F, 4, 0x3FFF}, {0x1FF, 1, 33},
        {0x200, 0, 33},     {0x200, 1, 0x3FFF}, {0x200, 3, 0x3FFF},
    };
    for (const auto& c : cases) {
        logger.ID_VER = c.version;
        EXPECT_EQ(logger.getChID(c.ch), c.id) << std::hex << c.version << " " << c.ch;
    }
}

// A feature test answering !answerFrom at version `below` and answerFrom at `from`.
struct FeatureBoundary {
    const char* name;
    bool (T::*test)() const;
    bool pcVersion;           // compares ID_VER_PC, not ID_VER
    std::uint16_t below, from;
    bool answerFrom = true;
    std::uint16_t keType = 0;
    std::uint16_t modulCfg = 0;
};

TEST_F(Qel62xWTest, FeatureTestsAtTheirVersionBoundaries)
{
    const FeatureBoundary cases[] = {
        {"isVersion2", &T::isVersion2, false, 0x1FF, 0x200},
        {"IsQelNameAvaliable", &T::IsQelNameAvaliable, false, 0x101, 0x102},
        {"IsBatTaskAvailable", &T::IsBatTaskAvailable, false, 0x105, 0x106},
        {"areChannelsConfigurable", &T::areChannelsConfigurable, false, 0x107, 0x108},
        {"isBLEConfigurable", &T::isBLEConfigurable, false, 0x108, 0x109},
        {"hasLocalStart", &T::hasLocalStart, false, 0x10A, 0x10B},
        {"hasSyncTime", &T::hasSyncTime, false, 0x10C, 0x10D},
        {"arePSensorConfigurable", &T::arePSensorConfigurable, false, 0x10E, 0x10F},
        {"isTaskConfigurationAvailable", &T::isTaskConfigurationAvailable, false, 0x11A, 0x11B},
        {"isTaskOptionsAvailable", &T::isTaskOptionsAvailable, false, 0x11A, 0x11B},
        {"isBLEBaseStationAvailable", &T::isBLEBaseStationAvailable, false, 0x110, 0x111},
        {"hasAppID", &T::hasAppID, false, 0x112, 0x113},
        {"hasKE", &T::hasKE, false, 0x14F, 0x150},
        {"hasExtendedInternalTaskInfo", &T::hasExtendedInternalTaskInfo, false, 0x153, 0x154},
        {"hasCfgTime", &T::hasCfgTime, false, 0x204, 0x205},
        {"hasCfgTime2", &T::hasCfgTime2, false, 0x22D, 0x22E},
        {"hasKEState", &T::hasKEState, false, 0x20A, 0x20B},
        {"hasHiddenChannels", &T::hasHiddenChannels, true, 0x110, 0x111},
        {"hasWLANTimeHourly (needs the WLAN module)", &T::hasWLANTimeHourly, false, 0x14F, 0x150, true, 2},
        {"hasLimits", &T::hasLimits, false, 0x217, 0x218},
        {"hasRecordInfo", &T::hasRecordInfo, false, 0x217, 0x218},
        {"hasExternalControl", &T::hasExternalControl, false, 0x217, 0x218, true, 0, 0x20},
        {"hasBleLimits", &T::hasBleLimits, false, 0x217, 0x218, true, 1},
        {"hasFastFlexRate", &T::hasFastFlexRate, true, 0x21A, 0x21B},
        {"has8DisplayLines", &T::has8DisplayLines, true, 0x21A, 0x21B, false},
    };
    for (const FeatureBoundary& c : cases) {
        T fresh;
        fresh.KE_TYPE = c.keType;
        fresh.MODUL_CFG = c.modulCfg;
        std::uint16_t& version = c.pcVersion ? fresh.ID_VER_PC : fresh.ID_VER;
        version = c.below;
        EXPECT_EQ((fresh.*c.test)(), !c.answerFrom) << c.name << " below";
        version = c.from;
        EXPECT_EQ((fresh.*c.test)(), c.answerFrom) << c.name << " from";
        version = 0xFFFF;
        EXPECT_EQ((fresh.*c.test)(), c.answerFrom) << c.name << " at the top";
    }
}

TEST_F(Qel62xWTest, FeaturesThatNeedMoreThanAVersion)
{
    logger.ID_VER = 0xFFFF;
    logger.ID_VER_PC = 0xFFFF;
    EXPECT_FALSE(logger.hasExternalControl()); // MODUL_CFG bit 5 clear
    logger.MODUL_CFG = 0xFFDF;
    EXPECT_FALSE(logger.hasExternalControl());
    logger.KE_TYPE = 1;
    EXPECT_FALSE(logger.hasWLANTimeHourly());
    logger.KE_TYPE = 2;
    EXPECT_FALSE(logger.hasBleLimits());
    for (std::uint16_t version : {0x0000, 0x0150, 0x0300, 0xFFFF}) {
        logger.ID_VER = version;
        logger.ID_VER_PC = version;
        EXPECT_TRUE(logger.isFastpeakAvailable()) << version;
        EXPECT_FALSE(logger.hasWifiAutostartPOR()) << version;
        EXPECT_FALSE(logger.IsFX2orFX3Available()) << version;
        EXPECT_NE(logger.hasFastFlexRate(), logger.has8DisplayLines()) << version;
    }
}

TEST_F(Qel62xWTest, RadioModuleAndName)
{
    const struct {
        std::uint16_t code;
        std::uint16_t version;
        std::uint16_t keType;
        bool ble, wlan;
        const char* name;
    } cases[] = {
        {0x6617, 0x14F, 2, true, false, "QEL629WD"},   {0x6617, 0x14F, 0, true, false, "QEL629WD"},
        {0x6617, 0x150, 2, false, true, "QEL629W2D"},  {0x6617, 0x150, 1, true, false, "QEL629WD"},
        {0x6617, 0x150, 3, false, false, "QEL629WxD"}, {0x6617, 0x150, 0, false, false, "QEL629WxD"},
        {0x6621, 0x150, 2, false, true, "?"},          {0x0000, 0x100, 1, true, false, "?"},
    };
    for (const auto& c : cases) {
        logger.ID_CLASS = c.code;
        logger.ID_VER = c.version;
        logger.KE_TYPE = c.keType;
        EXPECT_EQ(logger.hasBLE(), c.ble) << c.version << " " << c.keType;
        EXPECT_EQ(logger.hasWLAN(), c.wlan) << c.version << " " << c.keType;
        EXPECT_EQ(logger.GetName(), c.name) << c.version << " " << c.keType;
    }
}

// A child that answers hasKE and hasLimits otherwise: the tests built on them follow.
class TNoModuleGeneration : public T {
public:
    bool hasKE() const override { return false; }
    bool hasLimits() const override { return true; }
};

TEST_F(Qel62xWTest, DependentTestsFollowOverrides)
{
    TNoModuleGeneration child;
    child.ID_CLASS = 0x6617;
    child.ID_VER = 0x300;
    child.KE_TYPE = 2;
    EXPECT_TRUE(child.hasBLE());
    EXPECT_FALSE(child.hasWLAN());
    EXPECT_FALSE(child.hasWLANTimeHourly());
    EXPECT_FALSE(child.hasKEState());
    EXPECT_EQ(child.GetName(), "QEL629WD");
    child.ID_VER = 0x100;
    EXPECT_FALSE(child.hasBleLimits()); // the version condition still holds
    child.ID_VER = 0x218;
    EXPECT_TRUE(child.hasBleLimits());
}

TEST_F(Qel62xWTest, UtcAndVersionTexts)
{
    logger.ID_VER = 0x108;
    EXPECT_FALSE(logger.hasUTC());
    logger.ID_VER = 0x109;
    EXPECT_TRUE(logger.hasUTC());

    logger.BLE_IF = 15;
    logger.BLE_VER = 7;
    EXPECT_EQ(logger.getBLEVersionStr(), "0.7");
    logger.BLE_VER = 0x105;
    EXPECT_EQ(logger.getBLEVersionStr(), "0.261");
    logger.BLE_IF = 0;
    EXPECT_EQ(logger.getBLEVersionStr(), "1.05");
    logger.WLAN_VER = 0x20A;
    EXPECT_EQ(logger.getWLANVersionStr(), "2.10");
}

TEST_F(Qel62xWTest, CopyFrom)
{
    T source;
    source.ID_CLASS = 0x6617;
    source.ID_VER = 0x222;
    source.ID_VER_PC = 0x221;
    source.SN = 98765;
    source.APP_ID = 4;
    source.ViewTimeOff = 5;
    source.ViewTimeLogo = 6;
    AddChannel(source, "T", "°C", 16);
    AddTask(source, {0}).reg_config = 0x100;
    source.ViewTableList.Add(new qel62xw::TQelViewTable);
    source.ViewGraphicList1.Add(new qel62xw::TQelViewGraphic);
    source.ViewGraphicList1.ymin = -2.0f;
    source.ViewGraphicList2.Add(new qel62xw::TQelViewGraphic);
    source.ViewGraphicList2.Add(new qel62xw::TQelViewGraphic);
    source.KEWLANstate.rssi = -70;
    source.KEWLANstate.modul_state = 2;
    source.KEBLEstate.state = 3;
    source.QELNAME = "Cold room";
    source.CFG_TIME = 12345.5;
    source.CFG_TIME_NOTEQUAL = true;
    source.MODUL_CFG = 0x20;
    source.BLE_QEL = 1;
    source.BLE_TIME_TO = 7;
    source.BLE_PWD = "secret";
    source.bReadChannelInfo = true;
    source.RTC_OFFSET = -60;
    source.RTC_RULE = 2;
    source.KE_TYPE = 2;
    source.WLAN_CLASS = 8;
    source.WLAN_TIME_TO2 = 9;
    source.bReadChannelLimit = true;
    source.LIMIT_CFG0 = 10;
    // Not copied.
    source.ID_TYPE = 11;
    source.SN_NEW = 12;
    source.STATE = 13;
    source.VALID_DIFFTIME = true;
    source.DIFFTIME = 14;
    source.REC_STARTTIME = 15.0;
    source.REC_CAP = 16;
    source.ViewCfg = 17;
    source.ACCU_CAPACITY = 18;
    source.WLAN_CFG_SSID = "net";
    source.WLAN_CFG_PWD_WRITE = true;

    T target;
    target.WLAN_CFG_SSID = "kept";
    target.STATE = 99;
    AddChannel(target, "old");
    AddChannel(target, "old");
    target.CopyFrom(source);
    EXPECT_EQ(target.ID_CLASS, 0x6617);
    EXPECT_EQ(target.ID_VER, 0x222);
    EXPECT_EQ(target.ID_VER_PC, 0x221);
    EXPECT_EQ(target.SN, 98765u);
    EXPECT_EQ(target.APP_ID, 4);
    EXPECT_EQ(target.ViewTimeOff, 5);
    EXPECT_EQ(target.ViewTimeLogo, 6);
    ASSERT_EQ(target.Channels.Count(), 1);
    EXPECT_EQ(target.GetChName(0), "T");
    EXPECT_EQ(target.Tasks.Count(), 1);
    EXPECT_TRUE(target.Tasks.GetItem(0).isFastPeakAvailable());
    EXPECT_EQ(target.ViewTableList.Count(), 1);
    EXPECT_EQ(target.ViewGraphicList1.Count(), 1);
    EXPECT_EQ(target.ViewGraphicList1.ymin, -2.0f);
    EXPECT_EQ(target.ViewGraphicList2.Count(), 2);
    EXPECT_EQ(target.KEWLANstate.getModulStateStr(), "scanning  ");
    EXPECT_EQ(target.KEWLANstate.rssi, -70);
    EXPECT_EQ(target.KEBLEstate.getStateStr(), "connected  ");
    EXPECT_EQ(target.QELNAME, "Cold room");
    EXPECT_EQ(target.CFG_TIME, 12345.5);
    EXPECT_TRUE(target.CFG_TIME_NOTEQUAL);
    EXPECT_EQ(target.MODUL_CFG, 0x20);
    EXPECT_EQ(target.BLE_QEL, 1);
    EXPECT_EQ(target.BLE_TIME_TO, 7);
    EXPECT_EQ(target.BLE_PWD, "secret");
    EXPECT_TRUE(target.bReadChannelInfo);
    EXPECT_EQ(target.RTC_OFFSET, -60);
    EXPECT_EQ(target.RTC_RULE, 2);
    EXPECT_EQ(target.KE_TYPE, 2);
    EXPECT_EQ(target.WLAN_CLASS, 8);
    EXPECT_EQ(target.WLAN_TIME_TO2, 9);
    EXPECT_TRUE(target.bReadChannelLimit);
    EXPECT_EQ(target.LIMIT_CFG0, 10);
    EXPECT_EQ(target.ID_TYPE, 0);
    EXPECT_EQ(target.SN_NEW, 0u);
    EXPECT_EQ(target.STATE, 99);
    EXPECT_FALSE(target.VALID_DIFFTIME);
    EXPECT_EQ(target.DIFFTIME, 0);
    EXPECT_EQ(target.REC_STARTTIME, 0.0);
    EXPECT_EQ(target.REC_CAP, 0);
    EXPECT_EQ(target.ViewCfg, 0);
    EXPECT_EQ(target.ACCU_CAPACITY, 0);
    EXPECT_EQ(target.WLAN_CFG_SSID, "kept");
    EXPECT_FALSE(target.WLAN_CFG_PWD_WRITE);
}

} // namespace
} // namespace qel
