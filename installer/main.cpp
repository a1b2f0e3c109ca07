#include "installer/main.h"

#include <climits>
#include <cstring>

#include "classlib/Dialogs.h"
#include "classlib/Stopwatch.h"
#include "classlib/TypInfo.h"
#include "classlib/WinHandles.h"
#include "common/QmxReg.h"
#include "common/QmxUtil.h"
#include "components/FileUtil.h"
#include "installer/SysErrors.h"

TeMain* eMain = nullptr;

namespace {

constexpr int PageKopiowanie = 7;
constexpr int PageKoniec = 8;
constexpr TCursor crQmxWork = 211;
// A frame of a slow screen (25 a second): how often the install run lets
// its window catch up (repainting and moving the bar for every entry costs
// more than the shell's copy of a small file), and how long page 6's list
// box takes lines without showing them.
constexpr ULONGLONG FrameMs = 40;
// Posted to the window by its showing: the medium is read once the window
// is on screen.
constexpr UINT ReadMediumMessage = WM_APP + 1;

const char* const RunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char* const UninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const char* const UninstallQmxKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\QMX";

bool EndsWithExe(const std::string& path)
{
    return AnsiLowerCase(ExtractFileExt(path)) == ".exe";
}

// Whether the file may carry a version resource: a program image ("MZ") or
// one packed by the system's expander ("SZDD"). Reading the version of
// every data file of an installation costs more than looking at its first
// bytes; a file that cannot be looked at is left to the version reader.
bool MayHoldVersionInfo(const std::string& path)
{
    if (IsDeviceName(path))
        return false;
    TFileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid())
        return true;
    char head[4] = {};
    DWORD read = 0;
    if (!ReadFile(file.Get(), head, sizeof head, &read, nullptr))
        return true;
    return (read >= 2 && head[0] == 'M' && head[1] == 'Z') || (read == 4 && std::memcmp(head, "SZDD", 4) == 0);
}

// Sets a copied file's attributes to normal (a file copied from a
// write-protected medium comes read-only, a fresh copy carries the archive
// mark); a missing file is left alone, and one already normal is not touched.
void SetNormalAttributes(const std::string& path)
{
    if (IsDeviceName(path))
        return;
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY) &&
        attributes != FILE_ATTRIBUTE_NORMAL)
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// The summary goes into the rich edit, each line in the attributes given.
class TRichEditSink : public TSummarySink {
public:
    explicit TRichEditSink(TRichEdit* re) : re_(re) {}
    void AddLine(const std::string& Text, TFontStyles Style, TColor Color) override
    {
        re_->SetSelStart(INT_MAX);
        re_->SelAttributes()->SetStyle(Style);
        re_->SelAttributes()->SetColor(Color);
        re_->SetSelText(Text + "\r\n");
    }
    void MissingFile(const std::string& SourcePath) override { ShowMessage("Plik nie istnieje.\n" + SourcePath); }

private:
    TRichEdit* re_;
};

} // namespace

TeMain::TeMain(TComponent* owner) : TForm(owner) {}

TeMain::~TeMain() = default;

const TClassInfo& TeMain::StaticClass()
{
    static const TClassInfo info(
        "TeMain", &TForm::StaticClass(), nullptr,
        {
            PublishComponent<&TeMain::wt, &TeMain::wt>("wt"),
            PublishComponent<&TeMain::lbInfo, &TeMain::lbInfo>("lbInfo"),
            PublishComponent<&TeMain::bAnuluj, &TeMain::bAnuluj>("bAnuluj"),
            PublishComponent<&TeMain::bWstecz, &TeMain::bWstecz>("bWstecz"),
            PublishComponent<&TeMain::bDalej, &TeMain::bDalej>("bDalej"),
            PublishComponent<&TeMain::nb, &TeMain::nb>("nb"),
            PublishComponent<&TeMain::vlWersja, &TeMain::vlWersja>("vlWersja"),
            PublishComponent<&TeMain::vlData, &TeMain::vlData>("vlData"),
            PublishComponent<&TeMain::rbPelna, &TeMain::rbPelna>("rbPelna"),
            PublishComponent<&TeMain::rbNietypowa, &TeMain::rbNietypowa>("rbNietypowa"),
            PublishComponent<&TeMain::lbListaProgramow, &TeMain::lbListaProgramow>("lbListaProgramow"),
            PublishComponent<&TeMain::qmxUserData1, &TeMain::qmxUserData1>("qmxUserData1"),
            PublishComponent<&TeMain::de, &TeMain::de>("de"),
            PublishComponent<&TeMain::lv, &TeMain::lv>("lv"),
            PublishComponent<&TeMain::cbSkrotyNaPulpicie, &TeMain::cbSkrotyNaPulpicie>("cbSkrotyNaPulpicie"),
            PublishComponent<&TeMain::cbSkrotyWMenuStart, &TeMain::cbSkrotyWMenuStart>("cbSkrotyWMenuStart"),
            PublishComponent<&TeMain::cbAutoRun, &TeMain::cbAutoRun>("cbAutoRun"),
            PublishComponent<&TeMain::cbAutoReplace, &TeMain::cbAutoReplace>("cbAutoReplace"),
            PublishComponent<&TeMain::cbCzcionki, &TeMain::cbCzcionki>("cbCzcionki"),
            PublishComponent<&TeMain::cbComCtl, &TeMain::cbComCtl>("cbComCtl"),
            PublishComponent<&TeMain::re, &TeMain::re>("re"),
            PublishComponent<&TeMain::lbPliki, &TeMain::lbPliki>("lbPliki"),
            PublishComponent<&TeMain::p3, &TeMain::p3>("p3"),
            PublishComponent<&TeMain::lbNazwa, &TeMain::lbNazwa>("lbNazwa"),
            PublishComponent<&TeMain::lbSource, &TeMain::lbSource>("lbSource"),
            PublishComponent<&TeMain::lbDest, &TeMain::lbDest>("lbDest"),
            PublishComponent<&TeMain::pgPliki, &TeMain::pgPliki>("pgPliki"),
            PublishComponent<&TeMain::mKoniec, &TeMain::mKoniec>("mKoniec"),
            PublishComponent<&TeMain::bRestart, &TeMain::bRestart>("bRestart"),
            PublishComponent<&TeMain::bZakoncz, &TeMain::bZakoncz>("bZakoncz"),
            PublishComponent<&TeMain::pm, &TeMain::pm>("pm"),
            PublishComponent<&TeMain::FileSearch1, &TeMain::FileSearch1>("FileSearch1"),
            PublishComponent<&TeMain::fo, &TeMain::fo>("fo"),
            PublishComponent<&TeMain::ExecFile1, &TeMain::ExecFile1>("ExecFile1"),
            PublishComponent<&TeMain::PBShellLink1, &TeMain::PBShellLink1>("PBShellLink1"),
            PublishComponent<&TeMain::vi, &TeMain::vi>("vi"),
        },
        {
            PublishHandler<&TeMain::FormCreate>("FormCreate"),
            PublishHandler<&TeMain::FormShow>("FormShow"),
            PublishHandler<&TeMain::FormDestroy>("FormDestroy"),
            PublishHandler<&TeMain::FormCloseQuery>("FormCloseQuery"),
            PublishHandler<&TeMain::nbPageChanged>("nbPageChanged"),
            PublishHandler<&TeMain::pmGetNextPage>("pmGetNextPage"),
            PublishHandler<&TeMain::pmGetPriorPage>("pmGetPriorPage"),
            PublishHandler<&TeMain::deChange>("deChange"),
            PublishHandler<&TeMain::bAnulujClick>("bAnulujClick"),
            PublishHandler<&TeMain::bZakonczClick>("bZakonczClick"),
            PublishHandler<&TeMain::bRestartClick>("bRestartClick"),
            PublishHandler<&TeMain::FileSearch1FileFind>("FileSearch1FileFind"),
            PublishHandler<&TeMain::FileSearch1Finish>("FileSearch1Finish"),
        });
    return info;
}

// ---------------------------------------------------------------------------
// Start and the search of the medium.

void TeMain::FormCreate(TObject*)
{
    installList_ = new TStringList;
    // Until the medium is read there is nothing to choose from.
    busy_ = true;
    Screen->SetCursor(crAppStart);
    sourceFolder_ = SourceFolderFrom(ParamCount() >= 1 ? ParamStr(1) : std::string(), GetProgramFolder());

    pm->GoToPage(0, false);
    nb->SetPageIndex(0);
    nbPageChanged(nullptr);
    deChange(nullptr);
}

void TeMain::deChange(TObject*)
{
    destinationFolder_ = de->Text();
    AddBackslash(destinationFolder_);
    WriteInstallerKey(ParamStr(0), sourceFolder_, destinationFolder_);
}

void TeMain::FormShow(TObject*)
{
    SetLeft(Screen->Width() - Width() - 32);
    SetTop(Screen->Height() - Height() - 32);
    pcChange();
    Screen->SetCursor(crDefault);
    Screen->SetCursor(crHourGlass);
    // The window shows when this handler returns; a long medium is read
    // with it on screen rather than before it appears.
    PostMessageA(Handle(), ReadMediumMessage, 0, 0);
}

void TeMain::Dispatch(TMessage& m)
{
    if (m.Msg == ReadMediumMessage) {
        ReadMedium();
        return;
    }
    TForm::Dispatch(m);
}

void TeMain::ReadMedium()
{
    // Painted before the first description file is opened.
    RedrawWindow(Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    StopwatchMark("main form painted");
    // The list's window is made now, while it is empty: the rows go into it
    // as they are read, with the window answering between them, rather than
    // all at once, with nothing answering, when page 4 first shows.
    lv->HandleNeeded();
    FileSearch1->SetSearchFile(sourceFolder_ + DescriptionFileName);
    FileSearch1->RecurseSubFolders = true;
    try {
        FileSearch1->Execute();
        while (!FileSearch1->Stop && !Application->Terminated())
            Application->ProcessMessages();
    } catch (...) {
        // The wizard is not left held by a failure.
        SetBusy(false);
        throw;
    }
    SetBusy(false);
    StopwatchMark("medium read");
}

void TeMain::SetBusy(bool busy)
{
    if (busy && !busy_)
        busyFocus_ = GetFocus();
    busy_ = busy;
    const int page = pm->CurrentPage();
    bWstecz->SetEnabled(pm->PriorPageIndex(page) >= 0);
    bDalej->SetEnabled(pm->NextPageIndex(page) >= 0);
    // A button disabled with the focus lost it: it takes it back, unless the
    // user went elsewhere meanwhile.
    if (!busy && busyFocus_ && !GetFocus() && GetActiveWindow() == Handle() && IsWindowEnabled(busyFocus_) &&
        IsWindowVisible(busyFocus_))
        ::SetFocus(busyFocus_);
    if (!busy)
        busyFocus_ = nullptr;
}

void TeMain::FileSearch1FileFind(const std::string& Path, const TSearchRec& SearchRec)
{
    // A long description file is read, and its rows listed, with the window
    // answering once a frame; the program's end stops the search.
    TFramePacer pacer;
    auto goOn = [this, &pacer] {
        if (pacer.Continue())
            return true;
        FileSearch1->Stop = true;
        return false;
    };
    const size_t first = apps_.size();
    ReadDescriptionFile(Path, SearchRec.Name, sourceFolder_, apps_, goOn);
    lv->Items()->BeginUpdate();
    for (size_t i = first; i < apps_.size() && goOn(); ++i) {
        TInstallApp& app = *apps_[i];
        TListItem* item = lv->Items()->Add();
        item->SetCaption(app.Nazwa);
        item->SetChecked(true);
        item->SubItems()->Add(app.Rozmiar);
        item->SubItems()->Add(app.Katalog);
        item->SubItems()->Add(app.Info);
        item->SubItems()->Add(app.Lokalizacja);
        item->SetData(&app);
    }
    lv->Items()->EndUpdate();
}

void TeMain::FileSearch1Finish(TObject*)
{
    Screen->SetCursor(crDefault);
    FileSearch1->Stop = true;
}

void TeMain::FormDestroy(TObject*)
{
    delete installList_;
    installList_ = nullptr;
}

// ---------------------------------------------------------------------------
// Navigation.

void TeMain::pmGetNextPage(int CurrentPage, int& NewPage)
{
    if (busy_)
        NewPage = -1;
    else
        GetNextPage(rbPelna->Checked(), CurrentPage, NewPage);
}

void TeMain::pmGetPriorPage(int CurrentPage, int& NewPage)
{
    if (busy_)
        NewPage = -1;
    else
        GetPriorPage(rbPelna->Checked(), CurrentPage, NewPage);
}

void TeMain::nbPageChanged(TObject* Sender)
{
    const int page = nb->PageIndex();
    if (page >= 0 && page < nb->Pages()->Count())
        lbInfo->SetCaption(nb->Pages()->Strings(page));
    wt->SetItemIndex(page);
    if (Sender)
        pcChange();
}

void TeMain::pcChange()
{
    const int page = nb->PageIndex();
    bWstecz->SetVisible(page >= 0 && page <= PagePodsumowanie);
    bDalej->SetVisible(page != PageKopiowanie);
    if (page == 1) {
        // Each name once, in the list's order: looked up among those taken
        // in a sorted list (not in the list box, which is asked for every
        // line each time), and handed to the list box in one go.
        TStringList names;
        TStringList taken;
        taken.SetSorted(true);
        for (int i = 0; i < lv->Items()->Count(); ++i) {
            TListItem* item = lv->Items()->Item(i);
            int at = 0;
            if (item->Checked() && item->Data() && !taken.Find(item->Caption(), at)) {
                taken.Add(item->Caption());
                names.Add(item->Caption());
            }
        }
        lbListaProgramow->Items()->Assign(&names);
    } else if (page == PagePodsumowanie) {
        Screen->SetCursor(crQmxWork);
        BuildInstallList();
    } else if (page == PageKopiowanie) {
        RunInstallation();
    }
    Screen->SetCursor(crDefault);
}

void TeMain::FormCloseQuery(TObject*, bool& CanClose)
{
    if (nb->PageIndex() == PageKoniec) {
        CanClose = true;
        return;
    }
    CanClose = MessageDlg("Czy chcesz przerwać instalowanie?", mtWarning, TMsgDlgButtons{mbNo, mbAbort}, 0) ==
               mrAbort;
}

void TeMain::bAnulujClick(TObject*)
{
    Close();
}

void TeMain::bZakonczClick(TObject*)
{
    Close();
}

void TeMain::bRestartClick(TObject*)
{
    RestartWindows();
}

// ---------------------------------------------------------------------------
// Install list and summary.

TInstallOptions TeMain::Options() const
{
    TInstallOptions o;
    o.SkrotyNaPulpicie = cbSkrotyNaPulpicie->Checked();
    o.SkrotyWMenuStart = cbSkrotyWMenuStart->Checked();
    o.AutoRun = cbAutoRun->Checked();
    o.AutoReplace = cbAutoReplace->Checked();
    o.Czcionki = cbCzcionki->Checked();
    o.ComCtl = cbComCtl->Checked();
    return o;
}

void TeMain::BuildInstallList()
{
    // A long medium's list and summary are built with the window answering
    // once a frame, the wizard held on this page; the program's end stops
    // the building.
    SetBusy(true);
    TFramePacer pacer;
    for (int i = 0; i < lv->Items()->Count(); ++i) {
        TListItem* item = lv->Items()->Item(i);
        if (auto* app = static_cast<TInstallApp*>(item->Data()))
            app->Zaznaczona = item->Checked();
    }
    try {
        lbPliki->Items()->Clear();
        ::BuildInstallList(
            apps_, sourceFolder_, destinationFolder_, *installList_,
            [](const std::string& Line, const std::string& Error) { ShowMessage(Error + "\n" + Line); },
            [&pacer] { return pacer.Continue(); });
        if (!Application->Terminated())
            FillFileList(pacer);
        if (!Application->Terminated())
            BuildSummary(pacer);
    } catch (...) {
        // The wizard is not left held by a failure.
        SetBusy(false);
        throw;
    }
    SetBusy(false);
}

void TeMain::FillFileList(TFramePacer& pacer)
{
    // A frame's worth of lines at a time, the list box holding its redrawing
    // meanwhile: one that shows every line as it comes costs milliseconds a
    // line under Wine.
    TStrings* lines = lbPliki->Items();
    for (int i = 0; i < installList_->Count() && pacer.Continue();) {
        const ULONGLONG start = GetTickCount64();
        lines->BeginUpdate();
        do
            lines->Add(installList_->Strings(i++));
        while (i < installList_->Count() && GetTickCount64() - start < FrameMs);
        lines->EndUpdate();
    }
}

void TeMain::BuildSummary(TFramePacer& pacer)
{
    Screen->SetCursor(crHourGlass);
    re->SelAttributes()->SetStyle({fsBold});
    re->SetText("Poczekaj aż trochę pomyślę...");
    Repaint();
    re->Clear();
    TRichEditSink sink(re);
    try {
        ::BuildSummary(*installList_, Options(), *vi, sink, [&pacer] { return pacer.Continue(); });
    } catch (const Exception& e) {
        ShowMessage(e.Message());
    }
    Screen->SetCursor(crDefault);
}

// ---------------------------------------------------------------------------
// The install run.

bool TeMain::RunAborted() const
{
    return Application->Terminated();
}

void TeMain::AppendReportLine(const std::string& Entry)
{
    report_.Append(destinationFolder_ + ReportFileName, Entry);
}

void TeMain::RunInstallation()
{
    StopwatchMark("install run begins");
    running_ = true;
    Screen->SetCursor(crHourGlass);
    pgPliki->SetMax(installList_->Count());
    // The bar keeps every position it is given and shows it when the window
    // catches up (PaintRun).
    pgPliki->BeginUpdate();
    lastPaint_ = GetTickCount64();
    for (int i = 0; i < installList_->Count() && !RunAborted(); ++i) {
        const std::string entry = installList_->Strings(i);
        try {
            InstallEntry(i, entry);
        } catch (const std::exception& e) {
            RunMessage(std::string(e.what()) + "\n" + entry);
        }
    }
    PaintRun(true);
    pgPliki->EndUpdate();
    report_.Close();
    StopwatchMark("install entries done");
    Screen->SetCursor(crDefault);
    if (RunAborted()) {
        // The user closed the window: nothing more is started, and the
        // message loop ends the program the ordinary way.
        running_ = false;
        return;
    }

    fo->Flags = TFileOpFlags{fofNoConfirmation, fofSilent};
    for (const char* name : {"tahoma.ttf", "tahomabd.ttf"}) {
        fo->FilesFrom = sourceFolder_ + name;
        fo->FilesTo = destinationFolder_ + name;
        if (!FileExists(fo->FilesTo))
            fo->Execute();
    }
    WriteRegString(1, "Software\\QMX", "Czcionki", destinationFolder_);

    if (cbCzcionki->Checked() && !RunAborted())
        RunSetupProgram("newfnt32.exe", "Nie udało się zainstalować nowych czcionek! :-(");
    if (cbComCtl->Checked() && !RunAborted())
        RunSetupProgram("40comUpd.exe", "Nie udało się zainstalować nowych bibliotek systemowych! :-(");
    running_ = false;
    if (RunAborted())
        return;
    pm->GoToPage(nb->PageIndex() + 1, true);
    p3->Show();
    StopwatchMark("finish page shown");
}

void TeMain::PaintRun(bool now)
{
    if (!now && GetTickCount64() - lastPaint_ < FrameMs)
        return;
    pgPliki->EndUpdate();
    Repaint();
    pgPliki->BeginUpdate();
    lastPaint_ = GetTickCount64();
}

void TeMain::RunMessage(const std::string& Text)
{
    PaintRun(true);
    StopwatchMark("message box shown");
    ShowMessage(Text);
    StopwatchMark("message box answered");
}

void TeMain::RunSetupProgram(const std::string& Name, const std::string& FailText)
{
    p3->Hide();
    // Quoted: a medium whose path holds a blank would start another program.
    ExecFile1->SetCommandLine("\"" + sourceFolder_ + Name + "\"");
    ExecFile1->SetParameters("/r:n /q:1");
    if (!ExecFile1->Execute())
        ShowMessage(FailText);
}

void TeMain::InstallEntry(int Index, const std::string& Entry)
{
    PaintRun(false);
    const std::string nazwa = NthField(EntrySeparator, 1, Entry);
    const std::string source = NthField(EntrySeparator, 2, Entry);
    const std::string dest = NthField(EntrySeparator, 3, Entry);
    if (!FileExists(source)) {
        RunMessage("Plik nie istnieje.\n" + source);
        return;
    }
    lbNazwa->SetCaption(nazwa);
    lbSource->SetCaption(source);
    lbDest->SetCaption(dest);
    pgPliki->SetPosition(Index);

    fo->Flags = TFileOpFlags{fofAllowUndo, fofNoConfirmMkDir, fofSilent};
    if (cbAutoReplace->Checked())
        fo->Flags = fo->Flags + fofNoConfirmation;
    fo->FilesFrom = source;
    fo->FilesTo = dest;
    fo->ProgressTitle = nazwa;
    // The shell's question shows this entry.
    if (fo->MayAsk())
        PaintRun(true);
    SetLastError(0);
    const bool copied = fo->Execute();
    // The shell's operation often leaves no last error: its own result code
    // tells then what went wrong.
    const DWORD lastError = GetLastError();
    // A copy the user declined or cancelled in the shell's own question is
    // no failure to report.
    if (!copied && !fo->Cancelled() && !fo->Declined())
        RunMessage(ShellErrorMessage(lastError, fo->ResultCode()));
    SetNormalAttributes(dest);
    // A declined replacement keeps the old file and counts as installed; a
    // failed copy or a cancelled one left nothing to record.
    if (!fo->Declined() && (!copied || fo->Cancelled()))
        return;
    AppendReportLine(ReportEntry("FILECOPY", nazwa, source, dest));

    std::string autoRun;
    bool uninstaller = false;
    if (MayHoldVersionInfo(dest)) {
        vi->SetFilename(dest);
        autoRun = vi->GetValue("AutoRun");
        uninstaller = !vi->GetValue("Uninstaller").empty();
    }
    if (cbAutoRun->Checked() && !autoRun.empty()) {
        WriteRegString(1, RunKey, autoRun, dest + " /auto");
        AppendReportLine(ReportEntry("AUTORUN", nazwa, source, dest));
        mKoniec->Lines()->Add(Format("%s będzie uruchamiał się automatycznie na starcie Windows.", nazwa));
    }
    if (uninstaller) {
        WriteRegString(2, UninstallQmxKey, "DisplayName", "Velmora™");
        WriteRegString(2, UninstallQmxKey, "UninstallString", dest);
        AppendReportLine(ReportEntry("UNINSTALLER", nazwa, source, dest));
        mKoniec->Lines()->Add(Format("Aby usunąć któryś z naszych programów, uruchom program %s albo wybierz z Panelu "
                                     "Sterowania opcję Dodaj/Usuń programy.",
                                     nazwa));
    }
    if (!EndsWithExe(dest))
        return;
    const std::string program = ExtractFileName(dest);
    std::string day;
    ReadRegValue(2, UninstallKey, program, day, "");
    if (day.empty())
        WriteRegString(2, UninstallKey, program, TodayDayNumber());
    if (uninstaller)
        return;
    if (cbSkrotyNaPulpicie->Checked())
        MakeShortcut(sfDesktop, nazwa, source, dest);
    if (cbSkrotyWMenuStart->Checked())
        MakeShortcut(sfStartMenu, nazwa, source, dest);
}

void TeMain::MakeShortcut(TShellFolder Folder, const std::string& Nazwa, const std::string& Source,
                          const std::string& Dest)
{
    try {
        PBShellLink1->SetFileName("");
        PBShellLink1->Description = NthField('(', 1, Nazwa);
        PBShellLink1->Target = Dest;
        PBShellLink1->WorkingDir = ExtractFileDir(Dest);
        PBShellLink1->FileIcon()->FileName = Dest;
        PBShellLink1->SetShellFolder(Folder);
        PBShellLink1->SetFileName(PBShellLink1->FileName() + PBShellLink1->Description + ".lnk");
        PBShellLink1->Save();
        AppendReportLine(ReportEntry("LINK", Nazwa, Source, Dest, PBShellLink1->FileName()));
    } catch (const std::exception& e) {
        RunMessage(std::string(e.what()) + "\n" + PBShellLink1->FileName());
    }
}
