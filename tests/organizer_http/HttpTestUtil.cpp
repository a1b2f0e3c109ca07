#include "HttpTestUtil.h"

#include <gtest/gtest.h>

#include "classlib/Forms.h"

namespace {

class FormsEnvironment : public testing::Environment {
public:
    void SetUp() override
    {
        InitFormsUnit();
        ASSERT_TRUE(Server().Available()) << "run inside tests/loopback/loopback_server.py run";
    }
    void TearDown() override { DoneFormsUnit(); }
};

const testing::Environment* const environment = testing::AddGlobalTestEnvironment(new FormsEnvironment);

} // namespace

TLoopbackServer& Server()
{
    static TLoopbackServer server;
    return server;
}

ClientEvents::ClientEvents(THttpCli* c) : client(c)
{
    c->OnStateChange = TNotifyEvent(this, &ClientEvents::State);
    c->OnCommand = TOnCommand(this, &ClientEvents::Command);
    c->OnHeaderBegin = TNotifyEvent(this, &ClientEvents::HeaderBegin);
    c->OnHeaderEnd = TNotifyEvent(this, &ClientEvents::HeaderEnd);
    c->OnHeaderData = TNotifyEvent(this, &ClientEvents::HeaderData);
    c->OnDocBegin = TNotifyEvent(this, &ClientEvents::DocBegin);
    c->OnDocData = TDocDataEvent(this, &ClientEvents::DocData);
    c->OnDocEnd = TNotifyEvent(this, &ClientEvents::DocEnd);
    c->OnSendBegin = TNotifyEvent(this, &ClientEvents::SendBegin);
    c->OnSendData = TDocDataEvent(this, &ClientEvents::SendData);
    c->OnSendEnd = TNotifyEvent(this, &ClientEvents::SendEnd);
    c->OnLocationChange = TNotifyEvent(this, &ClientEvents::Location);
    c->OnRequestDone = THttpRequestDone(this, &ClientEvents::Done);
}

ClientEvents::~ClientEvents()
{
    client->OnStateChange.Clear();
    client->OnCommand.Clear();
    client->OnHeaderBegin.Clear();
    client->OnHeaderEnd.Clear();
    client->OnHeaderData.Clear();
    client->OnDocBegin.Clear();
    client->OnDocData.Clear();
    client->OnDocEnd.Clear();
    client->OnSendBegin.Clear();
    client->OnSendData.Clear();
    client->OnSendEnd.Clear();
    client->OnLocationChange.Clear();
    client->OnRequestDone.Clear();
}

std::vector<std::string> ClientEvents::Folded() const
{
    std::vector<std::string> folded;
    for (const std::string& line : lines)
        if (folded.empty() || folded.back() != line || (line != "doc data" && line != "header data"))
            folded.push_back(line);
    return folded;
}

int ClientEvents::Count(const std::string& line) const
{
    int n = 0;
    for (const std::string& l : lines)
        n += l == line;
    return n;
}

void ClientEvents::State(TObject*)
{
    lines.push_back("state " + std::to_string(client->State()));
}

void ClientEvents::Command(TObject*, const std::string& line)
{
    lines.push_back("command " + line);
    commands.push_back(line);
}

void ClientEvents::DocData(TObject*, const void* buffer, int len)
{
    lines.push_back("doc data");
    body.append(static_cast<const char*>(buffer), static_cast<size_t>(len));
    if (abortAfter >= 0 && static_cast<int>(body.size()) >= abortAfter) {
        abortAfter = -1;
        client->Abort();
    }
}

void ClientEvents::Done(TObject*, THttpRequest kind, WORD error)
{
    lines.push_back("done " + std::to_string(kind) + " " + std::to_string(error));
    ++done;
    doneKind = kind;
    doneError = error;
}

bool WaitUntilDone(ClientEvents& events, int count)
{
    const ULONGLONG end = GetTickCount64() + 30000;
    while (events.done < count) {
        if (GetTickCount64() >= end)
            return false;
        PumpMessagesFor(10);
    }
    PumpMessagesFor(50);
    return true;
}
