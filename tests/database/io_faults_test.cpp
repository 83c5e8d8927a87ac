// Reads and flushes that fail: a read that returns fewer bytes than asked is the read
// error (36), never zero-filled data; a read that fails is an answer, never a success with
// wrong data, and changes nothing, or, in the middle of a change, leaves the set refused
// (14) at its next open; a flush that fails is an error of the call that needed it, and the
// next open finds the file refused (14) or whole.
#include <gtest/gtest.h>

#include "crash_verdict.h"
#include "crash_workload.h"
#include "database/mgCheck.h"
#include "database/mgFile.h"
#include "database/mgFileSet.h"
#include "database/mgInstance.h"
#include "database/mgRecord.h"
#include "database_test_support.h"

using namespace dbtest;

namespace {

using Bytes = std::vector<uint8_t>;

constexpr uint32_t kIoRecords = 40;

// A closed set of kIoRecords records with keys 1..kIoRecords.
void MakeReadSet(const std::string& name)
{
    SetDefinition set = TwoIndexSet(name, 64, 0);
    ASSERT_EQ(0, mgCreateFileSet(set.Build()));
    for (uint32_t id = 1; id <= kIoRecords; ++id) {
        Bytes record = MakeRecord(id, "read" + std::to_string(id % 5), 64, uint8_t(id));
        ASSERT_EQ(0, mgAddRecord(uint16_t(set.def.setFileNumber), record.data()));
    }
    ASSERT_EQ(0, mgCloseFileSet(&set.def));
}

// Opens the set and reads every record by key; counts the calls that failed, and fails
// the test for a call that succeeded with data other than the record asked for.
int ReadEverything(const std::string& name)
{
    int failures = 0;
    int data = mgOpenFileSetFromResource(-1, (name + ".dat").c_str(), 0);
    if (data < 0)
        return 1;
    for (uint32_t id = 1; id <= kIoRecords; ++id) {
        Bytes expected = MakeRecord(id, "read" + std::to_string(id % 5), 64, uint8_t(id));
        Bytes found(64, 0xEE);
        if (FindByKey(data + 1, expected, found) != 0) {
            ++failures;
            continue;
        }
        EXPECT_EQ(expected, found) << "record " << id << " read as a success with other bytes";
    }
    if (mgCloseFileSetByNumber(uint16_t(data)) != 0)
        ++failures;
    return failures;
}

TEST(ReadFaults, ShortReadsAreTheReadErrorNeverPartialData)
{
    ScratchFolder folder;
    std::string name = folder.File("short");
    Engine engine;
    MakeReadSet(name);
    Bytes before = ReadWholeFile(name + ".dat");
    FaultyIo io;
    FaultPlan plan;
    plan.shortReads = true;
    io.Plan(plan);
    EXPECT_LT(mgOpenFileSetFromResource(-1, (name + ".dat").c_str(), 0), 0);
    EXPECT_EQ(kMgShortRead, mgCtx()->isam_code);

    // Open while reads are whole, then every read comes back one byte short.
    io.Plan(FaultPlan{});
    int data = mgOpenFileSetFromResource(-1, (name + ".dat").c_str(), 0);
    ASSERT_GE(data, 0);
    io.Plan(plan);
    Bytes found(64, 0xEE);
    EXPECT_EQ(kMgShortRead, FindByKey(data + 1, MakeRecord(7, ""), found));
    EXPECT_EQ(kMgShortRead, mgFirstRecord(uint16_t(data + 1), found.data()));
    // Whole reads again: the same reads succeed.
    io.Plan(FaultPlan{});
    ASSERT_EQ(0, FindByKey(data + 1, MakeRecord(7, ""), found));
    EXPECT_EQ(MakeRecord(7, "read2", 64, 7), found);
    EXPECT_EQ(0, mgCloseFileSetByNumber(uint16_t(data)));
    EXPECT_EQ(before, ReadWholeFile(name + ".dat"));
}

// Walks the failing read over every read of the workload, with the data buffers that keep
// records off the disk and without them (every record read is then a read of its own).
TEST(ReadFaults, EveryFailedReadIsAnAnswerAndChangesNothing)
{
    for (int dataBuffers : {0, 16}) {
        SCOPED_TRACE(std::to_string(dataBuffers) + " data buffers");
        ScratchFolder folder;
        std::string name = folder.File("reads");
        Engine engine(16, 16, 32, dataBuffers);
        MakeReadSet(name);
        Bytes dataBefore = ReadWholeFile(name + ".dat");
        Bytes indexBefore = ReadWholeFile(name + ".idx");
        long total = 0;
        {
            FaultyIo io;
            ASSERT_EQ(0, ReadEverything(name));
            total = io.Reads();
        }
        if (dataBuffers == 0)
            ASSERT_GT(total, long(kIoRecords));
        else
            ASSERT_GT(total, 2);
        for (long n = 1; n <= total; ++n) {
            SCOPED_TRACE("read " + std::to_string(n) + " of " + std::to_string(total) + " fails");
            FaultyIo io;
            FaultPlan plan;
            plan.failReadAt = n;
            io.Plan(plan);
            int failures = 0;
            ASSERT_NO_THROW(failures = ReadEverything(name));
            EXPECT_GE(failures, 1) << "a failed read went unanswered";
        }
        EXPECT_EQ(dataBefore, ReadWholeFile(name + ".dat"));
        EXPECT_EQ(indexBefore, ReadWholeFile(name + ".idx"));
        EXPECT_EQ(0, ReadEverything(name));
    }
}

// A read that fails in the middle of a change of a shared set (after the change's first
// write) leaves the change half made, as a failed write does: the set must be marked, so
// that its next open refuses it (14) instead of opening a tree whose key count no longer
// matches it. The failing read walks over every read of the adds of a few records (the
// first of them splitting the index's only leaf), with the set opened shared.
TEST(ReadFaults, AFailedReadInTheMiddleOfASharedChangeLeavesTheSetRefusedOrWhole)
{
    long total = 0;
    auto addSome = [](int data) {
        int16_t answer = 0;
        for (uint32_t id = kIoRecords + 1; id <= kIoRecords + 4 && !answer; ++id) {
            Bytes record = MakeRecord(id, "added", 64, uint8_t(id));
            answer = mgAddRecord(uint16_t(data), record.data());
        }
        return answer;
    };
    {
        ScratchFolder folder;
        std::string name = folder.File("count");
        Engine engine(16, 16, 4, 0);
        MakeReadSet(name);
        int data = mgOpenFileSetFromResource(-1, (name + ".dat").c_str(), kMgModeShared);
        ASSERT_GE(data, 0);
        FaultyIo io;
        ASSERT_EQ(0, addSome(data));
        total = io.Reads();
        EXPECT_EQ(0, mgCloseFileSetByNumber(uint16_t(data)));
    }
    ASSERT_GT(total, 4);
    int refused = 0;
    for (long n = 1; n <= total; ++n) {
        SCOPED_TRACE("read " + std::to_string(n) + " of " + std::to_string(total) + " fails");
        ScratchFolder folder;
        std::string name = folder.File("shared");
        Engine engine(16, 16, 4, 0);
        MakeReadSet(name);
        int data = mgOpenFileSetFromResource(-1, (name + ".dat").c_str(), kMgModeShared);
        ASSERT_GE(data, 0);
        int16_t answer = 0;
        {
            FaultyIo io;
            FaultPlan plan;
            plan.failReadAt = n;
            io.Plan(plan);
            ASSERT_NO_THROW(answer = addSome(data));
        }
        EXPECT_NE(0, answer) << "a failed read went unanswered";
        mgCloseFileSetByNumber(uint16_t(data));
        data = mgOpenFileSetFromResource(-1, (name + ".dat").c_str(), 0);
        if (data < 0) {
            EXPECT_EQ(kMgNotClosedCleanly, mgCtx()->isam_code);
            ++refused;
            continue;
        }
        mgCheckReport report;
        EXPECT_EQ(0, mgCheckFileSet(uint16_t(data), &report)) << report.first;
        EXPECT_EQ(0, mgCloseFileSetByNumber(uint16_t(data)));
    }
    EXPECT_GT(refused, 0) << "no failed read came in the middle of a change";
}

// A read that meets bytes another process holds locked is repeated once under a region lock
// of the engine's own, and answers the record; when that lock cannot be had either, the
// read is an error.
TEST(ReadFaults, AReadOfBytesLockedElsewhereIsRepeatedUnderALockOfItsOwn)
{
    ScratchFolder folder;
    std::string name = folder.File("locked");
    Engine engine(16, 16, 32, 0);
    MakeReadSet(name);
    {
        FaultyIo io;
        FaultPlan plan;
        plan.lockedReadAt = 3;
        plan.record = true;
        io.Plan(plan);
        EXPECT_EQ(0, ReadEverything(name));
        const std::vector<IoEvent>& events = io.Events();
        auto refused = events.begin();
        for (int reads = 0; refused != events.end(); ++refused)
            if (refused->kind == 'r' && ++reads == 3)
                break;
        ASSERT_GE(events.end() - refused, 4) << "no lock and second read after the refused one";
        for (int step = 1; step <= 3; ++step) {
            SCOPED_TRACE(step);
            EXPECT_EQ("lru"[step - 1], refused[step].kind);
            EXPECT_EQ(refused->position, refused[step].position);
            EXPECT_EQ(refused->length, refused[step].length);
        }
    }
    FaultyIo io;
    FaultPlan plan;
    plan.lockedReadAt = 3;
    plan.refuseLocks = true;
    io.Plan(plan);
    EXPECT_GE(ReadEverything(name), 1);
}

TEST(FlushFaults, AFailedFlushIsAnErrorAndTheFileOpensWholeOrIsRefused)
{
    WorkloadShape shape;
    shape.host = true;
    shape.adds = 80;
    long flushes = 0;
    {
        ScratchFolder folder;
        FaultyIo io;
        Engine engine(16, 16, 4);
        WorkloadRun run = RunWorkload(folder.File("count"), shape);
        ASSERT_TRUE(run.completed) << run.stoppedAt;
        flushes = io.Flushes();
    }
    ASSERT_GT(flushes, 2);
    long compared = 0; // stays 0: see below
    for (long n = 1; n <= flushes; ++n) {
        SCOPED_TRACE("flush " + std::to_string(n) + " of " + std::to_string(flushes) + " fails");
        ScratchFolder folder;
        std::string path = folder.File("flush");
        WorkloadRun run;
        FaultPlan plan;
        plan.failFlushAt = n;
        ASSERT_NO_FATAL_FAILURE(RunWithFaults(path, shape, plan, &run));
        EXPECT_FALSE(run.completed) << "the failed flush was never answered";
        Engine engine(16, 16, 4);
        ReopenVerdict verdict;
        ASSERT_NO_THROW(verdict = Reopen(path, shape, run));
        // Every flush of the workload follows a change of its session, so a failed one leaves
        // the set refused (14); the comparison is there for any that would not.
        ASSERT_NO_FATAL_FAILURE(ExpectPromisedVerdict(verdict, run.created, run.stoppedAt, &compared));
    }
}

} // namespace
