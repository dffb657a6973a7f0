// Arithmetic of the logger models' value conversions: results computed in
// double and rounded to single, with every fault turned into a neutral answer.
#pragma once

#include <cstdint>

namespace qel {

// A double rounded to single as the floating-point unit does with its traps
// masked: a finite value beyond the single range becomes an infinity, a NaN
// stays a NaN. Never undefined, never raises.
float RoundToSingle(double Value);

// True when Value is a number the single type can hold: the conversions use
// this to detect a faulting computation (division by zero, an invalid
// operation or an overflow leave an infinity or a NaN behind).
bool IsSingleRange(double Value);

// The result of a value conversion: NoValueMarker where the computation
// faulted. The Value* names say which neutral answer a fault gives.
float ValueOrNoValue(double Value);
float GainOrOne(double Value);
float OffsetOrZero(double Value);

// The raw limit of a value: rounded to the nearest integer (halves to even)
// and limited to -32000 ... 32000; a faulted value, or one beyond the 64-bit
// integer range (where the rounding itself faults), gives 0.
std::int16_t RawLimitOrZero(double Value);

// The low Bits bits of Raw as a two's-complement number (bit Bits-1 the sign).
constexpr std::int32_t SignedLowBits(std::uint16_t Raw, unsigned Bits)
{
    const std::uint32_t mask = (1u << Bits) - 1u;
    const std::uint32_t low = Raw & mask;
    const std::uint32_t sign = 1u << (Bits - 1u);
    return (low & sign) != 0 ? static_cast<std::int32_t>(low) - static_cast<std::int32_t>(mask + 1u)
                             : static_cast<std::int32_t>(low);
}

// The raw 16-bit sample as the unsigned word its bits form.
constexpr std::uint16_t RawBits(std::int16_t Raw)
{
    return static_cast<std::uint16_t>(Raw);
}

} // namespace qel
