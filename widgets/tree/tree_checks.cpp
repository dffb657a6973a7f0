// What users and programs do with check elements: changing a node's check
// type, setting or clearing the states of many nodes, counting checked
// nodes, the click on a check element, and which image shows a state.
#include "widgets/tree/base_data_tree.h"

#include "platform/controls/screen.h"
#include "platform/controls/virtual_keys.h"
#include "platform/controls/window_input.h"
#include "widgets/tree/try_finally.h"

namespace qel {

namespace {

bool IsBox(TCheckType type)
{
    return type == ctTriStateCheckBox || type == ctCheckBox;
}

void SetScreenCursor(plat::TCursor cursor)
{
    if (plat::Screen != nullptr) {
        plat::Screen->SetCursor(cursor);
    }
}

} // namespace

void TBaseDataTree::SetCheckType(PDataNode node, TCheckType value)
{
    if (node->CheckType == value || ReadOnly()) {
        return;
    }
    node->CheckType = value;
    if (value != ctTriStateCheckBox && (node->CheckState == csMixedNormal || node->CheckState == csMixedPressed)) {
        node->CheckState = csUncheckedNormal;
    }
    const PDataNode parent = node->fParent;
    if (FOptions->AutoOptions().Contains(toAutoTristateTracking) && IsBox(value) && parent != FRoot) {
        Initialized(parent);
        if (parent->CheckType == ctTriStateCheckBox) {
            // The node follows a checked or unchecked parent.
            const TCheckState parentState = GetCheckState(parent);
            if (parentState == csUncheckedNormal || parentState == csUncheckedDisabled) {
                SetCheckState(node, csUncheckedNormal);
            } else if (parentState == csCheckedNormal || parentState == csCheckedDisabled) {
                SetCheckState(node, csCheckedNormal);
            }
        }
    }
    InvalidateNode(node);
}

void TBaseDataTree::SetCheckStateForAll(TCheckState state, bool selectedOnly, bool excludeDisabled)
{
    SetScreenCursor(plat::crHourGlass);
    BeginUpdate();
    TryFinally(
        [&] {
            PDataNode node = selectedOnly ? GetFirstSelected(false) : GetFirst(false);
            while (node != nullptr) {
                if (!(excludeDisabled && IsDisabled(GetCheckState(node)))) {
                    SetCheckState(node, state);
                }
                node = selectedOnly ? GetNextSelected(node, false) : GetNext(node, false);
            }
        },
        [&] {
            SetScreenCursor(plat::crDefault);
            EndUpdate();
        });
}

void TBaseDataTree::ClearChecked()
{
    for (PDataNode node = FRoot->FirstChild; node != nullptr; node = GetNextNoInit(node)) {
        if (node->CheckState != csUncheckedNormal) {
            SetCheckState(node, csUncheckedNormal);
        }
    }
}

std::uint32_t TBaseDataTree::CheckedCount()
{
    std::uint32_t count = 0;
    for (PDataNode node = GetFirstChecked(csCheckedNormal); node != nullptr;
         node = GetNextChecked(node, csCheckedNormal)) {
        ++count;
    }
    return count;
}

TCheckState TBaseDataTree::DetermineNextCheckState(TCheckType checkType, TCheckState checkState) const
{
    switch (checkType) {
    case ctTriStateCheckBox:
    case ctCheckBox:
    case ctButton:
        return GetToggled(checkState);
    case ctRadioButton:
        return csCheckedNormal;
    case ctNone:
        break;
    }
    return csMixedNormal;
}

void TBaseDataTree::HandleCheckClick(PDataNode node, std::uint32_t keys)
{
    TCheckState newState = DetermineNextCheckState(node->CheckType, node->CheckState);
    // Only the left button toggles.
    if ((keys & plat::MK_LBUTTON) == 0 || !DoChecking(node, newState)) {
        return;
    }
    if (FSelectionCount < 2 || !node->States.Contains(vsSelected) ||
        FOptions->SelectionOptions().Contains(toSyncCheckboxesWithSelection)) {
        ApplyCheckState(node, newState);
    } else {
        SetCheckStateForAll(newState, true, true);
    }
}

bool TBaseDataTree::SyncCheckstateWithSelection(PDataNode node) const
{
    return FOptions->SelectionOptions().Contains(toSyncCheckboxesWithSelection) &&
           FOptions->MiscOptions().Contains(toCheckSupport) && FCheckImages != nullptr &&
           node->CheckType == ctCheckBox;
}

int TBaseDataTree::GetCheckImage(PDataNode node, TCheckType imgCheckType, TCheckState imgCheckState,
                                 bool imgEnabled)
{
    TCheckType type = imgCheckType;
    TCheckState state = imgCheckState;
    bool enabled = imgEnabled;
    bool hot = false;
    if (node != nullptr) {
        type = node->CheckType;
        state = GetCheckState(node);
        enabled = !node->States.Contains(vsDisabled) && Enabled();
        hot = node == FHotNode;
    }
    if (IsDisabled(state)) {
        state = GetEnabled(state);
        enabled = false;
    }
    if (type == ctTriStateCheckBox) {
        type = ctCheckBox;
    }
    if (hot && (state == csUncheckedNormal || state == csCheckedNormal) &&
        plat::GetKeyState(plat::VK_LBUTTON) < 0 && LastMouseDownOnCheckBox()) {
        state = static_cast<TCheckState>(state + 1);
    }
    if (type == ctNone) {
        return -1;
    }
    // Groups of four: normal, hot, pressed, disabled.
    int group = 0;
    const bool mixed = state == csMixedNormal || state == csMixedPressed;
    const bool checked = state == csCheckedNormal || state == csCheckedPressed;
    if (mixed) {
        group = 17;
    } else if (type == ctRadioButton) {
        group = checked ? 5 : 1;
    } else if (type == ctButton) {
        group = 21;
    } else {
        group = checked ? 13 : 9;
    }
    const bool pressed = state == csUncheckedPressed || state == csCheckedPressed || state == csMixedPressed;
    if (!enabled) {
        return group + 3;
    }
    if (pressed) {
        return group + 2;
    }
    return hot ? group + 1 : group;
}

} // namespace qel
