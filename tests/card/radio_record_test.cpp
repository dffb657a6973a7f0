// Radio records of the QEL539c pages: module creation and reuse, the counter
// and values routed to the module's channels, series from channel 64 with the
// module's serial number and channel ID, and records cut off by the page end.
#include "card/page_reader.h"
#include "card/radio_record.h"
#include "loggers/qel539c.h"
#include "tests/card/decoder_fixture.h"
#include "tests/card/radio_series.h"
#include "tools/cardgen/model_block_bytes.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace qel {
namespace {

using namespace qeltest;
using TBytes = std::vector<std::uint8_t>;
using cardgen::RadioRecordBytes;
using cardgen::TRadioRecordDescription;

constexpr std::int64_t T1 = 5'000'000;
constexpr std::int64_t T2 = 6'000'000;

class RadioRecordTest : public DecoderTest {
protected:
    void SetUp() override
    {
        DecoderTest::SetUp();
        FLogger = &UseLogger<TQEL539C>(0x6615, 0x0300);
    }

    // Reads the record from bytes (its tag at byte 0) as the page loop would
    // after the tag; answers the result and checks where the reader stopped.
    bool Read(const TBytes& bytes, std::int64_t time, std::int32_t expectedEnd)
    {
        std::int32_t position = 1;
        TPageReader in(bytes.data(), static_cast<std::int32_t>(bytes.size()), position);
        const bool read = ReadRadioRecord(in, *FLogger, time);
        if (read) {
            EXPECT_EQ(position, expectedEnd) << "the reader stands after the record";
        }
        return read;
    }

    TQEL539C* FLogger = nullptr;
};

TEST_F(RadioRecordTest, FirstRecordOfAModuleCreatesItAndGivesItsNewValues)
{
    const TBytes bytes = RadioRecordBytes(TRadioRecordDescription{0x00, 3, 1, 0x1234, 10000, 0x05, {1000, 2000}});
    ASSERT_EQ(bytes, (TBytes{0xC0, 0x00, 0x02, 0x13, 0x34, 0x12, 0x10, 0x27, 0x00, 0x05, 0xE8, 0x03, 0xD0, 0x07}));
    ASSERT_TRUE(Read(bytes, T1, 14));

    ASSERT_EQ(FLogger->FRFSModulList.Count(), 1);
    const TRFSModul& modul = FLogger->FRFSModulList.GetItem(0);
    EXPECT_EQ(modul.modul_no, 3);
    EXPECT_EQ(modul.sn, 0x1234);
    EXPECT_EQ(modul.cfg, 5);
    EXPECT_EQ(modul.position, 1);
    EXPECT_EQ(modul.rate, 0);
    EXPECT_EQ(modul.channels, 2);
    EXPECT_EQ(modul.ctrl, 0);
    EXPECT_EQ(modul.getChannels(), 5) << "P1, RH, T_RH, DP and the counter: initialised";

    // P1 (ID 5) and RH (ID 1) scale by 0.1, the counter (ID 20) not; T_RH and
    // DP got no value. The first buffer of the read (index 0) is marked too.
    const TRadioSeriesMap expected = {
        {64, {0x1234, 5, {{T1, 100.0f}}}},
        {65, {0x1234, 1, {{T1, 200.0f}}}},
        {68, {0x1234, 20, {{T1, 10000.0f}}}},
    };
    EXPECT_EQ(ReadRadioSeries(), expected);
}

TEST_F(RadioRecordTest, LaterRecordsReuseTheModuleAndRouteValuesByItsNewConfiguration)
{
    // Transparent module: configuration 0x30 maps the positions to IDs 14 and 15,
    // 0xD0 to IDs 12, 18 and 19 (channels 0, 6 and 7; the counter is channel 8).
    ASSERT_TRUE(Read(RadioRecordBytes({0x80, 1, 0, 7, 1, 0x30, {500, -300}}), T1, 14));
    ReadBufferList.GetItem(0)->channel_sn = 99;   // a later sample must not mark an existing buffer again
    ASSERT_TRUE(Read(RadioRecordBytes({0x80, 1, 0, 7, 2, 0xD0, {100, 200, 300}}), T2, 16));
    ASSERT_TRUE(Read(RadioRecordBytes({0x00, 2, 0, 8, 3, 0x02, {215}}), T2, 12));

    ASSERT_EQ(FLogger->FRFSModulList.Count(), 2);
    EXPECT_EQ(FLogger->FRFSModulList.GetItem(0).cfg, 0xD0);
    const TRadioSeriesMap expected = {
        {64, {7, 12, {{T2, 1.0f}}}},
        {66, {99, 14, {{T1, 25.0f}}}},
        {67, {7, 15, {{T1, -3.0f}}}},
        {70, {7, 18, {{T2, 10.0f}}}},
        {71, {7, 19, {{T2, 3.0f}}}},
        {72, {7, 20, {{T1, 1.0f}, {T2, 2.0f}}}},
        {80, {8, 4, {{T2, 21.5f}}}},   // the second module's channels begin at 80
        {81, {8, 20, {{T2, 3.0f}}}},
    };
    EXPECT_EQ(ReadRadioSeries(), expected);
}

TEST_F(RadioRecordTest, RecordCutOffByThePageEndChangesNothing)
{
    const struct {
        std::size_t values;
        std::size_t missing;   // bytes of the record beyond the page
        bool read;
    } cases[] = {
        {0, 0, true}, {0, 1, false}, {1, 0, true}, {1, 1, false}, {1, 2, false},
        {15, 0, true}, {15, 1, false}, {15, 6, false}, {15, 34, false}, {2, 11, false},
    };
    for (const auto& c : cases) {
        SetUp();
        TBytes bytes = RadioRecordBytes({0x00, 0, 0, 0x4321, 1, 0x02, std::vector<std::int16_t>(c.values, 10)});
        bytes.resize(bytes.size() - c.missing);
        EXPECT_EQ(Read(bytes, T1, static_cast<std::int32_t>(bytes.size())), c.read)
            << c.values << " values, " << c.missing << " missing";
        EXPECT_EQ(FLogger->FRFSModulList.Count(), c.read ? 1 : 0) << c.values << " values, " << c.missing << " missing";
        EXPECT_EQ(ReadBufferList.Count() > 0, c.read) << c.values << " values, " << c.missing << " missing";
    }
}

TEST(RadioRecordBytes, MoreThanFifteenValuesAreRefused)
{
    EXPECT_THROW(RadioRecordBytes({0, 0, 0, 1, 0, 0, std::vector<std::int16_t>(16, 0)}), std::invalid_argument);
}

} // namespace
} // namespace qel
