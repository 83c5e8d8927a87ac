// The socket client: its text helpers, address look-up, connecting (twice, refused,
// too long an address, a peer that never answers), the stored time-outs, whole sends,
// the connection test and WinSock start-up counting.
#include "net/SocketClient.h"

#include "net_test_support.h"
#include "tests/net/servers/loopback_listener_test_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using namespace net_test;

namespace {

// Shows the fields a test checks.
class InspectableClient : public CPJ_WSClient {
public:
    const char* StoredAddress() const { return m_serverAddress; }
    int StoredPort() const { return m_port; }
};

DWORD SocketTimeOut(SOCKET s, int name)
{
    DWORD value = 0;
    int length = sizeof(value);
    EXPECT_EQ(0, getsockopt(s, SOL_SOCKET, name, reinterpret_cast<char*>(&value), &length));
    return value;
}

// A loopback port on which nothing listens any more.
int ClosedPort()
{
    ScriptedPeer peer(Script{});
    EXPECT_TRUE(peer.Start());
    int port = peer.Port();
    peer.Stop();
    return port;
}

} // namespace

TEST(SocketClientText, StripCRLFLooksAtTheLastTwoCharactersOnly)
{
    struct Case {
        const char* why;
        const char* text;
        const char* expected;
    };
    const Case kCases[] = {
        {"CR LF", "abc\r\n", "abc"},
        {"LF alone", "abc\n", "abc"},
        {"CR alone", "abc\r", "abc"},
        {"one letter and LF LF", "a\n\n", "a"},
        {"no line end", "abc", "abc"},
        {"a lone CR", "\r", ""},
        {"a lone LF", "\n", ""},
        {"a lone letter", "x", "x"},
        {"empty", "", ""},
        {"a line end before the last character cuts it there", "ab\rc", "ab"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        char text[32];
        strcpy(text, c.text);
        CPJ_WSClient::StripCRLF(text);
        EXPECT_STREQ(c.expected, text);
    }
    CPJ_WSClient::StripCRLF(nullptr);
}

TEST(SocketClientText, ParseStringFindsFieldsBetweenRunsOfSeparators)
{
    struct Case {
        const char* why;
        const char* text;
        const char* separators;
        int index;
        int outSize;
        int result;
        const char* out;
    };
    const Case kCases[] = {
        {"empty fields do not count", "a,,b", ",", 1, 8, 0, "b"},
        {"no room for the field and its NUL", "a,,b", ",", 1, 1, 1, ""},
        {"a field that just fits", "abc", ",", 0, 4, 0, "abc"},
        {"a field one byte too long", "abc", ",", 0, 3, 1, ""},
        {"a URL: scheme with its colon", "http://host/p1/p2?q=1", "/?", 0, 32, 0, "http:"},
        {"a URL: host", "http://host/p1/p2?q=1", "/?", 1, 32, 0, "host"},
        {"a URL: query", "http://host/p1/p2?q=1", "/?", 4, 32, 0, "q=1"},
        {"a header name", "Content-Type: text/html", ": ", 0, 64, 0, "Content-Type"},
        {"leading separators are skipped", ",,x", ",", 0, 8, 0, "x"},
        {"past the last field", "a,b", ",", 2, 8, 1, ""},
        {"no separators: no fields", "abc", "", 0, 8, 1, ""},
        {"a negative index", "abc", ",", -1, 8, 1, ""},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        char out[64];
        strcpy(out, "old");
        EXPECT_EQ(c.result, CPJ_WSClient::ParseString(c.text, c.separators, c.index, out, c.outSize));
        EXPECT_STREQ(c.out, out);
    }
    char out[8] = "old";
    EXPECT_EQ(1, CPJ_WSClient::ParseString(nullptr, ",", 0, out, sizeof(out)));
    EXPECT_STREQ("", out);
}

TEST(SocketClientAddress, GetAddressFromNameLooksUpHostsAndMailDomains)
{
    struct Case {
        const char* why;
        const char* name;
        int outSize;
        int result;
        const char* out;
    };
    const Case kCases[] = {
        {"a 16-byte answer fits 16 bytes", "127.100.100.100", 16, 0, "127.100.100.100"},
        {"a 16-byte answer does not fit 15", "127.100.100.100", 15, 1, "unchanged"},
        {"localhost", "localhost", 16, 0, "127.0.0.1"},
        {"a mail address looks up its domain", "user@localhost", 16, 0, "127.0.0.1"},
        {"the last at sign counts", "a@b@localhost", 16, 0, "127.0.0.1"},
        {"a leading at sign: the whole name is looked up", "@localhost", 16, 2, "unchanged"},
        {"a name under the reserved .invalid domain", "nowhere.invalid", 16, 2, "unchanged"},
        {"a host with a port is no host name", "localhost:80", 16, 2, "unchanged"},
    };
    CPJ_WSClient client;
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        char out[32] = "unchanged";
        EXPECT_EQ(c.result, client.GetAddressFromName(c.name, out, c.outSize));
        EXPECT_STREQ(c.out, out);
    }
    char out[16] = "unchanged";
    EXPECT_EQ(2, client.GetAddressFromName(nullptr, out, sizeof(out)));
}

TEST(SocketClientAddress, NamesThatCannotBeHostsAreNeverSentToTheResolver)
{
    SocketCallSpy spy;
    CPJ_WSClient client;
    char out[16];
    for (const char* name : {"@localhost", "localhost:8080", "two words", "", "a/b"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(2, client.GetAddressFromName(name, out, sizeof(out)));
    }
    EXPECT_EQ(0, spy.lookUps.load());
}

TEST(SocketClientAddress, IsIPAddressAcceptsDottedAddressesButNotBroadcast)
{
    struct Case {
        const char* text;
        int expected;
    };
    const Case kCases[] = {
        {"127.0.0.1", 1}, {"10.1.2.3", 1}, {"255.255.255.255", 0}, {"localhost", 0}, {"256.1.1.1", 0}, {nullptr, 0},
    };
    CPJ_WSClient client;
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.text ? c.text : "null");
        EXPECT_EQ(c.expected, client.IsIPAddress(c.text));
    }
}

TEST(SocketClientConnect, ConnectsOnceAndRefusesASecondConnection)
{
    ScriptedPeer peer({Pause(2000)});
    ASSERT_TRUE(peer.Start());
    InspectableClient client;
    EXPECT_EQ(0, client.Connect(peer.Port(), "127.0.0.1", AF_INET, SOCK_STREAM));
    SOCKET first = client.GetSocket();
    EXPECT_NE(INVALID_SOCKET, first);
    EXPECT_EQ(1, client.Connect(peer.Port() + 1, "127.0.0.2", AF_INET, SOCK_STREAM));
    EXPECT_EQ(first, client.GetSocket());
    EXPECT_STREQ("127.0.0.1", client.StoredAddress());
    EXPECT_EQ(peer.Port(), client.StoredPort());
    EXPECT_EQ(0, client.CloseConnection());
    EXPECT_EQ(INVALID_SOCKET, client.GetSocket());
    EXPECT_EQ(0, client.CloseConnection()) << "closing a closed client";
}

TEST(SocketClientConnect, RefusesAnAddressTooLongForItsFieldBeforeMakingASocket)
{
    SocketCallSpy spy;
    InspectableClient client;
    std::string tooLong = "127.0.0.1" + std::string(23, ' ');
    ASSERT_EQ(32u, tooLong.size());
    EXPECT_EQ(2, client.Connect(80, tooLong.c_str(), AF_INET, SOCK_STREAM));
    EXPECT_EQ(2, client.Connect(80, nullptr, AF_INET, SOCK_STREAM));
    EXPECT_EQ(0, spy.opened.load());
    EXPECT_STREQ("", client.StoredAddress());
    EXPECT_EQ(0, client.StoredPort());
}

TEST(SocketClientConnect, RefusedConnectClosesItsSocket)
{
    int port = ClosedPort();
    SocketCallSpy spy;
    CPJ_WSClient client;
    Stopwatch watch;
    EXPECT_EQ(3, client.Connect(port, "127.0.0.1", AF_INET, SOCK_STREAM));
    EXPECT_LT(watch.ElapsedMs(), 2000);
    EXPECT_EQ(INVALID_SOCKET, client.GetSocket());
    EXPECT_EQ(1, spy.opened.load());
    EXPECT_EQ(1, spy.closed.load());
}

TEST(SocketClientConnect, UnansweredConnectEndsAtTheConnectTimeOut)
{
    HangingPort hanging;
    if (!hanging.IsHanging())
        GTEST_SKIP() << "this system answered every connect to a full listen queue";
    SocketCallSpy spy;
    CPJ_WSClient client;
    client.SetConnectTimeOut(400);
    Stopwatch watch;
    EXPECT_EQ(3, client.Connect(hanging.Port(), "127.0.0.1", AF_INET, SOCK_STREAM));
    EXPECT_GE(watch.ElapsedMs(), 350);
    EXPECT_LT(watch.ElapsedMs(), 1500);
    EXPECT_EQ(spy.opened.load(), spy.closed.load());
}

TEST(SocketClientConnect, AppliesTheStoredTimeOutsToTheNewSocket)
{
    ScriptedPeer peer({Pause(2000)});
    ASSERT_TRUE(peer.Start());
    CPJ_WSClient client;
    ASSERT_EQ(0, client.Connect(peer.Port(), "127.0.0.1", AF_INET, SOCK_STREAM));
    EXPECT_EQ(30000u, SocketTimeOut(client.GetSocket(), SO_RCVTIMEO));
    EXPECT_EQ(30000u, SocketTimeOut(client.GetSocket(), SO_SNDTIMEO));
    client.SetReceiveTimeOut(1234);
    client.SetSendTimeOut(4321);
    EXPECT_EQ(1234u, SocketTimeOut(client.GetSocket(), SO_RCVTIMEO));
    EXPECT_EQ(4321u, SocketTimeOut(client.GetSocket(), SO_SNDTIMEO));

    CPJ_WSClient second;
    second.SetReceiveTimeOut(700);
    ASSERT_EQ(0, second.Connect(peer.Port(), "127.0.0.1", AF_INET, SOCK_STREAM));
    EXPECT_EQ(700u, SocketTimeOut(second.GetSocket(), SO_RCVTIMEO));
}

TEST(SocketClientSend, SendsEveryByteThroughPartialSends)
{
    ScriptedPeer peer({ReadToClose()});
    ASSERT_TRUE(peer.Start());
    std::string text;
    for (int i = 0; text.size() < 100000; ++i)
        text += "line " + std::to_string(i) + "\r\n";
    {
        CPJ_WSClient client;
        ASSERT_EQ(0, client.Connect(peer.Port(), "127.0.0.1", AF_INET, SOCK_STREAM));
        SocketCallSpy spy;
        spy.maxSendBytes = 1000;
        EXPECT_EQ(static_cast<int>(text.size()), client.Send(text.c_str(), static_cast<int>(text.size())));
        EXPECT_GE(spy.sendCalls.load(), 100);
        EXPECT_EQ(5, client.Send("hello", 0)) << "length 0 sends the text's length";
        EXPECT_EQ(0, client.Send("", 0)) << "an empty text sends nothing";
        client.CloseConnection();
    }
    ASSERT_TRUE(peer.WaitUntilServed(1, 5000));
    ASSERT_EQ(1u, peer.Received().size());
    EXPECT_EQ(text + "hello", peer.Received()[0]);
}

TEST(SocketClientSend, FailsOnAClosedClientOrAResetPeer)
{
    CPJ_WSClient closed;
    EXPECT_EQ(SOCKET_ERROR, closed.Send("text", 0));

    ScriptedPeer peer({Reset()});
    ASSERT_TRUE(peer.Start());
    CPJ_WSClient client;
    ASSERT_EQ(0, client.Connect(peer.Port(), "127.0.0.1", AF_INET, SOCK_STREAM));
    Sleep(200);
    std::string block(65536, 'x');
    int result = 0;
    for (int i = 0; i < 50 && result != SOCKET_ERROR; ++i)
        result = client.Send(block.c_str(), static_cast<int>(block.size()));
    EXPECT_EQ(SOCKET_ERROR, result);
}

TEST(SocketClientWait, WaitForReceiveReportsDataOrTheTimeOut)
{
    ScriptedPeer peer({Pause(400), Send("x"), Pause(2000)});
    ASSERT_TRUE(peer.Start());
    CPJ_WSClient client;
    ASSERT_EQ(0, client.Connect(peer.Port(), "127.0.0.1", AF_INET, SOCK_STREAM));
    Stopwatch watch;
    EXPECT_EQ(1, client.WaitForReceive(0, 100000));
    EXPECT_GE(watch.ElapsedMs(), 90);
    EXPECT_EQ(0, client.WaitForReceive(2, 0));
    EXPECT_LT(watch.ElapsedMs(), 1500);
    EXPECT_EQ(1, CPJ_WSClient().WaitForReceive(0, 0)) << "no socket";
}

TEST(SocketClientState, IsConnectedTellsALivePeerFromOneThatClosedOrReset)
{
    struct Case {
        const char* why;
        Script script;
        int expected;
    };
    const Case kCases[] = {
        {"a live, silent peer", {Pause(3000)}, 1},
        {"a live peer with data waiting", {Send("x"), Pause(3000)}, 1},
        {"a peer that closed in order", {Close()}, 0},
        {"a peer that reset", {Reset()}, 0},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        ScriptedPeer peer(c.script);
        ASSERT_TRUE(peer.Start());
        CPJ_WSClient client;
        ASSERT_EQ(0, client.Connect(peer.Port(), "127.0.0.1", AF_INET, SOCK_STREAM));
        Sleep(300);
        EXPECT_EQ(c.expected, client.IsConnected());
    }
    EXPECT_EQ(0, CPJ_WSClient().IsConnected()) << "no socket";
}

TEST(SocketClientStartUp, CleansUpOnlyAfterASuccessfulStartUp)
{
    SocketCallSpy spy;
    {
        CPJ_WSClient started;
        spy.failStartup = true;
        CPJ_WSClient failed;
        spy.failStartup = false;
    }
    EXPECT_EQ(1, spy.startups.load());
    EXPECT_EQ(1, spy.cleanups.load());
}

namespace {

int PlainStatus(int value)
{
    return value + 100;
}

int StatusWithData(int value, UINT_PTR userData)
{
    return value + static_cast<int>(userData);
}

} // namespace

TEST(SocketClientHooks, StatusHooksPreferThePlainCallbackThenTheOneWithData)
{
    CPJ_WSClient client;
    EXPECT_EQ(1, client.OnReceiveStatus(5));
    EXPECT_EQ(1, client.OnSendStatus(5));
    client.m_receiveStatusCallbackWithData = StatusWithData;
    client.m_receiveStatusUserData = 1000;
    client.m_sendStatusCallbackWithData = StatusWithData;
    client.m_sendStatusUserData = 2000;
    EXPECT_EQ(1005, client.OnReceiveStatus(5));
    EXPECT_EQ(2005, client.OnSendStatus(5));
    client.m_receiveStatusCallback = PlainStatus;
    client.m_sendStatusCallback = PlainStatus;
    EXPECT_EQ(105, client.OnReceiveStatus(5));
    EXPECT_EQ(105, client.OnSendStatus(5));
}
