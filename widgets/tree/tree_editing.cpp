// The tree's side of in-place editing: whether a cell may be edited, the
// start of an edit (by a call, a key or the edit timer), its end or
// cancellation through the link, and the editor kept on the cell.
#include "widgets/tree/base_data_tree.h"

#include "platform/controls/application.h"
#include "widgets/tree/data_tree_column.h"
#include "widgets/tree/data_tree_columns.h"
#include "widgets/tree/data_tree_errors.h"
#include "widgets/tree/dt_header.h"
#include "widgets/tree/string_data_tree.h"
#include "widgets/tree/tree_edit_links.h"
#include "widgets/tree/tree_options.h"

namespace qel {

bool TBaseDataTree::IsEditing() const
{
    return FStates.Contains(tsEditing);
}

bool TBaseDataTree::CanEdit(PDataNode node, TColumnIndex column)
{
    const TDTMiscOptions misc = FOptions->MiscOptions();
    const TDataTreeColumns& columns = FHeader->Columns();
    bool allowed = misc.Contains(toEditable) && Enabled() && !misc.Contains(toReadOnly) &&
                   (column < 0 ||
                    (columns.IsValidColumn(column) && columns.Items(column)->Options().Contains(coEditable)));
    DoCanEdit(node, column, allowed);
    return allowed;
}

void TBaseDataTree::DoCanEdit(PDataNode node, TColumnIndex column, bool& allowed)
{
    if (OnEditing) {
        OnEditing(this, node, column, allowed);
    }
}

PDTEditLink TBaseDataTree::DoCreateEditor(PDataNode node, TColumnIndex column)
{
    PDTEditLink link;
    if (OnCreateEditor) {
        OnCreateEditor(this, node, column, link);
    }
    return link;
}

bool TBaseDataTree::EditNode(PDataNode node, TColumnIndex column)
{
    TreeAssert(node != nullptr, "Node must not be nil.");
    TreeAssert(column >= NoColumn && column < static_cast<TColumnIndex>(FHeader->Columns().Count()),
               "Column must be a valid column index (-1 if no header is shown).");
    if (FStates.Contains(tsEditing) || ReadOnly()) {
        return FStates.Contains(tsEditing);
    }
    SetFocusedNode(node);
    if (FFocusedNode == nullptr || FFocusedNode != node || !CanEdit(FFocusedNode, column)) {
        return false;
    }
    FEditColumn = column;
    if (!node->States.Contains(vsInitialized)) {
        InitNode(node);
    }
    DoEdit();
    return FStates.Contains(tsEditing);
}

void TBaseDataTree::DoEdit()
{
    if (plat::Application != nullptr) {
        plat::Application->CancelHint();
    }
    StopTimer(ScrollTimer);
    StopTimer(EditTimer);
    DoStateChange({}, {tsEditPending});
    if (FFocusedNode != nullptr && !FFocusedNode->States.Contains(vsDisabled) && !ReadOnly() && !FEditLink) {
        ScrollIntoView(FFocusedNode, FOptions->SelectionOptions().Contains(toCenterScrollIntoView),
                       !FOptions->AutoOptions().Contains(toDisableAutoscrollOnEdit));
        FEditLink = DoCreateEditor(FFocusedNode, FEditColumn);
    }
    if (!FEditLink) {
        return;
    }
    // The link may end the edit (and drop the tree's reference) while it
    // prepares or begins.
    const PDTEditLink link = FEditLink;
    DoStateChange({tsEditing}, {tsToggleFocusedSelection, tsClearPending, tsDrawSelPending, tsDrawSelecting,
                                tsOLEDragging, tsOLEDragPending, tsScrolling, tsScrollPending});
    if (link->PrepareEdit(this, FFocusedNode, FEditColumn)) {
        UpdateEditBounds();
        if (FFocusedNode != nullptr) {
            InvalidateNode(FFocusedNode);
        }
        if (!link->BeginEdit()) {
            DoStateChange({}, {tsEditing});
        }
    } else {
        DoStateChange({}, {tsEditing});
    }
    if (!FStates.Contains(tsEditing)) {
        FEditLink = nullptr;
    }
}

bool TBaseDataTree::DoEndEdit(bool cancel)
{
    StopTimer(EditTimer);
    DoStateChange({}, {tsEditPending});
    if (!FStates.Contains(tsEditing)) {
        return true;
    }
    const PDTEditLink link = FEditLink;
    bool result = true;
    if (link) {
        result = cancel ? link->CancelEdit() : link->EndEdit();
    }
    if (result) {
        DoStateChange({}, {tsEditing});
        FEditLink = nullptr;
        if (OnEdited) {
            OnEdited(this, FFocusedNode, FEditColumn);
        }
    }
    if (!IsDestroying() && Visible() && CanFocus()) {
        SetFocus();
    }
    return result;
}

bool TBaseDataTree::DoCancelEdit()
{
    return DoEndEdit(true);
}

bool TBaseDataTree::EndEditNode()
{
    if (FStates.Contains(tsEditing) || FStates.Contains(tsEditPending)) {
        return DoEndEdit(false);
    }
    return true;
}

bool TBaseDataTree::CancelEditNode()
{
    if (HandleAllocated() && (FStates.Contains(tsEditing) || FStates.Contains(tsEditPending))) {
        return DoCancelEdit();
    }
    return true;
}

void TBaseDataTree::UpdateEditBounds()
{
    if (!FStates.Contains(tsEditing) || FFocusedNode == nullptr || !FEditLink || !InUIThread()) {
        return;
    }
    const TDataTreeColumns& columns = FHeader->Columns();
    if (FEditColumn >= static_cast<TColumnIndex>(columns.Count())) {
        return;
    }
    PDataNode node = FFocusedNode;
    plat::TRect r;
    if (FOptions->MiscOptions().Contains(toGridExtensions)) {
        r = GetDisplayRect(node, FEditColumn, false);
        const int offset = FEditColumn == FHeader->MainColumn() ? GetOffset(ofsLabel, node) : 0;
        const TBiDiMode bidi = FEditColumn < 0 || !columns.IsValidColumn(FEditColumn)
                                   ? FBiDiMode
                                   : columns.Items(FEditColumn)->BiDiMode();
        if (bidi != bdLeftToRight) {
            r.Right -= offset;
        } else {
            r.Left += offset;
        }
    } else if (node->States.Contains(vsMultiline)) {
        r = GetDisplayRect(node, FEditColumn, true);
    } else {
        r = GetDisplayRect(node, FEditColumn, true, true);
    }
    if (FOptions->PaintOptions().Contains(toShowHorzGridLines)) {
        --r.Bottom;
    }
    FEditLink->SetBounds(r);
}

// ---- the string tree's default editor ----

PDTEditLink TCustomDataStringTree::DoCreateEditor(PDataNode node, TColumnIndex column)
{
    PDTEditLink link = TBaseDataTree::DoCreateEditor(node, column);
    if (!link) {
        link = std::make_shared<TStringEditLink>();
    }
    return link;
}

} // namespace qel
