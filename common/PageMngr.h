// The page manager turns a notebook into a wizard: bound to the notebook and
// to a Next and a Prior button, it takes over the two buttons' click events,
// moves the notebook one page forwards or backwards on each click (then runs
// the button's own click handler, which so sees the new page), enables the
// buttons by whether a step is possible, lets the form redirect a step
// through two request events and keeps a short history of the pages shown.
//
// One page change runs, in this order: the old page proxy's OnLeave, the new
// one's OnEnter, the notebook's own page-changed event, the destruction of
// the hidden pages' windows (DestroyHandles), the history update, the
// buttons' states, OnCheckButtons, the form's help context, OnHide, OnShow,
// OnPageChanged.
#pragma once

#include <memory>
#include <string>

#include "classlib/Controls.h"
#include "classlib/Lists.h"

class TNotebook;
class TPageManager;

// (Next): the step goes forwards.
using TPageNotifyEvent = TEvent<bool>;
// (CurrentPage, NewPage): a handler may redirect the step.
using TPageRequestEvent = TEvent<int, int&>;

// The companion of one notebook page, found by the page's caption; carries
// the page's events.
class TPageProxy : public TComponent {
public:
    explicit TPageProxy(TComponent* owner);
    // Leaves its manager's list.
    ~TPageProxy() override;

    TPageManager* Manager() const { return manager_; }
    const std::string& PageName() const { return pageName_; }
    // A name that is not a page caption of the manager's notebook (letter
    // case aside) becomes empty.
    void SetPageName(const std::string& value);

    // Its manager is its parent: a TPageManager takes it into its list,
    // anything else only takes it out of the old one.
    void SetParentComponent(TComponent* parent) override;
    TComponent* GetParentComponent() const override;

    TPageNotifyEvent OnEnter;
    TPageNotifyEvent OnLeave;
    TPageNotifyEvent OnShow;
    TPageNotifyEvent OnHide;

    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

private:
    friend class TPageManager;
    TPageManager* manager_ = nullptr;
    std::string pageName_;
};

class TPageHistoryItem : public TObject {
public:
    int PageIndex = 0;
};

// The pages visited, at most 10; Current is the entry of the page shown.
class TPageHistory : public TList {
public:
    TPageHistory();
    ~TPageHistory() override;

    int Current() const { return current_; }
    // Below 0 becomes -1; never beyond the last entry.
    void SetCurrent(int value);
    int PageIndexAt(int index) const;
    // Drops the entries after Current, and the oldest while the list is full,
    // then appends the page and makes it current.
    void AddPageIndex(int pageIndex);
    void DeleteItem(int index);
    void Clear() override;

    static constexpr int HistoryCapacity = 10;

private:
    int current_ = -1;
};

class TPageManager : public TComponent {
public:
    explicit TPageManager(TComponent* owner);
    // Frees its proxies and gives the buttons their own click handlers back.
    ~TPageManager() override;

    TNotebook* PageOwner() const { return pageOwner_; }
    void SetPageOwner(TNotebook* value);
    // The proxies (TPageProxy*) in page order after synchronisation.
    TList* PageProxies() const { return proxies_.get(); }
    // Read-only: the list cannot be replaced.
    void SetPageProxies(TList*) {}
    int ProxyCount() const { return proxies_->Count(); }
    TPageProxy* Proxies(int index) const { return static_cast<TPageProxy*>(proxies_->Items(index)); }

    TControl* PriorBtn() const { return buttons_[0]; }
    void SetPriorBtn(TControl* value) { SetButton(0, value); }
    TControl* NextBtn() const { return buttons_[1]; }
    void SetNextBtn(TControl* value) { SetButton(1, value); }

    bool SetStartPage() const { return setStartPage_; }
    void SetSetStartPage(bool value) { setStartPage_ = value; }
    bool DestroyHandles() const { return destroyHandles_; }
    // True destroys the hidden pages' windows at once (outside loading).
    void SetDestroyHandles(bool value);
    bool UseHistory() const { return useHistory_; }
    void SetUseHistory(bool value) { useHistory_ = value; }
    TPageHistory* History() const { return history_.get(); }

    // The notebook's page index, -1 without a notebook.
    int CurrentPage() const;
    // The notebook's number of pages, 0 without a notebook.
    int PageCount() const;

    // Shows page Index; an index outside the pages does nothing.
    void GoToPage(int index, bool next);
    virtual void StepPage(bool next);
    // The page a step would reach, -1 for none.
    virtual int PriorPageIndex(int currentPage);
    virtual int NextPageIndex(int currentPage);

    void Loaded() override;

    TPageRequestEvent OnGetPriorPage;
    TPageRequestEvent OnGetNextPage;
    TNotifyEvent OnCheckButtons;
    TNotifyEvent OnPageChanged;

    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TPageProxy;
    enum TStepDirection { sdJump = 1, sdBackward = 2, sdForward = 3 };

    void SetButton(int index, TControl* button);
    void HookButton(int index);
    void UnhookButton(int index);
    void BtnClick(TObject* sender);
    void SetCurrentPage(int index);
    void CheckButtons();
    // After PageOwner changed outside loading: proxies, handles, history.
    void PageOwnerChanged();
    void SyncPages();
    void DestroyHiddenHandles();
    void SeedHistory();
    TPageProxy* ProxyOfPage(int pageIndex) const;
    std::string PageCaption(int pageIndex) const;
    bool IsPageCaption(const std::string& name) const;
    void AddProxy(TPageProxy* proxy);
    void RemoveProxy(TPageProxy* proxy);

    TNotebook* pageOwner_ = nullptr;
    std::unique_ptr<TList> proxies_;
    TControl* buttons_[2] = {nullptr, nullptr};
    // Each button's own click handler, put back when it is unhooked.
    TNotifyEvent savedClicks_[2];
    bool setStartPage_ = true;
    bool destroyHandles_ = false;
    bool useHistory_ = false;
    // The form takes the help context of the page shown.
    bool changeHelpContext_ = true;
    std::unique_ptr<TPageHistory> history_;
    TStepDirection stepDirection_ = sdJump;
};

// Registers the unit's component classes for the form reader.
void PageMngrStartup();
