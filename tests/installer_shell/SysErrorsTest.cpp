#include "installer/SysErrors.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "classlib/SysUtils.h"

#include "tests/installer_shell/DialogWatcher.h"
#include "tests/installer_shell/ShellTest.h"

namespace {

std::vector<std::string> shown;

void CaptureBox(const std::string& text)
{
    shown.push_back(text);
}

// Shows through CaptureBox while it lives.
struct CapturedBox {
    CapturedBox() { shown.clear(), SetSystemErrorBox(CaptureBox); }
    ~CapturedBox() { SetSystemErrorBox(nullptr); }
};

} // namespace

class SystemError : public ShellTest {};

TEST_F(SystemError, ShowsTheNamedLastError)
{
    struct Row {
        long code;
        const char* message;  // nullptr: the code has no name
    } rows[] = {
        {5, "Błąd systemowy nr 5: ERROR_ACCESS_DENIED"},
        {10, "Błąd systemowy nr 10: ERROR_BAD_ENVIRONMENT"},
        {1441, "Błąd systemowy nr 1441: ERROR_HWNDS_HAVE_DIFFERENT_PARENT"},
        {1726, "Błąd systemowy nr 1726: RPC_S_CALL_FAILED"},
        {6118, "Błąd systemowy nr 6118: ERROR_NO_BROWSER_SERVERS_FOUND"},
        {-1, "Błąd systemowy nr -1: LZERROR_BADINHANDLE"},
        {-2, "Błąd systemowy nr -2: LZERROR_BADOUTHANDLE"},
        {-3, "Błąd systemowy nr -3: LZERROR_READ"},
        {-4, "Błąd systemowy nr -4: LZERROR_WRITE"},
        {-5, "Błąd systemowy nr -5: LZERROR_GLOBALLOC"},
        {-6, "Błąd systemowy nr -6: LZERROR_GLOBLOCK"},
        {-7, "Błąd systemowy nr -7: LZERROR_BADVALUE"},
        {-8, "Błąd systemowy nr -8: LZERROR_UNKNOWNALG"},
        {0, nullptr},
        {35, nullptr},
        {1339, nullptr},
        {-9, nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.code);
        CapturedBox box;
        std::string msg = "untouched";
        SetLastError(static_cast<DWORD>(row.code));
        ShowSystemError(seShow, msg);
        if (row.message) {
            EXPECT_EQ(msg, row.message);
            EXPECT_EQ(shown, std::vector<std::string>{row.message});
        } else {
            EXPECT_EQ(msg, "untouched");
            EXPECT_TRUE(shown.empty());
        }
    }
}

// A failed shell operation: the last error when there is one, else the
// shell's result; a name only where the number is a Windows error.
TEST_F(SystemError, ShellErrorMessageNamesOnlyWindowsErrors)
{
    const struct {
        unsigned lastError;
        int shellResult;
        const char* message;
    } rows[] = {
        {5, 0x402, "Błąd systemowy nr 5: ERROR_ACCESS_DENIED"},
        {1339, 0, "Błąd systemowy nr 1339"},
        {0, 32, "Błąd systemowy nr 32: ERROR_SHARING_VIOLATION"},
        {0, 1223, "Błąd systemowy nr 1223"},
        // The shell's own codes, which the table would misname.
        {0, 0x71, "Błąd systemowy nr 113"},
        {0, 0x78, "Błąd systemowy nr 120"},
        {0, 0x88, "Błąd systemowy nr 136"},
        {0, 0xB7, "Błąd systemowy nr 183"},
        {0, 0x402, "Błąd systemowy nr 1026"},
        {0, 0x10000, "Błąd systemowy nr 65536"},
        {0, 0x10074, "Błąd systemowy nr 65652"},
        // Just outside them, Windows errors again.
        {0, 0x70, "Błąd systemowy nr 112: ERROR_DISK_FULL"},
        {0, 0x89, "Błąd systemowy nr 137: ERROR_NOT_SUBSTED"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << r.lastError << " " << r.shellResult);
        EXPECT_EQ(ShellErrorMessage(r.lastError, r.shellResult), r.message);
    }
}

// Raise wins over show: the caller's guard gets the text and nothing is
// shown. Without flags the message is only set.
TEST_F(SystemError, RaiseOnlyRaises)
{
    struct Row {
        unsigned flags;
        bool raises;
    } rows[] = {{seRaise, true}, {seShow | seRaise, true}, {0, false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.flags);
        CapturedBox box;
        std::string msg;
        SetLastError(ERROR_ACCESS_DENIED);
        if (row.raises) {
            try {
                ShowSystemError(row.flags, msg);
                ADD_FAILURE() << "nothing raised";
            } catch (const Exception& e) {
                EXPECT_EQ(e.Message(), "Błąd systemowy nr 5: ERROR_ACCESS_DENIED");
            }
        } else {
            ShowSystemError(row.flags, msg);
        }
        EXPECT_EQ(msg, "Błąd systemowy nr 5: ERROR_ACCESS_DENIED");
        EXPECT_TRUE(shown.empty());
    }
}

// The real message box, answered by a watcher thread.
TEST_F(SystemError, WindowsMessageBox)
{
    DialogWatcher watcher(IDOK);
    std::string msg;
    SetLastError(ERROR_FILE_NOT_FOUND);
    ShowSystemError(seShow, msg);
    watcher.Join();
    ASSERT_TRUE(watcher.Seen());
    EXPECT_NE(watcher.Texts().find("Błąd systemowy nr 2: ERROR_FILE_NOT_FOUND"), std::string::npos)
        << watcher.Texts();
    EXPECT_EQ(watcher.Caption(), "installer_shell_tests");
}
