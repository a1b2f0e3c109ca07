// The registry unit: the maker's thin layer over the registry. A root key is
// named by a small code, values are read and written as text, and failures
// never raise: ReadRegValue and WriteRegString set RegistryErrorFlag, the
// other routines answer false. The maker's settings live in subkeys of
// HKEY_CURRENT_USER "Software\QMX", one per section; the paths of the maker's
// data files are recorded under HKEY_LOCAL_MACHINE "Software\QMX\ścieżki".
//
// Every key is opened with full access, also for reading, so a key that
// exists but cannot be opened that way reads like a missing key.
#pragma once

#include <string>

// The same declaration as the platform header's.
struct HKEY__;
typedef struct HKEY__* HKEY;

class TStrings;

// Set by the last ReadRegValue or WriteRegString that could not open (or
// create) its key or whose registry access failed; cleared when each starts.
extern bool RegistryErrorFlag;

// The key under which the maker's programs record their paths and the paths
// of their data files.
extern const char* const QmxPathsKey;

// Value names under QmxPathsKey of the maker's data files, by index 0 to 13.
constexpr int DataFileCount = 14;
extern const char* const DataFileValueNames[DataFileCount];

// Only the low seven bits of Code count: 1 HKEY_CURRENT_USER,
// 2 HKEY_LOCAL_MACHINE, 3 HKEY_USERS, 4 HKEY_DYN_DATA, anything else
// HKEY_CLASSES_ROOT.
HKEY RootKeyFromCode(int Code);

// Value := the value as text: a string as it is, a 32-bit number as signed
// decimal, binary data of up to four bytes as a signed little-endian number
// (longer data gives the class library's invalid-data-type message), an
// expandable string as "*** ext string ***", a missing value or any other
// type as "". Value keeps Default only when the key cannot be opened.
void ReadRegValue(int RootCode, const std::string& KeyPath, const std::string& ValueName, std::string& Value,
                  const std::string& Default);
// Writes Value as a string value, creating the key and any missing key above
// it; an empty ValueName writes the key's default value.
void WriteRegString(int RootCode, const std::string& KeyPath, const std::string& ValueName,
                    const std::string& Value);
// Deletes the key with all its subkeys and values; false when that failed.
bool DeleteRegKey(int RootCode, const std::string& KeyPath);
// Clears List and fills it with the key's value names in the registry's
// order; false (List untouched) when the key cannot be opened. The key is
// never created.
bool GetRegValueNames(int RootCode, const std::string& KeyPath, TStrings& List);

// Values of HKEY_CURRENT_USER "Software\QMX\" + Section.
void ReadSettingString(const std::string& Section, const std::string& ValueName, const std::string& Default,
                       std::string& Value);
void WriteSettingString(const std::string& Section, const std::string& ValueName, const std::string& Value);
// Default also when the stored text is no integer (a missing value reads as
// the empty text, which is none).
int ReadSettingInt(const std::string& Section, const std::string& ValueName, int Default);
void WriteSettingInt(const std::string& Section, const std::string& ValueName, int Value);

// Path := the recorded path of data file Index, or Default when none is
// recorded or the recorded file no longer exists. When Path then names an
// existing file it is recorded, so an existing default replaces a stale
// entry. An Index outside the table has no entry: Path := Default.
void GetDataFilePath(int Index, const std::string& Default, std::string& Path);
