// The web endpoint: the texts the environment may give, and the built-in endpoint that
// stays when the text is no endpoint.
#include "app/WebEndpoint.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace web_endpoint_test {
namespace {

TEST(WebEndpoint, ReadsHostAndPortAndRefusesAnythingElse)
{
    const std::string longest(255, 'a');
    struct Case {
        const char* why;
        std::string text;
        bool isEndpoint;
        std::string host;
        int port;
    };
    const Case cases[] = {
        {"loopback with a port", "127.0.0.1:8123", true, "127.0.0.1", 8123},
        {"a name alone takes port 80", "localhost", true, "localhost", 80},
        {"a name with dashes", "www.my-host.invalid:65535", true, "www.my-host.invalid", 65535},
        {"the longest host", longest, true, longest, 80},
        {"empty", "", false, "", 0},
        {"a port without a host", ":8080", false, "", 0},
        {"a colon without a port", "localhost:", false, "", 0},
        {"port 0", "localhost:0", false, "", 0},
        {"a port past 65535", "localhost:65536", false, "", 0},
        {"six digits that would overflow a 16-bit port", "localhost:100080", false, "", 0},
        {"letters after the port", "localhost:80x", false, "", 0},
        {"a URL, not a host", "http://localhost/", false, "", 0},
        {"a blank in the host", "local host", false, "", 0},
        {"a host one character too long", longest + "a", false, "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        WebEndpoint endpoint = {"untouched", 42};
        ASSERT_EQ(c.isEndpoint, ParseWebEndpoint(c.text.c_str(), endpoint));
        EXPECT_EQ(c.isEndpoint ? c.host : "untouched", endpoint.host);
        EXPECT_EQ(c.isEndpoint ? c.port : 42, endpoint.port);
    }
    WebEndpoint endpoint = {"untouched", 42};
    EXPECT_FALSE(ParseWebEndpoint(nullptr, endpoint));
}

TEST(WebEndpoint, EnvironmentOverridesTheBuiltInHostOnlyWithAnEndpoint)
{
    struct Case {
        const char* why;
        const char* value;  // null: the variable is not set
        const char* host;
        int port;
    };
    const Case cases[] = {
        {"not set", nullptr, kDefaultWebHost, kDefaultWebPort},
        {"a loopback server", "127.0.0.1:18080", "127.0.0.1", 18080},
        {"no endpoint", "127.0.0.1:port", kDefaultWebHost, kDefaultWebPort},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        ASSERT_TRUE(SetEnvironmentVariableA(kWebEndpointVariable, c.value));
        const WebEndpoint endpoint = ReadWebEndpointFromEnvironment();
        EXPECT_STREQ(c.host, endpoint.host);
        EXPECT_EQ(c.port, endpoint.port);
    }
    SetEnvironmentVariableA(kWebEndpointVariable, nullptr);
    EXPECT_NE(nullptr, strstr(kDefaultWebHost, ".invalid")) << "a build contacts nobody until a real host is set";
}

TEST(WebEndpoint, ReplacedForTheRestOfTheRun)
{
    const WebEndpoint loopback = {"127.0.0.1", 18081};
    const WebEndpoint previous = SetWebEndpoint(loopback);
    EXPECT_STREQ("127.0.0.1", GetWebEndpoint().host);
    EXPECT_EQ(18081, GetWebEndpoint().port);
    const WebEndpoint replaced = SetWebEndpoint(previous);
    EXPECT_STREQ("127.0.0.1", replaced.host);
    EXPECT_STREQ(previous.host, GetWebEndpoint().host);
}


TEST(WebEndpoint, HelpAddressIsOnTheEndpointsHostWithItsPortUnlessThatIs80)
{
    EXPECT_EQ("http://www.sorvanta.invalid/help/", WebHelpAddress({"www.sorvanta.invalid", 80}));
    EXPECT_EQ("http://127.0.0.1:8123/help/", WebHelpAddress({"127.0.0.1", 8123}));
}

} // namespace
} // namespace web_endpoint_test
