// The end of a run whose X display went away. The window can no longer
// close by its close protocol, so what that protocol would bring about is
// done here: the workers are told to stop and joined (an unfinished save
// removes its temporary file) and the program's state is released (the
// spill files go), within the end's time limit.
#pragma once

namespace qel {

class TfrmMain;

// Runs on the user-interface thread inside the display's error handler:
// touches no window; the host ends the process when it returns.
void EndAfterLostDisplay(TfrmMain& Main);

} // namespace qel
