// Tests of the QEL51 logger class: names of the four series per channel, no
// channel IDs and no UTC setting, feature tests and copies.
#include "config_model_fixture.h"

#include "loggers/qel51.h"

namespace qel {
namespace {

using namespace config_test;

class Qel51Test : public LoggerTest {
protected:
    TQEL51 logger;
};

TEST_F(Qel51Test, FourSeriesPerChannelWithoutIDs)
{
    auto& channel = AddChannel(logger, "T", "°C", 1);
    channel.ChID = 9;
    const struct {
        std::uint32_t ch;
        const char* name;
        const char* unit;
    } cases[] = {
        {0, "T", "°C"}, {1, "T min", "°C"}, {2, "T max", "°C"}, {3, "T avg", "°C"}, {4, "4?", "4?"}, {1021, "1021?", "1021?"},
    };
    for (std::uint16_t version : {0x100, 0x10F, 0x200}) {
        logger.ID_VER = version;
        for (const auto& c : cases) {
            EXPECT_EQ(logger.GetChName(c.ch), c.name) << c.ch;
            EXPECT_EQ(logger.GetChUnit(c.ch), c.unit) << c.ch;
            EXPECT_EQ(logger.getChID(c.ch), 0x3FFF) << c.ch << " " << version;
        }
        EXPECT_FALSE(logger.hasUTC());
    }
}

TEST_F(Qel51Test, IdentityVersionsAndFeatures)
{
    logger.ID_CLASS = 0x6616;
    EXPECT_EQ(logger.GetName(), "QEL51");
    logger.ID_CLASS = 0x6619;
    EXPECT_EQ(logger.GetName(), "?");
    EXPECT_TRUE(logger.IsKnownVersion(0x6616, V(1, 0)));
    EXPECT_FALSE(logger.IsKnownVersion(0x6616, V(1, 1)));
    EXPECT_FALSE(logger.IsKnownVersion(0x6616, V(0, 0)));
    EXPECT_FALSE(logger.IsKnownVersion(0x6615, V(1, 0)));
    logger.ID_VER = 0x104;
    EXPECT_FALSE(logger.IsBatTaskAvailable());
    EXPECT_FALSE(logger.isSection2B());
    logger.ID_VER = 0x105;
    EXPECT_TRUE(logger.IsBatTaskAvailable());
    EXPECT_TRUE(logger.isSection2B());
}

TEST_F(Qel51Test, CopyFromTakesTheChannelsRecordingSettings)
{
    TQEL51 source;
    source.ID_CLASS = 0x6616;
    source.ID_VER = 0x105;
    source.ID_VER_PC = 0x100;
    source.SN = 3;
    source.ViewTimeOff = 4;
    source.ViewTimeLogo = 5;
    auto& channel = AddChannel(source, "T", "°C", 1);
    channel.RecMask = 0x0A;
    channel.RecRateL = 60;
    channel.RecRateH = 2;
    auto& task = AddTask(source, {0});
    task.Enabled = true;
    task.CFG = 0x12;
    source.ViewGraphicList.Add(new qel51::TQelViewGraphic);
    source.ViewGraphicList.ystep = 0.5f;
    source.ViewTableList.Add(new qel51::TQelViewTable);
    source.T1.USR1_DATE = 6;
    source.T2.USR1_TIME = 7;

    TQEL51 target;
    target.CopyFrom(source);
    EXPECT_EQ(target.ID_CLASS, 0x6616);
    EXPECT_EQ(target.ID_VER, 0x105);
    EXPECT_EQ(target.ID_VER_PC, 0x100);
    EXPECT_EQ(target.SN, 3u);
    EXPECT_EQ(target.ViewTimeOff, 4);
    EXPECT_EQ(target.ViewTimeLogo, 5);
    ASSERT_EQ(target.Channels.Count(), 1);
    EXPECT_EQ(target.Channels.GetItem(0).RecMask, 0x0A);
    EXPECT_EQ(target.Channels.GetItem(0).RecRateL, 60);
    EXPECT_EQ(target.Channels.GetItem(0).RecRateH, 2);
    EXPECT_TRUE(target.Tasks.GetItem(0).Enabled);
    EXPECT_EQ(target.Tasks.GetItem(0).CFG, 0x12);
    EXPECT_EQ(target.ViewGraphicList.Count(), 1);
    EXPECT_EQ(target.ViewGraphicList.ystep, 0.5f);
    EXPECT_EQ(target.ViewTableList.Count(), 1);
    EXPECT_EQ(target.T1.USR1_DATE, 0);
    EXPECT_EQ(target.T2.USR1_TIME, 0u);
}

} // namespace
} // namespace qel
