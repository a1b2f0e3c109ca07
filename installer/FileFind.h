// TFileSearch: walks a folder, and when asked every folder below it, and
// reports each directory entry that matches a mask. Window messages are
// processed after every entry, so the program stays responsive and a handler
// may set Stop in the middle of a walk.
#pragma once

#include <cstdint>
#include <string>

#include "classlib/Classes.h"

// One directory entry as a listing finds it.
struct TSearchRec {
    int Time = 0;            // last write, local time, as a DOS date-time
    std::int64_t Size = 0;
    int Attr = 0;            // FILE_ATTRIBUTE_... bits
    std::string Name;
};

// fullpath: the folder the entry was found in, with a trailing backslash.
using TFindFileEvent = TEvent<const std::string&, const TSearchRec&>;
// fullpath: the folder entered, with a trailing backslash; info: its own
// entry as its parent lists it.
using TChangeFolderEvent = TEvent<const std::string&, const TSearchRec&>;

class TFileSearch : public TComponent {
public:
    explicit TFileSearch(TComponent* owner);

    // The start folder and the mask in one: everything up to the last "\" is
    // the folder, the rest the mask. At most 255 characters; more are cut.
    const std::string& SearchFile() const { return searchFile_; }
    void SetSearchFile(const std::string& value);
    bool RecurseSubFolders = true;
    // Ends the walk at its next check; Execute clears it when it starts.
    bool Stop = false;

    TFindFileEvent OnFileFind;
    TChangeFolderEvent OnChangeFolder;
    TNotifyEvent OnFinish;

    // Walks SearchFile: each folder reports its own matches before its
    // subfolders are entered, in the order the file system lists them.
    // OnFinish is called at the end, also after Stop. A handler's exception
    // leaves Execute.
    void Execute();

    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

private:
    void Visit(const std::string& folder, const TSearchRec& entry, const std::string& mask);

    std::string searchFile_;
};

// Registers the unit's component class for the form reader.
void FileFindStartup();
