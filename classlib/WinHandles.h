#pragma once

// Owners of the plain system handles the units hold for the length of a
// call: a kernel handle closed on every way out, a directory listing, and
// the COM library of the calling thread.

#include <windows.h>

#include <string>

// A kernel handle (a file, a process, an event): closed when the owner goes,
// unless it was closed or released before. Both null and
// INVALID_HANDLE_VALUE mean "none", as the system's functions return one or
// the other on failure.
class TFileHandle {
public:
    explicit TFileHandle(HANDLE handle) : handle_(handle) {}
    ~TFileHandle()
    {
        if (Valid())
            CloseHandle(handle_);
    }
    TFileHandle(const TFileHandle&) = delete;
    TFileHandle& operator=(const TFileHandle&) = delete;

    HANDLE Get() const { return handle_; }
    bool Valid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
    // Gives the handle up to the caller, who closes it.
    HANDLE Release()
    {
        HANDLE handle = handle_;
        handle_ = INVALID_HANDLE_VALUE;
        return handle;
    }
    // Closes now, so that a failed close can be reported.
    bool Close() { return CloseHandle(Release()) != 0; }

private:
    HANDLE handle_;
};

// A directory listing of the entries that match a pattern, closed when it
// goes: Found tells whether Data holds an entry, Next moves to the next one.
class TDirListing {
public:
    explicit TDirListing(const std::string& pattern) : handle_(FindFirstFileA(pattern.c_str(), &data_)) {}
    ~TDirListing()
    {
        if (handle_ != INVALID_HANDLE_VALUE)
            FindClose(handle_);
    }
    TDirListing(const TDirListing&) = delete;
    TDirListing& operator=(const TDirListing&) = delete;

    bool Found() const { return found_; }
    const WIN32_FIND_DATAA& Data() const { return data_; }
    void Next() { found_ = FindNextFileA(handle_, &data_) != FALSE; }

private:
    WIN32_FIND_DATAA data_{};
    HANDLE handle_;
    bool found_ = handle_ != INVALID_HANDLE_VALUE;
};

// The COM library for the calling thread, for as long as the object lives.
class TComLibrary {
public:
    TComLibrary() : initialised_(SUCCEEDED(CoInitialize(nullptr))) {}
    ~TComLibrary()
    {
        if (initialised_)
            CoUninitialize();
    }
    TComLibrary(const TComLibrary&) = delete;
    TComLibrary& operator=(const TComLibrary&) = delete;

private:
    bool initialised_;
};
