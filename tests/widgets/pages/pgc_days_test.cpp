// Tests of the library's day numbers: every valid day against the
// platform's calendar, the edges of the range, epoch years, times of day,
// truncating divisions and the clock-driven values.
#include "widgets/pages/pgc_days.h"

#include "tests/support/scoped_time_zone.h"

#include <gtest/gtest.h>

#include <cmath>

namespace qel {
namespace {

TEST(PgcDays, EveryDayNumberRoundTripsAndAgreesWithThePlatformCalendar)
{
    const plat::TDateTime first = plat::EncodeDate(1600, 1, 1);
    for (std::int32_t n = MinDayNumber; n <= MaxDayNumber; ++n) {
        std::int32_t day = 0;
        std::int32_t month = 0;
        std::int32_t year = 0;
        DayNumberToDMY(n, day, month, year);
        const plat::TDateTime date = plat::EncodeDate(year, month, day);
        ASSERT_EQ(DateToDayNumber(day, month, year, 0), n);
        ASSERT_EQ(static_cast<std::int32_t>(date - first), n) << year << "-" << month << "-" << day;
        ASSERT_EQ(static_cast<int>(DayNumberToWeekDay(n)), plat::DayOfWeek(date) - 1) << n;
        ASSERT_EQ(DayNumberToDateTime(n), date) << n;
        // Before 1899-12-30 the time of day is the fraction's magnitude.
        ASSERT_EQ(DateTimeToDayNumber(date < 0 ? date - 0.75 : date + 0.75), n) << n;
    }
    std::int32_t day = 0;
    std::int32_t month = 0;
    std::int32_t year = 0;
    DayNumberToDMY(MaxDayNumber, day, month, year);
    EXPECT_EQ(year * 10000 + month * 100 + day, 39991231);
}

TEST(PgcDays, DatesAtTheEdgesOfTheRange)
{
    struct TCase {
        int Day, Month, Year, Epoch;
        std::int32_t Number;
    };
    const TCase cases[] = {
        {1, 1, 1600, 0, 0},           {31, 1, 1600, 0, 30},       {29, 2, 1600, 0, 59},
        {1, 3, 1600, 0, 60},          {1, 1, 2000, 0, 146097},    {29, 2, 2000, 0, 146097 + 59},
        {31, 12, 3999, 0, 876581},    {29, 2, 1900, 0, -1},       {31, 12, 1599, 0, -1},
        {1, 1, 4000, 0, -1},          {0, 5, 2000, 0, -1},        {1, 13, 2000, 0, -1},
        {1, 0, 2000, 0, -1},          {31, 4, 2000, 0, -1},       {1, 1, 49, 1950, 146097 + 49 * 365 + 13},
        {1, 1, 50, 0, -1},            {1, 1, -1, 1950, -1},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(DateToDayNumber(c.Day, c.Month, c.Year, c.Epoch), c.Number)
            << c.Year << "-" << c.Month << "-" << c.Day << " epoch " << c.Epoch;
        EXPECT_EQ(IsValidDMY(c.Day, c.Month, c.Year, c.Epoch), c.Number >= 0) << c.Year << "-" << c.Month;
    }
    // Only -1 is no date; any other number goes through the formulas, and a
    // date the platform cannot encode gives the date-time 0.
    struct TNumberCase {
        std::int32_t Number;
        int Day, Month, Year;
        int WeekDay;
        plat::TDateTime DateTime;
    };
    const TNumberCase numbers[] = {
        {-1, 0, 0, 0, 7, 0.0},
        {-2, -1, 1, 1600, 4, 0.0},
        {-10, -9, 1, 1600, 252, 0.0},
        {MaxDayNumber + 1, 1, 1, 4000, 6, plat::EncodeDate(4000, 1, 1)},
        {2147483647, 11, 7, 5881210, 0, 0.0},
    };
    for (const TNumberCase& c : numbers) {
        std::int32_t day = 9;
        std::int32_t month = 9;
        std::int32_t year = 9;
        DayNumberToDMY(c.Number, day, month, year);
        EXPECT_EQ(day, c.Day) << c.Number;
        EXPECT_EQ(month, c.Month) << c.Number;
        EXPECT_EQ(year, c.Year) << c.Number;
        EXPECT_EQ(static_cast<int>(DayNumberToWeekDay(c.Number)), c.WeekDay) << c.Number;
        EXPECT_EQ(DayNumberToDateTime(c.Number), c.DateTime) << c.Number;
    }
    EXPECT_EQ(DayNumberToWeekDay(146097), TSysDayType::Saturday);
    EXPECT_EQ(DayNumberToWeekDay(0), TSysDayType::Saturday);
    EXPECT_EQ(DayNumberToWeekDay(BadDayNumber), NoSysDay);
    EXPECT_EQ(DMYToWeekDay(5, 3, 2024, 0), TSysDayType::Tuesday);
    EXPECT_EQ(DMYToWeekDay(30, 2, 2024, 0), NoSysDay);
}

TEST(PgcDays, LeapYearsAndMonthLengths)
{
    const std::pair<int, bool> years[] = {
        {1600, true}, {1700, false}, {1900, false}, {2000, true}, {2004, true},
        {2023, false}, {2100, false}, {3200, true}, {4000, false}, {8000, false},
    };
    for (const auto& [year, leap] : years) {
        EXPECT_EQ(IsLeapYearNumber(year), leap) << year;
    }
    EXPECT_EQ(DaysInMonthOf(2, 2000, 0), 29);
    EXPECT_EQ(DaysInMonthOf(2, 1900, 0), 28);
    EXPECT_EQ(DaysInMonthOf(2, 1599, 0), 0);
    EXPECT_EQ(DaysInMonthOf(9, 3999, 0), 30);
    EXPECT_EQ(DaysInMonthOf(13, 2000, 0), 0);
    EXPECT_EQ(DaysInMonthOf(2, 24, 1950), 29) << "the year resolves to 2024";
}

TEST(PgcDays, TwoDigitYearsFollowTheEpoch)
{
    for (int year = 0; year <= 99; ++year) {
        EXPECT_EQ(ResolveEpochYear(year, 1950), year < 50 ? 2000 + year : 1900 + year) << year;
    }
    EXPECT_EQ(ResolveEpochYear(5, 0), 5);
    EXPECT_EQ(ResolveEpochYear(100, 1950), 100);
    EXPECT_EQ(ResolveEpochYear(1999, 1950), 1999);
    EXPECT_EQ(ResolveEpochYear(-1, 1950), -1) << "its low 16 bits read 65535";
    EXPECT_EQ(ResolveEpochYear(65536 + 5, 1950), 65536 + 5 + 1900) << "the low 16 bits decide, the year is added to";
    // Division and remainder truncate toward zero: -1950 div 100 is -19 and
    // -1950 mod 100 is -50 (flooring would give -1940).
    EXPECT_EQ(ResolveEpochYear(60, -1950), 60 - 1900);
}

TEST(PgcDays, TimesOfDay)
{
    struct TCase {
        std::int32_t Seconds;
        int Hours, Minutes, Secs;
    };
    const TCase cases[] = {
        {0, 0, 0, 0}, {86399, 23, 59, 59}, {47109, 13, 5, 9}, {BadDayNumber, 0, 0, 0},
        // Beyond the day the hours go on; -3601 truncates: hours -1 (255),
        // rest -921601, minutes -15360 (0 in 8 bits), seconds -1 (255).
        {90000, 25, 0, 0}, {-3601, 255, 0, 255},
    };
    for (const TCase& c : cases) {
        std::uint8_t h = 99;
        std::uint8_t m = 99;
        std::uint8_t s = 99;
        SecondsOfDayToHMS(c.Seconds, h, m, s);
        EXPECT_EQ(h, c.Hours) << c.Seconds;
        EXPECT_EQ(m, c.Minutes) << c.Seconds;
        EXPECT_EQ(s, c.Secs) << c.Seconds;
    }
    EXPECT_EQ(HMSToSecondsOfDay(24, 0, 0), 0);
    EXPECT_EQ(HMSToSecondsOfDay(23, 59, 59), 86399);
    EXPECT_EQ(HMSToSecondsOfDay(13, 5, 9), 47109);
    EXPECT_EQ(HMSToSecondsOfDay(255, 255, 255), (15 * 3600 + 255 * 60 + 255) % 86400);
    EXPECT_FALSE(IsValidHMS(24, 0, 0));
    EXPECT_FALSE(IsValidHMS(0, 60, 0));
    EXPECT_FALSE(IsValidHMS(0, 0, -1));
    EXPECT_TRUE(IsValidHMS(23, 59, 59));

    EXPECT_EQ(SecondsOfDayToDateTime(BadDayNumber), 0.0);
    EXPECT_EQ(SecondsOfDayToDateTime(47109), plat::EncodeTime(13, 5, 9, 0));
    EXPECT_EQ(SecondsOfDayToDateTime(90000), 0.0) << "25:00 is no time";
    EXPECT_EQ(DateTimeToSecondsOfDay(plat::EncodeDate(2024, 3, 5) + plat::EncodeTime(13, 5, 9, 700)), 47109);
    EXPECT_EQ(DateTimeToSecondsOfDay(std::nan("")), BadDayNumber);
    EXPECT_EQ(DateTimeToDayNumber(1e12), BadDayNumber);
}

TEST(PgcDays, ClockValuesComeFromTheWallClock)
{
    const qeltest::ScopedTimeZone zone("Europe/Berlin");
    const plat::TDateTime local = plat::EncodeDate(2024, 3, 5) + plat::EncodeTime(23, 30, 15, 0);
    const plat::TFixedWallClock clock(plat::DateTimeToUnixMs(plat::LocalToUtc(local)));
    const plat::TScopedWallClock scoped(clock);
    EXPECT_EQ(CurrentDayNumber(), DateToDayNumber(5, 3, 2024, 0));
    EXPECT_EQ(CurrentSecondsOfDay(), 23 * 3600 + 30 * 60 + 15);
    const std::int32_t savedYear = StartYear;
    const std::uint8_t savedMonth = StartMonth;
    InitDaysUnit();
    EXPECT_EQ(StartYear, 2024);
    EXPECT_EQ(StartMonth, 3);
    StartYear = savedYear;
    StartMonth = savedMonth;
}

} // namespace
} // namespace qel
