// The card-directory reader: a worker thread that scans the card image into
// the record list and reports to a window by posted WM_CARD_DIR_STATUS messages.
#pragma once

#include "card/thread_status.h"
#include "platform/messages.h"
#include "platform/worker_thread.h"

#include <cstdint>
#include <memory>

namespace qel {

// Posts THREAD_STARTED, THREAD_PROGRESS with each new percentage, then
// exactly one of THREAD_FINISHED (the records are in RecInfoList) or
// THREAD_FAILED with the error code (3 when stopped by Terminate, 0 and the
// message in LastErrorMsg for an error that is not an EQel).
class TReadCardDirThread : public plat::TThread {
public:
    // Creates the thread and starts it; the caller keeps the reference only to
    // ask it to terminate.
    static std::shared_ptr<TReadCardDirThread> Create(plat::HWND hWindow);

    explicit TReadCardDirThread(plat::HWND hWindow) : FhWindow(hWindow) {}

protected:
    void Execute() override;
    void ExecuteFailed(std::exception_ptr error, const std::string& message) override;

private:
    void Post(plat::WPARAM state, plat::LPARAM value) const;

    plat::HWND FhWindow;   // receives the status messages
};

} // namespace qel
