// A set of the values of an enumeration kept in a fixed-width bit mask, for
// the data tree's sets that live inside node records and option fields,
// where the width of the field is part of the record layout.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <type_traits>

namespace qel {

// The enumeration's ordinals must lie below the bit width of TBits.
template <class E, class TBits>
class TBitSet {
    static_assert(std::is_enum_v<E> && std::is_unsigned_v<TBits>);

public:
    constexpr TBitSet() = default;
    constexpr TBitSet(std::initializer_list<E> items)
    {
        for (E item : items) {
            Include(item);
        }
    }
    static constexpr TBitSet FromBits(TBits bits)
    {
        TBitSet set;
        set.FBits = bits;
        return set;
    }

    constexpr TBits Bits() const { return FBits; }
    constexpr bool Empty() const { return FBits == 0; }
    constexpr bool Contains(E item) const { return (FBits & Bit(item)) != 0; }
    constexpr TBitSet& Include(E item)
    {
        FBits = static_cast<TBits>(FBits | Bit(item));
        return *this;
    }
    constexpr TBitSet& Exclude(E item)
    {
        FBits = static_cast<TBits>(FBits & ~Bit(item));
        return *this;
    }
    constexpr TBitSet& operator+=(TBitSet other)
    {
        FBits = static_cast<TBits>(FBits | other.FBits);
        return *this;
    }
    constexpr TBitSet& operator-=(TBitSet other)
    {
        FBits = static_cast<TBits>(FBits & ~other.FBits);
        return *this;
    }
    friend constexpr TBitSet operator+(TBitSet a, TBitSet b) { return a += b; }
    friend constexpr TBitSet operator-(TBitSet a, TBitSet b) { return a -= b; }
    friend constexpr bool operator==(TBitSet a, TBitSet b) = default;

private:
    static constexpr TBits Bit(E item) { return static_cast<TBits>(TBits{1} << static_cast<unsigned>(item)); }

    TBits FBits = 0;
};

} // namespace qel
