// Tests of tick time, its conversions and the local-time offset.
#include "foundations/tick_time.h"

#include "platform/float_checks.h"
#include "tests/support/scoped_time_zone.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>

namespace qel {
namespace {

TEST(TickTime, TicksToDays)
{
    EXPECT_EQ(TicksToDays(88473600000), 1.0);
    EXPECT_EQ(TicksToDays(0), 0.0);
    EXPECT_EQ(TicksToDays(-88473600000 / 2), -0.5);
    EXPECT_EQ(TicksToDays(TICKS_PER_SECOND * 3600), 1.0 / 24.0);
}

TEST(TickTime, DaysToTicksTruncatesTowardZero)
{
    EXPECT_EQ(DaysToTicks(1.0), 88473600000);
    EXPECT_EQ(DaysToTicks(-0.5), -44236800000);
    EXPECT_EQ(DaysToTicks(1.7 / 88473600000.0), 1);
    EXPECT_EQ(DaysToTicks(-1.7 / 88473600000.0), -1);
    EXPECT_EQ(DaysToTicks(0.0), 0);
}

TEST(TickTime, DaysToTicksOutOfRangeRaises)
{
    EXPECT_THROW(DaysToTicks(std::numeric_limits<double>::quiet_NaN()), plat::EInvalidOp);
    EXPECT_THROW(DaysToTicks(1e300), plat::EInvalidOp);
    EXPECT_THROW(DaysToTicks(-std::numeric_limits<double>::infinity()), plat::EInvalidOp);
}

TEST(TickTime, RoundTripLosesAtMostOneTick)
{
    std::int64_t ticks = 1;
    for (int i = 0; i < 2000; ++i) {
        const std::int64_t back = DaysToTicks(TicksToDays(ticks));
        EXPECT_TRUE(back == ticks || back == ticks - 1) << ticks << " came back as " << back;
        ticks = ticks * 3 / 2 + 7919;
        if (ticks > TICKS_PER_DAY * 40000) {
            ticks = ticks % 1000003 + 1;
        }
    }
}

TEST(TickTime, SecondsAndDays)
{
    EXPECT_EQ(SecondsToDays(86400.0), 1.0);
    EXPECT_EQ(SecondsToDays(-43200.0), -0.5);
    EXPECT_EQ(DaysToSeconds(0.5), 43200.0);
    EXPECT_EQ(DaysToSeconds(-2.0), -172800.0);
}

TEST(TickTime, TickZeroIsTheYear2000)
{
    EXPECT_EQ(TicksToDateTime(0), 36526.0);
    EXPECT_EQ(TicksToDateTime(TICKS_PER_DAY), 36527.0);
}

class UtcOffsetTest : public ::testing::Test {
protected:
    void UseZone(const std::string& zone) { FZone.emplace(zone); }

    // Tick time of a UTC moment of 2024.
    static std::int64_t Ticks2024(int dayOfYear, int hour, int minute, int second)
    {
        const std::int64_t daysTo2024 = 8766; // 2000-01-01 .. 2024-01-01
        const std::int64_t seconds = (daysTo2024 + dayOfYear) * 86400 + hour * 3600 + minute * 60 + second;
        return seconds * TICKS_PER_SECOND;
    }

private:
    std::optional<qeltest::ScopedTimeZone> FZone;
};

TEST_F(UtcOffsetTest, OneHourEastIsExact)
{
    UseZone("<+01>-1");
    for (const std::int64_t ticks : {std::int64_t{0}, std::int64_t{1}, Ticks2024(0, 0, 0, 0),
                                     Ticks2024(200, 13, 37, 59) + 12345, -TICKS_PER_DAY * 100}) {
        EXPECT_EQ(GetUtcOffsetTicks(ticks), 3686400000) << ticks;
    }
}

TEST_F(UtcOffsetTest, FollowsDaylightSaving)
{
    // Central European rules: summer time from the last Sunday of March,
    // 01:00 UTC, to the last Sunday of October, 01:00 UTC.
    UseZone("CET-1CEST,M3.5.0,M10.5.0/3");
    const std::int64_t hour = 3600 * TICKS_PER_SECOND;
    // 2024-03-31 is day 90 of the year, 2024-10-27 day 300.
    EXPECT_EQ(GetUtcOffsetTicks(Ticks2024(90, 0, 59, 59)), hour);
    EXPECT_EQ(GetUtcOffsetTicks(Ticks2024(90, 1, 0, 0)), 2 * hour);
    EXPECT_EQ(GetUtcOffsetTicks(Ticks2024(300, 0, 59, 59)), 2 * hour);
    EXPECT_EQ(GetUtcOffsetTicks(Ticks2024(300, 1, 0, 0)), hour);
}

TEST_F(UtcOffsetTest, WestOfGreenwichIsNegative)
{
    UseZone("<-0330>3:30");
    EXPECT_EQ(GetUtcOffsetTicks(Ticks2024(10, 12, 0, 0)), -(3 * 3600 + 1800) * TICKS_PER_SECOND);
}

} // namespace
} // namespace qel
