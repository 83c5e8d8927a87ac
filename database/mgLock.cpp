// The lock table: entries by (file number, position) in 16 buckets of lists sorted by
// position; write locks of shared files hold their region-lock byte as well.
#include "database/mgLock.h"

#include "database/mgFile.h"
#include "database/mgOs.h"
#include "database/mgRuntime.h"
#include "database/mgSpace.h"

namespace {

int LockBucketOf(int fileNumber, uint32_t position, int shift)
{
    uint32_t value = (uint32_t(fileNumber) + (position >> shift)) * 11737u + 3731u;
    return int(value % kMgLockBuckets);
}

int ShiftOf(int fileNumber)
{
    mgInstanceContext* ctx = mgCtx();
    if (fileNumber < 0 || fileNumber >= ctx->fileSlots || !ctx->files[fileNumber])
        return 0;
    return ctx->files[fileNumber]->sizeShift;
}

uint16_t RegionUnlock(const mgLockEntry& entry)
{
    if (entry.kind != kMgKindWrite)
        return 0;
    mgInstanceContext* ctx = mgCtx();
    if (entry.fileNumber < 0 || entry.fileNumber >= ctx->fileSlots)
        return 0;
    mgFileControl* f = ctx->files[entry.fileNumber];
    if (!f || (f->status != 'y' && f->status != 'v'))
        return 0;
    return mgUnlockPosition(entry.position, f);
}

void Unlink(mgLockBucket& bucket, mgLockEntry* prev, mgLockEntry* entry)
{
    if (prev)
        prev->next = entry->next;
    else
        bucket.head = entry->next;
    if (bucket.tail == entry)
        bucket.tail = prev;
    mgPoolGive(entry, kMgPoolLocks);
    mgCtx()->lockCount -= 1;
}

} // namespace

uint16_t mgAddLock(uint32_t position, int fileNumber, int mode, int flags)
{
    mgInstanceContext* ctx = mgCtx();
    mgFileControl* f = mgCheckFile(fileNumber);
    if (!f)
        return ctx->uerr_cod;
    uint8_t kind = (mode == kMgLockWriteNoWait || mode == kMgLockWriteWait) ? kMgKindWrite : kMgKindRead;
    mgLockBucket& bucket = ctx->lockBuckets[LockBucketOf(fileNumber, position, f->sizeShift)];
    mgLockEntry* prev = nullptr;
    mgLockEntry* at = bucket.head;
    while (at && at->position < position) {
        prev = at;
        at = at->next;
    }
    for (mgLockEntry* e = at; e && e->position == position; e = e->next) {
        if (e->fileNumber != fileNumber)
            continue;
        if (flags & ~0x12)
            e->flags |= 0x01;
        e->flags |= ctx->transactionActive ? 0x04 : 0x08;
        if (e->kind == kind)
            return 0;
        if (kind == kMgKindWrite && !(flags & 0x12)) {
            if (mgLockPosition(position, f, mode == kMgLockWriteWait) != 0)
                return mgSetError(kMgHeaderLockFailed);
        } else if (kind == kMgKindRead) {
            RegionUnlock(*e);
        }
        e->kind = kind;
        return 0;
    }
    auto* entry = static_cast<mgLockEntry*>(mgPoolTake(kMgPoolLocks));
    if (!entry)
        return mgSetError(kMgLockTableFull);
    if (kind == kMgKindWrite && !(flags & 0x12)) {
        if (mgLockPosition(position, f, mode == kMgLockWriteWait) != 0) {
            mgPoolGive(entry, kMgPoolLocks);
            return mgSetError(kMgHeaderLockFailed);
        }
    }
    entry->fileNumber = int16_t(fileNumber);
    entry->kind = kind;
    entry->position = position;
    entry->flags = uint8_t(flags & ~0x12);
    if (!(flags & 0x10))
        entry->flags |= ctx->transactionActive ? 0x04 : 0x08;
    entry->next = at;
    if (prev)
        prev->next = entry;
    else
        bucket.head = entry;
    if (!at)
        bucket.tail = entry;
    ctx->lockCount += 1;
    if (ctx->lockCount > ctx->lockPeak)
        ctx->lockPeak = ctx->lockCount;
    return 0;
}

int mgRemoveLock(uint32_t position, int fileNumber)
{
    mgInstanceContext* ctx = mgCtx();
    mgLockBucket& bucket = ctx->lockBuckets[LockBucketOf(fileNumber, position, ShiftOf(fileNumber))];
    mgLockEntry* prev = nullptr;
    for (mgLockEntry* e = bucket.head; e && e->position <= position; prev = e, e = e->next) {
        if (e->position == position && e->fileNumber == fileNumber) {
            Unlink(bucket, prev, e);
            return 1;
        }
    }
    return 0;
}

uint16_t mgReleaseFileLocks(int fileNumber, mgFileControl*)
{
    mgInstanceContext* ctx = mgCtx();
    for (auto& bucket : ctx->lockBuckets) {
        mgLockEntry* prev = nullptr;
        mgLockEntry* e = bucket.head;
        while (e) {
            mgLockEntry* next = e->next;
            if (e->fileNumber == fileNumber) {
                RegionUnlock(*e);
                Unlink(bucket, prev, e);
            } else {
                prev = e;
            }
            e = next;
        }
    }
    ctx->uerr_cod = 0;
    return 0;
}

uint16_t mgTestLock(int fileNumber, int kind, uint32_t position)
{
    mgInstanceContext* ctx = mgCtx();
    mgLockBucket& bucket = ctx->lockBuckets[LockBucketOf(fileNumber, position, ShiftOf(fileNumber))];
    for (mgLockEntry* e = bucket.head; e && e->position <= position; e = e->next)
        if (e->position == position && e->fileNumber == fileNumber && e->kind == kind)
            return 0;
    return kMgNotLocked;
}

uint16_t mgLockRecord(int fileNumber, int mode, uint32_t position)
{
    mgInstanceContext* ctx = mgCtx();
    ctx->uerr_cod = 0;
    if (mode == kMgLockReleaseFile)
        return mgReleaseFileLocks(fileNumber, nullptr);
    mgFileControl* f = mgCheckFile(fileNumber);
    if (!f)
        return ctx->uerr_cod;
    if (uint16_t error = mgCheckPosition(f, position))
        return error;
    if (mode == kMgLockRelease) {
        mgLockBucket& bucket = ctx->lockBuckets[LockBucketOf(fileNumber, position, f->sizeShift)];
        mgLockEntry* prev = nullptr;
        for (mgLockEntry* e = bucket.head; e && e->position <= position; prev = e, e = e->next) {
            if (e->position == position && e->fileNumber == fileNumber) {
                uint16_t error = RegionUnlock(*e);
                Unlink(bucket, prev, e);
                return error ? mgSetError(kMgHeaderUnlockFailed) : 0;
            }
        }
        return 0;
    }
    if (mode != kMgLockWriteNoWait && mode != kMgLockWriteWait && mode != kMgLockRead && mode != kMgLockReadOther)
        return mgSetError(kMgBadMode);
    return mgAddLock(position, fileNumber, mode, 0);
}

uint32_t mgRecordCount(int dataFile)
{
    mgFileControl* f = mgCheckFile(dataFile);
    if (!f)
        return 0;
    if (!mgIsFixed(f)) {
        mgSetError(kMgWrongFileKind);
        return 0;
    }
    if (mgIsShared(f) && mgRefreshHeader(f) != 0)
        return 0;
    mgSetError(0);
    return mgH32(f, kHdrEntryCount);
}

void mgReleaseAllLocks()
{
    mgInstanceContext* ctx = mgCtx();
    for (auto& bucket : ctx->lockBuckets) {
        mgLockEntry* e = bucket.head;
        while (e) {
            mgLockEntry* next = e->next;
            mgPoolGive(e, kMgPoolLocks);
            e = next;
        }
        bucket.head = bucket.tail = nullptr;
    }
    ctx->lockCount = 0;
}

int mgReleaseLocksWhere(bool (*accept)(const mgLockEntry& entry, int arg), int arg)
{
    mgInstanceContext* ctx = mgCtx();
    int released = 0;
    for (auto& bucket : ctx->lockBuckets) {
        mgLockEntry* prev = nullptr;
        mgLockEntry* e = bucket.head;
        while (e) {
            mgLockEntry* next = e->next;
            if (accept(*e, arg)) {
                RegionUnlock(*e);
                Unlink(bucket, prev, e);
                ++released;
            } else {
                prev = e;
            }
            e = next;
        }
    }
    return released;
}
