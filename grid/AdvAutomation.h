// Late-bound automation for the worksheet import: an automation object made
// by its program identifier and called by the names of its members
// (IDispatch), its values turned into code page 1250 text.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <initializer_list>
#include <string>

#include "classlib/SysUtils.h"

// A call the automation server refused or could not take; the message is the
// server's description when it gave one.
class EOleError : public Exception {
public:
    EOleError(std::string message, HRESULT code) : Exception(std::move(message)), ErrorCode(code) {}
    HRESULT ErrorCode;
};

// A VARIANT, cleared when it goes.
class TOleVariant {
public:
    TOleVariant() { VariantInit(&v); }
    explicit TOleVariant(const std::string& text);
    explicit TOleVariant(bool value);
    ~TOleVariant() { VariantClear(&v); }
    TOleVariant(TOleVariant&& other) noexcept;
    TOleVariant(const TOleVariant&) = delete;
    TOleVariant& operator=(const TOleVariant&) = delete;

    VARIANT v;
};

// One named argument of a call.
struct TNamedArg {
    const wchar_t* Name;
    const TOleVariant* Value;
};

// An automation object: holds one reference, released when it goes.
class TAutoObject {
public:
    TAutoObject() = default;
    // Takes over the reference.
    explicit TAutoObject(IDispatch* object) : object_(object) {}
    TAutoObject(TAutoObject&& other) noexcept : object_(other.object_) { other.object_ = nullptr; }
    TAutoObject& operator=(TAutoObject&& other) noexcept;
    ~TAutoObject() { Release(); }
    TAutoObject(const TAutoObject&) = delete;
    TAutoObject& operator=(const TAutoObject&) = delete;

    // A new object of the server registered under the identifier;
    // EOleError when there is none or it cannot be made.
    static TAutoObject Create(const std::string& progId);

    explicit operator bool() const { return object_ != nullptr; }
    void Release();

    // Reads a property (with arguments, as a range's cells) or calls a
    // method; positional arguments in their order.
    TOleVariant Get(const wchar_t* name, std::initializer_list<const TOleVariant*> args = {});
    TOleVariant Call(const wchar_t* name, std::initializer_list<const TOleVariant*> args = {},
                     std::initializer_list<TNamedArg> named = {});
    // A property or a method's result that is an object.
    TAutoObject GetObject(const wchar_t* name, std::initializer_list<const TOleVariant*> args = {});
    TAutoObject CallObject(const wchar_t* name, std::initializer_list<const TOleVariant*> args = {});

private:
    TOleVariant Invoke(const wchar_t* name, WORD flags, std::initializer_list<const TOleVariant*> args,
                       std::initializer_list<TNamedArg> named);
    IDispatch* object_ = nullptr;
};

// A value as text: nothing for empty, null and error values, numbers, dates
// and currency in the user's locale, True or False, texts in code page 1250.
std::string VariantToText(const VARIANT& value);
