// The socket's connection side: names, connecting, listening, closing,
// host look-ups and the reporting of errors.
#include "common/WSocket.h"

#include <cstring>
#include <functional>

#include "classlib/TypInfo.h"

namespace {

// Windows Sockets is started by the first socket and stopped when the last
// one goes (or at the unit's shutdown).
int useCount = 0;
bool winsockStarted = false;

void StartWinsock()
{
    if (winsockStarted)
        return;
    WSADATA data;
    const int code = WSAStartup(MAKEWORD(1, 1), &data);
    if (code != 0)
        throw ESocketException(Format("%s: WSAStartup error #%d", "wsock32.dll", code));
    winsockStarted = true;
}

void StopWinsock()
{
    if (!winsockStarted)
        return;
    WSACleanup();
    winsockStarted = false;
}

std::string Trim(const std::string& s)
{
    size_t first = 0;
    size_t last = s.size();
    while (first < last && static_cast<unsigned char>(s[first]) <= ' ')
        ++first;
    while (last > first && static_cast<unsigned char>(s[last - 1]) <= ' ')
        --last;
    return s.substr(first, last - first);
}

bool StartsWithDigit(const std::string& s)
{
    return !s.empty() && s[0] >= '0' && s[0] <= '9';
}

int LeadingDecimal(const std::string& s)
{
    int n = 0;
    for (size_t i = 0; i < s.size() && s[i] >= '0' && s[i] <= '9' && n < 100000000; ++i)
        n = n * 10 + (s[i] - '0');
    return n;
}

bool IsDottedNumber(const std::string& s)
{
    if (s.empty())
        return false;
    for (char c : s)
        if ((c < '0' || c > '9') && c != '.')
            return false;
    return true;
}

std::string Dotted(const in_addr& addr)
{
    const char* text = inet_ntoa(addr);
    return text ? text : "";
}

constexpr long AllEvents = FD_READ | FD_WRITE | FD_ACCEPT | FD_CONNECT | FD_CLOSE;

} // namespace

// ---------------------------------------------------------------------------
// Look-up answers

// The system writes a look-up's answer into its buffer from a thread of its
// own and only then posts the message, and Wine's WSACancelAsyncRequest
// reports success without stopping that. So no buffer may go with its
// socket: each look-up has one of its own, kept here, and every answer comes
// to the unit's window, which hands it on to the socket still waiting for it
// (as the socket's own look-up message) and only then frees the buffer.
struct TLookupAnswer {
    HANDLE handle = nullptr;
    // The socket's window; none once the socket no longer waits for it.
    HWND socketWindow = nullptr;
    char buffer[1025];
};

namespace {

class TLookupAnswers {
public:
    TLookupAnswers() : window_(THiddenWindow::TWndMethod(this, &TLookupAnswers::WindowProc), nullptr) {}
    ~TLookupAnswers()
    {
        // The system may still write the buffers of answers on their way;
        // the process is ending, so they are left to it.
        for (auto& answer : answers_)
            answer.release();
    }
    HWND Handle() const { return window_.Handle(); }
    TLookupAnswer* Add(HWND socketWindow)
    {
        answers_.push_back(std::make_unique<TLookupAnswer>());
        answers_.back()->socketWindow = socketWindow;
        return answers_.back().get();
    }
    // For a look-up that never started.
    void Remove(const TLookupAnswer* answer)
    {
        for (auto it = answers_.begin(); it != answers_.end(); ++it) {
            if (it->get() == answer) {
                answers_.erase(it);
                return;
            }
        }
    }

private:
    void WindowProc(TMessage& message)
    {
        if (message.Msg != WM_ASYNCGETHOSTBYNAME && message.Msg != WM_ASYNCGETHOSTBYADDR) {
            window_.DefaultHandler(message);
            return;
        }
        // The newest with the handle: the system may hand out the handle of
        // a look-up long done again.
        TLookupAnswer* answer = nullptr;
        for (const auto& a : answers_)
            if (a->handle == reinterpret_cast<HANDLE>(message.WParam))
                answer = a.get();
        if (!answer)
            return;
        if (answer->socketWindow)
            SendMessageA(answer->socketWindow, message.Msg, message.WParam, message.LParam);
        // The socket's handlers may have started other look-ups meanwhile.
        Remove(answer);
    }

    THiddenWindow window_;
    std::vector<std::unique_ptr<TLookupAnswer>> answers_;
};

TLookupAnswers* lookupAnswers = nullptr;

const TLookupCalls systemLookupCalls{&WSAAsyncGetHostByName, &WSAAsyncGetHostByAddr, &WSACancelAsyncRequest};
TLookupCalls lookupCalls = systemLookupCalls;

TLookupAnswers& LookupAnswers()
{
    if (!lookupAnswers)
        lookupAnswers = new TLookupAnswers;
    return *lookupAnswers;
}

} // namespace

// ---------------------------------------------------------------------------
// Creation and destruction

TCustomWSocket::TCustomWSocket(TComponent* owner)
    : TComponent(owner), window_(std::make_unique<THiddenWindow>(THiddenWindow::TWndMethod(this, &TCustomWSocket::WindowProc),
                                                                 this, "XSocketWindowClass")),
      dnsResultList_(std::make_unique<TStringList>())
{
    AssignDefaults();
    StartWinsock();
    ++useCount;
}

TCustomWSocket::~TCustomWSocket()
{
    Destroying();
    // A destructor reports nothing: the handle is let go whatever the
    // system answers.
    try {
        CancelDnsLookup();
    } catch (const Exception&) {
    }
    try {
        if (state_ != wsClosed)
            Close();
    } catch (const Exception&) {
    }
    // Freed by a handler while it waits through its wait control: nothing
    // is left to wait for.
    if (ctrlWaits_ > 0 && waitCtrl_) {
        if (waitCtrl_->Running())
            waitCtrl_->Stop();
        waitCtrl_->Hide();
    }
    if (handle_ != INVALID_SOCKET)
        closesocket(handle_);
    if (waitCtrl_)
        waitCtrl_->RemoveFreeNotification(this);
    if (--useCount < 1)
        StopWinsock();
}

void TCustomWSocket::AssignDefaults()
{
    sin_ = sockaddr_in{};
    sin_.sin_family = AF_INET;
    portAssigned_ = false;
    addrAssigned_ = false;
    addrResolved_ = false;
    protoAssigned_ = true;
    protoNum_ = IPPROTO_TCP;
    proto_ = "tcp";
    sockType_ = SOCK_STREAM;
    lingerOnOff_ = wsLingerOn;
    lingerTimeout_ = 0;
    handle_ = INVALID_SOCKET;
    state_ = wsClosed;
    awaited_ = wsInvalidState;
    allSent_ = true;
    lineReading_ = false;
    // The line read so far stays: a peer that closes before the line feed
    // must not take the last line with it. A new line read clears it.
    paused_ = false;
    readCount_ = 0;
    closeInvoked_ = false;
    flushTimeout_ = 60;
}

void TCustomWSocket::Notification(TComponent* component, TOperation operation)
{
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == waitCtrl_)
        waitCtrl_ = nullptr;
}

void TCustomWSocket::SetWaitCtrl(TWait* value)
{
    if (waitCtrl_ == value)
        return;
    if (waitCtrl_)
        waitCtrl_->RemoveFreeNotification(this);
    waitCtrl_ = value;
    if (waitCtrl_)
        waitCtrl_->FreeNotification(this);
}

// ---------------------------------------------------------------------------
// Names

void TCustomWSocket::SetAddr(const std::string& value)
{
    const std::string trimmed = Trim(value);
    if (addrAssigned_ && trimmed == addr_)
        return;
    addr_ = trimmed;
    if (addr_.empty()) {
        addrAssigned_ = false;
    } else if (state_ == wsClosed) {
        addrResolved_ = false;
        addrAssigned_ = true;
    } else {
        HandleError("Cannot change Addr if not closed");
    }
}

bool TCustomWSocket::TakeName(std::string& text, bool assigned, const std::string& value, const char* notClosed)
{
    if (assigned && value == text)
        return false;
    text = value;
    if (state_ != wsClosed) {
        HandleError(notClosed);
        return false;
    }
    text = Trim(value);
    return true;
}

void TCustomWSocket::SetPort(const std::string& value)
{
    if (!TakeName(port_, portAssigned_, value, "Cannot change Port if not closed"))
        return;
    if (port_.empty()) {
        portAssigned_ = false;
    } else if (StartsWithDigit(port_)) {
        portNum_ = static_cast<u_short>(LeadingDecimal(port_));
        portAssigned_ = true;
    } else {
        StartWinsock();
        const servent* service = getservbyname(port_.c_str(), proto_.empty() ? nullptr : proto_.c_str());
        if (service) {
            portNum_ = ntohs(service->s_port);
            portAssigned_ = true;
        } else {
            portAssigned_ = false;
            SocketError("SetPort: Cannot convert port '" + value + "'");
        }
    }
}

void TCustomWSocket::SetProto(const std::string& value)
{
    if (!TakeName(proto_, protoAssigned_, value, "Cannot change Proto if not closed"))
        return;
    if (proto_.empty()) {
        protoAssigned_ = false;
        return;
    }
    if (proto_ == "not found")
        return;
    if (StartsWithDigit(proto_)) {
        protoNum_ = LeadingDecimal(proto_);
        protoAssigned_ = true;
    } else {
        StartWinsock();
        const protoent* protocol = getprotobyname(proto_.c_str());
        if (!protocol) {
            protoAssigned_ = false;
            SocketError("SetProto: Cannot convert protocol '" + value + "'");
            return;
        }
        protoNum_ = protocol->p_proto;
        protoAssigned_ = true;
    }
    sockType_ = protoNum_ == IPPROTO_UDP ? SOCK_DGRAM : SOCK_STREAM;
}

TSocketSendFlags TCustomWSocket::SendFlags() const
{
    return sendFlags_ == MSG_OOB ? wsSendUrgent : wsSendNormal;
}

void TCustomWSocket::SetSendFlags(TSocketSendFlags value)
{
    switch (value) {
    case wsSendNormal:
        sendFlags_ = 0;
        break;
    case wsSendUrgent:
        sendFlags_ = MSG_OOB;
        break;
    default:
        HandleError("Invalid SendFlags");
        break;
    }
}

int TCustomWSocket::RcvdCount()
{
    u_long count = 0;
    if (ioctlsocket(handle_, FIONREAD, &count) == SOCKET_ERROR) {
        SocketError("ioctlSocket");
        return -1;
    }
    return static_cast<int>(count);
}

in_addr WSocketResolveHost(const std::string& text)
{
    const std::string name = Trim(text);
    in_addr result{};
    if (IsDottedNumber(name)) {
        result.s_addr = inet_addr(name.c_str());
        if (result.s_addr != INADDR_NONE || name == "255.255.255.255")
            return result;
    }
    StartWinsock();
    const hostent* host = gethostbyname(name.c_str());
    if (!host || !host->h_addr_list || !host->h_addr_list[0])
        throw ESocketException(Format("SetAddr: Nie mogę rozpoznać adresu %s.", name));
    std::memcpy(&result, host->h_addr_list[0], sizeof result);
    return result;
}

// ---------------------------------------------------------------------------
// Connecting and listening

bool TCustomWSocket::MakeSocket(const char* failure)
{
    if (!addrResolved_) {
        sin_.sin_addr = WSocketResolveHost(addr_);
        addrResolved_ = true;
    }
    sin_.sin_family = AF_INET;
    sin_.sin_port = htons(portNum_);
    EmptyQueue();
    handle_ = socket(AF_INET, sockType_, protoNum_);
    if (handle_ != INVALID_SOCKET)
        return true;
    SocketError(failure);
    return false;
}

void TCustomWSocket::Connect()
{
    if (handle_ != INVALID_SOCKET && state_ != wsClosed) {
        HandleError("Connect: Połączenie jest już w użyciu.");
        return;
    }
    if (!portAssigned_) {
        HandleError("Connect: Nie podano portu.");
        return;
    }
    if (!addrAssigned_) {
        HandleError("Connect: Nie podano adresu IP.");
        return;
    }
    if (!protoAssigned_) {
        HandleError("Connect: Nie podano protokołu");
        return;
    }
    if (!MakeSocket("Connect (socket)"))
        return;
    // A handler of any event on the way may free the socket.
    TFreeWatch watch(freeWatches_);
    ChangeState(wsOpened);
    if (watch.Freed())
        return;

    if (sockType_ == SOCK_DGRAM) {
        try {
            BindAnyPort();
        } catch (...) {
            InternalClose(false);
            throw;
        }
        if (watch.Freed())
            return;
        if (sin_.sin_addr.s_addr == INADDR_BROADCAST) {
            const BOOL on = TRUE;
            if (setsockopt(handle_, SOL_SOCKET, SO_BROADCAST, reinterpret_cast<const char*>(&on), sizeof on) != 0)
                return FailOpen("setsockopt(SO_BROADCAST)", WSAGetLastError());
        }
    } else {
        try {
            SetLingerOption();
        } catch (...) {
            InternalClose(false);
            throw;
        }
        if (watch.Freed() || handle_ == INVALID_SOCKET)
            return;
        const BOOL on = TRUE;
        if (setsockopt(handle_, SOL_SOCKET, SO_KEEPALIVE, reinterpret_cast<const char*>(&on), sizeof on) != 0)
            return FailOpen("setsockopt(SO_KEEPALIVE)", WSAGetLastError());
        if (setsockopt(handle_, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&on), sizeof on) != 0)
            return FailOpen("setsockopt(SO_REUSEADDR)", WSAGetLastError());
    }

    if (WSAAsyncSelect(handle_, Handle(), WM_ASYNCSELECT, AllEvents) != 0)
        return FailOpen("WSAAsyncSelect", WSAGetLastError());

    if (sockType_ == SOCK_DGRAM) {
        ChangeState(wsConnected);
        if (!watch.Freed())
            FireSessionConnected(0);
        return;
    }
    if (connect(handle_, reinterpret_cast<const sockaddr*>(&sin_), sizeof sin_) != 0) {
        const int code = WSAGetLastError();
        if (code != WSAEWOULDBLOCK) {
            lastError_ = code;
            return FailOpen("Connect", code);
        }
    }
    ChangeState(wsConnecting);
}

int TCustomWSocket::Listen()
{
    const char* missing = !portAssigned_    ? "listen: port not assigned"
                          : !protoAssigned_ ? "listen: protocol not assigned"
                          : !addrAssigned_  ? "listen: address not assigned"
                                            : nullptr;
    if (missing) {
        SocketError(missing, WSAEINVAL);
        return -1;
    }
    if (!MakeSocket("socket"))
        return -1;
    if (bind(handle_, reinterpret_cast<const sockaddr*>(&sin_), sizeof sin_) != 0) {
        FailOpen("Bind", WSAGetLastError());
        return -1;
    }
    // A handler of any event on the way may free the socket: it listens no
    // more then.
    TFreeWatch watch(freeWatches_);
    ChangeState(wsBound);
    if (watch.Freed())
        return -1;
    if (sockType_ == SOCK_DGRAM) {
        ChangeState(wsListening);
        if (!watch.Freed())
            ChangeState(wsConnected);
        if (!watch.Freed())
            FireSessionConnected(0);
    } else {
        if (listen(handle_, 5) != 0) {
            FailOpen("Listen", WSAGetLastError());
            return -1;
        }
        ChangeState(wsListening);
    }
    if (watch.Freed())
        return -1;
    if (WSAAsyncSelect(handle_, Handle(), WM_ASYNCSELECT, FD_READ | FD_WRITE | FD_ACCEPT | FD_CLOSE) != 0) {
        FailOpen("WSAASyncSelect", WSAGetLastError());
        return -1;
    }
    return 0;
}

SOCKET TCustomWSocket::Accept()
{
    if (state_ != wsListening) {
        SocketError("not a listening socket", WSAEINVAL);
        return INVALID_SOCKET;
    }
    int len = sizeof sin_;
    // The error's handler may free the socket.
    const SOCKET accepted = accept(handle_, reinterpret_cast<sockaddr*>(&sin_), &len);
    lastAccepted_ = accepted;
    if (accepted == INVALID_SOCKET)
        SocketError("Accept");
    return accepted;
}

void TCustomWSocket::Dup(SOCKET newHandle)
{
    if (newHandle == 0 || newHandle == INVALID_SOCKET) {
        SocketError("Dup", WSAEINVAL);
        return;
    }
    if (state_ != wsClosed && handle_ != INVALID_SOCKET) {
        if (closesocket(handle_) != 0) {
            SocketError("Dup (closesocket)");
            return;
        }
        state_ = wsClosed;
    }
    handle_ = newHandle;
    TFreeWatch watch(freeWatches_);
    SetLingerOption();
    if (watch.Freed())
        return;
    if (WSAAsyncSelect(handle_, Handle(), WM_ASYNCSELECT, FD_READ | FD_WRITE | FD_CONNECT | FD_CLOSE) != 0) {
        SocketError("WSAAsyncSelect");
        return;
    }
    ChangeState(wsConnected);
}

void TCustomWSocket::BindAnyPort()
{
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = INADDR_ANY;
    local.sin_port = 0;
    TFreeWatch watch(freeWatches_);
    if (bind(handle_, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0)
        RaiseExceptionFmt("winsock.bind failed, error #%d", {WSAGetLastError()});
    if (watch.Freed())
        return;
    int len = sizeof local;
    if (getsockname(handle_, reinterpret_cast<sockaddr*>(&local), &len) != 0)
        RaiseExceptionFmt("winsock.getsockname failed, error #%d", {WSAGetLastError()});
    if (!watch.Freed())
        localPortNum_ = ntohs(local.sin_port);
}

void TCustomWSocket::SetLingerOption()
{
    if (lingerOnOff_ == wsLingerNoSet)
        return;
    if (handle_ == INVALID_SOCKET) {
        HandleError("Cannot set linger option at this time");
        return;
    }
    linger option{};
    option.l_onoff = lingerOnOff_ == wsLingerOn ? 1 : 0;
    option.l_linger = static_cast<u_short>(lingerTimeout_);
    if (setsockopt(handle_, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&option), sizeof option) != 0)
        FailOpen("setsockopt(SO_LINGER)", WSAGetLastError());
}

// ---------------------------------------------------------------------------
// Closing

void TCustomWSocket::Close()
{
    InternalClose(true);
}

void TCustomWSocket::Abort()
{
    TFreeWatch watch(freeWatches_);
    CancelDnsLookup();
    if (watch.Freed())
        return;
    EmptyQueue();
    allSent_ = true;
    if (state_ == wsConnected) {
        lingerOnOff_ = wsLingerOff;
        SetLingerOption();
        if (watch.Freed())
            return;
    }
    InternalClose(false);
}

void TCustomWSocket::InternalClose(bool shutdownFirst)
{
    // The handlers of the state's change and of the close may free the
    // socket.
    TFreeWatch watch(freeWatches_);
    if (handle_ == INVALID_SOCKET) {
        if (state_ != wsClosed) {
            ChangeState(wsClosed);
            if (!watch.Freed())
                AssignDefaults();
        }
        return;
    }
    // A live handle is closed in any state: Listen makes its socket while
    // the state still says closed.
    if (shutdownFirst)
        shutdown(handle_, 2);
    int failure = 0;
    while (closesocket(handle_) != 0) {
        const int code = WSAGetLastError();
        if (code != WSAEWOULDBLOCK) {
            failure = code;
            break;
        }
        // A lingering close of a non-blocking socket: let it finish.
        ProcessMessages();
        if (watch.Freed())
            return;
        SleepUntilMessage(10);
    }
    // Closed (or lost) either way: no event may reach a handle the system
    // may give to another socket.
    handle_ = INVALID_SOCKET;
    if (state_ != wsClosed)
        ChangeState(wsClosed);
    if (watch.Freed())
        return;
    if (!IsDestroying() && OnSessionClosed && !closeInvoked_) {
        closeInvoked_ = true;
        FireSessionClosed(0);
        if (watch.Freed())
            return;
    }
    AssignDefaults();
    if (failure) {
        lastError_ = failure;
        SocketError("Disconnect (closesocket)", failure);
    }
}

void TCustomWSocket::FailOpen(const std::string& function, int code)
{
    TFreeWatch watch(freeWatches_);
    InternalClose(false);
    if (!watch.Freed())
        SocketError(function, code);
}

void TCustomWSocket::Shutdown(int how)
{
    if (handle_ != INVALID_SOCKET)
        shutdown(handle_, how);
}

void TCustomWSocket::Pause()
{
    paused_ = true;
    if (handle_ != INVALID_SOCKET)
        WSAAsyncSelect(handle_, Handle(), 0, 0);
}

void TCustomWSocket::Resume()
{
    paused_ = false;
    if (handle_ != INVALID_SOCKET)
        WSAAsyncSelect(handle_, Handle(), WM_ASYNCSELECT, FD_READ | FD_WRITE | FD_CONNECT | FD_CLOSE);
}

// ---------------------------------------------------------------------------
// Addresses

std::string TCustomWSocket::GetPeerAddr()
{
    if (state_ != wsConnected)
        return "error";
    sockaddr_in peer{};
    int len = sizeof peer;
    if (getpeername(handle_, reinterpret_cast<sockaddr*>(&peer), &len) != 0) {
        SocketError("GetPeerName");
        return "error";
    }
    return Dotted(peer.sin_addr);
}

int TCustomWSocket::GetPeerName(sockaddr_in& name, int nameLen)
{
    if (state_ != wsConnected)
        return -1;
    return getpeername(handle_, reinterpret_cast<sockaddr*>(&name), &nameLen);
}

std::string TCustomWSocket::GetXPort()
{
    if (state_ != wsBound && state_ != wsConnected && state_ != wsListening)
        return "error";
    sockaddr_in local{};
    int len = sizeof local;
    if (getsockname(handle_, reinterpret_cast<sockaddr*>(&local), &len) != 0)
        return "error";
    return IntToStr(ntohs(local.sin_port));
}

int TCustomWSocket::GetSockName(sockaddr_in& name, int& nameLen)
{
    return getsockname(handle_, reinterpret_cast<sockaddr*>(&name), &nameLen);
}

// ---------------------------------------------------------------------------
// Host look-ups

bool TCustomWSocket::BeginLookup(const std::string& name)
{
    TFreeWatch watch(freeWatches_);
    if (name.empty()) {
        HandleError("DNS lookup: błędna nazwa serwera.");
        if (!watch.Freed())
            FireDnsLookupDone(WSAEINVAL);
        return false;
    }
    CancelDnsLookup();
    if (watch.Freed())
        return false;
    dnsResult_.clear();
    dnsResultList_->Clear();
    return true;
}

void TCustomWSocket::DnsLookup(const std::string& hostName)
{
    if (!BeginLookup(hostName))
        return;
    in_addr numeric{};
    numeric.s_addr = inet_addr(hostName.c_str());
    if (IsDottedNumber(hostName) && (numeric.s_addr != INADDR_NONE || hostName == "255.255.255.255")) {
        dnsResult_ = Dotted(numeric);
        FireDnsLookupDone(0);
        return;
    }
    StartLookup(hostName, "%s: can't start DNS lookup, error #%d", [&](HWND window, char* buffer, int size) {
        return lookupCalls.GetHostByName(window, WM_ASYNCGETHOSTBYNAME, hostName.c_str(), buffer, size);
    });
}

void TCustomWSocket::ReverseDnsLookup(const std::string& hostAddr)
{
    if (!BeginLookup(hostAddr))
        return;
    const u_long addr = inet_addr(hostAddr.c_str());
    StartLookup(hostAddr, "%s: can't start reverse DNS lookup, error #%d", [&](HWND window, char* buffer, int size) {
        return lookupCalls.GetHostByAddr(window, WM_ASYNCGETHOSTBYADDR, reinterpret_cast<const char*>(&addr),
                                         sizeof addr, AF_INET, buffer, size);
    });
}

void TCustomWSocket::StartLookup(const std::string& name, const char* failure,
                                 const std::function<HANDLE(HWND, char*, int)>& start)
{
    TLookupAnswer* answer = LookupAnswers().Add(Handle());
    answer->handle = start(LookupAnswers().Handle(), answer->buffer, sizeof answer->buffer);
    if (!answer->handle) {
        const int code = WSAGetLastError();
        LookupAnswers().Remove(answer);
        RaiseExceptionFmt(failure, {name, code});
        return;
    }
    dnsHandle_ = answer->handle;
    lookup_ = answer;
}

void TCustomWSocket::ForgetLookup()
{
    dnsHandle_ = nullptr;
    lookup_->socketWindow = nullptr;
    lookup_ = nullptr;
}

void TCustomWSocket::CancelDnsLookup()
{
    if (!dnsHandle_)
        return;
    // Wine's cancel reports success and still delivers the answer: the unit
    // keeps its buffer until it comes, and hands it to nobody.
    const int result = lookupCalls.CancelRequest(dnsHandle_);
    ForgetLookup();
    if (result != 0) {
        SocketError("WSACancelAsyncRequest");
        return;
    }
    if (!IsDestroying())
        FireDnsLookupDone(WSAEINTR);
}

void TCustomWSocket::LookupDone(TMessage& message, bool reverse)
{
    if (!dnsHandle_ || reinterpret_cast<HANDLE>(message.WParam) != dnsHandle_)
        return;
    // The unit frees the buffer only once this message has been handled.
    const auto* host = reinterpret_cast<const hostent*>(lookup_->buffer);
    ForgetLookup();
    const WORD error = WSAGETASYNCERROR(message.LParam);
    if (error == 0) {
        if (reverse) {
            dnsResult_ = host->h_name ? host->h_name : "";
            dnsResultList_->Add(dnsResult_);
        } else {
            for (char** p = host->h_addr_list; p && *p; ++p) {
                in_addr addr;
                std::memcpy(&addr, *p, sizeof addr);
                dnsResultList_->Add(Dotted(addr));
            }
            if (dnsResultList_->Count() > 0)
                dnsResult_ = dnsResultList_->Strings(0);
        }
    }
    FireDnsLookupDone(error);
}

// ---------------------------------------------------------------------------
// Messages of the hidden window

void TCustomWSocket::WindowProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_ASYNCSELECT:
        NetworkEvent(message.WParam, message.LParam);
        break;
    case WM_ASYNCGETHOSTBYNAME:
        LookupDone(message, false);
        break;
    case WM_ASYNCGETHOSTBYADDR:
        LookupDone(message, true);
        break;
    default:
        window_->DefaultHandler(message);
        break;
    }
}

void TCustomWSocket::NetworkEvent(WPARAM wParam, LPARAM lParam)
{
    const SOCKET socket = static_cast<SOCKET>(wParam);
    if (socket != handle_ || handle_ == INVALID_SOCKET || paused_)
        return;
    const WORD events = WSAGETSELECTEVENT(lParam);
    const WORD error = WSAGETSELECTERROR(lParam);
    // A handler may free the socket, or close it (or open another): what
    // follows belongs to the handle the message was for, on a socket still
    // there.
    TFreeWatch watch(freeWatches_);
    auto gone = [&] { return watch.Freed() || handle_ != socket; };

    if (events & FD_CONNECT) {
        ChangeState(wsConnected);
        if (watch.Freed())
            return;
        FireSessionConnected(error);
        if (error && !watch.Freed() && state_ != wsClosed)
            Close();
        if (gone())
            return;
    }
    if (events & FD_READ) {
        ReadHandling(error);
        if (gone())
            return;
    }
    if (events & FD_WRITE) {
        TryToSend();
        if (gone())
            return;
        if (!HasUnsent() && OnDataSent)
            FireDataSent(error);
        if (gone())
            return;
    }
    if (events & FD_ACCEPT) {
        FireSessionAvailable(error);
        if (gone())
            return;
    }
    if ((events & FD_CLOSE) && state_ != wsConnecting) {
        ReadHandling(0);
        if (gone())
            return;
        if (lineReading_)
            EndLineRead();
        if (watch.Freed())
            return;
        if (OnSessionClosed && !closeInvoked_) {
            closeInvoked_ = true;
            FireSessionClosed(error);
        }
        if (!gone() && state_ != wsClosed)
            Close();
    }
}

void TCustomWSocket::ChangeState(TSocketState newState)
{
    const TSocketState oldState = state_;
    state_ = newState;
    TFreeWatch watch(freeWatches_);
    FireChangeState(oldState, newState);
    if (watch.Freed())
        return;
    if (!multiThreaded_ && waitCtrl_ &&
        (newState == awaited_ || (newState == wsClosed && awaited_ == wsConnected)))
        waitCtrl_->Stop();
}

// ---------------------------------------------------------------------------
// Events and errors

bool TCustomWSocket::FireDataAvailable(WORD error)
{
    if (!OnDataAvailable)
        return false;
    OnDataAvailable(this, error);
    return true;
}

void TCustomWSocket::FireSessionAvailable(WORD error)
{
    OnSessionAvailable(this, error);
}

void TCustomWSocket::FireSessionConnected(WORD error)
{
    OnSessionConnected(this, error);
}

void TCustomWSocket::FireSessionClosed(WORD error)
{
    OnSessionClosed(this, error);
}

void TCustomWSocket::FireDataSent(WORD error)
{
    OnDataSent(this, error);
}

void TCustomWSocket::FireChangeState(TSocketState oldState, TSocketState newState)
{
    OnChangeState(this, oldState, newState);
}

void TCustomWSocket::FireDnsLookupDone(WORD error)
{
    OnDnsLookupDone(this, error);
}

void TCustomWSocket::FireError()
{
    OnError(this);
}

void TCustomWSocket::HandleError(const std::string& msg)
{
    if (OnError)
        FireError();
    else
        throw ESocketException(msg);
}

void TCustomWSocket::RaiseExceptionFmt(const std::string& format, std::initializer_list<FormatArg> args)
{
    HandleError(Format(format, args));
}

void TCustomWSocket::SocketError(const std::string& function, int code)
{
    const std::string message = "Error " + IntToStr(code) + " in function " + function + "\r\n" + WinsockErrorText(code);
    // A connection the system says is gone is closed the ordinary way:
    // defaults back, OnSessionClosed once.
    if (code == WSAECONNRESET || code == WSAENOTCONN) {
        // The close's handlers may free the socket: then nothing is left
        // to report on.
        TFreeWatch watch(freeWatches_);
        InternalClose(false);
        if (watch.Freed())
            return;
    }
    lastError_ = code;
    HandleError(message);
}

// ---------------------------------------------------------------------------
// Unit routines

std::string WinsockErrorText(int code)
{
    struct Entry {
        int code;
        const char* text;
    };
    static const Entry table[] = {
        {0, "No Error"},
        {10004, "Interrupted system call"},
        {10009, "Bad file number"},
        {10013, "Permission denied"},
        {10014, "Bad address"},
        {10022, "Invalid argument"},
        {10024, "Too many open files"},
        {10035, "Operation would block"},
        {10036, "Operation now in progress"},
        {10037, "Operation already in progress"},
        {10038, "Socket operation on non-socket"},
        {10039, "Destination address required"},
        {10040, "Message too long"},
        {10041, "Protocol wrong type for socket"},
        {10042, "Protocol not available"},
        {10043, "Protocol not supported"},
        {10044, "Socket type not supported"},
        {10045, "Operation not supported on socket"},
        {10046, "Protocol family not supported"},
        {10047, "Address family not supported by protocol family"},
        {10048, "Address already in use"},
        {10049, "Address not available"},
        {10050, "Network is down"},
        {10051, "Network is unreachable"},
        {10052, "Network dropped connection on reset"},
        {10053, "Connection aborted"},
        {10054, "Connection reset by peer"},
        {10055, "No buffer space available"},
        {10056, "Socket is already connected"},
        {10057, "Socket is not connected"},
        {10058, "Can't send after socket shutdown"},
        {10059, "Too many references: can't splice"},
        {10060, "Connection timed out"},
        {10061, "Connection refused"},
        {10062, "Too many levels of symbolic links"},
        {10063, "File name too long"},
        {10064, "Host is down"},
        {10065, "No route to host"},
        {10066, "Directory not empty"},
        {10067, "Too many processes"},
        {10068, "Too many users"},
        {10069, "Disc quota exceeded"},
        {10070, "Stale NFS file handle"},
        {10071, "Too many levels of remote in path"},
        {10091, "Network sub-system is unusable"},
        {10092, "WinSock DLL cannot support this application"},
        {10093, "WinSock not initialized"},
        {11001, "Host not found"},
        {11002, "Non-authoritative host not found"},
        {11003, "Non-recoverable error"},
        {11004, "No Data"},
    };
    for (const Entry& e : table)
        if (e.code == code)
            return e.text;
    return "Not a WinSock error";
}

std::string LocalHostName()
{
    StartWinsock();
    char name[64] = {};
    if (gethostname(name, sizeof name) != 0)
        throw ESocketException("Winsock.GetHostName failed");
    return std::string(name, strnlen(name, sizeof name));
}

const TClassInfo* TWSocket::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TWSocket::StaticClass()
{
    using S = TCustomWSocket;
    static const TClassInfo info(
        "TWSocket", &TComponent::StaticClass(), &NewComponent<TWSocket>,
        {
            PublishString<&S::Addr, &S::SetAddr>("Addr"),
            PublishString<&S::Port, &S::SetPort>("Port"),
            PublishString<&S::Proto, &S::SetProto>("Proto"),
            PublishString<&S::DnsResult>("DnsResult"),
            PublishStrings<&S::DnsResultList>("DnsResultList"),
            PublishEnum<&S::State>("State", {"wsInvalidState", "wsOpened", "wsBound", "wsConnecting", "wsConnected",
                                             "wsAccepting", "wsListening", "wsClosed"}),
            PublishInteger<&S::ReadCount>("ReadCount"),
            PublishInteger<&S::RcvdCount>("RcvdCount"),
            PublishInteger<&S::LastError>("LastError"),
            PublishBoolean<&S::MultiThreaded, &S::SetMultiThreaded>("MultiThreaded"),
            PublishEvent<&S::OnDataAvailable>("OnDataAvailable"),
            PublishEvent<&S::OnDataSent>("OnDataSent"),
            PublishEvent<&S::OnSessionClosed>("OnSessionClosed"),
            PublishEvent<&S::OnSessionAvailable>("OnSessionAvailable"),
            PublishEvent<&S::OnSessionConnected>("OnSessionConnected"),
            PublishEvent<&S::OnChangeState>("OnChangeState"),
            PublishEvent<&S::OnLineTooLong>("OnLineTooLong"),
            PublishEvent<&S::OnDnsLookupDone>("OnDnsLookupDone"),
            PublishEvent<&S::OnError>("OnError"),
            PublishComponent<&S::WaitCtrl, &S::SetWaitCtrl>("WaitCtrl"),
            PublishInteger<&S::FlushTimeout, &S::SetFlushTimeout>("FlushTimeout"),
            PublishEnum<&S::SendFlags, &S::SetSendFlags>("SendFlags", {"wsSendNormal", "wsSendUrgent"}),
            PublishEnum<&S::LingerOnOff, &S::SetLingerOnOff>("LingerOnOff",
                                                             {"wsLingerOff", "wsLingerOn", "wsLingerNoSet"}),
            PublishInteger<&S::LingerTimeout, &S::SetLingerTimeout>("LingerTimeout"),
        });
    return info;
}

void WSocketStartup()
{
    RegisterComponentClass(TWSocket::StaticClass());
}

TLookupCalls SetLookupCalls(const TLookupCalls& calls)
{
    const TLookupCalls old = lookupCalls;
    lookupCalls.GetHostByName = calls.GetHostByName ? calls.GetHostByName : systemLookupCalls.GetHostByName;
    lookupCalls.GetHostByAddr = calls.GetHostByAddr ? calls.GetHostByAddr : systemLookupCalls.GetHostByAddr;
    lookupCalls.CancelRequest = calls.CancelRequest ? calls.CancelRequest : systemLookupCalls.CancelRequest;
    return old;
}

void WSocketShutdown()
{
    StopWinsock();
    delete lookupAnswers;
    lookupAnswers = nullptr;
}
