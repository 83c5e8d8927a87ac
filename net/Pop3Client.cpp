// POP3 client: log-on with user name and password, and log-off.
#include "net/MailClients.h"

#include <cstring>

namespace {

constexpr int kPop3Port = 110;
constexpr int kPop3ReplyWaitMs = 10000;

} // namespace

CPJ_POP3Client::CPJ_POP3Client() : m_serverPort(kPop3Port)
{
    m_reply[0] = '\0';
    SetLineWaitTimeOut(kPop3ReplyWaitMs);
}

CPJ_POP3Client::~CPJ_POP3Client() = default;

int CPJ_POP3Client::Connect(const char* server, const char* user, const char* password)
{
    Close();
    if (!server)
        return kServerNotFound;
    // The reply buffer holds the server's dotted address until the greeting replaces it.
    if (IsIPAddress(server)) {
        size_t length = strnlen(server, sizeof(m_reply) - 1);
        memcpy(m_reply, server, length);
        m_reply[length] = '\0';
    } else if (GetAddressFromName(server, m_reply, sizeof(m_reply)) != 0) {
        return kServerNotFound;
    }
    if (CPJ_WSClient::Connect(m_serverPort, m_reply, AF_INET, SOCK_STREAM) != 0)
        return kConnectFailed;
    // The greeting's text is not examined, but a greeting cut by its bound closed the
    // connection: the rest of it must not be taken for the answer to USER.
    GetResponseWithin(m_lineWaitMs);
    if (GetSocket() == INVALID_SOCKET)
        return kConnectFailed;
    SendCommand("USER ", user);
    if (!GetResponseWithin(m_lineWaitMs))
        return kUserRejected;
    SendCommand("PASS ", password);
    if (!GetResponseWithin(m_lineWaitMs))
        return kPasswordRejected;
    return kOk;
}

void CPJ_POP3Client::SendCommand(const char* verb, const char* argument)
{
    Send(verb, 0);
    if (argument && argument[0])
        Send(argument, 0);
    Send("\r\n", 2);
}

void CPJ_POP3Client::Close()
{
    Send("Quit\r\n", 0);
    CloseConnection();
}

int CPJ_POP3Client::GetResponse(int seconds)
{
    return GetResponseWithin(seconds > 0 ? seconds * 1000 : m_receiveTimeOutMs);
}

// A reply is one line, however long: the part past the buffer is dropped, so that it
// is not taken for the next reply. The whole reply must come within the wait; a line
// the wait cut off ends the conversation, since what is left of it would be read as
// the next reply.
int CPJ_POP3Client::GetResponseWithin(int waitMs)
{
    SetDeadline(GetTickCount64() + static_cast<ULONGLONG>(waitMs > 0 ? waitMs : 0));
    LineStop stop = LineStop::Closed;
    int got = ReceiveReplyLine(m_reply, sizeof(m_reply), waitMs, stop);
    SetDeadline(0);
    ClearInterrupted();
    if (got > 0 && stop == LineStop::Bound) {
        CloseConnection();
        return 0;
    }
    return got > 0 && m_reply[0] == '+' ? 1 : 0;
}
