// The port search over a fake device tree and in-memory devices: the port
// list and its virtual flags, the threads of each mode with their end
// messages, the candidate rule, the once-only starts, the switches, and
// stopping a running search.
#include "app/qel_port_search.h"

#include "platform/command_line.h"
#include "platform/known_folders.h"
#include "tests/app/memory_serial_port.h"
#include "tests/app/port_status_window.h"
#include "tests/app/qel_port_printer.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <latch>

namespace {

using namespace qeltest;
using qel::TQelPortSearch;

constexpr std::int32_t THIS_SYSTEM = 0;   // the version code on this system
constexpr std::int32_t OLD_SYSTEM = 3;    // a code that makes every port a candidate

TLoggerProfile Silent()
{
    TLoggerProfile profile;
    profile.Behaviour = TBehaviour::Silent;
    return profile;
}

class PortSearchTest : public ::testing::Test {
protected:
    PortSearchTest() : FConfig("XDG_CONFIG_HOME", FDir.File("config"))
    {
        plat::SetSysfsRoot(FDir.File("sys"));
        plat::SetDeviceFolder(FDir.File("dev"));
    }
    ~PortSearchTest() override
    {
        plat::SetSysfsRoot("");
        plat::SetDeviceFolder("");
    }

    // A port of the device tree, answering as the profile says.
    std::shared_ptr<TMemoryDevice> AddPort(const std::string& tty, const TLoggerProfile& profile = Silent())
    {
        const auto folder = FDir.Path() / "sys" / "class" / "tty" / tty;
        std::filesystem::create_directories(folder / "device");
        if (tty.starts_with("ttyS")) {
            WriteWholeFile((folder / "type").string(), "4\n");
        }
        auto device = LoggerDevice(profile);
        FOpener.Add(Device(tty), device);
        return device;
    }
    std::string Device(const std::string& tty) const { return FDir.File("dev") + "/" + tty; }

    // One search of FList until every thread it started has reported to
    // window; answers the number of threads.
    int SearchAndWait(qel::TQelPortThreadMode mode, std::int32_t winVersion, TPortStatusWindow& window)
    {
        TQelPortSearch search(FList, winVersion);
        const int threads = search.Search(window.Handle(), mode);
        window.WaitFor(static_cast<std::size_t>(threads));
        search.Stop();
        return threads;
    }

    static std::vector<TPortStatus> Sorted(std::vector<TPortStatus> status)
    {
        std::sort(status.begin(), status.end());
        return status;
    }

    TempDir FDir;
    ScopedEnv FConfig;
    TMemoryPortOpener FOpener;
    TPortStatusWindow FWindow;
    qel::TQelPortList FList;
};

TEST_F(PortSearchTest, ListModeProbesTheVirtualPortsInKeyOrder)
{
    AddPort("ttyS1");
    AddPort("ttyUSB0");
    AddPort("ttyS0");
    AddPort("ttyACM0");
    EXPECT_EQ(SearchAndWait(qel::mptLIST, THIS_SYSTEM, FWindow), 1);

    struct TExpected {
        std::string Tty;
        bool Virtual;
        qel::TQelPortError Error;
    };
    const TExpected expected[] = {
        {"ttyACM0", true, qel::mpeCOM},
        {"ttyS0", false, qel::mpeUNKNOWN},
        {"ttyS1", false, qel::mpeUNKNOWN},
        {"ttyUSB0", true, qel::mpeCOM},
    };
    ASSERT_EQ(FList.Count(), 4);
    for (int i = 0; i < 4; ++i) {
        const qel::TQelPort& port = *FList.GetItem(i);
        EXPECT_EQ(port.port, Device(expected[i].Tty)) << i;
        EXPECT_EQ(port.vcp, expected[i].Virtual) << i;
        EXPECT_EQ(port.error, expected[i].Error) << i;
        EXPECT_FALSE(port.search) << i;
    }
    EXPECT_EQ(FOpener.Opened(), (std::vector<std::string>{Device("ttyACM0"), Device("ttyUSB0")}));
    EXPECT_EQ(FWindow.Received(), (std::vector<TPortStatus>{{3, -1}}));
}

TEST_F(PortSearchTest, OnOldSystemsTheListModeProbesEveryPort)
{
    AddPort("ttyS0");
    AddPort("ttyUSB0");
    TLoggerProfile logger;
    logger.ModelCode = 0x6602;
    logger.Serial = 31337;
    AddPort("ttyS1", logger);
    EXPECT_EQ(SearchAndWait(qel::mptLIST, OLD_SYSTEM, FWindow), 1);
    EXPECT_EQ(FOpener.Opened(), (std::vector<std::string>{Device("ttyS0"), Device("ttyS1"), Device("ttyUSB0")}));
    EXPECT_EQ(FList.GetItem(1)->error, qel::mpeOK);
    EXPECT_EQ(FList.GetItem(1)->id_sn, 31337u);
    EXPECT_EQ(FWindow.Received(), (std::vector<TPortStatus>{{3, -1}}));
}

TEST_F(PortSearchTest, WithoutPortsEachModeReportsOnce)
{
    struct TCase {
        qel::TQelPortThreadMode Mode;
        TPortStatus Status;
    };
    const TCase cases[] = {
        {qel::mptSEARCH_ALL, {0, -2}},
        {qel::mptSEARCH_FAST, {1, -2}},
        {qel::mptSEARCH_LIST, {2, -2}},
        {qel::mptLIST, {3, -1}},
    };
    for (const TCase& c : cases) {
        TPortStatusWindow window;
        EXPECT_EQ(SearchAndWait(c.Mode, THIS_SYSTEM, window), 1) << int(c.Mode);
        EXPECT_EQ(window.Received(), std::vector<TPortStatus>{c.Status}) << int(c.Mode);
        EXPECT_EQ(FList.Count(), 0);
    }
    EXPECT_EQ(SearchAndWait(static_cast<qel::TQelPortThreadMode>(4), THIS_SYSTEM, FWindow), 0);
    EXPECT_TRUE(FWindow.Received().empty());
    EXPECT_TRUE(FOpener.Opened().empty());
}

TEST_F(PortSearchTest, SinglePortModesStartAThreadPerCandidatePort)
{
    // As "COM1" (not virtual) and "COM5" (virtual): the fast mode takes only
    // the virtual port; the other modes take both.
    auto plain = AddPort("ttyS0");
    auto usb = AddPort("ttyUSB0");
    struct TCase {
        qel::TQelPortThreadMode Mode;
        std::vector<TPortStatus> Status;
        std::vector<bool> Searched;
    };
    const TCase cases[] = {
        {qel::mptSEARCH_ALL, {{0, 0}, {0, 1}}, {true, true}},
        {qel::mptSEARCH_FAST, {{1, 1}}, {false, true}},
        {qel::mptSEARCH_LIST, {{2, 0}, {2, 1}}, {true, true}},
    };
    for (const TCase& c : cases) {
        TPortStatusWindow window;
        EXPECT_EQ(SearchAndWait(c.Mode, THIS_SYSTEM, window), static_cast<int>(c.Status.size())) << int(c.Mode);
        EXPECT_EQ(Sorted(window.Received()), c.Status) << int(c.Mode);
        ASSERT_EQ(FList.Count(), 2);
        EXPECT_EQ(FList.GetItem(0)->search, c.Searched[0]) << int(c.Mode);
        EXPECT_EQ(FList.GetItem(1)->search, c.Searched[1]) << int(c.Mode);
        // Only virtual ports get the 9600 Bd probe; the others the 115200 Bd one.
        EXPECT_EQ(usb->Baud, 9600) << int(c.Mode);
        EXPECT_EQ(plain->Baud, c.Searched[0] ? 115200 : 0) << int(c.Mode);
        plain->Baud = 0;
    }
}

TEST_F(PortSearchTest, FastModeWithoutVirtualPortsTakesEveryPort)
{
    AddPort("ttyS0");
    AddPort("ttyS4");
    EXPECT_EQ(SearchAndWait(qel::mptSEARCH_FAST, THIS_SYSTEM, FWindow), 2);
    EXPECT_EQ(Sorted(FWindow.Received()), (std::vector<TPortStatus>{{1, 0}, {1, 1}}));
}

TEST_F(PortSearchTest, OnOldSystemsASilent9600PortIsTriedAt115200)
{
    TLoggerProfile fastLogger;
    fastLogger.Protocol = TProtocol::Crc16;
    fastLogger.ModelCode = 1;
    fastLogger.Serial = 0x010203;
    auto device = AddPort("ttyS0", fastLogger);
    EXPECT_EQ(SearchAndWait(qel::mptSEARCH_ALL, OLD_SYSTEM, FWindow), 1);
    const qel::TQelPort& port = *FList.GetItem(0);
    EXPECT_EQ(port.error, qel::mpeOK);
    EXPECT_EQ(port.id_sn, 0x010203u);
    EXPECT_EQ(device->Opens, 2);
    EXPECT_EQ(device->Baud, 115200);
}

TEST_F(PortSearchTest, APortThatDoesNotOpenIsNotTriedAgain)
{
    std::filesystem::create_directories(FDir.Path() / "sys" / "class" / "tty" / "ttyUSB0" / "device");
    EXPECT_EQ(SearchAndWait(qel::mptSEARCH_ALL, OLD_SYSTEM, FWindow), 1);
    EXPECT_EQ(FList.GetItem(0)->error, qel::mpePORT);
    EXPECT_EQ(FOpener.Opened(), std::vector<std::string>{Device("ttyUSB0")});
    EXPECT_EQ(FWindow.Received(), (std::vector<TPortStatus>{{0, 0}}));
}

TEST_F(PortSearchTest, ASearchRunsOnce)
{
    AddPort("ttyUSB0");
    TQelPortSearch first(FList, THIS_SYSTEM);
    EXPECT_EQ(first.Search(FWindow.Handle(), qel::mptSEARCH_ALL), 1);
    EXPECT_EQ(first.Search(FWindow.Handle(), qel::mptLIST), 0);
    first.Start(FWindow.Handle());
    FWindow.WaitFor(1);
    first.Stop();
    EXPECT_EQ(FWindow.Received(), (std::vector<TPortStatus>{{0, 0}}));

    TPortStatusWindow window;
    TQelPortSearch second(FList, THIS_SYSTEM);
    second.Start(window.Handle());
    second.Start(window.Handle());
    EXPECT_EQ(second.Search(window.Handle(), qel::mptSEARCH_ALL), 0);
    window.WaitFor(1);
    second.Stop();
    EXPECT_EQ(window.Received(), (std::vector<TPortStatus>{{3, -1}}));
    EXPECT_EQ(FOpener.Opened().size(), 2u);
}

TEST_F(PortSearchTest, AStatusForAWindowThatIsGoneIsDropped)
{
    AddPort("ttyUSB0");
    FList.ReadSerialPorts();
    plat::TMessageQueue queue;
    int received = 0;
    const plat::HWND gone = plat::CreateWindowHandle(queue, [&](plat::UINT, plat::WPARAM, plat::LPARAM) -> plat::LRESULT {
        ++received;
        return 0;
    }, true);
    plat::DestroyWindowHandle(gone);
    auto thread = qel::TQelPortThread::Create(gone, qel::mptLIST, -1, FList, false);
    thread->WaitFor();
    queue.ProcessMessages();
    EXPECT_EQ(received, 0);
    EXPECT_EQ(FList.GetItem(0)->error, qel::mpeCOM);
}

TEST_F(PortSearchTest, AStopRequestEndsTheProbeAtOnceAndProbesNoFurtherPort)
{
    auto first = AddPort("ttyUSB0");
    auto second = AddPort("ttyUSB1");
    std::latch reached(1);
    std::latch terminated(1);
    first->AfterWrite = [&](const TBytes& written) {
        if (written[0] == 0x80) {
            reached.count_down();
            terminated.wait();
        }
    };
    FList.ReadSerialPorts();
    auto thread = qel::TQelPortThread::Create(FWindow.Handle(), qel::mptLIST, -1, FList, false);
    reached.wait();
    thread->Terminate();
    terminated.count_down();
    thread->WaitFor();
    EXPECT_EQ(first->NowMs, 0);
    EXPECT_FALSE(first->InUse);
    EXPECT_EQ(first->Written.size(), 3u);   // two resyncs and the handshake
    EXPECT_EQ(second->Opens, 0);
    EXPECT_EQ(FList.GetItem(1)->error, qel::mpeUNKNOWN);
    EXPECT_EQ(FWindow.Received(), (std::vector<TPortStatus>{{3, -1}}));
}

class ProgramPortSearchTest : public PortSearchTest {
protected:
    ~ProgramPortSearchTest() override
    {
        qel::FinalizePortSearch();
        const char* argv[] = {"reader"};
        plat::SetCommandLine(1, argv);
    }
};

TEST_F(ProgramPortSearchTest, StartedOnceFromTheStartPage)
{
    AddPort("ttyS0");
    AddPort("ttyUSB0");
    EXPECT_EQ(qel::SearchQelPorts(FWindow.Handle(), qel::mptLIST), 0);   // before initialisation
    qel::InitPortSearch();
    qel::StartPortSearch(FWindow.Handle());
    qel::StartPortSearch(FWindow.Handle());
    EXPECT_EQ(qel::SearchQelPorts(FWindow.Handle(), qel::mptSEARCH_ALL), 0);
    EXPECT_EQ(FWindow.WaitFor(1), (std::vector<TPortStatus>{{3, -1}}));
    ASSERT_EQ(qel::PortList.Count(), 2);
    EXPECT_EQ(qel::PortList.GetItem(0)->error, qel::mpeUNKNOWN);   // no serial device but the USB one is opened
    EXPECT_EQ(qel::PortList.GetItem(1)->error, qel::mpeCOM);
    qel::FinalizePortSearch();
    EXPECT_EQ(qel::PortList.Count(), 0);
    EXPECT_EQ(FWindow.Received().size(), 1u);
    EXPECT_EQ(FOpener.Opened(), std::vector<std::string>{Device("ttyUSB0")});
}

TEST_F(ProgramPortSearchTest, FinalizingWaitsForTheRunningProbe)
{
    auto device = AddPort("ttyUSB0");
    std::latch reached(1);
    std::latch finalizing(1);
    device->AfterWrite = [&](const TBytes& written) {
        if (written[0] == 0x80 && device->Written.size() == 3) {
            reached.count_down();
            finalizing.wait();
        }
    };
    qel::InitPortSearch();
    qel::StartPortSearch(FWindow.Handle());
    reached.wait();
    std::thread finalizer([&] {
        finalizing.count_down();
        qel::FinalizePortSearch();
    });
    finalizer.join();
    EXPECT_FALSE(device->InUse);   // the probe has ended and closed its port
    EXPECT_EQ(qel::PortList.Count(), 0);
}

TEST_F(ProgramPortSearchTest, SwitchesAreReadAtInitialisationAndKept)
{
    const char* argv[] = {"reader", "P:/dev/ttyUSB3", "n:Tank 7", "p:other"};
    plat::SetCommandLine(4, argv);
    qel::InitPortSearch();
    const char* later[] = {"reader", "p:changed"};
    plat::SetCommandLine(2, later);
    EXPECT_EQ(qel::PortSwitchValue(), "/dev/ttyUSB3");
    EXPECT_EQ(qel::NameSwitchValue(), "Tank 7");
    qel::FinalizePortSearch();
    EXPECT_EQ(qel::PortSwitchValue(), "");

    const char* none[] = {"reader", "p:"};
    plat::SetCommandLine(2, none);
    qel::InitPortSearch();
    EXPECT_EQ(qel::PortSwitchValue(), "");
    EXPECT_EQ(qel::NameSwitchValue(), "");
}

} // namespace
