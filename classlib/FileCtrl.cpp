#include "classlib/FileCtrl.h"

#include "classlib/Dialogs.h"
#include "classlib/SysUtils.h"
#include "classlib/WinHandles.h"

TSelectDirectoryHook SelectDirectoryHook;

namespace {

std::string WithBackslash(const std::string& folder)
{
    if (!folder.empty() && folder.back() != '\\')
        return folder + "\\";
    return folder;
}

// "c:\" and the like: no ".." above it.
bool IsRoot(const std::string& folder)
{
    return folder.size() <= 3 && folder.size() >= 2 && folder[1] == ':';
}

template <class T>
T* Place(TSelectDirDlg* dlg, const char* name, int left, int top, int width, int height)
{
    auto* control = new T(dlg);
    control->SetName(name);
    control->SetParent(dlg);
    control->SetBounds(left, top, width, height);
    return control;
}

} // namespace

TSelectDirDlg::TSelectDirDlg(TComponent* owner, const std::string& directory, TSelectDirOpts options)
    : TForm(owner), options_(options)
{
    SetName("SelectDirDlg");
    SetCaption("Wybierz folder");
    SetBorderStyle(bsDialog);
    SetBorderIcons(biSystemMenu);
    SetPosition(poScreenCenter);
    SetClientWidth(330);
    SetClientHeight(300);

    DirEdit = Place<TEdit>(this, "DirEdit", 8, 8, 314, 21);
    DirList = Place<TListBox>(this, "DirList", 8, 36, 314, 180);
    DirList->OnDblClick = TNotifyEvent(this, &TSelectDirDlg::DirListDblClick);
    DriveList = Place<TListBox>(this, "DriveList", 8, 224, 150, 68);
    DriveList->OnClick = TNotifyEvent(this, &TSelectDirDlg::DriveListClick);
    OKButton = Place<TButton>(this, "OKButton", 166, 267, 75, 25);
    OKButton->SetCaption("OK");
    OKButton->SetDefault(true);
    OKButton->OnClick = TNotifyEvent(this, &TSelectDirDlg::OKButtonClick);
    CancelButton = Place<TButton>(this, "CancelButton", 247, 267, 75, 25);
    CancelButton->SetCaption("Anuluj");
    CancelButton->SetCancel(true);
    CancelButton->SetModalResult(mrCancel);

    char drives[512] = "";
    const DWORD length = GetLogicalDriveStringsA(sizeof drives, drives);
    for (const char* d = drives; d < drives + length && *d; d += lstrlenA(d) + 1)
        DriveList->Items()->Add(AnsiLowerCase(std::string(d, 2)));

    SetCurrent(!directory.empty() && DirectoryExists(directory) ? directory : std::string("\\"));
}

void TSelectDirDlg::SetCurrent(const std::string& folder)
{
    current_ = WithBackslash(ExpandFileName(folder));
    DirEdit->SetText(IsRoot(current_) ? current_ : current_.substr(0, current_.size() - 1));
    TStrings* items = DirList->Items();
    items->BeginUpdate();
    items->Clear();
    if (!IsRoot(current_))
        items->Add("..");
    for (TDirListing entry(current_ + "*"); entry.Found(); entry.Next()) {
        const std::string name = entry.Data().cFileName;
        if ((entry.Data().dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != "." && name != "..")
            items->Add(name);
    }
    items->EndUpdate();
}

void TSelectDirDlg::DirListDblClick(TObject*)
{
    const int index = DirList->ItemIndex();
    if (index < 0)
        return;
    const std::string name = DirList->Items()->Strings(index);
    if (name == "..")
        SetCurrent(ExtractFilePath(current_.substr(0, current_.size() - 1)));
    else
        SetCurrent(current_ + name);
}

void TSelectDirDlg::DriveListClick(TObject*)
{
    const int index = DriveList->ItemIndex();
    if (index >= 0)
        SetCurrent(DriveList->Items()->Strings(index) + "\\");
}

void TSelectDirDlg::OKButtonClick(TObject*)
{
    std::string folder = TrimBlanksAndTabs(DirEdit->Text());
    if (folder.empty())
        return;
    if (!DirectoryExists(folder)) {
        if (!(options_ & SelectDirOpt(sdAllowCreate))) {
            MessageDlg("Folder \"" + folder + "\" nie istnieje.", mtError, {mbOK}, 0);
            return;
        }
        if ((options_ & SelectDirOpt(sdPrompt)) &&
            MessageDlg("Folder \"" + folder + "\" nie istnieje. Czy chcesz go utworzyć?", mtConfirmation,
                       {mbYes, mbNo}, 0) != mrYes)
            return;
        if ((options_ & SelectDirOpt(sdPerformCreate)) && !ForceDirectories(folder)) {
            MessageDlg("Nie można utworzyć folderu \"" + folder + "\".", mtError, {mbOK}, 0);
            return;
        }
    }
    directory_ = folder;
    SetModalResult(mrOk);
}

bool SelectDirectory(std::string& Directory, TSelectDirOpts Options, int HelpCtx)
{
    auto* dlg = new TSelectDirDlg(Application, Directory, Options);
    int result = mrNone;
    try {
        dlg->InitForm();
        dlg->SetHelpContext(HelpCtx);
        SelectDirectoryHook(dlg, result);
        if (result == mrNone)
            result = dlg->ShowModal();
    } catch (...) {
        dlg->Free();
        throw;
    }
    const bool ok = result == mrOk && !dlg->Directory().empty();
    if (ok)
        Directory = dlg->Directory();
    dlg->Free();
    return ok;
}
