#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "classlib/PngWriter.h"
#include "classlib/SysUtils.h"
#include "common/QmxReg.h"
#include "tests/organizer_brennik/BrennikCopy.h"
#include "tests/support/TestUtil.h"
#include "tools/uidriver/UiDriver.h"

namespace {

const char TarvixKey[] = "Software\\QMX\\Tarvix";

using Brennik = BrennikCopy;

TEST_F(Brennik, OpensOnTheRemovalPageWithoutAReport)
{
    TUiProcess& app = Start();
    TUiComponent form = app.Component("eMain", "");
    EXPECT_EQ("Lumero", form.Value("Caption"));
    EXPECT_EQ("4", app.Component("eMain", "nb").Value("PageIndex"));
    EXPECT_EQ("4", app.Component("eMain", "ts").Value("TabIndex"));
    EXPECT_EQ("&Usuń programy", app.Component("eMain", "lbCaption").Value("Caption"));
    TUiComponent list = app.Component("eMain", "lbUsun");
    EXPECT_EQ(std::vector<std::string>{"Nie można odinstalować żadnych plików."}, list.List("Items"));
    EXPECT_FALSE(list.Enabled());
    EXPECT_EQ(std::vector<std::string>{"<b>Nie ma plików do usunięcia!</b><br>\r\nPrawdopodobnie program został "
                                       "już usunięty."},
              app.Component("eMain", "lbPliki").List("Items"));
    for (const char* name : {"bAktualizacja", "bAktualizacjaInternetowa"}) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(app.Component("eMain", name).Enabled());
    }
    Close();
}

// The tabs as they stand on the screen, along the row below the edge they
// hang from: which tabs are drawn in the current tab's colour and which in
// the others', from the left, as "-" for another tab and "X" for a current
// one. Taken from the picture of the whole window (a child window of
// another process gives no picture of its own).
std::string DrawnTabs(TUiProcess& app)
{
    const TColor selected = 5066163, unselected = 11447944;
    const HWND form = app.Component("eMain", "").Handle();
    const RECT ts = app.Component("eMain", "ts").ScreenRect();
    RECT window{};
    GetWindowRect(form, &window);
    std::unique_ptr<TBitmap> picture = CaptureWindow(form);
    std::string tabs;
    TColor last = clNone;
    for (int x = ts.left; x < ts.right; ++x) {
        const TColor c = picture->Canvas()->Pixels(x - window.left, ts.top + 1 - window.top);
        if (c != last && (c == selected || c == unselected))
            tabs += c == selected ? 'X' : '-';
        last = c;
    }
    return tabs;
}

// The tab set shows the page in view from the start, follows the tabs
// chosen and any other change of the page, and draws exactly one current tab.
TEST_F(Brennik, TheTabsShowThePageInView)
{
    TUiProcess& app = Start();
    EXPECT_EQ("4", app.Component("eMain", "ts").Value("TabIndex"));
    // The first picture only once the window has painted it (and no other
    // test's window covers it).
    app.WaitFor("eMain", "ts", "the tabs drawn ----X", [&](const TUiComponent&) { return DrawnTabs(app) == "----X"; });

    const struct {
        const char* what;
        const char* name;
        const char* key;
        int page;
        const char* caption;
        const char* drawn;
    } steps[] = {
        {"a tab chosen", "ts", "TabIndex", 0, "&Aplikacje", "X----"},
        {"another tab", "ts", "TabIndex", 3, "&Pliki danych", "---X-"},
        {"the page changed without the tabs", "nb", "PageIndex", 1, "&Dane osobowe", "-X---"},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.what);
        app.SetProperty("eMain", s.name, s.key, std::to_string(s.page));
        app.Sync();
        EXPECT_EQ(std::to_string(s.page), app.Component("eMain", "nb").Value("PageIndex"));
        EXPECT_EQ(std::to_string(s.page), app.Component("eMain", "ts").Value("TabIndex"));
        EXPECT_EQ(s.caption, app.Component("eMain", "lbCaption").Value("Caption"));
        // Painted by the next round of the message loop.
        app.WaitFor("eMain", "ts", std::string("the tabs drawn ") + s.drawn,
                    [&](const TUiComponent&) { return DrawnTabs(app) == s.drawn; });
    }
    Close();
}

// A long report is read with the window on screen: the window shows, is
// painted and answers before the removal page is whole, removing waits for
// the whole list, and a page chosen meanwhile is shown at once (the page is
// filled anew when it comes back, with every program once).
TEST_F(Brennik, ALongReportIsReadWithTheWindowShownAndAnswering)
{
    const int programs = 1000, files = 4;
    std::vector<std::string> paths;
    for (int k = 0; k < files; ++k) {
        paths.push_back(temp_.Path() + "plik" + std::to_string(k) + ".dat");
        WriteWholeFile(paths.back(), "dane");
    }
    auto name = [](int i) {
        char text[32];
        std::snprintf(text, sizeof text, "Program %04d", i);
        return std::string(text);
    };
    std::string report;
    for (int i = 0; i < programs; ++i)
        for (int k = 0; k < 2 * files; ++k)
            report += "01-02-2026 10:11:12 - FILECOPY=" + name(i) + " (" + std::to_string(k) + ");s;" +
                      paths[k % files] + "\r\n";
    WriteWholeFile(temp_.Path() + "tarvix.qmx", report);
    SetRawString(HKEY_CURRENT_USER, TarvixKey, "Raport", temp_.Path() + "tarvix.qmx");

    app_ = std::make_unique<TUiProcess>("\"" + exe_ + "\"", TUiStartOptions{folder_, {}});
    TUiProcess& app = *app_;
    app.WaitForForm("eMain");
    app.WaitFor("eMain", "ts", "the tabs drawn ----X", [&](const TUiComponent&) { return DrawnTabs(app) == "----X"; });
    // One look at the page, after the picture: all of the above came before
    // the list was whole.
    const TUiDump early = app.Dump("eMain");
    ASSERT_EQ(1u, early.Forms.size());
    const TUiForm& form = early.Forms[0];
    EXPECT_LT(form.Find("lbUsun")->List("Items").size(), static_cast<size_t>(programs));
    EXPECT_TRUE(form.Find("lbPliki")->List("Items").empty());
    EXPECT_FALSE(form.Find("bUsunProgramy")->Enabled());

    app.QueueProperty("eMain", "ts", "TabIndex", "3");
    app.Sync();
    EXPECT_EQ("3", app.Component("eMain", "nb").Value("PageIndex"));
    EXPECT_EQ("&Pliki danych", app.Component("eMain", "lbCaption").Value("Caption"));

    app.SetProperty("eMain", "ts", "TabIndex", "4");
    WaitForRemovalPage(app);
    const std::vector<std::string> listed = app.Component("eMain", "lbUsun").List("Items");
    ASSERT_EQ(static_cast<size_t>(programs), listed.size());
    EXPECT_EQ(name(0), listed.front());
    EXPECT_EQ(name(programs - 1), listed.back());
    const std::vector<std::string> shown = app.Component("eMain", "lbPliki").List("Items");
    ASSERT_EQ(static_cast<size_t>(files), shown.size());
    for (int k = 0; k < files; ++k)
        EXPECT_EQ(0u, shown[k].find("<img src=\"ssys:" + paths[k] + "\">" + paths[k] + "  - ")) << shown[k];
    Close();
}

TEST_F(Brennik, ListsTheInstalledApplications)
{
    std::string withVersion = temp_.Path() + "Vurodar\\vurodar.exe";
    CreateDirectoryA((temp_.Path() + "Vurodar").c_str(), nullptr);
    ASSERT_TRUE(CopyFileA(BuiltPath("tools\\medium\\bin\\brennik.exe").c_str(), withVersion.c_str(), FALSE));
    std::string noVersion = temp_.Path() + "bez.exe";
    ASSERT_TRUE(CopyFileA(BuiltPath("tests\\organizer_apperase\\erase_self.exe").c_str(), noVersion.c_str(), FALSE));
    std::string matts = temp_.Path() + "matts.exe";
    ASSERT_TRUE(CopyFileA(noVersion.c_str(), matts.c_str(), FALSE));
    for (const std::string& program : {withVersion, noVersion, matts})
        SetTestTime(program);
    CreateDirectoryA((temp_.Path() + "Kelvor").c_str(), nullptr);
    std::string installer = temp_.Path() + "Kelvor\\setup.exe";
    CopyFileA(noVersion.c_str(), installer.c_str(), FALSE);

    SetRawString(HKEY_LOCAL_MACHINE, PathsKey, "Vurodar 2000 Izo", withVersion);
    SetRawString(HKEY_LOCAL_MACHINE, PathsKey, "Bez wersji", noVersion);
    // Only a name that begins with "tts" names a data file.
    SetRawString(HKEY_LOCAL_MACHINE, PathsKey, "Program Matts", matts);
    SetRawString(HKEY_LOCAL_MACHINE, PathsKey, "ttsDane", noVersion);
    SetRawString(HKEY_LOCAL_MACHINE, PathsKey, "TTS Inne", noVersion);
    SetRawString(HKEY_LOCAL_MACHINE, PathsKey, "Instalator", installer);
    SetRawString(HKEY_LOCAL_MACHINE, PathsKey, "Brak", temp_.Path() + "brak.exe");
    SetRawString(HKEY_LOCAL_MACHINE, PathsKey, "Sam", AnsiUpperCase(exe_));

    TUiProcess& app = Start();
    app.SetProperty("eMain", "ts", "TabIndex", "0");
    TUiComponent list = app.WaitFor("eMain", "lbAplikacje", "three items",
                                    [](const TUiComponent& c) { return c.List("Items").size() == 3; });
    // Sorted by their text, which starts with the icon of the program's path.
    const std::string installed = "<br>- zainstalowany czwartek, 5 marca 2026, 9:07";
    EXPECT_EQ(list.List("Items"),
              (std::vector<std::string>{
                  "<img src=\"ssys:" + noVersion + "\">Bez wersji (BEZWERSJI)<br>" + noVersion +
                      "<br>- wersja:  ()" + installed,
                  "<img src=\"ssys:" + matts + "\">Program Matts (PROGRAMMATTS)<br>" + matts + "<br>- wersja:  ()" +
                      installed,
                  "<img src=\"ssys:" + withVersion + "\">Vurodar 2000 Izo (VURODARIZO)<br>" + withVersion +
                      "<br>- wersja: 1.0.0.3 (15 grudnia 1999)" + installed,
              }));
    EXPECT_TRUE(list.Enabled());
    EXPECT_EQ("&Aplikacje", app.Component("eMain", "lbCaption").Value("Caption"));

    // Shown again: a program deleted meanwhile is gone.
    DeleteFileA(noVersion.c_str());
    app.SetProperty("eMain", "ts", "TabIndex", "1");
    app.SetProperty("eMain", "ts", "TabIndex", "0");
    list = app.WaitFor("eMain", "lbAplikacje", "two items",
                       [](const TUiComponent& c) { return c.List("Items").size() == 2; });
    Close();
}

// The applications' list fills while the window answers: a page chosen
// meanwhile is shown and ends the fill (the list is made again when its page
// comes back), the page chosen again starts the list anew, and a close is
// honoured.
TEST_F(Brennik, TheApplicationsListLetsTheWindowAnswer)
{
    const std::string program = temp_.Path() + "program.exe";
    ASSERT_TRUE(CopyFileA(BuiltPath("tools\\medium\\bin\\brennik.exe").c_str(), program.c_str(), FALSE));
    const int count = 200;
    for (int i = 0; i < count; ++i)
        SetRawString(HKEY_LOCAL_MACHINE, PathsKey, "Program " + std::to_string(1000 + i), program);
    auto Listed = [&] { return app_->Component("eMain", "lbAplikacje").List("Items"); };

    TUiProcess& app = Start();
    app.QueueProperty("eMain", "ts", "TabIndex", "0");
    app.QueueProperty("eMain", "ts", "TabIndex", "3");
    app.Sync();
    EXPECT_EQ("3", app.Component("eMain", "nb").Value("PageIndex"));
    EXPECT_EQ("&Pliki danych", app.Component("eMain", "lbCaption").Value("Caption"));
    EXPECT_LT(Listed().size(), static_cast<size_t>(count));

    // Left and chosen again while it fills: one list, each program once. The
    // window answers before the list is full, so the driver waits for it;
    // two rounds of the message loop later nothing more has come.
    app.QueueProperty("eMain", "ts", "TabIndex", "0");
    app.QueueProperty("eMain", "ts", "TabIndex", "1");
    app.QueueProperty("eMain", "ts", "TabIndex", "0");
    // A slow machine's fill, asked for the list again and again, may take
    // longer than the driver's usual wait.
    app.WaitFor(
        "eMain", "lbAplikacje", "the whole list",
        [&](const TUiComponent& c) { return c.List("Items").size() >= static_cast<size_t>(count); }, 60000);
    app.Sync();
    app.Sync();
    std::vector<std::string> items = Listed();
    ASSERT_EQ(static_cast<size_t>(count), items.size());
    std::sort(items.begin(), items.end());
    EXPECT_EQ(items.end(), std::adjacent_find(items.begin(), items.end()));
    EXPECT_NE(std::string::npos, items.back().find("Program 1199 (PROGRAM)")) << items.back();

    app.QueueProperty("eMain", "ts", "TabIndex", "3");
    app.QueueProperty("eMain", "ts", "TabIndex", "0");
    app.CloseForm("eMain");
    app.WaitForExit();
}

TEST_F(Brennik, RemovesEverythingAndThenItself)
{
    // What an installation left: two programs, a shortcut, the report.
    std::string dest = temp_.Path() + "Qmx\\";
    CreateDirectoryA(dest.c_str(), nullptr);
    WriteWholeFile(dest + "vurodar.exe", "exe-bytes");
    WriteWholeFile(dest + "pomoc.txt", "pomoc");
    WriteWholeFile(dest + "Vurodar.lnk", "lnk");
    std::string report = dest + "tarvix.qmx";
    const std::string d = "01-02-2026 10:11:12 - ";
    WriteWholeFile(report, d + "FILECOPY=Vurodar 2000 (Vurodar);s;" + dest + "vurodar.exe\r\n" + d +
                               "FILECOPY=Vurodar 2000 (Pomoc);s;" + dest + "pomoc.txt\r\n" + d +
                               "LINK=Vurodar 2000 (Vurodar);s;" + dest + "vurodar.exe;" + dest + "Vurodar.lnk\r\n" +
                               d + "FILECOPY=Lumero 2000 (Brennik);s;" + exe_ + "\r\n" + d +
                               "UNINSTALLER=Lumero 2000 (Brennik);s;" + exe_ + "\r\n");
    SetRawString(HKEY_CURRENT_USER, TarvixKey, "Raport", report);
    SetRawString(HKEY_LOCAL_MACHINE, UninstallKey, "DisplayName", "Velmora");

    TUiProcess& app = Start();
    // The running organizer cannot be opened for writing: not listed, and
    // Lumero, left without files, is dropped.
    TUiComponent list = app.Component("eMain", "lbUsun");
    ASSERT_EQ(std::vector<std::string>{"Vurodar 2000"}, list.List("Items"));
    std::vector<std::string> files = app.Component("eMain", "lbPliki").List("Items");
    ASSERT_EQ(3u, files.size());
    EXPECT_EQ(0u, files[0].find("<img src=\"ssys:" + dest + "vurodar.exe\">" + dest + "vurodar.exe  - ")) << files[0];

    app.SetItemChecked("eMain", "lbUsun", 0, true);
    app.Click("eMain", "bUsunProgramy");
    EXPECT_EQ("Jesteś pewien, że chcesz usunąć nasze programy?\r\nChcesz tego?", Caption(app.AnswerDialog("bOK")));
    EXPECT_EQ("Może jednak przerwać?\r\nNaciśnij tym razem Anuluj, aby kontynuować.",
              Caption(app.AnswerDialog("bAnuluj")));
    std::string freed = Caption(app.AnswerDialog("bOK"));
    EXPECT_EQ(0u, freed.find("Usunięto skróty i pliki. Zwolniło się dzięki temu ")) << freed;
    EXPECT_EQ("Program konfiguracyjny zostanie za chwilę usunięty z systemu, bo już nie jest potrzebny.",
              Caption(app.AnswerDialog("bOK")));
    app.WaitForText("eMain", "lbUsun", "Nie można odinstalować żadnych plików.");
    WaitForRemovalPage(app);
    // The button keeps the focus its click gave it, through the page filled
    // again (which holds the button back meanwhile).
    const HWND button = app.Component("eMain", "bUsunProgramy").Handle();
    GUITHREADINFO thread{sizeof thread};
    ASSERT_TRUE(GetGUIThreadInfo(GetWindowThreadProcessId(button, nullptr), &thread));
    EXPECT_EQ(button, thread.hwndFocus);

    for (const char* name : {"vurodar.exe", "pomoc.txt", "Vurodar.lnk", "tarvix.qmx"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(FileExists(dest + name));
    }
    EXPECT_FALSE(RawKeyExists(HKEY_LOCAL_MACHINE, UninstallKey));
    Close();
    EXPECT_TRUE(WaitUntilGone(exe_, 15000));
}

TEST_F(Brennik, KeepsItselfWhenAProgramStaysOrADeletionFailed)
{
    std::string dest = temp_.Path() + "Qmx\\";
    CreateDirectoryA(dest.c_str(), nullptr);
    WriteWholeFile(dest + "a.exe", "a");
    WriteWholeFile(dest + "b.exe", "b");
    WriteWholeFile(dest + "c.exe", "c");
    std::string report = dest + "tarvix.qmx";
    const std::string d = "01-02-2026 10:11:12 - ";
    WriteWholeFile(report, d + "FILECOPY=Alfa;s;" + dest + "a.exe\r\n" + d + "FILECOPY=Alfa;s;" + dest + "b.exe\r\n" +
                               d + "FILECOPY=Beta;s;" + dest + "c.exe\r\n");
    SetRawString(HKEY_CURRENT_USER, TarvixKey, "Raport", report);

    TUiProcess& app = Start();
    ASSERT_EQ((std::vector<std::string>{"Alfa", "Beta"}), app.Component("eMain", "lbUsun").List("Items"));
    // Held open after the page was filled, sharing reading and writing but
    // not deletion.
    HANDLE busy = CreateFileA((dest + "b.exe").c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, busy);

    // Only Alfa ticked: its files go, Beta's stays, no self-removal.
    app.SetItemChecked("eMain", "lbUsun", 0, true);
    app.Click("eMain", "bUsunProgramy");
    app.AnswerDialog("bOK");
    app.AnswerDialog("bAnuluj");
    // While the removal runs, nothing can start it again or switch pages.
    app.WaitFor("eMain", "lbUsun", "the list disabled", [](const TUiComponent& c) { return !c.Enabled(); });
    for (const char* name : {"ts", "bUsunProgramy", "bUsunZRejestru"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(app.Component("eMain", name).Enabled());
    }
    EXPECT_EQ("Nie udało się usunąć!\r\n" + dest + "b.exe", Caption(app.AnswerDialog("bAnuluj")));
    std::string freed = Caption(app.AnswerDialog("bOK"));
    // Only a.exe's single byte was freed.
    EXPECT_NE(std::string::npos, freed.find("dzięki temu 1 B")) << freed;
    CloseHandle(busy);
    app.WaitFor("eMain", "lbUsun", "the list refilled",
                [](const TUiComponent& c) { return c.List("Items").size() == 2; });
    EXPECT_FALSE(FileExists(dest + "a.exe"));
    EXPECT_TRUE(FileExists(dest + "b.exe"));
    EXPECT_TRUE(FileExists(dest + "c.exe"));
    EXPECT_TRUE(FileExists(report));
    Close();
    // Its removal is a batch beside its folder, written before it ends.
    EXPECT_EQ(std::vector<std::string>{}, EntriesMatching(temp_.Path() + "*.bat"));
    EXPECT_TRUE(FileExists(exe_));
}

// Every program ticked, one file that cannot be deleted: answered with OK the
// organizer still offers to remove itself, answered with Cancel it does not.
// Sizes above 2 GB are shown and counted as they are.
TEST_F(Brennik, AFailedDeletionKeepsTheOrganizerOnlyWhenAnsweredWithCancel)
{
    const struct {
        const char* answer;
        bool offered;
    } rows[] = {{"bOK", true}, {"bAnuluj", false}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.answer);
        const std::string dest = temp_.Path() + "Qmx" + r.answer + "\\";
        ASSERT_TRUE(CreateDirectoryA(dest.c_str(), nullptr));
        ASSERT_TRUE(MakeHollowFile(dest + "a.exe", 3LL * 1024 * 1024 * 1024));
        WriteWholeFile(dest + "b.exe", "b");
        WriteWholeFile(dest + "c.exe", "c");
        const std::string report = dest + "tarvix.qmx";
        const std::string d = "01-02-2026 10:11:12 - ";
        WriteWholeFile(report, d + "FILECOPY=Alfa;s;" + dest + "a.exe\r\n" + d + "FILECOPY=Alfa;s;" + dest +
                                   "b.exe\r\n" + d + "FILECOPY=Beta;s;" + dest + "c.exe\r\n");
        SetRawString(HKEY_CURRENT_USER, TarvixKey, "Raport", report);

        TUiProcess& app = Start();
        ASSERT_EQ((std::vector<std::string>{"Alfa", "Beta"}), app.Component("eMain", "lbUsun").List("Items"));
        const std::vector<std::string> files = app.Component("eMain", "lbPliki").List("Items");
        ASSERT_EQ(2u, files.size());
        EXPECT_NE(std::string::npos, files[0].find(", 3,0 GB")) << files[0];
        // Held open, sharing reading and writing but not deletion.
        HANDLE busy = CreateFileA((dest + "b.exe").c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, busy);
        app.SetItemChecked("eMain", "lbUsun", 0, true);
        app.SetItemChecked("eMain", "lbUsun", 1, true);
        app.Click("eMain", "bUsunProgramy");
        app.AnswerDialog("bOK");
        app.AnswerDialog("bAnuluj");
        EXPECT_EQ("Nie udało się usunąć!\r\n" + dest + "b.exe", Caption(app.AnswerDialog(r.answer)));
        const std::string freed = Caption(app.AnswerDialog("bOK"));
        EXPECT_NE(std::string::npos, freed.find("dzięki temu 3,0 GB miejsca")) << freed;
        if (r.offered) {
            // Cancelled here, so that the test's copy stays for the next row.
            EXPECT_EQ("Program konfiguracyjny zostanie za chwilę usunięty z systemu, bo już nie jest potrzebny.",
                      Caption(app.AnswerDialog("bAnuluj")));
        }
        app.WaitFor("eMain", "lbUsun", "the list refilled",
                    [](const TUiComponent& c) { return c.List("Items") == std::vector<std::string>{"Alfa"}; });
        CloseHandle(busy);
        EXPECT_FALSE(FileExists(dest + "a.exe"));
        EXPECT_FALSE(FileExists(dest + "c.exe"));
        EXPECT_TRUE(FileExists(report));
        // No further question is waiting (the page refills only after the last one).
        for (const TUiForm& form : app.Dump().Forms)
            EXPECT_FALSE(form.Showing() && form.Modal()) << form.Title();
        Close();
        EXPECT_TRUE(FileExists(exe_));
    }
}

TEST_F(Brennik, ListsTheDataFiles)
{
    WriteWholeFile(temp_.Path() + "kalmet.dat", std::string(2048, 'x'));
    CreateDirectoryA((temp_.Path() + "folder.dat").c_str(), nullptr);
    // Three of the table's values: a file, a folder, a file that is missing.
    SetRawString(HKEY_LOCAL_MACHINE, PathsKey, DataFileValueNames[0], temp_.Path() + "kalmet.dat");
    SetRawString(HKEY_LOCAL_MACHINE, PathsKey, DataFileValueNames[1], temp_.Path() + "folder.dat");
    SetRawString(HKEY_LOCAL_MACHINE, PathsKey, DataFileValueNames[2], temp_.Path() + "brak.dat");

    TUiProcess& app = Start();
    app.SetProperty("eMain", "nb", "PageIndex", "3");
    std::vector<std::string> items = app.Component("eMain", "lbPlikiDanych").List("Items");
    ASSERT_EQ(1u, items.size());
    const std::string path = temp_.Path() + "kalmet.dat";
    EXPECT_EQ(0u, items[0].find("<img src=\"ssys:" + path + "\"><b>" + path + "</b><br>    2,0 kilobajtów<br>ostatnio "
                                "zmodyfikowany: "))
        << items[0];
    EXPECT_EQ("&Pliki danych", app.Component("eMain", "lbCaption").Value("Caption"));
    Close();
}

// Device names (found by the system in every folder; opening one may block
// for good) in every input of the organizer end as missing files do: no
// application, no data file, no file to remove.
TEST_F(Brennik, DeviceNamesAreMissingFiles)
{
    const char* const devices[] = {"COM1.exe", "nul", "LPT2.dat", "con.exe", "Aux.txt", "CONOUT$"};
    const std::string real = temp_.Path() + "jest.exe";
    WriteWholeFile(real, "program");
    std::string report;
    const std::string d = "01-02-2026 10:11:12 - ";
    for (size_t i = 0; i < std::size(devices); ++i) {
        const std::string path = temp_.Path() + devices[i];
        SetRawString(HKEY_LOCAL_MACHINE, PathsKey, "Urządzenie " + std::to_string(i), path);
        SetRawString(HKEY_LOCAL_MACHINE, PathsKey, DataFileValueNames[i], path);
        report += d + "FILECOPY=Alfa;s;" + path + "\r\n";
    }
    SetRawString(HKEY_LOCAL_MACHINE, PathsKey, "Jest", real);
    SetRawString(HKEY_LOCAL_MACHINE, PathsKey, DataFileValueNames[std::size(devices)], real);
    report += d + "FILECOPY=Alfa;s;" + real + "\r\n";
    WriteWholeFile(temp_.Path() + "tarvix.qmx", report);
    SetRawString(HKEY_CURRENT_USER, TarvixKey, "Raport", temp_.Path() + "tarvix.qmx");

    TUiProcess& app = Start();
    EXPECT_EQ(std::vector<std::string>{"Alfa"}, app.Component("eMain", "lbUsun").List("Items"));
    const std::vector<std::string> files = app.Component("eMain", "lbPliki").List("Items");
    ASSERT_EQ(1u, files.size());
    EXPECT_EQ(0u, files[0].find("<img src=\"ssys:" + real + "\">" + real + "  - ")) << files[0];
    app.SetProperty("eMain", "ts", "TabIndex", "0");
    const std::vector<std::string> applications = app.Component("eMain", "lbAplikacje").List("Items");
    ASSERT_EQ(1u, applications.size());
    EXPECT_EQ(0u, applications[0].find("<img src=\"ssys:" + real + "\">Jest (JEST)")) << applications[0];
    app.SetProperty("eMain", "ts", "TabIndex", "3");
    const std::vector<std::string> data = app.Component("eMain", "lbPlikiDanych").List("Items");
    ASSERT_EQ(1u, data.size());
    EXPECT_EQ(0u, data[0].find("<img src=\"ssys:" + real + "\"><b>" + real + "</b>")) << data[0];
    Close();
}

// One picture of each page, for people to look at.
TEST_F(Brennik, PicturesOfThePages)
{
    TUiProcess& app = Start();
    for (int page = 0; page < 5; ++page) {
        SCOPED_TRACE(page);
        app.SetProperty("eMain", "ts", "TabIndex", std::to_string(page));
        const std::string png = TestProgramFolder() + "brennik_page" + std::to_string(page) + ".png";
        DeleteFileA(png.c_str());
        app.SavePng("eMain", png);
        EXPECT_TRUE(FileExists(png));
    }
    Close();
}

TEST_F(Brennik, WipesTheSettings)
{
    SetRawString(HKEY_CURRENT_USER, "Software\\QMX\\Lumero", "x", "1");
    TUiProcess& app = Start();
    app.Click("eMain", "bUsunZRejestru");
    std::string q = Caption(app.AnswerDialog("bOK"));
    EXPECT_EQ(0u, q.find("Jesteś pewien, że chcesz usunąć wszystkie ustawienia konfiguracyjne?\r\n")) << q;
    app.AnswerDialog("bAnuluj");
    EXPECT_EQ("Usunięto wpisy konfiguracyjne.", Caption(app.AnswerDialog("bOK")));
    EXPECT_FALSE(RawKeyExists(HKEY_CURRENT_USER, "Software\\QMX\\Lumero"));
    EXPECT_FALSE(RawKeyExists(HKEY_LOCAL_MACHINE, "Software\\QMX"));
    Close();
}

// The window's placement: a first run comes up normal where the form was
// designed (centred), closing it stores the placement under
// "Software\QMX\Lumero", and the next run takes it up.
TEST_F(Brennik, KeepsItsWindowPlacementBetweenRuns)
{
    const std::string key = "Software\\QMX\\Lumero";
    TUiProcess& first = Start();
    HWND wnd = first.Component("eMain", "").Handle();
    EXPECT_FALSE(IsZoomed(wnd));
    RECT designed;
    ASSERT_TRUE(GetWindowRect(wnd, &designed));
    EXPECT_LE(std::abs(GetSystemMetrics(SM_CXSCREEN) - designed.right - designed.left), 1) << "centred";
    Close();

    char normPos[64];
    std::snprintf(normPos, sizeof normPos, "%d,%d,%d,%d", static_cast<int>(designed.left),
                  static_cast<int>(designed.top), static_cast<int>(designed.right), static_cast<int>(designed.bottom));
    char sized[64];
    std::snprintf(sized, sizeof sized, "NormPos(%dx%d)", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    HDC screen = GetDC(nullptr);
    const std::string ppi = std::to_string(GetDeviceCaps(screen, LOGPIXELSY));
    ReleaseDC(nullptr, screen);
    std::string value;
    for (const char* name : {"NormPos", static_cast<const char*>(sized)}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(GetRawString(HKEY_CURRENT_USER, key, name, value));
        EXPECT_EQ(normPos, value);
    }
    const std::vector<std::pair<const char*, const char*>> plain = {
        {"Flags", "0"}, {"ShowCmd", "1"}, {"PixelsPerInch", ppi.c_str()}, {"Visible", "0"}};
    for (const auto& [name, expected] : plain) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(GetRawString(HKEY_CURRENT_USER, key, name, value));
        EXPECT_EQ(expected, value);
    }
    ASSERT_TRUE(GetRawString(HKEY_CURRENT_USER, key, "MinMaxPos", value));
    EXPECT_EQ(3, std::count(value.begin(), value.end(), ',')) << value;

    SetRawString(HKEY_CURRENT_USER, key, "NormPos", "20,30,720,590");
    SetRawString(HKEY_CURRENT_USER, key, sized, "");
    SetRawString(HKEY_CURRENT_USER, key, "ShowCmd", "3");
    TUiProcess& second = Start();
    wnd = second.Component("eMain", "").Handle();
    EXPECT_TRUE(IsZoomed(wnd));
    Close();
    // Wine tells another process only a window's rectangle, not its normal
    // one: the program's own save shows what it restored.
    ASSERT_TRUE(GetRawString(HKEY_CURRENT_USER, key, "ShowCmd", value));
    EXPECT_EQ("3", value);
    ASSERT_TRUE(GetRawString(HKEY_CURRENT_USER, key, "NormPos", value));
    EXPECT_EQ("20,30,720,590", value);
}

} // namespace
