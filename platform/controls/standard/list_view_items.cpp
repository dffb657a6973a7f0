// Columns and rows of the list view, and how their changes reach it.
#include "platform/controls/standard/list_view_items.h"

#include "platform/controls/standard/list_view.h"
#include "platform/object_list.h"

#include <algorithm>

namespace plat {

PLAT_DEFINE_CLASS(TListColumn, TCollectionItem,
    Published("Alignment", &TListColumn::Alignment, &TListColumn::SetAlignment,
              {"taLeftJustify", "taRightJustify", "taCenter"}).Default(taLeftJustify),
    Published("Caption", &TListColumn::Caption, &TListColumn::SetCaption).Default(""),
    Published("Width", &TListColumn::Width, &TListColumn::SetWidth).Default(50))
PLAT_DEFINE_CLASS(TListColumns, TOwnedCollection)
PLAT_DEFINE_CLASS(TListItem, TPersistent)
PLAT_DEFINE_CLASS(TListItems, TPersistent)

TListColumn::TListColumn(TCollection* collection) : TCollectionItem(collection) {}

void TListColumn::SetCaption(const std::string& value)
{
    if (value != FCaption) {
        FCaption = value;
        Changed(false);
    }
}

void TListColumn::SetWidth(int value)
{
    if (value == ColumnTextWidth || value == ColumnHeaderWidth) {
        auto* columns = dynamic_cast<TListColumns*>(Collection());
        value = columns != nullptr ? columns->Owner().FittingWidth(Index(), value == ColumnHeaderWidth) : FWidth;
    }
    value = std::max(value, 0);
    if (value != FWidth) {
        FWidth = value;
        Changed(false);
    }
}

void TListColumn::SetAlignment(TAlignment value)
{
    if (value != FAlignment) {
        FAlignment = value;
        Changed(false);
    }
}

TListColumns::TListColumns(TListView& owner)
    : TOwnedCollection(&owner, TListColumn::StaticClass()), FOwner(owner)
{
}

void TListColumns::Update(TCollectionItem*)
{
    FOwner.ColumnsChanged();
}

TListItem::TListItem(TListItems& owner) : FOwner(owner), FSubItems(std::make_unique<TStringList>())
{
    FSubItems->OnChange = TNotifyEvent(this, &TListItem::SubItemsChanged);
}

TListItem::~TListItem()
{
    FSubItems->OnChange = nullptr;
}

void TListItem::SetCaption(const std::string& value)
{
    if (value != FCaption) {
        FCaption = value;
        FOwner.Changed();
    }
}

void TListItem::SetChecked(bool value)
{
    if (value != FChecked) {
        FChecked = value;
        FOwner.Owner().ItemChecked(this);
    }
}

int TListItem::Index() const
{
    return FOwner.IndexOf(this);
}

std::string TListItem::CellText(int column) const
{
    if (column == 0) {
        return FCaption;
    }
    return column > 0 && column <= FSubItems->Count() ? FSubItems->Get(column - 1) : std::string();
}

void TListItem::SubItemsChanged(TObject*)
{
    FOwner.Changed();
}

TListItems::~TListItems() = default;

TListItem* TListItems::Item(int index) const
{
    if (index < 0 || index >= Count()) {
        throw EListError(index);
    }
    return FItems[static_cast<std::size_t>(index)].get();
}

TListItem* TListItems::Add()
{
    FItems.push_back(std::make_unique<TListItem>(*this));
    Changed();
    return FItems.back().get();
}

void TListItems::Delete(int index)
{
    Item(index);
    FItems.erase(FItems.begin() + index);
    Changed();
}

void TListItems::Clear()
{
    FItems.clear();
    Changed();
}

int TListItems::IndexOf(const TListItem* item) const
{
    const auto at = std::find_if(FItems.begin(), FItems.end(), [item](const auto& own) { return own.get() == item; });
    return at == FItems.end() ? -1 : static_cast<int>(at - FItems.begin());
}

void TListItems::BeginUpdate()
{
    ++FUpdateCount;
}

void TListItems::EndUpdate()
{
    if (FUpdateCount > 0 && --FUpdateCount == 0) {
        Changed();
    }
}

void TListItems::Changed()
{
    if (FUpdateCount == 0) {
        FOwner.ItemsChanged();
    }
}

} // namespace plat
