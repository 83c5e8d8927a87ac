// Loopback HTTP/1.0 server: reads a request, records it, plays the path's script.
#include "tests/net/servers/http_server_test_support.h"

namespace net_test {

namespace {

constexpr int kRequestTimeOutMs = 10000;

} // namespace

Script Reply(const std::string& statusLine, const std::string& headers, const std::string& body)
{
    return Script{Send(statusLine + "\r\n" + headers + "\r\n" + body), Close()};
}

Script TextReply(const std::string& contentType, const std::string& body)
{
    return Reply("HTTP/1.0 200 OK",
                 "Content-Type: " + contentType + "\r\nContent-Length: " + std::to_string(body.size()) + "\r\n", body);
}

std::string RequestPath(const std::string& request)
{
    size_t start = request.find(' ');
    if (start == std::string::npos)
        return std::string();
    size_t end = request.find_first_of(" \r\n", start + 1);
    return request.substr(start + 1, end == std::string::npos ? std::string::npos : end - start - 1);
}

HttpServer::HttpServer() = default;

HttpServer::~HttpServer()
{
    Stop();
}

void HttpServer::Route(const std::string& path, Script script)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_routes[path] = std::make_shared<const Script>(std::move(script));
}

void HttpServer::SetFallback(Fallback fallback)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_fallback = std::move(fallback);
}

std::vector<std::string> HttpServer::Requests() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_requests;
}

void HttpServer::Serve(SOCKET connection, int index)
{
    std::string request;
    bool whole = ReadUntilText(connection, "\r\n\r\n", request, kRequestTimeOutMs);
    std::shared_ptr<const Script> script;
    Fallback fallback;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_requests.push_back(request);
        auto found = m_routes.find(RequestPath(request));
        if (found != m_routes.end())
            script = found->second;
        fallback = m_fallback;
    }
    if (!script && whole && fallback) {
        Script made;
        if (fallback(RequestPath(request), made))
            script = std::make_shared<const Script>(std::move(made));
    }
    if (!script)
        script = std::make_shared<const Script>(
            Reply("HTTP/1.0 404 Not Found", "Content-Type: text/html\r\n", "<html><body>Not found</body></html>\r\n"));
    std::string ignored;
    Play(connection, whole ? *script : Script{Close()}, ignored);
}

} // namespace net_test
