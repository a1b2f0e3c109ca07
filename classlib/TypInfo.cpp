#include "classlib/TypInfo.h"

#include <map>

#include "classlib/Graphics.h"

namespace {

bool SameName(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && AnsiUpperCase(a) == AnsiUpperCase(b);
}

// Decimal with an optional sign, or hexadecimal after "$" or "0x"; the whole
// text must be the number and fit 32 bits (hexadecimal up to 0xFFFFFFFF, as
// colours are written). TryStrToInt's reading without the leniency it has
// for typed input: no leading blanks and no bare "x" before hex digits.
bool TextToInt(const std::string& text, int& value)
{
    const size_t start = !text.empty() && (text[0] == '-' || text[0] == '+') ? 1 : 0;
    if (!text.empty() && text[0] == ' ')
        return false;
    if (start < text.size() && (text[start] == 'x' || text[start] == 'X'))
        return false;
    return TryStrToInt(text, value);
}

[[noreturn]] void ThrowKind(const TPropInfo& prop, const char* wanted)
{
    throw EPropertyError("Property " + prop.Name + " is not " + wanted);
}

[[noreturn]] void ThrowReadOnly(const TPropInfo& prop)
{
    throw EPropertyError("Property " + prop.Name + " is read-only");
}

[[noreturn]] void ThrowInvalidValue(const TPropInfo& prop, const std::string& text)
{
    throw EPropertyError("Invalid value \"" + text + "\" for property " + prop.Name);
}

bool IsOrdinal(TPropKind kind)
{
    return kind == TPropKind::pkInteger || kind == TPropKind::pkBoolean || kind == TPropKind::pkEnumeration ||
           kind == TPropKind::pkSet || kind == TPropKind::pkColor;
}

bool IsObject(TPropKind kind)
{
    return kind == TPropKind::pkClass || kind == TPropKind::pkStrings || kind == TPropKind::pkComponent;
}

int MemberIndex(const TPropInfo& prop, const std::string& name)
{
    for (size_t i = 0; i < prop.Names.size(); ++i)
        if (SameName(prop.Names[i], name))
            return static_cast<int>(i);
    return -1;
}

std::map<std::string, const TClassInfo*>& Registry()
{
    static std::map<std::string, const TClassInfo*> classes;
    return classes;
}

} // namespace

void typinfo_detail::ThrowWrongClass(TObject* value)
{
    throw EPropertyError("Invalid property value: a " + value->ClassName());
}

TClassInfo::TClassInfo(std::string name, const TClassInfo* parent, TComponentFactory create,
                       std::vector<TPropInfo> props, std::vector<THandlerInfo> handlers)
    : name_(std::move(name)), parent_(parent), create_(create), props_(std::move(props)), handlers_(std::move(handlers))
{
}

bool TClassInfo::InheritsFrom(const TClassInfo& other) const
{
    for (const TClassInfo* c = this; c; c = c->parent_)
        if (c == &other)
            return true;
    return false;
}

const TPropInfo* TClassInfo::FindProp(const std::string& name) const
{
    for (const TClassInfo* c = this; c; c = c->parent_)
        for (const TPropInfo& p : c->props_)
            if (SameName(p.Name, name))
                return &p;
    return nullptr;
}

std::vector<const TPropInfo*> TClassInfo::Props() const
{
    std::vector<const TPropInfo*> list = parent_ ? parent_->Props() : std::vector<const TPropInfo*>();
    for (const TPropInfo& p : props_) {
        bool replaced = false;
        for (const TPropInfo*& q : list)
            if (SameName(q->Name, p.Name)) {
                q = &p;
                replaced = true;
            }
        if (!replaced)
            list.push_back(&p);
    }
    return list;
}

const THandlerInfo* TClassInfo::FindHandler(const std::string& name) const
{
    for (const TClassInfo* c = this; c; c = c->parent_)
        for (const THandlerInfo& h : c->handlers_)
            if (SameName(h.Name, name))
                return &h;
    return nullptr;
}

TComponent* TClassInfo::CreateComponent(TComponent* owner) const
{
    if (!create_)
        throw EClassNotFound("Class " + name_ + " cannot be created by name");
    return create_(owner);
}

void RegisterComponentClass(const TClassInfo& info)
{
    const TClassInfo*& slot = Registry()[AnsiUpperCase(info.Name())];
    if (slot && slot != &info)
        throw EComponentError("A class named " + info.Name() + " already exists");
    slot = &info;
}

const TClassInfo* GetComponentClass(const std::string& name)
{
    auto it = Registry().find(AnsiUpperCase(name));
    return it == Registry().end() ? nullptr : it->second;
}

const TClassInfo& FindComponentClass(const std::string& name)
{
    const TClassInfo* info = GetComponentClass(name);
    if (!info)
        throw EClassNotFound("Class " + name + " not found");
    return *info;
}

const TPropInfo* GetPropInfo(const TObject* instance, const std::string& name)
{
    return instance ? instance->ClassInfo()->FindProp(name) : nullptr;
}

const TPropInfo& FindPropInfo(const TObject* instance, const std::string& name)
{
    const TPropInfo* prop = GetPropInfo(instance, name);
    if (!prop)
        throw EPropertyError("Property " + name + " does not exist" +
                             (instance ? " in " + instance->ClassName() : std::string()));
    return *prop;
}

int GetOrdProp(const TObject* instance, const TPropInfo& prop)
{
    if (!IsOrdinal(prop.Kind))
        ThrowKind(prop, "an ordinal value");
    return prop.GetOrd(instance);
}

void SetOrdProp(TObject* instance, const TPropInfo& prop, int value)
{
    if (!IsOrdinal(prop.Kind))
        ThrowKind(prop, "an ordinal value");
    if (!prop.SetOrd)
        ThrowReadOnly(prop);
    prop.SetOrd(instance, value);
}

double GetFloatProp(const TObject* instance, const TPropInfo& prop)
{
    if (prop.Kind != TPropKind::pkFloat)
        ThrowKind(prop, "a floating-point value");
    return prop.GetFloat(instance);
}

void SetFloatProp(TObject* instance, const TPropInfo& prop, double value)
{
    if (prop.Kind != TPropKind::pkFloat)
        ThrowKind(prop, "a floating-point value");
    if (!prop.SetFloat)
        ThrowReadOnly(prop);
    prop.SetFloat(instance, value);
}

std::string GetStrProp(const TObject* instance, const TPropInfo& prop)
{
    if (prop.Kind != TPropKind::pkString)
        ThrowKind(prop, "a string");
    return prop.GetStr(instance);
}

void SetStrProp(TObject* instance, const TPropInfo& prop, const std::string& value)
{
    if (prop.Kind != TPropKind::pkString)
        ThrowKind(prop, "a string");
    if (!prop.SetStr)
        ThrowReadOnly(prop);
    prop.SetStr(instance, value);
}

TObject* GetObjectProp(const TObject* instance, const TPropInfo& prop)
{
    if (!IsObject(prop.Kind))
        ThrowKind(prop, "an object");
    return prop.GetObj(instance);
}

void SetObjectProp(TObject* instance, const TPropInfo& prop, TObject* value)
{
    if (!IsObject(prop.Kind))
        ThrowKind(prop, "an object");
    if (!prop.SetObj)
        ThrowReadOnly(prop);
    prop.SetObj(instance, value);
}

TComponent* GetComponentProp(const TObject* instance, const TPropInfo& prop)
{
    if (prop.Kind != TPropKind::pkComponent)
        ThrowKind(prop, "a component reference");
    // The getter gives a component type, so this cast only restores it.
    return static_cast<TComponent*>(prop.GetObj(instance));
}

void SetComponentProp(TObject* instance, const TPropInfo& prop, TComponent* value)
{
    if (prop.Kind != TPropKind::pkComponent)
        ThrowKind(prop, "a component reference");
    SetObjectProp(instance, prop, value);
}

void SetComponentPropByName(TObject* instance, const TPropInfo& prop, const TComponent* root,
                            const std::string& name)
{
    TComponent* target = nullptr;
    if (!name.empty()) {
        if (root && SameName(root->Name(), name))
            target = const_cast<TComponent*>(root);
        else if (root)
            target = root->FindComponent(name);
        if (!target)
            throw EPropertyError("Component " + name + " not found for property " + prop.Name);
    }
    SetComponentProp(instance, prop, target);
}

TMethod GetMethodProp(const TObject* instance, const TPropInfo& prop)
{
    if (prop.Kind != TPropKind::pkMethod)
        ThrowKind(prop, "an event");
    return prop.GetMeth(instance);
}

void SetMethodProp(TObject* instance, const TPropInfo& prop, const TMethod& method)
{
    if (prop.Kind != TPropKind::pkMethod)
        ThrowKind(prop, "an event");
    if (!prop.SetMeth)
        ThrowReadOnly(prop);
    if (method && *method.Signature != *prop.Signature)
        throw EPropertyError("The handler does not fit event " + prop.Name);
    prop.SetMeth(instance, method);
}

void BindEventProp(TObject* instance, const TPropInfo& prop, TObject* root, const std::string& handlerName)
{
    if (prop.Kind != TPropKind::pkMethod)
        ThrowKind(prop, "an event");
    const THandlerInfo* handler = root ? root->ClassInfo()->FindHandler(handlerName) : nullptr;
    if (!handler)
        throw EPropertyError("Handler " + handlerName + " not found" + (root ? " in " + root->ClassName() : std::string()));
    if (*handler->Signature != *prop.Signature)
        throw EPropertyError("Handler " + handlerName + " does not fit event " + prop.Name);
    SetMethodProp(instance, prop, handler->Bind(root));
}

std::string GetPropText(const TObject* instance, const TPropInfo& prop)
{
    switch (prop.Kind) {
    case TPropKind::pkInteger:
    case TPropKind::pkColor:
        return std::to_string(prop.GetOrd(instance));
    case TPropKind::pkBoolean:
        return prop.Names[prop.GetOrd(instance) != 0];
    case TPropKind::pkEnumeration: {
        const int v = prop.GetOrd(instance);
        if (v >= 0 && static_cast<size_t>(v) < prop.Names.size())
            return prop.Names[v];
        return std::to_string(v);
    }
    case TPropKind::pkSet: {
        const unsigned bits = static_cast<unsigned>(prop.GetOrd(instance));
        std::string text = "[";
        for (size_t i = 0; i < prop.Names.size() && i < 32; ++i)
            if (bits & (1u << i)) {
                if (text.size() > 1)
                    text += ',';
                text += prop.Names[i];
            }
        return text + "]";
    }
    case TPropKind::pkFloat:
        return FloatToStr(prop.GetFloat(instance));
    case TPropKind::pkString:
        return prop.GetStr(instance);
    default:
        ThrowKind(prop, "a simple value");
    }
}

void SetPropText(TObject* instance, const TPropInfo& prop, const std::string& text)
{
    int value = 0;
    switch (prop.Kind) {
    case TPropKind::pkInteger:
        if (!TextToInt(text, value))
            throw EConvertError("'" + text + "' is not a valid integer value");
        break;
    case TPropKind::pkColor:
        value = StringToColor(text);
        break;
    case TPropKind::pkBoolean:
    case TPropKind::pkEnumeration:
        value = MemberIndex(prop, text);
        if (value < 0)
            ThrowInvalidValue(prop, text);
        break;
    case TPropKind::pkSet: {
        unsigned bits = 0;
        size_t i = 0;
        while (i < text.size()) {
            const size_t end = text.find_first_of(" ,[]", i);
            const std::string word = text.substr(i, end == std::string::npos ? std::string::npos : end - i);
            const int member = word.empty() ? -1 : MemberIndex(prop, word);
            if (member >= 0 && member < 32)
                bits |= 1u << member;
            if (end == std::string::npos)
                break;
            i = end + 1;
        }
        value = static_cast<int>(bits);
        break;
    }
    case TPropKind::pkFloat:
        SetFloatProp(instance, prop, StrToFloat(text));
        return;
    case TPropKind::pkString:
        SetStrProp(instance, prop, text);
        return;
    default:
        ThrowKind(prop, "a simple value");
    }
    SetOrdProp(instance, prop, value);
}
