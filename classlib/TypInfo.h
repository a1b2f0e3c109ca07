// Published properties and handlers of the class library's classes, and the
// registry of component classes by name. The form reader sets properties and
// binds events through these tables; the property storage reads and writes
// chosen properties as text.
//
// A class publishes by overriding ClassInfo with its own StaticClass, whose
// table names its parent's and lists what it adds; the parent's properties
// are inherited. In the .cpp:
//
//     const TClassInfo& TMyButton::StaticClass()
//     {
//         static const TClassInfo info("TMyButton", &TButton::StaticClass(), &NewComponent<TMyButton>,
//             {
//                 PublishInteger<&TMyButton::Margin, &TMyButton::SetMargin>("Margin"),
//                 PublishEnum<&TMyButton::Kind, &TMyButton::SetKind>("Kind", {"bkCustom", "bkOK"}),
//                 PublishEvent<&TMyButton::OnDropDown>("OnDropDown"),
//             });
//         return info;
//     }
//
// A getter is a const member function or a data member; a setter a member
// function taking the value or a data member; a property without a setter
// is read-only. A form class lists its event handlers the same way, in the
// fifth argument: PublishHandler<&TeMain::bDalejClick>("bDalejClick").
//
// Values by kind, as the generic accessors see them:
//   integer      int (GetOrdProp); text: decimal ("$1F" and "0x1F" are read too)
//   float        double (GetFloatProp); text: FloatToStr, the locale's separator
//   boolean      0 or 1; text "False" / "True"
//   enumeration  the member's ordinal; text: the member's name
//   set          bit N for member N (members 0 to 31); text "[a,b]"
//   colour       the 32-bit colour as int; text: decimal (what the storage
//                writes); read back also by name, such as "clWindow"
//                (the colour names of Graphics.h)
//   string       text as is
//   nested object, string list: GetObjectProp; the object's own class table
//                gives its properties (Font.Style: the font, then its Style).
//                A collection (TCollection) is a nested object too; its
//                items publish their properties in their own class tables
//   component reference: GetComponentProp, SetComponentPropByName
//   event        GetMethodProp / SetMethodProp, BindEventProp; the handler's
//                parameter types must match the event's
// Names are looked up without regard to letter case.
#pragma once

#include <string>
#include <type_traits>
#include <typeinfo>
#include <vector>

#include "classlib/Classes.h"

// A property that does not exist, is read-only, or cannot take the value
// given; a handler that does not exist or does not fit its event.
class EPropertyError : public Exception {
public:
    using Exception::Exception;
};

// A component class name that nobody registered.
class EClassNotFound : public Exception {
public:
    using Exception::Exception;
};

enum class TPropKind {
    pkInteger,
    pkBoolean,
    pkString,
    pkEnumeration,
    pkSet,
    pkColor,
    pkFloat,      // a floating-point number
    pkClass,      // a nested object the owner keeps (a font, hint settings)
    pkComponent,  // a reference to another component
    pkStrings,    // a string list
    pkMethod,     // an event
};

// The precision a floating-point property keeps.
enum class TFloatType { ftSingle, ftDouble };

// One published property. Only the accessors of its kind are set: the
// ordinal ones for integer, boolean, enumeration, set and colour, the float
// ones for float, the string ones for string, the object ones for nested
// objects, string lists and component references, the method ones for
// events.
struct TPropInfo {
    std::string Name;
    TPropKind Kind = TPropKind::pkInteger;
    TFloatType FloatType = TFloatType::ftDouble;
    std::vector<std::string> Names;              // enumeration and set members, by ordinal
    const std::type_info* Signature = nullptr;   // event: the handler's parameter types

    int (*GetOrd)(const TObject*) = nullptr;
    void (*SetOrd)(TObject*, int) = nullptr;
    double (*GetFloat)(const TObject*) = nullptr;
    void (*SetFloat)(TObject*, double) = nullptr;
    std::string (*GetStr)(const TObject*) = nullptr;
    void (*SetStr)(TObject*, const std::string&) = nullptr;
    TObject* (*GetObj)(const TObject*) = nullptr;
    void (*SetObj)(TObject*, TObject*) = nullptr;
    TMethod (*GetMeth)(const TObject*) = nullptr;
    void (*SetMeth)(TObject*, const TMethod&) = nullptr;

    bool IsReadOnly() const { return !SetOrd && !SetFloat && !SetStr && !SetObj && !SetMeth; }
};

// One event handler of a form class, to be bound by name.
struct THandlerInfo {
    std::string Name;
    const std::type_info* Signature = nullptr;
    TMethod (*Bind)(TObject* root) = nullptr;  // the handler on that object
};

using TComponentFactory = TComponent* (*)(TComponent* owner);

template <class C>
TComponent* NewComponent(TComponent* owner)
{
    return new C(owner);
}

class TClassInfo {
public:
    TClassInfo(std::string name, const TClassInfo* parent, TComponentFactory create = nullptr,
               std::vector<TPropInfo> props = {}, std::vector<THandlerInfo> handlers = {});
    TClassInfo(const TClassInfo&) = delete;
    TClassInfo& operator=(const TClassInfo&) = delete;

    const std::string& Name() const { return name_; }
    const TClassInfo* Parent() const { return parent_; }
    bool InheritsFrom(const TClassInfo& other) const;

    // This class's property of that name, else the nearest parent's; nullptr
    // when none has it.
    const TPropInfo* FindProp(const std::string& name) const;
    // Every property, the parents' first, each in declaration order; one
    // that a class publishes again stands where the parent had it.
    std::vector<const TPropInfo*> Props() const;
    const THandlerInfo* FindHandler(const std::string& name) const;

    bool CanCreate() const { return create_ != nullptr; }
    // A new component of this class; raises EClassNotFound when the class
    // has no factory.
    TComponent* CreateComponent(TComponent* owner) const;

private:
    std::string name_;
    const TClassInfo* parent_;
    TComponentFactory create_;
    std::vector<TPropInfo> props_;
    std::vector<THandlerInfo> handlers_;
};

// The registry of component classes by name, for the form reader. A second
// registration of the same class does nothing; another class under a name
// already registered raises EComponentError.
void RegisterComponentClass(const TClassInfo& info);
// The class of that name (case-insensitive), or nullptr.
const TClassInfo* GetComponentClass(const std::string& name);
// The same; raises EClassNotFound naming the class when there is none.
const TClassInfo& FindComponentClass(const std::string& name);

// Look-up of an object's property by name: nullptr, or EPropertyError with
// the property's and the class's names.
const TPropInfo* GetPropInfo(const TObject* instance, const std::string& name);
const TPropInfo& FindPropInfo(const TObject* instance, const std::string& name);

// Generic access. Each raises EPropertyError for a property of another kind
// and for writing a read-only one; a setter's own errors pass through.
int GetOrdProp(const TObject* instance, const TPropInfo& prop);
void SetOrdProp(TObject* instance, const TPropInfo& prop, int value);
double GetFloatProp(const TObject* instance, const TPropInfo& prop);
void SetFloatProp(TObject* instance, const TPropInfo& prop, double value);
std::string GetStrProp(const TObject* instance, const TPropInfo& prop);
void SetStrProp(TObject* instance, const TPropInfo& prop, const std::string& value);
// Nested objects and string lists; also component references.
TObject* GetObjectProp(const TObject* instance, const TPropInfo& prop);
// Passes the object to the setter (which usually copies it); an object of
// a class the setter does not take raises EPropertyError.
void SetObjectProp(TObject* instance, const TPropInfo& prop, TObject* value);
TComponent* GetComponentProp(const TObject* instance, const TPropInfo& prop);
void SetComponentProp(TObject* instance, const TPropInfo& prop, TComponent* value);
// Sets the reference to root itself or to root's component of that name
// (case-insensitive); empty text clears it; a name not found raises
// EPropertyError.
void SetComponentPropByName(TObject* instance, const TPropInfo& prop, const TComponent* root,
                            const std::string& name);
TMethod GetMethodProp(const TObject* instance, const TPropInfo& prop);
// An empty method clears the event; one of other parameter types raises.
void SetMethodProp(TObject* instance, const TPropInfo& prop, const TMethod& method);
// Sets the event to root's handler of that name, from root's class table
// of handlers (for the form reader: root is the form). A handler that does
// not exist or does not fit the event raises EPropertyError.
void BindEventProp(TObject* instance, const TPropInfo& prop, TObject* root, const std::string& handlerName);

// The text form of the simple kinds (integer, boolean, enumeration, set,
// colour, float, string); other kinds raise EPropertyError.
std::string GetPropText(const TObject* instance, const TPropInfo& prop);
// Integers, colours and floats that are not numbers raise EConvertError; a boolean or
// enumeration name that is no member raises EPropertyError. A set text is
// split at blanks, ",", "[" and "]"; each word naming a member sets it,
// other words are skipped; the result replaces the whole set.
void SetPropText(TObject* instance, const TPropInfo& prop, const std::string& text);

namespace typinfo_detail {

template <class M>
struct Member;
template <class C, class T>
struct Member<T C::*> {
    using Class = C;
    using Type = T;  // a data member's type, or a member function's type
};

template <class M>
struct SetterArg;
template <class C, class P>
struct SetterArg<void (C::*)(P)> {
    using Type = std::decay_t<P>;
};

template <auto Get>
decltype(auto) Read(const TObject* o)
{
    using C = typename Member<decltype(Get)>::Class;
    C* c = static_cast<C*>(const_cast<TObject*>(o));
    if constexpr (std::is_member_function_pointer_v<decltype(Get)>)
        return (c->*Get)();
    else
        return (c->*Get);
}

// The type a setter takes.
template <auto Set>
auto ArgOf()
{
    if constexpr (std::is_member_function_pointer_v<decltype(Set)>)
        return static_cast<typename SetterArg<decltype(Set)>::Type*>(nullptr);
    else
        return static_cast<std::decay_t<typename Member<decltype(Set)>::Type>*>(nullptr);
}
template <auto Set>
using Arg = std::remove_pointer_t<decltype(ArgOf<Set>())>;

template <auto Set, class V>
void Write(TObject* o, const V& v)
{
    using C = typename Member<decltype(Set)>::Class;
    C* c = static_cast<C*>(o);
    if constexpr (std::is_member_function_pointer_v<decltype(Set)>)
        (c->*Set)(static_cast<Arg<Set>>(v));
    else
        c->*Set = static_cast<Arg<Set>>(v);
}

[[noreturn]] void ThrowWrongClass(TObject* value);

template <auto Get, auto Set>
TPropInfo Ordinal(const char* name, TPropKind kind, std::vector<std::string> names)
{
    TPropInfo p;
    p.Name = name;
    p.Kind = kind;
    p.Names = std::move(names);
    p.GetOrd = [](const TObject* o) { return static_cast<int>(Read<Get>(o)); };
    if constexpr (!std::is_null_pointer_v<decltype(Set)>)
        p.SetOrd = [](TObject* o, int v) { Write<Set>(o, v); };
    return p;
}

template <auto Get, auto Set>
TPropInfo Object(const char* name, TPropKind kind)
{
    TPropInfo p;
    p.Name = name;
    p.Kind = kind;
    p.GetObj = [](const TObject* o) -> TObject* { return Read<Get>(o); };
    if constexpr (!std::is_null_pointer_v<decltype(Set)>)
        p.SetObj = [](TObject* o, TObject* v) {
            auto typed = dynamic_cast<Arg<Set>>(v);
            if (v && !typed)
                ThrowWrongClass(v);
            Write<Set>(o, typed);
        };
    return p;
}

template <class M>
struct Handler;
template <class C, class... Args>
struct Handler<void (C::*)(Args...)> {
    using Class = C;
    using Event = TEvent<Args...>;
};

} // namespace typinfo_detail

template <auto Get, auto Set = nullptr>
TPropInfo PublishInteger(const char* name)
{
    return typinfo_detail::Ordinal<Get, Set>(name, TPropKind::pkInteger, {});
}

template <auto Get, auto Set = nullptr>
TPropInfo PublishBoolean(const char* name)
{
    return typinfo_detail::Ordinal<Get, Set>(name, TPropKind::pkBoolean, {"False", "True"});
}

template <auto Get, auto Set = nullptr>
TPropInfo PublishEnum(const char* name, std::vector<std::string> names)
{
    return typinfo_detail::Ordinal<Get, Set>(name, TPropKind::pkEnumeration, std::move(names));
}

// The value is a bit mask: bit N for the member named names[N].
template <auto Get, auto Set = nullptr>
TPropInfo PublishSet(const char* name, std::vector<std::string> names)
{
    return typinfo_detail::Ordinal<Get, Set>(name, TPropKind::pkSet, std::move(names));
}

template <auto Get, auto Set = nullptr>
TPropInfo PublishColor(const char* name)
{
    return typinfo_detail::Ordinal<Get, Set>(name, TPropKind::pkColor, {});
}

template <auto Get, auto Set = nullptr>
TPropInfo PublishFloat(const char* name, TFloatType type = TFloatType::ftDouble)
{
    using namespace typinfo_detail;
    TPropInfo p;
    p.Name = name;
    p.Kind = TPropKind::pkFloat;
    p.FloatType = type;
    p.GetFloat = [](const TObject* o) { return static_cast<double>(Read<Get>(o)); };
    if constexpr (!std::is_null_pointer_v<decltype(Set)>)
        p.SetFloat = [](TObject* o, double v) { Write<Set>(o, v); };
    return p;
}

template <auto Get, auto Set = nullptr>
TPropInfo PublishString(const char* name)
{
    using namespace typinfo_detail;
    TPropInfo p;
    p.Name = name;
    p.Kind = TPropKind::pkString;
    p.GetStr = [](const TObject* o) { return std::string(Read<Get>(o)); };
    if constexpr (!std::is_null_pointer_v<decltype(Set)>)
        p.SetStr = [](TObject* o, const std::string& v) { Write<Set>(o, v); };
    return p;
}

// A nested object the component keeps; a setter usually copies the value in.
template <auto Get, auto Set = nullptr>
TPropInfo PublishObject(const char* name)
{
    return typinfo_detail::Object<Get, Set>(name, TPropKind::pkClass);
}

template <auto Get, auto Set = nullptr>
TPropInfo PublishStrings(const char* name)
{
    return typinfo_detail::Object<Get, Set>(name, TPropKind::pkStrings);
}

// A reference to another component: the component holding it asks for a
// free notification and clears it in Notification.
template <auto Get, auto Set = nullptr>
TPropInfo PublishComponent(const char* name)
{
    return typinfo_detail::Object<Get, Set>(name, TPropKind::pkComponent);
}

// An event, usually a public TEvent field: PublishEvent<&TButton::OnClick>.
template <auto Get, auto Set = Get>
TPropInfo PublishEvent(const char* name)
{
    using namespace typinfo_detail;
    using E = std::decay_t<decltype(Read<Get>(nullptr))>;
    TPropInfo p;
    p.Name = name;
    p.Kind = TPropKind::pkMethod;
    p.Signature = &E::Signature();
    p.GetMeth = [](const TObject* o) { return Read<Get>(o).Method(); };
    if constexpr (!std::is_null_pointer_v<decltype(Set)>)
        p.SetMeth = [](TObject* o, const TMethod& m) { Write<Set>(o, E::FromMethod(m)); };
    return p;
}

// An event handler of a form class, bound by name when the form is read.
template <auto Method>
THandlerInfo PublishHandler(const char* name)
{
    using H = typinfo_detail::Handler<decltype(Method)>;
    THandlerInfo h;
    h.Name = name;
    h.Signature = &H::Event::Signature();
    h.Bind = [](TObject* root) {
        auto typed = dynamic_cast<typename H::Class*>(root);
        if (!typed)
            typinfo_detail::ThrowWrongClass(root);
        return typename H::Event(typed, Method).Method();
    };
    return h;
}
