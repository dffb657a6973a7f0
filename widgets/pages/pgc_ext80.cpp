// Conversions between the 10-byte extended-precision record and a double,
// done on the bits so that they are the same on every machine.
#include "widgets/pages/pgc_data.h"

#include <bit>

namespace qel {
namespace {

constexpr std::uint64_t LeadingBit = std::uint64_t{1} << 63;
constexpr std::uint64_t FractionMask = (std::uint64_t{1} << 52) - 1;
constexpr std::uint64_t DoubleExponentMask = std::uint64_t{0x7FF} << 52;
constexpr std::uint64_t DoubleQuietBit = std::uint64_t{1} << 51;
constexpr std::uint64_t DefaultNaN = 0xFFF8000000000000u; // what an invalid conversion gives
constexpr int ExtBias = 16383;
constexpr int DoubleBias = 1023;
constexpr int ExtMaxExponent = 0x7FFF;

std::uint64_t Mantissa(const TExtended80& value)
{
    std::uint64_t m = 0;
    for (int i = 7; i >= 0; --i) {
        m = m << 8 | value.Bytes[i];
    }
    return m;
}

TExtended80 Compose(bool negative, int exponent, std::uint64_t mantissa)
{
    TExtended80 result;
    for (int i = 0; i < 8; ++i) {
        result.Bytes[i] = static_cast<std::uint8_t>(mantissa >> (8 * i));
    }
    const unsigned top = static_cast<unsigned>(exponent) | (negative ? 0x8000u : 0u);
    result.Bytes[8] = static_cast<std::uint8_t>(top);
    result.Bytes[9] = static_cast<std::uint8_t>(top >> 8);
    return result;
}

// value / 2^shift rounded to nearest, ties to even (1 <= shift <= 64).
std::uint64_t ShiftRoundingToEven(std::uint64_t value, int shift)
{
    const std::uint64_t kept = shift == 64 ? 0 : value >> shift;
    const std::uint64_t dropped = shift == 64 ? value : value & ((std::uint64_t{1} << shift) - 1);
    const std::uint64_t half = std::uint64_t{1} << (shift - 1);
    const bool up = dropped > half || (dropped == half && (kept & 1) != 0);
    return kept + (up ? 1 : 0);
}

// A finite extended value with its leading bit set, as a double's bits
// without the sign.
std::uint64_t NormalToDoubleBits(int exponent, std::uint64_t mantissa)
{
    int unbiased = exponent - ExtBias; // value = 1.f * 2^unbiased
    if (unbiased >= -(DoubleBias - 1)) {
        std::uint64_t kept = ShiftRoundingToEven(mantissa, 11);
        if (kept == std::uint64_t{1} << 53) { // rounded up to the next power of two
            kept >>= 1;
            ++unbiased;
        }
        if (unbiased > DoubleBias) {
            return DoubleExponentMask; // infinity
        }
        return static_cast<std::uint64_t>(unbiased + DoubleBias) << 52 | (kept & FractionMask);
    }
    // Subnormal: the value in units of the smallest subnormal 2^-1074 is
    // mantissa * 2^(unbiased - 63 + 1074); a carry into bit 52 makes the
    // smallest normal number, which the same bits express.
    const int shift = 63 - 1074 - unbiased;
    return shift > 64 ? 0 : ShiftRoundingToEven(mantissa, shift);
}

} // namespace

double Ext80AsDouble(const TExtended80& value)
{
    const std::uint64_t mantissa = Mantissa(value);
    const unsigned top = static_cast<unsigned>(value.Bytes[8]) | static_cast<unsigned>(value.Bytes[9]) << 8;
    const std::uint64_t sign = static_cast<std::uint64_t>(top >> 15) << 63;
    const int exponent = static_cast<int>(top & 0x7FFF);
    const bool leadingBit = (mantissa & LeadingBit) != 0;

    std::uint64_t bits;
    if (exponent == 0) {
        bits = sign; // zeros and denormals lie far below the double's range
    } else if (!leadingBit) {
        bits = DefaultNaN; // unnormals, pseudo-infinities and pseudo-NaNs are invalid
    } else if (exponent == ExtMaxExponent) {
        const std::uint64_t payload = mantissa & ~LeadingBit;
        bits = payload == 0 ? sign | DoubleExponentMask
                            : sign | DoubleExponentMask | DoubleQuietBit | (payload >> 11 & FractionMask);
    } else {
        bits = sign | NormalToDoubleBits(exponent, mantissa);
    }
    return std::bit_cast<double>(bits);
}

TExtended80 Ext80FromDouble(double value)
{
    const auto bits = std::bit_cast<std::uint64_t>(value);
    const bool negative = (bits >> 63) != 0;
    const int exponent = static_cast<int>(bits >> 52 & 0x7FF);
    const std::uint64_t fraction = bits & FractionMask;
    if (exponent == 0x7FF) {
        return Compose(negative, ExtMaxExponent, LeadingBit | fraction << 11); // infinities and NaNs
    }
    if (exponent == 0) {
        if (fraction == 0) {
            return Compose(negative, 0, 0);
        }
        // Subnormal: fraction * 2^-1074 with the leading bit moved to bit 63.
        const int shift = std::countl_zero(fraction);
        return Compose(negative, ExtBias - 1074 + 63 - shift, fraction << shift);
    }
    return Compose(negative, exponent - DoubleBias + ExtBias, LeadingBit | fraction << 11);
}

} // namespace qel
