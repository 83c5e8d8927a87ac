// Clients on several threads at once (the banner's worker and the UI thread each
// fetch with their own object), and WinSock start-up shared between objects.
#include "net/iHTTPClient.h"

#include "http_test_support.h"
#include "net_test_support.h"
#include "tests/net/servers/http_server_test_support.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

using namespace net_test;

TEST(ClientThreads, TwoObjectsOnTwoThreadsFetchAtOnce)
{
    HttpServer server;
    std::string bodyA, bodyB;
    for (int i = 0; i < 2000; ++i) {
        bodyA += "A line " + std::to_string(i) + "\r\n";
        bodyB += "B line " + std::to_string(i) + "\r\n";
    }
    // Each reply waits a little, so that the two fetches overlap.
    server.Route("/a", {Send("HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n"), Pause(200), Send(bodyA), Close()});
    server.Route("/b", {Send("HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n"), Pause(200), Send(bodyB), Close()});
    ASSERT_TRUE(server.Start());
    for (int round = 0; round < 5; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        int resultA = -1;
        int resultB = -1;
        std::string gotA, gotB;
        std::thread worker([&] {
            TestHttpClient client(server.Port());
            resultA = client.Get("http://127.0.0.1/a");
            gotA = client.Body();
        });
        {
            TestHttpClient client(server.Port());
            resultB = client.Get("http://localhost/b");
            gotB = client.Body();
        }
        worker.join();
        EXPECT_EQ(0, resultA);
        EXPECT_EQ(0, resultB);
        EXPECT_EQ(bodyA, gotA);
        EXPECT_EQ(bodyB, gotB);
    }
}

// WinSock counts start-ups per process: a client that cleaned up a start-up it never had,
// or one twice, would take away another's. The spy passes the calls on and counts them, and
// the test holds a start-up of its own, which must still be counted when every client
// and the server have gone (the server's own start-up would hide a lost one before that).
TEST(ClientThreads, ClientsComingAndGoingLeaveWinSockToTheOthers)
{
    WSADATA data = {};
    ASSERT_EQ(0, WSAStartup(MAKEWORD(2, 2), &data));
    {
        SocketCallSpy spy;
        {
            HttpServer server;
            server.Route("/", TextReply("text/html", "still here\r\n"));
            ASSERT_TRUE(server.Start());
            TestHttpClient survivor(server.Port());
            std::thread worker([&] {
                for (int i = 0; i < 3; ++i) {
                    TestHttpClient shortLived(server.Port());
                    EXPECT_EQ(0, shortLived.Get("http://127.0.0.1/"));
                }
            });
            worker.join();
            spy.failStartup = true;
            { TestHttpClient withoutWinSock(server.Port()); }
            spy.failStartup = false;
            EXPECT_EQ(0, survivor.Get("http://127.0.0.1/"));
            EXPECT_EQ("still here\r\n", survivor.Body());
        }
        EXPECT_EQ(4, spy.startups.load()) << "the survivor and three short-lived clients";
        EXPECT_EQ(spy.startups.load(), spy.cleanups.load()) << "one clean-up for each start-up, none for the failed one";
    }
    EXPECT_EQ(0, WSACleanup()) << "the test's own start-up is still counted";
}
