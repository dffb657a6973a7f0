// The probe tests' fake logger on a real line: a thread at the far end of a
// pseudo-terminal answers the frames it receives as the fake logger of a
// profile does (or babbles, or hangs up), and an opener of the terminal
// devices whose pauses take no real time.
#pragma once

#include "platform/serial_port.h"
#include "tests/app/fake_logger.h"
#include "tests/support/pseudo_terminal.h"

#include <atomic>
#include <thread>

namespace qeltest {

class TPtyLogger {
public:
    // hangUpAfterFrames: the far end is closed when that many frames have
    // arrived, before it answers the last (-1: never).
    TPtyLogger(TPseudoTerminal& line, const TLoggerProfile& profile, int hangUpAfterFrames = -1);
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
    int FFrames = 0;
    plat::TCancelHandle FStop;
    std::thread FThread;
};

// Opens the terminal devices; their pauses return at once (unless cancelled)
// and are summed in PausedMs.
class TInstantPauseOpener : public plat::ISerialPortOpener {
public:
    TInstantPauseOpener() { plat::SetSerialPortOpener(this); }
    ~TInstantPauseOpener() override { plat::SetSerialPortOpener(nullptr); }
    TInstantPauseOpener(const TInstantPauseOpener&) = delete;
    TInstantPauseOpener& operator=(const TInstantPauseOpener&) = delete;

    std::unique_ptr<plat::ISerialPort> Open(const std::string& device, const plat::TCancelHandle& cancel) override;

    std::atomic<std::int64_t> PausedMs{0};
};

} // namespace qeltest
