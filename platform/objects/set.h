// TSet<E>: a set of the values of an enumeration, kept as a bit mask, as
// component states, font styles and option sets are.
#pragma once

#include <cassert>
#include <cstdint>
#include <initializer_list>
#include <type_traits>

namespace plat {

// The enumeration's values must lie in 0 .. 63.
template <class E>
class TSet {
    static_assert(std::is_enum_v<E>, "a set holds values of an enumeration");

public:
    constexpr TSet() = default;
    constexpr TSet(std::initializer_list<E> items)
    {
        for (E item : items) {
            Include(item);
        }
    }

    static constexpr TSet FromBits(std::uint64_t bits)
    {
        TSet set;
        set.FBits = bits;
        return set;
    }

    constexpr std::uint64_t Bits() const { return FBits; }
    constexpr bool Empty() const { return FBits == 0; }
    constexpr bool Contains(E item) const { return (FBits & Bit(item)) != 0; }

    constexpr TSet& Include(E item)
    {
        FBits |= Bit(item);
        return *this;
    }
    constexpr TSet& Exclude(E item)
    {
        FBits &= ~Bit(item);
        return *this;
    }

    constexpr TSet& operator+=(TSet other)
    {
        FBits |= other.FBits;
        return *this;
    }
    constexpr TSet& operator-=(TSet other)
    {
        FBits &= ~other.FBits;
        return *this;
    }
    constexpr TSet& operator*=(TSet other)
    {
        FBits &= other.FBits;
        return *this;
    }
    friend constexpr TSet operator+(TSet a, TSet b) { return a += b; }   // union
    friend constexpr TSet operator-(TSet a, TSet b) { return a -= b; }   // difference
    friend constexpr TSet operator*(TSet a, TSet b) { return a *= b; }   // intersection
    friend constexpr bool operator==(TSet a, TSet b) = default;

private:
    static constexpr std::uint64_t Bit(E item)
    {
        const auto ordinal = static_cast<std::uint64_t>(item);
        assert(ordinal < 64);
        return std::uint64_t{1} << ordinal;
    }

    std::uint64_t FBits = 0;
};

} // namespace plat
