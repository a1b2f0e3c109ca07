// Unit main of the installer: the wizard window TeMain. Its layout comes from
// main.dfm; what it does with the medium lives in definicje, and this class
// ties that to the pages: the search of the medium when it first shows, the
// install list and summary on page 6, the install run on page 7.
#pragma once

#include <string>

#include "classlib/ComCtrls.h"
#include "classlib/ExtCtrls.h"
#include "classlib/Forms.h"
#include "classlib/ListView.h"
#include "classlib/RichEdit.h"
#include "classlib/StdCtrls.h"
#include "common/PageMngr.h"
#include "common/VersInfo.h"
#include "common/WizardTree.h"
#include "common/verslab.h"
#include "common/qmxcolorbutton.h"
#include "components/ShellLnk.h"
#include "grid/qmxUserData.h"
#include "installer/Execfile.h"
#include "installer/FileFind.h"
#include "installer/FileOp.h"
#include "installer/ToolEdit.h"
#include "installer/advlistv.h"
#include "installer/definicje.h"

class TeMain : public TForm {
public:
    explicit TeMain(TComponent* owner);
    ~TeMain() override;

    TWizardTree* wt = nullptr;
    TLabel* lbInfo = nullptr;
    TqmxColorButton* bAnuluj = nullptr;
    TqmxColorButton* bWstecz = nullptr;
    TqmxColorButton* bDalej = nullptr;
    TNotebook* nb = nullptr;
    TVersionLabel* vlWersja = nullptr;
    TVersionLabel* vlData = nullptr;
    TRadioButton* rbPelna = nullptr;
    TRadioButton* rbNietypowa = nullptr;
    TListBox* lbListaProgramow = nullptr;
    TqmxUserData* qmxUserData1 = nullptr;
    TDirectoryEdit* de = nullptr;
    TAdvListView* lv = nullptr;
    TCheckBox* cbSkrotyNaPulpicie = nullptr;
    TCheckBox* cbSkrotyWMenuStart = nullptr;
    TCheckBox* cbAutoRun = nullptr;
    TCheckBox* cbAutoReplace = nullptr;
    TCheckBox* cbCzcionki = nullptr;
    TCheckBox* cbComCtl = nullptr;
    TRichEdit* re = nullptr;
    TListBox* lbPliki = nullptr;
    TPanel* p3 = nullptr;
    TLabel* lbNazwa = nullptr;
    TLabel* lbSource = nullptr;
    TLabel* lbDest = nullptr;
    TProgressBar* pgPliki = nullptr;
    TMemo* mKoniec = nullptr;
    TqmxColorButton* bRestart = nullptr;
    TqmxColorButton* bZakoncz = nullptr;
    TPageManager* pm = nullptr;
    TFileSearch* FileSearch1 = nullptr;
    TFileOperation* fo = nullptr;
    TExecFile* ExecFile1 = nullptr;
    TPBShellLink* PBShellLink1 = nullptr;
    TVersionInfoResource* vi = nullptr;

    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void FormDestroy(TObject* Sender);
    void FormCloseQuery(TObject* Sender, bool& CanClose);
    void nbPageChanged(TObject* Sender);
    void pmGetNextPage(int CurrentPage, int& NewPage);
    void pmGetPriorPage(int CurrentPage, int& NewPage);
    void deChange(TObject* Sender);
    void bAnulujClick(TObject* Sender);
    void bZakonczClick(TObject* Sender);
    void bRestartClick(TObject* Sender);
    void FileSearch1FileFind(const std::string& Path, const TSearchRec& SearchRec);
    void FileSearch1Finish(TObject* Sender);

    // The page work of the page now shown.
    void pcChange();
    void RunInstallation();

    const std::string& SourceFolder() const { return sourceFolder_; }
    const std::string& DestinationFolder() const { return destinationFolder_; }
    TStringList* InstallList() const { return installList_; }

    const TClassInfo* ClassInfo() const override { return &StaticClass(); }
    static const TClassInfo& StaticClass();

protected:
    void Dispatch(TMessage& message) override;

private:
    // The search of the medium, once the window is on screen.
    void ReadMedium();
    // While the medium is read and while page 6 is built, the window answers
    // but the wizard stays on its page: the page manager is given no page to
    // step to, and Prior and Next show it.
    void SetBusy(bool busy);
    void BuildInstallList();
    void FillFileList(TFramePacer& pacer);
    void BuildSummary(TFramePacer& pacer);
    TInstallOptions Options() const;
    void AppendReportLine(const std::string& Entry);
    void InstallEntry(int Index, const std::string& Entry);
    void MakeShortcut(TShellFolder Folder, const std::string& Nazwa, const std::string& Source,
                      const std::string& Dest);
    void RunSetupProgram(const std::string& Name, const std::string& FailText);
    // Lets the window of the run show its labels and bar: now, or when a
    // frame's time has passed since it last did.
    void PaintRun(bool now);
    // A message box of the run, over a window that shows where it stands.
    void RunMessage(const std::string& Text);
    // Stops a run whose window the user chose to close.
    bool RunAborted() const;

    TStringList* installList_ = nullptr;
    TInstallApps apps_;
    std::string sourceFolder_;
    std::string destinationFolder_;
    bool running_ = false;
    bool busy_ = false;
    // The window that had the focus when the window became busy.
    HWND busyFocus_ = nullptr;
    // When the run's window was last painted (GetTickCount64).
    unsigned long long lastPaint_ = 0;
    // Open while the run appends to it.
    TReportFile report_;
};

extern TeMain* eMain;
