// Event handlers: an object and one of its member functions, the sender first,
// as the components' events are. A handler can be copied, compared with
// another (same object, same member function) and replaced; calling an empty
// handler does nothing, so a component fires an event only when one is set.
//
// Parameters that a handler may change (Allow, Valid, NewPage ...) are
// references: TEvent<TObject*, bool&>.
#pragma once

#include <array>
#include <cstring>
#include <typeinfo>

class TObject;

// A handler with its parameter types erased: what the page manager saves and
// puts back, and what the form reader and the property table pass around.
// Signature names the parameter list, so an erased handler is only ever
// turned back into an event of the same parameter types.
struct TMethod {
    using CodeBytes = std::array<unsigned char, 2 * sizeof(void*)>;

    void* Data = nullptr;   // the object
    CodeBytes Code{};       // the member function pointer, as bytes
    void (*Caller)() = nullptr;  // calls Code on Data; cast back by TEvent
    const std::type_info* Signature = nullptr;

    explicit operator bool() const { return Caller != nullptr; }
    // Same object and same member function; empty handlers are all equal.
    bool operator==(const TMethod& other) const { return Data == other.Data && Code == other.Code; }
};

template <typename... Args>
class TEvent {
public:
    TEvent() = default;

    template <class C>
    TEvent(C* object, void (C::*method)(Args...))
    {
        static_assert(sizeof method <= sizeof(TMethod::CodeBytes), "member function pointer too large");
        if (!object || !method)
            return;
        m_.Data = object;
        std::memcpy(m_.Code.data(), &method, sizeof method);
        Caller call = [](const TMethod& m, Args... args) {
            void (C::*fn)(Args...);
            std::memcpy(&fn, m.Code.data(), sizeof fn);
            (static_cast<C*>(m.Data)->*fn)(static_cast<Args>(args)...);
        };
        // Any function pointer type converts to another and back unchanged.
        m_.Caller = reinterpret_cast<void (*)()>(call);
        m_.Signature = &Signature();
    }

    // An erased handler of the same parameter types, or an empty one; use
    // Accepts first when the types are not known to match.
    static TEvent FromMethod(const TMethod& method)
    {
        TEvent e;
        if (Accepts(method))
            e.m_ = method;
        return e;
    }
    static bool Accepts(const TMethod& method) { return !method || *method.Signature == Signature(); }
    static const std::type_info& Signature() { return typeid(void(Args...)); }

    explicit operator bool() const { return m_.Caller != nullptr; }
    void operator()(Args... args) const
    {
        if (m_.Caller)
            reinterpret_cast<Caller>(m_.Caller)(m_, static_cast<Args>(args)...);
    }
    bool operator==(const TEvent& other) const { return m_ == other.m_; }

    // The object the handler calls (nullptr for an empty handler).
    void* Object() const { return m_.Data; }
    const TMethod& Method() const { return m_; }
    void Clear() { m_ = TMethod(); }

private:
    using Caller = void (*)(const TMethod&, Args...);
    TMethod m_;
};

// The most common event: something happened to Sender.
using TNotifyEvent = TEvent<TObject*>;
