#include "common/QmxReg.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "classlib/Lists.h"
#include "tests/common_reg/RegTestUtil.h"

namespace {

std::wstring Widen(const std::string& ascii)
{
    return std::wstring(ascii.begin(), ascii.end());
}

TEST(QmxReg, RootKeyFromCodeKeepsSevenBits)
{
    const struct {
        int code;
        HKEY root;
    } rows[] = {
        {1, HKEY_CURRENT_USER}, {2, HKEY_LOCAL_MACHINE}, {3, HKEY_USERS},        {4, HKEY_DYN_DATA},
        {0, HKEY_CLASSES_ROOT}, {5, HKEY_CLASSES_ROOT},  {127, HKEY_CLASSES_ROOT}, {128, HKEY_CLASSES_ROOT},
        {129, HKEY_CURRENT_USER}, {130, HKEY_LOCAL_MACHINE}, {-127, HKEY_CURRENT_USER},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.code);
        EXPECT_EQ(RootKeyFromCode(r.code), r.root);
    }
}

TEST(QmxReg, ReadRegValueByStoredType)
{
    TestKey key;
    const BYTE dwordMinus1[] = {0xFF, 0xFF, 0xFF, 0xFF};
    const BYTE dword300[] = {0x2C, 0x01, 0x00, 0x00};
    const BYTE bin2[] = {0x34, 0x12};
    const BYTE bin4[] = {0xFE, 0xFF, 0xFF, 0xFF};
    const BYTE bin8[] = {1, 2, 3, 4, 5, 6, 7, 8};
    const BYTE qword[] = {1, 0, 0, 0, 0, 0, 0, 0};
    const char text[] = "Imię i nazwisko";
    const char expand[] = "%TEMP%\\kopie";
    const char multi[] = "a\0b\0";  // two strings and the final zero
    const struct {
        const char* name;
        DWORD type;
        const void* data;
        DWORD size;
        const char* expected;
    } rows[] = {
        {"tekst", REG_SZ, text, sizeof text, "Imię i nazwisko"},
        {"pusty", REG_SZ, "", 1, ""},
        {"dword -1", REG_DWORD, dwordMinus1, 4, "-1"},
        {"dword 300", REG_DWORD, dword300, 4, "300"},
        {"rozwijany", REG_EXPAND_SZ, expand, sizeof expand, "*** ext string ***"},
        {"wiele", REG_MULTI_SZ, multi, sizeof multi, ""},
        {"qword", REG_QWORD, qword, 8, ""},
        {"bin 0", REG_BINARY, bin2, 0, "0"},
        {"bin 2", REG_BINARY, bin2, 2, "4660"},
        {"bin 4", REG_BINARY, bin4, 4, "-2"},
        {"bin 8", REG_BINARY, bin8, 8, "Niepoprawny typ danych dla \"bin 8\""},
    };
    for (const auto& r : rows)
        SetRawValue(HKEY_CURRENT_USER, key.Path(), r.name, r.type, r.data, r.size);

    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        std::string value = "stare";
        ReadRegValue(1, key.Path(), r.name, value, "domyślna");
        EXPECT_EQ(value, r.expected);
    }
}

TEST(QmxReg, DefaultSurvivesOnlyAMissingKey)
{
    TestKey key;
    SetRawString(HKEY_CURRENT_USER, key.Path(), "jest", "x");

    std::string value;
    RegistryErrorFlag = true;
    ReadRegValue(1, key.Path(), "brak", value, "domyślna");
    EXPECT_EQ(value, "");
    EXPECT_FALSE(RegistryErrorFlag);

    RegistryErrorFlag = true;
    ReadRegValue(1, key.Path(), "jest", value, "domyślna");
    EXPECT_EQ(value, "x");
    EXPECT_FALSE(RegistryErrorFlag);

    ReadRegValue(1, key.Path() + "\\brak", "jest", value, "domyślna");
    EXPECT_EQ(value, "domyślna");
    EXPECT_TRUE(RegistryErrorFlag);
    EXPECT_FALSE(RawKeyExists(HKEY_CURRENT_USER, key.Path() + "\\brak"));  // reading never creates
}

TEST(QmxReg, WriteRegStringCreatesMissingKeys)
{
    TestKey key;
    const std::string deep = key.Path() + "\\a\\b\\c";
    ASSERT_FALSE(RawKeyExists(HKEY_CURRENT_USER, key.Path()));

    RegistryErrorFlag = true;
    WriteRegString(1, deep, "wartość", "ąę");
    EXPECT_FALSE(RegistryErrorFlag);
    std::string value;
    ASSERT_TRUE(GetRawString(HKEY_CURRENT_USER, deep, "wartość", value));
    EXPECT_EQ(value, "ąę");

    // An empty name is the key's default value; a second write replaces.
    WriteRegString(129, deep, "", "pierwsza");
    WriteRegString(1, deep, "", "druga");
    ASSERT_TRUE(GetRawString(HKEY_CURRENT_USER, deep, "", value));
    EXPECT_EQ(value, "druga");

    ReadRegValue(1, deep, "", value, "");
    EXPECT_EQ(value, "druga");
}

TEST(QmxReg, WriteRegStringFlagsAKeyItCannotCreate)
{
    TestKey key;
    // A volatile key takes no lasting subkeys. Only the last level is
    // volatile: the system makes missing levels above it volatile too.
    SetRawString(HKEY_CURRENT_USER, key.Path(), "v", "x");
    const std::string volatilePath = key.Path() + "\\ulotny";
    HKEY volatileKey = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, volatilePath.c_str(), 0, nullptr, REG_OPTION_VOLATILE,
                              KEY_ALL_ACCESS, nullptr, &volatileKey, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(volatileKey);

    RegistryErrorFlag = false;
    WriteRegString(1, volatilePath + "\\trwały", "v", "x");
    EXPECT_TRUE(RegistryErrorFlag);
    EXPECT_FALSE(RawKeyExists(HKEY_CURRENT_USER, volatilePath + "\\trwały"));

    WriteRegString(1, volatilePath, "v", "x");  // the volatile key itself takes values
    EXPECT_FALSE(RegistryErrorFlag);
}

TEST(QmxReg, PolishNamesReachTheRegistryAsTheirLetters)
{
    TestKey key;
    WriteRegString(1, key.Path() + "\\ścieżki", "Dane użytkownika", "Łódź, ul. Żółta");

    std::wstring value;
    ASSERT_TRUE(GetRawStringW(HKEY_CURRENT_USER, Widen(key.Path()) + L"\\ścieżki", L"Dane użytkownika", value));
    EXPECT_EQ(value, L"Łódź, ul. Żółta");
}

TEST(QmxReg, GetRegValueNames)
{
    TestKey key;
    for (const char* name : {"b", "a", "Dane użytkownika"})
        SetRawString(HKEY_CURRENT_USER, key.Path(), name, "x");
    SetRawString(HKEY_CURRENT_USER, key.Path() + "\\podklucz", "ukryta", "x");

    TStringList list;
    list.Add("stara linia");
    ASSERT_TRUE(GetRegValueNames(1, key.Path(), list));
    ASSERT_EQ(list.Count(), 3);  // values only, and the old line gone
    list.SetSorted(true);
    EXPECT_EQ(list.Strings(0), "a");
    EXPECT_EQ(list.Strings(1), "b");
    EXPECT_EQ(list.Strings(2), "Dane użytkownika");

    TStringList untouched;
    untouched.Add("zostaje");
    EXPECT_FALSE(GetRegValueNames(1, key.Path() + "\\brak", untouched));
    EXPECT_EQ(untouched.Count(), 1);
    EXPECT_FALSE(RawKeyExists(HKEY_CURRENT_USER, key.Path() + "\\brak"));

    ASSERT_TRUE(GetRegValueNames(1, key.Path() + "\\podklucz", list));
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list.Strings(0), "ukryta");
}

TEST(QmxReg, DeleteRegKeyTakesEverythingBelow)
{
    TestKey key;
    SetRawString(HKEY_CURRENT_USER, key.Path() + "\\usun\\x\\y", "v", "1");
    SetRawString(HKEY_CURRENT_USER, key.Path() + "\\usun", "w", "2");
    SetRawString(HKEY_CURRENT_USER, key.Path() + "\\zostaw", "v", "3");

    EXPECT_TRUE(DeleteRegKey(1, key.Path() + "\\usun"));
    EXPECT_FALSE(RawKeyExists(HKEY_CURRENT_USER, key.Path() + "\\usun"));
    EXPECT_TRUE(RawKeyExists(HKEY_CURRENT_USER, key.Path() + "\\zostaw"));
    EXPECT_FALSE(DeleteRegKey(1, key.Path() + "\\usun"));
    EXPECT_FALSE(DeleteRegKey(1, ""));  // never the root itself
}

} // namespace
