// The HTTP client when things go wrong: one row per fault, each checked for
// its status, reason and error code, one OnRequestDone, and a next request
// on the same client that works.
#include <gtest/gtest.h>

#include <string>

#include "HttpTestUtil.h"

namespace {

enum class Action {
    None,
    AbortAtOnce,       // right after GetAsync
    AbortWhenSent,     // once the request is out
    AbortOnStall,      // once the server stalls
    AbortAfterBytes,   // from OnDocData, after the first chunk
    ResetOnStall,      // once the server stalls, the close event reports a reset
};

struct Row {
    const char* name;
    std::string table;
    std::string url;  // a path on the server, or a whole URL
    Action action;
    int status;
    std::string reason;  // "~text": the reason contains text; "a|b": one of them
    WORD error;
    int received;        // body bytes, or -1: not checked
    THttpRequest kind = httpGET;
    // The server keeps the connection open after its answer: the client
    // must close it.
    bool leftOpen = false;
};

const char* const OkRow = "row GET /ok\nbody fine\n";

// How the connection that asked for target ended (FIN, RESET, OPEN, -), as
// the server logged it after the before'th connection.
std::string EndOfConnection(size_t before, const std::string& method, const std::string& target)
{
    for (size_t count = before + 1;; ++count) {
        const auto log = Server().WaitForLog(count);
        if (log.size() < count)
            return "not logged";
        for (size_t i = before; i < log.size(); ++i)
            if (log[i].Method == method && log[i].Target == target)
                return log[i].End;
    }
}

TEST(HttpFaults, EachEndsTheRequestOnceAndTheNextWorks)
{
    const std::string longLine(20000, 'a');
    const Row rows[] = {
        {"unknown host", "", "http://qmx-no-such-host.invalid/a.qmx", Action::None, 404,
         "can't resolve hostname to IP address", 0, 0},
        {"refused port", "", "http://127.0.0.1:" + FreeLoopbackPort() + "/a.qmx", Action::None, 404,
         "Connection refused (Error #10061)", 0, 0},
        {"port that is no number or service", "", "http://127.0.0.1:qmx-no-service/a.qmx", Action::None, 404,
         "~in function SetPort: Cannot convert port 'qmx-no-service'", 0, 0},
        {"404 with a body left unread", "row GET /gone\nstatus HTTP/1.0 404 Not Found\nbody-size 100000\n", "/gone",
         Action::None, 404, "Not Found", 0, 0},
        {"empty body", "row GET /empty\n", "/empty", Action::None, 200, "OK", 0, 0},
        {"no Content-Length", "row GET /open\nno-content-length\nbody-size 30000\n", "/open", Action::None, 200,
         "OK", 0, 30000},
        {"close without Content-Length", "row GET /open\nno-content-length\nbody-size 30000\nclose-after 1000\n",
         "/open", Action::None, 200, "OK", 0, 1000},
        // Wine 8 reports a reset that follows data as an orderly close: the
        // length then shows the document incomplete.
        {"reset mid-body", "row GET /reset\nbody-size 100000\nreset-after 30000\n", "/reset", Action::None, 404,
         "Connection reset by peer (Error #10054)|Document incomplete", 4, -1},
        {"reset in the close event", "row GET /stall\nbody-size 100000\nstall-after 10000\n", "/stall",
         Action::ResetOnStall, 404, "Connection reset by peer (Error #10054)", 4, 10000},
        // The whole announced body, then the connection left open: the
        // client ends it; bytes beyond the length are not the document's.
        {"whole body, connection left open", "row GET /open\nbody-size 30000\nstall-after 30000\n", "/open",
         Action::None, 200, "OK", 0, 30000},
        {"more than announced, connection left open",
         "row GET /more\nheader Content-Length: 1000\nbody-size 30000\nstall-after 30000\n", "/more", Action::None,
         200, "OK", 0, 1000},
        {"no body announced, connection left open", "row GET /none\nheader Content-Length: 0\nbody x\nstall-after 1\n",
         "/none", Action::None, 200, "OK", 0, 0},
        {"short close mid-body", "row GET /short\nbody-size 100000\nclose-after 30000\n", "/short", Action::None,
         404, "Document incomplete", 4, 30000},
        {"close inside the header", "row GET /half\nraw HTTP/1.0 200 OK%0D%0AContent-Type: text/pl\n",
         "/half", Action::None, 404, "Document incomplete", 4, 0},
        {"slow", "row GET /slow\nbody-size 20000\nslow\n", "/slow", Action::None, 200, "OK", 0, 20000},
        {"stall, then Abort", "row GET /stall\nbody-size 100000\nstall-after 10000\n", "/stall",
         Action::AbortOnStall, 404, "Connection aborted on request", 3, 10000},
        {"no answer, then Abort", "row GET /quiet\nno-answer\n", "/quiet", Action::AbortWhenSent, 404,
         "Connection aborted on request", 3, 0},
        {"Abort right after the start", "row GET /a\nbody x\n", "/a", Action::AbortAtOnce, 404,
         "Connection aborted on request", 3, 0},
        {"Abort right after the start of a look-up", "", "http://localhost:1/a", Action::AbortAtOnce, 404,
         "Connection aborted on request", 3, 0},
        {"Abort mid-body", "row GET /big\nbody-size 1000000\nslow 8192 5\n", "/big", Action::AbortAfterBytes, 404,
         "Connection aborted on request", 3, -1},
        {"redirection loop", "row GET /loop\nstatus HTTP/1.0 302 Found\nheader Location: /loop\n", "/loop",
         Action::None, 404, "Too many redirections", 4, 0},
        {"status without a number", "row GET /bad\nstatus HTTP/1.0 abc Bad\nbody x\n", "/bad", Action::None, 404,
         "Invalid status line", 4, 0},
        {"header line too long", "row GET /long\nheader X-Long: " + longLine + "\nbody x\n", "/long", Action::None,
         404, "Header line too long", 4, 0},
        {"status in hexadecimal", "row GET /hex\nstatus HTTP/1.0 $C8 OK\nbody x\n", "/hex", Action::None, 404,
         "Invalid status line", 4, 0},
        // An answer to HEAD, and a 204 or 304 answer, ends at the empty line
        // after its header, whatever its length says.
        {"HEAD, length 0, left open", "row HEAD /h0\nheader Content-Length: 0\nstall-after 0\n", "/h0", Action::None,
         200, "OK", 0, 0, httpHEAD, true},
        {"HEAD, length 1234, left open", "row HEAD /h1234\nbody-size 1234\nstall-after 0\n", "/h1234", Action::None,
         200, "OK", 0, 0, httpHEAD, true},
        {"HEAD, no length, left open", "row HEAD /hnone\nno-content-length\nbody-size 1234\nstall-after 0\n",
         "/hnone", Action::None, 200, "OK", 0, 0, httpHEAD, true},
        {"HEAD, length 0, closed", "row HEAD /h\nheader Content-Length: 0\n", "/h", Action::None, 200, "OK", 0, 0,
         httpHEAD},
        {"HEAD, length 1234, closed", "row HEAD /h\nbody-size 1234\n", "/h", Action::None, 200, "OK", 0, 0, httpHEAD},
        {"HEAD, no length, closed", "row HEAD /h\nno-content-length\nbody-size 1234\n", "/h", Action::None, 200, "OK",
         0, 0, httpHEAD},
        {"HEAD answered with a body", "row HEAD /h\nraw HTTP/1.0 200 OK%0D%0AContent-Length: 5%0D%0A%0D%0Ahello\n",
         "/h", Action::None, 200, "OK", 0, 0, httpHEAD},
        {"204, no length, left open",
         "row GET /n204\nstatus HTTP/1.0 204 No Content\nno-content-length\nstall-after 0\n", "/n204", Action::None,
         204, "No Content", 0, 0, httpGET, true},
        {"204 with bytes after the header", "row GET /n\nraw HTTP/1.0 204 No Content%0D%0A%0D%0Astray\n", "/n",
         Action::None, 204, "No Content", 0, 0},
        {"304, no length, left open",
         "row GET /n304\nstatus HTTP/1.0 304 Not Modified\nno-content-length\nstall-after 0\n", "/n304", Action::None,
         304, "Not Modified", 0, 0, httpGET, true},
        {"304, length 1234, left open",
         "row GET /n304l\nstatus HTTP/1.0 304 Not Modified\nheader Content-Length: 1234\nstall-after 0\n", "/n304l",
         Action::None, 304, "Not Modified", 0, 0, httpGET, true},
        {"304, length 1234, closed", "row GET /n\nstatus HTTP/1.0 304 Not Modified\nheader Content-Length: 1234\n",
         "/n", Action::None, 304, "Not Modified", 0, 0},
        // Content-Length is decimal digits, as many as 64 bits hold; an
        // answer whose body cannot be told apart hands on nothing.
        {"length beyond 32 bits, then a close", "row GET /l\nheader Content-Length: 3000000000\nbody-size 10\n", "/l",
         Action::None, 404, "Document incomplete", 4, 10},
        {"length of twenty digits", "row GET /l\nheader Content-Length: 99999999999999999999\nbody-size 10\n", "/l",
         Action::None, 404, "Content-Length too large", 4, 0},
        {"length with a sign", "row GET /l\nheader Content-Length: +5\nbody-size 30\n", "/l", Action::None, 200, "OK",
         0, 30},
        {"length in hexadecimal", "row GET /l\nheader Content-Length: x10\nbody-size 30\n", "/l", Action::None, 200,
         "OK", 0, 30},
        {"two equal lengths", "row GET /l\nheader Content-Length: 30\nheader Content-Length: 30\nbody-size 30\n", "/l",
         Action::None, 200, "OK", 0, 30},
        {"two different lengths", "row GET /l\nheader Content-Length: 5\nheader Content-Length: 30\nbody-size 30\n",
         "/l", Action::None, 404, "Content-Length given twice with different values", 4, 0},
        {"chunked",
         "row GET /c\nno-content-length\nheader Transfer-Encoding: chunked\nbody 5%0D%0Ahello%0D%0A0%0D%0A%0D%0A\n", "/c",
         Action::None, 404, "Transfer-Encoding not supported", 4, 0},
        {"chunked, to HEAD", "row HEAD /c\nno-content-length\nheader Transfer-Encoding: chunked\n", "/c", Action::None,
         200, "OK", 0, 0, httpHEAD},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        // A stall of an earlier row that nobody waited for is no stall of
        // this one.
        while (Server().WaitForStall(0)) {
        }
        Server().SetTable(row.table + OkRow);
        THttpCli client(nullptr);
        ClientEvents events(&client);
        if (row.action == Action::AbortAfterBytes)
            events.abortAfter = 1;
        client.URL = row.url[0] == '/' ? Server().Url(row.url) : row.url;
        const size_t before = Server().Log().size();
        client.RequestAsync(row.kind);
        switch (row.action) {
        case Action::AbortAtOnce:
            client.Abort();
            break;
        case Action::AbortWhenSent:
            PumpMessagesFor(0);
            while (client.State() < httpWaitingHeader)
                PumpMessagesFor(10);
            PumpMessagesFor(100);
            client.Abort();
            break;
        case Action::AbortOnStall:
            ASSERT_TRUE(Server().WaitForStall());
            client.Abort();
            break;
        case Action::ResetOnStall:
            // What Windows posts for a connection reset by the peer.
            ASSERT_TRUE(Server().WaitForStall());
            PumpMessagesFor(100);
            PostMessageA(client.Socket()->Handle(), WM_ASYNCSELECT, client.Socket()->HSocket(),
                         WSAMAKESELECTREPLY(FD_CLOSE, WSAECONNRESET));
            break;
        default:
            break;
        }
        ASSERT_TRUE(WaitUntilDone(events));
        EXPECT_EQ(events.done, 1);
        EXPECT_EQ(client.State(), httpReady);
        EXPECT_EQ(client.StatusCode(), row.status);
        const std::string reason = client.ReasonPhrase();
        if (row.reason[0] == '~')
            EXPECT_NE(reason.find(row.reason.substr(1)), std::string::npos) << reason;
        else if (row.reason.find('|') != std::string::npos)
            EXPECT_TRUE(reason == row.reason.substr(0, row.reason.find('|')) ||
                        reason == row.reason.substr(row.reason.find('|') + 1))
                << reason;
        else
            EXPECT_EQ(reason, row.reason);
        EXPECT_EQ(events.doneError, row.error);
        if (row.received >= 0) {
            EXPECT_EQ(client.ReceivedCount(), row.received);
            EXPECT_EQ(events.Count("doc end"), row.received > 0 ? 1 : 0);
            EXPECT_EQ(events.body, TLoopbackServer::Pattern(static_cast<size_t>(row.received)).substr(0, events.body.size()));
        }
        if (row.leftOpen) {
            EXPECT_EQ(EndOfConnection(before, row.kind == httpHEAD ? "HEAD" : "GET", row.url), "FIN");
        }
        // The same client goes on.
        client.URL = Server().Url("/ok");
        client.GetAsync();
        ASSERT_TRUE(WaitUntilDone(events, 2));
        EXPECT_EQ(events.done, 2);
        EXPECT_EQ(client.StatusCode(), 200);
        EXPECT_EQ(client.ReasonPhrase(), "OK");
        EXPECT_EQ(events.doneError, 0);
    }
}

TEST(HttpFaults, SynchronousRequestRaisesForAFault)
{
    Server().SetTable("row HEAD /bad\nstatus HTTP/1.0 x\n");
    THttpCli client(nullptr);
    client.URL = Server().Url("/bad");
    EXPECT_EQ(HttpErrorOf([&] { client.Head(); }), "404 Invalid status line");
    client.URL = "http://qmx-no-such-host.invalid/";
    EXPECT_EQ(HttpErrorOf([&] { client.Head(); }), "404 can't resolve hostname to IP address");
}

TEST(HttpFaults, RequestThatCannotStartRaisesAndLeavesTheClientReady)
{
    Server().SetTable(OkRow);
    THttpCli client(nullptr);
    ClientEvents events(&client);
    client.URL = "http:///nohost";
    try {
        client.GetAsync();
        ADD_FAILURE() << "no error";
    } catch (const ESocketException& e) {
        EXPECT_EQ(e.Message(), "DNS lookup: błędna nazwa serwera.");
    }
    EXPECT_EQ(client.State(), httpReady);
    PumpMessagesFor(50);
    EXPECT_EQ(events.done, 0);
    client.URL = Server().Url("/ok");
    client.GetAsync();
    ASSERT_TRUE(WaitUntilDone(events));
    EXPECT_EQ(client.StatusCode(), 200);
}

TEST(HttpFaults, RedirectionToABareNameAsksTheSameServer)
{
    Server().SetTable("row GET /old.qmx\nstatus HTTP/1.0 302 Moved\nheader Location: new.qmx\nbody moved\n"
                      "row GET /new.qmx\nbody fresh\n");
    THttpCli client(nullptr);
    ClientEvents events(&client);
    client.URL = Server().Url("/old.qmx");
    const size_t before = Server().Log().size();
    client.GetAsync();
    ASSERT_TRUE(WaitUntilDone(events));
    EXPECT_EQ(client.StatusCode(), 200);
    EXPECT_EQ(events.body, "fresh");
    EXPECT_EQ(events.Count("location"), 1);
    EXPECT_EQ(events.done, 1);
    const auto log = Server().WaitForLog(before + 2);
    ASSERT_EQ(log.size(), before + 2);
    EXPECT_EQ(log.back().Request, "GET http://127.0.0.1/new.qmx HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n");
    // The lines of both answers are kept; the second answer has no header
    // begin of its own (both requests have theirs).
    EXPECT_EQ(client.HeaderLines()->Strings(0), "HTTP/1.0 302 Moved");
    EXPECT_GE(client.HeaderLines()->IndexOf("HTTP/1.0 200 OK"), 1);
    EXPECT_EQ(events.Count("header begin"), 3);
}

TEST(HttpFaults, RedirectionLoopEndsAfterTenRedirections)
{
    Server().SetTable("row GET /loop\nstatus HTTP/1.0 302 Found\nheader Location: /loop\n");
    THttpCli client(nullptr);
    ClientEvents events(&client);
    client.URL = Server().Url("/loop");
    const size_t before = Server().Log().size();
    client.GetAsync();
    ASSERT_TRUE(WaitUntilDone(events));
    EXPECT_EQ(client.ReasonPhrase(), "Too many redirections");
    EXPECT_EQ(events.Count("location"), 10);
    EXPECT_EQ(Server().WaitForLog(before + 11).size(), before + 11);
}

// Answers one request on 127.0.0.2 port 80 with "HTTP/1.0 200 OK" and a
// word.
struct Port80 {
    TWSocket listener{nullptr};
    TWSocket server{nullptr};
    bool listening = false;
    Port80()
    {
        listener.SetAddr("127.0.0.2");
        listener.SetPort("80");
        listener.OnSessionAvailable = TSessionAvailable(this, &Port80::Accept);
        try {
            listening = listener.Listen() == 0;
        } catch (const ESocketException&) {
        }
    }
    void Accept(TObject*, WORD)
    {
        server.Dup(listener.Accept());
        server.SendStr("HTTP/1.0 200 OK\r\n\r\nhere");
        server.Shutdown(1);
    }
};

TEST(HttpFaults, AbsoluteLocationWithoutPortGoesToPort80)
{
    Port80 port80;
    if (!port80.listening)
        GTEST_SKIP() << "port 80 of 127.0.0.2 cannot be had here";
    Server().SetTable("row GET /away\nstatus HTTP/1.0 301 Moved\nheader Location: http://127.0.0.2/x\n");
    THttpCli client(nullptr);
    ClientEvents events(&client);
    client.URL = Server().Url("/away");
    client.GetAsync();
    ASSERT_TRUE(WaitUntilDone(events));
    EXPECT_EQ(client.StatusCode(), 200);
    EXPECT_EQ(events.body, "here");
}

} // namespace
