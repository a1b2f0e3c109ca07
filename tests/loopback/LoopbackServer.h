// The test program's side of the loopback HTTP server (loopback_server.py,
// see README.md beside it): where it listens, the table it answers from,
// and the log of what each connection sent.
#pragma once

#include <string>
#include <vector>

class TLoopbackServer {
public:
    // One connection as the server logged it.
    struct TConnection {
        int Number = 0;
        std::string Method;
        std::string Target;
        std::string Row;      // "GET_/a.qmx", or "-" when no row matched
        int Head = 0;         // bytes up to and including the empty line
        int After = 0;        // bytes after it
        int Sent = 0;         // bytes the server sent
        std::string End;      // FIN, RESET, OPEN (the client did not close), -
        std::string Request;  // every byte the client sent
    };

    // From QMX_HTTP_PORT and QMX_HTTP_DIR, which the server gives the
    // program it runs; Available() is false without them.
    TLoopbackServer();

    bool Available() const { return port_ != 0; }
    int Port() const { return port_; }
    // The server's folder as Windows names it, with a trailing backslash.
    const std::string& Folder() const { return folder_; }
    // "http://127.0.0.1:<port>" + path.
    std::string Url(const std::string& path) const;

    // Replaces the table (written whole, then renamed into place).
    void SetTable(const std::string& table) const;
    // The connections logged so far, in the order they ended.
    std::vector<TConnection> Log() const;
    // Handles the thread's messages until count connections are logged (at
    // most ms milliseconds): the server logs a connection once the client
    // has closed it, and the client closes from its messages.
    std::vector<TConnection> WaitForLog(size_t count, unsigned ms = 30000) const;
    // The same until the server stalls on a connection (stall-after or
    // no-answer); takes the server's flag away, so that the next stall is
    // seen anew.
    bool WaitForStall(unsigned ms = 30000) const;
    // Lets a connection held by hold-after send the rest of its body.
    void Release() const;

    // The bytes of a body-size row: byte i is i % 251.
    static std::string Pattern(size_t size);
    // Bytes as the table writes them: "%", control characters and bytes
    // above 126 as %XX.
    static std::string Escape(const std::string& bytes);

private:
    int port_ = 0;
    std::string folder_;
};

// Handles the calling thread's messages for about ms milliseconds, sleeping
// while none are waiting.
void PumpMessagesFor(unsigned ms);

// A port of 127.0.0.1 where nothing listens: one bound, then let go.
std::string FreeLoopbackPort();
