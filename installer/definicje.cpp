#include "installer/definicje.h"

#include <windows.h>

#include <unordered_set>

#include "classlib/IniFiles.h"
#include "classlib/SysUtils.h"
#include "classlib/WinHandles.h"
#include "common/QmxReg.h"
#include "common/QmxShell.h"
#include "common/QmxUtil.h"
#include "common/VersInfo.h"

tInstallItem::tInstallItem() : Klucze(new tQmxList) {}

tInstallItem::~tInstallItem()
{
    delete Klucze;
}

tQmxClass tInstallItem::Class()
{
    static const tQmxClassInfo info{"tInstallItem", typeid(tInstallItem), QmxCreateInstance<tInstallItem>};
    return &info;
}

void InitializeDefinicje()
{
    RegisterQmxClass(tInstallItem::Class(), 261);
}

// ---------------------------------------------------------------------------

const char* const DescriptionFileName = "kelvor.qmx";
const char* const TarvixKey = "Software\\QMX\\Tarvix";
const char* const ReportFileName = "tarvix.qmx";

std::string SourceFolderFrom(const std::string& Argument, const std::string& ProgramFolder)
{
    std::string folder = !Argument.empty() && DirectoryExists(Argument) ? Argument : ProgramFolder;
    folder = AnsiLowerCase(folder);
    AddBackslash(folder);
    return folder;
}

void ReadDescriptionFile(const std::string& Path, const std::string& FileName, const std::string& SourceFolder,
                         TInstallApps& Apps, const std::function<bool()>& Between)
{
    std::string folder = Path;
    AddBackslash(folder);
    TIniFile ini(folder + FileName);
    TStringList sections;
    ini.ReadSections(sections);

    std::string location = AnsiLowerCase(folder);
    const auto at = location.find(SourceFolder);
    if (!SourceFolder.empty() && at != std::string::npos)
        location.erase(at, SourceFolder.size());

    TStringList keys;
    for (int s = 0; s < sections.Count(); ++s) {
        const std::string name = sections.Strings(s);
        auto app = std::make_unique<TInstallApp>();
        app->Nazwa = name;
        app->Rozmiar = ini.ReadString(name, "<rozmiar>", "");
        app->Lokalizacja = location;
        app->Katalog = ini.ReadString(name, "<katalog>", "");
        app->Info = ini.ReadString(name, "<info>", "");
        ini.ReadSection(name, keys);
        for (int k = 0; k < keys.Count(); ++k) {
            const std::string key = keys.Strings(k);
            if (key.empty() || key[0] == '<')
                continue;
            app->Pliki.Add(key + "=" + ini.ReadString(name, key, ""));
        }
        Apps.push_back(std::move(app));
        if (Between && !Between())
            return;
    }
}

void WriteInstallerKey(const std::string& ExePath, const std::string& SourceFolder,
                       const std::string& DestinationFolder)
{
    WriteRegString(1, TarvixKey, "Exe", ExePath);
    WriteRegString(1, TarvixKey, "Source", SourceFolder);
    WriteRegString(1, TarvixKey, "Destination", DestinationFolder);
    WriteRegString(1, TarvixKey, "Raport", DestinationFolder + ReportFileName);
}

// ---------------------------------------------------------------------------

void GetNextPage(bool Pelna, int CurrentPage, int& NewPage)
{
    if (Pelna && CurrentPage == 3)
        NewPage = PagePodsumowanie;
}

void GetPriorPage(bool Pelna, int CurrentPage, int& NewPage)
{
    if (Pelna && CurrentPage == PagePodsumowanie)
        NewPage = 3;
}

namespace {

int SystemExitWindows(unsigned flags, unsigned long reason)
{
    return ExitWindowsEx(flags, reason);
}

TExitWindowsCall exitWindows = SystemExitWindows;

void EnableShutdownPrivilege()
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
        return;
    const TFileHandle owned(token);
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid))
        AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
}

} // namespace

TExitWindowsCall SetExitWindowsCall(TExitWindowsCall call)
{
    const TExitWindowsCall old = exitWindows;
    exitWindows = call ? call : SystemExitWindows;
    return old;
}

void RestartWindows()
{
    EnableShutdownPrivilege();
    exitWindows(EWX_REBOOT, 0);
}

// ---------------------------------------------------------------------------

namespace {

// Empty or backslash-ended parts leave doubled backslashes behind; a path on
// a network share keeps the two it starts with.
std::string CollapseBackslashes(std::string s)
{
    const bool unc = s.size() >= 2 && s[0] == '\\' && s[1] == '\\';
    ReplaceAllNoCase("\\\\", "\\", s);
    if (unc && !(s.size() >= 2 && s[1] == '\\'))
        s.insert(s.begin(), '\\');
    return s;
}

bool EndsWithExe(const std::string& path)
{
    return AnsiLowerCase(ExtractFileExt(path)) == ".exe";
}

} // namespace

std::string MakeInstallEntry(const TInstallApp& App, const std::string& Line, const std::string& SourceFolder,
                             const std::string& DestinationFolder)
{
    const std::string value = ValuePart(Line);
    const std::string file = KeyPart(Line);
    const std::string nazwa = value == App.Nazwa ? App.Nazwa : App.Nazwa + " (" + value + ")";
    const std::string& location = App.Lokalizacja.empty() ? App.Katalog : App.Lokalizacja;
    const std::string source = SourceFolder + location + "\\" + file;
    const std::string dest = DestinationFolder + App.Katalog + "\\" + file;
    return CollapseBackslashes(nazwa) + EntrySeparator + CollapseBackslashes(source) + EntrySeparator +
           CollapseBackslashes(dest);
}

bool IsNewDestination(const TStrings& List, const std::string& Entry)
{
    const std::string dest = AnsiLowerCase(NthField(EntrySeparator, 3, Entry));
    for (int i = 0; i < List.Count(); ++i)
        if (AnsiLowerCase(NthField(EntrySeparator, 3, List.Strings(i))) == dest)
            return false;
    return true;
}

const char* const BadLineText = "Nazwa lub ścieżka pliku jest za długa; plik zostanie pominięty.";

void BuildInstallList(const TInstallApps& Apps, const std::string& SourceFolder,
                      const std::string& DestinationFolder, TStrings& List,
                      const std::function<void(const std::string& Line, const std::string& Error)>& OnBadLine,
                      const std::function<bool()>& Between)
{
    List.Clear();
    // The destinations taken, lowered as IsNewDestination lowers them: looked
    // up here rather than in the list, entry by entry.
    std::unordered_set<std::string> taken;
    for (const auto& app : Apps) {
        if (!app->Zaznaczona)
            continue;
        for (int i = 0; i < app->Pliki.Count(); ++i) {
            const std::string line = app->Pliki.Strings(i);
            bool tooLong = false;
            try {
                const std::string entry = MakeInstallEntry(*app, line, SourceFolder, DestinationFolder);
                // The last field is not limited by the field routines: the
                // copy would fail on it.
                const std::string dest = NthField(EntrySeparator, 3, entry);
                tooLong = NthField(EntrySeparator, 2, entry).size() >= MAX_PATH || dest.size() >= MAX_PATH;
                if (!tooLong && taken.insert(AnsiLowerCase(dest)).second)
                    List.Add(entry);
            } catch (const ERangeError&) {
                tooLong = true;
            } catch (const EIntOverflow&) {
                tooLong = true;
            } catch (const Exception& e) {
                if (OnBadLine)
                    OnBadLine(line, e.Message());
            }
            if (tooLong && OnBadLine)
                OnBadLine(line, BadLineText);
            if (Between && !Between())
                return;
        }
    }
}

void BuildSummary(const TStrings& List, const TInstallOptions& Options, TVersionInfoResource& vi,
                  TSummarySink& Sink, const std::function<bool()>& Between)
{
    Sink.AddLine("Za chwilę rozpoczniemy instalowanie wybranych przez Ciebie aplikacji.", {fsBold}, clBlack);
    if (Options.SkrotyNaPulpicie)
        Sink.AddLine("Utworzę odpowiednie skróty na pulpicie.", {fsUnderline}, clBlack);
    if (Options.SkrotyWMenuStart)
        Sink.AddLine("Dodam skróty do Twojego menu Start™.", {fsUnderline}, clBlack);
    const TColor navy = 8388608;
    Sink.AddLine("", {fsBold}, navy);
    Sink.AddLine("Wybrałeś następujące aplikacje:", {fsBold}, navy);
    for (int i = 0; i < List.Count(); ++i) {
        if (i > 0 && Between && !Between())
            return;
        const std::string entry = List.Strings(i);
        const std::string source = NthField(EntrySeparator, 2, entry);
        if (!EndsWithExe(source))
            continue;
        if (!FileExists(source)) {
            Sink.MissingFile(source);
            continue;
        }
        const std::string nazwa = NthField(EntrySeparator, 1, entry);
        vi.SetFilename(source);
        // The organizer is installed but not announced.
        if (ContainsNoCase("brennik", nazwa))
            continue;
        const std::string version = vi.FileVersionNumber().GetVersionText();
        if (!version.empty())
            Sink.AddLine(Format("%s, wersja %s (%s)", nazwa, version, vi.Comments()), {}, navy);
        else
            Sink.AddLine(nazwa, {}, navy);
    }
    if (Between && !Between())
        return;
    Sink.AddLine("", {}, navy);
    if (Options.Czcionki)
        Sink.AddLine("Zainstaluję nowe czcionki Microsoft Typography, o ile jeszcze ich nie masz w systemie.",
                     {fsUnderline}, clBlack);
    if (Options.ComCtl)
        Sink.AddLine("Zainstaluję nową wersje standardowych bibliotek systemowych i nowe kontrolki wizualne.",
                     {fsUnderline}, clBlack);
    if (Options.AutoRun)
        Sink.AddLine("Programy zaprojektowane do automatycznego uruchamiania zostaną odpowiednio ustawione i "
                     "uruchomią się automatycznie przy najbliższym starcie Windows.",
                     {}, clBlack);
    else
        Sink.AddLine("Programy zaprojektowane do automatycznego uruchamiania NIE BĘDĄ się uruchamiały "
                     "automatycznie, zatem mogą nie działać poprawnie.",
                     {}, clBlack);
    if (Options.AutoReplace)
        Sink.AddLine("Ewentualnie istniejące instalacje naszych programów zostaną zastąpione automatycznie, o ile "
                     "instalujesz je w katalogach standardowych.",
                     {}, clBlack);
    else
        Sink.AddLine("Gdy program napotka na już zainstalowane pliki, będzie pytał o pozwolenie ich zastąpienia.",
                     {}, clBlack);
}

// ---------------------------------------------------------------------------

std::string ReportEntry(const std::string& Keyword, const std::string& Nazwa, const std::string& Source,
                        const std::string& Dest, const std::string& Link)
{
    std::string name = Nazwa;
    for (char& c : name)
        if (c == ';')
            c = ',';
    std::string entry = Keyword + "=" + name + ";" + Source + ";" + Dest;
    if (!Link.empty())
        entry += ";" + Link;
    return entry;
}

void AppendReportLine(const std::string& ReportFile, const std::string& Entry)
{
    AppendLogLine(ReportFile, Entry);
}

TReportFile::TReportFile() = default;

TReportFile::~TReportFile() = default;

void TReportFile::Close()
{
    file_.reset();
    path_.clear();
}

void TReportFile::Append(const std::string& ReportFile, const std::string& Entry)
{
    if (file_ && ReportFile != path_)
        Close();
    if (!file_) {
        file_ = std::make_unique<TAppendFile>(ReportFile);
        path_ = ReportFile;
    }
    try {
        file_->WriteLine(LogLine(Entry));
    } catch (...) {
        Close();
        throw;
    }
}

std::string TodayDayNumber()
{
    return std::to_string(static_cast<long long>(Date()));
}
