// HTTP client: URL checks and splitting, host look-up, and sending the GET request.
#include "net/HttpClient.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int kDefaultPort = 80;
constexpr size_t kDefaultMaxReplyBytes = 64u * 1024 * 1024;

} // namespace

CPJ_HTTPClient::CPJ_HTTPClient()
    : m_isProxy(0), m_serverPort(kDefaultPort), m_exchangeTimeOutMs(kDefaultExchangeMs),
      m_maxReplyBytes(kDefaultMaxReplyBytes)
{
    m_proxyAddress[0] = '\0';
    m_hostAddress[0] = '\0';
    m_hostName[0] = '\0';
}

CPJ_HTTPClient::~CPJ_HTTPClient() = default;

// A URL that can go into a request line as it is: it fits the line buffer and holds no
// control character, DEL or blank, any of which would break the request line or add
// header lines of the URL's making. Callers encode their query texts.
bool CPJ_HTTPClient::IsSendableUrl(const char* url)
{
    if (!url)
        return false;
    size_t length = strnlen(url, kLineBufferBytes);
    if (length >= static_cast<size_t>(kLineBufferBytes))
        return false;
    for (size_t i = 0; i < length; ++i) {
        unsigned char c = static_cast<unsigned char>(url[i]);
        if (c <= 0x20 || c == 0x7F)
            return false;
    }
    return true;
}

int CPJ_HTTPClient::GetUrl(char* url)
{
    if (m_isProxy)
        return GetUrlThroughProxy(url);
    ClearReceivedData();
    if (!IsSendableUrl(url))
        return kBadUrl;
    std::vector<char> path(kLineBufferBytes);
    if (SplitUrl(url, path.data(), kLineBufferBytes) != 0)
        return kBadUrl;
    // A request line that does not fit is refused whole, never cut.
    std::vector<char> requestLine(kLineBufferBytes);
    int length = snprintf(requestLine.data(), requestLine.size(), "GET %s%s HTTP/1.0\r\n",
                          path[0] == '/' ? "" : "/", path.data());
    if (length < 0 || length >= kLineBufferBytes)
        return kBadUrl;
    std::string hostHeader = std::string("Host: ") + m_hostName;
    return Exchange(m_hostAddress, requestLine.data(), hostHeader.c_str(), true);
}

int CPJ_HTTPClient::Exchange(const char* address, const char* requestLine, const char* hostHeader,
                             bool testContentType)
{
    ClearInterrupted();
    SetDeadline(GetTickCount64() + static_cast<ULONGLONG>(m_exchangeTimeOutMs > 0 ? m_exchangeTimeOutMs : 0));
    int result = kOk;
    if (Connect(m_serverPort, address, AF_INET, SOCK_STREAM) != 0)
        result = WasInterrupted() ? kOverBound : kConnectFailed;
    else if ((result = SendRequest(requestLine, hostHeader)) != kOk)
        result = CloseWith(WasInterrupted() ? kOverBound : result);
    else
        result = ReadReply(testContentType);
    SetDeadline(0);
    return result;
}

int CPJ_HTTPClient::SendRequest(const char* requestLine, const char* hostHeader)
{
    // The Host header goes last and leaves the list when the request is built, so that a
    // second request on this object does not send the first one's as well.
    if (hostHeader)
        AddRequestHeader(hostHeader);
    std::string request = requestLine;
    for (int i = 0; i < m_requestHeaders.GetCount(); ++i)
        request += m_requestHeaders.GetString(i);
    if (hostHeader)
        m_requestHeaders.RemoveLast();
    request += "\r\n";
    // One send for the whole request: each socket call is costly under Wine.
    return Send(request.data(), static_cast<int>(request.size())) > 0 ? kOk : kSendFailed;
}

int CPJ_HTTPClient::CloseWith(int result)
{
    CloseConnection();
    return result;
}

int CPJ_HTTPClient::SplitUrl(char* url, char* path, int pathSize)
{
    if (path && pathSize > 0)
        path[0] = '\0';
    if (!url)
        return 1;
    for (char* p = url; *p; ++p) {
        if (*p == '\\')
            *p = '/';
    }
    int errors = 0;
    // The host is the field after the scheme (when there is one), ended by a slash or
    // a question mark; at most 255 characters.
    char host[256] = "";
    const char* hostStart = nullptr;
    size_t hostLength = 0;
    if (!FindField(url, "/?", strstr(url, "://") ? 1 : 0, &hostStart, &hostLength) || hostLength >= sizeof(host)) {
        hostStart = nullptr;
        errors |= 1;
    } else {
        memcpy(host, hostStart, hostLength);
        host[hostLength] = '\0';
    }
    if (SetHost(host) != 0)
        errors |= 2;
    // The path follows the host field itself (not the first place its text occurs,
    // which may lie in the scheme) and ends at an asterisk.
    const char* pathStart = nullptr;
    size_t pathLength = 0;
    if (hostStart && FindField(hostStart + hostLength, "*", 0, &pathStart, &pathLength)) {
        if (!path || pathLength >= static_cast<size_t>(pathSize)) {
            errors |= 4;
        } else {
            memcpy(path, pathStart, pathLength);
            path[pathLength] = '\0';
        }
    }
    return errors;
}

int CPJ_HTTPClient::SetHost(const char* name)
{
    if (!name)
        return 1;
    // The same host again keeps its address, if its look-up had found one.
    if (strcmp(name, m_hostName) == 0 && m_hostAddress[0])
        return 0;
    size_t length = strnlen(name, sizeof(m_hostName));
    if (length >= sizeof(m_hostName))
        return 1;
    memcpy(m_hostName, name, length + 1);
    m_hostAddress[0] = '\0';
    if (IsIPAddress(name) && length >= sizeof(m_hostAddress))
        return 1;
    return GetAddressFromName(name, m_hostAddress, sizeof(m_hostAddress));
}

int CPJ_HTTPClient::AddRequestHeader(const char* text)
{
    std::string header = text ? text : "";
    size_t length = header.size();
    bool hasLineEnd = (length >= 1 && header[length - 1] == '\n') || (length >= 2 && header[length - 2] == '\r');
    if (!hasLineEnd)
        header += "\r\n";
    return m_requestHeaders.AddString(header.c_str());
}

int CPJ_HTTPClient::ClearReceivedData()
{
    m_bodyLines.ClearList();
    m_responseHeaders.ClearList();
    return 0;
}
