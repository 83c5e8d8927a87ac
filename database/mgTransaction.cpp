// Transactions of this engine are lock scopes: a begin may choose the ISAM lock mode, a
// commit or abort releases record locks by its mode. Nothing is logged or rolled back.
#include "database/mgInstance.h"
#include "database/mgLock.h"
#include "database/mgRuntime.h"

namespace {

bool IsLockingMode(uint16_t mode)
{
    return mode == 2 || mode == 3 || mode == 4 || mode == 11 || mode == 12 || mode == 13;
}

bool AcceptAll(const mgLockEntry&, int)
{
    return true;
}

bool AcceptInside(const mgLockEntry& entry, int)
{
    return (entry.flags & 0x04) != 0;
}

bool AcceptNotOutside(const mgLockEntry& entry, int)
{
    return (entry.flags & 0x08) == 0;
}

bool IsHeld(const mgLockEntry& entry)
{
    return (entry.flags & 0x05) != 0;
}

} // namespace

int16_t mgSetIsamLockMode(int16_t mode)
{
    mgInstanceContext* ctx = mgCtx();
    if (!ctx)
        return int16_t(kMgNoInstance);
    if (!ctx->lockModesEnabled) {
        mgSetIsamError(mgSetError(kMgLockModesDisabled), 0);
        return int16_t(kMgLockModesDisabled);
    }
    uint16_t current = ctx->lockMode;
    if (mode == 128) {
        int16_t answer = int16_t(-int(current));
        ctx->uerr_cod = uint16_t(answer);
        ctx->isam_code = uint16_t(answer);
        return answer;
    }
    if ((mode == 2 || mode == 3 || mode == 4 || mode == 11) && IsLockingMode(current)) {
        ctx->lockMode = uint16_t(mode);
        return 0;
    }
    if ((mode >= 5 && mode <= 10) || mode > 13) {
        if (mode == 5 && IsLockingMode(current))
            ctx->lockMode = 5;
        else if (current == 5 && (mode == 6 || mode == 7 || mode == 8 || mode == 14))
            ctx->lockMode = mode == 6 ? 2 : mode == 7 ? 4 : mode == 8 ? 3 : 11;
        return 0;
    }
    if (mode >= 2) {
        bool held = false;
        mgForEachLock([&](const mgLockEntry& entry) { held = held || IsHeld(entry); });
        if (held) {
            ctx->uerr_cod = kMgLocksHeld;
            ctx->isam_code = kMgLocksHeld;
            return int16_t(kMgLocksHeld);
        }
    } else if (mode >= 0) {
        mgReleaseLocksWhere([](const mgLockEntry& entry, int) { return IsHeld(entry); }, 0);
    }
    if (mode == 1)
        ctx->lockMode = current ? current : 2;
    else
        ctx->lockMode = uint16_t(mode);
    ctx->uerr_cod = 0;
    ctx->isam_code = 0;
    return 0;
}

int16_t mgBeginTransaction(uint16_t mode)
{
    mgInstanceContext* ctx = mgCtx();
    if (!ctx)
        return 0;
    if (ctx->transactionActive) {
        ctx->uerr_cod = kMgTransactionActive;
        return 0;
    }
    int selected = mode & 0x0F;
    if (selected == 5)
        selected = 11;
    if (selected != 0) {
        int16_t error = mgSetIsamLockMode(int16_t(selected));
        if (error) {
            ctx->uerr_cod = uint16_t(error);
            return 0;
        }
    }
    ctx->transactionActive = 1;
    ctx->transactionWord = 0;
    ctx->uerr_cod = 0;
    return 1;
}

int16_t mgCommitTransaction(uint16_t mode)
{
    mgInstanceContext* ctx = mgCtx();
    if (!ctx)
        return int16_t(kMgNoInstance);
    if (!ctx->transactionActive) {
        ctx->uerr_cod = kMgNoTransaction;
        return int16_t(kMgNoTransaction);
    }
    ctx->transactionActive = 0;
    if (mode == 0) {
        ctx->lockMode = 0;
        mgReleaseLocksWhere(AcceptAll, 0);
    } else if (mode == 41) {
        mgReleaseLocksWhere(AcceptInside, 0);
    } else if (mode == 42) {
        mgReleaseLocksWhere(AcceptNotOutside, 0);
    }
    ctx->uerr_cod = 0;
    return 0;
}

int16_t mgAbortTransaction()
{
    return mgCommitTransaction(0);
}

uint16_t mgLockCurrentRecord(uint32_t position, int fileNumber)
{
    mgInstanceContext* ctx = mgCtx();
    if (ctx->uerr_cod)
        return mgSetIsamError(ctx->uerr_cod, uint16_t(fileNumber));
    int kind = ctx->justAdded ? 3 : 1;
    ctx->justAdded = 0;
    if (ctx->lockMode != 0 && ctx->lockMode != 5) {
        // The lock mode decides the kind of lock: the write modes wait (3) or not (2) for
        // the region lock, the others take read locks; a new record is always write-locked.
        int mode;
        switch (ctx->lockMode) {
        case 2:
        case 12:
            mode = kMgLockWriteNoWait;
            break;
        case 3:
        case 13:
            mode = kMgLockWriteWait;
            break;
        default:
            mode = kind == 3 ? kMgLockWriteNoWait : kMgLockRead;
            break;
        }
        uint16_t error = mgAddLock(position, fileNumber, mode, 0);
        return mgSetIsamError(error, uint16_t(fileNumber));
    }
    return 0;
}
