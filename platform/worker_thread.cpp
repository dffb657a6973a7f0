// Base of every worker thread: start, stop request polled by the work loops,
// wait, and a hook that lets a worker post its final state whatever it threw.
#include "platform/worker_thread.h"

#include <stdexcept>

namespace plat {

TThread::~TThread()
{
    // The last reference may be the worker's own, dropped on the worker thread
    // once Execute has returned: that thread cannot join itself.
    if (FThread.joinable() && FThread.get_id() == std::this_thread::get_id()) {
        FThread.detach();
    }
}

void TThread::Start()
{
    std::shared_ptr<TThread> self = weak_from_this().lock();
    if (!self) {
        throw std::logic_error("a worker thread must be owned by a std::shared_ptr to start");
    }
    {
        std::lock_guard lock(FLock);
        if (FStarted) {
            throw std::logic_error("a worker thread can start only once");
        }
        FStarted = true;
    }
    FThread = std::jthread([self = std::move(self)]() mutable {
        self->Run();
        self.reset(); // may free the worker, here on its own thread
    });
}

void TThread::Run()
{
    {
        std::lock_guard lock(FLock);
        FWorkerId = std::this_thread::get_id();
    }
    try {
        Execute();
    } catch (...) {
        const std::exception_ptr error = std::current_exception();
        try {
            ExecuteFailed(error, ExceptionMessage(error));
        } catch (...) {
            // Nothing is left to report to; the thread must still end cleanly.
        }
    }
    std::lock_guard lock(FLock);
    FFinished = true;
    FDone.notify_all();
}

void TThread::Terminate()
{
    FStop.request_stop();
}

void TThread::WaitFor()
{
    std::unique_lock lock(FLock);
    if (FWorkerId == std::this_thread::get_id()) {
        throw std::logic_error("a worker thread cannot wait for itself");
    }
    FDone.wait(lock, [this] { return FFinished || !FStarted; });
}

void TThread::Join()
{
    WaitFor();
    if (FThread.joinable()) {
        FThread.join();
    }
}

bool TThread::Finished() const
{
    std::lock_guard lock(FLock);
    return FFinished;
}

void TThread::ExecuteFailed(std::exception_ptr, const std::string&)
{
}

std::string ExceptionMessage(std::exception_ptr error)
{
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "Unknown exception";
    }
}

} // namespace plat
