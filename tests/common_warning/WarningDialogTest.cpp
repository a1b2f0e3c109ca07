// The warning dialog: its log line, its countdown, and the ways it closes.
// Dialogs shown modally are driven from a thread timer that runs inside the
// dialog's own message loop.
#include <windows.h>

#include <cstdlib>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "classlib/ComCtrls.h"
#include "classlib/ExtCtrls.h"
#include "classlib/Forms.h"
#include "classlib/StdCtrls.h"
#include "common/AppEvent.h"
#include "common/QmxUtil.h"
#include "common/Upunkt.h"
#include "common/qmxWarningDialog.h"
#include "common/qmxcolorbutton.h"
#include "tests/support/TestUtil.h"

namespace {

const char* const kTitle = "Próba ostrzeżeń";

void StartUnits()
{
    static bool started = false;
    if (started)
        return;
    started = true;
    InitFormsUnit();
    qmxcolorbuttonStartup();
    InitializeUpunkt();
    InitializeAppEvent();
    Application->SetTitle(kTitle);
}

std::string LogPath()
{
    return GetProgramFolder() + "raport.txt";
}

// The last line of the log, without its date and time, and that stamp.
struct LogLine {
    std::string Stamp;
    std::string Text;
};

LogLine LastLogLine()
{
    std::string all = ReadWholeFile(LogPath());
    LogLine line;
    if (all.size() < 2 || all.compare(all.size() - 2, 2, "\r\n") != 0)
        return line;
    all.erase(all.size() - 2);
    const auto start = all.rfind("\r\n");
    std::string last = start == std::string::npos ? all : all.substr(start + 2);
    line.Stamp = last.substr(0, 22);
    line.Text = last.size() > 22 ? last.substr(22) : std::string();
    return line;
}

// "dd-mm-yyyy hh:mm:ss - "
bool IsStamp(const std::string& s)
{
    const std::string shape = "00-00-0000 00:00:00 - ";
    if (s.size() != shape.size())
        return false;
    for (size_t i = 0; i < s.size(); ++i)
        if (shape[i] == '0' ? !(s[i] >= '0' && s[i] <= '9') : s[i] != shape[i])
            return false;
    return true;
}

// A text no earlier run has logged.
std::string Unique(const std::string& text)
{
    return text + " " + std::to_string(GetTickCount()) + "." + std::to_string(GetCurrentProcessId());
}

TeQmxWarningDialog* FindDialog()
{
    for (int i = 0; i < Screen->FormCount(); ++i)
        if (auto* d = dynamic_cast<TeQmxWarningDialog*>(Screen->Forms(i)))
            return d;
    return nullptr;
}

// Calls Step every 50 ms, inside whatever message loop runs, with the
// shown dialog (nullptr while there is none) and the milliseconds since
// start, until Step says it is done.
class Driver {
public:
    using TStep = std::function<bool(TeQmxWarningDialog* dialog, DWORD elapsed)>;
    explicit Driver(TStep step) : step_(std::move(step)), start_(GetTickCount())
    {
        current_ = this;
        id_ = SetTimer(nullptr, 0, 50, &Driver::Tick);
    }
    ~Driver()
    {
        if (id_)
            KillTimer(nullptr, id_);
        current_ = nullptr;
    }
    Driver(const Driver&) = delete;
    Driver& operator=(const Driver&) = delete;

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        Driver* self = current_;
        if (!self || !self->id_)
            return;
        TeQmxWarningDialog* dialog = FindDialog();
        bool done = true;
        try {
            done = self->step_(dialog && dialog->Visible() ? dialog : nullptr, GetTickCount() - self->start_);
        } catch (...) {
            ADD_FAILURE() << "the test's step raised";
        }
        if (done) {
            KillTimer(nullptr, self->id_);
            self->id_ = 0;
        }
    }

    static inline Driver* current_ = nullptr;
    TStep step_;
    DWORD start_;
    UINT_PTR id_ = 0;
};

// Pictures of the dialog go to a folder of their own, gone with the test.
void SavePicture(HWND wnd, const std::string& name)
{
    TempFolder folder;
    ::SavePicture(wnd, folder.Path(), name);
}

class WarningDialog : public testing::Test {
protected:
    void SetUp() override { StartUnits(); }
};

TEST_F(WarningDialog, ZeroSecondsOnlyLogsTheLine)
{
    struct Row {
        const char* caption;
        const char* description;
    };
    const Row rows[] = {
        {"Nagłówek", ""},  // the line ends in " | "
        {"", "Opis zdarzenia"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.caption) + " / " + row.description);
        const std::string message = Unique("Komunikat ąęś");
        const int forms = Screen->FormCount();
        EXPECT_EQ(ShowWarningDialog(row.caption, message, row.description, 0), 1);
        EXPECT_EQ(Screen->FormCount(), forms);
        const LogLine line = LastLogLine();
        EXPECT_TRUE(IsStamp(line.Stamp)) << line.Stamp;
        EXPECT_EQ(line.Text, std::string(kTitle) + ": " + row.caption + " | " + message + " | " + row.description);
    }
}

TEST_F(WarningDialog, AnUnwritableLogRaisesBeforeAnyDialog)
{
    // Another program holds the log without sharing.
    HANDLE held = CreateFileA(LogPath().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    bool shown = false;
    {
        Driver driver([&](TeQmxWarningDialog* dialog, DWORD) {
            if (dialog) {
                shown = true;
                dialog->SetModalResult(mrCancel);
            }
            return dialog != nullptr;
        });
        for (int seconds : {0, 30}) {
            SCOPED_TRACE(seconds);
            const int forms = Screen->FormCount();
            EXPECT_THROW(ShowWarningDialog("Nagłówek", "Komunikat", "", seconds), EInOutError);
            EXPECT_EQ(Screen->FormCount(), forms);
        }
    }
    CloseHandle(held);
    EXPECT_FALSE(shown);
}

TEST_F(WarningDialog, EachTickShowsTheCountdownByItsThresholds)
{
    struct Row {
        int limit;
        int tag;
        int percent;
        bool gauge, stop, light, blink;
        int seconds;  // in the time label
        bool closes;
    };
    const Row rows[] = {
        // 30 seconds: 150 ticks.
        {150, 0, 0, false, false, false, false, 31, false},
        {150, 45, 30, false, false, false, false, 22, false},
        {150, 46, 31, false, true, false, false, 21, false},
        {150, 53, 35, false, true, false, false, 20, false},
        {150, 54, 36, true, true, false, false, 20, false},
        {150, 75, 50, true, true, false, false, 16, false},
        {150, 76, 51, true, true, true, false, 15, false},
        {150, 105, 70, true, true, true, false, 10, false},
        {150, 106, 71, true, true, true, true, 9, false},
        {150, 150, 100, true, true, true, true, 1, false},
        {150, 151, 100, true, true, true, true, 1, true},  // the gauge stops at its end
        // An exact half rounds up, and so does a value just under it.
        {200, 61, 31, false, true, false, false, 28, false},   // 30.5
        {200, 71, 36, true, true, false, false, 26, false},    // 35.5
        {115, 34, 30, false, false, false, false, 17, false},  // 29.57
        {115, 35, 31, false, true, false, false, 17, false},   // 30.43
        // 1 second: 5 ticks; the seventh call (the one of FormShow and six
        // timer ticks) closes the dialog.
        {5, 0, 0, false, false, false, false, 2, false},
        {5, 1, 20, false, false, false, false, 1, false},
        {5, 2, 40, true, true, false, false, 1, false},
        {5, 3, 60, true, true, true, false, 1, false},
        {5, 4, 80, true, true, true, true, 1, false},
        {5, 5, 100, true, true, true, true, 1, false},
        {5, 6, 100, true, true, true, true, 1, true},
    };
    auto* dialog = TForm::Create<TeQmxWarningDialog>(Application);
    dialog->Timer1->SetEnabled(false);
    for (const Row& row : rows) {
        SCOPED_TRACE("limit " + std::to_string(row.limit) + ", tick " + std::to_string(row.tag));
        dialog->SetTickLimit(row.limit);
        dialog->Tag = row.tag;
        dialog->SetModalResult(mrNone);
        dialog->Timer1->OnTimer(dialog->Timer1);
        EXPECT_EQ(dialog->Tag, row.tag + 1);
        EXPECT_EQ(dialog->Gauge1->Position(), row.percent);
        EXPECT_EQ(dialog->Gauge1->Visible(), row.gauge);
        EXPECT_EQ(dialog->bStoj->Visible(), row.stop);
        EXPECT_EQ(dialog->lbCzas->Visible(), row.stop);
        EXPECT_EQ(dialog->Przejazd1->Visible(), row.light);
        EXPECT_EQ(dialog->Przejazd1->Migajacy(), row.blink);
        EXPECT_EQ(dialog->lbCzas->Caption(),
                  "okienko zniknie za " + std::to_string(row.seconds) + " sek.\r\n(możesz zamknąć je sam)");
        EXPECT_EQ(dialog->ModalResult(), row.closes ? mrOk : mrNone);
    }
    dialog->Free();
}

TEST_F(WarningDialog, TheCountdownClosesTheDialogAsOk)
{
    bool seen = false;
    Driver driver([&](TeQmxWarningDialog* dialog, DWORD) {
        if (dialog) {
            seen = true;
            // A message alone is shown in the normal style.
            EXPECT_FALSE(dialog->lbInfo->Font()->Style().Contains(fsBold));
            EXPECT_EQ(dialog->Caption(), "Odliczanie");
            // One second: five ticks of 200 ms.
            EXPECT_EQ(dialog->TickLimit(), 5);
            EXPECT_EQ(dialog->Timer1->Interval(), 200u);
        }
        return seen;
    });
    const DWORD start = GetTickCount();
    EXPECT_EQ(ShowWarningDialog("Odliczanie", Unique("Zamknie się samo"), "", 1), 1);
    EXPECT_TRUE(seen);
    EXPECT_GE(GetTickCount() - start, 1000u) << "closed before its ticks ran out";
    EXPECT_EQ(FindDialog(), nullptr);
}

TEST_F(WarningDialog, EscapeCancels)
{
    Driver driver([](TeQmxWarningDialog* dialog, DWORD) {
        if (!dialog || !dialog->Active())
            return false;
        PostMessageA(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 1);
        PostMessageA(GetFocus(), WM_KEYUP, VK_ESCAPE, 0xC0000001);
        return true;
    });
    EXPECT_EQ(ShowWarningDialog("Pytanie", Unique("Anulować?"), "", 10), 2);
}

TEST_F(WarningDialog, TheQuestionMarkStopsTheCountdown)
{
    // With a description the message is bold; both wrap over the width.
    const std::string message = Unique("Czy na pewno usunąć wszystkie pliki programu z dysku? Tego nie da się cofnąć,"
                                       " więc zastanów się dobrze");
    const std::string description = "Kopia zapasowa zostanie zrobiona przedtem.";
    enum { waiting, stopped, done } state = waiting;
    DWORD stoppedAt = 0;
    Driver driver([&](TeQmxWarningDialog* dialog, DWORD elapsed) {
        if (!dialog)
            return false;
        if (state == waiting) {
            // Half the time gone: the gauge, "?" and the light are up.
            if (!dialog->Przejazd1->Visible())
                return false;
            EXPECT_TRUE(dialog->Gauge1->Visible());
            EXPECT_TRUE(dialog->bStoj->Visible());
            SavePicture(dialog->Handle(), "qmxWarningDialog-odliczanie.png");
            EXPECT_TRUE(dialog->lbInfo->Font()->Style().Contains(fsBold));
            EXPECT_GT(dialog->lbInfo->Height(), dialog->lbOpis->Height());
            EXPECT_EQ(dialog->ClientHeight(), dialog->lbInfo->Top() + dialog->lbInfo->Height() +
                                                  dialog->lbOpis->Height() + 7 + 12 + 33 + 8);
            SendMessageA(dialog->bStoj->Handle(), BM_CLICK, 0, 0);
            stoppedAt = elapsed;
            state = stopped;
            return false;
        }
        // Well past the one second the dialog was given.
        if (elapsed < stoppedAt + 1500)
            return false;
        EXPECT_EQ(dialog->ModalResult(), mrNone);
        EXPECT_FALSE(dialog->Timer1->Enabled());
        EXPECT_FALSE(dialog->bStoj->Visible());
        EXPECT_FALSE(dialog->Gauge1->Visible());
        EXPECT_TRUE(dialog->Przejazd1->Visible());  // the light stays as it was
        EXPECT_EQ(dialog->lbCzas->Caption(), "Naciśnij OK lub Anuluj, aby zakończyć.");
        SavePicture(dialog->Handle(), "qmxWarningDialog-stop.png");
        SendMessageA(dialog->bAnuluj->Handle(), BM_CLICK, 0, 0);
        state = done;
        return true;
    });
    EXPECT_EQ(ShowWarningDialog("Usuwanie", message, description, 1), 2);
    EXPECT_EQ(state, done);
}

TEST_F(WarningDialog, AnotherWindowTakingTheActivationAnswersOk)
{
    // ShowWarning: 30 seconds, titled with the product name, which this test
    // program's file lacks.
    HWND other = nullptr;
    Driver driver([&](TeQmxWarningDialog* dialog, DWORD elapsed) {
        if (other) {
            // Only the activation can close it now; should it not, Cancel
            // makes the answer wrong instead of the test running out.
            if (dialog && elapsed > EventLimitMs)
                SendMessageA(dialog->bAnuluj->Handle(), BM_CLICK, 0, 0);
            return !dialog;
        }
        if (!dialog || !dialog->Active())
            return false;
        EXPECT_EQ(dialog->Caption(), "");
        EXPECT_EQ(dialog->TickLimit(), 150);
        dialog->Timer1->SetEnabled(false);  // no countdown to close it
        other = CreateWindowExA(0, "STATIC", "inny program", WS_POPUP | WS_VISIBLE, 0, 0, 60, 40, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
        SetForegroundWindow(other);
        SetActiveWindow(other);
        return false;
    });
    const std::string message = Unique("Czy zostawić ustawienia?");
    EXPECT_TRUE(ShowWarning(message)) << "closed by the activation";
    if (other)
        DestroyWindow(other);
    EXPECT_NE(other, nullptr);
    EXPECT_EQ(LastLogLine().Text, std::string(kTitle) + ":  | " + message + " | ");
}

TEST(WarningDialogError, RaiseErrorMessageRaisesThePlainErrorWithTheText)
{
    try {
        RaiseErrorMessage("Nie można otworzyć pliku");
        FAIL() << "nothing raised";
    } catch (const Exception& e) {
        EXPECT_EQ(typeid(e), typeid(Exception));
        EXPECT_EQ(e.Message(), "Nie można otworzyć pliku");
    }
}

}  // namespace
