// TPgcCollectionStreamer: the list of collections a component owns, which
// makes their items the component's children in the component stream.
// TPgcCollectionOwner<TBase> gives a component class its streamer: made by
// its first collection, it answers the children the filer writes (the items
// of every stored collection), is the owner of the children read, and runs
// the collections' loaded step before the component's own.
#pragma once

#include "platform/objects/component.h"

#include <memory>
#include <vector>

namespace qel {

class TPgcCollection;

class TPgcCollectionStreamer : public plat::TObject {
    PLAT_CLASS(TPgcCollectionStreamer, plat::TObject)
public:
    explicit TPgcCollectionStreamer(plat::TComponent* AOwner) : FOwner(AOwner) {}

    plat::TComponent* Owner() const { return FOwner; }
    void AddCollection(TPgcCollection* Collection) { FCollectionList.push_back(Collection); }
    void RemoveCollection(TPgcCollection* Collection);

    // The first collection whose item class is ItemType or one of its
    // ancestors; raises "No collection found for this type" (30246) when
    // none takes it.
    TPgcCollection* CollectionFromType(plat::TClass ItemType) const;
    // The items of every stored collection, collections in list order,
    // items in index order.
    void GetChildren(const plat::TGetChildProc& Proc) const;
    // Each collection's change notification, marked as its loaded step.
    void Loaded();
    void Clear();

private:
    plat::TComponent* FOwner;
    std::vector<TPgcCollection*> FCollectionList;   // not owned
};

template <class TBase>
class TPgcCollectionOwner : public TBase {
public:
    using TBase::TBase;

    // The streamer, nullptr until the first collection is made.
    TPgcCollectionStreamer* CollectionStreamer() const { return FCollectionStreamer.get(); }
    TPgcCollectionStreamer& NeedCollectionStreamer()
    {
        if (!FCollectionStreamer) {
            FCollectionStreamer = std::make_unique<TPgcCollectionStreamer>(this);
        }
        return *FCollectionStreamer;
    }

    void GetChildren(const plat::TGetChildProc& Proc, plat::TComponent* Root) override
    {
        if (FCollectionStreamer) {
            FCollectionStreamer->GetChildren(Proc);
        } else {
            TBase::GetChildren(Proc, Root);
        }
    }
    plat::TComponent* GetChildOwner() override
    {
        return FCollectionStreamer ? FCollectionStreamer->Owner() : TBase::GetChildOwner();
    }

protected:
    void Loaded() override
    {
        if (FCollectionStreamer) {
            FCollectionStreamer->Loaded();
        }
        TBase::Loaded();
    }

private:
    std::unique_ptr<TPgcCollectionStreamer> FCollectionStreamer;
};

// The streamer of a component that may own collections (a TPgcComponent or
// a TPgcCustomControl), made when it has none; for any other component
// (nullptr included) raises "Owner must be a TPgcComponent or
// TPgcCustomComponent descendant" (30242).
TPgcCollectionStreamer& NeedCollectionStreamerOf(plat::TComponent* Owner);
// The same without making one: nullptr while it has none.
TPgcCollectionStreamer* CollectionStreamerOf(plat::TComponent* Owner);

} // namespace qel
