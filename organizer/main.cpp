#include "organizer/main.h"

#include <windows.h>

#include <cstdint>
#include <exception>

#include "classlib/CheckLst.h"
#include "classlib/ExtCtrls.h"
#include "classlib/StdCtrls.h"
#include "classlib/TypInfo.h"
#include "common/QmxReg.h"
#include "common/AppName.h"
#include "common/QmxShell.h"
#include "common/QmxUtil.h"
#include "common/qmxWarningDialog.h"
#include "common/qmxcolorbutton.h"
#include "grid/qmxUserData.h"
#include "organizer/FileUtil.h"
#include "organizer/apperase.h"
#include "organizer/cabfiles.h"
#include "organizer/htmlabel.h"
#include "organizer/qmxHTMlistbox.h"
#include "organizer/qmxTabSet.h"

TeMain* eMain = nullptr;

namespace {

const char TarvixKey[] = "Software\\QMX\\Tarvix";
const char UninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\QMX";
const char SettingsKey[] = "Software\\QMX";
const char LongDateFormat[] = "dddd, d mmmmm yyyy, h:mm";
const int CursorApplications = 121;
const int CursorDataFiles = 111;

std::string IconTag(const std::string& path)
{
    return "<IMG src=\"ssys:" + path + "\">";
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
    nbPageChanged(nullptr);
}

void TeMain::nbPageChanged(TObject*)
{
    switch (nb->PageIndex()) {
    case 0:
        FillApplicationsList();
        break;
    case 3:
        FillDataFileList();
        break;
    case 4:
        FillRemoveList();
        break;
    default:
        // Page 1's grid keeps itself; the backups' page is filled by its own unit.
        break;
    }
    if (TPage* page = nb->Page(nb->PageIndex()))
        lbCaption->SetCaption(page->Caption());
}

void TeMain::FillApplicationsList()
{
    ScreenCursor cursor(CursorApplications);
    lbAplikacje->Clear();
    TStringList names;
    GetRegValueNames(2, QmxPathsKey, names);
    if (names.Count() == 0) {
        lbAplikacje->Items()->Add("Czyżbyś nie miał na dysku żadnych nasych programów? Niemożliwe...");
        lbAplikacje->SetEnabled(false);
        return;
    }
    const std::string ownPath = ParamStr(0);
    for (int i = 0; i < names.Count(); ++i) {
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
            lbAplikacje->Items()->Add(IconTag(path) + name + " (" + code + ")<br>" + path + "<br>- wersja: " +
                                      info.Version + " (" + info.Comments + ")<br>- zainstalowany " + date);
        } catch (const std::exception&) {
            // One unreadable entry must not hide the others.
        }
    }
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

bool TeMain::ParseInstallReport(const std::string& FileName)
{
    std::vector<TReportProgram> programs;
    if (!ReadInstallReport(FileName, programs))
        return false;
    lbUsun->SetEnabled(true);
    for (TReportProgram& p : programs) {
        lbUsun->Items()->Add(p.Name);
        programs_.push_back(std::move(p));
    }
    return true;
}

void TeMain::FillRemoveList()
{
    programs_.clear();
    lbUsun->Clear();
    {
        ScreenCursor cursor(crHourGlass);
        ReadRegValue(1, TarvixKey, "Raport", reportPath_, "");
        if (!ParseInstallReport(reportPath_)) {
            lbUsun->Items()->Add("Nie można odinstalować żadnych plików.");
            lbUsun->SetEnabled(false);
        }
    }
    if (lbUsun->Count() > 0 && lbUsun->ItemIndex() < 0)
        lbUsun->SetItemIndex(0);
    lbUsunClick(nullptr);
}

void TeMain::lbUsunClick(TObject*)
{
    lbPliki->Clear();
    const int index = lbUsun->ItemIndex();
    if (lbUsun->Enabled() && index >= 0 && index < static_cast<int>(programs_.size()) &&
        !programs_[index].Files.empty()) {
        for (const std::string& path : programs_[index].Files) {
            const std::int64_t size = GetFileSizeBytes(path);
            lbPliki->Items()->Add(IconTag(path) + path + "  - " + GetFileTypeName(path) + ", " +
                                  SizeToText(static_cast<int>(size), false));
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
                           SizeToText(static_cast<int>(freed), false)));
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
            PublishComponent<&TeMain::ae, &TeMain::ae>("ae"),
            PublishComponent<&TeMain::CABFile1, &TeMain::CABFile1>("CABFile1"),
        },
        {
            PublishHandler<&TeMain::FormShow>("FormShow"),
            PublishHandler<&TeMain::nbPageChanged>("nbPageChanged"),
            PublishHandler<&TeMain::lbUsunClick>("lbUsunClick"),
            PublishHandler<&TeMain::bUsunProgramyClick>("bUsunProgramyClick"),
            PublishHandler<&TeMain::bUsunZRejestruClick>("bUsunZRejestruClick"),
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
}
