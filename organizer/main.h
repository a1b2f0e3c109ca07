// Unit main of the organizer: its one window TeMain with five pages, each
// rebuilt from the registry and the disk whenever it is shown: installed
// applications, personal data, backups, data files, and the removal of what
// the installer put on this machine. Layout comes from main.dfm.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "classlib/Forms.h"
#include "organizer/InstallReport.h"

class TLabel;
class TPanel;
class TNotebook;
class TCheckListBox;
class TqmxTabSet;
class TqmxHTMListbox;
class THTMLabel;
class TqmxColorButton;
class TqmxUserData;
class TAppEraser;
class TCABFile;
class TPBShellLink;
class TFormStorage;

class TeMain : public TForm {
public:
    explicit TeMain(TComponent* owner);
    ~TeMain() override;

    TLabel* lbCaption = nullptr;
    TqmxTabSet* ts = nullptr;
    TNotebook* nb = nullptr;
    TqmxHTMListbox* lbAplikacje = nullptr;
    THTMLabel* lbOpisAplikacji = nullptr;
    TqmxColorButton* bAktualizacjaInternetowa = nullptr;
    TqmxUserData* qmxUserData1 = nullptr;
    TqmxHTMListbox* HTMListbox1 = nullptr;
    TqmxColorButton* bAktualizacja = nullptr;
    TqmxHTMListbox* lbKopie = nullptr;
    TqmxColorButton* bOdswiezListeKopii = nullptr;
    TqmxColorButton* bPokazZawartoscCaba = nullptr;
    TqmxHTMListbox* lbZawartoscCaba = nullptr;
    TqmxColorButton* bUsunKopie = nullptr;
    TqmxColorButton* bKopiaZapasowa = nullptr;
    TqmxHTMListbox* lbPlikiDanych = nullptr;
    TCheckListBox* lbUsun = nullptr;
    TqmxColorButton* bUsunProgramy = nullptr;
    TqmxHTMListbox* lbPliki = nullptr;
    TqmxColorButton* bUsunZRejestru = nullptr;
    TFormStorage* FormStorage1 = nullptr;
    TAppEraser* ae = nullptr;
    TCABFile* CABFile1 = nullptr;
    TPBShellLink* PBShellLink1 = nullptr;

    void FormShow(TObject* Sender);
    void nbPageChanged(TObject* Sender);
    void lbUsunClick(TObject* Sender);
    void bUsunProgramyClick(TObject* Sender);
    void bUsunZRejestruClick(TObject* Sender);
    void FileSearch1FileFind(const std::string& FileName);
    void bKopiaZapasowaClick(TObject* Sender);
    void bOdswiezListeKopiiClick(TObject* Sender);
    void bPokazZawartosCabaClick(TObject* Sender);
    void lbZawartoscCabaAnchorClick(TObject* Sender, int Index, const std::string& Anchor);
    void bUsunKopieClick(TObject* Sender);
    // Both "Aktualizacja internetowa..." buttons: the Internet update under
    // the organizer's code name.
    void bAktualizacjaClick(TObject* Sender);

    // True while the removal runs; the page's controls and the tabs are
    // disabled meanwhile, so nothing refills the lists it walks.
    bool Busy() const { return busy_; }
    const std::string& ReportPath() const { return reportPath_; }

    void Loaded() override;
    void WndProc(TMessage& message) override;
    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

private:
    // The page in view: its caption in the header and its tab; its lists.
    void ShowPageInView();
    void FillPageInView();
    void FillApplicationsList();
    void FillDataFileList();
    void FillRemoveList();
    void FillBackupList();
    // The selected backup's bare name; raises when the list is empty or
    // nothing is selected.
    std::string SelectedBackup();
    // Where a listed backup was found; a name the list does not know stays
    // as it is, for the current folder.
    std::string BackupPath(const std::string& name) const;
    // GoOn runs between the report's lines and the items added; the reading
    // stops when it gives false.
    bool ParseInstallReport(const std::string& FileName, const std::function<bool()>& GoOn);
    void RemoveSelf();
    void SetRemovalControls(bool enabled);

    std::string reportPath_;
    // The file lists of lbUsun's items, by item index.
    std::vector<TReportProgram> programs_;
    bool busy_ = false;
    // The listed backups' full paths by their bare names in upper case: a
    // cabinet found only in the Personal folder is not in the current one.
    std::map<std::string, std::string> backupPaths_;
    // The cabinet whose contents lbZawartoscCaba shows.
    std::string shownCabinet_;
    // Counters of the fills of lbAplikacje and lbZawartoscCaba, which let
    // the window answer as they go: a fill stops once a newer one began.
    int applicationsFill_ = 0;
    int contentsFill_ = 0;
    // The same for the removal page's two lists, lbUsun and lbPliki.
    int removalFill_ = 0;
    int removalFilesFill_ = 0;
};

extern TeMain* eMain;

// Registers the form's class and the organizer's own component classes.
void OrganizerMainStartup();
