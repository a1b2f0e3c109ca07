#include "components/ShellLnk.h"

#include <windows.h>

#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>

#include "classlib/Registry.h"
#include "classlib/TypInfo.h"
#include "classlib/WinHandles.h"

namespace {

// The failure texts, one set for the whole program.
struct FailureTexts {
    const char* Create;
    const char* Persist;
    const char* Write;
    const char* NoFolder;  // takes the folder's value name
};

const FailureTexts frenchTexts = {
    "\"CoCreateInstance\" a échoué.",
    "\"PersistFile QueryInterface\" a échoué.",
    "Erreur en écriture.",
    "Dossier \"%s\" introuvable.",
};
const FailureTexts englishTexts = {
    "\"CoCreateInstance\" failed.",
    "\"PersistFile QueryInterface\" failed.",
    "Write error.",
    "Shell folder \"%s\" not found.",
};
const FailureTexts* texts = &frenchTexts;

const char* const folderValueName[] = {
    "",       "Desktop", "Favorites",  "Fonts",   "Personal",  "Programs",
    "Recent", "SendTo",  "Start Menu", "Startup", "Templates",
};

const char shellFoldersKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// The folder that the current user's "Shell Folders" value names. A missing
// or empty value raises: the link would otherwise land in the drive's root.
std::string FolderPath(TShellFolder folder)
{
    const char* name = folderValueName[folder];
    std::string path;
    TRegistry reg;
    reg.SetRootKey(HKEY_CURRENT_USER);
    if (reg.OpenKey(shellFoldersKey, false) && reg.ValueExists(name))
        path = reg.ReadString(name);
    if (path.empty())
        throw EPBShellLink(Format(texts->NoFolder, name));
    return path;
}

bool IsFolder(int value)
{
    return value >= sfNone && value <= sfTemplates;
}

// The shell's hot-key flags in the high byte of its hot-key word.
const unsigned short hotShift = HOTKEYF_SHIFT << 8, hotControl = HOTKEYF_CONTROL << 8, hotAlt = HOTKEYF_ALT << 8;
// The short cut's shift bits.
const TShortCut scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000;

// A COM interface pointer, released when it goes.
template <class T>
class ComRef {
public:
    ComRef() = default;
    ~ComRef()
    {
        if (p_)
            p_->Release();
    }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    T* operator->() const { return p_; }
    void** Out() { return reinterpret_cast<void**>(&p_); }

private:
    T* p_ = nullptr;
};

// The link object takes its texts through buffers of 255 characters; longer
// ones are cut.
std::string LinkText(const std::string& s)
{
    return s.substr(0, 255);
}

} // namespace

TPBShellLink::TPBShellLink(TComponent* owner) : TComponent(owner), fileIcon_(new TFileIcon)
{
    SetLanguage(lgFrench);
}

TPBShellLink::~TPBShellLink()
{
    delete fileIcon_;
}

void TPBShellLink::SetFileIcon(TFileIcon* icon)
{
    fileIcon_->Assign(icon);
}

TShortCut TPBShellLink::HotKey() const
{
    TShortCut shortCut = hotKey_ & 0xFF;
    if (hotKey_ & hotShift)
        shortCut |= scShift;
    if (hotKey_ & hotControl)
        shortCut |= scCtrl;
    if (hotKey_ & hotAlt)
        shortCut |= scAlt;
    return shortCut;
}

void TPBShellLink::SetHotKey(TShortCut shortCut)
{
    unsigned short word = shortCut & 0xFF;
    if (shortCut & scShift)
        word |= hotShift;
    if (shortCut & scCtrl)
        word |= hotControl;
    if (shortCut & scAlt)
        word |= hotAlt;
    hotKey_ = word;
}

void TPBShellLink::SetFileName(const std::string& value)
{
    if (value == fileName_)
        return;
    std::string name = value;
    if (shellFolder_ != sfNone)
        name = FolderPath(shellFolder_) + "\\" + ExtractFileName(name);
    if (AnsiUpperCase(ExtractFileExt(name)) != ".LNK")
        name += ".lnk";
    if (AnsiUpperCase(ExtractFileName(name)) == ".LNK")
        name.clear();
    fileName_ = name;
}

void TPBShellLink::SetLanguage(TLanguage language)
{
    language_ = language;
    texts = language == lgEnglish ? &englishTexts : &frenchTexts;
}

TWindowState TPBShellLink::WindowState() const
{
    if (showCommand_ == SW_SHOWMAXIMIZED)
        return wsMaximized;
    if (showCommand_ == SW_SHOWMINNOACTIVE)
        return wsMinimized;
    return wsNormal;
}

void TPBShellLink::SetWindowState(TWindowState state)
{
    switch (state) {
    case wsMaximized:
        showCommand_ = SW_SHOWMAXIMIZED;
        break;
    case wsMinimized:
        showCommand_ = SW_SHOWMINNOACTIVE;
        break;
    default:
        showCommand_ = SW_SHOWNORMAL;
        break;
    }
}

void TPBShellLink::SetShellFolder(TShellFolder folder)
{
    if (folder == shellFolder_ || !IsFolder(folder))
        return;
    if (folder == sfNone) {
        shellFolder_ = folder;
        return;
    }
    // Read first: a folder that cannot be found changes nothing.
    std::string path;
    try {
        path = FolderPath(folder);
    } catch (const EPBShellLink&) {
        // A form read on a system without that folder still opens, with the
        // name it streamed; only a change made later is refused.
        if (IsLoading())
            return;
        throw;
    }
    std::string name = path + "\\" + ExtractFileName(fileName_);
    shellFolder_ = folder;
    fileName_ = name;
}

void TPBShellLink::Save()
{
    const TComLibrary com;
    ComRef<IShellLinkA> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.Out())))
        throw EPBShellLink(texts->Create);
    ComRef<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.Out())))
        throw EPBShellLink(texts->Persist);

    link->SetDescription(LinkText(Description).c_str());
    link->SetPath(LinkText(Target).c_str());
    link->SetWorkingDirectory(LinkText(WorkingDir).c_str());
    link->SetArguments(LinkText(Arguments).c_str());
    link->SetShowCmd(showCommand_);
    link->SetHotkey(hotKey_);
    link->SetIconLocation(LinkText(fileIcon_->FileName).c_str(), fileIcon_->IconIndex);

    // A name too long for the shell is refused, not cut: a shorter name
    // would be another file.
    wchar_t wide[MAX_PATH];
    if (MultiByteToWideChar(CP_ACP, 0, fileName_.c_str(), -1, wide, MAX_PATH) == 0)
        throw EPBShellLink(texts->Write);
    if (FAILED(file->Save(wide, TRUE)))
        throw EPBShellLink(texts->Write);
}

const TClassInfo* TPBShellLink::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TPBShellLink::StaticClass()
{
    static const TClassInfo info(
        "TPBShellLink", &TComponent::StaticClass(), &NewComponent<TPBShellLink>,
        {
            PublishString<&TPBShellLink::Arguments, &TPBShellLink::Arguments>("Arguments"),
            PublishString<&TPBShellLink::Description, &TPBShellLink::Description>("Description"),
            PublishObject<&TPBShellLink::FileIcon, &TPBShellLink::SetFileIcon>("FileIcon"),
            PublishInteger<&TPBShellLink::HotKeyOrd, &TPBShellLink::SetHotKeyOrd>("HotKey"),
            PublishString<&TPBShellLink::FileName, &TPBShellLink::SetFileName>("FileName"),
            PublishEnum<&TPBShellLink::LanguageOrd, &TPBShellLink::SetLanguageOrd>("Language",
                                                                                   {"lgFrench", "lgEnglish"}),
            PublishString<&TPBShellLink::Target, &TPBShellLink::Target>("Target"),
            PublishEnum<&TPBShellLink::WindowStateOrd, &TPBShellLink::SetWindowStateOrd>(
                "WindowState", {"wsNormal", "wsMinimized", "wsMaximized"}),
            PublishString<&TPBShellLink::WorkingDir, &TPBShellLink::WorkingDir>("WorkingDir"),
            PublishEnum<&TPBShellLink::ShellFolderOrd, &TPBShellLink::SetShellFolderOrd>(
                "ShellFolder", {"sfNone", "sfDesktop", "sfFavorites", "sfFonts", "sfPersonal", "sfPrograms",
                                "sfRecent", "sfSendTo", "sfStartMenu", "sfStartup", "sfTemplates"}),
        });
    return info;
}

void ShellLnkStartup()
{
    RegisterComponentClass(TPBShellLink::StaticClass());
}
