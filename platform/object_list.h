// TObjectList<T>: an ordered list of object pointers that, when it owns its
// objects, frees each one as it is deleted, replaced or cleared.
#pragma once

#include <algorithm>
#include <cstddef>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace plat {

// Raised for an index outside 0 .. Count() - 1, and for other misuses of a
// list (a duplicate a list refuses, an insertion into a sorted list).
class EListError : public std::out_of_range {
public:
    explicit EListError(int index)
        : std::out_of_range("List index out of bounds (" + std::to_string(index) + ")")
    {
    }
    explicit EListError(const std::string& message) : std::out_of_range(message) {}
};

template <class T>
class TObjectList {
public:
    explicit TObjectList(bool ownsObjects = true) : FOwnsObjects(ownsObjects) {}
    virtual ~TObjectList() { Clear(); }

    TObjectList(const TObjectList&) = delete;
    TObjectList& operator=(const TObjectList&) = delete;

    int Count() const { return static_cast<int>(FItems.size()); }
    bool OwnsObjects() const { return FOwnsObjects; }
    void SetOwnsObjects(bool owns) { FOwnsObjects = owns; }

    T* operator[](int index) const { return FItems[CheckedIndex(index)]; }
    T* Items(int index) const { return (*this)[index]; }
    T* First() const { return (*this)[0]; }
    T* Last() const { return (*this)[Count() - 1]; }

    // Appends item (nullptr allowed); answers its index. An owning list takes
    // the item over even when appending fails.
    int Add(T* item)
    {
        Insert(Count(), item);
        return Count() - 1;
    }

    // Puts item at index (0 .. Count()), moving the later items up.
    void Insert(int index, T* item)
    {
        if (index < 0 || index > Count()) {
            FreeIfOwned(item);
            throw EListError(index);
        }
        try {
            FItems.insert(FItems.begin() + index, item);
        } catch (...) {
            FreeIfOwned(item);
            throw;
        }
    }

    // Replaces the item at index; an owning list frees the item it replaced.
    void SetItem(int index, T* item)
    {
        T*& slot = FItems[CheckedIndex(index)];
        if (slot != item) {
            T* old = std::exchange(slot, item);
            FreeIfOwned(old);
        }
    }

    // Removes the item at index; an owning list frees it.
    void Delete(int index)
    {
        T* item = FItems[CheckedIndex(index)];
        FItems.erase(FItems.begin() + index);
        FreeIfOwned(item);
    }

    // Removes the first occurrence of item (freeing it when owning); answers
    // its former index, or -1 when it is not in the list.
    int Remove(T* item)
    {
        const int index = IndexOf(item);
        if (index >= 0) {
            Delete(index);
        }
        return index;
    }

    // Removes the first occurrence of item without freeing it; answers item,
    // or nullptr when it is not in the list. The caller owns it afterwards.
    T* Extract(T* item)
    {
        const int index = IndexOf(item);
        if (index < 0) {
            return nullptr;
        }
        FItems.erase(FItems.begin() + index);
        return item;
    }

    // Removes every item, from the last to the first; an owning list frees them.
    void Clear()
    {
        while (!FItems.empty()) {
            T* item = FItems.back();
            FItems.pop_back();
            FreeIfOwned(item);
        }
    }

    // Swaps the items at the two indexes.
    void Exchange(int index1, int index2)
    {
        std::swap(FItems[CheckedIndex(index1)], FItems[CheckedIndex(index2)]);
    }

    // Moves the item at curIndex to newIndex; the items between shift by one.
    void Move(int curIndex, int newIndex)
    {
        if (curIndex == newIndex) {
            CheckedIndex(curIndex);
            return;
        }
        T* item = FItems[CheckedIndex(curIndex)];
        CheckedIndex(newIndex);
        FItems.erase(FItems.begin() + curIndex);
        FItems.insert(FItems.begin() + newIndex, item);
    }

    // Removes the nullptr entries.
    void Pack() { FItems.erase(std::remove(FItems.begin(), FItems.end(), nullptr), FItems.end()); }

    int IndexOf(const T* item) const
    {
        const auto found = std::find(FItems.begin(), FItems.end(), item);
        return found == FItems.end() ? -1 : static_cast<int>(found - FItems.begin());
    }

    // Sorts with compare(a, b) answering a negative number, 0 or a positive
    // number as a sorts before, with or after b. Equal items keep their order.
    template <class Compare>
    void Sort(Compare compare)
    {
        std::stable_sort(FItems.begin(), FItems.end(),
                         [&compare](const T* a, const T* b) { return compare(a, b) < 0; });
    }

    auto begin() const { return FItems.begin(); }
    auto end() const { return FItems.end(); }

private:
    std::size_t CheckedIndex(int index) const
    {
        if (index < 0 || index >= Count()) {
            throw EListError(index);
        }
        return static_cast<std::size_t>(index);
    }

    void FreeIfOwned(T* item)
    {
        if (FOwnsObjects) {
            delete item;
        }
    }

    std::vector<T*> FItems;
    bool FOwnsObjects;
};

} // namespace plat
