// TMenuItem: one command of a menu, and the items below it. Its caption
// may carry an accelerator ("&Save"); the caption "-" makes it a separator
// line. Items can be checked (radio items of one group check one at a
// time), disabled or hidden; choosing one runs Click and so OnClick. An
// item frees the items below it.
#pragma once

#include "platform/objects/component.h"
#include "platform/objects/events.h"

#include <string>
#include <vector>

namespace plat {

class TMenuItem : public TComponent {
    PLAT_CLASS(TMenuItem, TComponent)
public:
    explicit TMenuItem(TComponent* owner);
    ~TMenuItem() override;

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& value) { FCaption = value; }
    // A separator: the caption is "-".
    bool IsLine() const { return FCaption == "-"; }
    bool Checked() const { return FChecked; }
    // Checking a radio item unchecks the other radio items of its group.
    void SetChecked(bool value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value) { FEnabled = value; }
    bool Visible() const { return FVisible; }
    void SetVisible(bool value) { FVisible = value; }
    // Drawn bold: the command a double click would run.
    bool Default() const { return FDefault; }
    void SetDefault(bool value) { FDefault = value; }
    bool RadioItem() const { return FRadioItem; }
    void SetRadioItem(bool value) { FRadioItem = value; }
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int value) { FGroupIndex = value; }
    // Choosing the item toggles its check first.
    bool AutoCheck() const { return FAutoCheck; }
    void SetAutoCheck(bool value) { FAutoCheck = value; }
    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& value) { FHint = value; }
    // The picture of the menu's image list shown beside the caption; -1 for none.
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value) { FImageIndex = value; }

    int Count() const { return static_cast<int>(FItems.size()); }
    // Raises EListError outside 0 .. Count() - 1.
    TMenuItem* Items(int index) const;
    TMenuItem* Parent() const { return FParent; }
    // The place among its parent's items; -1 without parent.
    int MenuIndex() const;
    int IndexOf(const TMenuItem* item) const;
    // Takes item below this one (from another parent if it had one).
    void Add(TMenuItem* item);
    void Insert(int index, TMenuItem* item);
    // Lets go of item without freeing it.
    void Remove(TMenuItem* item);
    // Frees the item at index; Clear frees them all.
    void Delete(int index);
    void Clear();

    // The item was chosen: AutoCheck, then OnClick.
    virtual void Click();

    TNotifyEvent OnClick;

private:
    std::string FCaption;
    bool FChecked = false;
    bool FEnabled = true;
    bool FVisible = true;
    bool FDefault = false;
    bool FRadioItem = false;
    int FGroupIndex = 0;
    bool FAutoCheck = false;
    std::string FHint;
    int FImageIndex = -1;
    TMenuItem* FParent = nullptr;
    std::vector<TMenuItem*> FItems;   // owned, in menu order
};

} // namespace plat
