#include "components/Placemnt.h"

#include "classlib/IniFiles.h"
#include "classlib/Lists.h"
#include "classlib/TypInfo.h"
#include "components/AppUtils.h"
#include "components/RXProps.h"
#include "components/RxHook.h"

// ---------------------------------------------------------------------------
// TWinMinMaxInfo

const TClassInfo* TWinMinMaxInfo::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TWinMinMaxInfo::StaticClass()
{
    using M = TWinMinMaxInfo;
    static const TClassInfo info("TWinMinMaxInfo", &TPersistent::StaticClass(), nullptr,
                                 {
                                     PublishInteger<&M::MaxPosLeft, &M::SetMaxPosLeft>("MaxPosLeft"),
                                     PublishInteger<&M::MaxPosTop, &M::SetMaxPosTop>("MaxPosTop"),
                                     PublishInteger<&M::MaxSizeHeight, &M::SetMaxSizeHeight>("MaxSizeHeight"),
                                     PublishInteger<&M::MaxSizeWidth, &M::SetMaxSizeWidth>("MaxSizeWidth"),
                                     PublishInteger<&M::MaxTrackHeight, &M::SetMaxTrackHeight>("MaxTrackHeight"),
                                     PublishInteger<&M::MaxTrackWidth, &M::SetMaxTrackWidth>("MaxTrackWidth"),
                                     PublishInteger<&M::MinTrackHeight, &M::SetMinTrackHeight>("MinTrackHeight"),
                                     PublishInteger<&M::MinTrackWidth, &M::SetMinTrackWidth>("MinTrackWidth"),
                                 });
    return info;
}

void TWinMinMaxInfo::Assign(const TPersistent* source)
{
    if (auto* other = dynamic_cast<const TWinMinMaxInfo*>(source)) {
        info_ = other->info_;
        Changed();
        return;
    }
    TPersistent::Assign(source);
}

bool TWinMinMaxInfo::DefaultMinMaxInfo() const
{
    return info_.ptMaxPosition.x == 0 && info_.ptMaxPosition.y == 0 && info_.ptMaxSize.x == 0 &&
        info_.ptMaxSize.y == 0 && info_.ptMaxTrackSize.x == 0 && info_.ptMaxTrackSize.y == 0 &&
        info_.ptMinTrackSize.x == 0 && info_.ptMinTrackSize.y == 0;
}

void TWinMinMaxInfo::SetValue(LONG& field, int value)
{
    if (field == value)
        return;
    field = value;
    Changed();
}

void TWinMinMaxInfo::Changed()
{
    if (owner_)
        owner_->MinMaxInfoModified();
}

// ---------------------------------------------------------------------------
// TFormPlacement

// Opens the placement's storage for one call when no save or restore has it
// open, and closes it again on every way out.
class TFormPlacement::StorageScope {
public:
    explicit StorageScope(TFormPlacement* placement) : placement_(placement), opened_(!placement->storage_)
    {
        if (opened_)
            placement_->OpenStorage();
    }
    ~StorageScope()
    {
        if (opened_)
            placement_->CloseStorage();
    }
    StorageScope(const StorageScope&) = delete;
    StorageScope& operator=(const StorageScope&) = delete;

private:
    TFormPlacement* placement_;
    bool opened_;
};

TFormPlacement::TFormPlacement(TComponent* owner)
    : TComponent(owner), options_(dynamic_cast<TCustomForm*>(owner) ? fpState | fpPosition : 0),
      minMaxInfo_(std::make_unique<TWinMinMaxInfo>(this)), winHook_(new TRxWindowHook(this))
{
    winHook_->AfterMessage = THookMessageEvent(this, &TFormPlacement::HandleFormMessage);
}

TFormPlacement::~TFormPlacement()
{
    CloseStorage();
    winHook_->SetWinControl(nullptr);
    // A form that is going has no use for its handlers any more.
    if (attached_ && form_ && !form_->IsDestroying()) {
        form_->OnShow = saveFormShow_;
        form_->OnCloseQuery = saveFormCloseQuery_;
        form_->OnDestroy = saveFormDestroy_;
    }
}

const TClassInfo* TFormPlacement::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TFormPlacement::StaticClass()
{
    using P = TFormPlacement;
    static const TClassInfo info(
        "TFormPlacement", &TComponent::StaticClass(), &NewComponent<TFormPlacement>,
        {
            PublishBoolean<&P::Active, &P::SetActive>("Active"),
            PublishString<&P::IniFileName, &P::SetIniFileName>("IniFileName"),
            PublishString<&P::IniSection, &P::SetIniSection>("IniSection"),
            PublishObject<&P::MinMaxInfo, &P::SetMinMaxInfo>("MinMaxInfo"),
            PublishSet<&P::Options, &P::SetOptions>("Options", {"fpState", "fpPosition", "fpActiveControl"}),
            PublishBoolean<&P::PreventResize, &P::SetPreventResize>("PreventResize"),
            PublishBoolean<&P::UseRegistry, &P::SetUseRegistry>("UseRegistry"),
            PublishEvent<&P::OnSavePlacement>("OnSavePlacement"),
            PublishEvent<&P::OnRestorePlacement>("OnRestorePlacement"),
        });
    return info;
}

TCustomForm* TFormPlacement::Form() const
{
    return dynamic_cast<TCustomForm*>(Owner());
}

std::string TFormPlacement::IniFileName() const
{
    if (!iniFileName_.empty())
        return iniFileName_;
    return useRegistry_ ? DefaultRegistryKey() : DefaultIniFileName();
}

std::string TFormPlacement::IniSection() const
{
    return iniSection_.empty() ? DefaultSectionOf(Owner()) : iniSection_;
}

void TFormPlacement::Loaded()
{
    const bool loading = IsLoading();
    TComponent::Loaded();
    if (loading && Form())
        AttachToForm();
    CheckToggleHook();
}

void TFormPlacement::AttachToForm()
{
    TCustomForm* form = Form();
    form_ = form;
    attached_ = true;
    saveFormShow_ = form->OnShow;
    saveFormCloseQuery_ = form->OnCloseQuery;
    saveFormDestroy_ = form->OnDestroy;
    form->OnShow = TNotifyEvent(this, &TFormPlacement::FormShow);
    form->OnCloseQuery = TCloseQueryEvent(this, &TFormPlacement::FormCloseQuery);
    form->OnDestroy = TNotifyEvent(this, &TFormPlacement::FormDestroy);
    defMaximize_ = (form->BorderIcons() & biMaximize) != 0;
    if (preventResize_)
        ApplyPreventResize();
}

void TFormPlacement::FormShow(TObject* Sender)
{
    if (active_) {
        try {
            RestoreFormState();
        } catch (...) {
            Application->HandleException(this);
        }
    }
    saveFormShow_(Sender);
}

void TFormPlacement::FormCloseQuery(TObject* Sender, bool& CanClose)
{
    saveFormCloseQuery_(Sender, CanClose);
    TCustomForm* form = Form();
    if (CanClose && active_ && form && form->HandleAllocated()) {
        try {
            SaveFormState();
        } catch (...) {
            Application->HandleException(this);
        }
    }
}

void TFormPlacement::FormDestroy(TObject* Sender)
{
    if (active_ && !saved_) {
        destroying_ = true;
        try {
            SaveFormState();
        } catch (...) {
            Application->HandleException(this);
        }
        destroying_ = false;
    }
    saveFormDestroy_(Sender);
}

void TFormPlacement::OpenStorage()
{
    if (useRegistry_)
        storage_ = std::make_unique<TRegIniFile>(IniFileName());
    else
        storage_ = std::make_unique<TIniFile>(IniFileName());
}

void TFormPlacement::CloseStorage()
{
    storage_.reset();
}

void TFormPlacement::SaveFormState()
{
    if (!restored_ && active_)
        return;
    StorageScope scope(this);
    WritePlacement();
    NotifySaved();
    saved_ = true;
}

void TFormPlacement::RestoreFormState()
{
    saved_ = false;
    {
        StorageScope scope(this);
        ReadPlacement();
        restored_ = true;
        NotifyRestored();
        TCustomForm* form = Form();
        if ((options_ & fpActiveControl) && form) {
            const std::string name = StorageReadString(storage_.get(), IniSection(), "ActiveControl", "");
            auto* control = dynamic_cast<TWinControl*>(form->FindComponent(name));
            if (control && control->CanFocus())
                form->SetActiveControl(control);
        }
    }
    FixMaximizedPosition();
}

std::string TFormPlacement::ReadValue(const std::string& Section, const std::string& Ident, const std::string& Default)
{
    StorageScope scope(this);
    return StorageReadString(storage_.get(), Section, Ident, Default);
}

void TFormPlacement::WriteValue(const std::string& Section, const std::string& Ident, const std::string& Value)
{
    StorageScope scope(this);
    StorageWriteString(storage_.get(), Section, Ident, Value);
}

void TFormPlacement::WritePlacement()
{
    TCustomForm* form = Form();
    if (!form)
        return;
    const std::string section = IniSection();
    WriteWindowPlacement(form, storage_.get(), section);
    if ((options_ & fpActiveControl) && form->ActiveControl())
        StorageWriteString(storage_.get(), section, "ActiveControl", form->ActiveControl()->Name());
    StorageWriteString(storage_.get(), section, "Visible", destroying_ ? "1" : "0");
}

void TFormPlacement::ReadPlacement()
{
    if (TCustomForm* form = Form())
        ReadWindowPlacement(form, storage_.get(), IniSection(), (options_ & fpState) != 0,
                            (options_ & fpPosition) != 0);
}

void TFormPlacement::SetPreventResize(bool value)
{
    if (!Form() || value == preventResize_)
        return;
    preventResize_ = value;
    FixMaximizedPosition();
    ApplyPreventResize();
}

void TFormPlacement::MinMaxInfoModified()
{
    FixMaximizedPosition();
    if (!IsLoading())
        CheckToggleHook();
}

void TFormPlacement::CheckToggleHook()
{
    TCustomForm* form = Form();
    if (form && (preventResize_ || !minMaxInfo_->DefaultMinMaxInfo()))
        winHook_->SetWinControl(form);
    else
        winHook_->SetWinControl(nullptr);
}

void TFormPlacement::ApplyPreventResize()
{
    TCustomForm* form = Form();
    if (!form)
        return;
    if (preventResize_)
        defMaximize_ = (form->BorderIcons() & biMaximize) != 0;
    // Changing the border icons makes the window anew; nothing is to be
    // saved or restored meanwhile.
    const bool wasActive = active_;
    active_ = false;
    try {
        unsigned icons = form->BorderIcons();
        if (!preventResize_ && defMaximize_ && form->BorderStyle() != bsDialog)
            icons |= biMaximize;
        else
            icons &= ~biMaximize;
        form->SetBorderIcons(icons);
    } catch (...) {
        active_ = wasActive;
        throw;
    }
    active_ = wasActive;
    if (!IsLoading())
        CheckToggleHook();
}

void TFormPlacement::FixMaximizedPosition()
{
    TCustomForm* form = Form();
    if (!form || !form->HandleAllocated() || IsLoading() || preventResize_ || !minMaxInfo_->DefaultMinMaxInfo())
        return;
    HWND wnd = form->Handle();
    WINDOWPLACEMENT wp = PlacementToSetBack(wnd);
    // A maximized window's frame lies off the screen.
    int cx = 0, cy = 0;
    switch (form->BorderStyle()) {
    case bsSingle:
    case bsToolWindow:
        cx = GetSystemMetrics(SM_CXBORDER);
        cy = GetSystemMetrics(SM_CYBORDER);
        break;
    case bsSizeable:
    case bsSizeToolWin:
        cx = GetSystemMetrics(SM_CXFRAME);
        cy = GetSystemMetrics(SM_CYFRAME);
        break;
    case bsDialog:
        cx = GetSystemMetrics(SM_CXDLGFRAME);
        cy = GetSystemMetrics(SM_CYDLGFRAME);
        break;
    case bsNone:
        break;
    }
    wp.ptMaxPosition.x = -cx;
    wp.ptMaxPosition.y = -cy;
    SetWindowPlacement(wnd, &wp);
}

void TFormPlacement::HandleFormMessage(TObject*, TMessage& Msg, bool&)
{
    TCustomForm* form = Form();
    if (preventResize_ && form) {
        switch (Msg.Msg) {
        case WM_GETMINMAXINFO:
            if (form->HandleAllocated() && IsWindowVisible(form->Handle())) {
                auto* info = reinterpret_cast<MINMAXINFO*>(Msg.LParam);
                info->ptMinTrackSize = {form->Width(), form->Height()};
                info->ptMaxTrackSize = {form->Width(), form->Height()};
                Msg.Result = 1;
            }
            break;
        case WM_NCHITTEST:
            if (Msg.Result >= HTLEFT && Msg.Result <= HTBOTTOMRIGHT)
                Msg.Result = HTNOWHERE;
            break;
        case WM_INITMENUPOPUP:
            if (HIWORD(Msg.LParam)) {
                auto menu = reinterpret_cast<HMENU>(Msg.WParam);
                EnableMenuItem(menu, SC_SIZE, MF_BYCOMMAND | MF_GRAYED);
                EnableMenuItem(menu, SC_MAXIMIZE, MF_BYCOMMAND | MF_GRAYED);
                Msg.Result = 1;
            }
            break;
        }
        return;
    }
    if (Msg.Msg != WM_GETMINMAXINFO)
        return;
    auto* info = reinterpret_cast<MINMAXINFO*>(Msg.LParam);
    if (!minMaxInfo_->DefaultMinMaxInfo()) {
        // Only the limits that were set replace the system's.
        const MINMAXINFO& own = minMaxInfo_->MinMaxInfo();
        auto take = [](LONG& to, LONG from) {
            if (from != 0)
                to = from;
        };
        take(info->ptMaxPosition.x, own.ptMaxPosition.x);
        take(info->ptMaxPosition.y, own.ptMaxPosition.y);
        take(info->ptMaxSize.x, own.ptMaxSize.x);
        take(info->ptMaxSize.y, own.ptMaxSize.y);
        take(info->ptMaxTrackSize.x, own.ptMaxTrackSize.x);
        take(info->ptMaxTrackSize.y, own.ptMaxTrackSize.y);
        take(info->ptMinTrackSize.x, own.ptMinTrackSize.x);
        take(info->ptMinTrackSize.y, own.ptMinTrackSize.y);
    } else {
        info->ptMaxPosition = {0, 0};
    }
    Msg.Result = 1;
}

// ---------------------------------------------------------------------------
// TFormStorage

TFormStorage::TFormStorage(TComponent* owner) : TFormPlacement(owner), storedProps_(std::make_unique<TStringList>()) { }

TFormStorage::~TFormStorage() = default;

const TClassInfo* TFormStorage::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TFormStorage::StaticClass()
{
    static const TClassInfo info(
        "TFormStorage", &TFormPlacement::StaticClass(), &NewComponent<TFormStorage>,
        {
            PublishStrings<&TFormStorage::StoredProps, &TFormStorage::SetStoredProps>("StoredProps"),
        });
    return info;
}

TStrings* TFormStorage::StoredProps() const
{
    return storedProps_.get();
}

void TFormStorage::SetStoredProps(TStrings* value)
{
    storedProps_->Assign(value);
    for (int i = 0; i < storedProps_->Count(); ++i)
        if (auto* c = dynamic_cast<TComponent*>(storedProps_->Objects(i)))
            c->FreeNotification(this);
}

void TFormStorage::Loaded()
{
    TFormPlacement::Loaded();
    ResolveStoredList(Owner(), storedProps_.get(), true);
}

void TFormStorage::Notification(TComponent* component, TOperation operation)
{
    TFormPlacement::Notification(component, operation);
    if (operation != TOperation::opRemove || IsDestroying() || !storedProps_)
        return;
    for (int i = storedProps_->Count() - 1; i >= 0; --i)
        if (storedProps_->Objects(i) == component)
            storedProps_->Delete(i);
}

void TFormStorage::WritePlacement()
{
    TFormPlacement::WritePlacement();
    WriteStoredProps();
}

void TFormStorage::ReadPlacement()
{
    TFormPlacement::ReadPlacement();
    MarkRestored();
    ReadStoredProps();
}

void TFormStorage::WriteStoredProps()
{
    TPropsStorage storage;
    storage.Section = IniSection();
    storage.OnWriteText = TWriteTextEvent(this, &TFormStorage::WriteText);
    storage.OnClearSection = TClearSectionEvent(this, &TFormStorage::ClearSection);
    storage.StoreStoredProps(Owner(), storedProps_.get());
}

void TFormStorage::ReadStoredProps()
{
    TPropsStorage storage;
    storage.Section = IniSection();
    storage.OnReadText = TReadTextEvent(this, &TFormStorage::ReadText);
    try {
        storage.LoadStoredProps(Owner(), storedProps_.get());
    } catch (...) {
        // The placement is applied by now; a property that cannot be read
        // keeps the value the form gave it.
    }
}

void TFormStorage::ReadText(const std::string& Section, const std::string& Ident, const std::string& Default,
                            std::string& Result)
{
    Result = ReadValue(Section, Ident, Default);
}

void TFormStorage::WriteText(const std::string& Section, const std::string& Ident, const std::string& Value)
{
    WriteValue(Section, Ident, Value);
}

void TFormStorage::ClearSection(const std::string& Section)
{
    if (TCustomIniFile* storage = Storage())
        storage->EraseSection(Section);
}

void PlacemntStartup()
{
    RegisterComponentClass(TFormPlacement::StaticClass());
    RegisterComponentClass(TFormStorage::StaticClass());
}
