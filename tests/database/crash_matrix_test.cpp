// Crash matrix: the scripted workload is cut at write N, for N over the whole run, both as
// "the write fails" and as "a prefix reaches the disk, then every call fails" (a killed
// process). The next ordinary open must refuse the file (14) and leave it as it is, or open
// it with every record of the last clean close and pass the checker; nothing may crash.
#include <gtest/gtest.h>

#include "crash_workload.h"
#include "database/mgFile.h"
#include "database/mgInstance.h"
#include "database/mgRuntime.h"
#include "database_test_support.h"

using namespace dbtest;

namespace {

long WritesOfWholeRun(const WorkloadShape& shape)
{
    ScratchFolder folder;
    FaultyIo io;
    Engine engine(16, 16, 4);
    WorkloadRun run = RunWorkload(folder.File("count"), shape);
    EXPECT_TRUE(run.completed) << run.stoppedAt;
    return io.Writes();
}

std::vector<std::vector<uint8_t>> Snapshot(const ScratchFolder& folder, const std::vector<std::string>& files)
{
    std::vector<std::vector<uint8_t>> bytes;
    for (const std::string& file : files)
        bytes.push_back(ReadWholeFile(file));
    (void)folder;
    return bytes;
}

// One cut: runs the workload with the plan, then opens the set normally.
void CutAt(const WorkloadShape& shape, const FaultPlan& plan, const char* kind)
{
    SCOPED_TRACE(std::string(kind) + " at write " + std::to_string(plan.failWriteAt + plan.cutWriteAt));
    ScratchFolder folder;
    std::string path = folder.File("cut");
    WorkloadRun run;
    {
        FaultyIo io;
        io.Plan(plan);
        Engine engine(16, 16, 4);
        ASSERT_NO_THROW(run = RunWorkload(path, shape));
        ASSERT_FALSE(run.completed && io.Writes() < plan.failWriteAt + plan.cutWriteAt);
    }
    std::vector<std::string> files = SetFiles(path, shape);
    std::vector<std::vector<uint8_t>> before = Snapshot(folder, files);
    Engine engine(16, 16, 4);
    ReopenVerdict verdict;
    ASSERT_NO_THROW(verdict = Reopen(path, shape, run));
    if (verdict.code == kMgNotClosedCleanly) {
        EXPECT_EQ(before, Snapshot(folder, files)) << "a refused open changed the file";
        return;
    }
    if (!run.created && verdict.code != 0) {
        // Cut while the set was being made: nothing was ever stored in it; the binding makes
        // it again.
        return;
    }
    ASSERT_EQ(0, verdict.code) << "stopped at " << run.stoppedAt;
    EXPECT_TRUE(verdict.matches) << verdict.detail << " (stopped at " << run.stoppedAt << ")";
    EXPECT_TRUE(verdict.checked) << verdict.detail << " (stopped at " << run.stoppedAt << ")";
}

void WalkCuts(const WorkloadShape& shape, long stride)
{
    long total = WritesOfWholeRun(shape);
    ASSERT_GT(total, 100);
    for (long n = 1; n <= total; n += (n < 300 ? 1 : stride)) {
        FaultPlan fail;
        fail.failWriteAt = n;
        ASSERT_NO_FATAL_FAILURE(CutAt(shape, fail, "failed write"));
        FaultPlan cut;
        cut.cutWriteAt = n;
        cut.cutPrefix = uint32_t(n % 3 == 0 ? 0 : n % 3 == 1 ? 7 : 100000);
        ASSERT_NO_FATAL_FAILURE(CutAt(shape, cut, "cut write"));
    }
}

TEST(CrashMatrix, PlainSetEveryCutOpensWholeOrIsRefused)
{
    WorkloadShape shape;
    shape.host = false;
    WalkCuts(shape, 5);
}

TEST(CrashMatrix, HostSetEveryCutOpensWholeOrIsRefused)
{
    WorkloadShape shape;
    shape.host = true;
    WalkCuts(shape, 5);
}

TEST(CrashMatrix, RefusedCacheIsRecreatedEmptyAndWorks)
{
    ScratchFolder folder;
    std::string path = folder.File("cache");
    WorkloadShape shape;
    WorkloadRun run;
    {
        FaultyIo io;
        FaultPlan plan;
        plan.cutWriteAt = 400;
        plan.cutPrefix = 5;
        io.Plan(plan);
        Engine engine(16, 16, 4);
        run = RunWorkload(path, shape);
    }
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
