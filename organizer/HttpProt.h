// The HTTP/1.0 client: fetches one document per request over its own
// asynchronous socket, driven by window messages on the GUI thread. A
// request is started asynchronously (the end comes as OnRequestDone) or
// synchronously (the call handles messages until the request is over and
// raises EHttpException for an error status).
//
// Failures of an asynchronous request come as StatusCode 404 with the
// reason in ReasonPhrase, and the error code of OnRequestDone: 0 for a
// failed look-up or connection and for an error status, 3 for Abort, 4 for
// a transfer that broke off (reset, short document, too many redirections,
// a header line too long, a status line without a number, an answer whose
// body cannot be told apart: a Content-Length too large to hold, two that
// differ, a transfer encoding).
//
// A handler of any of the client's events may free it: the request ends
// there, and nothing of the client or of its socket is read afterwards.
//
// HttpProt.cpp holds the client; HttpProtUtil.cpp the unit's routines.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "classlib/HiddenWindow.h"
#include "classlib/Lists.h"
#include "classlib/Streams.h"
#include "common/WSocket.h"

enum THttpRequest { httpGET = 1, httpPOST = 2, httpHEAD = 3 };

// State of the client.
enum THttpState {
    httpReady = 0,
    httpNotConnected = 1,  // request prepared, or host found and connecting
    httpDnsLookup = 2,
    httpWaitingHeader = 3,
    httpWaitingBody = 4,
    httpAborting = 5,
};

// Error codes of OnRequestDone.
enum : WORD { httpErrNone = 0, httpErrAborted = 3, httpErrTransfer = 4 };

using TOnCommand = TEvent<TObject*, const std::string&>;
using TDocDataEvent = TEvent<TObject*, const void*, int>;
using THttpRequestDone = TEvent<TObject*, THttpRequest, WORD>;

// ErrorCode: the HTTP status code, or 1 (busy) or 2 (nothing to post).
class EHttpException : public Exception {
public:
    EHttpException(const std::string& message, int errorCode) : Exception(message), ErrorCode(errorCode) {}
    int ErrorCode;
};

class THttpCli : public TComponent {
public:
    explicit THttpCli(TComponent* owner);
    ~THttpCli() override;

    std::string URL;
    // Host, host:port or a URL; empty for a direct connection.
    std::string Proxy;
    std::string ProxyPort = "80";
    std::string Sender;
    std::string Agent;
    std::string Reference;
    std::string Username;
    std::string Password;
    std::string ProxyUsername;
    std::string ProxyPassword;
    bool NoCache = false;
    // Sent as given (not turned into GMT) when not 0.
    TDateTime ModifiedSince = 0;
    std::string Cookie;
    std::string ContentTypePost = "application/x-www-form-urlencoded";
    bool MultiThreaded() const { return multiThreaded_; }
    void SetMultiThreaded(bool value);

    TOnCommand OnCommand;
    TNotifyEvent OnHeaderBegin;
    TNotifyEvent OnHeaderEnd;
    TNotifyEvent OnHeaderData;
    TNotifyEvent OnDocBegin;
    TNotifyEvent OnDocEnd;
    TDocDataEvent OnDocData;
    TNotifyEvent OnSendBegin;
    TNotifyEvent OnSendEnd;
    TDocDataEvent OnSendData;
    TNotifyEvent OnStateChange;
    THttpRequestDone OnRequestDone;
    TNotifyEvent OnLocationChange;
    TNotifyEvent OnTrace;  // never fired

    THttpState State() const { return state_; }
    THttpRequest RqType() const { return rqType_; }
    int StatusCode() const { return statusCode_; }
    const std::string& ReasonPhrase() const { return reasonPhrase_; }
    // Not reset by a request: an answer without the header (or with a value
    // that is not all digits) keeps the value an earlier answer set.
    std::int64_t ContentLength() const { return contentLength_; }
    const std::string& ContentType() const { return contentType_; }
    const std::string& DocumentName() const { return documentName_; }
    const std::string& LastLine() const { return lastLine_; }
    TStrings* HeaderLines() const { return headerLines_.get(); }
    TStrings* AuthChallenges() const { return authChallenges_.get(); }
    // Not owned: every body chunk is appended when set.
    TStream* BodyStream = nullptr;
    // Not owned: the body of a POST, read from its position.
    TStream* RequestBody = nullptr;
    std::int64_t ReceivedCount() const { return receivedCount_; }
    int SentCount() const { return sentCount_; }
    TWSocket* Socket() const { return socket_; }

    // Raises EHttpException when busy (1), or for a POST without
    // RequestBody (2), and the socket's error when the request cannot
    // start; the client stays ready then.
    void RequestAsync(THttpRequest kind);
    // RequestAsync, then handles messages until the client is ready again;
    // raises EHttpException (ReasonPhrase, StatusCode) for a status of 400
    // or more. A handler that frees the client meanwhile ends the call
    // without an exception.
    void RequestSync(THttpRequest kind);
    void GetAsync() { RequestAsync(httpGET); }
    void Head() { RequestSync(httpHEAD); }
    void Abort();

    virtual void SendCommand(const std::string& line);
    virtual void StartConnection();
    virtual void Disconnect();
    virtual void TriggerHeaderBegin() { OnHeaderBegin(this); }
    virtual void TriggerHeaderEnd() { OnHeaderEnd(this); }
    virtual void TriggerDocBegin() { OnDocBegin(this); }
    virtual void TriggerDocData(const void* buffer, int len) { OnDocData(this, buffer, len); }
    virtual void TriggerDocEnd() { OnDocEnd(this); }
    virtual void TriggerSendBegin() { OnSendBegin(this); }
    virtual void TriggerSendData(const void* buffer, int len) { OnSendData(this, buffer, len); }
    virtual void TriggerSendEnd() { OnSendEnd(this); }

    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

private:
    void WindowProc(TMessage& message);
    // False when a handler of the change freed the client.
    bool SetState(THttpState state, bool announceDone = true);
    // The socket's events.
    void DnsLookupDone(TObject*, WORD error);
    void SessionConnected(TObject*, WORD error);
    void DataAvailable(TObject*, WORD error);
    void DataSent(TObject*, WORD error);
    void SessionClosed(TObject*, WORD error);
    void RedirectClosed(TObject*, WORD error);

    void SendRequest(const std::string& method);
    void SendNextBlock();
    void HeaderLine(const std::string& line);
    void StatusLine(const std::string& line);
    void HeaderField(const std::string& line);
    void BodyData(const char* data, int len);
    // Records the first reason why this answer's body cannot be read.
    void AnswerFault(const std::string& reason);
    // A HEAD answer, and a 204 or 304 one, has no body.
    bool AnswerHasBody() const;
    // The bytes of this answer's body when the answer tells them; -1 when
    // only the close ends it.
    std::int64_t BodyLength() const;
    // Once the whole announced body has come, the connection is closed.
    void EndWhenComplete();
    void Relocate(const std::string& location);
    // The scheme and authority of the proxy's request lines.
    std::string ProxyPrefix(const std::string& scheme) const;

    // Records the first failure of the request (Abort overrides it).
    void Fail(const std::string& reason, WORD errorCode);
    // Fail, then close the connection; the request ends.
    void FailAndClose(const std::string& reason, WORD errorCode);
    // An error raised inside one of the socket's events ends the request
    // like a failed connection.
    template <class F>
    void Guarded(F f);

    TWSocket* socket_;
    std::unique_ptr<THiddenWindow> window_;
    std::unique_ptr<TStringList> headerLines_;
    std::unique_ptr<TStringList> authChallenges_;
    bool multiThreaded_ = false;
    THttpState state_ = httpReady;
    THttpRequest rqType_ = httpGET;
    int statusCode_ = 0;
    std::string reasonPhrase_;
    std::int64_t contentLength_ = 0;
    std::string contentType_;
    std::string documentName_;
    std::string lastLine_;
    std::int64_t receivedCount_ = 0;
    int sentCount_ = 0;
    WORD errorCode_ = 0;

    bool connected_ = false;
    std::string hostHeader_;  // the host of the "Host" line
    std::string urlPort_;     // the URL's port, kept in a proxy's request line
    std::string path_;        // what the request line asks for
    std::string connectHost_;
    std::string connectPort_;
    bool locationSeen_ = false;
    bool sendingBody_ = false;
    int headerLineCount_ = 0;
    int bodyChunkCount_ = 0;
    std::string request_;
    std::vector<char> sendBlock_;
    std::vector<char> receiveBuffer_;
    int fill_ = 0;
    bool bodyHandler_ = false;

    // Per request: redirections followed, whether it failed, whether its
    // end is on its way, whether the client itself closed the connection.
    int redirects_ = 0;
    bool failed_ = false;
    bool ended_ = false;
    bool closingOnPurpose_ = false;
    // Per answer: its own Content-Length, when it gave one of digits only
    // (read whole, unlike ContentLength); and why its body cannot be read,
    // when the header says so.
    bool answerLengthSeen_ = false;
    std::int64_t answerLength_ = 0;
    std::string answerFault_;
    // Any handler of the client's events, or of a message handled while it
    // waits, may free it.
    TFreeWatches freeWatches_;
};

// Splits a URL into its scheme, user, password, host, port and path; parts
// that are not there are empty.
void ParseURL(const std::string& url, std::string& proto, std::string& user, std::string& password, std::string& host,
              std::string& port, std::string& path);
// Mode 0: the uuencode alphabet with a leading length character; modes 1
// and 2: Base64 with "=" padding.
std::string EncodeLine(int mode, const std::string& data);
// "Mon, 03 Jan 2000 10:00:00", the date-time as given.
std::string RFC1123Date(TDateTime value);
// The 1-based position of the n-th occurrence of sub in s (n above 0), of
// the last occurrence (n below 0); 0 when there is none.
int PosN(const std::string& sub, const std::string& s, int n);

// Registers THttpCli for the form reader.
void HttpProtStartup();
