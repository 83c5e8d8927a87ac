// Shared fixtures of the engine's tests: scratch folders, hooks, the faulting I/O layer, the
// test sets and the lookup by key.
#include "database_test_support.h"

#include <cstdio>
#include <cstring>
#include <map>

#include "database/mgInstance.h"
#include "database/mgKey.h"
#include "database/mgRecord.h"
#include "database/mgRuntime.h"

namespace dbtest {

namespace {

std::vector<std::string> g_messages;

int CaptureMessage(HWND, const char* text, const char*, UINT)
{
    g_messages.push_back(text ? text : "");
    return IDOK;
}

void ThrowOnExit(UINT code)
{
    throw EngineExit(code);
}

struct FaultState {
    FaultPlan plan;
    long writes = 0;
    long reads = 0;
    long flushes = 0;
    bool dead = false;
    std::vector<IoEvent> events;
    std::vector<DiskChange> journal;
    SeenBytes seen;
    // The file each open handle names (journal and read tracking).
    std::map<HANDLE, std::string> names;
};
FaultState g_fault;

std::string NameOf(HANDLE handle)
{
    auto it = g_fault.names.find(handle);
    return it == g_fault.names.end() ? std::string() : it->second;
}

const mgIoFunctions& Real()
{
    return mgWin32Io();
}

HANDLE FaultOpen(const char* name, DWORD access, DWORD share, DWORD disposition)
{
    if (g_fault.dead) {
        SetLastError(ERROR_NOT_READY);
        return INVALID_HANDLE_VALUE;
    }
    HANDLE handle = Real().open(name, access, share, disposition);
    if (handle != INVALID_HANDLE_VALUE) {
        g_fault.names[handle] = name;
        if (g_fault.plan.journal && disposition != OPEN_EXISTING)
            g_fault.journal.push_back(DiskChange{'c', name, 0, {}, g_fault.writes});
    }
    return handle;
}

BOOL FaultClose(HANDLE handle)
{
    // A killed process's handles are closed by the system all the same.
    g_fault.names.erase(handle);
    return Real().close(handle);
}

BOOL FaultRemove(const char* name)
{
    if (g_fault.dead) {
        SetLastError(ERROR_NOT_READY);
        return FALSE;
    }
    BOOL removed = Real().remove(name);
    if (removed && g_fault.plan.journal)
        g_fault.journal.push_back(DiskChange{'d', name, 0, {}, g_fault.writes});
    return removed;
}

BOOL FaultRead(HANDLE handle, uint64_t position, void* buffer, DWORD length, DWORD* done)
{
    *done = 0;
    if (g_fault.dead) {
        SetLastError(ERROR_NOT_READY);
        return FALSE;
    }
    ++g_fault.reads;
    if (g_fault.plan.record)
        g_fault.events.push_back(IoEvent{'r', position, length, {}});
    if (g_fault.plan.failReadAt && g_fault.reads == g_fault.plan.failReadAt) {
        SetLastError(ERROR_READ_FAULT);
        return FALSE;
    }
    if (g_fault.plan.lockedReadAt && g_fault.reads == g_fault.plan.lockedReadAt) {
        SetLastError(ERROR_LOCK_VIOLATION);
        return FALSE;
    }
    if (g_fault.plan.trackReads)
        g_fault.seen.reads.push_back(SeenBytes::Range{NameOf(handle), position, length});
    DWORD asked = length;
    if (g_fault.plan.shortReads && asked > 0)
        asked -= 1;
    BOOL read = Real().read(handle, position, buffer, asked, done);
    if (g_fault.plan.afterReadAt == g_fault.reads && g_fault.plan.afterRead) {
        DWORD error = GetLastError();
        std::function<void()> meanwhile = std::move(g_fault.plan.afterRead);
        g_fault.plan.afterRead = nullptr;
        meanwhile();
        SetLastError(error);
    }
    return read;
}

BOOL FaultWrite(HANDLE handle, uint64_t position, const void* buffer, DWORD length, DWORD* done)
{
    *done = 0;
    if (g_fault.dead) {
        SetLastError(ERROR_NOT_READY);
        return FALSE;
    }
    ++g_fault.writes;
    if (g_fault.plan.record) {
        IoEvent event{'w', position, length, {}};
        if (length <= 16)
            event.bytes.assign(static_cast<const uint8_t*>(buffer), static_cast<const uint8_t*>(buffer) + length);
        g_fault.events.push_back(event);
    }
    if (g_fault.plan.failWriteAt && g_fault.writes == g_fault.plan.failWriteAt) {
        SetLastError(ERROR_WRITE_FAULT);
        return FALSE;
    }
    if (g_fault.plan.cutWriteAt && g_fault.writes == g_fault.plan.cutWriteAt) {
        DWORD prefix = g_fault.plan.cutPrefix < length ? g_fault.plan.cutPrefix : length;
        if (prefix > 0)
            Real().write(handle, position, buffer, prefix, done);
        g_fault.dead = true;
        SetLastError(ERROR_WRITE_FAULT);
        return FALSE;
    }
    BOOL written = Real().write(handle, position, buffer, length, done);
    if (written && g_fault.plan.journal) {
        const uint8_t* bytes = static_cast<const uint8_t*>(buffer);
        g_fault.journal.push_back(
            DiskChange{'w', NameOf(handle), position, std::vector<uint8_t>(bytes, bytes + *done), g_fault.writes});
    }
    return written;
}

BOOL FaultSize(HANDLE handle, uint64_t* size)
{
    if (g_fault.dead) {
        SetLastError(ERROR_NOT_READY);
        return FALSE;
    }
    return Real().size(handle, size);
}

BOOL FaultFlush(HANDLE handle)
{
    if (g_fault.dead) {
        SetLastError(ERROR_NOT_READY);
        return FALSE;
    }
    ++g_fault.flushes;
    if (g_fault.plan.record)
        g_fault.events.push_back(IoEvent{'f', 0, 0, {}});
    if (g_fault.plan.failFlushAt && g_fault.flushes == g_fault.plan.failFlushAt) {
        SetLastError(ERROR_WRITE_FAULT);
        return FALSE;
    }
    return Real().flush(handle);
}

BOOL FaultLock(HANDLE handle, uint64_t offset, DWORD length)
{
    if (g_fault.dead || g_fault.plan.refuseLocks) {
        SetLastError(ERROR_LOCK_VIOLATION);
        return FALSE;
    }
    if (g_fault.plan.record)
        g_fault.events.push_back(IoEvent{'l', offset, length, {}});
    return Real().lock(handle, offset, length);
}

BOOL FaultUnlock(HANDLE handle, uint64_t offset, DWORD length)
{
    if (g_fault.dead) {
        SetLastError(ERROR_NOT_READY);
        return FALSE;
    }
    if (g_fault.plan.record)
        g_fault.events.push_back(IoEvent{'u', offset, length, {}});
    return Real().unlock(handle, offset, length);
}

const mgIoFunctions kFaultyIo = {FaultOpen, FaultClose, FaultRemove, FaultRead, FaultWrite,
                                 FaultSize, FaultFlush, FaultLock,   FaultUnlock};

void RemoveTree(const std::string& path)
{
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((path + "\\*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            std::string full = path + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(full);
            } else {
                SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(full.c_str());
            }
        } while (FindNextFileA(find, &found));
        FindClose(find);
    }
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryA(path.c_str());
}

} // namespace

std::vector<std::string>& ShownMessages()
{
    return g_messages;
}

void InstallHooks()
{
    mgSetDisplayFunction(CaptureMessage);
    mgSetExitFunction(ThrowOnExit);
}

ScratchFolder::ScratchFolder()
{
    InstallHooks();
    char current[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, current);
    previous_ = current;
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    static unsigned counter = 0;
    char name[MAX_PATH];
    snprintf(name, sizeof name, "%sisam-%lu-%u", temp, GetCurrentProcessId(), ++counter);
    path_ = name;
    // A folder of the same name left by a process that was killed goes first.
    RemoveTree(path_);
    CreateDirectoryA(path_.c_str(), nullptr);
    SetCurrentDirectoryA(path_.c_str());
    mgResetStatusLogState();
    g_messages.clear();
}

ScratchFolder::~ScratchFolder()
{
    SetCurrentDirectoryA(previous_.c_str());
    RemoveTree(path_);
}

std::string ScratchFolder::ReadLog() const
{
    std::vector<uint8_t> bytes = ReadWholeFile(File("MGSTATUS.DMS"));
    return std::string(bytes.begin(), bytes.end());
}

std::vector<uint8_t> ReadWholeFile(const std::string& path)
{
    std::vector<uint8_t> bytes;
    FILE* file = fopen(path.c_str(), "rb");
    if (!file)
        return bytes;
    uint8_t chunk[65536];
    size_t n;
    while ((n = fread(chunk, 1, sizeof chunk, file)) > 0)
        bytes.insert(bytes.end(), chunk, chunk + n);
    fclose(file);
    return bytes;
}

void WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    FILE* file = fopen(path.c_str(), "wb");
    if (!file)
        return;
    if (!bytes.empty())
        fwrite(bytes.data(), 1, bytes.size(), file);
    fclose(file);
}

FaultyIo::FaultyIo()
{
    g_fault = FaultState{};
    mgSetIoFunctions(&kFaultyIo);
}

FaultyIo::~FaultyIo()
{
    mgSetIoFunctions(nullptr);
    g_fault = FaultState{};
}

void FaultyIo::Plan(const FaultPlan& plan)
{
    // Handles opened before the new plan still name their files.
    std::map<HANDLE, std::string> names = std::move(g_fault.names);
    g_fault = FaultState{};
    g_fault.plan = plan;
    g_fault.names = std::move(names);
}

long FaultyIo::Writes() const
{
    return g_fault.writes;
}

long FaultyIo::Reads() const
{
    return g_fault.reads;
}

long FaultyIo::Flushes() const
{
    return g_fault.flushes;
}

std::vector<DiskChange> FaultyIo::TakeJournal()
{
    return std::move(g_fault.journal);
}

const SeenBytes& FaultyIo::Seen() const
{
    return g_fault.seen;
}

bool FaultyIo::Dead() const
{
    return g_fault.dead;
}

const std::vector<IoEvent>& FaultyIo::Events() const
{
    return g_fault.events;
}

Engine::Engine(int buffers, int files, int sectors, int dataBuffers)
{
    InstallHooks();
    mgInitIsamEx(buffers, files, sectors, dataBuffers < 0 ? buffers : dataBuffers, 33, 0, 0, 0);
    mgSetLockWait(3, 1);
}

Engine::~Engine()
{
    while (mgCurrentInstanceId()) {
        const char* name = mgCurrentInstanceId();
        std::string copy = name;
        mgStopIsam();
        if (mgCurrentInstanceId() && copy == mgCurrentInstanceId())
            mgUnregisterInstance(copy.c_str());
    }
}

std::vector<uint8_t> MakeRecord(uint32_t a, const std::string& b, size_t length, uint8_t fill)
{
    std::vector<uint8_t> record(length, fill);
    record[0] = 0;
    for (int i = 0; i < 4; ++i)
        record[1 + i] = uint8_t(a >> (8 * i));
    for (size_t i = 0; i < 16; ++i)
        record[5 + i] = i < b.size() ? uint8_t(b[i]) : ' ';
    return record;
}

mgFileDef* SetDefinition::Build()
{
    for (size_t i = 0; i < indexes.size(); ++i) {
        indexes[i].segments = segments[i].data();
        indexes[i].segmentCount = int16_t(segments[i].size());
        indexes[i].memberName = memberNames.size() > i && !memberNames[i].empty() ? &memberNames[i][0] : nullptr;
    }
    def.name = &name[0];
    def.indexes = indexes.empty() ? nullptr : indexes.data();
    def.indexCount = int16_t(indexes.size());
    return &def;
}

SetDefinition TwoIndexSet(const std::string& name, uint16_t recordLength, uint16_t dataMode, int16_t keyType)
{
    SetDefinition set;
    set.name = name;
    set.segments = {{{1, 4, 8}}, {{5, 16, 0}}};
    mgIndexDef a{};
    a.keyLength = 4;
    a.keyType = keyType;
    mgIndexDef b{};
    b.keyLength = 20;
    b.duplicates = 1;
    b.keyType = keyType;
    set.indexes = {a, b};
    set.def.dataFileNumber = -1;
    set.def.recordLength = recordLength;
    set.def.dataMode = dataMode;
    set.def.setFileNumber = -1;
    return set;
}

int16_t FindByKey(int index, const std::vector<uint8_t>& probe, std::vector<uint8_t>& found)
{
    uint8_t key[kMgMaxKeyLength + 8];
    if (mgBuildKey(int16_t(index), probe.data(), key, 0, uint32_t(probe.size())) != 4)
        return kNoKeyBuilt;
    return mgGetEqualRecord(uint16_t(index), key, found.data());
}

std::string ErrorText(int code)
{
    return "engine error " + std::to_string(code);
}

} // namespace dbtest
