// Tests of the QEL28 page decoder on generated pages: value records before an
// SE page block, the block ending the page with or without its data, SE pages
// of several pages in page order, a head cut off by the view, the logger check.
#include "card/page_qel28.h"
#include "card/se_pages.h"
#include "loggers/qel28.h"
#include "loggers/qel539c.h"
#include "tests/card/model_block_page_fixture.h"
#include "tests/card/radio_series.h"
#include "tools/cardgen/model_block_bytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <span>
#include <stdexcept>

namespace qel {
namespace {

using namespace qeltest;
using cardgen::SEPageBlockBytes;
using cardgen::TVarRecordWriter;

constexpr std::uint16_t QEL28 = 0x6626;

struct TSEPageHead {
    std::uint32_t Job;
    std::uint8_t Order, Page;
    std::uint32_t Index;
    std::int64_t Size;
    std::uint8_t FirstByte;
    bool operator==(const TSEPageHead&) const = default;
};

void PrintTo(const TSEPageHead& head, std::ostream* out)
{
    *out << "{job " << head.Job << ", order " << int{head.Order} << ", page " << int{head.Page} << ", index "
         << head.Index << ", " << head.Size << " bytes}";
}

std::vector<TSEPageHead> SEPages()
{
    std::vector<TSEPageHead> heads;
    for (const TSEPage* page : SEPageList) {
        heads.push_back({page->job, page->order, page->page, page->index, page->Size(),
                         page->Size() > 0 ? page->Data()[0] : std::uint8_t{0}});
    }
    return heads;
}

class Qel28Page : public ModelBlockPageTest {
protected:
    void SetUp() override
    {
        ModelBlockPageTest::SetUp();
        SEPageList.Clear();
        UseLogger<TQEL28>(QEL28, 0x0120);
    }
    void TearDown() override
    {
        SEPageList.Clear();
        ModelBlockPageTest::TearDown();
    }

    // Value records of channel 5 before an SE page block (as much of it as
    // the page holds), then a value record of channel 6 when room is left.
    static TPageBytes PageWithBlock(int valuesBefore, std::uint32_t job, std::uint8_t firstByte)
    {
        return BuildPage([=](TVarRecordWriter& w) {
            for (int i = 0; i < valuesBefore; ++i) {
                w.AddValue(5, 20.5f);
            }
            const std::vector<std::uint8_t> block = SEPageBlockBytes({job, 2, 3, 4, {firstByte}});
            w.AddBytes(std::span(block).first(std::min(block.size(), w.Room())));
            w.AddValue(6, 1.0f);
        });
    }
};

TEST_F(Qel28Page, SEPageBlockEndsThePageAndKeepsItsDataWhenItFits)
{
    const struct {
        int valuesBefore;   // the block begins at byte 8 + 4 × valuesBefore
        std::int64_t size;  // of the SE page
    } cases[] = {{0, 1024}, {1, 1024}, {3, 1024}, {4, 0}, {5, 0}};
    for (const auto& c : cases) {
        SetUp();
        DecodeView(QEL28, 0x0120, PageWithBlock(c.valuesBefore, 1, 0x5A));
        EXPECT_EQ(SEPages(), (std::vector<TSEPageHead>{{1, 2, 3, 4, c.size, c.size > 0 ? std::uint8_t{0x5A} : std::uint8_t{0}}}))
            << "block at byte " << 8 + 4 * c.valuesBefore;
        TRadioSeriesMap expected;
        for (int i = 0; i < c.valuesBefore; ++i) {
            expected[5].Samples.push_back({HEADER_TICKS, 20.5f});
        }
        EXPECT_EQ(ReadRadioSeries(), expected) << "nothing after the block is read";
    }
}

TEST_F(Qel28Page, SEPagesOfSeveralPagesInPageOrder)
{
    DecodeView(QEL28, 0x0120, PageWithBlock(0, 7, 1));
    DecodeView(QEL28, 0x0120, PageWithBlock(2, 3, 2));
    EXPECT_EQ(SEPages(), (std::vector<TSEPageHead>{{7, 2, 3, 4, 1024, 1}, {3, 2, 3, 4, 1024, 2}}));
}

TEST_F(Qel28Page, HeadCutOffByTheEndOfTheViewAddsNothing)
{
    // The block's tag at byte 12: the loop begins it from a view of 16 bytes, its head needs 24.
    const TPageBytes page = PageWithBlock(1, 1, 1);
    for (const std::uint16_t size : {16, 23}) {
        SetUp();
        DecodeView(QEL28, 0x0120, page, size);
        EXPECT_TRUE(SEPages().empty()) << size;
        EXPECT_EQ(ReadRadioSeries(), (TRadioSeriesMap{{5, {0, 0, {{HEADER_TICKS, 20.5f}}}}})) << size;
    }
    SetUp();
    DecodeView(QEL28, 0x0120, page, 24);
    EXPECT_EQ(SEPages(), (std::vector<TSEPageHead>{{1, 2, 3, 4, 0, 0}}));
}

TEST_F(Qel28Page, StepsAreSignedAndValuesGoToTheirChannels)
{
    // Short step -1, value -2.5 on channel 7, long step -2^28, value 20.5 on channel 5, end.
    DecodeView(QEL28, 0x0120,
               RawPage({0x9F, 0xFF, 0x07, 0x00, 0x20, 0xC0, 0xB0, 0x00, 0x00, 0x00, 0x05, 0x00, 0xA4, 0x41, 0xE0}));
    EXPECT_EQ(ReadRadioSeries(), (TRadioSeriesMap{{7, {0, 0, {{HEADER_TICKS - 1000, -2.5f}}}},
                                                  {5, {0, 0, {{HEADER_TICKS - 1000 - 268435456000, 20.5f}}}}}));
}

TEST_F(Qel28Page, LoggerOfAnotherClassIsRefused)
{
    UseLogger<TQEL539C>(0x6615, 0x0301);
    EXPECT_THROW(DecodeView(QEL28, 0x0120, RawPage({0x05, 0x00, 0xA4, 0x41})), std::logic_error);
}

} // namespace
} // namespace qel
