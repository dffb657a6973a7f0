// Moving and copying nodes. Within one tree a move relinks the node
// records, so references and user data stay valid; across trees, and for
// every copy, the nodes travel through the tree stream and are made anew.
#include "widgets/tree/base_data_tree.h"

#include "platform/streams.h"
#include "widgets/tree/tree_byte_streams.h"
#include "widgets/tree/try_finally.h"

namespace qel {

bool TBaseDataTree::DoNodeMoving(PDataNode node, PDataNode target)
{
    bool allowed = true;
    if (OnNodeMoving) {
        OnNodeMoving(this, node, target, allowed);
    }
    return allowed;
}

void TBaseDataTree::DoNodeMoved(PDataNode node)
{
    if (OnNodeMoved) {
        OnNodeMoved(this, node);
    }
}

bool TBaseDataTree::DoNodeCopying(PDataNode node, PDataNode target)
{
    bool allowed = true;
    if (OnNodeCopying) {
        OnNodeCopying(this, node, target, allowed);
    }
    return allowed;
}

void TBaseDataTree::DoNodeCopied(PDataNode node)
{
    if (OnNodeCopied) {
        OnNodeCopied(this, node);
    }
}

TBaseDataTree* TBaseDataTree::TransferTarget(PDataNode& target, TDTNodeAttachMode& mode)
{
    if (target == nullptr) {
        target = FRoot;
        mode = amAddChildFirst;
        return this;
    }
    TBaseDataTree* tree = TreeFromNode(target);
    if (target == tree->FRoot) {
        if (mode == amInsertBefore) {
            mode = amAddChildFirst;
        } else if (mode == amInsertAfter) {
            mode = amAddChildLast;
        }
    }
    return tree;
}

void TBaseDataTree::WriteTransfer(plat::TStream& stream, PDataNode source, bool childrenOnly, std::uint32_t& count)
{
    count = 0;
    if (childrenOnly) {
        for (PDataNode child = source->FirstChild; child != nullptr; child = child->fNextSibling) {
            WriteNode(stream, child);
            ++count;
        }
    } else {
        WriteNode(stream, source);
        count = 1;
    }
    stream.SetPosition(0);
}

void TBaseDataTree::MoveTo(PDataNode source, PDataNode target, TDTNodeAttachMode mode, bool childrenOnly)
{
    TreeAssert(source == nullptr || source == FRoot || TreeFromNode(source) == this,
               "The source tree must contain the source node.");
    if ((source == target && !(childrenOnly && (mode == amInsertBefore || mode == amInsertAfter))) ||
        mode == amNoWhere || source == nullptr || source == FRoot || ReadOnly()) {
        return;
    }
    TBaseDataTree* targetTree = TransferTarget(target, mode);
    if (targetTree->ReadOnly()) {
        return;
    }
    if (target != targetTree->FRoot) {
        if (!target->States.Contains(vsInitialized)) {
            targetTree->InitNode(target);
        } else if (target->States.Contains(vsHasChildren) && target->FirstChild == nullptr) {
            targetTree->InitChildren(target);
        }
    }
    const bool allowed = DoNodeMoving(source, target == targetTree->FRoot ? nullptr : target);
    if (allowed) {
        if (targetTree == this) {
            if (source != target && HasAsParent(target, source)) {
                throw EDataTreeError("Target node cannot be a child node of the node to be moved.", 2001);
            }
            if (!childrenOnly) {
                InternalDisconnectNode(source, true, true, false);
                InternalConnectNode(source, target, this, mode);
                DoNodeMoved(source);
            } else {
                // First-child moves take the children from the last one, so
                // that they keep their order.
                const bool backwards = mode == amAddChildFirst;
                PDataNode run = backwards ? source->fLastChild : source->FirstChild;
                while (run != nullptr) {
                    const PDataNode next = backwards ? run->fPrevSibling : run->fNextSibling;
                    InternalDisconnectNode(run, true, false, false);
                    InternalConnectNode(run, target, this, mode);
                    DoNodeMoved(run);
                    run = next;
                }
            }
        } else {
            TTreeWriteBuffer stream;
            std::uint32_t count = 0;
            WriteTransfer(stream, source, childrenOnly, count);
            targetTree->BeginUpdate();
            TryFinally(
                [&] {
                    for (std::uint32_t i = 0; i < count; ++i) {
                        DoNodeMoved(targetTree->AddNodeFromStream(stream, 3, target, mode));
                    }
                },
                [&] { targetTree->EndUpdate(); });
            BeginUpdate();
            TryFinally(
                [&] {
                    if (childrenOnly) {
                        DeleteChildren(source, false);
                    } else {
                        InternalDeleteNode(source, true, false);
                    }
                },
                [&] { EndUpdate(); });
        }
    }
    InvalidateCache();
    if (allowed && FUpdateCount == 0) {
        ValidateCache();
        UpdateScrollBars(true);
        if (HandleAllocated()) {
            Invalidate();
        }
        if (targetTree != this && targetTree->HandleAllocated()) {
            targetTree->Invalidate();
        }
    }
    // A node moved to another tree is gone from this one and is not named.
    const bool sourceGone = allowed && !childrenOnly && targetTree != this;
    StructureChange(sourceGone ? nullptr : source, crNodeMoved);
}

void TBaseDataTree::MoveTo(PDataNode node, TBaseDataTree* tree, TDTNodeAttachMode mode, bool childrenOnly)
{
    MoveTo(node, tree->RootNode(), mode, childrenOnly);
}

PDataNode TBaseDataTree::CopyTo(PDataNode source, PDataNode target, TDTNodeAttachMode mode, bool childrenOnly)
{
    TreeAssert(source == nullptr || source == FRoot || TreeFromNode(source) == this,
               "The source tree must contain the source node.");
    if (mode == amNoWhere || source == nullptr || source == FRoot) {
        return nullptr;
    }
    TBaseDataTree* targetTree = TransferTarget(target, mode);
    if (targetTree->ReadOnly()) {
        return nullptr;
    }
    TTreeWriteBuffer stream;
    std::uint32_t count = 0;
    WriteTransfer(stream, source, childrenOnly, count);
    PDataNode result = nullptr;
    targetTree->BeginUpdate();
    TryFinally(
        [&] {
            for (std::uint32_t i = 0; i < count; ++i) {
                const PDataNode node = targetTree->AddNodeFromStream(stream, 3, target, mode);
                if (DoNodeCopying(node, target)) {
                    result = node;
                    DoNodeCopied(node);
                } else {
                    targetTree->DeleteNode(node, true);
                    result = nullptr;
                }
            }
        },
        [&] { targetTree->EndUpdate(); });
    targetTree->InvalidateCache();
    if (targetTree->FUpdateCount == 0) {
        targetTree->ValidateCache();
        targetTree->UpdateScrollBars(true);
        if (targetTree->HandleAllocated()) {
            targetTree->Invalidate();
        }
    }
    targetTree->StructureChange(result, crNodeCopied);
    return childrenOnly ? target : result;
}

PDataNode TBaseDataTree::CopyTo(PDataNode source, TBaseDataTree* tree, TDTNodeAttachMode mode, bool childrenOnly)
{
    return CopyTo(source, tree->RootNode(), mode, childrenOnly);
}

} // namespace qel
