// The base of the two card reader threads: a read run on a worker thread that
// reports its start, progress and end to a window by posted status messages.
#pragma once

#include "card/card_read_hooks.h"
#include "card/thread_status.h"
#include "platform/messages.h"
#include "platform/worker_thread.h"

#include <exception>
#include <string>

namespace qel {

// Clears LastErrorMsg and posts message with THREAD_STARTED, then runs Read
// with hooks that see the terminate request and post THREAD_PROGRESS with
// each new percentage, then exactly one of THREAD_FINISHED or THREAD_FAILED
// with the error code (3 when stopped by Terminate, 0 for an error that is
// not an EQel; the message in LastErrorMsg). Whatever Read throws ends as
// THREAD_FAILED, so the window never waits.
class TCardReaderThread : public plat::TThread {
protected:
    TCardReaderThread(plat::HWND hWindow, plat::UINT message) : FhWindow(hWindow), FMessage(message) {}

    // The read itself; raises what ends it early.
    virtual void Read(const TCardReadHooks& hooks) = 0;

    void Execute() final;
    void ExecuteFailed(std::exception_ptr error, const std::string& message) final;

private:
    void Post(plat::WPARAM state, plat::LPARAM value) const;

    plat::HWND FhWindow;   // receives the status messages
    plat::UINT FMessage;   // WM_CARD_DIR_STATUS or WM_CARD_DATA_STATUS
};

} // namespace qel
