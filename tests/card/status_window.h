// A window for the tests of the reader threads: it records the status
// messages of one kind that reach it, each with the last failure's message
// as it read then, and waits on its own queue for the final state.
#pragma once

#include "card/thread_status.h"
#include "foundations/qel_error.h"
#include "platform/messages.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace qeltest {

using TStatus = std::pair<plat::WPARAM, plat::LPARAM>;   // state, value

class TStatusWindow {
public:
    explicit TStatusWindow(plat::UINT message)
        : FHandle(plat::CreateWindowHandle(
              FQueue,
              [this, message](plat::UINT received, plat::WPARAM wParam, plat::LPARAM lParam) -> plat::LRESULT {
                  if (received == message) {
                      FStatus.emplace_back(wParam, lParam);
                      FMessages.push_back(qel::LastErrorMsg());
                  }
                  return 0;
              },
              true))
    {
    }
    ~TStatusWindow() { plat::DestroyWindowHandle(FHandle); }
    TStatusWindow(const TStatusWindow&) = delete;
    TStatusWindow& operator=(const TStatusWindow&) = delete;

    plat::HWND Handle() const { return FHandle; }
    // The states received, in order, and LastErrorMsg as each arrived.
    const std::vector<TStatus>& Status() const { return FStatus; }
    const std::vector<std::string>& Messages() const { return FMessages; }
    void Clear()
    {
        FStatus.clear();
        FMessages.clear();
    }

    // Handles the queue's messages until THREAD_FINISHED or THREAD_FAILED arrives.
    void WaitForFinalState()
    {
        const auto final = [this] {
            return !FStatus.empty() && (FStatus.back().first == qel::THREAD_FINISHED || FStatus.back().first == qel::THREAD_FAILED);
        };
        while (!final()) {
            if (!FQueue.WaitMessage(60000)) {
                ADD_FAILURE() << "the reader posted no final state";
                return;
            }
            FQueue.ProcessMessages();
        }
    }

private:
    plat::TMessageQueue FQueue;   // before the handle, which is bound to it
    std::vector<TStatus> FStatus;
    std::vector<std::string> FMessages;
    plat::HWND FHandle;
};

} // namespace qeltest
