// TSignalWatch: signals that ask the process to end (SIGTERM at logout,
// SIGINT, SIGHUP) taken out of the signal handlers' reach and handed to a
// thread of its own, where the program may do what it likes with them (post
// a close request to its window, for instance) instead of dying at once.
#pragma once

#include <functional>
#include <initializer_list>
#include <thread>

#include <signal.h>

namespace plat {

class TSignalWatch {
public:
    // Blocks Signals in the calling thread, and so in every thread it starts
    // afterwards: make it before the process starts any thread. OnSignal
    // runs on the watch's thread, once per signal that arrives.
    TSignalWatch(std::initializer_list<int> Signals, std::function<void(int Signal)> OnSignal);
    // Stops the watch and unblocks the signals again: one still pending
    // then takes its default action.
    ~TSignalWatch();
    TSignalWatch(const TSignalWatch&) = delete;
    TSignalWatch& operator=(const TSignalWatch&) = delete;

private:
    void Run();
    // Closes the fds and gives the thread its former signal mask back.
    void Release();

    sigset_t FSignals;
    sigset_t FFormerMask;
    std::function<void(int)> FOnSignal;
    int FSignalFd = -1;   // reads the blocked signals
    int FStopFd = -1;     // readable when the watch is to stop
    std::thread FThread;
};

} // namespace plat
