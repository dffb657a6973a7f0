// The visible walks of the data tree: from node to node among those that
// take a row (every ancestor expanded and visible, the node visible and not
// filtered out), in tree order or with the children above their parent.
// The children of an expanded filtered node still take rows of their own.
#include "widgets/tree/base_data_tree.h"

namespace qel {

namespace {

constexpr const char* InvalidParameter = "Invalid parameter.";

bool HasVisible(PDataNode node)
{
    return node->States.Contains(vsVisible);
}

bool IsExpanded(PDataNode node)
{
    return node->States.Contains(vsExpanded);
}

} // namespace

TBaseDataTree::TVisibleWalkStart TBaseDataTree::VisibleWalkStart(PDataNode node)
{
    TreeAssert(node != FRoot, "Node must not be the hidden root node.");
    if (GetFullyVisible(node)) {
        return {node, vwShown};
    }
    // The walk goes on from the part of the tree that hides the node: a
    // collapsed visible ancestor, or the hidden node below an expanded one.
    const PDataNode shown = GetVisibleParent(node, true);
    if (shown != FRoot && !IsExpanded(shown)) {
        return {shown, vwCollapsedAncestor};
    }
    PDataNode hidden = node;
    while (hidden->fParent != shown) {
        hidden = hidden->fParent;
    }
    return {hidden, vwHiddenBranch};
}

// Every node a visible walk reaches lies below a fully visible, expanded
// parent (or the root), so it takes a row exactly when it has vsVisible and
// is not filtered out.

PDataNode TBaseDataTree::NextVisible(PDataNode node, bool considerChildrenAbove, bool init)
{
    if (node == nullptr) {
        return nullptr;
    }
    const auto step = [&](PDataNode each) { return init ? Initialized(each) : each; };
    const TVisibleWalkStart start = VisibleWalkStart(node);
    PDataNode run = start.Node;
    if (UsesChildrenAbove(considerChildrenAbove)) {
        // A collapsed ancestor comes right after its hidden subtree.
        PDataNode candidate = start.Kind == vwCollapsedAncestor ? step(run) : nullptr;
        for (;;) {
            if (candidate == nullptr) {
                if (run->fNextSibling == nullptr) {
                    run = run->fParent;
                    if (run == FRoot) {
                        return nullptr;
                    }
                    candidate = step(run);
                } else {
                    run = step(run->fNextSibling);
                    if (!HasVisible(run)) {
                        continue;
                    }
                    // The subtree starts with its first visible node in
                    // this order: down through the first visible children.
                    candidate = run;
                    while (IsExpanded(candidate)) {
                        if (init) {
                            EnsureChildren(candidate);
                        }
                        PDataNode child = step(candidate->FirstChild);
                        while (child != nullptr && !HasVisible(child)) {
                            child = step(child->fNextSibling);
                        }
                        if (child == nullptr) {
                            break;
                        }
                        candidate = child;
                    }
                }
            }
            if (!GetEffectivelyFiltered(candidate)) {
                return candidate;
            }
            run = candidate;
            candidate = nullptr;
        }
    }
    bool enter = start.Kind == vwShown;
    for (;;) {
        if (enter && IsExpanded(run)) {
            if (init) {
                EnsureChildren(run);
            }
            if (run->FirstChild != nullptr) {
                run = step(run->FirstChild);
                enter = HasVisible(run);
                if (enter && !GetEffectivelyFiltered(run)) {
                    return run;
                }
                continue;
            }
        }
        while (run->fNextSibling == nullptr) {
            run = run->fParent;
            if (run == FRoot) {
                return nullptr;
            }
        }
        run = step(run->fNextSibling);
        enter = HasVisible(run);
        if (enter && !GetEffectivelyFiltered(run)) {
            return run;
        }
    }
}

PDataNode TBaseDataTree::PreviousVisible(PDataNode node, bool considerChildrenAbove, bool init)
{
    if (node == nullptr) {
        return nullptr;
    }
    const auto step = [&](PDataNode each) { return init ? Initialized(each) : each; };
    const TVisibleWalkStart start = VisibleWalkStart(node);
    PDataNode run = start.Node;
    const bool childrenAbove = UsesChildrenAbove(considerChildrenAbove);
    // In tree order a collapsed ancestor comes right before its hidden
    // subtree; with the children above, its children (hidden) come first.
    PDataNode candidate = !childrenAbove && start.Kind == vwCollapsedAncestor ? step(run) : nullptr;
    bool enter = start.Kind == vwShown;
    for (;;) {
        if (candidate == nullptr && childrenAbove && enter && IsExpanded(run)) {
            // A node's last visible child comes right before it.
            if (init) {
                EnsureChildren(run);
            }
            candidate = step(run->fLastChild);
            while (candidate != nullptr && !HasVisible(candidate)) {
                candidate = step(candidate->fPrevSibling);
            }
        }
        while (candidate == nullptr && run->fPrevSibling == nullptr) {
            run = run->fParent;
            if (run == FRoot) {
                return nullptr;
            }
            if (!childrenAbove) {
                candidate = step(run);
            }
        }
        if (candidate == nullptr) {
            run = step(run->fPrevSibling);
            if (!HasVisible(run)) {
                enter = false;
                continue;
            }
            candidate = run;
            // In tree order the subtree ends with its last visible node.
            while (!childrenAbove && IsExpanded(candidate)) {
                if (init) {
                    EnsureChildren(candidate);
                }
                PDataNode child = step(candidate->fLastChild);
                while (child != nullptr && !HasVisible(child)) {
                    child = step(child->fPrevSibling);
                }
                if (child == nullptr) {
                    break;
                }
                candidate = child;
            }
        }
        if (!GetEffectivelyFiltered(candidate)) {
            return candidate;
        }
        run = candidate;
        candidate = nullptr;
        enter = true;
    }
}

PDataNode TBaseDataTree::GetNextVisible(PDataNode node, bool considerChildrenAbove)
{
    return NextVisible(node, considerChildrenAbove, true);
}

PDataNode TBaseDataTree::GetNextVisibleNoInit(PDataNode node, bool considerChildrenAbove)
{
    return NextVisible(node, considerChildrenAbove, false);
}

PDataNode TBaseDataTree::GetPreviousVisible(PDataNode node, bool considerChildrenAbove)
{
    return PreviousVisible(node, considerChildrenAbove, true);
}

PDataNode TBaseDataTree::GetPreviousVisibleNoInit(PDataNode node, bool considerChildrenAbove)
{
    return PreviousVisible(node, considerChildrenAbove, false);
}

PDataNode TBaseDataTree::FirstVisible(PDataNode node, bool considerChildrenAbove, bool includeFiltered, bool init)
{
    const auto step = [&](PDataNode each) { return init ? Initialized(each) : each; };
    if (node == nullptr) {
        node = FRoot;
    }
    if (!node->States.Contains(vsHasChildren)) {
        return nullptr;
    }
    PDataNode result = init ? GetFirstChild(node) : node->FirstChild;
    if (UsesChildrenAbove(considerChildrenAbove)) {
        // Down through the first visible children of expanded nodes; when a
        // level has none, its parent is the first.
        while (result != nullptr) {
            if (!HasVisible(result)) {
                if (result->fNextSibling != nullptr) {
                    result = step(result->fNextSibling);
                    continue;
                }
                result = result->fParent == FRoot ? nullptr : step(result->fParent);
                break;
            }
            if (!IsExpanded(result)) {
                break;
            }
            if (init) {
                EnsureChildren(result);
            }
            if (result->FirstChild == nullptr) {
                break;
            }
            result = step(result->FirstChild);
        }
    } else {
        // A hidden first child gives way to the next visible node on its
        // level, or on the levels above.
        while (result != nullptr && !HasVisible(result)) {
            while (result != FRoot && result->fNextSibling == nullptr) {
                result = result->fParent;
            }
            result = result == FRoot ? nullptr : step(result->fNextSibling);
        }
    }
    if (result != nullptr && !includeFiltered && GetEffectivelyFiltered(result)) {
        result = NextVisible(result, considerChildrenAbove, init);
    }
    return result;
}

PDataNode TBaseDataTree::GetFirstVisible(PDataNode node, bool considerChildrenAbove, bool includeFiltered)
{
    return FirstVisible(node, considerChildrenAbove, includeFiltered, true);
}

PDataNode TBaseDataTree::GetFirstVisibleNoInit(PDataNode node, bool considerChildrenAbove, bool includeFiltered)
{
    return FirstVisible(node, considerChildrenAbove, includeFiltered, false);
}

PDataNode TBaseDataTree::GetLastVisibleNoInit(PDataNode node, bool considerChildrenAbove, bool includeFiltered)
{
    PDataNode result = GetLastVisibleChildNoInit(node, true);
    if (!UsesChildrenAbove(considerChildrenAbove)) {
        while (result != nullptr) {
            const PDataNode deeper = GetLastVisibleChildNoInit(result, true);
            if (deeper == nullptr) {
                break;
            }
            result = deeper;
        }
    }
    // A filtered node is passed for the visible node before it (which in
    // children-above order may be one of its own children).
    if (result != nullptr && !includeFiltered && GetEffectivelyFiltered(result)) {
        result = PreviousVisible(result, considerChildrenAbove, false);
    }
    return result;
}

PDataNode TBaseDataTree::GetLastVisible(PDataNode node, bool considerChildrenAbove, bool includeFiltered)
{
    const PDataNode result = GetLastVisibleNoInit(node, considerChildrenAbove, includeFiltered);
    if (result != nullptr) {
        // Ancestors first, so that each is asked before its children.
        std::vector<PDataNode> path;
        for (PDataNode run = result; run != FRoot && run != node; run = run->fParent) {
            path.push_back(run);
        }
        for (auto each = path.rbegin(); each != path.rend(); ++each) {
            Initialized(*each);
        }
    }
    return result;
}

bool TBaseDataTree::ShownChild(PDataNode node, bool includeFiltered) const
{
    return HasVisible(node) && (includeFiltered || !GetEffectivelyFiltered(node));
}

PDataNode TBaseDataTree::GetFirstVisibleChild(PDataNode node, bool includeFiltered)
{
    PDataNode result = GetFirstChild(node);
    while (result != nullptr && !ShownChild(result, includeFiltered)) {
        result = GetNextSibling(result);
    }
    return result;
}

PDataNode TBaseDataTree::GetFirstVisibleChildNoInit(PDataNode node, bool includeFiltered)
{
    PDataNode result = GetFirstChildNoInit(node);
    while (result != nullptr && !ShownChild(result, includeFiltered)) {
        result = result->fNextSibling;
    }
    return result;
}

PDataNode TBaseDataTree::GetLastVisibleChild(PDataNode node, bool includeFiltered)
{
    return Initialized(GetLastVisibleChildNoInit(node, includeFiltered));
}

PDataNode TBaseDataTree::GetLastVisibleChildNoInit(PDataNode node, bool includeFiltered)
{
    if (node == nullptr) {
        node = FRoot;
    }
    if (node != FRoot && !(GetFullyVisible(node) && IsExpanded(node))) {
        return nullptr;
    }
    PDataNode result = node->fLastChild;
    while (result != nullptr && !ShownChild(result, includeFiltered)) {
        result = result->fPrevSibling;
    }
    return result;
}

PDataNode TBaseDataTree::GetNextVisibleSibling(PDataNode node, bool includeFiltered)
{
    TreeAssert(node != nullptr && node != FRoot, InvalidParameter);
    PDataNode result = node;
    do {
        result = GetNextSibling(result);
    } while (result != nullptr && !ShownChild(result, includeFiltered));
    return result;
}

PDataNode TBaseDataTree::GetNextVisibleSiblingNoInit(PDataNode node, bool includeFiltered)
{
    TreeAssert(node != nullptr && node != FRoot, InvalidParameter);
    PDataNode result = node;
    do {
        result = result->fNextSibling;
    } while (result != nullptr && !ShownChild(result, includeFiltered));
    return result;
}

PDataNode TBaseDataTree::GetPreviousVisibleSibling(PDataNode node, bool includeFiltered)
{
    TreeAssert(node != nullptr && node != FRoot, InvalidParameter);
    PDataNode result = node;
    do {
        result = GetPreviousSibling(result);
    } while (result != nullptr && !ShownChild(result, includeFiltered));
    return result;
}

PDataNode TBaseDataTree::GetPreviousVisibleSiblingNoInit(PDataNode node, bool includeFiltered)
{
    TreeAssert(node != nullptr && node != FRoot, InvalidParameter);
    PDataNode result = node;
    do {
        result = result->fPrevSibling;
    } while (result != nullptr && !ShownChild(result, includeFiltered));
    return result;
}

} // namespace qel
