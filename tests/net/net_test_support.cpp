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
