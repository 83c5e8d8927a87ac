// The engine's side of the database bench: one data file with a unique integer index and
// a text index with duplicates, loaded, read, scanned, changed and reopened as the workload
// says, through the engine's own calls.
#include "bench/database/database_sides.h"

#include <cstring>

#include "database/mgContext.h"
#include "database/mgFile.h"
#include "database/mgFileSet.h"
#include "database/mgInstance.h"
#include "database/mgKey.h"
#include "database/mgLock.h"
#include "database/mgNode.h"
#include "database/mgRecord.h"

namespace dbbench {

namespace {

constexpr uint16_t kFixedLength = 1 + 4 + kTextLength + kFixedPayload;
constexpr uint16_t kFixedPart = 1 + 4 + kTextLength;

// The set as the engine is told it: its definition owns the arrays it points to.
struct EngineSet {
    std::string name;
    mgSegmentDef segmentA{1, 4, 8};
    mgSegmentDef segmentB{5, kTextLength, 0};
    mgIndexDef indexes[2] = {};
    mgFileDef def{};
    uint16_t data = 0;
    bool variable = false;

    EngineSet(const std::string& path, bool variableRecords) : name(path), variable(variableRecords)
    {
        indexes[0].keyLength = 4;
        indexes[0].segmentCount = 1;
        indexes[0].segments = &segmentA;
        indexes[1].keyLength = kTextLength + 4;
        indexes[1].duplicates = 1;
        indexes[1].segmentCount = 1;
        indexes[1].segments = &segmentB;
        def.name = &name[0];
        def.dataFileNumber = -1;
        def.recordLength = variable ? kFixedPart : kFixedLength;
        def.dataMode = variable ? 0x0004 : 0;
        def.indexCount = 2;
        def.indexes = indexes;
        def.setFileNumber = -1;
    }
    bool Create()
    {
        if (mgCreateFileSet(&def) != 0)
            return false;
        data = uint16_t(def.setFileNumber);
        return true;
    }
    uint16_t IndexA() const
    {
        return uint16_t(data + 1);
    }
    uint16_t IndexB() const
    {
        return uint16_t(data + 2);
    }
};

// A record of the workload: leading zero, key a, text b, payload.
std::vector<uint8_t> Record(const Workload& w, uint32_t number, int32_t a)
{
    uint32_t payload = w.PayloadLength(number);
    std::vector<uint8_t> r(kFixedPart + payload, 0);
    memcpy(r.data() + 1, &a, 4);
    std::string b = w.KeyB(number);
    memcpy(r.data() + 5, b.data(), kTextLength);
    for (uint32_t i = 0; i < payload; ++i)
        r[kFixedPart + i] = w.PayloadByte(number, i);
    return r;
}

int16_t Add(const EngineSet& set, std::vector<uint8_t>& r)
{
    return set.variable ? mgAddVariableRecord(set.data, r.data(), int32_t(r.size())) : mgAddRecord(set.data, r.data());
}

// Makes the record with key a current; true when found.
bool FindA(const EngineSet& set, int32_t a, std::vector<uint8_t>& buffer)
{
    uint8_t probe[kFixedPart] = {};
    memcpy(probe + 1, &a, 4);
    uint8_t key[8];
    if (mgBuildKey(int16_t(set.IndexA()), probe, key, 0, kFixedPart) != 4)
        return false;
    return mgGetEqualRecord(set.IndexA(), key, buffer.data()) == 0;
}

class Batch {
  public:
    void Step()
    {
        if (ops_ == 0)
            mgBeginTransaction(48);
        if (++ops_ == kTransactionOps)
            End();
    }
    void End()
    {
        if (ops_ > 0)
            mgCommitTransaction(0);
        ops_ = 0;
    }

  private:
    int ops_ = 0;
};

uint64_t SetBytes(const std::string& path)
{
    return FileBytes(path + ".dat") + FileBytes(path + ".idx");
}

} // namespace

int RunEngineSide(const SideOptions& o)
{
    Stopwatch total;
    Workload w(o.records, o.variable);
    Plan plan(w, o.records, o.records / 10);
    std::string folder = FreshFolder(o.variable ? "engine-variable" : "engine-fixed");
    if (mgInitIsamEx(o.buffers, 16, o.sectors, o.dataBuffers, 33, 0, 0, 0) != 0)
        return 3;
    std::vector<uint8_t> buffer(kFixedPart + 512);

    // Inserts, one transaction per operation, into a set of their own.
    {
        EngineSet perOp(folder + "\\perop", o.variable);
        if (!perOp.Create())
            return 4;
        uint32_t count = o.perOperation;
        Stopwatch clock;
        for (uint32_t i = 0; i < count; ++i) {
            std::vector<uint8_t> r = Record(w, w.order[i], w.KeyA(w.order[i]));
            mgBeginTransaction(48);
            if (Add(perOp, r) != 0)
                return 5;
            mgCommitTransaction(0);
        }
        Report("insert_per_op_rate", count / clock.Seconds());
        mgCloseFileSet(&perOp.def);
    }

    EngineSet set(folder + "\\set", o.variable);
    if (!set.Create())
        return 4;
    Batch batch;
    Stopwatch load;
    for (uint32_t number : w.order) {
        std::vector<uint8_t> r = Record(w, number, w.KeyA(number));
        batch.Step();
        if (Add(set, r) != 0)
            return 6;
    }
    batch.End();
    Report("insert_rate", w.records / load.Seconds());
    // Records still in the data buffers are on disk once the set is flushed.
    if (mgFlushFile(set.data) != 0)
        return 14;
    Report("load_mb", SetBytes(set.name) / 1048576.0);

    uint32_t found = 0;
    Stopwatch lookupsA;
    for (int32_t a : plan.lookupsA)
        found += FindA(set, a, buffer) ? 1 : 0;
    Report("lookup_a_rate", plan.lookupsA.size() / lookupsA.Seconds());
    Report("lookup_a_found", found);

    found = 0;
    Stopwatch lookupsB;
    for (uint32_t group : plan.lookupsB) {
        uint8_t probe[kFixedPart] = {};
        char text[kTextLength + 1];
        snprintf(text, sizeof text, "name%012u", group);
        memcpy(probe + 5, text, kTextLength);
        uint8_t key[kTextLength + 8];
        if (mgBuildKey(int16_t(set.IndexB()), probe, key, 0, kFixedPart) != kTextLength)
            return 7;
        if (mgGetGreaterOrEqualRecord(set.IndexB(), key, buffer.data()) == 0 &&
            memcmp(buffer.data() + 5, text, kTextLength) == 0)
            ++found;
    }
    Report("lookup_b_rate", plan.lookupsB.size() / lookupsB.Seconds());
    Report("lookup_b_found", found);

    uint64_t scanned = 0;
    Stopwatch scans;
    for (int32_t start : plan.scanStarts) {
        uint8_t probe[kFixedPart] = {};
        memcpy(probe + 1, &start, 4);
        uint8_t key[8];
        mgBuildKey(int16_t(set.IndexA()), probe, key, 0, kFixedPart);
        int16_t answer = mgGetGreaterOrEqualRecord(set.IndexA(), key, buffer.data());
        for (int i = 0; answer == 0 && i < kScanLength; ++i) {
            ++scanned;
            if (i + 1 < kScanLength)
                answer = mgNextRecord(set.IndexA(), buffer.data());
        }
    }
    Report("scan_rate", kScans / scans.Seconds());
    Report("scan_records", double(scanned));

    uint64_t walked = 0;
    Stopwatch walk;
    for (int16_t a = mgFirstRecord(set.IndexA(), buffer.data()); a == 0; a = mgNextRecord(set.IndexA(), buffer.data()))
        ++walked;
    Report("walk_rate", walked / walk.Seconds());
    Report("walk_records", double(walked));

    Stopwatch rewrites;
    for (const auto& change : plan.rewrites) {
        batch.Step();
        if (!FindA(set, change.first, buffer))
            return 8;
        std::vector<uint8_t> r = Record(w, uint32_t(change.second), change.second);
        int16_t answer = o.variable ? mgRewriteVariableRecord(set.data, r.data(), int32_t(r.size()))
                                    : mgRewriteRecord(set.data, r.data());
        if (answer != 0)
            return 9;
    }
    batch.End();
    Report("rewrite_rate", plan.rewrites.size() / rewrites.Seconds());

    Stopwatch deletes;
    for (int32_t a : plan.deletes) {
        batch.Step();
        if (!FindA(set, a, buffer))
            return 10;
        if ((o.variable ? mgDeleteVariableRecord(set.data) : mgDeleteRecord(set.data)) != 0)
            return 11;
    }
    batch.End();
    Report("delete_rate", plan.deletes.size() / deletes.Seconds());
    if (mgCloseFileSet(&set.def) != 0)
        return 12;
    Report("deleted_mb", SetBytes(set.name) / 1048576.0);

    Stopwatch reopen;
    int opened = mgOpenFileSetFromResource(-1, (set.name + ".dat").c_str(), 0);
    if (opened < 0)
        return 13;
    uint32_t count = mgKeyCount(opened + 1);
    Report("reopen_count_ms", reopen.Seconds() * 1000.0);
    Report("count", count);
    mgCloseFileSetByNumber(uint16_t(opened));
    mgStopIsam();
    Report("peak_mb", PeakMegabytes());
    Report("elapsed_s", total.Seconds());
    return 0;
}

} // namespace dbbench
