// iHTTPClient: the library's HTTP fetch in two calls, Get and then GetBody, over
// CPJ_HTTPClient. One object serves one request; construct it, Get, and only when Get
// answered 0 take the body.
#pragma once

#include "net/HttpClient.h"

#include "lib/src/iString.h"

class iHTTPClient : public CPJ_HTTPClient {
public:
    // The whole of a fetch made on a thread that runs windows (connect, request, every
    // reply line and the body): 3 s. Windows counts a window as not responding once it
    // has not taken its messages for 5 s; the bound stays well inside that, with room
    // for the name look-up, which no bound reaches. A small reply from a sound server
    // takes a fraction of it even over a slow link (a connect and a reply are two or
    // three round trips).
    static constexpr int kUserInterfaceExchangeMs = 3000;

    iHTTPClient();
    ~iHTTPClient() override;

    // Fetches the URL from a copy of its own (the caller's text keeps its backslashes):
    // 0, or a result of GetUrl; a URL of 16384 characters or more is refused with 3.
    int Get(const char* url);
    // The body as received, lines joined; empty unless the last Get answered 0.
    void GetBody(iString& body);

private:
    int m_lastResult;
};
