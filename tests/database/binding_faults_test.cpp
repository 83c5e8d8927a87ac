// What the file binding refuses or repairs: key numbers outside the keys, calls on a closed
// or detached object, a failed open that must close what it opened, stored records longer
// or shorter than the caller's, a key count that cannot be read under GetPercent, and two
// objects on one set whose files must never be closed or reused under each other.
#include <gtest/gtest.h>

#include <functional>

#include "binding_test_support.h"
#include "cache_set_support.h"
#include "database/iDBLock.h"
#include "database/mgCheck.h"
#include "database/mgFile.h"
#include "database/mgInstance.h"

using namespace bindtest;

namespace {

// Files open in the current instance (members and directories included).
int OpenFileCount()
{
    ScopedDatabaseLock lock;
    mgInstanceContext* ctx = mgCtx();
    int count = 0;
    for (int n = 0; ctx && ctx->files && n < ctx->fileSlots; ++n)
        if (ctx->files[n] && (ctx->files[n]->status == 'y' || ctx->files[n]->status == 'v'))
            ++count;
    return count;
}

// Checks a closed set through the engine: the set and its host are consistent; the count.
void ExpectConsistent(const std::string& path, uint32_t records)
{
    ScopedDatabaseLock lock;
    dbtest::CacheSet set;
    ASSERT_EQ(0, set.Open(path, 3));
    mgCheckReport report;
    EXPECT_EQ(0, mgCheckFileSet(uint16_t(set.data), &report)) << report.first;
    EXPECT_EQ(records, report.records);
    EXPECT_EQ(0, mgCheckHost(set.host, &report)) << report.first;
    EXPECT_EQ(0, set.Close());
}

class FilledCache : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(0, folder.CreateCacheSet("Cache.dat"));
        cache = folder.OpenCache("Cache.dat");
        ASSERT_EQ(1, cache->IsOpen());
        for (long id = 1; id <= 5; ++id) {
            CacheBytes page = MakeCache(id, 10 * id, 100 * id, "page");
            ASSERT_EQ(0, cache->Add(page.bytes, 0));
        }
    }

    BindingFolder folder;
    std::unique_ptr<mGroveFile> cache;
};

// Every record operation, each answering its own way; long answers are widened to int.
struct Operation {
    const char* name;
    std::function<long(mGroveFile&, void*, void*)> call;
};

const std::vector<Operation>& RecordOperations()
{
    static const std::vector<Operation> operations = {
        {"Add", [](mGroveFile& f, void* r, void*) { return long(f.Add(r, 0)); }},
        {"Rewrite", [](mGroveFile& f, void* r, void*) { return long(f.Rewrite(r, 0)); }},
        {"Delete", [](mGroveFile& f, void*, void*) { return long(f.Delete()); }},
        {"FindEqual", [](mGroveFile& f, void* r, void*) { return long(f.FindEqual(r, 0)); }},
        {"FindGreater", [](mGroveFile& f, void* r, void*) { return long(f.FindGreater(r, 0)); }},
        {"FindLessOrEqual", [](mGroveFile& f, void* r, void*) { return long(f.FindLessOrEqual(r, -1)); }},
        {"Next", [](mGroveFile& f, void* r, void*) { return long(f.Next(r)); }},
        {"Previous", [](mGroveFile& f, void* r, void*) { return long(f.Previous(r)); }},
        {"First", [](mGroveFile& f, void* r, void*) { return long(f.First(r, 1)); }},
        {"Last", [](mGroveFile& f, void* r, void*) { return long(f.Last(r, 2)); }},
        {"FirstPhysical", [](mGroveFile& f, void* r, void*) { return long(f.FirstPhysical(r)); }},
        {"ReadAt", [](mGroveFile& f, void* r, void*) { return long(f.ReadAt(2048, r)); }},
        {"ReadAt with a key", [](mGroveFile& f, void* r, void*) { return long(f.ReadAt(2048, r, 0)); }},
        {"GetPosition", [](mGroveFile& f, void*, void*) {
             long position = 77;
             long answer = f.GetPosition(&position);
             return position == 77 ? answer : 1000;
         }},
        {"GetPercent", [](mGroveFile& f, void*, void*) {
             long percent = 77;
             long answer = f.GetPercent(&percent, 0);
             return percent == 77 || percent == 0 ? answer : 1000;
         }},
        {"SeekPercent", [](mGroveFile& f, void* r, void*) { return long(f.SeekPercent(5000, r, 0)); }},
        {"SetKey", [](mGroveFile& f, void*, void*) { return long(f.SetKey(1, 0)); }},
        {"GetRecordCount", [](mGroveFile& f, void*, void*) { return f.GetRecordCount(); }},
        {"GetKeyEntryCount", [](mGroveFile& f, void*, void*) { return f.GetKeyEntryCount(1); }},
        {"CountRange", [](mGroveFile& f, void* r, void* s) { return f.CountRange(r, s, 0); }},
        {"Recreate", [](mGroveFile& f, void*, void*) { return long(f.Recreate()); }},
    };
    return operations;
}

} // namespace

TEST_F(FilledCache, RefusesKeyNumbersOutsideTheKeys)
{
    struct KeyedCall {
        const char* name;
        std::function<long(mGroveFile&, void*, void*, int)> call;
    };
    const KeyedCall calls[] = {
        {"FindEqual", [](mGroveFile& f, void* r, void*, int k) { return long(f.FindEqual(r, k)); }},
        {"FindGreater", [](mGroveFile& f, void* r, void*, int k) { return long(f.FindGreater(r, k)); }},
        {"FindGreaterOrEqual", [](mGroveFile& f, void* r, void*, int k) { return long(f.FindGreaterOrEqual(r, k)); }},
        {"FindLess", [](mGroveFile& f, void* r, void*, int k) { return long(f.FindLess(r, k)); }},
        {"FindLessOrEqual", [](mGroveFile& f, void* r, void*, int k) { return long(f.FindLessOrEqual(r, k)); }},
        {"First", [](mGroveFile& f, void* r, void*, int k) { return long(f.First(r, k)); }},
        {"Last", [](mGroveFile& f, void* r, void*, int k) { return long(f.Last(r, k)); }},
        {"ReadAt", [](mGroveFile& f, void* r, void*, int k) { return long(f.ReadAt(f.GetPosition(), r, k)); }},
        {"GetPercent", [](mGroveFile& f, void*, void*, int k) {
             long percent = 0;
             return long(f.GetPercent(&percent, k));
         }},
        {"SeekPercent", [](mGroveFile& f, void* r, void*, int k) { return long(f.SeekPercent(5000, r, k)); }},
        {"SetKey", [](mGroveFile& f, void*, void*, int k) { return long(f.SetKey(k, 0)); }},
        {"CountRange", [](mGroveFile& f, void* r, void* s, int k) { return f.CountRange(r, s, k); }},
        {"GetKeyEntryCount", [](mGroveFile& f, void*, void*, int k) { return f.GetKeyEntryCount(k); }},
    };
    CacheBytes current = MakeCache(3, 0, 0);
    ASSERT_EQ(0, cache->FindEqual(current.bytes, 0));
    ASSERT_EQ(0, cache->SetKey(2, 0));
    for (const KeyedCall& c : calls) {
        for (int key : {-2, 3, 1000}) {
            SCOPED_TRACE(std::string(c.name) + " with key " + std::to_string(key));
            CacheBytes record = MakeCache(4, 0, 0);
            CacheBytes other = MakeCache(5, 0, 0);
            EXPECT_EQ(-1, c.call(*cache, record.bytes, other.bytes, key));
            EXPECT_EQ(4, record.Id()) << "the caller's record is untouched";
            EXPECT_EQ(2, cache->GetKey()) << "the current key is unchanged";
        }
    }
    // -1 is refused where it does not stand for the current key.
    CacheBytes record = MakeCache(4, 0, 0);
    EXPECT_EQ(-1, cache->ReadAt(cache->GetPosition(), record.bytes, -1));
    EXPECT_EQ(-1, cache->SetKey(-1, 0));
    // The current record is still 3: the next in "Update" order is 4.
    ASSERT_EQ(0, cache->Next(record.bytes));
    EXPECT_EQ(4, record.Id());
}

TEST_F(FilledCache, AClosedObjectRefusesEveryRecordOperation)
{
    ASSERT_EQ(0, cache->Close());
    EXPECT_EQ(-1, cache->Close()) << "closing twice";
    for (const Operation& op : RecordOperations()) {
        SCOPED_TRACE(op.name);
        CacheBytes record = MakeCache(6, 6, 6);
        CacheBytes other = MakeCache(7, 7, 7);
        EXPECT_EQ(-1, op.call(*cache, record.bytes, other.bytes));
        EXPECT_EQ(0, memcmp(MakeCache(6, 6, 6).bytes, record.bytes, BannerCache::kSize));
    }
    EXPECT_EQ(0, cache->GetPosition());
    EXPECT_EQ(nullptr, cache->SetRecordLength(100));
    EXPECT_EQ(unsigned(-1), cache->GetRecordLength());
    EXPECT_EQ(-1, cache->GetKeyCount());
    EXPECT_EQ(0, cache->IsOpen());
    cache.reset();
    // Nothing reached the set.
    ExpectConsistent(folder.File("Cache.dat"), 5);
}

TEST_F(FilledCache, AnObjectOutlivingItsEngineIsDetached)
{
    folder.DeleteEngine();
    EXPECT_EQ(nullptr, cache->GetEngine());
    EXPECT_EQ(0, cache->IsOpen());
    EXPECT_EQ(nullptr, cache->GetNext());
    for (const Operation& op : RecordOperations()) {
        SCOPED_TRACE(op.name);
        CacheBytes record = MakeCache(6, 6, 6);
        CacheBytes other = MakeCache(7, 7, 7);
        EXPECT_EQ(-1, op.call(*cache, record.bytes, other.bytes));
    }
    EXPECT_EQ(-1, cache->Close());
    EXPECT_EQ(-1, cache->Flush());
    EXPECT_EQ(nullptr, cache->Clone());
    EXPECT_EQ(-1, cache->Open("", folder.File("Cache.dat").c_str(), 0, 2060));
    // Its files were closed cleanly while the instance ran: the set opens whole.
    std::unique_ptr<mGrovePlus> engine(new mGrovePlus(16, 16, 32));
    {
        mGroveFile again(engine.get(), "", folder.File("Cache.dat").c_str(), 0, BannerCache::kSize);
        ASSERT_EQ(1, again.IsOpen());
        EXPECT_EQ(5, again.GetRecordCount());
    }
    cache.reset();
    engine.reset();
}

TEST(FileBindingFaults, AFailedOpenClosesWhatItOpened)
{
    BindingFolder folder;
    std::string path = folder.File("Cache.dat");
    // A host without its data member.
    {
        ScopedDatabaseLock lock;
        int host = mgFindFreeFileNumbers(2);
        ASSERT_EQ(0, mgCreateDataFile(host, path.c_str(), 0, 0, 0x202));
        ASSERT_EQ(0, mgCloseFile(host, 0));
    }
    int before = OpenFileCount();
    std::unique_ptr<mGroveFile> cache = folder.OpenCache("Cache.dat");
    EXPECT_EQ(0, cache->IsOpen());
    EXPECT_EQ(before, OpenFileCount()) << "the host and its directory were closed again";
    int answer = cache->Open("", path.c_str(), 0, 2060);
    EXPECT_NE(0, answer);
    EXPECT_NE(-1, answer) << "the engine's code";
    EXPECT_EQ(before, OpenFileCount());
    // The banner's next step: create the set anew over the file, and open it.
    ASSERT_EQ(0, folder.CreateCacheSet("Cache.dat"));
    ASSERT_EQ(0, cache->Open("", path.c_str(), 0, 2060));
    EXPECT_EQ(1, cache->IsOpen());
    EXPECT_EQ(0, cache->GetRecordCount());
    EXPECT_EQ(-1, cache->Open("", path.c_str(), 0, 2060)) << "one set at a time";
}

TEST(FileBindingFaults, ADamagedHostIsAnErrorNotACrash)
{
    BindingFolder folder;
    ASSERT_EQ(0, folder.CreateCacheSet("Cache.dat"));
    {
        std::unique_ptr<mGroveFile> cache = folder.OpenCache("Cache.dat");
        CacheBytes page = MakeCache(1, 2, 3);
        ASSERT_EQ(0, cache->Add(page.bytes, 0));
    }
    std::string path = folder.File("Cache.dat");
    std::vector<uint8_t> whole = dbtest::ReadWholeFile(path);
    struct Damage {
        const char* why;
        size_t offset;
        size_t length;
        uint8_t value;
        bool truncate;
    };
    const Damage damages[] = {
        {"a header of noise", 0, 128, 0x5A, false},
        {"the file cut after its header", 128, 0, 0, true},
        {"an empty file", 0, 0, 0, true},
        {"everything after the header noise", 128, size_t(-1) / 2, 0x5A, false},
    };
    for (const Damage& d : damages) {
        SCOPED_TRACE(d.why);
        std::vector<uint8_t> bytes = whole;
        if (d.truncate)
            bytes.resize(d.offset);
        else
            for (size_t i = d.offset; i < d.offset + d.length && i < bytes.size(); ++i)
                bytes[i] = d.value;
        dbtest::WriteWholeFile(path, bytes);
        int before = OpenFileCount();
        std::unique_ptr<mGroveFile> cache = folder.OpenCache("Cache.dat");
        EXPECT_EQ(0, cache->IsOpen());
        EXPECT_EQ(before, OpenFileCount());
        CacheBytes probe = MakeCache(1, 0, 0);
        EXPECT_EQ(-1, cache->FindEqual(probe.bytes, 0));
    }
}

TEST(FileBindingFaults, StoredRecordsLongerThanTheCallersAreCutNeverOverrun)
{
    BindingFolder folder;
    // A set of 3000-byte records keyed by a long at 0: an older or foreign "Cache.dat".
    TestRecord wide(3000);
    auto& id = wide.Keep(new iType::TType<long>(wide.Bytes(), 0, "id", nullptr));
    wide.AddKey(0, {{&id, 0}});
    iDBDefinition definition;
    definition.Build(&wide);
    std::string path = folder.File("Cache.dat");
    ASSERT_EQ(0, folder.Engine().CreateFileSet(&definition, path.c_str(), 0));
    std::vector<uint8_t> stored(3000);
    for (size_t i = 0; i < stored.size(); ++i)
        stored[i] = uint8_t(i * 7 + 1);
    stored[0] = 1, stored[1] = stored[2] = stored[3] = 0;
    {
        mGroveFile full(&folder.Engine(), "", path.c_str(), 0, 3000);
        ASSERT_EQ(0, full.Add(stored.data(), 0));
    }

    // The banner's 2060 bytes, with a guard behind them.
    std::vector<uint8_t> buffer(2060 + 64, 0xCC);
    mGroveFile narrow(&folder.Engine(), "", path.c_str(), 0, 2060);
    ASSERT_EQ(1, narrow.IsOpen());
    EXPECT_EQ(3000u, narrow.GetRecordLength());
    memset(buffer.data(), 0, 4);
    buffer[0] = 1;
    ASSERT_EQ(0, narrow.FindEqual(buffer.data(), 0));
    EXPECT_EQ(0, memcmp(stored.data(), buffer.data(), 2060));
    EXPECT_EQ(std::vector<uint8_t>(64, 0xCC), std::vector<uint8_t>(buffer.begin() + 2060, buffer.end()))
        << "nothing written past the caller's record";

    // A write takes the caller's bytes only; the rest of the stored record is zero.
    buffer[0] = 2;
    ASSERT_EQ(0, narrow.Add(buffer.data(), 0));
    EXPECT_EQ(std::vector<uint8_t>(64, 0xCC), std::vector<uint8_t>(buffer.begin() + 2060, buffer.end()));
    {
        mGroveFile full(&folder.Engine(), "", path.c_str(), 0, 3000);
        std::vector<uint8_t> read(3000, 0x11);
        read[0] = 2, read[1] = read[2] = read[3] = 0;
        ASSERT_EQ(0, full.FindEqual(read.data(), 0));
        EXPECT_EQ(0, memcmp(buffer.data(), read.data(), 2060));
        EXPECT_EQ(std::vector<uint8_t>(940, 0), std::vector<uint8_t>(read.begin() + 2060, read.end()));
    }

    // A caller that says its record is shorter still (SetRecordLength) gets no more.
    ASSERT_NE(nullptr, narrow.SetRecordLength(16));
    std::vector<uint8_t> small(16 + 64, 0xCC);
    memset(small.data(), 0, 4);
    small[0] = 1;
    ASSERT_EQ(0, narrow.FindEqual(small.data(), 0));
    EXPECT_EQ(0, memcmp(stored.data(), small.data(), 16));
    EXPECT_EQ(std::vector<uint8_t>(64, 0xCC), std::vector<uint8_t>(small.begin() + 16, small.end()));
}

TEST(FileBindingFaults, ACallersLongerRecordKeepsItsTail)
{
    BindingFolder folder;
    ASSERT_EQ(0, folder.CreateCacheSet("Cache.dat"));
    std::unique_ptr<mGroveFile> cache = folder.OpenCache("Cache.dat", 3000);
    ASSERT_EQ(1, cache->IsOpen());
    std::vector<uint8_t> record(3000, 0x77);
    CacheBytes page = MakeCache(8, 8, 8, "eight");
    memcpy(record.data(), page.bytes, BannerCache::kSize);
    ASSERT_EQ(0, cache->Add(record.data(), 0));
    std::vector<uint8_t> read(3000, 0x33);
    memcpy(read.data(), MakeCache(8, 0, 0).bytes, BannerCache::kSize);
    ASSERT_EQ(0, cache->FindEqual(read.data(), 0));
    EXPECT_EQ(0, memcmp(page.bytes, read.data(), BannerCache::kSize));
    EXPECT_EQ(std::vector<uint8_t>(940, 0x33), std::vector<uint8_t>(read.begin() + 2060, read.end()));
}

TEST(FileBindingFaults, AKeyCountThatCannotBeReadGivesNoPercentage)
{
    BindingFolder folder;
    ASSERT_EQ(0, folder.CreateCacheSet("Cache.dat"));
    // Not shared: the count is taken from the header in memory, which the test empties.
    mGroveFile cache(&folder.Engine(), "", folder.File("Cache.dat").c_str(), kGroveNotShared, BannerCache::kSize);
    ASSERT_EQ(1, cache.IsOpen());
    for (long id = 1; id <= 40; ++id) {
        CacheBytes page = MakeCache(id, id, id);
        ASSERT_EQ(0, cache.Add(page.bytes, 0));
    }
    {
        ScopedDatabaseLock lock;
        mgInstanceContext* ctx = mgCtx();
        bool emptied = false;
        for (int n = 0; n < ctx->fileSlots; ++n) {
            mgFileControl* f = ctx->files[n];
            std::string name = f && f->status == 'y' ? f->name : "";
            if (name.find("!001") != std::string::npos) {
                mgSetH32(f, kHdrEntryCount, 0);
                emptied = true;
            }
        }
        ASSERT_TRUE(emptied);
    }
    CacheBytes current = MakeCache(20, 0, 0);
    ASSERT_EQ(0, cache.FindEqual(current.bytes, 0));
    long percent = 55;
    EXPECT_EQ(-1, cache.GetPercent(&percent, 1));
    EXPECT_EQ(0, percent);
    ASSERT_EQ(0, cache.Next(current.bytes));
    EXPECT_EQ(21, current.Id()) << "the current record stayed";
    EXPECT_EQ(0, cache.GetPercent(&percent, 0)) << "another key still answers";
    EXPECT_NEAR(5000, percent, 300);
}

TEST(FileBindingFaults, TwoObjectsOnOneSetNeverCloseOrReuseEachOthersFiles)
{
    for (int workerFirst = 0; workerFirst < 2; ++workerFirst) {
        SCOPED_TRACE(workerFirst ? "the worker's object closes first" : "the history's object closes first");
        BindingFolder folder;
        ASSERT_EQ(0, folder.CreateCacheSet("Cache.dat"));
        ASSERT_EQ(0, folder.CreateCacheSet("Other.dat"));
        std::unique_ptr<mGroveFile> worker = folder.OpenCache("Cache.dat");
        std::unique_ptr<mGroveFile> history = folder.OpenCache("Cache.dat");
        ASSERT_EQ(1, worker->IsOpen());
        ASSERT_EQ(1, history->IsOpen());
        for (long id = 1; id <= 20; ++id) {
            CacheBytes page = MakeCache(id, id, id);
            ASSERT_EQ(0, (id % 2 ? worker : history)->Add(page.bytes, 0)) << id;
            EXPECT_TRUE(HasPage(id % 2 ? *history : *worker, id)) << id;
        }
        std::unique_ptr<mGroveFile>& first = workerFirst ? worker : history;
        std::unique_ptr<mGroveFile>& second = workerFirst ? history : worker;
        first.reset();
        // A third set takes the numbers the closed object gave back.
        std::unique_ptr<mGroveFile> other = folder.OpenCache("Other.dat");
        ASSERT_EQ(1, other->IsOpen());
        CacheBytes foreign = MakeCache(500, 1, 1);
        ASSERT_EQ(0, other->Add(foreign.bytes, 0));

        ASSERT_EQ(1, second->IsOpen());
        for (long id = 21; id <= 30; ++id) {
            CacheBytes page = MakeCache(id, id, id);
            ASSERT_EQ(0, second->Add(page.bytes, 0)) << id;
        }
        EXPECT_EQ(30, second->GetRecordCount());
        EXPECT_TRUE(HasPage(*second, 3));
        EXPECT_FALSE(HasPage(*second, 500));
        EXPECT_EQ(1, other->GetRecordCount());
        EXPECT_FALSE(HasPage(*other, 3));
        second.reset();
        other.reset();
        ExpectConsistent(folder.File("Cache.dat"), 30);
        ExpectConsistent(folder.File("Other.dat"), 1);
    }
}

TEST(FileBindingFaults, AnObjectWhoseFilesWereClosedUnderItReachesNoOtherFile)
{
    BindingFolder folder;
    ASSERT_EQ(0, folder.CreateCacheSet("Cache.dat"));
    ASSERT_EQ(0, folder.CreateCacheSet("Other.dat"));
    std::unique_ptr<mGroveFile> cache = folder.OpenCache("Cache.dat");
    CacheBytes page = MakeCache(1, 1, 1);
    ASSERT_EQ(0, cache->Add(page.bytes, 0));
    {
        ScopedDatabaseLock lock;
        ASSERT_EQ(0, mgCloseAllFiles());
    }
    // The same numbers now carry another set.
    std::unique_ptr<mGroveFile> other = folder.OpenCache("Other.dat");
    ASSERT_EQ(1, other->IsOpen());
    EXPECT_EQ(0, cache->IsOpen());
    CacheBytes more = MakeCache(2, 2, 2);
    EXPECT_EQ(kMgFileNotOpen, cache->Add(more.bytes, 0));
    CacheBytes probe = MakeCache(1, 0, 0);
    EXPECT_EQ(kMgFileNotOpen, cache->FindEqual(probe.bytes, 0));
    EXPECT_EQ(-1, cache->GetRecordCount());
    EXPECT_EQ(kMgFileNotOpen, cache->Close());
    cache.reset();
    EXPECT_EQ(0, other->GetRecordCount());
    EXPECT_EQ(1, other->IsOpen());
}
