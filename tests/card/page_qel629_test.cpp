// Tests of the QEL629 and QEL629c page decoders: four-byte records, limit
// packets, the extended header with its channel limits, and bounds.
#include "card/page_qel629.h"
#include "card/page_qel629c.h"
#include "loggers/qel629.h"
#include "loggers/qel629c.h"
#include "tests/card/decoder_fixture.h"
#include "tools/cardgen/qel629_records.h"

#include <gtest/gtest.h>

#include <string>

namespace qel {
namespace {

using namespace qeltest;
using Bytes = std::vector<std::uint8_t>;
constexpr std::int64_t U = 2000;   // ticks of a time unit of these pages

struct TRecordCase {
    const char* name;
    Bytes records;
    TSeriesByChannel expected;   // header time 1000 units
};

cardgen::TPageHeaderFields HeaderAt(std::uint64_t units, bool start = false)
{
    cardgen::TPageHeaderFields header;
    header.TimeUnits = units;
    header.StartPage = start;
    return header;
}

class Qel629Pages : public DecoderTest {
protected:
    // Decodes each case's records from byte 8 (TPage_V1) or 10 (TPage_V3).
    template <class TDecoder>
    void CheckCases(const std::vector<TRecordCase>& cases, std::uint16_t firmware)
    {
        for (const TRecordCase& c : cases) {
            UseLogger<TQEL629>(0x6601, firmware);
            Bytes records = c.records;
            records.insert(records.end(), {0x00, 0xF1, 0x00, 0x00});   // end of data
            if constexpr (std::is_same_v<TDecoder, TPage_V3>) {
                records.insert(records.begin(), {0xEE, 0xEE});   // the two bytes before the records
            }
            NewPage(HeaderAt(1000), records);
            TDecoder decoder;
            Decode(decoder);
            EXPECT_EQ(ReadListSeries(), c.expected) << TDecoder::ClassName << ": " << c.name;
        }
    }
};

TEST_F(Qel629Pages, RecordsOfVersion1)
{
    const std::int64_t t = 1000 * U;
    CheckCases<TPage_V1>(
        {
            {"a first record with a step is ignored", {0x05, 0x00, 0x34, 0x12, 0x0A, 0x00, 0x00, 0x00}, {{0, {{t + 10 * U, 0}}}}},
            {"a first record without step lies at the page time", {0x00, 0x10, 0x78, 0x56}, {{1, {{t, 0x5678}}}}},
            {"an end mark as first record is ignored, later it ends the page",
             {0x00, 0xF1, 0x00, 0x00, 0x00, 0x10, 0x01, 0x00, 0x00, 0xF1, 0x00, 0x00, 0x00, 0x10, 0x02, 0x00},
             {{1, {{t, 1}}}}},
            {"a control step of 2^24 units", {0x00, 0x00, 0x01, 0x00, 0x01, 0xF0, 0x00, 0x00, 0x00, 0x00, 0x02, 0x00},
             {{0, {{t, 1}, {t + (std::int64_t{1} << 24) * U, 2}}}}},
            {"a control step of -256 units", {0x00, 0x00, 0x01, 0x00, 0xFF, 0xF0, 0xFF, 0xFF, 0x00, 0x00, 0x02, 0x00},
             {{0, {{t, 1}, {t - 256 * U, 2}}}}},
            {"delta 0x7FF is one unit back", {0x00, 0x20, 0x00, 0x80, 0xFF, 0x27, 0x01, 0x00},
             {{2, {{t, -32768}, {t - U, 1}}}}},
            {"a long step of -1 shifts by 9 bits after firmware 1.06", {0x00, 0x20, 0x00, 0x00, 0xFF, 0x2F, 0x01, 0x00},
             {{2, {{t, 0}, {t - 512 * U, 1}}}}},
        },
        0x0107);
}

TEST_F(Qel629Pages, LongStepOfEarlyFirmwareShiftsByTenBits)
{
    CheckCases<TPage_V1>({{"firmware 1.06", {0x00, 0x20, 0x00, 0x00, 0x02, 0x28, 0x01, 0x00},
                           {{2, {{1000 * U, 0}, {1000 * U + 2048 * U, 1}}}}}},
                         0x0106);
}

TEST_F(Qel629Pages, RecordsOfVersion3)
{
    const std::int64_t t = 1000 * U;
    CheckCases<TPage_V3>(
        {
            {"a first record with a step counts", {0x05, 0x00, 0x34, 0x12}, {{0, {{t + 5 * U, 0x1234}}}}},
            {"an end mark ends the page even as first record", {0x00, 0xF1, 0x00, 0x00, 0x00, 0x10, 0x01, 0x00}, {}},
            {"a long step of -1 shifts by 9 bits", {0x00, 0x20, 0x00, 0x00, 0xFF, 0x2F, 0x01, 0x00},
             {{2, {{t, 0}, {t - 512 * U, 1}}}}},
            {"channel 14 is a value channel", {0x00, 0xE0, 0x07, 0x00}, {{14, {{t, 7}}}}},
        },
        0x0500);
}

TEST_F(Qel629Pages, TheLastFourBytesOfThePageAreARecordAndNothingBeyondIsRead)
{
    for (const std::uint16_t size : {std::uint16_t{PAGE_SIZE}, std::uint16_t{1055}}) {
        UseLogger<TQEL629>(0x6601, 0x0107);
        NewPage(HeaderAt(1000));
        cardgen::TFourByteRecordWriter writer(FPage, 8);
        while (writer.Room() > 0) {
            writer.AddValue(3, 0, 9);
        }
        FPage[1054] = 0x42;   // the last record's value
        TPage_V1 decoder;
        Decode(decoder, size);
        const TSeriesByChannel series = ReadListSeries();
        ASSERT_EQ(series.at(3).size(), size == PAGE_SIZE ? 262u : 261u);
        EXPECT_EQ(series.at(3).back().second, size == PAGE_SIZE ? 0x0042 : 9) << size;
    }
}

TEST_F(Qel629Pages, LimitPacketsPrecedeTheRecords)
{
    const struct {
        bool start, limits;
        std::size_t packets, firstRecord;
    } cases[] = {{true, true, 15, 100}, {false, true, 1, 16}, {false, false, 0, 10}, {true, false, 0, 10}};
    for (const auto& c : cases) {
        UseLogger<TQEL629>(0x6601, 0x0500);
        cardgen::TPageHeaderFields header = HeaderAt(1000, c.start);
        NewPage(header);
        std::size_t first = 10;
        if (c.limits) {
            first = cardgen::WriteLimitPackets(FPage, header, std::vector<cardgen::TLimitPacketDescription>(c.packets, {5, 1, 2, 4500, 5500}));
            cardgen::WritePageHeader(FPage, header);
        }
        ASSERT_EQ(first, c.firstRecord);
        cardgen::TFourByteRecordWriter writer(FPage, first);
        writer.AddValue(1, 0, 77);
        writer.AddEnd();
        TPage_V3 decoder;
        decoder.New(0, FPage.data(), PAGE_SIZE);
        EXPECT_EQ(decoder.GetLimitPackets(), static_cast<int>(c.packets));
        Decode(decoder);
        EXPECT_EQ(ReadListSeries(), (TSeriesByChannel{{1, {{1000 * U, 77}}}})) << c.packets << " packets";
    }
}

TEST_F(Qel629Pages, LimitPacketSetsTheChannelLimitThroughTheDeviceMap)
{
    const struct {
        const char* name;
        std::uint16_t firmware;
        std::uint8_t extendedChannels;
        std::uint8_t deviceChannel;   // CH_DEVICE[5]
        int limitedChannel;           // -1: no channel gets the limit
    } cases[] = {
        {"channel index as it is", 0x0500, 0, 40, 5},
        {"all-channel limits without external channels", 0x0569, 0, 40, 5},
        {"mapped to device channel 7", 0x0569, 1, 7, 7},
        {"mapped beyond channel 31: skipped", 0x0569, 1, 40, -1},
    };
    for (const auto& c : cases) {
        TQEL629& logger = UseLogger<TQEL629>(0x6601, c.firmware);
        logger.INT_CH_EXT = c.extendedChannels;
        logger.CH_DEVICE[5] = c.deviceChannel;
        cardgen::TPageHeaderFields header = HeaderAt(1000);
        NewPage(header);
        cardgen::WriteLimitPackets(FPage, header, {{5, 3, 2, 4500, 5500}});
        cardgen::WritePageHeader(FPage, header);
        TPage_V3 decoder;
        Decode(decoder);
        for (int ch = 0; ch < TQEL629::ChannelCount; ++ch) {
            const TQelLimit& limit = logger.LIMITS[static_cast<std::size_t>(ch)];
            ASSERT_EQ(limit.READ, ch == c.limitedChannel) << c.name << ", channel " << ch;
            if (limit.READ) {
                EXPECT_EQ(limit.AL, 3) << c.name;
                EXPECT_EQ(limit.RL, 2) << c.name;
                EXPECT_EQ(limit.VALUE1, logger.GetLimitValue(static_cast<std::uint32_t>(ch), 4500)) << c.name;
                EXPECT_EQ(limit.VALUE2, logger.GetLimitValue(static_cast<std::uint32_t>(ch), 5500)) << c.name;
            }
        }
    }
    // The humidity channel scales by 1/100 without calibration.
    TQEL629& logger = UseLogger<TQEL629>(0x6601, 0x0500);
    EXPECT_FLOAT_EQ(logger.GetLimitValue(5, 4500), 45.0f);
}

TEST_F(Qel629Pages, DeviceChannelsOfExternalSensorsNameTheSeries)
{
    TQEL629& logger = UseLogger<TQEL629>(0x6601, 0x0500);
    logger.INT_CFG.Include(TQEL629::cINT_CHX);
    logger.CH_DEVICE[3] = 19;
    NewPage(HeaderAt(1000), {0xEE, 0xEE, 0x00, 0x30, 0x05, 0x00, 0x00, 0x00, 0x06, 0x00, 0x00, 0xF1, 0x00, 0x00});
    TPage_V3 decoder;
    Decode(decoder);
    EXPECT_EQ(ReadListSeries(), (TSeriesByChannel{{19, {{1000 * U, 5}}}, {logger.CH_DEVICE[0], {{1000 * U, 6}}}}));
}

TEST_F(Qel629Pages, TruncatedLimitPacketsEndThePage)
{
    UseLogger<TQEL629>(0x6601, 0x0500);
    cardgen::TPageHeaderFields header = HeaderAt(1000, true);
    NewPage(header);
    cardgen::WriteLimitPackets(FPage, header, std::vector<cardgen::TLimitPacketDescription>(15, {1, 1, 1, 1, 1}));
    cardgen::WritePageHeader(FPage, header);
    cardgen::TFourByteRecordWriter(FPage, 100).AddValue(1, 0, 77);
    TPage_V3 decoder;
    Decode(decoder, 60);   // the view ends inside the packets
    EXPECT_TRUE(ReadListSeries().empty());
}

TEST_F(Qel629Pages, DecoderNeedsALoggerOfItsFamily)
{
    UseLogger<TQEL>(0x6601, 0x0500);
    NewPage(HeaderAt(1000), {0x00, 0x10, 0x01, 0x00});
    TPage_V1 decoder;
    EXPECT_THROW(Decode(decoder), std::logic_error);
}

class Qel629cPages : public DecoderTest {
protected:
    TQEL629C& Logger()
    {
        TQEL629C& logger = UseLogger<TQEL629C>(0x6601, 0x0600);
        logger.NewConfigChannels();
        return logger;
    }
};

TEST_F(Qel629cPages, Records)
{
    const std::int64_t t = 1000 * U;
    const struct {
        const char* name;
        Bytes records;
        TSeriesByChannel expected;
    } cases[] = {
        {"channel 2, delta 5", {0x05, 0x10, 0x34, 0x12}, {{2, {{t + 5 * U, 0x1234}}}}},
        {"channel 30", {0x00, 0xF0, 0x01, 0x00}, {{30, {{t, 1}}}}},
        {"kind 3 ends the page", {0x00, 0xFB, 0x00, 0x00, 0x00, 0x10, 0x01, 0x00}, {}},
        {"kind 0 with step 0 goes on", {0x00, 0xF8, 0x00, 0x00, 0x00, 0x10, 0x01, 0x00}, {{2, {{t, 1}}}}},
        {"delta 0x3FF", {0x00, 0x08, 0x00, 0x00, 0xFF, 0x0B, 0x01, 0x00}, {{1, {{t, 0}, {t - U, 1}}}}},
        {"delta 0x3FF with a long step", {0x00, 0x08, 0x00, 0x00, 0xFF, 0x0F, 0x01, 0x00}, {{1, {{t, 0}, {t - 512 * U, 1}}}}},
        {"a control step of -256 units", {0xFF, 0xF8, 0xFF, 0xFF, 0x00, 0x08, 0x01, 0x00}, {{1, {{t - 256 * U, 1}}}}},
    };
    for (const auto& c : cases) {
        Logger();
        Bytes records = c.records;
        records.insert(records.end(), {0x00, 0xF9, 0x00, 0x00});   // end of data
        NewPage(HeaderAt(1000), records);
        TPageQEL629c decoder;
        Decode(decoder);
        EXPECT_EQ(ReadListSeries(), c.expected) << c.name;
    }
}

TEST_F(Qel629cPages, TimesAreLocalTimes)
{
    Logger();
    NewPage(HeaderAt(1000), {0x00, 0x08, 0x01, 0x00, 0x00, 0xF9, 0x00, 0x00});
    TPageQEL629c decoder;
    decoder.setUtc(true, 3686400000);
    Decode(decoder);
    EXPECT_EQ(ReadListSeries(), (TSeriesByChannel{{1, {{1000 * U + 3686400000, 1}}}}));
}

TEST_F(Qel629cPages, ExtendedHeaderPlacesTheRecordsAndSetsChannelLimits)
{
    const struct {
        const char* name;
        Bytes area;                    // from byte 8
        std::size_t firstRecord;       // where the test's record lies; 0: the page gives no sample
        std::vector<int> limited;      // channels whose limit was read
    } cases[] = {
        {"mark missing", {0xE1, 0x00, 0x00, 0x00}, 0, {}},
        {"an entry does not fit its section", {0xE0, 0x00, 0x05, 0x00, 0x01, 0x00, 0x03, 0x00, 1, 2, 3, 4, 5, 6}, 22, {}},
        {"two entries in a section of kind 2, channel 40 skipped",
         [] {
             Bytes area{0xE0, 0x00, 0x0C, 0x00, 0x02, 0x00, 0x0A, 0x00};
             const Bytes data = cardgen::ChannelLimitData({{3, 2, 5, 1.5f, -2.25f}, {40, 1, 1, 0.0f, 0.0f}});
             area.insert(area.end(), data.begin(), data.end());
             return area;
         }(),
         36, {3}},
        {"other section kinds are skipped", {0xE0, 0x00, 0x07, 0x00, 0x03, 0x00, 0x05, 0x00, 3, 5, 0, 0, 0, 0, 0, 0, 0, 0}, 26, {}},
        {"a section running past the page", {0xE0, 0x00, 0x02, 0x00, 0x01, 0x00, 0xFF, 0x03}, 0, {}},
        {"an area running past the page", {0xE0, 0x00, 0x00, 0x04}, 0, {}},
    };
    for (const auto& c : cases) {
        TQEL629C& logger = Logger();
        cardgen::TPageHeaderFields header = HeaderAt(1000);
        header.ShockOrExtended = true;
        NewPage(header, c.area);
        const std::size_t at = c.firstRecord != 0 ? c.firstRecord : 8 + c.area.size();
        cardgen::TQel629cRecordWriter writer(FPage, at);
        writer.AddValue(4, 0, 99);
        writer.AddEnd();
        TPageQEL629c decoder;
        Decode(decoder);
        const TSeriesByChannel expected = c.firstRecord != 0 ? TSeriesByChannel{{4, {{1000 * U, 99}}}} : TSeriesByChannel{};
        EXPECT_EQ(ReadListSeries(), expected) << c.name;
        for (int ch = 0; ch < logger.Channels.Count(); ++ch) {
            const auto& limit = *logger.Channels.GetItem(ch).Limit;
            const bool read = std::find(c.limited.begin(), c.limited.end(), ch) != c.limited.end();
            EXPECT_EQ(limit.bReaderRead, read) << c.name << ", channel " << ch;
            if (read) {
                EXPECT_EQ(limit.rec_condition, 2) << c.name;
                EXPECT_EQ(limit.alarm_condition, 5) << c.name;
                EXPECT_EQ(limit.limit_L1, 1.5) << c.name;
                EXPECT_EQ(limit.limit_L2, -2.25) << c.name;
            }
        }
    }
}

TEST_F(Qel629cPages, WithoutExtendedFlagTheRecordsBeginAtByteEight)
{
    Logger();
    NewPage(HeaderAt(1000), {0xE0, 0x00, 0x00, 0x00, 0x00, 0xF9, 0x00, 0x00});   // looks like an extended header, but bit 4 is clear
    TPageQEL629c decoder;
    Decode(decoder);
    // E0 00 00 00 is a record of channel 0 with delta 0xE0.
    EXPECT_EQ(ReadListSeries(), (TSeriesByChannel{{0, {{1000 * U + 0xE0 * U, 0}}}}));
}

} // namespace
} // namespace qel
