// The columns and rows of a list view. A column has a caption, a width
// (ColumnTextWidth or ColumnHeaderWidth fit it to its contents, with or
// without its caption) and an alignment; a row has a caption (the first
// column), sub-items (the further columns) and a check mark. Every change
// tells the list view, which repaints.
#pragma once

#include "platform/controls/standard/standard_drawing.h"
#include "platform/objects/collection.h"
#include "platform/objects/string_list.h"

#include <memory>
#include <string>
#include <vector>

namespace plat {

class TListView;
class TListColumns;
class TListItems;

// Widths that fit a column: to its cells, or to its cells and caption.
constexpr int ColumnTextWidth = -1;
constexpr int ColumnHeaderWidth = -2;

class TListColumn : public TCollectionItem {
    PLAT_CLASS(TListColumn, TCollectionItem)
public:
    explicit TListColumn(TCollection* collection);

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& value);
    int Width() const { return FWidth; }
    // A width of ColumnTextWidth or ColumnHeaderWidth is fitted at once.
    void SetWidth(int value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);

    std::string DisplayName() const override { return FCaption; }

private:
    std::string FCaption;
    int FWidth = 50;
    TAlignment FAlignment = taLeftJustify;
};

class TListColumns : public TOwnedCollection {
    PLAT_CLASS(TListColumns, TOwnedCollection)
public:
    explicit TListColumns(TListView& owner);

    TListColumn* Add() { return static_cast<TListColumn*>(TCollection::Add()); }
    TListColumn* Items(int index) const { return static_cast<TListColumn*>(TCollection::Items(index)); }
    TListView& Owner() const { return FOwner; }

protected:
    void Update(TCollectionItem* item) override;

private:
    TListView& FOwner;
};

class TListItem : public TPersistent {
    PLAT_CLASS(TListItem, TPersistent)
public:
    explicit TListItem(TListItems& owner);
    ~TListItem() override;

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& value);
    // The texts of the columns after the first.
    TStrings& SubItems() { return *FSubItems; }
    const TStrings& SubItems() const { return *FSubItems; }
    bool Checked() const { return FChecked; }
    // A change tells the list view (OnItemChecked).
    void SetChecked(bool value);
    void* Data() const { return FData; }
    void SetData(void* value) { FData = value; }
    int Index() const;
    TListItems& Owner() const { return FOwner; }
    // The text of a column: the caption for 0, a sub-item after it.
    std::string CellText(int column) const;

private:
    void SubItemsChanged(TObject* sender);

    TListItems& FOwner;
    std::string FCaption;
    std::unique_ptr<TStringList> FSubItems;
    bool FChecked = false;
    void* FData = nullptr;
};

class TListItems : public TPersistent {
    PLAT_CLASS(TListItems, TPersistent)
public:
    explicit TListItems(TListView& owner) : FOwner(owner) {}
    ~TListItems() override;

    int Count() const { return static_cast<int>(FItems.size()); }
    // Raises EListError outside 0 .. Count() - 1.
    TListItem* Item(int index) const;
    TListItem* Add();
    void Delete(int index);
    void Clear();
    int IndexOf(const TListItem* item) const;
    // Changes inside an update are shown once, at its end.
    void BeginUpdate();
    void EndUpdate();
    TListView& Owner() const { return FOwner; }

private:
    friend class TListItem;
    void Changed();

    TListView& FOwner;
    std::vector<std::unique_ptr<TListItem>> FItems;
    int FUpdateCount = 0;
};

} // namespace plat
