// Arithmetic of the logger models' value conversions: rounding to single and
// the neutral answers of a faulting computation.
#include "loggers/value_math.h"

#include "foundations/byte_helpers.h"

#include <cfloat>
#include <cmath>
#include <limits>

namespace qel {

float RoundToSingle(double Value)
{
    if (std::isnan(Value)) {
        return std::numeric_limits<float>::quiet_NaN();
    }
    if (Value > FLT_MAX) {
        return std::numeric_limits<float>::infinity();
    }
    if (Value < -FLT_MAX) {
        return -std::numeric_limits<float>::infinity();
    }
    return static_cast<float>(Value);
}

bool IsSingleRange(double Value)
{
    return std::isfinite(Value) && std::fabs(Value) <= FLT_MAX;
}

float ValueOrNoValue(double Value)
{
    return IsSingleRange(Value) ? static_cast<float>(Value) : NoValueMarker();
}

float GainOrOne(double Value)
{
    return IsSingleRange(Value) ? static_cast<float>(Value) : 1.0f;
}

float OffsetOrZero(double Value)
{
    return IsSingleRange(Value) ? static_cast<float>(Value) : 0.0f;
}

std::int16_t RawLimitOrZero(double Value)
{
    // 2^63: from here on the rounding to a 64-bit integer would fault.
    constexpr double int64Limit = 9223372036854775808.0;
    if (!std::isfinite(Value) || std::fabs(Value) >= int64Limit) {
        return 0;
    }
    const double rounded = std::nearbyint(Value);
    if (rounded > 32000.0) {
        return 32000;
    }
    if (rounded < -32000.0) {
        return -32000;
    }
    return static_cast<std::int16_t>(rounded);
}

} // namespace qel
