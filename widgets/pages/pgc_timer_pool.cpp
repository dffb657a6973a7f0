// TPgcTimerPool: triggers, the common timer period and firing.
#include "widgets/pages/pgc_timer_pool.h"

#include "widgets/pages/pgc_exceptions.h"

#include "platform/clock.h"
#include "platform/controls/window.h"
#include "platform/timers.h"

#include <algorithm>
#include <limits>

namespace qel {

PLAT_DEFINE_CLASS(TPgcTimerPool, plat::TComponent,
                  plat::Published("About", &TPgcTimerPool::About, &TPgcTimerPool::SetAbout).Stored(false))

namespace {

constexpr plat::UINT_PTR kTimerId = 1;
constexpr std::int32_t kMaxElapsed = std::numeric_limits<std::int32_t>::max();

// The platform's millisecond tick count, cut to 32 bits.
std::int32_t TickCount()
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(plat::Clock().NowMs()));
}

// A - B in 32 bits, wrapping as the tick counter does.
std::int32_t WrappedDifference(std::int32_t A, std::int32_t B)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(A) - static_cast<std::uint32_t>(B));
}

// The milliseconds from Then to Now as the pool counts them: Now - Then, or,
// when Now lies below Then (the counter wrapped), -1 - (Then - Now).
std::int32_t TicksSince(std::int32_t Now, std::int32_t Then)
{
    if (Now >= Then) {
        return WrappedDifference(Now, Then);
    }
    return WrappedDifference(-1, WrappedDifference(Then, Now));
}

} // namespace

TPgcTimerPool::TPgcTimerPool(plat::TComponent* AOwner)
    : plat::TComponent(AOwner), tpHandle(this, [this](plat::UINT msg, plat::WPARAM wParam, plat::LPARAM lParam) {
          return HandleMessage(msg, wParam, lParam);
      })
{
}

TPgcTimerPool::~TPgcTimerPool()
{
    tpInterval = 0;
    if (tpHandle.Allocated()) {
        plat::KillTimer(tpHandle.Handle(), kTimerId);
    }
    *FAlive = false;
    tpList.clear();
    tpHandle.Release();
}

TPgcTimerPool::TTrigger* TPgcTimerPool::Find(std::int32_t Handle) const
{
    for (const auto& trigger : tpList) {
        if (trigger->Handle == Handle) {
            return trigger.get();
        }
    }
    return nullptr;
}

TPgcTimerPool::TTrigger& TPgcTimerPool::Get(std::int32_t Handle) const
{
    TTrigger* trigger = Find(Handle);
    if (trigger == nullptr) {
        throw EInvalidTriggerHandle();
    }
    return *trigger;
}

std::int32_t TPgcTimerPool::Add(TTriggerEvent OnTrigger, std::uint32_t Interval)
{
    auto trigger = std::make_unique<TTrigger>();
    for (const auto& other : tpList) {
        trigger->Handle = std::max(trigger->Handle, other->Handle + 1);
    }
    const std::int32_t now = TickCount();
    trigger->Enabled = true;
    trigger->TimeStart = now;
    trigger->LastTrigger = now;
    trigger->Interval = std::max(Interval, kMinimumInterval);
    trigger->OnTrigger = std::move(OnTrigger);
    trigger->Recurring = true;
    const std::int32_t handle = trigger->Handle;
    tpList.push_back(std::move(trigger));
    CountEnabled();
    ComputePeriod();
    SortByInterval();
    RestartTimer();
    return handle;
}

std::int32_t TPgcTimerPool::AddOneTime(TTriggerEvent OnTrigger, std::uint32_t Interval)
{
    const std::int32_t handle = Add(std::move(OnTrigger), Interval);
    TTrigger* trigger = Find(handle);
    if (trigger == nullptr) {
        return -1;
    }
    trigger->Recurring = false;
    return handle;
}

std::int32_t TPgcTimerPool::AddOneShot(TTriggerEvent OnTrigger, std::uint32_t Interval)
{
    if (OnTrigger.Assigned()) {
        const auto same = std::find_if(tpList.begin(), tpList.end(), [&OnTrigger](const auto& trigger) {
            return trigger->OnTrigger.SameCode(OnTrigger);
        });
        if (same != tpList.end()) {
            Remove((*same)->Handle);
        }
    }
    return AddOneTime(std::move(OnTrigger), Interval);
}

void TPgcTimerPool::Remove(std::int32_t Handle)
{
    const auto found = std::find_if(tpList.begin(), tpList.end(),
                                    [Handle](const auto& trigger) { return trigger->Handle == Handle; });
    if (found != tpList.end()) {
        tpList.erase(found);
    }
    Recompute();
}

void TPgcTimerPool::RemoveAll()
{
    tpList.clear();
    tpEnabledCount = 0;
    tpInterval = 0;
    RestartTimer();
}

void TPgcTimerPool::ResetElapsedTime(std::int32_t Handle)
{
    Get(Handle).TimeStart = TickCount();
}

// A saturated elapsed time stays; after a wrap of the counter a time below
// the one stored saturates it.
std::int32_t TPgcTimerPool::GetElapsedTriggerTime(std::int32_t Handle)
{
    TTrigger& trigger = Get(Handle);
    if (trigger.ElapsedTime == kMaxElapsed) {
        return kMaxElapsed;
    }
    const std::int32_t now = TickCount();
    if (now >= trigger.TimeStart) {
        trigger.ElapsedTime = WrappedDifference(now, trigger.TimeStart);
    } else {
        const std::int32_t elapsed = TicksSince(now, trigger.TimeStart);
        trigger.ElapsedTime = elapsed < trigger.ElapsedTime ? kMaxElapsed : elapsed;
    }
    return trigger.ElapsedTime;
}

std::int32_t TPgcTimerPool::GetElapsedTriggerTimeSec(std::int32_t Handle)
{
    return GetElapsedTriggerTime(Handle) / 1000;
}

TTriggerEvent TPgcTimerPool::GetOnTrigger(std::int32_t Handle) const
{
    return Get(Handle).OnTrigger;
}

void TPgcTimerPool::SetOnTrigger(std::int32_t Handle, TTriggerEvent Value)
{
    Get(Handle).OnTrigger = std::move(Value);
}

bool TPgcTimerPool::GetTriggerEnabled(std::int32_t Handle) const
{
    return Get(Handle).Enabled;
}

void TPgcTimerPool::SetTriggerEnabled(std::int32_t Handle, bool Value)
{
    TTrigger& trigger = Get(Handle);
    if (trigger.Enabled == Value) {
        return;
    }
    trigger.Enabled = Value;
    if (Value) {
        trigger.LastTrigger = TickCount();
    }
    Recompute();
}

std::uint32_t TPgcTimerPool::GetTriggerInterval(std::int32_t Handle) const
{
    return Get(Handle).Interval;
}

void TPgcTimerPool::SetTriggerInterval(std::int32_t Handle, std::uint32_t Value)
{
    TTrigger& trigger = Get(Handle);
    if (trigger.Interval == Value) {
        return;
    }
    trigger.Interval = Value;
    ComputePeriod();
    RestartTimer();
}

void TPgcTimerPool::CountEnabled()
{
    tpEnabledCount = static_cast<int>(
        std::count_if(tpList.begin(), tpList.end(), [](const auto& trigger) { return trigger->Enabled; }));
}

// The period is an unsigned count that the rules also read as signed: an
// overdue trigger makes it negative, and a negative period ends as 55.
void TPgcTimerPool::ComputePeriod()
{
    const std::int32_t now = TickCount();
    std::uint32_t period = std::numeric_limits<std::uint32_t>::max();
    for (const auto& trigger : tpList) {
        if (!trigger->Enabled) {
            continue;
        }
        period = std::min(period, trigger->Interval);
        const std::int32_t sinceLast = now < trigger->LastTrigger ? kMaxElapsed : WrappedDifference(now, trigger->LastTrigger);
        const std::int64_t rest = std::int64_t{trigger->Interval} - sinceLast;
        if (static_cast<std::int32_t>(period) > rest) {
            period = static_cast<std::uint32_t>(static_cast<std::int32_t>(rest));
        }
    }
    if (tpEnabledCount == 0) {
        tpInterval = 0;
        return;
    }
    const auto asSigned = [](std::uint32_t Value) { return static_cast<std::int32_t>(Value); };
    if (period < kMinimumInterval) {
        period = kMinimumInterval;
    }
    // Down to a common divisor of every interval, as far as the minimum allows.
    while (asSigned(period) > static_cast<std::int32_t>(kMinimumInterval)) {
        const auto uneven = std::find_if(tpList.begin(), tpList.end(),
                                         [period](const auto& trigger) { return trigger->Interval % period != 0; });
        if (uneven == tpList.end()) {
            break;
        }
        period -= (*uneven)->Interval % period;
    }
    tpInterval = asSigned(period) < static_cast<std::int32_t>(kMinimumInterval) ? kMinimumInterval : period;
}

void TPgcTimerPool::SortByInterval()
{
    std::stable_sort(tpList.begin(), tpList.end(),
                     [](const auto& a, const auto& b) { return a->Interval < b->Interval; });
}

void TPgcTimerPool::RestartTimer()
{
    if (tpHandle.Allocated()) {
        plat::KillTimer(tpHandle.Handle(), kTimerId);
    }
    if (tpInterval == 0 || tpEnabledCount == 0) {
        return;
    }
    plat::HWND window = 0;
    try {
        window = tpHandle.Handle();
    } catch (const plat::EWindowError&) {
        throw ENoTimersAvailable();
    }
    if (plat::SetTimer(window, kTimerId, tpInterval) == 0) {
        throw ENoTimersAvailable();
    }
}

void TPgcTimerPool::Recompute()
{
    CountEnabled();
    ComputePeriod();
    RestartTimer();
}

void TPgcTimerPool::FireDueTriggers()
{
    const std::int32_t now = TickCount();
    const std::shared_ptr<bool> alive = FAlive;
    for (int index = 0; index < Count(); ++index) {
        TTrigger& trigger = *tpList[static_cast<std::size_t>(index)];
        if (!trigger.Enabled) {
            continue;
        }
        const std::int32_t sinceLast = TicksSince(now, trigger.LastTrigger);
        if (sinceLast < std::int64_t{trigger.Interval} - kDueTolerance) {
            continue;
        }
        trigger.LastTrigger = now;
        const std::int64_t room = std::int64_t{kMaxElapsed} - trigger.ElapsedTime;
        trigger.ElapsedTime = room < sinceLast ? kMaxElapsed : static_cast<std::int32_t>(trigger.ElapsedTime + std::int64_t{sinceLast});
        const std::int32_t handle = trigger.Handle;
        const std::uint32_t interval = trigger.Interval;
        const std::int32_t elapsed = trigger.ElapsedTime;
        const TTriggerEvent event = trigger.OnTrigger;
        if (!trigger.Recurring) {
            Remove(handle);
            --index;
        }
        event(this, handle, interval, elapsed);
        if (!*alive) {
            return;
        }
        OnAllTriggers(this, handle, interval, elapsed);
        if (!*alive) {
            return;
        }
    }
}

plat::LRESULT TPgcTimerPool::HandleMessage(plat::UINT Msg, plat::WPARAM WParam, plat::LPARAM LParam)
{
    if (Msg == plat::WM_TIMER) {
        FireDueTriggers();
        return 0;
    }
    return plat::DefWindowProc(tpHandle.Handle(), Msg, WParam, LParam);
}

} // namespace qel
