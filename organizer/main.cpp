#include "organizer/main.h"

#include <windows.h>

#include <objbase.h>

#include <algorithm>
#include <cstdint>
#include <exception>

#include "classlib/CheckLst.h"
#include "classlib/ExtCtrls.h"
#include "classlib/Stopwatch.h"
#include "classlib/StdCtrls.h"
#include "classlib/TypInfo.h"
#include "classlib/WinHandles.h"
#include "common/QmxReg.h"
#include "common/AppName.h"
#include "common/HtmlDraw.h"
#include "common/QmxShell.h"
#include "common/QmxUtil.h"
#include "common/qmxWarningDialog.h"
#include "common/qmxcolorbutton.h"
#include "components/FileUtil.h"
#include "components/Placemnt.h"
#include "components/ShellLnk.h"
#include "grid/qmxUserData.h"
#include "organizer/FileUtil.h"
#include "organizer/apperase.h"
#include "organizer/autoakt.h"
#include "organizer/cabfiles.h"
#include "organizer/htmlabel.h"
#include "organizer/qmxbackup.h"
#include "organizer/qmxHTMlistbox.h"
#include "organizer/qmxTabSet.h"

TeMain* eMain = nullptr;

namespace {

const char TarvixKey[] = "Software\\QMX\\Tarvix";
// The organizer's file name in capitals: it names the update's settings and
// its section of the file list.
const char UpdateCodeName[] = "BRENNIK";
const char UninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\QMX";
const char SettingsKey[] = "Software\\QMX";
const char LongDateFormat[] = "dddd, d mmmmm yyyy, h:mm";
const int CursorApplications = 121;
const int CursorDataFiles = 111;
const int CursorBackups = 111;
const int CursorSave = 181;
const int CursorRead = 191;
const char BackupPattern[] = "qmxKopiaZap*.cab";
// Copies that the user made of a cabinet beside it.
const char BackupCopyPattern[] = "Kopia qmxKopiaZap*.cab";
// How many items the removal page's lists take at once (AddHeld), the
// window answering between: a program's name costs a fraction of a
// millisecond, a file's line tens of them (measuring it asks the shell for
// the file's icon).
const std::size_t ProgramsAtOnce = 50;
const std::size_t FilesAtOnce = 4;
// The same for the installed applications of page 0: reading one's version
// and date costs a few milliseconds.
const std::size_t ApplicationsAtOnce = 8;
// Posted by FormShow: fill the page in view, now that the window shows.
const UINT FillPageMessage = WM_APP + 1;

std::string IconTag(const std::string& path)
{
    return "<img src=\"ssys:" + path + "\">";
}

// A cabinet's stored names are whatever its maker wrote: a quote would end
// the anchor's href and a ":" would move its fields. Those characters (and
// "<", ">" and the escape "%" itself) travel as "%" and two hexadecimal
// digits; other names keep their plain "RESTORE:cabinet:entry" form.
std::string AnchorField(const std::string& text)
{
    static const char hex[] = "0123456789ABCDEF";
    std::string field;
    for (const char c : text) {
        if (c == '%' || c == '"' || c == ':' || c == '<' || c == '>') {
            field += '%';
            field += hex[static_cast<unsigned char>(c) >> 4];
            field += hex[static_cast<unsigned char>(c) & 15];
        } else {
            field += c;
        }
    }
    return field;
}

std::string FromAnchorField(const std::string& field)
{
    auto digit = [](char c) {
        if (c >= '0' && c <= '9')
            return c - '0';
        return c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
    };
    std::string text;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '%' && i + 2 < field.size() && digit(field[i + 1]) >= 0 && digit(field[i + 2]) >= 0) {
            text += static_cast<char>(digit(field[i + 1]) * 16 + digit(field[i + 2]));
            i += 2;
        } else {
            text += field[i];
        }
    }
    return text;
}

std::string RestoreAnchor(const std::string& cabinet, const std::string& entry)
{
    return "<a href=\"RESTORE:" + AnchorField(cabinet) + ":" + AnchorField(entry) + "\">Zapisz jako...</a>";
}

// Sets the screen's cursor for the scope and puts the default back after.
struct ScreenCursor {
    explicit ScreenCursor(TCursor cursor) { Screen->SetCursor(cursor); }
    ~ScreenCursor() { Screen->SetCursor(crDefault); }
    ScreenCursor(const ScreenCursor&) = delete;
    ScreenCursor& operator=(const ScreenCursor&) = delete;
};

bool StartsWithNoCase(const std::string& s, const std::string& prefix)
{
    return s.size() >= prefix.size() && EqualNoCase(s.substr(0, prefix.size()), prefix);
}

// Lets the window answer while a list fills item by item (a frame at a
// time), so the list shows itself growing and the user can close the window,
// change the page or start another fill meanwhile. Each fill of a list takes
// a new number from the list's counter; a fill that finds a newer number
// there, or the program ending, stops.
class TFillPacer {
public:
    explicit TFillPacer(int& counter) : counter_(counter), number_(++counter) {}

    // Handles what waits when it is time; false when the fill is to stop.
    bool Continue() { return frame_.Continue() && Newest(); }
    // No newer fill of the list began.
    bool Newest() const { return counter_ == number_; }

private:
    TFramePacer frame_;
    int& counter_;
    const int number_;
};

// Adds items to a list box with its drawing held: a list box on screen
// redraws its scroll bar for every item added, which under Wine costs about
// 12 ms an item. Drawn again afterwards where the new items show (the class
// library's EndUpdate draws the whole list, which for an HTML list costs
// far more than the items added).
void AddHeld(TCustomListBox* box, const std::vector<std::string>& texts)
{
    if (texts.empty())
        return;
    const int first = box->Count();
    SendMessageA(box->Handle(), WM_SETREDRAW, FALSE, 0);
    try {
        for (const std::string& text : texts)
            box->Items()->Add(text);
    } catch (...) {
        SendMessageA(box->Handle(), WM_SETREDRAW, TRUE, 0);
        box->Invalidate();
        throw;
    }
    SendMessageA(box->Handle(), WM_SETREDRAW, TRUE, 0);
    const RECT added{0, box->ItemRect(first).top, box->ClientWidth(), box->ClientHeight()};
    if (added.top < added.bottom)
        InvalidateRect(box->Handle(), &added, TRUE);
}

} // namespace

TeMain::TeMain(TComponent* owner) : TForm(owner) {}

TeMain::~TeMain() = default;

void TeMain::Loaded()
{
    TForm::Loaded();
    // The explanation beside the personal data is text to read, not a choice.
    HTMListbox1->SetSelectionInvisible(true);
}

void TeMain::FormShow(TObject*)
{
    // The page is filled once the window is on screen (see WndProc): a long
    // report is then read with the window shown and answering.
    ShowPageInView();
    PostMessageA(Handle(), FillPageMessage, 0, 0);
}

void TeMain::WndProc(TMessage& message)
{
    if (message.Msg == FillPageMessage) {
        // Painted first, then filled.
        Update();
        FillPageInView();
        return;
    }
    TForm::WndProc(message);
}

void TeMain::nbPageChanged(TObject*)
{
    // The caption and the tab first: a list that fills with the window
    // answering stands under the caption of its own page.
    ShowPageInView();
    FillPageInView();
}

void TeMain::ShowPageInView()
{
    if (TPage* page = nb->Page(nb->PageIndex()))
        lbCaption->SetCaption(page->Caption());
    // The tabs show the page in view, however the page was changed.
    ts->SetTabIndex(nb->PageIndex());
}

void TeMain::FillPageInView()
{
    switch (nb->PageIndex()) {
    case 0:
        FillApplicationsList();
        break;
    case 2:
        FillBackupList();
        break;
    case 3:
        FillDataFileList();
        break;
    case 4:
        FillRemoveList();
        break;
    default:
        // Page 1's grid keeps itself.
        break;
    }
}

void TeMain::FillApplicationsList()
{
    ScreenCursor cursor(CursorApplications);
    TFillPacer pacer(applicationsFill_);
    lbAplikacje->Clear();
    TStringList names;
    GetRegValueNames(2, QmxPathsKey, names);
    if (names.Count() == 0) {
        lbAplikacje->Items()->Add("Czyżbyś nie miał na dysku żadnych nasych programów? Niemożliwe...");
        lbAplikacje->SetEnabled(false);
        return;
    }
    const std::string ownPath = ParamStr(0);
    // Added a few at a time with the list's drawing held (AddHeld); what was
    // read before a fill ends unfinished is not wanted.
    std::vector<std::string> items;
    for (int i = 0; i < names.Count(); ++i) {
        if (items.size() >= ApplicationsAtOnce) {
            AddHeld(lbAplikacje, items);
            items.clear();
        }
        // The page is filled again whenever it is shown: a fill whose page
        // was left meanwhile ends.
        if (!pacer.Continue() || nb->PageIndex() != 0)
            return;
        try {
            std::string name = names.Strings(i);
            // Those values name data files, not programs.
            if (StartsWithNoCase(name, "tts"))
                continue;
            lbAplikacje->SetEnabled(true);
            TrimBlanks(name);
            std::string code = AnsiUpperCase(name);
            KeepLettersOnly(code);
            std::string path;
            ReadRegValue(2, QmxPathsKey, name, path, "");
            if (!FileExists(path) || ContainsNoCase("kelvor", path) || EqualNoCase(path, ownPath))
                continue;
            TNazwaAplikacji info;
            GetApplicationName(path, info);
            std::string date = FormatDateTimeEx(LongDateFormat, FileDateTime(path));
            items.push_back(IconTag(path) + name + " (" + code + ")<br>" + path + "<br>- wersja: " + info.Version +
                            " (" + info.Comments + ")<br>- zainstalowany " + date);
        } catch (const std::exception&) {
            // One unreadable entry must not hide the others.
        }
    }
    AddHeld(lbAplikacje, items);
    StopwatchMark("applications listed");
}

void TeMain::FillDataFileList()
{
    ScreenCursor cursor(CursorDataFiles);
    lbPlikiDanych->Clear();
    for (int i = 0; i < DataFileCount; ++i) {
        try {
            std::string path;
            GetDataFilePath(i, "", path);
            if (path.empty() || !FileExists(path))
                continue;
            lbPlikiDanych->Items()->Add(IconTag(path) + "<b>" + path + "</b><br>    " +
                                        SizeToText(FileSizeBySearch(path), true) + "<br>ostatnio zmodyfikowany: " +
                                        FormatDateTimeEx(LongDateFormat, FileDateTime(path)));
        } catch (const std::exception&) {
            // One unreadable entry must not hide the others.
        }
    }
}

bool TeMain::ParseInstallReport(const std::string& FileName, const std::function<bool()>& GoOn)
{
    std::vector<TReportProgram> programs;
    if (!ReadInstallReport(FileName, programs, GoOn))
        return false;
    lbUsun->SetEnabled(true);
    for (std::size_t first = 0; first < programs.size(); first += ProgramsAtOnce) {
        if (!GoOn())
            return false;
        const std::size_t end = std::min(programs.size(), first + ProgramsAtOnce);
        std::vector<std::string> names;
        for (std::size_t i = first; i < end; ++i)
            names.push_back(programs[i].Name);
        AddHeld(lbUsun, names);
        for (std::size_t i = first; i < end; ++i)
            programs_.push_back(std::move(programs[i]));
    }
    return true;
}

// The report is read, and its programs and the first one's files listed,
// with the window answering once a frame. A fill ends when a newer one
// begins, when the page is left (it is filled again whenever it is shown)
// and when the program ends. Removing waits until the page is whole: it
// counts the ticks of the whole list.
void TeMain::FillRemoveList()
{
    TFillPacer pacer(removalFill_);
    bool stopped = false;
    auto goOn = [&] {
        stopped = stopped || !pacer.Continue() || nb->PageIndex() != 4;
        return !stopped;
    };
    // A list of files under way shows a program that goes now.
    ++removalFilesFill_;
    programs_.clear();
    lbUsun->Clear();
    lbPliki->Clear();
    // Disabling the focused button takes the focus away: it comes back with
    // the button, unless another control took it meanwhile.
    const bool focused = bUsunProgramy->Focused();
    bUsunProgramy->SetEnabled(false);
    {
        ScreenCursor cursor(crHourGlass);
        ReadRegValue(1, TarvixKey, "Raport", reportPath_, "");
        const bool parsed = ParseInstallReport(reportPath_, goOn);
        if (stopped)
            return;
        if (!parsed) {
            lbUsun->Items()->Add("Nie można odinstalować żadnych plików.");
            lbUsun->SetEnabled(false);
        }
    }
    if (lbUsun->Count() > 0 && lbUsun->ItemIndex() < 0)
        lbUsun->SetItemIndex(0);
    lbUsunClick(nullptr);
    if (!pacer.Newest())
        return;
    bUsunProgramy->SetEnabled(true);
    if (focused && !GetFocus())
        bUsunProgramy->SetFocus();
}

// The selected program's files, listed with the window answering once a
// frame; a newer list of files, or a new fill of the page, ends this one.
void TeMain::lbUsunClick(TObject*)
{
    TFillPacer pacer(removalFilesFill_);
    lbPliki->Clear();
    const int index = lbUsun->ItemIndex();
    if (lbUsun->Enabled() && index >= 0 && index < static_cast<int>(programs_.size()) &&
        !programs_[index].Files.empty()) {
        // A copy: the page may be filled again while this list is made.
        const std::vector<std::string> files = programs_[index].Files;
        std::vector<std::string> items;
        for (std::size_t i = 0; i < files.size(); ++i) {
            if (!pacer.Continue())
                return;
            const std::string& path = files[i];
            items.push_back(IconTag(path) + path + "  - " + GetFileTypeName(path) + ", " +
                            SizeToText(GetFileSizeBytes(path), false));
            if (items.size() == FilesAtOnce || i + 1 == files.size()) {
                AddHeld(lbPliki, items);
                items.clear();
            }
        }
        return;
    }
    lbPliki->Items()->Add("<b>Nie ma plików do usunięcia!</b><br>\r\nPrawdopodobnie program został już usunięty.");
}

void TeMain::SetRemovalControls(bool enabled)
{
    ts->SetEnabled(enabled);
    lbUsun->SetEnabled(enabled);
    bUsunProgramy->SetEnabled(enabled);
    bUsunZRejestru->SetEnabled(enabled);
}

void TeMain::bUsunProgramyClick(TObject*)
{
    if (busy_)
        return;
    if (!ShowWarning("Jesteś pewien, że chcesz usunąć nasze programy?\r\nChcesz tego?"))
        return;
    if (ShowWarning("Może jednak przerwać?\r\nNaciśnij tym razem Anuluj, aby kontynuować."))
        return;

    std::int64_t freed = 0;
    bool allRemoved = lbUsun->Count() > 0;
    std::vector<std::string> files;
    for (int i = 0; i < lbUsun->Count(); ++i) {
        if (!lbUsun->Checked(i))
            allRemoved = false;
        else if (i < static_cast<int>(programs_.size()))
            files.insert(files.end(), programs_[i].Files.begin(), programs_[i].Files.end());
    }

    busy_ = true;
    SetRemovalControls(false);
    try {
        for (const std::string& f : files) {
            Application->ProcessMessages();
            if (!FileExists(f))
                continue;
            const std::int64_t size = GetFileSizeBytes(f);
            if (size <= 0)
                continue;
            if (DeleteFileA(f.c_str()))
                freed += size;
            else if (!ShowWarning("Nie udało się usunąć!\r\n" + f))
                allRemoved = false;
        }
    } catch (...) {
        busy_ = false;
        SetRemovalControls(true);
        throw;
    }
    busy_ = false;
    SetRemovalControls(true);

    if (freed > 0)
        ShowWarning(Format("Usunięto skróty i pliki. Zwolniło się dzięki temu %s miejsca. Na dysku pozostała jeszcze "
                           "domyślna struktura katalogów oraz Twoje ustawienia w Rejestrze Windows. Zalecamy ich "
                           "pozostawienie na wypadek, gdybyś niedługo znów instalował nasze programy.",
                           SizeToText(freed, false)));
    else
        ShowWarning("Nic nie usunięto.\r\nMoże nie było co usunąć?");
    if (allRemoved)
        RemoveSelf();
    nbPageChanged(nullptr);
}

void TeMain::RemoveSelf()
{
    if (!ShowWarning("Program konfiguracyjny zostanie za chwilę usunięty z systemu, bo już nie jest potrzebny."))
        return;
    DeleteFileA(reportPath_.c_str());
    DeleteRegKey(2, UninstallKey);
    ae->Files()->Clear();
    ae->Files()->Add(ExtractFileName(ParamStr(0)));
    ae->Path = GetProgramFolder();
    ae->Execute();
}

void TeMain::bUsunZRejestruClick(TObject*)
{
    if (busy_)
        return;
    if (!ShowWarning("Jesteś pewien, że chcesz usunąć wszystkie ustawienia konfiguracyjne?\r\n"
                     "Wszystkie nasze programy utracą swoje dane i zapomną ustawione opcje.\r\n"
                     "Chcesz tego?"))
        return;
    if (ShowWarning("Może jednak przerwać?\r\nNaciśnij tym razem Anuluj, aby kontynuować."))
        return;
    const bool ok = DeleteRegKey(1, SettingsKey) && DeleteRegKey(2, SettingsKey);
    ShowWarning(ok ? "Usunięto wpisy konfiguracyjne." : "Nie udało się usunąć.");
}

void TeMain::FileSearch1FileFind(const std::string& FileName)
{
    lbZawartoscCaba->Items()->Add(FileName);
}

void TeMain::bKopiaZapasowaClick(TObject*)
{
    MakeCabBackup("", "", true);
    FillBackupList();
}

void TeMain::FillBackupList()
{
    ScreenCursor cursor(CursorBackups);
    TStringList names;
    names.SetSorted(true);
    names.SetDuplicates(dupIgnore);
    backupPaths_.clear();
    lbKopie->Clear();

    auto AddMatchingFiles = [&](const std::string& pattern) {
        const std::string folder = ExtractFilePath(pattern);
        for (TDirListing search(pattern); search.Found(); search.Next()) {
            const WIN32_FIND_DATAA& f = search.Data();
            if (f.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM))
                continue;
            names.Add(f.cFileName);
            // The backup folder is searched first and wins for a name found
            // in both folders.
            backupPaths_.emplace(AnsiUpperCase(f.cFileName), folder + f.cFileName);
        }
    };
    // Makes the backup folder the current one too, where the cabinet
    // library keeps its temporary files.
    const std::string backupFolder = GetBackupFolder();
    const std::string personal = GetPersonalFolder();
    AddMatchingFiles(backupFolder + BackupPattern);
    AddMatchingFiles(personal + BackupPattern);
    AddMatchingFiles(backupFolder + BackupCopyPattern);
    AddMatchingFiles(personal + BackupCopyPattern);

    for (int i = 0; i < names.Count(); ++i) {
        try {
            const std::string name = names.Strings(i);
            const std::string path = BackupPath(name);
            lbKopie->Items()->Add(name + "<br>" + IconTag(name) + GetFileTypeName(path) + ", " +
                                  SizeToText(GetFileSizeBytes(path), false) + "<br>- " +
                                  FormatDateTimeEx("d mmmmm yyyy, hh:mm", FileDateTime(path)));
        } catch (const std::exception&) {
            // One unreadable cabinet must not hide the others.
        }
    }
}

std::string TeMain::BackupPath(const std::string& name) const
{
    const auto found = backupPaths_.find(AnsiUpperCase(name));
    return found != backupPaths_.end() ? found->second : name;
}

std::string TeMain::SelectedBackup()
{
    if (lbKopie->Count() == 0)
        RaiseErrorMessage("Nie ma żadnych kopii!");
    const int index = lbKopie->ItemIndex();
    if (index < 0)
        RaiseErrorMessage("Zaznacz jakąś kopię!");
    const std::string item = lbKopie->Items()->Strings(index);
    return item.substr(0, item.find('<'));
}

void TeMain::bOdswiezListeKopiiClick(TObject*)
{
    FillBackupList();
    lbUsunClick(nullptr);
}

void TeMain::bPokazZawartosCabaClick(TObject*)
{
    TFillPacer pacer(contentsFill_);
    try {
        const std::string name = SelectedBackup();
        CABFile1->CABFile = BackupPath(name);
        CABFile1->ListContents();
        shownCabinet_ = CABFile1->CABFile;
        lbZawartoscCaba->Clear();
        // The items are made first: a restore started while the list fills
        // lists the cabinet component again.
        std::vector<std::string> items;
        TCABFileContents* contents = CABFile1->CABFileContents();
        for (int i = 0; i < contents->Count(); ++i) {
            const TCABFileEntry* entry = contents->Items(i);
            items.push_back("<b>" + TextAsHtml(entry->Name) + "</b><br>    " +
                            FormatDateTimeEx("d mmmmm yyyy, h:mm", entry->DateTime) + " - " +
                            SizeToText(entry->Size, false) + "<br>     " + RestoreAnchor(name, entry->Name));
        }
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (!pacer.Continue())
                return;
            lbZawartoscCaba->Items()->Add(items[i]);
        }
        StopwatchMark("cabinet contents listed");
    } catch (const std::exception& e) {
        lbZawartoscCaba->Items()->SetText(e.what());
    }
}

void TeMain::lbZawartoscCabaAnchorClick(TObject*, int, const std::string& Anchor)
{
    if (!StartsWithNoCase(Anchor, "Restore"))
        return;
    try {
        Screen->SetCursor(CursorRead);
        // The fields carry no ":" of their own (see AnchorField).
        const std::size_t first = Anchor.find(':');
        const std::size_t second = Anchor.find(':', first + 1);
        const std::string cabinet =
            FromAnchorField(Anchor.substr(first + 1, second == std::string::npos ? second : second - first - 1));
        const std::string entry = second == std::string::npos ? std::string() : FromAnchorField(Anchor.substr(second + 1));
        CABFile1->CABFile = BackupPath(cabinet);
        CABFile1->ListContents();
        if (!CABFile1->CABFileContents()->Find(entry))
            RaiseErrorMessage("Brak pliku w archiwum!\r\n" + entry);

        std::string target = GetProgramFolder();
        Screen->SetCursor(crDefault);
        {
            const TComLibrary com;
            if (!BrowseForFolder(target, "Wybierz docelową lokalizację dla pliku " + entry, 0))
                return;
        }

        Screen->SetCursor(CursorSave);
        AddBackslash(target);
        CABFile1->TargetPath = target;
        if (!CABFile1->ExtractFile(entry))
            RaiseErrorMessage("Nie udało się odtworzyć pliku!");
        ShowWarning("Odtworzyłem plik z archiw um\r\n" + cabinet + "\r\ndo docelowej lokalizacji\r\n" + target +
                    entry);
        Screen->SetCursor(crDefault);
    } catch (const std::exception& e) {
        Screen->SetCursor(crDefault);
        ShowWarning(e.what());
    }
}

void TeMain::bUsunKopieClick(TObject*)
{
    try {
        const std::string name = SelectedBackup();
        const std::string path = BackupPath(name);
        // OK, the countdown and a lost focus all keep the cabinet: only
        // Cancel deletes it.
        if (ShowWarning("Może jednak zostawić na dysku kopię zapasową\r\n" + name +
                        "?\r\nNaciśnij Anuluj, aby ją usunąć."))
            return;
        if (!DeleteFileA(path.c_str()))
            RaiseErrorMessage(SysErrorMessage(GetLastError()));
        if (EqualNoCase(path, shownCabinet_)) {
            // A fill of the list still under way ends.
            ++contentsFill_;
            lbZawartoscCaba->Clear();
            shownCabinet_.clear();
        }
        FillBackupList();
    } catch (const std::exception& e) {
        ShowWarning(e.what());
    }
}

void TeMain::bAktualizacjaClick(TObject*)
{
    RunInternetUpdate(UpdateCodeName);
}

const TClassInfo& TeMain::StaticClass()
{
    static const TClassInfo info(
        "TeMain", &TForm::StaticClass(), nullptr,
        {
            PublishComponent<&TeMain::lbCaption, &TeMain::lbCaption>("lbCaption"),
            PublishComponent<&TeMain::ts, &TeMain::ts>("ts"),
            PublishComponent<&TeMain::nb, &TeMain::nb>("nb"),
            PublishComponent<&TeMain::lbAplikacje, &TeMain::lbAplikacje>("lbAplikacje"),
            PublishComponent<&TeMain::lbOpisAplikacji, &TeMain::lbOpisAplikacji>("lbOpisAplikacji"),
            PublishComponent<&TeMain::bAktualizacjaInternetowa, &TeMain::bAktualizacjaInternetowa>(
                "bAktualizacjaInternetowa"),
            PublishComponent<&TeMain::qmxUserData1, &TeMain::qmxUserData1>("qmxUserData1"),
            PublishComponent<&TeMain::HTMListbox1, &TeMain::HTMListbox1>("HTMListbox1"),
            PublishComponent<&TeMain::bAktualizacja, &TeMain::bAktualizacja>("bAktualizacja"),
            PublishComponent<&TeMain::lbKopie, &TeMain::lbKopie>("lbKopie"),
            PublishComponent<&TeMain::bOdswiezListeKopii, &TeMain::bOdswiezListeKopii>("bOdswiezListeKopii"),
            PublishComponent<&TeMain::bPokazZawartoscCaba, &TeMain::bPokazZawartoscCaba>("bPokazZawartoscCaba"),
            PublishComponent<&TeMain::lbZawartoscCaba, &TeMain::lbZawartoscCaba>("lbZawartoscCaba"),
            PublishComponent<&TeMain::bUsunKopie, &TeMain::bUsunKopie>("bUsunKopie"),
            PublishComponent<&TeMain::bKopiaZapasowa, &TeMain::bKopiaZapasowa>("bKopiaZapasowa"),
            PublishComponent<&TeMain::lbPlikiDanych, &TeMain::lbPlikiDanych>("lbPlikiDanych"),
            PublishComponent<&TeMain::lbUsun, &TeMain::lbUsun>("lbUsun"),
            PublishComponent<&TeMain::bUsunProgramy, &TeMain::bUsunProgramy>("bUsunProgramy"),
            PublishComponent<&TeMain::lbPliki, &TeMain::lbPliki>("lbPliki"),
            PublishComponent<&TeMain::bUsunZRejestru, &TeMain::bUsunZRejestru>("bUsunZRejestru"),
            PublishComponent<&TeMain::FormStorage1, &TeMain::FormStorage1>("FormStorage1"),
            PublishComponent<&TeMain::ae, &TeMain::ae>("ae"),
            PublishComponent<&TeMain::CABFile1, &TeMain::CABFile1>("CABFile1"),
            PublishComponent<&TeMain::PBShellLink1, &TeMain::PBShellLink1>("PBShellLink1"),
        },
        {
            PublishHandler<&TeMain::FormShow>("FormShow"),
            PublishHandler<&TeMain::nbPageChanged>("nbPageChanged"),
            PublishHandler<&TeMain::lbUsunClick>("lbUsunClick"),
            PublishHandler<&TeMain::bUsunProgramyClick>("bUsunProgramyClick"),
            PublishHandler<&TeMain::bUsunZRejestruClick>("bUsunZRejestruClick"),
            PublishHandler<&TeMain::bKopiaZapasowaClick>("bKopiaZapasowaClick"),
            PublishHandler<&TeMain::bOdswiezListeKopiiClick>("bOdswiezListeKopiiClick"),
            PublishHandler<&TeMain::bPokazZawartosCabaClick>("bPokazZawartosCabaClick"),
            PublishHandler<&TeMain::lbZawartoscCabaAnchorClick>("lbZawartoscCabaAnchorClick"),
            PublishHandler<&TeMain::bUsunKopieClick>("bUsunKopieClick"),
            PublishHandler<&TeMain::bAktualizacjaClick>("bAktualizacjaClick"),
        });
    return info;
}

const TClassInfo* TeMain::ClassInfo() const
{
    return &StaticClass();
}

void OrganizerMainStartup()
{
    AppEraseStartup();
    ShellLnkStartup();
    PlacemntStartup();
    AutoaktStartup();
}
