// Calendar date-time values (days since 1899-12-30, the fraction the time of
// day): encoding, decoding to the millisecond, and the injectable wall clock.
#pragma once

#include <atomic>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace plat {

// Whole days since 1899-12-30 00:00; the fraction is the time of day. A negative
// value is the day of its integer part with the time of its fraction's magnitude
// (-1.25 is 1899-12-29 06:00).
using TDateTime = double;

constexpr int HoursPerDay = 24;
constexpr int MinsPerHour = 60;
constexpr int SecsPerMin = 60;
constexpr int MSecsPerSec = 1000;
constexpr int MinsPerDay = HoursPerDay * MinsPerHour;
constexpr int SecsPerDay = MinsPerDay * SecsPerMin;
constexpr std::int64_t MSecsPerDay = std::int64_t{SecsPerDay} * MSecsPerSec;
constexpr int DateDelta = 693594;          // days from 0001-01-01 to 1899-12-31
constexpr double UnixDateDelta = 25569.0;  // 1970-01-01 as a date-time value
constexpr TDateTime MinDateTime = -693593.0;                                  // 0001-01-01 00:00:00.000
constexpr TDateTime MaxDateTime = 2958465.0 + 86399999.0 / MSecsPerDay;       // 9999-12-31 23:59:59.999

// Invalid date, time or number conversions.
class EConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct TDateTimeParts {
    int Year = 0;
    int Month = 0;
    int Day = 0;
    int Hour = 0;
    int Minute = 0;
    int Second = 0;
    int MilliSecond = 0;
};

bool IsLeapYear(int year);
// Days of the month (1..12) in the year; 0 for a month out of range.
int DaysInMonth(int year, int month);

// Years 1..9999, months 1..12, days of that month. The Try forms answer false
// for arguments out of range; the others raise EConvertError.
bool TryEncodeDate(int year, int month, int day, TDateTime& date);
TDateTime EncodeDate(int year, int month, int day);
// Hours 0..23, minutes and seconds 0..59, milliseconds 0..999.
bool TryEncodeTime(int hour, int minute, int second, int milliSecond, TDateTime& time);
TDateTime EncodeTime(int hour, int minute, int second, int milliSecond);
bool TryEncodeDateTime(const TDateTimeParts& parts, TDateTime& value);
TDateTime EncodeDateTime(const TDateTimeParts& parts);

// Decoding rounds to the nearest millisecond first, so a value encoded from
// parts decodes to the same parts. The value must be finite and, rounded, lie
// in MinDateTime..MaxDateTime; otherwise TryDecodeDateTime answers false and
// the others raise EConvertError (DecodeTime only needs a finite value).
bool TryDecodeDateTime(TDateTime value, TDateTimeParts& parts);
TDateTimeParts DecodeDateTime(TDateTime value);
void DecodeDate(TDateTime value, int& year, int& month, int& day);
void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& milliSecond);

// 1 for Sunday to 7 for Saturday.
int DayOfWeek(TDateTime value);

// Milliseconds since 1970-01-01 00:00 (the value rounded to the millisecond) and back.
std::int64_t DateTimeToUnixMs(TDateTime value);
TDateTime UnixMsToDateTime(std::int64_t unixMs);

// The calendar clock: milliseconds since 1970-01-01 00:00 UTC.
class IWallClock {
public:
    virtual ~IWallClock() = default;
    virtual std::int64_t UnixTimeMs() const = 0;
};

class TSystemWallClock : public IWallClock {
public:
    std::int64_t UnixTimeMs() const override;
};

// A clock that shows what it is told (tests).
class TFixedWallClock : public IWallClock {
public:
    explicit TFixedWallClock(std::int64_t unixMs) : FUnixMs(unixMs) {}
    std::int64_t UnixTimeMs() const override { return FUnixMs.load(); }
    void Set(std::int64_t unixMs) { FUnixMs.store(unixMs); }
    void Advance(std::int64_t ms) { FUnixMs.fetch_add(ms); }

private:
    std::atomic<std::int64_t> FUnixMs;
};

// The clock in force: the system's unless one was set.
const IWallClock& CurrentWallClock();
// Makes clock current (nullptr: back to the system's) and returns the former one.
const IWallClock* SetWallClock(const IWallClock* clock);

class TScopedWallClock {
public:
    explicit TScopedWallClock(const IWallClock& clock) : FFormer(SetWallClock(&clock)) {}
    ~TScopedWallClock() { SetWallClock(FFormer); }
    TScopedWallClock(const TScopedWallClock&) = delete;
    TScopedWallClock& operator=(const TScopedWallClock&) = delete;

private:
    const IWallClock* FFormer;
};

// Current UTC and local date-time of the current wall clock and time zone;
// Date() is Now() without its time.
TDateTime NowUtc();
TDateTime Now();
TDateTime Date();

} // namespace plat
