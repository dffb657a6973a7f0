// What accessibility clients see of a data tree: accessible objects made by
// providers that the application registers with one factory for the whole
// process, and the three tree-view queries (item rectangle, next item, item
// record) that let tools written for tree views walk the tree.
#pragma once

#include "widgets/tree/data_node.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace plat {
class TObject;
}

namespace qel {

// An accessible object of a tree or of its focused item. The program makes
// none itself; an application's provider does.
class IDTAccessible {
public:
    virtual ~IDTAccessible() = default;
};
using TDTAccessibleRef = std::shared_ptr<IDTAccessible>;

// Makes accessible objects for a tree (the first registered provider makes
// the tree's object, a later one the focused item's).
class IDTAccessibleProvider {
public:
    virtual ~IDTAccessibleProvider() = default;
    virtual TDTAccessibleRef CreateIAccessible(plat::TObject* tree) = 0;
};
using TDTAccessibleProviderRef = std::shared_ptr<IDTAccessibleProvider>;

// The providers, in registration order.
class TDTAccessibilityFactory {
public:
    // The one factory of the process, made on the first call.
    static TDTAccessibilityFactory& GetAccessibilityFactory();

    // Appends the provider unless it is listed already.
    void RegisterAccessibleProvider(const TDTAccessibleProviderRef& provider);
    // Removes the provider when it is listed.
    void UnRegisterAccessibleProvider(const TDTAccessibleProviderRef& provider);
    std::size_t ProviderCount() const { return FAccessibleProviders.size(); }

    // For a tree without an object of its own: the first provider's answer.
    // Otherwise the tree's item object when it has one, else the first
    // non-null answer of the providers from the last down to the second,
    // else the first provider's. Null without providers. tree must be a
    // data tree (plat::EInvalidCast otherwise).
    TDTAccessibleRef CreateIAccessible(plat::TObject* tree);

private:
    TDTAccessibilityFactory() = default;

    std::vector<TDTAccessibleProviderRef> FAccessibleProviders;
};

// Object id of the client area in the accessibility request.
constexpr std::int32_t OBJID_CLIENT = -4;

// The tree-view queries as messages (wParam, lParam as below).
constexpr std::uint32_t TVM_GETITEMRECT = 0x1104; // wParam: text only; lParam: TTreeViewItemRect*
constexpr std::uint32_t TVM_GETNEXTITEM = 0x110A; // wParam: code; lParam: item
constexpr std::uint32_t TVM_GETITEMW = 0x113E;    // lParam: TDTTreeViewItem*

// Codes of TVM_GETNEXTITEM.
enum TTreeViewNextCode : std::uint32_t {
    tvgnRoot,
    tvgnNext,
    tvgnPrevious,
    tvgnParent,
    tvgnChild,
    tvgnFirstVisible,
    tvgnNextVisible,
    tvgnPreviousVisible,
    tvgnDropHighlight,
    tvgnCaret,
    tvgnLastVisible,
};

// Mask bits of an item record.
constexpr std::uint32_t TVIF_TEXT = 0x01;
constexpr std::uint32_t TVIF_IMAGE = 0x02;
constexpr std::uint32_t TVIF_STATE = 0x08;
constexpr std::uint32_t TVIF_HANDLE = 0x10;
constexpr std::uint32_t TVIF_SELECTEDIMAGE = 0x20;
constexpr std::uint32_t TVIF_CHILDREN = 0x40;

// State bits of an item record; the overlay image + 1 sits in bits 8 to 11,
// the state image + 1 in bits 12 to 15.
constexpr std::uint32_t TVIS_FOCUSED = 0x01;
constexpr std::uint32_t TVIS_SELECTED = 0x02;
constexpr std::uint32_t TVIS_CUT = 0x04;
constexpr std::uint32_t TVIS_DROPHILITED = 0x08;
constexpr std::uint32_t TVIS_EXPANDED = 0x20;
constexpr std::uint32_t TVItemStateMask = 0xFF2F;

// An item record: the caller sets Mask, Item and, for the text, Text and
// TextMax; the query fills the parts Mask names.
struct TDTTreeViewItem {
    std::uint32_t Mask = 0;
    PDataNode Item = nullptr;
    std::uint32_t State = 0;
    std::uint32_t StateMask = 0;
    char16_t* Text = nullptr; // TextMax UTF-16 units, zero-terminated by the query
    int TextMax = 0;
    int Image = 0;
    int SelectedImage = 0;
    int Children = 0;
    std::intptr_t Param = 0;
};

} // namespace qel
