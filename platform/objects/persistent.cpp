// TPersistent: assignment between objects and its failure.
#include "platform/objects/persistent.h"

namespace plat {

PLAT_DEFINE_CLASS(TPersistent, TObject)

void TPersistent::Assign(const TPersistent* source)
{
    if (source == nullptr) {
        AssignError(nullptr);
    }
    source->AssignTo(this);
}

std::string TPersistent::GetNamePath() const
{
    return std::string(ClassName());
}

void TPersistent::AssignTo(TPersistent* dest) const
{
    dest->AssignError(this);
}

void TPersistent::DefineProperties(TFiler&)
{
}

void TPersistent::AssignError(const TPersistent* source) const
{
    const std::string sourceName = source != nullptr ? std::string(source->ClassName()) : "nil";
    throw EAssignError("Cannot assign a " + sourceName + " to a " + std::string(ClassName()));
}

} // namespace plat
