// Small shared helpers of the component library's controls: pointer and
// integer arithmetic, the default century of two-digit years and unique
// names for new components.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace plat {
class TComponent;
}

namespace qel {

// (P - Q) in 16-bit characters, rounded toward zero.
std::ptrdiff_t CharDistance(const void* P, const void* Q);

// Moves P forward or back by Count bytes.
template <class T>
void AdvancePointer(T*& P, std::uint16_t Count)
{
    P = reinterpret_cast<T*>(reinterpret_cast<std::uintptr_t>(P) + Count);
}
template <class T>
void RetreatPointer(T*& P, std::uint16_t Count)
{
    P = reinterpret_cast<T*>(reinterpret_cast<std::uintptr_t>(P) - Count);
}

constexpr std::int32_t SmallerOf(std::int32_t A, std::int32_t B) { return A < B ? A : B; }
constexpr std::int32_t LargerOf(std::int32_t A, std::int32_t B) { return A > B ? A : B; }
constexpr std::int32_t LargerOfLong(std::int32_t A, std::int32_t B) { return LargerOf(A, B); }
// Second names.
constexpr std::int32_t MinInteger(std::int32_t A, std::int32_t B) { return SmallerOf(A, B); }
constexpr std::int32_t MaxInteger(std::int32_t A, std::int32_t B) { return LargerOf(A, B); }

// The current local year rounded down to its century (2026 gives 2000).
int DefaultEpochYear();

// Base + "1", base + "2", ...: the first that Owner has no component of
// (names compared without case; no owner takes base + "1"). Raises
// plat::EComponentError when Base is not a valid identifier.
std::string UniqueComponentName(const plat::TComponent* Owner, std::string_view Base);

} // namespace qel
