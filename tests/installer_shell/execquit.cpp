// Waits (dispatching messages) for the stub, which the test holds, with a
// quit message of exit code 7 already queued: the wait must end this program
// with that code while the stub still runs.
#include <windows.h>

#include "classlib/Forms.h"
#include "installer/Execfile.h"
#include "tests/support/TestUtil.h"

int main()
{
    StartUnit(InitFormsUnit, DoneFormsUnit);
    TExecFile exec(nullptr);
    exec.SetCommandLine(TestProgramFolder() + "execstub.exe");
    exec.WindowStyle = wsHide;
    exec.Wait = true;
    PostQuitMessage(7);
    exec.Execute();
    return 1;
}
