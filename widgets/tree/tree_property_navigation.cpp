// Walks of the data tree to the nodes that have a property: a check
// state, a cut or copy mark, the selection, initialisation, no children,
// or a level.
#include "widgets/tree/base_data_tree.h"

namespace qel {

template <class Test>
PDataNode TBaseDataTree::FindForward(PDataNode node, bool considerChildrenAbove, Test test)
{
    PDataNode run = node == nullptr || node == FRoot ? GetFirstNoInit(considerChildrenAbove)
                                                     : GetNextNoInit(node, considerChildrenAbove);
    while (run != nullptr && !test(run)) {
        run = GetNextNoInit(run, considerChildrenAbove);
    }
    return run;
}

template <class Test>
PDataNode TBaseDataTree::FindBackward(PDataNode node, bool considerChildrenAbove, Test test)
{
    PDataNode run = node == nullptr || node == FRoot ? GetLastNoInit(nullptr, considerChildrenAbove)
                                                     : GetPreviousNoInit(node, considerChildrenAbove);
    while (run != nullptr && !test(run)) {
        run = GetPreviousNoInit(run, considerChildrenAbove);
    }
    return run;
}

PDataNode TBaseDataTree::GetFirstChecked(TCheckState state, bool considerChildrenAbove)
{
    return GetNextChecked(nullptr, state, considerChildrenAbove);
}

PDataNode TBaseDataTree::GetNextChecked(PDataNode node, TCheckState state, bool considerChildrenAbove)
{
    return Initialized(
        FindForward(node, considerChildrenAbove, [&](PDataNode each) { return GetCheckState(each) == state; }));
}

PDataNode TBaseDataTree::GetNextChecked(PDataNode node, bool considerChildrenAbove)
{
    return GetNextChecked(node, csCheckedNormal, considerChildrenAbove);
}

PDataNode TBaseDataTree::GetPreviousChecked(PDataNode node, TCheckState state, bool considerChildrenAbove)
{
    return Initialized(
        FindBackward(node, considerChildrenAbove, [&](PDataNode each) { return GetCheckState(each) == state; }));
}

bool TBaseDataTree::CutOrCopyPending() const
{
    return FStates.Contains(tsCutPending) || FStates.Contains(tsCopyPending);
}

namespace {

bool HasState(PDataNode node, TDataNodeState state)
{
    return node->States.Contains(state);
}

} // namespace

PDataNode TBaseDataTree::GetFirstCutCopy(bool considerChildrenAbove)
{
    return GetNextCutCopy(nullptr, considerChildrenAbove);
}

PDataNode TBaseDataTree::GetNextCutCopy(PDataNode node, bool considerChildrenAbove)
{
    if (!CutOrCopyPending()) {
        return nullptr;
    }
    return FindForward(node, considerChildrenAbove, [](PDataNode each) { return HasState(each, vsCutOrCopy); });
}

PDataNode TBaseDataTree::GetPreviousCutCopy(PDataNode node, bool considerChildrenAbove)
{
    if (!CutOrCopyPending()) {
        return nullptr;
    }
    return FindBackward(node, considerChildrenAbove, [](PDataNode each) { return HasState(each, vsCutOrCopy); });
}

PDataNode TBaseDataTree::GetFirstSelected(bool considerChildrenAbove)
{
    return GetNextSelected(nullptr, considerChildrenAbove);
}

PDataNode TBaseDataTree::GetNextSelected(PDataNode node, bool considerChildrenAbove)
{
    if (GetSelectedCount() < 1) {
        return nullptr;
    }
    return FindForward(node, considerChildrenAbove, [](PDataNode each) { return HasState(each, vsSelected); });
}

PDataNode TBaseDataTree::GetPreviousSelected(PDataNode node, bool considerChildrenAbove)
{
    if (GetSelectedCount() < 1) {
        return nullptr;
    }
    return FindBackward(node, considerChildrenAbove, [](PDataNode each) { return HasState(each, vsSelected); });
}

PDataNode TBaseDataTree::GetLastSelected(bool considerChildrenAbove)
{
    return GetPreviousSelected(nullptr, considerChildrenAbove);
}

PDataNode TBaseDataTree::GetFirstInitialized(bool considerChildrenAbove)
{
    return GetNextInitialized(nullptr, considerChildrenAbove);
}

PDataNode TBaseDataTree::GetNextInitialized(PDataNode node, bool considerChildrenAbove)
{
    return FindForward(node, considerChildrenAbove, [](PDataNode each) { return HasState(each, vsInitialized); });
}

PDataNode TBaseDataTree::GetPreviousInitialized(PDataNode node, bool considerChildrenAbove)
{
    return FindBackward(node, considerChildrenAbove, [](PDataNode each) { return HasState(each, vsInitialized); });
}

PDataNode TBaseDataTree::GetLastInitialized(PDataNode node, bool considerChildrenAbove)
{
    const PDataNode last = GetLastNoInit(node, considerChildrenAbove);
    if (last == nullptr || HasState(last, vsInitialized)) {
        return last;
    }
    return GetPreviousInitialized(last, considerChildrenAbove);
}

PDataNode TBaseDataTree::GetFirstLeaf()
{
    PDataNode run = Initialized(FRoot->FirstChild);
    while (run != nullptr && HasState(run, vsHasChildren)) {
        run = GetNext(run);
    }
    return run;
}

PDataNode TBaseDataTree::GetNextLeaf(PDataNode node)
{
    PDataNode run = GetNext(node);
    while (run != nullptr && HasState(run, vsHasChildren)) {
        run = GetNext(run);
    }
    return run;
}

PDataNode TBaseDataTree::GetPreviousLeaf(PDataNode node)
{
    // From the end of the tree the walk starts at its very last node.
    PDataNode run = node == nullptr || node == FRoot ? GetLast(nullptr) : GetPrevious(node);
    while (run != nullptr && HasState(run, vsHasChildren)) {
        run = GetPrevious(run);
    }
    return run;
}

PDataNode TBaseDataTree::GetFirstLevel(std::uint32_t nodeLevel)
{
    PDataNode run = GetFirstNoInit(true);
    while (run != nullptr && GetNodeLevel(run) != nodeLevel) {
        run = GetNextNoInit(run, true);
    }
    return Initialized(run);
}

PDataNode TBaseDataTree::GetNextLevel(PDataNode node, std::uint32_t nodeLevel)
{
    if (node == nullptr || node == FRoot) {
        return nullptr;
    }
    // Shallower nodes are entered, the subtrees of the others passed.
    PDataNode run = node;
    std::uint32_t level = GetNodeLevel(node);
    for (;;) {
        PDataNode next = level < nodeLevel ? GetFirstChild(run) : nullptr;
        if (next != nullptr) {
            ++level;
        } else {
            while ((next = GetNextSibling(run)) == nullptr) {
                run = run->fParent;
                if (run == FRoot) {
                    return nullptr;
                }
                --level;
            }
        }
        run = next;
        if (level == nodeLevel) {
            return run;
        }
    }
}

PDataNode TBaseDataTree::GetPreviousLevel(PDataNode node, std::uint32_t nodeLevel)
{
    if (node == nullptr || node == FRoot) {
        return nullptr;
    }
    PDataNode run = node;
    std::uint32_t level = GetNodeLevel(node);
    if (level > nodeLevel) {
        // Everything between a deeper node and its ancestor on the level
        // is deeper still.
        for (; level > nodeLevel; --level) {
            run = run->fParent;
        }
        return Initialized(run);
    }
    for (;;) {
        const PDataNode previous = GetPreviousSibling(run);
        if (previous == nullptr) {
            // A shallower parent comes before its children.
            run = run->fParent;
            if (run == FRoot) {
                return nullptr;
            }
            --level;
            continue;
        }
        // The last node of the level in the previous sibling's subtree.
        run = previous;
        while (level < nodeLevel) {
            const PDataNode last = GetLastChild(run);
            if (last == nullptr) {
                break;
            }
            run = last;
            ++level;
        }
        if (level == nodeLevel) {
            return run;
        }
    }
}

} // namespace qel
