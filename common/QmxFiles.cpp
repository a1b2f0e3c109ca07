// File copies and backup copies of the common utility unit.
#include <windows.h>

#include <lzexpand.h>

#include "classlib/SysUtils.h"
#include "classlib/WinHandles.h"
#include "common/QmxUtil.h"

namespace {

class LZFile {
public:
    explicit LZFile(INT h) : h_(h) {}
    ~LZFile()
    {
        if (h_ >= 0)
            LZClose(h_);
    }
    LZFile(const LZFile&) = delete;
    LZFile& operator=(const LZFile&) = delete;
    INT Get() const { return h_; }

private:
    INT h_;
};

// Opens name through the LZ library; on failure gives false and the result
// code: minus the open error of the file, or the library's bad-value code.
bool OpenLZ(const std::string& name, WORD style, INT& handle, int& code)
{
    // The library takes the name in a path buffer of the old file calls.
    char path[OFS_MAXPATHNAME] = {};
    if (name.size() >= sizeof path) {
        code = LZERROR_BADVALUE;
        return false;
    }
    name.copy(path, name.size());
    OFSTRUCT ofs{};
    ofs.cBytes = sizeof ofs;
    handle = LZOpenFileA(path, &ofs, style);
    if (handle >= 0)
        return true;
    code = handle == -1 ? -static_cast<int>(ofs.nErrCode) : LZERROR_BADVALUE;
    return false;
}

bool SameFile(const std::string& a, const std::string& b)
{
    return AnsiUpperCase(ExpandFileName(a)) == AnsiUpperCase(ExpandFileName(b));
}

} // namespace

bool MoveFileReplacing(const std::string& Source, const std::string& Target)
{
    // Deleting the target first would destroy the only copy when there is
    // nothing to move in its place.
    if (!FileExists(Source))
        return false;
    if (SameFile(Source, Target))
        return true;
    if (FileExists(Target))
        DeleteFileA(Target.c_str());  // a target that stays makes the move fail
    return MoveFileA(Source.c_str(), Target.c_str()) != 0;
}

std::int64_t GetFileSizeBytes(const std::string& FileName)
{
    // Opening for writing too is the point: the removal counts only files it
    // could delete, and a file in use or read-only gives -1. The attribute is
    // asked for itself because an administrator's open may ignore it. A
    // device name is never opened (that could block), and only a disk file
    // has a size.
    if (IsDeviceName(FileName))
        return -1;
    const DWORD attributes = GetFileAttributesA(FileName.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return -1;
    TFileHandle file(CreateFileA(FileName.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid() || GetFileType(file.Get()) != FILE_TYPE_DISK)
        return -1;
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.Get(), &size))
        return -1;
    return size.QuadPart;
}

int LZCopyFile(const std::string& Source, const std::string& Target)
{
    if (Source.empty() || Target.empty())
        return LZERROR_BADVALUE;
    INT handle;
    int code;
    // OF_CANCEL without OF_PROMPT only means plain reading.
    if (!OpenLZ(Source, OF_CANCEL, handle, code))
        return code;
    LZFile source(handle);
    if (!OpenLZ(Target, OF_CREATE, handle, code))
        return code;
    LZFile target(handle);
    return static_cast<int>(LZCopy(source.Get(), target.Get()));
}

std::string MakeBackupCopy(const std::string& FileName)
{
    if (!FileExists(FileName))
        return "";
    const std::string backup = ExtractFilePath(FileName) + "Kopia " + ExtractFileName(FileName);
    if (FileExists(backup) && !DeleteFileA(backup.c_str()))
        return "";
    const int code = LZCopyFile(FileName, backup);
    // An empty copy counts as a failure too: nothing could be restored from it.
    if (code <= 0)
        throw Exception(Format("Błąd biblioteki LZ %d", code));
    return backup;
}
