// Structure of the data tree: attaching made nodes, unlinking, deleting
// nodes and children, clearing, and creating children in bulk, with the
// counts, heights and visible count kept on the way.
#include "widgets/tree/base_data_tree.h"

#include "platform/controls/application.h"
#include "widgets/tree/try_finally.h"

#include <algorithm>
#include <string>
#include <unordered_set>
#include <utility>

namespace qel {

namespace {

constexpr const char* ChangeOffUIThread = "UI controls may only be changed in UI thread.";
constexpr const char* DeleteWhileIterating = "Deleting nodes during tree iteration leads to invalid pointers.";

bool IsChildMode(TDTNodeAttachMode mode)
{
    return mode == amAddChildFirst || mode == amAddChildLast;
}

} // namespace

template <class Body>
void TBaseDataTree::InDeletionScope(Body&& body)
{
    ++FDeletionDepth;
    try {
        body();
    } catch (...) {
        if (--FDeletionDepth == 0) {
            FFreeNodeError = nullptr;
        }
        throw;
    }
    if (--FDeletionDepth == 0 && FFreeNodeError) {
        std::rethrow_exception(std::exchange(FFreeNodeError, nullptr));
    }
}

PDataNode TBaseDataTree::AddChild(PDataNode parent, void* userData)
{
    if (ReadOnly()) {
        return nullptr;
    }
    return InsertNode(parent, amAddChildLast, userData);
}

PDataNode TBaseDataTree::InsertNode(PDataNode node, TDTNodeAttachMode mode, void* userData)
{
    if (mode == amNoWhere || mode > amAddChildLast) {
        return nullptr;
    }
    CheckUIThread(ChangeOffUIThread);
    CancelEditNode();
    if (node == nullptr) {
        node = FRoot;
    }
    if (userData != nullptr) {
        // Checked before the node is made, so a refusal leaves no node behind.
        if (EnsureNodeDataSize() < 8) {
            throw EAssertionFailed(std::string(ClassName()) +
                                   ": Cannot set initial user data because there is not enough user data space allocated.");
        }
        TreeAssert(FRecordType == nullptr, "Cannot set user data of nodes that hold typed records.");
    }
    if (node == FRoot) {
        if (mode == amInsertBefore) {
            mode = amAddChildFirst;
        } else if (mode == amInsertAfter) {
            mode = amAddChildLast;
        }
    }
    const PDataNode newNode = MakeNewNode();
    if (IsChildMode(mode) && !node->States.Contains(vsInitialized)) {
        try {
            InitNode(node);
        } catch (...) {
            FNodeStore.Free(newNode);
            throw;
        }
    }
    // The worker reads the links about to change.
    InterruptValidation();
    InternalConnectNode(newNode, node, this, mode);
    if (userData != nullptr) {
        newNode->SetData(userData);
    }
    if (FUpdateCount == 0) {
        if (IsChildMode(mode)) {
            StructureChange(node, crChildAdded);
            AutoSort(node, true);
            InvalidateToBottom(node);
        } else {
            StructureChange(newNode, crNodeAdded);
            AutoSort(node->fParent, true);
            InvalidateToBottom(newNode);
        }
        InvalidateCache();
        UpdateScrollBars(true);
    }
    return newNode;
}

void TBaseDataTree::InternalConnectNode(PDataNode node, PDataNode destination, TBaseDataTree* target,
                                        TDTNodeAttachMode mode)
{
    switch (mode) {
    case amInsertBefore:
        node->fPrevSibling = destination->fPrevSibling;
        destination->fPrevSibling = node;
        node->fNextSibling = destination;
        node->fParent = destination->fParent;
        node->fIndex = destination->fIndex;
        if (node->fPrevSibling != nullptr) {
            node->fPrevSibling->fNextSibling = node;
        } else {
            node->fParent->FirstChild = node;
        }
        for (PDataNode run = destination; run != nullptr; run = run->fNextSibling) {
            ++run->fIndex;
        }
        break;
    case amInsertAfter:
        node->fNextSibling = destination->fNextSibling;
        destination->fNextSibling = node;
        node->fPrevSibling = destination;
        node->fParent = destination->fParent;
        if (node->fNextSibling != nullptr) {
            node->fNextSibling->fPrevSibling = node;
        } else {
            node->fParent->fLastChild = node;
        }
        node->fIndex = destination->fIndex + 1;
        for (PDataNode run = node->fNextSibling; run != nullptr; run = run->fNextSibling) {
            ++run->fIndex;
        }
        break;
    case amAddChildFirst:
        node->fNextSibling = destination->FirstChild;
        if (destination->FirstChild != nullptr) {
            destination->FirstChild->fPrevSibling = node;
        } else {
            destination->fLastChild = node;
        }
        destination->FirstChild = node;
        node->fPrevSibling = nullptr;
        node->fParent = destination;
        node->fIndex = 0;
        for (PDataNode run = node->fNextSibling; run != nullptr; run = run->fNextSibling) {
            ++run->fIndex;
        }
        break;
    case amAddChildLast:
        node->fPrevSibling = destination->fLastChild;
        if (destination->fLastChild != nullptr) {
            destination->fLastChild->fNextSibling = node;
        } else {
            destination->FirstChild = node;
        }
        destination->fLastChild = node;
        node->fNextSibling = nullptr;
        node->fParent = destination;
        node->fIndex = node->fPrevSibling != nullptr ? node->fPrevSibling->fIndex + 1 : 0;
        break;
    default:
        return;
    }
    node->States -= {vsChecking, vsCutOrCopy, vsDeleting};
    const PDataNode parent = node->fParent;
    ++parent->fChildCount;
    parent->States.Include(vsHasChildren);
    target->AdjustTotalCount(parent, node->TotalCount, true);
    const bool effectivelyVisible = target->GetEffectivelyVisible(node);
    if (parent->States.Contains(vsExpanded) && node->States.Contains(vsVisible)) {
        target->AdjustTotalHeight(parent, node->TotalHeight, true);
        // Only nodes on a fully visible path are counted.
        if (target->GetFullyVisible(parent)) {
            target->FVisibleCount += target->CountVisibleChildren(node) + (effectivelyVisible ? 1 : 0);
        }
    }
    if (parent != target->FRoot) {
        if (effectivelyVisible) {
            parent->States.Exclude(vsAllChildrenHidden);
        } else if (parent->fChildCount == 1) {
            parent->States.Include(vsAllChildrenHidden);
        }
    }
}

void TBaseDataTree::InternalDisconnectNode(PDataNode node, bool keepFocus, bool reindex, bool parentClearing)
{
    TreeAssert(node != nullptr && node != FRoot, "Node must neither be nil nor the root node.");
    if (node == FFocusedNode && !keepFocus) {
        DoFocusNode(nullptr, false);
        DoFocusChange(FFocusedNode, FFocusedColumn);
    }
    if (node == FRangeAnchor) {
        ResetRangeAnchor();
    }
    const PDataNode parent = node->fParent;
    if (!parentClearing) {
        HiddenChildrenChanged(parent);
    }
    if (node->States.Contains(vsDeleting)) {
        return;
    }
    node->States.Exclude(vsChecking);
    const bool parentWasExpanded = parent->States.Contains(vsExpanded);
    const bool wasFullyVisible = GetFullyVisible(node);
    --parent->fChildCount;
    if (parent->fChildCount == 0) {
        parent->States -= {vsHasChildren, vsAllChildrenHidden};
        if (parent != FRoot) {
            parent->States.Exclude(vsExpanded);
        }
    }
    AdjustTotalCount(parent, -std::int64_t{node->TotalCount}, true);
    if (parentWasExpanded && node->States.Contains(vsVisible)) {
        AdjustTotalHeight(parent, -node->TotalHeight, true);
    }
    if (wasFullyVisible) {
        FVisibleCount -= CountVisibleChildren(node) + (GetEffectivelyVisible(node) ? 1 : 0);
    }
    if (node->fPrevSibling != nullptr) {
        node->fPrevSibling->fNextSibling = node->fNextSibling;
    } else {
        parent->FirstChild = node->fNextSibling;
    }
    if (node->fNextSibling != nullptr) {
        node->fNextSibling->fPrevSibling = node->fPrevSibling;
        if (reindex) {
            std::uint32_t index = node->fIndex;
            for (PDataNode run = node->fNextSibling; run != nullptr; run = run->fNextSibling) {
                run->fIndex = index++;
            }
        }
    } else {
        parent->fLastChild = node->fPrevSibling;
    }
}

void TBaseDataTree::RemoveDeletedFromSelection(PDataNode node)
{
    if (!node->States.Contains(vsSelected)) {
        return;
    }
    // Inside an update the entry is only marked; the update's end packs
    // the array.
    if (FUpdateCount > 0) {
        InternalRemoveFromSelection(node);
        return;
    }
    // OnChange of the removal comes at once.
    const bool wasSynch = FStates.Contains(tsSynchMode);
    FStates.Include(tsSynchMode);
    TryFinally([&] { RemoveFromSelection(node); },
               [&] {
                   if (!wasSynch) {
                       FStates.Exclude(tsSynchMode);
                   }
               });
}

void TBaseDataTree::DeleteNode(PDataNode node, bool reindex)
{
    InternalDeleteNode(node, reindex, false);
}

void TBaseDataTree::InternalDeleteNode(PDataNode node, bool reindex, bool parentClearing)
{
    if (node == nullptr || node == FRoot || ReadOnly()) {
        return;
    }
    TreeAssert(!FStates.Contains(tsIterating), DeleteWhileIterating);
    if (!parentClearing) {
        CheckUIThread(ChangeOffUIThread);
    }
    InDeletionScope([&] {
        const PDataNode parent = node->fParent;
        if (!parentClearing) {
            StructureChange(parent == FRoot ? nullptr : parent, crChildDeleted);
            if (node == FNextNodeToSelect) {
                FNextNodeToSelect = nullptr;
            }
        }
        const plat::TPoint offsets = OffsetXY();
        if (FStates.Contains(tsHint)) {
            if (plat::Application != nullptr) {
                plat::Application->CancelHint();
            }
            DoStateChange({}, {tsHint});
        }
        if (!parentClearing) {
            InterruptValidation();
        }
        DeleteChildren(node, false);
        RemoveDeletedFromSelection(node);
        InvalidateToBottom(parent);
        InternalDisconnectNode(node, false, reindex, false);
        DoFreeNode(node);
        if (parentClearing) {
            return;
        }
        HiddenChildrenChanged(parent);
        InvalidateCache();
        if (FUpdateCount == 0) {
            ValidateCache();
            UpdateScrollBars(true);
            // The rows moved as a whole: none of them stands where it stood.
            if (OffsetXY() != offsets) {
                Invalidate();
            }
        }
    });
}

void TBaseDataTree::DeleteChildren(PDataNode node, bool resetHasChildren)
{
    CheckUIThread(ChangeOffUIThread);
    if (node == nullptr || node->FirstChild == nullptr || ReadOnly()) {
        if (resetHasChildren && node != nullptr) {
            node->States.Exclude(vsHasChildren);
        }
        return;
    }
    TreeAssert(!FStates.Contains(tsIterating), DeleteWhileIterating);
    InDeletionScope([&] {
        plat::TPoint offsets = OffsetXY();
        ++FUpdateCount;
        TryFinally(
            [&] {
                InterruptValidation();
                offsets = OffsetXY();
                const bool visibleToUser =
                    node == FRoot || (node->States.Contains(vsExpanded) && GetFullyVisible(node));
                for (PDataNode child = node->fLastChild; child != nullptr;) {
                    const PDataNode previous = child->fPrevSibling;
                    if (visibleToUser && GetEffectivelyVisible(child)) {
                        --FVisibleCount;
                    }
                    child->States.Include(vsDeleting);
                    if (previous != nullptr) {
                        previous->fNextSibling = nullptr;
                    }
                    InternalDeleteNode(child, false, true);
                    child = previous;
                }
                if (resetHasChildren) {
                    node->States.Exclude(vsHasChildren);
                }
                if (node != FRoot) {
                    node->States.Exclude(vsExpanded);
                }
                node->fChildCount = 0;
                if (node == FRoot) {
                    FRoot->TotalHeight = FDefaultNodeHeight;
                    FRoot->TotalCount = 1;
                } else {
                    AdjustTotalHeight(node, EffectiveOwnHeight(node));
                    AdjustTotalCount(node, 1);
                }
                node->FirstChild = nullptr;
                node->fLastChild = nullptr;
            },
            [&] { --FUpdateCount; });
        InvalidateCache();
        if (FUpdateCount == 0) {
            PackSelection();
            ValidateCache();
            UpdateScrollBars(true);
            if (OffsetXY() != offsets) {
                Invalidate();
            } else {
                InvalidateToBottom(node);
            }
            if (FStates.Contains(tsChangePending)) {
                DoChange(FLastChangedNode);
                EnsureNodeSelected(true);
            }
        }
        StructureChange(node, crChildDeleted);
    });
}

void TBaseDataTree::DeleteNodes(const TNodeArray& nodes)
{
    const TNodeArray topmost = TopmostInTreeOrder(nodes);
    if (topmost.empty()) {
        return;
    }
    BeginUpdate();
    TryFinally(
        [&] {
            // Siblings after the first of a run are renumbered with it.
            for (std::size_t i = topmost.size() - 1; i > 0; --i) {
                const bool reindex = topmost[i]->fParent != topmost[i - 1]->fParent;
                InternalDeleteNode(topmost[i], reindex, false);
            }
            InternalDeleteNode(topmost[0], true, false);
        },
        [&] { EndUpdate(); });
}

TNodeArray TBaseDataTree::TopmostInTreeOrder(const TNodeArray& nodes) const
{
    // Entries below another entry go with it and duplicates count once, so
    // no entry is freed before its turn; tree order (by the index path from
    // the root) keeps the renumbering right, whatever order the caller gave.
    const std::unordered_set<PDataNode> given(nodes.begin(), nodes.end());
    std::vector<std::pair<std::vector<std::uint32_t>, PDataNode>> keyed;
    std::unordered_set<PDataNode> taken;
    for (PDataNode node : nodes) {
        if (node == nullptr || node == FRoot || !taken.insert(node).second) {
            continue;
        }
        std::vector<std::uint32_t> path{node->fIndex};
        bool below = false;
        for (PDataNode run = node->fParent; run != FRoot && !below; run = run->fParent) {
            below = given.count(run) != 0;
            path.push_back(run->fIndex);
        }
        if (!below) {
            std::reverse(path.begin(), path.end());
            keyed.emplace_back(std::move(path), node);
        }
    }
    std::sort(keyed.begin(), keyed.end());
    TNodeArray topmost;
    for (const auto& entry : keyed) {
        topmost.push_back(entry.second);
    }
    return topmost;
}

void TBaseDataTree::Clear()
{
    if ((FRoot->FirstChild == nullptr || ReadOnly()) && !IsDestroying()) {
        return;
    }
    if (!IsDestroying()) {
        CheckUIThread(ChangeOffUIThread);
    }
    BeginUpdate();
    TryFinally(
        [&] {
            InterruptValidation();
            CancelEditNode();
            if (FStates.Contains(tsCutPending) || FStates.Contains(tsCopyPending)) {
                EmptyOwnClipboard();
                DoStateChange({}, {tsCutPending, tsCopyPending});
            }
            ClearSelection();
            ForgetAllNodes();
            DeleteChildren(FRoot, true);
            FMultilineSeen = false;
            SetOffsetXY(plat::Point(0, 0));
        },
        [&] { EndUpdate(); });
}

void TBaseDataTree::SetChildCount(PDataNode node, std::uint32_t newChildCount)
{
    if (ReadOnly()) {
        return;
    }
    if (node == nullptr) {
        node = FRoot;
    }
    CheckUIThread(ChangeOffUIThread);
    if (newChildCount == 0) {
        DeleteChildren(node, false);
        return;
    }
    const std::uint32_t oldCount = node->fChildCount;
    if (newChildCount == oldCount) {
        return;
    }
    InterruptValidation();
    if (newChildCount > oldCount) {
        if (node->fLastChild == nullptr) {
            node->States.Include(vsHasChildren);
        }
        node->States -= {vsAllChildrenHidden, vsHeightMeasured};
        std::uint32_t index = node->fLastChild != nullptr ? node->fLastChild->fIndex + 1 : 0;
        std::uint32_t made = 0;
        std::int64_t madeHeight = 0;
        // The counts follow the nodes made so far, also when making one fails.
        TryFinally(
            [&] {
                for (; made < newChildCount - oldCount; ++made) {
                    const PDataNode child = MakeNewNode();
                    child->fIndex = index++;
                    child->fParent = node;
                    child->fPrevSibling = node->fLastChild;
                    if (node->fLastChild != nullptr) {
                        node->fLastChild->fNextSibling = child;
                    } else {
                        node->FirstChild = child;
                    }
                    node->fLastChild = child;
                    madeHeight += child->TotalHeight;
                }
            },
            [&] {
                const bool expanded = node->States.Contains(vsExpanded);
                if (expanded && GetFullyVisible(node)) {
                    FVisibleCount += made;
                }
                if (expanded) {
                    AdjustTotalHeight(node, node->TotalHeight + madeHeight);
                }
                AdjustTotalCount(node, made, true);
                node->fChildCount = oldCount + made;
            });
        if (FUpdateCount == 0) {
            AutoSort(node, true);
        }
        InvalidateCache();
    } else {
        while (node->fChildCount > newChildCount && node->fLastChild != nullptr) {
            InternalDeleteNode(node->fLastChild, true, false);
        }
    }
    if (FUpdateCount == 0) {
        ValidateCache();
        UpdateScrollBars(true);
        if (HandleAllocated()) {
            Invalidate();
        }
    }
    StructureChange(node == FRoot ? nullptr : node, crChildAdded);
}

void TBaseDataTree::SetRootNodeCount(std::uint32_t value)
{
    // While loading, the nodes are made by Loaded; a tree that already has
    // nodes takes the count at once, so its child list and count agree.
    if (Loading() && FRoot->FirstChild == nullptr) {
        FRoot->fChildCount = value;
        DoStateChange({tsNeedRootCountUpdate});
        return;
    }
    if (value == FRoot->fChildCount) {
        return;
    }
    BeginUpdate();
    TryFinally(
        [&] {
            InterruptValidation();
            SetChildCount(FRoot, value);
        },
        [&] { EndUpdate(); });
}

std::uint32_t TBaseDataTree::GetChildCount(PDataNode node)
{
    if (node == nullptr || node == FRoot) {
        return FRoot->fChildCount;
    }
    if (!GetChildrenInitialized(node)) {
        InitChildren(node);
    }
    return node->fChildCount;
}

bool TBaseDataTree::GetHasChildren(PDataNode node) const
{
    return (node != nullptr ? node : FRoot)->States.Contains(vsHasChildren);
}

void TBaseDataTree::SetHasChildren(PDataNode node, bool value)
{
    if (node == nullptr || ReadOnly()) {
        return;
    }
    if (value) {
        node->States.Include(vsHasChildren);
    } else {
        node->States.Exclude(vsHasChildren);
        DeleteChildren(node, false);
    }
}

bool TBaseDataTree::GetChildrenInitialized(PDataNode node) const
{
    return !(node->States.Contains(vsHasChildren) && node->fChildCount == 0);
}

std::uint32_t TBaseDataTree::TotalCount()
{
    CheckUIThread("UI controls may only be used in UI thread.");
    ++FUpdateCount;
    TryFinally([&] { ValidateNode(FRoot, true); }, [&] { --FUpdateCount; });
    return FRoot->TotalCount - 1;
}

} // namespace qel
