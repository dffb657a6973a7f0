// TPgcCollectionStreamer: an owner's collections as its stream children.
#include "widgets/pages/pgc_collection_streamer.h"

#include "widgets/pages/pgc_base_controls.h"
#include "widgets/pages/pgc_collection.h"
#include "widgets/pages/pgc_component.h"

#include <algorithm>

namespace qel {

PLAT_DEFINE_CLASS(TPgcCollectionStreamer, plat::TObject)

namespace {

constexpr std::uint16_t kMsgWrongOwner = 30242;
constexpr std::uint16_t kMsgNoCollectionForType = 30246;

} // namespace

void TPgcCollectionStreamer::RemoveCollection(TPgcCollection* Collection)
{
    FCollectionList.erase(std::remove(FCollectionList.begin(), FCollectionList.end(), Collection),
                          FCollectionList.end());
}

TPgcCollection* TPgcCollectionStreamer::CollectionFromType(plat::TClass ItemType) const
{
    for (TPgcCollection* collection : FCollectionList) {
        if (collection->ItemClass() != nullptr && ItemType->InheritsFrom(collection->ItemClass())) {
            return collection;
        }
    }
    RaisePgcError(kMsgNoCollectionForType);
}

void TPgcCollectionStreamer::GetChildren(const plat::TGetChildProc& Proc) const
{
    for (const TPgcCollection* collection : FCollectionList) {
        if (!collection->Stored()) {
            continue;
        }
        for (int index = 0; index < collection->Count(); ++index) {
            Proc(collection->GetItem(index));
        }
    }
}

void TPgcCollectionStreamer::Loaded()
{
    for (std::size_t index = 0; index < FCollectionList.size(); ++index) {
        FCollectionList[index]->Loaded();
    }
}

void TPgcCollectionStreamer::Clear()
{
    for (std::size_t index = 0; index < FCollectionList.size(); ++index) {
        FCollectionList[index]->Clear();
    }
}

TPgcCollectionStreamer* CollectionStreamerOf(plat::TComponent* Owner)
{
    if (auto* component = dynamic_cast<TPgcComponent*>(Owner)) {
        return component->CollectionStreamer();
    }
    if (auto* control = dynamic_cast<TPgcCustomControl*>(Owner)) {
        return control->CollectionStreamer();
    }
    RaisePgcError(kMsgWrongOwner);
}

TPgcCollectionStreamer& NeedCollectionStreamerOf(plat::TComponent* Owner)
{
    if (auto* component = dynamic_cast<TPgcComponent*>(Owner)) {
        return component->NeedCollectionStreamer();
    }
    if (auto* control = dynamic_cast<TPgcCustomControl*>(Owner)) {
        return control->NeedCollectionStreamer();
    }
    RaisePgcError(kMsgWrongOwner);
}

} // namespace qel
