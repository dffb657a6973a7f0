// The library's visual bases: focus notifications, the wheel, the attached
// label's placement and the controller of a windowed control.
#include "widgets/pages/pgc_base_controls.h"

#include "widgets/pages/pgc_attached_label.h"
#include "widgets/pages/pgc_control_messages.h"
#include "widgets/pages/pgc_controller.h"
#include "widgets/pages/pgc_helpers.h"

#include "platform/controls/form.h"
#include "platform/controls/window_messages.h"

namespace qel {

namespace {

constexpr std::uint16_t kMsgLabelNotAttached = 30244;

} // namespace

PLAT_DEFINE_CLASS(TPgcGraphicControl, plat::TGraphicControl,
                  plat::Published("About", &TPgcGraphicControl::About, &TPgcGraphicControl::SetAbout).Stored(false))

PLAT_DEFINE_CLASS(TPgcLabelInfo, plat::TPersistent,
                  plat::Published("OffsetX", &TPgcLabelInfo::OffsetX, &TPgcLabelInfo::SetOffsetX)
                      .StoredIf(&TPgcLabelInfo::Visible),
                  plat::Published("OffsetY", &TPgcLabelInfo::OffsetY, &TPgcLabelInfo::SetOffsetY)
                      .StoredIf(&TPgcLabelInfo::Visible),
                  plat::Published("Visible", &TPgcLabelInfo::Visible, &TPgcLabelInfo::SetVisible).Default(false))

PLAT_DEFINE_CLASS(TPgcCustomControl, plat::TCustomControl,
                  plat::Published("About", &TPgcCustomControl::About, &TPgcCustomControl::SetAbout).Stored(false))

PLAT_DEFINE_CLASS(TPgcCustomControlEx, TPgcCustomControl)

PLAT_BEGIN_MESSAGES(TPgcCustomControl, plat::TCustomControl)
    PLAT_MESSAGE(plat::WM_SETFOCUS, WMSetFocus)
    PLAT_MESSAGE(plat::WM_KILLFOCUS, WMKillFocus)
    PLAT_MESSAGE(plat::WM_MOUSEWHEEL, WMMouseWheel)
    PLAT_MESSAGE(plat::CM_VISIBLECHANGED, CMVisibleChanged)
    PLAT_MESSAGE(PGCM_AFTERENTER, PgcmAfterEnter)
    PLAT_MESSAGE(PGCM_AFTEREXIT, PgcmAfterExit)
    PLAT_MESSAGE(PGCM_POSITIONLABEL, PgcmPositionLabel)
    PLAT_MESSAGE(PGCM_LABELMOVED, PgcmLabelMoved)
    PLAT_MESSAGE(PGCM_ASSIGNLABEL, PgcmAssignLabel)
PLAT_END_MESSAGES

plat::TWinControl* FindParentFormOrFrame(const plat::TControl* Control)
{
    for (plat::TWinControl* parent = Control != nullptr ? Control->Parent() : nullptr; parent != nullptr;
         parent = parent->Parent()) {
        if (dynamic_cast<plat::TCustomForm*>(parent) != nullptr || dynamic_cast<plat::TCustomFrame*>(parent) != nullptr) {
            return parent;
        }
    }
    return nullptr;
}

// ---- TPgcLabelInfo ----

void TPgcLabelInfo::SetOffsetX(int Value)
{
    SetOffsets(Value, FOffsetY);
}

void TPgcLabelInfo::SetOffsetY(int Value)
{
    SetOffsets(FOffsetX, Value);
}

void TPgcLabelInfo::SetOffsets(int X, int Y)
{
    if (X == FOffsetX && Y == FOffsetY) {
        return;
    }
    FOffsetX = X;
    FOffsetY = Y;
    OnChange(this);
}

void TPgcLabelInfo::SetVisible(bool Value)
{
    if (Value == FVisible) {
        return;
    }
    FVisible = Value;
    OnAttach(this, Value);
}

// ---- TPgcCustomControl ----

TPgcCustomControl::TPgcCustomControl(plat::TComponent* AOwner)
    : TPgcCollectionOwner(AOwner), FLabelInfo(std::make_unique<TPgcLabelInfo>())
{
    FLabelInfo->OnChange = plat::TNotifyEvent(this, &TPgcCustomControl::LabelChange);
    FLabelInfo->OnAttach = TPgcAttachEvent(this, &TPgcCustomControl::LabelAttach);
}

TPgcCustomControl::~TPgcCustomControl()
{
    FLabelInfo->OnChange = nullptr;
    FLabelInfo->OnAttach = nullptr;
    FLabelInfo->SetVisibleFlag(false);
    FreeLabel();
}

TPgcAttachedLabel* TPgcCustomControl::AttachedLabel() const
{
    if (!FLabelInfo->Visible()) {
        RaisePgcError(kMsgLabelNotAttached);
    }
    return FLabelInfo->ALabel;
}

void TPgcCustomControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    TPgcCollectionOwner::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (FHandle != 0) {
        PostToSelf(PGCM_POSITIONLABEL);
    }
}

void TPgcCustomControl::PostToSelf(plat::UINT Msg)
{
    plat::PostMessage(FHandle, Msg, 0, 0);
}

void TPgcCustomControl::Notification(plat::TComponent* AComponent, plat::TOperation Operation)
{
    TPgcCollectionOwner::Notification(AComponent, Operation);
    if (Operation != plat::opRemove || AComponent == nullptr || AComponent != FLabelInfo->ALabel) {
        return;
    }
    // The label is gone: forget it in any case, so that nothing frees it twice.
    FLabelInfo->ALabel = nullptr;
    const plat::TWinControl* form = FindParentFormOrFrame(this);
    if (form != nullptr && !form->ComponentState().Contains(plat::csDestroying)) {
        FLabelInfo->SetVisibleFlag(false);
    }
}

void TPgcCustomControl::DoOnMouseWheel(plat::TShiftState Shift, std::uint16_t Delta, std::uint16_t XPos,
                                       std::uint16_t YPos)
{
    OnMouseWheel(this, Shift, Delta, XPos, YPos);
}

void TPgcCustomControl::WMSetFocus(plat::TMessage& Msg)
{
    Inherited(Msg);
    PostToSelf(PGCM_AFTERENTER);
}

void TPgcCustomControl::WMKillFocus(plat::TMessage& Msg)
{
    Inherited(Msg);
    PostToSelf(PGCM_AFTEREXIT);
}

void TPgcCustomControl::WMMouseWheel(plat::TMessage& Msg)
{
    const auto keys = plat::LOWORD(Msg.WParam);
    const auto position = static_cast<std::uintptr_t>(Msg.LParam);
    DoOnMouseWheel(plat::KeysToShiftState(keys), plat::HIWORD(Msg.WParam), plat::LOWORD(position),
                   plat::HIWORD(position));
}

void TPgcCustomControl::CMVisibleChanged(plat::TMessage& Msg)
{
    Inherited(Msg);
    if (!Loading() && FLabelInfo->Visible() && FLabelInfo->ALabel != nullptr) {
        FLabelInfo->ALabel->SetVisible(Visible());
    }
}

void TPgcCustomControl::PgcmAfterEnter(plat::TMessage&)
{
    AfterEnter(this);
}

void TPgcCustomControl::PgcmAfterExit(plat::TMessage&)
{
    AfterExit(this);
}

void TPgcCustomControl::PgcmPositionLabel(plat::TMessage&)
{
    if (!LabelPlaceable()) {
        return;
    }
    const plat::TPoint present = PresentLabelOffsets();
    if (present.X != FLabelInfo->OffsetX() || present.Y != FLabelInfo->OffsetY()) {
        PositionLabel();
    }
}

void TPgcCustomControl::PgcmLabelMoved(plat::TMessage&)
{
    TPgcAttachedLabel* label = FLabelInfo->ALabel;
    if (label == nullptr || label->Parent() == nullptr) {
        return;
    }
    FLabelInfo->SetVisibleFlag(true);
    const plat::TPoint present = PresentLabelOffsets();
    FLabelInfo->SetOffsets(present.X, present.Y);
}

void TPgcCustomControl::PgcmAssignLabel(plat::TMessage& Msg)
{
    auto* label = reinterpret_cast<TPgcAttachedLabel*>(Msg.LParam);
    FLabelInfo->ALabel = label;
    if (label != nullptr) {
        label->FreeNotification(this);
    }
}

void TPgcCustomControl::LabelChange(plat::TObject*)
{
    if (!Loading()) {
        PositionLabel();
    }
}

void TPgcCustomControl::LabelAttach(plat::TObject*, bool Value)
{
    plat::TWinControl* form = FindParentFormOrFrame(this);
    if (Loading() || form == nullptr) {
        return;
    }
    if (Value) {
        CreateLabel(form);
    } else {
        FreeLabel();
    }
}

void TPgcCustomControl::CreateLabel(plat::TWinControl* FormOrFrame)
{
    FreeLabel();
    // Made without its control, so that it tells nothing while it is set up.
    auto* label = new TPgcAttachedLabel(FormOrFrame);
    FLabelInfo->ALabel = label;
    label->FreeNotification(this);
    label->SetParent(Parent());
    const std::string name = UniqueComponentName(FormOrFrame, Name() + "Label");
    label->SetName(name);
    label->SetCaption(name);
    label->SetControl(this);
    label->SetFocusControl(this);
    FLabelInfo->SetOffsets(0, 0);
    PositionLabel();
    label->BringToFront();
    label->SetAutoSize(true);
}

void TPgcCustomControl::FreeLabel()
{
    // Forgotten first, so that its removal notice finds nothing to clear.
    TPgcAttachedLabel* label = FLabelInfo->ALabel;
    FLabelInfo->ALabel = nullptr;
    delete label;
}

bool TPgcCustomControl::LabelPlaceable() const
{
    const TPgcAttachedLabel* label = FLabelInfo->ALabel;
    return FLabelInfo->Visible() && label != nullptr && label->Parent() != nullptr && !Loading();
}

void TPgcCustomControl::PositionLabel()
{
    if (!LabelPlaceable()) {
        return;
    }
    TPgcAttachedLabel* label = FLabelInfo->ALabel;
    const int left = Left() + FLabelInfo->OffsetX();
    const int top = DefaultLabelPosition == lpTopLeft ? Top() + FLabelInfo->OffsetY() - label->Height()
                                                      : Top() + Height() + FLabelInfo->OffsetY();
    label->PlaceAt(left, top);
}

plat::TPoint TPgcCustomControl::PresentLabelOffsets() const
{
    const TPgcAttachedLabel* label = FLabelInfo->ALabel;
    const int x = label->Left() - Left();
    const int y = DefaultLabelPosition == lpTopLeft ? label->Top() + label->Height() - Top()
                                                    : label->Top() - Top() - Height();
    return plat::TPoint{x, y};
}

// ---- TPgcCustomControlEx ----

TPgcController* TPgcCustomControlEx::Controller() const
{
    return FController != nullptr ? FController : DefaultController();
}

void TPgcCustomControlEx::SetController(plat::TComponent* Value)
{
    AttachController(dynamic_cast<TPgcController*>(Value));
}

void TPgcCustomControlEx::AttachController(TPgcController* Value)
{
    FController = Value;
    if (Value != nullptr) {
        Value->FreeNotification(this);
    }
}

void TPgcCustomControlEx::Notification(plat::TComponent* AComponent, plat::TOperation Operation)
{
    TPgcCustomControl::Notification(AComponent, Operation);
    if (Operation == plat::opRemove && AComponent != nullptr && AComponent == FController) {
        FController = nullptr;
    } else if (Operation == plat::opInsert && FController == nullptr) {
        if (auto* controller = dynamic_cast<TPgcController*>(AComponent)) {
            AttachController(controller);
        }
    }
}

void TPgcCustomControlEx::CreateWnd()
{
    if (FController == nullptr && !Loading()) {
        TPgcController* found = nullptr;
        if (const plat::TWinControl* form = FindParentFormOrFrame(this)) {
            for (int index = 0; index < form->ComponentCount() && found == nullptr; ++index) {
                found = dynamic_cast<TPgcController*>(form->Components(index));
            }
        }
        AttachController(found != nullptr ? found : DefaultController());
    }
    TPgcCustomControl::CreateWnd();
}

} // namespace qel
