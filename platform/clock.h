// Steady millisecond time for timers and waits, replaceable by a manual clock
// so that tests move time on by hand instead of sleeping.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>

namespace plat {

class IClock {
public:
    virtual ~IClock() = default;
    // Monotonic milliseconds; only differences mean anything.
    virtual std::int64_t NowMs() const = 0;
    // Real milliseconds a waiter may block for this clock to move on by deltaMs
    // (deltaMs > 0); -1 = block until woken, for clocks that move only when told.
    virtual int RealWaitMs(std::int64_t deltaMs) const = 0;
};

class TSystemClock final : public IClock {
public:
    std::int64_t NowMs() const override;
    int RealWaitMs(std::int64_t deltaMs) const override;
};

// Time stands still until Advance; every advance wakes the clock watchers.
class TManualClock final : public IClock {
public:
    explicit TManualClock(std::int64_t startMs = 0) : FNowMs(startMs) {}
    std::int64_t NowMs() const override { return FNowMs.load(); }
    int RealWaitMs(std::int64_t) const override { return -1; }
    void Advance(std::int64_t ms);

private:
    std::atomic<std::int64_t> FNowMs;
};

// The clock in use; the system clock unless a test set another.
IClock& Clock();
// nullptr restores the system clock. The caller keeps the clock alive while it is set.
void SetClock(IClock* clock);

// Calls onChange whenever the current clock is replaced or a manual clock is
// advanced, so that waits measured on the clock can look again. onChange runs
// on the thread that moved the clock and must not block; it is never called
// after the destructor has returned.
class TClockWatch {
public:
    explicit TClockWatch(std::function<void()> onChange);
    ~TClockWatch();
    TClockWatch(const TClockWatch&) = delete;
    TClockWatch& operator=(const TClockWatch&) = delete;

    // Runs every watcher; called when the clock moved.
    static void NotifyAll();

private:
    std::function<void()> FOnChange;
};

} // namespace plat
