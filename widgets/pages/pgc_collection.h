// TPgcCollection: an ordered collection of sub-components of one item class
// (the notebook's pages, for instance). The items are components of the
// collection's owner, which frees them; the collection lists them in index
// order, and the owner's collection streamer writes them as the owner's
// children. OnChanged fires on changes only while a form is among the
// owner's owners.
#pragma once

#include "platform/objects/component.h"
#include "platform/objects/events.h"
#include "platform/objects/list.h"

#include <string>
#include <string_view>

namespace plat {
class TCustomForm;
}

namespace qel {

class TPgcCollectionLink;
class TPgcCollectionStreamer;

using TPgcItemSelectedEvent = plat::TEvent<void(plat::TObject* Sender, int Index)>;
using TPgcGetEditorCaption = plat::TEvent<void(std::string& Caption)>;

class TPgcCollection : public plat::TPersistent {
    PLAT_CLASS(TPgcCollection, plat::TPersistent)
public:
    // AOwner must be a TPgcComponent or a TPgcCustomControl (else "Owner must
    // be a TPgcComponent or TPgcCustomComponent descendant", 30242); the
    // collection joins the owner's streamer, made when it has none.
    TPgcCollection(plat::TComponent* AOwner, plat::TClass ItemClass);
    // Leaves the streamer and frees the items.
    ~TPgcCollection() override;

    int Count() const { return FItems.Count(); }
    plat::TClass ItemClass() const { return FItemClass; }
    plat::TComponent* Owner() const { return FOwner; }
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value) { FReadOnly = Value; }
    // False: the items are not written with the owner.
    bool Stored() const { return FStored; }
    void SetStored(bool Value) { FStored = Value; }

    // Raises plat::EListError outside 0 .. Count - 1.
    plat::TComponent* GetItem(int Index) const { return FItems.Items(Index); }
    // The item at Index takes Value's state (Assign).
    void SetItem(int Index, plat::TComponent* Value);

    // A new item of the item class owned by the collection's owner, which
    // joins its collection as it is built; then the change notification.
    // Raises "Item class not set" (30245) without an item class.
    plat::TComponent* Add();
    // Add, then the new item moves to Index (taken as Count when outside
    // 0 .. Count); nullptr when the item is no collectible.
    plat::TComponent* Insert(int Index);
    // Frees the item at Index when there is one; the change notification in any case.
    void Delete(int Index);
    // Frees every item: first, from the last, those not inherited from an
    // ancestor form, then the rest.
    virtual void Clear();
    // The first item of exactly that name (case counts); nullptr when none.
    plat::TComponent* ItemByName(std::string_view Name) const;
    // The first form among the owner and its owners; nullptr when none.
    plat::TCustomForm* ParentForm() const;

    void DoOnItemSelected(int Index) { OnItemSelected(this, Index); }
    // "Editing TPgcCollection", passed through OnGetEditorCaption.
    std::string GetEditorCaption() const;

    // OnChanged, while the collection has a parent form; a notification
    // that arises during OnChanged is dropped.
    virtual void Changed();
    // The loaded step the owner's streamer runs: the change notification
    // with InLoaded set, then IsLoaded.
    void Loaded();
    bool InLoaded() const { return FInLoaded; }
    bool IsLoaded() const { return FIsLoaded; }

    plat::TNotifyEvent OnChanged;
    TPgcItemSelectedEvent OnItemSelected;
    TPgcGetEditorCaption OnGetEditorCaption;

private:
    friend class TPgcCollectionLink;

    plat::TClass FItemClass;
    plat::TList<plat::TComponent> FItems;   // the items in index order, not owned
    plat::TComponent* FOwner;
    bool FReadOnly = false;
    bool FStored = true;
    TPgcCollectionStreamer* FStreamer;      // the owner's, in whose list this stands
    bool FInLoaded = false;
    bool FIsLoaded = false;
    bool FInChanged = false;                // re-entry guard of Changed
};

} // namespace qel
