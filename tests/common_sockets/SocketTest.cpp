// The socket's connection side: names, connecting and refusal, listening,
// closing, look-ups, error texts.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "SocketTestUtil.h"
#include "classlib/TypInfo.h"

namespace {

std::string ErrorOf(TCustomWSocket& socket, void (*action)(TCustomWSocket&))
{
    try {
        action(socket);
    } catch (const ESocketException& e) {
        return e.Message();
    }
    return "";
}

TEST(WSocket, ErrorTexts)
{
    struct Row {
        int code;
        const char* text;
    };
    const Row rows[] = {
        {0, "No Error"},
        {10004, "Interrupted system call"},
        {10035, "Operation would block"},
        {10047, "Address family not supported by protocol family"},
        {10054, "Connection reset by peer"},
        {10057, "Socket is not connected"},
        {10061, "Connection refused"},
        {10069, "Disc quota exceeded"},
        {10071, "Too many levels of remote in path"},
        {10091, "Network sub-system is unusable"},
        {10093, "WinSock not initialized"},
        {11001, "Host not found"},
        {11004, "No Data"},
        {10072, "Not a WinSock error"},
        {-1, "Not a WinSock error"},
        {11005, "Not a WinSock error"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(WinsockErrorText(row.code), row.text) << row.code;
}

TEST(WSocket, HiddenWindowOfItsOwnClassWithRoomForAPointer)
{
    TWSocket socket(nullptr);
    char name[64] = {};
    GetClassNameA(socket.Handle(), name, sizeof name);
    EXPECT_STREQ(name, "XSocketWindowClass");
    WNDCLASSEXA info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetClassInfoExA(GetModuleHandleA(nullptr), "XSocketWindowClass", &info));
    EXPECT_GE(info.cbWndExtra, static_cast<int>(sizeof(void*)));
    EXPECT_FALSE(IsWindowVisible(socket.Handle()));
    EXPECT_FALSE(LocalHostName().empty());
}

TEST(WSocket, DefaultsAndPublishedProperties)
{
    TWSocket socket(nullptr);
    EXPECT_EQ(socket.State(), wsClosed);
    EXPECT_EQ(socket.Proto(), "tcp");
    EXPECT_EQ(socket.FlushTimeout(), 60);
    EXPECT_EQ(socket.LingerOnOff(), wsLingerOn);
    EXPECT_EQ(socket.LingerTimeout(), 0);
    EXPECT_EQ(socket.SendFlags(), wsSendNormal);
    EXPECT_EQ(socket.HSocket(), INVALID_SOCKET);
    for (const char* name : {"Addr", "Port", "Proto", "DnsResult", "DnsResultList", "State", "ReadCount", "RcvdCount",
                             "LastError", "MultiThreaded", "OnDataAvailable", "OnDataSent", "OnSessionClosed",
                             "OnSessionAvailable", "OnSessionConnected", "OnChangeState", "OnLineTooLong",
                             "OnDnsLookupDone", "OnError", "WaitCtrl", "FlushTimeout", "SendFlags", "LingerOnOff",
                             "LingerTimeout"})
        EXPECT_NE(GetPropInfo(&socket, name), nullptr) << name;
    SetPropText(&socket, FindPropInfo(&socket, "SendFlags"), "wsSendUrgent");
    EXPECT_EQ(socket.SendFlags(), wsSendUrgent);
}

TEST(WSocket, NamesAreCheckedAsTheyAreSet)
{
    TWSocket socket(nullptr);
    socket.SetAddr("  127.0.0.1 ");
    EXPECT_EQ(socket.Addr(), "127.0.0.1");
    socket.SetPort(" 8080 ");
    EXPECT_EQ(socket.Port(), "8080");
    // A service name is looked up with the protocol: http is a TCP service,
    // tftp a UDP one.
    EXPECT_EQ(ErrorOf(socket, [](TCustomWSocket& s) { s.SetPort("http"); }), "");
    const std::string tcp = ErrorOf(socket, [](TCustomWSocket& s) { s.SetPort("tftp"); });
    EXPECT_EQ(tcp.rfind("Error ", 0), 0u) << tcp;
    EXPECT_NE(tcp.find(" in function SetPort: Cannot convert port 'tftp'\r\n"), std::string::npos) << tcp;
    socket.SetProto("udp");
    EXPECT_EQ(ErrorOf(socket, [](TCustomWSocket& s) { s.SetPort("tftp"); }), "");
    EXPECT_EQ(ErrorOf(socket, [](TCustomWSocket& s) { s.SetPort("http"); }),
              "Error 11004 in function SetPort: Cannot convert port 'http'\r\nNo Data");
    // The same text again while it stands assigned changes nothing.
    EXPECT_EQ(ErrorOf(socket, [](TCustomWSocket& s) { s.SetPort("tftp"); }), "");
    EXPECT_EQ(ErrorOf(socket, [](TCustomWSocket& s) { s.SetPort("tftp"); }), "");
    const std::string proto = ErrorOf(socket, [](TCustomWSocket& s) { s.SetProto("no-such-protocol"); });
    EXPECT_NE(proto.find(" in function SetProto: Cannot convert protocol 'no-such-protocol'\r\n"), std::string::npos)
        << proto;
    EXPECT_EQ(ErrorOf(socket, [](TCustomWSocket& s) { s.SetSendFlags(static_cast<TSocketSendFlags>(7)); }),
              "Invalid SendFlags");
}

TEST(WSocket, ConnectChecksWhatIsMissing)
{
    struct Row {
        const char* addr;
        const char* port;
        const char* proto;
        const char* error;
    };
    const Row rows[] = {
        {"127.0.0.1", "", "tcp", "Connect: Nie podano portu."},
        {"", "80", "tcp", "Connect: Nie podano adresu IP."},
        {"127.0.0.1", "80", "", "Connect: Nie podano protokołu"},
        {"qmx-no-such-host.invalid", "80", "tcp", "SetAddr: Nie mogę rozpoznać adresu qmx-no-such-host.invalid."},
    };
    for (const Row& row : rows) {
        TWSocket socket(nullptr);
        socket.SetAddr(row.addr);
        socket.SetPort(row.port);
        socket.SetProto(row.proto);
        EXPECT_EQ(ErrorOf(socket, [](TCustomWSocket& s) { s.Connect(); }), row.error) << row.error;
        EXPECT_EQ(socket.State(), wsClosed) << row.error;
        EXPECT_EQ(socket.HSocket(), INVALID_SOCKET) << row.error;
    }
}

TEST(WSocket, RefusedConnectionReportsTheErrorThenClosesOnce)
{
    TWSocket socket(nullptr);
    SocketEvents events(&socket);
    socket.SetAddr("127.0.0.1");
    socket.SetPort(FreePort());
    socket.Connect();
    EXPECT_EQ(socket.State(), wsConnecting);
    ASSERT_TRUE(PumpUntil([&] { return socket.State() == wsClosed; }));
    PumpMessagesFor(50);
    EXPECT_EQ(events.lines, (std::vector<std::string>{"state 7>1", "state 1>3", "state 3>4", "connected 10061",
                                                      "state 4>7", "closed 0"}));
    EXPECT_EQ(socket.HSocket(), INVALID_SOCKET);
    // Closing put the defaults back: the port must be given again.
    EXPECT_EQ(ErrorOf(socket, [](TCustomWSocket& s) {
                  s.OnError.Clear();
                  s.Connect();
              }),
              "Connect: Nie podano portu.");
}

TEST(WSocket, ListeningPairTalksBothWays)
{
    SocketPair pair;
    SocketEvents serverEvents(&pair.server);
    SocketEvents clientEvents(&pair.client);
    EXPECT_EQ(pair.listener.State(), wsListening);
    EXPECT_EQ(pair.listener.GetXPort(), pair.port);
    EXPECT_EQ(pair.server.GetPeerAddr(), "127.0.0.1");
    EXPECT_EQ(pair.client.GetPeerAddr(), "127.0.0.1");
    EXPECT_EQ(pair.listener.GetPeerAddr(), "error");
    EXPECT_EQ(pair.client.SendStr("hello"), 5);
    EXPECT_EQ(pair.server.SendStr("world!"), 6);
    ASSERT_TRUE(PumpUntil([&] { return serverEvents.received == "hello" && clientEvents.received == "world!"; }));
    EXPECT_EQ(clientEvents.Count("sent 0"), 1);
    EXPECT_EQ(pair.server.ReadCount(), 5);

    // The peer closes: OnSessionClosed once, then the socket is closed.
    pair.client.Close();
    EXPECT_EQ(clientEvents.Count("closed"), 1);
    ASSERT_TRUE(PumpUntil([&] { return pair.server.State() == wsClosed; }));
    EXPECT_EQ(serverEvents.Count("closed"), 1);
    EXPECT_EQ(pair.server.ReadCount(), 0);  // defaults back
}

TEST(WSocket, ChangesOfNameWhileOpenAreRefused)
{
    SocketPair pair;
    SocketEvents events(&pair.client);
    pair.client.SetAddr("127.0.0.1");  // the same text: nothing happens
    pair.client.SetPort(pair.port);
    EXPECT_TRUE(events.lines.empty());
    pair.client.OnError.Clear();
    EXPECT_EQ(ErrorOf(pair.client, [](TCustomWSocket& s) { s.SetAddr("127.0.0.2"); }), "Cannot change Addr if not closed");
    EXPECT_EQ(ErrorOf(pair.client, [](TCustomWSocket& s) { s.SetPort("1"); }), "Cannot change Port if not closed");
    EXPECT_EQ(ErrorOf(pair.client, [](TCustomWSocket& s) { s.SetProto("udp"); }), "Cannot change Proto if not closed");
    EXPECT_EQ(ErrorOf(pair.client, [](TCustomWSocket& s) { s.Connect(); }), "Connect: Połączenie jest już w użyciu.");
    EXPECT_EQ(pair.client.State(), wsConnected);
}

TEST(WSocket, ListenFailureClosesTheNewHandle)
{
    SocketPair pair;  // its listener holds the port
    TWSocket second(nullptr);
    SocketEvents events(&second);
    second.SetAddr("127.0.0.1");
    second.SetPort(pair.port);
    EXPECT_EQ(second.Listen(), -1);
    EXPECT_EQ(second.LastError(), WSAEADDRINUSE);
    EXPECT_EQ(second.State(), wsClosed);
    EXPECT_EQ(second.HSocket(), INVALID_SOCKET);
    EXPECT_EQ(events.lines, (std::vector<std::string>{"closed 0", "error 10048"}));
}

TEST(WSocket, ImmediateConnectFailureClosesTheNewHandle)
{
    // A stream connection to the broadcast address fails at once.
    TWSocket socket(nullptr);
    SocketEvents events(&socket);
    socket.SetAddr("255.255.255.255");
    socket.SetPort("80");
    socket.Connect();
    EXPECT_EQ(events.lines, (std::vector<std::string>{"state 7>1", "state 1>7", "closed 0", "error 10051"}));
    EXPECT_EQ(socket.State(), wsClosed);
    EXPECT_EQ(socket.HSocket(), INVALID_SOCKET);
}

TEST(WSocket, DatagramSocketIsConnectedAtOnce)
{
    for (const char* proto : {"udp", "17"}) {
        TWSocket socket(nullptr);
        SocketEvents events(&socket);
        socket.SetProto(proto);
        socket.SetAddr("127.0.0.1");
        socket.SetPort(FreePort());
        socket.Connect();
        EXPECT_EQ(socket.State(), wsConnected) << proto;
        EXPECT_EQ(events.lines, (std::vector<std::string>{"state 7>1", "state 1>4", "connected 0"})) << proto;
        EXPECT_NE(socket.GetXPort(), "error") << proto;
    }
}

TEST(WSocket, LookUps)
{
    TWSocket socket(nullptr);
    SocketEvents events(&socket);

    socket.DnsLookup("127.0.0.1");
    EXPECT_EQ(events.lines, (std::vector<std::string>{"lookup 0"}));
    EXPECT_EQ(socket.DnsResult(), "127.0.0.1");
    EXPECT_EQ(socket.DnsResultList()->Count(), 0);

    events.lines.clear();
    socket.DnsLookup("localhost");
    EXPECT_TRUE(events.lines.empty());
    ASSERT_TRUE(PumpUntil([&] { return !events.lines.empty(); }));
    EXPECT_EQ(events.lines, (std::vector<std::string>{"lookup 0"}));
    EXPECT_EQ(socket.DnsResult(), "127.0.0.1");
    EXPECT_GE(socket.DnsResultList()->IndexOf("127.0.0.1"), 0);

    events.lines.clear();
    socket.ReverseDnsLookup("127.0.0.1");
    ASSERT_TRUE(PumpUntil([&] { return !events.lines.empty(); }));
    EXPECT_EQ(events.lines, (std::vector<std::string>{"lookup 0"}));
    EXPECT_FALSE(socket.DnsResult().empty());
    EXPECT_EQ(socket.DnsResultList()->Count(), 1);

    events.lines.clear();
    socket.DnsLookup("qmx-no-such-host.invalid");
    ASSERT_TRUE(PumpUntil([&] { return !events.lines.empty(); }));
    EXPECT_EQ(events.lines.size(), 1u);
    EXPECT_NE(events.lines[0], "lookup 0");

    // An empty name: the error, then the look-up ends with 10022.
    events.lines.clear();
    socket.DnsLookup("");
    EXPECT_EQ(events.lines, (std::vector<std::string>{"error 0", "lookup 10022"}));
    socket.OnError.Clear();
    EXPECT_EQ(ErrorOf(socket, [](TCustomWSocket& s) { s.ReverseDnsLookup(""); }), "DNS lookup: błędna nazwa serwera.");
}

TEST(WSocket, CancelledLookUpEndsWith10004AndItsAnswerIsDropped)
{
    TWSocket socket(nullptr);
    SocketEvents events(&socket);
    socket.DnsLookup("localhost");
    socket.CancelDnsLookup();
    EXPECT_EQ(events.lines, (std::vector<std::string>{"lookup 10004"}));
    PumpMessagesFor(300);
    EXPECT_EQ(events.lines, (std::vector<std::string>{"lookup 10004"}));
    socket.CancelDnsLookup();  // nothing pending: nothing happens
    EXPECT_EQ(events.lines.size(), 1u);
}

// Plays the system's look-ups as Wine does them: each request is kept, and
// answered when the test says so, the answer written into the buffer the
// request gave and then posted, also after a cancel (which reports success).
class SystemLookups {
public:
    struct Request {
        HWND window;
        u_int msg;
        char* buffer;
        int size;
        HANDLE handle;
    };
    SystemLookups()
    {
        requests.clear();
        TLookupCalls calls;
        calls.GetHostByName = &GetHostByName;
        calls.CancelRequest = &Cancel;
        old_ = SetLookupCalls(calls);
    }
    ~SystemLookups() { SetLookupCalls(old_); }

    // Writes a host with one address into the request's buffer.
    static void Write(const Request& r, const char* address)
    {
        struct Answer {
            hostent host;
            char* list[2];
            in_addr addr;
            char name[8];
        };
        ASSERT_GE(r.size, static_cast<int>(sizeof(Answer)));
        auto* a = reinterpret_cast<Answer*>(r.buffer);
        a->addr.s_addr = inet_addr(address);
        a->list[0] = reinterpret_cast<char*>(&a->addr);
        a->list[1] = nullptr;
        std::strcpy(a->name, "serwer");
        a->host.h_name = a->name;
        a->host.h_aliases = &a->list[1];
        a->host.h_addrtype = AF_INET;
        a->host.h_length = sizeof a->addr;
        a->host.h_addr_list = a->list;
    }
    static void Post(const Request& r)
    {
        PostMessageA(r.window, r.msg, reinterpret_cast<WPARAM>(r.handle), 0);
    }

    static std::vector<Request> requests;

private:
    static HANDLE WINAPI GetHostByName(HWND window, u_int msg, const char*, char* buffer, int size)
    {
        requests.push_back({window, msg, buffer, size, reinterpret_cast<HANDLE>(requests.size() + 0x100)});
        return requests.back().handle;
    }
    static int WINAPI Cancel(HANDLE) { return 0; }

    TLookupCalls old_;
};

std::vector<SystemLookups::Request> SystemLookups::requests;

// The answer of a look-up whose socket went meanwhile is written all the
// same: none of it may land in the memory the socket had (here the test's
// own, marked once the socket went).
TEST(WSocket, ALookUpAnsweredAfterItsSocketWentWritesNothingOfTheSocket)
{
    SystemLookups system;
    alignas(TWSocket) unsigned char storage[sizeof(TWSocket)];
    auto* socket = new (storage) TWSocket(nullptr);
    socket->DnsLookup("serwer.qmx.invalid");
    ASSERT_EQ(system.requests.size(), 1u);
    socket->~TWSocket();
    std::memset(storage, 0xA5, sizeof storage);
    system.Write(system.requests[0], "10.0.0.1");
    system.Post(system.requests[0]);
    PumpMessagesFor(0);
    EXPECT_EQ(std::count(storage, storage + sizeof storage, 0xA5), static_cast<std::ptrdiff_t>(sizeof storage));
}

// A cancelled look-up's answer may be written after the next look-up's
// answer and before its message: the next one still reads its own.
TEST(WSocket, TheLateAnswerOfACancelledLookUpLeavesTheNextOneAlone)
{
    SystemLookups system;
    TWSocket socket(nullptr);
    SocketEvents events(&socket);
    socket.DnsLookup("stary.qmx.invalid");
    socket.CancelDnsLookup();
    socket.DnsLookup("nowy.qmx.invalid");
    ASSERT_EQ(system.requests.size(), 2u);
    system.Write(system.requests[1], "10.0.0.2");
    system.Write(system.requests[0], "10.0.0.1");
    system.Post(system.requests[1]);
    system.Post(system.requests[0]);
    PumpMessagesFor(0);
    EXPECT_EQ(events.lines, (std::vector<std::string>{"lookup 10004", "lookup 0"}));
    EXPECT_EQ(socket.DnsResult(), "10.0.0.2");
    EXPECT_EQ(socket.DnsResultList()->Count(), 1);
}

TEST(WSocket, AbortClosesAtOnce)
{
    SocketPair pair;
    SocketEvents events(&pair.client);
    pair.client.Abort();
    EXPECT_EQ(pair.client.State(), wsClosed);
    EXPECT_EQ(events.Count("closed"), 1);
    SocketEvents serverEvents(&pair.server);
    ASSERT_TRUE(PumpUntil([&] { return pair.server.State() == wsClosed; }));
    EXPECT_EQ(serverEvents.Count("closed"), 1);
}

// A socket whose sends the system refuses with an error, when one is given.
class TRefusingSocket : public TWSocket {
public:
    using TWSocket::TWSocket;
    int Refusal = 0;

protected:
    int RawSend(const void* data, int len) override
    {
        if (Refusal == 0)
            return TWSocket::RawSend(data, len);
        WSASetLastError(Refusal);
        return SOCKET_ERROR;
    }
};

// A socket that a handler of one of its events frees, in memory that cannot
// be read once freed; a listener of the test's, and the test's end of a
// connection to it (or to the socket, when it listens).
struct FreedFromItsEvent {
    TWSocket listener{nullptr};
    TWSocket peer{nullptr};
    Poisoned<TRefusingSocket> socket;
    TSocketState freeAt = wsInvalidState;

    TRefusingSocket& Socket() { return *socket.object; }
    void Free(TObject*) { socket.Free(); }
    void FreeWithCode(TObject*, WORD) { socket.Free(); }
    void FreeInState(TObject*, TSocketState, TSocketState newState)
    {
        if (newState == freeAt)
            socket.Free();
    }
    void Accept(TObject*, WORD) { peer.Dup(listener.Accept()); }
    void ConnectTo(const std::string& port)
    {
        Socket().SetAddr("127.0.0.1");
        Socket().SetPort(port);
        Socket().Connect();
    }
    void Listen()
    {
        Socket().SetAddr("127.0.0.1");
        Socket().SetPort("0");
        Socket().Listen();
    }
    void ConnectToListener()
    {
        listener.OnSessionAvailable = TSessionAvailable(this, &FreedFromItsEvent::Accept);
        ConnectTo(ListenOnLoopback(listener));
    }
};

TEST(WSocket, ASocketFreedByAHandlerOfItsEventIsReadNoMore)
{
    using F = FreedFromItsEvent;
    enum Setup { Nothing, Connected };
    struct Row {
        const char* what;
        Setup setup;
        void (*bind)(F&);
        void (*provoke)(F&);
        TSocketState freeAt = wsInvalidState;  // for OnChangeState
    };
    const auto onState = [](F& f) { f.Socket().OnChangeState = TChangeState(&f, &F::FreeInState); };
    const auto onClosed = [](F& f) { f.Socket().OnSessionClosed = TSessionClosed(&f, &F::FreeWithCode); };
    const auto onConnected = [](F& f) { f.Socket().OnSessionConnected = TSessionConnected(&f, &F::FreeWithCode); };
    const auto onLookup = [](F& f) { f.Socket().OnDnsLookupDone = TDnsLookupDone(&f, &F::FreeWithCode); };
    const Row rows[] = {
        {"OnChangeState to wsOpened, in Connect", Nothing, onState, [](F& f) { f.ConnectToListener(); }, wsOpened},
        {"OnChangeState to wsConnected", Nothing, onState, [](F& f) { f.ConnectToListener(); }, wsConnected},
        {"OnChangeState to wsListening, in Listen", Nothing, onState, [](F& f) { f.Listen(); }, wsListening},
        {"OnSessionConnected", Nothing, onConnected, [](F& f) { f.ConnectToListener(); }},
        {"OnSessionConnected, the connection refused", Nothing, onConnected,
         [](F& f) { f.ConnectTo(FreePort()); }},
        {"OnSessionAvailable", Nothing,
         [](F& f) { f.Socket().OnSessionAvailable = TSessionAvailable(&f, &F::FreeWithCode); },
         [](F& f) {
             f.peer.SetAddr("127.0.0.1");
             f.peer.SetPort(ListenOnLoopback(f.Socket()));
             f.peer.Connect();
         }},
        {"OnDataAvailable", Connected,
         [](F& f) { f.Socket().OnDataAvailable = TDataAvailable(&f, &F::FreeWithCode); },
         [](F& f) { f.peer.SendStr("x"); }},
        {"OnDataSent", Connected, [](F& f) { f.Socket().OnDataSent = TDataSent(&f, &F::FreeWithCode); },
         [](F& f) { f.Socket().SendStr("x"); }},
        {"OnLineTooLong", Connected, [](F& f) { f.Socket().OnLineTooLong = TNotifyEvent(&f, &F::Free); },
         [](F& f) {
             f.peer.SendStr(std::string(300, 'a'));
             f.Socket().SetMultiThreaded(true);
             std::string line;
             f.Socket().ReadLine(5, line);
         }},
        {"OnSessionClosed, the peer closing", Connected, onClosed, [](F& f) { f.peer.Close(); }},
        {"OnSessionClosed, its own Close", Connected, onClosed, [](F& f) { f.Socket().Close(); }},
        {"OnSessionClosed, a send the system refuses with a reset", Connected, onClosed,
         [](F& f) {
             f.Socket().Refusal = WSAECONNRESET;
             f.Socket().SendStr("x");
         }},
        {"OnChangeState to wsClosed, the peer closing", Connected, onState, [](F& f) { f.peer.Close(); }, wsClosed},
        {"OnError, a send the system refuses", Connected,
         [](F& f) { f.Socket().OnError = TNotifyEvent(&f, &F::Free); },
         [](F& f) {
             f.Socket().Refusal = WSAENOBUFS;
             f.Socket().SendStr("x");
         }},
        {"OnDnsLookupDone, Abort cancelling the look-up", Nothing, onLookup,
         [](F& f) {
             f.Socket().DnsLookup("localhost");
             f.Socket().Abort();
         }},
        {"OnDnsLookupDone, a look-up cancelling the one before", Nothing, onLookup,
         [](F& f) {
             f.Socket().DnsLookup("localhost");
             f.Socket().DnsLookup("localhost");
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        F f;
        f.freeAt = row.freeAt;
        if (row.setup == Connected) {
            f.ConnectToListener();
            ASSERT_TRUE(PumpUntil([&] { return f.Socket().State() == wsConnected && f.peer.State() == wsConnected; }));
        }
        row.bind(f);
        row.provoke(f);
        EXPECT_TRUE(PumpUntil([&] { return f.socket.freed; }));
        // What was on its way to the socket finds nothing.
        PumpMessagesFor(20);
    }
}

} // namespace
