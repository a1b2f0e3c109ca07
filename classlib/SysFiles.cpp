// File names, files and folders, the command line and the random generator
// of the run-time unit.
#include "classlib/SysUtils.h"

#include <windows.h>

#include <vector>

namespace {

// Position after the last "\" or ":", where the name begins.
size_t NameStart(const std::string& fileName)
{
    size_t p = fileName.find_last_of("\\:");
    return p == std::string::npos ? 0 : p + 1;
}

// Position of the extension's "." within the name, or npos.
size_t ExtensionStart(const std::string& fileName)
{
    size_t p = fileName.rfind('.');
    return p != std::string::npos && p >= NameStart(fileName) ? p : std::string::npos;
}

std::string WithoutTrailingBackslash(std::string dir)
{
    // "c:\" and "\" keep theirs: without it they would name something else.
    while (dir.size() > 1 && dir.back() == '\\' && dir[dir.size() - 2] != ':')
        dir.pop_back();
    return dir;
}

} // namespace

std::string ExtractFilePath(const std::string& fileName)
{
    return fileName.substr(0, NameStart(fileName));
}

std::string ExtractFileName(const std::string& fileName)
{
    return fileName.substr(NameStart(fileName));
}

std::string ExtractFileDir(const std::string& fileName)
{
    size_t n = NameStart(fileName);
    if (n > 1 && fileName[n - 1] == '\\' && fileName[n - 2] != '\\' && fileName[n - 2] != ':')
        --n;
    return fileName.substr(0, n);
}

std::string ExtractFileExt(const std::string& fileName)
{
    size_t p = ExtensionStart(fileName);
    return p == std::string::npos ? std::string() : fileName.substr(p);
}

std::string ChangeFileExt(const std::string& fileName, const std::string& ext)
{
    size_t p = ExtensionStart(fileName);
    return (p == std::string::npos ? fileName : fileName.substr(0, p)) + ext;
}

std::string ExpandFileName(const std::string& fileName)
{
    if (fileName.empty())
        return fileName;
    std::string buffer(MAX_PATH, '\0');
    for (;;) {
        char* namePart = nullptr;
        DWORD n = GetFullPathNameA(fileName.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), &namePart);
        if (n == 0)
            return fileName;
        if (n < buffer.size()) {
            buffer.resize(n);
            return buffer;
        }
        buffer.resize(n);
    }
}

bool IsDeviceName(const std::string& fileName)
{
    if (fileName.compare(0, 4, "\\\\.\\") == 0 || fileName.compare(0, 4, "//./") == 0)
        return true;
    const std::size_t slash = fileName.find_last_of("\\/");
    std::string base = fileName.substr(slash == std::string::npos ? 0 : slash + 1);
    // "C:COM1" is COM1 on drive C's current folder.
    if (slash == std::string::npos && base.size() >= 2 && base[1] == ':')
        base.erase(0, 2);
    base = base.substr(0, base.find('.'));
    while (!base.empty() && (base.back() == ' ' || base.back() == ':'))
        base.pop_back();
    for (char& c : base)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    static const char* const plain[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
    for (const char* name : plain)
        if (base == name)
            return true;
    return base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) && base[3] >= '1' &&
           base[3] <= '9';
}

bool FileExists(const std::string& fileName)
{
    if (IsDeviceName(fileName))
        return false;
    DWORD a = GetFileAttributesA(fileName.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const std::string& dirName)
{
    DWORD a = GetFileAttributesA(dirName.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool ForceDirectories(const std::string& dirName)
{
    std::string dir = WithoutTrailingBackslash(dirName);
    if (dir.empty())
        return false;
    if (DirectoryExists(dir))
        return true;
    std::string parent = WithoutTrailingBackslash(ExtractFilePath(dir));
    if (!parent.empty() && parent != dir && !ForceDirectories(parent))
        return false;
    // Another process may have made it in the meantime.
    return CreateDirectoryA(dir.c_str(), nullptr) || DirectoryExists(dir);
}

std::string GetCurrentDir()
{
    DWORD n = GetCurrentDirectoryA(0, nullptr);
    std::string dir(n, '\0');
    n = GetCurrentDirectoryA(n, dir.data());
    dir.resize(n);
    return dir;
}

bool SetCurrentDir(const std::string& dirName)
{
    return SetCurrentDirectoryA(dirName.c_str()) != 0;
}

int FileAge(const std::string& fileName)
{
    if (IsDeviceName(fileName))
        return -1;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(fileName.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return -1;
    FILETIME local;
    WORD dosDate, dosTime;
    if (!FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) || !FileTimeToDosDateTime(&local, &dosDate, &dosTime))
        return -1;
    return static_cast<int>((static_cast<unsigned>(dosDate) << 16) | dosTime);
}

TDateTime FileDateToDateTime(int fileDate)
{
    auto bits = static_cast<unsigned>(fileDate);
    unsigned date = bits >> 16, time = bits & 0xFFFF;
    return EncodeDate(static_cast<int>((date >> 9) + 1980), static_cast<int>((date >> 5) & 15),
                      static_cast<int>(date & 31)) +
           EncodeTime(static_cast<int>(time >> 11), static_cast<int>((time >> 5) & 63), static_cast<int>((time & 31) * 2),
                      0);
}

// ---------------------------------------------------------------------------
// The command line.

namespace {

std::vector<std::string> CommandLineArguments()
{
    std::vector<std::string> args;
    const char* p = GetCommandLineA();
    auto blank = [](char c) { return c != 0 && static_cast<unsigned char>(c) <= ' '; };
    for (;;) {
        while (blank(*p))
            ++p;
        if (*p == 0)
            break;
        std::string arg;
        bool quoted = false;
        for (; *p && (quoted || !blank(*p)); ++p) {
            if (*p == '"')
                quoted = !quoted;
            else
                arg += *p;
        }
        args.push_back(std::move(arg));
    }
    return args;
}

} // namespace

int ParamCount()
{
    size_t n = CommandLineArguments().size();
    return n > 0 ? static_cast<int>(n - 1) : 0;
}

std::string ParamStr(int index)
{
    if (index == 0) {
        std::string path(MAX_PATH, '\0');
        for (;;) {
            DWORD n = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
            if (n < path.size()) {
                path.resize(n);
                return path;
            }
            path.resize(path.size() * 2);
        }
    }
    std::vector<std::string> args = CommandLineArguments();
    return index > 0 && index < static_cast<int>(args.size()) ? args[index] : std::string();
}

// ---------------------------------------------------------------------------
// Random numbers.

std::uint32_t RandSeed = 0;

void Randomize()
{
    // Reseeding in a loop must never repeat the previous sequence. The
    // performance counter need not move between two calls (its resolution is
    // coarse under Wine), so a count of the calls goes into every seed too.
    static std::uint32_t calls = 0;
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    RandSeed = (static_cast<std::uint32_t>(counter.QuadPart) ^ static_cast<std::uint32_t>(counter.QuadPart >> 32)) +
               ++calls * 0x9E3779B9u;
}

int Random(int range)
{
    RandSeed = RandSeed * 1664525u + 1013904223u;
    if (range <= 0)
        return 0;
    return static_cast<int>((static_cast<std::uint64_t>(RandSeed) * static_cast<std::uint32_t>(range)) >> 32);
}
