// TPgcAttachedLabel: a caption label that keeps its control informed.
#include "widgets/pages/pgc_attached_label.h"

#include "widgets/pages/pgc_base_controls.h"
#include "widgets/pages/pgc_control_messages.h"

namespace qel {

PLAT_DEFINE_CLASS(TPgcAttachedLabel, plat::TLabel,
                  plat::Published("Control", &TPgcAttachedLabel::Control, &TPgcAttachedLabel::SetControl))

void TPgcAttachedLabel::SetControl(plat::TWinControl* Value)
{
    if (Value == FControl) {
        return;
    }
    if (FControl != nullptr) {
        FControl->RemoveFreeNotification(this);
    }
    FControl = Value;
    if (Value != nullptr) {
        Value->FreeNotification(this);
    }
}

void TPgcAttachedLabel::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    plat::TLabel::SetBounds(ALeft, ATop, AWidth, AHeight);
    AnnounceToControl();
}

void TPgcAttachedLabel::PlaceAt(int ALeft, int ATop)
{
    FPlacing = true;
    try {
        SetBounds(ALeft, ATop, Width(), Height());
    } catch (...) {
        FPlacing = false;
        throw;
    }
    FPlacing = false;
}

void TPgcAttachedLabel::Loaded()
{
    plat::TLabel::Loaded();
    AnnounceToControl();
}

void TPgcAttachedLabel::Notification(plat::TComponent* AComponent, plat::TOperation Operation)
{
    plat::TLabel::Notification(AComponent, Operation);
    if (Operation == plat::opRemove && AComponent != nullptr && AComponent == FControl) {
        FControl = nullptr;
    }
}

void TPgcAttachedLabel::AnnounceToControl()
{
    const plat::TComponentState state = ComponentState();
    if (state.Contains(plat::csLoading) || state.Contains(plat::csDestroying) || FControl == nullptr || FPlacing) {
        return;
    }
    const plat::TWinControl* form = FindParentFormOrFrame(this);
    if (form == nullptr || FControl->Owner() != form) {
        return;
    }
    FControl->Perform(PGCM_ASSIGNLABEL, 0, reinterpret_cast<plat::LPARAM>(this));
    if (FControl->HandleAllocated()) {
        plat::PostMessage(FControl->Handle(), PGCM_LABELMOVED, 0, 0);
    } else {
        FControl->Perform(PGCM_LABELMOVED, 0, 0);
    }
}

} // namespace qel
