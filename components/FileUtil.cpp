// The path routines of the folder-browser unit; the dialog is in
// BrowseFolderDlg.cpp.
#include "components/FileUtil.h"

#include "classlib/SysUtils.h"
#include "classlib/WinHandles.h"

namespace {

// The first entry the file system finds for Path.
bool FindFirst(const std::string& Path, WIN32_FIND_DATAA& data)
{
    const TDirListing found(Path);
    if (found.Found())
        data = found.Data();
    return found.Found();
}

using NameOf = std::string (*)(const std::string&);

std::string ConvertPath(const std::string& Path, NameOf name)
{
    std::string result;
    std::string rest = Path;
    for (std::size_t cut; (cut = rest.rfind('\\')) != std::string::npos; rest.erase(cut)) {
        std::string converted = name(rest);
        // An element the file system does not know stays as it was given.
        if (converted.empty())
            converted = rest.substr(cut + 1);
        result = "\\" + converted + result;
    }
    return rest + result;
}

} // namespace

bool FolderExists(const std::string& Name)
{
    DWORD attributes = GetFileAttributesA(Name.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::string StripTrailingBackslash(const std::string& Path)
{
    if (Path.size() <= 1)
        return Path;
    auto isDriveLetter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    if (Path.size() == 3 && isDriveLetter(Path[0]) && Path[1] == ':' && Path[2] == '\\')
        return Path;
    const char* last = CharPrevA(Path.c_str(), Path.c_str() + Path.size());
    if (*last == '\\' && last == Path.c_str() + Path.size() - 1)
        return Path.substr(0, Path.size() - 1);
    return Path;
}

std::string LongNameOf(const std::string& Path)
{
    WIN32_FIND_DATAA data;
    if (!FindFirst(Path, data))
        return std::string();
    return data.cFileName[0] ? data.cFileName : data.cAlternateFileName;
}

std::string ShortNameOf(const std::string& Path)
{
    WIN32_FIND_DATAA data;
    if (!FindFirst(Path, data))
        return std::string();
    return data.cAlternateFileName[0] ? data.cAlternateFileName : data.cFileName;
}

std::string LongPathOf(const std::string& Path)
{
    return ConvertPath(Path, LongNameOf);
}

std::string ShortPathOf(const std::string& Path)
{
    return ConvertPath(Path, ShortNameOf);
}
