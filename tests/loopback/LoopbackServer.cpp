#include "tests/loopback/LoopbackServer.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

std::string ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// "key=value" words of a log line.
std::string Field(const std::string& word, const char* key)
{
    const std::string prefix = std::string(key) + "=";
    return word.compare(0, prefix.size(), prefix) == 0 ? word.substr(prefix.size()) : std::string();
}

} // namespace

void PumpMessagesFor(unsigned ms)
{
    const ULONGLONG end = GetTickCount64() + ms;
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        const ULONGLONG now = GetTickCount64();
        if (now >= end)
            return;
        MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(end - now), QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
}

std::string FreeLoopbackPort()
{
    WSADATA data;
    WSAStartup(MAKEWORD(1, 1), &data);
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = inet_addr("127.0.0.1");
    bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    int len = sizeof addr;
    getsockname(s, reinterpret_cast<sockaddr*>(&addr), &len);
    closesocket(s);
    WSACleanup();
    return std::to_string(ntohs(addr.sin_port));
}

TLoopbackServer::TLoopbackServer()
{
    const char* port = std::getenv("QMX_HTTP_PORT");
    const char* folder = std::getenv("QMX_HTTP_DIR");
    if (!port || !folder)
        return;
    port_ = std::atoi(port);
    folder_ = folder;
    if (!folder_.empty() && folder_.back() != '\\')
        folder_ += '\\';
}

std::string TLoopbackServer::Url(const std::string& path) const
{
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

void TLoopbackServer::SetTable(const std::string& table) const
{
    const std::string temporary = folder_ + "table.new";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << table;
    }
    MoveFileExA(temporary.c_str(), (folder_ + "table").c_str(), MOVEFILE_REPLACE_EXISTING);
}

std::vector<TLoopbackServer::TConnection> TLoopbackServer::Log() const
{
    std::vector<TConnection> log;
    std::istringstream lines(ReadFileBytes(folder_ + "log"));
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        TConnection c;
        std::string word;
        words >> c.Number >> c.Method >> c.Target;
        while (words >> word) {
            if (word.rfind("row=", 0) == 0)
                c.Row = Field(word, "row");
            else if (word.rfind("head=", 0) == 0)
                c.Head = std::atoi(Field(word, "head").c_str());
            else if (word.rfind("after=", 0) == 0)
                c.After = std::atoi(Field(word, "after").c_str());
            else if (word.rfind("sent=", 0) == 0)
                c.Sent = std::atoi(Field(word, "sent").c_str());
            else if (word.rfind("end=", 0) == 0)
                c.End = Field(word, "end");
        }
        c.Request = ReadFileBytes(folder_ + std::to_string(c.Number) + ".req");
        log.push_back(c);
    }
    return log;
}

std::vector<TLoopbackServer::TConnection> TLoopbackServer::WaitForLog(size_t count, unsigned ms) const
{
    const ULONGLONG end = GetTickCount64() + ms;
    for (;;) {
        std::vector<TConnection> log = Log();
        if (log.size() >= count || GetTickCount64() >= end)
            return log;
        PumpMessagesFor(20);
    }
}

bool TLoopbackServer::WaitForStall(unsigned ms) const
{
    const std::string pattern = folder_ + "stalled-*";
    const ULONGLONG end = GetTickCount64() + ms;
    for (;;) {
        WIN32_FIND_DATAA data;
        HANDLE find = FindFirstFileA(pattern.c_str(), &data);
        if (find != INVALID_HANDLE_VALUE) {
            FindClose(find);
            DeleteFileA((folder_ + data.cFileName).c_str());
            return true;
        }
        if (GetTickCount64() >= end)
            return false;
        PumpMessagesFor(20);
    }
}

void TLoopbackServer::Release() const
{
    std::ofstream(folder_ + "go", std::ios::binary | std::ios::trunc);
}

std::string TLoopbackServer::Pattern(size_t size)
{
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>(i % 251);
    return bytes;
}

std::string TLoopbackServer::Escape(const std::string& bytes)
{
    std::string out;
    for (unsigned char c : bytes) {
        if (c == '%' || c < 32 || c > 126) {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%%%02X", c);
            out += hex;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}
