// Calendar encoding and decoding of date-time values, and the wall clock.
#include "platform/date_time.h"
#include "tests/support/scoped_time_zone.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using namespace plat;

struct TKnownDate {
    int Year, Month, Day;
    double Serial;
    int DayOfWeek;  // 1 Sunday
};

const TKnownDate KnownDates[] = {
    {1899, 12, 30, 0, 7},     {1899, 12, 29, -1, 6},     {1900, 1, 1, 2, 2},    {1970, 1, 1, 25569, 5},
    {2000, 1, 1, 36526, 7},   {2024, 3, 5, 45356, 3},    {1600, 2, 29, -109512, 3}, {1800, 1, 1, -36522, 4},
    {1, 1, 1, -693593, 2},    {9999, 12, 31, 2958465, 6},
};

TEST(DateTime, KnownDatesEncodeDecodeAndWeekday)
{
    for (const auto& known : KnownDates) {
        SCOPED_TRACE(testing::Message() << known.Year << "-" << known.Month << "-" << known.Day);
        EXPECT_EQ(EncodeDate(known.Year, known.Month, known.Day), known.Serial);
        int year = 0, month = 0, day = 0;
        DecodeDate(known.Serial, year, month, day);
        EXPECT_EQ(year, known.Year);
        EXPECT_EQ(month, known.Month);
        EXPECT_EQ(day, known.Day);
        EXPECT_EQ(DayOfWeek(known.Serial), known.DayOfWeek);
    }
}

TEST(DateTime, EveryDayOfFourCenturiesRoundTrips)
{
    // 1800..2200 crosses the non-leap 1900 and 2100 and the leap 2000.
    const double first = EncodeDate(1800, 1, 1);
    const double last = EncodeDate(2200, 12, 31);
    int expectedYear = 1800, expectedMonth = 1, expectedDay = 1;
    for (double serial = first; serial <= last; serial += 1) {
        int year = 0, month = 0, day = 0;
        DecodeDate(serial, year, month, day);
        ASSERT_EQ(year, expectedYear) << serial;
        ASSERT_EQ(month, expectedMonth) << serial;
        ASSERT_EQ(day, expectedDay) << serial;
        ASSERT_EQ(EncodeDate(year, month, day), serial);
        if (++expectedDay > DaysInMonth(expectedYear, expectedMonth)) {
            expectedDay = 1;
            if (++expectedMonth > 12) {
                expectedMonth = 1;
                ++expectedYear;
            }
        }
    }
}

TEST(DateTime, LeapYearsAndMonthLengths)
{
    const struct {
        int Year;
        bool Leap;
    } years[] = {{1600, true}, {1900, false}, {2000, true}, {2023, false}, {2024, true}, {2100, false}};
    for (const auto& y : years) {
        EXPECT_EQ(IsLeapYear(y.Year), y.Leap) << y.Year;
        EXPECT_EQ(DaysInMonth(y.Year, 2), y.Leap ? 29 : 28) << y.Year;
    }
    EXPECT_EQ(DaysInMonth(2023, 4), 30);
    EXPECT_EQ(DaysInMonth(2023, 12), 31);
    EXPECT_EQ(DaysInMonth(2023, 13), 0);
    EXPECT_EQ(DaysInMonth(2023, 0), 0);
}

TEST(DateTime, InvalidArgumentsAreRefused)
{
    const struct {
        int Year, Month, Day;
    } badDates[] = {{2023, 2, 29}, {2024, 2, 30}, {2024, 4, 31}, {2024, 13, 1}, {2024, 0, 1},
                    {2024, 1, 0},  {0, 1, 1},     {10000, 1, 1}, {-5, 1, 1}};
    for (const auto& bad : badDates) {
        TDateTime ignored;
        EXPECT_FALSE(TryEncodeDate(bad.Year, bad.Month, bad.Day, ignored)) << bad.Year << "-" << bad.Month << "-" << bad.Day;
        EXPECT_THROW(EncodeDate(bad.Year, bad.Month, bad.Day), EConvertError);
    }
    const struct {
        int Hour, Minute, Second, Ms;
    } badTimes[] = {{24, 0, 0, 0}, {0, 60, 0, 0}, {0, 0, 60, 0}, {0, 0, 0, 1000}, {-1, 0, 0, 0}, {0, 0, 0, -1}};
    for (const auto& bad : badTimes) {
        TDateTime ignored;
        EXPECT_FALSE(TryEncodeTime(bad.Hour, bad.Minute, bad.Second, bad.Ms, ignored)) << bad.Hour << ":" << bad.Minute;
        EXPECT_THROW(EncodeTime(bad.Hour, bad.Minute, bad.Second, bad.Ms), EConvertError);
    }
}

// Every millisecond value of a second, every second of the day, on dates
// after and before 1899-12-30 (whose values run the other way).
TEST(DateTime, DateAndTimeRoundTripWithoutLosingAMillisecond)
{
    const TDateTimeParts dates[] = {{2024, 3, 5}, {9999, 12, 31}, {1899, 12, 30}, {1899, 12, 29}, {1, 1, 1}, {1750, 6, 15}};
    for (TDateTimeParts parts : dates) {
        for (int second = 0; second < SecsPerDay; second += 1) {
            parts.Hour = second / 3600;
            parts.Minute = second / 60 % 60;
            parts.Second = second % 60;
            parts.MilliSecond = (second * 7) % 1000;
            const TDateTimeParts decoded = DecodeDateTime(EncodeDateTime(parts));
            ASSERT_EQ(decoded.Year, parts.Year);
            ASSERT_EQ(decoded.Month, parts.Month);
            ASSERT_EQ(decoded.Day, parts.Day);
            ASSERT_EQ(decoded.Hour, parts.Hour) << parts.Year << " second " << second;
            ASSERT_EQ(decoded.Minute, parts.Minute) << parts.Year << " second " << second;
            ASSERT_EQ(decoded.Second, parts.Second) << parts.Year << " second " << second;
            ASSERT_EQ(decoded.MilliSecond, parts.MilliSecond) << parts.Year << " second " << second;
        }
    }
}

TEST(DateTime, DecodingRoundsToTheMillisecond)
{
    const double day = EncodeDate(2024, 3, 5);
    // 14:07:09 computed as seconds / 86400 lands a hair below the exact time.
    const double justBelow = day + 50829.0 / 86400.0 - 1e-11;
    int hour, minute, second, ms;
    DecodeTime(justBelow, hour, minute, second, ms);
    EXPECT_EQ(hour, 14);
    EXPECT_EQ(minute, 7);
    EXPECT_EQ(second, 9);
    EXPECT_EQ(ms, 0);

    // Less than half a millisecond before midnight is the next day.
    const TDateTimeParts next = DecodeDateTime(day + 1 - 1e-9);
    EXPECT_EQ(next.Day, 6);
    EXPECT_EQ(next.Hour, 0);
    EXPECT_EQ(next.MilliSecond, 0);
}

TEST(DateTime, NegativeValuesCarryTheTimeAsMagnitude)
{
    EXPECT_EQ(EncodeDateTime({1899, 12, 29, 6, 0, 0, 0}), -1.25);
    const TDateTimeParts parts = DecodeDateTime(-1.25);
    EXPECT_EQ(parts.Day, 29);
    EXPECT_EQ(parts.Hour, 6);
    EXPECT_EQ(DayOfWeek(-1.25), 6);
}

TEST(DateTime, ValuesOutsideTheCalendarAreErrors)
{
    const double bad[] = {MaxDateTime + 1.0, MinDateTime - 1.0, std::numeric_limits<double>::quiet_NaN(),
                          std::numeric_limits<double>::infinity(), 1e300};
    for (double value : bad) {
        TDateTimeParts parts;
        EXPECT_FALSE(TryDecodeDateTime(value, parts)) << value;
        EXPECT_THROW(DecodeDateTime(value), EConvertError) << value;
    }
    const TDateTimeParts last = DecodeDateTime(MaxDateTime);
    EXPECT_EQ(last.Year, 9999);
    EXPECT_EQ(last.Hour, 23);
    EXPECT_EQ(last.MilliSecond, 999);
    EXPECT_THROW(DayOfWeek(std::numeric_limits<double>::quiet_NaN()), EConvertError);
}

TEST(DateTime, UnixMillisecondsBothWays)
{
    EXPECT_EQ(UnixMsToDateTime(0), UnixDateDelta);
    EXPECT_EQ(DateTimeToUnixMs(EncodeDateTime({2024, 3, 5, 14, 7, 9, 123})), 1709647629123);
    EXPECT_EQ(DateTimeToUnixMs(EncodeDateTime({1000, 6, 15, 1, 2, 3, 4})), -30595964276996);
    for (std::int64_t ms : {0LL, 1LL, -1LL, 1709647629123LL, -30595964276996LL, -2209161600000LL - 1,
                            253402300799999LL}) {
        EXPECT_EQ(DateTimeToUnixMs(UnixMsToDateTime(ms)), ms) << ms;
    }
}

TEST(DateTime, NowFollowsTheWallClockAndTimeZone)
{
    qeltest::ScopedTimeZone zone("CET-1");
    const std::int64_t moment = DateTimeToUnixMs(EncodeDateTime({2024, 1, 15, 23, 30, 0, 250}));
    TFixedWallClock clock(moment);
    {
        TScopedWallClock scoped(clock);
        EXPECT_EQ(DateTimeToUnixMs(NowUtc()), moment);
        const TDateTimeParts local = DecodeDateTime(Now());
        EXPECT_EQ(local.Day, 16);
        EXPECT_EQ(local.Hour, 0);
        EXPECT_EQ(local.Minute, 30);
        EXPECT_EQ(local.MilliSecond, 250);
        EXPECT_EQ(Date(), EncodeDate(2024, 1, 16));
        clock.Advance(1000);
        EXPECT_EQ(DecodeDateTime(Now()).Second, 1);
    }
    EXPECT_NE(&CurrentWallClock(), &clock);
}

} // namespace
