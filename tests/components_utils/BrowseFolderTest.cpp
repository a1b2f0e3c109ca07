// The folder browser: the shell's real dialog, answered from a second thread
// as a person would answer it.
#include <windows.h>

#include <shlobj.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "classlib/Forms.h"
#include "classlib/SysUtils.h"
#include "components/FileUtil.h"
#include "tests/support/TestUtil.h"

namespace {

// Waits in a thread of its own for the dialog to show (it shows once it has
// set itself up), does what a person would, and gives up after the event
// limit (the dialog then stays, and the test's timeout ends it).
class Answerer {
public:
    explicit Answerer(std::function<void(HWND)> answer)
        : thread_([this, answer] {
              HWND dialog = nullptr;
              if (WaitUntil([&dialog] { return (dialog = FindDialogOf(GetCurrentProcessId())) != nullptr; })) {
                  answer(dialog);
                  answered_ = true;
              }
          })
    {
    }
    ~Answerer() { thread_.join(); }
    bool Answered() const { return answered_; }

private:
    std::atomic<bool> answered_{false};
    std::thread thread_;
};

void Press(HWND dlg, int id)
{
    PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dlg, id)));
}

// Records the dialog's events and the help requests of the application.
class Recorder : public TObject {
public:
    void Initialized(TObject*) { ++initialized; }
    void SelChanged(TObject* sender)
    {
        paths.push_back(static_cast<TBrowseFolderDlg*>(sender)->CurrentPath());
        if (!expected.empty() && AnsiLowerCase(paths.back()) == AnsiLowerCase(expected))
            reachedExpected = true;
    }
    void Help(WORD command, LONG_PTR data, bool& callHelp, bool& result)
    {
        helpCommand = command;
        helpData = data;
        callHelp = false;
        result = true;
    }

    int initialized = 0;
    std::vector<std::string> paths;
    // Set by the dialog's thread, read by the answering one.
    std::string expected;
    std::atomic<bool> reachedExpected{false};
    WORD helpCommand = 0;
    LONG_PTR helpData = 0;
};

class BrowseFolderTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        OleInitialize(nullptr);
        InitFormsUnit();
    }
    static void TearDownTestSuite()
    {
        DoneFormsUnit();
        OleUninitialize();
    }
    void SetUp() override
    {
        folder = temp.Path() + "Wybór";
        ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    }

    TempFolder temp;
    std::string folder;
    Recorder recorder;
};

TEST_F(BrowseFolderTest, OkGivesThePreselectedFolder)
{
    // Another window of the program, which the dialog keeps disabled.
    HWND other = CreateWindowExA(0, "STATIC", "inne okno", WS_OVERLAPPED | WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    TBrowseFolderDlg dlg(nullptr);
    dlg.FolderName = folder;
    dlg.DialogText = "Wybierz folder docelowy";
    dlg.OnInitialized = TNotifyEvent(&recorder, &Recorder::Initialized);
    dlg.OnSelChanged = TNotifyEvent(&recorder, &Recorder::SelChanged);
    bool otherEnabled = true, okEnabled = false, centred = false, helpButton = true, text = false;
    bool ok;
    {
        recorder.expected = folder;
        Answerer answer([&](HWND d) {
            // On a busy machine the dialog selects the preselected folder a
            // little later than it shows: a person would wait for it too.
            WaitUntil([&] { return recorder.reachedExpected.load(); });
            otherEnabled = IsWindowEnabled(other);
            okEnabled = IsWindowEnabled(GetDlgItem(d, IDOK));
            RECT r;
            GetWindowRect(d, &r);
            centred = std::abs((r.left + r.right) / 2 - GetSystemMetrics(SM_CXSCREEN) / 2) <= 1 &&
                      std::abs((r.top + r.bottom) / 2 - GetSystemMetrics(SM_CYSCREEN) / 2) <= 1;
            helpButton = FindWindowExA(d, nullptr, "Button", "Pomo&c") != nullptr;
            text = FindWindowExA(d, nullptr, "Static", "Wybierz folder docelowy") != nullptr;
            Press(d, IDOK);
        });
        ok = dlg.Execute();
        ASSERT_TRUE(answer.Answered());
    }
    EXPECT_TRUE(ok);
    EXPECT_EQ(AnsiLowerCase(dlg.FolderName), AnsiLowerCase(folder));
    EXPECT_EQ(dlg.CurrentPath(), dlg.FolderName);
    EXPECT_EQ(recorder.initialized, 1);
    ASSERT_FALSE(recorder.paths.empty());
    EXPECT_EQ(AnsiLowerCase(recorder.paths.back()), AnsiLowerCase(folder));
    EXPECT_FALSE(otherEnabled);
    EXPECT_TRUE(okEnabled);
    EXPECT_TRUE(centred);
    EXPECT_FALSE(helpButton);
    EXPECT_TRUE(text);
    EXPECT_TRUE(IsWindowEnabled(other));
    EXPECT_EQ(dlg.DialogHandle(), nullptr);
    DestroyWindow(other);
}

// A virtual folder without a file-system path cannot be confirmed; the help
// button asks the application for its topic; Cancel changes nothing.
TEST_F(BrowseFolderTest, VirtualFolderHelpAndCancel)
{
    std::string chosen = temp.Path() + "nie ma takiego";
    Application->OnHelp = THelpEvent(&recorder, &Recorder::Help);
    bool okOnVirtual = true, okOnFolder = false, helpButton = false;
    bool ok;
    {
        Answerer answer([&](HWND d) {
            LPITEMIDLIST drives = nullptr;
            SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &drives);
            SendMessageA(d, BFFM_SETSELECTIONA, FALSE, reinterpret_cast<LPARAM>(drives));
            okOnVirtual = IsWindowEnabled(GetDlgItem(d, IDOK));
            CoTaskMemFree(drives);
            // The shell's tree may still be filling in and stop short of
            // the folder: a person would pick it once more.
            okOnFolder = WaitUntil([&] {
                SendMessageA(d, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(folder.c_str()));
                return IsWindowEnabled(GetDlgItem(d, IDOK)) != FALSE;
            });
            HWND help = FindWindowExA(d, nullptr, "Button", "Pomo&c");
            helpButton = help != nullptr;
            if (help)
                SendMessageA(d, WM_COMMAND, MAKEWPARAM(0xFFFF, BN_CLICKED), reinterpret_cast<LPARAM>(help));
            Press(d, IDCANCEL);
        });
        ok = BrowseForFolder(chosen, "Wybierz docelową lokalizację dla pliku dane.txt", 1234);
        ASSERT_TRUE(answer.Answered());
    }
    Application->OnHelp = THelpEvent();
    EXPECT_FALSE(ok);
    EXPECT_EQ(chosen, temp.Path() + "nie ma takiego");
    EXPECT_FALSE(okOnVirtual);
    EXPECT_TRUE(okOnFolder);
    EXPECT_TRUE(helpButton);
    EXPECT_EQ(recorder.helpCommand, HELP_CONTEXT);
    EXPECT_EQ(recorder.helpData, 1234);
}

} // namespace
