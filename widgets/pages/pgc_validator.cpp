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
