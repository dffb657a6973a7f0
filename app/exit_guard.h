// The time limit on the program's end. Once the main window has closed,
// the workers are told to stop and joined before the program's state is
// released; a worker that does not stop in time must neither keep the
// process alive nor meet released state. The guard watches that end: when
// it is not disarmed within its limit, its action runs (the program's: one
// line on stderr and the process ends at once, releasing nothing).
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace qel {

class TExitGuard {
public:
    using TAction = std::function<void()>;

    // Armed at once; Action runs on the guard's own thread.
    TExitGuard(std::chrono::milliseconds Limit, TAction Action);
    // Disarms it and waits for its thread.
    ~TExitGuard();
    TExitGuard(const TExitGuard&) = delete;
    TExitGuard& operator=(const TExitGuard&) = delete;

    // The end came in time: the action will not run (unless it runs already).
    void Disarm();

private:
    void Watch(std::chrono::milliseconds Limit);

    TAction FAction;
    std::mutex FLock;
    std::condition_variable FChanged;
    bool FDisarmed = false;
    std::thread FThread;   // last: starts once the fields above exist
};

// The program's guard action: names the cause on stderr and ends the
// process with Status, without running any finalisation.
[[noreturn]] void EndProcessNow(int Status);

} // namespace qel
