// qmxdrive.exe, the driver from the command line: a script that starts the
// test program, acts on it and prints what it reads; a failing line stops
// the script with a message naming the line.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "tests/support/TestUtil.h"

namespace {

std::string Convert(const std::string& s, UINT from, UINT to)
{
    std::wstring w(s.size(), L'\0');
    w.resize(MultiByteToWideChar(from, 0, s.data(), static_cast<int>(s.size()), w.data(), static_cast<int>(w.size())));
    std::string out(w.size() * 4, '\0');
    out.resize(WideCharToMultiByte(to, 0, w.data(), static_cast<int>(w.size()), out.data(),
                                   static_cast<int>(out.size()), nullptr, nullptr));
    return out;
}

struct TRun {
    int ExitCode = -1;
    std::string Out, Err;  // in the ANSI code page
};

// Runs qmxdrive with arguments, its output caught in files of the folder.
TRun RunQmxDrive(const TempFolder& folder, const std::string& arguments)
{
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    const std::string outFile = folder.Path() + "out.txt", errFile = folder.Path() + "err.txt";
    HANDLE out = CreateFileA(outFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
    HANDLE err = CreateFileA(errFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = out;
    si.hStdError = err;
    PROCESS_INFORMATION pi{};
    std::string line = BuiltPath("tools\\uidriver\\qmxdrive.exe") + " " + arguments;
    TRun run;
    if (CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
        DWORD code = 0;
        if (WaitForSingleObject(pi.hProcess, 30000) == WAIT_OBJECT_0 && GetExitCodeProcess(pi.hProcess, &code))
            run.ExitCode = static_cast<int>(code);
        else
            TerminateProcess(pi.hProcess, 1);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
    CloseHandle(out);
    CloseHandle(err);
    run.Out = Convert(ReadWholeFile(outFile), CP_UTF8, CP_ACP);
    run.Err = Convert(ReadWholeFile(errFile), CP_UTF8, CP_ACP);
    return run;
}

// The same with a script of UTF-8 lines, as a shell would hand it over.
// Writes the script as the driver reads it (UTF-8) and gives its path.
std::string WriteScript(const TempFolder& folder, const std::string& script)
{
    const std::string scriptFile = folder.Path() + "skrypt.txt";
    WriteWholeFile(scriptFile, Convert(script, CP_ACP, CP_UTF8));
    return scriptFile;
}

TRun RunScript(const TempFolder& folder, const std::string& script, int timeoutSeconds = 10)
{
    return RunQmxDrive(folder, "--timeout " + std::to_string(timeoutSeconds) + " -f " + WriteScript(folder, script));
}

TEST(QmxDrive, RunsAScriptAgainstTheProgramItStarts)
{
    TempFolder folder;
    const std::string target = TestProgramFolder() + "uidriver_target.exe";
    const TRun run = RunScript(folder, "# a comment line\n"
                                       "start --env \"QMX_PROBA=żółw i jeż\" " + target + "\n"
                                       "wait-form \"Próba sterownika\"\n"
                                       "wait-usable fProba bDodaj\n"
                                       "click fProba bDodaj\n"
                                       "text fProba eImie \"Łukasz \\\"Ł\\\"\"\n"
                                       "get fProba lSrodowisko Caption\n"
                                       "get fProba xLog Lines\n"
                                       "click fProba bZamknij\n"
                                       "wait-exit\n");
    EXPECT_EQ(run.ExitCode, 0) << run.Err;
    // The process id first, then what get and wait-exit print.
    const size_t firstLine = run.Out.find('\n');
    ASSERT_NE(firstLine, std::string::npos) << run.Out;
    EXPECT_GT(std::stoi(run.Out.substr(0, firstLine)), 0);
    EXPECT_EQ(run.Out.substr(firstLine + 1),
              "żółw i jeż\nclick bDodaj\nchange eImie=Łukasz \"Ł\"\n3\n");
}

// The README's script example types the folder it shows: inside quotes a
// backslash escapes the next character, so the example doubles its own.
TEST(QmxDrive, TheReadmeExampleTypesTheFolderItShows)
{
    const std::string readme = ReadWholeFile(HostFolder(UIDRIVER_SOURCE_DIR) + "README.md");
    const std::string line = "\n    text eMain de ";
    const size_t at = readme.find(line);
    ASSERT_NE(at, std::string::npos) << "the README's example sets no destination";
    const size_t from = at + line.size();
    const std::string word = readme.substr(from, readme.find('\n', from) - from);
    TempFolder folder;
    const TRun run = RunScript(folder, "start " + TestProgramFolder() + "uidriver_target.exe\n"
                                       "wait-form \"Próba sterownika\"\n"
                                       "text fProba eImie " + word + "\n"
                                       "get fProba eImie Text\n"
                                       "kill\n");
    EXPECT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(run.Out.substr(run.Out.find('\n') + 1), "C:\\Program Files\\Qmx\n") << word;
}

TEST(QmxDrive, StopsAtTheFirstLineThatFails)
{
    TempFolder folder;
    // The program is started and waited for first, so that the short wait of
    // the failing line is spent on the missing component, however long the
    // program takes to start on a busy machine.
    const TRun started = RunScript(folder, "start " + TestProgramFolder() + "uidriver_target.exe\n"
                                           "wait-form \"Próba sterownika\"\n");
    ASSERT_EQ(started.ExitCode, 0) << started.Err;
    // The started program keeps the first run's output files open: the next
    // runs write theirs in a folder of their own.
    TempFolder next;
    const std::string pidText = started.Out.substr(0, started.Out.find('\n'));
    const TRun run = RunQmxDrive(next, "--pid " + pidText +
                                             " --timeout 1 -f " + WriteScript(next, "# the first line\n"
                                                                                      "click fProba bBrak\n"
                                                                                      "kill\n"));
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_NE(run.Err.find("skrypt.txt, line 2: waited 1 s in vain for fProba.bBrak to be usable; form fProba has no component bBrak"),
              std::string::npos)
        << run.Err;
    // The program is left running; another run finds it by its id.
    const DWORD pid = static_cast<DWORD>(std::stoul(pidText));
    HANDLE program = OpenProcess(SYNCHRONIZE, FALSE, pid);
    ASSERT_NE(program, nullptr);
    EXPECT_EQ(WaitForSingleObject(program, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    TempFolder last;
    const TRun kill = RunQmxDrive(last, "--pid " + std::to_string(pid) + " kill");
    EXPECT_EQ(kill.ExitCode, 0) << kill.Err;
    EXPECT_EQ(WaitForSingleObject(program, 5000), static_cast<DWORD>(WAIT_OBJECT_0));
    CloseHandle(program);
}

} // namespace
