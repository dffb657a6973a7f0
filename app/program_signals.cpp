// Signals that end the program by its close protocol.
#include "app/program_signals.h"

namespace qel {

TProgramSignals::TProgramSignals()
    : FFormerFileSizeAction(std::signal(SIGXFSZ, SIG_IGN)),
      FWatch({SIGTERM, SIGINT, SIGHUP}, [this](int) { Requested(); })
{
}

TProgramSignals::~TProgramSignals()
{
    std::signal(SIGXFSZ, FFormerFileSizeAction);
}

void TProgramSignals::SetMainWindow(plat::HWND Window)
{
    std::lock_guard lock(FLock);
    FWindow = Window;
    if (FWindow != 0 && FPending) {
        FPending = false;
        plat::PostMessage(FWindow, plat::WM_CLOSE, 0, 0);
    }
}

void TProgramSignals::Requested()
{
    std::lock_guard lock(FLock);
    if (FWindow == 0) {
        FPending = true;
        return;
    }
    plat::PostMessage(FWindow, plat::WM_CLOSE, 0, 0);
}

} // namespace qel
