// Stepping from node to node of the data tree in tree order (a node before
// its children) or, with toChildrenAbove, in the order a node follows its
// children: first, last, next, previous, children and siblings. The plain
// forms initialise what they return and the children they step into; the
// NoInit forms never call the application.
#include "widgets/tree/base_data_tree.h"

namespace qel {

namespace {

constexpr const char* NotTheRoot = "Node must not be the hidden root node.";

} // namespace

void TBaseDataTree::EnsureChildren(PDataNode node)
{
    if (node->States.Contains(vsHasChildren) && node->fChildCount == 0) {
        InitChildren(node);
    }
}

PDataNode TBaseDataTree::GetFirst(bool considerChildrenAbove)
{
    PDataNode result = FRoot->FirstChild;
    if (result != nullptr && UsesChildrenAbove(considerChildrenAbove)) {
        for (;;) {
            EnsureChildren(result);
            if (result->FirstChild == nullptr) {
                break;
            }
            result = result->FirstChild;
        }
    }
    return Initialized(result);
}

PDataNode TBaseDataTree::GetFirstNoInit(bool considerChildrenAbove)
{
    PDataNode result = FRoot->FirstChild;
    if (UsesChildrenAbove(considerChildrenAbove)) {
        if (!FRoot->States.Contains(vsHasChildren)) {
            return nullptr;
        }
        while (result != nullptr && result->FirstChild != nullptr) {
            result = result->FirstChild;
        }
    }
    return result;
}

PDataNode TBaseDataTree::GetLast(PDataNode node, bool considerChildrenAbove)
{
    PDataNode result = GetLastChild(node);
    if (!UsesChildrenAbove(considerChildrenAbove)) {
        while (result != nullptr) {
            const PDataNode deeper = GetLastChild(result);
            if (deeper == nullptr) {
                break;
            }
            result = deeper;
        }
    }
    return result;
}

PDataNode TBaseDataTree::GetLastNoInit(PDataNode node, bool considerChildrenAbove)
{
    PDataNode result = GetLastChildNoInit(node);
    if (!UsesChildrenAbove(considerChildrenAbove)) {
        while (result != nullptr) {
            const PDataNode deeper = GetLastChildNoInit(result);
            if (deeper == nullptr) {
                break;
            }
            result = deeper;
        }
    }
    return result;
}

PDataNode TBaseDataTree::StepForward(PDataNode node, bool considerChildrenAbove, bool init)
{
    if (node == nullptr) {
        return nullptr;
    }
    TreeAssert(node != FRoot, NotTheRoot);
    PDataNode result;
    if (UsesChildrenAbove(considerChildrenAbove)) {
        // The next sibling's subtree starts with its deepest first node;
        // after the last sibling comes the parent.
        if (node->fNextSibling == nullptr) {
            result = node->fParent == FRoot ? nullptr : node->fParent;
        } else {
            result = node->fNextSibling;
            for (;;) {
                if (init) {
                    EnsureChildren(result);
                }
                if (result->FirstChild == nullptr) {
                    break;
                }
                result = result->FirstChild;
            }
        }
    } else {
        if (init) {
            EnsureChildren(node);
        }
        result = node->FirstChild;
        for (PDataNode run = node; result == nullptr && run != FRoot; run = run->fParent) {
            result = run->fNextSibling;
        }
    }
    return init ? Initialized(result) : result;
}

PDataNode TBaseDataTree::StepBackward(PDataNode node, bool considerChildrenAbove, bool init)
{
    if (node == nullptr) {
        return nullptr;
    }
    TreeAssert(node != FRoot, NotTheRoot);
    PDataNode result;
    if (UsesChildrenAbove(considerChildrenAbove)) {
        // A node's last child comes right before it.
        if (init) {
            EnsureChildren(node);
        }
        result = node->fLastChild;
        for (PDataNode run = node; result == nullptr && run != FRoot; run = run->fParent) {
            result = run->fPrevSibling;
        }
    } else if (node->fPrevSibling != nullptr) {
        const PDataNode last = init ? GetLast(node->fPrevSibling, false) : GetLastNoInit(node->fPrevSibling, false);
        result = last != nullptr ? last : node->fPrevSibling;
    } else {
        result = node->fParent == FRoot ? nullptr : node->fParent;
    }
    return init ? Initialized(result) : result;
}

PDataNode TBaseDataTree::GetNext(PDataNode node, bool considerChildrenAbove)
{
    return StepForward(node, considerChildrenAbove, true);
}

PDataNode TBaseDataTree::GetNextNoInit(PDataNode node, bool considerChildrenAbove)
{
    return StepForward(node, considerChildrenAbove, false);
}

PDataNode TBaseDataTree::GetPrevious(PDataNode node, bool considerChildrenAbove)
{
    return StepBackward(node, considerChildrenAbove, true);
}

PDataNode TBaseDataTree::GetPreviousNoInit(PDataNode node, bool considerChildrenAbove)
{
    return StepBackward(node, considerChildrenAbove, false);
}

PDataNode TBaseDataTree::GetFirstChild(PDataNode node)
{
    if (node == nullptr || node == FRoot) {
        return Initialized(FRoot->FirstChild);
    }
    Initialized(node);
    EnsureChildren(node);
    return node->States.Contains(vsHasChildren) ? Initialized(node->FirstChild) : nullptr;
}

PDataNode TBaseDataTree::GetFirstChildNoInit(PDataNode node) const
{
    if (node == nullptr) {
        node = FRoot;
    }
    return node->States.Contains(vsHasChildren) ? node->FirstChild : nullptr;
}

PDataNode TBaseDataTree::GetLastChild(PDataNode node)
{
    if (node == nullptr || node == FRoot) {
        return Initialized(FRoot->fLastChild);
    }
    Initialized(node);
    EnsureChildren(node);
    return node->States.Contains(vsHasChildren) ? Initialized(node->fLastChild) : nullptr;
}

PDataNode TBaseDataTree::GetLastChildNoInit(PDataNode node) const
{
    if (node == nullptr) {
        node = FRoot;
    }
    return node->States.Contains(vsHasChildren) ? node->fLastChild : nullptr;
}

PDataNode TBaseDataTree::GetNextSibling(PDataNode node)
{
    return Initialized(GetNextSiblingNoInit(node));
}

PDataNode TBaseDataTree::GetNextSiblingNoInit(PDataNode node) const
{
    if (node == nullptr) {
        return nullptr;
    }
    TreeAssert(node != FRoot, NotTheRoot);
    return node->fNextSibling;
}

PDataNode TBaseDataTree::GetPreviousSibling(PDataNode node)
{
    return Initialized(GetPreviousSiblingNoInit(node));
}

PDataNode TBaseDataTree::GetPreviousSiblingNoInit(PDataNode node) const
{
    if (node == nullptr) {
        return nullptr;
    }
    TreeAssert(node != FRoot, NotTheRoot);
    return node->fPrevSibling;
}

} // namespace qel
