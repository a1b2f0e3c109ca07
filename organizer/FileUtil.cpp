#include "organizer/FileUtil.h"

#include "classlib/WinHandles.h"

std::int64_t FileSizeBySearch(const std::string& FileName)
{
    const TDirListing found(ExpandFileName(FileName));
    if (!found.Found())
        return -1;
    return (static_cast<std::int64_t>(found.Data().nFileSizeHigh) << 32) | found.Data().nFileSizeLow;
}

TDateTime FileDateTime(const std::string& FileName)
{
    int age = FileAge(FileName);
    if (age == -1)
        return 0;
    return FileDateToDateTime(age);
}
