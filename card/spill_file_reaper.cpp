// Spill files removed in the background.
#include "card/spill_file_reaper.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <filesystem>
#include <mutex>
#include <thread>
#include <unistd.h>

namespace qel {
namespace {

class TSpillFileReaper {
public:
    ~TSpillFileReaper()
    {
        {
            std::lock_guard lock(FLock);
            FStopping = true;
        }
        FWork.notify_all();
        if (FThread.joinable() && FOwner == getpid()) {
            FThread.join();
        } else if (FThread.joinable()) {
            FThread.detach();   // a forked child never had the thread
        }
    }

    void Dispose(const std::string& FileName)
    {
        std::error_code error;
        const std::string gone = FileName + "." + std::to_string(++FCounter) + ".gone";
        std::filesystem::rename(FileName, gone, error);
        if (error) {
            std::filesystem::remove(FileName, error);
            return;
        }
        std::unique_lock lock(FLock);
        if (FThread.joinable() && getpid() != FOwner) {
            // A forked child has no background thread: it removes at once.
            lock.unlock();
            std::filesystem::remove(gone, error);
            return;
        }
        if (!FThread.joinable()) {
            FOwner = getpid();
            FThread = std::thread([this] { Run(); });
        }
        FQueue.push_back(gone);
        FWork.notify_all();
    }

    void Flush()
    {
        if (getpid() != FOwner) {
            return;
        }
        std::unique_lock lock(FLock);
        FIdle.wait(lock, [this] { return FQueue.empty() && !FBusy; });
    }

private:
    void Run()
    {
        std::unique_lock lock(FLock);
        for (;;) {
            FWork.wait(lock, [this] { return FStopping || !FQueue.empty(); });
            if (FQueue.empty()) {
                return;   // stopping with nothing left
            }
            const std::string file = std::move(FQueue.front());
            FQueue.pop_front();
            FBusy = true;
            lock.unlock();
            std::error_code ignored;
            std::filesystem::remove(file, ignored);
            lock.lock();
            FBusy = false;
            if (FQueue.empty()) {
                FIdle.notify_all();
            }
        }
    }

    std::mutex FLock;                   // guards the fields below but the counter
    std::condition_variable FWork;      // a file was queued, or the end came
    std::condition_variable FIdle;      // the queue ran empty
    std::deque<std::string> FQueue;     // renamed files still to remove
    bool FBusy = false;                 // a file is being removed
    bool FStopping = false;
    std::thread FThread;                // started by the first file
    pid_t FOwner = 0;                   // the process that started the thread
    std::atomic<unsigned> FCounter{0};  // makes renamed names unique
};

TSpillFileReaper& Reaper()
{
    static TSpillFileReaper reaper;
    return reaper;
}

} // namespace

void DisposeSpillFile(const std::string& FileName)
{
    Reaper().Dispose(FileName);
}

void FlushSpillFileDisposal()
{
    Reaper().Flush();
}

} // namespace qel
