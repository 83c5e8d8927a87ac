// The banner's world for its tests.
#include "banner_world_test_support.h"

#include "database/iDBDefinition.h"
#include "database/iDBLock.h"

#include <atomic>
#include <cstdio>
#include <deque>
#include <fstream>
#include <mutex>
#include <sstream>

namespace banner_test {

namespace {

std::mutex g_worldMutex;
std::string g_programFolder;
std::string g_temporaryFolder;
std::atomic<int64_t> g_now{1700000000};
std::atomic<bool> g_advancing{false};
std::deque<int> g_draws;
int g_nextCountedDraw = 0;

iString TestProgramFolder()
{
    std::lock_guard<std::mutex> lock(g_worldMutex);
    return g_programFolder.c_str();
}

iString TestTemporaryFolder()
{
    std::lock_guard<std::mutex> lock(g_worldMutex);
    return (g_temporaryFolder + "\\").c_str();
}

int64_t TestClock()
{
    return g_advancing ? g_now.fetch_add(1) : g_now.load();
}

void NoSeed(unsigned) {}

int TestDraw()
{
    std::lock_guard<std::mutex> lock(g_worldMutex);
    if (g_draws.empty())
        return g_nextCountedDraw++;
    const int draw = g_draws.front();
    g_draws.pop_front();
    return draw;
}

void RemoveTree(const std::string& path)
{
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((path + "\\*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            const std::string full = path + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(full);
            else
                DeleteFileA(full.c_str());
        } while (FindNextFileA(find, &found));
        FindClose(find);
    }
    RemoveDirectoryA(path.c_str());
}

} // namespace

ScratchFolder::ScratchFolder(const char* purpose)
{
    static std::atomic<int> counter{0};
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    char name[MAX_PATH];
    snprintf(name, sizeof name, "%ssorvanta-banner-%s-%lu-%d", temp, purpose, GetCurrentProcessId(), counter++);
    m_path = name;
    RemoveTree(m_path);
    CreateDirectoryA(m_path.c_str(), nullptr);
}

ScratchFolder::~ScratchFolder()
{
    RemoveTree(m_path);
}

std::string ReadFileText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool FileExists(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void WriteFileText(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

BannerSurroundings::BannerSurroundings(DWORD tickMs)
{
    {
        std::lock_guard<std::mutex> lock(g_worldMutex);
        g_programFolder = m_program.Path();
        g_temporaryFolder = m_temporary.Path();
        g_draws.clear();
        g_nextCountedDraw = 0;
    }
    g_now = 1700000000;
    g_advancing = false;
    BannerSeam seam = DefaultBannerSeam();
    seam.moduleDirectory = TestProgramFolder;
    seam.tempDirectory = TestTemporaryFolder;
    seam.now = TestClock;
    seam.tickMs = tickMs;
    seam.seedRandom = NoSeed;
    seam.random = TestDraw;
    m_previous = SetBannerSeam(seam);
}

void BannerSurroundings::SetWorkerFetchBounds(int lineWaitMs, int totalMs)
{
    BannerSeam seam = GetBannerSeam();
    seam.fetchLineWaitMs = lineWaitMs;
    seam.workerFetchMs = totalMs;
    SetBannerSeam(seam);
}

BannerSurroundings::~BannerSurroundings()
{
    SetBannerSeam(m_previous);
}

void BannerSurroundings::SetProgramFolder(const std::string& path)
{
    std::lock_guard<std::mutex> lock(g_worldMutex);
    g_programFolder = path;
}

void BannerSurroundings::SetNow(int64_t seconds)
{
    g_now = seconds;
}

int64_t BannerSurroundings::Now()
{
    return g_now.load();
}

void BannerSurroundings::SetAdvancing(bool advance)
{
    g_advancing = advance;
}

void BannerSurroundings::QueueDraws(const std::vector<int>& draws)
{
    std::lock_guard<std::mutex> lock(g_worldMutex);
    g_draws.insert(g_draws.end(), draws.begin(), draws.end());
}

BannerServer::BannerServer()
{
    EXPECT_TRUE(m_server.Start());
}

void BannerServer::SetInfo(const std::string& xml)
{
    m_server.Route("/info.xml", net_test::TextReply("text/xml", xml));
}

void BannerServer::SetInfoScript(net_test::Script script)
{
    m_server.Route("/info.xml", std::move(script));
}

void BannerServer::SetPage(long page, const std::string& html)
{
    m_server.Route(PagePath(page), net_test::TextReply("text/html", html));
}

void BannerServer::SetPageScript(long page, net_test::Script script)
{
    m_server.Route(PagePath(page), std::move(script));
}

std::vector<std::string> BannerServer::Paths() const
{
    std::vector<std::string> paths;
    for (const std::string& request : m_server.Requests()) {
        if (!request.empty())
            paths.push_back(net_test::RequestPath(request));
    }
    return paths;
}

int BannerServer::Count(const std::string& path) const
{
    int count = 0;
    for (const std::string& one : Paths())
        count += one == path;
    return count;
}

std::string BannerServer::PagePath(long page)
{
    char path[32];
    snprintf(path, sizeof path, "/%04ld.html", page);
    return path;
}

std::string Description(int page, int duration, int promotion, int refresh)
{
    char xml[256];
    snprintf(xml, sizeof xml,
             "<Banner><Page value=\"%d\"/><Duration value=\"%d\"/><Promotion value=\"%d\"/>"
             "<Refresh value=\"%d\"/></Banner>",
             page, duration, promotion, refresh);
    return xml;
}

std::string PageWithBody(const std::string& body)
{
    return "<HTML><BODY bgcolor=\"white\">" + body + "</BODY></HTML>";
}

std::unique_ptr<mGrovePlus> StartEngine()
{
    return std::make_unique<mGrovePlus>(16, 16, 32);
}

std::vector<std::vector<unsigned char>> CacheRecords(mGrovePlus* engine, const std::string& path)
{
    std::vector<std::vector<unsigned char>> records;
    ScopedDatabaseLock lock;
    mGroveFile file(engine, "", path.c_str(), 0, Cache::kSize);
    EXPECT_TRUE(file.IsOpen()) << path;
    Cache record;
    for (int answer = file.First(record.Bytes(), Cache::kKeyId); answer == 0; answer = file.Next(record.Bytes()))
        records.emplace_back(record.Bytes(), record.Bytes() + Cache::kSize);
    return records;
}

void PutRecord(mGrovePlus* engine, const std::string& path, long id, long inserted, long updated,
               const std::string& page, unsigned lengthWord)
{
    ScopedDatabaseLock lock;
    auto file = std::make_unique<mGroveFile>(engine, "", path.c_str(), 0, Cache::kSize);
    Cache record;
    if (!file->IsOpen()) {
        iDBDefinition definition;
        definition.Build(&record);
        ASSERT_EQ(0, engine->CreateFileSet(&definition, path.c_str(), 0));
        file = std::make_unique<mGroveFile>(engine, "", path.c_str(), 0, Cache::kSize);
        ASSERT_TRUE(file->IsOpen());
    }
    record.Reset(id);
    const bool found = file->FindEqual(record.Bytes(), Cache::kKeyId) == 0;
    record.Reset(id);
    record.m_insert = inserted;
    record.m_update = updated;
    ASSERT_TRUE(record.SetPage(page.c_str(), static_cast<unsigned>(page.size())));
    if (lengthWord != 0xFFFFFFFF) {
        // A length word no page of this program has: a corrupt or foreign file.
        record.Bytes()[12] = static_cast<unsigned char>(lengthWord & 0xFF);
        record.Bytes()[13] = static_cast<unsigned char>(lengthWord >> 8);
    }
    ASSERT_EQ(0, found ? file->Rewrite(record.Bytes(), Cache::kSize) : file->Add(record.Bytes(), Cache::kSize));
}

} // namespace banner_test
