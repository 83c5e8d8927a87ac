// The scripted workload of the crash matrix and the demonstration tool: create a cache-like
// set, add records with splits, rewrite, delete, update a resource, close, reopen, add more,
// close; a run stops at the first engine call that fails, as a killed program would.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace dbtest {

class FaultyIo;

using Records = std::map<uint32_t, std::vector<uint8_t>>;

struct WorkloadRun {
    // The records (by id) the set held at its last clean close.
    Records closed;
    bool created = false;
    bool completed = false;
    std::string stoppedAt;
    // With a faulting layer to count on: the writes made when the set was wholly made, and
    // when each clean close had ended, with what the set held then.
    long createdAfter = -1;
    struct Close {
        long after;
        Records records;
    };
    std::vector<Close> closes;
};

struct WorkloadShape {
    bool host = true;   // a superfile host set, else a data file and a three-index file
    int adds = 120;
    // The run's open mode: 3 opens shared, as the program does. The open after a cut is
    // exclusive (2) all the same: a shared open writes its mode into the header, and the
    // open after a cut must leave the files as they are.
    uint16_t mode = 2;
};

// Runs the workload on a started instance; the files are named from `path`. With `io`,
// the run notes the write counts of its milestones.
WorkloadRun RunWorkload(const std::string& path, const WorkloadShape& shape, const FaultyIo* io = nullptr);

// What the next ordinary open of the set answers, and what it holds.
struct ReopenVerdict {
    int code = 0;          // the open's answer: 0, or the engine's code
    bool matches = false;  // with 0: the records equal the reference
    bool checked = false;  // with 0: the consistency checker passed
    std::string detail;
};

ReopenVerdict Reopen(const std::string& path, const WorkloadShape& shape, const WorkloadRun& run);
ReopenVerdict Reopen(const std::string& path, const WorkloadShape& shape, const Records& expected);

// The files of a set made from `path`.
std::vector<std::string> SetFiles(const std::string& path, const WorkloadShape& shape);

} // namespace dbtest
