// Calendar date-time to nanoseconds since 2000, as the container stamps
// values, in the double arithmetic the stored files were made with.
#include "export/qel_zip_date_time.h"

#include "platform/float_checks.h"

namespace qel {

std::int64_t DateTimeToNs2000(double t)
{
    constexpr double d2000 = 36526.0;                  // 2000-01-01 00:00
    constexpr double millisecondInDays = 1.0 / 86400000.0;
    return plat::CheckedRound((t - d2000) / millisecondInDays * 1000000.0);
}

} // namespace qel
