#include "common/PageMngr.h"

#include <algorithm>

#include "classlib/ExtCtrls.h"
#include "classlib/Forms.h"
#include "classlib/TypInfo.h"

namespace {

bool SameCaption(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && AnsiUpperCase(a) == AnsiUpperCase(b);
}

} // namespace

// ---------------------------------------------------------------------------
// TPageProxy

TPageProxy::TPageProxy(TComponent* owner) : TComponent(owner)
{
}

TPageProxy::~TPageProxy()
{
    // The form owns the proxy and may free it before its manager goes.
    if (manager_)
        manager_->RemoveProxy(this);
}

const TClassInfo* TPageProxy::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TPageProxy::StaticClass()
{
    static const TClassInfo info("TPageProxy", &TComponent::StaticClass(), &NewComponent<TPageProxy>,
                                 {
                                     PublishString<&TPageProxy::PageName, &TPageProxy::SetPageName>("PageName"),
                                     PublishEvent<&TPageProxy::OnEnter>("OnEnter"),
                                     PublishEvent<&TPageProxy::OnLeave>("OnLeave"),
                                     PublishEvent<&TPageProxy::OnShow>("OnShow"),
                                     PublishEvent<&TPageProxy::OnHide>("OnHide"),
                                 });
    return info;
}

void TPageProxy::SetPageName(const std::string& value)
{
    if (manager_ && manager_->PageOwner() && !manager_->IsPageCaption(value))
        pageName_.clear();
    else
        pageName_ = value;
}

void TPageProxy::SetParentComponent(TComponent* parent)
{
    auto* manager = dynamic_cast<TPageManager*>(parent);
    if (manager == manager_)
        return;
    if (manager_)
        manager_->RemoveProxy(this);
    if (manager)
        manager->AddProxy(this);
}

TComponent* TPageProxy::GetParentComponent() const
{
    return manager_;
}

// ---------------------------------------------------------------------------
// TPageHistory

TPageHistory::TPageHistory()
{
    SetCapacity(HistoryCapacity);
}

TPageHistory::~TPageHistory()
{
    Clear();
}

void TPageHistory::SetCurrent(int value)
{
    if (value < 0)
        value = -1;
    current_ = std::min(value, Count() - 1);
}

int TPageHistory::PageIndexAt(int index) const
{
    return static_cast<TPageHistoryItem*>(Items(index))->PageIndex;
}

void TPageHistory::AddPageIndex(int pageIndex)
{
    for (int i = Count() - 1; i > current_; --i)
        DeleteItem(i);
    if (Count() >= HistoryCapacity)
        for (int n = Count() - HistoryCapacity + 1; n > 0; --n)
            DeleteItem(0);
    auto* item = new TPageHistoryItem;
    item->PageIndex = pageIndex;
    Add(item);
    SetCurrent(Count() - 1);
}

void TPageHistory::DeleteItem(int index)
{
    if (index < 0 || index >= Count())
        return;
    delete static_cast<TPageHistoryItem*>(Items(index));
    Delete(index);
    if (current_ > Count() - 1)
        SetCurrent(Count() - 1);
}

void TPageHistory::Clear()
{
    // Entry by entry: the list keeps its room.
    for (int i = Count() - 1; i >= 0; --i)
        DeleteItem(i);
}

// ---------------------------------------------------------------------------
// TPageManager

TPageManager::TPageManager(TComponent* owner)
    : TComponent(owner), proxies_(std::make_unique<TList>()), history_(std::make_unique<TPageHistory>())
{
    // Forms create the proxies by class name.
    static bool proxyRegistered = false;
    if (!proxyRegistered) {
        RegisterComponentClass(TPageProxy::StaticClass());
        proxyRegistered = true;
    }
}

TPageManager::~TPageManager()
{
    Destroying();
    for (int i = proxies_->Count() - 1; i >= 0; --i) {
        TPageProxy* proxy = Proxies(i);
        proxies_->Delete(i);
        proxy->manager_ = nullptr;
        delete proxy;  // also takes it out of its owner
    }
    // A button that outlives the manager must not call into it.
    const TNotifyEvent own(this, &TPageManager::BtnClick);
    for (int i = 0; i < 2; ++i)
        if (buttons_[i] && buttons_[i]->OnClick == own)
            buttons_[i]->OnClick = savedClicks_[i];
}

const TClassInfo* TPageManager::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TPageManager::StaticClass()
{
    static const TClassInfo info(
        "TPageManager", &TComponent::StaticClass(), &NewComponent<TPageManager>,
        {
            PublishComponent<&TPageManager::PageOwner, &TPageManager::SetPageOwner>("PageOwner"),
            PublishObject<&TPageManager::PageProxies, &TPageManager::SetPageProxies>("PageProxies"),
            PublishComponent<&TPageManager::PriorBtn, &TPageManager::SetPriorBtn>("PriorBtn"),
            PublishComponent<&TPageManager::NextBtn, &TPageManager::SetNextBtn>("NextBtn"),
            PublishBoolean<&TPageManager::SetStartPage, &TPageManager::SetSetStartPage>("SetStartPage"),
            PublishBoolean<&TPageManager::DestroyHandles, &TPageManager::SetDestroyHandles>("DestroyHandles"),
            PublishBoolean<&TPageManager::UseHistory, &TPageManager::SetUseHistory>("UseHistory"),
            PublishEvent<&TPageManager::OnGetPriorPage>("OnGetPriorPage"),
            PublishEvent<&TPageManager::OnGetNextPage>("OnGetNextPage"),
            PublishEvent<&TPageManager::OnCheckButtons>("OnCheckButtons"),
            PublishEvent<&TPageManager::OnPageChanged>("OnPageChanged"),
        });
    return info;
}

// ---- notebook

int TPageManager::CurrentPage() const
{
    return pageOwner_ ? pageOwner_->PageIndex() : -1;
}

int TPageManager::PageCount() const
{
    return pageOwner_ ? pageOwner_->Pages()->Count() : 0;
}

std::string TPageManager::PageCaption(int pageIndex) const
{
    return pageOwner_->Pages()->Strings(pageIndex);
}

bool TPageManager::IsPageCaption(const std::string& name) const
{
    for (int i = 0; i < PageCount(); ++i)
        if (SameCaption(PageCaption(i), name))
            return true;
    return false;
}

TPageProxy* TPageManager::ProxyOfPage(int pageIndex) const
{
    if (pageIndex < 0 || pageIndex >= PageCount())
        return nullptr;
    const std::string caption = PageCaption(pageIndex);
    for (int i = 0; i < ProxyCount(); ++i)
        if (Proxies(i)->PageName() == caption)
            return Proxies(i);
    return nullptr;
}

void TPageManager::SetPageOwner(TNotebook* value)
{
    if (value == pageOwner_)
        return;
    if (pageOwner_)
        pageOwner_->RemoveFreeNotification(this);
    pageOwner_ = value;
    if (value)
        value->FreeNotification(this);
    if (!IsLoading())
        PageOwnerChanged();
}

void TPageManager::PageOwnerChanged()
{
    SyncPages();
    if (destroyHandles_)
        DestroyHiddenHandles();
    SeedHistory();
}

void TPageManager::SeedHistory()
{
    if (history_->Count() == 0 && pageOwner_)
        history_->AddPageIndex(CurrentPage());
}

void TPageManager::SyncPages()
{
    const int pages = PageCount();
    while (ProxyCount() < pages) {
        auto* proxy = new TPageProxy(Owner());
        AddProxy(proxy);
        std::string name;
        for (int i = 0; i < pages && name.empty(); ++i) {
            const std::string caption = PageCaption(i);
            bool carried = false;
            for (int j = 0; j < ProxyCount() && !carried; ++j)
                carried = SameCaption(Proxies(j)->PageName(), caption);
            if (!carried)
                name = caption;
        }
        proxy->SetPageName(name);
    }
    for (int i = ProxyCount() - 1; i >= 0 && ProxyCount() > pages; --i) {
        TPageProxy* proxy = Proxies(i);
        if (!proxy->PageName().empty() && !IsPageCaption(proxy->PageName()))
            delete proxy;
    }
    for (int page = 0; page < pages; ++page) {
        const std::string caption = PageCaption(page);
        for (int j = page; j < ProxyCount(); ++j)
            if (SameCaption(Proxies(j)->PageName(), caption)) {
                if (j != page)
                    proxies_->Move(j, page);
                break;
            }
    }
}

void TPageManager::DestroyHiddenHandles()
{
    if (!pageOwner_)
        return;
    const int shown = CurrentPage();
    for (int i = 0; i < PageCount(); ++i)
        if (i != shown)
            if (auto* page = dynamic_cast<TWinControl*>(pageOwner_->Pages()->Objects(i)))
                page->DestroyHandle();
}

void TPageManager::SetDestroyHandles(bool value)
{
    destroyHandles_ = value;
    if (value && !IsLoading())
        DestroyHiddenHandles();
}

void TPageManager::AddProxy(TPageProxy* proxy)
{
    proxies_->Add(proxy);
    proxy->manager_ = this;
}

void TPageManager::RemoveProxy(TPageProxy* proxy)
{
    proxies_->Remove(proxy);
    proxy->manager_ = nullptr;
}

// ---- buttons

void TPageManager::SetButton(int index, TControl* button)
{
    if (buttons_[index] == button)
        return;
    if (!IsLoading())
        UnhookButton(index);
    TControl* old = buttons_[index];
    buttons_[index] = button;
    if (old && old != buttons_[1 - index])
        old->RemoveFreeNotification(this);
    if (button)
        button->FreeNotification(this);
    if (!IsLoading())
        HookButton(index);
}

void TPageManager::HookButton(int index)
{
    TControl* button = buttons_[index];
    if (!button)
        return;
    const TNotifyEvent own(this, &TPageManager::BtnClick);
    // One button in both places is hooked once; saving our own handler would
    // make a click call itself.
    savedClicks_[index] = button->OnClick == own ? TNotifyEvent() : button->OnClick;
    button->OnClick = own;
}

void TPageManager::UnhookButton(int index)
{
    if (TControl* button = buttons_[index])
        button->OnClick = savedClicks_[index];
    savedClicks_[index].Clear();
}

void TPageManager::BtnClick(TObject* sender)
{
    for (int i = 0; i < 2; ++i) {
        if (sender != buttons_[i])
            continue;
        StepPage(i == 1);
        const TNotifyEvent saved = savedClicks_[i];
        saved(sender);
    }
}

void TPageManager::Notification(TComponent* component, TOperation operation)
{
    TComponent::Notification(component, operation);
    if (operation != TOperation::opRemove)
        return;
    if (component == pageOwner_) {
        // The notebook is half gone: forget it without talking to it.
        pageOwner_ = nullptr;
        if (!IsLoading() && !IsDestroying())
            PageOwnerChanged();
    }
    for (int i = 0; i < 2; ++i)
        if (component == buttons_[i]) {
            buttons_[i] = nullptr;
            savedClicks_[i].Clear();
        }
}

void TPageManager::CheckButtons()
{
    if (buttons_[0])
        buttons_[0]->SetEnabled(PriorPageIndex(CurrentPage()) >= 0);
    if (buttons_[1])
        buttons_[1]->SetEnabled(NextPageIndex(CurrentPage()) >= 0);
    OnCheckButtons(this);
}

// ---- steps

int TPageManager::PriorPageIndex(int currentPage)
{
    int result;
    if (useHistory_)
        result = history_->Current() > 0 ? history_->PageIndexAt(history_->Current() - 1) : -1;
    else
        result = currentPage > 0 ? currentPage - 1 : -1;
    OnGetPriorPage(currentPage, result);
    return result;
}

int TPageManager::NextPageIndex(int currentPage)
{
    int result;
    if (useHistory_)
        result = history_->Current() < history_->Count() - 1 ? history_->PageIndexAt(history_->Current() + 1) : -1;
    else
        result = currentPage < PageCount() - 1 ? currentPage + 1 : -1;
    OnGetNextPage(currentPage, result);
    return result;
}

void TPageManager::StepPage(bool next)
{
    int target;
    if (next) {
        target = NextPageIndex(CurrentPage());
        stepDirection_ = sdForward;
    } else {
        target = PriorPageIndex(CurrentPage());
        stepDirection_ = sdBackward;
    }
    GoToPage(target, next);
}

void TPageManager::GoToPage(int index, bool next)
{
    if (index < 0 || index >= PageCount())
        return;
    const int old = CurrentPage();
    // Proxies are looked up anew each time: an event may free one.
    if (TPageProxy* proxy = ProxyOfPage(old))
        proxy->OnLeave(next);
    if (TPageProxy* proxy = ProxyOfPage(index))
        proxy->OnEnter(next);
    SetCurrentPage(index);
    if (CurrentPage() != index)
        return;
    if (TPageProxy* proxy = ProxyOfPage(old))
        proxy->OnHide(next);
    if (TPageProxy* proxy = ProxyOfPage(index))
        proxy->OnShow(next);
    OnPageChanged(this);
}

void TPageManager::SetCurrentPage(int index)
{
    if (!pageOwner_)
        return;
    const int before = CurrentPage();
    pageOwner_->SetPageIndex(index);
    if (destroyHandles_)
        DestroyHiddenHandles();
    const int now = CurrentPage();
    if (now != before) {
        if (!useHistory_ || stepDirection_ == sdJump)
            history_->AddPageIndex(now);
        else if (stepDirection_ == sdBackward)
            history_->SetCurrent(history_->Current() - 1);
        else
            history_->SetCurrent(history_->Current() + 1);
    }
    stepDirection_ = sdJump;
    CheckButtons();
    if (changeHelpContext_) {
        auto* form = dynamic_cast<TCustomForm*>(Owner());
        if (form && form->HelpContext() == 0 && now >= 0 && now < PageCount())
            if (auto* page = dynamic_cast<TControl*>(pageOwner_->Pages()->Objects(now)))
                form->SetHelpContext(page->HelpContext());
    }
}

void TPageManager::Loaded()
{
    const bool wasLoading = IsLoading();
    TComponent::Loaded();
    if (wasLoading) {
        HookButton(0);
        HookButton(1);
    }
    if (setStartPage_ && pageOwner_ && ProxyCount() > 0 && !Proxies(0)->PageName().empty())
        pageOwner_->SetActivePage(Proxies(0)->PageName());
    if (destroyHandles_)
        DestroyHiddenHandles();
    SeedHistory();
    CheckButtons();
}

void PageMngrStartup()
{
    RegisterComponentClass(TPageManager::StaticClass());
    RegisterComponentClass(TPageProxy::StaticClass());
}
