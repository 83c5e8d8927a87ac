// Where the maker's web server is: the one host and port that the banner, the help
// address and the send-to-friend form talk to. The built-in host is a name under the
// reserved ".invalid" domain, so a build contacts nobody until the maker's host is
// filled in here. SORVANTA_WEB_ENDPOINT ("host" or "host:port"), read once when the
// endpoint is first asked for, points the program at another server (tests,
// demonstrations); a text that is no such endpoint is ignored.
#pragma once

#include <string>

constexpr char kWebEndpointVariable[] = "SORVANTA_WEB_ENDPOINT";
constexpr char kDefaultWebHost[] = "www.sorvanta.invalid";
constexpr int kDefaultWebPort = 80;

// A value, copied freely between threads.
struct WebEndpoint {
    static constexpr int kHostChars = 256;
    char host[kHostChars];
    int port;
};

// The endpoint in force.
WebEndpoint GetWebEndpoint();
// The built-in endpoint, or the one SORVANTA_WEB_ENDPOINT names now.
WebEndpoint ReadWebEndpointFromEnvironment();
// Replaces the endpoint for the rest of the run (a test's loopback server); returns the
// one it replaces.
WebEndpoint SetWebEndpoint(const WebEndpoint& endpoint);

// The product's web help: "http://host/help/", with ":port" after the host when the
// endpoint's port is not 80.
std::string WebHelpAddress(const WebEndpoint& endpoint);

// Reads "host" (port 80) or "host:port": the host made of letters, digits, "-" and ".",
// at most 255 characters, the port 1 to 65535 in decimal. False for anything else, and
// then the endpoint is left as it was.
[[nodiscard]] bool ParseWebEndpoint(const char* text, WebEndpoint& endpoint);
