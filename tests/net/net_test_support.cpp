// The socket-call spy: the real WinSock calls, counted, and failed on request.
#include "net_test_support.h"

namespace net_test {

namespace {

SocketCallSpy* activeSpy = nullptr;

int WSAAPI SpyStartup(WORD version, LPWSADATA data)
{
    if (activeSpy->failStartup)
        return WSASYSNOTREADY;
    int result = RealSocketCalls().startup(version, data);
    if (result == 0)
        ++activeSpy->startups;
    return result;
}

int WSAAPI SpyCleanup()
{
    ++activeSpy->cleanups;
    return RealSocketCalls().cleanup();
}

SOCKET WSAAPI SpyOpen(int family, int type, int protocol)
{
    SOCKET s = RealSocketCalls().open(family, type, protocol);
    if (s != INVALID_SOCKET)
        ++activeSpy->opened;
    return s;
}

int WSAAPI SpyClose(SOCKET s)
{
    int result = RealSocketCalls().close(s);
    if (result == 0)
        ++activeSpy->closed;
    return result;
}

int WSAAPI SpyRecv(SOCKET s, char* buffer, int length, int flags)
{
    int call = ++activeSpy->recvCalls;
    if (activeSpy->failRecvAt > 0 && call == activeSpy->failRecvAt) {
        WSASetLastError(WSAECONNRESET);
        return SOCKET_ERROR;
    }
    return RealSocketCalls().recv(s, buffer, length, flags);
}

int WSAAPI SpySend(SOCKET s, const char* data, int length, int flags)
{
    ++activeSpy->sendCalls;
    int limit = activeSpy->maxSendBytes;
    return RealSocketCalls().send(s, data, limit > 0 && length > limit ? limit : length, flags);
}

hostent* WSAAPI SpyLookUp(const char* name)
{
    ++activeSpy->lookUps;
    return RealSocketCalls().lookUp(name);
}

} // namespace

HangingPort::HangingPort()
{
    if (!m_listener.Start(0, 1, false))
        return;
    m_port = m_listener.Port();
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<u_short>(m_port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    // The queue holds a connection or two; the first connect that stays unanswered
    // for 300 ms shows that the port now drops SYNs.
    for (int i = 0; i < 8 && !m_isHanging; ++i) {
        SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        u_long on = 1;
        ioctlsocket(s, FIONBIO, &on);
        connect(s, reinterpret_cast<const sockaddr*>(&address), sizeof(address));
        fd_set writable;
        FD_ZERO(&writable);
        FD_SET(s, &writable);
        timeval timeout = {0, 300 * 1000};
        if (select(0, nullptr, &writable, nullptr, &timeout) == 0)
            m_isHanging = true;
        m_fillers.push_back(s);
    }
}

HangingPort::~HangingPort()
{
    for (SOCKET s : m_fillers)
        closesocket(s);
}

SocketCallSpy::SocketCallSpy() : m_calls(RealSocketCalls())
{
    m_calls.startup = SpyStartup;
    m_calls.cleanup = SpyCleanup;
    m_calls.open = SpyOpen;
    m_calls.close = SpyClose;
    m_calls.recv = SpyRecv;
    m_calls.send = SpySend;
    m_calls.lookUp = SpyLookUp;
    activeSpy = this;
    SetSocketCalls(&m_calls);
}

SocketCallSpy::~SocketCallSpy()
{
    SetSocketCalls(nullptr);
    activeSpy = nullptr;
}

} // namespace net_test
