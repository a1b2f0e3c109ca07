// The socket's data path: the send queue, receiving, reading a line, and the
// waits that keep handling messages until the network has answered.
#include <algorithm>

#include "classlib/Forms.h"
#include "common/WSocket.h"

namespace {

// Bytes a line read keeps; the line ends there as if a line feed had come.
constexpr size_t MaxLine = 254;

} // namespace

// ---------------------------------------------------------------------------
// Sending

int TCustomWSocket::Send(const void* data, int len)
{
    if (state_ != wsConnected) {
        SocketError("Send", WSAENOTCONN);
        return -1;
    }
    // Nothing to send changes nothing: no byte waits, so no "write" is due
    // and a Flush has nothing to wait for.
    if (len <= 0)
        return 0;
    allSent_ = false;
    AppendToQueue(static_cast<const unsigned char*>(data), len);
    const SOCKET socket = handle_;
    TFreeWatch watch(freeWatches_);
    TryToSend();
    if (watch.Freed())
        return len;
    // Everything went out at once: OnDataSent still comes from the message
    // loop, as it would after a "write" event.
    if (handle_ == socket && handle_ != INVALID_SOCKET && !HasUnsent())
        PostMessageA(Handle(), WM_ASYNCSELECT, handle_, WSAMAKESELECTREPLY(FD_WRITE, 0));
    return len;
}

int TCustomWSocket::SendStr(const std::string& str)
{
    return Send(str.data(), static_cast<int>(str.size()));
}

void TCustomWSocket::AppendToQueue(const unsigned char* data, int len)
{
    if (queue_.empty())
        queue_.push_back(std::make_unique<TBuffer>(bufSize_));
    int done = queue_.back()->Write(data, len);
    while (done < len) {
        queue_.push_back(std::make_unique<TBuffer>(bufSize_));
        done += queue_.back()->Write(data + done, len - done);
    }
}

int TCustomWSocket::RawSend(const void* data, int len)
{
    const char* bytes = static_cast<const char*>(data);
    if (sockType_ == SOCK_DGRAM)
        return sendto(handle_, bytes, len, sendFlags_, reinterpret_cast<const sockaddr*>(&sin_), sizeof sin_);
    return send(handle_, bytes, len, sendFlags_);
}

void TCustomWSocket::TryToSend()
{
    if (handle_ == INVALID_SOCKET || queue_.empty())
        return;
    for (;;) {
        int len = 0;
        const unsigned char* bytes = queue_.front()->Peek(len);
        if (len == 0) {
            if (queue_.size() > 1) {
                queue_.erase(queue_.begin());
                continue;
            }
            allSent_ = true;
            return;
        }
        const int sent = RawSend(bytes, len);
        if (sent == 0)
            return;
        if (sent > 0) {
            queue_.front()->Remove(sent);
            if (sent < len)
                return;  // the system's buffer is full: the next "write" goes on
            continue;
        }
        const int code = WSAGetLastError();
        switch (code) {
        case WSAECONNRESET:
        case WSAENOTSOCK:
        case WSAENOTCONN:
        case WSAEINVAL: {
            // The connection is gone: OnSessionClosed once, with the error
            // (unless a handler of the close freed the socket).
            closeInvoked_ = true;
            TFreeWatch watch(freeWatches_);
            Close();
            if (!watch.Freed())
                FireSessionClosed(static_cast<WORD>(code));
            return;
        }
        case WSAEWOULDBLOCK:
            return;
        default:
            SocketError("TryToSend failed", code);
            return;
        }
    }
}

// ---------------------------------------------------------------------------
// Receiving

int TCustomWSocket::Receive(void* buffer, int size)
{
    const int n = recv(handle_, static_cast<char*>(buffer), size, 0);
    if (n < 0)
        lastError_ = WSAGetLastError();
    else
        readCount_ += n;
    return n;
}

int TCustomWSocket::ReceiveFrom(void* buffer, int size, sockaddr_in& from, int& fromLen)
{
    const int n = recvfrom(handle_, static_cast<char*>(buffer), size, 0, reinterpret_cast<sockaddr*>(&from), &fromLen);
    if (n < 0)
        lastError_ = WSAGetLastError();
    else
        readCount_ += n;
    return n;
}

void TCustomWSocket::ReadHandling(WORD error)
{
    const SOCKET socket = handle_;
    // The handler of the data, or of a line too long, may free the socket.
    TFreeWatch watch(freeWatches_);
    for (;;) {
        lastError_ = 0;
        const int before = readCount_;
        if (lineReading_) {
            ReadLineBytes();
        } else if (!FireDataAvailable(error)) {
            char discard[1024];
            if (Receive(discard, sizeof discard) < 0 && lastError_ == WSAEWOULDBLOCK) {
                lastError_ = 0;
                break;
            }
        }
        if (watch.Freed())
            return;
        // A round that read nothing ends the loop, else a handler that
        // leaves bytes waiting would be called for ever.
        if (lastError_ != 0 || handle_ != socket || readCount_ == before)
            break;
        u_long waiting = 0;
        if (ioctlsocket(handle_, FIONREAD, &waiting) == SOCKET_ERROR) {
            lastError_ = WSAGetLastError();
            break;
        }
        if (waiting == 0)
            break;
    }
}

// ---------------------------------------------------------------------------
// Reading a line

void TCustomWSocket::EndLineRead()
{
    lineReading_ = false;
    if (!multiThreaded_ && waitCtrl_)
        waitCtrl_->Stop();
}

void TCustomWSocket::ReadLineBytes()
{
    // The wait control's handler of its stop may free the socket.
    TFreeWatch watch(freeWatches_);
    while (handle_ != INVALID_SOCKET) {
        if (state_ != wsConnected)
            return;
        u_long waiting = 0;
        if (ioctlsocket(handle_, FIONREAD, &waiting) == SOCKET_ERROR) {
            lineReading_ = false;
            SocketError("ioctlSocket");
            return;
        }
        if (waiting == 0)
            return;  // the next "read" event goes on
        char ch = 0;
        const int n = Receive(&ch, 1);
        if (n == 1) {
            if (ch != '\n' && ch != '\r')
                line_ += ch;
            if (ch == '\n') {
                EndLineRead();
                return;
            }
            if (line_.size() >= MaxLine) {
                EndLineRead();
                if (!watch.Freed())
                    OnLineTooLong(this);
                return;
            }
            continue;
        }
        if (n == 0 || lastError_ == WSAECONNRESET) {
            // The peer closed.
            EndLineRead();
            if (!watch.Freed())
                Close();
            return;
        }
        if (lastError_ == WSAEWOULDBLOCK)
            continue;
        SocketError("ReadLine", lastError_);
        return;
    }
    if (lineReading_)
        EndLineRead();
}

void TCustomWSocket::ReadLine(int timeout, std::string& line)
{
    if (!multiThreaded_ && !waitCtrl_) {
        HandleError("No wait object assigned");
        return;
    }
    if (!lineReading_) {
        line_.clear();
        lineReading_ = true;
    }
    TFreeWatch watch(freeWatches_);
    ReadLineBytes();
    if (watch.Freed())
        return;
    if (lineReading_) {
        const bool there =
            multiThreaded_ ? PumpUntil(timeout, [this] { return !lineReading_; }) : BlockingWait(timeout);
        if (!there)
            return;
    }
    line = line_;
}

// ---------------------------------------------------------------------------
// Waits

void TCustomWSocket::PumpMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void TCustomWSocket::ProcessMessages()
{
    if (multiThreaded_ || !Application)
        PumpMessages();
    else
        Application->ProcessMessages();
}

template <class Done>
bool TCustomWSocket::PumpUntil(int timeout, Done done)
{
    TFreeWatch watch(freeWatches_);
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(std::max(timeout, 0)) * 1000;
    for (;;) {
        PumpMessages();
        if (watch.Freed())
            return false;
        const ULONGLONG now = GetTickCount64();
        if (done() || now >= end)
            return true;
        SleepUntilMessage(static_cast<DWORD>(end - now));
    }
}

struct TCustomWSocket::TCtrlWait {
    TCustomWSocket* socket;
    TFreeWatch watch;
    explicit TCtrlWait(TCustomWSocket* s) : socket(s), watch(s->freeWatches_) { ++socket->ctrlWaits_; }
    ~TCtrlWait()
    {
        if (!watch.Freed())
            --socket->ctrlWaits_;
    }
    TCtrlWait(const TCtrlWait&) = delete;
    TCtrlWait& operator=(const TCtrlWait&) = delete;
};

bool TCustomWSocket::BlockingWait(int timeout)
{
    TCtrlWait ctrlWait(this);
    TWait* wait = waitCtrl_;
    wait->SetCaption(IntToStr(timeout));
    wait->Show();
    wait->WaitBlocking();
    if (ctrlWait.watch.Freed())
        return false;
    // A handler may have freed the control meanwhile (the socket then
    // forgot it) or given the socket another.
    if (waitCtrl_ == wait)
        wait->Hide();
    return true;
}

void TCustomWSocket::Flush()
{
    if (multiThreaded_) {
        TFreeWatch watch(freeWatches_);
        while (handle_ != INVALID_SOCKET && HasUnsent()) {
            TryToSend();
            if (watch.Freed())
                return;
            PumpMessages();
            if (watch.Freed())
                return;
            if (handle_ != INVALID_SOCKET && HasUnsent())
                SleepUntilMessage();
        }
        return;
    }
    if (!waitCtrl_) {
        HandleError("No wait object assigned");
        return;
    }
    TCtrlWait ctrlWait(this);
    const TFreeWatch& watch = ctrlWait.watch;
    TWait* wait = waitCtrl_;
    wait->SetCaption(IntToStr(flushTimeout_));
    wait->Show();
    wait->Start();
    try {
        // A handler may free the socket meanwhile (the wait's start too): its
        // destructor takes care of the control.
        while (!watch.Freed() && waitCtrl_ && wait->Running() && handle_ != INVALID_SOCKET && HasUnsent()) {
            TryToSend();
            if (watch.Freed())
                return;
            ProcessMessages();
            if (watch.Freed())
                return;
            if (waitCtrl_ && wait->Running() && handle_ != INVALID_SOCKET && HasUnsent())
                SleepUntilMessage();
        }
    } catch (...) {
        if (!watch.Freed() && waitCtrl_) {
            wait->Stop();
            wait->Hide();
        }
        throw;
    }
    if (!watch.Freed() && waitCtrl_) {
        wait->Stop();
        wait->Hide();
    }
}

bool TCustomWSocket::WaitForState(int timeout, TSocketState state)
{
    if (state_ == state)
        return false;
    awaited_ = state;
    bool there = true;
    if (multiThreaded_) {
        there = PumpUntil(timeout, [this, state] { return state_ == state; });
    } else if (!waitCtrl_) {
        awaited_ = wsInvalidState;
        SocketError("TWSocket.Wait", WSANO_DATA);
        return false;
    } else {
        there = BlockingWait(timeout);
    }
    if (!there)
        return false;
    const bool reached = state_ == state;
    awaited_ = wsInvalidState;
    return reached;
}

void TCustomWSocket::WaitForClose()
{
    TFreeWatch watch(freeWatches_);
    while (handle_ != INVALID_SOCKET && state_ != wsClosed) {
        ProcessMessages();
        if (watch.Freed() || handle_ == INVALID_SOCKET)
            break;
        u_long waiting = 0;
        if (ioctlsocket(handle_, FIONREAD, &waiting) == SOCKET_ERROR)
            break;
        const int before = readCount_;
        if (waiting > 0) {
            if (lineReading_)
                ReadLineBytes();
            else
                FireDataAvailable(0);
        }
        if (watch.Freed() || handle_ == INVALID_SOCKET)
            break;
        char probe;
        if (recv(handle_, &probe, 0, 0) == SOCKET_ERROR) {
            const int code = WSAGetLastError();
            if (code != WSAEWOULDBLOCK) {
                lastError_ = code;
                break;
            }
        }
        ProcessMessages();
        if (watch.Freed())
            break;
        // Nothing read and nothing closed: sleep until the network (or
        // anything else) posts a message.
        if (handle_ != INVALID_SOCKET && state_ != wsClosed && readCount_ == before)
            SleepUntilMessage();
    }
}
