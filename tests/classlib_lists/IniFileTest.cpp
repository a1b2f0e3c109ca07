#include "classlib/IniFiles.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "classlib/Lists.h"
#include "ListsTestUtil.h"
#include "tests/support/TestUtil.h"

namespace {

// An INI file in code page 1250 with Polish section and key names, written
// as another program would.
class IniFileFixture : public testing::Test {
protected:
    void SetUp() override
    {
        path_ = dir_.Path() + "ustawienia.ini";
        WriteWholeFile(path_,
                       "[Dane użytkownika]\r\n"
                       "Imię=Jan\r\n"
                       "  Miasto  =  Łódź  \r\n"
                       "Cytat=\"  w cudzysłowie  \"\r\n"
                       "Liczba=12\r\n"
                       "Szesnastkowo=0x1F\r\n"
                       "Dolar=$10\r\n"
                       "Ujemna=-5\r\n"
                       "Zła=12x\r\n"
                       "Pusta=\r\n"
                       "\r\n"
                       "[Żółw]\r\n"
                       "klucz=wartość\r\n"
                       "[Pusta sekcja]\r\n");
    }
    TempFolder dir_;
    std::string path_;
};

TEST_F(IniFileFixture, ReadsPolishSectionsKeysAndValues)
{
    TIniFile ini(path_);
    TStringList list;
    ini.ReadSections(list);
    EXPECT_EQ(Join(list), "Dane użytkownika|Żółw|Pusta sekcja");
    ini.ReadSection("Dane użytkownika", list);
    EXPECT_EQ(Join(list), "Imię|Miasto|Cytat|Liczba|Szesnastkowo|Dolar|Ujemna|Zła|Pusta");
    ini.ReadSection("Brak", list);
    EXPECT_EQ(list.Count(), 0);
    ini.ReadSectionValues("Żółw", list);
    EXPECT_EQ(Join(list), "klucz=wartość");

    const struct {
        const char* section;
        const char* key;
        const char* value;
    } strings[] = {
        {"Dane użytkownika", "Imię", "Jan"},
        {"Dane użytkownika", "Miasto", "Łódź"},             // blanks around key and value dropped
        {"Dane użytkownika", "Cytat", "  w cudzysłowie  "},  // one pair of quotes dropped
        {"DANE UżYTKOWNIKA", "IMIę", "Jan"},                 // a to z in any case
        {"Dane użytkownika", "Pusta", ""},
        {"Dane użytkownika", "Brak", "domyślna"},
        {"Brak", "Imię", "domyślna"},
    };
    for (const auto& r : strings) {
        SCOPED_TRACE(testing::Message() << r.section << "/" << r.key);
        EXPECT_EQ(ini.ReadString(r.section, r.key, "domyślna"), r.value);
    }

    const struct {
        const char* key;
        int value;
    } integers[] = {{"Liczba", 12}, {"Szesnastkowo", 31}, {"Dolar", 16}, {"Ujemna", -5},
                    {"Zła", 77},    {"Pusta", 77},        {"Brak", 77},  {"Imię", 77}};
    for (const auto& r : integers) {
        SCOPED_TRACE(r.key);
        EXPECT_EQ(ini.ReadInteger("Dane użytkownika", r.key, 77), r.value);
    }
    EXPECT_TRUE(ini.ReadBool("Dane użytkownika", "Liczba", false));
    EXPECT_FALSE(ini.ReadBool("Dane użytkownika", "Brak", false));

    EXPECT_TRUE(ini.SectionExists("Żółw"));
    EXPECT_FALSE(ini.SectionExists("Pusta sekcja"));  // no entries
    EXPECT_FALSE(ini.SectionExists("Brak"));
    EXPECT_TRUE(ini.ValueExists("Dane użytkownika", "miasto"));
    EXPECT_TRUE(ini.ValueExists("Dane użytkownika", "Pusta"));
    EXPECT_FALSE(ini.ValueExists("Dane użytkownika", "Brak"));
}

TEST_F(IniFileFixture, WritesCp1250AndErases)
{
    {
        TIniFile ini(path_);
        ini.WriteString("Żółw", "Gęś", "zażółć gęślą jaźń");
        ini.WriteInteger("Żółw", "Liczba", -42);
        ini.WriteBool("Żółw", "Tak", true);
        ini.WriteString("Nowa", "klucz", "x");
        ini.DeleteKey("Dane użytkownika", "Imię");
        ini.DeleteKey("Dane użytkownika", "Nie ma");
        ini.EraseSection("Pusta sekcja");
        ini.EraseSection("Nie ma");
        ini.UpdateFile();
    }
    const std::string bytes = ReadWholeFile(path_);
    EXPECT_NE(bytes.find("[\xAF\xF3\xB3w]\r\n"), std::string::npos);  // [Żółw] in code page 1250
    EXPECT_NE(bytes.find("G\xEA\x9C=za\xBF\xF3\xB3\xE6 g\xEA\x9Cl\xB9 ja\x9F\xF1\r\n"), std::string::npos);
    EXPECT_EQ(bytes.find("Pusta sekcja"), std::string::npos);
    EXPECT_EQ(bytes.find("Imi\xEA="), std::string::npos);

    TIniFile ini(path_);
    EXPECT_EQ(ini.ReadString("Żółw", "Gęś", ""), "zażółć gęślą jaźń");
    EXPECT_EQ(ini.ReadInteger("Żółw", "Liczba", 0), -42);
    EXPECT_EQ(ini.ReadString("Żółw", "Tak", ""), "1");
    EXPECT_EQ(ini.ReadString("Nowa", "klucz", ""), "x");
    TStringList list;
    ini.ReadSections(list);
    EXPECT_EQ(Join(list), "Dane użytkownika|Żółw|Nowa");
}

TEST_F(IniFileFixture, LongValuesAndListsAreReadWhole)
{
    TIniFile ini(path_);
    const std::string value(5000, 'w');
    ini.WriteString("Długie", "wartość", value);
    for (int i = 0; i < 400; ++i)
        ini.WriteString("Długie", "klucz" + std::to_string(i), "x");
    EXPECT_EQ(ini.ReadString("Długie", "wartość", ""), value);
    TStringList keys;
    ini.ReadSection("Długie", keys);
    ASSERT_EQ(keys.Count(), 401);
    EXPECT_EQ(keys.Strings(400), "klucz399");
}

TEST(TIniFile, RefusedWriteNamesTheFile)
{
    TempFolder dir;
    const std::string path = dir.Path() + "nie ma\\plik.ini";  // its folder does not exist
    TIniFile ini(path);
    try {
        ini.WriteString("a", "b", "c");
        ADD_FAILURE() << "written";
    } catch (const EIniFileException& e) {
        EXPECT_EQ(e.Message(), "Nie można pisać do " + path);
    }
    EXPECT_EQ(ini.ReadString("a", "b", "d"), "d");
}

}  // namespace
