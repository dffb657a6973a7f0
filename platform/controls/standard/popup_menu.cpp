// TPopupMenu: opening the menu window and clicking the chosen item.
#include "platform/controls/standard/popup_menu.h"

#include "platform/controls/standard/menu_window.h"

namespace plat {

PLAT_DEFINE_CLASS(TPopupMenu, TComponent,
    Published("AutoPopup", &TPopupMenu::AutoPopup, &TPopupMenu::SetAutoPopup).Default(true))

TPopupMenu::TPopupMenu(TComponent* owner) : TComponent(owner), FItems(new TMenuItem(this)) {}

void TPopupMenu::SetPopupComponent(TComponent* value)
{
    if (value == FPopupComponent) {
        return;
    }
    if (FPopupComponent != nullptr) {
        FPopupComponent->RemoveFreeNotification(this);
    }
    FPopupComponent = value;
    if (value != nullptr) {
        value->FreeNotification(this);
    }
}

void TPopupMenu::SetImages(TCustomImageList* value)
{
    if (value == FImages) {
        return;
    }
    if (FImages != nullptr) {
        FImages->RemoveFreeNotification(this);
    }
    FImages = value;
    if (value != nullptr) {
        value->FreeNotification(this);
    }
}

void TPopupMenu::Notification(TComponent* component, TOperation operation)
{
    TComponent::Notification(component, operation);
    if (operation != opRemove) {
        return;
    }
    if (component == FPopupComponent) {
        FPopupComponent = nullptr;
    }
    if (component == FImages) {
        FImages = nullptr;
    }
    if (component == FItems) {
        FItems = nullptr;
    }
}

void TPopupMenu::Popup(int x, int y)
{
    FPopupPoint = Point(x, y);
    OnPopup(this);
    if (FItems == nullptr) {
        return;
    }
    if (TMenuItem* chosen = TMenuWindow::Track(*FItems, FPopupPoint, FImages)) {
        chosen->Click();
    }
}

void TPopupMenu::PopupFor(TComponent* popupComponent, TPoint screenPoint)
{
    SetPopupComponent(popupComponent);
    Popup(screenPoint.X, screenPoint.Y);
}

} // namespace plat
