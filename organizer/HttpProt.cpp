// The HTTP client: a request's way from the URL through the look-up, the
// connection, the request lines, the answer's header and body, to its end.
#include "organizer/HttpProt.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "classlib/Forms.h"
#include "classlib/SysUtils.h"
#include "classlib/TypInfo.h"

namespace {

// The hidden window's messages.
constexpr UINT WM_HTTP_REQUEST_DONE = WM_USER + 1;  // WParam: the kind, LParam: the error code
constexpr UINT WM_HTTP_SET_READY = WM_USER + 2;
constexpr UINT WM_HTTP_RELOCATE = WM_USER + 3;

constexpr int ReceiveBufferSize = 8192;
constexpr int SendBlockSize = 8192;
// Redirections a request follows; the next one ends it.
constexpr int MaxRedirections = 10;

std::string WinsockFailure(int code)
{
    return WinsockErrorText(code) + " (Error #" + IntToStr(code) + ")";
}

bool EndsWithNoCase(const std::string& s, const char* suffix)
{
    const size_t n = std::strlen(suffix);
    return s.size() >= n && AnsiLowerCase(s.substr(s.size() - n)) == suffix;
}

enum class TDigits { None, Read, TooLarge };

// Decimal digits and nothing else: no sign, no blank, no "$" or "x" of a
// hexadecimal number, as the system's conversions would take.
TDigits ReadDigits(const std::string& text, std::int64_t& value)
{
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos)
        return TDigits::None;
    std::int64_t n = 0;
    for (const char c : text) {
        const int digit = c - '0';
        if (n > (std::numeric_limits<std::int64_t>::max() - digit) / 10)
            return TDigits::TooLarge;
        n = n * 10 + digit;
    }
    value = n;
    return TDigits::Read;
}

} // namespace

THttpCli::THttpCli(TComponent* owner)
    : TComponent(owner), socket_(new TWSocket(this)),
      window_(std::make_unique<THiddenWindow>(THiddenWindow::TWndMethod(this, &THttpCli::WindowProc), this)),
      headerLines_(std::make_unique<TStringList>()), authChallenges_(std::make_unique<TStringList>()),
      sendBlock_(SendBlockSize), receiveBuffer_(ReceiveBufferSize)
{
    socket_->OnSessionConnected = TSessionConnected(this, &THttpCli::SessionConnected);
    socket_->OnSessionClosed = TSessionClosed(this, &THttpCli::SessionClosed);
    socket_->OnDataAvailable = TDataAvailable(this, &THttpCli::DataAvailable);
    socket_->OnDataSent = TDataSent(this, &THttpCli::DataSent);
    socket_->OnDnsLookupDone = TDnsLookupDone(this, &THttpCli::DnsLookupDone);
}

THttpCli::~THttpCli()
{
    // The socket goes first, while the client it reports to is whole.
    Destroying();
    delete socket_;
}

void THttpCli::SetMultiThreaded(bool value)
{
    multiThreaded_ = value;
    socket_->SetMultiThreaded(value);
}

bool THttpCli::SetState(THttpState state, bool announceDone)
{
    if (state == state_)
        return true;
    state_ = state;
    TFreeWatch watch(freeWatches_);
    OnStateChange(this);
    if (watch.Freed())
        return false;
    // The request's own kind and error travel with the message: a new
    // request may start before it is handled.
    if (state_ == httpReady && announceDone)
        window_->Post(WM_HTTP_REQUEST_DONE, static_cast<WPARAM>(rqType_), errorCode_);
    return true;
}

void THttpCli::WindowProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_HTTP_REQUEST_DONE:
        OnRequestDone(this, static_cast<THttpRequest>(message.WParam), static_cast<WORD>(message.LParam));
        break;
    case WM_HTTP_SET_READY:
        SetState(httpReady);
        break;
    case WM_HTTP_RELOCATE:
        // An Abort or a failure may have ended the request meanwhile.
        if (!ended_ && state_ != httpAborting && state_ != httpReady)
            Guarded([this] { StartConnection(); });
        break;
    default:
        window_->DefaultHandler(message);
        break;
    }
}

// ---------------------------------------------------------------------------
// Starting a request

void THttpCli::RequestAsync(THttpRequest kind)
{
    if (state_ != httpReady)
        throw EHttpException("HTTP component is busy", 1);
    if (kind == httpPOST && !RequestBody)
        throw EHttpException("HTTP component has nothing to post", 2);

    headerLines_->Clear();
    rqType_ = kind;
    errorCode_ = httpErrNone;
    socket_->OnSessionClosed = TSessionClosed(this, &THttpCli::SessionClosed);
    if (!SetState(httpNotConnected))
        return;
    documentName_.clear();
    statusCode_ = 0;
    receivedCount_ = 0;
    sentCount_ = 0;
    headerLineCount_ = 0;
    bodyChunkCount_ = 0;
    sendingBody_ = false;
    redirects_ = 0;
    failed_ = false;
    ended_ = false;

    std::string proto, user, password, host, port, path;
    ParseURL(URL, proto, user, password, host, port, path);
    hostHeader_ = host;
    urlPort_ = port;
    if (Proxy.empty()) {
        path_ = path;
        connectHost_ = host;
        connectPort_ = port.empty() ? "80" : port;
    } else {
        // The proxy asks the server the URL names, port included.
        path_ = ProxyPrefix(proto.empty() ? "http" : proto) + path;
        std::string proxyProto, proxyUser, proxyPassword, proxyPath;
        ParseURL(Proxy, proxyProto, proxyUser, proxyPassword, connectHost_, connectPort_, proxyPath);
        if (connectPort_.empty())
            connectPort_ = ProxyPort;
    }
    if (!user.empty())
        Username = user;
    if (!password.empty())
        Password = password;
    if (path_.empty())
        path_ = "/";

    if (path_ == "/") {
        documentName_ = "document.htm";
    } else {
        std::string name = path_;
        if (!name.empty() && name.back() == '/')
            name.pop_back();
        name = name.substr(name.rfind('/') + 1).substr(0, 255);
        documentName_ = name.substr(0, name.find('?'));
    }

    TFreeWatch watch(freeWatches_);
    try {
        StartConnection();
    } catch (const Exception&) {
        // Nothing was started: the client is ready for the next request.
        if (!watch.Freed())
            SetState(httpReady, false);
        throw;
    }
}

std::string THttpCli::ProxyPrefix(const std::string& scheme) const
{
    return scheme + "://" + hostHeader_ + (urlPort_.empty() ? "" : ":" + urlPort_);
}

void THttpCli::RequestSync(THttpRequest kind)
{
    // A handler that frees the client ends the request: nothing of the
    // client is read afterwards, and nothing is raised.
    TFreeWatch watch(freeWatches_);
    RequestAsync(kind);
    while (!watch.Freed() && state_ != httpReady) {
        if (multiThreaded_ || !Application)
            socket_->PumpMessages();
        else
            Application->ProcessMessages();
        if (!watch.Freed() && state_ != httpReady)
            SleepUntilMessage();
    }
    if (!watch.Freed() && statusCode_ >= 400)
        throw EHttpException(reasonPhrase_, statusCode_);
}

void THttpCli::StartConnection()
{
    if (!SetState(httpDnsLookup))
        return;
    fill_ = 0;
    answerLengthSeen_ = false;
    answerFault_.clear();
    closingOnPurpose_ = false;
    socket_->DnsLookup(connectHost_);
}

void THttpCli::Disconnect()
{
    closingOnPurpose_ = true;
    TFreeWatch watch(freeWatches_);
    socket_->Close();
    if (!watch.Freed())
        connected_ = false;
}

// ---------------------------------------------------------------------------
// The end of a request

void THttpCli::Fail(const std::string& reason, WORD errorCode)
{
    if (failed_)
        return;
    failed_ = true;
    statusCode_ = 404;
    reasonPhrase_ = reason;
    errorCode_ = errorCode;
}

void THttpCli::FailAndClose(const std::string& reason, WORD errorCode)
{
    Fail(reason, errorCode);
    TFreeWatch watch(freeWatches_);
    if (socket_->State() != wsClosed)
        Disconnect();
    if (watch.Freed())
        return;
    // No connection was open (or its close was reported already): the
    // request ends here.
    if (!ended_)
        SessionClosed(this, 0);
}

template <class F>
void THttpCli::Guarded(F f)
{
    TFreeWatch watch(freeWatches_);
    try {
        f();
    } catch (const Exception& e) {
        // Raised by a handler that freed the client: no request is left to
        // end.
        if (watch.Freed())
            throw;
        FailAndClose(e.Message(), httpErrNone);
    }
}

void THttpCli::SessionClosed(TObject*, WORD error)
{
    if (ended_)
        return;
    const bool wasConnected = connected_;
    connected_ = false;
    if (state_ != httpAborting && !failed_) {
        if (error != 0)
            Fail(WinsockFailure(error), httpErrTransfer);
        else if (closingOnPurpose_)
            ;  // the client closed: an error status, or a failed send
        else if (wasConnected && state_ == httpWaitingHeader)
            Fail("Document incomplete", httpErrTransfer);
        else if (state_ == httpWaitingBody && BodyLength() > receivedCount_)
            Fail("Document incomplete", httpErrTransfer);
    }
    // Ended before OnDocEnd: an Abort of its handler finds the request over
    // and does not end it (nor fire OnDocEnd) once more.
    ended_ = true;
    if (bodyChunkCount_ > 0) {
        TFreeWatch watch(freeWatches_);
        TriggerDocEnd();
        if (watch.Freed())
            return;
    }
    window_->Post(WM_HTTP_SET_READY);
}

void THttpCli::RedirectClosed(TObject*, WORD)
{
    connected_ = false;
    locationSeen_ = false;
    socket_->OnSessionClosed = TSessionClosed(this, &THttpCli::SessionClosed);
    ++redirects_;
    TFreeWatch watch(freeWatches_);
    OnLocationChange(this);
    if (!watch.Freed())
        window_->Post(WM_HTTP_RELOCATE);
}

void THttpCli::Abort()
{
    if (state_ == httpReady) {
        if (socket_->State() != wsClosed)
            socket_->Close();
        return;
    }
    const THttpState was = state_;
    if (!SetState(httpAborting))
        return;
    if (was == httpDnsLookup) {
        try {
            socket_->CancelDnsLookup();
        } catch (const Exception&) {
            // The answer may be on its way already; it is dropped anyway.
        }
    }
    failed_ = true;
    statusCode_ = 404;
    reasonPhrase_ = "Connection aborted on request";
    errorCode_ = httpErrAborted;
    if (was != httpDnsLookup && socket_->State() != wsClosed) {
        // The close ends the request: its handlers may free the client.
        TFreeWatch watch(freeWatches_);
        socket_->Close();
        if (watch.Freed())
            return;
    }
    // Between two connections of a redirection there is none to close.
    if (!ended_)
        SessionClosed(this, 0);
}

// ---------------------------------------------------------------------------
// Look-up, connection and the request

void THttpCli::DnsLookupDone(TObject*, WORD error)
{
    if (state_ != httpDnsLookup)
        return;
    if (error) {
        Fail("can't resolve hostname to IP address", httpErrNone);
        SessionClosed(this, 0);
        return;
    }
    Guarded([this] {
        if (!SetState(httpNotConnected))
            return;
        socket_->SetAddr(socket_->DnsResult());
        socket_->SetPort(connectPort_);
        socket_->SetProto("tcp");
        socket_->Connect();
    });
}

void THttpCli::SessionConnected(TObject*, WORD error)
{
    if (error) {
        // The socket closes the connection next, which ends the request.
        Fail(WinsockFailure(error), httpErrNone);
        return;
    }
    Guarded([this] {
        connected_ = true;
        bodyHandler_ = false;
        if (!SetState(httpWaitingHeader))
            return;
        static const char* const methods[] = {"", "GET", "POST", "HEAD"};
        TFreeWatch watch(freeWatches_);
        SendRequest(methods[rqType_]);
        if (watch.Freed() || rqType_ != httpPOST)
            return;
        TriggerSendBegin();
        if (watch.Freed())
            return;
        sendingBody_ = true;
        SendNextBlock();
    });
}

void THttpCli::SendCommand(const std::string& line)
{
    TFreeWatch watch(freeWatches_);
    OnCommand(this, line);
    if (watch.Freed())
        return;
    request_ += line;
    request_ += "\r\n";
}

void THttpCli::SendRequest(const std::string& method)
{
    // The handlers of the header's begin and end and of each line may free
    // the client: then it makes no more lines.
    TFreeWatch watch(freeWatches_);
    const auto command = [&](const std::string& line) {
        SendCommand(line);
        return !watch.Freed();
    };
    request_.clear();
    TriggerHeaderBegin();
    if (watch.Freed() || !command(method + " " + path_ + " HTTP/" + "1.0"))
        return;
    if (!Sender.empty() && !command("From: " + Sender))
        return;
    if (!Reference.empty() && !command("Referer: " + Reference))
        return;
    if (rqType_ == httpPOST && !ContentTypePost.empty() && !command("Content-Type: " + ContentTypePost))
        return;
    if (!Agent.empty() && !command("User-Agent: " + Agent))
        return;
    if (!command("Host: " + hostHeader_))
        return;
    if (NoCache && !command("Pragma: no-cache"))
        return;
    if (rqType_ == httpPOST && !command("Content-Length: " + IntToStr(RequestBody->Size())))
        return;
    if (ModifiedSince != 0 && !command("If-Modified-Since: " + RFC1123Date(ModifiedSince) + " GMT"))
        return;
    if (!Username.empty() && !command("Authorization: Basic " + EncodeLine(1, Username + ":" + Password)))
        return;
    if (!Proxy.empty() && !ProxyUsername.empty() &&
        !command("Proxy-Authorization: Basic " + EncodeLine(1, ProxyUsername + ":" + ProxyPassword)))
        return;
    if (!Cookie.empty() && !command("Cookie: " + Cookie))
        return;
    TriggerHeaderEnd();
    if (watch.Freed() || !command(""))
        return;
    const std::string bytes = std::move(request_);
    request_.clear();
    socket_->SendStr(bytes);
}

void THttpCli::DataSent(TObject*, WORD)
{
    if (sendingBody_)
        Guarded([this] { SendNextBlock(); });
}

void THttpCli::SendNextBlock()
{
    const int n = RequestBody->Read(sendBlock_.data(), SendBlockSize);
    if (n > 0) {
        sentCount_ += n;
        TFreeWatch watch(freeWatches_);
        TriggerSendData(sendBlock_.data(), n);
        if (!watch.Freed())
            socket_->Send(sendBlock_.data(), n);
    } else {
        sendingBody_ = false;
        TriggerSendEnd();
    }
}

// ---------------------------------------------------------------------------
// The answer

void THttpCli::DataAvailable(TObject*, WORD)
{
    Guarded([this] {
        const int room = ReceiveBufferSize - fill_ - 1;
        const int n = socket_->Receive(receiveBuffer_.data() + fill_, std::max(room, 0));
        if (n < 0) {
            const int code = socket_->LastError();
            // A reset often shows here first, before the close event.
            if (code != WSAEWOULDBLOCK && state_ != httpAborting)
                FailAndClose(WinsockFailure(code), httpErrTransfer);
            return;
        }
        if (n == 0 && room > 0)
            return;
        fill_ += n;
        receiveBuffer_[fill_] = 0;
        if (bodyHandler_ && state_ == httpWaitingBody) {
            const int len = fill_;
            fill_ = 0;
            BodyData(receiveBuffer_.data(), len);
            return;
        }
        // A handler of the header's events may free the client.
        TFreeWatch watch(freeWatches_);
        while (fill_ > 0 && connected_) {
            char* begin = receiveBuffer_.data();
            char* lf = static_cast<char*>(std::memchr(begin, '\n', static_cast<size_t>(fill_)));
            if (!lf)
                break;
            size_t len = static_cast<size_t>(lf - begin);
            std::string line(begin, len > 0 && begin[len - 1] == '\r' ? len - 1 : len);
            const int used = static_cast<int>(len) + 1;
            std::memmove(begin, begin + used, static_cast<size_t>(fill_ - used));
            fill_ -= used;
            // Lines outside a request's header have no reader; the empty
            // line hands the rest of the buffer to the body.
            if (state_ == httpWaitingHeader) {
                HeaderLine(line);
                if (watch.Freed())
                    return;
            }
        }
        // A header line that fills the whole buffer leaves no room for its
        // end.
        if (connected_ && !bodyHandler_ && fill_ >= ReceiveBufferSize - 1)
            FailAndClose("Header line too long", httpErrTransfer);
    });
}

void THttpCli::HeaderLine(const std::string& line)
{
    TFreeWatch watch(freeWatches_);
    if (headerLineCount_ == 0) {
        TriggerHeaderBegin();
        if (watch.Freed())
            return;
    }
    ++headerLineCount_;
    if (line.empty()) {
        if (locationSeen_) {
            if (redirects_ >= MaxRedirections) {
                FailAndClose("Too many redirections", httpErrTransfer);
                return;
            }
            socket_->OnSessionClosed = TSessionClosed(this, &THttpCli::RedirectClosed);
            Disconnect();
            return;
        }
        // No part of a body whose end cannot be told is handed on.
        if (!answerFault_.empty() && AnswerHasBody()) {
            FailAndClose(answerFault_, httpErrTransfer);
            return;
        }
        if (EndsWithNoCase(documentName_, ".exe") && contentType_ == "text/html")
            documentName_ = ChangeFileExt(documentName_, ".htm");
        if (!SetState(httpWaitingBody))
            return;
        bodyHandler_ = true;
        TriggerHeaderEnd();
        if (watch.Freed())
            return;
        if (fill_ > 0) {
            const int len = fill_;
            fill_ = 0;
            BodyData(receiveBuffer_.data(), len);
        } else {
            EndWhenComplete();
        }
        return;
    }
    lastLine_ = line;
    headerLines_->Add(line);
    if (line.compare(0, 8, "HTTP/1.0") == 0 || line.compare(0, 8, "HTTP/1.1") == 0) {
        StatusLine(line);
        if (watch.Freed() || failed_)
            return;
    } else {
        HeaderField(line);
    }
    OnHeaderData(this);
    if (!watch.Freed() && statusCode_ >= 400 && connected_)
        Disconnect();
}

void THttpCli::StatusLine(const std::string& line)
{
    std::int64_t code = 0;
    if (line.size() < 12 || ReadDigits(line.substr(9, 3), code) != TDigits::Read) {
        FailAndClose("Invalid status line", httpErrTransfer);
        return;
    }
    statusCode_ = static_cast<int>(code);
    reasonPhrase_ = line.size() > 13 ? line.substr(13) : std::string();
}

void THttpCli::HeaderField(const std::string& line)
{
    const size_t colon = line.find(':');
    if (colon == std::string::npos)
        return;
    const std::string name = AnsiLowerCase(line.substr(0, colon));
    // One blank after the colon is taken for granted.
    const std::string value = line.size() > colon + 2 ? line.substr(colon + 2) : std::string();
    if (name == "location") {
        locationSeen_ = true;
        Relocate(value);
    } else if (name == "content-length") {
        // A value that is not all digits leaves the length unknown.
        std::int64_t length = 0;
        if (ReadDigits(value, length) == TDigits::Read)
            contentLength_ = length;
        // Where the body ends is read from the whole value, blanks or none
        // around it: the length above may have lost its first digit, the
        // document must not lose its end.
        switch (ReadDigits(TrimBlanksAndTabs(line.substr(colon + 1)), length)) {
        case TDigits::Read:
            if (answerLengthSeen_ && length != answerLength_)
                AnswerFault("Content-Length given twice with different values");
            answerLength_ = length;
            answerLengthSeen_ = true;
            break;
        case TDigits::TooLarge:
            AnswerFault("Content-Length too large");
            break;
        case TDigits::None:
            break;
        }
    } else if (name == "transfer-encoding") {
        // The client decodes no transfer coding: the body would keep its
        // framing.
        if (AnsiLowerCase(TrimBlanksAndTabs(value)) != "identity")
            AnswerFault("Transfer-Encoding not supported");
    } else if (name == "content-type") {
        contentType_ = value;
    } else if (name == "www-authenticate") {
        authChallenges_->Add(value);
    }
}

void THttpCli::Relocate(const std::string& location)
{
    std::string proto, user, password, host, port, path;
    if (Proxy.empty()) {
        if (!location.empty() && location[0] == '/') {
            path_ = location;
            return;
        }
        ParseURL(location, proto, user, password, host, port, path);
        if (proto.empty())
            proto = "http";
        path_ = path;
        connectHost_ = host;
        if (!port.empty())
            connectPort_ = port;
        if (path.empty()) {
            // A bare name, taken relative to the current server's root.
            path_ = proto + "://" + hostHeader_ + "/" + host;
            connectHost_ = hostHeader_;
        } else if (!host.empty()) {
            hostHeader_ = host;
            urlPort_ = port;
            // Another server without a port listens on the scheme's one.
            if (port.empty())
                connectPort_ = "80";
        } else {
            path_ = proto + "://" + hostHeader_ + path;
            connectHost_ = hostHeader_;
        }
        return;
    }
    ParseURL(location, proto, user, password, host, port, path);
    if (proto.empty())
        proto = "http";
    if (path.empty())
        path_ = ProxyPrefix(proto) + "/" + host;
    else if (!host.empty())
        path_ = location[0] == '/' ? path_ + location : location;
    else
        path_ = ProxyPrefix(proto) + path;
}

void THttpCli::AnswerFault(const std::string& reason)
{
    if (answerFault_.empty())
        answerFault_ = reason;
}

bool THttpCli::AnswerHasBody() const
{
    // Their Content-Length is that of a document they do not carry.
    return rqType_ != httpHEAD && statusCode_ != 204 && statusCode_ != 304;
}

std::int64_t THttpCli::BodyLength() const
{
    if (!AnswerHasBody())
        return 0;
    return answerLengthSeen_ ? answerLength_ : -1;
}

void THttpCli::EndWhenComplete()
{
    // A server may keep the connection open after the whole document: the
    // client then closes it itself, and the request ends as when the server
    // closes.
    const std::int64_t length = BodyLength();
    if (connected_ && length >= 0 && receivedCount_ >= length)
        Disconnect();
}

void THttpCli::BodyData(const char* data, int len)
{
    // Bytes beyond the announced length are no part of the document.
    const std::int64_t length = BodyLength();
    if (length >= 0)
        len = static_cast<int>(std::min<std::int64_t>(len, length - receivedCount_));
    if (len > 0) {
        // The handlers of the document's data may free the client.
        TFreeWatch watch(freeWatches_);
        if (bodyChunkCount_ == 0) {
            TriggerDocBegin();
            if (watch.Freed())
                return;
        }
        ++bodyChunkCount_;
        receivedCount_ += len;
        lastLine_.assign(data, static_cast<size_t>(len));
        TriggerDocData(data, len);
        if (watch.Freed())
            return;
        if (BodyStream)
            BodyStream->WriteBuffer(data, len);
    }
    EndWhenComplete();
}

// ---------------------------------------------------------------------------
// Published for forms

const TClassInfo* THttpCli::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& THttpCli::StaticClass()
{
    using H = THttpCli;
    static const TClassInfo info("THttpCli", &TComponent::StaticClass(), &NewComponent<THttpCli>,
                                 {
                                     PublishString<&H::URL, &H::URL>("URL"),
                                     PublishString<&H::Proxy, &H::Proxy>("Proxy"),
                                     PublishString<&H::ProxyPort, &H::ProxyPort>("ProxyPort"),
                                     PublishString<&H::Sender, &H::Sender>("Sender"),
                                     PublishString<&H::Agent, &H::Agent>("Agent"),
                                     PublishString<&H::Reference, &H::Reference>("Reference"),
                                     PublishString<&H::Username, &H::Username>("Username"),
                                     PublishString<&H::Password, &H::Password>("Password"),
                                     PublishString<&H::ProxyUsername, &H::ProxyUsername>("ProxyUsername"),
                                     PublishString<&H::ProxyPassword, &H::ProxyPassword>("ProxyPassword"),
                                     PublishBoolean<&H::NoCache, &H::NoCache>("NoCache"),
                                     PublishFloat<&H::ModifiedSince, &H::ModifiedSince>("ModifiedSince"),
                                     PublishString<&H::Cookie, &H::Cookie>("Cookie"),
                                     PublishString<&H::ContentTypePost, &H::ContentTypePost>("ContentTypePost"),
                                     PublishBoolean<&H::MultiThreaded, &H::SetMultiThreaded>("MultiThreaded"),
                                     PublishEvent<&H::OnCommand>("OnCommand"),
                                     PublishEvent<&H::OnHeaderBegin>("OnHeaderBegin"),
                                     PublishEvent<&H::OnHeaderEnd>("OnHeaderEnd"),
                                     PublishEvent<&H::OnHeaderData>("OnHeaderData"),
                                     PublishEvent<&H::OnDocBegin>("OnDocBegin"),
                                     PublishEvent<&H::OnDocEnd>("OnDocEnd"),
                                     PublishEvent<&H::OnDocData>("OnDocData"),
                                     PublishEvent<&H::OnSendBegin>("OnSendBegin"),
                                     PublishEvent<&H::OnSendEnd>("OnSendEnd"),
                                     PublishEvent<&H::OnSendData>("OnSendData"),
                                     PublishEvent<&H::OnStateChange>("OnStateChange"),
                                     PublishEvent<&H::OnRequestDone>("OnRequestDone"),
                                     PublishEvent<&H::OnLocationChange>("OnLocationChange"),
                                     PublishEvent<&H::OnTrace>("OnTrace"),
                                 });
    return info;
}

void HttpProtStartup()
{
    RegisterComponentClass(THttpCli::StaticClass());
}
