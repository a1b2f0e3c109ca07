#include "common/QmxReg.h"

#include <windows.h>

#include <cstdint>
#include <cstring>

#include "classlib/Lists.h"
#include "classlib/Registry.h"
#include "classlib/SysUtils.h"

bool RegistryErrorFlag = false;

const char* const QmxPathsKey = "Software\\QMX\\ścieżki";

const char* const DataFileValueNames[DataFileCount] = {
    "tts_Dziennik_Parvina",     "tts_Kontrahenci",
    "tts_Uzytkownicy",          "tts_RaportKasowy",
    "tts_Faktury",              "tts_Towary",
    "tts_Dziennik_Ferlonda",    "tts_Konta_Pocztowe",
    "tts_Kody_Pocztowe",        "tts_Aplikacje_Internetowe",
    "tts_Kalmet",               "tts_Urzedy_Skarbowe",
    "tts_Kalmet_typowe_konta",  "tts_Kalmet_Stali_Kontrahenci",
};

namespace {

const char* const SettingsKey = "Software\\QMX\\";

// Binary data reads as the number its first four bytes make; the bytes
// absent from shorter data count as zero.
std::string BinaryAsNumber(TRegistry& reg, const std::string& name)
{
    std::uint8_t bytes[4] = {};
    reg.ReadBinaryData(name, bytes, sizeof bytes);
    std::uint32_t value = static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
                          static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
    return IntToStr(static_cast<std::int32_t>(value));
}

} // namespace

HKEY RootKeyFromCode(int Code)
{
    switch (Code & 0x7F) {
    case 1: return HKEY_CURRENT_USER;
    case 2: return HKEY_LOCAL_MACHINE;
    case 3: return HKEY_USERS;
    case 4: return HKEY_DYN_DATA;
    default: return HKEY_CLASSES_ROOT;
    }
}

void ReadRegValue(int RootCode, const std::string& KeyPath, const std::string& ValueName, std::string& Value,
                  const std::string& Default)
{
    Value = Default;
    RegistryErrorFlag = false;
    try {
        TRegistry reg(KEY_ALL_ACCESS);
        reg.SetRootKey(RootKeyFromCode(RootCode));
        if (!reg.OpenKey(KeyPath, false)) {
            RegistryErrorFlag = true;
            return;
        }
        switch (reg.GetDataType(ValueName)) {
        case rdString:
            Value = reg.ReadString(ValueName);
            break;
        case rdExpandString:
            // Never expanded: the maker's values that matter are plain strings.
            Value = "*** ext string ***";
            break;
        case rdInteger:
            Value = IntToStr(reg.ReadInteger(ValueName));
            break;
        case rdBinary:
            if (reg.GetDataSize(ValueName) <= 4) {
                Value = BinaryAsNumber(reg, ValueName);
            } else {
                // The class library refuses data longer than the number's
                // buffer; the text of that refusal becomes the value.
                try {
                    BinaryAsNumber(reg, ValueName);
                } catch (const ERegistryException& e) {
                    Value = e.Message();
                }
            }
            break;
        default:
            Value.clear();
            break;
        }
    } catch (const std::exception&) {
        RegistryErrorFlag = true;
    }
}

void WriteRegString(int RootCode, const std::string& KeyPath, const std::string& ValueName,
                    const std::string& Value)
{
    RegistryErrorFlag = false;
    try {
        TRegistry reg(KEY_ALL_ACCESS);
        reg.SetRootKey(RootKeyFromCode(RootCode));
        if (!reg.OpenKey(KeyPath, true)) {
            RegistryErrorFlag = true;
            return;
        }
        reg.WriteString(ValueName, Value);
    } catch (const std::exception&) {
        RegistryErrorFlag = true;
    }
}

bool DeleteRegKey(int RootCode, const std::string& KeyPath)
{
    try {
        TRegistry reg(KEY_ALL_ACCESS);
        reg.SetRootKey(RootKeyFromCode(RootCode));
        return reg.DeleteKey(KeyPath);
    } catch (const std::exception&) {
        return false;
    }
}

bool GetRegValueNames(int RootCode, const std::string& KeyPath, TStrings& List)
{
    try {
        TRegistry reg(KEY_ALL_ACCESS);
        reg.SetRootKey(RootKeyFromCode(RootCode));
        if (!reg.OpenKey(KeyPath, false))
            return false;
        reg.GetValueNames(List);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

void ReadSettingString(const std::string& Section, const std::string& ValueName, const std::string& Default,
                       std::string& Value)
{
    ReadRegValue(1, SettingsKey + Section, ValueName, Value, Default);
}

void WriteSettingString(const std::string& Section, const std::string& ValueName, const std::string& Value)
{
    WriteRegString(1, SettingsKey + Section, ValueName, Value);
}

int ReadSettingInt(const std::string& Section, const std::string& ValueName, int Default)
{
    std::string text;
    ReadSettingString(Section, ValueName, IntToStr(Default), text);
    return StrToIntDef(text, Default);
}

void WriteSettingInt(const std::string& Section, const std::string& ValueName, int Value)
{
    WriteSettingString(Section, ValueName, IntToStr(Value));
}

void GetDataFilePath(int Index, const std::string& Default, std::string& Path)
{
    if (Index < 0 || Index >= DataFileCount) {
        Path = Default;
        return;
    }
    const char* name = DataFileValueNames[Index];
    ReadRegValue(2, QmxPathsKey, name, Path, "");
    if (Path.empty() || !FileExists(Path))
        Path = Default;
    if (!Path.empty() && FileExists(Path))
        WriteRegString(2, QmxPathsKey, name, Path);
}
