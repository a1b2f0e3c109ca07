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
