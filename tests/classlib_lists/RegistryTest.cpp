#include "classlib/Registry.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "classlib/IniFiles.h"
#include "classlib/Lists.h"
#include "ListsTestUtil.h"
#include "tests/common_reg/RegTestUtil.h"

namespace {

// A key of this test's own under HKEY_CURRENT_USER, deleted afterwards by
// the system's own call, whatever the class under test did.
class RegistryFixture : public testing::Test {
protected:
    // Writes a value of any type past the class under test.
    void RawValue(const std::string& name, DWORD type, const void* data, DWORD size)
    {
        SetRawValue(HKEY_CURRENT_USER, path_, name, type, data, size);
    }

    TestKey key_;
    const std::string& path_ = key_.Path();
};

std::string RegistryErrorOf(TRegistry& reg, void (*op)(TRegistry&))
{
    try {
        op(reg);
    } catch (const ERegistryException& e) {
        return e.Message();
    }
    return "no error";
}

TEST_F(RegistryFixture, EveryValueTypeRoundTrips)
{
    const unsigned char two[] = {0x34, 0x12}, eight[] = {1, 2, 3, 4, 5, 6, 7, 8};
    RawValue("wiele", REG_MULTI_SZ, "a\0b\0", 5);
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(path_, false));
        reg.WriteString("Dane użytkownika", "Łódź, ul. Żółta");
        reg.WriteString("pusty", "");
        reg.WriteExpandString("rozwijany", "%TEMP%\\x");
        reg.WriteInteger("liczba", -1);
        reg.WriteBool("prawda", true);
        reg.WriteBinaryData("bin2", two, 2);
        reg.WriteBinaryData("bin8", eight, 8);
    }
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(path_, false));
    const struct {
        const char* name;
        TRegDataType type;
        int size;
    } infos[] = {
        {"Dane użytkownika", rdString, 16}, {"pusty", rdString, 1},  {"rozwijany", rdExpandString, 9},
        {"liczba", rdInteger, 4},           {"prawda", rdInteger, 4}, {"bin2", rdBinary, 2},
        {"bin8", rdBinary, 8},              {"wiele", rdUnknown, 5},  {"brak", rdUnknown, -1},
    };
    for (const auto& r : infos) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(reg.GetDataType(r.name), r.type);
        EXPECT_EQ(reg.GetDataSize(r.name), r.size);
        EXPECT_EQ(reg.ValueExists(r.name), r.size >= 0);
    }
    EXPECT_EQ(reg.ReadString("Dane użytkownika"), "Łódź, ul. Żółta");
    EXPECT_EQ(reg.ReadString("pusty"), "");
    EXPECT_EQ(reg.ReadString("rozwijany"), "%TEMP%\\x");  // not expanded
    EXPECT_EQ(reg.ReadString("brak"), "");
    EXPECT_EQ(reg.ReadInteger("liczba"), -1);
    EXPECT_TRUE(reg.ReadBool("prawda"));

    unsigned char buffer[4] = {0xEE, 0xEE, 0xEE, 0xEE};
    EXPECT_EQ(reg.ReadBinaryData("bin2", buffer, 4), 2);
    EXPECT_EQ(buffer[0], 0x34);
    EXPECT_EQ(buffer[1], 0x12);
    EXPECT_EQ(reg.ReadBinaryData("brak", buffer, 4), 0);
    EXPECT_EQ(reg.ReadBinaryData("wiele", buffer, 8), 5);  // a type without a name reads as bytes

    const struct {
        const char* what;
        void (*op)(TRegistry&);
        const char* text;
    } errors[] = {
        {"binary longer than the buffer",
         [](TRegistry& r) {
             char b[4];
             r.ReadBinaryData("bin8", b, 4);
         },
         "Niepoprawny typ danych dla \"bin8\""},
        {"binary of a number",
         [](TRegistry& r) {
             char b[4];
             r.ReadBinaryData("liczba", b, 4);
         },
         "Niepoprawny typ danych dla \"liczba\""},
        {"text of a number", [](TRegistry& r) { r.ReadString("liczba"); }, "Niepoprawny typ danych dla \"liczba\""},
        {"text of binary", [](TRegistry& r) { r.ReadString("bin2"); }, "Niepoprawny typ danych dla \"bin2\""},
        {"number of text", [](TRegistry& r) { r.ReadInteger("Dane użytkownika"); },
         "Niepoprawny typ danych dla \"Dane użytkownika\""},
        {"number of 2 bytes", [](TRegistry& r) { r.ReadInteger("bin2"); }, "Niepoprawny typ danych dla \"bin2\""},
        {"number missing", [](TRegistry& r) { r.ReadInteger("brak"); }, "Failed to get data for 'brak'"},
    };
    for (const auto& r : errors) {
        SCOPED_TRACE(r.what);
        EXPECT_EQ(RegistryErrorOf(reg, r.op), r.text);
    }

    TStringList names;
    reg.GetValueNames(names);
    names.SetSorted(true);
    EXPECT_EQ(Join(names), "bin2|bin8|Dane użytkownika|liczba|prawda|pusty|rozwijany|wiele");
    EXPECT_TRUE(reg.DeleteValue("bin8"));
    EXPECT_FALSE(reg.DeleteValue("bin8"));
    EXPECT_FALSE(reg.ValueExists("bin8"));
}

TEST_F(RegistryFixture, PolishNamesReachTheRegistryAsTheirLetters)
{
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(path_ + "\\ścieżki", true));
    reg.WriteString("Dane użytkownika", "żółć");

    HKEY key;
    const std::wstring wide = L"Software\\QmxTest\\" +
                              std::wstring(path_.begin() + path_.rfind('\\') + 1, path_.end()) + L"\\ścieżki";
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, wide.c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);
    wchar_t data[32] = {};
    DWORD size = sizeof data, type = 0;
    EXPECT_EQ(RegQueryValueExW(key, L"Dane użytkownika", nullptr, &type, reinterpret_cast<BYTE*>(data), &size),
              ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(type, DWORD(REG_SZ));
    EXPECT_EQ(std::wstring(data), L"żółć");
}

TEST_F(RegistryFixture, KeysOpenCreateAndDelete)
{
    TRegistry reg;
    EXPECT_EQ(reg.RootKey(), HKEY_CURRENT_USER);
    EXPECT_FALSE(reg.OpenKey(path_ + "\\a", false));
    EXPECT_EQ(reg.CurrentKey(), nullptr);
    // Three levels below a key that is not there.
    ASSERT_TRUE(reg.OpenKey(path_ + "\\a\\b\\c", true));
    EXPECT_EQ(reg.CurrentPath(), path_ + "\\a\\b\\c");
    reg.WriteInteger("x", 1);

    ASSERT_TRUE(reg.OpenKey("\\" + path_, false));  // from the root
    EXPECT_EQ(reg.CurrentPath(), path_);
    ASSERT_TRUE(reg.OpenKey("a", false));  // from the open key
    EXPECT_EQ(reg.CurrentPath(), path_ + "\\a");
    EXPECT_TRUE(reg.KeyExists("b\\c"));
    EXPECT_FALSE(reg.KeyExists("c"));
    EXPECT_FALSE(reg.OpenKey("nie ma", false));
    EXPECT_EQ(reg.CurrentPath(), path_ + "\\a");  // a failed open keeps the key open
    ASSERT_TRUE(reg.OpenKey("d", true));

    ASSERT_TRUE(reg.OpenKey("\\" + path_ + "\\a", false));
    TStringList names;
    names.Add("stale");
    reg.GetKeyNames(names);
    names.SetSorted(true);
    EXPECT_EQ(Join(names), "b|d");

    EXPECT_TRUE(reg.DeleteKey("b"));  // with everything below it
    EXPECT_FALSE(reg.KeyExists("b"));
    EXPECT_FALSE(reg.DeleteKey("b"));
    reg.CloseKey();
    EXPECT_EQ(reg.CurrentKey(), nullptr);
    EXPECT_EQ(reg.CurrentPath(), "");
    reg.GetValueNames(names);
    EXPECT_EQ(names.Count(), 0);
    EXPECT_TRUE(reg.KeyExists(path_ + "\\a\\d"));
    EXPECT_THROW(reg.WriteString("x", "y"), ERegistryException);  // no key open

    TRegistry readOnly(KEY_READ);
    ASSERT_TRUE(readOnly.OpenKey(path_, false));
    EXPECT_THROW(readOnly.WriteString("x", "y"), ERegistryException);

    TRegistry machine;
    machine.SetRootKey(HKEY_LOCAL_MACHINE);
    EXPECT_FALSE(machine.KeyExists(path_));
}

TEST_F(RegistryFixture, RegIniFileKeepsSectionsAsSubkeys)
{
    const std::string root = path_ + "\\ini";
    {
        TRegIniFile ini(root);  // creates its key
        ini.WriteString("Lumero", "NormPos", "1,2,3,4");
        ini.WriteInteger("Lumero", "Flags", 2);
        ini.WriteBool("Lumero", "Visible", false);
        ini.WriteString("Żółw", "Gęś", "jaźń");
        ini.WriteString("", "Główna", "tak");
    }
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(root + "\\Lumero", false));
    EXPECT_EQ(reg.GetDataType("Flags"), rdString);  // integers as text
    EXPECT_EQ(reg.ReadString("Flags"), "2");
    reg.WriteInteger("Dword", 7);
    reg.WriteBinaryData("Bajty", "ab", 2);

    TRegIniFile ini(root);
    const struct {
        const char* section;
        const char* ident;
        const char* text;
        int number;
    } rows[] = {
        {"Lumero", "NormPos", "1,2,3,4", -9}, {"Lumero", "Flags", "2", 2},     {"Lumero", "Visible", "0", 0},
        {"Lumero", "Dword", "7", 7},          {"Lumero", "Bajty", "?", -9},     {"Lumero", "Brak", "?", -9},
        {"Żółw", "Gęś", "jaźń", -9},          {"Brak", "Flags", "?", -9},       {"", "Główna", "tak", -9},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << r.section << "/" << r.ident);
        EXPECT_EQ(ini.ReadString(r.section, r.ident, "?"), r.text);
        EXPECT_EQ(ini.ReadInteger(r.section, r.ident, -9), r.number);
    }
    TStringList list;
    ini.ReadSections(list);
    list.SetSorted(true);
    EXPECT_EQ(Join(list), "Lumero|Żółw");
    ini.ReadSection("Żółw", list);
    EXPECT_EQ(Join(list), "Gęś");
    ini.ReadSectionValues("Żółw", list);
    EXPECT_EQ(Join(list), "Gęś=jaźń");
    ini.ReadSection("Brak", list);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_TRUE(ini.ValueExists("Lumero", "flags"));

    ini.DeleteKey("Lumero", "Flags");
    EXPECT_FALSE(ini.ValueExists("Lumero", "Flags"));
    ini.WriteString("Lumero.Memo1_Lines", "Count", "1");  // a nested section stays separate
    ini.EraseSection("Lumero");
    EXPECT_FALSE(ini.SectionExists("Lumero"));
    EXPECT_TRUE(ini.SectionExists("Lumero.Memo1_Lines"));
    EXPECT_TRUE(ini.SectionExists("Żółw"));
}

}  // namespace
