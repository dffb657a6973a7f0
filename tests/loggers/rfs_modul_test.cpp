// Tests of the QEL539c radio modules: channel sets by configuration, the
// transparent-mode map, values taken once, scaling, texts and module order.
#include "loggers/rfs_modul.h"

#include "logger_test_env.h"

#include <vector>

namespace qel {
namespace {

class RfsModulTest : public LoggerTest {};

std::vector<std::int32_t> ChannelIDs(const TRFSModul& modul)
{
    std::vector<std::int32_t> ids;
    for (int i = 0; i < modul.getChannels(); ++i) {
        ids.push_back(modul.GetItem(i).ID);
    }
    return ids;
}

void Init(TRFSModul& modul, std::uint8_t ctrl, std::uint8_t cfg)
{
    modul.ctrl = ctrl;
    modul.cfg = cfg;
    modul.Initialize();
}

// A module whose radio channels carry exactly these IDs.
void AddIDs(TRFSModul& modul, std::initializer_list<std::int32_t> ids)
{
    for (std::int32_t id : ids) {
        modul.AddRFSChannel(id);
    }
}

TEST_F(RfsModulTest, ChannelSetsByConfiguration)
{
    const struct {
        std::uint8_t cfg;
        std::vector<std::int32_t> ids;
    } cases[] = {
        {0x07, {5, 4, 1, 2, 3, 20}}, {0x00, {20}},        {0x01, {5, 20}},      {0x09, {6, 20}},
        {0x31, {11, 20}},            {0x39, {0, 20}},     {0x02, {4, 20}},      {0x04, {1, 2, 3, 20}},
        {0x3F, {0, 4, 1, 2, 3, 20}}, {0xF8, {20}},        {0x33, {11, 4, 20}},
    };
    for (const auto& c : cases) {
        TRFSModul modul;
        modul.cfg = c.cfg;
        modul.AddRFSChannel(99); // replaced by Initialize
        modul.Initialize();
        EXPECT_EQ(ChannelIDs(modul), c.ids) << int(c.cfg);
        EXPECT_EQ(modul.getRFSChannels(), static_cast<int>(c.ids.size()) - 1) << int(c.cfg);
        // Each radio channel is reached by its ID, the counter by 256.
        for (int i = 0; i + 1 < modul.getChannels(); ++i) {
            EXPECT_EQ(modul.GetItem(i).rfsID, modul.GetItem(i).ID) << int(c.cfg);
        }
        EXPECT_EQ(modul.findRFSChannel(256), modul.getChannels() - 1) << int(c.cfg);
    }
    TRFSModul modul;
    Init(modul, 0, 0x07);
    const char* names[] = {"P1", "T", "RH", "T_RH", "DP", "cap"};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(modul.getChannelName(i), names[i]) << i;
    }
}

TEST_F(RfsModulTest, TransparentChannelsAndMap)
{
    const struct {
        std::uint8_t cfg;
        std::vector<std::int32_t> map;
    } cases[] = {
        {0x30, {14, 15}},     {0xF0, {14, 15, 18}}, {0xD0, {12, 18, 19}}, {0xC0, {18, 19}},
        {0x50, {12, 16}},     {0xA0, {13, 17}},     {0x00, {}},           {0x10, {12}},
        {0x8F, {17}},
    };
    for (const auto& c : cases) {
        TRFSModul modul;
        Init(modul, 0x80, c.cfg);
        EXPECT_TRUE(modul.isTransparentMode());
        EXPECT_EQ(ChannelIDs(modul), (std::vector<std::int32_t>{12, 13, 14, 15, 16, 17, 18, 19, 20})) << int(c.cfg);
        EXPECT_EQ(modul.getRFSChannels(), 8);
        ASSERT_EQ(modul.tm_channels, static_cast<std::int32_t>(c.map.size())) << int(c.cfg);
        for (std::size_t pos = 0; pos < c.map.size(); ++pos) {
            EXPECT_EQ(modul.tm_channel_map[pos], c.map[pos]) << int(c.cfg) << " " << pos;
            // Channels 12 ... 19 sit at indexes 0 ... 7.
            EXPECT_EQ(modul.getChannelIndex(static_cast<int>(pos)), c.map[pos] - 12) << int(c.cfg) << " " << pos;
        }
        for (int pos = static_cast<int>(c.map.size()); pos < 3; ++pos) {
            EXPECT_EQ(modul.getChannelIndex(pos), -1) << int(c.cfg) << " " << pos;
        }
        // Positions beyond the map keep their number.
        EXPECT_EQ(modul.getChannelIndex(3), 3);
        EXPECT_EQ(modul.getChannelIndex(7), 7);
        EXPECT_EQ(modul.getChannelIndex(-1), -1);
    }
    // Outside transparent mode every position is its own channel index.
    TRFSModul plain;
    Init(plain, 0x7F, 0xF7);
    EXPECT_FALSE(plain.isTransparentMode());
    EXPECT_EQ(plain.getChannelIndex(0), 0);
    EXPECT_EQ(plain.getChannelIndex(2), 2);
}

// A shorter configuration leaves old entries behind the valid ones; they must
// not route a value to the channel they name.
TEST_F(RfsModulTest, StaleMapEntriesRouteNothing)
{
    TRFSModul modul;
    Init(modul, 0x80, 0xF0); // map 14, 15, 18
    modul.setTransparentConfig(0x10, false); // map 12
    ASSERT_EQ(modul.tm_channels, 1);
    EXPECT_EQ(modul.getChannelIndex(0), 0);
    EXPECT_EQ(modul.getChannelIndex(1), -1);
    EXPECT_EQ(modul.getChannelIndex(2), -1);
    for (int pos = 0; pos < 3; ++pos) {
        modul.setRFSChannelValue(modul.getChannelIndex(pos), static_cast<std::int16_t>(100 + pos));
    }
    std::int32_t raw = 0;
    EXPECT_TRUE(modul.GetItem(modul.findRFSChannel(12)).getValue(raw));
    EXPECT_EQ(raw, 100);
    for (std::int32_t id : {13, 14, 15, 16, 17, 18, 19, 20}) {
        EXPECT_FALSE(modul.GetItem(modul.findRFSChannel(id == 20 ? 256 : id)).getValue(raw)) << id;
    }
}

TEST_F(RfsModulTest, TransparentConfigChangesOnlyWhenNeeded)
{
    TRFSModul modul;
    Init(modul, 0x80, 0x30);
    modul.tm_channels = 0; // marks whether the map is rebuilt
    modul.setTransparentConfig(0x30, false);
    EXPECT_EQ(modul.tm_channels, 0);
    modul.setTransparentConfig(0x30, true);
    EXPECT_EQ(modul.tm_channels, 2);
    modul.setTransparentConfig(0xD0, false);
    EXPECT_EQ(modul.cfg, 0xD0);
    EXPECT_EQ(modul.tm_channels, 3);
    // The channels themselves stay.
    EXPECT_EQ(modul.getChannels(), 9);

    TRFSModul plain;
    Init(plain, 0x00, 0x07);
    plain.setTransparentConfig(0x30, true);
    EXPECT_EQ(plain.cfg, 0x07);
    EXPECT_EQ(plain.tm_channels, 0);
}

TEST_F(RfsModulTest, ValuesAreTakenOnce)
{
    TRFSModul modul;
    Init(modul, 0, 0x04); // RH, T_RH, DP, cap
    float y = 1.0f;
    std::string text = "x";
    EXPECT_FALSE(modul.getValidValue(0, y, text));
    EXPECT_EQ(text, "");
    modul.setRFSChannelValue(0, -5);
    EXPECT_TRUE(modul.getValidValue(0, y, text));
    EXPECT_FLOAT_EQ(y, -0.5f);
    EXPECT_EQ(text, "-0.5");
    text = "x";
    EXPECT_FALSE(modul.getValidValue(0, y, text));
    EXPECT_EQ(text, "");

    modul.setRFSChannelValue32(3, 70000);
    EXPECT_TRUE(modul.getValidValue(3, y, text));
    EXPECT_EQ(y, 70000.0f);
    EXPECT_EQ(text, "70000");

    // Invalid indexes change and answer nothing.
    modul.setRFSChannelValue(-1, 5);
    modul.setRFSChannelValue(4, 5);
    modul.setRFSChannelValue32(99, 5);
    EXPECT_FALSE(modul.getValidValue(4, y, text));
    EXPECT_FALSE(modul.getValidValue(-1, y, text));
    for (int i = 0; i < modul.getChannels(); ++i) {
        EXPECT_FALSE(modul.GetItem(i).FNewValue) << i;
    }

    TRFSChannel channel;
    std::int32_t raw = 9;
    EXPECT_FALSE(channel.getValue(raw));
    EXPECT_EQ(raw, 0);
    channel.setValue(42);
    channel.setValue(43); // the latest value wins
    EXPECT_TRUE(channel.getValue(raw));
    EXPECT_EQ(raw, 43);
    EXPECT_FALSE(channel.getValue(raw));
}

TEST_F(RfsModulTest, ScalingByMeasurementID)
{
    TRFSModul modul;
    AddIDs(modul, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, -3});
    const struct {
        std::int32_t id;
        std::int32_t raw;
        float value;
    } cases[] = {
        {10, 0x2001, -2047.75f}, {10, 0x1FFF, 2047.75f}, {10, 0x4001, 0.25f},  {10, -1, -0.25f},
        {7, 1013, 1013.0f},      {20, 70000, 70000.0f},  {9, 500, 1000.0f},    {9, -3, -6.0f},
        {12, 2345, 23.45f},      {13, -100, -1.0f},      {15, 1, 0.01f},       {16, 250, 2.5f},
        {17, 3, 0.03f},          {19, 10000, 100.0f},    {14, 100, 5.0f},      {18, -20, -1.0f},
        {1, 456, 45.6f},         {2, -123, -12.3f},      {3, 7, 0.7f},         {4, 250, 25.0f},
        {5, 10132, 1013.2f},     {6, 1, 0.1f},           {8, 20, 2.0f},        {11, 33, 3.3f},
        {0, 15, 1.5f},           {21, 15, 1.5f},         {-3, 15, 1.5f},
    };
    for (const auto& c : cases) {
        const int index = c.id < 0 ? 22 : c.id;
        EXPECT_FLOAT_EQ(modul.calcChValue(index, c.raw), c.value) << c.id << " " << c.raw;
    }
    EXPECT_EQ(modul.calcChValue(23, 100), 0.0f);
    EXPECT_EQ(modul.calcChValue(-1, 100), 0.0f);
}

TEST_F(RfsModulTest, ValueTexts)
{
    TRFSModul modul;
    AddIDs(modul, {7, 9, 20, 1, 12});
    const std::int32_t raws[] = {1013, 7, 17, 456, 2345};
    const char* texts[] = {"1013", "14", "17", "45.6", "23.5"};
    for (int i = 0; i < 5; ++i) {
        modul.setRFSChannelValue32(i, raws[i]);
        float y = 0.0f;
        std::string text;
        ASSERT_TRUE(modul.getValidValue(i, y, text)) << i;
        EXPECT_EQ(text, texts[i]) << i;
    }
    plat::FormatSettings().DecimalSeparator = ',';
    modul.setRFSChannelValue32(3, 456);
    float y = 0.0f;
    std::string text;
    ASSERT_TRUE(modul.getValidValue(3, y, text));
    EXPECT_EQ(text, "45,6");
}

TEST_F(RfsModulTest, NamesAndUnitsByMeasurementID)
{
    TRFSModul modul;
    AddIDs(modul, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 300});
    const std::pair<const char*, const char*> texts[] = {
        {"0", ""},
        {"RH", "%rH"},
        {"T_RH", "°C"},
        {"DP", "°C"},
        {"T", "°C"},
        {"P1", "mbar"},
        {"P2", "mbar"},
        {"P3", "mbar"},
        {"P4", "mbar"},
        {"P5", "mbar"},
        {"T2", "°C"},
        {"EXT", ""},
        {"Tambient slot 1", "°C"},
        {"Tsurface slot 1", "°C"},
        {"Heatflux slot 1", "W/m2"},
        {"Thf slot 1", "°C"},
        {"Tambient slot 2", "°C"},
        {"Tsurface slot 2", "°C"},
        {"Heatflux slot 2", "W/m2"},
        {"Thf slot 2", "°C"},
        {"cap", "cnts"},
        {"21", ""},
        {"300", ""},
    };
    for (int i = 0; i < 23; ++i) {
        EXPECT_EQ(modul.getChannelName(i), texts[i].first) << i;
        EXPECT_EQ(modul.getChannelUnit(i), texts[i].second) << i;
    }
    EXPECT_EQ(modul.getChannelName(23), "");
    EXPECT_EQ(modul.getChannelUnit(-1), "");
}

TEST_F(RfsModulTest, ModuleTexts)
{
    TRFSModul modul;
    modul.sn = 1234;
    EXPECT_EQ(modul.getModulName(), "SM-1234");
    const struct {
        std::uint8_t rate;
        int seconds;
        const char* text;
    } rates[] = {{0, 1, "?"}, {1, 3600, "1hr"}, {2, 900, "15min"}, {3, 60, "1min"}, {4, 10, "10s"}, {5, 1, "1s"}, {6, 1, "?"}};
    for (const auto& r : rates) {
        modul.rate = r.rate;
        EXPECT_EQ(modul.getRateSec(), r.seconds) << int(r.rate);
        EXPECT_EQ(modul.getRateStr(), r.text) << int(r.rate);
    }
    const struct {
        std::uint8_t bat;
        const char* text;
        double capacity;
    } batteries[] = {
        {0, "SL-550 (800 mAh)", 800}, {1, "SL-840 (240 mAh)", 240}, {2, "LiPo-Akku (240 mAh)", 240}, {3, "?", 240},
    };
    for (const auto& b : batteries) {
        modul.bat = b.bat;
        EXPECT_EQ(modul.getBatStr(), b.text) << int(b.bat);
        EXPECT_EQ(modul.getBatCAP(), b.capacity) << int(b.bat);
    }
}

TRFSModul* NewModul(std::uint16_t sn, std::uint8_t no, std::uint8_t position)
{
    auto* modul = new TRFSModul;
    modul->sn = sn;
    modul->modul_no = no;
    modul->position = position;
    modul->cfg = 0x04;
    modul->Initialize();
    return modul;
}

std::vector<std::uint16_t> Serials(const TRFSModulList& list)
{
    std::vector<std::uint16_t> serials;
    for (int i = 0; i < list.Count(); ++i) {
        serials.push_back(list.GetItem(i).sn);
    }
    return serials;
}

TEST_F(RfsModulTest, ModuleList)
{
    TRFSModulList list;
    EXPECT_EQ(list.findModulSN(1), -1);
    list.Add(NewModul(300, 7, 2));
    list.Add(NewModul(100, 8, 3));
    list.Add(NewModul(300, 9, 1));
    list.Add(NewModul(200, 7, 0));
    EXPECT_EQ(list.findModulSN(300), 0);
    EXPECT_EQ(list.findModulSN(200), 3);
    EXPECT_EQ(list.findModulSN(5), -1);
    EXPECT_EQ(list.findModulNo(7), 0);
    EXPECT_EQ(list.findModulNo(8), 1);
    EXPECT_EQ(list.findModulNo(1), -1);

    EXPECT_EQ(list.getModulName(1), "SM-100");
    EXPECT_EQ(list.getChannelName(1, 0), "RH");
    EXPECT_EQ(list.getChannelUnit(1, 3), "cnts");
    EXPECT_FLOAT_EQ(list.calcChValue(1, 0, 505), 50.5f);
    for (int bad : {-1, 4}) {
        EXPECT_EQ(list.getModulName(bad), "") << bad;
        EXPECT_EQ(list.getChannelName(bad, 0), "") << bad;
        EXPECT_EQ(list.getChannelUnit(bad, 0), "") << bad;
        EXPECT_EQ(list.calcChValue(bad, 0, 505), 0.0f) << bad;
    }

    list.Initialize(1);
    EXPECT_EQ(Serials(list), (std::vector<std::uint16_t>{100, 200, 300, 300}));
    list.Initialize(0);
    EXPECT_EQ(Serials(list), (std::vector<std::uint16_t>{200, 300, 300, 100}));
    EXPECT_EQ(list.GetItem(1).position, 1);
    list.Initialize(1);
    list.Initialize(2); // any value but 1 sorts by position
    EXPECT_EQ(Serials(list), (std::vector<std::uint16_t>{200, 300, 300, 100}));
}

} // namespace
} // namespace qel
