// Record locks: every lock the instance holds is an entry of its lock table (16 buckets of
// lists sorted by position); write locks of shared files also hold their region-lock byte,
// so that cooperating processes exclude one another. Transactions group these locks.
#pragma once

#include <cstdint>

#include "database/mgContext.h"

struct mgFileControl;

// Lock modes of mgLockRecord.
constexpr int kMgLockRelease = 0;
constexpr int kMgLockWriteNoWait = 2;
constexpr int kMgLockWriteWait = 3;
constexpr int kMgLockRead = 4;
constexpr int kMgLockReadOther = 11;
constexpr int kMgLockReleaseFile = 18;
// Lock kinds stored in an entry.
constexpr uint8_t kMgKindWrite = 2;
constexpr uint8_t kMgKindRead = 4;

struct mgLockEntry {
    mgLockEntry* next;
    int16_t fileNumber;
    uint8_t kind;
    uint8_t flags;
    uint32_t position;
};

uint16_t mgLockRecord(int fileNumber, int mode, uint32_t position);
uint16_t mgAddLock(uint32_t position, int fileNumber, int mode, int flags);
int mgRemoveLock(uint32_t position, int fileNumber);
uint16_t mgReleaseFileLocks(int fileNumber, mgFileControl* f);
uint16_t mgTestLock(int fileNumber, int kind, uint32_t position);
uint32_t mgRecordCount(int dataFile);
// Drops every entry without unlocking (the handles are closed by then).
void mgReleaseAllLocks();
// Calls visit for each entry; used by the transaction layer.
template <typename Visit> void mgForEachLock(Visit visit)
{
    mgInstanceContext* ctx = mgCtx();
    for (auto& bucket : ctx->lockBuckets)
        for (mgLockEntry* e = bucket.head; e; e = e->next)
            visit(*e);
}
// Unlocks and removes every entry the filter accepts; answers how many went.
int mgReleaseLocksWhere(bool (*accept)(const mgLockEntry& entry, int arg), int arg);

// Transactions and the ISAM lock mode.
int16_t mgBeginTransaction(uint16_t mode);
int16_t mgCommitTransaction(uint16_t mode);
int16_t mgAbortTransaction();
int16_t mgSetIsamLockMode(int16_t mode);
// The lock step for the record a read or write is about to make current.
uint16_t mgLockCurrentRecord(uint32_t position, int fileNumber);
