// The node record of the data tree: one zero-filled block per node, an
// 80-byte header of links, counters, heights and states that the tree keeps,
// then the caller's data area and the internal areas of descendant classes.
#pragma once

#include "widgets/tree/bit_set.h"
#include "widgets/tree/check_state.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace qel {

enum TDataNodeState : std::uint8_t {
    vsInitialized,                   // OnInitNode has run for it
    vsChecking,                      // a check change of this node is running (re-entry guard)
    vsCutOrCopy,                     // marked for cut or copy
    vsDisabled,
    vsDeleting,                      // its parent is clearing it: disconnecting leaves the counts alone
    vsExpanded,
    vsHasChildren,                   // without children: they exist but are not created yet
    vsVisible,
    vsSelected,
    vsOnFreeNodeCallRequired,        // the user data was touched: OnFreeNode runs for it
    vsAllChildrenHidden,             // no child is effectively visible
    vsReleaseCallOnUserDataRequired, // the first data slot holds a counted reference
    vsMultiline,
    vsHeightMeasured,
    vsToggling,
    vsFiltered,
    vsInitializing,                  // InitNode is running for it
};
using TDataNodeStates = TBitSet<TDataNodeState, std::uint32_t>;

// What OnInitNode receives and may change.
enum TDataNodeInitState : std::uint8_t {
    ivsDisabled,
    ivsExpanded,
    ivsHasChildren,
    ivsMultiline,
    ivsSelected,
    ivsFiltered,
    ivsReInit,                       // set by the tree: the node was initialised before
};
using TDataNodeInitStates = TBitSet<TDataNodeInitState, std::uint8_t>;

struct TDataNode;
using PDataNode = TDataNode*;
using TNodeArray = std::vector<PDataNode>;

// The header. Every link of the hidden root is special: its parent is the
// tree control itself and both sibling links point to the root, which is how
// a walk up the parents recognises the top. Children of a node form a doubly
// linked list FirstChild .. fLastChild whose fIndex runs 0, 1, 2 ...;
// fChildCount is its length.
struct TDataNode {
    std::uint32_t fIndex;            // position among the siblings
    std::uint32_t fChildCount;       // children that exist (0 while not created)
    std::int64_t fNodeHeight;        // own height in pixels
    TDataNodeStates States;
    std::uint8_t Align;              // vertical alignment of images and button, 0 .. 100
    TCheckState CheckState;
    TCheckType CheckType;
    std::uint8_t Dummy;              // always 0
    std::uint32_t TotalCount;        // 1 + TotalCount of every child
    std::int64_t TotalHeight;        // own height + TotalHeight of the visible children when expanded
    PDataNode fParent;
    PDataNode fPrevSibling;
    PDataNode fNextSibling;
    PDataNode FirstChild;
    PDataNode fLastChild;

    // The user data area: the first byte after the header.
    void* Data() { return reinterpret_cast<std::byte*>(this) + sizeof(TDataNode); }
    // The address of the user data area; marks the node for OnFreeNode.
    void* GetData()
    {
        States.Include(vsOnFreeNodeCallRequired);
        return Data();
    }
    // Stores a pointer in the first slot of the user data; marks the node
    // for OnFreeNode.
    void SetData(void* value)
    {
        ReleaseData();
        *static_cast<void**>(Data()) = value;
        States.Include(vsOnFreeNodeCallRequired);
    }
    // Stores one counted reference to value in the first slot, held until
    // ReleaseData; marks the node for OnFreeNode and for the release.
    void SetData(const std::shared_ptr<void>& value)
    {
        ReleaseData();
        *static_cast<std::shared_ptr<void>**>(Data()) = new std::shared_ptr<void>(value);
        States += {vsOnFreeNodeCallRequired, vsReleaseCallOnUserDataRequired};
    }
    // A new reference to what SetData (shared_ptr) stored; empty without one.
    std::shared_ptr<void> GetInterfaceData()
    {
        if (!States.Contains(vsReleaseCallOnUserDataRequired)) {
            return nullptr;
        }
        return **static_cast<std::shared_ptr<void>**>(Data());
    }
    // Lets go of the reference the node holds, if any.
    void ReleaseData()
    {
        if (States.Contains(vsReleaseCallOnUserDataRequired)) {
            auto** slot = static_cast<std::shared_ptr<void>**>(Data());
            delete *slot;
            *slot = nullptr;
            States.Exclude(vsReleaseCallOnUserDataRequired);
        }
    }
};

static_assert(sizeof(TDataNode) == 80, "the node header is 80 bytes");
static_assert(offsetof(TDataNode, TotalHeight) % 8 == 0);
static_assert(offsetof(TDataNode, fParent) == 40);

constexpr std::size_t NodeHeaderSize = sizeof(TDataNode);

inline bool IsAssigned(const TDataNode* node)
{
    return node != nullptr;
}

// Visits every node of top's subtree, top included, children before their
// parent; without recursion, so any depth is fine. visit must not change
// the links.
template <class F>
void ForEachPostOrder(PDataNode top, F visit)
{
    PDataNode node = top;
    while (node->FirstChild != nullptr) {
        node = node->FirstChild;
    }
    for (;;) {
        visit(node);
        if (node == top) {
            return;
        }
        if (node->fNextSibling != nullptr) {
            node = node->fNextSibling;
            while (node->FirstChild != nullptr) {
                node = node->FirstChild;
            }
        } else {
            node = node->fParent;
        }
    }
}

} // namespace qel
