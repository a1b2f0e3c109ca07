#include "classlib/FormReader.h"

#include <windows.h>

#include <algorithm>
#include <charconv>

#include "classlib/FormParser.h"
#include "classlib/Lists.h"
#include "classlib/TypInfo.h"

namespace {

bool SameName(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && AnsiUpperCase(a) == AnsiUpperCase(b);
}

// A number with a fraction as descriptions write it: a "." before the
// fraction, whatever the locale's separator.
double FormNumber(const std::string& text)
{
    double value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end)
        throw EPropertyError("'" + text + "' is not a valid floating point value");
    return value;
}

// The class name without its namespaces, as the description names it.
std::string PlainClassName(const TObject* object)
{
    const std::string name = object->ClassName();
    const size_t colon = name.rfind("::");
    return colon == std::string::npos ? name : name.substr(colon + 2);
}

// An error already worded with its line and place: passed on as it is.
class EFormError : public EReadError {
public:
    using EReadError::EReadError;
};

// Keeps the list of components made by a read true when one of them is freed
// before the read is over (a setter or a Loaded that frees a sibling).
class TLoadTracker : public TComponent {
public:
    TLoadTracker() : TComponent(nullptr) {}
    // The components stay; only the links to them go.
    ~TLoadTracker() override
    {
        for (TComponent* c : Created)
            RemoveFreeNotification(c);
    }

    void Track(TComponent* component)
    {
        Created.push_back(component);
        FreeNotification(component);
    }

    std::vector<TComponent*> Created;

protected:
    void Notification(TComponent* component, TOperation operation) override
    {
        if (operation == TOperation::opRemove)
            Created.erase(std::remove(Created.begin(), Created.end(), component), Created.end());
    }

public:
    bool Alive(const TComponent* component) const
    {
        return std::find(Created.begin(), Created.end(), component) != Created.end();
    }
};

// A reference to a component, set once every component exists.
struct TFixup {
    TObject* Instance;
    const TPropInfo* Prop;
    std::string Target;
    int Line;
    std::string Where;
};

class TFormBuilder {
public:
    TFormBuilder(TComponent* root, const std::string& sourceName) : root_(root), source_(sourceName) {}

    void Read(const TFormObject& form)
    {
        root_->SetLoading(true);
        try {
            ReadRoot(form);
            ResolveFixups();
        } catch (...) {
            Undo();
            throw;
        }
        CallLoaded();
    }

private:
    [[noreturn]] void Fail(int line, const std::string& where, const std::string& message)
    {
        throw EFormError(FormErrorText(source_, line, where, message));
    }

    // Runs step; an error of the class library gets the line and the place.
    template <class F>
    void Guard(int line, const std::string& where, F step)
    {
        try {
            step();
        } catch (const EFormError&) {
            throw;
        } catch (const Exception& e) {
            Fail(line, where, e.Message());
        }
    }

    void ReadRoot(const TFormObject& form)
    {
        // The description must be the root's own: a form class or one of its ancestors.
        bool matches = SameName(PlainClassName(root_), form.ClassName);
        for (const TClassInfo* c = root_->ClassInfo(); c && !matches; c = c->Parent())
            matches = SameName(c->Name(), form.ClassName);
        if (!matches)
            Fail(form.Line, form.Name, "The description of a " + form.ClassName + " cannot be read into a " +
                                           PlainClassName(root_));
        Guard(form.Line, form.Name, [&] { root_->SetName(UniqueRootName(form.Name)); });
        ReadBody(root_, form);
    }

    // A second form of one class beside the first (two warning dialogs at
    // once) must not fail on its name: it gets "Name_1", "Name_2" ...
    std::string UniqueRootName(const std::string& name) const
    {
        const TComponent* owner = root_->Owner();
        auto taken = [&](const std::string& n) {
            const TComponent* c = owner ? owner->FindComponent(n) : nullptr;
            return c && c != root_;
        };
        std::string unique = name;
        for (int i = 1; taken(unique); ++i)
            unique = name + "_" + std::to_string(i);
        return unique;
    }

    void ReadBody(TComponent* component, const TFormObject& obj)
    {
        for (const TFormProperty& prop : obj.Props) {
            const std::string where = obj.Name + "." + prop.Name;
            Guard(prop.Line, where, [&] { SetProperty(component, prop, where); });
        }
        for (const TFormObject& child : obj.Children)
            ReadChild(component, child);
    }

    void ReadChild(TComponent* parent, const TFormObject& obj)
    {
        const TClassInfo* info = GetComponentClass(obj.ClassName);
        if (!info)
            Fail(obj.Line, obj.Name, "Class " + obj.ClassName + " not found");
        TComponent* component = nullptr;
        Guard(obj.Line, obj.Name, [&] { component = info->CreateComponent(root_); });
        tracker_.Track(component);
        component->SetLoading(true);
        Guard(obj.Line, obj.Name, [&] {
            component->SetName(obj.Name);
            // The form's field of that name, when its class publishes one.
            const TPropInfo* field = root_->ClassInfo()->FindProp(obj.Name);
            if (field && field->Kind == TPropKind::pkComponent && field->SetObj) {
                rootRefs_.push_back(field);
                SetComponentProp(root_, *field, component);
            }
            component->SetParentComponent(parent);
        });
        ReadBody(component, obj);
    }

    void SetProperty(TObject* instance, const TFormProperty& prop, const std::string& where)
    {
        const TPropInfo* info = nullptr;
        size_t start = 0;
        for (;;) {
            const size_t dot = prop.Name.find('.', start);
            const std::string part = prop.Name.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
            const bool last = dot == std::string::npos;
            if (info) {
                // Lines.Strings: the list's lines themselves.
                if (last && info->Kind == TPropKind::pkStrings && SameName(part, "Strings"))
                    break;
                if (info->Kind != TPropKind::pkClass && info->Kind != TPropKind::pkStrings)
                    throw EPropertyError("Property " + info->Name + " has no properties");
                TObject* nested = GetObjectProp(instance, *info);
                if (!nested)
                    throw EPropertyError("Property " + info->Name + " holds no object");
                instance = nested;
            }
            info = &FindPropInfo(instance, part);
            if (last)
                break;
            start = dot + 1;
        }
        SetValue(instance, *info, prop, where);
    }

    void SetValue(TObject* instance, const TPropInfo& info, const TFormProperty& prop, const std::string& where)
    {
        const TFormValue& value = prop.Value;
        auto expect = [&](TFormValue::TKind kind, const char* message) {
            if (value.Kind != kind)
                throw EPropertyError(message);
        };
        switch (info.Kind) {
        case TPropKind::pkInteger:
            expect(TFormValue::fvInteger, "Integer expected");
            SetPropText(instance, info, value.Text);
            break;
        case TPropKind::pkFloat:
            if (value.Kind == TFormValue::fvFloat)
                SetFloatProp(instance, info, FormNumber(value.Text));
            else if (value.Kind == TFormValue::fvInteger)
                SetFloatProp(instance, info, StrToInt(value.Text));
            else
                throw EPropertyError("Number expected");
            break;
        case TPropKind::pkBoolean:
        case TPropKind::pkEnumeration:
            expect(TFormValue::fvIdent, "Identifier expected");
            SetPropText(instance, info, value.Text);
            break;
        case TPropKind::pkColor:
            if (value.Kind != TFormValue::fvInteger && value.Kind != TFormValue::fvIdent)
                throw EPropertyError("Colour expected");
            SetPropText(instance, info, value.Text);
            break;
        case TPropKind::pkString:
            expect(TFormValue::fvString, "String expected");
            SetStrProp(instance, info, value.Text);
            break;
        case TPropKind::pkSet: {
            expect(TFormValue::fvSet, "Set expected");
            // Strict, unlike the text form of the property storage: a
            // misspelt member must not vanish silently.
            unsigned bits = 0;
            for (const std::string& item : value.Items) {
                size_t i = 0;
                while (i < info.Names.size() && i < 32 && !SameName(info.Names[i], item))
                    ++i;
                if (i == info.Names.size() || i == 32)
                    throw EPropertyError("Invalid set member " + item + " for property " + info.Name);
                bits |= 1u << i;
            }
            SetOrdProp(instance, info, static_cast<int>(bits));
            break;
        }
        case TPropKind::pkStrings: {
            expect(TFormValue::fvList, "List of strings expected");
            TStringList lines;
            for (const std::string& item : value.Items)
                lines.Add(item);
            if (info.SetObj) {
                SetObjectProp(instance, info, &lines);
            } else {
                TStrings* target = dynamic_cast<TStrings*>(GetObjectProp(instance, info));
                if (!target)
                    throw EPropertyError("Property " + info.Name + " holds no string list");
                target->Assign(&lines);
            }
            break;
        }
        case TPropKind::pkComponent:
            expect(TFormValue::fvIdent, "Component name expected");
            fixups_.push_back({instance, &info, value.Text, prop.Line, where});
            break;
        case TPropKind::pkMethod:
            expect(TFormValue::fvIdent, "Handler name expected");
            BindEventProp(instance, info, root_, value.Text);
            break;
        case TPropKind::pkClass: {
            auto* collection = dynamic_cast<TCollection*>(GetObjectProp(instance, info));
            if (value.Kind == TFormValue::fvCollection) {
                if (!collection)
                    throw EPropertyError("Property " + info.Name + " is not a collection");
                ReadCollection(collection, prop, where);
                break;
            }
            if (collection)
                throw EPropertyError("Collection expected");
            throw EPropertyError("Property " + info.Name + " is an object: set its properties (" + info.Name +
                                 ".Name = ...)");
        }
        }
    }

    // The description's items replace those the collection had; its owner
    // hears of them once, when all are read.
    void ReadCollection(TCollection* collection, const TFormProperty& prop, const std::string& where)
    {
        collection->BeginUpdate();
        try {
            collection->Clear();
            const std::vector<TFormItem>& items = prop.Value.CollectionItems;
            for (size_t i = 0; i < items.size(); ++i) {
                const std::string owner = where + "[" + std::to_string(i) + "]";
                TCollectionItem* item = nullptr;
                Guard(items[i].Line, owner, [&] { item = collection->Add(); });
                for (const TFormProperty& p : items[i].Props) {
                    const std::string name = owner + "." + p.Name;
                    Guard(p.Line, name, [&] { SetProperty(item, p, name); });
                }
            }
        } catch (...) {
            collection->EndUpdate();
            throw;
        }
        collection->EndUpdate();
    }

    void ResolveFixups()
    {
        for (const TFixup& f : fixups_)
            Guard(f.Line, f.Where, [&] {
                if (f.Instance == root_)
                    rootRefs_.push_back(f.Prop);
                SetComponentPropByName(f.Instance, *f.Prop, root_, f.Target);
            });
    }

    // A failed read leaves the root as it was before: no half-read
    // components, no field pointing at a freed one.
    void Undo()
    {
        for (const TPropInfo* p : rootRefs_) {
            try {
                if (tracker_.Alive(GetComponentProp(root_, *p)))
                    SetComponentProp(root_, *p, nullptr);
            } catch (const Exception&) {
                // The read's own error is the one to report.
            }
        }
        // The last made first: children before their parents.
        while (!tracker_.Created.empty()) {
            TComponent* c = tracker_.Created.back();
            tracker_.Created.pop_back();
            delete c;
        }
        root_->SetLoading(false);
    }

    void CallLoaded()
    {
        std::vector<TComponent*> order = tracker_.Created;
        order.push_back(root_);
        // One freed by an earlier Loaded is no longer tracked.
        auto alive = [&](TComponent* c) { return c == root_ || tracker_.Alive(c); };
        for (size_t i = 0; i < order.size(); ++i) {
            if (!alive(order[i]))
                continue;
            try {
                order[i]->Loaded();
            } catch (...) {
                for (size_t j = i; j < order.size(); ++j)
                    if (alive(order[j]))
                        order[j]->SetLoading(false);
                throw;
            }
        }
    }

    TComponent* root_;
    const std::string& source_;
    TLoadTracker tracker_;
    std::vector<const TPropInfo*> rootRefs_;
    std::vector<TFixup> fixups_;
};

} // namespace

void ReadFormText(TComponent* root, const std::string& text, const std::string& sourceName)
{
    const TFormObject form = ParseFormText(text, sourceName);
    TFormBuilder(root, sourceName).Read(form);
}

bool FormResourceExists(const std::string& resourceName)
{
    return FindResourceA(GetModuleHandleA(nullptr), resourceName.c_str(), RT_RCDATA) != nullptr;
}

void ReadFormResource(TComponent* root, const std::string& resourceName)
{
    // Resource handles of a loaded module need no release.
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, resourceName.c_str(), RT_RCDATA);
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const char* data = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
    if (!data)
        throw EResNotFound("Resource " + resourceName + " not found");
    std::string text(data, SizeofResource(module, found));
    // The resource compiler may pad the data with zeros.
    while (!text.empty() && text.back() == '\0')
        text.pop_back();
    ReadFormText(root, text, resourceName);
}

std::string FormResourceName(const TComponent* root)
{
    return AnsiUpperCase(PlainClassName(root));
}
