// Opening a logger's port: line, time-outs, modem lines and pause of each
// mode on the in-memory line; ports that cannot be opened or set up.
#include "app/com_port.h"

#include "tests/app/memory_serial_port.h"

#include <gtest/gtest.h>

namespace {

using namespace qeltest;

constexpr const char* DEVICE = "/dev/ttyUSB0";

class ComPortTest : public ::testing::Test {
protected:
    std::shared_ptr<TMemoryDevice> AddDevice()
    {
        auto device = std::make_shared<TMemoryDevice>();
        FOpener.Add(DEVICE, device);
        return device;
    }

    TMemoryPortOpener FOpener;
    plat::TCancelHandle FCancel;
};

TEST_F(ComPortTest, EachModeSetsItsLine)
{
    struct TCase {
        std::uint8_t Mode;
        int Baud;
        int ReadPerByteMs;
        int ReadConstantMs;
        bool Rts;
        std::int64_t PauseMs;
    };
    const TCase cases[] = {
        {0, 115200, 0, 1000, true, 500},
        {1, 9600, 1, 500, false, 0},
        {2, 115200, 0, 1000, true, 500},
        {3, 9600, 1, 500, false, 0},
    };
    for (const TCase& c : cases) {
        auto device = AddDevice();
        device->Rts = true;   // the line as the open left it
        qel::TComHandle port = qel::OpenComPort(DEVICE, c.Baud, c.Mode, FCancel);
        ASSERT_NE(port, nullptr) << int(c.Mode);
        EXPECT_EQ(device->Baud, c.Baud) << int(c.Mode);
        EXPECT_EQ(device->Timeouts.ReadPerByteMs, c.ReadPerByteMs) << int(c.Mode);
        EXPECT_EQ(device->Timeouts.ReadConstantMs, c.ReadConstantMs) << int(c.Mode);
        EXPECT_EQ(device->Timeouts.WritePerByteMs, 0) << int(c.Mode);
        EXPECT_EQ(device->Timeouts.WriteConstantMs, 100) << int(c.Mode);
        EXPECT_TRUE(device->Dtr) << int(c.Mode);
        EXPECT_EQ(device->Rts, c.Rts) << int(c.Mode);
        // The pause comes after RTS is raised and before the open returns.
        EXPECT_EQ(device->NowMs, c.PauseMs) << int(c.Mode);
        if (c.Rts) {
            EXPECT_EQ(device->RtsRaisedAtMs, 0) << int(c.Mode);
        }
        EXPECT_TRUE(qel::CloseComPort(port)) << int(c.Mode);
        EXPECT_EQ(port, nullptr);
        EXPECT_FALSE(device->InUse);
    }
}

TEST_F(ComPortTest, PortsThatCannotServeGiveNoPort)
{
    auto device = AddDevice();
    EXPECT_EQ(qel::OpenComPort("/dev/ttyUSB9", 9600, 3, FCancel), nullptr);   // missing
    EXPECT_EQ(qel::OpenComPort(DEVICE, 9600, 4, FCancel), nullptr);           // no such mode
    EXPECT_EQ(device->Opens, 0);

    device->VanishAfterWrites = 0;   // every setting fails
    EXPECT_EQ(qel::OpenComPort(DEVICE, 9600, 3, FCancel), nullptr);
    EXPECT_EQ(device->Opens, 1);
    EXPECT_FALSE(device->InUse);   // closed again

    device->VanishAfterWrites = -1;
    device->InUse = true;   // held by another opener
    EXPECT_EQ(qel::OpenComPort(DEVICE, 9600, 3, FCancel), nullptr);
}

TEST_F(ComPortTest, ACancelledPauseFailsTheOpen)
{
    auto device = AddDevice();
    FCancel.Cancel();
    EXPECT_EQ(qel::OpenComPort(DEVICE, 115200, 2, FCancel), nullptr);
    EXPECT_EQ(device->NowMs, 0);
    EXPECT_FALSE(device->InUse);
    // Without a pause the open itself does not wait and succeeds.
    EXPECT_NE(qel::OpenComPort(DEVICE, 9600, 3, FCancel), nullptr);
}

TEST_F(ComPortTest, ClosingNoPortFails)
{
    qel::TComHandle none;
    EXPECT_FALSE(qel::CloseComPort(none));
}

} // namespace
