// What the crash tests share: a run of the workload into a planned fault, and the outcome
// the engine promises after a cut or a failed write.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "crash_workload.h"
#include "database/mgErrors.h"
#include "database_test_support.h"

namespace dbtest {

// Runs the workload on the set at `path` in an instance of its own (16 buffers, 16 files,
// 4 sectors) over the faulting layer with `plan`; `run` is what it did. `during` runs in
// that instance after the workload, before the instance stops.
inline void RunWithFaults(const std::string& path, const WorkloadShape& shape, const FaultPlan& plan, WorkloadRun* run,
                          const std::function<void()>& during = nullptr)
{
    FaultyIo io;
    io.Plan(plan);
    Engine engine(16, 16, 4);
    ASSERT_NO_THROW(*run = RunWorkload(path, shape));
    if (during) {
        ASSERT_NO_FATAL_FAILURE(during());
    }
}

// Refused as left mid-change (14), refused while the set was still being made (`created`
// false), or opened with every record of the reference and a consistency check passed; the
// last also counts in `compared`, so that a loop can tell that it compared anything at all.
inline void ExpectPromisedVerdict(const ReopenVerdict& verdict, bool created, const std::string& stoppedAt,
                                  long* compared)
{
    if (verdict.code == kMgNotClosedCleanly)
        return;
    if (!created && verdict.code != 0) {
        // Cut while the set was being made: nothing was ever stored in it; the binding
        // makes it again.
        return;
    }
    ASSERT_EQ(0, verdict.code) << "stopped at " << stoppedAt;
    EXPECT_TRUE(verdict.matches) << verdict.detail << " (stopped at " << stoppedAt << ")";
    EXPECT_TRUE(verdict.checked) << verdict.detail << " (stopped at " << stoppedAt << ")";
    *compared += 1;
}

} // namespace dbtest
