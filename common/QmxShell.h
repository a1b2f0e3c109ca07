// The shell utility unit: paths of the shell's special folders, the shell's
// type name of a file, and log lines: one dated line appended to a text
// file, the common form of the programs' logs and of the installer's report.
#pragma once

#include <string>

// The desktop folder and the Start-menu folder, each with a trailing
// backslash; set by InitializeQmxShell.
extern std::string DesktopFolder;
extern std::string StartMenuFolder;

// The unit's start: fills DesktopFolder and StartMenuFolder. Raises like
// GetSpecialFolderPath when either has no file-system path.
void InitializeQmxShell();

// The CSIDL of special folder Index (only its low seven bits count): 0 recycle
// bin, 1 control panel, 2 desktop, 3 desktop folder, 4 my computer, 5 fonts,
// 6 network neighbourhood folder, 7 network, 8 personal, 9 printers,
// 10 programs, 11 recent documents, 12 send to, 13 Start menu, 14 startup,
// 15 templates; any other index my computer.
int SpecialFolderToCsidl(int Index);
// The file-system path of a special folder with a trailing backslash. Raises
// EOSError for a folder the shell does not know (its result code) or that has
// no file-system path (control panel, printers, network).
std::string GetSpecialFolderPath(int Csidl);
// The user's Personal folder with a trailing backslash.
std::string GetPersonalFolder();
// The shell's type name of a file; empty when the shell gives none.
std::string GetFileTypeName(const std::string& Path);

// "dd-mm-yyyy hh:mm:ss - " + Msg, dated now (the class library's clock): a
// line of a log.
std::string LogLine(const std::string& Msg);

// A text file opened for appending only: whatever it holds stays, and a
// line another program wrote meanwhile is not overwritten. Each line goes to
// the system at once, nothing waits in a buffer of ours. No critical-error
// box comes up (a drive that is not ready). Raises EInOutError when the file
// cannot be created or opened, or a line cannot be written.
class TAppendFile {
public:
    explicit TAppendFile(const std::string& FileName);
    ~TAppendFile();
    TAppendFile(const TAppendFile&) = delete;
    TAppendFile& operator=(const TAppendFile&) = delete;

    // Writes Line and CR LF.
    void WriteLine(const std::string& Line);
    // Closes now, so that a failed close can be reported.
    bool Close();

private:
    void* handle_;
};

// Appends "dd-mm-yyyy hh:mm:ss - " + Msg (now, from the class library's
// clock) as one line. A FileName without a folder part names a file in the
// program's folder, whatever the current folder is.
bool AppendLogLine(const std::string& FileName, const std::string& Msg);
// Appends Line and CR LF to FileName, creating the file when it does not
// exist. False only for an empty FileName; a file that cannot be created or
// written raises EInOutError, the lines already in it kept.
bool AppendLineToFile(const std::string& FileName, const std::string& Line);
