// Status messages that the reader and save threads post to the main window,
// and the states carried in their wParam.
#pragma once

#include "platform/messages.h"

#include <cstdint>

namespace qel {

constexpr plat::UINT WM_SAVE_STATUS = plat::WM_USER + 1;
constexpr plat::UINT WM_CARD_DIR_STATUS = plat::WM_USER + 3;
constexpr plat::UINT WM_CARD_DATA_STATUS = plat::WM_USER + 4;

constexpr plat::WPARAM THREAD_STARTED = 0;    // lParam 0: first thing the thread does
constexpr plat::WPARAM THREAD_FINISHED = 1;   // lParam 0: the work is complete
constexpr plat::WPARAM THREAD_FAILED = 2;     // lParam the EQel code, 0 for any other error
constexpr plat::WPARAM THREAD_PROGRESS = 11;  // lParam the percent, posted when it changes
constexpr plat::WPARAM THREAD_SAVED = 30;     // a save loop reported success (before FINISHED)

} // namespace qel
