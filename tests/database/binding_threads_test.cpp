// The banner's two threads over one engine: each with a file object of its own on the same
// set, adding, rewriting and reading at once for a few seconds. The binding's lock makes
// every call one step; afterwards the set is consistent and holds every record written.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "binding_test_support.h"
#include "cache_set_support.h"
#include "database/iDBLock.h"
#include "database/mgCheck.h"

using namespace bindtest;

namespace {

struct Worker {
    mGrovePlus* engine = nullptr;
    std::string path;
    long firstId = 0;      // ids firstId, firstId + 2, ...
    DWORD runMs = 0;
    // What the thread last wrote for each id, and what went wrong.
    std::map<long, long> updates;
    std::vector<std::string> failures;
};

void Fail(Worker& w, const std::string& what)
{
    if (w.failures.size() < 20)
        w.failures.push_back(what);
}

DWORD WINAPI RunWorker(void* argument)
{
    Worker& w = *static_cast<Worker*>(argument);
    mGroveFile file(w.engine, "", w.path.c_str(), 0, BannerCache::kSize);
    if (!file.IsOpen()) {
        Fail(w, "open");
        return 0;
    }
    DWORD start = GetTickCount();
    long id = w.firstId;
    for (int round = 0; GetTickCount() - start < w.runMs; ++round, id += 2) {
        // Every key is unique: "Insert" and "Update" are the id when added.
        CacheBytes page = MakeCache(id, id, id, "page " + std::to_string(id));
        if (int answer = file.Add(page.bytes, 0)) {
            Fail(w, "add " + std::to_string(id) + ": " + std::to_string(answer));
            continue;
        }
        w.updates[id] = id;
        // Show an earlier page again: find it by number and rewrite it.
        long earlier = w.firstId + 2 * (round / 2);
        CacheBytes found = MakeCache(earlier, 0, 0);
        if (int answer = file.FindEqual(found.bytes, 0)) {
            Fail(w, "find " + std::to_string(earlier) + ": " + std::to_string(answer));
            continue;
        }
        long shown = 1000000 + 2 * round + w.firstId;
        CacheBytes rewritten = MakeCache(earlier, found.Inserted(), shown, found.Page());
        if (int answer = file.Rewrite(rewritten.bytes, 0)) {
            Fail(w, "rewrite " + std::to_string(earlier) + ": " + std::to_string(answer));
            continue;
        }
        w.updates[earlier] = shown;
        // And read what the other thread wrote, newest first.
        CacheBytes newest;
        int answer = file.Last(newest.bytes, 2);
        if (answer != 0 || newest.Page().compare(0, 5, "page ") != 0)
            Fail(w, "last: " + std::to_string(answer));
    }
    return 0;
}

} // namespace

TEST(FileBindingThreads, TwoThreadsWithObjectsOfTheirOwnShareOneSet)
{
    BindingFolder folder;
    ASSERT_EQ(0, folder.CreateCacheSet("Cache.dat"));
    Worker workers[2];
    HANDLE threads[2];
    for (int i = 0; i < 2; ++i) {
        workers[i].engine = &folder.Engine();
        workers[i].path = folder.File("Cache.dat");
        workers[i].firstId = i;
        workers[i].runMs = 2500;
        threads[i] = CreateThread(nullptr, 0, RunWorker, &workers[i], 0, nullptr);
        ASSERT_NE(nullptr, threads[i]);
    }
    ASSERT_EQ(WAIT_OBJECT_0, WaitForMultipleObjects(2, threads, TRUE, 120000));
    for (HANDLE thread : threads)
        CloseHandle(thread);

    size_t total = 0;
    std::unique_ptr<mGroveFile> cache = folder.OpenCache("Cache.dat");
    ASSERT_EQ(1, cache->IsOpen());
    for (Worker& w : workers) {
        SCOPED_TRACE("thread from id " + std::to_string(w.firstId));
        EXPECT_TRUE(w.failures.empty()) << w.failures.front();
        EXPECT_GT(w.updates.size(), 20u) << "the threads ran";
        for (const auto& entry : w.updates) {
            CacheBytes found = MakeCache(entry.first, 0, 0);
            ASSERT_EQ(0, cache->FindEqual(found.bytes, 0)) << entry.first;
            EXPECT_EQ(entry.second, found.Updated()) << entry.first;
            EXPECT_EQ("page " + std::to_string(entry.first), found.Page());
        }
        total += w.updates.size();
    }
    EXPECT_EQ(long(total), cache->GetRecordCount());
    cache.reset();
    ScopedDatabaseLock lock;
    dbtest::CacheSet set;
    ASSERT_EQ(0, set.Open(folder.File("Cache.dat"), 3));
    mgCheckReport report;
    EXPECT_EQ(0, mgCheckFileSet(uint16_t(set.data), &report)) << report.first;
    EXPECT_EQ(total, report.records);
    EXPECT_EQ(0, mgCheckHost(set.host, &report)) << report.first;
    EXPECT_EQ(0, set.Close());
}
