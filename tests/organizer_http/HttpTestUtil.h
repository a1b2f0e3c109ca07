// Helpers of the HTTP client's tests: a recorder of the client's events and
// the loopback server the test runs in.
#pragma once

#include <string>
#include <vector>

#include "classlib/Streams.h"
#include "organizer/HttpProt.h"
#include "tests/loopback/LoopbackServer.h"

// Every event of a client as a line ("state 3", "command Host: ...", "doc
// data", "done 1 0"), the body it received and the request-done count.
struct ClientEvents {
    THttpCli* client;
    std::vector<std::string> lines;
    std::vector<std::string> commands;
    std::string body;
    int done = 0;
    THttpRequest doneKind = httpGET;
    WORD doneError = 0xFFFF;
    // Aborts the client from OnDocData once this many body bytes came.
    int abortAfter = -1;

    explicit ClientEvents(THttpCli* c);
    ~ClientEvents();
    // The lines with runs of "doc data" and "header data" folded into one.
    std::vector<std::string> Folded() const;
    int Count(const std::string& line) const;

    void State(TObject*);
    void Command(TObject*, const std::string& line);
    void HeaderBegin(TObject*) { lines.push_back("header begin"); }
    void HeaderEnd(TObject*) { lines.push_back("header end"); }
    void HeaderData(TObject*) { lines.push_back("header data"); }
    void DocBegin(TObject*) { lines.push_back("doc begin"); }
    void DocData(TObject*, const void* buffer, int len);
    void DocEnd(TObject*) { lines.push_back("doc end"); }
    void SendBegin(TObject*) { lines.push_back("send begin"); }
    void SendData(TObject*, const void*, int len) { lines.push_back("send data " + std::to_string(len)); }
    void SendEnd(TObject*) { lines.push_back("send end"); }
    void Location(TObject*) { lines.push_back("location"); }
    void Done(TObject*, THttpRequest kind, WORD error);
};

// Handles messages until the client's OnRequestDone has come (at most 30
// seconds), then a little longer so that a second one would show.
bool WaitUntilDone(ClientEvents& events, int count = 1);

// The server's view of the requests of one test.
TLoopbackServer& Server();

// "<ErrorCode> <message>" of the EHttpException that f raises; empty when
// it raises none.
template <class F>
std::string HttpErrorOf(F f)
{
    try {
        f();
    } catch (const EHttpException& e) {
        return std::to_string(e.ErrorCode) + " " + e.Message();
    }
    return "";
}
