// The settings key HKCU "Software\QMX" and the paths key HKLM
// "Software\QMX\ścieżki" are the programs' own; these tests run under a
// resource lock and remove what they add.
#include "common/QmxReg.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "classlib/SysUtils.h"
#include "tests/common_reg/RegTestUtil.h"
#include "tests/support/TestUtil.h"

namespace {

const char* const Section = "QmxTestUstawienia";

TEST(QmxRegSettings, ReadSettingIntGivesTheDefaultForAnythingButAnInteger)
{
    KeyRestorer qmx(HKEY_CURRENT_USER, "Software\\QMX", {});
    const std::string sectionKey = std::string("Software\\QMX\\") + Section;
    DeleteRawTree(HKEY_CURRENT_USER, sectionKey);
    struct RemoveSection {
        const std::string& key;
        ~RemoveSection() { DeleteRawTree(HKEY_CURRENT_USER, key); }
    } removeSection{sectionKey};

    const struct {
        const char* name;
        const char* stored;  // nullptr: no value
        int expected;
    } rows[] = {
        {"liczba", "12", 12}, {"ujemna", "-3", -3}, {"z literą", "12x", 7},
        {"pusta", "", 7},     {"brak", nullptr, 7},
    };
    for (const auto& r : rows)
        if (r.stored)
            WriteSettingString(Section, r.name, r.stored);
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(ReadSettingInt(Section, r.name, 7), r.expected);
    }

    WriteSettingInt(Section, "zapisana", -5);
    std::string raw;
    ASSERT_TRUE(GetRawString(HKEY_CURRENT_USER, sectionKey, "zapisana", raw));
    EXPECT_EQ(raw, "-5");

    std::string value;
    ReadSettingString(Section, "zapisana", "d", value);
    EXPECT_EQ(value, "-5");
    ReadSettingString("QmxTestBrakSekcji", "zapisana", "d", value);
    EXPECT_EQ(value, "d");
    EXPECT_TRUE(RegistryErrorFlag);
}

class QmxRegDataFiles : public testing::Test {
protected:
    static constexpr int Index = 13;
    const char* Name() const { return DataFileValueNames[Index]; }

    bool Recorded(std::string& value) const { return GetRawString(HKEY_LOCAL_MACHINE, QmxPathsKey, Name(), value); }

    KeyRestorer qmx_{HKEY_LOCAL_MACHINE, "Software\\QMX", {}};
    KeyRestorer paths_{HKEY_LOCAL_MACHINE, QmxPathsKey, {DataFileValueNames[Index]}};
    TempFolder temp_;
};

TEST_F(QmxRegDataFiles, TableOfValueNames)
{
    // The other applications of the maker record their data files under these.
    const char* const names[] = {
        "tts_Dziennik_Parvina",      "tts_Kontrahenci",     "tts_Uzytkownicy",         "tts_RaportKasowy",
        "tts_Faktury",               "tts_Towary",          "tts_Dziennik_Ferlonda",   "tts_Konta_Pocztowe",
        "tts_Kody_Pocztowe",         "tts_Aplikacje_Internetowe", "tts_Kalmet",        "tts_Urzedy_Skarbowe",
        "tts_Kalmet_typowe_konta",   "tts_Kalmet_Stali_Kontrahenci",
    };
    ASSERT_EQ(DataFileCount, static_cast<int>(std::size(names)));
    for (int i = 0; i < DataFileCount; ++i)
        EXPECT_STREQ(DataFileValueNames[i], names[i]) << i;
}

TEST_F(QmxRegDataFiles, GetDataFilePath)
{
    const std::string recordedFile = temp_.Path() + "zapisany.dat";
    const std::string defaultFile = temp_.Path() + "domyślny.dat";
    const std::string deletedFile = temp_.Path() + "usunięty.dat";
    const std::string missingDefault = temp_.Path() + "brak.dat";
    WriteWholeFile(recordedFile, "r");
    WriteWholeFile(defaultFile, "d");

    const struct {
        const char* what;
        const std::string* recorded;  // nullptr: no value
        const std::string& defaultPath;
        const std::string& expected;
        const std::string* recordedAfter;  // nullptr: still no value
    } rows[] = {
        {"recorded file exists", &recordedFile, defaultFile, recordedFile, &recordedFile},
        {"recorded file deleted, default exists", &deletedFile, defaultFile, defaultFile, &defaultFile},
        {"nothing recorded, default exists", nullptr, defaultFile, defaultFile, &defaultFile},
        {"recorded file deleted, default missing", &deletedFile, missingDefault, missingDefault, &deletedFile},
        {"nothing recorded, default missing", nullptr, missingDefault, missingDefault, nullptr},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        paths_.Clear();
        if (r.recorded)
            SetRawString(HKEY_LOCAL_MACHINE, QmxPathsKey, Name(), *r.recorded);

        std::string path = "stara";
        GetDataFilePath(Index, r.defaultPath, path);
        EXPECT_EQ(path, r.expected);

        std::string recorded;
        if (r.recordedAfter) {
            ASSERT_TRUE(Recorded(recorded));
            EXPECT_EQ(recorded, *r.recordedAfter);
        } else {
            EXPECT_FALSE(Recorded(recorded)) << recorded;
        }
    }
}

TEST_F(QmxRegDataFiles, PathKeyNameReachesTheRegistryAsItsLetters)
{
    const std::string file = temp_.Path() + "dane.dat";
    WriteWholeFile(file, "x");
    std::string path;
    GetDataFilePath(Index, file, path);

    std::wstring value;
    ASSERT_TRUE(GetRawStringW(HKEY_LOCAL_MACHINE, L"Software\\QMX\\ścieżki", L"tts_Kalmet_Stali_Kontrahenci", value));
    EXPECT_EQ(value, std::wstring(file.begin(), file.end()));  // an ASCII temporary folder
}

TEST_F(QmxRegDataFiles, IndexOutsideTheTableGivesTheDefault)
{
    const std::string file = temp_.Path() + "dane.dat";
    WriteWholeFile(file, "x");
    for (int index : {-1, DataFileCount}) {
        SCOPED_TRACE(index);
        std::string path;
        GetDataFilePath(index, file, path);
        EXPECT_EQ(path, file);
    }
}

} // namespace
