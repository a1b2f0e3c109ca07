#include "common/QmxFonts.h"

#include <windows.h>

#include <string>

#include "common/QmxReg.h"
#include "common/QmxUtil.h"

namespace {

const char* const FontFiles[] = {"tahoma.ttf", "tahomabd.ttf"};

// Whether each file is registered by us; removal goes by the same names.
bool fontAdded[2] = {false, false};
std::string fontFolder;

} // namespace

void AddStartupFonts()
{
    // The value is used as the installer wrote it, with its trailing backslash.
    ReadRegValue(1, "Software\\QMX", "Czcionki", fontFolder, GetProgramFolder());
    for (int i = 0; i < 2; ++i)
        fontAdded[i] = AddFontResourceA((fontFolder + FontFiles[i]).c_str()) == 1;
}

void RemoveStartupFonts()
{
    for (int i = 0; i < 2; ++i)
        if (fontAdded[i])
            fontAdded[i] = !RemoveFontResourceA((fontFolder + FontFiles[i]).c_str());
}
