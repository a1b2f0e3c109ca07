#include "common/QmxShell.h"

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include "classlib/SysUtils.h"
#include "tests/support/TestUtil.h"

namespace {

TEST(QmxShell, SpecialFolderToCsidl)
{
    const int table[16] = {
        CSIDL_BITBUCKET, CSIDL_CONTROLS, CSIDL_DESKTOP,  CSIDL_DESKTOPDIRECTORY, CSIDL_DRIVES,    CSIDL_FONTS,
        CSIDL_NETHOOD,   CSIDL_NETWORK,  CSIDL_PERSONAL, CSIDL_PRINTERS,         CSIDL_PROGRAMS,  CSIDL_RECENT,
        CSIDL_SENDTO,    CSIDL_STARTMENU, CSIDL_STARTUP, CSIDL_TEMPLATES,
    };
    for (int index = 0; index < 16; ++index) {
        SCOPED_TRACE(index);
        EXPECT_EQ(SpecialFolderToCsidl(index), table[index]);
        EXPECT_EQ(SpecialFolderToCsidl(index + 128), table[index]);
    }
    const int drives[] = {16, 17, 127, 144, -1};
    for (int index : drives) {
        SCOPED_TRACE(index);
        EXPECT_EQ(SpecialFolderToCsidl(index), CSIDL_DRIVES);
    }
    EXPECT_EQ(SpecialFolderToCsidl(130), CSIDL_DESKTOP);
}

TEST(QmxShell, FolderPathsEndWithABackslash)
{
    const std::string personal = GetPersonalFolder();
    ASSERT_FALSE(personal.empty());
    EXPECT_EQ(personal.back(), '\\');
    EXPECT_TRUE(DirectoryExists(personal)) << personal;

    InitializeQmxShell();
    for (const std::string* folder : {&DesktopFolder, &StartMenuFolder}) {
        SCOPED_TRACE(*folder);
        ASSERT_GT(folder->size(), 3u);
        EXPECT_EQ(folder->back(), '\\');
        EXPECT_EQ(folder->find("\\\\"), std::string::npos);
    }
}

TEST(QmxShell, FolderWithoutAFileSystemPathRaises)
{
    // Printers and network are virtual too, but Wine's shell answers them with
    // a parsing name ("::{...}") where Windows fails.
    for (int csidl : {CSIDL_CONTROLS, 0x7E}) {
        SCOPED_TRACE(csidl);
        EXPECT_THROW(GetSpecialFolderPath(csidl), EOSError);
    }
}

TEST(QmxShell, GetFileTypeName)
{
    TempFolder temp;
    const std::string text = temp.Path() + "notatka.txt";
    const std::string bare = temp.Path() + "bez_rozszerzenia";
    WriteWholeFile(text, "x");
    WriteWholeFile(bare, "x");

    EXPECT_FALSE(GetFileTypeName(text).empty());
    // The wording is the shell's and differs between systems.
    SHFILEINFOA info = {};
    SHGetFileInfoA(bare.c_str(), 0, &info, sizeof info, SHGFI_TYPENAME);
    EXPECT_EQ(GetFileTypeName(bare), info.szTypeName);
}

TDateTime fixedNow;
TDateTime FixedClock()
{
    return fixedNow;
}

// Puts the test's clock in place of the system's for one test.
class QmxShellLog : public testing::Test {
protected:
    void SetUp() override
    {
        fixedNow = EncodeDate(1999, 12, 8) + EncodeTime(14, 5, 9, 0);
        previous_ = SetClock(FixedClock);
    }
    void TearDown() override { SetClock(previous_); }

private:
    TClock previous_ = nullptr;
};

TEST_F(QmxShellLog, LinesAreDatedAndEndInCrLf)
{
    TempFolder temp;
    const std::string log = temp.Path() + "raport.txt";
    EXPECT_TRUE(AppendLogLine(log, "Cabber: START"));
    EXPECT_EQ(ReadWholeFile(log), "08-12-1999 14:05:09 - Cabber: START\r\n");

    fixedNow = EncodeDate(2001, 1, 2) + EncodeTime(3, 4, 5, 0);
    EXPECT_TRUE(AppendLogLine(log, "Zażółć gęślą jaźń"));
    EXPECT_TRUE(AppendLineToFile(log, ""));
    EXPECT_EQ(ReadWholeFile(log), "08-12-1999 14:05:09 - Cabber: START\r\n"
                                  "02-01-2001 03:04:05 - Zażółć gęślą jaźń\r\n"
                                  "\r\n");
}

TEST_F(QmxShellLog, BareNameLandsInTheProgramFolder)
{
    TempFolder current;
    const std::string name = "qmx_log_" + std::to_string(GetCurrentProcessId()) + ".txt";
    const std::string inProgramFolder = TestProgramFolder() + name;
    DeleteFileA(inProgramFolder.c_str());
    const std::string previousDir = GetCurrentDir();
    ASSERT_TRUE(SetCurrentDir(current.Path()));

    const bool appended = AppendLogLine(name, "tekst");
    SetCurrentDir(previousDir);
    const std::string written = ReadWholeFile(inProgramFolder);
    DeleteFileA(inProgramFolder.c_str());

    EXPECT_TRUE(appended);
    EXPECT_EQ(written, "08-12-1999 14:05:09 - tekst\r\n");
    EXPECT_FALSE(FileExists(current.Path() + name));
}

TEST_F(QmxShellLog, EmptyNameGivesFalseAndTouchesNothing)
{
    TempFolder current;
    const std::string previousDir = GetCurrentDir();
    ASSERT_TRUE(SetCurrentDir(current.Path()));
    const UINT mode = SetErrorMode(SEM_NOOPENFILEERRORBOX);

    const bool line = AppendLineToFile("", "tekst");
    const bool log = AppendLogLine("", "tekst");
    const UINT modeAfter = SetErrorMode(mode);
    SetCurrentDir(previousDir);

    EXPECT_FALSE(line);
    EXPECT_FALSE(log);
    EXPECT_EQ(modeAfter, static_cast<UINT>(SEM_NOOPENFILEERRORBOX));
    const size_t entries = EntriesMatching(current.Path() + "*.*").size();
    EXPECT_EQ(entries, 0u);
}

TEST_F(QmxShellLog, AFileThatCannotBeWrittenRaisesAndRestoresTheErrorMode)
{
    TempFolder temp;
    const std::string locked = temp.Path() + "zajęty.txt";
    WriteWholeFile(locked, "stara linia\r\n");
    HANDLE holder = CreateFileA(locked.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);

    const struct {
        const char* what;
        std::string path;
        unsigned long error;
    } rows[] = {
        {"held open without sharing", locked, ERROR_SHARING_VIOLATION},
        {"folder missing", temp.Path() + "brak\\raport.txt", ERROR_PATH_NOT_FOUND},
        {"a folder's name", temp.Path(), 0},
    };
    const UINT original = GetErrorMode();
    const UINT mode = SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX;
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        SetErrorMode(mode);
        try {
            AppendLogLine(r.path, "tekst");
            ADD_FAILURE() << "no error raised";
        } catch (const EInOutError& e) {
            if (r.error) {
                EXPECT_EQ(e.ErrorCode, r.error);
            }
        }
        EXPECT_EQ(GetErrorMode(), mode);
    }
    SetErrorMode(original);
    CloseHandle(holder);
    EXPECT_EQ(ReadWholeFile(locked), "stara linia\r\n");
}

} // namespace
