// Check states of data tree nodes: a requested change is asked for, applied,
// passed down to the children and up to the parents of tri-state boxes,
// and radio buttons exclude their siblings. Every node whose stored state
// changed is announced with OnChecked, also when a parent refused to
// follow.
#include "widgets/tree/base_data_tree.h"

#include "widgets/tree/try_finally.h"

namespace qel {

namespace {

bool IsBox(TCheckType type)
{
    return type == ctTriStateCheckBox || type == ctCheckBox;
}

} // namespace

TCheckState TBaseDataTree::GetCheckState(PDataNode node)
{
    if (OnBeforeGetCheckState) {
        OnBeforeGetCheckState(this, node);
    }
    return node->CheckState;
}

void TBaseDataTree::SetCheckState(PDataNode node, TCheckState value)
{
    TreeAssert(node != nullptr, "Node must not be nil.");
    if (node->CheckState != value && DoChecking(node, value)) {
        ApplyCheckState(node, value);
    }
}

bool TBaseDataTree::DoChecking(PDataNode node, TCheckState& newState)
{
    if (ReadOnly() || node->States.Contains(vsDisabled)) {
        return false;
    }
    bool allowed = true;
    if (OnChecking) {
        OnChecking(this, node, newState, allowed);
    }
    return allowed;
}

void TBaseDataTree::DoChecked(PDataNode node)
{
    if (OnChecked) {
        OnChecked(this, node);
    }
    if (FUpdateCount == 0) {
        NotifyAccessibleEvent(EVENT_OBJECT_STATECHANGE);
    }
}

void TBaseDataTree::ApplyCheckState(PDataNode node, TCheckState newState)
{
    if (!ChangeCheckState(node, newState)) {
        return;
    }
    DoChecked(node);
    if (SyncCheckstateWithSelection(node)) {
        SetSelected(node, newState == csCheckedNormal);
    }
}

bool TBaseDataTree::ChangeCheckState(PDataNode node, TCheckState value)
{
    if (node->States.Contains(vsChecking)) {
        return false;
    }
    node->States.Include(vsChecking);
    bool result = false;
    TryFinally(
        [&] {
            if (!node->States.Contains(vsInitialized)) {
                InitNode(node);
            } else if (node->CheckState == value) {
                return;
            }
            if (FCheckPropagationCount == 0) {
                DoStateChange({tsCheckPropagation});
                BeginUpdate();
            }
            ++FCheckPropagationCount;
            TryFinally(
                [&] {
                    const bool tracking = FOptions->AutoOptions().Contains(toAutoTristateTracking);
                    if (node->CheckType == ctTriStateCheckBox && tracking && node->fChildCount > 0 &&
                        (value == csCheckedNormal || value == csUncheckedNormal)) {
                        const bool checking = value == csCheckedNormal;
                        std::uint32_t unchecked = 0;
                        std::uint32_t checked = 0;
                        std::uint32_t mixed = 0;
                        for (PDataNode child = node->FirstChild; child != nullptr; child = child->fNextSibling) {
                            if (!IsBox(child->CheckType)) {
                                continue;
                            }
                            if (!IsDisabled(GetCheckState(child))) {
                                SetCheckState(child, value);
                            }
                            const TCheckState state = GetCheckState(child);
                            if (state == csUncheckedNormal || (!checking && state == csUncheckedDisabled)) {
                                ++unchecked;
                            } else if (state == csCheckedNormal || (!checking && state == csCheckedDisabled)) {
                                ++checked;
                            } else if (state == csMixedNormal) {
                                ++mixed;
                            }
                        }
                        if (mixed > 0) {
                            value = csMixedNormal;
                        } else if (checked > 0) {
                            value = unchecked > 0 ? csMixedNormal : csCheckedNormal;
                        }
                    }
                    if (node->CheckType == ctRadioButton && value == csCheckedNormal) {
                        for (PDataNode sibling = node->fParent->FirstChild; sibling != nullptr;
                             sibling = sibling->fNextSibling) {
                            if (sibling->CheckType == ctRadioButton) {
                                sibling->CheckState = csUncheckedNormal;
                            }
                        }
                        if (HandleAllocated()) {
                            Invalidate();
                        }
                    }
                    node->CheckState = value;
                    // The node has changed whatever its parent answers next,
                    // so the caller tells the application of it.
                    result = true;
                    const PDataNode parent = node->fParent;
                    Initialized(parent);
                    if (tracking && !parent->States.Contains(vsChecking) && !parent->States.Contains(vsDisabled) &&
                        IsBox(node->CheckType) && parent != FRoot && parent->CheckType == ctTriStateCheckBox) {
                        UpdateParentCheckState(node, value);
                    }
                    InvalidateNode(node);
                },
                [&] {
                    if (--FCheckPropagationCount == 0) {
                        DoStateChange({}, {tsCheckPropagation});
                        EndUpdate();
                    }
                });
        },
        [&] { node->States.Exclude(vsChecking); });
    return result;
}

bool TBaseDataTree::UpdateParentCheckState(PDataNode node, TCheckState newCheckState)
{
    const PDataNode parent = node->fParent;
    std::uint32_t boxes = 0;
    std::uint32_t checked = 0;
    bool mixed = false;
    for (PDataNode child = parent->FirstChild; child != nullptr; child = child->fNextSibling) {
        if (!IsBox(child->CheckType)) {
            continue;
        }
        ++boxes;
        const TCheckState state = child == node ? newCheckState : GetCheckState(child);
        if (IsChecked(state)) {
            ++checked;
        }
        if (state == csMixedNormal) {
            mixed = true;
        }
    }
    TCheckState state = csCheckedNormal;
    if (checked == 0 && !mixed) {
        state = csUncheckedNormal;
    } else if (checked < boxes) {
        state = csMixedNormal;
    }
    const bool allowed = DoChecking(parent, state);
    if (allowed) {
        ApplyCheckState(parent, state);
    }
    return allowed;
}

} // namespace qel
