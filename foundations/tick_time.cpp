// Tick time conversions and the local-time offset of a tick time.
#include "foundations/tick_time.h"

#include "platform/float_checks.h"
#include "platform/time_zone.h"

namespace qel {
namespace {

constexpr double SECONDS_PER_DAY = 86400.0;

} // namespace

double TicksToDays(std::int64_t Ticks)
{
    return static_cast<double>(Ticks) / SECONDS_PER_DAY / static_cast<double>(TICKS_PER_SECOND);
}

std::int64_t DaysToTicks(double Days)
{
    return plat::CheckedTrunc(Days * static_cast<double>(TICKS_PER_DAY));
}

double SecondsToDays(double Seconds)
{
    return Seconds / SECONDS_PER_DAY;
}

double DaysToSeconds(double Days)
{
    return Days * SECONDS_PER_DAY;
}

double TicksToDateTime(std::int64_t Ticks)
{
    return DATE_TIME_2000 + TicksToDays(Ticks);
}

std::int64_t GetUtcOffsetTicks(std::int64_t Ticks)
{
    return static_cast<std::int64_t>(plat::UtcOffsetSeconds(TicksToDateTime(Ticks))) * TICKS_PER_SECOND;
}

} // namespace qel
