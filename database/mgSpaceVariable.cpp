// Pieces of variable-length files and superfile hosts: allocation from the free-space index
// (smallest piece large enough; in a superfile only the owner's pieces below twice the need)
// or from the end of the file, writing records into pieces, and giving pieces back.
// Keeps invariant 2 of the space layer: every piece header read is checked (mark, length
// against the file's end) before its length is used.
#include "database/mgSpace.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "database/mgLock.h"
#include "database/mgNode.h"
#include "database/mgOs.h"
#include "database/mgRuntime.h"

uint16_t mgRaiseDataCounts(mgFileControl* f, bool serial);
void mgLowerDataCounts(mgFileControl* f);

namespace {

void SpaceKey(uint8_t* key, uint32_t memberId, uint32_t length, uint32_t position)
{
    mgPut32BE(key, memberId);
    mgPut32BE(key + 4, length);
    mgPut32BE(key + 8, position);
}

uint32_t MemberIdOf(mgFileControl* f)
{
    mgFileControl* first = mgGroupFirst(f);
    return mgIsMember(first) ? mgH32(first, kHdrMemberId) : 0;
}

// A piece lies inside its file: at least its header long, ending before the logical end.
bool PieceFits(mgFileControl* space, uint32_t position, uint32_t allocated)
{
    int headerSize = mgPieceHeaderSize(space);
    return allocated >= uint32_t(headerSize) && uint64_t(position) + allocated - 1 <= mgH32(space, kHdrLogicalEnd) &&
           position >= uint32_t(kMgHeaderSize);
}

void LogMark(mgFileControl* space, uint16_t mark, uint32_t position)
{
    char text[64];
    snprintf(text, sizeof text, "mark=%xx pos=%lxx", mark, (unsigned long)position);
    mgStatusLog(space->name, kMgSpaceNotFree);
    mgStatusLog(text, kMgSpaceNotFree);
}

// Takes a free piece of at least `need` bytes out of the free-space index; 0 when none.
uint32_t TakeFreePiece(mgFileControl* space, uint32_t memberId, uint32_t need, uint16_t* error)
{
    *error = 0;
    bool superfile = mgIsSuperfile(space);
    uint8_t key[12];
    uint8_t found[12];
    SpaceKey(key, memberId, need, 0);
    char mode = 'G';
    uint32_t limit = mgH32(space, kHdrEntryCount) + 2;
    for (uint32_t tries = 0; tries < limit; ++tries) {
        uint32_t position = fndkey(space, key, mode, found);
        if (position == 0) {
            *error = mgCtx()->uerr_cod;
            return 0;
        }
        uint32_t owner = mgGet32BE(found);
        uint32_t length = mgGet32BE(found + 4);
        if (owner != memberId || length < need || (superfile && length >= 2 * need))
            return 0;
        memcpy(key, found, 12);
        mode = 'H';
        if (mgLockPosition(position, space, false) != 0)
            continue;
        mgVarHeader header;
        uint16_t e = mgReadVarHeader(space, position, &header);
        if (!e && ((header.mark != kMgPieceFree && header.mark != kMgPieceFreeInHost) || header.allocated != length ||
                   !PieceFits(space, position, header.allocated))) {
            LogMark(space, header.mark, position);
            e = kMgSpaceNotFree;
        }
        if (!e && mgDeleteKeyFrom(space, found, position) != 0)
            e = kMgSpaceIndexFailed;
        mgUnlockPosition(position, space);
        if (e) {
            *error = mgSetError(e);
            return 0;
        }
        return position;
    }
    return 0;
}

} // namespace

uint16_t mgReadVarHeader(mgFileControl* f, uint32_t position, mgVarHeader* header)
{
    if (position == 0)
        return mgSetError(kMgHeaderPositionZero);
    mgFileControl* space = mgSpaceFile(f);
    if (mgIsFixed(space) && !mgIsSuperfile(space))
        return mgSetError(kMgWrongFileKind);
    uint8_t bytes[18] = {};
    int size = mgPieceHeaderSize(space);
    if (uint16_t error = mgReadWrite(kMgRead, space, position, bytes, uint32_t(size), nullptr))
        return error;
    header->mark = mgGet16(bytes);
    header->allocated = mgGet32(bytes + 2);
    header->dataLength = mgGet32(bytes + 6);
    header->memberId = size == 18 ? mgGet32(bytes + 10) : 0;
    header->chain = size == 18 ? mgGet32(bytes + 14) : 0;
    return 0;
}

uint16_t mgWriteVarHeader(mgFileControl* f, uint32_t position, const mgVarHeader& header)
{
    if (position == 0)
        return mgSetError(kMgHeaderPositionZero);
    mgFileControl* space = mgSpaceFile(f);
    uint8_t bytes[18];
    int size = mgPieceHeaderSize(space);
    mgPut16(bytes, header.mark);
    mgPut32(bytes + 2, header.allocated);
    mgPut32(bytes + 6, header.dataLength);
    mgPut32(bytes + 10, header.memberId);
    mgPut32(bytes + 14, header.chain);
    return mgReadWrite(kMgWrite, space, position, bytes, uint32_t(size), nullptr);
}

uint32_t mgVarRecordLength(mgFileControl* f, uint32_t position)
{
    if (mgIsFixed(f) && !mgIsMember(f)) {
        mgSetError(kMgWrongFileKind);
        return 0;
    }
    if (position == 0) {
        mgSetError(kMgPositionZero);
        return 0;
    }
    mgVarHeader header;
    if (mgReadVarHeader(f, position, &header) != 0)
        return 0;
    if (header.mark != kMgPieceInUse || header.dataLength == 0 ||
        header.dataLength + mgDataOffset(f) > header.allocated) {
        mgSetError(kMgRecordChanged);
        return 0;
    }
    return header.dataLength;
}

uint32_t mgAllocSpace(mgFileControl* f, int lockFile, uint32_t length, uint32_t alignment, int purpose, bool count,
                      bool serial)
{
    mgInstanceContext* ctx = mgCtx();
    mgFileControl* space = mgSpaceFile(f);
    if (!mgIsVariable(space) && !mgIsSuperfile(space)) {
        mgSetError(kMgWrongFileKind);
        return 0;
    }
    if (lockFile >= 0) {
        if (uint16_t error = mgCheckWritable(f)) {
            mgSetError(error);
            return 0;
        }
    }
    int headerSize = mgPieceHeaderSize(space);
    uint64_t need64 = uint64_t(length) + uint32_t(headerSize);
    if (need64 > 0x7FFFFFFF) {
        mgSetError(kMgLengthTooLarge);
        return 0;
    }
    uint32_t need = uint32_t(need64);
    uint32_t memberId = MemberIdOf(f);
    bool member = mgIsMember(mgGroupFirst(f));
    bool counting = lockFile >= 0 && count;

    if (!mgIsIndex(f) && purpose != 2 && alignment == 0) {
        if (mgIsShared(space))
            mgRefreshHeader(space);
        if (mgH32(space, kHdrEntryCount) > 0) {
            uint16_t error = 0;
            uint32_t position = TakeFreePiece(space, memberId, need, &error);
            if (error)
                return 0;
            if (position) {
                if (counting) {
                    uint32_t header = mgHeaderPosition(f);
                    if ((error = mgLockHeader(header, f, true)) == 0) {
                        mgRefreshHeader(f);
                        error = mgRaiseDataCounts(f, serial);
                        if (!error)
                            error = mgWriteHeader(f);
                        mgUnlockHeader(header, f);
                    }
                    if (error) {
                        mgSetError(error);
                        return 0;
                    }
                }
                return position;
            }
        }
    }

    // A member's own header is locked before its host's, the order a new index node takes
    // them in: with the opposite order, two processes could each wait for the other's lock.
    uint32_t spaceHeader = mgHeaderPosition(space);
    uint32_t fileHeader = mgHeaderPosition(f);
    bool lockOwn = member && f != space;
    if (lockOwn && mgLockHeader(fileHeader, f, true) != 0)
        return 0;
    if (uint16_t error = mgLockHeader(spaceHeader, space, true)) {
        if (lockOwn)
            mgUnlockHeader(fileHeader, f);
        mgSetError(error);
        return 0;
    }
    auto unlockAll = [&]() {
        if (lockOwn)
            mgUnlockHeader(fileHeader, f);
        mgUnlockHeader(spaceHeader, space);
    };
    mgRefreshHeader(space);
    if (lockOwn)
        mgRefreshHeader(f);
    if (counting) {
        if (uint16_t error = mgRaiseDataCounts(f, serial)) {
            unlockAll();
            mgSetError(error);
            return 0;
        }
    }
    uint32_t position = mgExtendFile(space, need, alignment);
    uint16_t error = position ? 0 : (ctx->uerr_cod ? ctx->uerr_cod : uint16_t(kMgFileTooLarge));
    mgVarHeader piece{};
    piece.mark = kMgPieceInUse;
    piece.allocated = need;
    piece.dataLength = (member && mgIsFixed(f) && purpose == 1) ? length : 0;
    piece.memberId = memberId;
    bool chained = member && purpose == 1 && !(f->mode & kMgModeTransaction10);
    uint32_t oldCounter = mgH32(f, kHdrMemberCounter);
    if (!error && chained) {
        piece.chain = oldCounter;
        mgSetH32(f, kHdrMemberCounter, position);
    }
    if (!error)
        error = mgWriteVarHeader(space, position, piece);
    if (!error)
        error = mgWriteHeader(space);
    if (!error && (lockOwn || counting) && f != space)
        error = mgWriteHeader(f);
    if (error) {
        if (chained)
            mgSetH32(f, kHdrMemberCounter, oldCounter);
        if (counting)
            mgLowerDataCounts(f);
        unlockAll();
        mgSetError(error);
        return 0;
    }
    unlockAll();
    return position;
}

uint32_t mgNewVariableRecord(mgFileControl* f, uint32_t length)
{
    return mgAllocSpace(f, f->fileNumber, length, 0, 1, true, true);
}

uint16_t mgWriteVariableRecord(mgFileControl* f, uint32_t position, const void* buffer, uint32_t length, bool internal)
{
    if (position == 0)
        return mgSetError(kMgHeaderPositionZero);
    if (!buffer)
        return mgSetError(kMgNoBuffer);
    mgFileControl* space = mgSpaceFile(f);
    mgVarHeader header;
    if (uint16_t error = mgReadVarHeader(f, position, &header))
        return error;
    if (!mgIsValidMark(header.mark))
        return mgSetError(kMgUnknownMark);
    if (!PieceFits(space, position, header.allocated))
        return mgSetError(kMgFileDamaged);
    uint32_t offset = mgDataOffset(f);
    if (header.allocated < uint64_t(length) + offset)
        return mgSetError(kMgDataTooLong);
    if ((f->mode & kMgModeLockedWrites) && mgIsShared(f) && mgTestLock(f->fileNumber, kMgKindWrite, position) != 0)
        return mgSetError(kMgNotLocked);
    header.mark = kMgPieceInUse;
    header.dataLength = length;
    uint32_t leftover = header.allocated - (length + offset);
    bool member = mgIsMember(mgGroupFirst(f));
    uint32_t freePosition = 0;
    uint32_t freeLength = 0;
    if (!member && !internal && leftover > uint32_t(mgRecordLength(f)) + offset && leftover > 64) {
        header.allocated = length + offset;
        freePosition = position + header.allocated;
        freeLength = leftover;
    }
    std::vector<uint8_t> bytes(size_t(offset) + length);
    mgPut16(bytes.data(), header.mark);
    mgPut32(bytes.data() + 2, header.allocated);
    mgPut32(bytes.data() + 6, header.dataLength);
    if (offset >= 18) {
        mgPut32(bytes.data() + 10, header.memberId);
        mgPut32(bytes.data() + 14, header.chain);
        for (uint32_t i = 18; i < offset; ++i)
            bytes[i] = 0;
    }
    memcpy(bytes.data() + offset, buffer, length);
    if (freePosition) {
        mgVarHeader rest{kMgPieceFree, freeLength, 0, header.memberId, 0};
        if (uint16_t error = mgWriteVarHeader(f, freePosition, rest))
            return error;
    }
    if (uint16_t error = mgReadWrite(kMgWrite, space, position, bytes.data(), uint32_t(bytes.size()), nullptr))
        return error;
    if (freePosition)
        return mgFreeSpace(f, -1, freePosition);
    return 0;
}

uint16_t mgReadVariableRecordAt(mgFileControl* f, uint32_t position, void* buffer, long size, bool strict,
                                uint32_t* length)
{
    if (position == 0)
        return mgSetError(kMgPositionZero);
    if (!buffer && size != 0)
        return mgSetError(kMgNoBuffer);
    if (size < 0)
        return mgSetError(kMgNegativeBuffer);
    mgVarHeader header;
    if (uint16_t error = mgReadVarHeader(f, position, &header))
        return error;
    uint32_t offset = mgDataOffset(f);
    if (header.mark != kMgPieceInUse || header.dataLength == 0)
        return mgSetError(kMgRecordChanged);
    if (uint64_t(header.dataLength) + offset > header.allocated || !PieceFits(mgSpaceFile(f), position, header.allocated))
        return mgSetError(kMgFileDamaged);
    uint32_t wanted = header.dataLength;
    if (uint32_t(size) < wanted) {
        if (strict)
            return mgSetError(kMgBufferTooSmall);
        wanted = uint32_t(size);
    }
    if (length)
        *length = header.dataLength;
    if (wanted == 0)
        return 0;
    return mgReadWrite(kMgRead, f, position + offset, buffer, wanted, nullptr);
}

uint16_t mgFreeSpace(mgFileControl* f, int, uint32_t position)
{
    mgFileControl* space = mgSpaceFile(f);
    mgVarHeader header;
    if (uint16_t error = mgReadVarHeader(f, position, &header))
        return error;
    if (!mgIsValidMark(header.mark))
        return mgSetError(kMgUnknownMark);
    if (!PieceFits(space, position, header.allocated))
        return mgSetError(kMgFileDamaged);
    if ((f->mode & kMgModeLockedWrites) && mgIsShared(f) && mgTestLock(f->fileNumber, kMgKindWrite, position) != 0)
        return mgSetError(kMgNotLocked);
    bool member = mgIsMember(mgGroupFirst(f));
    uint32_t memberId = MemberIdOf(f);
    if (!member && !(space->mode & kMgModeTransaction10)) {
        uint32_t next = position + header.allocated;
        mgVarHeader after;
        if (next <= mgH32(space, kHdrLogicalEnd) && mgReadVarHeader(space, next, &after) == 0 &&
            after.mark == kMgPieceFree && PieceFits(space, next, after.allocated)) {
            uint8_t key[12];
            SpaceKey(key, after.memberId, after.allocated, next);
            if (mgLockPosition(next, space, false) == 0) {
                if (fndkey(space, key, 'E', nullptr) == next) {
                    if (mgDeleteKeyFrom(space, key, next) != 0) {
                        mgUnlockPosition(next, space);
                        return mgSetError(kMgSpaceIndexFailed);
                    }
                    header.allocated += after.allocated;
                }
                mgUnlockPosition(next, space);
            }
        }
    }
    header.mark = member ? kMgPieceFreeInHost : kMgPieceFree;
    header.dataLength = 0;
    header.memberId = memberId;
    if (uint16_t error = mgWriteVarHeader(f, position, header))
        return error;
    mgRemoveLock(position, f->fileNumber);
    uint8_t key[12];
    SpaceKey(key, memberId, header.allocated, position);
    if (mgAddKeyTo(space, key, position, 0x20) != 0)
        return mgSetError(kMgSpaceIndexFailed);
    return 0;
}

uint16_t mgFreeSpaceOf(mgFileControl* f, uint32_t position)
{
    return mgFreeSpace(f, f->fileNumber, position);
}
