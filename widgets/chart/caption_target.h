// What the caption translation needs of a component: its texts, its hint,
// its list of item texts with the list's selection, and automatic size. A
// component implements it itself, or the finder installed by the layer that
// knows the component's class hands out an adapter for it.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace plat {
class TComponent;
} // namespace plat

namespace qel {

// Which row of the translation table applies to a component.
enum class TCaptionKind {
    Label,        // its text; automatic size when translated
    ItemList,     // combo box or list box: its items, keeping the selection
    RadioGroup,   // its caption, then its items
    PageControl,  // the caption of every page
    TabControl,   // every tab entry
    MenuItem,     // its caption, no hint
    PopupMenu,    // the captions of the root's direct items, no hint
    TreeView,     // the text of every node in index order
    Control,      // any other control: its text
    Other         // nothing
};

class TCaptionTarget {
public:
    virtual ~TCaptionTarget() = default;

    virtual TCaptionKind Kind() const = 0;

    // The text or caption.
    virtual std::string Text() const { return {}; }
    virtual void SetText(const std::string& Value) { (void)Value; }

    // Items, page captions, tab entries, menu captions or node texts, in
    // order. SetTexts gets as many texts as Texts gave; a sorted list may
    // reorder them.
    virtual std::vector<std::string> Texts() const { return {}; }
    virtual void SetTexts(const std::vector<std::string>& Value) { (void)Value; }

    // Selection of an item list; -1 for none.
    virtual bool Sorted() const { return false; }
    virtual int ItemIndex() const { return -1; }
    virtual void SetItemIndex(int Value) { (void)Value; }
    // The index of Value among the items, or -1.
    virtual int IndexOfText(const std::string& Value) const;

    virtual void SetAutoSize(bool Value) { (void)Value; }

    // Controls have a hint; menus and other components do not.
    virtual bool HasHint() const { return false; }
    virtual std::string Hint() const { return {}; }
    virtual void SetHint(const std::string& Value) { (void)Value; }
};

// Hands out the target of a component, or nullptr when it has none. An
// adapter may refer to the component; it is used only while the component lives.
using TCaptionTargetFinder = std::unique_ptr<TCaptionTarget> (*)(plat::TComponent& Component);

// Installed by the layer that knows the standard controls; none by default.
extern TCaptionTargetFinder CaptionTargetFinder;

// A found target: the component itself, or an adapter owned here.
struct TFoundCaptionTarget {
    std::unique_ptr<TCaptionTarget> Adapter;
    TCaptionTarget* Target = nullptr;

    explicit operator bool() const { return Target != nullptr; }
    TCaptionTarget* operator->() const { return Target; }
};

// The component itself when it is a target, else what the finder gives,
// else none.
TFoundCaptionTarget FindCaptionTarget(plat::TComponent& Component);

} // namespace qel
