// Tests of the QEL539c logger class: its own channels' series, radio channels
// from 64 on with the record flow of a module, feature tests and copies.
#include "config_model_fixture.h"

#include "loggers/qel539c.h"

#include <vector>

namespace qel {
namespace {

using namespace config_test;

class Qel539cTest : public LoggerTest {
protected:
    TRFSModul& AddModul(std::uint16_t sn, std::uint8_t ctrl, std::uint8_t cfg)
    {
        auto* modul = new TRFSModul;
        modul->sn = sn;
        modul->ctrl = ctrl;
        modul->cfg = cfg;
        modul->Initialize();
        logger.FRFSModulList.Add(modul);
        return *modul;
    }

    TQEL539C logger;
};

TEST_F(Qel539cTest, OwnChannelsHaveFourSeries)
{
    AddChannel(logger, "P", "mbar", 8);
    AddChannel(logger, "T", "°C", 1);
    const struct {
        std::uint32_t ch;
        const char* name;
        const char* unit;
    } cases[] = {
        {0, "P", "mbar"}, {3, "P avg", "mbar"}, {5, "T min", "°C"}, {6, "T max", "°C"}, {8, "8?", "8?"}, {63, "63?", "63?"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(logger.GetChName(c.ch), c.name) << c.ch;
        EXPECT_EQ(logger.GetChUnit(c.ch), c.unit) << c.ch;
        EXPECT_EQ(logger.GetModulName(c.ch), "") << c.ch;
    }
}

TEST_F(Qel539cTest, RadioChannelsFrom64)
{
    EXPECT_EQ(logger.GetChName(64), "");
    EXPECT_EQ(logger.GetChName(81), "");
    EXPECT_EQ(logger.GetChUnit(64), "");
    EXPECT_EQ(logger.GetModulName(64), "");

    AddModul(501, 0x00, 0x07); // P1, T, RH, T_RH, DP, cap
    AddModul(502, 0x80, 0x30); // 12 ... 19, cap
    AddChannel(logger, "own", "x", 1);
    const struct {
        std::uint32_t ch;
        const char* name;
        const char* unit;
        const char* modul;
    } cases[] = {
        {64, "P1", "mbar", "SM-501"},          {65, "T", "°C", "SM-501"},   {69, "cap", "cnts", "SM-501"},
        {70, "", "", "SM-501"},                {79, "", "", "SM-501"},      {80, "Tambient slot 1", "°C", "SM-502"},
        {81, "Tsurface slot 1", "°C", "SM-502"}, {88, "cap", "cnts", "SM-502"}, {96, "", "", ""},
        {0xFFFFFFFF, "", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(logger.GetChName(c.ch), c.name) << c.ch;
        EXPECT_EQ(logger.GetChUnit(c.ch), c.unit) << c.ch;
        EXPECT_EQ(logger.GetModulName(c.ch), c.modul) << c.ch;
        EXPECT_EQ(logger.getChID(c.ch), 0x3FFF) << c.ch;
    }
    EXPECT_EQ(logger.GetModulName(63), "");
    EXPECT_EQ(logger.getChID(0), 0x3FFF);
}

struct Sample {
    std::uint32_t ch;
    float value;
    std::string text;
};

void ExpectSamples(const std::vector<Sample>& samples, const std::vector<Sample>& expected)
{
    ASSERT_EQ(samples.size(), expected.size());
    for (std::size_t i = 0; i < samples.size(); ++i) {
        EXPECT_EQ(samples[i].ch, expected[i].ch) << i;
        EXPECT_FLOAT_EQ(samples[i].value, expected[i].value) << i;
        EXPECT_EQ(samples[i].text, expected[i].text) << i;
    }
}

// The page decoder's steps for radio records, and the samples they give:
// channel number 64 + 16 × module index + channel index.
TEST_F(Qel539cTest, RadioRecordFlow)
{
    const auto record = [this](std::uint16_t sn, std::uint8_t ctrl, std::uint8_t cfg, std::int32_t counter,
                               std::initializer_list<std::int16_t> values) {
        if (logger.FRFSModulList.findModulSN(sn) < 0) {
            AddModul(sn, ctrl, cfg);
        }
        TRFSModul& modul = logger.FRFSModulList.GetItem(logger.FRFSModulList.findModulSN(sn));
        modul.setTransparentConfig(cfg, false);
        modul.GetItem(modul.findRFSChannel(256)).setValue(counter);
        int pos = 0;
        for (std::int16_t value : values) {
            modul.setRFSChannelValue(modul.getChannelIndex(pos++), value);
        }
    };
    const auto takeSamples = [this] {
        std::vector<Sample> samples;
        for (int m = 0; m < logger.FRFSModulList.Count(); ++m) {
            TRFSModul& modul = logger.FRFSModulList.GetItem(m);
            for (int c = 0; c < modul.getChannels(); ++c) {
                Sample sample{static_cast<std::uint32_t>(64 + 16 * m + c), 0.0f, ""};
                if (modul.getValidValue(c, sample.value, sample.text)) {
                    samples.push_back(sample);
                }
            }
        }
        return samples;
    };

    record(700, 0x00, 0x06, 5, {215, 456, 210, 100}); // T, RH, T_RH, DP
    record(701, 0x80, 0xF0, 9, {2150, 2000, 40});     // map 14, 15, 18: indexes 2, 3, 6
    ExpectSamples(takeSamples(), {
                                     {64, 21.5f, "21.5"},
                                     {65, 45.6f, "45.6"},
                                     {66, 21.0f, "21.0"},
                                     {67, 10.0f, "10.0"},
                                     {68, 5.0f, "5"},
                                     {82, 107.5f, "107.5"},
                                     {83, 20.0f, "20.0"},
                                     {86, 2.0f, "2.0"},
                                     {88, 9.0f, "9"},
                                 });
    EXPECT_EQ(logger.GetChName(82), "Heatflux slot 1");
    EXPECT_EQ(logger.GetChUnit(82), "W/m2");
    // Every value is taken once.
    EXPECT_TRUE(takeSamples().empty());

    // A new configuration of the transparent module shortens its map: the
    // stale entries must not route positions 1 and 2 to IDs 15 and 18.
    record(701, 0x80, 0x10, 10, {1234, 55, 66});
    ExpectSamples(takeSamples(), {{80, 12.34f, "12.3"}, {88, 10.0f, "10"}});
}

TEST_F(Qel539cTest, OwnChannelValuesAndTexts)
{
    auto& channel = AddChannel(logger, "P", "mbar", 8);
    channel.fValue = 1013.25f;
    channel.Info.nDispFmt = 1;
    AddChannel(logger, "T", "°C", 1).Info.nDispFmt = 3;
    // Indexes are the channel numbers themselves here.
    EXPECT_EQ(logger.GetChValue(0), 1013.25f);
    EXPECT_EQ(logger.GetChValue(1), 0.0f);
    EXPECT_EQ(logger.GetChValue(4), 0.0f);
    EXPECT_EQ(logger.GetValueStr(0, 1013.25f), "1013.3");
    EXPECT_EQ(logger.GetValueStr(1, 21.0f), "21.000");
    EXPECT_THROW(logger.GetValueStr(2, 1.0f), plat::EListError);
    EXPECT_THROW(logger.GetValueStr(64, 1.0f), plat::EListError);
}

TEST_F(Qel539cTest, FeatureTests)
{
    using T = TQEL539C;
    const struct {
        const char* name;
        bool (T::*test)() const;
        std::uint16_t lastFalse;
        std::uint16_t appID = 0;
        std::uint16_t keType = 0;
    } boundaries[] = {
        {"IsQelNameAvaliable", &T::IsQelNameAvaliable, 0x101},
        {"IsBatTaskAvailable", &T::IsBatTaskAvailable, 0x105},
        {"areChannelsConfigurable", &T::areChannelsConfigurable, 0x107},
        {"hasLocalStart", &T::hasLocalStart, 0x2FF},
        {"hasSyncTime", &T::hasSyncTime, 0x2FF},
        {"hasUTC", &T::hasUTC, 0x2FF},
        {"hasURL", &T::hasURL, 0x34F},
        {"hasKE", &T::hasKE, 0x355},
        {"hasModbus", &T::hasModbus, 0x355, 2},
        {"hasBLE", &T::hasBLE, 0x355, 0, 1},
        {"hasWLAN", &T::hasWLAN, 0x355, 0, 2},
        {"hasModem (kept by APP_ID 1)", &T::hasModem, 0x307, 1},
    };
    for (const auto& c : boundaries) {
        T fresh;
        fresh.APP_ID = c.appID;
        fresh.KE_TYPE = c.keType;
        fresh.ID_VER = c.lastFalse;
        EXPECT_FALSE((fresh.*c.test)()) << c.name;
        fresh.ID_VER = c.lastFalse + 1;
        EXPECT_TRUE((fresh.*c.test)()) << c.name;
        fresh.ID_VER = 0xFFFF;
        EXPECT_TRUE((fresh.*c.test)()) << c.name;
    }
    const struct {
        std::uint16_t version, appID, keType;
        bool modem, modbus, ble, wlan;
    } cases[] = {
        {0x308, 0, 1, true, false, false, false},  {0x355, 2, 1, true, false, false, false},
        {0x356, 0, 1, false, false, true, false},  {0x356, 1, 2, true, false, false, true},
        {0x356, 2, 0, false, true, false, false},  {0x356, 0, 3, false, false, false, false},
    };
    for (const auto& c : cases) {
        logger.ID_VER = c.version;
        logger.APP_ID = c.appID;
        logger.KE_TYPE = c.keType;
        EXPECT_EQ(logger.hasModem(), c.modem) << std::hex << c.version << " " << c.appID;
        EXPECT_EQ(logger.hasModbus(), c.modbus) << std::hex << c.version << " " << c.appID;
        EXPECT_EQ(logger.hasBLE(), c.ble) << std::hex << c.version << " " << c.keType;
        EXPECT_EQ(logger.hasWLAN(), c.wlan) << std::hex << c.version << " " << c.keType;
    }
}

TEST_F(Qel539cTest, IdentityAndVersions)
{
    logger.ID_CLASS = 0x6615;
    EXPECT_EQ(logger.GetName(), "QEL539WD");
    logger.ID_CLASS = 0x6616;
    EXPECT_EQ(logger.GetName(), "QEL51"); // the model-name table speaks
    const std::pair<std::uint16_t, bool> versions[] = {
        {V(2, 255), false}, {V(3, 0), true}, {V(3, 86), true}, {V(3, 87), false}, {V(4, 0), false},
    };
    for (const auto& [version, known] : versions) {
        EXPECT_EQ(logger.IsKnownVersion(0x6615, version), known) << std::hex << version;
    }
    EXPECT_FALSE(logger.IsKnownVersion(0x6616, V(3, 0)));
}

TEST_F(Qel539cTest, CopyFromLeavesTheRadioModules)
{
    TQEL539C source;
    source.ID_CLASS = 0x6615;
    source.ID_VER = 0x356;
    source.ID_VER_PC = 0x355;
    source.SN = 1;
    source.APP_ID = 2;
    source.ViewTimeOff = 3;
    source.ViewTimeLogo = 4;
    source.QELNAME = "Cellar";
    source.STATE = 5;
    source.KE_TYPE = 2;
    source.BLE_QEL = 6;
    source.BLE_TIME_TO = 7;
    source.BLE_PWD = "pw";
    source.WLAN_CLASS = 8;
    source.WLAN_TIME_TO2 = 9;
    AddChannel(source, "P", "mbar", 8);
    AddTask(source, {0}).Enabled = true;
    source.ViewGraphicList2.Add(new qel539c::TQelViewGraphic);
    auto* modul = new TRFSModul;
    modul->sn = 10;
    source.FRFSModulList.Add(modul);
    // Not copied.
    source.URL = "http://example.invalid";
    source.RFS_CTRL = 11;
    source.MODBUS_ADDR = 12;
    source.CFG_MODULE = 13;
    source.WLAN_CFG_SSID = "net";

    TQEL539C target;
    target.CopyFrom(source);
    EXPECT_EQ(target.ID_CLASS, 0x6615);
    EXPECT_EQ(target.ID_VER, 0x356);
    EXPECT_EQ(target.ID_VER_PC, 0x355);
    EXPECT_EQ(target.SN, 1u);
    EXPECT_EQ(target.APP_ID, 2);
    EXPECT_EQ(target.ViewTimeOff, 3);
    EXPECT_EQ(target.ViewTimeLogo, 4);
    EXPECT_EQ(target.QELNAME, "Cellar");
    EXPECT_EQ(target.STATE, 5);
    EXPECT_EQ(target.KE_TYPE, 2);
    EXPECT_EQ(target.BLE_QEL, 6);
    EXPECT_EQ(target.BLE_TIME_TO, 7);
    EXPECT_EQ(target.BLE_PWD, "pw");
    EXPECT_EQ(target.WLAN_CLASS, 8);
    EXPECT_EQ(target.WLAN_TIME_TO2, 9);
    EXPECT_EQ(target.GetChName(1), "P min");
    EXPECT_TRUE(target.Tasks.GetItem(0).Enabled);
    EXPECT_EQ(target.ViewGraphicList2.Count(), 1);
    EXPECT_TRUE(target.hasModbus());
    EXPECT_EQ(target.FRFSModulList.Count(), 0);
    EXPECT_EQ(target.URL, "");
    EXPECT_EQ(target.RFS_CTRL, 0);
    EXPECT_EQ(target.MODBUS_ADDR, 0);
    EXPECT_EQ(target.CFG_MODULE, 0);
    EXPECT_EQ(target.WLAN_CFG_SSID, "");
}

} // namespace
} // namespace qel
