// The data buffers: hashed by (block, handle) into a quarter as many buckets as buffers,
// reused from the front of an LRU ring, like the node cache.
#include "database/mgDataCache.h"

#include <cstring>

#include "database/mgOs.h"
#include "database/mgRuntime.h"

namespace {

mgRing* DataBucketOf(HANDLE handle, uint32_t block)
{
    mgInstanceContext* ctx = mgCtx();
    uint32_t mix = block + uint32_t(uintptr_t(handle) >> 2);
    return &ctx->dataBuckets[mix % uint32_t(ctx->dataBucketCount)];
}

mgDataBuffer* FindDataBlock(HANDLE handle, uint32_t block)
{
    mgRing* bucket = DataBucketOf(handle, block);
    for (mgRing* link = bucket->next; link != bucket; link = link->next) {
        auto* buffer = static_cast<mgDataBuffer*>(link->owner);
        if (buffer->block == block && buffer->handle == handle)
            return buffer;
    }
    return nullptr;
}

void SetChanged(mgDataBuffer* buffer, bool changed)
{
    if (buffer->changed != changed)
        mgCtx()->dataChanged += changed ? 1 : -1;
    buffer->changed = changed;
}

void DropDataBlock(mgDataBuffer* buffer)
{
    SetChanged(buffer, false);
    buffer->handle = nullptr;
    buffer->owner = nullptr;
    buffer->valid = 0;
    mgListUnlink(&buffer->hash);
    mgListMove(&buffer->lru, &mgCtx()->dataLru, true);
}

// Writes a changed block; it is clean afterwards, or dropped when the write failed (the
// session of its file is then marked failed by the transfer).
uint16_t WriteBackBlock(mgDataBuffer* buffer)
{
    SetChanged(buffer, false);
    uint32_t size = uint32_t(mgCtx()->nodeSize);
    uint16_t error = mgReadWrite(kMgWrite | kMgWriteBackTransfer, buffer->owner, buffer->block * size,
                                 buffer->bytes, buffer->valid, nullptr);
    if (error)
        DropDataBlock(buffer);
    return error;
}

// The block from the buffers, or read into the buffer at the LRU front (written first when
// changed); null when that write or the read fails, with which of them in `failure`.
mgDataBuffer* KeptDataBlock(mgFileControl* phys, uint32_t block, mgDataTransfer* failure)
{
    mgInstanceContext* ctx = mgCtx();
    HANDLE handle = phys->handle;
    if (mgDataBuffer* buffer = FindDataBlock(handle, block)) {
        mgListMove(&buffer->lru, &ctx->dataLru, false);
        return buffer;
    }
    auto* buffer = static_cast<mgDataBuffer*>(ctx->dataLru.next->owner);
    if (buffer->changed && WriteBackBlock(buffer) != 0) {
        *failure = kMgDataWriteBackFailed;
        return nullptr;
    }
    if (buffer->handle)
        DropDataBlock(buffer);
    DWORD done = 0;
    uint32_t size = uint32_t(ctx->nodeSize);
    if (!mgIo().read(handle, uint64_t(block) * size, buffer->bytes, size, &done)) {
        *failure = kMgDataTransferFailed;
        return nullptr;
    }
    ctx->reads += 1;
    ctx->bytesRead += done;
    buffer->owner = phys;
    buffer->handle = handle;
    buffer->block = block;
    buffer->valid = done;
    mgListMove(&buffer->hash, DataBucketOf(handle, block), true);
    mgListMove(&buffer->lru, &ctx->dataLru, false);
    return buffer;
}

// Calls visit(block, offset, take, done) for each block piece of a range.
template <typename Visit> bool ForEachPiece(uint32_t position, uint32_t length, Visit visit)
{
    uint32_t size = uint32_t(mgCtx()->nodeSize);
    uint64_t at = position;
    uint64_t end = uint64_t(position) + length;
    uint32_t done = 0;
    while (at < end) {
        uint32_t offset = uint32_t(at % size);
        uint32_t take = uint32_t(end - at < size - offset ? end - at : size - offset);
        if (!visit(uint32_t(at / size), offset, take, done))
            return false;
        done += take;
        at += take;
    }
    return true;
}

} // namespace

uint16_t mgDataCacheStart(int count)
{
    mgInstanceContext* ctx = mgCtx();
    mgRingInit(&ctx->dataLru);
    ctx->dataBufferCount = 0;
    ctx->dataChanged = 0;
    // A write into two blocks takes two buffers while a third may be written back: fewer
    // than four keep nothing.
    if (count < 4)
        return 0;
    ctx->dataBucketCount = (count + 3) / 4;
    ctx->dataBuckets = mgNewRings(ctx->dataBucketCount);
    ctx->dataBufferArray = static_cast<mgDataBuffer*>(mgCalloc(size_t(count), sizeof(mgDataBuffer)));
    if (!ctx->dataBuckets || !ctx->dataBufferArray)
        return kMgNoMemoryAtStart;
    for (int i = 0; i < count; ++i) {
        mgDataBuffer* buffer = &ctx->dataBufferArray[i];
        buffer->bytes = static_cast<uint8_t*>(mgPoolTake(kMgPoolDataBuffers));
        if (!buffer->bytes)
            return kMgNoMemoryAtStart;
        buffer->hash.owner = buffer;
        buffer->lru.owner = buffer;
        mgListMove(&buffer->lru, &ctx->dataLru, false);
        ctx->dataBufferCount = i + 1;
    }
    return 0;
}

void mgDataCacheStop()
{
    mgInstanceContext* ctx = mgCtx();
    // The blocks' bytes go with the pools.
    mgHeapFreeAndClear(ctx->dataBufferArray);
    mgHeapFreeAndClear(ctx->dataBuckets);
    ctx->dataBucketCount = 0;
    ctx->dataBufferCount = 0;
    ctx->dataChanged = 0;
    ctx->dataLru.next = ctx->dataLru.prev = nullptr;
}

bool mgDataCacheServes(mgFileControl* f, mgFileControl* phys)
{
    return mgCtx()->dataBufferCount > 0 && !mgIsIndex(f) && !mgIsShared(phys) &&
           !(phys->flags & kMgLockedTransfers);
}

mgDataTransfer mgDataCacheRead(mgFileControl* phys, uint32_t position, void* buffer, uint32_t length)
{
    auto* out = static_cast<uint8_t*>(buffer);
    mgDataTransfer answer = kMgDataKept;
    ForEachPiece(position, length, [&](uint32_t block, uint32_t offset, uint32_t take, uint32_t done) {
        mgDataBuffer* kept = KeptDataBlock(phys, block, &answer);
        if (kept && offset + take > kept->valid)
            answer = kMgDataNotKept;
        if (answer == kMgDataKept)
            memcpy(out + done, kept->bytes + offset, take);
        return answer == kMgDataKept;
    });
    return answer;
}

mgDataTransfer mgDataCacheWrite(mgFileControl* phys, uint32_t position, const void* buffer, uint32_t length)
{
    uint32_t size = uint32_t(mgCtx()->nodeSize);
    if (length == 0 || position / size + 1 < (uint64_t(position) + length - 1) / size)
        return kMgDataNotKept;
    // Both blocks first, so that nothing is changed when one cannot be had.
    mgDataBuffer* blocks[2] = {};
    int count = 0;
    mgDataTransfer answer = kMgDataKept;
    ForEachPiece(position, length, [&](uint32_t block, uint32_t offset, uint32_t, uint32_t) {
        mgDataBuffer* kept = KeptDataBlock(phys, block, &answer);
        if (kept && offset > kept->valid) // the disk would fill the gap: leave it to the disk
            answer = kMgDataNotKept;
        if (answer == kMgDataKept)
            blocks[count++] = kept;
        return answer == kMgDataKept;
    });
    if (answer != kMgDataKept)
        return answer;
    auto* in = static_cast<const uint8_t*>(buffer);
    int next = 0;
    ForEachPiece(position, length, [&](uint32_t, uint32_t offset, uint32_t take, uint32_t done) {
        mgDataBuffer* kept = blocks[next++];
        memcpy(kept->bytes + offset, in + done, take);
        if (offset + take > kept->valid)
            kept->valid = offset + take;
        SetChanged(kept, true);
        return true;
    });
    return kMgDataKept;
}

void mgDataCacheWritten(HANDLE handle, uint32_t position, const void* buffer, uint32_t length, bool whole)
{
    if (mgCtx()->dataBufferCount == 0)
        return;
    auto* in = static_cast<const uint8_t*>(buffer);
    ForEachPiece(position, length, [&](uint32_t block, uint32_t offset, uint32_t take, uint32_t done) {
        if (mgDataBuffer* kept = FindDataBlock(handle, block)) {
            // Bytes between the block's end and the write would be the disk's to say.
            if (!whole || offset > kept->valid) {
                DropDataBlock(kept);
            } else {
                memcpy(kept->bytes + offset, in + done, take);
                if (offset + take > kept->valid)
                    kept->valid = offset + take;
            }
        }
        return true;
    });
}

uint16_t mgDataCacheWriteBack(mgFileControl* phys, uint32_t position, uint32_t length)
{
    mgInstanceContext* ctx = mgCtx();
    if (ctx->dataChanged == 0)
        return 0;
    uint16_t first = 0;
    auto writeBack = [&](mgDataBuffer* buffer) {
        if (buffer && buffer->changed && buffer->handle == phys->handle) {
            uint16_t error = WriteBackBlock(buffer);
            if (error && !first)
                first = error;
        }
    };
    if (length == kMgWholeFileRange) {
        for (int i = 0; i < ctx->dataBufferCount; ++i)
            writeBack(&ctx->dataBufferArray[i]);
    } else {
        ForEachPiece(position, length, [&](uint32_t block, uint32_t, uint32_t, uint32_t) {
            writeBack(FindDataBlock(phys->handle, block));
            return true;
        });
    }
    return first;
}

void mgDataCacheForget(HANDLE handle)
{
    mgInstanceContext* ctx = mgCtx();
    for (int i = 0; i < ctx->dataBufferCount; ++i) {
        if (ctx->dataBufferArray[i].handle == handle)
            DropDataBlock(&ctx->dataBufferArray[i]);
    }
}
