// An in-memory serial line for the probe tests: the device at its far end
// answers each written frame at once, and time passes only on the line's own
// virtual clock (a read that comes up short costs its whole time-out, a pause
// its length, a write nothing). Nothing sleeps.
#pragma once

#include "platform/serial_port.h"
#include "tests/app/fake_logger.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace qeltest {

// One device; used by one port at a time, read by the test once the probe has ended.
struct TMemoryDevice {
    // The device's answer to each write, queued for the port to read.
    std::function<TBytes(const TBytes& written)> Answer;
    // Bytes that keep arriving whatever is asked (an endless stream).
    bool Endless = false;
    // After this many writes the device is gone: later writes and reads fail
    // at once (-1: never).
    int VanishAfterWrites = -1;
    // Called after every write, e.g. to stop the probe at that point.
    std::function<void(const TBytes& written)> AfterWrite;

    // What happened on the line:
    std::int64_t NowMs = 0;           // the virtual clock
    std::vector<TBytes> Written;      // every write, in order
    std::vector<std::int64_t> ReadTimes;   // NowMs at the start of every read
    int Opens = 0;
    bool InUse = false;
    int Baud = 0;
    bool Dtr = false;
    bool Rts = false;
    int RtsRaisedAtMs = -1;           // NowMs when RTS was last raised
    plat::TSerialTimeouts Timeouts;
    std::deque<std::uint8_t> Input;   // sent by the device, not yet read
};

// A device that answers as the fake logger of the profile does.
std::shared_ptr<TMemoryDevice> LoggerDevice(const TLoggerProfile& profile);

// Opens the in-memory devices by name for as long as it lives; any other
// name does not open, nor does a device already in use.
class TMemoryPortOpener : public plat::ISerialPortOpener {
public:
    TMemoryPortOpener();
    ~TMemoryPortOpener() override;
    TMemoryPortOpener(const TMemoryPortOpener&) = delete;
    TMemoryPortOpener& operator=(const TMemoryPortOpener&) = delete;

    // Set up before the probes start.
    void Add(const std::string& name, std::shared_ptr<TMemoryDevice> device) { FDevices[name] = std::move(device); }
    std::unique_ptr<plat::ISerialPort> Open(const std::string& device, const plat::TCancelHandle& cancel) override;
    // Every name asked for, in order.
    std::vector<std::string> Opened() const;

private:
    std::map<std::string, std::shared_ptr<TMemoryDevice>> FDevices;
    mutable std::mutex FLock;        // probe threads open at the same time
    std::vector<std::string> FOpened;
};

} // namespace qeltest
