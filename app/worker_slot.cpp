// The main window's hold on one running worker thread.
#include "app/worker_slot.h"

#include "platform/worker_thread.h"

#include <cassert>

namespace qel {

void TWorkerSlot::Hold(std::shared_ptr<plat::TThread> Worker)
{
    assert(!FWorker && "one worker at a time");
    FWorker = std::move(Worker);
}

void TWorkerSlot::Terminate()
{
    if (FWorker) {
        FWorker->Terminate();
    }
}

void TWorkerSlot::Release()
{
    if (!FWorker) {
        return;
    }
    const std::shared_ptr<plat::TThread> worker = std::move(FWorker);
    worker->Join();
}

} // namespace qel
