// Registration of the validator classes by name.
#include "widgets/pages/pgc_validator_registry.h"

#include "platform/objects/class_registry.h"
#include "widgets/pages/pgc_validator.h"

namespace qel {

plat::TStringList ValidatorClassNames;

void RegisterValidatorClass(plat::TClass AClass)
{
    if (AClass == nullptr || !AClass->InheritsFrom(TPg32BaseValidator::StaticClass())) {
        return;
    }
    const std::string name(AClass->ClassName());
    if (ValidatorClassNames.IndexOf(name) >= 0) {
        return;
    }
    plat::RegisterClass(AClass);
    ValidatorClassNames.Add(name);
}

void UnregisterValidatorClass(plat::TClass AClass)
{
    if (AClass == nullptr) {
        return;
    }
    const int index = ValidatorClassNames.IndexOf(AClass->ClassName());
    if (index < 0) {
        return;
    }
    ValidatorClassNames.Delete(index);
    plat::UnRegisterClass(AClass);
}

} // namespace qel
