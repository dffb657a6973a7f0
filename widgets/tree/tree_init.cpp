// Lazy initialisation of data tree nodes: a node is asked about (its states,
// whether it has children, how many) only when the tree first needs it, and
// may later be asked again (re-initialised) or reset to uninitialised.
#include "widgets/tree/base_data_tree.h"

#include "widgets/tree/try_finally.h"

namespace qel {

void TBaseDataTree::InitNode(PDataNode node)
{
    const bool wasInitialized = node->States.Contains(vsInitialized);
    const bool wasFiltered = node->States.Contains(vsFiltered);
    node->States.Include(vsInitializing);
    TryFinally(
        [&] {
            TDataNodeInitStates initStates;
            if (wasInitialized) {
                initStates.Include(ivsReInit);
            }
            node->States.Include(vsInitialized);
            DoInitNode(node->fParent, node, initStates);
            FollowParentCheckState(node);
            ApplyInitStates(node, initStates, wasFiltered);
        },
        [&] { node->States.Exclude(vsInitializing); });
}

void TBaseDataTree::DoInitNode(PDataNode parent, PDataNode node, TDataNodeInitStates& initStates)
{
    if (OnInitNode) {
        OnInitNode(this, parent == FRoot ? nullptr : parent, node, initStates);
    }
}

void TBaseDataTree::FollowParentCheckState(PDataNode node)
{
    if (node->CheckType == ctTriStateCheckBox && FOptions->AutoOptions().Contains(toAutoTristateTracking)) {
        const PDataNode parent = node->fParent;
        const TCheckState parentState = GetCheckState(parent);
        const TCheckState ownState = GetCheckState(node);
        if ((parentState == csCheckedNormal || parentState == csUncheckedNormal) && !IsDisabled(ownState) &&
            ownState != parentState && parent != FRoot) {
            SetCheckState(node, parent->CheckState);
        }
    } else if (FOptions->SelectionOptions().Contains(toSyncCheckboxesWithSelection)) {
        node->CheckType = ctCheckBox;
    }
}

void TBaseDataTree::ApplyInitStates(PDataNode node, TDataNodeInitStates initStates, bool wasFiltered)
{
    if (initStates.Contains(ivsDisabled)) {
        node->States.Include(vsDisabled);
    }
    if (initStates.Contains(ivsHasChildren)) {
        node->States.Include(vsHasChildren);
    }
    if (initStates.Contains(ivsSelected)) {
        InternalAddToSelection(node, false);
    }
    if (initStates.Contains(ivsMultiline)) {
        node->States.Include(vsMultiline);
        FMultilineSeen = true;
    }
    if (initStates.Contains(ivsFiltered)) {
        // A node that was filtered before has taken its row away already
        // (also one reset and initialised again).
        const bool takesRowAway = !wasFiltered && !FOptions->PaintOptions().Contains(toShowFilteredNodes);
        if (takesRowAway) {
            InterruptValidation();
        }
        node->States.Include(vsFiltered);
        if (takesRowAway) {
            AdjustTotalHeight(node, -node->fNodeHeight, true);
            if (GetFullyVisible(node)) {
                --FVisibleCount;
            }
            if (FUpdateCount == 0) {
                UpdateScrollBars(true);
            }
        }
    }
    if (initStates.Contains(ivsExpanded) != node->States.Contains(vsExpanded)) {
        if (initStates.Contains(ivsExpanded)) {
            ToggleNode(node);
        } else if (node->States.Contains(vsHasChildren)) {
            InitChildren(node);
        }
    }
}

void TBaseDataTree::InitChildren(PDataNode node)
{
    if (node == nullptr || node == FRoot || !node->States.Contains(vsHasChildren)) {
        return;
    }
    std::uint32_t count = node->fChildCount;
    if (DoInitChildren(node, count)) {
        SetChildCount(node, count);
        if (count == 0) {
            node->States.Exclude(vsHasChildren);
        }
    }
}

bool TBaseDataTree::DoInitChildren(PDataNode node, std::uint32_t& childCount)
{
    if (!OnInitChildren) {
        return false;
    }
    OnInitChildren(this, node, childCount);
    return true;
}

void TBaseDataTree::InitRecursive(PDataNode node, std::uint32_t levels, bool visibleOnly)
{
    if (node == nullptr) {
        node = FRoot;
    }
    if (node != FRoot && !node->States.Contains(vsInitialized)) {
        InitNode(node);
    }
    if (levels == 0 || (visibleOnly && !node->States.Contains(vsExpanded))) {
        return;
    }
    for (PDataNode child = node->FirstChild; child != nullptr; child = child->fNextSibling) {
        InitRecursive(child, levels - 1, visibleOnly);
    }
}

void TBaseDataTree::ValidateNode(PDataNode node, bool recursive)
{
    if (node == nullptr) {
        node = FRoot;
    }
    if (node != FRoot && !node->States.Contains(vsInitialized)) {
        InitNode(node);
    }
    if (!recursive) {
        return;
    }
    if (node->States.Contains(vsHasChildren) && node->FirstChild == nullptr) {
        InitChildren(node);
    }
    for (PDataNode child = node->FirstChild; child != nullptr; child = child->fNextSibling) {
        ValidateNode(child, true);
    }
}

void TBaseDataTree::ValidateChildren(PDataNode node, bool recursive)
{
    if (node == nullptr) {
        node = FRoot;
    }
    if (node->States.Contains(vsHasChildren) && node->FirstChild == nullptr) {
        InitChildren(node);
    }
    for (PDataNode child = node->FirstChild; child != nullptr; child = child->fNextSibling) {
        ValidateNode(child, recursive);
    }
}

void TBaseDataTree::ReinitNode(PDataNode node, bool recursive, bool forceReinit)
{
    if (node != nullptr && node != FRoot) {
        const bool initialized = node->States.Contains(vsInitialized);
        node->States -= {vsChecking, vsCutOrCopy, vsDeleting, vsHeightMeasured};
        if (initialized || forceReinit) {
            InitNode(node);
        }
    }
    if (node == nullptr) {
        node = FRoot;
    }
    if (recursive && (forceReinit || node->FirstChild != nullptr)) {
        ReinitChildren(node, true, forceReinit);
    }
}

void TBaseDataTree::ReinitChildren(PDataNode node, bool recursive, bool forceReinit)
{
    if (node == nullptr) {
        node = FRoot;
    }
    InitChildren(node);
    for (PDataNode child = node->FirstChild; child != nullptr; child = child->fNextSibling) {
        ReinitNode(child, recursive, forceReinit);
    }
}

void TBaseDataTree::ResetNode(PDataNode node)
{
    CancelEditNode();
    if (node == nullptr || node == FRoot) {
        Clear();
        return;
    }
    // A read-only tree keeps its children, so the node keeps the states
    // that go with them.
    if (ReadOnly()) {
        return;
    }
    DoReset(node);
    DeleteChildren(node, false);
    node->States -=
        {vsInitialized, vsChecking, vsCutOrCopy, vsDeleting, vsExpanded, vsHasChildren, vsHeightMeasured};
    InvalidateNode(node);
}

void TBaseDataTree::DoReset(PDataNode node)
{
    if (OnResetNode) {
        OnResetNode(this, node);
    }
}

} // namespace qel
