// Registered broadcasts between two processes over the suite link, and the
// link's behaviour with stale sockets and an unusable runtime folder.
#include "platform/suite_link.h"
#include "tests/platform/peer_process.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

using namespace plat;

constexpr const char* SuiteMessageName = "QEL.QEL-PRO.MSG.V1";
constexpr int GuardMs = 20000; // only guards against a hang

bool WaitForMessage(TMessageQueue& queue, TMsg& msg)
{
    pollfd wake{queue.WakeFd(), POLLIN, 0};
    return poll(&wake, 1, GuardMs) == 1 && queue.PeekMessage(msg);
}

HWND CreateQuietWindow(TMessageQueue& queue)
{
    return CreateWindowHandle(queue, [](UINT, WPARAM, LPARAM) { return LRESULT{0}; }, true);
}

// Registers other names first, so that the two processes surely use
// different numbers for the suite message.
UINT RegisterSuiteMessageAbove(UINT parentNumber)
{
    for (int padding = 0; RegisterWindowMessage("Test.Padding." + std::to_string(padding)) < parentNumber; ++padding) {
    }
    return RegisterWindowMessage(SuiteMessageName);
}

// Peer: broadcasts a local-only message, then the suite message with its own number as lParam.
int BroadcastingPeer()
{
    for (int padding = 0; padding < 3; ++padding) {
        RegisterWindowMessage("Test.Peer.First." + std::to_string(padding));
    }
    const UINT number = RegisterWindowMessage(SuiteMessageName);
    TSuiteLink link;
    if (!link.Active()) {
        return 2;
    }
    PostMessage(HWND_BROADCAST, WM_USER + 5, 1, 2);
    PostMessage(HWND_BROADCAST, number, 1234, static_cast<LPARAM>(number));
    return 0;
}

// Peer: waits for the suite message sent by the parent; 0 when it came as expected.
int ReceivingPeer()
{
    TMessageQueue queue;
    const HWND window = CreateQuietWindow(queue);
    const UINT number = RegisterSuiteMessageAbove(static_cast<UINT>(std::atoi(std::getenv("QEL_TEST_PARENT_NUMBER"))));
    TSuiteLink link;
    if (!link.Active()) {
        return 2;
    }
    qeltest::SignalPeerReady();
    TMsg msg;
    if (!WaitForMessage(queue, msg)) {
        return 3;
    }
    const bool expected = msg.hwnd == window && msg.message == number && msg.wParam == 77 && msg.lParam == 88;
    if (!expected) {
        std::fprintf(stderr, "peer got message %x (%zu, %zd)\n", msg.message, static_cast<std::size_t>(msg.wParam),
                     static_cast<std::ptrdiff_t>(msg.lParam));
    }
    return expected ? 0 : 4;
}

[[maybe_unused]] const bool Registered = qeltest::RegisterPeerRole("suite-broadcast", BroadcastingPeer) &&
                                         qeltest::RegisterPeerRole("suite-receive", ReceivingPeer);

class SuiteLinkTest : public ::testing::Test {
protected:
    ~SuiteLinkTest() override { DestroyWindowHandle(FWindow); }

    qeltest::TempDir FRuntime;
    qeltest::ScopedEnv FRuntimeEnv{"XDG_RUNTIME_DIR", FRuntime.Path().string()};
    TMessageQueue FQueue;
    HWND FWindow = CreateQuietWindow(FQueue);
};

TEST_F(SuiteLinkTest, ARegisteredBroadcastOfAnotherProgramArrivesUnderOurNumber)
{
    const UINT number = RegisterWindowMessage(SuiteMessageName);
    TSuiteLink link;
    ASSERT_TRUE(link.Active());

    qeltest::TPeerProcess peer("suite-broadcast");
    ASSERT_EQ(peer.WaitExit(), 0);

    TMsg msg;
    ASSERT_TRUE(WaitForMessage(FQueue, msg));
    EXPECT_EQ(msg.hwnd, FWindow);
    EXPECT_EQ(msg.message, number) << "the message travels by name";
    EXPECT_EQ(msg.wParam, 1234u);
    EXPECT_EQ(msg.lParam, FIRST_REGISTERED_MESSAGE + 3) << "the peer's own number for the name";
    EXPECT_FALSE(FQueue.PeekMessage(msg)) << "unregistered broadcasts stay in their process";
}

TEST_F(SuiteLinkTest, OurBroadcastReachesAnotherProgramAndOurOwnWindows)
{
    const UINT number = RegisterWindowMessage(SuiteMessageName);
    TSuiteLink link;
    ASSERT_TRUE(link.Active());
    qeltest::TPeerProcess peer("suite-receive", {{"QEL_TEST_PARENT_NUMBER", std::to_string(number)}});
    ASSERT_TRUE(peer.WaitReady());

    PostMessage(HWND_BROADCAST, number, 77, 88);

    EXPECT_EQ(peer.WaitExit(), 0);
    TMsg msg;
    ASSERT_TRUE(FQueue.PeekMessage(msg));
    EXPECT_EQ(msg.message, number);
}

TEST_F(SuiteLinkTest, ABroadcastRemovesSocketsThatNobodyListensTo)
{
    const std::string folder = TSuiteLink::SuiteLinkFolder();
    TSuiteLink link;
    ASSERT_TRUE(link.Active());
    const std::string stale = folder + "/999999999.sock";
    const std::string other = folder + "/notes.txt";
    {
        const int socketFd = socket(AF_UNIX, SOCK_DGRAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        stale.copy(address.sun_path, stale.size());
        ASSERT_EQ(bind(socketFd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
        close(socketFd); // its process "ended" without removing it
    }
    qeltest::WriteWholeFile(other, "not a socket");

    PostMessage(HWND_BROADCAST, RegisterWindowMessage("Test.Stale.Cleanup"), 0, 0);

    EXPECT_FALSE(std::filesystem::exists(stale));
    EXPECT_TRUE(std::filesystem::exists(other));
    EXPECT_TRUE(std::filesystem::exists(folder + "/" + std::to_string(getpid()) + ".sock"));
}

TEST_F(SuiteLinkTest, AnUnusableFolderLeavesTheLinkInactiveAndBroadcastsLocal)
{
    const std::string notAFolder = FRuntime.File("file");
    qeltest::WriteWholeFile(notAFolder, "");
    const UINT number = RegisterWindowMessage(SuiteMessageName);
    {
        TSuiteLink link(notAFolder + "/qel-suite");
        EXPECT_FALSE(link.Active());
        EXPECT_THROW(TSuiteLink second, std::logic_error) << "one link per process";
        PostMessage(HWND_BROADCAST, number, 5, 6);
        TMsg msg;
        ASSERT_TRUE(FQueue.PeekMessage(msg));
        EXPECT_EQ(msg.wParam, 5u);
    }
    TSuiteLink again; // the first link's end frees the place
    EXPECT_TRUE(again.Active());
}

} // namespace
