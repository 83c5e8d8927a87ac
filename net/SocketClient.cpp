// Socket client: WinSock start-up, connect within a time-out, close, sending whole
// texts, and the bounded waits every receive and send goes through.
#include "net/SocketClient.h"

#include <cstring>

namespace {

// A cancel flag is looked at this often while a wait goes on.
constexpr int kCancelPollMs = 50;
constexpr int kDefaultTimeOutMs = 30000;
constexpr int kDefaultConnectTimeOutMs = 5000;
// Sends go out in pieces of at most this size, each after a wait for room.
constexpr int kSendPieceBytes = 64 * 1024;

} // namespace

CPJ_WSClient::CPJ_WSClient()
    : m_receiveStatusCallbackWithData(nullptr), m_sendStatusCallbackWithData(nullptr),
      m_receiveStatusCallback(nullptr), m_sendStatusCallback(nullptr), m_receiveStatusUserData(0),
      m_sendStatusUserData(0), m_port(0), m_family(AF_INET), m_type(SOCK_STREAM), m_socket(INVALID_SOCKET),
      m_sendTimeOutMs(0), m_receiveTimeOutMs(0), m_isStarted(false), m_connectTimeOutMs(kDefaultConnectTimeOutMs),
      m_lineWaitMs(kDefaultLineWaitMs), m_cancelFlag(nullptr), m_deadlineTick(0), m_interrupted(false)
{
    m_serverAddress[0] = '\0';
    memset(&m_startupData, 0, sizeof(m_startupData));
    memset(&m_peerAddress, 0, sizeof(m_peerAddress));
    m_isStarted = ActiveSocketCalls().startup(MAKEWORD(1, 1), &m_startupData) == 0;
    SetReceiveTimeOut(kDefaultTimeOutMs);
    SetSendTimeOut(kDefaultTimeOutMs);
}

CPJ_WSClient::~CPJ_WSClient()
{
    CloseConnection();
    // Only a start-up that succeeded holds a reference; cleaning up after a failed one
    // would take away another client's, whose sockets would then stop working.
    if (m_isStarted)
        ActiveSocketCalls().cleanup();
}

bool CPJ_WSClient::IsCancelled() const
{
    return m_cancelFlag && m_cancelFlag->load(std::memory_order_relaxed);
}

bool CPJ_WSClient::IsPastDeadlineOrCancelled()
{
    bool interrupted = IsCancelled() || (m_deadlineTick != 0 && GetTickCount64() >= m_deadlineTick);
    if (interrupted)
        m_interrupted = true;
    return interrupted;
}

CPJ_WSClient::WaitResult CPJ_WSClient::WaitFor(Readiness what, int waitMs)
{
    if (m_socket == INVALID_SOCKET)
        return WaitResult::Failed;
    const SocketCalls& calls = ActiveSocketCalls();
    // Checked before the socket: data that never stops must not outlast the deadline.
    if (IsPastDeadlineOrCancelled())
        return WaitResult::Interrupted;
    ULONGLONG now = GetTickCount64();
    ULONGLONG end = now + static_cast<ULONGLONG>(waitMs > 0 ? waitMs : 0);
    bool endIsDeadline = false;
    if (m_deadlineTick != 0 && m_deadlineTick <= end) {
        end = m_deadlineTick;
        endIsDeadline = true;
    }
    for (;;) {
        if (IsCancelled()) {
            m_interrupted = true;
            return WaitResult::Interrupted;
        }
        ULONGLONG left = end > now ? end - now : 0;
        // Without a cancel flag one select covers the whole wait.
        if (m_cancelFlag && left > static_cast<ULONGLONG>(kCancelPollMs))
            left = kCancelPollMs;
        fd_set ready, failed;
        FD_ZERO(&ready);
        FD_SET(m_socket, &ready);
        FD_ZERO(&failed);
        FD_SET(m_socket, &failed);
        timeval timeout;
        timeout.tv_sec = static_cast<long>(left / 1000);
        timeout.tv_usec = static_cast<long>((left % 1000) * 1000);
        int count = what == Readiness::Readable
                        ? calls.select(0, &ready, nullptr, nullptr, &timeout)
                        : calls.select(0, nullptr, &ready, what == Readiness::Connected ? &failed : nullptr, &timeout);
        if (count == SOCKET_ERROR)
            return WaitResult::Failed;
        // A connect that fails shows in the exception set.
        if (count > 0 && what == Readiness::Connected && FD_ISSET(m_socket, &failed))
            return WaitResult::Failed;
        if (count > 0)
            return WaitResult::Ready;
        now = GetTickCount64();
        if (now >= end) {
            if (endIsDeadline) {
                m_interrupted = true;
                return WaitResult::Interrupted;
            }
            return WaitResult::TimedOut;
        }
    }
}

int CPJ_WSClient::Connect(int port, const char* address, int family, int type)
{
    if (m_socket != INVALID_SOCKET)
        return 1;
    // The address field holds 31 characters and a NUL: a longer text is refused
    // before anything is stored or made.
    if (!address || strnlen(address, sizeof(m_serverAddress)) >= sizeof(m_serverAddress))
        return 2;
    m_port = port;
    strcpy(m_serverAddress, address);
    m_family = family;
    m_type = type;
    memset(&m_peerAddress, 0, sizeof(m_peerAddress));
    m_peerAddress.sin_family = static_cast<short>(family);
    m_peerAddress.sin_port = htons(static_cast<u_short>(port));
    m_peerAddress.sin_addr.s_addr = inet_addr(address);

    const SocketCalls& calls = ActiveSocketCalls();
    SOCKET s = calls.open(family, type, 0);
    if (s == INVALID_SOCKET)
        return 2;
    if (!FinishConnect(s)) {
        calls.close(s);
        m_socket = INVALID_SOCKET;
        return 3;
    }
    // The stored time-outs bound every blocking call on the new socket.
    ApplyTimeOut(SO_RCVTIMEO, m_receiveTimeOutMs);
    ApplyTimeOut(SO_SNDTIMEO, m_sendTimeOutMs);
    return 0;
}

// Connects without blocking and waits for the outcome, so that a peer that never
// answers costs the connect time-out and not the system's SYN retries (minutes).
bool CPJ_WSClient::FinishConnect(SOCKET s)
{
    const SocketCalls& calls = ActiveSocketCalls();
    u_long on = 1;
    if (calls.ioctl(s, FIONBIO, &on) != 0)
        return false;
    m_socket = s;
    if (calls.connect(s, reinterpret_cast<const sockaddr*>(&m_peerAddress), sizeof(m_peerAddress)) != 0) {
        int error = calls.lastError();
        if (error != WSAEWOULDBLOCK && error != WSAEINPROGRESS)
            return false;
        if (WaitFor(Readiness::Connected, m_connectTimeOutMs) != WaitResult::Ready)
            return false;
        int socketError = 0;
        int length = sizeof(socketError);
        if (calls.getOption(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&socketError), &length) != 0 ||
            socketError != 0)
            return false;
    }
    u_long off = 0;
    return calls.ioctl(s, FIONBIO, &off) == 0;
}

int CPJ_WSClient::CloseConnection()
{
    int result = 0;
    if (m_socket != INVALID_SOCKET) {
        const SocketCalls& calls = ActiveSocketCalls();
        if (m_type == SOCK_STREAM && calls.shutdown(m_socket, SD_BOTH) != 0)
            result |= 1;
        if (calls.close(m_socket) != 0)
            result |= 2;
    }
    m_socket = INVALID_SOCKET;
    return result;
}

int CPJ_WSClient::Send(const char* data, int length)
{
    if (!data || m_socket == INVALID_SOCKET)
        return SOCKET_ERROR;
    if (length <= 0)
        length = static_cast<int>(strnlen(data, 0x7FFFFFFF));
    if (length == 0)
        return 0;
    const SocketCalls& calls = ActiveSocketCalls();
    // The send time-out bounds the whole text, however it is split.
    ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(m_sendTimeOutMs > 0 ? m_sendTimeOutMs : 0);
    int sent = 0;
    while (sent < length) {
        ULONGLONG now = GetTickCount64();
        int waitMs = end > now ? static_cast<int>(end - now) : 0;
        if (WaitFor(Readiness::Writable, waitMs) != WaitResult::Ready)
            return SOCKET_ERROR;
        int piece = length - sent < kSendPieceBytes ? length - sent : kSendPieceBytes;
        int n = calls.send(m_socket, data + sent, piece, 0);
        if (n <= 0)
            return SOCKET_ERROR;
        sent += n;
    }
    return length;
}

int CPJ_WSClient::WaitForReceive(int seconds, int microseconds)
{
    long long ms = static_cast<long long>(seconds) * 1000 + (microseconds + 999) / 1000;
    if (ms < 0)
        ms = 0;
    if (ms > 0x7FFFFFFF)
        ms = 0x7FFFFFFF;
    return WaitFor(Readiness::Readable, static_cast<int>(ms)) == WaitResult::Ready ? 0 : 1;
}

int CPJ_WSClient::IsDataWaiting()
{
    if (m_socket == INVALID_SOCKET)
        return 0;
    u_long waiting = 0;
    return ActiveSocketCalls().ioctl(m_socket, FIONREAD, &waiting) == 0 && waiting > 0 ? 1 : 0;
}

void CPJ_WSClient::ApplyTimeOut(int name, int ms)
{
    if (m_socket == INVALID_SOCKET)
        return;
    DWORD value = static_cast<DWORD>(ms > 0 ? ms : 0);
    ActiveSocketCalls().setOption(m_socket, SOL_SOCKET, name, reinterpret_cast<const char*>(&value), sizeof(value));
}

void CPJ_WSClient::SetReceiveTimeOut(int ms)
{
    m_receiveTimeOutMs = ms;
    ApplyTimeOut(SO_RCVTIMEO, ms);
}

void CPJ_WSClient::SetSendTimeOut(int ms)
{
    m_sendTimeOutMs = ms;
    ApplyTimeOut(SO_SNDTIMEO, ms);
}

int CPJ_WSClient::SetNonBlocking(int on)
{
    if (m_socket == INVALID_SOCKET)
        return 1;
    u_long value = on ? 1 : 0;
    return ActiveSocketCalls().ioctl(m_socket, FIONBIO, &value) == 0 ? 0 : 1;
}

void CPJ_WSClient::SetConnectTimeOut(int ms)
{
    m_connectTimeOutMs = ms;
}

void CPJ_WSClient::SetLineWaitTimeOut(int ms)
{
    m_lineWaitMs = ms;
}
