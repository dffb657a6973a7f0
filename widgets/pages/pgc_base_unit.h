// Start and end of the library's base unit: the attached label's class
// registration for the component stream, and the default controller.
#pragma once

namespace qel {

// Registers TPgcAttachedLabel unless a class of that name is registered.
void InitPgcBaseUnit();

// Frees the default controller (a later request makes a new one).
void FinalizePgcBaseUnit();

} // namespace qel
