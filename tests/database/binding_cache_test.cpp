// The program's own use of the binding: the banner's cache record made into "Cache.dat",
// pages added and rewritten, found by each key, walked newest first, and read through a
// second file object; what lies on the disk afterwards.
#include <gtest/gtest.h>

#include "binding_test_support.h"
#include "cache_set_support.h"
#include "database/iDBLock.h"
#include "database/mgRecord.h"

using namespace bindtest;

namespace {

const long kInsertBase = 1700000000;

// Page n: inserted at base + n, shown at base + 1000 - 7n (so "Update" runs backwards).
CacheBytes Page(long n)
{
    return MakeCache(n, kInsertBase + n, kInsertBase + 1000 - 7 * n, "<BODY>page " + std::to_string(n) + "</BODY>");
}

} // namespace

TEST(CacheFile, BannerUseCreatesFillsRewritesFindsAndWalks)
{
    BindingFolder folder;
    // The banner's start: the cache does not open, so it is created and opened again.
    std::unique_ptr<mGroveFile> cache = folder.OpenCache("Cache.dat");
    EXPECT_EQ(0, cache->IsOpen());
    cache.reset();
    ASSERT_EQ(0, folder.CreateCacheSet("Cache.dat"));
    cache = folder.OpenCache("Cache.dat");
    ASSERT_EQ(1, cache->IsOpen());
    EXPECT_EQ(2060u, cache->GetRecordLength());
    EXPECT_EQ(3, cache->GetKeyCount());
    EXPECT_STREQ(folder.File("Cache.dat").c_str(), cache->GetName());

    for (long n = 0; n < 35; ++n) {
        CacheBytes page = Page(n);
        ASSERT_EQ(0, cache->Add(page.bytes, 0)) << n;
    }
    CacheBytes again = Page(7);
    EXPECT_EQ(kMgDuplicateKey, cache->Add(again.bytes, 0)) << "a page number is stored once";

    // The worker's tick: find page 12 by number, mark it shown, rewrite it.
    CacheBytes found = MakeCache(12, 0, 0);
    ASSERT_EQ(0, cache->FindEqual(found.bytes, 0));
    EXPECT_EQ(kInsertBase + 12, found.Inserted());
    EXPECT_EQ("<BODY>page 12</BODY>", found.Page());
    CacheBytes shown = MakeCache(12, found.Inserted(), kInsertBase + 5000, "<BODY>page 12, fetched again</BODY>");
    ASSERT_EQ(0, cache->Rewrite(shown.bytes, 0));

    struct Case {
        const char* why;
        int key;
        CacheBytes probe;
        long id;
    };
    const Case cases[] = {
        {"by ID", 0, MakeCache(20, 0, 0), 20},
        {"by Insert", 1, MakeCache(0, kInsertBase + 33, 0), 33},
        {"by Update", 2, MakeCache(0, 0, kInsertBase + 1000 - 7 * 4), 4},
        {"by the rewritten Update", 2, MakeCache(0, 0, kInsertBase + 5000), 12},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        CacheBytes probe = c.probe;
        ASSERT_EQ(0, cache->FindEqual(probe.bytes, c.key));
        EXPECT_EQ(c.id, probe.Id());
        CacheBytes expected = c.id == 12 ? shown : Page(c.id);
        EXPECT_EQ(0, memcmp(expected.bytes, probe.bytes, BannerCache::kSize));
    }
    CacheBytes stale = MakeCache(0, 0, kInsertBase + 1000 - 7 * 12);
    EXPECT_EQ(kMgNoRecord, cache->FindEqual(stale.bytes, 2)) << "the old Update value is gone";

    // The history: Last on "Update", then Previous, newest first.
    std::vector<long> newest;
    CacheBytes row;
    for (int answer = cache->Last(row.bytes, 2); answer == 0 && newest.size() < 10; answer = cache->Previous(row.bytes))
        newest.push_back(row.Id());
    EXPECT_EQ((std::vector<long>{12, 0, 1, 2, 3, 4, 5, 6, 7, 8}), newest);
    EXPECT_EQ(0, cache->Close());
    EXPECT_EQ(0, cache->IsOpen());

    // A second object, as the history window opens it.
    std::unique_ptr<mGroveFile> history = folder.OpenCache("Cache.dat");
    ASSERT_EQ(1, history->IsOpen());
    EXPECT_EQ(35, history->GetRecordCount());
    for (int key = 0; key < 3; ++key)
        EXPECT_EQ(35, history->GetKeyEntryCount(key)) << key;
    CacheBytes probe = MakeCache(12, 0, 0);
    ASSERT_EQ(0, history->FindEqual(probe.bytes, 0));
    EXPECT_EQ(0, memcmp(shown.bytes, probe.bytes, BannerCache::kSize));
    history.reset();

    // On the disk: the host only, holding the data member and one member per key.
    EXPECT_EQ((std::vector<std::string>{"Cache.dat"}), FilesIn(folder.Path()));
    for (const char* member : {"!data.dat", "!000.idx", "!001.idx", "!002.idx"})
        EXPECT_TRUE(MemberExists(folder.File("Cache.dat"), member)) << member;
    EXPECT_FALSE(MemberExists(folder.File("Cache.dat"), "!003.idx"));
}

TEST(CacheFile, StoresEachRecordBehindOneZeroByte)
{
    BindingFolder folder;
    ASSERT_EQ(0, folder.CreateCacheSet("Cache.dat"));
    std::unique_ptr<mGroveFile> cache = folder.OpenCache("Cache.dat");
    CacheBytes page = Page(3);
    ASSERT_EQ(0, cache->Add(page.bytes, 0));
    cache.reset();

    // Read back through the engine itself: 2061 bytes, the first one 0, then the record
    // with its integers little-endian.
    ScopedDatabaseLock lock;
    dbtest::CacheSet set;
    ASSERT_EQ(0, set.Open(folder.File("Cache.dat"), 3));
    EXPECT_EQ(2061, set.def->recordLength);
    EXPECT_EQ(3, set.def->dataMode & 7);
    ASSERT_EQ(3, set.def->indexCount);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(4, set.def->indexes[i].keyLength);
        EXPECT_EQ(0, set.def->indexes[i].duplicates);
        EXPECT_EQ(1 + 4 * i, set.def->indexes[i].segments[0].offset);
        EXPECT_EQ(8, set.def->indexes[i].segments[0].mode);
    }
    std::vector<uint8_t> stored(2061, 0xEE);
    ASSERT_EQ(0, mgFirstRecord(uint16_t(set.data), stored.data()));
    EXPECT_EQ(0, stored[0]);
    EXPECT_EQ(0, memcmp(page.bytes, stored.data() + 1, BannerCache::kSize));
    EXPECT_EQ(3, stored[1]);
    EXPECT_EQ(0, set.Close());
}

TEST(CacheFile, SignedKeysOrderNegativeNumbersFirst)
{
    BindingFolder folder;
    ASSERT_EQ(0, folder.CreateCacheSet("Cache.dat"));
    std::unique_ptr<mGroveFile> cache = folder.OpenCache("Cache.dat");
    for (long id : {5L, -3L, 0L, 70000L, -70000L}) {
        CacheBytes page = MakeCache(id, id, id);
        ASSERT_EQ(0, cache->Add(page.bytes, 0)) << id;
    }
    std::vector<long> order;
    CacheBytes row;
    for (int answer = cache->First(row.bytes, 0); answer == 0; answer = cache->Next(row.bytes))
        order.push_back(row.Id());
    EXPECT_EQ((std::vector<long>{-70000, -3, 0, 5, 70000}), order);
}
