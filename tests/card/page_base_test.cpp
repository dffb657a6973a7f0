// Tests of the page decoder base: header questions and the decoder selection.
#include "card/page_base.h"
#include "card/page_qel629.h"
#include "card/page_qel629c.h"
#include "foundations/settings.h"

#include <gtest/gtest.h>

#include <array>

namespace qel {
namespace {

using THeader = std::array<std::uint8_t, 8>;

TEST(PageHeader, FlagBitsOfByteZero)
{
    const struct {
        std::uint8_t flags;
        std::uint8_t overflow;
        bool valid, start, extended;
    } cases[] = {
        {0x00, 0, true, false, false},
        {0x80, 2, true, false, false},
        {0xC0, 3, false, false, false},
        {0x20, 0, true, true, false},
        {0x10, 0, true, false, true},
        {0xF1, 3, false, true, true},
    };
    for (const auto& c : cases) {
        THeader bytes{c.flags};
        TPage page;
        page.New(0, bytes.data(), 8);
        EXPECT_EQ(page.GetOvfCnt(), c.overflow) << int(c.flags);
        EXPECT_EQ(page.IsValid(), c.valid) << int(c.flags);
        EXPECT_EQ(page.IsStartPage(), c.start) << int(c.flags);
        EXPECT_EQ(page.hasExtendedHeader(), c.extended) << int(c.flags);
    }
}

TEST(PageHeader, TimeCountsUnitsOfThousandTicksOrTwoThousand)
{
    const struct {
        THeader bytes;
        std::int64_t ticks;
    } cases[] = {
        {{0, 0x01, 0, 0, 0, 0}, 4294967296000},
        {{0, 0x00, 0x10, 0x27, 0, 0}, 10000000},
        {{0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, 1099511627775 * 1000},
    };
    for (const auto& c : cases) {
        TPage page;
        page.New(0, c.bytes.data(), 8);
        EXPECT_EQ(page.GetTime(true), c.ticks);
        page.F512SEC = true;
        EXPECT_EQ(page.GetTime(true), 2 * c.ticks);
        page.setUtc(true, -7);
        EXPECT_EQ(page.GetTime(true), 2 * c.ticks - 7);
        page.setUtc(false, 99);
        EXPECT_EQ(page.GetUtc().Offset, 0);
        EXPECT_EQ(page.GetTime(true), 2 * c.ticks);
    }
}

TEST(PageHeader, QuestionsSetTheirOwnPositionAndTimeReadsAtThePosition)
{
    const std::array<std::uint8_t, 13> bytes{0x20, 0, 0x10, 0x27, 0, 0, 0x34, 0x12, 0, 0x05, 0, 0, 0};
    TPage page;
    page.New(42, bytes.data(), static_cast<std::uint16_t>(bytes.size()));
    EXPECT_EQ(page.GetStartPageNo(), 0x1234);
    EXPECT_TRUE(page.IsStartPage());
    EXPECT_EQ(page.GetTime(true), 10000000);
    EXPECT_EQ(page.GetStartPageNo(), 0x1234);
    // A time inside the page is read at the position, which GetStartPageNo left at 8.
    EXPECT_EQ(page.GetTime(false), 5000);
    EXPECT_EQ(page.GetNo(), 42);
}

TEST(PageHeader, ReadsNothingBeyondTheView)
{
    const std::array<std::uint8_t, 3> bytes{0x20, 0x01, 0x02};
    TPage page;
    page.New(0, bytes.data(), 3);
    EXPECT_EQ(page.GetTime(true), (std::int64_t{0x01} << 32 | 0x02) * 1000);   // bytes 3-5 read as 0
    EXPECT_EQ(page.GetStartPageNo(), 0);
    EXPECT_EQ(page.ReadByte(), 0);
}

TEST(PageHeader, ShockPageUnlessForcedExtended)
{
    const THeader bytes{0x10};
    TPage page;
    page.New(0, bytes.data(), 8);
    const bool saved = RegReader.ForceExtQEL;
    RegReader.ForceExtQEL = true;
    EXPECT_FALSE(page.IsQShockPage());
    EXPECT_TRUE(page.hasExtendedHeader());
    RegReader.ForceExtQEL = false;
    EXPECT_TRUE(page.IsQShockPage());
    EXPECT_TRUE(page.hasExtendedHeader());
    RegReader.ForceExtQEL = saved;
}

TEST(PageClass, SelectionByModelAndVersion)
{
    const struct {
        std::uint16_t model, version;
        const TPageClass& expected;
    } cases[] = {
        {0x6601, 0x0000, PageClassOf<TPage_V1>()},
        {0x6601, 0x0305, PageClassOf<TPage_V1>()},
        {0x6601, 0x0306, PageClassOf<TPage_V3>()},
        {0x6601, 0x05FF, PageClassOf<TPage_V3>()},
        {0x6601, 0x0600, PageClassOf<TPageQEL629c>()},
        {0x6601, 0xFFFF, PageClassOf<TPageQEL629c>()},
        {0x1234, 0x0100, PageClassOf<TPage>()},
    };
    for (const auto& c : cases) {
        EXPECT_STREQ(GetPageClass(c.model, c.version).ClassName, c.expected.ClassName) << std::hex << c.model << " " << c.version;
        EXPECT_EQ(&GetPageClass(c.model, c.version), &c.expected);
    }
}

TEST(PageClass, ObjectsOfTheChosenClassKeepTheirTimeUnit)
{
    const THeader bytes{0, 0, 0x0A, 0, 0, 0};   // 10 units
    const struct {
        const TPageClass& pageClass;
        std::int64_t ticks;
    } cases[] = {
        {PageClassOf<TPage>(), 10000},
        {PageClassOf<TPage_V1>(), 20000},
        {PageClassOf<TPage_V3>(), 20000},
        {PageClassOf<TPageQEL629c>(), 20000},
    };
    for (const auto& c : cases) {
        const std::unique_ptr<TPage> made = c.pageClass.Create();
        made->New(0, bytes.data(), 8);
        EXPECT_EQ(made->GetTime(true), c.ticks) << c.pageClass.ClassName;
        TScopedPage onStack(c.pageClass);
        onStack->New(0, bytes.data(), 8);
        EXPECT_EQ(onStack->GetTime(true), c.ticks) << c.pageClass.ClassName;
    }
    EXPECT_NE(dynamic_cast<TPage_V3*>(PageClassOf<TPage_V3>().Create().get()), nullptr);
}

} // namespace
} // namespace qel
