// TCABFile: lists, extracts from and creates cabinet files through the
// system's cabinet library ("cabinet.dll"), loaded by name for each
// operation so that the program starts without it. Data is stored MSZIP
// compressed.
#pragma once

#include <cstdint>
#include <string>

#include "classlib/Classes.h"
#include "classlib/Lists.h"

// Failures of the compressor, with its error text; also a file name in a
// cabinet that would land outside the target folder.
class ECABFileError : public Exception {
public:
    using Exception::Exception;
};

// One file of a cabinet. For listing: the name as stored; for creating: the
// path of the file to store.
class TCABFileEntry : public TCollectionItem {
public:
    explicit TCABFileEntry(TCollection* collection) : TCollectionItem(collection) {}

    std::string Name;
    std::uint32_t Size = 0;  // bytes, as the cabinet's unsigned field holds them
    TDateTime DateTime = 0;  // local time of the stored file

    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();
};

class TCABFile;

class TCABFileContents : public TCollection {
public:
    explicit TCABFileContents(TCABFile* owner);

    TCABFileEntry* Items(int index) const { return static_cast<TCABFileEntry*>(TCollection::Items(index)); }
    TCABFileEntry* Add() { return static_cast<TCABFileEntry*>(TCollection::Add()); }
    // An entry's name equals name without regard to letter case.
    bool Find(const std::string& name) const;
};

class TCABFile : public TComponent {
public:
    explicit TCABFile(TComponent* owner);
    ~TCABFile() override;

    // The cabinet's path.
    std::string CABFile;
    // Folder for extracted files, with a trailing backslash.
    std::string TargetPath;
    TCABFileContents* CABFileContents() const { return contents_; }

    // Fills CABFileContents with one entry per file of the cabinet, in
    // cabinet order. A missing or invalid cabinet leaves it empty.
    void ListContents();
    // Extracts the file of that name (any letter case) into TargetPath.
    // True when the run succeeded: a name the cabinet does not have, and a
    // file that is no cabinet, are not failures. False when the cabinet
    // cannot be opened, the library cannot be loaded or the target file
    // cannot be created. A failing write raises the system's message; a
    // stored name with "..", a drive or a leading backslash raises
    // ECABFileError.
    bool ExtractFile(const std::string& name);
    // Creates CABFile from the files named by the entries (paths, relative
    // ones against the current folder), each stored under its bare name.
    // False only when the library cannot be loaded; other failures raise
    // ECABFileError with the compressor's text, or the system's message.
    // The compressor's temporary files lie in the current folder.
    bool CreateCabinet();

    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

private:
    enum class TRunMode { List, Extract };
    friend struct CabRun;
    bool RunDecompressor();

    TCABFileContents* contents_;
    std::string extractName_;
    TRunMode mode_ = TRunMode::List;
};

// The compressor's text for an error code of the library's error record.
std::string CabErrorText(int code);

// Registers the unit's component classes for reading forms.
void CabFilesStartup();
