// The class registry: classes registered by name so that the filer (and
// any other reader of stored class names) can build objects of the class a
// stream names. Names compare without case. Every registration is
// process-wide and thread-safe.
#pragma once

#include "platform/objects/object.h"
#include "platform/streams.h"

#include <initializer_list>
#include <string_view>

namespace plat {

class EFilerError : public EStreamError {
public:
    using EStreamError::EStreamError;
};

// Raised for a class name that is not registered, or that names a class
// of another kind than the one asked for.
class EClassNotFound : public EFilerError {
public:
    using EFilerError::EFilerError;
};

// Registering a class a second time changes nothing; another class under a
// name already registered raises EFilerError.
void RegisterClass(TClass cls);
void RegisterClasses(std::initializer_list<TClass> classes);
void UnRegisterClass(TClass cls);

// The registered class of that name, or nullptr.
TClass GetClass(std::string_view className);
// The registered class of that name; raises EClassNotFound when there is
// none, or when base is given and the class is not base or one of its
// descendants.
TClass FindClass(std::string_view className, TClass base = nullptr);

// Class groups. The program works with a single group: starting,
// activating and joining groups is recorded, and every registered class is
// found whatever group is active.
void StartClassGroup(TClass groupClass);
// Answers the group class that was active before.
TClass ActivateClassGroup(TClass groupClass);
void GroupDescendentsWith(TClass cls, TClass groupClass);

} // namespace plat
