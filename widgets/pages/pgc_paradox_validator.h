// TPg32ParadoxValidator: tests a text character by character against an
// edit mask of the platform's masked edit control ("!\(999\)000-0000;1;_"):
// each input position of the mask takes a digit, a letter, a letter or
// digit, any character, or stands for a literal, which takes any character.
#pragma once

#include "widgets/pages/pgc_validator.h"

namespace qel {

class TPg32ParadoxValidator : public TPg32BaseValidator {
    PLAT_CLASS(TPg32ParadoxValidator, TPg32BaseValidator)
public:
    explicit TPg32ParadoxValidator(plat::TComponent* AOwner) : TPg32BaseValidator(AOwner) {}

    // Valid for an empty mask, or when each input character passes the
    // mask's input position at its place (an input longer than the mask's
    // positions fails at the first extra character). Otherwise
    // OnValidationError gets "Validation Error Encountered at string
    // position N"; ErrorCode is left as it was.
    bool IsValid() override;

    // The 8 sample lines, in a pattern column of 25.
    static std::span<const TValidatorSample> Samples();

protected:
    plat::TStringList& GetSampleMasks() override;
};

} // namespace qel
