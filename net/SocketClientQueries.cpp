// Socket client: host-name look-up, address test, connection test and status hooks.
#include "net/SocketClient.h"

#include <cstring>

namespace {

// A text that no resolver could find: refused before the look-up, so that a URL's
// "host:port" or a stray character never becomes a query to a name server.
bool IsPlausibleHostName(const char* name)
{
    size_t length = 0;
    for (const char* p = name; *p; ++p, ++length) {
        char c = *p;
        bool allowed = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
                       c == '-' || c == '_';
        if (!allowed || length >= 255)
            return false;
    }
    return length > 0;
}

} // namespace

int CPJ_WSClient::GetAddressFromName(const char* name, char* out, int outSize)
{
    if (!name)
        return 2;
    // A mail address looks up its domain: the part after the last at sign, unless the
    // only one is the first character.
    const char* lookUp = name;
    const char* at = name[0] ? strrchr(name + 1, '@') : nullptr;
    if (at)
        lookUp = at + 1;
    if (!IsPlausibleHostName(lookUp))
        return 2;
    hostent* entry = ActiveSocketCalls().lookUp(lookUp);
    if (!entry || entry->h_addrtype != AF_INET || entry->h_length != sizeof(in_addr) || !entry->h_addr_list ||
        !entry->h_addr_list[0])
        return 2;
    in_addr address;
    memcpy(&address, entry->h_addr_list[0], sizeof(address));
    const char* dotted = inet_ntoa(address);
    if (!dotted)
        return 2;
    size_t needed = strlen(dotted) + 1;
    if (!out || outSize <= 0 || needed > static_cast<size_t>(outSize))
        return 1;
    memcpy(out, dotted, needed);
    return 0;
}

int CPJ_WSClient::IsIPAddress(const char* text)
{
    return text && inet_addr(text) != INADDR_NONE ? 1 : 0;
}

int CPJ_WSClient::IsConnected()
{
    const SocketCalls& calls = ActiveSocketCalls();
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(m_socket, &readable);
    timeval zero = {0, 0};
    int selected = calls.select(0, &readable, nullptr, nullptr, &zero);
    if (selected == SOCKET_ERROR) {
        int error = calls.lastError();
        if (error == WSANOTINITIALISED || error == WSAENETDOWN || error == WSAENOTSOCK)
            return 0;
    }
    bool wasReadable = selected > 0 && FD_ISSET(m_socket, &readable);
    SetNonBlocking(1);
    char byte;
    int peeked = calls.recv(m_socket, &byte, 1, MSG_PEEK);
    int error = peeked == SOCKET_ERROR ? calls.lastError() : 0;
    int result = 1;
    bool restore = true;
    if (peeked != SOCKET_ERROR) {
        // Readable with nothing to read: the peer closed in order.
        result = peeked == 0 && wasReadable ? 0 : 1;
    } else {
        switch (error) {
        case WSAEWOULDBLOCK:
            result = wasReadable ? 0 : 1;
            break;
        case WSAECONNRESET:
            result = 0;
            break;
        case WSAEINPROGRESS:
            result = 1;
            break;
        case WSAESHUTDOWN:
        case WSAENETDOWN:
        case WSAENETRESET:
        case WSAETIMEDOUT:
        case WSAEISCONN:
        case WSAENOTSOCK:
        case WSAEFAULT:
        case WSAEINTR:
        case WSAEINVAL:
        case WSAEOPNOTSUPP:
        case WSAEMSGSIZE:
            result = 0;
            restore = false;
            break;
        default:
            result = 1;
            break;
        }
    }
    if (restore)
        SetNonBlocking(0);
    return result;
}

int CPJ_WSClient::OnReceiveStatus(int value)
{
    if (m_receiveStatusCallback)
        return m_receiveStatusCallback(value);
    if (m_receiveStatusCallbackWithData)
        return m_receiveStatusCallbackWithData(value, m_receiveStatusUserData);
    return 1;
}

int CPJ_WSClient::OnSendStatus(int value)
{
    if (m_sendStatusCallback)
        return m_sendStatusCallback(value);
    if (m_sendStatusCallbackWithData)
        return m_sendStatusCallbackWithData(value, m_sendStatusUserData);
    return 1;
}
