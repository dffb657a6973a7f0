// The time limit on the program's end.
#include "app/exit_guard.h"

#include <cstdio>
#include <cstdlib>

namespace qel {

TExitGuard::TExitGuard(std::chrono::milliseconds Limit, TAction Action)
    : FAction(std::move(Action)), FThread([this, Limit] { Watch(Limit); })
{
}

TExitGuard::~TExitGuard()
{
    Disarm();
    FThread.join();
}

void TExitGuard::Disarm()
{
    {
        const std::lock_guard<std::mutex> hold(FLock);
        FDisarmed = true;
    }
    FChanged.notify_all();
}

void TExitGuard::Watch(std::chrono::milliseconds Limit)
{
    std::unique_lock<std::mutex> hold(FLock);
    if (FChanged.wait_for(hold, Limit, [this] { return FDisarmed; })) {
        return;
    }
    hold.unlock();
    FAction();
}

void EndProcessNow(int Status)
{
    std::fputs("qelreader: a worker did not stop in time; the program ends without releasing its state\n", stderr);
    std::fflush(nullptr);
    std::_Exit(Status);
}

} // namespace qel
