// iPOP3Client and iSMTPClient: the library's mail clients, which log on when built
// with a server and log off when destroyed.
#pragma once

#include "net/MailClients.h"

class iPOP3Client : public CPJ_POP3Client {
public:
    iPOP3Client();
    // Logs on at once; the result is not kept (Connect again to learn it).
    iPOP3Client(const char* server, const char* user, const char* password);
    // Logs off: sends "Quit" whether or not a connection is open.
    ~iPOP3Client() override;

    int Connect(const char* server, const char* user, const char* password);
    void Close();
};

class iSMTPClient : public CPJ_SMTPClient {
public:
    iSMTPClient();
    // Greets the server at once; the result is not kept.
    iSMTPClient(const char* server, const char* localName);
    // Logs off: sends "Quit" when a connection is open.
    ~iSMTPClient() override;

    int Connect(const char* server, const char* localName);
    void Close();
};
