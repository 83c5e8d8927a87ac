// The node cache: every index node is read and written through it. Buffers are made once
// per instance, hashed by (position, file number) and reused from the front of an LRU
// ring. A node of a shared file is read again on every fetch and forgotten after every
// write, so that other processes' changes are seen.
// Keeps invariant 1 of the node layer: a node read from disk is checked whole before use.
#include "database/mgNode.h"

#include <cstdio>
#include <cstring>

#include "database/mgOs.h"
#include "database/mgRuntime.h"

namespace {

mgRing* BucketOf(uint32_t position, int32_t fileNumber)
{
    mgInstanceContext* ctx = mgCtx();
    uint32_t index = ((position >> ctx->hashShift) + uint32_t(fileNumber)) % uint32_t(ctx->nodeBucketCount);
    return &ctx->nodeBuckets[index];
}

mgNode* NodeOfLru(mgRing* link)
{
    return static_cast<mgNode*>(link->owner);
}

void LogNodeFault(const char* text, mgFileControl* f, int number)
{
    mgFileControl* phys = mgPhysicalFile(f);
    mgStatusLogFile(text, phys ? phys->name : "", number);
}

// Whether the entries rise (equal keys only where stored so) and, in a leaf, none lies
// above the leaf's high key. Entries past the ones a leaf really holds, or a key written
// over, would otherwise lead a walk backwards or to records that are not there.
bool KeysInOrder(mgNode* node)
{
    int count = mgNumrec(node);
    int keyLength = node->keyLength;
    uint8_t previous[kMgMaxKeyLength + 8];
    bool ordered = true;
    for (int i = 1; i <= count && ordered; ++i) {
        const uint8_t* key = mgNodeEntry(node, i);
        ordered = key && (i == 1 || mgCompareKey(key, previous, keyLength) >= 0);
        if (ordered)
            memcpy(previous, key, size_t(keyLength));
    }
    if (ordered && count > 0 && mgIsLeaf(node))
        ordered = mgCompareKey(previous, mgHighKey(node), keyLength) <= 0;
    node->cursorEntry = 0;
    node->cursorOffset = 0;
    node->cursorSize = 0;
    node->cursorTrailing = 0;
    return ordered;
}

// Checks a node's bytes against the index's layout: counts, bytes used, every compressed
// entry and the order of the keys; false for a node no sound index holds.
bool NodeIsSound(mgNode* node)
{
    uint8_t* h = mgNodeHeaderBytes(node);
    if (h[17] > 1)
        return false;
    if (mgPredsr(node) == kMgDeletedNode)
        return true;
    int count = mgNumrec(node);
    int used = mgBytesUsed(node);
    int limit = mgIsLeaf(node) ? node->byteLimit : int(node->control->nodeSize) - kMgNodeHeader;
    if (count > int(node->entryLimit) || used > limit || used < 0)
        return false;
    if (!mgIsLeaf(node) && mgGet16(h + 12) != 0)
        return false;
    int stored = mgStoredKeyLength(node);
    if (!node->compression) {
        int size = node->keyLength + (mgHasPointer(node) ? 4 : 0);
        return used == count * size && KeysInOrder(node);
    }
    const uint8_t* p = node->entries;
    const uint8_t* end = node->entries + used;
    for (int i = 0; i < count; ++i) {
        int head = (mgHasPointer(node) ? 4 : 0) + ((node->compression & 4) ? 1 : 0) + ((node->compression & 8) ? 1 : 0);
        if (end - p < head)
            return false;
        const uint8_t* c = p + (mgHasPointer(node) ? 4 : 0);
        int lead = (node->compression & 4) ? *c++ : 0;
        int trail = (node->compression & 8) ? *c++ : 0;
        if (i == 0 && lead != 0)
            return false;
        if (lead + trail > stored)
            return false;
        int size = head + (stored - lead - trail) + (node->layout == 1 ? 0 : 4);
        if (end - p < size)
            return false;
        p += size;
    }
    return p == end && KeysInOrder(node);
}

} // namespace

uint16_t mgNodeCacheStart(int buffers)
{
    mgInstanceContext* ctx = mgCtx();
    ctx->nodeBucketCount = (buffers + 3) / 4;
    if (ctx->nodeBucketCount < 1)
        ctx->nodeBucketCount = 1;
    ctx->nodeBuckets = mgNewRings(ctx->nodeBucketCount);
    ctx->nodes = static_cast<mgNode*>(mgCalloc(size_t(buffers), sizeof(mgNode)));
    if (!ctx->nodeBuckets || !ctx->nodes)
        return kMgNoMemoryAtStart;
    mgRingInit(&ctx->nodeLru);
    int shift = 7;
    for (int s = ctx->sectors; s > 1; s /= 2)
        ++shift;
    ctx->hashShift = shift;
    for (int i = 0; i < buffers; ++i) {
        mgNode* node = &ctx->nodes[i];
        node->buffer = static_cast<uint8_t*>(mgPoolTake(kMgPoolNodeBuffers));
        if (!node->buffer)
            return kMgNoMemoryAtStart;
        node->hash.owner = node;
        node->lru.owner = node;
        node->fileNumber = -1;
        node->physicalFile = -1;
        node->mark = 'n';
        mgListMove(&node->lru, &ctx->nodeLru, false);
    }
    return 0;
}

void mgNodeCacheStop()
{
    mgInstanceContext* ctx = mgCtx();
    // The buffers themselves go with the pools.
    mgHeapFreeAndClear(ctx->nodes);
    mgHeapFreeAndClear(ctx->nodeBuckets);
    ctx->nodeBucketCount = 0;
    ctx->nodeLru.next = ctx->nodeLru.prev = nullptr;
}

void mgInvalidateNode(mgNode* node)
{
    mgInstanceContext* ctx = mgCtx();
    node->mark = 'n';
    node->fileNumber = -1;
    node->position = 0;
    node->physicalFile = -1;
    mgListUnlink(&node->hash);
    mgListMove(&node->lru, &ctx->nodeLru, true);
}

void mgSetNodeKind(mgNode* node, mgFileControl* f, bool leaf)
{
    mgNodeHeaderBytes(node)[17] = leaf ? 1 : 0;
    bool duplicates = f->header[kHdrDuplicates] != 0;
    if (leaf) {
        node->byteLimit = mgH16(f, kHdrLeafLimit);
        node->entryLimit = mgH16(f, kHdrLeafSlots);
        node->layout = duplicates ? 0 : 1;
        node->slots = node->entries + node->byteLimit + node->keyLength;
    } else {
        node->byteLimit = uint16_t(f->nodeSize - kMgNodeHeader);
        node->entryLimit = uint16_t(f->nodeSize / 4);
        node->layout = duplicates ? 3 : 1;
        node->slots = nullptr;
    }
}

void mgClearLeafSlots(mgFileControl* physical, mgNode* node)
{
    mgFileControl* f = node->control;
    uint32_t slots = mgH16(f, kHdrLeafSlots);
    if (slots < f->nodeSize / 4 && node->slots) {
        size_t room = f->nodeSize - size_t(node->slots - node->entries) - kMgNodeHeader;
        size_t bytes = size_t(slots) * 4;
        memset(node->slots, 0, bytes < room ? bytes : room);
    }
    (void)physical;
}

static void PrepareBuffer(mgNode* node, mgFileControl* f, uint32_t position)
{
    mgInstanceContext* ctx = mgCtx();
    mgFileControl* phys = mgPhysicalFile(f);
    node->prefix = (mgH32(mgGroupFirst(f), kHdrMemberId) != 0) ? 18 : 0;
    node->entries = node->buffer + node->prefix + kMgNodeHeader;
    node->control = f;
    node->position = position;
    node->fileNumber = f->fileNumber;
    node->mark = 'n';
    node->physicalFile = phys ? phys->fileNumber : -1;
    node->keyLength = int16_t(mgKeyLength(f));
    node->compression = f->header[kHdrKeyFlags] & 0x0C;
    node->cursorEntry = 0;
    node->cursorOffset = 0;
    node->cursorSize = 0;
    node->cursorTrailing = 0;
    node->lastInsert = 0;
    node->run = 0;
    mgListUnlink(&node->hash);
    mgListMove(&node->hash, BucketOf(position, f->fileNumber), true);
    mgListMove(&node->lru, &ctx->nodeLru, false);
}

uint16_t mgReadNode(mgNode* node, int, uint32_t position, mgFileControl* f)
{
    PrepareBuffer(node, f, position);
    uint16_t member = mgH16(f, kHdrMemberNumber);
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (uint16_t error = mgReadWrite(kMgRead, f, position - uint32_t(node->prefix), node->buffer,
                                         f->nodeSize + uint32_t(node->prefix), nullptr))
            return error;
        uint8_t* h = mgNodeHeaderBytes(node);
        bool deleted = mgPredsr(node) == kMgDeletedNode && mgSucesr(node) != kMgDeletedNode;
        if (h[16] == member || deleted) {
            mgSetNodeKind(node, f, h[17] == 1);
            return 0;
        }
    }
    uint8_t* h = mgNodeHeaderBytes(node);
    char text[160];
    snprintf(text, sizeof text, "E69: f#=%d km=%d bm=%d node=%lxx predsr=%lxx sucesr=%lxx numrec=%lxx",
             node->physicalFile, member, h[16], (unsigned long)position, (unsigned long)mgPredsr(node),
             (unsigned long)mgSucesr(node), (unsigned long)mgH32(mgPhysicalFile(f), kHdrEntryCount));
    mgFileControl* phys = mgPhysicalFile(f);
    mgStatusLog(phys ? phys->name : "", kMgLogTextOnly);
    mgStatusLog(text, kMgLogTextOnly);
    return mgSetError(kMgMemberMismatch);
}

uint16_t mgWriteNode(mgNode* node)
{
    mgFileControl* f = node->control;
    uint8_t* h = mgNodeHeaderBytes(node);
    if (h[16] != mgH16(f, kHdrMemberNumber) && mgPredsr(node) != kMgDeletedNode)
        mgInternalError(230);
    uint16_t error = mgReadWrite(kMgWrite, f, node->position - uint32_t(node->prefix), node->buffer,
                                 f->nodeSize + uint32_t(node->prefix), nullptr);
    if (error)
        return error;
    node->mark = 'n';
    if (mgIsShared(f))
        mgInvalidateNode(node);
    return 0;
}

uint16_t mgPutNode(mgNode* node, int entryCount, bool moveToBack, bool unlock)
{
    if (entryCount < 0)
        mgInternalError(216);
    if (moveToBack)
        mgListMove(&node->lru, &mgCtx()->nodeLru, false);
    mgSetNumrec(node, entryCount);
    node->mark = 'y';
    uint32_t position = node->position;
    mgFileControl* f = node->control;
    uint16_t error = mgWriteNode(node);
    if (error) {
        // A node that could not be written is forgotten: the disk keeps its old content,
        // and the next fetch reads that again instead of a change that never landed.
        mgInvalidateNode(node);
        mgSetError(error);
        if (unlock)
            mgUnlockNode(position, f);
        return error;
    }
    if (unlock)
        return mgUnlockNode(position, f);
    mgSetError(0);
    return 0;
}

mgNode* mgTakeNodeBuffer(int, uint32_t, mgFileControl*)
{
    mgInstanceContext* ctx = mgCtx();
    mgRing* link = ctx->nodeLru.next;
    if (link == &ctx->nodeLru)
        return nullptr;
    mgNode* node = NodeOfLru(link);
    mgListMove(&node->lru, &ctx->nodeLru, false);
    if (node->mark == 'y' && node->fileNumber >= 0) {
        if (mgWriteNode(node) != 0)
            return nullptr;
    }
    return node;
}

mgNode* mggetnod(int mode, uint32_t position, mgFileControl* f)
{
    mgInstanceContext* ctx = mgCtx();
    if (mode != 3)
        ctx->nodeRequests += 1;
    if (position == 0) {
        LogNodeFault("Zero node request (mggetnod)...", f, kMgLogTextOnly);
        mgSetError(kMgCorruptIndex);
        return nullptr;
    }
    mgRing* bucket = BucketOf(position, f->fileNumber);
    for (mgRing* link = bucket->next; link != bucket; link = link->next) {
        mgNode* node = static_cast<mgNode*>(link->owner);
        if (node->position != position || node->fileNumber != f->fileNumber)
            continue;
        if (mode == 3)
            return node;
        ctx->nodeHits += 1;
        if (node->mark == 'y') {
            // Only a write that failed leaves a node marked changed; it was forgotten
            // then, so this is a bookkeeping fault, answered as a corrupt index.
            mgInvalidateNode(node);
            LogNodeFault("Changed node met in the cache (208)", f, kMgCorruptIndex);
            mgSetError(kMgCorruptIndex);
            return nullptr;
        }
        if (mgIsShared(f)) {
            ctx->nodeHits -= 1;
            if (mgReadNode(node, 0, position, f) != 0 || !NodeIsSound(node)) {
                mgInvalidateNode(node);
                if (ctx->uerr_cod == 0)
                    mgSetError(kMgCorruptIndex);
                return nullptr;
            }
        } else {
            mgListMove(&node->lru, &ctx->nodeLru, false);
        }
        return node;
    }
    if (mode == 3)
        return nullptr;
    // A node lies inside the file: below its logical end and, in a plain index file, on a
    // node boundary. A position from a damaged link fails here instead of reading anywhere.
    mgFileControl* phys = mgPhysicalFile(f);
    uint64_t end = uint64_t(position) + f->nodeSize - 1;
    bool aligned = mgIsSuperfile(phys) || !mgIsIndex(phys) || position % f->nodeSize == 0;
    if (aligned && end > mgH32(phys, kHdrLogicalEnd) && mgIsShared(phys))
        mgRefreshHeader(phys);
    if (!aligned || end > mgH32(phys, kHdrLogicalEnd) || position < uint32_t(kMgHeaderSize)) {
        LogNodeFault("Node position outside the index file...", f, kMgCorruptIndex);
        mgSetError(kMgCorruptIndex);
        return nullptr;
    }
    mgNode* node = mgTakeNodeBuffer(0, position, f);
    if (!node)
        return nullptr;
    if (mgReadNode(node, 0, position, f) != 0) {
        mgInvalidateNode(node);
        return nullptr;
    }
    if (!mgIsLeaf(node) && mgGet16(mgNodeHeaderBytes(node) + 12) != 0) {
        mgInvalidateNode(node);
        LogNodeFault("Invalid numexc node control field...", f, kMgLogTextOnly);
        mgSetError(kMgCorruptIndex);
        return nullptr;
    }
    if (!NodeIsSound(node)) {
        mgInvalidateNode(node);
        LogNodeFault("Invalid node counts or entries...", f, kMgCorruptIndex);
        mgSetError(kMgCorruptIndex);
        return nullptr;
    }
    return node;
}

mgNode* mgInitNode(mgNode* node, mgFileControl* f, uint32_t position)
{
    PrepareBuffer(node, f, position);
    uint8_t* h = mgNodeHeaderBytes(node);
    memset(h, 0, kMgNodeHeader);
    h[16] = uint8_t(mgH16(f, kHdrMemberNumber));
    node->mark = 'y';
    mgSetNodeKind(node, f, true);
    return node;
}

uint16_t mgWriteFileNodes(mgFileControl* f, bool forget)
{
    mgInstanceContext* ctx = mgCtx();
    uint16_t first = 0;
    mgFileControl* group = mgGroupFirst(f);
    for (int i = 0; i < ctx->buffers; ++i) {
        mgNode* node = &ctx->nodes[i];
        if (node->fileNumber < 0)
            continue;
        mgFileControl* owner = node->control;
        if (owner != f && mgGroupFirst(owner) != group)
            continue;
        if (node->mark == 'y') {
            uint16_t error = mgWriteNode(node);
            if (error && !first)
                first = error;
        }
        if (forget)
            mgInvalidateNode(node);
    }
    return first;
}

uint32_t mgFirstNodePosition(mgFileControl* f)
{
    uint32_t members = mgH16(f, kHdrMemberCount);
    uint32_t nodeSize = f->nodeSize;
    return nodeSize * (1 + (128 * members + 127) / nodeSize);
}

uint32_t mgRootNode(mgFileControl* f)
{
    if (mgIsShared(f) && mgRefreshHeader(f) != 0)
        return 0;
    return mgH32(f, kHdrRootNode);
}

uint16_t mgIndexCapacity(uint32_t nodeSize, int keyLength, bool duplicates, uint8_t keyFlags, bool slotOption,
                         uint16_t* leafLimit, uint16_t* nodeLimit, uint16_t* leafSlots)
{
    if (keyLength > kMgMaxKeyLength)
        return kMgKeyTooLong;
    if (keyLength < 0 || (duplicates && keyLength < 4))
        return kMgBadDuplicateKeyLength;
    if (keyFlags & 0x03)
        return kMgBadKeyType;
    int e = keyLength + ((keyFlags & 4) ? 1 : 0) + ((keyFlags & 8) ? 1 : 0);
    int usable = int(nodeSize) - kMgNodeHeader;
    if (e == 0 || usable / (e + 4) < 3)
        return kMgNodeTooSmall;
    int r = e / 12;
    if (r < 3)
        r = 3;
    for (int u = usable; u > 0; --u) {
        int n;
        int limit;
        if (duplicates) {
            n = u / e;
            limit = (n - 1) * e;
        } else {
            n = u / (e + 4);
            limit = (e + 4) * n - e;
        }
        if (n < 3)
            return kMgNodeTooSmall;
        int m = (e != keyLength) ? (r * n) / 2 : n;
        *leafLimit = uint16_t(limit);
        *nodeLimit = uint16_t(usable);
        if (!slotOption) {
            *leafSlots = uint16_t(nodeSize / 4);
            return 0;
        }
        int avail = int(nodeSize) - (e + limit + kMgNodeHeader);
        if (4 * m <= avail) {
            *leafSlots = uint16_t(avail / 4);
            return 0;
        }
    }
    return kMgNodeTooSmall;
}
