#include "SocketTestUtil.h"

#include <gtest/gtest.h>

#include "classlib/Forms.h"

namespace {

class FormsEnvironment : public testing::Environment {
public:
    void SetUp() override { InitFormsUnit(); }
    void TearDown() override { DoneFormsUnit(); }
};

const testing::Environment* const environment = testing::AddGlobalTestEnvironment(new FormsEnvironment);

} // namespace

SocketEvents::SocketEvents(TCustomWSocket* s, bool withErrorEvent) : socket(s)
{
    s->OnSessionConnected = TSessionConnected(this, &SocketEvents::Connected);
    s->OnSessionClosed = TSessionClosed(this, &SocketEvents::Closed);
    s->OnSessionAvailable = TSessionAvailable(this, &SocketEvents::Available);
    s->OnDataSent = TDataSent(this, &SocketEvents::DataSent);
    s->OnDataAvailable = TDataAvailable(this, &SocketEvents::Data);
    s->OnDnsLookupDone = TDnsLookupDone(this, &SocketEvents::Lookup);
    s->OnChangeState = TChangeState(this, &SocketEvents::State);
    s->OnLineTooLong = TNotifyEvent(this, &SocketEvents::LineTooLong);
    if (withErrorEvent)
        s->OnError = TNotifyEvent(this, &SocketEvents::Error);
}

SocketEvents::~SocketEvents()
{
    socket->OnSessionConnected.Clear();
    socket->OnSessionClosed.Clear();
    socket->OnSessionAvailable.Clear();
    socket->OnDataSent.Clear();
    socket->OnDataAvailable.Clear();
    socket->OnDnsLookupDone.Clear();
    socket->OnChangeState.Clear();
    socket->OnLineTooLong.Clear();
    socket->OnError.Clear();
}

int SocketEvents::Count(const std::string& prefix) const
{
    int n = 0;
    for (const std::string& line : lines)
        if (line.compare(0, prefix.size(), prefix) == 0)
            ++n;
    return n;
}

void SocketEvents::Connected(TObject*, WORD error)
{
    lines.push_back("connected " + std::to_string(error));
}

void SocketEvents::Closed(TObject*, WORD error)
{
    lines.push_back("closed " + std::to_string(error));
}

void SocketEvents::Available(TObject*, WORD error)
{
    lines.push_back("available " + std::to_string(error));
}

void SocketEvents::DataSent(TObject*, WORD error)
{
    lines.push_back("sent " + std::to_string(error));
}

void SocketEvents::Data(TObject*, WORD error)
{
    lines.push_back("data " + std::to_string(error));
    if (!readAll)
        return;
    char buffer[4096];
    const int n = socket->Receive(buffer, sizeof buffer);
    if (n > 0)
        received.append(buffer, static_cast<size_t>(n));
}

void SocketEvents::Lookup(TObject*, WORD error)
{
    lines.push_back("lookup " + std::to_string(error));
}

void SocketEvents::State(TObject*, TSocketState oldState, TSocketState newState)
{
    lines.push_back("state " + std::to_string(oldState) + ">" + std::to_string(newState));
}

void SocketEvents::Error(TObject*)
{
    lines.push_back("error " + std::to_string(socket->LastError()));
}

void SocketEvents::LineTooLong(TObject*)
{
    lines.push_back("line too long");
}

std::string ListenOnLoopback(TWSocket& listener)
{
    listener.SetAddr("127.0.0.1");
    listener.SetPort("0");
    EXPECT_EQ(listener.Listen(), 0);
    return listener.GetXPort();
}

std::string Pattern4000()
{
    return TLoopbackServer::Pattern(4000);
}

SocketPair::SocketPair()
{
    listener.OnSessionAvailable = TSessionAvailable(this, &SocketPair::Accept);
    port = ListenOnLoopback(listener);
    client.SetAddr("127.0.0.1");
    client.SetPort(port);
    client.Connect();
    EXPECT_TRUE(PumpUntil([this] { return client.State() == wsConnected && server.State() == wsConnected; }));
}

void SocketPair::Accept(TObject*, WORD)
{
    server.Dup(listener.Accept());
}
