// A program that starts up the way the maker's programs do (forms, fonts,
// common unit) and reports what it found, one "key=value" line at a time,
// into the file named by its first argument. Further arguments:
//   answer=yes|no   answer the running-copy question through the dialog hook
//                   (without it the dialog shows and waits for a person)
//   hold=NAME       after start-up, wait for the named event before ending
//   short=FORMAT    the short date format before start-up (a locale with
//   long=FORMAT     two-digit years); likewise the long one
// The last unit to shut down (registered first) reports "finalized" and
// which probe fonts are still there, also after a halt.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "classlib/Dialogs.h"
#include "classlib/Forms.h"
#include "classlib/SysUtils.h"
#include "common/QmxFonts.h"
#include "common/QmxUtil.h"

namespace {

std::string reportFile;
std::string answer;

void Report(const std::string& key, const std::string& value)
{
    std::string escaped;
    for (char c : value) {
        if (c == '\r')
            escaped += "\\r";
        else if (c == '\n')
            escaped += "\\n";
        else
            escaped += c;
    }
    if (std::FILE* f = std::fopen(reportFile.c_str(), "ab")) {
        const std::string line = key + "=" + escaped + "\r\n";
        std::fwrite(line.data(), 1, line.size(), f);
        std::fclose(f);
    }
}

int CALLBACK FamilyFound(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM found)
{
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool FamilyAvailable(const char* family)
{
    HDC dc = GetDC(nullptr);
    LOGFONTA lf{};
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(lf.lfFaceName, family, LF_FACESIZE);
    bool found = false;
    EnumFontFamiliesExA(dc, &lf, FamilyFound, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, dc);
    return found;
}

// The families of the test's tahoma.ttf and tahomabd.ttf.
std::string ProbeFonts()
{
    return std::string(FamilyAvailable("Qmx Sonda") ? "1" : "0") + "," +
           (FamilyAvailable("Qmx Sonda Gruba") ? "1" : "0");
}

void ProbeShutdown()
{
    Report("finalized", "1");
    Report("fontsAfter", ProbeFonts());
}

struct QuestionAnswerer {
    void Answer(const TMsgDlgRequest& request, int& result)
    {
        Report("question", request.Text);
        Report("kind", request.DlgType == mtWarning ? "warning" : "other");
        Report("buttons", request.Buttons == TMsgDlgButtons{mbYes, mbNo} ? "yes,no" : "other");
        result = answer == "yes" ? mrYes : mrNo;
    }
} answerer;

// Numbers of the maker's cursors that still show the default cursor.
std::string MissingCursors()
{
    std::string missing;
    auto check = [&](int n) {
        if (Screen->Cursors(n) != Screen->Cursors(crDefault))
            return;
        if (!missing.empty())
            missing += ',';
        missing += std::to_string(n);
    };
    for (int n : {3, 4, 150, 151, 159, 161, 171, 181, 191})
        check(n);
    for (int base : {110, 120, 130, 140, 210})
        for (int i = 1; i <= 10; ++i)
            check(base + i);
    return missing;
}

BOOL CALLBACK CursorName(HMODULE, LPCSTR, LPSTR name, LONG_PTR names)
{
    if (!IS_INTRESOURCE(name))
        reinterpret_cast<std::vector<std::string>*>(names)->push_back(name);
    return TRUE;
}

// Which of the program's cursor resources each of the maker's cursor numbers
// shows: "cursorN=NAME", or an empty NAME when none of them.
void ReportCursorNames()
{
    std::vector<std::string> names;
    const HMODULE module = GetModuleHandleA(nullptr);
    EnumResourceNamesA(module, MAKEINTRESOURCEA(12) /* RT_GROUP_CURSOR */, CursorName,
                       reinterpret_cast<LONG_PTR>(&names));
    std::vector<int> numbers = {3, 4, 150, 151, 159, 161, 171, 181, 191};
    for (int base : {110, 120, 130, 140, 210})
        for (int i = 1; i <= 10; ++i)
            numbers.push_back(base + i);
    for (int n : numbers) {
        std::string shown;
        for (const std::string& name : names)
            if (Screen->Cursors(n) == LoadCursorA(module, name.c_str()))
                shown = name;
        Report("cursor" + std::to_string(n), shown);
    }
}

void Hold(const std::string& eventName)
{
    HANDLE event = OpenEventA(SYNCHRONIZE, FALSE, eventName.c_str());
    if (!event) {
        Report("hold", "no event");
        return;
    }
    const DWORD until = GetTickCount() + 30000;
    while (GetTickCount() < until) {
        if (MsgWaitForMultipleObjects(1, &event, FALSE, 100, QS_ALLINPUT) == WAIT_OBJECT_0)
            break;
        Application->ProcessMessages();
    }
    CloseHandle(event);
}

} // namespace

int main()
{
    reportFile = ParamStr(1);
    std::string hold;
    for (int i = 2; i <= ParamCount(); ++i) {
        const std::string arg = ParamStr(i);
        const std::string::size_type eq = arg.find('=');
        const std::string key = arg.substr(0, eq), value = eq == std::string::npos ? "" : arg.substr(eq + 1);
        if (key == "answer")
            answer = value;
        else if (key == "hold")
            hold = value;
        else if (key == "short")
            FormatSettings().ShortDateFormat = value;
        else if (key == "long")
            FormatSettings().LongDateFormat = value;
    }
    if (!answer.empty())
        MessageDlgHook = TMessageDlgHook(&answerer, &QuestionAnswerer::Answer);

    StartUnit(InitFormsUnit, DoneFormsUnit);
    StartUnit(nullptr, ProbeShutdown);
    StartUnit(AddStartupFonts, RemoveStartupFonts);
    StartUnit(InitCommonUnit, DoneCommonUnit);

    Report("started", "1");
    Report("fonts", ProbeFonts());
    Report("short", FormatSettings().ShortDateFormat);
    Report("long", FormatSettings().LongDateFormat);
    Report("catalog", CommonCatalog);
    Report("windows", WindowsFolder);
    Report("caption", (GetWindowLongPtrA(Application->Handle(), GWL_STYLE) & WS_CAPTION) == WS_CAPTION ? "1" : "0");
    Report("missingCursors", MissingCursors());
    ReportCursorNames();
    std::string nonAlnum;
    for (unsigned char c : {'-', 'a', '7', '\x95', '\xA0', '\xB3', '\x8C'})
        nonAlnum += NonAlphaNumericSet.test(c) ? '1' : '0';
    Report("nonAlnum", nonAlnum);
    if (!hold.empty())
        Hold(hold);
    FinalizeUnits();
    return 0;
}
