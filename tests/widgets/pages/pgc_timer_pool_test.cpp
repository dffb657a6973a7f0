// Tests of the timer pool on the headless host's manual clock: the common
// period of the platform timer, when triggers fire, one-time and one-shot
// triggers, handles, elapsed times across the tick counter's sign change
// and wrap-around, and errors.
#include "tests/widgets/pages/pgc_form_fixture.h"

#include "widgets/pages/pgc_exceptions.h"
#include "widgets/pages/pgc_timer_pool.h"

#include <functional>
#include <limits>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace qel {
namespace {

struct TFiring {
    std::string Who;
    std::int32_t Handle;
    std::uint32_t Interval;
    std::int32_t Elapsed;
    std::int64_t AtMs;
};

// Trigger handlers that note each call with the clock's time.
class TTriggerLog {
public:
    explicit TTriggerLog(const plat::TManualClock& clock) : FClock(clock) {}

    void OnA(plat::TObject*, std::int32_t handle, std::uint32_t interval, std::int32_t elapsed)
    {
        Note("A", handle, interval, elapsed);
        if (AfterA) {
            AfterA(handle);
        }
    }
    void OnB(plat::TObject*, std::int32_t handle, std::uint32_t interval, std::int32_t elapsed)
    {
        Note("B", handle, interval, elapsed);
    }
    void OnAll(plat::TObject*, std::int32_t handle, std::uint32_t interval, std::int32_t elapsed)
    {
        Note("all", handle, interval, elapsed);
    }

    TTriggerEvent A() { return TTriggerEvent(this, &TTriggerLog::OnA); }
    TTriggerEvent B() { return TTriggerEvent(this, &TTriggerLog::OnB); }

    std::vector<TFiring> Firings;
    std::function<void(std::int32_t handle)> AfterA;

private:
    void Note(const char* who, std::int32_t handle, std::uint32_t interval, std::int32_t elapsed)
    {
        Firings.push_back({who, handle, interval, elapsed, FClock.NowMs()});
    }

    const plat::TManualClock& FClock;
};

class PgcTimerPool : public test::TPgcFormTest {
protected:
    // The platform timer's period as the queue will deliver it next; none
    // while the timer is stopped.
    std::optional<std::int64_t> NextTickIn()
    {
        const auto due = App.Queue().NextTimerDueMs();
        if (!due) {
            return std::nullopt;
        }
        return *due - Host.Clock().NowMs();
    }
    // Moves the clock without handling any message.
    void Jump(std::int64_t ms) { Host.Clock().Advance(ms); }

    TPgcTimerPool Pool{nullptr};
    TTriggerLog Log{Host.Clock()};
};

TEST_F(PgcTimerPool, OnePeriodSuitsEveryEnabledTrigger)
{
    struct TCase {
        const char* What;
        std::function<void(TPgcTimerPool&, TTriggerLog&)> Setup;
        std::int64_t Period;
    };
    const TCase cases[] = {
        {"10 ms is stored as 55", [](TPgcTimerPool& p, TTriggerLog& l) { p.Add(l.A(), 10); }, 55},
        {"a single interval", [](TPgcTimerPool& p, TTriggerLog& l) { p.Add(l.A(), 1000); }, 1000},
        {"100 and 250: lowered by 50 to 50, then 55",
         [](TPgcTimerPool& p, TTriggerLog& l) {
             p.Add(l.A(), 100);
             p.Add(l.B(), 250);
         },
         55},
        {"200 and 300: lowered by 100 to 100",
         [](TPgcTimerPool& p, TTriggerLog& l) {
             p.Add(l.A(), 300);
             p.Add(l.B(), 200);
         },
         100},
        {"a disabled interval still divides the period",
         [](TPgcTimerPool& p, TTriggerLog& l) {
             p.Add(l.A(), 400);
             p.SetTriggerEnabled(p.Add(l.B(), 600), false);
         },
         200},
        {"SetTriggerInterval may go below 55, the period may not",
         [](TPgcTimerPool& p, TTriggerLog& l) { p.SetTriggerInterval(p.Add(l.A(), 500), 10); }, 55},
    };
    for (const TCase& c : cases) {
        Pool.RemoveAll();
        c.Setup(Pool, Log);
        EXPECT_EQ(NextTickIn(), c.Period) << c.What;
    }
    Pool.RemoveAll();
    const std::int32_t handle = Pool.Add(Log.A(), 10);
    EXPECT_EQ(Pool.GetTriggerInterval(handle), 55u);
    Pool.SetTriggerInterval(handle, 10);
    EXPECT_EQ(Pool.GetTriggerInterval(handle), 10u);
}

TEST_F(PgcTimerPool, AnOverdueTriggerMakesThePeriodTheMinimum)
{
    Pool.Add(Log.A(), 1000);
    const std::int32_t other = Pool.Add(Log.B(), 1000);
    Jump(1001);   // overdue by 1 ms, no tick handled
    Pool.Remove(other);
    EXPECT_EQ(NextTickIn(), 55);
}

// A last firing that lies above the signed tick count (the count changed
// sign since) counts as long ago: the trigger is overdue.
TEST_F(PgcTimerPool, ALastFiringAboveTheTickCountIsOverdue)
{
    Jump((std::int64_t{1} << 31) - 10 - Host.Clock().NowMs());
    const std::int32_t handle = Pool.Add(Log.A(), 1000);
    EXPECT_EQ(NextTickIn(), 1000);
    Jump(20);
    Pool.SetTriggerInterval(handle, 2000);
    EXPECT_EQ(NextTickIn(), 55);
}

TEST_F(PgcTimerPool, ATriggerIsDueWithin27Ms)
{
    Pool.Add(Log.A(), 1000);
    Jump(970);
    Pool.FireDueTriggers();
    EXPECT_TRUE(Log.Firings.empty()) << "970 < 1000 - 27";
    Jump(5);
    Pool.FireDueTriggers();
    ASSERT_EQ(Log.Firings.size(), 1u);
    EXPECT_EQ(Log.Firings[0].Elapsed, 975);
}

TEST_F(PgcTimerPool, RecurringTriggersFireOnThePlatformTimer)
{
    Pool.OnAllTriggers = TTriggerEvent(&Log, &TTriggerLog::OnAll);
    const std::int64_t start = Host.Clock().NowMs();
    const std::int32_t a = Pool.Add(Log.A(), 200);
    const std::int32_t b = Pool.Add(Log.B(), 300);
    Host.AdvanceClock(600);
    std::vector<std::string> seen;
    for (const TFiring& firing : Log.Firings) {
        seen.push_back(firing.Who + "@" + std::to_string(firing.AtMs - start) + " h" + std::to_string(firing.Handle)
                       + " e" + std::to_string(firing.Elapsed));
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"A@200 h0 e200", "all@200 h0 e200", "B@300 h1 e300", "all@300 h1 e300",
                                              "A@400 h0 e400", "all@400 h0 e400", "A@600 h0 e600", "all@600 h0 e600",
                                              "B@600 h1 e600", "all@600 h1 e600"}));
    EXPECT_EQ(Pool.Count(), 2);
    EXPECT_EQ(Pool.GetTriggerEnabled(a) && Pool.GetTriggerEnabled(b), true);
}

TEST_F(PgcTimerPool, AOneTimeTriggerFiresOnceAndLeaves)
{
    Pool.Add(Log.B(), 1000);
    const std::int32_t once = Pool.AddOneTime(Log.A(), 100);
    EXPECT_EQ(Pool.Count(), 2);
    Host.AdvanceClock(500);
    ASSERT_EQ(Log.Firings.size(), 1u);
    EXPECT_EQ(Log.Firings[0].Handle, once);
    EXPECT_EQ(Pool.Count(), 1);
    EXPECT_THROW(Pool.GetTriggerEnabled(once), EInvalidTriggerHandle);
    // Recomputed at 100 ms for the trigger left: its 900 ms to go, brought
    // down to a divisor of its interval (900, 800, 600, 200).
    EXPECT_EQ(NextTickIn(), 200);
}

TEST_F(PgcTimerPool, AOneShotReplacesTheTriggerOfTheSameCode)
{
    Pool.AddOneShot(Log.A(), 100);
    Pool.AddOneShot(Log.A(), 200);
    EXPECT_EQ(Pool.Count(), 1);
    Pool.AddOneShot(Log.B(), 100);
    EXPECT_EQ(Pool.Count(), 2);
    TTriggerLog other(Host.Clock());
    Pool.AddOneShot(other.A(), 300);
    EXPECT_EQ(Pool.Count(), 2) << "the same code on another object counts as the same";
    Pool.AddOneShot(nullptr, 300);
    Pool.AddOneShot(nullptr, 300);
    EXPECT_EQ(Pool.Count(), 4) << "an unassigned event replaces nothing";
}

TEST_F(PgcTimerPool, HandlesCountFromTheLargest)
{
    EXPECT_EQ(Pool.Add(Log.A(), 100), 0);
    EXPECT_EQ(Pool.Add(Log.A(), 100), 1);
    EXPECT_EQ(Pool.Add(Log.A(), 100), 2);
    Pool.Remove(2);
    EXPECT_EQ(Pool.Add(Log.A(), 100), 2);
    Pool.Remove(0);
    EXPECT_EQ(Pool.Add(Log.A(), 100), 3);
    Pool.Remove(42);   // no such trigger: nothing
    EXPECT_EQ(Pool.Count(), 3);
    Pool.RemoveAll();
    EXPECT_EQ(Pool.Add(Log.A(), 100), 0);
}

TEST_F(PgcTimerPool, UnknownHandlesRaise)
{
    const std::int32_t handle = Pool.Add(Log.A(), 100);
    Pool.Remove(handle);
    const std::function<void()> operations[] = {
        [&] { Pool.ResetElapsedTime(handle); },
        [&] { Pool.GetElapsedTriggerTime(handle); },
        [&] { Pool.GetElapsedTriggerTimeSec(handle); },
        [&] { Pool.GetOnTrigger(handle); },
        [&] { Pool.SetOnTrigger(handle, Log.B()); },
        [&] { Pool.GetTriggerEnabled(handle); },
        [&] { Pool.SetTriggerEnabled(handle, false); },
        [&] { Pool.GetTriggerInterval(handle); },
        [&] { Pool.SetTriggerInterval(handle, 100); },
    };
    for (std::size_t index = 0; index < std::size(operations); ++index) {
        try {
            operations[index]();
            ADD_FAILURE() << "operation " << index << " did not raise";
        } catch (const EInvalidTriggerHandle& error) {
            EXPECT_STREQ(error.what(), "Invalid trigger handle") << index;
        }
    }
}

TEST_F(PgcTimerPool, ThePlatformTimerRunsWhileATriggerIsEnabled)
{
    const std::int32_t handle = Pool.Add(Log.A(), 200);
    EXPECT_EQ(NextTickIn(), 200);
    Pool.SetTriggerEnabled(handle, false);
    EXPECT_EQ(NextTickIn(), std::nullopt);
    Host.AdvanceClock(1000);
    EXPECT_TRUE(Log.Firings.empty());
    Pool.SetTriggerEnabled(handle, true);   // counts from now
    Host.AdvanceClock(199);
    EXPECT_TRUE(Log.Firings.empty());
    Host.AdvanceClock(1);
    EXPECT_EQ(Log.Firings.size(), 1u);
    Pool.Remove(handle);
    EXPECT_EQ(NextTickIn(), std::nullopt);
}

// The tick count is the clock cut to 32 bits and read as signed. Across its
// wrap-around at 2^32 ms the trigger keeps time; across its sign change at
// 2^31 ms a count below the start is taken as -1 - (start - now), one
// millisecond short of the time gone.
TEST_F(PgcTimerPool, TriggersFireOnTimeAcrossTheTickCounterLimits)
{
    struct TCase {
        std::int64_t Limit;
        std::int32_t First, Second, Asked;
    };
    const TCase cases[] = {
        {std::int64_t{1} << 31, 99, 199, 199},
        {std::int64_t{1} << 32, 100, 200, 200},
    };
    for (const TCase& c : cases) {
        Pool.RemoveAll();
        Log.Firings.clear();
        Jump(c.Limit - 30 - Host.Clock().NowMs());
        const std::int32_t handle = Pool.Add(Log.A(), 100);
        Host.AdvanceClock(99);
        EXPECT_TRUE(Log.Firings.empty()) << c.Limit;
        Host.AdvanceClock(101);
        ASSERT_EQ(Log.Firings.size(), 2u) << c.Limit;
        EXPECT_EQ(Log.Firings[0].Elapsed, c.First) << c.Limit;
        EXPECT_EQ(Log.Firings[1].Elapsed, c.Second) << c.Limit;
        EXPECT_EQ(Pool.GetElapsedTriggerTime(handle), c.Asked) << c.Limit;
    }
}

// A reset moves only the start: the elapsed time that the firings add up
// and a saturated one stay.
TEST_F(PgcTimerPool, ElapsedTimeCountsFromTheStartOrTheReset)
{
    const std::int32_t handle = Pool.Add(Log.A(), 60000);
    Jump(250);
    EXPECT_EQ(Pool.GetElapsedTriggerTime(handle), 250);
    EXPECT_EQ(Pool.GetElapsedTriggerTimeSec(handle), 0);
    Jump(1500);
    EXPECT_EQ(Pool.GetElapsedTriggerTimeSec(handle), 1);
    Pool.ResetElapsedTime(handle);
    EXPECT_EQ(Pool.GetElapsedTriggerTime(handle), 0);
    Jump((std::int64_t{1} << 31) + 5);
    EXPECT_EQ(Pool.GetElapsedTriggerTime(handle), std::numeric_limits<std::int32_t>::max()) << "saturates";
    Jump(10);
    EXPECT_EQ(Pool.GetElapsedTriggerTime(handle), std::numeric_limits<std::int32_t>::max()) << "and stays";
    Pool.ResetElapsedTime(handle);
    Jump(7);
    EXPECT_EQ(Pool.GetElapsedTriggerTime(handle), std::numeric_limits<std::int32_t>::max()) << "even after a reset";
}

TEST_F(PgcTimerPool, AResetLeavesTheFiringsElapsedTime)
{
    const std::int32_t handle = Pool.Add(Log.A(), 100);
    Host.AdvanceClock(150);
    Pool.ResetElapsedTime(handle);
    Host.AdvanceClock(50);
    ASSERT_EQ(Log.Firings.size(), 2u);
    EXPECT_EQ(Log.Firings[1].Elapsed, 200) << "the firing adds to the elapsed time, not to the reset";
}

TEST_F(PgcTimerPool, EventsMayChangeThePoolWhileItFires)
{
    const std::int32_t first = Pool.Add(Log.A(), 100);
    Pool.Add(Log.B(), 100);
    Log.AfterA = [this](std::int32_t handle) {
        Pool.Remove(handle);
        Pool.AddOneTime(Log.B(), 500);
    };
    Host.AdvanceClock(100);
    ASSERT_EQ(Log.Firings.size(), 1u);
    EXPECT_EQ(Log.Firings[0].Who, "A");
    EXPECT_EQ(Pool.Count(), 2);
    EXPECT_THROW(Pool.GetTriggerInterval(first), EInvalidTriggerHandle);
    Log.Firings.clear();
    Host.AdvanceClock(1000);
    ASSERT_FALSE(Log.Firings.empty());
    for (const TFiring& firing : Log.Firings) {
        EXPECT_EQ(firing.Who, "B");
    }
    EXPECT_EQ(Pool.Count(), 1) << "the one-time trigger has fired and gone";
}

TEST_F(PgcTimerPool, AnEventMayFreeThePool)
{
    auto* pool = new TPgcTimerPool(nullptr);
    pool->Add(Log.A(), 100);
    pool->Add(Log.B(), 100);
    Log.AfterA = [pool](std::int32_t) { delete pool; };
    Host.AdvanceClock(300);
    ASSERT_EQ(Log.Firings.size(), 1u);
    EXPECT_EQ(NextTickIn(), std::nullopt);
}

TEST_F(PgcTimerPool, AnEventsErrorGoesToTheApplicationAndTheTicksGoOn)
{
    std::vector<std::string> errors;
    App.OnException = plat::TExceptionEvent([&errors, this](plat::TObject* sender, const std::exception& error) {
        errors.push_back(std::string(error.what()) + (sender == &Pool ? " from the pool" : " from elsewhere"));
    });
    Pool.Add(Log.A(), 100);
    Log.AfterA = [](std::int32_t) { throw std::runtime_error("trigger failed"); };
    Host.AdvanceClock(200);
    EXPECT_EQ(errors, (std::vector<std::string>{"trigger failed from the pool", "trigger failed from the pool"}));
    EXPECT_EQ(Log.Firings.size(), 2u);
}

TEST(PgcTimerPoolWithoutApplication, StartingTheTimerIsRefused)
{
    TPgcTimerPool pool(nullptr);
    EXPECT_THROW(pool.Add(nullptr, 100), ENoTimersAvailable);
    EXPECT_EQ(pool.About(), "v2.10");
}

} // namespace
} // namespace qel
