// TObject, the root of the object model, and its class metadata: the class
// name, the parent class, a virtual constructor that takes the new object's
// owner, and the published-property table the filer streams by.
//
// A class takes part by naming itself in its declaration and defining its
// metadata once in its source file:
//
//     class TGauge : public TComponent {
//         PLAT_CLASS(TGauge, TComponent)
//     public:
//         explicit TGauge(TComponent* owner);
//         ...
//     };
//
//     PLAT_DEFINE_CLASS(TGauge, TComponent,
//         plat::Published("Value", &TGauge::Value, &TGauge::SetValue).Default(0))
//
// A class without PLAT_CLASS answers its nearest declared ancestor's class.
#pragma once

#include "platform/objects/published_property.h"

#include <string_view>
#include <type_traits>
#include <vector>

namespace plat {

class TObject;

// The virtual constructor: builds an object of the class with the given
// owner (ignored by classes whose constructor takes none).
using TConstructor = TObject* (*)(TObject* owner);

class TClassInfo {
public:
    TClassInfo(std::string_view className, TClass parent, TConstructor constructor,
               std::vector<TPropInfo> properties);
    TClassInfo(const TClassInfo&) = delete;
    TClassInfo& operator=(const TClassInfo&) = delete;

    std::string_view ClassName() const { return FClassName; }
    TClass ClassParent() const { return FParent; }
    // True for this class and each of its descendants.
    bool InheritsFrom(TClass ancestor) const;

    // False for abstract classes and classes built only by their own code.
    bool CanCreate() const { return FConstructor != nullptr; }
    // Builds a new object of this very class; raises EInvalidCast when the
    // class cannot be built or the owner is of the wrong kind.
    TObject* Create(TObject* owner = nullptr) const;
    // Create, typed; T must be this class or one of its ancestors.
    template <class T>
    T* CreateAs(TObject* owner = nullptr) const;

    // The class's own entries, in declaration order.
    const std::vector<TPropInfo>& OwnProperties() const { return FProperties; }
    // Every published property, ancestors' first; an entry a descendant
    // declares again replaces its ancestor's in place.
    std::vector<const TPropInfo*> Properties() const;
    // The property of that name (compared without case), or nullptr.
    const TPropInfo* FindProperty(std::string_view name) const;

private:
    std::string_view FClassName;
    TClass FParent;
    TConstructor FConstructor;
    std::vector<TPropInfo> FProperties;
};

class TObject {
public:
    // The kind of owner a class's constructor takes; void for none.
    using TOwnerType = void;

    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;

    static TClass StaticClass();
    virtual TClass ClassType() const { return StaticClass(); }
    std::string_view ClassName() const { return ClassType()->ClassName(); }
    bool InheritsFrom(TClass ancestor) const { return ClassType()->InheritsFrom(ancestor); }
};

namespace object_detail {

template <class TOwner>
TOwner* CastOwner(TObject* owner)
{
    TOwner* typed = dynamic_cast<TOwner*>(owner);
    if (owner != nullptr && typed == nullptr) {
        throw EInvalidCast("Invalid class typecast");
    }
    return typed;
}

} // namespace object_detail

// The virtual constructor of T, or nullptr when T cannot be built from an
// owner alone.
template <class T>
constexpr TConstructor ConstructorOf()
{
    using TOwner = typename T::TOwnerType;
    if constexpr (std::is_abstract_v<T>) {
        return nullptr;
    } else if constexpr (std::is_void_v<TOwner>) {
        if constexpr (std::is_default_constructible_v<T>) {
            return [](TObject*) -> TObject* { return new T(); };
        } else {
            return nullptr;
        }
    } else if constexpr (std::is_constructible_v<T, TOwner*>) {
        return [](TObject* owner) -> TObject* { return new T(object_detail::CastOwner<TOwner>(owner)); };
    } else {
        return nullptr;
    }
}

template <class T>
T* TClassInfo::CreateAs(TObject* owner) const
{
    TObject* instance = Create(owner);
    T* typed = dynamic_cast<T*>(instance);
    if (typed == nullptr) {
        delete instance;
        throw EInvalidCast("Invalid class typecast");
    }
    return typed;
}

} // namespace plat

// In a class declaration: the class's metadata accessors. Leaves the
// following declarations public.
#define PLAT_CLASS(Self, Parent)                                                                   \
public:                                                                                            \
    static ::plat::TClass StaticClass();                                                           \
    ::plat::TClass ClassType() const override { return StaticClass(); }

// In the class's source file, inside its namespace: the metadata, with the
// class's published properties (Published(...) entries) after the parent.
#define PLAT_DEFINE_CLASS(Self, Parent, ...)                                                       \
    ::plat::TClass Self::StaticClass()                                                             \
    {                                                                                              \
        static const ::plat::TClassInfo info(#Self, Parent::StaticClass(),                         \
                                             ::plat::ConstructorOf<Self>(), {__VA_ARGS__});        \
        return &info;                                                                              \
    }
