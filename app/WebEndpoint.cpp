// The web endpoint: built in, or taken once from the environment.
#include "WebEndpoint.h"

#include "lib/src/ReplaceableValue.h"

#include <windows.h>

#include <cstring>

namespace {

[[nodiscard]] bool IsHostChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.';
}

WebEndpoint DefaultEndpoint()
{
    WebEndpoint endpoint = {};
    strcpy(endpoint.host, kDefaultWebHost);
    endpoint.port = kDefaultWebPort;
    return endpoint;
}

// Read from the environment when first asked for.
using EndpointInForce = ReplaceableValue<WebEndpoint, ReadWebEndpointFromEnvironment>;

} // namespace

WebEndpoint ReadWebEndpointFromEnvironment()
{
    WebEndpoint endpoint = DefaultEndpoint();
    char text[WebEndpoint::kHostChars + 8] = {};
    const DWORD length = GetEnvironmentVariableA(kWebEndpointVariable, text, sizeof text);
    if (length == 0)
        return endpoint;
    // A value too long for the buffer answers the size it needs and is no endpoint.
    if (length >= sizeof text || !ParseWebEndpoint(text, endpoint))
        OutputDebugStringA("SORVANTA_WEB_ENDPOINT is not \"host\" or \"host:port\"; the built-in endpoint is used\n");
    return endpoint;
}

WebEndpoint GetWebEndpoint()
{
    return EndpointInForce::Get();
}

WebEndpoint SetWebEndpoint(const WebEndpoint& endpoint)
{
    return EndpointInForce::Replace(endpoint);
}

bool ParseWebEndpoint(const char* text, WebEndpoint& endpoint)
{
    if (!text)
        return false;
    size_t hostLength = 0;
    while (IsHostChar(text[hostLength]))
        ++hostLength;
    if (hostLength == 0 || hostLength >= WebEndpoint::kHostChars)
        return false;
    int port = kDefaultWebPort;
    const char* rest = text + hostLength;
    if (*rest == ':') {
        ++rest;
        port = 0;
        int digits = 0;
        for (; *rest >= '0' && *rest <= '9'; ++rest) {
            // Five digits at most, so the value cannot overflow before the range check.
            if (++digits > 5)
                return false;
            port = port * 10 + (*rest - '0');
        }
        if (digits == 0 || port < 1 || port > 65535)
            return false;
    }
    if (*rest != '\0')
        return false;
    memcpy(endpoint.host, text, hostLength);
    endpoint.host[hostLength] = '\0';
    endpoint.port = port;
    return true;
}

std::string WebHelpAddress(const WebEndpoint& endpoint)
{
    std::string address = std::string("http://") + endpoint.host;
    if (endpoint.port != kDefaultWebPort)
        address += ":" + std::to_string(endpoint.port);
    return address + "/help/";
}
