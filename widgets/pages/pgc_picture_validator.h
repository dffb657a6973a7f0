// TPg32OrMaskValidator: tests a text character by character against the
// library's one-letter picture masks ("9" a digit or space, "A" a capital
// letter, ...); the first character that fails gives the error position and
// the mask character's error code.
#pragma once

#include "widgets/pages/pgc_validator.h"

namespace qel {

class TPg32OrMaskValidator : public TPg32BaseValidator {
    PLAT_CLASS(TPg32OrMaskValidator, TPg32BaseValidator)
public:
    explicit TPg32OrMaskValidator(plat::TComponent* AOwner) : TPg32BaseValidator(AOwner) {}

    // Valid when the input is no longer than the mask and each of its
    // characters passes the mask character at its place. Otherwise
    // ErrorCode is that character's code (20: input longer than the mask)
    // and OnValidationError gets "Invalid match at character position N".
    bool IsValid() override;

    // The 17 sample lines, in a pattern column of 11.
    static std::span<const TValidatorSample> Samples();

protected:
    plat::TStringList& GetSampleMasks() override;
};

} // namespace qel
