#include "classlib/Lists.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "classlib/Streams.h"
#include "tests/support/TestUtil.h"
#include "ListsTestUtil.h"

namespace {

void AddAll(TStrings& list, std::initializer_list<const char*> lines)
{
    for (const char* line : lines)
        list.Add(line);
}

int SystemCompare(const std::string& a, const std::string& b)
{
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), int(a.size()), b.data(), int(b.size())) - 2;
}

template <class Op>
std::string ListErrorOf(Op op)
{
    try {
        op();
    } catch (const EListError& e) {
        return e.Message();
    }
    return "no error";
}

TEST(TStringList, SortedAddFollowsDuplicates)
{
    const struct {
        TDuplicates dup;
        const char* adds;  // added one by one, separated by blanks
        const char* result;
        const char* indexes;  // what each Add gave
        bool raises;          // the last Add raises
    } rows[] = {
        {dupIgnore, "b a c", "a|b|c", "0 0 2", false},
        {dupIgnore, "b a B", "a|b", "0 0 1", false},  // B is b without regard to case: kept out
        {dupAccept, "b a B", "a|B|b", "0 0 1", false},  // the new one goes before the equal one
        {dupAccept, "b b b", "b|b|b", "0 0 0", false},
        {dupError, "b a", "a|b", "0 0", false},
        {dupError, "b a B", "a|b", "0 0", true},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << "dup " << r.dup << ": " << r.adds);
        TStringList list;
        list.SetSorted(true);
        list.SetDuplicates(r.dup);
        std::string indexes, error;
        std::string adds = std::string(r.adds) + " ";
        for (std::size_t p = 0, q; (q = adds.find(' ', p)) != std::string::npos; p = q + 1) {
            try {
                int index = list.Add(adds.substr(p, q - p));
                indexes.append(p ? " " : "").append(std::to_string(index));
            } catch (const EListError& e) {
                error = e.Message();
            }
        }
        EXPECT_EQ(Join(list), r.result);
        EXPECT_EQ(indexes, r.indexes);
        EXPECT_EQ(error, r.raises ? "String list does not allow duplicates" : "");
    }
}

TEST(TStringList, LookUpIgnoresPolishLetterCase)
{
    const char* lines[] = {"Zebra", "ŁÓDŹ", "żaba", "lody", "ąb", "ab", "bąk", "Świat", "ŻÓŁW"};
    const struct {
        const char* wanted;
        const char* found;  // empty: not found
    } rows[] = {
        {"Łódź", "ŁÓDŹ"}, {"łódź", "ŁÓDŹ"}, {"żółw", "ŻÓŁW"}, {"ŚWIAT", "Świat"},
        {"ZEBRA", "Zebra"}, {"Lodz", ""},   {"zolw", ""},      {"Łód", ""},
    };
    for (bool sorted : {false, true}) {
        TStringList list;
        for (const char* line : lines)
            list.Add(line);
        list.SetSorted(sorted);
        for (const auto& r : rows) {
            SCOPED_TRACE(testing::Message() << (sorted ? "sorted: " : "unsorted: ") << r.wanted);
            int index = list.IndexOf(r.wanted);
            if (*r.found) {
                ASSERT_GE(index, 0);
                EXPECT_EQ(list.Strings(index), r.found);
            } else {
                EXPECT_EQ(index, -1);
            }
        }
    }
}

TEST(TStringList, SortsInTheSystemsOrderAndFindAgrees)
{
    TStringList list;
    AddAll(list, {"Zebra", "łódź", "żaba", "lody", "ąb", "ab", "bąk", "Świat", "swiat", "B", "a", "10", "9"});
    list.Sort();
    for (int i = 1; i < list.Count(); ++i) {
        SCOPED_TRACE(list.Strings(i - 1) + " before " + list.Strings(i));
        EXPECT_LE(SystemCompare(list.Strings(i - 1), list.Strings(i)), 0);
    }
    list.SetSorted(true);
    for (int i = 0; i < list.Count(); ++i) {
        SCOPED_TRACE(list.Strings(i));
        int index = -1;
        EXPECT_TRUE(list.Find(AnsiUpperCase(list.Strings(i)), index));
        EXPECT_EQ(index, i);
    }
    int index = -1;
    EXPECT_FALSE(list.Find("", index));
    EXPECT_EQ(index, 0);
    EXPECT_FALSE(list.Find("żżż", index));
    EXPECT_EQ(index, list.Count());

    // With duplicates accepted Find gives the first of the equal lines.
    TStringList dups;
    dups.SetSorted(true);
    dups.SetDuplicates(dupAccept);
    AddAll(dups, {"x", "a", "X", "x", "b"});
    EXPECT_TRUE(dups.Find("X", index));
    EXPECT_EQ(index, 2);

    TStringList custom;
    AddAll(custom, {"ccc", "a", "bb"});
    custom.CustomSort([](TStringList* l, int a, int b) { return int(l->Strings(b).size()) - int(l->Strings(a).size()); });
    EXPECT_EQ(Join(custom), "ccc|bb|a");
}

TEST(TStringList, SortedListRefusesPlacesAndLosesNothing)
{
    TStringList list;
    AddAll(list, {"b=2", "a=1"});
    list.SetSorted(true);
    EXPECT_EQ(Join(list), "a=1|b=2");
    const char* refused = "Operation not allowed on sorted string list";
    EXPECT_EQ(ListErrorOf([&] { list.Insert(0, "c"); }), refused);
    EXPECT_EQ(ListErrorOf([&] { list.SetStrings(0, "c"); }), refused);
    EXPECT_EQ(ListErrorOf([&] { list.Move(0, 1); }), refused);
    EXPECT_EQ(Join(list), "a=1|b=2");
    // A new value replaces the line, which then takes its sorted place.
    list.SetValues("a", "9");
    list.SetValues("0", "z");
    list.SetValues("B", "");
    EXPECT_EQ(Join(list), "0=z|a=9");
}

TEST(TStringList, NameValueLines)
{
    TStringList list;
    AddAll(list, {"Imię=Jan", "NAZWISKO=Kowalski", "=bez nazwy", "bez wartości", "Ulica=", "Miasto=Łódź=Bałuty"});
    const struct {
        int index;
        const char* name;
    } names[] = {{0, "Imię"}, {1, "NAZWISKO"}, {2, ""}, {3, ""}, {4, "Ulica"}, {5, "Miasto"}};
    for (const auto& r : names) {
        SCOPED_TRACE(r.index);
        EXPECT_EQ(list.Names(r.index), r.name);
    }
    const struct {
        const char* name;
        int index;
        const char* value;
    } values[] = {
        {"IMIĘ", 0, "Jan"},  {"nazwisko", 1, "Kowalski"}, {"miasto", 5, "Łódź=Bałuty"}, {"Ulica", 4, ""},
        {"bez wartości", -1, ""}, {"", 2, "bez nazwy"},   {"Kraj", -1, ""},
    };
    for (const auto& r : values) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(list.IndexOfName(r.name), r.index);
        EXPECT_EQ(list.Values(r.name), r.value);
    }
    list.SetValues("imię", "Anna");  // the line keeps its place and takes the name as given
    list.SetValues("Kraj", "Polska");
    list.SetValues("NAZWISKO", "");  // an empty value deletes the line
    EXPECT_EQ(Join(list), "imię=Anna|=bez nazwy|bez wartości|Ulica=|Miasto=Łódź=Bałuty|Kraj=Polska");
}

TEST(TStringList, TextSplitsAtEveryLineEnd)
{
    const struct {
        const char* text;
        const char* lines;
        int count;
    } rows[] = {
        {"", "", 0},
        {"a", "a", 1},
        {"a\r\nb\r\n", "a|b", 2},
        {"a\nb", "a|b", 2},
        {"a\rb\r", "a|b", 2},
        {"a\r\n\r\nb", "a||b", 3},
        {"\r\n", "", 1},
        {"a\n\rb", "a||b", 3},  // LF then CR is two line ends
        {"zażółć\r\ngęślą", "zażółć|gęślą", 2},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::PrintToString(std::string(r.text)));
        TStringList list;
        list.Add("old");
        list.SetText(r.text);
        EXPECT_EQ(list.Count(), r.count);
        EXPECT_EQ(Join(list), r.lines);
    }
    TStringList list;
    AddAll(list, {"a", "", "ó"});
    EXPECT_EQ(list.Text(), "a\r\n\r\nó\r\n");
}

TEST(TStringList, LoadsCrLfAndLfAndSavesCrLf)
{
    TempFolder dir;
    const struct {
        const char* name;
        const char* bytes;
    } files[] = {{"crlf.txt", "Imię=Jan\r\nMiasto=Łódź\r\n"}, {"lf.txt", "Imię=Jan\nMiasto=Łódź"}};
    for (const auto& f : files) {
        SCOPED_TRACE(f.name);
        WriteWholeFile(dir.Path() + f.name, f.bytes);
        TStringList list;
        list.LoadFromFile(dir.Path() + f.name);
        EXPECT_EQ(Join(list), "Imię=Jan|Miasto=Łódź");
        EXPECT_EQ(list.Values("MIASTO"), "Łódź");
        list.SaveToFile(dir.Path() + "out.txt");
        EXPECT_EQ(ReadWholeFile(dir.Path() + "out.txt"), "Imię=Jan\r\nMiasto=Łódź\r\n");
    }
    // Łódź in code page 1250, as the file holds it.
    EXPECT_EQ(ReadWholeFile(dir.Path() + "out.txt").substr(17, 4), "\xA3\xF3\x64\x9F");

    TStringList list;
    EXPECT_THROW(list.LoadFromFile(dir.Path() + "brak.txt"), EFOpenError);

    TMemoryStream stream;
    stream.WriteBuffer("skip\r\nx\ny", 9);
    stream.SetPosition(6);  // loading takes the rest of the stream
    list.LoadFromStream(stream);
    EXPECT_EQ(Join(list), "x|y");
    TMemoryStream out;
    list.SaveToStream(out);
    EXPECT_EQ(std::string(static_cast<const char*>(out.Memory()), out.Size()), "x\r\ny\r\n");
}

struct ChangeCounter {
    TStringList* list = nullptr;
    std::string log;
    void Changing(TObject* sender)
    {
        EXPECT_EQ(sender, list);
        log += "<" + std::to_string(list->Count());
    }
    void Changed(TObject* sender)
    {
        EXPECT_EQ(sender, list);
        log += ">" + std::to_string(list->Count());
    }
};

TEST(TStringList, ChangeEventsAndUpdateBrackets)
{
    TStringList list;
    ChangeCounter counter;
    counter.list = &list;
    list.OnChanging = TNotifyEvent(&counter, &ChangeCounter::Changing);
    list.OnChange = TNotifyEvent(&counter, &ChangeCounter::Changed);

    list.Add("a");
    list.SetStrings(0, "b");
    list.Delete(0);
    list.Clear();  // an empty list does not change
    EXPECT_EQ(counter.log, "<0>1<1>1<1>0");

    counter.log.clear();
    list.BeginUpdate();
    list.BeginUpdate();
    list.Add("a");
    list.Add("b");
    list.EndUpdate();
    EXPECT_EQ(counter.log, "<0");  // told once that changes begin, not yet that they ended
    list.EndUpdate();
    EXPECT_EQ(counter.log, "<0>2");

    counter.log.clear();
    list.SetText("x\r\ny\r\nz");  // one batch
    list.Exchange(0, 2);
    EXPECT_EQ(counter.log, "<2>3<3>3");
    EXPECT_EQ(Join(list), "z|y|x");
}

TEST(TStringList, ObjectsTravelWithTheirLines)
{
    TObject one, two, three;
    TStringList list;
    list.AddObject("jeden", &one);
    list.AddObject("dwa", &two);
    list.Add("trzy");
    list.SetObjects(2, &three);
    list.InsertObject(0, "zero", nullptr);
    EXPECT_EQ(list.IndexOfObject(&two), 2);

    list.Move(1, 3);
    EXPECT_EQ(Join(list), "zero|dwa|trzy|jeden");
    EXPECT_EQ(list.Objects(3), &one);
    list.Exchange(1, 2);
    EXPECT_EQ(list.Objects(1), &three);
    EXPECT_EQ(list.Objects(2), &two);

    list.SetSorted(true);
    EXPECT_EQ(Join(list), "dwa|jeden|trzy|zero");
    EXPECT_EQ(list.Objects(0), &two);
    EXPECT_EQ(list.Objects(1), &one);

    TStringList copy;
    copy.Add("stale");
    copy.Assign(&list);
    EXPECT_EQ(Join(copy), "dwa|jeden|trzy|zero");
    EXPECT_EQ(copy.Objects(2), &three);
    EXPECT_FALSE(copy.Sorted());  // the lines come over, not the settings
    copy.AddStrings(list);
    EXPECT_EQ(copy.Count(), 8);
    EXPECT_EQ(copy.Objects(5), &one);
    TStringList* none = nullptr;
    EXPECT_THROW(copy.Assign(none), EConvertError);
}

TEST(TStringList, BadIndexRaisesListError)
{
    TStringList list;
    AddAll(list, {"a", "b"});
    const struct {
        const char* what;
        void (*op)(TStringList&);
        const char* text;
    } rows[] = {
        {"Strings", [](TStringList& l) { l.Strings(2); }, "List index out of bounds (2)"},
        {"SetStrings", [](TStringList& l) { l.SetStrings(-1, "x"); }, "List index out of bounds (-1)"},
        {"Objects", [](TStringList& l) { l.Objects(5); }, "List index out of bounds (5)"},
        {"Insert", [](TStringList& l) { l.Insert(3, "x"); }, "List index out of bounds (3)"},
        {"Delete", [](TStringList& l) { l.Delete(2); }, "List index out of bounds (2)"},
        {"Exchange", [](TStringList& l) { l.Exchange(0, 2); }, "List index out of bounds (2)"},
        {"Move to", [](TStringList& l) { l.Move(0, 2); }, "List index out of bounds (2)"},
        {"Move from", [](TStringList& l) { l.Move(-1, 0); }, "List index out of bounds (-1)"},
        {"Names", [](TStringList& l) { l.Names(2); }, "List index out of bounds (2)"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        EXPECT_EQ(ListErrorOf([&] { r.op(list); }), r.text);
        EXPECT_EQ(Join(list), "a|b");
    }
}

}  // namespace
