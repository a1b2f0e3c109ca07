// brennik: the organizer of the maker's applications. The units start in the
// order they depend on each other, before any form exists; their shutdowns
// run in reverse when the message loop ends or the program halts.
#include <windows.h>

#include "classlib/ComCtrls.h"
#include "classlib/ExtCtrls.h"
#include "classlib/Forms.h"
#include "classlib/Grids.h"
#include "classlib/StdCtrls.h"
#include "common/AppEvent.h"
#include "common/QmxFonts.h"
#include "common/QmxGenericList.h"
#include "common/QmxList.h"
#include "common/QmxShell.h"
#include "common/QmxUtil.h"
#include "common/Upunkt.h"
#include "common/Upunkt_defpoc.h"
#include "common/VersInfo.h"
#include "common/qmxcolorbutton.h"
#include "grid/qmxUserData.h"
#include "organizer/HTMListb.h"
#include "organizer/cabfiles.h"
#include "organizer/htmlabel.h"
#include "organizer/main.h"
#include "organizer/qmxHTMlistbox.h"
#include "organizer/qmxTabSet.h"

namespace {

void StartObjectModel()
{
    InitializeQmxList();
    InitializeQmxGenericList();
}

void StartComponents()
{
    qmxcolorbuttonStartup();
    InitVersInfoUnit();
    HTMListbStartup();
    htmlabelStartup();
    qmxHTMlistboxStartup();
    qmxTabSetStartup();
    CabFilesStartup();
    InitQmxUserDataUnit();
    OrganizerMainStartup();
}

void OrganizerMain()
{
    Application->Initialize();
    Application->SetTitle("Lumero - Orvath");
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
    StartUnit(InitGridsUnit, nullptr);
    StartUnit(StartObjectModel, FinalizeQmxList);
    StartUnit(InitializeUpunkt_defpoc, FinalizeUpunkt_defpoc);
    StartUnit(InitializeQmxShell, nullptr);
    StartUnit(InitializeUpunkt, nullptr);
    StartUnit(InitializeAppEvent, FinalizeAppEvent);
    StartUnit(AddStartupFonts, RemoveStartupFonts);
    StartUnit(StartComponents, nullptr);
    StartUnit(InitCommonUnit, DoneCommonUnit);
    return RunProgramBlock(OrganizerMain, "Lumero - Orvath");
}
