// A set of the values of an enumeration kept in a fixed-width bit mask, for
// the data tree's sets that live inside node records and option fields,
// where the width of the field is part of the record layout.
//
// The validation worker reads node states while the user-interface thread,
// their only writer, changes flags it does not look at: every read and
// write of the mask is a relaxed atomic load or store (plain moves on the
// machines we build for), so the two never race.
#pragma once

#include <atomic>
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

    constexpr TBits Bits() const { return Load(); }
    constexpr bool Empty() const { return Load() == 0; }
    constexpr bool Contains(E item) const { return (Load() & Bit(item)) != 0; }
    constexpr TBitSet& Include(E item)
    {
        Store(static_cast<TBits>(Load() | Bit(item)));
        return *this;
    }
    constexpr TBitSet& Exclude(E item)
    {
        Store(static_cast<TBits>(Load() & ~Bit(item)));
        return *this;
    }
    constexpr TBitSet& operator+=(TBitSet other)
    {
        Store(static_cast<TBits>(Load() | other.Load()));
        return *this;
    }
    constexpr TBitSet& operator-=(TBitSet other)
    {
        Store(static_cast<TBits>(Load() & ~other.Load()));
        return *this;
    }
    friend constexpr TBitSet operator+(TBitSet a, TBitSet b) { return a += b; }
    friend constexpr TBitSet operator-(TBitSet a, TBitSet b) { return a -= b; }
    friend constexpr bool operator==(TBitSet a, TBitSet b) { return a.Load() == b.Load(); }

private:
    static constexpr TBits Bit(E item) { return static_cast<TBits>(TBits{1} << static_cast<unsigned>(item)); }

    constexpr TBits Load() const
    {
        if (std::is_constant_evaluated()) {
            return FBits;
        }
        return std::atomic_ref<TBits>(const_cast<TBits&>(FBits)).load(std::memory_order_relaxed);
    }
    constexpr void Store(TBits bits)
    {
        if (std::is_constant_evaluated()) {
            FBits = bits;
        } else {
            std::atomic_ref<TBits>(FBits).store(bits, std::memory_order_relaxed);
        }
    }

    TBits FBits = 0;
};

} // namespace qel
