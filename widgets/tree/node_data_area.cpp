// Node blocks of the data tree: making and freeing them, the root block,
// the user and internal data areas with their typed records, the data size
// and the subtree aggregates kept up the parents.
#include "widgets/tree/base_data_tree.h"

#include "widgets/tree/try_finally.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

namespace qel {

void TBaseDataTree::InitRootNode(std::size_t oldSize)
{
    const std::size_t size = NodeHeaderSize + FTotalInternalDataSize;
    void* block = FRoot == nullptr ? std::calloc(1, size) : std::realloc(FRoot, size);
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    FRoot = static_cast<PDataNode>(block);
    if (size > oldSize) {
        std::memset(reinterpret_cast<std::byte*>(FRoot) + oldSize, 0, size - oldSize);
    }
    FRootSize = size;
    FRoot->fPrevSibling = FRoot;
    FRoot->fNextSibling = FRoot;
    FRoot->fParent = reinterpret_cast<PDataNode>(this);
    FRoot->States = {vsInitialized, vsExpanded, vsHasChildren, vsVisible};
    FRoot->fNodeHeight = FDefaultNodeHeight;
    FRoot->TotalHeight = FDefaultNodeHeight;
    FRoot->TotalCount = 1;
    FRoot->Align = 50;
}

std::uint32_t TBaseDataTree::AllocateInternalDataArea(std::uint32_t size)
{
    TreeAssert(FRoot->FirstChild == nullptr && FNodeStore.BlocksInUse() == 0,
               "Internal data allocation must be done before any node is created.");
    const std::uint32_t offset = static_cast<std::uint32_t>(NodeHeaderSize) + FTotalInternalDataSize;
    const std::uint64_t grown = std::uint64_t{FTotalInternalDataSize} + ((std::uint64_t{size} + 7) & ~std::uint64_t{7});
    if (grown > INT_MAX) {
        throw std::bad_alloc();
    }
    const std::size_t oldSize = FRootSize;
    FTotalInternalDataSize = static_cast<std::uint32_t>(grown);
    InitRootNode(oldSize);
    return offset;
}

void TBaseDataTree::DoGetNodeDataSize(int& size)
{
    size = 8;
    if (OnGetNodeDataSize) {
        OnGetNodeDataSize(this, size);
    }
}

int TBaseDataTree::EnsureNodeDataSize()
{
    if (FNodeDataSize >= 0) {
        return FNodeDataSize;
    }
    if (Designing()) {
        return 8;
    }
    int size = FNodeDataSize;
    DoGetNodeDataSize(size);
    FNodeDataSize = std::max(size, 0);
    return FNodeDataSize;
}

PDataNode TBaseDataTree::MakeNewNode()
{
    const std::size_t blockSize =
        NodeHeaderSize + static_cast<std::size_t>(EnsureNodeDataSize()) + FTotalInternalDataSize;
    if (FNodeStore.BlocksInUse() == 0) {
        FNodeStore.SetBlockSize(blockSize);
    }
    auto* node = static_cast<PDataNode>(FNodeStore.Allocate());
    node->TotalCount = 1;
    node->fNodeHeight = FDefaultNodeHeight;
    node->TotalHeight = FDefaultNodeHeight;
    node->States = {vsVisible};
    node->Align = 50;
    return node;
}

std::array<PDataNode*, 13> TBaseDataTree::NodeReferences()
{
    return {&FFocusedNode,    &FLastSelected,  &FHotNode,          &FDropTargetNode,
            &FLastChangedNode, &FLastStructureChangeNode, &FRangeAnchor, &FNextNodeToSelect,
            &FLastHitInfo.HitNode,    &FLastSearchNode, &FHeightTrackNode, &FLastDragTarget,
            &FTreeViewItem};
}

void TBaseDataTree::ForgetNode(PDataNode node)
{
    if (FNextNodeToSelect == node) {
        UpdateNextNodeToSelect(node);
    }
    for (PDataNode* reference : NodeReferences()) {
        if (*reference == node) {
            *reference = nullptr;
        }
    }
}

void TBaseDataTree::ForgetAllNodes()
{
    for (PDataNode* reference : NodeReferences()) {
        *reference = nullptr;
    }
}

void TBaseDataTree::UpdateNextNodeToSelect(PDataNode node)
{
    const TDTSelectionOptions options = FOptions->SelectionOptions();
    if (!options.Contains(toAlwaysSelectNode) && !options.Contains(toSelectNextNodeOnRemoval)) {
        return;
    }
    if (node->fNextSibling != nullptr) {
        FNextNodeToSelect = node->fNextSibling;
    } else if (node->fPrevSibling != nullptr) {
        FNextNodeToSelect = node->fPrevSibling;
    } else {
        FNextNodeToSelect = node->fParent == FRoot ? nullptr : node->fParent;
    }
}

void TBaseDataTree::ResetRangeAnchor()
{
    FRangeAnchor = FFocusedNode;
    FLastSelectionLevel = -1;
}

void TBaseDataTree::DoFreeNode(PDataNode node)
{
    ForgetNode(node);
    try {
        if (OnFreeNode &&
            (node->States.Contains(vsInitialized) || node->States.Contains(vsOnFreeNodeCallRequired))) {
            OnFreeNode(this, node);
        }
    } catch (...) {
        if (!FFreeNodeError) {
            FFreeNodeError = std::current_exception();
        }
    }
    if (FRecordType != nullptr && node->States.Contains(vsOnFreeNodeCallRequired)) {
        FRecordType->Destroy(node->Data());
    }
    node->ReleaseData();
    FNodeStore.Free(node);
    if (FUpdateCount == 0) {
        EnsureNodeSelected(true);
    }
}

void* TBaseDataTree::TouchNodeData(PDataNode node)
{
    if (FRecordType != nullptr && !node->States.Contains(vsOnFreeNodeCallRequired)) {
        FRecordType->Construct(node->Data());
    }
    return node->GetData();
}

void* TBaseDataTree::GetNodeData(PDataNode node)
{
    if (node == nullptr) {
        return nullptr;
    }
    TreeAssert(FNodeDataSize > 0, "NodeDataSize not initialized.");
    if (node == FRoot) {
        return nullptr;
    }
    return TouchNodeData(node);
}

void TBaseDataTree::CheckPointerSlot() const
{
    if (FNodeDataSize < 8) {
        throw EAssertionFailed(std::string(ClassName()) +
                               ": Cannot set initial user data because there is not enough user data space allocated.");
    }
    if (FRecordType != nullptr) {
        throw EAssertionFailed(std::string(ClassName()) + ": Cannot set user data of nodes that hold typed records.");
    }
}

void TBaseDataTree::SetNodeData(PDataNode node, void* userData)
{
    TreeAssert(node != nullptr && node != FRoot, "Node must neither be nil nor the root node.");
    CheckPointerSlot();
    node->SetData(userData);
}

void TBaseDataTree::SetNodeInterface(PDataNode node, const std::shared_ptr<void>& userData)
{
    TreeAssert(node != nullptr && node != FRoot, "Node must neither be nil nor the root node.");
    CheckPointerSlot();
    node->SetData(userData);
}

std::shared_ptr<void> TBaseDataTree::NodeInterface(PDataNode node) const
{
    return node != nullptr && node != FRoot ? node->GetInterfaceData() : nullptr;
}

PDataNode TBaseDataTree::AddChildHolding(PDataNode parent, const std::shared_ptr<void>& userData)
{
    const PDataNode node = AddChild(parent, nullptr);
    // A read-only tree makes no node and so keeps no reference.
    if (node != nullptr && userData) {
        SetNodeInterface(node, userData);
    }
    return node;
}

TBaseDataTree* TBaseDataTree::TreeFromNode(PDataNode node)
{
    TreeAssert(node != nullptr, "Node must not be nil.");
    while (node->fNextSibling != node) {
        node = node->fParent;
    }
    return reinterpret_cast<TBaseDataTree*>(node->fParent);
}

void TBaseDataTree::SetNodeDataSize(int value)
{
    ChangeNodeDataLayout(value, nullptr);
}

void TBaseDataTree::ChangeNodeDataLayout(int size, const TNodeRecordType* recordType)
{
    size = std::max(size, -1);
    if (size == FNodeDataSize && recordType == FRecordType) {
        return;
    }
    if (FRoot->FirstChild == nullptr) {
        FNodeDataSize = size;
        FRecordType = recordType;
        return;
    }
    // The nodes are made anew with the new layout, also in a read-only or
    // loading tree: no node may keep a block smaller than the new size.
    const std::uint32_t count = FRoot->fChildCount;
    const bool wasReadOnly = ReadOnly();
    FOptions->InternalSetMiscOptions(FOptions->MiscOptions() - TDTMiscOptions{toReadOnly});
    TryFinally(
        [&] {
            TryFinally([&] { Clear(); },
                       [&] {
                           FNodeDataSize = size;
                           FRecordType = recordType;
                       });
            SetRootNodeCount(count);
        },
        [&] {
            if (wasReadOnly) {
                FOptions->InternalSetMiscOptions(FOptions->MiscOptions() + TDTMiscOptions{toReadOnly});
            }
        });
}

void TBaseDataTree::AdjustTotalCount(PDataNode node, std::int64_t value, bool relative)
{
    const std::int64_t difference = relative ? value : value - node->TotalCount;
    if (difference == 0) {
        return;
    }
    const auto* const tree = reinterpret_cast<PDataNode>(this);
    for (PDataNode run = node; run != tree; run = run->fParent) {
        run->TotalCount = static_cast<std::uint32_t>(run->TotalCount + difference);
    }
}

void TBaseDataTree::AdjustTotalHeight(PDataNode node, std::int64_t value, bool relative)
{
    const std::int64_t difference = relative ? value : value - node->TotalHeight;
    if (difference == 0) {
        return;
    }
    for (PDataNode run = node;;) {
        run->TotalHeight += difference;
        if (!run->States.Contains(vsVisible) || run == FRoot || run->fParent == nullptr ||
            !run->fParent->States.Contains(vsExpanded)) {
            break;
        }
        run = run->fParent;
    }
}

std::int64_t TBaseDataTree::EffectiveOwnHeight(PDataNode node) const
{
    return GetEffectivelyFiltered(node) ? 0 : node->fNodeHeight;
}

void TBaseDataTree::FixupTotalCount(PDataNode node)
{
    ForEachPostOrder(node, [](PDataNode each) {
        each->TotalCount = 1;
        for (PDataNode child = each->FirstChild; child != nullptr; child = child->fNextSibling) {
            each->TotalCount += child->TotalCount;
        }
    });
}

void TBaseDataTree::FixupTotalHeight(PDataNode node)
{
    ForEachPostOrder(node, [this](PDataNode each) {
        each->TotalHeight = each == FRoot ? each->fNodeHeight : EffectiveOwnHeight(each);
        if (!each->States.Contains(vsExpanded)) {
            return;
        }
        for (PDataNode child = each->FirstChild; child != nullptr; child = child->fNextSibling) {
            if (child->States.Contains(vsVisible)) {
                each->TotalHeight += child->TotalHeight;
            }
        }
    });
}

} // namespace qel
