// The probe tests' in-memory serial line.
#include "tests/app/memory_serial_port.h"

#include <algorithm>

namespace qeltest {

namespace {

class TMemoryPort final : public plat::ISerialPort {
public:
    TMemoryPort(std::shared_ptr<TMemoryDevice> device, const plat::TCancelHandle& cancel)
        : FDevice(std::move(device)), FCancel(cancel)
    {
        FDevice->InUse = true;
        ++FDevice->Opens;
    }
    ~TMemoryPort() override { Close(); }

    bool SetLine(int baud) override
    {
        FDevice->Baud = baud;
        return Usable();
    }
    bool SetTimeouts(const plat::TSerialTimeouts& timeouts) override
    {
        FDevice->Timeouts = timeouts;
        return Usable();
    }
    bool SetDtr(bool raised) override
    {
        FDevice->Dtr = raised;
        return Usable();
    }
    bool SetRts(bool raised) override
    {
        FDevice->Rts = raised;
        if (raised) {
            FDevice->RtsRaisedAtMs = static_cast<int>(FDevice->NowMs);
        }
        return Usable();
    }
    bool Purge() override
    {
        FDevice->Input.clear();
        return Usable();
    }

    int Write(const std::uint8_t* data, int count) override
    {
        if (!Usable()) {
            return 0;
        }
        const TBytes written(data, data + count);
        FDevice->Written.push_back(written);
        if (FDevice->Answer) {
            const TBytes answer = FDevice->Answer(written);
            FDevice->Input.insert(FDevice->Input.end(), answer.begin(), answer.end());
        }
        if (FDevice->AfterWrite) {
            FDevice->AfterWrite(written);
        }
        return count;
    }

    int Read(std::uint8_t* data, int count) override
    {
        FDevice->ReadTimes.push_back(FDevice->NowMs);
        if (!Usable()) {
            return 0;
        }
        if (FDevice->Endless && static_cast<int>(FDevice->Input.size()) < count) {
            const TBytes more = Babble(static_cast<std::size_t>(count) - FDevice->Input.size());
            FDevice->Input.insert(FDevice->Input.end(), more.begin(), more.end());
        }
        const int got = std::min(count, static_cast<int>(FDevice->Input.size()));
        std::copy_n(FDevice->Input.begin(), got, data);
        FDevice->Input.erase(FDevice->Input.begin(), FDevice->Input.begin() + got);
        if (got < count && !FCancel.Cancelled()) {
            const plat::TSerialTimeouts& t = FDevice->Timeouts;
            FDevice->NowMs += static_cast<std::int64_t>(t.ReadPerByteMs) * count + t.ReadConstantMs;
        }
        return got;
    }

    bool Pause(int ms) override
    {
        if (FCancel.Cancelled()) {
            return false;
        }
        FDevice->NowMs += ms;
        return true;
    }

    bool Close() override
    {
        if (FClosed) {
            return false;
        }
        FClosed = true;
        FDevice->InUse = false;
        return true;
    }

private:
    bool Usable() const
    {
        const int vanishAfter = FDevice->VanishAfterWrites;
        return !FClosed && (vanishAfter < 0 || static_cast<int>(FDevice->Written.size()) < vanishAfter);
    }

    std::shared_ptr<TMemoryDevice> FDevice;
    const plat::TCancelHandle& FCancel;
    bool FClosed = false;
};

} // namespace

std::shared_ptr<TMemoryDevice> LoggerDevice(const TLoggerProfile& profile)
{
    auto device = std::make_shared<TMemoryDevice>();
    auto logger = std::make_shared<TFakeLogger>(profile);
    device->Answer = [logger](const TBytes& written) { return logger->Answer(written); };
    device->Endless = profile.Behaviour == TBehaviour::Babbling;
    return device;
}

TMemoryPortOpener::TMemoryPortOpener()
{
    plat::SetSerialPortOpener(this);
}

TMemoryPortOpener::~TMemoryPortOpener()
{
    plat::SetSerialPortOpener(nullptr);
}

std::unique_ptr<plat::ISerialPort> TMemoryPortOpener::Open(const std::string& device, const plat::TCancelHandle& cancel)
{
    {
        std::lock_guard lock(FLock);
        FOpened.push_back(device);
    }
    const auto found = FDevices.find(device);
    if (found == FDevices.end() || found->second->InUse) {
        return nullptr;
    }
    return std::make_unique<TMemoryPort>(found->second, cancel);
}

std::vector<std::string> TMemoryPortOpener::Opened() const
{
    std::lock_guard lock(FLock);
    return FOpened;
}

} // namespace qeltest
