// The start-up and shutdown of the font unit and the common utility unit, in
// probe programs started as separate processes (startup_probe.cpp): the
// running-copy question, the paths key, the fonts, the catalog, the date
// formats and the cursors.
#include <windows.h>

#include <map>
#include <string>

#include <gtest/gtest.h>

#include "classlib/SysUtils.h"
#include "common/QmxReg.h"
#include "tests/support/TestUtil.h"
#include "tools/uidriver/UiDriver.h"

namespace {

const char* const Question =
    "\\r\\nPrzynajmniej jedna kopia tego programu już jest uruchomiona. Czy jesteś pewien, że chcesz uruchomić "
    "KOLEJNĄ kopię tego samego programu?\\r\\n\\r\\nZignoruj to ostrzeżenie, jeśli poprzednia kopia programu "
    "niespodziewanie zakończyła pracę.";
const char* const ProbeProduct = "Sonda startowa Łódź";

using Report = std::map<std::string, std::string>;

Report ReadReport(const std::string& path)
{
    Report report;
    const std::string text = ReadWholeFile(path);
    std::string::size_type at = 0;
    while (at < text.size()) {
        std::string::size_type end = text.find("\r\n", at);
        if (end == std::string::npos)
            end = text.size();
        const std::string line = text.substr(at, end - at);
        const std::string::size_type eq = line.find('=');
        if (eq != std::string::npos)
            report[line.substr(0, eq)] = line.substr(eq + 1);
        at = end + 2;
    }
    return report;
}

std::string Value(const Report& report, const std::string& key)
{
    auto it = report.find(key);
    return it == report.end() ? "(none)" : it->second;
}

std::wstring Wide(const std::string& text)
{
    std::wstring wide(text.size(), L'\0');
    wide.resize(MultiByteToWideChar(1250, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                                    static_cast<int>(wide.size())));
    return wide;
}

const wchar_t* const PathsKeyW = L"Software\\QMX\\ścieżki";

// The paths key's value through the W function with the Polish key name;
// "(none)" when it is missing.
std::wstring RecordedPath(const std::wstring& valueName)
{
    wchar_t data[MAX_PATH] = {};
    DWORD size = sizeof data - sizeof(wchar_t);
    if (RegGetValueW(HKEY_LOCAL_MACHINE, PathsKeyW, valueName.c_str(), RRF_RT_REG_SZ, nullptr, data, &size) !=
        ERROR_SUCCESS)
        return L"(none)";
    return data;
}

class ManualEvent {
public:
    explicit ManualEvent(const std::string& name) : handle_(CreateEventA(nullptr, TRUE, FALSE, name.c_str())) {}
    ~ManualEvent() { CloseHandle(handle_); }
    ManualEvent(const ManualEvent&) = delete;
    ManualEvent& operator=(const ManualEvent&) = delete;
    void Set() { SetEvent(handle_); }

private:
    HANDLE handle_;
};

class Startup : public testing::Test {
protected:
    void TearDown() override
    {
        for (const std::wstring& name : recorded_)
            RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, PathsKeyW, name.c_str());
        RegDeleteKeyValueA(HKEY_CURRENT_USER, "Software\\QMX", "Czcionki");
        DeleteFileA(IniPath().c_str());
    }

    // A copy of a probe program in a folder of its own under the test's.
    std::string Copy(const char* program, const char* folder)
    {
        const std::string dir = temp_.Path() + folder + "\\";
        CreateDirectoryA(dir.c_str(), nullptr);
        const std::string exe = dir + "sonda.exe";
        EXPECT_TRUE(CopyFileA((TestProgramFolder() + program + ".exe").c_str(), exe.c_str(), FALSE));
        return exe;
    }

    // The command line of a start whose report goes to a new file.
    std::string Command(const std::string& exe, const std::string& args, std::string& report)
    {
        report = temp_.Path() + "raport" + std::to_string(++reports_) + ".txt";
        return "\"" + exe + "\" \"" + report + "\" " + args;
    }

    // Starts a probe, waits for its end and gives its report.
    Report Run(const std::string& exe, const std::string& args)
    {
        std::string report;
        EXPECT_EQ(RunProgram(Command(exe, args, report)), 0) << args;
        return ReadReport(report);
    }

    void Recorded(const std::string& valueName) { recorded_.push_back(Wide(valueName)); }

    static std::string IniPath()
    {
        char windows[MAX_PATH];
        GetWindowsDirectoryA(windows, sizeof windows);
        return std::string(windows) + "\\QMX.INI";
    }

    TempFolder temp_;
    int reports_ = 0;
    std::vector<std::wstring> recorded_;
};

// A second start of the same program file asks, also under another letter
// case; No halts it and leaves the first copy's atom, so the next start asks
// again; a copy elsewhere does not ask; a copy allowed to run deletes the
// shared atom when it ends.
TEST_F(Startup, RunningCopyQuestion)
{
    Recorded(ProbeProduct);
    const std::string exe = Copy("startup_probe", "a");
    const std::string holdName = "qmx-startup-hold-" + std::to_string(GetCurrentProcessId());
    ManualEvent hold(holdName);
    std::string firstReport;
    TUiProcess first(Command(exe, "hold=" + holdName, firstReport));
    WaitUntil([&] { return Value(ReadReport(firstReport), "started") == "1"; });
    ASSERT_EQ(Value(ReadReport(firstReport), "started"), "1");
    EXPECT_EQ(Value(ReadReport(firstReport), "question"), "(none)");
    EXPECT_NE(GlobalFindAtomA(exe.c_str()), 0);

    Report no = Run(exe, "answer=no");
    EXPECT_EQ(Value(no, "question"), ProbeProduct + std::string(Question));
    EXPECT_EQ(Value(no, "kind"), "warning");
    EXPECT_EQ(Value(no, "buttons"), "yes,no");
    EXPECT_EQ(Value(no, "started"), "(none)");
    EXPECT_EQ(Value(no, "finalized"), "1");  // a halt runs the units' shutdown
    EXPECT_NE(GlobalFindAtomA(exe.c_str()), 0);

    // The class library's dialog itself, answered as a person would.
    std::string upperReport;
    TUiProcess upper(Command(AnsiUpperCase(exe), "", upperReport));
    const TUiForm dialog = upper.AnswerDialog("No");
    EXPECT_EQ(dialog.Class, "TMessageForm");
    EXPECT_EQ(dialog.Value("Caption"), "Ostrzeżenie");
    EXPECT_TRUE(dialog.Find("Yes"));
    EXPECT_EQ(upper.WaitForExit(), 0);
    EXPECT_EQ(Value(ReadReport(upperReport), "started"), "(none)");
    EXPECT_EQ(Value(ReadReport(upperReport), "finalized"), "1");

    Report elsewhere = Run(Copy("startup_probe", "b"), "answer=no");
    EXPECT_EQ(Value(elsewhere, "question"), "(none)");
    EXPECT_EQ(Value(elsewhere, "started"), "1");

    Report yes = Run(exe, "answer=yes");
    EXPECT_EQ(Value(yes, "question"), ProbeProduct + std::string(Question));
    EXPECT_EQ(Value(yes, "started"), "1");
    EXPECT_EQ(GlobalFindAtomA(exe.c_str()), 0);
    Report after = Run(exe, "answer=no");
    EXPECT_EQ(Value(after, "question"), "(none)");
    EXPECT_EQ(Value(after, "started"), "1");

    hold.Set();
    EXPECT_EQ(first.WaitForExit(), 0);
    EXPECT_EQ(Value(ReadReport(firstReport), "finalized"), "1");
}

// What start-up sets up and shutdown takes back, in the process that ran it:
// the fonts from "Czcionki" are there after start-up and gone after shutdown
// (font registrations may belong to the process that made them).
TEST_F(Startup, SetsUpAndTakesBack)
{
    Recorded(ProbeProduct);
    const std::string exe = Copy("startup_probe", "c");
    const std::string fonts = temp_.Path() + "czcionki\\";
    ASSERT_TRUE(CreateDirectoryA(fonts.c_str(), nullptr));
    for (const char* font : {"tahoma.ttf", "tahomabd.ttf"})
        ASSERT_TRUE(CopyFileA((TestProgramFolder() + "fonts\\" + font).c_str(), (fonts + font).c_str(), FALSE));
    const std::string empty = temp_.Path() + "pusty\\";
    ASSERT_TRUE(CreateDirectoryA(empty.c_str(), nullptr));
    const std::string catalog = "c:\\qmx\\" + std::string(90, 'k');
    WriteWholeFile(IniPath(), "[common]\r\nKatalog=" + catalog + "\r\n");
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, sizeof windows);

    const struct {
        const std::string& fontFolder;
        const char* args;
        const char* fonts;
        const char* shortFormat;
        const char* longFormat;
    } rows[] = {
        {fonts, "short=dd-MM-yy \"long=d MMMM yy\"", "1,1", "dd-MM-yyyy", "d MMMM yyyy"},
        // Four digits already, and no year at all, stay; no font files, no fonts.
        {empty, "short=d.MM.yyyy \"long=dd MMMM\"", "0,0", "d.MM.yyyy", "dd MMMM"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.args);
        WriteRegString(1, "Software\\QMX", "Czcionki", r.fontFolder);
        ASSERT_FALSE(RegistryErrorFlag);
        RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, PathsKeyW, Wide(ProbeProduct).c_str());

        const Report report = Run(exe, r.args);
        EXPECT_EQ(Value(report, "started"), "1");
        EXPECT_EQ(Value(report, "fonts"), r.fonts);
        EXPECT_EQ(Value(report, "fontsAfter"), "0,0");
        EXPECT_EQ(Value(report, "short"), r.shortFormat);
        EXPECT_EQ(Value(report, "long"), r.longFormat);
        EXPECT_EQ(RecordedPath(Wide(ProbeProduct)), Wide(exe));
        EXPECT_EQ(Value(report, "catalog"), catalog.substr(0, 78));
        EXPECT_EQ(Value(report, "windows"), std::string(windows) + "\\");
        EXPECT_EQ(Value(report, "caption"), "1");
        EXPECT_EQ(Value(report, "missingCursors"), "");
        // Each number shows the cursor of its own resource name.
        const struct {
            int number;
            const char* name;
        } cursors[] = {
            {3, "HAND"},       {4, "ITEM"},       {111, "CRD_01"},   {115, "CRD_05"},     {120, "CRD_10"},
            {121, "PAP_01"},   {125, "PAP_05"},   {130, "PAP_10"},   {131, "HP01"},       {135, "HP05"},
            {140, "HP10"},     {141, "KELN01"},   {145, "KELN05"},   {149, "KELN09"},     {150, "DRAGSONG"},
            {151, "DRAGSONGS"}, {159, "GLOSNIK"}, {161, "HELP"},     {171, "MONITOR"},    {181, "SAVE"},
            {191, "READ"},     {211, "DUPEK01"},  {215, "DUPEK05"},  {220, "DUPEK10"},
        };
        for (const auto& c : cursors)
            EXPECT_EQ(Value(report, "cursor" + std::to_string(c.number)), c.name) << c.number;
        // "-", "a", "7", bullet, no-break space, "ł", "Ś"
        EXPECT_EQ(Value(report, "nonAlnum"), "1001100");
    }
}

// A program without a version resource records its path as the paths key's
// default value, and its question starts with an empty line.
TEST_F(Startup, ProgramWithoutVersionResource)
{
    Recorded("");
    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, PathsKeyW, L"");
    const std::string exe = Copy("startup_probe_nover", "d");
    EXPECT_EQ(Value(Run(exe, "answer=no"), "started"), "1");
    EXPECT_EQ(RecordedPath(L""), Wide(exe));
    EXPECT_EQ(GlobalFindAtomA(exe.c_str()), 0);

    // The atom as a copy that is still running would have left it.
    const ATOM atom = GlobalAddAtomA(exe.c_str());
    const Report report = Run(exe, "answer=no");
    EXPECT_EQ(Value(report, "question"), Question);
    EXPECT_EQ(Value(report, "started"), "(none)");
    EXPECT_EQ(GlobalFindAtomA(exe.c_str()), atom);
    GlobalDeleteAtom(atom);
}

} // namespace
