// The sides of the database bench, each run in a process of its own (so that its peak
// memory is its own) and printing its figures as result lines.
#pragma once

#include <cstdint>

#include "bench/database/database_workload.h"

namespace dbbench {

struct SideOptions {
    uint32_t records = 1000000;
    bool variable = false;
    // The engine's node buffers and data buffers, each of sectors x 128 bytes (32 MB in
    // all; the indexes are small beside the records); SQLite's page cache is given the bytes
    // of both in its configuration like the engine's.
    int buffers = 2048;
    int dataBuffers = 6144;
    int sectors = 32;
    // Inserts made one transaction each, into a set of their own.
    uint32_t perOperation = 100000;
    bool sqliteDefaults = false;
};

int RunEngineSide(const SideOptions& options);
// Answers 2 when the bench was built without SQLite (tools/setup builds it).
int RunSqliteSide(const SideOptions& options);
// 100,000 adds and finds of the banner's cache record through the binding and directly.
int RunBindingSide(const SideOptions& options);

} // namespace dbbench
