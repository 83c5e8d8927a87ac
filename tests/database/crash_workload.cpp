// The crash workload and the verdict of the open that follows it.
#include "crash_workload.h"

#include <cstring>

#include "cache_set_support.h"
#include "database/mgCheck.h"
#include "database/mgFile.h"
#include "database/mgFileSet.h"
#include "database/mgInstance.h"
#include "database/mgRecord.h"
#include "database/mgResource.h"
#include "database_test_support.h"

namespace dbtest {

namespace {

uint32_t TimeOf(uint32_t id)
{
    return id * 7919u % 100003u;
}

std::vector<uint8_t> Record(uint32_t id, uint32_t time, const WorkloadShape& shape)
{
    return CacheRecord(id, time, 1000000u - id);
}

// Creates the plain variant: "<path>.dat" and one index file "<path>.idx" holding the
// three keys as its own index and two additional members.
int CreatePlainSet(const std::string& path)
{
    SetDefinition set = CacheSetDefinition(path);
    if (int error = mgCreateFileSet(set.Build()))
        return error;
    return mgCloseFileSet(&set.def);
}

struct OpenSet {
    CacheSet cache;
    int data = -1;
    int Open(const std::string& path, const WorkloadShape& shape, uint16_t mode)
    {
        if (shape.host) {
            int error = cache.Open(path, mode);
            data = cache.data;
            return error;
        }
        data = mgOpenFileSetFromResource(-1, (path + ".dat").c_str(), mode);
        return data < 0 ? mgCtx()->isam_code : 0;
    }
    int Close(const WorkloadShape& shape)
    {
        if (shape.host)
            return cache.Close();
        int error = data >= 0 ? mgCloseFileSetByNumber(uint16_t(data)) : 0;
        data = -1;
        return error;
    }
};

bool MakeCurrent(int data, uint32_t id)
{
    std::vector<uint8_t> found(2061);
    return FindByKey(data + 1, CacheRecord(id, 0, 0), found) == 0;
}

} // namespace

std::vector<std::string> SetFiles(const std::string& path, const WorkloadShape& shape)
{
    if (shape.host)
        return {path};
    return {path + ".dat", path + ".idx"};
}

WorkloadRun RunWorkload(const std::string& path, const WorkloadShape& shape, const FaultyIo* io)
{
    WorkloadRun run;
    Records model;
    auto stop = [&run](const char* where) {
        run.stoppedAt = where;
        return run;
    };
    auto closed = [&run, &model, io]() {
        run.closed = model;
        if (io)
            run.closes.push_back(WorkloadRun::Close{io->Writes(), model});
    };
    if ((shape.host ? CreateCacheSet(path, 0x0202) : CreatePlainSet(path)) != 0)
        return stop("create");
    run.created = true;
    if (io)
        run.createdAfter = io->Writes();
    OpenSet set;
    if (set.Open(path, shape, shape.mode) != 0)
        return stop("open");
    for (int i = 0; i < shape.adds; ++i) {
        uint32_t id = uint32_t((i * 37) % shape.adds + 1);
        std::vector<uint8_t> record = Record(id, TimeOf(id), shape);
        if (mgAddRecord(uint16_t(set.data), record.data()) != 0)
            return stop("add");
        model[id] = record;
    }
    for (uint32_t id = 5; id <= uint32_t(shape.adds); id += 5) {
        if (!MakeCurrent(set.data, id))
            return stop("find for rewrite");
        std::vector<uint8_t> record = Record(id, TimeOf(id) + 100003u, shape);
        record[200] = uint8_t(id);
        if (mgRewriteRecord(uint16_t(set.data), record.data()) != 0)
            return stop("rewrite");
        model[id] = record;
    }
    for (uint32_t id = 7; id <= uint32_t(shape.adds); id += 7) {
        if (!MakeCurrent(set.data, id))
            return stop("find for delete");
        if (mgDeleteRecord(uint16_t(set.data)) != 0)
            return stop("delete");
        model.erase(id);
    }
    uint8_t resource[300] = {};
    mgPut32(resource, 20);
    mgPut32(resource + 4, 1);
    if (mgAddResource(set.data, resource, 40) != 0)
        return stop("add resource");
    memset(resource + 8, 'r', 280);
    if (mgUpdateResource(set.data, resource, 300) != 0)
        return stop("update resource");
    if (set.Close(shape) != 0)
        return stop("close");
    closed();
    if (set.Open(path, shape, shape.mode) != 0)
        return stop("reopen");
    for (int i = 0; i < shape.adds / 4; ++i) {
        uint32_t id = uint32_t(shape.adds + 1 + i);
        std::vector<uint8_t> record = Record(id, TimeOf(id), shape);
        if (mgAddRecord(uint16_t(set.data), record.data()) != 0)
            return stop("add after reopen");
        model[id] = record;
    }
    if (set.Close(shape) != 0)
        return stop("final close");
    closed();
    run.completed = true;
    return run;
}

ReopenVerdict Reopen(const std::string& path, const WorkloadShape& shape, const WorkloadRun& run)
{
    return Reopen(path, shape, run.closed);
}

ReopenVerdict Reopen(const std::string& path, const WorkloadShape& shape, const Records& expected)
{
    ReopenVerdict verdict;
    OpenSet set;
    verdict.code = set.Open(path, shape, 2);
    if (verdict.code != 0) {
        set.Close(shape);
        return verdict;
    }
    Records held;
    std::vector<uint8_t> record(2061);
    int16_t answer = mgFirstRecord(uint16_t(set.data + 1), record.data());
    while (answer == 0 && held.size() <= expected.size() + 1) {
        held[CacheId(record)] = record;
        answer = mgNextRecord(uint16_t(set.data + 1), record.data());
    }
    verdict.matches = answer == kMgNoRecord && held == expected;
    if (!verdict.matches)
        verdict.detail = "holds " + std::to_string(held.size()) + " records, the reference " +
                         std::to_string(expected.size()) + " (walk ended with " + std::to_string(answer) + ")";
    mgCheckReport report;
    verdict.checked = mgCheckFileSet(uint16_t(set.data), &report) == 0;
    if (verdict.checked && shape.host)
        verdict.checked = mgCheckHost(set.cache.host, &report) == 0;
    if (!verdict.checked)
        verdict.detail += std::string(" checker: ") + report.first;
    set.Close(shape);
    return verdict;
}

} // namespace dbtest
