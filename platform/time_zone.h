// Conversion between UTC and local date-time values with the C library's time
// zone (the TZ variable or the system zone), daylight saving included.
#pragma once

#include "platform/date_time.h"

#include <cstdint>

namespace plat {

// Seconds to add to the UTC moment to get local time (east of Greenwich
// positive), as the zone rules give it at that moment.
std::int64_t UtcOffsetSeconds(TDateTime utc);

TDateTime UtcToLocal(TDateTime utc);

// A local time that occurs twice (the hour repeated when daylight saving ends)
// is taken as the earlier moment; one that does not occur (the hour skipped
// when it begins) is read with the offset in force before the change.
TDateTime LocalToUtc(TDateTime local);

// Re-reads TZ; call after changing it (tests).
void RefreshTimeZone();

} // namespace plat
