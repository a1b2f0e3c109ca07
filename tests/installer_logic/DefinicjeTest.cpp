// What the installer does with a medium before and after its window: the
// description files read into applications, the wizard's page order, the
// install list, the summary and the report lines.
#include <windows.h>

#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "classlib/SysUtils.h"
#include "common/QmxReg.h"
#include "common/QmxUtil.h"
#include "common/VersInfo.h"
#include "installer/definicje.h"
#include "tests/support/TestUtil.h"

namespace {

std::string Lines(const TStrings& list)
{
    std::string s;
    for (int i = 0; i < list.Count(); ++i) {
        if (i)
            s += '|';
        s += list.Strings(i);
    }
    return s;
}

// The entry with "•" in place of the separator byte, to read in a failure.
std::string Readable(std::string entry)
{
    for (char& c : entry)
        if (c == EntrySeparator)
            c = '#';
    return entry;
}

TInstallApp& AddApp(TInstallApps& apps, const std::string& nazwa, const std::string& katalog,
                    const std::string& lokalizacja, std::initializer_list<const char*> pliki)
{
    auto app = std::make_unique<TInstallApp>();
    app->Nazwa = nazwa;
    app->Katalog = katalog;
    app->Lokalizacja = lokalizacja;
    for (const char* p : pliki)
        app->Pliki.Add(p);
    apps.push_back(std::move(app));
    return *apps.back();
}

} // namespace

TEST(Definicje, InstallItemIsRegisteredAs261)
{
    InitializeQmxList();
    InitializeDefinicje();
    const tQmxRecObject* rec = FindQmxClassById(261);
    ASSERT_NE(rec, nullptr);
    EXPECT_EQ(rec->ItemClass, tInstallItem::Class());
    TObject* item = rec->ItemClass->Create();
    ASSERT_NE(dynamic_cast<tInstallItem*>(item), nullptr);
    EXPECT_NE(static_cast<tInstallItem*>(item)->Klucze, nullptr);
    delete item;
    FinalizeQmxList();
}

TEST(Definicje, SourceFolder)
{
    TempFolder temp;
    const std::string folder = temp.Path() + "NoŚnik";
    CreateDirectoryA(folder.c_str(), nullptr);
    WriteWholeFile(folder + "\\plik.txt", "x");
    const struct {
        std::string argument, expected;
    } rows[] = {
        {folder, AnsiLowerCase(folder) + "\\"},
        {folder + "\\", AnsiLowerCase(folder) + "\\"},
        {folder + "\\plik.txt", "c:\\program\\"},
        {folder + "\\brak", "c:\\program\\"},
        {"", "c:\\program\\"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.argument);
        EXPECT_EQ(SourceFolderFrom(r.argument, "c:\\program\\"), r.expected);
    }
}

TEST(Definicje, DescriptionFileGivesOneApplicationPerSection)
{
    TempFolder temp;
    const std::string source = AnsiLowerCase(temp.Path());
    CreateDirectoryA((temp.Path() + "Pakiet").c_str(), nullptr);
    WriteWholeFile(temp.Path() + "kelvor.qmx",
                   "[Księgi]\r\n<rozmiar>=1 MB\r\n<katalog>=Prog\\Dane\r\n<info>= opis \"z\" cudzysłowem\r\n"
                   "<wersja>=2\r\nksiegi.exe=Księgi\r\npomoc.txt=\"Pomoc; ważne\"\r\n"
                   "[Pusta]\r\n<info>=bez plików\r\n");
    WriteWholeFile(temp.Path() + "Pakiet\\kelvor.qmx", "[Księgi]\r\nb.exe=B\r\n");

    TInstallApps apps;
    ReadDescriptionFile(temp.Path(), "kelvor.qmx", source, apps);
    ReadDescriptionFile(temp.Path() + "Pakiet", "kelvor.qmx", source, apps);
    ASSERT_EQ(apps.size(), 3u);

    const struct {
        const char *nazwa, *rozmiar, *katalog, *info, *lokalizacja, *pliki;
    } rows[] = {
        {"Księgi", "1 MB", "Prog\\Dane", "opis \"z\" cudzysłowem", "", "ksiegi.exe=Księgi|pomoc.txt=Pomoc; ważne"},
        {"Pusta", "", "", "bez plików", "", ""},
        {"Księgi", "", "", "", "pakiet\\", "b.exe=B"},
    };
    for (size_t i = 0; i < apps.size(); ++i) {
        SCOPED_TRACE(i);
        const TInstallApp& a = *apps[i];
        EXPECT_EQ(a.Nazwa, rows[i].nazwa);
        EXPECT_EQ(a.Rozmiar, rows[i].rozmiar);
        EXPECT_EQ(a.Katalog, rows[i].katalog);
        EXPECT_EQ(a.Info, rows[i].info);
        EXPECT_EQ(a.Lokalizacja, rows[i].lokalizacja);
        EXPECT_EQ(Lines(a.Pliki), rows[i].pliki);
        EXPECT_TRUE(a.Zaznaczona);
    }
}

// What runs between the sections (the installer lets its window answer
// there) is asked after each one and can end the reading: the sections read
// by then stay.
TEST(Definicje, ReadingStopsWhenAskedBetweenSections)
{
    TempFolder temp;
    WriteWholeFile(temp.Path() + "kelvor.qmx", "[A]\r\na.exe=A\r\n[B]\r\n[C]\r\nc.exe=C\r\n");
    const struct {
        int stopAfter;  // sections; 0: never stops
        std::vector<std::string> names;
        int asked;
    } rows[] = {{0, {"A", "B", "C"}, 3}, {1, {"A"}, 1}, {2, {"A", "B"}, 2}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.stopAfter);
        TInstallApps apps;
        int asked = 0;
        ReadDescriptionFile(temp.Path(), "kelvor.qmx", AnsiLowerCase(temp.Path()), apps,
                            [&] { return ++asked != r.stopAfter; });
        std::vector<std::string> names;
        for (const auto& app : apps)
            names.push_back(app->Nazwa);
        EXPECT_EQ(names, r.names);
        EXPECT_EQ(asked, r.asked);
    }
}

// Damage in one description file costs at most its own lines: the reading
// never raises, later sections and other files are still listed, and a file
// line too long for the field routines is reported and left out.
TEST(Definicje, DamagedDescriptionFileKeepsTheRest)
{
    TempFolder temp;
    const std::string source = AnsiLowerCase(temp.Path());
    std::string bytes = "[Długa]\r\n";
    bytes += std::string(300, 'd') + ".exe=Długa\r\n";
    bytes += "linia bez znaku równości\r\n";
    bytes += "[Zła]\r\n";
    bytes += std::string("\x01\x02\xff\xfe\x00\x7f=\x80\x81\r\n", 12);
    bytes += "[]\r\n[Pusta]\r\n[Dobra]\r\ndobra.exe=Dobra\r\n";
    WriteWholeFile(temp.Path() + "kelvor.qmx", bytes);

    TInstallApps apps;
    ASSERT_NO_THROW(ReadDescriptionFile(temp.Path(), "kelvor.qmx", source, apps));
    ASSERT_NO_THROW(ReadDescriptionFile(temp.Path() + "brak", "kelvor.qmx", source, apps));
    ASSERT_FALSE(apps.empty());
    EXPECT_EQ(apps.back()->Nazwa, "Dobra");
    EXPECT_EQ(Lines(apps.back()->Pliki), "dobra.exe=Dobra");

    TStringList list;
    std::vector<std::string> bad;
    BuildInstallList(apps, source, "d:\\cel\\", list,
                     [&](const std::string& line, const std::string&) { bad.push_back(line.substr(0, 10)); });
    std::string all;
    for (const auto& a : apps)
        all += "[" + a->Nazwa + "]" + Lines(a->Pliki) + "\n";
    EXPECT_EQ(bad, std::vector<std::string>{std::string(10, 'd')}) << all;
    EXPECT_EQ(Readable(list.Strings(list.Count() - 1)), "Dobra#" + source + "dobra.exe#d:\\cel\\dobra.exe");
}

TEST(Definicje, PageOrder)
{
    const struct {
        bool pelna;
        const char* forward;
        const char* back;
    } rows[] = {
        {true, "0,1,2,3,6,7,8", "8,7,6,3,2,1,0"},
        {false, "0,1,2,3,4,5,6,7,8", "8,7,6,5,4,3,2,1,0"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.pelna);
        std::string forward = "0", back = "8";
        for (int page = 0; page < 8;) {
            int next = page + 1;
            GetNextPage(r.pelna, page, next);
            forward += ',';
            forward += std::to_string(page = next);
        }
        for (int page = 8; page > 0;) {
            int prior = page - 1;
            GetPriorPage(r.pelna, page, prior);
            back += ',';
            back += std::to_string(page = prior);
        }
        EXPECT_EQ(forward, r.forward);
        EXPECT_EQ(back, r.back);
    }
}

TEST(Definicje, InstallEntries)
{
    const struct {
        const char* what;
        const char *nazwa, *katalog, *lokalizacja, *line, *source, *expected;
    } rows[] = {
        {"file at the top with katalog", "Alfa", "Prog", "", "a.exe=Program A", "c:\\nosnik\\",
         "Alfa (Program A)#c:\\nosnik\\Prog\\a.exe#d:\\cel\\Prog\\a.exe"},
        {"subfolder without katalog", "Beta", "", "pakiet\\", "b.exe=Beta", "c:\\nosnik\\",
         "Beta#c:\\nosnik\\pakiet\\b.exe#d:\\cel\\b.exe"},
        {"subfolder with katalog", "Beta", "B\\Dane", "pakiet\\", "sub\\b.txt=Opis", "c:\\nosnik\\",
         "Beta (Opis)#c:\\nosnik\\pakiet\\sub\\b.txt#d:\\cel\\B\\Dane\\sub\\b.txt"},
        {"display name differing only in case", "Beta", "", "", "b.exe=beta", "c:\\nosnik\\",
         "Beta (beta)#c:\\nosnik\\b.exe#d:\\cel\\b.exe"},
        {"katalog ending in a backslash", "Gamma", "G\\", "", "g.exe=", "c:\\nosnik\\",
         "Gamma ()#c:\\nosnik\\G\\g.exe#d:\\cel\\G\\g.exe"},
        {"network source keeps its leading backslashes", "Delta", "", "pakiet\\", "d.exe=Delta",
         "\\\\serwer\\nosnik\\", "Delta#\\\\serwer\\nosnik\\pakiet\\d.exe#d:\\cel\\d.exe"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        TInstallApp app;
        app.Nazwa = r.nazwa;
        app.Katalog = r.katalog;
        app.Lokalizacja = r.lokalizacja;
        EXPECT_EQ(Readable(MakeInstallEntry(app, r.line, r.source, "d:\\cel\\")), r.expected);
    }
}

TEST(Definicje, InstallListIsUniqueByDestination)
{
    TInstallApps apps;
    AddApp(apps, "Alfa", "Wspólne", "", {"a.exe=Alfa", "pomoc.txt=Pomoc"});
    AddApp(apps, "Beta", "", "pakiet\\", {"WSPÓLNE\\POMOC.TXT=Pomoc Bety", "b.exe=Beta"});
    AddApp(apps, "Odznaczona", "", "", {"c.exe=C"}).Zaznaczona = false;
    AddApp(apps, "Bez plików", "", "", {});

    TStringList list;
    list.Add("stary wpis");
    BuildInstallList(apps, "c:\\src\\", "d:\\cel\\", list, nullptr);
    EXPECT_EQ(Readable(Lines(list)), "Alfa#c:\\src\\Wspólne\\a.exe#d:\\cel\\Wspólne\\a.exe|"
                                     "Alfa (Pomoc)#c:\\src\\Wspólne\\pomoc.txt#d:\\cel\\Wspólne\\pomoc.txt|"
                                     "Beta#c:\\src\\pakiet\\b.exe#d:\\cel\\b.exe");
    EXPECT_FALSE(IsNewDestination(list, "x\x95y\x95" "D:\\CEL\\B.EXE"));
    EXPECT_TRUE(IsNewDestination(list, "x\x95y\x95" "d:\\cel\\c.exe"));

    // Told to stop after the second file line (the program ends), the
    // building stops there.
    int lines = 0;
    BuildInstallList(apps, "c:\\src\\", "d:\\cel\\", list, nullptr, [&] { return ++lines < 2; });
    EXPECT_EQ(list.Count(), 2);
}

namespace {

class TLinesSink : public TSummarySink {
public:
    std::vector<std::string> lines;
    std::vector<std::string> missing;
    void AddLine(const std::string& Text, TFontStyles Style, TColor Color) override
    {
        std::string attrs = Style.Contains(fsBold) ? "B" : "";
        if (Style.Contains(fsUnderline))
            attrs += "U";
        lines.push_back(attrs + (Color == clNavy ? "n" : "") + "|" + Text);
    }
    void MissingFile(const std::string& SourcePath) override { missing.push_back(SourcePath); }
};

} // namespace

// The sample medium read the installer's way, its install list and its
// summary with the options at their start states.
TEST(Definicje, MediumInstallListAndSummary)
{
    const std::string medium = AnsiLowerCase(BuiltPath("medium\\"));
    TInstallApps apps;
    for (const char* folder : {"", "pakiet\\", "pakiet\\narzedzia\\"})
        ReadDescriptionFile(medium + folder, "kelvor.qmx", medium, apps);
    TStringList list;
    BuildInstallList(apps, medium, "d:\\qmx\\", list, nullptr);
    const std::string m = medium;
    const char* expected[] = {
        "Parvin 2000#{m}Parvin\\parvin.exe#d:\\qmx\\Parvin\\parvin.exe",
        "Parvin 2000 (Pomoc - ważne; przeczytaj)#{m}Parvin\\pomoc.txt#d:\\qmx\\Parvin\\pomoc.txt",
        "Parvin 2000 (Dane przykładowe)#{m}Parvin\\brak.dat#d:\\qmx\\Parvin\\brak.dat",
        "Ferlond (Dziennik Ferlonda)#{m}pakiet\\ferlond.exe#d:\\qmx\\ferlond.exe",
        "Kalmet Księgowość (Kalmet 2000)#{m}pakiet\\narzedzia\\kalmet.exe#d:\\qmx\\Kalmet\\Dane\\kalmet.exe",
        "Lumero 2000 (Brennik)#{m}pakiet\\narzedzia\\brennik.exe#d:\\qmx\\Lumero\\brennik.exe",
        "Lumero 2000 (Czytaj mnie)#{m}pakiet\\narzedzia\\czytaj.txt#d:\\qmx\\Lumero\\czytaj.txt",
    };
    ASSERT_EQ(list.Count(), 7);
    for (int i = 0; i < 7; ++i) {
        std::string e = expected[i];
        e.replace(e.find("{m}"), 3, m);
        EXPECT_EQ(Readable(list.Strings(i)), e);
    }

    TVersionInfoResource vi(nullptr);
    TLinesSink sink;
    BuildSummary(list, TInstallOptions(), vi, sink);
    const std::vector<std::string> lines = {
        "B|Za chwilę rozpoczniemy instalowanie wybranych przez Ciebie aplikacji.",
        "U|Utworzę odpowiednie skróty na pulpicie.",
        "U|Dodam skróty do Twojego menu Start™.",
        "Bn|",
        "Bn|Wybrałeś następujące aplikacje:",
        "n|Parvin 2000, wersja 2.0.0.14 (12 listopada 1999)",
        "n|Ferlond (Dziennik Ferlonda), wersja 1.5.2.0 (3 grudnia 1999)",
        "n|Kalmet Księgowość (Kalmet 2000), wersja 3.1.0.7 (28 października 1999)",
        "n|",
        "U|Zainstaluję nowe czcionki Microsoft Typography, o ile jeszcze ich nie masz w systemie.",
        "U|Zainstaluję nową wersje standardowych bibliotek systemowych i nowe kontrolki wizualne.",
        "|Programy zaprojektowane do automatycznego uruchamiania zostaną odpowiednio ustawione i uruchomią się "
        "automatycznie przy najbliższym starcie Windows.",
        "|Gdy program napotka na już zainstalowane pliki, będzie pytał o pozwolenie ich zastąpienia.",
    };
    EXPECT_EQ(sink.lines, lines);
    EXPECT_TRUE(sink.missing.empty());
}

TEST(Definicje, SummaryWithOtherOptionsAndAMissingProgram)
{
    TempFolder temp;
    WriteWholeFile(temp.Path() + "bez.exe", "no version resource");
    TStringList list;
    list.Add("Brak\x95" + temp.Path() + "brak.exe\x95" "d:\\brak.exe");
    list.Add("Bez wersji\x95" + temp.Path() + "bez.exe\x95" "d:\\bez.exe");
    list.Add("Bez wersji\x95" + temp.Path() + "bez.exe\x95" "d:\\x\\bez.exe");
    TInstallOptions options;
    options.SkrotyNaPulpicie = options.SkrotyWMenuStart = options.Czcionki = options.ComCtl = false;
    options.AutoRun = false;
    options.AutoReplace = true;

    TVersionInfoResource vi(nullptr);
    TLinesSink sink;
    BuildSummary(list, options, vi, sink);
    const std::vector<std::string> lines = {
        "B|Za chwilę rozpoczniemy instalowanie wybranych przez Ciebie aplikacji.",
        "Bn|",
        "Bn|Wybrałeś następujące aplikacje:",
        "n|Bez wersji",
        "n|Bez wersji",
        "n|",
        "|Programy zaprojektowane do automatycznego uruchamiania NIE BĘDĄ się uruchamiały automatycznie, zatem "
        "mogą nie działać poprawnie.",
        "|Ewentualnie istniejące instalacje naszych programów zostaną zastąpione automatycznie, o ile instalujesz "
        "je w katalogach standardowych.",
    };
    EXPECT_EQ(sink.lines, lines);
    EXPECT_EQ(sink.missing, std::vector<std::string>{temp.Path() + "brak.exe"});
}

TEST(Definicje, ReportEntries)
{
    const struct {
        const char *keyword, *nazwa, *link, *expected;
    } rows[] = {
        {"FILECOPY", "Parvin 2000", "", "FILECOPY=Parvin 2000;c:\\a.exe;d:\\a.exe"},
        {"AUTORUN", "Pomoc - ważne; przeczytaj; 2=3", "", "AUTORUN=Pomoc - ważne, przeczytaj, 2=3;c:\\a.exe;d:\\a.exe"},
        {"LINK", "Ferlond (F)", "c:\\pulpit\\Ferlond .lnk",
         "LINK=Ferlond (F);c:\\a.exe;d:\\a.exe;c:\\pulpit\\Ferlond .lnk"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.keyword);
        EXPECT_EQ(ReportEntry(r.keyword, r.nazwa, "c:\\a.exe", "d:\\a.exe", r.link), r.expected);
    }
}

TEST(Definicje, ReportIsOnlyAppendedTo)
{
    TempFolder temp;
    const std::string report = temp.Path() + ReportFileName;
    WriteWholeFile(report, "pierwsza instalacja\r\n");
    AppendReportLine(report, "FILECOPY=A;b;c");
    AppendReportLine(report, "LINK=A;b;c;d");
    const std::string text = ReadWholeFile(report);
    const std::regex form("pierwsza instalacja\r\n"
                          "\\d\\d-\\d\\d-\\d{4} \\d\\d:\\d\\d:\\d\\d - FILECOPY=A;b;c\r\n"
                          "\\d\\d-\\d\\d-\\d{4} \\d\\d:\\d\\d:\\d\\d - LINK=A;b;c;d\r\n");
    EXPECT_TRUE(std::regex_match(text, form)) << text;
}

namespace {

TDateTime clockNow = 0;
TDateTime TestClock()
{
    return clockNow;
}

} // namespace

// The first-install day number: days since 30 December 1899, whatever the
// time of day.
TEST(Definicje, TodayDayNumberCountsDaysSinceTheEndOf1899)
{
    const TClock previous = SetClock(TestClock);
    const struct {
        int year, month, day, hour, minute;
        const char* number;
    } rows[] = {
        {1899, 12, 31, 12, 0, "1"},     {1900, 3, 1, 0, 0, "61"},      {1999, 12, 20, 23, 59, "36514"},
        {2000, 2, 29, 8, 30, "36585"},  {2026, 3, 5, 0, 1, "46086"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.number);
        clockNow = EncodeDate(r.year, r.month, r.day) + EncodeTime(r.hour, r.minute, 0, 0);
        EXPECT_EQ(TodayDayNumber(), r.number);
    }
    SetClock(previous);
}

namespace {

bool privilegeAtRestart = false;
unsigned restartFlags = 0;
int restartCalls = 0;

bool ShutdownPrivilegeEnabled()
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return false;
    LUID luid{};
    PRIVILEGE_SET set{};
    BOOL enabled = FALSE;
    if (LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &luid)) {
        set.PrivilegeCount = 1;
        set.Control = PRIVILEGE_SET_ALL_NECESSARY;
        set.Privilege[0].Luid = luid;
        PrivilegeCheck(token, &set, &enabled);
    }
    CloseHandle(token);
    return enabled != FALSE;
}

void SetShutdownPrivilege(bool enabled)
{
    HANDLE token = nullptr;
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token));
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = enabled ? SE_PRIVILEGE_ENABLED : 0;
    ASSERT_TRUE(LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid));
    EXPECT_TRUE(AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr));
    CloseHandle(token);
}

int RecordRestart(unsigned flags, unsigned long)
{
    privilegeAtRestart = ShutdownPrivilegeEnabled();
    restartFlags = flags;
    ++restartCalls;
    return TRUE;
}

} // namespace

// Restarting Windows asks for the shutdown privilege before it asks for the
// restart: without it NT-based Windows refuses.
TEST(Definicje, RestartEnablesTheShutdownPrivilegeFirst)
{
    SetShutdownPrivilege(false);
    ASSERT_FALSE(ShutdownPrivilegeEnabled());
    const TExitWindowsCall previous = SetExitWindowsCall(RecordRestart);
    RestartWindows();
    SetExitWindowsCall(previous);
    EXPECT_EQ(restartCalls, 1);
    EXPECT_EQ(restartFlags, static_cast<unsigned>(EWX_REBOOT));
    EXPECT_TRUE(privilegeAtRestart);
}

// A run's report stays open between lines, yet every line is in the file as
// soon as it is appended (a killed run loses none), the earlier content
// stays, and a file that cannot be opened fails the line and is tried again
// with the next one.
TEST(Definicje, RunReportWritesEachLineThrough)
{
    TempFolder temp;
    const std::string line = "\\d\\d-\\d\\d-\\d{4} \\d\\d:\\d\\d:\\d\\d - ";
    const std::string missing = temp.Path() + "brak\\" + ReportFileName;
    const std::string report = temp.Path() + ReportFileName;
    WriteWholeFile(report, "pierwsza instalacja\r\n");
    TReportFile run;
    EXPECT_THROW(run.Append(missing, "FILECOPY=X;b;c"), EInOutError);
    run.Append(report, "FILECOPY=A;b;c");
    std::string text = ReadWholeFile(report);
    EXPECT_TRUE(std::regex_match(text, std::regex("pierwsza instalacja\r\n" + line + "FILECOPY=A;b;c\r\n"))) << text;
    run.Append(report, "LINK=A;b;c;d");
    text = ReadWholeFile(report);
    EXPECT_TRUE(std::regex_match(
        text, std::regex("pierwsza instalacja\r\n" + line + "FILECOPY=A;b;c\r\n" + line + "LINK=A;b;c;d\r\n")))
        << text;
    // The folder made meanwhile: the same file now takes the line.
    CreateDirectoryA((temp.Path() + "brak").c_str(), nullptr);
    run.Append(missing, "FILECOPY=Y;b;c");
    run.Close();
    text = ReadWholeFile(missing);
    EXPECT_TRUE(std::regex_match(text, std::regex(line + "FILECOPY=Y;b;c\r\n"))) << text;
    EXPECT_TRUE(DeleteFileA(report.c_str())) << "the report is let go";
}

// An entry too long for the field routines (a display name or a source of
// 255 characters or more) or for the system (a destination of MAX_PATH
// characters or more) is reported with its line and left out of the list,
// so neither the summary nor the run meet it.
TEST(Definicje, TooLongEntriesAreReportedAndLeftOut)
{
    const std::string name = "Nazwa " + std::string(245, 'n');
    const std::string folder(250, 'z');
    const std::string longDest = std::string(200, 'c') + ".exe=Cel";
    const std::string longKey = std::string(300, 'k') + ".exe=Krótka";
    TInstallApps apps;
    AddApp(apps, name, "", "", {"a.exe=Program"});
    AddApp(apps, "Źródło", folder, "", {"b.exe=Źródło"});
    AddApp(apps, "Cel", "", "", {longDest.c_str()});
    AddApp(apps, "Krótka", "", "", {"d.exe=Krótka", longKey.c_str()});
    TStringList list;
    std::vector<std::string> bad;
    const std::string dest = "d:\\" + std::string(60, 'x') + "\\";
    BuildInstallList(apps, "c:\\src\\", dest, list, [&](const std::string& line, const std::string& error) {
        bad.push_back(error + "|" + line.substr(0, 8));
    });
    const std::string text = "Nazwa lub ścieżka pliku jest za długa; plik zostanie pominięty.|";
    EXPECT_EQ(bad, (std::vector<std::string>{text + "a.exe=Pr", text + "b.exe=Źr", text + std::string(8, 'c'),
                                             text + std::string(8, 'k')}));
    EXPECT_EQ(Readable(Lines(list)), "Krótka#c:\\src\\d.exe#" + dest + "d.exe");
}
