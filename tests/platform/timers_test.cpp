// Window timers on a manual clock: due times, repeats, coalescing, ordering,
// KillTimer, and waits that wake when the clock reaches a timer.
#include "platform/clock.h"
#include "platform/timers.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <future>
#include <mutex>
#include <vector>

namespace {

using namespace plat;

class TimersTest : public ::testing::Test {
protected:
    TimersTest() { SetClock(&FClock); }
    ~TimersTest() override
    {
        DestroyWindowHandle(FWindow);
        SetClock(nullptr);
    }

    // The timer ids (or other message numbers) now pending, in delivery order.
    std::vector<WPARAM> TakeTimers()
    {
        std::vector<WPARAM> ids;
        TMsg msg;
        while (FQueue.PeekMessage(msg)) {
            EXPECT_EQ(msg.hwnd, FWindow);
            ids.push_back(msg.message == WM_TIMER ? msg.wParam : 1000 + msg.message);
        }
        return ids;
    }

    TManualClock FClock{5000};
    TMessageQueue FQueue;
    HWND FWindow = CreateWindowHandle(FQueue, [](UINT, WPARAM, LPARAM) { return LRESULT{0}; }, true);
};

TEST_F(TimersTest, FiresOnceEachTimeItsIntervalHasPassed)
{
    ASSERT_EQ(SetTimer(FWindow, 7, 100), 7u);
    FClock.Advance(99);
    EXPECT_TRUE(TakeTimers().empty());
    FClock.Advance(1);
    EXPECT_EQ(TakeTimers(), std::vector<WPARAM>{7});
    EXPECT_TRUE(TakeTimers().empty()) << "one message per period";
    FClock.Advance(350);
    EXPECT_EQ(TakeTimers(), std::vector<WPARAM>{7}) << "missed periods fold into one message";
    FClock.Advance(99);
    EXPECT_TRUE(TakeTimers().empty()) << "the next period counts from the last firing";
    FClock.Advance(1);
    EXPECT_EQ(TakeTimers(), std::vector<WPARAM>{7});
}

TEST_F(TimersTest, DueTimersComeInOrderOfDueTimeAfterPostedMessages)
{
    SetTimer(FWindow, 1, 300);
    SetTimer(FWindow, 2, 100);
    SetTimer(FWindow, 3, 200);
    SetTimer(FWindow, 4, 100);
    FClock.Advance(300);
    PostMessage(FWindow, WM_USER, 0, 0);
    EXPECT_EQ(TakeTimers(), (std::vector<WPARAM>{1000 + WM_USER, 2, 4, 3, 1}));
}

TEST_F(TimersTest, KillSetAgainAndDestroyStopTimers)
{
    SetTimer(FWindow, 1, 100);
    SetTimer(FWindow, 2, 100);
    FClock.Advance(50);
    SetTimer(FWindow, 2, 500); // restarts with the new interval
    EXPECT_TRUE(KillTimer(FWindow, 1));
    EXPECT_FALSE(KillTimer(FWindow, 1));
    FClock.Advance(500);
    EXPECT_EQ(TakeTimers(), std::vector<WPARAM>{2});

    DestroyWindowHandle(FWindow);
    FClock.Advance(1000);
    EXPECT_TRUE(TakeTimers().empty());
    EXPECT_FALSE(KillTimer(FWindow, 2));
    EXPECT_EQ(SetTimer(FWindow, 3, 100), 0u) << "no timer for a destroyed window";
}

TEST_F(TimersTest, IntervalsBelowTheMinimumAreRaisedAndIdZeroIsRefused)
{
    EXPECT_EQ(SetTimer(FWindow, 0, 100), 0u);
    SetTimer(FWindow, 5, 0);
    FClock.Advance(USER_TIMER_MINIMUM - 1);
    EXPECT_TRUE(TakeTimers().empty());
    FClock.Advance(1);
    EXPECT_EQ(TakeTimers(), std::vector<WPARAM>{5});
}

TEST(TimerWait, AWaitingQueueWakesWhenTheClockReachesTheTimer)
{
    TManualClock clock;
    SetClock(&clock);
    std::promise<HWND> created;
    auto pump = std::async(std::launch::async, [&] {
        TMessageQueue queue;
        const HWND window = CreateWindowHandle(queue, [](UINT, WPARAM, LPARAM) { return LRESULT{0}; }, true);
        SetTimer(window, 9, 40);
        created.set_value(window);
        TMsg msg;
        const bool got = queue.GetMessage(msg); // blocks: nothing is due yet
        DestroyWindowHandle(window);
        return got && msg.message == WM_TIMER && msg.wParam == 9 && msg.hwnd == window;
    });
    created.get_future().get();
    clock.Advance(40);
    ASSERT_EQ(pump.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    EXPECT_TRUE(pump.get());
    SetClock(nullptr);
}

// A manual clock that lets a test wait until another thread has read it.
class TReadCountingClock : public IClock {
public:
    std::int64_t NowMs() const override
    {
        std::lock_guard lock(FLock);
        ++FReads;
        FRead.notify_all();
        return FNowMs;
    }
    int RealWaitMs(std::int64_t) const override { return -1; }
    void Advance(std::int64_t ms)
    {
        {
            std::lock_guard lock(FLock);
            FNowMs += ms;
        }
        TClockWatch::NotifyAll();
    }
    void Arm()
    {
        std::lock_guard lock(FLock);
        FReads = 0;
    }
    bool WaitForRead()
    {
        std::unique_lock lock(FLock);
        return FRead.wait_for(lock, std::chrono::seconds(10), [this] { return FReads > 0; });
    }

private:
    mutable std::mutex FLock;
    mutable std::condition_variable FRead;
    mutable int FReads = 0;
    std::int64_t FNowMs = 0;
};

TEST(TimerWait, WaitMessageTimesOutOnTheClock)
{
    TReadCountingClock clock;
    SetClock(&clock);
    std::promise<void> ready;
    auto waiter = std::async(std::launch::async, [&] {
        TMessageQueue queue;
        EXPECT_FALSE(queue.WaitMessage(0)) << "nothing waits";
        clock.Arm();
        ready.set_value();
        return queue.WaitMessage(250); // its first clock read fixes the deadline
    });
    ready.get_future().get();
    ASSERT_TRUE(clock.WaitForRead());
    clock.Advance(249);
    EXPECT_EQ(waiter.wait_for(std::chrono::seconds(0)), std::future_status::timeout);
    clock.Advance(1);
    ASSERT_EQ(waiter.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    EXPECT_FALSE(waiter.get());
    SetClock(nullptr);
}

} // namespace
