// Explicit checks in place of floating-point traps.
#include "platform/float_checks.h"

#include <cfenv>
#include <cmath>
#include <cstring>

namespace plat {

namespace {

bool IsSignallingNaN(double x)
{
    if (!std::isnan(x))
        return false;
    std::uint64_t bits;
    std::memcpy(&bits, &x, sizeof bits);
    constexpr std::uint64_t QuietBit = std::uint64_t{1} << 51;
    return (bits & QuietBit) == 0;
}

// The integral value x when it lies in [low, highExclusive); the limits are
// exact doubles (-2^n and 2^n), so the comparison is exact.
double CheckedIntegral(double integral, double low, double highExclusive)
{
    if (!std::isfinite(integral) || integral < low || integral >= highExclusive)
        throw EInvalidOp();
    return integral;
}

constexpr double Int64Low = -9223372036854775808.0;   // -2^63
constexpr double Int64High = 9223372036854775808.0;   //  2^63
constexpr double Int32Low = -2147483648.0;
constexpr double Int32High = 2147483648.0;

} // namespace

void MaskFloatTraps()
{
    fedisableexcept(FE_ALL_EXCEPT);
}

bool FloatTrapsMasked()
{
    return fegetexcept() == 0;
}

double CheckedDivide(double a, double b)
{
    if (IsSignallingNaN(a) || IsSignallingNaN(b))
        throw EInvalidOp();
    if (std::isnan(a) || std::isnan(b))
        return a / b;
    if ((a == 0 && b == 0) || (std::isinf(a) && std::isinf(b)))
        throw EInvalidOp();
    if (b == 0 && std::isfinite(a))
        throw EZeroDivide();
    const double quotient = a / b;
    if (std::isinf(quotient) && std::isfinite(a) && std::isfinite(b))
        throw EOverflow();
    return quotient;
}

double CheckFinite(double x)
{
    if (std::isnan(x))
        throw EInvalidOp();
    if (std::isinf(x))
        throw EOverflow();
    return x;
}

std::int64_t CheckedTrunc(double x)
{
    return static_cast<std::int64_t>(CheckedIntegral(std::trunc(x), Int64Low, Int64High));
}

std::int32_t CheckedTrunc32(double x)
{
    return static_cast<std::int32_t>(CheckedIntegral(std::trunc(x), Int32Low, Int32High));
}

std::int64_t CheckedRound(double x)
{
    return static_cast<std::int64_t>(CheckedIntegral(std::nearbyint(x), Int64Low, Int64High));
}

std::int32_t CheckedRound32(double x)
{
    return static_cast<std::int32_t>(CheckedIntegral(std::nearbyint(x), Int32Low, Int32High));
}

} // namespace plat
