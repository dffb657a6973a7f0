// Worker thread base: stop requests, a worker that outlives its owner's
// reference, and the final state posted whatever Execute threw.
#include "platform/messages.h"
#include "platform/worker_thread.h"

#include <gtest/gtest.h>

#include <functional>
#include <future>
#include <latch>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using namespace plat;

constexpr UINT WM_WORKER_STATUS = WM_USER + 1;
constexpr WPARAM THREAD_FINISHED = 1;
constexpr WPARAM THREAD_FAILED = 2;
constexpr LPARAM EXC_USER_ABORT = 3;

struct TAbort {}; // stands for the program's own error class, which carries a code

// A worker shaped like the card readers: its body runs a step function, it
// posts its final state itself, and the failure hook posts code 0 and keeps
// the message of anything else.
class TStatusWorker : public TThread {
public:
    TStatusWorker(HWND window, std::function<void(TStatusWorker&)> body)
        : FWindow(window), FBody(std::move(body))
    {
    }
    ~TStatusWorker() override
    {
        if (OnDestroy) {
            OnDestroy();
        }
    }
    bool IsTerminated() const { return Terminated(); }

    std::function<void()> OnDestroy;
    std::string LastErrorMsg;

protected:
    void Execute() override
    {
        try {
            FBody(*this);
            PostMessage(FWindow, WM_WORKER_STATUS, THREAD_FINISHED, 0);
        } catch (const TAbort&) {
            PostMessage(FWindow, WM_WORKER_STATUS, THREAD_FAILED, EXC_USER_ABORT);
        }
    }
    void ExecuteFailed(std::exception_ptr, const std::string& message) override
    {
        LastErrorMsg = message;
        PostMessage(FWindow, WM_WORKER_STATUS, THREAD_FAILED, 0);
    }

private:
    HWND FWindow;
    std::function<void(TStatusWorker&)> FBody;
};

class WorkerThreadTest : public ::testing::Test {
protected:
    ~WorkerThreadTest() override { DestroyWindowHandle(FWindow); }

    // The status messages that reached the window so far.
    std::vector<std::pair<WPARAM, LPARAM>> TakeStates()
    {
        FQueue.ProcessMessages();
        return std::exchange(FStates, {});
    }

    TMessageQueue FQueue;
    std::vector<std::pair<WPARAM, LPARAM>> FStates;
    HWND FWindow = CreateWindowHandle(
        FQueue,
        [this](UINT message, WPARAM wParam, LPARAM lParam) {
            if (message == WM_WORKER_STATUS) {
                FStates.emplace_back(wParam, lParam);
            }
            return LRESULT{0};
        },
        true);
};

TEST_F(WorkerThreadTest, FinalStateIsPostedWhateverTheBodyThrew)
{
    using TBody = std::function<void(TStatusWorker&)>;
    const struct {
        const char* Case;
        TBody Body;
        LPARAM ExpectedCode;
        WPARAM ExpectedState;
        std::string ExpectedMessage;
    } cases[] = {
        {"normal end", [](TStatusWorker&) {}, 0, THREAD_FINISHED, ""},
        {"own error", [](TStatusWorker&) { throw TAbort{}; }, EXC_USER_ABORT, THREAD_FAILED, ""},
        {"library error", [](TStatusWorker&) { throw std::runtime_error("disk full"); }, 0, THREAD_FAILED,
         "disk full"},
        {"foreign exception", [](TStatusWorker&) { throw 42; }, 0, THREAD_FAILED, "Unknown exception"},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.Case);
        auto worker = std::make_shared<TStatusWorker>(FWindow, test.Body);
        worker->Start();
        worker->WaitFor();
        EXPECT_TRUE(worker->Finished());
        using TStates = std::vector<std::pair<WPARAM, LPARAM>>;
        EXPECT_EQ(TakeStates(), (TStates{{test.ExpectedState, test.ExpectedCode}}));
        EXPECT_EQ(worker->LastErrorMsg, test.ExpectedMessage);
    }
}

TEST_F(WorkerThreadTest, TerminateStopsALoopThatPollsIt)
{
    std::latch running(1);
    auto worker = std::make_shared<TStatusWorker>(FWindow, [&](TStatusWorker& self) {
        running.count_down();
        while (!self.IsTerminated()) {
        }
        throw TAbort{};
    });
    worker->Start();
    running.wait();
    worker->Terminate();
    worker->WaitFor();
    EXPECT_EQ(TakeStates(), (std::vector<std::pair<WPARAM, LPARAM>>{{THREAD_FAILED, EXC_USER_ABORT}}));

    worker->Terminate(); // after the end: nothing happens
    EXPECT_TRUE(worker->IsTerminated());
    EXPECT_TRUE(TakeStates().empty());
}

TEST_F(WorkerThreadTest, JoinLeavesTheLastReferenceToTheJoiningThread)
{
    // Many rounds: without the join, the worker thread sometimes drops the
    // last reference itself and the worker dies there.
    for (int round = 0; round < 200; ++round) {
        std::thread::id freedOn;
        auto worker = std::make_shared<TStatusWorker>(FWindow, [](TStatusWorker&) {});
        worker->OnDestroy = [&freedOn] { freedOn = std::this_thread::get_id(); };
        worker->Start();
        worker->Join();
        EXPECT_EQ(worker.use_count(), 1) << round;
        worker.reset();
        ASSERT_EQ(freedOn, std::this_thread::get_id()) << round;
    }
    TakeStates();
}

TEST_F(WorkerThreadTest, TerminateBeforeStartIsSeenByTheFirstCheck)
{
    auto worker = std::make_shared<TStatusWorker>(FWindow, [](TStatusWorker& self) {
        if (self.IsTerminated()) {
            throw TAbort{};
        }
    });
    worker->Terminate();
    worker->Start();
    worker->WaitFor();
    EXPECT_EQ(TakeStates(), (std::vector<std::pair<WPARAM, LPARAM>>{{THREAD_FAILED, EXC_USER_ABORT}}));
}

TEST_F(WorkerThreadTest, AWorkerLivesUntilItsBodyReturnsThoughItsOwnerLetGo)
{
    std::promise<void> release;
    std::promise<std::thread::id> destroyedOn;
    bool bodyReturned = false;
    std::thread::id workerThread;
    auto worker = std::make_shared<TStatusWorker>(FWindow, [&, gate = release.get_future().share()](TStatusWorker&) {
        workerThread = std::this_thread::get_id();
        gate.wait();
        bodyReturned = true;
    });
    worker->OnDestroy = [&] {
        EXPECT_TRUE(bodyReturned);
        destroyedOn.set_value(std::this_thread::get_id());
    };
    std::weak_ptr<TStatusWorker> watch = worker;
    worker->Start();
    worker.reset();
    EXPECT_FALSE(watch.expired()) << "the running worker keeps itself";

    release.set_value();
    auto destroyed = destroyedOn.get_future();
    ASSERT_EQ(destroyed.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    EXPECT_EQ(destroyed.get(), workerThread) << "freed by itself as it ended";
    EXPECT_EQ(TakeStates(), (std::vector<std::pair<WPARAM, LPARAM>>{{THREAD_FINISHED, 0}}));
}

TEST_F(WorkerThreadTest, MisuseIsRefused)
{
    TStatusWorker unowned(FWindow, [](TStatusWorker&) {});
    EXPECT_THROW(unowned.Start(), std::logic_error);
    unowned.WaitFor(); // never started: returns at once
    EXPECT_FALSE(unowned.Finished());

    std::promise<bool> waitRefused;
    auto worker = std::make_shared<TStatusWorker>(FWindow, [&](TStatusWorker& self) {
        try {
            self.WaitFor();
            waitRefused.set_value(false);
        } catch (const std::logic_error&) {
            waitRefused.set_value(true);
        }
    });
    worker->Start();
    EXPECT_THROW(worker->Start(), std::logic_error);
    EXPECT_TRUE(waitRefused.get_future().get()) << "a worker waiting for itself would hang";
    worker->WaitFor();
}

} // namespace
