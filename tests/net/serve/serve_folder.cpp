// Serves a folder over HTTP/1.0 on loopback, for trying the program's web features
// against local pages: serve_folder <folder> [port] [seconds] [--form-omits KEY]. Prints
// the address it listens on (port 0 or none: an ephemeral port), logs each request, and
// runs until killed or until the seconds have passed. It also plays the maker's form
// script "/cgi-bin/SendToFriend.cgi": the decoded query is logged and echoed back as a
// page, as the real script confirms a sent message; --form-omits leaves one key's value
// out of the echo, as a script that lost it would.
#include "tests/net/servers/http_server_test_support.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

std::string ContentTypeOf(const std::string& path)
{
    static const struct {
        const char* extension;
        const char* type;
    } kTypes[] = {
        {".html", "text/html"}, {".htm", "text/html"}, {".xml", "text/xml"}, {".txt", "text/plain"},
        {".gif", "image/gif"},  {".jpg", "image/jpeg"}, {".png", "image/png"}, {".css", "text/css"},
    };
    for (const auto& entry : kTypes) {
        std::string extension = entry.extension;
        if (path.size() >= extension.size() &&
            _stricmp(path.c_str() + path.size() - extension.size(), extension.c_str()) == 0)
            return entry.type;
    }
    return "application/octet-stream";
}

// The file a request path names inside the folder; false for a path that could leave it.
bool FileForPath(const std::string& folder, std::string path, std::string& file)
{
    size_t query = path.find('?');
    if (query != std::string::npos)
        path.erase(query);
    if (path.empty() || path[0] != '/' || path.find("..") != std::string::npos || path.find(':') != std::string::npos ||
        path.find('\\') != std::string::npos)
        return false;
    if (path == "/")
        path = "/index.html";
    file = folder + path;
    return true;
}

constexpr char kFormScript[] = "/cgi-bin/SendToFriend.cgi";

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// "%XX" and "+" as a form's query writes them.
std::string DecodeQueryValue(const std::string& text)
{
    std::string decoded;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 && HexValue(text[i + 2]) >= 0) {
            decoded += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
            i += 2;
        } else {
            decoded += text[i] == '+' ? ' ' : text[i];
        }
    }
    return decoded;
}

// The query's keys and decoded values in their order.
std::vector<std::pair<std::string, std::string>> QueryFields(const std::string& path)
{
    std::vector<std::pair<std::string, std::string>> fields;
    const size_t query = path.find('?');
    if (query == std::string::npos)
        return fields;
    std::istringstream pairs(path.substr(query + 1));
    std::string pair;
    while (std::getline(pairs, pair, '&')) {
        const size_t equals = pair.find('=');
        if (equals != std::string::npos)
            fields.emplace_back(pair.substr(0, equals), DecodeQueryValue(pair.substr(equals + 1)));
    }
    return fields;
}

// The form script's page: each decoded value on a line of its own, the omitted key's left out.
net_test::Script FormReply(const std::string& path, const std::string& omitted)
{
    std::string body = "<HTML><BODY><P>Your recommendation was sent:</P>\n";
    for (const auto& field : QueryFields(path)) {
        printf("FORM %s=%s\n", field.first.c_str(), field.second.c_str());
        if (field.first != omitted)
            body += "<P>" + field.first + ": " + field.second + "</P>\n";
    }
    body += "</BODY></HTML>\n";
    return net_test::TextReply("text/html", body);
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> positional;
    std::string omitted;
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--form-omits" && i + 1 < argc)
            omitted = argv[++i];
        else
            positional.push_back(argv[i]);
    }
    if (positional.empty()) {
        fprintf(stderr, "usage: serve_folder <folder> [port] [seconds] [--form-omits KEY]\n");
        return 2;
    }
    std::string folder = positional[0];
    int port = positional.size() > 1 ? atoi(positional[1].c_str()) : 0;
    int seconds = positional.size() > 2 ? atoi(positional[2].c_str()) : 0;

    net_test::HttpServer server;
    server.SetFallback([folder, omitted](const std::string& path, net_test::Script& script) {
        if (path.compare(0, strlen(kFormScript), kFormScript) == 0) {
            printf("GET %s -> form script\n", path.c_str());
            script = FormReply(path, omitted);
            fflush(stdout);
            return true;
        }
        std::string file;
        std::ifstream in;
        if (FileForPath(folder, path, file))
            in.open(file, std::ios::binary);
        if (!in) {
            printf("GET %s -> 404\n", path.c_str());
            fflush(stdout);
            return false;
        }
        std::ostringstream body;
        body << in.rdbuf();
        std::string bytes = body.str();
        printf("GET %s -> 200, %u bytes\n", path.c_str(), static_cast<unsigned>(bytes.size()));
        fflush(stdout);
        script = net_test::Reply("HTTP/1.0 200 OK",
                                 "Content-Type: " + ContentTypeOf(file) + "\r\nContent-Length: " +
                                     std::to_string(bytes.size()) + "\r\n",
                                 bytes);
        return true;
    });
    if (!server.Start(port)) {
        fprintf(stderr, "cannot listen on 127.0.0.1:%d\n", port);
        return 1;
    }
    printf("Serving %s on http://127.0.0.1:%d/\n", folder.c_str(), server.Port());
    fflush(stdout);
    if (seconds > 0)
        Sleep(static_cast<DWORD>(seconds) * 1000);
    else
        Sleep(INFINITE);
    server.Stop();
    return 0;
}
