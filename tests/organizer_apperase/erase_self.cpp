// Erases its own program file through TAppEraser and ends at once; with the
// argument "dir" the emptied folder goes too. Exit code 0 when the batch was
// started.
#include <cstring>

#include "organizer/apperase.h"

int main(int argc, char** argv)
{
    TAppEraser ae(nullptr);
    ae.Files()->Add("*appname*");
    ae.Path = "*APPPATH*";
    ae.DelPathIfEmpty = argc > 1 && std::strcmp(argv[1], "dir") == 0;
    return ae.Execute() ? 0 : 1;
}
