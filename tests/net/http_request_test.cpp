// The HTTP client's request: the exact bytes sent for each kind of URL, the URLs it
// refuses before sending anything, URL splitting and host look-up, request headers
// over two requests on one object, and the proxy mode's request lines.
#include "net/iHTTPClient.h"

#include "http_test_support.h"
#include "net_test_support.h"
#include "tests/net/servers/http_server_test_support.h"

#include <gtest/gtest.h>

#include <string>

using namespace net_test;

namespace {

// A server that answers every path with a short page.
class AnsweringServer : public ::testing::Test {
protected:
    void SetUp() override
    {
        server.SetFallback([](const std::string&, Script& script) {
            script = TextReply("text/html", "<p>ok</p>\r\n");
            return true;
        });
        ASSERT_TRUE(server.Start());
    }
    HttpServer server;
};

std::string Request(const std::string& requestLine, const std::string& host)
{
    return requestLine + "\r\nHost: " + host + "\r\n\r\n";
}

} // namespace

TEST_F(AnsweringServer, SendsTheRequestEachUrlCallsFor)
{
    struct Case {
        const char* why;
        std::string url;
        std::string request;
    };
    const Case kCases[] = {
        {"scheme and host only", "http://127.0.0.1", Request("GET / HTTP/1.0", "127.0.0.1")},
        {"no scheme: the first field is the host", "127.0.0.1/page.html", Request("GET /page.html HTTP/1.0", "127.0.0.1")},
        {"backslashes become slashes", "http:\\\\127.0.0.1\\dir\\page.html",
         Request("GET /dir/page.html HTTP/1.0", "127.0.0.1")},
        {"a query stays in the path", "http://127.0.0.1/find?q=a%20b&n=2",
         Request("GET /find?q=a%20b&n=2 HTTP/1.0", "127.0.0.1")},
        {"a query straight after the host", "http://127.0.0.1?q=1", Request("GET /?q=1 HTTP/1.0", "127.0.0.1")},
        {"an asterisk ends the path", "http://127.0.0.1/page*rest", Request("GET /page HTTP/1.0", "127.0.0.1")},
        {"a host name", "http://localhost/info.xml", Request("GET /info.xml HTTP/1.0", "localhost")},
        {"the host's text also in the scheme", "localhost://localhost/x", Request("GET /x HTTP/1.0", "localhost")},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        size_t before = server.Requests().size();
        TestHttpClient client(server.Port());
        std::string url = c.url;
        EXPECT_EQ(0, client.Get(url.c_str()));
        EXPECT_EQ(c.url, url) << "the caller's text is not changed";
        std::vector<std::string> requests = server.Requests();
        ASSERT_EQ(before + 1, requests.size());
        EXPECT_EQ(c.request, requests.back());
        EXPECT_EQ("<p>ok</p>\r\n", client.Body());
    }
}

TEST_F(AnsweringServer, RefusesBadUrlsBeforeSendingAnything)
{
    const std::string longPath(16383 - 16, 'p');
    struct Case {
        const char* why;
        std::string url;
    };
    const Case kCases[] = {
        {"a port in the URL", "http://127.0.0.1:8080/x"},
        {"CR LF would add a header line", "http://127.0.0.1/a\r\nX-Injected: 1"},
        {"a blank would break the request line", "http://127.0.0.1/a b"},
        {"a tab", "http://127.0.0.1/a\tb"},
        {"DEL", "http://127.0.0.1/a\x7f"},
        {"no host field", "http://"},
        {"empty", ""},
        {"a host that is not found", "http://nowhere.invalid/x"},
        {"16384 characters do not fit the copy", "http://127.0.0.1/" + longPath},
        {"fits the copy, but its request line would pass 16383 bytes",
         "127.0.0.1/" + std::string(16383 - 10, 'p')},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        TestHttpClient client(server.Port());
        EXPECT_EQ(3, client.Get(c.url.c_str()));
    }
    TestHttpClient client(server.Port());
    EXPECT_EQ(3, client.Get(nullptr));
    EXPECT_EQ(0, server.AcceptedCount());
}

TEST_F(AnsweringServer, SendsTheLongestUrlThatFits)
{
    // 16 characters of scheme and host, then a path to make 16383 characters: the
    // request line is 16382 bytes long.
    std::string url = "http://127.0.0.1/" + std::string(16383 - 17, 'p');
    ASSERT_EQ(16383u, url.size());
    TestHttpClient client(server.Port());
    EXPECT_EQ(0, client.Get(url.c_str()));
    ASSERT_EQ(1u, server.Requests().size());
    EXPECT_EQ(Request("GET " + url.substr(16) + " HTTP/1.0", "127.0.0.1"), server.Requests()[0]);
}

TEST_F(AnsweringServer, SecondRequestOnOneObjectSendsOneHostHeaderAndTheCallersHeaders)
{
    TestHttpClient client(server.Port());
    EXPECT_EQ(1, client.AddRequestHeader("Accept: text/html"));
    client.AddRequestHeader("X-Kept: 1\r\n");
    client.AddRequestHeader("X-Lf: 2\n");
    EXPECT_EQ(0, client.Get("http://127.0.0.1/first"));
    EXPECT_EQ(0, client.Get("http://localhost/second"));
    std::vector<std::string> requests = server.Requests();
    ASSERT_EQ(2u, requests.size());
    EXPECT_EQ("GET /first HTTP/1.0\r\nAccept: text/html\r\nX-Kept: 1\r\nX-Lf: 2\nHost: 127.0.0.1\r\n\r\n", requests[0]);
    EXPECT_EQ("GET /second HTTP/1.0\r\nAccept: text/html\r\nX-Kept: 1\r\nX-Lf: 2\nHost: localhost\r\n\r\n",
              requests[1]);
    EXPECT_EQ(3, client.RequestHeaderCount());
}

TEST(HttpUrl, SplitUrlFindsHostAndPath)
{
    struct Case {
        const char* why;
        const char* url;
        int pathSize;
        int result;
        const char* host;
        const char* path;
    };
    const Case kCases[] = {
        {"scheme, host, path and query", "http://127.0.0.1/a/b?c=d", 64, 0, "127.0.0.1", "/a/b?c=d"},
        {"host alone: empty path", "127.0.0.1", 64, 0, "127.0.0.1", ""},
        {"the path after the host field, not after the scheme", "127.0.0.1://127.0.0.1/x", 64, 0, "127.0.0.1", "/x"},
        {"a path that does not fit", "http://127.0.0.1/abcd", 5, 4, "127.0.0.1", ""},
        {"a path that just fits", "http://127.0.0.1/abc", 5, 0, "127.0.0.1", "/abc"},
        {"a host that is not found", "http://nowhere.invalid/x", 64, 2, "nowhere.invalid", "/x"},
        {"a host of 256 characters is no host, and no host is found", nullptr, 64, 3, "", ""},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        TestHttpClient client(80);
        std::string url = c.url ? c.url : "http://" + std::string(256, 'h') + "/x";
        char path[64] = "old";
        EXPECT_EQ(c.result, client.SplitUrl(&url[0], path, c.pathSize));
        EXPECT_STREQ(c.host, client.HostName());
        EXPECT_STREQ(c.path, path);
    }
}

TEST(HttpUrl, SetHostLooksUpOnlyWhenTheHostChangesOrWasNotFound)
{
    SocketCallSpy spy;
    TestHttpClient client(80);
    EXPECT_EQ(0, client.SetHost("localhost"));
    EXPECT_STREQ("127.0.0.1", client.HostAddress());
    EXPECT_EQ(0, client.SetHost("localhost"));
    EXPECT_EQ(1, spy.lookUps.load()) << "the same host keeps its address";
    EXPECT_EQ(2, client.SetHost("nowhere.invalid"));
    EXPECT_STREQ("", client.HostAddress());
    EXPECT_EQ(2, client.SetHost("nowhere.invalid")) << "a host not found is never taken for found";
    EXPECT_EQ(3, spy.lookUps.load());
    EXPECT_EQ(1, client.SetHost(std::string(256, 'h').c_str()));
    EXPECT_STREQ("nowhere.invalid", client.HostName()) << "a name too long is not stored";
}

TEST_F(AnsweringServer, ProxyModeNamesTheWholeUrlInTheRequestLine)
{
    struct Case {
        const char* why;
        std::string url;
        const char* callerHost; // a Host header of the caller's, or null
        std::string request;
    };
    const std::string port = std::to_string(server.Port());
    const Case kCases[] = {
        {"http URL: as it is, with the URL's host", "http://localhost/x", nullptr,
         "GET http://localhost/x HTTP/1.0\r\nHost: localhost\r\n\r\n"},
        {"scheme in capitals", "HTTP://localhost/x", nullptr, "GET HTTP://localhost/x HTTP/1.0\r\nHost: localhost\r\n\r\n"},
        {"ftp URL: as it is", "ftp://localhost/f", nullptr, "GET ftp://localhost/f HTTP/1.0\r\nHost: localhost\r\n\r\n"},
        {"ftp host: the scheme is added", "ftp.example/f", "Host: named\r\n",
         "GET ftp://ftp.example/f HTTP/1.0\r\nHost: named\r\n\r\n"},
        {"two slashes: as it is", "//example/x", "Host: named\r\n", "GET //example/x HTTP/1.0\r\nHost: named\r\n\r\n"},
        {"one slash: the proxy's own address and port", "/local", "Host: named\r\n",
         "GET http://127.0.0.1:" + port + "/local HTTP/1.0\r\nHost: named\r\n\r\n"},
        {"anything else: http is added", "example/x", "Host: named\r\n",
         "GET http://example/x HTTP/1.0\r\nHost: named\r\n\r\n"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        size_t before = server.Requests().size();
        TestHttpClient client(server.Port());
        client.UseProxy("127.0.0.1");
        if (c.callerHost)
            client.AddRequestHeader(c.callerHost);
        std::string url = c.url;
        EXPECT_EQ(0, client.GetUrl(&url[0]));
        std::vector<std::string> requests = server.Requests();
        ASSERT_EQ(before + 1, requests.size());
        EXPECT_EQ(c.request, requests.back());
        EXPECT_EQ(c.callerHost ? 1 : 0, client.RequestHeaderCount());
    }
}

TEST_F(AnsweringServer, ProxyModeRefusesWhatItCannotSendWhole)
{
    TestHttpClient client(server.Port());
    client.UseProxy("127.0.0.1");
    client.AddRequestHeader("Host: named");
    // "GET ", the URL and " HTTP/1.0" CR LF: a URL of 16369 characters makes 16384 bytes.
    std::string tooLong = "http://x/" + std::string(16369 - 9, 'p');
    EXPECT_EQ(3, client.GetUrlThroughProxy(tooLong.c_str()));
    EXPECT_EQ(3, client.GetUrlThroughProxy(nullptr));
    EXPECT_EQ(3, client.GetUrlThroughProxy("http://x/a b"));
    EXPECT_EQ(0, server.AcceptedCount());
}
