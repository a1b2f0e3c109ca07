// Writes ParamCount and every ParamStr, one a line, into the file named by the
// environment variable QMX_PARAMS_OUT.
#include <windows.h>

#include <cstdio>

#include "classlib/SysUtils.h"

int main()
{
    char out[MAX_PATH];
    if (!GetEnvironmentVariableA("QMX_PARAMS_OUT", out, sizeof out))
        return 2;
    std::FILE* f = std::fopen(out, "wb");
    if (!f)
        return 3;
    std::string text = IntToStr(ParamCount());
    text += '\n';
    for (int i = 0; i <= ParamCount() + 1; ++i) {  // one past the end reads empty
        text += '[';
        text += ParamStr(i);
        text += "]\n";
    }
    std::fwrite(text.data(), 1, text.size(), f);
    return std::fclose(f) == 0 ? 0 : 4;
}
