// Sorting of data tree children. Without a comparison of nodes every order
// is already sorted, so a sort here makes sure the children exist and are
// initialised (with doInit) and marks the position cache stale; the merge
// by OnCompareNodes comes with the comparison event.
#include "widgets/tree/base_data_tree.h"

#include "widgets/tree/try_finally.h"

namespace qel {

void TBaseDataTree::AutoSort(PDataNode node, bool doInit)
{
    if (FOptions->AutoOptions().Contains(toAutoSort) && HeaderSortColumn() > InvalidColumn) {
        Sort(node, HeaderSortColumn(), HeaderSortDirection(), doInit);
    }
}

void TBaseDataTree::Sort(PDataNode node, TColumnIndex, TSortDirection, bool doInit)
{
    InterruptValidation();
    if (FStates.Contains(tsEditPending)) {
        KillTreeTimer(EditTimer);
        DoStateChange({}, {tsEditPending});
    }
    if (node == nullptr) {
        node = FRoot;
    }
    if (!node->States.Contains(vsHasChildren)) {
        return;
    }
    if (doInit) {
        if (node->FirstChild == nullptr) {
            InitChildren(node);
        }
        ValidateChildren(node, false);
    }
    if (node->fChildCount > 1) {
        InvalidateCache();
    }
    if (FUpdateCount == 0) {
        ValidateCache();
        if (HandleAllocated()) {
            Invalidate();
        }
    }
}

void TBaseDataTree::SortTree(TColumnIndex column, TSortDirection direction, bool doInit)
{
    if (FRoot->TotalCount <= 2 || FRoot->FirstChild == nullptr) {
        return;
    }
    ++FUpdateCount;
    TryFinally(
        [&] {
            if (column > InvalidColumn) {
                BeginOperation(okSortTree);
                TryFinally([&] { SortSubtree(FRoot, column, direction, doInit); },
                           [&] { EndOperation(okSortTree); });
            }
            InvalidateCache();
        },
        [&] {
            if (FUpdateCount > 0) {
                --FUpdateCount;
            }
            if (FUpdateCount == 0) {
                ValidateCache();
                if (HandleAllocated()) {
                    Invalidate();
                }
            }
        });
}

void TBaseDataTree::SortSubtree(PDataNode node, TColumnIndex column, TSortDirection direction, bool doInit)
{
    Sort(node, column, direction, doInit);
    const bool autoSort = FOptions->AutoOptions().Contains(toAutoSort);
    for (PDataNode child = node->FirstChild; child != nullptr && !FOperationCanceled; child = child->fNextSibling) {
        if (doInit && !child->States.Contains(vsInitialized)) {
            InitNode(child);
        }
        if (child->States.Contains(vsInitialized) && !(autoSort && !child->States.Contains(vsExpanded))) {
            SortSubtree(child, column, direction, doInit);
        }
    }
}

} // namespace qel
