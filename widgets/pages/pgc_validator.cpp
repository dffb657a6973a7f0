// The validators' common base: its events and its sample lines.
#include "widgets/pages/pgc_validator.h"

namespace qel {

PLAT_DEFINE_CLASS(TPg32BaseValidator, TPg32Component)

TPg32BaseValidator::TPg32BaseValidator(plat::TComponent* AOwner) : TPg32Component(AOwner) {}

void TPg32BaseValidator::DoBeforeValidation()
{
    BeforeValidation(this);
}

void TPg32BaseValidator::DoAfterValidation()
{
    AfterValidation(this);
}

void TPg32BaseValidator::DoValidationError(const std::string& ErrorMsg)
{
    OnValidationError(this, ErrorMsg);
}

bool TPg32BaseValidator::ValidateCharacters(const std::function<std::size_t()>& FirstFailure,
    std::string_view ErrorText)
{
    DoBeforeValidation();
    FValid = false;
    const std::size_t errorPosition = FirstFailure();
    FValid = errorPosition == 0;
    DoAfterValidation();
    if (!FValid) {
        DoValidationError(std::string(ErrorText) + std::to_string(errorPosition));
    }
    return FValid;
}

plat::TStringList& TPg32BaseValidator::FillSampleMasks(std::uint16_t Width, std::span<const TValidatorSample> Samples)
{
    FSampleMaskLength = Width;
    FSampleMasks.Clear();
    for (const TValidatorSample& sample : Samples) {
        std::string line(sample.Pattern);
        if (line.size() < Width) {
            line.resize(Width, ' ');
        }
        line += sample.Description;
        FSampleMasks.Add(line);
    }
    return FSampleMasks;
}

} // namespace qel
