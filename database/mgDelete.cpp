// Index delete: the entry leaves its leaf; nodes are never merged or freed, an emptied leaf
// stays linked and searches pass over it.
#include "database/mgNode.h"

#include <cstring>

#include "database/mgOs.h"
#include "database/mgRuntime.h"

int mgRemoveEntry(mgNode* node, int entry);

uint16_t delkey(mgFileControl* f, const uint8_t* key, uint32_t position, int flags)
{
    mgInstanceContext* ctx = mgCtx();
    if (flags == 2)
        mgInternalError(8989);
    if ((flags & 0x80) && !mgIsIndex(f))
        return mgSetError(kMgWrongFileKind);
    int keyLength = mgKeyLength(f);
    uint8_t target[kMgMaxKeyLength + 8];
    memcpy(target, key, size_t(keyLength));
    for (int attempt = 0; attempt < 101; ++attempt) {
        ctx->depth = 0;
        mgSetError(0);
        if (!(flags & 0x20)) {
            if (uint16_t error = mgCheckWritable(f))
                return error;
        }
        uint32_t root = mgRootNode(f);
        if (root == 0)
            return mgSetError(ctx->uerr_cod ? ctx->uerr_cod : kMgKeyNotFound);
        mgNode* leaf = mgLockLeafFor(f, target, root, "Corrupt index encountered during delkey...", nullptr, nullptr);
        if (!leaf) {
            if (ctx->uerr_cod == kMgStartOver)
                continue;
            return ctx->uerr_cod;
        }
        int entry = ctx->stopEntry;
        if (ctx->lastCompare != 0 || entry < 1 || entry > mgNumrec(leaf)) {
            mgUnlockNode(leaf->position, f);
            return mgSetError(kMgKeyNotFound);
        }
        if (mgEntryRecordPosition(leaf, entry) != position) {
            mgUnlockNode(leaf->position, f);
            return mgSetError(kMgKeyOtherPosition);
        }
        if (mgRemoveEntry(leaf, entry) < 0) {
            mgUnlockNode(leaf->position, f);
            mgFileControl* phys = mgPhysicalFile(f);
            mgStatusLogFile("Broken compression counts during delkey (238)...", phys ? phys->name : "",
                            kMgCorruptIndex);
            return mgSetError(kMgCorruptIndex);
        }
        if (uint16_t error = mgPutNode(leaf, mgNumrec(leaf), false, true))
            return error;
        return mgAdjustKeyCount(f, -1);
    }
    mgFileControl* phys = mgPhysicalFile(f);
    mgStatusLogFile("Unexpected deleted node during mgdeldkey in file...", phys ? phys->name : "", kMgCorruptIndex);
    return mgSetError(kMgCorruptIndex);
}

uint16_t mgDeleteKeyFrom(mgFileControl* f, const uint8_t* keyValue, uint32_t position)
{
    mgInstanceContext* ctx = mgCtx();
    int keyLength = mgKeyLength(f);
    bool duplicates = f->header[kHdrDuplicates] != 0;
    uint8_t* key = ctx->keyWork;
    memcpy(key, keyValue, size_t(duplicates ? keyLength - 4 : keyLength));
    if (duplicates)
        mgPutSuffix(key, f, position);
    return delkey(f, key, position, mgIsIndex(f) ? 0x81 : 0x01);
}

uint16_t mgDeleteKey(int fileNumber, const uint8_t* key, uint32_t position)
{
    mgSetError(0);
    mgFileControl* f = mgCheckFile(fileNumber);
    if (!f)
        return mgCtx()->uerr_cod;
    if (!mgIsIndex(f))
        return mgSetError(kMgWrongFileKind);
    return mgDeleteKeyFrom(f, key, position);
}
