// The HTTP body is read in blocks and split in memory; the lines must be exactly those
// the socket line receiver gives for the same bytes arriving the same way.
#include "net/SocketClient.h"

#include "http_test_support.h"
#include "tests/net/servers/http_server_test_support.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using namespace net_test;

namespace {

// The body as arrivals: pieces sent apart.
Script Arrivals(const std::vector<std::string>& pieces)
{
    Script script;
    for (size_t i = 0; i < pieces.size(); ++i) {
        if (i > 0)
            script.push_back(Pause(15));
        script.push_back(Send(pieces[i]));
    }
    script.push_back(Close());
    return script;
}

std::vector<std::string> ThroughLineReceiver(const std::vector<std::string>& pieces)
{
    ScriptedPeer peer(Arrivals(pieces));
    EXPECT_TRUE(peer.Start());
    CPJ_WSClient client;
    EXPECT_EQ(0, client.Connect(peer.Port(), "127.0.0.1", AF_INET, SOCK_STREAM));
    std::vector<char> buffer(16384);
    std::vector<std::string> lines;
    for (int got; (got = client.ReceiveLine(buffer.data(), 16384, 2)) > 0;)
        lines.emplace_back(buffer.data(), static_cast<size_t>(got));
    return lines;
}

std::vector<std::string> ThroughHttpBody(const std::vector<std::string>& pieces)
{
    std::vector<std::string> withHeaders = pieces;
    withHeaders.insert(withHeaders.begin(), "HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n");
    HttpServer server;
    server.Route("/", Arrivals(withHeaders));
    EXPECT_TRUE(server.Start());
    TestHttpClient client(server.Port(), 2000);
    EXPECT_EQ(0, client.Get("http://127.0.0.1/"));
    return client.BodyLines();
}

} // namespace

TEST(BodyPaths, BlockReaderGivesTheLineReceiversLines)
{
    const std::string piece(16382, 'p');
    std::vector<std::vector<std::string>> corpus = {
        {"one\r\ntwo\r\n", "three\r\n"},
        {"abc\r", "\nxyz\r\n"},
        {"abc\r", "Xyz\r\n", "bare\nLF\r\n"},
        {std::string("nul\0inside\r\n", 12), "\xFF\xFE\r\n"},
        {piece + "\r\nafter\r\n"},
        {piece, "\r", "\nafter\r\n"},
        {piece + "q\r\n"},
        {std::string(40000, 'w') + "\r\nend"},
        {"no line end at all"},
        {"\r\n\r\n", "\r", "\r", "\n"},
    };
    // Random bodies over a small alphabet, split at random points.
    std::mt19937 random(31337);
    const char kAlphabet[] = {'a', '\r', '\n', '\0', '\r', '\n'};
    for (int i = 0; i < 12; ++i) {
        std::string bytes(static_cast<size_t>(1 + random() % 6000), 'a');
        for (char& c : bytes)
            c = kAlphabet[random() % sizeof(kAlphabet)];
        std::vector<std::string> pieces;
        for (size_t at = 0; at < bytes.size();) {
            size_t length = 1 + random() % 3000;
            pieces.push_back(bytes.substr(at, length));
            at += length;
        }
        corpus.push_back(pieces);
    }
    for (size_t i = 0; i < corpus.size(); ++i) {
        SCOPED_TRACE("body " + std::to_string(i));
        std::vector<std::string> expected = ThroughLineReceiver(corpus[i]);
        ASSERT_FALSE(expected.empty());
        EXPECT_EQ(expected, ThroughHttpBody(corpus[i]));
    }
}
