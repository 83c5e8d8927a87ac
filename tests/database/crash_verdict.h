// The outcome the engine promises after a cut or a failed write, as the crash tests check it.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "crash_workload.h"
#include "database/mgErrors.h"

namespace dbtest {

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
