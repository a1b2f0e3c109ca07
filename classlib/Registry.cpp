#include "classlib/Registry.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "classlib/Lists.h"

namespace {

bool IsPredefined(HKEY key)
{
    // The root keys are a small range of fixed handle values; they are not
    // ours to close.
    const ULONG_PTR value = reinterpret_cast<ULONG_PTR>(key);
    const ULONG_PTR first = reinterpret_cast<ULONG_PTR>(HKEY_CLASSES_ROOT);
    return value >= first && value < first + 0x100;
}

[[noreturn]] void ReadError(const std::string& name)
{
    throw ERegistryException("Niepoprawny typ danych dla \"" + name + "\"");
}

[[noreturn]] void GetDataError(const std::string& name)
{
    throw ERegistryException("Failed to get data for '" + name + "'");
}

TRegDataType DataTypeOf(DWORD type)
{
    switch (type) {
    case REG_SZ: return rdString;
    case REG_EXPAND_SZ: return rdExpandString;
    case REG_DWORD: return rdInteger;
    case REG_BINARY: return rdBinary;
    default: return rdUnknown;
    }
}

// "\a\b" and "a\b" both give "a\b".
std::string WithoutLeadingBackslash(const std::string& key)
{
    return !key.empty() && key[0] == '\\' ? key.substr(1) : key;
}

}  // namespace

// ---- TRegKey ----

TRegKey& TRegKey::operator=(TRegKey&& other) noexcept
{
    if (this != &other) {
        Close();
        key_ = other.Release();
    }
    return *this;
}

HKEY TRegKey::Release()
{
    HKEY key = key_;
    key_ = nullptr;
    return key;
}

void TRegKey::Close()
{
    if (key_ && !IsPredefined(key_))
        RegCloseKey(key_);
    key_ = nullptr;
}

// ---- TRegistry ----

TRegistry::TRegistry() : TRegistry(KEY_ALL_ACCESS)
{
}

TRegistry::TRegistry(unsigned long access) : rootKey_(HKEY_CURRENT_USER), access_(access)
{
}

TRegistry::~TRegistry() = default;

void TRegistry::SetRootKey(HKEY rootKey)
{
    if (rootKey == rootKey_)
        return;
    CloseKey();
    rootKey_ = rootKey;
}

HKEY TRegistry::BaseKey(const std::string& key) const
{
    bool relative = key.empty() || key[0] != '\\';
    return relative && currentKey_.Get() ? currentKey_.Get() : rootKey_;
}

bool TRegistry::OpenKey(const std::string& key, bool canCreate)
{
    const std::string path = WithoutLeadingBackslash(key);
    HKEY base = BaseKey(key);
    HKEY opened = nullptr;
    LONG rc;
    if (canCreate)
        rc = RegCreateKeyExA(base, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access_, nullptr, &opened,
                             nullptr);
    else
        rc = RegOpenKeyExA(base, path.c_str(), 0, access_, &opened);
    if (rc != ERROR_SUCCESS)
        return false;
    TRegKey newKey(opened);
    std::string newPath;
    if (base == currentKey_.Get() && base != rootKey_)
        newPath = path.empty() ? currentPath_ : currentPath_ + "\\" + path;
    else
        newPath = path;
    currentKey_ = std::move(newKey);
    currentPath_ = newPath;
    return true;
}

void TRegistry::CloseKey()
{
    currentKey_.Close();
    currentPath_.clear();
}

bool TRegistry::KeyExists(const std::string& key)
{
    HKEY opened = nullptr;
    if (RegOpenKeyExA(BaseKey(key), WithoutLeadingBackslash(key).c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return false;
    TRegKey owner(opened);
    return true;
}

namespace {

// Deletes name below parent with all its subkeys; the system deletes only
// keys without subkeys.
bool DeleteTree(HKEY parent, const std::string& name, REGSAM access)
{
    HKEY opened = nullptr;
    if (RegOpenKeyExA(parent, name.c_str(), 0, access | KEY_ENUMERATE_SUB_KEYS, &opened) == ERROR_SUCCESS) {
        TRegKey key(opened);
        std::vector<std::string> children;
        char buffer[256];
        for (DWORD i = 0;; ++i) {
            DWORD len = sizeof buffer;
            if (RegEnumKeyExA(key.Get(), i, buffer, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
                break;
            children.emplace_back(buffer, len);
        }
        for (const std::string& child : children)
            DeleteTree(key.Get(), child, access);
    }
    return RegDeleteKeyA(parent, name.c_str()) == ERROR_SUCCESS;
}

}  // namespace

bool TRegistry::DeleteKey(const std::string& key)
{
    const std::string path = WithoutLeadingBackslash(key);
    // An empty path would name the base key itself.
    if (path.empty())
        return false;
    return DeleteTree(BaseKey(key), path, access_);
}

bool TRegistry::ValueExists(const std::string& name)
{
    TRegDataInfo info;
    return GetDataInfo(name, info);
}

bool TRegistry::DeleteValue(const std::string& name)
{
    return currentKey_.Get() && RegDeleteValueA(currentKey_.Get(), name.c_str()) == ERROR_SUCCESS;
}

bool TRegistry::GetDataInfo(const std::string& name, TRegDataInfo& info)
{
    info = TRegDataInfo();
    DWORD type = 0, size = 0;
    if (!currentKey_.Get() ||
        RegQueryValueExA(currentKey_.Get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return false;
    info.RegData = DataTypeOf(type);
    info.DataSize = static_cast<int>(size);
    return true;
}

TRegDataType TRegistry::GetDataType(const std::string& name)
{
    TRegDataInfo info;
    GetDataInfo(name, info);
    return info.RegData;
}

int TRegistry::GetDataSize(const std::string& name)
{
    TRegDataInfo info;
    return GetDataInfo(name, info) ? info.DataSize : -1;
}

std::string TRegistry::ReadString(const std::string& name)
{
    int size = GetDataSize(name);
    if (size <= 0)
        return std::string();
    std::string data(static_cast<std::size_t>(size), '\0');
    DWORD type = 0, got = static_cast<DWORD>(size);
    if (RegQueryValueExA(currentKey_.Get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                         &got) != ERROR_SUCCESS)
        GetDataError(name);
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        ReadError(name);
    // The text ends at its terminating zero; the size may count more.
    data.resize(std::min<std::size_t>(got, data.size()));
    auto zero = data.find('\0');
    if (zero != std::string::npos)
        data.resize(zero);
    return data;
}

int TRegistry::ReadInteger(const std::string& name)
{
    TRegDataInfo info;
    if (!GetDataInfo(name, info))
        GetDataError(name);
    // The type first: a longer value of another type is a wrong type too, not
    // a failed read.
    if (info.RegData != rdInteger)
        ReadError(name);
    DWORD type = 0, value = 0, size = sizeof value;
    if (RegQueryValueExA(currentKey_.Get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD)
        GetDataError(name);
    return static_cast<int>(value);
}

bool TRegistry::ReadBool(const std::string& name)
{
    return ReadInteger(name) != 0;
}

int TRegistry::ReadBinaryData(const std::string& name, void* buffer, int bufSize)
{
    TRegDataInfo info;
    if (!GetDataInfo(name, info))
        return 0;
    if ((info.RegData != rdBinary && info.RegData != rdUnknown) || info.DataSize > bufSize)
        ReadError(name);
    DWORD type = 0, size = static_cast<DWORD>(info.DataSize);
    if (RegQueryValueExA(currentKey_.Get(), name.c_str(), nullptr, &type, static_cast<BYTE*>(buffer), &size) !=
        ERROR_SUCCESS)
        GetDataError(name);
    return static_cast<int>(size);
}

void TRegistry::PutData(const std::string& name, const void* data, unsigned long size, unsigned long type)
{
    if (!currentKey_.Get() || RegSetValueExA(currentKey_.Get(), name.c_str(), 0, type,
                                             static_cast<const BYTE*>(data), size) != ERROR_SUCCESS)
        throw ERegistryException("Failed to set data for '" + name + "'");
}

void TRegistry::WriteString(const std::string& name, const std::string& value)
{
    PutData(name, value.c_str(), static_cast<unsigned long>(value.size() + 1), REG_SZ);
}

void TRegistry::WriteExpandString(const std::string& name, const std::string& value)
{
    PutData(name, value.c_str(), static_cast<unsigned long>(value.size() + 1), REG_EXPAND_SZ);
}

void TRegistry::WriteInteger(const std::string& name, int value)
{
    DWORD data = static_cast<DWORD>(value);
    PutData(name, &data, sizeof data, REG_DWORD);
}

void TRegistry::WriteBool(const std::string& name, bool value)
{
    WriteInteger(name, value ? 1 : 0);
}

void TRegistry::WriteBinaryData(const std::string& name, const void* buffer, int bufSize)
{
    PutData(name, buffer, static_cast<unsigned long>(bufSize), REG_BINARY);
}

void TRegistry::GetKeyNames(TStrings& strings)
{
    strings.BeginUpdate();
    try {
        strings.Clear();
        if (HKEY key = currentKey_.Get()) {
            char buffer[256];  // a key name has at most 255 characters
            for (DWORD i = 0;; ++i) {
                DWORD len = sizeof buffer;
                if (RegEnumKeyExA(key, i, buffer, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
                    break;
                strings.Add(std::string(buffer, len));
            }
        }
    } catch (...) {
        strings.EndUpdate();
        throw;
    }
    strings.EndUpdate();
}

void TRegistry::GetValueNames(TStrings& strings)
{
    strings.BeginUpdate();
    try {
        strings.Clear();
        DWORD maxLen = 0;
        HKEY key = currentKey_.Get();
        if (key && RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &maxLen,
                                    nullptr, nullptr, nullptr) == ERROR_SUCCESS) {
            std::vector<char> buffer(maxLen + 1);
            for (DWORD i = 0;; ++i) {
                DWORD len = static_cast<DWORD>(buffer.size());
                if (RegEnumValueA(key, i, buffer.data(), &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
                    break;
                strings.Add(std::string(buffer.data(), len));
            }
        }
    } catch (...) {
        strings.EndUpdate();
        throw;
    }
    strings.EndUpdate();
}
