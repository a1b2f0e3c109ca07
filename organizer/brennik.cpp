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
#include "common/WSocket.h"
#include "common/Wait.h"
#include "common/qmxcolorbutton.h"
#include "components/RxHook.h"
#include "classlib/RichEdit.h"
#include "grid/AdvGrid.h"
#include "grid/qmxUserData.h"
#include "organizer/HTMListb.h"
#include "organizer/HttpProt.h"
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
    WaitStartup();
    HttpProtStartup();
    InitAdvGridUnit();
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
    // The window hooks' list goes before the forms, as their unit comes after.
    StartUnit(nullptr, DoneRxHookUnit);
    StartUnit(InitStdCtrlsUnit, nullptr);
    StartUnit(InitExtCtrlsUnit, nullptr);
    StartUnit(InitComCtrlsUnit, nullptr);
    StartUnit(InitGridsUnit, nullptr);
    StartUnit(InitRichEditUnit, DoneRichEditUnit);
    StartUnit(StartObjectModel, FinalizeQmxList);
    StartUnit(InitializeUpunkt_defpoc, FinalizeUpunkt_defpoc);
    StartUnit(InitializeQmxShell, nullptr);
    StartUnit(InitializeUpunkt, nullptr);
    StartUnit(InitializeAppEvent, FinalizeAppEvent);
    StartUnit(AddStartupFonts, RemoveStartupFonts);
    StartUnit(WSocketStartup, WSocketShutdown);
    StartUnit(StartComponents, nullptr);
    StartUnit(InitCommonUnit, DoneCommonUnit);
    return RunProgramBlock(OrganizerMain, "Lumero - Orvath");
}
