// Closing engine files: changed data buffers and nodes are written, the update flag is
// cleared and the headers kept in memory since the first change are written, last of all.
#include "database/mgFile.h"

#include "database/mgDataCache.h"
#include "database/mgLock.h"
#include "database/mgNode.h"
#include "database/mgOs.h"
#include "database/mgRuntime.h"

namespace {

uint16_t WriteImage(mgFileControl* f)
{
    mgSetH32(f, kHdrWriteCount, mgH32(f, kHdrWriteCount) + 1);
    return mgReadWrite(kMgWrite | kMgHeaderTransfer, f, mgHeaderPosition(f), f->header, kMgHeaderSize, nullptr);
}

} // namespace

uint16_t mgCloseFile(int fileNumber, int)
{
    mgInstanceContext* ctx = mgCtx();
    mgFileControl* f = mgCheckFile(fileNumber);
    if (!f)
        return ctx->uerr_cod;
    if (mgH16(f, kHdrMemberNumber) > 0)
        return mgSetError(kMgBadMemberCount);
    uint16_t first = 0;
    if (f->status == 'v' && mgReopenVirtual(f) != 0)
        first = kMgReopenFailed;
    if (mgIsHost(f)) {
        // Members go before their host; the directory last of them.
        for (int n = 0; n < ctx->highestUsed && n < ctx->fileSlots; ++n) {
            mgFileControl* m = ctx->files[n];
            if (m && m != f->partner && (m->status == 'y' || m->status == 'v') && mgIsMember(m) && m->partner == f &&
                mgH16(m, kHdrMemberNumber) == 0) {
                uint16_t error = mgCloseFile(n, 0);
                if (error && !first)
                    first = error;
            }
        }
        if (f->partner && f->partner->status == 'y') {
            uint16_t error = mgCloseFile(f->partner->fileNumber, 0);
            if (error && !first)
                first = error;
        }
    }
    // Changed data buffers reach the disk before the flag that says the file is whole.
    if (!mgIsIndex(f) && f->status == 'y') {
        uint16_t error = mgDataCacheWriteBack(mgPhysicalFile(f), 0, kMgWholeFileRange);
        if (error && !first)
            first = error;
    }
    if (!mgIsFixed(f)) {
        uint16_t error = mgWriteFileNodes(f, true);
        if (error && !first)
            first = error;
    }
    mgFileControl* host = mgIsMember(f) ? f->partner : nullptr;
    bool failed = (f->flags & kMgSessionFailed) || (host && (host->flags & kMgSessionFailed));
    if (failed && !first)
        first = kMgShortWrite;
    bool changed = f->header[kHdrUpdateFlag] != 0;
    bool readOnly = (f->mode & kMgModeReadOnly) != 0;
    bool deferred = (f->flags & kMgPendingUpdate) != 0;
    if (f->header[kHdrUpdateFlag] == kMgUpdateChanged && !failed) {
        f->header[kHdrUpdateFlag] = 0;
        mgSetH32(f, kHdrCloseTime, mgNow());
    }
    if (changed && deferred && !readOnly && !first && !failed) {
        // The members' blocks first: the first header, with its cleared flag, says the
        // file is whole only once everything else is on disk.
        for (mgFileControl* m = f->nextMember; m; m = m->nextMember) {
            if (m->status == 'm')
                continue;
            uint16_t error = WriteImage(m);
            if (error && !first)
                first = error;
        }
        if (!first) {
            uint16_t error = WriteImage(f);
            if (error && !first)
                first = error;
        }
    }
    if (uint16_t error = mgEndSharedSession(f, failed || first != 0))
        if (!first)
            first = error;
    mgReleaseFileLocks(fileNumber, f);
    for (mgFileControl* m = f->nextMember; m;) {
        mgFileControl* next = m->nextMember;
        mgReleaseFileLocks(m->fileNumber, m);
        mgResetControl(m);
        m = next;
    }
    mgLruRemove(f);
    bool member = mgIsMember(f);
    if (!member && f->handle != INVALID_HANDLE_VALUE) {
        if (mgCloseSystemFile(f, f->handle) != 0 && !first)
            first = kMgCloseFailed;
    }
    if (mgIsHost(f) == false && member && f->partner && f->partner->partner == f)
        f->partner->partner = nullptr;
    mgResetControl(f);
    if (ctx->logicalOpen > 0)
        ctx->logicalOpen -= 1;
    if (!member && ctx->physicalOpen > 0)
        ctx->physicalOpen -= 1;
    if (first)
        return mgSetError(first);
    ctx->uerr_cod = 0;
    return 0;
}

uint16_t mgCloseAllFiles()
{
    mgInstanceContext* ctx = mgCtx();
    if (!ctx || !ctx->started)
        return kMgNotStarted;
    uint16_t first = 0;
    for (int pass = 0; pass < 2; ++pass) {
        for (int n = 0; n < ctx->highestUsed && n < ctx->fileSlots; ++n) {
            mgFileControl* f = ctx->files[n];
            if (!f || (f->status != 'y' && f->status != 'v') || mgH16(f, kHdrMemberNumber) > 0)
                continue;
            if ((pass == 0) == mgIsHost(f))
                continue;
            if (pass == 0 && mgSuperfileKind(f) == kMgDirectory)
                continue;
            uint16_t error = mgCloseFile(n, 0);
            if (error && !first)
                first = error;
        }
    }
    return first;
}
