// The process-wide worker that rebuilds the position caches of large data
// trees in the background. Trees hold a reference to it while they live; it
// is made with the first reference and ends with the last. A tree is queued
// whenever its cache is stale and it shows more than 2000 nodes.
#pragma once

#include "platform/worker_thread.h"

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>

namespace qel {

class TBaseDataTree;

class TWorkerThread : public plat::TThread {
public:
    TWorkerThread() = default;

    static void AddThreadReference();
    // With canBlock the call waits until the worker has ended when it was
    // the last reference.
    static void ReleaseThreadReference(bool canBlock);
    // Queues the tree (once) and wakes the worker; makes the worker when
    // there is none.
    static void AddTree(TBaseDataTree* tree);
    // Takes the tree out of the queue; with waitForValidationTermination
    // also waits, running the tree's pending calls, until the worker has
    // left the tree.
    static void RemoveTree(TBaseDataTree* tree, bool waitForValidationTermination);
    // The worker in use; nullptr when there is none.
    static std::shared_ptr<TWorkerThread> Instance();

protected:
    void Execute() override;

private:
    // The next queued tree, which becomes the current one; nullptr when the
    // worker is to end.
    TBaseDataTree* TakeNextTree();
    void ValidateTree(TBaseDataTree* tree);
    void LeaveTree();
    bool IsCurrent(const TBaseDataTree* tree);
    void WaitForValidationTermination(TBaseDataTree* tree);
    void Wake();

    std::mutex FLock;                       // guards the fields below
    std::condition_variable FWorkSignal;    // a tree was queued, or the worker is to end
    std::condition_variable FLeftSignal;    // the worker left its current tree
    std::deque<TBaseDataTree*> FWaiterList; // trees waiting for validation
    TBaseDataTree* FCurrentTree = nullptr;  // set as a tree is taken from the queue
    bool FWoken = false;                    // the auto-reset event
};

} // namespace qel
