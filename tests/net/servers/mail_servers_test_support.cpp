// Loopback POP3 and SMTP servers: a command loop with replaceable, shaped replies.
#include "tests/net/servers/mail_servers_test_support.h"

#include <algorithm>

namespace net_test {

namespace {

// A client that stays silent this long is dropped.
constexpr int kCommandTimeOutMs = 30000;

std::string UpperCase(std::string text)
{
    for (char& c : text) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

} // namespace

MailServer::MailServer(std::string greeting) : m_greeting(std::move(greeting))
{
}

MailServer::~MailServer()
{
    Stop();
}

void MailServer::SetReply(const std::string& verb, const std::string& reply)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_replies[verb] = reply;
}

void MailServer::SetGreeting(const std::string& greeting)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_greeting = greeting;
}

void MailServer::SetShape(ReplyShape shape)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_shape = shape;
}

std::vector<std::string> MailServer::Commands() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_commands;
}

void MailServer::Say(SOCKET connection, const std::string& reply) const
{
    ReplyShape shape;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        shape = m_shape;
    }
    if (reply.empty() || !PauseUnlessStopped(shape.delayMs))
        return;
    size_t pieces = static_cast<size_t>(std::max(shape.pieces, 1));
    size_t pieceBytes = (reply.size() + pieces - 1) / pieces;
    for (size_t at = 0; at < reply.size();) {
        if (at > 0 && !PauseUnlessStopped(shape.gapMs))
            return;
        size_t length = std::min(pieceBytes, reply.size() - at);
        if (shape.linePerPiece) {
            size_t lineEnd = reply.find("\r\n", at);
            length = lineEnd == std::string::npos ? reply.size() - at : lineEnd + 2 - at;
        }
        SendAll(connection, reply.data() + at, length);
        at += length;
    }
}

void MailServer::Serve(SOCKET connection, int index)
{
    std::string greeting;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        greeting = m_greeting;
    }
    Say(connection, greeting);
    std::string pending;
    bool quit = false;
    while (!quit && ReadUntilText(connection, "\r\n", pending, kCommandTimeOutMs)) {
        // One command line at a time; what follows it stays pending.
        while (!quit) {
            size_t end = pending.find("\r\n");
            if (end == std::string::npos)
                break;
            std::string line = pending.substr(0, end);
            pending.erase(0, end + 2);
            size_t blank = line.find(' ');
            std::string verb = UpperCase(line.substr(0, blank));
            std::string argument = blank == std::string::npos ? std::string() : line.substr(blank + 1);
            std::string reply;
            bool replaced = false;
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                m_commands.push_back(line);
                auto found = m_replies.find(verb);
                if (found != m_replies.end()) {
                    reply = found->second;
                    replaced = true;
                }
            }
            if (replaced)
                quit = verb == "QUIT";
            else
                reply = Answer(connection, verb, argument, pending, quit);
            Say(connection, reply);
        }
    }
    closesocket(connection);
}

Pop3Server::Pop3Server(std::string user, std::string password)
    : MailServer("+OK POP3 server ready\r\n"), m_user(std::move(user)), m_password(std::move(password))
{
}

Pop3Server::~Pop3Server()
{
    Stop();
}

void Pop3Server::SetMailbox(std::vector<std::string> messages)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_messages = std::move(messages);
}

std::string Pop3Server::Answer(SOCKET, const std::string& verb, const std::string& argument, std::string&, bool& quit)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (verb == "USER") {
        m_userAccepted = argument == m_user;
        return m_userAccepted ? "+OK user accepted\r\n" : "-ERR unknown user\r\n";
    }
    if (verb == "PASS")
        return m_userAccepted && argument == m_password ? "+OK logged on\r\n" : "-ERR wrong password\r\n";
    if (verb == "STAT") {
        size_t octets = 0;
        for (const std::string& message : m_messages)
            octets += message.size();
        return "+OK " + std::to_string(m_messages.size()) + " " + std::to_string(octets) + "\r\n";
    }
    if (verb == "QUIT") {
        quit = true;
        return "+OK bye\r\n";
    }
    return "-ERR unknown command\r\n";
}

SmtpServer::SmtpServer() : MailServer("220 localhost SMTP ready\r\n")
{
}

SmtpServer::~SmtpServer()
{
    Stop();
}

std::vector<std::string> SmtpServer::Messages() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_messages;
}

std::string SmtpServer::Answer(SOCKET connection, const std::string& verb, const std::string&, std::string& pending,
                               bool& quit)
{
    if (verb == "HELO")
        return "250 localhost\r\n";
    if (verb == "EHLO")
        return "250-localhost\r\n250-SIZE 1048576\r\n250 HELP\r\n";
    if (verb == "MAIL" || verb == "RCPT" || verb == "RSET" || verb == "NOOP")
        return "250 OK\r\n";
    if (verb == "DATA") {
        Say(connection, "354 End data with <CR><LF>.<CR><LF>\r\n");
        size_t end = pending.find("\r\n.\r\n");
        if (end == std::string::npos) {
            if (!ReadUntilText(connection, "\r\n.\r\n", pending, kCommandTimeOutMs))
                return std::string();
            end = pending.find("\r\n.\r\n");
        }
        std::lock_guard<std::mutex> lock(m_mutex);
        m_messages.push_back(pending.substr(0, end + 2));
        pending.erase(0, end + 5);
        return "250 OK queued\r\n";
    }
    if (verb == "QUIT") {
        quit = true;
        return "221 Bye\r\n";
    }
    return "502 Command not implemented\r\n";
}

} // namespace net_test
