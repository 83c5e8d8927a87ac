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
    for (;;) {
        LineStop stop = LineStop::Closed;
        int got = ReceiveLinePiece(line.data(), kLineBufferBytes, m_lineWaitMs, false, &stop);
        if (WasInterrupted())
            return CloseWith(kOverBound);
        received += static_cast<unsigned>(got > 0 ? got : 0);
        if (received > m_maxReplyBytes)
            return CloseWith(kOverBound);
        // A header line is never split: a piece of an overlong line could read as a
        // header of its own ("Content-Type: ..." at the start of the second piece).
        if (stop == LineStop::Full)
            return CloseWith(kBadReply);
        // Headers cut off by a close or by silence, even in the middle of a line, are not a reply.
        if (stop != LineStop::Ended)
            return CloseWith(kIncomplete);
        // The empty line ends the headers.
        if (got == 2)
            break;
        StripCRLF(line.data());
        if (!m_responseHeaders.AddString(line.data()))
            return CloseWith(kOverBound);
    }
    int status = 0;
    if (!ReadStatusCode(m_responseHeaders.GetString(0), &status) || status < 200 || status > 299)
        return CloseWith(kBadStatus);
    if (testContentType && !IsTextContentType(GetContentTypeLine()))
        return CloseWith(kNotText);

    bool hasLength = false;
    unsigned long long contentLength = 0;
    const int framing = ReadFraming(&hasLength, &contentLength);
    if (framing != kOk)
        return CloseWith(framing);
    if (hasLength && contentLength > m_maxReplyBytes - received)
        return CloseWith(kOverBound);
    return CloseWith(ReadBody(hasLength, contentLength, received));
}

// An HTTP/1.0 body runs to the close, or to its Content-Length. A length that cannot be
// read, or two that differ, leave the body's end unknown; a chunked body would pass its
// chunk sizes on as page text. Either is refused rather than guessed.
int CPJ_HTTPClient::ReadFraming(bool* hasLength, unsigned long long* contentLength)
{
    for (int i = 1; i < m_responseHeaders.GetCount(); ++i) {
        const char* header = m_responseHeaders.GetString(i);
        if (HasHeaderName(header, "Transfer-Encoding") && !IsIdentityEncoding(header))
            return kBadReply;
        if (!HasHeaderName(header, "Content-Length"))
            continue;
        unsigned long long length = 0;
        if (!ReadContentLength(header, &length) || (*hasLength && length != *contentLength))
            return kBadReply;
        *hasLength = true;
        *contentLength = length;
    }
    return kOk;
}

// The body ends when the server closes in order or stays silent for a line wait; with
// a Content-Length it ends when that many bytes have come, and fewer is an incomplete
// reply, as is a body ended by a reset. The lines are those the line receiver would give: a line cut by silence is
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
        // The end of a body without a length is the server's close; a reset may have
        // cut it anywhere.
        if (got == 0) {
            if (!hasLength && !PeerClosedInOrder())
                result = kIncomplete;
            break;
        }
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
