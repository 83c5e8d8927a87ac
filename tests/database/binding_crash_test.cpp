// A banner-like run through the binding cut at write N (a write that fails, then every
// call failing, as when the program is killed): the next open through mGroveFile either
// holds every record of the last clean close or answers the engine's error, and then the
// banner's own way out (creating the set anew) or Recreate gives a working empty set.
#include <gtest/gtest.h>

#include <map>

#include "binding_test_support.h"
#include "cache_set_support.h"
#include "database/iDBLock.h"
#include "database/mgCheck.h"
#include "database/mgInstance.h"

using namespace bindtest;

namespace {

struct CacheRun {
    // The pages the set held at its last clean close, by id: their "Update".
    std::map<long, long> closed;
    bool completed = false;
};

// Create, add 24 pages, rewrite 6, close; open again, add 12 more, rewrite 6, close. Stops
// at the first call that fails, as a killed program would.
CacheRun RunCache(const std::string& path)
{
    CacheRun run;
    std::map<long, long> live;
    std::unique_ptr<mGrovePlus> engine(new mGrovePlus(16, 16, 32));
    {
        ScopedDatabaseLock lock;
        mgSetLockWait(3, 1);
    }
    BannerCache record;
    iDBDefinition definition;
    definition.Build(&record);
    if (engine->CreateFileSet(&definition, path.c_str(), 0) != 0)
        return run;
    long round = 0;
    for (int session = 0; session < 2; ++session) {
        std::unique_ptr<mGroveFile> cache(new mGroveFile(engine.get(), "", path.c_str(), 0, BannerCache::kSize));
        if (!cache->IsOpen())
            return run;
        long first = session == 0 ? 0 : 24;
        long count = session == 0 ? 24 : 12;
        for (long id = first; id < first + count; ++id) {
            CacheBytes page = MakeCache(id, id, ++round, "<BODY>" + std::string(size_t(id * 37 % 900), 'p') + "</BODY>");
            if (cache->Add(page.bytes, 0) != 0)
                return run;
            live[id] = round;
        }
        for (long id = first; id < first + 12; id += 2) {
            CacheBytes found = MakeCache(id, 0, 0);
            if (cache->FindEqual(found.bytes, 0) != 0)
                return run;
            CacheBytes shown = MakeCache(id, found.Inserted(), ++round, found.Page());
            if (cache->Rewrite(shown.bytes, 0) != 0)
                return run;
            live[id] = round;
        }
        if (cache->Close() != 0)
            return run;
        run.closed = live;
    }
    run.completed = true;
    return run;
}

long WritesOfWholeRun()
{
    dbtest::ScratchFolder folder;
    dbtest::FaultyIo io;
    CacheRun run = RunCache(folder.File("Cache.dat"));
    EXPECT_TRUE(run.completed);
    return io.Writes();
}

// After the cut: the next open, and what the banner then does.
void ReopenAfterCut(long cutAt)
{
    SCOPED_TRACE("cut at write " + std::to_string(cutAt));
    CapturedBoxes boxes;
    dbtest::ScratchFolder folder;
    std::string path = folder.File("Cache.dat");
    CacheRun run;
    {
        dbtest::FaultyIo io;
        dbtest::FaultPlan plan;
        plan.cutWriteAt = cutAt;
        plan.cutPrefix = uint32_t(cutAt % 2 ? 7 : 0);
        io.Plan(plan);
        ASSERT_NO_THROW(run = RunCache(path));
    }
    std::unique_ptr<mGrovePlus> engine(new mGrovePlus(16, 16, 32));
    std::unique_ptr<mGroveFile> cache(new mGroveFile(engine.get(), "", path.c_str(), 0, BannerCache::kSize));
    if (cache->IsOpen()) {
        // Every page by each of its three keys: its number, its first showing (the number
        // in this run) and its last showing.
        for (const auto& page : run.closed) {
            CacheBytes byNumber = MakeCache(page.first, 0, 0);
            ASSERT_EQ(0, cache->FindEqual(byNumber.bytes, 0)) << "page " << page.first;
            EXPECT_EQ(page.second, byNumber.Updated()) << "page " << page.first;
            CacheBytes byInserted = MakeCache(0, page.first, 0);
            ASSERT_EQ(0, cache->FindEqual(byInserted.bytes, 1)) << "page " << page.first;
            EXPECT_EQ(page.first, byInserted.Id()) << "page " << page.first;
            CacheBytes byUpdated = MakeCache(0, 0, page.second);
            ASSERT_EQ(0, cache->FindEqual(byUpdated.bytes, 2)) << "page " << page.first;
            EXPECT_EQ(page.first, byUpdated.Id()) << "page " << page.first;
        }
        EXPECT_GE(cache->GetRecordCount(), long(run.closed.size()));
        ASSERT_EQ(0, cache->Recreate());
    } else {
        int answer = cache->Open("", path.c_str(), 0, BannerCache::kSize);
        EXPECT_TRUE(answer > 0) << "the engine's own error, got " << answer;
        BannerCache record;
        iDBDefinition definition;
        definition.Build(&record);
        ASSERT_EQ(0, engine->CreateFileSet(&definition, path.c_str(), 0));
        ASSERT_EQ(0, cache->Open("", path.c_str(), 0, BannerCache::kSize));
    }
    // Either way: a working empty set.
    ASSERT_EQ(1, cache->IsOpen());
    EXPECT_EQ(0, cache->GetRecordCount());
    CacheBytes page = MakeCache(1, 2, 3, "fresh");
    ASSERT_EQ(0, cache->Add(page.bytes, 0));
    CacheBytes found = MakeCache(1, 0, 0);
    ASSERT_EQ(0, cache->FindEqual(found.bytes, 0));
    EXPECT_EQ("fresh", found.Page());
}

} // namespace

TEST(FileBindingCrash, ACutRunReopensWholeOrAnswersAndIsMadeAgain)
{
    long total = WritesOfWholeRun();
    ASSERT_GT(total, 50);
    long stride = total / 90 + 1;
    for (long n = 1; n <= total + 1; n += (n < 40 ? 1 : stride))
        ASSERT_NO_FATAL_FAILURE(ReopenAfterCut(n));
}
