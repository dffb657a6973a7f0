// Base of every worker thread: start, stop request polled by the work loops,
// wait, and a hook that lets a worker post its final state whatever it threw.
#pragma once

#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <stop_token>
#include <string>
#include <thread>

namespace plat {

// Owners hold workers by std::shared_ptr. A running worker keeps a reference
// to itself until Execute (and ExecuteFailed) has returned, so an owner may
// drop its reference at any time, and Terminate on a worker that has ended
// is harmless.
class TThread : public std::enable_shared_from_this<TThread> {
public:
    TThread() = default;
    virtual ~TThread();
    TThread(const TThread&) = delete;
    TThread& operator=(const TThread&) = delete;

    // Runs Execute on a new thread. Call once, through a std::shared_ptr owner;
    // raises std::logic_error otherwise.
    void Start();
    // Asks the work loops to stop; they see it through Terminated().
    void Terminate();
    bool Terminated() const { return FStop.stop_requested(); }
    // For waits that should end on the stop request (condition_variable_any).
    std::stop_token StopToken() const { return FStop.get_token(); }
    // Blocks until Execute (and the failure hook) has returned; at once when
    // the worker was never started. Raises std::logic_error on the worker itself.
    void WaitFor();
    // WaitFor, then waits until the worker's thread itself has ended, its own
    // reference to the worker dropped, so that the caller's reference frees
    // the worker on the caller's thread. The caller must hold a reference.
    // Raises std::logic_error on the worker itself.
    void Join();
    bool Finished() const;

protected:
    // The thread body.
    virtual void Execute() = 0;
    // Runs on the worker thread when Execute ends by an exception of any kind;
    // message is its text (ExceptionMessage). Workers post their final state
    // here; what the hook itself throws is dropped.
    virtual void ExecuteFailed(std::exception_ptr error, const std::string& message);

private:
    void Run();

    std::stop_source FStop;
    std::jthread FThread;
    mutable std::mutex FLock;    // guards the fields below
    std::condition_variable FDone;
    bool FStarted = false;
    bool FFinished = false;
    std::thread::id FWorkerId;   // set as the worker begins
};

// The text of an exception: what() of a std::exception, else "Unknown exception".
std::string ExceptionMessage(std::exception_ptr error);

} // namespace plat
