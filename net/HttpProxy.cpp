// HTTP client: the proxy mode, in which the request line names the whole URL and the
// connection goes to the proxy. Lines are built and read with the direct mode's bounds.
#include "net/HttpClient.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

bool StartsWithNoCase(const char* text, const char* prefix)
{
    return _strnicmp(text, prefix, strlen(prefix)) == 0;
}

} // namespace

int CPJ_HTTPClient::GetUrlThroughProxy(const char* url)
{
    ClearReceivedData();
    if (!IsSendableUrl(url))
        return kBadUrl;
    std::vector<char> requestLine(kLineBufferBytes);
    int length;
    if (StartsWithNoCase(url, "ftp://") || StartsWithNoCase(url, "http://") || strncmp(url, "//", 2) == 0)
        length = snprintf(requestLine.data(), requestLine.size(), "GET %s HTTP/1.0\r\n", url);
    else if (StartsWithNoCase(url, "ftp."))
        length = snprintf(requestLine.data(), requestLine.size(), "GET ftp://%s HTTP/1.0\r\n", url);
    else if (url[0] == '/')
        length = snprintf(requestLine.data(), requestLine.size(), "GET http://%s:%d%s HTTP/1.0\r\n", m_proxyAddress,
                          m_serverPort, url);
    else
        length = snprintf(requestLine.data(), requestLine.size(), "GET http://%s HTTP/1.0\r\n", url);
    if (length < 0 || length >= kLineBufferBytes)
        return kBadUrl;

    // A Host header of the caller's stands; otherwise the URL's host is named.
    std::string hostHeader;
    bool callerNamedHost = false;
    for (int i = 0; i < m_requestHeaders.GetCount() && !callerNamedHost; ++i)
        callerNamedHost = strstr(m_requestHeaders.GetString(i), "Host: ") != nullptr;
    if (!callerNamedHost) {
        // Split a copy: the caller's URL stays as it is. Only the host name is wanted here.
        std::vector<char> copy(url, url + strlen(url) + 1);
        std::vector<char> path(kLineBufferBytes);
        (void)SplitUrl(copy.data(), path.data(), kLineBufferBytes);
        hostHeader = std::string("Host: ") + m_hostName + "\r\n";
    }
    return Exchange(m_proxyAddress, requestLine.data(), callerNamedHost ? nullptr : hostHeader.c_str(), false);
}
