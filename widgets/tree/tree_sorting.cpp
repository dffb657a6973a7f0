// Sorting of data tree children: a stable merge sort over the sibling
// links (no array, no allocation), the comparison asked of OnCompareNodes;
// the previous-sibling links and indexes are rebuilt in one pass after it.
#include "widgets/tree/base_data_tree.h"

#include "widgets/tree/try_finally.h"

namespace qel {

void TBaseDataTree::AutoSort(PDataNode node, bool doInit)
{
    if (FOptions->AutoOptions().Contains(toAutoSort) && HeaderSortColumn() > InvalidColumn) {
        Sort(node, HeaderSortColumn(), HeaderSortDirection(), doInit);
    }
}

int TBaseDataTree::DoCompare(PDataNode node1, PDataNode node2, TColumnIndex column)
{
    int result = 0;
    if (OnCompareNodes) {
        OnCompareNodes(this, node1, node2, column, result);
    }
    return result;
}

PDataNode TBaseDataTree::MergeLists(PDataNode a, PDataNode b, TSortRun& run)
{
    PDataNode head = nullptr;
    PDataNode* tail = &head;
    while (a != nullptr && b != nullptr) {
        // A cancelled (or failed) sort compares nothing more: the order stays.
        int result = 0;
        if (!OperationCanceled() && run.Error == nullptr) {
            try {
                result = DoCompare(a, b, run.Column);
            } catch (...) {
                run.Error = std::current_exception();
            }
        }
        const bool takeB = run.Direction == sdAscending ? result > 0 : result < 0;
        PDataNode& from = takeB ? b : a;
        *tail = from;
        tail = &from->fNextSibling;
        from = from->fNextSibling;
    }
    *tail = a != nullptr ? a : b;
    return head;
}

PDataNode TBaseDataTree::MergeSortList(PDataNode& head, std::uint32_t count, TSortRun& run)
{
    if (count == 1) {
        const PDataNode node = head;
        head = node->fNextSibling;
        node->fNextSibling = nullptr;
        return node;
    }
    const PDataNode a = MergeSortList(head, count / 2, run);
    const PDataNode b = MergeSortList(head, (count + 1) / 2, run);
    return MergeLists(a, b, run);
}

void TBaseDataTree::Sort(PDataNode node, TColumnIndex column, TSortDirection direction, bool doInit)
{
    InterruptValidation();
    if (FStates.Contains(tsEditPending)) {
        KillTreeTimer(EditTimer);
        DoStateChange({}, {tsEditPending});
    }
    if (FStates.Contains(tsEditing) && !EndEditNode()) {
        return;
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
    if (node->fChildCount > 1 && node->FirstChild != nullptr) {
        TSortRun run{column, direction, nullptr};
        BeginOperation(okSortNode);
        // The merge raises nothing (comparisons that raise are caught), so
        // the links are always rebuilt.
        PDataNode list = node->FirstChild;
        node->FirstChild = MergeSortList(list, node->fChildCount, run);
        PDataNode previous = nullptr;
        std::uint32_t index = 0;
        for (PDataNode each = node->FirstChild; each != nullptr; each = each->fNextSibling) {
            each->fPrevSibling = previous;
            each->fIndex = index++;
            previous = each;
        }
        node->fLastChild = previous;
        InvalidateCache();
        EndOperation(okSortNode);
        if (run.Error != nullptr) {
            std::rethrow_exception(run.Error);
        }
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
