// SMTP client: greeting and HELO, log-off, and reading multi-line replies.
#include "net/MailClients.h"

#include <cstring>

namespace {

constexpr int kSmtpPort = 25;
constexpr int kSmtpReplyWaitMs = 20000;
constexpr int kSmtpLineBytes = 256;

bool IsCodeDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The leading digits of a word as a number; 0 when it does not begin with a digit.
int LeadingNumber(const char* word)
{
    int value = 0;
    for (const char* p = word; IsCodeDigit(*p) && value < 100000; ++p)
        value = value * 10 + (*p - '0');
    return value;
}

} // namespace

CPJ_SMTPClient::CPJ_SMTPClient() : m_serverPort(kSmtpPort)
{
    SetLineWaitTimeOut(kSmtpReplyWaitMs);
}

CPJ_SMTPClient::~CPJ_SMTPClient()
{
    ClearList();
}

int CPJ_SMTPClient::Connect(const char* server, const char* localName)
{
    Close();
    if (!server)
        return kServerNotFound;
    char address[256];
    if (IsIPAddress(server)) {
        size_t length = strnlen(server, sizeof(address) - 1);
        memcpy(address, server, length);
        address[length] = '\0';
    } else if (GetAddressFromName(server, address, sizeof(address)) != 0) {
        return kServerNotFound;
    }
    if (CPJ_WSClient::Connect(m_serverPort, address, AF_INET, SOCK_STREAM) != 0)
        return kConnectFailed;
    // The greeting's code is not examined, but a greeting cut by its bound closed the
    // connection: the rest of it must not be taken for the answer to HELO.
    GetResponseCodeWithin(m_lineWaitMs);
    if (GetSocket() == INVALID_SOCKET)
        return kConnectFailed;
    Send("HELO ", 0);
    if (localName && localName[0])
        Send(localName, 0);
    Send("\r\n", 2);
    int code = GetResponseCodeWithin(m_lineWaitMs);
    return code >= 200 && code <= 299 ? kOk : kRejected;
}

void CPJ_SMTPClient::Close()
{
    if (GetSocket() != INVALID_SOCKET)
        Send("Quit\r\n", 0);
    CloseConnection();
}

int CPJ_SMTPClient::GetResponseCode(int seconds)
{
    return GetResponseCodeWithin(seconds > 0 ? seconds * 1000 : m_receiveTimeOutMs);
}

// Reads line after line while the reply goes on: a line whose code has "-" right after
// it ("250-SIZE"), a first word ending in "-", or more bytes already waiting. The
// whole reply must come within the wait, so a server that sends continuation lines
// without end cannot hold the client. A reply the wait cut off (in a line, or between
// its lines) ends the conversation: what is left of it would be read as the next reply.
int CPJ_SMTPClient::GetResponseCodeWithin(int waitMs)
{
    SetDeadline(GetTickCount64() + static_cast<ULONGLONG>(waitMs > 0 ? waitMs : 0));
    char line[kSmtpLineBytes];
    char word[kSmtpLineBytes];
    int code = 1;
    bool begun = false;
    for (;;) {
        LineStop stop = LineStop::Closed;
        int got = ReceiveReplyLine(line, sizeof(line), waitMs, stop);
        if (stop == LineStop::Bound && (got > 0 || begun)) {
            CloseConnection();
            code = 1;
            break;
        }
        if (got <= 0) {
            code = 1;
            break;
        }
        begun = true;
        ParseString(line, " ", 0, word, sizeof(word));
        size_t wordLength = strlen(word);
        bool continues = (IsCodeDigit(line[0]) && IsCodeDigit(line[1]) && IsCodeDigit(line[2]) && line[3] == '-') ||
                         (wordLength > 0 && word[wordLength - 1] == '-') || IsDataWaiting();
        code = LeadingNumber(word);
        if (!continues)
            break;
    }
    SetDeadline(0);
    ClearInterrupted();
    return code;
}

int CPJ_SMTPClient::ClearList()
{
    m_list.ClearList();
    return 0;
}
