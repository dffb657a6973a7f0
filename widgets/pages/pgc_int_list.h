// TPg32IntList: a list of 32-bit values that is either kept sorted (then a
// set unless duplicates are allowed) or in insertion order; the regular-
// expression engine keeps each state's successor set in one.
#pragma once

#include <cstdint>
#include <vector>

namespace qel {

class TPg32IntList {
public:
    // Sorted: at its place, -1 for a value already there unless duplicates
    // are allowed (then next to the equal one). Unsorted or empty: at the end.
    // Answers the index.
    std::int32_t Add(std::int32_t aItem);
    // Puts aItem before aInx (0 .. Count); the list counts as unsorted after.
    void Insert(std::int32_t aInx, std::int32_t aItem);
    // Empty and sorted again.
    void Clear();

    // EAssertionFailed "Index out of bounds" outside 0 .. Count - 1.
    std::int32_t ilGetItem(std::int32_t aInx) const;
    void ilSetItem(std::int32_t aInx, std::int32_t aItem);
    std::int32_t operator[](std::int32_t aInx) const { return ilGetItem(aInx); }

    std::int32_t Count() const { return static_cast<std::int32_t>(FList.size()); }
    // New places hold 0; plat::EListError for a negative count.
    void SetCount(std::int32_t aCount);
    std::int32_t Capacity() const { return static_cast<std::int32_t>(FList.capacity()); }
    // plat::EListError below the count.
    void SetCapacity(std::int32_t aCapacity);
    bool IsSorted() const { return FIsSorted; }
    // False only marks it unsorted; sorting an unsorted list is not offered
    // (EAssertionFailed "TPg32IntList.ilSort has not been implemented yet").
    void SetIsSorted(bool aValue);
    bool AllowDups() const { return FAllowDups; }
    void SetAllowDups(bool aValue) { FAllowDups = aValue; }

    const std::vector<std::int32_t>& Items() const { return FList; }

private:
    void CheckIndex(std::int32_t aInx) const;

    bool FAllowDups = false;
    bool FIsSorted = true;
    std::vector<std::int32_t> FList; // its size is the count
};

} // namespace qel
