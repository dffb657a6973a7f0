// Tests of the bounds-checked page reader the decoders share.
#include "card/page_reader.h"

#include <gtest/gtest.h>

#include <array>

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

} // namespace
} // namespace qel
