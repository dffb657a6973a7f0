// Message queues and window handles: order of posted messages and queued
// calls across threads, sent messages, registered names and broadcasts.
#include "platform/messages.h"
#include "platform/timers.h"

#include <gtest/gtest.h>

#include <future>
#include <poll.h>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

using namespace plat;

struct TReceived {
    HWND Window;
    UINT Message;
    WPARAM WParam;
    LPARAM LParam;
    bool operator==(const TReceived&) const = default;
};

// A window whose handler records what reaches it.
class TRecordingWindow {
public:
    TRecordingWindow(TMessageQueue& queue, bool topLevel, const std::string& caption = "")
        : FHandle(CreateWindowHandle(
              queue,
              [this](UINT message, WPARAM wParam, LPARAM lParam) {
                  Received.push_back({FHandle, message, wParam, lParam});
                  return static_cast<LRESULT>(Received.size());
              },
              topLevel, caption))
    {
    }
    ~TRecordingWindow() { DestroyWindowHandle(FHandle); }
    HWND Handle() const { return FHandle; }

    std::vector<TReceived> Received;

private:
    HWND FHandle;
};

bool WaitReadable(int fd)
{
    pollfd wake{fd, POLLIN, 0};
    return poll(&wake, 1, 10000) == 1; // the time-out only guards against a hang
}

TEST(MessageQueue, PostsFromManyThreadsKeepEachThreadsOrderAndCallsBeforeTheFinalState)
{
    constexpr UINT WM_LINE = WM_USER + 1;
    constexpr UINT WM_DONE = WM_USER + 2;
    constexpr int Threads = 4;
    constexpr int PerThread = 2000;

    TMessageQueue queue;
    std::vector<std::vector<LPARAM>> lines(Threads);    // from posted messages
    std::vector<std::vector<int>> texts(Threads);       // from queued calls
    std::vector<std::size_t> textsAtDone(Threads, 0);
    int done = 0;
    const HWND window = CreateWindowHandle(
        queue,
        [&](UINT message, WPARAM worker, LPARAM lParam) -> LRESULT {
            if (message == WM_LINE) {
                lines[worker].push_back(lParam);
            } else if (message == WM_DONE) {
                textsAtDone[worker] = texts[worker].size();
                if (++done == Threads) {
                    queue.PostQuitMessage(7);
                }
            }
            return 0;
        },
        true);

    std::vector<std::jthread> workers;
    for (int worker = 0; worker < Threads; ++worker) {
        workers.emplace_back([&, worker] {
            for (int i = 0; i < PerThread; ++i) {
                EXPECT_TRUE(QueueCall(window, [&, worker, i] { texts[worker].push_back(i); }));
                EXPECT_TRUE(PostMessage(window, WM_LINE, static_cast<WPARAM>(worker), i));
            }
            PostMessage(window, WM_DONE, static_cast<WPARAM>(worker), 0);
        });
    }
    EXPECT_EQ(queue.RunMessageLoop(), 7);
    workers.clear();

    for (int worker = 0; worker < Threads; ++worker) {
        SCOPED_TRACE("worker " + std::to_string(worker));
        ASSERT_EQ(lines[worker].size(), std::size_t{PerThread});
        ASSERT_EQ(texts[worker].size(), std::size_t{PerThread});
        EXPECT_EQ(textsAtDone[worker], std::size_t{PerThread});
        for (int i = 0; i < PerThread; ++i) {
            ASSERT_EQ(lines[worker][i], i);
            ASSERT_EQ(texts[worker][i], i);
        }
    }
    DestroyWindowHandle(window);
}

TEST(MessageQueue, UnknownAndDestroyedWindowsTakeNothing)
{
    TMessageQueue queue;
    TRecordingWindow other(queue, true);
    const HWND window = CreateWindowHandle(queue, [](UINT, WPARAM, LPARAM) { return LRESULT{1}; }, true);
    bool called = false;
    ASSERT_TRUE(PostMessage(window, WM_USER, 1, 1));
    ASSERT_TRUE(QueueCall(window, [&] { called = true; }));
    ASSERT_TRUE(PostMessage(other.Handle(), WM_USER, 2, 2));
    EXPECT_TRUE(IsWindow(window));

    DestroyWindowHandle(window);

    EXPECT_FALSE(IsWindow(window));
    EXPECT_FALSE(PostMessage(window, WM_USER, 3, 3));
    EXPECT_FALSE(QueueCall(window, [&] { called = true; }));
    EXPECT_EQ(SendMessage(window, WM_USER, 4, 4), 0);
    EXPECT_FALSE(PostMessage(0, WM_USER, 0, 0));
    // What was pending for the destroyed window is gone; the other window's message stays.
    TMsg msg;
    ASSERT_TRUE(queue.PeekMessage(msg));
    EXPECT_EQ(msg.hwnd, other.Handle());
    EXPECT_FALSE(queue.PeekMessage(msg));
    EXPECT_FALSE(called);
}

TEST(MessageQueue, WakeFdIsReadableExactlyWhileMessagesWait)
{
    TMessageQueue queue;
    TRecordingWindow window(queue, true);
    pollfd wake{queue.WakeFd(), POLLIN, 0};
    EXPECT_EQ(poll(&wake, 1, 0), 0);
    PostMessage(window.Handle(), WM_USER, 0, 0);
    PostMessage(window.Handle(), WM_USER, 1, 0);
    EXPECT_EQ(poll(&wake, 1, 0), 1);
    TMsg msg;
    ASSERT_TRUE(queue.PeekMessage(msg));
    EXPECT_EQ(poll(&wake, 1, 0), 1) << "one message still waits";
    ASSERT_TRUE(queue.PeekMessage(msg));
    EXPECT_EQ(poll(&wake, 1, 0), 0);
}

TEST(MessageQueue, TheWakeUpOfANewTimerLastsUntilTheNextLook)
{
    // Setting a timer wakes a waiting loop so that it times its wait anew;
    // a look at the queue ends that wake-up, else a loop that polls the fd
    // would find it readable at every turn until the next message.
    TMessageQueue queue;
    TRecordingWindow window(queue, true);
    pollfd wake{queue.WakeFd(), POLLIN, 0};
    ASSERT_NE(SetTimer(window.Handle(), 1, 60000), 0u);
    EXPECT_EQ(poll(&wake, 1, 0), 1);
    TMsg msg;
    EXPECT_FALSE(queue.PeekMessage(msg));
    EXPECT_EQ(poll(&wake, 1, 0), 0);
    PostMessage(window.Handle(), WM_USER, 0, 0);
    ASSERT_NE(SetTimer(window.Handle(), 2, 60000), 0u);
    EXPECT_EQ(poll(&wake, 1, 0), 1);
    EXPECT_TRUE(queue.HasMessage());
    KillTimer(window.Handle(), 1);
    KillTimer(window.Handle(), 2);
}

TEST(MessageQueue, QuitEndsTheLoopAfterWhatWasPostedBefore)
{
    TMessageQueue queue;
    TRecordingWindow window(queue, true);
    PostMessage(window.Handle(), WM_USER, 1, 0);
    queue.PostQuitMessage(3);
    PostMessage(window.Handle(), WM_USER, 2, 0);

    EXPECT_FALSE(queue.ProcessMessages());
    ASSERT_EQ(window.Received.size(), 1u);
    EXPECT_EQ(window.Received[0].WParam, 1u);
    EXPECT_TRUE(queue.ProcessMessages());
    EXPECT_EQ(window.Received.size(), 2u);

    queue.PostQuitMessage(5);
    TMsg msg;
    EXPECT_FALSE(queue.GetMessage(msg));
    EXPECT_EQ(msg.message, WM_QUIT);
    EXPECT_EQ(msg.wParam, 5u);
}

TEST(SendMessage, OnTheOwningThreadRunsTheHandlerAtOnce)
{
    TMessageQueue queue;
    TRecordingWindow window(queue, true);
    PostMessage(window.Handle(), WM_USER, 1, 0);

    EXPECT_EQ(SendMessage(window.Handle(), WM_USER + 5, 2, 3), 1);

    ASSERT_EQ(window.Received.size(), 1u) << "the sent message does not wait behind the posted one";
    EXPECT_EQ(window.Received[0], (TReceived{window.Handle(), WM_USER + 5, 2, 3}));
}

TEST(SendMessage, FromAnotherThreadRunsOnTheOwningThreadAndAnswersItsResult)
{
    TMessageQueue queue;
    std::thread::id handlerThread;
    const HWND window = CreateWindowHandle(
        queue,
        [&](UINT, WPARAM wParam, LPARAM) -> LRESULT {
            handlerThread = std::this_thread::get_id();
            return static_cast<LRESULT>(wParam * 2);
        },
        true);

    auto sender = std::async(std::launch::async, [&] { return SendMessage(window, WM_USER + 2, 21, 0); });
    ASSERT_TRUE(WaitReadable(queue.WakeFd()));
    TMsg msg;
    EXPECT_FALSE(queue.PeekMessage(msg)) << "a sent message is handled inside the queue, never returned";

    EXPECT_EQ(sender.get(), 42);
    EXPECT_EQ(handlerThread, std::this_thread::get_id());
    DestroyWindowHandle(window);
}

TEST(SendMessage, AHandlersExceptionReachesTheSender)
{
    TMessageQueue queue;
    const HWND window = CreateWindowHandle(
        queue, [](UINT, WPARAM, LPARAM) -> LRESULT { throw std::runtime_error("handler failed"); }, true);
    auto sender = std::async(std::launch::async, [&] { return SendMessage(window, WM_USER, 0, 0); });
    ASSERT_TRUE(WaitReadable(queue.WakeFd()));
    TMsg msg;
    EXPECT_FALSE(queue.PeekMessage(msg));
    EXPECT_THROW(sender.get(), std::runtime_error);
    DestroyWindowHandle(window);
}

TEST(SendMessage, AnswersZeroWhenTheQueueGoesAwayUnhandled)
{
    auto queue = std::make_unique<TMessageQueue>();
    const HWND window = CreateWindowHandle(*queue, [](UINT, WPARAM, LPARAM) { return LRESULT{99}; }, true);
    auto sender = std::async(std::launch::async, [&] { return SendMessage(window, WM_USER, 0, 0); });
    ASSERT_TRUE(WaitReadable(queue->WakeFd()));

    queue.reset();

    EXPECT_EQ(sender.get(), 0);
    EXPECT_FALSE(IsWindow(window));
}

TEST(RegisterWindowMessage, GivesOneNumberPerNameWithoutRegardToCase)
{
    const UINT suite = RegisterWindowMessage("QEL.QEL-PRO.MSG.V1");
    const UINT other = RegisterWindowMessage("Test.Other.Message");
    const struct {
        const char* Name;
        UINT Expected;
    } cases[] = {
        {"QEL.QEL-PRO.MSG.V1", suite},
        {"qel.qel-pro.msg.v1", suite},
        {"Qel.Qel-Pro.Msg.V1", suite},
        {"Test.Other.Message", other},
        {"", 0},
    };
    EXPECT_GE(suite, FIRST_REGISTERED_MESSAGE);
    EXPECT_GE(other, FIRST_REGISTERED_MESSAGE);
    EXPECT_NE(suite, other);
    for (const auto& test : cases) {
        EXPECT_EQ(RegisterWindowMessage(test.Name), test.Expected) << test.Name;
    }
    EXPECT_EQ(RegisteredMessageName(suite), "QEL.QEL-PRO.MSG.V1");
    EXPECT_EQ(FindRegisteredMessage("test.other.MESSAGE"), other);
    EXPECT_EQ(FindRegisteredMessage("Test.Never.Registered"), 0u);
    EXPECT_EQ(RegisteredMessageName(WM_USER), "");
}

// Records what the relay was asked to carry out of the process.
class TRecordingRelay : public IBroadcastRelay {
public:
    TRecordingRelay() { SetBroadcastRelay(this); }
    ~TRecordingRelay() override { SetBroadcastRelay(nullptr); }
    void Relay(const std::string& name, WPARAM wParam, LPARAM lParam) override
    {
        Relayed.push_back(name + " " + std::to_string(wParam) + " " + std::to_string(lParam));
    }
    std::vector<std::string> Relayed;
};

TEST(Broadcast, ReachesTopLevelWindowsOfEveryQueueAndRelaysOnlyRegisteredMessages)
{
    TMessageQueue first;
    TMessageQueue second;
    TRecordingWindow main(first, true);
    TRecordingWindow child(first, false);
    TRecordingWindow other(second, true);
    TRecordingRelay relay;
    const UINT suite = RegisterWindowMessage("Test.Broadcast.Suite");

    EXPECT_TRUE(PostMessage(HWND_BROADCAST, WM_USER + 9, 1, 2));
    EXPECT_TRUE(PostMessage(HWND_BROADCAST, suite, 3, 4));
    first.ProcessMessages();
    second.ProcessMessages();

    const std::vector<TReceived> expectedMain{{main.Handle(), WM_USER + 9, 1, 2}, {main.Handle(), suite, 3, 4}};
    const std::vector<TReceived> expectedOther{{other.Handle(), WM_USER + 9, 1, 2}, {other.Handle(), suite, 3, 4}};
    EXPECT_EQ(main.Received, expectedMain);
    EXPECT_EQ(other.Received, expectedOther);
    EXPECT_TRUE(child.Received.empty());
    EXPECT_EQ(relay.Relayed, std::vector<std::string>{"Test.Broadcast.Suite 3 4"});
}

TEST(FindTopLevelWindow, FollowsCaptionsOfTopLevelWindowsOnly)
{
    TMessageQueue queue;
    TRecordingWindow child(queue, false, "Find.Me ");
    EXPECT_EQ(FindTopLevelWindow("Find.Me "), 0);
    TRecordingWindow main(queue, true, "Find.Me ");
    EXPECT_EQ(FindTopLevelWindow("Find.Me "), main.Handle());
    EXPECT_EQ(FindTopLevelWindow("Find.Me"), 0) << "captions match exactly";

    SetWindowCaption(main.Handle(), "42 %");
    EXPECT_EQ(FindTopLevelWindow("Find.Me "), 0);
    EXPECT_EQ(FindTopLevelWindow("42 %"), main.Handle());
}

} // namespace
