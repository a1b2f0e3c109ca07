// Backup cabinets: their names, contents, result values and log lines, with
// the clock fixed. The settings key HKCU "Software\QMX" and the paths key
// HKLM "Software\QMX\ścieżki" are the programs' own: these tests hold a
// resource lock and remove what they add.
#include "organizer/qmxbackup.h"

#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "classlib/Forms.h"
#include "classlib/StdCtrls.h"
#include "classlib/SysUtils.h"
#include "common/AppEvent.h"
#include "common/QmxReg.h"
#include "common/QmxShell.h"
#include "common/QmxUtil.h"
#include "common/Upunkt.h"
#include "common/qmxWarningDialog.h"
#include "common/qmxcolorbutton.h"
#include "organizer/cabfiles.h"
#include "tests/common_reg/RegTestUtil.h"
#include "tests/support/TestUtil.h"

namespace {

const char* const FolderValue = "Ścieżka kopii zapasowych";
const char* const NamedSection = "QmxTestKopia";
const char* const Stamp = "20260305_070809";

TDateTime FixedNow()
{
    return EncodeDate(2026, 3, 5) + EncodeTime(7, 8, 9, 0);
}

std::vector<std::string> CabinetNames(const std::string& path)
{
    TCABFile cab(nullptr);
    cab.CABFile = path;
    cab.ListContents();
    std::vector<std::string> names;
    for (int i = 0; i < cab.CABFileContents()->Count(); ++i)
        names.push_back(cab.CABFileContents()->Items(i)->Name);
    return names;
}

std::string RawSetting(const std::string& key, const char* name)
{
    std::string value;
    if (!GetRawString(HKEY_CURRENT_USER, key, name, value))
        return "(brak)";
    return value;
}

std::string LogPath()
{
    return GetProgramFolder() + "raport.txt";
}

// The lines appended to the log after `before` bytes.
std::vector<std::string> LogLinesAfter(std::size_t before)
{
    std::string text = ReadWholeFile(LogPath());
    text = text.size() > before ? text.substr(before) : std::string();
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

class BackupTest : public testing::Test {
protected:
    void SetUp() override
    {
        oldClock_ = SetClock(FixedNow);
        oldFolder_ = GetCurrentDir();
        SetRawString(HKEY_CURRENT_USER, "Software\\QMX\\QMX", FolderValue, backups_.Path());
        // Three data files recorded, one more recorded but gone, one
        // recorded twice in another letter case.
        const std::string dane = data_.Path() + "Dane użytkownika.dat";
        WriteWholeFile(dane, std::string(20000, 'd') + "Zażółć gęślą jaźń");
        WriteWholeFile(data_.Path() + "faktury.dat", "faktury");
        WriteWholeFile(data_.Path() + "pusty.dat", "");
        Record(0, dane);
        Record(4, data_.Path() + "faktury.dat");
        Record(5, data_.Path() + "usunięty.dat");
        Record(9, data_.Path() + "pusty.dat");
        Record(12, data_.Path() + "DANE UŻYTKOWNIKA.DAT");
    }
    void TearDown() override
    {
        SetCurrentDir(oldFolder_);
        SetClock(oldClock_);
    }

    void Record(int index, const std::string& path)
    {
        SetRawString(HKEY_LOCAL_MACHINE, QmxPathsKey, DataFileValueNames[index], path);
    }
    // The result values of earlier rows; the settings below stay.
    static void ClearResults()
    {
        for (std::string key : {std::string("Software\\QMX"), std::string("Software\\QMX\\") + NamedSection}) {
            RegDeleteKeyValueA(HKEY_CURRENT_USER, key.c_str(), "Kopia zapasowa");
            RegDeleteKeyValueA(HKEY_CURRENT_USER, key.c_str(), "Kopia zapasowa - data");
        }
    }
    // Size of the log before a run.
    static std::size_t LogSize() { return ReadWholeFile(LogPath()).size(); }

    // Cabinets sent to the host's cabextract after the run.
    static void SendToHost(const std::string& path, const std::string& name)
    {
        CopyFileA(path.c_str(), (HostFolder(CAB_OUT_DIR) + name).c_str(), FALSE);
    }

    TempFolder backups_;
    TempFolder data_;
    KeyRestorer qmx_{HKEY_CURRENT_USER, "Software\\QMX", {"Kopia zapasowa", "Kopia zapasowa - data"}};
    KeyRestorer section_{HKEY_CURRENT_USER, "Software\\QMX\\QMX", {FolderValue}};
    KeyRestorer named_{HKEY_CURRENT_USER, std::string("Software\\QMX\\") + NamedSection, {}};
    KeyRestorer machine_{HKEY_LOCAL_MACHINE, "Software\\QMX", {}};
    KeyRestorer paths_{HKEY_LOCAL_MACHINE, QmxPathsKey,
                       {DataFileValueNames[0], DataFileValueNames[1], DataFileValueNames[2], DataFileValueNames[3],
                        DataFileValueNames[4], DataFileValueNames[5], DataFileValueNames[6], DataFileValueNames[7],
                        DataFileValueNames[8], DataFileValueNames[9], DataFileValueNames[10],
                        DataFileValueNames[11], DataFileValueNames[12], DataFileValueNames[13]}};
    TClock oldClock_ = nullptr;
    std::string oldFolder_;
};

TEST_F(BackupTest, NamesContentsAndResultValues)
{
    const std::string program = data_.Path() + "brennik.exe";
    WriteWholeFile(program, "MZ program");
    const std::string notes = data_.Path() + "notatki.txt";
    WriteWholeFile(notes, "notatki");
    const std::vector<std::string> dataNames = {"Dane użytkownika.dat", "faktury.dat", "pusty.dat"};
    const std::string day = IntToStr(static_cast<long long>(EncodeDate(2026, 3, 5)));

    const struct {
        const char* what;
        std::string name;
        std::string file;
        std::string cabinet;
        std::vector<std::string> contents;
        std::string key;
    } rows[] = {
        {"nothing named: the data files", "", "", std::string("qmxKopiaZap__") + Stamp + ".cab", dataNames,
         "Software\\QMX"},
        {"a file, no name: the file alone", "", notes, std::string("qmxKopiaZap_notatki.txt_") + Stamp + ".cab",
         {"notatki.txt"}, "Software\\QMX"},
        {"a missing file, no name: an empty cabinet", "", data_.Path() + "brak.txt",
         std::string("qmxKopiaZap_brak.txt_") + Stamp + ".cab", {}, "Software\\QMX"},
        {"the update's call: program and data files", NamedSection, program,
         std::string("qmxKopiaZapasowa_") + Stamp + ".cab",
         {"brennik.exe", "Dane użytkownika.dat", "faktury.dat", "pusty.dat"},
         std::string("Software\\QMX\\") + NamedSection},
        {"a named call with a data file: stored once", NamedSection, data_.Path() + "DANE użytkownika.dat",
         std::string("qmxKopiaZapasowa_") + Stamp + ".cab",
         {"DANE użytkownika.dat", "faktury.dat", "pusty.dat"}, std::string("Software\\QMX\\") + NamedSection},
    };
    int sent = 0;
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        ClearResults();
        const std::string path = backups_.Path() + r.cabinet;
        ASSERT_TRUE(MakeCabBackup(r.name, r.file, false));
        EXPECT_TRUE(FileExists(path));
        EXPECT_EQ(LastBackupFile, path);
        EXPECT_EQ(CabinetNames(path), r.contents);
        EXPECT_EQ(RawSetting(r.key, "Kopia zapasowa"), path);
        EXPECT_EQ(RawSetting(r.key, "Kopia zapasowa - data"), day);
        // The other place stays untouched.
        const std::string other = r.name.empty() ? std::string("Software\\QMX\\") + NamedSection : "Software\\QMX";
        EXPECT_EQ(RawSetting(other, "Kopia zapasowa"), "(brak)");
        if (!r.contents.empty())
            SendToHost(path, "kopia" + IntToStr(++sent) + ".cab");
        DeleteFileA(path.c_str());
    }
}

TEST_F(BackupTest, LogLinesOfARun)
{
    const std::size_t before = LogSize();
    ASSERT_TRUE(MakeCabBackup("", "", false));
    const std::string prefix = "05-03-2026 07:08:09 - ";
    EXPECT_EQ(LogLinesAfter(before), (std::vector<std::string>{prefix + "Cabber: " + LastBackupFile,
                                                                prefix + "Cabber: START",
                                                                prefix + "Cabber: CREATED"}));
}

// Both backups of one second are kept, and the second is still found by the
// pattern the backups page lists.
TEST_F(BackupTest, BackupsWithinOneSecondKeepDistinctNames)
{
    const std::string first = backups_.Path() + "qmxKopiaZap__" + Stamp + ".cab";
    ASSERT_TRUE(MakeCabBackup("", "", false));
    EXPECT_EQ(LastBackupFile, first);
    std::vector<std::string> made{first};
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(MakeCabBackup("", "", false));
        SCOPED_TRACE(LastBackupFile);
        const std::string stem = backups_.Path() + "qmxKopiaZap__" + Stamp;
        ASSERT_EQ(LastBackupFile.substr(0, stem.size()), stem);
        ASSERT_EQ(ExtractFileExt(LastBackupFile), ".cab");
        const std::string digits = LastBackupFile.substr(stem.size(), LastBackupFile.size() - stem.size() - 4);
        EXPECT_GE(digits.size(), 1u);
        EXPECT_EQ(digits.find_first_not_of("0123456789"), std::string::npos);
        for (const std::string& earlier : made)
            EXPECT_NE(LastBackupFile, earlier);
        made.push_back(LastBackupFile);
    }
    EXPECT_EQ(EntriesMatching(backups_.Path() + "qmxKopiaZap*.cab").size(), 3u);
    EXPECT_EQ(RawSetting("Software\\QMX", "Kopia zapasowa"), made.back());
    for (const std::string& path : made)
        EXPECT_EQ(CabinetNames(path).size(), 3u) << path;
}

// A data file held open without sharing by another program: no cabinet, no
// result values, False, and the log ends at START.
TEST_F(BackupTest, LockedDataFileFailsQuietly)
{
    LastBackupFile.clear();
    HANDLE held = CreateFileA((data_.Path() + "faktury.dat").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const std::size_t before = LogSize();
    EXPECT_FALSE(MakeCabBackup("", "", false));
    CloseHandle(held);
    const std::string path = backups_.Path() + "qmxKopiaZap__" + Stamp + ".cab";
    const std::string prefix = "05-03-2026 07:08:09 - ";
    EXPECT_EQ(LogLinesAfter(before),
              (std::vector<std::string>{prefix + "Cabber: " + path, prefix + "Cabber: START"}));
    EXPECT_TRUE(EntriesMatching(backups_.Path() + "*").empty()) << "a cabinet or temporary file was left";
    EXPECT_EQ(LastBackupFile, "");
    EXPECT_EQ(RawSetting("Software\\QMX", "Kopia zapasowa"), "(brak)");
}

TEST_F(BackupTest, BackupFolderFallsBackToPersonalAndIsWrittenBack)
{
    const std::string personal = GetPersonalFolder();
    TempFolder other;
    std::string bare = other.Path();
    bare.pop_back();
    const struct {
        const char* what;
        const char* stored;  // nullptr: no value
        std::string expected;
    } rows[] = {
        {"no setting", nullptr, personal},
        {"a missing folder", "C:\\nie ma takiego folderu\\", personal},
        {"an existing folder", other.Path().c_str(), other.Path()},
        {"an existing folder without its backslash", bare.c_str(), other.Path()},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        section_.Clear();
        if (r.stored)
            SetRawString(HKEY_CURRENT_USER, "Software\\QMX\\QMX", FolderValue, r.stored);
        SetCurrentDir(oldFolder_);
        EXPECT_EQ(GetBackupFolder(), r.expected);
        EXPECT_TRUE(EqualNoCase(GetCurrentDir() + "\\", r.expected)) << GetCurrentDir();
        EXPECT_EQ(RawSetting("Software\\QMX\\QMX", FolderValue), r.expected);
    }
}

// The dialog's units, once per process.
void StartDialogUnits()
{
    static bool started = false;
    if (started)
        return;
    started = true;
    InitFormsUnit();
    qmxcolorbuttonStartup();
    InitializeUpunkt();
    InitializeAppEvent();
}

// Answers the warning dialog with OK from inside its modal loop and keeps
// the message it showed.
class DialogAnswerer {
public:
    DialogAnswerer()
    {
        current_ = this;
        id_ = SetTimer(nullptr, 0, 50, &DialogAnswerer::Tick);
    }
    ~DialogAnswerer()
    {
        KillTimer(nullptr, id_);
        current_ = nullptr;
    }
    DialogAnswerer(const DialogAnswerer&) = delete;
    DialogAnswerer& operator=(const DialogAnswerer&) = delete;

    std::string Message;
    int Shown = 0;

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        if (!current_)
            return;
        for (int i = 0; i < Screen->FormCount(); ++i) {
            auto* dialog = dynamic_cast<TeQmxWarningDialog*>(Screen->Forms(i));
            if (dialog && dialog->Visible() && dialog->ModalResult() == 0) {
                current_->Message = dialog->lbInfo->Caption();
                ++current_->Shown;
                dialog->SetModalResult(mrOk);
            }
        }
    }

    static inline DialogAnswerer* current_ = nullptr;
    UINT_PTR id_ = 0;
};

TEST_F(BackupTest, InteractiveCallTellsTheOutcome)
{
    StartDialogUnits();
    const struct {
        const char* what;
        bool locked;
        bool expected;
        const char* message;  // followed by the cabinet's path on success
    } rows[] = {
        {"made", false, true, "Kopia zapasowa została wykonana pomyślnie.\r\n"},
        {"not made", true, false, "Nie udało się wykonać kopii zapasowej!"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        HANDLE held = INVALID_HANDLE_VALUE;
        if (r.locked)
            held = CreateFileA((data_.Path() + "faktury.dat").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                               OPEN_EXISTING, 0, nullptr);
        DialogAnswerer answerer;
        const bool made = MakeCabBackup("", "", true);
        if (held != INVALID_HANDLE_VALUE)
            CloseHandle(held);
        EXPECT_EQ(made, r.expected);
        EXPECT_EQ(answerer.Shown, 1);
        EXPECT_EQ(answerer.Message, std::string(r.message) + (r.expected ? LastBackupFile : std::string()));
    }
}

}  // namespace
