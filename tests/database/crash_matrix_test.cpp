// Crash matrix: the scripted workload is cut at write N, for every N of the run. As "a
// prefix reaches the disk, then every call fails" (a killed process) the cut is made by
// replaying the recorded run's disk changes, at the issue's size (2,000 adds); as "the
// write fails" the engine really runs into the failure, over a smaller workload. The next
// ordinary open must refuse the file (14) and leave it as it is, or open it with every
// record of the last clean close and pass the checker; nothing may crash or end the
// process.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>

#include "cache_set_support.h"
#include "crash_replay.h"
#include "crash_verdict.h"
#include "crash_workload.h"
#include "database/mgCheck.h"
#include "database/mgFile.h"
#include "database/mgFileSet.h"
#include "database/mgInstance.h"
#include "database/mgRecord.h"
#include "database/mgRuntime.h"
#include "database_test_support.h"

using namespace dbtest;

namespace {

std::vector<std::vector<uint8_t>> Snapshot(const std::vector<std::string>& files)
{
    std::vector<std::vector<uint8_t>> bytes;
    for (const std::string& file : files)
        bytes.push_back(ReadWholeFile(file));
    return bytes;
}

// A small set of its own in the same instance, made, used and closed: the instance must
// stay usable for other files after a failure elsewhere.
void ExpectInstanceUsable(const ScratchFolder& folder)
{
    SetDefinition other = TwoIndexSet(folder.File("other"), 64, 0);
    ASSERT_EQ(0, mgCreateFileSet(other.Build())) << "isam_code " << mgCtx()->isam_code;
    uint16_t data = uint16_t(other.def.setFileNumber);
    std::vector<uint8_t> record = MakeRecord(42, "other");
    ASSERT_EQ(0, mgAddRecord(data, record.data()));
    std::vector<uint8_t> found(64);
    ASSERT_EQ(0, FindByKey(data + 1, record, found));
    EXPECT_EQ(record, found);
    EXPECT_EQ(0, mgCloseFileSet(&other.def));
}

// One failed write: the engine runs into it, the workload stops at the call that failed,
// the instance is used for another set and stopped; then the set is opened normally.
void FailAt(const WorkloadShape& shape, long n, long* compared)
{
    SCOPED_TRACE("failed write " + std::to_string(n));
    ScratchFolder folder;
    std::string path = folder.File("cut");
    WorkloadRun run;
    FaultPlan plan;
    plan.failWriteAt = n;
    ASSERT_NO_FATAL_FAILURE(RunWithFaults(path, shape, plan, &run, [&run, &folder] {
        EXPECT_FALSE(run.completed) << "the failed write was never answered";
        ExpectInstanceUsable(folder);
    }));
    std::vector<std::string> files = SetFiles(path, shape);
    std::vector<std::vector<uint8_t>> before = Snapshot(files);
    Engine engine(16, 16, 4);
    ReopenVerdict verdict;
    ASSERT_NO_THROW(verdict = Reopen(path, shape, run));
    if (verdict.code == kMgNotClosedCleanly) {
        EXPECT_EQ(before, Snapshot(files)) << "a refused open changed the file";
    }
    ExpectPromisedVerdict(verdict, run.created, run.stoppedAt, compared);
}

// The set's contents at the last clean close before write n (none before the first).
const Records& ReferenceAt(const WorkloadRun& run, long n)
{
    static const Records kNone;
    const Records* reference = &kNone;
    for (const WorkloadRun::Close& close : run.closes)
        if (close.after < n)
            reference = &close.records;
    return *reference;
}

struct ReplayedCut {
    long write;
    uint32_t prefix;
    ReopenVerdict verdict;
};

// Records one whole run, then brings the files to every cut in turn (each write N with
// nothing of it on disk and with its first 7 bytes torn off; nothing of write N and all of
// it is the same disk as nothing of N and of N + 1) and opens the set as a new process
// would. An open whose every byte read is unchanged since the last one would answer the
// same: its verdict is carried over instead of opening again. `keep` collects verdicts.
void ReplayEveryCut(const WorkloadShape& shape, std::vector<ReplayedCut>* keep = nullptr)
{
    ScratchFolder folder;
    std::string path = folder.File("cut");
    WorkloadRun run;
    std::vector<DiskChange> journal;
    long total = 0;
    {
        FaultyIo io;
        FaultPlan plan;
        plan.journal = true;
        io.Plan(plan);
        Engine engine(16, 16, 4);
        run = RunWorkload(path, shape, &io);
        ASSERT_TRUE(run.completed) << run.stoppedAt;
        total = io.Writes();
        journal = io.TakeJournal();
    }
    for (const std::string& file : SetFiles(path, shape))
        ASSERT_TRUE(DeleteFileA(file.c_str()));
    std::map<long, size_t> lengths;
    for (const DiskChange& change : journal)
        if (change.kind == 'w')
            lengths[change.write] = change.bytes.size();
    DiskReplay replay(std::move(journal));
    FaultyIo io;
    bool remembered = false;
    const Records* rememberedReference = nullptr;
    bool rememberedCreated = false;
    ReopenVerdict verdict;
    long opens = 0;
    long cuts = 0;
    long compared = 0;
    for (long n = 1; n <= total + 1; ++n) {
        for (uint32_t prefix : {0u, 7u}) {
            if (n > total && prefix)
                continue;
            SCOPED_TRACE("write " + std::to_string(n) + " of " + std::to_string(total) + ", " +
                         std::to_string(prefix) + " bytes of it on disk");
            ++cuts;
            replay.CutAt(n, prefix);
            // A write no longer than the prefix (the flag byte) is wholly on disk: the run
            // got past it.
            long passed = prefix && lengths.count(n) && lengths[n] <= prefix ? n + 1 : n;
            const Records& reference = ReferenceAt(run, passed);
            bool created = run.createdAfter < passed;
            if (!remembered || rememberedReference != &reference || rememberedCreated != created ||
                !replay.SeenUnchanged()) {
                replay.Release();
                FaultPlan plan;
                plan.trackReads = true;
                io.Plan(plan);
                {
                    Engine engine(16, 16, 4);
                    ASSERT_NO_THROW(verdict = Reopen(path, shape, reference));
                }
                ASSERT_EQ(0, io.Writes()) << "the open after a cut wrote to the files";
                ASSERT_NO_FATAL_FAILURE(ExpectPromisedVerdict(verdict, created, "write " + std::to_string(n), &compared));
                replay.Remember(io.Seen());
                remembered = true;
                rememberedReference = &reference;
                rememberedCreated = created;
                ++opens;
            }
            if (keep)
                keep->push_back(ReplayedCut{n, prefix, verdict});
        }
    }
    printf("      %ld writes, %ld cuts, %ld opens (the rest read nothing that changed), %ld of them compared\n",
           total, cuts, opens, compared);
    EXPECT_GT(compared, 0) << "no cut left a set that opened";
}

TEST(CrashMatrix, HostSetEveryCutOfTwoThousandAddsOpensWholeOrIsRefused)
{
    WorkloadShape shape;
    shape.host = true;
    shape.adds = 2000;
    ReplayEveryCut(shape);
}

TEST(CrashMatrix, PlainSetEveryCutOfTwoThousandAddsOpensWholeOrIsRefused)
{
    WorkloadShape shape;
    shape.host = false;
    shape.adds = 2000;
    ReplayEveryCut(shape);
}

// Opened shared, as the program opens its cache, a file writes its header at every change:
// a cut in the middle of one must still leave it marked as left mid-change.
TEST(CrashMatrix, SharedHostSetEveryCutOpensWholeOrIsRefused)
{
    WorkloadShape shape;
    shape.host = true;
    shape.adds = 600;
    shape.mode = 3;
    ReplayEveryCut(shape);
}

// The replay stands for real runs: cut for real where the replay cut, the next open
// answers the same and finds the same.
TEST(CrashMatrix, ReplayedCutsOpenAsRealCutsDo)
{
    WorkloadShape shape;
    shape.host = true;
    std::vector<ReplayedCut> replayed;
    ReplayEveryCut(shape, &replayed);
    ASSERT_GT(replayed.size(), 200u);
    for (size_t i = 0; i < replayed.size(); i += replayed.size() / 40) {
        const ReplayedCut& cut = replayed[i];
        SCOPED_TRACE("write " + std::to_string(cut.write) + ", " + std::to_string(cut.prefix) + " bytes");
        ScratchFolder folder;
        std::string path = folder.File("cut");
        WorkloadRun run;
        FaultPlan plan;
        plan.cutWriteAt = cut.write;
        plan.cutPrefix = cut.prefix;
        ASSERT_NO_FATAL_FAILURE(RunWithFaults(path, shape, plan, &run));
        Engine engine(16, 16, 4);
        ReopenVerdict real = Reopen(path, shape, run);
        EXPECT_EQ(cut.verdict.code, real.code);
        EXPECT_EQ(cut.verdict.matches, real.matches) << real.detail;
        EXPECT_EQ(cut.verdict.checked, real.checked) << real.detail;
    }
}

// The writes that fail in runs of their own (each run costs the whole way up to it):
// every write while the set is made and first filled, every write near the ends of the
// sessions (where the update flag is set and cleared), and evenly spread ones between.
std::vector<long> FailedWrites(const WorkloadShape& shape)
{
    ScratchFolder folder;
    FaultyIo io;
    Engine engine(16, 16, 4);
    WorkloadRun run = RunWorkload(folder.File("count"), shape, &io);
    EXPECT_TRUE(run.completed) << run.stoppedAt;
    long total = io.Writes();
    std::vector<bool> chosen(size_t(total + 1), false);
    for (long n = 1; n <= total && n <= 150; ++n)
        chosen[size_t(n)] = true;
    for (long n = 150; n <= total; n += 13)
        chosen[size_t(n)] = true;
    std::vector<long> milestones = {run.createdAfter};
    for (const WorkloadRun::Close& close : run.closes)
        milestones.push_back(close.after);
    for (long milestone : milestones)
        for (long n = milestone - 12; n <= milestone + 16; ++n)
            if (n >= 1 && n <= total)
                chosen[size_t(n)] = true;
    std::vector<long> writes;
    for (long n = 1; n <= total; ++n)
        if (chosen[size_t(n)])
            writes.push_back(n);
    return writes;
}

void FailWrites(const WorkloadShape& shape)
{
    long compared = 0;
    for (long n : FailedWrites(shape))
        ASSERT_NO_FATAL_FAILURE(FailAt(shape, n, &compared));
    EXPECT_GT(compared, 0) << "no failed write left a set that opened";
}

TEST(CrashMatrix, PlainSetFailedWriteIsAnErrorAndOpensWholeOrIsRefused)
{
    WorkloadShape shape;
    shape.host = false;
    FailWrites(shape);
}

TEST(CrashMatrix, HostSetFailedWriteIsAnErrorAndOpensWholeOrIsRefused)
{
    WorkloadShape shape;
    shape.host = true;
    FailWrites(shape);
}

TEST(CrashMatrix, RefusedCacheIsRecreatedEmptyAndWorks)
{
    ScratchFolder folder;
    std::string path = folder.File("cache");
    WorkloadShape shape;
    WorkloadRun run;
    FaultPlan plan;
    plan.cutWriteAt = 400;
    plan.cutPrefix = 5;
    ASSERT_NO_FATAL_FAILURE(RunWithFaults(path, shape, plan, &run));
    Engine engine(16, 16, 4);
    ASSERT_EQ(kMgNotClosedCleanly, Reopen(path, shape, run).code);
    // The binding's path: delete the host and make the set again.
    ASSERT_TRUE(DeleteFileA(path.c_str()));
    WorkloadRun fresh = RunWorkload(path, shape);
    ASSERT_TRUE(fresh.completed) << fresh.stoppedAt;
    ReopenVerdict verdict = Reopen(path, shape, fresh);
    EXPECT_EQ(0, verdict.code);
    EXPECT_TRUE(verdict.matches) << verdict.detail;
    EXPECT_TRUE(verdict.checked) << verdict.detail;
}

TEST(CrashMatrix, UpdateFlagIsOnDiskBeforeTheFirstChange)
{
    ScratchFolder folder;
    std::string path = folder.File("order");
    WorkloadShape shape;
    shape.host = false;
    shape.adds = 20;
    FaultyIo io;
    Engine engine(16, 16, 4);
    WorkloadRun run = RunWorkload(path, shape);
    ASSERT_TRUE(run.completed);
    // Second session: reopen, change, and record the calls.
    FaultPlan plan;
    plan.record = true;
    io.Plan(plan);
    int data = mgOpenFileSetFromResource(-1, (path + ".dat").c_str(), 2);
    ASSERT_GE(data, 0);
    std::vector<uint8_t> record(2061, 0);
    record[1] = 0x7F;
    ASSERT_EQ(0, mgAddRecord(uint16_t(data), record.data()));
    const std::vector<IoEvent>& events = io.Events();
    size_t firstWrite = events.size();
    for (size_t i = 0; i < events.size(); ++i)
        if (events[i].kind == 'w') {
            firstWrite = i;
            break;
        }
    ASSERT_LT(firstWrite + 1, events.size());
    EXPECT_EQ(kHdrUpdateFlag, int(events[firstWrite].position));
    ASSERT_EQ(1u, events[firstWrite].length);
    EXPECT_EQ(0xFF, events[firstWrite].bytes[0]);
    EXPECT_EQ('f', events[firstWrite + 1].kind) << "the flag is flushed before anything else is written";
    EXPECT_EQ(0, mgCloseFileSetByNumber(uint16_t(data)));
}

} // namespace
