// Engine instances: registration by name, switching, start and stop.
// Invariants: 1. the registered contexts form one ring; 2. the current-instance pointer is
// null or on the ring; 3. a started instance owns its pools, tables and node buffers until
// it is stopped.
#include "database/mgInstance.h"

#include <cstdlib>
#include <cstring>

#include "database/mgFile.h"
#include "database/mgFileSet.h"
#include "database/mgLock.h"
#include "database/mgDataCache.h"
#include "database/mgNode.h"
#include "database/mgOs.h"
#include "database/mgRuntime.h"

mgInstanceContext* mgCurrentInstance = nullptr;

namespace {

// A node's bytes-used and limit fields are 16 bits wide: 512 sectors (65,536-byte nodes)
// are the most a node header can describe.
constexpr int kMostSectors = 512;
// The node and data buffers are all made at start. More than this is refused at once
// instead of being asked of the system buffer by buffer for minutes, or granted and then
// not there when it is touched.
constexpr long long kMostBufferBytes = 1LL << 30;

mgInstanceContext* FindInstance(const char* name)
{
    mgInstanceContext* start = mgCurrentInstance;
    if (!start)
        return nullptr;
    mgInstanceContext* c = start;
    do {
        if (strcmp(c->name, name) == 0)
            return c;
        c = c->next;
    } while (c != start);
    return nullptr;
}

void FreeSetTables(mgInstanceContext* ctx)
{
    free(ctx->sets);
    free(ctx->memberLists);
    ctx->sets = nullptr;
    ctx->memberLists = nullptr;
    ctx->setTableSize = 0;
}

} // namespace

uint16_t mgRegisterInstance(const char* name)
{
    if (!name)
        name = "";
    char truncated[32];
    mgCopyBounded(truncated, name, sizeof truncated);
    if (FindInstance(truncated))
        return mgSetError(kMgInstanceExists);
    auto* ctx = static_cast<mgInstanceContext*>(calloc(1, sizeof(mgInstanceContext)));
    if (!ctx)
        return mgSetError(kMgNoMemoryContext);
    memcpy(ctx->name, truncated, sizeof truncated);
    if (mgCurrentInstance) {
        ctx->next = mgCurrentInstance->next;
        mgCurrentInstance->next = ctx;
    } else {
        ctx->next = ctx;
    }
    mgCurrentInstance = ctx;
    return 0;
}

uint16_t mgSwitchInstance(const char* name)
{
    if (!mgCurrentInstance)
        return kMgNoInstance;
    mgInstanceContext* found = FindInstance(name ? name : "");
    if (!found)
        return mgSetError(kMgNoSuchInstance);
    mgCurrentInstance = found;
    return 0;
}

const char* mgCurrentInstanceId()
{
    return mgCurrentInstance ? mgCurrentInstance->name : nullptr;
}

mgInstanceContext* mgGetInstanceContext(const char* name)
{
    return name ? FindInstance(name) : nullptr;
}

uint16_t mgUnregisterInstance(const char* name)
{
    if (!mgCurrentInstance)
        return kMgNoInstance;
    mgInstanceContext* found = FindInstance(name ? name : "");
    if (!found)
        return mgSetError(kMgNoSuchInstance);
    mgInstanceContext* prev = found;
    while (prev->next != found)
        prev = prev->next;
    if (prev == found) {
        if (found->next != found)
            mgInternalError(7300);
        mgCurrentInstance = nullptr;
    } else {
        prev->next = found->next;
        if (mgCurrentInstance == found)
            mgCurrentInstance = prev;
    }
    free(found);
    return 0;
}

uint16_t mgSetIsamError(uint16_t code, uint16_t fileNumber)
{
    if (mgInstanceContext* ctx = mgCtx()) {
        ctx->isam_code = code;
        ctx->isam_file = fileNumber;
    }
    return code;
}

uint32_t mgTakeLockFlags()
{
    mgInstanceContext* ctx = mgCtx();
    if (!ctx)
        return 0;
    uint32_t bits = ctx->flags & 0x24;
    ctx->flags &= ~uint32_t(0x24);
    return bits;
}

uint16_t mgFormatVersion()
{
    return kMgFormatVersion;
}

uint16_t mgCheckFormatVersion(uint16_t version)
{
    return version == kMgFormatVersion ? 0 : kMgBadVersion;
}

void mgSetLockWait(int retries, int sleepMs)
{
    if (mgInstanceContext* ctx = mgCtx()) {
        ctx->lockRetries = retries < 0 ? 0 : retries;
        ctx->lockSleepMs = sleepMs < 0 ? 0 : sleepMs;
    }
}

void mgResetSetEntry(int fileNumber)
{
    mgInstanceContext* ctx = mgCtx();
    if (fileNumber < 0 || fileNumber >= ctx->setTableSize)
        return;
    mgSetEntry& entry = ctx->sets[fileNumber];
    free(entry.indexText);
    free(entry.text1);
    free(entry.text2);
    entry = mgSetEntry{};
    entry.dataFile = 65535;
    ctx->memberLists[fileNumber][0] = -1;
}

int mgGrowSetTables(int numbers)
{
    mgInstanceContext* ctx = mgCtx();
    if (numbers <= ctx->setTableSize)
        return 1;
    auto* sets = static_cast<mgSetEntry*>(calloc(size_t(numbers), sizeof(mgSetEntry)));
    auto* lists = static_cast<int16_t(*)[kMgMaxIndexes]>(calloc(size_t(numbers), sizeof(int16_t[kMgMaxIndexes])));
    if (!sets || !lists) {
        free(sets);
        free(lists);
        return 0;
    }
    if (ctx->setTableSize > 0) {
        memcpy(sets, ctx->sets, sizeof(mgSetEntry) * size_t(ctx->setTableSize));
        memcpy(lists, ctx->memberLists, sizeof(int16_t[kMgMaxIndexes]) * size_t(ctx->setTableSize));
    }
    for (int i = ctx->setTableSize; i < numbers; ++i) {
        sets[i].dataFile = 65535;
        lists[i][0] = -1;
    }
    free(ctx->sets);
    free(ctx->memberLists);
    ctx->sets = sets;
    ctx->memberLists = lists;
    ctx->setTableSize = int16_t(numbers);
    return 1;
}

int16_t mgInitIsam(int buffers, int files, int sectors)
{
    return mgInitIsamEx(buffers, files, sectors, buffers, 33, 0, 0, 0);
}

int16_t mgInitIsamEx(int buffers, int files, int sectors, int dataBuffers, int profile, int, int, int)
{
    if (!mgCurrentInstance) {
        if (uint16_t error = mgRegisterInstance(kMgDefaultInstance))
            return int16_t(error);
    }
    mgInstanceContext* ctx = mgCtx();
    ctx->isam_code = 0;
    ctx->uerr_cod = 0;
    auto fail = [ctx](uint16_t code) {
        ctx->uerr_cod = code;
        mgSetIsamError(code, 0);
        return int16_t(code);
    };
    if (ctx->started)
        return fail(kMgAlreadyStarted);
    if (files > 1024)
        return fail(kMgTooManyFiles);
    if (files < 0)
        return fail(kMgBadStartCount);
    if (files > 1021)
        return fail(kMgTooManyFilesLimit);
    if (sectors < 1 || buffers < 1 || sectors > kMostSectors)
        return fail(kMgBadStartCount);
    long long nodeBytes = (long long)sectors * 128;
    long long bufferBytes = (long long)buffers * (nodeBytes + 1028 + 64) + (dataBuffers > 0 ? dataBuffers : 0) * nodeBytes;
    if (bufferBytes > kMostBufferBytes)
        return fail(kMgNoMemoryAtStart);
    if ((profile & 0x800) != 0)
        return fail(kMgBadProfile);

    ctx->fileNumbers = int16_t(files + 3);
    if (!mgGrowSetTables(ctx->fileNumbers)) {
        FreeSetTables(ctx);
        return fail(kMgNoMemoryTables);
    }
    ctx->lockModesEnabled = true;
    ctx->profile = uint16_t(profile);
    ctx->attributeBytes[0] = 2;
    ctx->attributeBytes[1] = 8;
    ctx->attributeBytes[2] = 4;
    ctx->handleLimit = 500;
    ctx->formatVersion = kMgFormatVersion;
    if (mgOsStart() != 0) {
        FreeSetTables(ctx);
        return fail(kMgNoMemoryAtStart);
    }
    ctx->sectors = sectors;
    ctx->nodeSize = sectors * 128;
    // A split holds up to four nodes at once; fewer buffers would hand out a node in use.
    if (buffers < 8)
        buffers = 8;
    ctx->buffers = buffers;
    ctx->dataBuffers = dataBuffers < 0 ? 0 : dataBuffers;
    ctx->memberNameWidth = ctx->nodeSize >= 1024 ? 255 : 128;
    ctx->memberSeparator = '!';
    strcpy(ctx->dataExtension, ".dat");
    strcpy(ctx->indexExtension, ".idx");
    mgSizePools(ctx->nodeSize, ctx->nodeSize, buffers, ctx->dataBuffers);
    mgSetPoolElementSize(kMgPoolControlBlocks, sizeof(mgFileControl));
    ctx->fileSlots = ctx->fileNumbers;
    ctx->files = static_cast<mgFileControl**>(calloc(size_t(ctx->fileSlots), sizeof(mgFileControl*)));
    if (!ctx->files || mgNodeCacheStart(buffers) != 0 || mgDataCacheStart(ctx->dataBuffers) != 0) {
        free(ctx->files);
        ctx->files = nullptr;
        mgNodeCacheStop();
        mgDataCacheStop();
        mgOsStop();
        FreeSetTables(ctx);
        return fail(kMgNoMemoryAtStart);
    }
    for (int i = 0; i < ctx->setTableSize; ++i)
        mgResetSetEntry(i);
    ctx->started = true;
    return 0;
}

int16_t mgStopIsam()
{
    mgInstanceContext* ctx = mgCtx();
    if (!ctx)
        return 0;
    if (!ctx->started) {
        ctx->uerr_cod = 0;
        return 0;
    }
    ctx->stopping = true;
    uint16_t firstError = 0;
    uint16_t firstFile = 0;
    // Sets first (all but hosts, then hosts), then whatever is still open.
    for (int pass = 0; pass < 2; ++pass) {
        for (int n = 0; n < ctx->setTableSize && n < ctx->fileSlots; ++n) {
            mgSetEntry& entry = ctx->sets[n];
            mgFileControl* f = ctx->files[n];
            if (entry.state == 0 || !f || (f->status != 'y' && f->status != 'v'))
                continue;
            if (entry.dataFile != 65535 && entry.dataFile != n)
                continue;
            if ((pass == 0) == mgIsHost(f))
                continue;
            uint16_t error = mgCloseFileSetByNumber(uint16_t(n));
            if (error && !firstError) {
                firstError = error;
                firstFile = uint16_t(n);
            }
        }
    }
    uint16_t closeError = mgCloseAllFiles();
    if (!firstError && closeError && closeError != kMgNotStarted)
        firstError = closeError;
    mgReleaseAllLocks();
    mgNodeCacheStop();
    mgDataCacheStop();
    for (int i = 0; i < kMgPoolCount; ++i)
        mgPoolRelease(i);
    FreeSetTables(ctx);
    mgHeapFreeAndClear(ctx->exprStack);
    mgOsStop();
    free(ctx->files);
    ctx->files = nullptr;
    ctx->fileSlots = 0;
    ctx->highestUsed = 0;
    ctx->lruHead = nullptr;
    ctx->nonPermanentHandles = 0;
    ctx->started = false;
    ctx->stopping = false;
    if (firstError)
        mgSetIsamError(firstError, firstFile);
    if (strcmp(ctx->name, kMgDefaultInstance) == 0)
        mgUnregisterInstance(kMgDefaultInstance);
    return int16_t(firstError);
}
