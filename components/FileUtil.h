// The shell's folder (or computer) browser as a modal dialog, and path
// routines: folder existence, trailing-backslash removal, and conversion of a
// path between its long and its short (8.3) names.
#pragma once

#include <windows.h>

#include <shtypes.h>

#include <string>

#include "classlib/Classes.h"

enum TBrowseKind { bfFolders, bfComputers };
enum TDialogPosition { dpDefault, dpScreenCenter };

using THelpContext = int;

class TBrowseFolderDlg : public TComponent {
public:
    explicit TBrowseFolderDlg(TComponent* owner);
    ~TBrowseFolderDlg() override;

    // Folders of the file system, or computers of the network.
    TBrowseKind BrowseKind = bfFolders;
    // For folders: browse from the desktop (else from My Computer).
    bool DesktopRoot = true;
    // Text shown above the tree.
    std::string DialogText;
    // The initial selection; the result after OK.
    std::string FolderName;
    // Not 0: a help button is added that shows this topic.
    THelpContext HelpContext = 0;
    TDialogPosition Position = dpScreenCenter;
    // After the dialog window is set up.
    TNotifyEvent OnInitialized;
    // After each change of selection.
    TNotifyEvent OnSelChanged;

    // Shows the dialog; true when the user confirmed a selection (FolderName
    // then holds it). The other windows of the thread are disabled meanwhile.
    // The caller has initialised COM. Raises EOSError when the root folder or
    // the chosen folder's path cannot be had.
    bool Execute();
    // The selection while the dialog runs (for folders its path; empty for an
    // item without one), and after OK.
    const std::string& CurrentPath() const { return currentPath_; }
    int SelectedImage() const { return selectedImage_; }
    // The dialog window while it is shown.
    HWND DialogHandle() const { return handle_; }

    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

protected:
    // The dialog window's procedure while the dialog is shown.
    virtual LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT DefaultHandler(UINT msg, WPARAM wParam, LPARAM lParam);

private:
    friend struct BrowseFolderAccess;
    void Initialized(HWND wnd);
    void SelChanged(HWND wnd, LPITEMIDLIST item);
    void AddHelpButton();
    void SelectStartFolder();

    WNDPROC defWndProc_ = nullptr;
    HWND handle_ = nullptr;
    std::string displayName_;
    std::string currentPath_;
    int selectedImage_ = 0;
    int selectTriesLeft_ = 0;
};

// Lets the user choose a folder, starting at Folder; true and Folder
// replaced when the user confirmed.
bool BrowseForFolder(std::string& Folder, const std::string& Caption, THelpContext HelpContext);

// The attributes of Name can be read and include the directory attribute.
bool FolderExists(const std::string& Name);
// The path without a final backslash, unless it is a single character or a
// drive root ("c:\").
std::string StripTrailingBackslash(const std::string& Path);
// The long (short) name of the last element of Path as the file system
// reports it for the first match of Path; the other name when that one is
// empty; empty when nothing matches.
std::string LongNameOf(const std::string& Path);
std::string ShortNameOf(const std::string& Path);
// The whole path with every element after the first converted; an element
// that does not exist stays as it was given.
std::string LongPathOf(const std::string& Path);
std::string ShortPathOf(const std::string& Path);

// Registers the unit's component classes for reading forms.
void FileUtilStartup();
