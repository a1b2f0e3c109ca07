// Registry helpers of the registry tests, straight on the system's calls so
// that they do not depend on the routines under test.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

// A key of the test's own below HKCU "Software\QmxTest", deleted with
// everything below it when the object goes.
class TestKey {
public:
    TestKey();
    ~TestKey();
    TestKey(const TestKey&) = delete;
    TestKey& operator=(const TestKey&) = delete;
    // Path below HKEY_CURRENT_USER, without a leading backslash.
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

// Removes what a test added below a key it may not own: the whole key when
// it did not exist before, else only the named values.
class KeyRestorer {
public:
    KeyRestorer(HKEY root, std::string path, std::initializer_list<const char*> values);
    ~KeyRestorer();
    KeyRestorer(const KeyRestorer&) = delete;
    KeyRestorer& operator=(const KeyRestorer&) = delete;
    void Clear();

private:
    HKEY root_;
    std::string path_;
    bool existed_;
    std::vector<std::string> values_;
};

bool RawKeyExists(HKEY root, const std::string& path);
// Creates the key when needed and stores the bytes with the given type.
void SetRawValue(HKEY root, const std::string& path, const std::string& name, DWORD type, const void* data,
                 DWORD size);
void SetRawString(HKEY root, const std::string& path, const std::string& name, const std::string& value);
// False when the key or the value is missing.
bool GetRawString(HKEY root, const std::string& path, const std::string& name, std::string& value);
// The type a value is stored with; REG_NONE when the key or value is missing.
DWORD RawValueType(HKEY root, const std::string& path, const std::string& name);
// How many values the key holds; 0 when it is missing.
DWORD RawValueCount(HKEY root, const std::string& path);
// The same through the wide calls: what the registry really stores.
bool GetRawStringW(HKEY root, const std::wstring& path, const std::wstring& name, std::wstring& value);
void DeleteRawTree(HKEY root, const std::string& path);

// A value of the current user's key replaced (value given) or removed
// (nullptr) for the life of the object, then put back as it was, type and
// bytes, or removed again when there was none.
class ValueOverride {
public:
    ValueOverride(const std::string& key, const std::string& name, const std::string* value);
    ~ValueOverride();
    ValueOverride(const ValueOverride&) = delete;
    ValueOverride& operator=(const ValueOverride&) = delete;

private:
    std::string key_, name_, old_;
    DWORD type_ = REG_SZ;
    bool had_ = false;
};
