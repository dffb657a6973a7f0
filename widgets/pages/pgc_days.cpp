// Day numbers and seconds of the day: the calendar conversions in both
// directions, weekdays, epoch years and the bridge to platform date-times.
// Divisions truncate toward zero, as C++ integer division does.
#include "widgets/pages/pgc_days.h"

namespace qel {

std::int32_t StartYear = 0;
std::uint8_t StartMonth = 0;

namespace {

constexpr std::int32_t DaysPer400Years = 146097;
constexpr std::int32_t DaysPer4Years = 1461;
constexpr std::int32_t LastDayOfFebruary1600 = 59;

} // namespace

void InitDaysUnit()
{
    int year = 0;
    int month = 0;
    int day = 0;
    plat::DecodeDate(plat::Now(), year, month, day);
    StartYear = year;
    StartMonth = static_cast<std::uint8_t>(month);
}

bool IsLeapYearNumber(std::int32_t Year)
{
    if (Year % 4 != 0 || Year % 4000 == 0) {
        return false;
    }
    return Year % 100 != 0 || Year % 400 == 0;
}

std::int32_t ResolveEpochYear(std::int32_t Year, std::int32_t Epoch)
{
    if (static_cast<std::uint16_t>(Year) >= 100) {
        return Year;
    }
    std::int64_t resolved = std::int64_t{Year} + std::int64_t{Epoch / 100} * 100;
    if (Year < Epoch % 100) {
        resolved += 100;
    }
    return static_cast<std::int32_t>(resolved);
}

std::int32_t DaysInMonthOf(std::int32_t Month, std::int32_t Year, std::int32_t Epoch)
{
    const std::int32_t year = ResolveEpochYear(Year, Epoch);
    if (year < MinCalendarYear || year > MaxCalendarYear) {
        return 0;
    }
    switch (Month) {
    case 1: case 3: case 5: case 7: case 8: case 10: case 12:
        return 31;
    case 4: case 6: case 9: case 11:
        return 30;
    case 2:
        return IsLeapYearNumber(year) ? 29 : 28;
    default:
        return 0;
    }
}

bool IsValidDMY(std::int32_t Day, std::int32_t Month, std::int32_t Year, std::int32_t Epoch)
{
    const std::int32_t year = ResolveEpochYear(Year, Epoch);
    if (Day <= 0 || year < MinCalendarYear || year > MaxCalendarYear || Month < 1 || Month > 12) {
        return false;
    }
    return Day <= DaysInMonthOf(Month, year, 0);
}

std::int32_t DateToDayNumber(std::int32_t Day, std::int32_t Month, std::int32_t Year, std::int32_t Epoch)
{
    std::int32_t year = ResolveEpochYear(Year, Epoch);
    if (!IsValidDMY(Day, Month, year, 0)) {
        return BadDayNumber;
    }
    // The year before 1600 lies outside the formula's range.
    if (year == MinCalendarYear && Month == 1) {
        return Day - 1;
    }
    if (year == MinCalendarYear && Month == 2) {
        return Day + 30;
    }
    // Years start in March, so that the leap day comes last.
    std::int32_t month = Month;
    if (month > 2) {
        month -= 3;
    } else {
        month += 9;
        --year;
    }
    const std::int32_t years = year - MinCalendarYear;
    return ((years / 100) * DaysPer400Years) / 4 + ((years % 100) * DaysPer4Years) / 4 + (153 * month + 2) / 5 + Day
        + LastDayOfFebruary1600;
}

// Any number but -1 goes through the formula: numbers below 0 give days of
// January 1600 counted back from its first, numbers past 3999-12-31 dates
// after it. The arithmetic is 64-bit, so that no number overflows it.
void DayNumberToDMY(std::int32_t Julian, std::int32_t& Day, std::int32_t& Month, std::int32_t& Year)
{
    if (Julian == BadDayNumber) {
        Day = Month = Year = 0;
        return;
    }
    if (Julian <= LastDayOfFebruary1600) {
        Year = MinCalendarYear;
        if (Julian <= 30) {
            Month = 1;
            Day = Julian + 1;
        } else {
            Month = 2;
            Day = Julian - 30;
        }
        return;
    }
    const std::int64_t t = 4 * (std::int64_t{Julian} - LastDayOfFebruary1600) - 1;
    const std::int64_t centuries = t / DaysPer400Years;
    const std::int64_t r = ((t % DaysPer400Years) / 4) * 4 + 3;
    std::int64_t year = 100 * centuries + r / DaysPer4Years;
    const std::int64_t dayOfYear = ((r % DaysPer4Years) + 4) / 4;
    const std::int64_t t2 = 5 * dayOfYear - 3;
    std::int64_t month = t2 / 153;
    Day = static_cast<std::int32_t>(((t2 % 153) + 5) / 5);
    if (month < 10) {
        month += 3;
    } else {
        month -= 9;
        ++year;
    }
    Month = static_cast<std::int32_t>(month);
    Year = static_cast<std::int32_t>(year + MinCalendarYear);
}

// (n + 6) mod 7 with the sign of the dividend: day 0 was a Saturday; a
// number below -6 gives the byte of a negative remainder, as the formula does.
TSysDayType DayNumberToWeekDay(std::int32_t Julian)
{
    if (Julian == BadDayNumber) {
        return NoSysDay;
    }
    return static_cast<TSysDayType>(static_cast<std::uint8_t>((std::int64_t{Julian} + 6) % 7));
}

TSysDayType DMYToWeekDay(std::int32_t Day, std::int32_t Month, std::int32_t Year, std::int32_t Epoch)
{
    return DayNumberToWeekDay(DateToDayNumber(Day, Month, Year, Epoch));
}

void SecondsOfDayToHMS(std::int32_t Seconds, std::uint8_t& Hours, std::uint8_t& Minutes, std::uint8_t& Secs)
{
    if (Seconds == BadDayNumber) {
        Hours = Minutes = Secs = 0;
        return;
    }
    Hours = static_cast<std::uint8_t>(Seconds / 3600);
    const std::int64_t rest = std::int64_t{Seconds} - std::int64_t{Hours} * 3600;
    const std::int64_t minutes = rest / 60;
    Minutes = static_cast<std::uint8_t>(minutes);
    Secs = static_cast<std::uint8_t>(rest - minutes * 60);
}

std::int32_t HMSToSecondsOfDay(std::uint8_t Hours, std::uint8_t Minutes, std::uint8_t Secs)
{
    return ((Hours % 24) * 3600 + Minutes * 60 + Secs) % SecondsPerDay;
}

bool IsValidHMS(std::int32_t Hours, std::int32_t Minutes, std::int32_t Secs)
{
    return Hours >= 0 && Hours <= 23 && Minutes >= 0 && Minutes < 60 && Secs >= 0 && Secs < 60;
}

std::int32_t CurrentDayNumber()
{
    return DateTimeToDayNumber(plat::Now());
}

std::int32_t CurrentSecondsOfDay()
{
    return DateTimeToSecondsOfDay(plat::Now());
}

std::int32_t DateTimeToDayNumber(plat::TDateTime Value)
{
    plat::TDateTimeParts parts;
    if (!plat::TryDecodeDateTime(Value, parts)) {
        return BadDayNumber;
    }
    return DateToDayNumber(parts.Day, parts.Month, parts.Year, 0);
}

std::int32_t DateTimeToSecondsOfDay(plat::TDateTime Value)
{
    plat::TDateTimeParts parts;
    if (!plat::TryDecodeDateTime(Value, parts)) {
        return BadDayNumber;
    }
    return HMSToSecondsOfDay(static_cast<std::uint8_t>(parts.Hour), static_cast<std::uint8_t>(parts.Minute),
        static_cast<std::uint8_t>(parts.Second));
}

plat::TDateTime DayNumberToDateTime(std::int32_t Julian)
{
    std::int32_t day = 0;
    std::int32_t month = 0;
    std::int32_t year = 0;
    DayNumberToDMY(Julian, day, month, year);
    plat::TDateTime value = 0.0;
    return plat::TryEncodeDate(year, month, day, value) ? value : 0.0;
}

plat::TDateTime SecondsOfDayToDateTime(std::int32_t Seconds)
{
    if (Seconds == BadDayNumber) {
        return 0.0;
    }
    std::uint8_t hours = 0;
    std::uint8_t minutes = 0;
    std::uint8_t secs = 0;
    SecondsOfDayToHMS(Seconds, hours, minutes, secs);
    plat::TDateTime value = 0.0;
    return plat::TryEncodeTime(hours, minutes, secs, 0, value) ? value : 0.0;
}

} // namespace qel
