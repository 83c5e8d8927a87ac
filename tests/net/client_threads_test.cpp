// Clients on several threads at once (the banner's worker and the UI thread each
// fetch with their own object), and WinSock start-up shared between objects.
#include "net/iHTTPClient.h"

#include "http_test_support.h"
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

TEST(ClientThreads, DestroyingOneClientLeavesAnotherWorking)
{
    HttpServer server;
    server.Route("/", TextReply("text/html", "still here\r\n"));
    ASSERT_TRUE(server.Start());
    TestHttpClient survivor(server.Port());
    for (int i = 0; i < 3; ++i) {
        TestHttpClient shortLived(server.Port());
        EXPECT_EQ(0, shortLived.Get("http://127.0.0.1/"));
    }
    EXPECT_EQ(0, survivor.Get("http://127.0.0.1/"));
    EXPECT_EQ("still here\r\n", survivor.Body());
}
