// Run-time errors of the class library and the routines around them.
#pragma once

#include <exception>
#include <string>

// Base of every error the programs raise; carries a message for the user.
class Exception : public std::exception {
public:
    explicit Exception(std::string message) : message_(std::move(message)) {}
    const std::string& Message() const noexcept { return message_; }
    const char* what() const noexcept override { return message_.c_str(); }

private:
    std::string message_;
};

// A value outside its range: positions and counters kept in a byte.
class ERangeError : public Exception {
public:
    ERangeError() : Exception("Range check error") {}
};

// Integer arithmetic that overflowed its type.
class EIntOverflow : public Exception {
public:
    EIntOverflow() : Exception("Integer overflow") {}
};

// A file that could not be created, opened, written or closed; ErrorCode is
// the system's error code.
class EInOutError : public Exception {
public:
    explicit EInOutError(unsigned long errorCode)
        : Exception("I/O error " + std::to_string(errorCode)), ErrorCode(errorCode) {}
    unsigned long ErrorCode;
};

// A text that is not what it should convert to (a number, a date), or an
// object that cannot be assigned to another.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

// An index outside a list, or a duplicate a sorted list refuses.
class EListError : public Exception {
public:
    using Exception::Exception;
};

// Streams: reading past the end, a write that failed, a file that could not
// be opened or created.
class EStreamError : public Exception {
public:
    using Exception::Exception;
};
class EReadError : public EStreamError {
public:
    using EStreamError::EStreamError;
};
class EWriteError : public EStreamError {
public:
    using EStreamError::EStreamError;
};
class EFOpenError : public EStreamError {
public:
    using EStreamError::EStreamError;
};
class EFCreateError : public EStreamError {
public:
    using EStreamError::EStreamError;
};

// A failed system call; ErrorCode is its GetLastError code.
class EOSError : public Exception {
public:
    EOSError(std::string message, unsigned long errorCode) : Exception(std::move(message)), ErrorCode(errorCode) {}
    unsigned long ErrorCode;
};

// Upper- and lower-case forms through the Windows locale (Polish letters fold
// like ASCII ones).
std::string AnsiUpperCase(std::string s);
std::string AnsiLowerCase(std::string s);
