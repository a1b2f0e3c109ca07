// kelvor installs the sample medium, with the real organizer in place of the
// medium's stand-in; the installed brennik.exe then lists what was installed
// and removes all of it, itself last.
#include <windows.h>

#include <shellapi.h>
#include <tlhelp32.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "classlib/SysUtils.h"
#include "common/QmxReg.h"
#include "tests/organizer_brennik/BrennikCopy.h"
#include "tests/support/TestUtil.h"
#include "tools/uidriver/UiDriver.h"

namespace {

const char* const RunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char* const UninstallQmxKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\QMX";

std::string Reg(int root, const std::string& key, const std::string& name)
{
    std::string value;
    ReadRegValue(root, key, name, value, "<brak klucza>");
    return value;
}

std::string ShellFolder(const char* name)
{
    return Reg(1, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", name) + "\\";
}

bool CopyTree(const std::string& from, const std::string& to)
{
    std::string src = from + "*";
    src.push_back('\0');
    std::string dst = to;
    dst.push_back('\0');
    SHFILEOPSTRUCTA op{};
    op.wFunc = FO_COPY;
    op.pFrom = src.c_str();
    op.pTo = dst.c_str();
    op.fFlags = FOF_NOCONFIRMATION | FOF_NOCONFIRMMKDIR | FOF_SILENT | FOF_NOERRORUI;
    return SHFileOperationA(&op) == 0;
}

std::string Caption(const TUiForm& dialog)
{
    const TUiComponent* info = dialog.Find("lbInfo");
    return info ? info->Value("Caption") : "";
}

TEST(BrennikE2E, RemovesWhatKelvorInstalled)
{
    // What earlier runs of either program left (settings, fonts folder,
    // installer's key) must not steer this one.
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\QMX");
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\QMX");
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, UninstallQmxKey);
    TempFolder temp;
    const std::string medium = temp.Path() + "medium\\";
    ASSERT_TRUE(CopyTree(BuiltPath("medium\\"), medium));
    ASSERT_TRUE(CopyFileA(BuiltPath("organizer\\brennik.exe").c_str(), (medium + "pakiet\\narzedzia\\brennik.exe").c_str(),
                          FALSE));
    const std::string kelvor = BuiltPath("installer\\kelvor.exe");
    // A run that was ended from outside leaves its running-copy mark behind
    // (atoms outlive their process, and count each addition).
    for (int i = 0; i < 100; ++i)
        if (const ATOM atom = GlobalFindAtomA(kelvor.c_str()))
            GlobalDeleteAtom(atom);
    ASSERT_EQ(0, GlobalFindAtomA(kelvor.c_str())) << kelvor;
    const std::string dest = temp.Path() + "Qmx";

    {
        TUiProcess app("\"" + kelvor + "\" \"" + medium + "\"", TUiStartOptions{temp.Path(), {}});
        app.SetTimeout(30000);
        try {
            app.WaitForForm("eMain", 5000);
        } catch (const EUiDriverError&) {
            // Say which question stood in the way.
            for (const TUiForm& f : app.Dump().Forms)
                for (const TUiComponent& c : f.Components)
                    if (!c.Value("Caption").empty())
                        ADD_FAILURE() << f.Name << "." << c.Name << ": " << c.Value("Caption");
            throw;
        }
        auto next = [&](const char* header) {
            app.Click("eMain", "bDalej");
            app.WaitForText("eMain", "lbInfo", header);
        };
        next("Rodzaj instalacji");
        app.Click("eMain", "rbNietypowa");
        for (const char* header : {"Warunki licencji", "Twoje dane", "Wybierz programy"})
            next(header);
        app.SetText("eMain", "de", dest);
        for (const char* header : {"Twoje dane", "Warunki licencji", "Rodzaj instalacji"}) {
            app.Click("eMain", "bWstecz");
            app.WaitForText("eMain", "lbInfo", header);
        }
        app.Click("eMain", "rbPelna");
        for (const char* header : {"Warunki licencji", "Twoje dane", "Podsumowanie"})
            next(header);
        app.Click("eMain", "bDalej");
        app.AnswerDialog("OK");  // brak.dat is not on the medium
        app.WaitForText("eMain", "lbInfo", "Dziękuję.");
        app.Click("eMain", "bZakoncz");
        ASSERT_EQ(0, app.WaitForExit());
    }
    const std::string organizer = dest + "\\Lumero\\brennik.exe";
    ASSERT_TRUE(FileExists(organizer));
    const std::string desktop = ShellFolder("Desktop");
    const std::string start = ShellFolder("Start Menu");
    const std::vector<std::string> installed = {
        dest + "\\Parvin\\parvin.exe", dest + "\\Parvin\\pomoc.txt", dest + "\\ferlond.exe",
        dest + "\\Kalmet\\Dane\\kalmet.exe", dest + "\\Lumero\\czytaj.txt", desktop + "Parvin 2000.lnk",
        start + "Parvin 2000.lnk", desktop + "Ferlond .lnk", start + "Ferlond .lnk"};
    for (const std::string& f : installed)
        ASSERT_TRUE(FileExists(f)) << f;

    TUiProcess app("\"" + organizer + "\"", TUiStartOptions{dest + "\\Lumero", {}});
    app.SetTimeout(30000);
    app.WaitForForm("eMain");
    WaitForRemovalPage(app);
    EXPECT_EQ((std::vector<std::string>{"Parvin 2000", "Ferlond", "Kalmet Księgowość", "Lumero 2000"}),
              app.Component("eMain", "lbUsun").List("Items"));
    app.SavePng("eMain", TestProgramFolder() + "brennik_e2e_lista.png");
    for (int i = 0; i < 4; ++i)
        app.SetItemChecked("eMain", "lbUsun", i, true);
    app.Click("eMain", "bUsunProgramy");
    app.AnswerDialog("bOK");
    app.AnswerDialog("bAnuluj");
    std::string freed = Caption(app.AnswerDialog("bOK"));
    EXPECT_EQ(0u, freed.find("Usunięto skróty i pliki.")) << freed;
    EXPECT_EQ("Program konfiguracyjny zostanie za chwilę usunięty z systemu, bo już nie jest potrzebny.",
              Caption(app.AnswerDialog("bOK")));
    app.WaitForText("eMain", "lbUsun", "Nie można odinstalować żadnych plików.");
    app.SavePng("eMain", TestProgramFolder() + "brennik_e2e_po.png");

    for (const std::string& f : installed)
        EXPECT_FALSE(FileExists(f)) << f;
    EXPECT_FALSE(FileExists(dest + "\\tarvix.qmx"));
    EXPECT_EQ("<brak klucza>", Reg(2, UninstallQmxKey, "DisplayName"));
    // The autostart values stay, as the maker's settings do.
    EXPECT_EQ(dest + "\\ferlond.exe /auto", Reg(1, RunKey, "Ferlond"));

    PostMessageA(app.Component("eMain", "").Handle(), WM_CLOSE, 0, 0);
    app.WaitForExit();
    EXPECT_TRUE(WaitUntilGone(organizer, 15000));
    EndBatchesOf(app.ProcessId());
    HKEY run;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, RunKey, 0, KEY_ALL_ACCESS, &run) == ERROR_SUCCESS) {
        RegDeleteValueA(run, "Ferlond");
        RegDeleteValueA(run, "Kalmet Płatności");
        RegCloseKey(run);
    }
}

} // namespace
