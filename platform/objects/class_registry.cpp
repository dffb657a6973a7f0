// The class registry: one process-wide table of classes by name.
#include "platform/objects/class_registry.h"

#include "platform/ascii_case.h"

#include <map>
#include <mutex>
#include <string>

namespace plat {

namespace {

struct TRegistry {
    std::mutex Lock;
    std::map<std::string, TClass> ByFoldedName;
    TClass ActiveGroup = nullptr;
};

TRegistry& Registry()
{
    static TRegistry registry;
    return registry;
}

} // namespace

void RegisterClass(TClass cls)
{
    TRegistry& registry = Registry();
    std::lock_guard lock(registry.Lock);
    const auto [entry, added] = registry.ByFoldedName.try_emplace(FoldCase(cls->ClassName()), cls);
    if (!added && entry->second != cls) {
        throw EFilerError("A class named " + std::string(cls->ClassName()) + " already exists");
    }
}

void RegisterClasses(std::initializer_list<TClass> classes)
{
    for (TClass cls : classes) {
        RegisterClass(cls);
    }
}

void UnRegisterClass(TClass cls)
{
    TRegistry& registry = Registry();
    std::lock_guard lock(registry.Lock);
    const auto entry = registry.ByFoldedName.find(FoldCase(cls->ClassName()));
    if (entry != registry.ByFoldedName.end() && entry->second == cls) {
        registry.ByFoldedName.erase(entry);
    }
}

TClass GetClass(std::string_view className)
{
    TRegistry& registry = Registry();
    std::lock_guard lock(registry.Lock);
    const auto entry = registry.ByFoldedName.find(FoldCase(className));
    return entry != registry.ByFoldedName.end() ? entry->second : nullptr;
}

TClass FindClass(std::string_view className, TClass base)
{
    const TClass cls = GetClass(className);
    if (cls == nullptr || (base != nullptr && !cls->InheritsFrom(base))) {
        throw EClassNotFound("Class " + std::string(className) + " not found");
    }
    return cls;
}

void StartClassGroup(TClass groupClass)
{
    RegisterClass(groupClass);
}

TClass ActivateClassGroup(TClass groupClass)
{
    TRegistry& registry = Registry();
    std::lock_guard lock(registry.Lock);
    const TClass previous = registry.ActiveGroup;
    registry.ActiveGroup = groupClass;
    return previous;
}

void GroupDescendentsWith(TClass, TClass)
{
}

} // namespace plat
