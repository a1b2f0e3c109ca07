// Times one GetAsync of a URL into a memory stream, until OnRequestDone.
//   bench_http <url> <output file>      the client into a memory stream
//   bench_http <url> - discard          the client, the body dropped
//   bench_http <url> - raw              a plain blocking socket, 8192-byte
//                                       receives, the bytes dropped
//   bench_http <url> - events           a plain socket's read events into a
//                                       hidden window, one receive each
//   bench_http <url> - events-ask       the same, and after each receive the
//                                       socket's question "how many bytes
//                                       wait?" (the socket component's loop)
// Prints the seconds of the request alone (the program's start is not
// counted), the status and the body's bytes; the first form then writes the
// body to the output file for the script to compare. The other two show
// where the time goes: the client without the stream's memory, and the
// system's socket calls alone.
#include <windows.h>

#include <cstdio>
#include <string>

#include "classlib/Forms.h"
#include "classlib/HiddenWindow.h"
#include "classlib/Streams.h"
#include "organizer/HttpProt.h"

namespace {

struct Done {
    bool done = false;
    WORD error = 0;
    void RequestDone(TObject*, THttpRequest, WORD e)
    {
        done = true;
        error = e;
    }
};

double Seconds(const LARGE_INTEGER& start, const LARGE_INTEGER& stop)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(stop.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

SOCKET ConnectTo(const std::string& url, std::string& request)
{
    std::string proto, user, password, host, port, path;
    ParseURL(url, proto, user, password, host, port, path);
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = inet_addr(host.c_str());
    to.sin_port = htons(static_cast<u_short>(std::stoi(port.empty() ? "80" : port)));
    request = "GET " + path + " HTTP/1.0\r\nHost: " + host + "\r\n\r\n";
    if (connect(s, reinterpret_cast<sockaddr*>(&to), sizeof to) != 0) {
        closesocket(s);
        return INVALID_SOCKET;
    }
    return s;
}

// The same GET by a blocking socket: request, then receive until the close;
// gives the bytes received, header included (-1 when it cannot connect).
long long RawGet(const std::string& url)
{
    std::string request;
    SOCKET s = ConnectTo(url, request);
    if (s == INVALID_SOCKET)
        return -1;
    send(s, request.data(), static_cast<int>(request.size()), 0);
    char buffer[8192];
    long long total = 0;
    for (;;) {
        const int n = recv(s, buffer, sizeof buffer, 0);
        if (n <= 0)
            break;
        total += n;
    }
    closesocket(s);
    return total;
}

// The same GET by read events of a plain socket: one receive of 8192 bytes
// per event, and with ask the question of the bytes waiting after each,
// receiving again while there are some.
struct EventGet {
    SOCKET s = INVALID_SOCKET;
    bool ask = false;
    bool done = false;
    long long total = 0;
    char buffer[8192];
    THiddenWindow window{THiddenWindow::TWndMethod(this, &EventGet::Event), nullptr};

    void Event(TMessage& m)
    {
        if (m.Msg != WM_USER + 1) {
            window.DefaultHandler(m);
            return;
        }
        const WORD events = WSAGETSELECTEVENT(m.LParam);
        if (events & FD_READ) {
            for (;;) {
                const int n = recv(s, buffer, sizeof buffer, 0);
                if (n > 0)
                    total += n;
                if (n <= 0 || !ask)
                    break;
                u_long waiting = 0;
                if (ioctlsocket(s, FIONREAD, &waiting) != 0 || waiting == 0)
                    break;
            }
        }
        if (events & FD_CLOSE) {
            int n;
            while ((n = recv(s, buffer, sizeof buffer, 0)) > 0)
                total += n;
            done = true;
        }
    }
    long long Get(const std::string& url)
    {
        std::string request;
        s = ConnectTo(url, request);
        if (s == INVALID_SOCKET)
            return -1;
        send(s, request.data(), static_cast<int>(request.size()), 0);
        WSAAsyncSelect(s, window.Handle(), WM_USER + 1, FD_READ | FD_CLOSE);
        MSG msg;
        while (!done && GetMessageA(&msg, nullptr, 0, 0) > 0)
            DispatchMessageA(&msg);
        closesocket(s);
        return total;
    }
};

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_http <url> <output file> | bench_http <url> - discard|raw\n");
        return 2;
    }
    const std::string url = argv[1];
    const std::string mode = argc > 3 ? argv[3] : "stream";
    InitFormsUnit();
    LARGE_INTEGER start, stop;
    int result = 0;
    if (mode == "raw" || mode == "events" || mode == "events-ask") {
        WSADATA data;
        WSAStartup(MAKEWORD(1, 1), &data);
        EventGet events;
        events.ask = mode == "events-ask";
        QueryPerformanceCounter(&start);
        const long long total = mode == "raw" ? RawGet(url) : events.Get(url);
        QueryPerformanceCounter(&stop);
        std::printf("seconds %.3f\nstatus %s\nbytes %lld\n", Seconds(start, stop), total >= 0 ? "200" : "0", total);
        WSACleanup();
        result = total >= 0 ? 0 : 1;
    } else {
        THttpCli client(nullptr);
        TMemoryStream body;
        Done done;
        if (mode == "stream")
            client.BodyStream = &body;
        client.OnRequestDone = THttpRequestDone(&done, &Done::RequestDone);
        client.URL = url;
        QueryPerformanceCounter(&start);
        client.GetAsync();
        while (!done.done)
            Application->HandleMessage();
        QueryPerformanceCounter(&stop);
        std::printf("seconds %.3f\nstatus %d\nbytes %lld\n", Seconds(start, stop), client.StatusCode(),
                    static_cast<long long>(client.ReceivedCount()));
        if (mode == "stream")
            body.SaveToFile(argv[2]);
        result = done.error == 0 && client.StatusCode() == 200 ? 0 : 1;
    }
    DoneFormsUnit();
    return result;
}
