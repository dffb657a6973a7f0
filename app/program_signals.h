// The program's answer to signals. A request to end (SIGTERM at logout,
// SIGINT, SIGHUP) becomes a close request to the main window, so that the
// program ends by its close protocol: the workers stop, and the program's
// spill files and unfinished saves go. SIGXFSZ is ignored, so that a write
// past the file-size limit fails with its error and the save reports it.
#pragma once

#include "platform/messages.h"
#include "platform/signal_watch.h"

#include <csignal>
#include <mutex>

namespace qel {

class TProgramSignals {
public:
    // Make it before the program starts any thread (the watch's mask is inherited).
    TProgramSignals();
    ~TProgramSignals();
    TProgramSignals(const TProgramSignals&) = delete;
    TProgramSignals& operator=(const TProgramSignals&) = delete;

    // The window that takes the close requests (0: none any more). A
    // request that came before the window existed reaches it at once.
    void SetMainWindow(plat::HWND Window);

private:
    void Requested();

    std::mutex FLock;
    plat::HWND FWindow = 0;           // guarded by FLock
    bool FPending = false;            // a request came while there was no window
    void (*FFormerFileSizeAction)(int) = SIG_DFL;
    plat::TSignalWatch FWatch;        // last: its thread calls Requested
};

} // namespace qel
