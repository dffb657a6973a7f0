// Program-wide state of every layer, created at start-up and freed at exit in
// one fixed order, so no unit depends on static initialisation order.
#pragma once

namespace qel {

// Foundations first (settings defaults, settings key, suite message), then the
// chart texts with the language switch's hook to them, then the side-data
// stores that every card-data read empties as it begins.
void InitUnits();

// The reverse: empties the global lists of loggers, records, the card image
// and the buffers (their spill files go with them), then frees the stores.
void FinalizeUnits();

} // namespace qel
