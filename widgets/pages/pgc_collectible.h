// The item classes of collections: TPgcCollectible (non-visual) and
// TPgcCollectibleControl (windowed, like the notebook's pages). An item
// built with an owner joins the owner's collection that takes its class.
//
// A descendant passes its own class to the protected constructor, since a
// base constructor cannot see the class being built:
//
//     explicit TTabPage(plat::TComponent* AOwner) : TPgcCollectibleControl(AOwner, StaticClass()) {}
#pragma once

#include "widgets/pages/pgc_base_controls.h"
#include "widgets/pages/pgc_component.h"

#include <string>

namespace qel {

class TPgcCollection;

// An item's tie to its collection; both item classes keep one.
class TPgcCollectionLink {
public:
    TPgcCollection* Collection() const { return FCollection; }
    // The constructor's step: joins the collection of Owner's streamer that
    // takes ItemType. Raises 30242 for an owner that keeps no collections,
    // "No collection exists in the owner component" (30241) when it has
    // none, 30246 when none takes the type.
    void JoinOwnerCollection(plat::TComponent* Item, plat::TClass ItemType, plat::TComponent* Owner);
    // Appends Item to NewCollection (nullptr: to none) after taking it out
    // of its present one. Raises "Item incompatible with collection" (30243),
    // changing nothing, when ItemType is not of the collection's item class.
    void MoveTo(plat::TComponent* Item, plat::TClass ItemType, TPgcCollection* NewCollection);
    // The position in the collection; -1 without one.
    int Index(const plat::TComponent* Item) const;
    // Moves Item to Value among the collection's items (plat::EListError
    // outside 0 .. Count - 1); true when it moved.
    bool SetIndex(plat::TComponent* Item, int Value);
    // The collection's change notification, unless one of this item's runs.
    void NotifyChanged();

private:
    TPgcCollection* FCollection = nullptr;
    bool InChanged = false;
};

class TPgcCollectible : public TPgcComponent {
    PLAT_CLASS(TPgcCollectible, TPgcComponent)
public:
    explicit TPgcCollectible(plat::TComponent* AOwner) : TPgcCollectible(AOwner, StaticClass()) {}
    // Leaves its collection.
    ~TPgcCollectible() override;

    TPgcCollection* Collection() const { return FLink.Collection(); }
    // Moves the item to the end of another collection of a fitting item class.
    void SetCollection(TPgcCollection* Value) { FLink.MoveTo(this, ClassType(), Value); }
    int Index() const { return FLink.Index(this); }
    // Nothing when unchanged; else the move and the change notification.
    virtual void SetIndex(int Value);
    std::string DisplayText() const { return GetDisplayText(); }

protected:
    TPgcCollectible(plat::TComponent* AOwner, plat::TClass ItemType);
    // The class name.
    virtual std::string GetDisplayText() const;
    virtual void Changed() { FLink.NotifyChanged(); }

private:
    TPgcCollectionLink FLink;
};

class TPgcCollectibleControl : public TPgcCustomControl {
    PLAT_CLASS(TPgcCollectibleControl, TPgcCustomControl)
public:
    explicit TPgcCollectibleControl(plat::TComponent* AOwner) : TPgcCollectibleControl(AOwner, StaticClass()) {}
    ~TPgcCollectibleControl() override;

    TPgcCollection* Collection() const { return FLink.Collection(); }
    void SetCollection(TPgcCollection* Value) { FLink.MoveTo(this, ClassType(), Value); }
    int Index() const { return FLink.Index(this); }
    virtual void SetIndex(int Value);
    std::string DisplayText() const { return GetDisplayText(); }
    // Renaming after loading is a change of the collection.
    void SetName(const std::string& NewName) override;

protected:
    TPgcCollectibleControl(plat::TComponent* AOwner, plat::TClass ItemType);
    virtual std::string GetDisplayText() const;
    virtual void Changed() { FLink.NotifyChanged(); }

private:
    TPgcCollectionLink FLink;
};

} // namespace qel
