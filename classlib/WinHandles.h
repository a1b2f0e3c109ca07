#pragma once

// Owners of the plain system handles the units hold for the length of a
// call: a kernel handle closed on every way out, and the COM library of the
// calling thread.

#include <windows.h>

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
