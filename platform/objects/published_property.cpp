// Published properties: defaults, stored predicates and the builder steps.
#include "platform/objects/published_property.h"

namespace plat {

bool TPropInfo::IsOrdinal() const
{
    switch (FKind) {
    case TPropertyKind::Integer:
    case TPropertyKind::Int64:
    case TPropertyKind::Enumeration:
    case TPropertyKind::Boolean:
    case TPropertyKind::Set:
        return true;
    case TPropertyKind::Float:
    case TPropertyKind::String:
    case TPropertyKind::Object:
        break;
    }
    return false;
}

bool TPropInfo::IsReadOnly() const
{
    switch (FKind) {
    case TPropertyKind::Float:
        return !FSetFloat;
    case TPropertyKind::String:
        return !FSetString;
    case TPropertyKind::Object:
        return !FSetObject;
    default:
        return !FSetOrdinal;
    }
}

bool TPropInfo::IsDefault(const TObject& instance) const
{
    switch (FKind) {
    case TPropertyKind::Float:
        return GetFloat(instance) == FFloatDefault;
    case TPropertyKind::String:
        return GetString(instance) == FStringDefault;
    case TPropertyKind::Object:
        return GetObject(instance) == nullptr;
    default:
        return FOrdinalDefault.has_value() && GetOrdinal(instance) == *FOrdinalDefault;
    }
}

TPropInfo&& TPropInfo::Stored(bool stored) &&
{
    FStored = [stored](const TObject&) { return stored; };
    return std::move(*this);
}

TPropInfo&& TPropInfo::StoredIf(TStoredPredicate predicate) &&
{
    FStored = std::move(predicate);
    return std::move(*this);
}

TPropInfo&& TPropInfo::Idents(TIdentMap map) &&
{
    FIdentMap = map;
    return std::move(*this);
}

} // namespace plat
