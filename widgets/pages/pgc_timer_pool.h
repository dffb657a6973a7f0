// TPgcTimerPool: any number of timed events (triggers), each with its own
// interval, served by one platform timer on a hidden window. The pool runs
// its timer with one period that suits every enabled trigger and, on each
// tick, fires the triggers that are due (within 27 ms of their interval).
// Each controller owns one for the controls of its form.
//
// Times are the platform's millisecond tick count cut to 32 bits; the time
// between two tick counts is their difference modulo 2^32, so the pool
// keeps time across the counter's sign change and wrap-around.
#pragma once

#include "widgets/pages/pgc_component.h"
#include "widgets/pages/pgc_hidden_window.h"

#include "platform/objects/component.h"
#include "platform/objects/events.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace qel {

using TTriggerEvent =
    plat::TEvent<void(plat::TObject* Sender, std::int32_t Handle, std::uint32_t Interval, std::int32_t ElapsedTime)>;

class TPgcTimerPool : public plat::TComponent {
    PLAT_CLASS(TPgcTimerPool, plat::TComponent)
public:
    // Intervals below this are raised to it by Add; no period is shorter.
    static constexpr std::uint32_t kMinimumInterval = 55;
    // A trigger counts as due this much before its interval has passed.
    static constexpr std::int64_t kDueTolerance = 27;

    explicit TPgcTimerPool(plat::TComponent* AOwner);
    ~TPgcTimerPool() override;

    // "v2.10"; writing changes nothing and it is never streamed.
    std::string About() const { return std::string(kPgcLibraryVersion); }
    void SetAbout(const std::string&) {}

    int Count() const { return static_cast<int>(tpList.size()); }
    // Fired after each trigger's own event, with the same values.
    TTriggerEvent OnAllTriggers;

    // A new recurring, enabled trigger; answers its handle (one more than the
    // largest in the pool, 0 in an empty pool).
    std::int32_t Add(TTriggerEvent OnTrigger, std::uint32_t Interval);
    // A trigger removed when it fires; answers its handle.
    std::int32_t AddOneTime(TTriggerEvent OnTrigger, std::uint32_t Interval);
    // AddOneTime after removing the first trigger that runs the same code.
    std::int32_t AddOneShot(TTriggerEvent OnTrigger, std::uint32_t Interval);
    // A handle that no trigger has does nothing.
    void Remove(std::int32_t Handle);
    void RemoveAll();

    // The operations below raise EInvalidTriggerHandle for a handle that no
    // trigger has.
    void ResetElapsedTime(std::int32_t Handle);
    // Milliseconds since the trigger was added or reset, saturating at 2^31 - 1.
    std::int32_t GetElapsedTriggerTime(std::int32_t Handle);
    std::int32_t GetElapsedTriggerTimeSec(std::int32_t Handle);
    TTriggerEvent GetOnTrigger(std::int32_t Handle) const;
    void SetOnTrigger(std::int32_t Handle, TTriggerEvent Value);
    bool GetTriggerEnabled(std::int32_t Handle) const;
    void SetTriggerEnabled(std::int32_t Handle, bool Value);
    std::uint32_t GetTriggerInterval(std::int32_t Handle) const;
    // No lower bound here and no re-sorting.
    void SetTriggerInterval(std::int32_t Handle, std::uint32_t Value);

    // Fires the due triggers; the hidden window calls it on each tick.
    virtual void FireDueTriggers();

private:
    struct TTrigger {
        std::int32_t Handle = 0;
        std::int32_t TimeStart = 0;     // tick count when added or reset
        std::int32_t ElapsedTime = 0;   // milliseconds, saturating at 2^31 - 1
        std::uint32_t Interval = 0;
        std::int32_t LastTrigger = 0;   // tick count of the last firing (or adding, enabling)
        TTriggerEvent OnTrigger;
        bool Enabled = false;
        bool Recurring = false;         // false: removed when it fires
    };

    TTrigger* Find(std::int32_t Handle) const;
    TTrigger& Get(std::int32_t Handle) const;   // raises EInvalidTriggerHandle
    void CountEnabled();
    void ComputePeriod();
    // Bubble passes by ascending interval; equal intervals keep their order.
    void SortByInterval();
    // Stops the platform timer and starts it again with the period while a
    // trigger is enabled; raises ENoTimersAvailable when it cannot.
    void RestartTimer();
    void Recompute();   // CountEnabled, ComputePeriod, RestartTimer
    plat::LRESULT HandleMessage(plat::UINT Msg, plat::WPARAM WParam, plat::LPARAM LParam);

    std::vector<std::unique_ptr<TTrigger>> tpList;   // owned, sorted by interval
    TPgcHiddenWindow tpHandle;                       // receives the timer ticks
    std::uint32_t tpInterval = 0;                    // timer period in ms; 0 = no timer
    int tpEnabledCount = 0;
    std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);   // false once the pool is being freed
};

} // namespace qel
