// Unit definicje: the install-definition record, and what the installer
// knows of a medium without its window: the applications of the description
// files, the install list, the summary and the report lines.
//
// The install list is a plain string list of entries "name•source•dest"
// (fields separated by the byte 0x95), the form the list box of the summary
// page shows and the run splits again.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "classlib/Graphics.h"
#include "classlib/Lists.h"
#include "common/QmxList.h"

class TAppendFile;

class TVersionInfoResource;

class tInstallItem : public tQmxObject {
public:
    tInstallItem();
    ~tInstallItem() override;
    static tQmxClass Class();

    tQmxList* Klucze;
};

// Registers tInstallItem as 261.
void InitializeDefinicje();

// ---------------------------------------------------------------------------
// The medium.

// The name of the description files on the medium.
extern const char* const DescriptionFileName;

// One application: one section of a description file.
struct TInstallApp {
    std::string Nazwa;       // the section name
    std::string Rozmiar;     // "<rozmiar>"
    std::string Katalog;     // "<katalog>": subfolder of the destination
    std::string Info;        // "<info>"
    std::string Lokalizacja; // folder of the description file below the source, lower case, "" or "x\"
    TStringList Pliki;       // "file=display name" lines in the section's order
    bool Zaznaczona = true;  // ticked in the application list
};
using TInstallApps = std::vector<std::unique_ptr<TInstallApp>>;

// The source folder: Argument when it names an existing folder, else the
// program folder; lower case with a trailing backslash.
std::string SourceFolderFrom(const std::string& Argument, const std::string& ProgramFolder);

// Reads the description file FileName in the folder Path (found below
// SourceFolder, which is lower case) and appends one application per section.
// A file that cannot be read adds nothing. Between, when given, runs after
// each section; the reading stops when it gives false.
void ReadDescriptionFile(const std::string& Path, const std::string& FileName, const std::string& SourceFolder,
                         TInstallApps& Apps, const std::function<bool()>& Between = {});

// The installer's registry key with the four values for these folders.
extern const char* const TarvixKey;
extern const char* const ReportFileName;
void WriteInstallerKey(const std::string& ExePath, const std::string& SourceFolder,
                       const std::string& DestinationFolder);

// ---------------------------------------------------------------------------
// The wizard's pages: a full installation skips the choice of programs (4)
// and the options (5). NewPage comes in as the page manager's own choice.
constexpr int PageWybor = 4;
constexpr int PagePodsumowanie = 6;
void GetNextPage(bool Pelna, int CurrentPage, int& NewPage);
void GetPriorPage(bool Pelna, int CurrentPage, int& NewPage);

// The finish page's "Restart Windows": asks Windows to restart. NT-based
// Windows does that only for a process whose shutdown privilege is enabled,
// so the privilege is enabled first; where it cannot be had (a system
// without privileges, or one that refuses), the request goes all the same
// and the system's answer is not used.
void RestartWindows();
// What RestartWindows calls to restart (ExitWindowsEx by default). Tests put
// another in its place; nullptr restores the default. Gives back the one it
// replaced.
using TExitWindowsCall = int (*)(unsigned flags, unsigned long reason);
TExitWindowsCall SetExitWindowsCall(TExitWindowsCall call);

// ---------------------------------------------------------------------------
// The install list.

constexpr char EntrySeparator = '\x95';

// One entry of the install list for the file line Line of App.
std::string MakeInstallEntry(const TInstallApp& App, const std::string& Line, const std::string& SourceFolder,
                             const std::string& DestinationFolder);
// True unless List holds an entry with the same destination, letter case ignored.
bool IsNewDestination(const TStrings& List, const std::string& Entry);
// Clears List and fills it from the ticked applications with files, each
// destination once (as IsNewDestination, in a time that grows with the
// files, not with their square). A file line whose entry is too long, for
// the field routines (a field of 255 characters or more) or for the system (a
// path of MAX_PATH characters or more), is passed to OnBadLine with
// BadLineText and left out, so that the list, the summary and the run all
// pass it over. Between, when given, runs after each file line; the building
// stops when it gives false.
extern const char* const BadLineText;
void BuildInstallList(const TInstallApps& Apps, const std::string& SourceFolder,
                      const std::string& DestinationFolder, TStrings& List,
                      const std::function<void(const std::string& Line, const std::string& Error)>& OnBadLine,
                      const std::function<bool()>& Between = {});

// The options of the configuration page, with their states at start.
struct TInstallOptions {
    bool SkrotyNaPulpicie = true;
    bool SkrotyWMenuStart = true;
    bool AutoRun = true;
    bool AutoReplace = false;
    bool Czcionki = true;
    bool ComCtl = true;
};

// Where the summary goes: the rich edit, or a test's list.
class TSummarySink {
public:
    virtual ~TSummarySink() = default;
    // One line written with these attributes; an empty Text is an empty line.
    virtual void AddLine(const std::string& Text, TFontStyles Style, TColor Color) = 0;
    // A program of the list that is not on the medium.
    virtual void MissingFile(const std::string& SourcePath) = 0;
};

// Writes the summary of List with Options into Sink; vi reads the programs'
// version resources. Between, when given, runs after each entry of List;
// the summary stops there when it gives false.
void BuildSummary(const TStrings& List, const TInstallOptions& Options, TVersionInfoResource& vi,
                  TSummarySink& Sink, const std::function<bool()>& Between = {});

// ---------------------------------------------------------------------------
// The report.

// "KEYWORD=name;source;dest[;link]": the name with ";" replaced by "," so that
// the reader's fields stay in their places.
std::string ReportEntry(const std::string& Keyword, const std::string& Nazwa, const std::string& Source,
                        const std::string& Dest, const std::string& Link = std::string());
// Appends a dated Entry to ReportFile (raises EInOutError when it cannot).
void AppendReportLine(const std::string& ReportFile, const std::string& Entry);

// The report of one installation run: the lines of AppendReportLine, with
// the file kept open for appending between them instead of opened for each.
// Every line goes to the system at once (nothing waits in a buffer of ours),
// so a run that is killed loses no line it wrote.
class TReportFile {
public:
    TReportFile();
    ~TReportFile();
    TReportFile(const TReportFile&) = delete;
    TReportFile& operator=(const TReportFile&) = delete;

    // As AppendReportLine; a file that could not be opened or written to is
    // tried afresh with the next line.
    void Append(const std::string& ReportFile, const std::string& Entry);
    // Lets the file go (a later Append opens it again).
    void Close();

private:
    std::string path_;
    std::unique_ptr<TAppendFile> file_;
};
// Today's day number (days since 30 December 1899) as decimal text.
std::string TodayDayNumber();
