// iHTTPClient: GET into the line lists, then the body as one string.
#include "net/iHTTPClient.h"

#include <cstring>
#include <vector>

namespace {

// No Get has been made yet.
constexpr int kNoResult = -1;

} // namespace

iHTTPClient::iHTTPClient() : m_lastResult(kNoResult)
{
}

iHTTPClient::~iHTTPClient() = default;

int iHTTPClient::Get(const char* url)
{
    // The copy must hold the URL and its NUL: a longer URL is refused, never cut.
    if (!url || strnlen(url, kLineBufferBytes) >= static_cast<size_t>(kLineBufferBytes)) {
        ClearReceivedData();
        m_lastResult = kBadUrl;
        return m_lastResult;
    }
    std::vector<char> copy(url, url + strlen(url) + 1);
    m_lastResult = GetUrl(copy.data());
    return m_lastResult;
}

void iHTTPClient::GetBody(iString& body)
{
    body.Empty();
    size_t length = m_bodyLines.GetTotalLength();
    if (m_lastResult != kOk || length == 0)
        return;
    // One pass into a buffer of the final size: a body of many lines costs one copy.
    char* out = body.GetBuffer(static_cast<int>(length));
    if (!out)
        return;
    m_bodyLines.CopyAll(out);
    body.ReleaseBuffer(static_cast<int>(length));
}
