// Writes the program folder of this program into the file named by its
// first argument.
#include <cstdio>

#include "common/QmxUtil.h"

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    std::FILE* f = std::fopen(argv[1], "wb");
    if (!f)
        return 3;
    std::string folder = GetProgramFolder();
    std::fwrite(folder.data(), 1, folder.size(), f);
    return std::fclose(f) == 0 ? 0 : 4;
}
