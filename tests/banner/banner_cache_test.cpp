// The banner's pages against the real engine and a loopback banner server, the worker's
// steps run on the test's own thread: fresh pages from the cache without a request, old
// ones fetched again, failures showing the offline page with the cache untouched, pages
// too long for the record, corrupt records, no cache at all, and the schedule of pages
// and description reloads tick by tick.
#include "banner_world_test_support.h"

#include "banner/BannerPages.h"

#include "tests/net/http_test_support.h"

#include "database/iDBLock.h"
#include "database/mgErrors.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <set>
#include <string>
#include <thread>

// The file's own namespace keeps its names apart from the files compiled with it.
namespace banner_cache_test {
using banner_test::BannerServer;
using banner_test::BannerSurroundings;
using banner_test::CacheRecords;
using banner_test::Description;
using banner_test::PageWithBody;
using banner_test::PutRecord;
using banner_test::ReadFileText;

namespace {

constexpr long kPromoted = 4;

// A cache record's values.
struct Stored {
    long id = -1;
    long inserted = -1;
    long updated = -1;
    std::string page;  // "<corrupt>" for a length beyond the field
};

// While armed, each time the armed thread lets the database lock go entirely, the history's
// walk runs on a thread of its own, as a history shown then would: its own file object on
// the set, opened, walked newest first by "Update" to the end, and closed.
class WalksBetweenCalls {
public:
    WalksBetweenCalls(mGrovePlus* engine, const std::string& path) : m_engine(engine), m_path(path)
    {
        s_current = this;
    }
    ~WalksBetweenCalls()
    {
        Disarm();
        s_current = nullptr;
    }
    void Arm()
    {
        m_armed = GetCurrentThreadId();
        m_previousHook = SetDatabaseLockReleasedHook(Released);
    }
    void Disarm()
    {
        if (m_armed)
            SetDatabaseLockReleasedHook(m_previousHook);
        m_armed = 0;
    }

    struct Walk {
        int lastAnswer;
        std::set<long> ids;
    };
    std::vector<Walk> walks;

private:
    static void Released()
    {
        WalksBetweenCalls* self = s_current;
        if (!self || GetCurrentThreadId() != self->m_armed)
            return;
        std::thread([self] { self->walks.push_back(self->WalkOnce()); }).join();
    }
    Walk WalkOnce()
    {
        ScopedDatabaseLock lock;
        Walk walk{-1, {}};
        mGroveFile file(m_engine, "", m_path.c_str(), 0, Cache::kSize);
        Cache record;
        for (walk.lastAnswer = file.Last(record.Bytes(), Cache::kKeyUpdate); walk.lastAnswer == 0;
             walk.lastAnswer = file.Previous(record.Bytes()))
            walk.ids.insert(record.m_id.Value());
        return walk;
    }

    static inline WalksBetweenCalls* s_current = nullptr;
    mGrovePlus* m_engine;
    std::string m_path;
    DWORD m_armed = 0;
    DatabaseLockReleasedHook m_previousHook = nullptr;
};

// A worker prepared against the loopback server and the real engine, not started: the
// test runs its steps. Promotion 4 of 5 pages: with draws of 4 every page shown is page 4.
class BannerCacheTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_server.SetInfo(Description(5, 3000, kPromoted, 3600));
        m_engine = banner_test::StartEngine();
    }
    void TearDown() override
    {
        m_thread.reset();
        m_engine.reset();
    }

    void Prepare(bool withEngine = true)
    {
        m_thread.reset();
        m_thread = std::make_unique<AffiliateLink::Thread>(nullptr);
        m_thread->Prepare("127.0.0.1", withEngine ? m_engine.get() : nullptr, m_server.Port());
    }
    // Shows the next page, the promoted page (draws of 4 keep even a random turn on it).
    void ShowPromoted()
    {
        BannerSurroundings::QueueDraws({static_cast<int>(kPromoted)});
        m_thread->ShowNextBanner();
        ASSERT_EQ(kPromoted, m_thread->GetCurrentPage());
    }
    std::string CachePath() const { return m_world.Program().File("Cache.dat"); }
    std::string Shown() const { return ReadFileText(m_thread->GetTemporaryPagePath()); }
    std::string Marked(const std::string& page) const
    {
        return static_cast<const char*>(
                   MakeMarkOfTheWeb(MakeBannerOrigin("127.0.0.1", m_server.Port()))) +
               page;
    }
    std::string Offline() const
    {
        return static_cast<const char*>(MakeOfflinePage(m_world.Program().Path().c_str()));
    }
    // Every record of the cache; a page that cannot be read is "<corrupt>".
    std::vector<Stored> Records()
    {
        std::vector<Stored> stored;
        for (const auto& bytes : CacheRecords(m_engine.get(), CachePath())) {
            Cache record;
            memcpy(record.Bytes(), bytes.data(), Cache::kSize);
            const char* text = nullptr;
            unsigned length = 0;
            stored.push_back({record.m_id.Value(), record.m_insert.Value(), record.m_update.Value(),
                              record.GetPage(text, length) ? std::string(text, length) : "<corrupt>"});
        }
        return stored;
    }
    // The one record of the cache.
    Stored Record()
    {
        const std::vector<Stored> records = Records();
        EXPECT_EQ(1u, records.size());
        return records.empty() ? Stored{} : records[0];
    }
    // Requests for pages (the description's left out).
    int PageRequests() const
    {
        int count = 0;
        for (const std::string& path : m_server.Paths())
            count += path.size() > 5 && path.compare(path.size() - 5, 5, ".html") == 0;
        return count;
    }

    BannerSurroundings m_world;
    BannerServer m_server;
    std::unique_ptr<mGrovePlus> m_engine;
    std::unique_ptr<AffiliateLink::Thread> m_thread;
};

} // namespace

TEST_F(BannerCacheTest, FetchedPageIsStoredAndShownFromTheCacheWhileFresh)
{
    const std::string page = PageWithBody("first");
    m_server.SetPage(kPromoted, page);
    Prepare();
    ASSERT_TRUE(m_thread->HasCache());
    EXPECT_EQ(5, m_thread->GetSettings().page) << "the description was read before the worker's first page";

    BannerSurroundings::SetNow(1700000000);
    ShowPromoted();
    EXPECT_EQ(1, m_server.Count("/0004.html"));
    EXPECT_EQ(Marked(page), Shown());
    Stored stored = Record();
    EXPECT_EQ(kPromoted, stored.id);
    EXPECT_EQ(1700000000, stored.inserted);
    EXPECT_EQ(1700000000, stored.updated);
    EXPECT_EQ(page, stored.page);

    // Within Refresh (3600 s), the page comes from the cache: no request, a new "Update".
    m_server.SetPage(kPromoted, PageWithBody("changed on the server"));
    BannerSurroundings::SetNow(1700000000 + 3600);
    ShowPromoted();
    EXPECT_EQ(1, m_server.Count("/0004.html"));
    EXPECT_EQ(Marked(page), Shown());
    stored = Record();
    EXPECT_EQ(1700000000, stored.inserted);
    EXPECT_EQ(1700000000 + 3600, stored.updated);
}

TEST_F(BannerCacheTest, OldAndFutureRecordsAreFetchedAgainAndRewritten)
{
    struct Case {
        const char* why;
        long inserted;
    };
    const int64_t now = 1700005000;
    const Case cases[] = {
        {"older than Refresh by a second", static_cast<long>(now - 3601)},
        {"stored in the future by a second: counts as old", static_cast<long>(now + 1)},
        {"stored far in the future", static_cast<long>(now + 1000000)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        m_thread.reset();
        DeleteFileA(CachePath().c_str());
        PutRecord(m_engine.get(), CachePath(), kPromoted, c.inserted, c.inserted, PageWithBody("old"));
        const std::string fresh = PageWithBody(std::string("fresh ") + c.why);
        m_server.SetPage(kPromoted, fresh);
        const int before = m_server.Count("/0004.html");
        Prepare();
        BannerSurroundings::SetNow(now);
        ShowPromoted();
        EXPECT_EQ(before + 1, m_server.Count("/0004.html"));
        EXPECT_EQ(Marked(fresh), Shown());
        m_thread.reset();
        const Stored stored = Record();
        EXPECT_EQ(fresh, stored.page);
        EXPECT_EQ(now, stored.updated);
        EXPECT_EQ(c.inserted, stored.inserted) << "the first storing's time stays";
    }
}

TEST_F(BannerCacheTest, FailedFetchShowsTheOfflinePageAndLeavesTheCacheAlone)
{
    struct Case {
        const char* why;
        net_test::Script reply;
    };
    const Case cases[] = {
        {"404", net_test::Reply("HTTP/1.0 404 Not Found", "Content-Type: text/html\r\n", PageWithBody("missing"))},
        {"500", net_test::Reply("HTTP/1.0 500 Server Error", "Content-Type: text/html\r\n", PageWithBody("broken"))},
        {"cut reply", net_test::Reply("HTTP/1.0 200 OK", "Content-Type: text/html\r\nContent-Length: 500\r\n",
                                      PageWithBody("cut"))},
        {"not text", net_test::Reply("HTTP/1.0 200 OK", "Content-Type: image/gif\r\n", "GIF89a")},
    };
    // An old record of the page, which a successful fetch would rewrite.
    PutRecord(m_engine.get(), CachePath(), kPromoted, 1000, 1000, PageWithBody("kept"));
    const auto before = CacheRecords(m_engine.get(), CachePath());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        m_server.SetPageScript(kPromoted, c.reply);
        Prepare();
        ShowPromoted();
        EXPECT_EQ(Offline(), Shown());
        m_thread.reset();
        EXPECT_EQ(before, CacheRecords(m_engine.get(), CachePath()));
    }
    // The server gone: not even the description comes (the default settings stay), and
    // the page is the offline one.
    m_server.Stop();
    Prepare();
    m_thread->ShowNextBanner();
    EXPECT_EQ(Offline(), Shown());
    m_thread.reset();
    EXPECT_EQ(before, CacheRecords(m_engine.get(), CachePath()));
}

// Each hostile reply: the client's result, and the banner showing the page or the offline
// page, with the page's old record rewritten or kept byte for byte.
TEST_F(BannerCacheTest, HostileRepliesAreNeitherShownNorCachedAsPages)
{
    const std::string page = PageWithBody("the new page");
    const std::string half = page.substr(0, page.size() / 2);
    const std::string ok = "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n";
    const std::string length = "Content-Length: " + std::to_string(page.size()) + "\r\n";
    // A header line one byte over the line limit, whose piece past the limit reads as a header.
    const std::string overlong = "X-Pad: " + std::string(16383 - 7, 'p') + "Content-Type: text/html\r\n";
    struct Case {
        const char* why;
        net_test::Script reply;
        int result;
    };
    using net_test::Close;
    using net_test::Pause;
    using net_test::Reset;
    using net_test::Send;
    const Case cases[] = {
        {"a page with its Content-Length", {Send(ok + length + "\r\n" + page), Close()}, 0},
        {"a page read to the server's orderly close", {Send(ok + "\r\n" + page), Pause(100), Close()}, 0},
        {"a reset once the whole Content-Length has come", {Send(ok + length + "\r\n" + page), Pause(100), Reset()}, 0},
        {"404", net_test::Reply("HTTP/1.0 404 Not Found", "Content-Type: text/html\r\n", page), 6},
        {"a status line that is none", {Send("HTTP/1.0 OK\r\nContent-Type: text/html\r\n\r\n" + page), Close()}, 6},
        {"headers cut by a close", {Send(ok), Close()}, 7},
        {"a body shorter than its Content-Length", {Send(ok + length + "\r\n" + half), Close()}, 7},
        {"silence after the connection is taken", {Pause(5000)}, 7},
        {"a body without end", {Send(ok + "\r\n" + page), net_test::SendForever(std::string(1024, 'z'))}, 8},
        {"a reset in the middle of a body without a length", {Send(ok + "\r\n" + half), Pause(100), Reset()}, 7},
        {"a chunked body", {Send(ok + "Transfer-Encoding: chunked\r\n\r\n10\r\n" + half + "\r\n0\r\n\r\n"), Close()}, 9},
        {"a 23-digit Content-Length", {Send(ok + "Content-Length: 99999999999999999999999\r\n\r\n" + page), Close()}, 9},
        {"a negative Content-Length", {Send(ok + "Content-Length: -5\r\n\r\n" + page), Close()}, 9},
        {"two different Content-Lengths, the shorter first",
         {Send(ok + "Content-Length: 10\r\n" + length + "\r\n" + page), Close()},
         9},
        {"a header line over the line limit", {Send("HTTP/1.0 200 OK\r\n" + overlong + "\r\n" + page), Close()}, 9},
    };
    constexpr int kLineWaitMs = 400;
    constexpr int kFetchMs = 1500;
    BannerSurroundings::SetWorkerFetchBounds(kLineWaitMs, kFetchMs);
    BannerSurroundings::SetNow(1700000000);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        m_server.SetPageScript(kPromoted, c.reply);
        net_test::TestHttpClient client(m_server.Port(), kLineWaitMs);
        client.SetExchangeTimeOut(kFetchMs);
        EXPECT_EQ(c.result, client.Get(("http://127.0.0.1" + BannerServer::PagePath(kPromoted)).c_str()));

        // An old record of the page, so that the banner fetches it again.
        m_thread.reset();
        DeleteFileA(CachePath().c_str());
        PutRecord(m_engine.get(), CachePath(), kPromoted, 1000, 1000, PageWithBody("kept"));
        const auto before = CacheRecords(m_engine.get(), CachePath());
        Prepare();
        ShowPromoted();
        m_thread.reset();
        if (c.result == 0) {
            const Stored stored = Record();
            EXPECT_EQ(page, stored.page);
            EXPECT_EQ(1000, stored.inserted);
            EXPECT_EQ(1700000000, stored.updated);
        } else {
            EXPECT_EQ(before, CacheRecords(m_engine.get(), CachePath()));
        }
    }
}

// The keys on the two times allow no duplicates, but pages fetched or shown within one
// second must all be kept and marked as shown.
TEST_F(BannerCacheTest, PagesStoredAndShownWithinOneSecondAreAllKept)
{
    m_server.SetInfo(Description(5, 3000, -1, 3600));
    for (long id = 0; id < 5; ++id)
        m_server.SetPage(id, PageWithBody("page " + std::to_string(id)));
    BannerSurroundings::SetNow(1700000000);
    Prepare();
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round == 0 ? "fetched and added" : "shown again from the cache");
        BannerSurroundings::QueueDraws({0, 1, 2, 3, 4});
        for (long id = 0; id < 5; ++id) {
            m_thread->ShowNextBanner();
            ASSERT_EQ(id, m_thread->GetCurrentPage());
            EXPECT_EQ(Marked(PageWithBody("page " + std::to_string(id))), Shown());
        }
        const std::vector<Stored> records = Records();
        ASSERT_EQ(5u, records.size());
        std::set<long> inserted;
        std::set<long> updated;
        for (const Stored& record : records) {
            EXPECT_EQ(PageWithBody("page " + std::to_string(record.id)), record.page);
            inserted.insert(record.inserted);
            updated.insert(record.updated);
            // Moved by as many seconds as there were pages before it in that second: the
            // time shown on, the time first stored back (a time ahead would count as old).
            EXPECT_LE(record.inserted, 1700000000);
            EXPECT_GT(record.inserted, 1700000000 - 10);
            EXPECT_GE(record.updated, 1700000000);
            EXPECT_LT(record.updated, 1700000000 + 10);
        }
        EXPECT_EQ(5u, inserted.size());
        EXPECT_EQ(5u, updated.size());
    }
    EXPECT_EQ(5, PageRequests()) << "the second round came from the cache";
}

TEST_F(BannerCacheTest, PageTooLongForTheRecordIsShownWholeButNeverKept)
{
    const std::string fits = PageWithBody(std::string(2046 - PageWithBody("").size(), 'a'));
    const std::string tooLong = PageWithBody(std::string(2047 - PageWithBody("").size(), 'b'));
    ASSERT_EQ(2046u, fits.size());
    ASSERT_EQ(2047u, tooLong.size());

    m_server.SetPage(kPromoted, fits);
    Prepare();
    BannerSurroundings::SetNow(1700000000);
    ShowPromoted();
    EXPECT_EQ(fits, Record().page) << "2046 bytes fill the record";

    // The record is old now; the server's page has grown past the record.
    m_server.SetPage(kPromoted, tooLong);
    BannerSurroundings::SetNow(1700000000 + 4000);
    ShowPromoted();
    EXPECT_EQ(Marked(tooLong), Shown()) << "shown whole";
    const Stored stored = Record();
    EXPECT_EQ(fits, stored.page) << "the record stays as it was";
    EXPECT_EQ(1700000000, stored.updated);
    // So the page is fetched again the next time.
    ShowPromoted();
    EXPECT_EQ(3, m_server.Count("/0004.html"));

    // A page seen first at 2047 bytes is not added at all.
    m_thread.reset();
    DeleteFileA(CachePath().c_str());
    Prepare();
    ShowPromoted();
    EXPECT_EQ(Marked(tooLong), Shown());
    m_thread.reset();
    EXPECT_TRUE(CacheRecords(m_engine.get(), CachePath()).empty());
}

TEST_F(BannerCacheTest, RecordWithACorruptLengthCountsAsAbsent)
{
    // A fresh record whose length word claims more than the field holds.
    BannerSurroundings::SetNow(1700000000);
    PutRecord(m_engine.get(), CachePath(), kPromoted, 1700000000, 1700000000, PageWithBody("short"), 3000);
    const std::string page = PageWithBody("from the server");
    m_server.SetPage(kPromoted, page);
    Prepare();
    ShowPromoted();
    EXPECT_EQ(1, m_server.Count("/0004.html")) << "fetched, not read past the field";
    EXPECT_EQ(Marked(page), Shown());
    m_thread.reset();
    EXPECT_EQ(page, Record().page) << "and the record mended";
}

// A cache whose index names no record answers the engine's corrupt-index error: the
// worker makes it anew, as one that does not open, and keeps the fetched page in it.
TEST_F(BannerCacheTest, ACacheWhoseIndexNamesNoRecordIsMadeAnew)
{
    BannerSurroundings::SetNow(1700000000);
    PutRecord(m_engine.get(), CachePath(), kPromoted, 1700000000, 1700000000, PageWithBody("cached"));
    // The promoted page's entry in the "ID" index: its record position, then its key
    // (the number stored high byte first, the sign bit flipped). The position becomes 0.
    std::string bytes = ReadFileText(CachePath());
    const std::string key("\x80\x00\x00\x04", 4);
    const size_t entry = bytes.find(key);
    ASSERT_NE(std::string::npos, entry);
    ASSERT_EQ(std::string::npos, bytes.find(key, entry + 1)) << "the key stands once in the file";
    ASSERT_GE(entry, 4u);
    bytes.replace(entry - 4, 4, std::string(4, '\0'));
    std::ofstream(CachePath(), std::ios::binary | std::ios::trunc) << bytes;

    const std::string page = PageWithBody("from the server");
    m_server.SetPage(kPromoted, page);
    Prepare();
    ShowPromoted();
    EXPECT_EQ(1, m_server.Count("/0004.html")) << "the damaged cache gives no page: fetched";
    EXPECT_EQ(Marked(page), Shown());
    EXPECT_TRUE(m_thread->HasCache());
    m_thread.reset();
    EXPECT_EQ(page, Record().page) << "kept in the cache made anew, alone";
}

TEST_F(BannerCacheTest, WithoutACacheEveryPageIsFetched)
{
    const std::string page = PageWithBody("uncached");
    m_server.SetPage(kPromoted, page);
    // A program folder that does not exist: the cache can be neither opened nor made.
    BannerSurroundings::SetProgramFolder(m_world.Program().File("missing"));
    Prepare();
    EXPECT_FALSE(m_thread->HasCache());
    ShowPromoted();
    ShowPromoted();
    EXPECT_EQ(2, m_server.Count("/0004.html"));
    EXPECT_EQ(Marked(page), Shown());

    // Nor without an engine.
    Prepare(false);
    EXPECT_FALSE(m_thread->HasCache());
    ShowPromoted();
    EXPECT_EQ(3, m_server.Count("/0004.html"));
}

TEST_F(BannerCacheTest, TemporaryPageHoldsExactlyTheLastPage)
{
    m_server.SetPage(kPromoted, PageWithBody("a much longer page than the next one, to be cut away"));
    m_server.SetPage(1, PageWithBody("short"));
    m_server.SetInfo(Description(5, 0, -1, 3600));
    Prepare();
    const std::string path = m_thread->GetTemporaryPagePath();
    EXPECT_EQ(0u, path.find(m_world.Temporary().Path() + "\\TMR")) << path;
    EXPECT_EQ(".html", path.substr(path.size() - 5));
    BannerSurroundings::QueueDraws({static_cast<int>(kPromoted), 1});
    m_thread->ShowNextBanner();
    EXPECT_EQ(Marked(PageWithBody("a much longer page than the next one, to be cut away")), Shown());
    m_thread->ShowNextBanner();
    EXPECT_EQ(Marked(PageWithBody("short")), Shown());
    // Only the page itself was made in the temporary folder: the empty file the system
    // made for its name became the page.
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((m_world.Temporary().Path() + "\\*.tmp").c_str(), &found);
    EXPECT_EQ(INVALID_HANDLE_VALUE, find);
    if (find != INVALID_HANDLE_VALUE)
        FindClose(find);
    // Gone with the worker.
    m_thread.reset();
    EXPECT_FALSE(banner_test::FileExists(path));
}

TEST_F(BannerCacheTest, TicksShowPagesAndReloadTheDescriptionWhenTheirTimeComes)
{
    struct Case {
        const char* why;
        int duration;
        int refresh;
        int ticks;
        int pagesShown;      // by the ticks, after the first page
        int reloads;         // of the description by the ticks
    };
    const Case cases[] = {
        {"Duration 0: a page every tick", 0, 3600, 4, 4, 0},
        {"Duration 3000: every third tick", 3000, 3600, 6, 2, 0},
        {"Duration 1500 (no multiple of a second): every second tick", 1500, 3600, 6, 3, 0},
        {"Refresh 0: the description on every tick once its first countdown is over", 1000000, 0, 3, 0, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        m_server.SetInfo(Description(5, c.duration, -1, c.refresh));
        Prepare(false);
        m_thread->ShowNextBanner();
        ASSERT_EQ(c.duration, m_thread->GetBannerCountdown());
        // The description's first reload comes after the start's 360000 ms.
        if (c.refresh == 0) {
            for (int second = 0; second < 359; ++second)
                m_thread->Tick();
        }
        const int pagesBefore = PageRequests();
        const int infoBefore = m_server.Count("/info.xml");
        for (int tick = 0; tick < c.ticks; ++tick)
            m_thread->Tick();
        EXPECT_EQ(c.pagesShown, PageRequests() - pagesBefore);
        EXPECT_EQ(c.reloads, m_server.Count("/info.xml") - infoBefore);
    }
}

TEST_F(BannerCacheTest, DescriptionOfPageZeroKeepsThePagesAndAFailedReloadKeepsTheSettings)
{
    m_server.SetInfo(Description(5, 3000, -1, 0));
    Prepare(false);
    m_server.SetInfo(Description(0, 2000, -1, 0));
    m_thread->LoadInfo(m_thread->GetBaseUrl());
    EXPECT_EQ(5, m_thread->GetSettings().page);
    EXPECT_EQ(2000, m_thread->GetSettings().duration);
    // Page 0 would have made the draw divide by zero.
    m_thread->ShowNextBanner();
    EXPECT_LT(m_thread->GetCurrentPage(), 5);

    m_server.Stop();
    m_thread->LoadInfo(m_thread->GetBaseUrl());
    EXPECT_EQ(5, m_thread->GetSettings().page);
    EXPECT_EQ(2000, m_thread->GetSettings().duration);
}

// The worker's look-up and its store are two binding calls, each holding the database lock
// for its own length. The history, the cache's only other user, may walk it between them:
// its walk on a file object of its own moves nothing of the worker's, so each page is
// stored or renewed in its own record, and each walk reads the cache whole.
TEST_F(BannerCacheTest, HistoryWalksBetweenTheWorkersCallsChangeNothingItStoresOrShows)
{
    m_server.SetInfo(Description(5, 3000, -1, 3600));
    for (long page = 0; page < 5; ++page)
        m_server.SetPage(page, PageWithBody("page " + std::to_string(page)));
    Prepare();
    WalksBetweenCalls walks(m_engine.get(), CachePath());
    // Every page stored (look-up and add), then each renewed twice (look-up and rewrite).
    const int draws[] = {0, 1, 2, 3, 4, 3, 1, 4, 0, 2, 2, 0, 4, 1, 3};
    for (int i = 0; i < static_cast<int>(std::size(draws)); ++i) {
        SCOPED_TRACE("show " + std::to_string(i));
        BannerSurroundings::SetNow(1700000000 + i);
        BannerSurroundings::QueueDraws({draws[i]});
        walks.Arm();
        m_thread->ShowNextBanner();
        walks.Disarm();
        EXPECT_EQ(Marked(PageWithBody("page " + std::to_string(draws[i]))), Shown());
    }
    ASSERT_GE(walks.walks.size(), 2 * std::size(draws)) << "a walk between each look-up and its store";
    for (const WalksBetweenCalls::Walk& walk : walks.walks)
        EXPECT_EQ(kMgNoRecord, walk.lastAnswer) << "each walk ran to the end of the cache";
    EXPECT_EQ((std::set<long>{0, 1, 2, 3, 4}), walks.walks.back().ids);
    m_thread.reset();
    const std::vector<Stored> records = Records();
    ASSERT_EQ(5u, records.size());
    for (const Stored& record : records)
        EXPECT_EQ(PageWithBody("page " + std::to_string(record.id)), record.page);
}

} // namespace banner_cache_test
