#include "classlib/SysUtils.h"

#include <windows.h>

std::string AnsiUpperCase(std::string s)
{
    if (!s.empty())
        CharUpperBuffA(s.data(), static_cast<DWORD>(s.size()));
    return s;
}

std::string AnsiLowerCase(std::string s)
{
    if (!s.empty())
        CharLowerBuffA(s.data(), static_cast<DWORD>(s.size()));
    return s;
}
