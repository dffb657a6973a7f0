// Gregorian calendar arithmetic on date-time values, and the current time.
#include "platform/date_time.h"

#include "platform/time_zone.h"

#include <chrono>
#include <cmath>

namespace plat {

namespace {

constexpr int FirstYear = 1;
constexpr int LastYear = 9999;
constexpr std::int64_t MinDay = -693593;     // 0001-01-01
constexpr std::int64_t MaxDay = 2958465;     // 9999-12-31
constexpr double SafeDayLimit = 1e10;        // beyond this a day count in ms would overflow

// Days before 1899-12-30 counted from 0001-01-01.
constexpr std::int64_t DaysBeforeEpoch = 693593;
constexpr int DaysPer400Years = 146097;
constexpr int DaysPer100Years = 36524;
constexpr int DaysPer4Years = 1461;
constexpr int DaysPerYear = 365;

int DaysBeforeMonth(int year, int month)
{
    int days = 0;
    for (int m = 1; m < month; ++m)
        days += DaysInMonth(year, m);
    return days;
}

// The day number (integer part of the date-time value) and the milliseconds of
// its day, rounded to the nearest millisecond; a full day carries into the next.
struct TDayAndMs {
    std::int64_t Day;
    std::int64_t Ms;
};

bool SplitValue(TDateTime value, TDayAndMs& split)
{
    if (!std::isfinite(value) || std::fabs(value) >= SafeDayLimit)
        return false;
    const double day = std::trunc(value);
    split.Day = static_cast<std::int64_t>(day);
    split.Ms = std::llround(std::fabs(value - day) * static_cast<double>(MSecsPerDay));
    if (split.Ms >= MSecsPerDay) {
        split.Ms -= MSecsPerDay;
        ++split.Day;
    }
    return true;
}

TDateTime Compose(std::int64_t day, std::int64_t msOfDay)
{
    const double time = static_cast<double>(msOfDay) / static_cast<double>(MSecsPerDay);
    return day >= 0 ? static_cast<double>(day) + time : static_cast<double>(day) - time;
}

void DayToDate(std::int64_t dayNumber, int& year, int& month, int& day)
{
    auto n = static_cast<int>(dayNumber + DaysBeforeEpoch);  // 0 is 0001-01-01
    const int cycles400 = n / DaysPer400Years;
    n -= cycles400 * DaysPer400Years;
    int centuries = n / DaysPer100Years;
    if (centuries == 4)  // last day of a leap 400th year
        centuries = 3;
    n -= centuries * DaysPer100Years;
    const int cycles4 = n / DaysPer4Years;
    n -= cycles4 * DaysPer4Years;
    int years = n / DaysPerYear;
    if (years == 4)  // last day of a leap year
        years = 3;
    n -= years * DaysPerYear;
    year = cycles400 * 400 + centuries * 100 + cycles4 * 4 + years + 1;
    month = 1;
    while (n >= DaysInMonth(year, month)) {
        n -= DaysInMonth(year, month);
        ++month;
    }
    day = n + 1;
}

void MsToTime(std::int64_t ms, int& hour, int& minute, int& second, int& milliSecond)
{
    milliSecond = static_cast<int>(ms % MSecsPerSec);
    ms /= MSecsPerSec;
    second = static_cast<int>(ms % SecsPerMin);
    ms /= SecsPerMin;
    minute = static_cast<int>(ms % MinsPerHour);
    hour = static_cast<int>(ms / MinsPerHour);
}

std::int64_t FloorDiv(std::int64_t a, std::int64_t b)
{
    const std::int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

} // namespace

bool IsLeapYear(int year)
{
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int DaysInMonth(int year, int month)
{
    static constexpr int Days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return month == 2 && IsLeapYear(year) ? 29 : Days[month - 1];
}

bool TryEncodeDate(int year, int month, int day, TDateTime& date)
{
    if (year < FirstYear || year > LastYear || day < 1 || day > DaysInMonth(year, month))
        return false;
    const std::int64_t y = year - 1;
    const std::int64_t daysBeforeYear = y * DaysPerYear + y / 4 - y / 100 + y / 400;
    date = static_cast<double>(daysBeforeYear + DaysBeforeMonth(year, month) + day - 1 - DaysBeforeEpoch);
    return true;
}

TDateTime EncodeDate(int year, int month, int day)
{
    TDateTime date;
    if (!TryEncodeDate(year, month, day, date))
        throw EConvertError("Invalid argument to date encode");
    return date;
}

bool TryEncodeTime(int hour, int minute, int second, int milliSecond, TDateTime& time)
{
    if (hour < 0 || hour >= HoursPerDay || minute < 0 || minute >= MinsPerHour || second < 0 ||
        second >= SecsPerMin || milliSecond < 0 || milliSecond >= MSecsPerSec)
        return false;
    const std::int64_t ms = ((std::int64_t{hour} * MinsPerHour + minute) * SecsPerMin + second) * MSecsPerSec + milliSecond;
    time = static_cast<double>(ms) / static_cast<double>(MSecsPerDay);
    return true;
}

TDateTime EncodeTime(int hour, int minute, int second, int milliSecond)
{
    TDateTime time;
    if (!TryEncodeTime(hour, minute, second, milliSecond, time))
        throw EConvertError("Invalid argument to time encode");
    return time;
}

bool TryEncodeDateTime(const TDateTimeParts& parts, TDateTime& value)
{
    TDateTime date;
    TDateTime time;
    if (!TryEncodeDate(parts.Year, parts.Month, parts.Day, date) ||
        !TryEncodeTime(parts.Hour, parts.Minute, parts.Second, parts.MilliSecond, time))
        return false;
    value = date >= 0 ? date + time : date - time;
    return true;
}

TDateTime EncodeDateTime(const TDateTimeParts& parts)
{
    TDateTime value;
    if (!TryEncodeDateTime(parts, value))
        throw EConvertError("Invalid argument to date-time encode");
    return value;
}

bool TryDecodeDateTime(TDateTime value, TDateTimeParts& parts)
{
    TDayAndMs split;
    if (!SplitValue(value, split) || split.Day < MinDay || split.Day > MaxDay)
        return false;
    DayToDate(split.Day, parts.Year, parts.Month, parts.Day);
    MsToTime(split.Ms, parts.Hour, parts.Minute, parts.Second, parts.MilliSecond);
    return true;
}

TDateTimeParts DecodeDateTime(TDateTime value)
{
    TDateTimeParts parts;
    if (!TryDecodeDateTime(value, parts))
        throw EConvertError("Invalid date-time value: " + std::to_string(value));
    return parts;
}

void DecodeDate(TDateTime value, int& year, int& month, int& day)
{
    const TDateTimeParts parts = DecodeDateTime(value);
    year = parts.Year;
    month = parts.Month;
    day = parts.Day;
}

void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& milliSecond)
{
    if (!std::isfinite(value))
        throw EConvertError("Invalid date-time value: " + std::to_string(value));
    const double fraction = std::fabs(value - std::trunc(value));
    const std::int64_t ms = std::llround(fraction * static_cast<double>(MSecsPerDay)) % MSecsPerDay;
    MsToTime(ms, hour, minute, second, milliSecond);
}

int DayOfWeek(TDateTime value)
{
    TDayAndMs split;
    if (!SplitValue(value, split))
        throw EConvertError("Invalid date-time value: " + std::to_string(value));
    // Day 0, 1899-12-30, was a Saturday.
    return static_cast<int>(((split.Day % 7) + 13) % 7) + 1;
}

std::int64_t DateTimeToUnixMs(TDateTime value)
{
    TDayAndMs split;
    if (!SplitValue(value, split))
        throw EConvertError("Invalid date-time value: " + std::to_string(value));
    return (split.Day - static_cast<std::int64_t>(UnixDateDelta)) * MSecsPerDay + split.Ms;
}

TDateTime UnixMsToDateTime(std::int64_t unixMs)
{
    const std::int64_t total = unixMs + static_cast<std::int64_t>(UnixDateDelta) * MSecsPerDay;
    const std::int64_t day = FloorDiv(total, MSecsPerDay);
    return Compose(day, total - day * MSecsPerDay);
}

std::int64_t TSystemWallClock::UnixTimeMs() const
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

namespace {
std::atomic<const IWallClock*> GWallClock{nullptr};
}

const IWallClock& CurrentWallClock()
{
    if (const auto* clock = GWallClock.load())
        return *clock;
    static const TSystemWallClock system;
    return system;
}

const IWallClock* SetWallClock(const IWallClock* clock)
{
    return GWallClock.exchange(clock);
}

TDateTime NowUtc()
{
    return UnixMsToDateTime(CurrentWallClock().UnixTimeMs());
}

TDateTime Now()
{
    return UtcToLocal(NowUtc());
}

TDateTime Date()
{
    return std::trunc(Now());
}

} // namespace plat
