// Collections and their items: joining, leaving, moving, updates and
// assignment.
#include "platform/objects/collection.h"

#include "platform/object_list.h"

#include <algorithm>
#include <cassert>

namespace plat {

PLAT_DEFINE_CLASS(TCollectionItem, TPersistent)
PLAT_DEFINE_CLASS(TCollection, TPersistent)
PLAT_DEFINE_CLASS(TOwnedCollection, TCollection)

TCollectionItem::TCollectionItem(TCollection* collection)
{
    // The item's own class is not known yet here; Add builds items of the
    // item class, and later moves are checked by SetCollection.
    if (collection != nullptr) {
        collection->InsertItem(this, true);
    }
}

TCollectionItem::~TCollectionItem()
{
    LeaveCollectionForFree();
}

void TCollectionItem::LeaveCollectionForFree()
{
    if (FCollection != nullptr) {
        FCollection->RemoveItem(this, cnDeleting);
    }
}

void TCollectionItem::SetCollection(TCollection* collection)
{
    if (collection == FCollection) {
        return;
    }
    if (collection != nullptr) {
        collection->CheckItemClass(this);
    }
    if (FCollection != nullptr) {
        FCollection->RemoveItem(this, cnExtracting);
    }
    if (collection != nullptr) {
        collection->InsertItem(this, true);
    }
}

int TCollectionItem::Index() const
{
    if (FCollection == nullptr) {
        return -1;
    }
    const auto& items = FCollection->FItems;
    return static_cast<int>(std::find(items.begin(), items.end(), this) - items.begin());
}

void TCollectionItem::SetIndex(int index)
{
    const int current = Index();
    if (current < 0 || current == index) {
        return;
    }
    auto& items = FCollection->FItems;
    if (index < 0 || index >= static_cast<int>(items.size())) {
        throw EListError(index);
    }
    items.erase(items.begin() + current);
    items.insert(items.begin() + index, this);
    Changed(true);
}

std::string TCollectionItem::DisplayName() const
{
    return std::string(ClassName());
}

std::string TCollectionItem::GetNamePath() const
{
    if (FCollection == nullptr) {
        return std::string(ClassName());
    }
    return FCollection->GetNamePath() + "[" + std::to_string(Index()) + "]";
}

TPersistent* TCollectionItem::GetOwner() const
{
    return FCollection;
}

void TCollectionItem::Changed(bool allItems)
{
    if (FCollection != nullptr && FCollection->FUpdateCount == 0) {
        FCollection->Update(allItems ? nullptr : this);
    }
}

TCollection::TCollection(TClass itemClass) : FItemClass(itemClass)
{
    assert(itemClass != nullptr && itemClass->InheritsFrom(TCollectionItem::StaticClass()));
}

TCollection::~TCollection()
{
    while (!FItems.empty()) {
        TCollectionItem* item = FItems.back();
        FItems.pop_back();
        item->FCollection = nullptr;
        delete item;
    }
}

TCollectionItem* TCollection::Items(int index) const
{
    if (index < 0 || index >= Count()) {
        throw EListError(index);
    }
    return FItems[static_cast<std::size_t>(index)];
}

void TCollection::SetItem(int index, const TCollectionItem* value)
{
    Items(index)->Assign(value);
}

TCollectionItem* TCollection::Add()
{
    return Add(FItemClass);
}

TCollectionItem* TCollection::Add(TClass itemClass)
{
    if (!itemClass->InheritsFrom(FItemClass)) {
        throw EInvalidCast("Item incompatible with collection");
    }
    FAdding = true;
    TCollectionItem* item = nullptr;
    try {
        item = itemClass->CreateAs<TCollectionItem>(this);
    } catch (...) {
        FAdding = false;
        throw;
    }
    FAdding = false;
    if (item->FCollection != this) {   // an item class that joined no collection
        InsertItem(item, false);
    }
    Notify(item, cnAdded);
    Changed();
    return item;
}

TCollectionItem* TCollection::Insert(int index)
{
    if (index < 0 || index > Count()) {
        throw EListError(index);
    }
    TCollectionItem* item = Add();
    item->SetIndex(index);
    return item;
}

void TCollection::Delete(int index)
{
    TCollectionItem* item = Items(index);
    RemoveItem(item, cnDeleting);
    delete item;
}

void TCollection::Clear()
{
    if (FItems.empty()) {
        return;
    }
    BeginUpdate();
    try {
        while (!FItems.empty()) {
            Delete(Count() - 1);
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

TCollectionItem* TCollection::FindItemID(int id) const
{
    for (TCollectionItem* item : FItems) {
        if (item->FID == id) {
            return item;
        }
    }
    return nullptr;
}

void TCollection::BeginUpdate()
{
    ++FUpdateCount;
}

void TCollection::EndUpdate()
{
    assert(FUpdateCount > 0);
    --FUpdateCount;
    Changed();
}

void TCollection::Assign(const TPersistent* source)
{
    const auto* other = dynamic_cast<const TCollection*>(source);
    if (other == nullptr) {
        TPersistent::Assign(source);
        return;
    }
    BeginUpdate();
    try {
        Clear();
        for (const TCollectionItem* item : other->FItems) {
            Add()->Assign(item);
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

std::string TCollection::GetNamePath() const
{
    const TPersistent* owner = GetOwner();
    if (owner == nullptr) {
        return std::string(ClassName());
    }
    for (const TPropInfo* property : owner->ClassType()->Properties()) {
        if (property->Kind() == TPropertyKind::Object && property->GetObject(*owner) == this) {
            const std::string ownerPath = owner->GetNamePath();
            return ownerPath.empty() ? property->Name() : ownerPath + "." + property->Name();
        }
    }
    return owner->GetNamePath();
}

void TCollection::Update(TCollectionItem*)
{
}

void TCollection::Notify(TCollectionItem*, TCollectionNotification)
{
}

void TCollection::Changed()
{
    if (FUpdateCount == 0) {
        Update(nullptr);
    }
}

void TCollection::InsertItem(TCollectionItem* item, bool notify)
{
    FItems.push_back(item);
    item->FCollection = this;
    item->FID = FNextID++;
    if (notify && !FAdding) {
        Notify(item, cnAdded);
        Changed();
    }
}

void TCollection::RemoveItem(TCollectionItem* item, TCollectionNotification action)
{
    Notify(item, action);
    FItems.erase(std::find(FItems.begin(), FItems.end(), item));
    item->FCollection = nullptr;
    Changed();
}

void TCollection::CheckItemClass(const TCollectionItem* item) const
{
    if (!item->InheritsFrom(FItemClass)) {
        throw EInvalidCast("Item incompatible with collection");
    }
}

} // namespace plat
