// CPJ_HTTPClient: fetches one URL with an HTTP/1.0 GET and keeps the reply as lists of
// lines, the status and header lines (without line ends) and the body lines (with
// them). Only textual replies (HTML, plain text, XML) with a 2xx status are taken.
// A fetch is bounded in time and size and can be cancelled; see the result codes.
#pragma once

#include "net/SocketClient.h"
#include "net/StringList.h"

#include <cstddef>

class CPJ_HTTPClient : public CPJ_WSClient {
public:
    // Results of GetUrl.
    enum {
        kOk = 0,
        kConnectFailed = 1,   // refused, timed out, no socket, or a connection already open
        kBadUrl = 3,          // no host, host not found, too long, control characters or blanks
        kSendFailed = 4,      // the request could not be sent
        kNotText = 5,         // no content type, or one other than text/html, text/plain, text/xml
        kBadStatus = 6,       // a status outside 200 to 299, or a status line that cannot be read
        kIncomplete = 7,      // the headers did not end, a header line was cut, the body is shorter than its
                              // Content-Length, or the connection was reset before the body's end
        kOverBound = 8,       // over the time or size bound, or cancelled
        kBadReply = 9,        // a header line over the line limit, a malformed or conflicting Content-Length,
                              // or a Transfer-Encoding (chunked) that this HTTP/1.0 client does not decode
    };
    // The request line and every reply line are built and read in buffers of this size.
    static constexpr int kLineBufferBytes = 16384;

    CPJ_HTTPClient();
    ~CPJ_HTTPClient() override;

    // Fetches the URL (backslashes in it become slashes, in place). Afterwards the lines
    // of the reply are read through the accessors below; after a failure they hold what
    // arrived, for diagnosis.
    int GetUrl(char* url);
    // Splits the URL into host (stored through SetHost) and path: 0, or bit 1 no host
    // field, bit 2 SetHost failed, bit 4 the path does not fit `pathSize`.
    int SplitUrl(char* url, char* path, int pathSize);
    // Stores the host name and its dotted address: 0, 1 name too long, 2 look-up failed.
    int SetHost(const char* name);
    // Appends a request header, adding CR LF when it has no line end. Returns 1.
    int AddRequestHeader(const char* text);
    // Empties the body lines and the reply headers. Returns 0.
    int ClearReceivedData();
    int GetBodyLineCount() const { return m_bodyLines.GetCount(); }
    const char* GetBodyLine(int index) { return m_bodyLines.GetString(index); }
    int GetHeaderLineCount() const { return m_responseHeaders.GetCount(); }
    // Line 0 is the status line.
    const char* GetHeaderLine(int index) { return m_responseHeaders.GetString(index); }
    // The Content-Type header line, or an empty text.
    const char* GetContentTypeLine();
    // GetUrl through the proxy (switched on by the proxy flag).
    int GetUrlThroughProxy(const char* url);

    // The port for the host and the proxy alike (80 at construction).
    void SetPort(int port) { m_serverPort = port; }
    // Bounds of one fetch: from the connect to the last byte (kDefaultExchangeMs at
    // construction), and the bytes of the reply, headers included (64 MB).
    static constexpr int kDefaultExchangeMs = 30000;
    void SetExchangeTimeOut(int ms) { m_exchangeTimeOutMs = ms; }
    void SetMaxReplyBytes(size_t bytes) { m_maxReplyBytes = bytes; }

protected:
    // Whether the URL fits the line buffer and holds no control character, DEL or blank.
    static bool IsSendableUrl(const char* url);

    int m_isProxy;
    char m_proxyAddress[256];
    char m_hostAddress[32];
    char m_hostName[256];
    int m_serverPort;
    CPJStringList m_requestHeaders;
    CPJStringList m_responseHeaders;
    CPJStringList m_bodyLines;
    CPJTagList m_tags;

    int m_exchangeTimeOutMs;
    size_t m_maxReplyBytes;

private:
    int Exchange(const char* address, const char* requestLine, const char* hostHeader, bool testContentType);
    int SendRequest(const char* requestLine, const char* hostHeader);
    int ReadReply(bool testContentType);
    // The body's framing from the reply headers: kOk with the Content-Length when there
    // is one, or kBadReply.
    int ReadFraming(bool* hasLength, unsigned long long* contentLength);
    int ReadBody(bool hasLength, unsigned long long contentLength, unsigned long long received);
    int CloseWith(int result);
};
