// The main window's hold on one running worker thread (a card reader or a
// saver): a shared handle, so that telling it to stop is safe whatever the
// worker's state, kept from the step that starts it until its final message
// has arrived, when the worker is joined and let go.
#pragma once

#include <memory>

namespace plat {
class TThread;
}

namespace qel {

// Used from the user-interface thread only.
class TWorkerSlot {
public:
    bool Held() const { return static_cast<bool>(FWorker); }
    // Keeps Worker (already started, or started by the caller right after).
    void Hold(std::shared_ptr<plat::TThread> Worker);
    // Tells the held worker to stop at its next check; nothing when none is held.
    void Terminate();
    // The worker's final message arrived: joins its thread (it posts that
    // message last) and lets it go, so the worker is freed here unless
    // someone else still holds it; nothing when none is held.
    void Release();

private:
    std::shared_ptr<plat::TThread> FWorker;
};

} // namespace qel
