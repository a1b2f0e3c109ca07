#include "grid/AdvAutomation.h"

#include <vector>

namespace {

std::string HexCode(HRESULT code)
{
    char buffer[16];
    wsprintfA(buffer, "%08lX", static_cast<unsigned long>(code));
    return buffer;
}

// The error of a failed call, with the server's own description when it
// gave one; the exception's texts are freed here.
[[noreturn]] void RaiseCallError(const wchar_t* name, HRESULT code, EXCEPINFO& info)
{
    std::string message;
    if (code == DISP_E_EXCEPTION) {
        if (info.pfnDeferredFillIn)
            info.pfnDeferredFillIn(&info);
        if (info.bstrDescription)
            message = WideToAnsi(info.bstrDescription, SysStringLen(info.bstrDescription));
        if (info.scode)
            code = info.scode;
    }
    SysFreeString(info.bstrSource);
    SysFreeString(info.bstrDescription);
    SysFreeString(info.bstrHelpFile);
    if (message.empty())
        message = "OLE error " + HexCode(code) + " in " + WideToAnsi(name, wcslen(name));
    throw EOleError(message, code);
}

} // namespace

TOleVariant::TOleVariant(const std::string& text)
{
    VariantInit(&v);
    const std::wstring wide = AnsiToWide(text);
    v.vt = VT_BSTR;
    v.bstrVal = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
}

TOleVariant::TOleVariant(bool value)
{
    VariantInit(&v);
    v.vt = VT_BOOL;
    v.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
}

TOleVariant::TOleVariant(TOleVariant&& other) noexcept : v(other.v)
{
    VariantInit(&other.v);
}

TAutoObject& TAutoObject::operator=(TAutoObject&& other) noexcept
{
    if (this != &other) {
        Release();
        object_ = other.object_;
        other.object_ = nullptr;
    }
    return *this;
}

void TAutoObject::Release()
{
    if (object_)
        object_->Release();
    object_ = nullptr;
}

TAutoObject TAutoObject::Create(const std::string& progId)
{
    CLSID clsid;
    HRESULT hr = CLSIDFromProgID(AnsiToWide(progId).c_str(), &clsid);
    if (FAILED(hr))
        throw EOleError("Invalid class string", hr);
    IDispatch* object = nullptr;
    hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IDispatch,
                          reinterpret_cast<void**>(&object));
    if (FAILED(hr) || !object)
        throw EOleError("OLE error " + HexCode(hr), hr);
    return TAutoObject(object);
}

TOleVariant TAutoObject::Invoke(const wchar_t* name, WORD flags, std::initializer_list<const TOleVariant*> args,
                                std::initializer_list<TNamedArg> named)
{
    if (!object_)
        throw EOleError("OLE object not assigned", E_POINTER);
    // The member's identifier first, then those of the named arguments.
    std::vector<LPOLESTR> names{const_cast<LPOLESTR>(name)};
    for (const TNamedArg& arg : named)
        names.push_back(const_cast<LPOLESTR>(arg.Name));
    std::vector<DISPID> ids(names.size());
    HRESULT hr = object_->GetIDsOfNames(IID_NULL, names.data(), static_cast<UINT>(names.size()),
                                        LOCALE_USER_DEFAULT, ids.data());
    if (FAILED(hr))
        throw EOleError("Unknown name " + WideToAnsi(name, wcslen(name)), hr);
    // The call takes its arguments last first, the named ones before the
    // positional ones.
    std::vector<VARIANT> values;
    std::vector<DISPID> namedIds;
    for (auto it = named.end(); it != named.begin();) {
        --it;
        values.push_back(it->Value->v);
        namedIds.push_back(ids[1 + (it - named.begin())]);
    }
    for (auto it = args.end(); it != args.begin();) {
        --it;
        values.push_back((*it)->v);
    }
    DISPPARAMS params{values.data(), namedIds.empty() ? nullptr : namedIds.data(),
                      static_cast<UINT>(values.size()), static_cast<UINT>(namedIds.size())};
    TOleVariant result;
    EXCEPINFO info{};
    UINT argError = 0;
    hr = object_->Invoke(ids[0], IID_NULL, LOCALE_USER_DEFAULT, flags, &params, &result.v, &info, &argError);
    if (FAILED(hr))
        RaiseCallError(name, hr, info);
    return result;
}

TOleVariant TAutoObject::Get(const wchar_t* name, std::initializer_list<const TOleVariant*> args)
{
    return Invoke(name, DISPATCH_PROPERTYGET | DISPATCH_METHOD, args, {});
}

TOleVariant TAutoObject::Call(const wchar_t* name, std::initializer_list<const TOleVariant*> args,
                              std::initializer_list<TNamedArg> named)
{
    return Invoke(name, DISPATCH_METHOD | DISPATCH_PROPERTYGET, args, named);
}

namespace {

TAutoObject AsObject(const wchar_t* name, TOleVariant&& value)
{
    VARIANT& v = value.v;
    IDispatch* object = nullptr;
    if (v.vt == VT_DISPATCH && v.pdispVal)
        v.pdispVal->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&object));
    else if (v.vt == VT_UNKNOWN && v.punkVal)
        v.punkVal->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&object));
    if (!object)
        throw EOleError("No object from " + WideToAnsi(name, wcslen(name)), E_NOINTERFACE);
    return TAutoObject(object);
}

} // namespace

TAutoObject TAutoObject::GetObject(const wchar_t* name, std::initializer_list<const TOleVariant*> args)
{
    return AsObject(name, Get(name, args));
}

TAutoObject TAutoObject::CallObject(const wchar_t* name, std::initializer_list<const TOleVariant*> args)
{
    return AsObject(name, Call(name, args));
}

std::string VariantToText(const VARIANT& value)
{
    switch (value.vt) {
    case VT_EMPTY:
    case VT_NULL:
    case VT_ERROR:
        return {};
    case VT_BSTR:
        return WideToAnsi(value.bstrVal, SysStringLen(value.bstrVal));
    default:
        break;
    }
    VARIANT text;
    VariantInit(&text);
    std::string result;
    if (SUCCEEDED(VariantChangeTypeEx(&text, const_cast<VARIANT*>(&value), LOCALE_USER_DEFAULT, VARIANT_ALPHABOOL, VT_BSTR)))
        result = WideToAnsi(text.bstrVal, SysStringLen(text.bstrVal));
    VariantClear(&text);
    return result;
}
