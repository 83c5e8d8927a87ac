// The HTTP client's reply: status, content type and completeness decide the result;
// header lines lose their line ends, body lines keep theirs; GetBody joins the body of
// a good reply only. The reply-field readers are checked on their own as well.
#include "net/HttpReplyFields.h"
#include "net/iHTTPClient.h"

#include "http_test_support.h"
#include "net_test_support.h"
#include "tests/net/servers/http_server_test_support.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace net_test;

namespace {

const std::string kStatusOk = "HTTP/1.0 200 OK\r\n";
const std::string kHtml = "Content-Type: text/html\r\n";

} // namespace

TEST(HttpReply, ResultFollowsStatusContentTypeAndCompleteness)
{
    struct Case {
        const char* why;
        Script reply;
        int result;
        std::vector<std::string> headers;
        std::vector<std::string> body;
    };
    const Case kCases[] = {
        {"200 with HTML; body lines keep CR LF, header lines lose theirs",
         {Send(kStatusOk + kHtml + "\r\n<p>one</p>\r\n<p>two</p>\r\n"), Close()},
         0,
         {"HTTP/1.0 200 OK", "Content-Type: text/html"},
         {"<p>one</p>\r\n", "<p>two</p>\r\n"}},
        {"plain text", {Send(kStatusOk + "Content-Type: text/plain\r\n\r\nx\r\n"), Close()}, 0, {}, {"x\r\n"}},
        {"XML", {Send(kStatusOk + "Content-Type: text/xml\r\n\r\n<a/>"), Close()}, 0, {}, {"<a/>"}},
        {"capitals and a charset",
         {Send(kStatusOk + "content-type: TEXT/HTML; charset=utf-8\r\n\r\nx"), Close()},
         0,
         {},
         {"x"}},
        {"no blank after the colon", {Send(kStatusOk + "Content-Type:text/html\r\n\r\nx"), Close()}, 0, {}, {"x"}},
        {"a tab after the colon", {Send(kStatusOk + "Content-Type:\ttext/html\r\n\r\nx"), Close()}, 0, {}, {"x"}},
        {"204 is a success too", {Send("HTTP/1.1 204 No Content\r\n" + kHtml + "\r\n"), Close()}, 0, {}, {}},
        {"an image", {Send(kStatusOk + "Content-Type: image/gif\r\n\r\nGIF89a"), Close()}, 5, {}, {}},
        {"a type that only begins like an accepted one",
         {Send(kStatusOk + "Content-Type: text/htmlx\r\n\r\nx"), Close()},
         5,
         {},
         {}},
        {"no content type", {Send(kStatusOk + "Server: test\r\n\r\nx"), Close()}, 5, {}, {}},
        {"301", {Send("HTTP/1.0 301 Moved\r\nLocation: /x\r\n" + kHtml + "\r\nmoved"), Close()}, 6, {}, {}},
        {"404 with an HTML error page",
         {Send("HTTP/1.0 404 Not Found\r\n" + kHtml + "\r\n<h1>404</h1>"), Close()},
         6,
         {"HTTP/1.0 404 Not Found", "Content-Type: text/html"},
         {}},
        {"500", {Send("HTTP/1.0 500 Internal Server Error\r\n" + kHtml + "\r\nx"), Close()}, 6, {}, {}},
        {"a garbled status line", {Send("HTPT/1.0 200 OK\r\n" + kHtml + "\r\nx"), Close()}, 6, {}, {}},
        {"four status digits", {Send("HTTP/1.0 2000 OK\r\n" + kHtml + "\r\nx"), Close()}, 6, {}, {}},
        {"no status line at all", {Send("\r\n<p>x</p>"), Close()}, 6, {}, {}},
        {"headers cut off by a close", {Send(kStatusOk + kHtml), Close()}, 7, {"HTTP/1.0 200 OK", "Content-Type: text/html"}, {}},
        {"headers cut off by silence", {Send(kStatusOk + kHtml), Pause(3000)}, 7, {}, {}},
        {"nothing at all", {Close()}, 7, {}, {}},
        {"a body shorter than its Content-Length",
         {Send(kStatusOk + kHtml + "Content-Length: 100\r\n\r\nonly this"), Close()},
         7,
         {},
         {"only this"}},
        {"a body cut by silence before its Content-Length",
         {Send(kStatusOk + kHtml + "Content-Length: 100\r\n\r\nonly this"), Pause(4000)},
         7,
         {},
         {}},
        {"a reset in the middle of the body",
         {Send(kStatusOk + kHtml + "Content-Length: 50\r\n\r\npart"), Pause(200), Reset()},
         7,
         {},
         {}},
        {"a body of exactly its Content-Length, the server staying open",
         {Send(kStatusOk + kHtml + "Content-Length: 11\r\n\r\nline one\r\nX"), Pause(4000)},
         0,
         {},
         {"line one\r\n", "X"}},
        {"bytes past the Content-Length are not body",
         {Send(kStatusOk + kHtml + "Content-Length: 5\r\n\r\nabcdeEXTRA"), Close()},
         0,
         {},
         {"abcde"}},
        {"without a Content-Length the close ends the body",
         {Send(kStatusOk + kHtml + "\r\nfirst\r\nlast without line end"), Close()},
         0,
         {},
         {"first\r\n", "last without line end"}},
        {"a header line cut by silence is not taken as a header",
         {Send(kStatusOk + "Content-Type: text/ht"), Pause(800), Send("ml\r\n\r\nbody"), Close()},
         7,
         {},
         {}},
        {"a Transfer-Encoding of identity is no coding", {Send(kStatusOk + kHtml + "Transfer-Encoding: Identity\r\n\r\nbody"), Close()},
         0,
         {},
         {"body"}},
        {"the same Content-Length twice",
         {Send(kStatusOk + kHtml + "Content-Length: 4\r\nContent-Length: 4\r\n\r\nbodyEXTRA"), Close()},
         0,
         {},
         {"body"}},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        HttpServer server;
        server.Route("/page", c.reply);
        ASSERT_TRUE(server.Start());
        TestHttpClient client(server.Port(), 500);
        Stopwatch watch;
        EXPECT_EQ(c.result, client.Get("http://127.0.0.1/page"));
        EXPECT_LT(watch.ElapsedMs(), 2500);
        if (!c.headers.empty()) {
            EXPECT_EQ(c.headers, client.HeaderLines());
        }
        if (c.result == 0 || !c.body.empty()) {
            EXPECT_EQ(c.body, client.BodyLines());
        }
        std::string joined;
        for (const std::string& line : c.body)
            joined += line;
        EXPECT_EQ(c.result == 0 ? joined : std::string(), client.Body());
    }
}

TEST(HttpReply, FramingThatLeavesTheBodysEndInDoubtIsAReplyError)
{
    // A header line of exactly the line limit with its CR LF (16383 bytes) still fits.
    const std::string fullLine = "X-Pad: " + std::string(16383 - 9, 'p') + "\r\n";
    // One byte more; the piece past the limit would begin with a header of its own.
    const std::string overlong = "X-Pad: " + std::string(16383 - 7, 'p') + "Content-Type: text/html\r\n";
    struct Case {
        const char* why;
        std::string headers;
        std::string body;
        int result;
    };
    const Case kCases[] = {
        {"a chunked body", "Transfer-Encoding: chunked\r\n", "5\r\nhello\r\n0\r\n\r\n", 9},
        {"chunked after another coding, in other case", "transfer-encoding: gzip, CHUNKED\r\n", "5\r\nhello\r\n0\r\n\r\n", 9},
        {"a 23-digit Content-Length", "Content-Length: 99999999999999999999999\r\n", "body", 9},
        {"a negative Content-Length", "Content-Length: -5\r\n", "body", 9},
        {"a Content-Length that is no number", "Content-Length: ten\r\n", "body", 9},
        {"an empty Content-Length", "Content-Length:\r\n", "body", 9},
        {"a list of lengths", "Content-Length: 4, 4\r\n", "body", 9},
        {"two different lengths, the shorter first", "Content-Length: 2\r\nContent-Length: 4\r\n", "body", 9},
        {"a header line over the line limit", overlong, "body", 9},
        {"a header line of exactly the line limit", fullLine, "body", 0},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        HttpServer server;
        server.Route("/page", Reply("HTTP/1.0 200 OK", c.headers + kHtml, c.body));
        ASSERT_TRUE(server.Start());
        TestHttpClient client(server.Port(), 500);
        EXPECT_EQ(c.result, client.Get("http://127.0.0.1/page"));
        EXPECT_EQ(c.result == 0 ? c.body : std::string(), client.Body());
    }
}

TEST(HttpReply, LineCutBySilenceEndsThereAndTheRestStartsANewLine)
{
    HttpServer server;
    server.Route("/", {Send(kStatusOk + kHtml + "\r\nabc"), Pause(700), Send("def\r\n"), Close()});
    ASSERT_TRUE(server.Start());
    TestHttpClient client(server.Port(), 400);
    EXPECT_EQ(0, client.Get("http://127.0.0.1/"));
    EXPECT_EQ((std::vector<std::string>{"abc", "def\r\n"}), client.BodyLines());
}

TEST(HttpReply, GetBodyJoinsTheBodyOfASuccessfulGetOnly)
{
    HttpServer server;
    server.Route("/two", TextReply("text/html", "line one\r\nline two\r\n"));
    server.Route("/missing", Reply("HTTP/1.0 404 Not Found", kHtml, "gone\r\n"));
    ASSERT_TRUE(server.Start());
    TestHttpClient client(server.Port());
    EXPECT_EQ("", client.Body()) << "before any Get";
    ASSERT_EQ(0, client.Get("http://127.0.0.1/two"));
    EXPECT_EQ("line one\r\nline two\r\n", client.Body());
    EXPECT_EQ(6, client.Get("http://127.0.0.1/missing"));
    iString body("left over");
    client.GetBody(body);
    EXPECT_EQ(0, body.GetLength()) << "a failed Get gives no body";
}

TEST(HttpReplyFields, ReadStatusCodeAcceptsOnlyAWellFormedStatusLine)
{
    struct Case {
        const char* line;
        bool readable;
        int code;
    };
    const Case kCases[] = {
        {"HTTP/1.0 200 OK", true, 200},      {"HTTP/1.1 404 Not Found", true, 404}, {"HTTP/1.0 299", true, 299},
        {"HTTP/1.0  302 Found", true, 302},  {"HTTP/1.0 20 OK", false, 0},           {"HTTP/1.0 2000", false, 0},
        {"HTTP/1.0 2x0 OK", false, 0},       {"HTTP/ 200 OK", false, 0},             {"http/1.0 200 OK", false, 0},
        {"HTTP/1.0200 OK", false, 0},        {"HTTP/1 200 OK", false, 0},            {"", false, 0},
        {"<html>", false, 0},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.line);
        int code = 0;
        EXPECT_EQ(c.readable, ReadStatusCode(c.line, &code));
        if (c.readable) {
            EXPECT_EQ(c.code, code);
        }
    }
    int code = 0;
    EXPECT_FALSE(ReadStatusCode(nullptr, &code));
}

TEST(HttpReplyFields, ContentTypeAndLengthAreReadDefensively)
{
    struct TypeCase {
        const char* line;
        bool accepted;
    };
    const TypeCase kTypes[] = {
        {"Content-Type: text/html", true},        {"Content-Type: text/plain; charset=iso-8859-1", true},
        {"Content-Type:text/xml", true},          {"Content-Type: \t TEXT/Html", true},
        {"Content-Type: text/html ;q=1", true},   {"Content-Type: text/css", false},
        {"Content-Type: text/htm", false},        {"Content-Type: application/xml", false},
        {"Content-Type", false},                  {"", false},
    };
    for (const TypeCase& c : kTypes) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(c.accepted, IsTextContentType(c.line));
    }
    struct LengthCase {
        const char* line;
        bool readable;
        unsigned long long length;
    };
    const LengthCase kLengths[] = {
        {"Content-Length: 0", true, 0},          {"Content-Length:12345", true, 12345},
        {"Content-Length: 42  ", true, 42},      {"Content-Length: -1", false, 0},
        {"Content-Length: 12abc", false, 0},     {"Content-Length: ", false, 0},
        {"Content-Length: 99999999999999999999999", false, 0},
    };
    for (const LengthCase& c : kLengths) {
        SCOPED_TRACE(c.line);
        unsigned long long length = 7;
        EXPECT_EQ(c.readable, ReadContentLength(c.line, &length));
        if (c.readable) {
            EXPECT_EQ(c.length, length);
        }
    }
    EXPECT_TRUE(HasHeaderName("content-length: 5", "Content-Length"));
    EXPECT_FALSE(HasHeaderName("Content-Length-X: 5", "Content-Length"));
}
