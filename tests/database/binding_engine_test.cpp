// The engine binding: the engine's list of file objects, creating sets (keeping or
// replacing an existing file, refusing paths whose member names would not fit), recreating
// a set elsewhere from an open one, transactions, and named instances that switch before
// each call, stop only themselves and answer a failed switch.
#include <gtest/gtest.h>

#include "binding_test_support.h"
#include "cache_set_support.h"
#include "database/iDBLock.h"
#include "database/mgInstance.h"

using namespace bindtest;

namespace {

// An engine with nothing of its own: the interface's base behaviour.
class BareEngine : public iDBEngine {
public:
    int CreateFileSet(iDBDefinition*, const char*, int) override { return 0; }
    int RecreateFileSet(iDBFile*, const char*, int, int, int) override { return 0; }
};

std::string CurrentInstance()
{
    ScopedDatabaseLock lock;
    const char* name = mgCurrentInstanceId();
    return name ? name : "";
}

int CreateCacheSetOn(mGrovePlus& engine, const std::string& path, int keepExisting = 0)
{
    BannerCache record;
    iDBDefinition definition;
    definition.Build(&record);
    return engine.CreateFileSet(&definition, path.c_str(), keepExisting);
}

// A named engine with short lock waits.
std::unique_ptr<mGrovePlus> NamedEngine(const char* name)
{
    ScopedDatabaseLock lock;
    std::unique_ptr<mGrovePlus> engine(new mGrovePlus(name, 16, 16, 32));
    mgSetLockWait(3, 1);
    return engine;
}

// Named engines "alpha" and "beta" over a scratch folder, message boxes kept; each has a
// cache set of its own once CreateTheirSets has run.
struct TwoNamedEngines {
    CapturedBoxes boxes;
    dbtest::ScratchFolder folder;
    const std::string alphaSet = folder.File("a.dat");
    const std::string betaSet = folder.File("b.dat");
    std::unique_ptr<mGrovePlus> alpha = NamedEngine("alpha");
    std::unique_ptr<mGrovePlus> beta = NamedEngine("beta");
    void CreateTheirSets()
    {
        ASSERT_EQ(0, CreateCacheSetOn(*alpha, alphaSet));
        ASSERT_EQ(0, CreateCacheSetOn(*beta, betaSet));
    }
};

} // namespace

TEST(DatabaseInterfaces, EngineKeepsItsFileObjectsInOrder)
{
    BindingFolder folder;
    mGrovePlus& engine = folder.Engine();
    // Objects that did not open still register.
    mGroveFile a(&engine, "", nullptr, 0, 0);
    mGroveFile b(&engine, "", nullptr, 0, 0);
    mGroveFile c(&engine, "", nullptr, 0, 0);
    EXPECT_EQ(0, a.IsOpen());
    EXPECT_EQ(&engine, a.GetEngine());
    EXPECT_EQ(nullptr, a.GetPrev());
    EXPECT_EQ(&b, a.GetNext());
    EXPECT_EQ(&a, b.GetPrev());
    EXPECT_EQ(&c, b.GetNext());
    EXPECT_EQ(nullptr, c.GetNext());

    engine.RemoveFile(&b);
    EXPECT_EQ(&c, a.GetNext());
    EXPECT_EQ(&a, c.GetPrev());
    EXPECT_EQ(nullptr, b.GetNext());
    EXPECT_EQ(nullptr, b.GetPrev());
    // A file not in the list, or none, changes nothing.
    engine.RemoveFile(&b);
    engine.RemoveFile(nullptr);
    BareEngine other;
    other.AddFile(&b);
    engine.RemoveFile(&b);
    EXPECT_EQ(&c, a.GetNext());
    EXPECT_EQ(&a, c.GetPrev());
    other.RemoveFile(&b);

    engine.RemoveFile(&a);
    EXPECT_EQ(nullptr, c.GetPrev());
    engine.RemoveFile(&c);
    engine.AddFile(&c);
    engine.AddFile(&a);
    EXPECT_EQ(&a, c.GetNext());
    EXPECT_EQ(&c, a.GetPrev());
    engine.AddFile(&b);
}

TEST(DatabaseInterfaces, BaseEngineAnswersMinusOneToTransactions)
{
    BareEngine engine;
    EXPECT_EQ(0, engine.IsOK());
    EXPECT_EQ(-1, engine.BeginTransaction(0));
    EXPECT_EQ(-1, engine.CommitTransaction());
    EXPECT_EQ(-1, engine.AbortTransaction());
    engine.SetStatus(1);
    EXPECT_EQ(1, engine.IsOK());
}

TEST(EngineBinding, StartsTheDefaultInstanceAndRunsTransactions)
{
    BindingFolder folder;
    mGrovePlus& engine = folder.Engine();
    EXPECT_EQ(1, engine.IsOK());
    EXPECT_EQ(1, engine.IsSuperfileMode());
    EXPECT_EQ("mgREG_DEF_ID", CurrentInstance());
    mgInstanceContext* ctx = engine.GetInstanceContext();
    ASSERT_NE(nullptr, ctx);
    EXPECT_EQ(19, ctx->fileNumbers);

    EXPECT_EQ(1, engine.BeginTransaction(7));
    EXPECT_EQ(0, engine.BeginTransaction(0));
    EXPECT_EQ(kMgTransactionActive, ctx->uerr_cod);
    EXPECT_EQ(0, engine.CommitTransaction());
    EXPECT_EQ(kMgNoTransaction, engine.CommitTransaction());
    EXPECT_EQ(kMgNoTransaction, engine.AbortTransaction());
    EXPECT_EQ(1, engine.BeginTransaction(0));
    EXPECT_EQ(0, engine.AbortTransaction());
}

TEST(EngineBinding, CreatesOverAnExistingFileOnlyWhenToldTo)
{
    BindingFolder folder;
    struct Case {
        const char* why;
        bool directory;
        int keepExisting;
        bool created;
    };
    const Case cases[] = {
        {"an existing file is kept: the engine's create answers for it", false, 1, false},
        {"an existing file is deleted first", false, 0, true},
        {"a folder is not a file: never deleted", true, 0, false},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        std::string path = folder.File("old" + std::to_string(n++) + ".dat");
        if (c.directory)
            ASSERT_TRUE(CreateDirectoryA(path.c_str(), nullptr));
        else
            dbtest::WriteWholeFile(path, {'o', 'l', 'd'});
        int answer = CreateCacheSetOn(folder.Engine(), path, c.keepExisting);
        if (c.created) {
            EXPECT_EQ(0, answer);
            mGroveFile file(&folder.Engine(), "", path.c_str(), 0, BannerCache::kSize);
            EXPECT_EQ(1, file.IsOpen());
        } else {
            EXPECT_NE(0, answer);
            if (c.directory)
                EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(path.c_str()));
            else
                EXPECT_EQ((std::vector<uint8_t>{'o', 'l', 'd'}), dbtest::ReadWholeFile(path));
        }
    }
}

TEST(EngineBinding, RefusesAPathWhoseMemberNamesWouldNotFit)
{
    BindingFolder folder;
    struct Case {
        size_t length;
        bool fits;
    };
    // The data member's name is the path and "!data.dat", and the engine opens a set by a
    // name of at most 254 characters: 245 is the longest path. A cut name would open or
    // delete another file.
    const Case cases[] = {{245, true}, {246, false}, {247, false}, {250, false}, {251, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.length);
        std::string path = folder.Path() + "\\";
        path += std::string(c.length - path.size() - 4, 'n') + ".dat";
        ASSERT_EQ(c.length, path.size());
        dbtest::WriteWholeFile(path, {'k', 'e', 'e', 'p'});
        int answer = CreateCacheSetOn(folder.Engine(), path);
        mGroveFile file(&folder.Engine(), "", path.c_str(), 0, BannerCache::kSize);
        if (c.fits) {
            EXPECT_EQ(0, answer);
            EXPECT_EQ(1, file.IsOpen());
            CacheBytes page = MakeCache(1, 2, 3);
            EXPECT_EQ(0, file.Add(page.bytes, 0));
        } else {
            EXPECT_EQ(-1, answer);
            EXPECT_EQ(-1, file.Open("", path.c_str(), 0, BannerCache::kSize));
            EXPECT_EQ(0, file.IsOpen());
            // Nothing was deleted or made.
            EXPECT_EQ((std::vector<uint8_t>{'k', 'e', 'e', 'p'}), dbtest::ReadWholeFile(path));
        }
        file.Close();
        DeleteFileA(path.c_str());
    }
}

TEST(EngineBinding, RecreatesASetElsewhereFromAnOpenOnesDefinition)
{
    BindingFolder folder;
    ASSERT_EQ(0, folder.CreateCacheSet("Cache.dat"));
    std::unique_ptr<mGroveFile> cache = folder.OpenCache("Cache.dat");
    CacheBytes page = MakeCache(4, 5, 6);
    ASSERT_EQ(0, cache->Add(page.bytes, 0));
    std::string copy = folder.File("Copy.dat");
    ASSERT_EQ(0, folder.Engine().RecreateFileSet(cache.get(), copy.c_str(), 0, 0, 4096));
    {
        mGroveFile made(&folder.Engine(), "", copy.c_str(), 0, BannerCache::kSize);
        ASSERT_EQ(1, made.IsOpen());
        EXPECT_EQ(0, made.GetRecordCount());
        EXPECT_EQ(3, made.GetKeyCount());
        EXPECT_EQ(2060u, made.GetRecordLength());
        ASSERT_EQ(0, made.Add(page.bytes, 0));
        EXPECT_TRUE(HasPage(made, 4));
    }
    {
        ScopedDatabaseLock lock;
        dbtest::CacheSet set;
        ASSERT_EQ(0, set.Open(copy, 3));
        EXPECT_EQ(4096, set.def->dataExtension);
        EXPECT_EQ(4096, set.def->indexExtension);
        set.Close();
    }
    EXPECT_TRUE(HasPage(*cache, 4)) << "the original is untouched";

    // What it cannot recreate from.
    mGroveFile closed(&folder.Engine(), "", nullptr, 0, 0);
    EXPECT_EQ(-1, folder.Engine().RecreateFileSet(nullptr, copy.c_str(), 0, 0, 0));
    EXPECT_EQ(-1, folder.Engine().RecreateFileSet(&closed, copy.c_str(), 0, 0, 0));
    EXPECT_EQ(-1, folder.Engine().RecreateFileSet(cache.get(), (folder.Path() + std::string(250, 'x')).c_str(), 0, 0, 0));
    // With keepExisting the copy stays and the engine's create answers for it.
    EXPECT_NE(0, folder.Engine().RecreateFileSet(cache.get(), copy.c_str(), 1, 0, 0));
    mGroveFile kept(&folder.Engine(), "", copy.c_str(), 0, BannerCache::kSize);
    EXPECT_EQ(1, kept.GetRecordCount());
}

TEST(EngineBinding, NamedEnginesSwitchOnTheFirstCallAfterTheOther)
{
    TwoNamedEngines engines;
    ASSERT_EQ(1, engines.alpha->IsOK());
    ASSERT_EQ(1, engines.beta->IsOK());
    ASSERT_NO_FATAL_FAILURE(engines.CreateTheirSets());
    {
        // Both open on the same file numbers, each in its own instance.
        mGroveFile fa(engines.alpha.get(), "", engines.alphaSet.c_str(), 0, BannerCache::kSize);
        mGroveFile fb(engines.beta.get(), "", engines.betaSet.c_str(), 0, BannerCache::kSize);
        ASSERT_EQ(1, fa.IsOpen());
        ASSERT_EQ(1, fb.IsOpen());
        for (long i = 0; i < 20; ++i) {
            CacheBytes a = MakeCache(i, i, i);
            ASSERT_EQ(0, fa.Add(a.bytes, 0));
            EXPECT_EQ("alpha", CurrentInstance());
            CacheBytes b = MakeCache(100 + i, i, i);
            ASSERT_EQ(0, fb.Add(b.bytes, 0));
            EXPECT_EQ("beta", CurrentInstance());
            EXPECT_TRUE(HasPage(fa, i));
            EXPECT_FALSE(HasPage(fa, 100 + i));
        }
        EXPECT_EQ(20, fa.GetRecordCount());
        EXPECT_EQ(20, fb.GetRecordCount());
        EXPECT_FALSE(HasPage(fb, 3));
        // Transactions run in the current instance: they do not switch.
        EXPECT_EQ(1, engines.alpha->BeginTransaction(0));
        EXPECT_EQ("beta", CurrentInstance());
        EXPECT_EQ(0, engines.beta->CommitTransaction());
    }
    engines.alpha.reset();
    engines.beta.reset();
    EXPECT_EQ("", CurrentInstance());
}

TEST(EngineBinding, DeletingANamedEngineStopsOnlyItsOwnInstance)
{
    TwoNamedEngines engines;
    ASSERT_NO_FATAL_FAILURE(engines.CreateTheirSets());
    std::unique_ptr<mGroveFile> fb(new mGroveFile(engines.beta.get(), "", engines.betaSet.c_str(), 0, 2060));
    {
        mGroveFile fa(engines.alpha.get(), "", engines.alphaSet.c_str(), 0, BannerCache::kSize);
        CacheBytes b = MakeCache(1, 1, 1);
        ASSERT_EQ(0, fb->Add(b.bytes, 0));
        // Alpha is used last: its instance is the engine's current one when it goes.
        CacheBytes a = MakeCache(2, 2, 2);
        ASSERT_EQ(0, fa.Add(a.bytes, 0));
    }
    engines.alpha.reset();
    {
        ScopedDatabaseLock lock;
        EXPECT_EQ(nullptr, mgGetInstanceContext("alpha"));
        ASSERT_NE(nullptr, mgGetInstanceContext("beta"));
        EXPECT_TRUE(mgGetInstanceContext("beta")->started);
    }
    EXPECT_TRUE(HasPage(*fb, 1));
    CacheBytes more = MakeCache(3, 3, 3);
    EXPECT_EQ(0, fb->Add(more.bytes, 0));

    // A new engine under the old name (its context may lie where the old one did).
    std::unique_ptr<mGrovePlus> again = NamedEngine("alpha");
    ASSERT_EQ(1, again->IsOK());
    mGroveFile fa(again.get(), "", engines.alphaSet.c_str(), 0, BannerCache::kSize);
    ASSERT_EQ(1, fa.IsOpen());
    EXPECT_TRUE(HasPage(*fb, 3));
    EXPECT_TRUE(HasPage(fa, 2));
    EXPECT_FALSE(HasPage(fa, 3));
    EXPECT_EQ(2, fb->GetRecordCount());
    EXPECT_EQ(1, fa.GetRecordCount());
    fb.reset();
    engines.beta.reset();
    EXPECT_TRUE(HasPage(fa, 2));
}

TEST(EngineBinding, AFailedSwitchIsTheAnswerAndReachesNoOtherInstance)
{
    TwoNamedEngines engines;
    ASSERT_NO_FATAL_FAILURE(engines.CreateTheirSets());
    std::unique_ptr<mGroveFile> fa(new mGroveFile(engines.alpha.get(), "", engines.alphaSet.c_str(), 0, 2060));
    mGroveFile fb(engines.beta.get(), "", engines.betaSet.c_str(), 0, BannerCache::kSize);
    CacheBytes a = MakeCache(1, 1, 1);
    ASSERT_EQ(0, fa->Add(a.bytes, 0));
    CacheBytes b = MakeCache(100, 1, 1);
    ASSERT_EQ(0, fb.Add(b.bytes, 0));
    // Alpha's instance goes behind the binding's back.
    {
        ScopedDatabaseLock lock;
        ASSERT_EQ(0, mgSwitchInstance("alpha"));
        mgStopIsam();
        ASSERT_EQ(0, mgUnregisterInstance("alpha"));
    }
    CacheBytes other = MakeCache(2, 2, 2);
    EXPECT_EQ(kMgNoSuchInstance, fa->Add(other.bytes, 0));
    CacheBytes probe = MakeCache(100, 0, 0);
    EXPECT_EQ(kMgNoSuchInstance, fa->FindEqual(probe.bytes, 0));
    EXPECT_EQ(0, probe.Inserted()) << "nothing read from beta's set";
    EXPECT_EQ(0, fa->IsOpen());
    EXPECT_EQ(kMgNoSuchInstance, engines.alpha->CreateFileSet(nullptr, "x", 0));
    fa.reset();
    engines.alpha.reset();
    // Beta saw none of it.
    EXPECT_EQ(1, fb.GetRecordCount());
    EXPECT_FALSE(HasPage(fb, 2));
    EXPECT_TRUE(HasPage(fb, 100));
}

TEST(EngineBinding, TwoEnginesOverTheDefaultInstanceShareItWithoutSwitching)
{
    BindingFolder folder;
    std::unique_ptr<mGrovePlus> second(new mGrovePlus(16, 16, 32));
    EXPECT_EQ(0, second->IsOK()) << "the default instance was started already";
    ASSERT_EQ(0, CreateCacheSetOn(*second, folder.File("Cache.dat")));
    {
        mGroveFile viaSecond(second.get(), "", folder.File("Cache.dat").c_str(), 0, BannerCache::kSize);
        mGroveFile viaFirst(&folder.Engine(), "", folder.File("Cache.dat").c_str(), 0, BannerCache::kSize);
        CacheBytes page = MakeCache(5, 5, 5);
        ASSERT_EQ(0, viaSecond.Add(page.bytes, 0));
        EXPECT_TRUE(HasPage(viaFirst, 5));
        EXPECT_EQ("mgREG_DEF_ID", CurrentInstance());
    }
    // The engine that did not start the instance does not stop it.
    second.reset();
    std::unique_ptr<mGroveFile> cache = folder.OpenCache("Cache.dat");
    ASSERT_EQ(1, cache->IsOpen());
    EXPECT_TRUE(HasPage(*cache, 5));
}

TEST(EngineBinding, ANameAlreadyTakenGetsNoInstance)
{
    CapturedBoxes boxes;
    dbtest::ScratchFolder folder;
    std::unique_ptr<mGrovePlus> alpha = NamedEngine("alpha");
    ASSERT_EQ(0, CreateCacheSetOn(*alpha, folder.File("a.dat")));
    mGroveFile fa(alpha.get(), "", folder.File("a.dat").c_str(), 0, BannerCache::kSize);
    {
        std::unique_ptr<mGrovePlus> twin = NamedEngine("alpha");
        EXPECT_EQ(0, twin->IsOK());
        EXPECT_EQ(-1, twin->MakeCurrent());
        EXPECT_EQ(-1, CreateCacheSetOn(*twin, folder.File("t.dat")));
        mGroveFile ft(twin.get(), "", folder.File("a.dat").c_str(), 0, BannerCache::kSize);
        EXPECT_EQ(0, ft.IsOpen());
    }
    // The twin went without stopping or unregistering alpha's instance.
    CacheBytes page = MakeCache(9, 9, 9);
    EXPECT_EQ(0, fa.Add(page.bytes, 0));
    EXPECT_TRUE(HasPage(fa, 9));
}
