// Tests of the QEL57 family's page decoders on hand-made pages: where the
// records begin, limit and sensor packets, value and control records,
// extended and D-Bus records, channel mapping, cut pages and the logger check.
#include "card/dbus_data.h"
#include "card/page_base.h"
#include "card/page_qel57.h"
#include "tests/card/page_qel57_fixture.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <stdexcept>
#include <tuple>
#include <vector>

namespace qel {
namespace {

using namespace qeltest;

using TPageBytes = std::array<std::uint8_t, PAGE_SIZE>;
using TBytes = std::vector<std::uint8_t>;

constexpr std::int64_t HEADER_UNITS = 1000;   // header time of the test pages
constexpr std::int64_t UNIT = 2000;           // ticks of one time unit of this family
constexpr std::uint32_t SN = 57;

// Header flags 0x00: no limit packets; the later generations carry one sensor packet.
std::size_t PlainRecordsAt(const TQel57Gen& gen)
{
    return gen.PcVersion < 0x0200 ? 10 : 14;
}

TPageBytes MakePage(std::uint8_t flags, std::size_t recordsAt, const TBytes& records)
{
    TPageBytes page{};
    page[0] = flags;
    page[2] = static_cast<std::uint8_t>(HEADER_UNITS);
    page[3] = static_cast<std::uint8_t>(HEADER_UNITS >> 8);
    std::copy(records.begin(), records.end(), page.begin() + static_cast<std::ptrdiff_t>(recordsAt));
    return page;
}

// (channel, time in units, raw value) of SN 57.
TSeriesMap Expected(std::initializer_list<std::tuple<std::uint32_t, std::int64_t, std::int16_t>> samples)
{
    TSeriesMap map;
    for (const auto& [channel, units, value] : samples) {
        map[{SN, channel}].push_back({units * UNIT, value});
    }
    return map;
}

class Qel57Page : public ::testing::Test {
protected:
    void SetUp() override { ResetQel57ReadState(); }
    void TearDown() override { ResetQel57ReadState(); }

    static std::unique_ptr<TPage> Decoder(const TQel57Gen& gen) { return GetPageClass(0x661D, gen.PcVersion).Create(); }

    // Decodes the first `amount` bytes of the page with a new logger of the generation.
    static TSeriesMap Decode(const TQel57Gen& gen, const TPageBytes& page, std::uint16_t amount = PAGE_SIZE)
    {
        ResetQel57ReadState();
        AddQel57Logger(gen, SN);
        const std::unique_ptr<TPage> decoder = Decoder(gen);
        decoder->New(0, page.data(), amount);
        decoder->ReadData();
        return ReadAllSeries();
    }
};

TEST(Qel57PageClass, SelectionByPcVersion)
{
    const struct {
        std::uint16_t version;
        const TPageClass& expected;
    } cases[] = {
        {0x0000, PageClassOf<page_qel57::TPage_V1>()},  {0x01FF, PageClassOf<page_qel57::TPage_V1>()},
        {0x0200, PageClassOf<page_qel57b::TPage_V1>()}, {0x02FF, PageClassOf<page_qel57b::TPage_V1>()},
        {0x0300, PageClassOf<page_qel57c::TPage_V1>()}, {0xFFFF, PageClassOf<page_qel57c::TPage_V1>()},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(&GetPageClass(0x661D, c.version), &c.expected) << std::hex << c.version;
    }
}

TEST_F(Qel57Page, HeaderTimeCountsUnitsOf2000Ticks)
{
    const TPageBytes page = MakePage(0x00, 10, {});
    for (const TQel57Gen& gen : {GEN_57, GEN_57B, GEN_57C}) {
        const std::unique_ptr<TPage> decoder = Decoder(gen);
        decoder->New(0, page.data(), PAGE_SIZE);
        EXPECT_EQ(decoder->GetTime(true), HEADER_UNITS * UNIT) << gen;
    }
}

TEST_F(Qel57Page, RecordsBeginAfterThePacketsTheHeaderAsksFor)
{
    // Zeros before the records would decode as samples of channel 0, so a
    // record start too early or too late changes the result.
    const struct {
        TQel57Gen gen;
        std::uint8_t flags;
        std::size_t recordsAt;
    } cases[] = {
        {GEN_57C, 0x21, 196}, {GEN_57B, 0x21, 164}, {GEN_57, 0x21, 100},   // 15 limit packets
        {GEN_57, 0x01, 16},   {GEN_57B, 0x01, 20},  {GEN_57C, 0x01, 20},   // one limit packet
        {GEN_57, 0x20, 10},   {GEN_57B, 0x20, 74},  {GEN_57C, 0x20, 106},  // start page without limits
        {GEN_57, 0x00, 10},   {GEN_57B, 0x00, 14},  {GEN_57C, 0x00, 14},
    };
    for (const auto& c : cases) {
        const TPageBytes page = MakePage(c.flags, c.recordsAt, {0x00, 0x10, 0x34, 0x12, 0x00, 0xF1, 0x00, 0x00});
        EXPECT_EQ(Decode(c.gen, page), Expected({{1, HEADER_UNITS, 0x1234}}))
            << c.gen << " flags " << int{c.flags};
    }
}

TEST_F(Qel57Page, SensorPacketsNameTheExternalChannels)
{
    // 57b, flags 0x00: the one sensor packet lies at bytes 10-13.
    TPageBytes page = MakePage(0x00, 10, {0x11, 0x00, 0x67, 0x12, 0x00, 0xF1});
    Decode(GEN_57B, page);
    const TQEL& logger57b = *QelList.GetCurrent();
    EXPECT_EQ(logger57b.GetChName(17), "RH4711");
    EXPECT_EQ(logger57b.GetChName(25), "T_RH4711");

    // 57c start page: the last of 24 packets (bytes 102-105) is read too.
    page = MakePage(0x20, 102, {0x2C, 0x00, 0x0C, 0x00});
    Decode(GEN_57C, page);
    const TQEL& logger57c = *QelList.GetCurrent();
    EXPECT_EQ(logger57c.GetChName(44), "P12");
    EXPECT_EQ(logger57c.GetChName(52), "T_P12");
}

TEST_F(Qel57Page, LimitPacketsSetTheLimitsOfChannelsUpTo14)
{
    // Start page with limit packets: AL in p1 bits 5-3, RL in bits 2-0; the
    // upper nibble of p0 is not part of the channel.
    const TBytes packets = {0x0F, 0x1A, 0x01, 0x00, 0x02, 0x00,    // channel 15: skipped
                            0x0E, 0x1A, 0x01, 0x00, 0x02, 0x00,    // channel 14: AL 3, RL 2
                            0x25, 0x3F, 0x05, 0x00, 0x06, 0x00};   // channel 5: AL 7, RL 7
    TPageBytes page = MakePage(0x21, 8, packets);
    for (std::size_t at = 8 + packets.size(); at < 98; at += 6) {
        page[at] = 0x0F;   // the other slots skipped
    }
    for (const TQel57Gen& gen : {GEN_57, GEN_57B, GEN_57C}) {
        Decode(gen, page);
        const auto& logger = dynamic_cast<const TQEL57&>(*QelList.GetCurrent());
        for (std::uint32_t ch = 0; ch < TQEL57::ChannelCount; ++ch) {
            const TQelLimit& limit = logger.LIMITS[ch];
            const bool set = ch == 14 || ch == 5;
            EXPECT_EQ(limit.READ, set) << gen << " ch " << ch;
            if (set) {
                EXPECT_EQ(limit.AL, ch == 14 ? 3 : 7) << gen;
                EXPECT_EQ(limit.RL, ch == 14 ? 2 : 7) << gen;
                EXPECT_EQ(limit.VALUE1, 0.0f) << gen;   // this family's limit values are 0
            }
        }
    }
}

TEST_F(Qel57Page, ValueAndControlRecords)
{
    const struct {
        const char* what;
        TBytes records;
        TSeriesMap expected;
    } cases[] = {
        {"first record's step counts", {0x05, 0x00, 0x34, 0x12}, Expected({{0, HEADER_UNITS + 5, 0x1234}})},
        {"step -1", {0xFF, 0x07, 0x01, 0x00}, Expected({{0, HEADER_UNITS - 1, 1}})},
        {"long step -512", {0xFF, 0x0F, 0x01, 0x00}, Expected({{0, HEADER_UNITS - 512, 1}})},
        {"long step +512", {0x01, 0x08, 0x01, 0x00}, Expected({{0, HEADER_UNITS + 512, 1}})},
        {"control step 2^24", {0x01, 0xF0, 0x00, 0x00, 0x00, 0x20, 0x07, 0x00}, Expected({{2, HEADER_UNITS + (1 << 24), 7}})},
        {"control step 2^16", {0x00, 0xF0, 0x00, 0x01, 0x00, 0x20, 0x07, 0x00}, Expected({{2, HEADER_UNITS + (1 << 16), 7}})},
        {"control step -256", {0xFF, 0xF0, 0xFF, 0xFF, 0x00, 0x20, 0x07, 0x00}, Expected({{2, HEADER_UNITS - 256, 7}})},
        {"end of data first", {0x00, 0xF1, 0x00, 0x00, 0x00, 0x10, 0x07, 0x00}, {}},
        {"negative value, channel 14", {0x00, 0xE0, 0xFE, 0xFF}, Expected({{14, HEADER_UNITS, -2}})},
        {"steps add up", {0x02, 0x00, 0x01, 0x00, 0x03, 0x10, 0x02, 0x00, 0x00, 0x00, 0x03, 0x00},
         Expected({{0, HEADER_UNITS + 2, 1}, {1, HEADER_UNITS + 5, 2}, {0, HEADER_UNITS + 5, 3}})},
    };
    for (const TQel57Gen& gen : {GEN_57, GEN_57B, GEN_57C}) {
        for (const auto& c : cases) {
            TBytes records = c.records;
            records.insert(records.end(), {0x00, 0xF1, 0x00, 0x00});
            EXPECT_EQ(Decode(gen, MakePage(0x00, PlainRecordsAt(gen), records)), c.expected) << gen << ": " << c.what;
        }
    }
}

TEST_F(Qel57Page, RecordsRunToTheLastWholeRecordOfThePage)
{
    // One limit packet: records at 16 .. 1055, the last one at bytes 1052-1055.
    TBytes records;
    for (int i = 0; i < 260; ++i) {
        records.insert(records.end(), {0x00, 0x20, static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i >> 8)});
    }
    TPageBytes page = MakePage(0x01, 16, records);
    page[8] = 0x0F;
    const TSeriesMap series = Decode(GEN_57, page);
    ASSERT_EQ(series.size(), 1u);
    const std::vector<TSample>& samples = series.at({SN, 2});
    ASSERT_EQ(samples.size(), 260u);
    EXPECT_EQ(samples.back().Value, 259);
}

TEST_F(Qel57Page, ExtendedRecords)
{
    // b0 sensor mask, b1 0xC0 + kind, b2 b3 b4 b5 step, then the values.
    const TBytes kind1 = {0x05, 0xC1, 0x00, 0x00, 0x00, 0x00, 0x34, 0x12, 0x78, 0x56, 0x21, 0x43, 0x65, 0x87};
    const TSeriesMap kind1Samples = Expected({{16, HEADER_UNITS, 0x1234}, {24, HEADER_UNITS, 0x5678},
                                              {18, HEADER_UNITS, 0x4321}, {26, HEADER_UNITS, int16_t(0x8765)}});
    TBytes kind3 = kind1;
    kind3[1] = 0xC3;
    const TSeriesMap kind3Samples = Expected({{40, HEADER_UNITS, 0x1234}, {48, HEADER_UNITS, 0x5678},
                                              {42, HEADER_UNITS, 0x4321}, {50, HEADER_UNITS, int16_t(0x8765)}});
    const TBytes after = {0x00, 0x10, 0x09, 0x00, 0x00, 0xF1, 0x00, 0x00};   // a value of channel 1, end of data
    constexpr std::int64_t ENDS = -1;                  // the record ends the page
    const struct {
        const char* what;
        TQel57Gen gen;
        TBytes records;
        TSeriesMap expected;
        std::int64_t afterUnits;   // time of the value after the record
    } cases[] = {
        {"kind 1", GEN_57B, kind1, kind1Samples, HEADER_UNITS},
        {"kind 1", GEN_57C, kind1, kind1Samples, HEADER_UNITS},
        {"kind 3", GEN_57B, kind3, {}, ENDS},
        {"kind 3", GEN_57C, kind3, kind3Samples, HEADER_UNITS},
        {"kind 2", GEN_57B, {0x81, 0xC2, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x02, 0x00},
         Expected({{32, HEADER_UNITS, 1}, {39, HEADER_UNITS, 2}}), HEADER_UNITS},
        {"kind 0", GEN_57C, {0x01, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x02, 0x00}, {}, ENDS},
        {"kind 4", GEN_57C, {0x01, 0xC4, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x02, 0x00}, {}, ENDS},
        {"step 16", GEN_57B, {0x01, 0xC2, 0x10, 0x00, 0x00, 0x00, 0x05, 0x00}, Expected({{32, HEADER_UNITS + 16, 5}}),
         HEADER_UNITS + 16},
        {"step 2^24 from b5", GEN_57C, {0x01, 0xC2, 0x00, 0x00, 0x00, 0x01, 0x05, 0x00},
         Expected({{32, HEADER_UNITS + (1 << 24), 5}}), HEADER_UNITS + (1 << 24)},
        {"step -1", GEN_57B, {0x01, 0xC2, 0xFF, 0xFF, 0xFF, 0xFF, 0x05, 0x00}, Expected({{32, HEADER_UNITS - 1, 5}}),
         HEADER_UNITS - 1},
        {"no sensor", GEN_57B, {0x00, 0xC1, 0x03, 0x00, 0x00, 0x00}, {}, HEADER_UNITS + 3},
        // The first generation reads nibble 12 as a value record with the step 0x105.
        {"value", GEN_57, {0x05, 0xC1, 0x09, 0x00}, Expected({{12, HEADER_UNITS + 0x105, 9}}), HEADER_UNITS + 0x105},
    };
    for (const auto& c : cases) {
        TBytes records = c.records;
        records.insert(records.end(), after.begin(), after.end());
        TSeriesMap expected = c.expected;
        if (c.afterUnits != ENDS) {
            expected[{SN, 1}].push_back({c.afterUnits * UNIT, 9});
        }
        EXPECT_EQ(Decode(c.gen, MakePage(0x00, PlainRecordsAt(c.gen), records)), expected) << c.gen << ": " << c.what;
    }
}

TEST_F(Qel57Page, DBusRecordsGiveABlockAndTheOrderNumber)
{
    const TBytes dbus = {0x83, 0xD2, 0x01, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0xAA, 0xBB, 0xCC, 0xDD};
    TBytes records = dbus;
    records.insert(records.end(), {0x00, 0x10, 0x09, 0x00, 0x00, 0xF1, 0x00, 0x00});
    EXPECT_EQ(Decode(GEN_57C, MakePage(0x00, 14, records)),
              Expected({{13, HEADER_UNITS + 1, 5}, {1, HEADER_UNITS + 1, 9}}));
    EXPECT_EQ(DBusBlocks(), (std::vector<TBlock>{{(HEADER_UNITS + 1) * UNIT, 5, 256, {0xAA, 0xBB, 0xCC}}}));

    // Before the third generation the same bytes are value records.
    records = {dbus.begin(), dbus.begin() + 8};
    records.insert(records.end(), {0x00, 0xF1, 0x00, 0x00});
    EXPECT_EQ(Decode(GEN_57B, MakePage(0x00, 14, records)),
              Expected({{13, HEADER_UNITS + 643, 1}, {0, HEADER_UNITS + 643, 256}}));
    EXPECT_TRUE(DBusBlocks().empty());
}

TEST_F(Qel57Page, DBusRecordLengthsAndOrderNumbers)
{
    const struct {
        const char* what;
        TBytes records;
        TBlock block;
    } cases[] = {
        {"no data", {0x00, 0xD0, 0x00, 0x00, 0x00, 0x00, 0x78, 0x56, 0x34, 0x12}, {HEADER_UNITS * UNIT, 0, 0x12345678, {}}},
        {"order 15, two bytes", {0x82, 0xD7, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x11, 0x22},
         {HEADER_UNITS * UNIT, 15, 1, {0x11, 0x22}}},
        {"bit 3 of b1 unused", {0x01, 0xDE, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x80, 0x33, 0x00},
         {(HEADER_UNITS - 1) * UNIT, 12, 0x80000000, {0x33}}},
    };
    for (const auto& c : cases) {
        TBytes records = c.records;
        records.insert(records.end(), {0x00, 0x10, 0x09, 0x00, 0x00, 0xF1, 0x00, 0x00});
        const TSeriesMap series = Decode(GEN_57C, MakePage(0x00, 14, records));
        EXPECT_EQ(DBusBlocks(), std::vector<TBlock>{c.block}) << c.what;
        EXPECT_EQ(series, Expected({{13, c.block.Time / UNIT, c.block.Nr}, {1, c.block.Time / UNIT, 9}})) << c.what;
    }
}

TEST_F(Qel57Page, DeviceChannelMapAppliesToValueRecordsOnly)
{
    const TBytes value3 = {0x01, 0x30, 0x05, 0x00};
    const TBytes value12 = {0x01, 0xC0, 0x05, 0x00};
    const TBytes extended12 = {0x01, 0xC2, 0x01, 0x00, 0x00, 0x00, 0x05, 0x00};
    const TBytes value13 = {0x01, 0xD0, 0x05, 0x00};
    const TBytes dbus13 = {0x00, 0xD0, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
    const struct {
        TQel57Gen gen;
        TBytes records;
        std::uint32_t channel;
    } cases[] = {
        {GEN_57, value3, 9},      {GEN_57B, value3, 9},      {GEN_57C, value3, 9},
        {GEN_57, value12, 20},    {GEN_57B, extended12, 32}, {GEN_57C, extended12, 32},
        {GEN_57, value13, 21},    {GEN_57B, value13, 21},    {GEN_57C, dbus13, 13},
    };
    for (const auto& c : cases) {
        ResetQel57ReadState();
        TQEL57& logger = AddQel57Logger(c.gen, SN);
        logger.INT_CFG.Include(TQEL57::cINT_CHX);
        logger.CH_DEVICE[3] = 9;
        logger.CH_DEVICE[12] = 20;
        logger.CH_DEVICE[13] = 21;
        TBytes records = c.records;
        records.insert(records.end(), {0x00, 0xF1, 0x00, 0x00});
        const TPageBytes page = MakePage(0x00, PlainRecordsAt(c.gen), records);
        const std::unique_ptr<TPage> decoder = Decoder(c.gen);
        decoder->New(0, page.data(), PAGE_SIZE);
        decoder->ReadData();
        const std::int16_t value = c.channel == 13 ? 0 : 5;   // a D-Bus record gives its order number
        EXPECT_EQ(ReadAllSeries(), Expected({{c.channel, HEADER_UNITS + 1, value}}))
            << c.gen << " nibble " << (c.records[1] >> 4);
    }
}

// A page of every record kind; each cut of the view keeps exactly the
// samples and blocks of the records that fit whole before it.
TEST_F(Qel57Page, CutPagesKeepTheRecordsThatFitWhole)
{
    const TBytes records = {0x00, 0x10, 0x01, 0x00,                                      // 14..17 value
                            0x01, 0xC1, 0x00, 0x00, 0x00, 0x00, 0x02, 0x00, 0x03, 0x00,  // 18..27 extended
                            0x84, 0xD0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  // 28..41 D-Bus
                            0x04, 0x05, 0x06, 0x07,
                            0x00, 0x10, 0x08, 0x00,                                      // 42..45 value
                            0x00, 0xF1, 0x00, 0x00};                                     // 46..49 end
    const TPageBytes page = MakePage(0x00, 14, records);
    const struct {
        std::uint16_t amount;
        std::size_t samples;
        int blocks;
    } cases[] = {
        {0, 0, 0},  {5, 0, 0},  {8, 0, 0},  {13, 0, 0}, {17, 0, 0}, {18, 1, 0}, {19, 1, 0},        {23, 1, 0},
        {27, 1, 0}, {28, 3, 0}, {41, 3, 0}, {42, 4, 1}, {45, 4, 1}, {46, 5, 1}, {PAGE_SIZE, 5, 1},
    };
    for (const auto& c : cases) {
        const TSeriesMap series = Decode(GEN_57C, page, c.amount);
        std::size_t samples = 0;
        for (const auto& [key, list] : series) {
            samples += list.size();
        }
        EXPECT_EQ(samples, c.samples) << "view of " << c.amount << " bytes";
        EXPECT_EQ(DBusDataList.Count(), c.blocks) << "view of " << c.amount << " bytes";
    }
}

TEST_F(Qel57Page, PacketsThatDoNotFitEndThePage)
{
    // A start page with limits cut inside its packets sets no limit and decodes nothing.
    TPageBytes page = MakePage(0x21, 8, {0x0E, 0x1A, 0x01, 0x00, 0x02, 0x00});
    Decode(GEN_57, page, 50);
    EXPECT_FALSE(dynamic_cast<const TQEL57&>(*QelList.GetCurrent()).LIMITS[14].READ);
    // A 57c start page cut inside its sensor packets.
    page = MakePage(0x20, 10, {0x11, 0x00, 0x67, 0x12});
    Decode(GEN_57C, page, 100);
    EXPECT_EQ(QelList.GetCurrent()->GetChName(17), "?");
}

TEST_F(Qel57Page, DecoderNeedsALoggerOfItsGeneration)
{
    const TPageBytes page = MakePage(0x00, 14, {0x00, 0xF1});
    const struct {
        TQel57Gen decoder;
        TQel57Gen logger;
        bool fits;
    } cases[] = {
        {GEN_57, GEN_57, true},   {GEN_57, GEN_57C, true},   {GEN_57B, GEN_57C, true},
        {GEN_57B, GEN_57, false}, {GEN_57C, GEN_57B, false}, {GEN_57C, GEN_57, false},
    };
    for (const auto& c : cases) {
        ResetQel57ReadState();
        AddQel57Logger(c.logger);
        const std::unique_ptr<TPage> decoder = Decoder(c.decoder);
        decoder->New(0, page.data(), PAGE_SIZE);
        if (c.fits) {
            EXPECT_NO_THROW(decoder->ReadData()) << c.decoder << " with " << c.logger;
        } else {
            EXPECT_THROW(decoder->ReadData(), std::logic_error) << c.decoder << " with " << c.logger;
        }
    }
    ResetQel57ReadState();
    const std::unique_ptr<TPage> decoder = Decoder(GEN_57);
    decoder->New(0, page.data(), PAGE_SIZE);
    EXPECT_THROW(decoder->ReadData(), std::logic_error);
}

TEST_F(Qel57Page, LoggerIsTakenAnewWhenTheCurrentOneChanges)
{
    // One decoder, two loggers in turn: each page's samples belong to the logger current then.
    const TPageBytes page = MakePage(0x00, 14, {0x00, 0x10, 0x01, 0x00, 0x00, 0xF1});
    const std::unique_ptr<TPage> decoder = Decoder(GEN_57C);
    AddQel57Logger(GEN_57C, 1);
    decoder->New(0, page.data(), PAGE_SIZE);
    decoder->ReadData();
    AddQel57Logger(GEN_57B, 2);
    EXPECT_THROW(decoder->ReadData(), std::logic_error);
    AddQel57Logger(GEN_57C, 3);
    decoder->ReadData();
    const TSeriesMap series = ReadAllSeries();
    EXPECT_EQ(series.size(), 2u);
    EXPECT_EQ(series.count({1, 1}), 1u);
    EXPECT_EQ(series.count({3, 1}), 1u);
}

TEST_F(Qel57Page, EachRecordBeginsWithAnEmptyBlockList)
{
    // A read of two recordings: BeginRead of the second drops the first one's blocks.
    AddQel57Logger(GEN_57C);
    const TPageBytes page = MakePage(0x00, 14, {0x00, 0xD0, 0x00, 0x00, 0x00, 0x00, 0x07, 0x00, 0x00, 0x00});
    const std::unique_ptr<TPage> decoder = Decoder(GEN_57C);
    for (int record = 0; record < 2; ++record) {
        decoder->BeginRead();
        decoder->New(0, page.data(), PAGE_SIZE);
        decoder->ReadData();
        decoder->FinishRead();
        EXPECT_EQ(DBusDataList.Count(), 1) << "record " << record;
    }
}

TEST(DBusDataList, BlocksKeepTheirFieldsAndBytesInOrder)
{
    TDBusDataList list;
    TDBusData* first = list.addBlock(100, 3, 0x10);
    first->addData(1);
    first->addData(2);
    list.addBlock(200, 4, 0x20);
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.GetItem(0), first);
    EXPECT_EQ(list.GetItem(0)->Size(), 2);
    EXPECT_EQ(std::vector<std::uint8_t>(first->Data().begin(), first->Data().end()), (std::vector<std::uint8_t>{1, 2}));
    EXPECT_EQ(list.GetItem(1)->DTime(), 200);
    EXPECT_EQ(list.GetItem(1)->Nr(), 4);
    EXPECT_EQ(list.GetItem(1)->Addr(), 0x20u);
    EXPECT_EQ(list.GetItem(1)->Size(), 0);
    EXPECT_THROW(list.GetItem(2), plat::EListError);
    list.clearAll();
    EXPECT_EQ(list.Count(), 0);
}

} // namespace
} // namespace qel
