// TStringList: the string list that stores its lines itself: in insertion
// order, or sorted with a choice about duplicates; compared without case
// unless CaseSensitive; with change events and objects it may own.
#pragma once

#include "platform/objects/events.h"
#include "platform/objects/list.h"
#include "platform/objects/strings.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace plat {

class TStringList : public TStrings {
    PLAT_CLASS(TStringList, TStrings)
public:
    TStringList() = default;
    explicit TStringList(bool ownsObjects) : FOwnsObjects(ownsObjects) {}
    ~TStringList() override;

    int Count() const override { return static_cast<int>(FItems.size()); }
    std::string Get(int index) const override { return FItems[CheckedIndex(index)].Text; }
    // Raises EListError on a sorted list.
    void Insert(int index, const std::string& text) override;
    void Delete(int index) override;
    void Clear() override;
    TObject* GetObject(int index) const override { return FItems[CheckedIndex(index)].Object; }
    void PutObject(int index, TObject* object) override;
    // Raises EListError on a sorted list.
    void Put(int index, const std::string& text) override;
    // On a sorted list: at its place; a duplicate is ignored (answering the
    // index of the line there), accepted, or refused with EListError.
    int Add(const std::string& text) override;
    void Exchange(int index1, int index2) override;
    int IndexOf(std::string_view text) const override;
    int CompareStrings(std::string_view a, std::string_view b) const override;

    // On a sorted list: whether text is there, and index, where it is or
    // would go. On an unsorted list: a linear search.
    bool Find(std::string_view text, int& index) const;

    bool Sorted() const { return FSorted; }
    // Sorting starts at once; afterwards Add keeps the order.
    void SetSorted(bool sorted);
    TDuplicates Duplicates() const { return FDuplicates; }
    void SetDuplicates(TDuplicates duplicates) { FDuplicates = duplicates; }
    bool CaseSensitive() const { return FCaseSensitive; }
    // A sorted list sorts again under the new rule.
    void SetCaseSensitive(bool caseSensitive);
    bool OwnsObjects() const { return FOwnsObjects; }
    void SetOwnsObjects(bool owns) { FOwnsObjects = owns; }

    void Sort();
    // Sorts with compare(list, index1, index2) answering negative, 0 or
    // positive; equal lines keep their order.
    void CustomSort(const std::function<int(const TStringList&, int, int)>& compare);

    // Before and after each change, outside updates.
    TNotifyEvent OnChanging;
    TNotifyEvent OnChange;

protected:
    void SetUpdateState(bool updating) override;
    void Changing();
    void Changed();

private:
    struct TItem {
        std::string Text;
        TObject* Object = nullptr;
    };

    std::size_t CheckedIndex(int index) const;
    void InsertItem(int index, const std::string& text, TObject* object);
    void FreeObject(TObject* object) const;

    std::vector<TItem> FItems;
    bool FSorted = false;
    TDuplicates FDuplicates = dupIgnore;
    bool FCaseSensitive = false;
    bool FOwnsObjects = false;
};

} // namespace plat
