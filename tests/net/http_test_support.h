// An HTTP client for tests: aimed at a loopback server's port with short bounds, with
// its reply lines as strings (exact bytes) and the fields a test checks made visible.
#pragma once

#include "net/iHTTPClient.h"

#include <cstring>
#include <string>
#include <vector>

namespace net_test {

class TestHttpClient : public iHTTPClient {
public:
    explicit TestHttpClient(int port, int lineWaitMs = 1000)
    {
        SetPort(port);
        SetLineWaitTimeOut(lineWaitMs);
        SetConnectTimeOut(2000);
        SetExchangeTimeOut(15000);
    }

    std::vector<std::string> HeaderLines()
    {
        std::vector<std::string> lines;
        for (int i = 0; i < GetHeaderLineCount(); ++i)
            lines.push_back(GetHeaderLine(i));
        return lines;
    }
    std::vector<std::string> BodyLines()
    {
        std::vector<std::string> lines;
        for (int i = 0; i < m_bodyLines.GetCount(); ++i)
            lines.emplace_back(m_bodyLines.GetString(i), static_cast<size_t>(m_bodyLines.GetLength(i)));
        return lines;
    }
    std::string Body()
    {
        iString body;
        GetBody(body);
        return std::string(static_cast<const char*>(body), static_cast<size_t>(body.GetLength()));
    }
    void UseProxy(const char* address)
    {
        m_isProxy = 1;
        strcpy(m_proxyAddress, address);
    }
    const char* HostName() const { return m_hostName; }
    const char* HostAddress() const { return m_hostAddress; }
    int RequestHeaderCount() const { return m_requestHeaders.GetCount(); }
};

} // namespace net_test
