// Node enumerations of the data tree and the subtree iteration with a
// callback.
#include "widgets/tree/node_enumeration.h"

#include "widgets/tree/base_data_tree.h"
#include "widgets/tree/try_finally.h"

namespace qel {

bool TDTDataNodeEnumerator::MoveNext()
{
    if (!FCanMoveNext) {
        return false;
    }
    FNode = FEnumeration.GetNext(FNode);
    FCanMoveNext = FNode != nullptr;
    return FCanMoveNext;
}

PDataNode TDTDataNodeEnumeration::GetNext(PDataNode current) const
{
    return current == nullptr ? FirstNode() : NextNode(current);
}

PDataNode TDTDataNodeEnumeration::FirstNode() const
{
    TBaseDataTree& tree = *FTree;
    switch (FMode) {
    case vneAll:
        return tree.GetFirst(FConsiderChildrenAbove);
    case vneChecked:
        return tree.GetFirstChecked(FState, FConsiderChildrenAbove);
    case vneChild:
        return tree.GetFirstChild(FNode);
    case vneCutCopy:
        return tree.GetFirstCutCopy(FConsiderChildrenAbove);
    case vneInitialized:
        return tree.GetFirstInitialized(FConsiderChildrenAbove);
    case vneLeaf:
        return tree.GetFirstLeaf();
    case vneLevel:
        return tree.GetFirstLevel(FNodeLevel);
    case vneNoInit:
        return tree.GetFirstNoInit(FConsiderChildrenAbove);
    case vneSelected:
        return tree.GetFirstSelected(FConsiderChildrenAbove);
    case vneVisible:
        return tree.GetFirstVisible(FNode, FConsiderChildrenAbove, FIncludeFiltered);
    case vneVisibleChild:
        return tree.GetFirstVisibleChild(FNode, FIncludeFiltered);
    case vneVisibleNoInitChild:
        return tree.GetFirstVisibleChildNoInit(FNode, FIncludeFiltered);
    case vneVisibleNoInit:
        return tree.GetFirstVisibleNoInit(FNode, FConsiderChildrenAbove, FIncludeFiltered);
    }
    return nullptr;
}

PDataNode TDTDataNodeEnumeration::NextNode(PDataNode current) const
{
    TBaseDataTree& tree = *FTree;
    PDataNode next = nullptr;
    switch (FMode) {
    case vneAll:
        return tree.GetNext(current, FConsiderChildrenAbove);
    case vneChecked:
        return tree.GetNextChecked(current, FState, FConsiderChildrenAbove);
    case vneChild:
        return tree.GetNextSibling(current);
    case vneCutCopy:
        return tree.GetNextCutCopy(current, FConsiderChildrenAbove);
    case vneInitialized:
        return tree.GetNextInitialized(current, FConsiderChildrenAbove);
    case vneLeaf:
        return tree.GetNextLeaf(current);
    case vneLevel:
        return tree.GetNextLevel(current, FNodeLevel);
    case vneNoInit:
        return tree.GetNextNoInit(current, FConsiderChildrenAbove);
    case vneSelected:
        return tree.GetNextSelected(current, FConsiderChildrenAbove);
    case vneVisible:
        next = current;
        do {
            next = tree.GetNextVisible(next, FConsiderChildrenAbove);
        } while (next != nullptr && !FIncludeFiltered && tree.GetEffectivelyFiltered(next));
        return next;
    case vneVisibleChild:
        return tree.GetNextVisibleSibling(current, FIncludeFiltered);
    case vneVisibleNoInitChild:
        return tree.GetNextVisibleSiblingNoInit(current, FIncludeFiltered);
    case vneVisibleNoInit:
        next = current;
        do {
            next = tree.GetNextVisibleNoInit(next, FConsiderChildrenAbove);
        } while (next != nullptr && !FIncludeFiltered && tree.GetEffectivelyFiltered(next));
        return next;
    }
    return nullptr;
}

TDTDataNodeEnumeration TBaseDataTree::Nodes(bool considerChildrenAbove)
{
    return {vneAll, *this, nullptr, considerChildrenAbove};
}

TDTDataNodeEnumeration TBaseDataTree::CheckedNodes(TCheckState state, bool considerChildrenAbove)
{
    return {vneChecked, *this, nullptr, considerChildrenAbove, false, state};
}

TDTDataNodeEnumeration TBaseDataTree::ChildNodes(PDataNode node)
{
    return {vneChild, *this, node};
}

TDTDataNodeEnumeration TBaseDataTree::CutCopyNodes(bool considerChildrenAbove)
{
    return {vneCutCopy, *this, nullptr, considerChildrenAbove};
}

TDTDataNodeEnumeration TBaseDataTree::InitializedNodes(bool considerChildrenAbove)
{
    return {vneInitialized, *this, nullptr, considerChildrenAbove};
}

TDTDataNodeEnumeration TBaseDataTree::LeafNodes()
{
    return {vneLeaf, *this};
}

TDTDataNodeEnumeration TBaseDataTree::LevelNodes(std::uint32_t nodeLevel)
{
    return {vneLevel, *this, nullptr, false, false, csCheckedNormal, nodeLevel};
}

TDTDataNodeEnumeration TBaseDataTree::NoInitNodes(bool considerChildrenAbove)
{
    return {vneNoInit, *this, nullptr, considerChildrenAbove};
}

TDTDataNodeEnumeration TBaseDataTree::SelectedNodes(bool considerChildrenAbove)
{
    return {vneSelected, *this, nullptr, considerChildrenAbove};
}

TDTDataNodeEnumeration TBaseDataTree::VisibleNodes(PDataNode node, bool considerChildrenAbove, bool includeFiltered)
{
    return {vneVisible, *this, node, considerChildrenAbove, includeFiltered};
}

TDTDataNodeEnumeration TBaseDataTree::VisibleChildNodes(PDataNode node, bool includeFiltered)
{
    return {vneVisibleChild, *this, node, false, includeFiltered};
}

TDTDataNodeEnumeration TBaseDataTree::VisibleChildNoInitNodes(PDataNode node, bool includeFiltered)
{
    return {vneVisibleNoInitChild, *this, node, false, includeFiltered};
}

TDTDataNodeEnumeration TBaseDataTree::VisibleNoInitNodes(PDataNode node, bool considerChildrenAbove,
                                                         bool includeFiltered)
{
    return {vneVisibleNoInit, *this, node, considerChildrenAbove, includeFiltered};
}

PDataNode TBaseDataTree::IterateSubtree(PDataNode startNode, const TDTGetNodeProc& callback, void* data,
                                        TDataNodeStates filter, bool doInit, bool childNodesOnly)
{
    TreeAssert(startNode != FRoot, "Node must not be the hidden root node.");
    const TDTGetNodeProc call = callback; // held for the walk
    const bool wasIterating = FStates.Contains(tsIterating);
    DoStateChange({tsIterating});
    PDataNode result = nullptr;
    TryFinally(
        [&] {
            const auto step = [&](PDataNode node) { return doInit ? GetNext(node) : GetNextNoInit(node); };
            PDataNode stop = nullptr;
            PDataNode run = startNode;
            if (startNode != nullptr) {
                if (doInit) {
                    Initialized(startNode);
                }
                for (PDataNode up = startNode; stop == nullptr && up != FRoot; up = up->fParent) {
                    stop = up->fNextSibling;
                }
            } else {
                run = GetFirstNoInit(false);
                if (doInit) {
                    Initialized(run);
                }
            }
            if (childNodesOnly) {
                if (run != nullptr && doInit) {
                    EnsureChildren(run);
                }
                if (run == nullptr || run->FirstChild == nullptr) {
                    return;
                }
                if (startNode != nullptr) {
                    run = step(run);
                }
            }
            while (run != nullptr && run != stop) {
                if (filter.Empty() || (run->States.Bits() & filter.Bits()) == filter.Bits()) {
                    bool abort = false;
                    call(this, run, data, abort);
                    if (abort) {
                        result = run;
                        return;
                    }
                }
                run = step(run);
            }
        },
        [&] {
            if (!wasIterating) {
                DoStateChange({}, {tsIterating});
            }
        });
    return result;
}

} // namespace qel
