#include "TestUnits.h"

#include "classlib/Forms.h"
#include "common/AppEvent.h"
#include "common/Upunkt.h"

void EnsureAppEventsTestUnits()
{
    static bool started = false;
    if (started)
        return;
    started = true;
    InitFormsUnit();
    InitializeAppEvent();
    InitializeUpunkt();
}

void PumpMessages(int ms)
{
    const DWORD end = GetTickCount() + ms;
    do {
        Application->ProcessMessages();
        Sleep(5);
    } while (static_cast<int>(end - GetTickCount()) > 0);
}
