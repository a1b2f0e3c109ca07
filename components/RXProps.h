// Storage of chosen published properties of a form's components as text
// values, through read, write and section-erase callbacks the caller gives.
// A stored-property list holds entries "Component.Property", each entry's
// object being the component once resolved; a property P of component C is
// stored under "C_P" in the caller's section.
#pragma once

#include <string>
#include <vector>

#include "classlib/Classes.h"
#include "classlib/TypInfo.h"

class TStrings;
class TCollection;

// The published properties of one object's class in their declaration
// order, events left out. An object given as none gives an empty list.
class TPropInfoList : public TObject {
public:
    explicit TPropInfoList(const TObject* object);
    int Count() const { return static_cast<int>(items_.size()); }
    const TPropInfo* Items(int index) const { return items_.at(index); }
    // Compared without regard to letter case; nullptr when absent.
    const TPropInfo* FindByName(const std::string& name) const;

private:
    std::vector<const TPropInfo*> items_;
};

// (Section, Ident, Default, Result): Result gets the stored text or Default.
using TReadTextEvent = TEvent<const std::string&, const std::string&, const std::string&, std::string&>;
// (Section, Ident, Value)
using TWriteTextEvent = TEvent<const std::string&, const std::string&, const std::string&>;
// (Section)
using TClearSectionEvent = TEvent<const std::string&>;

class TPropsStorage : public TObject {
public:
    TObject* Subject = nullptr;
    // The component owning the stored components, during a whole-list load
    // or store: references to its components are written by name alone.
    TComponent* RootOwner = nullptr;
    std::string Prefix;
    std::string Section;
    TReadTextEvent OnReadText;
    TWriteTextEvent OnWriteText;
    TClearSectionEvent OnClearSection;

    // Each whole-list operation resolves the list first (entries follow
    // their components' names; entries without one go).
    void StoreStoredProps(TComponent* Root, TStrings* List);
    void LoadStoredProps(TComponent* Root, TStrings* List);
    // One property of Subject; nothing for none. Loading never raises: a
    // text that does not fit leaves the property as it was.
    void StoreProperty(const TPropInfo* PropInfo);
    void LoadProperty(const TPropInfo* PropInfo);

    virtual std::string ReadText(const std::string& ASection, const std::string& Ident, const std::string& Default);
    virtual void WriteText(const std::string& ASection, const std::string& Ident, const std::string& Value);
    virtual void ClearSection(const std::string& ASection);
    // Prefix followed by the property's name.
    virtual std::string ItemName(const std::string& PropName) const;
    // A storage for a nested object; the caller frees it.
    virtual TPropsStorage* NewStorage();

private:
    // The text of a property of a simple kind; empty for the others.
    std::string PropertyText(const TPropInfo& prop) const;
    void ApplyText(const TPropInfo& prop, const std::string& text);
    void StoreList(const TPropInfo& prop, TStrings* list);
    void LoadList(const TPropInfo& prop, TStrings* list);
    void StoreCollection(const TPropInfo& prop, TCollection* collection);
    void LoadCollection(const TPropInfo& prop, TCollection* collection);
    std::string ComponentText(TComponent* component) const;
    void LoadComponent(const TPropInfo& prop, const std::string& text);
    // Stores or loads every published property of an object, through a
    // storage of its own.
    void ObjectProps(TObject* object, const std::string& prefix, const std::string& section, bool store);
    void StoreOrLoad(TComponent* Root, TStrings* List, bool store);
};

// True when Item holds a dot with a non-blank text on each side of the first
// one; the two parts, trimmed of blanks, go to ComponentName and PropName.
bool SplitStoredItem(const std::string& Item, std::string& ComponentName, std::string& PropName);
// "Component.Property"; empty when either part is empty.
std::string JoinStoredItem(const std::string& ComponentName, const std::string& PropName);
// The item with another component; empty for an invalid item.
std::string RenameStoredItem(const std::string& Item, const std::string& NewComponentName);
// Walks the entries from the last: FromForm gives each valid entry Root's
// component of its name as its object (deleting the entry when Root has
// none); otherwise each entry takes its object's current name (deleting the
// entry when it has no object). Invalid entries go.
void ResolveStoredList(TComponent* Root, TStrings* List, bool FromForm);
// The screen's form of that name (case-insensitive), or nullptr.
TComponent* FindFormByName(const std::string& Name);
