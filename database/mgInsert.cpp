// Index insert: the entry goes into its leaf; a full node splits at an adaptive point
// (half, six sevenths after ascending runs, one seventh after descending ones) and the
// separator moves up under the right-link discipline; a new root grows when the root
// splits. Every changed node is written before the call returns (node invariant 2), and a
// split that cannot get its new node takes the entry out again before the node is freed.
#include "database/mgNode.h"

#include <cstdio>
#include <cstring>

#include "database/mgOs.h"
#include "database/mgRuntime.h"

namespace {

constexpr int kMaxAttempts = 101;

void LogIndexError(const char* text, mgFileControl* f)
{
    mgFileControl* phys = mgPhysicalFile(f);
    mgStatusLogFile(text, phys ? phys->name : "", kMgCorruptIndex);
}

} // namespace

// Encodes one entry at dest: pointer, compression counts, the stored key bytes after the
// shared part, the suffix. The trailing pad run is counted first (at most 255) and the
// shared part is cut so that the two never exceed the stored key length.
int mgEncodeEntry(mgNode* node, uint8_t* dest, uint32_t pointer, const uint8_t* key, int lead, int* trailOut)
{
    int stored = mgStoredKeyLength(node);
    uint8_t pad = node->control->header[kHdrPadByte];
    int trail = 0;
    if (node->compression & 8) {
        while (trail < 255 && trail < stored && key[stored - 1 - trail] == pad)
            ++trail;
    }
    if (!(node->compression & 4) || lead < 0)
        lead = 0;
    if (lead > stored - trail)
        lead = stored - trail;
    uint8_t* p = dest;
    if (mgHasPointer(node)) {
        mgPut32(p, pointer);
        p += 4;
    }
    if (node->compression & 4)
        *p++ = uint8_t(lead);
    if (node->compression & 8)
        *p++ = uint8_t(trail);
    int body = stored - lead - trail;
    memcpy(p, key + lead, size_t(body));
    p += body;
    if (node->layout != 1) {
        memcpy(p, key + stored, 4);
        p += 4;
    }
    if (trailOut)
        *trailOut = trail;
    return int(p - dest);
}

// Inserts at the search state the last node search left (stop entry, comparisons).
uint16_t mgInsertEntry(mgNode* node, const uint8_t* key, uint32_t pointer, int)
{
    mgInstanceContext* ctx = mgCtx();
    int n = mgNumrec(node);
    int stop = ctx->stopEntry;
    bool append = stop < 1 || stop > n;
    if (!append && (ctx->lastCompare > 0 || ctx->previousCompare < 0)) {
        LogIndexError("Broken search state at insertion (235)...", node->control);
        return mgSetError(kMgCorruptIndex);
    }
    int stored = mgStoredKeyLength(node);
    int lead = 0;
    if ((node->compression & 4) && ctx->previousCompare >= 2 && (append ? n > 0 : stop > 1)) {
        lead = ctx->previousCompare - 1;
        if (lead + ctx->previousTrailing > stored)
            lead = stored - ctx->previousTrailing;
    }
    uint8_t encoded[2 * (kMgMaxKeyLength + 16)];
    int trail = 0;
    int size = mgEncodeEntry(node, encoded, pointer, key, lead, &trail);
    int used = mgBytesUsed(node);
    int offset;
    int replaced = 0;
    if (append) {
        offset = used;
    } else {
        offset = mgEntryOffset(node, stop);
        if (node->compression & 4) {
            // The following entry now shares its prefix with the new key.
            mgNodeEntry(node, stop);
            uint32_t followingPointer = mgGet32(node->work);
            uint8_t followingKey[kMgMaxKeyLength + 8];
            memcpy(followingKey, node->work + 4, size_t(node->keyLength));
            int followingTrail = node->cursorTrailing;
            replaced = node->cursorSize;
            int shared = ctx->lastCompare < 0 ? -ctx->lastCompare - 1 : 0;
            if (shared + followingTrail > stored)
                shared = stored - followingTrail;
            if (shared + trail > stored)
                shared = stored - trail;
            size += mgEncodeEntry(node, encoded + size, followingPointer, followingKey, shared, nullptr);
        }
    }
    int delta = size - replaced;
    if (delta > 0)
        mgOpenGap(delta, node, offset + replaced);
    else if (delta < 0)
        mgCloseGap(-delta, node, offset + size);
    memcpy(node->entries + offset, encoded, size_t(size));
    mgSetBytesUsed(node, used + delta);
    mgSetNumrec(node, n + 1);
    node->cursorEntry = 0;
    return 0;
}

// Removes entry i; 1 when it was the last entry, -1 (nothing changed) when the counts of the
// entry and the one after it cannot have been written by this engine.
int mgRemoveEntry(mgNode* node, int entry)
{
    int n = mgNumrec(node);
    int offset = mgEntryOffset(node, entry);
    int size = mgEntrySize(node, entry);
    int used = mgBytesUsed(node);
    if (entry == n) {
        mgSetBytesUsed(node, used - size);
        mgSetNumrec(node, n - 1);
        node->cursorEntry = 0;
        return 1;
    }
    if (node->compression & 4) {
        const uint8_t* removedKey = mgNodeEntry(node, entry);
        (void)removedKey;
        const uint8_t* c = node->entries + offset + (mgHasPointer(node) ? 4 : 0);
        int removedLead = c[0];
        mgNodeEntry(node, entry + 1);
        int followingOffset = node->cursorOffset;
        int followingSize = node->cursorSize;
        const uint8_t* fc = node->entries + followingOffset + (mgHasPointer(node) ? 4 : 0);
        int followingLead = fc[0];
        uint8_t encoded[kMgMaxKeyLength + 16];
        int newLead = removedLead < followingLead ? removedLead : followingLead;
        int newSize = mgEncodeEntry(node, encoded, mgGet32(node->work), node->work + 4, newLead, nullptr);
        int removedBytes = size + followingSize - newSize;
        // Checked, not fatal: a leading count that overlaps the previous entry's trailing
        // run passes the node check but comes from a damaged file.
        if (removedBytes < 1)
            return -1;
        mgCloseGap(removedBytes, node, offset);
        memcpy(node->entries + offset, encoded, size_t(newSize));
        mgSetBytesUsed(node, used - removedBytes);
    } else {
        mgCloseGap(size, node, offset);
        mgSetBytesUsed(node, used - size);
    }
    mgSetNumrec(node, n - 1);
    node->cursorEntry = 0;
    return 0;
}

void mgPutSuffix(uint8_t* key, mgFileControl* f, uint32_t position)
{
    mgPut32BE(key + mgKeyLength(f) - 4, position);
}

uint16_t mgAdjustKeyCount(mgFileControl* f, int delta)
{
    uint32_t header = mgHeaderPosition(f);
    if (uint16_t error = mgLockHeader(header, f, true))
        return error;
    uint16_t error = mgRefreshHeader(f);
    if (!error) {
        mgSetH32(f, kHdrEntryCount, mgH32(f, kHdrEntryCount) + uint32_t(delta));
        error = mgWriteHeaderTail(f);
    }
    uint16_t unlock = mgUnlockHeader(header, f);
    return error ? error : unlock;
}

uint16_t mgNewRoot(mgFileControl* f, uint32_t left, uint32_t right, const uint8_t* key)
{
    uint32_t position = 0;
    bool firstLeaf = right == 0;
    mgNode* node = mgNewNode(f, &position, firstLeaf ? 1 : 2);
    if (!node) {
        uint16_t error = mgCtx()->uerr_cod;
        return error ? error : uint16_t(kMgCorruptIndex);
    }
    int keyLength = mgKeyLength(f);
    uint8_t high[kMgMaxKeyLength + 8];
    memset(high, 0xFF, size_t(keyLength));
    int count;
    if (firstLeaf) {
        mgSetNodeKind(node, f, true);
        mgClearLeafSlots(f, node);
        int size = mgEncodeEntry(node, node->entries, left, key, 0, nullptr);
        mgSetBytesUsed(node, size);
        memcpy(mgHighKey(node), high, size_t(keyLength));
        count = 1;
    } else {
        mgSetNodeKind(node, f, false);
        int size = mgEncodeEntry(node, node->entries, left, key, 0, nullptr);
        int shared = 0;
        while (shared < keyLength && shared < 255 && key[shared] == 0xFF)
            ++shared;
        size += mgEncodeEntry(node, node->entries + size, right, high, shared, nullptr);
        mgSetBytesUsed(node, size);
        count = 2;
    }
    uint32_t header = mgHeaderPosition(f);
    uint16_t error = mgRefreshHeader(f);
    if (!error)
        error = mgPutNode(node, count, true, true);
    else
        mgUnlockNode(position, f);
    if (!error) {
        // Set after the header was read again: a shared file's refresh would undo it.
        mgSetH32(f, kHdrRootNode, position);
        if (firstLeaf)
            mgSetH32(f, kHdrFirstLeaf, position);
        error = mgWriteHeader(f);
    }
    uint16_t unlock = mgUnlockHeader(header, f);
    return error ? error : unlock;
}

uint16_t mgSplitInsert(mgNode* node, mgFileControl* f, const uint8_t* firstKey, uint32_t firstPointer, int splitMode,
                       uint32_t rootSeen, int)
{
    mgInstanceContext* ctx = mgCtx();
    int keyLength = mgKeyLength(f);
    uint8_t key[kMgMaxKeyLength + 8];
    memcpy(key, firstKey, size_t(keyLength));
    uint32_t pointer = firstPointer;
    for (;;) {
        int n = mgNumrec(node);
        if (ctx->stopEntry < 1 || ctx->stopEntry > n) {
            ctx->lastCompare = 0;
            ctx->stopEntry = n + 1;
        }
        bool leaf = mgIsLeaf(node);
        uint8_t highKey[kMgMaxKeyLength + 8];
        if (leaf)
            memcpy(highKey, mgHighKey(node), size_t(keyLength));
        int inserted = ctx->stopEntry;
        if (node->lastInsert) {
            bool increasing = inserted > node->lastInsert;
            if (node->run == 0)
                node->run = increasing ? 1 : -1;
            else if (node->run < 0)
                node->run = increasing ? 0 : node->run - 1;
            else
                node->run = increasing ? node->run + 1 : 0;
        }
        node->lastInsert = inserted;
        if (uint16_t error = mgInsertEntry(node, key, pointer, 4)) {
            mgUnlockNode(node->position, f);
            return error;
        }
        if (mgBytesUsed(node) <= node->byteLimit && mgNumrec(node) <= node->entryLimit)
            return mgPutNode(node, mgNumrec(node), false, true);

        uint32_t oldPos = node->position;
        uint32_t newPos = 0;
        mgNode* fresh = mgNewNode(f, &newPos, 0);
        if (!fresh) {
            uint16_t error = ctx->uerr_cod ? ctx->uerr_cod : uint16_t(kMgCorruptIndex);
            // The disk still holds the node as it was: forget the changed buffer, so the
            // next fetch reads that again.
            if (mggetnod(3, oldPos, f) == node)
                mgInvalidateNode(node);
            mgUnlockNode(oldPos, f);
            return mgSetError(error);
        }
        mgSetNodeKind(fresh, f, leaf);
        if (leaf)
            mgClearLeafSlots(f, fresh);
        int mode = splitMode;
        if (node->run > 10 || (node->run > 0 && node->run >= n / 2))
            mode = 1;
        else if (node->run < -10 || (node->run < 0 && node->run <= -(n / 2)))
            mode = 2;
        node->run = 0;
        node->lastInsert = 0;
        int total = n + 1;
        int s = mode == 0 ? (n + 2) / 2 : mode == 1 ? (n + 1) * 6 / 7 : (n + 1) / 7 + 1;
        int limit = node->byteLimit;
        auto endOf = [node](int entry) { return mgEntryOffset(node, entry) + mgEntrySize(node, entry); };
        if (node->compression & 4) {
            int largest = mgMaxEntrySize(node);
            int countBytes = ((node->compression & 4) ? 1 : 0) + ((node->compression & 8) ? 1 : 0);
            int aim = -1;
            if (endOf(s) > limit) {
                s = 1;
                aim = limit - largest;
            } else if (s < n && endOf(s) < 2 * largest - 4 - countBytes) {
                aim = 2 * largest - 4 - countBytes;
                s += 1;
            }
            if (aim >= 0) {
                while (s < n && endOf(s) < aim && endOf(s) <= limit)
                    ++s;
            }
            if (endOf(s) > limit && s > 1)
                --s;
        }
        if (s < 1)
            s = 1;
        if (s > n)
            s = n;
        // Both halves must fit; in a compressed node the right half's first entry is stored
        // again without a shared part and may grow.
        if (node->compression & 4) {
            auto rightSize = [node](int split) {
                uint8_t scratch[kMgMaxKeyLength + 16];
                int from = mgEntryOffset(node, split + 1);
                int size = mgEntrySize(node, split + 1);
                uint32_t movedPointer = mgEntryPointer(node, split + 1);
                const uint8_t* movedKey = mgNodeEntry(node, split + 1);
                return mgEncodeEntry(node, scratch, movedPointer, movedKey, 0, nullptr) +
                       (mgBytesUsed(node) - from - size);
            };
            while (s < n && rightSize(s) > limit && endOf(s + 1) <= limit)
                ++s;
        }

        const uint8_t* separatorKey = mgNodeEntry(node, s);
        memcpy(ctx->separator, separatorKey, size_t(keyLength));
        int moveFrom = mgEntryOffset(node, s + 1);
        mgNodeEntry(node, s + 1);
        uint32_t movedPointer = node->compression ? mgGet32(node->work) : mgEntryPointer(node, s + 1);
        uint8_t movedKey[kMgMaxKeyLength + 8];
        memcpy(movedKey, mgNodeEntry(node, s + 1), size_t(keyLength));
        int afterMoved = moveFrom + mgEntrySize(node, s + 1);
        int firstSize = mgEncodeEntry(fresh, fresh->entries, movedPointer, movedKey, 0, nullptr);
        int rest = mgBytesUsed(node) - afterMoved;
        memcpy(fresh->entries + firstSize, node->entries + afterMoved, size_t(rest));
        mgSetBytesUsed(fresh, firstSize + rest);
        mgSetBytesUsed(node, moveFrom);
        mgSetNumrec(node, s);
        node->cursorEntry = 0;
        if (leaf) {
            memcpy(mgHighKey(fresh), highKey, size_t(keyLength));
            memcpy(mgHighKey(node), ctx->separator, size_t(keyLength));
            mgClearLeafSlots(f, node);
        }
        uint32_t rightOfOld = mgSucesr(node);
        mgSetSucesr(fresh, rightOfOld);
        mgSetPredsr(fresh, leaf ? oldPos : 0);
        mgSetSucesr(node, newPos);
        uint8_t separator[kMgMaxKeyLength + 8];
        memcpy(separator, ctx->separator, size_t(keyLength));

        uint16_t error = mgPutNode(fresh, total - s, true, false);
        if (!error)
            error = mgPutNode(node, s, true, false);
        if (!error && leaf && rightOfOld != 0) {
            error = mgLockNode(rightOfOld, f);
            if (!error) {
                mgNode* right = mggetnod(0, rightOfOld, f);
                if (!right) {
                    error = ctx->uerr_cod ? ctx->uerr_cod : uint16_t(kMgCorruptIndex);
                    mgUnlockNode(rightOfOld, f);
                } else {
                    mgSetPredsr(right, newPos);
                    error = mgPutNode(right, mgNumrec(right), false, true);
                }
            }
        }
        mgUnlockNode(newPos, f);
        if (error) {
            mgUnlockNode(oldPos, f);
            return mgSetError(error);
        }

        uint32_t parentPos = 0;
        if (ctx->depth > 0) {
            parentPos = ctx->levelStack[ctx->depth--];
        } else {
            uint32_t header = mgHeaderPosition(f);
            if ((error = mgLockHeader(header, f, true)) != 0) {
                mgUnlockNode(oldPos, f);
                return error;
            }
            mgRefreshHeader(f);
            uint32_t root = mgH32(f, kHdrRootNode);
            if (root != rootSeen && root != oldPos && root != 0) {
                parentPos = root;
                mgUnlockHeader(header, f);
            } else {
                mgUnlockNode(oldPos, f);
                return mgNewRoot(f, oldPos, newPos, separator);
            }
        }
        if ((error = mgLockNode(parentPos, f)) != 0) {
            mgUnlockNode(oldPos, f);
            return error;
        }
        mgNode* parent = mggetnod(0, parentPos, f);
        if (parent)
            parent = MOVRGT(separator, f, parent, 0);
        else
            mgUnlockNode(parentPos, f);
        if (!parent) {
            error = ctx->uerr_cod ? ctx->uerr_cod : uint16_t(kMgCorruptIndex);
            mgUnlockNode(oldPos, f);
            return mgSetError(error == kMgStartOver ? kMgCorruptIndex : error);
        }
        if (mgIsLeaf(parent)) {
            LogIndexError("Leaf met where a parent was expected (9495)...", f);
            mgUnlockNode(parent->position, f);
            mgUnlockNode(oldPos, f);
            return mgSetError(kMgCorruptIndex);
        }
        int entry = ctx->stopEntry;
        if (entry < 1 || entry > mgNumrec(parent) || mgEntryPointer(parent, entry) != oldPos) {
            char text[96];
            snprintf(text, sizeof text, "U%lxx E%d D%lxx", (unsigned long)parent->position, entry,
                     (unsigned long)oldPos);
            mgFileControl* phys = mgPhysicalFile(f);
            mgStatusLog("Parent-Child branch error", kMgLogTextOnly);
            mgStatusLog(phys ? phys->name : "", kMgLogTextOnly);
            mgStatusLog(text, kMgLogTextOnly);
            mgUnlockNode(parent->position, f);
            mgUnlockNode(oldPos, f);
            return mgSetError(kMgCorruptIndex);
        }
        mgUnlockNode(oldPos, f);
        mgSetEntryPointer(parent, entry, newPos);
        ctx->stopEntry = entry;
        memcpy(key, separator, size_t(keyLength));
        pointer = oldPos;
        node = parent;
    }
}

uint16_t mgAddKeyTo(mgFileControl* f, const uint8_t* keyValue, uint32_t position, int flags)
{
    mgInstanceContext* ctx = mgCtx();
    mgSetError(0);
    if ((flags & 0x80) && !mgIsIndex(f))
        return mgSetError(kMgWrongFileKind);
    if (!(flags & 0x20)) {
        if (uint16_t error = mgCheckWritable(f))
            return error;
    }
    if (position == 0)
        return mgSetError(kMgInsertPositionZero);
    bool directory = mgSuperfileKind(f) == kMgDirectory;
    if (directory && !(flags & 0x10))
        return mgSetError(kMgDirectoryNeedsFlag);
    int splitMode = flags & ~(0x20 | 0x40 | 0x80 | (directory ? 0x10 : 0));
    int keyLength = mgKeyLength(f);
    bool duplicates = f->header[kHdrDuplicates] != 0;
    uint8_t* key = ctx->keyWork;
    memcpy(key, keyValue, size_t(duplicates ? keyLength - 4 : keyLength));
    if (duplicates)
        mgPutSuffix(key, f, position);
    uint8_t keyCopy[kMgMaxKeyLength + 8];
    memcpy(keyCopy, key, size_t(keyLength));

    for (int attempt = 0; attempt < kMaxAttempts; ++attempt) {
        mgSetError(0);
        ctx->depth = 0;
        ctx->walkNode = 0;
        uint32_t root = mgRootNode(f);
        if (ctx->uerr_cod)
            return ctx->uerr_cod;
        if (root == 0) {
            uint16_t error = mgNewRoot(f, position, 0, keyCopy);
            if (error == 0)
                return mgAdjustKeyCount(f, 1);
            if (error != kMgNotFoundMark)
                return mgSetError(error);
            mgSetError(0);
            root = mgRootNode(f);
            if (root == 0)
                continue;
        }
        mgNode* leaf =
            mgLockLeafFor(f, keyCopy, root, "Corrupt index encountered during addkey...", ctx->levelStack, &ctx->depth);
        if (!leaf) {
            if (ctx->uerr_cod == kMgStartOver)
                continue;
            return ctx->uerr_cod;
        }
        if (ctx->lastCompare == 0 && ctx->stopEntry >= 1 && ctx->stopEntry <= mgNumrec(leaf)) {
            if (!(flags & 0x40)) {
                mgUnlockNode(leaf->position, f);
                return mgSetError(kMgDuplicateKey);
            }
            if (!duplicates) {
                mgSetEntryPointer(leaf, ctx->stopEntry, position);
                leaf->cursorEntry = 0;
                return mgPutNode(leaf, mgNumrec(leaf), false, true);
            }
            mgUnlockNode(leaf->position, f);
            return 0;
        }
        uint16_t error = mgSplitInsert(leaf, f, keyCopy, position, splitMode, root, 0);
        if (error)
            return error;
        return mgAdjustKeyCount(f, 1);
    }
    LogIndexError("Unexpected deleted node during iaddkey in file...", f);
    return mgSetError(kMgCorruptIndex);
}

uint16_t addkey(int fileNumber, const uint8_t* key, uint32_t position, int flags)
{
    mgSetError(0);
    mgFileControl* f = mgCheckFile(fileNumber);
    if (!f)
        return mgCtx()->uerr_cod;
    return mgAddKeyTo(f, key, position, flags);
}

uint16_t mgAddKey(int fileNumber, const uint8_t* key, uint32_t position, int flags)
{
    return addkey(fileNumber, key, position, flags | 0x80);
}
