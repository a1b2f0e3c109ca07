// The directory-selection dialog: a small form with the folder as text, the
// folders of the current one (a double click enters one, ".." goes up) and
// the drives. Its components carry names (DirEdit, DirList, DriveList,
// OKButton, CancelButton) so that a driver can find them; the window's class
// is "TSelectDirDlg".
#pragma once

#include <string>

#include "classlib/Forms.h"
#include "classlib/StdCtrls.h"

enum TSelectDirOpt { sdAllowCreate, sdPerformCreate, sdPrompt };
// A set of TSelectDirOpt, bit N for member N (as forms write sets).
using TSelectDirOpts = unsigned;
constexpr TSelectDirOpts SelectDirOpt(TSelectDirOpt opt) { return 1u << opt; }

class TSelectDirDlg : public TForm {
public:
    TSelectDirDlg(TComponent* owner, const std::string& directory, TSelectDirOpts options);

    TEdit* DirEdit = nullptr;
    TListBox* DirList = nullptr;
    TListBox* DriveList = nullptr;
    TButton* OKButton = nullptr;
    TButton* CancelButton = nullptr;

    // The folder the lists show, with a trailing backslash.
    const std::string& Current() const { return current_; }
    // Shows a folder: its name as the text, its subfolders in the list.
    void SetCurrent(const std::string& folder);
    // The chosen folder once the dialog was confirmed.
    const std::string& Directory() const { return directory_; }

    // What OK does: an existing folder is taken; a missing one only with
    // sdAllowCreate (after a question with sdPrompt), and is created with its
    // parents with sdPerformCreate. A refusal or a failure is shown and the
    // dialog stays open.
    void OKButtonClick(TObject* Sender);
    void DirListDblClick(TObject* Sender);
    void DriveListClick(TObject* Sender);

private:
    TSelectDirOpts options_;
    std::string current_;
    std::string directory_;
};

// What a test does instead of the user: drive the dialog (set DirEdit's
// text, click OKButton ...) and set Result (the second argument) to the
// modal result; left at mrNone, the dialog shows as usual.
using TSelectDirectoryHook = TEvent<TSelectDirDlg*, int&>;
extern TSelectDirectoryHook SelectDirectoryHook;

// Lets the user choose a folder, starting at Directory (the root of the
// current drive when it does not exist); true and Directory replaced when
// the choice was confirmed.
bool SelectDirectory(std::string& Directory, TSelectDirOpts Options, int HelpCtx);
