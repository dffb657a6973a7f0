// Start and end of the validator units: the class-name list begins with
// "None", then the picture-mask, edit-mask and regular-expression validator
// classes register in that order; the end unregisters them again.
#pragma once

namespace qel {

void InitValidatorUnits();
void FinalizeValidatorUnits();

} // namespace qel
