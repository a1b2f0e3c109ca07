// Helpers of the socket tests: the application object, a message hook to
// compare against, a recorder of a socket's events, and a pair of connected
// sockets made through a listening one.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "common/WSocket.h"
#include "tests/loopback/LoopbackServer.h"
#include "tests/support/FreedMemory.h"

struct MessageHookProbe {
    void Hook(MSG&, bool&) {}
};

// Every event of a socket as a line: "connected 0", "closed 10054",
// "state 3>4", "error Error 10057 in function Send...".
struct SocketEvents {
    std::vector<std::string> lines;
    TCustomWSocket* socket = nullptr;
    bool readAll = true;  // OnDataAvailable receives what is waiting
    std::string received;

    explicit SocketEvents(TCustomWSocket* s, bool withErrorEvent = true);
    // Detaches from the socket, which must still be there (declare the
    // recorder after its socket): a socket that closes as it goes still
    // reports its change of state.
    ~SocketEvents();
    int Count(const std::string& prefix) const;
    void Connected(TObject*, WORD error);
    void Closed(TObject*, WORD error);
    void Available(TObject*, WORD error);
    void DataSent(TObject*, WORD error);
    void Data(TObject*, WORD error);
    void Lookup(TObject*, WORD error);
    void State(TObject*, TSocketState oldState, TSocketState newState);
    void Error(TObject*);
    void LineTooLong(TObject*);
};

// A port on 127.0.0.1 where nothing listens (one just closed).
inline std::string FreePort()
{
    return FreeLoopbackPort();
}
// Makes listener listen on 127.0.0.1, on a port the system chooses; gives
// the port.
std::string ListenOnLoopback(TWSocket& listener);
// 4000 bytes that are not all alike.
std::string Pattern4000();

// Handles messages until done() or ms milliseconds have passed.
template <class Done>
bool PumpUntil(Done done, unsigned ms = 10000)
{
    const ULONGLONG end = GetTickCount64() + ms;
    while (!done()) {
        if (GetTickCount64() >= end)
            return false;
        PumpMessagesFor(10);
    }
    return true;
}

// A server socket listening on 127.0.0.1, the connection it accepted (as a
// socket of its own) and a client connected to it.
class SocketPair {
public:
    SocketPair();
    TWSocket listener{nullptr};
    TWSocket server{nullptr};
    TWSocket client{nullptr};
    std::string port;

private:
    void Accept(TObject*, WORD);
};
