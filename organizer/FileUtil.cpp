#include "organizer/FileUtil.h"

#include "classlib/WinHandles.h"

int FileSizeBySearch(const std::string& FileName)
{
    const TDirListing found(ExpandFileName(FileName));
    if (!found.Found())
        return -1;
    return static_cast<int>(found.Data().nFileSizeLow);
}

TDateTime FileDateTime(const std::string& FileName)
{
    int age = FileAge(FileName);
    if (age == -1)
        return 0;
    return FileDateToDateTime(age);
}
