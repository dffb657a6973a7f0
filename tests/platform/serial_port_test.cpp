// Tests of the terminal serial ports against a pseudo-terminal: the raw line
// passes every byte both ways, reads end with what arrived, exclusive use,
// modem lines, a hung-up line, the cancel handle and the opener in use.
#include "platform/serial_port.h"

#include "tests/support/pseudo_terminal.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <latch>
#include <numeric>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace {

using qeltest::TPseudoTerminal;

constexpr int NEVER_MS = 600000;   // a time-out no test waits for

std::vector<std::uint8_t> EveryByte()
{
    std::vector<std::uint8_t> bytes(256);
    std::iota(bytes.begin(), bytes.end(), std::uint8_t{0});
    return bytes;
}

class SerialPortTest : public ::testing::Test {
protected:
    std::unique_ptr<plat::ISerialPort> OpenLine()
    {
        auto port = plat::OpenTermiosPort(FLine.LineName(), FCancel);
        EXPECT_NE(port, nullptr) << FLine.LineName();
        return port;
    }

    TPseudoTerminal FLine;
    plat::TCancelHandle FCancel;
};

TEST_F(SerialPortTest, DevicesThatAreNoSerialLineDoNotOpen)
{
    qeltest::TempDir dir;
    qeltest::WriteWholeFile(dir.File("plain"), "x");
    for (const std::string& device : {std::string(), dir.File("missing"), dir.File("plain"), dir.Path().string(),
                                      std::string("/dev/null")}) {
        EXPECT_EQ(plat::OpenTermiosPort(device, FCancel), nullptr) << device;
    }
}

TEST_F(SerialPortTest, RawLineAtEachRate)
{
    auto port = OpenLine();
    ASSERT_NE(port, nullptr);
    for (const auto& [baud, speed] : {std::pair{9600, B9600}, std::pair{115200, B115200}}) {
        ASSERT_TRUE(port->SetLine(baud)) << baud;
        // The line's own settings, read through a second opener of the near end.
        termios line{};
        const int nearEnd = open(FLine.LineName().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        ASSERT_GE(nearEnd, 0);
        ASSERT_EQ(tcgetattr(nearEnd, &line), 0);
        close(nearEnd);
        EXPECT_EQ(cfgetospeed(&line), speed) << baud;
        EXPECT_EQ(cfgetispeed(&line), speed) << baud;
        EXPECT_EQ(line.c_cflag & (CSIZE | PARENB | CSTOPB | CRTSCTS), static_cast<tcflag_t>(CS8)) << baud;
        EXPECT_EQ(line.c_iflag & (IXON | IXOFF | ICRNL | ISTRIP), 0u) << baud;
        EXPECT_EQ(line.c_lflag & (ICANON | ECHO | ISIG), 0u) << baud;
        EXPECT_EQ(line.c_oflag & OPOST, 0u) << baud;
    }
    EXPECT_FALSE(port->SetLine(12345));
    EXPECT_FALSE(port->SetLine(0));
}

TEST_F(SerialPortTest, EveryByteCrossesUnchangedBothWays)
{
    auto port = OpenLine();
    ASSERT_NE(port, nullptr);
    ASSERT_TRUE(port->SetLine(9600));
    ASSERT_TRUE(port->SetTimeouts({0, NEVER_MS, 0, NEVER_MS}));
    const std::vector<std::uint8_t> bytes = EveryByte();

    ASSERT_EQ(port->Write(bytes.data(), 256), 256);
    EXPECT_EQ(FLine.Receive(256), bytes);

    std::thread device([&] { FLine.Send(bytes); });
    std::vector<std::uint8_t> received(256);
    EXPECT_EQ(port->Read(received.data(), 256), 256);
    device.join();
    EXPECT_EQ(received, bytes);
}

TEST_F(SerialPortTest, ReadWithoutTimeLeftAnswersWhatArrivedAndPurgeDiscardsIt)
{
    auto port = OpenLine();
    ASSERT_NE(port, nullptr);
    ASSERT_TRUE(port->SetLine(115200));
    ASSERT_TRUE(port->SetTimeouts({}));   // reads and writes end at once
    std::uint8_t buffer[8] = {};
    EXPECT_EQ(port->Read(buffer, 8), 0);

    FLine.Send({1, 2, 3});
    std::uint8_t first = 0;
    ASSERT_TRUE(port->SetTimeouts({0, NEVER_MS, 0, 0}));
    ASSERT_EQ(port->Read(&first, 1), 1);   // the three bytes are on the line now
    ASSERT_TRUE(port->SetTimeouts({}));
    EXPECT_EQ(port->Read(buffer, 8), 2);
    EXPECT_EQ(buffer[0], 2);
    EXPECT_EQ(buffer[1], 3);

    FLine.Send({4, 5});
    ASSERT_TRUE(port->SetTimeouts({0, NEVER_MS, 0, 0}));
    ASSERT_EQ(port->Read(&first, 1), 1);
    ASSERT_TRUE(port->Purge());
    ASSERT_TRUE(port->SetTimeouts({}));
    EXPECT_EQ(port->Read(buffer, 8), 0);
}

TEST_F(SerialPortTest, ALineOpensOnceAtATime)
{
    auto port = OpenLine();
    ASSERT_NE(port, nullptr);
    plat::TCancelHandle other;
    EXPECT_EQ(plat::OpenTermiosPort(FLine.LineName(), other), nullptr);
    EXPECT_TRUE(port->Close());
    EXPECT_FALSE(port->Close());
    EXPECT_FALSE(port->SetLine(9600));
    auto again = plat::OpenTermiosPort(FLine.LineName(), other);
    EXPECT_NE(again, nullptr);
}

TEST_F(SerialPortTest, ModemLinesOfAPseudoTerminalAreAcceptedOnlyThere)
{
    auto port = OpenLine();
    ASSERT_NE(port, nullptr);
    EXPECT_TRUE(port->SetDtr(true));
    EXPECT_TRUE(port->SetRts(true));
    EXPECT_TRUE(port->SetRts(false));
    EXPECT_TRUE(port->SetDtr(false));

    // The multiplexer is a terminal without modem lines that is no line of
    // its own: its refusal stands.
    auto multiplexer = plat::OpenTermiosPort("/dev/ptmx", FCancel);
    ASSERT_NE(multiplexer, nullptr);
    EXPECT_FALSE(multiplexer->SetDtr(true));
    EXPECT_FALSE(multiplexer->SetRts(true));
}

TEST_F(SerialPortTest, AHungUpLineEndsReadsAndWritesAtOnce)
{
    auto port = OpenLine();
    ASSERT_NE(port, nullptr);
    ASSERT_TRUE(port->SetLine(9600));
    ASSERT_TRUE(port->SetTimeouts({0, NEVER_MS, 0, NEVER_MS}));
    FLine.HangUp();
    std::uint8_t buffer[8] = {};
    EXPECT_EQ(port->Read(buffer, 8), 0);
    EXPECT_LT(port->Write(buffer, 8), 8);
}

TEST_F(SerialPortTest, CancelEndsEveryWaitForGood)
{
    auto port = OpenLine();
    ASSERT_NE(port, nullptr);
    ASSERT_TRUE(port->SetLine(9600));
    ASSERT_TRUE(port->SetTimeouts({0, NEVER_MS, 0, NEVER_MS}));

    std::latch reading(1);
    int got = -1;
    std::thread reader([&] {
        std::uint8_t buffer[8] = {};
        reading.count_down();
        got = port->Read(buffer, 8);
    });
    reading.wait();
    FCancel.Cancel();
    reader.join();
    EXPECT_EQ(got, 0);
    EXPECT_TRUE(FCancel.Cancelled());

    EXPECT_FALSE(port->Pause(NEVER_MS));
    FLine.Send({7});
    std::uint8_t buffer[8] = {};
    EXPECT_LE(port->Read(buffer, 8), 1);   // what has arrived, without waiting for the rest

    plat::TCancelHandle fresh;
    auto other = plat::OpenTermiosPort(FLine.LineName(), fresh);
    EXPECT_EQ(other, nullptr);   // still held by the cancelled port
    EXPECT_TRUE(port->Close());
    other = plat::OpenTermiosPort(FLine.LineName(), fresh);
    ASSERT_NE(other, nullptr);
    EXPECT_TRUE(other->Pause(0));
    EXPECT_TRUE(other->Pause(1));
}

// An opener that counts its calls and opens nothing.
class CountingOpener : public plat::ISerialPortOpener {
public:
    std::unique_ptr<plat::ISerialPort> Open(const std::string& device, const plat::TCancelHandle&) override
    {
        Devices.push_back(device);
        return nullptr;
    }
    std::vector<std::string> Devices;
};

TEST_F(SerialPortTest, OpenerInUseDecidesWhereOpensGo)
{
    CountingOpener opener;
    plat::SetSerialPortOpener(&opener);
    EXPECT_EQ(plat::OpenSerialPort(FLine.LineName(), FCancel), nullptr);
    plat::SetSerialPortOpener(nullptr);
    EXPECT_EQ(opener.Devices, std::vector<std::string>{FLine.LineName()});
    EXPECT_NE(plat::OpenSerialPort(FLine.LineName(), FCancel), nullptr);
}

} // namespace
