// Sorted and unsorted insertion, checked item access and the count and
// capacity of the integer list.
#include "widgets/pages/pgc_int_list.h"

#include "platform/object_list.h"
#include "widgets/pages/pgc_assertion.h"

#include <algorithm>

namespace qel {

std::int32_t TPg32IntList::Add(std::int32_t aItem)
{
    if (!FIsSorted || FList.empty()) {
        FList.push_back(aItem);
        return Count() - 1;
    }
    const auto at = std::lower_bound(FList.begin(), FList.end(), aItem);
    if (at != FList.end() && *at == aItem && !FAllowDups) {
        return -1;
    }
    const auto index = static_cast<std::int32_t>(at - FList.begin());
    FList.insert(at, aItem);
    return index;
}

void TPg32IntList::Insert(std::int32_t aInx, std::int32_t aItem)
{
    if (aInx < 0 || aInx > Count()) {
        throw EAssertionFailed("Index out of bounds");
    }
    FList.insert(FList.begin() + aInx, aItem);
    FIsSorted = false;
}

void TPg32IntList::Clear()
{
    FList.clear();
    FIsSorted = true;
}

void TPg32IntList::CheckIndex(std::int32_t aInx) const
{
    if (aInx < 0 || aInx >= Count()) {
        throw EAssertionFailed("Index out of bounds");
    }
}

std::int32_t TPg32IntList::ilGetItem(std::int32_t aInx) const
{
    CheckIndex(aInx);
    return FList[static_cast<std::size_t>(aInx)];
}

void TPg32IntList::ilSetItem(std::int32_t aInx, std::int32_t aItem)
{
    CheckIndex(aInx);
    FList[static_cast<std::size_t>(aInx)] = aItem;
}

void TPg32IntList::SetCount(std::int32_t aCount)
{
    if (aCount < 0) {
        throw plat::EListError(aCount);
    }
    FList.resize(static_cast<std::size_t>(aCount));
}

void TPg32IntList::SetCapacity(std::int32_t aCapacity)
{
    if (aCapacity < Count()) {
        throw plat::EListError(aCapacity);
    }
    FList.reserve(static_cast<std::size_t>(aCapacity));
}

void TPg32IntList::SetIsSorted(bool aValue)
{
    if (aValue && !FIsSorted) {
        throw EAssertionFailed("TPg32IntList.ilSort has not been implemented yet");
    }
    FIsSorted = aValue;
}

} // namespace qel
