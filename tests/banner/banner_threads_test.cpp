// The strip and its worker on their two threads: pages handed to the strip's own thread,
// the strip destroyed in the middle of a fetch, the history read while the worker writes
// the cache, and many starts and stops.
#include "banner_test_support.h"
#include "banner_world_test_support.h"

#include "banner/BannerPages.h"
#include "banner/CacheFrameWnd.h"
#include "banner/NavigateToPath.h"

#include "database/iDBLock.h"

#include "net/iHTTPClient.h"

#include "framework/window_test_support.h"

#include <gtest/gtest.h>
#include <tlhelp32.h>

#include <atomic>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

// The file's own namespace keeps its names apart from the files compiled with it.
namespace banner_threads_test {
using banner_test::BannerServer;
using banner_test::BannerSurroundings;
using banner_test::Description;
using banner_test::PageWithBody;

namespace {

const CRect kStripRect(5, 365, 473, 427);

// A strip that notes each page it is told to show: on which thread, which file, and what
// the file held at that moment.
class RecordingStrip : public AffiliateLink {
public:
    RecordingStrip(CWnd* parent) : AffiliateLink(parent, kStripRect, WS_CHILD | WS_VISIBLE, "127.0.0.1", 0xFFFF) {}

    struct Request {
        DWORD thread;
        std::string path;
        std::string text;
        bool navigated;
    };
    std::vector<Request> requests;

    void NavigateToPage(const char* path) override
    {
        requests.push_back({GetCurrentThreadId(), path, banner_test::ReadFileText(path), NavigateToPath(*this, path)});
    }
};

// Runs the thread's messages until done() or the time is over.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    while (!done()) {
        if (GetTickCount64() > end)
            return false;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(5);
    }
    return true;
}

int ThreadCount()
{
    int count = 0;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        count += entry.th32OwnerProcessID == GetCurrentProcessId();
    CloseHandle(snapshot);
    return count;
}

// Wine answers 0 for the process's handle count: the open handles are counted one by one.
int HandleCount()
{
    int open = 0;
    for (ULONG_PTR value = 4; value < 0x8000; value += 4) {
        DWORD flags = 0;
        open += GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags) ? 1 : 0;
    }
    return open;
}

// Checks that every key of the cache lists every record once and every record is whole.
void ExpectConsistentCache(mGrovePlus* engine, const std::string& path, long pages)
{
    ScopedDatabaseLock lock;
    mGroveFile file(engine, "", path.c_str(), 0, Cache::kSize);
    ASSERT_TRUE(file.IsOpen());
    const long count = file.GetRecordCount();
    EXPECT_GT(count, 0);
    EXPECT_LE(count, pages);
    for (int key = 0; key < 3; ++key) {
        SCOPED_TRACE("key " + std::to_string(key));
        EXPECT_EQ(count, file.GetKeyEntryCount(key));
        Cache record;
        std::set<long> ids;
        long walked = 0;
        for (int answer = file.First(record.Bytes(), key); answer == 0; answer = file.Next(record.Bytes())) {
            ++walked;
            const char* text = nullptr;
            unsigned length = 0;
            EXPECT_TRUE(record.GetPage(text, length));
            EXPECT_EQ(PageWithBody("page " + std::to_string(record.m_id.Value())), std::string(text, length));
            EXPECT_TRUE(ids.insert(record.m_id.Value()).second);
        }
        EXPECT_EQ(count, walked);
    }
}

// Engine deletions, noting whether the worker's thread had ended and no file of the
// worker was left on the engine when it went.
class WatchedEngine : public mGrovePlus {
public:
    explicit WatchedEngine(HANDLE worker) : mGrovePlus(16, 16, 32), m_worker(worker) {}
    ~WatchedEngine() override
    {
        s_workerEndedFirst = WaitForSingleObject(m_worker, 0) == WAIT_OBJECT_0;
        s_noFilesLeft = GetFirstFile() == nullptr;
    }
    void Watch(HANDLE worker) { m_worker = worker; }
    static inline bool s_workerEndedFirst = false;
    static inline bool s_noFilesLeft = false;

private:
    HANDLE m_worker;
};

// The thread that last seeded the banner's generator, and how many seeds there were.
std::atomic<DWORD> g_seededOn{0};
std::atomic<int> g_seeds{0};

void RecordSeed(unsigned)
{
    g_seededOn = GetCurrentThreadId();
    ++g_seeds;
}

class BannerThreadsTest : public test_support::OwnerWindowTest {
protected:
    void ServeFivePages(int duration)
    {
        m_server.SetInfo(Description(5, duration, -1, 3600));
        for (long page = 0; page < 5; ++page)
            m_server.SetPage(page, PageWithBody("page " + std::to_string(page)));
    }
    std::string CachePath() const { return m_world.Program().File("Cache.dat"); }

    BannerSurroundings m_world{20};
    BannerServer m_server;
};

} // namespace

TEST_F(BannerThreadsTest, PagesAreShownOnTheStripsOwnThread)
{
    ServeFivePages(0);
    auto engine = banner_test::StartEngine();
    auto strip = std::make_unique<RecordingStrip>(&owner);
    strip->Start("127.0.0.1", engine.get(), m_server.Port());
    ASSERT_NE(nullptr, strip->GetThread());
    EXPECT_NE(GetCurrentThreadId(), strip->GetThread()->m_nThreadID);
    ASSERT_TRUE(PumpUntil([&] { return strip->requests.size() >= 3; }, 10000));
    const std::string page = strip->GetThread()->GetTemporaryPagePath();
    const std::string mark = static_cast<const char*>(MakeMarkOfTheWeb(MakeBannerOrigin("127.0.0.1", m_server.Port())));
    for (const RecordingStrip::Request& request : strip->requests) {
        EXPECT_EQ(GetCurrentThreadId(), request.thread);
        EXPECT_EQ(page, request.path);
        EXPECT_EQ(0u, request.text.find(mark + "<HTML><BODY")) << request.text;
        EXPECT_FALSE(request.navigated) << "containment is off here: the strip has no browser to navigate";
    }
    EXPECT_TRUE(strip->StopAndWait());
    strip.reset();
    engine.reset();
}

// The C runtime keeps a generator per thread: a seed given on the strip's thread would leave
// the worker's generator unseeded, and every run would show the pages in the same order.
TEST_F(BannerThreadsTest, TheWorkerSeedsItsOwnGeneratorOnce)
{
    ServeFivePages(0);
    BannerSeam seam = GetBannerSeam();
    seam.seedRandom = RecordSeed;
    SetBannerSeam(seam);
    g_seededOn = 0;
    g_seeds = 0;
    auto strip = std::make_unique<RecordingStrip>(&owner);
    strip->Start("127.0.0.1", nullptr, m_server.Port());
    ASSERT_NE(nullptr, strip->GetThread());
    const DWORD worker = strip->GetThread()->m_nThreadID;
    ASSERT_TRUE(PumpUntil([&] { return strip->requests.size() >= 2; }, 10000));
    EXPECT_TRUE(strip->StopAndWait());
    EXPECT_EQ(1, g_seeds.load());
    EXPECT_EQ(worker, g_seededOn.load()) << "the test's thread is " << GetCurrentThreadId();
}

// Start runs on the program's window thread: a description server that trickles or says
// nothing holds it for the bound of that thread's fetches (3 s), after which the banner
// starts with its own settings as it does without a server.
TEST_F(BannerThreadsTest, StartWaitsForAHostileDescriptionServerNoLongerThanItsBound)
{
    const std::string description = "HTTP/1.0 200 OK\r\nContent-Type: text/xml\r\n\r\n" + Description(5, 0, -1, 3600);
    struct Case {
        const char* why;
        net_test::Script reply;
    };
    const Case cases[] = {
        {"a byte every 200 ms", {net_test::Trickle(description, 200), net_test::Close()}},
        {"takes the connection and says nothing", {net_test::Pause(60000), net_test::Close()}},
    };
    const BannerSettings defaults;
    auto engine = banner_test::StartEngine();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        m_server.SetInfoScript(c.reply);
        auto strip = std::make_unique<RecordingStrip>(&owner);
        const ULONGLONG started = GetTickCount64();
        strip->Start("127.0.0.1", engine.get(), m_server.Port());
        const ULONGLONG tookMs = GetTickCount64() - started;
        EXPECT_GE(tookMs, static_cast<ULONGLONG>(iHTTPClient::kUserInterfaceExchangeMs - 100));
        // The margin is for a loaded machine; the client's own waits are 5 s a line, 30 s a fetch.
        EXPECT_LT(tookMs, static_cast<ULONGLONG>(iHTTPClient::kUserInterfaceExchangeMs + 1500));
        ASSERT_NE(nullptr, strip->GetThread());
        EXPECT_EQ(defaults.page, strip->GetThread()->GetSettings().page);
        EXPECT_EQ(defaults.duration, strip->GetThread()->GetSettings().duration);
        EXPECT_TRUE(PumpUntil([&] { return !strip->requests.empty(); }, 10000)) << "the worker showed its first page";
        EXPECT_TRUE(strip->StopAndWait());
    }
}

TEST_F(BannerThreadsTest, StripDestroyedDuringAFetchWaitsForItsWorkerBeforeTheEngineGoes)
{
    ServeFivePages(0);
    // Every page is held back by the server for far longer than the strip waits.
    for (long page = 0; page < 5; ++page)
        m_server.SetPageScript(page, {net_test::Pause(60000), net_test::Close()});
    auto engine = std::make_unique<WatchedEngine>(nullptr);
    auto strip = std::make_unique<RecordingStrip>(&owner);
    strip->Start("127.0.0.1", engine.get(), m_server.Port());
    ASSERT_TRUE(PumpUntil(
        [&] {
            for (const std::string& path : m_server.Paths())
                if (path != "/info.xml")
                    return true;
            return false;
        },
        10000))
        << "the worker asked for a page";
    HANDLE worker = nullptr;
    ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), strip->GetThread()->m_hThread, GetCurrentProcess(), &worker, 0,
                                FALSE, DUPLICATE_SAME_ACCESS));
    engine->Watch(worker);
    const std::string page = strip->GetThread()->GetTemporaryPagePath();

    // As the workspace goes: the strip first, then the engine.
    const ULONGLONG started = GetTickCount64();
    EXPECT_TRUE(strip->StopAndWait());
    strip.reset();
    const ULONGLONG tookMs = GetTickCount64() - started;
    EXPECT_LT(tookMs, 2000u) << "the fetch in progress was cancelled";
    EXPECT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), WaitForSingleObject(worker, 0)) << "the worker has ended";
    EXPECT_FALSE(banner_test::FileExists(page)) << "its temporary page is gone";
    // Its cache file is closed: nobody else has the set open.
    HANDLE alone = CreateFileA(CachePath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(INVALID_HANDLE_VALUE, alone);
    if (alone != INVALID_HANDLE_VALUE)
        CloseHandle(alone);
    engine.reset();
    EXPECT_TRUE(WatchedEngine::s_workerEndedFirst);
    EXPECT_TRUE(WatchedEngine::s_noFilesLeft);
    CloseHandle(worker);
}

TEST_F(BannerThreadsTest, HistoryReadWhileTheWorkerWritesLeavesTheCacheWhole)
{
    // A page every tick, ticks 20 ms apart, each page shown at a time of its own.
    ServeFivePages(0);
    BannerSurroundings::SetAdvancing(true);
    auto engine = banner_test::StartEngine();
    auto strip = std::make_unique<RecordingStrip>(&owner);
    strip->Start("127.0.0.1", engine.get(), m_server.Port());
    for (int round = 0; round < 30; ++round) {
        strip->ShowHistory();
        while (HWND frame = FindWindowA(nullptr, CacheFrameWnd::kTitle))
            ::DestroyWindow(frame);
        static_cast<void>(PumpUntil([] { return false; }, 15));
    }
    EXPECT_GT(strip->requests.size(), 10u) << "the worker went on showing pages meanwhile";
    EXPECT_TRUE(strip->StopAndWait());
    ExpectConsistentCache(engine.get(), CachePath(), 5);
    const std::string history = banner_test::ReadFileText(m_world.Program().File("Ad_History.html"));
    EXPECT_NE(std::string::npos, history.find("<!-- ")) << "the history listed banners";
    strip.reset();
    engine.reset();
}

TEST_F(BannerThreadsTest, FiftyStartsAndStopsLeaveNoThreadOrHandleBehind)
{
    auto engine = banner_test::StartEngine();
    // A server of its own each time, stopped (its threads joined) before anything is counted.
    auto cycle = [&] {
        BannerServer server;
        server.SetInfo(Description(5, 0, -1, 3600));
        for (long page = 0; page < 5; ++page)
            server.SetPage(page, PageWithBody("page " + std::to_string(page)));
        auto strip = std::make_unique<RecordingStrip>(&owner);
        strip->Start("127.0.0.1", engine.get(), server.Port());
        EXPECT_TRUE(PumpUntil([&] { return strip->requests.size() >= 2; }, 10000));
        EXPECT_TRUE(strip->StopAndWait());
    };
    // The first start loads what stays loaded (the socket library, the engine's buffers).
    m_server.Stop();
    cycle();
    const int threadsBefore = ThreadCount();
    const int handlesBefore = HandleCount();
    ASSERT_GT(handlesBefore, 0);
    for (int i = 0; i < 50; ++i)
        cycle();
    EXPECT_EQ(threadsBefore, ThreadCount());
    EXPECT_LE(HandleCount(), handlesBefore + 4);
    engine.reset();
}

} // namespace banner_threads_test
