// Writes probe.lnk beside this program with known values, for a reader of
// link files on the host to check.
#include <cstdio>

#include "components/ShellLnk.h"
#include "tests/support/TestUtil.h"

int main()
{
    MarkStarted();
    TPBShellLink link(nullptr);
    link.SetWindowState(wsMaximized);
    link.SetHotKey(0x4000 | 0x8000 | 'K');  // Ctrl+Alt+K
    link.Description = "Skrót do programu";
    link.Target = "C:\\windows\\notepad.exe";
    link.WorkingDir = "C:\\windows";
    link.Arguments = "/p raport.txt";
    link.FileIcon()->FileName = "C:\\windows\\notepad.exe";
    link.FileIcon()->IconIndex = 2;
    link.SetFileName(TestProgramFolder() + "probe");
    try {
        link.Save();
    } catch (const Exception& e) {
        std::fprintf(stderr, "%s\n", e.Message().c_str());
        return MarkEnded(1);
    }
    std::printf("%s\n", link.FileName().c_str());
    return MarkEnded(0);
}
