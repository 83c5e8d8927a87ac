// The engine's smaller layers through their own calls: instances and their start, the
// transactions and the ISAM lock mode, resources found by type, number, name and order,
// a file that asks for its mirror, and the operating-system layer's names, drive classes
// and system classes.
#include <gtest/gtest.h>

#include <cstring>

#include "cache_set_support.h"
#include "database/mgBytes.h"
#include "database/mgFile.h"
#include "database/mgFileSet.h"
#include "database/mgInstance.h"
#include "database/mgLock.h"
#include "database/mgOs.h"
#include "database/mgRecord.h"
#include "database/mgResource.h"
#include "database/mgRuntime.h"
#include "database_test_support.h"

using namespace dbtest;

namespace {

using Bytes = std::vector<uint8_t>;

TEST(Instances, RegisterSwitchAndUnregisterByName)
{
    ScratchFolder folder;
    EXPECT_EQ(kMgNoInstance, mgSwitchInstance("B"));
    EXPECT_EQ(nullptr, mgCurrentInstanceId());
    ASSERT_EQ(0, mgRegisterInstance("A"));
    ASSERT_EQ(0, mgRegisterInstance("B"));
    EXPECT_STREQ("B", mgCurrentInstanceId());
    EXPECT_EQ(kMgInstanceExists, mgRegisterInstance("A"));
    EXPECT_STREQ("B", mgCurrentInstanceId()) << "a refused registration keeps the current instance";
    EXPECT_EQ(kMgNoSuchInstance, mgSwitchInstance("C"));
    EXPECT_EQ(kMgNoSuchInstance, mgSwitchInstance("a")) << "names are case-sensitive";
    EXPECT_STREQ("B", mgCurrentInstanceId());
    std::string forty(40, 'n');
    ASSERT_EQ(0, mgRegisterInstance(forty.c_str()));
    EXPECT_EQ(std::string(31, 'n'), mgCurrentInstanceId()) << "names are cut at 31 characters";
    EXPECT_EQ(kMgNoSuchInstance, mgSwitchInstance(forty.c_str()));
    EXPECT_EQ(0, mgUnregisterInstance(std::string(31, 'n').c_str()));
    // Unregistering the current instance makes its ring predecessor current.
    ASSERT_EQ(0, mgSwitchInstance("A"));
    EXPECT_EQ(0, mgUnregisterInstance("A"));
    EXPECT_NE(nullptr, mgCurrentInstanceId());
    EXPECT_EQ(nullptr, mgGetInstanceContext("A"));
    ASSERT_NE(nullptr, mgGetInstanceContext("B"));
    EXPECT_EQ(0, mgUnregisterInstance("B"));
    EXPECT_EQ(nullptr, mgCurrentInstanceId());
    EXPECT_EQ(kMgNoInstance, mgUnregisterInstance("B"));
}

TEST(Instances, StartRefusesBadCountsAndSizesItsTables)
{
    ScratchFolder folder;
    struct Case {
        const char* why;
        int files;
        int sectors;
        int16_t answer;
    };
    const Case cases[] = {
        {"more than 1024 files", 1025, 32, int16_t(kMgTooManyFiles)},
        {"more than 1021 files", 1022, 32, int16_t(kMgTooManyFilesLimit)},
        {"negative files", -1, 32, int16_t(kMgBadStartCount)},
        {"no sectors", 16, 0, int16_t(kMgBadStartCount)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(c.answer, mgInitIsam(16, c.files, c.sectors));
        mgStopIsam();
        while (mgCurrentInstanceId())
            mgUnregisterInstance(mgCurrentInstanceId());
    }
    ASSERT_EQ(0, mgInitIsam(16, 16, 32));
    EXPECT_STREQ(kMgDefaultInstance, mgCurrentInstanceId());
    EXPECT_EQ(19, mgCtx()->fileNumbers);
    EXPECT_EQ(4096, mgCtx()->nodeSize);
    EXPECT_EQ(kMgAlreadyStarted, mgInitIsam(16, 16, 32));
    EXPECT_EQ(0, mgStopIsam());
    EXPECT_EQ(nullptr, mgCurrentInstanceId()) << "the default instance goes with its stop";
    EXPECT_EQ(0, mgStopIsam());
    // A named instance that was never started stops with 0 and stays registered.
    ASSERT_EQ(0, mgRegisterInstance("idle"));
    EXPECT_EQ(0, mgStopIsam());
    EXPECT_EQ(0, mgCtx()->uerr_cod);
    EXPECT_STREQ("idle", mgCurrentInstanceId());
    EXPECT_EQ(0, mgUnregisterInstance("idle"));
}

// A set with one record, opened shared, for the lock tests.
struct LockedSet {
    CacheSet set;
    uint32_t first = 0;
    uint32_t second = 0;
    explicit LockedSet(const std::string& path)
    {
        EXPECT_EQ(0, CreateCacheSet(path));
        EXPECT_EQ(0, set.Open(path, 3));
        for (uint32_t id : {1u, 2u}) {
            Bytes record = CacheRecord(id, id, id);
            EXPECT_EQ(0, mgAddRecord(uint16_t(set.data), record.data()));
            (id == 1 ? first : second) = mgCurrentPosition(uint16_t(set.data));
        }
        mgLockRecord(set.data, kMgLockReleaseFile, 0);
    }
    ~LockedSet()
    {
        set.Close();
    }
    bool Locked(uint32_t position) const
    {
        return mgTestLock(set.data, kMgKindWrite, position) == 0;
    }
};

TEST(Transactions, BeginCommitAndAbortByTheirModes)
{
    ScratchFolder folder;
    Engine engine;
    EXPECT_EQ(1, mgBeginTransaction(48)) << "mode 48 selects no lock mode";
    EXPECT_EQ(0, mgCtx()->lockMode);
    EXPECT_EQ(0, mgBeginTransaction(48));
    EXPECT_EQ(kMgTransactionActive, mgCtx()->uerr_cod);
    EXPECT_EQ(0, mgCommitTransaction(0));
    EXPECT_EQ(kMgNoTransaction, mgCommitTransaction(0));
    EXPECT_EQ(kMgNoTransaction, mgAbortTransaction());
    EXPECT_EQ(1, mgBeginTransaction(5));
    EXPECT_EQ(11, mgCtx()->lockMode) << "mode 5 selects lock mode 11";
    EXPECT_EQ(0, mgAbortTransaction());
    EXPECT_EQ(0, mgCtx()->lockMode) << "an abort clears the lock mode";
    ASSERT_EQ(0, mgSetIsamLockMode(2));
    EXPECT_EQ(-2, mgSetIsamLockMode(128));
    ASSERT_EQ(0, mgSetIsamLockMode(0));
}

TEST(Transactions, CommitReleasesTheLocksItsModeNames)
{
    struct Case {
        const char* why;
        uint16_t mode;
        bool keepsInside;
        bool keepsOutside;
    };
    const Case cases[] = {
        {"mode 0 releases every lock", 0, false, false},
        {"mode 41 releases the locks taken inside", 41, false, true},
        {"mode 42 keeps only the locks taken outside", 42, false, true},
        {"another mode releases nothing", 7, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        ScratchFolder folder;
        Engine engine;
        LockedSet locked(folder.File("Cache.dat"));
        ASSERT_EQ(0, mgLockRecord(locked.set.data, kMgLockWriteNoWait, locked.first));
        ASSERT_EQ(1, mgBeginTransaction(48));
        ASSERT_EQ(0, mgLockRecord(locked.set.data, kMgLockWriteNoWait, locked.second));
        ASSERT_EQ(0, mgCommitTransaction(c.mode));
        EXPECT_EQ(c.keepsOutside, locked.Locked(locked.first));
        EXPECT_EQ(c.keepsInside, locked.Locked(locked.second));
    }
}

TEST(Transactions, TheLockModeDoesNotChangeWhileLocksAreHeld)
{
    ScratchFolder folder;
    Engine engine;
    LockedSet locked(folder.File("Cache.dat"));
    ASSERT_EQ(1, mgBeginTransaction(2));
    Bytes found(2061);
    ASSERT_EQ(0, mgFirstRecord(uint16_t(locked.set.data + 1), found.data()));
    EXPECT_TRUE(locked.Locked(locked.first)) << "a read in lock mode 2 write-locks its record";
    // Between locking modes the change is at once; to a new locking mode from none it is not.
    EXPECT_EQ(0, mgSetIsamLockMode(4));
    EXPECT_EQ(0, mgSetIsamLockMode(5)) << "suspended";
    EXPECT_EQ(5, mgCtx()->lockMode);
    EXPECT_EQ(0, mgSetIsamLockMode(8));
    EXPECT_EQ(3, mgCtx()->lockMode) << "8 resumes as 3";
    EXPECT_EQ(0, mgSetIsamLockMode(0)) << "mode 0 releases what is held";
    EXPECT_FALSE(locked.Locked(locked.first));
    EXPECT_EQ(0, mgCommitTransaction(0));
    ASSERT_EQ(1, mgBeginTransaction(48));
    ASSERT_EQ(0, mgLockRecord(locked.set.data, kMgLockWriteNoWait, locked.second));
    EXPECT_EQ(kMgLocksHeld, mgSetIsamLockMode(2));
    EXPECT_EQ(kMgLocksHeld, mgCtx()->isam_code);
    EXPECT_EQ(0, mgAbortTransaction());
    EXPECT_EQ(0, mgSetIsamLockMode(2));
    EXPECT_EQ(0, mgSetIsamLockMode(0));
}

TEST(Resources, FoundByTypeNumberNameAndOrder)
{
    ScratchFolder folder;
    Engine engine;
    SetDefinition set = TwoIndexSet(folder.File("res"), 64, 0);
    ASSERT_EQ(0, mgCreateFileSet(set.Build()));
    int data = set.def.setFileNumber;
    struct Added {
        uint32_t type;
        uint32_t number;
        const char* name;
    };
    const Added added[] = {{30, 2, "thirty-two"}, {30, 1, "thirty-one"}, {25, 9, "twenty-five"}};
    for (const Added& a : added) {
        Bytes resource(8 + 32, 0);
        mgPut32(resource.data(), a.type);
        mgPut32(resource.data() + 4, a.number);
        strcpy(reinterpret_cast<char*>(resource.data() + 8), a.name);
        ASSERT_EQ(0, mgAddResource(data, resource.data(), uint32_t(resource.size())));
    }
    Bytes twice(8 + 4, 0);
    mgPut32(twice.data(), 30);
    mgPut32(twice.data() + 4, 1);
    EXPECT_EQ(kMgResourceExists, mgAddResource(data, twice.data(), uint32_t(twice.size())));
    // The next number of a type.
    Bytes next(8 + 8, 0);
    mgPut32(next.data(), 30);
    mgPut32(next.data() + 4, kMgNextNumber);
    ASSERT_EQ(0, mgAddResource(data, next.data(), uint32_t(next.size())));
    EXPECT_EQ(3u, mgGet32(next.data() + 4));

    Bytes buffer(64);
    uint32_t length = 0;
    uint8_t key[8];
    mgPut32(key, 30);
    mgPut32(key + 4, 1);
    EXPECT_NE(0u, mgGetResource(data, key, buffer.data(), 64, kMgFindTypeNumber, &length));
    EXPECT_EQ(40u, length);
    EXPECT_STREQ("thirty-one", reinterpret_cast<char*>(buffer.data() + 8));
    EXPECT_NE(0u, mgGetResource(data, key, buffer.data(), 64, kMgFindType, &length));
    EXPECT_EQ(1u, mgGet32(buffer.data() + 4)) << "the first of its type";
    EXPECT_NE(0u, mgGetResource(data, "twenty-five", buffer.data(), 64, kMgFindName, &length));
    EXPECT_EQ(25u, mgGet32(buffer.data()));
    // Walking in (type, number) order after the definition of type 0.
    std::vector<std::pair<uint32_t, uint32_t>> order;
    mgPut32(key, 0);
    mgPut32(key + 4, 1);
    while (mgGetResource(data, key, buffer.data(), 64, kMgFindNext, &length) != 0 && order.size() < 10) {
        order.emplace_back(mgGet32(buffer.data()), mgGet32(buffer.data() + 4));
        memcpy(key, buffer.data(), 8);
    }
    EXPECT_EQ((std::vector<std::pair<uint32_t, uint32_t>>{{25, 9}, {30, 1}, {30, 2}, {30, 3}}), order);
    // Too small a buffer: truncated, and the length told.
    mgPut32(key, 30);
    mgPut32(key + 4, 2);
    EXPECT_EQ(0u, mgGetResource(data, key, buffer.data(), 12, kMgFindTypeNumber, &length));
    EXPECT_EQ(kMgResourceTruncated, mgCtx()->uerr_cod);
    EXPECT_EQ(40u, length);
    // Update to a larger size, delete, and the errors of searches.
    Bytes larger(8 + 500, 'L');
    mgPut32(larger.data(), 30);
    mgPut32(larger.data() + 4, 2);
    ASSERT_EQ(0, mgUpdateResource(data, larger.data(), uint32_t(larger.size())));
    Bytes big(600);
    EXPECT_NE(0u, mgGetResource(data, key, big.data(), 600, kMgFindTypeNumber, &length));
    EXPECT_EQ(508u, length);
    EXPECT_EQ('L', big[507]);
    EXPECT_EQ(0, mgDeleteResource(data, 30, 2));
    EXPECT_EQ(0u, mgGetResource(data, key, buffer.data(), 64, kMgFindTypeNumber, &length));
    EXPECT_EQ(kMgResourceNotFound, mgCtx()->uerr_cod);
    EXPECT_EQ(kMgResourceNotFound, mgDeleteResource(data, 30, 2));
    mgPut32(key, 0);
    mgPut32(key + 4, 0);
    EXPECT_EQ(0u, mgGetResource(data, key, buffer.data(), 64, kMgFindTypeNumber, &length));
    EXPECT_EQ(kMgEmptySearchKey, mgCtx()->uerr_cod);
    uint32_t count = 0;
    EXPECT_EQ(0, mgWalkResourceChain(data, &count));
    EXPECT_EQ(4u, count) << "the definition and three resources";
    EXPECT_EQ(0, mgCloseFileSet(&set.def));
}

// A file whose header asks for its mirror: refused (550) unless opened with 0x2000 (or
// read-only); an open for writing with 0x2000 logs it and clears the request.
TEST(Mirrors, AFileAskingForItsMirrorIsRefusedUnlessTheOpenSaysOtherwise)
{
    ScratchFolder folder;
    std::string name = folder.File("mirrored.dat");
    {
        Engine engine;
        ASSERT_EQ(0, mgCreateDataFile(5, name.c_str(), 32, 0, 0));
        ASSERT_EQ(0, mgCloseFile(5, 0));
    }
    Bytes bytes = ReadWholeFile(name);
    mgPut16(bytes.data() + kHdrAttributeFlags, 1);
    WriteWholeFile(name, bytes);
    Engine engine;
    EXPECT_EQ(kMgWantsMirror, mgOpenFile(5, name.c_str(), 0));
    EXPECT_EQ(bytes, ReadWholeFile(name));
    ASSERT_EQ(0, mgOpenFile(5, name.c_str(), kMgModeReadOnly));
    EXPECT_EQ(0, mgCloseFile(5, 0));
    ASSERT_EQ(0, mgOpenFile(5, name.c_str(), kMgModeIgnoreMirror));
    Bytes record(32, 'm');
    record[0] = 0;
    EXPECT_EQ(0, mgCloseFile(5, 0));
    EXPECT_NE(std::string::npos, folder.ReadLog().find("Following file is opened without mirror ..."));
    EXPECT_NE(std::string::npos, folder.ReadLog().find("mirrored.dat"));
}

TEST(OsLayer, ComparesNamesAsTheSystemDoes)
{
    struct Case {
        const char* a;
        const char* b;
        bool same;
    };
    const Case cases[] = {
        {"C:\\Data\\Cache.dat", "c:/data/CACHE.DAT", true},
        {"C:\\Data\\Cache.dat!data", "c:\\data\\cache.dat!data", true},
        {"C:\\Data\\Cache.dat!data", "C:\\Data\\Cache.dat!DATA", false},
        {"a\\b", "a\\c", false},
        {"abc", "ab", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.a) + " / " + c.b);
        EXPECT_EQ(c.same, mgSameFileName(c.a, c.b) == 0);
    }
}

TEST(OsLayer, PrefixesRelativeNamesWithTheLocalDirectory)
{
    Engine engine;
    char name[256] = "cache.dat";
    EXPECT_EQ(0, mgPrefixDirectory(name, "D:\\local\\"));
    EXPECT_STREQ("D:\\local\\cache.dat", name);
    for (const char* kept : {"\\root.dat", "/root.dat", "E:file.dat"}) {
        strcpy(name, kept);
        EXPECT_EQ(0, mgPrefixDirectory(name, "D:\\local\\"));
        EXPECT_STREQ(kept, name);
    }
    std::string directory(250, 'd');
    strcpy(name, "123456");
    EXPECT_EQ(kMgNameTooLong, mgPrefixDirectory(name, directory.c_str())) << "256 characters";
    EXPECT_STREQ("123456", name);
    strcpy(name, "12345");
    EXPECT_EQ(0, mgPrefixDirectory(name, directory.c_str())) << "255 characters";
    EXPECT_EQ(255u, strlen(name));
}

TEST(OsLayer, ClassesDrivesAndSystems)
{
    ScratchFolder folder;
    EXPECT_EQ(1, mgDriveClass(folder.File("x.dat").c_str())) << "Wine's drives are local";
    EXPECT_EQ(2, mgDriveClass("\\\\server\\share\\x.dat")) << "a path without a drive letter";
    struct Case {
        const char* why;
        DWORD platform;
        DWORD major;
        DWORD minor;
        bool extended;
        BYTE productType;
        const char* registry;
        int expected;
    };
    const Case cases[] = {
        {"Win32s", VER_PLATFORM_WIN32s, 3, 1, false, 0, nullptr, 1},
        {"Windows 95", VER_PLATFORM_WIN32_WINDOWS, 4, 0, false, 0, nullptr, 2},
        {"Windows 98", VER_PLATFORM_WIN32_WINDOWS, 4, 10, false, 0, nullptr, 4},
        {"NT 4 workstation from the registry", VER_PLATFORM_WIN32_NT, 4, 0, false, 0, "WinNT", 0x1008},
        {"NT 4 server from the registry", VER_PLATFORM_WIN32_NT, 4, 0, false, 0, "ServerNT", 0x2008},
        {"Windows 2000 workstation", VER_PLATFORM_WIN32_NT, 5, 0, true, VER_NT_WORKSTATION, nullptr, 0x1010},
        {"Windows 2003 server", VER_PLATFORM_WIN32_NT, 5, 2, true, VER_NT_SERVER, nullptr, 0x2010},
        {"a domain controller is neither", VER_PLATFORM_WIN32_NT, 5, 0, true, VER_NT_DOMAIN_CONTROLLER, nullptr,
         0x10},
        {"later NT versions", VER_PLATFORM_WIN32_NT, 6, 1, true, VER_NT_WORKSTATION, nullptr, 0x1000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        OSVERSIONINFOEXA version{};
        version.dwOSVersionInfoSize = sizeof version;
        version.dwPlatformId = c.platform;
        version.dwMajorVersion = c.major;
        version.dwMinorVersion = c.minor;
        version.wProductType = c.productType;
        EXPECT_EQ(c.expected, mgSystemClassFrom(version, c.extended, c.registry));
    }
    EXPECT_EQ(0, mgRedirectorProbe()) << "only Windows 95 asks the redirector";
}

} // namespace
