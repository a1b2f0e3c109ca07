// Contracts of forms and the application: modal results, dialog keys, focus,
// forms read from their resources, a form captured to PNG, and (in a child
// process) Halt and a form found from another process.
#include <gtest/gtest.h>

#include <functional>

#include "TestControls.h"
#include "classlib/PngWriter.h"
#include "tests/support/TestUtil.h"

namespace {

// Ends a modal loop that nothing else ended, so that a broken test fails
// instead of hanging.
class Watchdog {
public:
    Watchdog(TCustomForm* form, unsigned ms)
    {
        form_ = form;
        id_ = SetTimer(nullptr, 0, ms, Fire);
    }
    ~Watchdog()
    {
        KillTimer(nullptr, id_);
        form_ = nullptr;
    }

private:
    static void CALLBACK Fire(HWND, UINT, UINT_PTR, DWORD)
    {
        if (form_)
            form_->SetModalResult(mrAbort);
    }
    static inline TCustomForm* form_ = nullptr;
    UINT_PTR id_;
};

// Runs f from the message loop after ms milliseconds (inside a modal loop,
// say).
class Later {
public:
    Later(unsigned ms, std::function<void()> f)
    {
        f_ = std::move(f);
        id_ = SetTimer(nullptr, 0, ms, Fire);
    }
    ~Later()
    {
        KillTimer(nullptr, id_);
        f_ = nullptr;
    }

private:
    static void CALLBACK Fire(HWND, UINT, UINT_PTR id, DWORD)
    {
        KillTimer(nullptr, id);
        if (f_) {
            auto f = std::move(f_);
            f_ = nullptr;
            f();
        }
    }
    static inline std::function<void()> f_;
    UINT_PTR id_;
};

// A dialog: a panel that takes the focus, OK (default, mrOk) and Anuluj
// (cancel, mrCancel), in that tab order.
struct Dialog {
    TForm* form;
    TTestPanel* field;
    TTestButton* ok;
    TTestButton* cancel;

    Dialog()
    {
        form = new TForm(Application);
        form->SetBounds(150, 150, 300, 150);
        form->SetBorderStyle(bsDialog);
        field = new TTestPanel(form);
        field->SetName("pPole");
        field->SetTabStop(true);
        field->SetParent(form);
        ok = new TTestButton(form);
        ok->SetName("bOK");
        ok->SetCaption("&OK");
        ok->SetBounds(100, 80, 75, 25);
        ok->Default = true;
        ok->ModalResult = mrOk;
        ok->SetParent(form);
        cancel = new TTestButton(form);
        cancel->SetName("bAnuluj");
        cancel->SetCaption("&Anuluj");
        cancel->SetBounds(190, 80, 75, 25);
        cancel->Cancel = true;
        cancel->ModalResult = mrCancel;
        cancel->SetParent(form);
        form->InitForm();
        form->HandleNeeded();
    }
    ~Dialog() { form->Free(); }
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;
};

class Forms : public testing::Test {
protected:
    void SetUp() override
    {
        EnsureApplication();
        Heard.clear();
    }
};

TEST_F(Forms, AControlsModalResultClosesTheModalForm)
{
    Dialog d;
    Watchdog dog(d.form, 10000);
    PostMessageA(d.ok->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(d.form->ShowModal(), mrOk);
    EXPECT_FALSE(d.form->Visible());
    EXPECT_FALSE(IsWindowVisible(d.form->Handle()));
    EXPECT_FALSE(d.form->IsModal());
    // Shown again, another button, another result.
    PostMessageA(d.cancel->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(d.form->ShowModal(), mrCancel);
}

TEST_F(Forms, CloseAndCloseQueryDecideHowAModalFormEnds)
{
    Dialog d;
    struct Judge {
        int queries = 0;
        std::vector<TCloseAction> closes;
        void Query(TObject*, bool& canClose) { canClose = ++queries > 1; }
        void Close(TObject*, TCloseAction& action) { closes.push_back(action); }
    } judge;
    d.form->OnCloseQuery = TCloseQueryEvent(&judge, &Judge::Query);
    d.form->OnClose = TCloseEvent(&judge, &Judge::Close);
    Watchdog dog(d.form, 10000);
    // The first click is refused by the close query, the second goes through.
    PostMessageA(d.ok->Handle(), BM_CLICK, 0, 0);
    PostMessageA(d.ok->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(d.form->ShowModal(), mrOk);
    EXPECT_EQ(judge.queries, 2);
    EXPECT_EQ(judge.closes, std::vector<TCloseAction>{caHide});

    // The close box: Close gives mrCancel.
    PostMessageA(d.form->Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(d.form->ShowModal(), mrCancel);
    EXPECT_EQ(judge.queries, 3);

    // Closing a form that is not modal hides it (the main form would end the program).
    d.form->Show();
    d.form->Close();
    EXPECT_FALSE(d.form->Visible());
    EXPECT_EQ(judge.queries, 4);
    EXPECT_THROW(
        {
            d.form->Show();
            d.form->ShowModal();
        },
        EInvalidOperation);
    d.form->Hide();
}

TEST_F(Forms, NestedModalFormsDisableTheOthersAndGiveTheirOwnResults)
{
    TForm* other = new TForm(Application);  // an ordinary window of the program
    other->SetBounds(10, 10, 100, 80);
    other->InitForm();
    other->Show();
    Dialog outer;
    Dialog inner;
    inner.form->SetBounds(200, 200, 300, 150);
    struct Opener {
        Dialog* outer;
        Dialog* inner;
        TForm* other;
        std::vector<std::string> seen;
        void InnerShow(TObject*)
        {
            seen.push_back(std::string("outer ") + (IsWindowEnabled(outer->form->Handle()) ? "enabled" : "disabled"));
            seen.push_back(std::string("other ") + (IsWindowEnabled(other->Handle()) ? "enabled" : "disabled"));
        }
        void Open(TObject*)
        {
            PostMessageA(inner->ok->Handle(), BM_CLICK, 0, 0);
            seen.push_back("inner " + std::to_string(inner->form->ShowModal()));
            seen.push_back(std::string("outer ") + (IsWindowEnabled(outer->form->Handle()) ? "enabled" : "disabled"));
            outer->form->SetModalResult(mrYes);
        }
    } opener{&outer, &inner, other, {}};
    inner.form->OnShow = TNotifyEvent(&opener, &Opener::InnerShow);
    outer.field->OnClick = TNotifyEvent(&opener, &Opener::Open);
    Watchdog dog(outer.form, 10000);
    PostMessageA(outer.field->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    PostMessageA(outer.field->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    EXPECT_EQ(outer.form->ShowModal(), mrYes);
    const std::vector<std::string> expected{"outer disabled", "other disabled", "inner 1", "outer enabled"};
    EXPECT_EQ(opener.seen, expected);
    EXPECT_TRUE(IsWindowEnabled(other->Handle()));
    other->Free();
}

struct KeyRow {
    const char* name;
    int focus;  // 0 the panel, 1 OK, 2 Anuluj
    UINT message;
    WPARAM key;
    TModalResult expected;
};

TEST_F(Forms, EnterGoesToTheDefaultButtonAndEscapeToTheCancelButton)
{
    const KeyRow rows[] = {
        {"Enter on a control that does not want it", 0, WM_KEYDOWN, VK_RETURN, mrOk},
        {"Escape on a control that does not want it", 0, WM_KEYDOWN, VK_ESCAPE, mrCancel},
        {"Enter on the focused cancel button clicks that button", 2, WM_KEYDOWN, VK_RETURN, mrCancel},
        {"Escape on the default button", 1, WM_KEYDOWN, VK_ESCAPE, mrCancel},
        {"an accelerator character", 0, WM_CHAR, 'a', mrCancel},
    };
    for (const KeyRow& row : rows) {
        SCOPED_TRACE(row.name);
        Dialog d;
        TWinControl* targets[] = {d.field, d.ok, d.cancel};
        TWinControl* target = targets[row.focus];
        // Once the form shows, the control takes the focus and the key comes.
        Later key(50, [&] {
            target->SetFocus();
            PostMessageA(target->Handle(), row.message, row.key, 1);
        });
        Watchdog dog(d.form, 10000);
        EXPECT_EQ(d.form->ShowModal(), row.expected);
        EXPECT_EQ(Screen->ActiveControl(), target);
    }
}

TEST_F(Forms, TabMovesTheFocusAndEnterAndExitFollowIt)
{
    Dialog d;
    std::vector<std::string> log;
    struct Recorder {
        std::vector<std::string>* log;
        void Enter(TObject* s) { log->push_back("enter " + dynamic_cast<TComponent*>(s)->Name()); }
        void Exit(TObject* s) { log->push_back("exit " + dynamic_cast<TComponent*>(s)->Name()); }
    } rec{&log};
    for (TWinControl* c : {static_cast<TWinControl*>(d.field), static_cast<TWinControl*>(d.ok),
                           static_cast<TWinControl*>(d.cancel)}) {
        c->OnEnter = TNotifyEvent(&rec, &Recorder::Enter);
        c->OnExit = TNotifyEvent(&rec, &Recorder::Exit);
    }
    // The form's own record of the focus: another program's window may take
    // the system's focus away meanwhile (the tests run side by side).
    d.form->Show();
    d.field->SetFocus();
    EXPECT_EQ(d.form->ActiveControl(), d.field);
    PostMessageA(d.field->Handle(), WM_KEYDOWN, VK_TAB, 1);
    PumpMessages(100);
    EXPECT_EQ(d.form->ActiveControl(), d.ok);
    EXPECT_EQ(Screen->ActiveControl(), d.ok);
    d.cancel->SetTabOrder(0);
    PostMessageA(d.ok->Handle(), WM_KEYDOWN, VK_TAB, 1);  // wraps round to the first
    PumpMessages(100);
    EXPECT_EQ(d.form->ActiveControl(), d.cancel);
    const std::vector<std::string> expected{"enter pPole", "exit pPole", "enter bOK", "exit bOK", "enter bAnuluj"};
    EXPECT_EQ(log, expected);
    d.form->Hide();
}

TEST_F(Forms, AFormIsReadFromItsResourceAndCapturedToPng)
{
    TWinTestForm* form = nullptr;
    Application->CreateForm(form);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->Events, std::vector<std::string>{"create &OK"});
    EXPECT_EQ(form->Caption(), "Okno próbne");
    EXPECT_EQ(form->ClientWidth(), 200);
    EXPECT_EQ(form->ClientHeight(), 120);
    ASSERT_NE(form->pGora, nullptr);
    EXPECT_EQ(form->pGora->Parent(), form);
    EXPECT_EQ(form->Box1->Parent(), form->pGora);
    EXPECT_EQ(form->pGora->Width(), 200);  // aligned to the top once loaded
    EXPECT_EQ(form->bOK->Owner(), form);
    EXPECT_EQ(Screen->Forms(Screen->FormCount() - 1), form);
    // Drawn by its parent on the system's request, reflected as CN_DRAWITEM.
    auto* face = new TTestButton(form);
    face->OwnerDraw = true;
    face->FaceColor = clLime;
    face->SetBounds(10, 70, 60, 30);
    face->SetParent(form);
    form->SetFormStyle(fsStayOnTop);
    form->Show();
    form->Update();
    PumpMessages(300);
    EXPECT_GT(face->Draws, 0);

    auto picture = CaptureWindow(form->Handle());
    ASSERT_EQ(picture->Width(), 200);  // no border: the window is the client area
    const std::string png = TestProgramFolder() + "classlib_windows_form.png";
    SaveBitmapToPng(picture.get(), png);  // for people to look at
    EXPECT_TRUE(FileExists(png));
    struct {
        const char* what;
        int x, y;
        TColor color;
    } const pixels[] = {
        {"the panel aligned to the top", 5, 5, clRed},
        {"the windowless box inside the panel", 160, 15, clYellow},
        {"the form's own colour", 100, 60, clWhite},
        {"the owner-drawn button", 30, 85, clLime},
    };
    for (const auto& p : pixels) {
        SCOPED_TRACE(p.what);
        EXPECT_EQ(picture->Canvas()->Pixels(p.x, p.y), p.color);
    }

    PostMessageA(form->bOK->Handle(), BM_CLICK, 0, 0);
    PumpMessages(100);
    EXPECT_EQ(form->Events.back(), "click");
    form->Free();
    EXPECT_EQ(Heard, std::vector<std::string>{"destroy fTest 4"});
}

TEST_F(Forms, CloseWithCaFreeFreesTheFormAfterTheMessage)
{
    TForm* form = new TForm(Application);
    form->SetName("fDoZwolnienia");
    struct Closer {
        void Close(TObject*, TCloseAction& action) { action = caFree; }
        void Destroy(TObject* sender) { Heard.push_back("destroy " + dynamic_cast<TComponent*>(sender)->Name()); }
    } closer;
    form->OnClose = TCloseEvent(&closer, &Closer::Close);
    form->OnDestroy = TNotifyEvent(&closer, &Closer::Destroy);
    const int count = Screen->FormCount();
    form->Close();
    EXPECT_TRUE(Heard.empty());  // still there while its own message runs
    PumpMessages(50);
    EXPECT_EQ(Heard, std::vector<std::string>{"destroy fDoZwolnienia"});
    EXPECT_EQ(Screen->FormCount(), count - 1);
}

TEST_F(Forms, ScreenCursorsByNumber)
{
    EXPECT_EQ(Screen->Cursors(crHourGlass), LoadCursorA(nullptr, IDC_WAIT));
    EXPECT_EQ(Screen->Cursors(crDefault), LoadCursorA(nullptr, IDC_ARROW));
    EXPECT_EQ(Screen->Cursors(111), Screen->Cursors(crDefault));  // none loaded there yet
    HCURSOR hand = LoadCursorA(nullptr, IDC_HAND);
    Screen->SetCursors(111, hand);
    EXPECT_EQ(Screen->Cursors(111), hand);
    Screen->SetCursors(111, nullptr);
    EXPECT_EQ(Screen->Cursors(111), Screen->Cursors(crDefault));

    // Cursors named for later are loaded when first asked for; one that
    // cannot be loaded gives the default, and a cursor set outright wins
    // over one named before.
    const struct {
        const char* what;
        LPCSTR name;
        HCURSOR set;  // set outright after naming, unless nullptr
        HCURSOR expected;
    } named[] = {
        {"a system cursor", IDC_CROSS, nullptr, LoadCursorA(nullptr, IDC_CROSS)},
        {"a cursor the module lacks", "BRAK_KURSORA", nullptr, Screen->Cursors(crDefault)},
        {"set after naming", IDC_CROSS, hand, hand},
    };
    for (const auto& n : named) {
        SCOPED_TRACE(n.what);
        Screen->SetCursors(112, LoadCursorA(nullptr, IDC_SIZEALL));
        Screen->SetCursorResource(112, IS_INTRESOURCE(n.name) ? nullptr : GetModuleHandleA(nullptr), n.name);
        if (n.set)
            Screen->SetCursors(112, n.set);
        EXPECT_EQ(Screen->Cursors(112), n.expected);
        EXPECT_EQ(Screen->Cursors(112), n.expected);
    }
    Screen->SetCursors(112, nullptr);

    // The hourglass stands for the whole program while it is set.
    TForm* form = new TForm(Application);
    form->HandleNeeded();
    Screen->SetCursor(crHourGlass);
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_WAIT));
    ::SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    SendMessageA(form->Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(form->Handle()),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_WAIT));
    Screen->SetCursor(crDefault);
    EXPECT_EQ(Screen->Cursor(), crDefault);
    form->Free();
}

TEST_F(Forms, HintsAskTheControlAndTheApplication)
{
    TForm* form = new TForm(Application);
    form->SetBounds(60, 60, 200, 100);
    auto* box = new TTestBox(form);
    box->SetName("Box1");
    box->SetBounds(10, 10, 40, 30);
    box->SetHint("Krótko|Dłuższa podpowiedź na pasku");
    box->SetShowHint(true);
    box->SetParent(form);
    struct Watcher {
        std::vector<std::string> seen;
        void Hint(TObject*) { seen.push_back("hint " + Application->Hint()); }
        void ShowHint(std::string& text, bool& canShow, THintInfo& info)
        {
            seen.push_back("show " + text + " " + std::to_string(canShow) + " " +
                           dynamic_cast<TComponent*>(info.HintControl)->Name());
            text += "!";
            info.HintColor = clAqua;
        }
    } watcher;
    Application->OnHint = TNotifyEvent(&watcher, &Watcher::Hint);
    Application->OnShowHint = TShowHintEvent(&watcher, &Watcher::ShowHint);
    form->Show();
    SendMessageA(form->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(20, 20));
    EXPECT_EQ(Application->MouseControl(), box);
    EXPECT_EQ(Application->Hint(), "Dłuższa podpowiedź na pasku");
    Application->ActivateHint(box->ClientToScreen(Point(5, 5)));
    const std::vector<std::string> expected{"hint Dłuższa podpowiedź na pasku", "show Krótko 1 Box1"};
    EXPECT_EQ(watcher.seen, expected);
    THintWindow* hint = Application->HintWindow();
    ASSERT_TRUE(hint->HandleAllocated());
    EXPECT_TRUE(IsWindowVisible(hint->Handle()));
    EXPECT_EQ(hint->Caption(), "Krótko!");
    EXPECT_EQ(hint->Color(), clAqua);
    Application->CancelHint();
    EXPECT_FALSE(IsWindowVisible(hint->Handle()));
    Application->OnHint.Clear();
    Application->OnShowHint.Clear();
    form->Free();
}

// The helper program beside the tests.
std::string Child()
{
    return TestProgramFolder() + "classlib_windows_child.exe";
}

TEST(FormsProcess, HaltRunsTheUnitsShutdownsInReverseOrderAndIsNoException)
{
    const struct {
        const char* where;
        int exitCode;
        const char* log;
    } rows[] = {
        {"main", 7, "abcCBA"},
        // A unit that halts in its own start-up is shut down too.
        {"startup", 3, "abcdDCBA"},
    };
    TempFolder temp;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.where);
        const std::string log = temp.Path() + row.where + ".txt";
        EXPECT_EQ(RunProgram("\"" + Child() + "\" halt \"" + log + "\" " + row.where), row.exitCode);
        EXPECT_EQ(ReadWholeFile(log), row.log);
    }
}

TEST(FormsProcess, AFormOfAnotherProgramIsFoundByItsNameAndClosingItEndsTheProgram)
{
    TempFolder temp;
    const std::string log = temp.Path() + "form.txt";
    const std::string name = "fZewnetrzny" + std::to_string(GetCurrentProcessId());
    std::string line = "\"" + Child() + "\" form \"" + log + "\" " + name;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    // A test that fails on the way leaves no program behind to hold the run.
    struct TChild {
        PROCESS_INFORMATION& pi;
        ~TChild()
        {
            if (WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT)
                TerminateProcess(pi.hProcess, 1);
            CloseHandle(pi.hThread);
            CloseHandle(pi.hProcess);
        }
    } child{pi};
    // The form is named once it is made; its panel's window may come only
    // when the form shows.
    HWND form = nullptr;
    HWND panel = nullptr;
    WaitUntil([&] {
        form = FindComponentWindow(nullptr, name);
        panel = form ? FindComponentWindow(form, "pSrodek") : nullptr;
        return panel != nullptr;
    });
    ASSERT_NE(form, nullptr);
    DWORD pid = 0;
    GetWindowThreadProcessId(form, &pid);
    EXPECT_EQ(pid, pi.dwProcessId);
    EXPECT_EQ(FindControl(form), nullptr);  // not one of this program's controls
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(IsChild(form, panel));
    char title[64] = {};
    GetWindowTextA(form, title, sizeof title);
    EXPECT_STREQ(title, "Główne okno");

    PostMessageA(form, WM_CLOSE, 0, 0);
    DWORD code = 99;
    EXPECT_EQ(WaitForSingleObject(pi.hProcess, 20000), WAIT_OBJECT_0);
    GetExitCodeProcess(pi.hProcess, &code);
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(ReadWholeFile(log), "run ended; destroyed");
}

} // namespace
