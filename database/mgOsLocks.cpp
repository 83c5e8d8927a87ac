// Region locks: one byte per header, node or record at 0xFFF7FFFF minus the position's
// unit, beyond any data, so that cooperating processes sharing a file serialise their
// changes. Only files opened shared or read-only take them.
// A handle cannot lock its own byte twice, so the instance counts the bytes it holds per
// handle: locking a byte it already holds (two units that meet, a header and its member
// header) only counts, and the byte is released with its last holder.
#include "database/mgOs.h"

#include <cstdlib>

#include "database/mgFile.h"
#include "database/mgRuntime.h"

namespace {

int FindHeld(HANDLE handle, DWORD offset)
{
    mgInstanceContext* ctx = mgCtx();
    for (int i = 0; i < ctx->heldRegionCount; ++i)
        if (ctx->heldRegions[i].handle == handle && ctx->heldRegions[i].offset == offset)
            return i;
    return -1;
}

bool AddHeld(HANDLE handle, DWORD offset)
{
    mgInstanceContext* ctx = mgCtx();
    if (ctx->heldRegionCount == ctx->heldRegionCapacity) {
        int capacity = ctx->heldRegionCapacity ? ctx->heldRegionCapacity * 2 : 16;
        auto* grown = static_cast<mgHeldRegion*>(realloc(ctx->heldRegions, sizeof(mgHeldRegion) * capacity));
        if (!grown)
            return false;
        ctx->heldRegions = grown;
        ctx->heldRegionCapacity = capacity;
    }
    ctx->heldRegions[ctx->heldRegionCount++] = mgHeldRegion{handle, offset, 1};
    return true;
}

// Takes the byte for this instance; 0 or the system error.
DWORD Acquire(mgFileControl* phys, DWORD offset, int kind)
{
    int held = FindHeld(phys->handle, offset);
    if (held >= 0) {
        mgCtx()->heldRegions[held].count += 1;
        return 0;
    }
    DWORD error = mgRegionLock(phys->handle, offset, 1, kind);
    if (error)
        return error;
    if (!AddHeld(phys->handle, offset)) {
        mgRegionLock(phys->handle, offset, 1, 4);
        return ERROR_NOT_ENOUGH_MEMORY;
    }
    return 0;
}

DWORD Release(mgFileControl* phys, DWORD offset)
{
    int held = FindHeld(phys->handle, offset);
    if (held < 0)
        return ERROR_NOT_LOCKED;
    mgInstanceContext* ctx = mgCtx();
    if (--ctx->heldRegions[held].count > 0)
        return 0;
    ctx->heldRegions[held] = ctx->heldRegions[--ctx->heldRegionCount];
    return mgRegionLock(phys->handle, offset, 1, 4);
}

mgFileControl* LockTarget(mgFileControl* f)
{
    mgFileControl* phys = mgPhysicalFile(f);
    if (phys && phys->status == 'v' && mgReopenVirtual(phys) != 0)
        return nullptr;
    return phys;
}

uint16_t TakeLock(uint32_t position, mgFileControl* f, bool header, int kind, uint16_t failure)
{
    if (!mgIsShared(f))
        return 0;
    mgFileControl* phys = LockTarget(f);
    if (!phys)
        return mgSetError(failure);
    DWORD offset = mgLockOffset(f, position, header);
    if (offset == 0)
        return mgSetError(kMgReachesLockArea);
    DWORD error = Acquire(phys, offset, kind);
    if (error) {
        mgCtx()->sys_code = uint16_t(error);
        return mgSetError(failure);
    }
    phys->regionLocks += 1;
    if (header)
        f->headerLocked = true;
    return 0;
}

uint16_t DropLock(uint32_t position, mgFileControl* f, bool header, uint16_t failure)
{
    if (!mgIsShared(f))
        return 0;
    mgFileControl* phys = mgPhysicalFile(f);
    if (!phys)
        return mgSetError(failure);
    DWORD offset = mgLockOffset(f, position, header);
    if (offset == 0)
        return mgSetError(failure);
    DWORD error = Release(phys, offset);
    if (phys->regionLocks > 0)
        phys->regionLocks -= 1;
    if (header)
        f->headerLocked = false;
    if (error) {
        mgCtx()->sys_code = uint16_t(error);
        return mgSetError(failure);
    }
    return 0;
}

} // namespace

DWORD mgRegionLock(HANDLE handle, DWORD offset, DWORD length, int kind)
{
    const mgIoFunctions& io = mgIo();
    if (kind == 4)
        return io.unlock(handle, offset, length) ? 0 : GetLastError();
    if (kind != 1 && kind != 2)
        mgInternalError(1105);
    if (io.lock(handle, offset, length))
        return 0;
    DWORD error = GetLastError();
    if (kind == 2)
        return error ? error : ERROR_LOCK_VIOLATION;
    mgInstanceContext* ctx = mgCtx();
    for (int attempt = 0; attempt < ctx->lockRetries; ++attempt) {
        mgSleep(DWORD(ctx->lockSleepMs));
        if (io.lock(handle, offset, length))
            return 0;
        error = GetLastError();
    }
    return error ? error : ERROR_LOCK_VIOLATION;
}

DWORD mgLockOffset(mgFileControl* f, uint32_t position, bool header)
{
    uint32_t unit;
    if (mgIsIndex(f)) {
        uint32_t nodeSize = f->nodeSize ? f->nodeSize : 1;
        uint16_t member = mgH16(f, kHdrMemberNumber);
        if (header)
            unit = member > 0 ? member : position / nodeSize;
        else
            unit = position / nodeSize + 32;
    } else if (mgIsFixed(f) && mgRecordLength(f) > 0) {
        unit = position / mgRecordLength(f);
    } else {
        unit = position / 10;
    }
    uint32_t offset = kMgLockAreaTop - unit;
    mgFileControl* phys = mgPhysicalFile(f);
    uint32_t logicalEnd = phys ? mgH32(phys, kHdrLogicalEnd) : 0;
    if (unit >= kMgLockAreaTop || logicalEnd >= offset)
        return 0;
    return offset;
}

uint16_t mgLockHeader(uint32_t position, mgFileControl* f, bool wait)
{
    bool own = position == mgHeaderPosition(f) || position == f->partialHeader;
    return TakeLock(position, f, true, (wait || own) ? 1 : 2, kMgHeaderLockFailed);
}

uint16_t mgUnlockHeader(uint32_t position, mgFileControl* f)
{
    return DropLock(position, f, true, kMgHeaderUnlockFailed);
}

uint16_t mgLockNode(uint32_t position, mgFileControl* f)
{
    return TakeLock(position, f, false, 1, kMgNodeLockFailed);
}

uint16_t mgUnlockNode(uint32_t position, mgFileControl* f)
{
    return DropLock(position, f, false, kMgNodeUnlockFailed);
}

uint16_t mgLockPosition(uint32_t position, mgFileControl* f, bool wait)
{
    return TakeLock(position, f, false, wait ? 1 : 2, kMgHeaderLockFailed);
}

uint16_t mgUnlockPosition(uint32_t position, mgFileControl* f)
{
    return DropLock(position, f, false, kMgHeaderUnlockFailed);
}
