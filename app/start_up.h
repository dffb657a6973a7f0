// The program's run from start to end, in its fixed order: every unit's
// state, the floating-point rules, the suite settings and the language,
// the single-instance guard, the buffer folder, then the main window and the
// message loop; at the end the workers are stopped and joined before the
// program's state is released, within a time limit.
#pragma once

#include <chrono>
#include <string>

namespace plat {
class IDialogs;
class IHost;
class TApplication;
} // namespace plat

namespace qel {

class TfrmMain;
class TInstanceActivation;

// How long the end may take from the loop's end to the release of the
// program's state before the process ends without releasing it.
constexpr std::chrono::milliseconds EXIT_LIMIT{5000};

// The back end of one run: the host that shows the windows (real or
// headless) and the dialogs, and what the run does around its loop.
class IProgramSession {
public:
    virtual ~IProgramSession() = default;
    // The host, made when the first window is due (a second start never
    // asks); raises std::runtime_error when there is none (no display).
    virtual plat::IHost& OpenHost() = 0;
    virtual plat::IDialogs& Dialogs() = 0;
    // The application and the main window exist; the loop is about to run.
    virtual void Started(plat::TApplication& App, TfrmMain& Main, TInstanceActivation& Activation)
    {
        (void)App;
        (void)Main;
        (void)Activation;
    }
    // The loop has ended; everything still exists.
    virtual void LoopEnded() {}
    // Everything is released; answers the run's exit status from Status.
    virtual int Ended(int Status) { return Status; }

    // The single-instance guard's name (the application title; tests that
    // run the program in their own process use names of their own).
    virtual std::string InstanceName() const;
    // The end's time limit, and what happens when it passes: one line on
    // stderr and the process ends with Status, releasing nothing.
    virtual std::chrono::milliseconds ExitLimit() const { return EXIT_LIMIT; }
    virtual void EndNow(int Status);
};

// Runs the program on the session; answers the exit status: 0, or 1 when
// the buffer folder fails, no host can be had, or the loop ends by an error.
// A second start ends inside (status 0) without asking for a host.
int RunProgram(IProgramSession& Session);

// Steps 1 to 4 of the start: every unit's state, the floating-point rules,
// the suite settings, the language and formats they choose.
void StartUnits();

// The folder the buffer files go to, for the message when it fails.
std::string BufferFolderName();

} // namespace qel
