// The time window of a normal save.
#include "app/cut_time_window.h"

#include "foundations/tick_time.h"

#include <cmath>
#include <limits>

namespace qel {

std::int64_t CutSecondsToTicks(double Seconds)
{
    const double ticks = Seconds / 86400.0 * static_cast<double>(TICKS_PER_DAY);
    if (std::isnan(ticks)) {
        return 0;
    }
    // 2^63 is the first double beyond the range; the lowest value is exact.
    constexpr double beyond = 9223372036854775808.0;
    if (ticks >= beyond) {
        return std::numeric_limits<std::int64_t>::max();
    }
    if (ticks <= -beyond) {
        return std::numeric_limits<std::int64_t>::min();
    }
    return static_cast<std::int64_t>(ticks);   // truncates toward zero
}

TCutTimeWindow CutTimeWindow(double BeginSeconds, double EndSeconds, std::int64_t TMin, std::int64_t TMax)
{
    std::int64_t a = CutSecondsToTicks(BeginSeconds);
    std::int64_t b = CutSecondsToTicks(EndSeconds);
    const std::int64_t span = TMax > TMin ? TMax - TMin : 0;
    if (a < 0) {
        a = 0;
    }
    if (b < a) {
        b = a;
    }
    if (b > span) {
        b = span;
    }
    if (a == 0 && b == span) {
        return {};
    }
    // A begin after the data gives a window that starts after it ends (and
    // holds no sample); the sums stay inside the range.
    const std::int64_t headroom = std::numeric_limits<std::int64_t>::max() - TMin;
    const std::int64_t start = a > headroom ? std::numeric_limits<std::int64_t>::max() : TMin + a;
    return {true, start, TMin + b};
}

double CutEndSeconds(std::int64_t Span)
{
    return static_cast<double>(Span) / static_cast<double>(TICKS_PER_SECOND) + 0.001;
}

} // namespace qel
