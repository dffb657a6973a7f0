// Calls from the validation worker to the user-interface thread.
#include "widgets/tree/tree_sync_calls.h"

#include <utility>

namespace qel {

void TSyncCall::Run()
{
    std::exception_ptr error;
    try {
        FBody();
    } catch (...) {
        error = std::current_exception();
    }
    Complete(true, error);
}

void TSyncCall::Abandon()
{
    Complete(false, nullptr);
}

void TSyncCall::Complete(bool ran, std::exception_ptr error)
{
    {
        std::lock_guard lock(FLock);
        FDone = true;
        FRan = ran;
        FError = std::move(error);
    }
    FDoneSignal.notify_all();
}

bool TSyncCall::Wait()
{
    std::unique_lock lock(FLock);
    FDoneSignal.wait(lock, [this] { return FDone; });
    if (FError) {
        std::rethrow_exception(FError);
    }
    return FRan;
}

void TTreeSyncCalls::SetWindow(plat::HWND window)
{
    std::lock_guard lock(FLock);
    FWindow = window;
    if (FWindow != 0 && !FPending.empty()) {
        plat::PostMessage(FWindow, WM_DTSYNCCALLS, 0, 0);
    }
}

std::shared_ptr<TSyncCall> TTreeSyncCalls::Submit(std::function<void()> body)
{
    auto call = std::make_shared<TSyncCall>(std::move(body));
    std::lock_guard lock(FLock);
    FPending.push_back(call);
    if (FWindow != 0) {
        plat::PostMessage(FWindow, WM_DTSYNCCALLS, 0, 0);
    }
    return call;
}

std::shared_ptr<TSyncCall> TTreeSyncCalls::Take()
{
    std::lock_guard lock(FLock);
    if (FPending.empty()) {
        return nullptr;
    }
    std::shared_ptr<TSyncCall> call = std::move(FPending.front());
    FPending.pop_front();
    return call;
}

bool TTreeSyncCalls::RunPending()
{
    bool ran = false;
    while (const std::shared_ptr<TSyncCall> call = Take()) {
        call->Run();
        ran = true;
    }
    return ran;
}

void TTreeSyncCalls::AbandonAll()
{
    while (const std::shared_ptr<TSyncCall> call = Take()) {
        call->Abandon();
    }
}

std::size_t TTreeSyncCalls::PendingCount()
{
    std::lock_guard lock(FLock);
    return FPending.size();
}

} // namespace qel
