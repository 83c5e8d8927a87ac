// Control blocks by file number, free number runs, and the handles of non-permanent files
// that are closed behind the caller's back when too many are open.
#include "database/mgFile.h"

#include <cstdlib>
#include <cstring>

#include "database/mgInstance.h"
#include "database/mgOs.h"
#include "database/mgRuntime.h"

namespace {

void LruUnlink(mgFileControl* f)
{
    mgInstanceContext* ctx = mgCtx();
    if (!f->lruNext)
        return;
    if (f->lruNext == f) {
        ctx->lruHead = nullptr;
    } else {
        f->lruPrev->lruNext = f->lruNext;
        f->lruNext->lruPrev = f->lruPrev;
        if (ctx->lruHead == f)
            ctx->lruHead = f->lruNext;
    }
    f->lruNext = f->lruPrev = nullptr;
}

} // namespace

void mgLruAppend(mgFileControl* f)
{
    mgInstanceContext* ctx = mgCtx();
    if (f->permanent || f->lruNext)
        return;
    if (!ctx->lruHead) {
        f->lruNext = f->lruPrev = f;
        ctx->lruHead = f;
        return;
    }
    mgFileControl* tail = ctx->lruHead->lruPrev;
    f->lruNext = ctx->lruHead;
    f->lruPrev = tail;
    tail->lruNext = f;
    ctx->lruHead->lruPrev = f;
}

void mgLruRemove(mgFileControl* f)
{
    LruUnlink(f);
}

mgFileControl* mgPhysicalFile(mgFileControl* f)
{
    if (!f)
        return nullptr;
    mgFileControl* first = mgGroupFirst(f);
    if (mgIsMember(first))
        return first->partner;
    return first;
}

mgFileControl* mgHostOf(mgFileControl* f)
{
    mgFileControl* first = mgGroupFirst(f);
    return mgIsMember(first) ? first->partner : nullptr;
}

uint32_t mgFixedHeaderSize(const mgFileControl* f)
{
    uint32_t length = mgRecordLength(f);
    if (length == 0)
        return kMgHeaderSize;
    return length * ((kMgHeaderSize + length - 1) / length);
}

uint32_t mgFirstRecordPosition(const mgFileControl* f)
{
    return mgFixedHeaderSize(f);
}

mgFileControl* mgGetFileControl(int fileNumber)
{
    mgInstanceContext* ctx = mgCtx();
    if (!ctx || !ctx->files) {
        mgSetError(kMgNoFileSlots);
        return nullptr;
    }
    if (fileNumber < 0 || fileNumber >= ctx->fileSlots) {
        mgSetError(kMgBadFileNumber);
        return nullptr;
    }
    mgFileControl*& slot = ctx->files[fileNumber];
    if (!slot) {
        slot = static_cast<mgFileControl*>(mgPoolTake(kMgPoolControlBlocks));
        if (!slot) {
            mgSetError(kMgNoMemoryControl);
            return nullptr;
        }
        slot->status = 'n';
        slot->fileNumber = int16_t(fileNumber);
        slot->handle = INVALID_HANDLE_VALUE;
        if (fileNumber + 1 > ctx->highestUsed)
            ctx->highestUsed = fileNumber + 1;
    }
    return slot;
}

mgFileControl* mgCheckFile(int fileNumber)
{
    mgInstanceContext* ctx = mgCtx();
    if (!ctx || !ctx->files || ctx->fileSlots == 0) {
        mgSetError(kMgNoFileSlots);
        return nullptr;
    }
    if (fileNumber < 0 || fileNumber >= ctx->fileSlots) {
        mgSetError(kMgBadFileNumber);
        return nullptr;
    }
    mgFileControl* f = ctx->files[fileNumber];
    if (!f || f->status == 'n') {
        mgSetError(kMgFileNotOpen);
        return nullptr;
    }
    if (f->status == 'm') {
        mgSetError(kMgNumberInUse);
        return nullptr;
    }
    if (f->status != 'y' && f->status != 'v')
        mgInternalError(222);
    return f;
}

int mgFindOpenFile(const char* name)
{
    // When one file is open on several numbers, the most recently opened one answers: a set
    // opened a second time finds its own host, not the first opener's.
    mgInstanceContext* ctx = mgCtx();
    int found = -1;
    uint32_t newest = 0;
    for (int n = 0; n < ctx->highestUsed && n < ctx->fileSlots; ++n) {
        mgFileControl* f = ctx->files[n];
        if (!f || (f->status != 'y' && f->status != 'v') || mgH16(f, kHdrMemberNumber) != 0 || !f->name[0])
            continue;
        if (mgSameFileName(f->name, name) == 0 && (found < 0 || f->openSequence >= newest)) {
            found = n;
            newest = f->openSequence;
        }
    }
    return found;
}

int mgGrowFileTable(int number)
{
    mgInstanceContext* ctx = mgCtx();
    if (number >= kMgFileTableLimit)
        return 0;
    int slots = number + 32;
    if (slots > kMgFileTableLimit)
        slots = kMgFileTableLimit;
    if (slots <= ctx->fileSlots)
        return 1;
    auto* table = static_cast<mgFileControl**>(calloc(size_t(slots), sizeof(mgFileControl*)));
    if (!table || !mgGrowSetTables(slots)) {
        free(table);
        return 0;
    }
    memcpy(table, ctx->files, sizeof(mgFileControl*) * size_t(ctx->fileSlots));
    free(ctx->files);
    ctx->files = table;
    ctx->fileSlots = int16_t(slots);
    return 1;
}

uint16_t mgCheckWritable(mgFileControl* f)
{
    if (f->mode & kMgModeReadOnly)
        return mgSetError(kMgReadOnly);
    if (f->mode & kMgModeTransaction10)
        return mgSetError(kMgUnsupportedMode);
    return 0;
}

int mgFindFreeRun(int start, int extra, uint16_t mode)
{
    mgInstanceContext* ctx = mgCtx();
    if (!ctx || !ctx->started) {
        mgSetError(kMgNoFileSlots);
        return -1;
    }
    int needed = extra + 1 + ((mode & kMgModeHost) ? 1 : 0);
    auto isFree = [ctx](int n) {
        if (n >= ctx->fileSlots)
            return true;
        mgFileControl* f = ctx->files[n];
        return !f || f->status == 'n';
    };
    auto fits = [&](int first) {
        for (int n = first; n < first + needed; ++n)
            if (!isFree(n))
                return false;
        return true;
    };
    if (start >= 0) {
        if (!fits(start)) {
            mgSetError(kMgNumberInUse);
            return -1;
        }
        if (start + needed > ctx->fileSlots && !mgGrowFileTable(start + needed - 1)) {
            mgSetError(kMgBadFileNumber);
            return -1;
        }
        return start;
    }
    for (int first = 0; first + needed <= kMgFileTableLimit; ++first) {
        if (!fits(first))
            continue;
        if (first + needed > ctx->fileSlots && !mgGrowFileTable(first + needed - 1)) {
            mgSetError(kMgNoFileSlots);
            return -1;
        }
        return first;
    }
    mgSetError(kMgNoFileSlots);
    return -1;
}

int mgFindFreeFileNumbers(int count)
{
    if (count < 1) {
        mgSetError(kMgBadFileNumber);
        return -1;
    }
    mgInstanceContext* ctx = mgCtx();
    if (!ctx || !ctx->started) {
        if (ctx)
            mgSetError(kMgNotStarted);
        return -1;
    }
    ctx->uerr_cod = 0;
    return mgFindFreeRun(-1, count - 1, 0);
}

bool mgCloseOneVirtually()
{
    mgInstanceContext* ctx = mgCtx();
    if (!ctx || !ctx->lruHead)
        return false;
    mgFileControl* start = ctx->lruHead;
    mgFileControl* f = start;
    int guard = ctx->fileSlots + 1;
    while (f && guard-- > 0) {
        mgFileControl* next = f->lruNext == f ? nullptr : f->lruNext;
        if (f->handle == INVALID_HANDLE_VALUE || f->status != 'y') {
            LruUnlink(f);
        } else if (f->regionLocks > 0) {
            LruUnlink(f);
            mgLruAppend(f);
        } else {
            mgCloseSystemFile(f, f->handle);
            f->handle = INVALID_HANDLE_VALUE;
            f->status = 'v';
            LruUnlink(f);
            return true;
        }
        if (!next || next == start || !ctx->lruHead)
            break;
        f = next;
    }
    return false;
}

uint16_t mgReopenVirtual(mgFileControl* f)
{
    if (f->status != 'v')
        return 0;
    HANDLE handle = mgOpenSystemFile(f, f->name, f->mode);
    if (handle == INVALID_HANDLE_VALUE)
        return mgSetError(kMgReopenFailed);
    f->handle = handle;
    f->status = 'y';
    mgLruAppend(f);
    return 0;
}
