// The fake logger at the far end of a pseudo-terminal.
#include "tests/app/pty_logger.h"

#include <poll.h>
#include <unistd.h>

#include <utility>

namespace qeltest {

TPtyLogger::TPtyLogger(TPseudoTerminal& line, const TLoggerProfile& profile, int hangUpAfterFrames,
                       std::function<void(const TBytes& frame)> onFrame)
    : FLine(line),
      FLogger(profile),
      FBabbling(profile.Behaviour == TBehaviour::Babbling),
      FHangUpAfterFrames(hangUpAfterFrames),
      FOnFrame(std::move(onFrame)),
      FThread([this] { Run(); })
{
}

TPtyLogger::~TPtyLogger()
{
    FStop.Cancel();
    FThread.join();
}

void TPtyLogger::Run()
{
    TBytes pending;
    const TBytes babble = Babble(64);
    for (;;) {
        const short events = static_cast<short>(FBabbling ? POLLIN | POLLOUT : POLLIN);
        pollfd waits[2] = {{FStop.Fd(), POLLIN, 0}, {FLine.MasterFd(), events, 0}};
        if (poll(waits, 2, -1) < 0 || waits[0].revents != 0) {
            return;
        }
        const short seen = waits[1].revents;
        if ((seen & (POLLERR | POLLNVAL | POLLHUP)) != 0 && (seen & POLLIN) == 0) {
            return;   // the line has ended
        }
        if ((seen & POLLOUT) != 0) {
            [[maybe_unused]] const auto sent = write(FLine.MasterFd(), babble.data(), babble.size());
        }
        if ((seen & POLLIN) != 0) {
            std::uint8_t buffer[256];
            const ssize_t got = read(FLine.MasterFd(), buffer, sizeof buffer);
            if (got > 0) {
                pending.insert(pending.end(), buffer, buffer + got);
            }
            if (!AnswerFrames(pending)) {
                return;
            }
        }
    }
}

bool TPtyLogger::AnswerFrames(TBytes& pending)
{
    while (pending.size() >= 8) {
        const TBytes frame(pending.begin(), pending.begin() + 8);
        pending.erase(pending.begin(), pending.begin() + 8);
        if (++FFrames == FHangUpAfterFrames) {
            FLine.HangUp();
            return false;
        }
        if (FOnFrame) {
            FOnFrame(frame);
        }
        FLine.Send(FLogger.Answer(frame));
    }
    return true;
}

namespace {

constexpr int ENDLESS_MS = 600000;   // a read time-out no test waits for

class TInstantPausePort final : public plat::ISerialPort {
public:
    TInstantPausePort(std::unique_ptr<plat::ISerialPort> port, const plat::TCancelHandle& cancel,
                      std::atomic<std::int64_t>& pausedMs, std::atomic<int>& writes, bool endlessReads)
        : FPort(std::move(port)), FCancel(cancel), FPausedMs(pausedMs), FWrites(writes), FEndlessReads(endlessReads)
    {
    }

    bool SetLine(int baud) override { return FPort->SetLine(baud); }
    bool SetTimeouts(const plat::TSerialTimeouts& timeouts) override
    {
        plat::TSerialTimeouts taken = timeouts;
        if (FEndlessReads) {
            taken.ReadConstantMs = ENDLESS_MS;
        }
        return FPort->SetTimeouts(taken);
    }
    bool SetDtr(bool raised) override { return FPort->SetDtr(raised); }
    bool SetRts(bool raised) override { return FPort->SetRts(raised); }
    bool Purge() override { return FPort->Purge(); }
    int Write(const std::uint8_t* data, int count) override
    {
        ++FWrites;
        return FPort->Write(data, count);
    }
    int Read(std::uint8_t* data, int count) override { return FPort->Read(data, count); }
    bool Close() override { return FPort->Close(); }
    bool Pause(int ms) override
    {
        FPausedMs += ms;
        return !FCancel.Cancelled();
    }

private:
    std::unique_ptr<plat::ISerialPort> FPort;
    const plat::TCancelHandle& FCancel;
    std::atomic<std::int64_t>& FPausedMs;
    std::atomic<int>& FWrites;
    const bool FEndlessReads;
};

} // namespace

std::unique_ptr<plat::ISerialPort> TInstantPauseOpener::Open(const std::string& device,
                                                             const plat::TCancelHandle& cancel)
{
    auto port = plat::OpenTermiosPort(device, cancel);
    if (!port) {
        return nullptr;
    }
    return std::make_unique<TInstantPausePort>(std::move(port), cancel, PausedMs, Writes, EndlessReads);
}

} // namespace qeltest
