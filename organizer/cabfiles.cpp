#include "organizer/cabfiles.h"

#include <windows.h>

#include <fcntl.h>
#include <fci.h>
#include <fdi.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <exception>
#include <iterator>
#include <utility>
#include <vector>

#include "classlib/TypInfo.h"
#include "classlib/WinHandles.h"
#include "common/QmxUtil.h"

namespace {

// ---------------------------------------------------------------------------
// Owners of what an operation acquires.

class TLibrary {
public:
    explicit TLibrary(const char* name) : module_(LoadLibraryA(name)) {}
    ~TLibrary()
    {
        if (module_)
            FreeLibrary(module_);
    }
    TLibrary(const TLibrary&) = delete;
    TLibrary& operator=(const TLibrary&) = delete;
    explicit operator bool() const { return module_ != nullptr; }

    // False when the library lacks the entry point.
    template <class F>
    bool Get(const char* name, F& fn) const
    {
        fn = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
        return fn != nullptr;
    }

private:
    HMODULE module_;
};

using FDICreateFn = HFDI(DIAMONDAPI*)(PFNALLOC, PFNFREE, PFNOPEN, PFNREAD, PFNWRITE, PFNCLOSE, PFNSEEK, int, PERF);
using FDIIsCabinetFn = BOOL(DIAMONDAPI*)(HFDI, INT_PTR, PFDICABINETINFO);
using FDICopyFn = BOOL(DIAMONDAPI*)(HFDI, char*, char*, int, PFNFDINOTIFY, PFNFDIDECRYPT, void*);
using FDIDestroyFn = BOOL(DIAMONDAPI*)(HFDI);
using FCICreateFn = HFCI(DIAMONDAPI*)(PERF, PFNFCIFILEPLACED, PFNFCIALLOC, PFNFCIFREE, PFNFCIOPEN, PFNFCIREAD,
                                      PFNFCIWRITE, PFNFCICLOSE, PFNFCISEEK, PFNFCIDELETE, PFNFCIGETTEMPFILE, PCCAB,
                                      void*);
using FCIAddFileFn = BOOL(DIAMONDAPI*)(HFCI, char*, char*, BOOL, PFNFCIGETNEXTCABINET, PFNFCISTATUS,
                                       PFNFCIGETOPENINFO, TCOMP);
using FCIFlushCabinetFn = BOOL(DIAMONDAPI*)(HFCI, BOOL, PFNFCIGETNEXTCABINET, PFNFCISTATUS);
using FCIFlushFolderFn = BOOL(DIAMONDAPI*)(HFCI, PFNFCIGETNEXTCABINET, PFNFCISTATUS);
using FCIDestroyFn = BOOL(DIAMONDAPI*)(HFCI);

// The library's handle, destroyed at the latest when the owner goes.
template <class H, class DestroyFn>
class TCabContext {
public:
    TCabContext(H h, DestroyFn destroy) : h_(h), destroy_(destroy) {}
    ~TCabContext() { Destroy(); }
    TCabContext(const TCabContext&) = delete;
    TCabContext& operator=(const TCabContext&) = delete;
    H Get() const { return h_; }
    // True when the library released it.
    bool Destroy()
    {
        if (!h_)
            return true;
        BOOL ok = destroy_(h_);
        h_ = nullptr;
        return ok != FALSE;
    }

private:
    H h_;
    DestroyFn destroy_;
};

// The system's message for an error code, as the operations raise it.
Exception SystemError(DWORD code)
{
    char text[1025] = "";
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text,
                             sizeof text, nullptr);
    std::string message(text, n);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r'))
        message.pop_back();
    return Exception(message);
}

// A name as a cabinet stores it must stay below the target folder: no drive
// or stream (":"), no leading backslash, no element that climbs (".." and
// what Windows reads as "..", such as "..." or ". .").
bool IsSafeEntryName(const std::string& name)
{
    if (name.empty() || name[0] == '\\' || name[0] == '/' || name.find(':') != std::string::npos)
        return false;
    std::size_t start = 0;
    while (start <= name.size()) {
        std::size_t end = name.find_first_of("\\/", start);
        if (end == std::string::npos)
            end = name.size();
        std::string element = name.substr(start, end - start);
        bool onlyDots = !element.empty() && element.find_first_not_of(". ") == std::string::npos;
        if (onlyDots && std::count(element.begin(), element.end(), '.') >= 2)
            return false;
        start = end + 1;
    }
    return true;
}

// Local wall-clock time of a file as the cabinet stores it, by the rules of
// the time zone at that date (not today's offset), so that a round trip gives
// the file its own time back.
bool FileTimeToLocalDos(const FILETIME& utc, USHORT& date, USHORT& time)
{
    SYSTEMTIME su, sl;
    FILETIME local;
    WORD d, t;
    if (!FileTimeToSystemTime(&utc, &su) || !SystemTimeToTzSpecificLocalTime(nullptr, &su, &sl) ||
        !SystemTimeToFileTime(&sl, &local) || !FileTimeToDosDateTime(&local, &d, &t))
        return false;
    date = d;
    time = t;
    return true;
}

bool LocalDosToFileTime(USHORT date, USHORT time, FILETIME& utc)
{
    FILETIME local;
    SYSTEMTIME sl, su;
    return DosDateTimeToFileTime(date, time, &local) && FileTimeToSystemTime(&local, &sl) &&
           TzSpecificLocalTimeToSystemTime(nullptr, &sl, &su) && SystemTimeToFileTime(&su, &utc);
}

} // namespace

// ---------------------------------------------------------------------------
// One operation: what the callbacks share. The library's callbacks are C
// frames, so an error met inside one is kept here, the library is told of a
// failure, and the error is raised once the library has returned. Handles the
// library opened and did not close are closed at the end; files the
// operation brought into being and could not finish are deleted.

struct CabRun {
    explicit CabRun(TCABFile* file) : File(file), previous_(current) { current = this; }
    ~CabRun()
    {
        CloseLeftovers();
        current = previous_;
    }
    CabRun(const CabRun&) = delete;
    CabRun& operator=(const CabRun&) = delete;

    // The run of the calling thread: the decompressor's file callbacks get no
    // user value.
    static thread_local CabRun* current;

    void Fail(std::exception_ptr error)
    {
        if (!Error)
            Error = error;
    }
    void FailSystem(DWORD code)
    {
        if (code != 0)
            Fail(std::make_exception_ptr(SystemError(code)));
    }
    void RaiseIfFailed()
    {
        if (Error)
            std::rethrow_exception(std::exchange(Error, nullptr));
    }

    INT_PTR Opened(HANDLE h, const std::string& createdName = std::string())
    {
        open_.push_back({h, createdName});
        return reinterpret_cast<INT_PTR>(h);
    }
    // The library closed it; a file the run made is taken back if the run
    // fails.
    void Closed(INT_PTR hf)
    {
        auto it = std::find_if(open_.begin(), open_.end(),
                               [hf](const OpenFile& f) { return reinterpret_cast<INT_PTR>(f.handle) == hf; });
        if (it == open_.end())
            return;
        if (!it->created.empty())
            created_.push_back(it->created);
        open_.erase(it);
    }
    // A file the run made is complete: it stays even when the run fails.
    void Finished(INT_PTR hf)
    {
        auto it = std::find_if(open_.begin(), open_.end(),
                               [hf](const OpenFile& f) { return reinterpret_cast<INT_PTR>(f.handle) == hf; });
        if (it != open_.end())
            open_.erase(it);
    }
    void Deleted(const char* name)
    {
        created_.erase(std::remove_if(created_.begin(), created_.end(),
                                      [name](const std::string& s) { return EqualNoCase(s, name); }),
                       created_.end());
    }
    // What a failed run leaves: open handles, and the files it made.
    void Abandon()
    {
        CloseLeftovers();
        for (const std::string& name : created_)
            DeleteFileA(name.c_str());
        created_.clear();
    }

    bool Listing() const { return File->mode_ == TCABFile::TRunMode::List; }
    const std::string& Wanted() const { return File->extractName_; }

    TCABFile* File;
    std::exception_ptr Error;

private:
    struct OpenFile {
        HANDLE handle;
        std::string created;
    };
    void CloseLeftovers()
    {
        for (const OpenFile& f : open_) {
            CloseHandle(f.handle);
            if (!f.created.empty())
                created_.push_back(f.created);
        }
        open_.clear();
    }

    CabRun* previous_;
    std::vector<OpenFile> open_;
    std::vector<std::string> created_;
};

thread_local CabRun* CabRun::current = nullptr;

namespace {

// ---------------------------------------------------------------------------
// Callbacks shared by both directions.

void* DIAMONDAPI CabAlloc(ULONG cb)
{
    return HeapAlloc(GetProcessHeap(), 0, cb);
}

void DIAMONDAPI CabFree(void* memory)
{
    if (memory)
        HeapFree(GetProcessHeap(), 0, memory);
}

// Opens with the C run time's flags the library passes. The created name is
// kept so that a run that fails can take back what it made.
INT_PTR OpenWithFlags(CabRun* run, const char* name, int oflag, int* err)
{
    DWORD access = (oflag & _O_RDWR) ? GENERIC_READ | GENERIC_WRITE
                   : (oflag & _O_WRONLY) ? GENERIC_WRITE
                                         : GENERIC_READ;
    bool create = (oflag & _O_CREAT) != 0;
    HANDLE h = CreateFileA(name, access, FILE_SHARE_READ, nullptr, create ? CREATE_ALWAYS : OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD code = GetLastError();
    if (h == INVALID_HANDLE_VALUE) {
        if (err)
            *err = static_cast<int>(code);
        return -1;
    }
    if (err)
        *err = 0;
    if (!run) {
        // No run to take it back: the library closes what it opened.
        return reinterpret_cast<INT_PTR>(h);
    }
    // Only a file that did not exist before is ours to take back.
    bool made = create && code != ERROR_ALREADY_EXISTS;
    return run->Opened(h, made ? std::string(name) : std::string());
}

// Read, write, close and seek. raise: a failure is kept as the system's error
// to be raised after the library returns (the decompressor's read only
// answers -1).
UINT ReadFrom(CabRun* run, INT_PTR hf, void* memory, UINT cb, int* err, bool raise)
{
    DWORD done = 0;
    if (!ReadFile(reinterpret_cast<HANDLE>(hf), memory, cb, &done, nullptr)) {
        DWORD code = GetLastError();
        if (err)
            *err = static_cast<int>(code);
        if (raise && run)
            run->FailSystem(code);
        return static_cast<UINT>(-1);
    }
    return done;
}

UINT WriteTo(CabRun* run, INT_PTR hf, void* memory, UINT cb, int* err)
{
    DWORD done = 0;
    if (!WriteFile(reinterpret_cast<HANDLE>(hf), memory, cb, &done, nullptr)) {
        DWORD code = GetLastError();
        if (err)
            *err = static_cast<int>(code);
        if (run)
            run->FailSystem(code);
        return static_cast<UINT>(-1);
    }
    return done;
}

int CloseIt(CabRun* run, INT_PTR hf, int* err)
{
    if (run)
        run->Closed(hf);
    if (!CloseHandle(reinterpret_cast<HANDLE>(hf))) {
        DWORD code = GetLastError();
        if (err)
            *err = static_cast<int>(code);
        if (run)
            run->FailSystem(code);
        return -1;
    }
    return 0;
}

LONG SeekIn(CabRun* run, INT_PTR hf, LONG dist, int seektype, int* err)
{
    DWORD pos = SetFilePointer(reinterpret_cast<HANDLE>(hf), dist, nullptr, static_cast<DWORD>(seektype));
    if (pos == INVALID_SET_FILE_POINTER) {
        DWORD code = GetLastError();
        if (code != NO_ERROR) {
            if (err)
                *err = static_cast<int>(code);
            if (run)
                run->FailSystem(code);
            return -1;
        }
    }
    return static_cast<LONG>(pos);
}

// ---------------------------------------------------------------------------
// Decompressor callbacks.

INT_PTR DIAMONDAPI FdiOpen(char* name, int oflag, int)
{
    return OpenWithFlags(CabRun::current, name, oflag, nullptr);
}

UINT DIAMONDAPI FdiRead(INT_PTR hf, void* memory, UINT cb)
{
    return ReadFrom(CabRun::current, hf, memory, cb, nullptr, false);
}

UINT DIAMONDAPI FdiWrite(INT_PTR hf, void* memory, UINT cb)
{
    return WriteTo(CabRun::current, hf, memory, cb, nullptr);
}

int DIAMONDAPI FdiClose(INT_PTR hf)
{
    return CloseIt(CabRun::current, hf, nullptr);
}

LONG DIAMONDAPI FdiSeek(INT_PTR hf, LONG dist, int seektype)
{
    return SeekIn(CabRun::current, hf, dist, seektype, nullptr);
}

INT_PTR CopyFileNotify(CabRun& run, PFDINOTIFICATION n)
{
    TCABFile& file = *run.File;
    std::string name = n->psz1 ? n->psz1 : "";
    if (run.Listing()) {
        TCABFileEntry* entry = file.CABFileContents()->Add();
        entry->Name = name;
        entry->Size = static_cast<std::uint32_t>(n->cb);
        try {
            entry->DateTime = FileDateToDateTime(static_cast<int>((static_cast<unsigned>(n->date) << 16) | n->time));
        } catch (const EConvertError&) {
            entry->DateTime = 0;
        }
        return 0;
    }
    if (!EqualNoCase(name, run.Wanted()))
        return 0;
    if (!IsSafeEntryName(name))
        throw ECABFileError("Niedozwolona nazwa pliku w archiwum!\r\n" + name);
    std::string folder = file.TargetPath.empty() ? ExpandFileName(ExtractFilePath(name))
                                                 : file.TargetPath + ExtractFilePath(name);
    if (!folder.empty() && !DirectoryExists(folder))
        CreateDirectoryA(folder.c_str(), nullptr);
    std::string target = file.TargetPath + name;
    HANDLE h = CreateFileA(target.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return -1;
    return run.Opened(h, GetLastError() == ERROR_ALREADY_EXISTS ? std::string() : target);
}

INT_PTR CloseFileNotify(CabRun& run, PFDINOTIFICATION n)
{
    HANDLE h = reinterpret_cast<HANDLE>(n->hf);
    FILETIME utc;
    if (LocalDosToFileTime(n->date, n->time, utc))
        SetFileTime(h, nullptr, nullptr, &utc);
    run.Finished(n->hf);
    if (!CloseHandle(h)) {
        run.FailSystem(GetLastError());
        return -1;
    }
    return TRUE;
}

// ---------------------------------------------------------------------------
// Compressor callbacks; pv is the run.

CabRun* RunOf(void* pv)
{
    return static_cast<CabRun*>(pv);
}

int DIAMONDAPI FciFilePlaced(PCCAB, char*, LONG, BOOL, void*)
{
    return 0;
}

INT_PTR DIAMONDAPI FciOpen(char* name, int oflag, int, int* err, void* pv)
{
    return OpenWithFlags(RunOf(pv), name, oflag, err);
}

UINT DIAMONDAPI FciRead(INT_PTR hf, void* memory, UINT cb, int* err, void* pv)
{
    return ReadFrom(RunOf(pv), hf, memory, cb, err, true);
}

UINT DIAMONDAPI FciWrite(INT_PTR hf, void* memory, UINT cb, int* err, void* pv)
{
    return WriteTo(RunOf(pv), hf, memory, cb, err);
}

int DIAMONDAPI FciClose(INT_PTR hf, int* err, void* pv)
{
    return CloseIt(RunOf(pv), hf, err);
}

LONG DIAMONDAPI FciSeek(INT_PTR hf, LONG dist, int seektype, int* err, void* pv)
{
    return SeekIn(RunOf(pv), hf, dist, seektype, err);
}

int DIAMONDAPI FciDelete(char* name, int* err, void* pv)
{
    DeleteFileA(name);
    RunOf(pv)->Deleted(name);
    if (err)
        *err = 0;
    return 0;
}

BOOL DIAMONDAPI FciGetTempFile(char* tempName, int cbTempName, void*)
{
    char buffer[MAX_PATH];
    if (GetTempFileNameA(".", "CAB", 0, buffer) == 0)
        return FALSE;
    if (static_cast<int>(std::strlen(buffer)) >= cbTempName) {
        DeleteFileA(buffer);
        return FALSE;
    }
    std::strcpy(tempName, buffer);
    return TRUE;
}

// Reached only beyond the maximum cabinet size: a cabinet never spans files.
BOOL DIAMONDAPI FciGetNextCabinet(PCCAB ccab, ULONG, void*)
{
    std::snprintf(ccab->szCab, sizeof ccab->szCab, "FOO%d", ccab->iCab);
    return FALSE;
}

LONG DIAMONDAPI FciStatus(UINT typeStatus, ULONG, ULONG, void*)
{
    return typeStatus <= statusCabinet ? 0 : -1;
}

INT_PTR DIAMONDAPI FciGetOpenInfo(char* name, USHORT* date, USHORT* time, USHORT* attribs, int* err, void* pv)
{
    TFileHandle h(CreateFileA(name, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!h.Valid())
        return -1;
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(h.Get(), &info))
        return -1;
    if (!FileTimeToLocalDos(info.ftLastWriteTime, *date, *time))
        *date = *time = 0;
    *attribs = static_cast<USHORT>(info.dwFileAttributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                                            FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE));
    if (err)
        *err = 0;
    // The library reads the file through the handle that was checked.
    return RunOf(pv)->Opened(h.Release());
}

// The decompressor's notifications; pvUser is the run.
INT_PTR DIAMONDAPI FdiNotify(FDINOTIFICATIONTYPE type, PFDINOTIFICATION n)
{
    CabRun& run = *static_cast<CabRun*>(n->pv);
    try {
        switch (type) {
        case fdintCOPY_FILE:
            return CopyFileNotify(run, n);
        case fdintCLOSE_FILE_INFO:
            return CloseFileNotify(run, n);
        default:
            return 0;
        }
    } catch (...) {
        run.Fail(std::current_exception());
        return -1;
    }
}

} // namespace

// ---------------------------------------------------------------------------

std::string CabErrorText(int code)
{
    static const char* const texts[] = {
        "No error",
        "Failure opening file to be stored in cabinet",
        "Failure reading file to be stored in cabinet",
        "Insufficient memory in FCI",
        "Could not create a temporary file",
        "Unknown compression type",
        "Could not create cabinet file",
        "Client requested abort",
        "Failure compressing data",
    };
    if (code >= 0 && code < static_cast<int>(std::size(texts)))
        return texts[code];
    return "Unknown error";
}

const TClassInfo& TCABFileEntry::StaticClass()
{
    static const TClassInfo info("TCABFileEntry", &TPersistent::StaticClass(), nullptr,
                                 {
                                     PublishString<&TCABFileEntry::Name, &TCABFileEntry::Name>("Name"),
                                 });
    return info;
}

const TClassInfo* TCABFileEntry::ClassInfo() const
{
    return &StaticClass();
}

TCABFileContents::TCABFileContents(TCABFile* owner) : TCollection(CollectionItemClass<TCABFileEntry>, owner) {}

bool TCABFileContents::Find(const std::string& name) const
{
    for (int i = 0; i < Count(); ++i)
        if (EqualNoCase(Items(i)->Name, name))
            return true;
    return false;
}

TCABFile::TCABFile(TComponent* owner) : TComponent(owner), contents_(new TCABFileContents(this)) {}

TCABFile::~TCABFile()
{
    delete contents_;
}

const TClassInfo& TCABFile::StaticClass()
{
    static const TClassInfo info(
        "TCABFile", &TComponent::StaticClass(), &NewComponent<TCABFile>,
        {
            PublishString<&TCABFile::CABFile, &TCABFile::CABFile>("CABFile"),
            PublishString<&TCABFile::TargetPath, &TCABFile::TargetPath>("TargetPath"),
            PublishObject<&TCABFile::CABFileContents>("CABFileContents"),
        });
    return info;
}

const TClassInfo* TCABFile::ClassInfo() const
{
    return &StaticClass();
}

void TCABFile::ListContents()
{
    contents_->Clear();
    mode_ = TRunMode::List;
    RunDecompressor();
}

bool TCABFile::ExtractFile(const std::string& name)
{
    extractName_ = name;
    mode_ = TRunMode::Extract;
    return RunDecompressor();
}

bool TCABFile::RunDecompressor()
{
    {
        TFileHandle probe(CreateFileA(CABFile.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!probe.Valid())
            return false;
    }
    TLibrary library("cabinet.dll");
    FDICreateFn create;
    FDIIsCabinetFn isCabinet;
    FDICopyFn copy;
    FDIDestroyFn destroy;
    if (!library || !library.Get("FDICreate", create) || !library.Get("FDIIsCabinet", isCabinet) ||
        !library.Get("FDICopy", copy) || !library.Get("FDIDestroy", destroy))
        return false;

    CabRun run(this);
    ERF erf{};
    TCabContext<HFDI, FDIDestroyFn> context(
        create(CabAlloc, CabFree, FdiOpen, FdiRead, FdiWrite, FdiClose, FdiSeek, cpu80386, &erf), destroy);
    if (!context.Get())
        return false;

    bool copied = true;
    INT_PTR hf = FdiOpen(CABFile.data(), _O_BINARY | _O_RDONLY, 0);
    if (hf != -1) {
        FDICABINETINFO info{};
        BOOL isCab = isCabinet(context.Get(), hf, &info);
        FdiClose(hf);
        if (isCab) {
            std::string full = ExpandFileName(CABFile);
            std::string cabName = ExtractFileName(full);
            std::string cabPath = ExtractFilePath(full);
            copied = copy(context.Get(), cabName.data(), cabPath.data(), 0, FdiNotify, nullptr, &run) != FALSE;
        }
    }
    bool released = context.Destroy();
    if (run.Error || !copied)
        run.Abandon();
    run.RaiseIfFailed();
    return released && copied;
}

bool TCABFile::CreateCabinet()
{
    TLibrary library("cabinet.dll");
    if (!library)
        return false;

    CCAB ccab{};
    ccab.cb = 134217727;
    ccab.cbFolderThresh = 900000;
    ccab.iCab = 1;
    ccab.iDisk = 0;
    ccab.fFailOnIncompressible = FALSE;
    ccab.setID = 12345;
    std::strncpy(ccab.szDisk, "CAB", sizeof ccab.szDisk - 1);
    std::string cabName = ExtractFileName(CABFile);
    std::string cabPath = ExtractFilePath(CABFile);
    if (cabName.size() >= sizeof ccab.szCab || cabPath.size() >= sizeof ccab.szCabPath)
        throw ECABFileError(CabErrorText(FCIERR_CAB_FILE));
    std::strcpy(ccab.szCab, cabName.c_str());
    std::strcpy(ccab.szCabPath, cabPath.c_str());

    FCICreateFn create;
    FCIDestroyFn destroy;
    FCIAddFileFn addFile;
    FCIFlushCabinetFn flushCabinet;
    FCIFlushFolderFn flushFolder;
    if (!library.Get("FCICreate", create) || !library.Get("FCIDestroy", destroy) ||
        !library.Get("FCIAddFile", addFile) || !library.Get("FCIFlushCabinet", flushCabinet) ||
        !library.Get("FCIFlushFolder", flushFolder))
        return false;

    CabRun run(this);
    ERF erf{};
    TCabContext<HFCI, FCIDestroyFn> context(create(&erf, FciFilePlaced, CabAlloc, CabFree, FciOpen, FciRead, FciWrite,
                                                   FciClose, FciSeek, FciDelete, FciGetTempFile, &ccab, &run),
                                            destroy);
    // Frees the context and what it left, then raises what went wrong.
    auto fail = [&]() {
        context.Destroy();
        run.Abandon();
        run.RaiseIfFailed();
        throw ECABFileError(CabErrorText(erf.erfOper));
    };
    if (!context.Get())
        fail();

    for (int i = 0; i < contents_->Count(); ++i) {
        const std::string& name = contents_->Items(i)->Name;
        std::string source = ExpandFileName(name);
        std::string stored = ExtractFileName(name);
        if (!addFile(context.Get(), source.data(), stored.data(), FALSE, FciGetNextCabinet, FciStatus, FciGetOpenInfo,
                     tcompTYPE_MSZIP))
            fail();
    }
    if (!flushCabinet(context.Get(), FALSE, FciGetNextCabinet, FciStatus))
        fail();
    if (!context.Destroy())
        fail();
    run.RaiseIfFailed();
    return true;
}

void CabFilesStartup()
{
    RegisterComponentClass(TCABFile::StaticClass());
}
