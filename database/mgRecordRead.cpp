// Record reads: keyed reads in five modes, steps in key or physical order, the first and
// last record, reads at a position, and the current record they make. A read through an
// index checks that the record still carries the key that found it and tries again (10
// times) when another program changed it in between.
// Physical scans are bounded by the file's size and check every piece and resource length
// they step over, so a damaged file ends a scan with an error, never in a loop.
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

constexpr int kAttempts = 10;

mgFileControl* DataOf(mgFileControl* index)
{
    mgInstanceContext* ctx = mgCtx();
    uint16_t data = ctx->sets[index->fileNumber].dataFile;
    if (data == 65535 || data >= ctx->fileSlots)
        return nullptr;
    mgFileControl* f = ctx->files[data];
    return (f && (f->status == 'y' || f->status == 'v')) ? f : nullptr;
}

int16_t Answer(uint16_t code, uint16_t file)
{
    return int16_t(mgSetIsamError(code, file));
}

uint8_t* Image(mgFileControl* index, int which)
{
    return index->keyImages + which * mgKeyLength(index);
}

uint16_t MakeCurrent(mgFileControl* data, uint32_t position, const uint8_t* record, uint32_t length)
{
    mgInstanceContext* ctx = mgCtx();
    uint16_t result = 0;
    int16_t* list = mgMemberList(data->fileNumber);
    for (int k = 0; k < kMgMaxIndexes && list[k] != -1; ++k) {
        int number = list[k];
        if (number == kMgSkippedIndex)
            continue;
        mgFileControl* index = ctx->files[number];
        ctx->isam_code = 0;
        if (!mgSetKeyImage(int16_t(number), record, position, 0, length) && ctx->isam_code && !result)
            result = ctx->isam_code;
        memcpy(Image(index, 0), Image(index, 1), size_t(mgKeyLength(index)));
    }
    data->currentPosition = position;
    ctx->isam_code = result;
    return result;
}

// Reads the record at a position and checks it is active and, through an index, that it
// still carries the key that found it (160 otherwise).
uint16_t ReadVerify(mgFileControl* data, int pathIndex, uint32_t position, void* buffer)
{
    mgInstanceContext* ctx = mgCtx();
    ctx->readThrough = 0;
    uint32_t got = mgRecordLength(data);
    bool whole = true;
    if (mgIsFixed(data)) {
        if (mgIsMember(data)) {
            mgVarHeader piece;
            if (uint16_t error = mgReadVarHeader(data, position, &piece))
                return error;
            if (piece.mark != kMgPieceInUse || piece.allocated < got + mgDataOffset(data))
                return kMgRecordChanged;
        } else if (position < mgFirstRecordPosition(data) ||
                   (position - mgFirstRecordPosition(data)) % mgRecordLength(data) != 0) {
            return kMgRecordChanged;
        }
        if (uint16_t error = mgReadRecordBytes(data, position, buffer))
            return error;
        const uint8_t* bytes = static_cast<const uint8_t*>(buffer);
        if (bytes[0] == kMgDeletedMark || (bytes[0] == 0xFE && bytes[1] == 0xFE))
            return kMgRecordChanged;
    } else {
        uint32_t total = 0;
        if (uint16_t error = mgReadVariableRecordAt(data, position, buffer, long(got), false, &total))
            return error;
        whole = total <= got;
        if (total < got)
            got = total;
    }
    if (pathIndex >= 0) {
        mgFileControl* index = ctx->files[pathIndex];
        uint8_t key[kMgMaxKeyLength + 8];
        ctx->isam_code = 0;
        int16_t built = mgBuildKey(int16_t(pathIndex), static_cast<const uint8_t*>(buffer), key, position, got);
        int keyLength = mgKeyLength(index);
        if (built == 0 || memcmp(key, ctx->keyScratch, size_t(keyLength)) != 0) {
            if (ctx->sets[pathIndex].positionCheck != 1 || whole)
                return kMgRecordChanged;
            ctx->readThrough = int16_t(pathIndex + 1);
        }
    }
    return MakeCurrent(data, position, static_cast<const uint8_t*>(buffer), got);
}

// A record position read from an index must name a record of its data: inside the file,
// on a record's start for fixed records, on the header of a piece of that data for the
// others. Anything else is a damaged index (527), answered before the position is locked
// or read, so that no record goes missing while the walk answers 0; a free piece is a
// record deleted meanwhile (160: the read is tried again).
uint16_t CheckIndexedPosition(mgFileControl* data, uint16_t indexFile, uint32_t position)
{
    mgFileControl* space = mgSpaceFile(data);
    bool fixed = mgIsFixed(data) && !mgIsMember(data);
    uint32_t length = fixed ? mgRecordLength(data) : uint32_t(mgPieceHeaderSize(space));
    uint64_t last = uint64_t(position) + length - 1;
    if (last > mgH32(space, kHdrLogicalEnd) && mgIsShared(space))
        mgRefreshHeader(space);
    bool sound = position != 0 && last <= mgH32(space, kHdrLogicalEnd);
    if (sound && fixed) {
        uint32_t first = mgFirstRecordPosition(data);
        sound = position >= first && (position - first) % length == 0;
    } else if (sound) {
        mgVarHeader piece;
        if (uint16_t error = mgReadVarHeader(data, position, &piece))
            return error;
        if (piece.mark == kMgPieceFree || piece.mark == kMgPieceFreeInHost)
            return kMgRecordChanged;
        sound = piece.mark == kMgPieceInUse && (!mgIsMember(data) || piece.memberId == mgH32(data, kHdrMemberId));
    }
    if (sound)
        return 0;
    mgFileControl* index = mgCtx()->files[indexFile];
    mgFileControl* phys = mgPhysicalFile(index);
    mgStatusLogFile("Index entry names no record of its data...", phys ? phys->name : "", kMgCorruptIndex);
    return mgSetError(kMgCorruptIndex);
}

using SearchByNumber = uint32_t (*)(int, const uint8_t*, uint8_t*);

int16_t KeyedRead(uint16_t indexFile, const void* target, void* record, char mode)
{
    mgInstanceContext* ctx = mgCtx();
    if (!ctx)
        return int16_t(kMgNoInstance);
    ctx->uerr_cod = 0;
    ctx->isam_code = 0;
    uint32_t bits = ctx->flags & 0x24;
    mgFileControl* index = mgCheckFile(indexFile);
    if (!index) {
        mgTakeLockFlags();
        return Answer(ctx->uerr_cod, indexFile);
    }
    mgFileControl* data = mgIsIndex(index) ? DataOf(index) : nullptr;
    if (!data) {
        mgTakeLockFlags();
        return Answer(mgIsIndex(index) ? kMgBadKeyRequest : kMgWrongFileKind, indexFile);
    }
    if (!target || !record) {
        mgTakeLockFlags();
        return Answer(kMgNoBuffer, indexFile);
    }
    int keyLength = mgKeyLength(index);
    uint8_t key[kMgMaxKeyLength + 8];
    memcpy(key, target, size_t(keyLength));
    if (!(ctx->profile & 1) && !mgPrepareTargetKey(int16_t(indexFile), key)) {
        mgTakeLockFlags();
        return int16_t(ctx->isam_code);
    }
    if (mode == 'E')
        memcpy(ctx->keyScratch, key, size_t(keyLength));
    SearchByNumber search = mode == 'G'   ? mgGreaterOrEqualKeyByNumber
                            : mode == 'H' ? mgGreaterKeyByNumber
                            : mode == 'M' ? mgLessOrEqualKeyByNumber
                                          : mgLessKeyByNumber;
    uint16_t result = kMgRecordChanged;
    for (int attempt = 0; attempt < kAttempts && result == kMgRecordChanged; ++attempt) {
        ctx->flags |= bits;
        uint32_t position =
            mode == 'E' ? mgEqualKeyByNumber(indexFile, key, nullptr) : search(indexFile, key, ctx->keyScratch);
        if (position == 0) {
            uint16_t error = ctx->uerr_cod ? ctx->uerr_cod : kMgNoRecord;
            mgTakeLockFlags();
            return Answer(error, indexFile);
        }
        result = CheckIndexedPosition(data, indexFile, position);
        if (result == kMgRecordChanged)
            continue;
        if (result) {
            mgTakeLockFlags();
            return Answer(result, indexFile);
        }
        if (uint16_t error = mgLockCurrentRecord(position, data->fileNumber))
            return int16_t(error);
        result = ReadVerify(data, indexFile, position, record);
    }
    return Answer(result, result ? data->fileNumber : indexFile);
}

// Finds the next active record from a position in a direction (1 forward, 2 backward);
// its position, or 0 with the error in *error.
uint32_t PhysicalScan(mgFileControl* data, uint32_t position, int direction, uint16_t* error)
{
    *error = 0;
    if (position == 0) {
        *error = kMgScanPositionZero;
        return 0;
    }
    mgFileControl* space = mgSpaceFile(data);
    if (mgIsShared(space))
        mgRefreshHeader(space);
    uint32_t end = mgH32(space, kHdrLogicalEnd);
    bool member = mgIsMember(data);
    if (member || mgIsVariable(data)) {
        uint32_t limit = end / 10 + 2;
        for (uint32_t steps = 0; steps <= limit; ++steps) {
            if (position > end) {
                *error = kMgBeyondEnd;
                return 0;
            }
            mgVarHeader piece;
            if ((*error = mgReadVarHeader(data, position, &piece)) != 0)
                return 0;
            if (!mgIsValidMark(piece.mark)) {
                *error = kMgBadSlotMark;
                return 0;
            }
            if (piece.allocated < uint32_t(mgPieceHeaderSize(space)) ||
                uint64_t(position) + piece.allocated - 1 > end) {
                *error = kMgBadSlotMark;
                return 0;
            }
            bool active = piece.mark == kMgPieceInUse && piece.dataLength > 0;
            if (active && member && (piece.memberId != mgH32(data, kHdrMemberId)))
                active = false;
            if (active && mgIsFixed(data)) {
                uint8_t first = 0;
                if ((*error = mgReadWrite(kMgRead, data, position + mgDataOffset(data), &first, 1, nullptr)) != 0)
                    return 0;
                active = first != kMgDeletedMark;
            }
            if (active)
                return position;
            uint32_t next = member ? piece.chain : position + piece.allocated;
            if (next == 0) {
                *error = kMgScanPositionZero;
                return 0;
            }
            position = next;
        }
        *error = kMgBadSlotMark;
        return 0;
    }
    uint32_t length = mgRecordLength(data);
    uint32_t first = mgFirstRecordPosition(data);
    if (position < first || (position - first) % length != 0) {
        *error = direction == 2 ? kMgScanPositionZero : kMgBeyondEnd;
        return 0;
    }
    for (;;) {
        if (uint64_t(position) + length - 1 > end) {
            *error = kMgBeyondEnd;
            return 0;
        }
        uint8_t mark[6];
        if ((*error = mgReadWrite(kMgRead, data, position, mark, 6 < length ? 6 : length, nullptr)) != 0)
            return 0;
        uint32_t step = length;
        if (mark[0] == 0xFE && mark[1] == 0xFE) {
            uint32_t allocated = mgGet32(mark + 2);
            if (allocated < length || allocated % length != 0 || uint64_t(position) + allocated - 1 > end) {
                *error = kMgBadSlotMark;
                return 0;
            }
            step = allocated;
        } else if (mark[0] != kMgDeletedMark) {
            return position;
        }
        if (direction == 1) {
            position += step;
        } else {
            if (position < first + length) {
                *error = kMgScanPositionZero;
                return 0;
            }
            position -= length;
        }
    }
}

int16_t ScanAndRead(mgFileControl* data, uint32_t start, int direction, void* record)
{
    mgInstanceContext* ctx = mgCtx();
    uint16_t error = 0;
    uint32_t position = start;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        position = PhysicalScan(data, position, direction, &error);
        if (position == 0) {
            if (error == kMgScanPositionZero || error == kMgBeyondEnd || error == kMgShortRead)
                error = kMgNoRecord;
            return Answer(error, data->fileNumber);
        }
        if (uint16_t e = mgLockCurrentRecord(position, data->fileNumber))
            return int16_t(e);
        error = ReadVerify(data, -1, position, record);
        if (error != kMgRecordChanged)
            return Answer(error, data->fileNumber);
        ctx->isam_code = 0;
    }
    return Answer(error, data->fileNumber);
}

// The step from the current record of a data file in physical order.
uint32_t PhysicalNeighbour(mgFileControl* data, int direction, uint16_t* error)
{
    *error = 0;
    uint32_t current = data->currentPosition;
    bool member = mgIsMember(data);
    if (direction == 2 && (member || mgIsVariable(data) || mgH32(data, kHdrResourceAnchor) != 0)) {
        *error = kMgWrongFileKind;
        return 0;
    }
    if (mgIsFixed(data) && !member)
        return direction == 1 ? current + mgRecordLength(data) : current - mgRecordLength(data);
    mgVarHeader piece;
    if ((*error = mgReadVarHeader(data, current, &piece)) != 0)
        return 0;
    if (member)
        return piece.chain;
    return current + piece.allocated;
}

int16_t IndexWalk(mgFileControl* index, void* record, int kind)
{
    mgInstanceContext* ctx = mgCtx();
    uint32_t bits = ctx->flags & 0x24;
    mgFileControl* data = DataOf(index);
    if (!data)
        return Answer(kMgBadKeyRequest, index->fileNumber);
    if ((kind == 1 || kind == 2) && data->currentPosition == 0) {
        ctx->uerr_cod = kMgNoCurrentRecord;
        return Answer(kMgNoCurrentRecord, data->fileNumber);
    }
    uint16_t result = kMgRecordChanged;
    for (int attempt = 0; attempt < kAttempts && result == kMgRecordChanged; ++attempt) {
        ctx->flags |= bits;
        ctx->uerr_cod = 0;
        uint32_t position;
        if (kind == 1 || kind == 2)
            position = mgStepKey(index->fileNumber, ctx->keyScratch, kind);
        else if (kind == 3)
            position = mgFirstKey(index, ctx->keyScratch);
        else
            position = lstkey(index, ctx->keyScratch);
        if (position == 0) {
            uint16_t error = ctx->uerr_cod ? ctx->uerr_cod : kMgNoRecord;
            mgTakeLockFlags();
            return Answer(error, index->fileNumber);
        }
        result = CheckIndexedPosition(data, index->fileNumber, position);
        if (result == kMgRecordChanged)
            continue;
        if (result) {
            mgTakeLockFlags();
            return Answer(result, index->fileNumber);
        }
        if (uint16_t error = mgLockCurrentRecord(position, data->fileNumber))
            return int16_t(error);
        result = ReadVerify(data, index->fileNumber, position, record);
    }
    return Answer(result, result ? data->fileNumber : index->fileNumber);
}

int16_t Walk(uint16_t file, void* record, int kind)
{
    mgInstanceContext* ctx = mgCtx();
    if (!ctx)
        return int16_t(kMgNoInstance);
    ctx->uerr_cod = 0;
    ctx->isam_code = 0;
    mgFileControl* f = mgCheckFile(file);
    if (!f)
        return Answer(ctx->uerr_cod, file);
    if (!record)
        return Answer(kMgNoBuffer, file);
    if (mgIsIndex(f))
        return IndexWalk(f, record, kind);
    uint16_t error = 0;
    uint32_t start = 0;
    int direction = (kind == 1 || kind == 3) ? 1 : 2;
    if (kind == 1 || kind == 2) {
        if (f->currentPosition == 0) {
            ctx->uerr_cod = kMgNoCurrentRecord;
            return Answer(kMgNoCurrentRecord, file);
        }
        start = PhysicalNeighbour(f, direction, &error);
        if (error)
            return Answer(error, file);
        if (start == 0)
            return Answer(kMgNoRecord, file);
    } else if (mgIsMember(f)) {
        if (kind == 4)
            return Answer(kMgWrongFileKind, file);
        uint32_t header = mgHeaderPosition(f);
        if ((error = mgLockHeader(header, f, true)) != 0)
            return Answer(error, file);
        mgRefreshHeader(f);
        start = mgH32(f, kHdrMemberCounter);
        mgUnlockHeader(header, f);
        if (start == 0)
            return Answer(kMgNoRecord, file);
    } else if (mgIsVariable(f)) {
        if (kind == 4)
            return Answer(kMgWrongFileKind, file);
        start = f->nodeSize;
    } else if (kind == 3) {
        start = mgFirstRecordPosition(f);
    } else {
        if (mgH32(f, kHdrResourceAnchor) != 0)
            return Answer(kMgWrongFileKind, file);
        if (mgIsShared(f))
            mgRefreshHeader(f);
        uint64_t last = uint64_t(mgH32(f, kHdrLogicalEnd)) + 1;
        if (last < uint64_t(mgFirstRecordPosition(f)) + mgRecordLength(f))
            return Answer(kMgNoRecord, file);
        start = uint32_t(last - mgRecordLength(f));
    }
    return ScanAndRead(f, start, direction, record);
}

} // namespace

int16_t mgGetEqualRecord(uint16_t indexFile, const void* target, void* record)
{
    return KeyedRead(indexFile, target, record, 'E');
}

int16_t mgGetGreaterOrEqualRecord(uint16_t indexFile, const void* target, void* record)
{
    return KeyedRead(indexFile, target, record, 'G');
}

int16_t mgGetGreaterRecord(uint16_t indexFile, const void* target, void* record)
{
    return KeyedRead(indexFile, target, record, 'H');
}

int16_t mgGetLessOrEqualRecord(uint16_t indexFile, const void* target, void* record)
{
    return KeyedRead(indexFile, target, record, 'M');
}

int16_t mgGetLessRecord(uint16_t indexFile, const void* target, void* record)
{
    return KeyedRead(indexFile, target, record, 'N');
}

int16_t mgNextRecord(uint16_t file, void* record)
{
    return Walk(file, record, 1);
}

int16_t mgPreviousRecord(uint16_t file, void* record)
{
    return Walk(file, record, 2);
}

int16_t mgFirstRecord(uint16_t file, void* record)
{
    return Walk(file, record, 3);
}

int16_t mgLastRecord(uint16_t file, void* record)
{
    return Walk(file, record, 4);
}

int16_t mgReadRecordAt(uint16_t dataFile, uint32_t position, void* record)
{
    mgInstanceContext* ctx = mgCtx();
    if (!ctx)
        return int16_t(kMgNoInstance);
    ctx->uerr_cod = 0;
    ctx->isam_code = 0;
    mgFileControl* data = mgCheckFile(dataFile);
    if (!data)
        return Answer(ctx->uerr_cod, dataFile);
    if (mgIsIndex(data))
        return Answer(kMgWrongFileKind, dataFile);
    if (!record)
        return Answer(kMgNoBuffer, dataFile);
    if (uint16_t error = mgCheckPosition(data, position))
        return Answer(error, dataFile);
    if (uint16_t error = mgLockCurrentRecord(position, dataFile)) {
        mgTakeLockFlags();
        return int16_t(error);
    }
    return Answer(ReadVerify(data, -1, position, record), dataFile);
}

int16_t mgReadVariableRecord(uint16_t dataFile, void* buffer, int32_t size)
{
    mgInstanceContext* ctx = mgCtx();
    if (!ctx)
        return int16_t(kMgNoInstance);
    ctx->isam_code = 0;
    uint32_t bits = mgTakeLockFlags();
    mgFileControl* data = mgCheckFile(dataFile);
    if (!data)
        return Answer(ctx->uerr_cod, dataFile);
    if (!mgIsVariable(data))
        return Answer(kMgWrongFileKind, dataFile);
    uint32_t position = data->currentPosition;
    if (position == 0)
        return Answer(kMgNoCurrentRecord, dataFile);
    if (size < 0)
        return Answer(kMgNegativeBuffer, dataFile);
    uint32_t total = 0;
    if (uint16_t error = mgReadVariableRecordAt(data, position, buffer, size, true, &total))
        return Answer(error, dataFile);
    if (uint16_t error = mgLockCurrentRecord(position, dataFile))
        return int16_t(error);
    if (bits)
        mgLockRecord(dataFile, (bits & 0x04) ? kMgLockWriteNoWait : kMgLockWriteWait, position);
    if (mgIsShared(data)) {
        if (uint16_t error = mgReadVariableRecordAt(data, position, buffer, size, true, &total))
            return Answer(error, dataFile);
    }
    if (ctx->readThrough > 0) {
        int number = ctx->readThrough - 1;
        ctx->readThrough = 0;
        uint8_t key[kMgMaxKeyLength + 8];
        int16_t built = mgBuildKey(int16_t(number), static_cast<const uint8_t*>(buffer), key, position, total);
        if (built == 0 || memcmp(key, ctx->keyScratch, mgKeyLength(ctx->files[number])) != 0) {
            if (bits)
                mgLockRecord(dataFile, kMgLockRelease, position);
            return Answer(kMgRecordChanged, dataFile);
        }
    }
    return Answer(MakeCurrent(data, position, static_cast<const uint8_t*>(buffer), total), dataFile);
}

uint32_t mgVariableRecordLength(uint16_t dataFile)
{
    mgInstanceContext* ctx = mgCtx();
    if (!ctx)
        return 0;
    ctx->isam_code = 0;
    mgFileControl* data = mgCheckFile(dataFile);
    if (!data) {
        mgSetIsamError(ctx->uerr_cod, dataFile);
        return 0;
    }
    if (data->currentPosition == 0) {
        mgSetIsamError(kMgNoCurrentRecord, dataFile);
        return 0;
    }
    uint32_t length = mgVarRecordLength(data, data->currentPosition);
    if (length == 0)
        mgSetIsamError(ctx->uerr_cod, dataFile);
    return length;
}

int16_t mgSaveRestorePosition(uint16_t dataFile, int16_t mode)
{
    mgInstanceContext* ctx = mgCtx();
    if (!ctx)
        return int16_t(kMgNoInstance);
    mgFileControl* data = mgCheckFile(dataFile);
    if (!data)
        return Answer(ctx->uerr_cod, dataFile);
    if (mgIsIndex(data))
        return Answer(kMgWrongFileKind, dataFile);
    if (mode < 0 || mode > 2)
        return Answer(kMgBadMode, dataFile);
    if (mode == 0)
        data->savedPosition = data->currentPosition;
    else if (mode == 1)
        data->currentPosition = data->savedPosition;
    else {
        uint32_t t = data->currentPosition;
        data->currentPosition = data->savedPosition;
        data->savedPosition = t;
    }
    int16_t* list = mgMemberList(dataFile);
    for (int k = 0; k < kMgMaxIndexes && list[k] != -1; ++k) {
        int number = list[k];
        if (number == kMgSkippedIndex)
            continue;
        mgFileControl* index = ctx->files[number];
        size_t keyLength = mgKeyLength(index);
        uint8_t* search = Image(index, 0);
        uint8_t* current = Image(index, 1);
        uint8_t* saved = Image(index, 2);
        if (mode == 0) {
            if (index->currentKeyValid) {
                memcpy(saved, current, keyLength);
                index->savedKeyValid = true;
            }
        } else if (mode == 1) {
            memcpy(current, saved, keyLength);
            index->currentKeyValid = index->savedKeyValid;
            memcpy(search, current, keyLength);
        } else {
            uint8_t swap[kMgMaxKeyLength + 8];
            memcpy(swap, current, keyLength);
            memcpy(current, saved, keyLength);
            memcpy(saved, swap, keyLength);
            bool valid = index->currentKeyValid;
            index->currentKeyValid = index->savedKeyValid;
            index->savedKeyValid = valid;
            memcpy(search, current, keyLength);
        }
    }
    return Answer(0, dataFile);
}
