// Tests of the QEL621WD logger class: channel numbers and IDs by version
// type, flex-sensor channels, feature tests, the palVEX3 name and copies.
#include "config_model_fixture.h"

#include "loggers/qel621wd.h"
#include "loggers/value_format.h"

namespace qel {
namespace {

using namespace config_test;
using T = TQEL621WD;

class Qel621WDTest : public LoggerTest {
protected:
    void AddChannels(int count)
    {
        for (int i = 0; i < count; ++i) {
            AddChannel(logger, TextWithNumber("C", i), i == 1 ? "mbar" : "°C", static_cast<std::uint16_t>(100 + i));
        }
    }

    T logger;
};

TEST_F(Qel621WDTest, ChannelNumbersByVersionType)
{
    AddChannels(7);
    const struct {
        std::uint16_t version;
        std::uint32_t ch;
        const char* name;
        const char* unit;
        std::uint16_t id;
    } cases[] = {
        {0x107, 6, "C1 max", "mbar", 101}, {0x107, 4, "C1", "mbar", 101}, {0x107, 27, "C6 avg", "°C", 106},
        {0x107, 28, "28?", "28?", 0x3FFF}, {0x100, 1, "C0 min", "°C", 100},
        {0x108, 6, "C6", "°C", 106},        {0x108, 1, "C1", "mbar", 101}, {0x108, 7, "7?", "7?", 0x3FFF},
        {0x10F, 0, "C0", "°C", 100},
    };
    for (const auto& c : cases) {
        logger.ID_VER = c.version;
        EXPECT_EQ(logger.GetChName(c.ch), c.name) << std::hex << c.version << " " << std::dec << c.ch;
        EXPECT_EQ(logger.GetChUnit(c.ch), c.unit) << std::hex << c.version << " " << std::dec << c.ch;
        EXPECT_EQ(logger.getChID(c.ch), c.id) << std::hex << c.version << " " << std::dec << c.ch;
    }
}

// The ID always belongs to the channel that the name gives: a channel index
// beyond the list gives $3FFF, never the ID of another channel.
TEST_F(Qel621WDTest, ChannelIDFollowsTheNamedChannel)
{
    AddChannels(2);
    logger.ID_VER = 0x108;
    EXPECT_EQ(logger.GetChName(6), "6?");
    EXPECT_EQ(logger.getChID(6), 0x3FFF);
    EXPECT_EQ(logger.getChID(1), 101);
    logger.ID_VER = 0x107;
    EXPECT_EQ(logger.GetChName(6), "C1 max");
    EXPECT_EQ(logger.getChID(6), 101);
}

TEST_F(Qel621WDTest, FlexChannelsNameExistingChannels)
{
    AddChannels(3);
    logger.ID_VER = 0x108;
    logger.updateFlexChannel(2, 1, 300, "Tflex", "K");
    EXPECT_EQ(logger.Channels.GetItem(2).Info.chID, 601);
    EXPECT_EQ(logger.GetChName(2), "Tflex");
    EXPECT_EQ(logger.GetChUnit(2), "K");
    EXPECT_EQ(logger.getChID(2), 601);
    logger.updateFlexChannel(0, 0, 0x8000, "P", "bar");
    EXPECT_EQ(logger.Channels.GetItem(0).Info.chID, 0);
    logger.updateFlexChannel(1, 3, 10, "RH", "%");
    EXPECT_EQ(logger.Channels.GetItem(1).Info.chID, 21);
    logger.updateFlexChannel(0, 1, 0xFFFF, "P", "bar");
    EXPECT_EQ(logger.Channels.GetItem(0).Info.chID, 0xFFFF);

    // A channel beyond the list is not added.
    logger.updateFlexChannel(3, 1, 300, "new", "x");
    EXPECT_EQ(logger.Channels.Count(), 3);
    EXPECT_EQ(logger.GetChName(3), "3?");
}

TEST_F(Qel621WDTest, FlexChannelsOfTheModel)
{
    logger.ID_CLASS = 0x6621;
    EXPECT_EQ(logger.getFlexChannels(), 5);
    EXPECT_FALSE(logger.isPalVEX());
    logger.ID_CLASS = 0x6624;
    EXPECT_EQ(logger.getFlexChannels(), 6);
    EXPECT_TRUE(logger.isPalVEX());
}

TEST_F(Qel621WDTest, FeatureTests)
{
    const std::pair<const char*, bool (T::*)() const> alwaysTrue[] = {
        {"IsQelNameAvaliable", &T::IsQelNameAvaliable},
        {"IsBatTaskAvailable", &T::IsBatTaskAvailable},
        {"areChannelsConfigurable", &T::areChannelsConfigurable},
        {"arePSensorConfigurable", &T::arePSensorConfigurable},
        {"isBLEConfigurable", &T::isBLEConfigurable},
        {"isBLEBaseStationAvailable", &T::isBLEBaseStationAvailable},
        {"isFastpeakAvailable", &T::isFastpeakAvailable},
        {"isTaskConfigurationAvailable", &T::isTaskConfigurationAvailable},
        {"isTaskOptionsAvailable", &T::isTaskOptionsAvailable},
        {"hasAppID", &T::hasAppID},
        {"hasLocalStart", &T::hasLocalStart},
        {"hasSyncTime", &T::hasSyncTime},
        {"hasUTC", &T::hasUTC},
    };
    for (std::uint16_t version : {0x0000, 0x0100, 0xFFFF}) {
        logger.ID_VER = version;
        for (const auto& [name, test] : alwaysTrue) {
            EXPECT_TRUE((logger.*test)()) << name << " " << version;
        }
    }
    const struct {
        const char* name;
        bool (T::*test)() const;
        std::uint16_t lastFalse;
    } boundaries[] = {
        {"isVersionType2", &T::isVersionType2, 0x107},
        {"hasRecordInfo", &T::hasRecordInfo, 0x108},
        {"hasFlexExtendedInterface", &T::hasFlexExtendedInterface, 0x108},
    };
    for (const auto& c : boundaries) {
        logger.ID_VER = c.lastFalse;
        EXPECT_FALSE((logger.*c.test)()) << c.name;
        logger.ID_VER = c.lastFalse + 1;
        EXPECT_TRUE((logger.*c.test)()) << c.name;
    }
    for (std::uint16_t app : {0, 1, 2, 257}) {
        logger.APP_ID = app;
        EXPECT_EQ(logger.isVorn5(), app == 1) << app;
    }
}

TEST_F(Qel621WDTest, IdentityAndVersions)
{
    const std::pair<std::uint16_t, const char*> names[] = {{0x6621, "QEL621WD"}, {0x6624, "palVEX3"}, {0x6617, "?"}};
    for (const auto& [code, name] : names) {
        logger.ID_CLASS = code;
        EXPECT_EQ(logger.GetName(), name) << std::hex << code;
    }
    const std::pair<std::uint16_t, bool> versions[] = {
        {V(0, 0), false}, {V(1, 0), true}, {V(1, 12), true}, {V(1, 13), false}, {V(2, 0), false},
    };
    for (const auto& [version, known] : versions) {
        EXPECT_EQ(logger.IsKnownVersion(0x6621, version), known) << std::hex << version;
        EXPECT_FALSE(logger.IsKnownVersion(0x6624, version)) << std::hex << version;
    }
    logger.BLE_IF = 15;
    logger.BLE_VER = 300;
    EXPECT_EQ(logger.getBLEVersionStr(), "0.300");
}

TEST_F(Qel621WDTest, CopyFrom)
{
    T source;
    source.ID_CLASS = 0x6624;
    source.ID_VER = 0x10A;
    source.SN = 77;
    source.APP_ID = 1;
    AddChannel(source, "T", "°C", 7);
    AddTask(source, {0}).Options = 1;
    source.ViewTableList.Add(new qel621wd::TQelViewTable);
    source.QELNAME = "Pallet";
    source.CFG_MODULE = 2;
    source.BLE_QEL = 3;
    source.RTC_RULE = 4;
    source.VORN5.VIBRA_CTRL = 5;
    source.VORN5.VIBRA_TIMING_OFF = 6;
    source.VORN5.VIBRA_ANGLE_TO = 45.5;
    source.FLEX[0] = 0xAA;
    source.FLEX_SN = 8;
    source.FLEX_TYPE = 9;
    source.FLEX_IDX = 10;
    source.REC_CAP = 11;

    T target;
    target.CopyFrom(source);
    EXPECT_EQ(target.ID_CLASS, 0x6624);
    EXPECT_EQ(target.ID_VER, 0x10A);
    EXPECT_EQ(target.SN, 77u);
    EXPECT_EQ(target.APP_ID, 1);
    EXPECT_TRUE(target.isVorn5());
    EXPECT_EQ(target.GetChName(0), "T");
    EXPECT_EQ(target.Tasks.GetItem(0).Options, 1u);
    EXPECT_EQ(target.ViewTableList.Count(), 1);
    EXPECT_EQ(target.QELNAME, "Pallet");
    EXPECT_EQ(target.CFG_MODULE, 2);
    EXPECT_EQ(target.BLE_QEL, 3);
    EXPECT_EQ(target.RTC_RULE, 4);
    EXPECT_EQ(target.VORN5.VIBRA_CTRL, 5);
    EXPECT_EQ(target.VORN5.VIBRA_TIMING_OFF, 6);
    EXPECT_EQ(target.VORN5.VIBRA_ANGLE_TO, 45.5);
    // The flex fields and the recording fields stay.
    EXPECT_EQ(target.FLEX[0], 0);
    EXPECT_EQ(target.FLEX_SN, 0);
    EXPECT_EQ(target.FLEX_TYPE, 0);
    EXPECT_EQ(target.FLEX_IDX, 0);
    EXPECT_EQ(target.REC_CAP, 0);
}

} // namespace
} // namespace qel
