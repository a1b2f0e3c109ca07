#include "tests/common_reg/RegTestUtil.h"

#include <atomic>
#include <sstream>
#include <stdexcept>

TestKey::TestKey()
{
    static std::atomic<unsigned> counter{0};
    std::ostringstream name;
    name << "Software\\QmxTest\\reg_" << GetCurrentProcessId() << "_" << GetTickCount() << "_" << counter++;
    path_ = name.str();
    DeleteRawTree(HKEY_CURRENT_USER, path_);
}

TestKey::~TestKey()
{
    DeleteRawTree(HKEY_CURRENT_USER, path_);
}

KeyRestorer::KeyRestorer(HKEY root, std::string path, std::initializer_list<const char*> values)
    : root_(root), path_(std::move(path)), existed_(RawKeyExists(root_, path_)), values_(values.begin(), values.end())
{
    Clear();
}

KeyRestorer::~KeyRestorer()
{
    Clear();
}

void KeyRestorer::Clear()
{
    if (!existed_) {
        DeleteRawTree(root_, path_);
        return;
    }
    HKEY key = nullptr;
    if (RegOpenKeyExA(root_, path_.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return;
    for (const std::string& name : values_)
        RegDeleteValueA(key, name.c_str());
    RegCloseKey(key);
}

bool RawKeyExists(HKEY root, const std::string& path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

void SetRawValue(HKEY root, const std::string& path, const std::string& name, DWORD type, const void* data,
                 DWORD size)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
        throw std::runtime_error("cannot create " + path);
    LONG rc = RegSetValueExA(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS)
        throw std::runtime_error("cannot set " + name);
}

void SetRawString(HKEY root, const std::string& path, const std::string& name, const std::string& value)
{
    SetRawValue(root, path, name, REG_SZ, value.c_str(), static_cast<DWORD>(value.size() + 1));
}

bool GetRawString(HKEY root, const std::string& path, const std::string& name, std::string& value)
{
    char buffer[1024] = {};
    DWORD size = sizeof buffer - 1;
    if (RegGetValueA(root, path.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS)
        return false;
    value = buffer;
    return true;
}

DWORD RawValueType(HKEY root, const std::string& path, const std::string& name)
{
    HKEY key = nullptr;
    DWORD type = REG_NONE;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return REG_NONE;
    if (RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, nullptr) != ERROR_SUCCESS)
        type = REG_NONE;
    RegCloseKey(key);
    return type;
}

DWORD RawValueCount(HKEY root, const std::string& path)
{
    HKEY key = nullptr;
    DWORD values = 0;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return 0;
    RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr, nullptr,
                     nullptr);
    RegCloseKey(key);
    return values;
}

bool GetRawStringW(HKEY root, const std::wstring& path, const std::wstring& name, std::wstring& value)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    wchar_t buffer[512] = {};
    DWORD type = 0, size = sizeof buffer - sizeof(wchar_t);
    LONG rc = RegQueryValueExW(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS || type != REG_SZ)
        return false;
    value = buffer;
    return true;
}

void DeleteRawTree(HKEY root, const std::string& path)
{
    RegDeleteTreeA(root, path.c_str());
    RegDeleteKeyA(root, path.c_str());
}

ValueOverride::ValueOverride(const std::string& key, const std::string& name, const std::string* value)
    : key_(key), name_(name)
{
    HKEY k;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, key_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr) !=
        ERROR_SUCCESS)
        return;
    DWORD size = 0;
    if (RegQueryValueExA(k, name_.c_str(), nullptr, &type_, nullptr, &size) == ERROR_SUCCESS) {
        old_.resize(size);
        had_ = RegQueryValueExA(k, name_.c_str(), nullptr, &type_, reinterpret_cast<BYTE*>(old_.data()), &size) ==
               ERROR_SUCCESS;
    }
    if (value)
        RegSetValueExA(k, name_.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value->c_str()),
                       static_cast<DWORD>(value->size() + 1));
    else
        RegDeleteValueA(k, name_.c_str());
    RegCloseKey(k);
}

ValueOverride::~ValueOverride()
{
    HKEY k;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key_.c_str(), 0, KEY_ALL_ACCESS, &k) != ERROR_SUCCESS)
        return;
    if (had_)
        RegSetValueExA(k, name_.c_str(), 0, type_, reinterpret_cast<const BYTE*>(old_.data()),
                       static_cast<DWORD>(old_.size()));
    else
        RegDeleteValueA(k, name_.c_str());
    RegCloseKey(k);
}
