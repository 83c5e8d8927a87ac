// Loopback listener, script steps and the scripted peer.
#include "tests/net/servers/loopback_listener_test_support.h"

#include <ws2tcpip.h>

#include <algorithm>

namespace net_test {

namespace {

// Waits are sliced this fine so that Stop() is seen quickly.
constexpr int kStopPollMs = 50;

Step MakeStep(Step::Kind kind, std::string bytes, int ms)
{
    return Step{kind, std::make_shared<const std::string>(std::move(bytes)), ms};
}

} // namespace

Step Send(std::string bytes)
{
    return MakeStep(Step::Kind::Send, std::move(bytes), 0);
}
Step Pause(int ms)
{
    return MakeStep(Step::Kind::Pause, "", ms);
}
Step ReadUntil(std::string bytes)
{
    return MakeStep(Step::Kind::ReadUntil, std::move(bytes), 0);
}
Step ReadToClose()
{
    return MakeStep(Step::Kind::ReadToClose, "", 0);
}
Step HalfClose()
{
    return MakeStep(Step::Kind::HalfClose, "", 0);
}
Step Close()
{
    return MakeStep(Step::Kind::Close, "", 0);
}
Step Reset()
{
    return MakeStep(Step::Kind::Reset, "", 0);
}
Step SendForever(std::string bytes)
{
    return MakeStep(Step::Kind::SendForever, std::move(bytes), 0);
}
Step Trickle(std::string bytes, int intervalMs)
{
    return MakeStep(Step::Kind::Trickle, std::move(bytes), intervalMs);
}

LoopbackListener::LoopbackListener()
    : m_listen(INVALID_SOCKET), m_port(0), m_started(false), m_stopping(false), m_accepted(0), m_served(0),
      m_stopEvent(CreateEventA(nullptr, TRUE, FALSE, nullptr))
{
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
}

LoopbackListener::~LoopbackListener()
{
    Stop();
    CloseHandle(m_stopEvent);
    WSACleanup();
}

bool LoopbackListener::Start(int port, int backlog, bool accepting)
{
    m_listen = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (m_listen == INVALID_SOCKET)
        return false;
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<u_short>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof(address);
    if (bind(m_listen, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
        listen(m_listen, backlog) != 0 || getsockname(m_listen, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        closesocket(m_listen);
        m_listen = INVALID_SOCKET;
        return false;
    }
    m_port = ntohs(address.sin_port);
    m_started = true;
    if (accepting)
        m_acceptThread = std::thread([this] { AcceptLoop(); });
    return true;
}

void LoopbackListener::Stop()
{
    if (!m_started)
        return;
    m_stopping = true;
    SetEvent(m_stopEvent);
    if (m_acceptThread.joinable())
        m_acceptThread.join();
    std::vector<std::thread> threads;
    {
        std::lock_guard<std::mutex> lock(m_threadsMutex);
        threads.swap(m_connectionThreads);
    }
    for (std::thread& thread : threads)
        thread.join();
    closesocket(m_listen);
    m_listen = INVALID_SOCKET;
    m_started = false;
}

void LoopbackListener::AcceptLoop()
{
    while (!IsStopping()) {
        if (!WaitReadable(m_listen, kStopPollMs))
            continue;
        SOCKET connection = accept(m_listen, nullptr, nullptr);
        if (connection == INVALID_SOCKET)
            continue;
        // Each send leaves at once, so the splits a script makes reach the client as
        // separate arrivals; a client that stops reading cannot hold a send for ever.
        BOOL noDelay = TRUE;
        setsockopt(connection, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&noDelay), sizeof(noDelay));
        DWORD sendTimeOutMs = 10000;
        setsockopt(connection, SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&sendTimeOutMs),
                   sizeof(sendTimeOutMs));
        int index = m_accepted++;
        std::lock_guard<std::mutex> lock(m_threadsMutex);
        m_connectionThreads.emplace_back([this, connection, index] {
            Serve(connection, index);
            ++m_served;
        });
    }
}

bool LoopbackListener::WaitUntilServed(int count, int timeoutMs) const
{
    ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
    while (m_served.load() < count) {
        if (GetTickCount64() >= end)
            return false;
        Sleep(10);
    }
    return true;
}

bool LoopbackListener::PauseUnlessStopped(int ms) const
{
    return WaitForSingleObject(m_stopEvent, static_cast<DWORD>(std::max(ms, 0))) == WAIT_TIMEOUT;
}

bool LoopbackListener::WaitReadable(SOCKET s, int ms) const
{
    ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(std::max(ms, 0));
    for (;;) {
        if (IsStopping())
            return false;
        ULONGLONG now = GetTickCount64();
        long slice = static_cast<long>(std::min<ULONGLONG>(end > now ? end - now : 0, kStopPollMs));
        fd_set set;
        FD_ZERO(&set);
        FD_SET(s, &set);
        timeval timeout = {0, slice * 1000};
        int ready = select(0, &set, nullptr, nullptr, &timeout);
        if (ready != 0)
            return ready > 0;
        if (GetTickCount64() >= end)
            return false;
    }
}

bool LoopbackListener::ReadUntilText(SOCKET s, const std::string& text, std::string& received, int timeoutMs) const
{
    // The text may straddle what was read before and what comes now.
    size_t start = received.size() >= text.size() ? received.size() - text.size() + 1 : 0;
    ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
    char buffer[4096];
    for (;;) {
        if (!text.empty() && received.find(text, start) != std::string::npos)
            return true;
        ULONGLONG now = GetTickCount64();
        if (now >= end || !WaitReadable(s, static_cast<int>(end - now)))
            return false;
        int got = recv(s, buffer, sizeof(buffer), 0);
        if (got <= 0)
            return false;
        received.append(buffer, static_cast<size_t>(got));
    }
}

bool LoopbackListener::SendAll(SOCKET s, const char* data, size_t count) const
{
    while (count > 0 && !IsStopping()) {
        int piece = static_cast<int>(std::min<size_t>(count, 1 << 20));
        int sent = send(s, data, piece, 0);
        if (sent <= 0)
            return false;
        data += sent;
        count -= static_cast<size_t>(sent);
    }
    return count == 0;
}

void LoopbackListener::Play(SOCKET s, const Script& script, std::string& received) const
{
    // Reads give up after this long, so a client that never sends cannot hold a server.
    constexpr int kReadTimeOutMs = 30000;
    bool open = true;
    for (const Step& step : script) {
        if (!open || IsStopping())
            break;
        const std::string& bytes = *step.bytes;
        switch (step.kind) {
        case Step::Kind::Send:
            SendAll(s, bytes.data(), bytes.size());
            break;
        case Step::Kind::Pause:
            PauseUnlessStopped(step.ms);
            break;
        case Step::Kind::ReadUntil:
            ReadUntilText(s, bytes, received, kReadTimeOutMs);
            break;
        case Step::Kind::ReadToClose:
            ReadUntilText(s, std::string(), received, kReadTimeOutMs);
            break;
        case Step::Kind::HalfClose:
            shutdown(s, SD_SEND);
            break;
        case Step::Kind::Close:
            closesocket(s);
            open = false;
            break;
        case Step::Kind::Reset: {
            linger hard = {1, 0};
            setsockopt(s, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&hard), sizeof(hard));
            closesocket(s);
            open = false;
            break;
        }
        case Step::Kind::SendForever:
            while (SendAll(s, bytes.data(), bytes.size())) {
            }
            break;
        case Step::Kind::Trickle:
            for (size_t i = 0; i < bytes.size() && PauseUnlessStopped(step.ms); ++i) {
                if (!SendAll(s, &bytes[i], 1))
                    break;
            }
            break;
        }
    }
    if (open)
        closesocket(s);
}

ScriptedPeer::ScriptedPeer(std::vector<Script> scripts) : m_scripts(std::move(scripts))
{
}

ScriptedPeer::ScriptedPeer(Script script) : m_scripts{std::move(script)}
{
}

ScriptedPeer::~ScriptedPeer()
{
    Stop();
}

std::vector<std::string> ScriptedPeer::Received() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_received;
}

void ScriptedPeer::Serve(SOCKET connection, int index)
{
    const Script& script = m_scripts[std::min<size_t>(static_cast<size_t>(index), m_scripts.size() - 1)];
    std::string received;
    Play(connection, script, received);
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_received.size() <= static_cast<size_t>(index))
        m_received.resize(static_cast<size_t>(index) + 1);
    m_received[static_cast<size_t>(index)] = received;
}

} // namespace net_test
