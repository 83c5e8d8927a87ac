// The set the program keeps its banner page cache in: a superfile host with its member
// directory, a data member of 2061-byte records with its stored definition, three unique
// 4-byte index members; made, opened shared and used the way the record binding does.
#include <gtest/gtest.h>

#include "database/mgCheck.h"
#include "database/mgFile.h"
#include "database/mgFileSet.h"
#include "database/mgInstance.h"
#include "database/mgLock.h"
#include "database/mgRecord.h"
#include "database/mgResource.h"
#include "database_test_support.h"
#include "cache_set_support.h"

using namespace dbtest;

TEST(CacheSet, StartsWithNineteenNumbersAndFourKilobyteNodes)
{
    ScratchFolder folder;
    ASSERT_EQ(0, mgInitIsam(16, 16, 32));
    mgInstanceContext* ctx = mgGetInstanceContext(kMgDefaultInstance);
    ASSERT_NE(nullptr, ctx);
    EXPECT_EQ(19, ctx->fileNumbers);
    EXPECT_EQ(4096, ctx->nodeSize);
    EXPECT_EQ(kMgAlreadyStarted, mgInitIsam(16, 16, 32));
    EXPECT_EQ(0, mgStopIsam());
    EXPECT_EQ(nullptr, mgCurrentInstanceId());
}

TEST(CacheSet, CreateOpenFindAddRewriteWalkClose)
{
    ScratchFolder folder;
    ASSERT_EQ(0, mgInitIsam(16, 16, 32));
    mgSetLockWait(3, 1);
    std::string path = folder.File("Cache.dat");
    ASSERT_EQ(0, CreateCacheSet(path));

    CacheSet cache;
    ASSERT_EQ(0, cache.Open(path, 3));
    EXPECT_EQ(3, cache.def->indexCount);
    EXPECT_EQ(2061, cache.def->recordLength);
    for (uint32_t id = 1; id <= 40; ++id) {
        std::vector<uint8_t> record = CacheRecord(id, 1000 + id, 50 - id);
        ASSERT_EQ(0, mgAddRecord(uint16_t(cache.data), record.data())) << id;
    }
    std::vector<uint8_t> probe = CacheRecord(17, 0, 0);
    std::vector<uint8_t> found(2061);
    ASSERT_EQ(0, FindByKey(cache.data + 1, probe, found));
    EXPECT_EQ(CacheRecord(17, 1017, 33), found);

    std::vector<uint8_t> changed = CacheRecord(17, 5017, 33);
    changed[100] = 'Z';
    ASSERT_EQ(0, mgRewriteRecord(uint16_t(cache.data), changed.data()));
    ASSERT_EQ(0, FindByKey(cache.data + 1, probe, found));
    EXPECT_EQ(changed, found);

    // Last and previous on the third index (descending ids there).
    ASSERT_EQ(0, mgLastRecord(uint16_t(cache.data + 3), found.data()));
    EXPECT_EQ(1u, CacheId(found));
    ASSERT_EQ(0, mgPreviousRecord(uint16_t(cache.data + 3), found.data()));
    EXPECT_EQ(2u, CacheId(found));

    mgCheckReport report;
    EXPECT_EQ(0, mgCheckFileSet(uint16_t(cache.data), &report)) << report.first;
    EXPECT_EQ(40u, report.records);
    EXPECT_EQ(0, mgCheckHost(cache.host, &report)) << report.first;
    ASSERT_EQ(0, cache.Close());

    // Everything is there after a reopen.
    ASSERT_EQ(0, cache.Open(path, 3));
    ASSERT_EQ(0, FindByKey(cache.data + 1, probe, found));
    EXPECT_EQ(changed, found);
    EXPECT_EQ(40u, mgRecordCount(uint16_t(cache.data)));
    ASSERT_EQ(0, cache.Close());
    EXPECT_EQ(0, mgStopIsam());
}

TEST(CacheSet, MembersAreNamedInTheHostsDirectory)
{
    ScratchFolder folder;
    Engine engine;
    std::string path = folder.File("Cache.dat");
    ASSERT_EQ(0, CreateCacheSet(path));
    int host = mgFindFreeFileNumbers(2);
    ASSERT_EQ(0, mgOpenFile(host, path.c_str(), 0x0203));
    for (const char* member : {"!data.dat", "!000.idx", "!001.idx", "!002.idx"}) {
        int number = mgFindFreeFileNumbers(1);
        EXPECT_EQ(0, mgOpenFile(number, (path + member).c_str(), 3)) << member;
        EXPECT_EQ(0, mgCloseFile(number, 0)) << member;
    }
    int number = mgFindFreeFileNumbers(1);
    EXPECT_EQ(kMgCannotOpen, mgOpenFile(number, (path + "!003.idx").c_str(), 3));
    mgCheckReport report;
    EXPECT_EQ(0, mgCheckHost(host, &report)) << report.first;
    EXPECT_EQ(0, mgCloseFile(host, 0));
}

TEST(CacheSet, SameSetOpenedTwiceSeesEachOthersChangesAndClosesInEitherOrder)
{
    for (int closeFirst = 0; closeFirst < 2; ++closeFirst) {
        SCOPED_TRACE(closeFirst ? "second opener closes first" : "first opener closes first");
        ScratchFolder folder;
        Engine engine;
        std::string path = folder.File("Cache.dat");
        ASSERT_EQ(0, CreateCacheSet(path));
        CacheSet worker;
        CacheSet history;
        ASSERT_EQ(0, worker.Open(path, 3));
        ASSERT_EQ(0, history.Open(path, 3));
        EXPECT_NE(worker.host, history.host);
        std::vector<uint8_t> found(2061);
        for (uint32_t id = 1; id <= 30; ++id) {
            std::vector<uint8_t> record = CacheRecord(id, id, id);
            CacheSet& writer = id % 2 ? worker : history;
            CacheSet& reader = id % 2 ? history : worker;
            ASSERT_EQ(0, mgAddRecord(uint16_t(writer.data), record.data())) << id;
            ASSERT_EQ(0, FindByKey(reader.data + 1, CacheRecord(id, 0, 0), found)) << id;
            EXPECT_EQ(record, found);
        }
        EXPECT_EQ(30u, mgRecordCount(uint16_t(worker.data)));
        EXPECT_EQ(30u, mgRecordCount(uint16_t(history.data)));
        CacheSet& first = closeFirst ? history : worker;
        CacheSet& second = closeFirst ? worker : history;
        ASSERT_EQ(0, first.Close());
        // The other opener still works after the first closed its host.
        ASSERT_EQ(0, mgFirstRecord(uint16_t(second.data + 1), found.data()));
        EXPECT_EQ(1u, CacheId(found));
        std::vector<uint8_t> record = CacheRecord(31, 31, 31);
        ASSERT_EQ(0, mgAddRecord(uint16_t(second.data), record.data()));
        mgCheckReport report;
        EXPECT_EQ(0, mgCheckFileSet(uint16_t(second.data), &report)) << report.first;
        ASSERT_EQ(0, second.Close());
    }
}
