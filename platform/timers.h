// Window timers: SetTimer/KillTimer deliver WM_TIMER (wParam = timer id) to a
// window's queue whenever the current clock passes the timer's due time.
#pragma once

#include "platform/messages.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace plat {

using UINT_PTR = std::uintptr_t;

// Intervals below this are raised to it, as the platform does.
constexpr UINT USER_TIMER_MINIMUM = 10;

// Starts (or restarts with the new interval) timer id of the window; the first
// WM_TIMER comes ms after now on the current clock. Answers id, or 0 for an
// unknown window or id 0.
UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT ms);
// Stops the timer; false when the window has no such timer.
bool KillTimer(HWND hwnd, UINT_PTR id);

// The timers of one message queue. Not locked: the queue guards it.
class TTimerList {
public:
    void Set(HWND hwnd, UINT_PTR id, UINT intervalMs, std::int64_t nowMs);
    bool Kill(HWND hwnd, UINT_PTR id);
    void KillWindow(HWND hwnd);
    // Due time of the earliest timer, none when no timer runs.
    std::optional<std::int64_t> NextDueMs() const;
    // The earliest timer due at nowMs (the one set first among equals) as a
    // WM_TIMER message; it is rescheduled one interval after nowMs, so a timer
    // that missed several periods fires once. False when none is due.
    bool TakeDue(std::int64_t nowMs, TMsg& msg);

private:
    struct TTimer {
        HWND Window;
        UINT_PTR Id;
        std::int64_t IntervalMs;
        std::int64_t DueMs;
        std::uint64_t Sequence; // order of setting, breaks ties between equal due times
    };
    std::vector<TTimer>::iterator Find(HWND hwnd, UINT_PTR id);

    std::vector<TTimer> FTimers; // few per window, so a plain list
    std::uint64_t FNextSequence = 0;
};

} // namespace plat
