// The sample medium that the build assembles (tools/medium): its description
// files as the installer reads them, the files they name, the programs'
// version strings, the setup stubs' log and the two font files.
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/VersInfo.h"
#include "tests/support/TestUtil.h"

namespace {

// A double-zero-terminated list of names, joined by "|".
std::string JoinedNames(const std::vector<char>& buffer)
{
    std::string joined;
    for (const char* p = buffer.data(); *p; p += strlen(p) + 1) {
        if (!joined.empty())
            joined += '|';
        joined += p;
    }
    return joined;
}

std::string SectionNames(const std::string& file)
{
    std::vector<char> buffer(32768);
    GetPrivateProfileSectionNamesA(buffer.data(), static_cast<DWORD>(buffer.size()), file.c_str());
    return JoinedNames(buffer);
}

std::vector<std::string> KeyNames(const std::string& file, const std::string& section)
{
    std::vector<char> buffer(32768);
    GetPrivateProfileStringA(section.c_str(), nullptr, "", buffer.data(), static_cast<DWORD>(buffer.size()),
                             file.c_str());
    std::vector<std::string> keys;
    for (const char* p = buffer.data(); *p; p += strlen(p) + 1)
        keys.push_back(p);
    return keys;
}

std::string Value(const std::string& file, const std::string& section, const std::string& key)
{
    char buffer[1024];
    const DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), "", buffer, sizeof buffer, file.c_str());
    return std::string(buffer, n);
}

// The section's lines as the profile routines give them: "key=value|...".
std::string SectionLines(const std::string& file, const std::string& section)
{
    std::string lines;
    for (const std::string& key : KeyNames(file, section)) {
        if (!lines.empty())
            lines += '|';
        lines += key + "=" + Value(file, section, key);
    }
    return lines;
}

bool FileExists(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

const struct DescriptionFile {
    const char* folder;  // relative to the medium, with a trailing backslash
    const char* sections;
} kDescriptionFiles[] = {
    {"", "Parvin 2000"},
    {"pakiet\\", "Ferlond"},
    {"pakiet\\narzedzia\\", "Kalmet Księgowość|Lumero 2000"},
};

TEST(Medium, DescriptionFilesReadAsTheInstallerReadsThem)
{
    const std::string medium = BuiltPath("medium\\");
    for (const auto& d : kDescriptionFiles) {
        SCOPED_TRACE(d.folder);
        EXPECT_EQ(SectionNames(medium + d.folder + "kelvor.qmx"), d.sections);
    }

    const struct {
        const char* folder;
        const char* section;
        const char* lines;
    } rows[] = {
        {"", "Parvin 2000",
         "<rozmiar>=1,2 MB|<katalog>=Parvin|<info>=Dziennik korespondencji, książka adresowa i faktury|"
         "<wersja>=2000|parvin.exe=Parvin 2000|pomoc.txt=Pomoc - ważne; przeczytaj|brak.dat=Dane przykładowe"},
        {"pakiet\\", "Ferlond",
         "<rozmiar>=340 KB|<katalog>=|<info>=Przypomina o terminach; uruchamia się razem z Windows|"
         "ferlond.exe=Dziennik Ferlonda|PARVIN\\POMOC.TXT=Pomoc Parvina"},
        {"pakiet\\narzedzia\\", "Kalmet Księgowość",
         "<rozmiar>=2,5 MB|<katalog>=Kalmet\\Dane|<info>=Księgowość małej firmy: płatności, konta i kontrahenci|"
         "kalmet.exe=Kalmet 2000"},
        {"pakiet\\narzedzia\\", "Lumero 2000",
         "<rozmiar>=800 KB|<katalog>=Lumero|<info>=Organizator i konfigurator programów Orvath|"
         "brennik.exe=Brennik|czytaj.txt=Czytaj mnie"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(std::string(r.folder) + r.section);
        EXPECT_EQ(SectionLines(medium + r.folder + "kelvor.qmx", r.section), r.lines);
    }
}

// Text files are written as a Windows program writes them: every line ends in
// CR LF (the CP1250 letters are checked through the values above).
TEST(Medium, TextFilesHaveWindowsLines)
{
    const std::string medium = BuiltPath("medium\\");
    const char* files[] = {"kelvor.qmx", "pakiet\\kelvor.qmx", "pakiet\\narzedzia\\kelvor.qmx",
                           "Parvin\\pomoc.txt", "pakiet\\PARVIN\\POMOC.TXT", "pakiet\\narzedzia\\czytaj.txt"};
    for (const char* file : files) {
        SCOPED_TRACE(file);
        const std::string bytes = ReadWholeFile(medium + file);
        ASSERT_GE(bytes.size(), 2u);
        EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
        for (std::string::size_type at = bytes.find('\n'); at != std::string::npos; at = bytes.find('\n', at + 1))
            EXPECT_TRUE(at > 0 && bytes[at - 1] == '\r') << "bare LF at byte " << at;
    }
}

// Every file line names a file where the installer looks for it (the
// description file's folder, or "<katalog>" for the one at the top), except
// the one left out on purpose; the setup programs and fonts stand at the top.
TEST(Medium, ListedFilesAreOnTheMedium)
{
    const std::string medium = BuiltPath("medium\\");
    for (const auto& d : kDescriptionFiles) {
        const std::string file = medium + d.folder + "kelvor.qmx";
        std::string sections = d.sections;
        for (std::string::size_type start = 0; start <= sections.size();) {
            std::string::size_type end = sections.find('|', start);
            if (end == std::string::npos)
                end = sections.size();
            const std::string section = sections.substr(start, end - start);
            start = end + 1;
            const std::string base =
                *d.folder ? std::string(d.folder) : Value(file, section, "<katalog>") + "\\";
            for (const std::string& key : KeyNames(file, section)) {
                if (key[0] == '<')
                    continue;
                SCOPED_TRACE(section + ": " + key);
                EXPECT_EQ(FileExists(medium + base + key), key != "brak.dat");
            }
        }
    }
    for (const char* top : {"tahoma.ttf", "tahomabd.ttf", "newfnt32.exe", "40comUpd.exe"}) {
        SCOPED_TRACE(top);
        EXPECT_TRUE(FileExists(medium + top));
    }
    // The two files with one destination differ, so a test can tell which one
    // the installer copied.
    EXPECT_NE(ReadWholeFile(medium + "Parvin\\pomoc.txt"), ReadWholeFile(medium + "pakiet\\PARVIN\\POMOC.TXT"));
}

TEST(Medium, ProgramsCarryTheirVersionStrings)
{
    const struct {
        const char* file;
        const char* fileVersion;
        const char* description;
        const char* product;
        const char* comments;
        const char* autoRun;
        const char* uninstaller;
    } rows[] = {
        {"Parvin\\parvin.exe", "2.0.0.14", "Dziennik korespondencji i książka adresowa", "Parvin",
         "12 listopada 1999", "", ""},
        {"pakiet\\ferlond.exe", "1.5.2.0", "Terminarz z przypomnieniami", "Ferlond", "3 grudnia 1999", "Ferlond", ""},
        {"pakiet\\narzedzia\\kalmet.exe", "3.1.0.7", "Księgowość małej firmy", "Kalmet", "28 października 1999",
         "Kalmet Płatności", "kalmet.exe /usuń"},
        {"pakiet\\narzedzia\\brennik.exe", "1.0.0.3", "Organizator i konfigurator programów Orvath", "Lumero",
         "15 grudnia 1999", "", "brennik.exe"},
    };
    const std::string medium = BuiltPath("medium\\");
    TVersionInfoResource vi(nullptr);
    for (const auto& r : rows) {
        SCOPED_TRACE(r.file);
        vi.SetFilename(medium + r.file);
        ASSERT_EQ(vi.Translations().Count(), 1);
        EXPECT_EQ(vi.Translations().Strings(0), "041504e2");
        EXPECT_EQ(vi.FileVersionNumber().GetVersionText(), r.fileVersion);
        EXPECT_EQ(vi.GetStandardValue(pdFileVersion), r.fileVersion);
        EXPECT_EQ(vi.CompanyName(), "Orvath");
        EXPECT_EQ(vi.FileDescription(), r.description);
        EXPECT_EQ(vi.ProductName(), r.product);
        EXPECT_EQ(vi.Comments(), r.comments);
        EXPECT_EQ(vi.LegalCopyright(), "© Orvath 1999");
        EXPECT_EQ(vi.GetValue("AutoRun"), r.autoRun);
        EXPECT_EQ(vi.GetValue("Uninstaller"), r.uninstaller);
    }
}

// Each setup stub appends its name and its arguments as it got them, after
// the program's own token, quoted or not.
TEST(Medium, SetupStubsLogTheirCommandLines)
{
    const std::string medium = BuiltPath("medium\\");
    TempFolder temp;
    const std::string log = temp.Path() + "stubs.log";
    ASSERT_TRUE(SetEnvironmentVariableA("QMX_SETUP_LOG", log.c_str()));

    const struct {
        const char* program;
        bool quoted;
        const char* tail;
        const char* line;
    } rows[] = {
        {"newfnt32.exe", false, " /r:n /q:1", "newfnt32.exe /r:n /q:1"},
        {"40comUpd.exe", false, " /r:n /q:1", "40comUpd.exe /r:n /q:1"},
        {"40comUpd.exe", false, "", "40comUpd.exe"},
        {"newfnt32.exe", true, "   /r:n  /q:1 ", "newfnt32.exe /r:n  /q:1 "},
    };
    std::string expected;
    for (const auto& r : rows) {
        const std::string path = medium + r.program;
        const std::string command = (r.quoted ? "\"" + path + "\"" : path) + r.tail;
        SCOPED_TRACE(command);
        EXPECT_EQ(RunProgram(command), 0);
        expected += std::string(r.line) + "\r\n";
        EXPECT_EQ(ReadWholeFile(log), expected);
    }

    // Without the variable the log is "setup.log" beside the program.
    ASSERT_TRUE(SetEnvironmentVariableA("QMX_SETUP_LOG", nullptr));
    const std::string copy = temp.Path() + "newfnt32.exe";
    ASSERT_TRUE(CopyFileA((medium + "newfnt32.exe").c_str(), copy.c_str(), FALSE));
    EXPECT_EQ(RunProgram(copy + " /r:n /q:1"), 0);
    EXPECT_EQ(ReadWholeFile(temp.Path() + "setup.log"), "newfnt32.exe /r:n /q:1\r\n");
}

TEST(Medium, FontFilesAreTrueTypeFonts)
{
    const std::string medium = BuiltPath("medium\\");
    for (const char* name : {"tahoma.ttf", "tahomabd.ttf"}) {
        SCOPED_TRACE(name);
        const std::string path = medium + name;
        EXPECT_GT(AddFontResourceExA(path.c_str(), FR_PRIVATE, nullptr), 0);
        RemoveFontResourceExA(path.c_str(), FR_PRIVATE, nullptr);
    }
    EXPECT_NE(ReadWholeFile(medium + "tahoma.ttf"), ReadWholeFile(medium + "tahomabd.ttf"));
}

} // namespace
