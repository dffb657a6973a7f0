// Stopping the workers and releasing the program's state after the display
// went away.
#include "app/lost_display.h"

#include "app/exit_guard.h"
#include "app/init_units.h"
#include "app/main_window.h"
#include "app/start_up.h"

#include <cstdio>

namespace qel {

void EndAfterLostDisplay(TfrmMain& Main)
{
    std::fputs("qelreader: the connection to the X display has ended\n", stderr);
    TExitGuard guard(EXIT_LIMIT, [] { EndProcessNow(1); });
    Main.StopWorkers();
    FinalizeUnits();
    guard.Disarm();
}

} // namespace qel
