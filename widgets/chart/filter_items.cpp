// The filter list: adding, applying in order, assigning and its notifications.
#include "widgets/chart/filter_items.h"

namespace qel {

PLAT_DEFINE_CLASS(TFilterItems, plat::TOwnedCollection)

TFilterItems::TFilterItems(plat::TPersistent* Owner) : plat::TOwnedCollection(Owner, TChtFilter::StaticClass())
{
}

TChtFilter* TFilterItems::Add(TFilterClass FilterClass)
{
    return static_cast<TChtFilter*>(plat::TCollection::Add(FilterClass));
}

TChtFilter* TFilterItems::Item(int Index) const
{
    return static_cast<TChtFilter*>(Items(Index));
}

void TFilterItems::ApplyTo(plat::TBitmap& ABitmap)
{
    for (int Index = 0; Index < Count(); ++Index) {
        TChtFilter* Filter = Item(Index);
        if (Filter->Enabled()) {
            Filter->Apply(ABitmap);
        }
    }
}

void TFilterItems::Assign(const plat::TPersistent* Source)
{
    const auto* Other = dynamic_cast<const TFilterItems*>(Source);
    if (Other == nullptr) {
        plat::TOwnedCollection::Assign(Source);
        return;
    }
    if (Other == this) {
        return;
    }
    Clear();
    BeginUpdate();
    try {
        for (int Index = 0; Index < Other->Count(); ++Index) {
            const TChtFilter* SourceFilter = Other->Item(Index);
            Add(SourceFilter->ClassType())->Assign(SourceFilter);
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TFilterItems::Notify(plat::TCollectionItem* ListItem, plat::TCollectionNotification Action)
{
    plat::TOwnedCollection::Notify(ListItem, Action);
    OnChange(this);
}

void TFilterItems::Update(plat::TCollectionItem* ListItem)
{
    plat::TOwnedCollection::Update(ListItem);
    Changed = true;
}

} // namespace qel
