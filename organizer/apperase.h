// TAppEraser: deletes files of the running program, its own program file
// among them, after the program has ended. It writes a small batch file next
// to the program's folder and starts it hidden; the batch retries each
// deletion until the program has released the file, optionally removes the
// emptied folder, and finally deletes itself.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "classlib/Classes.h"
#include "classlib/Lists.h"

class TAppEraser : public TComponent {
public:
    explicit TAppEraser(TComponent* owner);
    ~TAppEraser() override;

    // Names of the files to delete, each taken without its folder;
    // "*AppName*" (any letter case) stands for the running program's file.
    TStrings* Files() const { return files_.get(); }
    void SetFiles(TStrings* value);
    // The folder that holds the files; "*AppPath*" (any letter case) stands
    // for the running program's folder.
    std::string Path = "*AppPath*";
    // The batch also removes the folder, which succeeds only once it is empty.
    bool DelPathIfEmpty = false;
    // Execute runs when the component is destroyed.
    bool AutoActive = false;

    // Writes the batch file into the folder above Path and starts it hidden;
    // true when the command interpreter was started. Path is stored back in
    // its resolved form, and the process's current folder becomes the folder
    // above it. Nothing is started (false) for a missing folder, an empty
    // Files, or when none of the files exists; no batch file is then left.
    bool Execute();
    // The short (8.3) name part of Path + FileName's name part, when that file
    // exists; else empty. FileName "*AppName*" is the running program's file.
    std::string ShortNameIfExists(const std::string& Path, const std::string& FileName) const;
    // Eight characters from "0123456789abcdefghijklmnopqrstuvwxyz".
    static std::string RandomBatchName();

    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

private:
    std::unique_ptr<TStringList> files_;
};

// The batch's lines (each to be ended by CR LF). Folder is the short name of
// the program's folder, Batch the batch's own file name; ShortNames holds one
// entry per line of Files, empty for a file that does not exist. Every name
// is quoted, so a name with blanks never turns into several names.
std::vector<std::string> AppEraserBatchLines(const std::string& Folder, const std::string& Batch,
                                             const std::vector<std::string>& ShortNames, bool DelPathIfEmpty);

// Registers the unit's component classes for reading forms.
void AppEraseStartup();
