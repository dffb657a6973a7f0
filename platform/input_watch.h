// A thread that waits for input on a descriptor and hands each arrival to a
// handler until its owner stops it; the listeners of the single-instance
// guard and of the suite link run on it.
#pragma once

#include <functional>
#include <memory>
#include <thread>

namespace plat {

class TInputWatch {
public:
    // Starts watching fd, which stays the caller's and must outlive the
    // watch; onInput runs on the watch thread whenever fd is readable.
    // nullptr when the stop signal or the thread cannot be made.
    static std::unique_ptr<TInputWatch> Start(int fd, std::function<void()> onInput);
    // Stops the thread and waits for it: onInput is not called afterwards.
    ~TInputWatch();
    TInputWatch(const TInputWatch&) = delete;
    TInputWatch& operator=(const TInputWatch&) = delete;

private:
    TInputWatch(int fd, int stopFd, std::function<void()> onInput);
    void Run();

    const int FFd;
    const int FStopFd;   // eventfd; readable once the watch is to end
    const std::function<void()> FOnInput;
    std::jthread FThread;
};

} // namespace plat
