// Positioned transfers and the file calls of the engine, through the replaceable table of
// I/O functions. A read that returns fewer bytes than asked is an error (36), never
// zero-filled data: a truncated file must be refused, not misread.
#include "database/mgOs.h"

#include <cstdio>
#include <cstring>

#include "database/mgDataCache.h"
#include "database/mgFile.h"
#include "database/mgRuntime.h"

namespace {

HANDLE Win32Open(const char* name, DWORD access, DWORD share, DWORD disposition)
{
    return CreateFileA(name, access, share, nullptr, disposition,
                       FILE_ATTRIBUTE_NORMAL | FILE_FLAG_RANDOM_ACCESS, nullptr);
}

BOOL Win32Close(HANDLE handle)
{
    return CloseHandle(handle);
}

BOOL Win32Remove(const char* name)
{
    return DeleteFileA(name);
}

// Positioned transfers seek first and then read or write at the handle's file pointer:
// under Wine a transfer given its position in an OVERLAPPED costs ten times as much (a
// server round trip each). One thread uses a handle at a time, so the pointer is ours.
BOOL SeekFileTo(HANDLE handle, uint64_t position)
{
    LARGE_INTEGER at;
    at.QuadPart = LONGLONG(position);
    return SetFilePointerEx(handle, at, nullptr, FILE_BEGIN);
}

BOOL Win32Read(HANDLE handle, uint64_t position, void* buffer, DWORD length, DWORD* done)
{
    *done = 0;
    if (!SeekFileTo(handle, position))
        return FALSE;
    // Reading at or past the end reads nothing and succeeds: a short read.
    return ReadFile(handle, buffer, length, done, nullptr);
}

BOOL Win32Write(HANDLE handle, uint64_t position, const void* buffer, DWORD length, DWORD* done)
{
    *done = 0;
    if (!SeekFileTo(handle, position))
        return FALSE;
    return WriteFile(handle, buffer, length, done, nullptr);
}

BOOL Win32Size(HANDLE handle, uint64_t* size)
{
    LARGE_INTEGER value;
    if (!GetFileSizeEx(handle, &value))
        return FALSE;
    *size = uint64_t(value.QuadPart);
    return TRUE;
}

BOOL Win32Flush(HANDLE handle)
{
    return FlushFileBuffers(handle);
}

BOOL Win32Lock(HANDLE handle, uint64_t offset, DWORD length)
{
    return LockFile(handle, DWORD(offset), DWORD(offset >> 32), length, 0);
}

BOOL Win32Unlock(HANDLE handle, uint64_t offset, DWORD length)
{
    return UnlockFile(handle, DWORD(offset), DWORD(offset >> 32), length, 0);
}

const mgIoFunctions kWin32Io = {Win32Open, Win32Close, Win32Remove, Win32Read, Win32Write,
                                Win32Size, Win32Flush, Win32Lock,   Win32Unlock};
const mgIoFunctions* g_io = &kWin32Io;

void StoreSystemCode(DWORD code)
{
    if (mgInstanceContext* ctx = mgCtx())
        ctx->sys_code = uint16_t(code);
}

// Makes room for one more non-permanent handle.
void MakeHandleRoom(mgFileControl* f)
{
    mgInstanceContext* ctx = mgCtx();
    if (!f->permanent && ctx->nonPermanentHandles >= ctx->handleLimit)
        mgCloseOneVirtually();
}

bool PrefixedName(const char* name, char* out, bool noPrefix)
{
    mgCopyBounded(out, name, 256);
    mgInstanceContext* ctx = mgCtx();
    if (!noPrefix && ctx->systemKind == 3 && ctx->localDirectory[0])
        return mgPrefixDirectory(out, ctx->localDirectory) == 0;
    return true;
}

HANDLE OpenWithRetry(mgFileControl* f, const char* name, DWORD access, DWORD share, DWORD disposition)
{
    for (int attempt = 0; attempt < 2; ++attempt) {
        HANDLE handle = mgIo().open(name, access, share, disposition);
        if (handle != INVALID_HANDLE_VALUE)
            return handle;
        DWORD error = GetLastError();
        StoreSystemCode(error);
        if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) {
            mgSetError(kMgFileExists);
            return INVALID_HANDLE_VALUE;
        }
        bool tooMany = error == ERROR_TOO_MANY_OPEN_FILES;
        if (!tooMany || attempt == 1 || !mgCloseOneVirtually())
            return INVALID_HANDLE_VALUE;
    }
    return INVALID_HANDLE_VALUE;
}

// The transfer itself, under a region lock when the file asks for locked transfers or
// another process holds the bytes.
BOOL TransferBytes(mgFileControl* phys, bool isWrite, bool plain, uint32_t position, void* buffer, uint32_t length,
              DWORD* done, DWORD* error)
{
    const mgIoFunctions& io = mgIo();
    bool locked = false;
    auto lockBytes = [&] { return mgRegionLock(phys->handle, position, length, 1) == 0; };
    auto transfer = [&] {
        *done = 0;
        BOOL ok = isWrite ? io.write(phys->handle, position, buffer, length, done)
                          : io.read(phys->handle, position, buffer, length, done);
        *error = ok ? 0 : GetLastError();
        return ok;
    };
    if ((phys->flags & kMgLockedTransfers) && plain && length > 0)
        locked = lockBytes();
    BOOL ok = transfer();
    if (!ok && *error == ERROR_LOCK_VIOLATION && !locked && !(phys->flags & kMgLockedTransfers)) {
        // Another process holds the bytes: repeat once under a region lock of our own.
        locked = lockBytes();
        if (locked)
            ok = transfer();
    }
    if (locked)
        io.unlock(phys->handle, position, length);
    return ok;
}

} // namespace

const mgIoFunctions& mgWin32Io()
{
    return kWin32Io;
}

const mgIoFunctions* mgSetIoFunctions(const mgIoFunctions* io)
{
    const mgIoFunctions* old = g_io;
    g_io = io ? io : &kWin32Io;
    return old;
}

const mgIoFunctions& mgIo()
{
    return *g_io;
}

uint16_t mgReadWrite(int operation, mgFileControl* f, uint32_t position, void* buffer, uint32_t length,
                     uint32_t* transferred)
{
    mgInstanceContext* ctx = mgCtx();
    mgFileControl* phys = mgPhysicalFile(f);
    if (!phys)
        return mgSetError(kMgNoTransferFile);
    if (phys->status == 'v') {
        if (uint16_t error = mgReopenVirtual(phys))
            return error;
    }
    if (phys->handle == INVALID_HANDLE_VALUE || phys->handle == nullptr)
        return mgSetError(kMgNoTransferFile);
    bool isWrite = (operation & 1) == kMgWrite;
    if (isWrite && !(operation & kMgHeaderTransfer)) {
        if (uint16_t error = mgMarkUpdate(f))
            return error;
    }
    // Positions are 32-bit: a transfer that would pass 4 GiB is refused, not wrapped.
    if (uint64_t(position) + length > 0x100000000ull)
        return mgSetError(kMgFileTooLarge);
    if (isWrite && int32_t(length) < 0)
        mgStatusLogFile("Warning: write size request > 2GB", phys->name, kMgLogTextOnly);

    bool plain = (operation & (kMgHeaderTransfer | kMgFillerTransfer)) == 0;
    bool writeBack = (operation & kMgWriteBackTransfer) != 0;
    mgDataTransfer kept = kMgDataNotKept;
    if (plain && !writeBack && length > 0 && mgDataCacheServes(f, phys)) {
        kept = isWrite ? mgDataCacheWrite(phys, position, buffer, length)
                       : mgDataCacheRead(phys, position, buffer, length);
        if (kept == kMgDataKept) {
            if (transferred)
                *transferred += length;
            return 0;
        }
    }
    DWORD done = 0;
    DWORD error = 0;
    BOOL ok = FALSE;
    // A changed block that could not be written to make room has answered its own error.
    uint16_t answered = kept == kMgDataWriteBackFailed ? ctx->uerr_cod : 0;
    if (kept == kMgDataTransferFailed) {
        error = GetLastError();
    } else if (!answered) {
        // Changed blocks under a direct transfer reach the disk first.
        if (!writeBack) {
            if (uint16_t failed = mgDataCacheWriteBack(phys, position, length))
                return failed;
        }
        ok = TransferBytes(phys, isWrite, plain, position, buffer, length, &done, &error);
    }
    // Kept blocks follow what a direct write put on the disk (nothing did when the blocks
    // failed).
    if (isWrite && !writeBack && kept == kMgDataNotKept)
        mgDataCacheWritten(phys->handle, position, buffer, length, ok && done == length);
    if (transferred)
        *transferred += done;
    if (isWrite) {
        ctx->writes += 1;
        ctx->bytesWritten += done;
    } else {
        ctx->reads += 1;
        ctx->bytesRead += done;
    }
    if (!ok || done < length) {
        if (!ok && !answered)
            StoreSystemCode(error);
        mgFileControl* first = mgGroupFirst(f);
        // A read that fails in the middle of a change leaves it half made, like a failed
        // write; before any change it changes nothing. A file opened shared is changing
        // from its session's first write to its close, and there a failed read of the
        // header (read again at every step) leaves the change half made too.
        bool changing = first->header[kHdrUpdateFlag] != 0 && (first->flags & kMgPendingUpdate);
        mgFileControl* partner = mgIsMember(first) ? first->partner : nullptr;
        bool inSession = first->sessionSlot != 0 || (partner && partner->sessionSlot != 0);
        if (isWrite || (changing && !(operation & kMgHeaderTransfer)) || inSession)
            mgMarkFailed(f);
        return mgSetError(answered ? answered : isWrite ? kMgShortWrite : kMgShortRead);
    }
    return 0;
}

uint16_t mgReadWriteChecked(int operation, mgFileControl* f, uint32_t position, void* buffer, long length)
{
    if (length < 0)
        return mgSetError(kMgNegativeLength);
    if (length == 0)
        length = mgRecordLength(f);
    return mgReadWrite(operation, f, position, buffer, uint32_t(length), nullptr);
}

long long mgFileSize(mgFileControl* f)
{
    mgFileControl* phys = mgPhysicalFile(f);
    if (!phys)
        return -1;
    if (phys->status == 'v' && mgReopenVirtual(phys) != 0) {
        // A file that can no longer be reopened (removed behind our back) is an error of
        // its own, not the end of the process.
        mgStatusLogFile("mgfsize failed: file cannot be reopened", phys->name, kMgReopenFailed);
        return -1;
    }
    // The size the disk reports counts records still in changed data buffers.
    if (mgDataCacheWriteBack(phys, 0, kMgWholeFileRange) != 0)
        return -1;
    uint64_t size = 0;
    if (!mgIo().size(phys->handle, &size)) {
        DWORD error = GetLastError();
        StoreSystemCode(error);
        char text[96];
        snprintf(text, sizeof text, "mgfsize failed: system code = %lu  lc = %d  fd = %lld", error, 3,
                 (long long)(intptr_t)phys->handle);
        mgStatusLogFile(text, phys->name, kMgLogTextOnly);
        mgSetError(kMgShortRead);
        return -1;
    }
    return (long long)size;
}

HANDLE mgCreateSystemFile(mgFileControl* f, const char* name)
{
    char path[256];
    bool skipPrefix = (f->mode & kMgModeNoAnchor) && f->status == 'v';
    if (!PrefixedName(name, path, skipPrefix)) {
        mgSetError(kMgNameTooLong);
        return INVALID_HANDLE_VALUE;
    }
    MakeHandleRoom(f);
    HANDLE handle = OpenWithRetry(f, path, GENERIC_READ | GENERIC_WRITE, 0, CREATE_NEW);
    if (handle != INVALID_HANDLE_VALUE && !f->permanent)
        mgCtx()->nonPermanentHandles += 1;
    return handle;
}

HANDLE mgOpenSystemFile(mgFileControl* f, const char* name, uint16_t mode)
{
    char path[256];
    bool skipPrefix = (f->mode & kMgModeNoAnchor) && f->status == 'v';
    if (!PrefixedName(name, path, skipPrefix)) {
        mgSetError(kMgNameTooLong);
        return INVALID_HANDLE_VALUE;
    }
    DWORD access = GENERIC_READ | GENERIC_WRITE;
    DWORD share = 0;
    if (mode & kMgModeReadOnly) {
        access = GENERIC_READ;
        share = FILE_SHARE_READ;
    } else if (mode & kMgModeShared) {
        share = FILE_SHARE_READ | FILE_SHARE_WRITE;
    }
    MakeHandleRoom(f);
    HANDLE handle = OpenWithRetry(f, path, access, share, OPEN_EXISTING);
    if (handle != INVALID_HANDLE_VALUE && !f->permanent)
        mgCtx()->nonPermanentHandles += 1;
    return handle;
}

int mgCloseSystemFile(mgFileControl* f, HANDLE handle)
{
    if (handle == INVALID_HANDLE_VALUE || handle == nullptr)
        return 0;
    if (!f->permanent && mgCtx()->nonPermanentHandles > 0)
        mgCtx()->nonPermanentHandles -= 1;
    // A handle closed virtually, or a file closed after a failed change: its changed blocks
    // still go to the disk (failures mark the file's session).
    if (f->handle == handle)
        mgDataCacheWriteBack(f, 0, kMgWholeFileRange);
    mgDataCacheForget(handle);
    if (!mgIo().close(handle)) {
        StoreSystemCode(GetLastError());
        return -1;
    }
    return 0;
}

uint16_t mgDeleteSystemFile(const char* name, bool noPrefix)
{
    char path[256];
    mgCopyBounded(path, name, sizeof path);
    mgInstanceContext* ctx = mgCtx();
    if (!noPrefix && ctx && ctx->systemKind == 3 && ctx->localDirectory[0] &&
        mgPrefixDirectory(path, ctx->localDirectory) != 0)
        return mgSetError(kMgNameTooLong);
    if (!mgIo().remove(path)) {
        StoreSystemCode(GetLastError());
        return mgSetError(kMgDeleteFailed);
    }
    return 0;
}

uint16_t mgsave(mgFileControl* f)
{
    mgFileControl* phys = mgPhysicalFile(f);
    if (!phys || phys->status == 'v' || phys->handle == INVALID_HANDLE_VALUE)
        return 0;
    if (!mgIo().flush(phys->handle)) {
        DWORD error = GetLastError();
        StoreSystemCode(error);
        char text[96];
        snprintf(text, sizeof text, "mgsave failed: system code = %lu  lc = %d  fd = %lld", error, 31,
                 (long long)(intptr_t)phys->handle);
        mgStatusLogFile(text, phys->name, kMgLogTextOnly);
        mgMarkFailed(f);
        return mgSetError(kMgFlushFailed);
    }
    return 0;
}
