// Contracts of the message dialogs: Polish captions and component names of
// every button, the default and cancel buttons of each set, the result of
// the button pressed and of Enter and Escape (No together with Abort
// included), the help button, the answering hook, and a picture.
#include <gtest/gtest.h>

#include <cstring>

#include "StdTestSupport.h"
#include "classlib/Dialogs.h"
#include "classlib/ExtCtrls.h"
#include "classlib/PngWriter.h"
#include "classlib/StdCtrls.h"
#include "tests/support/TestUtil.h"

namespace {

class Dialogs : public testing::Test {
protected:
    void SetUp() override { EnsureApplication(); }
    void TearDown() override
    {
        MessageDlgHook.Clear();
        Application->OnHelp.Clear();
    }
};

BOOL CALLBACK FindShownDialog(HWND wnd, LPARAM param)
{
    char name[64] = {};
    GetClassNameA(wnd, name, sizeof name);
    if (std::strcmp(name, "TMessageForm") == 0 && IsWindowVisible(wnd)) {
        *reinterpret_cast<HWND*>(param) = wnd;
        return FALSE;
    }
    return TRUE;
}

// The message dialog this thread shows, as a driver finds it: by its window
// class.
HWND ShownDialog()
{
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindShownDialog, reinterpret_cast<LPARAM>(&found));
    return found;
}

// Presses a dialog's button by its component name.
void Press(const char* name)
{
    HWND dialog = ShownDialog();
    ASSERT_NE(dialog, nullptr);
    HWND button = FindComponentWindow(dialog, name);
    ASSERT_NE(button, nullptr) << name;
    PostMessageA(button, BM_CLICK, 0, 0);
}

// Closes a dialog that nobody answered, so that a broken test fails instead
// of hanging.
class DialogWatchdog {
public:
    DialogWatchdog() { id_ = SetTimer(nullptr, 0, 10000, Fire); }
    ~DialogWatchdog() { KillTimer(nullptr, id_); }
    DialogWatchdog(const DialogWatchdog&) = delete;
    DialogWatchdog& operator=(const DialogWatchdog&) = delete;

private:
    static void CALLBACK Fire(HWND, UINT, UINT_PTR, DWORD)
    {
        if (HWND dialog = ShownDialog())
            PostMessageA(dialog, WM_CLOSE, 0, 0);
    }
    UINT_PTR id_;
};

struct ExpectedButton {
    const char* name;
    const char* caption;
    TModalResult result;
    bool isDefault;
    bool isCancel;
};

struct SetRow {
    const char* name;
    TMsgDlgType type;
    TMsgDlgButtons buttons;
    std::string caption;
    std::vector<ExpectedButton> expected;  // left to right
};

TEST_F(Dialogs, EachButtonSetHasPolishCaptionsNamesAndItsDefaultAndCancelButtons)
{
    Application->SetTitle("Tarvix 99");
    const SetRow rows[] = {
        {"No and Abort, as the installer asks",
         mtWarning,
         {mbNo, mbAbort},
         "Ostrzeżenie",
         {{"No", "&Nie", mrNo, true, true}, {"Abort", "&Przerwij", mrAbort, false, false}}},
        {"Yes and No",
         mtWarning,
         {mbYes, mbNo},
         "Ostrzeżenie",
         {{"Yes", "&Tak", mrYes, true, false}, {"No", "&Nie", mrNo, false, true}}},
        {"OK and Cancel",
         mtConfirmation,
         mbOKCancel,
         "Potwierdź",
         {{"OK", "OK", mrOk, true, false}, {"Cancel", "Anuluj", mrCancel, false, true}}},
        {"Abort, Retry and Ignore: no button for Escape",
         mtError,
         mbAbortRetryIgnore,
         "Błąd",
         {{"Abort", "&Przerwij", mrAbort, true, false},
          {"Retry", "Powtó&rz", mrRetry, false, false},
          {"Ignore", "&Ignoruj", mrIgnore, false, false}}},
        {"OK, All and Help",
         mtInformation,
         {mbHelp, mbAll, mbOK},
         "Informacja",
         {{"OK", "OK", mrOk, true, true},
          {"All", "&Wszystkie", mrAll, false, false},
          {"Help", "Pomo&c", mrNone, false, false}}},
        {"no buttons: OK; a custom dialog takes the title", mtCustom, {}, "Tarvix 99", {{"OK", "OK", mrOk, true, true}}},
    };
    for (const SetRow& row : rows) {
        SCOPED_TRACE(row.name);
        TForm* dialog = CreateMessageDialog("Czy chcesz przerwać instalowanie?", row.type, row.buttons);
        EXPECT_EQ(dialog->Caption(), row.caption);
        EXPECT_EQ(dialog->ClassName(), "TMessageForm");
        auto* message = dynamic_cast<TLabel*>(dialog->FindComponent("Message"));
        ASSERT_NE(message, nullptr);
        EXPECT_EQ(message->Caption(), "Czy chcesz przerwać instalowanie?");
        EXPECT_EQ(dialog->FindComponent("Image") != nullptr, row.type != mtCustom);
        int buttons = 0;
        int left = -1;
        for (int i = 0; i < dialog->ComponentCount(); ++i)
            buttons += dynamic_cast<TButton*>(dialog->Components(i)) != nullptr;
        EXPECT_EQ(buttons, static_cast<int>(row.expected.size()));
        for (const ExpectedButton& e : row.expected) {
            SCOPED_TRACE(e.name);
            auto* button = dynamic_cast<TButton*>(dialog->FindComponent(e.name));
            ASSERT_NE(button, nullptr);
            EXPECT_EQ(button->Caption(), e.caption);
            EXPECT_EQ(button->ModalResult(), e.result);
            EXPECT_EQ(button->Default(), e.isDefault);
            EXPECT_EQ(button->Cancel(), e.isCancel);
            EXPECT_GT(button->Left(), left);
            left = button->Left();
            EXPECT_LE(button->Left() + button->Width(), dialog->ClientWidth());
            EXPECT_LE(button->Top() + button->Height(), dialog->ClientHeight());
            if (e.isDefault) {
                EXPECT_EQ(dialog->ActiveControl(), button);
            }
        }
        dialog->Free();
    }
}

struct AnswerRow {
    const char* name;
    TMsgDlgButtons buttons;
    const char* press;  // a button's name, or nullptr for a key
    WPARAM key;
    int expected;
};

int Answer(const AnswerRow& row)
{
    Later answer(50, [&] {
        if (row.press) {
            Press(row.press);
            return;
        }
        HWND dialog = ShownDialog();
        HWND focus = GetFocus();
        PostMessageA(focus && IsChild(dialog, focus) ? focus : dialog, WM_KEYDOWN, row.key, 1);
    });
    DialogWatchdog dog;
    return MessageDlg("Czy chcesz przerwać instalowanie?", mtWarning, row.buttons, 0);
}

TEST_F(Dialogs, TheResultIsThatOfTheButtonPressed)
{
    const AnswerRow rows[] = {
        {"Abort of No and Abort", {mbNo, mbAbort}, "Abort", 0, mrAbort},
        {"No of No and Abort", {mbNo, mbAbort}, "No", 0, mrNo},
        {"Yes of Yes and No", {mbYes, mbNo}, "Yes", 0, mrYes},
    };
    for (const AnswerRow& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(Answer(row), row.expected);
        EXPECT_EQ(ShownDialog(), nullptr);
    }
}

TEST_F(Dialogs, EscapeAnswersCancelElseNoElseOkAndEnterTheDefaultButton)
{
    const AnswerRow rows[] = {
        {"Escape with Yes and No", {mbYes, mbNo}, nullptr, VK_ESCAPE, mrNo},
        {"Escape with No and Abort never aborts", {mbNo, mbAbort}, nullptr, VK_ESCAPE, mrNo},
        {"Enter with No and Abort", {mbNo, mbAbort}, nullptr, VK_RETURN, mrNo},
        {"Escape with OK and Cancel", mbOKCancel, nullptr, VK_ESCAPE, mrCancel},
        {"Escape with no button to answer it", mbAbortRetryIgnore, nullptr, VK_ESCAPE, mrCancel},
    };
    for (const AnswerRow& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(Answer(row), row.expected);
    }
}

TEST_F(Dialogs, TheHelpButtonShowsTheTopicAndLeavesTheDialogOpen)
{
    struct Helper {
        std::vector<std::string> asked;
        void Help(WORD command, LONG_PTR data, bool& callHelp, bool& result)
        {
            asked.push_back(std::to_string(command) + " " + std::to_string(data));
            callHelp = false;
            result = true;
        }
    } helper;
    Application->OnHelp = THelpEvent(&helper, &Helper::Help);
    Later answer(50, [] {
        Press("Help");
        Press("OK");
    });
    DialogWatchdog dog;
    EXPECT_EQ(MessageDlg("Pomoc jest pod ręką.", mtInformation, {mbOK, mbHelp}, 42), mrOk);
    EXPECT_EQ(helper.asked, std::vector<std::string>{std::to_string(HELP_CONTEXT) + " 42"});
}

TEST_F(Dialogs, AHookAnswersInsteadOfTheUser)
{
    struct Answerer {
        std::vector<TMsgDlgRequest> asked;
        int answer = mrNone;
        void Answer(const TMsgDlgRequest& request, int& result)
        {
            asked.push_back(request);
            result = answer;
        }
    } answerer;
    answerer.answer = mrYes;
    MessageDlgHook = TMessageDlgHook(&answerer, &Answerer::Answer);
    const int forms = Screen->FormCount();
    EXPECT_EQ(MessageDlg("Uruchomić kolejną kopię?", mtWarning, {mbYes, mbNo}, 7), mrYes);
    EXPECT_EQ(Screen->FormCount(), forms);  // nothing was made
    ASSERT_EQ(answerer.asked.size(), 1u);
    const TMsgDlgRequest& r = answerer.asked[0];
    EXPECT_EQ(r.Caption, "Ostrzeżenie");
    EXPECT_EQ(r.Text, "Uruchomić kolejną kopię?");
    EXPECT_EQ(r.DlgType, mtWarning);
    EXPECT_EQ(r.Buttons, (TMsgDlgButtons{mbYes, mbNo}));
    EXPECT_EQ(r.HelpContext, 7);

    // Left unanswered, the dialog shows; here it is saved as a picture.
    answerer.answer = mrNone;
    TempFolder folder;
    std::string png;
    TColor face = clNone;
    Later look(100, [&] {
        HWND dialog = ShownDialog();
        ASSERT_NE(dialog, nullptr);
        auto* form = dynamic_cast<TForm*>(FindControl(dialog));
        ASSERT_NE(form, nullptr);
        form->Update();
        auto picture = CaptureWindow(dialog);
        png = SavePicture(*picture, folder.Path(), "classlib_stdctrls_message.png");
        // A pixel of the client area beside the buttons.
        const TPoint corner = form->ClientToScreen(Point(2, form->ClientHeight() - 2));
        RECT frame;
        GetWindowRect(dialog, &frame);
        face = picture->Canvas()->Pixels(corner.x - frame.left, corner.y - frame.top);
        Press("Abort");
    });
    DialogWatchdog dog;
    EXPECT_EQ(MessageDlg("Czy chcesz przerwać instalowanie?", mtWarning, {mbNo, mbAbort}, 0), mrAbort);
    EXPECT_EQ(answerer.asked.size(), 2u);
    EXPECT_EQ(ReadWholeFile(png).substr(0, 4), std::string("\x89PNG", 4));
    EXPECT_EQ(ColorToRGB(face), ColorToRGB(clBtnFace));
}

} // namespace
