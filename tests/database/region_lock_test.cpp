// Region locks between handles and processes, and record locks by ISAM lock mode.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "cache_set_support.h"
#include "database/mgCheck.h"
#include "database/mgFile.h"
#include "database/mgInstance.h"
#include "database/mgLock.h"
#include "database/mgOs.h"
#include "database/mgRecord.h"
#include "database_test_support.h"

using namespace dbtest;

namespace {

// Starts a named instance (so two can hold the same set on two handles).
void StartNamed(const char* name)
{
    ASSERT_EQ(0, mgRegisterInstance(name));
    ASSERT_EQ(0, mgInitIsamEx(16, 16, 32, 16, 33, 0, 0, 0));
    mgSetLockWait(2, 1);
}

void StopNamed(const char* name)
{
    mgSwitchInstance(name);
    mgStopIsam();
    mgUnregisterInstance(name);
}

// The shared cache set held on two handles by two named instances of this process:
// "first", which creates it, and "second".
struct TwoHandles {
    ScratchFolder folder;
    std::string path = folder.File("Cache.dat");
    CacheSet a;
    CacheSet b;

    TwoHandles() { InstallHooks(); }
    // Starts "first", creates the set and opens it there.
    void OpenFirst()
    {
        StartNamed("first");
        ASSERT_EQ(0, CreateCacheSet(path));
        ASSERT_EQ(0, a.Open(path, 3));
    }
    // Starts "second" and opens the set there too; "second" is then current.
    void OpenSecond()
    {
        StartNamed("second");
        ASSERT_EQ(0, b.Open(path, 3));
    }
    // Closes a set through its instance, then stops the instance; the close's answer.
    static int CloseAndStop(const char* name, CacheSet& set)
    {
        mgSwitchInstance(name);
        int closed = set.Close();
        StopNamed(name);
        return closed;
    }
};

// The shared cache set made and opened on one handle of a started default instance.
struct OneHandle {
    ScratchFolder folder;
    std::string path = folder.File("Cache.dat");
    Engine engine;
    CacheSet set;

    void Open()
    {
        ASSERT_EQ(0, CreateCacheSet(path));
        ASSERT_EQ(0, set.Open(path, 3));
    }
};

// A named event the two processes of a test share, by what it says and the test's tag.
struct TaggedEvent {
    HANDLE handle;
    TaggedEvent(const char* what, const std::string& tag)
        : handle(CreateEventA(nullptr, TRUE, FALSE, ("isam-" + std::string(what) + "-" + tag).c_str()))
    {
    }
    ~TaggedEvent() { CloseHandle(handle); }
    TaggedEvent(const TaggedEvent&) = delete;
    TaggedEvent& operator=(const TaggedEvent&) = delete;
};

// This test program run again, as the second process of a cross-process test; ended by
// force if it outlives the test.
class SecondProcess {
  public:
    SecondProcess() = default;
    SecondProcess(const SecondProcess&) = delete;
    SecondProcess& operator=(const SecondProcess&) = delete;
    ~SecondProcess()
    {
        if (!m_info.hProcess)
            return;
        if (WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT)
            TerminateProcess(m_info.hProcess, 6);
        CloseHandle(m_info.hProcess);
        CloseHandle(m_info.hThread);
    }
    // Starts "<this program> --child <arguments>".
    bool Start(const std::string& arguments)
    {
        char program[MAX_PATH];
        GetModuleFileNameA(nullptr, program, MAX_PATH);
        std::string command = std::string("\"") + program + "\" --child " + arguments;
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        return CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &m_info);
    }
    // Waits for the event or for the process's end, whichever comes first: true for the event.
    bool WaitFor(const TaggedEvent& event, DWORD milliseconds) const
    {
        HANDLE eventOrEnd[] = {event.handle, m_info.hProcess};
        return WaitForMultipleObjects(2, eventOrEnd, FALSE, milliseconds) == WAIT_OBJECT_0;
    }
    // Waits for the process to end: its exit code, or none when it did not end in time.
    std::optional<DWORD> WaitForEnd(DWORD milliseconds) const
    {
        if (WaitForSingleObject(m_info.hProcess, milliseconds) != WAIT_OBJECT_0)
            return std::nullopt;
        DWORD code = 1;
        GetExitCodeProcess(m_info.hProcess, &code);
        return code;
    }

  private:
    PROCESS_INFORMATION m_info{};
};

uint32_t FirstRecordPosition(int data)
{
    std::vector<uint8_t> record(2061);
    if (mgFirstRecord(uint16_t(data + 1), record.data()) != 0)
        return 0;
    return mgCurrentInstanceId() ? mgCtx()->files[data]->currentPosition : 0;
}

} // namespace

TEST(RegionLocks, TwoHandlesInOneProcessExcludeEachOther)
{
    TwoHandles two;
    ASSERT_NO_FATAL_FAILURE(two.OpenFirst());
    CacheSet& a = two.a;
    CacheSet& b = two.b;
    std::vector<uint8_t> record = CacheRecord(1, 1, 1);
    ASSERT_EQ(0, mgAddRecord(uint16_t(a.data), record.data()));
    uint32_t position = FirstRecordPosition(a.data);
    ASSERT_NE(0u, position);
    ASSERT_EQ(0, mgLockRecord(a.data, kMgLockWriteNoWait, position));

    ASSERT_NO_FATAL_FAILURE(two.OpenSecond());
    EXPECT_EQ(kMgHeaderLockFailed, mgLockRecord(b.data, kMgLockWriteNoWait, position));
    // Reads take no region lock: the record is still readable through the other handle.
    std::vector<uint8_t> found(2061);
    EXPECT_EQ(0, mgFirstRecord(uint16_t(b.data + 1), found.data()));
    EXPECT_EQ(record, found);

    ASSERT_EQ(0, mgSwitchInstance("first"));
    ASSERT_EQ(0, mgLockRecord(a.data, kMgLockRelease, position));
    ASSERT_EQ(0, mgSwitchInstance("second"));
    EXPECT_EQ(0, mgLockRecord(b.data, kMgLockWriteNoWait, position));
    EXPECT_EQ(0, mgLockRecord(b.data, kMgLockRelease, position));
    EXPECT_EQ(0, TwoHandles::CloseAndStop("second", b));
    EXPECT_EQ(0, TwoHandles::CloseAndStop("first", a));
}

TEST(RegionLocks, HeaderHeldByOneHandleMakesTheOthersAddWaitAndFail)
{
    TwoHandles two;
    ASSERT_NO_FATAL_FAILURE(two.OpenFirst());
    CacheSet& a = two.a;
    CacheSet& b = two.b;
    mgFileControl* data = mgCtx()->files[a.data];
    ASSERT_EQ(0, mgLockHeader(mgHeaderPosition(data), data, true));

    ASSERT_NO_FATAL_FAILURE(two.OpenSecond());
    std::vector<uint8_t> record = CacheRecord(9, 9, 9);
    EXPECT_EQ(kMgHeaderLockFailed, mgAddRecord(uint16_t(b.data), record.data()));

    ASSERT_EQ(0, mgSwitchInstance("first"));
    ASSERT_EQ(0, mgUnlockHeader(mgHeaderPosition(data), data));
    ASSERT_EQ(0, mgSwitchInstance("second"));
    EXPECT_EQ(0, mgAddRecord(uint16_t(b.data), record.data()));
    EXPECT_EQ(1u, mgRecordCount(uint16_t(b.data)));
    EXPECT_EQ(0, TwoHandles::CloseAndStop("second", b));
    ASSERT_EQ(0, mgSwitchInstance("first"));
    EXPECT_EQ(1u, mgRecordCount(uint16_t(a.data)));
    EXPECT_EQ(0, TwoHandles::CloseAndStop("first", a));
}

TEST(RegionLocks, RefusedLockIsAnErrorNotAHang)
{
    OneHandle one;
    ASSERT_NO_FATAL_FAILURE(one.Open());
    CacheSet& set = one.set;
    {
        FaultyIo io;
        FaultPlan plan;
        plan.refuseLocks = true;
        io.Plan(plan);
        std::vector<uint8_t> record = CacheRecord(1, 1, 1);
        EXPECT_EQ(kMgHeaderLockFailed, mgAddRecord(uint16_t(set.data), record.data()));
    }
    std::vector<uint8_t> record = CacheRecord(1, 1, 1);
    EXPECT_EQ(0, mgAddRecord(uint16_t(set.data), record.data()));
    EXPECT_EQ(0, set.Close());
}

TEST(RegionLocks, HeaderLockRefusedWhenTheFileReachesTheLockArea)
{
    OneHandle one;
    ASSERT_NO_FATAL_FAILURE(one.Open());
    CacheSet& set = one.set;
    mgFileControl* host = mgCtx()->files[set.host];
    uint32_t end = mgH32(host, kHdrLogicalEnd);
    mgSetH32(host, kHdrLogicalEnd, 0xFFF7FFFF);
    EXPECT_EQ(kMgReachesLockArea, mgLockHeader(0, host, true));
    mgSetH32(host, kHdrLogicalEnd, end);
    EXPECT_EQ(0, mgLockHeader(0, host, true));
    EXPECT_EQ(0, mgUnlockHeader(0, host));
    EXPECT_EQ(0, set.Close());
}

namespace {

// Adds cache records with ids first .. first + count - 1 to an open set, reading each one
// back by its key; false at the first call that fails.
bool AddAndReadBack(int data, uint32_t first, uint32_t count)
{
    for (uint32_t id = first; id < first + count; ++id) {
        std::vector<uint8_t> record = CacheRecord(id, id, id);
        if (mgAddRecord(uint16_t(data), record.data()) != 0)
            return false;
        std::vector<uint8_t> found(2061);
        if (FindByKey(data + 1, record, found) != 0 || found != record)
            return false;
    }
    return true;
}

// The ids a set holds, by a walk of its first index.
std::vector<uint32_t> IdsHeld(int data)
{
    std::vector<uint32_t> ids;
    std::vector<uint8_t> record(2061);
    for (int16_t a = mgFirstRecord(uint16_t(data + 1), record.data()); a == 0;
         a = mgNextRecord(uint16_t(data + 1), record.data()))
        ids.push_back(CacheId(record));
    return ids;
}

// The second process of the adding test: waits for the start, adds its records to the
// shared set while the first process adds its own.
int RunAddChild(char** argv)
{
    InstallHooks();
    std::string path = argv[3];
    uint32_t first = uint32_t(atol(argv[4]));
    uint32_t count = uint32_t(atol(argv[5]));
    TaggedEvent ready("ready", argv[6]);
    TaggedEvent start("start", argv[6]);
    if (mgInitIsam(16, 16, 32) != 0)
        return 3;
    CacheSet set;
    if (set.Open(path, 3) != 0)
        return 4;
    SetEvent(ready.handle);
    WaitForSingleObject(start.handle, 60000);
    bool added = AddAndReadBack(set.data, first, count);
    int closed = set.Close();
    mgStopIsam();
    return added && closed == 0 ? 0 : 5;
}

} // namespace

// The second process of the cross-process tests: "hold" opens the set shared, write-locks
// the first record, says so through an event and keeps the lock until told to release it;
// "add" adds records while the first process does.
int RunLockChild(int argc, char** argv)
{
    if (argc >= 7 && strcmp(argv[2], "add") == 0)
        return RunAddChild(argv);
    if (argc < 5 || strcmp(argv[2], "hold") != 0)
        return 2;
    InstallHooks();
    std::string path = argv[3];
    TaggedEvent held("held", argv[4]);
    TaggedEvent release("release", argv[4]);
    if (mgInitIsam(16, 16, 32) != 0)
        return 3;
    CacheSet set;
    if (set.Open(path, 3) != 0)
        return 4;
    uint32_t position = FirstRecordPosition(set.data);
    if (position == 0 || mgLockRecord(set.data, kMgLockWriteNoWait, position) != 0)
        return 5;
    SetEvent(held.handle);
    WaitForSingleObject(release.handle, 60000);
    mgLockRecord(set.data, kMgLockRelease, position);
    set.Close();
    mgStopIsam();
    return 0;
}

// Whoever holds the host's header lock never waits for a member's header: a member locks
// its own header first, whether a record or an index node takes new space in the host.
// With both orders in use, two processes adding at once could each hold the lock the other
// waits for (the data header and the first index header even share one lock byte).
TEST(RegionLocks, AMemberHeaderIsNeverLockedUnderTheHostsHeader)
{
    OneHandle one;
    ASSERT_NO_FATAL_FAILURE(one.Open());
    CacheSet& set = one.set;
    mgFileControl* host = mgCtx()->files[set.host];
    DWORD hostHeader = mgLockOffset(host, mgHeaderPosition(host), true);
    std::vector<DWORD> memberHeaders;
    for (int member = set.data; member <= set.data + 3; ++member) {
        mgFileControl* f = mgCtx()->files[member];
        memberHeaders.push_back(mgLockOffset(f, mgHeaderPosition(f), true));
    }
    FaultyIo io;
    FaultPlan plan;
    plan.record = true;
    io.Plan(plan);
    // 600 adds split a leaf of every index.
    ASSERT_TRUE(AddAndReadBack(set.data, 1, 600));
    int hostHeld = 0;
    int memberLocks = 0;
    for (const IoEvent& event : io.Events()) {
        if (event.position == hostHeader) {
            hostHeld += event.kind == 'l' ? 1 : event.kind == 'u' ? -1 : 0;
        } else if (event.kind == 'l' &&
                   std::find(memberHeaders.begin(), memberHeaders.end(), event.position) != memberHeaders.end()) {
            ++memberLocks;
            EXPECT_EQ(0, hostHeld) << "member header " << std::hex << event.position << " locked under the host's";
        }
    }
    EXPECT_GT(memberLocks, 600);
    EXPECT_EQ(0, set.Close());
}

TEST(RegionLocks, TwoProcessesExcludeEachOther)
{
    OneHandle one;
    ASSERT_NO_FATAL_FAILURE(one.Open());
    CacheSet& set = one.set;
    const std::string& path = one.path;
    std::vector<uint8_t> record = CacheRecord(1, 1, 1);
    ASSERT_EQ(0, mgAddRecord(uint16_t(set.data), record.data()));
    uint32_t position = FirstRecordPosition(set.data);
    ASSERT_EQ(0, set.Close());

    std::string tag = std::to_string(GetCurrentProcessId());
    TaggedEvent held("held", tag);
    TaggedEvent release("release", tag);
    SecondProcess child;
    ASSERT_TRUE(child.Start("hold \"" + path + "\" " + tag));
    ASSERT_TRUE(child.WaitFor(held, 60000)) << "the second process did not take its lock";

    ASSERT_EQ(0, set.Open(path, 3));
    EXPECT_EQ(kMgHeaderLockFailed, mgLockRecord(set.data, kMgLockWriteNoWait, position));
    SetEvent(release.handle);
    EXPECT_EQ(std::optional<DWORD>(0), child.WaitForEnd(60000)) << "the second process's exit code";
    EXPECT_EQ(0, mgLockRecord(set.data, kMgLockWriteNoWait, position));
    EXPECT_EQ(0, mgLockRecord(set.data, kMgLockRelease, position));
    EXPECT_EQ(0, set.Close());
}

// Two instances of one process hold the same set on two handles, shared: adds through one
// are found through the other at once, node splits included, and both close whole.
TEST(RegionLocks, TwoInstancesInterleavingAddsAndReadsSeeEachOther)
{
    TwoHandles two;
    ASSERT_NO_FATAL_FAILURE(two.OpenFirst());
    ASSERT_NO_FATAL_FAILURE(two.OpenSecond());
    CacheSet& a = two.a;
    CacheSet& b = two.b;
    // 4096-byte nodes hold 507 keys: 1,200 adds split the leaves more than once.
    for (uint32_t id = 1; id <= 600; ++id) {
        ASSERT_EQ(0, mgSwitchInstance("first"));
        ASSERT_TRUE(AddAndReadBack(a.data, id, 1)) << id;
        ASSERT_EQ(0, mgSwitchInstance("second"));
        std::vector<uint8_t> found(2061);
        ASSERT_EQ(0, FindByKey(b.data + 1, CacheRecord(id, 0, 0), found)) << id;
        ASSERT_EQ(CacheRecord(id, id, id), found);
        ASSERT_TRUE(AddAndReadBack(b.data, 100000 + id, 1)) << id;
    }
    std::vector<uint32_t> expected;
    for (uint32_t id = 1; id <= 600; ++id)
        expected.push_back(id);
    for (uint32_t id = 1; id <= 600; ++id)
        expected.push_back(100000 + id);
    EXPECT_EQ(expected, IdsHeld(b.data));
    EXPECT_EQ(1200u, mgRecordCount(uint16_t(b.data)));
    ASSERT_EQ(0, mgSwitchInstance("first"));
    EXPECT_EQ(expected, IdsHeld(a.data));
    mgCheckReport report;
    EXPECT_EQ(0, mgCheckFileSet(uint16_t(a.data), &report)) << report.first;
    EXPECT_EQ(0, TwoHandles::CloseAndStop("first", a));
    EXPECT_EQ(0, TwoHandles::CloseAndStop("second", b));
    Engine engine;
    CacheSet c;
    ASSERT_EQ(0, c.Open(two.path, 3));
    EXPECT_EQ(expected, IdsHeld(c.data));
    EXPECT_EQ(0, mgCheckFileSet(uint16_t(c.data), &report)) << report.first;
    EXPECT_EQ(0, mgCheckHost(c.host, &report)) << report.first;
    EXPECT_EQ(0, c.Close());
}

// A handle whose write failed in the middle of an add leaves the shared file marked, and
// the other handle's clean close does not clear the mark, whether that handle began its
// changes before the failure or only after it: the next open refuses the file.
TEST(SharedSessions, AFailedChangeOfOneHandleOutlivesTheOthersCleanClose)
{
    for (bool otherChangedFirst : {true, false}) {
        SCOPED_TRACE(otherChangedFirst ? "the other handle changed the file before" : "the other handle changed it after");
        TwoHandles two;
        ASSERT_NO_FATAL_FAILURE(two.OpenFirst());
        CacheSet& a = two.a;
        CacheSet& b = two.b;
        ASSERT_TRUE(AddAndReadBack(a.data, 1, 1));
        ASSERT_NO_FATAL_FAILURE(two.OpenSecond());
        if (otherChangedFirst) {
            ASSERT_TRUE(AddAndReadBack(b.data, 2, 1));
        }

        ASSERT_EQ(0, mgSwitchInstance("first"));
        {
            FaultyIo io;
            FaultPlan plan;
            plan.failWriteAt = 2;
            io.Plan(plan);
            EXPECT_NE(0, mgAddRecord(uint16_t(a.data), CacheRecord(3, 3, 3).data()));
        }
        EXPECT_NE(0, TwoHandles::CloseAndStop("first", a));

        ASSERT_EQ(0, mgSwitchInstance("second"));
        ASSERT_TRUE(AddAndReadBack(b.data, 4, 1));
        EXPECT_EQ(0, TwoHandles::CloseAndStop("second", b));

        Engine engine;
        CacheSet c;
        EXPECT_EQ(kMgNotClosedCleanly, c.Open(two.path, 3));
    }
}

// An open that meets the last other handle's clean close: the flag it read was that
// handle's, whose session ended before the open looked for live ones. The set is taken as
// closed cleanly, not refused.
TEST(SharedSessions, AnOpenMeetingTheLastCloseTakesTheSetAsClosedCleanly)
{
    TwoHandles two;
    ASSERT_NO_FATAL_FAILURE(two.OpenFirst());
    ASSERT_TRUE(AddAndReadBack(two.a.data, 1, 1));
    int closed = -1;
    StartNamed("second");
    {
        FaultyIo io;
        FaultPlan plan;
        // The first read of the open is the host's header, flag set by the first handle.
        plan.afterReadAt = 1;
        plan.afterRead = [&] {
            mgSwitchInstance("first");
            closed = two.a.Close();
            mgSwitchInstance("second");
        };
        io.Plan(plan);
        ASSERT_EQ(0, two.b.Open(two.path, 3));
    }
    EXPECT_EQ(0, closed);
    EXPECT_EQ(std::vector<uint32_t>{1}, IdsHeld(two.b.data));
    EXPECT_EQ(0, TwoHandles::CloseAndStop("second", two.b));
    StopNamed("first");
    Engine engine;
    CacheSet c;
    ASSERT_EQ(0, c.Open(two.path, 3));
    EXPECT_EQ(std::vector<uint32_t>{1}, IdsHeld(c.data));
    EXPECT_EQ(0, c.Close());
}

// Two processes add to one shared set at the same time: the header and node region locks
// keep every add of both, and every index and the host stay consistent.
TEST(RegionLocks, TwoProcessesAddingAtOnceLoseNothing)
{
    OneHandle one;
    // Real contention: a lock is waited for in 1 ms steps, up to half a minute (the other
    // process, with the default wait, may hold the locks in turn for seconds on a busy machine).
    mgSetLockWait(30000, 1);
    ASSERT_NO_FATAL_FAILURE(one.Open());
    CacheSet& set = one.set;
    const std::string& path = one.path;
    constexpr uint32_t kEach = 700;
    std::string tag = std::to_string(GetCurrentProcessId());
    TaggedEvent ready("ready", tag);
    TaggedEvent start("start", tag);
    SecondProcess child;
    ASSERT_TRUE(child.Start("add \"" + path + "\" 500000 " + std::to_string(kEach) + " " + tag));
    // Both start adding once the child has the set open.
    EXPECT_TRUE(child.WaitFor(ready, 60000)) << "the second process did not open the set";
    SetEvent(start.handle);
    bool added = AddAndReadBack(set.data, 1, kEach);
    ASSERT_EQ(std::optional<DWORD>(0), child.WaitForEnd(120000)) << "the second process's adds";
    EXPECT_TRUE(added);
    std::vector<uint32_t> expected;
    for (uint32_t id = 1; id <= kEach; ++id)
        expected.push_back(id);
    for (uint32_t id = 500000; id < 500000 + kEach; ++id)
        expected.push_back(id);
    EXPECT_EQ(expected, IdsHeld(set.data));
    EXPECT_EQ(2 * kEach, mgRecordCount(uint16_t(set.data)));
    mgCheckReport report;
    EXPECT_EQ(0, mgCheckFileSet(uint16_t(set.data), &report)) << report.first;
    EXPECT_EQ(0, mgCheckHost(set.host, &report)) << report.first;
    EXPECT_EQ(0, set.Close());
}

// Which lock a read takes, by ISAM lock mode: none without locking, read locks in the read
// modes, write locks in the write modes; a new record is always write-locked.
TEST(RecordLocks, ReadsAndAddsLockAsTheLockModeSays)
{
    struct Case {
        const char* why;
        int16_t lockMode;
        int readKind;
        int addKind;
    };
    const Case kCases[] = {
        {"no locking", 0, 0, 0},
        {"write locks without waiting", 2, kMgKindWrite, kMgKindWrite},
        {"write locks with waiting", 3, kMgKindWrite, kMgKindWrite},
        {"read locks", 4, kMgKindRead, kMgKindWrite},
        {"read locks, other form", 11, kMgKindRead, kMgKindWrite},
        {"suspended", 5, 0, 0},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        OneHandle one;
        ASSERT_NO_FATAL_FAILURE(one.Open());
        CacheSet& set = one.set;
        std::vector<uint8_t> record = CacheRecord(1, 1, 1);
        ASSERT_EQ(0, mgAddRecord(uint16_t(set.data), record.data()));
        uint32_t first = mgCtx()->files[set.data]->currentPosition;
        if (c.lockMode == 5) {
            ASSERT_EQ(0, mgSetIsamLockMode(2));
            ASSERT_EQ(0, mgSetIsamLockMode(5));
        } else {
            ASSERT_EQ(0, mgSetIsamLockMode(c.lockMode));
        }
        std::vector<uint8_t> found(2061);
        ASSERT_EQ(0, mgFirstRecord(uint16_t(set.data + 1), found.data()));
        for (int kind : {int(kMgKindRead), int(kMgKindWrite)})
            EXPECT_EQ(kind == c.readKind ? 0 : kMgNotLocked, mgTestLock(set.data, kind, first)) << "read, kind " << kind;
        std::vector<uint8_t> second = CacheRecord(2, 2, 2);
        ASSERT_EQ(0, mgAddRecord(uint16_t(set.data), second.data()));
        uint32_t added = mgCtx()->files[set.data]->currentPosition;
        for (int kind : {int(kMgKindRead), int(kMgKindWrite)})
            EXPECT_EQ(kind == c.addKind ? 0 : kMgNotLocked, mgTestLock(set.data, kind, added)) << "add, kind " << kind;
        mgSetIsamLockMode(0);
        EXPECT_EQ(0, set.Close());
    }
}

TEST(RecordLocks, SameRecordLockedTwiceKeepsOneEntryAndUpgradesAReadLock)
{
    OneHandle one;
    ASSERT_NO_FATAL_FAILURE(one.Open());
    CacheSet& set = one.set;
    std::vector<uint8_t> record = CacheRecord(1, 1, 1);
    ASSERT_EQ(0, mgAddRecord(uint16_t(set.data), record.data()));
    uint32_t position = mgCtx()->files[set.data]->currentPosition;
    ASSERT_EQ(0, mgLockRecord(set.data, kMgLockWriteNoWait, position));
    ASSERT_EQ(0, mgLockRecord(set.data, kMgLockWriteNoWait, position));
    EXPECT_EQ(1, mgCtx()->lockCount);
    ASSERT_EQ(0, mgLockRecord(set.data, kMgLockRelease, position));
    EXPECT_EQ(0, mgCtx()->lockCount);
    ASSERT_EQ(0, mgLockRecord(set.data, kMgLockRead, position));
    EXPECT_EQ(0, mgTestLock(set.data, kMgKindRead, position));
    ASSERT_EQ(0, mgLockRecord(set.data, kMgLockWriteWait, position));
    EXPECT_EQ(0, mgTestLock(set.data, kMgKindWrite, position));
    EXPECT_EQ(1, mgCtx()->lockCount);
    EXPECT_EQ(0, mgLockRecord(set.data, kMgLockReleaseFile, 0));
    EXPECT_EQ(0, mgCtx()->lockCount);
    EXPECT_EQ(0, mgCtx()->uerr_cod);
    EXPECT_EQ(kMgPositionZero, mgLockRecord(set.data, kMgLockWriteNoWait, 0));
    EXPECT_EQ(kMgBeyondEnd, mgLockRecord(set.data, kMgLockWriteNoWait, 0x7FFFFFFF));
    EXPECT_EQ(0, set.Close());
}
