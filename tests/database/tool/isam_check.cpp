// Demonstration of the engine: makes a set like the program's banner cache, fills it,
// closes, reopens and verifies it against a reference with the consistency checker, then
// replays the scripted workload with a write cut short at a given write and shows what the
// next open answers and what the checker finds. With --binding it shows the same through the
// record binding and the banner's own cache record (binding_demo.cpp).
//   isam_check [cut-write [adds]]
//   isam_check --binding [cut-write [pages]]
// Exits 0 when every verdict is one the engine promises.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "crash_workload.h"
#include "database/mgErrors.h"
#include "database/mgInstance.h"
#include "database_test_support.h"

using namespace dbtest;

namespace {

const char* Verdict(const ReopenVerdict& v)
{
    if (v.code == kMgNotClosedCleanly)
        return "refused: left in the middle of a change (14), file untouched";
    if (v.code != 0)
        return "refused with another error";
    return v.matches && v.checked ? "opened: every record of the last clean close, checker passed"
                                  : "opened, but NOT consistent";
}

} // namespace

int RunBindingDemonstration(long cutAt, long pages);

int main(int argc, char** argv)
{
    if (argc > 1 && strcmp(argv[1], "--binding") == 0)
        return RunBindingDemonstration(argc > 2 ? atol(argv[2]) : 60, argc > 3 ? atol(argv[3]) : 300);
    long cutAt = argc > 1 ? atol(argv[1]) : 700;
    WorkloadShape shape;
    shape.host = true;
    shape.adds = argc > 2 ? atoi(argv[2]) : 400;
    bool good = true;

    ScratchFolder folder;
    printf("isam_check: working in %s\n", folder.Path().c_str());
    std::string path = folder.File("Cache.dat");
    {
        Engine engine(16, 16, 4);
        WorkloadRun run = RunWorkload(path, shape);
        printf("workload: %d adds, rewrites, deletes, a resource update, close, reopen, %d more adds: %s\n",
               shape.adds, shape.adds / 4, run.completed ? "completed" : ("stopped at " + run.stoppedAt).c_str());
        ReopenVerdict verdict = Reopen(path, shape, run);
        printf("reopen: answer %d, %zu records expected, %s\n", verdict.code, run.closed.size(), Verdict(verdict));
        good = good && run.completed && verdict.code == 0 && verdict.matches && verdict.checked;
    }
    DeleteFileA(path.c_str());

    long writes = 0;
    WorkloadRun cut;
    {
        FaultyIo io;
        FaultPlan plan;
        plan.cutWriteAt = cutAt;
        plan.cutPrefix = 7;
        io.Plan(plan);
        Engine engine(16, 16, 4);
        cut = RunWorkload(path, shape);
        writes = io.Writes();
    }
    printf("replay with write %ld cut after 7 bytes (the process killed there): %s after %ld writes\n", cutAt,
           cut.completed ? "completed" : ("stopped at " + cut.stoppedAt).c_str(), writes);
    {
        Engine engine(16, 16, 4);
        ReopenVerdict verdict = Reopen(path, shape, cut);
        printf("next open: answer %d, %s%s%s\n", verdict.code, Verdict(verdict), verdict.detail.empty() ? "" : ": ",
               verdict.detail.c_str());
        bool promised = verdict.code == kMgNotClosedCleanly ||
                        (verdict.code == 0 && verdict.matches && verdict.checked) || !cut.created;
        good = good && promised;
    }
    printf("isam_check: %s\n", good ? "all verdicts as promised" : "A VERDICT IS NOT AS PROMISED");
    return good ? 0 : 1;
}
