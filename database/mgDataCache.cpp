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

void DropDataBlock(mgDataBuffer* buffer)
{
    buffer->handle = nullptr;
    buffer->valid = 0;
    mgListUnlink(&buffer->hash);
    mgListMove(&buffer->lru, &mgCtx()->dataLru, true);
}

// The block from the buffers, or read into the buffer at the LRU front; null when the
// read fails.
mgDataBuffer* KeptDataBlock(HANDLE handle, uint32_t block)
{
    mgInstanceContext* ctx = mgCtx();
    if (mgDataBuffer* buffer = FindDataBlock(handle, block)) {
        mgListMove(&buffer->lru, &ctx->dataLru, false);
        return buffer;
    }
    auto* buffer = static_cast<mgDataBuffer*>(ctx->dataLru.next->owner);
    if (buffer->handle)
        DropDataBlock(buffer);
    DWORD done = 0;
    uint32_t size = uint32_t(ctx->nodeSize);
    if (!mgIo().read(handle, uint64_t(block) * size, buffer->bytes, size, &done))
        return nullptr;
    ctx->reads += 1;
    ctx->bytesRead += done;
    buffer->handle = handle;
    buffer->block = block;
    buffer->valid = done;
    mgListMove(&buffer->hash, DataBucketOf(handle, block), true);
    mgListMove(&buffer->lru, &ctx->dataLru, false);
    return buffer;
}

} // namespace

uint16_t mgDataCacheStart(int count)
{
    mgInstanceContext* ctx = mgCtx();
    ctx->dataLru.next = ctx->dataLru.prev = &ctx->dataLru;
    ctx->dataLru.owner = nullptr;
    ctx->dataBufferCount = 0;
    if (count <= 0)
        return 0;
    ctx->dataBucketCount = (count + 3) / 4;
    ctx->dataBuckets = static_cast<mgRing*>(mgCalloc(size_t(ctx->dataBucketCount), sizeof(mgRing)));
    ctx->dataBufferArray = static_cast<mgDataBuffer*>(mgCalloc(size_t(count), sizeof(mgDataBuffer)));
    if (!ctx->dataBuckets || !ctx->dataBufferArray)
        return kMgNoMemoryAtStart;
    for (int i = 0; i < ctx->dataBucketCount; ++i) {
        ctx->dataBuckets[i].next = ctx->dataBuckets[i].prev = &ctx->dataBuckets[i];
        ctx->dataBuckets[i].owner = nullptr;
    }
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
    ctx->dataLru.next = ctx->dataLru.prev = nullptr;
}

bool mgDataCacheServes(mgFileControl* f, mgFileControl* phys)
{
    return mgCtx()->dataBufferCount > 0 && !mgIsIndex(f) && !mgIsShared(phys) &&
           !(phys->flags & kMgLockedTransfers);
}

mgDataRead mgDataCacheRead(HANDLE handle, uint32_t position, void* buffer, uint32_t length)
{
    uint32_t size = uint32_t(mgCtx()->nodeSize);
    auto* out = static_cast<uint8_t*>(buffer);
    uint64_t at = position;
    uint64_t end = uint64_t(position) + length;
    while (at < end) {
        uint32_t block = uint32_t(at / size);
        uint32_t offset = uint32_t(at % size);
        uint32_t take = uint32_t(end - at < size - offset ? end - at : size - offset);
        mgDataBuffer* kept = KeptDataBlock(handle, block);
        if (!kept)
            return kMgDataReadFailed;
        if (offset + take > kept->valid)
            return kMgDataNotKept;
        memcpy(out, kept->bytes + offset, take);
        out += take;
        at += take;
    }
    return kMgDataKept;
}

void mgDataCacheWritten(HANDLE handle, uint32_t position, const void* buffer, uint32_t length, bool whole)
{
    mgInstanceContext* ctx = mgCtx();
    if (ctx->dataBufferCount == 0 || length == 0)
        return;
    uint32_t size = uint32_t(ctx->nodeSize);
    auto* in = static_cast<const uint8_t*>(buffer);
    uint64_t at = position;
    uint64_t end = uint64_t(position) + length;
    while (at < end) {
        uint32_t block = uint32_t(at / size);
        uint32_t offset = uint32_t(at % size);
        uint32_t take = uint32_t(end - at < size - offset ? end - at : size - offset);
        if (mgDataBuffer* kept = FindDataBlock(handle, block)) {
            // Bytes between the block's end and the write would be the disk's to say.
            if (!whole || offset > kept->valid) {
                DropDataBlock(kept);
            } else {
                memcpy(kept->bytes + offset, in, take);
                if (offset + take > kept->valid)
                    kept->valid = offset + take;
            }
        }
        in += take;
        at += take;
    }
}

void mgDataCacheForget(HANDLE handle)
{
    mgInstanceContext* ctx = mgCtx();
    for (int i = 0; i < ctx->dataBufferCount; ++i) {
        if (ctx->dataBufferArray[i].handle == handle)
            DropDataBlock(&ctx->dataBufferArray[i]);
    }
}
