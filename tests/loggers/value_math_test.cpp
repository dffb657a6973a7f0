// Tests of the value-conversion arithmetic: rounding to single, fault
// detection and raw limits.
#include "loggers/value_math.h"

#include "foundations/byte_helpers.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>

namespace qel {
namespace {

constexpr double Inf = std::numeric_limits<double>::infinity();
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

TEST(ValueMath, RoundToSingleSaturatesToInfinity)
{
    EXPECT_EQ(RoundToSingle(1.5), 1.5f);
    EXPECT_EQ(RoundToSingle(1e39), std::numeric_limits<float>::infinity());
    EXPECT_EQ(RoundToSingle(-1e39), -std::numeric_limits<float>::infinity());
    EXPECT_TRUE(std::isnan(RoundToSingle(NaN)));
    EXPECT_EQ(RoundToSingle(FLT_MAX), FLT_MAX);
}

TEST(ValueMath, FaultsGiveTheNeutralAnswers)
{
    for (double faulty : {Inf, -Inf, NaN, 1e39, -1e39}) {
        EXPECT_EQ(SingleBits(ValueOrNoValue(faulty)), NO_VALUE_BITS) << faulty;
        EXPECT_EQ(GainOrOne(faulty), 1.0f) << faulty;
        EXPECT_EQ(OffsetOrZero(faulty), 0.0f) << faulty;
    }
    EXPECT_EQ(ValueOrNoValue(-2.5), -2.5f);
    EXPECT_EQ(GainOrOne(0.0), 0.0f);
    EXPECT_EQ(OffsetOrZero(-10.0), -10.0f);
}

TEST(ValueMath, RawLimitRoundsHalfToEvenAndClamps)
{
    const std::pair<double, std::int16_t> cases[] = {
        {0.5, 0},      {1.5, 2},        {2.5, 2},       {-2.5, -2},      {2.4999, 2},
        {31999.6, 32000}, {32000.4, 32000}, {1e6, 32000}, {-1e6, -32000}, {-32000.5, -32000},
        {Inf, 0},      {-Inf, 0},       {NaN, 0},       {1e19, 0},       {-1e19, 0},
    };
    for (const auto& [value, raw] : cases) {
        EXPECT_EQ(RawLimitOrZero(value), raw) << value;
    }
}

TEST(ValueMath, SignedLowBits)
{
    EXPECT_EQ(SignedLowBits(0x1FF0, 13), -16);
    EXPECT_EQ(SignedLowBits(0x0FF0, 13), 4080);
    EXPECT_EQ(SignedLowBits(0xE010, 13), 16);
    EXPECT_EQ(SignedLowBits(0x2000, 14), -8192);
    EXPECT_EQ(SignedLowBits(0x7FFF, 14), -1);
}

} // namespace
} // namespace qel
