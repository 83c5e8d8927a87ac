// The binding's demonstration (isam_check --binding): the banner's "Cache.dat" made from its
// Cache record through mGrovePlus, filled, opened again through a second mGroveFile and
// verified by each of its keys, checked by the engine; then a run cut at a given write, the
// answer of the next open, and the banner's own way out (making the set again) working.
#include <windows.h>

#include <cstdio>
#include <memory>
#include <set>
#include <string>

#include "banner/Cache.h"
#include "cache_set_support.h"
#include "database/iDBDefinition.h"
#include "database/iDBLock.h"
#include "database/mGroveFile.h"
#include "database/mGrovePlus.h"
#include "database/mgCheck.h"
#include "database/mgInstance.h"
#include "database_test_support.h"

using namespace dbtest;

namespace {

constexpr long kInsertBase = 1700000000;

void Fill(Cache& page, long n)
{
    page.Reset(n);
    page.m_insert = kInsertBase + n;
    page.m_update = kInsertBase + 3 * n;
    std::string text = "<BODY>banner page " + std::to_string(n) + "</BODY>";
    (void)page.SetPage(text.data(), unsigned(text.size()));
}

// Lock waits of milliseconds: a session cut by the faulting layer fails every later lock.
void ShortLockWaits()
{
    ScopedDatabaseLock lock;
    mgSetLockWait(3, 1);
}

// The banner's start: open the cache, and when it does not open, make it and open it again.
std::unique_ptr<mGroveFile> OpenAsTheBannerDoes(mGrovePlus& engine, const std::string& path, int* firstAnswer)
{
    std::unique_ptr<mGroveFile> file(new mGroveFile(&engine, "", path.c_str(), 0, Cache::kSize));
    *firstAnswer = file->IsOpen() ? 0 : file->Open("", path.c_str(), 0, Cache::kSize);
    if (file->IsOpen())
        return file;
    Cache record;
    iDBDefinition definition;
    definition.Build(&record);
    int created = engine.CreateFileSet(&definition, path.c_str(), 0);
    definition.Free();
    printf("  the banner makes the set again: CreateFileSet answers %d\n", created);
    file.reset(new mGroveFile(&engine, "", path.c_str(), 0, Cache::kSize));
    return file;
}

// Finds every page by each key and compares it with what was stored; the pages that failed.
int VerifyByEachKey(mGroveFile& file, long pages)
{
    int failures = 0;
    Cache expected;
    Cache probe;
    for (long n = 0; n < pages; ++n) {
        Fill(expected, n);
        for (int key : {Cache::kKeyId, Cache::kKeyInsert, Cache::kKeyUpdate}) {
            probe.Reset(0);
            probe.m_id = key == Cache::kKeyId ? n : 0;
            probe.m_insert = key == Cache::kKeyInsert ? kInsertBase + n : 0;
            probe.m_update = key == Cache::kKeyUpdate ? kInsertBase + 3 * n : 0;
            if (file.FindEqual(probe.Bytes(), key) != 0 || memcmp(probe.Bytes(), expected.Bytes(), Cache::kSize) != 0)
                ++failures;
        }
    }
    return failures;
}

} // namespace

int RunBindingDemonstration(long cutAt, long pages)
{
    bool good = true;
    ScratchFolder folder;
    std::string path = folder.File("Cache.dat");
    printf("isam_check --binding: working in %s\n", folder.Path().c_str());
    {
        mGrovePlus engine(16, 16, 32);
        ShortLockWaits();
        int first = 0;
        std::unique_ptr<mGroveFile> cache = OpenAsTheBannerDoes(engine, path, &first);
        printf("first start: Open answers %d (no cache yet); after making it, IsOpen %d\n", first, cache->IsOpen());
        int added = 0;
        Cache page;
        for (long n = 0; n < pages; ++n) {
            Fill(page, n);
            added += cache->Add(page.Bytes(), 0) == 0 ? 1 : 0;
        }
        printf("filled through mGroveFile: %d of %ld pages added, %ld records counted\n", added, pages,
               cache->GetRecordCount());
        cache->Close();
        std::unique_ptr<mGroveFile> second(new mGroveFile(&engine, "", path.c_str(), 0, Cache::kSize));
        int failures = VerifyByEachKey(*second, pages);
        printf("reopened through a second mGroveFile: IsOpen %d, %ld records; every page found by ID, Insert and "
               "Update with its bytes: %s (%d failures)\n",
               second->IsOpen(), second->GetRecordCount(), failures == 0 ? "yes" : "NO", failures);
        good = good && added == pages && failures == 0 && second->GetRecordCount() == pages;
    }
    {
        Engine engine(16, 16, 32);
        CacheSet set;
        int opened = set.Open(path, 3);
        mgCheckReport report{};
        mgCheckReport hostReport{};
        bool checked = opened == 0 && mgCheckFileSet(uint16_t(set.data), &report) == 0 &&
                       mgCheckHost(set.host, &hostReport) == 0;
        printf("engine's consistency check of the set and its host: %s (%u records; keys %u, %u, %u)%s%s%s\n",
               checked ? "passed" : "FAILED", report.records, report.keys[0], report.keys[1], report.keys[2],
               checked ? "" : ": ", checked ? "" : report.first, checked ? "" : hostReport.first);
        set.Close();
        good = good && checked;
    }

    // A second session of the banner, cut at a write: added pages and a rewritten one.
    long writes = 0;
    {
        FaultyIo io;
        FaultPlan plan;
        plan.cutWriteAt = cutAt;
        plan.cutPrefix = 7;
        io.Plan(plan);
        mGrovePlus engine(16, 16, 32);
        ShortLockWaits();
        std::unique_ptr<mGroveFile> cache(new mGroveFile(&engine, "", path.c_str(), 0, Cache::kSize));
        Cache page;
        int answer = 0;
        for (long n = pages; n < pages + 50 && answer == 0; ++n) {
            Fill(page, n);
            answer = cache->Add(page.Bytes(), 0);
        }
        writes = io.Writes();
        printf("second session cut at write %ld after 7 bytes (the program killed there): the call in flight "
               "answered %d after %ld writes\n",
               cutAt, answer, writes);
    }
    bool consistent = true;
    {
        Engine engine(16, 16, 32);
        CacheSet set;
        int opened = set.Open(path, 3);
        mgCheckReport report{};
        consistent = opened == 0 && mgCheckFileSet(uint16_t(set.data), &report) == 0;
        printf("the engine opens the cut set with %d; its consistency check: %s%s\n", opened,
               opened != 0 ? "not run" : consistent ? "passed" : "FAILED: ", opened == 0 && !consistent ? report.first : "");
        set.Close();
    }
    {
        mGrovePlus engine(16, 16, 32);
        ShortLockWaits();
        int first = 0;
        std::unique_ptr<mGroveFile> cache = OpenAsTheBannerDoes(engine, path, &first);
        printf("next start: Open answers %d%s\n", first,
               first == kMgNotClosedCleanly ? " (the file was left in the middle of a change)" : "");
        bool whole = first == 0 && VerifyByEachKey(*cache, pages) == 0;
        printf("after it: IsOpen %d, %ld records%s\n", cache->IsOpen(), cache->GetRecordCount(),
               first == 0 ? (whole ? ", every page of the first session found" : ", PAGES MISSING") : "");
        Cache page;
        Fill(page, 7);
        int add = cache->Add(page.Bytes(), 0);
        Cache probe;
        probe.Reset(7);
        int find = cache->FindEqual(probe.Bytes(), Cache::kKeyId);
        bool works = cache->IsOpen() && (add == 0 || (first == 0 && add == kMgDuplicateKey)) && find == 0 &&
                     memcmp(probe.Bytes(), page.Bytes(), Cache::kSize) == 0;
        printf("the set works: Add answers %d, FindEqual answers %d with the page's bytes: %s\n", add, find,
               works ? "yes" : "NO");
        good = good && works && (first == kMgNotClosedCleanly || whole);
    }
    printf("isam_check --binding: %s\n", good ? "all verdicts as promised" : "A VERDICT IS NOT AS PROMISED");
    return good ? 0 : 1;
}
