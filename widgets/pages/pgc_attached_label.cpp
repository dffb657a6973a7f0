// TPgcAttachedLabel: a caption label that keeps its control informed.
#include "widgets/pages/pgc_attached_label.h"

#include "widgets/pages/pgc_base_controls.h"
#include "widgets/pages/pgc_control_messages.h"

namespace qel {

PLAT_DEFINE_CLASS(TPgcAttachedLabel, plat::TGraphicControl,
                  plat::Published("Control", &TPgcAttachedLabel::Control, &TPgcAttachedLabel::SetControl))

PLAT_BEGIN_MESSAGES(TPgcAttachedLabel, plat::TGraphicControl)
    PLAT_MESSAGE(plat::CM_TEXTCHANGED, CMTextChanged)
    PLAT_MESSAGE(plat::CM_FONTCHANGED, CMFontChanged)
PLAT_END_MESSAGES

TPgcAttachedLabel::TPgcAttachedLabel(plat::TComponent* AOwner) : plat::TGraphicControl(AOwner)
{
    SetParentColor(true);
    SetParentFont(true);
    AdjustBounds();
}

void TPgcAttachedLabel::Watch(plat::TWinControl* Control)
{
    if (Control != nullptr) {
        Control->FreeNotification(this);
    }
}

void TPgcAttachedLabel::SetControl(plat::TWinControl* Value)
{
    FControl = Value;
    Watch(Value);
}

void TPgcAttachedLabel::SetFocusControl(plat::TWinControl* Value)
{
    FFocusControl = Value;
    Watch(Value);
}

void TPgcAttachedLabel::SetAutoSize(bool Value)
{
    if (Value == FAutoSize) {
        return;
    }
    FAutoSize = Value;
    AdjustBounds();
}

void TPgcAttachedLabel::SetTransparent(bool Value)
{
    if (Value == FTransparent) {
        return;
    }
    FTransparent = Value;
    Invalidate();
}

void TPgcAttachedLabel::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    plat::TGraphicControl::SetBounds(ALeft, ATop, AWidth, AHeight);
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
    plat::TGraphicControl::Loaded();
    AnnounceToControl();
}

void TPgcAttachedLabel::Notification(plat::TComponent* AComponent, plat::TOperation Operation)
{
    plat::TGraphicControl::Notification(AComponent, Operation);
    if (Operation != plat::opRemove || AComponent == nullptr) {
        return;
    }
    if (AComponent == FControl) {
        FControl = nullptr;
    }
    if (AComponent == FFocusControl) {
        FFocusControl = nullptr;
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

void TPgcAttachedLabel::AdjustBounds()
{
    if (!FAutoSize) {
        return;
    }
    plat::TCanvas* canvas = Canvas();
    canvas->Font()->Assign(Font());
    const plat::TSize line = canvas->TextExtent(Caption().empty() ? " " : Caption());
    const int width = Caption().empty() ? 0 : line.cx;
    SetBounds(Left(), Top(), width, line.cy);
}

void TPgcAttachedLabel::Paint()
{
    plat::TCanvas* canvas = Canvas();
    if (!FTransparent) {
        canvas->Brush()->SetStyle(plat::bsSolid);
        canvas->Brush()->SetColor(Color());
        canvas->FillRect(ClientRect());
    }
    canvas->Brush()->SetStyle(plat::bsClear);
    canvas->Font()->Assign(Font());
    canvas->TextOut(0, 0, Caption());
}

void TPgcAttachedLabel::CMTextChanged(plat::TMessage& Msg)
{
    Inherited(Msg);
    AdjustBounds();
    Invalidate();
}

void TPgcAttachedLabel::CMFontChanged(plat::TMessage& Msg)
{
    Inherited(Msg);
    AdjustBounds();
}

} // namespace qel
