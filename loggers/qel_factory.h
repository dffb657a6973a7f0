// Logger factory: the model class for a model code and PC version word, chosen
// before a card read; the application creates the logger object from it.
#pragma once

#include "loggers/qel_base.h"

#include <cstdint>

namespace qel {

// The class of the model unit that serves the pair, TQEL when none accepts it
// (whose IsKnownVersion then refuses every pair). Creates nothing.
TQelClass GetQelClass(std::uint16_t ModulClass, std::uint16_t ModulVersion);

} // namespace qel
