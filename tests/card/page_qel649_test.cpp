// Tests of the tagged-record page decoders of the QEL649 (versions 1 and 2)
// and QEL25 loggers: records, bounds, mission data, burst placement of
// version 1 and the hand-over of bursts to the engines.
#include "card/burst_data.h"
#include "card/page_qel25.h"
#include "card/page_qel649.h"
#include "foundations/tick_time.h"
#include "loggers/qel25.h"
#include "loggers/qel649.h"
#include "tests/card/decoder_fixture.h"
#include "tools/cardgen/tagged_records.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace qel {
namespace {

using namespace qeltest;
using cardgen::BurstWord;
using cardgen::TTaggedRecordWriter;
using TWrite = std::function<void(TTaggedRecordWriter&)>;

constexpr std::int64_t t = 1000000;   // the page time: 1000 units of 1000 ticks

class TaggedPages : public DecoderTest {
protected:
    void TearDown() override
    {
        FastData.Reset();
        FastDataQEL25.Reset();
        DecoderTest::TearDown();
    }

    // A page at time t whose records the function writes; answers where they end.
    std::size_t Page(const TWrite& write)
    {
        cardgen::TPageHeaderFields header;
        header.TimeUnits = 1000;
        NewPage(header);
        TTaggedRecordWriter writer(FPage);
        write(writer);
        const std::size_t end = writer.Position();
        writer.End();
        return end;
    }

    // Decodes one page as a whole recording (BeginRead, page, FinishRead).
    void Record(TPage& decoder, const TWrite& write)
    {
        Page(write);
        decoder.BeginRead();
        Decode(decoder);
        decoder.FinishRead();
    }
};

struct TRecordCase {
    const char* name;
    TWrite write;
    TSeriesByChannel expected;
};

TEST_F(TaggedPages, RecordsOfVersion2)
{
    const TRecordCase cases[] = {
        {"a value of channel 17 moves the running time",
         [](TTaggedRecordWriter& w) { w.Value(10, 0x1234); w.Value(0, 1); },
         {{17, {{t + 10000, 0x1234}, {t + 10000, 1}}}}},
        {"a marker", [](TTaggedRecordWriter& w) { w.Marker(0); }, {{16, {{t - 1, 0}, {t, 1}, {t + 1, 0}}}}},
        {"a multi-value record with mask 5", [](TTaggedRecordWriter& w) { w.MultiValue(3, 0x0005, {0x11, 0x22}); },
         {{0, {{t + 3000, 0x11}}}, {2, {{t + 3000, 0x22}}}}},
        {"count 0: the next byte is a tag",
         [](TTaggedRecordWriter& w) { w.MultiValue(2, 0x0005, {}, 0); w.Value(0, 7); }, {{17, {{t + 2000, 7}}}}},
        {"count 2: only the first row, the second is skipped",
         [](TTaggedRecordWriter& w) { w.MultiValue(0, 0x0001, {0x11, 0x2270}, 2); w.Value(0, 7); },
         {{0, {{t, 0x11}}}, {17, {{t, 7}}}}},
        {"a multi-value record longer than the page ends it",
         [](TTaggedRecordWriter& w) { w.Value(0, 1); w.Bytes({0x30, 200, 0, 0, 0xFF, 0xFF}); }, {{17, {{t, 1}}}}},
        {"absolute time", [](TTaggedRecordWriter& w) { w.Time(10000); w.Value(0, 2); }, {{17, {{10000000, 2}}}}},
        {"nothing, then a value", [](TTaggedRecordWriter& w) { w.Nothing(); w.Value(-1, 3); }, {{17, {{t - 1000, 3}}}}},
        {"the end time leaves the running time", [](TTaggedRecordWriter& w) { w.EndTime(5000); w.Value(0, 4); },
         {{17, {{t, 4}}}}},
        {"tag 0xB0 ends the page", [](TTaggedRecordWriter& w) { w.Bytes({0xB0}); w.Value(0, 5); }, {}},
        {"tag 0xFF ends the page", [](TTaggedRecordWriter& w) { w.Bytes({0xFF}); w.Value(0, 5); }, {}},
    };
    for (const TRecordCase& c : cases) {
        UseLogger<TQEL649>(0x6606, 0x0120);
        TPageQEL649_V2 decoder;
        Record(decoder, c.write);
        EXPECT_EQ(ReadListSeries(), c.expected) << c.name;
    }
}

TEST_F(TaggedPages, RecordThatDoesNotFitEndsThePage)
{
    const struct {
        const char* name;
        TWrite write;
    } cases[] = {
        {"time", [](TTaggedRecordWriter& w) { w.Time(5); }},
        {"multi-value head", [](TTaggedRecordWriter& w) { w.MultiValue(0, 0x0001, {9}); }},
        {"limit", [](TTaggedRecordWriter& w) { w.Limit(3, 1, 1, 1, 1); }},
        {"marker", [](TTaggedRecordWriter& w) { w.Marker(0); }},
        {"value", [](TTaggedRecordWriter& w) { w.Value(0, 9); }},
        {"end time", [](TTaggedRecordWriter& w) { w.EndTime(5); }},
        {"burst lines", [](TTaggedRecordWriter& w) { w.Burst({1, 0, 3, 0x01, 0, 0, 0, {{1}, {2}}}); }},
        {"mission data", [](TTaggedRecordWriter& w) { w.MissionData(1, std::vector<std::uint8_t>(86, 'A')); }},
    };
    for (const auto& c : cases) {
        for (std::uint16_t cut : {1, 2}) {
            TQEL649& logger = UseLogger<TQEL649>(0x6606, 0x0120);
            const std::size_t start = Page([](TTaggedRecordWriter& w) { w.Value(0, 1); });
            TTaggedRecordWriter writer(FPage, start);
            c.write(writer);
            TPageQEL649_V2 decoder;
            decoder.BeginRead();
            Decode(decoder, static_cast<std::uint16_t>(writer.Position() - cut));
            decoder.FinishRead();
            EXPECT_EQ(ReadListSeries(), (TSeriesByChannel{{17, {{t, 1}}}})) << c.name << " cut by " << cut;
            EXPECT_FALSE(logger.LIMITS[3].READ) << c.name;
            EXPECT_FALSE(ReadBufferList.MissionData.bValid) << c.name;
        }
    }
}

TEST_F(TaggedPages, LimitRecordSetsTheChannelLimit)
{
    TQEL649& logger = UseLogger<TQEL649>(0x6606, 0x0120);
    TPageQEL649_V2 decoder;
    Record(decoder, [](TTaggedRecordWriter& w) { w.Bytes({0x53, 0x1A, 0x10, 0x00, 0x20, 0x00, 0x57, 0x08, 0xA0, 0x00, 0x40, 0x01}); });
    EXPECT_TRUE(logger.LIMITS[3].READ);
    EXPECT_EQ(logger.LIMITS[3].AL, 3);
    EXPECT_EQ(logger.LIMITS[3].RL, 2);
    EXPECT_EQ(logger.LIMITS[3].VALUE1, logger.GetLimitValue(3, 0x10));
    EXPECT_EQ(logger.LIMITS[3].VALUE2, logger.GetLimitValue(3, 0x20));
    // Channel 7, the temperature: 1/16 degree per count without calibration.
    EXPECT_TRUE(logger.LIMITS[7].READ);
    EXPECT_EQ(logger.LIMITS[7].AL, 1);
    EXPECT_EQ(logger.LIMITS[7].RL, 0);
    EXPECT_FLOAT_EQ(logger.LIMITS[7].VALUE1, 10.0f);
    EXPECT_FLOAT_EQ(logger.LIMITS[7].VALUE2, 20.0f);
}

std::vector<std::uint8_t> MissionSection(const std::string& title)
{
    std::vector<std::uint8_t> section(86, 0);
    std::copy(title.begin(), title.end(), section.begin());
    return section;
}

TEST_F(TaggedPages, MissionDataAndTheStartAndEndTimes)
{
    UseLogger<TQEL649>(0x6606, 0x0120);
    TPageQEL649_V2 decoder;
    Record(decoder, [](TTaggedRecordWriter& w) {
        w.MissionData(2, MissionSection("Drop test"));
        w.EndTime(5000);
        w.Value(0, 1);
    });
    const TMissionData& mission = ReadBufferList.MissionData;
    EXPECT_TRUE(mission.bValid);
    EXPECT_EQ(mission.version, 2);
    EXPECT_EQ(mission.sTitle, "Drop test");
    EXPECT_TRUE(mission.bValidStartTime);
    EXPECT_DOUBLE_EQ(mission.StartTime, DATE_TIME_2000 + TicksToDays(t));
    EXPECT_DOUBLE_EQ(mission.rec_endtime, DATE_TIME_2000 + TicksToDays(5000000));
    EXPECT_EQ(ReadListSeries(), (TSeriesByChannel{{17, {{t, 1}}}}));

    // A later page keeps the start time; a section of another length is passed over.
    cardgen::TPageHeaderFields header;
    header.TimeUnits = 9000;
    NewPage(header);
    TTaggedRecordWriter writer(FPage);
    writer.MissionData(3, std::vector<std::uint8_t>(20, 'B'));
    writer.Value(0, 2);
    writer.End();
    Decode(decoder);
    EXPECT_DOUBLE_EQ(mission.StartTime, DATE_TIME_2000 + TicksToDays(t));
    EXPECT_EQ(mission.version, 2);
    EXPECT_EQ(ReadListSeries()[17].back(), (TRawSample{9000000, 2}));
}

TEST_F(TaggedPages, BurstLinesOfVersion2GoThroughTheEngine)
{
    UseLogger<TQEL649>(0x6606, 0x0120);
    TPageQEL649_V2 decoder;
    // Rate 3 (2560 ticks nominal); 8 trigger lines measured as 20,000 ticks: 2500 each.
    cardgen::TBurstBlockDescription block{1, 0, 3, 0x0F, 4, 20, 500, {}};
    for (int k = 0; k < 10; ++k) {
        const bool pre = k < 2;
        // 0xC001 and 0x4001 are both -16383, the first with the pretrigger bit.
        block.Lines.push_back({BurstWord(static_cast<std::int16_t>(k), pre), pre ? std::uint16_t{0xC001} : std::uint16_t{0x4001},
                               0x4000, 0x3FFF});
    }
    Record(decoder, [&](TTaggedRecordWriter& w) {
        w.Burst(block);
        w.Value(0, 1);   // at the block's time
    });
    const std::int64_t blockTime = t + 4000;
    TSeriesByChannel expected{{17, {{blockTime, 1}}}};
    for (int k = 0; k < 10; ++k) {
        const std::int64_t time = blockTime - 2 * 2500 + k * 2500;
        expected[2].emplace_back(time, k);
        expected[3].emplace_back(time, -16383);
        expected[4].emplace_back(time, -16384);
        expected[13].emplace_back(time, 16383);
    }
    EXPECT_EQ(ReadListSeries(), expected);
}

TEST_F(TaggedPages, FirstBurstBlockFixesChannelsAndContinuationsExtendIt)
{
    const struct {
        const char* name;
        std::uint8_t kind;
        std::vector<std::uint32_t> channels;
    } cases[] = {{"acceleration", 1, {2, 3}}, {"analog", 2, {9, 10}}, {"shock", 8, {2, 3}}};
    for (const auto& c : cases) {
        UseLogger<TQEL649>(0x6607, 0x0120);
        TPageQEL649_V2 decoder;
        Record(decoder, [&](TTaggedRecordWriter& w) {
            w.Burst({c.kind, 0, 0, 0x03, 0, 0, 10, {{1, 2}}});
            w.Burst({c.kind, 1, 0, 0x03, 50, 0, 10, {{3, 4}}});   // continuation: its lines follow
            w.Burst({c.kind, 1, 0, 0x03, 0, 0, 10, {{8, 8}}});    // a second continuation is skipped
            w.Burst({2, 0, 0, 0x03, 0, 0, 12, {{5, 6}}});         // an analog block later keeps the first block's channels
            w.Value(0, 1);
        });
        TSeriesByChannel series = ReadListSeries();
        EXPECT_EQ(series[17], (std::vector<TRawSample>{{t, 1}})) << c.name << ": a continuation leaves the running time";
        std::vector<std::int16_t> first;
        std::vector<std::int16_t> second;
        for (const TRawSample& sample : series[c.channels[0]]) {
            first.push_back(sample.second);
        }
        for (const TRawSample& sample : series[c.channels[1]]) {
            second.push_back(sample.second);
        }
        EXPECT_EQ(first, (std::vector<std::int16_t>{1, 3, 5})) << c.name;
        EXPECT_EQ(second, (std::vector<std::int16_t>{2, 4, 6})) << c.name;
    }
}

TEST_F(TaggedPages, BurstIntervalsOfTheRateCodes)
{
    const struct {
        std::uint8_t rate;
        std::int64_t acc649, adc649, acc25, adc25;
    } cases[] = {
        {0, 320, 500, 320, 500},           {1, 640, 1000, 640, 1000},         {3, 2560, 4000, 2560, 4000},
        {7, 40960, 64000, 40960, 64000},   {8, 320, 128000, 320, 500},        {9, 320, 256000, 320, 500},
        {10, 320, 512000, 320, 500},       {11, 320, 500, 320, 500},          {0x13, 320, 500, 2560, 4000},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(BurstIntervalQEL649(c.rate, false), c.acc649) << int(c.rate);
        EXPECT_EQ(BurstIntervalQEL649(c.rate, true), c.adc649) << int(c.rate);
        EXPECT_EQ(BurstIntervalQEL25(c.rate, false), c.acc25) << int(c.rate);
        EXPECT_EQ(BurstIntervalQEL25(c.rate, true), c.adc25) << int(c.rate);
    }
}

TEST_F(TaggedPages, RecordsOfVersion1)
{
    const TRecordCase cases[] = {
        {"a step of 0x7000 means 1,536,000 units",
         [](TTaggedRecordWriter& w) { w.MultiValueStepWord(0x7000, 0x0002, {5}); },
         {{1, {{t + std::int64_t{1536000} * 1000, 5}}}}},
        {"other steps are signed", [](TTaggedRecordWriter& w) { w.MultiValueStepWord(0x8000, 0x0002, {5}); },
         {{1, {{t - std::int64_t{32768} * 1000, 5}}}}},
        {"count 2: only the first row", [](TTaggedRecordWriter& w) { w.MultiValue(0, 0x0001, {1, 0x2270}, 2); w.Value(0, 7); },
         {{0, {{t, 1}}}, {17, {{t, 7}}}}},
        {"marker and value channels", [](TTaggedRecordWriter& w) { w.Marker(1); w.Value(1, 9); },
         {{16, {{t + 999, 0}, {t + 1000, 1}, {t + 1001, 0}}}, {17, {{t + 2000, 9}}}}},
        {"tag 0x80 ends a version-1 page", [](TTaggedRecordWriter& w) { w.Bytes({0x80}); w.Value(0, 5); }, {}},
    };
    for (const TRecordCase& c : cases) {
        UseLogger<TQEL649>(0x6606, 0x0110);
        TPageQEL649_V1 decoder;
        Record(decoder, c.write);
        EXPECT_EQ(ReadListSeries(), c.expected) << c.name;
    }
}

// A version-1 burst block of position 0 (channel 2), rate 3 (2560 ticks).
cardgen::TBurstBlockV1Description V1Block(std::uint16_t link, std::vector<std::uint16_t> words, std::int16_t step = 0)
{
    cardgen::TBurstBlockV1Description block{1, 0x01, step, link, 3, {}};
    for (std::uint16_t word : words) {
        block.Lines.push_back({word});
    }
    return block;
}

TEST_F(TaggedPages, Version1PlacesBurstsByTheirLinkWords)
{
    constexpr std::int64_t w = 2560;
    constexpr std::int16_t G = BURST_GAP_VALUE;
    UseLogger<TQEL649>(0x6606, 0x0110);
    TPageQEL649_V1 decoder;
    Record(decoder, [](TTaggedRecordWriter& writer) {
        writer.BurstV1(V1Block(1, {1, 2, 3}));                 // the first block starts at the page time
        writer.BurstV1(V1Block(1, {4, 5}));                    // follows directly
        writer.BurstV1(V1Block(5, {6}));                       // 5 intervals on: a gap
        writer.BurstV1(V1Block(0xFFF0, {7}, 100));             // at its own time, 100 units on
        writer.BurstV1(V1Block(0, {8, 8}));                    // no place in time: dropped
        writer.BurstV1(V1Block(0xFFF1, {9}));                  // the next sample
        writer.BurstV1(V1Block(0xFFF0, {10}, -50));            // its own time lies before the last sample
    });
    const std::int64_t own = t + 100000;
    EXPECT_EQ(ReadListSeries(), (TSeriesByChannel{{2,
                                                   {{t, 1}, {t + w, 2}, {t + 2 * w, 3},
                                                    {t + 3 * w, 4}, {t + 4 * w, 5},
                                                    {t + 9 * w - 1, G}, {t + 9 * w, 6},
                                                    {own - 1, G}, {own, 7},
                                                    {own + w, 9},
                                                    {own + w + 10 - 1, G}, {own + w + 10, 10}}}}));
}

TEST_F(TaggedPages, Version1QueuesPretriggerLinesUntilTheTriggerLine)
{
    constexpr std::int64_t w = 2560;
    UseLogger<TQEL649>(0x6606, 0x0110);
    TPageQEL649_V1 decoder;
    Record(decoder, [](TTaggedRecordWriter& writer) {
        writer.BurstV1(V1Block(1, {1}));
        writer.BurstV1(V1Block(7, {0x8005, 0x8006, 0x8007}));   // all pretrigger: queued with their link word
        writer.BurstV1(V1Block(0xFFF1, {8, 9}));                // takes link word 7
    });
    EXPECT_EQ(ReadListSeries(), (TSeriesByChannel{{2,
                                                   {{t, 1},
                                                    {t + 4 * w - 1, BURST_GAP_VALUE},
                                                    {t + 4 * w, 5}, {t + 5 * w, 6}, {t + 6 * w, 7},
                                                    {t + 7 * w, 8}, {t + 8 * w, 9}}}}));
}

TEST_F(TaggedPages, Version1QueueKeepsTheNewestPretriggerLines)
{
    constexpr std::int64_t w = 2560;
    const int queue = TPageQEL649_V1::PRETRIGGER_QUEUE_SIZE;
    UseLogger<TQEL649>(0x6606, 0x0110);
    TPageQEL649_V1 decoder;
    Record(decoder, [](TTaggedRecordWriter& writer) {
        writer.BurstV1(V1Block(1, {1}));
        std::vector<std::uint16_t> pretrigger;
        for (std::uint16_t k = 0; k < 45; ++k) {
            pretrigger.push_back(static_cast<std::uint16_t>(0x8000 | k));
        }
        writer.BurstV1(V1Block(100, pretrigger));
        writer.BurstV1(V1Block(0xFFF1, {99}));
    });
    std::vector<TRawSample> expected{{t, 1}, {t + (100 - queue) * w - 1, BURST_GAP_VALUE}};
    for (int k = 0; k < queue; ++k) {
        expected.emplace_back(t + (100 - queue + k) * w, 45 - queue + k);
    }
    expected.emplace_back(t + 100 * w, 99);
    EXPECT_EQ(ReadListSeries(), (TSeriesByChannel{{2, expected}}));
}

TEST_F(TaggedPages, Version1AnalogBlocksUseTheirChannelsAndInterval)
{
    UseLogger<TQEL649>(0x6606, 0x0110);
    TPageQEL649_V1 decoder;
    Record(decoder, [](TTaggedRecordWriter& writer) {
        writer.BurstV1({2, 0x09, 0, 1, 3, {{1, 2}, {3, 4}}});   // positions 0 and 3, rate 3: 4000 ticks
    });
    EXPECT_EQ(ReadListSeries(), (TSeriesByChannel{{9, {{t, 1}, {t + 4000, 3}}}, {12, {{t, 2}, {t + 4000, 4}}}}));
}

TEST_F(TaggedPages, Version1BeginReadClearsLimitsAndBurstState)
{
    TQEL649& logger = UseLogger<TQEL649>(0x6606, 0x0110);
    TPageQEL649_V1 decoder;
    Record(decoder, [](TTaggedRecordWriter& writer) {
        writer.Limit(3, 1, 1, 0, 0);
        writer.BurstV1(V1Block(7, {0x8005}));   // queued
    });
    EXPECT_TRUE(logger.LIMITS[3].READ);
    ReadBufferList.ClearAll();
    // The next recording: its first block starts at its own page time, no queued line comes along.
    Record(decoder, [](TTaggedRecordWriter& writer) { writer.BurstV1(V1Block(0xFFF1, {1})); });
    EXPECT_FALSE(logger.LIMITS[3].READ);
    EXPECT_EQ(ReadListSeries(), (TSeriesByChannel{{2, {{t, 1}}}}));
}

TEST_F(TaggedPages, Qel25ChannelsAndEightPositionBursts)
{
    const struct {
        const char* name;
        TWrite write;
        TSeriesByChannel expected;
    } cases[] = {
        {"marker on channel 15, value on channel 16",
         [](TTaggedRecordWriter& w) { w.Marker(0); w.Value(0, 3); },
         {{15, {{t - 1, 0}, {t, 1}, {t + 1, 0}}}, {16, {{t, 3}}}}},
        {"analog block of eight positions to channels 0 to 7",
         [](TTaggedRecordWriter& w) { w.Burst({2, 0, 0, 0xFF, 0, 0, 1, {{10, 11, 12, 13, 14, 15, 16, 17}}}); },
         {{0, {{t, 10}}}, {1, {{t, 11}}}, {2, {{t, 12}}}, {3, {{t, 13}}},
          {4, {{t, 14}}}, {5, {{t, 15}}}, {6, {{t, 16}}}, {7, {{t, 17}}}}},
        {"acceleration block of four positions to channels 8, 9, 10 and 13",
         [](TTaggedRecordWriter& w) { w.Burst({1, 0, 0, 0x0F, 0, 0, 1, {{1, 2, 3, 4}}}); },
         {{8, {{t, 1}}}, {9, {{t, 2}}}, {10, {{t, 3}}}, {13, {{t, 4}}}}},
    };
    for (const auto& c : cases) {
        UseLogger<TQEL25>(0x6628, 0x0100);
        TPageQEL25_V1 decoder;
        Record(decoder, c.write);
        EXPECT_EQ(ReadListSeries(), c.expected) << c.name;
    }
}

TEST_F(TaggedPages, DecoderSelection)
{
    const struct {
        std::uint16_t model, version;
        const char* decoder;
    } cases[] = {
        {0x6606, 0x011E, "TPageQEL649_V1"}, {0x6607, 0x011E, "TPageQEL649_V1"}, {0x6606, 0x011F, "TPageQEL649_V2"},
        {0x6607, 0x0224, "TPageQEL649_V2"}, {0x6628, 0x0000, "TPageQEL25_V1"},  {0x6628, 0xFFFF, "TPageQEL25_V1"},
    };
    for (const auto& c : cases) {
        EXPECT_STREQ(GetPageClass(c.model, c.version).ClassName, c.decoder) << std::hex << c.model << " " << c.version;
    }
}

} // namespace
} // namespace qel
