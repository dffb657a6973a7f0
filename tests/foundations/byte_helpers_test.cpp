// Tests of the byte assembling, bit search and value-marker helpers.
#include "foundations/byte_helpers.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <limits>

namespace qel {
namespace {

TEST(ByteHelpers, AssemblesBigEndianWords)
{
    EXPECT_EQ(BytesToWord(0x12, 0x34), 0x1234);
    EXPECT_EQ(BytesToWord(0xFF, 0xFF), 0xFFFF);
    EXPECT_EQ(BytesToSmallInt(0xFF, 0xFE), -2);
    EXPECT_EQ(BytesToSmallInt(0x80, 0x00), -32768);
    EXPECT_EQ(BytesToSmallInt(0x7F, 0xFF), 32767);
    EXPECT_EQ(BytesToLongWord(0x01, 0x02, 0x03, 0x04), 16909060u);
    EXPECT_EQ(BytesToLongWord(0xFF, 0x00, 0x00, 0x01), 0xFF000001u);
}

TEST(ByteHelpers, AssemblesSingles)
{
    EXPECT_EQ(Bytes4ToSingle(0x3F, 0x80, 0x00, 0x00), 1.0f);
    EXPECT_EQ(Bytes4ToSingle(0xC0, 0x49, 0x0F, 0xDB), -3.14159274f);
    EXPECT_EQ(Bytes3ToSingle(0x3F, 0xC0, 0x00), 1.5f);
    // The low byte is always zero: 0x40490F00, not pi.
    EXPECT_EQ(SingleBits(Bytes3ToSingle(0x40, 0x49, 0x0F)), 0x40490F00u);
}

TEST(ByteHelpers, CountsBits)
{
    EXPECT_EQ(CountBits(0), 0);
    EXPECT_EQ(CountBits(~std::uint64_t{0}), 64);
    EXPECT_EQ(CountBits(0x8000000000000001ull), 2);
}

TEST(ByteHelpers, FindsSetBitByNumber)
{
    struct Case {
        std::uint64_t mask;
        std::int32_t n;
        int expected;
    };
    const Case cases[] = {
        {0x0A, 0, 1},
        {0x0A, 1, 3},
        {0x0A, 2, 64},
        {0, 0, 64},
        {0x8000000000000000ull, 0, 63},
        {~std::uint64_t{0}, 63, 63},
        {~std::uint64_t{0}, 64, 64},
        {0x0A, -1, 64},
        {~std::uint64_t{0}, std::numeric_limits<std::int32_t>::min(), 64},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GetBitPos(c.mask, c.n), c.expected) << "mask " << c.mask << " n " << c.n;
    }
}

TEST(ByteHelpers, MarkersAreDistinctNaNs)
{
    EXPECT_EQ(SingleBits(NoValueMarker()), 0xFFFFFFFFu);
    EXPECT_EQ(SingleBits(GapValueMarker()), 0xFFFFFFFEu);
    EXPECT_TRUE(IsNaNSingle(NoValueMarker()));
    EXPECT_TRUE(IsNaNSingle(GapValueMarker()));
    const float marker = NoValueMarker();
    EXPECT_FALSE(marker == marker);
    EXPECT_EQ(SingleBits(marker), SingleBits(NoValueMarker()));
    EXPECT_NE(SingleBits(NoValueMarker()), SingleBits(GapValueMarker()));
}

TEST(ByteHelpers, IsNaNSingleNeedsANonZeroMantissa)
{
    EXPECT_FALSE(IsNaNSingle(std::numeric_limits<float>::infinity()));
    EXPECT_FALSE(IsNaNSingle(-std::numeric_limits<float>::infinity()));
    EXPECT_FALSE(IsNaNSingle(0.0f));
    EXPECT_FALSE(IsNaNSingle(std::numeric_limits<float>::max()));
    EXPECT_TRUE(IsNaNSingle(std::numeric_limits<float>::quiet_NaN()));
    EXPECT_TRUE(IsNaNSingle(std::bit_cast<float>(0x7F800001u)));
}

TEST(ByteHelpers, ThreadSetUpMasksTrapsAndClearsFlags)
{
    feenableexcept(FE_DIVBYZERO);
    volatile double zero = 0.0;
    SetFPUExceptionMask();
    EXPECT_EQ(fegetexcept(), 0);
    volatile double result = 1.0 / zero; // would be a signal with the trap enabled
    EXPECT_TRUE(std::isinf(result));
    EXPECT_NE(fetestexcept(FE_DIVBYZERO), 0);
    InitThreadFPU();
    EXPECT_EQ(fetestexcept(FE_ALL_EXCEPT), 0);
}

TEST(ByteHelpers, ThreadSetUpKeepsRoundingMode)
{
    const int old = fegetround();
    fesetround(FE_DOWNWARD);
    SetFPUExceptionMask();
    EXPECT_EQ(fegetround(), FE_DOWNWARD);
    fesetround(old);
}

} // namespace
} // namespace qel
