// Collections: an ordered, owning list of items of one item class, streamed
// as one property of its owner (columns of a header, filters of a picture).
// Changes reach the collection's Update hook, held back while an update
// runs; Notify tells of items added, leaving or being freed.
#pragma once

#include "platform/objects/persistent.h"

#include <string>
#include <vector>

namespace plat {

class TCollection;

enum TCollectionNotification {
    cnAdded,        // the item has just joined the collection
    cnExtracting,   // the item is about to leave for another collection or none
    cnDeleting,     // the item is about to leave because it is being freed
};

class TCollectionItem : public TPersistent {
    PLAT_CLASS(TCollectionItem, TPersistent)
public:
    using TOwnerType = TCollection;

    // Joins collection (when not nullptr) at its end.
    explicit TCollectionItem(TCollection* collection);
    // Leaves its collection with cnDeleting.
    ~TCollectionItem() override;

    TCollection* Collection() const { return FCollection; }
    // Moves the item to the end of collection (or out of any). Raises
    // EInvalidCast, changing nothing, when the item is not of collection's
    // item class.
    virtual void SetCollection(TCollection* collection);

    // The position in the collection; -1 without one.
    int Index() const;
    // Moves the item to index; raises EListError outside 0 .. Count - 1.
    virtual void SetIndex(int index);
    // A number unique within the collection, given when the item joins it.
    int ID() const { return FID; }

    // The text that names the item in lists; the base answers its class name.
    virtual std::string DisplayName() const;
    // "Owner.Property[Index]".
    std::string GetNamePath() const override;
    TPersistent* GetOwner() const override;

protected:
    // Reports a change to the collection's Update: this item, or the whole
    // collection when allItems.
    void Changed(bool allItems);
    // Leaves the collection with cnDeleting. An item class whose
    // collection's Notify reads the item's own fields calls this first in
    // its destructor, while those fields still stand.
    void LeaveCollectionForFree();

private:
    friend class TCollection;

    TCollection* FCollection = nullptr;
    int FID = 0;
};

class TCollection : public TPersistent {
    PLAT_CLASS(TCollection, TPersistent)
public:
    // itemClass must be TCollectionItem or a descendant.
    explicit TCollection(TClass itemClass);
    // Frees every item, without Update calls.
    ~TCollection() override;

    TClass ItemClass() const { return FItemClass; }
    int Count() const { return static_cast<int>(FItems.size()); }
    // Raises EListError outside 0 .. Count() - 1.
    TCollectionItem* Items(int index) const;
    // Items(index)->Assign(value).
    void SetItem(int index, const TCollectionItem* value);

    // A new item of ItemClass() at the end, built through its virtual
    // constructor; Notify(cnAdded) sees it whole.
    TCollectionItem* Add();
    // The same with an item of itemClass, ItemClass() or a descendant (a
    // collection of mixed kinds); raises EInvalidCast for another class.
    TCollectionItem* Add(TClass itemClass);
    // Add, then moved to index (0 .. Count()).
    TCollectionItem* Insert(int index);
    // Frees the item at index; raises EListError outside 0 .. Count() - 1.
    void Delete(int index);
    // Frees every item, the last first, inside one update.
    virtual void Clear();
    TCollectionItem* FindItemID(int id) const;

    // Updates nest; the change hook runs with nullptr when the outermost
    // EndUpdate returns the count to 0.
    virtual void BeginUpdate();
    virtual void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }

    // Clears, then adds an item per item of a collection source and assigns it.
    void Assign(const TPersistent* source) override;
    std::string GetNamePath() const override;

protected:
    // Runs when an item (or, with nullptr, the collection as a whole) has
    // changed and no update is running; the base does nothing.
    virtual void Update(TCollectionItem* item);
    // Told of items joining (after) and leaving (before); the base does nothing.
    virtual void Notify(TCollectionItem* item, TCollectionNotification action);
    // Update(nullptr) unless an update is running.
    void Changed();

private:
    friend class TCollectionItem;

    void InsertItem(TCollectionItem* item, bool notify);
    void RemoveItem(TCollectionItem* item, TCollectionNotification action);
    void CheckItemClass(const TCollectionItem* item) const;

    TClass FItemClass;
    std::vector<TCollectionItem*> FItems;   // owned, in index order
    int FUpdateCount = 0;
    int FNextID = 0;
    bool FAdding = false;   // an item built by Add joins quietly; Add notifies
};

// A collection that knows the object that holds it (for name paths and
// the filer).
class TOwnedCollection : public TCollection {
    PLAT_CLASS(TOwnedCollection, TCollection)
public:
    TOwnedCollection(TPersistent* owner, TClass itemClass) : TCollection(itemClass), FOwner(owner) {}

    TPersistent* GetOwner() const override { return FOwner; }

private:
    TPersistent* FOwner;
};

} // namespace plat
