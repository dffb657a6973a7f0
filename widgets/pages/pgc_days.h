// Calendar arithmetic of the component library: dates as day numbers since
// 1600-01-01, times as seconds since midnight, two-digit years by epoch.
// The entry fields and the international support keep their values in
// these plain integers so that they compare, add and store them freely.
#pragma once

#include "platform/date_time.h"

#include <cstdint>

namespace qel {

// No valid date (as a day number) or no valid time (as seconds of the day).
constexpr std::int32_t BadDayNumber = -1;
// 1600-01-01 and 3999-12-31, the first and last valid dates.
constexpr std::int32_t MinDayNumber = 0;
constexpr std::int32_t MaxDayNumber = 876581;
constexpr std::int32_t MinCalendarYear = 1600;
constexpr std::int32_t MaxCalendarYear = 3999;
constexpr std::int32_t SecondsPerDay = 86400;

enum class TSysDayType : std::uint8_t { Sunday, Monday, Tuesday, Wednesday, Thursday, Friday, Saturday };
// The weekday answer for no valid date.
constexpr TSysDayType NoSysDay = static_cast<TSysDayType>(7);

// The local year and month when the unit started (InitDaysUnit); a date
// text whose picture has no year or month field takes them.
extern std::int32_t StartYear;
extern std::uint8_t StartMonth;

// Sets StartYear and StartMonth from the current wall clock.
void InitDaysUnit();

// Gregorian leap years, except that a year divisible by 4000 is none.
bool IsLeapYearNumber(std::int32_t Year);
// A year whose low 16 bits are below 100 moved into the century of Epoch
// (the next one when it lies below the epoch's two last digits); any other
// year unchanged. Epoch 0 leaves two-digit years below 100.
std::int32_t ResolveEpochYear(std::int32_t Year, std::int32_t Epoch);
// 28 .. 31, or 0 for a month outside 1 .. 12 or a year outside 1600 .. 3999.
std::int32_t DaysInMonthOf(std::int32_t Month, std::int32_t Year, std::int32_t Epoch);
bool IsValidDMY(std::int32_t Day, std::int32_t Month, std::int32_t Year, std::int32_t Epoch);
// The day number of a valid date, else BadDayNumber.
std::int32_t DateToDayNumber(std::int32_t Day, std::int32_t Month, std::int32_t Year, std::int32_t Epoch);
// The date of a valid day number; 0, 0, 0 for any other number.
void DayNumberToDMY(std::int32_t Julian, std::int32_t& Day, std::int32_t& Month, std::int32_t& Year);
// The weekday of a day number; NoSysDay for a negative one.
TSysDayType DayNumberToWeekDay(std::int32_t Julian);
TSysDayType DMYToWeekDay(std::int32_t Day, std::int32_t Month, std::int32_t Year, std::int32_t Epoch);

// Hours, minutes and seconds of a count of seconds, each cut to 8 bits;
// 0, 0, 0 for BadDayNumber.
void SecondsOfDayToHMS(std::int32_t Seconds, std::uint8_t& Hours, std::uint8_t& Minutes, std::uint8_t& Secs);
// ((Hours mod 24) * 3600 + Minutes * 60 + Secs) mod 86400.
std::int32_t HMSToSecondsOfDay(std::uint8_t Hours, std::uint8_t Minutes, std::uint8_t Secs);
bool IsValidHMS(std::int32_t Hours, std::int32_t Minutes, std::int32_t Secs);

// Today and now by the current wall clock and time zone.
std::int32_t CurrentDayNumber();
std::int32_t CurrentSecondsOfDay();

// Conversions to and from the platform's date-time value. A value the
// platform cannot decode gives BadDayNumber; a bad day number or time gives 0.0.
std::int32_t DateTimeToDayNumber(plat::TDateTime Value);
std::int32_t DateTimeToSecondsOfDay(plat::TDateTime Value);
plat::TDateTime DayNumberToDateTime(std::int32_t Julian);
plat::TDateTime SecondsOfDayToDateTime(std::int32_t Seconds);

} // namespace qel
