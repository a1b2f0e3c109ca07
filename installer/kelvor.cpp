// kelvor: the installer of the maker's applications. The units start in the
// order they depend on each other, before any form exists; their shutdowns
// run in reverse when the message loop ends or the program halts.
#include <windows.h>

#include "classlib/ComCtrls.h"
#include "classlib/ExtCtrls.h"
#include "classlib/Forms.h"
#include "classlib/Grids.h"
#include "classlib/ListView.h"
#include "classlib/Menus.h"
#include "classlib/RichEdit.h"
#include "classlib/StdCtrls.h"
#include "common/PageMngr.h"
#include "common/QmxFonts.h"
#include "common/QmxGenericList.h"
#include "common/QmxList.h"
#include "common/QmxShell.h"
#include "common/QmxUtil.h"
#include "common/Upunkt_defpoc.h"
#include "common/VersInfo.h"
#include "common/WizardTree.h"
#include "common/qmxcolorbutton.h"
#include "common/verslab.h"
#include "components/ShellLnk.h"
#include "grid/qmxUserData.h"
#include "installer/Execfile.h"
#include "installer/FileFind.h"
#include "installer/FileOp.h"
#include "installer/RXCtrls.h"
#include "installer/ToolEdit.h"
#include "installer/advlistv.h"
#include "installer/definicje.h"
#include "installer/main.h"

namespace {

void StartObjectModel()
{
    InitializeQmxList();
    InitializeQmxGenericList();
    InitializeDefinicje();
}

void StartComponents()
{
    PageMngrStartup();
    WizardTreeStartup();
    qmxcolorbuttonStartup();
    InitVersInfoUnit();
    InitVersLabUnit();
    ShellLnkStartup();
    FileFindStartup();
    FileOpStartup();
    ExecfileStartup();
    InitQmxUserDataUnit();
    InitAdvListViewUnit();
    InitRXCtrlsUnit();
}

void InstallerMain()
{
    Screen->SetCursor(crAppStart);
    Application->Initialize();
    Application->SetTitle("Tarvix 99");
    Application->CreateForm(eMain);
    Application->Run();
}

} // namespace

int main()
{
    StartUnit(InitFormsUnit, DoneFormsUnit);
    StartUnit(InitStdCtrlsUnit, nullptr);
    StartUnit(InitExtCtrlsUnit, nullptr);
    StartUnit(InitComCtrlsUnit, nullptr);
    StartUnit(InitListViewUnit, nullptr);
    StartUnit(InitMenusUnit, nullptr);
    StartUnit(InitRichEditUnit, DoneRichEditUnit);
    StartUnit(InitGridsUnit, nullptr);
    StartUnit(StartObjectModel, FinalizeQmxList);
    StartUnit(InitializeUpunkt_defpoc, FinalizeUpunkt_defpoc);
    StartUnit(InitializeQmxShell, nullptr);
    StartUnit(AddStartupFonts, RemoveStartupFonts);
    StartUnit(StartComponents, nullptr);
    StartUnit(InitToolEditUnit, DoneToolEditUnit);
    StartUnit(InitCommonUnit, DoneCommonUnit);
    return RunProgramBlock(InstallerMain, "Tarvix 99");
}
