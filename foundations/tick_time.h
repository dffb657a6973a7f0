// Logger tick time: 1/1,024,000 s since 2000-01-01 00:00:00, its conversions
// to calendar days and seconds, and the local-time offset of a tick time.
#pragma once

#include <cstdint>

namespace qel {

constexpr std::int64_t TICKS_PER_SECOND = 1024000;
constexpr std::int64_t TICKS_PER_DAY = TICKS_PER_SECOND * 86400; // 88,473,600,000

// Date-time value (days since 1899-12-30) of tick time 0, 2000-01-01 00:00:00.
constexpr double DATE_TIME_2000 = 36526.0;

// A logger's UTC setting.
struct TQelUtc {
    bool bEnabled = false;   // the logger's times are UTC and are shifted to local time
    std::int64_t Offset = 0; // local time minus UTC, in ticks
};

// Days since 2000: Ticks / 86400.0 / 1024000.0, two divisions in this order.
double TicksToDays(std::int64_t Ticks);

// Days × 88,473,600,000.0 truncated toward zero. A value outside the signed
// 64-bit range, or not a number, raises the platform's invalid-operation error.
std::int64_t DaysToTicks(double Days);

double SecondsToDays(double Seconds);
double DaysToSeconds(double Days);

// The calendar date-time value of a tick time.
double TicksToDateTime(std::int64_t Ticks);

// The local-time offset (local minus UTC, daylight saving included) in force
// at the UTC tick time: the zone's whole-second offset × TICKS_PER_SECOND.
std::int64_t GetUtcOffsetTicks(std::int64_t Ticks);

} // namespace qel
