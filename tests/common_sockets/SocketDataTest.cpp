// The socket's data path: the send queue, reading lines, the waits, and
// reading when a handler leaves bytes behind.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SocketTestUtil.h"
#include "classlib/Forms.h"
#include "classlib/HiddenWindow.h"
#include "common/Wait.h"

namespace {

// A socket that records what it offers the system and lets it all through.
class TRecordingSocket : public TWSocket {
public:
    using TWSocket::TWSocket;
    std::vector<int> offered;

protected:
    int RawSend(const void* data, int len) override
    {
        offered.push_back(len);
        return TWSocket::RawSend(data, len);
    }
};

// A pair whose client records its sends.
struct RecordingPair {
    TWSocket listener{nullptr};
    TWSocket server{nullptr};
    TRecordingSocket client{nullptr};
    RecordingPair()
    {
        listener.OnSessionAvailable = TSessionAvailable(this, &RecordingPair::Accept);
        client.SetAddr("127.0.0.1");
        client.SetPort(ListenOnLoopback(listener));
        client.Connect();
        EXPECT_TRUE(PumpUntil([this] { return client.State() == wsConnected && server.State() == wsConnected; }));
    }
    void Accept(TObject*, WORD) { server.Dup(listener.Accept()); }
};

TEST(WSocketData, SendQueuesBlocksOfAnEthernetFrame)
{
    RecordingPair pair;
    SocketEvents serverEvents(&pair.server);
    SocketEvents clientEvents(&pair.client);
    const std::string data = Pattern4000();
    EXPECT_EQ(pair.client.Send(data.data(), 4000), 4000);
    EXPECT_EQ(pair.client.offered, (std::vector<int>{1514, 1514, 972}));
    ASSERT_TRUE(PumpUntil([&] { return serverEvents.received.size() == 4000; }));
    EXPECT_EQ(serverEvents.received, data);
    // Everything went out at once: OnDataSent comes once, from the loop.
    EXPECT_EQ(clientEvents.Count("sent 0"), 1);
}

TEST(WSocketData, SendWhileNotConnectedFails)
{
    TWSocket socket(nullptr);
    SocketEvents events(&socket);
    EXPECT_EQ(socket.Send("x", 1), -1);
    EXPECT_EQ(socket.LastError(), WSAENOTCONN);
    EXPECT_EQ(events.lines, (std::vector<std::string>{"error 10057"}));
    socket.OnError.Clear();
    try {
        socket.SendStr("x");
        ADD_FAILURE() << "no error";
    } catch (const ESocketException& e) {
        EXPECT_EQ(e.Message(), "Error 10057 in function Send\r\nSocket is not connected");
    }
}

TEST(WSocketData, SendWhileConnectingClosesTheConnectionOnce)
{
    TWSocket listener(nullptr);
    const std::string port = ListenOnLoopback(listener);
    TWSocket socket(nullptr);
    SocketEvents events(&socket);
    socket.SetAddr("127.0.0.1");
    socket.SetPort(port);
    socket.Connect();
    ASSERT_EQ(socket.State(), wsConnecting);
    events.lines.clear();
    EXPECT_EQ(socket.SendStr("early"), -1);
    EXPECT_EQ(events.lines, (std::vector<std::string>{"state 3>7", "closed 0", "error 10057"}));
    EXPECT_EQ(socket.HSocket(), INVALID_SOCKET);
    PumpMessagesFor(100);
    EXPECT_EQ(events.Count("closed"), 1);
}

TEST(WSocketData, FlushAfterSendingNothingDoesNotWait)
{
    SocketPair pair;
    SocketEvents events(&pair.client);
    TWait wait(nullptr);
    pair.client.SetWaitCtrl(&wait);
    EXPECT_EQ(pair.client.Send("", 0), 0);
    pair.client.Flush();
    EXPECT_EQ(wait.ModalResult(), 1);  // stopped, not timed out
    PumpMessagesFor(50);
    EXPECT_EQ(events.Count("sent"), 0);  // no "write" was posted

    pair.client.SendStr(std::string(100000, 'z'));
    pair.client.Flush();
    EXPECT_EQ(wait.ModalResult(), 1);
    EXPECT_FALSE(wait.Visible());
}

TEST(WSocketData, FlushAndReadLineNeedAWaitControl)
{
    SocketPair pair;
    try {
        pair.client.Flush();
        ADD_FAILURE() << "no error";
    } catch (const ESocketException& e) {
        EXPECT_EQ(e.Message(), "No wait object assigned");
    }
    std::string line = "untouched";
    try {
        pair.client.ReadLine(5, line);
        ADD_FAILURE() << "no error";
    } catch (const ESocketException& e) {
        EXPECT_EQ(e.Message(), "No wait object assigned");
    }
    EXPECT_EQ(line, "untouched");
}

TEST(WSocketData, ReadLineDropsCarriageReturnsAndCutsLongLines)
{
    SocketPair pair;
    SocketEvents events(&pair.server);
    events.readAll = false;
    TWait wait(nullptr);
    pair.server.SetWaitCtrl(&wait);
    const std::string longLine(300, 'L');
    pair.client.SendStr("first\r\nse\rcond\n" + longLine + "\n");
    std::vector<std::string> lines;
    std::string line;
    for (int i = 0; i < 4; ++i) {
        pair.server.ReadLine(5, line);
        lines.push_back(line);
    }
    EXPECT_EQ(lines, (std::vector<std::string>{"first", "second", std::string(254, 'L'), std::string(46, 'L')}));
    EXPECT_EQ(events.Count("line too long"), 1);
    EXPECT_EQ(wait.ModalResult(), 1);
}

TEST(WSocketData, ReadLineEndsWhenThePeerCloses)
{
    SocketPair pair;
    SocketEvents events(&pair.server);
    TWait wait(nullptr);
    pair.server.SetWaitCtrl(&wait);
    pair.client.SendStr("no line end");
    pair.client.Close();
    std::string line;
    pair.server.ReadLine(5, line);
    EXPECT_EQ(line, "no line end");
    EXPECT_EQ(pair.server.State(), wsClosed);
    EXPECT_EQ(events.Count("closed"), 1);
}

TEST(WSocketData, MultiThreadedReadLinePumpsTheThreadsOwnQueue)
{
    SocketPair pair;
    pair.server.SetMultiThreaded(true);
    pair.client.SendStr("abc");
    std::string line;
    pair.server.ReadLine(0, line);  // no time: what is there
    EXPECT_EQ(line, "abc");
    pair.client.SendStr("def\n");
    pair.server.ReadLine(5, line);
    EXPECT_EQ(line, "abcdef");
}

TEST(WSocketData, WaitForState)
{
    TWSocket listener(nullptr);
    const std::string port = ListenOnLoopback(listener);
    TWSocket socket(nullptr);
    SocketEvents events(&socket);
    EXPECT_FALSE(socket.WaitForState(5, wsClosed));  // already so
    EXPECT_TRUE(events.lines.empty());
    // Without a wait control: the error 11004.
    EXPECT_FALSE(socket.WaitForState(5, wsConnected));
    EXPECT_EQ(events.lines, (std::vector<std::string>{"error 11004"}));

    TWait wait(nullptr);
    socket.SetWaitCtrl(&wait);
    socket.SetAddr("127.0.0.1");
    socket.SetPort(port);
    socket.Connect();
    EXPECT_TRUE(socket.WaitForState(5, wsConnected));
    EXPECT_EQ(wait.ModalResult(), 1);

    TWSocket other(nullptr);
    other.SetMultiThreaded(true);
    other.SetAddr("127.0.0.1");
    other.SetPort(FreePort());
    other.Connect();
    EXPECT_FALSE(other.WaitForState(5, wsConnected));  // refused: closed instead
    EXPECT_EQ(other.State(), wsClosed);
}

TEST(WSocketData, WaitCtrlIsForgottenWhenItGoes)
{
    TWSocket socket(nullptr);
    {
        TWait wait(nullptr);
        socket.SetWaitCtrl(&wait);
        EXPECT_EQ(socket.WaitCtrl(), &wait);
    }
    EXPECT_EQ(socket.WaitCtrl(), nullptr);
}

// A socket whose sends the system never takes: its queue stays full.
class TBlockedSocket : public TWSocket {
public:
    using TWSocket::TWSocket;

protected:
    int RawSend(const void*, int) override { return 0; }
};

// A socket connected to a listener of the test's, with a wait control
// whose start posts a message that frees the socket.
template <class T>
struct FreedDuringSocketWait {
    TWSocket listener{nullptr};
    TWait wait{nullptr};
    Poisoned<T> socket;
    THiddenWindow freer{THiddenWindow::TWndMethod(this, &FreedDuringSocketWait::Message), nullptr};

    FreedDuringSocketWait()
    {
        socket.object->SetAddr("127.0.0.1");
        socket.object->SetPort(ListenOnLoopback(listener));
        socket.object->Connect();
        EXPECT_TRUE(PumpUntil([this] { return socket.object->State() == wsConnected; }));
        socket.object->SetWaitCtrl(&wait);
        wait.OnWaitStart = TNotifyEvent(this, &FreedDuringSocketWait::Start);
    }
    void Start(TObject*) { freer.Post(WM_APP + 1); }
    void Message(TMessage& m)
    {
        if (m.Msg == WM_APP + 1)
            socket.Free();
        else
            freer.DefaultHandler(m);
    }
    // The wait ended with the socket, stopped and hidden.
    void ExpectWaitOver()
    {
        EXPECT_TRUE(socket.freed);
        EXPECT_FALSE(wait.Running());
        EXPECT_EQ(wait.ModalResult(), 1);
        EXPECT_FALSE(wait.Visible());
    }
};

TEST(WSocketData, ASocketFreedDuringItsWaitIsReadNoMoreAndItsWaitEnds)
{
    {
        SCOPED_TRACE("WaitForState");
        FreedDuringSocketWait<TWSocket> t;
        EXPECT_FALSE(t.socket.object->WaitForState(5, wsClosed));
        t.ExpectWaitOver();
    }
    {
        SCOPED_TRACE("ReadLine");
        FreedDuringSocketWait<TWSocket> t;
        std::string line = "untouched";
        t.socket.object->ReadLine(5, line);
        EXPECT_EQ(line, "untouched");
        t.ExpectWaitOver();
    }
    {
        SCOPED_TRACE("Flush");
        FreedDuringSocketWait<TBlockedSocket> t;
        t.socket.object->SendStr("never taken");
        t.socket.object->Flush();
        t.ExpectWaitOver();
    }
}

TEST(WSocketData, WaitForCloseReadsUntilThePeerCloses)
{
    SocketPair pair;
    SocketEvents events(&pair.server);
    pair.client.SendStr("bye");
    pair.client.Close();
    pair.server.WaitForClose();
    EXPECT_EQ(events.received, "bye");
    EXPECT_EQ(pair.server.State(), wsClosed);
    EXPECT_EQ(events.Count("closed"), 1);
}

TEST(WSocketData, UnreadBytesEndTheReadLoop)
{
    SocketPair pair;
    SocketEvents events(&pair.server);
    events.readAll = false;  // the handler leaves the bytes waiting
    pair.client.SendStr("ignored");
    ASSERT_TRUE(PumpUntil([&] { return events.Count("data") > 0; }));
    PumpMessagesFor(100);
    EXPECT_LT(events.Count("data"), 5);
    EXPECT_EQ(pair.server.RcvdCount(), 7);
}

TEST(WSocketData, DataWithoutAHandlerIsReadAndDropped)
{
    SocketPair pair;
    pair.client.SendStr(std::string(3000, 'd'));
    ASSERT_TRUE(PumpUntil([&] { return pair.server.ReadCount() == 3000; }));
    EXPECT_EQ(pair.server.RcvdCount(), 0);
}

// Accepts one connection into a socket of its own.
struct Acceptor {
    TWSocket listener{nullptr};
    TWSocket server{nullptr};
    Acceptor()
    {
        listener.OnSessionAvailable = TSessionAvailable(this, &Acceptor::Accept);
        ListenOnLoopback(listener);
    }
    void Accept(TObject*, WORD) { server.Dup(listener.Accept()); }
};

TEST(WSocketData, ResetByThePeerClosesOnce)
{
    Acceptor acceptor;
    SocketEvents events(&acceptor.server);
    // A plain socket of the system that resets its connection.
    SOCKET raw = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = inet_addr("127.0.0.1");
    to.sin_port = htons(static_cast<u_short>(std::stoi(acceptor.listener.GetXPort())));
    ASSERT_EQ(connect(raw, reinterpret_cast<sockaddr*>(&to), sizeof to), 0);
    ASSERT_TRUE(PumpUntil([&] { return acceptor.server.State() == wsConnected; }));
    send(raw, "x", 1, 0);
    ASSERT_TRUE(PumpUntil([&] { return events.received == "x"; }));
    const linger hard{1, 0};
    setsockopt(raw, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&hard), sizeof hard);
    closesocket(raw);
    ASSERT_TRUE(PumpUntil([&] { return acceptor.server.State() == wsClosed; }));
    PumpMessagesFor(50);
    EXPECT_EQ(events.Count("closed"), 1);
}

} // namespace
