// Event handlers: an object and one of its member functions, the sender first,
// as the components' events are. A handler can be copied, compared with
// another (same object, same member function) and replaced; calling an empty
// handler does nothing, so a component fires an event only when one is set.
#pragma once

#include <array>
#include <cstring>

class TObject;

template <typename... Args>
class TEvent {
public:
    TEvent() = default;

    template <class C>
    TEvent(C* object, void (C::*method)(Args...))
    {
        static_assert(sizeof method <= sizeof(Method), "member function pointer too large");
        object_ = object;
        std::memcpy(method_.data(), &method, sizeof method);
        call_ = [](void* obj, const Method& m, Args... args) {
            void (C::*fn)(Args...);
            std::memcpy(&fn, m.data(), sizeof fn);
            (static_cast<C*>(obj)->*fn)(args...);
        };
    }

    explicit operator bool() const { return call_ != nullptr; }
    void operator()(Args... args) const
    {
        if (call_)
            call_(object_, method_, args...);
    }
    bool operator==(const TEvent& other) const
    {
        return object_ == other.object_ && call_ == other.call_ && method_ == other.method_;
    }
    // The object the handler calls (nullptr for an empty handler).
    void* Object() const { return object_; }
    void Clear() { *this = TEvent(); }

private:
    using Method = std::array<unsigned char, 2 * sizeof(void*)>;
    void* object_ = nullptr;
    Method method_{};
    void (*call_)(void*, const Method&, Args...) = nullptr;
};

// The most common event: something happened to Sender.
using TNotifyEvent = TEvent<TObject*>;
