#include "classlib/IniFiles.h"

#include <windows.h>

#include <vector>

#include "classlib/Lists.h"

namespace {

// The profile functions give lists as texts separated by zeros.
void AddZeroSeparated(const std::vector<char>& buffer, DWORD length, TStrings& strings)
{
    const char* p = buffer.data();
    const char* end = p + length;
    while (p < end && *p) {
        std::string item(p);
        strings.Add(item);
        p += item.size() + 1;
    }
}

// Calls read with a buffer until the result fits: the profile functions say
// that it did not by filling the buffer up to `slack` characters.
template <class Read>
std::vector<char> ReadProfile(Read read, DWORD slack, DWORD& length)
{
    std::vector<char> buffer(2048);
    for (;;) {
        length = read(buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length + slack < buffer.size() || buffer.size() >= (1u << 26))
            return buffer;
        buffer.resize(buffer.size() * 4);
    }
}

// Fills strings with the names of the keys of section or, with no section,
// the names of the sections.
void ReadNames(const char* section, const std::string& fileName, TStrings& strings)
{
    DWORD length = 0;
    auto buffer = ReadProfile(
        [&](char* data, DWORD size) {
            return GetPrivateProfileStringA(section, nullptr, "", data, size, fileName.c_str());
        },
        2, length);
    strings.BeginUpdate();
    try {
        strings.Clear();
        AddZeroSeparated(buffer, length, strings);
    } catch (...) {
        strings.EndUpdate();
        throw;
    }
    strings.EndUpdate();
}

}  // namespace

// ---- TCustomIniFile ----

int TCustomIniFile::ReadInteger(const std::string& section, const std::string& ident, int defaultValue)
{
    return StrToIntDef(ReadString(section, ident, ""), defaultValue);
}

void TCustomIniFile::WriteInteger(const std::string& section, const std::string& ident, int value)
{
    WriteString(section, ident, IntToStr(value));
}

bool TCustomIniFile::ReadBool(const std::string& section, const std::string& ident, bool defaultValue)
{
    return ReadInteger(section, ident, defaultValue ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(const std::string& section, const std::string& ident, bool value)
{
    WriteString(section, ident, value ? "1" : "0");
}

void TCustomIniFile::ReadSectionValues(const std::string& section, TStrings& strings)
{
    TStringList keys;
    ReadSection(section, keys);
    strings.BeginUpdate();
    try {
        strings.Clear();
        for (int i = 0; i < keys.Count(); ++i)
            strings.Add(keys.Strings(i) + "=" + ReadString(section, keys.Strings(i), ""));
    } catch (...) {
        strings.EndUpdate();
        throw;
    }
    strings.EndUpdate();
}

void TCustomIniFile::UpdateFile()
{
}

bool TCustomIniFile::SectionExists(const std::string& section)
{
    TStringList keys;
    ReadSection(section, keys);
    return keys.Count() > 0;
}

bool TCustomIniFile::ValueExists(const std::string& section, const std::string& ident)
{
    TStringList keys;
    ReadSection(section, keys);
    return keys.IndexOf(ident) >= 0;
}

// ---- TIniFile ----

std::string TIniFile::ReadString(const std::string& section, const std::string& ident,
                                 const std::string& defaultValue)
{
    DWORD length = 0;
    auto buffer = ReadProfile(
        [&](char* data, DWORD size) {
            return GetPrivateProfileStringA(section.c_str(), ident.c_str(), defaultValue.c_str(), data, size,
                                            FileName().c_str());
        },
        1, length);
    return std::string(buffer.data(), length);
}

void TIniFile::WriteString(const std::string& section, const std::string& ident, const std::string& value)
{
    if (!WritePrivateProfileStringA(section.c_str(), ident.c_str(), value.c_str(), FileName().c_str()))
        throw EIniFileException("Nie można pisać do " + FileName());
}

void TIniFile::ReadSection(const std::string& section, TStrings& strings)
{
    ReadNames(section.c_str(), FileName(), strings);
}

void TIniFile::ReadSections(TStrings& strings)
{
    ReadNames(nullptr, FileName(), strings);
}

void TIniFile::EraseSection(const std::string& section)
{
    if (!WritePrivateProfileStringA(section.c_str(), nullptr, nullptr, FileName().c_str()))
        throw EIniFileException("Nie można pisać do " + FileName());
}

void TIniFile::DeleteKey(const std::string& section, const std::string& ident)
{
    // A key that is not there is deleted already.
    WritePrivateProfileStringA(section.c_str(), ident.c_str(), nullptr, FileName().c_str());
}

void TIniFile::UpdateFile()
{
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, FileName().c_str());
}

// ---- TRegIniFile ----

TRegIniFile::TRegIniFile(const std::string& fileName) : TCustomIniFile(fileName)
{
    // When the key cannot be had, reads give their defaults and writes fail.
    registry_.OpenKey(fileName, true);
}

bool TRegIniFile::OpenSection(TRegistry& reg, const std::string& section, bool canCreate)
{
    if (!registry_.CurrentKey())
        return false;
    reg.SetRootKey(registry_.CurrentKey());
    reg.SetAccess(registry_.Access());
    return reg.OpenKey(section, canCreate);
}

std::string TRegIniFile::ReadString(const std::string& section, const std::string& ident,
                                    const std::string& defaultValue)
{
    TRegistry reg;
    if (!OpenSection(reg, section, false))
        return defaultValue;
    switch (reg.GetDataType(ident)) {
    case rdString:
    case rdExpandString: return reg.ReadString(ident);
    case rdInteger: return IntToStr(reg.ReadInteger(ident));
    default: return defaultValue;
    }
}

void TRegIniFile::WriteString(const std::string& section, const std::string& ident, const std::string& value)
{
    TRegistry reg;
    if (!OpenSection(reg, section, true))
        throw ERegistryException("Failed to create key " + FileName() + "\\" + section);
    reg.WriteString(ident, value);
}

int TRegIniFile::ReadInteger(const std::string& section, const std::string& ident, int defaultValue)
{
    TRegistry reg;
    if (OpenSection(reg, section, false) && reg.GetDataType(ident) == rdInteger)
        return reg.ReadInteger(ident);
    return TCustomIniFile::ReadInteger(section, ident, defaultValue);
}

void TRegIniFile::ReadSection(const std::string& section, TStrings& strings)
{
    TRegistry reg;
    if (OpenSection(reg, section, false))
        reg.GetValueNames(strings);
    else
        strings.Clear();
}

void TRegIniFile::ReadSections(TStrings& strings)
{
    registry_.GetKeyNames(strings);
}

void TRegIniFile::EraseSection(const std::string& section)
{
    TRegistry reg;
    if (registry_.CurrentKey() && !section.empty()) {
        reg.SetRootKey(registry_.CurrentKey());
        reg.DeleteKey(section);
    }
}

void TRegIniFile::DeleteKey(const std::string& section, const std::string& ident)
{
    TRegistry reg;
    if (OpenSection(reg, section, false))
        reg.DeleteValue(ident);
}
