// Settings stored as sections of name=value entries: in an INI file through
// the system's profile functions, or in the registry with one subkey per
// section.
#pragma once

#include <string>

#include "classlib/Registry.h"

class TStrings;

// A write that the INI file refused.
class EIniFileException : public Exception {
public:
    using Exception::Exception;
};

// What both kinds of settings store offer.
class TCustomIniFile : public TObject {
public:
    explicit TCustomIniFile(const std::string& fileName) : fileName_(fileName) {}
    const std::string& FileName() const { return fileName_; }

    // The entry's text, or defaultValue when the entry is missing.
    virtual std::string ReadString(const std::string& section, const std::string& ident,
                                   const std::string& defaultValue) = 0;
    virtual void WriteString(const std::string& section, const std::string& ident, const std::string& value) = 0;
    // An integer entry: decimal text, or hexadecimal after "0x" or "$" (StrToIntDef);
    // defaultValue when it is missing or no integer.
    virtual int ReadInteger(const std::string& section, const std::string& ident, int defaultValue);
    // Written as decimal text.
    virtual void WriteInteger(const std::string& section, const std::string& ident, int value);
    // An integer entry that is not 0.
    bool ReadBool(const std::string& section, const std::string& ident, bool defaultValue);
    // "1" or "0".
    void WriteBool(const std::string& section, const std::string& ident, bool value);

    // Clear strings, then add the names of the section's entries / of the
    // sections, in stored order.
    virtual void ReadSection(const std::string& section, TStrings& strings) = 0;
    virtual void ReadSections(TStrings& strings) = 0;
    // Clear strings, then add name=value for each entry of the section.
    void ReadSectionValues(const std::string& section, TStrings& strings);
    // Deletes the section with all its entries.
    virtual void EraseSection(const std::string& section) = 0;
    virtual void DeleteKey(const std::string& section, const std::string& ident) = 0;
    // Makes sure that everything written is stored.
    virtual void UpdateFile();

    // A section with at least one entry.
    bool SectionExists(const std::string& section);
    bool ValueExists(const std::string& section, const std::string& ident);

private:
    std::string fileName_;
};

// An INI file. A name without a folder lies in the Windows folder, as the
// profile functions place it. Section and entry names ignore letter case (on
// some systems only for the letters a to z); the profile functions drop the
// blanks around names and values and one pair of quotes around a value.
class TIniFile : public TCustomIniFile {
public:
    using TCustomIniFile::TCustomIniFile;

    std::string ReadString(const std::string& section, const std::string& ident,
                           const std::string& defaultValue) override;
    // Raises EIniFileException "Nie można pisać do <file>" when refused.
    void WriteString(const std::string& section, const std::string& ident, const std::string& value) override;
    void ReadSection(const std::string& section, TStrings& strings) override;
    void ReadSections(TStrings& strings) override;
    // Raises EIniFileException when refused.
    void EraseSection(const std::string& section) override;
    void DeleteKey(const std::string& section, const std::string& ident) override;
    // Flushes the system's cache of the file.
    void UpdateFile() override;
};

// The INI view of a registry key below HKEY_CURRENT_USER: FileName is the
// key's path (created on opening), each section a subkey, each entry a value.
// Values are written as text (REG_SZ); integers read from text or REG_DWORD.
// An empty section name means the key itself.
class TRegIniFile : public TCustomIniFile {
public:
    explicit TRegIniFile(const std::string& fileName);

    // Missing key or value, or a value that holds no text: defaultValue.
    std::string ReadString(const std::string& section, const std::string& ident,
                           const std::string& defaultValue) override;
    // Raises ERegistryException when the subkey cannot be created or the
    // value not written.
    void WriteString(const std::string& section, const std::string& ident, const std::string& value) override;
    int ReadInteger(const std::string& section, const std::string& ident, int defaultValue) override;
    void ReadSection(const std::string& section, TStrings& strings) override;
    void ReadSections(TStrings& strings) override;
    // Deletes the section's subkey with everything below it.
    void EraseSection(const std::string& section) override;
    void DeleteKey(const std::string& section, const std::string& ident) override;

    // The key FileName names, open while the object lives.
    TRegistry& Registry() { return registry_; }

private:
    bool OpenSection(TRegistry& reg, const std::string& section, bool canCreate);

    TRegistry registry_;
};
