// A small set of enumeration members stored as bits (member n in bit n), the
// configuration sets of the logger models (INT_CFG, SMB_CFG, OPTIONS ...).
#pragma once

#include <cstdint>
#include <initializer_list>

namespace qel {

template <class E>
class TEnumSet {
public:
    constexpr TEnumSet() = default;
    constexpr TEnumSet(std::initializer_list<E> members)
    {
        for (E member : members) {
            Include(member);
        }
    }

    static constexpr TEnumSet FromBits(std::uint64_t bits)
    {
        TEnumSet set;
        set.FBits = bits;
        return set;
    }

    constexpr std::uint64_t Bits() const { return FBits; }
    constexpr bool Contains(E member) const { return (FBits >> Bit(member) & 1u) != 0; }
    constexpr bool Empty() const { return FBits == 0; }
    constexpr void Include(E member) { FBits |= std::uint64_t{1} << Bit(member); }
    constexpr void Exclude(E member) { FBits &= ~(std::uint64_t{1} << Bit(member)); }
    constexpr void Clear() { FBits = 0; }

    constexpr bool operator==(const TEnumSet&) const = default;

private:
    static constexpr unsigned Bit(E member) { return static_cast<unsigned>(member); }

    std::uint64_t FBits = 0;
};

} // namespace qel
