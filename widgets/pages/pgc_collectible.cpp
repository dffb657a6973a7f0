// Collection items: joining, moving and leaving a collection.
#include "widgets/pages/pgc_collectible.h"

#include "widgets/pages/pgc_collection.h"
#include "widgets/pages/pgc_collection_streamer.h"

#include "platform/object_list.h"

namespace qel {

PLAT_DEFINE_CLASS(TPgcCollectible, TPgcComponent)
PLAT_DEFINE_CLASS(TPgcCollectibleControl, TPgcCustomControl)

namespace {

constexpr std::uint16_t kMsgNoCollection = 30241;
constexpr std::uint16_t kMsgIncompatibleItem = 30243;

} // namespace

// ---- TPgcCollectionLink ----

void TPgcCollectionLink::JoinOwnerCollection(plat::TComponent* Item, plat::TClass ItemType, plat::TComponent* Owner)
{
    const TPgcCollectionStreamer* streamer = CollectionStreamerOf(Owner);
    if (streamer == nullptr) {
        RaisePgcError(kMsgNoCollection);
    }
    MoveTo(Item, ItemType, streamer->CollectionFromType(ItemType));
}

void TPgcCollectionLink::MoveTo(plat::TComponent* Item, plat::TClass ItemType, TPgcCollection* NewCollection)
{
    if (NewCollection == FCollection) {
        return;
    }
    // Checked before the item leaves its collection, so that a refusal
    // changes nothing.
    if (NewCollection != nullptr && !ItemType->InheritsFrom(NewCollection->ItemClass())) {
        RaisePgcError(kMsgIncompatibleItem);
    }
    if (FCollection != nullptr) {
        FCollection->FItems.Remove(Item);
    }
    if (NewCollection != nullptr) {
        NewCollection->FItems.Add(Item);
    }
    FCollection = NewCollection;
}

int TPgcCollectionLink::Index(const plat::TComponent* Item) const
{
    return FCollection != nullptr ? FCollection->FItems.IndexOf(Item) : -1;
}

bool TPgcCollectionLink::SetIndex(plat::TComponent* Item, int Value)
{
    const int current = Index(Item);
    if (FCollection == nullptr || Value == current) {
        return false;
    }
    if (Value < 0 || Value >= FCollection->Count()) {
        throw plat::EListError(Value);
    }
    FCollection->FItems.Move(current, Value);
    return true;
}

void TPgcCollectionLink::NotifyChanged()
{
    if (InChanged || FCollection == nullptr) {
        return;
    }
    InChanged = true;
    try {
        FCollection->Changed();
    } catch (...) {
        InChanged = false;
        throw;
    }
    InChanged = false;
}

// ---- TPgcCollectible ----

TPgcCollectible::TPgcCollectible(plat::TComponent* AOwner, plat::TClass ItemType) : TPgcComponent(AOwner)
{
    FLink.JoinOwnerCollection(this, ItemType, AOwner);
}

TPgcCollectible::~TPgcCollectible()
{
    FLink.MoveTo(this, ClassType(), nullptr);
}

void TPgcCollectible::SetIndex(int Value)
{
    if (FLink.SetIndex(this, Value)) {
        Changed();
    }
}

std::string TPgcCollectible::GetDisplayText() const
{
    return std::string(ClassName());
}

// ---- TPgcCollectibleControl ----

TPgcCollectibleControl::TPgcCollectibleControl(plat::TComponent* AOwner, plat::TClass ItemType)
    : TPgcCustomControl(AOwner)
{
    FLink.JoinOwnerCollection(this, ItemType, AOwner);
}

TPgcCollectibleControl::~TPgcCollectibleControl()
{
    FLink.MoveTo(this, ClassType(), nullptr);
}

void TPgcCollectibleControl::SetIndex(int Value)
{
    if (FLink.SetIndex(this, Value)) {
        Changed();
    }
}

std::string TPgcCollectibleControl::GetDisplayText() const
{
    return std::string(ClassName());
}

void TPgcCollectibleControl::SetName(const std::string& NewName)
{
    TPgcCustomControl::SetName(NewName);
    if (!Loading()) {
        Changed();
    }
}

} // namespace qel
