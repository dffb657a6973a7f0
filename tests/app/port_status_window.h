// A window for the port-search tests: it records the WM_PORT_STATUS messages
// that reach it once the probe threads have ended.
#pragma once

#include "app/qel_port_thread.h"
#include "platform/messages.h"

#include <utility>
#include <vector>

namespace qeltest {

using TPortStatus = std::pair<plat::WPARAM, plat::LPARAM>;   // mode, port index

class TPortStatusWindow {
public:
    TPortStatusWindow()
        : FHandle(plat::CreateWindowHandle(
              FQueue,
              [this](plat::UINT message, plat::WPARAM wParam, plat::LPARAM lParam) -> plat::LRESULT {
                  if (message == qel::WM_PORT_STATUS) {
                      FStatus.emplace_back(wParam, lParam);
                  }
                  return 0;
              },
              true))
    {
    }
    ~TPortStatusWindow() { plat::DestroyWindowHandle(FHandle); }
    TPortStatusWindow(const TPortStatusWindow&) = delete;
    TPortStatusWindow& operator=(const TPortStatusWindow&) = delete;

    plat::HWND Handle() const { return FHandle; }
    // Handles what has been posted so far and answers every status received.
    const std::vector<TPortStatus>& Received()
    {
        FQueue.ProcessMessages();
        return FStatus;
    }

    // Handles messages until count statuses have arrived (a minute at most).
    const std::vector<TPortStatus>& WaitFor(std::size_t count)
    {
        FQueue.ProcessMessages();
        while (FStatus.size() < count && FQueue.WaitMessage(60000)) {
            FQueue.ProcessMessages();
        }
        return FStatus;
    }

private:
    plat::TMessageQueue FQueue;   // before the handle, which is bound to it
    std::vector<TPortStatus> FStatus;
    plat::HWND FHandle;
};

} // namespace qeltest
