// The image lists a data tree shows without owning them: the normal and
// state images and the application's check pictures. The tree follows
// their changes through change links and hears of their end through free
// notifications, so that it never paints from a list that is gone.
#include "widgets/tree/base_data_tree.h"

#include "platform/canvas/image_list.h"

namespace qel {

void TBaseDataTree::CreateImageChangeLinks()
{
    for (std::unique_ptr<plat::TChangeLink>* link : {&FImageChangeLink, &FStateChangeLink, &FCustomCheckChangeLink}) {
        *link = std::make_unique<plat::TChangeLink>();
        (*link)->OnChange = [this](plat::TObject*) { ImageListChange(); };
    }
}

void TBaseDataTree::ImageListChange()
{
    if (!IsDestroying() && HandleAllocated()) {
        Invalidate();
    }
}

bool TBaseDataTree::HoldsImageList(const plat::TComponent* list) const
{
    return list != nullptr && (list == FImages || list == FStateImages || list == FCustomCheckImages ||
                               (FHeader && list == FHeader->Images()));
}

void TBaseDataTree::ExchangeImageList(plat::TCustomImageList*& field, plat::TCustomImageList* value,
                                      plat::TChangeLink& link)
{
    plat::TCustomImageList* const old = field;
    if (old != nullptr) {
        old->UnRegisterChanges(&link);
    }
    field = value;
    // One list may serve in several roles; it is let go when it serves in none.
    if (old != nullptr && !HoldsImageList(old)) {
        old->RemoveFreeNotification(this);
    }
    if (value != nullptr) {
        value->RegisterChanges(&link);
        value->FreeNotification(this);
    }
}

void TBaseDataTree::SetImages(plat::TCustomImageList* value)
{
    if (value == FImages) {
        return;
    }
    ExchangeImageList(FImages, value, *FImageChangeLink);
    if (!Loading()) {
        Invalidate();
    }
}

void TBaseDataTree::SetStateImages(plat::TCustomImageList* value)
{
    if (value == FStateImages) {
        return;
    }
    ExchangeImageList(FStateImages, value, *FStateChangeLink);
    if (!Loading() && HandleAllocated()) {
        Invalidate();
    }
}

void TBaseDataTree::SetCheckImageKind(TCheckImageKind value)
{
    if (value > ckSystemDefault) {
        value = ckSystemDefault;
    }
    if (value == FCheckImageKind) {
        return;
    }
    FCheckImageKind = value;
    if (value == ckCustom) {
        FCheckImages = FCustomCheckImages;
        FSystemCheckImages.reset();
    } else {
        FCheckImages = nullptr;
        if (HandleAllocated()) {
            FSystemCheckImages = CreateSystemCheckImages();
            FCheckImages = FSystemCheckImages.get();
        }
    }
    if (HandleAllocated() && !IsUpdating() && !Loading()) {
        Invalidate();
    }
}

void TBaseDataTree::SetCustomCheckImages(plat::TCustomImageList* value)
{
    if (value == FCustomCheckImages) {
        return;
    }
    if (FCheckImages == FCustomCheckImages) {
        FCheckImages = nullptr;
    }
    ExchangeImageList(FCustomCheckImages, value, *FCustomCheckChangeLink);
    if (value != nullptr) {
        FCheckImageKind = ckSystemDefault;   // so that the switch below takes effect
        SetCheckImageKind(ckCustom);
    } else {
        SetCheckImageKind(ckSystemDefault);
    }
    if (HandleAllocated() && !Loading()) {
        Invalidate();
    }
}

void TBaseDataTree::Notification(plat::TComponent* component, plat::TOperation operation)
{
    if (operation == plat::opRemove && component != nullptr && HoldsImageList(component)) {
        if (component == FImages) {
            FImages = nullptr;
        }
        if (component == FStateImages) {
            FStateImages = nullptr;
        }
        if (component == FCustomCheckImages) {
            if (FCheckImages == FCustomCheckImages) {
                FCheckImages = nullptr;
            }
            FCustomCheckImages = nullptr;
            SetCheckImageKind(ckSystemDefault);
        }
        if (!IsDestroying()) {
            Invalidate();
        }
    }
    if (operation == plat::opRemove && component != nullptr && FHeader) {
        FHeader->ComponentRemoved(component);
    }
    plat::TCustomControl::Notification(component, operation);
}

void TBaseDataTree::DetachImageLists()
{
    ExchangeImageList(FImages, nullptr, *FImageChangeLink);
    ExchangeImageList(FStateImages, nullptr, *FStateChangeLink);
    if (FCheckImages == FCustomCheckImages) {
        FCheckImages = nullptr;
    }
    ExchangeImageList(FCustomCheckImages, nullptr, *FCustomCheckChangeLink);
}

} // namespace qel
