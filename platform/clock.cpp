// Steady millisecond time for timers and waits, replaceable by a manual clock
// so that tests move time on by hand instead of sleeping.
#include "platform/clock.h"

#include <algorithm>
#include <chrono>
#include <limits>
#include <mutex>
#include <vector>

namespace plat {

namespace {

TSystemClock& SystemClock()
{
    static TSystemClock clock;
    return clock;
}

std::atomic<IClock*>& CurrentClock()
{
    static std::atomic<IClock*> current{nullptr};
    return current;
}

struct TWatchList {
    std::mutex Lock;                   // held while a watcher runs, so removal waits for it
    std::vector<TClockWatch*> Watches;
};

TWatchList& Watchers()
{
    static TWatchList list;
    return list;
}

} // namespace

std::int64_t TSystemClock::NowMs() const
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

int TSystemClock::RealWaitMs(std::int64_t deltaMs) const
{
    return static_cast<int>(std::clamp<std::int64_t>(deltaMs, 0, std::numeric_limits<int>::max()));
}

void TManualClock::Advance(std::int64_t ms)
{
    FNowMs += ms;
    TClockWatch::NotifyAll();
}

IClock& Clock()
{
    IClock* clock = CurrentClock().load();
    return clock ? *clock : SystemClock();
}

void SetClock(IClock* clock)
{
    CurrentClock().store(clock);
    TClockWatch::NotifyAll();
}

TClockWatch::TClockWatch(std::function<void()> onChange) : FOnChange(std::move(onChange))
{
    auto& list = Watchers();
    std::lock_guard lock(list.Lock);
    list.Watches.push_back(this);
}

TClockWatch::~TClockWatch()
{
    auto& list = Watchers();
    std::lock_guard lock(list.Lock);
    list.Watches.erase(std::find(list.Watches.begin(), list.Watches.end(), this));
}

void TClockWatch::NotifyAll()
{
    auto& list = Watchers();
    std::lock_guard lock(list.Lock);
    for (const auto* watch : list.Watches) {
        watch->FOnChange();
    }
}

} // namespace plat
