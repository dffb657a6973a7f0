// The calls the validation worker hands to the user-interface thread and
// waits for: each tree keeps its pending calls in a queue of its own and
// is woken for them by a message posted to its window. While the
// user-interface thread waits for the worker to leave the tree it runs the
// tree's pending calls itself, so a worker waiting for one never blocks it.
#pragma once

#include "platform/messages.h"

#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>

namespace qel {

// Posted to a tree's window when calls wait for it.
constexpr plat::UINT WM_DTSYNCCALLS = plat::WM_APP + 0x0D71;

// One call and its completion. The worker holds it until it is done, so it
// outlives the tree when the tree is freed first (the call is then
// abandoned, not run).
class TSyncCall {
public:
    explicit TSyncCall(std::function<void()> body) : FBody(std::move(body)) {}

    // On the user-interface thread: runs the body; an error it raises is
    // kept for the waiting worker.
    void Run();
    // Completes the call without running it.
    void Abandon();
    // On the worker: blocks until the call was run or abandoned; raises the
    // body's error here. True when the body ran.
    bool Wait();

private:
    void Complete(bool ran, std::exception_ptr error);

    std::function<void()> FBody;
    std::mutex FLock;                // guards the fields below
    std::condition_variable FDoneSignal;
    bool FDone = false;
    bool FRan = false;
    std::exception_ptr FError;
};

class TTreeSyncCalls {
public:
    TTreeSyncCalls() = default;
    TTreeSyncCalls(const TTreeSyncCalls&) = delete;
    TTreeSyncCalls& operator=(const TTreeSyncCalls&) = delete;

    // The window the wake-up goes to; 0 while the tree has none. Pending
    // calls are announced to a new window at once.
    void SetWindow(plat::HWND window);
    // From the worker: queues the call and wakes the tree's window.
    std::shared_ptr<TSyncCall> Submit(std::function<void()> body);
    // On the user-interface thread: runs the queued calls in order until
    // none is left; true when there was one.
    bool RunPending();
    // Completes every queued call without running it (the tree is freed).
    void AbandonAll();
    // The calls queued and not yet taken.
    std::size_t PendingCount();

private:
    std::shared_ptr<TSyncCall> Take();

    std::mutex FLock;                                // guards the fields below
    std::deque<std::shared_ptr<TSyncCall>> FPending;
    plat::HWND FWindow = 0;
};

} // namespace qel
