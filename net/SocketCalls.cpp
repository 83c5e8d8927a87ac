// The replaceable WinSock table: the real functions, and the pointer the clients read.
#include "net/SocketCalls.h"

#include <atomic>

namespace {

// select takes a const time-out in some headers and a plain one in others.
int WSAAPI RealSelect(int unused, fd_set* read, fd_set* write, fd_set* except, timeval* timeout)
{
    return ::select(unused, read, write, except, timeout);
}

const SocketCalls kRealSocketCalls = {
    ::WSAStartup, ::WSACleanup, ::WSAGetLastError, ::socket,     ::connect,    ::send,       ::recv,
    RealSelect,   ::shutdown,   ::closesocket,     ::ioctlsocket, ::setsockopt, ::getsockopt, ::gethostbyname,
    ::getpeername,
};

std::atomic<const SocketCalls*> activeSocketCalls{&kRealSocketCalls};

} // namespace

const SocketCalls& RealSocketCalls()
{
    return kRealSocketCalls;
}

const SocketCalls& ActiveSocketCalls()
{
    return *activeSocketCalls.load(std::memory_order_acquire);
}

void SetSocketCalls(const SocketCalls* calls)
{
    activeSocketCalls.store(calls ? calls : &kRealSocketCalls, std::memory_order_release);
}
