#include "organizer/apperase.h"

#include <windows.h>

#include <tlhelp32.h>

#include <gtest/gtest.h>

#include "classlib/SysUtils.h"
#include "common/QmxUtil.h"
#include "tests/support/TestUtil.h"

namespace {

std::string Join(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& l : lines)
        text += l + "\r\n";
    return text;
}

TEST(AppEraser, BatchLines)
{
    const struct {
        const char* name;
        std::vector<std::string> shortNames;
        bool delPath;
        const char* expected;
    } rows[] = {
        {"one file", {"BRENNIK.EXE"}, false,
         "cd \".\\QMX\"\r\n:label0\r\ndel \"BRENNIK.EXE\"\r\nif exist \"BRENNIK.EXE\" goto label0\r\ncd ..\r\n"
         ":label1\r\ndel \"a1b2c3d4.bat\"\r\nif exist \"a1b2c3d4.bat\" goto label1\r\n"},
        // A missing entry leaves a gap in the labels; the last one counts it.
        {"second missing", {"BRENNIK.EXE", ""}, false,
         "cd \".\\QMX\"\r\n:label0\r\ndel \"BRENNIK.EXE\"\r\nif exist \"BRENNIK.EXE\" goto label0\r\ncd ..\r\n"
         ":label2\r\ndel \"a1b2c3d4.bat\"\r\nif exist \"a1b2c3d4.bat\" goto label2\r\n"},
        {"first missing, folder removed", {"", "DANE.DAT"}, true,
         "cd \".\\QMX\"\r\n:label1\r\ndel \"DANE.DAT\"\r\nif exist \"DANE.DAT\" goto label1\r\ncd ..\r\n"
         "rmdir \".\\QMX\"\r\n:label2\r\ndel \"a1b2c3d4.bat\"\r\nif exist \"a1b2c3d4.bat\" goto label2\r\n"},
        // Without 8.3 names a name keeps its blanks; quoted, it stays one name.
        {"blanks", {"Moj program.exe"}, false,
         "cd \".\\QMX\"\r\n:label0\r\ndel \"Moj program.exe\"\r\nif exist \"Moj program.exe\" goto label0\r\n"
         "cd ..\r\n:label1\r\ndel \"a1b2c3d4.bat\"\r\nif exist \"a1b2c3d4.bat\" goto label1\r\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.expected, Join(AppEraserBatchLines("QMX", "a1b2c3d4.bat", row.shortNames, row.delPath)));
    }
}

TEST(AppEraser, RandomBatchName)
{
    for (int i = 0; i < 20; ++i) {
        std::string name = TAppEraser::RandomBatchName();
        ASSERT_EQ(8u, name.size());
        EXPECT_EQ(std::string::npos, name.find_first_not_of("0123456789abcdefghijklmnopqrstuvwxyz")) << name;
    }
}

class AppEraserRun : public testing::Test {
protected:
    void SetUp() override { savedDir_ = GetCurrentDir(); }
    void TearDown() override
    {
        SetCurrentDir(savedDir_);
        EndBatchesOf(GetCurrentProcessId());
    }
    TempFolder temp_;
    std::string savedDir_;
};

TEST_F(AppEraserRun, NothingToDoStartsNothing)
{
    std::string dir = temp_.Path() + "prog";
    CreateDirectoryA(dir.c_str(), nullptr);
    const struct {
        const char* name;
        std::string path;
        std::vector<std::string> files;
    } rows[] = {
        {"only missing files", dir, {"a.exe", "b.dat"}},
        {"no files", dir + "\\", {}},
        {"missing folder", temp_.Path() + "nie ma\\", {"a.exe"}},
        {"empty path", "", {"a.exe"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TAppEraser ae(nullptr);
        for (const std::string& f : row.files)
            ae.Files()->Add(f);
        ae.Path = row.path;
        EXPECT_FALSE(ae.Execute());
        EXPECT_TRUE(EntriesMatching(temp_.Path() + "*.bat").empty());
    }
}

TEST_F(AppEraserRun, DeletesFilesByTheirShortNames)
{
    std::string dir = temp_.Path() + "Folder z dluga nazwa";
    ASSERT_TRUE(CreateDirectoryA(dir.c_str(), nullptr));
    WriteWholeFile(dir + "\\dane programu.dat", "x");
    WriteWholeFile(dir + "\\dane", "zostaje");
    SetFileAttributesA((dir + "\\dane programu.dat").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);

    TAppEraser ae(nullptr);
    ae.Files()->Add("c:\\gdziekolwiek\\dane programu.dat");
    ae.Files()->Add("brak.exe");
    ae.Path = dir;  // no trailing backslash
    ASSERT_TRUE(ae.Execute());
    EXPECT_EQ(dir + "\\", ae.Path);

    char shortTemp[MAX_PATH];
    ASSERT_NE(0u, GetShortPathNameA(temp_.Path().c_str(), shortTemp, MAX_PATH));
    EXPECT_TRUE(EqualNoCase(shortTemp, GetCurrentDir() + "\\") || EqualNoCase(shortTemp, GetCurrentDir()))
        << GetCurrentDir();

    EXPECT_TRUE(WaitUntilGone(dir + "\\dane programu.dat", 10000));
    EXPECT_EQ("zostaje", ReadWholeFile(dir + "\\dane"));

    // The batch deletes itself at its end: it may be gone already, or go
    // between the listing and the reading (nothing read then).
    std::vector<std::string> batches = EntriesMatching(temp_.Path() + "*.bat");
    const std::string text = batches.empty() ? std::string() : ReadWholeFile(temp_.Path() + batches[0]);
    if (!text.empty()) {
        char shortDir[MAX_PATH];
        ASSERT_NE(0u, GetShortPathNameA(dir.c_str(), shortDir, MAX_PATH));
        std::string folder = ExtractFileName(shortDir);
        EXPECT_NE("Folder z dluga nazwa", folder);
        EXPECT_EQ(0u, text.find("cd \".\\" + folder + "\"\r\n:label0\r\ndel \"")) << text;
        EXPECT_NE(std::string::npos, text.find(":label2\r\ndel \"" + batches[0] + "\"")) << text;
    }
}

// The program erases itself: its file, and with "dir" its emptied folder,
// are gone soon after it has ended.
TEST_F(AppEraserRun, ProgramErasesItself)
{
    const struct {
        const char* name;
        const char* arg;
        bool otherFile;
        bool folderGone;
    } rows[] = {
        {"folder emptied", "dir", false, true},
        {"other file stays", "dir", true, false},
        {"folder kept", "", false, false},
    };
    int n = 0;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        std::string dir = temp_.Path() + "Moj program " + std::to_string(n++);
        ASSERT_TRUE(CreateDirectoryA(dir.c_str(), nullptr));
        std::string exe = dir + "\\erase self.exe";
        ASSERT_TRUE(CopyFileA((TestProgramFolder() + "erase_self.exe").c_str(), exe.c_str(), FALSE));
        if (row.otherFile)
            WriteWholeFile(dir + "\\inny.txt", "x");

        std::string cmd = "\"" + exe + "\" " + row.arg;
        STARTUPINFOA si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        ASSERT_TRUE(CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si, &pi));
        CloseHandle(pi.hThread);
        ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(pi.hProcess, 15000));
        DWORD code = 99;
        GetExitCodeProcess(pi.hProcess, &code);
        CloseHandle(pi.hProcess);
        EXPECT_EQ(0u, code);

        EXPECT_TRUE(WaitUntilGone(exe, 15000));
        if (row.folderGone) {
            EXPECT_TRUE(WaitUntilGone(dir, 15000));
        } else {
            Sleep(300);
            EXPECT_TRUE(DirectoryExists(dir));
        }
        if (row.otherFile) {
            EXPECT_EQ("x", ReadWholeFile(dir + "\\inny.txt"));
        }
        EndBatchesOf(pi.dwProcessId);
        for (const std::string& b : EntriesMatching(temp_.Path() + "*.bat"))
            DeleteFileA((temp_.Path() + b).c_str());
    }
}

} // namespace
