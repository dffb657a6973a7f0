// The position-cache worker: one thread for all trees of the process, fed
// by a queue of trees, synchronising each tree's state changes with the
// user-interface thread.
#include "widgets/tree/tree_worker_thread.h"

#include "widgets/tree/base_data_tree.h"

#include <pthread.h>

#include <algorithm>
#include <chrono>

namespace qel {

namespace {

struct TWorkerSlot {
    std::mutex Lock;                       // guards the fields below
    std::shared_ptr<TWorkerThread> Worker; // nullptr while none runs
    int References = 0;                    // trees that hold a reference
};

// Never destroyed: a tree that outlives the statics (a static tree of its
// own) still finds the slot when it goes.
TWorkerSlot& Slot()
{
    static TWorkerSlot* const slot = new TWorkerSlot;
    return *slot;
}

std::shared_ptr<TWorkerThread> EnsureWorkerThread()
{
    TWorkerSlot& slot = Slot();
    std::lock_guard lock(slot.Lock);
    if (!slot.Worker) {
        slot.Worker = std::make_shared<TWorkerThread>();
        slot.Worker->Start();
    }
    return slot.Worker;
}

} // namespace

std::shared_ptr<TWorkerThread> TWorkerThread::Instance()
{
    TWorkerSlot& slot = Slot();
    std::lock_guard lock(slot.Lock);
    return slot.Worker;
}

void TWorkerThread::AddThreadReference()
{
    EnsureWorkerThread();
    TWorkerSlot& slot = Slot();
    std::lock_guard lock(slot.Lock);
    ++slot.References;
}

void TWorkerThread::ReleaseThreadReference(bool canBlock)
{
    std::shared_ptr<TWorkerThread> worker;
    {
        TWorkerSlot& slot = Slot();
        std::lock_guard lock(slot.Lock);
        if (--slot.References > 0 || !slot.Worker) {
            return;
        }
        worker = std::move(slot.Worker);
    }
    worker->Terminate();
    worker->Wake();
    if (canBlock) {
        worker->WaitFor();
    }
}

void TWorkerThread::AddTree(TBaseDataTree* tree)
{
    TreeAssert(tree != nullptr, "Tree must not be nil.");
    const std::shared_ptr<TWorkerThread> worker = EnsureWorkerThread();
    tree->ResumeValidation();
    {
        std::lock_guard lock(worker->FLock);
        if (std::find(worker->FWaiterList.begin(), worker->FWaiterList.end(), tree) == worker->FWaiterList.end()) {
            worker->FWaiterList.push_back(tree);
        }
    }
    worker->Wake();
}

void TWorkerThread::RemoveTree(TBaseDataTree* tree, bool waitForValidationTermination)
{
    const std::shared_ptr<TWorkerThread> worker = Instance();
    if (!worker) {
        return;
    }
    TreeAssert(tree != nullptr, "pTree must not be nil.");
    {
        std::lock_guard lock(worker->FLock);
        const auto queued = std::find(worker->FWaiterList.begin(), worker->FWaiterList.end(), tree);
        if (queued != worker->FWaiterList.end()) {
            worker->FWaiterList.erase(queued);
        }
    }
    if (waitForValidationTermination) {
        worker->WaitForValidationTermination(tree);
    }
}

void TWorkerThread::WaitForValidationTermination(TBaseDataTree* tree)
{
    // The worker may be waiting for one of the tree's calls: they run here.
    for (;;) {
        tree->RunPendingSyncCalls();
        std::unique_lock lock(FLock);
        if (FCurrentTree != tree) {
            break;
        }
        FLeftSignal.wait_for(lock, std::chrono::milliseconds(1));
    }
    // The worker queues its last state change before it leaves.
    tree->RunPendingSyncCalls();
}

void TWorkerThread::Wake()
{
    {
        std::lock_guard lock(FLock);
        FWoken = true;
    }
    FWorkSignal.notify_one();
}

TBaseDataTree* TWorkerThread::TakeNextTree()
{
    std::unique_lock lock(FLock);
    // A wake-up without a queued tree (the tree was taken out again) waits
    // once more.
    while (FWaiterList.empty()) {
        FWorkSignal.wait(lock, [this] { return FWoken || Terminated(); });
        FWoken = false;
        if (Terminated()) {
            return nullptr;
        }
    }
    if (Terminated()) {
        return nullptr;
    }
    FCurrentTree = FWaiterList.front();
    FWaiterList.pop_front();
    FWoken = !FWaiterList.empty();
    return FCurrentTree;
}

void TWorkerThread::LeaveTree()
{
    {
        std::lock_guard lock(FLock);
        FCurrentTree = nullptr;
    }
    FLeftSignal.notify_all();
}

void TWorkerThread::ValidateTree(TBaseDataTree* tree)
{
    // The tree lives while it is the current one: its destructor waits
    // until the worker has left it.
    std::exception_ptr error;
    bool foreign = false;
    bool validated = false;
    try {
        tree->ChangeTreeStatesAsync({tsValidating}, {tsUseCache, tsValidationNeeded})->Wait();
        validated = !tree->ValidationStopRequested() && tree->DoValidateCache();
    } catch (const std::exception&) {
        error = std::current_exception();
    } catch (...) {
        error = std::current_exception();
        foreign = true;
    }
    const TDataTreeStates enter = validated ? TDataTreeStates{tsUseCache} : TDataTreeStates{};
    const std::shared_ptr<TSyncCall> done =
        tree->ChangeTreeStatesAsync(enter, {tsStopValidation, tsValidating}, foreign ? nullptr : error);
    LeaveTree();
    done->Wait();
    if (foreign) {
        std::rethrow_exception(error);
    }
}

void TWorkerThread::Execute()
{
    pthread_setname_np(pthread_self(), "DTWorker");
    try {
        while (TBaseDataTree* tree = TakeNextTree()) {
            ValidateTree(tree);
        }
    } catch (...) {
        // A worker that dies makes room: the next queued tree starts a new one.
        TWorkerSlot& slot = Slot();
        std::lock_guard lock(slot.Lock);
        if (slot.Worker.get() == this) {
            slot.Worker.reset();
        }
        throw;
    }
}

} // namespace qel
