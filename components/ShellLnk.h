// TPBShellLink: one shell shortcut (a ".lnk" file), written through the
// shell's link object into a folder of the current user's "Shell Folders".
#pragma once

#include <string>

#include "classlib/Classes.h"
#include "classlib/Forms.h"  // TWindowState
#include "components/FileIcon.h"

// A key with its shift state: the virtual key in the low byte, 0x2000
// Shift, 0x4000 Control, 0x8000 Alt.
using TShortCut = unsigned short;

enum TShellFolder {
    sfNone,
    sfDesktop,
    sfFavorites,
    sfFonts,
    sfPersonal,
    sfPrograms,
    sfRecent,
    sfSendTo,
    sfStartMenu,
    sfStartup,
    sfTemplates,
};

// Language of the failure texts.
enum TLanguage { lgFrench, lgEnglish };

class EPBShellLink : public Exception {
public:
    using Exception::Exception;
};

class TPBShellLink : public TComponent {
public:
    // Language lgFrench, shell folder sfNone, an empty icon.
    explicit TPBShellLink(TComponent* owner);
    ~TPBShellLink() override;

    std::string Arguments;
    std::string Description;
    std::string Target;
    std::string WorkingDir;

    TFileIcon* FileIcon() const { return fileIcon_; }
    // Copies the icon's values into the held one.
    void SetFileIcon(TFileIcon* icon);
    TShortCut HotKey() const;
    void SetHotKey(TShortCut shortCut);
    // The link file's full path.
    const std::string& FileName() const { return fileName_; }
    // Unless the value is the current name: with a shell folder set, the
    // name moves into that folder; ".lnk" is added when the extension is
    // another; a name that is nothing but ".lnk" becomes empty.
    void SetFileName(const std::string& value);
    TLanguage Language() const { return language_; }
    // Sets the failure texts of every link component of the program.
    void SetLanguage(TLanguage language);
    TWindowState WindowState() const;
    void SetWindowState(TWindowState state);
    TShellFolder ShellFolder() const { return shellFolder_; }
    // Moves the current file name into the folder (unchanged for sfNone).
    // A folder that cannot be found raises EPBShellLink, except while the
    // component is read from its form: then nothing changes.
    void SetShellFolder(TShellFolder folder);

    // Writes the link file, replacing one that exists. Raises EPBShellLink
    // when the link object cannot be made or the file cannot be written.
    void Save();

    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

private:
    int LanguageOrd() const { return language_; }
    void SetLanguageOrd(int v) { SetLanguage(static_cast<TLanguage>(v)); }
    int WindowStateOrd() const { return WindowState(); }
    void SetWindowStateOrd(int v) { SetWindowState(static_cast<TWindowState>(v)); }
    int ShellFolderOrd() const { return shellFolder_; }
    void SetShellFolderOrd(int v) { SetShellFolder(static_cast<TShellFolder>(v)); }
    int HotKeyOrd() const { return HotKey(); }
    void SetHotKeyOrd(int v) { SetHotKey(static_cast<TShortCut>(v)); }

    std::string fileName_;
    TLanguage language_ = lgFrench;
    int showCommand_ = 0;
    unsigned short hotKey_ = 0;  // the shell's hot-key word
    TFileIcon* fileIcon_;
    TShellFolder shellFolder_ = sfNone;
};

// Registers the unit's component class for the form reader.
void ShellLnkStartup();
