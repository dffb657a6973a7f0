// Tests of the configuration readers on configuration copies laid out by the
// card generator from the field tables.
#include "card/cluster_config.h"
#include "loggers/qel57.h"
#include "loggers/qel629.h"
#include "loggers/qel629c.h"
#include "loggers/qel649.h"
#include "platform/date_time.h"
#include "tools/cardgen/config_area.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <typeinfo>

namespace qel {
namespace {

using namespace cardgen;

TCardCluster WithConfig(const std::vector<std::uint8_t>& config)
{
    TCardCluster cluster{};
    std::copy_n(config.begin(), std::min(config.size(), cluster.size() - 78), cluster.begin() + 78);
    return cluster;
}

TCardClusterInfo Identity(std::uint16_t model, std::uint16_t firmware, std::uint16_t pc = 0)
{
    TCardClusterInfo info;
    info.QEL_CLASS = model;
    info.QEL_VER = firmware;
    info.QEL_VER_PC = pc != 0 ? pc : firmware;
    info.QEL_SN = 123456;
    return info;
}

TEST(ReadConfigQEL629, MasksEnableChannelsSetInBoth)
{
    const struct {
        std::uint16_t mask1, mask2;
        std::vector<int> enabled;
    } cases[] = {
        {0xFFFF, 0x0005, {0, 2}},
        {0xFFFF, 0xFFFF, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 14}},
        {0x00F0, 0x0FF0, {4, 5, 6, 7}},
    };
    for (const auto& c : cases) {
        TQel629ConfigDescription desc;
        desc.Mask1 = c.mask1;
        desc.Mask2 = c.mask2;
        TQEL629 logger;
        ReadConfigQEL629(Identity(0x6601, 0x0305), WithConfig(BuildQel629Config(desc)), logger);
        for (int ch = 0; ch <= 14; ++ch) {
            const bool expected = std::find(c.enabled.begin(), c.enabled.end(), ch) != c.enabled.end();
            EXPECT_EQ(logger.CH_EN[static_cast<std::size_t>(ch)], expected) << std::hex << c.mask1 << " " << c.mask2 << " ch " << std::dec << ch;
        }
    }
}

// Channels 2 (acceleration), 5 (humidity), 7 (temperature) and 9 (user input 1) on.
TQel629ConfigDescription FullQel629Config()
{
    TQel629ConfigDescription desc;
    desc.Mask2 = 1 << 2 | 1 << 5 | 1 << 7 | 1 << 9;
    desc.Features = 1 << 8 | 1 << 0;                // cINT_T_EXT0, cINT_MS_14BAR
    desc.UserInputs[0] = {"Pres", "bar", 1.5f, -0.25f};
    desc.UserInputs[1] = {"Off", "x", 2.0f, 2.0f};  // channel 10 is off
    desc.Acc2G = {0.5f, 1.0f, -1.0f, 2.0f, 0.0f, 1.25f};
    desc.Acc10G = {4.0f, 8.0f, -4.0f, 0.75f, 3.0f, 6.0f};
    desc.AccOptions = 3;
    desc.Name = " Lg 1 ";
    desc.CalDate = {24, 2, 9};
    desc.CalFlags = 3;
    desc.CalInfo = "AB";
    desc.Humidity = {1000, 1100, 9000, 8800};
    desc.Temperature = {-500, -480, 5000, 5030};
    desc.PSensorFlags = 1;
    desc.PSensorInt = 7;
    desc.PSensorExt = 9;
    return desc;
}

TEST(ReadConfigQEL629, ExtendedLoggerTakesEveryField)
{
    TQEL629 logger;
    logger.CAL_T_RH = true;
    ReadConfigQEL629(Identity(0x6601, 0x0578, 0x0577), WithConfig(BuildQel629Config(FullQel629Config())), logger);

    EXPECT_EQ(logger.ID_CLASS, 0x6601);
    EXPECT_EQ(logger.ID_VER, 0x0578);
    EXPECT_EQ(logger.ID_VER_PC, 0x0577);
    EXPECT_EQ(logger.SN, 123456u);
    EXPECT_EQ(logger.INT_CFG, (TEnumSet<TQEL629::TIntCfg>{TQEL629::cINT_MS_14BAR, TQEL629::cINT_T_EXT0}));
    EXPECT_EQ(logger.A1_NAME_USR, "Pres");
    EXPECT_EQ(logger.A1_UNIT_USR, "bar");
    EXPECT_EQ(logger.A1_OFS_USR, 1.5f);
    EXPECT_EQ(logger.A1_GAIN_USR, -0.25f);
    EXPECT_EQ(logger.A2_NAME_USR, "");
    EXPECT_EQ(logger.SMB_CFG, (TEnumSet<TQEL629::TSmbCfg>{TQEL629::cSMB_HIGH_G, TQEL629::cSMB_PEAK}));   // ADXL345
    EXPECT_EQ(logger.X2G_OFS_USR, 0.5f);
    EXPECT_EQ(logger.Y2G_OFS_USR, -1.0f);
    EXPECT_EQ(logger.Z2G_GAIN_USR, 1.25f);
    EXPECT_EQ(logger.X10G_GAIN_USR, 8.0f);
    EXPECT_EQ(logger.Y10G_GAIN_USR, 0.75f);
    EXPECT_EQ(logger.Z10G_OFS_USR, 3.0f);
    EXPECT_TRUE(logger.CAL_RH);
    EXPECT_TRUE(logger.CAL_T);
    EXPECT_FALSE(logger.CAL_T_RH);
    EXPECT_FLOAT_EQ(logger.CAL_RH_SET_LO, 10.0f);
    EXPECT_FLOAT_EQ(logger.CAL_RH_ACT_HI, 88.0f);
    EXPECT_EQ(logger.CAL_T_SET_LO, -500.0f);   // light mode: the points are taken as they are
    EXPECT_EQ(logger.CAL_T_ACT_HI, 5030.0f);
    EXPECT_EQ(logger.NAME, "Lg 1");
    EXPECT_EQ(logger.CAL_DATE, plat::EncodeDate(2024, 3, 10));
    EXPECT_EQ(logger.CAL_INFO, "AB");
    EXPECT_TRUE(logger.EXT_PSENSOR.bValid);
    EXPECT_EQ(logger.EXT_PSENSOR.INT_PINT, 7);
    EXPECT_EQ(logger.EXT_PSENSOR.INT_PEXT, 9);
}

TEST(ReadConfigQEL629, OlderLoggerSkipsTheExtendedFields)
{
    TQEL629 logger;
    logger.NAME = "keep";
    ReadConfigQEL629(Identity(0x6601, 0x0305), WithConfig(BuildQel629Config(FullQel629Config())), logger);
    EXPECT_EQ(logger.SMB_CFG, (TEnumSet<TQEL629::TSmbCfg>{TQEL629::cSMB_HIGH_G, TQEL629::cSMB_FAST}));   // SMB365
    EXPECT_FALSE(logger.CAL_RH);
    EXPECT_FALSE(logger.CAL_T);
    EXPECT_FLOAT_EQ(logger.CAL_RH_SET_LO, 10.0f);   // humidity points follow channel 5 alone
    EXPECT_EQ(logger.CAL_T_SET_LO, 0.0f);
    EXPECT_EQ(logger.NAME, "keep");
    EXPECT_FALSE(logger.EXT_PSENSOR.bValid);
}

TEST(ReadConfigQEL629, TemperatureInHundredthsCoincidingPointsAndInvalidDate)
{
    TQel629ConfigDescription desc = FullQel629Config();
    desc.Features = 0;                          // standard temperature mode
    desc.Humidity = {1000, 1100, 9000, 1100};   // measured points coincide
    desc.CalDate = {24, 12, 0};                 // month 13
    TQEL629 logger;
    ReadConfigQEL629(Identity(0x6601, 0x0578), WithConfig(BuildQel629Config(desc)), logger);
    EXPECT_FLOAT_EQ(logger.CAL_T_SET_LO, -5.0f);
    EXPECT_FLOAT_EQ(logger.CAL_T_ACT_HI, 50.3f);
    EXPECT_TRUE(logger.CAL_T);
    EXPECT_FALSE(logger.CAL_RH);   // switched off: it would divide by zero
    EXPECT_EQ(logger.CAL_DATE, plat::EncodeDate(2000, 1, 1));
}

TEST(ReadConfigQEL649, OwnMaskMappingFeaturesAndCalibration)
{
    TQel649ConfigDescription desc;
    desc.Mask2 = 1 << 0 | 1 << 2 | 1 << 5 | 1 << 6 | 1 << 8 | 1 << 9 | 1 << 13 | 1 << 14;
    desc.Features = 0xA5;
    desc.Features2 = 3;
    desc.UserInputs[0] = {"In1", "V", 0.5f, 2.0f};
    desc.Acc2G = {1.0f, 2.0f, 3.0f, 4.0f, 5.0f, 6.0f};
    desc.Name = "Box";
    desc.CalDate = {1, 0, 0};
    desc.CalFlags = 5;                         // humidity and the humidity sensor's temperature
    desc.Humidity = {1000, 1100, 9000, 8800};
    desc.Temperature = {-500, -480, 5000, 5030};
    desc.PSensorFlags = 1;
    desc.PSensorInt = 4;
    desc.PSensorExt = 5;
    TQEL649 logger;
    logger.CH_EN[8] = true;
    logger.CH_EN[14] = true;
    logger.INT_CFG.Include(TQEL649::cINT_H2);
    ReadConfigQEL649(Identity(0x6606, 0x0202), WithConfig(BuildQel649Config(desc)), logger);

    const std::vector<std::size_t> on{0, 2, 5, 6, 8, 9, 14, 16, 17};
    for (std::size_t ch = 0; ch < TQEL649::ChannelCount; ++ch) {
        EXPECT_EQ(logger.CH_EN[ch], std::find(on.begin(), on.end(), ch) != on.end()) << "ch " << ch;
    }
    EXPECT_EQ(logger.INT_CFG, (TEnumSet<TQEL649::TIntCfg>{TQEL649::cINT_MS_14BAR, TQEL649::cINT_MS_NEG, TQEL649::cINT_LIGHT_MAXIM,
                                                         TQEL649::cINT_SDCARD, TQEL649::cINT_POSTRIG, TQEL649::cINT_RECTIMER}));
    EXPECT_EQ(logger.A1_NAME_USR, "In1");
    EXPECT_EQ(logger.A1_GAIN_USR, 2.0f);
    EXPECT_EQ(logger.Z2G_GAIN_USR, 6.0f);
    EXPECT_TRUE(logger.CAL_RH);
    EXPECT_FALSE(logger.CAL_T);
    EXPECT_TRUE(logger.CAL_T_RH);
    EXPECT_FLOAT_EQ(logger.CAL_RH_ACT_LO, 11.0f);
    EXPECT_FLOAT_EQ(logger.CAL_T_SET_LO, -5.0f);
    EXPECT_EQ(logger.NAME, "Box");
    EXPECT_EQ(logger.CAL_DATE, plat::EncodeDate(2001, 1, 1));
    EXPECT_TRUE(logger.EXT_PSENSOR.bValid);
    EXPECT_EQ(logger.EXT_PSENSOR.INT_PINT, 4);
    EXPECT_EQ(logger.EXT_PSENSOR.INT_PEXT, 5);

    // Without calibration flags the points are not read; older firmware has no pressure block.
    desc.CalFlags = 0;
    TQEL649 older;
    ReadConfigQEL649(Identity(0x6607, 0x0201), WithConfig(BuildQel649Config(desc)), older);
    EXPECT_EQ(older.CAL_RH_ACT_LO, 0.0f);
    EXPECT_EQ(older.CAL_T_SET_LO, 0.0f);
    EXPECT_FALSE(older.EXT_PSENSOR.bValid);
    EXPECT_EQ(older.NAME, "Box");
}

TEST(ReadConfigQEL629C, EntriesWithTextsAndUnconfiguredChannels)
{
    TQel629cConfigDescription desc;
    desc.Name = "  Cellar\t";
    desc.WithTexts = true;
    desc.Channels = {{1, 0.01f, -40.0f, "Temp", "\xB0" "C"}, {5, 0.5f, 0.0f, " RH ", "%"}, {99, 1.0f, 2.0f, "", ""}};
    TQEL629C logger;
    ReadConfigQEL629C(Identity(0x6601, 0x0603), WithConfig(BuildQel629cConfig(desc)), logger);
    EXPECT_EQ(logger.ID_VER, 0x0603);
    EXPECT_EQ(logger.QELNAME, "Cellar");
    ASSERT_EQ(logger.Channels.Count(), 32);
    const TQelChannelInfo& first = logger.Channels[0]->Info;
    EXPECT_EQ(first.chID, 1);
    EXPECT_EQ(first.dGain, 0.01f);
    EXPECT_EQ(first.dOfs, -40.0f);
    EXPECT_EQ(first.sName, "Temp");
    EXPECT_EQ(first.sUnit, "\xC2\xB0" "C");   // byte 0xB0 is the character U+00B0
    EXPECT_EQ(logger.Channels[1]->Info.sName, "RH");
    EXPECT_EQ(logger.Channels[2]->Info.sName, "");
    EXPECT_EQ(logger.Channels[2]->Info.dOfs, 2.0f);
    for (int i = 3; i < 32; ++i) {
        const TQelChannelInfo& unused = logger.Channels[i]->Info;
        EXPECT_EQ(unused.dGain, 1.0f) << i;
        EXPECT_EQ(unused.dOfs, 0.0f) << i;
        EXPECT_EQ(unused.sName, "") << i;
    }
}

TEST(ReadConfigQEL629C, NamesFromChannelIdsWithoutTexts)
{
    TQel629cConfigDescription desc;
    desc.Channels = {{1, 1.0f, 0.0f, "", ""}, {15, 1.0f, 0.0f, "", ""}, {19, 1.0f, 0.0f, "", ""}};
    TQEL629C logger;
    ReadConfigQEL629C(Identity(0x6601, 0x0600), WithConfig(BuildQel629cConfig(desc)), logger);
    EXPECT_EQ(logger.Channels[0]->Info.sName, "T");
    EXPECT_EQ(logger.Channels[0]->Info.sUnit, "\xC2\xB0" "C");
    EXPECT_EQ(logger.Channels[1]->Info.sName, "T");
    EXPECT_EQ(logger.Channels[1]->Info.sUnit, "");
    EXPECT_EQ(logger.Channels[2]->Info.sName, "CH2");
    EXPECT_EQ(logger.Channels[2]->Info.chID, 19);
}

TEST(ReadConfigQEL629C, CountAboveThirtyTwoReadsThirtyTwoEntriesWhereTheyLie)
{
    TQel629cConfigDescription desc;
    desc.WithTexts = true;
    for (std::uint16_t i = 0; i < 40; ++i) {
        const char name[] = {'N', static_cast<char>('0' + i / 10), static_cast<char>('0' + i % 10), '\0'};
        desc.Channels.push_back({static_cast<std::uint16_t>(100 + i), 1.0f, static_cast<float>(i), name, ""});
    }
    const auto bytes = BuildQel629cConfig(desc);
    ASSERT_EQ(bytes.size(), 14u + 40 * 22);
    TCardCluster cluster = WithConfig(bytes);
    TQEL629C logger;
    ReadConfigQEL629C(Identity(0x6601, 0x0600), cluster, logger);
    ASSERT_EQ(logger.Channels.Count(), 32);
    const TQelChannelInfo& last = logger.Channels[31]->Info;   // bytes 774 to 795
    EXPECT_EQ(last.chID, 131);
    EXPECT_EQ(last.dOfs, 31.0f);
    EXPECT_EQ(last.sName, "N31");
    EXPECT_EQ(logger.Channels[0]->Info.sName, "N00");
    cluster[795] = 'X';   // the last byte of the last unit read
    ReadConfigQEL629C(Identity(0x6601, 0x0600), cluster, logger);
    EXPECT_EQ(logger.Channels[31]->Info.sUnit, "X");
}

TEST(ReadConfig, LoggerOfAnotherClassIsRefused)
{
    const TCardCluster cluster{};
    TQEL629 qel629;
    TQEL629C qel629c;
    TQEL649 qel649;
    TQEL57b qel57b;
    TQEL57c qel57c;
    EXPECT_THROW(ReadConfigQEL629(Identity(0x6601, 0x0305), cluster, qel649), std::bad_cast);
    EXPECT_THROW(ReadConfigQEL629C(Identity(0x6601, 0x0600), cluster, qel629), std::bad_cast);
    EXPECT_THROW(ReadConfigQEL649(Identity(0x6606, 0x0120), cluster, qel629c), std::bad_cast);
    EXPECT_THROW(ReadConfigQEL57(Identity(0x661D, 0x0300), cluster, qel57b), std::bad_cast);
    EXPECT_THROW(ReadConfigQEL57(Identity(0x661D, 0x0100), cluster, qel629), std::bad_cast);
    EXPECT_NO_THROW(ReadConfigQEL57(Identity(0x661D, 0x0200), cluster, qel57c));
    EXPECT_EQ(qel57c.ID_VER_PC, 0x0200);
    EXPECT_EQ(qel57c.SN, 123456u);
}

} // namespace
} // namespace qel
