// A small HTTP/1.0 server on loopback: answers GET from a table of path -> script
// (usually a status line, headers and body; or any misbehaviour a script can play),
// records each request's raw bytes, and answers 404 for paths it does not know.
#pragma once

#include "tests/net/servers/loopback_listener_test_support.h"

#include <functional>
#include <map>

namespace net_test {

// The script of a plain reply: the status line, the header lines (each ending in
// CR LF), the empty line and the body; then the server closes.
Script Reply(const std::string& statusLine, const std::string& headers, const std::string& body);
// A 200 reply with the content type and a Content-Length.
Script TextReply(const std::string& contentType, const std::string& body);

class HttpServer : public LoopbackListener {
public:
    // Gives the script for a path the table does not hold; null for none (404).
    using Fallback = std::function<bool(const std::string& path, Script& script)>;

    HttpServer();
    ~HttpServer() override;

    // `path` as the request line names it, query included.
    void Route(const std::string& path, Script script);
    void SetFallback(Fallback fallback);
    // Raw bytes of each request, in the order they came.
    std::vector<std::string> Requests() const;

protected:
    void Serve(SOCKET connection, int index) override;

private:
    mutable std::mutex m_mutex;
    std::map<std::string, std::shared_ptr<const Script>> m_routes;
    Fallback m_fallback;
    std::vector<std::string> m_requests;
};

// The path of a request's first line ("GET <path> HTTP/1.0"), or empty.
std::string RequestPath(const std::string& request);

} // namespace net_test
