// The WinSock calls of the internet clients, reached through one replaceable table so
// that a test can make the Nth call fail, send short or count the sockets opened and
// closed. By default the table holds the real WinSock functions.
#pragma once

// WinSock 2 must come before windows.h. A file whose windows.h came first (through a
// precompiled header) already has WinSock 1's declarations, which cover every type
// these headers name; the clients' own files include this header first.
#ifndef _WINSOCKAPI_
#include <winsock2.h>
#endif
// WinSock 1's header takes back its calling-convention macro at its end.
#ifndef WSAAPI
#define WSAAPI WINAPI
#endif

struct SocketCalls {
    int (WSAAPI* startup)(WORD version, LPWSADATA data);
    int (WSAAPI* cleanup)();
    int (WSAAPI* lastError)();
    SOCKET (WSAAPI* open)(int family, int type, int protocol);
    int (WSAAPI* connect)(SOCKET s, const sockaddr* address, int length);
    int (WSAAPI* send)(SOCKET s, const char* data, int length, int flags);
    int (WSAAPI* recv)(SOCKET s, char* buffer, int length, int flags);
    int (WSAAPI* select)(int unused, fd_set* read, fd_set* write, fd_set* except, timeval* timeout);
    int (WSAAPI* shutdown)(SOCKET s, int how);
    int (WSAAPI* close)(SOCKET s);
    int (WSAAPI* ioctl)(SOCKET s, long command, u_long* argument);
    int (WSAAPI* setOption)(SOCKET s, int level, int name, const char* value, int length);
    int (WSAAPI* getOption)(SOCKET s, int level, int name, char* value, int* length);
    hostent* (WSAAPI* lookUp)(const char* name);
    int (WSAAPI* peerName)(SOCKET s, sockaddr* name, int* length);
};

// The real WinSock functions.
const SocketCalls& RealSocketCalls();

// The table the clients call through.
const SocketCalls& ActiveSocketCalls();

// Makes the clients call through `calls` (which must outlive its use); null restores
// the real table. Process-wide: a test swaps it while no other client runs.
void SetSocketCalls(const SocketCalls* calls);
