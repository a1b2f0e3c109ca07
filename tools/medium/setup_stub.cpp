// Stand-in for a setup program of the medium (the font and the common-controls
// setup). It does nothing but record how it was started: one line, its own
// file name and its arguments, appended to the file named by the environment
// variable QMX_SETUP_LOG, or to "setup.log" beside the program when that
// variable is empty or unset. The installer's tests read that line.
#include <windows.h>

#ifndef STUB_NAME
#error "STUB_NAME names the program, e.g. \"newfnt32.exe\""
#endif

namespace {

class FileHandle {
public:
    explicit FileHandle(HANDLE h) : h_(h) {}
    ~FileHandle()
    {
        if (h_ != INVALID_HANDLE_VALUE)
            CloseHandle(h_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    HANDLE Get() const { return h_; }

private:
    HANDLE h_;
};

// The command line without the program's own token (quoted or bare), as a
// Windows program of the time would take its arguments.
const char* Arguments()
{
    const char* p = GetCommandLineA();
    if (*p == '"') {
        ++p;
        while (*p && *p != '"')
            ++p;
        if (*p == '"')
            ++p;
    } else {
        while (*p && *p != ' ' && *p != '\t')
            ++p;
    }
    while (*p == ' ' || *p == '\t')
        ++p;
    return p;
}

// False when the path does not fit.
bool LogPath(char (&path)[MAX_PATH])
{
    const DWORD n = GetEnvironmentVariableA("QMX_SETUP_LOG", path, MAX_PATH);
    if (n > 0 && n < MAX_PATH)
        return true;
    const char name[] = "setup.log";
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return false;
    DWORD folder = length;
    while (folder > 0 && path[folder - 1] != '\\')
        --folder;
    if (folder + sizeof name > MAX_PATH)
        return false;
    CopyMemory(path + folder, name, sizeof name);
    return true;
}

bool Write(HANDLE file, const char* text, DWORD length)
{
    DWORD written = 0;
    return WriteFile(file, text, length, &written, nullptr) && written == length;
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    // A real setup takes a while; the pause lets a test tell an installer that
    // waits for it from one that does not.
    Sleep(200);

    char path[MAX_PATH];
    if (!LogPath(path))
        return 1;
    FileHandle log(CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
    if (log.Get() == INVALID_HANDLE_VALUE)
        return 1;

    // One line in one write, so that lines of two stubs never interleave.
    static char line[sizeof STUB_NAME + 32768 + 2];
    DWORD length = sizeof STUB_NAME - 1;
    CopyMemory(line, STUB_NAME, length);
    const char* args = Arguments();
    if (*args) {
        line[length++] = ' ';
        for (; *args && length < sizeof line - 2; ++args)
            line[length++] = *args;
    }
    line[length++] = '\r';
    line[length++] = '\n';
    return Write(log.Get(), line, length) ? 0 : 1;
}
