// Adapters that let the chart caption translation read and write the texts
// of the platform's standard controls.
#include "app/chart_caption_targets.h"

#include "widgets/chart/caption_target.h"
#include "widgets/chart/caption_translation.h"

#include "platform/controls/control.h"
#include "platform/controls/standard/combo_box.h"
#include "platform/controls/standard/label.h"
#include "platform/controls/standard/list_box.h"
#include "platform/controls/standard/menu_item.h"
#include "platform/controls/standard/popup_menu.h"

namespace qel {
namespace {

// Any control: its text and its hint.
class TControlCaptionTarget : public TCaptionTarget {
public:
    explicit TControlCaptionTarget(plat::TControl& AControl) : FControl(AControl) {}
    TCaptionKind Kind() const override { return TCaptionKind::Control; }
    std::string Text() const override { return FControl.Text(); }
    void SetText(const std::string& Value) override { FControl.SetText(Value); }
    bool HasHint() const override { return true; }
    std::string Hint() const override { return FControl.Hint(); }
    void SetHint(const std::string& Value) override { FControl.SetHint(Value); }

private:
    plat::TControl& FControl;
};

class TLabelCaptionTarget : public TControlCaptionTarget {
public:
    explicit TLabelCaptionTarget(plat::TCustomLabel& ALabel) : TControlCaptionTarget(ALabel), FLabel(ALabel) {}
    TCaptionKind Kind() const override { return TCaptionKind::Label; }
    void SetAutoSize(bool Value) override { FLabel.SetAutoSize(Value); }

private:
    plat::TCustomLabel& FLabel;
};

// A combo box or list box: its items and selection. A sorted list takes its
// new items anew, so each finds its place.
template <class TList>
class TItemListCaptionTarget : public TControlCaptionTarget {
public:
    explicit TItemListCaptionTarget(TList& AList) : TControlCaptionTarget(AList), FList(AList) {}
    TCaptionKind Kind() const override { return TCaptionKind::ItemList; }
    std::vector<std::string> Texts() const override
    {
        std::vector<std::string> Items;
        for (int I = 0; I < FList.Items().Count(); ++I) {
            Items.push_back(FList.Items().Strings(I));
        }
        return Items;
    }
    void SetTexts(const std::vector<std::string>& Value) override
    {
        plat::TStrings& Items = FList.Items();
        Items.BeginUpdate();
        if (FList.Sorted()) {
            Items.Clear();
            for (const std::string& Text : Value) {
                Items.Add(Text);
            }
        } else {
            for (int I = 0; I < Items.Count() && static_cast<std::size_t>(I) < Value.size(); ++I) {
                Items.Put(I, Value[static_cast<std::size_t>(I)]);
            }
        }
        Items.EndUpdate();
    }
    bool Sorted() const override { return FList.Sorted(); }
    int ItemIndex() const override { return FList.ItemIndex(); }
    void SetItemIndex(int Value) override { FList.SetItemIndex(Value); }
    int IndexOfText(const std::string& Value) const override { return FList.Items().IndexOf(Value); }

private:
    TList& FList;
};

class TMenuItemCaptionTarget : public TCaptionTarget {
public:
    explicit TMenuItemCaptionTarget(plat::TMenuItem& AItem) : FItem(AItem) {}
    TCaptionKind Kind() const override { return TCaptionKind::MenuItem; }
    std::string Text() const override { return FItem.Caption(); }
    void SetText(const std::string& Value) override { FItem.SetCaption(Value); }

private:
    plat::TMenuItem& FItem;
};

// The captions of the items right under the root, not of their submenus.
class TPopupMenuCaptionTarget : public TCaptionTarget {
public:
    explicit TPopupMenuCaptionTarget(plat::TPopupMenu& AMenu) : FRoot(AMenu.Items()) {}
    TCaptionKind Kind() const override { return TCaptionKind::PopupMenu; }
    std::vector<std::string> Texts() const override
    {
        std::vector<std::string> Captions;
        for (int I = 0; I < FRoot.Count(); ++I) {
            Captions.push_back(FRoot.Items(I)->Caption());
        }
        return Captions;
    }
    void SetTexts(const std::vector<std::string>& Value) override
    {
        for (int I = 0; I < FRoot.Count() && static_cast<std::size_t>(I) < Value.size(); ++I) {
            FRoot.Items(I)->SetCaption(Value[static_cast<std::size_t>(I)]);
        }
    }

private:
    plat::TMenuItem& FRoot;
};

} // namespace

std::unique_ptr<TCaptionTarget> StandardCaptionTarget(plat::TComponent& Component)
{
    if (auto* Label = dynamic_cast<plat::TCustomLabel*>(&Component)) {
        return std::make_unique<TLabelCaptionTarget>(*Label);
    }
    if (auto* Combo = dynamic_cast<plat::TCustomComboBox*>(&Component)) {
        return std::make_unique<TItemListCaptionTarget<plat::TCustomComboBox>>(*Combo);
    }
    if (auto* List = dynamic_cast<plat::TCustomListBox*>(&Component)) {
        return std::make_unique<TItemListCaptionTarget<plat::TCustomListBox>>(*List);
    }
    if (auto* Item = dynamic_cast<plat::TMenuItem*>(&Component)) {
        return std::make_unique<TMenuItemCaptionTarget>(*Item);
    }
    if (auto* Menu = dynamic_cast<plat::TPopupMenu*>(&Component)) {
        return std::make_unique<TPopupMenuCaptionTarget>(*Menu);
    }
    if (auto* Control = dynamic_cast<plat::TControl*>(&Component)) {
        return std::make_unique<TControlCaptionTarget>(*Control);
    }
    return nullptr;
}

void InitChartCaptionTranslation()
{
    InitCaptionTranslation();
    CaptionTargetFinder = StandardCaptionTarget;
}

void FinalizeChartCaptionTranslation()
{
    CaptionTargetFinder = nullptr;
    FinalizeCaptionTranslation();
}

} // namespace qel
