// Tests of the QEL539c page decoder on generated pages: value records, steps
// and radio records in one loop, radio modules met on the page, a radio record
// cut off by the end of the view, and the logger check.
#include "card/page_qel28.h"
#include "card/page_qel539c.h"
#include "loggers/qel28.h"
#include "loggers/qel539c.h"
#include "tests/card/radio_series.h"
#include "tests/card/model_block_page_fixture.h"
#include "tools/cardgen/model_block_bytes.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace qel {
namespace {

using namespace qeltest;
using cardgen::RadioRecordBytes;
using cardgen::TVarRecordWriter;

constexpr std::uint16_t QEL539C = 0x6615;

TEST(Qel539cQel28PageClass, EveryVersionWordHasTheFamilysDecoder)
{
    for (const std::uint16_t version : {0x0000, 0x0301, 0xFFFF}) {
        EXPECT_EQ(&GetPageClass(0x6615, version), &PageClassOf<TPageQEL539c>()) << version;
        EXPECT_EQ(&GetPageClass(0x6626, version), &PageClassOf<TPageQEL28>()) << version;
    }
}

class Qel539cPage : public ModelBlockPageTest {
protected:
    TQEL539C& Logger() { return UseLogger<TQEL539C>(QEL539C, 0x0301); }
};

TEST_F(Qel539cPage, ValueAndRadioRecordsShareTheRunningTime)
{
    TQEL539C& logger = Logger();
    const TPageBytes page = BuildPage([](TVarRecordWriter& w) {
        w.AddValue(5, 20.5f);
        w.AddShortStep(2);
        w.AddBytes(RadioRecordBytes({0x00, 1, 0, 0x0101, 7, 0x02, {215}}));     // T and the counter
        w.AddLongStep(1000);
        w.AddValue(127, -2.5f);
        w.AddBytes(RadioRecordBytes({0x00, 1, 0, 0x0101, 8, 0x02, {-50}}));     // the same module
        w.AddBytes(RadioRecordBytes({0x00, 2, 0, 0x0202, 9, 0x04, {500, 250, 100}}));
        w.AddEnd();
        w.AddBytes(RadioRecordBytes({0x00, 3, 0, 0x0303, 1, 0x02, {1}}));       // after the end: not read
    });
    DecodeView(QEL539C, 0x0301, page);

    constexpr std::int64_t H = HEADER_TICKS;
    const TRadioSeriesMap expected = {
        {5, {0, 0, {{H, 20.5f}}}},
        {64, {0x0101, 4, {{H + 2000, 21.5f}, {H + 1002000, -5.0f}}}},
        {65, {0x0101, 20, {{H + 2000, 7.0f}, {H + 1002000, 8.0f}}}},
        {80, {0x0202, 1, {{H + 1002000, 50.0f}}}},
        {81, {0x0202, 2, {{H + 1002000, 25.0f}}}},
        {82, {0x0202, 3, {{H + 1002000, 10.0f}}}},
        {83, {0x0202, 20, {{H + 1002000, 9.0f}}}},
        {127, {0, 0, {{H + 1002000, -2.5f}}}},
    };
    EXPECT_EQ(ReadRadioSeries(), expected);
    ASSERT_EQ(logger.FRFSModulList.Count(), 2);
    EXPECT_EQ(logger.GetModulName(80), "SM-514");
    EXPECT_EQ(logger.GetChName(81), "T_RH");
}

TEST_F(Qel539cPage, RadioRecordCutOffByTheEndOfTheViewEndsThePage)
{
    // A value record at byte 8, then a radio record of 15 values at bytes 12 to 51.
    const TPageBytes page = BuildPage([](TVarRecordWriter& w) {
        w.AddValue(1, 1.0f);
        w.AddBytes(RadioRecordBytes({0x00, 1, 0, 0x0101, 7, 0x02, std::vector<std::int16_t>(15, 10)}));
        w.AddValue(2, 2.0f);
    });
    const struct {
        std::uint16_t size;
        int modules;
        std::vector<std::uint32_t> channels;
    } cases[] = {
        {51, 0, {1}},
        {52, 1, {1, 64, 65}},
        {55, 1, {1, 64, 65}},         // the value record after it needs four bytes
        {56, 1, {1, 2, 64, 65}},
    };
    for (const auto& c : cases) {
        TQEL539C& logger = Logger();
        DecodeView(QEL539C, 0x0301, page, c.size);
        std::vector<std::uint32_t> channels;
        for (const auto& [channel, series] : ReadRadioSeries()) {
            channels.push_back(channel);
        }
        EXPECT_EQ(channels, c.channels) << "view of " << c.size << " bytes";
        EXPECT_EQ(logger.FRFSModulList.Count(), c.modules) << "view of " << c.size << " bytes";
    }
}

TEST_F(Qel539cPage, LoggerOfAnotherClassIsRefused)
{
    UseLogger<TQEL28>(0x6626, 0x0120);
    EXPECT_THROW(DecodeView(QEL539C, 0x0301, RawPage({0x05, 0x00, 0xA4, 0x41})), std::logic_error);
}

} // namespace
} // namespace qel
