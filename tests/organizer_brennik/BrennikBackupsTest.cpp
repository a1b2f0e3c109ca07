// Page 2 of brennik.exe, the backups, driven as a process of its own: the
// list of cabinets in the backup folder and the Personal folder, a
// cabinet's contents, a new backup, the restore of one file through the
// folder browser and the deletion of a cabinet.
#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "classlib/SysUtils.h"
#include "common/QmxReg.h"
#include "common/QmxShell.h"
#include "common/QmxUtil.h"
#include "organizer/cabfiles.h"
#include "tests/organizer_brennik/BrennikCopy.h"
#include "tests/support/TestUtil.h"
#include "tools/uidriver/UiDriver.h"

namespace {

const char ExplorerKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\";
const char BackupFolderValue[] = "Ścieżka kopii zapasowych";

void WriteTestFile(const std::string& path, const std::string& bytes)
{
    WriteWholeFile(path, bytes);
    SetTestTime(path);
}

struct CabEntry {
    std::string name, bytes;
};

// A cabinet made the way the organizer makes its backups, stamped with the
// test time.
void MakeCabinet(const std::string& path, const std::vector<CabEntry>& entries)
{
    TempFolder sources;
    const std::string oldDir = GetCurrentDir();
    // The compressor keeps its temporary files in the current folder.
    SetCurrentDir(sources.Path());
    {
        TCABFile cab(nullptr);
        cab.CABFile = path;
        for (const CabEntry& e : entries) {
            WriteTestFile(sources.Path() + e.name, e.bytes);
            cab.CABFileContents()->Add()->Name = sources.Path() + e.name;
        }
        EXPECT_TRUE(cab.CreateCabinet());
    }
    SetCurrentDir(oldDir);
    SetTestTime(path);
}

// Overwrites stored names of a cabinet (each forged name as long as the
// stored one; the names are not checksummed), as a foreign or damaged
// cabinet may hold them, and declares the given entries 0xFFFFFFFF bytes big.
void ForgeCabinet(const std::string& path, const std::vector<std::pair<std::string, std::string>>& names,
                  const std::vector<std::string>& hugeEntries)
{
    std::string bytes = ReadWholeFile(path);
    for (const auto& [stored, forged] : names) {
        ASSERT_EQ(stored.size(), forged.size()) << forged;
        const std::size_t at = bytes.find(stored + '\0');
        ASSERT_NE(at, std::string::npos) << stored;
        bytes.replace(at, forged.size(), forged);
    }
    // An entry's size stands 16 bytes before its name.
    for (const std::string& name : hugeEntries) {
        const std::size_t at = bytes.find(name + '\0');
        ASSERT_NE(at, std::string::npos) << name;
        bytes.replace(at - 16, 4, "\xFF\xFF\xFF\xFF");
    }
    WriteWholeFile(path, bytes);
    SetTestTime(path);
}

// The folder browser of the process selects its start folder once the
// shell's tree has filled in, a moment after it shows: a person looks before
// clicking, too.
void WaitForTheBrowsersSelection(DWORD pid)
{
    EXPECT_TRUE(WaitUntil([pid] {
        HWND browser = FindDialogOf(pid);
        HWND tree = browser ? FindWindowExA(browser, nullptr, WC_TREEVIEWA, nullptr) : nullptr;
        return tree && SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0) != 0;
    })) << "the folder browser selected nothing";
}

// The texts the pages show for one cabinet and one stored file.
std::string BackupItem(const std::string& path)
{
    const std::string name = ExtractFileName(path);
    return name + "<br><img src=\"ssys:" + name + "\">" + GetFileTypeName(path) + ", " +
           SizeToText(GetFileSizeBytes(path), false) + "<br>- 5 marca 2026, 09:07";
}

std::string ContentsItem(const std::string& cabinet, const CabEntry& e)
{
    return "<b>" + e.name + "</b><br>    5 marca 2026, 9:07 - " + SizeToText(static_cast<std::int64_t>(e.bytes.size()), false) +
           "<br>     <a href=\"RESTORE:" + ExtractFileName(cabinet) + ":" + e.name + "\">Zapisz jako...</a>";
}

// A copy of brennik.exe in a folder of the test's own, a backup folder and a
// Personal folder of the test's own, the programs' keys cleared before and
// after.
class BrennikBackups : public BrennikCopy {
protected:
    void SetUp() override
    {
        BrennikCopy::SetUp();
        if (HasFatalFailure())
            return;
        backups_ = temp_.Path() + "Kopie\\";
        personal_ = temp_.Path() + "Moje dokumenty\\";
        for (const std::string& f : {backups_, personal_})
            ASSERT_TRUE(CreateDirectoryA(f.c_str(), nullptr)) << f;
        SetRawString(HKEY_CURRENT_USER, "Software\\QMX\\QMX", BackupFolderValue, backups_);
        // The shell reads the user's folders from the first and keeps the
        // second up to date.
        const std::string personal = personal_.substr(0, personal_.size() - 1);
        userPersonal_ = std::make_unique<ValueOverride>(std::string(ExplorerKey) + "User Shell Folders", "Personal",
                                                        &personal);
        shellPersonal_ =
            std::make_unique<ValueOverride>(std::string(ExplorerKey) + "Shell Folders", "Personal", &personal);
    }
    void TearDown() override
    {
        app_.reset();
        shellPersonal_.reset();
        userPersonal_.reset();
        BrennikCopy::TearDown();
    }
    // Starts the organizer and shows page 2.
    TUiProcess& StartOnBackups()
    {
        TUiProcess& app = Start();
        app.SetProperty("eMain", "nb", "PageIndex", "2");
        app.Sync();
        return app;
    }
    std::vector<std::string> Items(const std::string& name) { return app_->Component("eMain", name).List("Items"); }
    // Selects the backup and shows its contents.
    void ShowContents(const std::string& name)
    {
        app_->SelectItem("eMain", "lbKopie", Index("lbKopie", name));
        app_->Click("eMain", "bPokazZawartoscCaba");
        app_->Sync();
    }
    // The index of the item that begins with text.
    int Index(const std::string& list, const std::string& text)
    {
        const std::vector<std::string> items = Items(list);
        for (size_t i = 0; i < items.size(); ++i)
            if (items[i].compare(0, text.size(), text) == 0)
                return static_cast<int>(i);
        ADD_FAILURE() << list << " has no item " << text;
        return -1;
    }

    std::string backups_, personal_;
    std::unique_ptr<ValueOverride> userPersonal_, shellPersonal_;
};

TEST_F(BrennikBackups, ListsTheCabinetsOfBothFolders)
{
    struct File {
        const std::string* folder;
        const char* name;
        int size;
    };
    const File files[] = {
        {&backups_, "qmxKopiaZap__20260305_090700.cab", 300},
        {&backups_, "qmxKopiaZapasowa_20260305_090701.cab", 2048},
        {&backups_, "Kopia qmxKopiaZap__20260305_090700.cab", 301},
        // Also in the backup folder: listed once, as found there.
        {&personal_, "qmxKopiaZap__20260305_090700.cab", 5000},
        {&personal_, "qmxKopiaZap_dane.dat_20260305_090702.cab", 4000},
        {&personal_, "Kopia qmxKopiaZapasowa_20260305_090701.cab", 12},
        // Not listed: digits after ".cab", other names, hidden and system files.
        {&backups_, "qmxKopiaZap__20260305_090700.cab42", 1},
        {&backups_, "kopia.cab", 1},
        {&backups_, "qmxKopiaZap_ukryta.cab", 1},
        {&personal_, "qmxKopiaZap_systemowa.cab", 1},
    };
    for (const File& f : files)
        WriteTestFile(*f.folder + f.name, std::string(f.size, 'c'));
    SetFileAttributesA((backups_ + "qmxKopiaZap_ukryta.cab").c_str(), FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesA((personal_ + "qmxKopiaZap_systemowa.cab").c_str(), FILE_ATTRIBUTE_SYSTEM);
    ASSERT_TRUE(CreateDirectoryA((backups_ + "qmxKopiaZap_folder.cab").c_str(), nullptr));

    StartOnBackups();
    EXPECT_EQ("&Kopie zapasowe", app_->Component("eMain", "lbCaption").Value("Caption"));
    const std::vector<std::string> expected = {
        BackupItem(backups_ + "Kopia qmxKopiaZap__20260305_090700.cab"),
        BackupItem(personal_ + "Kopia qmxKopiaZapasowa_20260305_090701.cab"),
        BackupItem(backups_ + "qmxKopiaZap__20260305_090700.cab"),
        BackupItem(personal_ + "qmxKopiaZap_dane.dat_20260305_090702.cab"),
        BackupItem(backups_ + "qmxKopiaZapasowa_20260305_090701.cab"),
    };
    const std::vector<std::string> items = Items("lbKopie");
    EXPECT_EQ(expected, items);
    // The sizes as found: the Personal folder's own, the backup folder's copy
    // of a name in both.
    ASSERT_EQ(5u, items.size());
    EXPECT_NE(std::string::npos, items[1].find(", 12 B<br>")) << items[1];
    EXPECT_NE(std::string::npos, items[2].find(", 300 B<br>")) << items[2];
    EXPECT_NE(std::string::npos, items[3].find(", 3,9 kB<br>")) << items[3];

    // Shown again: a cabinet deleted meanwhile is gone, a new one is there.
    DeleteFileA((backups_ + "qmxKopiaZapasowa_20260305_090701.cab").c_str());
    WriteTestFile(personal_ + "qmxKopiaZap_nowa.cab", "n");
    app_->SetProperty("eMain", "nb", "PageIndex", "3");
    app_->SetProperty("eMain", "nb", "PageIndex", "2");
    app_->Sync();
    std::vector<std::string> again(expected.begin(), expected.end() - 1);
    again.push_back(BackupItem(personal_ + "qmxKopiaZap_nowa.cab"));
    EXPECT_EQ(again, Items("lbKopie"));
    Close();
}

TEST_F(BrennikBackups, ShowsWhatACabinetHolds)
{
    const std::vector<CabEntry> entries = {{"Dane użytkownika.dat", std::string(3000, 'd')}, {"kalmet.dat", "k"}};
    const std::string inBackups = backups_ + "qmxKopiaZap__20260305_090700.cab";
    const std::string inPersonal = personal_ + "qmxKopiaZapasowa_20260305_090701.cab";
    MakeCabinet(inBackups, entries);
    MakeCabinet(inPersonal, {entries[1]});
    WriteTestFile(backups_ + "qmxKopiaZap_zepsuta.cab", "to nie jest kabinet");

    StartOnBackups();
    const struct {
        const char* what;
        std::string cabinet;
        std::vector<std::string> contents;
    } rows[] = {
        {"a cabinet of the backup folder", inBackups,
         {ContentsItem(inBackups, entries[0]), ContentsItem(inBackups, entries[1])}},
        // Opened where it was found, not in the backup folder.
        {"a cabinet only in the Personal folder", inPersonal, {ContentsItem(inPersonal, entries[1])}},
        {"a file that is no cabinet", backups_ + "qmxKopiaZap_zepsuta.cab", {}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        EXPECT_EQ(BackupItem(r.cabinet), Items("lbKopie")[Index("lbKopie", ExtractFileName(r.cabinet))]);
        ShowContents(ExtractFileName(r.cabinet));
        EXPECT_EQ(r.contents, Items("lbZawartoscCaba"));
    }

    // A double click on a backup shows it too.
    app_->SelectItem("eMain", "lbKopie", Index("lbKopie", ExtractFileName(inPersonal)));
    PostMessageA(app_->Component("eMain", "lbKopie").Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
    app_->WaitFor("eMain", "lbZawartoscCaba", "the Personal folder's cabinet",
                  [&](const TUiComponent& c) { return c.List("Items") == std::vector<std::string>{
                                                           ContentsItem(inPersonal, entries[1])}; });

    // A picture of the page at work, for people.
    ShowContents(ExtractFileName(inBackups));
    SavePicture(app_->Component("eMain", "").Handle(), temp_.Path(), "brennik_strona2_kopie.png");
    Close();
}

// The contents list fills while the window answers: a second cabinet shown
// while the first one's list is still filling replaces it whole, and the
// window can be closed meanwhile.
TEST_F(BrennikBackups, ContentsShownWhileTheListFillsReplaceIt)
{
    std::vector<CabEntry> many;
    for (int i = 0; i < 300; ++i)
        many.push_back({"plik" + std::to_string(1000 + i) + ".txt", "p"});
    const std::vector<CabEntry> few = {{"kalmet.dat", "k"}};
    const std::string large = backups_ + "qmxKopiaZap_duza.cab";
    const std::string small = backups_ + "qmxKopiaZap_mala.cab";
    MakeCabinet(large, many);
    MakeCabinet(small, few);

    StartOnBackups();
    app_->SelectItem("eMain", "lbKopie", Index("lbKopie", ExtractFileName(large)));
    app_->QueueClick("eMain", "bPokazZawartoscCaba");
    app_->Sync();
    EXPECT_LT(Items("lbZawartoscCaba").size(), many.size());
    app_->QueueProperty("eMain", "lbKopie", "ItemIndex", std::to_string(Index("lbKopie", ExtractFileName(small))));
    app_->QueueClick("eMain", "bPokazZawartoscCaba");
    // The window answers before a list is full: two rounds of the message
    // loop after the second list came nothing more has come.
    const std::vector<std::string> second = {ContentsItem(small, few[0])};
    app_->WaitFor(
        "eMain", "lbZawartoscCaba", "the second cabinet's contents",
        [&](const TUiComponent& c) { return c.List("Items") == second; }, 60000);
    app_->Sync();
    app_->Sync();
    EXPECT_EQ(second, Items("lbZawartoscCaba"));

    // The whole list when nothing comes between.
    ShowContents(ExtractFileName(large));
    app_->WaitFor(
        "eMain", "lbZawartoscCaba", "the first cabinet's contents",
        [&](const TUiComponent& c) { return c.List("Items").size() >= many.size(); }, 60000);
    const std::vector<std::string> items = Items("lbZawartoscCaba");
    ASSERT_EQ(many.size(), items.size());
    EXPECT_EQ(ContentsItem(large, many.back()), items.back());

    app_->SelectItem("eMain", "lbKopie", Index("lbKopie", ExtractFileName(large)));
    app_->QueueClick("eMain", "bPokazZawartoscCaba");
    app_->CloseForm("eMain");
    app_->WaitForExit();
}

TEST_F(BrennikBackups, TheButtonsNeedABackupChosen)
{
    const struct {
        const char* what;
        bool cabinet;
        std::string error;
    } rows[] = {
        {"no backups", false, "Nie ma żadnych kopii!"},
        {"none chosen", true, "Zaznacz jakąś kopię!"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        if (r.cabinet)
            WriteTestFile(backups_ + "qmxKopiaZap__20260305_090700.cab", "c");
        StartOnBackups();
        ASSERT_EQ(r.cabinet ? 1u : 0u, Items("lbKopie").size());
        // The contents button says it in the contents list...
        app_->Click("eMain", "bPokazZawartoscCaba");
        app_->Sync();
        EXPECT_EQ(std::vector<std::string>{r.error}, Items("lbZawartoscCaba"));
        // ... the deletion in a message.
        app_->Click("eMain", "bUsunKopie");
        EXPECT_EQ(r.error, Caption(app_->AnswerDialog("bOK")));
        Close();
    }
    EXPECT_TRUE(FileExists(backups_ + "qmxKopiaZap__20260305_090700.cab"));
}

TEST_F(BrennikBackups, TheButtonMakesABackupOfTheDataFiles)
{
    const std::string data = temp_.Path() + "kalmet.dat";
    WriteTestFile(data, "dane kalendarza");
    SetRawString(HKEY_LOCAL_MACHINE, PathsKey, DataFileValueNames[0], data);

    StartOnBackups();
    EXPECT_TRUE(Items("lbKopie").empty());
    app_->Click("eMain", "bKopiaZapasowa");
    const std::string done = Caption(app_->AnswerDialog("bOK"));
    const std::string prefix = "Kopia zapasowa została wykonana pomyślnie.\r\n";
    ASSERT_EQ(0u, done.find(prefix)) << done;
    const std::string cabinet = done.substr(prefix.size());
    EXPECT_TRUE(EqualNoCase(ExtractFilePath(cabinet), backups_)) << cabinet;
    EXPECT_EQ(0u, ExtractFileName(cabinet).find("qmxKopiaZap__")) << cabinet;
    EXPECT_TRUE(FileExists(cabinet));

    const std::vector<std::string> items =
        app_->WaitFor("eMain", "lbKopie", "the new backup", [](const TUiComponent& c) {
                return c.List("Items").size() == 1;
            }).List("Items");
    EXPECT_EQ(0u, items[0].find(ExtractFileName(cabinet) + "<br>")) << items[0];
    ShowContents(ExtractFileName(cabinet));
    const std::vector<std::string> contents = Items("lbZawartoscCaba");
    ASSERT_EQ(1u, contents.size());
    EXPECT_EQ(0u, contents[0].find("<b>kalmet.dat</b><br>    5 marca 2026, 9:07 - 15 B<br>")) << contents[0];
    Close();
}

TEST_F(BrennikBackups, RestoresAFileThroughTheFolderBrowser)
{
    const std::vector<CabEntry> entries = {{"Dane użytkownika.dat", "dane osobowe 1999"}, {"kalmet.dat", "kalendarz"}};
    const std::string inBackups = backups_ + "qmxKopiaZap__20260305_090700.cab";
    const std::string inPersonal = personal_ + "qmxKopiaZapasowa_20260305_090701.cab";
    MakeCabinet(inBackups, entries);
    MakeCabinet(inPersonal, entries);

    StartOnBackups();
    const struct {
        const char* what;
        std::string cabinet;
        int entry;
        const char* answer;  // the folder browser's button
    } rows[] = {
        {"from the backup folder", inBackups, 0, "OK"},
        {"from the Personal folder", inPersonal, 1, "OK"},
        {"the browser cancelled", inBackups, 1, "Anuluj"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        const CabEntry& e = entries[r.entry];
        const std::string target = folder_ + e.name;
        DeleteFileA(target.c_str());
        ShowContents(ExtractFileName(r.cabinet));
        app_->SetProperty("eMain", "lbZawartoscCaba", "ClickAnchor[" + std::to_string(r.entry) + "]",
                          "RESTORE:" + ExtractFileName(r.cabinet) + ":" + e.name);
        // The browser starts at the program's folder.
        WaitForTheBrowsersSelection(app_->ProcessId());
        const std::string browser = app_->AnswerSystemDialog(r.answer);
        EXPECT_NE(std::string::npos, browser.find("Wybierz docelową lokalizację dla pliku " + e.name)) << browser;
        if (std::string(r.answer) != "OK") {
            app_->Sync();
            EXPECT_FALSE(FileExists(target));
            continue;
        }
        const std::string message = Caption(app_->AnswerDialog("bOK"));
        const std::string expected = "Odtworzyłem plik z archiw um\r\n" + ExtractFileName(r.cabinet) +
                                     "\r\ndo docelowej lokalizacji\r\n" + target;
        // The browser gives the folder as the file system spells it.
        EXPECT_TRUE(EqualNoCase(expected, message)) << message;
        EXPECT_EQ(e.bytes, ReadWholeFile(target));
    }

    // A cabinet that lost the file after it was shown.
    ShowContents(ExtractFileName(inBackups));
    MakeCabinet(inBackups, {entries[1]});
    app_->SetProperty("eMain", "lbZawartoscCaba", "ClickAnchor[0]",
                      "RESTORE:" + ExtractFileName(inBackups) + ":" + entries[0].name);
    EXPECT_EQ("Brak pliku w archiwum!\r\n" + entries[0].name, Caption(app_->AnswerDialog("bOK")));
    Close();
}

// Stored names that markup or the anchor's fields would misread still reach
// the restore whole: the anchor escapes them. A name that would leave the
// chosen folder is refused in Polish, with the name; sizes are unsigned.
TEST_F(BrennikBackups, AnchorsCarryAnyStoredName)
{
    const std::string cabinet = backups_ + "qmxKopiaZap__20260305_090700.cab";
    const std::string cab = ExtractFileName(cabinet);
    // A name with markup of its own: an anchor the list box would offer.
    const std::string tagged = "<a href=\"RESTORE:x\">y</a>";
    const std::string untagged(tagged.size(), 'y');
    MakeCabinet(cabinet, {{"50%.txt", "procent"}, {"zzzz.txt", "cudzysłów"}, {"zzzzz.txt", "adres"},
                          {"wielki.txt", "w"}, {untagged, "t"}});
    ForgeCabinet(cabinet, {{"zzzz.txt", "a\"b\".txt"}, {"zzzzz.txt", "x://y.txt"}, {untagged, tagged}}, {"wielki.txt"});

    StartOnBackups();
    ShowContents(cab);
    const std::vector<std::string> items = Items("lbZawartoscCaba");
    ASSERT_EQ(5u, items.size());
    const std::string when = "</b><br>    5 marca 2026, 9:07 - ";
    EXPECT_EQ("<b>a\"b\".txt" + when + "9 B<br>     <a href=\"RESTORE:" + cab + ":a%22b%22.txt\">Zapisz jako...</a>",
              items[1]);
    EXPECT_EQ("<b>wielki.txt" + when + "4,0 GB<br>     <a href=\"RESTORE:" + cab + ":wielki.txt\">Zapisz jako...</a>",
              items[3]);
    // Shown as text: its brackets as angle quotes.
    EXPECT_EQ("<b>‹a href=\"RESTORE:x\"›y‹/a›" + when + "1 B<br>     <a href=\"RESTORE:" + cab +
                  ":%3Ca href=%22RESTORE%3Ax%22%3Ey%3C/a%3E\">Zapisz jako...</a>",
              items[4]);

    const struct {
        const char* entry;
        int index;
        std::string href;
        std::string message;
    } rows[] = {
        {"50%.txt", 0, "RESTORE:" + cab + ":50%25.txt",
         "Odtworzyłem plik z archiw um\r\n" + cab + "\r\ndo docelowej lokalizacji\r\n" + folder_ + "50%.txt"},
        // No file of Windows can have that name.
        {"a\"b\".txt", 1, "RESTORE:" + cab + ":a%22b%22.txt", "Nie udało się odtworzyć pliku!"},
        // ":" names a drive or a stream: never written.
        {"x://y.txt", 2, "RESTORE:" + cab + ":x%3A//y.txt", "Niedozwolona nazwa pliku w archiwum!\r\nx://y.txt"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.entry);
        EXPECT_NE(std::string::npos, items[r.index].find("<b>" + std::string(r.entry) + "</b>"));
        app_->SetProperty("eMain", "lbZawartoscCaba", "ClickAnchor[" + std::to_string(r.index) + "]", r.href);
        WaitForTheBrowsersSelection(app_->ProcessId());
        const std::string browser = app_->AnswerSystemDialog("OK");
        EXPECT_NE(std::string::npos, browser.find("Wybierz docelową lokalizację dla pliku " + std::string(r.entry)))
            << browser;
        const std::string message = Caption(app_->AnswerDialog("bOK"));
        EXPECT_TRUE(EqualNoCase(r.message, message)) << message;
    }
    EXPECT_EQ("procent", ReadWholeFile(folder_ + "50%.txt"));
    Close();
}

TEST_F(BrennikBackups, DeletesTheChosenCabinetWhenAsked)
{
    const std::vector<CabEntry> entries = {{"kalmet.dat", "kalendarz"}};
    const std::string inBackups = backups_ + "qmxKopiaZap__20260305_090700.cab";
    const std::string inPersonal = personal_ + "qmxKopiaZapasowa_20260305_090701.cab";
    const std::string other = backups_ + "qmxKopiaZap__20260305_090702.cab";
    const struct {
        const char* what;
        std::string cabinet;
        const char* answer;
        bool deleted;
    } rows[] = {
        {"kept: the safe answer", inBackups, "bOK", false},
        {"deleted from the backup folder", inBackups, "bAnuluj", true},
        {"deleted from the Personal folder", inPersonal, "bAnuluj", true},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        for (const std::string& cab : {inBackups, inPersonal, other})
            MakeCabinet(cab, entries);
        StartOnBackups();
        ShowContents(ExtractFileName(r.cabinet));
        const std::string name = ExtractFileName(r.cabinet);
        app_->Click("eMain", "bUsunKopie");
        EXPECT_EQ("Może jednak zostawić na dysku kopię zapasową\r\n" + name + "?\r\nNaciśnij Anuluj, aby ją usunąć.",
                  Caption(app_->AnswerDialog(r.answer)));
        app_->Sync();
        EXPECT_EQ(!r.deleted, FileExists(r.cabinet));
        EXPECT_EQ(r.deleted ? 2u : 3u, Items("lbKopie").size());
        // The contents of a deleted cabinet are no longer shown.
        EXPECT_EQ(r.deleted ? 0u : 1u, Items("lbZawartoscCaba").size());
        Close();
    }
    EXPECT_TRUE(FileExists(other));
}

TEST_F(BrennikBackups, AFailedDeletionShowsTheSystemsMessage)
{
    const std::string cabinet = backups_ + "qmxKopiaZap__20260305_090700.cab";
    WriteTestFile(cabinet, "c");
    StartOnBackups();
    HANDLE busy = CreateFileA(cabinet.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, busy);
    app_->SelectItem("eMain", "lbKopie", 0);
    app_->Click("eMain", "bUsunKopie");
    app_->AnswerDialog("bAnuluj");
    EXPECT_EQ(SysErrorMessage(ERROR_SHARING_VIOLATION), Caption(app_->AnswerDialog("bOK")));
    CloseHandle(busy);
    EXPECT_TRUE(FileExists(cabinet));
    EXPECT_EQ(1u, Items("lbKopie").size());
    Close();
}

} // namespace
