// Unit autoakt: the Internet update. RunInternetUpdate packs a backup
// cabinet of the program and the maker's data files, then runs the wizard
// TeAutoAktualizacja, which fetches the file list "a.qmx" from the update
// host, asks the host for the date of every listed file (HEAD), offers the
// files with the newer ones marked, downloads those the user keeps selected
// into the program folder (each replaced file kept as "Kopia <name>"
// beside it) and schedules every downloaded program to run once at the next
// Windows start.
//
// The update host is a setting of the program's own: the value
// "Serwer aktualizacji" under HKCU "Software\QMX\<code name>", a host name or
// host:port, read when the wizard starts; without it DefaultUpdateHost,
// which no server answers.
//
// Layout comes from autoakt.dfm; autoaktUtil.cpp holds the unit's routines
// that need no window.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "classlib/Forms.h"
#include "organizer/HttpProt.h"

class TLabel;
class TEdit;
class TListBox;
class TNotebook;
class TProgressBar;
class TAnimate;
class TWizardTree;
class TPageManager;
class TqmxColorButton;
class TFormStorage;
class THTMLabel;
class THTMListbox;
class TEnhGroupBox;
class TVersionLabel;
class TMemoryStream;
class TIniFile;
class TStringList;

// The update host when the setting names none: a reserved name that no
// server answers, so that no stranger's server is ever asked.
extern const char DefaultUpdateHost[];
// The value naming the update host under HKCU "Software\QMX\<code name>".
extern const char UpdateHostValue[];

// The setting, trimmed; DefaultUpdateHost when it is empty.
std::string ReadUpdateHost(const std::string& CodeName);
// The host of "host" or "host:port".
std::string UpdateHostName(const std::string& Host);

// Whether a local name from the file list stays inside the program folder:
// a relative name ("/" counts as "\") with no drive or ":", no leading "\",
// no part made of dots and blanks only (so no ".." and no empty part), and
// no device name (CON, NUL, AUX, PRN, COM1-9, LPT1-9, any extension) as any
// part.
bool IsSafeLocalName(const std::string& LocalName);

// One file line of the list ("name=note;description;server path"): true
// when all four fields are there and not empty and the name is safe.
struct TUpdateFileLine {
    std::string LocalName, Note, Description, ServerPath;
};
bool ParseUpdateFileLine(const std::string& Line, TUpdateFileLine& File);

// The information text with its blanks as line breaks: runs of three blanks
// first become two, two blanks a line break, two line breaks one.
std::string UpdateInformationText(const std::string& Text);

// The list item of a file: "<b>name</b> (note)<br>description", the three
// fields shown as text (their "<" and ">" as "‹" and "›"), after
// "<b><u>NOWE!</u></b> " when FileDate is later than LastUpdateDay, after
// "(już było ściągnięte) " when FileDate is known but not later.
std::string UpdateItemText(const TUpdateFileLine& File, double FileDate, double LastUpdateDay);

// The RunOnce data that starts a downloaded program: its quoted path, then
// " -o " and the program folder.
std::string RunOnceCommand(const std::string& ProgramFolder, const std::string& LocalName);

class TeAutoAktualizacja : public TForm {
public:
    explicit TeAutoAktualizacja(TComponent* owner);
    ~TeAutoAktualizacja() override;

    TWizardTree* wt = nullptr;
    TNotebook* nb = nullptr;
    TPageManager* PageManager1 = nullptr;
    TqmxColorButton* bAnuluj = nullptr;
    TqmxColorButton* bPrev = nullptr;
    TqmxColorButton* bNext = nullptr;
    THttpCli* httpAkt = nullptr;
    THttpCli* HttpGet = nullptr;
    THttpCli* httpHead = nullptr;
    TFormStorage* fs = nullptr;
    TListBox* lbPliki = nullptr;
    // Page 0
    TEdit* eNazwa = nullptr;
    THTMLabel* lbOStatniaAkt = nullptr;
    TEnhGroupBox* cbProxy = nullptr;
    TEdit* eProxy = nullptr;
    TEdit* eProxyUsername = nullptr;
    TEdit* eProxyPassword = nullptr;
    TEdit* eProxyPort = nullptr;
    // Page 1
    TLabel* lbNazwa = nullptr;
    TAnimate* aniSzukaj = nullptr;
    TLabel* lbInfo = nullptr;
    TLabel* lbHttp = nullptr;
    // Page 2
    TLabel* lbData = nullptr;
    TLabel* lbDataInfo = nullptr;
    THTMListbox* lb = nullptr;
    TVersionLabel* vlWErsja = nullptr;
    TVersionLabel* vlData = nullptr;
    // Page 3
    TLabel* lbNazwaPliku = nullptr;
    TLabel* lbUrl = nullptr;
    TLabel* lbGot = nullptr;
    TProgressBar* pb = nullptr;
    TAnimate* aniKomputer = nullptr;
    TLabel* lbGet = nullptr;

    // The update host the wizard asks; RunInternetUpdate sets it.
    std::string UpdateHost;

    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void FormDestroy(TObject* Sender);
    void nbPageChanged(TObject* Sender);
    void PageManager1GetPriorPage(int CurrentPage, int& NewPage);
    void PageManager1GetNextPage(int CurrentPage, int& NewPage);
    void bNextClick(TObject* Sender);
    void bAnulujClick(TObject* Sender);
    void setProxy(TObject* Sender);
    void httpAktCommand(TObject* Sender, const std::string& Line);
    void httpAktDocData(TObject* Sender, const void* Buffer, int Len);
    void httpAktRequestDone(TObject* Sender, THttpRequest RqType, WORD Error);
    void httpHeadHeaderData(TObject* Sender);
    void HttpGetRequestDone(TObject* Sender, THttpRequest RqType, WORD Error);

    // Whether Anuluj (the button, Escape or the close box) ended the wizard.
    bool Cancelled() const { return cancelled_; }

    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

protected:
    void Dispatch(TMessage& message) override;

private:
    void StartListDownload();
    void DownloadSelected();
    bool DownloadFile(const std::string& LocalName, const std::string& ServerPath);
    // Reads the list's entries into lbPliki and lb, asking the date of each
    // file; false when Anuluj stopped it.
    bool ListFiles(TIniFile& list);
    // A new empty download buffer, which every client writes into from now.
    TMemoryStream* NewBuffer();
    // Frees the buffer; no client holds it any more.
    void ReleaseBuffer();
    // A failed list or file: told, the request aborted, the wizard back on
    // its first page and set to close (the download loop may still set
    // another result).
    void RequestFailed(THttpCli* client, const std::string& message);
    // While a request of the wizard runs, neither step is possible.
    void SetRequestRunning(bool running);
    void ClearFileItems();
    std::string Url(const std::string& path) const;

    std::unique_ptr<TMemoryStream> buffer_;
    // The data of lb's items (local name, server path), by item index.
    std::vector<std::unique_ptr<TStringList>> itemData_;
    double lastUpdateDay_ = 0;
    double fileDate_ = 0;
    bool cancelled_ = false;
    bool requestRunning_ = false;
};

// Backs up the program and the data files, runs the wizard for the code
// name and records the day when a file arrived. True when one did.
bool RunInternetUpdate(const std::string& CodeName);

// Registers the form's class and the component classes its resource uses.
void AutoaktStartup();
