// The POP3 and SMTP clients and their wrappers against loopback mail servers: log-on
// results, replies late, in pieces or over several lines, silence, and log-off.
#include "net/iMailClients.h"

#include "net_test_support.h"
#include "tests/net/servers/mail_servers_test_support.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace net_test;

namespace {

// A closed loopback port.
int ClosedMailPort()
{
    SmtpServer server;
    EXPECT_TRUE(server.Start());
    int port = server.Port();
    server.Stop();
    return port;
}

} // namespace

TEST(Pop3Client, LogOnResults)
{
    struct Case {
        const char* why;
        const char* server; // null: the loopback server's address
        const char* user;
        const char* password;
        int result;
        std::vector<std::string> commands;
    };
    const Case kCases[] = {
        {"logged on", nullptr, "alice", "secret", 0, {"USER alice", "PASS secret"}},
        {"logged on through a name look-up", "localhost", "alice", "secret", 0, {"USER alice", "PASS secret"}},
        {"user rejected", nullptr, "mallory", "secret", 3, {"USER mallory"}},
        {"password rejected", nullptr, "alice", "guess", 4, {"USER alice", "PASS guess"}},
        {"server name not found", "mail.nowhere.invalid", "alice", "secret", 1, {}},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        Pop3Server server("alice", "secret");
        ASSERT_TRUE(server.Start());
        CPJ_POP3Client client;
        client.SetPort(server.Port());
        EXPECT_EQ(c.result, client.Connect(c.server ? c.server : "127.0.0.1", c.user, c.password));
        // A rejected log-on leaves the connection open.
        EXPECT_EQ(c.result == 0 || c.result >= 3, client.GetSocket() != INVALID_SOCKET);
        client.CloseConnection();
        server.Stop();
        EXPECT_EQ(c.commands, server.Commands());
    }
}

TEST(Pop3Client, DottedServerIsConnectedWithoutALookUp)
{
    Pop3Server server("alice", "secret");
    ASSERT_TRUE(server.Start());
    SocketCallSpy spy;
    CPJ_POP3Client client;
    client.SetPort(server.Port());
    EXPECT_EQ(0, client.Connect("127.0.0.1", "alice", "secret"));
    EXPECT_EQ(0, spy.lookUps.load());
    // A second log-on ends the first connection with Quit.
    EXPECT_EQ(0, client.Connect("127.0.0.1", "alice", "secret"));
    ASSERT_TRUE(server.WaitUntilServed(1, 5000));
    EXPECT_EQ(2, server.AcceptedCount());
    EXPECT_EQ("Quit", server.Commands()[2]);
}

TEST(Pop3Client, RefusedConnectionGivesTwo)
{
    CPJ_POP3Client client;
    client.SetPort(ClosedMailPort());
    EXPECT_EQ(2, client.Connect("127.0.0.1", "alice", "secret"));
    EXPECT_EQ(INVALID_SOCKET, client.GetSocket());
}

TEST(Pop3Client, RepliesLateInPiecesOrOverLongStayInStep)
{
    struct Case {
        const char* why;
        std::string greeting;
        ReplyShape shape;
        int replyWaitMs;
        int result;
    };
    const Case kCases[] = {
        {"replies in three pieces", "+OK ready\r\n", {0, 3, 60}, 2000, 0},
        {"replies late but within the wait", "+OK ready\r\n", {300, 1, 0}, 2000, 0},
        {"an -ERR greeting is not examined", "-ERR busy, but try\r\n", {}, 2000, 0},
        {"a greeting longer than the reply buffer", "+OK " + std::string(700, 'g') + "\r\n", {}, 2000, 0},
        {"replies later than the wait", "+OK ready\r\n", {1500, 1, 0}, 300, 3},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        Pop3Server server("alice", "secret");
        server.SetGreeting(c.greeting);
        server.SetShape(c.shape);
        ASSERT_TRUE(server.Start());
        CPJ_POP3Client client;
        client.SetPort(server.Port());
        client.SetLineWaitTimeOut(c.replyWaitMs);
        EXPECT_EQ(c.result, client.Connect("127.0.0.1", "alice", "secret"));
    }
}

// A reply line that its wait cuts off must end the log-on: what is left of it would be
// read as the answer to the next command.
TEST(Pop3Client, ReplyLineCutByItsWaitEndsTheLogOn)
{
    struct Case {
        const char* why;
        Script server;
        int result;
        const char* neverSent;
    };
    const Case kCases[] = {
        {"a greeting of \"+\" without end", {Send("+OK "), SendForever(std::string(4096, '+'))}, 2, "USER"},
        {"a greeting whose end comes after the wait",
         {Send("+OK POP3 server "), Pause(800), Send("+OK and the rest\r\n"), ReadToClose()},
         2,
         "USER"},
        {"an answer to USER without end",
         {Send("+OK ready\r\n"), ReadUntil("\r\n"), Send("+OK "), SendForever(std::string(4096, '+'))},
         3,
         "PASS"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        ScriptedPeer server(c.server);
        ASSERT_TRUE(server.Start());
        CPJ_POP3Client client;
        client.SetPort(server.Port());
        client.SetLineWaitTimeOut(500);
        Stopwatch watch;
        EXPECT_EQ(c.result, client.Connect("127.0.0.1", "alice", "secret"));
        EXPECT_LT(watch.ElapsedMs(), 3000);
        EXPECT_EQ(INVALID_SOCKET, client.GetSocket());
        ASSERT_TRUE(server.WaitUntilServed(1, 15000));
        EXPECT_EQ(std::string::npos, server.Received()[0].find(c.neverSent)) << server.Received()[0];
    }
}

TEST(Pop3Client, SilentUserOrPasswordReplyIsRejectionAfterTheWait)
{
    struct Case {
        const char* verb;
        int result;
    };
    const Case kCases[] = {{"USER", 3}, {"PASS", 4}};
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.verb);
        Pop3Server server("alice", "secret");
        server.SetReply(c.verb, "");
        ASSERT_TRUE(server.Start());
        CPJ_POP3Client client;
        client.SetPort(server.Port());
        client.SetLineWaitTimeOut(400);
        Stopwatch watch;
        EXPECT_EQ(c.result, client.Connect("127.0.0.1", "alice", "secret"));
        EXPECT_GE(watch.ElapsedMs(), 350);
        EXPECT_LT(watch.ElapsedMs(), 1500);
    }
}

TEST(Pop3Client, WrapperSendsQuitWhenDestroyed)
{
    Pop3Server server("alice", "secret");
    ASSERT_TRUE(server.Start());
    {
        iPOP3Client client;
        client.SetPort(server.Port());
        EXPECT_EQ(0, client.Connect("127.0.0.1", "alice", "secret"));
        EXPECT_STREQ("+OK logged on\r\n", client.GetLastResponse());
    }
    ASSERT_TRUE(server.WaitUntilServed(1, 5000));
    EXPECT_EQ((std::vector<std::string>{"USER alice", "PASS secret", "Quit"}), server.Commands());
}

TEST(SmtpClient, GreetingAndHeloResultsReadEveryLineOfAReply)
{
    const ReplyShape kTogether;
    const ReplyShape kLinesApart{0, 1, 150, true};
    struct Case {
        const char* why;
        std::string greeting;
        std::string heloReply; // empty: the server's own
        ReplyShape shape;
        int result;
    };
    const Case kCases[] = {
        {"250 to HELO", "220 ready\r\n", "", kTogether, 0},
        {"a multi-line 250 sent together", "220 ready\r\n", "250-first\r\n250-second\r\n250 last\r\n", kTogether, 0},
        {"a multi-line 250, its lines sent apart", "220 ready\r\n", "250-first\r\n250-second\r\n250 last\r\n",
         kLinesApart, 0},
        {"a multi-line reply ending in a refusal, its lines sent apart", "220 ready\r\n", "250-first\r\n550 no\r\n",
         kLinesApart, 3},
        {"a two-line greeting, its lines sent apart", "220-welcome\r\n220 ready\r\n", "", kLinesApart, 0},
        {"a two-line greeting sent apart, then a refusal", "220-welcome\r\n220 ready\r\n", "554 no\r\n",
         kLinesApart, 3},
        {"continuation lines of the older form", "220 ready\r\n", "250- first\r\n250 last\r\n", kTogether, 0},
        {"HELO refused", "220 ready\r\n", "550 go away\r\n", kTogether, 3},
        {"a reply line longer than the line buffer", "220 ready\r\n", "250 " + std::string(600, 'l') + "\r\n",
         kTogether, 0},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        SmtpServer server;
        server.SetGreeting(c.greeting);
        if (!c.heloReply.empty())
            server.SetReply("HELO", c.heloReply);
        server.SetShape(c.shape);
        ASSERT_TRUE(server.Start());
        CPJ_SMTPClient client;
        client.SetPort(server.Port());
        client.SetLineWaitTimeOut(2000);
        EXPECT_EQ(c.result, client.Connect("127.0.0.1", "client.local"));
        // In step: no part of a reply is left to be taken for the next one.
        Sleep(100);
        EXPECT_EQ(0, client.IsDataWaiting());
        client.Close();
        ASSERT_TRUE(server.WaitUntilServed(1, 5000));
        EXPECT_EQ((std::vector<std::string>{"HELO client.local", "Quit"}), server.Commands());
    }
}

TEST(SmtpClient, NoAnswerWithinTheWaitGivesThree)
{
    SmtpServer server;
    server.SetReply("HELO", "");
    ASSERT_TRUE(server.Start());
    CPJ_SMTPClient client;
    client.SetPort(server.Port());
    client.SetLineWaitTimeOut(400);
    Stopwatch watch;
    EXPECT_EQ(3, client.Connect("127.0.0.1", "client.local"));
    EXPECT_GE(watch.ElapsedMs(), 350);
    EXPECT_LT(watch.ElapsedMs(), 1500);
    EXPECT_EQ(1, client.GetResponseCode(1)) << "still nothing to read";
}

TEST(SmtpClient, EndlessContinuationLinesAreCutOffByTheWait)
{
    SmtpServer server;
    std::string endless;
    for (int i = 0; i < 2000; ++i)
        endless += "250-line " + std::to_string(i) + "\r\n";
    server.SetReply("HELO", endless);
    // One line a piece: the greeting comes whole, the continuation lines trickle in.
    server.SetShape({0, 1, 5, true});
    ASSERT_TRUE(server.Start());
    CPJ_SMTPClient client;
    client.SetPort(server.Port());
    client.SetLineWaitTimeOut(800);
    Stopwatch watch;
    EXPECT_EQ(3, client.Connect("127.0.0.1", "client.local"));
    EXPECT_LT(watch.ElapsedMs(), 2500);
}

TEST(SmtpClient, ReplyCutByItsWaitEndsTheConversation)
{
    struct Case {
        const char* why;
        Script server;
        int result;
    };
    const Case kCases[] = {
        {"a greeting of digits without end", {Send("220 "), SendForever(std::string(4096, '2'))}, 2},
        {"a greeting whose end comes after the wait, looking like a 250",
         {Send("220 welcome, this greeting goes on "), Pause(800), Send("250 and on\r\n"), ReadUntil("\r\n"),
          Send("554 go away\r\n"), ReadToClose()},
         2},
        {"an answer to HELO whose end comes after the wait",
         {Send("220 ready\r\n"), ReadUntil("\r\n"), Send("250 fine so f"), Pause(800), Send("ar\r\n"), ReadToClose()},
         3},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        ScriptedPeer server(c.server);
        ASSERT_TRUE(server.Start());
        CPJ_SMTPClient client;
        client.SetPort(server.Port());
        client.SetLineWaitTimeOut(500);
        Stopwatch watch;
        EXPECT_EQ(c.result, client.Connect("127.0.0.1", "client.local"));
        EXPECT_LT(watch.ElapsedMs(), 3000);
        EXPECT_EQ(INVALID_SOCKET, client.GetSocket());
    }
}

TEST(SmtpClient, ResultsWithoutAServer)
{
    CPJ_SMTPClient client;
    EXPECT_EQ(1, client.Connect("smtp.nowhere.invalid", "client.local"));
    client.SetPort(ClosedMailPort());
    EXPECT_EQ(2, client.Connect("127.0.0.1", "client.local"));
}

// The spy counts the clients' sends, also those a closed socket would refuse, which the
// server could not see.
TEST(SmtpClient, CloseSendsQuitOnlyOnAnOpenConnection)
{
    SmtpServer server;
    ASSERT_TRUE(server.Start());
    SocketCallSpy spy;
    {
        iSMTPClient client;
        client.SetPort(server.Port());
        ASSERT_EQ(0, client.Connect("127.0.0.1", "client.local"));
        const int beforeClose = spy.sendCalls.load();
        client.Close();
        const int afterClose = spy.sendCalls.load();
        EXPECT_GT(afterClose, beforeClose) << "Quit";
        client.Close();
        EXPECT_EQ(0, client.ClearList());
        EXPECT_EQ(afterClose, spy.sendCalls.load()) << "a second Close sends nothing";
    }
    const int afterDestruction = spy.sendCalls.load();
    {
        iSMTPClient neverConnected;
        neverConnected.Close();
    }
    EXPECT_EQ(afterDestruction, spy.sendCalls.load()) << "nothing from a client never connected";
    ASSERT_TRUE(server.WaitUntilServed(1, 5000));
    EXPECT_EQ((std::vector<std::string>{"HELO client.local", "Quit"}), server.Commands());
    EXPECT_EQ(1, server.AcceptedCount());
}

TEST(SmtpClient, WrapperSendsQuitWhenDestroyed)
{
    SmtpServer server;
    ASSERT_TRUE(server.Start());
    {
        iSMTPClient client;
        client.SetPort(server.Port());
        EXPECT_EQ(0, client.Connect("127.0.0.1", "client.local"));
    }
    ASSERT_TRUE(server.WaitUntilServed(1, 5000));
    EXPECT_EQ((std::vector<std::string>{"HELO client.local", "Quit"}), server.Commands());
}
