// TPopupMenu: a menu that opens at a screen point, by itself on a right
// click on a control whose PopupMenu it is (AutoPopup), or when the program
// calls Popup. Popup returns once the menu has closed; the item chosen, if
// any, has run its OnClick by then.
#pragma once

#include "platform/canvas/image_list.h"
#include "platform/controls/control.h"
#include "platform/controls/standard/menu_item.h"

namespace plat {

class TPopupMenu : public TComponent, public IPopupMenu {
    PLAT_CLASS(TPopupMenu, TComponent)
public:
    explicit TPopupMenu(TComponent* owner);

    // The root item; the menu shows its items.
    TMenuItem& Items() { return *FItems; }
    bool AutoPopup() const override { return FAutoPopup; }
    void SetAutoPopup(bool value) { FAutoPopup = value; }
    // The control the menu opened for (set by a right click).
    TComponent* PopupComponent() const { return FPopupComponent; }
    void SetPopupComponent(TComponent* value);
    // Where the menu last opened, on the screen.
    TPoint PopupPoint() const { return FPopupPoint; }
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* value);

    // Runs OnPopup, shows the menu at the screen point until it closes and
    // clicks the item chosen.
    virtual void Popup(int x, int y);
    void PopupFor(TComponent* popupComponent, TPoint screenPoint) override;

    TNotifyEvent OnPopup;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    TMenuItem* FItems;   // owned as a component of the menu
    bool FAutoPopup = true;
    TComponent* FPopupComponent = nullptr;
    TPoint FPopupPoint;
    TCustomImageList* FImages = nullptr;
};

} // namespace plat
