// Non-visual components for the form reader's tests: every setter, parent
// change and Loaded writes a line to a shared log, so a test can see what the
// reader did in which order and in which state.
#pragma once

#include <string>
#include <vector>

#include "classlib/Lists.h"
#include "classlib/TypInfo.h"

// What the components did, in order: "Button1.Left=10 loading", "Loaded Button1" ...
std::vector<std::string>& FormLog();

enum TItemKind { tkOne, tkTwo, tkThree };
enum TItemOption : unsigned { toA = 1u << 0, toB = 1u << 1, toC = 1u << 2 };

// A nested object, as a font is.
class TItemFont : public TPersistent {
public:
    std::string Name = "System";
    int Size = 8;
    unsigned Style = 0;  // bit 0 fsBold, bit 1 fsItalic

    void SetName(const std::string& name) { Name = name; }

    const TClassInfo* ClassInfo() const override { return &StaticClass(); }
    static const TClassInfo& StaticClass();
};

// A collection's item, as a list view's column is.
class TTestEntry : public TCollectionItem {
public:
    using TCollectionItem::TCollectionItem;
    std::string Caption;
    int Width = 50;
    TItemKind Kind = tkOne;

    const TClassInfo* ClassInfo() const override { return &StaticClass(); }
    static const TClassInfo& StaticClass();
};

// Tells the log when its owner would hear of a change: "Button1.Entries=3 loading".
class TTestEntries : public TCollection {
public:
    explicit TTestEntries(TComponent* owner) : TCollection(CollectionItemClass<TTestEntry>, owner) {}
    TTestEntry* Items(int index) const { return static_cast<TTestEntry*>(TCollection::Items(index)); }

protected:
    void Update(TCollectionItem* item) override;
};

class TTestItem : public TComponent {
public:
    explicit TTestItem(TComponent* owner);
    ~TTestItem() override;

    int Left() const { return left_; }
    void SetLeft(int value);
    std::string Caption;
    bool Visible = true;
    TItemKind Kind = tkOne;
    unsigned Options = 0;
    int Color = 0;
    double Ratio = 0;
    TItemFont* Font() const { return font_; }
    TStrings* Lines() const { return lines_; }
    void SetLines(TStrings* value);
    // Read-only: the reader fills the list it has.
    TStrings* Items() const { return items_; }
    TTestItem* Link() const { return link_; }
    void SetLink(TTestItem* value);
    TTestEntries* Entries() const { return entries_; }
    bool FailInLoaded = false;

    TNotifyEvent OnClick;
    TEvent<TObject*, int&> OnMeasure;

    TComponent* Parent() const { return parent_; }
    void SetParentComponent(TComponent* parent) override;
    TComponent* GetParentComponent() const override { return parent_; }

    void Loaded() override;

    // Seen by Loaded: the link was set, and the linked item's Left.
    bool LinkSetAtLoaded = false;
    int LinkLeftAtLoaded = -1;

    const TClassInfo* ClassInfo() const override { return &StaticClass(); }
    static const TClassInfo& StaticClass();

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    int left_ = 0;
    TItemFont* font_;
    TStrings* lines_;
    TStrings* items_;
    TTestEntries* entries_;
    TTestItem* link_ = nullptr;
    TComponent* parent_ = nullptr;
};

// Another class, for a form field of the wrong type.
class TOtherItem : public TComponent {
public:
    using TComponent::TComponent;
    const TClassInfo* ClassInfo() const override { return &StaticClass(); }
    static const TClassInfo& StaticClass();
};

// The form: its fields Button1 and Panel are set by name, its handlers bound.
class TTestForm : public TComponent {
public:
    explicit TTestForm(TComponent* owner = nullptr) : TComponent(owner) {}

    TTestItem* Button1 = nullptr;
    TTestItem* Panel = nullptr;
    TTestItem* ActiveItem = nullptr;
    std::string Caption() const { return caption_; }
    void SetCaption(const std::string& value);

    void ButtonClick(TObject* sender);
    void PanelClick(TObject* sender);
    void Measure(TObject* sender, int& size);

    std::vector<std::string> Clicks;  // "ButtonClick Button1"

    void Loaded() override;

    const TClassInfo* ClassInfo() const override { return &StaticClass(); }
    static const TClassInfo& StaticClass();

private:
    std::string caption_;
};

// A form class described by a resource with a fault in it.
class TBrokenForm : public TTestForm {
};

// Registers the test classes with the class registry (again is harmless).
void RegisterTestClasses();
