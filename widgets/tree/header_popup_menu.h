// The header's column menu: a pop-up menu listing the tree's columns with
// check marks, where choosing an entry shows or hides its column, and two
// entries that fit the column under the pointer or all columns to their
// content. The header opens one by itself on a right click with
// hoAutoColumnPopupMenu; an application may also make it the header's menu.
#pragma once

#include "platform/controls/standard/popup_menu.h"
#include "platform/objects/set.h"
#include "widgets/tree/data_tree_events.h"

#include <string>

namespace qel {

class TBaseDataTree;

enum TDTHeaderPopupOption : std::uint8_t {
    poOriginalOrder,    // list the columns by index, not by position
    poAllowHideAll,     // the last visible column may be hidden too
    poResizeToFitItem,  // add the two fit entries
};
using TDTHeaderPopupOptions = plat::TSet<TDTHeaderPopupOption>;

// A column entry: a plain menu item whose Tag is the column's index.
class TDTMenuItem : public plat::TMenuItem {
    PLAT_CLASS(TDTMenuItem, plat::TMenuItem)
public:
    TDTMenuItem(plat::TComponent* owner, const std::string& caption, plat::TNotifyEvent clickHandler);
};

class TDTHeaderPopupMenu : public plat::TPopupMenu {
    PLAT_CLASS(TDTHeaderPopupMenu, plat::TPopupMenu)
public:
    explicit TDTHeaderPopupMenu(plat::TComponent* owner);

    TDTHeaderPopupOptions Options() const { return FOptions; }
    void SetOptions(TDTHeaderPopupOptions value) { FOptions = value; }

    // Rebuilds the entries when the menu opens for a tree, then shows it.
    void Popup(int x, int y) override;

    // The menu a right click opens with hoAutoColumnPopupMenu: owned by
    // the tree, its entries asked of the tree's OnHeaderAddPopupItem.
    static TDTHeaderPopupMenu* CreateAutoMenu(TBaseDataTree* tree);

    TDTHeaderAddPopupItemEvent OnAddHeaderPopupItem;
    TColumnChangeEvent OnColumnChange;

protected:
    virtual void DoAddHeaderPopupItem(TColumnIndex column, TAddPopupItemType& cmd);
    virtual void DoColumnChange(TColumnIndex column, bool visible);
    // A column entry was chosen: its column is shown or hidden.
    virtual void OnMenuItemClick(plat::TObject* sender);

private:
    TBaseDataTree* Tree() const;
    void FitColumnUnderPoint();
    void FitAllColumns();

    TDTHeaderPopupOptions FOptions{poResizeToFitItem};
};

} // namespace qel
