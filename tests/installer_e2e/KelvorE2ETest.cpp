// Installations from the sample medium by the real kelvor.exe, driven through
// its window as a person would: the report, the registry values, the
// shortcuts and the setup programs' log that result.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <regex>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "classlib/SysUtils.h"
#include "common/QmxReg.h"
#include "common/QmxUtil.h"
#include "installer/definicje.h"
#include "tests/support/TestUtil.h"
#include "tools/uidriver/UiDriver.h"

namespace {

bool EndsText(const std::string& s, const std::string& end)
{
    return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
}

std::string Kelvor()
{
    return BuiltPath("installer\\kelvor.exe");
}

const char* const RunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char* const UninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const char* const UninstallQmxKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\QMX";
const char* const Programs[] = {"parvin.exe", "ferlond.exe", "kalmet.exe", "brennik.exe"};

std::string Reg(int root, const std::string& key, const std::string& name)
{
    std::string value;
    ReadRegValue(root, key, name, value, "<brak klucza>");
    return value;
}

void DeleteValue(HKEY root, const char* key, const char* name)
{
    HKEY k = nullptr;
    if (RegOpenKeyExA(root, key, 0, KEY_ALL_ACCESS, &k) == ERROR_SUCCESS) {
        RegDeleteValueA(k, name);
        RegCloseKey(k);
    }
}

std::string ShellFolder(const char* name)
{
    return Reg(1, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", name) + "\\";
}

// The report's entries without their date and time, which must have the
// fixed form.
std::vector<std::string> ReportEntries(const std::string& file)
{
    std::vector<std::string> entries;
    const std::string text = ReadWholeFile(file);
    const std::regex line("(\\d\\d-\\d\\d-\\d{4} \\d\\d:\\d\\d:\\d\\d) - ([^\r\n]*)\r\n");
    size_t matched = 0;
    for (std::sregex_iterator it(text.begin(), text.end(), line), end; it != end; ++it) {
        entries.push_back((*it)[2]);
        matched += it->length();
    }
    EXPECT_EQ(matched, text.size()) << text;
    return entries;
}

// A top-level window of the process that shows, found without asking the
// process anything; nullptr when none shows.
HWND ShownWindowOf(DWORD pid)
{
    struct TSearch {
        DWORD pid;
        HWND found = nullptr;
    } search{pid};
    EnumWindows(
        [](HWND wnd, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<TSearch*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(wnd, &owner);
            if (owner == s->pid && IsWindowVisible(wnd))
                s->found = wnd;
            return !s->found;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The pixels of a top-level window as the screen shows it, read from
// outside (what the program painted, not what it would paint now); of the
// part given in screen coordinates, else of all of it.
std::vector<COLORREF> ScreenPixels(HWND wnd, const RECT* part = nullptr)
{
    RECT whole{};
    GetWindowRect(wnd, &whole);
    const RECT r = part ? *part : whole;
    const int w = r.right - r.left, h = r.bottom - r.top;
    std::vector<COLORREF> pixels;
    if (w <= 0 || h <= 0)
        return pixels;
    HDC screen = GetWindowDC(wnd);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, w, h, screen, r.left - whole.left, r.top - whole.top, SRCCOPY);
    GdiFlush();
    const auto* bgr = static_cast<const BYTE*>(bits);
    for (int i = 0; i < w * h; ++i)
        pixels.push_back(RGB(bgr[4 * i + 2], bgr[4 * i + 1], bgr[4 * i]));
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(wnd, screen);
    return pixels;
}

// Whether the screen shows kelvor's main window painted: its header's and
// its wizard tree's colours over much of their panels.
bool ShowsMainWindowPainted(HWND wnd)
{
    const std::vector<COLORREF> pixels = ScreenPixels(wnd);
    const auto header = std::count(pixels.begin(), pixels.end(), static_cast<COLORREF>(5266486));
    const auto tree = std::count(pixels.begin(), pixels.end(), static_cast<COLORREF>(8755543));
    return header > 185 * 41 / 2 && tree > 185 * 200;
}

class KelvorE2E : public testing::Test {
protected:
    void SetUp() override
    {
        medium_ = BuiltPath("medium\\");
        setupLog_ = temp_.Path() + "setup.log";
        for (const char* name : {"Ferlond", "Kalmet Płatności"})
            DeleteValue(HKEY_CURRENT_USER, RunKey, name);
        for (const char* name : Programs)
            DeleteValue(HKEY_LOCAL_MACHINE, UninstallKey, name);
        DeleteRegKey(2, UninstallQmxKey);
        // A run a failed test killed leaves its running-copy mark behind
        // (atoms outlive their process); atom names ignore letter case.
        for (int i = 0; i < 10; ++i)
            if (const ATOM atom = GlobalFindAtomA(Kelvor().c_str()))
                GlobalDeleteAtom(atom);
        for (const char* folder : {"Desktop", "Start Menu"})
            for (const char* link : {"Parvin 2000.lnk", "Ferlond .lnk"})
                DeleteFileA((ShellFolder(folder) + link).c_str());
    }

    // kelvor started on the medium, its window not waited for.
    std::unique_ptr<TUiProcess> Launch()
    {
        std::string command = "\"";
        command += Kelvor();
        command += "\" \"";
        command += medium_;
        command += '"';
        auto app = std::make_unique<TUiProcess>(command, TUiStartOptions{temp_.Path(), {"QMX_SETUP_LOG=" + setupLog_}});
        app->SetTimeout(30000);
        return app;
    }

    // kelvor started on the medium, its window shown and the medium read
    // (Next waits until then).
    std::unique_ptr<TUiProcess> Start()
    {
        auto app = Launch();
        app->WaitForForm("eMain");
        app->WaitForComponent("eMain", "bDalej");
        return app;
    }

    // Next, to the page of that header, its work done (the summary is built
    // with the window answering, Next waiting until it is done).
    void Next(TUiProcess& app, const std::string& header)
    {
        app.Click("eMain", "bDalej");
        app.WaitForText("eMain", "lbInfo", header);
        app.WaitForComponent("eMain", "bDalej");
    }

    // A custom installation, walked from the start page to the application
    // list: the caller ticks and sets the destination there.
    void CustomToApplications(TUiProcess& app)
    {
        Next(app, "Rodzaj instalacji");
        app.Click("eMain", "rbNietypowa");
        for (const char* header : {"Warunki licencji", "Twoje dane", "Wybierz programy"})
            Next(app, header);
    }

    // From the application list, into dest, to the options page; the setup
    // programs are not started and replacing asks as autoReplace says.
    void ToOptions(TUiProcess& app, const std::string& dest, bool autoReplace)
    {
        app.SetText("eMain", "de", dest);
        Next(app, "Konfigurowanie systemu");
        app.SetChecked("eMain", "cbAutoReplace", autoReplace);
        app.SetChecked("eMain", "cbCzcionki", false);
        app.SetChecked("eMain", "cbComCtl", false);
    }

    // Makes a medium of the test's own, the folder name below the test's
    // folder, with files given by their paths in it and their bytes, and
    // installs from it from now on; gives its path, with a backslash.
    std::string OwnMedium(const std::string& name, const std::vector<std::pair<std::string, std::string>>& files)
    {
        medium_ = temp_.Path() + name + "\\";
        CreateDirectoryA(medium_.c_str(), nullptr);
        for (const auto& [path, bytes] : files) {
            if (path.find('\\') != std::string::npos)
                CreateDirectoryA((medium_ + path.substr(0, path.rfind('\\'))).c_str(), nullptr);
            WriteWholeFile(medium_ + path, bytes);
        }
        return medium_;
    }

    // A custom installation into dest, replacing without asking and with no
    // setup programs, from the start to Next on the options page: the
    // summary comes next, after the boxes its building shows.
    std::unique_ptr<TUiProcess> StartTowardsTheSummary(const std::string& dest)
    {
        auto app = Start();
        CustomToApplications(*app);
        ToOptions(*app, dest, true);
        app->Click("eMain", "bDalej");
        return app;
    }

    // Answers the program's message box with OK and gives its text.
    static std::string AnswerMessage(TUiProcess& app)
    {
        const TUiForm box = app.AnswerDialog("OK");
        const TUiComponent* message = box.Find("Message");
        return message ? message->Value("Caption") : "<no message in " + box.Title() + ">";
    }

    // Runs the installation from the summary page, answers every message box
    // it shows with OK and gives their texts, until the finish page.
    std::vector<std::string> RunCollectingMessages(TUiProcess& app)
    {
        app.Click("eMain", "bDalej");
        std::vector<std::string> messages;
        const DWORD start = GetTickCount();
        for (;;) {
            if (GetTickCount() - start > 90000) {
                ADD_FAILURE() << "the run did not reach the finish page";
                return messages;
            }
            const TUiDump dump = app.Dump();
            const TUiForm* main = dump.FindForm("eMain");
            bool boxShown = false;
            for (const TUiForm& f : dump.Forms)
                boxShown = boxShown || (f.Showing() && f.Modal() && f.Find("OK"));
            if (boxShown) {
                messages.push_back(AnswerMessage(app));
                continue;
            }
            const TUiComponent* info = main ? main->Find("lbInfo") : nullptr;
            if (info && info->Value("Caption") == "Dziękuję.")
                return messages;
            Sleep(50);
        }
    }

    // From the summary page: the run (the medium's one missing file answered)
    // to the finish page, then closed.
    void RunToTheEnd(TUiProcess& app)
    {
        app.Click("eMain", "bDalej");
        app.AnswerDialog("OK");
        app.WaitForText("eMain", "lbInfo", "Dziękuję.");
        app.Click("eMain", "bZakoncz");
        EXPECT_EQ(app.WaitForExit(), 0);
    }

    TempFolder temp_;
    std::string medium_;
    std::string setupLog_;
};

// The texts of the finish page's memo.
std::vector<std::string> FinishLines(TUiProcess& app)
{
    return app.Component("eMain", "mKoniec").List("Lines");
}

} // namespace

TEST_F(KelvorE2E, FullInstallation)
{
    const std::string dest = temp_.Path() + "Qmx";
    const std::string today = std::to_string(static_cast<long long>(Date()));
    // A program installed before keeps its first day.
    WriteRegString(2, UninstallKey, "parvin.exe", "36000");

    // The welcome page reads the installer's own version resource.
    auto app = Start();
    EXPECT_EQ(app->Component("eMain", "vlWersja").Value("Caption"), "2.0.0.31");
    EXPECT_EQ(app->Component("eMain", "vlData").Value("Caption"), "20 grudnia 1999");

    // The destination is chosen on page 4 of a custom installation; going
    // back and choosing the full one keeps it and skips pages 4 and 5.
    Next(*app, "Rodzaj instalacji");
    app->Click("eMain", "rbNietypowa");
    for (const char* header : {"Warunki licencji", "Twoje dane", "Wybierz programy"})
        Next(*app, header);
    app->SetText("eMain", "de", dest);
    for (const char* header : {"Twoje dane", "Warunki licencji", "Rodzaj instalacji"}) {
        app->Click("eMain", "bWstecz");
        app->WaitForText("eMain", "lbInfo", header);
    }
    app->Click("eMain", "rbPelna");
    EXPECT_EQ(app->Component("eMain", "lbListaProgramow").List("Items"),
              (std::vector<std::string>{"Ferlond", "Kalmet Księgowość", "Lumero 2000", "Parvin 2000"}));
    Next(*app, "Warunki licencji");
    Next(*app, "Twoje dane");
    Next(*app, "Podsumowanie");
    EXPECT_EQ(app->Component("eMain", "lbPliki").List("Items").size(), 7u);
    RunToTheEnd(*app);  // brak.dat is not on the medium

    const std::string m = AnsiLowerCase(medium_);
    const std::string desktop = ShellFolder("Desktop");
    const std::string start = ShellFolder("Start Menu");
    const std::vector<std::string> expected = {
        "FILECOPY=Parvin 2000;" + m + "Parvin\\parvin.exe;" + dest + "\\Parvin\\parvin.exe",
        "LINK=Parvin 2000;" + m + "Parvin\\parvin.exe;" + dest + "\\Parvin\\parvin.exe;" + desktop + "Parvin 2000.lnk",
        "LINK=Parvin 2000;" + m + "Parvin\\parvin.exe;" + dest + "\\Parvin\\parvin.exe;" + start + "Parvin 2000.lnk",
        "FILECOPY=Parvin 2000 (Pomoc - ważne, przeczytaj);" + m + "Parvin\\pomoc.txt;" + dest + "\\Parvin\\pomoc.txt",
        "FILECOPY=Ferlond (Dziennik Ferlonda);" + m + "pakiet\\ferlond.exe;" + dest + "\\ferlond.exe",
        "AUTORUN=Ferlond (Dziennik Ferlonda);" + m + "pakiet\\ferlond.exe;" + dest + "\\ferlond.exe",
        "LINK=Ferlond (Dziennik Ferlonda);" + m + "pakiet\\ferlond.exe;" + dest + "\\ferlond.exe;" + desktop +
            "Ferlond .lnk",
        "LINK=Ferlond (Dziennik Ferlonda);" + m + "pakiet\\ferlond.exe;" + dest + "\\ferlond.exe;" + start +
            "Ferlond .lnk",
        "FILECOPY=Kalmet Księgowość (Kalmet 2000);" + m + "pakiet\\narzedzia\\kalmet.exe;" + dest +
            "\\Kalmet\\Dane\\kalmet.exe",
        "AUTORUN=Kalmet Księgowość (Kalmet 2000);" + m + "pakiet\\narzedzia\\kalmet.exe;" + dest +
            "\\Kalmet\\Dane\\kalmet.exe",
        "UNINSTALLER=Kalmet Księgowość (Kalmet 2000);" + m + "pakiet\\narzedzia\\kalmet.exe;" + dest +
            "\\Kalmet\\Dane\\kalmet.exe",
        "FILECOPY=Lumero 2000 (Brennik);" + m + "pakiet\\narzedzia\\brennik.exe;" + dest + "\\Lumero\\brennik.exe",
        "UNINSTALLER=Lumero 2000 (Brennik);" + m + "pakiet\\narzedzia\\brennik.exe;" + dest +
            "\\Lumero\\brennik.exe",
        "FILECOPY=Lumero 2000 (Czytaj mnie);" + m + "pakiet\\narzedzia\\czytaj.txt;" + dest + "\\Lumero\\czytaj.txt",
    };
    const std::vector<std::string> entries = ReportEntries(dest + "\\tarvix.qmx");
    ASSERT_EQ(entries.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(entries[i], expected[i]) << i;

    EXPECT_EQ(Reg(1, RunKey, "Ferlond"), dest + "\\ferlond.exe /auto");
    EXPECT_EQ(Reg(1, RunKey, "Kalmet Płatności"), dest + "\\Kalmet\\Dane\\kalmet.exe /auto");
    EXPECT_EQ(Reg(2, UninstallQmxKey, "DisplayName"), "Velmora™");
    EXPECT_EQ(Reg(2, UninstallQmxKey, "UninstallString"), dest + "\\Lumero\\brennik.exe");
    EXPECT_EQ(Reg(2, UninstallKey, "parvin.exe"), "36000");
    for (const char* program : {"ferlond.exe", "kalmet.exe", "brennik.exe"})
        EXPECT_EQ(Reg(2, UninstallKey, program), today) << program;
    EXPECT_EQ(Reg(1, "Software\\QMX", "Czcionki"), dest + "\\");
    EXPECT_FALSE(FileExists(dest + "\\Parvin\\brak.dat"));
    EXPECT_EQ(ReadWholeFile(dest + "\\Parvin\\pomoc.txt"), ReadWholeFile(medium_ + "Parvin\\pomoc.txt"));
    for (const char* font : {"tahoma.ttf", "tahomabd.ttf"})
        EXPECT_TRUE(FileExists(dest + "\\" + font)) << font;
    for (const std::string& link : {desktop + "Parvin 2000.lnk", start + "Parvin 2000.lnk", desktop + "Ferlond .lnk"})
        EXPECT_EQ(ReadWholeFile(link).substr(0, 4), std::string("\x4C\0\0\0", 4)) << link;
    EXPECT_EQ(ReadWholeFile(setupLog_), "newfnt32.exe /r:n /q:1\r\n40comUpd.exe /r:n /q:1\r\n");
}

TEST_F(KelvorE2E, CustomInstallation)
{
    const std::string dest = temp_.Path() + "Inny";
    auto app = Start();
    CustomToApplications(*app);
    app->SetItemChecked("eMain", "lv", 2, false);  // Kalmet Księgowość
    app->SetText("eMain", "de", dest);
    Next(*app, "Konfigurowanie systemu");
    app->SetChecked("eMain", "cbCzcionki", false);
    app->SetChecked("eMain", "cbComCtl", false);
    app->SetChecked("eMain", "cbSkrotyNaPulpicie", false);
    app->SetChecked("eMain", "cbSkrotyWMenuStart", false);
    Next(*app, "Podsumowanie");
    EXPECT_EQ(app->Component("eMain", "lbPliki").List("Items").size(), 6u);
    RunToTheEnd(*app);

    const std::vector<std::string> entries = ReportEntries(dest + "\\tarvix.qmx");
    std::string kinds;
    for (const std::string& e : entries) {
        EXPECT_EQ(e.find("kalmet"), std::string::npos) << e;
        kinds += e.substr(0, e.find('=')) + " ";
    }
    EXPECT_EQ(kinds, "FILECOPY FILECOPY FILECOPY AUTORUN FILECOPY UNINSTALLER FILECOPY ");
    EXPECT_FALSE(FileExists(dest + "\\Kalmet\\Dane\\kalmet.exe"));
    EXPECT_EQ(Reg(2, UninstallKey, "kalmet.exe"), "");
    EXPECT_FALSE(FileExists(ShellFolder("Desktop") + "Parvin 2000.lnk"));
    EXPECT_FALSE(FileExists(setupLog_)) << ReadWholeFile(setupLog_);
}

TEST_F(KelvorE2E, ClosingAsksFirst)
{
    auto app = Start();
    CustomToApplications(*app);
    Next(*app, "Konfigurowanie systemu");
    app->Click("eMain", "bAnuluj");
    app->AnswerDialog("No");
    app->Sync();
    EXPECT_TRUE(app->Running());
    EXPECT_EQ(app->Component("eMain", "lbInfo").Value("Caption"), "Konfigurowanie systemu");
    app->Click("eMain", "bAnuluj");
    app->AnswerDialog("Abort");
    EXPECT_EQ(app->WaitForExit(), 0);
}

// A second installation into the same folder, replacing the files without
// asking: the report keeps the first run's lines and gets the second's after
// them; the day numbers of the first installation stay.
TEST_F(KelvorE2E, SecondRunAppendsAndKeepsFirstDayNumbers)
{
    const std::string dest = temp_.Path() + "Dwa";
    std::vector<std::string> first;
    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run);
        if (run == 1)
            WriteRegString(2, UninstallKey, "ferlond.exe", "36001");
        auto app = Start();
        CustomToApplications(*app);
        ToOptions(*app, dest, true);
        Next(*app, "Podsumowanie");
        RunToTheEnd(*app);
        if (run == 0)
            first = ReportEntries(dest + "\\tarvix.qmx");
    }
    const std::vector<std::string> both = ReportEntries(dest + "\\tarvix.qmx");
    ASSERT_EQ(first.size(), 14u);
    ASSERT_EQ(both.size(), 28u);
    for (size_t i = 0; i < first.size(); ++i) {
        EXPECT_EQ(both[i], first[i]) << i;
        EXPECT_EQ(both[first.size() + i], first[i]) << i;
    }
    // Written in the first run only when absent, so the value put in
    // between stays.
    EXPECT_EQ(Reg(2, UninstallKey, "ferlond.exe"), "36001");
}

namespace {

// Closes the program's system dialog (the shell's question) with its close
// box, as a person would who wants nothing of it.
void CloseSystemDialog(TUiProcess& app)
{
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (dialog = FindDialogOf(app.ProcessId())) != nullptr; }))
        << "no system dialog to close";
    PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); })) << "the question stays";
}

} // namespace

// Installing again without "replace without asking": the shell asks before
// each existing file. A file answered "Nie" keeps its old content and is
// still recorded, with the entry's other steps (its Run value and shortcuts
// from the old file); a question closed without an answer cancels the copy:
// old content, no report line, no error.
TEST_F(KelvorE2E, DecliningReplacementKeepsOldFileAndRecordsIt)
{
    const std::string dest = temp_.Path() + "Ponownie";
    std::vector<std::string> first;
    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run);
        auto app = Start();
        CustomToApplications(*app);
        ToOptions(*app, dest, false);
        Next(*app, "Podsumowanie");
        const std::vector<std::string> list = app->Component("eMain", "lbPliki").List("Items");
        app->Click("eMain", "bDalej");
        for (const std::string& entry : list) {
            const std::string source = NthField(EntrySeparator, 2, entry);
            const std::string target = NthField(EntrySeparator, 3, entry);
            if (!FileExists(source)) {
                app->AnswerDialog("OK");
                continue;
            }
            if (run == 0)
                continue;
            app->WaitForText("eMain", "lbDest", target);
            const std::string name = ExtractFileName(target);
            if (name == "czytaj.txt")
                CloseSystemDialog(*app);
            else
                app->AnswerSystemDialog(name == "pomoc.txt" || name == "ferlond.exe" ? "Nie" : "Tak");
        }
        app->WaitForText("eMain", "lbInfo", "Dziękuję.");
        app->Click("eMain", "bZakoncz");
        EXPECT_EQ(app->WaitForExit(), 0);
        if (run == 1)
            break;
        first = ReportEntries(dest + "\\tarvix.qmx");
        // What the second run must keep or replace.
        WriteWholeFile(dest + "\\Parvin\\pomoc.txt", "stara pomoc");
        WriteWholeFile(dest + "\\Lumero\\czytaj.txt", "stare czytaj");
        for (const char* program : {"\\ferlond.exe", "\\Parvin\\parvin.exe"})
            WriteWholeFile(dest + program, ReadWholeFile(dest + program) + "STARY");
    }

    EXPECT_EQ(ReadWholeFile(dest + "\\Parvin\\pomoc.txt"), "stara pomoc");
    EXPECT_EQ(ReadWholeFile(dest + "\\Lumero\\czytaj.txt"), "stare czytaj");
    const std::string ferlond = ReadWholeFile(dest + "\\ferlond.exe");
    EXPECT_EQ(ferlond.substr(ferlond.size() - 5), "STARY");
    EXPECT_EQ(ReadWholeFile(dest + "\\Parvin\\parvin.exe"), ReadWholeFile(medium_ + "Parvin\\parvin.exe"));

    // The second run records all of the first run's entries but the
    // cancelled file's, which came last.
    const std::vector<std::string> both = ReportEntries(dest + "\\tarvix.qmx");
    ASSERT_EQ(first.size(), 14u);
    ASSERT_EQ(first.back().substr(0, first.back().find(';')), "FILECOPY=Lumero 2000 (Czytaj mnie)");
    ASSERT_EQ(both.size(), first.size() * 2 - 1);
    for (size_t i = 0; i < first.size(); ++i) {
        EXPECT_EQ(both[i], first[i]) << i;
        if (i + 1 < first.size()) {
            EXPECT_EQ(both[first.size() + i], first[i]) << i;
        }
    }
}

// A copy that fails (the target held open by another without sharing): the
// system-error box, no line of that file in the report and none of the
// entry's other steps, and the run goes on with the next entry. The texts of
// the run's boxes and of the finish page as the user reads them.
TEST_F(KelvorE2E, AFailedCopyIsShownAndTheRunGoesOn)
{
    const std::string dest = temp_.Path() + "Zajety";
    ASSERT_TRUE(CreateDirectoryA(dest.c_str(), nullptr));
    HANDLE held = CreateFileA((dest + "\\ferlond.exe").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    auto app = Start();
    CustomToApplications(*app);
    ToOptions(*app, dest, true);
    Next(*app, "Podsumowanie");
    const std::vector<std::string> messages = RunCollectingMessages(*app);
    CloseHandle(held);
    EXPECT_EQ(messages, (std::vector<std::string>{
                            "Plik nie istnieje.\n" + AnsiLowerCase(medium_) + "Parvin\\brak.dat",
                            // Under Wine the shell gives its own result, and no last error.
                            "Błąd systemowy nr 1223",
                        }));
    EXPECT_EQ(FinishLines(*app),
              (std::vector<std::string>{
                  "Zakończyłem instalowanie programów.",
                  "Kalmet Księgowość (Kalmet 2000) będzie uruchamiał się automatycznie na starcie Windows.",
                  "Aby usunąć któryś z naszych programów, uruchom program Kalmet Księgowość (Kalmet 2000) albo wybierz z "
                  "Panelu Sterowania opcję Dodaj/Usuń programy.",
                  "Aby usunąć któryś z naszych programów, uruchom program Lumero 2000 (Brennik) albo wybierz z Panelu "
                  "Sterowania opcję Dodaj/Usuń programy.",
              }));
    app->Click("eMain", "bZakoncz");
    EXPECT_EQ(app->WaitForExit(), 0);

    std::string kinds;
    for (const std::string& e : ReportEntries(dest + "\\tarvix.qmx")) {
        EXPECT_EQ(e.find("ferlond"), std::string::npos) << e;
        kinds += e.substr(0, e.find('=')) + " ";
    }
    EXPECT_EQ(kinds, "FILECOPY LINK LINK FILECOPY FILECOPY AUTORUN UNINSTALLER FILECOPY UNINSTALLER FILECOPY ");
    EXPECT_EQ(Reg(1, RunKey, "Ferlond"), "");
}

// A run with no application ticked copies only the fonts and records their
// folder; it shows nothing and writes no report. The setup programs are
// started only when chosen: without them on the medium both failures are
// told.
TEST_F(KelvorE2E, NoApplicationTickedAndSetupProgramsMissing)
{
    // A medium of the test's own: one application, no setup programs.
    OwnMedium("Nosnik", {{"kelvor.qmx", "[Notatnik]\r\n<katalog>=Notatnik\r\nnotatki.txt=Notatki\r\n"},
                         {"notatki.txt", "notatki"},
                         {"tahoma.ttf", "tahoma.ttf"},
                         {"tahomabd.ttf", "tahomabd.ttf"}});
    const std::string dest = temp_.Path() + "Nic";

    auto app = Start();
    CustomToApplications(*app);
    app->SetItemChecked("eMain", "lv", 0, false);
    app->SetText("eMain", "de", dest);
    Next(*app, "Konfigurowanie systemu");
    Next(*app, "Podsumowanie");
    EXPECT_TRUE(app->Component("eMain", "lbPliki").List("Items").empty());
    EXPECT_EQ(RunCollectingMessages(*app), (std::vector<std::string>{
                                               "Nie udało się zainstalować nowych czcionek! :-(",
                                               "Nie udało się zainstalować nowych bibliotek systemowych! :-(",
                                           }));
    EXPECT_EQ(FinishLines(*app), std::vector<std::string>{"Zakończyłem instalowanie programów."});
    app->Click("eMain", "bZakoncz");
    EXPECT_EQ(app->WaitForExit(), 0);
    EXPECT_FALSE(FileExists(dest + "\\tarvix.qmx"));
    EXPECT_FALSE(FileExists(dest + "\\Notatnik\\notatki.txt"));
    for (const char* font : {"tahoma.ttf", "tahomabd.ttf"})
        EXPECT_EQ(ReadWholeFile(dest + "\\" + font), font);
    EXPECT_EQ(Reg(1, "Software\\QMX", "Czcionki"), dest + "\\");
}

// A shortcut that cannot be saved (its file held open by another): the
// message with the file's name, no LINK line for it; the other shortcut and
// the rest of the run go on.
TEST_F(KelvorE2E, AShortcutThatCannotBeSavedIsReported)
{
    const std::string dest = temp_.Path() + "Skrot";
    const std::string link = ShellFolder("Desktop") + "Parvin 2000.lnk";
    HANDLE held = CreateFileA(link.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    auto app = Start();
    CustomToApplications(*app);
    for (int row = 1; row < 4; ++row)
        app->SetItemChecked("eMain", "lv", row, false);
    ToOptions(*app, dest, true);
    Next(*app, "Podsumowanie");
    const std::vector<std::string> messages = RunCollectingMessages(*app);
    CloseHandle(held);
    EXPECT_EQ(messages, (std::vector<std::string>{
                            "Erreur en écriture.\n" + link,
                            "Plik nie istnieje.\n" + AnsiLowerCase(medium_) + "Parvin\\brak.dat",
                        }));
    app->Click("eMain", "bZakoncz");
    EXPECT_EQ(app->WaitForExit(), 0);
    const std::string m = AnsiLowerCase(medium_);
    EXPECT_EQ(ReportEntries(dest + "\\tarvix.qmx"),
              (std::vector<std::string>{
                  "FILECOPY=Parvin 2000;" + m + "Parvin\\parvin.exe;" + dest + "\\Parvin\\parvin.exe",
                  "LINK=Parvin 2000;" + m + "Parvin\\parvin.exe;" + dest + "\\Parvin\\parvin.exe;" +
                      ShellFolder("Start Menu") + "Parvin 2000.lnk",
                  "FILECOPY=Parvin 2000 (Pomoc - ważne, przeczytaj);" + m + "Parvin\\pomoc.txt;" + dest +
                      "\\Parvin\\pomoc.txt",
              }));
}

// In a full installation Prior on the summary goes back to the personal
// data, and Next comes to the summary again, built anew.
TEST_F(KelvorE2E, BackFromTheSummaryOfAFullInstallation)
{
    auto app = Start();
    for (const char* header : {"Rodzaj instalacji", "Warunki licencji", "Twoje dane", "Podsumowanie"})
        Next(*app, header);
    const std::vector<std::string> list = app->Component("eMain", "lbPliki").List("Items");
    EXPECT_EQ(list.size(), 7u);
    app->Click("eMain", "bWstecz");
    app->WaitForText("eMain", "lbInfo", "Twoje dane");
    EXPECT_EQ(app->Component("eMain", "wt").Value("ItemIndex"), "3");
    Next(*app, "Podsumowanie");
    EXPECT_EQ(app->Component("eMain", "lbPliki").List("Items"), list);
    app->Click("eMain", "bAnuluj");
    const TUiForm question = app->AnswerDialog("Abort");
    EXPECT_EQ(question.Find("Message")->Value("Caption"), "Czy chcesz przerwać instalowanie?");
    EXPECT_EQ(app->WaitForExit(), 0);
}

// Device names in a description file (a name the system finds in every
// folder, whose opening may block for good) end as a missing file does: the
// summary's box for a program, the run's box for every file.
TEST_F(KelvorE2E, DeviceNamesAreMissingFiles)
{
    const char* const names[] = {"COM1.exe", "nul.txt", "LPT9.exe", "con.exe", "Aux.dat", "prn", "brak.exe"};
    std::string description = "[Urządzenia]\r\n<katalog>=U\r\n";
    for (const char* name : names)
        description += std::string(name) + "=z\r\n";
    const std::string medium = OwnMedium("Urzadzenia", {{"pakiet\\kelvor.qmx", description}});
    const std::string dest = temp_.Path() + "Cel";

    auto app = StartTowardsTheSummary(dest);
    std::vector<std::string> summary;
    for (const char* name : names)
        if (EndsText(name, ".exe"))
            summary.push_back(AnswerMessage(*app));
    app->WaitForText("eMain", "lbInfo", "Podsumowanie");
    app->WaitForComponent("eMain", "bDalej");
    std::vector<std::string> expected;
    for (const char* name : names)
        if (EndsText(name, ".exe"))
            expected.push_back("Plik nie istnieje.\n" + AnsiLowerCase(medium) + "pakiet\\" + name);
    EXPECT_EQ(summary, expected);
    EXPECT_EQ(app->Component("eMain", "lbPliki").List("Items").size(), std::size(names));
    expected.clear();
    for (const char* name : names)
        expected.push_back("Plik nie istnieje.\n" + AnsiLowerCase(medium) + "pakiet\\" + name);
    EXPECT_EQ(RunCollectingMessages(*app), expected);
    app->Click("eMain", "bZakoncz");
    EXPECT_EQ(app->WaitForExit(), 0);
    EXPECT_FALSE(FileExists(dest + "\\tarvix.qmx"));
}

// An entry too long to be copied (here its destination) is told once, with
// its line, and left out: the list, the summary and the run pass it over.
TEST_F(KelvorE2E, ATooLongEntryIsToldAndLeftOut)
{
    const std::string medium =
        OwnMedium("Dlugi", {{"kelvor.qmx", "[Długa]\r\n<katalog>=" + std::string(240, 'k') +
                                               "\r\ndluga.txt=Długa\r\n[Krótka]\r\nkrotka.txt=Krótka\r\n"},
                            {"krotka.txt", "k"}});
    const std::string dest = temp_.Path() + "Cel";

    auto app = StartTowardsTheSummary(dest);
    EXPECT_EQ(AnswerMessage(*app), "Nazwa lub ścieżka pliku jest za długa; plik zostanie pominięty.\ndluga.txt=Długa");
    app->WaitForText("eMain", "lbInfo", "Podsumowanie");
    app->WaitForComponent("eMain", "bDalej");
    const std::vector<std::string> list = app->Component("eMain", "lbPliki").List("Items");
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].substr(0, list[0].find(EntrySeparator)), "Krótka");
    EXPECT_TRUE(RunCollectingMessages(*app).empty());
    app->Click("eMain", "bZakoncz");
    EXPECT_EQ(app->WaitForExit(), 0);
    EXPECT_EQ(ReportEntries(dest + "\\tarvix.qmx"),
              std::vector<std::string>{"FILECOPY=Krótka;" + AnsiLowerCase(medium) + "krotka.txt;" + dest +
                                       "\\krotka.txt"});
}

// Page 4 on its own components: Alt+Down in the destination edit opens the
// folder dialog, a new nested folder typed and confirmed is made at once and
// becomes the destination (the run's report lands there); the button inside
// the edit opens the same dialog; a click below the rows changes nothing;
// Esc in the edit asks whether to stop.
TEST_F(KelvorE2E, DestinationChosenInTheFolderDialogAndListIsQuietBelowItsRows)
{
    const std::string dest = temp_.Path() + "Nowy\\Poziom";
    auto app = Start();
    CustomToApplications(*app);

    app->PressKey("eMain", "de", VK_DOWN, true);
    app->WaitForForm("SelectDirDlg");
    app->SetText("SelectDirDlg", "DirEdit", dest);
    app->Click("SelectDirDlg", "OKButton");
    app->WaitForFormGone("SelectDirDlg");
    EXPECT_TRUE(DirectoryExists(dest));
    EXPECT_EQ(app->Component("eMain", "de").Value("Text"), dest);
    EXPECT_EQ(Reg(1, "Software\\QMX\\Tarvix", "Destination"), dest + "\\");

    // The button inside the edit: once clicked, once the dialog; cancelled.
    const TUiComponent de = app->Component("eMain", "de");
    const RECT r = de.ScreenRect();
    app->ClickAt("eMain", "de", r.right - r.left - 12, (r.bottom - r.top) / 2);
    app->WaitForForm("SelectDirDlg");
    app->Click("SelectDirDlg", "CancelButton");
    app->WaitForFormGone("SelectDirDlg");
    app->Sync();
    EXPECT_EQ(app->Dump("SelectDirDlg").FindForm("SelectDirDlg"), nullptr);
    EXPECT_EQ(app->Component("eMain", "de").Value("Text"), dest);

    // Below the last row: the selection and ticks stay as they were.
    app->SelectItem("eMain", "lv", 1);
    const TUiComponent lv = app->Component("eMain", "lv");
    const RECT l = lv.ScreenRect();
    app->ClickAt("eMain", "lv", 20, l.bottom - l.top - 10);
    const TUiComponent after = app->Component("eMain", "lv");
    EXPECT_EQ(after.Value("ItemIndex"), "1");
    EXPECT_EQ(after.Value("Checked[0]"), "1");

    app->PressKey("eMain", "de", VK_ESCAPE);
    const TUiForm question = app->AnswerDialog("No");
    EXPECT_NE(question.Find("No"), nullptr);
    app->Sync();
    EXPECT_TRUE(app->Running());

    ToOptions(*app, dest, true);
    Next(*app, "Podsumowanie");
    RunToTheEnd(*app);
    EXPECT_TRUE(FileExists(dest + "\\tarvix.qmx"));
}

// A run of a few hundred files lets its window catch up only now and then;
// at the last entry (its target there already, so the shell asks) the
// window shows that entry's texts and the bar at its last position, as a
// fresh paint of the window does, and the report holds every file in order.
TEST_F(KelvorE2E, ALongRunShowsItsLastEntryAtTheEnd)
{
    constexpr int count = 300;
    std::string description = "[Wiele]\r\n<katalog>=Wiele\r\n";
    std::vector<std::pair<std::string, std::string>> files;
    for (int i = 0; i < count; ++i) {
        const std::string name = "plik" + std::to_string(1000 + i) + ".txt";
        description += name + "=Plik " + std::to_string(i) + "\r\n";
        files.emplace_back("wiele\\" + name, std::to_string(i));
    }
    files.emplace_back("wiele\\kelvor.qmx", description);
    OwnMedium("Wiele", files);
    const std::string dest = temp_.Path() + "Cel";

    auto app = Start();
    CustomToApplications(*app);
    ToOptions(*app, dest, false);
    Next(*app, "Podsumowanie");
    const std::vector<std::string> list = app->Component("eMain", "lbPliki").List("Items");
    ASSERT_EQ(list.size(), static_cast<size_t>(count));
    const std::string& last = list.back();
    const std::string target = NthField(EntrySeparator, 3, last);
    ASSERT_TRUE(ForceDirectories(ExtractFileDir(target)));
    WriteWholeFile(target, "stary");

    app->Click("eMain", "bDalej");
    app->WaitForText("eMain", "lbDest", target);
    const TUiDump dump = app->Dump("eMain");
    ASSERT_NE(dump.FindForm("eMain"), nullptr);
    const TUiForm& form = *dump.FindForm("eMain");
    EXPECT_EQ(form.Find("lbNazwa")->Value("Caption"), NthField(EntrySeparator, 1, last));
    EXPECT_EQ(form.Find("lbSource")->Value("Caption"), NthField(EntrySeparator, 2, last));
    const TUiComponent* bar = form.Find("pgPliki");
    EXPECT_EQ(bar->Value("Max"), std::to_string(count));
    EXPECT_EQ(bar->Value("Position"), std::to_string(count - 1));
    EXPECT_EQ(SendMessageA(bar->Handle(), PBM_GETPOS, 0, 0), count - 1);
    const std::string shown = temp_.Path() + "pokazane.png";
    const std::string painted = temp_.Path() + "odmalowane.png";
    app->SavePng("eMain", shown);
    RedrawWindow(form.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    app->SavePng("eMain", painted);
    EXPECT_TRUE(ReadWholeFile(shown) == ReadWholeFile(painted)) << "the window did not show where the run stood";

    app->AnswerSystemDialog("Tak");
    app->WaitForText("eMain", "lbInfo", "Dziękuję.");
    app->Click("eMain", "bZakoncz");
    EXPECT_EQ(app->WaitForExit(), 0);
    const std::vector<std::string> entries = ReportEntries(dest + "\\tarvix.qmx");
    ASSERT_EQ(entries.size(), static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        EXPECT_EQ(entries[i].substr(0, entries[i].find(';')), "FILECOPY=Wiele (Plik " + std::to_string(i) + ")") << i;
    EXPECT_EQ(ReadWholeFile(target), std::to_string(count - 1));
}

// A long description file is read with the window on screen: it shows,
// painted, before the rows are all listed, and answers while they come; Next
// waits for the whole list, which then holds every section, in order.
TEST_F(KelvorE2E, ALongDescriptionFileIsReadWithTheWindowOnScreen)
{
    const int count = 1000;
    std::string sections;
    for (int i = 0; i < count; ++i)
        sections += "[Sekcja " + std::to_string(i) + "]\r\n";
    OwnMedium("dlugi", {{"kelvor.qmx", sections}});
    auto app = Launch();
    // Watched from outside: asked for the list again and again, the
    // program would list more slowly.
    HWND main = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (main = ShownWindowOf(app->ProcessId())) != nullptr; }, 90000));
    ASSERT_TRUE(WaitUntil([&] { return ShowsMainWindowPainted(main); })) << "the window shows, unpainted";
    const TUiDump early = app->Dump("eMain");
    ASSERT_NE(early.FindForm("eMain"), nullptr);
    const TUiForm& form = *early.FindForm("eMain");
    EXPECT_LT(std::stoi(form.Find("lv")->Value("Items.Count")), count);
    const TUiComponent* next = form.Find("bDalej");
    EXPECT_FALSE(next->Enabled());

    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(next->Handle()) != FALSE; }, 90000));
    const TUiComponent lv = app->Component("eMain", "lv");
    ASSERT_EQ(lv.Value("Items.Count"), std::to_string(count));
    for (int i : {0, 1, count / 2, count - 1})
        EXPECT_EQ(lv.Value("Items[" + std::to_string(i) + "]"), "Sekcja " + std::to_string(i));
    app->Kill();
}

// The summary of a medium with many files is built with the window on
// screen: the page's header shows, painted, before the list is all there,
// and the window answers while it comes; Next waits for the whole list and
// summary, which then hold every file, each destination once.
TEST_F(KelvorE2E, ALongSummaryIsBuiltWithTheWindowOnScreen)
{
    const int sections = 100, files = 40;
    std::string description;
    for (int i = 0; i < sections; ++i) {
        description += "[Program " + std::to_string(i) + "]\r\n<katalog>=P" + std::to_string(i) + "\r\n";
        for (int j = 0; j < files; ++j)
            description += "dane" + std::to_string(j) + ".txt=Dane\r\n";
    }
    // One destination twice, in another letter case: listed once.
    description += "[Jeszcze]\r\n<katalog>=p0\r\nDANE0.TXT=Dane\r\n";
    OwnMedium("wiele", {{"kelvor.qmx", description}});
    auto app = Start();
    for (const char* header : {"Rodzaj instalacji", "Warunki licencji", "Twoje dane"})
        Next(*app, header);
    const TUiForm page3 = app->WaitForForm("eMain");
    const HWND main = page3.Handle();
    const RECT header = page3.Find("pNaglowek")->ScreenRect();
    const HWND next = page3.Find("bDalej")->Handle();
    const std::vector<COLORREF> shown = ScreenPixels(main, &header);

    app->Click("eMain", "bDalej");
    EXPECT_TRUE(IsWindowVisible(main));
    ASSERT_TRUE(WaitUntil([&] { return ScreenPixels(main, &header) != shown; }))
        << "the new page's header is not painted";
    const TUiDump early = app->Dump("eMain");
    ASSERT_NE(early.FindForm("eMain"), nullptr);
    const TUiForm& form = *early.FindForm("eMain");
    EXPECT_EQ(form.Find("lbInfo")->Value("Caption"), " Podsumowanie ustawień");
    EXPECT_LT(std::stoi(form.Find("lbPliki")->Value("Items.Count")), sections * files);
    EXPECT_FALSE(form.Find("bDalej")->Enabled());
    EXPECT_FALSE(form.Find("bWstecz")->Enabled());

    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(next) != FALSE; }, 90000));
    const std::vector<std::string> list = app->Component("eMain", "lbPliki").List("Items");
    ASSERT_EQ(list.size(), static_cast<size_t>(sections * files));
    EXPECT_EQ(NthField(EntrySeparator, 3, list.back()),
              "c:\\qmx\\P" + std::to_string(sections - 1) + "\\dane" + std::to_string(files - 1) + ".txt");
    EXPECT_TRUE(app->Component("eMain", "bWstecz").Enabled());
    app->Kill();
}
