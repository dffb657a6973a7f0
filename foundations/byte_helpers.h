// Byte, bit and value-marker helpers used on every sample of a logger page,
// the floating-point set-up of each thread and the text-line callback type.
#pragma once

#include <bit>
#include <cstdint>
#include <functional>
#include <string>

namespace qel {

// Multi-byte quantities of a logger page are big-endian: the first argument
// is the most significant byte.
constexpr std::uint16_t BytesToWord(std::uint8_t Hi, std::uint8_t Lo)
{
    return static_cast<std::uint16_t>(Hi << 8 | Lo);
}

constexpr std::int16_t BytesToSmallInt(std::uint8_t Hi, std::uint8_t Lo)
{
    return static_cast<std::int16_t>(BytesToWord(Hi, Lo));
}

constexpr std::uint32_t BytesToLongWord(std::uint8_t B0, std::uint8_t B1, std::uint8_t B2, std::uint8_t B3)
{
    return static_cast<std::uint32_t>(BytesToWord(B0, B1)) << 16 | BytesToWord(B2, B3);
}

// A single cut to its three high bytes (the low byte of its bits is 0).
constexpr float Bytes3ToSingle(std::uint8_t B0, std::uint8_t B1, std::uint8_t B2)
{
    return std::bit_cast<float>(BytesToLongWord(B0, B1, B2, 0));
}

constexpr float Bytes4ToSingle(std::uint8_t B0, std::uint8_t B1, std::uint8_t B2, std::uint8_t B3)
{
    return std::bit_cast<float>(BytesToLongWord(B0, B1, B2, B3));
}

constexpr int CountBits(std::uint64_t Mask)
{
    return std::popcount(Mask);
}

// Position (0 = least significant) of set bit number N, counting set bits
// from 0 upward; 64 when Mask has N or fewer set bits or N is negative.
int GetBitPos(std::uint64_t Mask, std::int32_t N);

constexpr std::uint32_t NO_VALUE_BITS = 0xFFFFFFFFu;
constexpr std::uint32_t GAP_VALUE_BITS = 0xFFFFFFFEu;

// No sample of this channel at this time. A NaN: compare it by its bits.
constexpr float NoValueMarker()
{
    return std::bit_cast<float>(NO_VALUE_BITS);
}

// The logger's own gap value. A NaN: compare it by its bits.
constexpr float GapValueMarker()
{
    return std::bit_cast<float>(GAP_VALUE_BITS);
}

constexpr std::uint32_t SingleBits(float Value)
{
    return std::bit_cast<std::uint32_t>(Value);
}

// Exponent all ones and mantissa not zero; infinities are no NaN.
constexpr bool IsNaNSingle(float Value)
{
    const std::uint32_t bits = SingleBits(Value);
    return (bits & 0x7F800000u) == 0x7F800000u && (bits & 0x007FFFFFu) != 0;
}

constexpr std::int64_t AsTicks(std::int64_t Time)
{
    return Time;
}

// Floating-point set-up of the calling thread. The hardware traps stay
// masked on this platform (a trap would be a signal, not an exception); the
// code checks divisors, ranges and finiteness where an error must be raised.
// This puts the thread in that state: all traps masked, status flags clear,
// rounding mode untouched.
void SetFPUExceptionMask();

// First statement of every reader and save thread.
void InitThreadFPU();

// Callback through which a save thread hands back one text line.
using TAddReport = std::function<void(const std::string& sText)>;

} // namespace qel
