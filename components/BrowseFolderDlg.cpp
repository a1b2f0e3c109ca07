// TBrowseFolderDlg and BrowseForFolder: the shell's folder browser.
#include <windows.h>

#include <commctrl.h>

#include <shlobj.h>

#include <memory>
#include <vector>

#include "classlib/Forms.h"
#include "classlib/TypInfo.h"
#include "components/FileUtil.h"
#include "components/VCLUtils.h"

// Calls into the component from the shell's callback and the dialog's window
// procedure, which are plain functions.
struct BrowseFolderAccess {
    static void Initialized(TBrowseFolderDlg* dlg, HWND wnd) { dlg->Initialized(wnd); }
    static void SelChanged(TBrowseFolderDlg* dlg, HWND wnd, LPITEMIDLIST item) { dlg->SelChanged(wnd, item); }
    static LRESULT WndProc(TBrowseFolderDlg* dlg, UINT msg, WPARAM wParam, LPARAM lParam)
    {
        return dlg->WndProc(msg, wParam, lParam);
    }
};

namespace {

// The help button's control identifier; with BN_CLICKED (0) it is the whole
// WM_COMMAND wParam.
constexpr UINT idHelpButton = 0xFFFF;
// The timer that selects the start folder once more.
constexpr UINT_PTR idSelectTimer = 1;
// How often, 100 ms apart, before the dialog is left as it is.
constexpr int selectTries = 20;
const char* const dlgProperty = "QmxBrowseFolderDlg";

// An item identifier list of the shell, freed with its owner.
class TItemIdList {
public:
    explicit TItemIdList(LPITEMIDLIST list = nullptr) : list_(list) {}
    ~TItemIdList() { CoTaskMemFree(list_); }
    TItemIdList(const TItemIdList&) = delete;
    TItemIdList& operator=(const TItemIdList&) = delete;
    LPITEMIDLIST Get() const { return list_; }
    LPITEMIDLIST* Put() { return &list_; }

private:
    LPITEMIDLIST list_;
};

// Disables the other enabled, visible top-level windows of the thread for as
// long as it lives, and gives the activation back to the window that had it.
class TTaskWindowsDisabled {
public:
    TTaskWindowsDisabled() : active_(GetActiveWindow())
    {
        EnumThreadWindows(GetCurrentThreadId(), Collect, reinterpret_cast<LPARAM>(this));
        for (HWND w : windows_)
            EnableWindow(w, FALSE);
    }
    ~TTaskWindowsDisabled()
    {
        for (HWND w : windows_)
            if (IsWindow(w))
                EnableWindow(w, TRUE);
        if (active_ && IsWindow(active_))
            SetActiveWindow(active_);
    }
    TTaskWindowsDisabled(const TTaskWindowsDisabled&) = delete;
    TTaskWindowsDisabled& operator=(const TTaskWindowsDisabled&) = delete;

private:
    static BOOL CALLBACK Collect(HWND wnd, LPARAM self)
    {
        if (IsWindowVisible(wnd) && IsWindowEnabled(wnd))
            reinterpret_cast<TTaskWindowsDisabled*>(self)->windows_.push_back(wnd);
        return TRUE;
    }

    HWND active_;
    std::vector<HWND> windows_;
};

LRESULT CALLBACK DialogWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* dlg = static_cast<TBrowseFolderDlg*>(GetPropA(wnd, dlgProperty));
    if (!dlg)
        return DefWindowProcA(wnd, msg, wParam, lParam);
    LRESULT result = 0;
    CallbackGuard(dlg, [&] { result = BrowseFolderAccess::WndProc(dlg, msg, wParam, lParam); });
    return result;
}

int CALLBACK BrowseCallback(HWND wnd, UINT msg, LPARAM lParam, LPARAM data)
{
    auto* dlg = reinterpret_cast<TBrowseFolderDlg*>(data);
    CallbackGuard(dlg, [&] {
        if (msg == BFFM_INITIALIZED)
            BrowseFolderAccess::Initialized(dlg, wnd);
        else if (msg == BFFM_SELCHANGED)
            BrowseFolderAccess::SelChanged(dlg, wnd, reinterpret_cast<LPITEMIDLIST>(lParam));
    });
    return 0;
}

// The path of a shell item; false for an item without one.
bool PathOf(LPCITEMIDLIST item, std::string& path)
{
    char buffer[MAX_PATH];
    if (!item || !SHGetPathFromIDListA(item, buffer))
        return false;
    path = buffer;
    return true;
}

} // namespace

TBrowseFolderDlg::TBrowseFolderDlg(TComponent* owner) : TComponent(owner) {}

TBrowseFolderDlg::~TBrowseFolderDlg() = default;

const TClassInfo& TBrowseFolderDlg::StaticClass()
{
    static const TClassInfo info(
        "TBrowseFolderDlg", &TComponent::StaticClass(), &NewComponent<TBrowseFolderDlg>,
        {
            PublishEnum<&TBrowseFolderDlg::BrowseKind, &TBrowseFolderDlg::BrowseKind>("BrowseKind",
                                                                                    {"bfFolders", "bfComputers"}),
            PublishBoolean<&TBrowseFolderDlg::DesktopRoot, &TBrowseFolderDlg::DesktopRoot>("DesktopRoot"),
            PublishString<&TBrowseFolderDlg::DialogText, &TBrowseFolderDlg::DialogText>("DialogText"),
            PublishString<&TBrowseFolderDlg::FolderName, &TBrowseFolderDlg::FolderName>("FolderName"),
            PublishInteger<&TBrowseFolderDlg::HelpContext, &TBrowseFolderDlg::HelpContext>("HelpContext"),
            PublishEnum<&TBrowseFolderDlg::Position, &TBrowseFolderDlg::Position>("Position",
                                                                                {"dpDefault", "dpScreenCenter"}),
            PublishEvent<&TBrowseFolderDlg::OnInitialized>("OnInitialized"),
            PublishEvent<&TBrowseFolderDlg::OnSelChanged>("OnSelChanged"),
        });
    return info;
}

const TClassInfo* TBrowseFolderDlg::ClassInfo() const
{
    return &StaticClass();
}

bool TBrowseFolderDlg::Execute()
{
    TItemIdList root;
    if (BrowseKind == bfComputers || !DesktopRoot) {
        int folder = BrowseKind == bfComputers ? CSIDL_NETWORK : CSIDL_DRIVES;
        HRESULT hr = SHGetSpecialFolderLocation(Application->Handle(), folder, root.Put());
        if (FAILED(hr))
            throw EOSError(SysErrorMessage(static_cast<unsigned long>(hr)), static_cast<unsigned long>(hr));
    }
    displayName_.assign(MAX_PATH, '\0');
    BROWSEINFOA info{};
    info.hwndOwner = Application->Handle();
    info.pidlRoot = root.Get();
    info.pszDisplayName = displayName_.data();
    info.lpszTitle = DialogText.empty() ? nullptr : DialogText.c_str();
    info.ulFlags = BrowseKind == bfComputers ? BIF_BROWSEFORCOMPUTER : BIF_RETURNONLYFSDIRS | BIF_RETURNFSANCESTORS;
    info.lpfn = BrowseCallback;
    info.lParam = reinterpret_cast<LPARAM>(this);
    info.iImage = 0;

    TItemIdList chosen;
    {
        TTaskWindowsDisabled disabled;
        *chosen.Put() = SHBrowseForFolderA(&info);
        handle_ = nullptr;
        defWndProc_ = nullptr;
    }
    if (!chosen.Get())
        return false;
    if (BrowseKind == bfComputers) {
        FolderName = displayName_.c_str();
    } else {
        std::string path;
        if (!PathOf(chosen.Get(), path))
            RaiseLastOSError();
        FolderName = StripTrailingBackslash(path);
    }
    currentPath_ = FolderName;
    selectedImage_ = info.iImage;
    return true;
}

void TBrowseFolderDlg::Initialized(HWND wnd)
{
    if (Position == dpScreenCenter)
        CenterWindowOnScreen(wnd);
    handle_ = wnd;
    SetPropA(wnd, dlgProperty, this);
    defWndProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DialogWndProc)));
    if (BrowseKind == bfComputers || FolderExists(FolderName)) {
        selectTriesLeft_ = selectTries;
        SelectStartFolder();
    }
    if (HelpContext != 0)
        AddHelpButton();
    OnInitialized(this);
}

// Right after the dialog shows, the shell's tree may still be filling in
// and the selection then stops short and selects nothing: it is tried
// again a little later, for as long as nothing is selected (so never over
// the user's own choice).
void TBrowseFolderDlg::SelectStartFolder()
{
    SendMessageA(handle_, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(FolderName.c_str()));
    HWND tree = FindWindowExA(handle_, nullptr, WC_TREEVIEWA, nullptr);
    if (tree && !SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0) && --selectTriesLeft_ > 0)
        SetTimer(handle_, idSelectTimer, 100, nullptr);
}

void TBrowseFolderDlg::AddHelpButton()
{
    HWND first = FindWindowExA(handle_, nullptr, "BUTTON", nullptr);
    if (!first)
        return;
    RECT r;
    GetWindowRect(first, &r);
    MapWindowPoints(nullptr, handle_, reinterpret_cast<POINT*>(&r), 2);
    // A child of the dialog: it goes with the dialog's window.
    HWND help = CreateWindowExA(0, "BUTTON", "Pomo&c", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP, 12,
                                r.top, r.right - r.left, r.bottom - r.top, handle_,
                                reinterpret_cast<HMENU>(static_cast<UINT_PTR>(idHelpButton)),
                                GetModuleHandleA(nullptr), nullptr);
    if (help)
        SendMessageA(help, WM_SETFONT, SendMessageA(handle_, WM_GETFONT, 0, 0), FALSE);
    InvalidateRect(handle_, nullptr, TRUE);
}

void TBrowseFolderDlg::SelChanged(HWND wnd, LPITEMIDLIST item)
{
    handle_ = wnd;
    if (BrowseKind == bfComputers) {
        currentPath_ = displayName_.c_str();
    } else {
        std::string path;
        if (PathOf(item, path)) {
            currentPath_ = path;
            SendMessageA(wnd, BFFM_ENABLEOK, 0, FolderExists(path));
        } else {
            currentPath_.clear();
            SendMessageA(wnd, BFFM_ENABLEOK, 0, FALSE);
        }
    }
    OnSelChanged(this);
}

LRESULT TBrowseFolderDlg::WndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_COMMAND:
        if (wParam == MAKEWPARAM(idHelpButton, BN_CLICKED) && HelpContext != 0) {
            Application->HelpContext(HelpContext);
            return 0;
        }
        break;
    case WM_TIMER:
        if (wParam == idSelectTimer) {
            KillTimer(handle_, idSelectTimer);
            HWND tree = FindWindowExA(handle_, nullptr, WC_TREEVIEWA, nullptr);
            if (tree && !SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0))
                SelectStartFolder();
            return 0;
        }
        break;
    case WM_NCDESTROY: {
        LRESULT result = DefaultHandler(msg, wParam, lParam);
        RemovePropA(handle_, dlgProperty);
        handle_ = nullptr;
        return result;
    }
    }
    return DefaultHandler(msg, wParam, lParam);
}

LRESULT TBrowseFolderDlg::DefaultHandler(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (handle_ && defWndProc_)
        return CallWindowProcA(defWndProc_, handle_, msg, wParam, lParam);
    return 0;
}

bool BrowseForFolder(std::string& Folder, const std::string& Caption, THelpContext HelpContext)
{
    // Every system this runs on has the shell's browser; the old directory
    // dialog is never needed.
    std::unique_ptr<TBrowseFolderDlg> dlg(new TBrowseFolderDlg(Application));
    dlg->DialogText = Caption;
    dlg->FolderName = Folder;
    dlg->HelpContext = HelpContext;
    if (!dlg->Execute())
        return false;
    Folder = dlg->FolderName;
    return true;
}

void FileUtilStartup()
{
    RegisterComponentClass(TBrowseFolderDlg::StaticClass());
}
