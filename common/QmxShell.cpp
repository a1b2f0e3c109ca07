#include "common/QmxShell.h"

#include <windows.h>
#include <shlobj.h>

#include "classlib/SysUtils.h"
#include "classlib/WinHandles.h"
#include "common/QmxUtil.h"

std::string DesktopFolder;
std::string StartMenuFolder;

namespace {

// An item identifier list the shell allocated for us.
class TItemIdList {
public:
    TItemIdList() = default;
    ~TItemIdList() { CoTaskMemFree(pidl_); }
    TItemIdList(const TItemIdList&) = delete;
    TItemIdList& operator=(const TItemIdList&) = delete;
    LPITEMIDLIST* Receive() { return &pidl_; }
    LPCITEMIDLIST Get() const { return pidl_; }

private:
    LPITEMIDLIST pidl_ = nullptr;
};

// No critical-error box (a drive that is not ready) while a log is written;
// the previous mode comes back on every way out, an exception included.
class TErrorModeGuard {
public:
    TErrorModeGuard() : previous_(SetErrorMode(SEM_FAILCRITICALERRORS)) {}
    ~TErrorModeGuard() { SetErrorMode(previous_); }
    TErrorModeGuard(const TErrorModeGuard&) = delete;
    TErrorModeGuard& operator=(const TErrorModeGuard&) = delete;

private:
    UINT previous_;
};

} // namespace

void InitializeQmxShell()
{
    DesktopFolder = GetSpecialFolderPath(SpecialFolderToCsidl(2));
    StartMenuFolder = GetSpecialFolderPath(SpecialFolderToCsidl(13));
}

int SpecialFolderToCsidl(int Index)
{
    static const int csidls[16] = {
        CSIDL_BITBUCKET, CSIDL_CONTROLS, CSIDL_DESKTOP,  CSIDL_DESKTOPDIRECTORY, CSIDL_DRIVES,    CSIDL_FONTS,
        CSIDL_NETHOOD,   CSIDL_NETWORK,  CSIDL_PERSONAL, CSIDL_PRINTERS,         CSIDL_PROGRAMS,  CSIDL_RECENT,
        CSIDL_SENDTO,    CSIDL_STARTMENU, CSIDL_STARTUP, CSIDL_TEMPLATES,
    };
    const int index = Index & 0x7F;
    return index < 16 ? csidls[index] : CSIDL_DRIVES;
}

std::string GetSpecialFolderPath(int Csidl)
{
    TItemIdList pidl;
    // The shell takes no owner window for this call.
    HRESULT hr = SHGetSpecialFolderLocation(nullptr, Csidl, pidl.Receive());
    if (FAILED(hr)) {
        const unsigned long code = static_cast<unsigned long>(hr);
        std::string message = SysErrorMessage(code);
        if (message.empty())
            message = Format("Shell error %.8X", code);
        throw EOSError(message, code);
    }
    char path[MAX_PATH] = {};
    SetLastError(0);
    if (!SHGetPathFromIDListA(pidl.Get(), path))
        RaiseLastOSError();
    std::string result = path;
    if (!result.empty())
        AddBackslash(result);
    return result;
}

std::string GetPersonalFolder()
{
    return GetSpecialFolderPath(SpecialFolderToCsidl(8));
}

std::string GetFileTypeName(const std::string& Path)
{
    SHFILEINFOA info = {};
    if (!SHGetFileInfoA(Path.c_str(), 0, &info, sizeof info, SHGFI_TYPENAME))
        return std::string();
    return info.szTypeName;
}

std::string LogLine(const std::string& Msg)
{
    return FormatDateTime("dd-mm-yyyy hh:mm:ss", Now()) + " - " + Msg;
}

TAppendFile::TAppendFile(const std::string& FileName)
{
    TErrorModeGuard errorMode;
    handle_ = CreateFileA(FileName.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle_ == INVALID_HANDLE_VALUE)
        throw EInOutError(GetLastError());
}

TAppendFile::~TAppendFile()
{
    Close();
}

void TAppendFile::WriteLine(const std::string& Line)
{
    TErrorModeGuard errorMode;
    const std::string data = Line + "\r\n";
    DWORD written = 0;
    if (!WriteFile(handle_, data.data(), static_cast<DWORD>(data.size()), &written, nullptr))
        throw EInOutError(GetLastError());
    if (written != data.size())
        throw EInOutError(ERROR_DISK_FULL);
}

bool TAppendFile::Close()
{
    if (handle_ == INVALID_HANDLE_VALUE)
        return true;
    HANDLE handle = handle_;
    handle_ = INVALID_HANDLE_VALUE;
    return CloseHandle(handle) != 0;
}

bool AppendLogLine(const std::string& FileName, const std::string& Msg)
{
    // A nameless log is refused like in AppendLineToFile; with the program's
    // folder in front it would name the folder itself.
    if (FileName.empty())
        return false;
    const std::string path = ExtractFilePath(FileName).empty() ? GetProgramFolder() + FileName : FileName;
    return AppendLineToFile(path, LogLine(Msg));
}

bool AppendLineToFile(const std::string& FileName, const std::string& Line)
{
    if (FileName.empty())
        return false;
    TAppendFile file(FileName);
    file.WriteLine(Line);
    if (!file.Close())
        throw EInOutError(GetLastError());
    return true;
}
