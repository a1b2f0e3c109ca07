// File names, files and folders, the command line, random numbers and
// system errors.
#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "classlib/SysUtils.h"
#include "tests/support/TestUtil.h"

namespace {

TEST(SysFiles, NameParts)
{
    const struct {
        const char* name;
        const char* path;
        const char* dir;
        const char* file;
        const char* ext;
    } rows[] = {
        {"c:\\dir\\name.ext", "c:\\dir\\", "c:\\dir", "name.ext", ".ext"},
        {"c:\\name", "c:\\", "c:\\", "name", ""},
        {"c:name.txt", "c:", "c:", "name.txt", ".txt"},
        {"name", "", "", "name", ""},
        {"", "", "", "", ""},
        {"c:\\dir.d\\name", "c:\\dir.d\\", "c:\\dir.d", "name", ""},  // a dot in a folder is no extension
        {"a.b.c", "", "", "a.b.c", ".c"},
        {"c:\\dir\\", "c:\\dir\\", "c:\\dir", "", ""},
        {"\\\\srv\\share\\f.txt", "\\\\srv\\share\\", "\\\\srv\\share", "f.txt", ".txt"},
        {"\\\\srv", "\\\\", "\\\\", "srv", ""},
        {"\\plik", "\\", "\\", "plik", ""},
        {"c:\\Łódź\\Żółw.TXT", "c:\\Łódź\\", "c:\\Łódź", "Żółw.TXT", ".TXT"},
        {".lnk", "", "", ".lnk", ".lnk"},
        {"C:\\x\\.LNK", "C:\\x\\", "C:\\x", ".LNK", ".LNK"},
        {"name.", "", "", "name.", "."},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(ExtractFilePath(r.name), r.path);
        EXPECT_EQ(ExtractFileDir(r.name), r.dir);
        EXPECT_EQ(ExtractFileName(r.name), r.file);
        EXPECT_EQ(ExtractFileExt(r.name), r.ext);
        EXPECT_EQ(ExtractFilePath(r.name) + ExtractFileName(r.name), r.name);
    }

    const struct {
        const char* name;
        const char* ext;
        const char* expected;
    } changes[] = {
        {"brennik.exe", ".INI", "brennik.INI"},
        {"c:\\a.b\\name", ".ini", "c:\\a.b\\name.ini"},
        {"x.tar.gz", "", "x.tar"},
        {"", ".ini", ".ini"},
        {"c:\\qmx\\kelvor.exe", "", "c:\\qmx\\kelvor"},
    };
    for (const auto& r : changes) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(ChangeFileExt(r.name, r.ext), r.expected);
    }
}

// Restores the process's current folder when the test ends.
class SysFilesInFolder : public testing::Test {
protected:
    void SetUp() override { saved_ = GetCurrentDir(); }
    void TearDown() override { SetCurrentDir(saved_); }

    TempFolder temp_;
    std::string saved_;
};

TEST_F(SysFilesInFolder, ExistenceAndCurrentFolder)
{
    const std::string folder = temp_.Path() + "Katalog ż";
    const std::string file = temp_.Path() + "Plik ą.txt";
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    WriteWholeFile(file, "x");

    EXPECT_TRUE(FileExists(file));
    EXPECT_FALSE(DirectoryExists(file));
    EXPECT_TRUE(DirectoryExists(folder));
    EXPECT_TRUE(DirectoryExists(folder + "\\"));
    EXPECT_FALSE(FileExists(folder));
    EXPECT_FALSE(FileExists(temp_.Path() + "brak.txt"));
    EXPECT_FALSE(DirectoryExists(temp_.Path() + "brak"));
    EXPECT_FALSE(FileExists(""));

    ASSERT_TRUE(SetCurrentDir(folder));
    EXPECT_EQ(AnsiLowerCase(GetCurrentDir()), AnsiLowerCase(folder));
    EXPECT_EQ(AnsiLowerCase(ExpandFileName("a.txt")), AnsiLowerCase(folder + "\\a.txt"));
    EXPECT_EQ(AnsiLowerCase(ExpandFileName("..\\Plik ą.txt")), AnsiLowerCase(file));
    EXPECT_TRUE(FileExists("..\\Plik ą.txt"));
    EXPECT_EQ(ExpandFileName("c:\\a\\.\\b\\..\\c.txt"), "c:\\a\\c.txt");
    EXPECT_FALSE(SetCurrentDir(temp_.Path() + "brak"));
    EXPECT_EQ(AnsiLowerCase(GetCurrentDir()), AnsiLowerCase(folder));
}

// Device names: the system finds them in every existing folder and opening
// one may block for good, so they are no files, whatever their case,
// extension or folder; names that only look alike are files as usual.
TEST_F(SysFilesInFolder, DeviceNamesAreNoFiles)
{
    const struct {
        std::string name;
        bool device;
    } rows[] = {
        {temp_.Path() + "COM1.exe", true},   {temp_.Path() + "com9", true},      {temp_.Path() + "LPT1.txt", true},
        {temp_.Path() + "nul", true},        {temp_.Path() + "Aux.tar.gz", true}, {temp_.Path() + "CON", true},
        {temp_.Path() + "prn.dat", true},    {temp_.Path() + "COM1 .txt", true},  {temp_.Path() + "lpt9:", true},
        {temp_.Path() + "CONOUT$", true},    {"C:nul", true},                     {"conin$", true},
        {"\\\\.\\COM1", true},               {"\\\\.\\pipe\\rura", true},
        {temp_.Path() + "COM10", false},     {temp_.Path() + "COM0.exe", false},  {temp_.Path() + "LPT.exe", false},
        {temp_.Path() + "CONSOLE.txt", false}, {temp_.Path() + "xnul.txt", false}, {temp_.Path() + "nul_.txt", false},
        {temp_.Path() + "CON\\plik.txt", false}, {"", false},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(IsDeviceName(r.name), r.device);
        if (r.device) {
            EXPECT_FALSE(FileExists(r.name));
            EXPECT_EQ(FileAge(r.name), -1);
        }
    }
    // A file of a name that only looks alike is a file.
    WriteWholeFile(temp_.Path() + "CONSOLE.txt", "x");
    EXPECT_TRUE(FileExists(temp_.Path() + "CONSOLE.txt"));
}

TEST_F(SysFilesInFolder, ForceDirectories)
{
    const std::string deep = temp_.Path() + "a\\b b\\ćma";
    EXPECT_TRUE(ForceDirectories(deep + "\\"));
    EXPECT_TRUE(DirectoryExists(deep));
    EXPECT_TRUE(ForceDirectories(deep));  // already there
    EXPECT_TRUE(ForceDirectories(temp_.Path()));
    EXPECT_FALSE(ForceDirectories(""));

    // A file in the way cannot become a folder.
    WriteWholeFile(temp_.Path() + "plik", "x");
    EXPECT_FALSE(ForceDirectories(temp_.Path() + "plik\\pod"));
    EXPECT_FALSE(DirectoryExists(temp_.Path() + "plik\\pod"));

    // A relative name grows from the current folder.
    ASSERT_TRUE(SetCurrentDir(temp_.Path()));
    EXPECT_TRUE(ForceDirectories("x\\y"));
    EXPECT_TRUE(DirectoryExists(temp_.Path() + "x\\y"));
}

TEST_F(SysFilesInFolder, FileAge)
{
    const std::string file = temp_.Path() + "wiek.txt";
    WriteWholeFile(file, "x");
    // Set a known local time; DOS times step by two seconds.
    SYSTEMTIME st{};
    st.wYear = 1999;
    st.wMonth = 12;
    st.wDay = 8;
    st.wHour = 14;
    st.wMinute = 5;
    st.wSecond = 9;
    FILETIME local, utc;
    ASSERT_TRUE(SystemTimeToFileTime(&st, &local));
    ASSERT_TRUE(LocalFileTimeToFileTime(&local, &utc));
    {
        HANDLE h = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        EXPECT_TRUE(SetFileTime(h, nullptr, nullptr, &utc));
        CloseHandle(h);
    }
    int age = FileAge(file);
    ASSERT_NE(age, -1);
    EXPECT_EQ(FileDateToDateTime(age), EncodeDate(1999, 12, 8) + EncodeTime(14, 5, 8, 0));

    EXPECT_EQ(FileAge(temp_.Path() + "brak.txt"), -1);
    EXPECT_EQ(FileAge(temp_.Path()), -1);  // a folder has no file age

    const struct {
        int dosDate;
        bool valid;
    } dates[] = {
        {(19 << 25) | (12 << 21) | (8 << 16) | (14 << 11) | (5 << 5) | 4, true},
        {(19 << 25) | (2 << 21) | (30 << 16), false},   // 30 February
        {(19 << 25) | (0 << 21) | (1 << 16), false},    // month 0
        {(19 << 25) | (1 << 21) | (1 << 16) | (24 << 11), false},  // hour 24
        {0, false},
    };
    for (const auto& r : dates) {
        SCOPED_TRACE(r.dosDate);
        if (r.valid)
            EXPECT_EQ(FileDateToDateTime(r.dosDate), EncodeDate(1999, 12, 8) + EncodeTime(14, 5, 8, 0));
        else
            EXPECT_THROW(FileDateToDateTime(r.dosDate), EConvertError);
    }
}

// Starts the helper with a command line and gives what it saw: the count,
// then ParamStr(0) to ParamStr(count + 1), each in brackets.
std::vector<std::string> ParamsOf(const TempFolder& temp, const std::string& exe, const std::string& arguments)
{
    std::string out = temp.Path() + "params.txt";
    DeleteFileA(out.c_str());
    SetEnvironmentVariableA("QMX_PARAMS_OUT", out.c_str());
    int code = RunProgram("\"" + exe + "\"" + arguments);
    SetEnvironmentVariableA("QMX_PARAMS_OUT", nullptr);
    EXPECT_EQ(code, 0);
    std::vector<std::string> lines;
    std::string text = ReadWholeFile(out), line;
    for (char c : text) {
        if (c == '\n') {
            lines.push_back(line);
            line.clear();
        } else {
            line += c;
        }
    }
    return lines;
}

TEST(SysParams, WindowsQuoting)
{
    TempFolder temp;
    // A copy in a folder with a blank and a Polish letter.
    const std::string exe = temp.Path() + "Mój program\\print_params.exe";
    ASSERT_TRUE(ForceDirectories(ExtractFileDir(exe)));
    ASSERT_TRUE(CopyFileA((TestProgramFolder() + "print_params.exe").c_str(), exe.c_str(), FALSE));

    const struct {
        const char* arguments;
        std::vector<std::string> expected;
    } rows[] = {
        {"", {}},
        {" a b", {"a", "b"}},
        {" D:\\", {"D:\\"}},
        {" \"D:\\\" x", {"D:\\", "x"}},  // a backslash before a quote is a plain backslash
        {" \"a b\" c", {"a b", "c"}},
        {"   a\t\t b   ", {"a", "b"}},
        {" a\"b c\"d", {"ab cd"}},
        {" \"Łódź żółw\" ąę", {"Łódź żółw", "ąę"}},
        {" \"\" x", {"", "x"}},
        {" \"niezamknięty cudzysłów", {"niezamknięty cudzysłów"}},
        {" a\\\\b\\", {"a\\\\b\\"}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.arguments);
        std::vector<std::string> lines = ParamsOf(temp, exe, r.arguments);
        ASSERT_EQ(lines.size(), r.expected.size() + 3);
        EXPECT_EQ(lines[0], std::to_string(r.expected.size()));
        EXPECT_EQ(AnsiLowerCase(lines[1]), "[" + AnsiLowerCase(exe) + "]");
        for (size_t i = 0; i < r.expected.size(); ++i)
            EXPECT_EQ(lines[i + 2], "[" + r.expected[i] + "]") << i + 1;
        EXPECT_EQ(lines.back(), "[]");  // one past the last argument
    }
    EXPECT_EQ(ParamStr(-1), "");
    EXPECT_EQ(AnsiLowerCase(ExtractFileName(ParamStr(0))), "classlib_sys_tests.exe");
}

TEST(SysRandom, FixedSeedGivesFixedSequence)
{
    std::uint32_t saved = RandSeed;
    RandSeed = 42;
    std::vector<int> first;
    for (int i = 0; i < 20; ++i)
        first.push_back(Random(100));
    RandSeed = 42;
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(Random(100), first[i]) << i;
    EXPECT_GT(std::set<int>(first.begin(), first.end()).size(), 10u);

    // Every value of a small range turns up, none outside it.
    int counts[36] = {};
    for (int i = 0; i < 36 * 200; ++i) {
        int r = Random(36);
        ASSERT_GE(r, 0);
        ASSERT_LT(r, 36);
        ++counts[r];
    }
    for (int i = 0; i < 36; ++i)
        EXPECT_GT(counts[i], 100) << i;
    EXPECT_EQ(Random(1), 0);
    EXPECT_EQ(Random(0), 0);
    EXPECT_EQ(Random(-5), 0);

    Randomize();
    std::uint32_t a = RandSeed;
    Randomize();
    EXPECT_NE(RandSeed, a);  // two reseeds in a row differ
    RandSeed = saved;
}

TEST(SysErrors, SystemErrorTexts)
{
    std::string text = SysErrorMessage(ERROR_ACCESS_DENIED);
    EXPECT_FALSE(text.empty());
    EXPECT_NE(text.back(), '\n');
    EXPECT_NE(text.back(), '.');

    try {
        SetLastError(ERROR_FILE_NOT_FOUND);
        RaiseLastOSError();
        ADD_FAILURE() << "no error raised";
    } catch (const EOSError& e) {
        EXPECT_EQ(e.ErrorCode, 2u);
        EXPECT_EQ(e.Message(), "System error 2: " + SysErrorMessage(2));
    }
    try {
        RaiseLastOSError(0);
        ADD_FAILURE() << "no error raised";
    } catch (const EOSError& e) {
        EXPECT_EQ(e.ErrorCode, 0u);
        EXPECT_FALSE(e.Message().empty());
    }
}

} // namespace
