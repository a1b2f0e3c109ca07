// Helpers shared by the test programs.
#pragma once

#include <functional>
#include <string>
#include <vector>

class TBitmap;
struct HWND__;

// A new empty folder under the system's temporary folder, removed with its
// contents when the object goes.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    // The folder's path with a trailing backslash.
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

// Tell tools/wine-run --start-mark that the program started (first thing in
// main) and that main ends with exitCode (return MarkEnded(code)), in the
// file QMX_START_MARK names. A run without the first never reached the
// program and is started once more; a run without the second did not end
// through main (it crashed, whatever exit code Wine gave) and fails.
void MarkStarted();
int MarkEnded(int exitCode);

// Runs a program with a command line and waits for it (at most timeoutMs);
// gives its exit code, or -1 when it could not be started or did not end.
int RunProgram(const std::string& commandLine, unsigned timeoutMs = 30000);

// The folder of the running test program, with a trailing backslash.
std::string TestProgramFolder();
// The full path of a file or folder of the build, given relative to the
// build's top folder (as "installer\\kelvor.exe" or "medium\\").
std::string BuiltPath(const std::string& relative);
// A folder of the host (a Unix path) as Wine sees it, with a trailing "\".
std::string HostFolder(const char* unixPath);

std::string ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::string& bytes);
// A file of size bytes that holds nothing: the file system keeps no data for
// it, so a file of several gigabytes costs no disk. False when it cannot be
// made.
bool MakeHollowFile(const std::string& path, long long size);

// Saves a picture for people as a PNG file at folder + name (folder being a
// test's temporary folder) and, when QMX_PICTURES names a folder, copies it
// there as well, so that a person can look at what the test drew; gives the
// path in folder.
std::string SavePicture(TBitmap& bitmap, const std::string& folder, const std::string& name);
// The same for a picture of a window as it stands on the screen.
std::string SavePicture(HWND__* wnd, const std::string& folder, const std::string& name);

// Handles the messages waiting, for about ms milliseconds.
void PumpMessages(int ms);

// How long a test waits at most for something that is bound to happen: a
// bound for a machine far slower than any, never a time the test relies on.
constexpr unsigned EventLimitMs = 30000;
// Handles the messages waiting until done() holds, at most ms milliseconds;
// gives done().
bool PumpUntil(const std::function<bool()>& done, unsigned ms = EventLimitMs);
// The same without handling messages, for a thread that has none to handle.
bool WaitUntil(const std::function<bool()>& done, unsigned ms = EventLimitMs);

// A showing dialog window (class "#32770": message boxes, the shell's
// dialogs) of the process; nullptr when none shows.
HWND__* FindDialogOf(unsigned long pid);

// Ends the command interpreters that the process parentPid started (under
// Wine a batch file's loop that deletes the batch itself never ends); gives
// how many were ended.
int EndBatchesOf(unsigned long parentPid);

// The names of the entries matching pattern ("." and ".." left out), in the
// order the file system lists them.
std::vector<std::string> EntriesMatching(const std::string& pattern);

// Waits until nothing exists at path, at most ms milliseconds.
bool WaitUntilGone(const std::string& path, unsigned ms);
