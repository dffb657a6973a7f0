// The main window's close protocol and its saved-file record. A close while
// a worker runs is refused once; the worker is told to stop and the window
// closes one second later, whether the worker has ended by then or not.
#include "app/main_window.h"

#include "platform/controls/standard/button.h"
#include "platform/timers.h"

namespace qel {
namespace {

constexpr plat::UINT_PTR CLOSE_TIMER_ID = 1;

} // namespace

void TfrmMain::FormCloseQuery(plat::TObject*, bool& CanClose)
{
    btnExit->SetEnabled(false);
    switch (FCanClose) {
    case CLOSE_NOT_ASKED: {
        FCanClose = CLOSE_PENDING;
        const bool running = WorkerRunning();
        FCardThread.Terminate();
        FSaveFileThread.Terminate();
        CanClose = !running;
        if (running) {
            plat::SetTimer(Handle(), CLOSE_TIMER_ID, CLOSE_DELAY_MS);
        }
        break;
    }
    case CLOSE_ALLOWED:
        CanClose = true;
        break;
    default:   // a request is pending
        CanClose = false;
        break;
    }
    if (OnCloseRequested) {
        OnCloseRequested(CanClose);
    }
}

void TfrmMain::WMTimer(plat::TMessage& Message)
{
    if (Message.WParam != CLOSE_TIMER_ID) {
        Inherited(Message);
        return;
    }
    CloseTimerTimer();
}

void TfrmMain::CloseTimerTimer()
{
    plat::KillTimer(Handle(), CLOSE_TIMER_ID);
    FCanClose = CLOSE_ALLOWED;
    Close();
}

void TfrmMain::OpenLogFile(const std::string& FileName)
{
    FResFile.Open(FileName);
}

void TfrmMain::WriteLogLine(const std::string& Text)
{
    FResFile.WriteLine(Text);
}

void TfrmMain::CloseLogFile()
{
    FResFile.Close();
}

} // namespace qel
