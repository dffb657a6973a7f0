// The position cache of the data tree: one entry (node, top) for every
// 2000th visible node, rebuilt in the background for trees of more than
// 2000 visible nodes, so that finding the node at a vertical position is a
// binary search and a walk of at most 2000 nodes.
#include "widgets/tree/base_data_tree.h"

#include "platform/controls/application.h"
#include "widgets/tree/tree_worker_thread.h"

#include <algorithm>
#include <iterator>

namespace qel {

namespace {

constexpr std::uint32_t CacheThreshold = 2000; // visible nodes per cache entry
constexpr std::uint32_t IndexStep = 40;        // visible nodes per entry of the finer index
static_assert(CacheThreshold % IndexStep == 0, "a cache entry starts an index entry, so a rebuild can resume there");

// A worker's error is raised on the user-interface thread and handled like
// any error of a message handler.
void HandOver(plat::TObject* sender, const std::exception_ptr& error)
{
    if (!error || plat::Application == nullptr) {
        return;
    }
    try {
        std::rethrow_exception(error);
    } catch (...) {
        plat::Application->HandleException(sender);
    }
}

} // namespace

void TBaseDataTree::InvalidateCache()
{
    DoStateChange({tsValidationNeeded}, {tsUseCache});
}

void TBaseDataTree::ValidateCache()
{
    InterruptValidation();
    // Inside a call the worker waits for, the tree cannot be queued anew:
    // the worker is still on it and must see the stop request.
    if (FRunningWorkerCall) {
        return;
    }
    FStartIndex = 0;
    // The worker reaches the tree through its window.
    if (FStates.Contains(tsValidationNeeded) && FVisibleCount > CacheThreshold && HandleAllocated()) {
        FWorkerHasTree = true;
        TWorkerThread::AddTree(this);
    }
}

void TBaseDataTree::InterruptValidation(bool waitForValidationTermination)
{
    const bool wasUsingCache = FStates.Contains(tsUseCache);
    DoStateChange({tsStopValidation}, {tsUseCache});
    FValidationStopped = true;
    if (!FWorkerHasTree) {
        if (wasUsingCache) {
            InvalidateCache();
        }
        return;
    }
    // The worker cannot leave the tree while it waits for a call running
    // here; it sees the stop request when the call returns.
    const bool wait = waitForValidationTermination && !FRunningWorkerCall;
    TWorkerThread::RemoveTree(this, wait);
    if (wait) {
        FWorkerHasTree = false;
    }
    // The cache is of no use any more, whatever the worker had done.
    InvalidateCache();
}

void TBaseDataTree::ResumeValidation()
{
    DoStateChange({}, {tsStopValidation});
    FValidationStopped = false;
}

void TBaseDataTree::RunPendingSyncCalls()
{
    FSyncCalls.RunPending();
}

void TBaseDataTree::WMSyncCalls(plat::TMessage&)
{
    RunPendingSyncCalls();
}

void TBaseDataTree::CallInUIThread(const std::function<void()>& body)
{
    if (InUIThread()) {
        body();
        return;
    }
    FSyncCalls.Submit([this, &body] { RunAsWorkerCall(body); })->Wait();
}

void TBaseDataTree::RunAsWorkerCall(const std::function<void()>& body)
{
    const bool wasRunning = FRunningWorkerCall;
    FRunningWorkerCall = true;
    try {
        body();
    } catch (...) {
        FRunningWorkerCall = wasRunning;
        throw;
    }
    FRunningWorkerCall = wasRunning;
}

std::shared_ptr<TSyncCall> TBaseDataTree::ChangeTreeStatesAsync(TDataTreeStates enter, TDataTreeStates leave,
                                                                std::exception_ptr error)
{
    return FSyncCalls.Submit([this, enter, leave, error] {
        if (IsDestroying()) {
            return;
        }
        RunAsWorkerCall([&] {
            try {
                // A cache that went stale during the rebuild is not used;
                // the other states change all the same.
                TDataTreeStates entered = enter;
                if (enter.Contains(tsUseCache) &&
                    (FStates.Contains(tsValidationNeeded) || leave.Contains(tsValidationNeeded))) {
                    entered.Exclude(tsUseCache);
                }
                DoStateChange(entered, leave);
                if (enter.Contains(tsUseCache) && FOptions->MiscOptions().Contains(toVariableNodeHeight)) {
                    UpdateScrollBars(true);
                }
            } catch (...) {
                HandOver(this, std::current_exception());
            }
        });
        HandOver(this, error);
    });
}

bool TBaseDataTree::DoValidateCache()
{
    if (ValidationStopRequested()) {
        return false;
    }
    if (FStartIndex == 0) {
        FPositionCache.clear();
        FPositionIndex.clear();
    }
    const std::uint32_t entries = FVisibleCount < 2 ? 0 : (FVisibleCount + CacheThreshold - 1) / CacheThreshold;
    FPositionCache.resize(entries, TCacheEntry{nullptr, 0});
    FStartIndex = std::min<std::uint32_t>(FStartIndex, entries);

    std::uint32_t index = 0;
    PDataNode node = nullptr;
    std::int64_t top = 0;
    if (FStartIndex > 0 && FPositionCache[FStartIndex - 1].Node != nullptr) {
        index = FStartIndex - 1;
        node = FPositionCache[index].Node;
        top = FPositionCache[index].AbsoluteTop;
    } else {
        node = GetFirstVisibleNoInit(nullptr, true, false);
    }
    FPositionIndex.resize(std::min<std::size_t>(FPositionIndex.size(), std::size_t{index} * (CacheThreshold / IndexStep)));
    bool stepped = false;
    bool stopped = false;
    for (std::uint32_t visited = 0; node != nullptr; ++visited) {
        if (ValidationStopRequested()) {
            stopped = true;
            break;
        }
        if (index >= FPositionCache.size()) {
            break;
        }
        if (visited % IndexStep == 0) {
            if (visited % CacheThreshold == 0) {
                FPositionCache[index++] = {node, top};
            }
            FPositionIndex.push_back({node, top});
        }
        top += GetNodeHeight(node);
        // Measuring may have run application code on the user-interface
        // thread; a change there stops the walk before node is read again.
        if (ValidationStopRequested()) {
            stopped = true;
            break;
        }
        const PDataNode next = GetNextVisibleNoInit(node, true);
        if (next == nullptr) {
            break;
        }
        node = next;
        stepped = true;
    }
    if (!stopped && index < FPositionCache.size()) {
        // The end mark: the last node and the top after it.
        FPositionCache.resize(index + 1);
        FPositionCache[index] = {node, top};
    }
    return stepped && !stopped;
}

PDataNode TBaseDataTree::FindInPositionCache(std::int64_t position, std::int64_t& currentPos) const
{
    int low = 0;
    int high = static_cast<int>(FPositionCache.size()) - 1;
    while (high >= low) {
        const int middle = (low + high) / 2;
        if (position < FPositionCache[middle].AbsoluteTop) {
            high = middle - 1;
        } else {
            low = middle + 1;
        }
    }
    if (low == 0) {
        currentPos = 0;
        return nullptr;
    }
    const TCacheEntry& entry = FPositionCache[low - 1];
    // The index's last entry at or above position, when it lies beyond the
    // cache entry: a walk from entry passes it without stopping (every node
    // before it ends at or above its top), so the walk may begin there.
    const auto after = std::upper_bound(FPositionIndex.begin(), FPositionIndex.end(), position,
                                        [](std::int64_t y, const TCacheEntry& e) { return y < e.AbsoluteTop; });
    if (after != FPositionIndex.begin() && std::prev(after)->AbsoluteTop > entry.AbsoluteTop) {
        currentPos = std::prev(after)->AbsoluteTop;
        return std::prev(after)->Node;
    }
    currentPos = entry.AbsoluteTop;
    return entry.Node;
}

PDataNode TBaseDataTree::FindInPositionCache(PDataNode node, std::int64_t& currentPos) const
{
    int low = 0;
    int high = static_cast<int>(FPositionCache.size()) - 1;
    while (high >= low) {
        const int middle = (low + high) / 2;
        if (CompareNodePositions(FPositionCache[middle].Node, node, true) > 0) {
            high = middle - 1;
        } else {
            low = middle + 1;
        }
    }
    if (low == 0) {
        currentPos = 0;
        return nullptr;
    }
    currentPos = FPositionCache[low - 1].AbsoluteTop;
    return FPositionCache[low - 1].Node;
}

std::int64_t TBaseDataTree::GetNodeTop(PDataNode node)
{
    std::int64_t top = 0;
    if (FStates.Contains(tsUseCache)) {
        PDataNode run = FindInPositionCache(node, top);
        while (run != nullptr && run != node) {
            top += GetNodeHeight(run);
            run = GetNextVisibleNoInit(run, true);
        }
        if (run == node) {
            return top;
        }
        top = 0;
    }
    for (PDataNode run = GetPreviousVisibleNoInit(node, true); run != nullptr;
         run = GetPreviousVisibleNoInit(run, true)) {
        top += GetNodeHeight(run);
    }
    return top;
}

PDataNode TBaseDataTree::GetNodeAt(int, int y, bool relative, int& nodeTop)
{
    std::int64_t position = std::max(y, 0);
    if (relative) {
        position -= FOffsetY;
    }
    std::int64_t top = 0;
    PDataNode node = FStates.Contains(tsUseCache) ? FindInPositionCache(position, top) : nullptr;
    if (node == nullptr) {
        node = GetFirstVisibleNoInit(nullptr, true, false);
        top = 0;
    }
    while (node != nullptr && node != FRoot) {
        const std::int64_t height = GetNodeHeight(node);
        if (position < top + height) {
            nodeTop = static_cast<int>(top) + (relative ? FOffsetY : 0);
            return node;
        }
        top += height;
        node = GetNextVisibleNoInit(node, true);
    }
    return nullptr;
}

PDataNode TBaseDataTree::GetNodeAt(int x, int y)
{
    int nodeTop = 0;
    return GetNodeAt(x, y, true, nodeTop);
}

PDataNode TBaseDataTree::GetNodeAt(plat::TPoint point)
{
    return GetNodeAt(point.X, point.Y);
}

} // namespace qel
