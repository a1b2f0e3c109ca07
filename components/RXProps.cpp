#include "components/RXProps.h"

#include <map>
#include <memory>

#include "classlib/Forms.h"
#include "classlib/Lists.h"

namespace {

// Blanks and control characters at either end go.
std::string Trim(const std::string& s)
{
    size_t first = 0;
    size_t last = s.size();
    while (first < last && static_cast<unsigned char>(s[first]) <= ' ')
        ++first;
    while (last > first && static_cast<unsigned char>(s[last - 1]) <= ' ')
        --last;
    return s.substr(first, last - first);
}

bool SameText(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && AnsiUpperCase(a) == AnsiUpperCase(b);
}

// A stored count of lines or items; -1 for a damaged one, which loads
// nothing rather than billions of entries.
int StoredCount(const std::string& text)
{
    int count = 0;
    if (!TryStrToInt(text, count) || count < 0 || count > 65535)
        return -1;
    return count;
}

bool IsStringKind(TPropKind kind)
{
    return kind == TPropKind::pkString;
}

bool IsObjectKind(TPropKind kind)
{
    return kind == TPropKind::pkClass || kind == TPropKind::pkStrings || kind == TPropKind::pkComponent;
}

int Precision(TFloatType type)
{
    return type == TFloatType::ftSingle ? 7 : 15;
}

std::string ReplaceChar(std::string s, char from, char to)
{
    for (char& c : s)
        if (c == from)
            c = to;
    return s;
}

} // namespace

// ---------------------------------------------------------------------------
// TPropInfoList

TPropInfoList::TPropInfoList(const TObject* object)
{
    if (!object)
        return;
    for (const TPropInfo* p : object->ClassInfo()->Props())
        if (p->Kind != TPropKind::pkMethod)
            items_.push_back(p);
}

const TPropInfo* TPropInfoList::FindByName(const std::string& name) const
{
    for (const TPropInfo* p : items_)
        if (SameText(p->Name, name))
            return p;
    return nullptr;
}

// ---------------------------------------------------------------------------
// TPropsStorage

std::string TPropsStorage::ReadText(const std::string& ASection, const std::string& Ident, const std::string& Default)
{
    std::string result;
    if (OnReadText)
        OnReadText(ASection, Ident, Default, result);
    return result;
}

void TPropsStorage::WriteText(const std::string& ASection, const std::string& Ident, const std::string& Value)
{
    OnWriteText(ASection, Ident, Value);
}

void TPropsStorage::ClearSection(const std::string& ASection)
{
    OnClearSection(ASection);
}

std::string TPropsStorage::ItemName(const std::string& PropName) const
{
    return Prefix + PropName;
}

TPropsStorage* TPropsStorage::NewStorage()
{
    return new TPropsStorage;
}

void TPropsStorage::StoreStoredProps(TComponent* Root, TStrings* List)
{
    StoreOrLoad(Root, List, true);
}

void TPropsStorage::LoadStoredProps(TComponent* Root, TStrings* List)
{
    StoreOrLoad(Root, List, false);
}

void TPropsStorage::StoreOrLoad(TComponent* Root, TStrings* List, bool store)
{
    ResolveStoredList(Root, List, false);
    if (!List)
        return;
    // One property list per component, however many entries name it.
    std::map<std::string, std::unique_ptr<TPropInfoList>> props;
    try {
        for (int i = 0; i < List->Count(); ++i)
            if (auto* c = dynamic_cast<TComponent*>(List->Objects(i))) {
                std::unique_ptr<TPropInfoList>& slot = props[AnsiUpperCase(c->Name())];
                if (!slot)
                    slot = std::make_unique<TPropInfoList>(c);
            }
    } catch (...) {
        return;
    }
    struct RootScope {
        TPropsStorage* self;
        ~RootScope() { self->RootOwner = nullptr; }
    } scope{this};
    RootOwner = Root;
    for (int i = 0; i < List->Count(); ++i) {
        std::string componentName, propName;
        auto* c = dynamic_cast<TComponent*>(List->Objects(i));
        if (!c || !SplitStoredItem(List->Strings(i), componentName, propName))
            continue;
        Subject = c;
        Prefix = c->Name();
        auto found = props.find(AnsiUpperCase(Prefix));
        if (found == props.end())
            continue;
        Prefix += "_";
        const TPropInfo* p = found->second->FindByName(propName);
        if (store)
            StoreProperty(p);
        else
            LoadProperty(p);
    }
}

std::string TPropsStorage::PropertyText(const TPropInfo& prop) const
{
    switch (prop.Kind) {
    case TPropKind::pkFloat:
        // Stored the same whatever the locale.
        return ReplaceChar(FloatToStrG(GetFloatProp(Subject, prop), Precision(prop.FloatType)),
                           FormatSettings().DecimalSeparator, '.');
    case TPropKind::pkInteger:
    case TPropKind::pkColor:
    case TPropKind::pkBoolean:
    case TPropKind::pkEnumeration:
    case TPropKind::pkSet:
    case TPropKind::pkString:
        return GetPropText(Subject, prop);
    default:
        return "";
    }
}

void TPropsStorage::StoreProperty(const TPropInfo* PropInfo)
{
    if (!PropInfo)
        return;
    const TPropInfo& prop = *PropInfo;
    std::string text;
    switch (prop.Kind) {
    case TPropKind::pkMethod:
        return;
    case TPropKind::pkStrings:
    case TPropKind::pkClass: {
        TObject* object = GetObjectProp(Subject, prop);
        if (auto* list = dynamic_cast<TStrings*>(object))
            StoreList(prop, list);
        else if (auto* collection = dynamic_cast<TCollection*>(object))
            StoreCollection(prop, collection);
        if (object)
            ObjectProps(object, ItemName(prop.Name), Section, true);
        break;
    }
    case TPropKind::pkComponent:
        text = ComponentText(GetComponentProp(Subject, prop));
        break;
    default:
        text = PropertyText(prop);
    }
    if (text.empty() && !IsStringKind(prop.Kind))
        return;
    WriteText(Section, ItemName(prop.Name), Trim(text));
}

void TPropsStorage::LoadProperty(const TPropInfo* PropInfo)
{
    if (!PropInfo)
        return;
    const TPropInfo& prop = *PropInfo;
    if (prop.Kind == TPropKind::pkMethod)
        return;
    try {
        std::string text = PropertyText(prop);
        // A missing value reads as the current text, so a first load changes
        // nothing.
        if (!text.empty() || IsStringKind(prop.Kind) || IsObjectKind(prop.Kind))
            text = Trim(ReadText(Section, ItemName(prop.Name), text));
        else
            text.clear();
        switch (prop.Kind) {
        case TPropKind::pkStrings:
        case TPropKind::pkClass: {
            TObject* object = GetObjectProp(Subject, prop);
            if (auto* list = dynamic_cast<TStrings*>(object))
                LoadList(prop, list);
            else if (auto* collection = dynamic_cast<TCollection*>(object))
                LoadCollection(prop, collection);
            if (object)
                ObjectProps(object, ItemName(prop.Name), Section, false);
            break;
        }
        case TPropKind::pkComponent:
            LoadComponent(prop, text);
            break;
        default:
            ApplyText(prop, text);
        }
    } catch (...) {
        // A text that does not fit leaves the property as it was; the next
        // one is loaded all the same.
    }
}

void TPropsStorage::ApplyText(const TPropInfo& prop, const std::string& text)
{
    switch (prop.Kind) {
    case TPropKind::pkInteger:
    case TPropKind::pkColor:
        SetOrdProp(Subject, prop, StrToIntDef(text, 0));
        break;
    case TPropKind::pkBoolean:
    case TPropKind::pkEnumeration:
        for (size_t i = 0; i < prop.Names.size(); ++i)
            if (SameText(prop.Names[i], text)) {
                SetOrdProp(Subject, prop, static_cast<int>(i));
                break;
            }
        break;
    case TPropKind::pkSet:
        SetPropText(Subject, prop, text);
        break;
    case TPropKind::pkFloat:
        SetFloatProp(Subject, prop, StrToFloat(ReplaceChar(text, '.', FormatSettings().DecimalSeparator)));
        break;
    case TPropKind::pkString:
        SetStrProp(Subject, prop, text);
        break;
    default:
        break;
    }
}

void TPropsStorage::StoreList(const TPropInfo& prop, TStrings* list)
{
    const std::string section = Section + "." + ItemName(prop.Name);
    ClearSection(section);
    if (list->Count() == 0)
        return;
    WriteText(section, "Count", IntToStr(list->Count()));
    for (int i = 0; i < list->Count(); ++i)
        WriteText(section, "Item" + IntToStr(i), list->Strings(i));
}

void TPropsStorage::LoadList(const TPropInfo& prop, TStrings* list)
{
    const std::string section = Section + "." + ItemName(prop.Name);
    const int count = StoredCount(ReadText(section, "Count", "0"));
    if (count <= 0)
        return;
    TStringList lines;
    for (int i = 0; i < count; ++i)
        lines.Add(ReadText(section, "Item" + IntToStr(i), ""));
    if (prop.SetObj)
        SetObjectProp(Subject, prop, &lines);
    else
        list->Assign(&lines);
}

void TPropsStorage::StoreCollection(const TPropInfo& prop, TCollection* collection)
{
    const std::string itemSection = Section + "." + ItemName(prop.Name);
    ClearSection(itemSection);
    WriteText(Section, prop.Name + ".Count", IntToStr(collection->Count()));
    for (int i = 0; i < collection->Count(); ++i)
        ObjectProps(collection->Items(i), "Item" + IntToStr(i) + "_", itemSection, true);
}

void TPropsStorage::LoadCollection(const TPropInfo& prop, TCollection* collection)
{
    const std::string itemSection = Section + "." + ItemName(prop.Name);
    const int count = StoredCount(ReadText(Section, prop.Name + ".Count", IntToStr(collection->Count())));
    if (count < 0)
        return;
    collection->BeginUpdate();
    try {
        if (count != collection->Count()) {
            collection->Clear();
            for (int i = 0; i < count; ++i)
                collection->Add();
        }
        for (int i = 0; i < collection->Count(); ++i)
            ObjectProps(collection->Items(i), "Item" + IntToStr(i) + "_", itemSection, false);
    } catch (...) {
        collection->EndUpdate();
        throw;
    }
    collection->EndUpdate();
}

std::string TPropsStorage::ComponentText(TComponent* component) const
{
    if (!component)
        return "(null)";
    TComponent* owner = component->Owner();
    if (!owner || owner == RootOwner)
        return component->Name();
    std::string ownerName = owner->Name();
    if (ownerName.empty()) {
        ownerName = owner->ClassName();
        if (!ownerName.empty() && (ownerName[0] == 'T' || ownerName[0] == 't'))
            ownerName.erase(0, 1);
    }
    return ownerName + "." + component->Name();
}

void TPropsStorage::LoadComponent(const TPropInfo& prop, const std::string& text)
{
    if (text.empty())
        return;
    if (SameText(text, "(null)")) {
        SetComponentProp(Subject, prop, nullptr);
        return;
    }
    const size_t dot = text.find('.');
    const std::string ownerName = dot == std::string::npos ? "" : text.substr(0, dot);
    const std::string name = dot == std::string::npos ? text : text.substr(dot + 1);
    TComponent* owner = ownerName.empty() ? RootOwner : FindFormByName(ownerName);
    if (owner)
        SetComponentProp(Subject, prop, owner->FindComponent(name));
}

void TPropsStorage::ObjectProps(TObject* object, const std::string& prefix, const std::string& section, bool store)
{
    std::unique_ptr<TPropsStorage> nested(NewStorage());
    nested->Subject = object;
    nested->Prefix = prefix;
    nested->Section = section;
    nested->OnReadText = OnReadText;
    nested->OnWriteText = OnWriteText;
    nested->OnClearSection = OnClearSection;
    TPropInfoList props(object);
    for (int i = 0; i < props.Count(); ++i)
        if (store)
            nested->StoreProperty(props.Items(i));
        else
            nested->LoadProperty(props.Items(i));
}

// ---------------------------------------------------------------------------
// Stored-property lists

bool SplitStoredItem(const std::string& Item, std::string& ComponentName, std::string& PropName)
{
    const size_t dot = Item.find('.');
    if (dot == std::string::npos) {
        ComponentName.clear();
        PropName.clear();
        return false;
    }
    ComponentName = Trim(Item.substr(0, dot));
    PropName = Trim(Item.substr(dot + 1));
    return !ComponentName.empty() && !PropName.empty();
}

std::string JoinStoredItem(const std::string& ComponentName, const std::string& PropName)
{
    if (ComponentName.empty() || PropName.empty())
        return "";
    return ComponentName + "." + PropName;
}

std::string RenameStoredItem(const std::string& Item, const std::string& NewComponentName)
{
    std::string componentName, propName;
    if (!SplitStoredItem(Item, componentName, propName))
        return "";
    return JoinStoredItem(NewComponentName, propName);
}

void ResolveStoredList(TComponent* Root, TStrings* List, bool FromForm)
{
    if (!Root || !List)
        return;
    for (int i = List->Count() - 1; i >= 0; --i) {
        std::string componentName, propName;
        if (!SplitStoredItem(List->Strings(i), componentName, propName)) {
            List->Delete(i);
        } else if (FromForm) {
            if (TComponent* c = Root->FindComponent(componentName))
                List->SetObjects(i, c);
            else
                List->Delete(i);
        } else if (auto* c = dynamic_cast<TComponent*>(List->Objects(i))) {
            List->SetStrings(i, JoinStoredItem(c->Name(), propName));
        } else {
            List->Delete(i);
        }
    }
}

TComponent* FindFormByName(const std::string& Name)
{
    if (!Screen)
        return nullptr;
    for (int i = 0; i < Screen->FormCount(); ++i)
        if (SameText(Screen->Forms(i)->Name(), Name))
            return Screen->Forms(i);
    return nullptr;
}
