#pragma once

// What the tests that drive brennik.exe share: the programs' keys, and a
// copy of the organizer in a folder of the test's own (it may erase itself),
// with the keys cleared before and after.

#include <windows.h>

#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "tests/common_reg/RegTestUtil.h"
#include "tests/support/TestUtil.h"
#include "tools/uidriver/UiDriver.h"

inline constexpr char PathsKey[] = "Software\\QMX\\ścieżki";
inline constexpr char UninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\QMX";

// 5 March 2026 (a Thursday), 9:07 local time, as a file's last change: what
// the pages show for the files the tests make.
inline void SetTestTime(const std::string& path)
{
    SYSTEMTIME st{2026, 3, 0, 5, 9, 7, 0, 0};
    FILETIME local, utc;
    SystemTimeToFileTime(&st, &local);
    LocalFileTimeToFileTime(&local, &utc);
    HANDLE h = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h) << path;
    SetFileTime(h, nullptr, nullptr, &utc);
    CloseHandle(h);
}

// The removal page is filled once the organizer's window shows: its files'
// list is cleared first and given its items (or the note that there are
// none) last, and its removal button is usable again only after that.
inline void WaitForRemovalPage(TUiProcess& app)
{
    app.WaitFor("eMain", "lbPliki", "the removal page filled",
                [](const TUiComponent& c) { return !c.List("Items").empty(); });
    app.WaitFor("eMain", "bUsunProgramy", "the removal usable", [](const TUiComponent& c) { return c.Enabled(); });
}

class BrennikCopy : public testing::Test {
protected:
    void SetUp() override
    {
        ClearKeys();
        folder_ = temp_.Path() + folderName_ + "\\";
        ASSERT_TRUE(CreateDirectoryA(folder_.c_str(), nullptr)) << folder_;
        exe_ = folder_ + "brennik.exe";
        ASSERT_TRUE(CopyFileA(BuiltPath("organizer\\brennik.exe").c_str(), exe_.c_str(), FALSE));
    }
    void TearDown() override
    {
        if (app_) {
            const DWORD pid = app_->ProcessId();
            app_.reset();
            EndBatchesOf(pid);
        }
        ClearKeys();
    }
    static void ClearKeys()
    {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\QMX");
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\QMX");
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, UninstallKey);
    }
    // Started, its window shown and the page it opens on filled.
    TUiProcess& Start()
    {
        app_ = std::make_unique<TUiProcess>("\"" + exe_ + "\"", TUiStartOptions{folder_, {}});
        app_->WaitForForm("eMain");
        WaitForRemovalPage(*app_);
        return *app_;
    }
    void Close()
    {
        PostMessageA(app_->Component("eMain", "").Handle(), WM_CLOSE, 0, 0);
        app_->WaitForExit();
    }
    static std::string Caption(const TUiForm& dialog)
    {
        const TUiComponent* info = dialog.Find("lbInfo");
        return info ? info->Value("Caption") : "";
    }

    TempFolder temp_;
    // The program folder's name, below the test's temporary folder.
    std::string folderName_ = "Lumero";
    std::string folder_, exe_;
    std::unique_ptr<TUiProcess> app_;
};
