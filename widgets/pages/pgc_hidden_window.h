// A hidden window of the running application's message queue through which
// a non-visual object (a controller, a timer pool) receives posted messages
// and timer ticks. An exception raised while a message is handled goes to
// the application's exception handling, with the owning object as sender,
// and the message loop goes on.
#pragma once

#include "platform/messages.h"

#include <functional>

namespace plat {
class TObject;
}

namespace qel {

class TPgcHiddenWindow {
public:
    using THandler = std::function<plat::LRESULT(plat::UINT Msg, plat::WPARAM WParam, plat::LPARAM LParam)>;

    // The window is made on first use; Sender is the object named to the
    // exception handling.
    TPgcHiddenWindow(plat::TObject* Sender, THandler Handler);
    ~TPgcHiddenWindow() { Release(); }
    TPgcHiddenWindow(const TPgcHiddenWindow&) = delete;
    TPgcHiddenWindow& operator=(const TPgcHiddenWindow&) = delete;

    // The window, made when there is none (or when the queue it belonged to
    // has gone with its application). Raises plat::EWindowError when no
    // application runs.
    plat::HWND Handle();
    // True while the window exists.
    bool Allocated() const;
    // Destroys the window; the messages posted to it are dropped.
    void Release();

private:
    plat::LRESULT Dispatch(plat::UINT Msg, plat::WPARAM WParam, plat::LPARAM LParam);

    plat::TObject* FSender;
    THandler FHandler;
    plat::HWND FHandle = 0;
};

} // namespace qel
