// The registry: one key at a time below a root key, its values read and
// written by type.
#pragma once

#include <string>

#include "classlib/Classes.h"

// The same declaration as the platform header's, so that users of this
// header need not include it.
struct HKEY__;
typedef struct HKEY__* HKEY;

class TStrings;

// A registry key handle, closed when the object goes. Root keys (the
// predefined handles) are never closed.
class TRegKey {
public:
    TRegKey() = default;
    explicit TRegKey(HKEY key) : key_(key) {}
    ~TRegKey() { Close(); }
    TRegKey(TRegKey&& other) noexcept : key_(other.Release()) {}
    TRegKey& operator=(TRegKey&& other) noexcept;
    TRegKey(const TRegKey&) = delete;
    TRegKey& operator=(const TRegKey&) = delete;

    HKEY Get() const { return key_; }
    HKEY Release();
    void Close();

private:
    HKEY key_ = nullptr;
};

// A value that is not of the type asked for, or that cannot be read or
// written.
class ERegistryException : public Exception {
public:
    using Exception::Exception;
};

enum TRegDataType { rdUnknown, rdString, rdExpandString, rdInteger, rdBinary };

struct TRegDataInfo {
    TRegDataType RegData = rdUnknown;
    int DataSize = 0;
};

// Works on one open key (CurrentKey) below RootKey. Key paths that begin
// with "\" start at the root; others start at the open key, or at the root
// when none is open. Keys are opened with Access (full access unless set).
class TRegistry : public TObject {
public:
    // HKEY_CURRENT_USER, full access.
    TRegistry();
    explicit TRegistry(unsigned long access);
    ~TRegistry() override;
    TRegistry(const TRegistry&) = delete;
    TRegistry& operator=(const TRegistry&) = delete;

    HKEY RootKey() const { return rootKey_; }
    // Closes the open key first.
    void SetRootKey(HKEY rootKey);
    unsigned long Access() const { return access_; }
    void SetAccess(unsigned long access) { access_ = access; }
    // The open key (nullptr when none) and its path below the root.
    HKEY CurrentKey() const { return currentKey_.Get(); }
    const std::string& CurrentPath() const { return currentPath_; }

    // Opens key, or with canCreate creates it and any missing keys above it;
    // false when that fails (the open key then stays open).
    bool OpenKey(const std::string& key, bool canCreate);
    void CloseKey();
    bool KeyExists(const std::string& key);
    // Deletes key with everything below it; false when it could not be.
    bool DeleteKey(const std::string& key);

    // Values of the open key.
    bool ValueExists(const std::string& name);
    bool DeleteValue(const std::string& name);
    // Type and size of a value; false when there is no such value.
    bool GetDataInfo(const std::string& name, TRegDataInfo& info);
    // rdUnknown for a missing value or a type without a TRegDataType.
    TRegDataType GetDataType(const std::string& name);
    // Bytes of data; -1 for a missing value.
    int GetDataSize(const std::string& name);

    // Reads raise ERegistryException "Niepoprawny typ danych dla "name""
    // when the value is of another type, or (binary) longer than the buffer.
    // A text value; a missing one reads as empty.
    std::string ReadString(const std::string& name);
    // A REG_DWORD value.
    int ReadInteger(const std::string& name);
    bool ReadBool(const std::string& name);
    // Copies a binary value (or one of an unknown type) into buffer and gives
    // its size; 0 for a missing value.
    int ReadBinaryData(const std::string& name, void* buffer, int bufSize);

    // Writes raise ERegistryException when the system refuses.
    void WriteString(const std::string& name, const std::string& value);
    void WriteExpandString(const std::string& name, const std::string& value);
    void WriteInteger(const std::string& name, int value);
    void WriteBool(const std::string& name, bool value);
    void WriteBinaryData(const std::string& name, const void* buffer, int bufSize);

    // Clear strings and add the names of the open key's subkeys or values in
    // the registry's order; nothing when no key is open.
    void GetKeyNames(TStrings& strings);
    void GetValueNames(TStrings& strings);

private:
    // The key a path starts at: the root for "\..." or when no key is open.
    HKEY BaseKey(const std::string& key) const;
    void PutData(const std::string& name, const void* data, unsigned long size, unsigned long type);

    HKEY rootKey_;
    unsigned long access_;
    TRegKey currentKey_;
    std::string currentPath_;
};
