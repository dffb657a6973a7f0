// Tests of the QEL621WxD logger class: accepted versions, its fixed feature
// answers and the names by radio module.
#include "config_model_fixture.h"

#include "loggers/qel621wxd.h"

#include <typeinfo>

namespace qel {
namespace {

using namespace config_test;
using T = TQEL621WxD;

class Qel621WxDTest : public LoggerTest {
protected:
    T logger;
};

TEST_F(Qel621WxDTest, KnownVersions)
{
    EXPECT_TRUE(logger.IsKnownVersion(0x6621, V(2, 0)));
    EXPECT_FALSE(logger.IsKnownVersion(0x6621, V(2, 1)));
    EXPECT_FALSE(logger.IsKnownVersion(0x6621, V(1, 12)));
    EXPECT_FALSE(logger.IsKnownVersion(0x6617, V(2, 0)));
}

TEST_F(Qel621WxDTest, FixedFeatureAnswersAtEveryVersion)
{
    const std::pair<const char*, bool (T::*)() const> alwaysTrue[] = {
        {"isVersion2", &T::isVersion2},
        {"IsQelNameAvaliable", &T::IsQelNameAvaliable},
        {"IsBatTaskAvailable", &T::IsBatTaskAvailable},
        {"areChannelsConfigurable", &T::areChannelsConfigurable},
        {"isBLEConfigurable", &T::isBLEConfigurable},
        {"hasLocalStart", &T::hasLocalStart},
        {"hasSyncTime", &T::hasSyncTime},
        {"arePSensorConfigurable", &T::arePSensorConfigurable},
        {"isTaskConfigurationAvailable", &T::isTaskConfigurationAvailable},
        {"isTaskOptionsAvailable", &T::isTaskOptionsAvailable},
        {"isBLEBaseStationAvailable", &T::isBLEBaseStationAvailable},
        {"hasAppID", &T::hasAppID},
        {"hasKE", &T::hasKE},
        {"hasExtendedInternalTaskInfo", &T::hasExtendedInternalTaskInfo},
        {"hasCfgTime", &T::hasCfgTime},
        {"hasKEState", &T::hasKEState},
        {"hasHiddenChannels", &T::hasHiddenChannels},
        {"hasRecordInfo", &T::hasRecordInfo},
        {"hasFastFlexRate", &T::hasFastFlexRate},
        {"has8DisplayLines", &T::has8DisplayLines},
        {"IsFX2orFX3Available", &T::IsFX2orFX3Available},
        {"hasUTC", &T::hasUTC},
    };
    const std::pair<const char*, bool (T::*)() const> alwaysFalse[] = {
        {"isFastpeakAvailable", &T::isFastpeakAvailable},
        {"hasLimits", &T::hasLimits},
        {"hasBleLimits", &T::hasBleLimits},
        {"hasWifiAutostartPOR", &T::hasWifiAutostartPOR},
    };
    for (std::uint16_t version : {0x0000, 0x0100, 0x0200, 0x0218, 0xFFFF}) {
        logger.ID_VER = version;
        logger.ID_VER_PC = version;
        logger.KE_TYPE = 1;
        for (const auto& [name, test] : alwaysTrue) {
            EXPECT_TRUE((logger.*test)()) << name << " " << std::hex << version;
        }
        for (const auto& [name, test] : alwaysFalse) {
            EXPECT_FALSE((logger.*test)()) << name << " " << std::hex << version;
        }
    }
}

TEST_F(Qel621WxDTest, BaseTestsItKeeps)
{
    logger.ID_VER = 0x22D;
    EXPECT_FALSE(logger.hasCfgTime2());
    logger.ID_VER = 0x22E;
    EXPECT_TRUE(logger.hasCfgTime2());
    logger.KE_TYPE = 2;
    EXPECT_FALSE(logger.hasWifiAutostartPOR());
}

TEST_F(Qel621WxDTest, ExternalControlWithoutAVersionCondition)
{
    logger.ID_VER = V(2, 0);
    logger.MODUL_CFG = 0x20;
    EXPECT_TRUE(logger.hasExternalControl());
    EXPECT_FALSE(logger.TQEL62xW::hasExternalControl());
    logger.MODUL_CFG = 0xFFDF;
    EXPECT_FALSE(logger.hasExternalControl());
}

TEST_F(Qel621WxDTest, RadioModuleAndName)
{
    const struct {
        std::uint16_t keType;
        bool ble, wlan, hourly;
        const char* name;
    } cases[] = {
        {0, false, false, false, "QEL621WxD"},
        {1, true, false, false, "QEL621WD"},
        {2, false, true, true, "QEL621W2D"},
        {3, false, false, false, "QEL621WxD"},
    };
    for (const auto& c : cases) {
        logger.ID_CLASS = 0x1234; // the name does not depend on the model code
        logger.ID_VER = 0;
        logger.KE_TYPE = c.keType;
        EXPECT_EQ(logger.hasBLE(), c.ble) << c.keType;
        EXPECT_EQ(logger.hasWLAN(), c.wlan) << c.keType;
        EXPECT_EQ(logger.hasWLANTimeHourly(), c.hourly) << c.keType;
        EXPECT_EQ(logger.GetName(), c.name) << c.keType;
    }
}

TEST_F(Qel621WxDTest, ChannelNumbersAreIndexesAtEveryVersion)
{
    AddChannel(logger, "T", "°C", 16);
    AddChannel(logger, "RH", "%rH", 5);
    logger.ID_VER = V(1, 0);
    EXPECT_EQ(logger.GetChName(1), "RH");
    EXPECT_EQ(logger.GetChUnit(1), "%rH");
    EXPECT_EQ(logger.GetChName(2), "2?");
    // Up to firmware 1.14 the channel ID is still the channel number.
    EXPECT_EQ(logger.getChID(1), 1);
    logger.ID_VER = 0x10F;
    EXPECT_EQ(logger.getChID(1), 5);
    EXPECT_EQ(logger.getChID(4), 0x3FFF);
    const std::unique_ptr<TQEL62xW> copy = logger.CreateCopy();
    EXPECT_EQ(typeid(*copy), typeid(TQEL62xW));
}

} // namespace
} // namespace qel
