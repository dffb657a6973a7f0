// Method-pointer events: a handler is an object and one of its member
// functions (or a plain function), so two events compare equal when they
// run the same code on the same object, and "same code" can be asked alone.
#pragma once

#include <cstddef>
#include <cstring>
#include <functional>
#include <memory>
#include <type_traits>
#include <utility>

namespace plat {

class TObject;

template <class Signature>
class TEvent;

template <class R, class... Args>
class TEvent<R(Args...)> {
public:
    TEvent() = default;
    TEvent(std::nullptr_t) {}

    // object->method, where method belongs to object's class or an ancestor.
    template <class C, class M>
        requires std::is_base_of_v<M, C>
    TEvent(C* object, R (M::*method)(Args...))
    {
        Bind(static_cast<M*>(object), method, &InvokeMember<M, R (M::*)(Args...)>);
    }
    template <class C, class M>
        requires std::is_base_of_v<M, C>
    TEvent(const C* object, R (M::*method)(Args...) const)
    {
        Bind(const_cast<M*>(static_cast<const M*>(object)), method,
             &InvokeMember<const M, R (M::*)(Args...) const>);
    }
    // A plain function: the object part is nullptr.
    TEvent(R (*function)(Args...))
    {
        if (function != nullptr) {
            Bind(nullptr, function, &InvokeFunction);
        }
    }
    // Any other callable (a lambda with captures): its code is this one
    // stored copy, so it equals only the events copied from it.
    template <class F>
        requires(!std::is_convertible_v<F, R (*)(Args...)> && std::is_invocable_r_v<R, F&, Args...> &&
                 !std::is_same_v<std::remove_cvref_t<F>, TEvent>)
    TEvent(F callable)
        : FClosure(std::make_shared<std::function<R(Args...)>>(std::move(callable)))
    {
        const void* code = FClosure.get();
        std::memcpy(FCode, &code, sizeof code);
        FInvoke = &InvokeClosure;
    }

    bool Assigned() const { return FInvoke != nullptr; }
    explicit operator bool() const { return Assigned(); }

    // Runs the handler; an unassigned event does nothing and answers R().
    R operator()(Args... args) const
    {
        if (FInvoke == nullptr) {
            return R();
        }
        return FInvoke(*this, std::forward<Args>(args)...);
    }

    // The object part (nullptr for plain functions and closures).
    const void* Data() const { return FData; }
    // True when both run the same code, on whatever object.
    bool SameCode(const TEvent& other) const
    {
        return FInvoke == other.FInvoke && std::memcmp(FCode, other.FCode, sizeof FCode) == 0;
    }
    friend bool operator==(const TEvent& a, const TEvent& b) { return a.SameCode(b) && a.FData == b.FData; }

private:
    using TInvoke = R (*)(const TEvent&, Args...);

    template <class P>
    void Bind(void* data, P code, TInvoke invoke)
    {
        static_assert(sizeof(P) <= sizeof(FCode) && std::is_trivially_copyable_v<P>);
        FData = data;
        std::memcpy(FCode, &code, sizeof code);
        FInvoke = invoke;
    }

    template <class M, class P>
    static R InvokeMember(const TEvent& event, Args... args)
    {
        P method;
        std::memcpy(&method, event.FCode, sizeof method);
        return (static_cast<M*>(event.FData)->*method)(std::forward<Args>(args)...);
    }
    static R InvokeFunction(const TEvent& event, Args... args)
    {
        R (*function)(Args...);
        std::memcpy(&function, event.FCode, sizeof function);
        return function(std::forward<Args>(args)...);
    }
    static R InvokeClosure(const TEvent& event, Args... args)
    {
        return (*event.FClosure)(std::forward<Args>(args)...);
    }

    TInvoke FInvoke = nullptr;                 // nullptr: unassigned
    void* FData = nullptr;                     // the object the code runs on
    unsigned char FCode[2 * sizeof(void*)] = {};   // member or function pointer, zero-padded
    std::shared_ptr<std::function<R(Args...)>> FClosure;   // only for closures
};

// The event most components fire: something about Sender changed or happened.
using TNotifyEvent = TEvent<void(TObject* sender)>;

} // namespace plat
