// Tests of the bounds-checked page reader the decoders share.
#include "card/page_reader.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace qel {
namespace {

TEST(PageReader, ReadsLittleEndianAndSharesThePosition)
{
    const std::array<std::uint8_t, 7> bytes{0x34, 0x12, 0x78, 0x56, 0x34, 0x12, 0xFF};
    std::int32_t position = 0;
    TPageReader in(bytes.data(), 7, position);
    EXPECT_EQ(in.Word(), 0x1234);
    EXPECT_EQ(position, 2);
    EXPECT_EQ(in.LongWord(), 0x12345678u);
    EXPECT_EQ(in.SmallInt(), static_cast<std::int16_t>(0x00FF));   // the one byte left, then 0
    EXPECT_EQ(position, 7);
}

TEST(PageReader, FitsOnlyWhatLiesInTheView)
{
    const std::array<std::uint8_t, 8> bytes{};
    const struct {
        std::int32_t position, count;
        bool fits;
    } cases[] = {
        {0, 8, true}, {4, 4, true}, {5, 4, false}, {8, 0, true}, {8, 1, false},
        {9, 0, false}, {-1, 1, false}, {0, -1, false}, {1, 0x7FFFFFFF, false},
    };
    for (const auto& c : cases) {
        std::int32_t position = c.position;
        TPageReader in(bytes.data(), 8, position);
        EXPECT_EQ(in.Fits(c.count), c.fits) << c.position << "+" << c.count;
        EXPECT_EQ(in.Skip(c.count), c.fits) << c.position << "+" << c.count;
        EXPECT_EQ(position, c.fits ? c.position + c.count : c.position);
    }
}

TEST(PageReader, ReadsPastTheEndGiveZeroAndStayAtTheEnd)
{
    const std::array<std::uint8_t, 4> bytes{1, 2, 3, 4};
    for (std::int32_t start : {3, 4, 100, -5}) {
        std::int32_t position = start;
        TPageReader in(bytes.data(), 3, position);   // the fourth byte is outside the view
        in.Byte();
        EXPECT_EQ(in.Word(), 0) << start;
        EXPECT_EQ(position, 3) << start;
        EXPECT_EQ(in.Remaining(), 0) << start;
    }
    std::int32_t position = 0;
    TPageReader in(bytes.data(), 3, position);
    EXPECT_FALSE(in.Seek(4));
    EXPECT_TRUE(in.Seek(3));
    EXPECT_EQ(in.Byte(), 0);
}

TEST(PageReader, TakeHandsOutWholeRecordsOrNothing)
{
    const std::array<std::uint8_t, 7> bytes{0x34, 0x12, 0x78, 0x56, 0x01, 0x80, 0xFF};
    std::int32_t position = 0;
    TPageReader in(bytes.data(), 7, position);
    const std::uint8_t* first = in.Take(4);
    ASSERT_EQ(first, bytes.data());
    EXPECT_EQ(WordAt(first), 0x1234);
    EXPECT_EQ(position, 4);
    const std::uint8_t* second = in.Take(2);
    ASSERT_EQ(second, bytes.data() + 4);
    EXPECT_EQ(SmallIntAt(second), static_cast<std::int16_t>(0x8001));
    EXPECT_EQ(in.Take(2), nullptr);   // one byte is left
    EXPECT_EQ(position, 7);
    EXPECT_NE(in.Take(0), nullptr);
    EXPECT_EQ(in.Take(-1), nullptr);
}

TEST(PageReader, ForEachRecordVisitsWholeRecordsUntilTheVisitorStops)
{
    std::array<std::uint8_t, 11> bytes{};
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<std::uint8_t>(i);
    }
    const struct {
        std::int32_t start, size, stopAt;   // stopAt: the visitor answers False for the record at this offset
        std::vector<int> visited;
        std::int32_t end;                   // position afterwards
    } cases[] = {
        {0, 4, -1, {0, 4}, 8},         // the three bytes left make no record
        {1, 4, -1, {1, 5}, 9},
        {0, 4, 0, {0}, 4},             // stopped after the first record
        {2, 3, 5, {2, 5}, 8},
        {8, 4, -1, {}, 8},             // not one whole record
        {11, 1, -1, {}, 11},
        {12, 1, -1, {}, 12},           // outside the view: nothing, the position stays
        {0, 0, -1, {}, 0},
        {0, 11, -1, {0}, 11},
    };
    for (const auto& c : cases) {
        std::int32_t position = c.start;
        TPageReader in(bytes.data(), 11, position);
        std::vector<int> visited;
        in.ForEachRecord(c.size, [&](const std::uint8_t* at) {
            visited.push_back(at[0]);
            return at[0] != c.stopAt;
        });
        EXPECT_EQ(visited, c.visited) << c.start << " by " << c.size;
        EXPECT_EQ(position, c.end) << c.start << " by " << c.size;
    }
}

} // namespace
} // namespace qel
