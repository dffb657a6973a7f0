// Window timers: SetTimer/KillTimer deliver WM_TIMER (wParam = timer id) to a
// window's queue whenever the current clock passes the timer's due time.
#include "platform/timers.h"

#include "platform/clock.h"

#include <algorithm>

namespace plat {

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT ms)
{
    if (id == 0) {
        return 0;
    }
    const bool found = EditWindowTimers(hwnd, [&](TTimerList& timers) {
        timers.Set(hwnd, id, ms, Clock().NowMs());
    });
    return found ? id : 0;
}

bool KillTimer(HWND hwnd, UINT_PTR id)
{
    bool killed = false;
    EditWindowTimers(hwnd, [&](TTimerList& timers) { killed = timers.Kill(hwnd, id); });
    return killed;
}

std::vector<TTimerList::TTimer>::iterator TTimerList::Find(HWND hwnd, UINT_PTR id)
{
    return std::find_if(FTimers.begin(), FTimers.end(),
                        [&](const TTimer& timer) { return timer.Window == hwnd && timer.Id == id; });
}

void TTimerList::Set(HWND hwnd, UINT_PTR id, UINT intervalMs, std::int64_t nowMs)
{
    const std::int64_t interval = std::max(intervalMs, USER_TIMER_MINIMUM);
    const TTimer timer{hwnd, id, interval, nowMs + interval, FNextSequence++};
    if (const auto at = Find(hwnd, id); at != FTimers.end()) {
        *at = timer;
    } else {
        FTimers.push_back(timer);
    }
}

bool TTimerList::Kill(HWND hwnd, UINT_PTR id)
{
    const auto at = Find(hwnd, id);
    if (at == FTimers.end()) {
        return false;
    }
    FTimers.erase(at);
    return true;
}

void TTimerList::KillWindow(HWND hwnd)
{
    std::erase_if(FTimers, [&](const TTimer& timer) { return timer.Window == hwnd; });
}

std::optional<std::int64_t> TTimerList::NextDueMs() const
{
    if (FTimers.empty()) {
        return std::nullopt;
    }
    return std::min_element(FTimers.begin(), FTimers.end(),
                            [](const TTimer& a, const TTimer& b) { return a.DueMs < b.DueMs; })
        ->DueMs;
}

bool TTimerList::TakeDue(std::int64_t nowMs, TMsg& msg)
{
    auto earliest = FTimers.end();
    for (auto at = FTimers.begin(); at != FTimers.end(); ++at) {
        const bool due = at->DueMs <= nowMs;
        if (due && (earliest == FTimers.end() || at->DueMs < earliest->DueMs ||
                    (at->DueMs == earliest->DueMs && at->Sequence < earliest->Sequence))) {
            earliest = at;
        }
    }
    if (earliest == FTimers.end()) {
        return false;
    }
    msg = TMsg{earliest->Window, WM_TIMER, earliest->Id, 0};
    earliest->DueMs = nowMs + earliest->IntervalMs;
    return true;
}

} // namespace plat
