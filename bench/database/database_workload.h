// The database bench's workload, the same for the engine and for SQLite: which records are
// inserted in which order, which keys are looked up, scanned, rewritten and deleted, all
// from fixed seeds; and the clock, the sizes and the result line every side prints.
#pragma once

#include <windows.h>

#include "bench/bench_timing.h"

#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace dbbench {

// Record shape: a unique 4-byte integer key "a", a 16-byte text key "b" shared by about 8
// records, and a payload (79 bytes in fixed records, 20 to 400 in variable ones).
constexpr int kTextLength = 16;
constexpr int kFixedPayload = 79;
constexpr int kTransactionOps = 1000;
constexpr int kScanLength = 1000;
constexpr int kScans = 1000;

struct Workload {
    uint32_t records = 1000000;
    bool variable = false;
    // The insert order: a shuffled permutation of the record numbers 0 .. records - 1.
    std::vector<uint32_t> order;

    explicit Workload(uint32_t count, bool variableRecords);
    int32_t KeyA(uint32_t number) const
    {
        return int32_t(number);
    }
    std::string KeyB(uint32_t number) const;
    uint32_t PayloadLength(uint32_t number) const;
    uint8_t PayloadByte(uint32_t number, uint32_t at) const
    {
        return uint8_t('a' + (number + at) % 26);
    }
    uint32_t TextGroups() const
    {
        return records / 8 + 1;
    }
};

// One operation list of the run after the load, drawn from a fixed seed.
struct Plan {
    std::vector<int32_t> lookupsA;      // present keys, and one in ten absent
    std::vector<uint32_t> lookupsB;     // text groups, one in ten absent
    std::vector<int32_t> scanStarts;
    std::vector<std::pair<int32_t, int32_t>> rewrites; // key a from, to (a key never used)
    std::vector<int32_t> deletes;       // keys present at their turn

    Plan(const Workload& workload, uint32_t lookups, uint32_t changes);
};

class Stopwatch {
  public:
    double Seconds() const { return (bench::NowMs() - startMs_) / 1000; }

  private:
    double startMs_ = bench::NowMs();
};

uint64_t FileBytes(const std::string& path);
double PeakMegabytes();
// A folder emptied of earlier runs' files.
std::string FreshFolder(const std::string& name);

// The result lines a side prints for the parent: "RESULT name value".
void Report(const char* name, double value);

} // namespace dbbench
