// Waits (dispatching messages) for a stub that sleeps 6 seconds, with a quit
// message of exit code 7 already queued: the wait must end this program at
// once with that code.
#include <windows.h>

#include "classlib/Forms.h"
#include "installer/Execfile.h"
#include "tests/support/TestUtil.h"

int main()
{
    StartUnit(InitFormsUnit, DoneFormsUnit);
    SetEnvironmentVariableA("QMX_STUB_SLEEP", "6000");
    TExecFile exec(nullptr);
    exec.SetCommandLine(TestProgramFolder() + "execstub.exe");
    exec.WindowStyle = wsHide;
    exec.Wait = true;
    PostQuitMessage(7);
    exec.Execute();
    return 1;
}
