// TFilterItems: the ordered filter list of a chart picture. Filters run in
// index order, each on the result of the ones before; disabled ones are
// skipped.
#pragma once

#include "widgets/chart/chart_filter.h"

#include "platform/objects/collection.h"
#include "platform/objects/events.h"

namespace plat {
class TBitmap;
} // namespace plat

namespace qel {

class TFilterItems : public plat::TOwnedCollection {
    PLAT_CLASS(TFilterItems, plat::TOwnedCollection)
public:
    explicit TFilterItems(plat::TPersistent* Owner);

    // A new filter of FilterClass at the end of the list.
    TChtFilter* Add(TFilterClass FilterClass);
    TChtFilter* Item(int Index) const;

    // Each enabled filter's Apply, from index 0 upward.
    void ApplyTo(plat::TBitmap& ABitmap);

    // From another list: its filters' classes in order, each assigned from
    // the source's; any other source goes to the collection's Assign.
    void Assign(const plat::TPersistent* Source) override;

    // Told, with the list as sender, when a filter joins or leaves.
    plat::TNotifyEvent OnChange;
    // Set by every update notification; nothing clears it.
    bool Changed = false;

protected:
    void Notify(plat::TCollectionItem* ListItem, plat::TCollectionNotification Action) override;
    void Update(plat::TCollectionItem* ListItem) override;
};

} // namespace qel
