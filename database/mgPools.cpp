// Memory pools of an engine instance: rings of chunks of fixed-size slots, so that the
// engine's small, frequent objects (lock entries, control blocks, key images, node
// buffers) never reach the heap once a chunk exists.
// Invariants: 1. every slot starts with an 8-byte prefix pointing at its chunk;
// 2. a pool's freeElements is the sum of its chunks' free counts;
// 3. a chunk is given back only while another chunk of its pool has free slots.
// A broken invariant can only come from the engine's own bookkeeping, never from a file,
// so it stays a fatal internal error.
#include "database/mgRuntime.h"

#include <cstdlib>
#include <cstring>

struct mgPoolChunk {
    mgPoolChunk* next;
    mgPoolChunk* prev;
    mgPool* pool;
    uint8_t* freeHead;
    uint8_t* nextUnused;
    long unusedCount;
    long elementCount;
    long freeCount;
};

namespace {

constexpr size_t kSlotPrefix = 8;
constexpr long kPoolBudget = 2048;

// Element sizes of pools 0 to 19; pools 20 and 21 are sized at start.
const size_t kPoolElementBytes[20] = {32, 32, 24, 40, 72, 136, 264, 520, 1032, 2056,
                                      8,  16, 32, 32, 32, 1144, 48, 544, 32, 32};

size_t RoundUp8(size_t n)
{
    return (n + 7) & ~size_t(7);
}

size_t SlotStride(const mgPool& pool)
{
    return kSlotPrefix + RoundUp8(pool.elementSize);
}

int PoolForSize(long long size)
{
    if (size <= 16)
        return 2;
    if (size <= 32)
        return 3;
    if (size <= 64)
        return 4;
    if (size <= 128)
        return 5;
    if (size <= 256)
        return 6;
    if (size <= 512)
        return 7;
    if (size <= 1024)
        return 8;
    return 9;
}

mgPoolChunk* AddChunk(mgPool& pool)
{
    size_t stride = SlotStride(pool);
    size_t bytes = sizeof(mgPoolChunk) + stride * size_t(pool.perChunk);
    auto* chunk = static_cast<mgPoolChunk*>(calloc(1, bytes));
    if (!chunk)
        return nullptr;
    chunk->pool = &pool;
    chunk->nextUnused = reinterpret_cast<uint8_t*>(chunk + 1);
    chunk->unusedCount = pool.perChunk;
    chunk->elementCount = pool.perChunk;
    chunk->freeCount = pool.perChunk;
    if (pool.current) {
        chunk->next = pool.current->next;
        chunk->prev = pool.current;
        pool.current->next->prev = chunk;
        pool.current->next = chunk;
    } else {
        chunk->next = chunk->prev = chunk;
    }
    pool.elements += pool.perChunk;
    pool.freeElements += pool.perChunk;
    pool.chunks += 1;
    pool.chunksWithFree += 1;
    return chunk;
}

} // namespace

void mgSizePools(long nodeBufferSize, long dataBufferSize, long nodeBuffers, long dataBuffers)
{
    mgInstanceContext* ctx = mgCtx();
    for (int i = 0; i < kMgPoolCount; ++i) {
        mgPool& pool = ctx->pools[i];
        pool = mgPool{};
        if (i < 20)
            pool.elementSize = kPoolElementBytes[i];
    }
    // Lock entries, node entries and control blocks keep their natural sizes on 64 bits.
    ctx->pools[kMgPoolLocks].elementSize = 16;
    ctx->pools[kMgPoolControlBlocks].elementSize = 0;
    // Room for the node, its record header and one entry past a full node before the split.
    ctx->pools[kMgPoolNodeBuffers].elementSize = RoundUp8(size_t(nodeBufferSize) + 1028 + 64);
    ctx->pools[kMgPoolDataBuffers].elementSize = RoundUp8(size_t(dataBufferSize));
    for (int i = 0; i < 20; ++i) {
        long per = ctx->pools[i].elementSize ? kPoolBudget / long(ctx->pools[i].elementSize) : 4;
        ctx->pools[i].perChunk = per < 4 ? 4 : int(per);
    }
    long long total = (long long)ctx->pools[kMgPoolNodeBuffers].elementSize * nodeBuffers +
                      (long long)ctx->pools[kMgPoolDataBuffers].elementSize * dataBuffers;
    long long f = total / 65536 + 1;
    if (f > 4)
        f = 4;
    ctx->pools[kMgPoolNodeBuffers].perChunk = int(3 * f);
    ctx->pools[kMgPoolDataBuffers].perChunk = int(3 * f);
}

// Control blocks are sized by their structure; the file layer sets the size before use.
void mgSetPoolElementSize(int pool, size_t bytes)
{
    mgPool& p = mgCtx()->pools[pool];
    if (p.elementSize == 0) {
        p.elementSize = bytes;
        long per = kPoolBudget / long(RoundUp8(bytes));
        p.perChunk = per < 4 ? 4 : int(per);
    }
}

void* mgPoolTake(int poolNumber)
{
    mgPool& pool = mgCtx()->pools[poolNumber];
    mgPoolChunk* chunk = pool.current;
    if (!chunk || chunk->freeCount == 0) {
        if (pool.freeElements > 0) {
            mgPoolChunk* start = chunk;
            mgPoolChunk* found = nullptr;
            for (mgPoolChunk* c = start->next;; c = c->next) {
                if (c->freeCount > 0) {
                    found = c;
                    break;
                }
                if (c == start)
                    break;
            }
            if (!found)
                mgInternalError(7494);
            chunk = found;
        } else {
            chunk = AddChunk(pool);
            if (!chunk) {
                mgSetError(kMgPoolExhausted);
                return nullptr;
            }
        }
        pool.current = chunk;
    }
    uint8_t* slot;
    size_t stride = SlotStride(pool);
    if (chunk->unusedCount > 0) {
        slot = chunk->nextUnused;
        chunk->nextUnused += stride;
        chunk->unusedCount -= 1;
        *reinterpret_cast<mgPoolChunk**>(slot) = chunk;
    } else {
        slot = chunk->freeHead;
        if (!slot)
            mgInternalError(7479);
        chunk->freeHead = *reinterpret_cast<uint8_t**>(slot + kSlotPrefix);
        memset(slot + kSlotPrefix, 0, stride - kSlotPrefix);
    }
    chunk->freeCount -= 1;
    pool.freeElements -= 1;
    if (chunk->freeCount == 0)
        pool.chunksWithFree -= 1;
    if (pool.freeElements < 0)
        mgInternalError(7492);
    return slot + kSlotPrefix;
}

void mgPoolGive(void* element, int poolNumber)
{
    mgPool& pool = mgCtx()->pools[poolNumber];
    uint8_t* slot = static_cast<uint8_t*>(element) - kSlotPrefix;
    mgPoolChunk* chunk = *reinterpret_cast<mgPoolChunk**>(slot);
    if (!chunk || chunk->pool != &pool)
        mgInternalError(7495);
    *reinterpret_cast<uint8_t**>(slot + kSlotPrefix) = chunk->freeHead;
    chunk->freeHead = slot;
    chunk->freeCount += 1;
    pool.freeElements += 1;
    if (chunk->freeCount == 1)
        pool.chunksWithFree += 1;
    if (chunk->freeCount == chunk->elementCount && pool.chunksWithFree > 1) {
        if (chunk->next == chunk)
            mgInternalError(7480);
        chunk->prev->next = chunk->next;
        chunk->next->prev = chunk->prev;
        if (pool.current == chunk)
            pool.current = chunk->next;
        pool.elements -= chunk->elementCount;
        pool.freeElements -= chunk->elementCount;
        pool.chunks -= 1;
        pool.chunksWithFree -= 1;
        if (pool.elements < 0 || pool.freeElements < 0)
            mgInternalError(7493);
        free(chunk);
    }
}

void mgPoolRelease(int poolNumber)
{
    mgPool& pool = mgCtx()->pools[poolNumber];
    if (pool.current) {
        mgPoolChunk* start = pool.current;
        mgPoolChunk* c = start->next;
        while (c != start) {
            mgPoolChunk* next = c->next;
            free(c);
            c = next;
        }
        free(start);
    }
    size_t size = pool.elementSize;
    int per = pool.perChunk;
    pool = mgPool{};
    pool.elementSize = size;
    pool.perChunk = per;
}

void* mgAlloc(long long size)
{
    if (size < 0 || size > kMgAllocLimit)
        mgInternalError(7490);
    if (size == 0)
        return nullptr;
    uint8_t* block;
    if (size > 2048) {
        block = static_cast<uint8_t*>(calloc(1, size_t(size) + kSlotPrefix));
    } else {
        block = static_cast<uint8_t*>(mgPoolTake(PoolForSize(size)));
    }
    if (!block) {
        mgSetError(kMgPoolExhausted);
        return nullptr;
    }
    *reinterpret_cast<long long*>(block) = size;
    return block + kSlotPrefix;
}

void mgFree(void* pointer)
{
    if (!pointer)
        return;
    uint8_t* block = static_cast<uint8_t*>(pointer) - kSlotPrefix;
    long long size = *reinterpret_cast<long long*>(block);
    if (size < 0 || size > kMgAllocLimit)
        mgInternalError(7491);
    if (size == 0)
        mgInternalError(7497);
    if (size > 2048)
        free(block);
    else
        mgPoolGive(block, PoolForSize(size));
}

void* mgCalloc(size_t count, size_t size)
{
    return calloc(count ? count : 1, size ? size : 1);
}

void mgHeapFree(void* pointer)
{
    if (pointer)
        free(pointer);
}
