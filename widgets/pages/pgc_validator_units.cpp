// The validator units' start and end, in the order the program's units run.
#include "widgets/pages/pgc_validator_units.h"

#include "widgets/pages/pgc_paradox_validator.h"
#include "widgets/pages/pgc_picture_validator.h"
#include "widgets/pages/pgc_regex_validator.h"
#include "widgets/pages/pgc_validator_registry.h"

namespace qel {

void InitValidatorUnits()
{
    ValidatorClassNames.Clear();
    ValidatorClassNames.Add("None");
    RegisterValidatorClass(TPg32OrMaskValidator::StaticClass());
    RegisterValidatorClass(TPg32ParadoxValidator::StaticClass());
    RegisterValidatorClass(TPg32RegExValidator::StaticClass());
}

void FinalizeValidatorUnits()
{
    UnregisterValidatorClass(TPg32RegExValidator::StaticClass());
    UnregisterValidatorClass(TPg32ParadoxValidator::StaticClass());
    UnregisterValidatorClass(TPg32OrMaskValidator::StaticClass());
    ValidatorClassNames.Clear();
}

} // namespace qel
