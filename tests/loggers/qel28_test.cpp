// Tests of the QEL28 logger class: names and IDs of the four series per
// channel, feature tests, the radio module and the VORN option, copies.
#include "config_model_fixture.h"

#include "loggers/qel28.h"
#include "loggers/qel62xw.h"

namespace qel {
namespace {

using namespace config_test;

class Qel28Test : public LoggerTest {
protected:
    TQEL28 logger;
};

TEST_F(Qel28Test, FourSeriesPerChannel)
{
    AddChannel(logger, "T", "°C", 16);
    AddChannel(logger, "ACC", "g", 4);
    const struct {
        std::uint32_t ch;
        const char* name;
        const char* unit;
    } cases[] = {
        {4, "ACC", "g"}, {5, "ACC min", "g"}, {6, "ACC max", "g"}, {7, "ACC avg", "g"}, {3, "T avg", "°C"}, {8, "8?", "8?"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(logger.GetChName(c.ch), c.name) << c.ch;
        EXPECT_EQ(logger.GetChUnit(c.ch), c.unit) << c.ch;
    }
    logger.ID_VER = 0x10E;
    EXPECT_EQ(logger.getChID(5), 5);
    EXPECT_EQ(logger.getChID(8), 0x3FFF);
    logger.ID_VER = 0x10F;
    EXPECT_EQ(logger.getChID(5), 4);
    EXPECT_EQ(logger.getChID(1), 16);
    EXPECT_EQ(logger.getChID(8), 0x3FFF);
}

// The version tests are those of the QEL62xW generation for the same names:
// compared with it over every firmware version and radio module kind.
TEST_F(Qel28Test, FeatureTestsAreThoseOfTheGeneration)
{
    using T28 = TQEL28;
    using T62 = TQEL62xW;
    const struct {
        const char* name;
        bool (T28::*own)() const;
        bool (T62::*generation)() const;
    } tests[] = {
        {"IsQelNameAvaliable", &T28::IsQelNameAvaliable, &T62::IsQelNameAvaliable},
        {"IsBatTaskAvailable", &T28::IsBatTaskAvailable, &T62::IsBatTaskAvailable},
        {"areChannelsConfigurable", &T28::areChannelsConfigurable, &T62::areChannelsConfigurable},
        {"isBLEConfigurable", &T28::isBLEConfigurable, &T62::isBLEConfigurable},
        {"hasLocalStart", &T28::hasLocalStart, &T62::hasLocalStart},
        {"hasSyncTime", &T28::hasSyncTime, &T62::hasSyncTime},
        {"arePSensorConfigurable", &T28::arePSensorConfigurable, &T62::arePSensorConfigurable},
        {"isFastpeakAvailable", &T28::isFastpeakAvailable, &T62::isFastpeakAvailable},
        {"isTaskConfigurationAvailable", &T28::isTaskConfigurationAvailable, &T62::isTaskConfigurationAvailable},
        {"isTaskOptionsAvailable", &T28::isTaskOptionsAvailable, &T62::isTaskOptionsAvailable},
        {"isBLEBaseStationAvailable", &T28::isBLEBaseStationAvailable, &T62::isBLEBaseStationAvailable},
        {"hasAppID", &T28::hasAppID, &T62::hasAppID},
        {"hasKE", &T28::hasKE, &T62::hasKE},
        {"hasBLE", &T28::hasBLE, &T62::hasBLE},
        {"hasWLAN", &T28::hasWLAN, &T62::hasWLAN},
        {"hasUTC", &T28::hasUTC, &T62::hasUTC},
    };
    T62 generation;
    for (std::uint32_t version = 0; version <= 0x300; ++version) {
        for (std::uint16_t keType : {0, 1, 2}) {
            logger.ID_VER = generation.ID_VER = static_cast<std::uint16_t>(version);
            logger.KE_TYPE = generation.KE_TYPE = keType;
            for (const auto& t : tests) {
                ASSERT_EQ((logger.*t.own)(), (generation.*t.generation)()) << t.name << " " << std::hex << version;
            }
        }
    }
}

TEST_F(Qel28Test, RadioModuleAndVorn)
{
    logger.ID_VER = 0x14F;
    logger.KE_TYPE = 2;
    EXPECT_TRUE(logger.hasBLE());
    EXPECT_FALSE(logger.hasWLAN());
    logger.ID_VER = 0x150;
    EXPECT_FALSE(logger.hasBLE());
    EXPECT_TRUE(logger.hasWLAN());
    logger.KE_TYPE = 1;
    EXPECT_TRUE(logger.hasBLE());
    EXPECT_FALSE(logger.hasWLAN());

    logger.APP_ID = 1;
    logger.ID_VER = 0x112;
    EXPECT_FALSE(logger.isVorn5());
    logger.ID_VER = 0x113;
    EXPECT_TRUE(logger.isVorn5());
    logger.APP_ID = 2;
    EXPECT_FALSE(logger.isVorn5());

    logger.WLAN_VER = 0x301;
    EXPECT_EQ(logger.getWLANVersionStr(), "3.01");
    logger.BLE_IF = 15;
    logger.BLE_VER = 12;
    EXPECT_EQ(logger.getBLEVersionStr(), "0.12");
}

TEST_F(Qel28Test, IdentityAndVersions)
{
    logger.ID_CLASS = 0x6626;
    EXPECT_EQ(logger.GetName(), "QEL28");
    logger.ID_CLASS = 0x6628;
    EXPECT_EQ(logger.GetName(), "?");
    const std::pair<std::uint16_t, bool> versions[] = {
        {V(0, 99), false}, {V(1, 0), true}, {V(1, 80), true}, {V(1, 81), false}, {V(2, 0), false},
    };
    for (const auto& [version, known] : versions) {
        EXPECT_EQ(logger.IsKnownVersion(0x6626, version), known) << std::hex << version;
    }
    EXPECT_FALSE(logger.IsKnownVersion(0x6621, V(1, 0)));
}

TEST_F(Qel28Test, CopyFrom)
{
    TQEL28 source;
    source.ID_CLASS = 0x6626;
    source.ID_VER = 0x150;
    source.ID_VER_PC = 0x14F;
    source.SN = 1;
    source.APP_ID = 2;
    source.ViewTimeOff = 3;
    source.ViewTimeLogo = 4;
    AddChannel(source, "T", "°C", 16);
    AddTask(source, {0}).task_config = 5;
    source.ViewGraphicList1.Add(new qel28::TQelViewGraphic);
    source.QELNAME = "Truck";
    source.CFG_MODULE = 6;
    source.BLE_TIME_FROM = 7;
    source.BLE_PWD = "pw";
    source.bReadChannelInfo = true;
    source.RTC_OFFSET = 8;
    source.RTC_RULE = 9;
    source.VORN5.VIBRA_ID = 10;
    source.VORN5.VIBRA_TIMING_DELAY = 1.25;
    source.KE_TYPE = 2;
    source.WLAN_CLASS = 11;
    source.WLAN_TIME_TO2 = 12;
    source.WLAN_CFG_SSID = "net";  // not copied
    source.WLAN_CFG_HOST = "host"; // not copied
    source.STATE = 13;             // not copied

    TQEL28 target;
    target.WLAN_CFG_SSID = "kept";
    target.CopyFrom(source);
    EXPECT_EQ(target.ID_CLASS, 0x6626);
    EXPECT_EQ(target.ID_VER, 0x150);
    EXPECT_EQ(target.ID_VER_PC, 0x14F);
    EXPECT_EQ(target.SN, 1u);
    EXPECT_EQ(target.APP_ID, 2);
    EXPECT_EQ(target.ViewTimeOff, 3);
    EXPECT_EQ(target.ViewTimeLogo, 4);
    EXPECT_EQ(target.GetChName(0), "T");
    EXPECT_EQ(target.Tasks.GetItem(0).task_config, 5);
    EXPECT_EQ(target.ViewGraphicList1.Count(), 1);
    EXPECT_EQ(target.QELNAME, "Truck");
    EXPECT_EQ(target.CFG_MODULE, 6);
    EXPECT_EQ(target.BLE_TIME_FROM, 7);
    EXPECT_EQ(target.BLE_PWD, "pw");
    EXPECT_TRUE(target.bReadChannelInfo);
    EXPECT_EQ(target.RTC_OFFSET, 8);
    EXPECT_EQ(target.RTC_RULE, 9);
    EXPECT_EQ(target.VORN5.VIBRA_ID, 10);
    EXPECT_EQ(target.VORN5.VIBRA_TIMING_DELAY, 1.25);
    EXPECT_EQ(target.KE_TYPE, 2);
    EXPECT_EQ(target.WLAN_CLASS, 11);
    EXPECT_EQ(target.WLAN_TIME_TO2, 12);
    EXPECT_TRUE(target.hasWLAN());
    EXPECT_EQ(target.WLAN_CFG_SSID, "kept");
    EXPECT_EQ(target.WLAN_CFG_HOST, "");
    EXPECT_EQ(target.STATE, 0);
}

} // namespace
} // namespace qel
