// The banner's world for its tests: scratch folders standing in for the program's folder
// and the temporary folder, a clock that stands still until a test moves it, page draws
// from a script, a loopback banner server with "info.xml" and pages, and the real engine.
#pragma once

#include "banner/AffiliateLink.h"
#include "banner/BannerSeam.h"
#include "banner/Cache.h"

#include "database/mGroveFile.h"
#include "database/mGrovePlus.h"

#include "tests/net/servers/http_server_test_support.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace banner_test {

// A folder of its own under the temporary folder, removed with what it holds.
class ScratchFolder {
public:
    explicit ScratchFolder(const char* purpose);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::string& Path() const { return m_path; }
    std::string File(const std::string& name) const { return m_path + "\\" + name; }

private:
    std::string m_path;
};

std::string ReadFileText(const std::string& path);
bool FileExists(const std::string& path);
void WriteFileText(const std::string& path, const std::string& text);

// While it lives, the banner's surroundings are scratch folders, the test's clock and
// draws (any thread may read them); the tick wait is tickMs.
class BannerSurroundings {
public:
    explicit BannerSurroundings(DWORD tickMs = 1000);
    ~BannerSurroundings();
    BannerSurroundings(const BannerSurroundings&) = delete;
    BannerSurroundings& operator=(const BannerSurroundings&) = delete;

    const ScratchFolder& Program() const { return m_program; }
    const ScratchFolder& Temporary() const { return m_temporary; }
    // The program's folder named here instead (a folder that may not exist).
    static void SetProgramFolder(const std::string& path);

    static void SetNow(int64_t seconds);
    static int64_t Now();
    // With `advance`, each reading of the clock moves it a second on: no two pages share a time.
    static void SetAdvancing(bool advance);
    // The next draws; once they are used up, draws count up from 0.
    static void QueueDraws(const std::vector<int>& draws);
    // The bounds of the fetches of workers made from now on: each reply line, and the
    // whole of a worker's fetch.
    static void SetWorkerFetchBounds(int lineWaitMs, int totalMs);

private:
    ScratchFolder m_program{"program"};
    ScratchFolder m_temporary{"temporary"};
    BannerSeam m_previous;
};

// A loopback banner server: "info.xml" and numbered pages from a table, misbehaving on request.
class BannerServer {
public:
    BannerServer();
    int Port() const { return m_server.Port(); }
    void SetInfo(const std::string& xml);
    void SetInfoScript(net_test::Script script);
    void SetPage(long page, const std::string& html);
    void SetPageScript(long page, net_test::Script script);
    // The paths of whole requests, in order (the worker's connection probes left out).
    std::vector<std::string> Paths() const;
    int Count(const std::string& path) const;
    void Stop() { m_server.Stop(); }

    static std::string PagePath(long page);

private:
    net_test::HttpServer m_server;
};

// "info.xml" with the four values.
std::string Description(int page, int duration, int promotion, int refresh);
// A page with a body marker.
std::string PageWithBody(const std::string& body);

// The engine as the program starts it.
std::unique_ptr<mGrovePlus> StartEngine();

// Every record of the set at path, in key 0 order, as bytes.
std::vector<std::vector<unsigned char>> CacheRecords(mGrovePlus* engine, const std::string& path);
// A record written straight into the set at path (made when missing).
void PutRecord(mGrovePlus* engine, const std::string& path, long id, long inserted, long updated,
               const std::string& page, unsigned lengthWord = 0xFFFFFFFF);

} // namespace banner_test
