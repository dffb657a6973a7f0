// The GTK host's wait for work on a real X display (ctest runs this program
// under xvfb-run): an idle program sleeps in its wait instead of spinning,
// a loop GTK runs itself does not spin on a waiting message, and a message
// posted from another thread ends the wait.
#include "platform/hosts/gtk/gtk_host.h"
#include "platform/messages.h"

#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

using plat::TMessageQueue;

// How often work ran before done() held or a GLib timeout of ms fired.
struct TRuns {
    int Count = 0;
    bool TimedOut = false;
};

template <class TWork, class TDone>
TRuns RunUntil(unsigned ms, TWork work, TDone done)
{
    TRuns runs;
    const guint timeout = g_timeout_add(
        ms,
        [](gpointer flag) {
            *static_cast<bool*>(flag) = true;
            return G_SOURCE_REMOVE;
        },
        &runs.TimedOut);
    // The bound only ends a spinning loop that a wrong host would run.
    while (!runs.TimedOut && !done() && runs.Count < 1000000) {
        work();
        ++runs.Count;
    }
    if (!runs.TimedOut) {
        g_source_remove(timeout);
    }
    return runs;
}

const auto Never = [] { return false; };

class GtkHostWait : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        static int argc = 1;
        static char name[] = "test_gtk_host";
        static char* args[] = {name, nullptr};
        static char** argv = args;
        Host = new plat::TGtkHost(argc, argv);
    }
    static void TearDownTestSuite()
    {
        delete Host;
        Host = nullptr;
    }

    static plat::TGtkHost* Host;
    TMessageQueue Queue;
    plat::HWND Window =
        plat::CreateWindowHandle(Queue, [](plat::UINT, plat::WPARAM, plat::LPARAM) { return plat::LRESULT{0}; }, false);
};

plat::TGtkHost* GtkHostWait::Host = nullptr;

TEST_F(GtkHostWait, AnIdleProgramSleepsInItsWait)
{
    // Nothing to do for 300 ms: a handful of returns (GLib's own wake-ups),
    // not one per turn of a busy loop.
    const TRuns waits = RunUntil(300, [&] { Host->WaitForWork(Queue); }, Never);
    EXPECT_LE(waits.Count, 20);
}

TEST_F(GtkHostWait, GtksOwnLoopDoesNotSpinOnAWaitingMessage)
{
    // The program has waited once (its queue is watched), then a message
    // comes while GTK runs a loop of its own, as a dialog or a drag does:
    // that loop leaves the message to the program and sleeps.
    RunUntil(50, [&] { Host->WaitForWork(Queue); }, Never);
    ASSERT_TRUE(plat::PostMessage(Window, plat::WM_USER, 0, 0));
    const TRuns iterations = RunUntil(200, [] { g_main_context_iteration(nullptr, TRUE); }, Never);
    EXPECT_LE(iterations.Count, 20);
    EXPECT_TRUE(Queue.HasMessage()) << "the message waits for the program";
}

TEST_F(GtkHostWait, AMessageFromAnotherThreadEndsTheWait)
{
    std::atomic<bool> posted = false;
    std::thread poster([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        posted = plat::PostMessage(Window, plat::WM_USER, 0, 0);
    });
    // The 10 s timeout only keeps a lost wake-up from hanging the test.
    const TRuns waits = RunUntil(10000, [&] { Host->WaitForWork(Queue); }, [&] { return Queue.HasMessage(); });
    poster.join();
    EXPECT_TRUE(posted);
    EXPECT_FALSE(waits.TimedOut) << "the posted message woke the wait";
    EXPECT_LE(waits.Count, 20);
}

} // namespace
