// Closing and flushing file sets, and the set-wide close or delete of a data file's indexes.
#include "database/mgFileSet.h"

#include "database/mgDataCache.h"
#include "database/mgFile.h"
#include "database/mgInstance.h"
#include "database/mgNode.h"
#include "database/mgOs.h"
#include "database/mgRuntime.h"

uint16_t mgCloseFileSetMembers(uint16_t dataFile, int mode)
{
    mgInstanceContext* ctx = mgCtx();
    if (dataFile >= ctx->setTableSize)
        return mgSetIsamError(mgSetError(kMgBadFileNumber), dataFile);
    int16_t* list = ctx->memberLists[dataFile];
    if (mode == 0) {
        for (int i = 0; i < kMgMaxIndexes && list[i] != -1; ++i) {
            mgFileControl* f = list[i] >= 0 ? mgCheckFile(list[i]) : nullptr;
            if (f && (f->mode & (kMgModeShared | kMgModeReadOnly)))
                return mgSetIsamError(mgSetError(kMgSharedInSet), uint16_t(list[i]));
        }
    }
    uint16_t first = 0;
    uint16_t firstFile = 0;
    for (int i = 0; i < kMgMaxIndexes && list[i] != -1; ++i) {
        int number = list[i];
        if (number == kMgSkippedIndex || number < 0)
            continue;
        mgFileControl* f = number < ctx->fileSlots ? ctx->files[number] : nullptr;
        uint16_t error = 0;
        if (f && (f->status == 'y' || f->status == 'v') && mgH16(f, kHdrMemberNumber) == 0)
            error = mode == 0 ? mgDeleteFile(number) : mgCloseFile(number, 0);
        mgResetSetEntry(number);
        if (error && !first) {
            first = error;
            firstFile = uint16_t(number);
        }
    }
    list[0] = -1;
    if (first)
        mgSetIsamError(first, firstFile);
    return first;
}

uint16_t mgCloseFileSetByNumber(uint16_t dataFile)
{
    mgInstanceContext* ctx = mgCtx();
    if (!ctx)
        return kMgNoInstance;
    ctx->isam_code = 0;
    if (!mgCheckFile(dataFile))
        return mgSetIsamError(ctx->uerr_cod, dataFile);
    uint16_t first = mgCloseFileSetMembers(dataFile, 1);
    uint16_t error = mgCloseFile(dataFile, 0);
    mgResetSetEntry(dataFile);
    if (!first && error) {
        first = error;
        mgSetIsamError(error, dataFile);
    }
    return first;
}

uint16_t mgCloseFileSet(mgFileDef* definition)
{
    if (!definition)
        return mgSetError(kMgBadDefinition);
    uint16_t error = mgCloseFileSetByNumber(uint16_t(definition->setFileNumber));
    if (!error)
        definition->setFileNumber = int16_t(65535);
    return error;
}

int32_t mgCountSetFiles(uint16_t dataFile)
{
    mgInstanceContext* ctx = mgCtx();
    mgFileControl* data = mgCheckFile(dataFile);
    if (!data)
        return -int32_t(mgSetIsamError(ctx->uerr_cod, dataFile));
    int32_t count = 1;
    int16_t* list = ctx->memberLists[dataFile];
    for (int i = 0; i < kMgMaxIndexes && list[i] != -1; ++i) {
        if (list[i] < 0)
            continue;
        mgFileControl* f = mgCheckFile(list[i]);
        if (!f)
            return -int32_t(mgSetIsamError(ctx->uerr_cod, uint16_t(list[i])));
        if (f->mode & (kMgModeShared | kMgModeReadOnly))
            return kMgSharedInSet;
        count += 1;
    }
    return count;
}

static uint16_t FlushOne(mgFileControl* f)
{
    uint16_t first = 0;
    if (!mgIsIndex(f))
        first = mgDataCacheWriteBack(mgPhysicalFile(f), 0, kMgWholeFileRange);
    if (!mgIsFixed(f)) {
        uint16_t error = mgWriteFileNodes(f, false);
        if (error && !first)
            first = error;
    }
    uint16_t error = mgsave(f);
    return first ? first : error;
}

uint16_t mgFlushFile(uint16_t fileNumber)
{
    mgInstanceContext* ctx = mgCtx();
    if (!ctx)
        return kMgNoInstance;
    if (fileNumber == 65535) {
        uint16_t first = 0;
        for (int n = 0; n < ctx->highestUsed && n < ctx->fileSlots; ++n) {
            mgFileControl* f = ctx->files[n];
            if (!f || (f->status != 'y' && f->status != 'v') || mgIsMember(f) || mgIsHost(f) ||
                mgH16(f, kHdrMemberNumber) > 0)
                continue;
            uint16_t error = FlushOne(f);
            if (error && !first)
                first = error;
        }
        if (first)
            return mgSetError(first);
        ctx->uerr_cod = 0;
        return 0;
    }
    mgFileControl* f = mgCheckFile(fileNumber);
    if (!f)
        return ctx->uerr_cod;
    if (mgIsMember(f))
        return mgSetError(kMgWrongFileKind);
    if (mgH16(f, kHdrMemberNumber) > 0)
        return mgSetError(kMgBadMemberCount);
    uint16_t error = FlushOne(f);
    if (error)
        return mgSetError(error);
    ctx->uerr_cod = 0;
    return 0;
}
