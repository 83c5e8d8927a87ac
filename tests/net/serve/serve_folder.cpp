// Serves a folder over HTTP/1.0 on loopback, for trying the program's web features
// against local pages: serve_folder <folder> [port] [seconds]. Prints the address it
// listens on (port 0 or none: an ephemeral port), logs each request, and runs until
// killed or until the seconds have passed.
#include "tests/net/servers/http_server_test_support.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

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

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: serve_folder <folder> [port] [seconds]\n");
        return 2;
    }
    std::string folder = argv[1];
    int port = argc > 2 ? atoi(argv[2]) : 0;
    int seconds = argc > 3 ? atoi(argv[3]) : 0;

    net_test::HttpServer server;
    server.SetFallback([folder](const std::string& path, net_test::Script& script) {
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
