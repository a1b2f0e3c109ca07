#include <windows.h>

#include <gtest/gtest.h>

#include "classlib/SysUtils.h"
#include "organizer/FileUtil.h"
#include "organizer/InstallReport.h"
#include "tests/support/TestUtil.h"

namespace {

// Owns a file handle that a test holds open.
struct OpenFile {
    HANDLE h;
    ~OpenFile()
    {
        if (h != INVALID_HANDLE_VALUE)
            CloseHandle(h);
    }
};

TEST(OrganizerFileUtil, FileSizeBySearch)
{
    TempFolder temp;
    WriteWholeFile(temp.Path() + "dane.dat", "12345");
    WriteWholeFile(temp.Path() + "pusty.txt", "");
    CreateDirectoryA((temp.Path() + "folder").c_str(), nullptr);
    WriteWholeFile(temp.Path() + "ukryty.bin", "123");
    SetFileAttributesA((temp.Path() + "ukryty.bin").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    const long long large = 5LL * 1024 * 1024 * 1024 + 3;
    ASSERT_TRUE(MakeHollowFile(temp.Path() + "duzy.bin", large));

    std::string saved = GetCurrentDir();
    SetCurrentDir(temp.Path());
    const struct {
        std::string name;
        long long size;
    } rows[] = {
        {temp.Path() + "dane.dat", 5},
        {"dane.dat", 5},  // against the current folder
        {temp.Path() + "*.dat", 5},
        {temp.Path() + "pusty.txt", 0},
        {temp.Path() + "folder", 0},
        {temp.Path() + "ukryty.bin", 3},
        {temp.Path() + "duzy.bin", large},
        {temp.Path() + "brak.dat", -1},
        {temp.Path() + "*.xyz", -1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.size, FileSizeBySearch(row.name));
    }
    SetCurrentDir(saved);
}

TEST(OrganizerFileUtil, FileDateTime)
{
    TempFolder temp;
    std::string name = temp.Path() + "dane.dat";
    WriteWholeFile(name, "x");
    {
        OpenFile f{CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr)};
        ASSERT_NE(INVALID_HANDLE_VALUE, f.h);
        SYSTEMTIME st{2024, 3, 0, 15, 13, 45, 10, 0};
        FILETIME local, utc;
        SystemTimeToFileTime(&st, &local);
        LocalFileTimeToFileTime(&local, &utc);
        ASSERT_TRUE(SetFileTime(f.h, nullptr, nullptr, &utc));
    }
    EXPECT_DOUBLE_EQ(EncodeDate(2024, 3, 15) + EncodeTime(13, 45, 10, 0), FileDateTime(name));
    EXPECT_EQ(0, FileDateTime(temp.Path() + "brak.dat"));
}

TEST(InstallReport, ParseReportLine)
{
    const struct {
        const char* line;
        bool ok;
        const char* keyword;
        const char* name;
        const char* source;
        const char* destination;
        const char* link;
    } rows[] = {
        {"01-02-2026 10:11:12 - FILECOPY=Vurodar (1.0);d:\\v.exe;c:\\qmx\\v.exe", true, "FILECOPY", "Vurodar (1.0)",
         "d:\\v.exe", "c:\\qmx\\v.exe", ""},
        {"01-02-2026 10:11:12 - LINK=Vurodar;d:\\v.exe;c:\\qmx\\v.exe;c:\\pulpit\\Vurodar.lnk", true, "LINK", "Vurodar",
         "d:\\v.exe", "c:\\qmx\\v.exe", "c:\\pulpit\\Vurodar.lnk"},
        {"01-02-2026 10:11:12 - AUTORUN=Vurodar;d:\\v.exe;c:\\qmx\\v.exe", true, "AUTORUN", "Vurodar", "d:\\v.exe",
         "c:\\qmx\\v.exe", ""},
        // " - " and "=" inside the name, "=" inside a path, stay where they are.
        {"01-02-2026 10:11:12 - FILECOPY=Lumero - Orvath, wersja=2 (2.0);d:\\a=b.exe;c:\\x - y\\a=b.exe", true,
         "FILECOPY", "Lumero - Orvath, wersja=2 (2.0)", "d:\\a=b.exe", "c:\\x - y\\a=b.exe", ""},
        {"1-2-2026 10:11 - FILECOPY=V;s;d", true, "FILECOPY", "V", "s", "d", ""},
        {"01-02-2026 10:11:12 - FILECOPY", false, "", "", "", "", ""},
        {"Tarvix 99", false, "", "", "", "", ""},
        {"", false, "", "", "", "", ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.line);
        TReportLine r;
        ASSERT_EQ(row.ok, ParseReportLine(row.line, r));
        if (!row.ok)
            continue;
        EXPECT_EQ(row.keyword, r.Keyword);
        EXPECT_EQ(row.name, r.Name);
        EXPECT_EQ(row.source, r.Source);
        EXPECT_EQ(row.destination, r.Destination);
        EXPECT_EQ(row.link, r.Link);
    }
    EXPECT_EQ("Vurodar 2000", ReportProgramName("  Vurodar 2000 (1.2) (beta)"));
    EXPECT_EQ("Vurodar 2000", ReportProgramName("Vurodar 2000 "));
}

// Reports over a folder of files: "%" in a row stands for the folder.
class InstallReportFiles : public testing::Test {
protected:
    void SetUp() override
    {
        WriteWholeFile(P("v.exe"), "exe");
        WriteWholeFile(P("v.hlp"), "hlp");
        WriteWholeFile(P("Vurodar.lnk"), "lnk");
        WriteWholeFile(P("pusty.dat"), "");
        WriteWholeFile(P("zajety.dat"), "busy");
    }
    std::string P(const std::string& name) const { return temp_.Path() + name; }
    std::string Expand(std::string s) const
    {
        for (std::size_t p; (p = s.find('%')) != std::string::npos;)
            s.replace(p, 1, temp_.Path());
        return s;
    }
    TempFolder temp_;
};

TEST_F(InstallReportFiles, ReadInstallReport)
{
    const char* d = "01-02-2026 10:11:12 - ";
    const struct {
        const char* name;
        std::string report;  // nullptr-like: "-" means no report file
        bool result;
        std::string programs;  // "name: file, file | name: ..."
    } rows[] = {
        {"letter cases and version of one name",
         std::string(d) + "FILECOPY=Vurodar 2000 (1.2);s;%v.exe\r\n" + d + "FILECOPY=VURODAR 2000;s;%v.hlp\r\n", true,
         "Vurodar 2000: %v.exe, %v.hlp"},
        {"a file recorded twice",
         std::string(d) + "FILECOPY=Vurodar;s;%v.exe\r\n" + d + "FILECOPY=Vurodar;s2;%V.EXE\r\n", true,
         "Vurodar: %v.exe"},
        {"a shortcut gives its link, not the program",
         std::string(d) + "LINK=Vurodar;s;%v.exe;%Vurodar.lnk\r\n", true, "Vurodar: %Vurodar.lnk"},
        {"only autostart and uninstaller lines",
         std::string(d) + "AUTORUN=Vurodar;s;%v.exe\r\n" + d + "UNINSTALLER=Lumero;s;%v.hlp\r\n", true, ""},
        {"empty, missing and busy files are not listed",
         std::string(d) + "FILECOPY=A;s;%pusty.dat\r\n" + d + "FILECOPY=A;s;%brak.dat\r\n" + d +
             "FILECOPY=A;s;%zajety.dat\r\n" + d + "FILECOPY=B;s;%v.exe\r\n",
         true, "B: %v.exe"},
        {"a name with \" - \", \",\" and \"=\"",
         std::string(d) + "FILECOPY=Lumero - Orvath, wersja=2 (2.0);s;%v.exe\r\n" + d +
             "LINK=Lumero - Orvath, wersja=2;s;%v.exe;%Vurodar.lnk\r\n",
         true, "Lumero - Orvath, wersja=2: %v.exe, %Vurodar.lnk"},
        {"programs in the order they first appear",
         std::string(d) + "FILECOPY=Zeta;s;%v.exe\r\n" + d + "FILECOPY=Alfa;s;%v.hlp\r\n" + d +
             "FILECOPY=zeta;s;%Vurodar.lnk\r\n",
         true, "Zeta: %v.exe, %Vurodar.lnk | Alfa: %v.hlp"},
        {"one file in two programs",
         std::string(d) + "FILECOPY=Alfa;s;%v.exe\r\n" + d + "FILECOPY=Beta;s;%V.EXE\r\n" + d +
             "FILECOPY=Alfa;s;%pusty.dat\r\n" + d + "FILECOPY=Beta;s;%PUSTY.DAT\r\n",
         true, "Alfa: %v.exe | Beta: %V.EXE"},
        {"lines ended by LF or CR alone, the last by nothing",
         std::string(d) + "FILECOPY=Alfa;s;%v.exe\n" + d + "FILECOPY=Alfa;s;%v.hlp\r" + d +
             "LINK=Alfa;s;%v.exe;%Vurodar.lnk",
         true, "Alfa: %v.exe, %v.hlp, %Vurodar.lnk"},
        {"lines without the report's form", "Tarvix 99\r\n\r\n", false, ""},
        {"empty report", "", false, ""},
        {"missing report", "-", false, ""},
    };
    // Held open without write sharing, as by a running program.
    OpenFile busy{CreateFileA(P("zajety.dat").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                              nullptr)};
    ASSERT_NE(INVALID_HANDLE_VALUE, busy.h);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        std::string report = P("tarvix.qmx");
        DeleteFileA(report.c_str());
        if (row.report != "-")
            WriteWholeFile(report, Expand(row.report));
        std::vector<TReportProgram> programs;
        EXPECT_EQ(row.result, ReadInstallReport(report, programs));
        std::string text;
        for (const TReportProgram& p : programs) {
            text += (text.empty() ? "" : " | ") + p.Name + ":";
            for (std::size_t i = 0; i < p.Files.size(); ++i)
                text += (i ? ", " : " ") + p.Files[i];
        }
        EXPECT_EQ(Expand(row.programs), text);
    }
}

// Between runs before each line; false stops the reading with no programs.
TEST_F(InstallReportFiles, ReadInstallReportStopsWhenAsked)
{
    const std::string d = "01-02-2026 10:11:12 - ";
    WriteWholeFile(P("tarvix.qmx"), d + "FILECOPY=Alfa;s;" + P("v.exe") + "\r\nTarvix 99\r\n" + d +
                                        "FILECOPY=Beta;s;" + P("v.hlp") + "\r\n");
    const struct {
        int stopAt;  // the call that gives false; 0: none does
        bool result;
        size_t programs;
        int calls;
    } rows[] = {{0, true, 2, 3}, {1, false, 0, 1}, {3, false, 0, 3}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.stopAt);
        int calls = 0;
        std::vector<TReportProgram> programs;
        EXPECT_EQ(row.result, ReadInstallReport(P("tarvix.qmx"), programs, [&] { return ++calls != row.stopAt; }));
        EXPECT_EQ(row.programs, programs.size());
        EXPECT_EQ(row.calls, calls);
    }
}

} // namespace
