// The probe tests' fake logger on a real line: a thread at the far end of a
// pseudo-terminal answers the frames it receives as the fake logger of a
// profile does (or babbles, or hangs up), and an opener of the terminal
// devices whose pauses take no real time.
#pragma once

#include "platform/serial_port.h"
#include "tests/app/fake_logger.h"
#include "tests/support/pseudo_terminal.h"

#include <atomic>
#include <functional>
#include <thread>

namespace qeltest {

class TPtyLogger {
public:
    // hangUpAfterFrames: the far end is closed when that many frames have
    // arrived, before it answers the last (-1: never). onFrame, when set, is
    // called on the logger's thread with each frame as it arrives.
    TPtyLogger(TPseudoTerminal& line, const TLoggerProfile& profile, int hangUpAfterFrames = -1,
               std::function<void(const TBytes& frame)> onFrame = {});
    // Stops the logger and waits for its thread.
    ~TPtyLogger();
    TPtyLogger(const TPtyLogger&) = delete;
    TPtyLogger& operator=(const TPtyLogger&) = delete;

private:
    void Run();
    // Takes the frames out of pending; false once the line was hung up.
    bool AnswerFrames(TBytes& pending);

    TPseudoTerminal& FLine;
    TFakeLogger FLogger;
    const bool FBabbling;
    const int FHangUpAfterFrames;
    const std::function<void(const TBytes& frame)> FOnFrame;
    int FFrames = 0;
    plat::TCancelHandle FStop;
    std::thread FThread;
};

// Opens the terminal devices; their pauses return at once (unless cancelled)
// and are summed in PausedMs, and the writes are counted. With EndlessReads a read waits for its bytes
// without a time-out of its own, so that only the bytes or a stop end it.
class TInstantPauseOpener : public plat::ISerialPortOpener {
public:
    TInstantPauseOpener() { plat::SetSerialPortOpener(this); }
    ~TInstantPauseOpener() override { plat::SetSerialPortOpener(nullptr); }
    TInstantPauseOpener(const TInstantPauseOpener&) = delete;
    TInstantPauseOpener& operator=(const TInstantPauseOpener&) = delete;

    std::unique_ptr<plat::ISerialPort> Open(const std::string& device, const plat::TCancelHandle& cancel) override;

    std::atomic<std::int64_t> PausedMs{0};
    std::atomic<int> Writes{0};
    bool EndlessReads = false;   // set before the probe opens its port
};

} // namespace qeltest
