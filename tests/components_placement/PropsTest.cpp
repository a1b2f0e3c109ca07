// Published-property storage: the text each kind of property is stored as,
// read back into a fresh component; texts that do not fit; damaged counts;
// the stored-property list's entries.
#include <functional>
#include <map>

#include <gtest/gtest.h>

#include "PlacementTestForms.h"
#include "classlib/TypInfo.h"
#include "components/RXProps.h"

namespace {

using Values = std::map<std::string, std::string>; // "Section|Ident" -> text

// The callbacks' side: values kept in memory.
class MemoryStore {
public:
    Values Stored;
    std::vector<std::string> Cleared;

    void Bind(TPropsStorage& storage)
    {
        storage.Section = "S";
        storage.OnReadText = TReadTextEvent(this, &MemoryStore::Read);
        storage.OnWriteText = TWriteTextEvent(this, &MemoryStore::Write);
        storage.OnClearSection = TClearSectionEvent(this, &MemoryStore::Clear);
    }

private:
    void Read(const std::string& section, const std::string& ident, const std::string& def, std::string& result)
    {
        auto it = Stored.find(section + "|" + ident);
        result = it == Stored.end() ? def : it->second;
    }
    void Write(const std::string& section, const std::string& ident, const std::string& value)
    {
        Stored[section + "|" + ident] = value;
    }
    void Clear(const std::string& section)
    {
        Cleared.push_back(section);
        for (auto it = Stored.begin(); it != Stored.end();)
            it = it->first.rfind(section + "|", 0) == 0 ? Stored.erase(it) : std::next(it);
    }
};

// A root owning the component C and a sibling named Other.
struct Root {
    TComponent root{nullptr};
    TKindsComponent* c;
    TComponent* other;
    Root()
    {
        root.SetName("Root");
        c = new TKindsComponent(&root);
        c->SetName("C");
        other = new TComponent(&root);
        other->SetName("Other");
    }
};

void Store(Root& r, MemoryStore& store, const std::string& entry)
{
    TStringList list;
    list.AddObject(entry, r.c);
    TPropsStorage storage;
    store.Bind(storage);
    storage.StoreStoredProps(&r.root, &list);
}

void Load(Root& r, MemoryStore& store, const std::string& entry)
{
    TStringList list;
    list.AddObject(entry, r.c);
    TPropsStorage storage;
    store.Bind(storage);
    storage.LoadStoredProps(&r.root, &list);
}

std::string Describe(const TKindsComponent& c, const std::string& prop)
{
    const TPropInfo& info = FindPropInfo(&c, prop);
    switch (info.Kind) {
    case TPropKind::pkStrings:
        return c.Lines()->Text();
    case TPropKind::pkComponent:
        return c.Partner() ? c.Partner()->Name() : "(none)";
    case TPropKind::pkClass:
        if (prop == "Items") {
            std::string text;
            for (int i = 0; i < c.Items()->Count(); ++i) {
                auto* item = static_cast<TTestItem*>(c.Items()->Items(i));
                text += std::to_string(item->Width) + ":" + item->Caption + ";";
            }
            return text;
        }
        return c.Font()->Name() + "/" + std::to_string(c.Font()->Color()) + "/" +
            std::to_string(c.Font()->Style().Bits());
    default:
        return GetPropText(&c, info);
    }
}

// A second form, Form2, with a button, for references across forms.
struct OtherForm {
    TForm* form = TForm::Create<TForm>(nullptr);
    TButton* button;
    OtherForm()
    {
        form->SetName("Form2");
        button = new TButton(form);
        button->SetName("Button1");
    }
    ~OtherForm() { form->Free(); }
};

struct KindRow {
    const char* name;
    const char* prop;
    std::function<void(TKindsComponent&, OtherForm&)> set;
    Values stored; // exactly these values, unless partial
    bool partial;
    const char* loaded = nullptr; // read back, when not what was stored
};

TEST(PropsStorage, EachKindIsStoredAsItsTextAndReadBack)
{
    OtherForm form2;
    const std::vector<KindRow> rows = {
        {"integer", "Count", [](TKindsComponent& c, OtherForm&) { c.Count = -42; }, {{"S|C_Count", "-42"}}, false},
        {"float, point whatever the locale",
         "Ratio",
         [](TKindsComponent& c, OtherForm&) { c.Ratio = 1234.5678; },
         {{"S|C_Ratio", "1234.5678"}},
         false},
        {"single float, 7 digits",
         "Scale",
         [](TKindsComponent& c, OtherForm&) { c.Scale = 0.1f; },
         {{"S|C_Scale", "0.1"}},
         false},
        {"enumeration",
         "Mode",
         [](TKindsComponent& c, OtherForm&) { c.Mode = tmThree; },
         {{"S|C_Mode", "tmThree"}},
         false},
        {"boolean", "Flag", [](TKindsComponent& c, OtherForm&) { c.Flag = true; }, {{"S|C_Flag", "True"}}, false},
        {"set",
         "Styles",
         [](TKindsComponent& c, OtherForm&) { c.Styles = 1 | 4; },
         {{"S|C_Styles", "[stBold,stDim]"}},
         false},
        {"string, blanks trimmed",
         "Label",
         [](TKindsComponent& c, OtherForm&) { c.Label = "  Żółw ma\tkota \t"; },
         {{"S|C_Label", "Żółw ma\tkota"}},
         false,
         "Żółw ma\tkota"},
        {"empty string, written all the same",
         "Label",
         [](TKindsComponent& c, OtherForm&) { c.Label = "   "; },
         {{"S|C_Label", ""}},
         false,
         ""},
        {"colour, decimal",
         "Shade",
         [](TKindsComponent& c, OtherForm&) { c.Shade = clBtnFace; },
         {{"S|C_Shade", "-2147483633"}},
         false},
        {"string list, lines as they are",
         "Lines",
         [](TKindsComponent& c, OtherForm&) {
             c.Lines()->Add("jeden");
             c.Lines()->Add(" dwa ");
         },
         {{"S.C_Lines|Count", "2"}, {"S.C_Lines|Item0", "jeden"}, {"S.C_Lines|Item1", " dwa "}},
         false},
        {"collection",
         "Items",
         [](TKindsComponent& c, OtherForm&) {
             auto* a = static_cast<TTestItem*>(c.Items()->Add());
             a->Width = 10;
             a->Caption = "a";
             auto* b = static_cast<TTestItem*>(c.Items()->Add());
             b->Width = 20;
             b->Caption = "b";
         },
         {{"S|Items.Count", "2"},
          {"S.C_Items|Item0_Width", "10"},
          {"S.C_Items|Item0_Caption", "a"},
          {"S.C_Items|Item1_Width", "20"},
          {"S.C_Items|Item1_Caption", "b"}},
         false},
        {"reference to another form's component",
         "Partner",
         [](TKindsComponent& c, OtherForm& f) { c.SetPartner(f.button); },
         {{"S|C_Partner", "Form2.Button1"}},
         false},
        {"reference to a sibling",
         "Partner",
         [](TKindsComponent& c, OtherForm&) { c.SetPartner(c.Owner()->FindComponent("Other")); },
         {{"S|C_Partner", "Other"}},
         false},
        {"no reference",
         "Partner",
         [](TKindsComponent& c, OtherForm&) { c.SetPartner(nullptr); },
         {{"S|C_Partner", "(null)"}},
         false},
        {"nested font, prefix without separator",
         "Font",
         [](TKindsComponent& c, OtherForm&) {
             c.Font()->SetName("Tahoma");
             c.Font()->SetColor(clRed);
             c.Font()->SetStyle({fsBold});
         },
         {{"S|C_FontName", "Tahoma"}, {"S|C_FontColor", "255"}, {"S|C_FontStyle", "[fsBold]"}},
         true},
    };
    for (const KindRow& row : rows) {
        SCOPED_TRACE(row.name);
        Root a;
        row.set(*a.c, form2);
        MemoryStore store;
        Store(a, store, std::string("C.") + row.prop);
        if (row.partial) {
            for (const auto& [key, value] : row.stored)
                EXPECT_EQ(value, store.Stored[key]) << key;
        } else {
            EXPECT_EQ(row.stored, store.Stored);
        }
        Root b;
        if (std::string(row.prop) == "Partner")
            b.c->SetPartner(b.c); // so that reading back "(null)" shows
        Load(b, store, std::string("C.") + row.prop);
        EXPECT_EQ(row.loaded ? row.loaded : Describe(*a.c, row.prop), Describe(*b.c, row.prop));
    }
}

TEST(PropsStorage, AStringListOrCollectionErasesItsSectionFirst)
{
    Root r;
    MemoryStore store;
    store.Stored = {{"S.C_Lines|Count", "3"}, {"S.C_Lines|Item2", "stara"}, {"S|Keep", "x"}};
    Store(r, store, "C.Lines");
    // No lines: the section is erased and no count is written.
    EXPECT_EQ((std::vector<std::string>{"S.C_Lines"}), store.Cleared);
    EXPECT_EQ((Values{{"S|Keep", "x"}}), store.Stored);
}

struct LoadRow {
    const char* name;
    const char* prop;
    Values stored;
    std::string expected; // the property's text after the load
};

TEST(PropsStorage, TextsThatDoNotFitLeaveOrResetThePropertyAsTheKindSays)
{
    const std::vector<LoadRow> rows = {
        {"integer not a number loads 0", "Count", {{"S|C_Count", "dużo"}}, "0"},
        {"missing value changes nothing", "Count", {}, "5"},
        {"no such member", "Mode", {{"S|C_Mode", "tmFour"}}, "tmTwo"},
        {"member in another letter case", "Mode", {{"S|C_Mode", "TMTHREE"}}, "tmThree"},
        {"set with blanks, another order, unknown words",
         "Styles",
         {{"S|C_Styles", " [ stDim , stX stBold ] "}},
         "[stBold,stDim]"},
        {"float not a number", "Ratio", {{"S|C_Ratio", "1.2.3"}}, FloatToStr(2.5)},
        {"float with a point", "Ratio", {{"S|C_Ratio", " 0.25 "}}, FloatToStr(0.25)},
        {"string trimmed", "Label", {{"S|C_Label", "  x y \r\n"}}, "x y"},
        {"lines: count 0 keeps the lines", "Lines", {{"S.C_Lines|Count", "0"}}, "stara\r\n"},
        {"lines: negative count", "Lines", {{"S.C_Lines|Count", "-1"}}, "stara\r\n"},
        {"lines: count not a number", "Lines", {{"S.C_Lines|Count", "sporo"}}, "stara\r\n"},
        {"lines: count above 65535", "Lines", {{"S.C_Lines|Count", "65536"}}, "stara\r\n"},
        {"lines: count beyond 32 bits", "Lines", {{"S.C_Lines|Count", "4294967297"}}, "stara\r\n"},
        {"lines: missing items read empty", "Lines", {{"S.C_Lines|Count", "2"}, {"S.C_Lines|Item1", "b"}}, "\r\nb\r\n"},
        {"items: damaged count", "Items", {{"S|Items.Count", "-3"}}, "1:x;"},
        {"items: new count", "Items", {{"S|Items.Count", "2"}, {"S.C_Items|Item1_Width", "9"}}, "0:;9:;"},
        {"reference (NULL) in any case", "Partner", {{"S|C_Partner", "(NULL)"}}, "(none)"},
        {"reference to a name the root lacks", "Partner", {{"S|C_Partner", "Nieznany"}}, "(none)"},
        {"reference on a form that is not there", "Partner", {{"S|C_Partner", "Form9.Button1"}}, "Other"},
        {"reference not stored", "Partner", {}, "Other"},
    };
    for (const LoadRow& row : rows) {
        SCOPED_TRACE(row.name);
        Root r;
        r.c->Count = 5;
        r.c->Mode = tmTwo;
        r.c->Ratio = 2.5;
        r.c->Lines()->Add("stara");
        static_cast<TTestItem*>(r.c->Items()->Add())->Caption = "x";
        static_cast<TTestItem*>(r.c->Items()->Items(0))->Width = 1;
        r.c->SetPartner(r.other);
        MemoryStore store;
        store.Stored = row.stored;
        Load(r, store, std::string("C.") + row.prop);
        EXPECT_EQ(row.expected, Describe(*r.c, row.prop));
    }
}

TEST(PropsStorage, StoredItemsAreSplitJoinedAndRenamed)
{
    struct Row {
        const char* item;
        bool valid;
        const char* component;
        const char* prop;
    } rows[] = {
        {"eProxy.Text", true, "eProxy", "Text"},
        {" eProxy . Text ", true, "eProxy", "Text"},
        {"Label1.Font.Color", true, "Label1", "Font.Color"},
        {"eProxy.", false, "eProxy", ""},
        {". Text", false, "", "Text"},
        {"eProxy", false, "", ""},
        {"", false, "", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.item);
        std::string component = "?", prop = "?";
        EXPECT_EQ(row.valid, SplitStoredItem(row.item, component, prop));
        EXPECT_EQ(row.component, component);
        EXPECT_EQ(row.prop, prop);
        EXPECT_EQ(row.valid ? std::string("eUser.") + row.prop : "", RenameStoredItem(row.item, "eUser"));
    }
    EXPECT_EQ("a.b", JoinStoredItem("a", "b"));
    EXPECT_EQ("", JoinStoredItem("", "b"));
    EXPECT_EQ("", JoinStoredItem("a", ""));
}

TEST(PropsStorage, AListIsResolvedFromTheFormOrFromItsObjects)
{
    Root r;
    TStringList list;
    for (const char* item : {"C.Count", "Brak.Text", "zly", " Other . Tag "})
        list.Add(item);
    ResolveStoredList(&r.root, &list, true);
    ASSERT_EQ(2, list.Count());
    EXPECT_EQ(r.c, list.Objects(0));
    EXPECT_EQ(r.other, list.Objects(1));

    // Renamed components carry their entries; an entry without an object goes.
    r.c->SetName("Nowy");
    list.Add("X.Tag");
    ResolveStoredList(&r.root, &list, false);
    ASSERT_EQ(2, list.Count());
    EXPECT_EQ("Nowy.Count", list.Strings(0));
    EXPECT_EQ("Other.Tag", list.Strings(1));
}

TEST(PropsStorage, TwoEntriesOfOneComponentAreBothStored)
{
    Root r;
    r.c->Count = 3;
    r.c->Label = "abc";
    TStringList list;
    list.AddObject("C.Count", r.c);
    list.AddObject("C . Label", r.c);
    list.AddObject("C.NoSuchProperty", r.c);
    MemoryStore store;
    TPropsStorage storage;
    store.Bind(storage);
    storage.StoreStoredProps(&r.root, &list);
    EXPECT_EQ((Values{{"S|C_Count", "3"}, {"S|C_Label", "abc"}}), store.Stored);
    EXPECT_EQ(nullptr, storage.RootOwner);
}

} // namespace
