// TPgcCollection: items in index order and the change notification.
#include "widgets/pages/pgc_collection.h"

#include "widgets/pages/pgc_collectible.h"
#include "widgets/pages/pgc_collection_streamer.h"
#include "widgets/pages/pgc_component.h"

#include "platform/controls/form.h"

namespace qel {

PLAT_DEFINE_CLASS(TPgcCollection, plat::TPersistent)

namespace {

constexpr std::uint16_t kMsgItemClassNotSet = 30245;

// Clears a flag when the scope ends, however it ends.
class TFlagScope {
public:
    explicit TFlagScope(bool& flag) : FFlag(flag) { FFlag = true; }
    ~TFlagScope() { FFlag = false; }
    TFlagScope(const TFlagScope&) = delete;
    TFlagScope& operator=(const TFlagScope&) = delete;

private:
    bool& FFlag;
};

} // namespace

TPgcCollection::TPgcCollection(plat::TComponent* AOwner, plat::TClass ItemClass)
    : FItemClass(ItemClass), FOwner(AOwner), FStreamer(&NeedCollectionStreamerOf(AOwner))
{
    FStreamer->AddCollection(this);
}

TPgcCollection::~TPgcCollection()
{
    FStreamer->RemoveCollection(this);
    Clear();
}

void TPgcCollection::SetItem(int Index, plat::TComponent* Value)
{
    GetItem(Index)->Assign(Value);
}

plat::TComponent* TPgcCollection::Add()
{
    if (FItemClass == nullptr) {
        RaisePgcError(kMsgItemClassNotSet);
    }
    plat::TComponent* item = FItemClass->CreateAs<plat::TComponent>(FOwner);
    Changed();
    return item;
}

plat::TComponent* TPgcCollection::Insert(int Index)
{
    if (Index < 0 || Index > Count()) {
        Index = Count();
    }
    plat::TComponent* item = Add();
    if (auto* collectible = dynamic_cast<TPgcCollectible*>(item)) {
        collectible->SetIndex(Index);
        return item;
    }
    if (auto* control = dynamic_cast<TPgcCollectibleControl*>(item)) {
        control->SetIndex(Index);
        return item;
    }
    return nullptr;
}

void TPgcCollection::Delete(int Index)
{
    if (Index >= 0 && Index < Count()) {
        delete GetItem(Index);   // the item leaves the collection as it goes
    }
    Changed();
}

void TPgcCollection::Clear()
{
    for (int index = Count() - 1; index >= 0; --index) {
        plat::TComponent* item = FItems[index];
        if (!item->ComponentState().Contains(plat::csAncestor)) {
            delete item;
        }
    }
    while (Count() > 0) {
        delete FItems[0];
    }
}

plat::TComponent* TPgcCollection::ItemByName(std::string_view Name) const
{
    for (plat::TComponent* item : FItems) {
        if (item->Name() == Name) {
            return item;
        }
    }
    return nullptr;
}

plat::TCustomForm* TPgcCollection::ParentForm() const
{
    for (plat::TComponent* owner = FOwner; owner != nullptr; owner = owner->Owner()) {
        if (auto* form = dynamic_cast<plat::TCustomForm*>(owner)) {
            return form;
        }
    }
    return nullptr;
}

std::string TPgcCollection::GetEditorCaption() const
{
    std::string caption = "Editing " + std::string(ClassName());
    OnGetEditorCaption(caption);
    return caption;
}

void TPgcCollection::Changed()
{
    if (FInChanged) {
        return;
    }
    const TFlagScope changing(FInChanged);
    if (ParentForm() == nullptr) {
        return;
    }
    OnChanged(this);
}

void TPgcCollection::Loaded()
{
    {
        const TFlagScope loading(FInLoaded);
        Changed();
    }
    FIsLoaded = true;
}

} // namespace qel
