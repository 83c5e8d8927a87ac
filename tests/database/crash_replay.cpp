// The disk replay of the crash matrix: recorded changes applied to the real files with
// plain Win32 calls (not through the engine's I/O layer), a torn write undone before the
// replay moves on, and the regions changed since the last remembered open.
#include "crash_replay.h"

#include <cstring>

namespace dbtest {

namespace {

bool Overlaps(uint64_t a, uint64_t aLength, uint64_t b, uint64_t bLength)
{
    return a < b + bLength && b < a + aLength;
}

} // namespace

DiskReplay::DiskReplay(std::vector<DiskChange> journal) : journal_(std::move(journal)) {}

DiskReplay::~DiskReplay()
{
    Release();
}

void DiskReplay::Release()
{
    for (auto& entry : handles_)
        CloseHandle(entry.second);
    handles_.clear();
}

HANDLE DiskReplay::Handle(const std::string& file)
{
    auto it = handles_.find(file);
    if (it != handles_.end())
        return it->second;
    HANDLE handle = CreateFileA(file.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    handles_[file] = handle;
    return handle;
}

uint64_t DiskReplay::SizeOf(const std::string& file)
{
    LARGE_INTEGER size{};
    GetFileSizeEx(Handle(file), &size);
    return uint64_t(size.QuadPart);
}

void DiskReplay::Write(const std::string& file, uint64_t position, const uint8_t* bytes, size_t length)
{
    if (position + length > SizeOf(file))
        filesChanged_ = true;
    OVERLAPPED at{};
    at.Offset = DWORD(position);
    at.OffsetHigh = DWORD(position >> 32);
    DWORD done = 0;
    WriteFile(Handle(file), bytes, DWORD(length), &done, &at);
    dirty_.push_back(Region{file, position, length});
}

void DiskReplay::Apply(const DiskChange& change)
{
    switch (change.kind) {
    case 'c': {
        auto it = handles_.find(change.file);
        if (it != handles_.end()) {
            CloseHandle(it->second);
            handles_.erase(it);
        }
        HANDLE made = CreateFileA(change.file.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        CloseHandle(made);
        filesChanged_ = true;
        break;
    }
    case 'd': {
        auto it = handles_.find(change.file);
        if (it != handles_.end()) {
            CloseHandle(it->second);
            handles_.erase(it);
        }
        DeleteFileA(change.file.c_str());
        filesChanged_ = true;
        break;
    }
    default:
        Write(change.file, change.position, change.bytes.data(), change.bytes.size());
        break;
    }
}

void DiskReplay::UndoTorn()
{
    if (!torn_.active)
        return;
    Write(torn_.file, torn_.position, torn_.oldBytes.data(), torn_.oldBytes.size());
    HANDLE handle = Handle(torn_.file);
    LARGE_INTEGER end;
    end.QuadPart = LONGLONG(torn_.oldSize);
    if (SizeOf(torn_.file) != torn_.oldSize) {
        SetFilePointerEx(handle, end, nullptr, FILE_BEGIN);
        SetEndOfFile(handle);
        filesChanged_ = true;
    }
    torn_ = Torn{};
}

void DiskReplay::CutAt(long write, uint32_t prefix)
{
    if (write < lastCut_)
        return;
    lastCut_ = write;
    UndoTorn();
    // Every change made before write `write`: creations and deletions carry the number of
    // writes made before them, writes their own number.
    while (applied_ < journal_.size() && journal_[applied_].write < write)
        Apply(journal_[applied_++]);
    if (applied_ >= journal_.size() || prefix == 0)
        return;
    const DiskChange& cut = journal_[applied_];
    if (cut.kind != 'w' || cut.write != write)
        return;
    size_t length = prefix < cut.bytes.size() ? prefix : cut.bytes.size();
    torn_.active = true;
    torn_.file = cut.file;
    torn_.position = cut.position;
    torn_.oldSize = SizeOf(cut.file);
    torn_.oldBytes.assign(length, 0);
    uint64_t readable = torn_.oldSize > cut.position ? torn_.oldSize - cut.position : 0;
    size_t existing = readable < length ? size_t(readable) : length;
    if (existing > 0) {
        OVERLAPPED at{};
        at.Offset = DWORD(cut.position);
        at.OffsetHigh = DWORD(cut.position >> 32);
        DWORD done = 0;
        ReadFile(Handle(cut.file), torn_.oldBytes.data(), DWORD(existing), &done, &at);
    }
    torn_.oldBytes.resize(existing);
    Write(cut.file, cut.position, cut.bytes.data(), length);
}

void DiskReplay::Remember(const SeenBytes& seen)
{
    seen_ = seen;
    dirty_.clear();
    filesChanged_ = false;
}

bool DiskReplay::SeenUnchanged() const
{
    if (filesChanged_)
        return false;
    for (const Region& changed : dirty_)
        for (const SeenBytes::Range& read : seen_.reads)
            if (read.file == changed.file && Overlaps(read.position, read.length, changed.position, changed.length))
                return false;
    return true;
}

} // namespace dbtest
