// Single-instance guard: second claims in this process and in another one,
// activation of the holder's window, and release of the name.
#include "platform/known_folders.h"
#include "platform/single_instance.h"
#include "tests/platform/peer_process.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <poll.h>
#include <stdexcept>
#include <unistd.h>

namespace {

using namespace plat;

constexpr UINT WM_ACTIVATE_INSTANCE = WM_USER + 7;
constexpr int GuardMs = 20000; // only guards against a hang

// Unique per test run, so that parallel test processes never meet.
std::string InstanceName(const std::string& base)
{
    return base + std::to_string(getppid()) + "-" + std::to_string(getpid()) + " ";
}

bool WaitForMessage(TMessageQueue& queue, TMsg& msg)
{
    pollfd wake{queue.WakeFd(), POLLIN, 0};
    return poll(&wake, 1, GuardMs) == 1 && queue.PeekMessage(msg);
}

// Peer: holds the name given by the parent and waits to be activated.
int HoldingPeer()
{
    const std::string name = std::getenv("QEL_TEST_INSTANCE_NAME");
    TMessageQueue queue;
    const HWND window = CreateWindowHandle(queue, [](UINT, WPARAM, LPARAM) { return LRESULT{0}; }, true, name);
    TSingleInstance guard(name, WM_ACTIVATE_INSTANCE);
    if (!guard.IsFirst()) {
        return 2;
    }
    qeltest::SignalPeerReady();
    TMsg msg;
    if (!WaitForMessage(queue, msg)) {
        return 3;
    }
    return msg.hwnd == window && msg.message == WM_ACTIVATE_INSTANCE ? 0 : 4;
}

[[maybe_unused]] const bool Registered = qeltest::RegisterPeerRole("instance-holder", HoldingPeer);

TEST(SingleInstance, ASecondProcessLearnsItIsSecondAndActivatesTheFirst)
{
    const std::string name = InstanceName("KORVEL-test-");
    qeltest::TPeerProcess holder("instance-holder", {{"QEL_TEST_INSTANCE_NAME", name}});
    ASSERT_TRUE(holder.WaitReady());

    TSingleInstance guard(name, WM_ACTIVATE_INSTANCE);

    EXPECT_FALSE(guard.IsFirst());
    EXPECT_EQ(holder.WaitExit(), 0) << "the holder's window got the activate request";
}

TEST(SingleInstance, TheHolderActivatesOnlyAWindowCaptionedWithTheName)
{
    const std::string name = InstanceName("guard-caption-");
    TMessageQueue queue;
    const HWND window = CreateWindowHandle(queue, [](UINT, WPARAM, LPARAM) { return LRESULT{0}; }, true, "42 %");
    TSingleInstance first(name, WM_ACTIVATE_INSTANCE);
    ASSERT_TRUE(first.IsFirst());

    TMsg msg;
    EXPECT_FALSE(TSingleInstance(name, WM_ACTIVATE_INSTANCE).IsFirst());
    EXPECT_FALSE(queue.PeekMessage(msg)) << "the caption shows progress: no window of the name";

    SetWindowCaption(window, name);
    EXPECT_FALSE(TSingleInstance(name, WM_ACTIVATE_INSTANCE).IsFirst());
    ASSERT_TRUE(queue.PeekMessage(msg)) << "the holder answers once it has acted";
    EXPECT_EQ(msg.hwnd, window);
    EXPECT_EQ(msg.message, WM_ACTIVATE_INSTANCE);
    EXPECT_FALSE(queue.PeekMessage(msg));
    DestroyWindowHandle(window);
}

TEST(SingleInstance, TheNameIsFreeOnceItsHolderHasGone)
{
    const std::string name = InstanceName("guard-release-");
    {
        TSingleInstance first(name, WM_ACTIVATE_INSTANCE);
        ASSERT_TRUE(first.IsFirst());
    }
    TSingleInstance next(name, WM_ACTIVATE_INSTANCE);
    EXPECT_TRUE(next.IsFirst());
    EXPECT_TRUE(TSingleInstance(InstanceName("guard-other-"), WM_ACTIVATE_INSTANCE).IsFirst()) << "names are separate";
    EXPECT_THROW(TSingleInstance(std::string(120, 'x'), WM_ACTIVATE_INSTANCE), std::invalid_argument);
}

// One name per login session (its runtime folder): runs of another session
// of the same user, each with a runtime folder of its own, do not meet.
TEST(SingleInstance, SessionsWithTheirOwnRuntimeFolderHoldTheNameApart)
{
    const std::string name = InstanceName("guard-session-");
    SetRuntimeFolder("/run/user/one-session");
    TSingleInstance first(name, WM_ACTIVATE_INSTANCE);
    SetRuntimeFolder("/run/user/another-session");
    TSingleInstance other(name, WM_ACTIVATE_INSTANCE);
    SetRuntimeFolder("");
    EXPECT_TRUE(first.IsFirst());
    EXPECT_TRUE(other.IsFirst());
}

} // namespace
