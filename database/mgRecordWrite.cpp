// Record writes: add, rewrite and delete of fixed- and variable-length records with every
// index of the set kept in step, and the undo that leaves the set as it was when a step in
// the middle fails.
// A record whose first byte is 0xFF (or that begins 0xFE 0xFE) would read as deleted (or
// as a resource) and could never be found again: such a record is refused (116).
#include "database/mgRecord.h"

#include <cstring>

#include "database/mgFile.h"
#include "database/mgFileSet.h"
#include "database/mgInstance.h"
#include "database/mgKey.h"
#include "database/mgLock.h"
#include "database/mgNode.h"
#include "database/mgOs.h"
#include "database/mgRuntime.h"
#include "database/mgSpace.h"

namespace {

enum Change : uint8_t { kNone = 0, kAdded = 1, kDeleted = 2, kReplaced = 4 };

mgFileControl* IndexAt(int number)
{
    return mgCtx()->files[number];
}

uint8_t* CurrentImage(mgFileControl* index)
{
    return index->keyImages + mgKeyLength(index);
}

uint8_t* SavedImage(mgFileControl* index)
{
    return index->keyImages + 2 * mgKeyLength(index);
}

int16_t WriteAnswer(uint16_t code, uint16_t file)
{
    return int16_t(mgSetIsamError(code, file));
}

bool LooksUnwritable(const void* record)
{
    const uint8_t* bytes = static_cast<const uint8_t*>(record);
    return bytes[0] == kMgDeletedMark || (bytes[0] == 0xFE && bytes[1] == 0xFE);
}

void WriteSerial(mgFileControl* data, void* record)
{
    if (!data->serialOffset)
        return;
    uint8_t bytes[4];
    mgPut32(bytes, mgCtx()->lastSerial);
    uint16_t length = data->serialLength < 4 ? data->serialLength : 4;
    uint32_t offset = data->serialOffset - 1u;
    if (offset + length <= mgRecordLength(data))
        memcpy(static_cast<uint8_t*>(record) + offset, bytes, length);
}

// Gives back the space of a record whose add failed.
void FreeNewRecord(mgFileControl* data, uint32_t position)
{
    mgInstanceContext* ctx = mgCtx();
    uint16_t keep = ctx->uerr_cod;
    if (mgIsFixed(data))
        mgFreeRecord(data, position, 1);
    else
        mgFreeSpace(data, -1, position);
    ctx->uerr_cod = keep;
}

// Enters the record's keys into every index; on failure removes those entered (undo of an
// add) and answers the error, its file in isam_file.
uint16_t AddKeys(mgFileControl* data, const uint8_t* record, uint32_t position, uint32_t length)
{
    mgInstanceContext* ctx = mgCtx();
    int16_t* list = mgMemberList(data->fileNumber);
    int added[kMgMaxIndexes];
    int count = 0;
    uint16_t error = 0;
    uint16_t errorFile = data->fileNumber;
    for (int k = 0; k < kMgMaxIndexes && list[k] != -1; ++k) {
        int number = list[k];
        if (number == kMgSkippedIndex)
            continue;
        mgFileControl* index = IndexAt(number);
        ctx->isam_code = 0;
        int16_t built = mgBuildKey(int16_t(number), record, SavedImage(index), position, length);
        if (built == 0) {
            if (ctx->isam_code) {
                error = ctx->isam_code;
                errorFile = uint16_t(number);
                break;
            }
            index->savedKeyValid = false;
            continue;
        }
        index->savedKeyValid = true;
        if (uint16_t e = mgAddKey(number, SavedImage(index), position, 0)) {
            error = e;
            errorFile = uint16_t(number);
            break;
        }
        added[count++] = number;
    }
    if (!error) {
        data->savedPosition = position;
        mgSaveRestorePosition(data->fileNumber, 2);
        return 0;
    }
    uint16_t result = error;
    for (int i = count - 1; i >= 0; --i) {
        mgFileControl* index = IndexAt(added[i]);
        if (mgDeleteKey(added[i], SavedImage(index), position) != 0)
            result = kMgKeyNotRestored;
    }
    FreeNewRecord(data, position);
    mgSetIsamError(result, errorFile);
    return result;
}

// Undoes the key changes of a rewrite in the indexes 0..last of the member list, last
// first; false when a key could not be restored.
bool UndoKeyChanges(const int16_t* list, int last, uint32_t newPosition, uint32_t oldPosition, const uint8_t* changes)
{
    bool whole = true;
    for (int j = last; j >= 0; --j) {
        if (list[j] < 0 || changes[j] == kNone)
            continue;
        mgFileControl* index = IndexAt(list[j]);
        bool restored = true;
        if (changes[j] & kReplaced) {
            restored = mgAddKey(list[j], CurrentImage(index), oldPosition, 0x40) == 0;
        } else {
            if (changes[j] & kDeleted)
                restored = mgAddKey(list[j], CurrentImage(index), oldPosition, 0) == 0;
            if (changes[j] & kAdded)
                restored = mgDeleteKey(list[j], SavedImage(index), newPosition) == 0 && restored;
        }
        whole = whole && restored;
    }
    return whole;
}

uint16_t RewriteKeys(mgFileControl* data, const uint8_t* record, uint32_t newPosition, uint32_t oldPosition,
                     uint32_t length, uint8_t* changes)
{
    mgInstanceContext* ctx = mgCtx();
    int16_t* list = mgMemberList(data->fileNumber);
    uint16_t error = 0;
    uint16_t errorFile = data->fileNumber;
    int k = 0;
    for (; k < kMgMaxIndexes && list[k] != -1; ++k) {
        changes[k] = kNone;
        int number = list[k];
        if (number == kMgSkippedIndex)
            continue;
        mgFileControl* index = IndexAt(number);
        int keyLength = mgKeyLength(index);
        uint8_t* current = CurrentImage(index);
        uint8_t* fresh = SavedImage(index);
        ctx->isam_code = 0;
        bool freshValid = mgBuildKey(int16_t(number), record, fresh, newPosition, length) != 0;
        if (!freshValid && ctx->isam_code) {
            error = ctx->isam_code;
            errorFile = uint16_t(number);
            break;
        }
        index->savedKeyValid = freshValid;
        bool currentValid = index->currentKeyValid;
        bool equal = freshValid && currentValid && memcmp(current, fresh, size_t(keyLength)) == 0;
        if (newPosition == oldPosition && (equal || (!freshValid && !currentValid)))
            continue;
        if (newPosition != oldPosition && !index->header[kHdrDuplicates] && equal) {
            if ((error = mgAddKey(number, fresh, newPosition, 0x40)) != 0) {
                errorFile = uint16_t(number);
                break;
            }
            changes[k] = kReplaced;
            continue;
        }
        if (freshValid) {
            if ((error = mgAddKey(number, fresh, newPosition, 0)) != 0) {
                errorFile = uint16_t(number);
                break;
            }
            changes[k] |= kAdded;
        }
        if (currentValid) {
            if ((error = mgDeleteKey(number, current, oldPosition)) != 0) {
                errorFile = uint16_t(number);
                break;
            }
            changes[k] |= kDeleted;
        }
    }
    if (!error)
        return 0;
    if (!UndoKeyChanges(list, k, newPosition, oldPosition, changes))
        error = kMgKeyNotRestored;
    mgSetIsamError(error, errorFile);
    return error;
}

// Undoes a finished rewrite of the keys (the record write after it failed).
uint16_t UndoRewrite(mgFileControl* data, uint32_t newPosition, uint32_t oldPosition, const uint8_t* changes)
{
    int16_t* list = mgMemberList(data->fileNumber);
    int count = 0;
    while (count < kMgMaxIndexes && list[count] != -1)
        ++count;
    return UndoKeyChanges(list, count - 1, newPosition, oldPosition, changes) ? 0 : kMgKeyNotRestored;
}

uint16_t DeleteKeys(mgFileControl* data, uint32_t position, int* deleted, int* count)
{
    int16_t* list = mgMemberList(data->fileNumber);
    *count = 0;
    for (int k = 0; k < kMgMaxIndexes && list[k] != -1; ++k) {
        int number = list[k];
        if (number == kMgSkippedIndex)
            continue;
        mgFileControl* index = IndexAt(number);
        if (!index->currentKeyValid)
            continue;
        if (uint16_t error = mgDeleteKey(number, CurrentImage(index), position)) {
            for (int i = *count - 1; i >= 0; --i) {
                mgFileControl* restored = IndexAt(deleted[i]);
                if (mgAddKey(deleted[i], CurrentImage(restored), position, 0) != 0)
                    error = kMgKeyNotRestored;
            }
            mgSetIsamError(error, uint16_t(number));
            return error;
        }
        deleted[(*count)++] = number;
    }
    return 0;
}

// The current record of a data file of the kind asked, locked as the lock mode asks.
uint32_t CurrentOf(uint16_t dataFile, bool variable, mgFileControl** out)
{
    mgInstanceContext* ctx = mgCtx();
    ctx->isam_code = 0;
    mgFileControl* data = mgCheckFile(dataFile);
    if (!data) {
        mgSetIsamError(ctx->uerr_cod ? ctx->uerr_cod : kMgNoMemoryControl, dataFile);
        return 0;
    }
    *out = data;
    if (variable ? !mgIsVariable(data) : !mgIsFixed(data)) {
        mgSetIsamError(kMgWrongFileKind, dataFile);
        return 0;
    }
    if (data->currentPosition == 0) {
        mgSetIsamError(kMgNoCurrentRecord, dataFile);
        return 0;
    }
    if (mgLockCurrentRecord(data->currentPosition, dataFile) != 0)
        return 0;
    return data->currentPosition;
}

int16_t AddRecord(uint16_t dataFile, void* record, int32_t length, bool variable)
{
    mgInstanceContext* ctx = mgCtx();
    if (!ctx)
        return int16_t(kMgNoInstance);
    ctx->isam_code = 0;
    ctx->uerr_cod = 0;
    mgFileControl* data = mgCheckFile(dataFile);
    if (!data)
        return WriteAnswer(ctx->uerr_cod, dataFile);
    if (variable ? !mgIsVariable(data) : !mgIsFixed(data))
        return WriteAnswer(kMgWrongFileKind, dataFile);
    if (!record)
        return WriteAnswer(kMgNoBuffer, dataFile);
    if (variable && length < int32_t(mgRecordLength(data)))
        return WriteAnswer(kMgVariableTooShort, dataFile);
    if (!variable)
        length = mgRecordLength(data);
    if (length < 2 || (!variable && LooksUnwritable(record)))
        return WriteAnswer(kMgBadMode, dataFile);
    uint32_t position = variable ? mgNewVariableRecord(data, uint32_t(length)) : mgNewRecordPosition(data);
    if (position == 0)
        return WriteAnswer(ctx->uerr_cod ? ctx->uerr_cod : kMgFileTooLarge, dataFile);
    WriteSerial(data, record);
    ctx->justAdded = 1;
    if (uint16_t error = mgLockCurrentRecord(position, dataFile)) {
        FreeNewRecord(data, position);
        return WriteAnswer(error, dataFile);
    }
    uint16_t error = variable ? mgWriteVariableRecord(data, position, record, uint32_t(length), false)
                              : mgWriteRecordAt(data, position, record);
    if (error) {
        error = ctx->uerr_cod ? ctx->uerr_cod : error;
        FreeNewRecord(data, position);
        return WriteAnswer(error, dataFile);
    }
    if (uint16_t e = AddKeys(data, static_cast<const uint8_t*>(record), position, uint32_t(length)))
        return int16_t(e);
    if (ctx->flags & kMgReleaseAfterAdd)
        return WriteAnswer(mgLockRecord(dataFile, kMgLockRelease, position), dataFile);
    return WriteAnswer(0, dataFile);
}

int16_t DeleteRecord(uint16_t dataFile, bool variable)
{
    mgInstanceContext* ctx = mgCtx();
    if (!ctx)
        return int16_t(kMgNoInstance);
    mgFileControl* data = nullptr;
    uint32_t position = CurrentOf(dataFile, variable, &data);
    if (position == 0)
        return int16_t(ctx->isam_code);
    int deleted[kMgMaxIndexes];
    int count = 0;
    if (uint16_t error = DeleteKeys(data, position, deleted, &count))
        return int16_t(error);
    uint16_t error = variable ? mgFreeSpace(data, -1, position) : mgFreeRecord(data, position, 1);
    if (error) {
        uint16_t result = ctx->uerr_cod ? ctx->uerr_cod : error;
        for (int i = count - 1; i >= 0; --i) {
            mgFileControl* index = IndexAt(deleted[i]);
            if (mgAddKey(deleted[i], CurrentImage(index), position, 0) != 0)
                result = kMgKeyNotRestored;
        }
        return WriteAnswer(result, dataFile);
    }
    return WriteAnswer(0, dataFile);
}

} // namespace

int16_t mgAddRecord(uint16_t dataFile, void* record)
{
    return AddRecord(dataFile, record, 0, false);
}

int16_t mgAddVariableRecord(uint16_t dataFile, void* record, int32_t length)
{
    return AddRecord(dataFile, record, length, true);
}

int16_t mgRewriteRecord(uint16_t dataFile, const void* record)
{
    mgInstanceContext* ctx = mgCtx();
    if (!ctx)
        return int16_t(kMgNoInstance);
    mgFileControl* data = nullptr;
    uint32_t position = CurrentOf(dataFile, false, &data);
    if (position == 0)
        return int16_t(ctx->isam_code);
    if (!record)
        return WriteAnswer(kMgNoBuffer, dataFile);
    if (LooksUnwritable(record))
        return WriteAnswer(kMgBadMode, dataFile);
    ctx->isam_code = 0;
    uint8_t changes[kMgMaxIndexes] = {};
    const uint8_t* bytes = static_cast<const uint8_t*>(record);
    if (uint16_t error = RewriteKeys(data, bytes, position, position, mgRecordLength(data), changes))
        return int16_t(error);
    if (uint16_t error = mgWriteRecordAt(data, position, record)) {
        uint16_t result = ctx->uerr_cod ? ctx->uerr_cod : error;
        if (UndoRewrite(data, position, position, changes) != 0)
            result = kMgKeyNotRestored;
        return WriteAnswer(result, dataFile);
    }
    data->savedPosition = position;
    mgSaveRestorePosition(dataFile, 2);
    if (ctx->flags & kMgReleaseAfterRewrite)
        return WriteAnswer(mgLockRecord(dataFile, kMgLockRelease, position), dataFile);
    return WriteAnswer(0, dataFile);
}

int16_t mgRewriteVariableRecord(uint16_t dataFile, const void* record, int32_t length)
{
    mgInstanceContext* ctx = mgCtx();
    if (!ctx)
        return int16_t(kMgNoInstance);
    mgFileControl* data = nullptr;
    uint32_t position = CurrentOf(dataFile, true, &data);
    if (position == 0)
        return int16_t(ctx->isam_code);
    if (data->mode & kMgModeReadOnly)
        return WriteAnswer(kMgReadOnly, dataFile);
    if (!record)
        return WriteAnswer(kMgNoBuffer, dataFile);
    if (length < int32_t(mgRecordLength(data)))
        return WriteAnswer(kMgVariableTooShort, dataFile);
    if (length < 2)
        return WriteAnswer(kMgBadMode, dataFile);
    mgFileControl* space = mgSpaceFile(data);
    mgVarHeader piece;
    if (uint16_t error = mgReadVarHeader(data, position, &piece))
        return WriteAnswer(error, dataFile);
    uint32_t offset = mgDataOffset(data);
    uint32_t newPosition = position;
    bool member = mgIsMember(data);
    if (uint64_t(piece.allocated) < uint64_t(length) + offset) {
        if ((data->mode & kMgModeLockedWrites) && mgIsShared(data)) {
            if (uint16_t error = mgLockRecord(dataFile, kMgLockWriteWait, position))
                return WriteAnswer(error, dataFile);
        }
        uint64_t wanted = uint64_t(length) + offset;
        if (wanted < uint64_t(piece.allocated) + 64)
            wanted = uint64_t(piece.allocated) + 64;
        bool done = false;
        uint32_t header = mgHeaderPosition(space);
        if (!member && mgLockHeader(header, space, true) == 0) {
            mgRefreshHeader(space);
            uint64_t end = uint64_t(position) + piece.allocated - 1;
            uint64_t grown = uint64_t(position) + wanted - 1;
            if (end == mgH32(space, kHdrLogicalEnd) && grown <= mgH32(space, kHdrPhysicalEnd)) {
                // The last piece of the file grows in place.
                mgSetH32(space, kHdrLogicalEnd, uint32_t(grown));
                uint16_t error = mgWriteHeader(space);
                if (!error) {
                    piece.allocated = uint32_t(wanted);
                    error = mgWriteVarHeader(data, position, piece);
                }
                if (error) {
                    mgUnlockHeader(header, space);
                    return WriteAnswer(error, dataFile);
                }
                done = true;
            }
            mgUnlockHeader(header, space);
        }
        if (!done && !member) {
            uint32_t next = position + piece.allocated;
            mgVarHeader after;
            if (next <= mgH32(space, kHdrLogicalEnd) && mgReadVarHeader(space, next, &after) == 0 &&
                after.mark == kMgPieceFree && uint64_t(piece.allocated) + after.allocated >= uint64_t(length) + offset &&
                uint64_t(next) + after.allocated - 1 <= mgH32(space, kHdrLogicalEnd)) {
                uint8_t key[12];
                mgPut32BE(key, after.memberId);
                mgPut32BE(key + 4, after.allocated);
                mgPut32BE(key + 8, next);
                if (fndkey(space, key, 'E', nullptr) == next) {
                    if (mgDeleteKeyFrom(space, key, next) != 0)
                        return WriteAnswer(kMgSpaceIndexFailed, dataFile);
                    piece.allocated += after.allocated;
                    if (uint16_t error = mgWriteVarHeader(data, position, piece))
                        return WriteAnswer(error, dataFile);
                    done = true;
                }
            }
        }
        if (!done) {
            newPosition = mgAllocSpace(data, dataFile, uint32_t(length), 0, 1, true, false);
            if (newPosition == 0)
                return WriteAnswer(ctx->uerr_cod ? ctx->uerr_cod : kMgFileTooLarge, dataFile);
            ctx->justAdded = 1;
            if (uint16_t error = mgLockCurrentRecord(newPosition, dataFile)) {
                mgFreeSpace(data, -1, newPosition);
                return WriteAnswer(error, dataFile);
            }
        }
    }
    ctx->isam_code = 0;
    uint8_t changes[kMgMaxIndexes] = {};
    const uint8_t* bytes = static_cast<const uint8_t*>(record);
    if (uint16_t error = RewriteKeys(data, bytes, newPosition, position, uint32_t(length), changes)) {
        if (newPosition != position)
            mgFreeSpace(data, -1, newPosition);
        return int16_t(error);
    }
    if (uint16_t error = mgWriteVariableRecord(data, newPosition, record, uint32_t(length), false)) {
        uint16_t result = ctx->uerr_cod ? ctx->uerr_cod : error;
        if (UndoRewrite(data, newPosition, position, changes) != 0)
            result = kMgKeyNotRestored;
        if (newPosition != position)
            mgFreeSpace(data, -1, newPosition);
        return WriteAnswer(result, dataFile);
    }
    data->savedPosition = newPosition;
    mgSaveRestorePosition(dataFile, 2);
    if (newPosition == position) {
        if (ctx->flags & kMgReleaseAfterRewrite)
            return WriteAnswer(mgLockRecord(dataFile, kMgLockRelease, position), dataFile);
        return WriteAnswer(0, dataFile);
    }
    uint16_t error = mgFreeSpace(data, -1, position);
    if (!error && (ctx->flags & kMgReleaseAfterRewrite))
        error = mgLockRecord(dataFile, kMgLockRelease, newPosition);
    return WriteAnswer(error, dataFile);
}

int16_t mgDeleteRecord(uint16_t dataFile)
{
    return DeleteRecord(dataFile, false);
}

int16_t mgDeleteVariableRecord(uint16_t dataFile)
{
    return DeleteRecord(dataFile, true);
}
