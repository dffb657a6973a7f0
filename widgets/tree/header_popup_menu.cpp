// The header's column menu: its entries rebuilt at every opening, check
// marks that show and hide columns, the last visible column kept, and the
// fit entries.
#include "widgets/tree/header_popup_menu.h"

#include "widgets/tree/base_data_tree.h"
#include "widgets/tree/data_tree_column.h"
#include "widgets/tree/data_tree_columns.h"
#include "widgets/tree/dt_header.h"

namespace qel {

PLAT_DEFINE_CLASS(TDTMenuItem, plat::TMenuItem)
PLAT_DEFINE_CLASS(TDTHeaderPopupMenu, plat::TPopupMenu)

namespace {

const char* const SizeColumnToFit = "Size &Column to Fit";
const char* const SizeAllColumnsToFit = "Size &All Columns to Fit";

} // namespace

TDTMenuItem::TDTMenuItem(plat::TComponent* owner, const std::string& caption, plat::TNotifyEvent clickHandler)
    : plat::TMenuItem(owner)
{
    SetCaption(caption);
    OnClick = std::move(clickHandler);
}

TDTHeaderPopupMenu::TDTHeaderPopupMenu(plat::TComponent* owner) : plat::TPopupMenu(owner) {}

TBaseDataTree* TDTHeaderPopupMenu::Tree() const
{
    return dynamic_cast<TBaseDataTree*>(PopupComponent());
}

TDTHeaderPopupMenu* TDTHeaderPopupMenu::CreateAutoMenu(TBaseDataTree* tree)
{
    auto* menu = new TDTHeaderPopupMenu(tree);
    menu->OnAddHeaderPopupItem = [tree](plat::TObject*, TColumnIndex column, TAddPopupItemType& cmd) {
        tree->DoHeaderAddPopupItem(column, cmd);
    };
    menu->SetPopupComponent(tree);
    const TDTHeaderOptions options = tree->Header()->Options();
    TDTHeaderPopupOptions popupOptions = menu->Options();
    if ((options.Contains(hoDblClickResize) && tree->RootNodeCount() > 0) ||
        options.Contains(hoAutoResizeInclCaption)) {
        popupOptions.Include(poResizeToFitItem);
    } else {
        popupOptions.Exclude(poResizeToFitItem);
    }
    menu->SetOptions(popupOptions);
    return menu;
}

void TDTHeaderPopupMenu::DoAddHeaderPopupItem(TColumnIndex column, TAddPopupItemType& cmd)
{
    cmd = apNormal;
    if (OnAddHeaderPopupItem) {
        OnAddHeaderPopupItem(Tree(), column, cmd);
    }
}

void TDTHeaderPopupMenu::DoColumnChange(TColumnIndex column, bool visible)
{
    if (OnColumnChange) {
        OnColumnChange(Tree(), column, visible);
    }
}

void TDTHeaderPopupMenu::Popup(int x, int y)
{
    TBaseDataTree* tree = Tree();
    if (tree != nullptr) {
        plat::TMenuItem& items = Items();
        for (int i = items.Count() - 1; i >= 0; --i) {
            if (dynamic_cast<TDTMenuItem*>(items.Items(i)) != nullptr) {
                items.Delete(i);
            }
        }
        if (FOptions.Contains(poResizeToFitItem)) {
            items.Add(new TDTMenuItem(this, SizeColumnToFit, [this](plat::TObject*) { FitColumnUnderPoint(); }));
            items.Add(new TDTMenuItem(this, SizeAllColumnsToFit, [this](plat::TObject*) { FitAllColumns(); }));
            items.Add(new TDTMenuItem(this, "-", nullptr));
        }
        TDTHeader* header = tree->Header();
        SetImages(header->Options().Contains(hoShowImages) ? header->Images() : nullptr);
        const TDataTreeColumns& columns = header->Columns();
        int visibleCount = 0;
        TDTMenuItem* lastVisible = nullptr;
        bool lastVisibleDisabled = false;
        for (int i = 0; i < columns.Count(); ++i) {
            const TColumnIndex index = FOptions.Contains(poOriginalOrder) ? i : columns.ColumnFromPosition(i);
            const TDataTreeColumn* column = columns.Items(index);
            TAddPopupItemType cmd = apNormal;
            DoAddHeaderPopupItem(index, cmd);
            TDTMenuItem* entry = nullptr;
            if (cmd != apHidden) {
                entry = new TDTMenuItem(this, column->Text(), [this](plat::TObject* sender) { OnMenuItemClick(sender); });
                entry->SetTag(index);
                entry->SetHint(column->Hint());
                entry->SetImageIndex(column->ImageIndex());
                entry->SetChecked(column->Options().Contains(coVisible));
                entry->SetEnabled(cmd != apDisabled);
                items.Add(entry);
            }
            if (column->Options().Contains(coVisible)) {
                ++visibleCount;
                lastVisible = entry;
                lastVisibleDisabled = cmd == apDisabled;
            }
        }
        if (visibleCount == 1 && lastVisible != nullptr && !lastVisibleDisabled &&
            !FOptions.Contains(poAllowHideAll)) {
            lastVisible->SetEnabled(false);
        }
    }
    plat::TPopupMenu::Popup(x, y);
}

void TDTHeaderPopupMenu::OnMenuItemClick(plat::TObject* sender)
{
    TBaseDataTree* tree = Tree();
    auto* item = dynamic_cast<plat::TMenuItem*>(sender);
    if (tree == nullptr || item == nullptr) {
        return;
    }
    const auto index = static_cast<TColumnIndex>(item->Tag());
    TDataTreeColumns& columns = tree->Header()->Columns();
    if (!columns.IsValidColumn(index)) {
        return;
    }
    TDataTreeColumn* column = columns.Items(index);
    if (item->Checked()) {
        column->SetOptions(column->Options() - TDTColumnOptions{coVisible});
    } else {
        column->SetOptions(column->Options() + TDTColumnOptions{coVisible});
    }
    DoColumnChange(index, column->Options().Contains(coVisible));
}

void TDTHeaderPopupMenu::FitColumnUnderPoint()
{
    TBaseDataTree* tree = Tree();
    if (tree == nullptr) {
        return;
    }
    TDTHeader* header = tree->Header();
    plat::TPoint p = PopupPoint();
    p.Y += header->Height();
    p = tree->ScreenToClient(p);
    const TColumnIndex column = header->Columns().ColumnFromPosition(p, true);
    if (column != InvalidColumn && header->Columns().IsValidColumn(column)) {
        const int position = static_cast<int>(header->Columns().Items(column)->Position());
        header->AutoFitColumns(true, smaUseColumnOption, position, position);
    }
}

void TBaseDataTree::DoHeaderAddPopupItem(TColumnIndex column, TAddPopupItemType& cmd)
{
    if (OnHeaderAddPopupItem) {
        OnHeaderAddPopupItem(this, column, cmd);
    }
}

void TDTHeaderPopupMenu::FitAllColumns()
{
    if (TBaseDataTree* tree = Tree()) {
        tree->Header()->AutoFitColumns();
    }
}

} // namespace qel
