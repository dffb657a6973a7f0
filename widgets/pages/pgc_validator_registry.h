// The names of the validator classes a design-time picker offers, and their
// registration with the platform's class registry so that a stored
// validator can be built again by its class name.
#pragma once

#include "platform/objects/object.h"
#include "platform/objects/string_list.h"

namespace qel {

// "None" (no validator) first, then the registered classes in the order
// they were registered. Filled by InitValidatorUnits.
extern plat::TStringList ValidatorClassNames;

// A validator class whose name is not listed yet is registered and its name
// appended; any other class changes nothing.
void RegisterValidatorClass(plat::TClass AClass);
// A listed class loses its entry and its registration; any other class
// changes nothing.
void UnregisterValidatorClass(plat::TClass AClass);

} // namespace qel
