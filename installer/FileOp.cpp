#include "installer/FileOp.h"

#include <windows.h>

#include <shellapi.h>

#include <cstring>

#include "classlib/Forms.h"
#include "classlib/Lists.h"
#include "classlib/TypInfo.h"

namespace {

const UINT shellOperation[] = {FO_COPY, FO_DELETE, FO_MOVE, FO_RENAME};

const FILEOP_FLAGS shellFlag[] = {
    FOF_ALLOWUNDO,        FOF_CONFIRMMOUSE,   FOF_FILESONLY, FOF_MULTIDESTFILES, FOF_NOCONFIRMATION,
    FOF_NOCONFIRMMKDIR,   FOF_RENAMEONCOLLISION, FOF_SILENT, FOF_SIMPLEPROGRESS,
};

// The shell's list form: every name ends with a zero character, the list
// with one more.
std::string ShellList(const std::string& names)
{
    std::string list = names;
    for (char& ch : list)
        if (ch == ';')
            ch = '\0';
    list.append(2, '\0');
    return list;
}

// The window that owns the shell's dialogs: the owner form's, else the
// application's.
HWND DialogOwner(const TComponent* component)
{
    if (auto* form = dynamic_cast<TCustomForm*>(component->Owner()))
        return form->Handle();
    return Application->Handle();
}

// Notes the buttons pressed in the shell's questions (dialog windows of this
// thread) while it lives: a click or a key sends the dialog its command, a
// posted click arrives through the message loop of the dialog.
class TAnswerWatch {
public:
    // Watches nothing when not active.
    explicit TAnswerWatch(bool active)
    {
        if (!active)
            return;
        current_ = this;
        sent_ = SetWindowsHookExA(WH_CALLWNDPROC, &Sent, nullptr, GetCurrentThreadId());
        posted_ = SetWindowsHookExA(WH_GETMESSAGE, &Posted, nullptr, GetCurrentThreadId());
    }
    ~TAnswerWatch()
    {
        if (posted_)
            UnhookWindowsHookEx(posted_);
        if (sent_)
            UnhookWindowsHookEx(sent_);
        if (current_ == this)
            current_ = nullptr;
    }
    TAnswerWatch(const TAnswerWatch&) = delete;
    TAnswerWatch& operator=(const TAnswerWatch&) = delete;

    bool Yes = false;
    bool No = false;
    bool Cancel = false;

private:
    static void Note(HWND wnd, UINT msg, WPARAM wParam) noexcept
    {
        if (msg != WM_COMMAND || !current_)
            return;
        const WORD id = LOWORD(wParam);
        if (id != IDYES && id != IDNO && id != IDCANCEL)
            return;
        char cls[16] = "";
        GetClassNameA(wnd, cls, sizeof cls);
        if (lstrcmpA(cls, "#32770") != 0)
            return;
        (id == IDYES ? current_->Yes : id == IDNO ? current_->No : current_->Cancel) = true;
    }
    static LRESULT CALLBACK Sent(int code, WPARAM wParam, LPARAM lParam) noexcept
    {
        if (code == HC_ACTION) {
            const auto* m = reinterpret_cast<const CWPSTRUCT*>(lParam);
            Note(m->hwnd, m->message, m->wParam);
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static LRESULT CALLBACK Posted(int code, WPARAM wParam, LPARAM lParam) noexcept
    {
        // A message only looked at is seen again when it is taken.
        if (code == HC_ACTION && wParam == PM_REMOVE) {
            const auto* m = reinterpret_cast<const MSG*>(lParam);
            Note(m->hwnd, m->message, m->wParam);
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static thread_local TAnswerWatch* current_;
    HHOOK sent_ = nullptr;
    HHOOK posted_ = nullptr;
};

thread_local TAnswerWatch* TAnswerWatch::current_ = nullptr;

} // namespace

TFileOperation::TFileOperation(TComponent* owner) : TComponent(owner), about_(new TStringList)
{
    about_->Add("TFileOperation");
    about_->Add("Kopiowanie, przenoszenie, usuwanie i zmiana nazw plików");
    about_->Add("z oknami postępu i potwierdzeń powłoki Windows.");
}

TFileOperation::~TFileOperation()
{
    delete about_;
}

TStrings* TFileOperation::About() const
{
    return about_;
}

bool TFileOperation::MayAsk(const std::string& to) const
{
    if (Flags.Contains(fofNoConfirmation))
        return false;
    if ((Operation != foCopy && Operation != foMove) || !Flags.Contains(fofNoConfirmMkDir))
        return true;
    // Then a copy or move asks only about what is there already: a target
    // name that does not exist yet is made without a question. Watching costs
    // every operation something, and an installation makes thousands.
    for (const char* name = to.c_str(); *name; name += std::strlen(name) + 1)
        if (GetFileAttributesA(name) != INVALID_FILE_ATTRIBUTES)
            return true;
    return false;
}

bool TFileOperation::MayAsk() const
{
    return MayAsk(ShellList(FilesTo));
}

void TFileOperation::SetActive(bool value)
{
    if (value)
        Execute();
}

bool TFileOperation::Execute()
{
    const std::string from = ShellList(FilesFrom);
    const std::string to = ShellList(FilesTo);
    FILEOP_FLAGS flags = 0;
    for (unsigned f = 0; f < sizeof shellFlag / sizeof shellFlag[0]; ++f)
        if (Flags.Contains(static_cast<TFileOpFlag>(f)))
            flags |= shellFlag[f];

    SHFILEOPSTRUCTA op{};
    op.hwnd = DialogOwner(this);
    op.wFunc = shellOperation[Operation];
    op.pFrom = from.c_str();
    op.pTo = to.c_str();
    op.fFlags = flags;
    op.lpszProgressTitle = ProgressTitle.c_str();
    int result;
    const bool mayAsk = MayAsk(to);
    {
        TAnswerWatch answers(mayAsk);
        result = SHFileOperationA(&op);
        operationAborted_ = op.fAnyOperationsAborted != FALSE;
        declined_ = answers.No && !answers.Cancel;
        // A question closed by its close box is a cancel the watch may not
        // see; an abort where no question could come, or after a Yes, is a
        // failure.
        cancelled_ = answers.Cancel || (operationAborted_ && mayAsk && !answers.Yes && !answers.No);
    }
    resultCode_ = result;
    return result == 0;
}

const TClassInfo* TFileOperation::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TFileOperation::StaticClass()
{
    static const TClassInfo info(
        "TFileOperation", &TComponent::StaticClass(), &NewComponent<TFileOperation>,
        {
            PublishEnum<&TFileOperation::OperationOrd, &TFileOperation::SetOperationOrd>(
                "Operation", {"foCopy", "foDelete", "foMove", "foRename"}),
            PublishString<&TFileOperation::FilesFrom, &TFileOperation::FilesFrom>("FilesFrom"),
            PublishString<&TFileOperation::FilesTo, &TFileOperation::FilesTo>("FilesTo"),
            PublishSet<&TFileOperation::FlagBits, &TFileOperation::SetFlagBits>(
                "Flags", {"fofAllowUndo", "fofConfirmMouse", "fofFilesOnly", "fofMultiDestFiles", "fofNoConfirmation",
                          "fofNoConfirmMkDir", "fofRenameOnCollision", "fofSilent", "fofSimpleProgress"}),
            PublishString<&TFileOperation::ProgressTitle, &TFileOperation::ProgressTitle>("ProgressTitle"),
            PublishBoolean<&TFileOperation::OperationAborted, &TFileOperation::IgnoreAborted>("OperationAborted"),
            PublishBoolean<&TFileOperation::Active, &TFileOperation::SetActive>("Active"),
            PublishStrings<&TFileOperation::About, &TFileOperation::IgnoreAbout>("About"),
        });
    return info;
}

void FileOpStartup()
{
    RegisterComponentClass(TFileOperation::StaticClass());
}
