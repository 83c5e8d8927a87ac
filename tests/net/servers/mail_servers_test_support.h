// Small POP3 and SMTP servers on loopback. Each reads command lines, records them and
// answers as a real server would; any reply can be replaced (another text, several
// lines, or nothing at all) and every reply can come late or in pieces.
#pragma once

#include "tests/net/servers/loopback_listener_test_support.h"

#include <map>

namespace net_test {

// How a server's replies leave: after a delay, and cut into pieces (of equal size,
// or one line each) sent apart.
struct ReplyShape {
    int delayMs = 0;
    int pieces = 1;
    int gapMs = 0;
    bool linePerPiece = false;
};

class MailServer : public LoopbackListener {
public:
    ~MailServer() override;
    // Replaces the greeting or the reply to a command verb (upper case: "USER", "HELO");
    // an empty text makes the server say nothing.
    void SetReply(const std::string& verb, const std::string& reply);
    void SetGreeting(const std::string& greeting);
    void SetShape(ReplyShape shape);
    // Every command line received (without its line end), in order.
    std::vector<std::string> Commands() const;

protected:
    explicit MailServer(std::string greeting);
    void Serve(SOCKET connection, int index) override;
    // The reply to a command line the table does not replace; `quit` ends the session.
    virtual std::string Answer(SOCKET connection, const std::string& verb, const std::string& argument,
                               std::string& pending, bool& quit) = 0;
    void Say(SOCKET connection, const std::string& reply) const;

    mutable std::mutex m_mutex;

private:
    std::string m_greeting;
    std::map<std::string, std::string> m_replies;
    ReplyShape m_shape;
    std::vector<std::string> m_commands;
};

// Greeting, USER, PASS, STAT, QUIT, with "+OK" and "-ERR" replies.
class Pop3Server : public MailServer {
public:
    Pop3Server(std::string user, std::string password);
    ~Pop3Server() override;
    void SetMailbox(std::vector<std::string> messages);

protected:
    std::string Answer(SOCKET connection, const std::string& verb, const std::string& argument, std::string& pending,
                       bool& quit) override;

private:
    std::string m_user;
    std::string m_password;
    std::vector<std::string> m_messages;
    bool m_userAccepted = false;
};

// Greeting, HELO and EHLO (one- and multi-line), MAIL, RCPT, DATA, RSET, NOOP, QUIT;
// keeps the messages delivered.
class SmtpServer : public MailServer {
public:
    SmtpServer();
    ~SmtpServer() override;
    std::vector<std::string> Messages() const;

protected:
    std::string Answer(SOCKET connection, const std::string& verb, const std::string& argument, std::string& pending,
                       bool& quit) override;

private:
    std::vector<std::string> m_messages;
};

} // namespace net_test
