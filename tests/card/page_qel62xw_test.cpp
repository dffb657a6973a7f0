// Tests of the QEL62xW and QEL621WxD page decoders: the decoder choice of
// the variable-length families, value records and steps on a page, the
// extended header with limit and flex-channel entries, and the logger check.
#include "card/page_qel51.h"
#include "card/page_qel621wd.h"
#include "card/page_qel621wxd.h"
#include "card/page_qel624c.h"
#include "card/page_qel62xw.h"
#include "loggers/qel621wxd.h"
#include "loggers/qel624c.h"
#include "loggers/qel629wxd.h"
#include "tests/card/var_record_page_fixture.h"
#include "tools/cardgen/qel629_records.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace qel {
namespace {

using namespace qeltest;
using TBytes = std::vector<std::uint8_t>;

constexpr std::uint16_t QEL629WXD = 0x6617;
constexpr std::uint16_t QEL621WXD = 0x6621;

TEST(VarRecordPageClass, SelectionByModelAndVersion)
{
    const struct {
        std::uint16_t model;
        std::uint16_t version;
        const TPageClass& expected;
    } cases[] = {
        {0x6617, 0x0000, PageClassOf<TPageQEL62xW>()},   {0x6617, 0xFFFF, PageClassOf<TPageQEL62xW>()},
        {0x6621, 0x0000, PageClassOf<TPageQEL621WD>()},  {0x6621, 0x01FF, PageClassOf<TPageQEL621WD>()},
        {0x6621, 0x0200, PageClassOf<TPageQEL621WxD>()}, {0x6621, 0xFFFF, PageClassOf<TPageQEL621WxD>()},
        {0x6619, 0x0105, PageClassOf<TPageQEL624c>()},   {0x6616, 0x0105, PageClassOf<TPageQEL51>()},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(&GetPageClass(c.model, c.version), &c.expected) << std::hex << c.model << " " << c.version;
    }
}

class Qel62xWPage : public VarRecordPageTest {
protected:
    // A QEL629WxD logger with four channels, or a QEL621WxD one.
    static TQEL62xW& Logger(std::uint16_t model = QEL629WXD)
    {
        TQEL62xW& logger = model == QEL629WXD ? static_cast<TQEL62xW&>(UseLogger<TQEL629WxD>(model, 0x0200))
                                              : static_cast<TQEL62xW&>(UseLogger<TQEL621WxD>(model, 0x0200));
        AddChannels(logger, 4);
        return logger;
    }

    static TSingleSeries DecodeRecords(std::uint16_t model, const TBytes& records)
    {
        Logger(model);
        Decode(model, 0x0200, RawPage(records));
        return ReadSingleSeries();
    }

    // A page with the extended header's sub-blocks, then one value record of channel 1.
    static TPageBytes ExtendedPage(const std::vector<cardgen::TExtendedSectionDescription>& sections)
    {
        return BuildPage(
            [](cardgen::TVarRecordWriter& w) {
                w.AddValue(1, 1.0f);
                w.AddEnd();
            },
                         [&sections](std::uint32_t, cardgen::TPageHeaderFields& header,
                                     std::span<std::uint8_t, cardgen::kPageSize> page) {
                             return cardgen::WriteExtendedHeader(page, header, sections);
                         });
    }

    static const qel62xw::TQelChannelLimit& LimitOf(int index)
    {
        return *dynamic_cast<TQEL62xW&>(*QelList.GetCurrent()).Channels.GetItem(index).Limit;
    }
    static const qel62xw::TQelChannel& ChannelOf(int index)
    {
        return dynamic_cast<TQEL62xW&>(*QelList.GetCurrent()).Channels.GetItem(index);
    }
};

TEST_F(Qel62xWPage, ValueRecordsAndStepsFromTheHeaderTime)
{
    const TBytes records = {0x05, 0x00, 0xA4, 0x41,          // ch 5 = 20.5 at the header time
                            0x81, 0x00,                      // +256 units
                            0x7F, 0x00, 0x20, 0xC0,          // ch 127 = -2.5
                            0xB0, 0x00, 0x00, 0x00,          // -2^28 units
                            0x05, 0x00, 0x80, 0x3F,          // ch 5 = 1
                            0xE0, 0x05, 0x00, 0x80, 0x3F};   // end: the last record is not read
    const std::int64_t t1 = HEADER_TICKS + 256'000;
    const std::int64_t t2 = t1 - 268'435'456'000;
    const TSingleSeries expected = {{5, {{HEADER_TICKS, 20.5f}, {t2, 1.0f}}}, {127, {{t1, -2.5f}}}};
    for (const std::uint16_t model : {QEL629WXD, QEL621WXD}) {
        EXPECT_EQ(DecodeRecords(model, records), expected) << std::hex << model;
    }
}

TEST_F(Qel62xWPage, AModelBlockEndsThePage)
{
    for (const std::uint8_t tag : {0xC0, 0xDF}) {
        EXPECT_EQ(DecodeRecords(QEL629WXD, {0x01, 0x00, 0x80, 0x3F, tag, 0x02, 0x00, 0x80, 0x3F, 0x02, 0x00, 0x80, 0x3F}),
                  (TSingleSeries{{1, {{HEADER_TICKS, 1.0f}}}}))
            << int{tag};
    }
}

TEST_F(Qel62xWPage, ARecordNeedsFourBytesLeftInTheView)
{
    // Value at 8, short step +1 at 12, value at 14, value at 18: a view of
    // 22 bytes holds the first three records only; of 17 the short step's
    // successor is cut.
    const TPageBytes page = RawPage({0x01, 0x00, 0x80, 0x3F, 0x80, 0x01, 0x02, 0x00, 0x80, 0x3F, 0x03, 0x00, 0x80, 0x3F});
    const struct {
        std::uint16_t size;
        TSingleSeries expected;
    } cases[] = {
        {22, {{1, {{HEADER_TICKS, 1.0f}}}, {2, {{HEADER_TICKS + 1000, 1.0f}}}, {3, {{HEADER_TICKS + 1000, 1.0f}}}}},
        {21, {{1, {{HEADER_TICKS, 1.0f}}}, {2, {{HEADER_TICKS + 1000, 1.0f}}}}},
        {17, {{1, {{HEADER_TICKS, 1.0f}}}}},
        {15, {{1, {{HEADER_TICKS, 1.0f}}}}},   // three bytes left: the step is not read
        {8, {}},
        {3, {}},                               // not even a whole header
    };
    for (const auto& c : cases) {
        Logger();
        Decode(QEL629WXD, 0x0200, page, c.size);
        EXPECT_EQ(ReadSingleSeries(), c.expected) << "view of " << c.size;
    }
}

TEST_F(Qel62xWPage, ExtendedHeaderSetsLimitsAndRecordsFollowIt)
{
    // E0 00 07 00, then 01 00 05 00 and one 10-byte entry for channel 0:
    // the records begin at byte 26.
    Logger();
    const TPageBytes page = ExtendedPage({{1, cardgen::ChannelLimitData({{0, 5, 3, 1.5f, -2.5f}})}});
    ASSERT_EQ(TBytes(page.begin() + 8, page.begin() + 16), (TBytes{0xE0, 0x00, 0x07, 0x00, 0x01, 0x00, 0x05, 0x00}));
    ASSERT_EQ(page[26], 0x01) << "the value record lies at byte 26";
    Decode(QEL629WXD, 0x0200, page);
    EXPECT_EQ(ReadSingleSeries(), (TSingleSeries{{1, {{HEADER_TICKS, 1.0f}}}}));

    const auto& limit = LimitOf(0);
    EXPECT_TRUE(limit.bReaderRead);
    EXPECT_EQ(limit.rec_condition, 5);
    EXPECT_EQ(limit.alarm_condition, 3);
    EXPECT_EQ(limit.limit_L1, 1.5);
    EXPECT_EQ(limit.limit_L2, -2.5);
    EXPECT_FALSE(LimitOf(1).bReaderRead);
}

TEST_F(Qel62xWPage, ExtendedHeaderSubBlocks)
{
    const std::vector<cardgen::TChannelLimitDescription> limits = {{1, 1, 2, 10.0f, 20.0f}, {3, 7, 7, 0.5f, 0.25f}};
    const struct {
        const char* what;
        std::vector<cardgen::TExtendedSectionDescription> sections;
        std::vector<int> limited;   // channel indexes whose limit was read
    } cases[] = {
        {"type 2 holds two entries", {{2, cardgen::ChannelLimitData(limits)}}, {1, 3}},
        {"types 5 and 0 are skipped whole", {{5, cardgen::ChannelLimitData(limits)}, {0, {1, 2, 3, 4}}}, {}},
        {"a skipped block before a limit block", {{9, {1, 2, 3}}, {1, cardgen::ChannelLimitData({limits[1]})}}, {3}},
        {"six bytes hold no entry", {{1, {0, 0x09, 0, 0, 0, 0}}}, {}},
        {"an index at the channel count changes nothing", {{1, cardgen::ChannelLimitData({{4, 1, 1, 1.0f, 1.0f}})}}, {}},
        {"no sub-block at all", {}, {}},
    };
    for (const auto& c : cases) {
        Logger();
        Decode(QEL629WXD, 0x0200, ExtendedPage(c.sections));
        EXPECT_EQ(ReadSingleSeries(), (TSingleSeries{{1, {{HEADER_TICKS, 1.0f}}}})) << c.what;
        std::vector<int> limited;
        for (int i = 0; i < 4; ++i) {
            if (LimitOf(i).bReaderRead) {
                limited.push_back(i);
            }
        }
        EXPECT_EQ(limited, c.limited) << c.what;
    }
}

TEST_F(Qel62xWPage, BrokenExtendedHeadersYieldNoSample)
{
    TPageBytes marker = ExtendedPage({});
    marker[8] = 0xE1;   // E1 00

    TPageBytes longArea = ExtendedPage({});
    longArea[10] = 0x0E;   // L = 0x20E words: 12 + 1052 bytes run past the page
    longArea[11] = 0x02;

    // A limit block for channel 2, then a block whose length runs past the
    // page: no sample, but the first block's entry stays applied.
    TPageBytes longBlock = ExtendedPage({{1, cardgen::ChannelLimitData({{2, 1, 1, 1.0f, 2.0f}})}, {3, {}}});
    longBlock[26 + 2] = 0x10;   // the second block's N = 0x210 words
    longBlock[26 + 3] = 0x02;
    ASSERT_EQ(longBlock[8], 0xE0);

    const struct {
        const char* what;
        const TPageBytes& page;
        bool limitOf2;
    } cases[] = {{"wrong marker", marker, false}, {"area past the page", longArea, false},
                 {"sub-block past the page", longBlock, true}};
    for (const auto& c : cases) {
        Logger();
        Decode(QEL629WXD, 0x0200, c.page);
        EXPECT_EQ(ReadSingleSeries(), TSingleSeries{}) << c.what;
        EXPECT_EQ(LimitOf(2).bReaderRead, c.limitOf2) << c.what;
    }
}

TEST_F(Qel62xWPage, ExtendedHeaderCutByTheViewEndsThePage)
{
    // The sub-block area fits a 1056-byte page, but not the shorter views.
    const TPageBytes page = ExtendedPage({{1, cardgen::ChannelLimitData({{0, 1, 1, 1.0f, 2.0f}})}});
    for (const std::uint16_t size : {8, 9, 11, 12, 15, 25}) {
        Logger();
        Decode(QEL629WXD, 0x0200, page, size);
        EXPECT_EQ(ReadSingleSeries(), TSingleSeries{}) << size;
        EXPECT_FALSE(LimitOf(0).bReaderRead) << size;
    }
}

TEST_F(Qel62xWPage, FlexChannelEntriesNameTheChannels)
{
    // Index, an unused byte, the serial number, then name and unit bytes.
    const auto entry = [](TBytes& data, std::uint8_t index, std::uint32_t serial, const TBytes& text) {
        for (const std::uint32_t b : {std::uint32_t{index}, 0x99u, serial, serial >> 8, serial >> 16, serial >> 24}) {
            data.push_back(static_cast<std::uint8_t>(b));
        }
        for (const std::uint8_t b : text) {
            data.push_back(b);
        }
    };
    TBytes data;
    entry(data, 0, 0x01020304, {0x54, 0x65, 0x6D, 0x70, 0x00, 0x00, 0xB0, 0x43, 0x20, 0x20, 0x20, 0x20});
    entry(data, 2, 7, {0x20, 0x41, 0x1F, 0x42, 0x80, 0x20, 0xE4, 0xFF, 0x7F, 0x25, 0x09, 0xB0});
    entry(data, 4, 9, {0x58, 0x58, 0x58, 0x58, 0x58, 0x58, 0x59, 0x59, 0x59, 0x59, 0x59, 0x59});
    ASSERT_EQ(data.size(), 3u * 18u);
    for (const std::uint16_t type : {3, 4}) {
        Logger();
        Decode(QEL629WXD, 0x0200, ExtendedPage({{type, data}}));
        EXPECT_EQ(ReadSingleSeries(), (TSingleSeries{{1, {{HEADER_TICKS, 1.0f}}}})) << type;

        EXPECT_EQ(ChannelOf(0).Info.sName, "Temp");
        EXPECT_EQ(ChannelOf(0).Info.sUnit, "\xC2\xB0" "C") << "degree sign, then C";
        EXPECT_EQ(ChannelOf(0).FlexChannelType, 1);
        EXPECT_EQ(ChannelOf(0).FlexChannelSN, 0x01020304u);
        // Controls and bytes above 127 become blanks; inner blanks stay.
        EXPECT_EQ(ChannelOf(2).Info.sName, "A B");
        EXPECT_EQ(ChannelOf(2).Info.sUnit, "\x7F% \xC2\xB0");
        EXPECT_EQ(ChannelOf(2).FlexChannelSN, 7u);
        // Channels 1 and 3 keep their description; index 4 names no channel.
        EXPECT_EQ(ChannelOf(1).Info.sName, "C1");
        EXPECT_EQ(ChannelOf(1).FlexChannelType, 0);
        EXPECT_EQ(ChannelOf(3).Info.sName, "C3");
    }
    // The flex-sensor name of the channel series follows from these fields.
    EXPECT_EQ(QelList.GetCurrent()->GetChName(0), "Temp Flex16909060");
}

TEST_F(Qel62xWPage, TheLoggerMustBeOfTheGeneration)
{
    UseLogger<TQEL624C>(0x6619, 0x0105);
    EXPECT_THROW(Decode(QEL629WXD, 0x0200, RawPage({0x01, 0x00, 0x80, 0x3F})), std::logic_error);
    Reset();
    EXPECT_THROW(Decode(QEL621WXD, 0x0200, RawPage({0x01, 0x00, 0x80, 0x3F})), std::logic_error) << "no logger";
}

} // namespace
} // namespace qel
