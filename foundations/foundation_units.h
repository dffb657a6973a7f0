// Start and end of the foundations' program-wide state, in the order the
// program's unit initialisation needs it; InitUnits calls these first and last.
#pragma once

namespace qel {

// Language index -1, the settings key (with the "qel_reg.ini" redirect),
// the suite window message and the settings records' defaults.
void InitFoundations();

// Closes the dump file and clears the last failure's message.
void FinalizeFoundations();

} // namespace qel
