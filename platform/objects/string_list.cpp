// TStringList: storage, sorting, duplicates and change events.
#include "platform/objects/string_list.h"

#include <algorithm>
#include <numeric>

namespace plat {

PLAT_DEFINE_CLASS(TStringList, TStrings)

TStringList::~TStringList()
{
    for (TItem& item : FItems) {
        FreeObject(std::exchange(item.Object, nullptr));
    }
}

std::size_t TStringList::CheckedIndex(int index) const
{
    if (index < 0 || index >= Count()) {
        throw EListError(index);
    }
    return static_cast<std::size_t>(index);
}

void TStringList::FreeObject(TObject* object) const
{
    if (FOwnsObjects) {
        delete object;
    }
}

void TStringList::Insert(int index, const std::string& text)
{
    if (FSorted) {
        throw EListError("Operation not allowed on sorted list");
    }
    if (index < 0 || index > Count()) {
        throw EListError(index);
    }
    InsertItem(index, text, nullptr);
}

void TStringList::InsertItem(int index, const std::string& text, TObject* object)
{
    Changing();
    FItems.insert(FItems.begin() + index, TItem{text, object});
    Changed();
}

void TStringList::Delete(int index)
{
    const std::size_t at = CheckedIndex(index);
    Changing();
    TObject* object = FItems[at].Object;
    FItems.erase(FItems.begin() + index);
    FreeObject(object);
    Changed();
}

void TStringList::Clear()
{
    if (FItems.empty()) {
        return;
    }
    Changing();
    std::vector<TItem> items;
    items.swap(FItems);
    for (TItem& item : items) {
        FreeObject(item.Object);
    }
    Changed();
}

void TStringList::PutObject(int index, TObject* object)
{
    const std::size_t at = CheckedIndex(index);
    Changing();
    FItems[at].Object = object;
    Changed();
}

void TStringList::Put(int index, const std::string& text)
{
    if (FSorted) {
        throw EListError("Operation not allowed on sorted list");
    }
    const std::size_t at = CheckedIndex(index);
    Changing();
    FItems[at].Text = text;
    Changed();
}

int TStringList::Add(const std::string& text)
{
    if (!FSorted) {
        InsertItem(Count(), text, nullptr);
        return Count() - 1;
    }
    int index = 0;
    if (Find(text, index)) {
        if (FDuplicates == dupIgnore) {
            return index;
        }
        if (FDuplicates == dupError) {
            throw EListError("String list does not allow duplicates");
        }
        // Accepted duplicates go behind their equals.
        while (index < Count() && CompareStrings(FItems[static_cast<std::size_t>(index)].Text, text) == 0) {
            ++index;
        }
    }
    InsertItem(index, text, nullptr);
    return index;
}

void TStringList::Exchange(int index1, int index2)
{
    const std::size_t first = CheckedIndex(index1);
    const std::size_t second = CheckedIndex(index2);
    Changing();
    std::swap(FItems[first], FItems[second]);
    Changed();
}

int TStringList::IndexOf(std::string_view text) const
{
    if (!FSorted) {
        return TStrings::IndexOf(text);
    }
    int index = 0;
    return Find(text, index) ? index : -1;
}

int TStringList::CompareStrings(std::string_view a, std::string_view b) const
{
    return CompareTextOrder(a, b, FCaseSensitive);
}

bool TStringList::Find(std::string_view text, int& index) const
{
    if (!FSorted) {
        index = TStrings::IndexOf(text);
        return index >= 0;
    }
    // The first line not before text; with duplicates, the first of them.
    const auto before = [this](const TItem& item, std::string_view key) { return CompareStrings(item.Text, key) < 0; };
    const auto found = std::lower_bound(FItems.begin(), FItems.end(), text, before);
    index = static_cast<int>(found - FItems.begin());
    return found != FItems.end() && CompareStrings(found->Text, text) == 0;
}

void TStringList::SetSorted(bool sorted)
{
    if (sorted && !FSorted) {
        Sort();
    }
    FSorted = sorted;
}

void TStringList::SetCaseSensitive(bool caseSensitive)
{
    if (caseSensitive == FCaseSensitive) {
        return;
    }
    FCaseSensitive = caseSensitive;
    if (FSorted) {
        Sort();
    }
}

void TStringList::Sort()
{
    CustomSort([](const TStringList& list, int a, int b) { return list.CompareStrings(list.Get(a), list.Get(b)); });
}

void TStringList::CustomSort(const std::function<int(const TStringList&, int, int)>& compare)
{
    if (FItems.size() < 2) {
        return;
    }
    std::vector<int> order(FItems.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return compare(*this, a, b) < 0; });
    Changing();
    std::vector<TItem> sorted;
    sorted.reserve(FItems.size());
    for (const int index : order) {
        sorted.push_back(std::move(FItems[static_cast<std::size_t>(index)]));
    }
    FItems.swap(sorted);
    Changed();
}

void TStringList::SetUpdateState(bool updating)
{
    if (updating) {
        OnChanging(this);
    } else {
        OnChange(this);
    }
}

void TStringList::Changing()
{
    if (UpdateCount() == 0) {
        OnChanging(this);
    }
}

void TStringList::Changed()
{
    if (UpdateCount() == 0) {
        OnChange(this);
    }
}

} // namespace plat
