// The application-events list: handlers of several components chained newest
// first, stops, the application's own handlers kept and given back, hint
// settings written when a form is read, and the main-window hook.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestUnits.h"
#include "classlib/FormReader.h"
#include "classlib/TypInfo.h"
#include "common/AppEvent.h"

namespace {

// Records who heard what: "B activate", "app help".
struct Listener {
    std::string who;
    std::vector<std::string>* log;
    bool helpAnswer = false;
    bool handles = false;

    void Note(const std::string& what) const { log->push_back(who + " " + what); }
    void Activate(TObject*) { Note("activate"); }
    void Deactivate(TObject*) { Note("deactivate"); }
    void Failed(TObject*, Exception& e) { Note("exception " + e.Message()); }
    void Idle(TObject*, bool&) { Note("idle"); }
    void Help(WORD, LONG_PTR, bool&, bool& result)
    {
        Note("help");
        result = helpAnswer;
    }
    void Hint(TObject*) { Note("hint"); }
    void Message(MSG& msg, bool& handled)
    {
        if (msg.message != WM_APP + 7)
            return;
        Note("message");
        handled = handles;
    }
    void Minimize(TObject*) { Note("minimize"); }
    void Restore(TObject*) { Note("restore"); }
    void ShowHint(std::string&, bool&, THintInfo&) { Note("showhint"); }
    void ControlChange(TObject*) { Note("control"); }
    void FormChange(TObject*) { Note("form"); }
    void Settings(TObject*) { Note("settings"); }

    void Listen(TAppEvents* e)
    {
        e->OnActivate = TNotifyEvent(this, &Listener::Activate);
        e->OnException = TExceptionEvent(this, &Listener::Failed);
        e->OnHelp = THelpEvent(this, &Listener::Help);
        e->OnMessage = TMessageEvent(this, &Listener::Message);
    }
};

// The twelve slots of the application and the screen, as erased handlers.
std::vector<TMethod> Slots()
{
    return {Application->OnActivate.Method(),   Application->OnDeactivate.Method(),
            Application->OnException.Method(),  Application->OnIdle.Method(),
            Application->OnHelp.Method(),       Application->OnHint.Method(),
            Application->OnMessage.Method(),    Application->OnMinimize.Method(),
            Application->OnRestore.Method(),    Application->OnShowHint.Method(),
            Screen->OnActiveControlChange.Method(), Screen->OnActiveFormChange.Method()};
}

void SetAllSlots(Listener& l)
{
    Application->OnActivate = TNotifyEvent(&l, &Listener::Activate);
    Application->OnDeactivate = TNotifyEvent(&l, &Listener::Deactivate);
    Application->OnException = TExceptionEvent(&l, &Listener::Failed);
    Application->OnIdle = TIdleEvent(&l, &Listener::Idle);
    Application->OnHelp = THelpEvent(&l, &Listener::Help);
    Application->OnHint = TNotifyEvent(&l, &Listener::Hint);
    Application->OnMessage = TMessageEvent(&l, &Listener::Message);
    Application->OnMinimize = TNotifyEvent(&l, &Listener::Minimize);
    Application->OnRestore = TNotifyEvent(&l, &Listener::Restore);
    Application->OnShowHint = TShowHintEvent(&l, &Listener::ShowHint);
    Screen->OnActiveControlChange = TNotifyEvent(&l, &Listener::ControlChange);
    Screen->OnActiveFormChange = TNotifyEvent(&l, &Listener::FormChange);
}

void ClearAllSlots()
{
    Application->OnActivate.Clear();
    Application->OnDeactivate.Clear();
    Application->OnException.Clear();
    Application->OnIdle.Clear();
    Application->OnHelp.Clear();
    Application->OnHint.Clear();
    Application->OnMessage.Clear();
    Application->OnMinimize.Clear();
    Application->OnRestore.Clear();
    Application->OnShowHint.Clear();
    Screen->OnActiveControlChange.Clear();
    Screen->OnActiveFormChange.Clear();
}

class AppEvents : public testing::Test {
protected:
    void SetUp() override
    {
        EnsureAppEventsTestUnits();
        ClearAllSlots();
    }
    void TearDown() override
    {
        // Every test frees its components: the list must be idle again.
        ASSERT_NE(AppEventList(), nullptr);
        EXPECT_EQ(AppEventList()->Count(), 0);
        EXPECT_FALSE(AppEventList()->Hooked());
        ClearAllSlots();
    }
};

// One round of events through the application's real entries.
void FireRound(bool& helpResult)
{
    SendMessageA(Application->Handle(), WM_ACTIVATEAPP, TRUE, 0);
    try {
        throw Exception("zepsute");
    } catch (...) {
        Application->HandleException(Application);
    }
    helpResult = Application->HelpCommand(HELP_CONTEXT, 5);
    PostMessageA(Application->Handle(), WM_APP + 7, 0, 0);
    Application->ProcessMessages();
}

TEST_F(AppEvents, EventsGoToTheNewestFirstAndStopWhereAComponentSaysSo)
{
    const struct {
        const char* name;
        bool olderChained, newerChained, newerHandles;
        std::vector<std::string> heard;
        bool help;  // the last handler's answer
    } rows[] = {
        {"both chained: newer, older, then the application's own", true, true, false,
         {"B activate", "A activate", "app activate", "B exception zepsute", "A exception zepsute",
          "app exception zepsute", "B help", "A help", "app help", "B message", "A message", "app message"},
         false},
        {"the newer not chained: only the newer", true, false, false,
         {"B activate", "B exception zepsute", "B help", "B message"},
         true},
        {"the older not chained: the application's own handler is not reached", false, true, false,
         {"B activate", "A activate", "B exception zepsute", "A exception zepsute", "B help", "A help", "B message",
          "A message"},
         false},
        {"a handled message stops the walk although all are chained", true, true, true,
         {"B activate", "A activate", "app activate", "B exception zepsute", "A exception zepsute",
          "app exception zepsute", "B help", "A help", "app help", "B message"},
         false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        std::vector<std::string> log;
        Listener app{"app", &log};
        Listener older{"A", &log};
        Listener newer{"B", &log};
        newer.helpAnswer = true;
        newer.handles = row.newerHandles;
        Application->OnActivate = TNotifyEvent(&app, &Listener::Activate);
        Application->OnException = TExceptionEvent(&app, &Listener::Failed);
        Application->OnHelp = THelpEvent(&app, &Listener::Help);
        Application->OnMessage = TMessageEvent(&app, &Listener::Message);

        auto* a = new TAppEvents(nullptr);
        auto* b = new TAppEvents(nullptr);
        older.Listen(a);
        newer.Listen(b);
        a->Chained = row.olderChained;
        b->Chained = row.newerChained;
        bool help = false;
        FireRound(help);
        EXPECT_EQ(log, row.heard);
        EXPECT_EQ(help, row.help);
        delete b;
        delete a;
        ClearAllSlots();
    }
}

TEST_F(AppEvents, ComponentsWithoutHandlersPassTheEventOn)
{
    std::vector<std::string> log;
    Listener app{"app", &log};
    Listener older{"A", &log};
    Application->OnActivate = TNotifyEvent(&app, &Listener::Activate);
    auto* a = new TAppEvents(nullptr);
    older.Listen(a);
    auto* b = new TAppEvents(nullptr);  // listens to nothing
    SendMessageA(Application->Handle(), WM_ACTIVATEAPP, TRUE, 0);
    EXPECT_EQ(log, (std::vector<std::string>{"A activate", "app activate"}));

    // One made after another has gone is the newest.
    log.clear();
    delete b;
    Listener newer{"C", &log};
    auto* c = new TAppEvents(nullptr);
    newer.Listen(c);
    SendMessageA(Application->Handle(), WM_ACTIVATEAPP, TRUE, 0);
    EXPECT_EQ(log, (std::vector<std::string>{"C activate", "A activate", "app activate"}));
    delete a;
    delete c;
}

TEST_F(AppEvents, AHandlerMayFreeItsOwnComponent)
{
    std::vector<std::string> log;
    Listener older{"A", &log};
    auto* a = new TAppEvents(nullptr);
    older.Listen(a);
    struct SelfFreeing {
        TAppEvents* self = nullptr;
        std::vector<std::string>* log;
        void Activate(TObject*)
        {
            log->push_back("B activate and go");
            delete self;
            self = nullptr;
        }
    } freeing{nullptr, &log};
    freeing.self = new TAppEvents(nullptr);
    freeing.self->OnActivate = TNotifyEvent(&freeing, &SelfFreeing::Activate);
    SendMessageA(Application->Handle(), WM_ACTIVATEAPP, TRUE, 0);
    EXPECT_EQ(log, (std::vector<std::string>{"B activate and go", "A activate"}));
    EXPECT_EQ(AppEventList()->Count(), 1);
    delete a;
}

TEST_F(AppEvents, TheApplicationsOwnHandlersComeBackAfterTheLastComponent)
{
    std::vector<std::string> log;
    Listener app{"app", &log};
    SetAllSlots(app);
    const std::vector<TMethod> own = Slots();

    auto* a = new TAppEvents(nullptr);
    const std::vector<TMethod> hooked = Slots();
    for (size_t i = 0; i < own.size(); ++i) {
        SCOPED_TRACE("slot " + std::to_string(i));
        EXPECT_FALSE(hooked[i] == own[i]);
        EXPECT_TRUE(static_cast<bool>(hooked[i]));
    }
    auto* b = new TAppEvents(nullptr);
    EXPECT_EQ(Slots(), hooked);  // the second component takes nothing over again
    delete a;
    EXPECT_EQ(Slots(), hooked);  // one is left
    delete b;
    EXPECT_EQ(Slots(), own);
    EXPECT_FALSE(AppEventList()->Hooked());

    // A slot the program set while the list sat in it keeps the program's
    // handler; the others come back.
    Listener later{"later", &log};
    auto* c = new TAppEvents(nullptr);
    Application->OnIdle = TIdleEvent(&later, &Listener::Idle);
    delete c;
    std::vector<TMethod> expected = own;
    expected[3] = TIdleEvent(&later, &Listener::Idle).Method();
    EXPECT_EQ(Slots(), expected);

    // A later first component saves what is set at that moment.
    ClearAllSlots();
    Application->OnActivate = TNotifyEvent(&later, &Listener::Activate);
    auto* d = new TAppEvents(nullptr);
    SendMessageA(Application->Handle(), WM_ACTIVATEAPP, TRUE, 0);
    delete d;
    EXPECT_EQ(log, std::vector<std::string>{"later activate"});
    EXPECT_TRUE(Application->OnActivate == TNotifyEvent(&later, &Listener::Activate));
    EXPECT_FALSE(static_cast<bool>(Application->OnDeactivate));
}

TEST_F(AppEvents, ScreenAndOtherApplicationEventsReachTheComponents)
{
    std::vector<std::string> log;
    Listener app{"app", &log};
    SetAllSlots(app);
    Listener l{"A", &log};
    auto* a = new TAppEvents(nullptr);
    a->OnDeactivate = TNotifyEvent(&l, &Listener::Deactivate);
    a->OnIdle = TIdleEvent(&l, &Listener::Idle);
    a->OnHint = TNotifyEvent(&l, &Listener::Hint);
    a->OnShowHint = TShowHintEvent(&l, &Listener::ShowHint);
    a->OnActiveControlChange = TNotifyEvent(&l, &Listener::ControlChange);
    a->OnActiveFormChange = TNotifyEvent(&l, &Listener::FormChange);
    a->OnMinimize = TNotifyEvent(&l, &Listener::Minimize);
    a->OnRestore = TNotifyEvent(&l, &Listener::Restore);
    const struct {
        const char* event;
        void (*fire)();
    } rows[] = {
        {"deactivate", [] { SendMessageA(Application->Handle(), WM_ACTIVATEAPP, FALSE, 0); }},
        {"idle",
         [] {
             bool done = true;
             Application->OnIdle(Application, done);
         }},
        {"hint", [] { Application->SetHint("Podpowiedź " + std::to_string(GetTickCount())); }},
        {"showhint",
         [] {
             std::string text = "x";
             bool canShow = true;
             THintInfo info;
             Application->OnShowHint(text, canShow, info);
         }},
        {"control", [] { Screen->OnActiveControlChange(Screen); }},
        {"form", [] { Screen->OnActiveFormChange(Screen); }},
        {"minimize", [] { Application->OnMinimize(Application); }},
        {"restore", [] { Application->OnRestore(Application); }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.event);
        log.clear();
        row.fire();
        EXPECT_EQ(log, (std::vector<std::string>{std::string("A ") + row.event, std::string("app ") + row.event}));
    }
    delete a;
}

// Answers the application's message box so that the test goes on.
class BoxAnswer {
public:
    explicit BoxAnswer(const std::string& caption)
    {
        caption_ = caption;
        text_.clear();
        id_ = SetTimer(nullptr, 0, 100, Fire);
    }
    ~BoxAnswer() { KillTimer(nullptr, id_); }
    static const std::string& Text() { return text_; }

private:
    static void CALLBACK Fire(HWND, UINT, UINT_PTR, DWORD)
    {
        HWND box = FindWindowA("#32770", caption_.c_str());
        if (!box)
            return;
        char text[256] = {};
        GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
        text_ = text;
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    }
    static inline std::string caption_;
    static inline std::string text_;
    UINT_PTR id_;
};

TEST_F(AppEvents, AnExceptionNobodyHandlesIsShownByTheApplication)
{
    // Components that do not listen to exceptions and no handler of the
    // application's own.
    auto* a = new TAppEvents(nullptr);
    auto* b = new TAppEvents(nullptr);
    const std::string title = "Zdarzenia " + std::to_string(GetCurrentProcessId());
    const std::string oldTitle = Application->Title();
    Application->SetTitle(title);
    {
        BoxAnswer answer(title);
        try {
            throw Exception("Nie udało się");
        } catch (...) {
            Application->HandleException(Application);
        }
        EXPECT_EQ(BoxAnswer::Text(), "Nie udało się.");
    }
    Application->SetTitle(oldTitle);
    delete b;
    delete a;
}

// A form holding a TAppEvents, read from its description.
class TAppEventsForm : public TForm {
public:
    explicit TAppEventsForm(TComponent* owner) : TForm(owner) {}
    TAppEvents* AppEvents1 = nullptr;
    std::vector<std::string> Heard;
    void AppEvents1Activate(TObject*) { Heard.push_back("activate"); }

    const TClassInfo* ClassInfo() const override { return &StaticClass(); }
    static const TClassInfo& StaticClass()
    {
        static const TClassInfo info("TAppEventsForm", &TForm::StaticClass(), nullptr,
                                     {PublishComponent<&TAppEventsForm::AppEvents1, &TAppEventsForm::AppEvents1>(
                                         "AppEvents1")},
                                     {PublishHandler<&TAppEventsForm::AppEvents1Activate>("AppEvents1Activate")});
        return info;
    }
};

TEST_F(AppEvents, ReadingAFormWritesTheHintSettingsIntoTheApplication)
{
    const struct {
        const char* name;
        const char* properties;
        TColor color;
        int pause, shortPause, hidePause;
        bool showHint, showMainForm;
    } rows[] = {
        {"default settings", "", clInfoBk, 500, 50, 2500, true, true},
        {"settings of the form",
         "HintColor = clAqua\n HintPause = 800\n HintShortPause = 10\n HintHidePause = 6000\n ShowHint = False\n"
         " ShowMainForm = False\n",
         clAqua, 800, 10, 6000, false, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        // The application's values before the form.
        Application->SetHintColor(clRed);
        Application->SetHintPause(1234);
        Application->SetHintShortPause(77);
        Application->SetHintHidePause(9999);
        Application->SetShowHint(true);
        Application->ShowMainForm = true;
        Application->UpdateFormatSettings = false;
        Application->UpdateMetricSettings = false;

        auto* form = new TAppEventsForm(Application);
        ReadFormText(form, std::string("object fZdarzenia: TAppEventsForm\n"
                                       " object AppEvents1: TAppEvents\n ") +
                               row.properties + " OnActivate = AppEvents1Activate\n end\nend\n");
        ASSERT_NE(form->AppEvents1, nullptr);
        EXPECT_EQ(Application->HintColor(), row.color);
        EXPECT_EQ(Application->HintPause(), row.pause);
        EXPECT_EQ(Application->HintShortPause(), row.shortPause);
        EXPECT_EQ(Application->HintHidePause(), row.hidePause);
        EXPECT_EQ(Application->ShowHint(), row.showHint);
        EXPECT_EQ(Application->ShowMainForm, row.showMainForm);
        EXPECT_TRUE(Application->UpdateFormatSettings);
        EXPECT_TRUE(Application->UpdateMetricSettings);
        // The published values are the application's.
        EXPECT_EQ(GetOrdProp(form->AppEvents1, FindPropInfo(form->AppEvents1, "HintPause")), row.pause);

        SendMessageA(Application->Handle(), WM_ACTIVATEAPP, TRUE, 0);
        EXPECT_EQ(form->Heard, std::vector<std::string>{"activate"});

        // The settings stay when the form goes.
        form->Free();
        EXPECT_EQ(Application->HintPause(), row.pause);
    }
    Application->SetShowHint(true);
    Application->ShowMainForm = true;
}

TEST_F(AppEvents, AComponentMadeInCodeChangesTheApplicationOnlyWhenSet)
{
    Application->SetHintPause(1234);
    Application->SetHintHidePause(4321);
    auto* a = new TAppEvents(nullptr);
    EXPECT_EQ(Application->HintPause(), 1234);
    EXPECT_EQ(a->HintPause(), 1234);
    a->SetHintHidePause(3000);
    EXPECT_EQ(Application->HintHidePause(), 3000);
    EXPECT_EQ(Application->HintPause(), 1234);
    // The getter follows the application, whoever changed it.
    Application->SetHintHidePause(3500);
    EXPECT_EQ(a->HintHidePause(), 3500);
    delete a;
    Application->SetHintPause(500);
    Application->SetHintHidePause(2500);
}

TEST_F(AppEvents, SettingsChangesReachTheComponentsAndTheirErrorsTheApplication)
{
    std::vector<std::string> log;
    Listener app{"app", &log};
    Application->OnException = TExceptionEvent(&app, &Listener::Failed);
    struct Settings {
        std::vector<std::string>* log;
        void Changed(TObject*) { log->push_back("settings"); }
        void Fails(TObject*)
        {
            log->push_back("settings and fail");
            throw Exception("ustawienia");
        }
    } settings{&log};
    auto* a = new TAppEvents(nullptr);
    auto* b = new TAppEvents(nullptr);
    a->OnSettingsChanged = TNotifyEvent(&settings, &Settings::Changed);
    b->OnSettingsChanged = TNotifyEvent(&settings, &Settings::Fails);
    SendMessageA(Application->Handle(), WM_WININICHANGE, 0, 0);
    // Each component's hook sees the message; the failure goes to the
    // exception handling (through the list, to the application's own handler)
    // and the message goes on.
    EXPECT_EQ(log, (std::vector<std::string>{"settings", "settings and fail", "app exception ustawienia"}));
    delete b;
    delete a;
}

TEST_F(AppEvents, TheMinimisedApplicationsIconIsPaintedThroughOnPaintIcon)
{
    struct Painter {
        int paints = 0;
        bool hadCanvas = false;
        TAppEvents* events = nullptr;
        void Paint(TObject*)
        {
            ++paints;
            hadCanvas = events->Canvas()->HandleAllocated();
        }
    } painter;
    auto* a = new TAppEvents(nullptr);
    painter.events = a;
    TMessage paint;
    paint.Msg = WM_PAINT;
    // Not minimised, or no handler: the window paints itself.
    a->OnPaintIcon = TNotifyEvent(&painter, &Painter::Paint);
    EXPECT_FALSE(a->MainWindowHook(paint));
    EXPECT_EQ(painter.paints, 0);

    Application->Minimize();
    SendMessageA(Application->Handle(), WM_PAINT, 0, 0);
    Application->Restore();
    EXPECT_EQ(painter.paints, 1);
    EXPECT_TRUE(painter.hadCanvas);
    EXPECT_FALSE(a->Canvas()->HandleAllocated());  // made anew, without the paint context
    delete a;
}

} // namespace
