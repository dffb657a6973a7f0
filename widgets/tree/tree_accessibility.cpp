// Accessibility of the data tree: the process-wide factory of accessible
// objects, the tree's answer to the accessibility request, and the three
// tree-view queries (item rectangle, next item, item record), as calls and
// as messages. An item handle is a node's address; 0 means none, and a
// handle that is no node of the tree is treated as none.
#include "widgets/tree/tree_accessibility.h"

#include "platform/objects/published_property.h"
#include "platform/text_encoding.h"
#include "widgets/tree/base_data_tree.h"
#include "widgets/tree/string_data_tree.h"

#include <algorithm>
#include <cstring>

namespace qel {

// ---- the factory ----

TDTAccessibilityFactory& TDTAccessibilityFactory::GetAccessibilityFactory()
{
    static TDTAccessibilityFactory factory;
    return factory;
}

void TDTAccessibilityFactory::RegisterAccessibleProvider(const TDTAccessibleProviderRef& provider)
{
    if (provider != nullptr &&
        std::find(FAccessibleProviders.begin(), FAccessibleProviders.end(), provider) == FAccessibleProviders.end()) {
        FAccessibleProviders.push_back(provider);
    }
}

void TDTAccessibilityFactory::UnRegisterAccessibleProvider(const TDTAccessibleProviderRef& provider)
{
    const auto found = std::find(FAccessibleProviders.begin(), FAccessibleProviders.end(), provider);
    if (found != FAccessibleProviders.end()) {
        FAccessibleProviders.erase(found);
    }
}

TDTAccessibleRef TDTAccessibilityFactory::CreateIAccessible(plat::TObject* tree)
{
    auto* dataTree = dynamic_cast<TBaseDataTree*>(tree);
    if (dataTree == nullptr) {
        throw plat::EInvalidCast("Invalid class typecast");
    }
    if (FAccessibleProviders.empty()) {
        return nullptr;
    }
    // Providers may register or unregister others while answering: ask a copy.
    const std::vector<TDTAccessibleProviderRef> providers = FAccessibleProviders;
    if (dataTree->Accessible() == nullptr) {
        return providers.front()->CreateIAccessible(tree);
    }
    if (dataTree->AccessibleItem() != nullptr) {
        return dataTree->AccessibleItem();
    }
    for (std::size_t i = providers.size() - 1; i >= 1; --i) {
        if (TDTAccessibleRef answer = providers[i]->CreateIAccessible(tree)) {
            return answer;
        }
    }
    return providers.front()->CreateIAccessible(tree);
}

// ---- the accessibility request ----

void TBaseDataTree::WMGetObject(plat::TMessage& message)
{
    TDTAccessibilityFactory& factory = TDTAccessibilityFactory::GetAccessibilityFactory();
    if (FAccessible == nullptr) {
        FAccessible = factory.CreateIAccessible(this);
    }
    if (FAccessibleItem == nullptr) {
        FAccessibleItem = factory.CreateIAccessible(this);
    }
    if (static_cast<std::int32_t>(message.LParam) == OBJID_CLIENT) {
        // Stands in for the platform's reference to the object: its address.
        message.Result = reinterpret_cast<plat::LRESULT>(FAccessible.get());
        return;
    }
    Inherited(message);
}

// ---- the tree-view queries ----

bool TBaseDataTree::IsTreeViewItem(PDataNode item) const
{
    if (item == nullptr || item == FRoot) {
        return false;
    }
    if (item == FTreeViewItem) {
        return true;
    }
    // Depth first over the nodes made so far, following only links of
    // this tree, so a stale or foreign handle is never read.
    PDataNode run = FRoot->FirstChild;
    while (run != nullptr) {
        if (run == item) {
            return true;
        }
        if (run->FirstChild != nullptr) {
            run = run->FirstChild;
            continue;
        }
        while (run != nullptr && run != FRoot && run->fNextSibling == nullptr) {
            run = run->fParent;
        }
        run = run == nullptr || run == FRoot ? nullptr : run->fNextSibling;
    }
    return false;
}

bool TBaseDataTree::TreeViewItemRect(PDataNode item, bool textOnly, plat::TRect& rect)
{
    if (!IsTreeViewItem(item)) {
        return false;
    }
    FTreeViewItem = item;
    const bool visible = GetVisible(item);
    if (visible) {
        rect = GetDisplayRect(item, NoColumn, textOnly, false, false);
    }
    return visible;
}

PDataNode TBaseDataTree::TreeViewNextItem(std::uint32_t code, PDataNode item)
{
    const auto answer = [&]() -> PDataNode {
        switch (code) {
        case tvgnRoot:
            return GetFirst();
        case tvgnFirstVisible:
            return GetFirstVisible(nullptr, true);
        case tvgnDropHighlight:
            return FDropTargetNode;
        case tvgnCaret:
            return FFocusedNode;
        case tvgnLastVisible:
            return GetLastVisible(nullptr, true);
        default:
            break;
        }
        if (!IsTreeViewItem(item)) {
            return nullptr;
        }
        switch (code) {
        case tvgnNext:
            return GetNextSibling(item);
        case tvgnPrevious:
            return GetPreviousSibling(item);
        case tvgnParent:
            return item->fParent == FRoot ? nullptr : item->fParent;
        case tvgnChild:
            return GetFirstChild(item);
        case tvgnNextVisible:
            return GetNextVisible(item, true);
        case tvgnPreviousVisible:
            return GetPreviousVisible(item, true);
        default:
            return nullptr;
        }
    };
    const PDataNode next = answer();
    if (next != nullptr) {
        // The walker's next question is about this node.
        FTreeViewItem = next;
    }
    return next;
}

namespace {

// Copies text into buffer of capacity units, cut to capacity - 1 units
// (never inside a surrogate pair) and zero-terminated; nothing for none.
void CopyText(const std::string& text, char16_t* buffer, int capacity)
{
    if (buffer == nullptr || capacity <= 0) {
        return;
    }
    const std::u16string wide = plat::Utf8ToUtf16(text);
    std::size_t count = std::min(wide.size(), static_cast<std::size_t>(capacity - 1));
    if (count > 0 && count < wide.size() && wide[count - 1] >= 0xD800 && wide[count - 1] < 0xDC00) {
        --count;
    }
    std::copy_n(wide.data(), count, buffer);
    buffer[count] = 0;
}

} // namespace

bool TBaseDataTree::TreeViewGetItem(TDTTreeViewItem& item)
{
    if ((item.Mask & TVIF_HANDLE) == 0 || !IsTreeViewItem(item.Item)) {
        return false;
    }
    const PDataNode node = item.Item;
    FTreeViewItem = node;
    const auto imageIndex = [&](TDTImageKind kind) {
        bool ghosted = false;
        int index = -1;
        DoGetImageIndex(node, kind, NoColumn, ghosted, index);
        return index;
    };
    if ((item.Mask & TVIF_CHILDREN) != 0) {
        item.Children = static_cast<int>(node->fChildCount);
    }
    if ((item.Mask & TVIF_IMAGE) != 0) {
        item.Image = imageIndex(ikNormal);
    }
    if ((item.Mask & TVIF_SELECTEDIMAGE) != 0) {
        item.SelectedImage = imageIndex(ikSelected);
    }
    if ((item.Mask & TVIF_STATE) != 0) {
        item.StateMask = TVItemStateMask;
        std::uint32_t state = 0;
        if (node == FFocusedNode) {
            state |= TVIS_FOCUSED;
        }
        if (node->States.Contains(vsSelected)) {
            state |= TVIS_SELECTED;
        }
        if (node->States.Contains(vsCutOrCopy)) {
            state |= TVIS_CUT;
        }
        if (node == FDropTargetNode) {
            state |= TVIS_DROPHILITED;
        }
        if (node->States.Contains(vsExpanded)) {
            state |= TVIS_EXPANDED;
        }
        const int stateImage = imageIndex(ikState);
        const int overlay = imageIndex(ikOverlay);
        state |= (static_cast<std::uint32_t>(std::clamp(stateImage + 1, 0, 15)) << 12) |
                 (static_cast<std::uint32_t>(std::clamp(overlay + 1, 0, 15)) << 8);
        item.State = state;
    }
    if ((item.Mask & TVIF_TEXT) != 0) {
        std::string text;
        if (auto* stringTree = dynamic_cast<TCustomDataStringTree*>(this)) {
            plat::TRect r;
            stringTree->GetTextInfo(node, NoColumn, nullptr, r, text);
        }
        CopyText(text, item.Text, item.TextMax);
    }
    return true;
}

void TBaseDataTree::TVMGetItemRect(plat::TMessage& message)
{
    // The rectangle's first bytes carry the item handle in.
    auto* rect = reinterpret_cast<plat::TRect*>(message.LParam);
    if (rect == nullptr) {
        message.Result = 0;
        return;
    }
    PDataNode item = nullptr;
    std::memcpy(&item, rect, sizeof item);
    message.Result = TreeViewItemRect(item, message.WParam != 0, *rect) ? 1 : 0;
}

void TBaseDataTree::TVMGetNextItem(plat::TMessage& message)
{
    message.Result = reinterpret_cast<plat::LRESULT>(
        TreeViewNextItem(static_cast<std::uint32_t>(message.WParam), reinterpret_cast<PDataNode>(message.LParam)));
}

void TBaseDataTree::TVMGetItem(plat::TMessage& message)
{
    auto* item = reinterpret_cast<TDTTreeViewItem*>(message.LParam);
    message.Result = item != nullptr && TreeViewGetItem(*item) ? 1 : 0;
}

} // namespace qel
