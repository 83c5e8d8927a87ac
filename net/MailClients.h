// CPJ_POP3Client and CPJ_SMTPClient: the mail clients of the internet-client family.
// Each logs on to its server (POP3: greeting, user name, password; SMTP: greeting and
// HELO) and logs off again; neither fetches nor sends a message. A rejected log-on
// leaves the connection open until Close or destruction.
#pragma once

#include "net/SocketClient.h"
#include "net/StringList.h"

class CPJ_POP3Client : public CPJ_WSClient {
public:
    // Results of Connect. A reply line cut off by its wait closes the connection: a cut
    // greeting gives kConnectFailed, a cut answer to USER or PASS its rejection.
    enum { kOk = 0, kServerNotFound = 1, kConnectFailed = 2, kUserRejected = 3, kPasswordRejected = 4 };

    CPJ_POP3Client();
    ~CPJ_POP3Client() override;

    int Connect(const char* server, const char* user, const char* password);
    // Sends "Quit" (to no effect when nothing is open) and closes the connection.
    void Close();
    // Reads one reply line into the reply buffer: 1 when a line came and begins with "+".
    // A line the wait cut off gives 0 and closes the connection.
    int GetResponse(int seconds);
    // The last reply line, with its line end.
    const char* GetLastResponse() const { return m_reply; }
    // The server's port (110 at construction); each reply waits the line wait (10 s).
    void SetPort(int port) { m_serverPort = port; }

    // A hook for derived clients; nothing in the library calls it.
    virtual int OnMailHook(UINT_PTR value) { return 1; }

protected:
    char m_reply[512];
    int m_serverPort;

private:
    int GetResponseWithin(int waitMs);
    void SendCommand(const char* verb, const char* argument);
};

class CPJ_SMTPClient : public CPJ_WSClient {
public:
    // Results of Connect. A reply cut off by its wait closes the connection: a cut
    // greeting gives kConnectFailed, a cut answer to HELO kRejected.
    enum { kOk = 0, kServerNotFound = 1, kConnectFailed = 2, kRejected = 3 };

    CPJ_SMTPClient();
    ~CPJ_SMTPClient() override;

    int Connect(const char* server, const char* localName);
    // Sends "Quit" when a connection is open, then closes it.
    void Close();
    // The code of the server's next reply, reading through its continuation lines;
    // 1 when no line came within the time, or when the time cut the reply off (the
    // connection is then closed).
    int GetResponseCode(int seconds);
    // Empties the list of texts. Returns 0.
    int ClearList();
    // The server's port (25 at construction); each reply waits the line wait (20 s).
    void SetPort(int port) { m_serverPort = port; }

    // A hook for derived clients; nothing in the library calls it.
    virtual int OnMailHook(UINT_PTR first, UINT_PTR second) { return 1; }

protected:
    // Texts of the client's own; nothing adds to them.
    CPJStringList m_list;
    int m_serverPort;

private:
    int GetResponseCodeWithin(int waitMs);
};
