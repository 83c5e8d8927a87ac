// A named engine deleted while another engine's instance is the current one: it stops its
// own instance, not the current one.
#include <gtest/gtest.h>

#include "binding_test_support.h"
#include "database/iDBLock.h"
#include "database/mgInstance.h"

namespace namedengines {

using bindtest::BannerCache;
using bindtest::CacheBytes;
using bindtest::MakeCache;

std::unique_ptr<mGrovePlus> StartNamed(const char* name)
{
    ScopedDatabaseLock lock;
    std::unique_ptr<mGrovePlus> engine(new mGrovePlus(name, 16, 16, 32));
    mgSetLockWait(3, 1);
    return engine;
}

int CreateSet(mGrovePlus& engine, const std::string& path)
{
    BannerCache record;
    iDBDefinition definition;
    definition.Build(&record);
    return engine.CreateFileSet(&definition, path.c_str(), 0);
}

TEST(NamedEngineLife, DeletedWhileAnotherIsCurrentItStopsOnlyItsOwnInstance)
{
    bindtest::CapturedBoxes boxes;
    dbtest::ScratchFolder folder;
    std::unique_ptr<mGrovePlus> alpha = StartNamed("alpha");
    std::unique_ptr<mGrovePlus> beta = StartNamed("beta");
    ASSERT_EQ(0, CreateSet(*alpha, folder.File("a.dat")));
    ASSERT_EQ(0, CreateSet(*beta, folder.File("b.dat")));
    {
        mGroveFile fa(alpha.get(), "", folder.File("a.dat").c_str(), 0, BannerCache::kSize);
        CacheBytes a = MakeCache(1, 1, 1);
        ASSERT_EQ(0, fa.Add(a.bytes, 0));
    }
    mGroveFile fb(beta.get(), "", folder.File("b.dat").c_str(), 0, BannerCache::kSize);
    CacheBytes b = MakeCache(2, 2, 2);
    // Beta is used last: its instance is the current one when alpha goes.
    ASSERT_EQ(0, fb.Add(b.bytes, 0));
    alpha.reset();
    {
        ScopedDatabaseLock lock;
        EXPECT_EQ(nullptr, mgGetInstanceContext("alpha"));
        ASSERT_NE(nullptr, mgGetInstanceContext("beta"));
        EXPECT_TRUE(mgGetInstanceContext("beta")->started);
    }
    EXPECT_EQ(1, fb.IsOpen());
    EXPECT_TRUE(bindtest::HasPage(fb, 2));
    CacheBytes more = MakeCache(3, 3, 3);
    EXPECT_EQ(0, fb.Add(more.bytes, 0));
    EXPECT_EQ(2, fb.GetRecordCount());
}

} // namespace namedengines
