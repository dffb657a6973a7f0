// Published properties: the table entries through which the filer reads and
// writes an object's state by name, without knowing the object's class.
// A class lists its entries in PLAT_DEFINE_CLASS (object.h), built with
// Published(); each entry reaches the value through the class's own getter
// and setter.
#pragma once

#include "platform/objects/set.h"

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <limits>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

namespace plat {

class TObject;
class TClassInfo;
using TClass = const TClassInfo*;

// Raised when an object is handed where an object of another class is needed.
class EInvalidCast : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class TPropertyKind {
    Integer,       // a whole number (any integer type up to 32 bits)
    Int64,         // a 64-bit whole number
    Enumeration,   // one of Names(), by ordinal
    Boolean,
    Set,           // a TSet of Names(), as a bit mask
    Float,
    String,        // UTF-8 text
    Object,        // a sub-object, a collection or a component reference
};

// Integer values that have names of their own (colours, cursors): the filer
// writes the name where one exists and reads either form.
struct TIdentMap {
    bool (*IntToIdent)(std::int64_t value, std::string& ident);
    bool (*IdentToInt)(std::string_view ident, std::int64_t& value);
};

class TPropInfo {
public:
    using TOrdinalGetter = std::function<std::int64_t(const TObject&)>;
    using TOrdinalSetter = std::function<void(TObject&, std::int64_t)>;
    using TFloatGetter = std::function<double(const TObject&)>;
    using TFloatSetter = std::function<void(TObject&, double)>;
    using TStringGetter = std::function<std::string(const TObject&)>;
    using TStringSetter = std::function<void(TObject&, const std::string&)>;
    using TObjectGetter = std::function<TObject*(const TObject&)>;
    using TObjectSetter = std::function<void(TObject&, TObject*)>;
    using TStoredPredicate = std::function<bool(const TObject&)>;

    TPropInfo(std::string name, TPropertyKind kind) : FName(std::move(name)), FKind(kind) {}

    const std::string& Name() const { return FName; }
    TPropertyKind Kind() const { return FKind; }
    bool IsOrdinal() const;
    // True when the value cannot be set (a sub-object or collection is then
    // read into the object the getter answers).
    bool IsReadOnly() const;
    // The range an ordinal value must lie in (a set: the bits of its names).
    std::int64_t MinValue() const { return FMinValue; }
    std::int64_t MaxValue() const { return FMaxValue; }
    // Identifiers of an enumeration's values or a set's elements, by ordinal.
    const std::vector<std::string>& Names() const { return FNames; }
    // The declared class of an Object property.
    TClass ObjectClass() const { return FObjectClass ? FObjectClass() : nullptr; }
    const TIdentMap* IdentMap() const { return FIdentMap ? &*FIdentMap : nullptr; }

    std::int64_t GetOrdinal(const TObject& instance) const { return FGetOrdinal(instance); }
    // value must lie in MinValue() .. MaxValue().
    void SetOrdinal(TObject& instance, std::int64_t value) const { FSetOrdinal(instance, value); }
    double GetFloat(const TObject& instance) const { return FGetFloat(instance); }
    void SetFloat(TObject& instance, double value) const { FSetFloat(instance, value); }
    std::string GetString(const TObject& instance) const { return FGetString(instance); }
    void SetString(TObject& instance, const std::string& value) const { FSetString(instance, value); }
    TObject* GetObject(const TObject& instance) const { return FGetObject(instance); }
    // Raises EInvalidCast when value is not of ObjectClass().
    void SetObject(TObject& instance, TObject* value) const { FSetObject(instance, value); }

    // False when the stored predicate says so: the filer then writes nothing.
    bool IsStored(const TObject& instance) const { return !FStored || FStored(instance); }
    // True when the value equals the default, which the filer leaves out. An
    // ordinal without a default is always written; a number's default is 0
    // and a text's the empty text unless set; an object reference's is none.
    bool IsDefault(const TObject& instance) const;

    // Builder steps, used where the class lists its properties.
    template <class V>
    TPropInfo&& Default(V value) &&;
    TPropInfo&& Stored(bool stored) &&;
    TPropInfo&& StoredIf(TStoredPredicate predicate) &&;
    template <class C>
    TPropInfo&& StoredIf(bool (C::*predicate)() const) &&;
    TPropInfo&& Idents(TIdentMap map) &&;

    // Filled by Published(); not meant for other callers.
    TOrdinalGetter FGetOrdinal;
    TOrdinalSetter FSetOrdinal;
    TFloatGetter FGetFloat;
    TFloatSetter FSetFloat;
    TStringGetter FGetString;
    TStringSetter FSetString;
    TObjectGetter FGetObject;
    TObjectSetter FSetObject;
    TClass (*FObjectClass)() = nullptr;   // late: a class may name its own class
    std::int64_t FMinValue = 0;
    std::int64_t FMaxValue = 0;
    std::vector<std::string> FNames;

private:
    std::string FName;
    TPropertyKind FKind;
    std::optional<std::int64_t> FOrdinalDefault;
    double FFloatDefault = 0;
    std::string FStringDefault;
    TStoredPredicate FStored;
    std::optional<TIdentMap> FIdentMap;
};

namespace property_detail {

template <class T>
struct TMemberOf;
template <class R, class C>
struct TMemberOf<R (C::*)() const> {
    using TClass = C;
};
template <class R, class C>
struct TMemberOf<R C::*> {
    using TClass = C;
};

template <class V>
struct TIsSet : std::false_type {};
template <class E>
struct TIsSet<TSet<E>> : std::true_type {};

template <class V>
constexpr bool kIsString = std::is_convertible_v<V, std::string_view>;

template <class C, class Setter, class V>
void Assign(C& instance, const Setter& setter, V&& value)
{
    if constexpr (std::is_member_object_pointer_v<Setter>) {
        instance.*setter = std::forward<V>(value);
    } else {
        (instance.*setter)(std::forward<V>(value));
    }
}

template <class C, class Getter>
decltype(auto) Fetch(const TObject& instance, const Getter& getter)
{
    const C& typed = static_cast<const C&>(instance);
    if constexpr (std::is_member_object_pointer_v<Getter>) {
        return typed.*getter;
    } else {
        return (typed.*getter)();
    }
}

template <class C, class V, class Getter, class Setter>
TPropInfo MakeOrdinal(std::string name, Getter getter, Setter setter,
                      std::initializer_list<std::string_view> names, TPropertyKind kind,
                      std::int64_t minValue, std::int64_t maxValue)
{
    TPropInfo info(std::move(name), kind);
    info.FMinValue = minValue;
    info.FMaxValue = maxValue;
    for (std::string_view item : names) {
        info.FNames.emplace_back(item);
    }
    info.FGetOrdinal = [getter](const TObject& instance) -> std::int64_t {
        const V value = Fetch<C>(instance, getter);
        if constexpr (TIsSet<V>::value) {
            return static_cast<std::int64_t>(value.Bits());
        } else {
            return static_cast<std::int64_t>(value);
        }
    };
    if constexpr (!std::is_same_v<Setter, std::nullptr_t>) {
        info.FSetOrdinal = [setter](TObject& instance, std::int64_t value) {
            C& typed = static_cast<C&>(instance);
            if constexpr (TIsSet<V>::value) {
                Assign(typed, setter, V::FromBits(static_cast<std::uint64_t>(value)));
            } else {
                Assign(typed, setter, static_cast<V>(value));
            }
        };
    }
    return info;
}

} // namespace property_detail

// A published property read through getter (a const member function or a
// field) and written through setter (a member function, a field, or nullptr
// for a read-only property). The value type decides the kind; an enumeration
// or a set names its values, by ordinal, in names.
template <class Getter, class Setter>
TPropInfo Published(std::string name, Getter getter, Setter setter,
                    std::initializer_list<std::string_view> names = {})
{
    namespace pd = property_detail;
    using C = typename pd::TMemberOf<Getter>::TClass;
    using V = std::remove_cvref_t<decltype(pd::Fetch<C>(std::declval<const TObject&>(), getter))>;
    constexpr bool kHasSetter = !std::is_same_v<Setter, std::nullptr_t>;

    if constexpr (std::is_same_v<V, bool>) {
        return pd::MakeOrdinal<C, V>(std::move(name), getter, setter, names, TPropertyKind::Boolean, 0, 1);
    } else if constexpr (std::is_enum_v<V>) {
        const auto last = static_cast<std::int64_t>(names.size()) - 1;
        return pd::MakeOrdinal<C, V>(std::move(name), getter, setter, names, TPropertyKind::Enumeration, 0, last);
    } else if constexpr (pd::TIsSet<V>::value) {
        const std::int64_t bits = names.size() >= 63 ? std::numeric_limits<std::int64_t>::max()
                                                     : (std::int64_t{1} << names.size()) - 1;
        return pd::MakeOrdinal<C, V>(std::move(name), getter, setter, names, TPropertyKind::Set, 0, bits);
    } else if constexpr (std::is_integral_v<V>) {
        static_assert(sizeof(V) < 8 || std::is_signed_v<V>, "unsigned 64-bit properties are not streamed");
        const TPropertyKind kind = sizeof(V) == 8 ? TPropertyKind::Int64 : TPropertyKind::Integer;
        return pd::MakeOrdinal<C, V>(std::move(name), getter, setter, names, kind, std::numeric_limits<V>::min(),
                                     std::numeric_limits<V>::max());
    } else if constexpr (std::is_floating_point_v<V>) {
        TPropInfo info(std::move(name), TPropertyKind::Float);
        info.FGetFloat = [getter](const TObject& instance) -> double {
            return static_cast<double>(pd::Fetch<C>(instance, getter));
        };
        if constexpr (kHasSetter) {
            info.FSetFloat = [setter](TObject& instance, double value) {
                pd::Assign(static_cast<C&>(instance), setter, static_cast<V>(value));
            };
        }
        return info;
    } else if constexpr (pd::kIsString<V>) {
        TPropInfo info(std::move(name), TPropertyKind::String);
        info.FGetString = [getter](const TObject& instance) -> std::string {
            return std::string(pd::Fetch<C>(instance, getter));
        };
        if constexpr (kHasSetter) {
            info.FSetString = [setter](TObject& instance, const std::string& value) {
                pd::Assign(static_cast<C&>(instance), setter, value);
            };
        }
        return info;
    } else {
        static_assert(std::is_pointer_v<V>, "unsupported published property type");
        using T = std::remove_cv_t<std::remove_pointer_t<V>>;
        TPropInfo info(std::move(name), TPropertyKind::Object);
        info.FObjectClass = &T::StaticClass;
        info.FGetObject = [getter](const TObject& instance) -> TObject* {
            return const_cast<T*>(pd::Fetch<C>(instance, getter));
        };
        if constexpr (kHasSetter) {
            info.FSetObject = [setter](TObject& instance, TObject* value) {
                T* typed = dynamic_cast<T*>(value);
                if (value != nullptr && typed == nullptr) {
                    throw EInvalidCast("Invalid class typecast");
                }
                pd::Assign(static_cast<C&>(instance), setter, typed);
            };
        }
        return info;
    }
}

template <class V>
TPropInfo&& TPropInfo::Default(V value) &&
{
    if constexpr (property_detail::TIsSet<V>::value) {
        FOrdinalDefault = static_cast<std::int64_t>(value.Bits());
    } else if constexpr (std::is_same_v<V, bool> || std::is_integral_v<V> || std::is_enum_v<V>) {
        FOrdinalDefault = static_cast<std::int64_t>(value);
    } else if constexpr (std::is_floating_point_v<V>) {
        FFloatDefault = static_cast<double>(value);
    } else {
        static_assert(property_detail::kIsString<V>, "unsupported default value");
        FStringDefault = std::string(value);
    }
    return std::move(*this);
}

template <class C>
TPropInfo&& TPropInfo::StoredIf(bool (C::*predicate)() const) &&
{
    FStored = [predicate](const TObject& instance) {
        return (static_cast<const C&>(instance).*predicate)();
    };
    return std::move(*this);
}

} // namespace plat
