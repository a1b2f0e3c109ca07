#include "organizer/autoakt.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstdint>

#include "classlib/Animate.h"
#include "classlib/ComCtrls.h"
#include "classlib/ExtCtrls.h"
#include "classlib/IniFiles.h"
#include "classlib/StdCtrls.h"
#include "classlib/Streams.h"
#include "classlib/TypInfo.h"
#include "common/PageMngr.h"
#include "common/QmxReg.h"
#include "common/QmxShell.h"
#include "common/QmxUtil.h"
#include "common/WSocket.h"
#include "common/WizardTree.h"
#include "common/qmxWarningDialog.h"
#include "common/qmxcolorbutton.h"
#include "common/verslab.h"
#include "components/Placemnt.h"
#include "organizer/EnhGB.h"
#include "organizer/HTMListb.h"
#include "organizer/htmlabel.h"
#include "organizer/qmxbackup.h"

namespace {

const char ListFileName[] = "a.qmx";
const char UpdateLog[] = "aa.rap";
const char LastUpdateValue[] = "Ostatnia aktualizacja";
const char RunOnceKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
const char InvalidData[] = "Nie udało się pobrać prawidłowych danych!";

// The file progress (HttpGet's Tag) when a file's wait is over.
constexpr int FileSaved = -555;
constexpr int FileFailed = -1;
constexpr int FileCancelled = -2000000000;

bool StartsWith(const std::string& s, const char* prefix)
{
    return s.rfind(prefix, 0) == 0;
}

} // namespace

TeAutoAktualizacja::TeAutoAktualizacja(TComponent* owner) : TForm(owner) {}

TeAutoAktualizacja::~TeAutoAktualizacja() = default;

std::string TeAutoAktualizacja::Url(const std::string& path) const
{
    return "http://" + UpdateHost + path;
}

// ---------------------------------------------------------------------------
// The form's life

void TeAutoAktualizacja::FormCreate(TObject*)
{
    PageManager1->GoToPage(0, false);
    wt->SetItems(nb->Pages());
    nbPageChanged(nullptr);
    NewBuffer();
}

void TeAutoAktualizacja::FormShow(TObject*)
{
    setProxy(nullptr);
    lastUpdateDay_ = ReadSettingInt(eNazwa->Text(), LastUpdateValue, 0);
    const std::string text =
        lastUpdateDay_ != 0
            ? Format("Ostatni raz <b>aktualizowałeś program </b> - %s, czyli <b>%s</b>.",
                     FormatDateTimeEx("d mmmmm yyyy (dddd)", lastUpdateDay_), RelativeDateText(lastUpdateDay_))
            : std::string("<b>Jeszcze nigdy nie aktualizowałeś programu.</b> Zrób to teraz.");
    lbOStatniaAkt->HTMLText()->SetText(text);
}

void TeAutoAktualizacja::FormDestroy(TObject*)
{
    ReleaseBuffer();
    ClearFileItems();
}

TMemoryStream* TeAutoAktualizacja::NewBuffer()
{
    TMemoryStream* old = buffer_.get();
    buffer_ = std::make_unique<TMemoryStream>();
    for (THttpCli* client : {httpAkt, HttpGet, httpHead})
        if (client && old && client->BodyStream == old)
            client->BodyStream = buffer_.get();
    return buffer_.get();
}

void TeAutoAktualizacja::ReleaseBuffer()
{
    for (THttpCli* client : {httpAkt, HttpGet, httpHead})
        if (client)
            client->BodyStream = nullptr;
    buffer_.reset();
}

void TeAutoAktualizacja::ClearFileItems()
{
    if (lb)
        lb->Clear();
    itemData_.clear();
}

void TeAutoAktualizacja::Dispatch(TMessage& message)
{
    // The close box and Alt+F4 cancel as the button does.
    if (message.Msg == WM_CLOSE && IsModal()) {
        bAnulujClick(this);
        return;
    }
    TForm::Dispatch(message);
}

// ---------------------------------------------------------------------------
// Steps

void TeAutoAktualizacja::nbPageChanged(TObject*)
{
    wt->SetItemIndex(nb->PageIndex());
    bNext->SetCaption(nb->PageIndex() == 2 ? "&Pobierz pliki!" : "&Dalej >");
}

void TeAutoAktualizacja::PageManager1GetPriorPage(int CurrentPage, int& NewPage)
{
    if (requestRunning_)
        NewPage = -1;
    else if (CurrentPage > 0)
        NewPage = 0;
}

void TeAutoAktualizacja::PageManager1GetNextPage(int, int& NewPage)
{
    if (requestRunning_)
        NewPage = -1;
}

void TeAutoAktualizacja::SetRequestRunning(bool running)
{
    requestRunning_ = running;
    const int page = PageManager1->CurrentPage();
    bPrev->SetEnabled(PageManager1->PriorPageIndex(page) >= 0);
    bNext->SetEnabled(PageManager1->NextPageIndex(page) >= 0);
}

void TeAutoAktualizacja::bNextClick(TObject*)
{
    if (requestRunning_ || cancelled_)
        return;
    switch (nb->PageIndex()) {
    case 1:
        StartListDownload();
        break;
    case 3:
        DownloadSelected();
        break;
    default:
        break;
    }
}

void TeAutoAktualizacja::bAnulujClick(TObject*)
{
    cancelled_ = true;
    for (THttpCli* client : {httpAkt, HttpGet, httpHead}) {
        try {
            client->Abort();
        } catch (const std::exception&) {
            // The wizard ends anyway; a client that cannot abort is freed with it.
        }
    }
    HttpGet->Tag = FileCancelled;
    ReleaseBuffer();
    SetModalResult(mrCancel);
}

void TeAutoAktualizacja::setProxy(TObject*)
{
    if (!eProxy || !eProxyPort || !eProxyUsername || !eProxyPassword)
        return;
    for (int i = 0; i < ComponentCount(); ++i) {
        if (auto* client = dynamic_cast<THttpCli*>(Components(i))) {
            client->Proxy = eProxy->Text();
            client->ProxyPort = eProxyPort->Text();
            client->ProxyUsername = eProxyUsername->Text();
            client->ProxyPassword = eProxyPassword->Text();
        }
    }
}

void TeAutoAktualizacja::RequestFailed(THttpCli* client, const std::string& message)
{
    ShowWarning(message);
    try {
        client->Abort();
    } catch (const std::exception&) {
        // The request is over anyway.
    }
    SetModalResult(mrCancel);
    PageManager1->GoToPage(0, false);
    nbPageChanged(nullptr);
}

// ---------------------------------------------------------------------------
// The file list

void TeAutoAktualizacja::StartListDownload()
{
    Repaint();
    httpAkt->BodyStream = NewBuffer();
    SetEnabled(false);
    try {
        SetRequestRunning(true);
        // Through a proxy the proxy finds the host; the update host may well
        // be unknown here.
        if (eProxy->Text().empty()) {
            try {
                WSocketResolveHost(UpdateHostName(UpdateHost));
            } catch (const ESocketException&) {
                RaiseErrorMessage("Nie udało się znaleźć hosta!\r\nPrawdopodobnie nie jesteś podłączony do internetu, "
                                  "albo nasz serwer ma właśnie przerwę techniczną. Spróbuj później!");
            }
        }
        httpAkt->GetAsync();
        BringToFront();
    } catch (const std::exception& e) {
        SetRequestRunning(false);
        ShowWarning(std::string("Nie udało się znaleźć pobrać danych.\r\n") + e.what());
        SetModalResult(mrCancel);
    }
    SetEnabled(true);
}

void TeAutoAktualizacja::httpAktCommand(TObject*, const std::string& Line)
{
    if (cancelled_)
        return;
    lbHttp->SetCaption(Line);
    lbGet->SetCaption(Line);
}

void TeAutoAktualizacja::httpAktDocData(TObject*, const void*, int Len)
{
    if (cancelled_)
        return;
    lbHttp->SetCaption("otrzymuję dane");
    lbGet->SetCaption("otrzymuję dane");
    const long long progress = static_cast<long long>(HttpGet->Tag) + Len;
    // An overflow leaves the counter as it was.
    if (progress >= INT_MIN && progress <= INT_MAX)
        HttpGet->Tag = static_cast<int>(progress);
    lbGot->SetCaption(Format("%.3f kB z %.3f kB", HttpGet->Tag / 1000.0, HttpGet->ContentLength() / 1000.0));
    // The bar counts in int, as the counter above does.
    pb->SetMax(static_cast<int>(std::min<std::int64_t>(HttpGet->ContentLength(), INT_MAX)));
    pb->SetPosition(HttpGet->Tag);
}

void TeAutoAktualizacja::httpAktRequestDone(TObject*, THttpRequest, WORD Error)
{
    // After Anuluj the wizard only closes: the request's end shows nothing.
    if (cancelled_)
        return;
    ClearFileItems();
    SetEnabled(true);
    std::unique_ptr<TIniFile> list;
    try {
        if (Error != 0)
            RaiseErrorMessage("Nie udało się pobrać danych!");
        if (!buffer_ || buffer_->Size() == 0)
            RaiseErrorMessage(InvalidData);
        const std::string path = GetProgramFolder() + ListFileName;
        buffer_->SaveToFile(path);
        list = std::make_unique<TIniFile>(path);
        std::string info = list->ReadString("Informacja", "Informacja", "");
        if (info.empty())
            RaiseErrorMessage(InvalidData);
        info = UpdateInformationText(info);
        lbInfo->SetCaption(info);
        const bool listed = ListFiles(*list);
        SetRequestRunning(false);
        if (!listed)
            return;
        ShowWarningDialog("Informacja", info, "", 90);
        if (cancelled_)
            return;
        for (int i = 0; i < lb->Count(); ++i)
            lb->SetSelected(i, true);
        PageManager1->GoToPage(2, false);
        nbPageChanged(nullptr);
    } catch (const std::exception& e) {
        SetRequestRunning(false);
        RequestFailed(httpAkt, e.what());
    }
}

bool TeAutoAktualizacja::ListFiles(TIniFile& list)
{
    // Each list stands alone: files an earlier one offered are gone.
    lbPliki->Clear();
    TStringList entries;
    list.ReadSectionValues(eNazwa->Text(), entries);
    for (int i = 0; i < entries.Count(); ++i) {
        const std::string name = entries.Names(i);
        const std::string line = entries.Strings(i);
        // The first value of a key counts; a key without a value is none.
        if (line.size() == name.size() + 1 || lbPliki->Items()->IndexOfName(name) >= 0)
            continue;
        lbPliki->Items()->Add(line);
    }
    if (lbPliki->Count() == 0)
        RaiseErrorMessage("Nie ma żadnych plików do zaktualizowania!");

    for (int i = 0; i < lbPliki->Count(); ++i) {
        const std::string line = lbPliki->Items()->Strings(i);
        if (StartsWith(line, "<data>")) {
            lbData->SetCaption(ValuePart(line));
            continue;
        }
        if (StartsWith(line, "<info>")) {
            lbDataInfo->SetCaption(ValuePart(line));
            continue;
        }
        TUpdateFileLine file;
        if (!ParseUpdateFileLine(line, file))
            continue;
        auto data = std::make_unique<TStringList>();
        data->Add(file.LocalName);
        data->Add(file.ServerPath);
        fileDate_ = 0;
        httpHead->URL = Url("/" + file.ServerPath);
        try {
            httpHead->Head();
        } catch (const std::exception& e) {
            AppendLogLine(UpdateLog, std::string("ERROR: ") + e.what());
        }
        if (cancelled_)
            return false;
        lb->Items()->AddObject(UpdateItemText(file, fileDate_, lastUpdateDay_), data.get());
        itemData_.push_back(std::move(data));
    }
    return true;
}

void TeAutoAktualizacja::httpHeadHeaderData(TObject*)
{
    if (cancelled_)
        return;
    const std::string line = httpHead->LastLine();
    lbHttp->SetCaption(line);
    lbHttp->Repaint();
    if (!ContainsNoCase("Last-Modified", line))
        return;
    try {
        AppendLogLine(UpdateLog, "HEAD: " + line);
        fileDate_ = ParseLastModified(line);
        // The date is all the wizard asks; the request ends as aborted.
        httpHead->Abort();
    } catch (const std::exception&) {
        if (httpHead->StatusCode() != 404)
            throw Exception(httpHead->ReasonPhrase());
    }
}

// ---------------------------------------------------------------------------
// The files

void TeAutoAktualizacja::DownloadSelected()
{
    httpAkt->BodyStream = buffer_.get();
    bool any = false;
    SetRequestRunning(true);
    for (int i = 0; i < lb->Count() && !cancelled_; ++i) {
        try {
            if (!lb->Selected(i) || i >= static_cast<int>(itemData_.size()) || !itemData_[i] ||
                itemData_[i]->Count() < 2)
                continue;
            if (DownloadFile(itemData_[i]->Strings(0), itemData_[i]->Strings(1)))
                any = true;
        } catch (const std::exception&) {
            // One file that fails leaves the others to come.
        }
    }
    SetRequestRunning(false);
    BringToFront();
    SetModalResult(any ? mrOk : mrCancel);
}

bool TeAutoAktualizacja::DownloadFile(const std::string& LocalName, const std::string& ServerPath)
{
    bool saved = false;
    try {
        TMemoryStream* buffer = NewBuffer();
        HttpGet->URL = Url("/" + ServerPath);
        HttpGet->BodyStream = buffer;
        lbUrl->SetCaption(HttpGet->URL);
        lbNazwaPliku->SetCaption(GetProgramFolder() + LocalName);
        Application->ProcessMessages();
        if (cancelled_)
            return false;
        HttpGet->Tag = 0;
        HttpGet->GetAsync();
        while (HttpGet->Tag >= 0 && buffer_ && !cancelled_ && !Application->Terminated())
            Application->HandleMessage();
        saved = HttpGet->Tag == FileSaved;
    } catch (const std::exception&) {
        return false;
    }
    if (saved && AnsiLowerCase(ExtractFileExt(LocalName)) == ".exe") {
        try {
            const std::string folder = GetProgramFolder();
            WriteRegString(1, RunOnceKey, LocalName, RunOnceCommand(folder, LocalName));
            ShowWarning(folder + LocalName + "\r\nTen plik EXE zostanie zaktualizowany przy następnym uruchomieniu "
                                             "Windows.\r\nZamknij wszystkie programy, zakończ pracę komputera i "
                                             "uruchom go jeszcze raz!");
        } catch (const std::exception&) {
            // The file is there; only the reminder failed.
        }
    }
    return saved;
}

void TeAutoAktualizacja::HttpGetRequestDone(TObject*, THttpRequest, WORD Error)
{
    // After Anuluj nothing of the request is looked at: no buffer, no file.
    if (cancelled_)
        return;
    SetEnabled(true);
    const std::int64_t size = buffer_ ? buffer_->Size() : 0;
    lbGot->SetCaption(Format("%.3f kB", size / 1000.0));
    try {
        if (Error != 0)
            RaiseErrorMessage(IntToStr(Error) + ": Nie udało się pobrać danych!");
        if (size == 0)
            RaiseErrorMessage(InvalidData);
        const std::string target = lbNazwaPliku->Caption();
        std::string copy;
        // An empty file holds nothing to keep (and the LZ copy refuses it).
        if (FileExists(target) && GetFileSizeBytes(target) != 0) {
            copy = MakeBackupCopy(target);
            if (copy.empty())
                RaiseErrorMessage("Nie udało się wykonać kopii zapasowej pliku " + target +
                                  "\r\nAktualizacja przerwana!");
        }
        buffer_->SaveToFile(target);
        std::string message = "Pobrałem plik " + Format("OK: %s, %.3f kB", target, size / 1000.0) +
                              "\r\nUruchom program ponownie, aby zobaczyć zmiany.";
        if (!copy.empty())
            message += "\r\n\r\nW razie błędu masz na dysku kopię zapasową w pliku " + copy;
        ShowWarning(message);
        HttpGet->Tag = FileSaved;
    } catch (const std::exception& e) {
        RequestFailed(HttpGet, e.what());
        if (HttpGet->Tag >= 0)
            HttpGet->Tag = FileFailed;
    }
}

// ---------------------------------------------------------------------------

const TClassInfo& TeAutoAktualizacja::StaticClass()
{
    using T = TeAutoAktualizacja;
    static const TClassInfo info(
        "TeAutoAktualizacja", &TForm::StaticClass(), nullptr,
        {
            PublishComponent<&T::wt, &T::wt>("wt"),
            PublishComponent<&T::nb, &T::nb>("nb"),
            PublishComponent<&T::PageManager1, &T::PageManager1>("PageManager1"),
            PublishComponent<&T::bAnuluj, &T::bAnuluj>("bAnuluj"),
            PublishComponent<&T::bPrev, &T::bPrev>("bPrev"),
            PublishComponent<&T::bNext, &T::bNext>("bNext"),
            PublishComponent<&T::httpAkt, &T::httpAkt>("httpAkt"),
            PublishComponent<&T::HttpGet, &T::HttpGet>("HttpGet"),
            PublishComponent<&T::httpHead, &T::httpHead>("httpHead"),
            PublishComponent<&T::fs, &T::fs>("fs"),
            PublishComponent<&T::lbPliki, &T::lbPliki>("lbPliki"),
            PublishComponent<&T::eNazwa, &T::eNazwa>("eNazwa"),
            PublishComponent<&T::lbOStatniaAkt, &T::lbOStatniaAkt>("lbOStatniaAkt"),
            PublishComponent<&T::cbProxy, &T::cbProxy>("cbProxy"),
            PublishComponent<&T::eProxy, &T::eProxy>("eProxy"),
            PublishComponent<&T::eProxyUsername, &T::eProxyUsername>("eProxyUsername"),
            PublishComponent<&T::eProxyPassword, &T::eProxyPassword>("eProxyPassword"),
            PublishComponent<&T::eProxyPort, &T::eProxyPort>("eProxyPort"),
            PublishComponent<&T::lbNazwa, &T::lbNazwa>("lbNazwa"),
            PublishComponent<&T::aniSzukaj, &T::aniSzukaj>("aniSzukaj"),
            PublishComponent<&T::lbInfo, &T::lbInfo>("lbInfo"),
            PublishComponent<&T::lbHttp, &T::lbHttp>("lbHttp"),
            PublishComponent<&T::lbData, &T::lbData>("lbData"),
            PublishComponent<&T::lbDataInfo, &T::lbDataInfo>("lbDataInfo"),
            PublishComponent<&T::lb, &T::lb>("lb"),
            PublishComponent<&T::vlWErsja, &T::vlWErsja>("vlWErsja"),
            PublishComponent<&T::vlData, &T::vlData>("vlData"),
            PublishComponent<&T::lbNazwaPliku, &T::lbNazwaPliku>("lbNazwaPliku"),
            PublishComponent<&T::lbUrl, &T::lbUrl>("lbUrl"),
            PublishComponent<&T::lbGot, &T::lbGot>("lbGot"),
            PublishComponent<&T::pb, &T::pb>("pb"),
            PublishComponent<&T::aniKomputer, &T::aniKomputer>("aniKomputer"),
            PublishComponent<&T::lbGet, &T::lbGet>("lbGet"),
        },
        {
            PublishHandler<&T::FormCreate>("FormCreate"),
            PublishHandler<&T::FormShow>("FormShow"),
            PublishHandler<&T::FormDestroy>("FormDestroy"),
            PublishHandler<&T::nbPageChanged>("nbPageChanged"),
            PublishHandler<&T::PageManager1GetPriorPage>("PageManager1GetPriorPage"),
            PublishHandler<&T::PageManager1GetNextPage>("PageManager1GetNextPage"),
            PublishHandler<&T::bNextClick>("bNextClick"),
            PublishHandler<&T::bAnulujClick>("bAnulujClick"),
            PublishHandler<&T::setProxy>("setProxy"),
            PublishHandler<&T::httpAktCommand>("httpAktCommand"),
            PublishHandler<&T::httpAktDocData>("httpAktDocData"),
            PublishHandler<&T::httpAktRequestDone>("httpAktRequestDone"),
            PublishHandler<&T::httpHeadHeaderData>("httpHeadHeaderData"),
            PublishHandler<&T::HttpGetRequestDone>("HttpGetRequestDone"),
        });
    return info;
}

const TClassInfo* TeAutoAktualizacja::ClassInfo() const
{
    return &StaticClass();
}

// ---------------------------------------------------------------------------

bool RunInternetUpdate(const std::string& CodeName)
{
    try {
        if (MakeCabBackup(CodeName, ParamStr(0), false))
            ShowWarning("Wykonałem kopię zapasową programu.\r\nW razie potrzeby będziesz mógł łatwo odtworzyć dane i "
                        "sam program.\r\n" +
                        LastBackupFile);
        else if (!ShowWarning("Niestety, nie udało się wykonać kopii zapasowej.\r\nMożesz kontynuować na własne "
                              "ryzyko."))
            return false;
    } catch (const std::exception&) {
        // Whatever went wrong with the backup, the update itself may go on.
    }

    auto* form = TForm::Create<TeAutoAktualizacja>(nullptr);
    bool result = false;
    try {
        form->eNazwa->SetText(CodeName);
        form->UpdateHost = ReadUpdateHost(CodeName);
        form->httpAkt->URL = "http://" + form->UpdateHost + "/" + ListFileName;
        form->httpAkt->Agent = "VI2000 " + CodeName;
        form->httpAkt->Sender = CodeName;
        result = form->ShowModal() == mrOk;
        if (result)
            WriteSettingString(CodeName, LastUpdateValue, IntToStr(static_cast<long long>(Date())));
    } catch (...) {
        form->Free();
        throw;
    }
    form->Free();
    if (result)
        ShowWarning("Jak najszybciej zamknij program i uruchom Windows ponownie, aby zobaczyć efekty wprowadzonych "
                    "zmian.");
    return result;
}

void AutoaktStartup()
{
    PageMngrStartup();
    WizardTreeStartup();
    InitVersLabUnit();
    EnhGBStartup();
    RegisterComponentClass(TeAutoAktualizacja::StaticClass());
}
