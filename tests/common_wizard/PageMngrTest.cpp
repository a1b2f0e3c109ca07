// The page manager: the order of one page change, the button states over
// five pages, the history, proxies and what happens when the form frees the
// manager's companions in either order.
#include <gtest/gtest.h>

#include "WizardTestUtil.h"
#include "classlib/ExtCtrls.h"
#include "classlib/FormReader.h"
#include "classlib/TypInfo.h"
#include "common/PageMngr.h"
#include "common/qmxcolorbutton.h"

// A wizard form read from a description; its handlers write what they see.
class TPageTestForm : public TForm {
public:
    explicit TPageTestForm(TComponent* owner) : TForm(owner) {}

    TNotebook* nb = nullptr;
    TqmxColorButton* bWstecz = nullptr;
    TqmxColorButton* bDalej = nullptr;
    TPageManager* pm = nullptr;
    std::vector<std::string> Log;
    // The request events' rules.
    bool PriorToFirst = false;
    bool SkipSecond = false;

    void nbPageChanged(TObject*)
    {
        Log.push_back("notebook: page " + std::to_string(nb->PageIndex()) + ", " + State());
    }
    void pmCheckButtons(TObject*)
    {
        Log.push_back(std::string("buttons: prior ") + (bWstecz->Enabled() ? "on" : "off") + ", next " +
                      (bDalej->Enabled() ? "on" : "off") + ", " + State());
    }
    void pmPageChanged(TObject*) { Log.push_back("manager: page " + std::to_string(nb->PageIndex()) + ", " + State()); }
    void pmGetPriorPage(int current, int& newPage)
    {
        if (PriorToFirst && current > 0)
            newPage = 0;
        if (SkipSecond && current == 3)
            newPage = 1;
    }
    void pmGetNextPage(int current, int& newPage)
    {
        if (SkipSecond && current == 1)
            newPage = 3;
    }
    void bDalejClick(TObject*) { Log.push_back("own Next click sees page " + std::to_string(nb->PageIndex())); }
    void bWsteczClick(TObject*) { Log.push_back("own Prior click sees page " + std::to_string(nb->PageIndex())); }
    void StartLeave(bool next) { Note("Start: leave", next); }
    void StartEnter(bool next) { Note("Start: enter", next); }
    void StartHide(bool next) { Note("Start: hide", next); }
    void StartShow(bool next) { Note("Start: show", next); }
    void DaneLeave(bool next) { Note("Dane: leave", next); }
    void DaneEnter(bool next) { Note("Dane: enter", next); }
    void DaneHide(bool next) { Note("Dane: hide", next); }
    void DaneShow(bool next) { Note("Dane: show", next); }

    const TClassInfo* ClassInfo() const override { return &StaticClass(); }
    static const TClassInfo& StaticClass()
    {
        static const TClassInfo info(
            "TPageTestForm", &TForm::StaticClass(), nullptr,
            {
                PublishComponent<&TPageTestForm::nb, &TPageTestForm::nb>("nb"),
                PublishComponent<&TPageTestForm::bWstecz, &TPageTestForm::bWstecz>("bWstecz"),
                PublishComponent<&TPageTestForm::bDalej, &TPageTestForm::bDalej>("bDalej"),
                PublishComponent<&TPageTestForm::pm, &TPageTestForm::pm>("pm"),
            },
            {
                PublishHandler<&TPageTestForm::nbPageChanged>("nbPageChanged"),
                PublishHandler<&TPageTestForm::pmCheckButtons>("pmCheckButtons"),
                PublishHandler<&TPageTestForm::pmPageChanged>("pmPageChanged"),
                PublishHandler<&TPageTestForm::pmGetPriorPage>("pmGetPriorPage"),
                PublishHandler<&TPageTestForm::pmGetNextPage>("pmGetNextPage"),
                PublishHandler<&TPageTestForm::bDalejClick>("bDalejClick"),
                PublishHandler<&TPageTestForm::bWsteczClick>("bWsteczClick"),
                PublishHandler<&TPageTestForm::StartLeave>("StartLeave"),
                PublishHandler<&TPageTestForm::StartEnter>("StartEnter"),
                PublishHandler<&TPageTestForm::StartHide>("StartHide"),
                PublishHandler<&TPageTestForm::StartShow>("StartShow"),
                PublishHandler<&TPageTestForm::DaneLeave>("DaneLeave"),
                PublishHandler<&TPageTestForm::DaneEnter>("DaneEnter"),
                PublishHandler<&TPageTestForm::DaneHide>("DaneHide"),
                PublishHandler<&TPageTestForm::DaneShow>("DaneShow"),
            });
        return info;
    }

private:
    void Note(const std::string& what, bool next) { Log.push_back(what + (next ? " (next)" : " (prior)")); }
    // History, the first page's window and the form's help context.
    std::string State()
    {
        return "history " + std::to_string(pm->History()->Count()) + ", first page window " +
               (nb->Page(0)->HandleAllocated() ? "yes" : "no") + ", help " + std::to_string(HelpContext());
    }
};

namespace {

// The description of the wizard: five pages, two buttons with handlers of
// their own, a manager with a proxy per page (events on the first two).
std::string WizardText(const std::string& managerExtra = std::string(), const std::string& firstProxy = "Start")
{
    return "object fKreator: TPageTestForm\n"
           "  Width = 500\n"
           "  Height = 300\n"
           "  object nb: TNotebook\n"
           "    Left = 150\n"
           "    Width = 300\n"
           "    Height = 200\n"
           "    OnPageChanged = nbPageChanged\n"
           "    object pgStart: TPage\n      Caption = 'Start'\n      HelpContext = 100\n    end\n"
           "    object pgDane: TPage\n      Caption = 'Dane'\n      HelpContext = 101\n    end\n"
           "    object pgOpcje: TPage\n      Caption = 'Opcje'\n    end\n"
           "    object pgKopiowanie: TPage\n      Caption = 'Kopiowanie'\n    end\n"
           "    object pgKoniec: TPage\n      Caption = 'Koniec'\n    end\n"
           "  end\n"
           "  object bWstecz: TqmxColorButton\n"
           "    Left = 250\n    Top = 220\n    Caption = '< &Wstecz'\n    OnClick = bWsteczClick\n"
           "  end\n"
           "  object bDalej: TqmxColorButton\n"
           "    Left = 330\n    Top = 220\n    Caption = '&Dalej >'\n    Default = True\n    OnClick = bDalejClick\n"
           "  end\n"
           "  object pm: TPageManager\n"
           "    PageOwner = nb\n"
           "    PriorBtn = bWstecz\n"
           "    NextBtn = bDalej\n"
           "    OnCheckButtons = pmCheckButtons\n"
           "    OnPageChanged = pmPageChanged\n"
           "    OnGetPriorPage = pmGetPriorPage\n"
           "    OnGetNextPage = pmGetNextPage\n" +
           managerExtra +
           "    object pxFirst: TPageProxy\n"
           "      PageName = '" + firstProxy + "'\n"
           "      OnEnter = StartEnter\n      OnLeave = StartLeave\n      OnShow = StartShow\n      OnHide = StartHide\n"
           "    end\n"
           "    object pxDane: TPageProxy\n"
           "      PageName = 'Dane'\n"
           "      OnEnter = DaneEnter\n      OnLeave = DaneLeave\n      OnShow = DaneShow\n      OnHide = DaneHide\n"
           "    end\n"
           "    object pxOpcje: TPageProxy\n      PageName = 'Opcje'\n    end\n"
           "    object pxKopiowanie: TPageProxy\n      PageName = 'Kopiowanie'\n    end\n"
           "    object pxKoniec: TPageProxy\n      PageName = 'Koniec'\n    end\n"
           "  end\n"
           "end\n";
}

// A proxy that counts its living copies.
class TCountedProxy : public TPageProxy {
public:
    explicit TCountedProxy(TComponent* owner) : TPageProxy(owner) { ++Alive; }
    ~TCountedProxy() override { --Alive; }
    static int Alive;
};
int TCountedProxy::Alive = 0;

class PageManager : public testing::Test {
protected:
    void SetUp() override
    {
        EnsureWizardApplication();
        static bool registered = false;
        if (!registered) {
            RegisterComponentClass(TPageTestForm::StaticClass());
            registered = true;
        }
        form = new TPageTestForm(Application);
    }
    void TearDown() override
    {
        if (form)
            form->Free();
    }

    void Read(const std::string& text)
    {
        ReadFormText(form, text);
        form->HandleNeeded();
        form->Log.clear();
    }

    std::vector<int> HistoryPages() const
    {
        std::vector<int> pages;
        for (int i = 0; i < form->pm->History()->Count(); ++i)
            pages.push_back(form->pm->History()->PageIndexAt(i));
        return pages;
    }

    static std::vector<std::string> ProxyNames(TPageManager* pm)
    {
        std::vector<std::string> names;
        for (int i = 0; i < pm->ProxyCount(); ++i)
            names.push_back(pm->Proxies(i)->PageName());
        return names;
    }

    TPageTestForm* form = nullptr;
};

TEST_F(PageManager, OneNextClickRunsThePageChangeInOrderThenTheButtonsOwnHandler)
{
    Read(WizardText("    DestroyHandles = True\n"));
    ASSERT_EQ(form->nb->PageIndex(), 0);
    ASSERT_TRUE(form->nb->Page(0)->HandleAllocated());

    // A real click on the button's window.
    SendMessageA(form->bDalej->Handle(), BM_CLICK, 0, 0);

    const std::vector<std::string> expected = {
        "Start: leave (next)",
        "Dane: enter (next)",
        "notebook: page 1, history 1, first page window yes, help 0",
        "buttons: prior on, next on, history 2, first page window no, help 0",
        "Start: hide (next)",
        "Dane: show (next)",
        "manager: page 1, history 2, first page window no, help 101",
        "own Next click sees page 1",
    };
    EXPECT_EQ(form->Log, expected);
    EXPECT_EQ(HistoryPages(), (std::vector<int>{0, 1}));

    // Prior: the same order backwards, then the Prior button's own handler.
    form->Log.clear();
    SendMessageA(form->bWstecz->Handle(), BM_CLICK, 0, 0);
    ASSERT_FALSE(form->Log.empty());
    EXPECT_EQ(form->Log.front(), "Dane: leave (prior)");
    EXPECT_EQ(form->Log.back(), "own Prior click sees page 0");
    EXPECT_EQ(form->nb->PageIndex(), 0);
    // The form keeps the first help context it was given.
    EXPECT_EQ(form->HelpContext(), 101);
}

TEST_F(PageManager, ButtonsFollowWhetherAStepIsPossibleOverFivePages)
{
    Read(WizardText());
    struct Row {
        int page;
        bool priorOn, nextOn;
        int afterPrior, afterNext;
    };
    const struct {
        const char* rule;
        bool priorToFirst, skipSecond;
        std::vector<Row> rows;
    } rules[] = {
        {"page order",
         false,
         false,
         {{0, false, true, 0, 1}, {1, true, true, 0, 2}, {2, true, true, 1, 3}, {3, true, true, 2, 4}, {4, true, false, 3, 4}}},
        {"Prior always returns to the first page",
         true,
         false,
         {{0, false, true, 0, 1}, {1, true, true, 0, 2}, {2, true, true, 0, 3}, {3, true, true, 0, 4}, {4, true, false, 0, 4}}},
        {"the third page is skipped both ways",
         false,
         true,
         {{0, false, true, 0, 1}, {1, true, true, 0, 3}, {2, true, true, 1, 3}, {3, true, true, 1, 4}, {4, true, false, 3, 4}}},
    };
    for (const auto& rule : rules) {
        SCOPED_TRACE(rule.rule);
        form->PriorToFirst = rule.priorToFirst;
        form->SkipSecond = rule.skipSecond;
        for (const Row& row : rule.rows) {
            SCOPED_TRACE("page " + std::to_string(row.page));
            form->pm->GoToPage(row.page, true);
            ASSERT_EQ(form->nb->PageIndex(), row.page);
            EXPECT_EQ(form->bWstecz->Enabled(), row.priorOn);
            EXPECT_EQ(form->bDalej->Enabled(), row.nextOn);
            form->bWstecz->Click();
            EXPECT_EQ(form->nb->PageIndex(), row.afterPrior);
            form->pm->GoToPage(row.page, true);
            form->bDalej->Click();
            EXPECT_EQ(form->nb->PageIndex(), row.afterNext);
        }
    }
}

TEST_F(PageManager, WithHistoryPriorAndNextWalkThePagesVisited)
{
    Read(WizardText("    UseHistory = True\n"));
    TPageManager* pm = form->pm;
    EXPECT_EQ(HistoryPages(), std::vector<int>{0});
    EXPECT_FALSE(form->bWstecz->Enabled());
    EXPECT_FALSE(form->bDalej->Enabled());

    const struct {
        const char* step;
        int jump;  // -1: Prior click, -2: Next click, else GoToPage
        int page;
        std::vector<int> history;
        int current;
        bool priorOn, nextOn;
    } steps[] = {
        {"jump to page 1", 1, 1, {0, 1}, 1, true, false},
        {"jump to page 2", 2, 2, {0, 1, 2}, 2, true, false},
        {"Prior", -1, 1, {0, 1, 2}, 1, true, true},
        {"Next", -2, 2, {0, 1, 2}, 2, true, false},
        {"Prior again", -1, 1, {0, 1, 2}, 1, true, true},
        {"jump to page 4 drops what followed", 4, 4, {0, 1, 4}, 2, true, false},
        {"Prior twice", -1, 1, {0, 1, 4}, 1, true, true},
        {"... to the first page", -1, 0, {0, 1, 4}, 0, false, true},
        {"jump to the page shown adds nothing", 0, 0, {0, 1, 4}, 0, false, true},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.step);
        if (s.jump == -1)
            form->bWstecz->Click();
        else if (s.jump == -2)
            form->bDalej->Click();
        else
            pm->GoToPage(s.jump, true);
        EXPECT_EQ(form->nb->PageIndex(), s.page);
        EXPECT_EQ(HistoryPages(), s.history);
        EXPECT_EQ(pm->History()->Current(), s.current);
        EXPECT_EQ(form->bWstecz->Enabled(), s.priorOn);
        EXPECT_EQ(form->bDalej->Enabled(), s.nextOn);
    }
}

TEST_F(PageManager, HistoryKeepsTheTenLatestPages)
{
    Read(WizardText());
    // Eleven more pages visited: 1, 2, 3, 4, 1, 2, 3, 4, 1, 2, 3.
    for (int i = 0; i < 11; ++i)
        form->pm->GoToPage(1 + i % 4, true);
    EXPECT_EQ(HistoryPages(), (std::vector<int>{2, 3, 4, 1, 2, 3, 4, 1, 2, 3}));
    EXPECT_EQ(form->pm->History()->Current(), 9);
    EXPECT_EQ(form->pm->History()->Capacity(), 10);

    TPageHistory* h = form->pm->History();
    const struct {
        int set, current;
    } rows[] = {{-5, -1}, {4, 4}, {42, 9}, {0, 0}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.set);
        h->SetCurrent(r.set);
        EXPECT_EQ(h->Current(), r.current);
    }
    h->SetCurrent(9);
    h->DeleteItem(9);
    EXPECT_EQ(h->Count(), 9);
    EXPECT_EQ(h->Current(), 8);
    h->DeleteItem(9);  // outside: nothing
    EXPECT_EQ(h->Count(), 9);
    h->Clear();
    EXPECT_EQ(h->Count(), 0);
    EXPECT_EQ(h->Current(), -1);
    EXPECT_EQ(h->Capacity(), 10);
}

TEST_F(PageManager, GoingToThePageShownFiresItsProxyAndTheManagerOnly)
{
    Read(WizardText());
    form->pm->GoToPage(1, true);
    form->Log.clear();
    form->pm->GoToPage(1, false);
    const std::vector<std::string> expected = {
        "Dane: leave (prior)",
        "Dane: enter (prior)",
        "buttons: prior on, next on, history 2, first page window yes, help 101",
        "Dane: hide (prior)",
        "Dane: show (prior)",
        "manager: page 1, history 2, first page window yes, help 101",
    };
    EXPECT_EQ(form->Log, expected);

    // Outside the pages: nothing at all.
    form->Log.clear();
    form->pm->GoToPage(5, true);
    form->pm->GoToPage(-1, true);
    EXPECT_TRUE(form->Log.empty());
    EXPECT_EQ(form->nb->PageIndex(), 1);
}

TEST_F(PageManager, TheFirstProxyChoosesTheStartPageWhenAsked)
{
    const struct {
        const char* extra;
        const char* firstProxy;
        int page;
    } rows[] = {
        {"", "Opcje", 2},
        {"    SetStartPage = False\n", "Opcje", 0},
        {"", "Nieznana", 0},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(std::string(r.extra) + r.firstProxy);
        form->Free();
        form = new TPageTestForm(Application);
        Read(WizardText(r.extra, r.firstProxy));
        EXPECT_EQ(form->nb->PageIndex(), r.page);
        EXPECT_EQ(HistoryPages(), std::vector<int>{r.page});
        EXPECT_EQ(form->bWstecz->Enabled(), r.page > 0);
        EXPECT_TRUE(form->bDalej->Enabled());
    }
}

TEST_F(PageManager, ProxiesFollowThePagesOfTheNotebookBound)
{
    auto* nb = new TNotebook(form);
    nb->SetParent(form);
    for (const char* caption : {"Start", "Dane", "Opcje", "Kopiowanie", "Koniec"})
        nb->Pages()->Add(caption);
    auto* pm = new TPageManager(form);
    // Proxies made before the notebook is bound keep any name.
    auto* stranger = new TPageProxy(form);
    stranger->SetParentComponent(pm);
    stranger->SetPageName("Stara");
    auto* unnamed = new TPageProxy(form);
    unnamed->SetParentComponent(pm);
    auto* koniec = new TPageProxy(form);
    koniec->SetParentComponent(pm);
    koniec->SetPageName("koniec");
    EXPECT_EQ(stranger->PageName(), "Stara");
    EXPECT_EQ(stranger->Manager(), pm);
    EXPECT_EQ(stranger->GetParentComponent(), pm);

    pm->SetPageOwner(nb);
    // Missing proxies are made for the captions nobody carries (letter case
    // aside), then each proxy moves to its page; the stranger stays, as it
    // is needed to fill the count.
    EXPECT_EQ(ProxyNames(pm), (std::vector<std::string>{"Start", "Dane", "Stara", "", "koniec"}));
    EXPECT_EQ(pm->Proxies(0)->Owner(), form);
    EXPECT_EQ(pm->History()->Count(), 1);

    // A name that is no caption becomes empty, letter case aside.
    const struct {
        const char* name;
        const char* kept;
    } rows[] = {{"Nieznana", ""}, {"OPCJE", "OPCJE"}, {"Kopiowanie", "Kopiowanie"}, {"", ""}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        stranger->SetPageName(r.name);
        EXPECT_EQ(stranger->PageName(), r.kept);
    }
    // A parent that is no manager takes the proxy out.
    stranger->SetParentComponent(form);
    EXPECT_EQ(stranger->Manager(), nullptr);
    EXPECT_EQ(pm->ProxyCount(), 4);
    delete stranger;

    // Bound to a notebook of fewer pages, a proxy too many whose name is no
    // caption there is freed.
    unnamed->SetPageName("Opcje");
    auto* nb2 = new TNotebook(form);
    nb2->SetParent(form);
    for (const char* caption : {"Start", "Dane", "Koniec"})
        nb2->Pages()->Add(caption);
    pm->SetPageOwner(nb2);
    EXPECT_EQ(ProxyNames(pm), (std::vector<std::string>{"Start", "Dane", "koniec"}));
}

TEST_F(PageManager, AProxyFreedFirstLeavesItsManagerAndAManagerFreedFirstFreesItsProxies)
{
    const int before = TCountedProxy::Alive;
    {
        // The form frees the proxies first (they came after the manager).
        auto* f = new TForm(Application);
        auto* pm = new TPageManager(f);
        for (int i = 0; i < 3; ++i)
            (new TCountedProxy(f))->SetParentComponent(pm);
        EXPECT_EQ(pm->ProxyCount(), 3);
        delete pm->Proxies(1);
        EXPECT_EQ(pm->ProxyCount(), 2);
        EXPECT_EQ(TCountedProxy::Alive, before + 2);
        f->Free();
        EXPECT_EQ(TCountedProxy::Alive, before);
    }
    {
        // The form frees the manager first (the proxies came before it).
        auto* f = new TForm(Application);
        std::vector<TCountedProxy*> proxies;
        for (int i = 0; i < 3; ++i)
            proxies.push_back(new TCountedProxy(f));
        auto* pm = new TPageManager(f);
        for (TCountedProxy* p : proxies)
            p->SetParentComponent(pm);
        f->Free();
        EXPECT_EQ(TCountedProxy::Alive, before);
    }
    {
        // The manager alone: its proxies go, out of the form too.
        auto* f = new TForm(Application);
        auto* pm = new TPageManager(f);
        (new TCountedProxy(f))->SetParentComponent(pm);
        EXPECT_EQ(f->ComponentCount(), 2);
        delete pm;
        EXPECT_EQ(TCountedProxy::Alive, before);
        EXPECT_EQ(f->ComponentCount(), 0);
        f->Free();
    }
}

TEST_F(PageManager, ForgetsNotebookAndButtonsThatGoAndGivesTheButtonsBackWhenItGoes)
{
    Read(WizardText());
    TPageManager* pm = form->pm;
    pm->GoToPage(2, true);

    // The manager goes first: the buttons' own handlers are theirs again.
    delete pm;
    form->pm = nullptr;
    form->Log.clear();
    form->bDalej->Click();
    EXPECT_EQ(form->Log, std::vector<std::string>{"own Next click sees page 2"});
    EXPECT_EQ(form->nb->PageIndex(), 2);

    // A manager bound at run time hooks at once; a button or the notebook
    // that goes is forgotten.
    pm = new TPageManager(form);
    form->pm = pm;
    pm->SetPageOwner(form->nb);
    pm->SetNextBtn(form->bDalej);
    pm->SetPriorBtn(form->bWstecz);
    form->Log.clear();
    form->bDalej->Click();
    EXPECT_EQ(form->nb->PageIndex(), 3);
    EXPECT_EQ(form->Log.back(), "own Next click sees page 3");

    // Another button: the old one gets its handler back.
    auto* other = new TqmxColorButton(form);
    other->SetParent(form);
    pm->SetNextBtn(other);
    form->Log.clear();
    form->bDalej->Click();
    EXPECT_EQ(form->Log, std::vector<std::string>{"own Next click sees page 3"});
    other->Click();
    EXPECT_EQ(form->nb->PageIndex(), 4);

    delete other;
    EXPECT_EQ(pm->NextBtn(), nullptr);
    delete form->bWstecz;
    form->bWstecz = nullptr;
    EXPECT_EQ(pm->PriorBtn(), nullptr);
    delete form->nb;
    form->nb = nullptr;
    EXPECT_EQ(pm->PageOwner(), nullptr);
    EXPECT_EQ(pm->CurrentPage(), -1);
    EXPECT_EQ(pm->PageCount(), 0);
    pm->GoToPage(0, true);  // nothing to do, nothing to fail
}

} // namespace
