// Mail client wrappers: log on at construction, log off at destruction.
#include "net/iMailClients.h"

iPOP3Client::iPOP3Client() = default;

iPOP3Client::iPOP3Client(const char* server, const char* user, const char* password)
{
    CPJ_POP3Client::Connect(server, user, password);
}

iPOP3Client::~iPOP3Client()
{
    Close();
}

int iPOP3Client::Connect(const char* server, const char* user, const char* password)
{
    return CPJ_POP3Client::Connect(server, user, password);
}

void iPOP3Client::Close()
{
    CPJ_POP3Client::Close();
}

iSMTPClient::iSMTPClient() = default;

iSMTPClient::iSMTPClient(const char* server, const char* localName)
{
    CPJ_SMTPClient::Connect(server, localName);
}

iSMTPClient::~iSMTPClient()
{
    Close();
}

int iSMTPClient::Connect(const char* server, const char* localName)
{
    return CPJ_SMTPClient::Connect(server, localName);
}

void iSMTPClient::Close()
{
    CPJ_SMTPClient::Close();
}
