// Start-up and shutdown of the common utility unit: the running-copy
// question, the hourglass, four-digit years, the program's path under the
// paths key and the maker's cursors.
#include <windows.h>

#include <cstdio>

#include "classlib/Dialogs.h"
#include "classlib/Forms.h"
#include "classlib/SysUtils.h"
#include "common/AppName.h"
#include "common/QmxReg.h"
#include "common/QmxUtil.h"

std::string CommonCatalog;
std::string AppTitleBuffer;
std::string WindowsFolder;
std::bitset<256> NonAlphaNumericSet = [] {
    std::bitset<256> set;
    for (int c = 1; c < 128; ++c)
        if (!(c >= '0' && c <= '9') && !(c >= 'A' && c <= 'Z') && !(c >= 'a' && c <= 'z'))
            set.set(c);
    return set;
}();

namespace {

// While the running-copy question is open the start marker holds this value:
// a copy that halts there must leave the other copy's atom alone.
constexpr int QuestionOpen = 555;

ATOM runningCopyAtom = 0;
int startMarker = 0;
std::string productName;
TNazwaAplikacji ownName;

// Asks whether to start another copy when one runs from the same program
// file; halts unless the user says yes.
void CheckRunningCopy(const std::string& exe)
{
    const ATOM found = GlobalFindAtomA(exe.c_str());
    GetApplicationName(exe, ownName);
    productName = ownName.ProductName;
    startMarker = QuestionOpen;
    if (found) {
        runningCopyAtom = found;
        const std::string text = productName + "\r\n" +
                                 "Przynajmniej jedna kopia tego programu już jest uruchomiona. Czy jesteś pewien, "
                                 "że chcesz uruchomić KOLEJNĄ kopię tego samego programu?" +
                                 "\r\n\r\n" +
                                 "Zignoruj to ostrzeżenie, jeśli poprzednia kopia programu niespodziewanie "
                                 "zakończyła pracę.";
        if (MessageDlg(text, mtWarning, {mbYes, mbNo}, 0) != mrYes)
            Halt(0);
    } else {
        runningCopyAtom = GlobalAddAtomA(exe.c_str());
    }
    startMarker = 0;
}

// The first "yy" becomes "yyyy" unless the format shows four digits already.
void ForceFourDigitYear(std::string& format)
{
    if (format.find("yyyy") != std::string::npos)
        return;
    std::string result;
    PatternReplace("yy", "yyyy", format, false, "", "", result);
    format = result;
}

void LoadCursors()
{
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    // Each is loaded when first shown.
    auto load = [instance](int number, const char* name) { Screen->SetCursorResource(number, instance, name); };
    load(3, "HAND");
    load(4, "ITEM");
    char name[16];
    for (int i = 1; i <= 10; ++i) {
        std::snprintf(name, sizeof name, "CRD_%.2d", i);
        load(110 + i, name);
        std::snprintf(name, sizeof name, "HP%.2d", i);
        load(130 + i, name);
        std::snprintf(name, sizeof name, "PAP_%.2d", i);
        load(120 + i, name);
        std::snprintf(name, sizeof name, "KELN%.2d", i);
        load(140 + i, name);
        std::snprintf(name, sizeof name, "DUPEK%.2d", i);
        load(210 + i, name);
    }
    load(150, "DRAGSONG");
    load(151, "DRAGSONGS");
    load(159, "GLOSNIK");
    load(161, "HELP");
    load(171, "MONITOR");
    load(191, "READ");
    load(181, "SAVE");
}

} // namespace

void AddCaptionToAppWindow()
{
    if (!Application || !Application->Handle())
        return;
    const HWND wnd = Application->Handle();
    SetWindowLongPtrA(wnd, GWL_STYLE, GetWindowLongPtrA(wnd, GWL_STYLE) | WS_CAPTION);
}

const char* GetAppTitleBuffer()
{
    AppTitleBuffer = Application ? Application->Title() : std::string();
    return AppTitleBuffer.c_str();
}

void ReadCommonCatalog()
{
    char buffer[79];
    // A bare file name: the profile functions look in the Windows folder.
    GetPrivateProfileStringA("common", "Katalog", "", buffer, sizeof buffer, "QMX.INI");
    CommonCatalog = buffer;
}

void InitCommonUnit()
{
    const std::string exe = ParamStr(0);
    CheckRunningCopy(exe);

    SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    AddCaptionToAppWindow();

    TFormatSettings& settings = FormatSettings();
    ForceFourDigitYear(settings.ShortDateFormat);
    ForceFourDigitYear(settings.LongDateFormat);

    ReadCommonCatalog();
    GetApplicationName(exe, ownName);
    WriteRegString(2, QmxPathsKey, ownName.ProductName, exe);
    GetAppTitleBuffer();

    char windows[MAX_PATH];
    const UINT length = GetWindowsDirectoryA(windows, sizeof windows);
    WindowsFolder.assign(windows, length < sizeof windows ? length : 0);
    AddBackslash(WindowsFolder);

    if (Screen)
        LoadCursors();

    for (int c = 128; c < 256; ++c)
        if (IsNotAlphaNumeric(static_cast<char>(c)))
            NonAlphaNumericSet.set(c);
}

void DoneCommonUnit()
{
    if (startMarker != QuestionOpen && runningCopyAtom)
        GlobalDeleteAtom(runningCopyAtom);
    runningCopyAtom = 0;
    productName.clear();
    ownName = TNazwaAplikacji();
    CommonCatalog.clear();
    AppTitleBuffer.clear();
    WindowsFolder.clear();
}
