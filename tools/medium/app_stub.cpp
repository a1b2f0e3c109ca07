// Stand-in for one of the maker's application programs on the sample medium.
// The installer only copies it and reads its version resource (linked in from
// the program's own .rc file); started, it ends at once.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    return 0;
}
