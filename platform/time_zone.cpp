// UTC offsets from localtime_r, and the local-to-UTC search around changes.
#include "platform/time_zone.h"

#include <algorithm>
#include <ctime>

namespace plat {

namespace {

constexpr std::int64_t SecondsPerDay = SecsPerDay;

std::int64_t OffsetAtUnixSeconds(std::int64_t unixSeconds)
{
    const auto moment = static_cast<std::time_t>(unixSeconds);
    std::tm local{};
    if (!localtime_r(&moment, &local))
        return 0;
    return local.tm_gmtoff;
}

std::int64_t FloorSeconds(std::int64_t unixMs)
{
    return unixMs >= 0 ? unixMs / 1000 : -((-unixMs + 999) / 1000);
}

TDateTime Shift(TDateTime value, std::int64_t seconds)
{
    return UnixMsToDateTime(DateTimeToUnixMs(value) + seconds * 1000);
}

} // namespace

std::int64_t UtcOffsetSeconds(TDateTime utc)
{
    return OffsetAtUnixSeconds(FloorSeconds(DateTimeToUnixMs(utc)));
}

TDateTime UtcToLocal(TDateTime utc)
{
    return Shift(utc, UtcOffsetSeconds(utc));
}

TDateTime LocalToUtc(TDateTime local)
{
    const std::int64_t localSeconds = FloorSeconds(DateTimeToUnixMs(local));
    // The offsets a day before and after; a zone changes at most once between.
    const std::int64_t before = OffsetAtUnixSeconds(localSeconds - SecondsPerDay);
    const std::int64_t after = OffsetAtUnixSeconds(localSeconds + SecondsPerDay);
    const bool beforeFits = OffsetAtUnixSeconds(localSeconds - before) == before;
    const bool afterFits = OffsetAtUnixSeconds(localSeconds - after) == after;
    std::int64_t offset = before;
    if (beforeFits && afterFits)
        offset = std::max(before, after);  // the larger offset is the earlier moment
    else if (afterFits)
        offset = after;
    return Shift(local, -offset);
}

void RefreshTimeZone()
{
    tzset();
}

} // namespace plat
