// HTTP client: reading the reply. Status and header lines come through the line
// receiver, which leaves every byte after a line in the socket; the body is read in
// large blocks and split into the same lines in memory, since each socket call is
// costly (under Wine it costs more than splitting a whole block).
#include "net/HttpClient.h"

#include "net/HttpReplyFields.h"
#include "net/LineSplitter.h"

#include <vector>

namespace {

// Large blocks: each socket call costs more under Wine than splitting the block does.
constexpr int kBodyBlockBytes = 256 * 1024;

} // namespace

const char* CPJ_HTTPClient::GetContentTypeLine()
{
    for (int i = 0; i < m_responseHeaders.GetCount(); ++i) {
        const char* line = m_responseHeaders.GetString(i);
        if (HasHeaderName(line, "Content-Type"))
            return line;
    }
    return "";
}

int CPJ_HTTPClient::ReadReply(bool testContentType)
{
    std::vector<char> line(kLineBufferBytes);
    unsigned long long received = 0;
    bool headersEnded = false;
    for (;;) {
        int got = ReceiveLinePiece(line.data(), kLineBufferBytes, m_lineWaitMs, false);
        if (WasInterrupted())
            return CloseWith(kOverBound);
        received += static_cast<unsigned>(got > 0 ? got : 0);
        if (received > m_maxReplyBytes)
            return CloseWith(kOverBound);
        if (got < 3) {
            headersEnded = got == 2 && line[0] == '\r' && line[1] == '\n';
            break;
        }
        StripCRLF(line.data());
        if (!m_responseHeaders.AddString(line.data()))
            return CloseWith(kOverBound);
    }
    // Headers cut off by a close or by silence are not a reply.
    if (!headersEnded)
        return CloseWith(kIncomplete);
    int status = 0;
    if (!ReadStatusCode(m_responseHeaders.GetString(0), &status) || status < 200 || status > 299)
        return CloseWith(kBadStatus);
    if (testContentType && !IsTextContentType(GetContentTypeLine()))
        return CloseWith(kNotText);

    bool hasLength = false;
    unsigned long long contentLength = 0;
    for (int i = 1; i < m_responseHeaders.GetCount() && !hasLength; ++i) {
        const char* header = m_responseHeaders.GetString(i);
        if (HasHeaderName(header, "Content-Length"))
            hasLength = ReadContentLength(header, &contentLength);
    }
    if (hasLength && contentLength > m_maxReplyBytes - received)
        return CloseWith(kOverBound);
    return CloseWith(ReadBody(hasLength, contentLength, received));
}

// The body ends when the server closes or stays silent for a line wait; with a
// Content-Length it ends when that many bytes have come, and fewer is an incomplete
// reply. The lines are those the line receiver would give: a line cut by silence is
// kept as it stands, and what comes after it starts a new line.
int CPJ_HTTPClient::ReadBody(bool hasLength, unsigned long long contentLength, unsigned long long received)
{
    const SocketCalls& calls = ActiveSocketCalls();
    // Receive first and wait only when nothing has come: a body that streams in costs
    // one call per block. The connection closes after the body, blocking or not.
    if (SetNonBlocking(1) != 0)
        return kIncomplete;
    LineSplitter splitter(static_cast<size_t>(kLineBufferBytes - 1));
    std::vector<char> block(kBodyBlockBytes);
    unsigned long long remaining = contentLength;
    int result = kOk;
    while (!(hasLength && remaining == 0)) {
        if (IsPastDeadlineOrCancelled()) {
            result = kOverBound;
            break;
        }
        int want = kBodyBlockBytes;
        if (hasLength && remaining < static_cast<unsigned long long>(want))
            want = static_cast<int>(remaining);
        int got = calls.recv(m_socket, block.data(), want, 0);
        if (got == SOCKET_ERROR && calls.lastError() == WSAEWOULDBLOCK) {
            WaitResult wait = WaitFor(Readiness::Readable, m_lineWaitMs);
            if (wait == WaitResult::Ready)
                continue;
            if (wait == WaitResult::TimedOut && splitter.HasPending()) {
                splitter.Flush(m_bodyLines);
                continue;
            }
            if (wait == WaitResult::Interrupted)
                result = kOverBound;
            else if (wait == WaitResult::Failed)
                result = kIncomplete;
            break;
        }
        if (got == 0)
            break;
        // A reset may have cut the body anywhere.
        if (got < 0) {
            result = kIncomplete;
            break;
        }
        received += static_cast<unsigned>(got);
        if (received > m_maxReplyBytes || !splitter.Feed(block.data(), static_cast<size_t>(got), m_bodyLines)) {
            result = kOverBound;
            break;
        }
        remaining -= hasLength ? static_cast<unsigned>(got) : 0;
    }
    splitter.Flush(m_bodyLines);
    if (result == kOk && hasLength && remaining > 0)
        result = kIncomplete;
    return result;
}
