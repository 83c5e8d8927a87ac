// What the engine's tests share: a scratch folder per test (the status log is written in
// the current directory), a started instance, message and exit hooks that never block or
// end the test program, a faulting I/O layer over the real one, the test sets' records and
// definitions, and a record looked up by its key.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "database/mgContext.h"
#include "database/mgOs.h"

namespace dbtest {

// Thrown by the exit hook: an engine path that would end the process.
struct EngineExit : std::runtime_error {
    explicit EngineExit(UINT code) : std::runtime_error("engine exit"), code(code) {}
    UINT code;
};

// Messages the engine showed since the hooks were installed.
std::vector<std::string>& ShownMessages();
void InstallHooks();

// A folder of its own under the temporary folder, made current; removed with its files.
class ScratchFolder {
  public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::string& Path() const
    {
        return path_;
    }
    std::string File(const std::string& name) const
    {
        return path_ + "\\" + name;
    }
    std::string ReadLog() const;

  private:
    std::string path_;
    std::string previous_;
};

std::vector<uint8_t> ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes);

// The faulting I/O layer. Counting runs over every write (or read, flush) from Reset on.
struct FaultPlan {
    long failWriteAt = 0;   // the Nth write fails, nothing written
    long cutWriteAt = 0;    // the Nth write writes cutPrefix bytes, then every call fails
    uint32_t cutPrefix = 0;
    long failReadAt = 0;    // the Nth read fails
    long lockedReadAt = 0;  // the Nth read meets bytes another process holds locked
    long failFlushAt = 0;   // the Nth flush fails
    bool shortReads = false;  // every read returns one byte less than asked
    bool refuseLocks = false; // every region lock is refused
    bool record = false;      // keep the call sequence
    bool journal = false;     // keep every change to the disk, whole (DiskChange)
    bool trackReads = false;  // keep the ranges read (SeenBytes)
    // Runs once, right after the Nth read: another handle's work between two steps of a call.
    long afterReadAt = 0;
    std::function<void()> afterRead;
};

struct IoEvent {
    char kind; // 'w' write, 'r' read, 'f' flush, 'l' lock, 'u' unlock
    uint64_t position;
    uint32_t length;
    std::vector<uint8_t> bytes; // writes of up to 16 bytes
};

// A change the engine made to the disk: a file created empty ('c'), deleted ('d') or
// written ('w', the bytes at the position); `write` numbers the writes from 1 as the plan
// counts them.
struct DiskChange {
    char kind;
    std::string file;
    uint64_t position;
    std::vector<uint8_t> bytes;
    long write;
};

// The byte ranges the engine's file calls read.
struct SeenBytes {
    struct Range {
        std::string file;
        uint64_t position;
        uint64_t length;
    };
    std::vector<Range> reads;
};

class FaultyIo {
  public:
    FaultyIo();
    ~FaultyIo();
    void Plan(const FaultPlan& plan);
    long Writes() const;
    long Reads() const;
    long Flushes() const;
    bool Dead() const;
    const std::vector<IoEvent>& Events() const;
    std::vector<DiskChange> TakeJournal();
    const SeenBytes& Seen() const;
};

// A started default instance (mgInitIsamEx) with short lock waits; stopped at the end.
class Engine {
  public:
    // dataBuffers -1: as many as node buffers, as mgInitIsam gives.
    explicit Engine(int buffers = 16, int files = 16, int sectors = 32, int dataBuffers = -1);
    ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;
};

// A record of the test sets: leading byte 0, u32 key A at 1, 16 text bytes at 5 (key B),
// payload after. Fixed length 64 unless said otherwise.
std::vector<uint8_t> MakeRecord(uint32_t a, const std::string& b, size_t length = 64, uint8_t fill = 0);

// A set definition owned by the test: data file and indexes over MakeRecord's fields.
struct SetDefinition {
    std::string name;
    std::vector<mgIndexDef> indexes;
    std::vector<std::vector<mgSegmentDef>> segments;
    std::vector<std::string> memberNames;
    mgFileDef def{};
    mgFileDef* Build();
};
// Index on A (mode 8 signed, unique), index on B (text, duplicates).
SetDefinition TwoIndexSet(const std::string& name, uint16_t recordLength, uint16_t dataMode, int16_t keyType = 0);

// Answered by FindByKey when no key could be built from the probe (the engine's own codes
// are never negative).
constexpr int16_t kNoKeyBuilt = -1;

// Looks a record up by a 4-byte key (key A of the test sets, any key of the cache set):
// builds the key of the index file `index` from `probe`, a record that holds the key's
// fields, and reads the record with that key into `found`, which is as long as a record.
// The read's answer (with 0 the record is the current one), or kNoKeyBuilt.
int16_t FindByKey(int index, const std::vector<uint8_t>& probe, std::vector<uint8_t>& found);

std::string ErrorText(int code);

} // namespace dbtest
