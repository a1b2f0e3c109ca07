#include "classlib/TypInfo.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

enum class TAlignX { alNone, alTop, alBottom, alClient };
enum TStyleBit : unsigned { fsBold = 1u << 0, fsItalic = 1u << 1, fsUnderline = 1u << 2 };

const std::vector<std::string> styleNames = {"fsBold", "fsItalic", "fsUnderline"};

// A nested object, as a font is.
class TSampleFont : public TPersistent {
public:
    void Assign(const TPersistent* source) override
    {
        if (auto f = dynamic_cast<const TSampleFont*>(source)) {
            Size = f->Size;
            Style = f->Style;
            return;
        }
        TPersistent::Assign(source);
    }
    int Size = 8;
    unsigned Style = 0;

    const TClassInfo* ClassInfo() const override { return &StaticClass(); }
    static const TClassInfo& StaticClass()
    {
        static const TClassInfo info("TSampleFont", &TPersistent::StaticClass(), nullptr,
                                     {
                                         PublishInteger<&TSampleFont::Size, &TSampleFont::Size>("Size"),
                                         PublishSet<&TSampleFont::Style, &TSampleFont::Style>("Style", styleNames),
                                     });
        return info;
    }
};

// Lines of text, standing in for a string list.
class TSampleLines : public TPersistent {
public:
    void Assign(const TPersistent* source) override
    {
        if (auto l = dynamic_cast<const TSampleLines*>(source)) {
            Lines = l->Lines;
            return;
        }
        TPersistent::Assign(source);
    }
    std::vector<std::string> Lines;
};

class TSample : public TComponent {
public:
    using TComponent::TComponent;
    ~TSample() override { Destroying(); }

    int Count() const { return count_; }
    void SetCount(int v)
    {
        count_ = v;
        ++setterCalls;
    }
    TAlignX Align = TAlignX::alNone;
    bool Visible = true;
    unsigned Style = 0;
    int Color = 0;
    std::string Caption;
    std::string Version() const { return "1.0"; }
    TSampleFont* Font() const { return const_cast<TSampleFont*>(&font_); }
    void SetFont(const TSampleFont* f) { font_.Assign(f); }
    TSampleLines* Lines() const { return const_cast<TSampleLines*>(&lines_); }
    void SetLines(const TSampleLines* l) { lines_.Assign(l); }
    TComponent* Partner() const { return partner_; }
    void SetPartner(TComponent* c)
    {
        partner_ = c;
        if (c)
            c->FreeNotification(this);
    }
    TNotifyEvent OnChange;
    TEvent<TObject*, bool&> OnQuery;
    int setterCalls = 0;

    const TClassInfo* ClassInfo() const override { return &StaticClass(); }
    static const TClassInfo& StaticClass()
    {
        static const TClassInfo info(
            "TSample", &TComponent::StaticClass(), &NewComponent<TSample>,
            {
                PublishInteger<&TSample::Count, &TSample::SetCount>("Count"),
                PublishEnum<&TSample::Align, &TSample::Align>("Align", {"alNone", "alTop", "alBottom", "alClient"}),
                PublishBoolean<&TSample::Visible, &TSample::Visible>("Visible"),
                PublishSet<&TSample::Style, &TSample::Style>("Style", styleNames),
                PublishColor<&TSample::Color, &TSample::Color>("Color"),
                PublishString<&TSample::Caption, &TSample::Caption>("Caption"),
                PublishString<&TSample::Version>("Version"),
                PublishObject<&TSample::Font, &TSample::SetFont>("Font"),
                PublishStrings<&TSample::Lines, &TSample::SetLines>("Lines"),
                PublishComponent<&TSample::Partner, &TSample::SetPartner>("Partner"),
                PublishEvent<&TSample::OnChange>("OnChange"),
                PublishEvent<&TSample::OnQuery>("OnQuery"),
            });
        return info;
    }

protected:
    void Notification(TComponent* component, TOperation operation) override
    {
        TComponent::Notification(component, operation);
        if (operation == TOperation::opRemove && component == partner_)
            partner_ = nullptr;
    }

private:
    int count_ = 0;
    TSampleFont font_;
    TSampleLines lines_;
    TComponent* partner_ = nullptr;
};

// A derived class that adds a property and publishes Caption again.
class TSampleEx : public TSample {
public:
    using TSample::TSample;
    int Extra = 0;
    const TClassInfo* ClassInfo() const override { return &StaticClass(); }
    static const TClassInfo& StaticClass()
    {
        static const TClassInfo info("TSampleEx", &TSample::StaticClass(), &NewComponent<TSampleEx>,
                                     {
                                         PublishInteger<&TSampleEx::Extra, &TSampleEx::Extra>("Extra"),
                                         PublishString<&TSampleEx::Caption>("Caption"),
                                     });
        return info;
    }
};

// A form with its handlers, bound by name.
class TSampleForm : public TComponent {
public:
    using TComponent::TComponent;
    void SampleChange(TObject* sender) { changes.push_back(static_cast<TComponent*>(sender)->Name()); }
    void SampleQuery(TObject*, bool& allow) { allow = false; }
    std::vector<std::string> changes;

    const TClassInfo* ClassInfo() const override { return &StaticClass(); }
    static const TClassInfo& StaticClass()
    {
        static const TClassInfo info("TSampleForm", &TComponent::StaticClass(), nullptr, {},
                                     {
                                         PublishHandler<&TSampleForm::SampleChange>("SampleChange"),
                                         PublishHandler<&TSampleForm::SampleQuery>("SampleQuery"),
                                     });
        return info;
    }
};

std::vector<std::string> NamesOf(const std::vector<const TPropInfo*>& props)
{
    std::vector<std::string> names;
    for (const TPropInfo* p : props)
        names.push_back(p->Name);
    return names;
}

TEST(TypInfo, TablesAreInheritedAndLookedUpWithoutCase)
{
    TSampleEx ex(nullptr);
    const std::vector<std::string> expected = {"Name",    "Tag",  "Count", "Align", "Visible", "Style",   "Color",
                                               "Caption", "Version", "Font", "Lines", "Partner", "OnChange", "OnQuery",
                                               "Extra"};
    EXPECT_EQ(NamesOf(ex.ClassInfo()->Props()), expected);
    EXPECT_EQ(ex.ClassName(), "(anonymous namespace)::TSampleEx");
    EXPECT_EQ(ex.ClassInfo()->Name(), "TSampleEx");
    EXPECT_TRUE(ex.ClassInfo()->InheritsFrom(TComponent::StaticClass()));
    EXPECT_FALSE(TComponent::StaticClass().InheritsFrom(TSample::StaticClass()));

    for (const char* name : {"caption", "CAPTION", "Caption"}) {
        SCOPED_TRACE(name);
        const TPropInfo* p = GetPropInfo(&ex, name);
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(p->Name, "Caption");
        EXPECT_TRUE(p->IsReadOnly());  // the derived class's Caption, published without a setter
    }
    EXPECT_FALSE(FindPropInfo(&ex, "tag").IsReadOnly());
    EXPECT_EQ(GetPropInfo(&ex, "Nope"), nullptr);
    try {
        FindPropInfo(&ex, "Nope");
        ADD_FAILURE() << "no error";
    } catch (const EPropertyError& e) {
        EXPECT_EQ(e.Message(), "Property Nope does not exist in (anonymous namespace)::TSampleEx");
    }
    // The base's own table is untouched by the derived one.
    TSample plain(nullptr);
    EXPECT_FALSE(FindPropInfo(&plain, "Caption").IsReadOnly());
    EXPECT_EQ(GetPropInfo(&plain, "Extra"), nullptr);
}

TEST(TypInfo, SimpleKindsAsText)
{
    const struct {
        const char* prop;
        const char* text;
        const char* expected;  // the text read back; nullptr: the value is refused and unchanged
    } rows[] = {
        {"Count", "42", "42"},
        {"Count", "-7", "-7"},
        {"Count", "$1F", "31"},
        {"Count", "0x10", "16"},
        {"Count", "-2147483648", "-2147483648"},
        {"Count", "2147483648", nullptr},
        {"Count", "12abc", nullptr},
        {"Count", "", nullptr},
        {"Count", " 5", nullptr},
        {"Count", "x10", nullptr},
        {"Count", "-X10", nullptr},
        {"Tag", "99", "99"},
        {"Visible", "false", "False"},
        {"Visible", "TRUE", "True"},
        {"Visible", "yes", nullptr},
        {"Align", "alClient", "alClient"},
        {"Align", "ALTOP", "alTop"},
        {"Align", "alNowhere", nullptr},
        {"Style", "[fsBold,fsItalic]", "[fsBold,fsItalic]"},
        {"Style", " [ fsUnderline , fsbold ] ", "[fsBold,fsUnderline]"},
        {"Style", "[fsItalic,nonsense]", "[fsItalic]"},
        {"Style", "[]", "[]"},
        {"Style", "", "[]"},
        {"Color", "clWindow", "-2147483643"},
        {"Color", "clnone", "536870911"},
        {"Color", "255", "255"},
        {"Color", "$00FF0000", "16711680"},
        {"Color", "$80000005", "-2147483643"},
        {"Color", "-2147483643", "-2147483643"},
        {"Color", "red", nullptr},
        {"Caption", " Zażółć gęślą ", " Zażółć gęślą "},
        {"Caption", "", ""},
        {"Name", "Próbka", "Próbka"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << r.prop << " = '" << r.text << "'");
        TSample s(nullptr);
        s.Style = fsItalic;  // a set text replaces the whole set
        const TPropInfo& p = FindPropInfo(&s, r.prop);
        const std::string before = GetPropText(&s, p);
        if (r.expected) {
            EXPECT_NO_THROW(SetPropText(&s, p, r.text));
            EXPECT_EQ(GetPropText(&s, p), r.expected);
        } else {
            EXPECT_THROW(SetPropText(&s, p, r.text), Exception);
            EXPECT_EQ(GetPropText(&s, p), before);
        }
    }
}

TEST(TypInfo, OrdinalValuesAndTheirKinds)
{
    TSample s(nullptr);
    SetOrdProp(&s, FindPropInfo(&s, "Count"), 5);
    EXPECT_EQ(s.Count(), 5);
    EXPECT_EQ(s.setterCalls, 1);  // through the setter
    SetOrdProp(&s, FindPropInfo(&s, "Align"), 3);
    EXPECT_EQ(s.Align, TAlignX::alClient);
    SetOrdProp(&s, FindPropInfo(&s, "Style"), fsBold | fsUnderline);
    EXPECT_EQ(GetPropText(&s, FindPropInfo(&s, "Style")), "[fsBold,fsUnderline]");
    EXPECT_EQ(GetOrdProp(&s, FindPropInfo(&s, "Visible")), 1);

    // Each accessor refuses other kinds.
    EXPECT_THROW(GetStrProp(&s, FindPropInfo(&s, "Count")), EPropertyError);
    EXPECT_THROW(GetOrdProp(&s, FindPropInfo(&s, "Caption")), EPropertyError);
    EXPECT_THROW(GetObjectProp(&s, FindPropInfo(&s, "OnChange")), EPropertyError);
    EXPECT_THROW(GetMethodProp(&s, FindPropInfo(&s, "Font")), EPropertyError);
    EXPECT_THROW(GetComponentProp(&s, FindPropInfo(&s, "Font")), EPropertyError);
    for (const char* name : {"Font", "Lines", "Partner", "OnChange"}) {
        SCOPED_TRACE(name);
        EXPECT_THROW(GetPropText(&s, FindPropInfo(&s, name)), EPropertyError);
        EXPECT_THROW(SetPropText(&s, FindPropInfo(&s, name), "x"), EPropertyError);
    }

    // A read-only property reads but refuses a value.
    const TPropInfo& version = FindPropInfo(&s, "Version");
    EXPECT_EQ(GetPropText(&s, version), "1.0");
    try {
        SetPropText(&s, version, "2.0");
        ADD_FAILURE() << "no error";
    } catch (const EPropertyError& e) {
        EXPECT_EQ(e.Message(), "Property Version is read-only");
    }
}

TEST(TypInfo, NameThroughItsPropertyKeepsTheOwnersRule)
{
    TComponent form(nullptr);
    auto* a = new TSample(&form);
    auto* b = new TSample(&form);
    a->SetName("Edit1");
    EXPECT_THROW(SetPropText(b, FindPropInfo(b, "Name"), "EDIT1"), EComponentError);
    EXPECT_EQ(b->Name(), "");
}

TEST(TypInfo, NestedObjectsAndStringLists)
{
    TSample s(nullptr);
    const TPropInfo& fontProp = FindPropInfo(&s, "font");
    EXPECT_EQ(fontProp.Kind, TPropKind::pkClass);
    TObject* font = GetObjectProp(&s, fontProp);
    ASSERT_EQ(font, s.Font());
    // Font.Style: the nested object's own table.
    SetPropText(font, FindPropInfo(font, "Style"), "[fsBold]");
    SetPropText(font, FindPropInfo(font, "Size"), "12");
    EXPECT_EQ(s.Font()->Style, fsBold);
    EXPECT_EQ(s.Font()->Size, 12);

    // Setting the object copies it in.
    TSampleFont other;
    other.Size = 20;
    SetObjectProp(&s, fontProp, &other);
    EXPECT_EQ(s.Font()->Size, 20);
    EXPECT_EQ(GetObjectProp(&s, fontProp), s.Font());
    // An object of another class is refused, and nothing changes.
    TSampleLines wrong;
    EXPECT_THROW(SetObjectProp(&s, fontProp, &wrong), EPropertyError);
    EXPECT_EQ(s.Font()->Size, 20);

    const TPropInfo& linesProp = FindPropInfo(&s, "Lines");
    EXPECT_EQ(linesProp.Kind, TPropKind::pkStrings);
    TSampleLines lines;
    lines.Lines = {"a", "b"};
    SetObjectProp(&s, linesProp, &lines);
    EXPECT_EQ(static_cast<TSampleLines*>(GetObjectProp(&s, linesProp))->Lines, lines.Lines);
}

TEST(TypInfo, ComponentReferencesByName)
{
    TSampleForm form(nullptr);
    form.SetName("Form1");
    auto* sample = new TSample(&form);
    sample->SetName("Sample");
    auto* button = new TSample(&form);
    button->SetName("Button1");
    const TPropInfo& partner = FindPropInfo(sample, "Partner");
    EXPECT_EQ(partner.Kind, TPropKind::pkComponent);

    SetComponentPropByName(sample, partner, &form, "button1");
    EXPECT_EQ(GetComponentProp(sample, partner), button);
    SetComponentPropByName(sample, partner, &form, "FORM1");
    EXPECT_EQ(sample->Partner(), &form);
    SetComponentPropByName(sample, partner, &form, "");
    EXPECT_EQ(sample->Partner(), nullptr);
    try {
        SetComponentPropByName(sample, partner, &form, "Missing");
        ADD_FAILURE() << "no error";
    } catch (const EPropertyError& e) {
        EXPECT_EQ(e.Message(), "Component Missing not found for property Partner");
    }

    // A reference to a component of another owner goes when that one goes.
    auto* otherForm = new TSampleForm(nullptr);
    auto* far = new TSample(otherForm);
    SetComponentProp(sample, partner, far);
    EXPECT_EQ(sample->Partner(), far);
    delete otherForm;
    EXPECT_EQ(sample->Partner(), nullptr);
}

TEST(TypInfo, EventsBoundByHandlerName)
{
    TSampleForm form(nullptr);
    auto* sample = new TSample(&form);
    sample->SetName("Sample");
    const TPropInfo& onChange = FindPropInfo(sample, "OnChange");
    const TPropInfo& onQuery = FindPropInfo(sample, "onquery");
    EXPECT_EQ(onChange.Kind, TPropKind::pkMethod);

    BindEventProp(sample, onChange, &form, "samplechange");
    sample->OnChange(sample);
    EXPECT_EQ(form.changes, std::vector<std::string>{"Sample"});
    EXPECT_TRUE(GetMethodProp(sample, onChange) == TNotifyEvent(&form, &TSampleForm::SampleChange).Method());

    BindEventProp(sample, onQuery, &form, "SampleQuery");
    bool allow = true;
    sample->OnQuery(sample, allow);
    EXPECT_FALSE(allow);

    const struct {
        const char* event;
        const char* handler;
        const char* message;
    } refused[] = {
        {"OnChange", "SampleQuery", "Handler SampleQuery does not fit event OnChange"},
        {"OnQuery", "SampleChange", "Handler SampleChange does not fit event OnQuery"},
        {"OnChange", "Nothing", "Handler Nothing not found in (anonymous namespace)::TSampleForm"},
    };
    for (const auto& r : refused) {
        SCOPED_TRACE(testing::Message() << r.event << " <- " << r.handler);
        const TMethod before = GetMethodProp(sample, FindPropInfo(sample, r.event));
        try {
            BindEventProp(sample, FindPropInfo(sample, r.event), &form, r.handler);
            ADD_FAILURE() << "no error";
        } catch (const EPropertyError& e) {
            EXPECT_EQ(e.Message(), r.message);
        }
        EXPECT_TRUE(GetMethodProp(sample, FindPropInfo(sample, r.event)) == before);
    }

    // Erased handlers: a foreign signature is refused, an empty one clears.
    EXPECT_THROW(SetMethodProp(sample, onChange, GetMethodProp(sample, onQuery)), EPropertyError);
    SetMethodProp(sample, onChange, TMethod());
    EXPECT_FALSE(sample->OnChange);
    form.changes.clear();
    sample->OnChange(sample);
    EXPECT_TRUE(form.changes.empty());
}

TEST(TypInfo, ClassRegistry)
{
    RegisterComponentClass(TSample::StaticClass());
    RegisterComponentClass(TSample::StaticClass());  // again: nothing happens
    RegisterComponentClass(TSampleEx::StaticClass());

    TComponent owner(nullptr);
    const TClassInfo& info = FindComponentClass("tsampleex");
    EXPECT_EQ(&info, &TSampleEx::StaticClass());
    TComponent* made = info.CreateComponent(&owner);
    EXPECT_NE(dynamic_cast<TSampleEx*>(made), nullptr);
    EXPECT_EQ(made->Owner(), &owner);
    EXPECT_EQ(owner.ComponentCount(), 1);
    EXPECT_EQ(GetComponentClass("TSample"), &TSample::StaticClass());

    EXPECT_EQ(GetComponentClass("TUnknownThing"), nullptr);
    try {
        FindComponentClass("TUnknownThing");
        ADD_FAILURE() << "no error";
    } catch (const EClassNotFound& e) {
        EXPECT_EQ(e.Message(), "Class TUnknownThing not found");
    }

    // Another class under a taken name is refused; the first one stays.
    static const TClassInfo impostor("TSAMPLE", &TComponent::StaticClass(), &NewComponent<TComponent>);
    EXPECT_THROW(RegisterComponentClass(impostor), EComponentError);
    EXPECT_EQ(GetComponentClass("TSample"), &TSample::StaticClass());

    // A class without a factory cannot be created by name.
    EXPECT_FALSE(TSampleForm::StaticClass().CanCreate());
    EXPECT_THROW(TSampleForm::StaticClass().CreateComponent(&owner), EClassNotFound);
}

} // namespace
