// Replays the disk changes of one recorded run into real files, so that what a process
// killed at write N leaves on disk (every change before write N and a prefix of write N)
// is made without running the workload again for every N. Faithful because nothing of a
// killed process reaches the disk after the cut, and the run up to the cut is the recorded
// one (the workload is deterministic). It also knows which bytes changed since a moment
// it was told to remember, so a verdict whose inputs did not change can be carried over.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "database_test_support.h"

namespace dbtest {

class DiskReplay {
  public:
    explicit DiskReplay(std::vector<DiskChange> journal);
    ~DiskReplay();
    DiskReplay(const DiskReplay&) = delete;
    DiskReplay& operator=(const DiskReplay&) = delete;

    // Brings the files to a cut at write `write` (1-based, never going back) with `prefix`
    // bytes of that write on disk. A write past the last gives the finished run.
    void CutAt(long write, uint32_t prefix);
    // Closes the replay's own handles, so that the engine opens the files alone.
    void Release();
    // Notes what an open read; SeenUnchanged then answers whether any of it may differ in
    // the files now (a file made, removed or resized since counts as a difference).
    void Remember(const SeenBytes& seen);
    bool SeenUnchanged() const;

  private:
    struct Region {
        std::string file;
        uint64_t position;
        uint64_t length;
    };
    struct Torn {
        bool active = false;
        std::string file;
        uint64_t position = 0;
        uint64_t oldSize = 0;
        std::vector<uint8_t> oldBytes;
    };

    HANDLE Handle(const std::string& file);
    uint64_t SizeOf(const std::string& file);
    void Write(const std::string& file, uint64_t position, const uint8_t* bytes, size_t length);
    void Apply(const DiskChange& change);
    void UndoTorn();

    std::vector<DiskChange> journal_;
    size_t applied_ = 0;
    long lastCut_ = 0;
    Torn torn_;
    std::map<std::string, HANDLE> handles_;
    // Changes since Remember: byte regions, and whether a file was made, removed or resized.
    std::vector<Region> dirty_;
    bool filesChanged_ = false;
    SeenBytes seen_;
};

} // namespace dbtest
