#include "tests/support/TestUtil.h"

#include <windows.h>
#include <tlhelp32.h>

#include <atomic>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "classlib/WinHandles.h"

namespace {

bool IsDots(const std::string& name)
{
    return name == "." || name == "..";
}

void RemoveTree(const std::string& folder)
{
    for (TDirListing entry(folder + "*"); entry.Found(); entry.Next()) {
        const std::string name = entry.Data().cFileName;
        if (IsDots(name))
            continue;
        const std::string path = folder + name;
        if (entry.Data().dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            RemoveTree(path + "\\");
        } else {
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(path.c_str());
        }
    }
    RemoveDirectoryA(folder.c_str());
}

} // namespace

TempFolder::TempFolder()
{
    static std::atomic<unsigned> counter{0};
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    for (;;) {
        std::ostringstream name;
        name << temp << "qmxtest_" << GetCurrentProcessId() << "_" << GetTickCount() << "_" << counter++ << "\\";
        if (CreateDirectoryA(name.str().c_str(), nullptr)) {
            path_ = name.str();
            return;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            throw std::runtime_error("cannot create a temporary folder");
    }
}

TempFolder::~TempFolder()
{
    RemoveTree(path_);
}

namespace {

// The mark's path, taken out of the environment so that programs this one
// starts cannot mark in its name.
std::string& MarkPath()
{
    static std::string path;
    return path;
}

void AppendMark(const std::string& line)
{
    if (MarkPath().empty())
        return;
    const TFileHandle mark(CreateFileA(MarkPath().c_str(), FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written;
    if (mark.Valid())
        WriteFile(mark.Get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

} // namespace

void MarkStarted()
{
    char path[MAX_PATH];
    const DWORD n = GetEnvironmentVariableA("QMX_START_MARK", path, sizeof path);
    if (n == 0 || n >= sizeof path)
        return;
    SetEnvironmentVariableA("QMX_START_MARK", nullptr);
    MarkPath() = path;
    AppendMark("started\n");
}

int MarkEnded(int exitCode)
{
    AppendMark("ended\n");
    return exitCode;
}

int RunProgram(const std::string& commandLine, unsigned timeoutMs)
{
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::string line = commandLine;
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return -1;
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(pi.hProcess, timeoutMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(pi.hProcess, &code);
    else
        TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return static_cast<int>(code);
}

std::string TestProgramFolder()
{
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s(path, n);
    return s.substr(0, s.rfind('\\') + 1);
}

std::string BuiltPath(const std::string& relative)
{
    const std::string path = TestProgramFolder() + "..\\..\\" + relative;
    char full[MAX_PATH];
    const DWORD n = GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
    return std::string(full, n);
}

std::string HostFolder(const char* unixPath)
{
    std::string s = std::string("Z:") + unixPath + "/";
    for (char& c : s)
        if (c == '/')
            c = '\\';
    return s;
}

std::string ReadWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void WriteWholeFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

bool MakeHollowFile(const std::string& path, long long size)
{
    const TFileHandle file(
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid())
        return false;
    LARGE_INTEGER end;
    end.QuadPart = size;
    return SetFilePointerEx(file.Get(), end, nullptr, FILE_BEGIN) && SetEndOfFile(file.Get());
}

HWND FindDialogOf(unsigned long pid)
{
    struct Search {
        DWORD pid;
        HWND found;
    } search{pid, nullptr};
    EnumWindows(
        [](HWND wnd, LPARAM lp) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lp);
            DWORD owner = 0;
            GetWindowThreadProcessId(wnd, &owner);
            char cls[16] = "";
            GetClassNameA(wnd, cls, sizeof cls);
            if (owner != s->pid || !IsWindowVisible(wnd) || std::string(cls) != "#32770")
                return TRUE;
            s->found = wnd;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

int EndBatchesOf(unsigned long parentPid)
{
    int ended = 0;
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snap == INVALID_HANDLE_VALUE)
        return 0;
    PROCESSENTRY32 pe{};
    pe.dwSize = sizeof pe;
    for (BOOL ok = Process32First(snap, &pe); ok; ok = Process32Next(snap, &pe)) {
        if (pe.th32ParentProcessID != parentPid || lstrcmpiA(pe.szExeFile, "cmd.exe") != 0)
            continue;
        if (HANDLE p = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pe.th32ProcessID)) {
            TerminateProcess(p, 1);
            WaitForSingleObject(p, 5000);
            CloseHandle(p);
            ++ended;
        }
    }
    CloseHandle(snap);
    return ended;
}

std::vector<std::string> EntriesMatching(const std::string& pattern)
{
    std::vector<std::string> names;
    for (TDirListing entry(pattern); entry.Found(); entry.Next())
        if (!IsDots(entry.Data().cFileName))
            names.push_back(entry.Data().cFileName);
    return names;
}

bool WaitUntil(const std::function<bool()>& done, unsigned ms)
{
    const ULONGLONG end = GetTickCount64() + ms;
    while (!done()) {
        if (GetTickCount64() >= end)
            return false;
        Sleep(5);
    }
    return true;
}

bool WaitUntilGone(const std::string& path, unsigned ms)
{
    return WaitUntil([&path] { return GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES; }, ms);
}
