// The data tree's state set and its notifications: state changes, change
// and structure-change reports (at once, after the change delay, or at the
// end of an update), update counting, synchronous mode and cancellable
// operations.
#include "widgets/tree/base_data_tree.h"

#include "widgets/tree/try_finally.h"

#include <string>

namespace qel {

void TBaseDataTree::DoStateChange(TDataTreeStates enter, TDataTreeStates leave)
{
    if (OnStateChange && (!(enter - FStates).Empty() || !(leave * FStates).Empty())) {
        OnStateChange(this, enter, leave);
    }
    FStates = (FStates + enter) - leave;
    TreeAssert(!(FStates.Contains(tsUseCache) && FStates.Contains(tsValidationNeeded)),
               "Invalid state. tsUseCache and tsValidationNeeded are mutually exclusive and must not be set at "
               "the same time");
}

void TBaseDataTree::RecordPendingChange(bool structure, PDataNode node, TChangeReason reason)
{
    if (structure) {
        if (FStates.Contains(tsStructureChangePending)) {
            KillTreeTimer(StructureChangeTimer);
        } else {
            DoStateChange({tsStructureChangePending});
        }
        FLastStructureChangeNode = node;
        if (FLastStructureChangeReason == crIgnore) {
            FLastStructureChangeReason = reason;
        } else if (reason != crIgnore) {
            FLastStructureChangeReason = crAccumulated;
        }
        return;
    }
    if (FStates.Contains(tsChangePending)) {
        KillTreeTimer(ChangeTimer);
    } else {
        DoStateChange({tsChangePending});
    }
    FLastChangedNode = node;
}

void TBaseDataTree::Change(PDataNode node)
{
    RecordPendingChange(false, node, crIgnore);
    if (FUpdateCount > 0) {
        return;
    }
    if (FChangeDelay == 0 || !HandleAllocated() || FStates.Contains(tsSynchMode)) {
        DoChange(node);
    } else {
        plat::SetTimer(Handle(), ChangeTimer, FChangeDelay);
    }
}

void TBaseDataTree::StructureChange(PDataNode node, TChangeReason reason)
{
    RecordPendingChange(true, node, reason);
    if (FUpdateCount > 0) {
        return;
    }
    if (FChangeDelay == 0 || !HandleAllocated() || FStates.Contains(tsSynchMode)) {
        DoStructureChange(node, reason);
    } else {
        plat::SetTimer(Handle(), StructureChangeTimer, FChangeDelay);
    }
}

void TBaseDataTree::DoChange(PDataNode node)
{
    KillTreeTimer(ChangeTimer);
    if (OnChange) {
        OnChange(this, node);
    }
    DoStateChange({}, {tsChangePending});
    FLastChangedNode = nullptr;
}

void TBaseDataTree::DoStructureChange(PDataNode node, TChangeReason reason)
{
    KillTreeTimer(StructureChangeTimer);
    if (OnStructureChange) {
        OnStructureChange(this, node, reason);
    }
    DoStateChange({}, {tsStructureChangePending});
    FLastStructureChangeNode = nullptr;
    FLastStructureChangeReason = crIgnore;
}

void TBaseDataTree::DeliverPendingChanges()
{
    if (FStates.Contains(tsStructureChangePending)) {
        DoStructureChange(FLastStructureChangeNode, FLastStructureChangeReason);
    }
    if (FStates.Contains(tsChangePending)) {
        DoChange(FLastChangedNode);
    }
}

void TBaseDataTree::DoUpdating(TDTUpdateState state)
{
    if (OnUpdating) {
        OnUpdating(this, state);
    }
}

void TBaseDataTree::BeginUpdate()
{
    if (!IsDestroying()) {
        if (!InUIThread()) {
            throw EAssertionFailed("UI controls like " + std::string(ClassName()) +
                                   " should only be manipulated through the main thread.");
        }
        if (FUpdateCount == 0) {
            DoUpdating(usBegin);
            SetRedraw(false);
        } else {
            DoUpdating(usUpdate);
        }
    }
    ++FUpdateCount;
}

void TBaseDataTree::EndUpdate()
{
    if (FUpdateCount == 0) {
        return;
    }
    --FUpdateCount;
    if (IsDestroying()) {
        return;
    }
    if (FUpdateCount > 0) {
        DoUpdating(usUpdate);
        return;
    }
    if (FStates.Contains(tsUpdateHiddenChildrenNeeded)) {
        DetermineHiddenChildrenFlagAllNodes();
        FStates.Exclude(tsUpdateHiddenChildrenNeeded);
    }
    PackSelection();
    InvalidateCache();
    ValidateCache();
    if (HandleAllocated()) {
        UpdateScrollBars(false);
    }
    TryFinally([&] { DeliverPendingChanges(); },
               [&] {
                   if (FOptions->AutoOptions().Contains(toAutoSort)) {
                       SortTree(HeaderSortColumn(), HeaderSortDirection(), true);
                   }
                   SetRedraw(true);
                   if (HandleAllocated()) {
                       Invalidate();
                   }
               });
    NotifyAccessibleEvent(EVENT_OBJECT_STATECHANGE);
    DoUpdating(usEnd);
    EnsureNodeSelected(false);
}

void TBaseDataTree::BeginSynch()
{
    if (!IsDestroying()) {
        if (FSynchUpdateCount > 0) {
            DoUpdating(usSynch);
        } else {
            DoUpdating(usBeginSynch);
            for (const plat::UINT_PTR timer :
                 {ChangeTimer, StructureChangeTimer, ExpandTimer, EditTimer, HeaderTimer, ScrollTimer, SearchTimer}) {
                KillTreeTimer(timer);
            }
            FSearchBuffer.clear();
            FLastSearchNode = nullptr;
            DoStateChange({}, {tsEditPending, tsIncrementalSearching, tsScrolling, tsScrollPending});
            DeliverPendingChanges();
        }
    }
    ++FSynchUpdateCount;
    DoStateChange({tsSynchMode});
}

void TBaseDataTree::EndSynch()
{
    if (FSynchUpdateCount > 0) {
        --FSynchUpdateCount;
    }
    if (IsDestroying()) {
        return;
    }
    if (FSynchUpdateCount > 0) {
        DoUpdating(usSynch);
    } else {
        DoStateChange({}, {tsSynchMode});
        DoUpdating(usEndSynch);
    }
}

void TBaseDataTree::BeginOperation(TDTOperationKind kind)
{
    if (++FOperationCount == 1) {
        FOperationCanceled = false;
    }
    DoStartOperation(kind);
}

void TBaseDataTree::EndOperation(TDTOperationKind kind)
{
    TreeAssert(FOperationCount > 0, "EndOperation must not be called when no operation in progress.");
    --FOperationCount;
    DoEndOperation(kind);
}

void TBaseDataTree::CancelOperation()
{
    if (FOperationCount > 0) {
        FOperationCanceled = true;
    }
}

void TBaseDataTree::DoStartOperation(TDTOperationKind kind)
{
    if (OnStartOperation) {
        OnStartOperation(this, kind);
    }
}

void TBaseDataTree::DoEndOperation(TDTOperationKind kind)
{
    if (OnEndOperation) {
        OnEndOperation(this, kind);
    }
}

} // namespace qel
