// Times the HTTP client on large bodies and many small pages, beside a plain socket copy
// of the same reply in the same run (the peer: recv into a 64 KB buffer until close).
// A loopback server in this process serves 32 MB of 80-byte CR LF lines, 32 MB without a
// line end, and a 2 KB page; bodies come from a fixed seed. Prints medians of 5 runs,
// the memory a 32 MB fetch with GetBody adds at peak, and what filling that much new
// memory costs by itself on this machine (a fetch keeps the body once in its line list
// and once more in the string GetBody makes). Not run by the tests.
// WinSock 2 before windows.h, which the bench timing brings in.
#include <winsock2.h>

#include "bench/bench_timing.h"
#include "net/iHTTPClient.h"
#include "tests/net/servers/http_server_test_support.h"

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

using bench::FirstRun;
using bench::MedianMs;

constexpr int kRuns = 5;
constexpr size_t kBodyBytes = 32u * 1024 * 1024;
constexpr int kLineBytes = 80;
constexpr int kSmallPageBytes = 2048;
constexpr int kSmallPageFetches = 1000;

std::string MakeLines(size_t bytes, unsigned seed)
{
    std::string body;
    body.reserve(bytes);
    unsigned state = seed;
    while (body.size() + kLineBytes <= bytes) {
        for (int i = 0; i < kLineBytes - 2; ++i) {
            state = state * 1103515245u + 12345u;
            body += static_cast<char>('a' + (state >> 16) % 26);
        }
        body += "\r\n";
    }
    return body;
}

std::string MakeFlat(size_t bytes, unsigned seed)
{
    std::string body(bytes, 'x');
    unsigned state = seed;
    for (char& c : body) {
        state = state * 1103515245u + 12345u;
        c = static_cast<char>('a' + (state >> 16) % 26);
    }
    return body;
}

// The peer: the same request and reply over a plain socket, read into a 64 KB buffer
// until the server closes.
size_t PlainCopy(int port, const char* path)
{
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<u_short>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    size_t total = 0;
    if (connect(s, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0) {
        std::string request = std::string("GET ") + path + " HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n";
        send(s, request.data(), static_cast<int>(request.size()), 0);
        std::vector<char> buffer(64 * 1024);
        for (int got; (got = recv(s, buffer.data(), static_cast<int>(buffer.size()), 0)) > 0;)
            total += static_cast<size_t>(got);
    }
    closesocket(s);
    return total;
}

// A fetch as the program makes one: a fresh client, Get, GetBody.
size_t Fetch(int port, const char* path, bool takeBody)
{
    iHTTPClient client;
    client.SetPort(port);
    std::string url = std::string("http://127.0.0.1") + path;
    if (client.Get(url.c_str()) != 0) {
        std::fprintf(stderr, "fetch of %s failed\n", path);
        return 0;
    }
    if (!takeBody)
        return static_cast<size_t>(client.GetBodyLineCount());
    iString body;
    client.GetBody(body);
    return static_cast<size_t>(body.GetLength());
}

// Private bytes in use. Wine reports no separate peak (its peak is the current value),
// so the peak of a fetch is sampled while the fetch runs.
size_t PrivateBytes()
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    if (!K32GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters))
        return 0;
    return counters.PagefileUsage;
}

size_t PeakBytesDuring(const std::function<void()>& run)
{
    std::atomic<bool> done{false};
    std::atomic<size_t> peak{PrivateBytes()};
    std::thread sampler([&] {
        while (!done) {
            size_t now = PrivateBytes();
            if (now > peak)
                peak = now;
            Sleep(1);
        }
    });
    run();
    done = true;
    sampler.join();
    return peak;
}

// Writes `bytes` of newly allocated memory: what keeping that much of a body costs
// before any work is done on it.
// Called through a volatile pointer, so that the compiler cannot drop the writes.
void* (*volatile setMemory)(void*, int, size_t) = memset;

void FillNewMemory(size_t bytes)
{
    std::unique_ptr<char[]> memory(new char[bytes]);
    setMemory(memory.get(), 1, bytes);
}

void PrintRow(const char* name, double bytes, double ms, double peerMs)
{
    std::printf("%-44s %9.1f %10.1f %8.1f %12.2f\n", name, ms, bytes / 1e6 / (ms / 1000), bytes / 1e6,
                peerMs > 0 ? peerMs / ms : 1.0);
}

} // namespace

int main()
{
    const std::string lines = MakeLines(kBodyBytes, 1);
    const std::string flat = MakeFlat(kBodyBytes, 2);
    const std::string page = MakeLines(kSmallPageBytes, 3);
    net_test::HttpServer server;
    server.Route("/lines", net_test::TextReply("text/plain", lines));
    server.Route("/flat", net_test::TextReply("text/plain", flat));
    server.Route("/page", net_test::TextReply("text/html", page));
    if (!server.Start()) {
        std::fprintf(stderr, "cannot start the loopback server\n");
        return 1;
    }
    const int port = server.Port();

    // What one 32 MB fetch of lines with its GetBody adds: line list, joined string,
    // receive buffer, allocator overhead.
    size_t bodyBytes = 0;
    size_t before = PrivateBytes();
    size_t peak = PeakBytesDuring([&] { bodyBytes = Fetch(port, "/lines", true); });
    double addedMb = peak > before ? (peak - before) / 1e6 : 0.0;
    std::printf("memory: a %.1f MB fetch with GetBody added %.1f MB at peak (%.2f times the body)\n\n",
                bodyBytes / 1e6, addedMb, addedMb / (bodyBytes / 1e6));

    std::printf("%-44s %9s %10s %8s %12s\n", "case (medians of 5 runs)", "ms", "MB/s", "MB", "vs peer");
    for (const char* path : {"/lines", "/flat"}) {
        PlainCopy(port, path);
        size_t copied = 0;
        double peerMs = MedianMs(kRuns, FirstRun::Counted, [&] { copied = PlainCopy(port, path); });
        double getMs = MedianMs(kRuns, FirstRun::Counted, [&] { Fetch(port, path, false); });
        double bodyMs = MedianMs(kRuns, FirstRun::Counted, [&] { Fetch(port, path, true); });
        bool isLines = path[1] == 'l';
        PrintRow(isLines ? "peer: plain copy, 80-byte lines" : "peer: plain copy, no line ends",
                 static_cast<double>(copied), peerMs, 0);
        PrintRow(isLines ? "Get, 80-byte lines" : "Get, no line ends (16383-byte pieces)",
                 static_cast<double>(copied), getMs, peerMs);
        PrintRow(isLines ? "Get + GetBody, 80-byte lines" : "Get + GetBody, no line ends",
                 static_cast<double>(copied), bodyMs, peerMs);
    }
    double fillOnceMs = MedianMs(kRuns, FirstRun::Counted, [&] { FillNewMemory(kBodyBytes); });
    double fillTwiceMs = MedianMs(kRuns, FirstRun::Counted, [&] {
        FillNewMemory(kBodyBytes);
        FillNewMemory(kBodyBytes);
    });
    PrintRow("floor: fill 32 MB of new memory", static_cast<double>(kBodyBytes), fillOnceMs, 0);
    PrintRow("floor: fill 32 MB of new memory twice", static_cast<double>(kBodyBytes), fillTwiceMs, 0);

    double pagesMs = MedianMs(kRuns, FirstRun::Counted, [&] {
        for (int i = 0; i < kSmallPageFetches; ++i)
            Fetch(port, "/page", true);
    });
    double peerPagesMs = MedianMs(kRuns, FirstRun::Counted, [&] {
        for (int i = 0; i < kSmallPageFetches; ++i)
            PlainCopy(port, "/page");
    });
    std::printf("\n%d fetches of a 2 KB page: Get + GetBody %.0f requests/s (%.2f ms each); plain copy %.0f requests/s\n",
                kSmallPageFetches, kSmallPageFetches / (pagesMs / 1000), pagesMs / kSmallPageFetches,
                kSmallPageFetches / (peerPagesMs / 1000));
    server.Stop();
    return 0;
}
