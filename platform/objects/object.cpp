// The root object and its class metadata: ancestry, the virtual
// constructor and the published-property lookup.
#include "platform/objects/object.h"

#include "platform/ascii_case.h"

#include <algorithm>
#include <string>
#include <utility>

namespace plat {

TClassInfo::TClassInfo(std::string_view className, TClass parent, TConstructor constructor,
                       std::vector<TPropInfo> properties)
    : FClassName(className), FParent(parent), FConstructor(constructor), FProperties(std::move(properties))
{
}

bool TClassInfo::InheritsFrom(TClass ancestor) const
{
    for (TClass current = this; current != nullptr; current = current->FParent) {
        if (current == ancestor) {
            return true;
        }
    }
    return false;
}

TObject* TClassInfo::Create(TObject* owner) const
{
    if (FConstructor == nullptr) {
        throw EInvalidCast("Cannot create an instance of " + std::string(FClassName));
    }
    return FConstructor(owner);
}

std::vector<const TPropInfo*> TClassInfo::Properties() const
{
    std::vector<const TPropInfo*> result = FParent != nullptr ? FParent->Properties()
                                                              : std::vector<const TPropInfo*>{};
    for (const TPropInfo& own : FProperties) {
        auto inherited = std::find_if(result.begin(), result.end(), [&own](const TPropInfo* entry) {
            return SameText(entry->Name(), own.Name());
        });
        if (inherited != result.end()) {
            *inherited = &own;
        } else {
            result.push_back(&own);
        }
    }
    return result;
}

const TPropInfo* TClassInfo::FindProperty(std::string_view name) const
{
    for (TClass current = this; current != nullptr; current = current->FParent) {
        for (const TPropInfo& entry : current->FProperties) {
            if (SameText(entry.Name(), name)) {
                return &entry;
            }
        }
    }
    return nullptr;
}

TClass TObject::StaticClass()
{
    static const TClassInfo info("TObject", nullptr, ConstructorOf<TObject>(), {});
    return &info;
}

} // namespace plat
