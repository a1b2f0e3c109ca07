#include "organizer/FileUtil.h"

#include <windows.h>

int FileSizeBySearch(const std::string& FileName)
{
    std::string full = ExpandFileName(FileName);
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA(full.c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE)
        return -1;
    FindClose(h);
    return static_cast<int>(fd.nFileSizeLow);
}

TDateTime FileDateTime(const std::string& FileName)
{
    int age = FileAge(FileName);
    if (age == -1)
        return 0;
    return FileDateToDateTime(age);
}
