// The asynchronous socket component: a TCP or UDP socket on Windows Sockets
// 1.1 that never blocks the GUI thread. The system posts the socket's
// network events and the answers of host look-ups to a hidden window of the
// component (class "XSocketWindowClass"), and the component turns them into
// its events. Failures go to OnError when it is assigned, else they raise
// ESocketException. A handler of any of its events may free the socket:
// nothing of it is read afterwards.
//
// WSocket.cpp holds the connection side (names, connect, listen, close,
// look-ups, errors); WSocketData.cpp the data path (the send queue,
// receiving, line reading and the waits).
#pragma once

#include <windows.h>
// The printer spooler's macro would rename the Port setter.
#undef SetPort

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "classlib/Controls.h"
#include "classlib/HiddenWindow.h"
#include "classlib/Lists.h"
#include "common/WSockbuf.h"
#include "common/Wait.h"

enum TSocketState {
    wsInvalidState,
    wsOpened,
    wsBound,
    wsConnecting,
    wsConnected,
    wsAccepting,
    wsListening,
    wsClosed,
};
enum TSocketLingerOnOff { wsLingerOff, wsLingerOn, wsLingerNoSet };
enum TSocketSendFlags { wsSendNormal, wsSendUrgent };

// (Sender, Error): the Winsock error code, 0 for none.
using TDataAvailable = TEvent<TObject*, WORD>;
using TDataSent = TEvent<TObject*, WORD>;
using TSessionClosed = TEvent<TObject*, WORD>;
using TSessionAvailable = TEvent<TObject*, WORD>;
using TSessionConnected = TEvent<TObject*, WORD>;
using TDnsLookupDone = TEvent<TObject*, WORD>;
using TChangeState = TEvent<TObject*, TSocketState, TSocketState>;

class ESocketException : public Exception {
public:
    using Exception::Exception;
};

// The messages of the socket's hidden window.
constexpr UINT WM_ASYNCSELECT = WM_USER + 1;
constexpr UINT WM_ASYNCGETHOSTBYNAME = WM_USER + 2;
constexpr UINT WM_ASYNCGETHOSTBYADDR = WM_USER + 3;

struct TLookupAnswer;

class TCustomWSocket : public TComponent {
public:
    explicit TCustomWSocket(TComponent* owner);
    ~TCustomWSocket() override;

    // The remote (or, for Listen, local) address: a dotted address or a host
    // name, looked up when connecting. Stored trimmed.
    const std::string& Addr() const { return addr_; }
    void SetAddr(const std::string& value);
    // A number or a service name, looked up with Proto as the protocol.
    const std::string& Port() const { return port_; }
    void SetPort(const std::string& value);
    // "tcp" by default; protocol 17 (udp) makes a datagram socket.
    const std::string& Proto() const { return proto_; }
    void SetProto(const std::string& value);

    const std::string& DnsResult() const { return dnsResult_; }
    TStrings* DnsResultList() const { return dnsResultList_.get(); }
    TSocketState State() const { return state_; }
    int ReadCount() const { return readCount_; }
    // The bytes waiting in the system's receive buffer.
    int RcvdCount();
    int LastError() const { return lastError_; }
    bool MultiThreaded() const { return multiThreaded_; }
    void SetMultiThreaded(bool value) { multiThreaded_ = value; }
    TWait* WaitCtrl() const { return waitCtrl_; }
    void SetWaitCtrl(TWait* value);
    // Seconds.
    int FlushTimeout() const { return flushTimeout_; }
    void SetFlushTimeout(int value) { flushTimeout_ = value; }
    TSocketSendFlags SendFlags() const;
    void SetSendFlags(TSocketSendFlags value);
    TSocketLingerOnOff LingerOnOff() const { return lingerOnOff_; }
    void SetLingerOnOff(TSocketLingerOnOff value) { lingerOnOff_ = value; }
    // Seconds.
    int LingerTimeout() const { return lingerTimeout_; }
    void SetLingerTimeout(int value) { lingerTimeout_ = value; }

    // The socket's handle (INVALID_SOCKET when none) and its hidden window.
    SOCKET HSocket() const { return handle_; }
    HWND Handle() const { return window_->Handle(); }

    virtual void Connect();
    // Shuts both directions down, then closes.
    virtual void Close();
    // Cancels a look-up, drops the queue and closes at once.
    virtual void Abort();
    // Waits until the send queue has gone out (or FlushTimeout).
    virtual void Flush();
    // Handles messages and data until the peer or someone closes.
    virtual void WaitForClose();
    virtual int Listen();
    virtual SOCKET Accept();
    virtual int Receive(void* buffer, int size);
    virtual int ReceiveFrom(void* buffer, int size, sockaddr_in& from, int& fromLen);
    // Queues the bytes and sends what the system takes now; never blocks.
    virtual int Send(const void* data, int len);
    virtual int SendStr(const std::string& str);
    virtual void DnsLookup(const std::string& hostName);
    virtual void ReverseDnsLookup(const std::string& hostAddr);
    virtual void CancelDnsLookup();
    virtual std::string GetPeerAddr();
    virtual int GetPeerName(sockaddr_in& name, int nameLen);
    virtual std::string GetXPort();
    virtual bool TimerIsSet(const timeval& t) { return t.tv_sec != 0 || t.tv_usec != 0; }
    virtual void TimerClear(timeval& t) { t.tv_sec = t.tv_usec = 0; }
    virtual bool TimerCmp(const timeval& a, const timeval& b, bool isEqual)
    {
        return (a.tv_sec == b.tv_sec && a.tv_usec == b.tv_usec) == isEqual;
    }
    // Timeouts in seconds.
    virtual bool WaitForState(int timeout, TSocketState state);
    virtual void ReadLine(int timeout, std::string& line);
    virtual int GetSockName(sockaddr_in& name, int& nameLen);
    // Takes over a connected handle (an accepted one).
    virtual void Dup(SOCKET newHandle);
    virtual void Shutdown(int how);
    virtual void Pause();
    virtual void Resume();
    // Handles every message waiting in the calling thread's queue.
    void PumpMessages();

    TSessionAvailable OnSessionAvailable;
    TSessionConnected OnSessionConnected;
    TSessionClosed OnSessionClosed;
    TChangeState OnChangeState;
    TDataAvailable OnDataAvailable;
    TDataSent OnDataSent;
    TNotifyEvent OnLineTooLong;
    TDnsLookupDone OnDnsLookupDone;
    TNotifyEvent OnError;

protected:
    virtual void WindowProc(TMessage& message);
    virtual void AssignDefaults();
    virtual void BindAnyPort();
    virtual int RawSend(const void* data, int len);
    virtual void RaiseExceptionFmt(const std::string& format, std::initializer_list<FormatArg> args);
    virtual void HandleError(const std::string& msg);
    // Gives whether OnDataAvailable is assigned.
    virtual bool FireDataAvailable(WORD error);
    virtual void FireSessionAvailable(WORD error);
    virtual void FireSessionConnected(WORD error);
    virtual void FireSessionClosed(WORD error);
    virtual void FireDataSent(WORD error);
    virtual void FireChangeState(TSocketState oldState, TSocketState newState);
    virtual void FireDnsLookupDone(WORD error);
    virtual void FireError();

    void Notification(TComponent* component, TOperation operation) override;

    // A failed system call: the message with the code and its text; 10054
    // and 10057 also close the socket. Then HandleError.
    void SocketError(const std::string& function, int code);
    void SocketError(const std::string& function) { SocketError(function, WSAGetLastError()); }
    void ChangeState(TSocketState newState);

private:
    // WSocket.cpp
    // Port and Proto store their text as given, then, while closed, trimmed
    // (true: go on with it); nothing when it stands assigned unchanged.
    bool TakeName(std::string& text, bool assigned, const std::string& value, const char* notClosed);
    // Resolves the address into the address record, empties the send queue
    // and makes the handle; false after the socket error with failure.
    bool MakeSocket(const char* failure);
    void NetworkEvent(WPARAM wParam, LPARAM lParam);
    // An empty name is an error (then the look-up ends with 10022: false);
    // otherwise a pending look-up is cancelled and the results cleared.
    bool BeginLookup(const std::string& name);
    // start(window, buffer, size) starts the system's look-up into a buffer
    // the unit keeps and gives its handle; failure formats the name and the
    // error when it gives none.
    void StartLookup(const std::string& name, const char* failure,
                     const std::function<HANDLE(HWND, char*, int)>& start);
    // The socket no longer waits for the pending look-up's answer.
    void ForgetLookup();
    void LookupDone(TMessage& message, bool reverse);
    // Closing, with or without shutting the directions down first.
    void InternalClose(bool shutdownFirst);
    // A call failed after the handle was made: close, then report.
    void FailOpen(const std::string& function, int code);
    void SetLingerOption();

    // WSocketData.cpp
    void EmptyQueue() { queue_.clear(); }
    void AppendToQueue(const unsigned char* data, int len);
    bool HasUnsent() const { return !allSent_; }
    void TryToSend();
    void ReadHandling(WORD error);
    void ReadLineBytes();
    // The line read ends (or is abandoned): the wait for it stops.
    void EndLineRead();
    // Handles messages, the application's or with MultiThreaded the
    // thread's own.
    void ProcessMessages();
    // Handles messages until done() or the timeout (seconds); false when a
    // handler freed the socket meanwhile.
    template <class Done>
    bool PumpUntil(int timeout, Done done);
    // Shows the wait control counting down from timeout and runs its
    // blocking wait; false when a handler freed the socket meanwhile.
    bool BlockingWait(int timeout);

    std::unique_ptr<THiddenWindow> window_;
    SOCKET handle_ = INVALID_SOCKET;
    bool portAssigned_ = false;
    bool addrAssigned_ = false;
    bool addrResolved_ = false;
    bool protoAssigned_ = true;
    std::string proto_ = "tcp";
    std::string addr_;
    std::string port_;
    u_short portNum_ = 0;
    u_short localPortNum_ = 0;
    int protoNum_ = IPPROTO_TCP;
    int sockType_ = SOCK_STREAM;
    std::string dnsResult_;
    std::unique_ptr<TStringList> dnsResultList_;
    SOCKET lastAccepted_ = INVALID_SOCKET;
    TSocketState state_ = wsClosed;
    int flushTimeout_ = 60;
    std::vector<std::unique_ptr<TBuffer>> queue_;
    int bufSize_ = 1514;
    int sendFlags_ = 0;
    bool multiThreaded_ = false;
    TWait* waitCtrl_ = nullptr;
    TSocketState awaited_ = wsInvalidState;
    int lastError_ = 0;
    bool paused_ = false;
    TSocketLingerOnOff lingerOnOff_ = wsLingerOn;
    int lingerTimeout_ = 0;
    bool allSent_ = true;
    bool lineReading_ = false;
    std::string line_;
    int readCount_ = 0;
    bool closeInvoked_ = false;
    // The waits handle messages, and any handler may free the socket.
    TFreeWatches freeWatches_;
    // One wait of the socket's own through its wait control, counted while
    // it runs: a socket freed meanwhile stops and hides the control.
    struct TCtrlWait;
    int ctrlWaits_ = 0;
    HANDLE dnsHandle_ = nullptr;
    // The pending look-up's answer, kept by the unit (WSocket.cpp) rather
    // than by the socket: the system may write it after the socket is gone.
    TLookupAnswer* lookup_ = nullptr;
    sockaddr_in sin_{};
};

class TWSocket : public TCustomWSocket {
public:
    using TCustomWSocket::TCustomWSocket;
    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();
};

// "No Error", "Connection refused", ... for a Winsock error code; "Not a
// WinSock error" for any other number.
std::string WinsockErrorText(int code);
// The computer's host name; ESocketException when it cannot be had.
std::string LocalHostName();
// The address of a trimmed text: a dotted number as it is, any other name
// through the system's blocking host look-up (Windows Sockets started first
// when needed), its first address. ESocketException "SetAddr: Nie mogę
// rozpoznać adresu <name>." when it is not found.
in_addr WSocketResolveHost(const std::string& text);

// The system's calls that start and cancel an asynchronous look-up. A test
// puts its own in their place to answer when it chooses, as the system
// would; a call left nullptr is the system's. Gives the ones that were set.
struct TLookupCalls {
    decltype(&WSAAsyncGetHostByName) GetHostByName = nullptr;
    decltype(&WSAAsyncGetHostByAddr) GetHostByAddr = nullptr;
    decltype(&WSACancelAsyncRequest) CancelRequest = nullptr;
};
TLookupCalls SetLookupCalls(const TLookupCalls& calls);

// Registers TWSocket for the form reader.
void WSocketStartup();
// Stops Windows Sockets when a socket left it started, and stops taking
// the answers of look-ups still on their way.
void WSocketShutdown();
