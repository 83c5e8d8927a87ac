// iHTTPClient: the library's HTTP fetch in two calls, Get and then GetBody, over
// CPJ_HTTPClient. One object serves one request; construct it, Get, and only when Get
// answered 0 take the body.
#pragma once

#include "net/HttpClient.h"

#include "lib/src/iString.h"

class iHTTPClient : public CPJ_HTTPClient {
public:
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
