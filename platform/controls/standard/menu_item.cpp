// TMenuItem: the item tree and checking within radio groups.
#include "platform/controls/standard/menu_item.h"

#include "platform/object_list.h"

#include <algorithm>

namespace plat {

PLAT_DEFINE_CLASS(TMenuItem, TComponent,
    Published("AutoCheck", &TMenuItem::AutoCheck, &TMenuItem::SetAutoCheck).Default(false),
    Published("Caption", &TMenuItem::Caption, &TMenuItem::SetCaption).Default(""),
    Published("Checked", &TMenuItem::Checked, &TMenuItem::SetChecked).Default(false),
    Published("Default", &TMenuItem::Default, &TMenuItem::SetDefault).Default(false),
    Published("Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled).Default(true),
    Published("GroupIndex", &TMenuItem::GroupIndex, &TMenuItem::SetGroupIndex).Default(0),
    Published("Hint", &TMenuItem::Hint, &TMenuItem::SetHint).Default(""),
    Published("ImageIndex", &TMenuItem::ImageIndex, &TMenuItem::SetImageIndex).Default(-1),
    Published("RadioItem", &TMenuItem::RadioItem, &TMenuItem::SetRadioItem).Default(false),
    Published("Visible", &TMenuItem::Visible, &TMenuItem::SetVisible).Default(true))

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) {}

TMenuItem::~TMenuItem()
{
    Clear();
    if (FParent != nullptr) {
        FParent->Remove(this);
    }
}

void TMenuItem::SetChecked(bool value)
{
    if (value == FChecked) {
        return;
    }
    FChecked = value;
    if (value && FRadioItem && FParent != nullptr) {
        for (TMenuItem* sibling : FParent->FItems) {
            if (sibling != this && sibling->FRadioItem && sibling->FGroupIndex == FGroupIndex) {
                sibling->FChecked = false;
            }
        }
    }
}

TMenuItem* TMenuItem::Items(int index) const
{
    if (index < 0 || index >= Count()) {
        throw EListError(index);
    }
    return FItems[static_cast<std::size_t>(index)];
}

int TMenuItem::MenuIndex() const
{
    return FParent != nullptr ? FParent->IndexOf(this) : -1;
}

int TMenuItem::IndexOf(const TMenuItem* item) const
{
    const auto at = std::find(FItems.begin(), FItems.end(), item);
    return at == FItems.end() ? -1 : static_cast<int>(at - FItems.begin());
}

void TMenuItem::Add(TMenuItem* item)
{
    Insert(Count(), item);
}

void TMenuItem::Insert(int index, TMenuItem* item)
{
    if (item == nullptr || item == this) {
        return;
    }
    if (index < 0 || index > Count()) {
        throw EListError(index);
    }
    if (item->FParent != nullptr) {
        item->FParent->Remove(item);
    }
    FItems.insert(FItems.begin() + std::min(index, Count()), item);
    item->FParent = this;
}

void TMenuItem::Remove(TMenuItem* item)
{
    const auto at = std::find(FItems.begin(), FItems.end(), item);
    if (at != FItems.end()) {
        FItems.erase(at);
        item->FParent = nullptr;
    }
}

void TMenuItem::Delete(int index)
{
    delete Items(index);
}

void TMenuItem::Clear()
{
    while (!FItems.empty()) {
        delete FItems.back();
    }
}

void TMenuItem::Click()
{
    if (FAutoCheck) {
        SetChecked(!FChecked);
    }
    OnClick(this);
}

} // namespace plat
