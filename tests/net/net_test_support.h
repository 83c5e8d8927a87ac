// What the internet clients' tests share: a spy on the clients' socket calls (counts
// sockets opened and closed, fails the Nth receive, sends short, refuses start-up),
// and a stopwatch.
#pragma once

#include "net/SocketCalls.h"

#include "tests/net/servers/loopback_listener_test_support.h"

#include <atomic>
#include <vector>

namespace net_test {

// Installs itself as the clients' socket table for its lifetime; one at a time.
class SocketCallSpy {
public:
    SocketCallSpy();
    ~SocketCallSpy();
    SocketCallSpy(const SocketCallSpy&) = delete;
    SocketCallSpy& operator=(const SocketCallSpy&) = delete;

    // The Nth recv from now (1 = the next) fails with WSAECONNRESET; 0 for none.
    std::atomic<int> failRecvAt{0};
    // Each send passes at most this many bytes (0: all).
    std::atomic<int> maxSendBytes{0};
    // WSAStartup answers WSASYSNOTREADY.
    std::atomic<bool> failStartup{false};

    std::atomic<int> opened{0};
    std::atomic<int> closed{0};
    std::atomic<int> recvCalls{0};
    std::atomic<int> sendCalls{0};
    std::atomic<int> startups{0};
    std::atomic<int> cleanups{0};
    std::atomic<int> lookUps{0};

private:
    SocketCalls m_calls;
};

// A loopback port whose connects hang: a listener that never accepts, with its
// queue filled by connections of its own, so that the system drops further SYNs.
class HangingPort {
public:
    HangingPort();
    ~HangingPort();
    // Whether a probe connect was seen to hang; if not, the fixture proved nothing.
    bool IsHanging() const { return m_isHanging; }
    int Port() const { return m_port; }

private:
    class Silent : public LoopbackListener {
    public:
        ~Silent() override { Stop(); }

    protected:
        void Serve(SOCKET connection, int) override { closesocket(connection); }
    };
    Silent m_listener;
    std::vector<SOCKET> m_fillers;
    int m_port = 0;
    bool m_isHanging = false;
};

// Milliseconds since construction.
class Stopwatch {
public:
    Stopwatch() : m_start(GetTickCount64()) {}
    long long ElapsedMs() const { return static_cast<long long>(GetTickCount64() - m_start); }

private:
    ULONGLONG m_start;
};

} // namespace net_test
